#include "skin_classic/paint/SkinRegion.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

// Rectangles are gathered in blocks of 500 and handed to ExtCreateRegion every 2000.
constexpr size_t kRectBlock = 500;
constexpr size_t kRectFlush = 2000;

class RegionBuilder {
 public:
  RegionBuilder() { rects_.reserve(kRectBlock); }

  void Add(int left, int top, int right, int bottom) {
    if (rects_.size() == rects_.capacity()) rects_.reserve(rects_.capacity() + kRectBlock);
    rects_.push_back(RECT{left, top, right, bottom});
    bound_.left = std::min(bound_.left, static_cast<LONG>(left));
    bound_.top = std::min(bound_.top, static_cast<LONG>(top));
    bound_.right = std::max(bound_.right, static_cast<LONG>(right));
    bound_.bottom = std::max(bound_.bottom, static_cast<LONG>(bottom));
    if (rects_.size() == kRectFlush) Flush();
  }

  vcl::UniqueRegion Finish() {
    Flush();
    if (!result_) result_.reset(CreateRectRgn(0, 0, 0, 0));
    return std::move(result_);
  }

 private:
  void Flush() {
    if (rects_.empty()) return;
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + rects_.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(rects_.size());
    header.nRgnSize = 0;
    header.rcBound = bound_;
    std::memcpy(data.data(), &header, sizeof(header));
    std::memcpy(data.data() + sizeof(header), rects_.data(), rects_.size() * sizeof(RECT));
    vcl::UniqueRegion part(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                           reinterpret_cast<const RGNDATA*>(data.data())));
    if (part) {
      if (result_) {
        CombineRgn(result_.get(), result_.get(), part.get(), RGN_OR);
      } else {
        result_ = std::move(part);
      }
    }
    rects_.clear();
    bound_ = kNoBound;
  }

  static constexpr RECT kNoBound{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  std::vector<RECT> rects_;
  RECT bound_ = kNoBound;
  vcl::UniqueRegion result_;
};

vcl::UniqueRegion RectRegion(const TRect& r) { return vcl::UniqueRegion(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom)); }

void Join(vcl::UniqueRegion& into, vcl::UniqueRegion part) {
  if (!part) return;
  if (!into) {
    into = std::move(part);
  } else {
    CombineRgn(into.get(), into.get(), part.get(), RGN_OR);
  }
}

// The region of the top-left Width x Height pixels of Bitmap (BitmapToRegion).
vcl::UniqueRegion PixelsToRegion(TBitmap* Bitmap, int Width, int Height, int OffsetX, int OffsetY, int TolB, int TolG,
                                 int TolR, TColor KeyColor) {
  RegionBuilder region;
  if (!Bitmap || Bitmap->Empty()) return region.Finish();
  // 24- and 32-bit pictures are read where they lie; others through a 32-bit copy (the
  // caller's bitmap keeps its format).
  TBitmap copy;
  TBitmap* pixels = Bitmap;
  if (Bitmap->PixelFormat() != vcl::pf24bit && Bitmap->PixelFormat() != vcl::pf32bit) {
    copy.Assign(Bitmap);
    copy.SetPixelFormat(vcl::pf32bit);
    pixels = &copy;
  }
  const size_t step = pixels->PixelFormat() == vcl::pf24bit ? 3 : 4;
  const auto key = static_cast<uint32_t>(vcl::ColorToRGB(KeyColor));
  const int lowR = key & 0xFF, lowG = (key >> 8) & 0xFF, lowB = (key >> 16) & 0xFF;
  const int highR = std::min(255, lowR + TolR), highG = std::min(255, lowG + TolG), highB = std::min(255, lowB + TolB);
  const int w = std::min(Width, pixels->Width()), h = std::min(Height, pixels->Height());
  // Rows with the same runs as the row above extend its rectangles downwards.
  std::vector<std::pair<int, int>> runs, held;
  int heldTop = 0;
  auto emit = [&](int bottom) {
    for (const auto& [left, right] : held) region.Add(left + OffsetX, heldTop + OffsetY, right + OffsetX, bottom + OffsetY);
  };
  for (int y = 0; y < h; ++y) {
    const auto* row = static_cast<const uint8_t*>(pixels->ScanLine(y));
    auto isKey = [&](int x) {
      const uint8_t* p = row + step * static_cast<size_t>(x);
      return p[2] >= lowR && p[2] <= highR && p[1] >= lowG && p[1] <= highG && p[0] >= lowB && p[0] <= highB;
    };
    runs.clear();
    for (int x = 0; x < w;) {
      while (x < w && isKey(x)) ++x;
      const int start = x;
      while (x < w && !isKey(x)) ++x;
      if (x > start) runs.emplace_back(start, x);
    }
    if (y > 0 && runs == held) continue;
    emit(y);
    held.swap(runs);
    heldTop = y;
  }
  emit(h);
  return region.Finish();
}

}  // namespace

