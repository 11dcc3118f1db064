// The pipeline is real: windows are created by Wine's user32 on the test display, messages
// reach them, and a thread CBT hook sees the creations.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring>* g_created = nullptr;

LRESULT CALLBACK RecordCreations(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND && g_created) {
    wchar_t cls[64] = {};
    GetClassNameW(reinterpret_cast<HWND>(wp), cls, 64);
    g_created->push_back(cls);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

struct HookGuard {
  HHOOK hook;
  ~HookGuard() { UnhookWindowsHookEx(hook); }
};

struct WindowGuard {
  HWND wnd;
  ~WindowGuard() { if (wnd) DestroyWindow(wnd); }
};

TEST(PlatformWindow, ButtonAnswersMessagesAndHookSeesCreations) {
  std::vector<std::wstring> created;
  g_created = &created;
  HookGuard hook{SetWindowsHookExW(WH_CBT, RecordCreations, nullptr, GetCurrentThreadId())};
  ASSERT_NE(hook.hook, nullptr);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PipelineTestFrame";
  RegisterClassExW(&wc);

  WindowGuard frame{CreateWindowExW(0, L"PipelineTestFrame", L"pipeline", WS_OVERLAPPEDWINDOW,
                                    10, 10, 300, 200, nullptr, nullptr, wc.hInstance, nullptr)};
  ASSERT_NE(frame.wnd, nullptr);
  HWND button = CreateWindowExW(0, L"BUTTON", L"检查", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                                10, 10, 120, 24, frame.wnd, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(button, nullptr);
  ShowWindow(frame.wnd, SW_SHOW);

  SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_CHECKED);

  wchar_t text[16] = {};
  GetWindowTextW(button, text, 16);
  EXPECT_STREQ(text, L"检查");

  g_created = nullptr;
  // The system may add windows of its own (an IME window): look for ours, in order.
  auto frame_at = std::find(created.begin(), created.end(), L"PipelineTestFrame");
  ASSERT_NE(frame_at, created.end());
  EXPECT_NE(std::find(frame_at, created.end(), L"Button"), created.end());
}

TEST(PlatformWindow, RunsWithChineseCodePage) {
  EXPECT_EQ(GetACP(), 936u);
}

}  // namespace
