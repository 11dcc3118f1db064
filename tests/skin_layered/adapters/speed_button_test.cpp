// The speed-button handler on a library speed button: its section by state, glyph and caption
// by layout (shifted when pressed unless the manager says not to), its own painting back when
// the skin goes, and the button's end heard through its free notification.
#include "classlib/extctrls/Buttons.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "panels_support.h"
#include "skin_layered/adapters/SpeedButtonHandler.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/reader_support.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

struct HandlerFree {
  void operator()(TqvSpeedButtonHandler* h) const { vcl::TObject::Free(h); }
};
using HandlerPtr = std::unique_ptr<TqvSpeedButtonHandler, HandlerFree>;

class SpeedButtonHandler : public PanelsTest {
 protected:
  void SetUp() override {
    PanelsTest::SetUp();
    button = Put<vcl::TSpeedButton>(form.get(), 20, 20, 60, 30);
    data = std::make_unique<TsCommonData>(button, true);
    data->SetSkinManager(manager.get());
    handler = HandlerPtr(vcl::Construct<TqvSpeedButtonHandler>(button, vcl::String(L"SPEEDBUTTON"), manager.get(),
                                                               data.get()));
  }
  // A 10 x 10 green glyph (its bottom-left pixel names the see-through colour) at margin 4.
  void SetGlyph() {
    auto glyph = std::make_unique<vcl::TBitmap>();
    glyph->SetPixelFormat(vcl::pf24bit);
    glyph->SetSize(10, 10);
    HBRUSH brush = CreateSolidBrush(0x00FF00);
    const RECT all{0, 0, 10, 10};
    FillRect(glyph->Canvas()->Handle(), &all, brush);
    DeleteObject(brush);
    SetPixel(glyph->Canvas()->Handle(), 0, 9, 0xFF00FF);
    button->SetGlyph(glyph.get());
    button->SetNumGlyphs(1);
    button->SetMargin(4);
  }
  COLORREF Painted(int X, int Y) {
    MemoryPixels pixels(60, 30);
    button->Perform(WM_PAINT, reinterpret_cast<WPARAM>(pixels.DC()), 0);
    return pixels.At(X, Y);
  }

  vcl::TSpeedButton* button = nullptr;
  std::unique_ptr<TsCommonData> data;
  HandlerPtr handler;  // goes before its data
};

