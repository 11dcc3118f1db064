#include "skin_layered/paint/NinePart.h"

#include <algorithm>

#include "skin_layered/core/SavedDC.h"
#include "skin_layered/paint/SkinImages.h"

namespace skin_layered {
namespace {

// One piece of the source at (sx, sy), w x h, into a destination area: tiled (partial pieces
// at the far ends) or stretched.
class TPieceDrawer {
 public:
  TPieceDrawer(HDC target, HDC source) : target_(target), source_(source) {}

  void Copy(int x, int y, int w, int h, int sx, int sy) const {
    if (w > 0 && h > 0) BitBlt(target_, x, y, w, h, source_, sx, sy, SRCCOPY);
  }
  void Stretch(const TPixelRect& area, int sx, int sy, int sw, int sh) const {
    if (area.IsEmpty() || sw <= 0 || sh <= 0) return;
    StretchBlt(target_, area.Left, area.Top, area.Width(), area.Height(), source_, sx, sy, sw, sh, SRCCOPY);
  }
  void Tile(const TPixelRect& area, int sx, int sy, int sw, int sh) const {
    if (sw <= 0 || sh <= 0 || area.IsEmpty()) return;
    if (TileCount(area, sw, sh) > kTilesCopiedOneByOne && Painted(area)) return TileByDoubling(area, sx, sy, sw, sh);
    ForEachTile(area, sw, sh, area, [&](int x, int y, int w, int h) { Copy(x, y, w, h, sx, sy); });
  }
  void Fill(const TPixelRect& area, int sx, int sy, int sw, int sh, bool stretch) const {
    if (stretch)
      Stretch(area, sx, sy, sw, sh);
    else
      Tile(area, sx, sy, sw, sh);
  }

 private:
  // Past this many tiles an area is filled from its own first tile, doubling what is laid:
  // a form's body at every step of a resize is otherwise a copy call per tile.
  static constexpr long long kTilesCopiedOneByOne = 8;

  static long long TileCount(const TPixelRect& area, int sw, int sh) {
    return (static_cast<long long>(area.Width()) + sw - 1) / sw * ((static_cast<long long>(area.Height()) + sh - 1) / sh);
  }
  // Every pixel of the area lands in the target (it is read back from there): inside the
  // target's bitmap and a one-rectangle clip.
  bool Painted(const TPixelRect& area) const {
    RECT box{};
    if (GetClipBox(target_, &box) != SIMPLEREGION) return false;
    return area.Left >= box.left && area.Top >= box.top && area.Right <= box.right && area.Bottom <= box.bottom;
  }
  // The same pixels as a copy per tile: the first tile, then the laid part of the first row
  // copied beside itself, then the laid rows below themselves, each copy a whole number of
  // tiles long until the last.
  void TileByDoubling(const TPixelRect& area, int sx, int sy, int sw, int sh) const {
    const int width = area.Width(), height = area.Height();
    const int rowHeight = std::min(sh, height);
    Copy(area.Left, area.Top, std::min(sw, width), rowHeight, sx, sy);
    for (int laid = std::min(sw, width); laid < width; laid *= 2)
      BitBlt(target_, area.Left + laid, area.Top, std::min(laid, width - laid), rowHeight, target_, area.Left,
             area.Top, SRCCOPY);
    for (int laid = rowHeight; laid < height; laid *= 2)
      BitBlt(target_, area.Left, area.Top + laid, width, std::min(laid, height - laid), target_, area.Left, area.Top,
             SRCCOPY);
  }

