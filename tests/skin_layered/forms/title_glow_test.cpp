// The glow fade of title buttons, stepped through its timer's ticks, and the caption text's glow.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "skinned_form_fixture.h"
#include "skin_layered/forms/TitleButtonGlow.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

class TitleGlowTest : public SkinnedFormTest {
 protected:
  void SetUp() override {
    SkinnedFormTest::SetUp();
    previous_update_ = SetLayeredUpdateFunc([this](const TLayeredUpdate& u) {
      alphas.push_back(u.Alpha);
      last_wnd = u.Wnd;
      return true;
    });
    previous_cursor_ = SetGlowCursorQuery([this] { return cursor; });
    Skin();
    ASSERT_FALSE(provider->CaptionButtons().BtnClose.Rect.IsEmpty());
    // The cursor away from the buttons.
    cursor = POINT{0, 0};
  }
  void TearDown() override {
    SkinnedFormTest::TearDown();
    SetGlowCursorQuery(previous_cursor_);
    SetLayeredUpdateFunc(previous_update_);
  }
  // The hot fade of the close button started as the hot-element handling starts it.
  TqvSBAnimation* Hover(TsCaptionButton& button, int hitCode, int state = 1) {
    button.State = state;
    EXPECT_TRUE(provider->StartButtonGlow(hitCode, state != 0));
    return dynamic_cast<TqvSBAnimation*>(button.Timer);
  }
  void Ticks(TqvSBAnimation* a, int n) {
    for (int i = 0; i < n; ++i) a->OnTimerStep(a);
  }
  void PointAt(const TsCaptionButton& button) {
    cursor = POINT{WindowBox(Wnd()).Left + button.Rect.Left + 2, WindowBox(Wnd()).Top + button.Rect.Top + 2};
  }

  std::vector<int> alphas;
  HWND last_wnd = nullptr;
  POINT cursor{};

 private:
  TLayeredUpdateFunc previous_update_;
  TCursorQuery previous_cursor_;
};

TEST_F(TitleGlowTest, AFadeInAndOutGoesByEqualSteps) {
  PointAt(provider->CaptionButtons().BtnClose);
  TqvSBAnimation* fade = Hover(provider->CaptionButtons().BtnClose, HTCLOSE);
  ASSERT_NE(fade, nullptr);
  EXPECT_EQ(fade->Interval(), 12u);
  Ticks(fade, 4);
  EXPECT_EQ(alphas, (std::vector<int>{51, 102, 153, 204, 255}));
  EXPECT_TRUE(fade->FadedIn);
  // While the mouse stays, every tick checks it and nothing more is shown.
  Ticks(fade, 3);
  EXPECT_EQ(alphas.size(), 5u);
  EXPECT_TRUE(fade->Enabled());

  alphas.clear();
  Hover(provider->CaptionButtons().BtnClose, HTCLOSE, 0);
  EXPECT_EQ(provider->CaptionButtons().BtnClose.Timer, fade);
  Ticks(fade, 4);
  EXPECT_EQ(alphas, (std::vector<int>{204, 153, 102, 51, 0}));
  EXPECT_TRUE(fade->Finished && !fade->Enabled() && !fade->GlowForm());
  EXPECT_EQ(fade->State, 0);  // the state stays a state
  // Hovering again fades in anew.
  alphas.clear();
  Hover(provider->CaptionButtons().BtnClose, HTCLOSE);
  EXPECT_EQ(alphas, (std::vector<int>{51}));
}

TEST_F(TitleGlowTest, OneStepShowsAtOnceAndNoStepsCountAsOne) {
  for (int steps : {1, 0, -3}) {
    SCOPED_TRACE(steps);
    auto* fade = vcl::Construct<TqvSBAnimation>(provider.get());
    fade->SkinData = provider->SkinData;
    fade->Wnd = Wnd();
    fade->Button = &provider->CaptionButtons().BtnMinimize;
    fade->Steps = steps;
    alphas.clear();
    fade->ChangeState(1, true);
    EXPECT_TRUE(fade->FadedIn);
    fade->ChangeState(0, false);
    EXPECT_EQ(alphas, (std::vector<int>{255, 0}));
    EXPECT_TRUE(fade->Finished && !fade->Enabled());
    vcl::TObject::Free(fade);
  }
}

