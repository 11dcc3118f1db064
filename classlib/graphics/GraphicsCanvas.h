// TCanvas: drawing on a device context with a font, a pen and a brush. The DC is the
// canvas's own (made by CreateHandle in descendants: a bitmap's memory DC, a control's DC)
// or borrowed through SetHandle. Objects the canvas selects into a DC are replaced by the
// DC's original objects when the canvas lets go of the DC.
#pragma once

#include <memory>
#include <span>

#include "classlib/graphics/GraphicsObjects.h"
#include "classlib/rtl/Types.h"

namespace vcl {

class TGraphic;
class TBitmap;

// Raster operations of CopyRect and bitmap drawing.
using TCopyMode = int32_t;
inline constexpr TCopyMode cmBlackness = BLACKNESS;
inline constexpr TCopyMode cmDstInvert = DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = MERGECOPY;
inline constexpr TCopyMode cmMergePaint = MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = PATCOPY;
inline constexpr TCopyMode cmPatInvert = PATINVERT;
inline constexpr TCopyMode cmPatPaint = PATPAINT;
inline constexpr TCopyMode cmSrcAnd = SRCAND;
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcErase = SRCERASE;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = SRCPAINT;
inline constexpr TCopyMode cmWhiteness = WHITENESS;

// What a canvas has made ready in its DC.
enum class TCanvasStateItem { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = Set<TCanvasStateItem>;
inline constexpr TCanvasState csAllValid{TCanvasStateItem::csHandleValid, TCanvasStateItem::csFontValid,
                                         TCanvasStateItem::csPenValid, TCanvasStateItem::csBrushValid};

class TCanvas : public TPersistent {
  VCL_CLASS(TCanvas, TPersistent)

 public:
  TCanvas();
  ~TCanvas() override;

  // The DC with the canvas's font, pen and brush selected; descendants make it on demand.
  // EInvalidOperation "Canvas does not allow drawing" when there is none.
  HDC Handle();
  // Borrows a DC (not owned) or, with nullptr, lets go of the current one.
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return handle_ != nullptr; }
  // The DC the canvas draws on now, lent or its own; nil when it has none (never makes one).
  HDC CurrentHandle() const { return handle_; }

  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* Value) { font_->Assign(Value); }
  TPen* Pen() const { return pen_.get(); }
  void SetPen(TPen* Value) { pen_->Assign(Value); }
  TBrush* Brush() const { return brush_.get(); }
  void SetBrush(TBrush* Value) { brush_->Assign(Value); }
  TCopyMode CopyMode() const { return copy_mode_; }
  void SetCopyMode(TCopyMode Value) { copy_mode_ = Value; }
  // ExtTextOut options added to every TextOut and TextRect.
  int TextFlags() const { return text_flags_; }
  void SetTextFlags(int Value) { text_flags_ = Value; }
  TPoint PenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
  TRect ClipRect();
  // The colour of a pixel (-1 outside the clipping region) and setting one.
  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Value);

  // Nesting count of users that need the DC to stay as it is.
  void Lock() { ++lock_count_; }
  void Unlock() {
    if (lock_count_ > 0) --lock_count_;
  }
  bool TryLock() {
    Lock();
    return true;
  }
  int LockCount() const { return lock_count_; }
  // Puts the DC's original objects back; the tools are selected again on next use.
  void Refresh();

  void FillRect(const TRect& Rect);
  void FrameRect(const TRect& Rect);
  void DrawFocusRect(const TRect& Rect);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Polygon(std::span<const TPoint> Points);
  void Polyline(std::span<const TPoint> Points);
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void TextOut(int X, int Y, StringView Text);
  // Text clipped to Rect (filled behind the text unless the brush is clear).
  void TextRect(const TRect& Rect, int X, int Y, StringView Text);
  TSize TextExtent(StringView Text);
  int TextWidth(StringView Text) { return TextExtent(Text).cx; }
  int TextHeight(StringView Text) { return TextExtent(Text).cy; }
  // Draws a graphic at its own size / stretched into a rectangle.
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  // Copies a rectangle of another canvas (stretched when the sizes differ) with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  // Copies a rectangle of a bitmap, painting the pixels of Color with this canvas's brush.
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Makes the DC when one is needed (descendants call SetHandle); the base has none.
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  void RequiredState(TCanvasState ReqState);
  TCanvasState State() const { return state_; }

 private:
  void SelectFont();
  void SelectPen();
  void SelectBrush();
  void DeselectHandles();
  void FontChanged(TObject* Sender);
  void PenChanged(TObject* Sender);
  void BrushChanged(TObject* Sender);

  HDC handle_ = nullptr;
  TCanvasState state_;
  // The objects the DC held before the canvas selected its own.
  HGDIOBJ old_font_ = nullptr;
  HGDIOBJ old_pen_ = nullptr;
  HGDIOBJ old_brush_ = nullptr;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TPen> pen_;
  std::unique_ptr<TBrush> brush_;
  TCopyMode copy_mode_ = cmSrcCopy;
  int text_flags_ = 0;
  int lock_count_ = 0;
};

}  // namespace vcl
