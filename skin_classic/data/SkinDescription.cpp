#include "skin_classic/data/SkinDescription.h"

#include <algorithm>

#include "classlib/graphics/GraphicsDibFormat.h"
#include "skin_classic/io/AsciiText.h"

namespace skin_classic {
namespace {

constexpr std::string_view kPersonality = "Personality";

constexpr std::array<std::string_view, kElementCount> kElementSections = {
    "Progress", "Progress.Chunk", kPersonality, "GroupBoxEdge", "GroupBox", "Tabs", "StatusBarEdges",
    "Tab.Pane", "ToolBars", "ComboButton", "SunkEdge", "ExtraImages", "Headerbar", "MenuItem",
    "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb",
    "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
    "Trackbar.ThumbUp", "Trackbar.ThumbDown", "UpDown.Horz", "UpDown.Vert", "Track", "TRACKVERT",
    "ComboxArrow", "Toolbar",
};

constexpr std::array<std::string_view, 4> kBorderNames = {"Left", "Right", "Top", "Bottom"};

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string Key(std::string_view a, std::string_view b) {
  std::string key(a);
  key += b;
  return key;
}

// Reads the description's values of one section.
class SectionReader {
 public:
  SectionReader(const TQuickIni& ini, std::string_view section) : ini_(ini), section_(section) {}

  std::int32_t Int(std::string_view key, std::int32_t defaultValue = 0) const {
    return ini_.ReadInteger(section_, key, defaultValue);
  }
  std::string Text(std::string_view key) const { return ini_.ReadString(section_, key, ""); }
  SkinColour Colour(std::string_view key, SkinColour defaultColour) const {
    return ColourOrDefault(Text(key), defaultColour);
  }
  bool Has(std::string_view key) const { return !Text(key).empty(); }
  std::string_view Section() const { return section_; }

 private:
  const TQuickIni& ini_;
  std::string_view section_;
};

class DescriptionReader {
 public:
  DescriptionReader(const TQuickIni& ini, const TSkinReader& reader, const DescriptionDefaults& defaults)
      : ini_(ini), reader_(reader), defaults_(defaults) {}

  SkinDescription Read();

 private:
  ElementRecord NewRecord(std::string_view name, SkinObjectKind kind) const;
  PictureRef Picture(std::string_view fileName);
  void ReadMargins(const SectionReader& s, ElementRecord& r) const;
  void ReadTextColours(const SectionReader& s, ElementRecord& r) const;

  // The generic element reader and its variants; nothing when the image key is empty.
  std::optional<ElementRecord> ReadElement(SkinElement element);
  ElementRecord GenericElement(const SectionReader& s, std::string_view image, SkinObjectKind kind,
                               bool withFrame);
  void ReadBorders();
  void ReadColours();
  static bool IsCaptionButtonSection(const SectionReader& s, std::string_view name);
  void ReadCaptionButtons();

  // Minimise, restore and close of a maximised MDI child: frames cut from "MDICONTROLS".
  void ReadMdiButtons();
  void ReadButtons();
  void ReadTitle();
  void ReadElements();
  static std::int32_t CheckFrames(const PictureRef& p);
  void SetFrames(SkinElement e, std::int32_t frames);
  void FitFrames(SkinElement e, std::int32_t usual);
  void FixFrameCounts();

  // Frame counts divide picture sizes and margins measure them: no count below 1, no
  // negative margin; a negative tile flag means stretching.
  static void Sanitise(ElementRecord& r);
  void Sanitise();

