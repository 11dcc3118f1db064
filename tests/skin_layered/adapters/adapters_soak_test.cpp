// A soak of the layered engine on one form the size of the gallery's, with a control of every kind,
// a frame, labels, speed buttons and a menu: skinned, switched to another skin and unskinned round
// after round (200 rounds in make test-whole, a short run in make test) through its manager. Every
// adapter goes with each unskinning, and what the library and the engine hold through their owning
// wrappers (objects, GDI objects, DCs, windows, hooks, subclasses, timers) stays flat: after the
// first round it grows in a few one-time steps at most, where a leak of one object a round would
// grow in every round; the process's committed memory stays within a small margin. So do the GDI
// objects and DCs the program makes and frees, counted at its imports (Wine keeps no count of
// them).
#include "auto_support.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/LiveCounts.h"
#include "support/gdi_counts.h"
#include "support/soak_support.h"
#include "skin_layered/manager/SkinManager.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {


struct FormFree {
  void operator()(vcl::TForm* f) const { vcl::TObject::Free(f); }
};

size_t AdaptedCount(const EveryKind& Kinds) {
  size_t n = 0;
  for (const auto& [name, entry] : Kinds.windowed)
    if (entry.first->HandleAllocated() && GetAdapter(entry.first->Handle())) ++n;
  return n;
}

TEST(AdaptersSoak, SkinningSwitchingAndUnskinningAGallerySizedFormRoundAfterRoundLeavesNothingBehind) {
  const int kRounds = wintest::SoakRounds();
  TempSkins skins;
  skins.Write(L"First", L"Options.dat", BytesOf(EveryKindSkinText(0)));
  skins.Write(L"Second", L"Options.dat", BytesOf(EveryKindSkinText(0x30)));
  ManagerPtr manager = NewManager();
  manager->SetSkinDirectory(skins.Directory());
  manager->AnimEffects()->SkinChanging()->SetActive(false);
  manager->SetSkinName(L"First");
  ASSERT_TRUE(manager->Skin().SkinData.Active);
  manager->SetActive(false);

  std::unique_ptr<vcl::TForm, FormFree> form(new vcl::TForm(vcl::Application, 0));
  auto* provider = vcl::Construct<TsSkinProvider>(form.get());
  const EveryKind kinds = FillEveryKind(form.get());
  wintest::PrepareSoakForm(form.get());
  form->Show();
  wintest::PumpUntilIdle();
  vcl::TWinControl* button = kinds.windowed.at(L"Button").first;

  // Unskinned and shown: the start.
  const vcl::TLiveCounts start = vcl::LiveCounts();
  const int startWindows = wintest::ThreadWindows();
  wintest::PrintCounts("start", start, startWindows, wintest::CommittedMemory());

  size_t adapted = 0, items = 0;
  vcl::TLiveCounts skinned{}, warm{};
  int64_t warmMemory = 0;
  const wintest::GdiCounts startGdi = wintest::CountGdi();
  wintest::GdiCounts skinnedGdi{}, warmGdi{};
  wintest::SoakPeaks peaks;
  const ULONGLONG begun = GetTickCount64();
  for (int round = 0; round < kRounds; ++round) {
    manager->SetActive(true);
    wintest::Pump();
    ASSERT_TRUE(provider->Adapters().CtrlAdapter()) << "round " << round;
    if (round == 0) {
      adapted = AdaptedCount(kinds);
      items = provider->Adapters().CtrlAdapter()->Items.size();
      skinned = vcl::LiveCounts();
      skinnedGdi = wintest::CountGdi();
    }
    ASSERT_EQ(AdaptedCount(kinds), adapted) << "round " << round;
    ASSERT_EQ(provider->Adapters().CtrlAdapter()->Items.size(), items) << "round " << round;

    // The other skin, taken by the adapters already there.
    manager->SetSkinName(manager->SkinName() == L"First" ? L"Second" : L"First");
    wintest::Pump();
    ASSERT_TRUE(manager->Skin().SkinData.Active) << "round " << round;
    ASSERT_EQ(AdaptedCount(kinds), adapted) << "round " << round;
    ASSERT_EQ(provider->Adapters().CtrlAdapter()->Items.size(), items) << "round " << round;

    // The foreground taken by another program and given back, as happens on any desktop: the
    // frame's cover for the change is made in the first round, not whenever a program beside
    // happens to take the foreground (after the halfway mark its one-time objects read as a
    // leak).
    SendMessageW(form->Handle(), WM_NCACTIVATE, FALSE, 0);
    SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
    wintest::Pump();

    manager->SetActive(false);
    wintest::Pump();
    ASSERT_FALSE(provider->Adapters().CtrlAdapter()) << "round " << round;
    ASSERT_EQ(AdaptedCount(kinds), 0u) << "round " << round;
    ASSERT_EQ(SendCommandToWnd(button->Handle(), scmIsSkinned, 0), 0) << "round " << round;

    // A round that leaves more of anything than every round before it grew; a leak grows every
    // round, the library's one-time lazy objects a few times at most.
    const vcl::TLiveCounts now = vcl::LiveCounts();
    const int windowsNow = wintest::ThreadWindows();
    if (peaks.Take(round, now, windowsNow)) {
      wintest::PrintCounts(("round " + std::to_string(round + 1)).c_str(), now, windowsNow, wintest::CommittedMemory());
    }
    if (round == 0) wintest::PrintCounts("1st round", now, windowsNow, wintest::CommittedMemory());
    if (round == kRounds / 2 - 1) {
      warm = now;
      warmMemory = wintest::CommittedMemory();
      warmGdi = wintest::CountGdi();
      wintest::PrintCounts("halfway", warm, windowsNow, warmMemory);
    }
  }
  const vcl::TLiveCounts end = vcl::LiveCounts();
  const int endWindows = wintest::ThreadWindows();
  const int64_t endMemory = wintest::CommittedMemory();
  wintest::PrintCounts("end", end, endWindows, endMemory);
  std::printf("[ counts ] %d rounds in %llu ms, %zu adapted controls and %zu adapter items a round\n", kRounds,
              static_cast<unsigned long long>(GetTickCount64() - begun), adapted, items);

  // Skinned, the form held far more than unskinned: the counts are real.
  EXPECT_GT(adapted, 15u);
  using vcl::TLiveKind;
  for (TLiveKind kind : {TLiveKind::Objects, TLiveKind::GdiObjects, TLiveKind::WindowProcHooks})
    EXPECT_GT(skinned[static_cast<size_t>(kind)], start[static_cast<size_t>(kind)]) << vcl::LiveKindName(kind);
  // Flat: after the first round nothing grows but in a few one-time steps.
  EXPECT_LE(peaks.growingRounds, wintest::kSoakOneTimeSteps);
  ASSERT_GT(warmMemory, 0);  // the process's memory is known
  EXPECT_LT(endMemory - warmMemory, wintest::kSoakMemoryMargin);
  // Skinned, the program held more GDI objects (the count is real), and from halfway on the
  // rounds left none behind.
  EXPECT_GT(skinnedGdi.LiveTotal(), startGdi.LiveTotal());
  EXPECT_TRUE(wintest::NoGdiGrowth(warmGdi, wintest::CountGdi()));
  form.reset();
  manager.reset();
}

}  // namespace
}  // namespace skin_layered::test
