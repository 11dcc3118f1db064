// The controls of skinned system dialogs as the user sees them: dialogs made from templates
// and the system's own dialogs, skinned by the dialog hook alone, judged from the dialog
// window's own pixels. Every section, piece and state of the test skin has a colour of its
// own, so one pixel tells what was painted there.
#include <algorithm>
#include <array>
#include <cwchar>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "dialogs_support.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/adapters/CheckBoxWnd.h"
#include "skin_layered/adapters/ContainerWnd.h"
#include "skin_layered/adapters/EditWnd.h"
#include "skin_layered/adapters/SizerWnd.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "support/win_test_support.h"

#include <commdlg.h>
#include <prsht.h>

namespace skin_layered::test {
namespace {

constexpr COLORREF kDialogColor = 0xB0A090, kCheckColor = 0x4060A0, kEditColor2 = 0xE0C0A0, kEditHot2 = 0xE8D0B8,
                   kSpinColor = 0x30A030, kGaugeFace = 0x70D0D0, kGaugeEdge = 0x104080, kBarH = 0xC03030,
                   kBarV = 0x3030C0, kButtonColor = 0x909060;
// The tool button's border image: one colour a state (normal, hot, pressed).
constexpr std::array<COLORREF, 3> kToolStates{0x606060, 0x00C0FF, 0xFF00C0};
constexpr int kPiece = 12;  // every piece of the master bitmap is 12 pixels square

// The master bitmap: the gauge's frame (edge colour all round a see-through centre), its
// horizontal and vertical bars, the tool button's three states side by side.
Bytes Master() {
  return Bmp24(6 * kPiece, kPiece, [](int X, int Y) -> std::uint32_t {
    const int piece = X / kPiece, x = X % kPiece;
    switch (piece) {
      case 0: return x < 3 || Y < 3 || x >= kPiece - 3 || Y >= kPiece - 3 ? Rgb(kGaugeEdge) : 0xFF00FF;
      case 1: return Rgb(kBarH);
      case 2: return Rgb(kBarV);
      default: return Rgb(kToolStates[static_cast<std::size_t>(piece - 3)]);
    }
  });
}

std::string Piece(const char* Name, int Index, int Count, int DrawMode) {
  char line[96];
  std::snprintf(line, sizeof line, "%s=^%04d,0000,%04d,%04d,0003,0003,0003,0003,%d,0,%d,0\r\n", Name, Index * kPiece,
                (Index + Count) * kPiece, kPiece, Count, DrawMode);
  return line;
}

// What a skin holds of the gauge.
enum class Gauge { Whole, HorizontalBar, NoBars, None };

std::string ControlsSkinText(Gauge G = Gauge::Whole, bool DialogSection = true, bool SeeThroughChecks = false,
                             bool ToolButtons = true) {
  std::string text = "[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=master.bmp\r\n";
  if (DialogSection) text += FlatSection("DIALOG", kDialogColor, kDialogColor);
  text += "[FORMTITLE]\r\nCOLOR=$603020\r\n" + FlatSection("EDIT", kEditColor2, kEditHot2) +
          FlatSection("SPEEDBUTTON_SMALL", kSpinColor, kSpinColor) + FlatSection("BUTTON", kButtonColor, kButtonColor) +
          FlatSection("PAGECONTROL", 0x8080C0, 0x8080C0);
  if (ToolButtons) text += FlatSection("TOOLBUTTON", 0x202020, 0x202020) + Piece("BORDERSMASK", 3, 3, 5);
  text += FlatSection("CHECKBOX", kCheckColor, kCheckColor);
  if (SeeThroughChecks) text += "TRANSPARENCY=100\r\nHOTTRANSPARENCY=100\r\n";
  if (G != Gauge::None) {
    text += FlatSection("GAUGE", kGaugeFace, kGaugeFace) + Piece("BORDERSMASK", 0, 1, 0);
    if (G != Gauge::NoBars) text += Piece("PROGRESSH", 1, 1, 5);
    if (G == Gauge::Whole) text += Piece("PROGRESSV", 2, 1, 5);
  }
  return text;
}

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;

// Painted through: every message handled, the dialog's frame and children painted.
void Settle(HWND Dlg) {
  wintest::PumpUntilIdle();
  RedrawWindow(Dlg, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  wintest::PumpUntilIdle();
}

// The pixels of a child's rectangle in its dialog, row by row.
std::vector<COLORREF> PixelsOf(HWND Dlg, HWND Child) {
  const RECT r = Place(Dlg, Child);
  const auto pixels = Pixels(Dlg);
  std::vector<COLORREF> colours;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) colours.push_back(pixels->At(x, y));
  return colours;
}

// What the dialog shows at a child's place with the child hidden.
std::vector<COLORREF> BehindOf(HWND Dlg, HWND Child) {
  ShowWindow(Child, SW_HIDE);
  RedrawWindow(Dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  Settle(Dlg);
  std::vector<COLORREF> behind = PixelsOf(Dlg, Child);
  ShowWindow(Child, SW_SHOWNA);
  Settle(Dlg);
  return behind;
}

// The count of places where two pictures of one area differ (all of them for other sizes).
std::size_t Differing(const std::vector<COLORREF>& A, const std::vector<COLORREF>& B) {
  if (A.size() != B.size()) return std::max(A.size(), B.size());
  std::size_t n = 0;
  for (std::size_t i = 0; i < A.size(); ++i) n += A[i] != B[i];
  return n;
}

// Pixels of R in a solid black block: their 5 x 5 neighbourhood is black whole (text is not).
int SolidBlack(const MemoryPixels& P, const RECT& R) {
  int n = 0;
  for (int y = R.top; y < R.bottom; ++y)
    for (int x = R.left; x < R.right; ++x) {
      bool black = true;
      for (int dy = -2; dy <= 2 && black; ++dy)
        for (int dx = -2; dx <= 2 && black; ++dx) black = P.At(x + dx, y + dy) == 0;
      n += black;
    }
  return n;
}

class DialogControls : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    for (const wchar_t* name : {L"Whole", L"HorzBar", L"NoBars", L"NoGauge", L"NoDialog", L"SeeThrough", L"NoToolButton"})
      skins.Write(name, L"master.bmp", Master());
    skins.Write(L"HorzBar", L"Options.dat", BytesOf(ControlsSkinText(Gauge::HorizontalBar)));
    skins.Write(L"NoBars", L"Options.dat", BytesOf(ControlsSkinText(Gauge::NoBars)));
    skins.Write(L"NoGauge", L"Options.dat", BytesOf(ControlsSkinText(Gauge::None)));
    skins.Write(L"NoDialog", L"Options.dat", BytesOf(ControlsSkinText(Gauge::Whole, false, true)));
    skins.Write(L"SeeThrough", L"Options.dat", BytesOf(ControlsSkinText(Gauge::Whole, true, true)));
    skins.Write(L"NoToolButton", L"Options.dat", BytesOf(ControlsSkinText(Gauge::Whole, true, false, false)));
    manager = LoadedManager(skins, L"Whole", ControlsSkinText());
    manager->AnimEffects()->DialogShow()->SetActive(false);
    manager->AnimEffects()->DialogHide()->SetActive(false);
    ASSERT_TRUE(manager->IsDefault());
  }
  void TearDown() override {
    for (HWND d : dialogs)
      if (IsWindow(d)) DestroyWindow(d);
    PurgeProviders();
    manager.reset();
  }

  HWND Open(const DialogTemplate& Template, DialogBehaviour* Behaviour = nullptr) {
    const HWND d = CreateTestDialog(Template, Behaviour);
    dialogs.push_back(d);
    Settle(d);
    return d;
  }
  void UseSkin(const wchar_t* Name) {
    manager->SetSkinName(Name);
    ASSERT_TRUE(manager->Skin().SkinData.Active);
  }
  TempSkins skins;
  ManagerPtr manager;
  DialogBehaviour behaviour;  // the dialogs' procedure reads it until they go
  std::vector<HWND> dialogs;
};

// ---------------------------------------------------------------------------------------
// Edits

// The colours of the frame of an edit at R, two pixels deep, at the middle of each side.
std::vector<COLORREF> FrameColours(const MemoryPixels& P, const RECT& R) {
  const int mx = (R.left + R.right) / 2, my = (R.top + R.bottom) / 2;
  std::vector<COLORREF> colours;
  for (int d = 0; d < 2; ++d) {
    colours.push_back(P.At(R.left + d, my));
    colours.push_back(P.At(R.right - 1 - d, my));
    colours.push_back(P.At(mx, R.top + d));
    colours.push_back(P.At(mx, R.bottom - 1 - d));
  }
  return colours;
}

void ExpectSkinnedFrame(HWND Dlg, HWND Edit, const char* When) {
  SCOPED_TRACE(When);
  ASSERT_NE(dynamic_cast<TqvEditWnd*>(GetAdapter(Edit)), nullptr);
  RECT client{};
  GetClientRect(Edit, &client);
  const RECT place = Place(Dlg, Edit);
  ASSERT_EQ(place.right - place.left - client.right, 4) << "a two-pixel frame";
  for (COLORREF c : FrameColours(*Pixels(Dlg), place))
    EXPECT_TRUE(c == kEditColor2 || c == kEditHot2) << std::hex << c;
}

DialogTemplate TwoEdits(DWORD Visible) {
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | Visible, L"Edits", 200, 90);
  // The dialog manager gives a bordered edit the sunken client edge.
  t.Item(kEdit, WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 10, 120, 14, 100, L"First");
  t.Item(kEdit, WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 30, 120, 14, 101, L"Second");
  t.Item(kButton, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 10, 56, 50, 14, IDCANCEL, L"Close");
  return t;
}

