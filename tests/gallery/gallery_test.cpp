// The skin gallery as its users meet it: the MDI frame's Window menu, the layered page's Skin
// menu, the status bars through resizing and maximising, and the program run from its command
// line (the page it opens first, its screenshot into a folder of any name, its exit code).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "classlib/comctrls/StatusBar.h"
#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/SysUtils.h"
#include "gallery/GalleryApp.h"
#include "gallery/GalleryForms.h"
#include "gallery/GalleryLayered.h"
#include "gallery/gallery_support.h"
#include "gallery/GalleryScrolling.h"
#include "gallery/GalleryShot.h"
#include "gallery/GallerySkin.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/paint/SectionGrid.h"
#include "support/soak_support.h"
#include "support/win_test_support.h"

namespace gallery::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// The gallery's reports, kept instead of shown: a test's window never waits for a user.
class Reports {
 public:
  Reports() {
    previous_ = vcl::SetMessageBoxFunction([this](HWND, const vcl::String& Text, const vcl::String&, UINT) {
      texts.push_back(Text);
      return IDOK;
    });
  }
  ~Reports() { vcl::SetMessageBoxFunction(previous_); }
  Reports(const Reports&) = delete;
  Reports& operator=(const Reports&) = delete;
  std::vector<std::wstring> texts;

 private:
  vcl::TMessageBoxFunction previous_;
};

template <class T>
struct Freed {
  void operator()(T* Object) const { vcl::TObject::Free(Object); }
};
template <class T>
using Owned = std::unique_ptr<T, Freed<T>>;

// The text of a menu's item at a position, without its accelerator marks.
std::wstring ItemText(HMENU Menu, int Position) {
  wchar_t text[256] = {};
  GetMenuStringW(Menu, static_cast<UINT>(Position), text, 256, MF_BYPOSITION);
  std::wstring out(text);
  std::erase(out, L'&');
  return out;
}

RECT WindowRect(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return r;
}

// ---------------------------------------------------------------------------------------
// The MDI frame

// The program's main form, as in the gallery (MDI documents need it there): made by the first
// test that needs it, which the application frees at the end.
TGalleryMdiFrame* MainFrame() {
  if (auto* frame = dynamic_cast<TGalleryMdiFrame*>(vcl::Application->MainForm())) return frame;
  return vcl::Application->CreateForm<TGalleryMdiFrame>();
}

// The documents back to their places, none maximised.
void RestoreDocuments(TGalleryMdiFrame* Frame) {
  for (int i = 0; i < Frame->MDIChildCount(); ++i)
    if (Frame->MDIChildren(i)->HandleAllocated() && IsZoomed(Frame->MDIChildren(i)->Handle()))
      SendMessageW(Frame->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(Frame->MDIChildren(i)->Handle()), 0);
}

TEST(GalleryMdiFrame, ItsWindowMenuTilesCascadesAndListsTheDocumentsAndAMaximisedOneShowsItsButtons) {
  auto* frame = MainFrame();
  ASSERT_EQ(vcl::Application->MainForm(), frame);
  struct Hidden {
    vcl::TForm* form;
    ~Hidden() { form->Hide(); }
  } hidden{frame};
  frame->SetBounds(40, 40, 700, 500);
  frame->Show();
  ShowMdiDocuments(frame);
  wintest::PumpUntilIdle();

  HMENU bar = GetMenu(frame->Handle());
  ASSERT_TRUE(bar) << "the frame has no menu";
  // The Window menu (after the Skin menu, when a form wearing a skin filled it).
  int windowAt = 0;
  while (windowAt < GetMenuItemCount(bar) && ItemText(bar, windowAt) != L"Window") ++windowAt;
  ASSERT_LT(windowAt, GetMenuItemCount(bar)) << "the frame has no Window menu";
  HMENU window = GetSubMenu(bar, windowAt);
  std::vector<std::wstring> items;
  for (int i = 0; i < GetMenuItemCount(window); ++i) items.push_back(ItemText(window, i));
  EXPECT_EQ(items.front(), L"Tile");
  EXPECT_EQ(items[1], L"Cascade");
  // The client lists the documents after them.
  auto listed = [&](const std::wstring& Caption) {
    return std::any_of(items.begin(), items.end(), [&](const std::wstring& t) { return t.ends_with(Caption); });
  };
  EXPECT_TRUE(listed(L"First document") && listed(L"Second document")) << ::testing::PrintToString(items);

  // Tiled the two documents share the client without overlapping; cascaded they overlap.
  auto overlap = [&] {
    RECT a = WindowRect(frame->MDIChildren(0)->Handle()), b = WindowRect(frame->MDIChildren(1)->Handle()), both{};
    return IntersectRect(&both, &a, &b) && both.right - both.left > 2 && both.bottom - both.top > 2;
  };
  frame->WindowMenu()->Items(0)->Click();
  wintest::PumpUntilIdle();
  EXPECT_FALSE(overlap());
  frame->WindowMenu()->Items(1)->Click();
  wintest::PumpUntilIdle();
  EXPECT_TRUE(overlap());

  // A maximised document puts its system menu and its three buttons on the frame's menu line:
  // it can be restored and closed there.
  const int before = GetMenuItemCount(bar);
  SendMessageW(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(frame->MDIChildren(0)->Handle()), 0);
  wintest::PumpUntilIdle();
  EXPECT_GE(GetMenuItemCount(GetMenu(frame->Handle())), before + 4);
  RestoreDocuments(frame);
}


// ---------------------------------------------------------------------------------------
// The status bars

// The bar spans the form's client width, as the form's is after each change.
// The bar spans the form's client width, and so does its last panel (what the bar and a skin
// draw of it), after each change.
void ExpectFullWidth(vcl::TForm* Form, vcl::TStatusBar* Bar, const char* When) {
  wintest::PumpUntilIdle();
  RECT client{}, bar{}, last{};
  GetClientRect(Form->Handle(), &client);
  GetClientRect(Bar->Handle(), &bar);
  EXPECT_EQ(bar.right, client.right) << When;
  EXPECT_EQ(Bar->Top() + Bar->Height(), client.bottom) << When;
  const int parts = static_cast<int>(SendMessageW(Bar->Handle(), SB_GETPARTS, 0, 0));
  ASSERT_GT(parts, 0);
  SendMessageW(Bar->Handle(), SB_GETRECT, static_cast<WPARAM>(parts - 1), reinterpret_cast<LPARAM>(&last));
  EXPECT_GE(last.right, bar.right - 24) << When << ": the last panel ends at " << last.right;  // a size grip may follow
}

vcl::TStatusBar* StatusBarOf(vcl::TWinControl* Form) {
  for (int i = 0; i < Form->ControlCount(); ++i)
    if (auto* bar = dynamic_cast<vcl::TStatusBar*>(Form->Controls(i))) return bar;
  return nullptr;
}

