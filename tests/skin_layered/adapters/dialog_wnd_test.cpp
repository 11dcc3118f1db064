// Skinned system dialogs and the dialog hook, under a skin whose title buttons are flat colours
// per state: a dialog made from a template (frame, title buttons, hit codes, system menu, child
// adapters), message boxes and a popup menu through the hook. Modal loops end by timers with
// deadlines; menus are tracked through the library's seam.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dialogs_support.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/adapters/ButtonWnd.h"
#include "skin_layered/adapters/DialogHook.h"
#include "skin_layered/adapters/DialogSysMenu.h"
#include "skin_layered/adapters/DialogWnd.h"
#include "skin_layered/adapters/EditWnd.h"
#include "skin_layered/adapters/MnuWnd.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/FormAnimations.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/TitleButtonGlow.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"
#include "support/other_thread_window.h"
#include "support/win_test_support.h"

#include <commdlg.h>

namespace skin_layered::test {
namespace {

constexpr COLORREF kDialogColor = 0xC0C0C0, kTitleColor = 0x603020, kTitleActive = 0x904020;
// Per glyph three frames (normal, hot, pressed), each 16 x 14.
constexpr COLORREF kGlyphs[4][3] = {{0x0000A0, 0x0000E0, 0x000060},   // close
                                    {0x00A000, 0x00E000, 0x006000},   // maximise
                                    {0xA00000, 0xE00000, 0x600000},   // minimise
                                    {0xA0A000, 0xE0E000, 0x606000}};  // restore
constexpr int kGlyphW = 16, kGlyphH = 14;

std::string Glyph(const char* Name, int Row) {
  char line[96];
  std::snprintf(line, sizeof line, "%s=^0000,%04d,%04d,%04d,0000,0000,0000,0000,3,0,0,0\r\n", Name, Row * kGlyphH,
                3 * kGlyphW, (Row + 1) * kGlyphH);
  return line;
}

// Globals: more lines of the skin's global section.
std::string DialogSkinText(const std::string& Globals = "") {
  return "[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=master.bmp\r\n" + Globals + Glyph("BICONCLOSE", 0) +
         Glyph("BICONMAX", 1) + Glyph("BICONMIN", 2) + Glyph("BICONNORM", 3) + "[DIALOG]\r\nCOLOR=" +
         Hex(kDialogColor) + "\r\nHOTCOLOR=" + Hex(kDialogColor) + "\r\nSTATES=2\r\n[FORMTITLE]\r\nCOLOR=" +
         Hex(kTitleColor) + "\r\nHOTCOLOR=" + Hex(kTitleActive) + "\r\nSTATES=2\r\n" +
         FlatSection("EDIT", kEditColor, kEditColor) + "[MAINMENU]\r\nCOLOR=$FFFFFF\r\n";
}

// A dialog with a caption, the styles given, an edit and a button.
DialogTemplate TwoControls(DWORD Style) {
  DialogTemplate t(Style, L"Test dialog", 200, 100);
  t.Item(0x0081, WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 120, 14, 100);
  t.Item(0x0080, WS_VISIBLE | BS_PUSHBUTTON, 10, 40, 50, 14, IDCANCEL);
  return t;
}

constexpr DWORD kSizable = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    // The tests' dialogs are activated as they show and look it: the program must own the
    // foreground first, also when a test runs alone.
    ASSERT_TRUE(wintest::TakeForeground());
    skins.Write(L"Dlg", L"master.bmp", Bmp24(3 * kGlyphW, 4 * kGlyphH, [](int x, int y) {
                  return Rgb(kGlyphs[y / kGlyphH][x / kGlyphW]);
                }));
    manager = LoadedManager(skins, L"Dlg", DialogSkinText());
    manager->AnimEffects()->DialogShow()->SetActive(false);
    manager->AnimEffects()->DialogHide()->SetActive(false);
    ASSERT_TRUE(manager->IsDefault());
  }
  void TearDown() override {
    for (HWND d : dialogs)
      if (IsWindow(d)) DestroyWindow(d);
    PurgeProviders();
    manager.reset();
  }
  HWND NewDialog(DWORD Style, bool Visible = true, HWND Owner = nullptr) {
    HWND d = CreateTestDialog(TwoControls(Style | (Visible ? WS_VISIBLE : 0)), nullptr, Owner);
    dialogs.push_back(d);
    return d;
  }
  // A dialog whose procedure does what Behaviour says.
  HWND NewDialogWith(DWORD Style, DialogBehaviour* Behaviour, bool Visible = true) {
    HWND d = CreateTestDialog(TwoControls(Style | (Visible ? WS_VISIBLE : 0)), Behaviour);
    dialogs.push_back(d);
    return d;
  }
  static TqvDialogWnd* DialogOf(HWND Wnd) { return DialogAdapterOf(Wnd); }
  // A shown sizeable dialog under extended borders, its frame painted once: its border form
  // and that form's window (all nil where one is missing).
  struct Bordered {
    HWND dlg;
    TqvDialogWnd* adapter;
    TqvBorderForm* border;
    HWND window;
  };
  Bordered NewBorderedDialog() {
    manager->SetExtendedBorders(true);
    const HWND dlg = NewDialog(kSizable);
    TqvDialogWnd* d = DialogOf(dlg);
    if (!d) return {dlg, nullptr, nullptr, nullptr};
    SendMessageW(dlg, WM_NCPAINT, 1, 0);
    wintest::Pump();
    TqvBorderForm* border = d->ExtBorderForm();
    return {dlg, d, border, border ? border->BorderWindow() : nullptr};
  }
  static COLORREF PixelRgb(vcl::TBitmap* Bmp, int X, int Y) {
    const std::uint32_t p = PixelOf(Bmp, X, Y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // The window image's pixel at the centre of a title button.
  static COLORREF ButtonPixel(TqvDialogWnd* D, int HitCode) {
    const vcl::TRect r = D->Button(HitCode).Rect;
    return PixelRgb(D->SkinData->CacheBmp(), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  // Pixels of R standing off its commonest colour by 96 steps of luminance at least.
  static int StandingOff(vcl::TBitmap* Image, const vcl::TRect& R) {
    auto luminance = [](COLORREF c) { return (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) / 1000; };
    std::map<COLORREF, int> counts;
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x) ++counts[PixelRgb(Image, x, y)];
    const COLORREF face = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                            return a.second < b.second;
                          })->first;
    int off = 0;
    for (const auto& [colour, count] : counts)
      if (std::abs(luminance(colour) - luminance(face)) >= 96) off += count;
    return off;
  }
  static LPARAM ScreenPoint(HWND Wnd, const vcl::TRect& R) {
    RECT wr{};
    GetWindowRect(Wnd, &wr);
    return MAKELPARAM(static_cast<WORD>(wr.left + (R.Left + R.Right) / 2), static_cast<WORD>(wr.top + (R.Top + R.Bottom) / 2));
  }

  // A shown sizeable dialog under a skin with the global line given, its image painted.
  struct Laid {
    HWND dlg = nullptr;
    TqvDialogWnd* d = nullptr;
    int width = 0;
  };
  Laid LaidUnder(const std::string& Line) {
    const std::wstring name = L"Laid" + std::to_wstring(++skinNo);
    skins.Write(name.c_str(), L"master.bmp", Bmp24(3 * kGlyphW, 4 * kGlyphH, [](int x, int y) {
                  return Rgb(kGlyphs[y / kGlyphH][x / kGlyphW]);
                }));
    skins.Write(name.c_str(), L"Options.dat", BytesOf(DialogSkinText(Line + "\r\n")));
    manager->SetSkinName(name);
    Laid laid;
    laid.dlg = NewDialog(kSizable);
    laid.d = DialogOf(laid.dlg);
    if (!laid.d) return laid;
    laid.d->SkinData->BGChanged = true;
    laid.d->PaintAll();
    laid.width = laid.d->SkinData->CacheBmp()->Width();
    return laid;
  }
  // Each title button inside the window right of the icon, with Glyphs its glyph seen in the
  // window's own pixels; the close button's right end.
  int ButtonsInside(const Laid& L, bool Glyphs = true) {
    const int side = L.d->BorderWidth();
    const int start = L.d->IconRect.IsEmpty() ? side : static_cast<int>(L.d->IconRect.Right);
    const int kinds[] = {kHitClose, kHitMax, kHitMin};
    for (int i = 0; i < 3; ++i) {
      const vcl::TRect r = L.d->Button(kinds[i]).Rect;
      EXPECT_FALSE(r.IsEmpty()) << "title button " << kinds[i];
      EXPECT_GE(r.Left, start) << "title button " << kinds[i];
      EXPECT_LE(r.Right, L.width) << "title button " << kinds[i];
      if (!Glyphs) continue;
      const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
      auto seen = [&] {
        const COLORREF c = Pixels(L.dlg)->At(x, y);
        return c == kGlyphs[i][0] || c == kGlyphs[i][1] || c == kGlyphs[i][2];
      };
      EXPECT_TRUE(wintest::PumpUntil(seen)) << "title button " << kinds[i] << " cannot be seen at " << x << "," << y;
    }
    return static_cast<int>(L.d->Button(kHitClose).Rect.Right);
  }

  TempSkins skins;
  ManagerPtr manager;
  std::vector<HWND> dialogs;
  int skinNo = 0;
};

TEST_F(Dialogs, ADialogThroughTheHookIsFramedCaptionedAndItsButtonsWork) {
  // Without the buttons' fades the image itself shows their states.
  manager->AnimEffects()->Buttons()->SetEvents({});
  HWND dlg = NewDialog(kSizable);
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  auto at = [&](int Hit) { return ScreenPoint(dlg, d->Button(Hit).Rect); };
  EXPECT_FALSE(GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU);  // the system draws no buttons
  // The children: the edit adapted as a dialog's child, the buttons by their kind.
  SendMessageW(dlg, WM_NCPAINT, 1, 0);
  HWND edit = GetDlgItem(dlg, 100);
  auto* editAdapter = dynamic_cast<TqvEditWnd*>(GetAdapter(edit));
  ASSERT_NE(editAdapter, nullptr);
  EXPECT_TRUE(editAdapter->DialogChild);
  EXPECT_NE(dynamic_cast<TqvBtnWnd*>(GetAdapter(GetDlgItem(dlg, IDCANCEL))), nullptr);

  // The image: title colour over the caption band, the dialog's colour below, the glyphs.
  d->SkinData->BGChanged = true;
  d->PaintAll();
  vcl::TBitmap* image = d->SkinData->CacheBmp();
  ASSERT_GT(image->Width(), 0);
  const int band = d->BorderWidth() + d->CaptionHeight() / 2;
  const COLORREF title = PixelRgb(image, image->Width() / 2, band);
  EXPECT_TRUE(title == kTitleColor || title == kTitleActive) << std::hex << title;
  EXPECT_EQ(PixelRgb(image, d->BorderWidth() / 2, image->Height() / 2), kDialogColor);
  ASSERT_FALSE(d->Button(kHitClose).Rect.IsEmpty());
  EXPECT_EQ(ButtonPixel(d, kHitClose), kGlyphs[0][0]);
  EXPECT_LT(d->Button(kHitMax).Rect.Right, d->Button(kHitClose).Rect.Left + 1);
  EXPECT_LT(d->Button(kHitMin).Rect.Right, d->Button(kHitMax).Rect.Left + 1);

  // Hit codes.
  for (int hit : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) EXPECT_EQ(SendMessageW(dlg, WM_NCHITTEST, 0, at(hit)), hit);
  RECT wr{};
  GetWindowRect(dlg, &wr);
  EXPECT_EQ(SendMessageW(dlg, WM_NCHITTEST, 0, MAKELPARAM(wr.left + d->BorderWidth() + 2, wr.top + band)), HTSYSMENU);
  EXPECT_EQ(SendMessageW(dlg, WM_NCHITTEST, 0, MAKELPARAM((wr.left + wr.right) / 2 - 20, wr.top + band)), HTCAPTION);

  // Hover and press show the button's states.
  SendMessageW(dlg, WM_NCMOUSEMOVE, HTCLOSE, at(kHitClose));
  EXPECT_EQ(d->HotButton, kHitClose);
  EXPECT_EQ(ButtonPixel(d, kHitClose), kGlyphs[0][1]);
  SendMessageW(dlg, WM_NCMOUSEMOVE, HTCAPTION, 0);
  EXPECT_EQ(d->HotButton, 0);

  // Maximise by its button, the system menu's states follow; the caption's double click restores.
  SendMessageW(dlg, WM_NCLBUTTONDOWN, HTMAXBUTTON, at(kHitMax));
  EXPECT_EQ(d->Button(kHitMax).State, 2);
  EXPECT_EQ(ButtonPixel(d, kHitMax), kGlyphs[1][2]);
  SendMessageW(dlg, WM_NCLBUTTONUP, HTMAXBUTTON, at(kHitMax));
  EXPECT_TRUE(IsZoomed(dlg));
  EXPECT_TRUE(d->SystemMenu->ItemRestore->Enabled());
  EXPECT_FALSE(d->SystemMenu->ItemMaximize->Enabled());
  EXPECT_FALSE(d->SystemMenu->ItemMove->Enabled());
  SendMessageW(dlg, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_FALSE(IsZoomed(dlg));
  EXPECT_FALSE(d->SystemMenu->ItemRestore->Enabled());

  // A press released elsewhere does nothing; released on the close button, the dialog goes.
  SendMessageW(dlg, WM_NCLBUTTONDOWN, HTCLOSE, at(kHitClose));
  SendMessageW(dlg, WM_NCLBUTTONUP, HTCAPTION, 0);
  EXPECT_TRUE(IsWindow(dlg));
  SendMessageW(dlg, WM_NCLBUTTONDOWN, HTCLOSE, at(kHitClose));
  SendMessageW(dlg, WM_NCLBUTTONUP, HTCLOSE, at(kHitClose));
  // The dialog manager posts the cancel command the close becomes.
  EXPECT_TRUE(wintest::PumpUntil([dlg] { return !IsWindow(dlg); }));
  PurgeProviders();
  EXPECT_EQ(FindProvider(dlg), nullptr);
}

// Minimised, the window is its title alone (no client area): the title, its text and its
// buttons fill it.
// A move onto a title button handled after the real pointer left the dialog (a busy program
// handles its input late): nothing will move over the dialog again to tell it, so the button
// comes to rest by itself. With the pointer still on the button it stays hot.
TEST_F(Dialogs, AMoveOntoATitleButtonHandledAfterThePointerLeftLeavesItAtRest) {
  // Held before the dialog goes above every window: a program beside dragging under the
  // pointer would find it over what it drags.
  const wintest::PointerLock pointer;
  manager->AnimEffects()->Buttons()->SetEvents({});
  const HWND dlg = NewDialog(kSizable);
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  SetWindowPos(dlg, HWND_TOPMOST, 120, 120, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(dlg, WM_NCPAINT, 1, 0);
  const LPARAM close = ScreenPoint(dlg, d->Button(kHitClose).Rect);
  const POINT closePoint{vcl::LParamX(close), vcl::LParamY(close)};
  RECT wr{};
  GetWindowRect(dlg, &wr);

  ASSERT_TRUE(wintest::MovePointer(wr.right + 200, wr.bottom + 100));
  SendMessageW(dlg, WM_NCMOUSEMOVE, HTCLOSE, close);
  ASSERT_EQ(d->HotButton, kHitClose);
  EXPECT_TRUE(wintest::PumpUntil([&] { return d->HotButton == 0; })) << "the close button stays hot with the pointer gone";

  // The pointer on the button: it stays hot.
  ASSERT_TRUE(wintest::RaiseUntilShownAt(dlg, dlg, closePoint));
  ASSERT_TRUE(wintest::MovePointer(closePoint.x, closePoint.y));
  SendMessageW(dlg, WM_NCMOUSEMOVE, HTCLOSE, close);
  ASSERT_TRUE(wintest::PumpUntilIdle());
  EXPECT_EQ(d->HotButton, kHitClose);
}

TEST_F(Dialogs, AMinimisedDialogShowsItsTitleAndButtons) {
  // A sizeable dialog's frame and a fixed one's, each measured by its style.
  const struct {
    DWORD style;
    int frame;
  } kinds[] = {{kSizable, SM_CXSIZEFRAME}, {kSizable & ~(WS_THICKFRAME | WS_MAXIMIZEBOX), SM_CXFIXEDFRAME}};
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.frame == SM_CXSIZEFRAME ? "sizeable" : "fixed");
    HWND dlg = NewDialog(kind.style);
    TqvDialogWnd* d = DialogOf(dlg);
    ASSERT_NE(d, nullptr);
    SendMessageW(dlg, WM_NCPAINT, 1, 0);
    SendMessageW(dlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    wintest::Pump();
    ASSERT_TRUE(IsIconic(dlg));
    RECT wr{};
    GetWindowRect(dlg, &wr);
    const int width = wr.right - wr.left, height = wr.bottom - wr.top;
    ASSERT_GT(height, 0);
    EXPECT_EQ(d->BorderWidth(), GetSystemMetrics(kind.frame));
    d->SkinData->BGChanged = true;
    d->PaintAll();
    vcl::TBitmap* image = d->SkinData->CacheBmp();
    ASSERT_EQ(image->Width(), width);
    ASSERT_EQ(image->Height(), height);
    const COLORREF title = PixelRgb(image, width / 3, d->BorderWidth() + d->CaptionHeight() / 2);
    EXPECT_TRUE(title == kTitleColor || title == kTitleActive) << std::hex << title;
    const vcl::TRect close = d->Button(kHitClose).Rect;
    ASSERT_FALSE(close.IsEmpty());
    EXPECT_LE(close.Bottom, height);
    EXPECT_LE(close.Right, width);
    EXPECT_EQ(SendMessageW(dlg, WM_NCHITTEST, 0, ScreenPoint(dlg, close)), HTCLOSE);
    DestroyWindow(dlg);
  }
}

TEST_F(Dialogs, WithExtendedBordersABorderWindowShowsTheFrameAroundTheClient) {
  manager->SetExtendedBorders(true);
  HWND dlg = NewDialog(kSizable);
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  SendMessageW(dlg, WM_NCPAINT, 1, 0);
  TqvBorderForm* border = d->ExtBorderForm();
  ASSERT_NE(border, nullptr);
  const HWND bw = border->BorderWindow();
  ASSERT_NE(bw, nullptr);
  EXPECT_TRUE(IsWindowVisible(bw));
  EXPECT_EQ(GetWindow(bw, GW_OWNER), dlg);

  // The image: the window with the skin's wider frame and taller title, and the shadow around.
  const vcl::TRect shadow = d->ShadowSize();
  EXPECT_GT(shadow.Left, 0);
  d->SkinData->BGChanged = true;
  d->PaintAll();
  vcl::TBitmap* image = d->SkinData->CacheBmp();
  RECT wr{}, br{};
  GetWindowRect(dlg, &wr);
  EXPECT_EQ(image->Width(), (wr.right - wr.left) + 2 * BorderFormOffsetX(border) + shadow.Left + shadow.Right);
  const COLORREF title = PixelRgb(image, image->Width() / 2, shadow.Top + d->CaptionHeight() / 2);
  EXPECT_TRUE(title == kTitleColor || title == kTitleActive) << std::hex << title;
  EXPECT_EQ(PixelOf(image, 0, image->Height() / 2) >> 24 != 255, true);  // the shadow lets through
  // The border window stands where the image's frame meets the dialog's window.
  border->UpdateExBordersPos(true, 255);
  GetWindowRect(bw, &br);
  EXPECT_EQ(br.left, wr.left - border->ShadowOffsetX());
  EXPECT_EQ(br.top, wr.top - border->ShadowOffsetY());
  EXPECT_EQ(br.right - br.left, image->Width());
  // The dialog's window keeps its client part.
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(dlg, rgn), ERROR);
  EXPECT_FALSE(PtInRegion(rgn, 1, 1));
  EXPECT_TRUE(PtInRegion(rgn, (wr.right - wr.left) / 2, (wr.bottom - wr.top) / 2));
  DeleteObject(rgn);

  // The title buttons answer through the border window; a press passed on presses them.
  const vcl::TRect close = d->Button(kHitClose).Rect;
  ASSERT_FALSE(close.IsEmpty());
  auto at = [&](int x, int y) { return MAKELPARAM(static_cast<WORD>(br.left + x), static_cast<WORD>(br.top + y)); };
  vcl::TMessage test{WM_NCHITTEST, 0, at((close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2), 0};
  EXPECT_EQ(border->HitTest(test), HTCLOSE);
  vcl::TMessage caption{WM_NCHITTEST, 0, at(image->Width() / 2, shadow.Top + d->CaptionHeight() / 2), 0};
  EXPECT_EQ(border->HitTest(caption), HTCAPTION);
  SendMessageW(bw, WM_NCLBUTTONDOWN, 19, test.LParam);
  EXPECT_EQ(d->Button(kHitClose).State, 2);
  SendMessageW(bw, WM_NCLBUTTONUP, 19, caption.LParam);
  EXPECT_NE(d->Button(kHitClose).State, 2);
  EXPECT_TRUE(IsWindow(dlg));

  // Without extended borders the dialog draws its own frame again.
  manager->SetExtendedBorders(false);
  EXPECT_EQ(d->ExtBorderForm(), nullptr);
  EXPECT_EQ(d->OffsetX(), d->BorderWidth());
}

// The skin's title-button margin and gap place the dialog's buttons as they place a form's.
TEST_F(Dialogs, TitleButtonsKeepTheSkinsRightMarginAndGap) {
  manager->AnimEffects()->Buttons()->SetEvents({});
  constexpr int kRight = 7, kGap = 5;
  skins.Write(L"Spaced", L"master.bmp", Bmp24(3 * kGlyphW, 4 * kGlyphH, [](int x, int y) {
                return Rgb(kGlyphs[y / kGlyphH][x / kGlyphW]);
              }));
  skins.Write(L"Spaced", L"Options.dat",
              BytesOf(DialogSkinText("BISPACE=" + std::to_string(kGap) + "\r\nBIRIGHT=" + std::to_string(kRight) +
                                     "\r\n")));
  manager->SetSkinName(L"Spaced");
  ASSERT_EQ(manager->Skin().SkinData.BISpace, kGap);
  HWND dlg = NewDialog(kSizable);
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->ExtBorderForm(), nullptr);
  d->SkinData->BGChanged = true;
  d->PaintAll();
  vcl::TBitmap* image = d->SkinData->CacheBmp();
  const vcl::TRect close = d->Button(kHitClose).Rect, max = d->Button(kHitMax).Rect, min = d->Button(kHitMin).Rect;
  ASSERT_FALSE(close.IsEmpty() || max.IsEmpty() || min.IsEmpty());
  EXPECT_EQ(close.Right, image->Width() - d->BorderWidth() - kRight);
  EXPECT_EQ(max.Right, close.Left - kGap);
  EXPECT_EQ(min.Right, max.Left - kGap);
  // The image follows: the glyphs where the buttons are, the title in the gaps and the margin.
  const int y = (close.Top + close.Bottom) / 2;
  EXPECT_EQ(ButtonPixel(d, kHitClose), kGlyphs[0][0]);
  EXPECT_EQ(ButtonPixel(d, kHitMax), kGlyphs[1][0]);
  for (int x : {close.Left - kGap / 2 - 1, max.Left - kGap / 2 - 1, close.Right + kRight / 2}) {
    const COLORREF c = PixelRgb(image, x, y);
    EXPECT_TRUE(c == kTitleColor || c == kTitleActive) << x << ": " << std::hex << c;
  }
  // A press in the gap is the caption's.
  RECT wr{};
  GetWindowRect(dlg, &wr);
  EXPECT_EQ(SendMessageW(dlg, WM_NCHITTEST, 0, MAKELPARAM(wr.left + close.Left - kGap / 2 - 1, wr.top + y)), HTCAPTION);
  EXPECT_EQ(SendMessageW(dlg, WM_NCHITTEST, 0, ScreenPoint(dlg, max)), HTMAXBUTTON);
}

// A skin's right margin for the title buttons wider than the title leaves beside the icon and
// the buttons (BIRIGHT=100000), or reaching past the window's right edge (-100000), is no
// margin: the buttons stand at the frame's side, inside the window and seen. A margin up to the
// icon, or out to the window's edge, is kept, one step further is not; a normal one is kept.
TEST_F(Dialogs, TitleButtonsStayInTheWindowUnderAMarginBeyondTheTitleOrPastItsEdge) {
  manager->AnimEffects()->Buttons()->SetEvents({});
  // Without a margin: where the buttons stand, and the room left between them and the icon.
  const Laid none = LaidUnder("BIRIGHT=0");
  ASSERT_EQ(manager->Skin().SkinData.BIRight, 0);
  ASSERT_NE(none.d, nullptr);
  const int side = none.d->BorderWidth(), end = none.width - side;
  ASSERT_FALSE(none.d->IconRect.IsEmpty());
  const int room = none.d->Button(kHitMin).Rect.Left - none.d->IconRect.Right;
  ASSERT_GT(room, 0);
  EXPECT_EQ(ButtonsInside(none), end);
  DestroyWindow(none.dlg);
  struct Case {
    int margin, closeRight;
  };
  for (const Case c : {Case{7, end - 7}, Case{100000, end}, Case{-100000, end}, Case{room, end - room},
                       Case{room + 1, end}, Case{-side, none.width}, Case{-side - 1, end}}) {
    SCOPED_TRACE("BIRIGHT=" + std::to_string(c.margin));
    const Laid laid = LaidUnder("BIRIGHT=" + std::to_string(c.margin));
    ASSERT_EQ(manager->Skin().SkinData.BIRight, c.margin);
    ASSERT_NE(laid.d, nullptr);
    ASSERT_EQ(laid.width, none.width);
    EXPECT_EQ(ButtonsInside(laid), c.closeRight);
    DestroyWindow(laid.dlg);
  }
}

// The skin's gap after each big title button holds while the buttons laid with it fit between
// the icon and the frame, and while it takes back less than a button; one more either way is no
// gap (one of 100000 or 2147483647 laid the buttons out of the window's left, -100000 out of
// its right, where they vanished).
TEST_F(Dialogs, TheTitleButtonsGapHoldsWhileTheButtonsFitInTheTitle) {
  manager->AnimEffects()->Buttons()->SetEvents({});
  // Without a gap: where the buttons stand, and the room left between them and the icon.
  const Laid none = LaidUnder("BISPACE=0");
  ASSERT_NE(none.d, nullptr);
  const int end = none.width - none.d->BorderWidth();
  ASSERT_FALSE(none.d->IconRect.IsEmpty());
  const int room = none.d->Button(kHitMin).Rect.Left - none.d->IconRect.Right;
  const int widest = room / 2;  // two gaps between three buttons
  ASSERT_GT(widest, 5);
  EXPECT_EQ(ButtonsInside(none), end);
  DestroyWindow(none.dlg);
  struct Case {
    long long gap;
    bool kept;
  };
  for (const Case c : {Case{5, true}, Case{widest, true}, Case{widest + 1, false}, Case{-kGlyphW + 1, true},
                       Case{-kGlyphW, false}, Case{100000, false}, Case{-100000, false}, Case{2147483647, false},
                       Case{-2147483647, false}}) {
    SCOPED_TRACE("BISPACE=" + std::to_string(c.gap));
    const Laid laid = LaidUnder("BISPACE=" + std::to_string(c.gap));
    ASSERT_EQ(manager->Skin().SkinData.BISpace, c.gap);
    ASSERT_NE(laid.d, nullptr);
    ASSERT_EQ(laid.width, none.width);
    const int space = c.kept ? static_cast<int>(c.gap) : 0;
    // Buttons laid over each other by a gap below 0 hide each other's middles.
    EXPECT_EQ(ButtonsInside(laid, space >= 0), end);
    const vcl::TRect close = laid.d->Button(kHitClose).Rect, max = laid.d->Button(kHitMax).Rect;
    EXPECT_EQ(max.Right, close.Left - space);
    EXPECT_EQ(laid.d->Button(kHitMin).Rect.Right, max.Left - space);
    DestroyWindow(laid.dlg);
  }
}

// With the buttons' fades off, the hot close button painted at once gets the skin's glow
// (30 x 30 below the glyphs) round it, which goes when the button cools and with the dialog.
TEST_F(Dialogs, AHotCloseButtonPaintedAtOnceGlowsUntilItCools) {
  manager->AnimEffects()->Buttons()->SetEvents({});
  manager->Effects()->SetAllowGlowing(true);
  const std::optional<bool> alphaBefore = SetPerPixelAlphaShown(true);
  skins.Write(L"Glowing", L"master.bmp", Bmp24(3 * kGlyphW, 4 * kGlyphH + 30, [](int x, int y) {
                return y >= 4 * kGlyphH ? 0x40E0E0u : Rgb(kGlyphs[y / kGlyphH][x / kGlyphW]);
              }));
  skins.Write(L"Glowing", L"Options.dat",
              BytesOf(DialogSkinText("BICONCLOSEGLOW0=@0000,0056,0030,0086,1,0\r\nBICONCLOSEGLOW=5\r\n"
                                     "BICONCLOSEGLOWMARGIN=5\r\n")));
  manager->SetSkinName(L"Glowing");
  HWND dlg = NewDialog(kSizable);
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->ExtBorderForm(), nullptr);
  SendMessageW(dlg, WM_NCPAINT, 1, 0);
  const vcl::TRect close = d->Button(kHitClose).Rect;
  ASSERT_FALSE(close.IsEmpty());
  SendMessageW(dlg, WM_NCMOUSEMOVE, HTCLOSE, ScreenPoint(dlg, close));
  ASSERT_EQ(d->HotButton, kHitClose);
  EXPECT_EQ(ButtonPixel(d, kHitClose), kGlyphs[0][1]);  // painted at once, no fade
  const int glow = d->Button(kHitClose).GlowID;
  ASSERT_GE(glow, 0);
  ASSERT_NE(GlowAt(glow), nullptr);
  ASSERT_NE(GlowAt(glow)->Form(), nullptr);
  // Round the button on the screen.
  RECT wr{}, gr{};
  GetWindowRect(dlg, &wr);
  GetWindowRect(GlowAt(glow)->Form()->Handle(), &gr);
  EXPECT_GT(gr.right - gr.left, close.Width());
  EXPECT_NEAR((gr.left + gr.right) / 2, wr.left + (close.Left + close.Right) / 2, 1);
  EXPECT_NEAR((gr.top + gr.bottom) / 2, wr.top + (close.Top + close.Bottom) / 2, 1);
  // Cooled on the caption: the glow goes.
  SendMessageW(dlg, WM_NCMOUSEMOVE, HTCAPTION, 0);
  EXPECT_LT(d->Button(kHitClose).GlowID, 0);
  EXPECT_EQ(GlowAt(glow), nullptr);
  // Hot again, then the dialog goes: its glow with it.
  SendMessageW(dlg, WM_NCMOUSEMOVE, HTCLOSE, ScreenPoint(dlg, close));
  const int again = d->Button(kHitClose).GlowID;
  ASSERT_GE(again, 0);
  DestroyWindow(dlg);
  EXPECT_EQ(GlowAt(again), nullptr);
  SetPerPixelAlphaShown(alphaBefore);
}

