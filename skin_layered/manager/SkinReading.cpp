#include "skin_layered/manager/SkinReading.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <set>
#include <span>

#include "classlib/graphics/GraphicsColors.h"
#include "classlib/graphics/GraphicsDibFormat.h"
#include "classlib/graphics/Jpeg.h"
#include "classlib/rtl/Streams.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/LibraryStrings.h"
#include "skin_layered/core/SkinPack.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Gradient.h"
#include "skin_layered/paint/PngGraphic.h"
#include "skin_layered/paint/TextEffects.h"
#include "skin_layered/paint/png/PngError.h"
#include "skin_layered/paint/png/PngReader.h"
#include "skin_layered/paint/pixels/Blending.h"
#include "skin_layered/paint/pixels/PixelView.h"

namespace skin_layered {

namespace {

using vcl::String;
using vcl::TBitmap;
using vcl::TRect;

// Names of this Part's keys, as the description (bytes) writes them.
std::string Narrow(std::wstring_view s) {
  std::string bytes;
  bytes.reserve(s.size());
  for (wchar_t c : s) bytes.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return bytes;
}

const std::string& GlobalInfo() {
  static const std::string name = Narrow(kGlobalInfoSection);
  return name;
}

constexpr std::string_view kMasterBitmapKey = "MASTERBITMAP";
constexpr std::string_view kParentKey = "PARENTCLASS";
constexpr std::string_view kGlyphKey = "GLYPHMASK";
constexpr wchar_t kBordersMask[] = L"BORDERSMASK";
constexpr wchar_t kTransparentSection[] = L"TRANSPARENT";
constexpr int kSectionMaximum = 255;

// The rectangle of a descriptor when it lies whole inside a picture of that size. A piece
// reaching past its picture, or of no size, would draw nothing or a cut of it: it is missing,
// and what it would draw falls back as a missing picture does.
std::optional<TRect> RectInside(const TImageDescriptor& d, int width, int height) {
  if (d.Left < 0 || d.Top < 0 || d.Right <= d.Left || d.Bottom <= d.Top || d.Right > width || d.Bottom > height)
    return std::nullopt;
  return TRect{d.Left, d.Top, d.Right, d.Bottom};
}

vcl::String Quoted(const vcl::String& Text) { return L"\"" + Text + L"\""; }

bool HasExtension(const String& upperName, std::wstring_view ext) {
  return upperName.size() >= ext.size() && std::wstring_view(upperName).substr(upperName.size() - ext.size()) == ext;
}

// The size of the picture the bytes hold, when its header tells it before anything is
// decoded (a broken header is left to the picture class to report).
std::optional<std::pair<int, int>> PictureSize(std::span<const std::uint8_t> bytes, const String& upperName) {
  if (HasExtension(upperName, L".PNG")) {
    try {
      TPNGReader reader;
      if (!reader.IsValid(bytes)) return std::nullopt;
      const TPngImageProperties& p = reader.Properties();
      return std::pair{static_cast<int>(std::min<std::uint32_t>(p.Width, INT_MAX)),
                       static_cast<int>(std::min<std::uint32_t>(p.Height, INT_MAX))};
    } catch (const EPngError&) {
      return std::nullopt;
    }
  }
  if (HasExtension(upperName, L".JPG") || HasExtension(upperName, L".JPEG")) return std::nullopt;  // read below
  const std::optional<vcl::dib::BmpHeader> header = vcl::dib::ReadBmpHeader(bytes, true);
  if (!header) return std::nullopt;
  return std::pair{header->width, header->height};
}

std::span<const std::uint8_t> BytesOf(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

}  // namespace

TsSkinReading::TsSkinReading(const TSkinDescription& Description, const TqvSkinConvertor* Pack,
                             const TsSkinLoadRequest& Request, TsLoadedSkin& Skin, const vcl::String& DescriptionName)
    : description_(Description), pack_(Pack), request_(Request), skin_(Skin), description_name_(DescriptionName) {}

void TsSkinReading::Run() {
  skin_.SkinData.Version = description_.ReadFloat(GlobalInfo(), "VERSION", 0);
  LoadImages();
  ReadGlobalInfo();
  ReadSections();
  MergeCommonSections();
  // The tables are complete but for the TRANSPARENT section: lookups by name from here.
  skin_.IndexTables();
  ResolveImageIndexes();
  MakeDefaultedTextsLegible();
  ReadSkinColors();
  AppendTransparent();
  skin_.IndexTables();
  AdjustColors();
  skin_.InitConstantIndexes();
}

String TsSkinReading::Text(std::string_view Bytes) const {
  return (description_.Utf8() ? vcl::TEncoding::UTF8 : vcl::TEncoding::ANSI)->GetString(BytesOf(Bytes));
}

void TsSkinReading::RaiseValueError(std::string_view Section, std::string_view Key, const vcl::String& Fault) const {
  throw vcl::EConvertError(vcl::Format(LibText(TqvLibString::DescriptionValue),
                                       {Quoted(request_.SkinName), description_name_, Text(Key), Text(Section), Fault}));
}

TImageDescriptor TsSkinReading::Descriptor(std::string_view Section, std::string_view Key, std::string_view Value,
                                           bool MaskPartLayout) const {
  try {
    if (!MaskPartLayout) return ParseImageValue(Value);
    // A shadow layer's mask: always the mask-part layout, whatever its first character.
    std::string masked(Value);
    if (!masked.empty()) masked.front() = '^';
    TImageDescriptor d = ParseImageValue(masked);
    d.ImgType = kPlainImage;
    return d;
  } catch (const EDescriptionValue& e) {
    RaiseValueError(Section, Key, Text(e.what()));
  }
}

// ---------------------------------------------------------------------------------------
// Images

std::shared_ptr<TBitmap> TsSkinReading::ImageFile(const String& Name, bool FromDisk) {
  const String upper = vcl::UpperCase(Name);
  if (const auto loaded = loaded_.find(upper); loaded != loaded_.end())
    return skin_.LoadedFiles[loaded->second].Bmp;

  // The file's bytes, held only while the picture is decoded.
  std::unique_ptr<vcl::TMemoryStream> bytes;
  if (pack_ && !FromDisk) {
    if (pack_entries_.empty())
      for (const TqvImageItem& entry : pack_->Files)
        pack_entries_.emplace(vcl::UpperCase(vcl::TEncoding::ANSI->GetString(BytesOf(entry.Name))), &entry);
    const auto found = pack_entries_.find(upper);
    if (found == pack_entries_.end()) return nullptr;
    bytes = pack_->Unpack(*found->second);
  } else {
    const String path = Name.find(L':') != String::npos ? Name : skin_.SkinData.SkinPath + Name;
    if (!vcl::FileExists(path)) return nullptr;
    vcl::TFileStream file(path, vcl::fmOpenRead | vcl::fmShareDenyWrite);
    // No skin picture comes near the largest entry a pack may hold.
    if (file.Size() > kMaxPackEntrySize)
      throw vcl::EReadError(vcl::Format(LibText(TqvLibString::PictureFileTooLarge),
                                        {Quoted(Name), Quoted(request_.SkinName), file.Size()}));
    bytes = std::make_unique<vcl::TMemoryStream>();
    bytes->LoadFromStream(&file);
  }
  if (const auto size = PictureSize(bytes->Bytes(), upper)) CheckPicture(Name, size->first, size->second);
  std::shared_ptr<TBitmap> bmp;
  try {
    bmp = DecodeImage(bytes.get(), Name, upper);
  } catch (const vcl::EReadError&) {
    throw;  // a picture refused by its size, named already
  } catch (const vcl::Exception& e) {
    // Which picture of which skin: the picture classes' own texts name neither.
    throw vcl::EInvalidGraphic(vcl::Format(LibText(TqvLibString::PictureUnreadable),
                                           {Quoted(Name), Quoted(request_.SkinName), e.Message()}));
  }
  loaded_.emplace(upper, skin_.LoadedFiles.size());
  skin_.LoadedFiles.push_back({upper, bmp});
  return bmp;
}

void TsSkinReading::CheckPicture(const String& Name, int Width, int Height) {
  const std::int64_t pixels = static_cast<std::int64_t>(std::max(Width, 0)) * std::max(Height, 0);
  if (pixels > kMaxPicturePixels)
    throw vcl::EReadError(vcl::Format(LibText(TqvLibString::PictureTooLarge),
                                      {Quoted(Name), Quoted(request_.SkinName), Width, Height,
                                       static_cast<int>(kMaxPicturePixels / 1000000)}));
  if (pixels_ + pixels > kMaxSkinPixels)
    throw vcl::EReadError(vcl::Format(LibText(TqvLibString::PicturesTooLarge),
                                      {Quoted(Name), Quoted(request_.SkinName),
                                       static_cast<int>(kMaxSkinPixels / 1000000)}));
  pixels_ += pixels;
}

// A picture read from a stream by its file name's extension, as a 32-bit bitmap whose alpha,
// when the picture has none, comes from the key colour.
std::shared_ptr<TBitmap> TsSkinReading::DecodeImage(vcl::TStream* Stream, const String& Name, const String& UpperName) {
  auto bmp = std::make_shared<TBitmap>();
  if (HasExtension(UpperName, L".PNG")) {
    TPNGGraphic png;
    // Colour and palette pictures come opaque in 32 bits straight from the reader; their
    // key-coloured pixels become holes here, as the copy below makes them of other pictures.
    png.SetOpaqueAs32Bits(true);
    png.LoadFromStream(Stream);
    const bool opaque = png.ImageProperties().ColorScheme != TColorScheme::RGBA;
    // Its pixels are taken over, not copied.
    bmp->SetHandle(png.ReleaseHandle());
    if (opaque && bmp->PixelFormat() == vcl::pf32bit) MakeKeyHoles(bmp.get());
  } else if (HasExtension(UpperName, L".JPG") || HasExtension(UpperName, L".JPEG")) {
    vcl::TJPEGImage jpeg;
    jpeg.LoadFromStream(Stream);
    CheckPicture(Name, jpeg.Width(), jpeg.Height());  // known from its header, before it is decoded
    bmp->Assign(&jpeg);
  } else {
    bmp->LoadFromStream(Stream);
  }
  if (bmp->Empty() || bmp->Width() <= 0 || bmp->Height() <= 0) return nullptr;
  if (bmp->PixelFormat() != vcl::pf32bit) return std::shared_ptr<TBitmap>(Bmp32Copy(bmp.get(), true));
  return bmp;
}

void TsSkinReading::LoadImages() {
  skin_.Images.clear();
  skin_.LoadedFiles.clear();
  loaded_.clear();
  skin_.MasterBitmap.reset();
  const std::string_view master = description_.ReadString(GlobalInfo(), kMasterBitmapKey, "");
  if (!master.empty()) {
    // Its alpha comes from the key colour, even when the file brings an alpha channel. A skin
    // without it loads all the same: its parts are missing images, and what they would draw
    // falls back as any missing picture does.
    skin_.MasterBitmap = ImageFile(Text(master));
    TPixelView view;
    if (InitPixelView(skin_.MasterBitmap.get(), view)) {
      for (int y = 0; y < view.Height; ++y)
        for (TPixel32* p = view.Row(y); p != view.Row(y) + view.Width; ++p)
          *p = (*p & 0x00FFFFFFu) == kKeyColor ? kKeyColor : *p | 0xFF000000u;
      skin_.MasterBitmap->SetTransparentColor(static_cast<vcl::TColor>(kKeyColor));
    }
  }
  for (int i = 0; i < description_.SectionCount(); ++i) {
    const std::string_view section = description_.SectionName(i);
    for (const TSkinDescription::TEntry& entry : description_.Entries(i)) {
      if (section == GlobalInfo() && entry.Key == kMasterBitmapKey) continue;
      AddDescribedImage(section, entry.Key, entry.Value);
    }
  }
  LoadCommonSectionImages();
}

void TsSkinReading::AddDescribedImage(std::string_view Section, std::string_view Key, std::string_view Value) {
  const TImageDescriptor d = Descriptor(Section, Key, Value);
  std::shared_ptr<TBitmap> own;
  TRect r;
  switch (d.Kind) {
    case TImageValueKind::NotImage:
      return;
    case TImageValueKind::FileWithParams:
    case TImageValueKind::TextureFile:
      own = ImageFile(Text(d.FileName));
      if (!own) return;
      r = TRect{0, 0, own->Width(), own->Height()};
      break;
    case TImageValueKind::TexturePart:
      if (!d.FileName.empty()) {
        own = ImageFile(Text(d.FileName));
        if (!own) return;
      }
      [[fallthrough]];
    case TImageValueKind::Part:
    case TImageValueKind::MaskPart: {
      const TBitmap* source = own ? own.get() : skin_.MasterBitmap.get();
      if (!source || source->Empty()) return;  // a part of a master bitmap the skin lacks
      const std::optional<TRect> inside = RectInside(d, source->Width(), source->Height());
      if (!inside) return;
      r = *inside;
      break;
    }
  }
  AddImage(Text(Section), Text(Key), d, std::move(own), r);
}

int TsSkinReading::AddImage(const String& Section, const String& Key, const TImageDescriptor& Descriptor,
                            std::shared_ptr<TBitmap> Own, const TRect& R) {
  const int index =
      skin_.AddImage(Key, Section, Descriptor.MaskType, Descriptor.DrawMode, Descriptor.ImageCount, R, Descriptor.ImgType);
  TsMaskData& image = skin_.Images[static_cast<std::size_t>(index)];
  image.Bmp = std::move(Own);
  image.MarginAll = static_cast<std::uint16_t>(Descriptor.MarginAll);
  const auto margins = ImageMargins(Descriptor.Margins, Descriptor.MarginAll, R.Width(), R.Height(),
                                    Descriptor.ImageCount, Descriptor.MaskType);
  image.WidthLeft = static_cast<std::int16_t>(margins[0]);
  image.WidthTop = static_cast<std::int16_t>(margins[1]);
  image.WidthRight = static_cast<std::int16_t>(margins[2]);
  image.WidthBottom = static_cast<std::int16_t>(margins[3]);
  image.TransparentBorder = Section == L"BUTTON_HUGE" && Key == kBordersMask ? 2 : TransparentBorderOf(image);
  return index;
}

const TsSkinReading::TKeyCounts* TsSkinReading::KeyCounts(TBitmap* Bmp) {
  const auto known = key_counts_.find(Bmp);
  if (known != key_counts_.end()) return &known->second;
  TPixelView view;
  if (!InitPixelView(Bmp, view)) return nullptr;
  // Counts of key-coloured pixels above and left of each point: any rectangle's count then
  // takes four reads, however many images scan the bitmap.
  TKeyCounts& counts = key_counts_[Bmp];
  counts.Width = view.Width;
  counts.Height = view.Height;
  const auto stride = static_cast<std::size_t>(view.Width) + 1;
  counts.Sums.assign(stride * (static_cast<std::size_t>(view.Height) + 1), 0);
  for (int y = 0; y < view.Height; ++y) {
    const TPixel32* row = view.Row(y);
    std::uint32_t inRow = 0;
    for (int x = 0; x < view.Width; ++x) {
      inRow += (row[x] & 0x00FFFFFFu) == kKeyColor ? 1 : 0;
      counts.Sums[(static_cast<std::size_t>(y) + 1) * stride + static_cast<std::size_t>(x) + 1] =
          counts.Sums[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) + 1] + inRow;
    }
  }
  return &counts;
}

int TsSkinReading::TransparentBorderOf(const TsMaskData& Image) {
  const TKeyCounts* counts = KeyCounts(Image.Bmp ? Image.Bmp.get() : skin_.MasterBitmap.get());
  if (!counts) return 0;
  // The first frame's first state, already inside the bitmap.
  const int left = Image.R.Left, top = Image.R.Top;
  const int right = std::min(left + MaskImageWidth(Image), counts->Width);
  const int bottom = std::min(top + MaskImageHeight(Image), counts->Height);
  if (right <= left || bottom <= top) return 0;
  const auto stride = static_cast<std::size_t>(counts->Width) + 1;
  auto keyIn = [&](int x0, int y0, int x1, int y1) {
    x0 = std::max(x0, left), y0 = std::max(y0, top), x1 = std::min(x1, right), y1 = std::min(y1, bottom);
    if (x1 <= x0 || y1 <= y0) return false;
    auto at = [&](int x, int y) { return counts->Sums[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)]; };
    return at(x1, y1) - at(x0, y1) - at(x1, y0) + at(x0, y0) > 0;
  };
  const bool found = keyIn(left, top, right, top + Image.WidthTop) ||
                     keyIn(left, top, left + Image.WidthLeft, bottom) ||
                     keyIn(right - Image.WidthRight, top, right, bottom) ||
                     keyIn(left, bottom - Image.WidthBottom, right, bottom);
  return found ? 1 : 0;
}

