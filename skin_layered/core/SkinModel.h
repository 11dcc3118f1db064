// The loaded skin as the layered engine keeps it: the section table (one TsGeneralData per
// skin section, its position the skin index), the image table (one TsMaskData per image,
// its position the image index), the skin-wide values, the shadow layers, the skin-wide
// colours and the table of common indexes refilled after each load. TsLoadedSkin holds them
// with their lookups by name; the skin manager is one (and the description reader fills it),
// so painting code below the manager reaches a skin's tables through it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/graphics/GraphicsColors.h"
#include "classlib/rtl/SysUtils.h"
#include "classlib/rtl/Types.h"
#include "skin_layered/core/Constants.h"

namespace skin_layered {

class TsLoadedSkin;

// One visual state of a section (0 normal, 1 hot). The defaults are the global default
// state: what a section without values of its own shows.
struct TsGenState {
  vcl::TColor Color = 0xFFFFFF;
  vcl::TColor FontColor = 0;
  vcl::TColor TCLeft = -1;  // text contour colours, -1 none
  vcl::TColor TCTop = -1;
  vcl::TColor TCRight = -1;
  vcl::TColor TCBottom = -1;
  std::int32_t ImagePercent = 0;    // share of the texture in the background
  std::int32_t ImgTexture = kNoIndex;  // texture image of this state
  std::int32_t GSize = 0;
  std::int32_t Transparency = 0;    // percent
  vcl::TColor GCol = 0xFFFFFF;
  std::int32_t GradientPercent = 0;  // share of the gradient in the background
  vcl::String GradientData = L" ";
  TsGradArray GradientArray;          // parsed from GradientData
};
using TsProps = std::array<TsGenState, 2>;

// One skin section.
struct TsGeneralData {
  vcl::String ParentClass;  // the section this one inherits from
  vcl::String ClassName;    // as the skin writes it; lookups are case-sensitive
  std::int32_t States = 3;  // at most 255
  TsProps Props;
  bool GiveOwnFont = false;
  bool ReservedBoolean = false;
  std::int32_t EditOffset = 0;  // -1 for an edit section whose border image has margins of 1
  std::int32_t Glow = 0;
  std::int32_t GlowMargin = 0;
  std::int32_t BorderIndex = kNoIndex;  // "BORDERSMASK"
  std::int32_t ImgTL = kNoIndex;
  std::int32_t ImgTR = kNoIndex;
  std::int32_t ImgBL = kNoIndex;
  std::int32_t ImgBR = kNoIndex;
  std::int32_t TextureIndex = kNoIndex;  // "PATTERN", as Props[0].ImgTexture
  std::int32_t OuterMode = 2;
  std::int32_t OutOffsL = 0;
  std::int32_t OutOffsT = 0;
  std::int32_t OutOffsR = 0;
  std::int32_t OutOffsB = 0;
  std::int32_t OuterMask = kNoIndex;
  std::int32_t OutOpacity = 200;
  // The description gives it no value but its parent (and a glyph, drawn over a face it does
  // not give).
  bool Hollow = false;
};
using TsGeneralDataArray = std::vector<TsGeneralData>;

// One skin image ("mask"). Entries cut from the master bitmap have no bitmap of their own;
// an image file named by several keys is shared by their entries.
struct TsMaskData {
  std::shared_ptr<vcl::TBitmap> Bmp;
  vcl::String ClassName;     // owning section
  vcl::String PropertyName;  // the key that named the image
  vcl::TRect R;              // the image's area in its bitmap
  std::uint16_t ImageCount = 0;  // frames side by side
  std::int16_t MaskType = 0;     // -1..2: the area holds MaskType + 1 rows
  std::uint16_t MarginAll = 0;   // for a side whose own margin is 0
  std::uint16_t DrawMode = 0;
  std::uint8_t ImgType = 0;  // 0 plain, 1 texture, 2 master-bitmap part with margins
  // The loaded skin (the skin manager's) the image belongs to: its master bitmap holds the
  // images without a bitmap of their own.
  TsLoadedSkin* Manager = nullptr;
  std::int16_t WidthLeft = 0;
  std::int16_t WidthTop = 0;
  std::int16_t WidthRight = 0;
  std::int16_t WidthBottom = 0;
  std::int32_t TransparentBorder = 0;  // 0, 1 or 2
};
using TsMaskArray = std::vector<TsMaskData>;

// Where a section is passed by name (and its index handed back).
struct TqvSectionInfo {
  std::int32_t SkinIndex = kNoIndex;
  vcl::String SectionName;
};

// The indexes of one section that painting code uses without searching.
struct TqvConstElementData {
  std::int32_t SkinIndex = kNoIndex;
  std::int32_t MaskIndex = kNoIndex;   // "BORDERSMASK"
  std::int32_t GlyphIndex = kNoIndex;  // "GLYPHMASK"
  std::array<std::int32_t, 2> BGIndex{kNoIndex, kNoIndex};  // "PATTERN", "HOTPATTERN"
  vcl::String SkinSection;
};
using TqvSideElements = std::array<TqvConstElementData, 4>;
using TqvBoolElements = std::array<TqvConstElementData, 2>;
// Rows first, middle-of-row... see kTabSectionNames: [row][side], rows first, last, middle,
// single; sides left, top, right, bottom.
using TqvAllTabs = std::array<TqvSideElements, 4>;

// Positions in TConstantSkinData::TitleButtons, in the order of kTitleButtonImageNames.
enum class TqvTitleButtonImage {
  BIConClose, BICloseAlone, BIConMax, BIConNorm, BIConMin, BIConHelp,
  SIConClose, SIConMax, SIConNorm, SIConMin, SIConHelp,
};
// Positions in TConstantSkinData::CommonSections, in the order of kCommonSectionNames.
enum class TqvCommonSection { MenuItem, ToolButton, CheckBox, Transparent, GroupBox, WebButton };

// Indexes refilled after every load; -1 for what the skin lacks.
struct TConstantSkinData {
  std::int32_t IndexGLOBALINFO = kNoIndex;
  std::int32_t ExBorder = kNoIndex;
  TqvAllTabs Tabs;
  TqvSideElements ScrollBtns;
  TqvSideElements ScrollBars;
  TqvBoolElements ScrollSliders;
  TqvConstElementData ComboBtn;  // its GlyphIndex is COMBOBOX's "GLYPHMASK"
  std::array<std::int32_t, kTitleButtonImageNames.size()> TitleButtons;
  std::array<std::int32_t, kCheckBoxNames.size()> CheckBox;
  std::array<std::int32_t, kRadioNames.size()> RadioButton;
  std::array<std::int32_t, kSmallBoxNames.size()> SmallBox;
  std::int32_t GripImage = kNoIndex;
  std::int32_t GripHorz = kNoIndex;
  std::int32_t GripVert = kNoIndex;
  std::array<std::int32_t, kCommonSectionNames.size()> CommonSections;

