// What the screen shows of a mapped form of every control kind, read from the display (so the
// tests run alone, no other window over the form): every control keeps its look through a
// minimise and a skin switch, stays drawn under skins that lack its picture or whose picture is
// too narrow for its frames (and shows each state's frame), and a real click on the date picker's
// arrow opens its calendar.
#include "mapping_support.h"

#include <chrono>

#include "skin_classic/controls/SkinDateTime.h"
#include "skin_classic/controls/SkinMediaPlayer.h"
#include "skin_classic/controls/SkinScrollbar.h"
#include "skin_classic/forms/MenuTracking.h"

namespace winskin::test {

VCL_CLASS_INFO(TSkinTestForm) {}

VCL_CLASS_INFO(TMdiFrameForm) {}

namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// ---------------------------------------------------------------------------------------
// Keeping the look

// What the screen shows of a window (its children over it).
std::vector<COLORREF> OnScreen(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  std::vector<COLORREF> pixels;
  HDC screen = GetDC(nullptr);
  auto shot = Surface(width, height, vcl::clBlack);
  BitBlt(shot->Canvas()->Handle(), 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(shot->Canvas()->Handle(), x, y));
  return pixels;
}

// Every window of the form drawn anew, as after the user's restore.
void RepaintAll(HWND w) {
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpUntilIdle();
}

// A minimise and restore, and a switch to the same skin read again, leave every control as it was.
TEST_F(MappedForms, AMinimiseAndASkinSwitchLeaveEveryControlAsItWas) {
  Owned<vcl::TForm> form = NewForm();
  const AllKinds kinds = FillAllKinds(form.get());
  SetCursorPos(0, 0);  // away from the form: no control turns hot meanwhile
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  // Nothing of other windows over it while its pixels are read from the screen.
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form->Handle());
  RepaintAll(form->Handle());
  std::map<std::wstring, std::vector<COLORREF>> before;
  for (const auto& [name, control] : kinds.controls)
    if (auto* w = dynamic_cast<vcl::TWinControl*>(control)) before[name] = OnScreen(w->Handle());

  auto expectSame = [&](const char* after) {
    for (const auto& [name, pixels] : before) {
      auto* w = dynamic_cast<vcl::TWinControl*>(kinds[name]);
      const std::vector<COLORREF> now = OnScreen(w->Handle());
      size_t differ = 0;
      for (size_t i = 0; i < std::min(now.size(), pixels.size()); ++i) differ += now[i] != pixels[i];
      EXPECT_EQ(now.size(), pixels.size()) << after << ": " << std::string(name.begin(), name.end());
      EXPECT_EQ(differ, 0u) << after << ": " << std::string(name.begin(), name.end());
    }
  };
  // Minimised and restored as the caption buttons do it.
  PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  PumpUntilIdle();
  PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  PumpUntilIdle();
  SetForegroundWindow(form->Handle());
  PumpUntilIdle();
  expectSame("minimised and restored");

  // The same package read again and applied as a skin switch applies it.
  ASSERT_TRUE(data_->LoadSkin());
  SkinManager()->SetRequestSkinData(data_);
  SkinManager()->RefreshSkinObjects(data_);
  SkinManager()->SetActiveMode(TSkinMode::Refresh, 1);
  PumpUntil([&] { return SkinManager()->RequestSkinData() == nullptr; });
  PumpUntilIdle();
  expectSame("after a skin switch");
}

// ---------------------------------------------------------------------------------------
// Skins that lack pictures

// The complete skin without the picture entries named (the description still names them).
PackageSpec SkinWithout(const std::vector<const char*>& pictures) {
  PackageSpec spec = CompleteSkinSpec();
  for (const char* name : pictures) {
    auto it = std::find_if(spec.entries.begin(), spec.entries.end(), [&](const auto& e) { return e.name == name; });
    EXPECT_NE(it, spec.entries.end()) << name;
    if (it != spec.entries.end()) spec.entries.erase(it);
  }
  return spec;
}

// What the screen shows of a control is drawn: not only the face colour of what lies behind
// (a control that vanished), and no black hole.
void ExpectDrawn(const std::vector<COLORREF>& pixels, const std::string& what) {
  ASSERT_FALSE(pixels.empty()) << what;
  const COLORREF face = RGB(200, 201, 202);  // the complete skin's face colour
  const auto black = std::count(pixels.begin(), pixels.end(), RGB(0, 0, 0));
  EXPECT_FALSE(std::all_of(pixels.begin(), pixels.end(), [&](COLORREF c) { return c == face; }))
      << what << ": nothing drawn";
  EXPECT_LT(black * 4, static_cast<long>(pixels.size())) << what << ": black";
}

struct LackingCase {
  const char* what;
  PackageSpec spec;
};

// Whatever picture a skin lacks, each control of the form stays drawn: by
// the skin where it has the picture, by the system where it has not.
TEST_F(MappedForms, EveryControlStaysDrawnWhenTheSkinLacksItsPicture) {
  const LackingCase cases[] = {
      {"push buttons", SkinWithout({"Buttons.bmp"})},
      {"check boxes and radio buttons", SkinWithout({"Check.bmp", "Radio.bmp"})},
      {"tabs", SkinWithout({"Tabs.bmp", "TabBorder.bmp", "TabPane.bmp"})},
      {"scroll bars", SkinWithout({"Scroll.bmp"})},
      {"combo boxes", SkinWithout({"Combo.bmp", "Sunk.bmp"})},
      {"headers", SkinWithout({"Header.bmp"})},
      {"progress bars", SkinWithout({"Progress.bmp", "Chunk.bmp"})},
      {"status bars and up-downs", SkinWithout({"Status.bmp", "UpDownV.bmp", "UpDownH.bmp"})},
      {"track-bar thumbs", SkinWithout({"ThumbH.bmp", "ThumbV.bmp"})},
      // A skin of the wild: the frame, its caption buttons and the menu bar only.
      {"every control picture",
       SkinWithout({"TextBack.bmp", "Buttons.bmp", "Check.bmp", "Radio.bmp", "Progress.bmp", "Chunk.bmp",
                    "GroupEdge.bmp", "GroupBox.bmp", "Tabs.bmp", "TabBorder.bmp", "Status.bmp", "TabPane.bmp",
                    "ToolBars.bmp", "Combo.bmp", "Sunk.bmp", "Extra.bmp", "Header.bmp", "MenuItem.bmp",
                    "MenuBack.bmp", "Scroll.bmp", "HScroll.bmp", "VScroll.bmp", "HThumb.bmp", "VThumb.bmp",
                    "ThumbH.bmp", "ThumbV.bmp", "ThumbL.bmp", "ThumbR.bmp", "ThumbU.bmp", "ThumbD.bmp",
                    "UpDownH.bmp", "UpDownHGlyph.bmp", "UpDownV.bmp", "UpDownVGlyph.bmp", "TrackV.bmp"})},
  };
  SetCursorPos(0, 0);
  for (const LackingCase& c : cases) {
    SCOPED_TRACE(c.what);
    holder_.reset();
    FreeSkinManager();
    holder_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(c.spec)))));
    data_ = holder_->SkinData();
    ASSERT_TRUE(data_ && !data_->Empty());
    Owned<vcl::TForm> form = NewForm();
    const AllKinds kinds = FillAllKinds(form.get());
    TWinSkinForm* skin = ShowSkinned(form.get());
    ASSERT_TRUE(skin);
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RepaintAll(form->Handle());
    for (const auto& [name, control] : kinds.controls) {
      auto* w = dynamic_cast<vcl::TWinControl*>(control);
      if (w && IsWindowVisible(w->Handle())) ExpectDrawn(OnScreen(w->Handle()), std::string(name.begin(), name.end()));
    }
    // The speed button has no window: what its parent shows at its place.
    vcl::TControl* speed = kinds[L"SpeedButton"];
    RECT r{speed->Left(), speed->Top(), speed->Left() + speed->Width(), speed->Top() + speed->Height()};
    MapWindowPoints(speed->Parent()->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) pixels.push_back(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    ExpectDrawn(pixels, "SpeedButton");
  }
}

// ---------------------------------------------------------------------------------------
// Pictures too narrow for their frames

// The picture File of Spec made Width x Height: frame f of Id (from 1) in columns of FrameWidth
// pixels, the columns past the last whole frame left over.
void SetStrip(PackageSpec& Spec, const char* File, int Id, int Frames, int FrameWidth, int Width, int Height) {
  auto it = std::find_if(Spec.entries.begin(), Spec.entries.end(), [&](const auto& e) { return e.name == File; });
  ASSERT_NE(it, Spec.entries.end()) << File;
  it->bytes = FrameStrip(Id, Frames, FrameWidth, Width, Height);
}