  const TQuickIni& ini_;
  const TSkinReader& reader_;
  const DescriptionDefaults& defaults_;
  std::vector<std::string> sections_;
  std::int64_t pixels_used_ = 0;
  SkinDescription d_;
};

SkinDescription DescriptionReader::Read() {
  sections_ = ini_.ReadSections();
  d_.skinName = ini_.ReadString("TitlebarSkin", "SkinName", "");
  // The colours come first: every element's second colours default to one of them.
  ReadColours();
  ReadBorders();
  ReadCaptionButtons();
  ReadButtons();
  ReadTitle();
  ReadElements();
  FixFrameCounts();
  Sanitise();
  return std::move(d_);
}

ElementRecord DescriptionReader::NewRecord(std::string_view name, SkinObjectKind kind) const {
  ElementRecord r;
  r.name = std::string(name);
  r.kind = kind;
  r.normalColour2 = r.mouseOverColour2 = r.pressedColour2 = d_.colours[kColourButtonText];
  return r;
}

PictureRef DescriptionReader::Picture(std::string_view fileName) {
  std::optional<SkinFault> fault;
  PictureRef p = FindSkinPicture(reader_, fileName, &fault);
  if (fault && !d_.fault) d_.fault = std::move(fault);
  const std::int64_t pixels = std::int64_t{p.width} * p.height;
  if (pixels > defaults_.maxPicturePixels - pixels_used_) {
    if (!d_.fault)
      d_.fault = SkinFault{true, "with its picture " + QuotedName(p.entry) + " its pictures would take more than the " +
                                     std::to_string(defaults_.maxPicturePixels) + " pixels a skin may have"};
    return {};
  }
  pixels_used_ += pixels;
  return p;
}

void DescriptionReader::ReadMargins(const SectionReader& s, ElementRecord& r) const {
  r.leftWidth = s.Int("LeftWidth");
  r.rightWidth = s.Int("RightWidth");
  r.topHeight = s.Int("TopHeight");
  r.bottomHeight = s.Int("BottomHeight");
}

void DescriptionReader::ReadTextColours(const SectionReader& s, ElementRecord& r) const {
  r.normalColour = s.Colour("NormalColour", kNoColour);
  r.mouseOverColour = s.Colour("MouseOverColour", kNoColour);
  r.pressedColour = s.Colour("PressedColour", kNoColour);
  const SkinColour second = d_.colours[kColourButtonText];
  r.normalColour2 = s.Colour("NormalColour2", second);
  r.mouseOverColour2 = s.Colour("MouseOverColour2", second);
  r.pressedColour2 = s.Colour("PressedColour2", second);
}

std::optional<ElementRecord> DescriptionReader::ReadElement(SkinElement element) {
  const std::string_view section = ElementSection(element);
  const SectionReader s(ini_, section);
  switch (element) {
    case SkinElement::Progress: {
      const std::string image = s.Text("Bitmap");
      if (image.empty()) return std::nullopt;
      ElementRecord r = NewRecord(section, SkinObjectKind::Border);
      r.picture = Picture(image);
      r.style = s.Int("Style");
      ReadMargins(s, r);
      r.trans = s.Int("Trans");
      r.tile = std::min(s.Int("Tile"), 1);
      return r;
    }
    case SkinElement::MenuBar: {
      const std::string image = s.Text("menuBar");
      if (image.empty()) return std::nullopt;
      ElementRecord r = GenericElement(s, image, SkinObjectKind::Plain, true);
      r.topHeight = r.bottomHeight = 0;
      r.tile = std::min(s.Int("TileMenu"), 1);
      r.leftWidth = s.Int("TileLeftMenu");
      r.rightWidth = s.Int("TileRightMenu");
      return r;
    }
    case SkinElement::Tabs:
    case SkinElement::ComboButton:
    case SkinElement::UpDownHorz:
    case SkinElement::UpDownVert: {
      const std::string image = s.Text("Image");
      if (image.empty()) return std::nullopt;
      ElementRecord r = GenericElement(s, image, SkinObjectKind::Border, false);
      const std::string_view secondKey = element == SkinElement::Tabs          ? "Border"
                                         : element == SkinElement::ComboButton ? "****"
                                                                                : "GlyphImage";
      r.picture2 = Picture(s.Text(secondKey));
      return r;
    }
    case SkinElement::GroupBox: {
      const std::string image = s.Text("Image");
      if (image.empty()) return std::nullopt;
      ElementRecord r = GenericElement(s, image, SkinObjectKind::BoxLabel, true);
      r.backgroundAlignment = s.Int("BackgroundAlignment");
      r.backgroundLeftShift = s.Int("BackgroundLeftShift");
      r.backgroundRightShift = s.Int("BackgroundRightShift");
      return r;
    }
    default: {
      const std::string image = s.Text("Image");
      if (image.empty()) return std::nullopt;
      return GenericElement(s, image, SkinObjectKind::Plain, true);
    }
  }
}

ElementRecord DescriptionReader::GenericElement(const SectionReader& s, std::string_view image, SkinObjectKind kind,
                                                bool withFrame) {
  ElementRecord r = NewRecord(s.Section(), kind);
  r.picture = Picture(image);
  r.style = s.Int("Style");
  ReadMargins(s, r);
  if (withFrame) r.frame = s.Int("Frame");
  r.trans = s.Int("Trans");
  r.tile = s.Int("Tile");
  if (r.tile > 1) r.tile = 0;
  ReadTextColours(s, r);
  return r;
}

void DescriptionReader::ReadBorders() {
  const SectionReader s(ini_, kPersonality);
  for (std::size_t i = 0; i < kBorderNames.size(); ++i) {
    const std::string_view n = kBorderNames[i];
    ElementRecord r = NewRecord(n, SkinObjectKind::Border);
    const std::int32_t first = s.Int(Key(n, "TopHeight"));
    const std::int32_t second = s.Int(Key(n, "BotHeight"));
    if (i < 2) {
      r.topHeight = first;
      r.bottomHeight = second;
    } else {
      r.leftWidth = first;
      r.rightWidth = second;
    }
    r.frame = s.Int(Key(n, "Frame"), 1);
    r.tile = std::min(s.Int(Key(n, "Stretch"), 1), 1);
    r.trans = s.Int(Key(n, "Trans"), 1);
    r.picture = Picture(s.Text(n));
    d_.borders[i] = std::move(r);
  }
}

void DescriptionReader::ReadColours() {
  struct Entry {
    std::size_t index;
    std::string_view key;
  };
  static constexpr Entry kEntries[] = {
      {0, "WindowText"},     {3, "ButtonFace"},   {18, "Scrollbar"},        {11, "HilightText"},
      {12, "Hilight"},       {13, "Menubar"},     {16, "Menu"},             {15, "MenuText"},
      {4, "ButtonText"},     {5, "ButtonHilight"}, {6, "Buttonlight"},      {7, "ButtonShadow"},
      {8, "ButtonDkShadow"}, {14, "MenuBarText"}, {1, "TitleTextActive"},   {2, "TitleTextNoActive"},
  };
  d_.colours = defaults_.colours;
  const SectionReader s(ini_, "Colours");
  for (const Entry& e : kEntries) {
    const SkinColour fallback = e.index == 13 ? d_.colours[kColourButtonFace] : defaults_.colours[e.index];
    const std::string text = s.Text(e.key);
    d_.colourGiven[e.index] = !text.empty();
    d_.colours[e.index] = ColourOrDefault(text, fallback);
  }
  for (const std::string& section : sections_) {
    const std::string upper = UpperAscii(section);
    if (upper.starts_with("COLOUR") && upper != "COLOURS")
      d_.extraColours.push_back(SectionReader(ini_, section).Colour("color", defaults_.colours[0]));
  }
  const SectionReader custom(ini_, "Customcolors");
  for (std::size_t i = 0; i < d_.customColours.size(); ++i)
    d_.customColours[i] = custom.Colour("Color" + std::to_string(i), 0xFFFFFF);
}

bool DescriptionReader::IsCaptionButtonSection(const SectionReader& s, std::string_view name) {
  const std::string upper = UpperAscii(name);
  if (!upper.starts_with("BUTTON")) return false;
  if (upper == "BUTTONS" || upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX" || upper == "BUTTON")
    return false;
  return !(s.Int("Action") == -1 && s.Int("Visibility", -1) != 0);
}

void DescriptionReader::ReadCaptionButtons() {
  for (const std::string& section : sections_) {
    if (d_.captionButtons.size() == kMaxCaptionButtons) break;
    const SectionReader s(ini_, section);
    if (!IsCaptionButtonSection(s, section)) continue;
    ElementRecord r = NewRecord(section, SkinObjectKind::SysButton);
    r.action = s.Int("Action");
    r.align = s.Int("Align");
    r.xcoord = s.Int("Xcoord");
    r.ycoord = s.Int("Ycoord");
    r.visibility = s.Int("Visibility");
    r.visibility1 = s.Int("Visibility1", r.action == -1 ? -1 : 0);
    r.combineOp = s.Int("CombineOp", -1);
    r.picture = Picture(s.Text("ButtonImage"));
    const std::int32_t frame = s.Int("frame");
    r.frame = frame;
    if (frame == 0) {
      r.frame = 6;
      if (r.picture.Present() && r.action >= 0) {
        // width / height at most 3.8: three frames (normal, hot, pressed).
        const std::int64_t w = r.picture.Width(), h = r.picture.Height();
        r.frame = w * 10 <= h * 38 ? 3 : 6;
      }
      if (r.action == 3 || r.action == 11) r.picture = {};
    }
    d_.captionButtons.push_back(std::move(r));
  }
  ReadMdiButtons();
}

void DescriptionReader::ReadMdiButtons() {
  const PictureRef mdi = Picture(ini_.ReadString("MDICONTROLS", "Image", ""));
  const int u = mdi.Present() ? mdi.width / 12 : 0;
  for (int j = 0; j < 3; ++j) {
    ElementRecord r = NewRecord("MDICONTROLS", SkinObjectKind::SysButton);
    r.action = 7 + j;
    r.align = r.visibility = r.visibility1 = 100;
    r.frame = 4;
    if (u > 0) {
      r.picture = mdi;
      r.picture.crop = PictureCrop{4 * j * u, 0, 4 * u, mdi.height};
      r.xcoord = (u + 4) * (3 - j);
    }
    d_.captionButtons.push_back(std::move(r));
  }
}

void DescriptionReader::ReadButtons() {
  const SectionReader s(ini_, "Buttons");
  ElementRecord r = NewRecord("Buttons", SkinObjectKind::Button);
  ReadMargins(s, r);
  r.trans = s.Int("Trans");
  r.tile = s.Int("Tile");
  if (r.tile > 1) r.tile = 0;
  r.picture = Picture(s.Text("Bitmap"));
  r.picture2 = Picture(s.Text("CheckButton"));
  r.picture3 = Picture(s.Text("RadioButton"));
  ReadTextColours(s, r);
  r.radioButtonFrame = s.Int("RadioButtonFrame");
  r.checkButtonFrame = s.Int("CheckButtonFrame");
  r.normalColour2Given = s.Has("NormalColour2");
  r.mouseOverColour2Given = s.Has("MouseOverColour2");
  r.pressedColour2Given = s.Has("PressedColour2");
  d_.buttons = std::move(r);
}

void DescriptionReader::ReadTitle() {
  const SectionReader s(ini_, kPersonality);
  ElementRecord r = NewRecord("Title", SkinObjectKind::Title);
  r.picture = Picture(s.Text("TextBack"));
  // The text's left offset, vertical shift and right offset.
  r.leftWidth = s.Int("TextShift");
  r.topHeight = s.Int("TextShiftVert");
  r.rightWidth = s.Int("TextRightClip");
  r.textAlignment = s.Int("TextAlignment");
  r.textBackground = s.Int("Textbackground");
  r.txtBackLeft = s.Int("TXTBackleft");
  r.txtBackRight = s.Int("TXTBackRight");
  r.fontHeight = ini_.ReadInteger("Fonts", "FontHeight", 0);
  ReadRGB(ini_, kPersonality, "ActiveText", r.activeText);
  ReadRGB(ini_, kPersonality, "InActiveText", r.inactiveText);
  d_.title = std::move(r);
}

void DescriptionReader::ReadElements() {
  for (std::size_t i = 0; i < kElementCount; ++i) {
    const auto element = static_cast<SkinElement>(i);
    if (element == SkinElement::ComboxArrow || element == SkinElement::Toolbar) continue;
    std::optional<ElementRecord> r = ReadElement(element);
    if (element == SkinElement::TabPane && r) {
      for (std::int32_t* m : {&r->leftWidth, &r->topHeight, &r->rightWidth, &r->bottomHeight}) *m = std::min(*m, 4);
    }
    // The track channels fall back on the engine's own pictures.
    if ((element == SkinElement::Track || element == SkinElement::TrackVert) && (!r || !r->picture.Present())) {
      r = NewRecord(ElementSection(element), SkinObjectKind::Plain);
      r->builtIn = true;
      r->leftWidth = r->topHeight = r->rightWidth = r->bottomHeight = 3;
      r->tile = 0;
      r->frame = 1;
    }
    d_.elements[i] = std::move(r);
  }
}

std::int32_t DescriptionReader::CheckFrames(const PictureRef& p) {
  const int divisor = p.Height() < 16 ? 13 : 16;
  return std::max(4, p.Width() / divisor);
}

void DescriptionReader::SetFrames(SkinElement e, std::int32_t frames) {
  if (auto& r = d_.Element(e)) r->frame = frames;
}

void DescriptionReader::FixFrameCounts() {
  using enum SkinElement;
  ElementRecord& b = d_.buttons;
  b.frame = 5;
  // A count below 1 is as unusable as 0: the picture tells it (one frame would draw the
  // whole strip over the caption). So is one of frames narrower than a pixel (no mark at all).
  const auto usable = [](std::int32_t count, const PictureRef& p) {
    return count >= 1 && (!p.Present() || count <= p.Width());
  };
  if (!usable(b.radioButtonFrame, b.picture3)) b.radioButtonFrame = CheckFrames(b.picture3);
  if (!usable(b.checkButtonFrame, b.picture2)) b.checkButtonFrame = CheckFrames(b.picture2);
  d_.title.frame = 2;
  if (auto& p = d_.Element(Progress)) p->frame = p->style != 0 ? 1 : 2;
  for (SkinElement e : {MenuBar, GroupBoxEdge}) SetFrames(e, 2);
  for (SkinElement e : {ToolBars, Tabs, ExtraImages, MenuItem, ThumbHorz, ThumbVert, ThumbLeft, ThumbRight,
                        ThumbUp, ThumbDown})
    SetFrames(e, 5);
  // A count below 1 is as none (0): one frame would draw the whole strip, every state's
  // item side by side, over each item and its caption.
  if (auto& h = d_.Element(Headerbar); h && h->frame < 1) h->frame = 5;
  FitFrames(Headerbar, 5);
  for (SkinElement e : {TabPane, GroupBox, MenuBackground}) SetFrames(e, 1);
  SetFrames(StatusBarEdges, 3);
  for (SkinElement e : {ComboButton, SunkEdge, HorzScroll, VertScroll}) SetFrames(e, 4);
  SetFrames(Scrollbar, 23);
  for (SkinElement e : {UpDownHorz, UpDownVert}) SetFrames(e, 8);
  for (SkinElement e : {HorzScrollThumb, VertScrollThumb}) {
    // A count below 1 is as none, the usual 3, as for the header.
    const std::int32_t stated = ini_.ReadInteger(ElementSection(e), "FrameCount", 3);
    SetFrames(e, stated < 1 ? 3 : stated);
    FitFrames(e, 3);
  }
}

// A stated count of frames narrower than a pixel would draw nothing: the usual count instead. A
// picture narrower than that has nothing to draw the states from, and the element is the
// system's, as for every fixed count (one frame would show every state alike).
void DescriptionReader::FitFrames(SkinElement e, std::int32_t usual) {
  auto& r = d_.Element(e);
  if (!r || !r->picture.Present() || r->frame <= r->picture.Width()) return;
  r->frame = usual;
}

void DescriptionReader::Sanitise(ElementRecord& r) {
  for (std::int32_t* f : {&r.frame, &r.radioButtonFrame, &r.checkButtonFrame}) *f = std::max(*f, 1);
  r.tile = std::max(r.tile, 0);
  if (r.kind == SkinObjectKind::Title) return;  // its "margins" are text offsets
  for (std::int32_t* m : {&r.leftWidth, &r.topHeight, &r.rightWidth, &r.bottomHeight}) *m = std::max(*m, 0);
}

void DescriptionReader::Sanitise() {
  for (ElementRecord& r : d_.borders) Sanitise(r);
  Sanitise(d_.title);
  Sanitise(d_.buttons);
  for (ElementRecord& r : d_.captionButtons) Sanitise(r);
  for (auto& r : d_.elements)
    if (r) Sanitise(*r);
}

}  // namespace

std::string_view ElementSection(SkinElement element) { return kElementSections[static_cast<std::size_t>(element)]; }

SkinColour ParseColour(std::string_view text) {
  text = TrimControls(text);
  std::array<std::uint32_t, 3> parts{};
  std::size_t found = 0;
  bool inRun = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      if (!inRun) {
        if (found == parts.size()) break;
        inRun = true;
        ++found;
      }
      // Only the low byte counts, so the run is kept modulo 256.
      std::uint32_t& v = parts[found - 1];
      v = (v * 10 + static_cast<std::uint32_t>(c - '0')) & 0xFF;
    } else {
      inRun = false;
    }
  }
  return static_cast<SkinColour>(parts[0] | parts[1] << 8 | parts[2] << 16);
}