// The system would put back the screen it saved under a dialog over what the skin painted.
TEST_F(Dialogs, ASkinnedDialogsClassSavesNoScreenUnderIt) {
  HWND first = NewDialog(kSizable);
  ASSERT_NE(DialogOf(first), nullptr);
  // The class as the system may register it.
  SetClassLongPtrW(first, GCL_STYLE, static_cast<LONG_PTR>(GetClassLongPtrW(first, GCL_STYLE) | CS_SAVEBITS));
  HWND second = NewDialog(kSizable);
  ASSERT_NE(DialogOf(second), nullptr);
  EXPECT_FALSE(GetClassLongPtrW(second, GCL_STYLE) & CS_SAVEBITS);
  EXPECT_TRUE(GetClassLongPtrW(second, GCL_STYLE) & CS_DBLCLKS);  // the rest of the class style stays
}

TEST_F(Dialogs, TheSystemMenuHasSixItemsWithTheDialogsStates) {
  HWND dlg = NewDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  TqvSystemMenu* menu = d->SystemMenu.get();
  ASSERT_EQ(menu->Items()->Count(), 7);  // six commands and a separator
  menu->UpdateItems();
  // A modal frame: only Move and Close.
  for (vcl::TMenuItem* item : {menu->ItemRestore, menu->ItemSize, menu->ItemMinimize, menu->ItemMaximize})
    EXPECT_FALSE(item->Visible()) << std::wstring(item->Caption());
  EXPECT_TRUE(menu->ItemMove->Visible() && menu->ItemMove->Enabled());
  EXPECT_TRUE(menu->ItemClose->Visible());
  // The icon's press drops it (tracked through the seam: no menu loop) and Close closes.
  HMENU shown = nullptr;
  auto previous = vcl::SetTrackPopupMenuFunction([&](HMENU Menu, UINT, int, int, HWND) {
    shown = Menu;
    return false;
  });
  SendMessageW(dlg, WM_NCLBUTTONDOWN, HTSYSMENU, 0);
  vcl::SetTrackPopupMenuFunction(previous);
  EXPECT_NE(shown, nullptr);
  menu->ItemClose->Click();
  EXPECT_TRUE(wintest::PumpUntil([dlg] { return !IsWindow(dlg); }));
}

