// The combo-box adapters on library combo boxes of every style and on bare "combobox" windows:
// frame, button states and edit part by pixel, owner-drawn items, the dropped list's adapter,
// brush and frame, its skinned bar, and long item texts. Lists are dropped by messages.
#include <string>

#include "buttons_support.h"
#include "support/gdi_counts.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/adapters/ComboBoxWnd.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered::test {
namespace {

HWND ListOf(HWND Combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(Combo, &info);
  return info.hwndList;
}

bool FontLike(COLORREF c) { return GetGValue(c) > 0x20 && GetGValue(c) < 0x60 && GetRValue(c) < 0x30 && GetBValue(c) < 0x30; }

class ComboBoxes : public ButtonsTest {
  // A dropped list closes when another program takes the foreground: tests that take it (and
  // the real pointer) wait their turn.
  wintest::PointerLock lock_;

 protected:
  void SetUp() override {
    LoadButtonsSkin(ComboSections(WithButtonSection()) + ScrollSections() + ExtraSections());
    mouse.down = true;
  }
  void TearDown() override {
    for (vcl::TComboBox* c : combos_)
      if (c->HandleAllocated()) c->SetDroppedDown(false);
    if (GetCapture()) ReleaseCapture();
    adapters_.clear();
  }
  virtual bool WithButtonSection() const { return true; }
  virtual std::string ExtraSections() const { return {}; }

  vcl::TComboBox* MakeCombo(vcl::TComboBoxStyle Style, int Top = 10, int Items = 5) {
    auto* combo = Put<vcl::TComboBox>(form.get(), 10, Top, 160, 24);
    combo->SetStyle(Style);
    for (int i = 0; i < Items; ++i) combo->Items()->Add(L"Item " + std::to_wstring(i));
    combos_.push_back(combo);
    return combo;
  }
  TqvComboBoxWnd* Adapt(HWND Wnd, vcl::TControl* Control = nullptr) {
    adapters_.push_back(CreateAdapter<TqvComboBoxWnd>(Wnd, nullptr, manager.get(), TqvSkinParams{Control, L""}));
    // Painted once, as a shown combo box is at once.
    RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    return adapters_.back().get();
  }
  // Drops the list of a focused combo box and has it painted; answers the list.
  static HWND Drop(vcl::TComboBox* Combo) {
    // Tests run side by side: the form takes the foreground back first, or the list would
    // close as soon as it dropped.
    const HWND top = GetAncestor(Combo->Handle(), GA_ROOT);
    wintest::PumpUntil([&] {
      if (GetForegroundWindow() != top) SetForegroundWindow(top);
      if (GetFocus() != Combo->Handle()) Combo->SetFocus();
      return GetForegroundWindow() == top && GetFocus() == Combo->Handle();
    });
    Combo->SetDroppedDown(true);
    HWND list = ListOf(Combo->Handle());
    UpdateWindow(list);
    return list;
  }
  // A pixel of the drop-down button clear of its arrow.
  static COLORREF ButtonFace(TqvComboBoxWnd* A) {
    const vcl::TRect r = A->ButtonRect();
    return Printed(A->CtrlHandle)->At(r.Left + 3, r.Top + 3);
  }