namespace {

// Whether each of the text's first three parts lies in 0..255.
bool IsColourText(std::string_view text) {
  text = TrimControls(text);
  std::size_t found = 0;
  std::uint32_t value = 0;
  bool inRun = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') {
      inRun = false;
      continue;
    }
    if (!inRun) {
      if (found == 3) break;  // runs after the third are no part of the colour
      // A minus sign, not a dash between two parts.
      if (i > 0 && text[i - 1] == '-' && (i < 2 || text[i - 2] < '0' || text[i - 2] > '9')) return false;
      inRun = true;
      ++found;
      value = 0;
    }
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
    if (value > 255) return false;
  }
  return true;
}

}  // namespace

SkinColour ColourOrDefault(std::string_view text, SkinColour defaultColour) {
  return text.empty() || !IsColourText(text) ? defaultColour : ParseColour(text);
}

void ReadRGB(const TQuickIni& ini, std::string_view section, std::string_view prefix, SkinColour& colour) {
  const std::int32_t r = ini.ReadInteger(section, Key(prefix, "R"), -1);
  const std::int32_t g = ini.ReadInteger(section, Key(prefix, "G"), -1);
  const std::int32_t b = ini.ReadInteger(section, Key(prefix, "B"), -1);
  if (r < 0 || g < 0 || b < 0) return;
  colour = static_cast<SkinColour>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}

