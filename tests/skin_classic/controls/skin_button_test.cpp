// Skinned buttons on real controls: the frame of each state, press / leave / release and their
// clicks, caption line breaks, bare dialog buttons, menu buttons, glyphs and speed buttons.
#include "control_skin_support.h"

#include "classlib/extctrls/Buttons.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_classic/controls/ButtonGlyph.h"
#include "skin_classic/controls/SkinBitButton.h"
#include "skin_classic/controls/SkinButton.h"

namespace winskin::test {

namespace {

// The frame of the button image a pixel shows (0: none of them).
int ButtonFrameOf(vcl::TColor pixel) {
  for (int f = 1; f <= 5; ++f)
    if (pixel == Frame(kButtonsId, f)) return f;
  return 0;
}

int PaintedFrame(HWND w) {
  auto b = Painted(w);
  return ButtonFrameOf(At(b.get(), 3, 3));
}

class SkinButtonTest : public ControlSkinTest {
 protected:
  void SetUp() override {
    ControlSkinTest::SetUp();
    button_ = Add<vcl::TButton>(form_.get(), 10, 10, 90, 30);
    button_->OnClick = clicks_.Event();
  }
  template <class S = TSkinButton>
  S* Skin(vcl::TWinControl* control) {
    return ControlSkinTest::Skin<S>(control);
  }
  HWND H() { return button_->Handle(); }

