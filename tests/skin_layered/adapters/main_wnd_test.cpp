// The adapter root on a bare child window (through subclassing) and on a library edit
// (through its WindowProc): found by its property and the process's map, answering the skin command, and detaching
// cleanly under a hook or subclass installed after it.
#include <algorithm>
#include <vector>

#include "adapters_support.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

std::vector<UINT> g_messages;
std::vector<WPARAM> g_paint_dcs;

LRESULT CALLBACK ChildProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  g_messages.push_back(Msg);
  if (Msg == WM_PAINT) g_paint_dcs.push_back(WParam);
  return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

int Count(UINT Msg) { return static_cast<int>(std::count(g_messages.begin(), g_messages.end(), Msg)); }

WNDPROC g_raw_below = nullptr;
int g_raw_seen = 0;
LRESULT CALLBACK RawOnTop(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_USER + 7) ++g_raw_seen;
  return CallWindowProcW(g_raw_below, Wnd, Msg, WParam, LParam);
}

// A procedure that keeps a window's destruction from the procedures below it.
LRESULT CALLBACK Deaf(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_DESTROY || Msg == WM_NCDESTROY) return DefWindowProcW(Wnd, Msg, WParam, LParam);
  return CallWindowProcW(g_raw_below, Wnd, Msg, WParam, LParam);
}

// An adapter that never attaches: nothing lies below it.
class TUnattached : public TqvMainWnd {
 public:
  using TqvMainWnd::TqvMainWnd;

 protected:
  void Install() override {}
};

// An adapter that keeps the destruction messages from the common part: it stays attached
// while its window goes.
class TSwallowingDestroy : public TqvMainWnd {
 public:
  using TqvMainWnd::TqvMainWnd;
  void WndProc(vcl::TMessage& Message) override {
    if (Message.Msg == WM_DESTROY || Message.Msg == WM_NCDESTROY) {
      CallPrevWndProc(Message);
      return;
    }
    TqvMainWnd::WndProc(Message);
  }
};

// An adapter that keeps the control's own parameters while it skins it.
class TKeeping : public TqvMainWnd {
 public:
  using TqvMainWnd::TqvMainWnd;
  void SaveStdParams() override { ++saved; }
  void RestoreStdParams() override { ++restored; }
  static inline int saved = 0;
  static inline int restored = 0;
};

