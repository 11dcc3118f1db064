// The extended borders' window: following the form, its region, hit codes and clicks. Composition
// is on through the DWM bindings (Wine has none); pictures are watched through the layered seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <ostream>
#include <cstdio>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "forms_support.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormAnimations.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/GluedForms.h"
#include "skin_layered/forms/RubberFrame.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"
#include "skin_layered/paint/pixels/AlphaPixels.h"
#include "sample_skins.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// Shown forms stand at the desktop's far side, clear of other test programs' windows.
constexpr int kLeft = 1300, kTop = 560;

// The master bitmap: four title glyphs of three states (20 x 20) in a row, below them the
// extended border's two states (40 x 40, inactive then active).
struct GlyphPlace {
  const char* Key;
  int Left;
};
constexpr std::array<GlyphPlace, 6> kGlyphs{{{"BICONCLOSE", 0},
                                             {"BICONMAX", 60},
                                             {"BICONNORM", 120},
                                             {"BICONMIN", 180},
                                             {"BICONHELP", 240},
                                             {"TITLEBUTTON", 300}}};
constexpr std::uint32_t kBorderInactive = 0x203040, kBorderActive = 0x405060;
constexpr int kExMargin = 12, kFormOffset = 4;
constexpr int kShadow = kExMargin - kFormOffset;

std::uint32_t MasterPixel(int x, int y) {
  if (y >= 20) return x < 40 ? kBorderInactive : kBorderActive;
  return 0x800000u + static_cast<std::uint32_t>(x / 20) * 0x10u;
}

std::string BorderSkinText() {
  std::string text =
      "[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=master.bmp\r\nBORDERWIDTH=4\r\nTITLEHEIGHT=30\r\n"
      "FORMOFFSET=4\r\nBORDERMODE=0\r\nBIRIGHT=3\r\nBILEFT=5\r\n"
      "EXBORDER=^0000,0020,0080,0060,0012,0012,0012,0012,2,0,0,0\r\n";
  for (const GlyphPlace& g : kGlyphs) {
    char line[64];
    std::snprintf(line, sizeof line, "%s=@%04d,0000,%04d,0020,3,0\r\n", g.Key, g.Left, g.Left + 60);
    text += line;
  }
  return text +
         "[FORM]\r\nSTATES=2\r\nCOLOR=$A0B0C0\r\nHOTCOLOR=$A0B0C0\r\nGLOW0=@0000,0020,0040,0060,1,0\r\n"
         "[FORMTITLE]\r\nSTATES=2\r\nCOLOR=$406080\r\nHOTCOLOR=$3060C0\r\nFONTCOLOR=$FFFFFF\r\n"
         "[TB_BTN]\r\nSTATES=3\r\nCOLOR=$10C010\r\nHOTCOLOR=$C0C010\r\nFONTCOLOR=$000000\r\nHOTFONTCOLOR=$000000\r\n";
}

BOOL g_composition = TRUE;
HRESULT WINAPI CompositionOn(BOOL* on) {
  *on = g_composition;
  return S_OK;
}
HRESULT WINAPI AnyAttribute(HWND, DWORD, LPCVOID, DWORD) { return S_OK; }
HRESULT WINAPI AnyBlur(HWND, const TqvDwmBlurBehind*) { return S_OK; }

class BorderFormTest : public FormSkinTest {
 protected:
  // The sample skin Lagoon worn, whose extended border is a soft shadow; its border form.
  void WearTheSampleSkin() {
    manager->SetSkinDirectory(SampleSkins());
    manager->SetSkinName(L"Lagoon");
    ASSERT_TRUE(provider->FormSkinned());
    border = provider->ExtBorderForm();
    ASSERT_NE(border, nullptr);
  }
  void SetUp() override {
    FormSkinTest::SetUp();
    TqvDwmBindings dwm;
    dwm.IsCompositionEnabled = &CompositionOn;
    dwm.SetWindowAttribute = &AnyAttribute;
    dwm.EnableBlurBehindWindow = &AnyBlur;
    SetDwmBindings(&dwm);
    previous_update_ = SetLayeredUpdateFunc([this](const TLayeredUpdate& u) {
      // The alpha of the picture in the middle of the form's client part as it is sent.
      const TqvWindowImage* shown = provider ? &provider->WindowImage() : nullptr;
      const int clientAlpha = shown && u.Bitmap
                                  ? static_cast<int>(PixelOf(u.Bitmap, shown->OffsetX() + 20, shown->OffsetY() + 20) >> 24)
                                  : -1;
      TPixelView sent;
      const bool partial = InitPixelView(u.Bitmap, sent) && HasPartialAlpha(sent);
      const std::uint32_t centre = u.Bitmap ? PixelOf(u.Bitmap, u.Bitmap->Width() / 2, u.Bitmap->Height() / 2) : 0;
      // The provider's own border form: the fixture's pointer may outlive it (a test that makes
      // the provider anew).
      const TqvBorderForm* own = provider ? provider->ExtBorderForm() : nullptr;
      if (u.Bitmap && own && u.Wnd == own->BorderWindow()) {
        sentPicture.assign(static_cast<std::size_t>(u.Bitmap->Width() * u.Bitmap->Height()), 0);
        sentWidth = u.Bitmap->Width();
        for (int y = 0; y < u.Bitmap->Height(); ++y)
          for (int x = 0; x < sentWidth; ++x)
            sentPicture[static_cast<std::size_t>(y * sentWidth + x)] = PixelOf(u.Bitmap, x, y);
      }
      updates.push_back({u.Wnd, u.Bitmap ? u.Bitmap->Width() : 0, u.Bitmap ? u.Bitmap->Height() : 0, u.Alpha,
                         u.Dest ? *u.Dest : vcl::TPoint(-1, -1), clientAlpha, partial,
                         provider && u.Bitmap == provider->SkinData->CacheBmp(), centre});
      // Passed on as the system would take it (it moves the window to Dest).
      BLENDFUNCTION blend{AC_SRC_OVER, 0, u.Alpha, AC_SRC_ALPHA};
      SIZE size{u.Bitmap->Width(), u.Bitmap->Height()};
      POINT source{0, 0}, dest{u.Dest ? u.Dest->X : 0, u.Dest ? u.Dest->Y : 0};
      HDC screen = GetDC(nullptr);
      const BOOL done = UpdateLayeredWindow(u.Wnd, screen, u.Dest ? &dest : nullptr, &size,
                                            u.Bitmap->Canvas()->Handle(), &source, 0, &blend, ULW_ALPHA);
      ReleaseDC(nullptr, screen);
      return done != FALSE;
    });
    WriteSkin(L"Border", BorderSkinText());
    skins.Write(L"Border", L"master.bmp", Bmp24(360, 60, MasterPixel));
    manager->AnimEffects()->Buttons()->SetEvents({});
    manager->SetExtendedBorders(true);
    form->SetBounds(kLeft, kTop, 400, 300);
    form->SetCaption(L"Border");
    form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
    form->HandleNeeded();
    provider = NewProvider(form.get());
    ShowWindow(Wnd(), SW_SHOWNOACTIVATE);
    form->SetVisible(true);
    manager->SetSkinName(L"Border");
    ASSERT_TRUE(provider->FormSkinned());
    SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
    provider->InitExBorders(manager->ExtendedBorders());
    border = provider->ExtBorderForm();
    ASSERT_NE(border, nullptr);
    ASSERT_NE(border->BorderWindow(), nullptr);
    // The form's region follows at its next frame painting.
    SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  }
  void TearDown() override {
    FormSkinTest::TearDown();
    SetLayeredUpdateFunc(previous_update_);
    SetDwmBindings(nullptr);
  }
  HWND BorderWnd() { return border->BorderWindow(); }
  // A point of the border window (its own coordinates) on the screen, as a mouse message
  // carries it.
  LPARAM Screen(int x, int y) {
    const vcl::TRect box = WindowBox(BorderWnd());
    return MAKELPARAM(static_cast<WORD>(box.Left + x), static_cast<WORD>(box.Top + y));
  }
  int HitAt(int x, int y) {
    vcl::TMessage m{WM_NCHITTEST, 0, Screen(x, y), 0};
    return border->HitTest(m);
  }
  int Width() { return WndWidth(BorderWnd()); }
  int Height() { return WndHeight(BorderWnd()); }
  // The work area of the form's monitor.
  RECT WorkArea() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(Wnd(), MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
  }
  // A double click at a point of the border window, placed over the form first.
  void DoubleClickBorder(int x, int y) {
    border->UpdateExBordersPos(true, 255);
    SendMessageW(BorderWnd(), WM_NCLBUTTONDBLCLK, 19, Screen(x, y));
  }
  vcl::TRect FormBounds() { return vcl::Rect(form->Left(), form->Top(), form->Width(), form->Height()); }
  // The border window's place for the form's window where it stands.
  vcl::TRect Expected() {
    const vcl::TRect w = WindowBox(Wnd());
    vcl::TBitmap* image = provider->SkinData->CacheBmp();
    const int x = w.Left - border->ShadowOffsetX(), y = w.Top - border->ShadowOffsetY();
    return vcl::Rect(x, y, x + image->Width(), y + image->Height());
  }

  struct Update {
    HWND Wnd;
    int Width, Height;
    std::uint8_t Alpha;
    vcl::TPoint Dest;
    int ClientAlpha;
    bool PartlyTransparent;  // some pixel neither clear nor opaque
    bool WindowImage;        // the provider's window image itself
    std::uint32_t Centre;    // the picture's middle pixel
  };
  std::vector<Update> updates;
  // The last picture sent to the border window, row by row.
  std::vector<std::uint32_t> sentPicture;
  int sentWidth = 0;
  std::uint32_t Sent(int x, int y) const { return sentPicture.at(static_cast<std::size_t>(y * sentWidth + x)); }
  TqvBorderForm* border = nullptr;

 private:
  TLayeredUpdateFunc previous_update_;
};

// Z-order

// Where the border window, its form and a window over them stand among the shown top-level
// windows (from the top, -1 for none).
struct Stacking {
  int Border, Form, Cover;
  bool Beside() const { return Border >= 0 && Form >= 0 && std::abs(Border - Form) == 1; }
  bool Covered() const { return Beside() && Cover >= 0 && Cover < std::min(Border, Form); }
  bool InFront() const { return Beside() && Cover > std::max(Border, Form); }
};

std::ostream& operator<<(std::ostream& os, const Stacking& s) {
  return os << "border " << s.Border << ", form " << s.Form << ", cover " << s.Cover;
}

class BorderStackingTest : public BorderFormTest {
 protected:
  void SetUp() override {
    BorderFormTest::SetUp();
    if (HasFatalFailure()) return;
    // The other window takes the foreground as it shows, and the tests click.
    pointer_.emplace();
    cover->SetBounds(kLeft - 60, kTop - 60, 300, 200);
    cover->SetCaption(L"Cover");
    cover->HandleNeeded();
    cover->Show();
  }
  void TearDown() override {
    if (cover->HandleAllocated() && cover->Visible()) cover->Hide();
    BorderFormTest::TearDown();
    pointer_.reset();
  }
  Stacking Now() {
    std::vector<HWND> order;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
      if (IsWindowVisible(w)) order.push_back(w);
    auto place = [&](HWND wnd) {
      const auto it = std::find(order.begin(), order.end(), wnd);
      return wnd && it != order.end() ? static_cast<int>(it - order.begin()) : -1;
    };
    const TqvBorderForm* own = provider->ExtBorderForm();
    return {place(own ? own->BorderWindow() : nullptr), place(Wnd()), place(cover->Handle())};
  }
  // Every message handled (the display's answer to a window shown among them), then the
  // stacking the test needs.
  ::testing::AssertionResult Settles(bool (Stacking::*Wanted)() const) {
    wintest::PumpUntilIdle();
    if (wintest::PumpUntil([&] { return (Now().*Wanted)(); })) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Now();
  }
  void Activate(HWND Wnd) {
    SetForegroundWindow(Wnd);
    ASSERT_TRUE(wintest::PumpUntil([&] { return GetForegroundWindow() == Wnd; }));
  }
  // A real click at a screen point of Wnd's client part, as a user activates a window.
  void ClickInto(HWND Wnd, POINT At) {
    ASSERT_TRUE(wintest::MovePointer(At.x, At.y));
    ASSERT_EQ(WindowFromPoint(At), Wnd);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
    ASSERT_TRUE(wintest::PumpUntil([&] { return GetForegroundWindow() == Wnd; }));
  }
  void SwitchOn() {
    manager->SetExtendedBorders(false);
    ASSERT_EQ(provider->ExtBorderForm(), nullptr);
    manager->SetExtendedBorders(true);
    ASSERT_NE(provider->ExtBorderForm(), nullptr);
  }
  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> cover = NewForm();

 private:
  std::optional<wintest::PointerLock> pointer_;
};

// Extended borders switched on through the manager while another window covers the form: the
// border window stands right beside its form, below the cover, once the display has shown it;
// switched off and on again the same. Clicks afterwards take both along: the form clicked
// stands with its border above the cover, the cover clicked again above both.
TEST_F(BorderStackingTest, SwitchedOnBehindAnotherWindowTheBorderWindowStaysBesideItsForm) {
  for (const char* round : {"switched on", "switched off and on again"}) {
    SCOPED_TRACE(round);
    ASSERT_NO_FATAL_FAILURE(Activate(cover->Handle()));
    ASSERT_NO_FATAL_FAILURE(SwitchOn());
    EXPECT_TRUE(Settles(&Stacking::Covered));
  }
  // Clear of the other window's rectangle: the form's client part and the cover's.
  ASSERT_NO_FATAL_FAILURE(ClickInto(Wnd(), POINT{kLeft + 350, kTop + 250}));
  EXPECT_TRUE(Settles(&Stacking::InFront)) << "the form clicked";
  ASSERT_NO_FATAL_FAILURE(ClickInto(cover->Handle(), POINT{kLeft - 40, kTop - 20}));
  EXPECT_TRUE(Settles(&Stacking::Covered)) << "the cover clicked again";
}