// The complete skin with such a picture.
PackageSpec SkinWithStrip(const char* File, int Id, int Frames, int FrameWidth, int Width, int Height) {
  PackageSpec spec = CompleteSkinSpec();
  SetStrip(spec, File, Id, Frames, FrameWidth, Width, Height);
  return spec;
}

// The widths about a whole count of Frames frames FrameWidth wide: a column short of it, at it,
// a column past it and half the count past it.
std::vector<int> WidthsAbout(int Frames, int FrameWidth) {
  const int whole = Frames * FrameWidth;
  return {whole - 1, whole, whole + 1, whole + Frames / 2};
}

// How many of Pixels show picture Id's frames other than Shown, or what it has left over past its
// frames.
size_t OtherFramesIn(const std::vector<COLORREF>& Pixels, int Id, int Frames, const std::vector<int>& Shown) {
  size_t others = 0;
  for (const COLORREF p : Pixels) {
    others += p == static_cast<COLORREF>(LeftOverColour(Id));
    for (int f = 1; f <= Frames; ++f)
      others += std::find(Shown.begin(), Shown.end(), f) == Shown.end() && p == static_cast<COLORREF>(FrameColour(Id, f));
  }
  return others;
}

using ControlMaker = vcl::TWinControl* (*)(vcl::TForm*);
// Where a control shows which frame of its picture as it stands (window coordinates).
struct FrameAt {
  POINT at;
  int frame;
};
using FrameProbe = std::vector<FrameAt> (*)(HWND);

// A point of a window's client area in window coordinates.
POINT InWindow(HWND w, int x, int y) {
  RECT r{};
  GetWindowRect(w, &r);
  POINT p{x, y};
  ClientToScreen(w, &p);
  return {p.x - r.left, p.y - r.top};
}

struct Shown {
  std::vector<COLORREF> pixels;
  int width = 0;
  std::vector<FrameAt> frames;  // what Probe answered
  COLORREF At(POINT p) const {
    const size_t i = static_cast<size_t>(p.y) * static_cast<size_t>(width) + static_cast<size_t>(p.x);
    return p.x >= 0 && p.y >= 0 && p.x < width && i < pixels.size() ? pixels[i] : CLR_INVALID;
  }
};

class NarrowPictureForms : public MappedForms {
 protected:
  // What the screen shows of the control Make puts on a form skinned with Spec: the form alone
  // on top, the pointer away, the focus on a button of its own.
  std::vector<COLORREF> ShownUnder(const PackageSpec& Spec, ControlMaker Make) {
    return ShownWith(Spec, Make, nullptr).pixels;
  }
  Shown ShownWith(const PackageSpec& Spec, ControlMaker Make, FrameProbe Probe) {
    holder_.reset();
    FreeSkinManager();
    holder_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(Spec)))));
    data_ = holder_->SkinData();
    EXPECT_TRUE(data_ && !data_->Empty());
    if (!data_ || data_->Empty()) return {};
    Owned<vcl::TForm> form = NewForm();
    Put<vcl::TButton>(form.get(), 300, 230, 80, 24)->SetCaption(L"Focus");
    vcl::TWinControl* control = Make(form.get());
    SetCursorPos(0, 0);
    TWinSkinForm* skin = ShowSkinned(form.get());
    EXPECT_TRUE(skin);
    if (!skin) return {};
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RepaintAll(form->Handle());
    RECT r{};
    GetWindowRect(control->Handle(), &r);
    return {OnScreen(control->Handle()), r.right - r.left, Probe ? Probe(control->Handle()) : std::vector<FrameAt>{}};
  }
};

struct StripCase {
  const char* what;
  const char* file;  // the picture's entry in the complete skin
  int id;
  int frames;  // the count the engine divides it by
  int frameWidth, frameHeight;  // of one frame in the complete skin
  ControlMaker make;
  FrameProbe probe = nullptr;  // where the control shows which frame; nil: not one place to tell
  std::vector<int> shows = {};  // every frame the control shows as it stands
  std::vector<const char*> lacking = {};  // the skin lacks these pictures (other parts of the element)
  bool glyph = false;  // a piece drawn at its own size: frames below the smallest glyph are no picture
};

vcl::TWinControl* MakeCombo(vcl::TForm* f) {
  auto* c = Put<vcl::TComboBox>(f, 10, 10, 150, 22);
  c->Items()->Add(L"Apples");
  return c;
}
// A combo with its button at the left.
vcl::TWinControl* MakeLeftCombo(vcl::TForm* f) {
  vcl::TWinControl* c = MakeCombo(f);
  const HWND w = c->Handle();
  SetWindowLongPtrW(w, GWL_EXSTYLE, GetWindowLongPtrW(w, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  return c;
}
vcl::TWinControl* MakeUpDown(vcl::TForm* f) { return Put<vcl::TUpDown>(f, 10, 10, 17, 40); }
vcl::TWinControl* MakeScrollBar(vcl::TForm* f) { return Put<vcl::TScrollBar>(f, 10, 10, 200, 17); }
vcl::TWinControl* MakeTabs(vcl::TForm* f) {
  auto* t = Put<vcl::TTabControl>(f, 10, 10, 200, 100);
  t->Tabs()->Add(L"One");
  t->Tabs()->Add(L"Two");
  return t;
}
vcl::TWinControl* MakeProgress(vcl::TForm* f) {
  auto* p = Put<vcl::TProgressBar>(f, 10, 10, 200, 16);
  p->SetPosition(40);
  return p;
}
vcl::TWinControl* MakeHeader(vcl::TForm* f) {
  auto* h = Put<vcl::THeaderControl>(f, 10, 10, 200, 20);
  for (const wchar_t* caption : {L"Name", L"Size"}) h->Sections()->Add()->SetText(caption);
  return h;
}
vcl::TWinControl* MakeStatusBar(vcl::TForm* f) {
  auto* bar = new vcl::TStatusBar(f);
  bar->SetParent(f);
  bar->SetSimplePanel(true);
  bar->SetSimpleText(L"Ready");
  bar->SetSizeGrip(true);
  return bar;
}
vcl::TWinControl* MakeTrackBar(vcl::TForm* f) { return Put<vcl::TTrackBar>(f, 10, 10, 200, 30); }

RECT ClientOf(HWND w) {
  RECT c{};
  GetClientRect(w, &c);
  return c;
}
// The combo's button: its normal frame at the right end, above the glyph; its sunken edge's at
// the left.
std::vector<FrameAt> ComboButtonProbe(HWND w) { return {{InWindow(w, ClientOf(w).right - 3, 3), 1}}; }
std::vector<FrameAt> LeftComboButtonProbe(HWND w) { return {{InWindow(w, 4, 4), 1}}; }
std::vector<FrameAt> SunkEdgeProbe(HWND w) { return {{InWindow(w, 1, ClientOf(w).bottom / 2), 1}}; }
std::vector<FrameAt> GripProbe(HWND w) {
  const RECT c = ClientOf(w);
  return {{InWindow(w, c.right - 2, c.bottom - 2), 5}};
}
// The upper half's normal frame, the lower half's (frames 1 and 5).
std::vector<FrameAt> UpDownProbe(HWND w) {
  const RECT c = ClientOf(w);
  return {{InWindow(w, 1, c.bottom / 4), 1}, {InWindow(w, 1, 3 * c.bottom / 4), 5}};
}
// The first arrow's normal frame, the second's (frames 1 and 5).
std::vector<FrameAt> ArrowsProbe(HWND w) {
  const RECT c = ClientOf(w);
  return {{InWindow(w, 2, c.bottom / 2), 1}, {InWindow(w, c.right - 3, c.bottom / 2), 5}};
}
// The enabled track past the thumb (at the start).
std::vector<FrameAt> TrackProbe(HWND w) {
  const RECT c = ClientOf(w);
  return {{InWindow(w, c.right - 40, c.bottom / 2), 1}};
}
std::vector<FrameAt> ThumbProbe(HWND w) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (!GetScrollBarInfo(w, OBJID_CLIENT, &info) || info.xyThumbBottom <= info.xyThumbTop) return {};
  return {{InWindow(w, info.xyThumbTop + 1, ClientOf(w).bottom / 2), 1}};
}
// The selected tab's frame 2 (when one is), the others' 1, inside their margins.
std::vector<FrameAt> TabsProbe(HWND w) {
  std::vector<FrameAt> at;
  const LRESULT selected = SendMessageW(w, TCM_GETCURSEL, 0, 0);
  for (const int i : {0, 1}) {
    RECT r{};
    if (SendMessageW(w, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)))
      at.push_back({InWindow(w, r.left + 1, (r.top + r.bottom) / 2), i == selected ? 2 : 1});
  }
  return at;
}
// The bar's frame 2 over the first two fifths, the background's 1 at the right.
std::vector<FrameAt> ProgressProbe(HWND w) {
  const RECT c = ClientOf(w);
  return {{InWindow(w, c.right / 5, c.bottom / 2), 2}, {InWindow(w, c.right - 5, c.bottom / 2), 1}};
}
std::vector<FrameAt> HeaderProbe(HWND w) {
  RECT r{};
  if (!SendMessageW(w, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r))) return {};
  return {{InWindow(w, r.right - 3, (r.top + r.bottom) / 2), 1}};
}
// The track-bar thumb shows frame 2.
std::vector<FrameAt> TrackThumbProbe(HWND w) {
  RECT t{};
  SendMessageW(w, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&t));
  return {{InWindow(w, (t.left + t.right) / 2, (t.top + t.bottom) / 2), 2}};
}

