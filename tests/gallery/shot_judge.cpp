#include "gallery/shot_judge.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <map>
#include <sstream>
#include <unordered_map>

namespace gallery::sweep {
namespace {

// Window styles (the judge reads the list's numbers, not the system's headers).
constexpr std::uint32_t kCaption = 0x00C00000, kSysMenu = 0x00080000, kMinimizeBox = 0x00020000,
                        kMaximizeBox = 0x00010000, kMinimized = 0x20000000, kMaximized = 0x01000000,
                        kDisabled = 0x08000000;
constexpr std::uint32_t kExTransparent = 0x20, kExContextHelp = 0x400, kExDialogFrame = 0x1, kExToolWindow = 0x80;
constexpr std::uint32_t kSizeGrip = 0x100;  // a status bar's
constexpr std::uint32_t kVScroll = 0x00200000, kHScroll = 0x00100000;
constexpr std::uint32_t kBarVertical = 0x1, kBarSizeBox = 0x8, kBarSizeGrip = 0x10;  // a scroll bar control's

// A colour that stands out of another: text, an edge, a glyph.
constexpr int kInk = 40;
constexpr int kFaintInk = 24;  // disabled text is drawn faint on purpose
constexpr int kTitleInk = 12;  // so are the buttons of an inactive title
// Fewer pixels in solid black are a glyph's dot (a radio button's), not a hole.
constexpr int kBlackBlock = 10;

int Difference(std::uint32_t a, std::uint32_t b) {
  int d = 0;
  for (int shift : {0, 8, 16}) d = std::max(d, std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)));
  return d;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The colour dialog's grids of colours (its template's two colour boxes), black among them.
bool ShowsColours(const ListedWindow& w) { return Lower(w.className) == "static" && (w.Is("id=720") || w.Is("id=721")); }

std::uint32_t Asked(const ListedWindow& w) { return w.askedStyle ? w.askedStyle : w.style; }

