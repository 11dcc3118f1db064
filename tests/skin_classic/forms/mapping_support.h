// Shared by the child-discovery tests: the complete synthetic skin worn by every form the
// manager skins, a form holding every control kind of the class library, and lookups of the
// skinners the mapping gave a form's controls.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/put_control.h"
#include "classlib/comctrls/ComCtrls.h"
#include "classlib/comctrls/DateTimePicker.h"
#include "classlib/comctrls/HeaderControl.h"
#include "classlib/comctrls/ProgressBar.h"
#include "classlib/comctrls/RichEdit.h"
#include "classlib/comctrls/StatusBar.h"
#include "classlib/comctrls/TabControl.h"
#include "classlib/comctrls/ToolBar.h"
#include "classlib/comctrls/TrackBar.h"
#include "classlib/comctrls/UpDown.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/extctrls/MediaPlayer.h"
#include "classlib/extctrls/TabSet.h"
#include "classlib/forms/Menus.h"
#include "classlib/forms/ScrollBox.h"
#include "classlib/stdctrls/ListBox.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "form_skin_support.h"
#include "skin_classic/forms/ControlMapping.h"

namespace winskin::test {

// The live skinners of a control (its window's or, for a graphic control, its own).
inline std::vector<TSkinControl*> SkinnersOf(TWinSkinForm* Form, vcl::TControl* Control) {
  std::vector<TSkinControl*> found;
  if (!Form) return found;
  auto* windowed = dynamic_cast<vcl::TWinControl*>(Control);
  const HWND window = windowed && windowed->HandleAllocated() ? windowed->Handle() : nullptr;
  for (TSkinControl* s : Form->Skinners())
    if (s->Status() != kSkinnerWindowGone &&
        (s->Control() == Control || s->PaintControl() == Control || (window && s->Handle() == window)))
      found.push_back(s);
  return found;
}

// The class name of the control's one skinner; "" without one, "several" with more.
inline std::wstring SkinnerClass(TWinSkinForm* Form, vcl::TControl* Control) {
  const std::vector<TSkinControl*> s = SkinnersOf(Form, Control);
  if (s.empty()) return L"";
  if (s.size() > 1) return L"several";
  return s[0]->ClassName();
}

using wintest::Put;

// A form the size of the gallery's with every control kind; Controls names them.
struct AllKinds {
  std::map<std::wstring, vcl::TControl*> controls;
  vcl::TPopupMenu* popup = nullptr;
  vcl::TControl* operator[](const std::wstring& name) const { return controls.at(name); }
};

inline AllKinds FillAllKinds(vcl::TForm* form) {
  AllKinds k;
  auto name = [&](const wchar_t* n, vcl::TControl* c) {
    k.controls[n] = c;
    return c;
  };
  form->SetBounds(30, 30, 860, 560);
  auto* buttons = Put<vcl::TGroupBox>(form, 8, 8, 200, 150, form);
  name(L"GroupBox", buttons);
  name(L"Button", Put<vcl::TButton>(buttons, 10, 20, 80, 24, form));
  auto* bit = Put<vcl::TBitBtn>(buttons, 100, 20, 80, 24, form);
  name(L"BitBtn", bit);
  name(L"SpeedButton", Put<vcl::TSpeedButton>(buttons, 10, 50, 80, 24, form));
  name(L"CheckBox", Put<vcl::TCheckBox>(buttons, 10, 80, 90, 20, form));
  name(L"RadioButton", Put<vcl::TRadioButton>(buttons, 100, 80, 90, 20, form));
  name(L"Label", Put<vcl::TLabel>(buttons, 10, 110, 60, 16, form));

  auto* group = Put<vcl::TRadioGroup>(form, 8, 165, 200, 100, form);
  group->Items()->Add(L"First");
  group->Items()->Add(L"Second");
  group->SetItemIndex(0);
  name(L"RadioGroup", group);
  auto* panel = Put<vcl::TPanel>(form, 8, 270, 200, 80, form);
  name(L"Panel", panel);
  name(L"PanelEdit", Put<vcl::TEdit>(panel, 10, 10, 120, 22, form));

  auto* inputs = Put<vcl::TGroupBox>(form, 215, 8, 300, 340, form);
  name(L"Edit", Put<vcl::TEdit>(inputs, 10, 20, 120, 22, form));
  auto* combo = Put<vcl::TComboBox>(inputs, 140, 20, 120, 22, form);
  combo->Items()->Add(L"Apples");
  combo->Items()->Add(L"Pears");
  name(L"ComboBox", combo);
  name(L"DateTimePicker", Put<vcl::TDateTimePicker>(inputs, 10, 50, 120, 22, form));
  name(L"UpDown", Put<vcl::TUpDown>(inputs, 140, 50, 17, 22, form));
  auto* memo = Put<vcl::TMemo>(inputs, 10, 80, 200, 60, form);
  memo->SetScrollBars(vcl::ssVertical);
  name(L"Memo", memo);
  auto* list = Put<vcl::TListBox>(inputs, 10, 150, 120, 60, form);
  for (int i = 0; i < 20; ++i) list->Items()->Add(L"Item " + std::to_wstring(i));
  name(L"ListBox", list);
  name(L"RichEdit", Put<vcl::TRichEdit>(inputs, 140, 150, 150, 60, form));
  name(L"TrackBar", Put<vcl::TTrackBar>(inputs, 10, 220, 200, 30, form));
  auto* progress = Put<vcl::TProgressBar>(inputs, 10, 255, 200, 16, form);
  progress->SetPosition(40);
  name(L"ProgressBar", progress);
  auto* header = Put<vcl::THeaderControl>(inputs, 10, 275, 200, 20, form);
  for (const wchar_t* caption : {L"Name", L"Size"}) header->Sections()->Add()->SetText(caption);
  name(L"HeaderControl", header);
  name(L"ScrollBar", Put<vcl::TScrollBar>(inputs, 10, 300, 200, 17, form));
  name(L"MediaPlayer", Put<vcl::TMediaPlayer>(inputs, 10, 318, 200, 20, form));

  auto* pages = Put<vcl::TPageControl>(form, 525, 8, 320, 200, form);
  name(L"PageControl", pages);
  auto* first = new vcl::TTabSheet(form);
  first->SetPageControl(pages);
  first->SetCaption(L"List");
  name(L"ActiveSheet", first);
  auto* view = Put<vcl::TListView>(first, 4, 4, 290, 150, form);
  view->SetViewStyle(vcl::vsReport);
  view->Columns()->Add()->SetCaption(L"Name");
  name(L"ListView", view);
  auto* second = new vcl::TTabSheet(form);
  second->SetPageControl(pages);
  second->SetCaption(L"Notes");
  pages->SetActivePage(first);

  auto* buttonPages = Put<vcl::TPageControl>(form, 525, 215, 150, 100, form);
  buttonPages->SetStyle(vcl::tsButtons);
  auto* only = new vcl::TTabSheet(form);
  only->SetPageControl(buttonPages);
  only->SetCaption(L"Only");
  name(L"ButtonPages", buttonPages);
  auto* tabs = Put<vcl::TTabControl>(form, 680, 215, 160, 100, form);
  tabs->Tabs()->Add(L"One");
  tabs->Tabs()->Add(L"Two");
  name(L"TabControl", tabs);
  auto* tabSet = Put<vcl::TTabSet>(form, 525, 320, 200, 22, form);
  tabSet->Tabs()->Add(L"Front");
  tabSet->Tabs()->Add(L"Back");
  name(L"TabSet", tabSet);
  auto* box = Put<vcl::TScrollBox>(form, 525, 350, 150, 80, form);
  name(L"ScrollBox", box);
  name(L"BoxButton", Put<vcl::TButton>(box, 4, 4, 60, 22, form));

  auto* bar = new vcl::TToolBar(form);
  bar->SetParent(form);
  bar->SetAlign(vcl::alTop);
  bar->SetShowCaptions(true);
  // Under the default options the bar keeps its own background: its button shows it is drawn.
  auto* tool = new vcl::TToolButton(form);
  tool->SetCaption(L"Open");
  tool->SetParent(bar);
  name(L"ToolBar", bar);
  auto* status = new vcl::TStatusBar(form);
  status->SetParent(form);
  status->SetSimplePanel(true);
  status->SetSimpleText(L"Ready");
  name(L"StatusBar", status);

  k.popup = new vcl::TPopupMenu(form);
  for (const wchar_t* caption : {L"Cut", L"Copy", L"-", L"Paste"}) {
    auto* item = new vcl::TMenuItem(form);
    item->SetCaption(caption);
    k.popup->Items()->Add(item);
  }
  return k;
}

// The skinner classes the mapping gives the kinds above.
inline const std::map<std::wstring, std::wstring>& ExpectedSkinners() {
  static const std::map<std::wstring, std::wstring> expected = {
      {L"GroupBox", L"TSkinGroupBox"},      {L"Button", L"TSkinButton"},
      {L"BitBtn", L"TSkinBitButton"},       {L"SpeedButton", L"TSkinSpeedButton"},
      {L"CheckBox", L"TSkinCheckBox"},      {L"RadioButton", L"TSkinRadioButton"},
      {L"Label", L""},                      {L"RadioGroup", L"TSkinGroupBox"},
      {L"Panel", L"TSkinBox"},              {L"PanelEdit", L"TSkinEdit"},
      {L"Edit", L"TSkinEdit"},              {L"ComboBox", L"TSkinComBox"},
      {L"DateTimePicker", L"TSkinDateTime"}, {L"UpDown", L"TSkinUpDown"},
      {L"Memo", L"TSkinScrollbar"},         {L"ListBox", L"TSkinScrollbar"},
      {L"RichEdit", L"TSkinScrollbar"},     {L"TrackBar", L"TSkinTrackBar"},
      {L"ProgressBar", L"TSkinProgress"},   {L"HeaderControl", L"TSkinHeader"},
      {L"ScrollBar", L"TSkinScControl"},    {L"MediaPlayer", L"TSkinMP"},
      {L"PageControl", L"TSkinTab"},        {L"ActiveSheet", L"TSkinTabSheet"},
      {L"ListView", L"TSkinListView"},      {L"ButtonPages", L"TSkinTabBtn"},
      {L"TabControl", L"TSkinTab"},         {L"TabSet", L"TSkinTab31"},
      {L"ScrollBox", L"TSkinScrollbar"},    {L"BoxButton", L"TSkinButton"},
      {L"ToolBar", L"TSkinBox"},            {L"StatusBar", L"TSkinStatusBar"},
  };
  return expected;
}

// Forms skinned by the manager with the complete synthetic skin.
class MappedForms : public ::testing::Test {
 protected:
  void SetUp() override {
    EXPECT_TRUE(ScopesBalanced()) << "an earlier test left a painting frame unfinished";
    UseSkin();
  }
  void TearDown() override {
    holder_.reset();
    FreeSkinManager();
    EXPECT_TRUE(ScopesBalanced()) << "the test left a painting frame unfinished";
  }

