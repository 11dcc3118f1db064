// Incomplete layered skins: a skin made here lacks one element each time (a section or its
// pictures), or is built up from a few sections, or gives colours no colour can have, over a
// skinned form with a control of every kind the adapters serve. The window's own pixels show
// every control drawn (no unpainted black area), visible, with its state readable, and the
// title legible with its buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "adapters_support.h"
#include "classlib/comctrls/ComCtrlsListView.h"
#include "classlib/comctrls/ComCtrlsPages.h"
#include "classlib/comctrls/Grids.h"
#include "classlib/comctrls/StatusBar.h"
#include "classlib/comctrls/ToolBar.h"
#include "classlib/comctrls/TreeView.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/ScrollBox.h"
#include "classlib/stdctrls/ListBox.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "classlib/stdctrls/StaticText.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "classlib/forms/Menus.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SkinableMenus.h"
#include "skin_layered/forms/menu_loop.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

// ---------------------------------------------------------------------------------------
// The skin: dark faces with light text (text left in the system's black would not be read),
// and every check and title glyph frame in a colour of its own.

struct Glyph {
  const char* Key;
  int Size;
};
// Check glyphs, then the big and small title buttons; each has three frames side by side, one
// row of the master bitmap per glyph.
constexpr std::array<Glyph, 15> kGlyphs{{{"BOXUNCHECKED", 13},
                                         {"BOXCHECKED", 13},
                                         {"BOXGRAYED", 13},
                                         {"RADIOUNCHECKED", 13},
                                         {"RADIOCHECKED", 13},
                                         {"BICONCLOSE", 21},
                                         {"BICONMAX", 21},
                                         {"BICONNORM", 21},
                                         {"BICONMIN", 21},
                                         {"BICONHELP", 21},
                                         {"SICONCLOSE", 17},
                                         {"SICONMAX", 17},
                                         {"SICONNORM", 17},
                                         {"SICONMIN", 17},
                                         {"SICONHELP", 17}}};
constexpr int kRow = 22;  // master bitmap rows per glyph

std::uint32_t MasterPixel(int X, int Y) {
  const int g = Y / kRow, inRow = Y % kRow;
  if (g >= static_cast<int>(kGlyphs.size())) return 0x101010;
  const std::string key = kGlyphs[static_cast<std::size_t>(g)].Key;
  const int size = kGlyphs[static_cast<std::size_t>(g)].Size;
  const int frame = X / size;
  if (frame > 2 || inRow >= size) return 0x101010;
  // A light face, darker frame by frame; a dark bar across the middle marks a checked box or
  // radio button and every title glyph, a lighter one a grayed box.
  const std::uint32_t face = 0xD0E0F0u - static_cast<std::uint32_t>(frame) * 0x181818u;
  const bool bar = inRow > size / 3 && inRow < 2 * size / 3 && X % size > 2 && X % size < size - 3;
  if (!bar || key.find("UNCHECKED") != std::string::npos) return face;
  return key.find("GRAYED") != std::string::npos ? 0x808890u : 0x302820u;
}

// Outside, the glyphs lie outside a master bitmap of 8 x 8: reversed from far beyond it,
// starting at its right edge, or a pixel past that edge.
constexpr int kTinyMaster = 8;

std::string GlyphLines(const std::set<std::string>& Drop, bool Outside) {
  std::string text;
  for (std::size_t g = 0; g < kGlyphs.size(); ++g) {
    if (Drop.contains(kGlyphs[g].Key)) continue;
    const int size = kGlyphs[g].Size, top = static_cast<int>(g) * kRow;
    char line[96];
    if (Outside && g % 3 == 0)
      std::snprintf(line, sizeof line, "%s=^9999,9999,0000,0000,0000,0000,0000,0000,3,0,0,0\r\n", kGlyphs[g].Key);
    else if (Outside && g % 3 == 2)
      std::snprintf(line, sizeof line, "%s=@0000,0000,%04d,%04d,3,0\r\n", kGlyphs[g].Key, kTinyMaster + 1, kTinyMaster);
    else if (Outside)
      std::snprintf(line, sizeof line, "%s=@%04d,0000,%04d,%04d,3,0\r\n", kGlyphs[g].Key, kTinyMaster,
                    kTinyMaster + 3 * size, size);
    else
      std::snprintf(line, sizeof line, "%s=@%04d,%04d,%04d,%04d,3,0\r\n", kGlyphs[g].Key, 0, top, 3 * size, top + size);
    text += line;
  }
  return text;
}