  TConstantSkinData();
  std::int32_t TitleButton(TqvTitleButtonImage Image) const { return TitleButtons[static_cast<std::size_t>(Image)]; }
  std::int32_t CommonSection(TqvCommonSection Section) const {
    return CommonSections[static_cast<std::size_t>(Section)];
  }
};

// The skin-wide values of a loaded skin, most of them from its GLOBALINFO section.
struct TsSkinData {
  bool Active = false;    // a skin is loaded and applied
  vcl::String SkinPath;   // the skin's folder with a trailing backslash; empty when packed or stored
  double Version = 0;
  vcl::String Author;
  vcl::String Description;
  std::int32_t BorderWidth = 4;
  std::int32_t TitleHeight = 30;
  std::int32_t MaxHeight = 0;  // of a maximised form; 0 reads as TitleHeight
  std::int32_t FormOffset = 0;
  std::int32_t CenterOffset = 0;
  std::int32_t BorderMode = 0;
  std::int32_t BrightMin = -50;
  std::int32_t BrightMax = 50;
  std::int32_t AlignOffset = 0;
  std::int32_t AlignOffsetR = 0;
  std::int32_t AlignOffsetT = 0;
  std::int32_t AlignOffsetB = 0;
  std::int32_t BISpace = 0;
  std::int32_t BIVAlign = 0;
  std::int32_t BIRight = 0;
  std::int32_t BILeft = 0;
  std::int32_t BITop = 0;
  std::int32_t BIKeepHue = 0;
  bool AeroBlur = false;
  std::int32_t BICloseGlow = 0;
  std::int32_t BICloseGlowMargin = 0;
  std::int32_t BIMaxGlow = 0;
  std::int32_t BIMaxGlowMargin = 0;
  std::int32_t BIMinGlow = 0;
  std::int32_t BIMinGlowMargin = 0;
  vcl::TColor Shadow1Color = 0;  // the text shadow
  std::int32_t Shadow1Offset = 0;
  std::int32_t Shadow1Blur = -1;
  std::int32_t Shadow1Transparency = 0;
  std::int32_t ComboMargin = 2;
  std::int32_t TabsCovering = 0;       // "TABSCOVERING" of section TABTOP
  std::int32_t RibbonTabsCovering = 0;  // "TABSCOVERING" of section RIBBONTAB
};

// A shadow layer of the form: layer 0 the shadow (keys SH_*), layer 1 the outline (LO_*).
// Per side in the order left, top, right, bottom.
struct TsShadowLayer {
  std::array<vcl::TColor, 4> Colors{};
  std::array<std::int32_t, 4> Offsets{};
  std::array<std::int32_t, 4> Widths{-1, -1, -1, -1};
  std::int32_t Opacity = 0;
  std::int32_t Source = 0;  // 0 none, 1 the MASK image, other: a built blur image
  std::int32_t MaskIndex = kNoIndex;
};

// The skin-wide colours.
struct TsSkinColors {
  vcl::TColor GlobalColor = 0;
  vcl::TColor GlobalFontColor = 0;
  vcl::TColor TitleContourBottom = 0;
  vcl::TColor TitleContourTop = 0;
  vcl::TColor BorderColor = 0;
  vcl::TColor EditFontColor = 0;
  vcl::TColor EditColor = 0;
  vcl::TColor FocusedHighlightColor = 0;
  vcl::TColor UnfocusedHighlightColor = 0;
  vcl::TColor FocusedHighlightFontColor = 0;
  vcl::TColor UnfocusedHighlightFontColor = 0;
  std::array<vcl::TColor, 5> EditStatusTextColors{};  // ok, warning, alert, fourth, fifth
  std::array<vcl::TColor, 5> EditStatusBgColors{};
  std::array<vcl::TColor, 3> HeadingTextColors{};
  vcl::TColor InvertedEditTextColor = 0;
  vcl::TColor InvertedEditBgColor = 0;
  vcl::TColor OddRowBgColor = 0;
  vcl::TColor EvenRowBgColor = 0;
};

// Parent chains longer than this end (no skin nests its sections nearly so deep): a
// description of countless parents cannot make each lookup walk all of them.
inline constexpr int kMaxParentChain = 64;

// One image's frame width and state height.
int MaskImageWidth(const TsMaskData& Mask);
int MaskImageHeight(const TsMaskData& Mask);

class TsLoadedSkin {
 public:
  TsGeneralDataArray Sections;  // the section table
  TsMaskArray Images;           // the image table
  TsSkinData SkinData;
  TConstantSkinData ConstData;
  std::array<TsShadowLayer, 2> ShadowLayerData;
  TsSkinColors Colors;
  std::shared_ptr<vcl::TBitmap> MasterBitmap;
  // The image files of the skin by name, each loaded once however many keys name it.
  struct TLoadedFile {
    vcl::String Name;
    std::shared_ptr<vcl::TBitmap> Bmp;
  };
  std::vector<TLoadedFile> LoadedFiles;

