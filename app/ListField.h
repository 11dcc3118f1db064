// List fields: memos whose items are separated by "|".
#pragma once

#include <memory>
#include <vector>

#include "classlib/rtl/SysUtils.h"

namespace vcl {
class TStringList;
}

namespace composer {

// A list memo's text without the characters with codes up to 32 at either end; the form
// writes it back into the memo before generating.
vcl::String TrimListText(vcl::StringView text);

// The items of a list field: the trimmed text split like the string list's delimited text
// with delimiter "|", quote character '"' and non-strict delimiting (a blank or line break
// ends an unquoted item; a quoted item keeps its blanks).
class ListItems {
 public:
  explicit ListItems(vcl::StringView text);
  ~ListItems();
  ListItems(const ListItems&) = delete;
  ListItems& operator=(const ListItems&) = delete;

  int Count() const;
  // Item by index; an index past the end raises the string list's EStringListError
  // "List index out of bounds (%d)".
  vcl::String operator[](int index) const;

 private:
  std::unique_ptr<vcl::TStringList> items_;
};

// A memo's lines as the memo shows them: a line ends at CR LF, CR or LF, and a final line
// break opens no further line (an empty memo has no lines).
std::vector<vcl::String> MemoLines(vcl::StringView text);

}  // namespace composer
