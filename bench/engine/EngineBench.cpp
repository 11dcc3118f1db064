// The engines' benchmark: the gallery's controls page unskinned, under the sample classic
// skin and under the sample layered skin, each in a process of its own (the layered engine's
// window-creation hook adopts every window of its process), round after round interleaved.
//
//   enginebench [ROUNDS]           runs the rounds and prints the table
//   enginebench --engine NAME      one round of one engine (unskinned, classic, layered):
//                                  prints its figures as "key value" lines
//
// Every figure counts the time the program is busy, from the first call to the page painted
// again with nothing left in its message queue. The time spent asleep waiting for a message
// is left out: the classic engine carries out a skin request on its timer, a wait that is
// part of its design, not of its work. Its timer is set to 1 ms here, so that the rows of the
// time passed (waits included) show any other wait. With the queue empty the loop lets go of
// what the application's loop lets go of when idle.
//
// The counts are the class library's own live counts (what its wrappers hold; under Wine the
// system's own answer is 0), the system's table of the process's GDI handles (every DC and
// GDI object, whoever made it; its DCs include the window DCs Wine keeps in a cache, which
// grows when more are taken at once and is reused) and the process's private memory.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/engine/GdiHandleTable.h"
#include "classlib/forms/Forms.h"
#include "classlib/rtl/LiveCounts.h"
#include "classlib/rtl/UnitInit.h"
#include "gallery/GalleryForms.h"
#include "gallery/GallerySkin.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/SkinManager.h"

namespace {

constexpr int kRepaints = 10;      // full repaints a round; their median counts
constexpr int kResizeSteps = 50;   // SetWindowPos steps: 25 growing, 25 shrinking back
constexpr int kResizeStep = 6;     // pixels a step, in width and height
constexpr int kSwitches = 6;       // to the variant and back, three times; their median counts
constexpr double kDeadlineMs = 60000;

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

// The milliseconds of CPU the process has used, in user and kernel mode.
double ProcessCpu() {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

int64_t PrivateMemory() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof counters))
    return 0;
  // Wine leaves the private bytes out; the commit charge is there.
  return static_cast<int64_t>(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
}

// Dispatches messages until Done holds with the queue empty; the milliseconds spent busy
// (waiting for a message left out). With the queue empty it lets go of the DCs the library
// keeps for the next message, as the application's loop does when idle.
double BusyUntil(const std::function<bool()>& Done) {
  const double start = Now();
  double asleep = 0;
  MSG msg{};
  while (Now() - start < kDeadlineMs) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      continue;
    }
    vcl::FreeDeviceContexts();
    vcl::FreeMemoryContexts();
    if (Done()) break;
    const double before = Now();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    asleep += Now() - before;
  }
  return Now() - start - asleep;
}

// The milliseconds busy, and those that passed (waits included), from Work to Done.
struct Times {
  double busy, wall;
};

Times TimeWhile(const std::function<void()>& Work, const std::function<bool()>& Done) {
  const double start = Now();
  Work();
  const double call = Now() - start;
  const double busy = call + BusyUntil(Done);
  return {busy, Now() - start};
}

