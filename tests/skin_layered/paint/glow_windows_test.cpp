// Glow windows around a window on the screen: the halo's window (its class, styles, place and
// z-order), its picture as handed to the layered-window update, the mouse falling through it,
// and the glow list's slots as glows come and go.
#include <optional>
#include <vector>

#include "classlib/forms/Forms.h"
#include "paint_win_support.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;

constexpr int kAlpha = 200;

// What the half-covering mask leaves of a red channel of 255 over transparent black.
constexpr unsigned kHalfRed = (255 * (255 - 128)) >> 8;

// A section BUTTON whose "GLOW0" image is a red halo 12 x 12 with margins of 4, its mask
// half covering (128) everywhere but the transparent centre (255).
struct GlowSkin {
  TsLoadedSkin skin;
  GlowSkin() {
    auto master = Filled32(12, 24, 0);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) {
        SetPixelOf(*master, x, y, Bgra(0, 0, 255, 255));
        const bool centre = x >= 4 && x < 8 && y >= 4 && y < 8;
        const unsigned m = centre ? 255 : 128;
        SetPixelOf(*master, x, y + 12, Bgra(m, m, m, 255));
      }
    skin.MasterBitmap = std::shared_ptr<vcl::TBitmap>(master.release());
    TsMaskData glow = SkinImage(skin, Rect(0, 0, 12, 24), 1, 4, 1);
    glow.ClassName = L"BUTTON";
    glow.PropertyName = L"GLOW0";
    skin.Images.push_back(glow);
    TsGeneralData section;
    section.ClassName = L"BUTTON";
    skin.Sections.push_back(section);
    skin.SkinData.Active = true;
  }
  TqvControlSkin Data() const { return {.Skin = &skin, .SkinIndex = 0, .Changes = {}}; }
};

// The updates the glows asked for (the system gets none: Xvfb has no compositor to show them).
class UpdateSpy {
 public:
  std::vector<TLayeredUpdate> calls;

  UpdateSpy() {
    previous_ = SetLayeredUpdateFunc([this](const TLayeredUpdate& u) {
      calls.push_back(u);
      return true;
    });
  }
  ~UpdateSpy() { SetLayeredUpdateFunc(std::move(previous_)); }

 private:
  TLayeredUpdateFunc previous_;
};

class GlowWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    // The layered windows are checked through what they are given (Xvfb shows no alpha).
    alpha_before_ = SetPerPixelAlphaShown(true);
    owner = vcl::Construct<vcl::TForm>(nullptr, 0);
    owner->SetBounds(40, 40, 300, 200);
    owner->Show();
  }
  void TearDown() override {
    ClearGlows(true);
    vcl::TObject::Free(owner);
    SetPerPixelAlphaShown(alpha_before_);
  }
  std::optional<bool> alpha_before_;
  // The queued messages of a window taken out and counted.
  static int TakeQueued(HWND wnd, UINT msg) {
    std::vector<MSG> queued;
    MSG m;
    while (PeekMessageW(&m, wnd, msg, msg, PM_REMOVE)) queued.push_back(m);
    for (const MSG& each : queued) DispatchMessageW(&each);
    return static_cast<int>(queued.size());
  }

  // Whether `below` follows `above` in z-order with no window of this process between them.
  static bool NextAmongOwnWindows(HWND above, HWND below) {
    for (HWND w = GetWindow(above, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) {
      if (w == below) return true;
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == GetCurrentProcessId()) return false;
    }
    return false;
  }

  GlowSkin s;
  vcl::TForm* owner = nullptr;
  const vcl::TRect control = Rect(100, 100, 160, 130);  // on the owner form, in screen pixels
};

