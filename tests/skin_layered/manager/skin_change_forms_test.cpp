// The registered forms through a skin change, on real forms answering with test providers.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <set>
#include <tuple>
#include <stdexcept>

#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/FormRegistry.h"
#include "skin_layered/core/command_spies.h"
#include "skin_layered/manager/SkinChangeForms.h"

namespace skin_layered::test {
namespace {

class TestBorderForm : public TqvBorderFormBase {
 public:
  TestBorderForm() {
    window_ = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, L"STATIC", L"border", WS_POPUP, 0, 0, 50, 50,
                              nullptr, nullptr, nullptr, nullptr);
  }
  ~TestBorderForm() override { DestroyWindow(window_); }
  HWND BorderWindow() const override { return window_; }
  HRGN MakeFormRgn() override {
    ++regions;
    return CreateRectRgn(0, 0, 40, 40);
  }
  void UpdateExBordersPos(bool repaint, std::uint8_t alpha) override { updates.emplace_back(repaint, alpha); }
  int regions = 0;
  std::vector<std::pair<bool, int>> updates;  // repaint, alpha

 private:
  HWND window_;
};

// A title height the test sets.
class TitleMeasures : public TqvProviderMeasures {
 public:
  int CaptionHeight(bool) const override { return 0; }
  int TitleHeightByState(bool) const override { return titleHeight; }
  int titleHeight = 30;
};

class TestProvider : public TsSkinProviderBase {
 public:
  explicit TestProvider(vcl::TCustomForm* form) : TsSkinProviderBase(nullptr) { Form = form; }
  std::unique_ptr<vcl::TBitmap> StartMinAnimation(bool freeCache) override {
    if (failSnapshot) throw std::runtime_error("no image");
    ++snapshots;
    lastFreeCache = freeCache;
    auto bmp = std::make_unique<vcl::TBitmap>();
    bmp->SetSize(8, 8);
    return bmp;
  }
  void UpdateRgn() override { ++regionUpdates; }
  void UpdateTaskbarPreview(bool) override { ++previews; }
  const TqvProviderMeasures& Measures() const override { return measures; }
  TitleMeasures measures;
  int snapshots = 0, regionUpdates = 0, previews = 0;
  bool lastFreeCache = true, failSnapshot = false;
};

using AnimationCall = std::tuple<vcl::TCustomForm*, int, int, bool>;  // form, time, alpha, aero
struct LayeredCall {
  HWND wnd;
  vcl::TBitmap* bmp;
  int alpha;
  bool operator==(const LayeredCall&) const = default;
};

class FakeManager : public TqvSkinChangeManager {
 public:
  bool IsDefaultManager() const override { return isDefault; }
  bool DesigningOrLoading() const override { return designing; }
  TqvSkinChangeAnimation SkinChanging() const override { return animation; }
  bool UsesProvider(const TsSkinProviderBase& p) const override { return mine.count(&p) != 0; }
  void AnimChangeForm(vcl::TCustomForm& form, int time, std::uint8_t alpha, bool aero) override {
    animations.emplace_back(&form, time, alpha, aero);
  }
  void UpdateLayeredWnd(HWND wnd, vcl::TBitmap& bmp, std::uint8_t alpha) override {
    layered.push_back({wnd, &bmp, alpha});
  }
  bool isDefault = true, designing = false;
  TqvSkinChangeAnimation animation{true, 120, atAero};
  std::set<const TsSkinProviderBase*> mine;
  std::vector<AnimationCall> animations;
  std::vector<LayeredCall> layered;
};

// A shown, registered form whose window answers scmGetProvider with its provider.
struct SkinnedForm {
  explicit SkinnedForm(FakeManager& manager, bool withBorder = false, bool mine = true)
      : form(NewForm()), provider(std::make_unique<TestProvider>(form.get())),
        spy(std::make_unique<CommandSpy>(form.get(), true)) {
    spy->answers[scmGetProvider] = reinterpret_cast<LRESULT>(provider.get());
    if (withBorder) {
      border = std::make_unique<TestBorderForm>();
      provider->BorderForm = border.get();
    }
    if (mine) manager.mine.insert(provider.get());
    form->Show();
    RegisterForm(form.get());
  }
  ~SkinnedForm() {
    UnregisterForm(form.get());
    spy.reset();
  }
  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> form;
  std::unique_ptr<TestProvider> provider;
  std::unique_ptr<TestBorderForm> border;
  std::unique_ptr<CommandSpy> spy;
};

class SkinChangeForms : public ::testing::Test {
 protected:
  void TearDown() override { SetAnimationActive(false); }
  FakeManager manager;
};

TEST_F(SkinChangeForms, OnlyShownTopLevelFormsOfTheManagerTakePart) {
  SkinnedForm shown(manager), other(manager, false, false), hidden(manager), minimized(manager), child(manager);
  hidden.form->Hide();
  minimized.form->SetWindowState(vcl::wsMinimized);
  child.form->SetParent(shown.form.get());
  auto unregistered = NewForm();
  unregistered->Show();
  std::vector<vcl::TCustomForm*> seen;
  ForEachSkinnedForm(manager, [&](vcl::TCustomForm& form, TsSkinProviderBase& provider) {
    seen.push_back(&form);
    EXPECT_EQ(&provider, shown.provider.get());
  });
  EXPECT_EQ(seen, (std::vector<vcl::TCustomForm*>{shown.form.get()}));
}

TEST_F(SkinChangeForms, SavingImagesTakesSnapshotsUnderBorderForms) {
  SkinnedForm plain(manager), bordered(manager, true);
  SaveFormImages(manager);
  EXPECT_TRUE(plain.provider->PaintingSuspended && bordered.provider->PaintingSuspended);
  EXPECT_EQ(plain.provider->snapshots, 0);
  EXPECT_FALSE(plain.provider->State & kProviderChangeSnapshot);
  EXPECT_EQ(bordered.provider->snapshots, 1);
  EXPECT_FALSE(bordered.provider->lastFreeCache);
  EXPECT_TRUE(bordered.provider->Snapshot && (bordered.provider->State & kProviderChangeSnapshot));
  EXPECT_TRUE(AnimationActive());  // the default manager changes its skin with the animation
}

TEST_F(SkinChangeForms, NothingForAManagerBeingDesignedOrLoaded) {
  SkinnedForm form(manager, true);
  manager.designing = true;
  SaveFormImages(manager);
  EXPECT_FALSE(form.provider->PaintingSuspended);
  EXPECT_EQ(form.provider->snapshots, 0);
  EXPECT_FALSE(AnimationActive());
  manager.designing = false;
  manager.isDefault = false;  // another manager's change does not mark the animation
  SaveFormImages(manager);
  EXPECT_TRUE(form.provider->PaintingSuspended);
  EXPECT_FALSE(AnimationActive());
}

TEST_F(SkinChangeForms, LockingFreezesAndPutsTheSnapshotOnTheBorderWindowUntilLetGo) {
  SkinnedForm plain(manager), bordered(manager, true);
  bordered.form->SetAlphaBlend(true);
  bordered.form->SetAlphaBlendValue(200);
  SaveFormImages(manager);
  vcl::TBitmap* snapshot = bordered.provider->Snapshot.get();
  LockForms(manager);
  for (SkinnedForm* f : {&plain, &bordered}) {
    EXPECT_TRUE(f->provider->State & kProviderChangeFrozen);
    EXPECT_EQ(f->spy->redrawValues, (std::vector<WPARAM>{0}));
  }
  EXPECT_EQ(manager.layered, (std::vector<LayeredCall>{{bordered.border->BorderWindow(), snapshot, 200}}));
  EXPECT_EQ(bordered.border->regions, 1);

  // Let go without the animation: redrawn, nothing more.
  UnlockForms(manager, 0);
  EXPECT_FALSE(AnimationActive());
  EXPECT_EQ(bordered.spy->redrawValues, (std::vector<WPARAM>{0, 1, 1}));
  EXPECT_FALSE(bordered.provider->State & (kProviderChangeFrozen | kProviderChangeSnapshot));
  EXPECT_FALSE(bordered.provider->PaintingSuspended);
  EXPECT_TRUE(manager.animations.empty() && bordered.border->updates.empty());
  EXPECT_EQ(bordered.provider->regionUpdates, 0);
}

TEST_F(SkinChangeForms, LettingGoWithTheAnimation) {
  SkinnedForm framed(manager, true), plain(manager);
  plain.provider->DrawNonClientArea = false;
  framed.form->SetAlphaBlend(true);
  framed.form->SetAlphaBlendValue(180);
  SaveFormImages(manager);
  LockForms(manager);
  UnlockForms(manager, 1);
  // The form whose frame the system draws changes at once.
  EXPECT_EQ(manager.animations, (std::vector<AnimationCall>{{framed.form.get(), 120, 180, true},
                                                            {plain.form.get(), 0, 255, false}}));
  EXPECT_EQ((std::array{framed.provider->regionUpdates, framed.provider->previews, plain.provider->regionUpdates}),
            (std::array{1, 1, 0}));
  EXPECT_EQ(framed.border->updates, (std::vector<std::pair<bool, int>>{{true, 255}}));
  for (SkinnedForm* f : {&framed, &plain}) {
    EXPECT_FALSE(f->provider->PaintingSuspended);
    EXPECT_FALSE(f->provider->State & (kProviderChangeFrozen | kProviderChangeSnapshot));
  }

  // With the animation off the forms are only redrawn.
  manager.animation.Active = false;
  manager.animations.clear();
  LockForms(manager);
  UnlockForms(manager, 1);
  EXPECT_TRUE(manager.animations.empty());
  EXPECT_EQ(framed.provider->regionUpdates, 2);
}

TEST_F(SkinChangeForms, AMaximisedFormUnderABorderFormIsLaidOutForANewTitleHeight) {
  SkinnedForm form(manager, true);
  form.form->SetWindowState(vcl::wsMaximized);
  ASSERT_TRUE(IsZoomed(form.form->Handle()));
  form.provider->MaximizedTitleHeight = 30;
  form.provider->measures.titleHeight = 40;
  LockForms(manager);
  UnlockForms(manager, 1);
  EXPECT_EQ(form.provider->MaximizedTitleHeight, 40);
  EXPECT_TRUE(IsZoomed(form.form->Handle()) && IsWindowVisible(form.form->Handle()));
}

TEST_F(SkinChangeForms, SavedImagesAreGivenBackWhenTheChangeFails) {
  SkinnedForm plain(manager), bordered(manager, true);
  try {
    TqvSavedFormImages saved(manager);
    EXPECT_TRUE(plain.provider->PaintingSuspended);
    EXPECT_TRUE(AnimationActive());
    throw std::runtime_error("the skin did not load");
  } catch (const std::runtime_error&) {
  }
  for (SkinnedForm* f : {&plain, &bordered})
    EXPECT_FALSE(f->provider->PaintingSuspended || (f->provider->State & kProviderChangeSnapshot) || f->provider->Snapshot);
  EXPECT_FALSE(AnimationActive());

  {
    TqvSavedFormImages saved(manager);
    saved.Keep();  // went through: the lock and unlock finish it
  }
  EXPECT_TRUE(plain.provider->PaintingSuspended);
  EXPECT_TRUE(bordered.provider->Snapshot);
}

TEST_F(SkinChangeForms, ASnapshotFailingPartWayLeavesNoFormSuspended) {
  SkinnedForm first(manager, true), second(manager, true);
  second.provider->failSnapshot = true;
  EXPECT_THROW(SaveFormImages(manager), std::runtime_error);
  EXPECT_FALSE(first.provider->PaintingSuspended);
  EXPECT_FALSE(first.provider->State & kProviderChangeSnapshot);
  EXPECT_FALSE(second.provider->PaintingSuspended);
  EXPECT_FALSE(AnimationActive());
  EXPECT_THROW(TqvSavedFormImages saved(manager), std::runtime_error);
  EXPECT_FALSE(first.provider->PaintingSuspended);
}

}  // namespace
}  // namespace skin_layered::test