TEST_F(TitleGlowTest, HoveringBackDuringAFadeOutFadesBackIn) {
  PointAt(provider->CaptionButtons().BtnMaximize);
  TqvSBAnimation* fade = Hover(provider->CaptionButtons().BtnMaximize, HTMAXBUTTON);
  Ticks(fade, 4);
  alphas.clear();
  Hover(provider->CaptionButtons().BtnMaximize, HTMAXBUTTON, 0);
  Ticks(fade, 1);
  EXPECT_EQ(alphas, (std::vector<int>{204, 153}));
  Hover(provider->CaptionButtons().BtnMaximize, HTMAXBUTTON);
  EXPECT_TRUE(fade->FadingIn);
  Ticks(fade, 2);
  EXPECT_EQ(alphas, (std::vector<int>{204, 153, 204, 255}));
  EXPECT_TRUE(fade->FadedIn && fade->GlowForm());
}

TEST_F(TitleGlowTest, PressingShowsThePressedLookAtOnce) {
  PointAt(provider->CaptionButtons().BtnClose);
  TqvSBAnimation* fade = Hover(provider->CaptionButtons().BtnClose, HTCLOSE);
  EXPECT_EQ(alphas, (std::vector<int>{51}));
  ASSERT_NE(fade->GlowForm(), nullptr);
  const HWND hot = fade->GlowForm()->Handle();
  Hover(provider->CaptionButtons().BtnClose, HTCLOSE, 2);
  EXPECT_EQ(alphas, (std::vector<int>{51, 255}));
  EXPECT_EQ(fade->State, 2);
  // In the same window: the press's release goes where the press went.
  ASSERT_NE(fade->GlowForm(), nullptr);
  EXPECT_EQ(fade->GlowForm()->Handle(), hot);
  EXPECT_EQ(last_wnd, hot);
  // The picture is the pressed glyph over the button's place in the image.
  ASSERT_TRUE(fade->Image() && fade->Image()->Width() == provider->CaptionButtons().BtnClose.Rect.Width());
  EXPECT_EQ(PixelOf(fade->Image(), 10, 10) & 0xFFFFFF, GlyphColor("BICONCLOSE", 2));
}

TEST_F(TitleGlowTest, LeavingAFadedInButtonTellsTheFormOnce) {
  PointAt(provider->CaptionButtons().BtnMinimize);
  TqvSBAnimation* fade = Hover(provider->CaptionButtons().BtnMinimize, HTMINBUTTON);
  Ticks(fade, 4);
  ASSERT_TRUE(fade->FadedIn);
  MessageSpy leaves(form.get(), WM_MOUSELEAVE);
  Ticks(fade, 2);
  EXPECT_TRUE(leaves.seen[WM_MOUSELEAVE].empty());
  cursor = POINT{0, 0};
  Ticks(fade, 1);
  EXPECT_EQ(leaves.seen[WM_MOUSELEAVE].size(), 1u);
  EXPECT_FALSE(fade->Enabled());
}

TEST_F(TitleGlowTest, TheGlowWindowLiesOverTheButtonAndLetsTheMouseThrough) {
  TqvSBAnimation* fade = Hover(provider->CaptionButtons().BtnClose, HTCLOSE);
  ASSERT_NE(fade->GlowForm(), nullptr);
  const HWND glow = fade->GlowForm()->Handle();
  EXPECT_EQ(last_wnd, glow);
  EXPECT_EQ(GetWindowLongPtrW(glow, GWL_EXSTYLE) & 0x080800A0, 0x080800A0);  // no activation, layered, tool, click-through
  // The picture is put at the button's place by the layered update; the window is that large.
  vcl::TRect button = provider->CaptionButtons().BtnClose.Rect;
  button.Offset(WindowBox(Wnd()).Left, WindowBox(Wnd()).Top);
  EXPECT_EQ(fade->GlowRect(), button);  // no glow image in this skin: no margin
  EXPECT_EQ(SendMessageW(glow, WM_NCHITTEST, 0, MAKELPARAM(WindowBox(glow).Left, WindowBox(glow).Top)), HTTRANSPARENT);

  // The form's animations go with a new skin or position.
  provider->KillAnimations();
  EXPECT_EQ(provider->CaptionButtons().BtnClose.Timer, nullptr);
}

