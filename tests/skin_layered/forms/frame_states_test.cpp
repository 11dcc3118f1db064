// A skinned form in each of its states: the frame's active and inactive pictures (the sample
// skin's too), a minimised form's caption, what a resize repaints and tells the controls, the
// steps of a new skin and of a refresh, and the redraw switch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "classlib/forms/Menus.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "sample_skins.h"
#include "skinned_form_fixture.h"
#include "skin_layered/forms/MenuSupport.h"
#include "skin_layered/forms/SkinableMenus.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/forms/TitleItemAnimation.h"
#include "skin_layered/manager/CommonData.h"
#include "support/gdi_counts.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

std::uint32_t Rgb(std::uint32_t pixel) { return pixel & 0xFFFFFF; }

// The form's frame picture: two tiles of 12 x 12 (inactive, then active) below the glyphs of
// the master bitmap, margins 4, every pixel of a tile of its own colour (red tells the state,
// green the column, blue the row); the centre is the key colour, so the body shows there.
constexpr int kTile = 12, kMargin = 4, kTileTop = kMasterHeight;
constexpr std::uint32_t kFormRgbActive = 0xB0A0C0;  // the section's hot colour

std::uint32_t TilePixel(int state, int x, int y) {
  if (x >= kMargin && x < kTile - kMargin && y >= kMargin && y < kTile - kMargin) return 0xFF00FF;
  return (0x40u + static_cast<std::uint32_t>(state) * 0x40u) << 16 | (0x10u + static_cast<std::uint32_t>(x) * 0x10u) << 8 |
         (0x10u + static_cast<std::uint32_t>(y) * 0x10u);
}

std::uint32_t StatesMasterPixel(int x, int y) {
  if (y >= kTileTop && x < 2 * kTile) return TilePixel(x / kTile, x % kTile, y - kTileTop);
  return MasterPixel(x, y);
}

// The frame skin with the form's section in two looks (its colour and its frame picture).
std::string StatesSkinText(const std::string& form = {}) {
  std::string text = FrameSkinText();
  const std::string plain = "[FORM]\r\nSTATES=2\r\nCOLOR=$A0B0C0\r\nHOTCOLOR=$A0B0C0\r\nFONTCOLOR=$101010\r\n";
  const std::size_t at = text.find(plain);
  EXPECT_NE(at, std::string::npos);
  text.replace(at, plain.size(),
               "[FORM]\r\nSTATES=2\r\nCOLOR=$A0B0C0\r\nHOTCOLOR=$C0A0B0\r\nFONTCOLOR=$101010\r\n"
               "BORDERSMASK=^0000,0060,0024,0072,0004,0004,0004,0004,2,0,0,0\r\n" + form);
  return text + "[TB_BTN]\r\nSTATES=3\r\nCOLOR=$10C010\r\nHOTCOLOR=$10C010\r\nFONTCOLOR=$000000\r\n"
                "[MAINMENU]\r\nCOLOR=$E0E0E0\r\n";
}

class FrameStatesTest : public SkinnedFormTest {
 protected:
  void SetUp() override {
    SkinnedFormTest::SetUp();
    WriteSkin(L"Frame", StatesSkinText());
    skins.Write(L"Frame", L"master.bmp", Bmp24(kMasterWidth, kMasterHeight + kTile, StatesMasterPixel));
  }
  std::uint32_t At(int x, int y) { return Rgb(PixelOf(provider->SkinData->CacheBmp(), x, y)); }
  void Activate(bool active) {
    provider->FormActive = active;
    Repaint();
  }
};

// The frame