  MouseSeam mouse;
  POINT& cursor = mouse.cursor;
  std::vector<vcl::TComboBox*> combos_;
  std::vector<TqvAdapterPtr<TqvComboBoxWnd>> adapters_;
};

TEST_F(ComboBoxes, ADropDownListShowsTheFrameTheButtonInEachStateAndItsEditPart) {
  vcl::TComboBox* combo = MakeCombo(vcl::csDropDownList);
  combo->SetItemIndex(1);
  TqvComboBoxWnd* a = Adapt(combo->Handle(), combo);
  // The button: from the right edge less the skin's margin, as wide as a scroll bar and 2.
  const vcl::TRect button = a->ButtonRect();
  const RECT box = WindowBox(combo->Handle());
  EXPECT_EQ(button, (vcl::TRect{box.right - 4 - GetLargestScrollWidth(manager.get()), 2, box.right - 2, box.bottom - 2}));

  SetFocus(form->Handle());
  auto pixels = Printed(combo->Handle());
  EXPECT_EQ(pixels->At(1, box.bottom / 2), kComboColor);  // the frame
  EXPECT_EQ(pixels->At(80, 1), kComboColor);
  EXPECT_EQ(pixels->At(button.Left + 3, button.Top + 3), kComboButtonFrames[0]);
  // The arrow in the button section's font colour (black) in its middle.
  EXPECT_GT(CountColor(*pixels, RECT{button.Left, button.Top, button.Right, button.Bottom}, 0x000000), 4);
  // The chosen item's text in the edit part.
  EXPECT_GT(CountPixels(*pixels, RECT{3, 3, button.Left, box.bottom - 3}, FontLike), 5);

  // Hot while the manager's hot window.
  manager->SetHotWnd(combo->Handle());
  EXPECT_EQ(ButtonFace(a), kComboButtonFrames[1]);
  manager->SetHotWnd(nullptr);
  EXPECT_EQ(ButtonFace(a), kComboButtonFrames[0]);

  // Pressed while the list is down; the list got its adapter at its first colour question.
  EXPECT_EQ(a->ListAdapter, nullptr);
  HWND list = Drop(combo);
  ASSERT_TRUE(IsWindowVisible(list));
  ASSERT_NE(a->ListAdapter, nullptr);
  EXPECT_EQ(GetAdapter(list), a->ListAdapter.get());
  EXPECT_EQ(ButtonFace(a), kComboButtonFrames[2]);
  combo->SetDroppedDown(false);
  EXPECT_EQ(ButtonFace(a), kComboButtonFrames[1]);  // still focused
  SetFocus(form->Handle());
  EXPECT_EQ(ButtonFace(a), kComboButtonFrames[0]);
}

TEST_F(ComboBoxes, TheDroppedListIsFramedInTheBorderColourOverItsColour) {
  vcl::TComboBox* combo = MakeCombo(vcl::csDropDownList);
  TqvComboBoxWnd* a = Adapt(combo->Handle(), combo);
  HWND list = Drop(combo);
  ASSERT_TRUE(IsWindowVisible(list));
  ASSERT_NE(a->ListAdapter, nullptr);
  EXPECT_FALSE(a->ListAdapter->SimpleList);
  auto pixels = Printed(list);
  const RECT box = WindowBox(list);
  EXPECT_EQ(pixels->At(0, 0), kBorderColor);
  EXPECT_EQ(pixels->At(box.right - 1, box.bottom / 2), kBorderColor);
  // The items on the brush of the combo box's colour.
  EXPECT_GT(CountColor(*pixels, RECT{1, 1, box.right - 1, box.bottom - 1}, kComboColor), 50);
  combo->SetDroppedDown(false);
}

TEST_F(ComboBoxes, TheListsColourIsOneBrushPerColourFreedWhenTheSkinGoes) {
  vcl::TComboBox* combo = MakeCombo(vcl::csDropDownList);
  TqvComboBoxWnd* a = Adapt(combo->Handle(), combo);
  HWND list = ListOf(combo->Handle());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(a->ListAdapter, nullptr);  // never dropped
  HDC dc = GetDC(list);
  const auto ask = [&] {
    return reinterpret_cast<HBRUSH>(
        SendMessageW(combo->Handle(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(list)));
  };
  const HBRUSH brush = ask();
  ASSERT_NE(a->ListAdapter, nullptr);
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectW(brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, kComboColor);
  EXPECT_EQ(GetBkColor(dc), kComboColor);
  EXPECT_EQ(GetTextColor(dc), kComboFont);
  // A thousand paints of the list: the one brush, no object more.
  const wintest::GdiCounts before = wintest::CountGdi();
  bool same = true;
  for (int i = 0; i < 1000; ++i) same = same && ask() == brush;
  EXPECT_TRUE(same);
  const wintest::GdiCounts after = wintest::CountGdi();
  EXPECT_TRUE(wintest::NoGdiGrowth(before, after));
  EXPECT_EQ(after.Made(wintest::GdiKind::Brush), before.Made(wintest::GdiKind::Brush));
  ReleaseDC(list, dc);
  // The skin goes: the list's adapter and the brush with it.
  manager->SetActive(false);
  EXPECT_EQ(a->ListAdapter, nullptr);
  EXPECT_EQ(a->ListHandle, nullptr);
  EXPECT_EQ(GetObjectType(brush), 0u);
  EXPECT_EQ(GetAdapter(list), nullptr);
}

TEST_F(ComboBoxes, ASimpleComboFramesItsEditPartAndItsListIsASimpleList) {
  vcl::TComboBox* combo = MakeCombo(vcl::csSimple);
  combo->SetBounds(10, 10, 160, 120);
  TqvComboBoxWnd* a = Adapt(combo->Handle(), combo);
  EXPECT_TRUE(a->ButtonRect().IsEmpty());
  RedrawWindow(combo->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASE);
  HWND list = ListOf(combo->Handle());
  UpdateWindow(list);
  ASSERT_NE(a->ListAdapter, nullptr);
  EXPECT_TRUE(a->ListAdapter->SimpleList);
  auto pixels = Printed(combo->Handle());
  EXPECT_EQ(pixels->At(1, 1), kComboColor);
  EXPECT_EQ(CountColor(*pixels, RECT{0, 0, 160, 3}, kComboButtonFrames[0]), 0);  // no button
}

TEST_F(ComboBoxes, ADropDownComboShowsItsTextAndARightToLeftOneItsButtonAtTheLeft) {
  vcl::TComboBox* combo = MakeCombo(vcl::csDropDown);
  combo->SetText(L"Typed text");
  TqvComboBoxWnd* a = Adapt(combo->Handle(), combo);
  const vcl::TRect button = a->ButtonRect();
  auto pixels = Printed(combo->Handle());
  EXPECT_EQ(pixels->At(button.Left + 3, button.Top + 3), kComboButtonFrames[0]);
  EXPECT_EQ(pixels->At(1, 12), kComboColor);

  TqvComboBoxWnd* r = Adapt(Child(form->Handle(), L"COMBOBOX", CBS_DROPDOWNLIST, 10, 60, 160, 200, WS_EX_RTLREADING));
  EXPECT_EQ(r->ButtonRect().Left, 2);
  EXPECT_EQ(ButtonFace(r), kComboButtonFrames[0]);
}

TEST_F(ComboBoxes, OwnerDrawnItemsTakeTheSectionsAndTheSelectionsColours) {
  vcl::TComboBox* combo = MakeCombo(vcl::csOwnerDrawFixed);
  Adapt(combo->Handle(), combo);
  FramePixels target(combo->Handle());
  auto draw = [&](int Index, UINT State) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.itemID = static_cast<UINT>(Index);
    item.itemState = State;
    item.hwndItem = combo->Handle();
    item.hDC = target.DC();
    item.rcItem = RECT{0, 0, 150, 16};
    return combo->Perform(vcl::CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  };
  EXPECT_TRUE(draw(1, 0));
  EXPECT_EQ(target.At(140, 2), kComboHot);  // the section's second state
  EXPECT_GT(CountPixels(target, RECT{0, 0, 60, 16}, FontLike), 3);
  EXPECT_TRUE(draw(2, ODS_SELECTED | ODS_FOCUS));
  EXPECT_EQ(target.At(140, 2), kSelectionHot);
  EXPECT_GT(CountColor(target, RECT{0, 0, 60, 16}, kSelectionFont), 3);

  // The control's own drawing, on a canvas lent the item's bitmap.
  struct TDrawer {
    int drawn = -1;
    void Draw(vcl::TWinControl* Control, int Index, vcl::TRect R, vcl::TOwnerDrawState) {
      drawn = Index;
      auto* c = static_cast<vcl::TComboBox*>(Control);
      c->Canvas()->Brush()->SetColor(0x0000C0);
      c->Canvas()->FillRect(vcl::TRect{R.Left, R.Top, R.Left + 10, R.Bottom});
    }
  } drawer;
  combo->OnDrawItem = vcl::TDrawItemEvent::Bind<&TDrawer::Draw>(&drawer);
  EXPECT_TRUE(draw(3, 0));
  EXPECT_EQ(drawer.drawn, 3);
  EXPECT_EQ(target.At(5, 5), 0x0000C0u);
  EXPECT_EQ(target.At(140, 2), kComboHot);
  combo->OnDrawItem = {};
}

TEST_F(ComboBoxes, AnItemTextLongerThanAnyBufferIsReadWhole) {
  HWND bare = Child(form->Handle(), L"COMBOBOX", CBS_DROPDOWNLIST | CBS_HASSTRINGS, 10, 60, 160, 200);
  const std::wstring text = L"Long " + std::wstring(20000, L'x');
  SendMessageW(bare, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(bare, CB_SETCURSEL, 0, 0);
  TqvComboBoxWnd* a = Adapt(bare);
  SetFocus(form->Handle());
  auto pixels = Printed(bare);
  const vcl::TRect button = a->ButtonRect();
  EXPECT_GT(CountPixels(*pixels, RECT{3, 3, button.Left, 21}, [](COLORREF c) { return c != kComboColor; }), 10);
  EXPECT_EQ(pixels->At(1, 12), kComboColor);
}

TEST_F(ComboBoxes, EraseNeverPaintsAndTheMouseLeavingOverTheComboKeepsItHot) {
  vcl::TComboBox* combo = MakeCombo(vcl::csDropDown);
  TqvComboBoxWnd* a = Adapt(combo->Handle(), combo);
  FramePixels erased(combo->Handle());
  EXPECT_EQ(SendMessageW(combo->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.DC()), 0), 1);
  EXPECT_EQ(CountPixels(erased, WindowBox(combo->Handle()), [](COLORREF c) { return c != 0; }), 0);

  RECT r{};
  GetWindowRect(combo->Handle(), &r);
  combo->Perform(vcl::CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(a->SkinData->FMouseAbove);
  cursor = POINT{r.left + 20, r.top + 5};  // over the edit field, still inside the combo box
  combo->Perform(vcl::CM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(a->SkinData->FMouseAbove);
  cursor = POINT{r.left - 50, r.top - 50};
  combo->Perform(vcl::CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(a->SkinData->FMouseAbove);
}

TEST_F(ComboBoxes, TheDroppedListScrollsByItsSkinnedBarAndStaysDown) {
  vcl::TComboBox* combo = MakeCombo(vcl::csDropDownList, 10, 60);
  combo->SetDropDownCount(8);
  TqvComboBoxWnd* a = Adapt(combo->Handle(), combo);
  HWND list = Drop(combo);
  ASSERT_TRUE(IsWindowVisible(list));
  ASSERT_NE(a->ListAdapter, nullptr);
  TqvComboListWnd* l = a->ListAdapter.get();
  ASSERT_TRUE(l->VertBar && l->VertBar->Visible);
  vcl::TRect bar;
  GetVScrollRect(l, list, bar);
  ASSERT_GT(bar.Height(), 0);
  EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
  // A press on the bar's down arrow, where the skinned bar lies (whatever the list says).
  const POINT arrow{(bar.Left + bar.Right) / 2, bar.Bottom - 3};
  cursor = arrow;
  SendMessageW(list, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(arrow.x, arrow.y));
  EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 1);
  POINT client = arrow;
  ScreenToClient(list, &client);
  SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
  // Still down, the mouse still the list's, the choice unchanged.
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_TRUE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), -1);
  // A press beside the bars goes nowhere.
  const POINT beside{bar.Left - 30, bar.Top + 5};
  SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(beside.x, beside.y));
  EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 1);
  combo->SetDroppedDown(false);
  EXPECT_FALSE(IsWindowVisible(list));
}

