#include "gallery/GalleryShot.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "classlib/forms/Forms.h"
#include "gallery/GalleryWindows.h"
#include "skin_classic/core/SkinManage.h"

namespace gallery {
namespace {

constexpr UINT kTick = 150;           // milliseconds between looks
constexpr ULONGLONG kSettle = 1200;   // the skin manager's requests wait 250 ms; painting follows
constexpr ULONGLONG kStepSettle = 600;  // after a step, which painted what it changed
constexpr int kQuietTicks = 4;        // looks in a row with nothing queued
constexpr ULONGLONG kSkinWait = 8000; // longest wait for every window to be skinned
constexpr ULONGLONG kIdleWait = 10000; // longest wait for a look with nothing queued
constexpr ULONGLONG kGrabWait = 20000;

struct ShotState {
  std::wstring file;
  std::wstring windowList;
  std::string listed;  // the list written for the picture being taken
  std::wstring firstFile, firstList;  // the first picture's, the others' named after them
  int picture = 1;
  bool stepping = false;  // a step between pictures is running
  std::vector<std::function<void()>> steps;  // run after pictures 1, 2, ...
  ULONGLONG started = 0;
  int quiet = 0;
  ULONGLONG grabbing = 0;  // when the grab was started; 0 before
  UINT_PTR timer = 0;
  bool written = false;
};
ShotState g_shot;
bool g_failed = false;

std::vector<HWND> VisibleWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM list) -> BOOL {
        RECT r{};
        if (IsWindowVisible(w) && GetWindowRect(w, &r) && r.right > r.left && r.bottom > r.top)
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::wstring ClassOf(HWND w) {
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  return name;
}

// The shown windows the skin manager takes that are not yet skinned and set up (none when no
// skin is active).
std::vector<HWND> Unskinned(const std::vector<HWND>& windows) {
  std::vector<HWND> waiting;
  winskin::TSkinManage* manager = winskin::SkinManager();
  if (!manager || !manager->Active()) return waiting;
  for (HWND w : windows) {
    if (ClassOf(w) == L"#32768" || ClassOf(w) == L"tooltips_class32") continue;
    winskin::TWinSkinFormBase* form = manager->FindForm(w);
    if (!form || form->State != winskin::TSkinFormState::Ready) waiting.push_back(w);
  }
  return waiting;
}

// Each window by its class and title, for a report.
std::wstring Named(const std::vector<HWND>& windows) {
  std::wstring names;
  for (HWND w : windows) {
    wchar_t title[128] = {};
    GetWindowTextW(w, title, 128);
    names += (names.empty() ? L"" : L", ") + ClassOf(w) + L" \"" + title + L"\"";
  }
  return names;
}

RECT Union(const std::vector<HWND>& windows) {
  RECT all{};
  for (HWND w : windows) {
    RECT r{};
    GetWindowRect(w, &r);
    UnionRect(&all, &all, &r);
  }
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  IntersectRect(&all, &all, &screen);
  return all;
}

// The Unix path of a Windows path (the grab is a Unix program), in the Unix file system's
// UTF-8; empty outside Wine.
std::string UnixPath(const std::wstring& path) {
  using Convert = char*(CDECL*)(LPCWSTR);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* unix = convert(path.c_str());
  if (!unix) return {};
  std::string out(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}

// `import` writes a part file that is renamed when whole, so the file appears complete.
bool StartGrab(const RECT& r, const std::wstring& file) {
  const std::string target = UnixPath(file);
  if (target.empty() || target.find('\'') != std::string::npos) return false;
  const std::string part = target + ".part";
  const std::string command = "/bin/sh -c \"import -silent -window root -crop " + std::to_string(r.right - r.left) +
                              "x" + std::to_string(r.bottom - r.top) + "+" + std::to_string(r.left) + "+" +
                              std::to_string(r.top) + " +repage 'png:" + part + "' && mv '" + part + "' '" + target +
                              "'\"";
  // Wide text again for the process (a path may hold any characters: never byte by byte).
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, command.data(),
                                         static_cast<int>(command.size()), nullptr, 0);
  if (length <= 0) return false;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, command.data(), static_cast<int>(command.size()), wide.data(), length);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  return true;
}

void Finish(const wchar_t* outcome, bool failed) {
  g_failed = g_failed || failed;
  g_shot.written = !failed;
  Say(outcome);
  KillTimer(nullptr, g_shot.timer);
  g_shot.timer = 0;
  // Out of any menu loop; modal dialogs and message boxes end with the quit message.
  EndMenu();
  if (vcl::Application)
    vcl::Application->Terminate();
  else
    PostQuitMessage(0);
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_shot.stepping) return;
  const ULONGLONG now = GetTickCount64();
  std::error_code ec;
  if (g_shot.grabbing) {
    if (std::filesystem::exists(g_shot.file, ec)) {
      // The picture is judged by the list: a window that changed while it was taken (an
      // activation or a focus the display gave late) makes them disagree, so the picture is
      // taken again once all is quiet.
      if (!g_shot.windowList.empty() && WindowListText(VisibleWindows()) != g_shot.listed) {
        if (now - g_shot.started < kIdleWait) {
          std::filesystem::remove(g_shot.file, ec);
          g_shot.grabbing = 0;
          g_shot.quiet = 0;
          return;
        }
        Say(L"the windows kept changing while their picture was taken; the last one is kept");
      }
      if (static_cast<std::size_t>(g_shot.picture) > g_shot.steps.size()) return Finish(L"screenshot written", false);
      // The next picture once its step has run, the waits starting when it ends: a step that
      // lets messages through (a focus moved, a skin switched) brings these ticks inside it, and
      // a picture taken then would show the step half done.
      const std::function<void()> step = g_shot.steps[static_cast<std::size_t>(g_shot.picture - 1)];
      ++g_shot.picture;
      g_shot.file = ShotPath(g_shot.firstFile, g_shot.picture);
      if (!g_shot.windowList.empty()) g_shot.windowList = ShotPath(g_shot.firstList, g_shot.picture);
      g_shot.grabbing = 0;
      g_shot.quiet = 0;
      g_shot.stepping = true;
      step();
      g_shot.stepping = false;
      g_shot.started = GetTickCount64();
      return;
    }
    if (now - g_shot.grabbing > kGrabWait) return Finish(L"the screen grab did not finish", true);
    return;
  }
  g_shot.quiet = GetQueueStatus(QS_ALLINPUT) == 0 ? g_shot.quiet + 1 : 0;
  if (now - g_shot.started < (g_shot.picture == 1 ? kSettle : kStepSettle)) return;
  // Each wait gives up at its bound and says so; the picture is then taken as things are.
  if (g_shot.quiet < kQuietTicks) {
    if (now - g_shot.started < kIdleWait) return;
    Say(L"the program was not idle within " + std::to_wstring(kIdleWait / 1000) + L" s; the picture is taken busy");
  }
  const std::vector<HWND> windows = VisibleWindows();
  if (const std::vector<HWND> waiting = Unskinned(windows); !waiting.empty()) {
    if (now - g_shot.started < kSkinWait) return;
    Say(L"not every window was skinned within " + std::to_wstring(kSkinWait / 1000) + L" s (" + Named(waiting) +
        L"); the picture is taken as they are");
  }
  if (windows.empty()) return Finish(L"no window to take", true);
  std::filesystem::remove(g_shot.file, ec);
  if (!g_shot.windowList.empty()) {
    g_shot.listed = WindowListText(windows);
    if (!WriteWindowList(g_shot.listed, g_shot.windowList)) return Finish(L"the list of windows could not be written", true);
  }
  if (!StartGrab(Union(windows), g_shot.file)) return Finish(L"the screen grab could not be started", true);
  g_shot.grabbing = now;
}

}  // namespace