TEST_F(Dialogs, WsSysMenuComesBackWhenTheAdapterGoes) {
  HWND dlg = NewDialog(kSizable);
  TqvProvider* provider = FindProvider(dlg);
  ASSERT_NE(provider, nullptr);
  EXPECT_FALSE(GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU);
  provider->DialogWnd.reset();
  EXPECT_TRUE(GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU);
  EXPECT_EQ(GetAdapter(dlg), nullptr);
}

// Incomplete skins: without title glyphs the title buttons are the system's; without the
// dialog's section the whole frame is, its caption buttons included.
TEST_F(Dialogs, AnIncompleteSkinLeavesTheTitleButtonsOrTheFrameToTheSystem) {
  skins.Write(L"NoGlyphs", L"Options.dat",
              BytesOf("[GLOBALINFO]\r\nVERSION=7.5\r\n[DIALOG]\r\nCOLOR=" + Hex(kDialogColor) +
                      "\r\nSTATES=2\r\n[FORMTITLE]\r\nCOLOR=" + Hex(kTitleColor) + "\r\nHOTCOLOR=" +
                      Hex(kTitleActive) + "\r\nSTATES=2\r\n"));
  skins.Write(L"NoDialog", L"Options.dat",
              BytesOf("[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("EDIT", kEditColor, kEditColor)));
  manager->SetSkinName(L"NoGlyphs");
  HWND dlg = NewDialog(kSizable);
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  SendMessageW(dlg, WM_NCPAINT, 1, 0);
  for (int code : {kHitClose, kHitMax, kHitMin}) {
    const vcl::TRect r = d->Button(code).Rect;
    ASSERT_FALSE(r.IsEmpty()) << code;
    // The system's button face and its glyph: colours other than the title's, dark and light.
    std::vector<COLORREF> seen;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) seen.push_back(PixelRgb(d->SkinData->CacheBmp(), x, y));
    auto sum = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    const auto light = std::count_if(seen.begin(), seen.end(), [&](COLORREF c) { return sum(c) > 400; });
    const auto dark = std::count_if(seen.begin(), seen.end(), [&](COLORREF c) { return sum(c) < 200; });
    EXPECT_GT(light, 10) << code;
    EXPECT_GT(dark, 4) << code;
  }
  EXPECT_FALSE(GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU);

  // No section for the dialog: the system's frame and buttons; a skin that has one takes them
  // again.
  manager->SetSkinName(L"NoDialog");
  EXPECT_TRUE(GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU);
  manager->SetSkinName(L"Dlg");
  EXPECT_FALSE(GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU);
}

// The skin's title glyphs are drawn for its title band. Without a title section (neither the
// dialog's own nor the form's), or with one that has no value along its parents (a plain
// default band), they may not be seen: the system's buttons show, their signs standing off their faces, with the caption
// active and inactive (another window activated), on a sizeable dialog and a modal frame
// alike. With the form's title section the skin's glyphs stay.
TEST_F(Dialogs, WithoutATitleSectionTheTitleButtonsAreTheSystems) {
  std::string text = DialogSkinText();
  const std::size_t title = text.find("[FORMTITLE]");
  ASSERT_NE(title, std::string::npos);
  text.erase(title, text.find("\r\n[", title) + 2 - title);
  skins.Write(L"Untitled", L"Options.dat", BytesOf(text));
  // A title section with no value of its own, its parent missing: a plain default band.
  skins.Write(L"Hollow", L"Options.dat", BytesOf(text + "[FORMTITLE]\r\nPARENTCLASS=NOSUCHTITLE\r\n"));
  for (const wchar_t* name : {L"Untitled", L"Hollow"})
    skins.Write(name, L"master.bmp", Bmp24(3 * kGlyphW, 4 * kGlyphH, [](int x, int y) {
                  return Rgb(kGlyphs[y / kGlyphH][x / kGlyphW]);
                }));
  const HWND other = CreateWindowExW(0, L"STATIC", L"Other", WS_POPUP | WS_VISIBLE, 0, 0, 80, 40, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  dialogs.push_back(other);
  for (const wchar_t* name : {L"Untitled", L"Hollow", L"Dlg"}) {
    const bool skinGlyphs = std::wstring(name) == L"Dlg";
    SCOPED_TRACE(testing::Message() << name);
    manager->SetSkinName(name);
    for (const DWORD style : {kSizable, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME}) {
      SCOPED_TRACE(style == kSizable ? "sizeable" : "modal frame");
      const HWND dlg = NewDialog(style);
      TqvDialogWnd* d = DialogOf(dlg);
      ASSERT_NE(d, nullptr);
      for (const bool active : {true, false}) {
        SCOPED_TRACE(active ? "active" : "inactive");
        if (active) {
          SetActiveWindow(dlg);
          SendMessageW(dlg, WM_NCACTIVATE, TRUE, 0);
        } else {
          SetActiveWindow(other);
        }
        ASSERT_EQ(d->Active, active);
        const std::vector<int> codes =
            style == kSizable ? std::vector<int>{kHitClose, kHitMax, kHitMin} : std::vector<int>{kHitClose};
        for (const int code : codes) {
          SCOPED_TRACE(code);
          const vcl::TRect r = d->Button(code).Rect;
          ASSERT_FALSE(r.IsEmpty());
          const int row = code == kHitClose ? 0 : code == kHitMax ? 1 : 2;
          if (skinGlyphs) {
            EXPECT_GE(d->Button(code).ImageIndex, 0);
            if (active) {
              EXPECT_EQ(ButtonPixel(d, code), kGlyphs[row][0]);
            }
          } else {
            EXPECT_EQ(d->Button(code).ImageIndex, -1);
            EXPECT_NE(ButtonPixel(d, code), kGlyphs[row][0]);
            EXPECT_GE(StandingOff(d->SkinData->CacheBmp(), r), 10);
          }
        }
      }
      DestroyWindow(dlg);
    }
  }
}

TEST_F(Dialogs, AtMostTwoSkinnedDialogsAreShownAtOnce) {
  HWND a = NewDialog(kSizable), b = NewDialog(kSizable);
  EXPECT_NE(DialogOf(a), nullptr);
  EXPECT_NE(DialogOf(b), nullptr);
  EXPECT_EQ(CountVisibleDialogs(), 2);
  HWND c = NewDialog(kSizable);
  EXPECT_EQ(DialogOf(c), nullptr);
  EXPECT_FALSE(CheckDialogWnd(c, nullptr));
  DestroyWindow(b);
  PurgeProviders();
  EXPECT_TRUE(CheckDialogWnd(c, nullptr));
  EXPECT_NE(DialogOf(c), nullptr);
}

struct TVeto {
  int calls = 0;
  HWND seen = nullptr;
  void Handle(TqvSysDlgData Data, bool& Allow) {
    ++calls;
    seen = Data.DlgWnd;
    Allow = false;
  }
};

TEST_F(Dialogs, TheManagersHandlerCanKeepADialogUnskinned) {
  TVeto veto;
  manager->OnSysDlgInit = TqvSysDlgInitEvent::Bind<&TVeto::Handle>(&veto);
  HWND dlg = NewDialog(kSizable, false);
  EXPECT_GE(veto.calls, 1);
  EXPECT_EQ(veto.seen, dlg);
  EXPECT_TRUE(CheckDialogWnd(dlg, nullptr));  // answered, not skinned
  EXPECT_EQ(DialogOf(dlg), nullptr);
  manager->OnSysDlgInit = nullptr;
}

// A window served by another thread (or program) is never taken: the system may tell this
// thread's hook of its activation (hiding the active window activates the next one, whoever
// owns it). Only its own thread could serve a skinned window; from here its styles and menu
// bar would be lost.
TEST_F(Dialogs, AWindowOfAnotherThreadIsLeftAlone) {
  for (const wchar_t* className : {wintest::TestWindowClass(L"LayeredDialogsRawWindow", DefWindowProcW), L"#32770"}) {
    SCOPED_TRACE(testing::Message() << "class " << className);
    wintest::OtherThreadWindow other(className, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    const HWND wnd = other.Get();
    ASSERT_NE(wnd, nullptr);
    const HMENU bar = GetMenu(wnd);
    ASSERT_NE(bar, nullptr);
    const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
    EXPECT_FALSE(CheckDialogWnd(wnd, nullptr));
    // The hook told of the activation, as the system does when our active window hides.
    CBTACTIVATESTRUCT activate{FALSE, nullptr};
    DlgCBTHookProc(HCBT_ACTIVATE, reinterpret_cast<WPARAM>(wnd), reinterpret_cast<LPARAM>(&activate));
    // And through the installed hook: this thread asks for its activation.
    SetActiveWindow(wnd);
    wintest::Pump();
    EXPECT_EQ(GetAdapter(wnd), nullptr);
    EXPECT_EQ(FindProvider(wnd), nullptr);
    EXPECT_EQ(GetMenu(wnd), bar);
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE), style);
  }
  // A dialog served by this thread is taken.
  EXPECT_NE(DialogOf(NewDialog(kSizable)), nullptr);
}

// The title band of a dialog's window image (what its frame, or its border window, shows): the
// pixels of the caption's text (the title's font colour for the caption's state) between the
// icon and the title buttons, and those of the icon unlike the band left of it.
struct TTitleLook {
  int text = 0, icon = 0;
};
TTitleLook TitleLook(TqvDialogWnd* D) {
  auto pixel = [](vcl::TBitmap* Bmp, int X, int Y) {
    const std::uint32_t p = PixelOf(Bmp, X, Y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  TTitleLook look;
  vcl::TBitmap* image = D->SkinData->CacheBmp();
  const TsLoadedSkin& skin = D->Manager()->Skin();
  if (!image || image->Empty() || !skin.IsValidSkinIndex(D->TitleIndex)) return look;
  const COLORREF font = static_cast<COLORREF>(
      vcl::ColorToRGB(skin.Sections[static_cast<std::size_t>(D->TitleIndex)].Props[D->Active ? 1 : 0].FontColor));
  int right = image->Width();
  for (const TqvDialogButton& b : D->Buttons)
    if (!b.Rect.IsEmpty()) right = std::min(right, static_cast<int>(b.Rect.Left));
  const vcl::TRect i = D->IconRect;
  for (int y = 0; y < D->OffsetY(); ++y)
    for (int x = i.IsEmpty() ? 0 : i.Right; x < right; ++x) look.text += pixel(image, x, y) == font;
  for (int y = i.Top; y < i.Bottom; ++y)
    for (int x = i.Left; x < i.Right; ++x)
      look.icon += pixel(image, x, y) != pixel(image, i.Left - 1, y);
  return look;
}

// The system's Open and Save dialogs set their title while still hidden and make themselves
// sizeable then: each shows its title and icon as soon as it shows, framed as a sizeable
// dialog, with and without extended borders, under the test's skin and the sample's.
TEST_F(Dialogs, TheOpenAndSaveDialogsShowTheirTitleAndIconAsTheyShow) {
  for (const bool sample : {false, true}) {
    if (sample) {
      manager->SetSkinDirectory(SampleSkinFolder());
      manager->SetSkinName(L"Lagoon");
      ASSERT_TRUE(manager->Skin().SkinData.Active);
    }
    for (const bool borders : {false, true}) {
      manager->SetExtendedBorders(borders);
      for (const bool save : {false, true}) {
        SCOPED_TRACE(testing::Message() << (sample ? "sample, " : "") << (borders ? "extended borders, " : "")
                                        << (save ? "save" : "open"));
        static wchar_t file[MAX_PATH];
        file[0] = 0;
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrFilter = L"Text\0*.txt\0All\0*.*\0";
        ofn.lpstrTitle = L"Skinned file dialog";
        ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
        bool looked = false;
        const TBoxWatch watch = RunModal(
            ofn.lpstrTitle, [&] { save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn); },
            [&](HWND Dlg) {
              wintest::PumpUntilIdle();
              TqvDialogWnd* d = DialogOf(Dlg);
              ASSERT_NE(d, nullptr);
              looked = true;
              ASSERT_TRUE(GetWindowLongPtrW(Dlg, GWL_STYLE) & WS_THICKFRAME) << "the system's dialog is sizeable";
              EXPECT_EQ(d->BorderKind, 3);
              EXPECT_TRUE(d->Style & WS_THICKFRAME);
              EXPECT_EQ(d->ExtBorderForm() != nullptr, borders);
              const TTitleLook look = TitleLook(d);
              EXPECT_GT(look.text, 20) << "the caption";
              EXPECT_GT(look.icon, 20) << "the icon";
            });
        EXPECT_TRUE(watch.skinned);
        EXPECT_TRUE(looked);
        PurgeProviders();
      }
    }
  }
}

// A dialog made hidden that makes itself sizeable as it initialises is framed as a sizeable
// one (the big title buttons, the icon) once shown; one that stays fixed keeps the fixed
// frame; made visible, the change is taken as well. The system's own caption buttons stay off.
TEST_F(Dialogs, ADialogMadeHiddenIsFramedByTheStylesItShowsWith) {
  constexpr DWORD kFixed = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  DialogBehaviour sizeable;
  sizeable.OnInit = [](HWND Dlg) {
    SetWindowLongPtrW(Dlg, GWL_STYLE, GetWindowLongPtrW(Dlg, GWL_STYLE) | WS_THICKFRAME);
    SetWindowPos(Dlg, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  };
  struct Case {
    const char* name;
    bool visible, grows;
  };
  for (const Case& c : {Case{"hidden, made sizeable", false, true}, Case{"hidden, kept fixed", false, false},
                        Case{"visible, made sizeable", true, true}}) {
    SCOPED_TRACE(c.name);
    const HWND dlg = CreateTestDialog(TwoControls(kFixed | (c.visible ? WS_VISIBLE : 0)), c.grows ? &sizeable : nullptr);
    dialogs.push_back(dlg);
    ShowWindow(dlg, SW_SHOW);
    wintest::PumpUntilIdle();
    TqvDialogWnd* d = DialogOf(dlg);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->BorderKind, c.grows ? 3 : 0);
    EXPECT_EQ(d->IconVisible(), c.grows);
    EXPECT_EQ(TitleLook(d).icon > 20, c.grows) << "the icon";
    EXPECT_FALSE(GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU) << "the system's buttons stay off";
    DestroyWindow(dlg);
    PurgeProviders();
  }
}

// A dialog retitled while hidden shows its new title when shown (without the activation, which
// makes the picture again), also when its picture was made while it was hidden (a program
// printing it); as one made with that title does.
TEST_F(Dialogs, ADialogRetitledWhileHiddenShowsItsNewTitle) {
  constexpr wchar_t kLong[] = L"MMMMMMMMMMMMMMMM";
  const HWND reference = NewDialog(kSizable);
  SetWindowTextW(reference, kLong);
  wintest::PumpUntilIdle();
  ASSERT_NE(DialogOf(reference), nullptr);
  const int expected = TitleLook(DialogOf(reference)).text;
  ASSERT_GT(expected, 50);
  for (const bool printed : {false, true}) {
    SCOPED_TRACE(printed ? "printed while hidden" : "not printed");
    const HWND dlg = NewDialog(kSizable, false);
    TqvDialogWnd* d = DialogOf(dlg);
    ASSERT_NE(d, nullptr);
    SetWindowTextW(dlg, L"I");
    if (printed) {
      FramePixels print(dlg);
      SendMessageW(dlg, WM_PRINT, reinterpret_cast<WPARAM>(print.DC()), PRF_CLIENT | PRF_ERASEBKGND);
      ASSERT_FALSE(d->SkinData->BGChanged) << "the picture made while hidden";
    }
    SetWindowTextW(dlg, kLong);
    ShowWindow(dlg, SW_SHOWNOACTIVATE);
    wintest::PumpUntilIdle();
    EXPECT_EQ(TitleLook(d).text, expected);
    DestroyWindow(dlg);
    PurgeProviders();
  }
}

// Owned or not, a box is skinned: GetParent names an owner, which does not make it a child.
TEST_F(Dialogs, AMessageBoxIsSkinnedAutomaticallyAlsoWhenOwned) {
  int answer = 0;
  TBoxWatch watch = RunBox(nullptr, &answer);
  ASSERT_NE(watch.box, nullptr);
  EXPECT_TRUE(watch.skinned);
  EXPECT_FALSE(watch.sysMenuStyle);  // its own caption buttons are the skin's
  EXPECT_TRUE(watch.painted);
  EXPECT_EQ(answer, IDOK);
  EXPECT_FALSE(IsWindow(watch.box));
  PurgeProviders();
  EXPECT_EQ(FindProvider(watch.box), nullptr);

  // Under the sample skin, owned by a form, over a skinned dialog.
  manager->SetSkinDirectory(SampleSkinFolder());
  manager->SetSkinName(L"Lagoon");
  ASSERT_TRUE(manager->Skin().SkinData.Active);
  auto form = ShownForm();
  form->Show();
  ASSERT_NE(DialogOf(NewDialog(kSizable)), nullptr);
  watch = RunBox(form->Handle());
  ASSERT_NE(watch.box, nullptr);
  EXPECT_TRUE(watch.skinned);
  EXPECT_FALSE(watch.sysMenuStyle);
  EXPECT_TRUE(watch.painted);
}

// A dialog title section that only names the form's (as the sample's does) has nothing to show
// under a skin lacking the form's title: a message box and a property sheet, whose modal frames
// take the dialog title, show the system's close button, its sign standing off its face with
// the caption active and inactive (another window activated). The same section with the form's
// title, or with a colour of its own, keeps the skin's glyph; so does the sample skin whole,
// and without its form title it gives the system's button too.
TEST_F(Dialogs, ADialogTitleNamingOnlyAMissingFormTitleLeavesTheTitleButtonsToTheSystem) {
  const std::string named = DialogSkinText() + "[DIALOGTITLE]\r\nPARENTCLASS=FORMTITLE\r\n";
  std::string orphan = named;
  const std::size_t title = orphan.find("[FORMTITLE]");
  ASSERT_NE(title, std::string::npos);
  orphan.erase(title, orphan.find("\r\n[", title) + 2 - title);
  const std::string own = orphan + "COLOR=" + Hex(kTitleColor) + "\r\nHOTCOLOR=" + Hex(kTitleActive) + "\r\nSTATES=2\r\n";
  const std::vector<std::pair<const wchar_t*, const std::string*>> texts{
      {L"Named", &named}, {L"Orphan", &orphan}, {L"Own", &own}};
  for (const auto& [name, text] : texts) {
    skins.Write(name, L"Options.dat", BytesOf(*text));
    skins.Write(name, L"master.bmp", Bmp24(3 * kGlyphW, 4 * kGlyphH, [](int x, int y) {
                  return Rgb(kGlyphs[y / kGlyphH][x / kGlyphW]);
                }));
  }
  CopySampleSkin(skins, L"Lagoon", L"Sample");
  CopySampleSkin(skins, L"Lagoon", L"SampleUntitled", "FORMTITLE");
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  const HWND other = CreateWindowExW(0, L"STATIC", L"Other", WS_POPUP | WS_VISIBLE, 0, 0, 80, 40, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  dialogs.push_back(other);

  // The close button of Dlg, active and inactive: the skin's glyph (of the test's skins, in its
  // colour while active) or the system's button with a sign standing off its face.
  auto expectClose = [other](HWND Dlg, bool SkinGlyph, bool OwnGlyphs) {
    TqvDialogWnd* d = DialogOf(Dlg);
    ASSERT_NE(d, nullptr);
    for (const bool active : {true, false}) {
      SCOPED_TRACE(active ? "active" : "inactive");
      if (active) {
        SetActiveWindow(Dlg);
        SendMessageW(Dlg, WM_NCACTIVATE, TRUE, 0);
      } else {
        SetActiveWindow(other);
      }
      ASSERT_EQ(d->Active, active);
      const vcl::TRect r = d->Button(kHitClose).Rect;
      ASSERT_FALSE(r.IsEmpty());
      if (SkinGlyph) {
        EXPECT_GE(d->Button(kHitClose).ImageIndex, 0);
        if (active && OwnGlyphs) {
          EXPECT_EQ(ButtonPixel(d, kHitClose), kGlyphs[0][0]);
        }
      } else {
        EXPECT_EQ(d->Button(kHitClose).ImageIndex, -1);
        EXPECT_NE(ButtonPixel(d, kHitClose), kGlyphs[0][0]);
        EXPECT_GE(StandingOff(d->SkinData->CacheBmp(), r), 10);
      }
    }
  };
  PROPSHEETPAGEW page{};
  const DialogTemplate pageTemplate(WS_CHILD | DS_CONTROL, L"", 160, 90);
  page.dwSize = sizeof page;
  page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
  page.pResource = pageTemplate.Get();
  page.pfnDlgProc = [](HWND, UINT Msg, WPARAM, LPARAM) -> INT_PTR { return Msg == WM_INITDIALOG; };
  page.pszTitle = L"Page";
  for (const wchar_t* name : {L"Named", L"Orphan", L"Own", L"Sample", L"SampleUntitled"}) {
    const std::wstring skin = name;
    const bool skinGlyph = skin != L"Orphan" && skin != L"SampleUntitled";
    const bool ownGlyphs = skin.rfind(L"Sample", 0) != 0;
    SCOPED_TRACE(testing::Message() << name);
    manager->SetSkinName(name);
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    {
      SCOPED_TRACE("a property sheet");
      const HWND sheet = ModelessSheet({&page, 1});
      ASSERT_NE(sheet, nullptr);
      dialogs.push_back(sheet);
      wintest::Pump();
      expectClose(sheet, skinGlyph, ownGlyphs);
      DestroyWindow(sheet);
    }
    {
      SCOPED_TRACE("a message box");
      bool looked = false;
      const TBoxWatch watch = RunBox(nullptr, nullptr, [&](HWND Box) {
        looked = true;
        expectClose(Box, skinGlyph, ownGlyphs);
      });
      EXPECT_TRUE(looked);
      EXPECT_TRUE(watch.skinned);
    }
  }
}

TEST_F(Dialogs, APopupMenuIsWrappedOnceAndTheListEmptiesAfterwards) {
  manager->SetSkinnedPopups(true);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"One");
  AppendMenuW(menu, MF_STRING, 2, L"Two");
  HWND owner = NewDialog(kSizable);
  struct TMenuWatch {
    std::size_t wrapped = 0;
    HWND wnd = nullptr;
    bool answers = false;
    int ticks = 0;
  } watch;
  static TMenuWatch* current = nullptr;
  current = &watch;
  SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR Id, DWORD) {
    ++current->ticks;
    current->wrapped = HookedMenuWnds().size();
    if (!HookedMenuWnds().empty() && HookedMenuWnds().front()) {
      current->wnd = HookedMenuWnds().front()->CtrlHandle;
      current->answers = SendCommandToWnd(current->wnd, scmIsSkinned, 0) == 1;
    }
    if (current->wrapped || current->ticks > 100) {
      KillTimer(nullptr, Id);
      EndMenu();
    }
  });
  TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, 100, 100, 0, owner, nullptr);
  current = nullptr;
  DestroyMenu(menu);
  EXPECT_EQ(watch.wrapped, 1u);
  EXPECT_TRUE(watch.answers);
  EXPECT_TRUE(HookedMenuWnds().empty());
}

