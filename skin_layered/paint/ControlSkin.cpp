#include "skin_layered/paint/ControlSkin.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/pixels/AlphaPixels.h"

namespace skin_layered {

void ApplyColorChanges(vcl::TBitmap* Bmp, const vcl::TRect& R, const TqvColorChanges& Changes) {
  TPixelView view;
  if (!Changes.Any() || !InitPixelView(Bmp, view)) return;
  const TPixelRect area = ClipToView(view, {R.Left, R.Top, R.Right, R.Bottom});
  if (area.IsEmpty()) return;
  auto each = [&](TPixelFunc func, std::int32_t data) {
    for (int y = area.Top; y < area.Bottom; ++y)
      ChangeRowPixels(std::span<TPixel32>(view.Row(y) + area.Left, static_cast<std::size_t>(area.Width())), func,
                      data, kKeyColor);
  };
  if (Changes.Tone != 0x1FFFFFFF)
    each(&ColorizePixel, static_cast<std::int32_t>(vcl::ColorToRGB(Changes.Tone) & 0xFFFFFF));
  if (Changes.HueOffset != 0) each(&HuePixel, Changes.HueOffset);
  if (Changes.Saturation != 0)
    each(&SaturationPixel, std::clamp(static_cast<int>(std::lround(Changes.Saturation * 2.55)), -255, 255));
}

const TsLoadedSkin* TqvControlSkin::SkinOrDefault() const { return Skin ? Skin : DefaultSkin(); }

const TsGeneralData* TqvControlSkin::Section() const {
  const TsLoadedSkin* skin = SkinOrDefault();
  return skin && skin->IsValidSkinIndex(SkinIndex) ? &skin->Sections[static_cast<std::size_t>(SkinIndex)] : nullptr;
}

void PrepareCache(const TqvControlSkin& Data) {
  if (!Data.Cache) return;
  if (Data.Cache->PixelFormat() != vcl::pf32bit) Data.Cache->SetPixelFormat(vcl::pf32bit);
  if (!Data.Owner) return;
  const int w = std::max(Data.Owner->Width(), 0), h = std::max(Data.Owner->Height(), 0);
  if (Data.Cache->Width() != w || Data.Cache->Height() != h) Data.Cache->SetSize(w, h);
}

}  // namespace skin_layered
