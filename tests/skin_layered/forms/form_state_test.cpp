// A skinned form's activation, system commands and animations (stepped, never waited for).
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <optional>

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormAnimations.h"
#include "skin_layered/forms/RubberFrame.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"
#include "skinned_form_fixture.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

class TStateMdiFrame : public vcl::TForm {
  VCL_CLASS(TStateMdiFrame, vcl::TForm)
 public:
  explicit TStateMdiFrame(vcl::TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(vcl::fsMDIForm); }
};
VCL_CLASS_INFO(TStateMdiFrame) {}

class TStateMdiChild : public vcl::TForm {
  VCL_CLASS(TStateMdiChild, vcl::TForm)
 public:
  explicit TStateMdiChild(vcl::TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(vcl::fsMDIChild); }
};
VCL_CLASS_INFO(TStateMdiChild) {}

bool g_composition = false;
HRESULT WINAPI Composition(BOOL* on) {
  *on = g_composition ? TRUE : FALSE;
  return S_OK;
}

// The task bar's iconic pictures switched on and off (attributes 7 and 10): (window, attribute,
// value).
struct TAttributeSet {
  HWND Wnd;
  DWORD Attribute;
  BOOL Value;
  bool operator==(const TAttributeSet&) const = default;
};
std::vector<TAttributeSet> g_attributes;
HRESULT WINAPI RecordAttribute(HWND wnd, DWORD attribute, LPCVOID value, DWORD size) {
  constexpr DWORD kForceIconic = 7, kHasIconic = 10;
  if (attribute == kForceIconic || attribute == kHasIconic)
    g_attributes.push_back({wnd, attribute, size == sizeof(BOOL) ? *static_cast<const BOOL*>(value) : -1});
  return S_OK;
}

class FormStateTest : public SkinnedFormTest {
 protected:
  // An MDI frame under the skin "Frame", placed; providers only where the test puts them.
  TStateMdiFrame* ShownMdiFrame() {
    manager->SetSkinningRules({srStdDialogs});
    manager->SetSkinName(L"Frame");
    auto* frame = vcl::Application->CreateForm<TStateMdiFrame>();
    frame->SetBounds(kFormLeft - 300, kFormTop - 200, 600, 450);
    return frame;
  }
  void SetUp() override {
    SkinnedFormTest::SetUp();
    previousVersion = SetPlatformVersionQuery([] { return TPlatformVersion{10, 0, 2}; });
    TqvDwmBindings bindings;
    bindings.IsCompositionEnabled = &Composition;
    bindings.SetWindowAttribute = &RecordAttribute;
    g_composition = false;
    g_attributes.clear();
    SetDwmBindings(&bindings);
    systemAnimation = GetSysMinAnimation();
    previousUpdate = SetLayeredUpdateFunc([this](const TLayeredUpdate& u) {
      alphas.push_back(u.Alpha);
      return true;
    });
    TqvAnimationClock clock;
    clock.Tick = [this] { return now; };
    clock.WaitUntil = [this](DWORD until) {
      if (static_cast<int>(until - now) > 0) now = until;
    };
    clock.OnFrame = [this](const TqvAnimationFrame& f) { frames.push_back(f.Kind); };
    previousClock = SetAnimationClock(clock);
  }
  void TearDown() override {
    if (provider) provider->Animator().FreeTimer();
    SetAnimationClock(previousClock);
    // A hide animation still fading a form's picture ends here, on the real clock: nothing runs
    // on into the next test (a shutdown query would wait for it).
    EXPECT_TRUE(ProcessMessagesUntil([] { return HideAnimationForm() == nullptr; }, 3000));
    SetLayeredUpdateFunc(previousUpdate);
    SetSysMinAnimation(systemAnimation);
    SetDwmBindings(nullptr);
    SetPlatformVersionQuery(previousVersion);
    SkinnedFormTest::TearDown();
  }
  // Steps the animation until its timer stops (at most Limit steps); answers the steps taken.
  int RunToEnd(TqvMinTimer* timer, int limit = 200) {
    int steps = 0;
    while (timer->Enabled() && steps < limit) {
      timer->Step();
      ++steps;
    }
    return steps;
  }
  std::uint32_t CacheRgb(int x, int y) { return PixelOf(provider->SkinData->CacheBmp(), x, y) & 0xFFFFFF; }

  TPlatformVersionQuery previousVersion;
  TLayeredUpdateFunc previousUpdate;
  TqvAnimationClock previousClock;
  bool systemAnimation = false;
  std::vector<int> alphas;
  std::vector<TqvAnimationKind> frames;
  DWORD now = 1000;
};

// Activation

