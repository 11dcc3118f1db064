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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
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
  std::string folder = {};  // where the variant lies (a Unix path); empty: the build's skins of the sweep
  bool refusable = false;   // a value out of the format's range: the skin may be refused, saying why
};

std::ostream& operator<<(std::ostream& out, const SweepRun& r) { return out << r.engine << " " << r.variant << " " << r.page; }

// The Windows path of a Unix one.
std::wstring WindowsPath(const std::string& Unix) {
  std::wstring path = L"Z:";
  for (char c : Unix) path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return path;
}

fs::path SweepSkins() { return fs::path(WindowsPath(SCRIVANE_SWEEP_SKINS)); }

fs::path FolderOf(const SweepRun& Run) { return Run.folder.empty() ? SweepSkins() : fs::path(WindowsPath(Run.folder)); }

struct Variant {
  std::string name;
  bool refusable = false;
};

// The variants a list names: a line each, the name, a tab, what it lacks, and a third field
// "refusable" for a skin that may be refused.
std::vector<Variant> VariantsIn(const fs::path& List) {
  std::vector<Variant> variants;
  std::ifstream list(List);
  for (std::string line; std::getline(list, line);)
    if (const size_t tab = line.find('\t'); tab != std::string::npos && tab > 0)
      variants.push_back({line.substr(0, tab), line.ends_with("\trefusable")});
  return variants;
}

const std::vector<std::string>& PagesOf(const std::string& Engine) {
  static const std::vector<std::string> classic{"all", "controls", "dialog", "messagebox", "mdi", "popup", "menus"};
  static const std::vector<std::string> layered{"layered", "dialogs", "borders", "menus", "mdi", "messageboxes",
                                                "commondialogs"};
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
      {"classic", "sample-odd-colours-minus1", "controls"},       // the system's colours, legible
      {"classic", "colours-odd-colours-FFFFFFFF", "controls"},    // an edit and an up-down that stand out
      {"layered", "sample", "dialogs"},
      {"layered", "sample-group-titles", "menus"},
      {"layered", "sample-no-section-BUTTON", "dialogs"},  // the system's button edges
      {"layered", "sample-no-section-CHECKBOX", "dialogs"},  // the dialog's tool bar, see-through
      {"layered", "sample-group-forms", "mdi"},  // the system's whole frames round a frame and its documents
      {"layered", "colours", "layered"},  // the system's grip and button edges
      {"layered", "sample", "layered"},
      {"layered", "sample", "messageboxes"},
      {"layered", "sample", "commondialogs"},
      {"classic", "sample-pictures-8x8", "controls"},  // the system's marks, title buttons and grip
      {"classic", "sample-odd-numbers-huge", "controls"},  // the system's track-bar channel
      {"layered", "sample-no-section-FORM", "dialogs"},  // one look before and after the moves
      {"layered", "colours-odd-measures-huge", "layered"},  // a blur region that came to no end
  };
  return runs;
}

// Every variant of the build on every page of its engine, and with SCRIVANE_SWEEP_MORE=FOLDER
// (a Unix path) the variants of FOLDER/classic and FOLDER/layered too (the random ones).
std::vector<SweepRun> Runs() {
  const char* which = std::getenv("SCRIVANE_SKIN_SWEEP");
  if (!which || std::string(which) != "all") return QuickRuns();
  std::vector<std::string> folders{""};
  if (const char* more = std::getenv("SCRIVANE_SWEEP_MORE"); more && *more) folders.push_back(more);
  std::vector<SweepRun> runs;
  for (const std::string& folder : folders)
    for (const std::string engine : {"classic", "layered"}) {
      const fs::path list = (folder.empty() ? SweepSkins() : fs::path(WindowsPath(folder))) / engine / "variants.txt";
      for (const Variant& variant : VariantsIn(list))
        for (const std::string& page : PagesOf(engine)) runs.push_back({engine, variant.name, page, folder, variant.refusable});
    }
  return runs;
}

// The quick part's variants are the build's: whether one may be refused is in its list.
bool Refusable(const SweepRun& Run) {
  if (!Run.folder.empty() || Run.refusable) return Run.refusable;
  for (const Variant& v : VariantsIn(SweepSkins() / Run.engine / "variants.txt"))
    if (v.name == Run.variant) return v.refusable;
  return false;
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

// What the gallery said refusing a skin that may be refused: it failed (1) saying something
// beside its own lines about the picture.
std::optional<std::string> Refusal(const Outcome& Run, bool Refusable) {
  if (!Refusable || Run.exitCode != std::optional<DWORD>(1)) return std::nullopt;
  std::string said;
  std::istringstream lines(Run.said);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line == "skingallery: screenshot written") continue;
    said += (said.empty() ? "" : " / ") + line;
  }
  if (said.empty()) return std::nullopt;
  return said;
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

