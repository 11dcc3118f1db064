// TBitmap: a picture in a device-independent bitmap (DIB section, rows bottom-up as the
// library makes them) or a device-dependent one (pfDevice), with a canvas, pixel formats
// from 1 to 32 bits, scan-line access, BMP files and transparent drawing.
#pragma once

#include <vector>

#include "classlib/graphics/GraphicsDibFormat.h"
#include "classlib/graphics/GraphicsGraphic.h"

namespace vcl {

VCL_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)
using enum TPixelFormat;

enum class TBitmapHandleType { bmDIB, bmDDB };
using enum TBitmapHandleType;

enum class TTransparentMode { tmAuto, tmFixed };
using enum TTransparentMode;

class TBitmapCanvas;

class TBitmap : public TGraphic {
  VCL_CLASS(TBitmap, TGraphic)

 public:
  TBitmap();
  ~TBitmap() override;

  // From another bitmap (a copy of its pixels, colours and transparency) or nil (empty);
  // other pictures assign themselves to a bitmap where they can.
  void Assign(TPersistent* Source) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

  bool GetEmpty() const override { return !image_.handle; }
  int GetWidth() const override { return width_; }
  int GetHeight() const override { return height_; }
  void SetWidth(int Value) override { SetSize(Value, height_); }
  void SetHeight(int Value) override { SetSize(width_, Value); }
  // Keeps the picture at the top left; new pixels take the canvas brush's colour when the
  // bitmap has a canvas, else zero.
  virtual void SetSize(int AWidth, int AHeight);
  // A picture that changes size often (a window's) may keep its memory: it grows with room
  // to spare and keeps the room as it shrinks, so that most changes of size take no new
  // memory and copy nothing. The handle's bitmap is then larger than the picture, which is
  // its top-left part (what lies beyond is undefined). A device-independent picture only;
  // off by default.
  void SetKeepsMemory(bool Value) { keeps_memory_ = Value; }
  bool KeepsMemory() const { return keeps_memory_; }

  // A BMP file from the stream's position: a broken or unsupported one raises
  // EInvalidGraphic "Bitmap image is not valid" and leaves the bitmap as it was.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // A bitmap resource (RT_BITMAP); EResNotFound "Resource %s not found" when missing.
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
  void LoadFromResourceID(HINSTANCE Instance, int ResID);
  // Form data: a 32-bit byte count, then the BMP file.
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

  TCanvas* Canvas();
  // The bitmap handle. Unless the canvas is locked, its DC lets go of the bitmap first so the
  // handle can be selected elsewhere.
  HBITMAP Handle();
  // Takes ownership of a bitmap handle (DIB section or device bitmap); nullptr empties.
  void SetHandle(HBITMAP Value);
  // Gives the handle away; the bitmap becomes empty.
  HBITMAP ReleaseHandle();
  bool HandleAllocated() const { return static_cast<bool>(image_.handle); }

  TBitmapHandleType HandleType() const { return format_ == pfDevice ? bmDDB : bmDIB; }
  void SetHandleType(TBitmapHandleType Value);
  TPixelFormat PixelFormat() const { return format_; }
  // Converts the pixels (the alpha of 32-bit pixels is kept between 32-bit formats and 0 when
  // converted from another format); EInvalidGraphic "Invalid pixel format" for pfCustom.
  void SetPixelFormat(TPixelFormat Value);
  bool Monochrome() const;
  void SetMonochrome(bool Value);
  // The address of a row, top row first (the bitmap becomes a DIB first); EInvalidGraphic
  // "Scan line index out of range" outside 0..Height-1.
  void* ScanLine(int Row);

  // The colour table of an indexed bitmap as a palette (owned by the bitmap).
  HPALETTE Palette() const override;
  // Takes ownership; an indexed bitmap takes its colours as its colour table.
  void SetPalette(HPALETTE Value) override;