void ResizeAndMaximise(vcl::TForm* Form) {
  vcl::TStatusBar* bar = StatusBarOf(Form);
  ASSERT_TRUE(bar);
  Form->Show();
  ExpectFullWidth(Form, bar, "shown");
  Form->SetBounds(Form->Left(), Form->Top(), Form->Width() + 180, Form->Height() + 60);
  ExpectFullWidth(Form, bar, "widened");
  ShowWindow(Form->Handle(), SW_MAXIMIZE);
  ExpectFullWidth(Form, bar, "maximised");
  ShowWindow(Form->Handle(), SW_RESTORE);
  ExpectFullWidth(Form, bar, "restored");
}

// The form made smaller than its contents: the status bar stays on the client's bottom edge,
// whole, with nothing of the contents over it (the window a click along its row reaches is
// the bar's own).
void ShrinkBelowTheContents(vcl::TForm* Form) {
  vcl::TStatusBar* bar = StatusBarOf(Form);
  ASSERT_TRUE(bar);
  Form->Show();
  wintest::PumpUntilIdle();
  for (const SIZE size : {SIZE{600, 450}, SIZE{420, 300}}) {
    SetWindowPos(Form->Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const std::string when = "at " + std::to_string(size.cx) + " x " + std::to_string(size.cy);
    ExpectFullWidth(Form, bar, when.c_str());
    EXPECT_TRUE(IsWindowVisible(bar->Handle())) << when;
    RECT client{};
    GetClientRect(Form->Handle(), &client);
    for (int x = 4; x < client.right; x += 16) {
      const POINT at{x, client.bottom - bar->Height() / 2};
      HWND hit = ChildWindowFromPointEx(Form->Handle(), at, CWP_SKIPINVISIBLE);
      const vcl::TWinControl* over = vcl::FindControl(hit);
      EXPECT_EQ(hit, bar->Handle()) << when << ": at " << x << "," << at.y << " the bar lies under "
                                    << (over ? over->Name() : std::wstring(L"another window"));
      if (hit != bar->Handle()) break;
    }
  }
}

TEST(GalleryStatusBars, FollowResizingAndMaximisingOnTheClassicPage) {
  Owned<TGalleryMain> main(vcl::Construct<TGalleryMain>(nullptr));
  ApplyClassicSkin(main.get(), std::nullopt);
  ResizeAndMaximise(main.get());
}

TEST(GalleryStatusBars, StayOnTopOfTheContentsOfASmallWindowOnTheClassicPage) {
  {
    Owned<TGalleryMain> main(vcl::Construct<TGalleryMain>(nullptr));
    ShrinkBelowTheContents(main.get());
  }
  {
    Owned<TGalleryMain> main(vcl::Construct<TGalleryMain>(nullptr));
    ApplyClassicSkin(main.get(), std::nullopt);
    ShrinkBelowTheContents(main.get());
  }
}

TEST(GalleryStatusBars, StayOnTopOfTheContentsOfASmallWindowOnTheLayeredPage) {
  Reports reports;
  TGalleryLayered::SetPageSource(LayeredSourceOf(SampleLayeredFolder() + L"\\Lagoon"));
  Owned<TGalleryLayered> page(vcl::Construct<TGalleryLayered>(nullptr));
  ShrinkBelowTheContents(page.get());
  page->Hide();
}

// The Skin menu checks the skin worn: a package named on the command line is not the sample.
TEST(GalleryClassicPage, TheSkinMenuChecksAPackageGivenAtStart) {
  for (const bool package : {false, true}) {
    Owned<TGalleryMain> main(vcl::Construct<TGalleryMain>(nullptr));
    main->WearClassicSkin(package ? std::optional<std::wstring>(SamplePackage(L"Jade.skn")) : std::nullopt);
    auto* sample = dynamic_cast<vcl::TMenuItem*>(main->FindComponent(L"SampleSkinItem"));
    auto* chosen = dynamic_cast<vcl::TMenuItem*>(main->FindComponent(L"PackageSkinItem"));
    ASSERT_TRUE(sample && chosen);
    EXPECT_EQ(sample->Checked(), !package);
    EXPECT_EQ(chosen->Checked(), package);
  }
}

TEST(GalleryStatusBars, FollowResizingAndMaximisingOnTheLayeredPage) {
  Owned<TGalleryLayered> page(vcl::Construct<TGalleryLayered>(nullptr));
  page->SetBounds(10, 10, 1000, 700);
  ResizeAndMaximise(page.get());
}

// ---------------------------------------------------------------------------------------
// The layered page's Skin menu

struct SkinItem {
  std::wstring caption;
  bool checked;
};

vcl::TMenuItem* SkinMenu(TGalleryLayered* Page) {
  return dynamic_cast<vcl::TMainMenu*>(Page->Menu())->Items()->Items(0);
}

std::vector<SkinItem> SkinItems(TGalleryLayered* Page) {
  std::vector<SkinItem> items;
  vcl::TMenuItem* skin = SkinMenu(Page);
  for (int i = 0; i < skin->Count(); ++i)
    items.push_back({skin->Items(i)->Caption(), skin->Items(i)->Checked()});
  return items;
}

vcl::TMenuItem* ItemCaptioned(TGalleryLayered* Page, const std::wstring& Caption) {
  vcl::TMenuItem* skin = SkinMenu(Page);
  for (int i = 0; i < skin->Count(); ++i)
    if (skin->Items(i)->Caption() == Caption) return skin->Items(i);
  return nullptr;
}

std::wstring Checked(TGalleryLayered* Page) {
  std::wstring checked;
  for (const SkinItem& item : SkinItems(Page))
    if (item.checked) checked += std::wstring(checked.empty() ? L"" : L", ") + item.caption;
  return checked;
}

TEST(GalleryLayeredPage, TheSkinMenuNamesEachSkinOnceAndChecksTheOneInUse) {
  // The sample folder named by an absolute path with other slashes and letter case: still the
  // sample folder.
  std::wstring absolute = std::filesystem::weakly_canonical(std::filesystem::path(SampleLayeredFolder())).wstring();
  for (wchar_t& c : absolute) c = c == L'\\' ? L'/' : static_cast<wchar_t>(towupper(c));
  TGalleryLayered::SetPageSource(LayeredSourceOf(absolute + L"/Lagoon/"));
  Reports reports;
  Owned<TGalleryLayered> page(vcl::Construct<TGalleryLayered>(nullptr));
  int lagoonFolders = 0;
  for (const SkinItem& item : SkinItems(page.get())) lagoonFolders += item.caption == L"Lagoon (folder)" ? 1 : 0;
  EXPECT_EQ(lagoonFolders, 1) << "the sample folder is listed twice";
  EXPECT_EQ(Checked(page.get()), L"Lagoon (folder)");

  // Another skin, then none: the check follows.
  ASSERT_TRUE(ItemCaptioned(page.get(), L"Ember (pack)"));
  ItemCaptioned(page.get(), L"Ember (pack)")->Click();
  EXPECT_EQ(Checked(page.get()), L"Ember (pack)");
  ItemCaptioned(page.get(), L"&No skin")->Click();
  EXPECT_EQ(Checked(page.get()), L"&No skin");
  EXPECT_EQ(reports.texts, std::vector<std::wstring>{});

  // A skin that is not there: the manager falls back to the one stored in the form, which the
  // menu checks and the report names.
  TGalleryLayered::SetPageSource(LayeredSourceOf(SampleLayeredFolder() + L"\\NoSuchSkin"));
  Owned<TGalleryLayered> other(vcl::Construct<TGalleryLayered>(nullptr));
  EXPECT_EQ(Checked(other.get()), L"Lagoon (stored in the form)");
  ASSERT_EQ(reports.texts.size(), 1u);
  EXPECT_NE(reports.texts[0].find(L"stored in the form is shown instead"), std::wstring::npos) << reports.texts[0];
  TGalleryLayered::SetPageSource(LayeredSourceOf(SampleLayeredFolder() + L"\\Lagoon"));
}

// The dark (text) pixels of a window's client area in a band of rows.
int DarkPixels(HWND Wnd, int Left, int Top, int Right, int Bottom) {
  HDC dc = GetDC(Wnd);
  int dark = 0;
  for (int y = Top; y < Bottom; ++y)
    for (int x = Left; x < Right; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      dark += c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 300 ? 1 : 0;
    }
  ReleaseDC(Wnd, dc);
  return dark;
}

// The window's pixels in a band of its rows (window coordinates), as drawn now.
std::vector<COLORREF> WindowBand(HWND Wnd, int Top, int Bottom) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  HDC dc = GetWindowDC(Wnd);
  std::vector<COLORREF> pixels;
  for (int y = Top; y < Bottom; ++y)
    for (int x = 0; x < std::min<int>(r.right - r.left, 300); ++x) pixels.push_back(GetPixel(dc, x, y));
  ReleaseDC(Wnd, dc);
  return pixels;
}

