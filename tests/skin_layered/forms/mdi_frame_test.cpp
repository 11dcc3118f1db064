// An MDI frame with a menu under the layered engine: a maximised document's buttons on the
// frame's menu line, its icon at the line's left, the merged caption.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "classlib/forms/Menus.h"
#include "skin_layered/core/CaptionHitCodes.h"
#include "sample_skins.h"
#include "skinned_form_fixture.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

class TMenuMdiFrame : public vcl::TForm {
  VCL_CLASS(TMenuMdiFrame, vcl::TForm)
 public:
  explicit TMenuMdiFrame(vcl::TComponent* AOwner) : TForm(AOwner, 0) {
    SetFormStyle(vcl::fsMDIForm);
    SetCaption(L"Frame");
    menu = new vcl::TMainMenu(this);
    window = new vcl::TMenuItem(menu);
    window->SetCaption(L"&Window");
    menu->Items()->Add(window);
    auto* tile = new vcl::TMenuItem(window);
    tile->SetCaption(L"&Tile");
    window->Add(tile);
    SetMenu(menu);
    SetWindowMenu(window);
  }
  vcl::TMainMenu* menu;
  vcl::TMenuItem* window;
};

class TMenuMdiChild : public vcl::TForm {
  VCL_CLASS(TMenuMdiChild, vcl::TForm)
 public:
  explicit TMenuMdiChild(vcl::TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(vcl::fsMDIChild); }
};

}  // namespace

VCL_CLASS_INFO(TMenuMdiFrame) {}
VCL_CLASS_INFO(TMenuMdiChild) {}

namespace {

class MdiFrameTest : public SkinnedFormTest {
 protected:
  void SetUp() override {
    SkinnedFormTest::SetUp();
    manager->SetSkinningRules({srStdDialogs});  // providers only where the test puts them
    manager->SetSkinName(L"Frame");
    frame = vcl::Application->CreateForm<TMenuMdiFrame>();
    frame->SetBounds(kFormLeft - 300, kFormTop - 200, 600, 450);
    frameProvider.reset(vcl::Construct<TsSkinProvider>(frame));
    frame->Show();
    ASSERT_TRUE(frame->ClientHandle());
    for (const wchar_t* caption : {L"First", L"Second"}) {
      auto* child = new TMenuMdiChild(frame);
      child->SetCaption(caption);
      child->SetBounds(10, 10, 200, 150);
      child->Show();
      children.push_back(child);
      childProviders.emplace_back(vcl::Construct<TsSkinProvider>(child));
    }
  }
  void TearDown() override {
    childProviders.clear();
    for (vcl::TForm* child : children) vcl::TObject::Free(child);
    frameProvider.reset();
    vcl::TObject::Free(frame);
    SkinnedFormTest::TearDown();
  }
  HWND Frame() const { return frame->Handle(); }
  vcl::TBitmap* FrameImage() {
    frameProvider->SkinData->BGChanged = true;
    frameProvider->PaintAll();
    return frameProvider->SkinData->CacheBmp();
  }

  TMenuMdiFrame* frame = nullptr;
  ProviderPtr frameProvider;
  std::vector<vcl::TForm*> children;
  std::vector<ProviderPtr> childProviders;
};

// The rightmost column of the caption band holding the caption font's white.
int CaptionTextEnd(vcl::TBitmap* image, int top, int bottom) {
  int end = -1;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < image->Width(); ++x)
      if ((PixelOf(image, x, y) & 0xFFFFFF) == 0xFFFFFF) end = std::max(end, x);
  return end;
}

// The frame's whole picture (the skin change and the animations take it) shows each document
// with its skinned frame and title bar, as the screen does, not its client area alone.
TEST_F(MdiFrameTest, TheFramesPictureShowsTheDocumentsWithTheirTitleBars) {
  std::unique_ptr<vcl::TBitmap> picture = frameProvider->FormSnapshot(false);
  ASSERT_TRUE(picture);
  const vcl::TRect f = WindowBox(Frame());
  // The documents lie on one another: the one in front shows.
  TsSkinProvider* own = childProviders.back().get();
  own->SkinData->BGChanged = true;
  own->PaintAll();
  vcl::TBitmap* image = own->SkinData->CacheBmp();
  const vcl::TRect c = WindowBox(children.back()->Handle());
  for (const vcl::TPoint p : {vcl::TPoint(20, own->CaptionButtons().TitleCentre + 4), vcl::TPoint(1, c.Height() / 2)})
    EXPECT_EQ(PixelOf(picture.get(), c.Left - f.Left + p.X, c.Top - f.Top + p.Y) & 0xFFFFFF, PixelOf(image, p.X, p.Y) & 0xFFFFFF)
        << p.X << "," << p.Y;  // the title bar, the left frame
}