constexpr std::array<const char*, 4> kScrollButtons{"SCROLLBTNLEFT", "SCROLLBTNTOP", "SCROLLBTNRIGHT", "SCROLLBTNBOTTOM"};

// Every section the form's controls are painted from; each face a dark colour of its own.
constexpr std::array<const char*, 38> kSections{
    "FORM",          "FORMTITLE",     "CAPTION",      "DIALOG",        "DIALOGTITLE",   "MENULINE",
    "MAINMENU",      "MENUITEM",      "SELECTION",    "EDIT",          "BUTTON",        "CHECKBOX",
    "RADIOBUTTON",   "GROUPBOX",      "PANEL",        "PANEL_LOW",     "COMBOBOX",      "COMBOBTN",
    "PAGECONTROL",   "TABSHEET",      "TABTOP",       "TOOLBAR",       "TOOLBUTTON",    "STATUSBAR",
    "SPEEDBUTTON",   "SCROLLBAR1H",   "SCROLLBAR1V",  "SCROLLBAR2H",   "SCROLLBAR2V",   "SCROLLSLIDERH",
    "SCROLLSLIDERV", "SCROLLBTNLEFT", "SCROLLBTNTOP", "SCROLLBTNRIGHT", "SCROLLBTNBOTTOM", "COLHEADER",
    "HINT",          "UPDOWNBTN"};

constexpr COLORREF kFontColor = 0xE8F0F0;

// What one skin lacks: the sections and pictures it drops, or, for a skin built up from
// almost nothing, the only sections it has (with the skin-wide one, no pictures, and each
// section a colour and a font colour alone: no hot state of its own). Global gives lines to the skin-wide section (before any other); Color, a value no colour
// can have, stands for the face colours of the sections named in Odd. Outside: the master
// bitmap is 8 x 8, and the check and title glyphs and the scroll buttons' arrows lie outside it.
struct Missing {
  const char* Name;
  std::set<std::string> Drop;
  std::set<std::string> Only = {};
  std::string Global = {};
  std::string Color = {};
  std::set<std::string> Odd = {};
  bool Outside = false;
};

std::string SkinText(const Missing& Skin) {
  const bool builtUp = !Skin.Only.empty();
  std::string text = "[GLOBALINFO]\r\nVERSION=10.0\r\n" + std::string(builtUp ? "" : "MASTERBITMAP=master.bmp\r\n") +
                     Skin.Global + "TITLEHEIGHT=26\r\nBORDERWIDTH=4\r\nFONTCOLOR=" + Hex(kFontColor) + "\r\n" +
                     (builtUp ? "" : GlyphLines(Skin.Drop, Skin.Outside));
  COLORREF face = 0x403020;
  for (const char* name : kSections) {
    face += 0x030405;
    if (Skin.Drop.contains(name) || (builtUp && !Skin.Only.contains(name))) continue;
    const bool odd = Skin.Odd.contains(name);
    const std::string color = odd ? Skin.Color : Hex(face);
    if (builtUp) {
      text += std::string("[") + name + "]\r\nCOLOR=" + color + "\r\nFONTCOLOR=" + Hex(kFontColor) + "\r\n";
      continue;
    }
    const std::string hot = odd ? Skin.Color : Hex(face + 0x202020);
    text += std::string("[") + name + "]\r\nSTATES=2\r\nCOLOR=" + color + "\r\nHOTCOLOR=" + hot +
            "\r\nFONTCOLOR=" + Hex(kFontColor) + "\r\nHOTFONTCOLOR=" + Hex(kFontColor) + "\r\n";
    // A pixel past the tiny master's bottom edge.
    if (Skin.Outside && std::find(kScrollButtons.begin(), kScrollButtons.end(), std::string_view(name)) != kScrollButtons.end())
      text += "GLYPHMASK=@0000,0000,0008,0009,1,0\r\n";
  }
  return text;
}