// The hot and pressed looks of the title buttons fade in a glow window laid over the button
// (the window image keeps the normal look); they go with the dialog's move and its end.
TEST_F(Dialogs, TitleButtonsGlowWhileHotAndPressedAndTheGlowsGoWithTheDialog) {
  HWND dlg = NewDialog(kSizable);
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  SendMessageW(dlg, WM_NCPAINT, 1, 0);
  TqvDialogButton& close = d->Button(kHitClose);
  ASSERT_FALSE(close.Rect.IsEmpty());
  const LPARAM at = ScreenPoint(dlg, close.Rect);
  auto fadeOf = [](TqvDialogButton& B) { return dynamic_cast<TqvSBAnimation*>(B.Timer); };
  // The fade's picture in its middle, as the glow window shows it.
  auto shown = [&](TqvDialogButton& B) {
    TqvSBAnimation* fade = fadeOf(B);
    if (!fade || !fade->Image()) return COLORREF(0xFFFFFFFF);
    return PixelRgb(fade->Image(), fade->Image()->Width() / 2, fade->Image()->Height() / 2);
  };
  SendMessageW(dlg, WM_NCMOUSEMOVE, HTCLOSE, at);
  TqvSBAnimation* fade = fadeOf(close);
  ASSERT_NE(fade, nullptr);
  EXPECT_EQ(shown(close), kGlyphs[0][1]);
  EXPECT_EQ(ButtonPixel(d, kHitClose), kGlyphs[0][0]);
  ASSERT_NE(fade->GlowForm(), nullptr);
  EXPECT_TRUE(IsWindowVisible(fade->GlowForm()->Handle()));
  RECT glow{}, wr{};
  GetWindowRect(fade->GlowForm()->Handle(), &glow);
  GetWindowRect(dlg, &wr);
  EXPECT_EQ(glow.left - wr.left, close.Rect.Left);
  EXPECT_EQ(glow.top - wr.top, close.Rect.Top);
  // Pressed: the pressed look at once; let go elsewhere, the glow fades out.
  SendMessageW(dlg, WM_NCLBUTTONDOWN, HTCLOSE, at);
  EXPECT_EQ(shown(close), kGlyphs[0][2]);
  SendMessageW(dlg, WM_NCLBUTTONUP, HTCAPTION, 0);
  EXPECT_EQ(fade->State, 0);
  EXPECT_EQ(ButtonPixel(d, kHitClose), kGlyphs[0][0]);
  // Hot again, then the dialog moves: its glows go.
  SendMessageW(dlg, WM_NCMOUSEMOVE, HTCLOSE, at);
  ASSERT_NE(fadeOf(close), nullptr);
  SetWindowPos(dlg, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(close.Timer, nullptr);
  // Hot once more, then the adapter goes (the dialog stays): no glow window stays behind.
  SendMessageW(dlg, WM_NCMOUSEMOVE, HTCAPTION, 0);
  SendMessageW(dlg, WM_NCMOUSEMOVE, HTCLOSE, ScreenPoint(dlg, close.Rect));
  ASSERT_NE(fadeOf(close), nullptr);
  const HWND glowWnd = fadeOf(close)->GlowForm()->Handle();
  FindProvider(dlg)->DialogWnd.reset();
  wintest::Pump();
  EXPECT_FALSE(IsWindow(glowWnd));
}

// A skinned dialog with a border window: the skinned-window list gives both, and the dialog
// keeps its owner as it was given.
TEST_F(Dialogs, TheSkinnedWindowListGivesTheDialogWithItsBorderWindowAndItsOwner) {
  manager->SetExtendedBorders(true);
  auto form = ShownForm();
  HWND dlg = NewDialog(kSizable, true, form->Handle());
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  SendMessageW(dlg, WM_NCPAINT, 1, 0);
  ASSERT_NE(d->ExtBorderForm(), nullptr);
  const HWND border = d->ExtBorderForm()->BorderWindow();
  ASSERT_NE(border, nullptr);
  const std::vector<TqvSkinnedWindow> list = AdapterServices().SkinnedWindowList();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Window, dlg);
  EXPECT_EQ(list[0].BorderWindow, border);
  EXPECT_EQ(reinterpret_cast<HWND>(d->Face()->SavedOwner), form->Handle());
  EXPECT_EQ(GetWindow(dlg, GW_OWNER), form->Handle());
}

