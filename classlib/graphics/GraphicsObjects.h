// Fonts, brushes and pens: the drawing tools of a canvas. Each keeps its description and
// makes its GDI handle on first use; copies made by Assign share the handle until one of
// them changes. OnChange tells the owner (a canvas re-selects the tool).
#pragma once

#include <memory>

#include "classlib/graphics/GraphicsColors.h"
#include "classlib/graphics/GraphicsHandles.h"
#include "classlib/rtl/Persistent.h"
#include "classlib/rtl/Set.h"

namespace vcl {

class TBitmap;

VCL_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using enum TFontStyle;
using TFontStyles = Set<TFontStyle>;

VCL_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
using enum TFontPitch;

VCL_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)
using enum TBrushStyle;

VCL_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
using enum TPenStyle;

VCL_ENUM(TPenMode,
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
  pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)
using enum TPenMode;

// Logical pixels per inch of the screen (LOGPIXELSY), read once.
int ScreenLogPixels();

class TGraphicsObject : public TPersistent {
  VCL_CLASS(TGraphicsObject, TPersistent)

 public:
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
};

class TFont : public TGraphicsObject {
  VCL_CLASS(TFont, TGraphicsObject)

 public:
  TFont();
  ~TFont() override;
  void Assign(TPersistent* Source) override;

  // The font handle, made on first use; the font owns it.
  HFONT Handle() const;
  // Takes ownership of a font handle; the properties are read from it.
  void SetHandle(HFONT Value);

  TFontCharset Charset() const;
  void SetCharset(TFontCharset Value);
  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  // Cell height in pixels; negative for a character height (what Size converts to).
  int Height() const;
  void SetHeight(int Value);
  String Name() const;
  void SetName(const String& Value);
  TFontPitch Pitch() const;
  void SetPitch(TFontPitch Value);
  // Points: -Height * 72 / PixelsPerInch.
  int Size() const;
  void SetSize(int Value);
  TFontStyles Style() const;
  void SetStyle(TFontStyles Value);
  int PixelsPerInch() const { return pixels_per_inch_; }
  void SetPixelsPerInch(int Value) { pixels_per_inch_ = Value > 0 ? Value : ScreenLogPixels(); }

 private:
  struct Resource;
  template <class Edit>
  void Update(Edit edit);

  std::shared_ptr<Resource> res_;
  TColor color_ = clWindowText;
  int pixels_per_inch_;
};

class TBrush : public TGraphicsObject {
  VCL_CLASS(TBrush, TGraphicsObject)

 public:
  TBrush();
  ~TBrush() override;
  void Assign(TPersistent* Source) override;

  HBRUSH Handle() const;
  // Takes ownership of a brush handle; colour and style are read from it.
  void SetHandle(HBRUSH Value);

  TColor Color() const;
  void SetColor(TColor Value);
  TBrushStyle Style() const;
  void SetStyle(TBrushStyle Value);
  // A pattern bitmap (not owned); the brush copies its pattern when the handle is made.
  TBitmap* Bitmap() const;
  void SetBitmap(TBitmap* Value);

 private:
  struct Resource;
  template <class Edit>
  void Update(Edit edit);

  std::shared_ptr<Resource> res_;
};

class TPen : public TGraphicsObject {
  VCL_CLASS(TPen, TGraphicsObject)

 public:
  TPen();
  ~TPen() override;
  void Assign(TPersistent* Source) override;

  HPEN Handle() const;
  // Takes ownership of a pen handle; colour, style and width are read from it.
  void SetHandle(HPEN Value);

  TColor Color() const;
  void SetColor(TColor Value);
  // The raster operation of drawing with the pen (not part of the handle).
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode Value);
  TPenStyle Style() const;
  void SetStyle(TPenStyle Value);
  int Width() const;
  void SetWidth(int Value);

 private:
  struct Resource;
  template <class Edit>
  void Update(Edit edit);

  std::shared_ptr<Resource> res_;
  TPenMode mode_ = pmCopy;
};

}  // namespace vcl