vcl::UniqueRegion BitmapToRegion(TBitmap* Bitmap, int OffsetX, int OffsetY, int TolB, int TolG, int TolR,
                                 TColor KeyColor) {
  if (!Bitmap) return PixelsToRegion(nullptr, 0, 0, OffsetX, OffsetY, TolB, TolG, TolR, KeyColor);
  return PixelsToRegion(Bitmap, Bitmap->Width(), Bitmap->Height(), OffsetX, OffsetY, TolB, TolG, TolR, KeyColor);
}

TRect BorderPartRect(TBorderPart Part, int Width, int Height, const TFrameThickness& t) {
  switch (Part) {
    case TBorderPart::Left: return TRect(0, 0, t.LeftWidth, Height);
    case TBorderPart::Right: return TRect(Width - t.RightWidth, 0, Width, Height);
    case TBorderPart::Top: return TRect(t.LeftWidth, 0, Width - t.RightWidth, t.TopHeight);
    case TBorderPart::Bottom: return TRect(t.LeftWidth, Height - t.BottomHeight, Width - t.RightWidth, Height);
  }
  return {};
}

void DrawBorderPart(HDC DC, const TRect& Rect, TDataSkinObject* Border, TBorderPart Part, bool Active) {
  if (!Border) return;
  const bool stacked = Part == TBorderPart::Top || Part == TBorderPart::Bottom;
  const int frame = std::min(Active ? 1 : 2, Border->Frame);
  DrawSkinBitmapRect(DC, Rect, Border->Bitmap.get(), Border->Margins(), Border->Tile != 0, Border->Frame, frame, false,
                     stacked);
}

vcl::UniqueRegion FrameRegion(int Width, int Height, const TFrameThickness& Thickness,
                              const std::array<TDataSkinObject*, 4>& Borders, bool Active, bool Borderless,
                              const TBorderPartPainter& Painter) {
  const TRect window(0, 0, Width, Height);
  auto transparent = [&](TBorderPart part) {
    TDataSkinObject* b = Borders[static_cast<size_t>(part) - 1];
    return b && b->Transparent() && b->HasBitmap();
  };
  if (Borderless) return RectRegion(window);
  if (!std::any_of(Borders.begin(), Borders.end(), [](TDataSkinObject* b) { return b && b->Transparent(); }))
    return RectRegion(window);

  const TFrameThickness& t = Thickness;
  vcl::UniqueRegion region = RectRegion(TRect(t.LeftWidth, t.TopHeight, Width - t.RightWidth, Height - t.BottomHeight));
  for (TBorderPart part : {TBorderPart::Left, TBorderPart::Right, TBorderPart::Bottom, TBorderPart::Top}) {
    const TRect r = BorderPartRect(part, Width, Height, t);
    if (r.IsEmpty()) continue;
    const bool side = part == TBorderPart::Left || part == TBorderPart::Right;
    const int thickness = side ? Height : r.Height();
    if (!transparent(part) || thickness < 2) {
      Join(region, RectRegion(r));
      continue;
    }
    // Painted into a kept picture: a new one for every part at every step of a resize cost
    // more than cutting the region.
    TBitmap* picture = FramePartPicture(r.Width(), r.Height());
    if (!picture) continue;
    const TRect local(0, 0, r.Width(), r.Height());
    if (Painter) {
      Painter(picture->Canvas()->Handle(), part, local);
    } else {
      DrawBorderPart(picture->Canvas()->Handle(), local, Borders[static_cast<size_t>(part) - 1], part, Active);
    }
    Join(region, PixelsToRegion(picture, r.Width(), r.Height(), r.Left, r.Top, 1, 1, 1, kSkinKeyColor));
  }
  return region ? std::move(region) : RectRegion(window);
}

}  // namespace winskin