// A failure names the case and what its skin lacks.
void PrintTo(const Missing& M, std::ostream* Out) {
  *Out << M.Name << (M.Only.empty() ? " (without" : " (only");
  for (const std::string& key : M.Only.empty() ? M.Drop : M.Only) *Out << " " << key;
  if (!M.Global.empty()) *Out << "; " << M.Global.substr(0, M.Global.find('\r'));
  if (!M.Color.empty()) *Out << "; colours " << M.Color << " in " << M.Odd.size() << " sections";
  if (M.Outside) *Out << "; glyphs outside their picture";
  *Out << ")";
}

std::set<std::string> Glyphs(const char* Prefix1, const char* Prefix2) {
  std::set<std::string> keys;
  for (const Glyph& g : kGlyphs)
    if (std::string(g.Key).starts_with(Prefix1) || std::string(g.Key).starts_with(Prefix2)) keys.insert(g.Key);
  return keys;
}

const std::vector<Missing>& Cases() {
  static const std::vector<Missing> cases{
      {"Nothing", {}},
      {"Form", {"FORM", "DIALOG"}},
      {"Title", {"FORMTITLE", "CAPTION", "DIALOGTITLE"}},
      {"TitleGlyphs", Glyphs("BICON", "SICON")},
      {"CheckGlyphs", Glyphs("BOX", "RADIO")},
      {"CheckBox", {"CHECKBOX", "RADIOBUTTON"}},
      {"GroupBox", {"GROUPBOX"}},
      {"Button", {"BUTTON"}},
      {"SpeedButton", {"SPEEDBUTTON", "TOOLBUTTON"}},
      {"ToolBar", {"TOOLBAR"}},
      {"Panel", {"PANEL", "PANEL_LOW"}},
      {"Edit", {"EDIT"}},
      {"ScrollBars",
       {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V", "SCROLLSLIDERH", "SCROLLSLIDERV", "SCROLLBTNLEFT",
        "SCROLLBTNTOP", "SCROLLBTNRIGHT", "SCROLLBTNBOTTOM"}},
      {"ScrollThumbs", {"SCROLLSLIDERH", "SCROLLSLIDERV"}},
      {"Pages", {"PAGECONTROL", "TABSHEET", "TABTOP"}},
      {"StatusBar", {"STATUSBAR"}},
      {"ComboBox", {"COMBOBOX", "COMBOBTN"}},
      {"Menus", {"MAINMENU", "MENUITEM", "SELECTION", "MENULINE"}},
      {"FewSections", {}, {"FORM", "EDIT", "PANEL", "BUTTON", "CHECKBOX"}},
      // Colours no colour can have: the skin-wide one, or some sections' faces.
      {"NoGlobalColour", {}, {"FORM"}, "COLOR=-1\r\n"},
      {"NoGlobalColourHex", {}, {"FORM"}, "COLOR=$FFFFFFFF\r\n"},
      {"NoSectionColours", {}, {}, "", "-1", {"BUTTON", "CHECKBOX", "RADIOBUTTON", "GROUPBOX", "PANEL", "EDIT"}},
      {"NoSectionColoursHex", {}, {}, "", "$7FFFFFFF", {"BUTTON", "CHECKBOX", "PAGECONTROL", "TABSHEET", "EDIT"}},
      // Pieces outside their picture: missing pieces.
      {"GlyphsOutsideTheirPicture", {}, {}, "", "", {}, true},
      // Title buttons' right margins wider than any title, and reaching past the window.
      {"TitleButtonsMarginBeyondTheTitle", {}, {}, "BIRIGHT=100000\r\n"},
      {"TitleButtonsMarginPastTheRightEdge", {}, {}, "BIRIGHT=-100000\r\n"},
      // Gaps between the title buttons wider than any title, and taking them back past each other.
      {"TitleButtonsGapBeyondTheTitle", {}, {}, "BISPACE=100000\r\n"},
      {"TitleButtonsGapOfTheLargestNumber", {}, {}, "BISPACE=2147483647\r\n"},
      {"TitleButtonsGapBackPastTheRightEdge", {}, {}, "BISPACE=-100000\r\n"},
  };
  return cases;
}

// ---------------------------------------------------------------------------------------
// Pixels