// A document activated, moved or sized by the system (it hears WM_CHILDACTIVATE then) while it
// is maximised has the frame paint its menu line (the document's icon and buttons) again; a
// document that is not maximised leaves the frame alone.
TEST_F(MdiFrameTest, AMaximisedDocumentsActivationPaintsTheFramesMenuLineAgain) {
  vcl::TForm* active = children.back();
  // A count of the frame's menu lines the repaint counts again.
  frameProvider->MenuLineCount = 5;
  SendMessageW(active->Handle(), WM_CHILDACTIVATE, 0, 0);
  EXPECT_EQ(frameProvider->MenuLineCount, 5);
  active->SetWindowState(vcl::wsMaximized);
  ASSERT_TRUE(IsZoomed(active->Handle()));
  FrameImage();
  frameProvider->MenuLineCount = 5;
  SendMessageW(active->Handle(), WM_CHILDACTIVATE, 0, 0);
  EXPECT_EQ(frameProvider->MenuLineCount, 1);
  EXPECT_FALSE(frameProvider->SkinData->BGChanged);
  active->SetWindowState(vcl::wsNormal);
}

// Maximised by its own title button, a document gives the frame's menu line its buttons at
// the right end, its icon in the slot the system keeps at the left and the frame's items after
// it, and the frame's caption the merged title; the buttons answer the mouse.
TEST_F(MdiFrameTest, AMaximisedDocumentsButtonsStandOnTheFramesMenuLineAndWork) {
  vcl::TForm* active = children.back();
  ASSERT_EQ(frame->ActiveMDIChild(), active);
  TsSkinProvider* own = childProviders.back().get();
  vcl::TBitmap* image = FrameImage();
  const int titleEnd = CaptionTextEnd(image, 4, 30);
  ASSERT_GT(titleEnd, 0);

  // The document's maximise button, pressed and let go.
  own->SkinData->BGChanged = true;
  own->PaintAll();
  const vcl::TPoint origin = own->WindowImage().FormOrigin();
  const vcl::TRect max = own->CaptionButtons().BtnMaximize.Rect;
  const LPARAM at = MAKELPARAM(origin.X + (max.Left + max.Right) / 2, origin.Y + (max.Top + max.Bottom) / 2);
  ASSERT_EQ(SendMessageW(active->Handle(), WM_NCHITTEST, 0, at), HTMAXBUTTON);
  SendMessageW(active->Handle(), WM_NCLBUTTONDOWN, HTMAXBUTTON, at);
  SendMessageW(active->Handle(), WM_NCLBUTTONUP, HTMAXBUTTON, at);
  wintest::PumpUntilIdle();
  ASSERT_TRUE(IsZoomed(active->Handle()));

  // The frame's picture as the screen shows it, not painted again by the test.
  image = frameProvider->SkinData->CacheBmp();
  const TsCaptionButton* buttons[] = {&frameProvider->CaptionButtons().MDIMin, &frameProvider->CaptionButtons().MDIMax,
                                      &frameProvider->CaptionButtons().MDIClose};
  const char* glyphs[] = {"SICONMIN", "SICONNORM", "SICONCLOSE"};
  const int line = frameProvider->CaptionButtons().TitleBottom;
  for (int i = 0; i < 3; ++i) {
    const vcl::TRect r = buttons[i]->Rect;
    ASSERT_FALSE(r.IsEmpty()) << glyphs[i];
    EXPECT_GE(r.Top, line);
    EXPECT_LE(r.Bottom, line + frameProvider->Measures().MenuHeight() + 1);
    EXPECT_NE(PixelOf(image, r.Left + 2, r.Top + 2) & 0xFFFFFF, kMenuLineRgb) << glyphs[i];
  }
  // Each its own glyph, in the active look (a window of a test running beside this one may have
  // taken the activation meanwhile: the glyphs then show dimmed).
  frameProvider->FormActive = true;
  image = FrameImage();
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(PixelOf(image, buttons[i]->Rect.Left + 2, buttons[i]->Rect.Top + 2) & 0xFFFFFF,
              GlyphColor(glyphs[i], 0))
        << glyphs[i];
  // The merged title is written out: its text reaches further right.
  EXPECT_GT(CaptionTextEnd(image, 4, 30), titleEnd + 20);
  // The system keeps the document's system menu first on the bar: the icon stands in that
  // slot, the frame's Window item, written, after it.
  const HMENU bar = GetMenu(Frame());
  ASSERT_EQ(GetMenuItemCount(bar), 5);
  const vcl::TPoint frameOrigin = frameProvider->WindowImage().FormOrigin();
  auto placeOf = [&](int position) {
    RECT r{};
    GetMenuItemRect(Frame(), bar, position, &r);
    return vcl::Rect(r.left - frameOrigin.X, r.top - frameOrigin.Y, r.right - frameOrigin.X, r.bottom - frameOrigin.Y);
  };
  auto pixelsOtherThan = [&](const vcl::TRect& r, std::uint32_t rgb) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += (PixelOf(image, x, y) & 0xFFFFFF) != rgb ? 1 : 0;
    return n;
  };
  EXPECT_GT(pixelsOtherThan(placeOf(0), kMenuLineRgb), 20);  // the icon
  const vcl::TRect window = placeOf(1);
  EXPECT_GE(window.Left, placeOf(0).Right);
  int letters = 0;
  for (int y = window.Top; y < window.Bottom; ++y)
    for (int x = window.Left; x < window.Right; ++x) letters += (PixelOf(image, x, y) & 0xFFFFFF) < 0x404040 ? 1 : 0;
  EXPECT_GT(letters, 10);

  // The Window menu opening lists each document once (the provider's items, not the system's
  // list beside them), and the bar keeps the document's items.
  const HMENU popup = frame->window->Handle();
  SendMessageW(Frame(), WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
  SendMessageW(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 1);
  EXPECT_EQ(GetMenuItemCount(bar), 5);
  std::vector<std::wstring> texts;
  for (int i = 0; i < GetMenuItemCount(popup); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(popup, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    texts.emplace_back(text);
    for (vcl::TForm* child : children) EXPECT_NE(GetMenuItemID(popup, i), static_cast<UINT>(GetDlgCtrlID(child->Handle())));
  }
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"&Tile", L"", L"Second", L"First"}));

  // The buttons answer the mouse with their codes; restore gives the document back its frame.
  auto screen = [&](const vcl::TRect& r) {
    return MAKELPARAM(frameOrigin.X + (r.Left + r.Right) / 2, frameOrigin.Y + (r.Top + r.Bottom) / 2);
  };
  EXPECT_EQ(SendMessageW(Frame(), WM_NCHITTEST, 0, screen(frameProvider->CaptionButtons().MDIMin.Rect)), kHitMdiMin);
  EXPECT_EQ(SendMessageW(Frame(), WM_NCHITTEST, 0, screen(frameProvider->CaptionButtons().MDIClose.Rect)),
            kHitMdiClose);
  const LPARAM restore = screen(frameProvider->CaptionButtons().MDIMax.Rect);
  ASSERT_EQ(SendMessageW(Frame(), WM_NCHITTEST, 0, restore), kHitMdiRestore);
  SendMessageW(Frame(), WM_NCLBUTTONDOWN, kHitMdiRestore, restore);
  SendMessageW(Frame(), WM_NCLBUTTONUP, kHitMdiRestore, restore);
  wintest::PumpUntilIdle();
  EXPECT_FALSE(IsZoomed(active->Handle()));
  image = frameProvider->SkinData->CacheBmp();
  const vcl::TRect closed = frameProvider->CaptionButtons().MDIClose.Rect;
  EXPECT_EQ(PixelOf(image, closed.Left + 2, closed.Top + 2) & 0xFFFFFF, kMenuLineRgb);
  EXPECT_LT(CaptionTextEnd(image, 4, 30), titleEnd + 5);
}