// An open dialog follows a new skin: its frame, title and children take the new sections.
TEST_F(Dialogs, AnOpenDialogTakesANewSkin) {
  constexpr COLORREF kOtherDialog = 0x4080C0, kOtherTitle = 0x20A020, kOtherEdit = 0xA0C0E0;
  // The sections in another order: every index differs from the first skin's.
  skins.Write(L"Other", L"Options.dat",
              BytesOf("[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("EDIT", kOtherEdit, kOtherEdit) +
                      "[FORMTITLE]\r\nCOLOR=" + Hex(kOtherTitle) + "\r\nHOTCOLOR=" + Hex(kOtherTitle) +
                      "\r\nSTATES=2\r\n[DIALOG]\r\nCOLOR=" + Hex(kOtherDialog) + "\r\nHOTCOLOR=" +
                      Hex(kOtherDialog) + "\r\nSTATES=2\r\n"));
  for (bool borders : {false, true}) {
    SCOPED_TRACE(borders ? "with extended borders" : "without");
    manager->SetSkinName(L"Dlg");
    manager->SetExtendedBorders(borders);
    HWND dlg = NewDialog(kSizable);
    TqvDialogWnd* d = DialogOf(dlg);
    ASSERT_NE(d, nullptr);
    SendMessageW(dlg, WM_NCPAINT, 1, 0);
    auto* edit = dynamic_cast<TqvEditWnd*>(GetAdapter(GetDlgItem(dlg, 100)));
    ASSERT_NE(edit, nullptr);
    const int oldDialog = d->SkinData->SkinIndex, oldEdit = edit->SkinData->SkinIndex;
    manager->SetSkinName(L"Other");
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    wintest::Pump();
    EXPECT_EQ(DialogOf(dlg), d);  // the same adapter, not a new one
    vcl::TBitmap* image = d->SkinData->CacheBmp();
    ASSERT_TRUE(image && image->Width() > 0);
    EXPECT_FALSE(d->SkinData->BGChanged);  // painted again already
    const vcl::TRect shadow = d->ShadowSize();
    const int band = (borders ? shadow.Top : d->BorderWidth()) + d->CaptionHeight() / 2;
    EXPECT_EQ(PixelRgb(image, image->Width() / 2, band), kOtherTitle);
    EXPECT_EQ(PixelRgb(image, shadow.Left + d->FrameSide() / 2, image->Height() / 2), kOtherDialog);
    // The client shows the new face, not the one the screen showed while the skin changed.
    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    wintest::PumpUntilIdle();
    RECT client{};
    GetClientRect(dlg, &client);
    const HDC dc = GetDC(dlg);
    EXPECT_EQ(GetPixel(dc, client.right - 3, client.bottom - 3), kOtherDialog);
    ReleaseDC(dlg, dc);
    EXPECT_EQ(d->SkinData->SkinIndex, manager->GetSkinIndex(L"DIALOG"));
    EXPECT_NE(d->SkinData->SkinIndex, oldDialog);
    EXPECT_EQ(edit->SkinData->SkinIndex, manager->GetSkinIndex(L"EDIT"));
    EXPECT_NE(edit->SkinData->SkinIndex, oldEdit);
    DestroyWindow(dlg);
    PurgeProviders();
  }
}

