// One read of a skin description into a loaded skin (the steps after the source is open):
// the version, the images, the sections, the colours, the hue, saturation and brightness
// and the common indexes. The skin reader runs it on a skin read aside.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/core/ImageDescriptor.h"
#include "skin_layered/core/SkinConvertor.h"
#include "skin_layered/core/SkinDescription.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/manager/SkinLoadRequest.h"

namespace skin_layered {

// A picture of more pixels is refused, as are pictures taking more together: no real skin's
// come near, and a small pack could otherwise make the engine hold pictures of any size.
inline constexpr std::int64_t kMaxPicturePixels = 8'000'000;
inline constexpr std::int64_t kMaxSkinPixels = 16'000'000;

// The program's bitmap resource blurred into the shadow images the skin builds itself.
inline constexpr wchar_t kShadowBlurResource[] = L"BLUR5";

class TsSkinReading {
 public:
  struct TColorsGiven {
    bool Face = false, Font = false;
  };

  // Pack is the skin's pack when its images come from one, else nil. The skin's SkinPath is
  // set. DescriptionName is what messages call the description.
  TsSkinReading(const TSkinDescription& Description, const TqvSkinConvertor* Pack, const TsSkinLoadRequest& Request,
                TsLoadedSkin& Skin, const vcl::String& DescriptionName);

  void Run();

 private:
  // Images
  void LoadImages();
  void AddDescribedImage(std::string_view Section, std::string_view Key, std::string_view Value);
  void LoadCommonSectionImages();
  int AddImage(const vcl::String& Section, const vcl::String& Key, const TImageDescriptor& Descriptor,
               std::shared_ptr<vcl::TBitmap> Own, const vcl::TRect& R);
  // 1 when the border strips of the image's first frame hold the key colour, else 0.
  int TransparentBorderOf(const TsMaskData& Image);
  struct TKeyCounts {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Sums;
  };
  const TKeyCounts* KeyCounts(vcl::TBitmap* Bmp);
  // The image file of that name (from the pack unless FromDisk), loaded once, 32 bits per
  // pixel; nil when it does not exist.
  std::shared_ptr<vcl::TBitmap> ImageFile(const vcl::String& Name, bool FromDisk = false);
  std::shared_ptr<vcl::TBitmap> DecodeImage(vcl::TStream* Stream, const vcl::String& Name, const vcl::String& UpperName);
  // Refuses (EReadError) a picture beyond the size of any real skin's, or one that would take
  // the skin's pictures beyond what any real skin's take together; counts it in otherwise.
  void CheckPicture(const vcl::String& Name, int Width, int Height);
  // The descriptor of a key's value; a malformed one raises EConvertError naming the key and
  // the section.
  TImageDescriptor Descriptor(std::string_view Section, std::string_view Key, std::string_view Value,
                              bool MaskPartLayout = false) const;
  [[noreturn]] void RaiseValueError(std::string_view Section, std::string_view Key, const vcl::String& Fault) const;

  // Sections
  void ReadGlobalInfo();
  void ReadShadowLayer(int Layer);
  int BuiltShadowImage(const TsShadowLayer& Layer, const vcl::String& Key);
  void ReadSections();
  // A state's values (0 normal, 1 hot), by the numbers of its keys in the description; Given
  // tells whether the description gives its face colour and its font colour (along the
  // parents).
  TsGenState ReadState(int Section, std::size_t State, const std::array<int, 12>& Keys, TColorsGiven& Given) const;
  void MergeCommonSections();
  void ResolveImageIndexes();
  // The font colour of a state whose face is a plain colour, where the skin leaves the face or
  // the font colour to its default: one that stands off the face.
  void MakeDefaultedTextsLegible();
  void ReadSkinColors();
  void AppendTransparent();

  // Hue, saturation and brightness of the images and colours.
  void AdjustColors();

  vcl::String Text(std::string_view Bytes) const;

  const TSkinDescription& description_;
  const TqvSkinConvertor* pack_;
  const TsSkinLoadRequest& request_;
  TsLoadedSkin& skin_;
  vcl::String description_name_;
  // Upper-cased names: of the files loaded (their place in the skin's list), of the pack's
  // entries (however many keys name how many files, each is found at once).
  std::unordered_map<vcl::String, std::size_t> loaded_;
  std::unordered_map<vcl::String, const TqvImageItem*> pack_entries_;
  std::unordered_map<vcl::TBitmap*, TKeyCounts> key_counts_;
  std::int64_t pixels_ = 0;  // of the pictures decoded so far
  // By section, by state: whether the description gives the face and font colours.
  std::vector<std::array<TColorsGiven, 2>> colors_given_;
};

}  // namespace skin_layered
