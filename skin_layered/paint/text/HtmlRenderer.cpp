#include "skin_layered/paint/text/HtmlRenderer.h"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>

#include "skin_layered/paint/pixels/PixelTransforms.h"
#include "skin_layered/paint/text/HtmlEntities.h"

namespace skin_layered {
namespace {

constexpr auto npos = std::wstring_view::npos;

// Font sizes a tag can ask for, in points; beyond them a text could not be drawn anyway.
constexpr int kMaxFontSize = 1000;

constexpr TColorValue kLinkColor = 0xFF0000;       // blue
constexpr TColorValue kHighlightColor = 0x0000FF;  // red

struct TNamedColor {
  std::wstring_view Name;
  TColorValue Value;
};
constexpr std::array<TNamedColor, 16> kColorNames{{
    {L"AQUA", 0xFFFF00}, {L"BLACK", 0x000000}, {L"BLUE", 0xFF0000},   {L"FUCHSIA", 0xFF00FF},
    {L"GRAY", 0x808080}, {L"GREEN", 0x008000}, {L"LIME", 0x00FF00},   {L"MAROON", 0x000080},
    {L"NAVY", 0x800000}, {L"OLIVE", 0x008080}, {L"PURPLE", 0x800080}, {L"RED", 0x0000FF},
    {L"SILVER", 0xC0C0C0}, {L"TEAL", 0x808000}, {L"WHITE", 0xFFFFFF}, {L"YELLOW", 0x00FFFF},
}};

int ToInt(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); }

std::wstring UpperAscii(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return upper;
}

// The words of a text between any of the separators.
std::vector<std::wstring_view> Words(std::wstring_view text, std::wstring_view separators) {
  std::vector<std::wstring_view> words;
  std::size_t at = 0;
  while ((at = text.find_first_not_of(separators, at)) != npos) {
    const std::size_t end = std::min(text.find_first_of(separators, at), text.size());
    words.push_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

// A decimal integer with an optional sign, nothing else; nothing for anything else or a
// number too large to be a font size.
std::optional<int> ParseInt(std::wstring_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
    if (value > 1'000'000'000) return std::nullopt;
  }
  return static_cast<int>(negative ? -value : value);
}

// The leading hexadecimal digits of a text as 0xRRGGBB (the last six digits count).
TColorValue ParseHexColor(std::wstring_view text) {
  TColorValue value = 0;
  for (const wchar_t c : text) {
    unsigned digit;
    if (c >= L'0' && c <= L'9') digit = static_cast<unsigned>(c - L'0');
    else if (c >= L'A' && c <= L'F') digit = static_cast<unsigned>(c - L'A' + 10);
    else if (c >= L'a' && c <= L'f') digit = static_cast<unsigned>(c - L'a' + 10);
    else break;
    value = ((value << 4) | digit) & 0xFFFFFF;
  }
  return value;
}

TColorValue ParseColor(std::wstring_view value) {
  if (value.front() == L'#') return SwapRedBlue(ParseHexColor(value.substr(1)));
  for (const TNamedColor& named : kColorNames)
    if (named.Name == value) return named.Value;
  return SwapRedBlue(ParseHexColor(value));
}

// The address of a link's tag text: the word after HREF (words separated by spaces and "="),
// to the next space, without quotes, apostrophes and ">". Empty without HREF.
std::wstring HrefOf(std::wstring_view tag) {
  const std::wstring upper = UpperAscii(tag);
  constexpr std::wstring_view separators = L" =";
  std::size_t at = 0;
  while ((at = upper.find_first_not_of(separators, at)) != npos) {
    const std::size_t end = std::min(upper.find_first_of(separators, at), upper.size());
    if (std::wstring_view(upper).substr(at, end - at) == L"HREF") {
      // The value keeps any "=" of its own (an address with a query).
      const std::size_t start = tag.find_first_not_of(separators, end);
      if (start == npos) return {};
      const std::wstring_view value = tag.substr(start, std::min(tag.find(L' ', start), tag.size()) - start);
      std::wstring href;
      for (const wchar_t c : value)
        if (c != L'\'' && c != L'"' && c != L'>') href += c;
      return href;
    }
    at = end;
  }
  return {};
}

}  // namespace

std::size_t THtmlRenderer::TForwardFind::From(std::size_t from) {
  if (searched_ != npos && searched_ <= from && (found_ == npos || found_ >= from)) return found_;
  searched_ = from;
  found_ = hay_.find(needle_, from);
  return found_;
}

THtmlRenderer::THtmlRenderer(THtmlSurface& Surface, std::wstring_view Text, int HighlightA, int HighlightB,
                             const vcl::TRect& Rect)
    : surface_(Surface),
      text_(Text),
      upper_(UpperAscii(Text)),
      highlight_a_(HighlightA),
      highlight_b_(HighlightB),
      rect_(Rect),
      cur_x_(Rect.Left),
      cur_y_(Rect.Top),
      close_find_(upper_, L">"),
      font_find_(upper_, L"FONT"),
      link_find_(upper_, L"A") {}

vcl::TRect THtmlRenderer::Render(TqvLinks& Links, bool MeasureOnly) {
  links_.clear();
  open_links_.clear();
  measure_only_ = MeasureOnly;
  cur_x_ = rect_.Left;
  cur_y_ = rect_.Top;
  line_height_ = line_end_ = max_width_ = 0;
  line_used_ = false;
  // Tags left open change the font only for this pass: a measuring pass must leave the
  // surface as the drawing pass will find it.
  const THtmlFont startFont = surface_.Font();

  const std::size_t n = upper_.size();
  std::size_t i = 0, start = 0;  // the walk and the start of the pending text run
  while (i < n) {
    const wchar_t c = upper_[i];
    if (c == L'&') {
      TextRun(start, i);
      start = i;
      if (const std::size_t length = Entity(i)) {
        i += length;
        start = i;
      } else {
        ++i;  // the "&" stays part of the text
      }
    } else if (c == L'<' && i + 1 < n && upper_[i + 1] == L'<') {
      TextRun(start, i);  // "<<" prints one "<"
      start = i + 1;
      i += 2;
    } else if (c == L'<') {
      TextRun(start, i);
      start = i;
      const std::size_t close = close_find_.From(i + 1);
      if (close == npos) {
        start = ++i;  // a "<" that closes nowhere is dropped
      } else if (Tag(i, close)) {
        start = i = close + 1;
      } else {
        ++i;  // an unknown tag is drawn as written
      }
    } else {
      ++i;
    }
  }
  TextRun(start, n);

  max_width_ = std::max(max_width_, line_end_);
  line_end_ = 0;
  font_stack_.clear();
  surface_.SetFont(startFont);
  Links = std::move(links_);
  links_.clear();
  return {0, 0, ToInt(max_width_), ToInt(cur_y_ + line_height_)};
}

void THtmlRenderer::TextRun(std::size_t from, std::size_t to) {
  if (to <= from) return;
  std::wstring run;
  run.reserve(to - from);
  for (std::size_t i = from; i < to; ++i)
    if (text_[i] != L'\r' && text_[i] != L'\n') run += text_[i];
  if (run.empty()) return;
  const int width = Width(run);
  if (rect_.Right > 0 && cur_x_ + width > rect_.Right) {
    if (run.front() == L' ') cur_x_ += Width(L" ");
    WrapRun(run);
    return;
  }
  Draw(cur_x_, run);
  cur_x_ += width;
  line_end_ = std::max(line_end_, cur_x_);
  line_height_ = std::max<std::int64_t>(line_height_, HeightOfX());
  line_used_ = true;
}

void THtmlRenderer::WrapRun(std::wstring_view run) {
  const int height = HeightOfX();
  const int space = Width(L" ");
  const std::int64_t room = std::int64_t{rect_.Right} - rect_.Left;
  // Words at their own positions in the run: several spaces count as one.
  for (const std::wstring_view word : Words(run, L" ")) {
    const int width = Width(word);
    if (width > room) {
      // Wider than any line: a line of its own from the left edge, overflowing the right.
      if (line_used_) WrapLine(height);
      cur_x_ = rect_.Left;
      Draw(cur_x_, word);
      line_end_ = std::max(line_end_, cur_x_ + width);
      WrapLine(height);
      continue;
    }
    if (cur_x_ + width > rect_.Right) WrapLine(height);
    Draw(cur_x_, word);
    cur_x_ += width + space;
    line_end_ = std::max(line_end_, cur_x_);
    line_height_ = std::max<std::int64_t>(line_height_, height);
    line_used_ = true;
  }
}

std::size_t THtmlRenderer::Entity(std::size_t at) {
  constexpr std::size_t kLookAhead = 255;
  const std::wstring_view after = std::wstring_view(text_).substr(at + 1, kLookAhead);
  const std::size_t semicolon = after.find(L';');
  if (semicolon == npos) return 0;
  const std::wstring_view name = after.substr(0, semicolon);
  if (name.find(L' ') != npos) return 0;
  const std::optional<wchar_t> found = FindHtmlEntity(name);
  if (!found) return 0;
  const wchar_t ch = *found;
  const std::wstring_view glyph(&ch, 1);
  const int width = Width(glyph);
  if (rect_.Right > 0 && cur_x_ + width > rect_.Right) BreakLine();
  Draw(cur_x_, glyph);
  cur_x_ += width;
  line_end_ = std::max(line_end_, cur_x_);
  line_height_ = std::max<std::int64_t>(line_height_, HeightOfX());
  line_used_ = true;
  return semicolon + 2;
}

bool THtmlRenderer::Tag(std::size_t open, std::size_t close) {
  const std::wstring_view tag = std::wstring_view(upper_).substr(open, close - open + 1);
  if (tag.size() > 1 && tag[1] == L'/') return ClosingTag(tag.substr(2));
  return OpeningTag(open, close);
}

bool THtmlRenderer::ClosingTag(std::wstring_view name) {
  if (name.starts_with(L"B")) AddStyle(kHtmlBold, false);
  else if (name.starts_with(L"I")) AddStyle(kHtmlItalic, false);
  else if (name.starts_with(L"U")) AddStyle(kHtmlUnderline, false);
  else if (name.starts_with(L"FONT")) PopFont();
  else if (name.starts_with(L"A")) CloseLink();
  else return false;
  return true;
}

bool THtmlRenderer::OpeningTag(std::size_t open, std::size_t close) {
  const std::wstring_view tag = std::wstring_view(upper_).substr(open, close - open + 1);
  if (tag == L"<BR>" || tag == L"<BR/>" || tag == L"<P>") {
    BreakLine();
    return true;
  }
  if (tag == L"<B>" || tag == L"<I>" || tag == L"<U>") {
    AddStyle(tag[1] == L'B' ? kHtmlBold : tag[1] == L'I' ? kHtmlItalic : kHtmlUnderline, true);
    return true;
  }
  // FONT and A count wherever their name stands in the tag with something after it.
  const auto occurs = [&](TForwardFind& find, std::size_t length) {
    const std::size_t at = find.From(open);
    return at != npos && at + length <= close;
  };
  if (occurs(font_find_, 4)) {
    PushFont();
    FontTag(tag);
    return true;
  }
  if (occurs(link_find_, 1)) {
    OpenLink(open, close);
    return true;
  }
  return false;
}

void THtmlRenderer::FontTag(std::wstring_view tag) {
  const std::vector<std::wstring_view> words = Words(tag, L" \r\n\"<=>");
  for (std::size_t k = 0; k < words.size(); ++k) {
    const std::wstring_view word = words[k];
    if (word == L"FACE") {
      // The name between the first two double quotes after the attribute.
      const std::size_t after = static_cast<std::size_t>(word.data() - tag.data()) + word.size();
      const std::size_t first = tag.find(L'"', after);
      const std::size_t second = first == npos ? npos : tag.find(L'"', first + 1);
      if (second != npos && second > first + 1) {
        THtmlFont font = surface_.Font();
        font.Name = tag.substr(first + 1, second - first - 1);
        surface_.SetFont(font);
      }
      continue;
    }
    if (k + 1 >= words.size()) break;
    const std::wstring_view value = words[k + 1];
    if (word == L"SIZE") {
      ++k;
      // A value that is no integer is ignored.
      const std::optional<int> number = ParseInt(value.front() == L'+' || value.front() == L'-' ? value.substr(1) : value);
      if (!number) continue;
      THtmlFont font = surface_.Font();
      const std::int64_t size = value.front() == L'+'   ? std::int64_t{font.Size} + *number
                                : value.front() == L'-' ? std::int64_t{font.Size} - *number
                                                        : *number;
      font.Size = static_cast<int>(std::clamp<std::int64_t>(size, -kMaxFontSize, kMaxFontSize));
      surface_.SetFont(font);
    } else if (word == L"COLOR") {
      ++k;
      THtmlFont font = surface_.Font();
      font.Color = ParseColor(value);
      surface_.SetFont(font);
    }
  }
}

void THtmlRenderer::OpenLink(std::size_t open, std::size_t close) {
  PushFont();
  const auto index = static_cast<std::int64_t>(links_.size());
  THtmlFont font = surface_.Font();
  font.Color = index == highlight_a_ && index == highlight_b_ ? kHighlightColor : kLinkColor;
  if (index == highlight_a_ || index == highlight_b_) font.Style |= kHtmlUnderline;
  surface_.SetFont(font);
  // The tag text as written stands for the address until the link closes.
  links_.push_back({vcl::TRect(ToInt(cur_x_), ToInt(cur_y_), 0, 0), text_.substr(open, close - open + 1)});
  open_links_.push_back(links_.size() - 1);
}

void THtmlRenderer::CloseLink() {
  if (open_links_.empty()) return;  // a stray closing tag changes nothing
  TqvLink& link = links_[open_links_.back()];
  open_links_.pop_back();
  link.Href = HrefOf(link.Href);
  link.Rect.Right = ToInt(cur_x_);
  link.Rect.Bottom = ToInt(std::int64_t{link.Rect.Top} + line_height_);
  PopFont();
}

void THtmlRenderer::AddStyle(unsigned bits, bool on) {
  THtmlFont font = surface_.Font();
  font.Style = on ? font.Style | bits : font.Style & ~bits;
  surface_.SetFont(font);
}

void THtmlRenderer::PushFont() { font_stack_.push_back(surface_.Font()); }

void THtmlRenderer::PopFont() {
  if (font_stack_.empty()) return;
  surface_.SetFont(font_stack_.back());
  font_stack_.pop_back();
}

void THtmlRenderer::BreakLine() {
  cur_x_ = rect_.Left;
  if (line_height_ == 0) line_height_ = HeightOfX();
  cur_y_ += line_height_ + 2;
  max_width_ = std::max(max_width_, line_end_);
  line_end_ = 0;
  line_height_ = 0;
  line_used_ = false;
}

void THtmlRenderer::WrapLine(std::int64_t height) {
  cur_x_ = rect_.Left;
  line_height_ = std::max(line_height_, height);
  cur_y_ += line_height_;
  line_used_ = false;
}

void THtmlRenderer::Draw(std::int64_t x, std::wstring_view text) {
  if (!measure_only_) surface_.TextOut(ToInt(x), ToInt(cur_y_), text);
}

int THtmlRenderer::Width(std::wstring_view text) { return std::max(0, surface_.TextExtent(text).cx); }

int THtmlRenderer::HeightOfX() { return std::max(0, surface_.TextExtent(L"X").cy); }

}  // namespace skin_layered