// Every element drawn from a fixed count of frames side by side, with the control showing it.
const StripCase kStripCases[] = {
    {"combo button", "Combo.bmp", kComboPicture, 4, 17, 21, MakeCombo, ComboButtonProbe, {1}},
    {"combo button without a sunken edge", "Combo.bmp", kComboPicture, 4, 17, 21, MakeCombo, ComboButtonProbe, {1},
     {"Sunk.bmp"}},
    {"combo button at the left without a sunken edge", "Combo.bmp", kComboPicture, 4, 17, 21, MakeLeftCombo,
     LeftComboButtonProbe, {1}, {"Sunk.bmp"}},
    {"combo's sunken edge", "Sunk.bmp", kSunkEdgePicture, 4, 10, 21, MakeCombo, SunkEdgeProbe, {1}},
    {"combo's arrow glyph", "Extra.bmp", kExtraPicture, 5, 7, 7, MakeCombo, nullptr, {1}, {}, true},
    {"size grip", "Extra.bmp", kExtraPicture, 5, 7, 7, MakeStatusBar, GripProbe, {5}, {}, true},
    {"up-down buttons", "UpDownV.bmp", kUpDownVertPicture, 8, 6, 6, MakeUpDown, UpDownProbe, {1, 5}},
    {"up-down buttons without their glyphs", "UpDownV.bmp", kUpDownVertPicture, 8, 6, 6, MakeUpDown, UpDownProbe,
     {1, 5}, {"UpDownVGlyph.bmp"}},
    {"scroll bar arrows", "Scroll.bmp", kScrollbarPicture, 23, 4, 4, MakeScrollBar, ArrowsProbe, {1, 5, 17}},
    {"scroll bar arrows without tracks and thumbs", "Scroll.bmp", kScrollbarPicture, 23, 4, 4, MakeScrollBar,
     ArrowsProbe, {1, 5, 17}, {"HScroll.bmp", "VScroll.bmp", "HThumb.bmp", "VThumb.bmp"}},
    {"scroll bar track", "HScroll.bmp", kHorzScrollPicture, 4, 8, 8, MakeScrollBar, TrackProbe, {1}},
    {"scroll bar thumb", "HThumb.bmp", kHorzThumbPicture, 2, 8, 8, MakeScrollBar, ThumbProbe, {1}},
    {"tabs", "Tabs.bmp", kTabsPicture, 5, 20, 20, MakeTabs, TabsProbe, {1, 2}},
    {"progress bar", "Progress.bmp", kProgressPicture, 2, 10, 10, MakeProgress, ProgressProbe, {1, 2}},
    {"header sections", "Header.bmp", kHeaderPicture, 5, 10, 10, MakeHeader, HeaderProbe, {1}},
    {"status panel", "Status.bmp", kStatusBarPicture, 3, 6, 6, MakeStatusBar, nullptr, {2}},
    {"status panel without the grip's picture", "Status.bmp", kStatusBarPicture, 3, 6, 6, MakeStatusBar, nullptr, {2},
     {"Extra.bmp"}},
    {"track-bar thumb", "ThumbH.bmp", kThumbHorzPicture, 5, 6, 6, MakeTrackBar, TrackThumbProbe, {2}},
};

// A picture with fewer columns than the element has frames (however tall) would give frames of
// no pixels: the element is drawn as under a skin without that picture, by the system, never
// left out; so is a glyph drawn at its own size (the grip, the combo's arrow) whose frames are
// narrower than the smallest glyph. From one column a frame up (for a glyph, from the smallest
// glyph) the skin's picture shows, cut into as many whole frames as fit: a picture a column short
// of, at, a column past and half the count past a whole count shows the frame where the control
// shows it, and no column of another frame or of what is left over past the frames; so under a
// skin lacking the element's other parts. A picture of one frame only shows it when that frame
// is at least as wide as the count.
TEST_F(NarrowPictureForms, AnElementWhosePictureIsNarrowerThanItsFramesIsDrawnAsWithoutThePicture) {
  constexpr int kTall = 32;  // taller than any count: the height must not pass for the width
  for (const StripCase& c : kStripCases) {
    SCOPED_TRACE(c.what);
    std::vector<const char*> lacking = c.lacking;
    lacking.push_back(c.file);
    const std::vector<COLORREF> without = ShownUnder(SkinWithout(lacking), c.make);
    ASSERT_FALSE(without.empty());
    struct Width {
      int frameWidth, width, height;
    };
    std::vector<Width> widths = {{1, 1, kTall}, {1, c.frames - 1, kTall}, {1, c.frames, kTall}, {1, c.frames + 1, kTall}};
    for (const int width : WidthsAbout(c.frames, c.frameWidth))
      widths.push_back({width / c.frames, width, c.frameHeight});
    widths.push_back({c.frameWidth, c.frameWidth, c.frameHeight});
    for (const Width& w : widths) {
      if (w.width < 1) continue;
      SCOPED_TRACE(std::to_string(w.width) + " x " + std::to_string(w.height));
      PackageSpec spec = SkinWithout(c.lacking);
      SetStrip(spec, c.file, c.id, c.frames, w.frameWidth, w.width, w.height);
      const Shown seen = ShownWith(spec, c.make, c.probe);
      const std::vector<COLORREF>& shown = seen.pixels;
      ASSERT_EQ(shown.size(), without.size());
      size_t differ = 0, ofPicture = 0;
      for (size_t i = 0; i < shown.size(); ++i) {
        differ += shown[i] != without[i];
        for (int f = 1; f <= c.frames; ++f) ofPicture += shown[i] == static_cast<COLORREF>(FrameColour(c.id, f));
      }
      if (w.width < c.frames ||
          (c.glyph && (w.width / c.frames < kSmallestGlyph || w.height < kSmallestGlyph))) {
        EXPECT_EQ(differ, 0u) << "not the look without the picture";
        continue;
      }
      EXPECT_GT(ofPicture, 0u) << "the picture does not show";
      // A picture of one frame: every frame a slice of it.
      if (w.width == w.frameWidth && w.frameWidth > 1) continue;
      EXPECT_FALSE(c.probe && seen.frames.empty()) << "nowhere to look";
      for (const FrameAt& f : seen.frames)
        EXPECT_EQ(seen.At(f.at), static_cast<COLORREF>(FrameColour(c.id, f.frame)))
            << "frame " << f.frame << " at " << f.at.x << "," << f.at.y;
      if (!c.shows.empty()) {
        EXPECT_EQ(OtherFramesIn(shown, c.id, c.frames, c.shows), 0u) << "pixels of frames not shown, or left over";
      }
    }
  }
}

// ---------------------------------------------------------------------------------------
// Glyph pieces of pictures of the wrong size

vcl::TWinControl* MakeCheck(vcl::TForm* f) {
  auto* c = Put<vcl::TCheckBox>(f, 10, 10, 150, 20);
  c->SetCaption(L"Check");
  c->SetChecked(true);
  return c;
}
vcl::TWinControl* MakeRadio(vcl::TForm* f) {
  auto* r = Put<vcl::TRadioButton>(f, 10, 10, 150, 20);
  r->SetCaption(L"Radio");
  r->SetChecked(true);
  return r;
}

