#include "app/ListField.h"

#include "classlib/rtl/StringList.h"

namespace composer {
namespace {

bool IsBlankOrControl(wchar_t c) { return c <= L' '; }

}  // namespace

vcl::String TrimListText(vcl::StringView text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlankOrControl(text[first])) ++first;
  while (last > first && IsBlankOrControl(text[last - 1])) --last;
  return vcl::String(text.substr(first, last - first));
}

// The only use of the string list: its delimited-text splitting and its checked item access.
ListItems::ListItems(vcl::StringView text) : items_(std::make_unique<vcl::TStringList>()) {
  items_->SetDelimiter(L'|');
  items_->SetQuoteChar(L'"');
  items_->SetStrictDelimiter(false);
  items_->SetDelimitedText(vcl::String(text));
}

ListItems::~ListItems() = default;

int ListItems::Count() const { return items_->Count(); }

vcl::String ListItems::operator[](int index) const { return items_->Strings(index); }

std::vector<vcl::String> MemoLines(vcl::StringView text) {
  std::vector<vcl::String> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != L'\r' && text[end] != L'\n') ++end;
    lines.emplace_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == L'\r') ++end;
    if (end < text.size() && text[end] == L'\n') ++end;
    start = end;
  }
  return lines;
}

}  // namespace composer