std::optional<std::string> SkinBitmapEntryName(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of("\\:");
  const std::string_view name = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (name.empty() || dot == std::string_view::npos || name.substr(dot) != ".bmp") return std::nullopt;
  return std::string(name);
}

SkinFault PictureFault(std::string_view name, std::span<const std::uint8_t> bytes) {
  const std::string picture = "its picture " + QuotedName(name);
  if (bytes.empty()) return {false, picture + " is empty"};
  auto u16 = [&](std::size_t at) { return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8); };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  constexpr std::size_t kFileHeader = 14;
  if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') return {false, picture + " is not a BMP picture"};
  if (bytes.size() < kFileHeader + 4) return {false, picture + " is cut short inside its header"};
  const std::uint32_t headerSize = u32(kFileHeader);
  const bool core = headerSize == 12;
  if (!core && headerSize < 40) return {false, picture + " is damaged: its header size " + std::to_string(headerSize) + " is none a BMP picture has"};
  if (bytes.size() < kFileHeader + (core ? 12 : 40)) return {false, picture + " is cut short inside its header"};
  const std::int64_t width = core ? u16(kFileHeader + 4) : static_cast<std::int32_t>(u32(kFileHeader + 4));
  std::int64_t height = core ? u16(kFileHeader + 6) : static_cast<std::int32_t>(u32(kFileHeader + 8));
  const std::uint32_t bits = u16(kFileHeader + (core ? 10 : 14));
  const std::uint32_t compression = core ? 0 : u32(kFileHeader + 16);
  if (height < 0) height = -height;
  const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
  if (width < 1 || height < 1) return {false, picture + " is damaged: it gives a size of " + size};
  if (width > vcl::dib::kMaxSide || height > vcl::dib::kMaxSide || width * height > vcl::dib::kMaxPixels)
    return {true, picture + " is " + size + ", more than a skin picture may have"};
  // Rows without compression: is every byte of them there?
  if ((compression == 0 || compression == 3 || compression == 6) && bits > 0 && bits <= 32) {
    const std::int64_t stride = (width * bits + 31) / 32 * 4;
    const std::int64_t need = stride * (height - 1) + (width * bits + 7) / 8;
    const std::int64_t offset = std::max<std::int64_t>(u32(10), kFileHeader + headerSize);
    const std::int64_t there = std::max<std::int64_t>(static_cast<std::int64_t>(bytes.size()) - offset, 0);
    if (there < need)
      return {false, picture + " is cut short: its pixels take " + std::to_string(need) + " bytes, " +
                         std::to_string(there) + " are there"};
  }
  return {false, picture + " is damaged"};
}

