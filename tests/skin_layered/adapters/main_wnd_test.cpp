// The adapter root on a bare Win32 child window (through window subclassing) and on an edit
// of the class library (through its WindowProc): found by its property, answering the skin
// command message, keeping WM_UPDATEUISTATE and WM_PRINT from the window, and detaching
// cleanly under a hook or subclass installed after it.
#include <gtest/gtest.h>

#include <windows.h>
#undef RegisterClass

#include <vector>

#include "adapters_support.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/adapters/MainWnd.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

std::vector<UINT>& ChildMessages() {
  static std::vector<UINT> messages;
  return messages;
}
std::vector<WPARAM>& PaintDCs() {
  static std::vector<WPARAM> dcs;
  return dcs;
}

LRESULT CALLBACK ChildProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  ChildMessages().push_back(Msg);
  if (Msg == WM_PAINT) PaintDCs().push_back(WParam);
  return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

HWND BareChild(HWND Parent, bool Visible = true) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ChildProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"AdapterTestChild";
    return RegisterClassExW(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExW(0, L"AdapterTestChild", L"child", WS_CHILD | (Visible ? WS_VISIBLE : 0), 5, 5, 80, 40,
                         Parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

int Count(UINT Msg) {
  int n = 0;
  for (UINT m : ChildMessages()) n += m == Msg;
  return n;
}

WNDPROC g_raw_below = nullptr;
int g_raw_seen = 0;
LRESULT CALLBACK RawOnTop(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_USER + 7) ++g_raw_seen;
  return CallWindowProcW(g_raw_below, Wnd, Msg, WParam, LParam);
}

// An adapter that never attaches: nothing lies below it.
class TUnattached : public TqvMainWnd {
 public:
  using TqvMainWnd::TqvMainWnd;

 protected:
  void Install() override {}
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
    ChildMessages().clear();
    PaintDCs().clear();
  }
  void TearDown() override {
    form.reset();
    manager.reset();
  }
  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> form = ShownForm();
};

TEST_F(MainWnd, ABareChildIsFoundAnswersAndKeepsTwoMessagesFromItsWindow) {
  HWND child = BareChild(form->Handle());
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(SendCommandToWnd(child, scmIsSkinned, 0), 0);
  auto adapter = CreateAdapter<TqvMainWnd>(child, nullptr, manager.get(), TqvSkinParams{nullptr, L"edit"});
  EXPECT_EQ(GetAdapter(child), adapter.get());
  EXPECT_TRUE(adapter->Attached());
  EXPECT_TRUE(adapter->OwnsSkinData);
  EXPECT_EQ(adapter->SkinData->SkinSection(), L"EDIT");
  EXPECT_EQ(adapter->Caption, L"child");
  EXPECT_EQ(SendCommandToWnd(child, scmIsSkinned, 0), 1);
  EXPECT_TRUE(GetBoolCommand(child, scmIsSkinned));
  EXPECT_EQ(SendCommandToWnd(child, scmGetSkinData, 0), reinterpret_cast<LRESULT>(adapter->SkinData));
  SetWindowTextW(child, L"renamed");
  EXPECT_EQ(adapter->Caption, L"renamed");

  ChildMessages().clear();
  SendMessageW(child, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  EXPECT_EQ(Count(WM_UPDATEUISTATE), 0);
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  EXPECT_EQ(Count(WM_PRINT), 0);
  ASSERT_EQ(PaintDCs().size(), 1u);
  EXPECT_EQ(PaintDCs()[0], reinterpret_cast<WPARAM>(dc));
  DeleteDC(dc);

  // The window goes: the adapter detaches, the class procedure still gets the message.
  ChildMessages().clear();
  DestroyWindow(child);
  EXPECT_TRUE(adapter->Destroyed);
  EXPECT_FALSE(adapter->Attached());
  EXPECT_EQ(Count(WM_DESTROY), 1);
}

TEST_F(MainWnd, ABareChildsAdapterLeavesWithoutCuttingOffALaterSubclass) {
  HWND child = BareChild(form->Handle());
  auto adapter = CreateAdapter<TqvMainWnd>(child, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"});
  g_raw_seen = 0;
  g_raw_below = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawOnTop)));
  SendMessageW(child, WM_USER + 7, 0, 0);
  EXPECT_EQ(g_raw_seen, 1);
  UninstallAdapter(adapter, true, false);
  EXPECT_EQ(adapter, nullptr);
  EXPECT_EQ(GetAdapter(child), nullptr);
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RawOnTop));
  ChildMessages().clear();
  SendMessageW(child, WM_USER + 7, 0, 0);
  EXPECT_EQ(g_raw_seen, 2);
  EXPECT_EQ(Count(WM_USER + 7), 1);
  EXPECT_EQ(SendCommandToWnd(child, scmIsSkinned, 0), 0);  // nothing of the adapter answers
  SendMessageW(child, WM_UPDATEUISTATE, 0, 0);
  EXPECT_EQ(Count(WM_UPDATEUISTATE), 1);
  SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_raw_below));
  EXPECT_TRUE(DestroyWindow(child));
}