TEST_F(DialogControls, AnEditsFrameIsTheSkinsAfterEveryRepaint) {
  for (DWORD visible : {static_cast<DWORD>(WS_VISIBLE), 0ul}) {
    SCOPED_TRACE(visible ? "made visible" : "shown later");
    const HWND dlg = Open(TwoEdits(visible));
    if (!visible) {
      ShowWindow(dlg, SW_SHOW);
      Settle(dlg);
    }
    const HWND first = GetDlgItem(dlg, 100), second = GetDlgItem(dlg, 101);
    ExpectSkinnedFrame(dlg, first, "first painting");
    ExpectSkinnedFrame(dlg, second, "first painting");
    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    Settle(dlg);
    ExpectSkinnedFrame(dlg, first, "redrawn");
    SetFocus(second);
    Settle(dlg);
    ExpectSkinnedFrame(dlg, first, "focus gone");
    ExpectSkinnedFrame(dlg, second, "focused");
    RECT r{};
    GetWindowRect(dlg, &r);
    SetWindowPos(dlg, nullptr, r.left + 40, r.top + 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Settle(dlg);
    ExpectSkinnedFrame(dlg, first, "moved");
    ExpectSkinnedFrame(dlg, second, "moved");
    DestroyWindow(dlg);
    PurgeProviders();
  }
}

// Only the edit (or list box) that has the focus shows the focused frame, however the focus
// moves: the dialog manager's Tab and Shift+Tab, a click into another edit, the focus given to
// a button.
TEST_F(DialogControls, OnlyTheFocusedEditShowsTheFocusedFrame) {
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, L"Edits", 200, 110);
  t.Item(kEdit, WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 10, 120, 14, 100, L"First");
  t.Item(kEdit, WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 30, 120, 14, 101, L"Second");
  t.Item(0x0083, WS_VISIBLE | WS_BORDER | WS_TABSTOP | LBS_NOINTEGRALHEIGHT, 10, 50, 120, 30, 102);
  t.Item(kButton, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 10, 86, 50, 14, IDCANCEL, L"Close");
  const HWND dlg = Open(t);
  const HWND first = GetDlgItem(dlg, 100), second = GetDlgItem(dlg, 101), list = GetDlgItem(dlg, 102),
             close = GetDlgItem(dlg, IDCANCEL);
  // A frame all of one colour: the focused one's, the normal one's, else none.
  auto frame = [dlg](HWND Control) -> COLORREF {
    const std::vector<COLORREF> colours = FrameColours(*Pixels(dlg), Place(dlg, Control));
    return std::all_of(colours.begin(), colours.end(), [&](COLORREF c) { return c == colours.front(); })
               ? colours.front()
               : 0xFFFFFFFF;
  };
  auto expectFocus = [&](HWND Focused, const char* How) {
    SCOPED_TRACE(How);
    Settle(dlg);
    ASSERT_EQ(GetFocus(), Focused);
    for (const HWND framed : {first, second, list})
      EXPECT_EQ(frame(framed), Focused == framed ? kEditHot2 : kEditColor2) << GetDlgCtrlID(framed);
  };
  SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
  expectFocus(first, "the first given the focus");
  SendMessageW(dlg, WM_NEXTDLGCTL, 0, 0);
  expectFocus(second, "Tab");
  SendMessageW(dlg, WM_NEXTDLGCTL, 1, 0);
  expectFocus(first, "Shift+Tab");
  // A click into the other edit.
  RECT r{};
  GetClientRect(second, &r);
  const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  SendMessageW(second, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(second, WM_LBUTTONUP, 0, at);
  expectFocus(second, "a click");
  SendMessageW(dlg, WM_NEXTDLGCTL, 0, 0);
  expectFocus(list, "Tab to the list");
  SendMessageW(dlg, WM_NEXTDLGCTL, 0, 0);
  expectFocus(close, "Tab to the button");
  SendMessageW(dlg, WM_NEXTDLGCTL, 1, 0);
  expectFocus(list, "Shift+Tab back");
  SendMessageW(dlg, WM_NEXTDLGCTL, 1, 0);
  expectFocus(second, "Shift+Tab to an edit");
  SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(close), TRUE);
  expectFocus(close, "the button given the focus");
}

// The system's own Find dialog, owned by a form.
TEST_F(DialogControls, TheFindDialogsEditHasTheSkinsFrame) {
  auto form = ShownForm();
  form->Show();
  static wchar_t findWhat[80] = L"a word";
  static FINDREPLACEW find{};
  find = FINDREPLACEW{};
  find.lStructSize = sizeof find;
  find.hwndOwner = form->Handle();
  find.lpstrFindWhat = findWhat;
  find.wFindWhatLen = 80;
  const HWND dlg = FindTextW(&find);
  ASSERT_NE(dlg, nullptr);
  dialogs.push_back(dlg);
  Settle(dlg);
  ASSERT_NE(DialogAdapterOf(dlg), nullptr);
  HWND edit = nullptr;
  for (HWND c = GetWindow(dlg, GW_CHILD); c && !edit; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[16] = {};
    GetClassNameW(c, cls, 16);
    if (lstrcmpiW(cls, L"edit") == 0) edit = c;
  }
  ASSERT_NE(edit, nullptr);
  ExpectSkinnedFrame(dlg, edit, "find dialog");
}

// A dialog's size grip under a skin without the grip's picture shows the system's grip, line
// for line where the system draws it, over the dialog's face; with the picture, the skin's.
TEST_F(DialogControls, ASizeGripShowsTheSystemsGripWithoutTheSkinsPicture) {
  std::string withGrip = ControlsSkinText();
  withGrip.insert(withGrip.find("MASTERBITMAP"), "GRIPIMAGE=@0012,0000,0024,0012,1,0\r\n");
  skins.Write(L"Grip", L"master.bmp", Master());
  skins.Write(L"Grip", L"Options.dat", BytesOf(withGrip));
  for (const wchar_t* skin : {L"Whole", L"Grip"}) {
    SCOPED_TRACE(skin);
    UseSkin(skin);
    DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, L"Grip", 160, 80);
    t.Item(0x0084, WS_VISIBLE | SBS_SIZEGRIP | SBS_SIZEBOX, 140, 60, 20, 20, 100);
    const HWND dlg = Open(t);
    const HWND grip = GetDlgItem(dlg, 100);
    ASSERT_NE(grip, nullptr);
    ASSERT_NE(GetAdapter(grip), nullptr);
    const RECT place = Place(dlg, grip);
    const auto pixels = Pixels(dlg);
    if (std::wstring(skin) == L"Whole") {
      ExpectSystemGripInTheCorner(*pixels, place.right, place.bottom, std::min(place.right - place.left, place.bottom - place.top));
      EXPECT_EQ(pixels->At(place.left + 1, place.top + 1), kDialogColor) << "the dialog's face round it";
    } else {
      EXPECT_EQ(pixels->At(place.right - 1, place.bottom - 1), kBarH);
      EXPECT_EQ(pixels->At(place.right - 12, place.bottom - 12), kBarH);
    }
    DestroyWindow(dlg);
    PurgeProviders();
  }
}

// The colour dialog draws its grids of colours itself: under the skin they show, each custom
// colour in its place, with the dialog folded (its edits hidden, so none of them gets an
// adapter) and opened whole, under a skin without the dialog's section, and without a skin.
TEST_F(DialogControls, TheColourDialogsGridsOfColoursShow) {
  auto form = ShownForm();
  form->Show();
  COLORREF customColours[16];
  for (int i = 0; i < 16; ++i) customColours[i] = RGB(40 + i * 12, 200 - i * 9, 90 + i * 10);
  struct Case {
    const wchar_t* skin;  // nil: no skin
    DWORD flags;
  };
  for (const Case& c : {Case{L"Whole", 0}, Case{L"Whole", CC_FULLOPEN}, Case{L"NoDialog", 0}, Case{nullptr, 0}}) {
    SCOPED_TRACE(c.skin ? c.skin : L"no skin");
    SCOPED_TRACE(c.flags ? "opened whole" : "folded");
    if (c.skin)
      UseSkin(c.skin);
    else
      manager->SetActive(false);
    COLORREF custom[16];
    std::copy(std::begin(customColours), std::end(customColours), custom);
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = form->Handle();
    choose.rgbResult = RGB(52, 112, 204);
    choose.lpCustColors = custom;
    choose.Flags = CC_RGBINIT | c.flags;
    // Of the custom colours, those found in their grid, read once the dialog shows, painted.
    int colours = 0;
    const TBoxWatch watch = RunModal(
        L"", [&] { ChooseColorW(&choose); },
        [&](HWND Dlg) {
          Settle(Dlg);
          if (const HWND grid = GetDlgItem(Dlg, 0x2d1)) {  // the template's grid of custom colours
            const auto pixels = Pixels(Dlg);
            for (COLORREF colour : customColours) colours += CountColor(*pixels, Place(Dlg, grid), colour) > 20 ? 1 : 0;
          }
        });
    PurgeProviders();
    ASSERT_NE(watch.box, nullptr) << "the colour dialog did not show";
    if (!c.skin || std::wstring(c.skin) == L"Whole") {
      EXPECT_EQ(watch.skinned, c.skin != nullptr);
    }
    EXPECT_EQ(colours, 16);
  }
}

// A skin without the edit's section leaves the frame to the system: its sunken edge.
TEST_F(DialogControls, WithoutTheEditSectionTheSystemDrawsTheFrame) {
  std::string text = ControlsSkinText();
  const std::size_t at = text.find("[EDIT]");
  text.replace(at, text.find("[SPEEDBUTTON_SMALL]") - at, "");
  skins.Write(L"NoEdit", L"master.bmp", Master());
  skins.Write(L"NoEdit", L"Options.dat", BytesOf(text));
  UseSkin(L"NoEdit");
  const HWND dlg = Open(TwoEdits(WS_VISIBLE));
  const HWND edit = GetDlgItem(dlg, 101);
  const RECT place = Place(dlg, edit);
  const auto pixels = Pixels(dlg);
  const int my = (place.top + place.bottom) / 2;
  EXPECT_EQ(pixels->At(place.left, my), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(pixels->At(place.right - 1, my), GetSysColor(COLOR_BTNHIGHLIGHT));
}

}  // namespace
}  // namespace skin_layered::test