std::string At(int x, int y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

enum class Kind { Other, Push, Check, Group, Text, Track, Status, Shows };

Kind KindOf(const ListedWindow& w) {
  const std::string cls = Lower(w.className), lib = w.library;
  if (lib == "TButton" || lib == "TBitBtn") return Kind::Push;
  if (lib == "TCheckBox" || lib == "TRadioButton") return Kind::Check;
  if (lib == "TGroupBox" || lib == "TRadioGroup") return Kind::Group;
  if (lib == "TLabel" || lib == "TStaticText") return Kind::Text;
  if (lib == "TTrackBar" || cls == "msctls_trackbar32") return Kind::Track;
  if (lib == "TStatusBar" || cls == "msctls_statusbar32") return Kind::Status;
  if (cls == "button") {
    switch (w.style & 0xF) {
      case 0: case 1: case 0xB: return Kind::Push;
      case 2: case 3: case 4: case 5: case 6: case 9: return Kind::Check;
      case 7: return Kind::Group;
      default: return Kind::Other;
    }
  }
  if (cls == "static") {
    const std::uint32_t type = w.style & 0x1F;
    return type == 0 || type == 1 || type == 2 || type == 0xB || type == 0xC ? Kind::Text : Kind::Other;
  }
  static const std::array<const char*, 14> shows{"edit",           "combobox",         "listbox",           "syslistview32",
                                                 "systreeview32",  "msctls_progress32", "msctls_updown32",   "systabcontrol32",
                                                 "sysheader32",    "toolbarwindow32",  "scrollbar",         "richedit20w",
                                                 "sysdatetimepick32", "syslink"};
  static const std::array<const char*, 16> library{"TEdit",     "TMemo",        "TComboBox",   "TListBox",
                                                   "TListView", "TTreeView",    "TProgressBar", "TUpDown",
                                                   "TTabControl", "TPageControl", "THeaderControl", "TToolBar",
                                                   "TScrollBar", "TRichEdit",   "TDateTimePicker", "TLayeredEdit"};
  for (const char* s : shows)
    if (cls == s) return Kind::Shows;
  for (const char* s : library)
    if (lib == s) return Kind::Shows;
  return Kind::Other;
}

class Judgement {
 public:
  Judgement(const ScreenPicture& Picture, const std::vector<ListedWindow>& Windows)
      : p_(Picture), w_(Windows), owner_(static_cast<size_t>(Picture.width) * Picture.height, -1) {
    Own();
  }

  // For the comparisons of two pictures.
  bool OwnsPixel(int i, int x, int y) const { return Owns(i, x, y); }
  const Box& Visible(int i) const { return visible_[static_cast<size_t>(i)]; }

  Verdict Run() {
    Black();
    for (size_t i = 0; i < w_.size(); ++i) {
      const ListedWindow& w = w_[i];
      if (w.kind != "graphic" && (Asked(w) & kCaption) == kCaption) Title(static_cast<int>(i));
      const Kind kind = KindOf(w);
      if (kind == Kind::Other || Covered(static_cast<int>(i), visible_[i])) continue;
      // Mostly outside its parent (a dialog's part folded away): too little of it to judge.
      if (static_cast<long>(visible_[i].Width()) * visible_[i].Height() * 10 < static_cast<long>(w.rect.Width()) * w.rect.Height() * 3)
        continue;
      if (!w.text.empty() && (kind == Kind::Push || kind == Kind::Check || kind == Kind::Group || kind == Kind::Text))
        Caption(static_cast<int>(i), kind);
      // Whether a control shows nothing is judged on the whole of it: a menu or dialog over its
      // busy part may leave a part that is plain on purpose.
      if (kind != Kind::Text && kind != Kind::Group && !InsideCombo(static_cast<int>(i)) &&
          !Covered(static_cast<int>(i), visible_[i], 9))
        Shows(static_cast<int>(i), kind);
      if (kind == Kind::Shows) Arrows(static_cast<int>(i));
    }
    return std::move(verdict_);
  }

 private:
  // Which listed window shows each pixel: later lines lie over earlier ones; a window is
  // clipped to its parent's client area.
  void Own() {
    std::map<int, int> index;
    for (size_t i = 0; i < w_.size(); ++i) index[w_[i].id] = static_cast<int>(i);
    parent_.assign(w_.size(), -1);
    for (size_t i = 0; i < w_.size(); ++i)
      if (const auto p = index.find(w_[i].parent); p != index.end()) parent_[i] = p->second;
    const Box all{p_.left, p_.top, p_.left + p_.width, p_.top + p_.height};
    std::vector<Box> clip(w_.size());
    visible_.assign(w_.size(), Box{});
    for (size_t i = 0; i < w_.size(); ++i) {
      const ListedWindow& w = w_[i];
      const auto parent = index.find(w.parent);
      const Box within = parent == index.end() ? all : Intersect(clip[parent->second], w_[parent->second].client);
      visible_[i] = Intersect(w.rect, within);
      clip[i] = visible_[i];
      if (w.kind == "top" && (w.exStyle & kExTransparent)) continue;  // pointer and picture go through it
      for (int y = visible_[i].top; y < visible_[i].bottom; ++y)
        for (int x = visible_[i].left; x < visible_[i].right; ++x) owner_[Offset(x, y)] = static_cast<int>(i);
    }
  }

  size_t Offset(int x, int y) const { return static_cast<size_t>(y - p_.top) * p_.width + (x - p_.left); }
  bool Owns(int i, int x, int y) const { return p_.Contains(x, y) && owner_[Offset(x, y)] == i; }
  // The pixel shows the window or one of its children (a tool bar's buttons, a list's bar).
  bool Shown(int i, int x, int y) const {
    if (!p_.Contains(x, y)) return false;
    for (int o = owner_[Offset(x, y)]; o >= 0; o = parent_[o])
      if (o == i) return true;
    return false;
  }

  // Too little of the window shows for a judgement (another window lies over it).
  bool Covered(int i, const Box& B, int TenthsShown = 3) const {
    if (B.Empty()) return true;
    long owned = 0;
    for (int y = B.top; y < B.bottom; ++y)
      for (int x = B.left; x < B.right; ++x) owned += Shown(i, x, y) ? 1 : 0;
    return owned * 10 < static_cast<long>(B.Width()) * B.Height() * TenthsShown;
  }

  std::uint32_t Mode(int i, const Box& B) const {
    std::unordered_map<std::uint32_t, int> count;
    for (int y = B.top; y < B.bottom; ++y)
      for (int x = B.left; x < B.right; ++x)
        if (i < 0 ? p_.Contains(x, y) : Owns(i, x, y)) ++count[p_.At(x, y)];
    std::uint32_t best = 0;
    int most = -1;
    for (const auto& [colour, n] : count)
      if (n > most || (n == most && colour < best)) best = colour, most = n;
    return best;
  }

  void Fault(const ListedWindow& w, const std::string& what) { verdict_.faults.push_back(w.Describe() + ": " + what); }

  // Pixels whose 5x5 neighbourhood is pure black, inside the windows.
  void Black() {
    const int W = p_.width, H = p_.height;
    std::vector<std::uint8_t> run(static_cast<size_t>(W) * H, 0);  // black pixels in the row's 5 around
    for (int y = 0; y < H; ++y) {
      int n = 0;
      for (int x = 0; x < W + 2; ++x) {
        if (x < W && p_.pixels[static_cast<size_t>(y) * W + x] == 0) ++n;
        if (x - 5 >= 0 && x - 5 < W && p_.pixels[static_cast<size_t>(y) * W + x - 5] == 0) --n;
        if (x - 2 >= 0 && x - 2 < W) run[static_cast<size_t>(y) * W + x - 2] = static_cast<std::uint8_t>(n);
      }
    }
    std::map<int, std::pair<int, std::string>> byWindow;
    for (int x = 0; x < W; ++x)
      for (int y = 2; y + 2 < H; ++y) {
        bool solid = x >= 2 && x + 2 < W;
        for (int dy = -2; solid && dy <= 2; ++dy) solid = run[static_cast<size_t>(y + dy) * W + x] == 5;
        if (!solid) continue;
        const int owner = owner_[static_cast<size_t>(y) * W + x];
        if (owner < 0) continue;  // outside every window: the desktop
        if (ShowsColours(w_[owner])) continue;
        auto& [count, first] = byWindow[owner];
        if (count++ == 0) first = At(p_.left + x, p_.top + y);
      }
    for (const auto& [owner, found] : byWindow)
      if (found.first >= kBlackBlock) verdict_.blackPixels += found.first;
    for (const auto& [owner, found] : byWindow)
      if (found.first >= kBlackBlock) Fault(w_[owner], "solid black, " + std::to_string(found.first) + " pixels from " + found.second);
  }

  // The title bar shows the buttons the window's style asks for.
  void Title(int i) {
    const ListedWindow& w = w_[i];
    if (w.style & kMinimized) return;
    if (w.kind == "child" && (w.style & kMaximized)) return;  // its buttons stand on the frame's menu line
    const int nonClient = w.client.top - w.rect.top;
    if (nonClient < 10) return Fault(w, "no title bar (" + std::to_string(nonClient) + " pixels above the client area)");
    // The buttons the program asked for (an engine painting the frame takes the system
    // menu and the boxes off the window's style).
    const std::uint32_t style = Asked(w), exStyle = w.askedStyle ? w.askedExStyle : w.exStyle;
    int buttons = 0;
    if (style & kSysMenu) {
      buttons = 1 + ((style & kMinimizeBox) ? 1 : 0) + ((style & kMaximizeBox) ? 1 : 0);
      if (buttons == 1 && (exStyle & kExContextHelp)) buttons = 2;
    }
    if (buttons == 0) return;
    const int band = std::min(nonClient, 40);
    const int each = std::clamp(band - 4, 16, 34);
    const Box area = Intersect({w.rect.right - 4 - buttons * each - 6, w.rect.top + 2, w.rect.right - 3, w.rect.top + band - 1},
                               visible_[i]);
    if (Covered(i, area)) return;
    // Each row against its own colour (titles are gradients); an inactive title shows its
    // buttons faint on purpose.
    std::vector<std::uint32_t> face;
    for (int y = area.top; y < area.bottom; ++y) face.push_back(Mode(i, {area.left, y, area.right, y + 1}));
    int columns = 0, pixels = 0;
    for (int x = area.left; x < area.right; ++x) {
      int here = 0;
      for (int y = area.top; y < area.bottom; ++y)
        here += Owns(i, x, y) && Difference(p_.At(x, y), face[y - area.top]) >= kTitleInk ? 1 : 0;
      columns += here ? 1 : 0;
      pixels += here;
    }
    if (columns < 4 * buttons || pixels < 10 * buttons)
      Fault(w, "the title bar shows no buttons (" + std::to_string(buttons) + " wanted; " + std::to_string(pixels) +
                   " pixels stand out at its right end)");
    TitleCaption(i, area.left, band);
    // Each button where the window answers it shows its sign: pixels in its middle that stand
    // out of its face.
    for (const char* name : {"close", "max", "min", "help"}) {
      const Box hit = w.Place(name);
      if (hit.Empty()) continue;
      const int inset = std::min(hit.Width(), hit.Height()) / 4;
      const Box middle = Intersect({hit.left + inset, hit.top + inset, hit.right - inset, hit.bottom - inset}, visible_[i]);
      if (middle.Empty() || Covered(i, middle, 9)) continue;
      const std::uint32_t face = Mode(i, middle);
      int ink = 0;
      for (int y = middle.top; y < middle.bottom; ++y)
        for (int x = middle.left; x < middle.right; ++x) ink += Owns(i, x, y) && Difference(p_.At(x, y), face) >= kTitleInk ? 1 : 0;
      if (ink < 4)
        Fault(w, std::string("its ") + name + " button shows no sign where it answers the pointer (" + std::to_string(ink) +
                     " pixels stand out at " + At(hit.left, hit.top) + ")");
    }
  }

  // An edit or list inside a combo box: the combo shows the frame round them.
  bool InsideCombo(int i) const {
    const int p = parent_[static_cast<size_t>(i)];
    if (p < 0) return false;
    const std::string cls = Lower(w_[static_cast<size_t>(p)].className);
    return cls == "combobox" || cls == "comboboxex32";
  }

  // The title's caption stands out of the bar, left of its buttons (past where an icon may stand,
  // and above where a menu line may start).
  void TitleCaption(int i, int ButtonsLeft, int Band) {
    const ListedWindow& w = w_[i];
    if (w.text.empty()) return;
    // A dialog's or tool window's title shows no icon.
    const bool icon = (Asked(w) & kSysMenu) && Lower(w.className) != "#32770" &&
                      !((w.askedStyle ? w.askedExStyle : w.exStyle) & (kExDialogFrame | kExToolWindow));
    const Box area = Intersect({w.rect.left + (icon ? 30 : 6), w.rect.top + 2, ButtonsLeft - 2, w.rect.top + std::min(Band, 26)},
                               visible_[i]);
    if (area.Width() < 24 || Covered(i, area)) return;
    int ink = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      const std::uint32_t face = Mode(i, {area.left, y, area.right, y + 1});
      for (int x = area.left; x < area.right; ++x) ink += Owns(i, x, y) && Difference(p_.At(x, y), face) >= kFaintInk ? 1 : 0;
    }
    if (ink < 8) Fault(w, "the title's caption cannot be read (" + std::to_string(ink) + " pixels stand out of the bar)");
  }

  // A scroll bar shows an arrow at each end: pixels in the middle of each end's square that
  // stand out of it (faintly, as a disabled arrow's).
  void Arrows(int i) {
    const ListedWindow& w = w_[i];
    if (w.kind == "graphic") return;
    std::vector<std::pair<Box, const char*>> ends;
    if (Lower(w.className) == "scrollbar") {
      if (w.style & (kBarSizeBox | kBarSizeGrip)) return;
      if (w.style & kBarVertical) {
        const int side = w.rect.Width();
        ends = {{{w.rect.left, w.rect.top, w.rect.right, w.rect.top + side}, "up"},
                {{w.rect.left, w.rect.bottom - side, w.rect.right, w.rect.bottom}, "down"}};
      } else {
        const int side = w.rect.Height();
        ends = {{{w.rect.left, w.rect.top, w.rect.left + side, w.rect.bottom}, "left"},
                {{w.rect.right - side, w.rect.top, w.rect.right, w.rect.bottom}, "right"}};
      }
    } else {
      const int border = std::max(0, w.client.left - w.rect.left);
      const int across = w.rect.right - border - w.client.right, down = w.rect.bottom - border - w.client.bottom;
      if ((w.style & kVScroll) && across >= 8 && w.client.Height() >= 3 * across)
        for (const auto& [box, name] : {std::pair{Box{w.client.right, w.client.top, w.client.right + across, w.client.top + across}, "up"},
                                        std::pair{Box{w.client.right, w.client.bottom - across, w.client.right + across, w.client.bottom}, "down"}})
          ends.push_back({box, name});
      if ((w.style & kHScroll) && down >= 8 && w.client.Width() >= 3 * down)
        for (const auto& [box, name] : {std::pair{Box{w.client.left, w.client.bottom, w.client.left + down, w.client.bottom + down}, "left"},
                                        std::pair{Box{w.client.right - down, w.client.bottom, w.client.right, w.client.bottom + down}, "right"}})
          ends.push_back({box, name});
    }
    for (const auto& [end, name] : ends) {
      if (end.Width() < 8 || end.Height() < 8) continue;
      const int inset = std::max(2, std::min(end.Width(), end.Height()) / 5);
      const Box middle = Intersect({end.left + inset, end.top + inset, end.right - inset, end.bottom - inset}, visible_[i]);
      if (middle.Empty() || Covered(i, middle, 9)) continue;
      const std::uint32_t face = Mode(i, middle);
      int ink = 0;
      for (int y = middle.top; y < middle.bottom; ++y)
        for (int x = middle.left; x < middle.right; ++x) ink += Owns(i, x, y) && Difference(p_.At(x, y), face) >= kFaintInk ? 1 : 0;
      if (ink < 4)
        Fault(w, std::string("no ") + name + " arrow on its scroll bar (" + std::to_string(ink) + " pixels stand out at " +
                     At(end.left, end.top) + ")");
    }
  }

  // Pixels of the box that stand out of Colour, lines across most of the box left out (edges,
  // a group box's frame), for text.
  int TextInk(int i, const Box& B, std::uint32_t colour, int threshold) const {
    std::vector<int> rows(B.Height(), 0), cols(B.Width(), 0);
    auto ink = [&](int x, int y) { return Owns(i, x, y) && Difference(p_.At(x, y), colour) >= threshold; };
    for (int y = B.top; y < B.bottom; ++y)
      for (int x = B.left; x < B.right; ++x)
        if (ink(x, y)) ++rows[y - B.top], ++cols[x - B.left];
    int count = 0;
    for (int y = B.top; y < B.bottom; ++y)
      for (int x = B.left; x < B.right; ++x)
        if (ink(x, y) && rows[y - B.top] * 10 < B.Width() * 6 && cols[x - B.left] * 10 < B.Height() * 6) ++count;
    return count;
  }

  void Caption(int i, Kind kind) {
    const ListedWindow& w = w_[i];
    Box text = visible_[i];
    if (kind == Kind::Push) text = {text.left + 3, text.top + 3, text.right - 3, text.bottom - 3};
    if (kind == Kind::Check) text.left = std::min(text.right, w.rect.left + 16);
    if (kind == Kind::Group) text = {text.left + 4, text.top, text.right - 4, std::min(text.bottom, w.rect.top + 16)};
    text = Intersect(text, visible_[i]);
    if (Covered(i, text)) return;
    // The face is read in the text's middle band: a thick frame or edge of one colour round a
    // face of many shades (a gradient) would pass for the face otherwise.
    const int inset = kind == Kind::Push ? text.Height() / 4 : 0;
    const Box middle = Intersect({text.left + text.Width() / 8, text.top + inset, text.right - text.Width() / 8, text.bottom - inset}, text);
    const std::uint32_t face = Mode(i, middle.Empty() ? text : middle);
    const int threshold = (w.style & kDisabled) ? kFaintInk : kInk;
    const int ink = TextInk(i, text, face, threshold);
    if (ink < 8) {
      char colour[16];
      std::snprintf(colour, sizeof colour, "#%06x", static_cast<unsigned>(face));
      Fault(w, std::string("the caption cannot be read (") + std::to_string(ink) + " pixels of text on " + colour + ")");
    }
  }

  // The control stands out of what surrounds it; a push button shows its edge, a track bar
  // its channel, a grip its grip.
  void Shows(int i, Kind kind) {
    const ListedWindow& w = w_[i];
    const Box& B = visible_[i];
    // What lies around it: a ring of 3 pixels outside its rectangle.
    std::unordered_map<std::uint32_t, int> around;
    const Box outer{w.rect.left - 3, w.rect.top - 3, w.rect.right + 3, w.rect.bottom + 3};
    for (int y = outer.top; y < outer.bottom; ++y)
      for (int x = outer.left; x < outer.right; ++x)
        if ((x < w.rect.left || x >= w.rect.right || y < w.rect.top || y >= w.rect.bottom) && p_.Contains(x, y)) ++around[p_.At(x, y)];
    std::uint32_t outside = 0;
    int most = -1;
    for (const auto& [c, n] : around)
      if (n > most || (n == most && c < outside)) outside = c, most = n;
    const int threshold = (w.style & kDisabled) ? kFaintInk : kInk;
    long owned = 0, standing = 0, ring = 0, ringStanding = 0;
    for (int y = B.top; y < B.bottom; ++y)
      for (int x = B.left; x < B.right; ++x) {
        if (!Shown(i, x, y)) continue;
        const bool stands = Difference(p_.At(x, y), outside) >= threshold;
        ++owned;
        standing += stands ? 1 : 0;
        const bool edge = x < w.rect.left + 3 || x >= w.rect.right - 3 || y < w.rect.top + 3 || y >= w.rect.bottom - 3;
        ring += edge ? 1 : 0;
        ringStanding += edge && stands ? 1 : 0;
      }
    if (standing < 20) {
      Fault(w, "invisible: " + std::to_string(standing) + " of its " + std::to_string(owned) +
                   " pixels stand out of what surrounds it");
      return;
    }
    if (kind == Kind::Push && ring > 0 && ringStanding * 8 < ring)
      Fault(w, "no edge: " + std::to_string(ringStanding) + " of the " + std::to_string(ring) + " pixels along its edge show one");
    if (kind == Kind::Track) {
      const bool across = w.rect.Width() >= w.rect.Height();
      const Box middle = across ? Box{B.left, w.rect.top + w.rect.Height() * 3 / 10, B.right, w.rect.bottom - w.rect.Height() * 3 / 10}
                                : Box{w.rect.left + w.rect.Width() * 3 / 10, B.top, w.rect.right - w.rect.Width() * 3 / 10, B.bottom};
      const Box m = Intersect(middle, B);
      const std::uint32_t face = Mode(i, m);
      int ink = 0;
      for (int y = m.top; y < m.bottom; ++y)
        for (int x = m.left; x < m.right; ++x) ink += Owns(i, x, y) && Difference(p_.At(x, y), face) >= kInk ? 1 : 0;
      const int length = across ? m.Width() : m.Height();
      if (ink < length / 3) Fault(w, "no channel or thumb (" + std::to_string(ink) + " pixels stand out along it)");
    }
    if (kind == Kind::Status && (w.style & kSizeGrip) && w.kind != "graphic") {
      const Box corner = Intersect({w.rect.right - 14, w.rect.bottom - 14, w.rect.right - 1, w.rect.bottom - 1}, B);
      if (Covered(i, corner)) return;
      const std::uint32_t face = Mode(i, corner);
      int ink = 0;
      for (int y = corner.top; y < corner.bottom; ++y)
        for (int x = corner.left; x < corner.right; ++x) ink += Owns(i, x, y) && Difference(p_.At(x, y), face) >= kInk ? 1 : 0;
      if (ink < 6) Fault(w, "no size grip (" + std::to_string(ink) + " pixels stand out in its corner)");
    }
  }

  const ScreenPicture& p_;
  const std::vector<ListedWindow>& w_;
  std::vector<int> owner_, parent_;
  std::vector<Box> visible_;
  Verdict verdict_;
};

}  // namespace