TEST_F(FormStateTest, ActivationRepaintsTheFrameOnceInTheCaptionsNewState) {
  Skin();
  form->Show();
  MessageSpy above(form.get());  // installed after the provider: sees what reaches the window
  const int x = 200, y = SysBorderWidth(Wnd(), nullptr, false) + 2;
  EXPECT_EQ(SendMessageW(Wnd(), WM_NCACTIVATE, FALSE, 0), TRUE);
  EXPECT_FALSE(provider->FormActive);
  EXPECT_EQ(above.Count(WM_NCPAINT), 1);
  EXPECT_EQ(CacheRgb(x, y), kTitleRgb);
  EXPECT_EQ(provider->TitleCover(), nullptr);
  SendMessageW(Wnd(), WM_NCACTIVATE, TRUE, 0);
  EXPECT_EQ(above.Count(WM_NCPAINT), 2);
  EXPECT_EQ(CacheRgb(x, y), kTitleHotRgb);

  // While a restore animation shows the form's picture, activation waits.
  provider->ExtFlags |= kExtRestoring;
  EXPECT_EQ(SendMessageW(Wnd(), WM_NCACTIVATE, FALSE, 0), TRUE);
  EXPECT_TRUE(provider->FormActive);
  EXPECT_EQ(above.Count(WM_NCPAINT), 2);
  provider->ExtFlags &= ~kExtRestoring;
}

TEST_F(FormStateTest, AnActivationChangeLeavesTheCaptionAndMenuLineToTheSkin) {
  auto* menu = new vcl::TMainMenu(form.get());
  auto* item = new vcl::TMenuItem(menu);
  item->SetCaption(L"&Skin");
  menu->Items()->Add(item);
  form->SetMenu(menu);
  Skin();
  form->Show();
  SendMessageW(Wnd(), WM_NCACTIVATE, TRUE, 0);
  ASSERT_TRUE(provider->Measures().HasMenuLine());
  const int caption = SysBorderWidth(Wnd(), nullptr, false) + 2, menuLine = provider->CaptionButtons().TitleBottom + 2;

  // With the skin's paint held back (an update runs), a marker painted over the whole window
  // shows whether anyone else painted the frame: the system must not, in either state.
  provider->SkinData->CtrlSkinState |= kStateInUpdate;
  constexpr COLORREF kMarker = RGB(0xFF, 0x00, 0xFF);
  HDC dc = GetWindowDC(Wnd());
  ASSERT_TRUE(dc);
  auto mark = [&] {
    HBRUSH brush = CreateSolidBrush(kMarker);
    const RECT all{0, 0, WndWidth(Wnd()), WndHeight(Wnd())};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
  };
  for (const BOOL active : {FALSE, TRUE}) {
    mark();
    SendMessageW(Wnd(), WM_NCACTIVATE, active, 0);
    EXPECT_EQ(provider->FormActive, active != FALSE);
    for (auto [x, y] : {std::pair{200, caption}, {8, menuLine}, {300, menuLine}})
      EXPECT_EQ(GetPixel(dc, x, y), kMarker) << x << "," << y << ", active " << active;
  }

  // Once the skin paints again, the frame is the skin's.
  provider->SkinData->CtrlSkinState &= ~kStateInUpdate;
  mark();
  SendMessageW(Wnd(), WM_NCACTIVATE, FALSE, 0);
  EXPECT_NE(GetPixel(dc, 200, caption), kMarker);
  EXPECT_NE(GetPixel(dc, 300, menuLine), kMarker);
  ReleaseDC(Wnd(), dc);
  form->SetMenu(nullptr);
}

// Showing and hiding

// Where the display blends layered windows' alpha (the fades are seen there).
TEST_F(FormStateTest, ShowingFadesTheFormInAndHidingLeavesAFadingPictureBehind) {
  const std::optional<bool> perPixel = SetPerPixelAlphaShown(true);
  const vcl::TScopeExit restore([&perPixel] { SetPerPixelAlphaShown(perPixel); });
  Skin();
  manager->AnimEffects()->FormShow()->SetActive(true);
  manager->AnimEffects()->FormShow()->SetTime(120);
  form->Show();
  EXPECT_GE(std::count(frames.begin(), frames.end(), TqvAnimationKind::Show), 5);
  EXPECT_TRUE(IsWindowVisible(Wnd()));
  EXPECT_FALSE(provider->SkinData->Updating);

  manager->AnimEffects()->FormHide()->SetActive(true);
  manager->AnimEffects()->FormHide()->SetTime(120);
  provider->SetAllowAnimation(false);
  form->Hide();
  EXPECT_EQ(HideAnimationForm(), nullptr);  // gone at once
  EXPECT_FALSE(IsWindowVisible(Wnd()));
  provider->SetAllowAnimation(true);
  manager->AnimEffects()->FormShow()->SetActive(false);
  form->Show();
  form->Hide();
  EXPECT_NE(HideAnimationForm(), nullptr);  // the form's picture fades out in its place
  EXPECT_FALSE(IsWindowVisible(Wnd()));
}