namespace skin_layered::test {
namespace {

// ---------------------------------------------------------------------------------------
// Up-down controls

// A vertical up-down alone (100), a horizontal one (101), and an edit (102) with its buddy
// up-down beside it (103).
DialogTemplate UpDownsDialog() {
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_VISIBLE, L"Up-downs", 200, 90);
  t.Item(UPDOWN_CLASSW, WS_VISIBLE, 20, 10, 12, 24, 100);
  t.Item(UPDOWN_CLASSW, WS_VISIBLE | UDS_HORZ, 60, 10, 24, 12, 101);
  t.Item(kEdit, WS_VISIBLE | WS_BORDER | ES_NUMBER, 100, 10, 40, 14, 102, L"5");
  t.Item(UPDOWN_CLASSW, WS_VISIBLE | UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 0, 0, 10, 14, 103);
  return t;
}

// An up-down alone shows the dialog behind the two columns at its left that an up-down beside
// its edit leaves to the edit's frame; the rest is the skin's buttons.
TEST_F(DialogControls, AnUpDownAloneShowsTheDialogInTheStripAtItsLeft) {
  const DialogTemplate t = UpDownsDialog();
  const HWND dlg = Open(t);
  auto columns = [dlg](int Id) {
    const RECT r = Place(dlg, GetDlgItem(dlg, Id));
    const auto pixels = Pixels(dlg);
    const int my = (r.top + r.bottom) / 2;
    return std::array<COLORREF, 3>{pixels->At(r.left, my), pixels->At(r.left + 1, my), pixels->At(r.left + 2, my)};
  };
  EXPECT_EQ(columns(100), (std::array<COLORREF, 3>{kDialogColor, kDialogColor, kSpinColor}));
  // A horizontal one has no such strip.
  EXPECT_EQ(columns(101), (std::array<COLORREF, 3>{kSpinColor, kSpinColor, kSpinColor}));
  // Beside its edit the strip is the edit's frame.
  std::array<COLORREF, 3> beside = columns(103);
  EXPECT_TRUE(beside[0] == kEditColor2 || beside[0] == kEditHot2) << std::hex << beside[0];
  EXPECT_EQ(beside[1], beside[0]);
  EXPECT_EQ(beside[2], kSpinColor);
  // The edit hidden, the strip shows the dialog again.
  ShowWindow(GetDlgItem(dlg, 102), SW_HIDE);
  InvalidateRect(GetDlgItem(dlg, 103), nullptr, TRUE);
  Settle(dlg);
  EXPECT_EQ(columns(103), (std::array<COLORREF, 3>{kDialogColor, kDialogColor, kSpinColor}));
}

// A disabled up-down shows it, as the system's does: its face and arrows faded toward what lies
// behind, nothing of the enabled look, and no half hot under the pointer; enabled again, the
// enabled look. Its edit disabled leaves it as it is, as the system does.
TEST_F(DialogControls, ADisabledUpDownLooksDisabled) {
  constexpr COLORREF kSpinHot = 0x30E0E0;
  std::string text = ControlsSkinText();
  const std::string spin = FlatSection("SPEEDBUTTON_SMALL", kSpinColor, kSpinColor);
  text.replace(text.find(spin), spin.size(), FlatSection("SPEEDBUTTON_SMALL", kSpinColor, kSpinHot));
  skins.Write(L"HotSpin", L"master.bmp", Master());
  skins.Write(L"HotSpin", L"Options.dat", BytesOf(text));
  UseSkin(L"HotSpin");
  MouseSeam mouse;
  mouse.cursor = POINT{-500, -500};
  const DialogTemplate t = UpDownsDialog();
  const HWND dlg = Open(t);
  // The up-down's pixels: of its face, of its arrows (black), and neither nor the dialog's.
  struct Look {
    int face = 0, arrow = 0, other = 0;
  };
  auto look = [dlg](int Id) {
    const RECT r = Place(dlg, GetDlgItem(dlg, Id));
    const auto pixels = Pixels(dlg);
    Look l;
    // Past the strip a vertical one leaves at its left.
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left + 2; x < r.right; ++x) {
        const COLORREF c = pixels->At(x, y);
        ++(c == kSpinColor ? l.face : c == 0 ? l.arrow : c != kDialogColor ? l.other : l.face);
      }
    return l;
  };
  auto expectEnabled = [&](int Id, bool Enabled) {
    SCOPED_TRACE(testing::Message() << Id << (Enabled ? " enabled" : " disabled"));
    const Look l = look(Id);
    if (Enabled) {
      EXPECT_GT(l.face, 60);
      EXPECT_GT(l.arrow, 4);
    } else {
      EXPECT_EQ(l.face, 0);
      EXPECT_EQ(l.arrow, 0);
      EXPECT_GT(l.other, 60) << "still seen";
    }
  };
  for (const int id : {100, 101, 103}) expectEnabled(id, true);
  for (const int id : {100, 101, 103}) EnableWindow(GetDlgItem(dlg, id), FALSE);
  Settle(dlg);
  for (const int id : {100, 101, 103}) expectEnabled(id, false);
  // Painted again whole, still disabled.
  RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  Settle(dlg);
  for (const int id : {100, 101, 103}) expectEnabled(id, false);
  // Under the pointer: a disabled one as it was, an enabled one with its upper half hot.
  const HWND alone = GetDlgItem(dlg, 100);
  auto pointed = [&] {
    RECT r{};
    GetWindowRect(alone, &r);
    mouse.cursor = POINT{(r.left + r.right) / 2, r.top + 3};
    InvalidateRect(alone, nullptr, FALSE);
    Settle(dlg);
    const std::vector<COLORREF> shown = PixelsOf(dlg, alone);
    mouse.cursor = POINT{-500, -500};
    InvalidateRect(alone, nullptr, FALSE);
    Settle(dlg);
    return std::pair{shown, PixelsOf(dlg, alone)};
  };
  const auto [disabledOver, disabledAway] = pointed();
  EXPECT_EQ(Differing(disabledOver, disabledAway), 0u);
  for (const int id : {100, 101, 103}) EnableWindow(GetDlgItem(dlg, id), TRUE);
  Settle(dlg);
  for (const int id : {100, 101, 103}) expectEnabled(id, true);
  const auto [enabledOver, enabledAway] = pointed();
  EXPECT_GT(std::count(enabledOver.begin(), enabledOver.end(), kSpinHot), 30);
  EXPECT_EQ(std::count(enabledAway.begin(), enabledAway.end(), kSpinHot), 0);
  EnableWindow(GetDlgItem(dlg, 102), FALSE);
  InvalidateRect(GetDlgItem(dlg, 103), nullptr, TRUE);
  Settle(dlg);
  expectEnabled(103, true);
}

// ---------------------------------------------------------------------------------------
// Tool bars

// Four buttons without text or image: checked, unchecked, held pressed, plain.
void FillToolBar(HWND Bar) {
  SendMessageW(Bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBBUTTON buttons[4]{};
  for (int i = 0; i < 4; ++i) {
    buttons[i].iBitmap = I_IMAGENONE;
    buttons[i].idCommand = 200 + i;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = i < 2 ? BTNS_CHECK : BTNS_BUTTON;
  }
  buttons[0].fsState |= TBSTATE_CHECKED;
  buttons[2].fsState |= TBSTATE_PRESSED;
  SendMessageW(Bar, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
  SendMessageW(Bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(30, 24));
}

// A checked button shows the pressed state, whether the pointer is over it or not, and the
// plain state again once unchecked.
TEST_F(DialogControls, ACheckedToolButtonLooksPressed) {
  MouseSeam mouse;
  mouse.cursor = POINT{-500, -500};
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_VISIBLE, L"Tool bar", 200, 60);
  t.Item(TOOLBARCLASSNAMEW, WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 4, 4, 160, 20, 100);
  behaviour.OnInit = [](HWND Dlg) { FillToolBar(GetDlgItem(Dlg, 100)); };
  const HWND dlg = Open(t, &behaviour);
  const HWND bar = GetDlgItem(dlg, 100);
  auto centre = [dlg, bar](int Index) {
    RECT item{};
    SendMessageW(bar, TB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&item), 2);
    RECT d{};
    GetWindowRect(dlg, &d);
    const POINT screen{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    return std::pair{screen, Pixels(dlg)->At(screen.x - d.left, screen.y - d.top)};
  };
  EXPECT_EQ(centre(0).second, kToolStates[2]);
  EXPECT_EQ(centre(1).second, kToolStates[0]);
  EXPECT_EQ(centre(2).second, kToolStates[2]);
  EXPECT_EQ(centre(3).second, kToolStates[0]);
  // Under the pointer: the checked one stays pressed, the unchecked one is hot.
  for (int i : {0, 1}) {
    mouse.cursor = centre(i).first;
    InvalidateRect(bar, nullptr, FALSE);
    Settle(dlg);
    EXPECT_EQ(centre(i).second, kToolStates[i == 0 ? 2 : 1]) << i;
  }
  mouse.cursor = POINT{-500, -500};
  // Checked and unchecked by the program.
  SendMessageW(bar, TB_CHECKBUTTON, 200, FALSE);
  SendMessageW(bar, TB_CHECKBUTTON, 201, TRUE);
  Settle(dlg);
  EXPECT_EQ(centre(0).second, kToolStates[0]);
  EXPECT_EQ(centre(1).second, kToolStates[2]);
}

// Under a skin without the tool button's section the bar still shows its buttons' states, as
// the system's flat buttons: a checked or pressed one sunken, the hot one raised, the others
// flat over the bar; in a dialog opened under that skin and in one that had the complete
// skin before.
TEST_F(DialogControls, WithoutTheToolButtonsSectionACheckedToolButtonStillLooksPressed) {
  MouseSeam mouse;
  mouse.cursor = POINT{-500, -500};
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_VISIBLE, L"Tool bar", 200, 60);
  t.Item(TOOLBARCLASSNAMEW, WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 4, 4, 160, 20, 100);
  behaviour.OnInit = [](HWND Dlg) { FillToolBar(GetDlgItem(Dlg, 100)); };
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(shadow, light);
  // The button's top-left and bottom-right edges: (left, top, right, bottom) at their middles.
  auto edges = [](HWND Dlg, HWND Bar, int Index) {
    RECT item{};
    SendMessageW(Bar, TB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(Bar, nullptr, reinterpret_cast<POINT*>(&item), 2);
    RECT d{};
    GetWindowRect(Dlg, &d);
    OffsetRect(&item, -d.left, -d.top);
    const auto pixels = Pixels(Dlg);
    const int mx = (item.left + item.right) / 2, my = (item.top + item.bottom) / 2;
    return std::array<COLORREF, 4>{pixels->At(item.left, my), pixels->At(mx, item.top), pixels->At(item.right - 1, my),
                                   pixels->At(mx, item.bottom - 1)};
  };
  const std::array<COLORREF, 4> sunken{shadow, shadow, light, light}, raised{light, light, shadow, shadow};
  auto check = [&](HWND Dlg, const char* When) {
    SCOPED_TRACE(When);
    const HWND bar = GetDlgItem(Dlg, 100);
    ASSERT_NE(GetAdapter(bar), nullptr);
    EXPECT_EQ(edges(Dlg, bar, 0), sunken);  // checked
    EXPECT_EQ(edges(Dlg, bar, 2), sunken);  // held pressed
    const std::array<COLORREF, 4> plain = edges(Dlg, bar, 1);
    EXPECT_NE(plain, sunken);
    EXPECT_NE(plain, raised);
    // Under the pointer the plain one is raised; checked by the program, it is sunken.
    RECT item{};
    SendMessageW(bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&item), 2);
    mouse.cursor = POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    InvalidateRect(bar, nullptr, FALSE);
    Settle(Dlg);
    EXPECT_EQ(edges(Dlg, bar, 1), raised);
    mouse.cursor = POINT{-500, -500};
    SendMessageW(bar, TB_CHECKBUTTON, 201, TRUE);
    Settle(Dlg);
    EXPECT_EQ(edges(Dlg, bar, 1), sunken);
  };
  // Opened under the complete skin, which then changes to the one without the section.
  const HWND before = Open(t, &behaviour);
  UseSkin(L"NoToolButton");
  Settle(before);
  check(before, "switched");
  // Opened under that skin.
  check(Open(t, &behaviour), "opened");
}

// ---------------------------------------------------------------------------------------
// A new skin reaching an open dialog

// A group box's caption written in the skin's colour of its section; after a change to a skin
// without that section (nor the dialog's), in the system's text colour: never in the former
// skin's colour.
TEST_F(DialogControls, AGroupBoxCaptionTakesNoColourOfTheFormerSkin) {
  constexpr COLORREF kCaption = 0x2040E0;
  skins.Write(L"Grouped", L"master.bmp", Master());
  skins.Write(L"Grouped", L"Options.dat",
              BytesOf(ControlsSkinText() + "[GROUPBOX]\r\nCOLOR=" + Hex(kDialogColor) + "\r\nHOTCOLOR=" +
                      Hex(kDialogColor) + "\r\nFONTCOLOR=" + Hex(kCaption) + "\r\nHOTFONTCOLOR=" + Hex(kCaption) +
                      "\r\nSTATES=3\r\n"));
  UseSkin(L"Grouped");
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_VISIBLE, L"Group", 200, 80);
  t.Item(kButton, WS_VISIBLE | BS_GROUPBOX, 10, 10, 150, 50, 100, L"MMMMMMMMMM");
  const HWND dlg = Open(t);
  // The caption's pixels of a colour, in the top band of the box.
  auto count = [dlg](COLORREF Colour) {
    const RECT box = Place(dlg, GetDlgItem(dlg, 100));
    const auto pixels = Pixels(dlg);
    int n = 0;
    for (int y = box.top; y < box.top + 14; ++y)
      for (int x = box.left; x < box.right; ++x) n += pixels->At(x, y) == Colour;
    return n;
  };
  EXPECT_GT(count(kCaption), 4);
  UseSkin(L"NoDialog");
  Settle(dlg);
  EXPECT_EQ(count(kCaption), 0);
  EXPECT_GT(count(GetSysColor(COLOR_WINDOWTEXT)), 4);
}