void TsSkinReading::LoadCommonSectionImages() {
  if (!request_.CommonSections || request_.CommonSections->Count() == 0) return;
  TqvIniSections sections;
  LoadIniSections(request_.CommonSections, sections);
  std::set<String> seenSections;
  for (const TqvIniSection& section : sections) {
    if (section.Name == kGlobalInfoSection || !seenSections.insert(section.Name).second) continue;
    std::set<String> seenKeys;
    for (const String& line : section.Lines) {
      const std::size_t eq = line.find(L'=');
      if (eq == String::npos) continue;
      const String key = line.substr(0, eq), value = line.substr(eq + 1);
      if (!seenKeys.insert(key).second || vcl::UpperCase(value).find(L".BMP") == String::npos) continue;
      std::shared_ptr<TBitmap> bmp = ImageFile(value, true);
      if (!bmp) continue;
      TImageDescriptor d;
      d.Kind = TImageValueKind::TextureFile;
      d.ImgType = kTextureImage;
      AddImage(section.Name, key, d, bmp, TRect{0, 0, bmp->Width(), bmp->Height()});
    }
  }
}

// ---------------------------------------------------------------------------------------
// Skin-wide values

void TsSkinReading::ReadGlobalInfo() {
  const std::string& g = GlobalInfo();
  auto integer = [&](std::string_view key, int def) { return description_.ReadInteger(g, key, def); };
  TsSkinData& d = skin_.SkinData;
  d.Author = Text(description_.ReadString(g, "AUTHOR", ""));
  d.Description = Text(description_.ReadString(g, "DESCRIPTION", ""));
  d.BorderWidth = integer("BORDERWIDTH", 4);
  d.TitleHeight = integer("TITLEHEIGHT", 30);
  if (d.TitleHeight == 0) d.TitleHeight = 30;
  d.MaxHeight = integer("MAXHEIGHT", 0);
  if (d.MaxHeight == 0) d.MaxHeight = d.TitleHeight;
  d.FormOffset = integer("FORMOFFSET", GetSystemMetrics(SM_CXFRAME));
  d.CenterOffset = integer("CENTEROFFSET", 0);
  d.BorderMode = integer("BORDERMODE", 0);
  d.BrightMin = integer("BRIGHTMIN", -50);
  d.BrightMax = integer("BRIGHTMAX", 50);
  d.AlignOffset = integer("ALIGNOFFSET", 0);
  d.AlignOffsetR = integer("ALIGNOFFSETR", d.AlignOffset);
  d.AlignOffsetT = integer("ALIGNOFFSETT", d.AlignOffset);
  d.AlignOffsetB = integer("ALIGNOFFSETB", d.AlignOffset);
  d.BISpace = integer("BISPACE", 0);
  d.BIVAlign = integer("BIVALIGN", 0);
  d.BIRight = integer("BIRIGHT", 0);
  d.BILeft = integer("BILEFT", 0);
  d.BITop = integer("BITOP", 0);
  d.BIKeepHue = integer("BIKEEPHUE", 0);
  d.AeroBlur = (integer("AEROBLUR", 0) & 0xFF) != 0;
  d.BICloseGlow = integer("BICONCLOSEGLOW", 0);
  d.BICloseGlowMargin = integer("BICONCLOSEGLOWMARGIN", 0);
  d.BIMaxGlow = integer("BICONMAXGLOW", 0);
  d.BIMaxGlowMargin = integer("BICONMAXGLOWMARGIN", 0);
  d.BIMinGlow = integer("BICONMINGLOW", 0);
  d.BIMinGlowMargin = integer("BICONMINGLOWMARGIN", 0);
  d.Shadow1Color = description_.ReadColor(g, "SHADOW1COLOR", 0);
  d.Shadow1Offset = integer("SHADOW1OFFSET", 0);
  d.Shadow1Blur = integer("SHADOW1BLUR", -1);
  d.Shadow1Transparency = integer("SHADOW1TRANSPARENCY", 0);
  d.ComboMargin = integer("COMBOMARGIN", 2);
  d.TabsCovering = description_.ReadInteger("TABTOP", "TABSCOVERING", 0);
  d.RibbonTabsCovering = description_.ReadInteger("RIBBONTAB", "TABSCOVERING", 0);
  ReadShadowLayer(0);
  ReadShadowLayer(1);
}

