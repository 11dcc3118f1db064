// Start-up timing: creates each program's process in turn and times it from just before
// process creation to its first visible top-level window ("visible") and to the first time
// it waits for input ("input idle"), then closes it the way a user does. The programs run
// interleaved, round after round, and each figure is the median of the rounds.
//
//   startup_launcher ROUNDS NAME=PROGRAM [NAME=PROGRAM...]
//
// The first program is compared with the last (the yardstick).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Program {
  std::wstring name, path;
  std::vector<double> visible, idle;
};

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart * 1000.0 / frequency;
}

struct Search {
  DWORD pid;
  HWND found;
};

// A visible top-level window of the process, with a size.
HWND VisibleWindowOf(DWORD pid) {
  Search search{pid, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        RECT r{};
        if (owner == s->pid && IsWindowVisible(window) && GetWindowRect(window, &r) && r.right > r.left) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// One start: false when the program did not show a window within the time allowed.
bool TimeOnce(Program& program) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + program.path + L"\"";
  const double start = Now();
  if (!CreateProcessW(program.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", program.path.c_str(), GetLastError());
    return false;
  }
  HWND window = nullptr;
  double visible = 0;
  while (!window && Now() - start < 60000) {
    window = VisibleWindowOf(process.dwProcessId);
    if (window) visible = Now() - start;
    else Sleep(1);
  }
  double idle = 0;
  if (window) {
    WaitForInputIdle(process.hProcess, 60000);
    idle = Now() - start;
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!window) {
    std::fwprintf(stderr, L"%ls showed no window\n", program.name.c_str());
    return false;
  }
  program.visible.push_back(visible);
  program.idle.push_back(std::max(idle, visible));
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fputws(L"usage: startup_launcher ROUNDS NAME=PROGRAM NAME=PROGRAM...\n", stderr);
    return 2;
  }
  const int rounds = std::max(1, _wtoi(argv[1]));
  std::vector<Program> programs;
  for (int i = 2; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const auto eq = arg.find(L'=');
    if (eq == std::wstring::npos) return 2;
    programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), {}, {}});
  }
  // One start of each before timing: the system's own caches warm up alike for all.
  for (Program& p : programs) {
    if (!TimeOnce(p)) return 1;
    p.visible.clear();
    p.idle.clear();
  }
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t k = 0; k < programs.size(); ++k) {
      if (!TimeOnce(programs[(k + static_cast<std::size_t>(round)) % programs.size()])) return 1;
    }
  }
  std::wprintf(L"%-24ls %12ls %14ls\n", L"program", L"visible ms", L"input idle ms");
  for (const Program& p : programs)
    std::wprintf(L"%-24ls %12.1f %14.1f\n", p.name.c_str(), Median(p.visible), Median(p.idle));
  const Program& first = programs.front();
  const Program& yardstick = programs.back();
  const double ratio = Median(first.visible) / Median(yardstick.visible);
  std::wprintf(L"\n%ls to visible: %.2fx %ls (median of %d interleaved rounds; target at most 1.3x: %ls)\n",
               first.name.c_str(), ratio, yardstick.name.c_str(), rounds, ratio <= 1.3 ? L"met" : L"NOT MET");
  std::wprintf(L"%ls to input idle: %.2fx %ls\n", first.name.c_str(), Median(first.idle) / Median(yardstick.idle),
               yardstick.name.c_str());
  return 0;
}
