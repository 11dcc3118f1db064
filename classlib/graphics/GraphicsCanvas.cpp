#include "classlib/graphics/GraphicsCanvas.h"

#include <vector>

#include "classlib/graphics/GraphicsBitmap.h"

namespace vcl {

namespace {

using enum TCanvasStateItem;

constexpr int kPenModes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,        R2_COPYPEN,  R2_NOTCOPYPEN,
                             R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                             R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)) & 0xFFFFFF; }

// Selects obj and remembers what the DC held first (only the first time).
void SelectKeepingOriginal(HDC dc, HGDIOBJ obj, HGDIOBJ& original) {
  HGDIOBJ previous = SelectObject(dc, obj);
  if (!original && previous && previous != HGDI_ERROR) original = previous;
}

}  // namespace

VCL_CLASS_INFO(TCanvas) {}

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {
  font_->OnChange = TNotifyEvent::Bind<&TCanvas::FontChanged>(this);
  pen_->OnChange = TNotifyEvent::Bind<&TCanvas::PenChanged>(this);
  brush_->OnChange = TNotifyEvent::Bind<&TCanvas::BrushChanged>(this);
}

TCanvas::~TCanvas() {
  // A descendant that owns its DC has released it already; a borrowed one is handed back
  // with its own objects.
  DeselectHandles();
  handle_ = nullptr;
}

HDC TCanvas::Handle() {
  Changing();
  RequiredState(csAllValid);
  return handle_;
}

void TCanvas::SetHandle(HDC Value) {
  if (handle_ == Value) return;
  DeselectHandles();
  handle_ = Value;
  old_font_ = old_pen_ = old_brush_ = nullptr;
  state_ = Value ? TCanvasState{csHandleValid} : TCanvasState{};
}

void TCanvas::RequiredState(TCanvasState ReqState) {
  const TCanvasState needed = ReqState - state_;
  if (needed.Empty()) return;
  if (needed.Contains(csHandleValid)) {
    CreateHandle();
    if (!handle_) throw EInvalidOperation(L"Canvas does not allow drawing");
  }
  if (needed.Contains(csFontValid)) SelectFont();
  if (needed.Contains(csPenValid)) SelectPen();
  if (needed.Contains(csBrushValid)) SelectBrush();
  state_ = state_ + ReqState;
}

void TCanvas::SelectFont() {
  SelectKeepingOriginal(handle_, font_->Handle(), old_font_);
  SetTextColor(handle_, Rgb(font_->Color()));
}

void TCanvas::SelectPen() {
  SelectKeepingOriginal(handle_, pen_->Handle(), old_pen_);
  SetROP2(handle_, kPenModes[static_cast<int>(pen_->Mode())]);
}

void TCanvas::SelectBrush() {
  HBRUSH brush = brush_->Handle();
  UnrealizeObject(brush);
  SelectKeepingOriginal(handle_, brush, old_brush_);
  if (brush_->Style() == bsSolid) {
    SetBkColor(handle_, Rgb(brush_->Color()));
    SetBkMode(handle_, OPAQUE);
  } else {
    // Hatches are drawn in the brush colour over a background mode of "transparent"; a
    // background colour other than the brush's keeps every hatch line visible.
    SetBkColor(handle_, ~Rgb(brush_->Color()) & 0xFFFFFF);
    SetBkMode(handle_, TRANSPARENT);
  }
}

void TCanvas::DeselectHandles() {
  if (!handle_) return;
  if (old_font_) SelectObject(handle_, old_font_);
  if (old_pen_) SelectObject(handle_, old_pen_);
  if (old_brush_) SelectObject(handle_, old_brush_);
  state_ = state_ - TCanvasState{csFontValid, csPenValid, csBrushValid};
}

void TCanvas::Refresh() { DeselectHandles(); }

// A tool that changed gives its old handle back to the DC's original before it is deleted.
void TCanvas::FontChanged(TObject*) {
  if (state_.Contains(csFontValid)) {
    state_.Exclude(csFontValid);
    if (old_font_) SelectObject(handle_, old_font_);
  }
}

void TCanvas::PenChanged(TObject*) {
  if (state_.Contains(csPenValid)) {
    state_.Exclude(csPenValid);
    if (old_pen_) SelectObject(handle_, old_pen_);
  }
}

void TCanvas::BrushChanged(TObject*) {
  if (state_.Contains(csBrushValid)) {
    state_.Exclude(csBrushValid);
    if (old_brush_) SelectObject(handle_, old_brush_);
  }
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
  RequiredState({csHandleValid});
  POINT p{};
  GetCurrentPositionEx(handle_, &p);
  return p;
}

TRect TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  RECT r{};
  GetClipBox(handle_, &r);
  return r;
}

