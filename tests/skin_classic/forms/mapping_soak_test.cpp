// A soak of the whole classic engine on one form the size of the gallery's: skinned, switched to
// another skin and unskinned round after round (200 rounds in make test-whole, a short run in make
// test) through the manager's requests. Every skinner goes with each unskinning, and what the
// library and the engine hold through their owning wrappers (objects, GDI objects, DCs, windows,
// hooks, subclasses, timers) stays flat: after the first round it grows in a few one-time steps at
// most, where a leak of one object a round would grow in every round; the process's committed
// memory stays within a small margin. So do the GDI objects and DCs the program makes and frees,
// counted at its imports (Wine keeps no count of them).
#include "mapping_support.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "classlib/rtl/LiveCounts.h"
#include "support/gdi_counts.h"
#include "support/soak_support.h"

namespace winskin::test {
namespace {


// A request of the manager, carried out at once by its timer's handler (the system's timers
// would add their resolution to every step of every round).
void Request(TSkinData* Skin, TSkinMode Mode) {
  SkinManager()->SetRequestSkinData(Skin);
  SkinManager()->SetActiveMode(Mode, 1);
  vcl::TTimer* timer = SkinManager()->Timer();
  if (timer->Enabled() && timer->OnTimer) timer->OnTimer(timer);
}

TEST_F(MappedForms, SkinningSwitchingAndUnskinningAGallerySizedFormRoundAfterRoundFreesEverything) {
  const int kRounds = wintest::SoakRounds();
  const std::vector<uint8_t> skins[2] = {BuildPackage(CompleteSkinSpec(4)), BuildPackage(CompleteSkinSpec(6))};
  Owned<vcl::TForm> form = NewForm();
  const AllKinds kinds = FillAllKinds(form.get());
  wintest::PrepareSoakForm(form.get());

  // Unskinned and shown: the start.
  SkinManager()->SetRequestSkinData(data_);
  SkinManager()->SetActiveMode(TSkinMode::UnskinAll, 1);
  ASSERT_TRUE(PumpUntil([] { return !SkinManager()->Active(); }));
  form->Show();
  wintest::PumpUntilIdle();
  const vcl::TLiveCounts start = vcl::LiveCounts();
  const int startWindows = wintest::ThreadWindows();
  wintest::PrintCounts("start", start, startWindows, wintest::CommittedMemory());

  size_t skinners = 0;
  vcl::TLiveCounts skinned{}, warm{};
  int64_t warmMemory = 0;
  int warmWindows = 0;
  const wintest::GdiCounts startGdi = wintest::CountGdi();
  wintest::GdiCounts skinnedGdi{}, warmGdi{};
  wintest::SoakPeaks peaks;
  const ULONGLONG begun = GetTickCount64();
  ULONGLONG phase[3] = {};
  for (int round = 0; round < kRounds; ++round) {
    ULONGLONG t0 = GetTickCount64();
    Request(data_, TSkinMode::SkinAll);
    ASSERT_TRUE(PumpUntil([&] { return Ready(form->Handle()); })) << "round " << round;
    phase[0] += GetTickCount64() - t0;
    t0 = GetTickCount64();
    TWinSkinForm* skin = Find(form->Handle());
    ASSERT_TRUE(skin) << "round " << round;
    if (round == 0) {
      skinners = skin->Skinners().size();
      skinned = vcl::LiveCounts();
      skinnedGdi = wintest::CountGdi();
    }
    ASSERT_EQ(skin->Skinners().size(), skinners) << "round " << round;

    // The other skin, taken by the forms already skinned.
    Fill(*data_->SkinStream(), skins[(round + 1) % 2]);
    ASSERT_TRUE(data_->LoadSkin());
    SkinManager()->RefreshSkinObjects(data_);
    Request(data_, TSkinMode::Refresh);
    ASSERT_TRUE(PumpUntil([] { return SkinManager()->RequestSkinData() == nullptr; })) << "round " << round;
    skin = Find(form->Handle());
    ASSERT_TRUE(skin && skin->State == TSkinFormState::Ready) << "round " << round;
    ASSERT_EQ(skin->Skinners().size(), skinners) << "round " << round;
    phase[1] += GetTickCount64() - t0;
    t0 = GetTickCount64();

    Request(data_, TSkinMode::UnskinAll);
    ASSERT_TRUE(PumpUntil([] { return SkinManager()->FormCount() == 0; })) << "round " << round;
    phase[2] += GetTickCount64() - t0;
    ASSERT_EQ(SkinManager()->FormCount(), 0) << "round " << round;
    ASSERT_EQ(kinds[L"Button"]->Perform(SKM_QUERYNOSKIN, 0, 0), 0) << "round " << round;
    // A round that leaves more of anything than every round before it grew; a leak grows every
    // round, the library's one-time lazy objects (some made only as the desktop hands the
    // activation to the form or away, which tests running beside decide) a few times at most.
    const vcl::TLiveCounts now = vcl::LiveCounts();
    const int windowsNow = wintest::ThreadWindows();
    if (peaks.Take(round, now, windowsNow)) {
      wintest::PrintCounts(("round " + std::to_string(round + 1)).c_str(), now, windowsNow, wintest::CommittedMemory());
    }
    if (round == 0) wintest::PrintCounts("1st round", now, windowsNow, wintest::CommittedMemory());
    if (round == kRounds / 2 - 1) {
      warm = vcl::LiveCounts();
      warmWindows = wintest::ThreadWindows();
      warmMemory = wintest::CommittedMemory();
      warmGdi = wintest::CountGdi();
      wintest::PrintCounts("halfway", warm, warmWindows, warmMemory);
    }
  }
  const vcl::TLiveCounts end = vcl::LiveCounts();
  const int endWindows = wintest::ThreadWindows();
  const int64_t endMemory = wintest::CommittedMemory();
  wintest::PrintCounts("end", end, endWindows, endMemory);
  std::printf("[ counts ] %d rounds in %llu ms (skin %llu, switch %llu, unskin %llu), %zu skinners a round\n",
              kRounds, static_cast<unsigned long long>(GetTickCount64() - begun), phase[0], phase[1], phase[2],
              skinners);

  // Skinned, the form held far more than unskinned: the counts are real.
  EXPECT_GT(skinners, ExpectedSkinners().size());
  using vcl::TLiveKind;
  // (The frame's hover timer runs only while the form is active, which tests beside may take.)
  for (TLiveKind kind : {TLiveKind::Objects, TLiveKind::GdiObjects, TLiveKind::Windows, TLiveKind::WindowProcHooks,
                         TLiveKind::Subclasses}) {
    EXPECT_GT(skinned[static_cast<size_t>(kind)], start[static_cast<size_t>(kind)]) << vcl::LiveKindName(kind);
  }
  // Flat: after the first round nothing grows but in a few one-time steps.
  EXPECT_LE(peaks.growingRounds, wintest::kSoakOneTimeSteps);
  ASSERT_GT(warmMemory, 0);  // the process's memory is known
  EXPECT_LT(endMemory - warmMemory, wintest::kSoakMemoryMargin);
  // Skinned, the program held more GDI objects (the count is real), and from halfway on the
  // rounds left none behind.
  EXPECT_GT(skinnedGdi.LiveTotal(), startGdi.LiveTotal());
  EXPECT_TRUE(wintest::NoGdiGrowth(warmGdi, wintest::CountGdi()));
}

}  // namespace
}  // namespace winskin::test