  HDC target_, source_;
};

// HALFTONE stretching, as its documentation asks, with the brush origin reset.
void UseHalftone(HDC dc) {
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
}

}  // namespace

void DrawNinePart(vcl::TBitmap* Target, vcl::TBitmap* Source, const vcl::TRect& D, bool FillCentre,
                  bool StretchCentre, const TqvSideModes& SideModes, const TNineMargins& Limits,
                  const TNineMargins& Margins, const vcl::TRect& S) {
  if (!Target || !Source || Target->Empty() || Source->Empty() || D.IsEmpty() || S.IsEmpty()) return;
  HDC target = Target->Canvas()->Handle();
  HDC source = Source->Canvas()->Handle();
  const TSavedDC saved(target);
  IntersectClipRect(target, D.Left, D.Top, D.Right, D.Bottom);
  UseHalftone(target);
  const TPieceDrawer draw(target, source);

  const int mL = std::max(Margins.Left, 0), mT = std::max(Margins.Top, 0);
  const int mR = std::max(Margins.Right, 0), mB = std::max(Margins.Bottom, 0);
  const int cL = std::min(mL, Limits.Left), cT = std::min(mT, Limits.Top);
  const int cR = std::min(mR, Limits.Right), cB = std::min(mB, Limits.Bottom);
  // Corners: an outer band as wide as the margin, and beside the side an inner band of the
  // limited width where the margin exceeds its limit.
  draw.Copy(D.Left, D.Top, mL, cT, S.Left, S.Top);
  if (mT != cT) draw.Copy(D.Left, D.Top + cT, cL, mT - cT, S.Left, S.Top + cT);
  draw.Copy(D.Left, D.Bottom - cB, mL, cB, S.Left, S.Bottom - cB);
  if (mB != cB) draw.Copy(D.Left, D.Bottom - mB, cL, mB - cB, S.Left, S.Bottom - mB);
  draw.Copy(D.Right - mR, D.Top, mR, cT, S.Right - mR, S.Top);
  if (mT != cT) draw.Copy(D.Right - cR, D.Top + cT, cR, mT - cT, S.Right - cR, S.Top + cT);
  draw.Copy(D.Right - mR, D.Bottom - cB, mR, cB, S.Right - mR, S.Bottom - cB);
  if (mB != cB) draw.Copy(D.Right - cR, D.Bottom - mB, cR, mB - cB, S.Right - cR, S.Bottom - mB);

  const int sw = S.Width() - mL - mR, sh = S.Height() - mT - mB;
  const int midLeft = D.Left + mL, midRight = D.Right - mR, midTop = D.Top + mT, midBottom = D.Bottom - mB;
  draw.Fill({D.Left, midTop, midLeft, midBottom}, S.Left, S.Top + mT, mL, sh, SideModes.Left == 1);
  draw.Fill({midLeft, D.Top, midRight, midTop}, S.Left + mL, S.Top, sw, mT, SideModes.Top == 1);
  draw.Fill({midRight, midTop, D.Right, midBottom}, S.Right - mR, S.Top + mT, mR, sh, SideModes.Right == 1);
  draw.Fill({midLeft, midBottom, midRight, D.Bottom}, S.Left + mL, S.Bottom - mB, sw, mB, SideModes.Bottom == 1);
  if (FillCentre) draw.Fill({midLeft, midTop, midRight, midBottom}, S.Left + mL, S.Top + mT, sw, sh, StretchCentre);
}

void FillByImage(vcl::TCanvas* Canvas, vcl::TRect& R, int Mode, const TsMaskData& Image) {
  vcl::TBitmap* picture = ImagePicture(Image);
  if (!Canvas || !picture || picture->Empty()) return;
  const int wi = Image.R.Width(), hi = Image.R.Height();
  if (wi <= 0 || hi <= 0) return;
  if (Mode < 0 || Mode > 14 || R.IsEmpty()) return;
  HDC dc = Canvas->Handle();
  const TSavedDC saved(dc);
  IntersectClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
  UseHalftone(dc);
  const TPieceDrawer draw(dc, picture->Canvas()->Handle());
  const int sx = Image.R.Left, sy = Image.R.Top;
  const TPixelRect all{R.Left, R.Top, R.Right, R.Bottom};
  switch (Mode) {
    case 1:
      draw.Stretch(all, sx, sy, wi, hi);
      R = kAllCovered;
      return;
    case 4:
      draw.Stretch({R.Left, R.Top, R.Right, R.Top + hi}, sx, sy, wi, hi);
      R.Top = std::min(R.Top + hi, R.Bottom);
      return;
    case 5:
      draw.Stretch({R.Left, R.Top, R.Left + wi, R.Bottom}, sx, sy, wi, hi);
      R.Left = std::min(R.Left + wi, R.Right);
      return;
    case 0:
    case 10:
      draw.Tile(all, sx, sy, wi, hi);
      R = kAllCovered;
      return;
    case 11:
      for (long long y = R.Top; y < R.Bottom; y += hi)
        draw.Stretch({R.Left, static_cast<int>(y), R.Right, static_cast<int>(y + hi)}, sx, sy, wi, hi);
      R = kAllCovered;
      return;
    case 12:
      for (long long x = R.Left; x < R.Right; x += wi)
        draw.Stretch({static_cast<int>(x), R.Top, static_cast<int>(x + wi), R.Bottom}, sx, sy, wi, hi);
      R = kAllCovered;
      return;
    case 2:
      draw.Tile({R.Left, R.Top, R.Right, std::min(R.Top + hi, R.Bottom)}, sx, sy, wi, hi);
      R.Top = std::min(R.Top + hi, R.Bottom);
      return;
    case 3:
      draw.Tile({R.Left, R.Top, std::min(R.Left + wi, R.Right), R.Bottom}, sx, sy, wi, hi);
      R.Left = std::min(R.Left + wi, R.Right);
      return;
    case 6:
      // A row whose pictures end at the bottom edge.
      for (long long x = R.Left; x < R.Right; x += wi)
        draw.Copy(static_cast<int>(x), R.Bottom - hi, static_cast<int>(std::min<long long>(wi, R.Right - x)), hi, sx,
                  sy);
      R.Bottom = std::max(R.Bottom - hi, R.Top);
      return;
    default:  // 7, 8, 9, 13, 14: a column whose pictures end at the right edge
      for (long long y = R.Top; y < R.Bottom; y += hi)
        draw.Copy(R.Right - wi, static_cast<int>(y), wi, static_cast<int>(std::min<long long>(hi, R.Bottom - y)), sx,
                  sy);
      R.Right = std::max(R.Right - wi, R.Left);
      return;
  }
}

}  // namespace skin_layered