Box Intersect(const Box& A, const Box& B) {
  Box r{std::max(A.left, B.left), std::max(A.top, B.top), std::min(A.right, B.right), std::min(A.bottom, B.bottom)};
  if (r.Empty()) return {};
  return r;
}

std::string ListedWindow::Describe() const {
  std::string name = library.empty() ? className : library;
  std::string shown = text.substr(0, 40);
  return name + " \"" + shown + "\" at " + At(rect.left, rect.top);
}

std::vector<ListedWindow> ParseWindowList(std::string_view Text) {
  std::vector<ListedWindow> out;
  std::istringstream in{std::string(Text)};
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    for (size_t start = 0;;) {
      const size_t tab = line.find('\t', start);
      fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (fields.size() != 12 && fields.size() != 13) continue;  // a list without check states too
    ListedWindow w;
    auto box = [](const std::string& s, Box& b) {
      return std::sscanf(s.c_str(), "%d %d %d %d", &b.left, &b.top, &b.right, &b.bottom) == 4;
    };
    unsigned style = 0, ex = 0, askedStyle = 0, askedEx = 0;
    if (std::sscanf(fields[0].c_str(), "%d", &w.id) != 1 || std::sscanf(fields[1].c_str(), "%d", &w.parent) != 1 ||
        !box(fields[5], w.rect) || !box(fields[6], w.client) || std::sscanf(fields[7].c_str(), "%x", &style) != 1 ||
        std::sscanf(fields[8].c_str(), "%x", &ex) != 1 || std::sscanf(fields[10].c_str(), "%x", &askedStyle) != 1 ||
        std::sscanf(fields[11].c_str(), "%x", &askedEx) != 1)
      continue;
    w.kind = fields[2];
    w.className = fields[3];
    w.library = fields[4];
    w.style = style;
    w.exStyle = ex;
    w.text = fields[9];
    w.askedStyle = askedStyle;
    w.askedExStyle = askedEx;
    if (fields.size() == 13) w.state = fields[12];
    out.push_back(std::move(w));
  }
  return out;
}