TEST_F(FrameStatesTest, TheFrameWearsThePictureAndColourOfTheCaptionsState) {
  Skin();
  form->Show();
  for (const bool active : {true, false, true}) {
    Activate(active);
    vcl::TBitmap* image = provider->SkinData->CacheBmp();
    const int w = image->Width(), h = image->Height();
    const int state = active ? 1 : 0;
    // The bottom corners whole, pixel by pixel; the sides from their own rows and columns.
    for (int y = 0; y < kMargin; ++y)
      for (int x = 0; x < kMargin; ++x) {
        EXPECT_EQ(At(x, h - kMargin + y), TilePixel(state, x, kTile - kMargin + y)) << x << "," << y << " " << active;
        EXPECT_EQ(At(w - kMargin + x, h - kMargin + y), TilePixel(state, kTile - kMargin + x, kTile - kMargin + y))
            << x << "," << y << " " << active;
      }
    for (int x = 0; x < kMargin; ++x) {
      EXPECT_EQ(At(x, h / 2) >> 16, TilePixel(state, x, kMargin) >> 16) << active;
      EXPECT_EQ((At(x, h / 2) >> 8) & 0xFF, (TilePixel(state, x, kMargin) >> 8) & 0xFF) << active;
    }
    // The body in the section's colour of the state.
    const TqvWindowImage& shown = provider->WindowImage();
    EXPECT_EQ(At(shown.OffsetX() + 30, shown.OffsetY() + 30), active ? kFormRgbActive : kFormRgb);
  }
}

// The frame picture with its outer corner pixels in the key colour.
void WriteCutCorners(TempSkins& skins) {
  skins.Write(L"Frame", L"master.bmp", Bmp24(kMasterWidth, kMasterHeight + kTile, [](int x, int y) {
    const int row = y - kTileTop;
    const bool corner = row >= 0 && x < kTile && (row == 0 || row == kTile - 1) && (x == 0 || x == kTile - 1);
    return corner ? 0xFF00FFu : StatesMasterPixel(x, y);
  }));
}

// The frame picture's outer corner pixels in the key colour: the form's window region leaves
// them out (the desktop shows there), at all four corners, and keeps their neighbours.
TEST_F(FrameStatesTest, TheFramePicturesKeyColouredCornersAreCutFromTheWindowRegion) {
  WriteCutCorners(skins);
  Skin();
  form->Show();
  Repaint();
  const vcl::TRect box = WindowBox(Wnd());
  const int w = box.Width(), h = box.Height();
  const std::pair<int, int> cut[] = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
  for (const auto& [x, y] : cut) EXPECT_FALSE(InWindowRegion(Wnd(), x, y)) << x << "," << y;
  const std::pair<int, int> kept[] = {{1, 0}, {0, 1}, {w - 2, 0}, {w - 1, h - 2}, {1, h - 1}, {w / 2, h / 2}};
  for (const auto& [x, y] : kept) EXPECT_TRUE(InWindowRegion(Wnd(), x, y)) << x << "," << y;
}

