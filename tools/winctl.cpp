// winctl wait CLASS TIMEOUT_MS : exits 0 once a visible top-level window of CLASS exists
// winctl close CLASS          : sends the system close command to it, as the title bar's
//                               close button does
#include <windows.h>
#include <cwchar>
#include <string>

namespace {

HWND FindVisible(const wchar_t* cls) {
  HWND w = FindWindowW(cls, nullptr);
  return (w && IsWindowVisible(w)) ? w : nullptr;
}

int Wait(const wchar_t* cls, DWORD timeout) {
  const ULONGLONG end = GetTickCount64() + timeout;
  while (GetTickCount64() < end) {
    if (FindVisible(cls)) return 0;
    Sleep(100);
  }
  return 1;
}

int Close(const wchar_t* cls) {
  HWND w = FindWindowW(cls, nullptr);
  if (!w) return 1;
  PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 4 && std::wcscmp(argv[1], L"wait") == 0)
    return Wait(argv[2], static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)));
  if (argc >= 3 && std::wcscmp(argv[1], L"close") == 0) return Close(argv[2]);
  std::fputws(L"usage: winctl wait CLASS TIMEOUT_MS | winctl close CLASS\n", stderr);
  return 2;
}
