#include "skin_layered/paint/SystemLook.h"

#include <windows.h>

#include <algorithm>

#include "skin_layered/core/CaptionHitCodes.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/ColorValue.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/pixels/MaskedCopies.h"

namespace skin_layered {
namespace {

const TsLoadedSkin* SkinOr(const TsLoadedSkin* skin) { return skin ? skin : DefaultSkin(); }

bool FitsIn(const vcl::TRect& r, vcl::TBitmap* bmp) {
  return bmp && !bmp->Empty() && !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= bmp->Width() &&
         r.Bottom <= bmp->Height();
}

// R made opaque after the system drew into it (GDI leaves the alpha of a 32-bit bitmap at 0).
void Opaque(vcl::TBitmap* bmp, const vcl::TRect& r) {
  if (bmp->PixelFormat() == vcl::pf32bit) FillAlphaRect(bmp, r, 255);
}

// The system's drawing at R through the bitmap's DC, kept inside R and the bitmap and made
// opaque there.
template <class Draw>
void SystemDraws(vcl::TBitmap* bmp, const vcl::TRect& r, Draw draw) {
  if (!bmp || bmp->Empty() || r.IsEmpty()) return;
  vcl::TRect inside;
  if (!vcl::IntersectRect(inside, r, vcl::TRect{0, 0, bmp->Width(), bmp->Height()})) return;
  HDC dc = bmp->Canvas()->Handle();
  {
    const TSavedDC saved(dc);
    IntersectClipRect(dc, inside.Left, inside.Top, inside.Right, inside.Bottom);
    RECT native = r;
    draw(dc, native);
  }
  Opaque(bmp, inside);
}

void CopyBackground(vcl::TBitmap* bmp, int x, int y, int w, int h, vcl::TBitmap* from, int sx, int sy) {
  if (!from || from == bmp || from->Empty() || w <= 0 || h <= 0) return;
  TPixelView dst, src;
  if (InitPixelView(bmp, dst) && InitPixelView(from, src)) {
    CopyArea(dst, x, y, src, {sx, sy, sx + w, sy + h});
    return;
  }
  // Other formats through GDI, kept inside the source.
  if (sx < 0) { x -= sx; w += sx; sx = 0; }
  if (sy < 0) { y -= sy; h += sy; sy = 0; }
  w = std::min(w, from->Width() - sx);
  h = std::min(h, from->Height() - sy);
  if (w > 0 && h > 0) BitBlt(bmp->Canvas()->Handle(), x, y, w, h, from->Canvas()->Handle(), sx, sy, SRCCOPY);
}

void FillColour(vcl::TBitmap* bmp, const vcl::TRect& r, vcl::TColor color) {
  if (r.IsEmpty()) return;
  if (bmp->PixelFormat() == vcl::pf32bit)
    BlendBmpRect(bmp, r, color, 255);
  else
    FillDC(bmp->Canvas()->Handle(), r, color);
}

UINT StateFlags(int state, bool enabled) {
  return (state == 2 ? DFCS_PUSHED : 0) | (state == 1 ? DFCS_HOT : 0) | (enabled ? 0 : DFCS_INACTIVE);
}

// The part of R a square of the size takes, centred.
RECT Centred(const vcl::TRect& r, int size) {
  const int x = r.Left + (r.Width() - size) / 2, y = r.Top + (r.Height() - size) / 2;
  return RECT{x, y, x + size, y + size};
}

}  // namespace

bool SkinHasSection(const TsLoadedSkin* Skin, int Index) {
  const TsLoadedSkin* skin = SkinOr(Skin);
  return skin && skin->IsValidSkinIndex(Index);
}

bool SkinHasImage(const TsLoadedSkin* Skin, int Index) {
  const TsLoadedSkin* skin = SkinOr(Skin);
  return skin && skin->IsValidImgIndex(Index);
}

void PaintBehind(vcl::TBitmap* Bmp, const vcl::TRect& R, vcl::TPoint pP, const TqvCacheInfo& CI) {
  if (!FitsIn(R, Bmp)) return;
  const int w = R.Width(), h = R.Height();
  const int sx = CI.X + pP.X, sy = CI.Y + pP.Y;
  if (CI.Ready && CI.Bmp) {
    CopyBackground(Bmp, R.Left, R.Top, w, h, CI.Bmp, sx, sy);
    return;
  }
  const vcl::TColor colour = CI.FillColor != kKeyColor ? static_cast<vcl::TColor>(CI.FillColor)
                                                       : static_cast<vcl::TColor>(GetSysColor(COLOR_BTNFACE));
  if (!CI.Bmp) {
    FillColour(Bmp, R, colour);
    return;
  }
  // The strips of the bitmap the fill rectangle leaves free hold real background.
  const vcl::TRect a{pP.X, pP.Y, pP.X + w, pP.Y + h};
  const vcl::TRect& f = CI.FillRect;
  const int bw = CI.Bmp->Width(), bh = CI.Bmp->Height();
  const int left = f.Left - CI.X > 0 && f.Left > a.Left ? std::min(f.Left - a.Left, w) : 0;
  const int top = f.Top - CI.Y > 0 && f.Top > a.Top ? std::min(f.Top - a.Top, h) : 0;
  const int right = f.Right > 0 && a.Right < bw ? std::clamp(a.Right - (bw - f.Right), 0, w) : 0;
  const int bottom = f.Bottom > 0 && a.Bottom < bh ? std::clamp(a.Bottom - (bh - f.Bottom), 0, h) : 0;
  CopyBackground(Bmp, R.Left, R.Top, left, h, CI.Bmp, sx, sy);
  CopyBackground(Bmp, R.Left, R.Top, w, top, CI.Bmp, sx, sy);
  CopyBackground(Bmp, R.Right - right, R.Top, right, h, CI.Bmp, sx + w - right, sy);
  CopyBackground(Bmp, R.Left, R.Bottom - bottom, w, bottom, CI.Bmp, sx, sy + h - bottom);
  FillColour(Bmp,
             {R.Left + left, R.Top + top, std::max(R.Right - right, R.Left + left), std::max(R.Bottom - bottom, R.Top + top)},
             colour);
}

void DrawSystemCheck(vcl::TBitmap* Bmp, const vcl::TRect& R, bool Radio, int Check, int State, bool Enabled) {
  const RECT box = Centred(R, kSystemCheckSize);
  const vcl::TRect r(box);
  SystemDraws(Bmp, r, [&](HDC dc, RECT& place) {
    const UINT kind = Radio ? DFCS_BUTTONRADIO : Check == 2 ? DFCS_BUTTON3STATE : DFCS_BUTTONCHECK;
    const UINT flags = kind | (Check != 0 ? DFCS_CHECKED : 0) | StateFlags(State, Enabled);
    DrawFrameControl(dc, &place, DFC_BUTTON, flags);
  });
}

void DrawSystemScrollArrow(vcl::TBitmap* Bmp, const vcl::TRect& R, int Direction, int State, bool Enabled) {
  static constexpr UINT kArrows[] = {DFCS_SCROLLLEFT, DFCS_SCROLLUP, DFCS_SCROLLRIGHT, DFCS_SCROLLDOWN};
  SystemDraws(Bmp, R, [&](HDC dc, RECT& place) {
    const UINT flags = kArrows[std::clamp(Direction, 0, 3)] | (State == 2 ? DFCS_PUSHED | DFCS_FLAT : 0) |
                       (Enabled ? 0 : DFCS_INACTIVE);
    DrawFrameControl(dc, &place, DFC_SCROLL, flags);
  });
}

void DrawSystemScrollTrack(vcl::TBitmap* Bmp, const vcl::TRect& R, bool Pressed) {
  SystemDraws(Bmp, R, [&](HDC dc, RECT& place) {
    FillRect(dc, &place, GetSysColorBrush(Pressed ? COLOR_3DDKSHADOW : COLOR_SCROLLBAR));
  });
}

void DrawSystemScrollThumb(vcl::TBitmap* Bmp, const vcl::TRect& R) {
  SystemDraws(Bmp, R, [](HDC dc, RECT& place) { DrawFrameControl(dc, &place, DFC_BUTTON, DFCS_BUTTONPUSH); });
}

bool DrawSystemTitleButton(vcl::TBitmap* Bmp, const vcl::TRect& R, int HitCode, bool Restore, int State,
                           bool Enabled) {
  UINT kind = 0;
  switch (HitCode) {
    case kHitClose:
    case kHitMdiClose: kind = DFCS_CAPTIONCLOSE; break;
    case kHitMax: kind = Restore ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX; break;
    case kHitMdiRestore: kind = DFCS_CAPTIONRESTORE; break;
    case kHitMin: kind = Restore ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN; break;
    case kHitMdiMin: kind = DFCS_CAPTIONMIN; break;
    case kHitHelp: kind = DFCS_CAPTIONHELP; break;
    default: return false;
  }
  SystemDraws(Bmp, R, [&](HDC dc, RECT& place) {
    DrawFrameControl(dc, &place, DFC_CAPTION, kind | StateFlags(State, Enabled));
  });
  return true;
}

void DrawSystemButtonEdge(vcl::TBitmap* Bmp, const vcl::TRect& R, int State, bool Flat) {
  if (!FitsIn(R, Bmp) || (Flat && State == 0)) return;
  HDC dc = Bmp->Canvas()->Handle();
  RECT place = R;
  if (State == 2)
    DrawEdge(dc, &place, Flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
  else
    DrawEdge(dc, &place, Flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
  const int edge = Flat ? 1 : 2;
  for (const vcl::TRect& strip : {vcl::TRect{R.Left, R.Top, R.Right, R.Top + edge},
                                  vcl::TRect{R.Left, R.Bottom - edge, R.Right, R.Bottom},
                                  vcl::TRect{R.Left, R.Top, R.Left + edge, R.Bottom},
                                  vcl::TRect{R.Right - edge, R.Top, R.Right, R.Bottom}})
    Opaque(Bmp, strip);
}

void DrawSystemTrackChannel(vcl::TBitmap* Bmp, const vcl::TRect& R) {
  SystemDraws(Bmp, R, [](HDC dc, RECT& place) {
    FillRect(dc, &place, GetSysColorBrush(COLOR_WINDOW));
    DrawEdge(dc, &place, EDGE_SUNKEN, BF_RECT);
  });
}

void DrawSystemTrackThumb(vcl::TBitmap* Bmp, const vcl::TRect& R, bool Pressed) {
  SystemDraws(Bmp, R, [Pressed](HDC dc, RECT& place) {
    DrawFrameControl(dc, &place, DFC_BUTTON, DFCS_BUTTONPUSH | (Pressed ? DFCS_PUSHED : 0));
  });
}

void DrawSystemSizeGrip(vcl::TBitmap* Bmp, const vcl::TRect& R) {
  const int side = std::min({GetSystemMetrics(SM_CXVSCROLL), R.Width(), R.Height()});
  if (side <= 0) return;
  SystemDraws(Bmp, vcl::TRect{R.Right - side, R.Bottom - side, R.Right, R.Bottom},
              [](HDC dc, RECT& place) { DrawFrameControl(dc, &place, DFC_SCROLL, DFCS_SCROLLSIZEGRIP); });
}

void DrawSystemGroupFrame(vcl::TBitmap* Bmp, const vcl::TRect& R) {
  if (!FitsIn(R, Bmp)) return;
  RECT place = R;
  DrawEdge(Bmp->Canvas()->Handle(), &place, EDGE_ETCHED, BF_RECT);
  for (const vcl::TRect& strip : {vcl::TRect{R.Left, R.Top, R.Right, R.Top + 2},
                                  vcl::TRect{R.Left, R.Bottom - 2, R.Right, R.Bottom},
                                  vcl::TRect{R.Left, R.Top, R.Left + 2, R.Bottom},
                                  vcl::TRect{R.Right - 2, R.Top, R.Right, R.Bottom}})
    Opaque(Bmp, strip);
}

void DrawSystemMenuBackground(vcl::TBitmap* Bmp, const vcl::TRect& R) {
  SystemDraws(Bmp, R, [](HDC dc, RECT& place) {
    FillRect(dc, &place, GetSysColorBrush(COLOR_MENU));
    DrawEdge(dc, &place, EDGE_RAISED, BF_RECT);
  });
}

void DrawSystemSelection(vcl::TBitmap* Bmp, const vcl::TRect& R) {
  SystemDraws(Bmp, R, [](HDC dc, RECT& place) { FillRect(dc, &place, GetSysColorBrush(COLOR_HIGHLIGHT)); });
}

vcl::TColor SystemSelectionTextColor() { return static_cast<vcl::TColor>(GetSysColor(COLOR_HIGHLIGHTTEXT)); }

}  // namespace skin_layered
