// The gallery's windows as the X display shows them: the MDI frame once the classic skin is
// taken away from the Skin menu and brought back, the layered page's sheet of sections after the
// same, and the layered page's sample hint, which has no timeout: it goes with the page when it
// is minimised or hidden, comes back where it stood when the page is restored or shown, follows
// the page's moves, comes back once a title-bar item's hint that took its window goes, and
// stays in view as the page takes clicks and as its focus moves; and the border windows of the
// skin's extended borders, which stand right over their own windows as the page and a dialog of
// its own take turns in front. The MDI frame's test comes first: it needs the frame to be the
// application's main form.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "classlib/forms/ScrollBox.h"
#include "classlib/rtl/ScopeExit.h"
#include "classlib/stdctrls/ListBox.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "gallery/GalleryForms.h"
#include "gallery/GalleryLayered.h"
#include "gallery/gallery_support.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/paint/HintManager.h"
#include "skin_layered/paint/HintShowTimer.h"
#include "skin_layered/paint/HintWindows.h"
#include "support/screen_grab.h"
#include "support/win_test_support.h"

namespace gallery::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// The hint manager's layered form while it shows a hint whose fade has ended; none else.
std::optional<RECT> HintShown() {
  skin_layered::TsHintManager* hints = skin_layered::HintManager();
  if (!hints || !hints->HintForm() || !hints->HintForm()->HandleAllocated()) return std::nullopt;
  HWND form = hints->HintForm()->Handle();
  if (!IsWindowVisible(form) || (hints->ShowTimer() && !hints->ShowTimer()->Finished())) return std::nullopt;
  RECT r{};
  GetWindowRect(form, &r);
  return r;
}

// The layered page under Lagoon, made by the application as in the gallery; hidden and freed
// with the test, its hint manager with it, so that the next test's page has the program's.
struct PageFree {
  void operator()(TGalleryLayered* Page) const {
    Page->Hide();
    vcl::TObject::Free(Page);
  }
};
using LagoonPage = std::unique_ptr<TGalleryLayered, PageFree>;

LagoonPage NewLagoonPage() {
  TGalleryLayered::SetPageSource(LayeredSourceOf(SampleLayeredFolder() + L"\\Lagoon"));
  return LagoonPage(vcl::Application->CreateForm<TGalleryLayered>());
}

// Shows the page and its sample hint: where the hint stands once its fade has ended.
std::optional<RECT> ShowWithSampleHint(TGalleryLayered* Page) {
  Page->Show();
  wintest::PumpUntilIdle();
  Page->ShowSampleHint();
  if (!wintest::PumpUntil([] { return HintShown().has_value(); })) return std::nullopt;
  wintest::PumpUntilIdle();
  return HintShown();
}

bool SameRect(const RECT& A, const RECT& B) {
  return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}

// The share (0 to 1) of the rectangle the display shows in the hint's pale yellow, a colour
// neither the page's face nor the desktop has.
double HintColourShare(const RECT& R, const std::string& Name) {
  const std::optional<wintest::Shot> shot = wintest::Grab(R, Name);
  if (!shot) return -1;
  int yellow = 0;
  for (int y = 0; y < shot->height; ++y)
    for (int x = 0; x < shot->width; ++x) {
      const COLORREF c = shot->At(x, y);
      yellow += GetRValue(c) > 230 && GetGValue(c) > 230 && GetBValue(c) + 12 < GetRValue(c) ? 1 : 0;
    }
  return static_cast<double>(yellow) / (shot->width * shot->height);
}

// Whether the display comes to show the hint's colour over much of R (with Shown false: over
// hardly any of it). The display follows what the windows did a moment later, and the desktop
// behind a hint that went is painted by another process: each is waited for, within the
// usual bound.
bool DisplayShowsHint(const RECT& R, const std::string& Name, bool Shown = true) {
  return wintest::PumpUntil([&] {
    const double share = HintColourShare(R, Name);
    return Shown ? share > 0.3 : share >= 0 && share < 0.05;
  });
}

// The window's title bar as the display shows it: a strip left of its buttons.
std::vector<COLORREF> TitleStrip(HWND Window) {
  RECT r{};
  GetWindowRect(Window, &r);
  const std::optional<wintest::Shot> shot =
      wintest::Grab({r.left + 24, r.top + 4, r.left + 160, r.top + 14}, "title");
  std::vector<COLORREF> pixels;
  if (shot)
    for (int y = 0; y < shot->height; ++y)
      for (int x = 0; x < shot->width; ++x) pixels.push_back(shot->At(x, y));
  return pixels;
}