// ---------------------------------------------------------------------------------------
// Combo boxes on a skinned form, adapted by the form's provider

class ComboBoxesOnASkinnedForm : public ComboBoxes {
 protected:
  std::string ExtraSections() const override {
    return FlatSection("FORM", 0x808080, 0x808080) + FlatSection("FORMTITLE", 0x606060, 0x707070);
  }
};

// The button shows pressed as soon as the list drops, the first time too (the list's window is
// learnt only from the list's first colour question, which comes after the combo box painted
// the drop). Read from the window's own pixels.
TEST_F(ComboBoxesOnASkinnedForm, TheButtonShowsPressedFromTheFirstDrop) {
  FormPtr skinned = ShownForm();
  vcl::Construct<TsSkinProvider>(skinned.get());
  skinned->SetBounds(100, 100, 300, 200);
  auto* combo = Put<vcl::TComboBox>(skinned.get(), 10, 10, 160, 24);
  combo->SetStyle(vcl::csDropDownList);
  for (int i = 0; i < 5; ++i) combo->Items()->Add(L"Item " + std::to_wstring(i));
  skinned->Show();
  wintest::PumpUntilIdle();
  auto* a = dynamic_cast<TqvComboBoxWnd*>(GetAdapter(combo->Handle()));
  ASSERT_NE(a, nullptr);
  const vcl::TRect button = a->ButtonRect();
  auto shown = [&] {
    HDC dc = GetWindowDC(combo->Handle());
    const COLORREF c = GetPixel(dc, button.Left + 3, button.Top + 3);
    ReleaseDC(combo->Handle(), dc);
    return c;
  };
  combo->SetFocus();
  wintest::PumpUntilIdle();
  EXPECT_EQ(shown(), kComboButtonFrames[1]);
  for (int drop = 1; drop <= 2; ++drop) {
    combo->SetDroppedDown(true);
    wintest::PumpUntilIdle();
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_EQ(shown(), kComboButtonFrames[2]) << "drop " << drop;
    combo->SetDroppedDown(false);
    wintest::PumpUntilIdle();
    EXPECT_EQ(shown(), kComboButtonFrames[1]) << "after drop " << drop;
  }
}

// ---------------------------------------------------------------------------------------
// A skin without the combo button's section

class ComboBoxesWithoutButton : public ComboBoxes {
 protected:
  bool WithButtonSection() const override { return false; }
};

TEST_F(ComboBoxesWithoutButton, TheButtonIsTheBackgroundWithABlackArrow) {
  vcl::TComboBox* combo = MakeCombo(vcl::csDropDownList);
  TqvComboBoxWnd* a = Adapt(combo->Handle(), combo);
  const vcl::TRect button = a->ButtonRect();
  auto pixels = Printed(combo->Handle());
  EXPECT_EQ(pixels->At(button.Left + 3, button.Top + 3), kComboColor);
  const RECT inside{button.Left, button.Top, button.Right, button.Bottom};
  EXPECT_GT(CountColor(*pixels, inside, 0x000000), 4);
  EXPECT_EQ(CountColor(*pixels, inside, 0x000000) + CountColor(*pixels, inside, kComboColor),
            button.Width() * button.Height());
}

}  // namespace
}  // namespace skin_layered::test
