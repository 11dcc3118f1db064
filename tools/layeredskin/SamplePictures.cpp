#include "tools/layeredskin/SamplePictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace layeredskin {

namespace {

constexpr std::uint32_t kKey = 0xFF00FF;
const double kPi = std::acos(-1.0);

std::string Digits(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

// ---------------------------------------------------------------------------------------
// Shapes used by many pictures

// A rounded box: a 1-pixel border over a vertical gradient.
Raster Box(int w, int h, double r, Rgb top, Rgb bottom, Rgb border, double opacity = 1) {
  Raster f(w, h);
  f.RoundRect(0, 0, w, h, r, Solid(border), opacity);
  f.RoundRect(1, 1, w - 2, h - 2, std::max(r - 1, 0.0), Vertical(top, bottom, 1, h - 1), opacity);
  return f;
}

// A rounded frame without a face: the face shows the section's own background.
Raster Outline(int w, int h, double r, Rgb border, double thickness = 1, double opacity = 1) {
  Raster f(w, h);
  f.RoundFrame(0, 0, w, h, r, thickness, Solid(border), opacity);
  return f;
}

// A soft blob of colour falling off to nothing at the ellipse's edge.
void Glow(Raster& f, double cx, double cy, double rx, double ry, Rgb c, double peak) {
  for (int y = 0; y < f.Height(); ++y)
    for (int x = 0; x < f.Width(); ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d >= 1) continue;
      Raster dot(1, 1);
      dot.At(0, 0) = {c.r, c.g, c.b, peak * (1 - d) * (1 - d)};
      f.Draw(dot, x, y);
    }
}

// A soft shadow Band pixels wide round the rectangle (x, y, w, h).
void SoftShadow(Raster& f, double x, double y, double w, double h, double band, Rgb c, double peak) {
  for (int py = 0; py < f.Height(); ++py)
    for (int px = 0; px < f.Width(); ++px) {
      const double cx = std::clamp(px + 0.5, x, x + w), cy = std::clamp(py + 0.5, y, y + h);
      const double d = std::hypot(px + 0.5 - cx, py + 0.5 - cy) / band;
      if (d >= 1) continue;
      Raster dot(1, 1);
      dot.At(0, 0) = {c.r, c.g, c.b, peak * (1 - d) * (1 - d)};
      f.Draw(dot, px, py);
    }
}

// Title-button glyphs centred at (cx, cy), S the half size.
enum class GlyphKind { Close, Max, Norm, Min, Help };
void TitleGlyph(Raster& f, GlyphKind kind, double cx, double cy, double s, Rgb c) {
  const double t = s >= 4 ? 1.6 : 1.3;
  switch (kind) {
    case GlyphKind::Close:
      f.Line(cx - s, cy - s, cx + s, cy + s, t, Solid(c));
      f.Line(cx - s, cy + s, cx + s, cy - s, t, Solid(c));
      break;
    case GlyphKind::Max:
      f.RoundFrame(cx - s - 0.5, cy - s, 2 * s + 1, 2 * s, 1, 1.2, Solid(c));
      f.RoundRect(cx - s - 0.5, cy - s, 2 * s + 1, 2, 0.5, Solid(c));
      break;
    case GlyphKind::Norm:
      f.RoundFrame(cx - s + 2, cy - s - 1, 2 * s - 1, 2 * s - 2, 1, 1.1, Solid(c));
      f.RoundRect(cx - s - 1, cy - s + 2, 2 * s - 1, 2 * s - 2, 1, Solid(c));
      break;
    case GlyphKind::Min:
      f.RoundRect(cx - s, cy + s - 2, 2 * s, 2, 0.5, Solid(c));
      break;
    case GlyphKind::Help: {
      // An arc over a stem and a dot.
      const double r = s * 0.62;
      double px = cx + r * std::cos(kPi * 1.1), py = cy - s * 0.35 + r * std::sin(kPi * 1.1);
      for (int i = 1; i <= 14; ++i) {
        const double a = kPi * 1.1 + i * (kPi * 1.4 / 14);
        const double nx = cx + r * std::cos(a), ny = cy - s * 0.35 + r * std::sin(a);
        f.Line(px, py, nx, ny, t, Solid(c));
        px = nx, py = ny;
      }
      f.Line(px, py, cx, cy + s * 0.3, t, Solid(c));
      f.Ellipse(cx, cy + s * 0.95, t * 0.7, t * 0.7, Solid(c));
      break;
    }
  }
}

// Three states of a title button: the glyph alone, on a hot face, on a pressed face.
// Rimmed glyphs keep a dark edge round the white: the small ones stand on captions and also on
// an MDI frame's light menu line (a maximised document's buttons).
std::vector<Raster> TitleButton(const Palette& p, int w, int h, GlyphKind kind, bool close, bool rimmed = false) {
  std::vector<Raster> frames;
  const double s = std::min(w, h) * 0.22;
  Raster rim(w, h);
  if (rimmed) TitleGlyph(rim, kind, w / 2.0, h / 2.0, s, p.borderDark);
  for (int state = 0; state < 3; ++state) {
    Raster f(w, h);
    if (state > 0) {
      if (close) f.RoundRect(1, 1, w - 2, h - 2, 4, Solid(state == 1 ? p.closeHot : p.closePressed));
      else if (rimmed && state == 1) f.RoundRect(1, 1, w - 2, h - 2, 4, Solid(p.accent), 0.3);
      else f.RoundRect(1, 1, w - 2, h - 2, 4, Solid(state == 1 ? p.white : p.shadow), state == 1 ? 0.24 : 0.22);
    }
    if (rimmed)
      for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) f.Draw(rim, dx, dy);
    TitleGlyph(f, kind, w / 2.0, h / 2.0, s, p.white);
    frames.push_back(std::move(f));
  }
  return frames;
}