  // The colour left out when drawing transparent: fixed, or (tmAuto) the bottom-left pixel
  // (white for monochrome bitmaps).
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return transparent_mode_; }
  void SetTransparentMode(TTransparentMode Value);

  void Changed(TObject* Sender) override;

 private:
  friend class TBitmapCanvas;
  friend class ImageDC;

  // The pixels: a DIB section or a device-dependent bitmap; no handle when empty.
  struct Image {
    UniqueBitmap handle;
    int width = 0;
    int height = 0;
    bool ddb = false;
    bool mono = false;          // a 1-bit device-dependent bitmap
    TPixelFormat format = pfDevice;
    uint8_t* bits = nullptr;    // DIB sections
    size_t stride = 0;
    bool topDown = false;       // only adopted handles can be top-down
    int bitCount = 0;
  };

  Image MakeImage(int w, int h, TPixelFormat format, bool mono, std::span<const dib::Rgbq> colors) const;
  void ReplaceImage(Image next);
  void ConvertTo(TPixelFormat format, bool mono);
  uint8_t* RowAddress(const Image& img, int row) const;
  // All pixels, top row first, as 32-bit values.
  std::vector<dib::Rgbq> ReadPixels() const;
  void WritePixels(Image& img, const dib::Rgbq* px, int pxStride, int w, int h,
                   std::span<const dib::Rgbq> colors) const;
  // The top-left w x h pixels of this bitmap into another image.
  void CopyPixelsTo(Image& to, int w, int h, std::span<const dib::Rgbq> toColors) const;
  // The pixels of the picture outside its top-left KeptWidth x KeptHeight part take the
  // canvas brush's colour, or zero without a canvas.
  void FillOutside(int KeptWidth, int KeptHeight);
  size_t LoadFromBytes(std::span<const uint8_t> data, bool withFileHeader);
  void LoadFromResource(HINSTANCE Instance, const wchar_t* Name, const String& ShownName);
  dib::Rgbq PixelAt(int x, int y) const;
  void CanvasChanged(TObject* Sender);

  Image image_;
  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = pfDevice;
  bool mono_ = false;                 // wanted for a device-dependent bitmap
  std::vector<dib::Rgbq> colors_;     // colour table of indexed formats
  mutable UniquePalette palette_;
  TColor transparent_color_ = clDefault;
  TTransparentMode transparent_mode_ = tmAuto;
  std::unique_ptr<TBitmapCanvas> canvas_;
  bool keeps_memory_ = false;
};

// While one lives on the thread, the memory DCs bitmap canvases make are noted, and when the
// outermost one ends those of canvases not locked are let go, a few kept for the next scope.
// The library's window procedures and Perform put one round every message they handle: a
// picture's DC lives through the message (reused by every copy in it) and no longer, so what
// is held between messages does not grow with the number of pictures. Code reading many
// pictures outside any message (a skin read at start-up) puts one round itself.
class TMemoryContextScope {
 public:
  TMemoryContextScope();
  ~TMemoryContextScope();
  TMemoryContextScope(const TMemoryContextScope&) = delete;
  TMemoryContextScope& operator=(const TMemoryContextScope&) = delete;
};

// Lets go of the memory DCs the thread keeps for the next scope (done when the application is
// idle): a burst of messages, a resize say, reuses them; a program at rest holds none.
void FreeMemoryContexts();

// A memory DC with a bitmap selected, for a scope: one of the DCs the thread keeps for bitmap
// canvases when one is free (else made), given back with its state put back at the end. For
// painting code that selects a bitmap of its own (a mask, say) on every call without holding a
// DC of its own between calls.
class TKeptMemoryDC {
 public:
  explicit TKeptMemoryDC(HBITMAP Bitmap);
  ~TKeptMemoryDC();
  TKeptMemoryDC(const TKeptMemoryDC&) = delete;
  TKeptMemoryDC& operator=(const TKeptMemoryDC&) = delete;
  HDC get() const { return dc_.get(); }
  // False when no DC could be had or the bitmap could not be selected.
  bool ok() const { return dc_ && selected_; }

 private:
  UniqueDC dc_;
  int saved_ = 0;
  bool selected_ = false;
};

// The pixel layout of a DIB pixel format (not pfDevice or pfCustom).
dib::Layout LayoutOf(TPixelFormat format);
// The DIB format matching the screen's colour depth.
TPixelFormat DeviceFormat();

}  // namespace vcl
