// The small HTML text renderer: text with bold, italic, underline, font changes, links, line
// breaks and character entities, drawn from a left edge and wrapped at words before a right
// edge, with the rectangles of its links. Measuring and drawing are one pass over the text;
// only the drawing calls are left out when measuring, so the two always agree. Every other
// character, unknown tags and entities included, is drawn as text.
//
// The renderer knows no window system: it draws through a surface (a canvas on Windows, a
// model in the native tests and the fuzzer).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/rtl/Types.h"
#include "skin_layered/paint/ColorValue.h"

namespace skin_layered {

// Style bits of a font as the tags change them.
inline constexpr unsigned kHtmlBold = 1;
inline constexpr unsigned kHtmlItalic = 2;
inline constexpr unsigned kHtmlUnderline = 4;

// The part of a font the tags change; the surface keeps everything else as it was.
struct THtmlFont {
  std::wstring Name;
  int Size = 0;  // points
  unsigned Style = 0;
  TColorValue Color = 0;
  bool operator==(const THtmlFont&) const = default;
};

// What the renderer needs of the surface it draws on.
class THtmlSurface {
 public:
  virtual ~THtmlSurface() = default;
  virtual THtmlFont Font() = 0;
  virtual void SetFont(const THtmlFont& Font) = 0;
  // The extent of a text on one line in the current font.
  virtual vcl::TSize TextExtent(std::wstring_view Text) = 0;
  // Draws a text at a point with a clear background.
  virtual void TextOut(int X, int Y, std::wstring_view Text) = 0;
};

// A link: the rectangle from where its text starts to where it ends (Bottom is its line's
// height below Top) and its address.
struct TqvLink {
  vcl::TRect Rect;
  std::wstring Href;
};
using TqvLinks = std::vector<TqvLink>;

class THtmlRenderer {
 public:
  // Text is drawn from (Rect.Left, Rect.Top); lines wrap before Rect.Right, or never when it
  // is 0 or less. A link whose index is one of the two highlight indexes is underlined, one
  // that is both is red (-1 for none).
  THtmlRenderer(THtmlSurface& Surface, std::wstring_view Text, int HighlightA, int HighlightB, const vcl::TRect& Rect);
  THtmlRenderer(const THtmlRenderer&) = delete;
  THtmlRenderer& operator=(const THtmlRenderer&) = delete;

  // Draws the text (or with MeasureOnly only measures it) and gives its links. The result is
  // (0, 0, widest line's right edge, bottom of the last line), in the surface's coordinates.
  // Bad markup never raises: it is drawn as text, a bad attribute value is ignored.
  vcl::TRect Render(TqvLinks& Links, bool MeasureOnly);

 private:
  // The first position at or after From where a text occurs, for queries that only move
  // forward: each search starts where the last one found nothing to skip.
  class TForwardFind {
   public:
    TForwardFind(std::wstring_view hay, std::wstring_view needle) : hay_(hay), needle_(needle) {}
    std::size_t From(std::size_t from);

   private:
    std::wstring_view hay_, needle_;
    std::size_t searched_ = std::wstring_view::npos;  // where the cached search started
    std::size_t found_ = std::wstring_view::npos;
  };

  void TextRun(std::size_t from, std::size_t to);
  void WrapRun(std::wstring_view run);
  std::size_t Entity(std::size_t at);
  bool Tag(std::size_t open, std::size_t close);
  bool ClosingTag(std::wstring_view tag);
  bool OpeningTag(std::size_t open, std::size_t close);
  void FontTag(std::wstring_view tag);
  void OpenLink(std::size_t open, std::size_t close);
  void CloseLink();
  void AddStyle(unsigned bits, bool on);
  void PushFont();
  void PopFont();
  // A line break of a tag (or of an entity that does not fit): down by the line's height + 2.
  void BreakLine();
  // A line break of word wrapping: down by the line's height alone, which is kept.
  void WrapLine(std::int64_t height);
  void Draw(std::int64_t x, std::wstring_view text);
  int Width(std::wstring_view text);
  int HeightOfX();

  THtmlSurface& surface_;
  std::wstring text_;   // as given: text runs, entity names and links' tag texts
  std::wstring upper_;  // the same, letters A..Z upper-cased: where tags are recognised
  int highlight_a_, highlight_b_;
  vcl::TRect rect_;
  bool measure_only_ = false;
  // The drawing position and line state, wide enough that no text can overflow them.
  std::int64_t cur_x_, cur_y_;
  std::int64_t line_height_ = 0;  // 0 until something is measured on the line
  std::int64_t line_end_ = 0;     // rightmost x reached since the last break tag
  std::int64_t max_width_ = 0;
  bool line_used_ = false;        // something was placed on the current line
  std::vector<THtmlFont> font_stack_;
  TqvLinks links_;
  std::vector<std::size_t> open_links_;  // indexes of links without their closing tag yet
  TForwardFind close_find_, font_find_, link_find_;
};

}  // namespace skin_layered
