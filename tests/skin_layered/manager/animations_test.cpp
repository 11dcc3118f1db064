// Show, hide and change animations through the layered-update seam and a clock of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <vector>

#include "classlib/comctrls/ComCtrlsPages.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/rtl/ScopeExit.h"
#include "manager_support.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

class TestProvider : public TsSkinProviderBase {
 public:
  explicit TestProvider(vcl::TCustomForm* form) : TsSkinProviderBase(nullptr) {
    Form = form;
    data = std::make_unique<TsScrollWndData>(this, true);
    SkinData = data.get();
    SkinData->CacheBmp()->SetSize(form->Width(), form->Height());
    OnAfterAnimation = TqvAfterAnimationEvent::Bind<&TestProvider::After>(this);
  }
  void PaintAll() override {
    if (failPaint) throw std::runtime_error("no image");
    ++paints;
  }
  std::unique_ptr<vcl::TBitmap> StartMinAnimation(bool) override {
    return CreateBmp32(Form->Width(), Form->Height());
  }
  void After(vcl::TObject*, int mode) { ends.push_back(mode); }

  std::unique_ptr<TsScrollWndData> data;
  std::vector<int> ends;
  int paints = 0;
  bool failPaint = false;
};

struct Update {
  HWND wnd;
  int alpha;
  int width;
};

class Animations : public ::testing::Test {
 protected:
  void SetUp() override {
    TqvAnimationClock clock;
    clock.Tick = [this] { return now; };
    clock.WaitUntil = [this](DWORD until) {
      ++waits;
      if (static_cast<int>(until - now) > 0) now = until;
    };
    clock.Terminating = [this] { return terminating; };
    clock.OnFrame = [this](const TqvAnimationFrame& f) { frames.push_back(f); };
    previousClock = SetAnimationClock(clock);
    previousUpdate = SetLayeredUpdateFunc([this](const TLayeredUpdate& u) {
      updates.push_back({u.Wnd, u.Alpha, u.Bitmap ? u.Bitmap->Width() : -1});
      return true;
    });
    // A display that blends layered windows' alpha, where the fades are seen.
    previousAlpha = SetPerPixelAlphaShown(true);
    form->SetBounds(30, 30, 160, 120);
    form->Show();
  }
  void TearDown() override {
    SetPerPixelAlphaShown(previousAlpha);
    SetLayeredUpdateFunc(previousUpdate);
    SetAnimationClock(previousClock);
    EXPECT_FALSE(AnimationActive());
  }
  std::vector<int> Alphas(TqvAnimationKind kind) const {
    std::vector<int> alphas;
    for (const TqvAnimationFrame& f : frames)
      if (f.Kind == kind) alphas.push_back(f.Alpha);
    return alphas;
  }

  DWORD now = 1000;
  int waits = 0;
  bool terminating = false;
  std::vector<TqvAnimationFrame> frames;
  std::vector<Update> updates;
  TqvAnimationClock previousClock;
  TLayeredUpdateFunc previousUpdate;
  std::optional<bool> previousAlpha;
  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> form = NewForm();
};

TEST_F(Animations, AShowOf250MsHas21FramesRisingToTheAlpha) {
  TestProvider provider(form.get());
  AnimFormShow(&provider, 250, 255, atAero);
  const std::vector<int> alphas = Alphas(TqvAnimationKind::Show);
  ASSERT_EQ(alphas.size(), 21u);
  EXPECT_EQ(alphas.front(), 13);  // one step already: 255 / 20, rounded
  EXPECT_TRUE(std::is_sorted(alphas.begin(), alphas.end()));
  EXPECT_EQ(alphas[19], 255);
  EXPECT_GE(now - 1000, 252u);
  // Every frame went through the one update, then the whole image at the alpha.
  ASSERT_GE(updates.size(), 22u);
  EXPECT_EQ(updates.back().alpha, 255);
  EXPECT_EQ(updates.back().width, 160);
  EXPECT_EQ(provider.ends, std::vector<int>{0});
  EXPECT_FALSE(provider.PaintingSuspended);
}

TEST_F(Animations, AShowBelowOneFrameIsTheImageAtOnceAndAMinimisedFormHasNone) {
  TestProvider provider(form.get());
  AnimFormShow(&provider, 11, 200, atFading);
  EXPECT_EQ(Alphas(TqvAnimationKind::Show), std::vector<int>{200});
  EXPECT_EQ(waits, 0);
  EXPECT_EQ(updates.back().alpha, 200);

  frames.clear(), updates.clear(), provider.ends.clear();
  form->SetWindowState(vcl::wsMinimized);
  AnimFormShow(&provider, 250, 255, atAero);
  EXPECT_TRUE(frames.empty() && updates.empty() && provider.ends.empty());
}