  vcl::TButton* button_ = nullptr;
  ClickCounter clicks_;
};

TEST_F(SkinButtonTest, EachStatePaintsItsFrameAndLaterRulesWin) {
  TSkinButton* s = Skin(button_);
  EXPECT_EQ(PaintedFrame(H()), kButtonNormal);
  SendMessageW(H(), WM_MOUSEMOVE, 0, Point(5, 5));
  EXPECT_TRUE(s->MouseState() & kMouseHot);
  EXPECT_EQ(PaintedFrame(H()), kButtonHot);
  SendMessageW(H(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(PaintedFrame(H()), kButtonNormal);

  button_->SetDefault(true);
  EXPECT_EQ(PaintedFrame(H()), kButtonFocused);
  SendMessageW(H(), WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
  EXPECT_EQ(PaintedFrame(H()), kButtonPressed);
  EXPECT_EQ(GetFocus(), H());  // pressing focuses it
  SendMessageW(H(), WM_LBUTTONUP, 0, Point(5, 5));
  EXPECT_EQ(PaintedFrame(H()), kButtonFocused);

  // The space key presses it; the system clicks it on the release.
  form_->Show();
  button_->SetFocus();
  clicks_.clicks = 0;
  SendMessageW(H(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(PaintedFrame(H()), kButtonPressed);
  SendMessageW(H(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(PaintedFrame(H()), kButtonFocused);
  EXPECT_EQ(clicks_.clicks, 1);

  // Disabled wins over default, focus and the mouse.
  SendMessageW(H(), WM_MOUSEMOVE, 0, Point(5, 5));
  button_->SetEnabled(false);
  EXPECT_EQ(PaintedFrame(H()), kButtonDisabled);
}

TEST_F(SkinButtonTest, AButtonClicksOnlyWhenPressedAndReleasedOverIt) {
  Skin(button_);
  int downs = 0;
  struct Downs {
    int* n;
    void Down(vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) { ++*n; }
  } d{&downs};
  button_->OnMouseDown = vcl::TMouseEvent::Bind<&Downs::Down>(&d);

  SendMessageW(H(), WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 10));
  EXPECT_EQ(downs, 1);  // the control's own mouse-down still reported
  SendMessageW(H(), WM_LBUTTONUP, 0, Point(20, 10));
  EXPECT_EQ(clicks_.clicks, 1);

  // Pressed, the mouse leaves, released over the button: no click.
  SendMessageW(H(), WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 10));
  SendMessageW(H(), WM_MOUSEMOVE, MK_LBUTTON, Point(200, 10));
  SendMessageW(H(), WM_MOUSELEAVE, 0, 0);
  SendMessageW(H(), WM_LBUTTONUP, 0, Point(20, 10));
  EXPECT_EQ(clicks_.clicks, 1);

  // Pressed and released outside it: no click either.
  SendMessageW(H(), WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 10));
  SendMessageW(H(), WM_LBUTTONUP, 0, Point(200, 10));
  EXPECT_EQ(clicks_.clicks, 1);
  SendMessageW(H(), WM_LBUTTONUP, 0, Point(20, 10));  // a release without a press
  EXPECT_EQ(clicks_.clicks, 1);

  // A double click is a press of its own.
  SendMessageW(H(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(20, 10));
  SendMessageW(H(), WM_LBUTTONUP, 0, Point(20, 10));
  EXPECT_EQ(clicks_.clicks, 2);
}

// The rows of the picture holding pixels of neither the face nor the background.
std::pair<int, int> TextRows(vcl::TBitmap* b, vcl::TColor face) {
  int first = -1, last = -1;
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x)
      if (At(b, x, y) != face) {
        if (first < 0) first = y;
        last = y;
        break;
      }
  return {first, last};
}

TEST_F(SkinButtonTest, DoubleBarsInTheCaptionBreakTheLine) {
  button_->SetHeight(60);
  TSkinButton* s = Skin(button_);
  button_->SetCaption(L"上下");
  auto one = Painted(H());
  const auto [top1, bottom1] = TextRows(one.get(), Frame(kButtonsId, 1));
  button_->SetCaption(L"上||下");
  auto two = Painted(H());
  const auto [top2, bottom2] = TextRows(two.get(), Frame(kButtonsId, 1));
  EXPECT_EQ(s->Caption(), L"上\r\n下");
  ASSERT_GE(top1, 0);
  EXPECT_GT(bottom2 - top2, 3 * (bottom1 - top1) / 2);
}

// ---------------------------------------------------------------------------------------
// Bare dialog buttons

std::vector<vcl::TMessage>& Commands() {
  static std::vector<vcl::TMessage> commands;
  return commands;
}

LRESULT CALLBACK DialogProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) Commands().push_back({msg, wp, lp, 0});
  return DefWindowProcW(w, msg, wp, lp);
}

HWND DialogWindow() {
  return CreateWindowExW(0, wintest::TestWindowClass(L"SkinButtonDialog", &DialogProc),
                         L"Dialog", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

TEST_F(SkinButtonTest, ABareDialogButtonIsPaintedAndTellsItsParentOfTheClick) {
  Commands().clear();
  HWND dialog = DialogWindow();
  HWND ok = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 26, dialog,
                            reinterpret_cast<HMENU>(42), GetModuleHandleW(nullptr), nullptr);
  auto* s = new TSkinButton(nullptr);
  s->AttachWindow(ok, data_.get(), &host_, nullptr);
  EXPECT_EQ(s->Caption(), L"确定");
  EXPECT_EQ(PaintedFrame(ok), kButtonNormal);
  SendMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
  EXPECT_EQ(PaintedFrame(ok), kButtonPressed);
  SendMessageW(ok, WM_LBUTTONUP, 0, Point(5, 5));
  PumpUntil([] { return !Commands().empty(); });
  ASSERT_EQ(Commands().size(), 1u);
  EXPECT_EQ(LOWORD(Commands()[0].WParam), 42);
  EXPECT_EQ(HIWORD(Commands()[0].WParam), BN_CLICKED);
  EXPECT_EQ(Commands()[0].LParam, reinterpret_cast<LPARAM>(ok));
  host_.ReleaseSkinners();
  DestroyWindow(dialog);
}

// ---------------------------------------------------------------------------------------
// Menu buttons

TEST_F(SkinButtonTest, AMenuButtonsCaptionStaysLeftOfItsArrowAndFocusLooksHot) {
  button_->SetCaption(L"一个很长很长很长很长的标题");
  auto* s = Skin<TSkinMenuButton>(button_);
  auto b = Painted(H());
  const int w = b->Width(), h = b->Height();
  const vcl::TColor face = Frame(kButtonsId, 1);
  for (int y = 3; y < h - 3; ++y) {
    EXPECT_EQ(At(b.get(), w - 16, y), face) << y;
    EXPECT_EQ(At(b.get(), w - 5, y), face) << y;
  }
  const int h2 = h / 2 + 2;
  EXPECT_EQ(At(b.get(), w - 12, h2 - 1), vcl::ColorToRGB(vcl::clWindowText));  // the arrow
  form_->Show();
  button_->SetFocus();
  EXPECT_EQ(PaintedFrame(H()), kButtonHot);
  EXPECT_EQ(s->LastState(), kButtonHot);
}

// ---------------------------------------------------------------------------------------
// Glyphs

TEST(GlyphLayout, GlyphAndCaptionAreSpreadOrPlacedByLayoutMarginAndSpacing) {
  const TRect wide(0, 0, 100, 30), tall(0, 0, 100, 60);
  const TPoint glyph(16, 16), text(40, 13);

  TGlyphPlacement p = PlaceGlyphAndText(wide, glyph, text, TGlyphLayout::Left, -1, -1, false);
  EXPECT_EQ(p.Glyph, TPoint(14, 7));  // margin and spacing (100 - 16 - 40) / 3
  EXPECT_EQ(p.Text, TRect(44, 9, 84, 22));
  EXPECT_EQ(p.TextFlags, 0u);

  p = PlaceGlyphAndText(wide, glyph, text, TGlyphLayout::Right, 4, 4, false);
  EXPECT_EQ(p.Glyph.X, 80);
  EXPECT_EQ(p.Text.Right, 76);
  EXPECT_EQ(p.TextFlags, static_cast<UINT>(DT_RIGHT));

  p = PlaceGlyphAndText(tall, glyph, text, TGlyphLayout::Top, -1, 2, false);
  EXPECT_EQ(p.Glyph, TPoint(42, 14));  // margin (60 - (16 + 2 + 13)) / 2
  EXPECT_EQ(p.Text.Top, 32);
  EXPECT_EQ(p.TextFlags, static_cast<UINT>(DT_CENTER));

  p = PlaceGlyphAndText(tall, glyph, text, TGlyphLayout::Bottom, 5, -1, false);
  EXPECT_EQ(p.Glyph.Y, 39);
  EXPECT_EQ(p.Text.Top, 39 - 13 - 13);  // spacing (60 - 21 - 13) / 2

  // No caption: no spacing, the glyph centred.
  p = PlaceGlyphAndText(wide, glyph, TPoint(0, 0), TGlyphLayout::Left, -1, 4, false);
  EXPECT_EQ(p.Glyph.X, 42);
  // Centred alignment overrides the margin.
  p = PlaceGlyphAndText(wide, glyph, text, TGlyphLayout::Left, 5, 4, true);
  EXPECT_EQ(p.Glyph.X, 20);

  EXPECT_EQ(GlyphLayoutByName(L"blglyphbottom"), TGlyphLayout::Bottom);
  EXPECT_EQ(GlyphLayoutByName(L"sideways"), TGlyphLayout::Left);
}

// A glyph of two 10 x 10 frames, each one colour but its bottom-left pixel (the transparent
// colour).
std::unique_ptr<vcl::TBitmap> TwoFrameGlyph() {
  return FromBmp(Bmp24(20, 10, [](int x, int y) {
    if (y == 9 && x % 10 == 0) return MakeRgb(255, 0, 255);
    return x < 10 ? MakeRgb(250, 10, 10) : MakeRgb(10, 10, 250);
  }));
}

TEST_F(SkinButtonTest, ABitButtonDrawsItsGlyphFrameAndADisabledOneTheEmbossedFirstFrame) {
  auto* glyphButton = Add<vcl::TBitBtn>(form_.get(), 10, 50, 100, 30);
  auto glyph = TwoFrameGlyph();
  glyphButton->SetGlyph(glyph.get());
  glyphButton->SetNumGlyphs(2);
  glyphButton->SetMargin(4);
  Skin<TSkinBitButton>(glyphButton);
  const int gx = 4 + 5, gy = (30 - 10 + 1) / 2 + 5;  // inside the glyph
  auto b = Painted(glyphButton->Handle());
  EXPECT_EQ(At(b.get(), gx, gy), vcl::TColor(0x0A0AFA));  // frame 1 (red 250)
  EXPECT_EQ(At(b.get(), 4, (30 - 10 + 1) / 2 + 9), Frame(kButtonsId, 1));  // its transparent pixel

  // Pressed: frame 3 does not exist, so frame 1.
  SendMessageW(glyphButton->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(50, 10));
  b = Painted(glyphButton->Handle());
  EXPECT_EQ(At(b.get(), gx, gy), vcl::TColor(0x0A0AFA));
  SendMessageW(glyphButton->Handle(), WM_MOUSELEAVE, 0, 0);

  // Disabled: the first frame embossed in the shadow colour, whatever NumGlyphs says.
  glyphButton->SetEnabled(false);
  b = Painted(glyphButton->Handle());
  EXPECT_EQ(At(b.get(), gx, gy), vcl::ColorToRGB(vcl::clBtnShadow));
  EXPECT_EQ(At(b.get(), 3, 3), Frame(kButtonsId, kButtonDisabled));
}

TEST(DisabledGlyph, TheEmbossedGlyphIsShadowOverHighlightOnTheFace) {
  auto glyph = TwoFrameGlyph();
  auto d = DisabledGlyph(glyph.get(), 2);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->Width(), 10);
  EXPECT_EQ(At(d.get(), 5, 5), vcl::ColorToRGB(vcl::clBtnShadow));
  EXPECT_EQ(At(d.get(), 0, 9), vcl::ColorToRGB(vcl::clBtnFace));  // the transparent pixel stays face
  EXPECT_FALSE(DisabledGlyph(nullptr, 1));
}

// ---------------------------------------------------------------------------------------
// Speed buttons

TEST_F(SkinButtonTest, AFlatSpeedButtonShowsNoFaceUntilTheMouseIsOverItOrItIsDown) {
  auto* speed = Add<vcl::TSpeedButton>(form_.get(), 20, 120, 60, 30);
  speed->SetFlat(true);
  auto* s = new TSkinSpeedButton(speed);
  s->AttachGraphicControl(&host_, data_.get(), nullptr);
  auto pixel = [&] {
    auto b = Painted(form_->Handle());
    return At(b.get(), 20 + 3, 120 + 3);
  };
  EXPECT_EQ(pixel(), C(kFace));
  speed->Perform(vcl::CM_MOUSEENTER);
  EXPECT_EQ(pixel(), Frame(kButtonsId, kButtonHot));
  speed->Perform(vcl::CM_MOUSELEAVE);
  EXPECT_EQ(pixel(), C(kFace));
  speed->SetGroupIndex(1);
  speed->SetAllowAllUp(true);
  speed->SetDown(true);
  EXPECT_EQ(pixel(), Frame(kButtonsId, kButtonPressed));
  speed->SetDown(false);
  speed->SetFlat(false);
  EXPECT_EQ(pixel(), Frame(kButtonsId, kButtonNormal));
  speed->SetEnabled(false);
  EXPECT_EQ(pixel(), Frame(kButtonsId, kButtonDisabled));

  // Freed, the button paints itself again.
  const vcl::TWndMethod skinned = speed->WindowProc;
  vcl::TObject::Free(s);
  EXPECT_FALSE(speed->WindowProc.Raw() == skinned.Raw());
  EXPECT_NE(pixel(), Frame(kButtonsId, kButtonDisabled));
}

}  // namespace
}  // namespace winskin::test
