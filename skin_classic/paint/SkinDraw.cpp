#include "skin_classic/paint/SkinDraw.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "skin_classic/paint/KeptPicture.h"
#include "skin_classic/paint/SkinBitmaps.h"

namespace winskin {
namespace {

// The frame of a skin image: where it lies in the image.
struct FrameBox {
  int x = 0, y = 0, width = 0, height = 0;
};

// Frame Frame of FrameCount frames, stacked when Vertical; nothing for an invalid frame
// or one of no pixels.
std::optional<FrameBox> FrameOf(TBitmap* Image, int FrameCount, int Frame, bool Vertical) {
  if (!Image || Image->Empty() || FrameCount < 1 || Frame < 1 || Frame > FrameCount) return std::nullopt;
  FrameBox f{0, 0, Image->Width(), Image->Height()};
  int& start = Vertical ? f.y : f.x;
  int& size = Vertical ? f.height : f.width;
  size = FrameExtent(size, FrameCount);
  start = (Frame - 1) * size;
  if (f.width <= 0 || f.height <= 0) return std::nullopt;
  return f;
}

HDC DcOf(TBitmap* Bitmap) { return Bitmap->Canvas()->Handle(); }

void Stretch(HDC dst, const TRect& d, HDC src, const TRect& s) {
  if (d.Width() <= 0 || d.Height() <= 0 || s.Width() <= 0 || s.Height() <= 0) return;
  StretchBlt(dst, d.Left, d.Top, d.Width(), d.Height(), src, s.Left, s.Top, s.Width(), s.Height(), SRCCOPY);
}

// Copies the top-left Width x Height of a finished picture to the destination, opaque or
// without the key colour.
void Put(HDC DC, int X, int Y, int Width, int Height, TBitmap* Picture, bool Transparent) {
  if (Transparent) {
    DrawTransparentBitmap(DC, X, Y, Width, Height, DcOf(Picture), 0, 0, kSkinKeyColor);
  } else {
    BitBlt(DC, X, Y, Width, Height, DcOf(Picture), 0, 0, SRCCOPY);
  }
}

// The bitmaps the drawing calls work in, kept from call to call and grown as needed: a new
// picture and a new mask at every call cost more than the drawing itself. Pictures larger
// than kKeptPixels are made for their call alone, so what is kept stays small. A few pictures
// are kept, as a frame asks for wide ones (top and bottom) and tall ones (the sides) in turn:
// one picture holding both would be as large as the window and made anew at every step of a
// resize.
constexpr int64_t kKeptPixels = 512 * 512;
constexpr size_t kKeptPictures = 3;

struct TWorkBitmaps {
  std::array<TKeptPicture, kKeptPictures> pictures;
  std::unique_ptr<TBitmap> large;  // a picture too large to keep, for its call
  // What lies under a transparent copy onto a window, and one too large to keep.
  TKeptPicture under;
  std::unique_ptr<TBitmap> largeUnder;
  TKeptPicture framePart;  // a frame part painted for its pixels
  vcl::UniqueBitmap mask;  // selected for a call only: no DC is held between calls
  int maskWidth = 0, maskHeight = 0;
};

TWorkBitmaps& Work() {
  static TWorkBitmaps work;
  return work;
}

// A picture of at least Width x Height; nil when none can be made.
// A large one goes when its call is done with it.
TBitmap* WorkPicture(int Width, int Height) {
  if (int64_t{Width} * Height > kKeptPixels) {
    Work().large = NewSkinBitmap(Width, Height);
    return Work().large.get();
  }
  auto& pictures = Work().pictures;
  // The smallest that fits; else the one that grows least, or is made anew at the size
  // asked for when grown it would pass the bound.
  TKeptPicture* best = nullptr;
  for (TKeptPicture& p : pictures)
    if (p.Fits(Width, Height) && (!best || int64_t{p.Width()} * p.Height() < int64_t{best->Width()} * best->Height()))
      best = &p;
  if (best) return best->Get(Width, Height);
  best = &pictures.front();
  for (TKeptPicture& p : pictures)
    if (p.GrownArea(Width, Height) - int64_t{p.Width()} * p.Height() <
        best->GrownArea(Width, Height) - int64_t{best->Width()} * best->Height())
      best = &p;
  return best->GrownArea(Width, Height) > kKeptPixels ? best->Remake(Width, Height) : best->Get(Width, Height);
}

// A picture of at least Width x Height for what lies under a transparent copy; nil when none
// can be made. A large one goes when its call is done with it.
TBitmap* WorkUnder(int Width, int Height) {
  TWorkBitmaps& w = Work();
  if (int64_t{Width} * Height > kKeptPixels) {
    w.largeUnder = NewSkinBitmap(Width, Height);
    return w.largeUnder.get();
  }
  return w.under.GrownArea(Width, Height) > kKeptPixels ? w.under.Remake(Width, Height) : w.under.Get(Width, Height);
}

// A monochrome mask of at least Width x Height; nil when none can be made. It is kept (one bit
// a pixel, whatever its size) and selected for each copy into one of the thread's kept DCs:
// making a DC for each copy cost as much as the copy.
HBITMAP WorkMask(int Width, int Height) {
  TWorkBitmaps& w = Work();
  if (!w.mask || w.maskWidth < Width || w.maskHeight < Height) {
    w.maskWidth = std::max(Width, w.maskWidth);
    w.maskHeight = std::max(Height, w.maskHeight);
    w.mask.reset();
    w.mask.reset(CreateBitmap(w.maskWidth, w.maskHeight, 1, 1, nullptr));
    if (!w.mask) {
      w.maskWidth = w.maskHeight = 0;
      return nullptr;
    }
  }
  return w.mask.get();
}

// Whether DC paints into a memory picture of 24 bits a pixel (one without alpha).
bool TwentyFourBitPicture(HDC DC) {
  if (GetObjectType(DC) != OBJ_MEMDC) return false;
  HGDIOBJ picture = GetCurrentObject(DC, OBJ_BITMAP);
  BITMAP b{};
  return picture && GetObjectW(picture, sizeof b, &b) == sizeof b && b.bmBitsPixel == 24;
}

// Copies the source onto a 24-bit picture where the mask (selected into Mask) is clear,
// leaving the picture where it is set: the picture toggled by the source, cleared off the
// mask (which shows white where set, black elsewhere) and toggled back. The pixels of the
// system's masked copy, without the two pictures and contexts it makes at every call.
void CopyOffMask(HDC DC, int X, int Y, int Width, int Height, HDC Source, int SourceX, int SourceY, HDC Mask) {
  const COLORREF oldText = SetTextColor(DC, RGB(0, 0, 0));
  const COLORREF oldBack = SetBkColor(DC, RGB(255, 255, 255));
  BitBlt(DC, X, Y, Width, Height, Source, SourceX, SourceY, SRCINVERT);
  BitBlt(DC, X, Y, Width, Height, Mask, 0, 0, SRCAND);
  BitBlt(DC, X, Y, Width, Height, Source, SourceX, SourceY, SRCINVERT);
  SetTextColor(DC, oldText);
  SetBkColor(DC, oldBack);
}

// Margins that do not fit both the destination and the frame are dropped in pairs.
void FitMargins(int& first, int& second, int destExtent, int frameExtent) {
  first = std::max(first, 0);
  second = std::max(second, 0);
  if (int64_t{first} + second > destExtent || int64_t{first} + second > frameExtent) first = second = 0;
}

}  // namespace

namespace {

// The parts of a W x H picture made from a frame that have room but no pixels to fill it:
// with the margins taking the whole frame, its edges (across or down) and its centre.
struct TEmptyParts {
  std::array<TRect, 2> parts;
  size_t count = 0;
  void Add(const TRect& r) {
    if (!r.IsEmpty() && count < parts.size()) parts[count++] = r;
  }
};

// StretchSkinBitmap into the top-left W x H of Out (at least that large); the parts it left
// as they were, having no pixels for them.
TEmptyParts StretchInto(TBitmap* Out, int W, int H, const FrameBox& f, TBitmap* Source, const TRect& Margins,
                        bool Tile) {
  int L = Margins.Left, T = Margins.Top, R = Margins.Right, B = Margins.Bottom;
  FitMargins(L, R, W, f.width);
  FitMargins(T, B, H, f.height);

  HDC src = DcOf(Source);
  vcl::TCanvas* canvas = Out->Canvas();
  HDC dst = canvas->Handle();
  SetStretchBltMode(dst, COLORONCOLOR);
  // Frame coordinates of the nine parts' edges.
  const int fl = f.x, ft = f.y, fr = f.x + f.width, fb = f.y + f.height;
  if (L > 0 && T > 0) Stretch(dst, TRect(0, 0, L, T), src, TRect(fl, ft, fl + L, ft + T));
  if (L > 0 && B > 0) Stretch(dst, TRect(0, H - B, L, H), src, TRect(fl, fb - B, fl + L, fb));
  if (R > 0 && T > 0) Stretch(dst, TRect(W - R, 0, W, T), src, TRect(fr - R, ft, fr, ft + T));
  if (L > 0) Stretch(dst, TRect(0, T, L, H - B), src, TRect(fl, ft + T, fl + L, fb - B));
  if (T > 0) Stretch(dst, TRect(L, 0, W - R, T), src, TRect(fl + L, ft, fr - R, ft + T));
  const TRect centre(L, T, W - R, H - B), inner(fl + L, ft + T, fr - R, fb - B);
  if (Tile) {
    TileBitmap(canvas, centre, Source, inner);
  } else {
    Stretch(dst, centre, src, inner);
  }
  // Drawn after the centre, these cover the overhang of its last tiles.
  if (R > 0 && B > 0) Stretch(dst, TRect(W - R, H - B, W, H), src, TRect(fr - R, fb - B, fr, fb));
  if (R > 0) Stretch(dst, TRect(W - R, T, W, H - B), src, TRect(fr - R, ft + T, fr, fb - B));
  if (B > 0) Stretch(dst, TRect(L, H - B, W - R, H), src, TRect(fl + L, fb - B, fr - R, fb));

  // Margins that take the whole frame leave no pixels between them: the band between the top
  // and bottom ones (side edges and centre), or between the left and right ones.
  TEmptyParts empty;
  if (inner.Height() <= 0) empty.Add(TRect(0, T, W, H - B));
  if (inner.Width() <= 0) empty.Add(TRect(L, 0, W - R, H));
  return empty;
}

}  // namespace

std::unique_ptr<TBitmap> StretchSkinBitmap(const TRect& DestRect, TBitmap* Source, const TRect& Margins, bool Vertical,
                                           bool Tile, int FrameCount, int Frame, TColor Under) {
  const std::optional<FrameBox> f = FrameOf(Source, FrameCount, Frame, Vertical);
  if (!f) return nullptr;
  const int W = DestRect.Width(), H = DestRect.Height();
  std::unique_ptr<TBitmap> out = NewSkinBitmap(W, H);
  if (!out) return nullptr;
  const TEmptyParts empty = StretchInto(out.get(), W, H, *f, Source, Margins, Tile);
  // Parts the frame has no pixels for show what the picture will lie on, not a new picture's
  // black.
  if (empty.count) {
    const vcl::UniqueBrush under(CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(Under))));
    for (size_t i = 0; i < empty.count; ++i) {
      const RECT r = empty.parts[i];
      FillRect(DcOf(out.get()), &r, under.get());
    }
  }
  return out;
}