// The picture a show puts on the screen before the form paints holds the form's frame and
// caption, not black there; on a display that blends alpha (faded in) and on one that does
// not (shown at once).
TEST_F(FormStateTest, TheShowsPictureHoldsTheFormsFrameAndCaption) {
  Skin();
  manager->AnimEffects()->FormShow()->SetActive(true);
  manager->AnimEffects()->FormShow()->SetTime(120);
  // Of each picture put on a window other than the form: the pixels of the band above the
  // client of the caption's colours, and the black ones.
  struct Band {
    int Caption = 0, Black = 0;
  };
  std::vector<Band> bands;
  const TLayeredUpdateFunc before = SetLayeredUpdateFunc([&](const TLayeredUpdate& u) {
    if (!u.Bitmap || u.Wnd == Wnd()) return true;
    RECT wr{};
    GetWindowRect(Wnd(), &wr);
    POINT client{0, 0};
    ClientToScreen(Wnd(), &client);
    Band band;
    for (int y = 0; y < client.y - wr.top; ++y)
      for (int x = 0; x < u.Bitmap->Width(); ++x) {
        const std::uint32_t rgb = PixelOf(u.Bitmap, x, y) & 0xFFFFFF;
        band.Caption += rgb == kTitleRgb || rgb == kTitleHotRgb;
        band.Black += rgb == 0;
      }
    bands.push_back(band);
    return true;
  });
  const std::optional<bool> perPixel = SetPerPixelAlphaShown(std::nullopt);
  const vcl::TScopeExit restore([&] {
    SetLayeredUpdateFunc(before);
    SetPerPixelAlphaShown(perPixel);
  });
  for (const bool blended : {true, false}) {
    SCOPED_TRACE(blended ? "alpha blended" : "alpha not blended");
    SetPerPixelAlphaShown(blended);
    bands.clear();
    form->Show();
    ASSERT_FALSE(bands.empty());
    // Every picture where nothing fades; where the fade zooms in, its end: the whole picture.
    for (std::size_t i = blended ? bands.size() - 1 : 0; i < bands.size(); ++i) {
      EXPECT_GT(bands[i].Caption, 200);
      EXPECT_EQ(bands[i].Black, 0);
    }
    form->Hide();
    ASSERT_TRUE(ProcessMessagesUntil([] { return HideAnimationForm() == nullptr; }, 3000));
  }
}

// Skin change