TColor TCanvas::Pixels(int X, int Y) {
  RequiredState({csHandleValid});
  return static_cast<TColor>(GetPixel(handle_, X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  SetPixel(handle_, X, Y, Rgb(Value));
  Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(handle_, Rect.AsRECT(), brush_->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(handle_, Rect.AsRECT(), brush_->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::DrawFocusRect(handle_, Rect.AsRECT());
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Rectangle(handle_, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::RoundRect(handle_, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Ellipse(handle_, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Polygon(handle_, Points.front().AsPOINT(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Polyline(handle_, Points.front().AsPOINT(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState({csHandleValid});
  MoveToEx(handle_, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::LineTo(handle_, X, Y);
  Changed();
}

void TCanvas::TextOut(int X, int Y, StringView Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ExtTextOutW(handle_, X, Y, static_cast<UINT>(text_flags_), nullptr, Text.data(), static_cast<UINT>(Text.size()),
              nullptr);
  MoveTo(X + TextWidth(Text), Y);
  Changed();
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, StringView Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT options = ETO_CLIPPED | static_cast<UINT>(text_flags_);
  if (brush_->Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOutW(handle_, X, Y, options, Rect.AsRECT(), Text.data(), static_cast<UINT>(Text.size()), nullptr);
  Changed();
}

TSize TCanvas::TextExtent(StringView Text) {
  RequiredState({csHandleValid, csFontValid});
  SIZE s{};
  GetTextExtentPoint32W(handle_, Text.data(), static_cast<int>(Text.size()), &s);
  return s;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  StretchDraw(Bounds(X, Y, Graphic->Width(), Graphic->Height()), Graphic);
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  // Two-colour pictures take the font colour for their 0 bits and the brush colour for 1.
  SetBkColor(handle_, Rgb(brush_->Color()));
  SetTextColor(handle_, Rgb(font_->Color()));
  Graphic->Draw(this, Rect);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  if (!Canvas) return;
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  Canvas->RequiredState({csHandleValid, csBrushValid});
  StretchBlt(handle_, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->handle_, Source.Left, Source.Top,
             Source.Width(), Source.Height(), static_cast<DWORD>(copy_mode_));
  Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (!Bitmap || Bitmap->Empty() || Dest.IsEmpty() || Source.IsEmpty()) return;
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  const int dw = Dest.Width(), dh = Dest.Height(), sw = Source.Width(), sh = Source.Height();
  HDC src = Bitmap->Canvas()->Handle();

  // Mask of the source rectangle: 1 where the pixel is Color.
  UniqueBitmap mask(CreateBitmap(sw, sh, 1, 1, nullptr));
  MemoryDC maskDC(mask.get());
  const COLORREF oldSrcBk = SetBkColor(src, Rgb(Color));
  BitBlt(maskDC.get(), 0, 0, sw, sh, src, Source.Left, Source.Top, SRCCOPY);
  SetBkColor(src, oldSrcBk);

  // Work picture at the destination's size: the brush where the mask is set, the source
  // elsewhere; then one copy to the canvas.
  UniqueBitmap work(CreateCompatibleBitmap(handle_, dw, dh));
  MemoryDC workDC(work.get());
  UniqueBitmap cut(CreateCompatibleBitmap(handle_, sw, sh));
  MemoryDC cutDC(cut.get());
  if (!mask || !work || !cut || !maskDC.ok() || !workDC.ok() || !cutDC.ok()) {
    Changed();
    return;
  }
  SetStretchBltMode(workDC.get(), COLORONCOLOR);
  {
    SelectGuard brush(workDC.get(), brush_->Handle());
    PatBlt(workDC.get(), 0, 0, dw, dh, PATCOPY);
  }
  SetTextColor(workDC.get(), RGB(0, 0, 0));
  SetBkColor(workDC.get(), RGB(255, 255, 255));
  StretchBlt(workDC.get(), 0, 0, dw, dh, maskDC.get(), 0, 0, sw, sh, SRCAND);  // keep the brush under 1 bits
  BitBlt(cutDC.get(), 0, 0, sw, sh, src, Source.Left, Source.Top, SRCCOPY);
  SetTextColor(cutDC.get(), RGB(0, 0, 0));
  SetBkColor(cutDC.get(), RGB(255, 255, 255));
  BitBlt(cutDC.get(), 0, 0, sw, sh, maskDC.get(), 0, 0, 0x00220326);  // source AND NOT mask
  StretchBlt(workDC.get(), 0, 0, dw, dh, cutDC.get(), 0, 0, sw, sh, SRCPAINT);
  BitBlt(handle_, Dest.Left, Dest.Top, dw, dh, workDC.get(), 0, 0, SRCCOPY);
  Changed();
}

}  // namespace vcl