  // A picture drawn in a memory context scope opened at the test's own level lets go of its
  // DC when the scope ends; a scope of a message never ended would keep every later picture's.
  static bool ScopesBalanced() {
    vcl::TBitmap probe;
    probe.SetSize(1, 1);
    {
      const vcl::TMemoryContextScope scope;
      probe.Canvas()->Handle();
    }
    return !probe.Canvas()->HandleAllocated();
  }

  // A main-window skin data holding the complete skin, active from loading; Adjust may
  // change it before the first form is skinned.
  template <class F>
  void UseSkin(F Adjust) {
    holder_.reset();
    FreeSkinManager();
    holder_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(CompleteSkinSpec())))));
    data_ = holder_->SkinData();
    ASSERT_TRUE(data_ && !data_->Empty());
    Adjust(data_);
    ASSERT_TRUE(SkinManager() && SkinManager()->Active());
  }
  void UseSkin() {
    UseSkin([](TSkinData*) {});
  }
  // The complete skin with one line of its description written otherwise.
  void UseSkinWithLine(const std::string& Line, const std::string& Instead) {
    holder_.reset();
    FreeSkinManager();
    PackageSpec spec = CompleteSkinSpec();
    for (PackageEntry& e : spec.entries) {
      std::string text(e.bytes.begin(), e.bytes.end());
      if (const std::size_t at = text.find(Line); at != std::string::npos && e.name == "Skin.INI")
        e.bytes = ToBytes(text.replace(at, Line.size(), Instead));
    }
    holder_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(spec)))));
    data_ = holder_->SkinData();
    ASSERT_TRUE(data_ && !data_->Empty());
    ASSERT_TRUE(SkinManager() && SkinManager()->Active());
  }

  // A library form shown: the manager's hook skins it and the mapping runs at its set-up.
  TWinSkinForm* ShowSkinned(vcl::TForm* form) {
    form->Show();
    if (!Find(form->Handle())) SkinManager()->SkinForm(form->Handle());
    EXPECT_TRUE(PumpUntil([&] { return Ready(form->Handle()); }));
    return Find(form->Handle());
  }

  Owned<vcl::TForm> NewForm() {
    Owned<vcl::TForm> form(new vcl::TForm(vcl::Application, 0));
    form->SetBounds(60, 60, 400, 300);
    form->SetCaption(L"Mapped form");
    return form;
  }

  // Every skinned form unskinned through the manager's request.
  void UnskinAll() {
    SkinManager()->SetRequestSkinData(data_);
    SkinManager()->SetActiveMode(TSkinMode::UnskinAll, 1);
    EXPECT_TRUE(PumpUntil([] { return SkinManager()->FormCount() == 0; }));
  }
  // And skinned again.
  void SkinAll(HWND Window) {
    SkinManager()->SetRequestSkinData(data_);
    SkinManager()->SetActiveMode(TSkinMode::SkinAll, 1);
    EXPECT_TRUE(PumpUntil([&] { return Ready(Window); }));
  }

  // The skin in other colours (the button face 90 120 150) read into the form's skin data, as
  // the gallery switches; RefreshSkinned then gives it to the skinned forms.
  void ReadVariant() {
    PackageSpec variant = CompleteSkinSpec();
    for (auto& entry : variant.entries) {
      std::string text(entry.bytes.begin(), entry.bytes.end());
      if (const size_t at = text.find("ButtonFace=200 201 202"); at != std::string::npos) {
        text.replace(at, 22, "ButtonFace=90 120 150");
        entry.bytes.assign(text.begin(), text.end());
      }
    }
    const std::vector<uint8_t> package = BuildPackage(variant);
    data_->SkinStream()->Clear();
    data_->SkinStream()->WriteBuffer(package.data(), static_cast<int64_t>(package.size()));
    data_->SkinStream()->SetPosition(0);
    ASSERT_TRUE(data_->LoadSkin());
  }
  void RefreshSkinned() {
    SkinManager()->SetRequestSkinData(data_);
    SkinManager()->RefreshSkinObjects(data_);
    SkinManager()->SetActiveMode(TSkinMode::Refresh, 1);
    EXPECT_TRUE(PumpUntil([] { return !SkinManager()->RequestSkinData(); }));
    EXPECT_TRUE(wintest::PumpUntilIdle());
  }

  Owned<TSkinTestForm> holder_;
  TSkinData* data_ = nullptr;
};

}  // namespace winskin::test