// A check-box or radio glyph in three states (normal, hot, pressed).
enum class Mark { None, Check, Grayed };
std::vector<Raster> CheckGlyph(const Palette& p, int size, bool radio, Mark mark) {
  std::vector<Raster> frames;
  for (int state = 0; state < 3; ++state) {
    Raster f(size, size);
    const bool filled = mark == Mark::Check;
    const Rgb border = filled ? (state == 2 ? p.accentDark : p.accent) : (state == 0 ? p.border : p.accentLight);
    const Rgb top = filled ? (state == 1 ? p.accentLight : p.accent) : (state == 2 ? p.accentPale : p.white);
    const Rgb bottom = filled ? (state == 2 ? p.accentDark : p.accent.Mix(p.accentDark, 0.5)) : (state == 0 ? p.faceLight : p.accentPale);
    const double c = size / 2.0;
    if (radio) {
      f.Ellipse(c, c, c, c, Solid(border));
      f.Ellipse(c, c, c - 1, c - 1, Vertical(top, bottom, 1, size - 1));
      if (filled) f.Ellipse(c, c, size * 0.18, size * 0.18, Solid(p.white));
    } else {
      f.RoundRect(0, 0, size, size, size * 0.2, Solid(border));
      f.RoundRect(1, 1, size - 2, size - 2, size * 0.2 - 1, Vertical(top, bottom, 1, size - 1));
      if (mark == Mark::Check) {
        const double k = size / 15.0;
        f.Line(3.6 * k, 7.8 * k, 6.3 * k, 10.5 * k, 1.9 * k, Solid(p.white));
        f.Line(6.3 * k, 10.5 * k, 11.4 * k, 4.6 * k, 1.9 * k, Solid(p.white));
      } else if (mark == Mark::Grayed) {
        f.RoundRect(size * 0.28, size * 0.28, size * 0.44, size * 0.44, 1, Solid(state == 2 ? p.accentDark : p.accent));
      }
    }
    frames.push_back(std::move(f));
  }
  return frames;
}

// A small filled arrow pointing to Side (0 left, 1 up, 2 right, 3 down), in three states.
std::vector<Raster> Arrow(const Palette& p, int w, int h, int side) {
  std::vector<Raster> frames;
  for (int state = 0; state < 3; ++state) {
    Raster f(w, h);
    const Rgb c = state == 0 ? p.glyph : state == 1 ? p.accentDark : p.text;
    const double cx = w / 2.0, cy = h / 2.0, a = std::min(w, h) * 0.42, b = a * 0.6;
    std::vector<std::pair<double, double>> pts;
    switch (side) {
      case 0: pts = {{cx - b, cy}, {cx + b, cy - a}, {cx + b, cy + a}}; break;
      case 1: pts = {{cx, cy - b}, {cx + a, cy + b}, {cx - a, cy + b}}; break;
      case 2: pts = {{cx + b, cy}, {cx - b, cy + a}, {cx - b, cy - a}}; break;
      default: pts = {{cx, cy + b}, {cx - a, cy - b}, {cx + a, cy - b}}; break;
    }
    f.Polygon(pts, Solid(c));
    frames.push_back(std::move(f));
  }
  return frames;
}

std::vector<Raster> Each(const std::vector<Raster>& frames, Raster (Raster::*change)() const) {
  std::vector<Raster> out;
  for (const Raster& f : frames) out.push_back((f.*change)());
  return out;
}

Picture Masked(std::vector<Raster> frames) { return Picture{std::move(frames), 1}; }
Picture Keyed(std::vector<Raster> frames) { return Picture{std::move(frames), 0}; }