TEST_F(Animations, AnExceptionLeavesNoAnimationFlagBehind) {
  TestProvider provider(form.get());
  CommandSpy spy(form.get(), false);
  spy.answers[scmGetProvider] = reinterpret_cast<LRESULT>(&provider);
  provider.failPaint = true;
  EXPECT_THROW(AnimFormShow(&provider, 120, 255, atFading), std::runtime_error);
  EXPECT_FALSE(AnimationActive());
  const std::optional<bool> alpha = SetPerPixelAlphaShown(true);
  EXPECT_THROW(AnimChangeForm(form.get(), 120, 255, false), std::runtime_error);
  SetPerPixelAlphaShown(alpha);
  EXPECT_FALSE(AnimationActive());
}

// A form whose window answers scmGetProvider: the hide animations tell it of their end.
struct NotifiedForm {
  explicit NotifiedForm(vcl::TForm* form) : provider(form), spy(form, false) {
    spy.answers[scmGetProvider] = reinterpret_cast<LRESULT>(&provider);
  }
  TestProvider provider;
  CommandSpy spy;
};

vcl::TForm* SnapshotForm() {
  auto* snapshot = new vcl::TForm(vcl::Application, 0);
  snapshot->SetBounds(40, 40, 160, 120);
  return snapshot;
}

TEST_F(Animations, AHideWhileTerminatingRunsToItsEndAtOnce) {
  NotifiedForm notified(form.get());
  terminating = true;
  StartHideAnimation(SnapshotForm(), CreateBmp32(160, 120), 120, form->Handle(), 1, 255);
  const std::vector<int> alphas = Alphas(TqvAnimationKind::Hide);
  ASSERT_EQ(alphas.size(), 11u);
  EXPECT_EQ(alphas.front(), 230);  // 255 less one step of 25.5
  EXPECT_EQ(alphas.back(), 0);
  EXPECT_TRUE(std::is_sorted(alphas.rbegin(), alphas.rend()));
  EXPECT_EQ(notified.provider.ends, std::vector<int>{1});
  EXPECT_EQ(HideAnimationForm(), nullptr);
  EXPECT_GE(now - 1000, 120u);
}