Box GrabArea(const std::vector<ListedWindow>& Windows, int ScreenWidth, int ScreenHeight) {
  Box all;
  bool any = false;
  for (const ListedWindow& w : Windows) {
    if (w.kind != "top" || w.rect.Empty()) continue;
    if (!any) {
      all = w.rect;
      any = true;
    } else {
      all = {std::min(all.left, w.rect.left), std::min(all.top, w.rect.top), std::max(all.right, w.rect.right),
             std::max(all.bottom, w.rect.bottom)};
    }
  }
  return Intersect(all, {0, 0, ScreenWidth, ScreenHeight});
}

Verdict Judge(const ScreenPicture& Picture, const std::vector<ListedWindow>& Windows) {
  return Judgement(Picture, Windows).Run();
}

bool ListedWindow::Is(std::string_view Word) const {
  std::istringstream words(state);
  for (std::string w; words >> w;)
    if (w == Word) return true;
  return false;
}

Box ListedWindow::Place(std::string_view Name) const {
  std::istringstream words(state);
  const std::string prefix = std::string(Name) + "=";
  for (std::string w; words >> w;) {
    Box b;
    if (w.rfind(prefix, 0) == 0 && std::sscanf(w.c_str() + prefix.size(), "%d,%d,%d,%d", &b.left, &b.top, &b.right, &b.bottom) == 4)
      return b;
  }
  return {};
}