// Turns a check box or radio button over.
void TurnOver(vcl::TWinControl* Control) {
  if (auto* c = dynamic_cast<vcl::TCheckBox*>(Control)) c->SetChecked(!c->Checked());
  if (auto* r = dynamic_cast<vcl::TRadioButton*>(Control)) r->SetChecked(!r->Checked());
}

struct GlyphCase {
  const char* what;
  const char* file;
  int id;
  int frames;         // the count the engine cuts the picture into
  const char* count;  // the description's line stating it, if any
  ControlMaker make;
  bool mark;  // a check box or radio button: its look must change with its state
};

// A piece drawn at its own size (a check or radio mark, the size grip, a combo's arrow) cut from a
// picture too small for it, narrower or lower than the smallest glyph (a picture a third of its
// height, a few columns, 8 x 8), is a missing piece: the control looks as under a skin without the
// picture, the system's mark or grip, and a check box or radio button still looks other when it
// is turned over. Frames of the smallest glyph (5 x 5) and up show the skin's frame, and turned
// over another one.
TEST_F(NarrowPictureForms, AGlyphPieceTooSmallForAGlyphIsTheSystemsAndMarksStillShowTheirState) {
  const GlyphCase cases[] = {
      {"check box", "Check.bmp", kCheckPicture, 12, "CheckButtonFrame=12", MakeCheck, true},
      {"radio button", "Radio.bmp", kRadioPicture, 8, "RadioButtonFrame=8", MakeRadio, true},
      {"size grip", "Extra.bmp", kExtraPicture, 5, nullptr, MakeStatusBar, false},
      {"combo's arrow", "Extra.bmp", kExtraPicture, 5, nullptr, MakeCombo, false},
  };
  struct Size {
    int frameWidth, width, height;
    bool fits;
  };
  for (const GlyphCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto skinWith = [&](const Size* size) {
      PackageSpec spec = CompleteSkinSpec();
      if (c.count) {
        auto ini = std::find_if(spec.entries.begin(), spec.entries.end(), [](auto& e) { return e.name == "Skin.INI"; });
        EXPECT_NE(ini, spec.entries.end());
        if (ini == spec.entries.end()) return spec;
        std::string text(ini->bytes.begin(), ini->bytes.end());
        const std::string buttons = "[Buttons]\r\n";
        text.replace(text.find(buttons), buttons.size(), buttons + c.count + "\r\n");
        ini->bytes.assign(text.begin(), text.end());
      }
      if (size) {
        SetStrip(spec, c.file, c.id, c.frames, size->frameWidth, size->width, size->height);
      } else {
        std::erase_if(spec.entries, [&](const auto& e) { return e.name == c.file; });
      }
      return spec;
    };
    // The look, and the look turned over, of the control under a skin.
    auto looks = [&](const PackageSpec& spec) {
      std::pair<std::vector<COLORREF>, std::vector<COLORREF>> seen;
      holder_.reset();
      FreeSkinManager();
      holder_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(spec)))));
      data_ = holder_->SkinData();
      EXPECT_TRUE(data_ && !data_->Empty());
      if (!data_ || data_->Empty()) return seen;
      Owned<vcl::TForm> form = NewForm();
      Put<vcl::TButton>(form.get(), 300, 230, 80, 24)->SetCaption(L"Focus");
      vcl::TWinControl* control = c.make(form.get());
      SetCursorPos(0, 0);
      EXPECT_TRUE(ShowSkinned(form.get()));
      SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      RepaintAll(form->Handle());
      seen.first = OnScreen(control->Handle());
      if (c.mark) {
        TurnOver(control);
        RepaintAll(form->Handle());
        seen.second = OnScreen(control->Handle());
      }
      return seen;
    };
    const auto without = looks(skinWith(nullptr));
    ASSERT_FALSE(without.first.empty());
    const int n = c.frames;
    const Size sizes[] = {
        {5, 5 * n, 5, true},       // the smallest glyph, exactly
        {7, 7 * n, 7, true},
        {4, 4 * n, 5, false},      // a column short
        {5, 5 * n, 4, false},      // a row short
        {4, 5 * n - 1, 7, false},  // a column short of a whole count of the smallest
        {7, 7 * n, 7 / 3, false},  // a third of its height
        {std::max(8 / n, 1), 8, 8, false},  // an 8 x 8 master
    };
    for (const Size& size : sizes) {
      SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
      const auto shown = looks(skinWith(&size));
      ASSERT_EQ(shown.first.size(), without.first.size());
      size_t ofPicture = 0;
      for (const COLORREF p : shown.first)
        for (int f = 1; f <= n; ++f) ofPicture += p == static_cast<COLORREF>(FrameColour(c.id, f));
      if (size.fits) {
        EXPECT_GT(ofPicture, 0u) << "the skin's frame does not show";
      } else {
        EXPECT_EQ(ofPicture, 0u) << "a sliver of the picture shows";
        EXPECT_TRUE(shown.first == without.first) << "not the look without the picture";
      }
      if (c.mark) {
        ASSERT_EQ(shown.second.size(), shown.first.size());
        size_t differ = 0;
        for (size_t i = 0; i < shown.first.size(); ++i) differ += shown.first[i] != shown.second[i];
        EXPECT_GE(differ, 6u) << "it looks the same turned over";
      }
    }
  }
}

// A window painted by its own WM_PAINT into a memory picture.
std::unique_ptr<vcl::TBitmap> PaintedWindow(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  auto b = Surface(r.right - r.left, r.bottom - r.top, vcl::clBlack);
  SendMessageW(w, WM_PAINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), 0);
  return b;
}

vcl::TWinControl* MakeDisabledCombo(vcl::TForm* f) {
  vcl::TWinControl* c = MakeCombo(f);
  c->SetEnabled(false);
  return c;
}
vcl::TWinControl* MakePicker(vcl::TForm* f) { return Put<vcl::TDateTimePicker>(f, 10, 10, 160, 24); }