// The share (0 to 1) of pixels two strips of one size have alike.
double Alike(const std::vector<COLORREF>& A, const std::vector<COLORREF>& B) {
  if (A.empty() || A.size() != B.size()) return 0;
  size_t same = 0;
  for (size_t i = 0; i < A.size(); ++i) same += A[i] == B[i] ? 1 : 0;
  return static_cast<double>(same) / static_cast<double>(A.size());
}

// A Skin menu item of the gallery's main form chosen with the keyboard, as a user does: Alt+S,
// then its accelerator.
void ChooseSkinItem(vcl::TForm* Main, const wchar_t* Name, wchar_t Key) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Main->FindComponent(Name));
  ASSERT_TRUE(item);
  PostMessageW(Main->Handle(), WM_SYSCOMMAND, SC_KEYMENU, L's');
  PostMessageW(Main->Handle(), WM_KEYDOWN, Key, 0);
  PostMessageW(Main->Handle(), WM_KEYUP, Key, 0);
  ASSERT_TRUE(wintest::PumpUntil([item] { return item->Checked(); }));
  wintest::PumpUntilIdle();
}

TEST(GalleryMdiFrame, TheSkinTakenAwayLeavesNoTraceAndBroughtBackSkinsTheDocumentsAgain) {
  auto* frame = vcl::Application->CreateForm<TGalleryMdiFrame>();
  auto* main = vcl::Application->CreateForm<TGalleryMain>();
  // Freed with the test, so that a later test's first form is the main form again.
  const vcl::TScopeExit freed([frame, main] {
    vcl::TObject::Free(frame);
    vcl::TObject::Free(main);
  });
  ASSERT_EQ(vcl::Application->MainForm(), frame);
  main->WearClassicSkin(std::nullopt);
  frame->SetBounds(700, 40, 700, 500);
  main->Show();
  main->ShowMdiWindows();
  wintest::PumpUntilIdle();
  HWND client = frame->ClientHandle();
  ASSERT_TRUE(client);
  ASSERT_EQ(frame->MDIChildCount(), 2);
  HWND document = frame->MDIChildren(0)->Handle();
  const std::vector<COLORREF> skinnedTitle = TitleStrip(document);
  ASSERT_FALSE(skinnedTitle.empty());
  // The main form in front: the frame and both documents (one behind the other) stand
  // inactive behind it.
  SetForegroundWindow(main->Handle());
  ASSERT_TRUE(wintest::PumpUntil([main] { return GetActiveWindow() == main->Handle(); }));
  wintest::PumpUntil([] { return false; }, wintest::Deadline{500});
  HWND other = frame->MDIChildren(1)->Handle();
  ASSERT_NE(reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)), other);
  const std::vector<COLORREF> frameTitle = TitleStrip(frame->Handle()), documentTitle = TitleStrip(document),
                              otherTitle = TitleStrip(other);

  // Taken away: the frame gets the system's frame and menu bar, and the display shows the
  // client's face in the system's work-space colour from its first row on (right of the
  // documents).
  ChooseSkinItem(main, L"NoSkinItem", 'N');
  // The display follows what the windows drew a moment later.
  wintest::PumpUntil([] { return false; }, wintest::Deadline{1000});
  EXPECT_LT(Alike(TitleStrip(document), skinnedTitle), 0.5);
  RECT r{};
  GetClientRect(client, &r);
  POINT corner{r.right - 60, 0};
  ClientToScreen(client, &corner);
  const std::optional<wintest::Shot> shot =
      wintest::Grab({corner.x, corner.y, corner.x + 40, corner.y + 12}, "mdi-unskinned");
  ASSERT_TRUE(shot);
  const COLORREF face = GetSysColor(COLOR_APPWORKSPACE);
  std::vector<std::string> others;
  for (int y = 0; y < shot->height; ++y)
    for (int x = 0; x < shot->width; ++x)
      if (const COLORREF c = shot->At(x, y); c != face) {
        char text[48];
        std::snprintf(text, sizeof text, "row %d: %06lx", y, static_cast<unsigned long>(c));
        others.push_back(text);
        break;
      }
  EXPECT_EQ(others, std::vector<std::string>{});

  // Brought back (from the item: the unskinned form's menu bar is the system's own): the
  // documents wear it as before, not the system's title bars.
  auto* sample = dynamic_cast<vcl::TMenuItem*>(main->FindComponent(L"SampleSkinItem"));
  ASSERT_TRUE(sample);
  sample->Click();
  EXPECT_TRUE(wintest::PumpUntil([&] { return Alike(TitleStrip(document), documentTitle) > 0.9; }))
      << "a document keeps the system's look, or looks active";
  // The other windows look inactive as before, not active.
  wintest::PumpUntilIdle();
  EXPECT_GT(Alike(TitleStrip(frame->Handle()), frameTitle), 0.9) << "the frame's title";
  EXPECT_GT(Alike(TitleStrip(other), otherTitle), 0.9) << "the other document's title";
}