// ---------------------------------------------------------------------------------------
// The master bitmap's parts

void AddTitleButtons(const Palette& p, std::vector<MasterPart>& parts) {
  const struct {
    const char* key;
    GlyphKind kind;
    bool small;
  } buttons[] = {
      {"BICONCLOSE", GlyphKind::Close, false}, {"BICLOSEALONE", GlyphKind::Close, false},
      {"BICONMAX", GlyphKind::Max, false},     {"BICONNORM", GlyphKind::Norm, false},
      {"BICONMIN", GlyphKind::Min, false},     {"BICONHELP", GlyphKind::Help, false},
      {"SICONCLOSE", GlyphKind::Close, true},  {"SICONMAX", GlyphKind::Max, true},
      {"SICONNORM", GlyphKind::Norm, true},    {"SICONMIN", GlyphKind::Min, true},
      {"SICONHELP", GlyphKind::Help, true},
  };
  for (const auto& b : buttons) {
    const int w = b.small ? 20 : 30, h = b.small ? 16 : 22;
    parts.push_back(
        {"GLOBALINFO", b.key, '^', Masked(TitleButton(p, w, h, b.kind, b.kind == GlyphKind::Close, b.small)), {}, 0, 0});
  }
  // The glows round the hot close, maximise and minimise buttons.
  const struct {
    const char* key;
    Rgb color;
  } glows[] = {{"BICONCLOSEGLOW0", p.closeHot}, {"BICONMAXGLOW0", p.white}, {"BICONMINGLOW0", p.white}};
  for (const auto& g : glows) {
    Raster f(46, 38);
    Glow(f, 23, 19, 23, 19, g.color, 0.55);
    parts.push_back({"GLOBALINFO", g.key, '^', Masked({f}), {}, 0, 0});
  }
  std::vector<Raster> user;
  for (int state = 0; state < 3; ++state) {
    Raster f(22, 18);
    f.RoundRect(1, 1, 20, 16, 4, Solid(state == 2 ? p.shadow : p.white), state == 0 ? 0.12 : state == 1 ? 0.26 : 0.2);
    user.push_back(std::move(f));
  }
  parts.push_back({"GLOBALINFO", "TITLEBUTTON", '^', Masked(user), {}, 0, 0});
}

void AddCheckGlyphs(const Palette& p, std::vector<MasterPart>& parts) {
  parts.push_back({"GLOBALINFO", "BOXUNCHECKED", '^', Masked(CheckGlyph(p, 15, false, Mark::None)), {}, 0, 0});
  parts.push_back({"GLOBALINFO", "BOXCHECKED", '^', Masked(CheckGlyph(p, 15, false, Mark::Check)), {}, 0, 0});
  parts.push_back({"GLOBALINFO", "BOXGRAYED", '^', Masked(CheckGlyph(p, 15, false, Mark::Grayed)), {}, 0, 0});
  parts.push_back({"GLOBALINFO", "RADIOUNCHECKED", '^', Masked(CheckGlyph(p, 15, true, Mark::None)), {}, 0, 0});
  parts.push_back({"GLOBALINFO", "RADIOCHECKED", '^', Masked(CheckGlyph(p, 15, true, Mark::Check)), {}, 0, 0});
  parts.push_back({"GLOBALINFO", "SMALLUNCHECKED", '^', Masked(CheckGlyph(p, 12, false, Mark::None)), {}, 0, 0});
  parts.push_back({"GLOBALINFO", "SMALLCHECKED", '^', Masked(CheckGlyph(p, 12, false, Mark::Check)), {}, 0, 0});
  parts.push_back({"GLOBALINFO", "SMALLGRAYED", '^', Masked(CheckGlyph(p, 12, false, Mark::Grayed)), {}, 0, 0});
}

void AddGrips(const Palette& p, std::vector<MasterPart>& parts) {
  // Hard-edged pixels over the key colour.
  Raster grip(12, 12);
  for (int row = 0; row < 4; ++row)
    for (int col = 3 - row; col < 4; ++col) grip.RoundRect(col * 3 + 1, row * 3 + 1, 2, 2, 0, Solid(p.glyph));
  parts.push_back({"GLOBALINFO", "GRIPIMAGE", '@', Keyed({grip}), {}, 0, 0});
  Raster horz(8, 7), vert(7, 8);
  for (int i = 0; i < 3; ++i) {
    horz.RoundRect(1 + i * 3, 0, 1, 7, 0, Solid(p.glyph));
    vert.RoundRect(0, 1 + i * 3, 7, 1, 0, Solid(p.glyph));
  }
  parts.push_back({"GLOBALINFO", "GRIPHORZ", '@', Keyed({horz}), {}, 0, 0});
  parts.push_back({"GLOBALINFO", "GRIPVERT", '@', Keyed({vert}), {}, 0, 0});
  // The outline shadow layer's image: a faint light line round the form.
  parts.push_back({"GLOBALINFO", "LO_MASK", '^', Masked({Outline(9, 9, 3, p.white, 1, 0.55)}), {4, 4, 4, 4}, 0, 0});
}

