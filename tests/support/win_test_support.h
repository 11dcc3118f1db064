// Shared by every Windows test: the message pump, waits for a condition with a deadline
// (never a fixed sleep), files of a test's own in the temporary folder and the clipboard.
// The tests of one program run side by side as separate processes on one desktop, so a
// temporary name carries the process id and the clipboard is opened with patience.
#pragma once

#include <windows.h>
#undef RegisterClass  // winuser.h's macro would rename vcl::RegisterClass in VCL_CLASS_INFO

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace wintest {

using Deadline = std::chrono::milliseconds;
inline constexpr Deadline kDeadline{5000};

// Handles every message waiting for this thread.
inline void Pump() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline bool QueueEmpty() {
  MSG msg{};
  return !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

// Sleeps until a message arrives or a short slice passes (what is awaited may be another
// thread's or process's doing, which posts nothing here).
inline void AwaitWork(std::chrono::steady_clock::time_point End) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(End - std::chrono::steady_clock::now());
  const auto slice = std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, 10);
  MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(slice), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

// Handles messages until Done answers true, or the deadline passes (false then).
inline bool PumpUntil(const std::function<bool()>& Done, Deadline Within = kDeadline) {
  const auto end = std::chrono::steady_clock::now() + Within;
  for (;;) {
    Pump();
    if (Done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    AwaitWork(end);
  }
}

// Handles messages until Done answers true with nothing left waiting in the queue (what the
// windows posted themselves is done too), or the deadline passes (false then).
inline bool PumpUntilIdle(const std::function<bool()>& Done = [] { return true; }, Deadline Within = kDeadline) {
  return PumpUntil([&] { return Done() && QueueEmpty(); }, Within);
}

// The first shown top-level window of this thread that Match accepts (nil for none): test
// programs running side by side may show windows alike, which a search of the whole desktop
// could find first.
inline HWND FindThreadWindow(const std::function<bool(HWND)>& Match) {
  struct Search {
    const std::function<bool(HWND)>* match;
    HWND found;
  } search{&Match, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND Wnd, LPARAM Param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(Param);
        if (!IsWindowVisible(Wnd) || !(*s.match)(Wnd)) return TRUE;
        s.found = Wnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Whether this thread shows a top-level window of that title.
inline bool ThreadShowsWindow(const wchar_t* Title) {
  return FindThreadWindow([Title](HWND Wnd) {
           wchar_t text[256] = {};
           GetWindowTextW(Wnd, text, 256);
           return wcscmp(text, Title) == 0;
         }) != nullptr;
}

// A kernel handle closed when it goes (a null or invalid one is none).
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE Handle = nullptr) : handle_(Handle == INVALID_HANDLE_VALUE ? nullptr : Handle) {}
  ~UniqueHandle() {
    if (handle_) CloseHandle(handle_);
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

// The real pointer, the foreground and the top of the windows are one for all the test
// programs of a session, which run side by side: a test that moves the pointer, sends real
// input, puts a window above every other or takes the foreground holds this lock from before
// the first such step until it has let go of any drag or capture.
// Both sides are bounded. Waiting, the test still answers messages other programs send its
// windows (the holder may be waiting for that answer), and after kWaitBound it fails naming the
// holder. Holding, a watchdog ends the program after kHoldBound, saying which test held the
// lock: a test that long is stuck where its own deadlines cannot act (a modal loop of the system
// waiting for input that went elsewhere), and every program beside waits for it.
class PointerLock {
 public:
  static constexpr std::chrono::milliseconds kWaitBound{240'000};
  static constexpr std::chrono::milliseconds kHoldBound{120'000};

  explicit PointerLock(std::chrono::milliseconds WaitBound = kWaitBound, std::chrono::milliseconds HoldBound = kHoldBound)
      : mutex_(CreateMutexW(nullptr, FALSE, L"scrivane-tests-real-pointer")),
        shared_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Holder),
                                   L"scrivane-tests-real-pointer-holder")),
        holder_(shared_.Get() ? static_cast<Holder*>(MapViewOfFile(shared_.Get(), FILE_MAP_WRITE, 0, 0, sizeof(Holder)))
                              : nullptr),
        stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!mutex_.Get() || !stop_.Get()) throw std::runtime_error("the real pointer's lock could not be made");
    const auto end = std::chrono::steady_clock::now() + WaitBound;
    for (;;) {
      // Rounded up, and a wait the system ends short of the bound waits again: a waiter gives up
      // no sooner than its bound.
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      const HANDLE mutex = mutex_.Get();
      const DWORD got = MsgWaitForMultipleObjectsEx(1, &mutex, static_cast<DWORD>(std::max<long long>(left.count(), 0)),
                                                    QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
      if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED_0) break;  // an abandoned lock is taken over
      if (got == WAIT_OBJECT_0 + 1) {
        MSG msg{};
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // answers what was sent
        continue;
      }
      if (got == WAIT_TIMEOUT && std::chrono::steady_clock::now() < end) continue;
      throw std::runtime_error("the real pointer's lock was not free within " + std::to_string(WaitBound.count()) +
                               " ms: " + HolderText());
    }
    if (holder_) {
      holder_->process = GetCurrentProcessId();
      holder_->since = GetTickCount64();
      const std::string name = CurrentTestName();
      const size_t n = std::min(name.size(), sizeof holder_->test - 1);
      std::copy_n(name.data(), n, holder_->test);
      holder_->test[n] = '\0';
    }
    watchdog_ = std::thread([this, HoldBound, name = CurrentTestName()] {
      if (WaitForSingleObject(stop_.Get(), static_cast<DWORD>(HoldBound.count())) != WAIT_TIMEOUT) return;
      std::fprintf(stderr,
                   "\n%s has held the real pointer's lock for %lld ms: it is stuck (a modal loop of the system "
                   "waiting for input that went elsewhere?) and the test programs beside wait for it; "
                   "ending the program\n",
                   name.c_str(), static_cast<long long>(HoldBound.count()));
      std::fflush(stdout);
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    });
  }
  ~PointerLock() {
    SetEvent(stop_.Get());
    watchdog_.join();
    if (holder_) holder_->process = 0;
    ReleaseMutex(mutex_.Get());
  }
  PointerLock(const PointerLock&) = delete;
  PointerLock& operator=(const PointerLock&) = delete;

 private:
  struct Holder {
    DWORD process;
    ULONGLONG since;
    char test[200];
  };
  struct Unmap {
    void operator()(Holder* View) const { UnmapViewOfFile(View); }
  };

  static std::string CurrentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? std::string(info->test_suite_name()) + "." + info->name() : std::string("a test");
  }
  // Who holds the lock, as the holder wrote it.
  std::string HolderText() const {
    if (!holder_ || !holder_->process) return "held by a program that did not say";
    char text[320];
    std::snprintf(text, sizeof text, "held by process %lu (%.200s) for %llu s", static_cast<unsigned long>(holder_->process),
                  holder_->test, static_cast<unsigned long long>((GetTickCount64() - holder_->since) / 1000));
    return text;
  }

  UniqueHandle mutex_;
  UniqueHandle shared_;
  std::unique_ptr<Holder, Unmap> holder_;
  UniqueHandle stop_;
  std::thread watchdog_;
};