void TsSkinReading::ReadShadowLayer(int Layer) {
  // Per side in the order left, top, right, bottom.
  struct TLayerKeys {
    std::string_view Prefix;
    std::array<vcl::TColor, 4> Colors;
    std::array<int, 4> Offsets;
    int Opacity;
  };
  static constexpr std::array<TLayerKeys, 2> kLayers{{
      {"SH_", {0, 0, 0, 0}, {3, 2, 3, 5}, 60},
      {"LO_", {0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF}, {2, 2, 2, 4}, 200},
  }};
  static constexpr std::array<std::string_view, 4> kSides{"L", "T", "R", "B"};
  const TLayerKeys& keys = kLayers[static_cast<std::size_t>(Layer)];
  const std::string prefix(keys.Prefix);
  auto integer = [&](const std::string& key, int def) { return description_.ReadInteger(GlobalInfo(), key, def); };
  TsShadowLayer& layer = skin_.ShadowLayerData[static_cast<std::size_t>(Layer)];
  layer = TsShadowLayer{};
  for (std::size_t side = 0; side < kSides.size(); ++side) {
    const std::string s(kSides[side]);
    layer.Colors[side] = description_.ReadColor(GlobalInfo(), prefix + "COLOR" + s, keys.Colors[side]);
    layer.Widths[side] = integer(prefix + "WIDTH" + s, -1);
    layer.Offsets[side] = integer(prefix + "OFFSET" + s, keys.Offsets[side]);
  }
  layer.Source = integer(prefix + "SOURCE", 2);
  layer.Opacity = integer(prefix + "OPACITY", keys.Opacity);
  const std::string maskKey = prefix + "MASK";
  layer.MaskIndex = kNoIndex;
  if (layer.Source == 0) return;
  if (layer.Source == 1) {
    const std::string_view value = description_.ReadString(GlobalInfo(), maskKey, "");
    if (value.empty()) return;
    const TImageDescriptor d = Descriptor(GlobalInfo(), maskKey, value, true);
    const TBitmap* master = skin_.MasterBitmap.get();
    const std::optional<TRect> r = master ? RectInside(d, master->Width(), master->Height()) : std::nullopt;
    if (r) layer.MaskIndex = AddImage(String(kGlobalInfoSection), Text(maskKey), d, nullptr, *r);
    return;
  }
  layer.MaskIndex = BuiltShadowImage(layer, Text(maskKey));
}