// Keeps a grab for people to look at, when SCRIVANE_SHOT_DIR names a folder.
void KeepShot(const MemoryPixels& P, const RECT& Box, const std::string& Name) {
  const char* dir = std::getenv("SCRIVANE_SHOT_DIR");
  if (!dir || !*dir) return;
  const auto png = Png24(Box.right, Box.bottom, [&](int x, int y) {
    const COLORREF c = P.At(x, y);
    return static_cast<std::uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
  });
  const std::string path = dir[0] == '/' ? "Z:" + std::string(dir) : dir;
  std::ofstream(path + "\\" + Name + ".png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

int Distance(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
         std::abs(GetBValue(a) - GetBValue(b));
}

// An unpainted spot: a square of Side pixels all black.
bool HasHole(const MemoryPixels& P, const RECT& R, int Side = 6) {
  std::vector<int> run(static_cast<std::size_t>(std::max(0L, R.right - R.left)), 0), tall(run.size(), 0);
  for (int y = R.top; y < R.bottom; ++y) {
    int across = 0;
    for (int x = R.left; x < R.right; ++x) {
      const auto i = static_cast<std::size_t>(x - R.left);
      across = P.At(x, y) == 0 ? across + 1 : 0;
      tall[i] = across >= Side ? tall[i] + 1 : 0;
      if (tall[i] >= Side) return true;
    }
  }
  return false;
}

// Pixels that stand out from the area's commonest colour: text, edges, marks.
int Contrasting(const MemoryPixels& P, const RECT& R) {
  std::map<COLORREF, int> counts;
  for (int y = R.top; y < R.bottom; ++y)
    for (int x = R.left; x < R.right; ++x) ++counts[P.At(x, y)];
  if (counts.empty()) return 0;
  const COLORREF common = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                            return a.second < b.second;
                          })->first;
  return CountPixels(P, R, [common](COLORREF c) { return Distance(c, common) > 150; });
}

int Differing(const MemoryPixels& A, const MemoryPixels& B, const RECT& R) {
  int n = 0;
  for (int y = R.top; y < R.bottom; ++y)
    for (int x = R.left; x < R.right; ++x) n += Distance(A.At(x, y), B.At(x, y)) > 60 ? 1 : 0;
  return n;
}

// ---------------------------------------------------------------------------------------
// The form

struct FormFree {
  void operator()(vcl::TForm* f) const { vcl::TObject::Free(f); }
};

class IncompleteSkin : public ::testing::TestWithParam<Missing> {
 protected:
  void SetUp() override {
    if (GetParam().Outside)
      skins.Write(L"Partial", L"master.bmp", Bmp24(kTinyMaster, kTinyMaster, MasterPixel));
    else
      skins.Write(L"Partial", L"master.bmp", Bmp24(3 * 21, kRow * static_cast<int>(kGlyphs.size()), MasterPixel));
    manager = LoadedManager(skins, L"Partial", SkinText(GetParam()));
    manager->AnimEffects()->FormShow()->SetActive(false);
    manager->AnimEffects()->Buttons()->SetEvents({});
    form.reset(new vcl::TForm(vcl::Application, 0));
    form->SetCaption(L"An incomplete skin");
    menu = new vcl::TMainMenu(form.get());
    for (const wchar_t* caption : {L"&Skin", L"&Windows"}) {
      auto* item = new vcl::TMenuItem(menu);
      item->SetCaption(caption);
      auto* sub = new vcl::TMenuItem(item);
      sub->SetCaption(L"&Tile");
      item->Add(sub);
      menu->Items()->Add(item);
    }
    form->SetMenu(menu);
    provider = vcl::Construct<TsSkinProvider>(form.get());
    Build();
    form->SetBounds(20, 20, 760, 560);
    form->Show();
    Settle();
  }
  void TearDown() override {
    form.reset();
    manager.reset();
  }

  template <class T>
  T* Add(const wchar_t* Name, vcl::TWinControl* Parent, int X, int Y, int W, int H) {
    T* c = Put<T>(Parent, X, Y, W, H, form.get());
    controls[Name] = c;
    return c;
  }