// Under a skin without the dialog's section the system paints the dialog's face: the controls
// that show what lies behind them show that face, not the last skin's picture of the dialog.
TEST_F(DialogControls, ASkinWithoutTheDialogSectionGivesTheSystemFaceBehindTheControls) {
  UseSkin(L"SeeThrough");
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_VISIBLE, L"Switched", 200, 80);
  t.Item(kButton, WS_VISIBLE | BS_AUTOCHECKBOX, 10, 10, 150, 12, 100, L"Box");
  t.Item(TOOLBARCLASSNAMEW, WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 10, 40, 180, 20, 101);
  behaviour.OnInit = [](HWND Dlg) { FillToolBar(GetDlgItem(Dlg, 101)); };
  const HWND dlg = Open(t, &behaviour);
  // Right of the check box's text, right of the tool bar's last button.
  auto behind = [dlg] {
    const RECT box = Place(dlg, GetDlgItem(dlg, 100)), bar = Place(dlg, GetDlgItem(dlg, 101));
    const auto pixels = Pixels(dlg);
    return std::pair{pixels->At(box.right - 3, (box.top + box.bottom) / 2), pixels->At(bar.right - 3, bar.top + 3)};
  };
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  ASSERT_NE(face, kDialogColor);
  EXPECT_EQ(behind(), std::pair(kDialogColor, kDialogColor));
  UseSkin(L"NoDialog");
  Settle(dlg);
  EXPECT_EQ(behind(), std::pair(face, face));
  // The dialog's client is the system's too, and the dialog asked for its colour answers it.
  RECT client{};
  GetClientRect(dlg, &client);
  POINT corner{client.right - 3, client.bottom - 3};
  MapWindowPoints(dlg, nullptr, &corner, 1);
  RECT wr{};
  GetWindowRect(dlg, &wr);
  EXPECT_EQ(Pixels(dlg)->At(corner.x - wr.left, corner.y - wr.top), face);
  TqvBGInfo info;
  GetBgInfoWnd(info, dlg, false);
  EXPECT_EQ(info.BgType, btColor);
  EXPECT_EQ(static_cast<COLORREF>(vcl::ColorToRGB(info.Color)), face);
  // A skin with the section again: its picture.
  UseSkin(L"SeeThrough");
  Settle(dlg);
  EXPECT_EQ(behind(), std::pair(kDialogColor, kDialogColor));
}

// Under a skin without the dialog's section a dialog has one look however it came to it,
// opened under that skin or open when the skin came: the system's frame (its own caption
// buttons, no region and, with extended borders on, no border window) and face, and the
// skin's frame on its edits, whose section the skin has. A skin with the section paints the
// frame and face of both again.
TEST_F(DialogControls, WithoutTheDialogSectionADialogOpenedOrSwitchedShowsTheSystemsFrameAndSkinnedControls) {
  manager->SetExtendedBorders(true);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  ASSERT_NE(face, kDialogColor);
  auto corner = [](HWND Dlg) {
    RECT wr{}, client{};
    GetWindowRect(Dlg, &wr);
    GetClientRect(Dlg, &client);
    POINT p{client.right - 3, client.bottom - 3};
    ClientToScreen(Dlg, &p);
    return Pixels(Dlg)->At(p.x - wr.left, p.y - wr.top);
  };
  auto hasRegion = [](HWND Dlg) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const bool has = GetWindowRgn(Dlg, rgn) != ERROR;
    DeleteObject(rgn);
    return has;
  };
  auto expectSystemFrame = [&](HWND Dlg, const char* When) {
    SCOPED_TRACE(When);
    Settle(Dlg);
    const TqvDialogWnd* d = DialogAdapterOf(Dlg);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(Dlg, GWL_STYLE) & WS_SYSMENU);
    EXPECT_FALSE(hasRegion(Dlg));
    EXPECT_EQ(d->ExtBorderForm(), nullptr);
    EXPECT_EQ(corner(Dlg), face);
    ExpectSkinnedFrame(Dlg, GetDlgItem(Dlg, 100), When);
    ExpectSkinnedFrame(Dlg, GetDlgItem(Dlg, 101), When);
  };
  auto expectSkinFrame = [&](HWND Dlg, const char* When) {
    SCOPED_TRACE(When);
    Settle(Dlg);
    const TqvDialogWnd* d = DialogAdapterOf(Dlg);
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(GetWindowLongPtrW(Dlg, GWL_STYLE) & WS_SYSMENU);
    EXPECT_NE(d->ExtBorderForm(), nullptr);
    EXPECT_EQ(corner(Dlg), kDialogColor);
    ExpectSkinnedFrame(Dlg, GetDlgItem(Dlg, 100), When);
  };
  UseSkin(L"NoDialog");
  const HWND opened = Open(TwoEdits(WS_VISIBLE));
  SetWindowPos(opened, nullptr, 420, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  expectSystemFrame(opened, "opened under the skin");
  UseSkin(L"Whole");
  const HWND switched = Open(TwoEdits(WS_VISIBLE));
  expectSkinFrame(switched, "opened under a skin with the section");
  expectSkinFrame(opened, "the first one under a skin with the section");
  UseSkin(L"NoDialog");
  expectSystemFrame(switched, "switched to the skin");
  expectSystemFrame(opened, "the first one switched to the skin");
  UseSkin(L"Whole");
  expectSkinFrame(switched, "switched back");
  expectSkinFrame(opened, "the first one switched back");
}

// Taking the skin away gives open dialogs back to the system at once: the one standing
// inactive behind another and the active one lose the skin's title and face, not only at
// their next activation; a dialog kept under a skin change keeps the skin's. A round in which
// a test program beside took the foreground (the front dialog's title then turns inactive)
// judges nothing and runs again with new dialogs.
TEST_F(DialogControls, TakingTheSkinAwayGivesOpenDialogsTheSystemsFrameAndFace) {
  constexpr COLORREF kTitle = 0x603020, kActiveTitle = 0x902040;
  // The title's own colour for each state, under two skins.
  for (const auto& [name, gauge] : {std::pair{L"Titled", Gauge::Whole}, std::pair{L"Titled2", Gauge::HorizontalBar}}) {
    std::string text = ControlsSkinText(gauge);
    const std::string title = "[FORMTITLE]\r\nCOLOR=$603020\r\n";
    text.replace(text.find(title), title.size(), "[FORMTITLE]\r\nCOLOR=" + Hex(kTitle) + "\r\nHOTCOLOR=" + Hex(kActiveTitle) + "\r\nSTATES=2\r\n");
    skins.Write(name, L"master.bmp", Master());
    skins.Write(name, L"Options.dat", BytesOf(text));
  }
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  ASSERT_NE(face, kDialogColor);
  // The title band's pixels of a colour, and the client's corner.
  auto look = [](HWND Dlg, COLORREF Title) {
    const auto pixels = Pixels(Dlg);
    const RECT box = WindowBox(Dlg);
    RECT wr{};
    GetWindowRect(Dlg, &wr);
    RECT client{};
    GetClientRect(Dlg, &client);
    POINT top{0, 0}, corner{client.right - 3, client.bottom - 3};
    ClientToScreen(Dlg, &top);
    ClientToScreen(Dlg, &corner);
    int title = 0;
    for (int y = 0; y < top.y - wr.top; ++y)
      for (int x = 0; x < box.right; ++x) title += pixels->At(x, y) == Title;
    return std::pair{title, pixels->At(corner.x - wr.left, corner.y - wr.top)};
  };
  const COLORREF titles[2] = {kTitle, kActiveTitle};
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, L"Given back", 200, 80);
  t.Item(kButton, WS_VISIBLE | BS_AUTOCHECKBOX, 10, 10, 150, 12, 100, L"Box");
  // Test programs beside take the foreground too (a soak shows form after form for minutes).
  constexpr int kRounds = 30;
  int round = 0;
  for (; round < kRounds; ++round) {
    manager->SetActive(true);
    UseSkin(L"Titled");
    const HWND behind = Open(t), front = Open(t);
    SetWindowPos(behind, nullptr, 420, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle(behind);
    const HWND both[2] = {behind, front};
    const vcl::TScopeExit close([&] {
      for (const HWND dlg : both) DestroyWindow(dlg);
    });
    // The program in the foreground, the front dialog active and shown so; from then on a
    // change of the foreground is heard (its messages come with the next pump).
    SetForegroundWindow(front);
    Settle(front);
    if (!wintest::PumpUntil([&] {
          const TqvDialogWnd* d = DialogAdapterOf(front);
          return GetActiveWindow() == front && d && d->Active;
        }))
      continue;
    const ForegroundChanges changes;
    ASSERT_TRUE(changes.Hooked());
    // Each dialog's look: opened, under another skin, with the skin taken away.
    std::vector<std::pair<int, COLORREF>> looks;
    auto lookBoth = [&] {
      for (int i = 0; i < 2; ++i) looks.push_back(look(both[i], titles[i]));
    };
    lookBoth();
    UseSkin(L"Titled2");
    Settle(behind);
    Settle(front);
    lookBoth();
    manager->SetActive(false);
    Settle(behind);
    Settle(front);
    lookBoth();
    const HWND active = GetActiveWindow();
    if (changes.Count() > 0) continue;
    for (std::size_t i = 0; i < looks.size(); ++i) {
      static const char* const kWhen[] = {"opened", "changed", "taken away"};
      SCOPED_TRACE(std::string(kWhen[i / 2]) + (i % 2 == 0 ? ", behind" : ", front"));
      const auto [title, corner] = looks[i];
      if (i < 4) {
        EXPECT_GT(title, 100);
        EXPECT_EQ(corner, kDialogColor);
      } else {
        EXPECT_EQ(title, 0);
        EXPECT_EQ(corner, face);
      }
    }
    for (const HWND dlg : both) {
      EXPECT_EQ(GetAdapter(dlg), nullptr);
      HRGN rgn = CreateRectRgn(0, 0, 0, 0);
      EXPECT_EQ(GetWindowRgn(dlg, rgn), ERROR);  // the whole window again
      DeleteObject(rgn);
    }
    EXPECT_EQ(active, front);
    break;
  }
  EXPECT_LT(round, kRounds) << "the foreground changed hands in every round";
}

// ---------------------------------------------------------------------------------------
// Property sheets

INT_PTR CALLBACK PageProc(HWND, UINT Msg, WPARAM, LPARAM) { return Msg == WM_INITDIALOG; }