TEST(GalleryLayeredPage, TheMenuLineDrawnAgainByTheSystemLooksAsTheSkinDrewIt) {
  const wintest::PointerLock turn;  // the foreground is taken here
  TGalleryLayered::SetPageSource(LayeredSourceOf(SampleLayeredFolder() + L"\\Lagoon"));
  Reports reports;
  Owned<TGalleryLayered> page(vcl::Construct<TGalleryLayered>(nullptr));
  page->Show();
  wintest::PumpUntilIdle();
  HWND wnd = page->Handle();
  MENUBARINFO bar{};
  bar.cbSize = sizeof bar;
  ASSERT_TRUE(GetMenuBarInfo(wnd, OBJID_MENU, 0, &bar));
  RECT window{};
  GetWindowRect(wnd, &window);
  // The line's top rows, above the captions (which the system's drawing writes a little
  // differently).
  const int top = bar.rcBar.top - window.top - 6, bottom = bar.rcBar.top - window.top + 4;
  // Alike but for the blending's rounding.
  auto unlike = [](COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) > 8 || std::abs(GetGValue(a) - GetGValue(b)) > 8 ||
           std::abs(GetBValue(a) - GetBValue(b)) > 8;
  };
  // A round in which a test program beside took the foreground compares an active frame with an
  // inactive one: it runs again.
  size_t differ = 0;
  bool judged = false;
  std::vector<COLORREF> before;
  for (int round = 0; round < 10 && !judged; ++round) {
    SetForegroundWindow(wnd);
    if (!wintest::PumpUntilIdle([&] { return GetActiveWindow() == wnd; })) continue;
    const wintest::ForegroundChanges changes;
    before = WindowBand(wnd, top, bottom);
    // The Skin menu opened with the keyboard and closed again: the system draws its item anew.
    PostMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, L's');
    PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(wnd, WM_KEYUP, VK_ESCAPE, 0);
    PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(wnd, WM_KEYUP, VK_ESCAPE, 0);
    wintest::PumpUntilIdle();
    const std::vector<COLORREF> after = WindowBand(wnd, top, bottom);
    if (changes.Count() > 0) continue;
    for (size_t i = 0; i < before.size() && i < after.size(); ++i) differ += unlike(before[i], after[i]) ? 1 : 0;
    judged = true;
  }
  ASSERT_TRUE(judged) << "the foreground changed hands in every round";
  EXPECT_EQ(differ, 0u) << "of " << before.size() << " pixels";
  page->Hide();
}

TEST(GalleryLayeredPage, WithNoSkinThePanelsCaptionStaysAtItsTopClearOfTheNote) {
  TGalleryLayered::SetPageSource(LayeredSourceOf(SampleLayeredFolder() + L"\\Lagoon"));
  Reports reports;
  Owned<TGalleryLayered> page(vcl::Construct<TGalleryLayered>(nullptr));
  TLayeredPanel* panel = nullptr;
  for (int i = 0; i < page->ControlCount() && !panel; ++i) panel = dynamic_cast<TLayeredPanel*>(page->Controls(i));
  ASSERT_NE(panel, nullptr);
  page->Show();
  ASSERT_TRUE(ItemCaptioned(page.get(), L"&No skin"));
  ItemCaptioned(page.get(), L"&No skin")->Click();
  ASSERT_EQ(Checked(page.get()), L"&No skin");
  RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  wintest::PumpUntilIdle();
  // The caption's row at the top, as under a skin; the panel's middle, between the second edit
  // and the note label, stays the bare face (a centred caption was drawn there, over the note).
  EXPECT_GT(DarkPixels(panel->Handle(), 12, 8, panel->Width() - 12, 30), 20);
  EXPECT_EQ(DarkPixels(panel->Handle(), 16, 106, panel->Width() - 16, 119), 0);
  page->Hide();
}

TEST(GalleryLayeredPage, ASkinPathTypedRelativeToTheCurrentFolderIsFound) {
  // As typed in a shell standing beside the skins: relative, with forward slashes, and rooted
  // without a drive letter.
  const std::filesystem::path samples = std::filesystem::weakly_canonical(std::filesystem::path(SampleLayeredFolder()));
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(samples.parent_path());
  std::wstring rooted = samples.relative_path().wstring();
  for (wchar_t& c : rooted) c = c == L'\\' ? L'/' : c;
  for (const std::wstring& typed : {std::wstring(L"layered/Lagoon"), L"/" + rooted + L"/Lagoon"}) {
    SCOPED_TRACE(typed);
    TGalleryLayered::SetPageSource(LayeredSourceOf(typed));
    Reports reports;
    Owned<TGalleryLayered> page(vcl::Construct<TGalleryLayered>(nullptr));
    EXPECT_EQ(Checked(page.get()), L"Lagoon (folder)");
    EXPECT_EQ(reports.texts, std::vector<std::wstring>{});
  }
  std::filesystem::current_path(before);
  TGalleryLayered::SetPageSource(LayeredSourceOf(SampleLayeredFolder() + L"\\Lagoon"));
}