// Under the sample skin a document's title buttons stand on the skin's band: between the band's
// rounded edge and the buttons it is drawn whole, not its edges alone over the title.
TEST_F(MdiFrameTest, UnderTheSampleSkinADocumentsTitleBandIsDrawnWholeUpToItsButtons) {
  manager->SetSkinDirectory(SampleSkins());
  manager->SetSkinName(L"Lagoon");
  vcl::TForm* document = children.back();
  document->SetCaption(L"Doc");
  document->SetBounds(10, 10, 400, 200);
  TsSkinProvider* own = childProviders.back().get();
  ASSERT_TRUE(own->FormSkinned());
  own->FormActive = true;  // the active look, whatever test beside this one holds the activation
  own->SkinData->BGChanged = true;
  own->PaintAll();
  vcl::TBitmap* image = own->SkinData->CacheBmp();
  const TsLoadedSkin& skin = manager->Skin();
  const int bar = skin.GetMaskIndex(own->SkinData->SkinIndex, L"FORM", L"TITLEBAR");
  ASSERT_TRUE(skin.IsValidImgIndex(bar));
  const TsMaskData& band = skin.Images[static_cast<std::size_t>(bar)];
  const int right = own->WindowImage().ImageWidth() - own->WindowImage().ShadowSize().Right;
  const int left = right - own->WindowImage().TitleBarWidth(bar);
  const int top = own->WindowImage().ShadowSize().Top, bottom = own->CaptionButtons().TitleBottom;
  const int y = (top + skin.MaskWidthTop(bar) + bottom - skin.MaskWidthBottom(bar)) / 2;
  const int buttons = own->CaptionButtons().BtnMinimize.Rect.Left;
  ASSERT_GT(buttons, left + skin.MaskWidthLeft(bar) + 10);
  ASSERT_GE(band.ImageCount, 2);
  // The band's centre is smoothed when stretched: a unit off in a channel is the same colour.
  auto alike = [](std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16})
      if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2) return false;
    return true;
  };
  const std::uint32_t title = PixelOf(image, left - 2, y) & 0xFFFFFF;
  const std::uint32_t edge = PixelOf(image, left + skin.MaskWidthLeft(bar) - 2, y) & 0xFFFFFF;
  EXPECT_FALSE(alike(edge, title));
  int whole = 0, total = 0;
  for (int x = left + skin.MaskWidthLeft(bar); x < buttons - 1; ++x, ++total)
    whole += alike(PixelOf(image, x, y) & 0xFFFFFF, edge) ? 1 : 0;
  EXPECT_EQ(whole, total);
}

}  // namespace
}  // namespace skin_layered::test
