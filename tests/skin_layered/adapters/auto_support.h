// Shared by the automatic adapters' tests: a form with a control of every kind the class-name
// lists know (and a few they do not), the adapter class each kind gets, and a flat skin of the
// sections those adapters paint from.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>

#include "adapters_support.h"
#include "classlib/comctrls/ComCtrls.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/comctrls/ComCtrlsListView.h"
#include "classlib/comctrls/ComCtrlsPages.h"
#include "classlib/comctrls/DateTimePicker.h"
#include "classlib/comctrls/Grids.h"
#include "classlib/comctrls/HeaderControl.h"
#include "classlib/comctrls/ProgressBar.h"
#include "classlib/comctrls/RichEdit.h"
#include "classlib/comctrls/StatusBar.h"
#include "classlib/comctrls/TabControl.h"
#include "classlib/comctrls/ToolBar.h"
#include "classlib/comctrls/TrackBar.h"
#include "classlib/comctrls/TreeView.h"
#include "classlib/comctrls/UpDown.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Frame.h"
#include "classlib/forms/Menus.h"
#include "classlib/forms/ScrollBox.h"
#include "classlib/stdctrls/CheckListBox.h"
#include "classlib/stdctrls/ListBox.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "classlib/stdctrls/StaticText.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/forms/CtrlAdapter.h"
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered::test {

// The adapter class of each kind of the class-name lists, as the tables give them (the speed
// buttons' kind has none: they get a handler).
inline constexpr std::array<const wchar_t*, kAdapterKindCount> kAdapterClasses{
    L"TqvEditWnd",     L"TqvBtnWnd",          L"TqvBitBtnWnd",     L"TqvCheckBoxWnd",        L"TqvComboBoxWnd",
    L"TqvGridWnd",     L"TqvGroupBoxWnd",     L"TqvListViewWnd",   L"TqvPanelWnd",           L"TqvTreeViewWnd",
    L"TqvWWComboBoxWnd", L"TqvGridEhWnd",     L"TqvVirtualTreeViewWnd", L"TqvPageControlWnd", L"TqvTabControlWnd",
    L"TqvToolBarVCLWnd", L"TqvStatusBarWnd",  nullptr,             L"TqvScrollBoxWnd",       L"TqvSpinWnd",
    L"TqvSBWnd",       L"TqvStaticTextWnd",   L"TqvNativePaint"};

// What a windowed control should carry: the table's adapter when its kind's adapter is
// built, else none (an empty name).
inline std::wstring ExpectedAdapter(std::optional<TqvAdapterKind> Kind) {
  if (!Kind || !ControlAdapterFactory(*Kind)) return L"";
  return kAdapterClasses[static_cast<std::size_t>(*Kind)];
}

inline std::wstring AdapterClass(vcl::TWinControl* Control) {
  if (!Control->HandleAllocated()) return L"(no window)";
  TqvMainWnd* adapter = GetAdapter(Control->Handle());
  return adapter ? std::wstring(adapter->ClassName()) : std::wstring();
}

// Counts every message reaching its place in a control's WindowProc chain.
class MessageCounter {
 public:
  explicit MessageCounter(vcl::TControl* Control) {
    hook_.Install(Control, vcl::TWndMethod::Bind<&MessageCounter::WndProc>(this));
  }
  MessageCounter(const MessageCounter&) = delete;
  MessageCounter& operator=(const MessageCounter&) = delete;
  int Count() const { return count_; }
  vcl::TWindowProcHook& Hook() { return hook_; }

 private:
  void WndProc(vcl::TMessage& Message) {
    ++count_;
    hook_.CallPrevious(Message);
  }
  vcl::TWindowProcHook hook_;
  int count_ = 0;
};

struct EveryKind {
  // Windowed controls with the kind whose adapter they should get (none: no list holds them).
  std::map<std::wstring, std::pair<vcl::TWinControl*, std::optional<TqvAdapterKind>>> windowed;
  vcl::TLabel* label = nullptr;
  vcl::TSpeedButton* speed = nullptr;
  vcl::TSpeedButton* flatSpeed = nullptr;
  vcl::TFrame* frame = nullptr;
  vcl::TButton* frameButton = nullptr;
};

// Every kind on a gallery-sized form (owned by the form).
inline EveryKind FillEveryKind(vcl::TForm* form) {
  using K = TqvAdapterKind;
  EveryKind k;
  auto add = [&](const wchar_t* name, vcl::TWinControl* c, std::optional<K> kind) {
    k.windowed[name] = {c, kind};
    return c;
  };
  form->SetBounds(30, 30, 1000, 720);
  auto* buttons = Put<vcl::TGroupBox>(form, 8, 8, 220, 250, form);
  add(L"GroupBox", buttons, K::GroupBox);
  add(L"Button", Put<vcl::TButton>(buttons, 10, 20, 90, 24, form), K::Button);
  add(L"BitBtn", Put<vcl::TBitBtn>(buttons, 110, 20, 90, 24, form), K::BitBtn);
  add(L"CheckBox", Put<vcl::TCheckBox>(buttons, 10, 50, 90, 20, form), K::CheckBox);
  add(L"RadioButton", Put<vcl::TRadioButton>(buttons, 110, 50, 90, 20, form), K::CheckBox);
  k.speed = Put<vcl::TSpeedButton>(buttons, 10, 80, 90, 24, form);
  k.flatSpeed = Put<vcl::TSpeedButton>(buttons, 110, 80, 90, 24, form);
  k.flatSpeed->SetFlat(true);
  k.label = Put<vcl::TLabel>(buttons, 10, 110, 90, 16, form);
  k.label->SetCaption(L"A label");
  add(L"StaticText", Put<vcl::TStaticText>(buttons, 10, 130, 180, 20, form), K::StaticText);
  auto* combo = Put<vcl::TComboBox>(buttons, 10, 160, 180, 22, form);
  combo->Items()->Add(L"One");
  add(L"ComboBox", combo, K::ComboBox);

  auto* group = Put<vcl::TRadioGroup>(form, 8, 265, 220, 90, form);
  group->Items()->Add(L"First");
  group->Items()->Add(L"Second");
  group->SetItemIndex(0);
  add(L"RadioGroup", group, K::GroupBox);
  auto* panel = Put<vcl::TPanel>(form, 8, 360, 220, 80, form);
  add(L"Panel", panel, K::Panel);
  add(L"PanelEdit", Put<vcl::TEdit>(panel, 10, 10, 120, 22, form), K::Edit);

  auto* inputs = Put<vcl::TPanel>(form, 235, 8, 300, 430, form);
  add(L"InputsPanel", inputs, K::Panel);
  add(L"Edit", Put<vcl::TEdit>(inputs, 10, 10, 120, 22, form), K::Edit);
  auto* memo = Put<vcl::TMemo>(inputs, 10, 40, 200, 60, form);
  memo->SetScrollBars(vcl::ssVertical);
  add(L"Memo", memo, K::Edit);
  auto* list = Put<vcl::TListBox>(inputs, 10, 110, 120, 60, form);
  for (int i = 0; i < 20; ++i) list->Items()->Add(L"Item " + std::to_wstring(i));
  add(L"ListBox", list, K::Edit);
  add(L"CheckListBox", Put<vcl::TCheckListBox>(inputs, 140, 110, 150, 60, form), K::Edit);
  add(L"RichEdit", Put<vcl::TRichEdit>(inputs, 10, 180, 150, 50, form), K::Edit);
  add(L"DateTimePicker", Put<vcl::TDateTimePicker>(inputs, 170, 180, 120, 22, form), K::Edit);
  add(L"UpDown", Put<vcl::TUpDown>(inputs, 270, 10, 17, 22, form), K::UpDown);
  add(L"ScrollBar", Put<vcl::TScrollBar>(inputs, 10, 240, 200, 17, form), K::ScrollBar);
  add(L"TrackBar", Put<vcl::TTrackBar>(inputs, 10, 265, 200, 30, form), std::nullopt);
  add(L"ProgressBar", Put<vcl::TProgressBar>(inputs, 10, 300, 200, 16, form), std::nullopt);
  add(L"HeaderControl", Put<vcl::THeaderControl>(inputs, 10, 320, 200, 20, form), std::nullopt);
  auto* grid = Put<vcl::TStringGrid>(inputs, 10, 345, 280, 75, form);
  add(L"StringGrid", grid, K::Grid);

  auto* pages = Put<vcl::TPageControl>(form, 545, 8, 320, 200, form);
  add(L"PageControl", pages, K::PageControl);
  auto* first = new vcl::TTabSheet(form);
  first->SetPageControl(pages);
  first->SetCaption(L"List");
  add(L"TabSheet", first, std::nullopt);
  auto* view = Put<vcl::TListView>(first, 4, 4, 290, 150, form);
  view->SetViewStyle(vcl::vsReport);
  view->Columns()->Add()->SetCaption(L"Name");
  add(L"ListView", view, K::ListView);
  auto* second = new vcl::TTabSheet(form);
  second->SetPageControl(pages);
  second->SetCaption(L"Tree");
  pages->SetActivePage(first);
  auto* tabs = Put<vcl::TTabControl>(form, 545, 215, 200, 100, form);
  tabs->Tabs()->Add(L"One");
  tabs->Tabs()->Add(L"Two");
  add(L"TabControl", tabs, K::TabControl);
  auto* tree = Put<vcl::TTreeView>(form, 750, 215, 140, 100, form);
  tree->Items()->Add(nullptr, L"Root");
  add(L"TreeView", tree, K::TreeView);
  auto* box = Put<vcl::TScrollBox>(form, 545, 320, 150, 80, form);
  add(L"ScrollBox", box, K::ScrollControl);
  add(L"BoxButton", Put<vcl::TButton>(box, 4, 4, 60, 22, form), K::Button);

  k.frame = new vcl::TFrame(form);
  k.frame->SetParent(form);
  k.frame->SetBounds(700, 320, 200, 100);
  k.frameButton = Put<vcl::TButton>(k.frame, 8, 8, 100, 24, k.frame);

  auto* bar = new vcl::TToolBar(form);
  bar->SetParent(form);
  bar->SetAlign(vcl::alTop);
  add(L"ToolBar", bar, K::ToolBar);
  auto* status = new vcl::TStatusBar(form);
  status->SetParent(form);
  status->SetSimplePanel(true);
  status->SetSimpleText(L"Ready");
  add(L"StatusBar", status, K::StatusBar);
  return k;
}

// The sections the adapters of those kinds paint from, each a flat colour; Shift makes a
// second skin of other colours.
inline std::string EveryKindSkinText(int Shift) {
  std::string text = "[GLOBALINFO]\r\nVERSION=7.5\r\nFONTCOLOR=" + Hex(0x102030 + static_cast<COLORREF>(Shift)) + "\r\n";
  COLORREF color = 0x405060 + static_cast<COLORREF>(Shift) * 0x10101;
  for (const char* name : {"FORM", "FORMTITLE", "CAPTION", "DIALOG", "EDIT", "BUTTON", "BUTTON_HUGE", "CHECKBOX",
                           "GROUPBOX", "PANEL", "PANEL_LOW", "COMBOBOX", "ALPHACOMBOBOX", "PAGECONTROL", "TABTOP",
                           "TABSHEET", "TOOLBAR", "TOOLBUTTON", "BAR", "STATUSBAR", "SPEEDBUTTON", "SPEEDBUTTON_SMALL",
                           "TRACKBAR", "MDIAREA", "MAINMENU", "MENUITEM", "SELECTION", "SCROLLBAR1H", "SCROLLBAR1V",
                           "SCROLLBAR2H", "SCROLLBAR2V", "SCROLLSLIDERH", "SCROLLSLIDERV", "SCROLLBTNLEFT",
                           "SCROLLBTNTOP", "SCROLLBTNRIGHT", "SCROLLBTNBOTTOM"}) {
    text += FlatSection(name, color, color + 0x080808);
    color += 0x0A0604;
  }
  return text;
}

}  // namespace skin_layered::test
