#include "skin_layered/paint/PngLoading.h"

#include "skin_layered/paint/PngGraphic.h"

namespace skin_layered {

void LoadPngFromFile(vcl::TGraphic* Target, const vcl::String& FileName) {
  if (!Target) return;
  TPNGGraphic png;
  png.LoadFromFile(FileName);
  Target->Assign(&png);
}

void LoadPngFromStream(vcl::TGraphic* Target, vcl::TStream* Stream) {
  if (!Target || !Stream) return;
  TPNGGraphic png;
  png.LoadFromStream(Stream);
  Target->Assign(&png);
}

}  // namespace skin_layered
