// The composer's windows as a user sees them: the main window, every editor sheet, message
// boxes, the section list's popup menu and the colour dialog, opened for real and grabbed from
// the X display by a helper process (scripts/screen-grab.sh), since what Wine draws in the
// process is not always what the display shows. A grab passes when it is not one flat colour,
// carries text where the window has text, shows the title-bar symbols (not the letters a
// missing symbol font leaves) and the toggle tab's bold "》" as two chevrons. Modal loops are
// looked at from a thread timer inside them and closed by posted messages by a deadline.
#include "main_window_support.h"
#include "support/screen_grab.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>

namespace composer::testing {
namespace {

// ---------------------------------------------------------------------------------------
// Grabs

using wintest::Grab;
using wintest::Shot;

// ---------------------------------------------------------------------------------------
// What a grab shows

RECT Inset(RECT r, int d) { return {r.left + d, r.top + d, r.right - d, r.bottom - d}; }

RECT Offset(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

int Luma(COLORREF c) { return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000; }

int Distance(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
         std::abs(GetBValue(a) - GetBValue(b));
}

// The commonest colour of a part of the grab (R in grab coordinates).
COLORREF Background(const Shot& s, const RECT& r) {
  std::map<COLORREF, int> counts;
  for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, s.height); ++y)
    for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, s.width); ++x) ++counts[s.At(x, y)];
  COLORREF best = 0;
  int most = -1;
  for (const auto& [colour, n] : counts)
    if (n > most) best = colour, most = n;
  return best;
}

int DistinctColours(const Shot& s) {
  std::map<COLORREF, int> counts;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) ++counts[s.At(x, y)];
  return static_cast<int>(counts.size());
}

// Pixels of R that stand out from its background: text, glyphs, lines.
int Ink(const Shot& s, const RECT& r) {
  const COLORREF bg = Background(s, r);
  int n = 0;
  for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, s.height); ++y)
    for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, s.width); ++x)
      if (Distance(s.At(x, y), bg) > 150) ++n;
  return n;
}

// A window's rectangle inside a grab of Outer (both in screen coordinates).
RECT Within(HWND wnd, const RECT& outer) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return Offset(r, -outer.left, -outer.top);
}

enum class Glyph { Close, Maximize, Minimize };

// Whether the button face R of a grab shows the symbol: a cross touching its four corners, a
// box with a full top edge and an empty middle, a flat bar. The letters "r", "1" and "0" that
// stand in for them without the symbol font are none of these.
bool ShowsGlyph(const Shot& s, const RECT& button, Glyph glyph, std::string& why) {
  // The face: where the button's own light colour lies (the hit area also takes in some of the
  // caption around it).
  std::map<COLORREF, int> light;
  for (int y = std::max<int>(button.top, 0); y < std::min<int>(button.bottom, s.height); ++y)
    for (int x = std::max<int>(button.left, 0); x < std::min<int>(button.right, s.width); ++x)
      if (Luma(s.At(x, y)) >= 192) ++light[s.At(x, y)];
  COLORREF face = 0;
  int most = 0;
  for (const auto& [colour, n] : light)
    if (n > most) face = colour, most = n;
  RECT r{button.right, button.bottom, button.left, button.top};
  for (int y = std::max<int>(button.top, 0); y < std::min<int>(button.bottom, s.height); ++y)
    for (int x = std::max<int>(button.left, 0); x < std::min<int>(button.right, s.width); ++x)
      if (Distance(s.At(x, y), face) < 10)
        r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x + 1), std::max<LONG>(r.bottom, y + 1)};
  const int bgLuma = Luma(face);
  auto ink = [&](int x, int y) { return s.Contains(x, y) && Luma(s.At(x, y)) < bgLuma - 60; };
  int left = r.right, top = r.bottom, right = r.left, bottom = r.top;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (ink(x, y)) left = std::min(left, x), top = std::min(top, y), right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
  const int w = right - left, h = bottom - top;
  why = std::string(glyph == Glyph::Close ? "close" : glyph == Glyph::Maximize ? "maximize" : "minimize") + " glyph " + std::to_string(std::max(w, 0)) + "x" + std::to_string(std::max(h, 0));
  if (w <= 0 || h <= 0) return false;
  auto inkNear = [&](int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (ink(x + dx, y + dy)) return true;
    return false;
  };
  const int cx = (left + right - 1) / 2, cy = (top + bottom - 1) / 2;
  switch (glyph) {
    case Glyph::Close:
      return w >= 5 && h >= 5 && std::abs(w - h) <= 2 && inkNear(left, top) && inkNear(right - 1, top) &&
             inkNear(left, bottom - 1) && inkNear(right - 1, bottom - 1) && ink(cx, cy) && !ink(cx, top);
    case Glyph::Maximize: {
      int edge = 0;
      for (int x = left; x < right; ++x) edge += ink(x, top) ? 1 : 0;
      return w >= 6 && h >= 5 && edge * 5 >= w * 4 && !ink(cx, cy) && inkNear(left, bottom - 1) &&
             inkNear(right - 1, bottom - 1);
    }
    case Glyph::Minimize:
      return w >= 4 && h <= 3;
  }
  return false;
}

