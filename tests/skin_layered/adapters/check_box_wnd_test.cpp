// The check-box and group-box adapters: each check state's glyph in each frame by pixel on
// library and bare boxes, captions on either side, owner-drawn boxes left to their owners, and
// group boxes with the caption in the frame's gap (clipped inside the edge).
#include "buttons_support.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/adapters/AdapterUnit.h"
#include "skin_layered/adapters/CheckBoxWnd.h"
#include "skin_layered/adapters/GroupBoxWnd.h"
#include "skin_layered/core/BackgroundInfo.h"

namespace skin_layered::test {
namespace {

enum { kUnchecked, kChecked, kGrayed, kRadioOff, kRadioOn };
enum { kNormalFrame, kHotFrame, kPressedFrame };

class CheckBoxes : public ButtonsTest {
 protected:
  // A see-through group box section besides the opaque one.
  void SetUp() override {
    LoadButtonsSkin("[GROUPBOXCLEAR]\r\nCOLOR=$FFFFFF\r\nTRANSPARENCY=100\r\nFONTCOLOR=" + Hex(kGroupFont) +
                    "\r\nSTATES=1\r\n");
  }

  // The glyph's colour at its middle (the glyph at the left, or at the right edge).
  static COLORREF GlyphAt(HWND Wnd, bool Right = false) {
    const RECT box = WindowBox(Wnd);
    return Printed(Wnd)->At(Right ? box.right - kGlyphSize / 2 : kGlyphSize / 2, box.bottom / 2);
  }
  template <class T>
  T* Make(int Top, const wchar_t* Caption) {
    auto* c = Put<T>(form.get(), 10, Top, 150, 24);
    c->SetCaption(Caption);
    return c;
  }
  template <class A = TqvCheckBoxWnd>
  TqvAdapterPtr<A> Adapt(vcl::TWinControl* Control, const wchar_t* Section = L"") {
    return CreateAdapter<A>(Control->Handle(), nullptr, manager.get(), TqvSkinParams{Control, Section});
  }
  vcl::TGroupBox* MakeGroup(int W, int H, const wchar_t* Caption) {
    auto* group = Put<vcl::TGroupBox>(form.get(), 10, 10, W, H);
    group->SetCaption(Caption);
    return group;
  }
};

TEST_F(CheckBoxes, ALibraryCheckBoxShowsTheGlyphOfEachCheckState) {
  auto* box = Make<vcl::TCheckBox>(10, L"Check me");
  box->SetAllowGrayed(true);
  auto adapter = Adapt(box);
  SetFocus(form->Handle());
  EXPECT_EQ(GlyphAt(box->Handle()), GlyphColor(kUnchecked, kNormalFrame));
  box->SetState(vcl::cbChecked);
  EXPECT_EQ(GlyphAt(box->Handle()), GlyphColor(kChecked, kNormalFrame));
  box->SetState(vcl::cbGrayed);
  EXPECT_EQ(GlyphAt(box->Handle()), GlyphColor(kGrayed, kNormalFrame));

  // The caption right of the glyph over the section's colour.
  auto pixels = Printed(box->Handle());
  EXPECT_GT(CountColor(*pixels, RECT{kGlyphSize + 4, 0, 150, 24}, kCheckFont), 5);
  EXPECT_EQ(CountColor(*pixels, RECT{0, 0, kGlyphSize + 3, 24}, kCheckFont), 0);
  EXPECT_EQ(pixels->At(149, 1), kCheckColor);

  // Focused: the hot frame and the section's hot colour; pressed: the pressed frame.
  box->SetState(vcl::cbUnchecked);
  box->SetFocus();
  EXPECT_EQ(GlyphAt(box->Handle()), GlyphColor(kUnchecked, kHotFrame));
  EXPECT_EQ(Printed(box->Handle())->At(149, 1), kCheckHot);
  SendMessageW(box->Handle(), BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(GlyphAt(box->Handle()), GlyphColor(kUnchecked, kPressedFrame));
  SendMessageW(box->Handle(), BM_SETSTATE, FALSE, 0);
  SetFocus(form->Handle());
  EXPECT_EQ(GlyphAt(box->Handle()), GlyphColor(kUnchecked, kNormalFrame));
}

TEST_F(CheckBoxes, RadioButtonsTakeTheRadioGlyphsAndLeftTextPutsTheGlyphRight) {
  auto* radio = Make<vcl::TRadioButton>(10, L"Radio");
  auto* left = Make<vcl::TRadioButton>(40, L"Text first");
  left->SetAlignment(vcl::taLeftJustify);
  auto a = Adapt(radio), b = Adapt(left);
  SetFocus(form->Handle());
  EXPECT_EQ(GlyphAt(radio->Handle()), GlyphColor(kRadioOff, kNormalFrame));
  radio->SetChecked(true);
  EXPECT_EQ(GlyphAt(radio->Handle()), GlyphColor(kRadioOn, kNormalFrame));
  EXPECT_EQ(GlyphAt(left->Handle(), true), GlyphColor(kRadioOff, kNormalFrame));
  left->SetChecked(true);  // the other one goes off
  EXPECT_EQ(GlyphAt(left->Handle(), true), GlyphColor(kRadioOn, kNormalFrame));
  EXPECT_EQ(GlyphAt(radio->Handle()), GlyphColor(kRadioOff, kNormalFrame));
  // The caption at the left, clear of the glyph.
  auto pixels = Printed(left->Handle());
  EXPECT_GT(CountColor(*pixels, RECT{0, 0, 150 - kGlyphSize - 2, 24}, kCheckFont), 5);
  EXPECT_EQ(CountColor(*pixels, RECT{150 - kGlyphSize, 0, 150, 24}, kCheckFont), 0);
}

TEST_F(CheckBoxes, BareBoxesFollowTheirWindowsStateAndAnOwnerDrawnOneIsLeftToItsOwner) {
  HWND bare = Child(form->Handle(), L"BUTTON", BS_AUTOCHECKBOX, 10, 80, 150, 24, 0, L"Auto");
  HWND owner = Child(form->Handle(), L"BUTTON", BS_OWNERDRAW, 10, 110, 150, 24, 0, L"Owner");
  auto a = CreateAdapter<TqvCheckBoxWnd>(bare, nullptr, manager.get(), TqvSkinParams{});
  auto b = CreateAdapter<TqvCheckBoxWnd>(owner, nullptr, manager.get(), TqvSkinParams{});
  EXPECT_FALSE(a->OwnerDrawn());
  EXPECT_TRUE(b->OwnerDrawn());
  SetFocus(form->Handle());
  EXPECT_EQ(GlyphAt(bare), GlyphColor(kUnchecked, kNormalFrame));
  SendMessageW(bare, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(GlyphAt(bare), GlyphColor(kChecked, kNormalFrame));
  // The manager's hot window shows the hot frame.
  manager->SetHotWnd(bare);
  EXPECT_EQ(GlyphAt(bare), GlyphColor(kChecked, kHotFrame));
  manager->SetHotWnd(nullptr);

  // Nothing is painted for the owner-drawn box; erasing fills what lies behind it.
  auto untouched = Printed(owner);
  EXPECT_EQ(CountPixels(*untouched, WindowBox(owner), [](COLORREF c) { return c != 0; }), 0);
  FramePixels erased(owner);
  EXPECT_EQ(SendMessageW(owner, WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.DC()), 0), 1);
  EXPECT_EQ(erased.At(5, 5), kParentColor);
  EXPECT_EQ(erased.At(149, 23), kParentColor);
}

// ---------------------------------------------------------------------------------------
// Group boxes

TEST_F(CheckBoxes, AGroupBoxShowsItsFrameBelowTheCaptionsMiddleAndTheCaptionInItsGap) {
  auto* group = MakeGroup(200, 120, L"Group");
  auto adapter = Adapt<TqvGroupBoxWnd>(group);
  const int height = static_cast<int>(SendCommandToWnd(group->Handle(), scmGetCtrlValue, 0));
  EXPECT_EQ(height, adapter->CaptionHeight());
  EXPECT_GE(height, 6);
  const vcl::TRect caption = adapter->CaptionRect();
  EXPECT_EQ(caption.Left, 6);

  auto pixels = Printed(group->Handle());
  // Above the frame and in the caption's gap: what lies behind; below: the frame.
  EXPECT_EQ(pixels->At(2, 1), kParentColor);
  EXPECT_EQ(pixels->At(190, height / 2 - 1), kParentColor);
  EXPECT_EQ(pixels->At(2, height / 2 + 1), kGroupColor);
  EXPECT_EQ(pixels->At(100, 100), kGroupColor);
  EXPECT_EQ(pixels->At(caption.Left + 1, height - 1), kParentColor);
  EXPECT_EQ(pixels->At(caption.Right + 1, height - 1), kGroupColor);
  EXPECT_GT(CountColor(*pixels, RECT{caption.Left, 0, caption.Right, height}, kGroupFont), 5);
  EXPECT_EQ(CountColor(*pixels, RECT{0, height, 200, 120}, kGroupFont), 0);
}

TEST_F(CheckBoxes, AChildAskingASeeThroughGroupBoxBeforeItPaintedGetsItsImage) {
  auto* group = MakeGroup(200, 120, L"A see-through group");
  auto adapter = Adapt<TqvGroupBoxWnd>(group, L"GROUPBOXCLEAR");
  ASSERT_TRUE(adapter->SkinData->BGChanged);  // not painted yet
  TqvBGInfo info;
  EXPECT_TRUE(GetBgInfoWnd(info, group->Handle(), false));
  EXPECT_EQ(info.BgType, btBitmap);
  ASSERT_NE(info.Bmp, nullptr);
  EXPECT_FALSE(adapter->SkinData->Updating);
  // What lies behind shows through the section, and the box paints as ever.
  EXPECT_EQ(PixelOf(info.Bmp, 100, 100) & 0xFFFFFF, Rgb(kParentColor));
  auto pixels = Printed(group->Handle());
  EXPECT_EQ(pixels->At(100, 100), kParentColor);
  EXPECT_GT(CountColor(*pixels, RECT{6, 0, 200, adapter->CaptionHeight()}, kGroupFont), 5);
}

TEST_F(CheckBoxes, ACaptionLongerThanTheGroupBoxIsClippedInsideItsRightEdge) {
  auto* group = MakeGroup(80, 60, L"A caption far longer than the group box is wide");
  auto adapter = Adapt<TqvGroupBoxWnd>(group);
  EXPECT_EQ(adapter->CaptionRect().Right, 79);
  const int height = adapter->CaptionHeight();
  auto pixels = Printed(group->Handle());
  EXPECT_GT(CountColor(*pixels, RECT{6, 0, 79, height}, kGroupFont), 5);
  EXPECT_EQ(CountColor(*pixels, RECT{79, 0, 80, height}, kGroupFont), 0);
  EXPECT_EQ(pixels->At(79, height - 1), kGroupColor);
}

TEST_F(CheckBoxes, ASystemDialogsGroupBoxPaintsOnlyItsFrame) {
  HWND group = Child(form->Handle(), L"BUTTON", BS_GROUPBOX, 10, 150, 200, 100, 0, L"Options");
  TqvAdapterPtr<TqvGroupBoxWnd> adapter;
  {
    TqvDialogChildScope scope(true);
    adapter = CreateAdapter<TqvGroupBoxWnd>(group, nullptr, manager.get(), TqvSkinParams{});
  }
  EXPECT_TRUE(adapter->DialogChild);
  const int height = adapter->CaptionHeight();
  auto pixels = Printed(group);
  // The frame strips (the section has no border image: the strips are as wide as the
  // section's whole face) and the caption strip; the interior is left as it was.
  EXPECT_EQ(pixels->At(2, 1), kParentColor);
  EXPECT_EQ(pixels->At(100, 50), 0u);
  EXPECT_GT(CountColor(*pixels, RECT{6, 0, 200, height}, kGroupFont), 5);
}

}  // namespace
}  // namespace skin_layered::test