// The skin taken away from the Skin menu and brought back: the sections' sheet comes back into
// its scroll box, whose bar comes with it, and the display shows the skin's bar there as
// before, not the one the system draws as the bar's range is set.
TEST(GalleryLayeredPage, TheSkinBroughtBackGivesTheSheetsBoxTheSkinsBar) {
  const LagoonPage owned = NewLagoonPage();
  TGalleryLayered* page = owned.get();
  // The pointer away from the page: no hot bar.
  SetCursorPos(1900, 1060);
  page->Show();
  wintest::PumpUntilIdle();
  vcl::TScrollBox* box = nullptr;
  for (int i = 0; i < page->ComponentCount() && !box; ++i)
    if (auto* b = dynamic_cast<vcl::TScrollBox*>(page->Components(i)))
      for (int j = 0; j < b->ControlCount(); ++j)
        if (dynamic_cast<TSectionSheet*>(b->Controls(j))) box = b;
  ASSERT_TRUE(box);
  ASSERT_TRUE(GetWindowLongPtrW(box->Handle(), GWL_STYLE) & WS_VSCROLL);
  RECT r{};
  GetWindowRect(box->Handle(), &r);
  // The right strip of the box: its vertical bar and frame.
  const RECT strip{r.right - 24, r.top, r.right, r.bottom};
  auto grabStrip = [&strip](const char* name) {
    std::vector<COLORREF> pixels;
    if (const std::optional<wintest::Shot> shot = wintest::Grab(strip, name))
      for (int y = 0; y < shot->height; ++y)
        for (int x = 0; x < shot->width; ++x) pixels.push_back(shot->At(x, y));
    return pixels;
  };
  wintest::PumpUntil([] { return false; }, wintest::Deadline{500});
  const std::vector<COLORREF> skinned = grabStrip("sheet-bar-skinned");
  ASSERT_FALSE(skinned.empty());

  auto* menu = dynamic_cast<vcl::TMenu*>(page->Menu());
  ASSERT_TRUE(menu);
  vcl::TMenuItem* skins = menu->Items()->Items(0);
  vcl::TMenuItem *none = nullptr, *lagoon = nullptr;
  for (int i = 0; i < skins->Count(); ++i) {
    vcl::TMenuItem* item = skins->Items(i);
    if (item->Caption() == L"&No skin") none = item;
    if (item->Checked() && !lagoon) lagoon = item;
  }
  ASSERT_TRUE(none && lagoon && lagoon != none);
  none->Click();
  wintest::PumpUntilIdle();
  ASSERT_FALSE(GetWindowLongPtrW(box->Handle(), GWL_STYLE) & WS_VSCROLL) << "the sheet stays without the skin";
  lagoon->Click();
  wintest::PumpUntilIdle();
  ASSERT_TRUE(GetWindowLongPtrW(box->Handle(), GWL_STYLE) & WS_VSCROLL);
  // The display follows what the windows drew a moment later.
  wintest::PumpUntil([] { return false; }, wintest::Deadline{1000});
  EXPECT_GT(Alike(grabStrip("sheet-bar-back"), skinned), 0.9) << "the bar is the system's";
}

