// The HTML text renderer on a bitmap's canvas: hint texts with bold, italic, underline, font
// changes, links, line breaks and character entities, wrapped inside a rectangle. One call
// measures (for sizing a hint), another draws; both take the same path.
#pragma once

#include <memory>

#include "classlib/graphics/Graphics.h"
#include "skin_layered/paint/text/HtmlRenderer.h"

namespace skin_layered {

class TsHtml {
 public:
  TsHtml();
  ~TsHtml();
  TsHtml(const TsHtml&) = delete;
  TsHtml& operator=(const TsHtml&) = delete;

  // The bitmap whose canvas (font, colours) is drawn on, the text, the two highlighted link
  // indexes (-1 for none) and the rectangle: lines start at its Left, from its Top, and wrap
  // before its Right (never when it is 0 or less).
  void Init(vcl::TBitmap* Bitmap, vcl::StringView Text, int HighlightA, int HighlightB, const vcl::TRect& Rect);
  // Draws the text, or with MeasureOnly only measures it. Links gets the links; Rect becomes
  // (0, 0, widest line's right edge, bottom of the last line) in the bitmap's coordinates.
  // The canvas font is as it was afterwards.
  void Render(TqvLinks& Links, bool MeasureOnly, vcl::TRect& Rect);

 private:
  class TCanvasSurface;
  std::unique_ptr<TCanvasSurface> surface_;
  std::unique_ptr<THtmlRenderer> renderer_;
};

}  // namespace skin_layered
