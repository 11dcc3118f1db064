#include "skin_layered/paint/HtmlText.h"

namespace skin_layered {

// The renderer's surface on a canvas: its font's name, size, style and colour, wide text calls.
class TsHtml::TCanvasSurface : public THtmlSurface {
 public:
  explicit TCanvasSurface(vcl::TCanvas* canvas) : canvas_(canvas) {}

  THtmlFont Font() override {
    vcl::TFont* font = canvas_->Font();
    const vcl::TFontStyles style = font->Style();
    THtmlFont result{font->Name(), font->Size(), 0, static_cast<TColorValue>(font->Color())};
    if (style.Contains(vcl::fsBold)) result.Style |= kHtmlBold;
    if (style.Contains(vcl::fsItalic)) result.Style |= kHtmlItalic;
    if (style.Contains(vcl::fsUnderline)) result.Style |= kHtmlUnderline;
    return result;
  }

  void SetFont(const THtmlFont& Font) override {
    vcl::TFont* font = canvas_->Font();
    if (font->Name() != Font.Name) font->SetName(Font.Name);
    if (font->Size() != Font.Size) font->SetSize(Font.Size);
    vcl::TFontStyles style = font->Style();
    const auto set = [&](vcl::TFontStyle s, unsigned bit) {
      if (Font.Style & bit) style.Include(s);
      else style.Exclude(s);
    };
    set(vcl::fsBold, kHtmlBold);
    set(vcl::fsItalic, kHtmlItalic);
    set(vcl::fsUnderline, kHtmlUnderline);
    if (!(style == font->Style())) font->SetStyle(style);
    if (font->Color() != static_cast<vcl::TColor>(Font.Color)) font->SetColor(static_cast<vcl::TColor>(Font.Color));
  }

  vcl::TSize TextExtent(std::wstring_view Text) override { return canvas_->TextExtent(Text); }

  void TextOut(int X, int Y, std::wstring_view Text) override {
    canvas_->Brush()->SetStyle(vcl::bsClear);
    canvas_->TextOut(X, Y, Text);
  }

 private:
  vcl::TCanvas* canvas_;
};

TsHtml::TsHtml() = default;
TsHtml::~TsHtml() = default;

void TsHtml::Init(vcl::TBitmap* Bitmap, vcl::StringView Text, int HighlightA, int HighlightB, const vcl::TRect& Rect) {
  renderer_.reset();
  surface_.reset();
  if (!Bitmap) return;
  surface_ = std::make_unique<TCanvasSurface>(Bitmap->Canvas());
  renderer_ = std::make_unique<THtmlRenderer>(*surface_, Text, HighlightA, HighlightB, Rect);
}

void TsHtml::Render(TqvLinks& Links, bool MeasureOnly, vcl::TRect& Rect) {
  if (!renderer_) {
    Links.clear();
    Rect = vcl::TRect();
    return;
  }
  Rect = renderer_->Render(Links, MeasureOnly);
}

}  // namespace skin_layered
