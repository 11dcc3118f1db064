// A work picture the painters keep from call to call instead of making one for every call.
#pragma once

#include <cstdint>
#include <memory>

#include "skin_classic/paint/SkinBitmaps.h"

namespace winskin {

// A 24-bit picture of at least the size asked for, kept between calls. It grows in steps of
// kGrain pixels, so a window resized a few pixels at a time makes a new one only now and then.
// Its DC goes with the message, as every picture's canvas's does.
class TKeptPicture {
 public:
  static constexpr int kGrain = 64;

  TKeptPicture() = default;
  TKeptPicture(const TKeptPicture&) = delete;
  TKeptPicture& operator=(const TKeptPicture&) = delete;

  // The picture, made or grown to at least Width x Height; nil when none can be made.
  TBitmap* Get(int Width, int Height);
  // The picture made for exactly Width x Height (rounded up), whatever it held before.
  TBitmap* Remake(int Width, int Height);
  bool Fits(int Width, int Height) const;
  // Pixels of the picture that would hold both what it holds and Width x Height.
  int64_t GrownArea(int Width, int Height) const;
  int Width() const { return bitmap_ ? bitmap_->Width() : 0; }
  int Height() const { return bitmap_ ? bitmap_->Height() : 0; }
  void Reset() { bitmap_.reset(); }

 private:
  std::unique_ptr<TBitmap> bitmap_;
};

}  // namespace winskin