int TsSkinReading::BuiltShadowImage(const TsShadowLayer& Layer, const String& Key) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  if (!FindResourceW(module, kShadowBlurResource, RT_BITMAP)) return kNoIndex;
  TBitmap blur;
  blur.LoadFromResourceName(module, kShadowBlurResource);
  const std::unique_ptr<TBitmap> blur32 = Bmp32Copy(&blur, false);
  TPixelView from;
  if (!InitPixelView(blur32.get(), from)) return kNoIndex;
  const int size = from.Width, half = size / 2;
  auto image = std::shared_ptr<TBitmap>(CreateBmp32(size, 2 * size));
  TPixelView to;
  if (!InitPixelView(image.get(), to)) return kNoIndex;
  // The upper half: the left and top colours over its upper-left part, the right and bottom
  // colours over its lower-right part, the key colour in the middle. The lower half is the
  // blur, the mask of the upper.
  auto pixel = [](vcl::TColor color) { return SwapBytes02(static_cast<TColorValue>(color) & 0xFFFFFF) | 0xFF000000u; };
  const TPixel32 left = pixel(Layer.Colors[0]), top = pixel(Layer.Colors[1]), right = pixel(Layer.Colors[2]),
                 bottom = pixel(Layer.Colors[3]);
  for (int y = 0; y < size; ++y) {
    TPixel32* row = to.Row(y);
    for (int x = 0; x < size; ++x) {
      if (x == half && y == half) row[x] = kKeyColor;
      else if (x + y < 2 * half) row[x] = x < y ? left : top;
      else row[x] = x > y ? right : bottom;
    }
  }
  for (int y = 0; y < std::min(size, from.Height); ++y) std::copy_n(from.Row(y), size, to.Row(size + y));

  TImageDescriptor d;
  d.ImageCount = 1;
  d.MaskType = 1;
  d.MarginAll = half;
  d.Margins = {half, half, half, half};
  d.ImgType = kPlainImage;
  const int index = AddImage(String(kGlobalInfoSection), Key, d, image, TRect{0, 0, size, 2 * size});
  skin_.Images[static_cast<std::size_t>(index)].TransparentBorder = 0;
  return index;
}