TEST_F(Animations, EveryHideTellsItsEnd) {
  NotifiedForm notified(form.get());
  // Too short to animate: the snapshot goes at once, and the end is told.
  StartHideAnimation(SnapshotForm(), CreateBmp32(160, 120), 5, form->Handle(), 0, 255);
  EXPECT_EQ(notified.provider.ends, std::vector<int>{1});

  // Running on the timer: the first frame at once; a second hide ends the first.
  StartHideAnimation(SnapshotForm(), CreateBmp32(160, 120), 240, form->Handle(), 0, 255);
  EXPECT_NE(HideAnimationForm(), nullptr);
  EXPECT_EQ(Alphas(TqvAnimationKind::Hide).size(), 1u);
  EXPECT_EQ(notified.provider.ends.size(), 1u);
  terminating = true;
  StartHideAnimation(SnapshotForm(), CreateBmp32(160, 120), 24, form->Handle(), 0, 255);
  EXPECT_EQ(notified.provider.ends, (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(HideAnimationForm(), nullptr);
}

// Where the display blends no layered window's alpha, a fade's first frames would come out
// nearly black: a form shows at once at its alpha and a hidden form's picture goes at once,
// its end told; each as it would with no time to animate.
TEST_F(Animations, WithoutPerPixelAlphaAShowOrAHideNeverFades) {
  const std::optional<bool> alpha = SetPerPixelAlphaShown(false);
  const vcl::TScopeExit restore([&alpha] { SetPerPixelAlphaShown(alpha); });
  TestProvider provider(form.get());
  for (const std::uint8_t target : {std::uint8_t{255}, std::uint8_t{200}}) {
    frames.clear(), updates.clear(), provider.ends.clear();
    AnimFormShow(&provider, 250, target, atAero);
    EXPECT_EQ(Alphas(TqvAnimationKind::Show), std::vector<int>{target});
    ASSERT_FALSE(updates.empty());
    for (const Update& u : updates) EXPECT_EQ(u.alpha, static_cast<int>(target));
    EXPECT_EQ(waits, 0);
    EXPECT_EQ(provider.ends, std::vector<int>{0});
  }

  NotifiedForm notified(form.get());
  frames.clear(), updates.clear();
  StartHideAnimation(SnapshotForm(), CreateBmp32(160, 120), 240, form->Handle(), 0, 255);
  EXPECT_EQ(HideAnimationForm(), nullptr);
  EXPECT_TRUE(Alphas(TqvAnimationKind::Hide).empty());
  EXPECT_TRUE(updates.empty());
  EXPECT_EQ(notified.provider.ends, std::vector<int>{1});
}

// Where the display blends a layered window's per-pixel alpha, the new look (the provider's
// whole picture of the form) fades in over the old one.
TEST_F(Animations, AChangeOfAFormFadesTheNewLookIn) {
  TestProvider provider(form.get());
  CommandSpy spy(form.get(), false);
  spy.answers[scmGetProvider] = reinterpret_cast<LRESULT>(&provider);
  provider.Snapshot = CreateBmp32(160, 120);
  const std::optional<bool> alpha = SetPerPixelAlphaShown(true);
  AnimChangeForm(form.get(), 120, 255, true);
  SetPerPixelAlphaShown(alpha);
  EXPECT_EQ(Alphas(TqvAnimationKind::Change).size(), 11u);
  EXPECT_EQ(Alphas(TqvAnimationKind::Change).back(), 255);
  EXPECT_EQ(provider.paints, 1);
  EXPECT_EQ(provider.Snapshot, nullptr);
}

// Where it does not (a faded picture comes out darkened there), no layered window fades: a form
// of its own window cross-fades on a plain window, one whose frame lies on a border window
// takes its new look at once; the old look's snapshot goes either way.
TEST_F(Animations, WithoutPerPixelAlphaAChangeNeverFadesALayeredWindow) {
  TestProvider provider(form.get());
  CommandSpy spy(form.get(), false);
  spy.answers[scmGetProvider] = reinterpret_cast<LRESULT>(&provider);
  const std::optional<bool> alpha = SetPerPixelAlphaShown(false);
  auto faded = [&] {
    return std::count_if(updates.begin(), updates.end(), [](const Update& u) { return u.alpha < 255; });
  };
  provider.Snapshot = CreateBmp32(160, 120);
  AnimChangeForm(form.get(), 120, 255, false);
  EXPECT_TRUE(Alphas(TqvAnimationKind::Change).empty());
  EXPECT_EQ(Alphas(TqvAnimationKind::ChangeFallback).size(), 11u);
  EXPECT_EQ(faded(), 0);
  EXPECT_EQ(provider.Snapshot, nullptr);

  struct TBorder : TqvBorderFormBase {} border;
  provider.BorderForm = &border;
  provider.Snapshot = CreateBmp32(180, 140);
  frames.clear();
  updates.clear();
  AnimChangeForm(form.get(), 120, 255, false);
  EXPECT_TRUE(frames.empty());
  EXPECT_EQ(faded(), 0);
  EXPECT_EQ(provider.Snapshot, nullptr);
  EXPECT_EQ(waits, 10);  // the cross-fade's steps only
  provider.BorderForm = nullptr;
  SetPerPixelAlphaShown(alpha);
}

TEST_F(Animations, AChangeOfAControlMixesTheImagesThroughAnOutputWindow) {
  auto* panel = new vcl::TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(10, 10, 60, 40);
  panel->HandleNeeded();
  AnimChangeForm(panel, 120, 255, false);
  // The old image's weight falls from 255 by 25 a frame to 5, then the new image alone.
  std::vector<int> expected;
  for (int w = 255; w >= 5; w -= 25) expected.push_back(w);
  EXPECT_EQ(Alphas(TqvAnimationKind::ChangeFallback), expected);
  EXPECT_EQ(waits, 10);

  frames.clear();
  waits = 0;
  AnimChangeForm(panel, 11, 255, false);
  EXPECT_TRUE(Alphas(TqvAnimationKind::ChangeFallback).empty());
  EXPECT_EQ(waits, 0);
}

TEST(AnimationHelpers, TopParentsAndAlignedSizes) {
  auto form = NewForm();
  vcl::TPanel* bottom = nullptr;
  for (int height : {30, 12, 50}) {
    bottom = new vcl::TPanel(form.get());
    bottom->SetParent(form.get());
    bottom->SetAlign(vcl::alTop);
    bottom->SetHeight(height);
  }
  bottom->SetVisible(false);  // a hidden one does not count
  EXPECT_EQ(GetAlignedChildrenSize(form.get(), vcl::alTop, false), 42);
  EXPECT_EQ(GetAlignedChildrenSize(form.get(), vcl::alLeft, true), 0);
  EXPECT_EQ(GetTopParentWnd(bottom->Handle()), form->Handle());  // the hidden panel's window
  EXPECT_EQ(GetTopParentWnd(form->Handle()), form->Handle());
}

// A form's picture (as its animations show it) from its sheets: a sheet's content starts inside
// the border it keeps around its client area.
TEST(AnimationHelpers, ASheetsContentStartsInsideItsBorder) {
  auto form = NewForm();
  form->SetBounds(40, 40, 300, 200);
  auto* pages = new vcl::TPageControl(form.get());
  pages->SetParent(form.get());
  pages->SetBounds(0, 0, 260, 160);
  auto* sheet = new vcl::TTabSheet(form.get());
  sheet->SetPageControl(pages);
  sheet->SetBorderWidth(6);
  auto* panel = new vcl::TPanel(form.get());
  panel->SetParent(sheet);
  panel->SetBounds(0, 0, 40, 30);
  panel->SetBevelOuter(vcl::bvNone);
  panel->SetColor(0x2080E0);
  pages->SetActivePage(sheet);
  form->Show();
  ASSERT_TRUE(sheet->Visible());
  RECT window{};
  GetWindowRect(sheet->Handle(), &window);
  ASSERT_EQ(window.right - window.left - sheet->ClientWidth(), 12);  // the border on each side
  auto bmp = CreateBmp32(sheet->Width(), sheet->Height());
  PaintParentBgToBmp(bmp.get(), sheet, 0, nullptr, 0);
  EXPECT_EQ(PixelOf(bmp.get(), 6 + 2, 6 + 2) & 0xFFFFFF, 0xE08020u);
  EXPECT_EQ(PixelOf(bmp.get(), 6 + 39, 6 + 29) & 0xFFFFFF, 0xE08020u);
  EXPECT_NE(PixelOf(bmp.get(), 6 + 41, 6 + 31) & 0xFFFFFF, 0xE08020u);
}

// A graphic control that records the skin commands it gets.
class TCommandGraphic : public vcl::TGraphicControl {
  VCL_CLASS(TCommandGraphic, vcl::TGraphicControl)
 public:
  explicit TCommandGraphic(vcl::TComponent* AOwner) : TGraphicControl(AOwner) {}
  std::vector<int> Commands;

 protected:
  void WndProc(vcl::TMessage& Message) override {
    if (Message.Msg == kSkinCmdMessage) Commands.push_back(SkinCommandOf(Message.WParam));
    TGraphicControl::WndProc(Message);
  }
};
VCL_CLASS_INFO(TCommandGraphic) {}

class TReloadMdiFrame : public vcl::TForm {
  VCL_CLASS(TReloadMdiFrame, vcl::TForm)
 public:
  explicit TReloadMdiFrame(vcl::TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(vcl::fsMDIForm); }
};
VCL_CLASS_INFO(TReloadMdiFrame) {}

// The aligned graphic controls of an MDI frame stand beside its client window: painted into a
// DC, they take their skin data again first; those of other forms do not.
TEST(AnimationHelpers, AnMdiFramesAlignedGraphicControlsReloadWhenPainted) {
  for (const bool mdi : {true, false}) {
    auto* form = mdi ? vcl::Construct<TReloadMdiFrame>(nullptr) : vcl::Construct<vcl::TForm>(nullptr, 0);
    form->SetBounds(40, 40, 300, 200);
    auto* aligned = new TCommandGraphic(form);
    aligned->SetParent(form);
    aligned->SetAlign(vcl::alTop);
    aligned->SetHeight(20);
    auto* placed = new TCommandGraphic(form);
    placed->SetParent(form);
    placed->SetBounds(10, 100, 30, 20);
    form->HandleNeeded();
    auto bmp = CreateBmp32(300, 200);
    aligned->Commands.clear();
    placed->Commands.clear();
    PaintControlsOnDC(bmp->Canvas()->Handle(), form, vcl::TPoint(), false);
    const auto reloads = [](const TCommandGraphic* c) { return std::count(c->Commands.begin(), c->Commands.end(), scmReload); };
    EXPECT_EQ(reloads(aligned), mdi ? 1 : 0);
    EXPECT_EQ(reloads(placed), 0);
    vcl::TObject::Free(form);
  }
}

}  // namespace
}  // namespace skin_layered::test