// A combo box's and a date picker's drop-down button always shows an arrow, whether the skin
// draws the button as the description's composite (with a sunken edge) or alone (without one),
// at either end: the skin's glyph where it has one, else the system's arrow pointing down,
// centred on the button, in the skin's button text colour (its shadow colour on a disabled
// combo), never a blank face.
TEST_F(NarrowPictureForms, ADropDownButtonShowsAnArrowWithOrWithoutTheSkinsGlyph) {
  struct Case {
    const char* what;
    ControlMaker make;
    std::vector<const char*> lacking;
    bool leftEnd = false;
    bool disabled = false;
  };
  const Case cases[] = {
      {"combo, composite, with the glyph", MakeCombo, {}},
      {"combo, composite, without the glyph", MakeCombo, {"Extra.bmp"}},
      {"combo at the left, composite, without the glyph", MakeLeftCombo, {"Extra.bmp"}, true},
      {"disabled combo, composite, without the glyph", MakeDisabledCombo, {"Extra.bmp"}, false, true},
      {"combo, alone, with the glyph", MakeCombo, {"Sunk.bmp"}},
      {"combo, alone, without the glyph", MakeCombo, {"Sunk.bmp", "Extra.bmp"}},
      {"combo at the left, alone, without the glyph", MakeLeftCombo, {"Sunk.bmp", "Extra.bmp"}, true},
      {"disabled combo, alone, without the glyph", MakeDisabledCombo, {"Sunk.bmp", "Extra.bmp"}, false, true},
      {"date picker, composite, with the glyph", MakePicker, {}},
      {"date picker, composite, without the glyph", MakePicker, {"Extra.bmp"}},
      {"date picker, alone, with the glyph", MakePicker, {"Sunk.bmp"}},
      {"date picker, alone, without the glyph", MakePicker, {"Sunk.bmp", "Extra.bmp"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const bool glyph = std::find_if(c.lacking.begin(), c.lacking.end(),
                                    [](const char* f) { return std::string_view(f) == "Extra.bmp"; }) == c.lacking.end();
    const Shown seen = ShownWith(SkinWithout(c.lacking), c.make, nullptr);
    ASSERT_GT(seen.width, 0);
    const int width = seen.width, height = static_cast<int>(seen.pixels.size()) / width;
    const COLORREF ink = static_cast<COLORREF>(
        vcl::ColorToRGB(data_->Skin()->Color(c.disabled ? skin_classic::kColourButtonShadow : skin_classic::kColourButtonText)));
    // The button inside the control's border lines: the end the style puts it at.
    constexpr int kBorder = 4;
    const int side = GetSystemMetrics(SM_CXVSCROLL) + kBorder;
    const int left = c.leftEnd ? kBorder : width - side, right = c.leftEnd ? side : width - kBorder;
    int inks = 0, glyphs = 0, top = height, bottom = -1, minX = width, maxX = -1;
    for (int y = kBorder; y < height - kBorder; ++y)
      for (int x = left; x < right; ++x) {
        const COLORREF p = seen.At(POINT{x, y});
        for (int f = 1; f <= 5; ++f) glyphs += p == static_cast<COLORREF>(FrameColour(kExtraPicture, f));
        if (p != ink) continue;
        ++inks;
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
      }
    if (glyph) {
      EXPECT_GT(glyphs, 0) << "the skin's glyph does not show";
      EXPECT_EQ(inks, 0) << "the system's arrow over the skin's glyph";
      continue;
    }
    ASSERT_GT(inks, 2) << "no arrow";
    // Centred on the button (the composite's button reaches the control's edge, the others stand
    // inside its border: within a few pixels of the place looked at), pointing down: its widest
    // row at the top.
    EXPECT_NEAR((minX + maxX) / 2.0, (left + right) / 2.0, 4.0);
    EXPECT_NEAR((top + bottom) / 2.0, height / 2.0, 3.0);
    auto rowWidth = [&](int y) {
      int n = 0;
      for (int x = left; x < right; ++x) n += seen.At(POINT{x, y}) == ink;
      return n;
    };
    EXPECT_GT(rowWidth(top), rowWidth(bottom));
  }
}

// A skin's pictures a column short of a whole count of frames, of a whole count, a column past it
// and half the count past it: the combo's button and the up-down's halves show the frame of each
// state (normal, hot, pressed, disabled) at both sides of the frame, and no column of another
// frame or of what is left over past the frames.
TEST_F(NarrowPictureForms, PicturesAPixelOffAWholeCountOfFramesShowTheFrameOfEachState) {
  constexpr int kComboFrame = 17, kSpinFrame = 6;  // the complete skin's frame widths
  const wintest::PointerLock pointer;
  const std::vector<int> comboWidths = WidthsAbout(4, kComboFrame), spinWidths = WidthsAbout(8, kSpinFrame);
  for (size_t i = 0; i < comboWidths.size(); ++i) {
    const int comboWidth = comboWidths[i], spinWidth = spinWidths[i];
    SCOPED_TRACE("combo " + std::to_string(comboWidth) + ", up-down " + std::to_string(spinWidth) + " wide");
    PackageSpec spec = SkinWithStrip("Combo.bmp", kComboPicture, 4, comboWidth / 4, comboWidth, 21);
    SetStrip(spec, "UpDownV.bmp", kUpDownVertPicture, 8, spinWidth / 8, spinWidth, 6);
    holder_.reset();
    FreeSkinManager();
    holder_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(spec)))));
    data_ = holder_->SkinData();
    ASSERT_TRUE(data_ && !data_->Empty());
    Owned<vcl::TForm> form = NewForm();
    Put<vcl::TButton>(form.get(), 300, 230, 80, 24)->SetCaption(L"Focus");
    auto* combo = static_cast<vcl::TComboBox*>(MakeCombo(form.get()));
    auto* updown = Put<vcl::TUpDown>(form.get(), 200, 10, 17, 40);
    ASSERT_TRUE(wintest::MovePointer(0, 0));
    TWinSkinForm* skin = ShowSkinned(form.get());
    ASSERT_TRUE(skin);
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    // The combo's button: its second column and its third from the right, above the glyph.
    const HWND c = combo->Handle();
    const int button = std::clamp(GetSystemMetrics(SM_CXVSCROLL) + 2, 0, 50);
    auto comboShows = [&](int frame) {
      auto picture = PaintedWindow(c);
      const int w = picture->Width();
      const vcl::TColor want = C(FrameColour(kComboPicture, frame));
      EXPECT_EQ(Pixel(picture.get(), w - button + 1, 3), want) << "frame " << frame;
      EXPECT_EQ(Pixel(picture.get(), w - 3, 3), want) << "frame " << frame;
      std::vector<COLORREF> row;
      for (int x = 0; x < w; ++x) row.push_back(static_cast<COLORREF>(Pixel(picture.get(), x, 3)));
      EXPECT_EQ(OtherFramesIn(row, kComboPicture, 4, {frame}), 0u) << "frame " << frame;
    };
    comboShows(1);
    RECT cr{};
    GetWindowRect(c, &cr);
    ASSERT_TRUE(wintest::MovePointer(cr.right - button / 2, (cr.top + cr.bottom) / 2));
    SendMessageW(c, WM_MOUSEMOVE, 0, MAKELPARAM(cr.right - cr.left - button / 2, (cr.bottom - cr.top) / 2));
    comboShows(4);
    ASSERT_TRUE(wintest::MovePointer(0, 0));
    SendMessageW(c, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    comboShows(1);
    combo->SetEnabled(false);
    comboShows(3);

    // The up-down's halves, away from their glyphs: upper frames 1-4, lower 5-8.
    const HWND u = updown->Handle();
    RECT ur{};
    GetWindowRect(u, &ur);
    const int h = ur.bottom - ur.top;
    auto spinShows = [&](int upper, int lower) {
      auto picture = PaintedWindow(u);
      for (const int x : {1, picture->Width() - 2}) {
        EXPECT_EQ(Pixel(picture.get(), x, h / 4), C(FrameColour(kUpDownVertPicture, upper))) << "upper " << upper;
        EXPECT_EQ(Pixel(picture.get(), x, 3 * h / 4), C(FrameColour(kUpDownVertPicture, lower))) << "lower " << lower;
      }
      std::vector<COLORREF> rows;
      for (const int y : {h / 4, 3 * h / 4})
        for (int x = 0; x < picture->Width(); ++x) rows.push_back(static_cast<COLORREF>(Pixel(picture.get(), x, y)));
      EXPECT_EQ(OtherFramesIn(rows, kUpDownVertPicture, 8, {upper, lower}), 0u) << "frames " << upper << ", " << lower;
    };
    spinShows(1, 5);
    const POINT lowerHalf{(ur.right - ur.left) / 2, 3 * h / 4};
    const POINT onScreen{ur.left + lowerHalf.x, ur.top + lowerHalf.y};
    ASSERT_TRUE(wintest::MovePointer(onScreen.x, onScreen.y));
    SendMessageW(u, WM_MOUSEMOVE, 0, MAKELPARAM(lowerHalf.x, lowerHalf.y));
    spinShows(1, 8);  // hot
    SendMessageW(u, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(lowerHalf.x, lowerHalf.y));
    // The press takes the capture, for which Wine reports for a moment where the pointer was.
    ASSERT_TRUE(PumpUntil([&] { return wintest::PointerAt(onScreen.x, onScreen.y); }));
    spinShows(1, 6);  // pressed
    SendMessageW(u, WM_LBUTTONUP, 0, MAKELPARAM(lowerHalf.x, lowerHalf.y));
    ASSERT_TRUE(wintest::MovePointer(0, 0));
    updown->SetEnabled(false);
    spinShows(3, 7);
  }
}

// A flat combo button (style 1, no sunken edge) is one frame of its picture wide: a picture a
// column short of, at, a column past or half the count past a whole count of frames is cut into
// whole frames, so the button shows one frame from its left column to its right one, normal and
// disabled, and nothing of the next frame or of what is left over.
TEST_F(NarrowPictureForms, AFlatComboButtonIsOneFrameWideAColumnOffAWholeCount) {
  for (const int width : WidthsAbout(4, 17)) {
    SCOPED_TRACE(width);
    const int frameWidth = width / 4;
    PackageSpec spec = SkinWithout({"Sunk.bmp"});
    SetStrip(spec, "Combo.bmp", kComboPicture, 4, frameWidth, width, 21);
    auto ini =
        std::find_if(spec.entries.begin(), spec.entries.end(), [](const auto& e) { return e.name == "Skin.INI"; });
    ASSERT_NE(ini, spec.entries.end());
    std::string text(ini->bytes.begin(), ini->bytes.end());
    const std::string section = "[ComboButton]\r\nImage=Combo.bmp\r\nTrans=1\r\n";
    ASSERT_NE(text.find(section), std::string::npos);
    text.replace(text.find(section), section.size(), section + "Style=1\r\n");
    ini->bytes.assign(text.begin(), text.end());
    holder_.reset();
    FreeSkinManager();
    holder_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(spec)))));
    data_ = holder_->SkinData();
    ASSERT_TRUE(data_ && !data_->Empty());
    Owned<vcl::TForm> form = NewForm();
    Put<vcl::TButton>(form.get(), 300, 230, 80, 24)->SetCaption(L"Focus");
    auto* combo = static_cast<vcl::TComboBox*>(MakeCombo(form.get()));
    SetCursorPos(0, 0);
    ASSERT_TRUE(ShowSkinned(form.get()));
    // The button lies inside the two-pixel ring at the right.
    auto buttonShows = [&](int frame) {
      auto picture = PaintedWindow(combo->Handle());
      const int w = picture->Width();
      const vcl::TColor want = C(FrameColour(kComboPicture, frame));
      EXPECT_EQ(Pixel(picture.get(), w - 2 - frameWidth, 5), want) << "frame " << frame << ", left column";
      EXPECT_EQ(Pixel(picture.get(), w - 3, 5), want) << "frame " << frame << ", right column";
      EXPECT_NE(Pixel(picture.get(), w - 3 - frameWidth, 5), want) << "frame " << frame << ", left of the button";
      std::vector<COLORREF> row;
      for (int x = 0; x < w; ++x) row.push_back(static_cast<COLORREF>(Pixel(picture.get(), x, 5)));
      EXPECT_EQ(OtherFramesIn(row, kComboPicture, 4, {frame}), 0u) << "frame " << frame;
    };
    buttonShows(1);
    combo->SetEnabled(false);
    buttonShows(3);
  }
}