TEST_F(MainWnd, AnEditOfTheLibraryIsHookedAndLeavesALaterHookInPlace) {
  auto* edit = new vcl::TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 120, 24);
  const vcl::TControlStyle before = edit->ControlStyle();
  auto adapter = CreateAdapter<TqvMainWnd>(edit->Handle(), nullptr, manager.get(), TqvSkinParams{edit, L"EDIT"});
  EXPECT_EQ(GetAdapter(edit->Handle()), adapter.get());
  EXPECT_EQ(adapter->OwnerControl(), edit);
  EXPECT_EQ(adapter->SkinData->OwnerControl(), edit);
  EXPECT_TRUE(edit->ControlStyle().Contains(vcl::csOpaque));
  // Through the window and straight to the control's WindowProc alike.
  EXPECT_EQ(SendCommandToWnd(edit->Handle(), scmIsSkinned, 0), 1);
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
  // The edit still works below the later hook.
  edit->SetText(L"typed");
  EXPECT_EQ(edit->Text(), L"typed");
  later.hook.Remove();
}

TEST_F(MainWnd, AnAdapterFreedGivesTheControlsOwnParametersBackThroughItsOverride) {
  auto* edit = new vcl::TEdit(form.get());
  edit->SetParent(form.get());
  TKeeping::saved = TKeeping::restored = 0;
  auto adapter = CreateAdapter<TKeeping>(edit->Handle(), nullptr, manager.get(), TqvSkinParams{edit, L"EDIT"});
  EXPECT_EQ(TKeeping::saved, 1);
  EXPECT_EQ(TKeeping::restored, 0);
  adapter.reset();
  EXPECT_EQ(TKeeping::restored, 1);
  // Detached first: freeing restores nothing twice.
  adapter = CreateAdapter<TKeeping>(edit->Handle(), nullptr, manager.get(), TqvSkinParams{edit, L"EDIT"});
  UninstallAdapter(adapter, true, false);
  EXPECT_EQ(TKeeping::restored, 2);
}

TEST_F(MainWnd, AControlStyleThatWasEmptyIsPutBackEmpty) {
  auto* edit = new vcl::TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetControlStyle({});
  auto adapter = CreateAdapter<TqvMainWnd>(edit->Handle(), nullptr, manager.get(), TqvSkinParams{edit, L"EDIT"});
  EXPECT_EQ(edit->ControlStyle(), vcl::TControlStyle{vcl::csOpaque});
  adapter.reset();
  EXPECT_EQ(edit->ControlStyle(), vcl::TControlStyle{});
}

TEST_F(MainWnd, DestroyingTheEditsWindowDetachesAndAnswersOne) {
  auto* edit = new vcl::TEdit(form.get());
  edit->SetParent(form.get());
  auto adapter = CreateAdapter<TqvMainWnd>(edit->Handle(), nullptr, manager.get(), TqvSkinParams{edit, L"EDIT"});
  vcl::TMessage destroy{WM_DESTROY, 0, 0, 0};
  adapter->WndProc(destroy);
  EXPECT_EQ(destroy.Result, 1);
  EXPECT_TRUE(adapter->Destroyed);
  EXPECT_EQ(GetAdapter(edit->Handle()), nullptr);
  EXPECT_EQ(SendCommandToWnd(edit->Handle(), scmIsSkinned, 0), 0);
  vcl::TObject::Free(edit);  // with its window, the adapter long gone from it
  adapter.reset();
}

TEST_F(MainWnd, WithNothingBelowWmDestroyIsAnsweredByTheSystemNotSentAgain) {
  HWND child = BareChild(form->Handle());
  auto adapter = CreateAdapter<TUnattached>(child, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"});
  EXPECT_FALSE(adapter->Attached());
  ChildMessages().clear();
  vcl::TMessage destroy{WM_DESTROY, 0, 0, 0};
  adapter->WndProc(destroy);
  EXPECT_EQ(destroy.Result, 0);
  EXPECT_EQ(Count(WM_DESTROY), 0);  // the window was not sent its message again
  adapter.reset();
  DestroyWindow(child);
}

TEST_F(MainWnd, SectionsRefreshesAndAnInactiveManager) {
  HWND child = BareChild(form->Handle(), false);
  auto adapter = CreateAdapter<TqvMainWnd>(child, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"});
  EXPECT_EQ(SendCommandToWnd(child, scmSetSection, 0), 0);
  EXPECT_EQ(adapter->SkinData->SkinSection(), L"EDIT");
  TqvSectionInfo info{-1, L"scrollbtnleft"};
  EXPECT_EQ(SendCommandToWnd(child, scmSetSection, reinterpret_cast<LPARAM>(&info)), 1);
  EXPECT_EQ(adapter->SkinData->SkinSection(), L"SCROLLBTNLEFT");
  EXPECT_EQ(adapter->SkinData->SkinIndex, manager->GetSkinIndex(L"SCROLLBTNLEFT"));

  // Hidden: the refresh re-resolves but sends the window nothing.
  adapter->SkinData->SkinIndex = -1;
  adapter->SkinData->Updating = true;
  ChildMessages().clear();
  SendMessageW(child, kSkinCmdMessage, SkinCommandWParam(scmRefresh), reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_EQ(adapter->SkinData->SkinIndex, manager->GetSkinIndex(L"SCROLLBTNLEFT"));
  EXPECT_FALSE(adapter->SkinData->Updating);
  EXPECT_EQ(Count(WM_PAINT), 0);
  EXPECT_EQ(Count(kSkinCmdMessage), 0);  // not passed on either
  ShowWindow(child, SW_SHOWNA);
  ChildMessages().clear();
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
  adapter.reset();
  DestroyWindow(child);
}

}  // namespace
}  // namespace skin_layered::test