// Where the display blends no per-pixel alpha, a skin change cross-fades the form from the look
// the screen showed to the new one: every frame on the way is a mix of the two, never darker,
// also for a form reaching past the screen's edge (maximised, its frame lies outside; or moved
// partly off the screen), whose old look read from the screen was black.
TEST_F(FormStateTest, ASkinChangeCrossFadesFromTheOldLookAlsoForAFormReachingPastTheScreen) {
  std::string other = FrameSkinText();
  const std::string section = "[FORM]\r\nSTATES=2\r\nCOLOR=$A0B0C0\r\nHOTCOLOR=$A0B0C0";
  other.replace(other.find(section), section.size(), "[FORM]\r\nSTATES=2\r\nCOLOR=$60E040\r\nHOTCOLOR=$60E040");
  WriteSkin(L"Other", other);
  skins.Write(L"Other", L"master.bmp", Bmp24(kMasterWidth, kMasterHeight, MasterPixel));
  constexpr std::uint32_t kOtherFormRgb = 0x40E060;
  Skin();
  form->Show();
  // The old look is what the screen shows: the form stands over every other program's window
  // (and their pointer tests wait) while it changes.
  const wintest::PointerLock pointer;
  SetWindowPos(Wnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const std::optional<bool> perPixel = SetPerPixelAlphaShown(false);
  manager->AnimEffects()->SkinChanging()->SetActive(true);
  manager->AnimEffects()->SkinChanging()->SetTime(120);

  // The client's middle as each frame of the cross-fade shows it, with the old look's weight;
  // and as the window showed it before its first frame (while the new look was being made).
  struct Shown {
    int Weight;
    std::uint32_t Rgb;
  };
  std::vector<Shown> shown;
  std::optional<std::uint32_t> before;
  auto outputMiddle = [&]() -> std::optional<std::uint32_t> {
    const HWND output = wintest::FindThreadWindow([](HWND w) {
      wchar_t text[32] = {};
      GetWindowTextW(w, text, 32);
      return wcscmp(text, L"qvOutputWindow") == 0 && IsWindowVisible(w);
    });
    if (!output) return std::nullopt;
    RECT client{};
    GetClientRect(Wnd(), &client);
    POINT middle{client.right / 2, client.bottom / 2};
    ClientToScreen(Wnd(), &middle);
    RECT box{};
    GetWindowRect(output, &box);
    HDC dc = GetWindowDC(output);
    const COLORREF c = GetPixel(dc, middle.x - box.left, middle.y - box.top);
    ReleaseDC(output, dc);
    return static_cast<std::uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
  };
  TqvAnimationClock clock = SetAnimationClock({});
  TqvAnimationClock watching = clock;
  watching.Tick = [&]() -> DWORD {
    if (shown.empty() && !before) before = outputMiddle();
    return clock.Tick ? clock.Tick() : GetTickCount();
  };
  watching.OnFrame = [&](const TqvAnimationFrame& f) {
    if (clock.OnFrame) clock.OnFrame(f);
    if (f.Kind != TqvAnimationKind::ChangeFallback) return;
    if (const std::optional<std::uint32_t> rgb = outputMiddle()) shown.push_back({f.Alpha, *rgb});
  };
  SetAnimationClock(watching);
  const vcl::TScopeExit restore([&] {
    SetAnimationClock(clock);
    SetPerPixelAlphaShown(perPixel);
  });
  auto alike = [](std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16})
      if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8) return false;
    return true;
  };
  auto mix = [](std::uint32_t from, std::uint32_t to, int weight) {
    std::uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
      const int a = static_cast<int>((from >> shift) & 0xFF), b = static_cast<int>((to >> shift) & 0xFF);
      out |= static_cast<std::uint32_t>((a * weight + b * (255 - weight)) / 255) << shift;
    }
    return out;
  };
  auto screenMiddle = [&] {
    RECT client{};
    GetClientRect(Wnd(), &client);
    POINT middle{client.right / 2, client.bottom / 2};
    ClientToScreen(Wnd(), &middle);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, middle.x, middle.y);
    ReleaseDC(nullptr, screen);
    return static_cast<std::uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
  };
  // Each case switches from the skin the form wears to the other one.
  auto change = [&](const char* name, const wchar_t* to, std::uint32_t from, std::uint32_t next) {
    SCOPED_TRACE(name);
    // The old look is read from the screen: first the screen shows the form there (its painting
    // after a move may lag, and a test program beside may have laid a window over it).
    ASSERT_TRUE(wintest::PumpUntil([&] {
      if (alike(screenMiddle(), from)) return true;
      SetWindowPos(Wnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return false;
    })) << std::hex << screenMiddle() << " shown where the form lies";
    shown.clear();
    before.reset();
    vcl::Application->ProcessMessages();
    manager->SetSkinName(to);
    ASSERT_GE(shown.size(), 5u);
    ASSERT_TRUE(before.has_value());
    EXPECT_TRUE(alike(*before, from)) << std::hex << *before << " before the first frame";
    int between = 0;
    for (const Shown& s : shown) {
      EXPECT_TRUE(alike(s.Rgb, mix(from, next, std::clamp(s.Weight, 0, 255))))
          << std::hex << s.Rgb << " at the old look's weight " << std::dec << s.Weight;
      between += s.Weight > 40 && s.Weight < 215;
    }
    EXPECT_GE(between, 3);
  };
  // On the screen whole (as it always was), then partly past its left edge, then maximised.
  change("on the screen", L"Other", kFormRgb, kOtherFormRgb);
  form->SetBounds(-120, kFormTop, 400, 300);
  vcl::Application->ProcessMessages();
  change("past the left edge", L"Frame", kOtherFormRgb, kFormRgb);
  ShowWindow(Wnd(), SW_MAXIMIZE);
  ASSERT_TRUE(IsZoomed(Wnd()));
  change("maximised", L"Other", kFormRgb, kOtherFormRgb);
  ShowWindow(Wnd(), SW_RESTORE);
}

// Minimise and restore

