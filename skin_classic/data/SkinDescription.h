// The classic skin description read into plain element records: every element's section
// name, picture entries (checked to be BMP files), margins, frame counts, flags and
// colours. No windows.h: the records are what the engine's bitmap objects are built from,
// and the whole road package -> description -> records also runs natively under the fuzzer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin_classic/io/QuickIni.h"
#include "skin_classic/io/SkinReader.h"

namespace skin_classic {

// A colour value of the class library: red in the low byte.
using SkinColour = std::int32_t;
inline constexpr SkinColour kNoColour = -1;
inline constexpr SkinColour kColourNotGiven = 0x1FFFFFFF;
inline constexpr SkinColour kKeyColour = 0xFF00FF;

// Colour-table entries that have a meaning of their own.
inline constexpr std::size_t kColourCount = 19;
inline constexpr std::size_t kColourButtonFace = 3;
inline constexpr std::size_t kColourButtonText = 4;
inline constexpr std::size_t kColourSample = 17;

// "R G B" (or any separators): the first three runs of decimal digits, each a byte.
SkinColour ParseColour(std::string_view text);
SkinColour ColourOrDefault(std::string_view text, SkinColour defaultColour);
// prefix + "R", "G", "B" as integers; the colour changes only when all three are 0 or more.
void ReadRGB(const TQuickIni& ini, std::string_view section, std::string_view prefix, SkinColour& colour);

// The package entry a picture name stands for: its file part when that ends exactly in
// ".bmp", else nothing.
std::optional<std::string> SkinBitmapEntryName(std::string_view fileName);

// A part of a picture, in pixels.
struct PictureCrop {
  int left = 0, top = 0, width = 0, height = 0;
};

// A bitmap entry of the package that holds a readable BMP file.
struct PictureRef {
  std::string entry;  // lower-case package entry name; empty: no picture
  int width = 0;      // of the whole BMP
  int height = 0;
  std::optional<PictureCrop> crop;  // only this part of it

  bool Present() const { return !entry.empty(); }
  // The size of the picture the element gets (the crop's when there is one).
  int Width() const { return crop ? crop->width : width; }
  int Height() const { return crop ? crop->height : height; }
};

// Looks `fileName` up as LoadSkinBitmap does; a missing entry or one that is not a BMP
// file gives an absent picture.
PictureRef FindSkinPicture(const TSkinReader& reader, std::string_view fileName);

// The class of skin data object a record becomes.
enum class SkinObjectKind : std::uint8_t { Plain, Border, Button, Title, SysButton, BoxLabel };

// One skin data object. Fields a kind does not use keep their defaults.
struct ElementRecord {
  std::string name;
  SkinObjectKind kind = SkinObjectKind::Plain;
  PictureRef picture;
  PictureRef picture2;  // Border: the second image; Button: the check-box image
  PictureRef picture3;  // Button: the radio-button image
  bool builtIn = false;  // the picture is one of the engine's own (named as the element)

  std::int32_t leftWidth = 0, topHeight = 0, rightWidth = 0, bottomHeight = 0;
  std::int32_t trans = 0;
  std::int32_t tile = 0;
  std::int32_t frame = 1;  // at least 1
  std::int32_t style = 0;
  SkinColour normalColour = kNoColour, mouseOverColour = kNoColour, pressedColour = kNoColour;
  SkinColour normalColour2 = kNoColour, mouseOverColour2 = kNoColour, pressedColour2 = kNoColour;

  // Button
  std::int32_t radioButtonFrame = 1, checkButtonFrame = 1;
  bool normalColour2Given = false, mouseOverColour2Given = false, pressedColour2Given = false;
  // Title
  std::int32_t textAlignment = 0, textBackground = 0, fontHeight = 0, txtBackLeft = 0, txtBackRight = 0;
  SkinColour activeText = kColourNotGiven, inactiveText = kColourNotGiven;
  // SysButton (a caption button)
  std::int32_t action = 0, align = 0, xcoord = 0, ycoord = 0, combineOp = -1, visibility = 0, visibility1 = 0;
  // BoxLabel
  std::int32_t backgroundLeftShift = 0, backgroundRightShift = 0, backgroundAlignment = 0;
};

// The element slots, in the order the description is read. The last two are derived from
// the others by the bitmap layer and never come from the description.
enum class SkinElement : std::uint8_t {
  Progress, ProgressChunk, MenuBar, GroupBoxEdge, GroupBox, Tabs, StatusBarEdges, TabPane, ToolBars,
  ComboButton, SunkEdge, ExtraImages, Headerbar, MenuItem, MenuBackground, Scrollbar, HorzScroll,
  VertScroll, HorzScrollThumb, VertScrollThumb, ThumbHorz, ThumbVert, ThumbLeft, ThumbRight, ThumbUp,
  ThumbDown, UpDownHorz, UpDownVert, Track, TrackVert, ComboxArrow, Toolbar,
};
inline constexpr std::size_t kElementCount = static_cast<std::size_t>(SkinElement::Toolbar) + 1;
// The section an element is read from ("Personality" for the menu bar).
std::string_view ElementSection(SkinElement element);

enum class SkinBorder : std::uint8_t { Left, Right, Top, Bottom };

// Values the description falls back on that belong to the system, and its limits.
struct DescriptionDefaults {
  // Per colour-table entry (system colours as plain RGB); entry 0 (window text) is also
  // the default of the extra colours.
  std::array<SkinColour, kColourCount> colours{};
  // The pixels all pictures of one skin may hold together (each use of a picture counts):
  // pictures beyond it are left out, so a small package cannot ask for countless large
  // bitmaps.
  std::int64_t maxPicturePixels = std::int64_t{1} << 26;
};

// No title bar holds more caption buttons than this; further sections are not read, so a
// description of countless button sections cannot make countless objects.
inline constexpr std::size_t kMaxCaptionButtons = 100;

struct SkinDescription {
  std::string skinName;
  std::array<ElementRecord, 4> borders;  // by SkinBorder
  ElementRecord title;
  ElementRecord buttons;
  std::vector<ElementRecord> captionButtons;  // the description's (at most 100), then the three MDI ones
  std::array<SkinColour, kColourCount> colours{};
  std::array<bool, kColourCount> colourGiven{};
  std::vector<SkinColour> extraColours;
  std::array<SkinColour, 10> customColours{};
  std::array<std::optional<ElementRecord>, kElementCount> elements;

  const std::optional<ElementRecord>& Element(SkinElement e) const { return elements[static_cast<std::size_t>(e)]; }
  std::optional<ElementRecord>& Element(SkinElement e) { return elements[static_cast<std::size_t>(e)]; }
  const ElementRecord& Border(SkinBorder b) const { return borders[static_cast<std::size_t>(b)]; }
};

// Reads the whole description: borders, colours, caption buttons, check and radio images,
// title text, the element sections and their fixed frame counts. Never fails: missing or
// absurd values give defaults, unreadable pictures give elements without a picture.
SkinDescription ReadSkinDescription(const TQuickIni& ini, const TSkinReader& reader,
                                    const DescriptionDefaults& defaults);

}  // namespace skin_classic
