// Shell support: identifier lists, folders below the desktop, a start-up done once, OLE stopped
// only when it was started, and the pipette cursor registered with the screen.
#include <gtest/gtest.h>

#include <windows.h>
#undef RegisterClass

#include <cstring>
#include <thread>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/UnitInit.h"
#include "skin_layered/adapters/ShellFolders.h"
#include "skin_layered/paint/AlphaImageList.h"

namespace skin_layered {
namespace {

class UnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { vcl::InitializeUnits(); }
  void TearDown() override { vcl::FinalizeUnits(); }
};
::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// A list of items with the given data lengths, each filled with its number.
TqvPidl MakeList(std::initializer_list<int> Lengths) {
  UINT size = 2;
  for (int n : Lengths) size += static_cast<UINT>(n) + 2;
  TqvPidl list(static_cast<ITEMIDLIST*>(ShellAlloc(size)));
  auto* p = reinterpret_cast<BYTE*>(list.get());
  BYTE tag = 1;
  for (int n : Lengths) {
    const USHORT cb = static_cast<USHORT>(n + 2);
    std::memcpy(p, &cb, 2);
    std::memset(p + 2, tag++, static_cast<std::size_t>(n));
    p += cb;
  }
  return list;
}

TEST(ShellFolders, IdentifierListsAreMeasuredCopiedAndJoined) {
  EXPECT_EQ(PidlSize(nullptr), 0u);
  const TqvPidl a = MakeList({3, 5});
  const TqvPidl b = MakeList({4});
  EXPECT_EQ(PidlSize(a.get()), 2u + 5 + 7);
  EXPECT_EQ(CopyPidl(nullptr), nullptr);

  const TqvPidl copy = CopyPidl(b.get());
  const TqvPidl joinedNil = ConcatPidls(nullptr, b.get());
  ASSERT_EQ(PidlSize(joinedNil.get()), PidlSize(copy.get()));
  EXPECT_EQ(std::memcmp(joinedNil.get(), copy.get(), PidlSize(copy.get())), 0);

  const TqvPidl joined = ConcatPidls(a.get(), b.get());
  EXPECT_EQ(PidlSize(joined.get()), PidlSize(a.get()) + PidlSize(b.get()) - 2);
  const auto* bytes = reinterpret_cast<const BYTE*>(joined.get());
  EXPECT_EQ(bytes[2], 1);
  EXPECT_EQ(bytes[7], 2);
  EXPECT_EQ(bytes[14], 1);  // b's first item follows a's
  EXPECT_EQ(PidlSize(ConcatPidls(nullptr, nullptr).get()), 2u);  // nothing joined: an empty list
}

TEST(ShellFolders, FoldersHangBelowTheDesktopWithTheirAbsoluteLists) {
  TqvShellFolder* desktop = DesktopFolder();
  ASSERT_NE(desktop, nullptr);
  EXPECT_EQ(desktop->Parent(), nullptr);
  ASSERT_NE(desktop->ShellFolder(), nullptr);
  const TqvPidl item = MakeList({6});
  TqvShellFolder child(nullptr, desktop->ShellFolder(), item.get());
  EXPECT_EQ(child.Parent(), desktop);
  EXPECT_EQ(child.Level(), 0);
  EXPECT_EQ(PidlSize(child.RelativeID()), PidlSize(item.get()));
  EXPECT_EQ(PidlSize(child.AbsoluteID()), PidlSize(desktop->AbsoluteID()) + PidlSize(item.get()) - 2);
  TqvShellFolder grandchild(&child, desktop->ShellFolder(), item.get());
  EXPECT_EQ(grandchild.Parent(), &child);
  EXPECT_EQ(grandchild.Level(), 1);  // the child's one ancestor, the desktop
  EXPECT_EQ(PidlSize(grandchild.AbsoluteID()), PidlSize(child.AbsoluteID()) + PidlSize(item.get()) - 2);
  EXPECT_NE(child.Items(), nullptr);
}

TEST(ShellFolders, StartUpRunsItsWorkOnceAndTheSystemListIsShared) {
  TqvShellFolder* desktop = DesktopFolder();
  ASSERT_NE(desktop, nullptr);
  StartShellSupport();  // a second start changes nothing
  EXPECT_EQ(DesktopFolder(), desktop);
  StopShellSupport();  // and its stop leaves the first start's work in place
  EXPECT_EQ(DesktopFolder(), desktop);

  const HIMAGELIST system = SystemImageListHandle();
  if (!system) GTEST_SKIP() << "the shell gives no system image list";
  ASSERT_NE(SystemImages(), nullptr);
  EXPECT_EQ(SystemImages()->Handle(), system);
  EXPECT_TRUE(SystemImages()->ShareImages());
  EXPECT_EQ(ImageList_GetBkColor(system), CLR_NONE);
}

TEST(ShellFolders, OleIsStoppedOnlyWhenItWasStarted) {
  std::thread([] {
    // A thread of the multithreaded apartment: OLE cannot start there.
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
      TqvOleScope ole;
      EXPECT_FALSE(ole.Started());
    }
    // The apartment is still the thread's own: initialising again is only counted.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
  }).join();
  std::thread([] {
    {
      TqvOleScope ole;
      EXPECT_TRUE(ole.Started());
    }
    // Stopped again: the thread may choose its apartment anew.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
  }).join();
}

TEST(ShellFolders, ThePipetteCursorIsTheScreensCursorMinus50) {
  ASSERT_NE(vcl::Screen, nullptr);
  const HCURSOR pipette = vcl::Screen->Cursors(crPipette);
  EXPECT_NE(pipette, nullptr);
  EXPECT_NE(pipette, vcl::Screen->Cursors(vcl::crDefault));
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(pipette, &info));
  EXPECT_FALSE(info.fIcon);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
}

}  // namespace
}  // namespace skin_layered
