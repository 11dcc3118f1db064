// The main window's skin-data component: streamed from the program's own description, it
// registers with the classic engine's manager, which hooks the thread, and stays inactive,
// so the window keeps its own look.
#include "main_window_support.h"

#include "skin_classic/core/SkinData.h"
#include "skin_classic/core/SkinManage.h"

namespace composer::testing {
namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new MainWindowEnvironment);

using MainWindowSkin = MainWindowTest;

TEST_F(MainWindowSkin, TheSkinDataComponentIsLoadedInactiveWithTheHookInstalled) {
  auto* skin = dynamic_cast<winskin::TSkinData*>(form->FindComponent(L"skndt1"));
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->Owner(), form);
  EXPECT_FALSE(skin->Active());
  EXPECT_TRUE(skin->Empty());
  EXPECT_EQ(skin->SkinFormtype(), winskin::sfMainform);
  EXPECT_EQ(skin->SkinStream()->Size(), 0);
  EXPECT_EQ(skin->Skin3rd()->Count(), 118);

  winskin::TSkinManage* manager = winskin::SkinManager();
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(manager->HookInstalled());
  EXPECT_EQ(manager->MainSkinData(), skin);

  // Activated, the window keeps its own procedure and no window is given to the engine.
  const LONG_PTR procedure = GetWindowLongPtrW(form->Handle(), GWLP_WNDPROC);
  SetActiveWindow(form->Handle());
  // The hook sees the activation at once; what it might set off is posted or timed.
  ASSERT_TRUE(PumpUntilIdle([&] { return manager->Started() >= 1 && !manager->Timer()->Enabled(); }));
  EXPECT_FALSE(manager->Active());
  EXPECT_EQ(manager->FormCount(), 0);
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWLP_WNDPROC), procedure);
  EXPECT_TRUE(g_boxes.empty());
}

}  // namespace
}  // namespace composer::testing