std::string ListedWindow::Mark() const {
  for (const char* mark : {"checked", "unchecked", "grayed"})
    if (Is(mark)) return mark;
  return {};
}

namespace {

// A window of one picture's list and the same window in another's.
struct Pair {
  int before, after;
};

std::vector<Pair> SameWindows(const Shot& Before, const Shot& After) {
  auto key = [](const ListedWindow& w) {
    return w.kind + '\t' + w.className + '\t' + w.library + '\t' + std::to_string(w.rect.left) + ' ' +
           std::to_string(w.rect.top) + ' ' + std::to_string(w.rect.right) + ' ' + std::to_string(w.rect.bottom) + '\t' + w.text;
  };
  std::map<std::string, int> before;
  for (size_t i = 0; i < Before.windows.size(); ++i) before.emplace(key(Before.windows[i]), static_cast<int>(i));
  std::vector<Pair> pairs;
  for (size_t i = 0; i < After.windows.size(); ++i)
    if (const auto found = before.find(key(After.windows[i])); found != before.end())
      pairs.push_back({found->second, static_cast<int>(i)});
  return pairs;
}

// The pixels of the window shown in both pictures that differ between them.
int Changed(const Judgement& Before, const Shot& B, const Judgement& After, const Shot& A, const Pair& P) {
  const Box area = Intersect(Before.Visible(P.before), After.Visible(P.after));
  int changed = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (Before.OwnsPixel(P.before, x, y) && After.OwnsPixel(P.after, x, y) &&
          Difference(B.picture.At(x, y), A.picture.At(x, y)) >= kInk)
        ++changed;
  return changed;
}

// Fewer changed pixels are a mark's dot; more are a look.
constexpr int kMarkShown = 6;
constexpr int kLookChanged = 12;

}  // namespace