TEST_F(GlowWindows, AHaloWindowAroundTheControlThatTheMouseGoesThrough) {
  UpdateSpy spy;
  const TqvControlSkin data = s.Data();
  const int index = AddGlow(control, L"BUTTON", L"GLOW", 1, kAlpha, owner->Handle(), &data);
  ASSERT_EQ(index, 0);
  const TqvGlowEffect* glow = GlowAt(index);
  ASSERT_TRUE(glow && glow->Form());
  HWND wnd = glow->Form()->Handle();

  // Its own window class, without the drop shadow; unowned; layered, click-through, never active.
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  EXPECT_STREQ(name, L"TqvGlowForm");
  EXPECT_EQ(GetClassLongPtrW(wnd, GCL_STYLE) & CS_DROPSHADOW, 0);
  EXPECT_EQ(GetWindow(wnd, GW_OWNER), nullptr);
  const auto ex = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_EXSTYLE));
  for (DWORD style : {DWORD{WS_EX_LAYERED}, DWORD{WS_EX_TRANSPARENT}, DWORD{WS_EX_TOOLWINDOW}, DWORD{WS_EX_NOACTIVATE}})
    EXPECT_EQ(ex & style, style) << std::hex << style;
  EXPECT_TRUE(IsWindowVisible(wnd));

  // The control's rectangle grown by the image's margins less the glow's margin.
  RECT r{};
  GetWindowRect(wnd, &r);
  EXPECT_EQ(vcl::TRect(r.left, r.top, r.right, r.bottom), Rect(97, 97, 163, 133));
  // Next to the owner in z-order: nothing of this program between them (a window of a test
  // running beside this one may come in between).
  EXPECT_TRUE(NextAmongOwnWindows(wnd, owner->Handle()) || NextAmongOwnWindows(owner->Handle(), wnd));

  // The picture went through the layered-window update: the halo bitmap at the glow's alpha,
  // the mask's coverage as alpha, the colour premultiplied by it; the centre clear.
  ASSERT_EQ(spy.calls.size(), 1u);
  EXPECT_EQ(spy.calls[0].Wnd, wnd);
  EXPECT_EQ(spy.calls[0].Bitmap, glow->Bitmap());
  EXPECT_EQ(spy.calls[0].Alpha, kAlpha);
  ASSERT_EQ(glow->Bitmap()->Width(), 66);
  EXPECT_TRUE(PixelsAre(*glow->Bitmap(), {{1, 18, Bgra(0, 0, kHalfRed, 127)}, {33, 18, 0u}}));

  // The mouse goes through to the window beneath. Windows of tests running beside this one may
  // lie over the point: the owner and then its halo go on top first.
  SetWindowPos(owner->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(98, 110)), HTTRANSPARENT);
  const HWND beneath = WindowFromPoint(POINT{98, 110});
  EXPECT_NE(beneath, wnd);
  // Another test program's window may lie over the point: only a window of ours is judged.
  DWORD process = 0;
  GetWindowThreadProcessId(beneath, &process);
  if (process == GetCurrentProcessId()) {
    EXPECT_EQ(GetAncestor(beneath, GA_ROOT), owner->Handle());
  }
}

TEST_F(GlowWindows, TheControlsColourChangesApply) {
  TqvControlSkin data = s.Data();
  data.Changes.HueOffset = 120;  // red becomes green
  const int index = AddGlow(control, L"BUTTON", L"GLOW", 0, 255, owner->Handle(), &data);
  ASSERT_GE(index, 0);
  EXPECT_EQ(PixelOf(*GlowAt(index)->Bitmap(), 1, 18), Bgra(0, kHalfRed, 0, 127));
}

TEST_F(GlowWindows, SlotsAsGlowsComeAndGo) {
  const TqvControlSkin data = s.Data();
  const int before = GlowCount();
  EXPECT_EQ(AddGlow(control, L"BUTTON", L"HALO", 0, 255, owner->Handle(), &data), -1);  // no such image
  EXPECT_EQ(AddGlow(control, L"BUTTON", L"GLOW", 0, 255, owner->Handle(), nullptr), -1);
  // A display without per-pixel alpha would show the halo as an opaque block: none is made.
  SetPerPixelAlphaShown(false);
  EXPECT_EQ(AddGlow(control, L"BUTTON", L"GLOW", 0, 255, owner->Handle(), &data), -1);
  SetPerPixelAlphaShown(true);
  EXPECT_EQ(GlowCount(), before);

  int first = AddGlow(control, L"BUTTON", L"GLOW", 0, 255, owner->Handle(), &data);
  ASSERT_EQ(first, 0);
  const int kept = first;
  HWND wnd = GlowAt(first)->Form()->Handle();
  RemoveGlow(first);
  EXPECT_EQ(first, -1);
  EXPECT_EQ(GlowAt(kept), nullptr);
  EXPECT_EQ(GlowCount(), 1);  // the slot stays
  // Its form was released once, and goes when its queued messages are handled.
  EXPECT_EQ(TakeQueued(wnd, vcl::CM_RELEASE), 1);
  EXPECT_FALSE(IsWindow(wnd));
  // Removing it again, or nothing, changes nothing.
  int again = kept;
  RemoveGlow(again);
  EXPECT_EQ(again, kept);
  int none = -1;
  RemoveGlow(none);
  int beyond = 9;
  RemoveGlow(beyond);
  EXPECT_EQ(beyond, 9);

  // Later glows come after the emptied slot.
  const int second = AddGlow(control, L"BUTTON", L"GLOW", 0, 255, owner->Handle(), &data);
  EXPECT_EQ(second, 1);
  // A form freed by someone else is forgotten by its glow, never freed again.
  vcl::TObject::Free(GlowAt(second)->Form());
  EXPECT_EQ(GlowAt(second)->Form(), nullptr);
  const int third = AddGlow(control, L"BUTTON", L"GLOW", 0, 255, owner->Handle(), &data);
  HWND thirdWnd = GlowAt(third)->Form()->Handle();
  // Clearing with the forms destroys them at once.
  ClearGlows(true);
  EXPECT_EQ(GlowCount(), 0);
  EXPECT_FALSE(IsWindow(thirdWnd));
}

}  // namespace
}  // namespace skin_layered::test