// A skin the Skin menu switches to that fails to load while another is worn: the one worn
// stays on, checked, and the report says so with the engine's message; chosen when none is
// worn, the page runs unskinned.
TEST(GalleryLayeredPage, ASkinThatFailsToLoadWhileAnotherIsWornLeavesThatOneOnAndChecked) {
  const std::filesystem::path folder = wintest::UniqueTempPath(L"gallery_broken_pack");
  std::filesystem::create_directories(folder);
  wintest::WriteBytes(folder / L"Broken.pmz", std::string_view("PMzf\x09\x00\x00\x00", 8));
  Reports reports;
  TGalleryLayered::SetPageSource(LayeredSourceOf((folder / L"Broken.pmz").wstring()));
  Owned<TGalleryLayered> page(vcl::Construct<TGalleryLayered>(nullptr));
  TGalleryLayered::SetPageSource(LayeredSourceOf(SampleLayeredFolder() + L"\\Lagoon"));
  const std::wstring engine = L"The skin pack \"" + (folder / L"Broken.pmz").wstring() +
                              L"\" is damaged: it counts 9 entries, more than its 0 bytes can hold.";
  const std::wstring from = L"Broken (pack) could not be loaded from " + folder.wstring();
  EXPECT_EQ(reports.texts, (std::vector<std::wstring>{engine, from + L"; the page runs unskinned."}));
  EXPECT_EQ(Checked(page.get()), L"&No skin");

  ASSERT_TRUE(ItemCaptioned(page.get(), L"Lagoon (folder)"));
  ItemCaptioned(page.get(), L"Lagoon (folder)")->Click();
  EXPECT_EQ(Checked(page.get()), L"Lagoon (folder)");
  reports.texts.clear();
  ItemCaptioned(page.get(), L"Broken (pack)")->Click();
  EXPECT_EQ(reports.texts, (std::vector<std::wstring>{engine, from + L"; the skin in use stays."}));
  EXPECT_EQ(Checked(page.get()), L"Lagoon (folder)");
  EXPECT_TRUE(page->Manager()->Active() && page->Manager()->Skin().SkinData.Active);
  std::error_code error;
  std::filesystem::remove_all(folder, error);
}

// The form larger inside than its window, beside the layered page: it scrolls with its own bars,
// skinned, and the size box between them; without the skin the system's bars do it, and the
// skin brought back skins them again.
TEST(GalleryLayeredPage, TheScrollingFormScrollsWithItsOwnSkinnedBarsAndSizeBox) {
  Reports reports;
  TGalleryLayered::SetPageSource(LayeredSourceOf(SampleLayeredFolder() + L"\\Lagoon"));
  Owned<TGalleryLayered> page(vcl::Construct<TGalleryLayered>(nullptr));
  page->Show();
  page->ShowScrolling();
  auto* form = dynamic_cast<TGalleryScrolling*>(page->FindComponent(L"GalleryScrolling"));
  ASSERT_TRUE(form);
  struct Hidden {
    vcl::TForm* form;
    ~Hidden() { form->Hide(); }
  } hidden{form}, hiddenPage{page.get()};
  wintest::PumpUntilIdle();
  HWND wnd = form->Handle();
  auto* provider = reinterpret_cast<skin_layered::TsSkinProvider*>(
      skin_layered::SendCommandToWnd(wnd, skin_layered::scmGetProvider, 0));
  ASSERT_TRUE(provider && provider->FormSkinned());
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  EXPECT_TRUE((style & WS_VSCROLL) && (style & WS_HSCROLL));
  EXPECT_NE(provider->ScrollBars().Adapter(), nullptr) << "the form's bars are the system's";
  const auto bars = provider->ScrollBars().Shown();
  ASSERT_TRUE(bars.Horz && bars.Vert);
  // The size box between the bars sizes the form.
  const vcl::TPoint box(bars.HorzRect.Right + 2, bars.VertRect.Bottom + 2);
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(box.X, box.Y)), HTBOTTOMRIGHT);

  // Scrolled to the far corner: the last tile comes into view.
  auto lastInView = [&] {
    RECT client{}, tile{};
    GetClientRect(wnd, &client);
    GetWindowRect(form->LastTile()->Handle(), &tile);
    MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&tile), 2);
    return tile.right <= client.right && tile.bottom <= client.bottom && tile.left >= 0 && tile.top >= 0;
  };
  EXPECT_FALSE(lastInView());
  SendMessageW(wnd, WM_VSCROLL, SB_BOTTOM, 0);
  SendMessageW(wnd, WM_HSCROLL, SB_RIGHT, 0);
  wintest::PumpUntilIdle();
  EXPECT_TRUE(lastInView());

  // Without the skin the system's bars, back to the top; with it again, the skinned ones.
  ItemCaptioned(page.get(), L"&No skin")->Click();
  wintest::PumpUntilIdle();
  EXPECT_EQ(provider->ScrollBars().Adapter(), nullptr);
  SendMessageW(wnd, WM_VSCROLL, SB_TOP, 0);
  SendMessageW(wnd, WM_HSCROLL, SB_LEFT, 0);
  wintest::PumpUntilIdle();
  EXPECT_FALSE(lastInView());
  ItemCaptioned(page.get(), L"Lagoon (folder)")->Click();
  wintest::PumpUntilIdle();
  EXPECT_NE(provider->ScrollBars().Adapter(), nullptr);
  EXPECT_TRUE(provider->ScrollBars().Shown().Vert);
  EXPECT_EQ(reports.texts, std::vector<std::wstring>{});
}

// ---------------------------------------------------------------------------------------
// The MDI frame's Skin menu

vcl::TMenuItem* ItemOf(vcl::TMenuItem* Menu, const std::wstring& Caption) {
  for (int i = 0; i < Menu->Count(); ++i)
    if (Menu->Items(i)->Caption() == Caption) return Menu->Items(i);
  return nullptr;
}

// The captions of a menu's checked items.
std::wstring CheckedIn(vcl::TMenuItem* Menu) {
  std::wstring checked;
  for (int i = 0; i < Menu->Count(); ++i)
    if (Menu->Items(i)->Checked()) checked += std::wstring(checked.empty() ? L"" : L", ") + Menu->Items(i)->Caption();
  return checked;
}

// The form wears the skin: its provider (its own, or the one the manager's hook gave it) paints it.
bool Skinned(vcl::TWinControl* Form) {
  if (!Form->HandleAllocated()) return false;
  auto* provider = reinterpret_cast<skin_layered::TsSkinProvider*>(
      skin_layered::SendCommandToWnd(Form->Handle(), skin_layered::scmGetProvider, 0));
  return provider && provider->FormSkinned();
}

