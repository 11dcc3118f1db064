#include "classlib/rtl/StringList.h"

#include <algorithm>
#include <numeric>

namespace vcl {

VCL_CLASS_INFO(TStrings) {}
VCL_CLASS_INFO(TStringList) {}

namespace {

// Holds a list in its update state for a scope, so exceptions end the update too.
class UpdateScope {
 public:
  explicit UpdateScope(TStrings* list) : list_(list) { list_->BeginUpdate(); }
  ~UpdateScope() { list_->EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  TStrings* list_;
};

// Blanks of delimited text: every character code up to 32 (NUL included, so it can never
// stall the scan).
bool IsBlank(wchar_t c) { return c <= L' '; }

String QuotedString(const String& s, wchar_t quote) {
  String out(1, quote);
  for (wchar_t c : s) {
    out += c;
    if (c == quote) out += quote;
  }
  out += quote;
  return out;
}

// From the opening quote at i to the matching closing quote (a doubled quote is one quote
// of the text); an unclosed quote takes the rest of the text. i ends after the closing quote.
String ExtractQuoted(const String& text, size_t& i, wchar_t quote) {
  String out;
  ++i;
  while (i < text.size()) {
    if (text[i] == quote) {
      if (i + 1 < text.size() && text[i + 1] == quote) {
        out += quote;
        i += 2;
        continue;
      }
      ++i;
      return out;
    }
    out += text[i++];
  }
  return out;
}

}  // namespace

// ---- TStrings ------------------------------------------------------------------------------

void TStrings::IndexError(int Index) const {
  throw EStringListError(Format(L"List index out of bounds (%d)", {Index}));
}

int TStrings::Add(const String& S) {
  const int index = GetCount();
  Insert(index, S);
  return index;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
  const int index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::AddStrings(TStrings* Strings) {
  UpdateScope update(this);
  for (int i = 0; i < Strings->Count(); ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Put(int Index, const String& S) {
  TObject* object = GetObject(Index);
  UpdateScope update(this);
  Delete(Index);
  InsertObject(Index, S, object);
}

TObject* TStrings::GetObject(int Index) const {
  (void)Index;
  return nullptr;
}

void TStrings::PutObject(int Index, TObject* AObject) {
  (void)Index;
  (void)AObject;
}

void TStrings::SetUpdateState(bool Updating) { (void)Updating; }

void TStrings::Exchange(int Index1, int Index2) {
  UpdateScope update(this);
  const String s1 = Get(Index1), s2 = Get(Index2);
  TObject* o1 = GetObject(Index1);
  TObject* o2 = GetObject(Index2);
  Put(Index1, s2);
  PutObject(Index1, o2);
  Put(Index2, s1);
  PutObject(Index2, o1);
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  UpdateScope update(this);
  const String s = Get(CurIndex);
  TObject* object = GetObject(CurIndex);
  if (NewIndex < 0 || NewIndex >= GetCount()) IndexError(NewIndex);
  Delete(CurIndex);
  InsertObject(NewIndex, s, object);
}

int TStrings::CompareStrings(const String& S1, const String& S2) const { return AnsiCompareText(S1, S2); }

int TStrings::IndexOf(const String& S) const {
  const int n = GetCount();
  for (int i = 0; i < n; ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const String& Name) const {
  const int n = GetCount();
  for (int i = 0; i < n; ++i) {
    const String s = Get(i);
    const size_t eq = s.find(L'=');
    if (eq != String::npos && CompareStrings(s.substr(0, eq), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
  const int n = GetCount();
  for (int i = 0; i < n; ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

String TStrings::Names(int Index) const {
  const String s = Get(Index);
  const size_t eq = s.find(L'=');
  return eq == String::npos ? String() : s.substr(0, eq);
}

String TStrings::ValueFromIndex(int Index) const {
  const String s = Get(Index);
  const size_t eq = s.find(L'=');
  return eq == String::npos ? String() : s.substr(eq + 1);
}

String TStrings::Values(const String& Name) const {
  const int i = IndexOfName(Name);
  return i >= 0 ? ValueFromIndex(i) : String();
}

void TStrings::SetValues(const String& Name, const String& Value) {
  int i = IndexOfName(Name);
  if (!Value.empty()) {
    if (i < 0) i = Add(String());
    Put(i, Name + L"=" + Value);
  } else if (i >= 0) {
    Delete(i);
  }
}

String TStrings::GetTextStr() const {
  const int n = GetCount();
  String out;
  for (int i = 0; i < n; ++i) {
    out += Get(i);
    out += L"\r\n";
  }
  return out;
}

void TStrings::SetTextStr(const String& Value) {
  UpdateScope update(this);
  Clear();
  size_t i = 0;
  const size_t n = Value.size();
  while (i < n) {
    const size_t start = i;
    while (i < n && Value[i] != L'\r' && Value[i] != L'\n') ++i;
    Add(Value.substr(start, i - start));
    if (i < n && Value[i] == L'\r') ++i;
    if (i < n && Value[i] == L'\n') ++i;
  }
}

String TStrings::DelimitedText() const {
  const int n = GetCount();
  if (n == 1 && Get(0).empty()) return String(2, quote_char_);
  String out;
  for (int i = 0; i < n; ++i) {
    String s = Get(i);
    const bool needsQuotes = std::any_of(s.begin(), s.end(), [this](wchar_t c) {
      return (!strict_delimiter_ && IsBlank(c)) || c == quote_char_ || c == delimiter_;
    });
    if (needsQuotes) s = QuotedString(s, quote_char_);
    if (i > 0) out += delimiter_;
    out += s;
  }
  return out;
}

void TStrings::SetDelimitedText(const String& Value) {
  UpdateScope update(this);
  Clear();
  const bool strict = strict_delimiter_;
  const size_t n = Value.size();
  size_t i = 0;
  auto skipBlanks = [&] {
    if (!strict)
      while (i < n && IsBlank(Value[i])) ++i;
  };
  skipBlanks();
  while (i < n) {
    if (Value[i] == quote_char_) {
      Add(ExtractQuoted(Value, i, quote_char_));
    } else {
      const size_t start = i;
      while (i < n && (strict || !IsBlank(Value[i])) && Value[i] != delimiter_) ++i;
      Add(Value.substr(start, i - start));
    }
    skipBlanks();
    if (i < n && Value[i] == delimiter_) {
      if (i + 1 == n) Add(String());
      ++i;
      skipBlanks();
    }
  }
}

void TStrings::BeginUpdate() {
  if (update_count_ == 0) SetUpdateState(true);
  ++update_count_;
}

void TStrings::EndUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ == 0) SetUpdateState(false);
}

void TStrings::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TStrings*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this) return;
  UpdateScope update(this);
  Clear();
  delimiter_ = source->delimiter_;
  quote_char_ = source->quote_char_;
  strict_delimiter_ = source->strict_delimiter_;
  AddStrings(source);
}

void TStrings::LoadFromStream(TStream* Stream, const TEncoding* Encoding) {
  const int64_t available = Stream->Size() - Stream->Position();
  std::vector<uint8_t> bytes(static_cast<size_t>(available > 0 ? available : 0));
  Stream->ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  std::span<const uint8_t> text(bytes);
  const TEncoding* encoding = TEncoding::FromPreamble(text);
  if (encoding) text = text.subspan(encoding->GetPreamble().size());
  else encoding = Encoding ? Encoding : TEncoding::Default;
  SetTextStr(encoding->GetString(text));
  encoding_ = encoding;
}

void TStrings::SaveToStream(TStream* Stream, const TEncoding* Encoding) {
  if (!Encoding) Encoding = TEncoding::Default;
  const auto preamble = Encoding->GetPreamble();
  Stream->WriteBuffer(preamble.data(), static_cast<int64_t>(preamble.size()));
  const std::vector<uint8_t> bytes = Encoding->GetBytes(GetTextStr());
  Stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TStrings::LoadFromFile(const String& FileName, const TEncoding* Encoding) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file, Encoding);
}

void TStrings::SaveToFile(const String& FileName, const TEncoding* Encoding) {
  TFileStream file(FileName, fmCreate);
  SaveToStream(&file, Encoding);
}

// ---- TStringList ---------------------------------------------------------------------------

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
}

String TStringList::Get(int Index) const {
  CheckIndex(Index);
  return items_[static_cast<size_t>(Index)].Text;
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return items_[static_cast<size_t>(Index)].Object;
}

void TStringList::Put(int Index, const String& S) {
  if (sorted_) throw EStringListError(L"Operation not allowed on sorted list");
  CheckIndex(Index);
  Changing();
  items_[static_cast<size_t>(Index)].Text = S;
  Changed();
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  items_[static_cast<size_t>(Index)].Object = AObject;
  Changed();
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) Changing();
  else Changed();
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
  return case_sensitive_ ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject) {
  Changing();
  items_.insert(items_.begin() + Index, Item{S, AObject});
  Changed();
}

int TStringList::SortedAddIndex(const String& S) {
  int index;
  if (Find(S, index)) {
    if (duplicates_ == dupIgnore) return -1 - index;
    if (duplicates_ == dupError) throw EStringListError(L"String list does not allow duplicates");
  }
  return index;
}

int TStringList::Add(const String& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const String& S, TObject* AObject) {
  int index = GetCount();
  if (sorted_) {
    index = SortedAddIndex(S);
    if (index < 0) return -1 - index;  // the existing item
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Insert(int Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const String& S, TObject* AObject) {
  if (sorted_) throw EStringListError(L"Operation not allowed on sorted list");
  if (Index < 0 || Index > GetCount()) IndexError(Index);
  InsertItem(Index, S, AObject);
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  items_.erase(items_.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  items_.shrink_to_fit();
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(items_[static_cast<size_t>(Index1)], items_[static_cast<size_t>(Index2)]);
  Changed();
}

bool TStringList::Find(const String& S, int& Index) const {
  int lo = 0, hi = GetCount() - 1;
  bool found = false;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    const int c = CompareStrings(items_[static_cast<size_t>(mid)].Text, S);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) lo = mid;
      }
    }
  }
  Index = lo;
  return found;
}

int TStringList::IndexOf(const String& S) const {
  if (!sorted_) return TStrings::IndexOf(S);
  int index;
  return Find(S, index) ? index : -1;
}

void TStringList::SortItems() {
  if (items_.size() < 2) return;
  Changing();
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return CompareStrings(a.Text, b.Text) < 0; });
  Changed();
}

void TStringList::Sort() {
  if (!sorted_) SortItems();
}

void TStringList::CustomSort(TStringListSortCompare Compare) {
  if (sorted_ || items_.size() < 2) return;
  // The comparison reads the list by index, so the list stays put while the order is found.
  std::vector<int> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [this, Compare](int a, int b) { return Compare(this, a, b) < 0; });
  Changing();
  std::vector<Item> sorted;
  sorted.reserve(items_.size());
  for (int i : order) sorted.push_back(std::move(items_[static_cast<size_t>(i)]));
  items_ = std::move(sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (sorted_ == Value) return;
  if (Value) SortItems();
  sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (case_sensitive_ == Value) return;
  case_sensitive_ = Value;
  if (sorted_) SortItems();
}

}  // namespace vcl