// With cut corners the region is set again only when it changes (or a repaint is asked for):
// the same region set again would have the frame worked out anew, the menu bar measured again.
// A resize step sets the new region once, its corners where the new size puts them.
TEST_F(FrameStatesTest, WithCutCornersTheSameRegionIsNotSetAgainAndAResizeStepSetsTheNewOneOnce) {
  WriteCutCorners(skins);
  Skin();
  form->Show();
  Repaint();
  ASSERT_FALSE(provider->Region().RgnRects.empty());
  const FrameCalcCounter calcs;
  provider->Region().UpdateFormRgn(false);
  EXPECT_EQ(calcs.Count(), 0);
  SetWindowPos(Wnd(), nullptr, 0, 0, 430, 330, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Repaint();
  EXPECT_EQ(calcs.Count(), 2);  // the size's own and the new region's
  EXPECT_EQ(RegionBox(Wnd()), vcl::Rect(0, 0, 430, 330));
  EXPECT_FALSE(InWindowRegion(Wnd(), 429, 329));
  EXPECT_TRUE(InWindowRegion(Wnd(), 428, 329));
}

// Every size step makes the window region anew, the cut corners as holes in it: none of the
// regions (nor anything else of the frame's painting) is left behind. The steps are taken
// twice, so what the first took to keep for those sizes is there before counting.
TEST_F(FrameStatesTest, ResizingAFormWithCutCornersLeavesNoRegionOrOtherObjectBehind) {
  WriteCutCorners(skins);
  Skin();
  form->Show();
  Repaint();
  const auto resize = [&] {
    for (int step = 1; step <= 12; ++step) {
      form->SetBounds(kFormLeft, kFormTop, 400 + step * 9, 300 + step * 5);
      Repaint();
    }
    form->SetBounds(kFormLeft, kFormTop, 400, 300);
    Repaint();
  };
  resize();
  const wintest::GdiCounts before = wintest::CountGdi();
  resize();
  const wintest::GdiCounts after = wintest::CountGdi();
  EXPECT_TRUE(wintest::NoGdiGrowth(before, after));
  // The regions were made (four holes a step at least): the count sees them.
  EXPECT_GE(after.Made(wintest::GdiKind::Region) - before.Made(wintest::GdiKind::Region), 13 * 4);
  const vcl::TRect box = WindowBox(Wnd());
  EXPECT_FALSE(InWindowRegion(Wnd(), box.Width() - 1, box.Height() - 1));
  EXPECT_TRUE(InWindowRegion(Wnd(), box.Width() - 2, box.Height() - 1));
}

// The sample skin's frame picture has an inactive and an active look.
TEST_F(FrameStatesTest, TheSampleSkinsFrameChangesWithTheCaptionsState) {
  manager->SetSkinDirectory(SampleSkins());
  form->HandleNeeded();
  provider = NewProvider(form.get());
  manager->SetSkinName(L"Lagoon");
  ASSERT_TRUE(provider->FormSkinned());
  form->Show();
  Activate(true);
  vcl::TBitmap* image = provider->SkinData->CacheBmp();
  const int w = image->Width(), h = image->Height();
  // The frame's outer line (inside it a light band the same in both looks).
  const std::uint32_t activeSide = At(0, h / 2), activeBottom = At(w / 2, h - 1);
  Activate(false);
  EXPECT_NE(At(0, h / 2), activeSide);
  EXPECT_NE(At(w / 2, h - 1), activeBottom);
}

// The sample skin's title glyphs are white, drawn for its blue title band. Without its title
// section they stand on the form's light face: each button there stays readable, its sign
// standing off its face, with the caption active and inactive (another window activated).
// With the section the skin's white glyphs show on the active band.
TEST_F(FrameStatesTest, TheSampleSkinsTitleButtonsStayReadableWithoutItsTitleSection) {
  ASSERT_NO_FATAL_FAILURE(CopySampleSkin(skins, L"Lagoon", L"Whole"));
  ASSERT_NO_FATAL_FAILURE(CopySampleSkin(skins, L"Lagoon", L"Untitled", "FORMTITLE"));

  form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
  form->HandleNeeded();
  provider = NewProvider(form.get());
  auto other = NewForm();
  other->SetBounds(20, 20, 200, 100);
  form->Show();
  const TqvCaptionButtons& buttons = provider->CaptionButtons();
  for (const wchar_t* name : {L"Whole", L"Untitled"}) {
    const bool whole = std::wstring(name) == L"Whole";
    SCOPED_TRACE(whole ? "whole" : "untitled");
    manager->SetSkinName(name);
    ASSERT_TRUE(provider->FormSkinned());
    for (const bool active : {true, false}) {
      SCOPED_TRACE(active ? "active" : "inactive");
      ActivateFormOrOther(Wnd(), *other, active);
      ASSERT_EQ(provider->FormActive, active);
      for (const TsCaptionButton* b : {&buttons.BtnClose, &buttons.BtnMaximize, &buttons.BtnMinimize}) {
        SCOPED_TRACE(b->HitCode);
        ASSERT_FALSE(b->Rect.IsEmpty());
        // The skin's own look, as its author made it, wherever it has the title section.
        EXPECT_EQ(b->ImageIndex >= 0, whole);
        if (!whole || active) {
          EXPECT_GE(ContrastingPixels(provider->SkinData->CacheBmp(), b->Rect), 10);
        }
      }
    }
    other->Hide();
  }
}

// A minimised form shows its icon, caption text and buttons; the title bar's items need the
// whole caption and are left out. So for the program's main form too (without a task bar, or
// with the form on it, its minimised window shows as any other's).
TEST_F(FrameStatesTest, AMinimisedFormShowsItsCaptionAndButtonsNotTheTitleBar) {
  ASSERT_EQ(vcl::Application->MainForm(), nullptr);
  vcl::TForm* main = vcl::Application->CreateForm<vcl::TForm>();
  ASSERT_EQ(vcl::Application->MainForm(), main);
  main->SetBounds(kFormLeft, kFormTop, 500, 300);
  main->SetCaption(L"Minimised");
  ProviderPtr mainProvider = NewProvider(main);
  auto* bar = vcl::Construct<TsTitleBar>(main);
  TqvTitleBarItem* item = bar->Items()->Add();
  item->SetCaption(L"Copy");
  item->SetAlign(tbaRight);
  manager->SetSkinName(L"Frame");
  main->Show();
  ShowWindow(main->Handle(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(main->Handle()));
  ASSERT_TRUE(mainProvider->FormSkinned());
  // Painted as active (a window of a test running beside this one may have taken the
  // activation: the buttons then show half-blended over the inactive caption).
  mainProvider->FormActive = true;
  mainProvider->SkinData->BGChanged = true;
  mainProvider->PaintAll();
  EXPECT_FALSE(mainProvider->SkinData->BGChanged);
  EXPECT_EQ(mainProvider->WindowImage().ImageWidth(), WndWidth(main->Handle()));
  vcl::TBitmap* image = mainProvider->SkinData->CacheBmp();
  EXPECT_EQ(image->Width(), WndWidth(main->Handle()));
  auto at = [&](const vcl::TRect& r) { return Rgb(PixelOf(image, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2)); };
  EXPECT_EQ(at(mainProvider->CaptionButtons().BtnClose.Rect), GlyphColor("BICONCLOSE", 0));
  EXPECT_EQ(at(mainProvider->CaptionButtons().BtnMinimize.Rect), GlyphColor("BICONNORM", 0));  // it restores
  EXPECT_LE(mainProvider->CaptionButtons().BtnClose.Rect.Right, image->Width());
  // The caption's text between the icon and the buttons; no item of the bar.
  int text = 0, items = 0;
  const TqvCaptionButtons& title = mainProvider->CaptionButtons();
  for (int x = title.IconRect.Right + 2; x < title.BtnMaximize.Rect.Left - 2; ++x)
    for (int y = title.TitleCentre - 5; y <= title.TitleCentre + 5; ++y) {
      const std::uint32_t p = Rgb(PixelOf(image, x, y));
      if (p == 0xFFFFFF) ++text;
      if (p == 0x10C010) ++items;
    }
  EXPECT_GT(text, 5);
  EXPECT_EQ(items, 0);
  EXPECT_EQ(mainProvider->CaptionItems().TitleBarItemAt(vcl::TPoint(item->ItemRect.Left + 2, item->ItemRect.Top + 2)), 0);
  // Its minimise button, the restore glyph, restores it.
  RECT window{};
  GetWindowRect(main->Handle(), &window);
  const vcl::TRect min = mainProvider->CaptionButtons().BtnMinimize.Rect;
  const LPARAM press = MAKELPARAM(window.left + (min.Left + min.Right) / 2, window.top + (min.Top + min.Bottom) / 2);
  EXPECT_EQ(SendMessageW(main->Handle(), WM_NCHITTEST, 0, press), HTMINBUTTON);
  SendMessageW(main->Handle(), WM_NCLBUTTONDOWN, HTMINBUTTON, press);
  SendMessageW(main->Handle(), WM_NCLBUTTONUP, HTMINBUTTON, press);
  EXPECT_FALSE(IsIconic(main->Handle()));
  main->Hide();
  vcl::TObject::Free(bar);
  mainProvider.reset();
  vcl::TObject::Free(main);
}

// The pixels of the system's caption button of a kind (DFCS_CAPTION...), drawn R's size.
std::vector<std::uint32_t> SystemCaptionButton(UINT Kind, const vcl::TRect& R) {
  const int w = R.Width(), h = R.Height();
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, dib);
  RECT place{0, 0, w, h};
  DrawFrameControl(dc, &place, DFC_CAPTION, Kind);
  GdiFlush();
  std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits), static_cast<const std::uint32_t*>(bits) + w * h);
  for (std::uint32_t& p : pixels) p &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
  return pixels;
}