// A user button hovered with the buttons' fades on gets a fade that points at the button. The
// button deleted (or given a new picture) ends the fade with it: nothing is left pointing at it.
TEST_F(TitleGlowTest, AUserButtonsFadeGoesWithTheButtonAndWithANewPicture) {
  manager->AnimEffects()->Buttons()->SetEvents({beMouseEnter, beMouseLeave, beMouseDown, beMouseUp});
  auto fades = [this] {
    int n = 0;
    for (int i = 0; i < provider->ComponentCount(); ++i)
      n += dynamic_cast<TqvSBAnimation*>(provider->Components(i)) ? 1 : 0;
    return n;
  };
  auto hover = [this](TsTitleButton* user) {
    Repaint();
    const vcl::TRect r = user->Data.Rect;
    ASSERT_FALSE(r.IsEmpty());
    PointAt(user->Data);
    SendMessageW(Wnd(), WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
  };
  for (bool deleted : {true, false}) {
    SCOPED_TRACE(deleted ? "deleted" : "new picture");
    TsTitleButton* user = provider->TitleButtons()->Add();
    hover(user);
    ASSERT_EQ(provider->FrameMouse().HotElement, kHitUserButton);
    ASSERT_NE(user->Data.Timer, nullptr);
    EXPECT_EQ(fades(), 1);
    if (deleted) {
      vcl::TObject::Free(user);
    } else {
      vcl::TBitmap picture;
      picture.SetSize(8, 8);
      user->SetGlyph(&picture);
      EXPECT_EQ(user->Data.Timer, nullptr);
      provider->TitleButtons()->Clear();
    }
    EXPECT_EQ(fades(), 0);
    // The mouse leaving the caption finds nothing of the button any more.
    cursor = POINT{0, 0};
    SendMessageW(Wnd(), WM_NCMOUSEMOVE, HTCLIENT, MAKELPARAM(WindowBox(Wnd()).Left + 200, WindowBox(Wnd()).Top + 150));
    EXPECT_EQ(provider->FrameMouse().HotElement, 0);
  }
}

// The skin's glow around the hot minimise button (30 x 30 below the glyphs, margin 5).
std::uint32_t GlowMasterPixel(int x, int y) { return y >= kMasterHeight ? 0x40E0E0 : MasterPixel(x, y); }
std::string GlowSkinText() {
  std::string text = FrameSkinText();
  text.insert(text.find("[FORM]"), "BICONMINGLOW0=@0000,0060,0030,0090,1,0\r\nBICONMINGLOW=5\r\nBICONMINGLOWMARGIN=5\r\n");
  return text;
}

// A glow is partly transparent throughout. A display that blends per-pixel alpha shows it
// round the hot button; on one that does not it would be an opaque block: the button's own
// picture fades instead, and no halo window is made.
TEST_F(TitleGlowTest, TheGlowShowsOnlyWhereTheDisplayBlendsIt) {
  WriteSkin(L"Glow", GlowSkinText());
  skins.Write(L"Glow", L"master.bmp", Bmp24(kMasterWidth, kMasterHeight + 30, GlowMasterPixel));
  manager->SetSkinName(L"Glow");
  manager->Effects()->SetAllowGlowing(true);
  Repaint();
  struct Shown {
    int Width, Height;
    bool Opaque;
  };
  std::vector<Shown> shown;
  const TLayeredUpdateFunc before = SetLayeredUpdateFunc([&](const TLayeredUpdate& u) {
    bool opaque = true;
    for (int y = 0; y < u.Bitmap->Height(); ++y)
      for (int x = 0; x < u.Bitmap->Width(); ++x) opaque = opaque && (PixelOf(u.Bitmap, x, y) >> 24) == 255;
    shown.push_back({u.Bitmap->Width(), u.Bitmap->Height(), opaque});
    return true;
  });
  const std::optional<bool> alphaBefore = SetPerPixelAlphaShown(true);
  const vcl::TRect button = provider->CaptionButtons().BtnMinimize.Rect;
  TqvSBAnimation* fade = Hover(provider->CaptionButtons().BtnMinimize, HTMINBUTTON);
  ASSERT_NE(fade, nullptr);
  EXPECT_EQ(fade->GlowRect().Width(), 30);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().Width, 30);
  provider->KillAnimations();

  SetPerPixelAlphaShown(false);
  shown.clear();
  fade = Hover(provider->CaptionButtons().BtnMinimize, HTMINBUTTON);
  ASSERT_NE(fade, nullptr);
  vcl::TRect screen = button;
  screen.Offset(WindowBox(Wnd()).Left, WindowBox(Wnd()).Top);
  EXPECT_EQ(fade->GlowRect(), screen);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().Width, button.Width());
  EXPECT_TRUE(shown.back().Opaque);
  provider->KillAnimations();

  // The hot button repainted at once (no fade) gets a halo window only where it can show.
  provider->FrameMouse().SetHotElement(kHitMin, true);
  EXPECT_LT(provider->CaptionButtons().BtnMinimize.GlowID, 0);
  provider->FrameMouse().SetHotElement(0, true);
  SetPerPixelAlphaShown(true);
  provider->FrameMouse().SetHotElement(kHitMin, true);
  EXPECT_GE(provider->CaptionButtons().BtnMinimize.GlowID, 0);
  provider->FrameMouse().SetHotElement(0, true);
  EXPECT_LT(provider->CaptionButtons().BtnMinimize.GlowID, 0);
  SetPerPixelAlphaShown(alphaBefore);
  SetLayeredUpdateFunc(before);
}

