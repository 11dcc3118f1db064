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
inline constexpr std::size_t kColourButtonShadow = 7;
inline constexpr std::size_t kColourSample = 17;

// "R G B" (or any separators): the first three runs of decimal digits, each a byte.
SkinColour ParseColour(std::string_view text);
// A text no colour can have (a part below 0 or above 255) is no colour: the default, as for an
// empty one.
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

// What keeps a package from being worn, in words that complete "the skin package is
// damaged: ..." or, for a package that holds together but asks for more than a skin may
// have, "... is refused: ...".
struct SkinFault {
  bool refused = false;
  std::string text;
};

// Looks `fileName` up as LoadSkinBitmap does; a missing entry (or a name that is no BMP
// file's) gives an absent picture, so the element is the system's. An entry that is there but
// is no readable BMP picture (empty, cut short, of a size no picture may have, damaged) gives
// an absent picture too, and its fault when `fault` is given.
PictureRef FindSkinPicture(const TSkinReader& reader, std::string_view fileName, std::optional<SkinFault>* fault = nullptr);

// What is wrong with the bytes of a BMP file that cannot be read; `name` quoted names it.
SkinFault PictureFault(std::string_view name, std::span<const std::uint8_t> bytes);

// The package's description, the first entry whose name holds ".ini": nothing when it is
// there and is text with a line that counts; otherwise what is wrong (missing, empty, or not
// text at all).
std::optional<SkinFault> DescriptionFault(const TSkinReader& reader);

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
  // The first picture the description names that is in the package but cannot be read, or
  // that would take the skin's pictures past their limit: such a skin is not worn.
  std::optional<SkinFault> fault;

  const std::optional<ElementRecord>& Element(SkinElement e) const { return elements[static_cast<std::size_t>(e)]; }
  std::optional<ElementRecord>& Element(SkinElement e) { return elements[static_cast<std::size_t>(e)]; }
  const ElementRecord& Border(SkinBorder b) const { return borders[static_cast<std::size_t>(b)]; }
};

// Reads the whole description: borders, colours, caption buttons, check and radio images,
// title text, the element sections and their fixed frame counts. Missing or absurd values give
// defaults, missing pictures elements without a picture; a picture that is there but cannot be
// read is the description's fault.
SkinDescription ReadSkinDescription(const TQuickIni& ini, const TSkinReader& reader,
                                    const DescriptionDefaults& defaults);

}  // namespace skin_classic