// ---------------------------------------------------------------------------------------
// Sections

TsGenState TsSkinReading::ReadState(int Section, std::size_t State, const std::array<int, 12>& Keys,
                                    TColorsGiven& Given) const {
  // The integer fields in the order of the keys; position 9 is the gradient text.
  static constexpr std::array<std::int32_t TsGenState::*, 12> kFields{
      &TsGenState::Color,    &TsGenState::FontColor,       &TsGenState::TCLeft, &TsGenState::TCTop,
      &TsGenState::TCRight,  &TsGenState::TCBottom,        &TsGenState::GCol,   &TsGenState::GSize,
      &TsGenState::GradientPercent, nullptr,               &TsGenState::ImagePercent, &TsGenState::Transparency};
  // The first seven are colours: a value no colour can have counts as missing.
  constexpr std::size_t kColors = 7;
  TsGenState state;
  for (std::size_t k = 0; k < kFields.size(); ++k) {
    if (!kFields[k]) continue;
    const auto value = k < kColors ? description_.InheritedColor(Section, Keys[k])
                                   : description_.InheritedInteger(Section, Keys[k]);
    if (value) state.*kFields[k] = vcl::ColorToRGB(*value);
    if (kFields[k] == &TsGenState::Color) Given.Face = value.has_value();
    if (kFields[k] == &TsGenState::FontColor) Given.Font = value.has_value();
  }
  if (const auto gradient = description_.InheritedString(Section, Keys[9])) state.GradientData = Text(*gradient);
  try {
    PrepareGradientArray(state.GradientData, state.GradientArray);
  } catch (const vcl::EConvertError& e) {
    RaiseValueError(description_.SectionName(Section), Narrow(kStateKeys[State][9]), e.Message());
  }
  return state;
}