void TileBitmap(vcl::TCanvas* DestCanvas, const TRect& DestRect, TBitmap* Source, const TRect& SourceRect) {
  const int w = SourceRect.Width(), h = SourceRect.Height();
  if (!DestCanvas || !Source || Source->Empty() || w <= 0 || h <= 0 || DestRect.IsEmpty()) return;
  std::unique_ptr<TBitmap> tile = NewSkinBitmap(w, h);
  if (!tile) return;
  BitBlt(DcOf(tile.get()), 0, 0, w, h, DcOf(Source), SourceRect.Left, SourceRect.Top, SRCCOPY);
  vcl::UniqueBrush brush(CreatePatternBrush(tile->Handle()));
  if (!brush) return;
  // Whole tiles from the top-left corner: the fill ends where the last tile ends.
  auto end = [](int from, int to, int step) {
    const int64_t count = (int64_t{to} - from + step - 1) / step;
    return static_cast<LONG>(std::min<int64_t>(from + count * step, INT32_MAX));
  };
  const RECT fill{DestRect.Left, DestRect.Top, end(DestRect.Left, DestRect.Right, w), end(DestRect.Top, DestRect.Bottom, h)};
  HDC dc = DestCanvas->Handle();
  POINT origin{DestRect.Left, DestRect.Top};
  LPtoDP(dc, &origin, 1);
  POINT old{};
  SetBrushOrgEx(dc, origin.x, origin.y, &old);
  FillRect(dc, &fill, brush.get());
  SetBrushOrgEx(dc, old.x, old.y, nullptr);
}