// A page: a check box at its top left, nothing in its lower right quarter.
DialogTemplate PageTemplate(const wchar_t* Text, WORD Id) {
  DialogTemplate t(WS_CHILD | DS_CONTROL, L"", 160, 90);
  t.Item(kButton, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 8, 8, 90, 12, Id, Text);
  return t;
}

// The pages of a property sheet are skinned, the one shown first and the one a switch to its
// tab makes later, with their controls.
TEST_F(DialogControls, ThePagesOfAPropertySheetAreSkinnedAlsoOnesMadeLater) {
  auto form = ShownForm();
  form->Show();
  const DialogTemplate first = PageTemplate(L"On page one", 200), second = PageTemplate(L"On page two", 300);
  PROPSHEETPAGEW pages[2]{};
  for (int i = 0; i < 2; ++i) {
    pages[i].dwSize = sizeof pages[i];
    pages[i].dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    pages[i].pResource = (i == 0 ? first : second).Get();
    pages[i].pfnDlgProc = PageProc;
    pages[i].pszTitle = i == 0 ? L"One" : L"Two";
  }
  const HWND sheet = ModelessSheet(pages, form->Handle());
  ASSERT_NE(sheet, nullptr);
  dialogs.push_back(sheet);
  Settle(sheet);
  ASSERT_NE(DialogAdapterOf(sheet), nullptr);
  auto expectSkinned = [sheet](WORD CheckId, const char* What) {
    SCOPED_TRACE(What);
    const auto page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_NE(page, nullptr);
    EXPECT_NE(dynamic_cast<TqvTransPanelWnd*>(GetAdapter(page)), nullptr);
    EXPECT_NE(dynamic_cast<TqvCheckBoxWnd*>(GetAdapter(GetDlgItem(page, CheckId))), nullptr);
    const RECT r = Place(sheet, page);
    EXPECT_EQ(Pixels(sheet)->At(r.right - 8, r.bottom - 8), kCheckColor);
  };
  expectSkinned(200, "the first page");
  SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
  Settle(sheet);
  expectSkinned(300, "the page made by the switch");
  SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
  Settle(sheet);
  expectSkinned(200, "the first page again");
  DestroyWindow(sheet);
}

// A radio button, check box or push button that has the focus as its property sheet is skinned
// shows the page around it, as the others on the page do, on either page: skinned at the
// sheet's activation (it came while two skinned dialogs were shown, or the skin was taken away
// and given back meanwhile, and a click on its caption activates it) its first painting came
// before the page had its picture, and left a black bar until the focus moved on. The skin
// taken away, it shows the system's page.
TEST_F(DialogControls, AFocusedControlOnASheetShowsThePageAroundItHoweverTheSkinComes) {
  UseSkin(L"SeeThrough");
  auto form = ShownForm();
  form->Show();
  enum : WORD { kFirst = 300, kSecond, kCheck, kPush };
  DialogTemplate page(WS_CHILD | DS_CONTROL, L"", 212, 120);
  page.Item(kButton, WS_VISIBLE | BS_GROUPBOX, 8, 6, 196, 52, 0, L"Orientation");
  page.Item(kButton, WS_VISIBLE | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 16, 20, 180, 12, kFirst, L"Portrait");
  page.Item(kButton, WS_VISIBLE | BS_AUTORADIOBUTTON, 16, 36, 180, 12, kSecond, L"Landscape");
  page.Item(kButton, WS_VISIBLE | BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 8, 66, 196, 12, kCheck, L"Borders");
  page.Item(kButton, WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP, 8, 84, 196, 14, kPush, L"Preview");
  PROPSHEETPAGEW pages[2]{};
  for (int i = 0; i < 2; ++i) {
    pages[i].dwSize = sizeof pages[i];
    pages[i].dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    pages[i].pResource = page.Get();
    pages[i].pfnDlgProc = [](HWND Page, UINT Msg, WPARAM, LPARAM) -> INT_PTR {
      if (Msg != WM_INITDIALOG) return FALSE;
      CheckRadioButton(Page, kFirst, kSecond, kFirst);
      return TRUE;
    };
    pages[i].pszTitle = i == 0 ? L"One" : L"Two";
  }
  const DialogTemplate plain(WS_POPUP | WS_CAPTION | WS_VISIBLE, L"Shown", 100, 50);
  enum class Way { Activated, GivenBack, TakenAway };
  for (const Way way : {Way::Activated, Way::GivenBack, Way::TakenAway})
    for (const int pageIndex : {1, 0})
      for (const WORD id : {kFirst, kCheck, kPush}) {
        SCOPED_TRACE(way == Way::Activated   ? "skinned at its activation"
                     : way == Way::GivenBack ? "the skin given back"
                                             : "the skin taken away");
        SCOPED_TRACE(pageIndex == 1 ? "the second page" : "the first page");
        SCOPED_TRACE(id == kFirst ? "a radio button" : id == kCheck ? "a check box" : "a push button");
        HWND first = nullptr, second = nullptr;
        if (way == Way::Activated) first = Open(plain), second = Open(plain);
        const HWND sheet = ModelessSheet(pages, form->Handle());
        ASSERT_NE(sheet, nullptr);
        dialogs.push_back(sheet);
        Settle(sheet);
        ASSERT_EQ(DialogAdapterOf(sheet) != nullptr, way != Way::Activated) << "a third dialog shown waits";
        SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(pageIndex), 0);
        Settle(sheet);
        const auto shown = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        const HWND focused = GetDlgItem(shown, id), other = GetDlgItem(shown, kSecond);
        // Tab to the control, as the sheet's own keyboard handling does.
        for (int i = 0; i < 8 && GetFocus() != focused; ++i) {
          MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
          SendMessageW(sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&tab));
        }
        ASSERT_EQ(GetFocus(), focused);
        SetActiveWindow(form->Handle());
        Settle(sheet);
        if (way == Way::Activated) {
          DestroyWindow(first);
          PurgeProviders();
        } else {
          manager->SetActive(false);
          Settle(sheet);
          if (way == Way::GivenBack) {
            manager->SetActive(true);
            ASSERT_TRUE(manager->Skin().SkinData.Active);
          }
        }
        // The click on the sheet's caption.
        SetActiveWindow(sheet);
        Settle(sheet);
        ASSERT_EQ(DialogAdapterOf(sheet) != nullptr, way != Way::TakenAway);
        ASSERT_EQ(GetFocus(), focused);
        const auto pixels = Pixels(sheet);
        // The page's empty lower right corner: the skin's face, or the system's page.
        const RECT pr = Place(sheet, shown);
        const COLORREF pageColour = pixels->At(pr.right - 8, pr.bottom - 8);
        if (way != Way::TakenAway) {
          EXPECT_EQ(pageColour, kDialogColor);
        }
        for (const HWND control : {focused, other}) {
          SCOPED_TRACE(control == focused ? "focused" : "not focused");
          const RECT r = Place(sheet, control);
          EXPECT_EQ(SolidBlack(*pixels, r), 0);
          const int middle = (r.top + r.bottom) / 2;
          if (control == focused && id == kPush) {
            EXPECT_EQ(pixels->At(r.left + 4, middle), way == Way::TakenAway ? GetSysColor(COLOR_BTNFACE) : kButtonColor)
                << "the button's face";
          } else {
            EXPECT_EQ(pixels->At(r.right - 3, middle), pageColour) << "the page beside the text";
          }
        }
        DestroyWindow(sheet);
        if (second) DestroyWindow(second);
        PurgeProviders();
        if (way == Way::TakenAway) manager->SetActive(true);
      }
}

// A property sheet's page shows what lies behind it (the dialog's shading, which the dialog's
// plain colour does not give) when the skin lacks its section, and a label and a check box on
// it show the page around them, as when that section is see-through; a section of its own
// colour shows that.
TEST_F(DialogControls, ControlsOnAPropertySheetsPageWithoutTheirSectionShowThePageAroundThem) {
  const std::string shaded = FlatSection("DIALOG", kDialogColor, kDialogColor) +
                             "GRADIENTPERCENT=100\r\nGRADIENTDATA=$2020E0;$20E020;100;0;0\r\n"
                             "HOTGRADIENTPERCENT=100\r\nHOTGRADIENTDATA=$2020E0;$20E020;100;0;0\r\n";
  std::string without = ControlsSkinText(Gauge::Whole, false);
  const std::size_t checks = without.find("[CHECKBOX]");
  ASSERT_NE(checks, std::string::npos);
  without.erase(checks, without.find("\r\n[", checks) + 2 - checks);
  const std::string seeThrough = ControlsSkinText(Gauge::Whole, false, true);
  const std::string own = ControlsSkinText(Gauge::Whole, false);
  using Named = std::pair<const wchar_t*, const std::string*>;
  for (const auto& [name, text] : {Named{L"Unchecked", &without}, Named{L"ClearChecks", &seeThrough},
                                   Named{L"OwnChecks", &own}}) {
    skins.Write(name, L"Options.dat", BytesOf(shaded + *text));
    skins.Write(name, L"master.bmp", Master());
  }
  DialogTemplate page(WS_CHILD | DS_CONTROL, L"", 160, 90);
  page.Item(kStatic, WS_VISIBLE | SS_LEFT, 8, 8, 90, 12, 200, L"Hi");
  page.Item(kButton, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 8, 40, 90, 12, 201, L"On");
  for (const wchar_t* name : {L"Unchecked", L"ClearChecks", L"OwnChecks"}) {
    SCOPED_TRACE(testing::Message() << name);
    UseSkin(name);
    PROPSHEETPAGEW sheetPage{};
    sheetPage.dwSize = sizeof sheetPage;
    sheetPage.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    sheetPage.pResource = page.Get();
    sheetPage.pfnDlgProc = PageProc;
    sheetPage.pszTitle = L"One";
    const HWND sheet = ModelessSheet({&sheetPage, 1});
    ASSERT_NE(sheet, nullptr);
    dialogs.push_back(sheet);
    Settle(sheet);
    const auto pageWnd = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_NE(pageWnd, nullptr);
    const auto pixels = Pixels(sheet);
    // The dialog's own face, left of the tab control.
    const int face = Place(sheet, PropSheet_GetTabControl(sheet)).left - 2;
    for (const int id : {200, 201}) {
      SCOPED_TRACE(id);
      const HWND control = GetDlgItem(pageWnd, id);
      ASSERT_NE(GetAdapter(control), nullptr);
      const RECT r = Place(sheet, control);
      // Inside at its right end (past the short text) and just beside it on the page, the
      // same row of the shading.
      const int y = (r.top + r.bottom) / 2;
      const COLORREF inside = pixels->At(r.right - 2, y), beside = pixels->At(r.right + 3, y);
      if (std::wstring(name) == L"OwnChecks") {
        EXPECT_EQ(inside, kCheckColor);
      } else {
        EXPECT_EQ(beside, pixels->At(face, y)) << "the page shows the dialog's shading";
        EXPECT_EQ(inside, beside);
      }
    }
    DestroyWindow(sheet);
  }
}