// A skin without the title's picture leaves the window's frame to the system: its caption,
// buttons and menu bar; the controls are still skinned. A switch to such a skin gives the
// window the system's frame, and a switch back the skin's.
TEST_F(MappedForms, WithoutTheTitlesPictureTheFrameIsTheSystems) {
  holder_.reset();
  FreeSkinManager();
  holder_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(SkinWithout({"Top.bmp"}))))));
  data_ = holder_->SkinData();
  Owned<vcl::TForm> form = NewForm();
  auto* button = Put<vcl::TButton>(form.get(), 10, 10, 80, 24);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  EXPECT_FALSE(skin->SkinFrame);
  EXPECT_EQ(SkinnerClass(skin, button), L"TSkinButton");
  const LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  RECT window{};
  GetWindowRect(form->Handle(), &window);
  POINT origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  EXPECT_GE(origin.y - window.top, GetSystemMetrics(SM_CYCAPTION));  // the system's title

  // The complete skin, as a skin switch brings it.
  Fill(*data_->SkinStream(), BuildPackage(CompleteSkinSpec()));
  ASSERT_TRUE(data_->LoadSkin());
  SkinManager()->SetRequestSkinData(data_);
  SkinManager()->RefreshSkinObjects(data_);
  SkinManager()->SetActiveMode(TSkinMode::Refresh, 1);
  ASSERT_TRUE(PumpUntil([&] { return Ready(form->Handle()) && Find(form->Handle())->SkinFrame; }));
  EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_MINIMIZEBOX);  // the skin's buttons now
  EXPECT_EQ(SkinnerClass(Find(form->Handle()), button), L"TSkinButton");

  // And back to a skin without it.
  Fill(*data_->SkinStream(), BuildPackage(SkinWithout({"Top.bmp"})));
  ASSERT_TRUE(data_->LoadSkin());
  SkinManager()->SetRequestSkinData(data_);
  SkinManager()->SetActiveMode(TSkinMode::Refresh, 1);
  ASSERT_TRUE(PumpUntil([&] { return Ready(form->Handle()) && !Find(form->Handle())->SkinFrame; }));
  EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_MINIMIZEBOX);
}

// What the screen shows at a point of a window (window coordinates).
COLORREF ScreenPixel(HWND w, int x, int y) {
  RECT r{};
  GetWindowRect(w, &r);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, r.left + x, r.top + y);
  ReleaseDC(nullptr, screen);
  return c;
}

// The skin data given Spec's package and applied as a live skin switch applies it; true once
// the form is skinned again, repainted.
bool SwitchLive(TSkinData* Data, const PackageSpec& Spec, HWND Form) {
  Fill(*Data->SkinStream(), BuildPackage(Spec));
  if (!Data->LoadSkin()) return false;
  SkinManager()->SetRequestSkinData(Data);
  SkinManager()->RefreshSkinObjects(Data);
  SkinManager()->SetActiveMode(TSkinMode::Refresh, 1);
  if (!PumpUntil([&] { return SkinManager()->RequestSkinData() == nullptr && Ready(Form); })) return false;
  RepaintAll(Form);
  return true;
}

// Check boxes and radio buttons follow a skin switch both ways: a skin that brings the mark
// pictures the first one lacked has them painted whole (face, mark and caption) by the skin,
// as on a form skinned with it from the start; a skin without them leaves them to the system.
TEST_F(MappedForms, MarkButtonsFollowASwitchToASkinWithOrWithoutTheirPictures) {
  holder_.reset();
  FreeSkinManager();
  holder_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(SkinWithout({"Check.bmp", "Radio.bmp"}))))));
  data_ = holder_->SkinData();
  Owned<vcl::TForm> form = NewForm();
  // Their own colour tells the system's painting from the skin's face.
  auto* check = Put<vcl::TCheckBox>(form.get(), 10, 10, 150, 20);
  check->SetCaption(L"Check");
  check->SetChecked(true);
  check->SetColor(vcl::clRed);
  auto* radio = Put<vcl::TRadioButton>(form.get(), 10, 40, 150, 20);
  radio->SetCaption(L"Radio");
  radio->SetColor(vcl::clRed);
  SetCursorPos(0, 0);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  const COLORREF red = RGB(255, 0, 0), face = RGB(200, 201, 202);
  // Away from the mark and the caption: the background.
  auto background = [&](vcl::TWinControl* c) { return ScreenPixel(c->Handle(), 145, 10); };
  auto mark = [&](vcl::TWinControl* c) { return ScreenPixel(c->Handle(), 3, 10); };
  RepaintAll(form->Handle());
  EXPECT_EQ(background(check), red);
  EXPECT_EQ(background(radio), red);

  ASSERT_TRUE(SwitchLive(data_, CompleteSkinSpec(), form->Handle()));
  EXPECT_EQ(background(check), face);
  EXPECT_EQ(background(radio), face);
  // The checked mark's frame of the check-box picture; the radio picture's first frame.
  EXPECT_EQ(mark(check), static_cast<COLORREF>(FrameColour(kCheckPicture, 2)));
  EXPECT_EQ(mark(radio), static_cast<COLORREF>(FrameColour(kRadioPicture, 1)));

  ASSERT_TRUE(SwitchLive(data_, SkinWithout({"Check.bmp", "Radio.bmp"}), form->Handle()));
  EXPECT_EQ(background(check), red);
  EXPECT_EQ(background(radio), red);
}