void DrawSkinBitmapRect(HDC DC, const TRect& Rect, TBitmap* Source, const TRect& Margins, bool Tile, int FrameCount,
                        int Frame, bool Transparent, bool Vertical) {
  const int W = Rect.Width(), H = Rect.Height();
  if (!DC || W <= 0 || H <= 0) return;
  const std::optional<FrameBox> f = FrameOf(Source, FrameCount, Frame, Vertical);
  if (!f) return;
  if (TBitmap* picture = WorkPicture(W, H)) {
    PatBlt(DcOf(picture), 0, 0, W, H, BLACKNESS);
    const TEmptyParts empty = StretchInto(picture, W, H, *f, Source, Margins, Tile);
    // Parts the frame has no pixels for show what lies under them, not the picture's black.
    const vcl::SavedDC keep(empty.count ? DC : nullptr);
    for (size_t i = 0; i < empty.count; ++i) {
      const TRect& r = empty.parts[i];
      ExcludeClipRect(DC, Rect.Left + r.Left, Rect.Top + r.Top, Rect.Left + r.Right, Rect.Top + r.Bottom);
    }
    Put(DC, Rect.Left, Rect.Top, W, H, picture, Transparent);
  }
  Work().large.reset();
}

void DrawSkinImagePart(HDC DC, const TRect& Rect, TBitmap* Image, int FrameCount, int Frame, bool Vertical,
                       bool Transparent) {
  if (!DC || Rect.Width() <= 0 || Rect.Height() <= 0) return;
  const std::optional<FrameBox> f = FrameCount == 0 ? FrameOf(Image, 1, 1, Vertical) : FrameOf(Image, FrameCount, Frame, Vertical);
  if (!f) return;
  TBitmap* part = WorkPicture(Rect.Width(), Rect.Height());
  if (!part) return;
  HDC dst = DcOf(part);
  SetStretchBltMode(dst, COLORONCOLOR);
  Stretch(dst, TRect(0, 0, Rect.Width(), Rect.Height()), DcOf(Image), TRect(f->x, f->y, f->x + f->width, f->y + f->height));
  Put(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), part, Transparent);
  Work().large.reset();
}