// The layered MDI page: the frame's Skin menu, filled by the layered page, switches the skin with
// the documents open, one of them maximised or none, and takes it away and back; the page's own
// menu and the frame's check the same skin.
TEST(GalleryMdiFrame, TheLayeredSkinMenuOnTheFrameSwitchesWithTheDocumentsOpenMaximisedOrNot) {
  Reports reports;
  auto* frame = MainFrame();
  ASSERT_TRUE(frame->SkinMenu());
  // Documents of its own, made under the skin as in the gallery: the manager's hook skins
  // documents made after it.
  const auto freeDocuments = [frame] {
    while (frame->MDIChildCount() > 0) vcl::TObject::Free(frame->MDIChildren(0));
  };
  freeDocuments();
  TGalleryLayered::SetPageSource(LayeredSourceOf(SampleLayeredFolder() + L"\\Lagoon"));
  Owned<TGalleryLayered> page(vcl::Construct<TGalleryLayered>(nullptr));
  Owned<skin_layered::TsSkinProvider> provider(vcl::Construct<skin_layered::TsSkinProvider>(frame));
  page->AddSkinMenu(frame->SkinMenu());
  vcl::TMenuItem* menu = frame->SkinMenu();
  ASSERT_TRUE(menu->Visible());
  struct Hidden {
    vcl::TForm* form;
    ~Hidden() { form->Hide(); }
  } hidden{frame};
  frame->SetBounds(40, 40, 700, 520);
  frame->Show();
  ShowMdiDocuments(frame);
  wintest::PumpUntilIdle();
  EXPECT_EQ(CheckedIn(menu), L"Lagoon (folder)");
  ASSERT_EQ(frame->MDIChildCount(), 2);
  auto* first = frame->MDIChildren(0);
  auto* second = frame->MDIChildren(1);
  auto allSkinned = [&] { return Skinned(frame) && Skinned(first) && Skinned(second); };
  ASSERT_TRUE(wintest::PumpUntil(allSkinned));

  // Another skin, documents at rest; then one maximised: taken away, brought back, changed.
  for (const bool maximised : {false, true}) {
    SCOPED_TRACE(maximised ? "maximised" : "at rest");
    if (maximised)
      SendMessageW(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second->Handle()), 0);
    ASSERT_TRUE(ItemOf(menu, L"Ember (pack)"));
    ItemOf(menu, L"Ember (pack)")->Click();
    EXPECT_EQ(page->Manager()->SkinName(), L"Ember");
    EXPECT_EQ(CheckedIn(menu), L"Ember (pack)");
    EXPECT_EQ(Checked(page.get()), L"Ember (pack)");  // the page's own menu
    EXPECT_TRUE(wintest::PumpUntil(allSkinned));
    ItemOf(menu, L"&No skin")->Click();
    EXPECT_EQ(CheckedIn(menu), L"&No skin");
    EXPECT_TRUE(wintest::PumpUntil([&] { return !Skinned(first) && !Skinned(second); }));
    ItemOf(menu, L"Lagoon (folder)")->Click();
    EXPECT_EQ(CheckedIn(menu), L"Lagoon (folder)");
    EXPECT_TRUE(wintest::PumpUntil(allSkinned));
    EXPECT_EQ(IsZoomed(second->Handle()) != FALSE, maximised);
    EXPECT_EQ(frame->MDIChildCount(), 2);
  }
  EXPECT_EQ(reports.texts, std::vector<std::wstring>{});
  freeDocuments();
}

// The classic MDI page: the frame's Skin menu, filled by the main form, acts as the main form's
// and both check the package worn.
TEST(GalleryMdiFrame, TheClassicSkinMenuOnTheFrameActsAsTheMainFormsAndBothCheckTheSkinWorn) {
  Reports reports;
  auto* frame = MainFrame();
  Owned<TGalleryMain> main(vcl::Construct<TGalleryMain>(nullptr));
  main->WearClassicSkin(std::nullopt);
  vcl::TMenuItem* menu = frame->SkinMenu();
  ASSERT_TRUE(menu);
  const int before = menu->Count();
  main->AddSkinMenu(menu);
  auto* own = dynamic_cast<vcl::TMenuItem*>(main->FindComponent(L"SkinMenu"));
  ASSERT_TRUE(own);
  ASSERT_EQ(menu->Count() - before, own->Count());
  EXPECT_EQ(CheckedIn(menu), CheckedIn(own));
  ASSERT_TRUE(ItemOf(menu, L"&Jade"));
  ItemOf(menu, L"&Jade")->Click();
  EXPECT_TRUE(dynamic_cast<vcl::TMenuItem*>(main->FindComponent(L"VariantSkinItem"))->Checked());
  EXPECT_EQ(CheckedIn(menu), L"&Jade");
  ItemOf(menu, L"&No skin")->Click();
  EXPECT_EQ(CheckedIn(own), L"&No skin");
  EXPECT_EQ(CheckedIn(menu), L"&No skin");
  // From the main form's own menu: the frame's follows.
  dynamic_cast<vcl::TMenuItem*>(main->FindComponent(L"SampleSkinItem"))->Click();
  EXPECT_EQ(CheckedIn(menu), CheckedIn(own));
  EXPECT_EQ(reports.texts, std::vector<std::wstring>{});
  main.reset();
  EXPECT_EQ(menu->Count(), before) << "the main form's items stay on the frame after it";
}