// A minimised form's minimise button restores it. Without the title section the system's
// button there shows the restore sign (as the skin's restore glyph does with it, and the
// button's hot fade), its maximise button the maximise sign; restored, the minimise sign again.
TEST_F(FrameStatesTest, WithoutTheTitleSectionAMinimisedFormsMinimiseButtonShowsTheRestoreSign) {
  std::string untitled = StatesSkinText();
  const std::size_t title = untitled.find("[FORMTITLE]");
  ASSERT_NE(title, std::string::npos);
  untitled.erase(title, untitled.find("\r\n[", title) + 2 - title);
  WriteSkin(L"Untitled", untitled);
  skins.Write(L"Untitled", L"master.bmp", Bmp24(kMasterWidth, kMasterHeight + kTile, StatesMasterPixel));
  form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
  Skin();
  form->Show();
  const TqvCaptionButtons& buttons = provider->CaptionButtons();
  auto shown = [&](const vcl::TRect& r) {
    std::vector<std::uint32_t> pixels;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) pixels.push_back(At(x, y));
    return pixels;
  };
  for (const wchar_t* name : {L"Untitled", L"Frame"}) {
    const bool untitledSkin = std::wstring(name) == L"Untitled";
    SCOPED_TRACE(untitledSkin ? "without the title section" : "with it");
    manager->SetSkinName(name);
    ASSERT_TRUE(provider->FormSkinned());
    for (const bool minimised : {true, false}) {
      SCOPED_TRACE(minimised ? "minimised" : "restored");
      ShowWindow(Wnd(), minimised ? SW_MINIMIZE : SW_RESTORE);
      ASSERT_EQ(IsIconic(Wnd()) != FALSE, minimised);
      provider->FormActive = true;
      Repaint();
      const vcl::TRect min = buttons.BtnMinimize.Rect, max = buttons.BtnMaximize.Rect;
      ASSERT_FALSE(min.IsEmpty());
      ASSERT_FALSE(max.IsEmpty());
      if (untitledSkin) {
        const auto restoreSign = SystemCaptionButton(DFCS_CAPTIONRESTORE, min);
        const auto minimiseSign = SystemCaptionButton(DFCS_CAPTIONMIN, min);
        ASSERT_NE(restoreSign, minimiseSign);
        EXPECT_EQ(shown(min), minimised ? restoreSign : minimiseSign);
        EXPECT_EQ(shown(max), SystemCaptionButton(DFCS_CAPTIONMAX, max));
      } else {
        EXPECT_EQ(At(Centre(min).X, Centre(min).Y), GlyphColor(minimised ? "BICONNORM" : "BICONMIN", 0));
        EXPECT_EQ(At(Centre(max).X, Centre(max).Y), GlyphColor("BICONMAX", 0));
      }
    }
  }
}