void NoteFailure() { g_failed = true; }

void AddShotStep(std::function<void()> Step) { g_shot.steps.push_back(std::move(Step)); }

bool TakingShots() { return g_shot.timer != 0; }

std::wstring ShotPath(const std::wstring& First, int N) {
  if (N <= 1) return First;
  const std::filesystem::path path(First);
  return (path.parent_path() / (path.stem().wstring() + L"-" + std::to_wstring(N) + path.extension().wstring())).wstring();
}

void Say(std::wstring_view Line) {
  const std::wstring text = L"skingallery: " + std::wstring(Line) + L"\n";
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(std::max(size, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
  std::fflush(stderr);
}

ShownMessages::ShownMessages() {
  previous_ = vcl::SetMessageBoxFunction([this](HWND Owner, const vcl::String& Text, const vcl::String& Caption,
                                                UINT Flags) {
    texts_.push_back(Text);
    return previous_ ? previous_(Owner, Text, Caption, Flags) : MessageBoxW(Owner, Text.c_str(), Caption.c_str(), Flags);
  });
}

ShownMessages::~ShownMessages() { vcl::SetMessageBoxFunction(std::move(previous_)); }

void ShownMessages::Failed() const {
  NoteFailure();
  // A message box breaks its lines with carriage returns too.
  for (std::wstring text : texts_) {
    for (wchar_t& c : text)
      if (c == L'\r' || c == L'\n') c = L' ';
    Say(text);
  }
}

int ExitCode() {
  const bool unfinished = !g_shot.file.empty() && !g_shot.written;  // the program ended before its picture
  return g_failed || unfinished ? 1 : 0;
}

void StartScreenshot(const std::wstring& File, const std::wstring& WindowList) {
  g_shot = {};
  g_shot.file = g_shot.firstFile = File;
  g_shot.windowList = g_shot.firstList = WindowList;
  if (!WindowList.empty()) WatchWindowCreation();
  g_shot.started = GetTickCount64();
  // A thread timer: its ticks also arrive inside modal loops (dialogs, message boxes, menus).
  g_shot.timer = SetTimer(nullptr, 0, kTick, &Tick);
}

}  // namespace gallery