// The mirror cases: switched on with the form in front of the other window, and while the form
// is minimised (its border window with it when it is restored).
TEST_F(BorderStackingTest, SwitchedOnInFrontOrMinimisedTheBorderWindowStandsBesideItsForm) {
  ASSERT_NO_FATAL_FAILURE(Activate(Wnd()));
  ASSERT_NO_FATAL_FAILURE(SwitchOn());
  EXPECT_TRUE(Settles(&Stacking::InFront)) << "in front";

  manager->AnimEffects()->Minimizing()->SetActive(false);
  ASSERT_NO_FATAL_FAILURE(Activate(cover->Handle()));
  manager->SetExtendedBorders(false);
  SendMessageW(Wnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(IsIconic(Wnd()));
  manager->SetExtendedBorders(true);
  wintest::PumpUntilIdle();
  SendMessageW(Wnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_FALSE(IsIconic(Wnd()));
  ASSERT_NE(provider->ExtBorderForm(), nullptr);
  EXPECT_TRUE(Settles(&Stacking::Beside)) << "restored";
}

// A form under another window shown after it, its frame painted anew (the picture and region
// sent to the border window again): the border window stays below the other window.
TEST_F(BorderStackingTest, ACoveredFormPaintedAgainKeepsItsBorderWindowBelowTheCover) {
  ASSERT_TRUE(Settles(&Stacking::Covered));
  for (int i = 0; i < 2; ++i) {
    provider->SkinData->BGChanged = true;
    provider->ExtBorderForm()->UpdateExBordersPos(true, 255);
    EXPECT_TRUE(Settles(&Stacking::Covered)) << "update " << i;
  }
}

// Geometry

TEST_F(BorderFormTest, TheBorderWindowFollowsMovesAndSizes) {
  EXPECT_TRUE(AeroIsEnabled());
  EXPECT_EQ(border->ShadowMargins(), vcl::Rect(kShadow, kShadow, kShadow, kShadow));
  const int frame = SysBorderWidth(Wnd(), nullptr, false);
  EXPECT_EQ(border->ShadowOffsetX(), 4 - frame + kShadow);
  // A layered, never activated tool window owned by the form, right behind it.
  const HWND wnd = BorderWnd();
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_EQ(GetWindow(wnd, GW_OWNER), Wnd());
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & 0x08080080, 0x08080080);
  EXPECT_EQ(WindowBox(wnd), Expected());
  ASSERT_FALSE(updates.empty());
  EXPECT_EQ(updates.back().Wnd, wnd);
  EXPECT_EQ(updates.back().Width, Width());
  EXPECT_EQ(updates.back().Alpha, 255);
  // The form's client part goes out fully transparent (without composition the system draws
  // layered windows without their regions); the window image keeps it opaque.
  EXPECT_EQ(updates.back().ClientAlpha, 0);
  const TqvWindowImage& shown = provider->WindowImage();
  EXPECT_EQ(PixelOf(provider->SkinData->CacheBmp(), shown.OffsetX() + 20, shown.OffsetY() + 20) >> 24, 255u);

  // The form's move takes the border window along.
  form->SetBounds(kLeft + 30, kTop + 20, 400, 300);
  EXPECT_EQ(WindowBox(wnd), Expected());
  // A plain update only moves: no picture is sent.
  SetWindowPos(wnd, nullptr, kLeft, kTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const std::size_t sent = updates.size();
  border->UpdateExBordersPos(false, 255);
  EXPECT_EQ(WindowBox(wnd), Expected());
  EXPECT_EQ(updates.size(), sent);

  // A new size sends the repainted picture at the new size.
  form->SetBounds(kLeft + 30, kTop + 20, 450, 320);
  provider->SkinData->BGChanged = true;
  border->UpdateExBordersPos(false, 255);
  EXPECT_EQ(WindowBox(wnd), Expected());
  EXPECT_EQ(Width(), 450 + 2 * BorderFormOffsetX(border) + 2 * kShadow);
  ASSERT_GT(updates.size(), sent);
  EXPECT_EQ(updates.back().Height, Height());
  EXPECT_EQ(updates.back().Dest, Expected().TopLeft());

  // Animations pass their alpha through.
  border->UpdateExBordersPos(true, 128);
  EXPECT_EQ(updates.back().Alpha, 128);

  // A form found hidden drops its border window; the next update makes it again.
  const LONG_PTR style = GetWindowLongPtrW(Wnd(), GWL_STYLE);
  SetWindowLongPtrW(Wnd(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
  border->UpdateExBordersPos(false, 255);
  EXPECT_EQ(border->BorderWindow(), nullptr);
  EXPECT_FALSE(IsWindow(wnd));
  SetWindowLongPtrW(Wnd(), GWL_STYLE, style);
  border->UpdateExBordersPos(false, 255);
  ASSERT_NE(border->BorderWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(border->BorderWindow()));
  EXPECT_EQ(WindowBox(border->BorderWindow()), Expected());
}

TEST_F(BorderFormTest, GluedFormsTouchByTheirOuterRectanglesAndFollowTheBorderWindow) {
  // A second skinned form with its own border form, its outer left edge on the first one's
  // outer right edge.
  auto other = NewForm();
  other->SetName(L"GluedToBorder");
  other->HandleNeeded();
  ProviderPtr otherProvider = NewProvider(other.get());
  ShowWindow(other->Handle(), SW_SHOWNOACTIVATE);
  other->SetVisible(true);
  SendMessageW(other->Handle(), WM_NCPAINT, 1, 0);
  otherProvider->InitExBorders(true);
  ASSERT_NE(otherProvider->ExtBorderForm(), nullptr);
  const vcl::TRect outer = provider->AdjustForBorderForm(WindowBox(Wnd()), true);
  EXPECT_LT(outer.Left, WindowBox(Wnd()).Left);
  const int grow = WindowBox(Wnd()).Left - outer.Left;
  other->SetBounds(outer.Right + grow, kTop + 10, 300, 200);
  ASSERT_EQ(otherProvider->AdjustForBorderForm(WindowBox(other->Handle()), true).Left, outer.Right);
  provider->GluedForms()->Add(L"GluedToBorder");
  provider->UpdateGluedForms();
  ASSERT_EQ(GluedList().size(), 1u);
  // The form moves; its border window follows and drags the glued form along.
  form->SetBounds(kLeft - 30, kTop + 20, 400, 300);
  const vcl::TRect moved = provider->AdjustForBorderForm(WindowBox(Wnd()), true);
  EXPECT_EQ(otherProvider->AdjustForBorderForm(WindowBox(other->Handle()), true).Left, moved.Right);
  EXPECT_EQ(WindowBox(other->Handle()).Top, kTop + 30);
  EXPECT_EQ(WindowBox(BorderWnd()), Expected());
  other->Hide();
  otherProvider.reset();
}

// The form's own window keeps the system's caption and menu bar under the border window: the
// skinned menu line is painted over the whole of the real menu bar, and not into the client
// area below it.
TEST_F(BorderFormTest, TheMenuLineCoversTheFormsOwnMenuBarAndNoMore) {
  auto* menu = new vcl::TMainMenu(form.get());
  auto* item = new vcl::TMenuItem(menu);
  item->SetCaption(L"&Skin");
  menu->Items()->Add(item);
  form->SetMenu(menu);
  SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  ASSERT_TRUE(provider->Measures().HasMenuLine());
  MENUBARINFO bar{};
  bar.cbSize = sizeof bar;
  ASSERT_TRUE(GetMenuBarInfo(Wnd(), OBJID_MENU, 0, &bar));
  const vcl::TRect window = WindowBox(Wnd());
  POINT client{0, 0};
  ClientToScreen(Wnd(), &client);
  const int clientTop = client.y - window.Top;
  const int barTop = bar.rcBar.top - window.Top, barBottom = std::min<int>(bar.rcBar.bottom - window.Top, clientTop);
  ASSERT_LT(barTop, barBottom);
  constexpr COLORREF kMarker = RGB(0xFF, 0x00, 0xFF);
  HDC dc = GetWindowDC(Wnd());
  ASSERT_TRUE(dc);
  HBRUSH brush = CreateSolidBrush(kMarker);
  const RECT all{0, 0, WndWidth(Wnd()), WndHeight(Wnd())};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  provider->SkinData->BGChanged = true;
  SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  const int x = client.x - window.Left + 20;
  for (int y = barTop; y < barBottom; ++y) EXPECT_NE(GetPixel(dc, x, y), kMarker) << "menu bar row " << y;
  for (int y = clientTop; y < clientTop + 12; ++y) EXPECT_EQ(GetPixel(dc, x, y), kMarker) << "client row " << y;
  ReleaseDC(Wnd(), dc);
  form->SetMenu(nullptr);
}

// An item of the menu line paints where the image's menu line is: the system's menu bar row of
// the form's window, which the image holds lower by the skin's taller caption. Placed by the
// window's rows alone, its top rows went under the caption and were never shown.
struct ItemMarker {
  static constexpr COLORREF kColor = RGB(0x10, 0xE0, 0x30);
  std::vector<vcl::TRect> Rects;
  void Draw(vcl::TObject*, vcl::TCanvas* Canvas, vcl::TRect R, vcl::TOwnerDrawState) {
    Rects.push_back(R);
    Canvas->Brush()->SetColor(static_cast<vcl::TColor>(kColor));
    Canvas->FillRect(R);
  }
};

TEST_F(BorderFormTest, MenuLineItemsStandWholeOnTheShownMenuLine) {
  ASSERT_GT(BorderFormOffsetY(border), 0);  // the skin's caption is taller than the system's
  auto* menu = new vcl::TMainMenu(form.get());
  auto* item = new vcl::TMenuItem(menu);
  item->SetCaption(L"&Skin");
  ItemMarker marker;
  item->OnAdvancedDrawItem = vcl::TAdvancedMenuDrawItemEvent::Bind<&ItemMarker::Draw>(&marker);
  menu->Items()->Add(item);
  form->SetMenu(menu);
  SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  marker.Rects.clear();
  provider->SkinData->BGChanged = true;
  SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  ASSERT_FALSE(marker.Rects.empty());
  const vcl::TRect drawn = marker.Rects.back();
  // In the image: on the menu line below the caption, as far down in it as the system lays
  // the item out in the window's menu band (the rows above the client area).
  const int band = provider->Measures().MenuLinesCount() * provider->Measures().MenuHeight() + 1;
  const int lineTop = provider->WindowImage().OffsetY() - band;
  ASSERT_EQ(lineTop, provider->Measures().CaptionHeight(true) + provider->WindowImage().ShadowSize().Top);
  RECT r{};
  ASSERT_TRUE(GetMenuItemRect(Wnd(), GetMenu(Wnd()), 0, &r));
  const vcl::TRect window = WindowBox(Wnd());
  POINT client{0, 0};
  ClientToScreen(Wnd(), &client);
  EXPECT_EQ(drawn.Top - lineTop, r.top - (client.y - band));
  EXPECT_LE(drawn.Bottom, provider->WindowImage().OffsetY());
  vcl::TBitmap* image = provider->SkinData->CacheBmp();
  const int x = (drawn.Left + drawn.Right) / 2;
  const TPixel32 painted = PixelOf(image, x, drawn.Top) & 0xFFFFFF;
  EXPECT_EQ(painted, 0x10E030u);  // the image's pixels are blue, green, red
  for (int y = 0; y < lineTop; ++y) EXPECT_NE(PixelOf(image, x, y) & 0xFFFFFF, painted) << "image row " << y;

  // On the form's window: every row of the item shows where the system has it.
  HDC dc = GetWindowDC(Wnd());
  ASSERT_TRUE(dc);
  const int wx = (r.left + r.right) / 2 - window.Left;
  for (int y = r.top - window.Top; y < r.top - window.Top + drawn.Height(); ++y)
    EXPECT_EQ(GetPixel(dc, wx, y), ItemMarker::kColor) << "menu bar row " << y;
  ReleaseDC(Wnd(), dc);
  form->SetMenu(nullptr);
}

// The sample skin's extended border is a soft shadow. A display without per-pixel alpha
// (Wine without a compositing manager) showed it as a dark opaque band round the form: there
// the border window gets it all or nothing; elsewhere the window image as painted.
TEST_F(BorderFormTest, TheSoftShadowGoesOutAllOrNothingWithoutPerPixelAlpha) {
  ASSERT_NO_FATAL_FAILURE(WearTheSampleSkin());
  const std::optional<bool> before = SetPerPixelAlphaShown(true);
  for (const bool perPixel : {true, false, true}) {
    SetPerPixelAlphaShown(perPixel);
    updates.clear();
    provider->SkinData->BGChanged = true;
    border->UpdateExBordersPos(true, 255);
    const auto sent = std::find_if(updates.rbegin(), updates.rend(), [&](const Update& u) { return u.Wnd == BorderWnd(); });
    ASSERT_NE(sent, updates.rend()) << perPixel;
    EXPECT_EQ(sent->PartlyTransparent, perPixel);
    EXPECT_EQ(sent->WindowImage, perPixel);
    EXPECT_EQ(sent->ClientAlpha, 0);  // the form's own part is clear either way
    TPixelView image;
    ASSERT_TRUE(InitPixelView(provider->SkinData->CacheBmp(), image));
    EXPECT_TRUE(HasPartialAlpha(image));  // the window image keeps its soft shadow
  }
  SetPerPixelAlphaShown(before);
}

// The sample skin's extended border reaches the form offset into the form's window, where the
// border window shows it instead of the form's frame: the left, right and bottom sides of the
// frame go out opaque in both caption states, with and without per-pixel alpha (see-through,
// they were cleared where the display shows none, and the form had no frame there), while the
// shadow outside them stays soft and the client part clear.
TEST_F(BorderFormTest, TheSampleSkinsFrameSidesShowOnTheBorderWindow) {
  ASSERT_NO_FATAL_FAILURE(WearTheSampleSkin());
  const std::optional<bool> before = SetPerPixelAlphaShown(true);
  const vcl::TScopeExit restore([&] { SetPerPixelAlphaShown(before); });
  std::uint32_t lines[2] = {};
  for (const bool perPixel : {true, false}) {
    for (const bool active : {false, true}) {
      SCOPED_TRACE(testing::Message() << "per-pixel alpha " << perPixel << ", active " << active);
      SetPerPixelAlphaShown(perPixel);
      provider->FormActive = active;
      sentPicture.clear();
      provider->SkinData->BGChanged = true;
      border->UpdateExBordersPos(true, 255);
      ASSERT_FALSE(sentPicture.empty());
      const TqvWindowImage& shown = provider->WindowImage();
      const vcl::TRect s = border->ShadowMargins();
      const int w = sentWidth, h = static_cast<int>(sentPicture.size()) / sentWidth;
      const int midX = w / 2, midY = (shown.OffsetY() + h - s.Bottom) / 2;
      // The frame's outer edge (one side each) and the pixel just inside the client part.
      for (int d = 0; d < shown.OffsetX() - s.Left; ++d) {
        EXPECT_EQ(Sent(s.Left + d, midY) >> 24, 0xFFu) << "left " << d;
        EXPECT_EQ(Sent(w - s.Right - 1 - d, midY) >> 24, 0xFFu) << "right " << d;
        EXPECT_EQ(Sent(midX, h - s.Bottom - 1 - d) >> 24, 0xFFu) << "bottom " << d;
      }
      // Outside the frame the shadow is never opaque; inside it the client part is clear.
      EXPECT_LT(Sent(s.Left - 1, midY) >> 24, 0xFFu);
      EXPECT_LT(Sent(w - s.Right, midY) >> 24, 0xFFu);
      EXPECT_LT(Sent(midX, h - s.Bottom) >> 24, 0xFFu);
      EXPECT_EQ(Sent(shown.OffsetX() + 20, midY) >> 24, 0u);
      // The sides show the caption state's outline.
      EXPECT_EQ(Sent(s.Left, midY), Sent(w - s.Right - 1, midY));
      EXPECT_EQ(Sent(s.Left, midY), Sent(midX, h - s.Bottom - 1));
      lines[active] = Sent(s.Left, midY);
    }
    EXPECT_NE(lines[0], lines[1]);
  }
}

// The blur behind the border window covers the frame's rectangle less the pure black pixels of
// the picture's four corner squares, FORMOFFSET pixels and one wide and high. Under a skin
// without an extended-border picture (the start-up shadow, whose pixels are black) and a black
// title, for offsets of none, a few pixels, the squares just apart and just meeting, the whole
// picture and one more, 100000 and 2147483647: each pixel of the region as that rule gives it,
// black pixels cut where a square reaches them, and the region made at once (an offset beyond
// the picture walked the squares without end).
HRGN g_blur = nullptr;
HRESULT WINAPI KeepBlur(HWND, const TqvDwmBlurBehind* Blur) {
  if (g_blur) DeleteObject(g_blur);
  g_blur = nullptr;
  if (Blur && Blur->RgnBlur) {
    g_blur = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(g_blur, Blur->RgnBlur, nullptr, RGN_COPY);
  }
  return S_OK;
}

TEST_F(BorderFormTest, TheBlurLeavesOutTheBlackPixelsOfTheCornersWhateverTheSkinsOffset) {
  TqvDwmBindings dwm;
  dwm.IsCompositionEnabled = &CompositionOn;
  dwm.SetWindowAttribute = &AnyAttribute;
  dwm.EnableBlurBehindWindow = &KeepBlur;
  SetDwmBindings(&dwm);
  const vcl::TScopeExit forget([] {
    if (g_blur) DeleteObject(g_blur);
    g_blur = nullptr;
  });
  auto skinText = [](const std::string& Offset) {
    std::string text = BorderSkinText();
    auto change = [&](const std::string& From, const std::string& To) { text.replace(text.find(From), From.size(), To); };
    const std::size_t exBorder = text.find("EXBORDER=");
    text.erase(exBorder, text.find("\r\n", exBorder) + 2 - exBorder);
    change("FORMOFFSET=4", "FORMOFFSET=" + Offset + "\r\nAEROBLUR=1");
    change("COLOR=$406080\r\nHOTCOLOR=$3060C0", "COLOR=$000000\r\nHOTCOLOR=$000000");
    return text;
  };
  // The picture's size under a skin of a plain offset, for the offsets at its bounds.
  WriteSkin(L"Blur4", skinText("4"));
  skins.Write(L"Blur4", L"master.bmp", Bmp24(360, 60, MasterPixel));
  manager->SetSkinName(L"Blur4");
  ASSERT_TRUE(provider->FormSkinned());
  border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);
  provider->SkinData->BGChanged = true;
  border->UpdateExBordersPos(true, 255);
  vcl::TBitmap* first = provider->SkinData->CacheBmp();
  ASSERT_NE(first, nullptr);
  const int width = first->Width(), height = first->Height();
  const vcl::TRect s = border->ShadowMargins();
  const int apart = (width - s.Left - s.Right) / 2 - 1;  // the left and right squares end side by side

  int cutSomewhere = 0;
  for (const long long offset : {0LL, 4LL, apart - 1LL, static_cast<long long>(apart), width - 1LL,
                                 static_cast<long long>(width), 100000LL, 2147483647LL}) {
    SCOPED_TRACE(testing::Message() << "FORMOFFSET=" << offset);
    const std::wstring name = L"Blur" + std::to_wstring(offset);
    WriteSkin(name.c_str(), skinText(std::to_string(offset)));
    skins.Write(name.c_str(), L"master.bmp", Bmp24(360, 60, MasterPixel));
    manager->SetSkinName(name);
    ASSERT_TRUE(provider->FormSkinned());
    border = provider->ExtBorderForm();
    ASSERT_NE(border, nullptr);
    if (g_blur) DeleteObject(g_blur);
    g_blur = nullptr;
    provider->SkinData->BGChanged = true;
    border->UpdateExBordersPos(true, 255);
    ASSERT_NE(g_blur, nullptr);
    TPixelView picture;
    ASSERT_TRUE(InitPixelView(provider->SkinData->CacheBmp(), picture));
    ASSERT_EQ(picture.Width, width);
    ASSERT_EQ(picture.Height, height);
    const vcl::TRect m = border->ShadowMargins();
    const long long corner = offset;
    auto inSquares = [&](int x, int y) {
      const bool column = (x >= m.Left - 1 && x <= m.Left - 1 + corner) ||
                          (x >= width - m.Right - corner && x <= width - m.Right);
      const bool row = (y >= m.Top - 1 && y <= m.Top - 1 + corner) ||
                       (y >= height - m.Bottom - corner && y <= height - m.Bottom);
      return corner > 0 && column && row;
    };
    int wrong = 0, cut = 0, blackKept = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const bool inFrame = x >= m.Left - 1 && x < width - m.Right + 1 && y >= m.Top - 1 && y < height - m.Bottom + 1;
        const bool black = (picture.Row(y)[x] & 0xFFFFFFu) == 0;
        const bool expected = inFrame && !(black && inSquares(x, y));
        const bool in = PtInRegion(g_blur, x, y) != FALSE;
        if (in != expected && ++wrong <= 5) ADD_FAILURE() << "pixel " << x << "," << y << (in ? " in" : " out");
        cut += inFrame && !in;
        blackKept += inFrame && black && in;
      }
    EXPECT_EQ(wrong, 0);
    // The title is black: a corner reaching past half the picture leaves none of it.
    EXPECT_TRUE(offset < width || blackKept == 0) << blackKept;
    EXPECT_EQ(cut > 0, offset > 0) << cut;
    cutSomewhere += cut;
  }
  EXPECT_GT(cutSomewhere, 0);
}

// Under the sample skin without its title section the title buttons stand on the form's light
// face: the border window shows the system's buttons there, each sign standing off its face,
// with the caption active and inactive (another window activated).
TEST_F(BorderFormTest, WithoutTheTitleSectionTheBorderWindowsTitleButtonsStayReadable) {
  ASSERT_NO_FATAL_FAILURE(CopySampleSkin(skins, L"Lagoon", L"Untitled", "FORMTITLE"));
  manager->SetSkinName(L"Untitled");
  ASSERT_TRUE(provider->FormSkinned());
  border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);
  auto other = NewForm();
  other->SetBounds(20, 20, 200, 100);
  const TqvCaptionButtons& buttons = provider->CaptionButtons();
  for (const bool active : {true, false}) {
    SCOPED_TRACE(active ? "active" : "inactive");
    sentPicture.clear();
    ActivateFormOrOther(Wnd(), *other, active);
    ASSERT_EQ(provider->FormActive, active);
    // What the activation sent the border window: the window image, shadow margins included.
    ASSERT_FALSE(sentPicture.empty());
    ASSERT_EQ(sentWidth, provider->SkinData->CacheBmp()->Width());
    for (const TsCaptionButton* b : {&buttons.BtnClose, &buttons.BtnMaximize, &buttons.BtnMinimize}) {
      SCOPED_TRACE(b->HitCode);
      ASSERT_FALSE(b->Rect.IsEmpty());
      ASSERT_LE(b->Rect.Bottom * sentWidth, static_cast<int>(sentPicture.size()));
      EXPECT_GE(ContrastingPixels([&](int x, int y) { return Sent(x, y); }, b->Rect), 10);
    }
  }
  other->Hide();
}

TEST_F(BorderFormTest, TheRegionLeavesTheClientAreaToTheForm) {
  const HWND wnd = BorderWnd();
  const int x = provider->WindowImage().OffsetX(), y = provider->WindowImage().OffsetY();
  EXPECT_FALSE(InWindowRegion(wnd, x + 10, y + 10));
  EXPECT_FALSE(InWindowRegion(wnd, x + ClientWidthOf(Wnd()) - 1, y + ClientHeightOf(Wnd()) - 1));
  EXPECT_TRUE(InWindowRegion(wnd, x + ClientWidthOf(Wnd()), y + 10));
  EXPECT_TRUE(InWindowRegion(wnd, x + 10, y - 1));  // the caption
  EXPECT_TRUE(InWindowRegion(wnd, 1, 1));           // the shadow
  EXPECT_FALSE(InWindowRegion(Wnd(), 1, 1));  // the form's own window keeps only its client part
}

TEST_F(BorderFormTest, AnUpdateRunningOrFailingNeverHoldsTheBorderForGood) {
  const HWND wnd = BorderWnd();
  const vcl::TRect before = WindowBox(wnd);
  // While one runs (or an animation owns the window) another does nothing.
  border->Busy = true;
  form->SetBounds(kLeft + 10, kTop, 400, 300);
  border->UpdateExBordersPos(false, 255);
  EXPECT_EQ(WindowBox(wnd), before);
  border->Busy = false;
  // An update that finds no picture to show leaves the border free for the next one.
  provider->SkinData->FreeCacheBmp();
  const int section = provider->SkinData->SkinIndex;
  provider->SkinData->SkinIndex = -1;
  provider->SkinData->BGChanged = true;
  border->UpdateExBordersPos(true, 255);
  EXPECT_FALSE(border->Busy);
  provider->SkinData->SkinIndex = section;
  border->UpdateExBordersPos(true, 255);
  EXPECT_FALSE(border->Busy);
  EXPECT_EQ(WindowBox(wnd), Expected());
}

TEST_F(BorderFormTest, TheShadowBandShowsTheExtendedBorderOfTheCaptionState) {
  vcl::TBitmap* image = provider->SkinData->CacheBmp();
  for (bool active : {true, false}) {
    provider->FormActive = active;
    Repaint();
    const std::uint32_t want = active ? kBorderActive : kBorderInactive;
    EXPECT_EQ(PixelOf(image, 1, image->Height() / 2) & 0xFFFFFF, want);
    EXPECT_EQ(PixelOf(image, image->Width() / 2, image->Height() - 2) & 0xFFFFFF, want);
    // The client part keeps the form's colour.
    const TqvWindowImage& shown = provider->WindowImage();
    EXPECT_EQ(PixelOf(image, shown.OffsetX() + 20, shown.OffsetY() + 20) & 0xFFFFFF, 0xC0B0A0u);
  }
}

// The mouse

TEST_F(BorderFormTest, EdgesAnswerWithinTheAlignOffsets) {
  const int w = Width(), h = Height();
  const int f = SysBorderWidth(Wnd(), nullptr, false);
  auto at = [](const vcl::TRect& r) { return vcl::TPoint(r.Left + 5, r.Top + 5); };
  const std::pair<vcl::TPoint, int> cases[] = {
      {{kShadow + 1, kShadow + 1}, HTTOPLEFT},   {{w / 2, kShadow}, HTTOP},
      {{w / 2, kShadow + 4}, HTTOP},  // five pixels high
      {{w / 2, kShadow + 5}, HTCAPTION},         {{kShadow, h / 2}, HTLEFT},
      {{kShadow + f, h / 2}, HTLEFT},            {{w - kShadow, h / 2}, HTRIGHT},
      {{w / 2, h - kShadow}, HTBOTTOM},          {{w / 2, h - kShadow - f}, HTBOTTOM},
      {{w - kShadow, h - kShadow}, HTBOTTOMRIGHT}, {{kShadow, h - kShadow}, HTBOTTOMLEFT},
      {{w - kShadow - 1, kShadow + 1}, HTTOPRIGHT},
      {{kShadow - 1, h / 2}, -1},  // without align offsets the frame ends at the shadow margins
      {at(provider->CaptionButtons().BtnClose.Rect), HTCLOSE},
      {at(provider->CaptionButtons().BtnMaximize.Rect), HTMAXBUTTON},
      {at(provider->CaptionButtons().BtnMinimize.Rect), HTMINBUTTON}, {{w / 2, kShadow + 12}, HTCAPTION}};
  for (const auto& [p, code] : cases) EXPECT_EQ(HitAt(p.X, p.Y), code) << p.X << "," << p.Y;
  // The left, right and bottom bands end one frame width in (both ends probed); the next
  // column or row in is not theirs.
  const std::pair<vcl::TPoint, int> inner[] = {
      {{w - kShadow - f, h / 2}, HTRIGHT},     {{w - kShadow - f - 1, h / 2}, -1},
      {{kShadow + f + 1, h / 2}, -1},          {{w / 2, h - kShadow - f - 1}, -1},
      {{w - kShadow - f, h - kShadow - f}, HTBOTTOMRIGHT}, {{kShadow + f, h - kShadow - f}, HTBOTTOMLEFT}};
  for (const auto& [p, code] : inner) EXPECT_EQ(HitAt(p.X, p.Y), code) << p.X << "," << p.Y;
  auto inShadow = [&](int x, int y) {
    vcl::TMessage m{WM_NCHITTEST, 0, Screen(x, y), 0};
    return border->InShadow(m);
  };
  EXPECT_FALSE(inShadow(kShadow, h / 2));
  EXPECT_TRUE(inShadow(kShadow - 1, h / 2));
  // Positive offsets reach that far into the shadow.
  manager->Skin().SkinData.AlignOffset = 3;
  EXPECT_EQ(HitAt(kShadow - 3, h / 2), HTLEFT);
  EXPECT_EQ(HitAt(kShadow - 4, h / 2), -1);
  EXPECT_FALSE(inShadow(kShadow - 3, h / 2));
  manager->Skin().SkinData.AlignOffset = 0;
  const vcl::TRect icon = provider->CaptionButtons().IconRect;
  EXPECT_EQ(HitAt(icon.Left + 1, icon.Top + 1), HTSYSMENU);
  // The application's own answer comes first.
  provider->OnExtHitTest = TqvNCHitTestEvent::FromFunction(
      [](void*, vcl::TMessage& m) { m.Result = HTHELP; }, nullptr);
  EXPECT_EQ(HitAt(w / 2, kShadow + 12), HTHELP);
  provider->OnExtHitTest = {};
  EnableWindow(Wnd(), FALSE);
  EXPECT_EQ(HitAt(w / 2, kShadow + 12), -1);
  EnableWindow(Wnd(), TRUE);

  // The border window's own answer: the frame's clicks become non-client ones.
  EXPECT_EQ(SendMessageW(BorderWnd(), WM_NCHITTEST, 0, Screen(w / 2, kShadow + 12)), 19);
  EXPECT_NE(SendMessageW(BorderWnd(), WM_NCHITTEST, 0, Screen(2, h / 2)), 19);
}

TEST_F(BorderFormTest, TheMouseFallsThroughTheShadow) {
  const HWND wnd = BorderWnd();
  const int h = Height();
  ASSERT_TRUE(InWindowRegion(wnd, 2, h / 2));
  // The first mouse message in the shadow cuts a hole under it.
  SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, h / 2));
  EXPECT_FALSE(InWindowRegion(wnd, 2, h / 2));
  EXPECT_TRUE(InWindowRegion(wnd, 3, h / 2));
  EXPECT_TRUE(border->RgnResetPending);
  // Back over the frame the full region returns.
  SendMessageW(wnd, WM_NCMOUSEMOVE, 19, Screen(Width() / 2, kShadow + 12));
  vcl::TMessage frame{WM_NCHITTEST, 0, Screen(Width() / 2, kShadow + 12), 0};
  EXPECT_FALSE(border->InShadow(frame));  // the hit test over the frame gives the region back
  EXPECT_FALSE(border->RgnResetPending);
  EXPECT_TRUE(InWindowRegion(wnd, 2, h / 2));
}