double BusyWhile(const std::function<void()>& Work, const std::function<bool()>& Done = [] { return true; }) {
  return TimeWhile(Work, Done).busy;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

int WindowCount(HWND Form) {
  int count = 1;
  EnumChildWindows(
      Form, [](HWND, LPARAM n) -> BOOL { return ++*reinterpret_cast<int*>(n), TRUE; },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

// ---------------------------------------------------------------------------------------
// One engine's round

// The live counts of the library's wrappers, and the system's own count of the process's DCs
// and GDI objects (whoever made them).
struct Counts {
  int64_t gdi, dcs, memory, system_dcs, system_gdi;
  static Counts Now() {
    const auto system = bench::CountGdiHandles().value_or(bench::GdiHandleCounts{-1, -1});
    return {vcl::LiveCount(vcl::TLiveKind::GdiObjects), vcl::LiveCount(vcl::TLiveKind::DeviceContexts),
            PrivateMemory(), system.dcs, system.objects};
  }
};

// What an engine does to the live page: load its sample skin, switch to the variant and back.
class Engine {
 public:
  virtual ~Engine() = default;
  // Before the page is shown (the engine's components, inactive).
  virtual void Prepare(vcl::TForm* Page) = 0;
  // The sample skin; Variant the other one. Milliseconds to repainted.
  virtual Times Load(bool Variant) = 0;
};

class ClassicEngine : public Engine {
 public:
  void Prepare(vcl::TForm* Page) override {
    // As the composer's main form carries it: the component with no skin, inactive; its hook
    // is installed and follows the page's activation.
    skin_ = new winskin::TSkinData(Page);
    skin_->SetName(L"GallerySkin");
    skin_->SetSkinFormtype(winskin::sfMainform);
    skin_->Loaded();
  }
  // The engine's timer at 1 ms instead of its 250: the time that passes is then the work's
  // and the waits the engine makes beside its timer.
  Times Load(bool Variant) override {
    winskin::TSkinManage* manager = winskin::SkinManager();
    auto done = [manager] { return !manager->RequestSkinData() && !manager->Timer()->Enabled(); };
    return TimeWhile(
        [&] {
          skin_->SkinStream()->LoadFromFile(gallery::SamplePackage(Variant ? L"Jade.skn" : L"Azure.skn"));
          skin_->LoadSkin();
          // The gallery's switch: the skinned windows take the package just read.
          if (!skin_->Active() || manager->FormCount() == 0) {
            skin_->SetActive(true);
            manager->Timer()->SetInterval(kTimerMs);
            return;
          }
          manager->SetRequestSkinData(skin_);
          manager->RefreshSkinObjects(skin_);
          manager->SetActiveMode(winskin::TSkinMode::Refresh, kTimerMs);
        },
        done);
  }

 private:
  static constexpr unsigned kTimerMs = 1;
  winskin::TSkinData* skin_ = nullptr;
};

class LayeredEngine : public Engine {
 public:
  void Prepare(vcl::TForm* Page) override {
    manager_ = vcl::Construct<skin_layered::TsSkinManager>(Page);
    manager_->SetActive(false);
    manager_->AnimEffects()->SkinChanging()->SetActive(false);
    manager_->SetSkinDirectory(skin_layered::ProgramFolder() + L"..\\skins\\layered");
    vcl::Construct<skin_layered::TsSkinProvider>(Page);
  }
  Times Load(bool Variant) override {
    return TimeWhile(
        [&] {
          manager_->SetSkinName(Variant ? L"Ember\\" : L"Lagoon\\");
          if (!manager_->Active()) manager_->SetActive(true);
        },
        [] { return true; });
  }

 private:
  skin_layered::TsSkinManager* manager_ = nullptr;
};

void Print(const char* Key, double Value) { std::printf("%s %.3f\n", Key, Value); }

int RunEngine(const std::wstring& Name) {
  vcl::Application->Initialize();
  std::unique_ptr<Engine> engine;
  if (Name == L"classic") engine = std::make_unique<ClassicEngine>();
  else if (Name == L"layered") engine = std::make_unique<LayeredEngine>();
  else if (Name != L"unskinned") return 2;

  auto* page = vcl::Application->CreateForm<gallery::TGalleryMain>();
  if (engine) engine->Prepare(page);
  page->SetBounds(40, 40, page->Width(), page->Height());
  page->Show();
  BusyUntil([] { return true; });
  const HWND window = page->Handle();

  if (engine) {
    const Counts before = Counts::Now();
    const Times load = engine->Load(false);
    Print("load", load.busy);
    Print("load_wall", load.wall);
    const Counts after = Counts::Now();
    Print("gdi", static_cast<double>(after.gdi - before.gdi));
    Print("dcs", static_cast<double>(after.dcs - before.dcs));
    Print("system_gdi", static_cast<double>(after.system_gdi - before.system_gdi));
    Print("system_dcs", static_cast<double>(after.system_dcs - before.system_dcs));
    Print("memory", static_cast<double>(after.memory - before.memory) / 1024);
  }
  Print("windows", WindowCount(window));

  std::vector<double> repaints;
  for (int i = 0; i < kRepaints; ++i)
    repaints.push_back(BusyWhile([window] {
      RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }));
  Print("repaint", Median(repaints));

  RECT r{};
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const double cpuBefore = ProcessCpu();
  Print("resize", BusyWhile([&] {
          for (int step = 1; step <= kResizeSteps; ++step) {
            const int grown = step <= kResizeSteps / 2 ? step : kResizeSteps - step;
            SetWindowPos(window, nullptr, 0, 0, width + grown * kResizeStep, height + grown * kResizeStep,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
          }
        }));
  // Wine's server and the X server work outside the process; this is the process's own share.
  Print("resize_cpu", ProcessCpu() - cpuBefore);

  if (engine) {
    std::vector<double> switches, walls;
    Counts first{};
    for (int i = 0; i < kSwitches; ++i) {
      const Times t = engine->Load(i % 2 == 0);
      switches.push_back(t.busy);
      walls.push_back(t.wall);
      if (i == 1) first = Counts::Now();
    }
    Print("switch", Median(switches));
    Print("switch_wall", Median(walls));
    const Counts last = Counts::Now();
    Print("gdi_growth", static_cast<double>(last.gdi - first.gdi));
    Print("dcs_growth", static_cast<double>(last.dcs - first.dcs));
    Print("system_dcs_growth", static_cast<double>(last.system_dcs - first.system_dcs));
    Print("memory_growth", static_cast<double>(last.memory - first.memory) / 1024);
  }
  // What the process holds at the end, beside unskinned painting of the same page.
  Print("system_dcs_held", static_cast<double>(Counts::Now().system_dcs));
  std::fflush(stdout);
  vcl::TObject::Free(page);
  return 0;
}

// ---------------------------------------------------------------------------------------
// The rounds

struct EngineRuns {
  std::wstring name, caption;
  std::map<std::string, std::vector<double>> figures;
};

// One round of one engine in a process of its own; false when it failed.
bool RunRound(EngineRuns& Engine) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0)) return false;
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(path) + L"\" --engine " + Engine.name;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  const BOOL started =
      CreateProcessW(path, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(write);
  if (!started) {
    CloseHandle(read);
    return false;
  }
  std::string output;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0) output.append(buffer, got);
  CloseHandle(read);
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  size_t pos = 0;
  while (pos < output.size()) {
    size_t end = output.find('\n', pos);
    if (end == std::string::npos) end = output.size();
    const std::string line = output.substr(pos, end - pos);
    pos = end + 1;
    const size_t space = line.find(' ');
    if (space != std::string::npos) Engine.figures[line.substr(0, space)].push_back(std::atof(line.c_str() + space));
  }
  return code == 0;
}

// "median [min-max]" of a figure, with its ratio to the yardstick's median when given.
std::string Cell(const EngineRuns& Engine, const std::string& Key, const char* Format,
                 const EngineRuns* Yardstick = nullptr, bool Signed = false) {
  const auto it = Engine.figures.find(Key);
  if (it == Engine.figures.end() || it->second.empty()) return "-";
  const auto& v = it->second;
  const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
  char text[160];
  std::string format = std::string(Signed ? "%+" : "%") + Format + " [" + (Signed ? "%+" : "%") + Format + ".." +
                       (Signed ? "%+" : "%") + Format + "]";
  std::snprintf(text, sizeof text, format.c_str(), Median(v), *lo, *hi);
  std::string cell = text;
  if (Yardstick) {
    const auto base = Yardstick->figures.find(Key);
    if (base != Yardstick->figures.end() && Median(base->second) > 0) {
      std::snprintf(text, sizeof text, " %.2fx", Median(v) / Median(base->second));
      cell += text;
    }
  }
  return cell;
}

// "median [min..max]" of each round's ratio of a figure to the yardstick's in that round. The
// engines of a round run back to back, so a host that slows down for a while weighs on both.
std::string RoundRatioCell(const EngineRuns& Engine, const std::string& Key, const EngineRuns& Yardstick) {
  const auto it = Engine.figures.find(Key), base = Yardstick.figures.find(Key);
  if (&Engine == &Yardstick || it == Engine.figures.end() || base == Yardstick.figures.end()) return "-";
  std::vector<double> ratios;
  for (size_t i = 0; i < std::min(it->second.size(), base->second.size()); ++i)
    if (base->second[i] > 0) ratios.push_back(it->second[i] / base->second[i]);
  if (ratios.empty()) return "-";
  const auto [lo, hi] = std::minmax_element(ratios.begin(), ratios.end());
  char text[80];
  std::snprintf(text, sizeof text, "%.2fx [%.2fx..%.2fx]", Median(ratios), *lo, *hi);
  return text;
}

int RunRounds(int Rounds) {
  std::vector<EngineRuns> engines = {{L"unskinned", L"unskinned", {}},
                                     {L"classic", L"classic (Azure)", {}},
                                     {L"layered", L"layered (Lagoon)", {}}};
  // One round of each first, not counted: the system's caches warm up alike for all.
  for (EngineRuns& e : engines) {
    if (!RunRound(e)) {
      std::fwprintf(stderr, L"enginebench: the %ls round failed\n", e.name.c_str());
      return 1;
    }
    e.figures.clear();
  }
  for (int round = 0; round < Rounds; ++round)
    for (size_t k = 0; k < engines.size(); ++k) {
      EngineRuns& e = engines[(k + static_cast<size_t>(round)) % engines.size()];
      if (!RunRound(e)) {
        std::fwprintf(stderr, L"enginebench: a %ls round failed\n", e.name.c_str());
        return 1;
      }
    }

  const EngineRuns& unskinned = engines[0];
  const auto windows = unskinned.figures.find("windows");
  std::printf("The gallery's controls page (%d windows): one engine a process, %d interleaved rounds;\n"
              "median [min..max] of the rounds, times in ms busy (waits for the engine's timer left out)\n\n",
              windows != unskinned.figures.end() ? static_cast<int>(Median(windows->second)) : 0, Rounds);
  struct Row {
    const char* caption;
    std::string key;
    const char* format;
    bool ratio, signedValue, roundRatio = false;
  };
  const Row rows[] = {
      {"full repaint (RedrawWindow all children, update now)", "repaint", ".1f", true, false},
      {"resize, 50 SetWindowPos steps", "resize", ".0f", true, false},
      {"resize, each round's own ratio to unskinned", "resize", "", false, false, true},
      {"resize, the process's CPU time", "resize_cpu", ".0f", true, false},
      {"first skin load, to repainted", "load", ".0f", false, false},
      {"switch on the live form, animation off", "switch", ".0f", false, false},
      {"first skin load, to repainted, time passed (classic timer at 1 ms)", "load_wall", ".0f", false, false},
      {"switch, time passed (classic timer at 1 ms)", "switch_wall", ".0f", false, false},
      {"extra GDI objects after loading", "gdi", ".0f", false, true},
      {"extra DCs after loading (the library's wrappers)", "dcs", ".0f", false, true},
      {"extra DCs after loading (the system's table)", "system_dcs", ".0f", false, true},
      {"extra GDI objects after loading (the system's table)", "system_gdi", ".0f", false, true},
      {"DCs held at the end, after the switches (the system's table)", "system_dcs_held", ".0f", false, false},
      {"extra private memory after loading, KiB", "memory", ".0f", false, true},
      {"GDI objects grown over 4 switches", "gdi_growth", ".0f", false, true},
      {"DCs grown over 4 switches (the library's wrappers)", "dcs_growth", ".0f", false, true},
      {"DCs grown over 4 switches (the system's table)", "system_dcs_growth", ".0f", false, true},
      {"private memory grown over 4 switches, KiB", "memory_growth", ".0f", false, true},
  };
  std::printf("| figure | %ls | %ls | %ls |\n|---|---|---|---|\n", engines[0].caption.c_str(),
              engines[1].caption.c_str(), engines[2].caption.c_str());
  for (const Row& row : rows) {
    std::printf("| %s |", row.caption);
    for (const EngineRuns& e : engines)
      std::printf(" %s |", (row.roundRatio ? RoundRatioCell(e, row.key, unskinned)
                                           : Cell(e, row.key, row.format, row.ratio ? &unskinned : nullptr,
                                                  row.signedValue))
                               .c_str());
    std::printf("\n");
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const vcl::TUnitsScope units;
  if (argc == 3 && std::wstring(argv[1]) == L"--engine") {
    try {
      return RunEngine(argv[2]);
    } catch (const vcl::Exception& e) {
      std::fwprintf(stderr, L"enginebench: %ls\n", e.Message().c_str());
      return 1;
    }
  }
  return RunRounds(argc > 1 ? std::max(1, _wtoi(argv[1])) : 5);
}
