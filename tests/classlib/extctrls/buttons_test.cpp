// Speed buttons: clicks through the parent's window, groups that stay down one at a time, the
// flat face by pixels, and glyph frames drawn without their transparent colour.
#include <gtest/gtest.h>

#include "classlib/extctrls/Buttons.h"
#include "classlib/stdctrls/stdctrls_support.h"

namespace vcl::testing {
namespace {

// What PixelTarget holds where nothing was painted.
constexpr TColor kUntouched = 0x563412;

TSpeedButton* NewButton(TWinControl* parent, int left, int top) {
  auto* b = Put<TSpeedButton>(parent, left, top, 142, 41);
  return b;
}

TEST(SpeedButton, AClickIsAPressAndAReleaseInside) {
  auto form = ShownForm();
  TSpeedButton* button = NewButton(form.get(), 10, 10);
  button->SetFlat(true);
  button->SetCaption(L"关联销售");
  Counter clicks;
  button->OnClick = clicks.Event();
  HWND wnd = form->Handle();

  ClickAt(wnd, 20, 20);  // the parent hands the mouse to the button under it
  EXPECT_EQ(clicks.count, 1);
  EXPECT_EQ(clicks.sender, button);
  EXPECT_EQ(button->State(), TButtonState::bsUp);

  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(20, 20));
  EXPECT_EQ(button->State(), TButtonState::bsDown);
  SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(300, 200));  // dragged away
  EXPECT_EQ(button->State(), TButtonState::bsUp);
  SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(300, 200));
  EXPECT_EQ(clicks.count, 1);

  button->SetEnabled(false);
  ClickAt(wnd, 20, 20);
  EXPECT_EQ(clicks.count, 1);
}

TEST(SpeedButton, ButtonsOfAGroupStayDownOneAtATime) {
  auto form = ShownForm();
  TSpeedButton* a = NewButton(form.get(), 0, 0);
  TSpeedButton* b = NewButton(form.get(), 0, 50);
  TSpeedButton* other = NewButton(form.get(), 0, 100);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  other->SetGroupIndex(2);
  HWND wnd = form->Handle();

  ClickAt(wnd, 5, 5);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), TButtonState::bsExclusive);
  ClickAt(wnd, 5, 55);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  other->SetDown(true);  // another group
  EXPECT_TRUE(b->Down());
  ClickAt(wnd, 5, 55);  // without AllowAllUp the one down stays down
  EXPECT_TRUE(b->Down());

  a->SetAllowAllUp(true);  // for the whole group
  EXPECT_TRUE(b->AllowAllUp());
  ClickAt(wnd, 5, 55);
  EXPECT_FALSE(b->Down());

  auto* single = NewButton(form.get(), 0, 150);
  single->SetDown(true);  // no group: never stays down
  EXPECT_FALSE(single->Down());
}

TEST(SpeedButton, AFlatTransparentFaceShowsTheParentUntilTheMouseIsOver) {
  auto form = ShownForm();
  TSpeedButton* button = NewButton(form.get(), 0, 0);
  button->SetFlat(true);
  auto paint = [&] {
    auto t = std::make_unique<PixelTarget>(142, 41);
    button->PaintTo(t->dc(), 0, 0);
    return t;
  };
  {
    auto t = paint();
    EXPECT_EQ(t->At(0, 0), kUntouched);
    EXPECT_EQ(t->At(70, 20), kUntouched);
    EXPECT_EQ(t->At(141, 40), kUntouched);
  }
  button->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(button->MouseInControl());
  {
    auto t = paint();
    EXPECT_EQ(t->At(0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(t->At(141, 40), ColorToRGB(clBtnShadow));
    EXPECT_EQ(t->At(70, 20), kUntouched);
  }
  button->Perform(CM_MOUSELEAVE, 0, 0);
  button->SetGroupIndex(3);
  button->SetDown(true);
  {
    auto t = paint();
    EXPECT_EQ(t->At(0, 0), ColorToRGB(clBtnShadow));  // sunken
    const TColor middle = t->At(70, 20);
    EXPECT_TRUE(middle == ColorToRGB(clBtnFace) || middle == ColorToRGB(clBtnHighlight));
  }
  button->SetAllowAllUp(true);
  button->SetDown(false);
  button->SetTransparent(false);
  button->SetColor(clYellow);
  EXPECT_EQ(paint()->At(70, 20), clYellow);
  button->SetFlat(false);
  EXPECT_EQ(paint()->At(70, 20), ColorToRGB(clBtnFace));
}

// A glyph of square frames on a fuchsia background (the bottom-left pixel: transparent).
std::unique_ptr<TBitmap> FramedGlyph(std::initializer_list<TColor> frames) {
  auto glyph = std::make_unique<TBitmap>();
  glyph->SetPixelFormat(pf24bit);
  glyph->SetSize(16 * static_cast<int>(frames.size()), 16);
  TCanvas* c = glyph->Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(Rect(0, 0, glyph->Width(), 16));
  int x = 0;
  for (TColor color : frames) {
    c->Brush()->SetColor(color);
    c->FillRect(Rect(x + 4, 4, x + 12, 12));
    x += 16;
  }
  return glyph;
}

TEST(SpeedButton, TheGlyphFrameOfTheStateIsDrawnWithoutItsTransparentColour) {
  auto form = ShownForm();
  auto* button = Put<TSpeedButton>(form.get(), 0, 0, 40, 30);
  button->SetFlat(true);
  auto glyph = FramedGlyph({clRed, clBlue});
  button->SetGlyph(glyph.get());
  EXPECT_EQ(button->NumGlyphs(), 2);
  // Client 38 x 28 inside the flat edge; the 16 x 16 frame centred: at (12, 7).
  auto paint = [&] {
    auto t = std::make_unique<PixelTarget>(40, 30);
    button->PaintTo(t->dc(), 0, 0);
    return t;
  };
  {
    auto t = paint();
    EXPECT_EQ(t->At(20, 15), clRed);
    EXPECT_EQ(t->At(13, 8), kUntouched);  // the glyph's fuchsia is left out
  }
  button->SetEnabled(false);
  EXPECT_EQ(paint()->At(20, 15), clBlue);  // the disabled frame

  // One frame only: disabled shows the shape embossed.
  auto single = FramedGlyph({clRed});
  button->SetGlyph(single.get());
  EXPECT_EQ(button->NumGlyphs(), 1);
  {
    auto t = paint();
    EXPECT_EQ(t->At(20, 15), ColorToRGB(clBtnShadow));
    EXPECT_EQ(t->At(24, 15), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(t->At(14, 15), kUntouched);
  }
  button->SetEnabled(true);
  button->SetLayout(blGlyphRight);
  button->SetMargin(2);
  {
    auto t = paint();
    // Right edge of the client (39) less the margin and the frame: the frame at 21.
    EXPECT_EQ(t->At(21 + 4, 15), clRed);
    EXPECT_EQ(t->At(20, 15), kUntouched);
  }
}

}  // namespace
}  // namespace vcl::testing