void AddControls(const Palette& p, std::vector<MasterPart>& parts) {
  // Push buttons: normal, hot, pressed, default.
  auto buttons = [&](int w, int h, double r) {
    return std::vector<Raster>{
        Box(w, h, r, p.white, p.face, p.border),
        Box(w, h, r, p.white.Mix(p.accentPale, 0.4), p.accentPale, p.accentLight),
        Box(w, h, r, p.accentPale.Mix(p.accentLight, 0.45), p.accentPale, p.accentDark),
        [&] {
          Raster f = Box(w, h, r, p.white, p.face, p.accent);
          f.RoundFrame(1, 1, w - 2, h - 2, r - 1, 1, Solid(p.accentLight), 0.7);
          return f;
        }(),
    };
  };
  parts.push_back({"BUTTON", "BORDERSMASK", '^', Masked(buttons(28, 24, 4)), {6, 6, 6, 6}, 5, 0});
  parts.push_back({"BUTTON_HUGE", "BORDERSMASK", '^', Masked(buttons(40, 36, 8)), {10, 10, 10, 10}, 5, 0});

  // Edits: a border round the section's own face, brighter when hot.
  Raster editHot = Outline(16, 16, 3, p.accentLight);
  editHot.RoundFrame(1, 1, 14, 14, 2, 1, Solid(p.accentPale));
  parts.push_back({"EDIT", "BORDERSMASK", '^', Masked({Outline(16, 16, 3, p.border), editHot}), {4, 4, 4, 4}, 1, 0});
  parts.push_back({"COMBOBOX", "GLYPHMASK", '^', Masked(Arrow(p, 11, 8, 3)), {}, 0, 0});
  std::vector<Raster> combo;
  for (int state = 0; state < 3; ++state) {
    Raster f(18, 22);
    if (state > 0) f.RoundRect(0, 0, 18, 22, 3, Solid(state == 1 ? p.accentPale : p.accentLight));
    f.Line(0.5, 3, 0.5, 19, 1, Solid(p.borderLight));
    combo.push_back(std::move(f));
  }
  parts.push_back({"COMBOBTN", "BORDERSMASK", '^', Masked(combo), {4, 4, 4, 4}, 5, 0});

  // Scroll bars: buttons with an arrow each, the track and the thumb.
  std::vector<Raster> scrollButton;
  for (int state = 0; state < 3; ++state) {
    Raster f(16, 16);
    if (state > 0) f.RoundRect(1, 1, 14, 14, 3, Solid(state == 1 ? p.faceDark : p.border));
    scrollButton.push_back(std::move(f));
  }
  parts.push_back({"SCROLLBTNLEFT", "BORDERSMASK", '^', Masked(scrollButton), {4, 4, 4, 4}, 5, 0});
  const char* sides[] = {"SCROLLBTNLEFT", "SCROLLBTNTOP", "SCROLLBTNRIGHT", "SCROLLBTNBOTTOM"};
  for (int side = 0; side < 4; ++side) parts.push_back({sides[side], "GLYPHMASK", '^', Masked(Arrow(p, 9, 9, side)), {}, 0, 0});
  Raster track(12, 12), trackHot(12, 12);
  track.RoundRect(0, 0, 12, 12, 0, Solid(p.faceLight.Mix(p.face, 0.35)));
  trackHot.RoundRect(0, 0, 12, 12, 0, Solid(p.face));
  parts.push_back({"SCROLLBAR1H", "BORDERSMASK", '^', Masked({track, trackHot}), {3, 3, 3, 3}, 5, 0});
  std::vector<Raster> thumb;
  for (Rgb c : {p.faceDark, p.border, p.borderDark}) {
    Raster f(16, 16);
    f.RoundRect(2, 2, 12, 12, 4, Solid(c));
    thumb.push_back(std::move(f));
  }
  parts.push_back({"SCROLLSLIDERH", "BORDERSMASK", '^', Masked(thumb), {6, 6, 6, 6}, 5, 0});

  // Tabs: normal, hot, active; drawn on top and turned for the other sides.
  std::vector<Raster> tab;
  for (int state = 0; state < 3; ++state) {
    Raster f(24, 24);
    const Rgb top = state == 2 ? p.white : state == 1 ? p.white.Mix(p.faceLight, 0.5) : p.faceLight;
    const Rgb bottom = state == 2 ? p.white : state == 1 ? p.faceLight : p.face;
    f.RoundRect(0, 0, 24, 28, 4, Solid(state == 2 ? p.border : p.borderLight));
    f.RoundRect(1, 1, 22, 27, 3, Vertical(top, bottom, 1, 24));
    if (state == 2) f.RoundRect(1, 1, 22, 2, 1, Solid(p.accent));
    tab.push_back(std::move(f));
  }
  parts.push_back({"TABTOP", "BORDERSMASK", '^', Masked(tab), {5, 5, 5, 5}, 5, 0});
  parts.push_back({"TABBOTTOM", "BORDERSMASK", '^', Masked(Each(tab, &Raster::MirroredY)), {5, 5, 5, 5}, 5, 0});
  const std::vector<Raster> right = Each(tab, &Raster::Rotated);
  parts.push_back({"TABRIGHT", "BORDERSMASK", '^', Masked(right), {5, 5, 5, 5}, 5, 0});
  parts.push_back({"TABLEFT", "BORDERSMASK", '^', Masked(Each(right, &Raster::MirroredX)), {5, 5, 5, 5}, 5, 0});

  // Menus: the hot item, the separator; the status bar's divider and panels.
  Raster item(24, 20), itemHot = Box(24, 20, 3, p.accentPale.Mix(p.white, 0.3), p.accentPale, p.accentLight);
  parts.push_back({"MENUITEM", "BORDERSMASK", '^', Masked({item, itemHot}), {5, 5, 5, 5}, 5, 0});
  // A menu divider item is two pixels high: the line and its light edge below.
  Raster separator(12, 2);
  separator.RoundRect(0, 0, 12, 1, 0, Solid(p.borderLight));
  separator.RoundRect(0, 1, 12, 1, 0, Solid(p.white), 0.8);
  parts.push_back({"DIVIDERV", "BORDERSMASK", '^', Masked({separator}), {2, 1, 2, 1}, 5, 0});
  Raster divider(4, 16);
  divider.RoundRect(1, 2, 1, 12, 0, Solid(p.borderLight));
  divider.RoundRect(2, 2, 1, 12, 0, Solid(p.white), 0.8);
  parts.push_back({"DIVIDER", "BORDERSMASK", '^', Masked({divider}), {1, 4, 1, 4}, 5, 0});
  parts.push_back({"STATUSBAR", "STATUSPANELMASK", '^', Masked({Outline(12, 12, 2, p.borderLight)}), {3, 3, 3, 3}, 1, 0});

  // Progress: the trough and the bar.
  parts.push_back({"GAUGE", "BORDERSMASK", '^', Masked({Box(14, 14, 4, p.face, p.faceLight, p.borderLight)}), {5, 5, 5, 5}, 5, 0});
  Raster bar(14, 14);
  bar.RoundRect(1, 1, 12, 12, 3, Vertical(p.progressTop, p.progressBottom, 1, 13));
  bar.RoundRect(2, 2, 10, 4, 2, Solid(p.white), 0.3);
  parts.push_back({"GAUGE", "PROGRESSH", '^', Masked({bar}), {5, 5, 5, 5}, 5, 0});
  parts.push_back({"GAUGE", "PROGRESSV", '^', Masked({bar.Rotated()}), {5, 5, 5, 5}, 5, 0});

  // Track bars: the channel, the thumb pointing down (and right), the ticks.
  parts.push_back({"TRACKBAR", "SLIDERCHANNEL", '^', Masked({Box(12, 6, 3, p.faceDark, p.face, p.border)}), {3, 2, 3, 2}, 5, 0});
  std::vector<Raster> thumbs;
  for (int state = 0; state < 2; ++state) {
    Raster f(13, 21);
    const std::vector<std::pair<double, double>> outline{{0, 2}, {2, 0}, {11, 0}, {13, 2}, {13, 15}, {6.5, 21}, {0, 15}};
    f.Polygon(outline, Solid(state ? p.accentDark : p.border));
    const std::vector<std::pair<double, double>> face{{1, 2.5}, {2.5, 1}, {10.5, 1}, {12, 2.5},
                                                      {12, 14.6}, {6.5, 19.6}, {1, 14.6}};
    f.Polygon(face, Vertical(state ? p.accentPale : p.white, state ? p.accentLight : p.face, 1, 20));
    thumbs.push_back(std::move(f));
  }
  parts.push_back({"TRACKBAR", "SLIDERMASK", '^', Masked(thumbs), {}, 0, 0});
  parts.push_back({"TRACKBAR", "SLIDERVMASK", '^', Masked(Each(Each(thumbs, &Raster::Rotated), &Raster::MirroredX)), {}, 0, 0});
  Raster tickH(1, 4), tickV(4, 1);
  tickH.RoundRect(0, 0, 1, 4, 0, Solid(p.borderDark));
  tickV.RoundRect(0, 0, 4, 1, 0, Solid(p.borderDark));
  parts.push_back({"TRACKBAR", "TICKHORZ", '@', Keyed({tickH}), {}, 0, 0});
  parts.push_back({"TRACKBAR", "TICKVERT", '@', Keyed({tickV}), {}, 0, 0});

  // Column headers: normal, hot, pressed, with a separator on the right.
  std::vector<Raster> header;
  for (int state = 0; state < 3; ++state) {
    Raster f(20, 20);
    const Rgb top = state == 0 ? p.white : state == 1 ? p.accentPale.Mix(p.white, 0.5) : p.face;
    const Rgb bottom = state == 0 ? p.faceLight : state == 1 ? p.accentPale : p.faceDark;
    f.RoundRect(0, 0, 20, 20, 0, Vertical(top, bottom, 0, 20));
    f.RoundRect(0, 19, 20, 1, 0, Solid(p.borderLight));
    f.RoundRect(19, 3, 1, 14, 0, Solid(p.borderLight));
    header.push_back(std::move(f));
  }
  parts.push_back({"COLHEADER", "BORDERSMASK", '^', Masked(header), {3, 3, 3, 3}, 5, 0});
}

