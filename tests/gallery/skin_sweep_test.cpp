// The sweep over every element a skin can have: the gallery run under each skin the build
// derives from the sample skins (lacking a section, a picture or a group of sections, from
// the sample skin or from a skin of its colours only), on each page of its engine, and the X
// display's picture of it judged (shot_judge.h): no solid black, every title bar with its
// buttons, every caption legible, no control invisible.
//
// Alone it runs a quick part: each group of sections and each hole the sweep has found, on
// the page that shows it. With SCRIVANE_SKIN_SWEEP=all it runs every skin on every page
// (make check-skins, which spreads the runs over parallel sessions with the test program's
// shards). With SCRIVANE_SWEEP_OUT=FOLDER (a Unix path) each run adds a line to
// FOLDER/results-<shard>.txt and a failing run keeps its picture and window list there.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "classlib/rtl/SysUtils.h"
#include "gallery/gallery_support.h"
#include "gallery/shot_judge.h"
#include "skin_layered/paint/PngGraphic.h"
#include "support/win_test_support.h"

namespace gallery::test {
namespace {

namespace fs = std::filesystem;
using sweep::ListedWindow;

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

struct SweepRun {
  std::string engine;  // "classic" or "layered"
  std::string variant;
  std::string page;
};

std::ostream& operator<<(std::ostream& out, const SweepRun& r) { return out << r.engine << " " << r.variant << " " << r.page; }

// The Windows path of a Unix one.
std::wstring WindowsPath(const std::string& Unix) {
  std::wstring path = L"Z:";
  for (char c : Unix) path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return path;
}

fs::path SweepSkins() { return fs::path(WindowsPath(SCRIVANE_SWEEP_SKINS)); }

std::vector<std::string> VariantsOf(const std::string& Engine) {
  std::vector<std::string> names;
  std::ifstream list(SweepSkins() / Engine / "variants.txt");
  for (std::string line; std::getline(list, line);)
    if (const size_t tab = line.find('\t'); tab != std::string::npos && tab > 0) names.push_back(line.substr(0, tab));
  return names;
}

const std::vector<std::string>& PagesOf(const std::string& Engine) {
  static const std::vector<std::string> classic{"all", "controls", "dialog", "messagebox", "mdi", "popup", "menus"};
  static const std::vector<std::string> layered{"layered", "dialogs", "borders", "menus", "mdi"};
  return Engine == "classic" ? classic : layered;
}

// The quick part: the complete and the colours-only skins, each group, and each hole found,
// on the page where it showed.
const std::vector<SweepRun>& QuickRuns() {
  static const std::vector<SweepRun> runs{
      {"classic", "sample", "controls"},
      {"classic", "sample", "mdi"},
      {"classic", "sample-group-buttons", "messagebox"},
      {"classic", "sample-group-caption-buttons", "all"},  // the system's caption buttons and icon
      {"classic", "sample-no-section-Button_Close", "messagebox"},  // the system's close at the title's end
      {"layered", "sample", "dialogs"},
      {"layered", "sample-group-titles", "menus"},
      {"layered", "sample-no-section-BUTTON", "dialogs"},  // the system's button edges
      {"layered", "sample-no-section-CHECKBOX", "dialogs"},  // the dialog's tool bar, see-through
      {"layered", "sample-group-forms", "mdi"},  // the system's whole frames round a frame and its documents
      {"layered", "colours", "layered"},  // the system's grip and button edges
  };
  return runs;
}

std::vector<SweepRun> Runs() {
  const char* which = std::getenv("SCRIVANE_SKIN_SWEEP");
  if (!which || std::string(which) != "all") return QuickRuns();
  std::vector<SweepRun> runs;
  for (const std::string engine : {"classic", "layered"})
    for (const std::string& variant : VariantsOf(engine))
      for (const std::string& page : PagesOf(engine)) runs.push_back({engine, variant, page});
  return runs;
}

std::string NameOf(const ::testing::TestParamInfo<SweepRun>& Info) {
  std::string name = Info.param.engine + "_" + Info.param.variant + "_" + Info.param.page;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

std::string ReadText(const fs::path& File) {
  std::ifstream in(File, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::wstring GalleryExe() { return WindowsPath(SCRIVANE_GALLERY_EXE); }

constexpr DWORD kRunBound = 90000;  // milliseconds a run may take

struct Outcome {
  DWORD startError = 0;           // the system's code when the program could not be started
  std::optional<DWORD> exitCode;  // none: not started, or not ended within the bound
  std::string said;               // its standard error stream
};

// The program run with the arguments until it ends, or ended once the bound has passed, its
// standard error kept in a file. Under heavy load Wine very rarely ends a new process before
// the program starts (the same failure scripts/wine-exec.sh meets), and the start fails at
// once: nothing of the program ran, so a start that failed is tried once more.
Outcome RunProgram(const std::wstring& Exe, const std::wstring& Arguments, const fs::path& ErrorFile, DWORD Bound) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE error = CreateFileW(ErrorFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  std::wstring line = L"\"" + Exe + L"\" " + Arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdError = error;
  startup.hStdOutput = error;
  PROCESS_INFORMATION info{};
  const std::wstring folder = fs::path(Exe).parent_path().wstring();
  Outcome outcome;
  for (int attempt = 0; attempt < 2 && !info.hProcess; ++attempt) {
    outcome.startError = 0;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup, &info)) {
      outcome.startError = GetLastError();
      info = {};
    }
  }
  if (info.hProcess) {
    if (WaitForSingleObject(info.hProcess, Bound) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(info.hProcess, &code);
      outcome.exitCode = code;
    } else {
      TerminateProcess(info.hProcess, 9);
      WaitForSingleObject(info.hProcess, 10000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  if (error != INVALID_HANDLE_VALUE) CloseHandle(error);
  outcome.said = ReadText(ErrorFile);
  return outcome;
}

// What went wrong with a run, for the list of faults; nothing when it ended with 0.
std::optional<std::string> RunFault(const Outcome& Run, DWORD Bound) {
  if (Run.startError)
    return "the gallery could not be started, twice (error " + std::to_string(Run.startError) + ": " +
           vcl::WideToUtf8(vcl::SysErrorMessage(Run.startError)) + ")";
  if (!Run.exitCode) return "the gallery did not end within " + std::to_string(Bound / 1000) + " s";
  if (*Run.exitCode != 0) return "the gallery failed (" + std::to_string(*Run.exitCode) + "): " + Run.said;
  return std::nullopt;
}

// The PNG as 0xRRGGBB pixels.
std::optional<sweep::ScreenPicture> LoadPicture(const fs::path& File, const sweep::Box& Area) {
  skin_layered::TPNGGraphic png;
  try {
    png.LoadFromFile(File.wstring());
  } catch (const vcl::Exception&) {
    return std::nullopt;
  }
  sweep::ScreenPicture picture{Area.left, Area.top, png.Width(), png.Height(), {}};
  if (picture.width <= 0 || picture.height <= 0) return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> bgrx(static_cast<size_t>(picture.width) * picture.height);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, png.Handle(), 0, picture.height, bgrx.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != picture.height) return std::nullopt;
  picture.pixels.resize(bgrx.size());
  for (size_t i = 0; i < bgrx.size(); ++i) picture.pixels[i] = bgrx[i] & 0xFFFFFF;  // a DIB's 0xXXRRGGBB
  return picture;
}

std::string ShardName() {
  const char* shard = std::getenv("GTEST_SHARD_INDEX");
  return shard ? shard : "0";
}

class SkinSweep : public ::testing::TestWithParam<SweepRun> {};

TEST_P(SkinSweep, LeavesNoHole) {
  const SweepRun& run = GetParam();
  const char* outEnv = std::getenv("SCRIVANE_SWEEP_OUT");
  const fs::path work = outEnv ? fs::path(WindowsPath(outEnv)) : fs::path(wintest::UniqueTempPath(L"sweep"));
  std::error_code ec;
  fs::create_directories(work / "runs", ec);
  const std::string name = run.engine + "-" + run.variant + "-" + run.page;
  const fs::path shot = work / "runs" / (name + ".png"), list = work / "runs" / (name + ".txt"),
                 said = work / "runs" / (name + ".err");
  fs::remove(shot, ec);
  fs::remove(list, ec);

  const fs::path skin = run.engine == "classic" ? SweepSkins() / "classic" / (run.variant + ".skn")
                                                : SweepSkins() / "layered" / run.variant;
  ASSERT_TRUE(fs::exists(skin)) << skin.string();
  const std::wstring arguments = std::wstring(run.engine == "classic" ? L"--classic \"" : L"--layered \"") + skin.wstring() +
                                 L"\" --page " + std::wstring(run.page.begin(), run.page.end()) + L" --shot \"" +
                                 shot.wstring() + L"\" --windows \"" + list.wstring() + L"\"";
  const Outcome outcome = RunProgram(GalleryExe(), arguments, said, kRunBound);

  std::vector<std::string> faults;
  int black = 0;
  if (const std::optional<std::string> fault = RunFault(outcome, kRunBound)) faults.push_back(*fault);
  const std::vector<ListedWindow> windows = sweep::ParseWindowList(ReadText(list));
  if (windows.empty()) {
    faults.push_back("no window list");
  } else if (const std::optional<sweep::ScreenPicture> picture =
                 LoadPicture(shot, sweep::GrabArea(windows, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)))) {
    sweep::Verdict verdict = sweep::Judge(*picture, windows);
    black = verdict.blackPixels;
    faults.insert(faults.end(), verdict.faults.begin(), verdict.faults.end());
  } else {
    faults.push_back("no picture");
  }

  if (outEnv) {
    // One line a run, and one a fault, their texts on one line.
    auto flat = [](std::string text) {
      for (char& c : text)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
      return text;
    };
    std::ofstream results(work / ("results-" + ShardName() + ".txt"), std::ios::app | std::ios::binary);
    results << run.engine << '\t' << run.variant << '\t' << run.page << '\t' << faults.size() << '\t' << black << '\t'
            << (faults.empty() ? "" : flat(faults.front())) << '\n';
    std::ofstream all(work / ("faults-" + ShardName() + ".txt"), std::ios::app | std::ios::binary);
    for (const std::string& f : faults) all << run.engine << '\t' << run.variant << '\t' << run.page << '\t' << flat(f) << '\n';
  }
  if (faults.empty() || !outEnv) {
    fs::remove(shot, ec);
    fs::remove(list, ec);
  }
  fs::remove(said, ec);
  if (!outEnv) fs::remove_all(work, ec);
  std::string all;
  for (const std::string& f : faults) all += "\n  " + f;
  EXPECT_TRUE(faults.empty()) << run << ":" << all;
}

// A run's fault says what became of the gallery: not started (the system's reason), not
// ended within the bound (then ended), or ended with a failure and what it printed.
TEST(SweepRun, TellsAGalleryNotStartedFromOneNotEndedAndFromOneFailed) {
  const fs::path work = wintest::UniqueTempPath(L"sweep_run");
  fs::create_directories(work);
  const fs::path said = work / "said.txt";

  const Outcome missing = RunProgram((work / "NoSuchGallery.exe").wstring(), L"--page controls", said, kRunBound);
  EXPECT_EQ(missing.startError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(missing.exitCode);
  const std::string notStarted = RunFault(missing, kRunBound).value_or("");
  EXPECT_EQ(notStarted.rfind("the gallery could not be started, twice (error 2: ", 0), 0u) << notStarted;

  // Without a screenshot to take the gallery runs on until it is ended.
  const Outcome endless = RunProgram(GalleryExe(), L"--page controls", said, 3000);
  EXPECT_EQ(endless.startError, 0u);
  EXPECT_FALSE(endless.exitCode);
  EXPECT_EQ(RunFault(endless, 3000).value_or(""), "the gallery did not end within 3 s");

  const Outcome failed = RunProgram(GalleryExe(),
                                    L"--layered \"" + (work / "NoSuchSkin").wstring() + L"\" --shot \"" +
                                        (work / "x.png").wstring() + L"\"",
                                    said, kRunBound);
  EXPECT_EQ(failed.startError, 0u);
  EXPECT_EQ(failed.exitCode, std::optional<DWORD>(1));
  const std::string failure = RunFault(failed, kRunBound).value_or("");
  EXPECT_EQ(failure.rfind("the gallery failed (1): skingallery: ", 0), 0u) << failure;

  std::error_code ec;
  fs::remove_all(work, ec);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinSweep, ::testing::ValuesIn(Runs()), NameOf);

}  // namespace
}  // namespace gallery::test
