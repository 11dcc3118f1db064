// What the skin manager hands to a load of its skin: read by the skin reader (SkinReader.h)
// and by each read of a skin description (SkinReading.h).
#pragma once

#include <functional>

#include "classlib/rtl/StringList.h"
#include "classlib/rtl/SysUtils.h"
#include "skin_layered/core/StoredSkins.h"

namespace skin_layered {

struct TsSkinLoadRequest {
  vcl::String SkinDirectory;
  // The skin to load; when a stored skin is taken in its place, that skin's name.
  vcl::String SkinName;
  // The skin editor's text while previewing; it comes before every other source.
  const vcl::TStrings* PreviewLines = nullptr;
  TsStoredSkins* StoredSkins = nullptr;
  // Extra sections, and images named in them, of the manager ("CommonSections").
  const vcl::TStrings* CommonSections = nullptr;
  int HueOffset = 0;
  int Saturation = 0;  // -100..100
  int Brightness = 0;
  // After the common indexes, on the manager's tables: its extended-border step.
  std::function<void()> AfterCommonIndexes;
  // Last ("OnSkinLoading").
  std::function<void()> OnSkinLoading;
};

}  // namespace skin_layered