  void Build() {
    auto* box = Add<vcl::TGroupBox>(L"GroupBox", form.get(), 8, 8, 220, 250);
    box->SetCaption(L"Buttons and boxes");
    Add<vcl::TButton>(L"Button", box, 10, 24, 200, 26)->SetCaption(L"A button");
    check = Add<vcl::TCheckBox>(L"CheckBox", box, 10, 56, 200, 22);
    check->SetCaption(L"A check box");
    radio = Add<vcl::TRadioButton>(L"RadioButton", box, 10, 82, 200, 22);
    radio->SetCaption(L"A radio button");
    other = Add<vcl::TRadioButton>(L"OtherRadio", box, 10, 106, 200, 22);
    other->SetCaption(L"Another radio button");
    other->SetChecked(true);
    auto* combo = Add<vcl::TComboBox>(L"ComboBox", box, 10, 134, 200, 24);
    combo->Items()->Add(L"A combo box");
    combo->SetItemIndex(0);
    Add<vcl::TStaticText>(L"StaticText", box, 10, 166, 200, 20)->SetCaption(L"A static text");
    Add<vcl::TEdit>(L"Edit", box, 10, 192, 200, 24)->SetText(L"An edit");

    auto* panel = Add<vcl::TPanel>(L"Panel", form.get(), 8, 266, 220, 44);
    panel->SetCaption(L"A panel");
    panel->SetAlignment(vcl::taLeftJustify);
    speed = Put<vcl::TSpeedButton>(panel, 140, 6, 70, 32, form.get());
    speed->SetCaption(L"Speed");
    flat = Put<vcl::TSpeedButton>(form.get(), 8, 318, 100, 28, form.get());
    flat->SetCaption(L"Flat down");
    flat->SetFlat(true);
    flat->SetGroupIndex(1);
    flat->SetAllowAllUp(true);
    flat->SetDown(true);

    auto* list = Add<vcl::TListBox>(L"ListBox", form.get(), 236, 8, 200, 120);
    for (int i = 1; i <= 40; ++i) list->Items()->Add(L"List item " + std::to_wstring(i));
    auto* memo = Add<vcl::TMemo>(L"Memo", form.get(), 236, 136, 200, 90);
    memo->SetScrollBars(vcl::ssBoth);
    memo->SetWordWrap(false);
    for (int i = 1; i <= 20; ++i) memo->Lines()->Add(L"Memo line " + std::to_wstring(i) + L" runs past the edge of the memo");
    auto* bar = Add<vcl::TScrollBar>(L"ScrollBar", form.get(), 236, 234, 200, 18);
    bar->SetPageSize(20);
    bar->SetPosition(30);
    auto* grid = Add<vcl::TStringGrid>(L"StringGrid", form.get(), 236, 260, 200, 110);
    grid->SetColCount(5);
    grid->SetRowCount(12);
    for (int r = 0; r < 12; ++r)
      for (int c = 0; c < 5; ++c) grid->SetCells(c, r, std::to_wstring(r * c));

    auto* pages = Add<vcl::TPageControl>(L"PageControl", form.get(), 444, 8, 290, 150);
    for (const wchar_t* caption : {L"A page", L"Another"}) {
      auto* sheet = new vcl::TTabSheet(form.get());
      sheet->SetPageControl(pages);
      sheet->SetCaption(caption);
    }
    pages->SetActivePage(pages->Pages(0));
    auto* view = Put<vcl::TListView>(pages->Pages(0), 4, 4, 270, 100, form.get());
    controls[L"ListView"] = view;
    view->SetViewStyle(vcl::vsReport);
    view->Columns()->Add()->SetCaption(L"Name");
    view->Items()->Add()->SetCaption(L"An item");
    auto* tree = Add<vcl::TTreeView>(L"TreeView", form.get(), 444, 166, 290, 100);
    tree->Items()->Add(nullptr, L"A tree node");

    auto* tools = Add<vcl::TToolBar>(L"ToolBar", form.get(), 444, 274, 290, 40);
    tools->SetAlign(vcl::alNone);
    tools->SetBounds(444, 274, 290, 40);
    tools->SetShowCaptions(true);
    tools->SetButtonWidth(60);
    tools->SetButtonHeight(32);
    for (const wchar_t* caption : {L"Tool", L"Down"}) {
      auto* button = new vcl::TToolButton(form.get());
      button->SetParent(tools);
      button->SetCaption(caption);
      button->SetLeft(1000);
    }
    tools->Buttons(1)->SetStyle(vcl::tbsCheck);
    tools->Buttons(1)->SetDown(true);

    auto* group = Add<vcl::TRadioGroup>(L"RadioGroup", form.get(), 444, 322, 290, 50);
    group->SetCaption(L"A radio group");
    group->SetColumns(2);
    for (const wchar_t* item : {L"First", L"Second"}) group->Items()->Add(item);
    group->SetItemIndex(1);

    auto* status = new vcl::TStatusBar(form.get());
    status->SetParent(form.get());
    status->SetSimplePanel(true);
    status->SetSimpleText(L"A status bar");
    controls[L"StatusBar"] = status;
  }