// Whether Upper stands above Lower among the top-level windows, read in one walk from the
// top (two walks could each see another test program's windows restacked in between).
bool StandsAbove(HWND Upper, HWND Lower) {
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == Upper) return true;
    if (w == Lower) return false;
  }
  return false;
}

// The skinning changes neither a dialog's owner nor, without a border window, its place above
// its owner; a message box over the dialog, owned by it, gives it back its place when it
// closes. When the foreground goes to a window of a test running beside this one and comes
// back, Wine itself, skinned or not, may put the dialog under its owner: a round in which the
// foreground changed hands shows nothing of the skinning's and runs again with a new dialog.
TEST_F(Dialogs, TheSkinningKeepsADialogsOwnerAndItsPlaceAboveIt) {
  // The window order judged here: no test that takes the foreground runs meanwhile.
  const wintest::PointerLock turn;
  auto form = ShownForm();
  vcl::Construct<TsSkinProvider>(form.get());
  form->SetBounds(50, 50, 600, 400);
  form->Show();
  wintest::Pump();
  for (bool borders : {false, true}) {
    SCOPED_TRACE(borders ? "with extended borders" : "without");
    manager->SetExtendedBorders(borders);
    constexpr int kRounds = 60;
    int round = 0;
    for (; round < kRounds; ++round) {
      HWND dlg = NewDialog(kSizable, true, form->Handle());
      // The program in the foreground first (a window of a test beside this one may hold it),
      // then the dialog active and on top, as a dialog just opened is.
      SetForegroundWindow(dlg);
      wintest::Pump();
      const ForegroundChanges changes;
      ASSERT_TRUE(changes.Hooked());
      SetWindowPos(dlg, HWND_TOP, 150, 150, 0, 0, SWP_NOSIZE);
      SetActiveWindow(dlg);
      wintest::Pump();
      TqvDialogWnd* d = DialogOf(dlg);
      ASSERT_NE(d, nullptr);
      ASSERT_EQ(d->ExtBorderForm() != nullptr, borders);
      // The dialog keeps its owner (its border window is the dialog's own); without a border
      // window nothing else stands between them.
      auto owned = [&] {
        EXPECT_EQ(GetWindow(dlg, GW_OWNER), form->Handle());
        EXPECT_EQ(reinterpret_cast<HWND>(d->Face()->SavedOwner), form->Handle());
        if (TqvBorderForm* border = d->ExtBorderForm()) {
          EXPECT_EQ(GetWindow(border->BorderWindow(), GW_OWNER), dlg);
        }
      };
      owned();
      const bool aboveBefore = StandsAbove(dlg, form->Handle());
      RunBox(dlg);
      wintest::Pump();
      owned();
      const bool aboveAfter = StandsAbove(dlg, form->Handle());
      DestroyWindow(dlg);
      PurgeProviders();
      if (borders) break;  // the border window stands between them: no place to check
      if (changes.Count() > 0) continue;
      EXPECT_TRUE(aboveBefore);
      EXPECT_TRUE(aboveAfter);
      break;
    }
    EXPECT_LT(round, kRounds) << "the foreground changed hands in every round";
  }
}

// Where the dialog's border window, the dialog and the form owning it stand among the shown
// top-level windows, from the top (-1 for none).
struct DialogStacking {
  int Border = -1, Dialog = -1, Form = -1;
  // The border window right over or under its dialog, on the same side of the form.
  bool Together() const {
    return Border >= 0 && Dialog >= 0 && std::abs(Border - Dialog) == 1 && (Border < Form) == (Dialog < Form);
  }
};

std::ostream& operator<<(std::ostream& os, const DialogStacking& s) {
  return os << "border " << s.Border << ", dialog " << s.Dialog << ", form " << s.Form;
}

