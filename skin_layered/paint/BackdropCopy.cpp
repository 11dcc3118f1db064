#include "skin_layered/paint/BackdropCopy.h"

#include <windows.h>

#include <algorithm>
#include <span>

#include "skin_layered/paint/Bitmap32.h"

namespace skin_layered {
namespace {

// The rows of the area in the bitmap, each Area.Width() pixels long; false when they cannot be
// read as 32-bit pixels.
template <class Visit>
bool ForEachRow(vcl::TBitmap* Bmp, const vcl::TRect& Area, Visit&& Row) {
  GdiFlush();  // the pixels as GDI left them
  TPixelView view;
  if (!InitPixelView(Bmp, view)) return false;
  const auto width = static_cast<std::size_t>(Area.Width());
  for (int y = Area.Top; y < Area.Bottom; ++y)
    if (!Row(std::span<const TPixel32>(view.Row(y) + Area.Left, width))) return false;
  return true;
}

}  // namespace

TBackdropCopy::TKey TBackdropCopy::KeyOf(const TqvCacheInfo& Behind, vcl::TPoint At, vcl::TSize Size) {
  TKey key;
  key.Size = Size;
  key.Bitmap = Behind.Ready && Behind.Bmp;
  if (!key.Bitmap) {
    key.FillColor = Behind.FillColor;
    key.FillRect = Behind.FillRect;
    return key;
  }
  const int left = Behind.X + At.X, top = Behind.Y + At.Y;
  key.Area = vcl::Rect(std::max(left, 0), std::max(top, 0), std::min(left + Size.cx, Behind.Bmp->Width()),
                       std::min(top + Size.cy, Behind.Bmp->Height()));
  if (key.Area.Width() <= 0 || key.Area.Height() <= 0) key.Area = vcl::TRect{};
  return key;
}

void TBackdropCopy::Take(const TqvCacheInfo& Behind, vcl::TPoint At, vcl::TSize Size) {
  Clear();
  key_ = KeyOf(Behind, At, Size);
  if (key_.Bitmap && !key_.Area.IsEmpty()) {
    // A control resized step by step takes a larger copy each step: room to spare, as its
    // picture keeps.
    const std::size_t count = static_cast<std::size_t>(key_.Area.Width()) * static_cast<std::size_t>(key_.Area.Height());
    if (count > pixels_.capacity()) pixels_.reserve(count + count / 4);
    const bool read = ForEachRow(Behind.Bmp, key_.Area, [this](std::span<const TPixel32> Row) {
      pixels_.insert(pixels_.end(), Row.begin(), Row.end());
      return true;
    });
    if (!read) return Clear();
  }
  taken_ = true;
}

bool TBackdropCopy::Same(const TqvCacheInfo& Behind, vcl::TPoint At, vcl::TSize Size) const {
  if (!taken_ || KeyOf(Behind, At, Size) != key_) return false;
  if (!key_.Bitmap || key_.Area.IsEmpty()) return true;
  auto kept = pixels_.begin();
  return ForEachRow(Behind.Bmp, key_.Area, [&kept](std::span<const TPixel32> Row) {
    if (!std::equal(Row.begin(), Row.end(), kept)) return false;
    kept += static_cast<std::ptrdiff_t>(Row.size());
    return true;
  });
}

void TBackdropCopy::Clear() {
  taken_ = false;
  key_ = TKey{};
  pixels_.clear();
}

}  // namespace skin_layered