// Whether the caption "》" of the toggle tab R shows as the two chevrons it is: across most
// scan lines through the glyph, two separate runs of pixels in the text's colour. A bold made
// by smearing the strokes of a font without a bold face merges them into one thick chevron.
bool ShowsTwoStrokes(const Shot& s, const RECT& tab, std::string& why) {
  const RECT r = Inset(tab, 3);  // inside the tab's bevel
  const COLORREF bg = Background(s, r);
  int strongest = 0;
  for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, s.height); ++y)
    for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, s.width); ++x)
      strongest = std::max(strongest, Distance(s.At(x, y), bg));
  if (strongest < 150) {
    why = "no glyph on the toggle tab";
    return false;
  }
  // Text pixels: mostly the text's colour (smoothed edges and gaps lie between).
  auto ink = [&](int x, int y) { return s.Contains(x, y) && Distance(s.At(x, y), bg) * 10 >= strongest * 7; };
  const int left = std::max<int>(r.left, 0), right = std::min<int>(r.right, s.width);
  int rows = 0, split = 0;
  for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, s.height); ++y) {
    int runs = 0;
    for (int x = left; x < right; ++x)
      if (ink(x, y) && (x == left || !ink(x - 1, y))) ++runs;
    if (runs == 0) continue;
    ++rows;
    if (runs >= 2) ++split;
  }
  why = "toggle glyph: " + std::to_string(split) + " of " + std::to_string(rows) + " scan lines show two strokes";
  return rows >= 5 && split * 2 >= rows;
}

// The title-bar button under each hit-test code, in screen coordinates, as the window itself
// answers where they are.
std::map<LRESULT, RECT> CaptionButtons(HWND wnd) {
  RECT wr{};
  GetWindowRect(wnd, &wr);
  const int y = wr.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  std::map<LRESULT, RECT> buttons;
  for (int x = wr.left; x < wr.right; ++x) {
    const LRESULT hit = SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(x, y));
    if (hit != HTCLOSE && hit != HTMAXBUTTON && hit != HTMINBUTTON) continue;
    auto [it, fresh] = buttons.try_emplace(hit, RECT{x, y, x + 1, y + 1});
    it->second.right = x + 1;
  }
  for (auto& [hit, r] : buttons) {
    const int x = (r.left + r.right) / 2;
    while (SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(x, r.top - 1)) == hit) --r.top;
    while (SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(x, r.bottom)) == hit) ++r.bottom;
  }
  return buttons;
}