TEST_F(SpeedButtonHandler, TheSectionIsPaintedByState) {
  EXPECT_EQ(button->Perform(kSkinCmdMessage, SkinCommandWParam(scmIsSkinned), 0), 1);
  EXPECT_EQ(handler->ButtonState(), 0);
  EXPECT_EQ(Painted(2, 2), kSpeed);
  button->Perform(vcl::CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(handler->ButtonState(), 1);
  EXPECT_EQ(Painted(2, 2), kSpeedHot);
  button->Perform(vcl::CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Painted(2, 2), kSpeed);
  button->SetGroupIndex(1);
  button->SetDown(true);
  EXPECT_EQ(handler->ButtonState(), 2);
  EXPECT_EQ(Painted(2, 2), kSpeedHot);  // the pressed look uses the section's active colours
}

TEST_F(SpeedButtonHandler, TheGlyphLiesWhereTheLayoutPutsIt) {
  SetGlyph();
  button->SetLayout(vcl::blGlyphLeft);
  // Left at the margin, centred vertically: (4, 10) .. (14, 20).
  EXPECT_EQ(Painted(8, 15), 0x00FF00u);
  EXPECT_EQ(Painted(2, 15), kSpeed);
  button->SetLayout(vcl::blGlyphRight);
  EXPECT_EQ(Painted(51, 15), 0x00FF00u);
  EXPECT_EQ(Painted(8, 15), kSpeed);
}

TEST(SpeedButtonLayout, GlyphAndCaptionByLayoutMarginAndShift) {
  // Centred together: ox = (60 - 10 - 4 - 20) / 2 = 13.
  TqvButtonLayout l = LayoutButtonContent(60, 30, {10, 10}, {20, 8}, vcl::blGlyphLeft, -1, 4, false);
  EXPECT_EQ(l.Glyph, (vcl::TRect{13, 10, 23, 20}));
  EXPECT_EQ(l.Caption, (vcl::TRect{27, 11, 47, 19}));
  l = LayoutButtonContent(60, 30, {10, 10}, {20, 8}, vcl::blGlyphRight, -1, 4, false);
  EXPECT_EQ(l.Glyph, (vcl::TRect{37, 10, 47, 20}));
  EXPECT_EQ(l.Caption, (vcl::TRect{13, 11, 33, 19}));
  l = LayoutButtonContent(60, 40, {10, 10}, {20, 8}, vcl::blGlyphTop, 2, 4, false);
  EXPECT_EQ(l.Glyph, (vcl::TRect{25, 2, 35, 12}));
  EXPECT_EQ(l.Caption, (vcl::TRect{20, 16, 40, 24}));
  l = LayoutButtonContent(60, 40, {10, 10}, {20, 8}, vcl::blGlyphBottom, 2, 4, true);
  EXPECT_EQ(l.Glyph, (vcl::TRect{26, 29, 36, 39}));
  EXPECT_EQ(l.Caption, (vcl::TRect{21, 17, 41, 25}));
  // Without a glyph nothing is spaced: a caption alone at the margin.
  l = LayoutButtonContent(60, 30, {0, 0}, {20, 8}, vcl::blGlyphLeft, 5, 4, false);
  EXPECT_EQ(l.Caption, (vcl::TRect{5, 11, 25, 19}));
}

TEST_F(SpeedButtonHandler, APressedGlyphStaysWhenTheManagerSaysNotToShift) {
  SetGlyph();
  button->SetGroupIndex(1);
  button->SetDown(true);
  manager->ButtonsOptions()->SetShiftContentOnClick(true);
  EXPECT_EQ(Painted(14, 20), 0x00FF00u);  // moved by (1, 1)
  manager->ButtonsOptions()->SetShiftContentOnClick(false);
  EXPECT_EQ(Painted(14, 20), kSpeedHot);
  EXPECT_EQ(Painted(4, 10), 0x00FF00u);
}

TEST_F(SpeedButtonHandler, RemovingTheSkinGivesTheButtonItsOwnPaintingBack) {
  EXPECT_EQ(Painted(30, 15), kSpeed);
  button->Perform(kSkinCmdMessage, SkinCommandWParam(scmRemoveSkin), reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_TRUE(handler->Detached);
  EXPECT_NE(Painted(30, 15), kSpeed);
  // Later commands reach the button's own procedure: nothing answers for the skin.
  EXPECT_EQ(button->Perform(kSkinCmdMessage, SkinCommandWParam(scmIsSkinned), 0), 0);
}

TEST_F(SpeedButtonHandler, TheButtonsEndIsHeardThroughFreeNotification) {
  vcl::TObject::Free(button);
  button = nullptr;
  EXPECT_EQ(handler->Control, nullptr);
  EXPECT_TRUE(handler->Detached);
  data.reset();  // its owner went too
  handler.reset();
}

// A speed button on a panel of a skinned form, its handler given by the form's provider. Its
// section has one state over a border image of three frames whose hot one is see-through at
// its corners: hot, the corners show the panel behind the button.
constexpr COLORREF kEdgeNormal = 0x2020C0, kEdgeHot = 0x20C020, kEdgePressed = 0xC02020;

std::uint32_t CornerMaster(int X, int Y) {
  const int frame = X / 8, x = X % 8;
  if (frame > 2) return 0;
  const bool corner = (x < 2 || x >= 6) && (Y < 2 || Y >= 6);
  if (frame == 1 && corner) return 0xFF00FF;
  return Rgb(frame == 0 ? kEdgeNormal : frame == 1 ? kEdgeHot : kEdgePressed);
}

class SpeedButtonCorners : public ::testing::Test {
 protected:
  void SetUp() override {
    skins.Write(L"Corners", L"master.bmp", Bmp24(24, 8, CornerMaster));
    manager = LoadedManager(skins, L"Corners",
                            "[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=master.bmp\r\n" +
                                FlatSection("FORM", kPanelLow, kPanelLow) + FlatSection("PANEL", kPanel, kPanel) +
                                "[SPEEDBUTTON]\r\nCOLOR=" + Hex(kSpeed) +
                                "\r\nSTATES=1\r\nBORDERSMASK=^0000,0000,0024,0008,0002,0002,0002,0002,3,0,5,0\r\n");
    // The form's window is made after the skin came and its provider: it takes the skin then.
    form.reset(new vcl::TForm(vcl::Application, 0));
    provider = vcl::Construct<TsSkinProvider>(form.get());
    form->SetBounds(-3000, -2000, 300, 200);
    auto* panel = Put<vcl::TPanel>(form.get(), 10, 10, 200, 100);
    button = Put<vcl::TSpeedButton>(panel, 20, 20, 60, 30);
    form->Show();
    wintest::PumpUntilIdle();
  }
  COLORREF Corner() {
    MemoryPixels pixels(60, 30);
    button->Perform(WM_PAINT, reinterpret_cast<WPARAM>(pixels.DC()), 0);
    return pixels.At(0, 0);
  }

  struct FormFree {
    void operator()(vcl::TForm* f) const { vcl::TObject::Free(f); }
  };
  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, FormFree> form;
  TsSkinProvider* provider = nullptr;
  vcl::TSpeedButton* button = nullptr;
};

TEST_F(SpeedButtonCorners, TheButtonsStateChoosesWhichCornersShowWhatLiesBehindIt) {
  ASSERT_EQ(button->Perform(kSkinCmdMessage, SkinCommandWParam(scmIsSkinned), 0), 1);
  EXPECT_EQ(Corner(), kEdgeNormal);
  button->Perform(vcl::CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(Corner(), kPanel);
  button->Perform(vcl::CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Corner(), kEdgeNormal);
}

}  // namespace
}  // namespace skin_layered::test