// ---------------------------------------------------------------------------------------
// Image files

std::vector<FilePicture> DrawFiles(const Palette& p) {
  std::vector<FilePicture> files;
  // The form frame, inactive and active: a line round a light band as wide as the border,
  // rounded above; its middle is the form's own.
  auto frameShape = [](double inset) {
    return [inset](double px, double py) {
      const double lo = inset, hi = 20 - inset, top = 6 - inset, bottom = std::max(2 - inset, 0.0);
      if (px < lo || py < lo || px > hi || py > hi) return false;
      if (py < lo + top) {
        const double cx = std::clamp(px, lo + top, hi - top), cy = lo + top;
        return std::hypot(px - cx, py - cy) <= top;
      }
      if (py > hi - bottom) {
        const double cx = std::clamp(px, lo + bottom, hi - bottom), cy = hi - bottom;
        return std::hypot(px - cx, py - cy) <= bottom;
      }
      return true;
    };
  };
  std::vector<Raster> form;
  for (Rgb line : {p.border, p.accentDark}) {
    Raster f(20, 20);
    f.Fill(frameShape(0), 0, 0, 20, 20, Solid(line));
    f.Fill(frameShape(1), 0, 0, 20, 20, Vertical(p.white, p.faceLight, 1, 8));
    for (int y = 5; y < 15; ++y)
      for (int x = 5; x < 15; ++x) f.At(x, y).a = 0;
    form.push_back(std::move(f));
  }
  files.push_back({"Form.png", Masked(form)});

  // Flat buttons of tool bars: nothing until hot.
  std::vector<Raster> flat;
  flat.emplace_back(22, 22);
  flat.push_back(Box(22, 22, 4, p.white.Mix(p.accentPale, 0.5), p.accentPale, p.accentLight));
  flat.push_back(Box(22, 22, 4, p.accentPale.Mix(p.accentLight, 0.5), p.accentPale, p.accentDark));
  files.push_back({"FlatButton.png", Masked(flat)});

  Raster menu = Outline(24, 24, 3, p.border);
  menu.RoundFrame(1, 1, 22, 22, 2, 2, Solid(p.white));
  files.push_back({"Menu.png", Masked({menu})});
  files.push_back({"GroupBox.png", Masked({Outline(24, 24, 5, p.borderLight)})});
  files.push_back({"Page.png", Masked({Outline(16, 16, 2, p.border)})});

  Raster raised(16, 16), sunken(16, 16);
  raised.RoundFrame(0, 0, 16, 16, 3, 1, Solid(p.borderLight));
  raised.RoundFrame(1, 1, 14, 14, 2, 1, Vertical(p.white, p.faceLight, 1, 15));
  sunken.RoundFrame(0, 0, 16, 16, 3, 1, Solid(p.border));
  sunken.RoundRect(1, 1, 14, 2, 1, Solid(p.shadow), 0.08);
  files.push_back({"Panel.png", Masked({raised})});
  files.push_back({"PanelLow.png", Masked({sunken})});

  Raster hint(32, 32);
  SoftShadow(hint, 4, 4, 24, 25, 4, p.shadow, 0.28);
  // The shadow lies outside the frame only: inside, the hint's own face shows.
  for (int y = 4; y < 28; ++y)
    for (int x = 4; x < 28; ++x) hint.At(x, y).a = 0;
  hint.RoundFrame(3, 3, 26, 26, 5, 1, Solid(p.hintBorder));
  hint.RoundFrame(4, 4, 24, 24, 4, 2, Solid(p.hint));
  files.push_back({"Hint.png", Masked({hint})});

  // The extended border: a soft shadow round the form, stronger when active. Its margins reach
  // the form offset (4 pixels) into the form's window, which the border window shows in place of
  // the form's own frame: that band is the frame, opaque (a see-through band left the form
  // without its frame where the display has no per-pixel alpha).
  std::vector<Raster> ex;
  for (const bool active : {false, true}) {
    Raster f(64, 64);
    SoftShadow(f, 20, 18, 24, 24, 18, p.shadow, active ? 0.38 : 0.22);
    constexpr int left = 16, top = 14, right = 48, bottom = 46, offset = 4;
    const Rgb line = active ? p.accentDark : p.border, titleTop = active ? p.accent : p.face;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) {
        Rgb c = y < top + offset ? titleTop : p.faceLight;
        if (x == left || x == right - 1 || y == top || y == bottom - 1) c = line;
        const bool inside = x >= left + offset && x < right - offset && y >= top + offset && y < bottom - offset;
        f.At(x, y) = inside ? Rgba{} : Rgba{c.r, c.g, c.b, 1};
      }
    ex.push_back(std::move(f));
  }
  files.push_back({"ExBorder.png", Masked(ex)});
  return files;
}