// Problems of a window's frame in a grab of Outer: its caption text and its title-bar buttons.
void CheckFrame(HWND wnd, const Shot& s, const RECT& outer, std::vector<std::string>& problems) {
  const auto buttons = CaptionButtons(wnd);
  if (!buttons.count(HTCLOSE)) problems.push_back("no close button found");
  const std::pair<LRESULT, Glyph> kinds[] = {
      {HTCLOSE, Glyph::Close}, {HTMAXBUTTON, Glyph::Maximize}, {HTMINBUTTON, Glyph::Minimize}};
  for (const auto& [hit, glyph] : kinds) {
    auto it = buttons.find(hit);
    if (it == buttons.end()) continue;
    std::string why;
    if (!ShowsGlyph(s, Offset(it->second, -outer.left, -outer.top), glyph, why)) problems.push_back("not a symbol: " + why);
  }
  // The caption text between the icon and the buttons.
  RECT wr{};
  GetWindowRect(wnd, &wr);
  const int frame = GetSystemMetrics(SM_CYFRAME);
  RECT caption{wr.left + 24, wr.top + frame, wr.right - 80, wr.top + frame + GetSystemMetrics(SM_CYCAPTION) - 1};
  if (!buttons.empty()) caption.right = std::min(caption.right, buttons.begin()->second.left - 2);
  for (const auto& [hit, r] : buttons) caption.right = std::min(caption.right, r.left - 2);
  if (Ink(s, Offset(caption, -outer.left, -outer.top)) < 20) problems.push_back("no caption text");
}

// Problems common to every grab: missing, or one flat colour.
bool Usable(const std::optional<Shot>& s, std::vector<std::string>& problems) {
  if (!s) {
    problems.push_back("no grab of the display");
    return false;
  }
  if (DistinctColours(*s) < 3) {
    problems.push_back("one flat colour");
    return false;
  }
  return true;
}

void ExpectText(const Shot& s, const RECT& r, const std::string& what, std::vector<std::string>& problems, int least = 15) {
  const int ink = Ink(s, r);
  if (ink < least) problems.push_back("no text in " + what + " (" + std::to_string(ink) + " pixels)");
}

// ---------------------------------------------------------------------------------------
// Looking inside modal loops

HWND FindThreadWindow(const wchar_t* cls) {
  return wintest::FindThreadWindow([cls](HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return std::wcscmp(name, cls) == 0;
  });
}

// Runs Look once the window of class Cls is up inside the modal loop that Open starts, then
// closes it with Close. Look answers whether it is done (false: look again on a later tick,
// e.g. before the window is on the display). Whatever happens, the window is closed by the
// deadline.
class ModalLook {
 public:
  using LookFn = std::function<bool(HWND)>;
  using CloseFn = std::function<void(HWND)>;

  static std::vector<std::string> Run(const wchar_t* cls, const std::function<void()>& open, LookFn look, CloseFn close) {
    ModalLook m{cls, std::move(look), std::move(close), GetTickCount64() + 10000};
    current_ = &m;
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, &ModalLook::Tick);
    open();
    KillTimer(nullptr, timer);
    current_ = nullptr;
    if (!m.seen_) m.problems_.push_back("the window did not appear");
    if (!m.done_) m.problems_.push_back("not looked at before the deadline");
    return m.problems_;
  }

  static std::vector<std::string>& Problems() { return current_->problems_; }

 private:
  ModalLook(const wchar_t* cls, LookFn look, CloseFn close, ULONGLONG deadline)
      : cls_(cls), look_(std::move(look)), close_(std::move(close)), deadline_(deadline) {}

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalLook* m = current_;
    if (!m || m->closing_ || m->busy_) return;
    HWND wnd = FindThreadWindow(m->cls_);
    if (!wnd) {
      if (GetTickCount64() > m->deadline_) {
        // Whatever modal window came up instead goes too.
        m->closing_ = true;
        EndMenu();
        if (HWND active = GetActiveWindow()) PostMessageW(active, WM_CLOSE, 0, 0);
      }
      return;
    }
    m->seen_ = true;
    m->busy_ = true;
    if (!m->done_ && GetTickCount64() <= m->deadline_) m->done_ = m->look_(wnd);
    m->busy_ = false;
    if (m->done_ || GetTickCount64() > m->deadline_) {
      m->closing_ = true;
      m->close_(wnd);
    }
  }

  const wchar_t* cls_;
  LookFn look_;
  CloseFn close_;
  ULONGLONG deadline_;
  bool seen_ = false, done_ = false, closing_ = false, busy_ = false;
  std::vector<std::string> problems_;
  static inline ModalLook* current_ = nullptr;
};