// Resizing

// A windowed control that records the skin commands it gets (and answers as skinned, so that
// the form's broadcasts reach it).
class TCommandRecorder : public vcl::TWinControl {
  VCL_CLASS(TCommandRecorder, vcl::TWinControl)
 public:
  explicit TCommandRecorder(vcl::TComponent* AOwner) : TWinControl(AOwner) {}
  std::vector<std::pair<int, int>> Commands;  // (sub-command, low word)

 protected:
  void WndProc(vcl::TMessage& Message) override {
    if (Message.Msg == kSkinCmdMessage) {
      Commands.emplace_back(SkinCommandOf(Message.WParam), Message.WParamLo());
      if (SkinCommandOf(Message.WParam) == scmIsSkinned) Message.Result = 1;
      return;
    }
    TWinControl::WndProc(Message);
  }
};
VCL_CLASS_INFO(TCommandRecorder) {}

TEST_F(FrameStatesTest, AResizeRepaintsTheRightHandPiecesAndTellsTheControlsOfAShadedBody) {
  WriteSkin(L"Shaded", StatesSkinText("GRADIENTPERCENT=50\r\nHOTGRADIENTPERCENT=50\r\n"));
  skins.Write(L"Shaded", L"master.bmp", Bmp24(kMasterWidth, kMasterHeight + kTile, StatesMasterPixel));
  auto* child = new TCommandRecorder(form.get());
  child->SetParent(form.get());
  child->SetBounds(10, 10, 50, 30);
  provider = NewProvider(form.get());
  provider->SetGripMode(gmRightBottom);
  form->HandleNeeded();
  manager->SetSkinName(L"Shaded");
  ASSERT_TRUE(provider->FormSkinned());
  ASSERT_FALSE(provider->SkinData->CtrlSkinState & kStatePlainBg);
  form->Show();
  UpdateWindow(Wnd());
  Repaint();
  child->Commands.clear();

  // Smaller: the system leaves the client as it is; the grip's new place must be painted.
  form->SetBounds(kFormLeft, kFormTop, 360, 260);
  const int grip = manager->Skin().ConstData.GripImage;
  ASSERT_TRUE(manager->IsValidImgIndex(grip));
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(Wnd(), &update, FALSE));
  const TqvWindowImage& shown = provider->WindowImage();
  const vcl::TPoint at = shown.GripPos(grip);
  EXPECT_TRUE(PtInRect(&update, POINT{at.X - shown.OffsetX() + 2, at.Y - shown.OffsetY() + 2}));
  // The controls take the form's shaded background again, drawing at once.
  EXPECT_NE(std::find(child->Commands.begin(), child->Commands.end(), std::pair<int, int>{scmBgChangedDeep, 1}),
            child->Commands.end());
  // The same size again tells nobody.
  child->Commands.clear();
  SendMessageW(Wnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(ClientWidthOf(Wnd()), ClientHeightOf(Wnd())));
  EXPECT_EQ(std::count(child->Commands.begin(), child->Commands.end(), std::pair<int, int>{scmBgChangedDeep, 1}), 0);
  form->Hide();
}