Raster Grain(const Palette& p) {
  Raster f(64, 64);
  std::uint32_t x = 0x9E3779B9u;
  for (int py = 0; py < 64; ++py)
    for (int px = 0; px < 64; ++px) {
      x ^= x << 13, x ^= x >> 17, x ^= x << 5;
      const double n = (static_cast<int>(x % 9) - 4) * 1.6;
      const Rgb c = p.faceLight;
      f.At(px, py) = {c.r + n, c.g + n, c.b + n, 1};
    }
  return f;
}

// Shelves of parts, at most kMasterWidth wide, two pixels apart.
constexpr int kMasterWidth = 320;

void Layout(SamplePictures& s) {
  int x = 0, y = 0, shelf = 0;
  for (MasterPart& part : s.Parts) {
    const int w = part.Image.Width(), h = part.Image.Height();
    if (x > 0 && x + w > kMasterWidth) {
      x = 0;
      y += shelf + 2;
      shelf = 0;
    }
    part.X = x, part.Y = y;
    x += w + 2;
    shelf = std::max(shelf, h);
    s.MasterWidth = std::max(s.MasterWidth, part.X + w);
  }
  s.MasterHeight = y + shelf;
}

}  // namespace

Palette Palette::Lagoon() {
  Palette p;
  p.accent = Rgb::Hex(0x2F80D9);
  p.accentLight = Rgb::Hex(0x66A8EE);
  p.accentDark = Rgb::Hex(0x1D5FAE);
  p.accentPale = Rgb::Hex(0xDCEBFB);
  p.face = Rgb::Hex(0xE4EAF0);
  p.faceLight = Rgb::Hex(0xF4F7FA);
  p.faceDark = Rgb::Hex(0xC9D3DD);
  p.border = Rgb::Hex(0xA3B1C0);
  p.borderLight = Rgb::Hex(0xCDD6E0);
  p.borderDark = Rgb::Hex(0x7D8C9C);
  p.text = Rgb::Hex(0x1E2833);
  p.glyph = Rgb::Hex(0x56667A);
  p.white = Rgb::Hex(0xFFFFFF);
  p.closeHot = Rgb::Hex(0xE0453A);
  p.closePressed = Rgb::Hex(0xB8322A);
  p.progressTop = Rgb::Hex(0x63B3F6);
  p.progressBottom = Rgb::Hex(0x2676CF);
  p.hint = Rgb::Hex(0xFBFDFF);
  p.hintBorder = Rgb::Hex(0x8FB5DD);
  p.shadow = Rgb::Hex(0x1B2633);
  return p;
}