// The manager's one hint window shows a title-bar item's hint in place of the sample while the
// mouse rests on the item; once the mouse goes on and the item's hint goes, the sample comes
// back where it stood.
TEST(GallerySampleHint, ComesBackWhenATitleBarItemsHintGoes) {
  const LagoonPage owned = NewLagoonPage();
  TGalleryLayered* page = owned.get();
  const std::optional<RECT> shown = ShowWithSampleHint(page);
  ASSERT_TRUE(shown.has_value());
  const RECT first = *shown;
  skin_layered::TsHintManager* hints = skin_layered::HintManager();
  auto hintText = [hints] {
    skin_layered::TqvPngHintWindow* window = hints->PngHintWindow();
    return window && window->HandleAllocated() && IsWindowVisible(window->Handle()) ? window->HintText()
                                                                                     : vcl::String();
  };
  ASSERT_EQ(hintText(), L"A hint of the hint manager");

  // The title bar's item with a hint, reached by the frame's messages as the system sends them.
  skin_layered::TqvTitleBarItem* item = nullptr;
  int index = -1;
  for (int i = 0; i < page->ComponentCount() && !item; ++i)
    if (auto* bar = dynamic_cast<skin_layered::TsTitleBar*>(page->Components(i)))
      for (int j = 0; j < bar->Items()->Count(); ++j)
        if (!bar->Items()->Items(j)->Hint().empty()) {
          item = bar->Items()->Items(j);
          index = j;
        }
  ASSERT_TRUE(item);
  HWND wnd = page->Handle();
  auto moveOnto = [wnd](vcl::TPoint p) {
    const LPARAM at = MAKELPARAM(p.X, p.Y);
    SendMessageW(wnd, WM_NCMOUSEMOVE, static_cast<WPARAM>(SendMessageW(wnd, WM_NCHITTEST, 0, at)), at);
  };
  const vcl::TRect itemRect = item->ScreenRect();
  const vcl::TPoint onItem((itemRect.Left + itemRect.Right) / 2, (itemRect.Top + itemRect.Bottom) / 2);
  ASSERT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(onItem.X, onItem.Y)), 2000 + index);
  const int pause = vcl::Application->HintPause();
  vcl::Application->SetHintPause(0);
  moveOnto(onItem);
  vcl::Application->SetHintPause(pause);
  ASSERT_EQ(hintText(), item->Hint());

  // On to the caption, left of the items: the item's hint goes and the sample is back.
  RECT window{};
  GetWindowRect(wnd, &window);
  moveOnto(vcl::TPoint((window.left + itemRect.Left) / 2, onItem.Y));
  EXPECT_TRUE(wintest::PumpUntil([&] { return hintText() == L"A hint of the hint manager"; }))
      << "the sample hint did not come back";
  EXPECT_TRUE(wintest::PumpUntil([&] {
    const std::optional<RECT> r = HintShown();
    return r && SameRect(*r, first);
  }));
  wintest::PumpUntilIdle();
  EXPECT_TRUE(DisplayShowsHint(first, "sample-hint-back"));
}

// A real click (through the system's input) at a screen point, the pointer moved there and
// settled first (hold a PointerLock). Moving the pointer, Wine holds the X pointer grabbed for a
// moment, and its desktop process reports the grab's crossing with the place the pointer left:
// a press made at once may land there (on the caption the click before pressed: a double click
// that maximises the page), or a move from there drag the page while the button is down.
bool ClickAt(POINT At) {
  if (!wintest::MovePointer(At.x, At.y)) return false;
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  return SendInput(2, input, sizeof(INPUT)) == 2;
}