// A message box closed as its Cancel (or only) button would.
void CloseBox(HWND box) {
  const int id = GetDlgItem(box, IDCANCEL) ? IDCANCEL : IDOK;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

String WindowText(HWND wnd) {
  wchar_t text[512] = {};
  GetWindowTextW(wnd, text, 512);
  return text;
}

// The message-box check: frame, caption, the message text (handed back in ShownText) and the
// buttons' captions, all as the display shows them. A grab taken before the box has reached
// the display shows the window below it; the box is looked at again until the deadline.
ModalLook::LookFn LookAtBox(const std::string& name, String* shownText) {
  return [=](HWND box) {
    RECT br{};
    GetWindowRect(box, &br);
    const std::optional<Shot> s = Grab(br, name);
    std::vector<std::string> problems;
    if (Usable(s, problems)) {
      CheckFrame(box, *s, br, problems);
      HWND message = nullptr;
      for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(c, cls, 32);
        if (_wcsicmp(cls, L"Static") == 0 && !WindowText(c).empty()) message = c;
        if (_wcsicmp(cls, L"Button") == 0) ExpectText(*s, Inset(Within(c, br), 3), "a button", problems);
      }
      if (!message) {
        problems.push_back("no message text window");
      } else {
        *shownText = WindowText(message);
        ExpectText(*s, Within(message, br), "the message", problems, 40);
      }
    }
    // A grab taken before the box reached the display fails: the last look's verdict counts.
    ModalLook::Problems() = problems;
    return problems.empty();
  };
}

// ---------------------------------------------------------------------------------------
// The fixture: the program's units without the message-box seam, so the real boxes show.

class ScreenEnvironment : public MainWindowEnvironment {
 public:
  void SetUp() override {
    MainWindowEnvironment::SetUp();
    vcl::SetMessageBoxFunction(nullptr);
  }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ScreenEnvironment);

class ScreenTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // Nothing of the web menu's pages or the countdown may move the window meanwhile.
    form->tmr1->SetEnabled(false);
    SetForegroundWindow(form->Handle());
    Settle();
  }

  // Lets the window paint and reach the display.
  static void Settle() {
    for (int i = 0; i < 5; ++i) {
      Pump();
      Sleep(20);
    }
  }

  // A grab of the screen rectangle of a window, looked at until it passes or the deadline.
  std::vector<std::string> LookAt(HWND wnd, const std::string& name,
                                  const std::function<void(const Shot&, const RECT&, std::vector<std::string>&)>& check) {
    std::vector<std::string> problems;
    const ULONGLONG deadline = GetTickCount64() + 10000;
    do {
      problems.clear();
      Settle();
      RECT r{};
      GetWindowRect(wnd, &r);
      const std::optional<Shot> s = Grab(r, name);
      if (Usable(s, problems)) check(*s, r, problems);
    } while (!problems.empty() && GetTickCount64() < deadline);
    return problems;
  }

  // Shows the related-sales sheet with its add button, as a click on its section button does.
  void ShowSheet(vcl::TSpeedButton* button) {
    button->Click();
    Settle();
  }

  // Runs a message box raised by Press(button) and answers what it showed.
  std::vector<std::string> LookAtBoxOf(vcl::TButton* button, const String& expected, const std::string& name) {
    String shown;
    std::vector<std::string> problems =
        ModalLook::Run(L"#32770", [&] { Press(button); }, LookAtBox(name, &shown), CloseBox);
    if (shown != expected) problems.push_back("message \"" + Utf8(shown) + "\", not \"" + Utf8(expected) + "\"");
    return problems;
  }
};

// ---------------------------------------------------------------------------------------

TEST_F(ScreenTest, MainWindowIsDrawnWithItsFrameMenuHeadingsAndToggleTab) {
  const auto problems = LookAt(form->Handle(), "main_window", [&](const Shot& s, const RECT& r, auto& p) {
    CheckFrame(form->Handle(), s, r, p);
    for (int i = 0; i < GetMenuItemCount(GetMenu(form->Handle())); ++i) {
      RECT item{};
      GetMenuItemRect(form->Handle(), GetMenu(form->Handle()), i, &item);
      ExpectText(s, Offset(item, -r.left, -r.top), "menu item " + std::to_string(i), p);
    }
    for (const wchar_t* heading : {L"pnl32", L"pnl24", L"pnl29"})
      ExpectText(s, Within(static_cast<vcl::TWinControl*>(form->FindComponent(heading))->Handle(), r),
                 Utf8(heading), p, 40);
    ExpectText(s, Within(form->pnl18->Handle(), r), "the toggle tab", p, 8);
    std::string why;
    if (!ShowsTwoStrokes(s, Within(form->pnl18->Handle(), r), why)) p.push_back(why);
    ExpectText(s, Within(form->rg1->Handle(), r), "the shop type", p, 40);
  });
  EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
}