Palette Palette::Recoloured(const std::function<Rgb(Rgb)>& Change) const {
  Palette p = *this;
  for (Rgb* c : {&p.accent, &p.accentLight, &p.accentDark, &p.accentPale, &p.face, &p.faceLight, &p.faceDark,
                 &p.border, &p.borderLight, &p.borderDark, &p.text, &p.glyph, &p.white, &p.closeHot, &p.closePressed,
                 &p.progressTop, &p.progressBottom, &p.hint, &p.hintBorder, &p.shadow})
    *c = Change(*c);
  return p;
}

std::vector<std::uint32_t> Picture::Pixels() const {
  const int fw = FrameWidth(), fh = FrameHeight(), w = Width();
  std::vector<std::uint32_t> out(static_cast<std::size_t>(w * Height()), kKey);
  for (std::size_t i = 0; i < Frames.size(); ++i) {
    Raster colour = Frames[i];
    colour.SpreadColor();
    for (int y = 0; y < fh; ++y)
      for (int x = 0; x < fw; ++x) {
        const Rgba& c = colour.At(x, y);
        const std::uint32_t rgb = Rgb{c.r, c.g, c.b}.ToHex();
        const int px = static_cast<int>(i) * fw + x;
        if (MaskType == 0) {
          out[static_cast<std::size_t>(y * w + px)] = c.a >= 0.5 ? rgb : kKey;
          continue;
        }
        // A colour that happens to be the key would read as a hole.
        out[static_cast<std::size_t>(y * w + px)] = rgb == kKey ? 0xFE00FE : rgb;
        const auto m = static_cast<std::uint32_t>(std::lround(255 * (1 - std::clamp(c.a, 0.0, 1.0))));
        out[static_cast<std::size_t>((y + fh) * w + px)] = m << 16 | m << 8 | m;
      }
  }
  return out;
}