void DrawImageFrame(HDC DC, const TRect& Rect, int FrameCount, int Index, TBitmap* Image, bool Transparent) {
  if (!DC || Rect.Width() <= 0 || Rect.Height() <= 0) return;
  const std::optional<FrameBox> f = FrameOf(Image, FrameCount, Index, false);
  if (!f) return;
  const int w = std::min(Rect.Width(), f->width), h = std::min(Rect.Height(), f->height);
  if (Transparent) {
    DrawTransparentBitmap(DC, Rect.Left, Rect.Top, w, h, DcOf(Image), f->x, 0, kSkinKeyColor);
  } else {
    BitBlt(DC, Rect.Left, Rect.Top, w, h, DcOf(Image), f->x, 0, SRCCOPY);
  }
}

void DrawImageFrameAt(HDC DC, int X, int Y, int FrameCount, int Index, TBitmap* Image, bool Transparent) {
  if (!DC) return;
  const std::optional<FrameBox> f = FrameOf(Image, FrameCount, Index, false);
  if (!f) return;
  TBitmap* frame = WorkPicture(f->width, f->height);
  if (!frame) return;
  BitBlt(DcOf(frame), 0, 0, f->width, f->height, DcOf(Image), f->x, f->y, SRCCOPY);
  Put(DC, X, Y, f->width, f->height, frame, Transparent);
  Work().large.reset();
}

TRect ImageFrameRect(TBitmap* Image, int FrameCount, int Index) {
  const std::optional<FrameBox> f = FrameOf(Image, FrameCount, Index, false);
  return f ? TRect(f->x, f->y, f->x + f->width, f->y + f->height) : TRect();
}