TEST_F(BorderFormTest, ClicksOnTheFrameGoToTheForm) {
  MessageSpy spy(form.get(), WM_NCLBUTTONDOWN);
  std::vector<WPARAM>& downs = spy.seen[WM_NCLBUTTONDOWN];
  const vcl::TRect close = provider->CaptionButtons().BtnClose.Rect;
  // The form asks the border form for the title button's code itself (-1); the icon's it is told.
  SendMessageW(BorderWnd(), WM_NCLBUTTONDOWN, 19, Screen(close.Left + 5, close.Top + 5));
  const vcl::TRect icon = provider->CaptionButtons().IconRect;
  SendMessageW(BorderWnd(), WM_NCLBUTTONDOWN, 19, Screen(icon.Left + 1, icon.Top + 1));
  SendMessageW(BorderWnd(), WM_NCLBUTTONDOWN, 19, Screen(2, Height() / 2));  // the shadow: nothing
  EXPECT_EQ(downs, (std::vector<WPARAM>{static_cast<WPARAM>(-1), HTSYSMENU}));
  // The border window never activates.
  EXPECT_EQ(SendMessageW(BorderWnd(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Wnd()), 0), MA_NOACTIVATE);
}

// Minimised by its command, the form lets its border window go and wears its own caption
// (where the desktop shows a minimised window); restored, the border window comes back; and
// maximised, it takes the maximised place with the form.
TEST_F(BorderFormTest, MinimisedTheFormWearsItsCaptionAndTheBorderWindowComesBackAndFollowsAMaximise) {
  manager->AnimEffects()->Minimizing()->SetActive(false);
  SendMessageW(Wnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(IsIconic(Wnd()));
  EXPECT_EQ(provider->ExtBorderForm(), nullptr);
  EXPECT_TRUE(InWindowRegion(Wnd(), WndWidth(Wnd()) / 2, 2));  // the caption is the form's own
  SendMessageW(Wnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_FALSE(IsIconic(Wnd()));
  border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);
  ASSERT_NE(BorderWnd(), nullptr);
  EXPECT_FALSE(InWindowRegion(Wnd(), 1, 1));
  EXPECT_EQ(WindowBox(BorderWnd()), Expected());
  SendMessageW(Wnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(IsZoomed(Wnd()));
  border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);
  ASSERT_NE(BorderWnd(), nullptr);
  // The maximised picture around the maximised window (its caption a little lower there).
  const vcl::TRect box = WindowBox(BorderWnd()), window = WindowBox(Wnd());
  vcl::TBitmap* image = provider->SkinData->CacheBmp();
  EXPECT_EQ(vcl::TPoint(box.Width(), box.Height()), vcl::TPoint(image->Width(), image->Height()));
  EXPECT_EQ(box.Left, window.Left - border->ShadowOffsetX());
  EXPECT_TRUE(box.Top <= window.Top && box.Bottom >= window.Bottom) << box.Top << " " << window.Top;
  SendMessageW(Wnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(Wnd()));
}

// Restored or maximised by the program rather than by the system command, the minimised form
// gets its border window back as well.
TEST_F(BorderFormTest, AMinimisedFormShownAgainWithoutTheRestoreCommandGetsItsBorderWindowBack) {
  manager->AnimEffects()->Minimizing()->SetActive(false);
  for (const int show : {SW_RESTORE, SW_MAXIMIZE}) {
    SCOPED_TRACE(show == SW_RESTORE ? "restored" : "maximised");
    SendMessageW(Wnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(IsIconic(Wnd()));
    ASSERT_EQ(provider->ExtBorderForm(), nullptr);
    ShowWindow(Wnd(), show);
    ASSERT_FALSE(IsIconic(Wnd()));
    border = provider->ExtBorderForm();
    ASSERT_NE(border, nullptr);
    ASSERT_NE(BorderWnd(), nullptr);
    EXPECT_TRUE(IsWindowVisible(BorderWnd()));
    // The frame is the border window's again: the form keeps its client part only.
    EXPECT_FALSE(InWindowRegion(Wnd(), WndWidth(Wnd()) / 2, 2));
    const vcl::TRect box = WindowBox(BorderWnd()), window = WindowBox(Wnd());
    EXPECT_EQ(box.Left, window.Left - border->ShadowOffsetX());
    EXPECT_TRUE(box.Top <= window.Top && box.Bottom >= window.Bottom) << box.Top << " " << window.Top;
  }
  ShowWindow(Wnd(), SW_RESTORE);
}

// Minimised with the animation, the form's picture (frame, caption and client as the border
// window shows them, its shadow see-through) flies toward the task bar on the border window,
// and back on the restore.
TEST_F(BorderFormTest, TheMinimiseAnimationFliesTheFormsPictureOnTheBorderWindow) {
  ASSERT_NO_FATAL_FAILURE(WearTheSampleSkin());
  const std::optional<bool> perPixel = SetPerPixelAlphaShown(true);
  manager->AnimEffects()->Minimizing()->SetActive(true);
  manager->AnimEffects()->Minimizing()->SetTime(120);
  g_composition = FALSE;  // every step shown
  const HWND borderWnd = BorderWnd();
  auto run = [&](TqvMinTimer* timer) {
    for (int i = 0; i < 100 && timer->Enabled(); ++i) timer->Step();
  };
  // The frames on the border window, between the opaque start and the end.
  auto frames = [&] {
    std::vector<Update> shown;
    for (const Update& u : updates)
      if (u.Wnd == borderWnd && u.Alpha < 255) shown.push_back(u);
    return shown;
  };
  updates.clear();
  SendMessageW(Wnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(IsIconic(Wnd()));
  auto* timer = dynamic_cast<TqvMinTimer*>(provider->Animator().Timer());
  ASSERT_NE(timer, nullptr);
  ASSERT_EQ(provider->ExtBorderForm(), border);
  run(timer);
  EXPECT_TRUE(timer->Restoring);
  std::vector<Update> shown = frames();
  ASSERT_GE(shown.size(), 5u);
  for (const Update& u : shown) EXPECT_EQ(u.Centre >> 24, 255u) << "alpha " << int(u.Alpha);  // the picture's middle
  EXPECT_TRUE(shown.front().PartlyTransparent);  // the shadow
  EXPECT_GT(shown.front().Alpha, shown.back().Alpha);  // fading out

  updates.clear();
  SendMessageW(Wnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_FALSE(IsIconic(Wnd()));
  run(timer);
  shown = frames();
  ASSERT_GE(shown.size(), 5u);
  for (const Update& u : shown) EXPECT_EQ(u.Centre >> 24, 255u) << "alpha " << int(u.Alpha);
  EXPECT_TRUE(shown.back().PartlyTransparent);
  EXPECT_LT(shown.front().Alpha, shown.back().Alpha);  // fading in
  g_composition = TRUE;
  SetPerPixelAlphaShown(perPixel);
}

// The main form on the task bar minimised by the application's window: while its animation's
// frames fly on the border window, the system's hiding of the form's owned windows leaves the
// border window shown; once the animation is over, that hiding takes it as before.
TEST_F(BorderFormTest, TheMainFormsBorderWindowStaysShownForItsMinimiseAnimation) {
  ASSERT_EQ(vcl::Application->MainForm(), nullptr);
  vcl::TForm* main = vcl::Application->CreateForm<vcl::TForm>();
  main->SetBounds(kLeft - 500, kTop, 400, 300);
  main->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
  ProviderPtr mainProvider = NewProvider(main);
  vcl::Application->SetMainFormOnTaskBar(true);
  manager->AnimEffects()->Minimizing()->SetActive(true);
  manager->AnimEffects()->Minimizing()->SetTime(120);
  g_composition = FALSE;
  main->Show();
  mainProvider->InitExBorders(manager->ExtendedBorders());
  TqvBorderForm* mainBorder = mainProvider->ExtBorderForm();
  ASSERT_NE(mainBorder, nullptr);
  const HWND mainBorderWnd = mainBorder->BorderWindow();
  ASSERT_TRUE(mainBorderWnd && IsWindowVisible(mainBorderWnd));
  // The application window's minimise: the animation starts, then the form is minimised.
  SendMessageW(vcl::Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(IsIconic(main->Handle()));
  auto* timer = dynamic_cast<TqvMinTimer*>(mainProvider->Animator().Timer());
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->Enabled());
  // The hiding the system gives the owned windows of a minimised window (not every system
  // sends it on its own).
  SendMessageW(mainBorderWnd, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
  EXPECT_TRUE(IsWindowVisible(mainBorderWnd));
  for (int i = 0; i < 100 && timer->Enabled(); ++i) timer->Step();
  ASSERT_FALSE(mainProvider->ExtFlags & kExtMinimizing);
  SendMessageW(mainBorderWnd, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
  EXPECT_FALSE(IsWindowVisible(mainBorderWnd));
  vcl::Application->SetMainFormOnTaskBar(false);
  g_composition = TRUE;
  mainProvider->Animator().FreeTimer();
  main->Hide();
  mainProvider.reset();
  vcl::TObject::Free(main);
}

// The main form's border window hidden by the system's rules while the form is not minimised
// (its owned windows hidden): with the hide effect the form's whole picture, frame and shadow
// and client, fades out where the border window was, and the border window goes. Without the
// effect (or AllowAnimation off) it only goes.
TEST_F(BorderFormTest, TheMainFormsBorderWindowHiddenFadesTheWholePictureOut) {
  ASSERT_EQ(vcl::Application->MainForm(), nullptr);
  // A display that blends layered windows' alpha: the fade is seen there.
  const std::optional<bool> perPixel = SetPerPixelAlphaShown(true);
  vcl::TForm* main = vcl::Application->CreateForm<vcl::TForm>();
  main->SetBounds(kLeft - 500, kTop, 400, 300);
  main->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
  ProviderPtr mainProvider = NewProvider(main);
  vcl::Application->SetMainFormOnTaskBar(true);
  manager->AnimEffects()->Minimizing()->SetActive(false);
  TqvFormHide* hide = manager->AnimEffects()->FormHide();
  hide->SetActive(true);
  hide->SetTime(120);
  const vcl::TScopeExit cleanUp([&] {
    wintest::PumpUntil([] { return HideAnimationForm() == nullptr; });
    hide->SetActive(false);
    vcl::Application->SetMainFormOnTaskBar(false);
    if (main->Visible()) main->Hide();
    mainProvider.reset();
    vcl::TObject::Free(main);
    SetPerPixelAlphaShown(perPixel);
  });
  main->Show();
  for (const bool allow : {true, false}) {
    SCOPED_TRACE(allow ? "the hide effect" : "no animation allowed");
    mainProvider->SetAllowAnimation(allow);
    mainProvider->InitExBorders(manager->ExtendedBorders());
    TqvBorderForm* mainBorder = mainProvider->ExtBorderForm();
    ASSERT_NE(mainBorder, nullptr);
    const HWND mainBorderWnd = mainBorder->BorderWindow();
    ASSERT_TRUE(mainBorderWnd && IsWindowVisible(mainBorderWnd));
    const vcl::TRect place = WindowBox(mainBorderWnd);
    updates.clear();
    SendMessageW(mainBorderWnd, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
    EXPECT_FALSE(IsWindowVisible(mainBorderWnd));
    vcl::TCustomForm* fading = HideAnimationForm();
    EXPECT_EQ(fading != nullptr, allow);
    if (!fading) continue;
    EXPECT_EQ(WindowBox(fading->Handle()), place);
    // The picture it fades: as large as the border window, its middle (the client) opaque.
    ASSERT_FALSE(updates.empty());
    EXPECT_EQ(updates.front().Width, place.Width());
    EXPECT_EQ(updates.front().Centre >> 24, 255u);
    ASSERT_TRUE(wintest::PumpUntil([] { return HideAnimationForm() == nullptr; }));
  }
}

TEST_F(BorderFormTest, DoubleClicksStretchToTheWorkAreaAndBack) {
  const RECT work = WorkArea();
  const int offX = BorderFormOffsetX(border), offY = BorderFormOffsetY(border);
  auto dblclk = [this](int x, int y) { DoubleClickBorder(x, y); };

  auto bounds = [this] { return FormBounds(); };
  dblclk(Width() / 2, kShadow + 1);  // the top edge
  EXPECT_EQ(bounds(), vcl::Rect(kLeft, work.top + offY, 400, (work.bottom - work.top) - offY - offX));
  EXPECT_TRUE(provider->ExtFlags & kBorderStretchedHeight);
  dblclk(Width() / 2, Height() - kShadow);  // the bottom edge: back
  EXPECT_EQ(bounds(), vcl::Rect(kLeft, kTop, 400, 300));
  EXPECT_FALSE(provider->ExtFlags & kBorderStretchedHeight);
  dblclk(kShadow, Height() / 2);  // the left edge
  EXPECT_EQ(bounds(), vcl::Rect(work.left + offX, kTop, (work.right - work.left) - 2 * offX, 300));
  dblclk(Width() - kShadow, Height() / 2);
  EXPECT_EQ(bounds(), vcl::Rect(kLeft, kTop, 400, 300));

  // The caption maximises, the icon closes (the commands are caught on their way).
  MessageSpy spy(form.get(), WM_SYSCOMMAND);
  std::vector<WPARAM>& commands = spy.seen[WM_SYSCOMMAND];
  dblclk(Width() / 2, kShadow + 12);
  dblclk(provider->CaptionButtons().IconRect.Left + 1, provider->CaptionButtons().IconRect.Top + 1);
  EXPECT_EQ(commands, (std::vector<WPARAM>{SC_MAXIMIZE, SC_CLOSE}));
  // A form that is not sizeable is not stretched.
  form->SetBorderStyle(vcl::TFormBorderStyle::bsSingle);
  provider->InitExBorders(manager->ExtendedBorders());
  border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);
  const int top = form->Top();
  dblclk(Width() / 2, kShadow + 1);
  EXPECT_EQ(form->Top(), top);
}


// With the manager's native borders for maximised forms, the caption's double click on the
// border window maximises the form, which takes the border window away while its own click
// runs; the form ends maximised with the system menu's items brought up to date (restore
// enabled, maximise not), and the next double click (on the form's own caption) restores it
// with its border window back.
TEST_F(BorderFormTest, ACaptionDoubleClickThatTakesTheBorderWindowAwayMaximisesAndUpdatesTheMenu) {
  manager->Options()->SetOption(TqvOption::NativeBordersMaximized, true);
  const vcl::TScopeExit native([this] { manager->Options()->SetOption(TqvOption::NativeBordersMaximized, false); });
  TsSystemMenu* menu = provider->Menus().SystemMenu();
  ASSERT_NE(menu, nullptr);
  menu->UpdateItems(false);
  ASSERT_TRUE(menu->ItemMove->Enabled());
  ASSERT_FALSE(menu->ItemRestore->Enabled());
  DoubleClickBorder(Width() / 2, kShadow + 12);
  ASSERT_TRUE(IsZoomed(Wnd()));
  EXPECT_EQ(provider->ExtBorderForm(), nullptr);
  EXPECT_FALSE(menu->ItemMove->Enabled());
  EXPECT_TRUE(menu->ItemRestore->Enabled());
  // The caption is the form's own now.
  const vcl::TRect w = WindowBox(Wnd());
  SendMessageW(Wnd(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(w.Left + w.Width() / 2, w.Top + 12));
  EXPECT_FALSE(IsZoomed(Wnd()));
  border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);
  EXPECT_TRUE(menu->ItemMove->Enabled());
  EXPECT_FALSE(menu->ItemRestore->Enabled());
}

// The border window's other double clicks whose commands take it away do so last: the caption
// icon closes the form (hidden, its border window freed), an edge stretches the form while the
// application drops the extended borders at the new size, a title-bar item's click removes
// the skin.
TEST_F(BorderFormTest, DoubleClicksThatTakeTheBorderWindowAwayEndTheirHandler) {
  // The edge: the form's resize handler takes the extended borders away.
  struct Resized {
    TsSkinProvider* provider;
    int count = 0;
  } resized{provider.get()};
  form->OnResize = vcl::TNotifyEvent::FromFunction(
      [](void* r, vcl::TObject*) {
        auto* data = static_cast<Resized*>(r);
        ++data->count;
        data->provider->SetAllowExtBorders(false);
      },
      &resized);
  const int top = WorkArea().top + BorderFormOffsetY(border);
  DoubleClickBorder(Width() / 2, kShadow + 1);
  form->OnResize = {};
  EXPECT_GT(resized.count, 0);
  EXPECT_EQ(provider->ExtBorderForm(), nullptr);
  EXPECT_EQ(form->Top(), top);
  provider->SetAllowExtBorders(true);
  border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);

  // A title-bar item whose click takes the skin away.
  auto* bar = vcl::Construct<TsTitleBar>(form.get());
  const vcl::TScopeExit freeBar([bar] { vcl::TObject::Free(bar); });
  TqvTitleBarItem* item = bar->Items()->Add();
  item->SetCaption(L"Plain");
  struct Unskin {
    TsSkinManager* manager;
    int clicks = 0;
  } unskin{manager.get()};
  item->OnClick = vcl::TNotifyEvent::FromFunction(
      [](void* u, vcl::TObject*) {
        auto* data = static_cast<Unskin*>(u);
        ++data->clicks;
        data->manager->SetActive(false);
      },
      &unskin);
  provider->CaptionItems().InitTitleBarItems();
  provider->SkinData->BGChanged = true;
  DoubleClickBorder(item->ItemRect.Left + 3, item->ItemRect.Top + 3);
  EXPECT_EQ(unskin.clicks, 1);
  // The release that follows finds no skinned frame: nothing stays pressed meanwhile.
  EXPECT_FALSE(TitleButtonPressed());
  EXPECT_FALSE(provider->FormSkinned() && manager->Active());
  EXPECT_EQ(provider->ExtBorderForm(), nullptr);
  manager->SetActive(true);
  provider->InitExBorders(manager->ExtendedBorders());
  border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);

  // The caption icon closes the form: hidden, its border window goes.
  DoubleClickBorder(provider->CaptionButtons().IconRect.Left + 1, provider->CaptionButtons().IconRect.Top + 1);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(provider->ExtBorderForm(), nullptr);
}

// A double click on a title-bar item on the border window clicks it (a button pressed twice
// clicks twice): the item turns hot, is pressed and clicked, and the system's release that
// follows clicks no more. A disabled item is not a title element there: the caption lies under
// it, and it never turns hot.
TEST_F(BorderFormTest, ADoubleClickOnATitleBarItemClicksItAndADisabledItemIsNeverHot) {
  auto* bar = vcl::Construct<TsTitleBar>(form.get());
  const vcl::TScopeExit freeBar([bar] { vcl::TObject::Free(bar); });
  TqvTitleBarItem* copy = bar->Items()->Add();
  copy->SetCaption(L"Copy");
  TqvTitleBarItem* paste = bar->Items()->Add();
  paste->SetCaption(L"Paste");
  int clicks = 0, pastes = 0;
  copy->OnClick = vcl::TNotifyEvent::FromFunction([](void* n, vcl::TObject*) { ++*static_cast<int*>(n); }, &clicks);
  paste->OnClick = vcl::TNotifyEvent::FromFunction([](void* n, vcl::TObject*) { ++*static_cast<int*>(n); }, &pastes);
  provider->CaptionItems().InitTitleBarItems();
  provider->SkinData->BGChanged = true;
  border->UpdateExBordersPos(true, 255);
  const LPARAM at = Screen(copy->ItemRect.Left + 3, copy->ItemRect.Top + 3);
  // The system's order: press, release, double click, release.
  SendMessageW(BorderWnd(), WM_NCLBUTTONDOWN, 19, at);
  SendMessageW(BorderWnd(), WM_NCLBUTTONUP, 19, at);
  EXPECT_EQ(clicks, 1);
  SendMessageW(BorderWnd(), WM_NCLBUTTONDBLCLK, 19, at);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(provider->FrameMouse().HotElement, kHitTitleBarItem);
  EXPECT_FALSE(TitleButtonPressed());
  SendMessageW(BorderWnd(), WM_NCLBUTTONUP, 19, at);
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(TitleButtonPressed());
  EXPECT_FALSE(copy->Pressed);

  // Disabled: the caption's code, never hot, its double click clicks nothing (nor maximises
  // as a caption would: the commands are caught on their way).
  paste->SetEnabled(false);
  const LPARAM over = Screen(paste->ItemRect.Left + 3, paste->ItemRect.Top + 3);
  vcl::TMessage test{WM_NCHITTEST, 0, over, 0};
  EXPECT_EQ(border->HitTest(test), HTCAPTION);
  SendMessageW(BorderWnd(), WM_NCMOUSEMOVE, HTCAPTION, over);
  EXPECT_EQ(paste->HotState(), 0);
  EXPECT_LE(provider->FrameMouse().HotElement, 0);
  MessageSpy spy(form.get(), WM_SYSCOMMAND);
  SendMessageW(BorderWnd(), WM_NCLBUTTONDBLCLK, 19, over);
  EXPECT_EQ(pastes, 0);
  // Enabled again, it turns hot.
  paste->SetEnabled(true);
  SendMessageW(BorderWnd(), WM_NCMOUSEMOVE, HTCAPTION, over);
  EXPECT_EQ(paste->HotState(), 1);
}

// Every event of a title-bar item may free its bar, and so its items: the pointer coming onto
// an item (its enter, the leave of the item hot before), its press, its release, its click, and
// the double click (on the border window it makes the item hot, presses it and clicks it; on the
// form's own frame its press and release come round again). On the form's frame and on the
// border window, each event in turn frees the bar while the gestures go on: nothing of an item is
// touched after that (the blocks the items lay in, taken again at once and marked, stay as
// marked; a hint shown at once would read the freed item), the pointer moving on and the release
// find no bar, and no press is left held.
TEST_F(BorderFormTest, AnItemEventThatFreesItsBarTouchesTheItemNoMoreOnTheFormOrTheBorderWindow) {
  constexpr std::size_t kSize = sizeof(TqvTitleBarItem);
  constexpr int kBlocks = 8;
  struct Freeing {
    TsTitleBar* bar = nullptr;
    std::vector<unsigned char*> blocks;
    int events = 0;
    void FreeBar() {
      ++events;
      vcl::TObject::Free(std::exchange(bar, nullptr));
      for (int i = 0; i < kBlocks; ++i) {
        auto* block = static_cast<unsigned char*>(::operator new(kSize));
        std::fill(block, block + kSize, 0xAB);
        blocks.push_back(block);
      }
    }
    bool Untouched() const {
      return std::all_of(blocks.begin(), blocks.end(), [](const unsigned char* b) {
        return std::all_of(b, b + kSize, [](unsigned char c) { return c == 0xAB; });
      });
    }
    void Reset() {
      for (unsigned char* b : blocks) ::operator delete(b);
      blocks.clear();
      events = 0;
      if (bar) vcl::TObject::Free(std::exchange(bar, nullptr));
    }
    ~Freeing() { Reset(); }
  } freeing;
  auto frees = vcl::TNotifyEvent::FromFunction([](void* f, vcl::TObject*) { static_cast<Freeing*>(f)->FreeBar(); },
                                               &freeing);
  auto freesOnMouse = vcl::TMouseEvent::FromFunction(
      [](void* f, vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) { static_cast<Freeing*>(f)->FreeBar(); },
      &freeing);
  // A hint shown at once on entering reads the item after its enter event.
  const int pause = vcl::Application->HintPause();
  vcl::Application->SetHintPause(0);
  const vcl::TScopeExit restore([pause] { vcl::Application->SetHintPause(pause); });
  // The real pointer keeps off the form: resting on an item's place it would make the item hot
  // and leave it whenever messages are pumped.
  const wintest::PointerLock pointer;
  ASSERT_TRUE(wintest::MovePointer(kLeft - 200, kTop + 100));

  enum class Event { Enter, Leave, Down, Up, Click };
  const std::pair<Event, const char*> kEvents[] = {
      {Event::Enter, "enter"}, {Event::Leave, "leave"}, {Event::Down, "down"}, {Event::Up, "up"}, {Event::Click, "click"}};
  for (const bool onBorder : {false, true}) {
    provider->SetAllowExtBorders(onBorder);
    for (const bool doubleClick : {false, true}) {
      for (const auto& [event, name] : kEvents) {
        SCOPED_TRACE(::testing::Message() << (onBorder ? "the border window, " : "the form, ")
                                          << (doubleClick ? "a double click, " : "a press, ") << name);
        freeing.Reset();
        freeing.bar = vcl::Construct<TsTitleBar>(form.get());
        ASSERT_EQ(provider->TitleBar(), freeing.bar);
        // The item hot first, and the one the gestures go on to.
        TqvTitleBarItem* first = freeing.bar->Items()->Add();
        first->SetCaption(L"Copy");
        TqvTitleBarItem* item = freeing.bar->Items()->Add();
        item->SetCaption(L"Paste");
        for (TqvTitleBarItem* each : {first, item}) {
          each->SetHint(L"An item's hint");
          each->SetShowHint(true);
        }
        switch (event) {
          case Event::Enter: item->OnMouseEnter = frees; break;
          case Event::Leave: first->OnMouseLeave = frees; break;
          case Event::Down: item->OnMouseDown = freesOnMouse; break;
          case Event::Up: item->OnMouseUp = freesOnMouse; break;
          case Event::Click: item->OnClick = frees; break;
        }
        provider->CaptionItems().InitTitleBarItems();
        provider->SkinData->BGChanged = true;
        if (onBorder) {
          border = provider->ExtBorderForm();
          ASSERT_NE(border, nullptr);
          border->UpdateExBordersPos(true, 255);
        } else {
          ASSERT_EQ(provider->ExtBorderForm(), nullptr);
          provider->PaintAll();
        }
        // Where the mouse messages go and what they carry.
        const HWND target = onBorder ? BorderWnd() : Wnd();
        auto at = [&](const TqvTitleBarItem* i) {
          if (onBorder) return Screen(i->ItemRect.Left + 3, i->ItemRect.Top + 3);
          const vcl::TRect window = WindowBox(Wnd());
          return MAKELPARAM(window.Left + i->ItemRect.Left + 3, window.Top + i->ItemRect.Top + 3);
        };
        const LPARAM onFirst = at(first), onItem = at(item);
        const WPARAM code = onBorder ? 19 : kHitTitleBarItem + 1;
        if (onBorder) {
          vcl::TMessage test{WM_NCHITTEST, 0, onItem, 0};
          ASSERT_EQ(border->HitTest(test), kHitTitleBarItem + 1);
        } else {
          ASSERT_EQ(SendMessageW(Wnd(), WM_NCHITTEST, 0, onItem), kHitTitleBarItem + 1);
        }
        SendMessageW(target, WM_NCMOUSEMOVE, onBorder ? 19 : kHitTitleBarItem, onFirst);
        ASSERT_EQ(first->HotState(), 1);
        // Once the bar is gone the presses stop (a press where the item was is one on the bare
        // caption, which starts the system's move); moves and releases go on.
        auto send = [&](UINT Msg) {
          if (freeing.events == 0 || (Msg != WM_NCLBUTTONDOWN && Msg != WM_NCLBUTTONDBLCLK))
            SendMessageW(target, Msg, code, onItem);
        };
        bool fires = true;
        if (!doubleClick || !onBorder) send(WM_NCMOUSEMOVE);
        if (!doubleClick) {
          send(WM_NCLBUTTONDOWN);
          send(WM_NCLBUTTONUP);
        } else if (onBorder) {
          // The border window's double click alone: hot, pressed and clicked, no press nor release.
          send(WM_NCLBUTTONDBLCLK);
          send(WM_NCLBUTTONUP);
          fires = event != Event::Down && event != Event::Up;
        } else {
          for (const UINT msg : {WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK, WM_NCLBUTTONUP}) send(msg);
        }
        EXPECT_EQ(freeing.events, fires ? 1 : 0);
        EXPECT_EQ(provider->TitleBar() == nullptr, fires);
        EXPECT_TRUE(freeing.Untouched());
        EXPECT_FALSE(TitleButtonPressed());
        SendMessageW(target, WM_NCMOUSEMOVE, HTCAPTION, onBorder ? Screen(Width() / 2, kShadow + 12) : MAKELPARAM(kLeft + 150, kTop + 12));
        EXPECT_LE(provider->FrameMouse().HotElement, 0);
      }
    }
  }
  freeing.Reset();
}

// A user title button's hint on the border window: shown while the mouse rests on the button
// there (the window image's coordinates hold the shadow and the border offsets), gone when it
// leaves for the caption.
TEST_F(BorderFormTest, AUserButtonsHintShowsOnTheBorderWindow) {
  TsTitleButton* user = provider->TitleButtons()->Add();
  user->SetHint(L"Pins the page");
  provider->CaptionButtons().InitSystemButtons();
  provider->SkinData->BGChanged = true;
  border->UpdateExBordersPos(true, 255);
  ASSERT_FALSE(user->Data.Rect.IsEmpty());
  const int pause = vcl::Application->HintPause();
  vcl::Application->SetHintPause(0);
  const vcl::TScopeExit restore([pause] { vcl::Application->SetHintPause(pause); });
  auto shown = [] { return wintest::ThreadShowsWindow(L"Pins the page"); };
  const wintest::PointerLock pointer;
  auto moveOnto = [&](int x, int y) {
    const LPARAM at = Screen(x, y);
    if (!wintest::MovePointer(vcl::LParamX(at), vcl::LParamY(at)) || !wintest::PumpUntilIdle()) return false;
    SendMessageW(BorderWnd(), WM_NCMOUSEMOVE, static_cast<WPARAM>(SendMessageW(BorderWnd(), WM_NCHITTEST, 0, at)), at);
    return true;
  };
  const vcl::TRect r = user->Data.Rect;
  // The pointer the system reports may still go back for a moment: put on the button again.
  bool onButton = false;
  for (int attempt = 0; attempt < 3 && !onButton; ++attempt)
    onButton = (attempt == 0 || moveOnto(Width() / 2, kShadow + 12)) &&
               moveOnto((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2) &&
               wintest::PumpUntil(shown, wintest::Deadline{2000});
  EXPECT_TRUE(onButton);
  EXPECT_EQ(provider->FrameMouse().HotElement, 1000);
  ASSERT_TRUE(moveOnto(Width() / 2, kShadow + 12));
  EXPECT_FALSE(shown());
}

// An outline move started on the border window's caption: a double click there ends the outline
// where it is clicked (the form takes the outline's place), then does what a double click on the
// caption does (maximise, caught on its way here).
TEST_F(BorderFormTest, ADoubleClickOnTheBorderWindowEndsARunningOutline) {
  provider->SetResizeMode(rmBorder);
  BOOL fullDrag = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  const vcl::TScopeExit restore([fullDrag] { SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, fullDrag, nullptr, 0); });
  MessageSpy spy(form.get(), WM_SYSCOMMAND);
  border->UpdateExBordersPos(true, 255);
  const LPARAM caption = Screen(Width() / 2, kShadow + 12);
  SendMessageW(BorderWnd(), WM_NCLBUTTONDOWN, 19, caption);
  ASSERT_TRUE(RubberFrame().Running());
  POINT p{vcl::LParamX(caption), vcl::LParamY(caption)};
  ScreenToClient(Wnd(), &p);
  SendMessageW(Wnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));  // recorded
  // The double click 40 pixels left and 30 down.
  SendMessageW(BorderWnd(), WM_NCLBUTTONDBLCLK, 19,
               MAKELPARAM(vcl::LParamX(caption) - 40, vcl::LParamY(caption) + 30));
  EXPECT_FALSE(RubberFrame().Running());
  EXPECT_EQ(FormBounds(), vcl::Rect(kLeft - 40, kTop + 30, 400, 300));
  EXPECT_EQ(spy.seen[WM_SYSCOMMAND], std::vector<WPARAM>{SC_MAXIMIZE});
}

// Sizing by outline from the system menu's "Size", as a user does it: the skinned system menu
// dropped over the foreground form and the item chosen by the keys of its loop, then the real
// pointer and the real keyboard; with extended borders (the border window takes the frame) and
// with the form's own frame.
class SizeCommandTest : public BorderFormTest {
 protected:
  void SetUp() override {
    BorderFormTest::SetUp();
    if (HasFatalFailure()) return;
    pointer_.emplace();
    // With composition the form sizes live; outlines are drawn without it.
    g_composition = FALSE;
    provider->SetResizeMode(rmBorder);
    SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full_drag_, 0);
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  }
  void TearDown() override {
    if (RubberFrame().Running()) RubberFrame().Cancel();
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, full_drag_, nullptr, 0);
    g_composition = TRUE;
    BorderFormTest::TearDown();
    pointer_.reset();
  }
  bool Foreground() {
    if (GetForegroundWindow() != Wnd()) SetForegroundWindow(Wnd());
    return wintest::PumpUntil([&] { return GetForegroundWindow() == Wnd(); });
  }
  // The form at its place with the frame asked for; the pointer away from it.
  void Prepare(bool ExtendedBorders) {
    if (RubberFrame().Running()) RubberFrame().Cancel();
    form->SetBounds(kLeft, kTop, 400, 300);
    provider->SetAllowExtBorders(ExtendedBorders);
    ASSERT_EQ(provider->ExtBorderForm() != nullptr, ExtendedBorders);
    if ((border = provider->ExtBorderForm())) border->UpdateExBordersPos(true, 255);
    ASSERT_TRUE(wintest::MovePointer(kLeft - 150, kTop + 150));
    ASSERT_TRUE(Foreground());
  }
  // "Size" (or another item) chosen in the skinned system menu: the arrow keys go down its items
  // until that one is selected, then Enter; the outline runs afterwards.
  void Choose(vcl::TMenuItem* TsSystemMenu::*Item = &TsSystemMenu::ItemSize) {
    ASSERT_TRUE(Foreground());
    TsSystemMenu* menu = nullptr;
    bool entered = false;
    const bool ended = RunMenuLoop([&] { provider->DropSysMenu(vcl::TPoint(kLeft + 8, kTop + 30)); }, [&](int) {
      const HWND popup = VisiblePopupWindow();
      if (!menu) menu = provider->Menus().SystemMenu();
      if (!popup || !menu || entered) return false;
      const HMENU items = menu->Items()->Handle();
      int selected = -1;
      for (int i = 0; i < GetMenuItemCount(items); ++i)
        if (GetMenuState(items, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) selected = i;
      const bool onSize = selected >= 0 && GetMenuItemID(items, selected) == (menu->*Item)->Command();
      entered = onSize;
      PostMessageW(popup, WM_KEYDOWN, onSize ? VK_RETURN : VK_DOWN, 0);
      return false;
    });
    ASSERT_TRUE(ended && entered) << "Size was not chosen";
    ASSERT_TRUE(wintest::PumpUntil([] { return RubberFrame().Running(); }));
    wintest::PumpUntilIdle();
  }
  // The real pointer moved to a screen point, and the move handled.
  void PointTo(int X, int Y) {
    ASSERT_TRUE(wintest::MovePointer(X, Y));
    wintest::PumpUntilIdle();
  }
  // A real key pressed and released, and handled: something of the outline changed.
  void Press(WORD Key) {
    ASSERT_TRUE(Foreground());
    const auto before = std::make_tuple(RubberFrame().Running(), RubberFrame().Code(), RubberFrame().Frame());
    keybd_event(static_cast<BYTE>(Key), 0, 0, 0);
    keybd_event(static_cast<BYTE>(Key), 0, KEYEVENTF_KEYUP, 0);
    ASSERT_TRUE(wintest::PumpUntil([&] {
      return std::make_tuple(RubberFrame().Running(), RubberFrame().Code(), RubberFrame().Frame()) != before;
    })) << "key " << Key << " did nothing";
    wintest::PumpUntilIdle();
  }
  // The sizing edge at the middle of the form's right side, as the frame's mouse sees it: the
  // first point from the client outward that answers it.
  int RightEdgeX() {
    const vcl::TRect w = WindowBox(Wnd());
    const int y = (w.Top + w.Bottom) / 2;
    for (int x = (w.Left + w.Right) / 2; x < w.Right + 40; ++x) {
      vcl::TMessage test{WM_NCHITTEST, 0, MAKELPARAM(x, y), 0};
      const int code = border ? border->HitTest(test) : provider->FrameMouse().HitTestAt(vcl::TPoint(x, y));
      if (code == HTRIGHT) return x;
    }
    return -1;
  }
  std::optional<wintest::PointerLock> pointer_;
  BOOL full_drag_ = FALSE;
};

// The pointer going from the middle of the form over the client and the caption picks no edge
// (the outline stays, nothing moves); onto the right edge it picks that edge, which then follows
// it; the release gives the form the outline: wider, not moved. A pointer that jumps beyond the
// outline at once picks the edges it crossed (a corner too), which come to it.
TEST_F(SizeCommandTest, SizeWaitsForTheEdgeThePointerComesOnto) {
  for (const bool ext : {true, false}) {
    SCOPED_TRACE(ext ? "extended borders" : "the form's own frame");
    ASSERT_NO_FATAL_FAILURE(Prepare(ext));
    const vcl::TRect before = WindowBox(Wnd());
    const vcl::TPoint centre((before.Left + before.Right) / 2, (before.Top + before.Bottom) / 2);
    ASSERT_NO_FATAL_FAILURE(Choose());
    // As the system's sizing does, the pointer waits in the middle of the form.
    EXPECT_TRUE(wintest::PumpUntil([&] { return wintest::PointerAt(centre.X, centre.Y); }));
    ASSERT_NO_FATAL_FAILURE(PointTo(centre.X + 60, centre.Y + 20));  // the client
    ASSERT_NO_FATAL_FAILURE(PointTo(centre.X, before.Top + 12));     // the caption
    EXPECT_EQ(RubberFrame().Code(), 0);
    EXPECT_EQ(RubberFrame().Frame(), before);
    const int edge = RightEdgeX();
    ASSERT_GT(edge, centre.X);
    ASSERT_NO_FATAL_FAILURE(PointTo(edge, centre.Y));
    EXPECT_EQ(RubberFrame().Code(), HTRIGHT);
    const int width = RubberFrame().Frame().Width();
    EXPECT_LE(std::abs(width - before.Width()), 4);
    ASSERT_NO_FATAL_FAILURE(PointTo(edge + 40, centre.Y + 30));
    EXPECT_EQ(RubberFrame().Frame(), vcl::Rect(before.Left, before.Top, before.Left + width + 40, before.Bottom));
    SendMessageW(Wnd(), WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(RubberFrame().Running());
    EXPECT_EQ(WindowBox(Wnd()), vcl::Rect(before.Left, before.Top, before.Left + width + 40, before.Bottom));

    // Beyond the outline at once: the bottom-left corner, then (the mirror) the top-right one,
    // and one pixel beyond the right side alone.
    const struct {
      const char* Name;
      int X, Y, Code;
      vcl::TRect Frame;
    } jumps[] = {
        {"bottom-left", before.Left - 30, before.Bottom + 25, HTBOTTOMLEFT,
         vcl::Rect(before.Left - 30, before.Top, before.Right, before.Bottom + 26)},
        {"top-right", before.Right + 20, before.Top - 15, HTTOPRIGHT,
         vcl::Rect(before.Left, before.Top - 15, before.Right + 21, before.Bottom)},
        {"right", before.Right, centre.Y, HTRIGHT, vcl::Rect(before.Left, before.Top, before.Right + 1, before.Bottom)}};
    for (const auto& jump : jumps) {
      SCOPED_TRACE(jump.Name);
      ASSERT_NO_FATAL_FAILURE(Prepare(ext));
      ASSERT_NO_FATAL_FAILURE(Choose());
      ASSERT_NO_FATAL_FAILURE(PointTo(jump.X, jump.Y));
      EXPECT_EQ(RubberFrame().Code(), jump.Code);
      EXPECT_EQ(RubberFrame().Frame(), jump.Frame);
      SendMessageW(Wnd(), WM_LBUTTONUP, 0, 0);
      EXPECT_EQ(WindowBox(Wnd()), jump.Frame);
    }
  }
}

// After "Size" the arrows size as the system's keyboard sizing does: the first picks its side
// (the pointer goes onto it, nothing moves), one across it takes the corner, each further one
// moves what is dragged by 8 pixels; Enter gives the form the outline, Escape leaves it as it was.
// After "Move" they move the whole outline.
TEST_F(SizeCommandTest, SizeByTheArrowsAsTheSystemDoes) {
  for (const bool ext : {true, false}) {
    SCOPED_TRACE(ext ? "extended borders" : "the form's own frame");
    ASSERT_NO_FATAL_FAILURE(Prepare(ext));
    const vcl::TRect before = WindowBox(Wnd());
    const int middleY = (before.Top + before.Bottom) / 2, middleX = (before.Left + before.Right) / 2;
    ASSERT_NO_FATAL_FAILURE(Choose());
    ASSERT_NO_FATAL_FAILURE(Press(VK_LEFT));
    EXPECT_EQ(RubberFrame().Code(), HTLEFT);
    EXPECT_EQ(RubberFrame().Frame(), before);
    EXPECT_TRUE(wintest::PumpUntil([&] { return wintest::PointerAt(before.Left, middleY); }));
    ASSERT_NO_FATAL_FAILURE(Press(VK_LEFT));
    EXPECT_EQ(RubberFrame().Frame(), vcl::Rect(before.Left - 8, before.Top, before.Right, before.Bottom));
    ASSERT_NO_FATAL_FAILURE(Press(VK_UP));  // across: the top-left corner
    EXPECT_EQ(RubberFrame().Code(), HTTOPLEFT);
    EXPECT_EQ(RubberFrame().Frame(), vcl::Rect(before.Left - 8, before.Top, before.Right, before.Bottom));
    EXPECT_TRUE(wintest::PumpUntil([&] { return wintest::PointerAt(before.Left - 8, before.Top); }));
    ASSERT_NO_FATAL_FAILURE(Press(VK_UP));
    ASSERT_NO_FATAL_FAILURE(Press(VK_UP));
    ASSERT_NO_FATAL_FAILURE(Press(VK_RIGHT));
    EXPECT_EQ(RubberFrame().Frame(), vcl::Rect(before.Left, before.Top - 16, before.Right, before.Bottom));
    ASSERT_NO_FATAL_FAILURE(Press(VK_RETURN));
    EXPECT_FALSE(RubberFrame().Running());
    EXPECT_EQ(WindowBox(Wnd()), vcl::Rect(before.Left, before.Top - 16, before.Right, before.Bottom));

    // The mirror: down picks the bottom, right takes the bottom-right corner; Escape cancels.
    ASSERT_NO_FATAL_FAILURE(Prepare(ext));
    ASSERT_NO_FATAL_FAILURE(Choose());
    ASSERT_NO_FATAL_FAILURE(Press(VK_DOWN));
    EXPECT_EQ(RubberFrame().Code(), HTBOTTOM);
    EXPECT_TRUE(wintest::PumpUntil([&] { return wintest::PointerAt(middleX, before.Bottom - 1); }));
    ASSERT_NO_FATAL_FAILURE(Press(VK_RIGHT));
    EXPECT_EQ(RubberFrame().Code(), HTBOTTOMRIGHT);
    ASSERT_NO_FATAL_FAILURE(Press(VK_DOWN));
    ASSERT_NO_FATAL_FAILURE(Press(VK_RIGHT));
    EXPECT_EQ(RubberFrame().Frame(), vcl::Rect(before.Left, before.Top, before.Right + 8, before.Bottom + 8));
    ASSERT_NO_FATAL_FAILURE(Press(VK_ESCAPE));
    EXPECT_FALSE(RubberFrame().Running());
    EXPECT_EQ(WindowBox(Wnd()), before);

    // "Move": the arrows move the whole outline, Enter puts the form there.
    ASSERT_NO_FATAL_FAILURE(Prepare(ext));
    ASSERT_NO_FATAL_FAILURE(Choose(&TsSystemMenu::ItemMove));
    ASSERT_TRUE(RubberFrame().Moving());
    ASSERT_NO_FATAL_FAILURE(Press(VK_RIGHT));
    ASSERT_NO_FATAL_FAILURE(Press(VK_DOWN));
    ASSERT_NO_FATAL_FAILURE(Press(VK_DOWN));
    EXPECT_EQ(RubberFrame().Frame(), vcl::Rect(before.Left + 8, before.Top + 16, before.Right + 8, before.Bottom + 16));
    ASSERT_NO_FATAL_FAILURE(Press(VK_RETURN));
    EXPECT_EQ(WindowBox(Wnd()), vcl::Rect(before.Left + 8, before.Top + 16, before.Right + 8, before.Bottom + 16));
  }
}

// A hot system button repainted at once (the form's flags hold an activation: no fade) gets the
// skin's glow around it where the border window shows it, not where the form's own window has
// the same point of the image.
TEST_F(BorderFormTest, AHotButtonsGlowStandsAroundTheButtonOnTheBorderWindow) {
  std::string text = BorderSkinText();
  text.insert(text.find("[FORM]"), "BICONMINGLOW0=@0000,0060,0030,0090,1,0\r\nBICONMINGLOW=5\r\nBICONMINGLOWMARGIN=5\r\n");
  WriteSkin(L"BorderGlow", text);
  skins.Write(L"BorderGlow", L"master.bmp",
              Bmp24(360, 90, [](int x, int y) { return y >= 60 ? 0x40E0E0u : MasterPixel(x, y); }));
  manager->SetSkinName(L"BorderGlow");
  ASSERT_TRUE(provider->FormSkinned());
  border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);
  manager->Effects()->SetAllowGlowing(true);
  const std::optional<bool> alpha = SetPerPixelAlphaShown(true);
  provider->SkinData->BGChanged = true;
  border->UpdateExBordersPos(true, 255);
  provider->ExtFlags |= kExtActivating;
  provider->FrameMouse().SetHotElement(kHitMin, true);
  const int id = provider->CaptionButtons().BtnMinimize.GlowID;
  ASSERT_GE(id, 0);
  const TqvGlowEffect* glow = GlowAt(id);
  ASSERT_TRUE(glow && glow->Form());
  const vcl::TRect halo = WindowBox(glow->Form()->Handle());
  vcl::TRect button = provider->CaptionButtons().BtnMinimize.Rect;
  button.Offset(WindowBox(BorderWnd()).Left, WindowBox(BorderWnd()).Top);
  EXPECT_EQ((halo.Left + halo.Right) / 2, (button.Left + button.Right) / 2);
  EXPECT_EQ((halo.Top + halo.Bottom) / 2, (button.Top + button.Bottom) / 2);
  provider->FrameMouse().SetHotElement(0, true);
  EXPECT_LT(provider->CaptionButtons().BtnMinimize.GlowID, 0);
  provider->ExtFlags &= ~kExtActivating;
  SetPerPixelAlphaShown(alpha);
}

// The end of a move or size of a form under extended borders makes every skinned window of the
// engine find its skin again (another skinned form hears of it); without extended borders the
// end of a move reloads nothing.
TEST_F(BorderFormTest, TheEndOfAMoveReloadsTheEnginesWindows) {
  auto other = NewForm();
  other->SetBounds(kLeft - 450, kTop, 300, 200);
  other->HandleNeeded();
  ProviderPtr otherProvider = NewProvider(other.get());
  ASSERT_TRUE(otherProvider->FormSkinned());
  MessageSpy spy(other.get());
  auto reloads = [&] {
    const std::vector<WPARAM>& seen = spy.seen[kSkinCmdMessage];
    return std::count_if(seen.begin(), seen.end(), [](WPARAM w) { return HIWORD(w) == scmReload; });
  };
  SendMessageW(Wnd(), WM_EXITSIZEMOVE, 0, 0);
  EXPECT_EQ(reloads(), 1);
  manager->SetExtendedBorders(false);
  provider->InitExBorders(manager->ExtendedBorders());
  ASSERT_EQ(provider->ExtBorderForm(), nullptr);
  SendMessageW(Wnd(), WM_EXITSIZEMOVE, 0, 0);
  EXPECT_EQ(reloads(), 1);
  otherProvider.reset();
}

// The border window lies around the form for every skin, also for one whose sections lack the
// pieces its shadow is measured from (the incomplete sample skin: no extended border of its
// own, the engine's shadow instead): its client hole is where the form's client area is, and
// its picture has the frame whole inside the shadow band (the band see-through, the frame's
// corner opaque), as the complete sample skin has it.
TEST_F(BorderFormTest, TheBorderWindowLiesAroundTheFormUnderEverySampleSkin) {
  auto* menu = new vcl::TMainMenu(form.get());
  auto* item = new vcl::TMenuItem(menu);
  item->SetCaption(L"&Skin");
  menu->Items()->Add(item);
  form->SetMenu(menu);
  auto* bar = vcl::Construct<TsTitleBar>(form.get());
  const vcl::TScopeExit freeBar([bar] { vcl::TObject::Free(bar); });
  bar->Items()->Add()->SetCaption(L"Compose");
  manager->SetSkinDirectory(SampleSkins());
  for (const wchar_t* skin : {L"Lagoon", L"Sparse"}) {
    SCOPED_TRACE(skin == std::wstring(L"Lagoon") ? "complete" : "incomplete");
    manager->SetSkinName(skin);
    ASSERT_TRUE(provider->FormSkinned());
    provider->InitExBorders(manager->ExtendedBorders());
    border = provider->ExtBorderForm();
    ASSERT_NE(border, nullptr);
    provider->SkinData->BGChanged = true;
    border->UpdateExBordersPos(true, 255);
    ASSERT_NE(BorderWnd(), nullptr);
    vcl::TRect hole = border->ClientHole(0, 0);
    const vcl::TRect box = WindowBox(BorderWnd());
    hole.Offset(box.Left, box.Top);
    POINT origin{0, 0};
    ClientToScreen(Wnd(), &origin);
    // The menu line is the form's own, in the hole.
    const int menuLine = provider->Measures().MenuLinesCount() * provider->Measures().MenuHeight();
    EXPECT_EQ(hole.TopLeft(), vcl::TPoint(origin.x, origin.y - menuLine));
    EXPECT_EQ(hole.Width(), ClientWidthOf(Wnd()));
    EXPECT_EQ(box, Expected());
    vcl::TBitmap* image = provider->SkinData->CacheBmp();
    const vcl::TRect shadow = border->ShadowMargins();
    ASSERT_GT(shadow.Top, 1);
    auto alpha = [&](int x, int y) { return static_cast<int>(PixelOf(image, x, y) >> 24); };
    EXPECT_LT(alpha(image->Width() / 2, shadow.Top / 2), 255);   // the top band
    EXPECT_LT(alpha(shadow.Left / 2, image->Height() / 2), 255);  // the left band
    // Inside the frame by its top-left corner (clear of a rounded corner), where a shadow corner
    // larger than the band lay.
    EXPECT_EQ(alpha(shadow.Left + 8, shadow.Top + 8), 255);
    EXPECT_EQ(alpha(shadow.Left + 10, shadow.Top + 6), 255);
  }
}

// Stretched by a double click on an edge and then moved, as a drag of the caption moves it, the
// form takes its height (or width) from before back, and the next double click stretches it
// again where it stands.
TEST_F(BorderFormTest, AStretchedFormMovedTakesItsSizeFromBeforeBack) {
  const RECT work = WorkArea();
  const int offX = BorderFormOffsetX(border), offY = BorderFormOffsetY(border);
  auto dblclk = [this](int x, int y) { DoubleClickBorder(x, y); };
  auto bounds = [this] { return FormBounds(); };
  auto moveBy = [&](int dx, int dy) {
    SetWindowPos(Wnd(), nullptr, form->Left() + dx, form->Top() + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const int fullHeight = (work.bottom - work.top) - offY - offX;
  const int fullWidth = (work.right - work.left) - 2 * offX;

  dblclk(Width() / 2, kShadow + 1);  // the top edge
  ASSERT_EQ(bounds(), vcl::Rect(kLeft, work.top + offY, 400, fullHeight));
  moveBy(-40, 30);
  EXPECT_EQ(bounds(), vcl::Rect(kLeft - 40, work.top + offY + 30, 400, 300));
  EXPECT_FALSE(provider->ExtFlags & kBorderStretchedHeight);
  EXPECT_EQ(WindowBox(BorderWnd()), Expected());
  dblclk(Width() / 2, kShadow + 1);
  EXPECT_EQ(bounds(), vcl::Rect(kLeft - 40, work.top + offY, 400, fullHeight));
  dblclk(Width() / 2, Height() - kShadow);  // back
  EXPECT_EQ(bounds(), vcl::Rect(kLeft - 40, work.top + offY + 30, 400, 300));

  dblclk(kShadow, Height() / 2);  // the left edge
  ASSERT_EQ(bounds(), vcl::Rect(work.left + offX, work.top + offY + 30, fullWidth, 300));
  moveBy(20, 10);
  EXPECT_EQ(bounds(), vcl::Rect(work.left + offX + 20, work.top + offY + 40, 400, 300));
  EXPECT_FALSE(provider->ExtFlags & kBorderStretchedWidth);
  EXPECT_EQ(WindowBox(BorderWnd()), Expected());

  // Moves that only reorder or activate leave a stretched form as it is.
  dblclk(Width() / 2, kShadow + 1);
  SetWindowPos(Wnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(form->Height(), fullHeight);
  EXPECT_TRUE(provider->ExtFlags & kBorderStretchedHeight);
}

// The size from before a stretch stays with the stretch, whatever border window comes and goes
// meanwhile: maximised with native borders (its border form freed) and restored (made anew),
// the form takes its height or width from before back; with the extended borders switched off
// and on again, the next double click puts the size from before back; and moved while it has no
// border form at all, it takes that size back too.
TEST_F(BorderFormTest, AStretchedFormKeepsItsSizeFromBeforeWhenItsBorderWindowIsMadeAnew) {
  const RECT work = WorkArea();
  const int offX = BorderFormOffsetX(border), offY = BorderFormOffsetY(border);
  const int fullHeight = (work.bottom - work.top) - offY - offX;
  const int fullWidth = (work.right - work.left) - 2 * offX;
  auto bounds = [this] { return FormBounds(); };
  auto madeAnew = [this] {
    border = provider->ExtBorderForm();
    return border != nullptr && border->BorderWindow() != nullptr;
  };

  {
    SCOPED_TRACE("maximised with native borders and restored");
    manager->Options()->SetOption(TqvOption::NativeBordersMaximized, true);
    const vcl::TScopeExit native([this] { manager->Options()->SetOption(TqvOption::NativeBordersMaximized, false); });
    DoubleClickBorder(Width() / 2, kShadow + 1);  // the top edge
    ASSERT_EQ(bounds(), vcl::Rect(kLeft, work.top + offY, 400, fullHeight));
    SendMessageW(Wnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(IsZoomed(Wnd()));
    ASSERT_EQ(provider->ExtBorderForm(), nullptr);
    SendMessageW(Wnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_FALSE(IsZoomed(Wnd()));
    ASSERT_TRUE(madeAnew());
    EXPECT_EQ(bounds(), vcl::Rect(kLeft, work.top + offY, 400, 300));
    EXPECT_FALSE(provider->ExtFlags & kBorderStretchedHeight);
    // The same for the width.
    DoubleClickBorder(kShadow, Height() / 2);  // the left edge
    ASSERT_EQ(bounds(), vcl::Rect(work.left + offX, work.top + offY, fullWidth, 300));
    SendMessageW(Wnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_EQ(provider->ExtBorderForm(), nullptr);
    SendMessageW(Wnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(madeAnew());
    EXPECT_EQ(bounds(), vcl::Rect(work.left + offX, work.top + offY, 400, 300));
    EXPECT_FALSE(provider->ExtFlags & kBorderStretchedWidth);
  }
  form->SetBounds(kLeft, kTop, 400, 300);
  ASSERT_FALSE(provider->ExtFlags & (kBorderStretchedHeight | kBorderStretchedWidth));

  {
    SCOPED_TRACE("the extended borders switched off and on again");
    DoubleClickBorder(Width() / 2, kShadow + 1);  // the top edge
    ASSERT_EQ(bounds(), vcl::Rect(kLeft, work.top + offY, 400, fullHeight));
    provider->SetAllowExtBorders(false);
    ASSERT_EQ(provider->ExtBorderForm(), nullptr);
    provider->SetAllowExtBorders(true);
    ASSERT_TRUE(madeAnew());
    ASSERT_TRUE(provider->ExtFlags & kBorderStretchedHeight);
    DoubleClickBorder(Width() / 2, Height() - kShadow);  // the bottom edge: back
    EXPECT_EQ(bounds(), vcl::Rect(kLeft, kTop, 400, 300));
    DoubleClickBorder(Width() - kShadow, Height() / 2);  // the right edge
    ASSERT_EQ(bounds(), vcl::Rect(work.left + offX, kTop, fullWidth, 300));
    provider->SetAllowExtBorders(false);
    provider->SetAllowExtBorders(true);
    ASSERT_TRUE(madeAnew());
    DoubleClickBorder(kShadow, Height() / 2);  // the left edge: back
    EXPECT_EQ(bounds(), vcl::Rect(kLeft, kTop, 400, 300));
  }

  {
    SCOPED_TRACE("moved without a border form");
    DoubleClickBorder(Width() / 2, Height() - kShadow);  // the bottom edge
    ASSERT_EQ(bounds(), vcl::Rect(kLeft, work.top + offY, 400, fullHeight));
    provider->SetAllowExtBorders(false);
    ASSERT_EQ(provider->ExtBorderForm(), nullptr);
    SetWindowPos(Wnd(), nullptr, kLeft + 20, work.top + offY + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(bounds(), vcl::Rect(kLeft + 20, work.top + offY + 10, 400, 300));
    EXPECT_FALSE(provider->ExtFlags & kBorderStretchedHeight);
    provider->SetAllowExtBorders(true);
    ASSERT_TRUE(madeAnew());
  }
}

// Hidden with the hide effect, a form leaves nothing of its frame on the screen once the fade is
// over: its border window goes, also while it is stretched by a double click on an edge (its
// height or its width) or glued to its neighbours, which are no animations.
TEST_F(BorderFormTest, AStretchedOrGluedFormHiddenWithTheHideEffectLeavesNoFrameBehind) {
  TqvFormHide* hide = manager->AnimEffects()->FormHide();
  hide->SetActive(true);
  hide->SetTime(120);
  const vcl::TScopeExit noHide([hide] {
    wintest::PumpUntil([] { return HideAnimationForm() == nullptr; });
    hide->SetActive(false);
  });
  auto frameShown = [this] {
    const TqvBorderForm* own = provider->ExtBorderForm();
    const HWND wnd = own ? own->BorderWindow() : nullptr;
    return wnd && IsWindowVisible(wnd);
  };
  const struct {
    const char* Name;
    int X, Y;  // a double click there first, or none
    std::uint32_t Glued;
  } cases[] = {{"at rest", -1, -1, 0},
               {"stretched in height", 0, kShadow + 1, 0},
               {"stretched in width", kShadow, 0, 0},
               {"glued", -1, -1, kExtGlued}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    form->SetBounds(kLeft, kTop, 400, 300);
    form->Show();
    provider->InitExBorders(manager->ExtendedBorders());
    border = provider->ExtBorderForm();
    ASSERT_NE(border, nullptr);
    border->UpdateExBordersPos(true, 255);
    ASSERT_TRUE(frameShown());
    if (c.X >= 0) DoubleClickBorder(c.X > 0 ? c.X : Width() / 2, c.Y > 0 ? c.Y : Height() / 2);
    provider->ExtFlags |= c.Glued;
    if (c.X >= 0) {
      ASSERT_NE(provider->ExtFlags & (kBorderStretchedHeight | kBorderStretchedWidth), 0u);
    }
    form->Hide();
    ASSERT_TRUE(wintest::PumpUntil([] { return HideAnimationForm() == nullptr; }));
    wintest::PumpUntilIdle();
    EXPECT_FALSE(IsWindowVisible(Wnd()));
    EXPECT_FALSE(frameShown());
  }
}

// A hidden form's border window is kept only while one of the animations owns it (a blended
// move, the minimise, hide or restore animation, a skin change); each of the flag word's other
// bits alone lets it go at the next update.
TEST_F(BorderFormTest, OnlyAnAnimationKeepsTheBorderWindowOfAHiddenForm) {
  ShowWindow(Wnd(), SW_HIDE);
  ASSERT_FALSE(IsWindowVisible(Wnd()));
  const std::uint32_t before = provider->ExtFlags;
  constexpr std::uint32_t kAnimations[] = {kExtBlendMoving, kExtMinimizing, kExtHiding, kExtRestoring, kExtSkinChanging};
  constexpr std::uint32_t kOthers[] = {0, kBorderStretchedHeight, kBorderStretchedWidth, kExtActivating, kExtGlued};
  std::vector<std::pair<std::uint32_t, bool>> flags;
  for (const std::uint32_t bit : kAnimations) flags.emplace_back(bit, true);
  for (const std::uint32_t bit : kOthers) flags.emplace_back(bit, false);
  for (const auto& [bit, animation] : flags) {
    SCOPED_TRACE(::testing::Message() << "flags 0x" << std::hex << bit);
    border = provider->ExtBorderForm();
    ASSERT_NE(border, nullptr);
    border->CreateNewForm();
    ASSERT_NE(border->Form(), nullptr);
    provider->ExtFlags = bit;
    border->Busy = false;
    border->UpdateExBordersPos(false, 255);
    provider->ExtFlags = before;
    border = provider->ExtBorderForm();
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(border->Form() != nullptr, animation);
    if (border->Form()) ShowWindow(border->BorderWindow(), SW_HIDE);
  }
}

// The position change that gives a stretched form its size from before back is the provider's
// answer alone: the form's own procedure (the class library's constraints, the system's
// tracking limits) never sees it; the next one is the form's as ever.
TEST_F(BorderFormTest, TheSizeFromBeforeIsTheProvidersAnswerAlone) {
  provider.reset();  // a spy below a new provider sees what passes it
  MessageSpy own(form.get());
  provider = NewProvider(form.get());
  ASSERT_TRUE(provider->FormSkinned());
  provider->InitExBorders(manager->ExtendedBorders());
  border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);
  DoubleClickBorder(Width() / 2, kShadow + 1);  // the top edge
  ASSERT_TRUE(provider->ExtFlags & kBorderStretchedHeight);
  const vcl::TRect stretched = FormBounds();
  ASSERT_NE(stretched.Height(), 300);
  // The moves the form's own procedure is asked for.
  std::vector<WINDOWPOS> moves;
  own.OnMessage = [&](const vcl::TMessage& m) {
    if (m.Msg == WM_WINDOWPOSCHANGING && !(reinterpret_cast<const WINDOWPOS*>(m.LParam)->flags & SWP_NOMOVE))
      moves.push_back(*reinterpret_cast<const WINDOWPOS*>(m.LParam));
  };
  auto moveBy = [&](int dx) {
    moves.clear();
    SetWindowPos(Wnd(), nullptr, form->Left() + dx, form->Top(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return moves.size();
  };
  EXPECT_EQ(moveBy(5), 0u);
  EXPECT_EQ(FormBounds(), vcl::Rect(stretched.Left + 5, stretched.Top, 400, 300));
  EXPECT_EQ(moveBy(5), 1u);
  EXPECT_EQ(FormBounds(), vcl::Rect(stretched.Left + 10, stretched.Top, 400, 300));
}

// Made smaller by a change that moves and sizes it, the form finds the border window's client
// hole already of its new size when it takes the change: the border window covers at once what
// the form gives up (a point beyond the new client area, inside the old one). Made larger, or
// only moved, the hole waits for the form.
TEST_F(BorderFormTest, AShrinkingFormFindsTheBorderWindowsHoleOfItsNewSize) {
  provider.reset();  // a spy below a new provider sees the change when the form takes it
  MessageSpy own(form.get());
  provider = NewProvider(form.get());
  ASSERT_TRUE(provider->FormSkinned());
  provider->InitExBorders(manager->ExtendedBorders());
  border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);
  border->UpdateExBordersPos(true, 255);
  const vcl::TRect hole = border->ClientHole(0, 0);
  ASSERT_GT(hole.Width(), 200);
  // Inside the old hole, beyond the hole of a form 100 pixels narrower and lower.
  const vcl::TPoint given(hole.Right - 50, hole.Bottom - 50);
  std::optional<bool> coveredWhenTaken;
  own.OnMessage = [&](const vcl::TMessage& m) {
    if (m.Msg == WM_WINDOWPOSCHANGING && !coveredWhenTaken) coveredWhenTaken = InWindowRegion(BorderWnd(), given.X, given.Y);
  };
  auto change = [&](int width, int height, UINT flags) {
    coveredWhenTaken.reset();
    SetWindowPos(Wnd(), nullptr, form->Left(), form->Top(), width, height, flags | SWP_NOZORDER);
    return coveredWhenTaken.value_or(false);
  };
  EXPECT_FALSE(InWindowRegion(BorderWnd(), given.X, given.Y));
  EXPECT_FALSE(change(420, 320, SWP_NOACTIVATE));  // larger
  EXPECT_FALSE(change(400, 300, 0));               // smaller, but activating (not the user's frame)
  EXPECT_TRUE(change(300, 200, SWP_NOACTIVATE));
  EXPECT_EQ(FormBounds(), vcl::Rect(kLeft, kTop, 300, 200));
  // Once the form took it, the border window stands around it as ever.
  EXPECT_EQ(WindowBox(BorderWnd()), Expected());
  EXPECT_FALSE(provider->ExtFlags & kBorderSizing);
}

// The border window passes its clicks on with -1: the form takes the border form's hit code,
// so the title button pressed there runs its command when released over it, and nothing when
// released off it.
TEST_F(BorderFormTest, APressPassedOnByTheBorderWindowRunsTheTitleButtonsCommand) {
  const vcl::TRect close = provider->CaptionButtons().BtnClose.Rect;  // the border window's coordinates
  const LPARAM at = Screen((close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2);
  // The form's own hit test leaves the title to the border window.
  EXPECT_NE(provider->FrameMouse().HitTestAt(vcl::TPoint(vcl::LParamX(at), vcl::LParamY(at))), HTCLOSE);
  int queries = 0;
  form->OnCloseQuery = vcl::TCloseQueryEvent::FromFunction(
      [](void* n, vcl::TObject*, bool& can) { ++*static_cast<int*>(n), can = false; }, &queries);
  SendMessageW(BorderWnd(), WM_NCLBUTTONDOWN, 19, at);
  EXPECT_EQ(provider->CaptionButtons().BtnClose.State, 2);
  SendMessageW(BorderWnd(), WM_NCLBUTTONUP, 19, Screen(Width() / 2, kShadow + 12));
  EXPECT_EQ(queries, 0);
  EXPECT_NE(provider->CaptionButtons().BtnClose.State, 2);
  SendMessageW(Wnd(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTTRANSPARENT), at);
  EXPECT_EQ(provider->CaptionButtons().BtnClose.State, 2);
  SendMessageW(Wnd(), WM_NCLBUTTONUP, static_cast<WPARAM>(HTTRANSPARENT), at);
  EXPECT_EQ(queries, 1);
  EXPECT_EQ(provider->CaptionButtons().BtnClose.State, 0);
}

// Every title element pressed and released through the border window runs its command: the
// release finds the element where the press did, in the window image's coordinates (shadow and
// border offsets in them). Released off the element, it only lets go.
TEST_F(BorderFormTest, TitleButtonsPressedAndReleasedOnTheBorderWindowRunTheirCommands) {
  form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize, vcl::biHelp});
  int ups = 0;
  TsTitleButton* user = provider->TitleButtons()->Add();
  user->OnMouseUp = vcl::TMouseEvent::FromFunction(
      [](void* n, vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) { ++*static_cast<int*>(n); }, &ups);
  provider->CaptionButtons().InitSystemButtons();
  provider->SkinData->BGChanged = true;
  border->UpdateExBordersPos(true, 255);
  MessageSpy spy(form.get(), WM_SYSCOMMAND);  // the commands are caught on their way
  std::vector<WPARAM>& commands = spy.seen[WM_SYSCOMMAND];
  // Near the buttons' top-left corners: there the window's own coordinates lie off the button.
  auto corner = [&](const vcl::TRect& r) { return Screen(r.Left + 1, r.Top + 1); };
  auto click = [&](const vcl::TRect& r) {
    SendMessageW(BorderWnd(), WM_NCLBUTTONDOWN, 19, corner(r));
    SendMessageW(BorderWnd(), WM_NCLBUTTONUP, 19, corner(r));
  };
  ASSERT_FALSE(provider->CaptionButtons().BtnHelp.Rect.IsEmpty());
  ASSERT_FALSE(user->Data.Rect.IsEmpty());
  click(provider->CaptionButtons().BtnMinimize.Rect);
  EXPECT_EQ(provider->CaptionButtons().BtnMinimize.State, 0);
  click(provider->CaptionButtons().BtnMaximize.Rect);
  EXPECT_EQ(provider->CaptionButtons().BtnMaximize.State, 0);
  click(provider->CaptionButtons().BtnHelp.Rect);
  EXPECT_EQ(provider->CaptionButtons().BtnHelp.State, 0);
  EXPECT_EQ(commands, (std::vector<WPARAM>{SC_MINIMIZE, SC_MAXIMIZE, SC_CONTEXTHELP}));
  click(user->Data.Rect);
  EXPECT_EQ(ups, 1);
  EXPECT_NE(user->Data.State, 2);

  // Pressed, dragged off and released on the caption: no command, and not drawn pressed.
  SendMessageW(BorderWnd(), WM_NCLBUTTONDOWN, 19, corner(provider->CaptionButtons().BtnMinimize.Rect));
  EXPECT_EQ(provider->CaptionButtons().BtnMinimize.State, 2);
  SendMessageW(BorderWnd(), WM_NCLBUTTONUP, 19, Screen(Width() / 2, kShadow + 12));
  EXPECT_EQ(commands.size(), 3u);
  EXPECT_EQ(provider->CaptionButtons().BtnMinimize.State, 0);
  EXPECT_FALSE(TitleButtonPressed());
}

// A title-bar item on the border window: pressed and released over it, it clicks, released
// elsewhere it only lets go; its caption goes into the window image opaque (the border window
// shows the image with per-pixel alpha: letters of alpha 0 would let the desktop through).
TEST_F(BorderFormTest, TitleBarItemsOnTheBorderWindowClickAndShowOpaqueCaptions) {
  auto* bar = vcl::Construct<TsTitleBar>(form.get());
  TqvTitleBarItem* copy = bar->Items()->Add();
  copy->SetCaption(L"Copy");
  TqvTitleBarItem* menu = bar->Items()->Add();
  menu->SetCaption(L"Menu");
  vcl::TPopupMenu popup(form.get());
  menu->SetDropdownMenu(&popup);  // its arrow is a letter too
  int clicks = 0, downs = 0;
  copy->OnClick = vcl::TNotifyEvent::FromFunction([](void* n, vcl::TObject*) { ++*static_cast<int*>(n); }, &clicks);
  copy->OnMouseDown = vcl::TMouseEvent::FromFunction(
      [](void* n, vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) { ++*static_cast<int*>(n); }, &downs);
  ASSERT_EQ(provider->TitleBar(), bar);
  provider->CaptionItems().InitTitleBarItems();
  provider->SkinData->BGChanged = true;
  border->UpdateExBordersPos(true, 255);
  vcl::TBitmap* image = provider->SkinData->CacheBmp();
  for (const TqvTitleBarItem* item : {copy, menu}) {
    const vcl::TRect r = item->ItemRect;
    ASSERT_GT(r.Width(), 10);
    int transparent = 0, letters = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        const std::uint32_t p = PixelOf(image, x, y);
        if ((p >> 24) != 255) ++transparent;
        if ((p & 0xFFFFFF) != 0x10C010) ++letters;  // off the section's green
      }
    EXPECT_EQ(transparent, 0) << "item at " << r.Left;
    EXPECT_GT(letters, 5) << "item at " << r.Left;
  }

  // The release is judged at its own point, wherever the shared cursor stands meanwhile.
  const LPARAM at = Screen(copy->ItemRect.Left + 3, copy->ItemRect.Top + 3);
  SendMessageW(BorderWnd(), WM_NCLBUTTONDOWN, 19, at);
  SendMessageW(BorderWnd(), WM_NCLBUTTONUP, 19, at);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(copy->Pressed);
  // Pressed, then released on the caption: no click, and the item lets go, so that the next
  // press reaches it.
  SendMessageW(BorderWnd(), WM_NCLBUTTONDOWN, 19, at);
  SendMessageW(BorderWnd(), WM_NCLBUTTONUP, 19, Screen(Width() / 2, kShadow + 12));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(TitleButtonPressed());
  SendMessageW(BorderWnd(), WM_NCLBUTTONDOWN, 19, at);
  SendMessageW(BorderWnd(), WM_NCLBUTTONUP, 19, at);
  EXPECT_EQ(downs, 3);
  EXPECT_EQ(clicks, 2);
  vcl::TObject::Free(bar);
}

// The mouse goes straight off the border window from a title-bar item or a title button: the
// system's leave of the window (asked for while an element is hot) takes the hot look and the
// item's hint away.
TEST_F(BorderFormTest, AnItemOrATitleButtonLeftStraightOffTheBorderWindowIsAtRestAgain) {
  auto* bar = vcl::Construct<TsTitleBar>(form.get());
  TqvTitleBarItem* copy = bar->Items()->Add();
  copy->SetCaption(L"Copy");
  copy->SetHint(L"Copies the page");
  copy->SetShowHint(true);
  ASSERT_EQ(provider->TitleBar(), bar);
  provider->CaptionItems().InitTitleBarItems();
  provider->SkinData->BGChanged = true;
  border->UpdateExBordersPos(true, 255);
  const int pause = vcl::Application->HintPause();
  vcl::Application->SetHintPause(0);
  const vcl::TScopeExit restore([pause, bar] {
    vcl::Application->SetHintPause(pause);
    vcl::TObject::Free(bar);
  });
  auto hintShown = [] { return wintest::ThreadShowsWindow(L"Copies the page"); };
  const vcl::TRect item = copy->ItemRect;
  const LPARAM overItem = Screen((item.Left + item.Right) / 2, (item.Top + item.Bottom) / 2);
  const vcl::TRect close = provider->CaptionButtons().BtnClose.Rect;
  const LPARAM overClose = Screen((close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2);
  auto moveOnto = [this](LPARAM at) {
    SendMessageW(BorderWnd(), WM_NCMOUSEMOVE, static_cast<WPARAM>(SendMessageW(BorderWnd(), WM_NCHITTEST, 0, at)), at);
  };

  moveOnto(overItem);
  ASSERT_EQ(copy->HotState(), 1);
  ASSERT_TRUE(hintShown());
  SendMessageW(BorderWnd(), WM_NCMOUSELEAVE, 0, 0);
  EXPECT_EQ(copy->HotState(), 0);
  EXPECT_FALSE(hintShown());
  moveOnto(overClose);
  ASSERT_EQ(provider->CaptionButtons().BtnClose.State, 1);
  SendMessageW(BorderWnd(), WM_NCMOUSELEAVE, 0, 0);
  EXPECT_EQ(provider->CaptionButtons().BtnClose.State, 0);

  // The real pointer: on the item, then straight off the window. Another test's window may
  // lie over the item for a moment.
  const wintest::PointerLock pointer;
  const POINT itemPoint{vcl::LParamX(overItem), vcl::LParamY(overItem)};
  ASSERT_TRUE(wintest::RaiseUntilShownAt(Wnd(), BorderWnd(), itemPoint));
  ASSERT_TRUE(wintest::MovePointer(itemPoint.x, itemPoint.y));
  moveOnto(overItem);
  ASSERT_TRUE(wintest::PumpUntil([&] { return copy->HotState() == 1 && hintShown(); }));
  ASSERT_TRUE(wintest::MovePointer(vcl::LParamX(overItem) - 300, vcl::LParamY(overItem) + 100));
  EXPECT_TRUE(wintest::PumpUntil([&] { return copy->HotState() == 0 && !hintShown(); }))
      << "the item stays hot after the pointer left the window";
  EXPECT_LE(provider->FrameMouse().HotElement, 0);
}

// A move onto a title-bar item or a title button of the border window handled after the real
// pointer left it (a busy program handles its input late): the element comes to rest by itself,
// its hint gone. With the pointer still on the window the item stays hot.
TEST_F(BorderFormTest, AMoveHandledAfterThePointerLeftTheBorderWindowLeavesNothingHot) {
  auto* bar = vcl::Construct<TsTitleBar>(form.get());
  TqvTitleBarItem* copy = bar->Items()->Add();
  copy->SetCaption(L"Copy");
  copy->SetHint(L"Copies the page");
  copy->SetShowHint(true);
  ASSERT_EQ(provider->TitleBar(), bar);
  provider->CaptionItems().InitTitleBarItems();
  provider->SkinData->BGChanged = true;
  border->UpdateExBordersPos(true, 255);
  const int pause = vcl::Application->HintPause();
  vcl::Application->SetHintPause(0);
  const vcl::TScopeExit restore([pause, bar] {
    vcl::Application->SetHintPause(pause);
    vcl::TObject::Free(bar);
  });
  auto hintShown = [] { return wintest::ThreadShowsWindow(L"Copies the page"); };
  const vcl::TRect item = copy->ItemRect;
  const LPARAM overItem = Screen((item.Left + item.Right) / 2, (item.Top + item.Bottom) / 2);
  const vcl::TRect close = provider->CaptionButtons().BtnClose.Rect;
  const LPARAM overClose = Screen((close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2);
  auto moveOnto = [this](LPARAM at) {
    SendMessageW(BorderWnd(), WM_NCMOUSEMOVE, static_cast<WPARAM>(SendMessageW(BorderWnd(), WM_NCHITTEST, 0, at)), at);
  };

  const wintest::PointerLock pointer;
  const POINT itemPoint{vcl::LParamX(overItem), vcl::LParamY(overItem)};
  ASSERT_TRUE(wintest::MovePointer(itemPoint.x - 300, itemPoint.y + 100));
  moveOnto(overItem);
  ASSERT_EQ(copy->HotState(), 1);
  EXPECT_TRUE(wintest::PumpUntil([&] { return copy->HotState() == 0 && !hintShown(); }))
      << "the item stays hot with the pointer gone";
  moveOnto(overClose);
  ASSERT_EQ(provider->CaptionButtons().BtnClose.State, 1);
  EXPECT_TRUE(wintest::PumpUntil([&] { return provider->CaptionButtons().BtnClose.State == 0; }))
      << "the close button stays hot with the pointer gone";

  // The pointer on the item: it stays hot.
  ASSERT_TRUE(wintest::RaiseUntilShownAt(Wnd(), BorderWnd(), itemPoint));
  ASSERT_TRUE(wintest::MovePointer(itemPoint.x, itemPoint.y));
  moveOnto(overItem);
  ASSERT_TRUE(wintest::PumpUntilIdle());
  EXPECT_EQ(copy->HotState(), 1);
  EXPECT_TRUE(hintShown());
}

// The form's own region under its border window: its client part (the border window shows
// the frame), for a maximised form only what lies on its monitor's work area.
TEST_F(BorderFormTest, TheFormsRegionIsItsClientPartOnTheWorkArea) {
  const int f = SysBorderWidth(Wnd(), nullptr, false), c = SysCaptionHeight(form.get());
  auto box = [](HRGN rgn) {
    RECT r{};
    GetRgnBox(rgn, &r);
    DeleteObject(rgn);
    return vcl::TRect(r);
  };
  EXPECT_EQ(box(border->MakeParentRgn(3, 5, false)), vcl::Rect(f + 3, f + c + 5, 400 - f + 3, 300 - f + 5));
  // Beyond the work area's right edge: taken as maximised, cut there.
  const RECT work = WorkArea();
  const int left = work.right - 250;
  form->SetBounds(left, kTop, 400, 300);
  EXPECT_EQ(box(border->MakeParentRgn(0, 0, false)), vcl::Rect(f, f + c, 400 - f, 300 - f));
  EXPECT_EQ(box(border->MakeParentRgn(0, 0, true)), vcl::Rect(f, f + c, work.right - left, 300 - f));
}

// A caption press on the border window starts the blended move only where the blend shows:
// not for a maximised form, with composition only for a blend value below 255, and only with
// AllowBlendOnMoving.
TEST_F(BorderFormTest, ThePressOnTheBorderWindowsCaptionBlendsOnlyWhereItShows) {
  TqvBlendOnMoving* blend = manager->AnimEffects()->BlendOnMoving();
  blend->SetActive(true);
  blend->SetTime(0);
  // The border window's move loop is caught on its way, and so is the form's own (the
  // system's, for a press that does not blend).
  MessageSpy moves(border->Form(), WM_SYSCOMMAND);
  MessageSpy own(form.get(), WM_SYSCOMMAND);
  BOOL fullDrag = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  auto press = [&] {
    moves.seen[WM_SYSCOMMAND].clear();
    border->UpdateExBordersPos(true, 255);
    SendMessageW(BorderWnd(), WM_NCLBUTTONDOWN, 19, Screen(Width() / 2, kShadow + 12));
    SetTitleButtonPressed(false);
    return !moves.seen[WM_SYSCOMMAND].empty();
  };
  blend->SetBlendValue(200);
  EXPECT_TRUE(press());
  blend->SetBlendValue(255);
  EXPECT_FALSE(press());  // composition on: full opacity shows no blend
  g_composition = FALSE;
  EXPECT_TRUE(press());
  g_composition = TRUE;
  blend->SetBlendValue(200);
  provider->SetAllowBlendOnMoving(false);
  EXPECT_FALSE(press());
  provider->SetAllowBlendOnMoving(true);
  EXPECT_TRUE(press());
  EXPECT_FALSE(provider->ExtFlags & kExtBlendMoving);
  blend->SetActive(false);
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, fullDrag, nullptr, 0);
}

// The form's glow (its section's) stands round the border window: the mouse entering the form
// puts it where the border window is now.
TEST_F(BorderFormTest, TheFormsGlowFollowsTheBorderWindowWhenTheMouseEnters) {
  const std::optional<bool> alpha = SetPerPixelAlphaShown(true);
  manager->Effects()->SetAllowGlowing(true);
  const TqvControlSkin data = provider->SkinData->ControlSkin();
  provider->SkinData->GlowID = AddGlow(vcl::Rect(0, 0, 50, 50), L"FORM", L"GLOW", 0, 255, BorderWnd(), &data);
  ASSERT_GE(provider->SkinData->GlowID, 0);
  const vcl::TRect at = WindowBox(BorderWnd());
  form->Perform(vcl::CM_MOUSEENTER, 0, 0);
  ASSERT_GE(provider->SkinData->GlowID, 0);
  const TqvGlowEffect* glow = GlowAt(provider->SkinData->GlowID);
  ASSERT_TRUE(glow && glow->Form());
  const vcl::TRect shown = WindowBox(glow->Form()->Handle());
  EXPECT_LT(shown.Left, at.Left);
  EXPECT_GT(shown.Right, at.Right);
  EXPECT_GT(shown.Width(), 100);
  ClearGlows(true);
  provider->SkinData->GlowID = -1;
  SetPerPixelAlphaShown(alpha);
}

// With a border window the blend shows on the border window, and the form stays where the
// border window ends.
TEST_F(BorderFormTest, BlendOnMovingFadesTheBorderWindow) {
  TqvBlendOnMoving* blend = manager->AnimEffects()->BlendOnMoving();
  blend->SetActive(true);
  blend->SetTime(120);
  blend->SetBlendValue(200);
  const vcl::TRect before = WindowBox(Wnd());
  provider->Animator().StartBlendOnMoving(false);
  auto* timer = dynamic_cast<TqvMoveTimer*>(provider->Animator().Timer());
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(border->Busy);
  updates.clear();
  timer->Step();
  timer->Step();
  ASSERT_EQ(updates.size(), 2u);
  EXPECT_EQ(updates[0].Wnd, BorderWnd());
  EXPECT_EQ(updates[0].Alpha, 255);
  EXPECT_EQ(updates[1].Alpha, 250);  // 249.5 rounded
  provider->Animator().StopBlendOnMoving(nullptr);
  EXPECT_FALSE(border->Busy);
  EXPECT_EQ(provider->Animator().Timer(), nullptr);
  EXPECT_EQ(WindowBox(Wnd()), before);
  ASSERT_FALSE(updates.empty());
  EXPECT_EQ(updates.back().Alpha, 255);
}

}  // namespace
}  // namespace skin_layered::test
