// What a control was painted over: the pixels of its parent's picture under it (or the colour
// that stood for them), kept so that a later request to repaint the control can tell whether
// they changed. A control whose picture is made from its parent's repaints only when it did.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/rtl/Types.h"
#include "skin_layered/core/CacheInfo.h"
#include "skin_layered/paint/ColorValue.h"

namespace skin_layered {

class TBackdropCopy {
 public:
  // Keeps what Behind shows over the Size area at At (the control's place, to which Behind's
  // offsets are added).
  void Take(const TqvCacheInfo& Behind, vcl::TPoint At, vcl::TSize Size);
  // Behind shows there what it showed when taken; false when nothing was taken since Clear.
  bool Same(const TqvCacheInfo& Behind, vcl::TPoint At, vcl::TSize Size) const;
  void Clear();

 private:
  struct TKey {
    bool Bitmap = false;  // the pixels of a ready bitmap, else FillColor over FillRect
    std::uint32_t FillColor = 0;
    vcl::TRect FillRect;
    vcl::TRect Area;  // in the bitmap: the part of the control's area it covers
    vcl::TSize Size;
    bool operator==(const TKey&) const = default;
  };
  static TKey KeyOf(const TqvCacheInfo& Behind, vcl::TPoint At, vcl::TSize Size);

  bool taken_ = false;
  TKey key_;
  std::vector<TPixel32> pixels_;
};

}  // namespace skin_layered