// The glow window goes right above the button's window, also when nothing lies above that
// window (it goes to the top then).
TEST_F(TitleGlowTest, TheGlowWindowGoesAboveTheFormWithNothingAboveIt) {
  form->Show();
  TqvSBAnimation* fade = Hover(provider->CaptionButtons().BtnClose, HTCLOSE);
  ASSERT_NE(fade->GlowForm(), nullptr);
  const HWND glow = fade->GlowForm()->Handle();
  SetWindowPos(glow, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // The form on top (tests running beside this one may put their windows above it in between:
  // the glow then goes right above the form all the same).
  SetWindowPos(Wnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  fade->Show(255);
  bool above = false;
  for (HWND w = GetWindow(glow, GW_HWNDNEXT); w && !above; w = GetWindow(w, GW_HWNDNEXT)) above = w == Wnd();
  EXPECT_TRUE(above);
}

// The caption text's glow, from the title section's glow of the caption's state.
TEST_F(TitleGlowTest, TheActiveCaptionTextGlows) {
  auto greenInCaption = [this](bool active) {
    provider->FormActive = active;
    Repaint();
    vcl::TBitmap* image = provider->SkinData->CacheBmp();
    int green = 0;
    const TqvCaptionButtons& title = provider->CaptionButtons();
    for (int y = 0; y < title.TitleBottom; ++y)
      for (int x = title.IconRect.Right + 1; x < title.BtnMinimize.Rect.Left; ++x) {
        const std::uint32_t p = PixelOf(image, x, y);
        green += ((p >> 8) & 0xFF) > ((p >> 16) & 0xFF) + 16 ? 1 : 0;
      }
    return green;
  };
  EXPECT_GT(greenInCaption(true), 20);
  EXPECT_EQ(greenInCaption(false), 0);  // the normal state has no glow
  // Only skins above version 7.5 glow while the switch is on.
  SetCaptionGlowNewSkinsOnly(true);
  EXPECT_EQ(greenInCaption(true), 0);
  manager->Skin().SkinData.Version = 8;
  EXPECT_GT(greenInCaption(true), 20);
  SetCaptionGlowNewSkinsOnly(false);
}

}  // namespace
}  // namespace skin_layered::test
