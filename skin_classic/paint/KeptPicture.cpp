#include "skin_classic/paint/KeptPicture.h"

#include <algorithm>

namespace winskin {
namespace {

int RoundUp(int Value) {
  const int64_t rounded = (int64_t{Value} + TKeptPicture::kGrain - 1) / TKeptPicture::kGrain * TKeptPicture::kGrain;
  return static_cast<int>(std::min<int64_t>(rounded, vcl::dib::kMaxSide));
}

}  // namespace

bool TKeptPicture::Fits(int Width, int Height) const {
  return bitmap_ && bitmap_->Width() >= Width && bitmap_->Height() >= Height;
}

int64_t TKeptPicture::GrownArea(int Width, int Height) const {
  return int64_t{std::max(this->Width(), RoundUp(Width))} * std::max(this->Height(), RoundUp(Height));
}

TBitmap* TKeptPicture::Get(int Width, int Height) {
  if (Fits(Width, Height)) return bitmap_.get();
  const int w = std::max(this->Width(), RoundUp(Width)), h = std::max(this->Height(), RoundUp(Height));
  bitmap_.reset();
  bitmap_ = NewSkinBitmap(w, h);
  // Rounded up it may be too large where the size asked for is not.
  if (!bitmap_) bitmap_ = NewSkinBitmap(Width, Height);
  return bitmap_.get();
}

TBitmap* TKeptPicture::Remake(int Width, int Height) {
  bitmap_.reset();
  return Get(Width, Height);
}

}  // namespace winskin