void TsSkinReading::ReadSections() {
  skin_.Sections.clear();
  colors_given_.clear();
  // Each key's number in the description, found once for all sections.
  auto key = [&](std::string_view name) { return description_.FindKey(name); };
  std::array<std::array<int, 12>, 2> stateKeys{};
  for (std::size_t state = 0; state < 2; ++state)
    for (std::size_t k = 0; k < 12; ++k) stateKeys[state][k] = key(Narrow(kStateKeys[state][k]));
  const int parentKey = key(kParentKey), statesKey = key("STATES"), ownFontKey = key("GIVEOWNFONT"),
            reservedKey = key("RESERVEDBOOLEAN"), glowKey = key("GLOW"), glowMarginKey = key("GLOWMARGIN"),
            outerModeKey = key("OUTERMODE"), offsLKey = key("OUTOFFSL"), offsTKey = key("OUTOFFST"),
            offsRKey = key("OUTOFFSR"), offsBKey = key("OUTOFFSB"), opacityKey = key("OUTOPACITY");
  for (int i = 0; i < description_.SectionCount(); ++i) {
    auto integer = [&](int key, int def) {
      const auto value = description_.InheritedInteger(i, key);
      return value ? std::min(vcl::ColorToRGB(*value), kSectionMaximum) : def;
    };
    auto boolean = [&](int key) { return description_.InheritedBool(i, key).value_or(false); };
    TsGeneralData& s = skin_.Sections.emplace_back();
    s.ClassName = Text(description_.SectionName(i));
    s.ParentClass = Text(description_.Value(i, parentKey).value_or(""));
    const auto entries = description_.Entries(i);
    s.Hollow = std::all_of(entries.begin(), entries.end(),
                           [](const auto& e) { return e.Key == kParentKey || e.Key == kGlyphKey; });
    s.States = integer(statesKey, 3);
    s.GiveOwnFont = boolean(ownFontKey);
    s.ReservedBoolean = boolean(reservedKey);
    s.Glow = integer(glowKey, 0);
    s.GlowMargin = integer(glowMarginKey, 0);
    s.OuterMode = integer(outerModeKey, 2);
    s.OutOffsL = integer(offsLKey, 0);
    s.OutOffsT = integer(offsTKey, 0);
    s.OutOffsR = integer(offsRKey, 0);
    s.OutOffsB = integer(offsBKey, 0);
    s.OutOpacity = integer(opacityKey, 200);
    std::array<TColorsGiven, 2>& given = colors_given_.emplace_back();
    s.Props[0] = ReadState(i, 0, stateKeys[0], given[0]);
    if (s.States > 1) {
      s.Props[1] = ReadState(i, 1, stateKeys[1], given[1]);
    } else {
      s.Props[1] = s.Props[0];
      given[1] = given[0];
    }
  }
}

