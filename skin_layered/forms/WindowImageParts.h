// Small pieces the window image's painters share: the state a section is painted in for the
// caption's state, and the image itself as what lies behind what is painted over it.
#pragma once

#include <algorithm>
#include <cstddef>

#include "skin_layered/core/CacheInfo.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinModel.h"

namespace skin_layered {

// The active state (1) or the normal one (0), as far as the section has states; 0 for no
// section.
inline int CaptionStateOf(const TsLoadedSkin& Skin, int Index, bool Active) {
  if (!Skin.IsValidSkinIndex(Index)) return 0;
  return std::min(Active ? 1 : 0, std::max(0, Skin.Sections[static_cast<std::size_t>(Index)].States - 1));
}

inline TqvCacheInfo ImageBehind(vcl::TBitmap* Image) {
  TqvCacheInfo ci;
  MakeCacheInfo(Image, 0, 0, ci);
  return ci;
}

}  // namespace skin_layered