std::vector<std::string> JudgeTurnedMarks(const Shot& Before, const Shot& After) {
  const Judgement before(Before.picture, Before.windows), after(After.picture, After.windows);
  std::vector<std::string> faults;
  for (const Pair& p : SameWindows(Before, After)) {
    const ListedWindow &b = Before.windows[static_cast<size_t>(p.before)], &a = After.windows[static_cast<size_t>(p.after)];
    if (a.Mark().empty() || b.Mark().empty() || a.Mark() == b.Mark()) continue;
    if (const int changed = Changed(before, Before, after, After, p); changed < kMarkShown)
      faults.push_back(a.Describe() + ": " + a.Mark() + ", it looks as it did " + b.Mark() + " (" + std::to_string(changed) +
                       " pixels differ)");
  }
  return faults;
}

std::vector<std::string> JudgeSameLooks(const Shot& Before, const Shot& After) {
  const Judgement before(Before.picture, Before.windows), after(After.picture, After.windows);
  std::vector<std::string> faults;
  for (const Pair& p : SameWindows(Before, After)) {
    const ListedWindow &b = Before.windows[static_cast<size_t>(p.before)], &a = After.windows[static_cast<size_t>(p.after)];
    if (a.Is("focused") || b.Is("focused") || a.Is("active") != b.Is("active") || a.Mark() != b.Mark()) continue;
    if (const int changed = Changed(before, Before, after, After, p); changed >= kLookChanged)
      faults.push_back(a.Describe() + ": looks other than before the moves (" + std::to_string(changed) + " pixels differ)");
  }
  return faults;
}

}  // namespace gallery::sweep