TEST_F(FormStateTest, MinimiseAndRestoreRunTheAnimationAndEndInTheRightState) {
  Skin();
  form->Show();
  manager->AnimEffects()->Minimizing()->SetActive(true);
  manager->AnimEffects()->Minimizing()->SetTime(120);
  SetSysMinAnimation(true);  // kept off by some systems
  const bool before = GetSysMinAnimation();
  own->answers.erase(WM_SYSCOMMAND);  // the commands reach the system
  bool systemAnimationDuring = true;
  own->OnMessage = [&](const vcl::TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND) systemAnimationDuring = GetSysMinAnimation();
  };

  SetTaskbarPreviewSwitch(true);
  SendMessageW(Wnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(Wnd()));
  EXPECT_FALSE(systemAnimationDuring);  // only the provider's animation shows
  // The task bar shows the form's picture while it is minimised: the application's window
  // (it has the button of a form not on the task bar itself) is told so.
  constexpr DWORD kHasIconicBitmap = 10;
  const HWND button = vcl::Application->Handle();
  EXPECT_EQ(g_attributes, (std::vector<TAttributeSet>{{button, kHasIconicBitmap, TRUE}}));
  EXPECT_EQ(GetSysMinAnimation(), before);  // and the setting is back as it was
  auto* timer = dynamic_cast<TqvMinTimer*>(provider->Animator().Timer());
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(provider->ExtFlags & kExtMinimizing);
  EXPECT_EQ(timer->Steps, 10);
  // A second start while one runs changes nothing.
  const double alpha = timer->Alpha;
  provider->Animator().StartMinimize();
  EXPECT_EQ(provider->Animator().Timer(), timer);
  EXPECT_DOUBLE_EQ(timer->Alpha, alpha);

  alphas.clear();
  RunToEnd(timer);
  EXPECT_TRUE(timer->Restoring);
  EXPECT_FALSE((provider->ExtFlags & kExtMinimizing) || provider->Animator().Busy);
  EXPECT_FALSE(GetWindowLongPtrW(Wnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  ASSERT_GE(alphas.size(), 8u);
  EXPECT_TRUE(std::is_sorted(alphas.rbegin(), alphas.rend()));  // fading out
  EXPECT_NE(provider->Animator().Snapshot(), nullptr);            // the task bar's picture

  systemAnimationDuring = true;
  SendMessageW(Wnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(Wnd()));
  EXPECT_FALSE(systemAnimationDuring);
  EXPECT_TRUE(provider->ExtFlags & kExtRestoring);
  EXPECT_EQ(g_attributes, (std::vector<TAttributeSet>{{button, kHasIconicBitmap, TRUE}, {button, kHasIconicBitmap, FALSE}}));
  SetTaskbarPreviewSwitch(false);
  alphas.clear();
  RunToEnd(timer);
  EXPECT_FALSE((provider->ExtFlags & kExtRestoring) || timer->Restoring || IsIconic(Wnd()));
  EXPECT_TRUE(IsWindowVisible(Wnd()));
  EXPECT_FALSE(GetWindowLongPtrW(Wnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  ASSERT_GE(alphas.size(), 8u);
  EXPECT_LT(alphas.front(), alphas.back());  // fading in
  EXPECT_EQ(GetSysMinAnimation(), before);
}

// While the minimised main form's picture is held by its minimise animation, its commands
// are the application window's (which has its task-bar button and restores it).
TEST_F(FormStateTest, AMinimisedMainFormsCommandsGoToTheApplicationWindow) {
  ASSERT_EQ(vcl::Application->MainForm(), nullptr);
  vcl::TForm* main = vcl::Application->CreateForm<vcl::TForm>();
  main->SetBounds(kFormLeft, kFormTop, 400, 300);
  ProviderPtr mainProvider = NewProvider(main);
  manager->SetSkinName(L"Frame");
  manager->AnimEffects()->Minimizing()->SetActive(true);
  manager->AnimEffects()->Minimizing()->SetTime(120);
  main->Show();
  ShowWindow(main->Handle(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(main->Handle()));
  std::vector<WPARAM> forwarded;
  const vcl::TWindowHook hook = vcl::TWindowHook::FromFunction(
      [](void* seen, vcl::TMessage& m) {
        if (m.Msg != WM_SYSCOMMAND) return false;
        static_cast<std::vector<WPARAM>*>(seen)->push_back(m.WParam);
        return true;
      },
      &forwarded);
  vcl::Application->HookMainWindow(hook);
  // Without the animation's picture the form takes its commands itself.
  SendMessageW(main->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(forwarded.empty());
  EXPECT_FALSE(IsIconic(main->Handle()));
  ShowWindow(main->Handle(), SW_MINIMIZE);
  mainProvider->Animator().StartMinimize();  // as the application window's minimise starts it
  auto* timer = dynamic_cast<TqvMinTimer*>(mainProvider->Animator().Timer());
  ASSERT_NE(timer, nullptr);
  RunToEnd(timer);
  // The application window's restore reaches only a main form on the task bar: another
  // main form, minimised itself, restores itself.
  ASSERT_FALSE(vcl::Application->MainFormOnTaskBar());
  SendMessageW(main->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(forwarded.empty());
  EXPECT_FALSE(IsIconic(main->Handle()));
  vcl::Application->SetMainFormOnTaskBar(true);
  ShowWindow(main->Handle(), SW_MINIMIZE);
  mainProvider->Animator().StartMinimize();
  timer = dynamic_cast<TqvMinTimer*>(mainProvider->Animator().Timer());
  ASSERT_NE(timer, nullptr);
  RunToEnd(timer);
  SendMessageW(main->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  SendMessageW(main->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(forwarded, (std::vector<WPARAM>{SC_RESTORE, SC_CLOSE}));
  EXPECT_TRUE(IsIconic(main->Handle()));
  vcl::Application->SetMainFormOnTaskBar(false);
  vcl::Application->UnhookMainWindow(hook);
  mainProvider->Animator().FreeTimer();
  main->Hide();
  mainProvider.reset();
  vcl::TObject::Free(main);
}

TEST_F(FormStateTest, TheMinimiseAnimationsStepsAndAlphaFollowComposition) {
  Skin();
  manager->AnimEffects()->Minimizing()->SetTime(300);
  auto stepsAndAlpha = [&] {
    auto* timer = new TqvMinTimer(provider.get(), provider.get());
    const std::pair<int, int> result{timer->Steps, timer->MaxAlpha};
    vcl::TObject::Free(timer);
    return result;
  };
  EXPECT_EQ(stepsAndAlpha(), (std::pair<int, int>{25, 255}));
  g_composition = true;
  EXPECT_EQ(stepsAndAlpha(), (std::pair<int, int>{2, 63}));
  form->SetAlphaBlend(true);
  form->SetAlphaBlendValue(200);
  EXPECT_EQ(stepsAndAlpha().second, 50);
}

TEST_F(FormStateTest, TheTaskBarsSideIsFoundFromItsRectangle) {
  const vcl::TRect bottom(-2, 1040, 1922, 1082), left(0, 0, 40, 1080), top(0, 0, 1920, 40), right(1880, 100, 1920, 1080);
  EXPECT_EQ((std::array{TaskbarEdgeOf(bottom), TaskbarEdgeOf(left), TaskbarEdgeOf(top), TaskbarEdgeOf(right)}),
            (std::array{kTaskbarBottom, kTaskbarLeft, kTaskbarTop, kTaskbarRight}));
  EXPECT_EQ(TaskbarEdgePoint(bottom, 500, 300), vcl::TPoint(500, 1040));
  EXPECT_EQ(TaskbarEdgePoint(left, 500, 300), vcl::TPoint(40, 300));
  EXPECT_EQ(TaskbarEdgePoint(top, 500, 300), vcl::TPoint(500, 40));
  EXPECT_EQ(TaskbarEdgePoint(right, 500, 300), vcl::TPoint(1880, 300));
  EXPECT_EQ(TaskbarButtonRect(nullptr).Width(), 0);  // no window, no button
}

// The system never sees a maximising MDI child visible, so it never paints the child's restored
// frame over the frame's merged menu line.
TEST_F(FormStateTest, AnMdiChildMaximisesInvisibleToTheSystemAndKeepsItsButtonsInAMenuLoop) {
  auto* frame = ShownMdiFrame();
  ProviderPtr frameProvider(vcl::Construct<TsSkinProvider>(frame));
  frame->Show();
  ASSERT_TRUE(frame->ClientHandle());
  auto* child = new TStateMdiChild(frame);
  child->SetBounds(10, 10, 200, 150);
  child->Show();
  MessageSpy below(child);
  std::vector<bool> visibleDuring;
  below.OnMessage = [&](const vcl::TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND) visibleDuring.push_back((GetWindowLongPtrW(child->Handle(), GWL_STYLE) & WS_VISIBLE) != 0);
  };
  ProviderPtr childProvider(vcl::Construct<TsSkinProvider>(child));
  ASSERT_TRUE(childProvider->FormSkinned());
  SendMessageW(child->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_EQ(visibleDuring.size(), 1u);
  EXPECT_FALSE(visibleDuring[0]);
  EXPECT_TRUE(IsZoomed(child->Handle()));
  EXPECT_TRUE(GetWindowLongPtrW(child->Handle(), GWL_STYLE) & WS_VISIBLE);
  // A menu loop of the frame keeps the maximised child's buttons in sight at the menu line's
  // right end, for the loop only.
  SendMessageW(frame->Handle(), WM_ENTERMENULOOP, 0, 0);
  vcl::TForm* icons = MdiIconsForm();
  ASSERT_NE(icons, nullptr);
  EXPECT_TRUE(IsWindowVisible(icons->Handle()));
  const vcl::TRect r = WindowBox(icons->Handle());
  EXPECT_EQ(vcl::TPoint(r.Width(), r.Height()), vcl::TPoint(60, GetSystemMetrics(SM_CYMENU) + 3));
  EXPECT_EQ(r.Right, WindowBox(frame->Handle()).Right - frameProvider->Measures().BorderWidthSys());
  EXPECT_EQ(icons->Tag(), 256);
  SendMessageW(frame->Handle(), WM_EXITMENULOOP, 0, 0);
  EXPECT_EQ(MdiIconsForm(), nullptr);

  SendMessageW(child->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(child->Handle()));
  EXPECT_TRUE(IsWindowVisible(child->Handle()));
  SendMessageW(frame->Handle(), WM_ENTERMENULOOP, 0, 0);
  EXPECT_EQ(MdiIconsForm(), nullptr);  // no maximised child: nothing to keep in sight
  SendMessageW(frame->Handle(), WM_EXITMENULOOP, 0, 0);
  childProvider.reset();
  vcl::TObject::Free(child);
  frameProvider.reset();
  vcl::TObject::Free(frame);
}

// The picture of an MDI frame that its animations show (the skin change's fade, the show)
// holds its documents: each MDI child at its place, the one in front over the one behind.
TEST_F(FormStateTest, AnMdiFramesPictureHoldsItsDocuments) {
  auto* frame = ShownMdiFrame();
  ProviderPtr frameProvider(vcl::Construct<TsSkinProvider>(frame));
  frame->Show();
  ASSERT_TRUE(frame->ClientHandle());
  auto document = [&](int x, vcl::TColor colour) {
    auto* child = new TStateMdiChild(frame);
    child->SetBounds(x, 10, 200, 150);
    auto* panel = new vcl::TPanel(child);
    panel->SetParent(child);
    panel->SetAlign(vcl::alClient);
    panel->SetColor(colour);
    child->Show();
    return child;
  };
  auto* back = document(10, 0x2080E0);
  auto* front = document(110, 0x40C040);  // shown last: in front, over the other's right part
  ProviderPtr backProvider(vcl::Construct<TsSkinProvider>(back));
  ProviderPtr frontProvider(vcl::Construct<TsSkinProvider>(front));
  ASSERT_EQ(frame->ActiveMDIChild(), front);
  frameProvider->SkinData->BGChanged = true;
  frameProvider->PaintAll();
  std::unique_ptr<vcl::TBitmap> picture = frameProvider->FormSnapshot(false);
  ASSERT_TRUE(picture);
  auto at = [&](vcl::TForm* child, int dx) {
    const vcl::TRect f = WindowBox(frame->Handle());
    POINT p{dx, 60};
    ClientToScreen(child->Handle(), &p);
    return PixelOf(picture.get(), p.x - f.Left, p.y - f.Top) & 0xFFFFFF;
  };
  EXPECT_EQ(at(back, 20), 0xE08020u);   // the document behind, where nothing covers it
  EXPECT_EQ(at(front, 20), 0x40C040u);  // the one in front, over the one behind
  EXPECT_EQ(at(front, 150), 0x40C040u);
  frontProvider.reset();
  backProvider.reset();
  vcl::TObject::Free(front);
  vcl::TObject::Free(back);
  frameProvider.reset();
  vcl::TObject::Free(frame);
}

// Sizing by the keyboard, the caption, shutting down

TEST_F(FormStateTest, TheSizeCommandDragsAnOutlineFromTheEdgeTheMouseGoesTo) {
  Skin();
  form->Show();
  provider->SetResizeMode(rmBorder);
  SendMessageW(Wnd(), WM_SYSCOMMAND, SC_SIZE, 0);
  ASSERT_TRUE(RubberFrame().Running());
  EXPECT_EQ(RubberFrame().Code(), 0);
  EXPECT_TRUE(Commands().empty());
  auto move = [&](vcl::TPoint screen) {
    POINT p{screen.X, screen.Y};
    ScreenToClient(Wnd(), &p);
    SendMessageW(Wnd(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  };
  const vcl::TPoint bottom = Screen({200, 299});
  move(bottom);
  EXPECT_EQ(RubberFrame().Code(), HTBOTTOM);
  move({bottom.X + 7, bottom.Y + 25});
  EXPECT_EQ(form->Height(), 300);
  SendMessageW(Wnd(), WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(form->Height(), 325);
  EXPECT_EQ(form->Width(), 400);
}

TEST_F(FormStateTest, ANewCaptionIsPaintedIntoTheFrameAtOnce) {
  Skin();
  form->Show();
  const int y = provider->CaptionButtons().TitleCentre;
  auto captionRow = [&] {
    std::vector<std::uint32_t> row;
    for (int x = 20; x < 200; ++x) row.push_back(CacheRgb(x, y));
    return row;
  };
  const auto before = captionRow();
  form->SetCaption(L"A much longer caption here");
  EXPECT_FALSE(provider->SkinData->BGChanged);
  EXPECT_NE(captionRow(), before);
  EXPECT_EQ(provider->TitleCover(), nullptr);
}

// An icon of one colour (0xRRGGBB), opaque all over.
HICON PlainIcon(std::uint32_t rgb) {
  constexpr int kSize = 32;
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateCompatibleBitmap(screen, kSize, kSize);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, colour);
  HBRUSH brush = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
  const RECT all{0, 0, kSize, kSize};
  FillRect(dc, &all, brush);
  SelectObject(dc, old);
  DeleteObject(brush);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  const std::vector<BYTE> clear(kSize * kSize / 8, 0);
  HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, clear.data());
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

TEST_F(FormStateTest, ANewIconIsPaintedIntoTheFrameAtOnceWithOrWithoutComposition) {
  Skin();
  form->Show();
  ASSERT_TRUE(provider->Measures().IconVisible());
  const vcl::TPoint c = Centre(provider->CaptionButtons().IconRect);
  HDC dc = GetWindowDC(Wnd());
  for (const bool composition : {false, true}) {
    SCOPED_TRACE(composition ? "composition" : "no composition");
    g_composition = composition;
    const std::uint32_t rgb = composition ? 0x20C0E0 : 0xE04080;
    form->Icon()->SetHandle(PlainIcon(rgb));
    EXPECT_EQ(CacheRgb(c.X, c.Y), rgb);
    EXPECT_FALSE(provider->SkinData->BGChanged);
    EXPECT_EQ(GetPixel(dc, c.X, c.Y), RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    EXPECT_EQ(provider->RedrawLockCount(), 0);
  }
  ReleaseDC(Wnd(), dc);
  g_composition = false;
}

// Hidden with its owner's windows (the system tells each its parent is closing), a form
// records the state it had for its next show: normal, maximised or minimised; a hide of
// another kind records nothing. Shown again with them, the main form under the minimise effect
// keeps the flags of its running animations (the system's show goes on alone), while without
// the effect, or for another form, a show starts from no animation, as an ordinary show of the
// main form does.
TEST_F(FormStateTest, AFormHiddenWithItsOwnerRecordsItsStateAndTheMainFormShownWithItKeepsItsAnimations) {
  ASSERT_EQ(vcl::Application->MainForm(), nullptr);
  vcl::TForm* main = vcl::Application->CreateForm<vcl::TForm>();
  main->SetBounds(kFormLeft - 450, kFormTop, 400, 300);
  main->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
  // The main form's own procedure, under its provider: the flags as a show of the kind asked
  // for reaches it (the system's show that follows the owner's is an ordinary one).
  auto below = std::make_unique<MessageSpy>(main);
  ProviderPtr mainProvider = NewProvider(main);
  LPARAM showKind = 0;
  std::optional<std::uint32_t> flagsAtShow;
  below->OnMessage = [&](const vcl::TMessage& m) {
    if (m.Msg == WM_SHOWWINDOW && m.WParam && m.LParam == showKind && !flagsAtShow) flagsAtShow = mainProvider->ExtFlags;
  };
  manager->SetSkinName(L"Frame");
  main->Show();
  Skin();
  form->Show();
  const HWND mainWnd = main->Handle();
  // Both forms are owned by one window, which hides and shows them as the system does.
  const HWND owner = GetWindow(Wnd(), GW_OWNER);
  ASSERT_TRUE(owner);
  ASSERT_EQ(GetWindow(mainWnd, GW_OWNER), owner);
  auto closeOwner = [&] {
    ShowOwnedPopups(owner, FALSE);
    ASSERT_FALSE(IsWindowVisible(Wnd()));
  };
  auto openOwner = [&] {
    ShowOwnedPopups(owner, TRUE);
    ASSERT_TRUE(IsWindowVisible(Wnd()));
    ASSERT_TRUE(IsWindowVisible(mainWnd));
  };
  EXPECT_EQ(provider->ShowState, TqvShowState::None);
  closeOwner();
  EXPECT_EQ(provider->ShowState, TqvShowState::Normal);
  EXPECT_EQ(mainProvider->ShowState, TqvShowState::Normal);
  openOwner();
  ShowWindow(Wnd(), SW_MAXIMIZE);
  closeOwner();
  EXPECT_EQ(provider->ShowState, TqvShowState::Maximized);
  openOwner();
  ShowWindow(Wnd(), SW_MINIMIZE);
  closeOwner();
  EXPECT_EQ(provider->ShowState, TqvShowState::Minimized);
  openOwner();
  ShowWindow(Wnd(), SW_RESTORE);
  // A hide of another kind records nothing.
  provider->ShowState = TqvShowState::None;
  ShowWindow(Wnd(), SW_HIDE);
  EXPECT_EQ(provider->ShowState, TqvShowState::None);
  ShowWindow(Wnd(), SW_SHOWNA);

  // A running animation's flags, as the minimise and restore animations hold them.
  constexpr std::uint32_t kRunning = kExtMinimizing | kExtRestoring;
  for (const bool effect : {true, false}) {
    SCOPED_TRACE(effect ? "minimise effect" : "no minimise effect");
    manager->AnimEffects()->Minimizing()->SetActive(effect);
    closeOwner();
    mainProvider->ExtFlags = kRunning;
    provider->ExtFlags = kRunning;
    showKind = SW_PARENTOPENING;
    flagsAtShow.reset();
    openOwner();
    EXPECT_EQ(flagsAtShow, effect ? kRunning : kExtRestoring);
    EXPECT_EQ(provider->ExtFlags, kExtRestoring);
    // An ordinary show starts from no animation, the main form's too.
    ShowWindow(mainWnd, SW_HIDE);
    mainProvider->ExtFlags = kRunning;
    showKind = 0;
    flagsAtShow.reset();
    ShowWindow(mainWnd, SW_SHOWNA);
    EXPECT_EQ(flagsAtShow, kExtRestoring);
    mainProvider->ExtFlags = 0;
    provider->ExtFlags = 0;
  }
  manager->AnimEffects()->Minimizing()->SetActive(false);
  main->Hide();
  mainProvider.reset();
  below.reset();
  vcl::TObject::Free(main);
}

TEST_F(FormStateTest, AShutdownWaitsForRunningAnimationsOnlyABoundedTime) {
  Skin();
  provider->ExtFlags |= kExtMinimizing;  // an animation that never ends
  const DWORD start = now;
  SendMessageW(Wnd(), WM_QUERYENDSESSION, 0, 0);
  EXPECT_GE(now - start, 1000u);
  EXPECT_LE(now - start, 5000u);
  provider->ExtFlags &= ~kExtMinimizing;
  // Nothing running: no wait at all.
  const DWORD again = now;
  SendMessageW(Wnd(), WM_QUERYENDSESSION, 0, 0);
  EXPECT_EQ(now, again);
}

}  // namespace
}  // namespace skin_layered::test
