// TTextLines: the lines of a control's text as a string list (memos, rich edits).
#pragma once

#include <cstddef>
#include <vector>

#include "classlib/rtl/StringList.h"

namespace vcl {

// Lines end at CR LF, LF or CR; a line break at the very end starts no further line. The
// control holds the text: a subclass says how it is read and how a part of it is replaced.
class TTextLines : public TStrings {
  VCL_CLASS(TTextLines, TStrings)
 public:
  void Insert(int Index, const String& S) override;
  void Delete(int Index) override;

 protected:
  String Get(int Index) const override;
  void Put(int Index, const String& S) override;
  int GetCount() const override;
  String GetTextStr() const override;

  // The text as the control's positions count it.
  virtual String LinesText() const = 0;
  // What ends a line the list inserts.
  virtual String InsertedBreak() const = 0;
  // Replaces the characters [Start, End) of the text.
  virtual void Replace(size_t Start, size_t End, const String& With) = 0;

 private:
  struct LineSpan {
    size_t start = 0;   // first character
    size_t length = 0;  // without the line break
    size_t next = 0;    // first character after the line break (or the end)
  };
  static std::vector<LineSpan> SplitLines(StringView Text);
  LineSpan Line(int Index) const;
};

}  // namespace vcl