// The pictures a page takes (the gallery's AddShotStep) and what the last two are judged by
// beside each alone: every check mark turned over between them, or the user's moves made
// between them that should change nothing.
struct PageShots {
  int pictures = 1;
  enum class Between { Nothing, TurnedMarks, SameLooks } between = Between::Nothing;
};

PageShots ShotsOf(const SweepRun& Run) {
  using B = PageShots::Between;
  if (Run.engine == "classic") return Run.page == "controls" ? PageShots{2, B::TurnedMarks} : PageShots{};
  if (Run.page == "layered") return {2, B::TurnedMarks};
  if (Run.page == "dialogs" || Run.page == "commondialogs") return {3, B::SameLooks};
  if (Run.page == "messageboxes") return {5, B::SameLooks};
  return {};
}

// The gallery's name of picture N (from 2 on) and of its list: "-N" before the extension.
fs::path NthShot(const fs::path& First, int N) {
  if (N <= 1) return First;
  return First.parent_path() / (First.stem().wstring() + L"-" + std::to_wstring(N) + First.extension().wstring());
}

// Holes the sweep found in parts others are mending: a fault of a run that matches one awaits
// its mend and fails nothing (the run says it, and make check-skins lists it apart). The list
// empties as the mends land.
struct AwaitedMend {
  const char* engine;
  const char* variant;  // a regular expression over the whole name
  const char* page;     // a regular expression over the whole name
  const char* fault;    // a regular expression found in the fault's text
};

const std::vector<AwaitedMend>& AwaitedMends() {
  static const std::vector<AwaitedMend> mends{
      // A tiled centre of no source pixels left unpainted: the header and status bar black.
      {"classic", "sample-pictures-third-height", ".*", "solid black"},
      // Title measures out of range on a form with extended borders: no title buttons, no
      // caption, black bands in the border window.
      {"layered", ".*-odd-measures-(huge|negative)", "borders", "."},
      // A disabled dialog open under another (the Font dialog under the Colour dialog) is not
      // skinned again when the skin comes back.
      {"layered", ".*", "commondialogs", "^picture 3: .*looks other than before the moves"},
      // A combo box without the skin's edit or combo box section.
      {"layered", ".*-no-section-(COMBOBOX|EDIT)", "commondialogs", "ComboBox .*solid black"},
  };
  return mends;
}

bool Awaited(const SweepRun& Run, const std::string& Fault) {
  for (const AwaitedMend& m : AwaitedMends())
    if (Run.engine == m.engine && std::regex_match(Run.variant, std::regex(m.variant)) &&
        std::regex_match(Run.page, std::regex(m.page)) && std::regex_search(Fault, std::regex(m.fault)))
      return true;
  return false;
}