// A skin of more sections than a sheet painted whole could hold in memory: the page shows
// it, and its sheet paints what is in view, the last section too once scrolled to.
TEST(GalleryLayeredPage, TheSheetOfASkinOfCountlessSectionsPaintsOnlyWhatIsInView) {
  const std::filesystem::path skins = wintest::UniqueTempPath(L"gallery_sections");
  std::filesystem::create_directories(skins / L"Countless");
  constexpr int kSections = 20000;
  std::string description = "[GLOBALINFO]\r\nVERSION=1\r\n";
  for (int i = 0; i < kSections; ++i)
    description += "[S" + std::to_string(i) + "]\r\nCOLOR=" + (i == kSections - 1 ? "65280" : "8421504") + "\r\n";
  wintest::WriteBytes(skins / L"Countless" / L"Options.dat", description);
  const std::int64_t before = wintest::CommittedMemory();
  Reports reports;
  TGalleryLayered::SetPageSource(LayeredSourceOf((skins / L"Countless").wstring()));
  Owned<TGalleryLayered> page(vcl::Construct<TGalleryLayered>(nullptr));
  TGalleryLayered::SetPageSource(LayeredSourceOf(SampleLayeredFolder() + L"\\Lagoon"));
  EXPECT_EQ(reports.texts, std::vector<std::wstring>{});
  TSectionSheet* sheet = nullptr;
  for (int i = 0; i < page->ComponentCount() && !sheet; ++i) sheet = dynamic_cast<TSectionSheet*>(page->Components(i));
  ASSERT_TRUE(sheet);
  const int count = static_cast<int>(page->Manager()->Skin().Sections.size());
  ASSERT_GE(count, kSections);
  const skin_layered::TqvSectionGridLayout& layout = sheet->Layout();
  EXPECT_EQ(sheet->Height(), skin_layered::SectionGridSize(page->Manager()->Skin(), layout).Y);
  EXPECT_GT(sheet->Height(), kSections * layout.CellHeight);

  page->Show();
  wintest::PumpUntilIdle();
  auto* box = dynamic_cast<vcl::TWinControl*>(sheet->Parent());
  ASSERT_TRUE(box);
  // To the end of the sheet, as the bar's lowest position takes it.
  SendMessageW(box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  RedrawWindow(box->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  wintest::PumpUntilIdle();
  const int last = page->Manager()->Skin().GetSkinIndex(L"S" + std::to_wstring(kSections - 1));
  ASSERT_GE(last, 0);
  const int cellTop = 24 + last * (layout.CellHeight + 8);
  const POINT centre{sheet->Left() + 8 + layout.LabelWidth + layout.CellWidth / 2,
                     sheet->Top() + cellTop + layout.CellHeight / 2};
  RECT client{};
  GetClientRect(box->Handle(), &client);
  ASSERT_TRUE(PtInRect(&client, centre)) << "the last section is not in view: " << centre.y;
  HDC dc = GetDC(box->Handle());
  const COLORREF shown = GetPixel(dc, centre.x, centre.y);
  ReleaseDC(box->Handle(), dc);
  EXPECT_EQ(shown, RGB(0, 255, 0));
  // The page holds no picture of the whole sheet: a few of its rows at most.
  EXPECT_LT(wintest::CommittedMemory() - before, std::int64_t{256} << 20);
  page->Hide();
  page.reset();
  std::error_code error;
  std::filesystem::remove_all(skins, error);
}

// ---------------------------------------------------------------------------------------
// The program

std::wstring ProgramPath() {
  std::wstring path = L"Z:";
  for (const char* p = SCRIVANE_GALLERY_EXE; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  return path;
}

// The gallery run with the arguments until it ends (false: it did not within the time); with
// Errors, what it prints on its standard error stream goes into that file.
struct GalleryRun {
  PROCESS_INFORMATION info{};
  explicit GalleryRun(const std::wstring& Arguments, const std::wstring& Errors = {}) {
    std::wstring line = L"\"" + ProgramPath() + L"\" " + Arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    HANDLE errors = nullptr;
    if (!Errors.empty()) {
      SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
      errors = CreateFileW(Errors.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0, nullptr);
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
      startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
      startup.hStdError = errors;
    }
    const std::wstring folder = std::filesystem::path(ProgramPath()).parent_path().wstring();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, errors != nullptr, 0, nullptr, folder.c_str(), &startup,
                        &info))
      info = {};
    if (errors) CloseHandle(errors);
  }
  ~GalleryRun() {
    if (info.hProcess) {
      if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 9);
      CloseHandle(info.hProcess);
      CloseHandle(info.hThread);
    }
  }
  std::optional<DWORD> ExitCode(DWORD Milliseconds) {
    if (!info.hProcess || WaitForSingleObject(info.hProcess, Milliseconds) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
  }
};

std::vector<HWND> ShownWindowsOf(DWORD Process) {
  struct Search {
    DWORD process;
    std::vector<HWND> found;
  } search{Process, {}};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == s->process && IsWindowVisible(w)) s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring TitleOf(HWND Wnd) {
  wchar_t text[256] = {};
  GetWindowTextW(Wnd, text, 256);
  return text;
}

TEST(GalleryProgram, TheUsageNamesEveryPageTheCommandLineTakesAndBreaksLinesBetweenSentencesOnly) {
  const std::wstring usage = Usage();
  const size_t start = usage.find(L"Pages: ");
  ASSERT_NE(start, std::wstring::npos) << usage;
  const size_t end = usage.find(L'.', start);
  ASSERT_NE(end, std::wstring::npos) << usage;
  std::vector<std::wstring> names;
  for (size_t at = start + 7; at < end;) {
    const size_t comma = std::min(usage.find(L", ", at), end);
    names.push_back(usage.substr(at, comma - at));
    at = comma + 2;
  }
  EXPECT_GE(names.size(), 10u) << usage;
  for (const std::wstring& name : names) {
    std::wstring error;
    EXPECT_TRUE(ParseOptions({L"--page", name}, error)) << "listed but refused: " << name << " " << error;
  }
  std::wstring error;
  EXPECT_FALSE(ParseOptions({L"--page", L"nosuch"}, error));
  EXPECT_EQ(error, L"Unknown page: nosuch");
  // An empty argument asks for nothing; an empty page's name is still no page.
  EXPECT_TRUE(ParseOptions({L""}, error)) << error;
  const std::optional<Options> menus = ParseOptions({L"", L"--page", L"menus", L""}, error);
  ASSERT_TRUE(menus) << error;
  EXPECT_TRUE(menus->page == PageNamed(L"menus"));
  EXPECT_FALSE(ParseOptions({L"--page", L""}, error));
  EXPECT_EQ(error, L"Unknown page: ");
  EXPECT_FALSE(ParseOptions({L"-"}, error));
  EXPECT_EQ(error, L"Unknown argument: -");
  // The message box wraps long lines itself; a break of our own ends a sentence or the synopsis.
  for (size_t at = usage.find(L'\n'); at != std::wstring::npos; at = usage.find(L'\n', at + 1)) {
    ASSERT_GT(at, 0u);
    const wchar_t before = usage[at - 1];
    EXPECT_TRUE(before == L'.' || before == L']' || before == L'\n') << "a line breaks mid-sentence at " << at << ": "
                                                                  << usage;
  }
}

TEST(GalleryProgram, TheDefaultPageOpensTheMainWindowReadyToUseAndNoDialog) {
  GalleryRun gallery(L"");
  ASSERT_TRUE(gallery.info.hProcess);
  HWND main = nullptr;
  ASSERT_TRUE(wintest::PumpUntil([&] {
    for (HWND w : ShownWindowsOf(gallery.info.dwProcessId))
      if (TitleOf(w) == L"Skin gallery") main = w;
    return main != nullptr;
  }, std::chrono::seconds(30)));
  // Long past the moment a page's modal part opens.
  Sleep(1500);
  EXPECT_TRUE(IsWindowEnabled(main)) << "a modal window holds the main window";
  for (HWND w : ShownWindowsOf(gallery.info.dwProcessId))
    EXPECT_NE(TitleOf(w), L"A modal dialog") << "the dialog opened by itself";
}

TEST(GalleryProgram, AScreenshotGoesIntoAFolderOfAnyNameAndAFailureEndsWithAnErrorCode) {
  const std::filesystem::path folder =
      std::filesystem::path(wintest::UniqueTempPath(L"gallery")) / L"\u76ae\u80a4\u622a\u56fe";  // Chinese
  std::filesystem::create_directories(folder);
  const std::filesystem::path shot = folder / L"\u5c4f\u5e55.png";
  {
    GalleryRun gallery(L"--page controls --shot \"" + shot.wstring() + L"\"");
    EXPECT_EQ(gallery.ExitCode(60000), std::optional<DWORD>(0));
  }
  EXPECT_TRUE(std::filesystem::exists(shot)) << "no picture under the name asked for";
  EXPECT_GT(std::filesystem::file_size(shot), 1000u);

  // A layered skin that is not there: reported, and the run fails.
  GalleryRun missing(L"--layered \"" + (folder / L"NoSuchSkin").wstring() + L"\" --shot \"" + (folder / L"x.png").wstring() +
              L"\"");
  const std::optional<DWORD> code = missing.ExitCode(60000);
  ASSERT_TRUE(code.has_value()) << "the run did not end";
  EXPECT_NE(*code, 0u);
  std::error_code error;
  std::filesystem::remove_all(folder.parent_path(), error);
}

// A skin that fails to load, of either engine, ends a screenshot run with an error code, with
// what the user was told printed: the engine's own message too, where the engine showed one
// (the classic engine's for a cut package, naming the file and saying that no skin is worn,
// after which the gallery ran unskinned and ended with 0), a classic file that is not there
// (once, with one full stop), and the message of the engine's error (a damaged layered pack).
TEST(GalleryProgram, ASkinThatFailsToLoadEndsAScreenshotWithAnErrorCodeAndWhatTheUserWasToldPrinted) {
  const std::filesystem::path folder = wintest::UniqueTempPath(L"gallery_failed_load");
  std::filesystem::create_directories(folder);
  const std::string sample = wintest::ReadBytes(SamplePackage(L"Jade.skn"));
  ASSERT_GT(sample.size(), 100u);
  wintest::WriteBytes(folder / L"Cut.skn", std::string_view(sample).substr(0, sample.size() - 2));
  const std::string cut = vcl::WideToUtf8((folder / L"Cut.skn").wstring());
  const std::string missing = vcl::WideToUtf8((folder / L"Missing.skn").wstring());
  // A layered pack whose one entry's compressed data is no zlib stream.
  const std::string damaged = std::string("PMzf\x01\x00\x00\x00\x0B\x00\x00\x00Options.dat\x04\x00\x00\x00", 27) +
                              "not a zlib stream";
  wintest::WriteBytes(folder / L"Damaged.pmz", damaged);
  const struct {
    std::wstring arguments;
    std::vector<std::string> printed;
  } runs[] = {
      {L"--page controls --classic \"" + (folder / L"Cut.skn").wstring() + L"\"",
       {"skingallery: The skin package \"" + cut +
            "\" is damaged: its data ends before its declared size. The windows keep their own look.",
        "skingallery: the gallery runs unskinned"}},
      {L"--page controls --classic \"" + (folder / L"Missing.skn").wstring() + L"\"",
       {"skingallery: " + missing + " does not exist.", "skingallery: the gallery runs unskinned"}},
      {L"--layered \"" + (folder / L"Damaged.pmz").wstring() + L"\"",
       {"skingallery: The skin pack \"" + vcl::WideToUtf8((folder / L"Damaged.pmz").wstring()) +
            "\" is damaged: the compressed data of entry 1 of 1 (\"Options.dat\") cannot be unpacked (data error).",
        "skingallery: Damaged (pack) could not be loaded from " + vcl::WideToUtf8(folder.wstring()) +
            "; the page runs unskinned."}},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(vcl::WideToUtf8(run.arguments));
    const std::wstring errors = (folder / L"errors.txt").wstring();
    {
      GalleryRun gallery(run.arguments + L" --shot \"" + (folder / L"x.png").wstring() + L"\"", errors);
      const std::optional<DWORD> code = gallery.ExitCode(60000);
      ASSERT_TRUE(code.has_value()) << "the run did not end";
      EXPECT_EQ(*code, 1u);
    }
    // Lines as the program's text stream ends them.
    const std::string printed = wintest::ReadBytes(errors);
    for (const std::string& line : run.printed) EXPECT_NE(printed.find(line + "\r\n"), std::string::npos) << printed;
    // No skin was worn before: none is said to stay; no sentence ends twice.
    EXPECT_EQ(printed.find("in use"), std::string::npos) << printed;
    EXPECT_EQ(printed.find(".."), std::string::npos) << printed;
  }
  std::error_code error;
  std::filesystem::remove_all(folder, error);
}

// ---------------------------------------------------------------------------------------
// The screenshot's waits

// What the standard error stream gets while it lives goes to a file instead.
class ErrorsKept {
 public:
  explicit ErrorsKept(const std::filesystem::path& File) : file_(File) {
    std::fflush(stderr);
    saved_ = _dup(2);
    const int kept = _wopen(File.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (kept >= 0) {
      _dup2(kept, 2);
      _close(kept);
    }
  }
  ~ErrorsKept() { Restore(); }
  ErrorsKept(const ErrorsKept&) = delete;
  ErrorsKept& operator=(const ErrorsKept&) = delete;

  std::string Text() {
    Restore();
    return wintest::ReadBytes(file_);
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    _dup2(saved_, 2);
    _close(saved_);
    saved_ = -1;
  }
  std::filesystem::path file_;
  int saved_ = -1;
};

struct ShotTaken {
  bool ended = false;  // the shot ended the message loop (its quit message)
  std::string said;    // what it printed
};

// The gallery's screenshot of this process's windows, the message loop run until the shot
// ends it or a minute passes. Busy: a message waits in the queue at each of the shot's looks
// (posted as its tick comes), as in a program that never falls idle.
ShotTaken TakeShot(const std::filesystem::path& Folder, bool Busy) {
  std::error_code error;
  std::filesystem::remove(Folder / L"shot.png", error);
  ErrorsKept errors(Folder / L"said.txt");
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  StartScreenshot((Folder / L"shot.png").wstring());
  ShotTaken taken;
  while (!taken.ended && std::chrono::steady_clock::now() < end) {
    MSG msg{};
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      wintest::AwaitWork(end);
    } else if (msg.message == WM_QUIT) {
      taken.ended = true;
    } else {
      // The shot's tick is a timer without a window.
      if (Busy && msg.message == WM_TIMER && !msg.hwnd) PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  taken.said = errors.Text();
  return taken;
}

// The shot waits for the program to fall idle and for its windows to be skinned, each up to a
// bound: within both the picture comes with nothing more said; past one it is taken as things
// are, and the wait that gave up is said, naming the windows still unskinned.
TEST(GalleryScreenshot, EachWaitGivesUpAtItsBoundSayingSoAndThePictureIsStillTaken) {
  const wintest::TempDir folder(L"gallery_shot");
  const std::filesystem::path shot = folder.File(L"shot.png");
  Owned<TGalleryMain> skinned(vcl::Construct<TGalleryMain>(nullptr));
  ApplyClassicSkin(skinned.get(), std::nullopt);
  skinned->SetCaption(L"Skinned at once");
  skinned->SetBounds(40, 40, 500, 400);
  skinned->Show();

  const ShotTaken quiet = TakeShot(folder.Path(), false);
  ASSERT_TRUE(quiet.ended) << quiet.said;
  EXPECT_TRUE(std::filesystem::exists(shot));
  EXPECT_NE(quiet.said.find("skingallery: screenshot written"), std::string::npos) << quiet.said;
  EXPECT_EQ(quiet.said.find("within"), std::string::npos) << quiet.said;

  const ShotTaken busy = TakeShot(folder.Path(), true);
  ASSERT_TRUE(busy.ended) << "a program never idle got no picture: " << busy.said;
  EXPECT_TRUE(std::filesystem::exists(shot));
  EXPECT_NE(busy.said.find("skingallery: the program was not idle within 10 s; the picture is taken busy"),
            std::string::npos)
      << busy.said;
  EXPECT_EQ(busy.said.find("skinned within"), std::string::npos) << busy.said;
  EXPECT_NE(busy.said.find("skingallery: screenshot written"), std::string::npos) << busy.said;

  // A form the engine leaves alone beside the skinned one.
  Owned<TGalleryMain> alone(vcl::Construct<TGalleryMain>(nullptr));
  alone->SetTag(winskin::kNeverSkinFormTag);
  alone->SetCaption(L"Never skinned");
  alone->SetBounds(600, 40, 500, 400);
  alone->Show();
  const ShotTaken partial = TakeShot(folder.Path(), false);
  ASSERT_TRUE(partial.ended) << partial.said;
  EXPECT_TRUE(std::filesystem::exists(shot));
  EXPECT_NE(partial.said.find("skingallery: not every window was skinned within 8 s (TGalleryMain \"Never skinned\"); "
                              "the picture is taken as they are"),
            std::string::npos)
      << partial.said;
  EXPECT_EQ(partial.said.find("idle within"), std::string::npos) << partial.said;
  EXPECT_NE(partial.said.find("skingallery: screenshot written"), std::string::npos) << partial.said;
}

// A shown main form of the gallery under the classic skin, titled Caption: the window the
// screenshot tests picture.
Owned<TGalleryMain> ShownMainForm(const wchar_t* Caption) {
  Owned<TGalleryMain> form(vcl::Construct<TGalleryMain>(nullptr));
  ApplyClassicSkin(form.get(), std::nullopt);
  form->SetCaption(Caption);
  form->SetBounds(40, 40, 500, 400);
  form->Show();
  return form;
}

// A page that takes more pictures: each step runs after its picture, in order, the pictures
// after the first and their lists are written beside the first ones (the list of each shows
// the windows as its step left them), and the program ends after the picture that follows the
// last step.
TEST(GalleryScreenshot, APageOfMorePicturesRunsEachStepAfterItsPictureAndEndsAfterTheLast) {
  const wintest::TempDir folder(L"gallery_steps");
  Owned<TGalleryMain> form = ShownMainForm(L"Before the steps");
  ErrorsKept errors(folder.File(L"said.txt"));
  StartScreenshot(folder.File(L"shot.png"), folder.File(L"shot.txt"));
  std::vector<int> ran;
  auto step = [&](int N) {
    // The picture before this step is there, the next one not yet.
    EXPECT_TRUE(std::filesystem::exists(ShotPath(folder.File(L"shot.png"), N))) << N;
    EXPECT_FALSE(std::filesystem::exists(ShotPath(folder.File(L"shot.png"), N + 1))) << N;
    ran.push_back(N);
    form->SetCaption(L"After step " + std::to_wstring(N));
  };
  AddShotStep([&] { step(1); });
  AddShotStep([&] { step(2); });
  EXPECT_TRUE(TakingShots());
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(90);
  bool ended = false;
  while (!ended && std::chrono::steady_clock::now() < end) {
    MSG msg{};
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      wintest::AwaitWork(end);
    } else if (msg.message == WM_QUIT) {
      ended = true;
    } else {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  const std::string said = errors.Text();
  ASSERT_TRUE(ended) << said;
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  EXPECT_EQ(ShotPath(folder.File(L"shot.png"), 3), folder.File(L"shot-3.png"));
  for (const wchar_t* name : {L"shot.png", L"shot-2.png", L"shot-3.png", L"shot.txt", L"shot-2.txt", L"shot-3.txt"})
    EXPECT_TRUE(std::filesystem::exists(folder.File(name))) << vcl::WideToUtf8(name);
  EXPECT_FALSE(std::filesystem::exists(folder.File(L"shot-4.png")));
  EXPECT_NE(wintest::ReadBytes(folder.File(L"shot.txt")).find("Before the steps"), std::string::npos);
  EXPECT_NE(wintest::ReadBytes(folder.File(L"shot-2.txt")).find("After step 1"), std::string::npos);
  EXPECT_NE(wintest::ReadBytes(folder.File(L"shot-3.txt")).find("After step 2"), std::string::npos);
  EXPECT_EQ(said.find("screenshot written"), said.rfind("screenshot written")) << "said once, at the end: " << said;
}


// The message loop run until the shot ends it (its quit message) or a minute passes, Turn
// called after each message; true when the shot ended it.
bool RunUntilTheShotEnds(const std::function<void()>& Turn) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < end) {
    MSG msg{};
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      wintest::AwaitWork(end);
    } else if (msg.message == WM_QUIT) {
      return true;
    } else {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Turn();
  }
  return false;
}

// A step that lets messages through for longer than the shot's waits (as a focus moved round
// dialogs or a skin switched does) gets its picture once it has ended, never half done.
TEST(GalleryScreenshot, AStepThatLetsMessagesThroughIsPicturedOnlyOnceItEnds) {
  const wintest::TempDir folder(L"gallery_long_step");
  Owned<TGalleryMain> form = ShownMainForm(L"Before the step");
  ErrorsKept errors(folder.File(L"said.txt"));
  StartScreenshot(folder.File(L"shot.png"), folder.File(L"shot.txt"));
  bool picturedInside = false;
  AddShotStep([&] {
    form->SetCaption(L"The step half done");
    // Messages through until the next picture comes or four times the waits have passed.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    while (!picturedInside && std::chrono::steady_clock::now() < end) {
      MSG msg{};
      if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        wintest::AwaitWork(end);
      } else if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      } else {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      picturedInside = std::filesystem::exists(folder.File(L"shot-2.png"));
    }
    form->SetCaption(L"After the step");
  });
  const bool ended = RunUntilTheShotEnds([] {});
  const std::string said = errors.Text();
  ASSERT_TRUE(ended) << said;
  EXPECT_FALSE(picturedInside) << "the second picture was taken while its step ran";
  const std::string list = wintest::ReadBytes(folder.File(L"shot-2.txt"));
  EXPECT_NE(list.find("After the step"), std::string::npos) << list;
  EXPECT_EQ(list.find("half done"), std::string::npos) << list;
}