void DrawGlyphFrame(HDC DC, const TRect& Rect, int FrameCount, int Index, TBitmap* Image) {
  const std::optional<FrameBox> f = FrameOf(Image, FrameCount, Index, false);
  if (!f || Rect.IsEmpty()) return;
  DrawImageFrameAt(DC, Rect.Left + (Rect.Width() - f->width) / 2, Rect.Top + (Rect.Height() - f->height) / 2, FrameCount,
                   Index, Image, true);
}

void DrawThreeSlice(HDC DC, const TRect& Rect, TBitmap* Image, int LeftCap, int RightCap, int FrameCount, int Frame) {
  if (!DC || Rect.Width() <= 0 || Rect.Height() <= 0) return;
  const std::optional<FrameBox> f = FrameOf(Image, FrameCount, Frame, true);
  if (!f) return;
  int L = LeftCap, R = RightCap;
  FitMargins(L, R, Rect.Width(), f->width);
  HDC src = DcOf(Image);
  const int old = SetStretchBltMode(DC, COLORONCOLOR);
  const int top = f->y, bottom = f->y + f->height, right = f->width;
  Stretch(DC, TRect(Rect.Left, Rect.Top, Rect.Left + L, Rect.Bottom), src, TRect(0, top, L, bottom));
  Stretch(DC, TRect(Rect.Left + L, Rect.Top, Rect.Right - R, Rect.Bottom), src, TRect(L, top, right - R, bottom));
  Stretch(DC, TRect(Rect.Right - R, Rect.Top, Rect.Right, Rect.Bottom), src, TRect(right - R, top, right, bottom));
  if (old) SetStretchBltMode(DC, old);
}

void DrawArrow(HDC DC, const TRect& R, int Arrow, TColor Ink) {
  if (!DC || R.IsEmpty()) return;
  const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
  const int n = std::max(1, std::min({R.Width(), R.Height()}) / 4);
  const vcl::UniquePen pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(vcl::ColorToRGB(Ink))));
  const HGDIOBJ old = SelectObject(DC, pen.get());
  for (int k = 0; k < n; ++k) {
    // Each line is one step of the triangle, its tip first.
    switch (Arrow) {
      case kArrowUp:
        MoveToEx(DC, cx - k, cy - n / 2 + k, nullptr);
        LineTo(DC, cx + k + 1, cy - n / 2 + k);
        break;
      case kArrowDown:
        MoveToEx(DC, cx - k, cy + n / 2 - k, nullptr);
        LineTo(DC, cx + k + 1, cy + n / 2 - k);
        break;
      case kArrowLeft:
        MoveToEx(DC, cx - n / 2 + k, cy - k, nullptr);
        LineTo(DC, cx - n / 2 + k, cy + k + 1);
        break;
      default:
        MoveToEx(DC, cx + n / 2 - k, cy - k, nullptr);
        LineTo(DC, cx + n / 2 - k, cy + k + 1);
        break;
    }
  }
  SelectObject(DC, old);
}