PictureRef FindSkinPicture(const TSkinReader& reader, std::string_view fileName, std::optional<SkinFault>* fault) {
  const std::optional<std::string> name = SkinBitmapEntryName(fileName);
  if (!name) return {};
  const std::optional<SkinEntry> entry = reader.Extract(*name);
  if (!entry) return {};
  auto broken = [&] {
    if (fault) *fault = PictureFault(entry->name, entry->bytes);
    return PictureRef{};
  };
  const auto header = entry->bytes.empty() ? std::nullopt : vcl::dib::ReadBmpHeader(entry->bytes, true);
  if (!header || header->width <= 0 || header->height <= 0) return broken();
  // Run-length pixels are only known to hold together once they are unpacked.
  if (header->compression == 1 || header->compression == 2) {
    std::vector<std::uint8_t> rows(vcl::dib::RowStride(header->layout, header->width) *
                                   static_cast<std::size_t>(header->height));
    if (!vcl::dib::DecodeBmpPixels(entry->bytes, *header, rows)) {
      if (fault) *fault = SkinFault{false, "its picture " + QuotedName(entry->name) + " is damaged: its run-length pixels do not hold together"};
      return {};
    }
  }
  return PictureRef{std::string(entry->name), header->width, header->height, std::nullopt};
}

std::optional<SkinFault> DescriptionFault(const TSkinReader& reader) {
  const std::optional<SkinEntry> entry = reader.ExtractByExt(".ini");
  if (!entry) return SkinFault{false, "it holds no description (no entry whose name holds \".ini\")"};
  const std::string description = "its description " + QuotedName(entry->name);
  // Text has no control characters but line breaks, tabs and page breaks (an old editor's end
  // mark at the very end aside).
  for (std::size_t i = 0; i < entry->bytes.size(); ++i) {
    const std::uint8_t c = entry->bytes[i];
    const bool text = c >= 32 || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' ||
                      (c == 0x1A && i + 1 == entry->bytes.size());
    if (!text)
      return SkinFault{false, description + " is not text: it holds the byte " + std::to_string(c) + " at offset " +
                                  std::to_string(i)};
  }
  TQuickIni ini;
  ini.Load(entry->bytes);
  if (ini.Lines().empty()) return SkinFault{false, description + " is empty"};
  return std::nullopt;
}

SkinDescription ReadSkinDescription(const TQuickIni& ini, const TSkinReader& reader,
                                    const DescriptionDefaults& defaults) {
  return DescriptionReader(ini, reader, defaults).Read();
}

}  // namespace skin_classic