// Whether the system reports the pointer at a point.
inline bool PointerAt(int X, int Y) {
  POINT at{};
  return GetCursorPos(&at) && at.x == X && at.y == Y;
}

// Moves the real pointer (hold a PointerLock) and waits until it is there. Wine answers the
// position it was last told for 100 ms after a change, the X pointer's own after that: a move
// the X server refused (another program holds the pointer grabbed for a moment, as its menu or
// a window drag does) or an older move's event arriving late shows only then, and the move is
// made again.
inline bool MovePointer(int X, int Y, Deadline Within = kDeadline) {
  using Clock = std::chrono::steady_clock;
  constexpr std::chrono::milliseconds kTold{150};  // past Wine's 100 ms
  const auto end = Clock::now() + Within;
  for (;;) {
    // Wine moves the X pointer only when told another place than it was told last: told first
    // where the pointer is seen, a refused move is made again.
    POINT seen{};
    GetCursorPos(&seen);
    if (seen.x != X || seen.y != Y) SetCursorPos(seen.x, seen.y);
    if (!SetCursorPos(X, Y)) return false;
    const auto moved = Clock::now();
    bool away = false;
    PumpUntil([&] { return (away = !PointerAt(X, Y)) || Clock::now() - moved > kTold; },
              std::chrono::duration_cast<Deadline>(end - Clock::now()));
    if (!away && Clock::now() - moved > kTold) return true;
    if (Clock::now() > end) return false;
  }
}