TEST_P(SkinSweep, LeavesNoHole) {
  const SweepRun& run = GetParam();
  const char* outEnv = std::getenv("SCRIVANE_SWEEP_OUT");
  const fs::path work = outEnv ? fs::path(WindowsPath(outEnv)) : fs::path(wintest::UniqueTempPath(L"sweep"));
  std::error_code ec;
  fs::create_directories(work / "runs", ec);
  const std::string name = run.engine + "-" + run.variant + "-" + run.page;
  const fs::path shot = work / "runs" / (name + ".png"), list = work / "runs" / (name + ".txt"),
                 said = work / "runs" / (name + ".err");
  const PageShots shots = ShotsOf(run);
  for (int n = 1; n <= shots.pictures; ++n) {
    fs::remove(NthShot(shot, n), ec);
    fs::remove(NthShot(list, n), ec);
  }

  const fs::path skin = run.engine == "classic" ? FolderOf(run) / "classic" / (run.variant + ".skn")
                                                : FolderOf(run) / "layered" / run.variant;
  ASSERT_TRUE(fs::exists(skin)) << skin.string();
  const std::wstring arguments = std::wstring(run.engine == "classic" ? L"--classic \"" : L"--layered \"") + skin.wstring() +
                                 L"\" --page " + std::wstring(run.page.begin(), run.page.end()) + L" --shot \"" +
                                 shot.wstring() + L"\" --windows \"" + list.wstring() + L"\"";
  const Outcome outcome = RunProgram(GalleryExe(), arguments, said, kRunBound);

  std::vector<std::string> found;
  int black = 0;
  // A skin with a value out of its format's range may be refused: the gallery says so and runs
  // without it (its pictures judged all the same).
  const std::optional<std::string> refused = Refusal(outcome, Refusable(run));
  if (const std::optional<std::string> fault = RunFault(outcome, kRunBound); fault && !refused) found.push_back(*fault);
  // A gallery that refused its skin ends after its first picture.
  const int taken = refused ? 1 : shots.pictures;
  std::vector<std::optional<sweep::Shot>> pictures;
  for (int n = 1; n <= taken; ++n) {
    const std::string which = n == 1 ? "" : "picture " + std::to_string(n) + ": ";
    std::vector<ListedWindow> windows = sweep::ParseWindowList(ReadText(NthShot(list, n)));
    std::optional<sweep::ScreenPicture> picture;
    if (windows.empty())
      found.push_back(which + "no window list");
    else if (!(picture = LoadPicture(NthShot(shot, n), sweep::GrabArea(windows, GetSystemMetrics(SM_CXSCREEN),
                                                                       GetSystemMetrics(SM_CYSCREEN)))))
      found.push_back(which + "no picture");
    if (!picture) {
      pictures.emplace_back();
      continue;
    }
    const sweep::Verdict verdict = sweep::Judge(*picture, windows);
    black = std::max(black, verdict.blackPixels);
    for (const std::string& f : verdict.faults) found.push_back(which + f);
    pictures.push_back(sweep::Shot{std::move(*picture), std::move(windows)});
  }
  if (taken >= 2 && pictures[taken - 2] && pictures[taken - 1]) {
    const sweep::Shot &before = *pictures[taken - 2], &after = *pictures[taken - 1];
    const std::vector<std::string> between = shots.between == PageShots::Between::TurnedMarks
                                                 ? sweep::JudgeTurnedMarks(before, after)
                                                 : sweep::JudgeSameLooks(before, after);
    for (const std::string& f : between) found.push_back("picture " + std::to_string(taken) + ": " + f);
  }
  std::vector<std::string> faults, awaited;
  for (const std::string& f : found) (Awaited(run, f) ? awaited : faults).push_back(f);

  if (outEnv) {
    // One line a run, and one a fault, their texts on one line.
    auto flat = [](std::string text) {
      for (char& c : text)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
      return text;
    };
    std::ofstream results(work / ("results-" + ShardName() + ".txt"), std::ios::app | std::ios::binary);
    results << run.engine << '\t' << run.variant << '\t' << run.page << '\t' << faults.size() << '\t' << black << '\t'
            << (faults.empty() ? "" : flat(faults.front())) << '\t' << awaited.size() << '\n';
    std::ofstream all(work / ("faults-" + ShardName() + ".txt"), std::ios::app | std::ios::binary);
    for (const std::string& f : faults) all << run.engine << '\t' << run.variant << '\t' << run.page << '\t' << flat(f) << '\n';
    std::ofstream waiting(work / ("awaited-" + ShardName() + ".txt"), std::ios::app | std::ios::binary);
    for (const std::string& f : awaited)
      waiting << run.engine << '\t' << run.variant << '\t' << run.page << '\t' << flat(f) << '\n';
    if (refused) {
      std::ofstream refusals(work / ("refused-" + ShardName() + ".txt"), std::ios::app | std::ios::binary);
      refusals << run.engine << '\t' << run.variant << '\t' << run.page << '\t' << flat(*refused) << '\n';
    }
  }
  if (found.empty() || !outEnv)
    for (int n = 1; n <= shots.pictures; ++n) {
      fs::remove(NthShot(shot, n), ec);
      fs::remove(NthShot(list, n), ec);
    }
  fs::remove(said, ec);
  if (!outEnv) fs::remove_all(work, ec);
  std::string all;
  for (const std::string& f : awaited) all += "\n  awaiting its mend: " + f;
  if (!awaited.empty()) std::printf("%s %s %s:%s\n", run.engine.c_str(), run.variant.c_str(), run.page.c_str(), all.c_str());
  all.clear();
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