  // The window's own pixels, frame included, as the system shows them (kept under Label).
  std::unique_ptr<MemoryPixels> Grab(const char* Label) {
    const HWND wnd = form->Handle();
    const RECT box = WindowBox(wnd);
    auto pixels = std::make_unique<MemoryPixels>(box.right, box.bottom);
    HDC dc = GetWindowDC(wnd);
    BitBlt(pixels->DC(), 0, 0, box.right, box.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(wnd, dc);
    KeepShot(*pixels, box, std::string("incomplete-") + GetParam().Name + "-" + Label);
    return pixels;
  }

  // Painted through and idle.
  void Settle() {
    wintest::PumpUntilIdle();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    wintest::PumpUntilIdle();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }

  // A control's window (frame and all), or a graphic control's bounds, in the form's window.
  RECT Place(vcl::TControl* Control) const {
    RECT r{};
    if (auto* windowed = dynamic_cast<vcl::TWinControl*>(Control)) {
      GetWindowRect(windowed->Handle(), &r);
    } else {
      const vcl::TPoint origin = Control->Parent()->ClientToScreen(vcl::TPoint{Control->Left(), Control->Top()});
      r = RECT{origin.X, origin.Y, origin.X + Control->Width(), origin.Y + Control->Height()};
    }
    RECT form_box{};
    GetWindowRect(form->Handle(), &form_box);
    OffsetRect(&r, -form_box.left, -form_box.top);
    return r;
  }

  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, FormFree> form;
  TsSkinProvider* provider = nullptr;
  vcl::TMainMenu* menu = nullptr;
  std::map<std::wstring, vcl::TControl*> controls;
  vcl::TCheckBox* check = nullptr;
  vcl::TRadioButton* radio = nullptr;
  vcl::TRadioButton* other = nullptr;
  vcl::TSpeedButton* speed = nullptr;
  vcl::TSpeedButton* flat = nullptr;
};

TEST_P(IncompleteSkin, EveryControlIsDrawnAndVisible) {
  const auto shot = Grab("whole");
  EXPECT_FALSE(HasHole(*shot, WindowBox(form->Handle()))) << "an unpainted area in the window";
  controls[L"Speed"] = speed;
  controls[L"FlatSpeed"] = flat;
  for (const auto& [name, control] : controls) {
    const RECT r = Place(control);
    EXPECT_FALSE(HasHole(*shot, r)) << std::string(name.begin(), name.end()) << " has an unpainted area";
    EXPECT_GE(Contrasting(*shot, r), 12) << std::string(name.begin(), name.end()) << " shows nothing";
  }
}

TEST_P(IncompleteSkin, CaptionsStayLegible) {
  const auto shot = Grab("captions");
  // Areas holding a caption and nothing else: its letters must stand out.
  auto part = [&](const wchar_t* Name, int Left, int Top, int Right, int Bottom) {
    const RECT r = Place(Name == std::wstring(L"Speed") ? static_cast<vcl::TControl*>(speed) : controls[Name]);
    return RECT{r.left + Left, r.top + Top, Right > 0 ? r.left + Right : r.right + Right,
                Bottom > 0 ? r.top + Bottom : r.bottom + Bottom};
  };
  const std::map<std::wstring, RECT> captions{
      {L"GroupBox", part(L"GroupBox", 10, 0, 100, 14)},    {L"RadioGroup", part(L"RadioGroup", 10, 0, 90, 14)},
      {L"CheckBox", part(L"CheckBox", 22, 2, -20, -2)},    {L"RadioButton", part(L"RadioButton", 22, 2, -20, -2)},
      {L"Panel", part(L"Panel", 4, 12, 60, -12)},          {L"StaticText", part(L"StaticText", 2, 2, 90, -2)},
      {L"ToolBar", part(L"ToolBar", 8, 10, 40, -10)},      {L"Speed", part(L"Speed", 14, 8, -14, -8)},
  };
  for (const auto& [name, r] : captions)
    EXPECT_GE(Contrasting(*shot, r), 15) << std::string(name.begin(), name.end()) << "'s caption cannot be read";
}

TEST_P(IncompleteSkin, TheTitleIsLegibleAndItsButtonsShow) {
  const auto shot = Grab("title");
  const RECT box = WindowBox(form->Handle());
  if (!provider->FormSkinned()) {
    // A skin without the form's section leaves the frame to the system.
    const int frame = GetSystemMetrics(SM_CYFRAME), caption = GetSystemMetrics(SM_CYCAPTION);
    EXPECT_GE(Contrasting(*shot, RECT{frame, frame, box.right - frame, frame + caption}), 30);
    return;
  }
  ASSERT_GT(provider->CaptionButtons().TitleBottom, 10);
  const RECT caption{provider->CaptionButtons().IconRect.Right + 2, 2,
                     provider->CaptionButtons().BtnMinimize.Rect.Left - 2, provider->CaptionButtons().TitleBottom - 2};
  EXPECT_GE(Contrasting(*shot, caption), 30) << "the caption's text cannot be read";
  EXPECT_FALSE(HasHole(*shot, RECT{0, 0, box.right, provider->CaptionButtons().TitleBottom}));
  for (const TsCaptionButton* button : {&provider->CaptionButtons().BtnClose, &provider->CaptionButtons().BtnMaximize,
                                        &provider->CaptionButtons().BtnMinimize}) {
    ASSERT_FALSE(button->Rect.IsEmpty()) << button->HitCode;
    EXPECT_GE(button->Rect.Left, provider->CaptionButtons().IconRect.Right) << "title button " << button->HitCode;
    EXPECT_LE(button->Rect.Right, box.right) << "title button " << button->HitCode;
    EXPECT_GE(Contrasting(*shot, RECT(button->Rect)), 8) << "title button " << button->HitCode << " cannot be seen";
  }
}

// Each arrow of a scroll bar control shows on its button.
TEST_P(IncompleteSkin, TheScrollArrowsShow) {
  const auto shot = Grab("scroll");
  const RECT bar = Place(controls[L"ScrollBar"]);
  const int side = bar.bottom - bar.top;
  for (const RECT button : {RECT{bar.left + 3, bar.top + 3, bar.left + side - 3, bar.bottom - 3},
                            RECT{bar.right - side + 3, bar.top + 3, bar.right - 3, bar.bottom - 3}})
    EXPECT_GE(Contrasting(*shot, button), 6) << "no arrow at " << button.left << ", " << button.top;
}

// The menu line's items stand on a face and can be read, whatever the skin has for the line,
// with the form active and inactive.
TEST_P(IncompleteSkin, TheMenuLinesItemsCanBeRead) {
  for (const BOOL active : {FALSE, TRUE}) {
    SCOPED_TRACE(active ? "active" : "inactive");
    SendMessageW(form->Handle(), WM_NCACTIVATE, active, 0);
    Settle();
    const auto shot = Grab(active ? "menu-active" : "menu-inactive");
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    for (int i = 0; i < menu->Items()->Count(); ++i) {
      RECT item{};
      ASSERT_TRUE(GetMenuItemRect(form->Handle(), menu->Handle(), static_cast<UINT>(i), &item));
      OffsetRect(&item, -window.left, -window.top);
      EXPECT_FALSE(HasHole(*shot, item, 4)) << "item " << i << " stands on an unpainted area";
      EXPECT_GE(Contrasting(*shot, item), 15) << "item " << i << "'s caption cannot be read";
    }
  }
}

TEST_P(IncompleteSkin, StatesStayReadable) {
  auto area = [&](vcl::TControl* c) { return Place(c); };
  // Checked against clear: the mark changes.
  const auto clear = Grab("clear");
  check->SetChecked(true);
  radio->SetChecked(true);
  Settle();
  const auto checked = Grab("checked");
  EXPECT_GE(Differing(*clear, *checked, area(check)), 8) << "a checked box looks clear";
  EXPECT_GE(Differing(*clear, *checked, area(radio)), 8) << "a checked radio button looks clear";
  EXPECT_GE(Differing(*clear, *checked, area(other)), 8) << "a cleared radio button looks checked";

  // Pressed against released.
  auto* button = dynamic_cast<vcl::TButton*>(controls[L"Button"]);
  SendMessageW(button->Handle(), BM_SETSTATE, TRUE, 0);
  Settle();
  const auto pressed = Grab("pressed");
  SendMessageW(button->Handle(), BM_SETSTATE, FALSE, 0);
  EXPECT_GE(Differing(*checked, *pressed, area(button)), 8) << "a pressed button looks released";

  // Focused against not.
  check->SetFocus();
  Settle();
  const auto focused = Grab("focused");
  EXPECT_GE(Differing(*pressed, *focused, area(check)), 4) << "the focused box looks like the others";

  // A down flat speed button against up.
  flat->SetDown(false);
  Settle();
  const auto up = Grab("up");
  EXPECT_GE(Differing(*focused, *up, area(flat)), 8) << "a down speed button looks up";
}

// A popup menu in its loop: its items on a face, the selected one marked, the checked one
// with its mark.
TEST_P(IncompleteSkin, APopupMenuShowsItsItemsTheSelectionAndTheCheckMark) {
  auto* popup = new vcl::TPopupMenu(form.get());
  for (const wchar_t* caption : {L"A first item", L"A checked item", L"-", L"A last item"}) {
    auto* item = new vcl::TMenuItem(popup);
    item->SetCaption(caption);
    popup->Items()->Add(item);
  }
  popup->Items()->Items(1)->SetChecked(true);
  SkinableMenusOf(manager.get())->SetMenuOwnerDraw(popup, true);
  std::unique_ptr<MemoryPixels> plain, selected;
  RECT box{}, first{}, checked{};
  HWND menu = nullptr;
  auto grab = [&] {
    auto pixels = std::make_unique<MemoryPixels>(box.right, box.bottom);
    HDC dc = GetWindowDC(menu);
    BitBlt(pixels->DC(), 0, 0, box.right, box.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(menu, dc);
    return pixels;
  };
  const bool ended = RunMenuLoop([&] { popup->Popup(300, 200); }, [&](int Tick) {
    if (!menu) {
      menu = VisiblePopupWindow();
      if (!menu) return false;
      box = WindowBox(menu);
      RECT screen{};
      GetWindowRect(menu, &screen);
      for (auto [index, place] : {std::pair{0, &first}, std::pair{1, &checked}}) {
        GetMenuItemRect(nullptr, popup->Items()->Handle(), static_cast<UINT>(index), place);
        OffsetRect(place, -screen.left, -screen.top);
      }
      return false;
    }
    if (!plain) {
      if (Tick < 6) return false;
      plain = grab();
      PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
      return false;
    }
    if (Tick < 14) return false;
    selected = grab();
    return true;
  });
  ASSERT_TRUE(ended && plain && selected) << "the popup did not show";
  KeepShot(*selected, box, std::string("incomplete-") + GetParam().Name + "-popup");
  EXPECT_FALSE(HasHole(*plain, box)) << "an unpainted area in the popup";
  EXPECT_GE(Contrasting(*plain, first), 15) << "the first item cannot be read";
  EXPECT_GE(Differing(*plain, *selected, first), 60) << "the selected item looks like the others";
  EXPECT_GE(Contrasting(*selected, first), 15) << "the selected item cannot be read";
  const RECT mark{checked.left, checked.top, checked.left + 20, checked.bottom};
  EXPECT_GE(Contrasting(*plain, mark), 6) << "the check mark is missing";
}

INSTANTIATE_TEST_SUITE_P(Lacking, IncompleteSkin, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Missing>& Info) { return std::string(Info.param.Name); });

}  // namespace
}  // namespace skin_layered::test