void TsSkinReading::MergeCommonSections() {
  if (!request_.CommonSections || request_.CommonSections->Count() == 0) return;
  TqvIniSections lines;
  LoadIniSections(request_.CommonSections, lines);
  std::set<String> seen;
  for (const TqvIniSection& section : lines) {
    const String& name = section.Name;
    if (!seen.insert(name).second) continue;
    int index = skin_.GetSkinIndex(name);
    if (index < 0) {
      TsGeneralData added;
      added.ClassName = name;
      added.ParentClass = L"-1";
      added.Hollow = true;
      skin_.Sections.push_back(std::move(added));
      colors_given_.emplace_back();
      index = static_cast<int>(skin_.Sections.size()) - 1;
    }
    // Values these lines do not give stay as they are (the defaults for a new section).
    TsGeneralData& s = skin_.Sections[static_cast<std::size_t>(index)];
    auto integer = [&](vcl::StringView key, int current, int maximum) {
      return std::min(ReadIniInt(lines, name, key, current), maximum);
    };
    auto boolean = [&](vcl::StringView key, bool current) {
      const String value = ReadIniStr(lines, name, key, L"?");
      return value == L"?" ? current : value == L"TRUE" || value == L"1";
    };
    s.ParentClass = ReadIniStr(lines, name, L"PARENTCLASS", s.ParentClass);
    s.Hollow = s.Hollow && std::all_of(section.Lines.begin(), section.Lines.end(), [](const String& line) {
                 const std::size_t eq = line.find(L'=');
                 const vcl::StringView key = vcl::StringView(line).substr(0, eq);
                 return eq == String::npos || key == L"PARENTCLASS" || key == L"GLYPHMASK";
               });
    s.States = integer(L"STATES", s.States, kSectionMaximum);
    s.ReservedBoolean = boolean(L"RESERVEDBOOLEAN", s.ReservedBoolean);
    s.GiveOwnFont = boolean(L"GIVEOWNFONT", s.GiveOwnFont);
    s.Glow = integer(L"GLOW", s.Glow, kSectionMaximum);
    s.GlowMargin = integer(L"GLOWMARGIN", s.GlowMargin, kSectionMaximum);
    for (std::size_t state = 0; state < 2; ++state) {
      if (state == 1 && s.States <= 1) {
        s.Props[1] = s.Props[0];
        break;
      }
      const auto& keys = kStateKeys[state];
      TsGenState& p = s.Props[state];
      std::array<std::int32_t*, 12> fields{&p.Color,  &p.FontColor, &p.TCLeft,          &p.TCTop,
                                           &p.TCRight, &p.TCBottom, &p.GCol,            &p.GSize,
                                           &p.GradientPercent, nullptr, &p.ImagePercent, &p.Transparency};
      for (std::size_t k = 0; k < fields.size(); ++k) {
        if (!fields[k]) continue;
        const int value = integer(keys[k], *fields[k], INT_MAX);
        // The first seven are colours: a value no colour can have leaves the colour as it is.
        if (k >= 7 || IsDescriptionColor(value)) *fields[k] = value;
      }
      TColorsGiven& given = colors_given_[static_cast<std::size_t>(index)][state];
      auto gives = [&](std::size_t k) {
        const String value = ReadIniStr(lines, name, keys[k], L"");
        int color = 0;
        return vcl::TryStrToInt(value, color) && IsDescriptionColor(color);
      };
      given.Face = given.Face || gives(0);
      given.Font = given.Font || gives(1);
      const String gradient = ReadIniStr(lines, name, keys[9], p.GradientData);
      if (gradient != p.GradientData || p.GradientArray.empty()) {
        p.GradientData = gradient;
        PrepareGradientArray(p.GradientData, p.GradientArray);
      }
    }
  }
}

void TsSkinReading::ResolveImageIndexes() {
  for (std::size_t i = 0; i < skin_.Sections.size(); ++i) {
    TsGeneralData& s = skin_.Sections[i];
    if (s.ClassName == kGlobalInfoSection) continue;
    const int index = static_cast<int>(i);
    s.BorderIndex = skin_.GetMaskIndex(index, s.ClassName, kBordersMask);
    s.OuterMask = skin_.GetMaskIndex(index, s.ClassName, L"OUTERMASK");
    s.ImgTL = skin_.GetMaskIndex(index, s.ClassName, L"IMGTOPLEFT");
    s.ImgTR = skin_.GetMaskIndex(index, s.ClassName, L"IMGTOPRIGHT");
    s.ImgBL = skin_.GetMaskIndex(index, s.ClassName, L"IMGBTMLEFT");
    s.ImgBR = skin_.GetMaskIndex(index, s.ClassName, L"IMGBTMRIGHT");
    s.TextureIndex = skin_.GetTextureIndex(index, s.ClassName, L"PATTERN");
    s.Props[0].ImgTexture = s.TextureIndex;
    // A section of one state shows its normal state when hot.
    s.Props[1].ImgTexture =
        s.States > 1 ? skin_.GetTextureIndex(index, s.ClassName, L"HOTPATTERN") : s.Props[0].ImgTexture;
    s.EditOffset = 0;
    if ((s.ClassName == L"EDIT" || s.ClassName == L"ALPHAEDIT") && skin_.IsValidImgIndex(s.BorderIndex)) {
      const TsMaskData& border = skin_.Images[static_cast<std::size_t>(s.BorderIndex)];
      if (border.WidthLeft == 1 && border.WidthTop == 1 && border.WidthRight == 1 && border.WidthBottom == 1)
        s.EditOffset = -1;
    }
  }
}