// A skin coming after none skins the dialogs already open at once, as taking it away gave
// them back at once: the active property sheet and the inactive dialog under a window covering
// it, each with its frame, its face and its controls, without either being activated again.
TEST_F(DialogControls, ASkinComingBackSkinsTheOpenDialogsAtOnceActiveOrNotCoveredOrNot) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  ASSERT_NE(face, kDialogColor);
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, L"Covered", 200, 80);
  t.Item(kButton, WS_VISIBLE | BS_AUTOCHECKBOX, 10, 10, 150, 12, 100, L"Box");
  const HWND dlg = Open(t);
  SetWindowPos(dlg, nullptr, 120, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const DialogTemplate page = PageTemplate(L"On the page", 200);
  PROPSHEETPAGEW sheetPage{};
  sheetPage.dwSize = sizeof sheetPage;
  sheetPage.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
  sheetPage.pResource = page.Get();
  sheetPage.pfnDlgProc = PageProc;
  sheetPage.pszTitle = L"One";
  const HWND sheet = ModelessSheet({&sheetPage, 1});
  ASSERT_NE(sheet, nullptr);
  dialogs.push_back(sheet);
  SetWindowPos(sheet, nullptr, 520, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A plain window over the dialog, which takes no activation.
  const HWND cover = CreateWindowExW(0, wintest::TestWindowClass(L"DialogCover", DefWindowProcW), L"Cover",
                                     WS_POPUP | WS_BORDER, 100, 100, 260, 160, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(cover, nullptr);
  const vcl::TScopeExit closeCover([cover] { DestroyWindow(cover); });
  ShowWindow(cover, SW_SHOWNOACTIVATE);
  SetForegroundWindow(sheet);
  Settle(sheet);
  const HWND page1 = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  ASSERT_NE(page1, nullptr);
  struct Look {
    bool Adapted, SystemButtons, CheckAdapted;
    COLORREF Corner, Check;
  };
  auto look = [](HWND Dlg, HWND Check) {
    Settle(Dlg);
    RECT wr{}, client{};
    GetWindowRect(Dlg, &wr);
    GetClientRect(Dlg, &client);
    POINT corner{client.right - 3, client.bottom - 3};
    ClientToScreen(Dlg, &corner);
    const RECT box = Place(Dlg, Check);
    const auto pixels = Pixels(Dlg);
    return Look{DialogAdapterOf(Dlg) != nullptr, (GetWindowLongPtrW(Dlg, GWL_STYLE) & WS_SYSMENU) != 0,
                dynamic_cast<TqvCheckBoxWnd*>(GetAdapter(Check)) != nullptr,
                pixels->At(corner.x - wr.left, corner.y - wr.top), pixels->At(box.right - 3, (box.top + box.bottom) / 2)};
  };
  const std::pair<HWND, HWND> both[2] = {{dlg, GetDlgItem(dlg, 100)}, {sheet, GetDlgItem(page1, 200)}};
  for (const char* round : {"first", "again"}) {
    SCOPED_TRACE(round);
    manager->SetActive(false);
    for (const auto& [d, check] : both) {
      const Look l = look(d, check);
      EXPECT_FALSE(l.Adapted);
      EXPECT_TRUE(l.SystemButtons);
      EXPECT_EQ(l.Corner, face);
    }
    manager->SetActive(true);
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    for (const auto& [d, check] : both) {
      SCOPED_TRACE(d == dlg ? "the covered dialog" : "the active sheet");
      const Look l = look(d, check);
      EXPECT_TRUE(l.Adapted);
      EXPECT_FALSE(l.SystemButtons) << "the skin draws the title buttons";
      EXPECT_TRUE(l.CheckAdapted);
      EXPECT_EQ(l.Corner, kDialogColor);
      EXPECT_EQ(l.Check, kCheckColor);
    }
    EXPECT_EQ(GetActiveWindow(), sheet);
  }
}

// A system dialog opened modally from within another's modal loop: Look runs once a #32770
// window that is none of Known shows (it may open the next one), then the dialog is cancelled.
// A dialog that does not show within the deadline ends the loop.
struct NestedDialog {
  std::vector<HWND>* known;
  std::function<void(HWND)> look;
  HWND found = nullptr;
  int ticks = 0;
};
NestedDialog* g_nestedDialog = nullptr;

BOOL CALLBACK FindNewDialog(HWND Wnd, LPARAM) {
  wchar_t cls[16] = {};
  GetClassNameW(Wnd, cls, 16);
  const std::vector<HWND>& known = *g_nestedDialog->known;
  if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(Wnd) || std::find(known.begin(), known.end(), Wnd) != known.end())
    return TRUE;
  g_nestedDialog->found = Wnd;
  return FALSE;
}

void CALLBACK NestedDialogTimer(HWND, UINT, UINT_PTR Id, DWORD) {
  NestedDialog* watch = g_nestedDialog;
  ++watch->ticks;
  EnumThreadWindows(GetCurrentThreadId(), FindNewDialog, 0);
  if (const HWND dlg = watch->found) {
    KillTimer(nullptr, Id);
    watch->known->push_back(dlg);
    watch->look(dlg);
    g_nestedDialog = watch;  // a nested run set its own
    PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
  } else if (watch->ticks > 200) {
    KillTimer(nullptr, Id);
    PostQuitMessage(0);
  }
}

// Shows a dialog by Open and runs Look on it (see NestedDialog); whether it was seen.
bool RunNestedDialog(std::vector<HWND>& Known, const std::function<void()>& Open, std::function<void(HWND)> Look) {
  NestedDialog watch{&Known, std::move(Look)};
  g_nestedDialog = &watch;
  SetTimer(nullptr, 0, 30, NestedDialogTimer);
  Open();
  g_nestedDialog = nullptr;
  MSG quit{};
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // a deadline's quit, if any
  return watch.found != nullptr;
}

// The system's Font dialog, the Colour dialog opened from within its loop and the Save dialog
// from within that one's, all three open (the two older ones inactive, and shown beyond the
// most dialogs skinned at once only by the Save dialog's tool bar): the skin taken away gives
// each its system look, and given back (twice) skins each again at once, with its face. The
// Font dialog, the oldest, stayed the system's.
TEST_F(DialogControls, ASkinComingBackSkinsEveryOpenSystemDialogOfANestedChain) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  ASSERT_NE(face, kDialogColor);
  std::vector<HWND> open;
  bool looked = false;
  // A point of the dialog's own face: inside the client's top left corner.
  auto corner = [](HWND Dlg) {
    Settle(Dlg);
    RECT wr{};
    GetWindowRect(Dlg, &wr);
    POINT at{2, 2};
    ClientToScreen(Dlg, &at);
    return Pixels(Dlg)->At(at.x - wr.left, at.y - wr.top);
  };
  auto lookAtAll = [&](HWND) {
    looked = true;
    ASSERT_EQ(open.size(), 3u);
    EXPECT_FALSE(IsWindowEnabled(open[0]));
    EXPECT_FALSE(IsWindowEnabled(open[1]));
    for (HWND d : open) {
      EXPECT_NE(DialogAdapterOf(d), nullptr) << "opened under the skin";
      EXPECT_EQ(corner(d), kDialogColor);
    }
    for (const char* round : {"first", "again"}) {
      SCOPED_TRACE(round);
      manager->SetActive(false);
      for (HWND d : open) {
        EXPECT_EQ(DialogAdapterOf(d), nullptr);
        EXPECT_EQ(corner(d), face);
      }
      manager->SetActive(true);
      ASSERT_TRUE(manager->Skin().SkinData.Active);
      const char* names[] = {"the Font dialog", "the Colour dialog", "the Save dialog"};
      for (size_t i = 0; i < open.size(); ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_NE(DialogAdapterOf(open[i]), nullptr);
        EXPECT_EQ(corner(open[i]), kDialogColor);
      }
    }
  };
  static LOGFONTW chosen{};
  CHOOSEFONTW font{};
  font.lStructSize = sizeof font;
  font.lpLogFont = &chosen;
  font.Flags = CF_SCREENFONTS;
  static COLORREF custom[16] = {};
  CHOOSECOLORW colour{};
  colour.lStructSize = sizeof colour;
  colour.lpCustColors = custom;
  static wchar_t file[MAX_PATH];
  file[0] = 0;
  OPENFILENAMEW save{};
  save.lStructSize = sizeof save;
  save.lpstrFile = file;
  save.nMaxFile = MAX_PATH;
  save.lpstrFilter = L"Text\0*.txt\0All\0*.*\0";
  save.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  // Each owned by the one before, which it disables.
  const bool shown = RunNestedDialog(open, [&] { ChooseFontW(&font); }, [&](HWND Font) {
    colour.hwndOwner = Font;
    EXPECT_TRUE(RunNestedDialog(open, [&] { ChooseColorW(&colour); }, [&](HWND Colour) {
      save.hwndOwner = Colour;
      EXPECT_TRUE(RunNestedDialog(open, [&] { GetSaveFileNameW(&save); }, lookAtAll)) << "the Save dialog";
    })) << "the Colour dialog";
  });
  EXPECT_TRUE(shown) << "the Font dialog";
  EXPECT_TRUE(looked);
  PurgeProviders();
}

// ---------------------------------------------------------------------------------------
// Icon statics

// The first visible static of the icon kind in a dialog, nil when none.
HWND IconStaticOf(HWND Dlg) {
  for (HWND c = GetWindow(Dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[16] = {};
    GetClassNameW(c, cls, 16);
    if (lstrcmpiW(cls, L"static") == 0 && (GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(c))
      return c;
  }
  return nullptr;
}

// A dialog's face shaded both ways (every pixel of it differs from its neighbours), checks in
// a colour of their own: a static painting its section, or anything at a wrong offset, shows.
std::string ShadedSkinText() {
  const std::string mesh = "$2020E0;$2020E0;20;2;0;$20E020;$20E020;20;2;0;$E02020;$E02020;20;2;0;"
                           "$E0E020;$E0E020;20;2;0;$808080;$808080;20;2;0";
  std::string text = ControlsSkinText();
  const std::string dialog = FlatSection("DIALOG", kDialogColor, kDialogColor);
  text.replace(text.find(dialog), dialog.size(),
               dialog + "GRADIENTPERCENT=100\r\nGRADIENTDATA=" + mesh + "\r\nHOTGRADIENTPERCENT=100\r\nHOTGRADIENTDATA=" +
                   mesh + "\r\n");
  return text;
}

// An icon static without an icon draws nothing of its own: what lies behind it shows (not its
// section, not black); given an icon it shows the icon, and once the icon is taken away, what
// lies behind again.
TEST_F(DialogControls, AnIconStaticWithoutAnIconShowsWhatLiesBehindIt) {
  skins.Write(L"Shaded", L"master.bmp", Master());
  skins.Write(L"Shaded", L"Options.dat", BytesOf(ShadedSkinText()));
  UseSkin(L"Shaded");
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_VISIBLE, L"Icons", 200, 90);
  t.Item(kStatic, WS_VISIBLE | SS_ICON, 10, 10, 40, 30, 100);
  t.Item(kStatic, WS_VISIBLE | SS_ICON, 60, 10, 40, 30, 101);
  behaviour.OnInit = [](HWND Dlg) {
    SendDlgItemMessageW(Dlg, 101, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)), 0);
  };
  const HWND dlg = Open(t, &behaviour);
  const HWND none = GetDlgItem(dlg, 100), given = GetDlgItem(dlg, 101);
  ASSERT_NE(GetAdapter(none), nullptr);
  ASSERT_NE(GetAdapter(given), nullptr);
  // As first painted, then with what lies behind each (the static hidden) to compare.
  const std::vector<COLORREF> shownNone = PixelsOf(dlg, none), shownGiven = PixelsOf(dlg, given);
  const std::vector<COLORREF> behindNone = BehindOf(dlg, none), behindGiven = BehindOf(dlg, given);
  ASSERT_GT(std::set<COLORREF>(behindNone.begin(), behindNone.end()).size(), 20u) << "a shaded face behind";
  EXPECT_EQ(Differing(shownNone, behindNone), 0u);
  EXPECT_GT(Differing(shownGiven, behindGiven), 100u) << "the icon";
  SendMessageW(given, STM_SETICON, 0, 0);
  Settle(dlg);
  EXPECT_EQ(Differing(PixelsOf(dlg, given), behindGiven), 0u);
}