// A memo's vertical and horizontal bars and a list box's bar follow a live switch to a skin
// without the scroll bar pictures (the system's bar shows, not a frozen panel of the old skin)
// and back to one with them (the skin's panel covers the bar again).
TEST_F(MappedForms, ScrollBarsFollowASwitchToASkinWithOrWithoutTheirPictures) {
  Owned<vcl::TForm> form = NewForm();
  auto* memo = Put<vcl::TMemo>(form.get(), 10, 10, 200, 120);
  memo->SetScrollBars(vcl::ssBoth);
  memo->SetWordWrap(false);
  for (int i = 0; i < 40; ++i) memo->Lines()->Add(L"Line " + std::to_wstring(i) + std::wstring(60, L'x'));
  auto* list = Put<vcl::TListBox>(form.get(), 220, 10, 120, 120);
  for (int i = 0; i < 40; ++i) list->Items()->Add(L"Item " + std::to_wstring(i));
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  const struct Bar {
    const char* name;
    vcl::TWinControl* control;
    LONG object;
  } bars[] = {{"the memo's vertical bar", memo, OBJID_VSCROLL},
              {"the memo's horizontal bar", memo, OBJID_HSCROLL},
              {"the list box's bar", list, OBJID_VSCROLL}};
  for (const Bar& bar : bars) ASSERT_EQ(SkinnerClass(skin, bar.control), L"TSkinScrollbar") << bar.name;
  // The window the screen shows in the middle of a bar, and the skinner's panel over it.
  auto atBar = [&](const Bar& bar) {
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    EXPECT_TRUE(GetScrollBarInfo(bar.control->Handle(), bar.object, &sbi)) << bar.name;
    return WindowFromPoint(POINT{(sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2,
                                 (sbi.rcScrollBar.top + sbi.rcScrollBar.bottom) / 2});
  };
  auto panel = [&](const Bar& bar) -> HWND {
    auto* s = dynamic_cast<TSkinScrollbar*>(SkinnersOf(Find(form->Handle()), bar.control).front());
    TWScrollbar* p = !s ? nullptr : bar.object == OBJID_VSCROLL ? s->VertBar() : s->HorzBar();
    return p ? p->Handle() : nullptr;
  };
  auto skinned = [&](const char* when) {
    for (const Bar& bar : bars) {
      ASSERT_TRUE(panel(bar)) << bar.name << " " << when;
      EXPECT_EQ(atBar(bar), panel(bar)) << bar.name << " " << when;
    }
  };
  RepaintAll(form->Handle());
  skinned("at first");

  ASSERT_TRUE(SwitchLive(data_, SkinWithout({"Scroll.bmp"}), form->Handle()));
  for (const Bar& bar : bars) EXPECT_EQ(atBar(bar), bar.control->Handle()) << bar.name;
  SendMessageW(memo->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  SendMessageW(memo->Handle(), WM_HSCROLL, SB_PAGERIGHT, 0);
  SendMessageW(list->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  PumpUntilIdle();
  for (const Bar& bar : bars) EXPECT_EQ(atBar(bar), bar.control->Handle()) << bar.name << " scrolled";

  ASSERT_TRUE(SwitchLive(data_, CompleteSkinSpec(), form->Handle()));
  skinned("after the switch back");
  SetWindowPos(form->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// A list box gets the skinned bar whenever its items come to need one: filled after the form
// was skinned as well as before, its panel gone again once it is emptied and back when it is
// filled anew; under a skin without the bar's picture the system's own bar shows instead.
TEST_F(MappedForms, AListBoxsBarIsSkinnedWheneverItsItemsNeedOne) {
  Owned<vcl::TForm> form = NewForm();
  auto* late = Put<vcl::TListBox>(form.get(), 10, 10, 120, 120);
  auto* early = Put<vcl::TListBox>(form.get(), 150, 10, 120, 120);
  auto fill = [](vcl::TListBox* list) {
    for (int i = 0; i < 40; ++i) list->Items()->Add(L"Item " + std::to_wstring(i));
    PumpUntilIdle();
  };
  fill(early);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  const struct List {
    const char* name;
    vcl::TListBox* list;
  } lists[] = {{"filled after skinning", late}, {"filled before skinning", early}};
  auto hasBar = [](const List& l) { return (GetWindowLongPtrW(l.list->Handle(), GWL_STYLE) & WS_VSCROLL) != 0; };
  auto atBar = [](const List& l) {
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    EXPECT_TRUE(GetScrollBarInfo(l.list->Handle(), OBJID_VSCROLL, &sbi)) << l.name;
    return WindowFromPoint(POINT{(sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2,
                                 (sbi.rcScrollBar.top + sbi.rcScrollBar.bottom) / 2});
  };
  auto panel = [&](const List& l) -> HWND {
    const std::vector<TSkinControl*> s = SkinnersOf(Find(form->Handle()), l.list);
    auto* bars = s.empty() ? nullptr : dynamic_cast<TSkinScrollbar*>(s.front());
    return bars && bars->VertBar() ? bars->VertBar()->Handle() : nullptr;
  };
  EXPECT_FALSE(hasBar(lists[0]));
  EXPECT_TRUE(hasBar(lists[1]));
  auto skinned = [&](const char* when) {
    for (const List& l : lists) {
      ASSERT_TRUE(hasBar(l)) << l.name << " " << when;
      ASSERT_TRUE(panel(l)) << l.name << " " << when;
      EXPECT_EQ(atBar(l), panel(l)) << l.name << " " << when;
    }
  };
  auto bare = [&](const char* when) {
    for (const List& l : lists) {
      EXPECT_FALSE(hasBar(l)) << l.name << " " << when;
      if (HWND p = panel(l)) {
        EXPECT_FALSE(IsWindowVisible(p)) << l.name << " " << when;
      }
    }
  };
  RepaintAll(form->Handle());
  fill(late);
  skinned("once filled");

  for (const List& l : lists) l.list->Items()->Clear();
  PumpUntilIdle();
  bare("emptied");
  for (const List& l : lists) fill(l.list);
  skinned("filled again");

  // Without the bar's picture the panels step aside for the system's bars, filled or not.
  ASSERT_TRUE(SwitchLive(data_, SkinWithout({"Scroll.bmp"}), form->Handle()));
  for (const List& l : lists) l.list->Items()->Clear();
  PumpUntilIdle();
  bare("emptied under a skin without the bar's picture");
  for (const List& l : lists) fill(l.list);
  for (const List& l : lists) {
    ASSERT_TRUE(hasBar(l)) << l.name;
    EXPECT_EQ(atBar(l), l.list->Handle()) << l.name << " under a skin without the bar's picture";
  }
  SetWindowPos(form->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// A real click (through the system's input) at a screen point, once the system reports the
// pointer there: a press sent at once after the move may take the point the pointer left.
bool ClickAt(POINT at) {
  if (!wintest::MovePointer(at.x, at.y)) return false;
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  return SendInput(2, input, sizeof(INPUT)) == 2;
}

// How light a colour is (its three parts added).
int Lightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

// A media player under a skin without the buttons picture keeps the system's button faces, as
// the player draws them itself: raised, light on the left and dark on the right of each
// button, sunken while pressed; not a flat strip of the face colour with glyphs on it.
TEST_F(MappedForms, AMediaPlayerKeepsTheSystemsButtonFacesWhenTheSkinLacksTheButtonsPicture) {
  holder_.reset();
  FreeSkinManager();
  holder_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(SkinWithout({"Buttons.bmp"}))))));
  data_ = holder_->SkinData();
  ASSERT_TRUE(data_ && !data_->Empty());
  Owned<vcl::TForm> form = NewForm();
  auto* player = Put<vcl::TMediaPlayer>(form.get(), 10, 10, 240, 30);
  player->SetVisibleButtons({vcl::TMPBtnType::btPlay, vcl::TMPBtnType::btPause, vcl::TMPBtnType::btStop});
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  ASSERT_EQ(SkinnerClass(skin, player), L"TSkinMP");
  auto* skinner = dynamic_cast<TSkinMP*>(SkinnersOf(skin, player).front());
  ASSERT_TRUE(skinner && skinner->Panel());
  const HWND panel = skinner->Panel()->Handle();
  auto painted = [&] {
    auto picture = Surface(240, 30, vcl::clBlack);
    SendMessageW(panel, WM_PAINT, reinterpret_cast<WPARAM>(picture->Canvas()->Handle()), 0);
    return picture;
  };
  auto at = [](vcl::TBitmap* b, int x, int y) { return GetPixel(b->Canvas()->Handle(), x, y); };

  auto picture = painted();
  for (int b = 0; b < 3; ++b) {
    SCOPED_TRACE(b);
    const int left = b * 80, right = left + 79;
    const COLORREF face = at(picture.get(), left + 6, 4);
    EXPECT_NE(at(picture.get(), left, 15), face);
    EXPECT_NE(at(picture.get(), right, 15), face);
    EXPECT_GT(Lightness(at(picture.get(), left, 15)), Lightness(at(picture.get(), right, 15)));
    EXPECT_GT(Lightness(at(picture.get(), left + 20, 0)), Lightness(at(picture.get(), left + 20, 29)));
  }

  // Pressed, the first button's top left goes dark; the others stay raised.
  const COLORREF raisedTopLeft = at(picture.get(), 0, 0);
  SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 15));
  ASSERT_EQ(skinner->Panel()->PressedButton(), 0);
  picture = painted();
  EXPECT_LT(Lightness(at(picture.get(), 0, 0)), Lightness(raisedTopLeft));
  EXPECT_EQ(at(picture.get(), 80, 0), raisedTopLeft);
  SendMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(40, 15));
  picture = painted();
  EXPECT_EQ(at(picture.get(), 0, 0), raisedTopLeft);
}

// A click on the skin's arrow opens the picker's calendar, as a click on its button does without
// the skin.
TEST_F(MappedForms, TheDatePickersButtonUnderTheSkinsArrowOpensTheCalendar) {
  Owned<vcl::TForm> form = NewForm();
  auto* picker = Put<vcl::TDateTimePicker>(form.get(), 20, 20, 160, 24);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  // Nothing of another test's windows between the mouse and the picker.
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form->Handle());
  ASSERT_EQ(SkinnerClass(skin, picker), L"TSkinDateTime");
  auto* skinner = dynamic_cast<TSkinDateTime*>(SkinnersOf(skin, picker).front());
  ASSERT_TRUE(skinner && skinner->Arrow());
  TArrowButton* arrow = skinner->Arrow();
  ASSERT_TRUE(arrow->Visible());
  RECT r{};
  GetWindowRect(arrow->Handle(), &r);
  PumpUntilIdle();
  const wintest::PointerLock pointer;
  ASSERT_TRUE(ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2})) << "the pointer did not reach the arrow";
  auto calendar = [&] { return reinterpret_cast<HWND>(SendMessageW(picker->Handle(), DTM_GETMONTHCAL, 0, 0)); };
  EXPECT_TRUE(PumpUntil([&] { return calendar() && IsWindowVisible(calendar()); }));
  PumpUntilIdle();
  EXPECT_TRUE(calendar() && IsWindowVisible(calendar()));  // and it stays open
  SendMessageW(picker->Handle(), DTM_CLOSEMONTHCAL, 0, 0);
  keybd_event(VK_ESCAPE, 0, 0, 0);
  keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
  PumpUntilIdle();
  SetWindowPos(form->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// What a button's click handler sees of the button: the look any repaint shows meanwhile (say
// behind the dialog the click opens).
struct ClickLook {
  vcl::TButton* button = nullptr;
  int clicks = 0;
  COLORREF corner = 0;
  void Click(vcl::TObject*) {
    ++clicks;
    RECT r{};
    GetWindowRect(button->Handle(), &r);
    auto picture = Surface(r.right - r.left, r.bottom - r.top, vcl::clBlack);
    SendMessageW(button->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(picture->Canvas()->Handle()), 0);
    corner = GetPixel(picture->Canvas()->Handle(), 1, 1);
  }
};

// The space key presses a button while it is down; released, the button is no longer shown
// pressed when it clicks, as with the mouse.
TEST_F(MappedForms, AButtonClickedWithTheSpaceKeyNoLongerLooksPressedWhenItClicks) {
  Owned<vcl::TForm> form = NewForm();
  auto* button = Put<vcl::TButton>(form.get(), 20, 20, 90, 26);
  button->SetCaption(L"Open");
  ClickLook look{button};
  button->OnClick = vcl::TNotifyEvent::Bind<&ClickLook::Click>(&look);
  SetCursorPos(0, 0);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  ASSERT_EQ(SkinnerClass(skin, button), L"TSkinButton");
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form->Handle());
  button->SetFocus();
  PumpUntilIdle();
  ASSERT_EQ(GetFocus(), button->Handle());

  keybd_event(VK_SPACE, 0, 0, 0);
  PumpUntilIdle();
  auto picture = Surface(90, 26, vcl::clBlack);
  SendMessageW(button->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(picture->Canvas()->Handle()), 0);
  EXPECT_EQ(GetPixel(picture->Canvas()->Handle(), 1, 1), static_cast<COLORREF>(FrameColour(kButtonsPicture, 2)));
  keybd_event(VK_SPACE, 0, KEYEVENTF_KEYUP, 0);
  ASSERT_TRUE(PumpUntil([&] { return look.clicks == 1; }));
  // Focused: frame 5 of the button picture.
  EXPECT_EQ(look.corner, static_cast<COLORREF>(FrameColour(kButtonsPicture, 5)));
  PumpUntilIdle();
  SetWindowPos(form->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// ---------------------------------------------------------------------------------------
// Alt and a letter, typed

// The bar item whose menu loop a timer inside the loop saw open (and ended).
struct BarLoopWatch {
  TFormFrame* form = nullptr;
  int opened = -1;
};
BarLoopWatch g_barWatch;

void CALLBACK WatchBarLoop(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_barWatch.form || MenuTracking().Form != g_barWatch.form) return;
  g_barWatch.opened = MenuTracking().OpenIndex;
  EndMenu();
}

// The library's message loop handles what arrives until Done answers true or the deadline passes.
bool RunLibraryLoopUntil(const std::function<bool()>& Done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(8);
  for (;;) {
    vcl::Application->ProcessMessages();
    if (Done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// Alt and Letter typed on the keyboard: the item of Form's skinned bar whose menu opened (-1:
// none within the deadline).
int BarItemOpenedByAlt(TFormFrame* Form, BYTE Letter) {
  g_barWatch = {Form, -1};
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &WatchBarLoop);
  keybd_event(VK_MENU, 0, 0, 0);
  keybd_event(Letter, 0, 0, 0);
  keybd_event(Letter, 0, KEYEVENTF_KEYUP, 0);
  keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
  RunLibraryLoopUntil([] { return g_barWatch.opened >= 0; });
  KillTimer(nullptr, timer);
  // The keys let go of, and nothing of them left waiting.
  RunLibraryLoopUntil([] { return !(GetAsyncKeyState(VK_MENU) & 0x8000) && QueueEmpty(); });
  g_barWatch.form = nullptr;
  return g_barWatch.opened;
}

bool FocusOn(vcl::TWinControl* Control) {
  Control->SetFocus();
  return RunLibraryLoopUntil([Control] { return GetFocus() == Control->Handle(); });
}

// Alt and a letter open the skinned bar's item with that accelerator whichever control has the
// focus: one that takes no characters (a button, a check box) and one that does (an edit, a memo,
// a list view, a page control).
TEST_F(MappedForms, AltAndALetterOpenTheBarItemFromEveryKindOfFocusedControl) {
  Owned<vcl::TForm> form = NewForm();
  const AllKinds kinds = FillAllKinds(form.get());
  auto* menu = new vcl::TMainMenu(form.get());
  for (const wchar_t* caption : {L"&File", L"&View"}) {
    auto* item = new vcl::TMenuItem(menu);
    item->SetCaption(caption);
    auto* sub = new vcl::TMenuItem(menu);
    sub->SetCaption(L"&Item");
    item->Add(sub);
    menu->Items()->Add(item);
  }
  form->SetMenu(menu);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form->Handle());
  for (const wchar_t* name : {L"Button", L"CheckBox", L"Edit", L"Memo", L"ListView", L"PageControl"}) {
    SCOPED_TRACE(std::string(name, name + wcslen(name)));
    auto* control = dynamic_cast<vcl::TWinControl*>(kinds[name]);
    ASSERT_TRUE(control);
    ASSERT_TRUE(FocusOn(control));
    EXPECT_EQ(BarItemOpenedByAlt(skin, 'V'), 1);
  }
  SetWindowPos(form->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// In an MDI document the letter goes on to the frame's bar: Alt+W from the document's memo opens
// the frame's Window menu, and Alt+D the document's own menu merged into the frame's bar.
TEST_F(MappedForms, AltWInAnMdiDocumentOpensTheFramesWindowMenu) {
  ASSERT_FALSE(vcl::Application->MainForm());
  Owned<TMdiFrameForm> frame(vcl::Application->CreateForm<TMdiFrameForm>());
  ASSERT_EQ(vcl::Application->MainForm(), frame.get());
  frame->SetBounds(40, 40, 600, 420);
  auto* menu = new vcl::TMainMenu(frame.get());
  auto addItem = [](vcl::TMainMenu* To, const wchar_t* Caption, uint8_t Group) {
    auto* item = new vcl::TMenuItem(To);
    item->SetCaption(Caption);
    item->SetGroupIndex(Group);
    auto* sub = new vcl::TMenuItem(To);
    sub->SetCaption(L"&Cascade");
    item->Add(sub);
    To->Items()->Add(item);
  };
  addItem(menu, L"&File", 0);
  addItem(menu, L"&Window", 2);
  frame->SetMenu(menu);
  TWinSkinForm* skin = ShowSkinned(frame.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  Owned<vcl::TForm> document(new vcl::TForm(vcl::Application, 0));
  document->SetFormStyle(vcl::fsMDIChild);
  document->SetCaption(L"Document");
  auto* own = new vcl::TMainMenu(document.get());
  addItem(own, L"&Document", 1);
  document->SetMenu(own);
  auto* memo = Put<vcl::TMemo>(document.get(), 0, 0, 200, 100);
  document->Show();
  ASSERT_TRUE(PumpUntil([&] { return Ready(document->Handle()); }));
  SetWindowPos(frame->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(frame->Handle());
  ASSERT_TRUE(FocusOn(memo));
  EXPECT_EQ(BarItemOpenedByAlt(skin, 'W'), 2);
  EXPECT_EQ(BarItemOpenedByAlt(skin, 'D'), 1);
  SetWindowPos(frame->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  document.reset();
}

}  // namespace
}  // namespace winskin::test