// Waits until the point shows Wnd (WindowFromPoint answers it), raising Top, the top-level
// window Wnd is or lies in, above the others again meanwhile: a test program running beside
// may lay a window there for a while.
inline bool RaiseUntilShownAt(HWND Top, HWND Wnd, POINT At, Deadline Within = kDeadline) {
  return PumpUntil(
      [&] {
        if (WindowFromPoint(At) == Wnd) return true;
        SetWindowPos(Top, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return false;
      },
      Within);
}

// Waits until Top is the foreground window with the keyboard focus on Focus (a window in it),
// making Top the foreground window again and giving Focus the focus meanwhile: a test program
// running beside may take the foreground for a while (showing a window of its own), and a
// window left inactive has no focus at all. Hold a PointerLock.
inline bool ActiveWithFocusOn(HWND Top, HWND Focus, Deadline Within = kDeadline) {
  return PumpUntil(
      [&] {
        if (GetForegroundWindow() == Top && GetActiveWindow() == Top && GetFocus() == Focus) return true;
        if (GetForegroundWindow() != Top)
          SetForegroundWindow(Top);
        else if (GetFocus() != Focus)
          SetFocus(Focus);
        return false;
      },
      Within);
}

// A name in the temporary folder no other test process uses: Stem, the process id and a count.
inline std::wstring UniqueTempPath(std::wstring_view Stem) {
  static std::atomic<int> counter{0};
  wchar_t base[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, base);
  return std::wstring(base) + std::wstring(Stem) + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
         std::to_wstring(counter++);
}

inline void WriteBytes(const std::filesystem::path& File, std::string_view Bytes) {
  std::ofstream out(File, std::ios::binary);
  out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
}

inline void WriteBytes(const std::filesystem::path& File, std::span<const std::uint8_t> Bytes) {
  WriteBytes(File, std::string_view(reinterpret_cast<const char*>(Bytes.data()), Bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& File) {
  std::ifstream in(File, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder of the test's own, removed with everything in it.
class TempDir {
 public:
  explicit TempDir(std::wstring_view Stem = L"scrivane_test") : path_(UniqueTempPath(Stem)) {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Without a trailing backslash.
  const std::wstring& Path() const { return path_; }
  std::wstring File(std::wstring_view Name) const { return path_ + L"\\" + std::wstring(Name); }

 private:
  std::wstring path_;
};

// A file of the test's own (Name ends its name), deleted with the object.
class TempFile {
 public:
  explicit TempFile(std::wstring_view Name) : path_(UniqueTempPath(L"scrivane") + L"_" + std::wstring(Name)) {}
  ~TempFile() { DeleteFileW(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::wstring& Path() const { return path_; }
  void Write(const std::vector<std::uint8_t>& Bytes) const {
    WriteBytes(path_, Bytes);
    ASSERT_EQ(ReadBytes(path_).size(), Bytes.size());
  }

 private:
  std::wstring path_;
};

// The clipboard is the session's: another process may hold it a moment.
class ClipboardOpen {
 public:
  ClipboardOpen() {
    const auto end = std::chrono::steady_clock::now() + kDeadline;
    while (!(open_ = OpenClipboard(nullptr) != FALSE) && std::chrono::steady_clock::now() < end) AwaitWork(end);
    EXPECT_TRUE(open_) << "the clipboard stayed taken";
  }
  ~ClipboardOpen() {
    if (open_) CloseClipboard();
  }
  ClipboardOpen(const ClipboardOpen&) = delete;
  ClipboardOpen& operator=(const ClipboardOpen&) = delete;

 private:
  bool open_ = false;
};

// The text on the clipboard (empty when there is none).
inline std::wstring ClipboardText() {
  ClipboardOpen open;
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  return text;
}

inline void ClearClipboard() {
  ClipboardOpen open;
  EmptyClipboard();
}

// A window class of a test's own for raw windows, registered on first use; answers its name.
inline const wchar_t* TestWindowClass(const wchar_t* Name, WNDPROC Proc, UINT Style = 0) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), Name, &wc)) return Name;
  wc.style = Style;
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = Name;
  EXPECT_NE(RegisterClassExW(&wc), 0) << "window class registration failed";
  return Name;
}

// Gives this thread the foreground before a test shows a window that must look active (answers
// whether it did): a window of its own is shown, made the foreground one and closed, and the
// windows the thread activates next are the foreground's. Wine activates the first window a
// program shows before the program has the foreground, tells it it is inactive (WM_NCACTIVATE
// with FALSE) and says nothing when the foreground follows it: that window, though active and
// in front, looks inactive (also unskinned) until it is activated again. A program running
// beside others holds a PointerLock meanwhile.
inline bool TakeForeground(Deadline Within = kDeadline) {
  const HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, TestWindowClass(L"wintest-foreground", DefWindowProcW), L"",
                                   WS_POPUP | WS_VISIBLE, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!wnd) return false;
  SetForegroundWindow(wnd);
  const bool taken = PumpUntil([wnd] { return GetForegroundWindow() == wnd && GetActiveWindow() == wnd; }, Within);
  DestroyWindow(wnd);
  // With no other window of the thread to activate, the foreground stays the thread's, with no
  // window.
  return taken && PumpUntil([] {
           const HWND front = GetForegroundWindow();
           return !front || GetWindowThreadProcessId(front, nullptr) == GetCurrentThreadId();
         }, Within);
}

// Counts, while it lives, how often the thread's windows are sent the message Msg (each
// instance starts from 0; one of a kind at a time).
template <UINT Msg>
class SentMessages {
 public:
  SentMessages() : hook_(SetWindowsHookExW(WH_CALLWNDPROC, &Proc, nullptr, GetCurrentThreadId())) { count_ = 0; }
  ~SentMessages() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  SentMessages(const SentMessages&) = delete;
  SentMessages& operator=(const SentMessages&) = delete;
  bool Hooked() const { return hook_ != nullptr; }
  int Count() const { return count_; }

 private:
  static LRESULT CALLBACK Proc(int Code, WPARAM WParam, LPARAM LParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(LParam);
    if (Code == HC_ACTION && call->message == Msg) ++count_;
    return CallNextHookEx(nullptr, Code, WParam, LParam);
  }
  static inline int count_ = 0;
  HHOOK hook_;
};

// How often the foreground went from this program to another or came back (each of the
// thread's top-level windows is told by WM_ACTIVATEAPP).
using ForegroundChanges = SentMessages<WM_ACTIVATEAPP>;

}  // namespace wintest