// A message box without an icon, of every button set, shows what lies behind its icon's
// static; one with an icon shows the icon there.
TEST_F(DialogControls, AMessageBoxWithoutAnIconShowsNoBlockWhereTheIconWouldBe) {
  skins.Write(L"Shaded", L"master.bmp", Master());
  skins.Write(L"Shaded", L"Options.dat", BytesOf(ShadedSkinText()));
  UseSkin(L"Shaded");
  for (const UINT buttons : {MB_OK, MB_OKCANCEL, MB_ABORTRETRYIGNORE, MB_YESNOCANCEL, MB_YESNO, MB_RETRYCANCEL,
                             MB_CANCELTRYCONTINUE}) {
    for (const UINT icon : {0u, static_cast<UINT>(MB_ICONINFORMATION)}) {
      SCOPED_TRACE(testing::Message() << "buttons " << buttons << ", icon " << icon);
      bool looked = false;
      const TBoxWatch watch = RunBox(nullptr, nullptr, [&](HWND Box) {
        Settle(Box);
        const HWND stat = IconStaticOf(Box);
        if (!stat) return;  // no static at all: nothing to cover the box
        looked = true;
        const std::vector<COLORREF> shown = PixelsOf(Box, stat), behind = BehindOf(Box, stat);
        if (icon)
          EXPECT_GT(Differing(shown, behind), 100u) << "the icon";
        else
          EXPECT_EQ(Differing(shown, behind), 0u);
      }, buttons | icon);
      EXPECT_TRUE(watch.skinned);
      if (icon) {
        EXPECT_TRUE(looked) << "the icon's static";
      }
    }
  }
}

// ---------------------------------------------------------------------------------------
// Progress bars

// Three horizontal bars at 40, 0 and 100 of 100, a vertical one at 60.
DialogTemplate ProgressTemplate() {
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_VISIBLE, L"Progress", 200, 120);
  for (WORD i = 0; i < 3; ++i) t.Item(PROGRESS_CLASSW, WS_VISIBLE, 10, static_cast<short>(10 + 20 * i), 120, 12, 100 + i);
  t.Item(PROGRESS_CLASSW, WS_VISIBLE | PBS_VERTICAL, 150, 10, 12, 80, 103);
  t.Item(PROGRESS_CLASSW, WS_VISIBLE | PBS_MARQUEE, 10, 80, 120, 12, 104);
  return t;
}

void SetPositions(HWND Dlg) {
  const int positions[4] = {40, 0, 100, 60};
  for (int i = 0; i < 4; ++i) {
    SendDlgItemMessageW(Dlg, 100 + i, PBM_SETRANGE32, 0, 100);
    SendDlgItemMessageW(Dlg, 100 + i, PBM_SETPOS, static_cast<WPARAM>(positions[i]), 0);
  }
}

// The pixel at a fraction of a bar's length (from the left, or from the bottom of a vertical
// one), across its middle.
COLORREF Along(HWND Dlg, WORD Id, double Fraction) {
  const RECT r = Place(Dlg, GetDlgItem(Dlg, Id));
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (h > w) return Pixels(Dlg)->At(r.left + w / 2, r.bottom - 1 - static_cast<int>(Fraction * (h - 1)));
  return Pixels(Dlg)->At(r.left + static_cast<int>(Fraction * (w - 1)), r.top + h / 2);
}

// The filled part of a bar shows the skin's bar piece of its direction, the rest the gauge's
// trough inside its frame; a new position moves the end of the bar.
TEST_F(DialogControls, AProgressBarShowsItsPositionInTheSkinsPieces) {
  behaviour.OnInit = SetPositions;
  const HWND dlg = Open(ProgressTemplate(), &behaviour);
  EXPECT_EQ(Along(dlg, 100, 0.2), kBarH);
  EXPECT_EQ(Along(dlg, 100, 0.35), kBarH);
  EXPECT_EQ(Along(dlg, 100, 0.45), kGaugeFace);
  EXPECT_EQ(Along(dlg, 100, 0.7), kGaugeFace);
  EXPECT_EQ(Along(dlg, 100, 0.0), kGaugeEdge);
  EXPECT_EQ(Along(dlg, 101, 0.05), kGaugeFace);  // nothing done yet
  EXPECT_EQ(Along(dlg, 102, 0.95), kBarH);       // all done, within the edge
  EXPECT_EQ(Along(dlg, 102, 1.0), kGaugeEdge);
  EXPECT_EQ(Along(dlg, 103, 0.2), kBarV);
  EXPECT_EQ(Along(dlg, 103, 0.55), kBarV);
  EXPECT_EQ(Along(dlg, 103, 0.65), kGaugeFace);
  // A marquee (no position to show) is the system's.
  EXPECT_NE(Along(dlg, 104, 0.9), kGaugeFace);
  SendDlgItemMessageW(dlg, 100, PBM_SETPOS, 80, 0);
  SendDlgItemMessageW(dlg, 102, PBM_SETPOS, 0, 0);
  Settle(dlg);
  EXPECT_EQ(Along(dlg, 100, 0.7), kBarH);
  EXPECT_EQ(Along(dlg, 100, 0.85), kGaugeFace);
  EXPECT_EQ(Along(dlg, 102, 0.5), kGaugeFace);
  SendDlgItemMessageW(dlg, 101, PBM_STEPIT, 0, 0);  // a step of 10
  Settle(dlg);
  EXPECT_EQ(Along(dlg, 101, 0.05), kBarH);
  EXPECT_EQ(Along(dlg, 101, 0.15), kGaugeFace);
}

// Where the skin has no piece for a bar, the bar is filled in the system's colour over the
// skinned trough; without a gauge at all, over the container's section.
TEST_F(DialogControls, AProgressBarTheSkinHasNoPiecesForIsFilledBySystemColour) {
  const COLORREF system = GetSysColor(COLOR_HIGHLIGHT);
  struct Case {
    const wchar_t* Skin;
    COLORREF Horizontal, Vertical, Rest;
  };
  for (const Case& c : {Case{L"HorzBar", kBarH, system, kGaugeFace}, Case{L"NoBars", system, system, kGaugeFace},
                        Case{L"NoGauge", system, system, kCheckColor}}) {
    SCOPED_TRACE(std::string(c.Skin, c.Skin + std::wcslen(c.Skin)));
    UseSkin(c.Skin);
    behaviour.OnInit = SetPositions;
    const HWND dlg = Open(ProgressTemplate(), &behaviour);
    EXPECT_EQ(Along(dlg, 100, 0.2), c.Horizontal);
    EXPECT_EQ(Along(dlg, 100, 0.7), c.Rest);
    EXPECT_EQ(Along(dlg, 103, 0.2), c.Vertical);
    EXPECT_EQ(Along(dlg, 103, 0.8), c.Rest);
    SendDlgItemMessageW(dlg, 100, PBM_SETPOS, 80, 0);
    Settle(dlg);
    EXPECT_EQ(Along(dlg, 100, 0.7), c.Horizontal);
    DestroyWindow(dlg);
    PurgeProviders();
  }
}

// Where the fill ends, to the pixel: inside the trough one pixel off the window's edge, its
// length the position's share of that (rounded down): at 0 no pixel of it, in the middle the
// last pixel of the share and not one more, at 100 all but the outer pixel; from the left, or
// from the bottom of a vertical bar; drawn from the skin's pieces, in the system's colour
// where the skin has no piece, and over the system's edge without the gauge's section.
TEST_F(DialogControls, AProgressBarsFillEndsExactlyAtItsShare) {
  const COLORREF system = GetSysColor(COLOR_HIGHLIGHT);
  struct Case {
    const wchar_t* Skin;
    COLORREF Horizontal, Vertical;
  };
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_VISIBLE, L"Progress", 200, 120);
  t.Item(PROGRESS_CLASSW, WS_VISIBLE, 10, 10, 121, 12, 100);
  t.Item(PROGRESS_CLASSW, WS_VISIBLE | PBS_VERTICAL, 150, 10, 12, 83, 101);
  for (const Case& c : {Case{L"Whole", kBarH, kBarV}, Case{L"HorzBar", kBarH, system},
                        Case{L"NoBars", system, system}, Case{L"NoGauge", system, system}}) {
    UseSkin(c.Skin);
    behaviour.OnInit = [](HWND Dlg) {
      for (const int id : {100, 101}) SendDlgItemMessageW(Dlg, id, PBM_SETRANGE32, 0, 100);
    };
    const HWND dlg = Open(t, &behaviour);
    for (const int position : {0, 1, 37, 99, 100}) {
      for (const int id : {100, 101}) SendDlgItemMessageW(dlg, id, PBM_SETPOS, static_cast<WPARAM>(position), 0);
      Settle(dlg);
      const auto pixels = Pixels(dlg);
      for (const int id : {100, 101}) {
        SCOPED_TRACE(testing::Message() << c.Skin << ", at " << position << (id == 101 ? ", vertical" : ""));
        const RECT r = Place(dlg, GetDlgItem(dlg, id));
        const int w = r.right - r.left, h = r.bottom - r.top;
        const bool vertical = id == 101;
        const COLORREF bar = vertical ? c.Vertical : c.Horizontal;
        const int length = (vertical ? h : w) - 2, filled = position * length / 100;
        // Along the bar's middle line and across it at the fill's middle, each pixel the bar's
        // colour exactly where the fill lies.
        int wrong = 0, along = 0;
        for (int i = 0; i < (vertical ? h : w); ++i) {
          const COLORREF p = vertical ? pixels->At(r.left + w / 2, r.bottom - 1 - i) : pixels->At(r.left + i, r.top + h / 2);
          const bool in = i >= 1 && i < 1 + filled;
          wrong += (p == bar) != in;
          along += p == bar;
        }
        EXPECT_EQ(wrong, 0) << along << " of the bar's colour along it, " << filled << " wanted";
        if (filled > 0) {
          int across = 0;
          for (int j = 0; j < (vertical ? w : h); ++j) {
            const COLORREF p = vertical ? pixels->At(r.left + j, r.bottom - 2 - filled / 2)
                                        : pixels->At(r.left + 1 + filled / 2, r.top + j);
            across += (p == bar) != (j >= 1 && j < (vertical ? w : h) - 1);
          }
          EXPECT_EQ(across, 0) << "across";
        }
      }
    }
    DestroyWindow(dlg);
    PurgeProviders();
  }
}