// With extended borders a dialog's border window stays with its dialog in z-order: switched on
// while the form owning the dialog is in front of it, and the form or the dialog activated
// (by the system, or by a real click on the form) or brought to the top afterwards, the
// dialog's frame neither floats over the form covering the dialog nor lies under it.
TEST_F(Dialogs, ADialogsBorderWindowStaysWithTheDialogWhenItsOwnerComesToTheFront) {
  const wintest::PointerLock turn;  // the test clicks and judges the window order
  CopySampleSkin(skins, L"Lagoon", L"Lagoon");
  manager->SetSkinName(L"Lagoon");
  ASSERT_TRUE(manager->Skin().SkinData.Active);
  auto form = ShownForm();
  vcl::Construct<TsSkinProvider>(form.get());
  form->SetBounds(50, 50, 700, 500);
  form->Show();
  wintest::PumpUntilIdle();
  const HWND dlg = NewDialog(kSizable, true, form->Handle());
  SetWindowPos(dlg, nullptr, 150, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetForegroundWindow(dlg);
  wintest::PumpUntilIdle();
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  auto now = [&] {
    std::vector<HWND> order;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
      if (IsWindowVisible(w)) order.push_back(w);
    auto place = [&](HWND Wnd) {
      const auto it = std::find(order.begin(), order.end(), Wnd);
      return Wnd && it != order.end() ? static_cast<int>(it - order.begin()) : -1;
    };
    const TqvBorderForm* border = d->ExtBorderForm();
    return DialogStacking{place(border ? border->BorderWindow() : nullptr), place(dlg), place(form->Handle())};
  };
  auto together = [&](const char* When) {
    EXPECT_TRUE(wintest::PumpUntil([&] { return now().Together(); })) << When << ": " << now();
  };
  // A real click on the form's client, clear of the dialog.
  auto clickForm = [&] {
    const POINT at{50 + 650, 50 + 450};
    ASSERT_TRUE(wintest::MovePointer(at.x, at.y));
    ASSERT_EQ(WindowFromPoint(at), form->Handle());
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
    ASSERT_TRUE(wintest::PumpUntil([&] { return GetActiveWindow() == form->Handle(); }));
  };
  ASSERT_NO_FATAL_FAILURE(clickForm());
  manager->SetExtendedBorders(true);
  ASSERT_NE(d->ExtBorderForm(), nullptr);
  together("switched on behind the form");
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    SetForegroundWindow(dlg);
    together("the dialog activated");
    SetActiveWindow(form->Handle());
    together("the form activated");
    SetWindowPos(dlg, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    together("the dialog brought to the top");
    ASSERT_NO_FATAL_FAILURE(clickForm());
    together("the form clicked");
  }
  DestroyWindow(dlg);
}

// Moved with the manager's blending: the dialog (or its border window, which is the one
// dragged) shows at the blend value during the move and is opaque where it ends.
TEST_F(Dialogs, ADialogBlendsWhileMoved) {
  TqvBlendOnMoving* blend = manager->AnimEffects()->BlendOnMoving();
  blend->SetActive(true);
  blend->SetBlendValue(150);
  std::vector<TLayeredUpdate> updates;
  TLayeredUpdateFunc previous = SetLayeredUpdateFunc([&](const TLayeredUpdate& U) {
    updates.push_back(U);
    return true;
  });
  for (bool borders : {false, true}) {
    SCOPED_TRACE(borders ? "with extended borders" : "without");
    manager->SetExtendedBorders(borders);
    HWND dlg = NewDialog(kSizable);
    TqvDialogWnd* d = DialogOf(dlg);
    ASSERT_NE(d, nullptr);
    SendMessageW(dlg, WM_NCPAINT, 1, 0);
    const HWND border = d->ExtBorderForm() ? d->ExtBorderForm()->BorderWindow() : nullptr;
    ASSERT_EQ(border != nullptr, borders);
    // The caption's press starts the move loop; a timer looks at the dialog during it and ends
    // it as a button-up would.
    struct Seen {
      HWND dlg = nullptr;
      bool moving = false, layered = false;
      BYTE alpha = 0;
      int ticks = 0;
    };
    static Seen* seen = nullptr;
    Seen watch{dlg};
    seen = &watch;
    updates.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR Id, DWORD) {
      Seen& w = *seen;
      if (++w.ticks < 2) return;
      TqvDialogWnd* a = DialogAdapterOf(w.dlg);
      w.moving = a && (a->Flags & kBorderBlendMoving) && a->MoveTimer();
      w.layered = (GetWindowLongPtrW(w.dlg, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
      DWORD flags = 0;
      GetLayeredWindowAttributes(w.dlg, nullptr, &w.alpha, &flags);
      KillTimer(nullptr, Id);
      PostMessageW(GetCapture() ? GetCapture() : w.dlg, WM_LBUTTONUP, 0, 0);
    });
    RECT wr{};
    GetWindowRect(dlg, &wr);
    SendMessageW(dlg, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(wr.left + (wr.right - wr.left) / 2, wr.top + 10));
    KillTimer(nullptr, timer);
    seen = nullptr;
    EXPECT_TRUE(watch.moving);
    EXPECT_TRUE(watch.layered);
    if (borders) {
      // The border window carried the picture at the blend value; the dialog's own window
      // waited unseen.
      EXPECT_EQ(watch.alpha, 0);
      const bool blended = std::any_of(updates.begin(), updates.end(),
                                       [&](const TLayeredUpdate& U) { return U.Wnd == border && U.Alpha == 150; });
      EXPECT_TRUE(blended);
      ASSERT_FALSE(updates.empty());
      EXPECT_EQ(updates.back().Alpha, 255);
    } else {
      EXPECT_EQ(watch.alpha, 150);
    }
    EXPECT_FALSE(GetWindowLongPtrW(dlg, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_FALSE(d->Flags & kBorderBlendMoving);
    EXPECT_EQ(d->MoveTimer(), nullptr);
    DestroyWindow(dlg);
    PurgeProviders();
  }
  SetLayeredUpdateFunc(previous);
}

// The icon's press drops the system menu just under the icon, inside the frame; the caption's
// right click drops it where the pointer is.
TEST_F(Dialogs, TheSystemMenuDropsUnderTheIconAndWhereTheCaptionIsRightClicked) {
  HWND dlg = NewDialog(kSizable);
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  SendMessageW(dlg, WM_NCPAINT, 1, 0);
  std::optional<POINT> at;
  auto previous = vcl::SetTrackPopupMenuFunction([&](HMENU, UINT, int X, int Y, HWND) {
    at = POINT{X, Y};
    return false;
  });
  RECT wr{};
  GetWindowRect(dlg, &wr);
  const int border = d->BorderWidth();
  SendMessageW(dlg, WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(wr.left + border + 4, wr.top + border + 4));
  ASSERT_TRUE(at.has_value());
  EXPECT_EQ(at->x, wr.left + border);
  EXPECT_EQ(at->y, wr.top + border + GetSystemMetrics(SM_CYSMICON));
  at.reset();
  const POINT click{(wr.left + wr.right) / 2 - 30, wr.top + border + d->CaptionHeight() / 2};
  SendMessageW(dlg, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(click.x, click.y));
  EXPECT_FALSE(at.has_value());  // the press is swallowed, the release drops it
  SendMessageW(dlg, WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(click.x, click.y));
  vcl::SetTrackPopupMenuFunction(previous);
  ASSERT_TRUE(at.has_value());
  EXPECT_EQ(at->x, click.x);
  EXPECT_EQ(at->y, click.y);
}

// A skin that aligns its big title glyphs to the top: they sit at the frame's top (3 lower
// when zoomed), under a border form at the skin's own distance below the shadow; the image
// shows them there and they answer the mouse there.
TEST_F(Dialogs, TopAlignedBigTitleButtonsSitAtTheTopOfTheFrame) {
  manager->AnimEffects()->Buttons()->SetEvents({});
  constexpr int kTop = 5;
  skins.Write(L"Aligned", L"master.bmp", Bmp24(3 * kGlyphW, 4 * kGlyphH, [](int x, int y) {
                return Rgb(kGlyphs[y / kGlyphH][x / kGlyphW]);
              }));
  skins.Write(L"Aligned", L"Options.dat",
              BytesOf(DialogSkinText("BIVALIGN=1\r\nBITOP=" + std::to_string(kTop) + "\r\n")));
  manager->SetSkinName(L"Aligned");
  ASSERT_EQ(manager->Skin().SkinData.BIVAlign, 1);
  HWND dlg = NewDialog(kSizable);
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->ExtBorderForm(), nullptr);
  auto paint = [&] {
    d->SkinData->BGChanged = true;
    d->PaintAll();
  };
  paint();
  for (int code : {kHitClose, kHitMax, kHitMin}) {
    const vcl::TRect r = d->Button(code).Rect;
    ASSERT_FALSE(r.IsEmpty()) << code;
    EXPECT_EQ(r.Top, 0) << code;
    EXPECT_EQ(r.Height(), kGlyphH) << code;
  }
  const vcl::TRect close = d->Button(kHitClose).Rect;
  vcl::TBitmap* image = d->SkinData->CacheBmp();
  EXPECT_EQ(PixelRgb(image, (close.Left + close.Right) / 2, 0), kGlyphs[0][0]);
  EXPECT_EQ(PixelRgb(image, (close.Left + close.Right) / 2, kGlyphH - 1), kGlyphs[0][0]);
  RECT wr{};
  GetWindowRect(dlg, &wr);
  EXPECT_EQ(SendMessageW(dlg, WM_NCHITTEST, 0, MAKELPARAM(wr.left + (close.Left + close.Right) / 2, wr.top + kGlyphH - 2)),
            HTCLOSE);
  // Zoomed: 3 lower.
  SendMessageW(dlg, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(IsZoomed(dlg));
  paint();
  EXPECT_EQ(d->Button(kHitClose).Rect.Top, 3);
  SendMessageW(dlg, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_FALSE(IsZoomed(dlg));

  // Under a border form: the skin's distance below the shadow's top margin.
  manager->SetExtendedBorders(true);
  SendMessageW(dlg, WM_NCPAINT, 1, 0);
  ASSERT_NE(d->ExtBorderForm(), nullptr);
  paint();
  const vcl::TRect shadow = d->ShadowSize();
  EXPECT_EQ(d->Button(kHitClose).Rect.Top, shadow.Top + kTop);
  EXPECT_EQ(d->Button(kHitMin).Rect.Top, shadow.Top + kTop);
  image = d->SkinData->CacheBmp();
  const vcl::TRect placed = d->Button(kHitClose).Rect;
  EXPECT_EQ(PixelRgb(image, (placed.Left + placed.Right) / 2, shadow.Top + kTop), kGlyphs[0][0]);
}

// The skin's reload command brings a shown border window to the dialog's place and picture;
// a hidden one stays hidden.
TEST_F(Dialogs, AReloadPutsAShownBorderWindowBackAndLeavesAHiddenOneHidden) {
  const Bordered made = NewBorderedDialog();
  const HWND dlg = made.dlg;
  TqvDialogWnd* d = made.adapter;
  ASSERT_NE(d, nullptr);
  TqvBorderForm* border = made.border;
  ASSERT_NE(border, nullptr);
  const HWND bw = made.window;
  ASSERT_NE(bw, nullptr);
  ASSERT_TRUE(IsWindowVisible(bw));
  RECT wr{}, br{};
  GetWindowRect(dlg, &wr);
  // Left behind somewhere else, as after a move the dialog did not see through.
  SetWindowPos(bw, nullptr, wr.left + 120, wr.top + 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendCommandToWnd(dlg, scmReload, 0);
  GetWindowRect(bw, &br);
  EXPECT_EQ(br.left, wr.left - border->ShadowOffsetX());
  EXPECT_EQ(br.top, wr.top - border->ShadowOffsetY());
  EXPECT_FALSE(d->SkinData->BGChanged);
  ShowWindow(bw, SW_HIDE);
  SendCommandToWnd(dlg, scmReload, 0);
  EXPECT_FALSE(IsWindowVisible(bw));
}

// Under composition the dialog handles its showing as a layered window (the system shows
// nothing of its unskinned first picture) and is an ordinary window again afterwards; the
// system's transitions are switched off for it. Without composition nothing is layered.
struct FakeComposition {
  static inline bool on = false;
  static inline std::vector<std::pair<HWND, BOOL>> transitions;
  static HRESULT WINAPI IsCompositionEnabled(BOOL* Enabled) {
    *Enabled = on;
    return S_OK;
  }
  static HRESULT WINAPI SetWindowAttribute(HWND Wnd, DWORD Attribute, LPCVOID Value, DWORD) {
    if (Attribute == kDwmTransitionsForceDisabled) transitions.emplace_back(Wnd, *static_cast<const BOOL*>(Value));
    return S_OK;
  }
};

TEST_F(Dialogs, UnderCompositionADialogShowsItselfLayeredAndWithoutTransitions) {
  TqvDwmBindings bindings;
  bindings.IsCompositionEnabled = &FakeComposition::IsCompositionEnabled;
  bindings.SetWindowAttribute = &FakeComposition::SetWindowAttribute;
  const TPlatformVersionQuery previousVersion = SetPlatformVersionQuery([] { return TPlatformVersion{10, 0, 2}; });
  RecordPlatformFacts();
  SetDwmBindings(&bindings);
  const vcl::TScopeExit restore([&] {
    SetDwmBindings(nullptr);
    SetPlatformVersionQuery(previousVersion);
    RecordPlatformFacts();
  });
  std::vector<bool> layeredWhileShown;
  DialogBehaviour behaviour;
  behaviour.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_SHOWWINDOW && WParam) layeredWhileShown.push_back((GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0);
    return std::nullopt;
  };
  for (bool composition : {true, false}) {
    SCOPED_TRACE(composition ? "under composition" : "without");
    FakeComposition::on = composition;
    HWND dlg = NewDialogWith(kSizable, &behaviour, false);
    ASSERT_NE(DialogOf(dlg), nullptr);
    layeredWhileShown.clear();
    FakeComposition::transitions.clear();
    ShowWindow(dlg, SW_SHOW);
    ASSERT_EQ(layeredWhileShown.size(), 1u);
    EXPECT_EQ(layeredWhileShown[0], composition);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_FALSE(GetWindowLongPtrW(dlg, GWL_EXSTYLE) & WS_EX_LAYERED);
    const bool switchedOff = std::any_of(FakeComposition::transitions.begin(), FakeComposition::transitions.end(),
                                         [&](const auto& T) { return T.first == dlg && T.second == TRUE; });
    EXPECT_TRUE(switchedOff);
    DestroyWindow(dlg);
    PurgeProviders();
  }
}

// The dialog's answer to WM_NCACTIVATE is its own procedure's: a dialog that refuses to lose
// the active look is not overruled, while the skin still paints the state it was told.
TEST_F(Dialogs, TheNonClientActivationIsAnsweredByTheDialogsOwnProcedure) {
  DialogBehaviour behaviour;
  behaviour.OnMessage = [](HWND, UINT Msg, WPARAM WParam, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_NCACTIVATE && !WParam) return 0;
    return std::nullopt;
  };
  HWND dlg = NewDialogWith(kSizable, &behaviour);
  TqvDialogWnd* d = DialogOf(dlg);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(SendMessageW(dlg, WM_NCACTIVATE, FALSE, 0), 0);
  EXPECT_FALSE(d->Active);
  EXPECT_NE(SendMessageW(dlg, WM_NCACTIVATE, TRUE, 0), 0);
  EXPECT_TRUE(d->Active);
  DestroyWindow(dlg);  // before the behaviour goes
}

// The title colour the dialog window shows most in its caption band: the active one, the
// inactive one, or neither (0).
COLORREF ShownTitle(HWND Dlg) {
  wintest::PumpUntilIdle();
  RedrawWindow(Dlg, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  wintest::PumpUntilIdle();
  const RECT box = WindowBox(Dlg);
  MemoryPixels pixels(box.right, box.bottom);
  const HDC dc = GetWindowDC(Dlg);
  BitBlt(pixels.DC(), 0, 0, box.right, box.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(Dlg, dc);
  POINT client{0, 0};
  ClientToScreen(Dlg, &client);
  RECT wr{};
  GetWindowRect(Dlg, &wr);
  int active = 0, inactive = 0;
  for (int y = 0; y < client.y - wr.top; ++y)
    for (int x = 0; x < box.right; ++x) {
      active += pixels.At(x, y) == kTitleActive;
      inactive += pixels.At(x, y) == kTitleColor;
    }
  if (std::max(active, inactive) < 100) return 0;
  return active > inactive ? kTitleActive : kTitleColor;
}

// A caption shows the window's real activation: a dialog made hidden and shown without
// activation shows the inactive title beside the active dialog, one shown with its activation
// the active title (the one it took it from the inactive); dialogs skinned while open, or
// whose frame a new skin paints, show the activation each has; a property sheet hidden and shown again without activation shows
// the inactive title beside the active message box.
TEST_F(Dialogs, ACaptionShowsTheRealActivationFromTheStart) {
  for (const bool activated : {false, true}) {
    SCOPED_TRACE(activated ? "shown with its activation" : "shown without activation");
    const HWND first = NewDialog(kSizable);
    // Made hidden (the focus given to its first control activates it meanwhile), then the
    // first one active again.
    const HWND later = NewDialog(kSizable, false);
    SetWindowPos(later, nullptr, 400, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(DialogOf(later), nullptr);
    SetActiveWindow(first);
    ShowWindow(later, activated ? SW_SHOW : SW_SHOWNOACTIVATE);
    ASSERT_EQ(GetActiveWindow(), activated ? later : first);
    EXPECT_EQ(ShownTitle(later), activated ? kTitleActive : kTitleColor);
    EXPECT_EQ(ShownTitle(first), activated ? kTitleColor : kTitleActive);
    EXPECT_EQ(DialogOf(later)->Active, activated);
    DestroyWindow(later);
    DestroyWindow(first);
    PurgeProviders();
  }
  {
    SCOPED_TRACE("adapted while open, the skin given back");
    const HWND front = NewDialog(kSizable), behind = NewDialog(kSizable);
    SetWindowPos(behind, nullptr, 400, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetActiveWindow(front);
    manager->SetActive(false);
    manager->SetActive(true);
    ASSERT_NE(DialogOf(behind), nullptr);
    ASSERT_EQ(GetActiveWindow(), front);
    EXPECT_EQ(ShownTitle(front), kTitleActive);
    EXPECT_EQ(ShownTitle(behind), kTitleColor);
    DestroyWindow(behind);
    DestroyWindow(front);
    PurgeProviders();
  }
  {
    SCOPED_TRACE("opened under a skin without the dialog's section, then one with it");
    std::string text = DialogSkinText();
    const std::size_t section = text.find("[DIALOG]");
    ASSERT_NE(section, std::string::npos);
    text.erase(section, text.find("\r\n[", section) + 2 - section);
    skins.Write(L"Faceless", L"Options.dat", BytesOf(text));
    manager->SetSkinName(L"Faceless");
    const HWND behind = NewDialog(kSizable), front = NewDialog(kSizable);
    SetWindowPos(behind, nullptr, 400, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(DialogOf(front), nullptr);
    ASSERT_EQ(GetActiveWindow(), front);
    manager->SetSkinName(L"Dlg");
    EXPECT_EQ(ShownTitle(front), kTitleActive);
    EXPECT_EQ(ShownTitle(behind), kTitleColor);
    DestroyWindow(behind);
    DestroyWindow(front);
    PurgeProviders();
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  const DialogTemplate pageTemplate(WS_CHILD | DS_CONTROL, L"", 160, 90);
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
  page.pResource = pageTemplate.Get();
  page.pfnDlgProc = [](HWND, UINT Msg, WPARAM, LPARAM) -> INT_PTR { return Msg == WM_INITDIALOG; };
  page.pszTitle = L"One";
  const HWND sheet = ModelessSheet({&page, 1});
  ASSERT_NE(sheet, nullptr);
  dialogs.push_back(sheet);
  SetWindowPos(sheet, nullptr, 500, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_NE(DialogOf(sheet), nullptr);
  ShowWindow(sheet, SW_HIDE);
  COLORREF sheetTitle = 0, boxTitle = 0;
  HWND activeInBox = nullptr;
  const TBoxWatch watch = RunBox(nullptr, nullptr, [&](HWND Box) {
    ShowWindow(sheet, SW_SHOWNOACTIVATE);
    activeInBox = GetActiveWindow() == Box ? Box : nullptr;
    sheetTitle = ShownTitle(sheet);
    boxTitle = ShownTitle(Box);
  });
  ASSERT_TRUE(watch.skinned);
  EXPECT_EQ(activeInBox, watch.box);
  EXPECT_EQ(sheetTitle, kTitleColor);
  EXPECT_EQ(boxTitle, kTitleActive);
}

// With a border window showing the frame: a new caption reaches it at once, and a move by the
// caption ends with the border window's picture given again where the dialog stopped.
TEST_F(Dialogs, TheBorderWindowShowsANewCaptionAndFollowsAMoveByTheCaption) {
  std::vector<TLayeredUpdate> updates;
  TLayeredUpdateFunc previous = SetLayeredUpdateFunc([&](const TLayeredUpdate& U) {
    updates.push_back(U);
    return true;
  });
  const vcl::TScopeExit restore([&] { SetLayeredUpdateFunc(previous); });
  const Bordered made = NewBorderedDialog();
  const HWND dlg = made.dlg;
  TqvDialogWnd* d = made.adapter;
  ASSERT_NE(d, nullptr);
  TqvBorderForm* border = made.border;
  ASSERT_NE(border, nullptr);
  const HWND bw = made.window;
  ASSERT_TRUE(bw && IsWindowVisible(bw));
  auto toBorder = [&] {
    return std::count_if(updates.begin(), updates.end(), [&](const TLayeredUpdate& U) { return U.Wnd == bw; });
  };

  updates.clear();
  SetWindowTextW(dlg, L"Another caption");
  EXPECT_EQ(d->Caption, L"Another caption");
  EXPECT_FALSE(d->SkinData->BGChanged);
  EXPECT_GE(toBorder(), 1);

  // The caption pressed: the system's move loop, moved twice by a timer and let go. The loop
  // starts from where the pointer was when the press was posted (the thread's message
  // position), not from the press's own point: the press is posted and taken by the pump, as a
  // real one is, with the pointer on the caption.
  struct Move {
    HWND dlg = nullptr;
    POINT start{};
    int ticks = 0;
  };
  static Move* move = nullptr;
  RECT wr{};
  GetWindowRect(dlg, &wr);
  Move m{dlg, {wr.left + (wr.right - wr.left) / 2, wr.top + 8}};
  move = &m;
  const wintest::PointerLock pointer;  // the move loop follows the real pointer
  ASSERT_TRUE(wintest::MovePointer(m.start.x, m.start.y));
  updates.clear();
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR Id, DWORD) {
    Move& w = *move;
    const HWND target = GetCapture() ? GetCapture() : w.dlg;
    const POINT p{w.start.x + 25 * std::min(++w.ticks, 2), w.start.y + 15 * std::min(w.ticks, 2)};
    SetCursorPos(p.x, p.y);
    if (w.ticks <= 2) {
      PostMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
      return;
    }
    KillTimer(nullptr, Id);
    PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  });
  PostMessageW(dlg, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(m.start.x, m.start.y));
  EXPECT_TRUE(wintest::PumpUntil([&] { return m.ticks >= 3; }));
  KillTimer(nullptr, timer);
  move = nullptr;
  RECT moved{};
  GetWindowRect(dlg, &moved);
  // Right and down, as the pointer went (by how much is the loop's: the X server may report a
  // position between two of the moves late).
  EXPECT_GT(moved.left, wr.left);
  EXPECT_GT(moved.top, wr.top);
  const auto last = std::find_if(updates.rbegin(), updates.rend(), [&](const TLayeredUpdate& U) { return U.Wnd == bw; });
  ASSERT_NE(last, updates.rend());
  ASSERT_TRUE(last->Dest.has_value());
  EXPECT_EQ(last->Dest->X, moved.left - border->ShadowOffsetX());
  EXPECT_EQ(last->Dest->Y, moved.top - border->ShadowOffsetY());
}

// A hidden dialog takes its border window along (shown or not, the hide animation plays from
// the dialog's picture) and has it again when it shows.
TEST_F(Dialogs, AHiddenDialogTakesItsBorderWindowAlongAndHasItAgainWhenShown) {
  manager->SetExtendedBorders(true);
  for (bool animated : {false, true}) {
    SCOPED_TRACE(animated ? "with the hide animation" : "without");
    manager->AnimEffects()->DialogHide()->SetActive(animated);
    HWND dlg = NewDialog(kSizable);
    TqvDialogWnd* d = DialogOf(dlg);
    ASSERT_NE(d, nullptr);
    SendMessageW(dlg, WM_NCPAINT, 1, 0);
    wintest::Pump();
    ASSERT_NE(d->ExtBorderForm(), nullptr);
    const HWND before = d->ExtBorderForm()->BorderWindow();
    ASSERT_TRUE(before && IsWindowVisible(before));
    ShowWindow(dlg, SW_HIDE);
    wintest::Pump();
    EXPECT_EQ(d->ExtBorderForm(), nullptr);
    EXPECT_FALSE(IsWindow(before) && IsWindowVisible(before));
    ShowWindow(dlg, SW_SHOW);
    wintest::Pump();
    ASSERT_NE(d->ExtBorderForm(), nullptr);
    const HWND after = d->ExtBorderForm()->BorderWindow();
    ASSERT_NE(after, nullptr);
    EXPECT_TRUE(IsWindowVisible(after));
    RECT wr{}, br{};
    GetWindowRect(dlg, &wr);
    GetWindowRect(after, &br);
    EXPECT_EQ(br.left, wr.left - d->ExtBorderForm()->ShadowOffsetX());
    EXPECT_EQ(br.top, wr.top - d->ExtBorderForm()->ShadowOffsetY());
    DestroyWindow(dlg);
    PurgeProviders();
  }
  manager->AnimEffects()->DialogHide()->SetActive(false);
}

// Two push buttons of a system dialog side by side, the real pointer moved from one straight on
// to the other, back, and on to the edit above: the one it left shows its normal face at once,
// the one it reached its hot face.
TEST(DialogButtons, ThePointerMovedOnToTheNextButtonLeavesTheFirstNormal) {
  const wintest::PointerLock turn;
  constexpr COLORREF kFace = 0x4080C0, kHot = 0x60C0F0;
  TempSkins skins;
  ManagerPtr manager = LoadedManager(skins, L"HotButtons",
                                     "[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("DIALOG", kDialogColor, kDialogColor) +
                                         FlatSection("EDIT", kEditColor, kEditColor) +
                                         FlatSection("BUTTON", kFace, kHot));
  manager->AnimEffects()->DialogShow()->SetActive(false);
  manager->AnimEffects()->DialogHide()->SetActive(false);
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_VISIBLE, L"Two buttons", 200, 80);
  t.Item(0x0081, WS_VISIBLE | WS_BORDER | WS_TABSTOP, 10, 10, 120, 14, 100);
  t.Item(0x0080, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 10, 40, 60, 20, 201, L"First");
  t.Item(0x0080, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 70, 40, 60, 20, 202, L"Second");
  const HWND dlg = CreateTestDialog(t);
  ASSERT_NE(dlg, nullptr);
  const vcl::TScopeExit gone([&] {
    DestroyWindow(dlg);
    PurgeProviders();
  });
  SetWindowPos(dlg, HWND_TOPMOST, 120, 120, 0, 0, SWP_NOSIZE);
  SetForegroundWindow(dlg);
  wintest::PumpUntilIdle();
  const HWND first = GetDlgItem(dlg, 201), second = GetDlgItem(dlg, 202);
  ASSERT_NE(dynamic_cast<TqvBtnWnd*>(GetAdapter(first)), nullptr);
  ASSERT_NE(dynamic_cast<TqvBtnWnd*>(GetAdapter(second)), nullptr);
  // A point inside the button clear of its caption, as the dialog's window shows it (not as
  // the button would paint itself now).
  auto shown = [&](HWND Button) {
    RECT b{}, w{};
    GetWindowRect(Button, &b);
    GetWindowRect(dlg, &w);
    MemoryPixels pixel(1, 1);
    const HDC dc = GetWindowDC(dlg);
    BitBlt(pixel.DC(), 0, 0, 1, 1, dc, b.left - w.left + 3, b.top - w.top + 3, SRCCOPY);
    ReleaseDC(dlg, dc);
    return pixel.At(0, 0);
  };
  auto moveOnto = [](HWND Button) {
    RECT b{};
    GetWindowRect(Button, &b);
    const bool moved = wintest::MovePointer((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    wintest::PumpUntilIdle();
    return moved;
  };
  EXPECT_EQ(shown(first), kFace);
  ASSERT_TRUE(moveOnto(first));
  EXPECT_EQ(manager->HotWnd(), first);
  EXPECT_EQ(shown(first), kHot);
  ASSERT_TRUE(moveOnto(second));
  EXPECT_EQ(manager->HotWnd(), second);
  EXPECT_EQ(shown(second), kHot);
  EXPECT_EQ(shown(first), kFace);
  // Back the other way, and on to a window that is no button: each left one is normal again.
  ASSERT_TRUE(moveOnto(first));
  EXPECT_EQ(manager->HotWnd(), first);
  EXPECT_EQ(shown(first), kHot);
  EXPECT_EQ(shown(second), kFace);
  ASSERT_TRUE(moveOnto(GetDlgItem(dlg, 100)));
  EXPECT_NE(manager->HotWnd(), first);
  EXPECT_EQ(shown(first), kFace);
  EXPECT_EQ(shown(second), kFace);
}

}  // namespace
}  // namespace skin_layered::test
