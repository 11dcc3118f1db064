#include "tools/skinmaker/SamplePictures.h"

#include <functional>

namespace skinmaker {
namespace {

// ---------------------------------------------------------------------------------------
// The palette

constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kFace = MakeRgb(236, 240, 246);
constexpr Rgb kText = MakeRgb(24, 36, 58);
constexpr Rgb kLine = MakeRgb(128, 150, 186);
constexpr Rgb kDarkLine = MakeRgb(86, 106, 140);
constexpr Rgb kAccent = MakeRgb(52, 112, 204);
constexpr Rgb kAccentDark = MakeRgb(30, 76, 156);
constexpr Rgb kDisabled = MakeRgb(170, 180, 196);

// The frame, active and inactive.
struct FrameColours {
  Rgb titleTop, titleBottom, gloss, outline, body, inner;
};
constexpr FrameColours kActive{MakeRgb(98, 150, 226), MakeRgb(38, 92, 178), MakeRgb(158, 196, 244),
                               MakeRgb(20, 50, 106), MakeRgb(52, 102, 184), MakeRgb(28, 66, 132)};
constexpr FrameColours kInactive{MakeRgb(182, 196, 216), MakeRgb(146, 162, 188), MakeRgb(210, 220, 234),
                                 MakeRgb(104, 116, 138), MakeRgb(156, 170, 194), MakeRgb(124, 138, 162)};

// Measures the description states (Personality and the caption buttons).
constexpr int kFrameWidth = 64, kFrameHeight = 80;  // the drawn window the borders are cut from
constexpr int kTitle = 30;                          // title band (TopHeight)
constexpr int kSide = 4;                            // left and right borders
constexpr int kBottom = 4;
constexpr int kCorner = 7;                          // radius of the rounded top corners

// One drawn window: a gradient title with a gloss line, rounded top corners, a dark outline
// and an inner line round the client area.
Pixmap DrawnWindow(const FrameColours& c) {
  Pixmap w(kFrameWidth, kFrameHeight, c.body);
  w.Gradient(0, 0, kFrameWidth, kTitle, c.titleTop, c.titleBottom);
  w.HLine(0, 1, kFrameWidth, c.gloss);
  w.Frame(kSide - 1, kTitle - 1, kFrameWidth - 2 * kSide + 2, kFrameHeight - kTitle - kBottom + 2, c.inner);
  w.RoundCorners(0, 0, kFrameWidth, kFrameHeight, kCorner, true, false);
  w.Outline(0, 0, kFrameWidth, kFrameHeight, c.outline);
  return w;
}

// The four borders, each with the active frame first.
struct Borders {
  Pixmap left, right, top, bottom;
};
Borders FrameBorders() {
  const Pixmap a = DrawnWindow(kActive), i = DrawnWindow(kInactive);
  auto cut = [&](int x, int y, int w, int h) { return std::vector<Pixmap>{a.Crop(x, y, w, h), i.Crop(x, y, w, h)}; };
  const int inner = kFrameWidth - 2 * kSide;
  return {SideBySide(cut(0, 0, kSide, kFrameHeight)), SideBySide(cut(kFrameWidth - kSide, 0, kSide, kFrameHeight)),
          Stacked(cut(kSide, 0, inner, kTitle)), Stacked(cut(kSide, kFrameHeight - kBottom, inner, kBottom))};
}

// ---------------------------------------------------------------------------------------
// Faces: rounded, graded rectangles with an outline and a light inner line

struct Face {
  Rgb top, bottom, outline, inner = kKey;
};

Pixmap FacePicture(int w, int h, int r, const Face& f) {
  Pixmap p(w, h);
  p.Gradient(0, 0, w, h, f.top, f.bottom);
  p.RoundCorners(0, 0, w, h, r);
  // The outline and, one pixel inside it, the inner line, found on a mask of the shape.
  constexpr Rgb kIn = 1, kEdge = 2, kRing = 3;
  Pixmap mask(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (p.At(x, y) != kKey) mask.Set(x, y, kIn);
  mask.Outline(0, 0, w, h, kEdge);
  Pixmap inside = mask;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (inside.At(x, y) == kEdge) inside.Set(x, y, kKey);
  inside.Outline(0, 0, w, h, kRing);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (mask.At(x, y) == kEdge) p.Set(x, y, f.outline);
      if (inside.At(x, y) == kRing && f.inner != kKey) p.Set(x, y, f.inner);
    }
  return p;
}

// The states of push-button-like faces.
const Face kButtonNormal{MakeRgb(253, 254, 255), MakeRgb(222, 230, 242), kLine, kWhite};
const Face kButtonPressed{MakeRgb(196, 212, 236), MakeRgb(222, 232, 246), MakeRgb(58, 98, 168)};
const Face kButtonDisabled{MakeRgb(244, 246, 249), MakeRgb(236, 239, 244), MakeRgb(196, 204, 216)};
const Face kButtonHot{MakeRgb(255, 255, 255), MakeRgb(208, 226, 252), MakeRgb(70, 130, 214), kWhite};
const Face kButtonFocused{MakeRgb(253, 254, 255), MakeRgb(222, 230, 242), kAccent, MakeRgb(150, 186, 238)};

// Five frames: normal, pressed, disabled, hot, focused.
Pixmap ButtonFrames(int w, int h, int r) {
  return SideBySide({FacePicture(w, h, r, kButtonNormal), FacePicture(w, h, r, kButtonPressed),
                     FacePicture(w, h, r, kButtonDisabled), FacePicture(w, h, r, kButtonHot),
                     FacePicture(w, h, r, kButtonFocused)});
}

// ---------------------------------------------------------------------------------------
// Glyphs

using Rows = std::initializer_list<const char*>;
const Rows kCloseGlyph{"##....##", "###..###", ".######.", "..####..", "..####..", ".######.", "###..###",
                       "##....##"};
const Rows kMaxGlyph{"##########", "##########", "#........#", "#........#", "#........#", "#........#",
                     "#........#", "##########"};
const Rows kRestoreGlyph{"..########", "..########", "..#......#", "########.#", "########.#", "#......###",
                         "#......#..", "#......#..", "########.."};
const Rows kMinGlyph{"########", "########"};
const Rows kHelpGlyph{".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##.."};
const Rows kDownArrow{"#######", ".#####.", "..###..", "...#..."};
const Rows kUpArrow{"...#...", "..###..", ".#####.", "#######"};
const Rows kLeftArrow{"...#", "..##", ".###", "####", ".###", "..##", "...#"};
const Rows kRightArrow{"#...", "##..", "###.", "####", "###.", "##..", "#..."};
const Rows kCheckMark{"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."};
const Rows kMixedMark{"#####", "#####", "#####", "#####", "#####"};
const Rows kGrip{"..........#", ".........##", "...........", ".......#.#.", "......##.##", "...........",
                 "....#.#.#.#", "...##.##.##"};

// ---------------------------------------------------------------------------------------
// Caption buttons: normal, pressed, hot, inactive

constexpr int kCaptionW = 25, kCaptionH = 19;

Pixmap CaptionButton(const Rows& glyph, bool close) {
  const Face normal{MakeRgb(128, 172, 236), MakeRgb(64, 116, 204), MakeRgb(24, 58, 120), MakeRgb(170, 202, 246)};
  const Face hot = close ? Face{MakeRgb(246, 130, 112), MakeRgb(212, 58, 44), MakeRgb(112, 22, 16), MakeRgb(252, 176, 160)}
                         : Face{MakeRgb(164, 202, 250), MakeRgb(92, 146, 230), MakeRgb(24, 58, 120), MakeRgb(206, 228, 252)};
  const Face pressed = close ? Face{MakeRgb(168, 36, 26), MakeRgb(206, 70, 52), MakeRgb(96, 16, 10)}
                             : Face{MakeRgb(34, 72, 148), MakeRgb(62, 108, 190), MakeRgb(18, 44, 96)};
  const Face inactive{MakeRgb(204, 214, 228), MakeRgb(176, 190, 210), MakeRgb(120, 132, 152), MakeRgb(222, 230, 240)};
  auto frame = [&](const Face& f, Rgb ink, int shift) {
    Pixmap p = FacePicture(kCaptionW, kCaptionH, 3, f);
    p.PatternCentred(shift, shift, kCaptionW, kCaptionH, glyph, ink);
    return p;
  };
  return SideBySide({frame(normal, kWhite, 0), frame(pressed, MakeRgb(230, 236, 246), 1), frame(hot, kWhite, 0),
                     frame(inactive, MakeRgb(244, 247, 251), 0)});
}

// The MDI child buttons on the menu bar: minimise, restore, close; four frames each.
Pixmap MdiControls() {
  constexpr int u = 16, h = 14;
  std::vector<Pixmap> frames;
  const Rows smallRestore{"..#####", "..#...#", "#####.#", "#...###", "#...#..", "#####.."};
  const Rows smallClose{"#....#", ".#..#.", "..##..", "..##..", ".#..#.", "#....#"};
  const Rows smallMin{"######", "######"};
  const Rows* small[] = {&smallMin, &smallRestore, &smallClose};
  for (const Rows* g : small)
    for (const Face* f : {&kButtonNormal, &kButtonPressed, &kButtonHot, &kButtonDisabled}) {
      Pixmap p = FacePicture(u, h, 2, *f);
      const int dy = g == &smallMin ? 3 : 0;
      p.PatternCentred(0, dy, u, h, *g, f == &kButtonDisabled ? kDisabled : kText);
      frames.push_back(p);
    }
  return SideBySide(frames);
}

// ---------------------------------------------------------------------------------------
// Check boxes and radio buttons: unchecked, checked (and mixed) by normal, hot, pressed,
// disabled

constexpr int kMark = 13;

Pixmap CheckFrames() {
  std::vector<Pixmap> frames;
  for (int group = 0; group < 3; ++group)
    for (int state = 0; state < 4; ++state) {
      const bool disabled = state == 3;
      const Face box = disabled    ? Face{MakeRgb(244, 246, 249), MakeRgb(236, 239, 244), MakeRgb(190, 198, 212)}
                       : state == 1 ? Face{kWhite, MakeRgb(214, 230, 252), MakeRgb(70, 130, 214)}
                       : state == 2 ? Face{MakeRgb(200, 216, 240), MakeRgb(226, 236, 250), MakeRgb(52, 96, 170)}
                                    : Face{kWhite, MakeRgb(230, 236, 245), kDarkLine};
      Pixmap p = FacePicture(kMark, kMark, 2, box);
      const Rgb ink = disabled ? kDisabled : kAccentDark;
      if (group == 1) p.PatternCentred(0, 0, kMark, kMark, kCheckMark, ink);
      if (group == 2) p.PatternCentred(0, 0, kMark, kMark, kMixedMark, disabled ? kDisabled : kAccent);
      frames.push_back(p);
    }
  return SideBySide(frames);
}

Pixmap RadioFrames() {
  std::vector<Pixmap> frames;
  for (int group = 0; group < 2; ++group)
    for (int state = 0; state < 4; ++state) {
      const bool disabled = state == 3;
      Pixmap p(kMark, kMark);
      const Rgb edge = disabled ? MakeRgb(190, 198, 212) : state == 1 ? MakeRgb(70, 130, 214) : kDarkLine;
      p.Disc(0, 0, kMark, state == 2 ? MakeRgb(200, 216, 240) : kWhite,
             state == 1 ? MakeRgb(214, 230, 252) : MakeRgb(230, 236, 245), edge);
      if (group == 1) {
        Pixmap dot(5, 5);
        dot.Disc(0, 0, 5, disabled ? kDisabled : kAccent, disabled ? kDisabled : kAccentDark,
                 disabled ? kDisabled : kAccentDark);
        for (int y = 0; y < 5; ++y)
          for (int x = 0; x < 5; ++x)
            if (dot.At(x, y) != kKey) p.Set(4 + x, 4 + y, dot.At(x, y));
      }
      frames.push_back(p);
    }
  return SideBySide(frames);
}

// ---------------------------------------------------------------------------------------
// Other elements

// Flat sunken field: a line-coloured outline round a white or face-coloured inside.
Pixmap Field(int w, int h, Rgb inside, Rgb outline, int r = 0) {
  Pixmap p(w, h, inside);
  p.RoundCorners(0, 0, w, h, r);
  p.Outline(0, 0, w, h, outline);
  return p;
}

// Scroll bar parts, 17 pixels square: arrows (left, right, up, down; each normal, pressed,
// disabled, hot), grips (horizontal, vertical; normal, pressed, hot) and a corner.
constexpr int kScroll = 17;

Pixmap ScrollParts() {
  std::vector<Pixmap> frames;
  const Rows* arrows[] = {&kLeftArrow, &kRightArrow, &kUpArrow, &kDownArrow};
  const Face* states[] = {&kButtonNormal, &kButtonPressed, &kButtonDisabled, &kButtonHot};
  for (const Rows* a : arrows)
    for (const Face* f : states) {
      Pixmap p = FacePicture(kScroll, kScroll, 2, *f);
      p.PatternCentred(f == &kButtonPressed, f == &kButtonPressed, kScroll, kScroll, *a,
                       f == &kButtonDisabled ? kDisabled : kText);
      frames.push_back(p);
    }
  const Rows hGrip{"#.#.#", "#.#.#", "#.#.#", "#.#.#", "#.#.#"};
  const Rows vGrip{"#####", ".....", "#####", ".....", "#####"};
  for (const Rows* g : {&hGrip, &vGrip})
    for (Rgb ink : {kLine, kAccentDark, kAccent}) {
      Pixmap p(kScroll, kScroll);
      p.PatternCentred(0, 0, kScroll, kScroll, *g, ink);
      frames.push_back(p);
    }
  frames.push_back(Pixmap(kScroll, kScroll, kFace));
  return SideBySide(frames);
}

// Scroll tracks: enabled, pressed, disabled, hot.
Pixmap ScrollTrack(bool vertical) {
  std::vector<Pixmap> frames;
  for (Rgb c : {MakeRgb(232, 236, 243), MakeRgb(210, 220, 236), MakeRgb(242, 244, 247), MakeRgb(224, 231, 242)}) {
    Pixmap p(kScroll, kScroll, c);
    if (vertical) {
      p.VLine(0, 0, kScroll, MakeRgb(214, 221, 232));
    } else {
      p.HLine(0, 0, kScroll, MakeRgb(214, 221, 232));
    }
    frames.push_back(p);
  }
  return SideBySide(frames);
}

// Scroll thumbs: normal, pressed, hot (graded across the bar).
Pixmap ScrollThumb(bool vertical) {
  std::vector<Pixmap> frames;
  for (const Face* f : {&kButtonNormal, &kButtonPressed, &kButtonHot}) {
    Pixmap p(kScroll, kScroll);
    p.Gradient(0, 0, kScroll, kScroll, f->top, f->bottom, !vertical);
    p.RoundCorners(0, 0, kScroll, kScroll, 3);
    p.Outline(0, 0, kScroll, kScroll, f->outline);
    frames.push_back(p);
  }
  return SideBySide(frames);
}

// Track-bar thumbs: normal, pressed, disabled, hot, focused; pointing as named.
Pixmap TrackThumb(int w, int h, int pointing) {
  std::vector<Pixmap> frames;
  for (const Face* f : {&kButtonNormal, &kButtonPressed, &kButtonDisabled, &kButtonHot, &kButtonFocused}) {
    Pixmap p = FacePicture(w, h, 2, *f);
    // A pointed end: cut diagonally towards the side it points to (0 none, 1 down, 2 right,
    // 3 up, 4 left).
    const int n = pointing == 1 || pointing == 3 ? w / 2 : h / 2;
    for (int k = 0; k < n && pointing; ++k)
      for (int j = 0; j < n - k; ++j) {
        switch (pointing) {
          case 1: p.Set(k, h - 1 - j, kKey), p.Set(w - 1 - k, h - 1 - j, kKey); break;
          case 3: p.Set(k, j, kKey), p.Set(w - 1 - k, j, kKey); break;
          case 2: p.Set(w - 1 - j, k, kKey), p.Set(w - 1 - j, h - 1 - k, kKey); break;
          case 4: p.Set(j, k, kKey), p.Set(j, h - 1 - k, kKey); break;
        }
      }
    p.Outline(0, 0, w, h, f->outline);
    frames.push_back(p);
  }
  return SideBySide(frames);
}

// Up-down buttons: four frames per arrow (normal, pressed, disabled, hot), and their glyphs.
Pixmap UpDownFrames(int w, int h) {
  std::vector<Pixmap> frames;
  for (int arrow = 0; arrow < 2; ++arrow)
    for (const Face* f : {&kButtonNormal, &kButtonPressed, &kButtonDisabled, &kButtonHot})
      frames.push_back(FacePicture(w, h, 2, *f));
  return SideBySide(frames);
}

Pixmap UpDownGlyphs(bool horizontal) {
  const Rows up{"..#..", ".###.", "#####"};
  const Rows down{"#####", ".###.", "..#.."};
  const Rows left{"..#", ".##", "###", ".##", "..#"};
  const Rows right{"#..", "##.", "###", "##.", "#.."};
  std::vector<Pixmap> frames;
  for (const Rows* g : horizontal ? std::vector<const Rows*>{&left, &right} : std::vector<const Rows*>{&up, &down}) {
    Pixmap p(7, 7);
    p.PatternCentred(0, 0, 7, 7, *g, kText);
    frames.push_back(p);
  }
  return SideBySide(frames);
}

// Combo button faces: normal, pressed, disabled, hot.
Pixmap ComboButton() {
  std::vector<Pixmap> frames;
  for (const Face* f : {&kButtonNormal, &kButtonPressed, &kButtonDisabled, &kButtonHot}) {
    Pixmap p = FacePicture(17, 21, 2, *f);
    frames.push_back(p);
  }
  return SideBySide(frames);
}

// The edit field round a combo box's button: normal, pressed, disabled, hot.
Pixmap SunkEdge() {
  std::vector<Pixmap> frames;
  for (Rgb outline : {kLine, MakeRgb(58, 98, 168), MakeRgb(196, 204, 216), MakeRgb(70, 130, 214)})
    frames.push_back(Field(10, 21, kWhite, outline, 2));
  return SideBySide(frames);
}

// Arrow glyphs for combo buttons (normal, pressed, disabled, hot) and the size grip.
Pixmap ExtraImages() {
  constexpr int s = 11;
  std::vector<Pixmap> frames;
  for (Rgb ink : {kText, kAccentDark, kDisabled, kAccent}) {
    Pixmap p(s, s);
    p.PatternCentred(0, 0, s, s, kDownArrow, ink);
    frames.push_back(p);
  }
  Pixmap grip(s, s);
  grip.Pattern(0, s - 8, kGrip, kLine);
  frames.push_back(grip);
  return SideBySide(frames);
}

// Tabs: normal, selected, disabled, hot, focused (open at the bottom).
Pixmap TabFrames() {
  constexpr int w = 30, h = 22;
  std::vector<Pixmap> frames;
  const Face selected{kWhite, kFace, kLine};
  for (const Face* f : {&kButtonNormal, &selected, &kButtonDisabled, &kButtonHot, &kButtonFocused}) {
    Pixmap p(w, h);
    p.Gradient(0, 0, w, h, f->top, f->bottom);
    p.RoundCorners(0, 0, w, h, 3, true, false);
    p.Outline(0, 0, w, h + 1, f->outline);
    if (f == &selected) p.HLine(1, 0, w - 2, kAccent), p.HLine(2, 1, w - 4, MakeRgb(120, 168, 236));
    frames.push_back(p);
  }
  return SideBySide(frames);
}

// Menu items: normal, pressed, disabled, selected, focused (rounded highlight, deep enough for
// the skin's white highlight text).
Pixmap MenuItemFrames() {
  std::vector<Pixmap> frames;
  const Face plain{MakeRgb(250, 251, 254), MakeRgb(250, 251, 254), MakeRgb(250, 251, 254)};
  const Face selected{MakeRgb(92, 148, 222), MakeRgb(56, 114, 200), MakeRgb(40, 88, 168)};
  for (const Face* f : {&plain, &selected, &plain, &selected, &selected}) frames.push_back(FacePicture(20, 20, 3, *f));
  return SideBySide(frames);
}

// Status-bar panels: raised, lowered, none.
Pixmap StatusEdges() {
  Pixmap raised(12, 12, kFace), lowered(12, 12, MakeRgb(230, 235, 243)), none(12, 12, kFace);
  raised.HLine(0, 0, 12, kWhite), raised.VLine(0, 0, 12, kWhite);
  raised.HLine(0, 11, 12, kLine), raised.VLine(11, 0, 12, kLine);
  lowered.HLine(0, 0, 12, kLine), lowered.VLine(0, 0, 12, kLine);
  lowered.HLine(0, 11, 12, kWhite), lowered.VLine(11, 0, 12, kWhite);
  return SideBySide({raised, lowered, none});
}

// Header sections: normal, hot, pressed, disabled, focused.
Pixmap HeaderFrames() {
  std::vector<Pixmap> frames;
  for (const Face* f : {&kButtonNormal, &kButtonHot, &kButtonPressed, &kButtonDisabled, &kButtonFocused}) {
    Pixmap p(20, 20);
    p.Gradient(0, 0, 20, 20, f->top, f->bottom);
    p.HLine(0, 19, 20, kLine);
    p.VLine(19, 3, 14, kLine);
    p.VLine(18, 3, 14, kWhite);
    frames.push_back(p);
  }
  return SideBySide(frames);
}

// The menu bar band: active and inactive.
Pixmap MenuBar() {
  Pixmap active(20, 20), inactive(20, 20);
  active.Gradient(0, 0, 20, 20, MakeRgb(246, 249, 254), MakeRgb(222, 231, 245));
  active.HLine(0, 19, 20, MakeRgb(196, 208, 228));
  inactive.Gradient(0, 0, 20, 20, MakeRgb(246, 247, 249), MakeRgb(232, 235, 240));
  inactive.HLine(0, 19, 20, MakeRgb(206, 212, 222));
  return SideBySide({active, inactive});
}

// Progress bar: the track, then the bar.
Pixmap ProgressFrames() {
  Pixmap track = Field(20, 16, MakeRgb(244, 246, 250), kLine, 2);
  Pixmap bar(20, 16);
  bar.Gradient(0, 0, 20, 16, MakeRgb(132, 214, 120), MakeRgb(46, 150, 52));
  bar.HLine(0, 1, 20, MakeRgb(190, 240, 180));
  bar.RoundCorners(0, 0, 20, 16, 2);
  bar.Outline(0, 0, 20, 16, MakeRgb(36, 110, 40));
  return SideBySide({track, bar});
}

Pixmap ProgressChunk() {
  Pixmap chunk(8, 16, kKey);
  chunk.Gradient(0, 1, 7, 14, MakeRgb(132, 214, 120), MakeRgb(46, 150, 52));
  return chunk;
}

// Group boxes: the edge (active, inactive) and the caption background.
Pixmap GroupEdge() {
  return SideBySide({Field(10, 10, kFace, kLine, 3), Field(10, 10, kFace, MakeRgb(196, 204, 216), 3)});
}

Pixmap GroupBox() {
  Pixmap p(20, 20);
  p.Gradient(0, 0, 20, 20, kWhite, kFace);
  return p;
}

// Track-bar channels.
Pixmap Channel(bool vertical) {
  const int w = vertical ? 6 : 24, h = vertical ? 24 : 6;
  Pixmap p = Field(w, h, MakeRgb(214, 222, 236), kDarkLine, 2);
  if (vertical)
    p.VLine(1, 2, h - 4, MakeRgb(180, 192, 212));
  else
    p.HLine(2, 1, w - 4, MakeRgb(180, 192, 212));
  return p;
}

// Tool bar buttons: normal (flat), pressed, disabled, hot, checked.
Pixmap ToolBarFrames() {
  const Face flat{kFace, kFace, kFace};
  std::vector<Pixmap> frames;
  for (const Face* f : {&flat, &kButtonPressed, &flat, &kButtonHot, &kButtonPressed})
    frames.push_back(FacePicture(22, 22, 3, *f));
  return SideBySide(frames);
}

}  // namespace

std::vector<NamedPicture> SamplePictures() {
  Borders borders = FrameBorders();
  return {
      {"Left.bmp", borders.left},
      {"Right.bmp", borders.right},
      {"Top.bmp", borders.top},
      {"Bottom.bmp", borders.bottom},
      {"MenuBar.bmp", MenuBar()},
      {"Close.bmp", CaptionButton(kCloseGlyph, true)},
      {"Maximize.bmp", CaptionButton(kMaxGlyph, false)},
      {"Restore.bmp", CaptionButton(kRestoreGlyph, false)},
      {"Minimize.bmp", CaptionButton(kMinGlyph, false)},
      {"Help.bmp", CaptionButton(kHelpGlyph, false)},
      {"MdiControls.bmp", MdiControls()},
      {"Button.bmp", ButtonFrames(24, 22, 3)},
      {"Check.bmp", CheckFrames()},
      {"Radio.bmp", RadioFrames()},
      {"Progress.bmp", ProgressFrames()},
      {"ProgressChunk.bmp", ProgressChunk()},
      {"GroupEdge.bmp", GroupEdge()},
      {"GroupBox.bmp", GroupBox()},
      {"Tabs.bmp", TabFrames()},
      {"TabBorder.bmp", Field(20, 20, kWhite, kLine)},
      {"TabPane.bmp", Field(30, 30, kWhite, kLine)},
      {"StatusEdges.bmp", StatusEdges()},
      {"ToolBar.bmp", ToolBarFrames()},
      {"ComboButton.bmp", ComboButton()},
      {"SunkEdge.bmp", SunkEdge()},
      {"Extra.bmp", ExtraImages()},
      {"Header.bmp", HeaderFrames()},
      {"MenuItem.bmp", MenuItemFrames()},
      {"MenuBack.bmp", Field(20, 20, MakeRgb(250, 251, 254), kLine)},
      {"ScrollParts.bmp", ScrollParts()},
      {"HScroll.bmp", ScrollTrack(false)},
      {"VScroll.bmp", ScrollTrack(true)},
      {"HThumb.bmp", ScrollThumb(false)},
      {"VThumb.bmp", ScrollThumb(true)},
      {"ThumbH.bmp", TrackThumb(11, 20, 1)},
      {"ThumbV.bmp", TrackThumb(20, 11, 2)},
      {"ThumbLeft.bmp", TrackThumb(20, 11, 4)},
      {"ThumbRight.bmp", TrackThumb(20, 11, 2)},
      {"ThumbUp.bmp", TrackThumb(11, 20, 3)},
      {"ThumbDown.bmp", TrackThumb(11, 20, 1)},
      {"UpDownH.bmp", UpDownFrames(10, 15)},
      {"UpDownHGlyph.bmp", UpDownGlyphs(true)},
      {"UpDownV.bmp", UpDownFrames(15, 10)},
      {"UpDownVGlyph.bmp", UpDownGlyphs(false)},
      {"Track.bmp", Channel(false)},
      {"TrackVert.bmp", Channel(true)},
  };
}

}  // namespace skinmaker