class MainWnd : public SkinnedTest {
 protected:
  void SetUp() override {
    LoadSkin();
    form->Show();
    g_messages.clear();
    g_paint_dcs.clear();
  }
  HWND BareChild(bool Visible = true) {
    return CreateWindowExW(0, wintest::TestWindowClass(L"AdapterTestChild", ChildProc), L"child",
                           WS_CHILD | (Visible ? WS_VISIBLE : 0), 5, 5, 80, 40, form->Handle(), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }
  vcl::TEdit* NewEdit() { return Put<vcl::TEdit>(form.get(), 10, 10, 120, 24); }
};

TEST_F(MainWnd, ABareChildIsFoundAnswersAndKeepsTwoMessagesFromItsWindow) {
  HWND child = BareChild();
  EXPECT_EQ(SendCommandToWnd(child, scmIsSkinned, 0), 0);
  auto adapter = CreateAdapter<TqvMainWnd>(child, nullptr, manager.get(), TqvSkinParams{nullptr, L"edit"});
  EXPECT_EQ(GetAdapter(child), adapter.get());
  EXPECT_EQ(GetPropW(child, kAdapterProperty), static_cast<HANDLE>(adapter.get()));  // published too
  EXPECT_EQ(adapter->SkinData->SkinSection(), L"EDIT");
  EXPECT_EQ(SendCommandToWnd(child, scmIsSkinned, 0), 1);
  EXPECT_EQ(SendCommandToWnd(child, scmGetSkinData, 0), reinterpret_cast<LRESULT>(adapter->SkinData));
  SetWindowTextW(child, L"renamed");
  EXPECT_EQ(adapter->Caption, L"renamed");

  g_messages.clear();
  SendMessageW(child, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  EXPECT_EQ(Count(WM_UPDATEUISTATE), 0);
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  EXPECT_EQ(Count(WM_PRINT), 0);
  EXPECT_EQ(g_paint_dcs, std::vector<WPARAM>{reinterpret_cast<WPARAM>(dc)});
  DeleteDC(dc);

  // The window goes: the adapter detaches, the class procedure still gets the message.
  g_messages.clear();
  DestroyWindow(child);
  EXPECT_TRUE(adapter->Destroyed());
  EXPECT_FALSE(adapter->Attached());
  EXPECT_EQ(Count(WM_DESTROY), 1);
  EXPECT_EQ(GetAdapter(child), nullptr);
}

TEST_F(MainWnd, AWindowThatGoesLeavesNoAdapterBehindWhateverTheAdapterDid) {
  // The adapter keeps the destruction to itself and stays attached: the window is gone all
  // the same, and so is its entry.
  HWND child = BareChild();
  auto swallowing = CreateAdapter<TSwallowingDestroy>(child, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"});
  ASSERT_EQ(GetAdapter(child), swallowing.get());
  DestroyWindow(child);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(swallowing->Destroyed());
  EXPECT_EQ(GetAdapter(child), nullptr);
  swallowing.reset();  // freeing it later touches nothing of the window
}

TEST_F(MainWnd, AWindowGoneUnseenByItsAdapterHasNoAdapter) {
  // A procedure set later keeps the destruction from everything below it, the adapter
  // included: the window's adapter is nil once the window is gone all the same.
  HWND child = BareChild();
  auto adapter = CreateAdapter<TqvMainWnd>(child, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"});
  g_raw_below = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Deaf)));
  ASSERT_EQ(GetAdapter(child), adapter.get());
  DestroyWindow(child);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(adapter->Destroyed());  // it never heard
  EXPECT_EQ(GetAdapter(child), nullptr);
  adapter.reset();
}

TEST_F(MainWnd, AnAdapterFreedBeforeItsWindowTakesItsEntryAndPropertyAlong) {
  HWND kept = BareChild();
  auto passing = CreateAdapter<TqvMainWnd>(kept, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"});
  passing.reset();
  EXPECT_EQ(GetAdapter(kept), nullptr);
  EXPECT_EQ(GetPropW(kept, kAdapterProperty), nullptr);
  DestroyWindow(kept);
}

TEST_F(MainWnd, ABareChildsAdapterLeavesWithoutCuttingOffALaterSubclass) {
  HWND child = BareChild();
  auto adapter = CreateAdapter<TqvMainWnd>(child, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"});
  g_raw_seen = 0;
  g_raw_below = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawOnTop)));
  UninstallAdapter(adapter, true, false);
  EXPECT_EQ(GetAdapter(child), nullptr);
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RawOnTop));
  g_messages.clear();
  SendMessageW(child, WM_USER + 7, 0, 0);
  EXPECT_EQ(g_raw_seen, 1);
  EXPECT_EQ(Count(WM_USER + 7), 1);
  EXPECT_EQ(SendCommandToWnd(child, scmIsSkinned, 0), 0);  // nothing of the adapter answers
  SendMessageW(child, WM_UPDATEUISTATE, 0, 0);
  EXPECT_EQ(Count(WM_UPDATEUISTATE), 1);
  SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_raw_below));
}

TEST_F(MainWnd, AnEditOfTheLibraryIsHookedAndLeavesALaterHookInPlace) {
  auto* edit = NewEdit();
  const vcl::TControlStyle before = edit->ControlStyle();
  auto adapter = CreateAdapter<TqvMainWnd>(edit->Handle(), nullptr, manager.get(), TqvSkinParams{edit, L"EDIT"});
  EXPECT_EQ(adapter->OwnerControl(), edit);
  EXPECT_TRUE(edit->ControlStyle().Contains(vcl::csOpaque));
  EXPECT_EQ(edit->Perform(kSkinCmdMessage, SkinCommandWParam(scmIsSkinned), 0), 1);

  struct Later {
    vcl::TWindowProcHook hook;
    int seen = 0;
    void Proc(vcl::TMessage& m) {
      if (m.Msg == WM_USER + 9) ++seen;
      hook.CallPrevious(m);
    }
  } later;
  later.hook.Install(edit, vcl::TWndMethod::Bind<&Later::Proc>(&later));
  adapter.reset();
  EXPECT_EQ(GetAdapter(edit->Handle()), nullptr);
  EXPECT_TRUE(later.hook.OnTop());
  SendMessageW(edit->Handle(), WM_USER + 9, 0, 0);
  EXPECT_EQ(later.seen, 1);
  EXPECT_EQ(SendCommandToWnd(edit->Handle(), scmIsSkinned, 0), 0);
  EXPECT_EQ(edit->ControlStyle(), before);
  edit->SetText(L"typed");  // the edit still works below the later hook
  EXPECT_EQ(edit->Text(), L"typed");
}