// The page takes clicks into its controls, into itself and on its caption: the display keeps
// showing the sample hint over it after each.
TEST(GallerySampleHint, StaysInViewAsThePageTakesClicks) {
  const LagoonPage owned = NewLagoonPage();
  TGalleryLayered* page = owned.get();
  const std::optional<RECT> shown = ShowWithSampleHint(page);
  ASSERT_TRUE(shown.has_value());
  const RECT hint = *shown;
  ASSERT_TRUE(DisplayShowsHint(hint, "sample-hint-before-clicks"));
  vcl::TMemo* memo = nullptr;
  vcl::TListBox* list = nullptr;
  for (int i = 0; i < page->ComponentCount(); ++i) {
    if (!memo) memo = dynamic_cast<vcl::TMemo*>(page->Components(i));
    if (!list) list = dynamic_cast<vcl::TListBox*>(page->Components(i));
  }
  ASSERT_TRUE(memo && list);
  RECT window{};
  GetWindowRect(page->Handle(), &window);
  auto centre = [](vcl::TWinControl* Control) {
    RECT r{};
    GetWindowRect(Control->Handle(), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  const struct {
    const char* name;
    POINT at;
  } clicks[] = {
      {"memo", centre(memo)},
      {"list", centre(list)},
      {"caption", POINT{(window.left + window.right) / 2, window.top + 8}},
      {"memo-again", centre(memo)},
  };
  const wintest::PointerLock pointer;
  for (const auto& click : clicks) {
    SCOPED_TRACE(click.name);
    ASSERT_TRUE(ClickAt(click.at)) << "the pointer did not reach the point";
    wintest::PumpUntilIdle();
    // A click that went astray would move or maximise the page, and its hint with it.
    RECT now{};
    GetWindowRect(page->Handle(), &now);
    EXPECT_TRUE(SameRect(now, window)) << "the page moved or changed its size";
    EXPECT_TRUE(HintShown().has_value());
    EXPECT_TRUE(DisplayShowsHint(hint, std::string("sample-hint-after-") + click.name)) << "the page covers the hint";
  }
  SetCursorPos(1900, 1060);
}

// A focus change, set by the program and by the keyboard (Tab in a control far from the hint,
// through the program's message loop), leaves the sample hint in view where it stood, as does a
// key that moves no focus: the display stacked the page over the hint at a focus change, and
// the hint came back only with a click into the page.
TEST(GallerySampleHint, StaysInViewThroughFocusChanges) {
  const LagoonPage owned = NewLagoonPage();
  TGalleryLayered* page = owned.get();
  const std::optional<RECT> shown = ShowWithSampleHint(page);
  ASSERT_TRUE(shown.has_value());
  const RECT hint = *shown;
  ASSERT_TRUE(DisplayShowsHint(hint, "sample-hint-before-focus"));
  vcl::TMemo* memo = nullptr;
  for (int i = 0; i < page->ComponentCount() && !memo; ++i) memo = dynamic_cast<vcl::TMemo*>(page->Components(i));
  ASSERT_TRUE(memo);
  auto inView = [&](const std::string& Name) {
    wintest::PumpUntilIdle();
    EXPECT_TRUE(wintest::PumpUntil([&] {
      const std::optional<RECT> r = HintShown();
      return r && SameRect(*r, hint);
    })) << "the hint went";
    EXPECT_TRUE(DisplayShowsHint(hint, "sample-hint-after-" + Name)) << "the page covers the hint";
  };
  memo->SetFocus();
  ASSERT_TRUE(wintest::PumpUntil([&] { return GetFocus() == memo->Handle(); }));
  inView("set-focus");
  for (int step = 1; step <= 2; ++step) {
    SCOPED_TRACE("Tab " + std::to_string(step));
    const HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0);
    vcl::Application->ProcessMessages();
    ASSERT_TRUE(wintest::PumpUntil([&] { return GetFocus() != focus; })) << "Tab moved no focus";
    inView("tab-" + std::to_string(step));
  }
  memo->SetFocus();
  ASSERT_TRUE(wintest::PumpUntil([&] { return GetFocus() == memo->Handle(); }));
  wintest::PumpUntilIdle();
  PostMessageW(memo->Handle(), WM_KEYDOWN, VK_END, 0);
  vcl::Application->ProcessMessages();
  EXPECT_EQ(GetFocus(), memo->Handle());
  inView("key");
}

TEST(GallerySampleHint, GoesWithThePageAndComesBackWhereItStoodAsTheDisplayShows) {
  // Freed with the test: a page left behind would keep the program's hint manager, and the
  // next page's hints would tell it, not the next page, when they go.
  const LagoonPage owned = NewLagoonPage();
  TGalleryLayered* page = owned.get();
  const std::optional<RECT> shown = ShowWithSampleHint(page);
  ASSERT_TRUE(shown.has_value());
  const RECT first = *shown;
  ASSERT_TRUE(DisplayShowsHint(first, "sample-hint-shown"));
  HWND wnd = page->Handle();

  // Minimised as its title button does it: the hint goes with the page.
  PostMessageW(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(wintest::PumpUntil([wnd] { return IsIconic(wnd) != FALSE; }));
  EXPECT_TRUE(wintest::PumpUntil([] { return !skin_layered::HintManager()->HintForm(); }))
      << "the hint stays on the desktop";
  EXPECT_TRUE(DisplayShowsHint(first, "sample-hint-minimised", false));

  // Restored: back where it stood, over the page.
  PostMessageW(wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(wintest::PumpUntil([wnd] { return !IsIconic(wnd); }));
  ASSERT_TRUE(wintest::PumpUntil([] { return HintShown().has_value(); })) << "the hint did not come back";
  wintest::PumpUntilIdle();
  EXPECT_TRUE(SameRect(*HintShown(), first));
  EXPECT_TRUE(DisplayShowsHint(first, "sample-hint-restored")) << "the page covers the hint";

  // The page moved: the hint keeps its place below the panel.
  page->SetBounds(page->Left() + 30, page->Top() + 20, page->Width(), page->Height());
  const RECT moved{first.left + 30, first.top + 20, first.right + 30, first.bottom + 20};
  EXPECT_TRUE(wintest::PumpUntil([&] {
    const std::optional<RECT> r = HintShown();
    return r && SameRect(*r, moved);
  }));
  EXPECT_TRUE(DisplayShowsHint(moved, "sample-hint-moved"));

  // Hidden: it goes, and asked for meanwhile it waits for the page. (Shown again, Wine's
  // display keeps the page over it until the top-most windows are stacked anew: the windows'
  // order is checked instead.)
  page->Hide();
  EXPECT_TRUE(wintest::PumpUntil([] { return !skin_layered::HintManager()->HintForm(); }));
  page->ShowSampleHint();
  wintest::PumpUntilIdle();
  EXPECT_FALSE(skin_layered::HintManager()->HintForm()) << "shown with the page hidden";
  page->Show();
  EXPECT_TRUE(wintest::PumpUntil([&] {
    const std::optional<RECT> r = HintShown();
    return r && SameRect(*r, moved);
  }));
}


// A dialog of the page's own, through the page's dialog hook: a caption and a frame, its client
// taken by a child of a class of its own that paints itself magenta, a colour neither the page
// nor the skin's frames have.
constexpr COLORREF kCanvas = RGB(255, 0, 255);

LRESULT CALLBACK CanvasProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_ERASEBKGND) return 1;
  if (Msg == WM_PAINT) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(Wnd, &ps);
    HBRUSH brush = CreateSolidBrush(kCanvas);
    FillRect(dc, &ps.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(Wnd, &ps);
    return 0;
  }
  return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

INT_PTR CALLBACK CanvasDialogProc(HWND Wnd, UINT Msg, WPARAM, LPARAM) {
  if (Msg != WM_SIZE) return Msg == WM_INITDIALOG;
  RECT client{};
  GetClientRect(Wnd, &client);
  if (const HWND canvas = GetDlgItem(Wnd, 100)) MoveWindow(canvas, 0, 0, client.right, client.bottom, TRUE);
  return TRUE;
}

HWND NewCanvasDialog(HWND Owner, const RECT& Bounds) {
  static const ATOM canvasClass = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CanvasProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ScrivaneTestCanvas";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    return RegisterClassW(&wc);
  }();
  if (!canvasClass) return nullptr;
  std::vector<std::uint8_t> bytes;
  auto put = [&](const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
  };
  auto word = [&](WORD w) { put(&w, sizeof w); };
  auto text = [&](const wchar_t* s) { put(s, (wcslen(s) + 1) * sizeof(wchar_t)); };
  DLGTEMPLATE t{};
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT;
  t.cdit = 1;
  t.cx = 100;
  t.cy = 60;
  put(&t, sizeof t);
  word(0), word(0), text(L"A covered dialog");
  word(9), text(L"MS Shell Dlg");
  while (bytes.size() % 4) bytes.push_back(0);
  DLGITEMTEMPLATE item{WS_CHILD | WS_VISIBLE, 0, 0, 0, 100, 60, 100};
  put(&item, sizeof item);
  text(L"ScrivaneTestCanvas"), text(L""), word(0);
  std::vector<DWORD> aligned((bytes.size() + 3) / 4);
  std::memcpy(aligned.data(), bytes.data(), bytes.size());
  const HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(aligned.data()),
                                              Owner, CanvasDialogProc, 0);
  if (!dlg) return nullptr;
  SetWindowPos(dlg, nullptr, Bounds.left, Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(dlg, SW_SHOW);
  return dlg;
}

// The shown border window (of the skin's extended borders) a window owns; nil for none.
HWND BorderWindowOf(HWND Owner) {
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    if (GetWindow(w, GW_OWNER) == Owner && IsWindowVisible(w) && std::wstring(name) == L"TqvBorderWindow") return w;
  }
  return nullptr;
}

