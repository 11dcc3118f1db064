// The skin manager's hue, saturation and brightness applied to a skin being read: to the
// master bitmap and the images with bitmaps of their own (each bitmap once, key-coloured
// pixels left alone), and, for saturation and brightness, to the sections' colours.
#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "skin_layered/core/Constants.h"
#include "skin_layered/manager/SkinReading.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/pixels/PixelTransforms.h"
#include "skin_layered/paint/pixels/PixelView.h"

namespace skin_layered {

namespace {

using vcl::TBitmap;

// A master-bitmap area whose pixels a hue change must not touch.
struct TKeptArea {
  vcl::TRect R;
  std::vector<TPixel32> Pixels;
};

std::vector<TKeptArea> KeepAreas(TBitmap* bmp, const std::vector<vcl::TRect>& areas) {
  std::vector<TKeptArea> kept;
  TPixelView view;
  if (!InitPixelView(bmp, view)) return kept;
  for (const vcl::TRect& r : areas) {
    TKeptArea& area = kept.emplace_back();
    area.R = r;
    for (int y = r.Top; y < r.Bottom; ++y) area.Pixels.insert(area.Pixels.end(), view.Row(y) + r.Left, view.Row(y) + r.Right);
  }
  return kept;
}

void RestoreAreas(TBitmap* bmp, const std::vector<TKeptArea>& kept) {
  TPixelView view;
  if (!InitPixelView(bmp, view)) return;
  for (const TKeptArea& area : kept) {
    auto pixel = area.Pixels.begin();
    for (int y = area.R.Top; y < area.R.Bottom; ++y, pixel += area.R.Width())
      std::copy_n(pixel, area.R.Width(), view.Row(y) + area.R.Left);
  }
}

void BrightnessPixel(TPixel32& pixel, std::int32_t amount) { pixel = ChangeBrightness(pixel, amount); }

template <class Change>
void ChangeStateColors(TsGenState& state, Change&& change) {
  auto color = [&](vcl::TColor& c) {
    if (c != -1) c = static_cast<vcl::TColor>(change(static_cast<TColorValue>(c)));
  };
  for (vcl::TColor* c : {&state.Color, &state.FontColor, &state.TCLeft, &state.TCTop, &state.TCRight, &state.TCBottom,
                         &state.GCol})
    color(*c);
  for (TsGradStop& stop : state.GradientArray) {
    stop.Color1 = change(stop.Color1);
    stop.Color2 = change(stop.Color2);
  }
}

}  // namespace

void TsSkinReading::AdjustColors() {
  const int hue = request_.HueOffset;
  const int saturation = std::clamp(static_cast<int>(std::lround(request_.Saturation * 2.55)), -255, 255);
  const int brightness = request_.Brightness;
  if (hue == 0 && request_.Saturation == 0 && brightness == 0) return;

  // Every bitmap once: files named by several keys share theirs.
  std::vector<TBitmap*> bitmaps;
  std::set<TBitmap*> seen;
  auto add = [&](TBitmap* bmp) {
    if (bmp && seen.insert(bmp).second) bitmaps.push_back(bmp);
  };
  add(skin_.MasterBitmap.get());
  for (const TsMaskData& image : skin_.Images) add(image.Bmp.get());

  // Title-button images that keep their hue: the close buttons, or with a value other than 1
  // every title button, each with its glow image.
  std::set<TBitmap*> keepHue;
  std::vector<vcl::TRect> keptParts;
  if (skin_.SkinData.BIKeepHue > 0) {
    std::vector<std::wstring_view> names{L"BICONCLOSE", L"BICLOSEALONE", L"SICONCLOSE"};
    if (skin_.SkinData.BIKeepHue != 1)
      names.insert(names.end(), {L"BICONMAX", L"BICONMIN", L"BICONNORM", L"BICONHELP", L"SICONMAX", L"SICONMIN",
                                 L"SICONNORM"});
    for (std::wstring_view name : names) {
      for (const vcl::String& key : {vcl::String(name), vcl::String(name) + L"GLOW0"}) {
        const int index = skin_.FindImageByNames(kGlobalInfoSection, key);
        if (!skin_.IsValidImgIndex(index)) continue;
        const TsMaskData& image = skin_.Images[static_cast<std::size_t>(index)];
        if (image.Bmp) keepHue.insert(image.Bmp.get());
        else keptParts.push_back(image.R);
      }
    }
  }

  for (TBitmap* bmp : bitmaps) {
    if (hue != 0 && !keepHue.contains(bmp)) {
      const bool master = bmp == skin_.MasterBitmap.get();
      const auto kept = master ? KeepAreas(bmp, keptParts) : std::vector<TKeptArea>{};
      ChangeBitmapPixels(bmp, &HuePixel, hue, kKeyColor);
      RestoreAreas(bmp, kept);
    }
    if (saturation != 0) ChangeBitmapPixels(bmp, &SaturationPixel, saturation, kKeyColor);
    if (brightness != 0) ChangeBitmapPixels(bmp, &BrightnessPixel, brightness, kKeyColor);
  }

  for (TsGeneralData& section : skin_.Sections) {
    for (TsGenState& state : section.Props) {
      if (saturation != 0) ChangeStateColors(state, [&](TColorValue c) { return ChangeSaturation(c, saturation); });
      if (brightness != 0) ChangeStateColors(state, [&](TColorValue c) { return ChangeBrightness(c, brightness); });
    }
  }
  if (saturation != 0)
    skin_.SkinData.Shadow1Color =
        static_cast<vcl::TColor>(ChangeSaturation(static_cast<TColorValue>(skin_.SkinData.Shadow1Color), saturation));
}

}  // namespace skin_layered
