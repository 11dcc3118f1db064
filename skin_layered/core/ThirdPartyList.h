// The class-name lists of the window adapters: for each of the 23 kinds of adapter, the
// class names of the controls it serves. The skin manager publishes them as the 23 string
// properties of ThirdPartyList (one class name per line) and holds them at run time as 23
// string lists, in which the form skinning looks a control's class name up: the list that
// holds it picks the adapter.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string_view>

#include "classlib/rtl/Persistent.h"
#include "classlib/rtl/StringList.h"

namespace skin_layered {

// The kinds of adapter, by list index.
enum class TqvAdapterKind {
  Edit, Button, BitBtn, CheckBox, ComboBox, Grid, GroupBox, ListView, Panel, TreeView, WWEdit, GridEh, VirtualTree,
  PageControl, TabControl, ToolBar, StatusBar, SpeedButton, ScrollControl, UpDown, ScrollBar, StaticText,
  NativePaint,
};
inline constexpr std::size_t kAdapterKindCount = 23;

struct TqvAdapterKindInfo {
  std::wstring_view Property;  // the published property of ThirdPartyList
  std::wstring_view Caption;   // the kind's caption
  std::wstring_view Defaults;  // the default class names, one per line (a blank: none)
};

// The start-up tables of the kinds, by list index.
inline constexpr std::array<TqvAdapterKindInfo, kAdapterKindCount> kAdapterKinds{{
    {L"ThirdEdits", L"Edit",
     L"TEdit\r\nTMemo\r\nTMaskEdit\r\nTLabeledEdit\r\nTHotKey\r\nTListBox\r\nTCheckListBox\r\nTRichEdit\r\n"
     L"TDateTimePicker"},
    {L"ThirdButtons", L"Button", L"TButton"},
    {L"ThirdBitBtns", L"BitBtn", L"TBitBtn"},
    {L"ThirdCheckBoxes", L"CheckBox", L"TCheckBox\r\nTRadioButton\r\nTGroupButton"},
    {L"ThirdComboBoxes", L"ComboBox", L"TComboBox\r\nTColorBox"},
    {L"ThirdGrids", L"Grid", L"TStringGrid\r\nTDrawGrid"},
    {L"ThirdGroupBoxes", L"GroupBox", L"TGroupBox\r\nTRadioGroup"},
    {L"ThirdListViews", L"ListView", L"TListView"},
    {L"ThirdPanels", L"Panel", L"TPanel"},
    {L"ThirdTreeViews", L"TreeView", L"TTreeView"},
    {L"ThirdWWEdits", L"wwEdit", L" "},
    {L"ThirdGridEh", L"GridEh", L" "},
    {L"ThirdVirtualTrees", L"VirtualTree", L" "},
    {L"ThirdPageControl", L"PageControl", L"TPageControl"},
    {L"ThirdTabControl", L"TabControl", L"TTabControl"},
    {L"ThirdToolBar", L"ToolBar", L"TToolBar"},
    {L"ThirdStatusBar", L"StatusBar", L"TStatusBar"},
    {L"ThirdSpeedButton", L"SpeedButton", L"TSpeedButton"},
    {L"ThirdScrollControl", L"ScrollControl", L"TScrollBox"},
    {L"ThirdUpDown", L"UpDownBtn", L"TUpDown"},
    {L"ThirdScrollBar", L"ScrollBar", L"TScrollBar"},
    {L"ThirdStaticText", L"StaticText", L"TStaticText"},
    {L"ThirdNativePaint", L"NativePaint", L" "},
}};

// The published lists, one string per kind. Properties are declared in the order ThirdEdits,
// ThirdButtons, ThirdBitBtns, ThirdCheckBoxes, ThirdGroupBoxes, ThirdListViews, ThirdPanels,
// ThirdGrids, ThirdTreeViews, ThirdComboBoxes, ThirdWWEdits, ThirdVirtualTrees, ThirdGridEh
// and then by index.
class ThirdPartyList : public vcl::TPersistent {
  VCL_CLASS(ThirdPartyList, vcl::TPersistent)
 public:
  ThirdPartyList() = default;

  template <TqvAdapterKind Kind>
  vcl::String GetList() const {
    return lists_[static_cast<std::size_t>(Kind)];
  }
  template <TqvAdapterKind Kind>
  void SetList(const vcl::String& Value) {
    lists_[static_cast<std::size_t>(Kind)] = Value;
  }
  const vcl::String& List(TqvAdapterKind Kind) const { return lists_[static_cast<std::size_t>(Kind)]; }
  void SetKindList(TqvAdapterKind Kind, const vcl::String& Value) { lists_[static_cast<std::size_t>(Kind)] = Value; }

  void Assign(vcl::TPersistent* Source) override;

 private:
  std::array<vcl::String, kAdapterKindCount> lists_;
};

// The 23 run-time lists a skin manager holds beside its published ThirdPartyList.
class TqvClassNameLists {
 public:
  TqvClassNameLists();

  // For each kind: with Reset, or when the published list is empty, the published list
  // becomes the default; then the run-time list takes the published text (a class per line).
  void Load(ThirdPartyList& Published, bool Reset);
  // Each published list becomes its run-time list's text.
  void WriteBack(ThirdPartyList& Published) const;

  vcl::TStringList* List(TqvAdapterKind Kind) const { return lists_[static_cast<std::size_t>(Kind)].get(); }

 private:
  std::array<std::unique_ptr<vcl::TStringList>, kAdapterKindCount> lists_;
};

}  // namespace skin_layered