  TsLoadedSkin() = default;
  // Images point back at the skin they belong to: a loaded skin is not copied or moved.
  TsLoadedSkin(const TsLoadedSkin&) = delete;
  TsLoadedSkin& operator=(const TsLoadedSkin&) = delete;

  // The first section of that name, -1 when none (or the name is empty).
  int GetSkinIndex(vcl::StringView SectionName) const;
  // The image named PropertyName of the section, else of its parent sections in turn; -1
  // when none, for an invalid SkinIndex or an empty name. A chain of parents that comes
  // back to a section it passed, or is longer than kMaxParentChain, stops there.
  int GetMaskIndex(int SkinIndex, vcl::StringView SectionName, vcl::StringView PropertyName) const;
  // The same for texture images (ImgType 1) only.
  int GetTextureIndex(int SkinIndex, vcl::StringView SectionName, vcl::StringView PropertyName) const;
  // The image of that section and key, without inheritance.
  int FindImageByNames(vcl::StringView SectionName, vcl::StringView PropertyName) const;

  // Neither the section nor any it inherits from has a value of its own: all it has are the
  // defaults (its parent missing, or empty as it is). False for an invalid index.
  bool GivesNothing(int SkinIndex) const;
  // A skin is loaded (the section table is filled) and the index is in it.
  bool IsValidSkinIndex(int Index) const;
  bool IsValidImgIndex(int Index) const;