// A new skin and a refresh

TEST_F(FrameStatesTest, ANewSkinAndARefreshTakeTheMenusAndTheTitleBarAlong) {
  Skin();
  form->Show();
  TsSkinableMenus* menus = SkinableMenusOf(manager.get());
  ASSERT_NE(menus, nullptr);
  // A popup built with the skin before is built again with the new one.
  auto* popup = new vcl::TPopupMenu(form.get());
  auto* item = new vcl::TMenuItem(popup);
  item->SetCaption(L"Cut");
  popup->Items()->Add(item);
  vcl::TBitmap canvas;
  canvas.SetPixelFormat(vcl::pf32bit);
  canvas.SetSize(1, 1);
  ClearMenuCache();
  ASSERT_TRUE(GetMenuInfo(*menus, item, nullptr, canvas.Canvas()).Bmp);
  ASSERT_EQ(MenuCacheCount(), 1);
  // A skin announced to the form (as every manager announces it, the default one or not).
  SendMessageW(Wnd(), kSkinCmdMessage, SkinCommandWParam(scmNewSkin), reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_EQ(MenuCacheCount(), 0);

  // A refresh draws the menus the form got meanwhile skinned too.
  auto* later = new vcl::TPopupMenu(form.get());
  auto* laterItem = new vcl::TMenuItem(later);
  laterItem->SetCaption(L"Paste");
  later->Items()->Add(laterItem);
  EXPECT_FALSE(menus->HasPopupHandlers(laterItem));
  SendMessageW(Wnd(), kSkinCmdMessage, SkinCommandWParam(scmRefresh), reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_TRUE(menus->HasPopupHandlers(laterItem));
  EXPECT_TRUE(later->OwnerDraw());
  ClearMenuCache();
}

// The redraw switch

TEST_F(FrameStatesTest, TheRedrawLocksAreCounted) {
  Skin();
  for (const WPARAM off : {0, 0, 5}) SendMessageW(Wnd(), WM_SETREDRAW, off, 0);
  EXPECT_EQ(provider->RedrawLockCount(), 3);
  SendMessageW(Wnd(), WM_SETREDRAW, 1, 0);
  EXPECT_EQ(provider->RedrawLockCount(), 2);
  for (int i = 0; i < 4; ++i) SendMessageW(Wnd(), WM_SETREDRAW, 1, 0);
  EXPECT_EQ(provider->RedrawLockCount(), 0);  // never below 0
}

}  // namespace
}  // namespace skin_layered::test