void TsSkinReading::MakeDefaultedTextsLegible() {
  for (std::size_t i = 0; i < skin_.Sections.size() && i < colors_given_.size(); ++i) {
    TsGeneralData& s = skin_.Sections[i];
    // A border picture drawing the middle covers the face colour.
    const bool covered =
        skin_.IsValidImgIndex(s.BorderIndex) && (skin_.Images[static_cast<std::size_t>(s.BorderIndex)].DrawMode & 4);
    for (std::size_t k = 0; k < 2; ++k) {
      TsGenState& state = s.Props[k];
      const TColorsGiven& given = colors_given_[i][k];
      if ((given.Face && given.Font) || covered || state.ImagePercent != 0 || state.GradientPercent != 0 ||
          state.Transparency != 0)
        continue;
      state.FontColor = LegibleTextColorOn(state.FontColor, state.Color);
    }
  }
}

void TsSkinReading::ReadSkinColors() {
  const std::string& g = GlobalInfo();
  // A value no colour can have is a missing colour.
  auto integer = [&](std::string_view key, vcl::TColor def) { return description_.ReadColor(g, key, def); };
  TsSkinColors& c = skin_.Colors;
  c.GlobalColor = integer("COLOR", vcl::ColorToRGB(vcl::clBtnFace));
  c.GlobalFontColor = integer("FONTCOLOR", 0);
  // The skin-wide face or font colour left to its default: the font stands off the face.
  if (!IsDescriptionColor(description_.ReadInteger(g, "COLOR", -1)) ||
      !IsDescriptionColor(description_.ReadInteger(g, "FONTCOLOR", -1)))
    c.GlobalFontColor = LegibleTextColorOn(c.GlobalFontColor, c.GlobalColor);
  c.TitleContourBottom = integer("TCBOTTOM", 0xFF0000);
  c.TitleContourTop = integer("TCTOP", 0xFF);
  c.BorderColor = integer("BORDERCOLOR", 0);

  const int edit = skin_.GetSkinIndex(L"EDIT");
  if (skin_.IsValidSkinIndex(edit)) {
    c.EditFontColor = skin_.Sections[static_cast<std::size_t>(edit)].Props[0].FontColor;
    c.EditColor = skin_.Sections[static_cast<std::size_t>(edit)].Props[0].Color;
  } else {
    c.EditFontColor = vcl::ColorToRGB(vcl::clWindowText);
    c.EditColor = vcl::ColorToRGB(vcl::clWindow);
  }

  int selection = skin_.GetSkinIndex(L"SELECTION");
  if (selection < 0) selection = skin_.GetSkinIndex(L"MENUITEM");
  if (skin_.IsValidSkinIndex(selection)) {
    const TsGeneralData& s = skin_.Sections[static_cast<std::size_t>(selection)];
    const TsGenState& focused = s.Props[s.States > 1 ? 1 : 0];
    c.FocusedHighlightColor = focused.Color;
    c.FocusedHighlightFontColor = focused.FontColor;
    c.UnfocusedHighlightColor = s.Props[0].Color;
    c.UnfocusedHighlightFontColor = s.Props[0].FontColor;
  } else {
    c.FocusedHighlightColor = c.UnfocusedHighlightColor = vcl::ColorToRGB(vcl::clHighlight);
    c.FocusedHighlightFontColor = c.UnfocusedHighlightFontColor = vcl::ColorToRGB(vcl::clHighlightText);
  }

  // The fourth and fifth status colours have no keys: a skin takes them as they are.
  c.EditStatusTextColors = {integer("EDITTEXT_OK", 0x8000), integer("EDITTEXT_WARN", 0x8484),
                            integer("EDITTEXT_ALERT", 0xFF), 0x8597D9, 0x4AB28F};
  c.EditStatusBgColors = {integer("EDITBG_OK", 0x6CC2A5), integer("EDITBG_WARN", 0x40FFFF),
                          integer("EDITBG_ALERT", 0x95A7E9), 0x8597D9, 0x4AB28F};
  c.HeadingTextColors = {integer("EDITTEXT_H1", 0), integer("EDITTEXT_H2", 0), integer("EDITTEXT_H3", 0)};
  c.InvertedEditTextColor = integer("EDITTEXT_INV", c.EditColor);
  c.InvertedEditBgColor = integer("EDITBG_INV", c.EditFontColor);
  c.OddRowBgColor = integer("EDITBG_ODD", c.EditColor);
  const auto even = MixColors(static_cast<TColorValue>(c.EditFontColor), static_cast<TColorValue>(c.EditColor), 0.05);
  c.EvenRowBgColor = integer("EDITBG_EVEN", static_cast<vcl::TColor>(even));
}

void TsSkinReading::AppendTransparent() {
  if (skin_.GetSkinIndex(kTransparentSection) >= 0) return;
  TsGeneralData& s = skin_.Sections.emplace_back();
  s.ClassName = kTransparentSection;
  for (TsGenState& state : s.Props) {
    state.Transparency = 100;
    state.TCLeft = state.TCTop = state.TCRight = state.TCBottom = -1;
  }
  PrepareGradientArray(s.Props[0].GradientData, s.Props[0].GradientArray);
  s.Props[1].GradientArray = s.Props[0].GradientArray;
}

}  // namespace skin_layered