// Without the gauge's section a bar keeps the system's thin sunken edge around it: its extent
// shows, also with nothing done yet; in a dialog opened under that skin and in one that had
// the gauge's trough before the skin changed.
TEST_F(DialogControls, AProgressBarWithoutTheGaugesSectionKeepsTheSystemsEdge) {
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  behaviour.OnInit = SetPositions;
  const HWND before = Open(ProgressTemplate(), &behaviour);
  EXPECT_EQ(Along(before, 101, 0.0), kGaugeEdge);
  UseSkin(L"NoGauge");
  Settle(before);
  const HWND opened = Open(ProgressTemplate(), &behaviour);
  for (const HWND dlg : {before, opened}) {
    SCOPED_TRACE(dlg == before ? "switched" : "opened");
    for (WORD id : {100, 101}) {
      EXPECT_EQ(Along(dlg, id, 0.0), shadow) << id;  // the left edge
      EXPECT_EQ(Along(dlg, id, 1.0), light) << id;   // the right edge
    }
    EXPECT_EQ(Along(dlg, 101, 0.5), kCheckColor);  // nothing done: what lies inside
    EXPECT_EQ(Along(dlg, 103, 0.0), light);        // the vertical one's bottom edge
    EXPECT_EQ(Along(dlg, 103, 0.2), GetSysColor(COLOR_HIGHLIGHT));
  }
}

// ---------------------------------------------------------------------------------------
// Dialogs made hidden

// A dialog made hidden and then shown with the manager's show animation wraps its children as
// it shows, while they are not yet on the screen: the edit and the progress bar, which are
// wrapped only when shown, count as shown by their own style.
TEST_F(DialogControls, ADialogShownLaterWithTheShowAnimationHasItsControlsSkinned) {
  manager->AnimEffects()->DialogShow()->SetActive(true);
  behaviour.OnInit = SetPositions;
  DialogTemplate t(WS_POPUP | WS_CAPTION, L"Shown later", 200, 120);
  t.Item(PROGRESS_CLASSW, WS_VISIBLE, 10, 10, 120, 12, 100);
  t.Item(kEdit, WS_VISIBLE | WS_BORDER, 10, 40, 120, 14, 101, L"Text");
  t.Item(kEdit, WS_BORDER, 10, 60, 120, 14, 102, L"Hidden");
  const HWND dlg = Open(t, &behaviour);
  ShowWindow(dlg, SW_SHOW);
  Settle(dlg);
  ASSERT_TRUE(IsWindowVisible(dlg));
  EXPECT_EQ(Along(dlg, 100, 0.2), kBarH);
  EXPECT_EQ(Along(dlg, 100, 0.7), kGaugeFace);
  ExpectSkinnedFrame(dlg, GetDlgItem(dlg, 101), "shown with its dialog");
  // An edit hidden by its own style is left as it is.
  EXPECT_EQ(GetAdapter(GetDlgItem(dlg, 102)), nullptr);
}

}  // namespace
}  // namespace skin_layered::test


namespace skin_layered::test {
namespace {

// ---------------------------------------------------------------------------------------
// Combo boxes

constexpr COLORREF kComboFace = 0x60C0E0;

// The dialog's combo boxes, those with a drop-down button and the simple ones.
std::pair<std::vector<HWND>, std::vector<HWND>> CombosOf(HWND Dlg) {
  std::pair<std::vector<HWND>, std::vector<HWND>> combos;
  EnumChildWindows(
      Dlg,
      [](HWND Wnd, LPARAM Found) {
        wchar_t cls[16] = {};
        GetClassNameW(Wnd, cls, 16);
        if (lstrcmpiW(cls, L"combobox") == 0 && IsWindowVisible(Wnd)) {
          auto* found = reinterpret_cast<std::pair<std::vector<HWND>, std::vector<HWND>>*>(Found);
          ((GetWindowLongPtrW(Wnd, GWL_STYLE) & 3) == CBS_SIMPLE ? found->second : found->first).push_back(Wnd);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&combos));
  return combos;
}

// A combo box's frame at the middle of its left and right sides: the skin's face, or the
// system's sunken edge.
std::pair<COLORREF, COLORREF> ComboSides(HWND Dlg, HWND Combo) {
  const RECT r = Place(Dlg, Combo);
  const auto pixels = Pixels(Dlg);
  const int my = (r.top + r.bottom) / 2;
  return {pixels->At(r.left, my), pixels->At(r.right - 1, my)};
}

// What lies between a simple combo box's list and its bottom: the place's pixels.
std::vector<COLORREF> BelowList(HWND Dlg, HWND Combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(Combo, &info)) return {};
  RECT list{}, combo{}, d{};
  GetWindowRect(info.hwndList, &list);
  GetWindowRect(Combo, &combo);
  GetWindowRect(Dlg, &d);
  const auto pixels = Pixels(Dlg);
  std::vector<COLORREF> below;
  for (int y = list.bottom; y < combo.bottom; ++y)
    for (int x = combo.left; x < combo.right; ++x) below.push_back(pixels->At(x - d.left, y - d.top));
  return below;
}

struct ComboSkin {
  const wchar_t* Name;
  bool Skinned;  // the skin paints the combo boxes' frames
};

// Skins whose combo box section has its own face, lacks its only parent (with and without a
// glyph of its own for the button), or is missing.
std::vector<ComboSkin> WriteComboSkins(TempSkins& Skins) {
  std::string noEdit = ControlsSkinText();
  const std::size_t at = noEdit.find("[EDIT]");
  noEdit.erase(at, noEdit.find("[SPEEDBUTTON_SMALL]") - at);
  const std::string named = "[COMBOBOX]\r\nPARENTCLASS=EDIT\r\n";
  const std::vector<std::pair<const wchar_t*, std::string>> texts{
      {L"OwnCombo", ControlsSkinText() + FlatSection("COMBOBOX", kComboFace, kComboFace)},
      {L"OrphanCombo", noEdit + named},
      {L"OrphanGlyphCombo", noEdit + named + Piece("GLYPHMASK", 3, 3, 0)},
      {L"NoCombo", ControlsSkinText()}};
  for (const auto& [name, text] : texts) {
    Skins.Write(name, L"master.bmp", Master());
    Skins.Write(name, L"Options.dat", BytesOf(text));
  }
  return {{L"OwnCombo", true}, {L"OrphanCombo", false}, {L"OrphanGlyphCombo", false}, {L"NoCombo", false}};
}

// Combo boxes of every kind under a skin that gives their section a face of their own show
// the skin's frame; under one whose section names only a missing parent (as one that lacks
// it) the system's: a sunken frame round each, and below a simple one's list what lies
// behind it, nothing black.
TEST_F(DialogControls, ComboBoxesWithoutAFaceOfTheirSectionAreTheSystems) {
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_VISIBLE, L"Combos", 240, 120);
  t.Item(0x0085, WS_VISIBLE | CBS_SIMPLE | WS_TABSTOP, 10, 10, 60, 80, 100);
  t.Item(0x0085, WS_VISIBLE | CBS_DROPDOWN | WS_TABSTOP, 80, 10, 60, 80, 101);
  t.Item(0x0085, WS_VISIBLE | CBS_DROPDOWNLIST | WS_TABSTOP, 150, 10, 60, 80, 102);
  behaviour.OnInit = [](HWND Dlg) {
    for (int id = 100; id < 103; ++id)
      for (const wchar_t* item : {L"One", L"Two", L"Three"})
        SendDlgItemMessageW(Dlg, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  };
  for (const ComboSkin& skin : WriteComboSkins(skins)) {
    SCOPED_TRACE(testing::Message() << skin.Name);
    UseSkin(skin.Name);
    const HWND dlg = Open(t, &behaviour);
    const auto [dropping, simple] = CombosOf(dlg);
    ASSERT_EQ(dropping.size(), 2u);
    ASSERT_EQ(simple.size(), 1u);
    EXPECT_EQ(SolidBlack(*Pixels(dlg), WindowBox(dlg)), 0);
    for (const HWND combo : dropping) {
      EXPECT_NE(GetAdapter(combo), nullptr);
      if (skin.Skinned)
        EXPECT_EQ(ComboSides(dlg, combo), std::pair(kComboFace, kComboFace));
      else
        EXPECT_EQ(ComboSides(dlg, combo), std::pair(shadow, light));
    }
    const std::vector<COLORREF> below = BelowList(dlg, simple.front());
    ASSERT_FALSE(below.empty()) << "a simple combo box taller than its parts";
    EXPECT_EQ(std::count(below.begin(), below.end(), kDialogColor), static_cast<std::ptrdiff_t>(below.size()));
    DestroyWindow(dlg);
    PurgeProviders();
  }
}

// The system's Font and Open dialogs alike: their drop-down combo boxes framed by the skin's
// face of their section or by the system, the Font dialog's three lists with what lies behind
// them below, no solid black anywhere.
TEST_F(DialogControls, TheFontAndOpenDialogsCombosWithoutAFaceOfTheirSectionAreTheSystems) {
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  for (const ComboSkin& skin : WriteComboSkins(skins)) {
    UseSkin(skin.Name);
    for (const bool font : {true, false}) {
      SCOPED_TRACE(testing::Message() << skin.Name << (font ? ", font" : ", open"));
      static LOGFONTW chosen{};
      CHOOSEFONTW choose{};
      choose.lStructSize = sizeof choose;
      choose.lpLogFont = &chosen;
      choose.Flags = CF_SCREENFONTS;
      static wchar_t file[MAX_PATH];
      file[0] = 0;
      OPENFILENAMEW open{};
      open.lStructSize = sizeof open;
      open.lpstrFile = file;
      open.nMaxFile = MAX_PATH;
      open.lpstrFilter = L"Text\0*.txt\0All\0*.*\0";
      open.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
      bool looked = false;
      const TBoxWatch watch = RunModal(
          L"", [&] { font ? ChooseFontW(&choose) : GetOpenFileNameW(&open); },
          [&](HWND Dlg) {
            Settle(Dlg);
            looked = true;
            const auto [dropping, simple] = CombosOf(Dlg);
            EXPECT_GE(dropping.size(), font ? 1u : 2u);
            EXPECT_EQ(simple.size(), font ? 3u : 0u);
            EXPECT_EQ(SolidBlack(*Pixels(Dlg), WindowBox(Dlg)), 0);
            for (const HWND combo : dropping) {
              if (skin.Skinned)
                EXPECT_EQ(ComboSides(Dlg, combo), std::pair(kComboFace, kComboFace));
              else
                EXPECT_EQ(ComboSides(Dlg, combo), std::pair(shadow, light));
            }
            for (const HWND combo : simple) {
              const std::vector<COLORREF> below = BelowList(Dlg, combo);
              EXPECT_EQ(std::count(below.begin(), below.end(), kDialogColor), static_cast<std::ptrdiff_t>(below.size()));
            }
          });
      EXPECT_TRUE(looked);
      EXPECT_TRUE(watch.skinned);
      PurgeProviders();
    }
  }
}

}  // namespace
}  // namespace skin_layered::test