std::string MasterPart::Descriptor() const {
  const int right = X + Image.Width(), bottom = Y + Image.Height();
  const std::string count = std::to_string(Image.Frames.size()), mask = std::to_string(Image.MaskType);
  switch (Kind) {
    case '@':
      return "@" + Digits(X, 4) + "," + Digits(Y, 4) + "," + Digits(right, 4) + "," + Digits(bottom, 4) + "," + count +
             "," + mask;
    case '~':
      return "~" + Digits(X, 4) + "~" + Digits(Y, 4) + "~" + Digits(right, 4) + "~" + Digits(bottom, 4) + "~" +
             Digits(DrawMode, 2) + "~" + mask;
    default:
      return "^" + Digits(X, 4) + "," + Digits(Y, 4) + "," + Digits(right, 4) + "," + Digits(bottom, 4) + "," +
             Digits(Margins[0], 4) + "," + Digits(Margins[1], 4) + "," + Digits(Margins[2], 4) + "," +
             Digits(Margins[3], 4) + "," + count + "," + mask + "," + std::to_string(DrawMode) + "," +
             std::to_string(MarginAll);
  }
}

std::vector<std::uint32_t> SamplePictures::MasterPixels() const {
  std::vector<std::uint32_t> out(static_cast<std::size_t>(MasterWidth * MasterHeight), kKey);
  for (const MasterPart& part : Parts) {
    const std::vector<std::uint32_t> pixels = part.Image.Pixels();
    const int w = part.Image.Width();
    for (int y = 0; y < part.Image.Height(); ++y)
      for (int x = 0; x < w; ++x)
        out[static_cast<std::size_t>((part.Y + y) * MasterWidth + part.X + x)] = pixels[static_cast<std::size_t>(y * w + x)];
  }
  return out;
}

SamplePictures DrawSamplePictures(const Palette& P) {
  SamplePictures s;
  AddTitleButtons(P, s.Parts);
  AddCheckGlyphs(P, s.Parts);
  AddGrips(P, s.Parts);
  AddControls(P, s.Parts);
  // A texture part: the grain, tiled behind MDI children.
  Raster tile(32, 32);
  tile.Draw(Grain(P), 0, 0);
  s.Parts.push_back({"MDIAREA", "PATTERN", '~', Keyed({tile}), {}, 0, 0});
  // The halo round a hot button, shown in a window of its own: a soft ring, clear where the
  // button lies.
  Raster halo(40, 36);
  SoftShadow(halo, 12, 12, 16, 12, 11, P.accentLight, 0.5);
  for (int y = 12; y < 24; ++y)
    for (int x = 12; x < 28; ++x) halo.At(x, y).a = 0;
  s.Parts.push_back({"BUTTON", "GLOW0", '^', Masked({halo}), {12, 12, 12, 12}, 0, 0});
  // Under the title buttons: a faint band rounded at its lower left. A part of the master
  // bitmap, as its descriptor can ask for the centre to be drawn: a picture file's has no
  // drawing flags, and the band would show its edges alone (a stripe after the caption).
  std::vector<Raster> titleBar;
  for (int active = 0; active < 2; ++active) {
    Raster f(30, 30);
    f.RoundRect(0, -6, 36, 34, 7, Solid(active ? P.accentDark : P.shadow), active ? 0.28 : 0.08);
    titleBar.push_back(std::move(f));
  }
  s.Parts.push_back({"FORM", "TITLEBAR", '^', Masked(titleBar), {8, 1, 1, 8}, 5, 0});
  Layout(s);
  s.Files = DrawFiles(P);
  s.TextureName = "Grain.bmp";
  s.Texture = Grain(P);
  return s;
}

}  // namespace layeredskin