TEST_F(ScreenTest, EveryEditorSheetIsDrawn) {
  vcl::TSpeedButton* const buttons[] = {
      form->btnguanlian, form->btnfengetiao, form->btnyouhuiquan, form->btndapei,
      form->btncanshu, form->btnchima, form->btnzhanshi, form->btnxijie,
      form->btnyangshi, form->btnjiaoliu, form->btnzidingyi,
  };
  for (vcl::TSpeedButton* button : buttons) {
    ShowSheet(button);
    const auto problems = LookAt(form->pnl4->Handle(), "sheet_" + Utf8(button->Name()), [&](const Shot& s, const RECT& r, auto& p) {
      ExpectText(s, Within(form->pgc1->Handle(), r), "the sheet", p, 200);
      ExpectText(s, Within(form->btn2->Handle(), r), "the assemble button", p);
    });
    EXPECT_TRUE(problems.empty()) << Utf8(button->Name()) << ": " << ::testing::PrintToString(problems);
  }
}

// Every box goes through the system's message box: one with two buttons, one with a long text.
TEST_F(ScreenTest, MessageBoxesAreDrawn) {
  ShowSheet(form->btnfengetiao);
  auto problems = LookAtBoxOf(form->btntianjia, L"确定添加该板块？", "box_add");
  EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
  EXPECT_EQ(form->lv1->Items()->Count(), 0) << "the box was cancelled";
  problems = LookAtBoxOf(form->btn2, L"所有代码已经提交完毕，可以通过右侧预览区查看总体样式！", "box_assemble");
  EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
}

TEST_F(ScreenTest, SectionListPopupMenuIsDrawn) {
  ShowSheet(form->btnguanlian);
  RECT list{};
  GetWindowRect(form->lv1->Handle(), &list);
  auto look = [&](HWND menu) {
    RECT mr{};
    GetWindowRect(menu, &mr);
    const std::optional<Shot> s = Grab(mr, "popup_menu");
    std::vector<std::string> problems;
    if (Usable(s, problems)) {
      HMENU items = form->pm1->Handle();
      for (int i = 0; i < GetMenuItemCount(items); ++i) {
        if (GetMenuState(items, i, MF_BYPOSITION) & MF_SEPARATOR) continue;
        RECT item{};
        if (!GetMenuItemRect(nullptr, items, i, &item)) {
          problems.push_back("no rectangle for item " + std::to_string(i));
          continue;
        }
        ExpectText(*s, Offset(item, -mr.left, -mr.top), "item " + std::to_string(i), problems);
      }
    }
    ModalLook::Problems() = problems;
    return problems.empty();
  };
  const auto problems = ModalLook::Run(
      L"#32768", [&] { form->pm1->Popup(list.left + 40, list.top + 40); }, look, [](HWND) { EndMenu(); });
  EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
}

TEST_F(ScreenTest, ColourDialogIsDrawn) {
  ShowSheet(form->btnfengetiao);
  auto look = [&](HWND dialog) {
    RECT dr{};
    GetWindowRect(dialog, &dr);
    const std::optional<Shot> s = Grab(dr, "colour_dialog");
    std::vector<std::string> problems;
    if (Usable(s, problems)) {
      CheckFrame(dialog, *s, dr, problems);
      if (DistinctColours(*s) < 40) problems.push_back("the colour grid is not there");
      ExpectText(*s, Within(GetDlgItem(dialog, IDOK), dr), "the OK button", problems);
    }
    ModalLook::Problems() = problems;
    return problems.empty();
  };
  const String before = form->edt1->Text();
  const auto problems = ModalLook::Run(
      L"#32770", [&] { form->edt1DblClick(form->edt1); }, look,
      [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); });
  EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
  EXPECT_EQ(Utf8(form->edt1->Text()), Utf8(before)) << "cancelled";
}

}  // namespace
}  // namespace composer::testing