// A window that changes while its picture is taken (an activation the display gives late, a
// dialog that comes) would make the picture disagree with its list: the picture is taken again,
// and the list is that of the windows it shows.
TEST(GalleryScreenshot, AWindowThatChangesWhileItsPictureIsTakenIsPicturedAgain) {
  const wintest::TempDir folder(L"gallery_changed_shot");
  Owned<TGalleryMain> form = ShownMainForm(L"Before the grab");
  ErrorsKept errors(folder.File(L"said.txt"));
  StartScreenshot(folder.File(L"shot.png"), folder.File(L"shot.txt"));
  bool changed = false;
  // The list is written as the grab starts, and the picture appears when the grab is whole.
  const bool ended = RunUntilTheShotEnds([&] {
    if (!changed && std::filesystem::exists(folder.File(L"shot.txt")) && !std::filesystem::exists(folder.File(L"shot.png"))) {
      form->SetCaption(L"Changed during the grab");
      changed = true;
    }
  });
  const std::string said = errors.Text();
  ASSERT_TRUE(ended) << said;
  ASSERT_TRUE(changed) << "no grab under way was seen";
  EXPECT_TRUE(std::filesystem::exists(folder.File(L"shot.png")));
  const std::string list = wintest::ReadBytes(folder.File(L"shot.txt"));
  EXPECT_NE(list.find("Changed during the grab"), std::string::npos) << list;
  EXPECT_EQ(said.find("kept changing"), std::string::npos) << said;
}

}  // namespace
}  // namespace gallery::test