TEST_F(MainWnd, TheControlsOwnParametersComeBackOnceAndAnEmptyControlStyleEmpty) {
  auto* edit = NewEdit();
  TKeeping::saved = TKeeping::restored = 0;
  auto keeping = CreateAdapter<TKeeping>(edit->Handle(), nullptr, manager.get(), TqvSkinParams{edit, L"EDIT"});
  EXPECT_EQ(TKeeping::saved, 1);
  keeping.reset();
  EXPECT_EQ(TKeeping::restored, 1);
  // Detached first: freeing restores nothing twice.
  keeping = CreateAdapter<TKeeping>(edit->Handle(), nullptr, manager.get(), TqvSkinParams{edit, L"EDIT"});
  UninstallAdapter(keeping, true, false);
  EXPECT_EQ(TKeeping::restored, 2);

  edit->SetControlStyle({});
  auto adapter = CreateAdapter<TqvMainWnd>(edit->Handle(), nullptr, manager.get(), TqvSkinParams{edit, L"EDIT"});
  EXPECT_EQ(edit->ControlStyle(), vcl::TControlStyle{vcl::csOpaque});
  adapter.reset();
  EXPECT_EQ(edit->ControlStyle(), vcl::TControlStyle{});
}

TEST_F(MainWnd, WithNothingBelowWmDestroyIsAnsweredByTheSystemNotSentAgain) {
  HWND child = BareChild();
  auto unattached = CreateAdapter<TUnattached>(child, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"});
  g_messages.clear();
  vcl::TMessage destroy{WM_DESTROY, 0, 0, 0};
  unattached->WndProc(destroy);
  EXPECT_EQ(destroy.Result, 0);
  EXPECT_EQ(Count(WM_DESTROY), 0);  // the window was not sent its message again

  // Attached to an edit: it detaches and answers 1.
  auto* edit = NewEdit();
  auto adapter = CreateAdapter<TqvMainWnd>(edit->Handle(), nullptr, manager.get(), TqvSkinParams{edit, L"EDIT"});
  destroy.Result = 0;
  adapter->WndProc(destroy);
  EXPECT_EQ(destroy.Result, 1);
  EXPECT_TRUE(adapter->Destroyed());
  EXPECT_EQ(GetAdapter(edit->Handle()), nullptr);
  EXPECT_EQ(SendCommandToWnd(edit->Handle(), scmIsSkinned, 0), 0);
  vcl::TObject::Free(edit);  // with its window, the adapter long gone from it
}

TEST_F(MainWnd, SectionsRefreshesAndAnInactiveManager) {
  HWND child = BareChild(false);
  auto adapter = CreateAdapter<TqvMainWnd>(child, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"});
  EXPECT_EQ(SendCommandToWnd(child, scmSetSection, 0), 0);
  TqvSectionInfo info{-1, L"scrollbtnleft"};
  EXPECT_EQ(SendCommandToWnd(child, scmSetSection, reinterpret_cast<LPARAM>(&info)), 1);
  EXPECT_EQ(adapter->SkinData->SkinSection(), L"SCROLLBTNLEFT");
  const int index = manager->GetSkinIndex(L"SCROLLBTNLEFT");
  EXPECT_EQ(adapter->SkinData->SkinIndex, index);

  // Hidden: the refresh re-resolves (never leaving the updating flag set) but sends nothing.
  adapter->SkinData->SkinIndex = -1;
  adapter->SkinData->Updating = true;
  g_messages.clear();
  SendMessageW(child, kSkinCmdMessage, SkinCommandWParam(scmRefresh), reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_EQ(adapter->SkinData->SkinIndex, index);
  EXPECT_FALSE(adapter->SkinData->Updating);
  EXPECT_EQ(Count(WM_PAINT), 0);
  EXPECT_EQ(Count(kSkinCmdMessage), 0);  // not passed on either
  ShowWindow(child, SW_SHOWNA);
  g_messages.clear();
  SendMessageW(child, kSkinCmdMessage, SkinCommandWParam(scmRefresh), reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_EQ(Count(WM_PAINT), 1);
  // Another manager's refresh changes nothing.
  adapter->SkinData->Updating = true;
  SendMessageW(child, kSkinCmdMessage, SkinCommandWParam(scmRefresh), 12345);
  EXPECT_TRUE(adapter->SkinData->Updating);

  // A manager switched off: the command goes to the window, which does not know it.
  manager->SetActive(false);
  EXPECT_EQ(SendCommandToWnd(child, scmIsSkinned, 0), 0);
  manager->SetActive(true);
  EXPECT_EQ(SendCommandToWnd(child, scmIsSkinned, 0), 1);
}

}  // namespace
}  // namespace skin_layered::test