// The next shown window below (GW_HWNDNEXT) or above (GW_HWNDPREV) Wnd.
HWND NextShown(HWND Wnd, UINT Direction) {
  HWND w = GetWindow(Wnd, Direction);
  while (w && !IsWindowVisible(w)) w = GetWindow(w, Direction);
  return w;
}

// The window's border window stands right beside it: no shown window between them.
bool BorderBesideItsWindow(HWND Wnd) {
  const HWND border = BorderWindowOf(Wnd);
  return border && (NextShown(border, GW_HWNDNEXT) == Wnd || NextShown(border, GW_HWNDPREV) == Wnd);
}

// The share (0 to 1) of the display's pixels in R that are the canvas's magenta.
double CanvasShare(const RECT& R, const std::string& Name) {
  const std::optional<wintest::Shot> shot = wintest::Grab(R, Name);
  if (!shot) return -1;
  int magenta = 0;
  for (int y = 0; y < shot->height; ++y)
    for (int x = 0; x < shot->width; ++x) magenta += shot->At(x, y) == kCanvas ? 1 : 0;
  return static_cast<double>(magenta) / (shot->width * shot->height);
}

std::vector<COLORREF> Pixels(const RECT& R, const std::string& Name) {
  std::vector<COLORREF> pixels;
  if (const std::optional<wintest::Shot> shot = wintest::Grab(R, Name))
    for (int y = 0; y < shot->height; ++y)
      for (int x = 0; x < shot->width; ++x) pixels.push_back(shot->At(x, y));
  return pixels;
}

