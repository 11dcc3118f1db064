#include "skin_layered/core/SkinModel.h"

#include <algorithm>
#include <utility>

#include "skin_layered/core/ImageDescriptor.h"

namespace skin_layered {

namespace {

constexpr wchar_t kBordersMask[] = L"BORDERSMASK";
constexpr wchar_t kGlyphMask[] = L"GLYPHMASK";
constexpr wchar_t kPattern[] = L"PATTERN";
constexpr wchar_t kHotPattern[] = L"HOTPATTERN";
constexpr wchar_t kExBorder[] = L"EXBORDER";
constexpr wchar_t kComboBtn[] = L"COMBOBTN";
constexpr wchar_t kComboBox[] = L"COMBOBOX";

}  // namespace

TConstantSkinData::TConstantSkinData() {
  TitleButtons.fill(kNoIndex);
  CheckBox.fill(kNoIndex);
  RadioButton.fill(kNoIndex);
  SmallBox.fill(kNoIndex);
  CommonSections.fill(kNoIndex);
}

int MaskImageWidth(const TsMaskData& Mask) {
  if (Mask.ImageCount == 0) return 0;
  return Mask.R.Width() / Mask.ImageCount;
}

int MaskImageHeight(const TsMaskData& Mask) {
  const int rows = Mask.MaskType + 1;
  if (rows <= 0) return 0;
  return Mask.R.Height() / rows;
}

namespace {

vcl::String ImageKey(vcl::StringView SectionName, vcl::StringView PropertyName) {
  vcl::String key(SectionName);
  key += L'\0';
  key += PropertyName;
  return key;
}

}  // namespace

void TsLoadedSkin::IndexTables() {
  index_ = TNameIndex{};
  for (std::size_t i = 0; i < Sections.size(); ++i) index_.SectionsByName.emplace(Sections[i].ClassName, static_cast<int>(i));
  for (std::size_t i = 0; i < Images.size(); ++i) IndexImage(static_cast<int>(i));
  index_.Sections = Sections.size();
  index_.Images = Images.size();
}

void TsLoadedSkin::IndexImage(int Index) {
  const TsMaskData& image = Images[static_cast<std::size_t>(Index)];
  const vcl::String key = ImageKey(image.ClassName, image.PropertyName);
  index_.ImagesByName.emplace(key, Index);
  if (image.ImgType == kTextureImage) index_.TexturesByName.emplace(key, Index);
}

int TsLoadedSkin::GetSkinIndex(vcl::StringView SectionName) const {
  if (SectionName.empty()) return kNoIndex;
  if (Indexed()) {
    const auto it = index_.SectionsByName.find(vcl::String(SectionName));
    return it == index_.SectionsByName.end() ? kNoIndex : it->second;
  }
  for (std::size_t i = 0; i < Sections.size(); ++i)
    if (Sections[i].ClassName == SectionName) return static_cast<int>(i);
  return kNoIndex;
}

int TsLoadedSkin::FindImage(vcl::StringView SectionName, vcl::StringView PropertyName, bool TexturesOnly) const {
  if (Indexed()) {
    const auto& byName = TexturesOnly ? index_.TexturesByName : index_.ImagesByName;
    const auto it = byName.find(ImageKey(SectionName, PropertyName));
    return it == byName.end() ? kNoIndex : it->second;
  }
  for (std::size_t i = 0; i < Images.size(); ++i) {
    const TsMaskData& image = Images[i];
    if (image.ClassName == SectionName && image.PropertyName == PropertyName &&
        (!TexturesOnly || image.ImgType == kTextureImage))
      return static_cast<int>(i);
  }
  return kNoIndex;
}

int TsLoadedSkin::FindImageByNames(vcl::StringView SectionName, vcl::StringView PropertyName) const {
  return FindImage(SectionName, PropertyName, false);
}

int TsLoadedSkin::FindInherited(int SkinIndex, vcl::StringView SectionName, vcl::StringView PropertyName,
                                bool TexturesOnly) const {
  if (SectionName.empty() || PropertyName.empty()) return kNoIndex;
  vcl::String section(SectionName);
  // A chain that comes back (A -> B -> A) finds nothing on its way round again and ends at
  // the bound.
  for (int step = 0; step <= kMaxParentChain; ++step) {
    if (SkinIndex < 0) return kNoIndex;  // also a parent the skin does not have
    if (const int found = FindImage(section, PropertyName, TexturesOnly); found != kNoIndex) return found;
    if (static_cast<std::size_t>(SkinIndex) >= Sections.size()) return kNoIndex;
    const vcl::String& parent = Sections[static_cast<std::size_t>(SkinIndex)].ParentClass;
    if (parent.empty() || parent == section) return kNoIndex;
    SkinIndex = GetSkinIndex(parent);
    section = parent;
  }
  return kNoIndex;
}

int TsLoadedSkin::GetMaskIndex(int SkinIndex, vcl::StringView SectionName, vcl::StringView PropertyName) const {
  return FindInherited(SkinIndex, SectionName, PropertyName, false);
}

int TsLoadedSkin::GetTextureIndex(int SkinIndex, vcl::StringView SectionName, vcl::StringView PropertyName) const {
  return FindInherited(SkinIndex, SectionName, PropertyName, true);
}

bool TsLoadedSkin::GivesNothing(int SkinIndex) const {
  if (!IsValidSkinIndex(SkinIndex)) return false;
  // A chain of hollow sections that comes back gives nothing either.
  for (int step = 0; step <= kMaxParentChain; ++step) {
    const TsGeneralData& section = Sections[static_cast<std::size_t>(SkinIndex)];
    if (!section.Hollow) return false;
    const vcl::String& parent = section.ParentClass;
    if (parent.empty() || parent == L"?" || parent == section.ClassName) return true;
    SkinIndex = GetSkinIndex(parent);
    if (SkinIndex < 0) return true;
  }
  return true;
}

bool TsLoadedSkin::IsValidSkinIndex(int Index) const {
  return !Sections.empty() && Index >= 0 && static_cast<std::size_t>(Index) < Sections.size();
}

bool TsLoadedSkin::IsValidImgIndex(int Index) const {
  return Index >= 0 && static_cast<std::size_t>(Index) < Images.size();
}

int TsLoadedSkin::MaskWidthLeft(int ImageIndex) const {
  const TsMaskData* image = Image(ImageIndex);
  if (!image) return 0;
  if (image->WidthLeft > 0) return image->WidthLeft;
  if (image->MarginAll >= 1) return image->MarginAll;
  // Here an image count of 0 counts as one frame.
  TsMaskData oneFrame = *image;
  oneFrame.ImageCount = std::max<std::uint16_t>(oneFrame.ImageCount, 1);
  return MaskImageWidth(oneFrame);
}

int TsLoadedSkin::MaskWidthTop(int ImageIndex) const {
  const TsMaskData* image = Image(ImageIndex);
  if (!image) return 0;
  if (image->WidthTop > 0) return image->WidthTop;
  if (image->MarginAll >= 1) return image->MarginAll;
  return MaskImageHeight(*image);
}

int TsLoadedSkin::MaskWidthRight(int ImageIndex) const {
  const TsMaskData* image = Image(ImageIndex);
  if (!image) return 0;
  if (image->WidthRight > 0) return image->WidthRight;
  if (image->MarginAll >= 1) return image->MarginAll;
  return MaskImageWidth(*image);
}

int TsLoadedSkin::MaskWidthBottom(int ImageIndex) const {
  const TsMaskData* image = Image(ImageIndex);
  if (!image) return 0;
  if (image->WidthBottom > 0) return image->WidthBottom;
  if (image->MarginAll >= 1) return image->MarginAll;
  return MaskImageHeight(*image);
}

int TsLoadedSkin::AddImage(const vcl::String& PropertyName, const vcl::String& SectionName, int MaskType,
                           int DrawMode, int ImageCount, const vcl::TRect& R, int ImgType) {
  TsMaskData image;
  image.PropertyName = PropertyName;
  image.ClassName = SectionName;
  image.MaskType = static_cast<std::int16_t>(MaskType);
  image.DrawMode = static_cast<std::uint16_t>(DrawMode);
  image.ImageCount = static_cast<std::uint16_t>(ImageCount);
  image.R = R;
  image.ImgType = static_cast<std::uint8_t>(ImgType);
  image.Manager = this;
  const bool indexed = Indexed();
  Images.push_back(std::move(image));
  const int index = static_cast<int>(Images.size()) - 1;
  if (indexed) {
    IndexImage(index);
    index_.Images = Images.size();
  }
  return index;
}

TqvConstElementData TsLoadedSkin::ElementIndexes(vcl::StringView SectionName) const {
  TqvConstElementData element;
  element.SkinSection = vcl::String(SectionName);
  element.SkinIndex = GetSkinIndex(SectionName);
  element.MaskIndex = GetMaskIndex(element.SkinIndex, SectionName, kBordersMask);
  element.GlyphIndex = GetMaskIndex(element.SkinIndex, SectionName, kGlyphMask);
  element.BGIndex[0] = GetTextureIndex(element.SkinIndex, SectionName, kPattern);
  element.BGIndex[1] = GetTextureIndex(element.SkinIndex, SectionName, kHotPattern);
  return element;
}

int TsLoadedSkin::GlobalImage(vcl::StringView PropertyName) const {
  return GetMaskIndex(ConstData.IndexGLOBALINFO, kGlobalInfoSection, PropertyName);
}

void TsLoadedSkin::InitConstantIndexes() {
  TConstantSkinData& c = ConstData;
  c.IndexGLOBALINFO = GetSkinIndex(kGlobalInfoSection);
  c.ExBorder = GlobalImage(kExBorder);

  for (std::size_t row = 0; row < c.Tabs.size(); ++row)
    for (std::size_t side = 0; side < c.Tabs[row].size(); ++side)
      c.Tabs[row][side] = ElementIndexes(kTabSectionNames[row * c.Tabs[row].size() + side]);
  for (std::size_t i = 0; i < c.ScrollBtns.size(); ++i) c.ScrollBtns[i] = ElementIndexes(kScrollBtnNames[i]);
  for (std::size_t i = 0; i < c.ScrollBars.size(); ++i) c.ScrollBars[i] = ElementIndexes(kScrollBarNames[i]);
  for (std::size_t i = 0; i < c.ScrollSliders.size(); ++i) c.ScrollSliders[i] = ElementIndexes(kScrollSliderNames[i]);

  c.ComboBtn = ElementIndexes(kComboBtn);
  c.ComboBtn.GlyphIndex = GetMaskIndex(GetSkinIndex(kComboBox), kComboBox, kGlyphMask);

  for (std::size_t i = 0; i < c.TitleButtons.size(); ++i) c.TitleButtons[i] = GlobalImage(kTitleButtonImageNames[i]);
  for (std::size_t i = 0; i < c.CheckBox.size(); ++i) c.CheckBox[i] = GlobalImage(kCheckBoxNames[i]);
  for (std::size_t i = 0; i < c.RadioButton.size(); ++i) c.RadioButton[i] = GlobalImage(kRadioNames[i]);
  for (std::size_t i = 0; i < c.SmallBox.size(); ++i) c.SmallBox[i] = GlobalImage(kSmallBoxNames[i]);
  c.GripImage = GlobalImage(kGripImageNames[0]);
  c.GripHorz = GlobalImage(kGripImageNames[1]);
  c.GripVert = GlobalImage(kGripImageNames[2]);
  for (std::size_t i = 0; i < c.CommonSections.size(); ++i) c.CommonSections[i] = GetSkinIndex(kCommonSectionNames[i]);
}

void TsLoadedSkin::TakeFrom(TsLoadedSkin& Other) {
  if (&Other == this) return;
  const bool active = SkinData.Active;
  Sections = std::exchange(Other.Sections, {});
  Images = std::exchange(Other.Images, {});
  for (TsMaskData& image : Images) image.Manager = this;
  SkinData = std::exchange(Other.SkinData, {});
  SkinData.Active = active;
  ConstData = std::exchange(Other.ConstData, {});
  ShadowLayerData = std::exchange(Other.ShadowLayerData, {});
  Colors = std::exchange(Other.Colors, {});
  MasterBitmap = std::exchange(Other.MasterBitmap, {});
  LoadedFiles = std::exchange(Other.LoadedFiles, {});
  index_ = std::exchange(Other.index_, {});
}

}  // namespace skin_layered