  // Nine-part margins of an image: the side's own when above 0, else the shared margin when
  // 1 or more, else one frame's width (left, right) or one state's height (top, bottom).
  // 0 for an invalid index.
  int MaskWidthLeft(int ImageIndex) const;
  int MaskWidthTop(int ImageIndex) const;
  int MaskWidthRight(int ImageIndex) const;
  int MaskWidthBottom(int ImageIndex) const;

  // Appends an image of this skin without a bitmap of its own and with margins 0; answers
  // its index.
  int AddImage(const vcl::String& PropertyName, const vcl::String& SectionName, int MaskType, int DrawMode,
               int ImageCount, const vcl::TRect& R, int ImgType);

  vcl::TColor GetGlobalColor() const { return Colors.GlobalColor; }
  vcl::TColor GetGlobalFontColor() const { return Colors.GlobalFontColor; }
  vcl::TColor GetActiveEditColor() const { return Colors.EditColor; }
  vcl::TColor GetActiveEditFontColor() const { return Colors.EditFontColor; }
  vcl::TColor GetHighLightColor(bool Focused) const {
    return Focused ? Colors.FocusedHighlightColor : Colors.UnfocusedHighlightColor;
  }
  vcl::TColor GetHighLightFontColor(bool Focused) const {
    return Focused ? Colors.FocusedHighlightFontColor : Colors.UnfocusedHighlightFontColor;
  }

  // Builds an index of the names in the tables as they stand. While the tables keep the
  // sizes they had then (AddImage keeps it up to date), lookups by name take constant time;
  // otherwise they search the tables.
  void IndexTables();
  // Refills the common index table from the tables as they stand.
  void InitConstantIndexes();
  // Takes everything Other holds but SkinData.Active (its images then belong to this skin)
  // and leaves Other empty: a skin read aside replaces this one at once.
  void TakeFrom(TsLoadedSkin& Other);

 private:
  struct TNameIndex {
    std::size_t Sections = SIZE_MAX;  // the table sizes indexed
    std::size_t Images = SIZE_MAX;
    std::unordered_map<vcl::String, int> SectionsByName;  // the first of each name
    std::unordered_map<vcl::String, int> ImagesByName;    // by section and key: the first
    std::unordered_map<vcl::String, int> TexturesByName;  // the first texture
  };
  bool Indexed() const { return index_.Sections == Sections.size() && index_.Images == Images.size(); }
  void IndexImage(int Index);
  // The first image (texture) of that section and key, without inheritance.
  int FindImage(vcl::StringView SectionName, vcl::StringView PropertyName, bool TexturesOnly) const;
  int FindInherited(int SkinIndex, vcl::StringView SectionName, vcl::StringView PropertyName, bool TexturesOnly) const;
  const TsMaskData* Image(int Index) const { return IsValidImgIndex(Index) ? &Images[static_cast<std::size_t>(Index)] : nullptr; }
  TqvConstElementData ElementIndexes(vcl::StringView SectionName) const;
  int GlobalImage(vcl::StringView PropertyName) const;

  TNameIndex index_;
};

}  // namespace skin_layered