// The shown top-level windows from the top, each by its text, or its owner's with "frame of"
// for a border window: what a failure names.
std::string Stacking() {
  auto text = [](HWND Wnd) {
    wchar_t t[64] = {};
    GetWindowTextW(Wnd, t, 63);
    std::string s;
    for (const wchar_t* c = t; *c; ++c) s += *c < 128 ? static_cast<char>(*c) : '?';
    return s;
  };
  std::string out;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (!IsWindowVisible(w)) continue;
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    out += "[" + (std::wstring(name) == L"TqvBorderWindow" ? "frame of " + text(GetWindow(w, GW_OWNER)) : text(w)) + "] ";
  }
  return out;
}

RECT Shifted(const RECT& R, int Dx) { return {R.left + Dx, R.top, R.right + Dx, R.bottom}; }

// With the skin's extended borders a border window stands right over its own window in the
// system's order and on the display: the page's and its dialog's, extended borders switched on
// with the page in front of its dialog and with the dialog in front, and the page and the
// dialog clicked, the page clicked where it covers the dialog's caption and moved afterwards;
// without extended borders there are none. Where the page covers the dialog the display
// shows the page, not the dialog's frame floating over it (its caption strip, outline and
// title buttons, which took the clicks meant for the page away from neither); where the
// dialog stands in front of the page it shows the dialog, not the page's frame over it.
TEST(GalleryExtendedBorders, BorderWindowsStayBesideTheirWindowsAsThePageAndItsDialogTakeTurns) {
  const LagoonPage owned = NewLagoonPage();
  TGalleryLayered* page = owned.get();
  page->SetBounds(40, 40, page->Width(), page->Height());
  page->Show();
  wintest::PumpUntilIdle();
  const HWND wnd = page->Handle();
  RECT at{};
  GetWindowRect(wnd, &at);
  // The dialog reaches out of the page on the right (where it is clicked) over the page's
  // right edge; R3 is a strip of its caption over the page, R one of its canvas over the page,
  // R2 one of its canvas over the page's right edge and the page's border window.
  const RECT bounds{at.right - 420, at.top + 140, at.right + 240, at.top + 460};
  const RECT r3{bounds.left + 40, bounds.top + 2, bounds.left + 200, bounds.top + 12};
  const RECT r{bounds.left + 40, bounds.top + 120, bounds.left + 200, bounds.top + 200};
  const RECT r2{at.right - 16, bounds.top + 120, at.right + 16, bounds.top + 200};
  const POINT onDialog{bounds.right - 60, bounds.top + 160};
  const POINT onPage{at.left + 120, at.bottom - 30};
  const wintest::PointerLock pointer;
  auto pageActive = [&] {
    ASSERT_TRUE(ClickAt(onPage)) << "the pointer did not reach the page";
    ASSERT_TRUE(wintest::PumpUntil([&] { return GetActiveWindow() == wnd; }));
    wintest::PumpUntilIdle();
  };
  // What the display shows of the page where the dialog's caption will stand.
  page->SetExtendedBorders(true);
  ASSERT_NO_FATAL_FAILURE(pageActive());
  std::vector<COLORREF> alone;
  ASSERT_TRUE(wintest::PumpUntil([&] {
    std::vector<COLORREF> now = Pixels(r3, "extended-page-alone");
    const bool steady = !now.empty() && Alike(now, alone) == 1;
    alone = std::move(now);
    return steady;
  }));
  page->SetExtendedBorders(false);
  wintest::PumpUntilIdle();

  const HWND dlg = NewCanvasDialog(wnd, bounds);
  ASSERT_TRUE(dlg);
  const vcl::TScopeExit closeDialog([dlg] { DestroyWindow(dlg); });
  auto before = [](HWND Upper, HWND Lower) {
    for (HWND w = GetWindow(Upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
      if (w == Lower) return true;
    return false;
  };
  auto dialogActive = [&] {
    ASSERT_TRUE(ClickAt(onDialog)) << "the pointer did not reach the dialog";
    ASSERT_TRUE(wintest::PumpUntil([&] { return GetActiveWindow() == dlg; }));
    // In front in the system's order and on the display once the display's word on what came
    // to view is in.
    ASSERT_TRUE(wintest::PumpUntil([&] { return before(dlg, wnd) && CanvasShare(r, "dialog-clicked") == 1; }))
        << Stacking();
    wintest::PumpUntilIdle();
  };
  int dx = 0;
  auto pageInFront = [&](const std::string& When) {
    SCOPED_TRACE(When);
    EXPECT_TRUE(wintest::PumpUntil([&] { return BorderBesideItsWindow(wnd) && BorderBesideItsWindow(dlg); }))
        << "a border window apart from its window: " << Stacking();
    EXPECT_TRUE(wintest::PumpUntil([&] { return before(wnd, dlg); })) << Stacking();
    EXPECT_TRUE(wintest::PumpUntil([&] { return Alike(Pixels(Shifted(r3, dx), When + "-caption"), alone) > 0.95; }))
        << "the dialog's frame shows over the page";
    EXPECT_EQ(CanvasShare(Shifted(r, dx), When + "-canvas"), 0) << "the dialog shows through the page";
  };
  auto dialogInFront = [&](const std::string& When) {
    SCOPED_TRACE(When);
    EXPECT_TRUE(wintest::PumpUntil([&] { return BorderBesideItsWindow(wnd) && BorderBesideItsWindow(dlg); }))
        << "a border window apart from its window: " << Stacking();
    EXPECT_TRUE(wintest::PumpUntil([&] { return before(dlg, wnd); })) << Stacking();
    EXPECT_TRUE(wintest::PumpUntil([&] { return CanvasShare(r, When + "-canvas") == 1; })) << "the page covers the dialog";
    EXPECT_TRUE(wintest::PumpUntil([&] { return CanvasShare(r2, When + "-edge") == 1; }))
        << "the page's frame shows over the dialog";
    EXPECT_LT(Alike(Pixels(r3, When + "-caption"), alone), 0.5) << "the page covers the dialog's caption";
  };

  // Without extended borders neither window has a border window, and the display shows the
  // page over its dialog when it is in front.
  ASSERT_NO_FATAL_FAILURE(pageActive());
  EXPECT_EQ(BorderWindowOf(wnd), nullptr);
  EXPECT_EQ(BorderWindowOf(dlg), nullptr);
  EXPECT_TRUE(wintest::PumpUntil([&] { return before(wnd, dlg); })) << Stacking();
  EXPECT_TRUE(wintest::PumpUntil([&] { return CanvasShare(r, "plain-canvas") == 0; })) << "the dialog shows through the page";

  // Switched on with the page in front.
  page->SetExtendedBorders(true);
  pageInFront("switched-on-behind-the-page");
  ASSERT_NO_FATAL_FAILURE(dialogActive());
  dialogInFront("dialog-clicked");
  ASSERT_NO_FATAL_FAILURE(pageActive());
  pageInFront("page-clicked");
  // A click on the page where it covers the dialog's caption reaches the page, not the
  // dialog's frame: the dialog stays behind.
  const POINT overCaption{(r3.left + r3.right) / 2, (r3.top + r3.bottom) / 2};
  EXPECT_EQ(GetAncestor(WindowFromPoint(overCaption), GA_ROOT), wnd);
  ASSERT_TRUE(ClickAt(overCaption));
  wintest::PumpUntilIdle();
  EXPECT_EQ(GetActiveWindow(), wnd);
  pageInFront("page-clicked-over-the-dialogs-caption");
  // Moved over its dialog, as a drag does it.
  dx = 10;
  page->SetBounds(page->Left() + dx, page->Top(), page->Width(), page->Height());
  pageInFront("page-moved");
  page->SetBounds(page->Left() - dx, page->Top(), page->Width(), page->Height());
  dx = 0;
  pageInFront("page-moved-back");

  // Switched on with the dialog in front.
  page->SetExtendedBorders(false);
  ASSERT_NO_FATAL_FAILURE(dialogActive());
  page->SetExtendedBorders(true);
  dialogInFront("switched-on-before-the-page");
  ASSERT_NO_FATAL_FAILURE(pageActive());
  pageInFront("page-clicked-again");
  ASSERT_NO_FATAL_FAILURE(dialogActive());
  dialogInFront("dialog-clicked-again");
  page->SetExtendedBorders(false);
  SetCursorPos(1900, 1060);
}

}  // namespace
}  // namespace gallery::test
