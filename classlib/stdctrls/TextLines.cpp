// TTextLines: the lines of a control's text as a string list.
#include "classlib/stdctrls/TextLines.h"

namespace vcl {

VCL_CLASS_INFO(TTextLines) {}

std::vector<TTextLines::LineSpan> TTextLines::SplitLines(StringView Text) {
  std::vector<LineSpan> lines;
  size_t i = 0;
  while (i < Text.size()) {
    const size_t start = i;
    while (i < Text.size() && Text[i] != L'\r' && Text[i] != L'\n') ++i;
    const size_t length = i - start;
    if (i < Text.size()) i += (Text[i] == L'\r' && i + 1 < Text.size() && Text[i + 1] == L'\n') ? 2 : 1;
    lines.push_back({start, length, i});
  }
  return lines;
}

TTextLines::LineSpan TTextLines::Line(int Index) const {
  const std::vector<LineSpan> lines = SplitLines(LinesText());
  if (Index < 0 || static_cast<size_t>(Index) >= lines.size()) IndexError(Index);
  return lines[static_cast<size_t>(Index)];
}

void TTextLines::Insert(int Index, const String& S) {
  const String text = LinesText();
  const std::vector<LineSpan> lines = SplitLines(text);
  if (Index < 0 || static_cast<size_t>(Index) > lines.size()) IndexError(Index);
  if (static_cast<size_t>(Index) < lines.size()) {
    const size_t at = lines[static_cast<size_t>(Index)].start;
    Replace(at, at, S + InsertedBreak());
  } else if (text.empty() || text.back() == L'\r' || text.back() == L'\n') {
    Replace(text.size(), text.size(), S + InsertedBreak());
  } else {
    Replace(text.size(), text.size(), InsertedBreak() + S);
  }
}

void TTextLines::Delete(int Index) {
  const LineSpan line = Line(Index);
  Replace(line.start, line.next, String());
}

String TTextLines::Get(int Index) const {
  const LineSpan line = Line(Index);
  return LinesText().substr(line.start, line.length);
}

void TTextLines::Put(int Index, const String& S) {
  const LineSpan line = Line(Index);
  Replace(line.start, line.start + line.length, S);
}

int TTextLines::GetCount() const { return static_cast<int>(SplitLines(LinesText()).size()); }

String TTextLines::GetTextStr() const {
  const String text = LinesText();
  String out;
  out.reserve(text.size() + 2);
  for (const LineSpan& line : SplitLines(text)) {
    out.append(text, line.start, line.length);
    out += L"\r\n";
  }
  return out;
}

}  // namespace vcl
