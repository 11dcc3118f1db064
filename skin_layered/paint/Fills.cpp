#include "skin_layered/paint/Fills.h"

#include "classlib/controls/Controls.h"
#include "skin_layered/core/SavedDC.h"

namespace skin_layered {
namespace {

void FillWith(HDC dc, HBRUSH brush, int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  const RECT r{left, top, right, bottom};
  FillRect(dc, &r, brush);
}

}  // namespace

void FillDC(HDC DC, const vcl::TRect& R, vcl::TColor Color) {
  if (!DC || R.IsEmpty()) return;
  const TSavedDC saved(DC);
  const vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(Color))));
  const RECT r = R;
  FillRect(DC, &r, brush.get());
}

void FillDCBorder(HDC DC, const vcl::TRect& R, int L, vcl::TColor Color, int B, int Rt, int T) {
  if (!DC) return;
  const vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(Color))));
  FillWith(DC, brush.get(), R.Left, R.Top, R.Right, R.Top + T);
  FillWith(DC, brush.get(), R.Left, R.Top + T, R.Left + L, R.Bottom);
  FillWith(DC, brush.get(), R.Left + L, R.Bottom - B, R.Right, R.Bottom);
  FillWith(DC, brush.get(), R.Right - Rt, R.Top + T, R.Right, R.Bottom - B);
}

void BitBltBorder(HDC Dest, int X, int Y, int W, int SrcX, int SrcY, HDC Source, int Height, int Width) {
  if (!Dest || !Source || W <= 0 || Width <= 0 || Height <= 0) return;
  BitBlt(Dest, X, Y, W, Height, Source, SrcX, SrcY, SRCCOPY);                                       // left
  BitBlt(Dest, X, Y, Width, W, Source, SrcX, SrcY, SRCCOPY);                                        // top
  BitBlt(Dest, X + Width - W, Y, W, Height, Source, SrcX + Width - W, SrcY, SRCCOPY);               // right
  BitBlt(Dest, X, Y + Height - W, Width, W, Source, SrcX, SrcY + Height - W, SRCCOPY);              // bottom
}

TqvGraphicClipping& GraphicClipping() {
  static TqvGraphicClipping settings;
  return settings;
}

void ExcludeGraphicControls(HDC DC, vcl::TWinControl* Control, int DY, int DX) {
  const TqvGraphicClipping& settings = GraphicClipping();
  if (!DC || !Control || settings.KeepAll) return;
  for (int i = 0; i < Control->ControlCount(); ++i) {
    vcl::TControl* child = Control->Controls(i);
    if (!child || !child->Visible() || dynamic_cast<vcl::TWinControl*>(child)) continue;
    if (settings.ExcludedClass && child->InheritsFrom(*settings.ExcludedClass)) continue;
    ExcludeClipRect(DC, child->Left() + DX, child->Top() + DY, child->Left() + child->Width() + DX,
                    child->Top() + child->Height() + DY);
  }
}

}  // namespace skin_layered