void DrawParentBackground(HWND Child, HDC DC) {
  HWND parent = Child ? GetParent(Child) : nullptr;
  if (!parent || !DC) return;
  RECT r{};
  if (!GetWindowRect(Child, &r)) return;
  POINT at{r.left, r.top};
  ScreenToClient(parent, &at);
  const int saved = SaveDC(DC);
  OffsetViewportOrgEx(DC, -at.x, -at.y, nullptr);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  SendMessageW(parent, WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  RestoreDC(DC, saved);
}

void DrawTransparentBitmap(HDC DC, int X, int Y, int Width, int Height, HDC Source, int SourceX, int SourceY,
                           TColor Key) {
  if (!DC || !Source || Width <= 0 || Height <= 0) return;
  // A monochrome mask: 1 where the source holds the key colour.
  const vcl::TKeptMemoryDC maskDC(WorkMask(Width, Height));
  if (!maskDC.ok()) return;
  const HDC mask = maskDC.get();
  const COLORREF oldBack = SetBkColor(Source, static_cast<COLORREF>(vcl::ColorToRGB(Key)));
  BitBlt(mask, 0, 0, Width, Height, Source, SourceX, SourceY, SRCCOPY);
  SetBkColor(Source, oldBack);
  // Where the mask is set the destination stays, elsewhere the source is copied.
  if (TwentyFourBitPicture(DC)) {
    CopyOffMask(DC, X, Y, Width, Height, Source, SourceX, SourceY, mask);
    return;
  }
  if (GetObjectType(DC) == OBJ_DC) {
    // A window: through a picture of what lies there, as the masked copy goes.
    TBitmap* under = WorkUnder(Width, Height);
    if (under) {
      HDC u = DcOf(under);
      BitBlt(u, 0, 0, Width, Height, DC, X, Y, SRCCOPY);
      CopyOffMask(u, 0, 0, Width, Height, Source, SourceX, SourceY, mask);
      BitBlt(DC, X, Y, Width, Height, u, 0, 0, SRCCOPY);
    }
    Work().largeUnder.reset();
    return;
  }
  // Other pictures (their alpha kept) through the masked copy: raster operation 0xAA0029
  // keeps the destination.
  MaskBlt(DC, X, Y, Width, Height, Source, SourceX, SourceY, Work().mask.get(), 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
}

TBitmap* FramePartPicture(int Width, int Height) {
  if (Width <= 0 || Height <= 0) return nullptr;
  TKeptPicture& part = Work().framePart;
  TBitmap* picture = part.GrownArea(Width, Height) > kKeptPixels ? part.Remake(Width, Height) : part.Get(Width, Height);
  if (picture) PatBlt(DcOf(picture), 0, 0, Width, Height, BLACKNESS);
  return picture;
}

void FreeWorkBitmaps() {
  TWorkBitmaps& w = Work();
  w.mask.reset();
  w.maskWidth = w.maskHeight = 0;
  for (TKeptPicture& p : w.pictures) p.Reset();
  w.under.Reset();
  w.framePart.Reset();
  w.large.reset();
  w.largeUnder.reset();
}

void DrawTransparentBitmap(HDC DC, int X, int Y, TBitmap* Bitmap, TColor Key) {
  if (!Bitmap || Bitmap->Empty()) return;
  DrawTransparentBitmap(DC, X, Y, Bitmap->Width(), Bitmap->Height(), DcOf(Bitmap), 0, 0, Key);
}

void DrawToolbarBackground(vcl::TCanvas* Canvas, const TRect& Rect, TDataSkinObject* Toolbar) {
  if (!Canvas || !Toolbar || !Toolbar->HasBitmap() || Rect.IsEmpty()) return;
  TBitmap* b = Toolbar->Bitmap.get();
  HDC dc = Canvas->Handle();
  const int old = SetStretchBltMode(dc, COLORONCOLOR);
  Stretch(dc, Rect, DcOf(b), TRect(0, 0, b->Width(), b->Height()));
  if (old) SetStretchBltMode(dc, old);
}

int ToolbarButtonFrame(unsigned ItemState) {
  if (ItemState & CDIS_SELECTED) return 2;
  if (ItemState & (CDIS_FOCUS | CDIS_HOT)) return 4;
  if (ItemState & (CDIS_GRAYED | CDIS_DISABLED)) return 0;
  if (ItemState & CDIS_DEFAULT) return 1;
  return 0;
}

int DrawToolbarButton(vcl::TCanvas* Canvas, const TRect& Bounds, unsigned ItemState, TDataSkinButton* Buttons) {
  if (!Canvas || !Buttons) return 0;
  const int frame = ToolbarButtonFrame(ItemState);
  if (frame == 0) return 0;
  if (frame == 1 && Buttons->NormalColour2Given) Canvas->Font()->SetColor(Buttons->NormalColour2);
  if (frame == 4 && Buttons->MouseOverColour2Given) Canvas->Font()->SetColor(Buttons->MouseOverColour2);
  if (frame == 2 && Buttons->PressedColour2Given) Canvas->Font()->SetColor(Buttons->PressedColour2);
  TRect face = Bounds;
  face.Inflate(-1, -1);
  DrawSkinBitmapRect(Canvas->Handle(), face, Buttons->Bitmap.get(), Buttons->Margins(), false, Buttons->Frame, frame,
                     Buttons->Transparent());
  return frame;
}

}  // namespace winskin
