// TStrings, the abstract list of strings with attached objects, and TStringList, its
// concrete form.
#pragma once

#include <vector>

#include "classlib/rtl/Persistent.h"
#include "classlib/rtl/Streams.h"

// windows.h maps GetObject to GetObjectW; the library's virtual of that name must keep one name
// in every source file.
#ifdef GetObject
#undef GetObject
#endif

namespace vcl {

// Abstract: descendants provide Get, GetCount, Insert, Delete and Clear, and usually Put,
// GetObject, PutObject and SetUpdateState (a memo's lines, a combo box's items, ...).
// Index errors raise EStringListError "List index out of bounds (%d)".
class TStrings : public TPersistent {
  VCL_CLASS(TStrings, TPersistent)

 public:
  int Count() const { return GetCount(); }
  String Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const String& S) { Put(Index, S); }
  String operator[](int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

  virtual int Add(const String& S);
  virtual int AddObject(const String& S, TObject* AObject);
  void Append(const String& S) { Add(S); }
  virtual void AddStrings(TStrings* Strings);
  virtual void Insert(int Index, const String& S) = 0;
  virtual void InsertObject(int Index, const String& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);
  // -1 when absent; compared as CompareStrings compares (without case here).
  virtual int IndexOf(const String& S) const;
  int IndexOfName(const String& Name) const;
  int IndexOfObject(TObject* AObject) const;

  // "Name=Value" items: the name is the text before the first "=" (empty without one).
  String Names(int Index) const;
  String Values(const String& Name) const;
  // An empty value deletes the item; a new name is appended.
  void SetValues(const String& Name, const String& Value);
  String ValueFromIndex(int Index) const;

  // Every item followed by CR LF. Setting splits at CR LF, LF or CR; a final line break
  // gives no empty item after it.
  String Text() const { return GetTextStr(); }
  void SetText(const String& Value) { SetTextStr(Value); }

  // Items separated by Delimiter; items with blanks, quotes or delimiters are quoted with
  // QuoteChar (inner quotes doubled). Setting it, unless StrictDelimiter: characters with
  // codes up to 32 before and after items and after a delimiter are skipped, a blank also ends
  // an unquoted item, and a delimiter that ends the text adds one empty item.
  wchar_t Delimiter() const { return delimiter_; }
  void SetDelimiter(wchar_t Value) { delimiter_ = Value; }
  wchar_t QuoteChar() const { return quote_char_; }
  void SetQuoteChar(wchar_t Value) { quote_char_ = Value; }
  bool StrictDelimiter() const { return strict_delimiter_; }
  void SetStrictDelimiter(bool Value) { strict_delimiter_ = Value; }
  String DelimitedText() const;
  void SetDelimitedText(const String& Value);

  // Changes between the outermost BeginUpdate and EndUpdate are announced once.
  void BeginUpdate();
  void EndUpdate();

  // Copies the items, objects and delimiter settings of another string list.
  void Assign(TPersistent* Source) override;

  // Text from the stream's position to its end; a byte-order mark picks the encoding,
  // otherwise Encoding (the ANSI code page when nil) is used.
  virtual void LoadFromStream(TStream* Stream, const TEncoding* Encoding = nullptr);
  // The text in Encoding (ANSI when nil), after its byte-order mark if it has one.
  virtual void SaveToStream(TStream* Stream, const TEncoding* Encoding = nullptr);
  void LoadFromFile(const String& FileName, const TEncoding* Encoding = nullptr);
  void SaveToFile(const String& FileName, const TEncoding* Encoding = nullptr);
  // The encoding the last load used (nil before any).
  const TEncoding* Encoding() const { return encoding_; }

 protected:
  virtual String Get(int Index) const = 0;
  virtual void Put(int Index, const String& S);
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int Index) const;
  virtual void PutObject(int Index, TObject* AObject);
  // Called with true when the first BeginUpdate starts and false when the last EndUpdate ends.
  virtual void SetUpdateState(bool Updating);
  virtual String GetTextStr() const;
  virtual void SetTextStr(const String& Value);
  // <0, 0, >0; this list compares by the user's locale without case.
  virtual int CompareStrings(const String& S1, const String& S2) const;
  int UpdateCount() const { return update_count_; }
  [[noreturn]] void IndexError(int Index) const;

 private:
  int update_count_ = 0;
  wchar_t delimiter_ = L',';
  wchar_t quote_char_ = L'"';
  bool strict_delimiter_ = false;
  const TEncoding* encoding_ = nullptr;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };
using enum TDuplicates;

class TStringList;
using TStringListSortCompare = int (*)(TStringList* List, int Index1, int Index2);

// Items in memory. A Sorted list keeps its order on Add (Insert and setting an item raise
// EStringListError "Operation not allowed on sorted list") and searches by halving; its
// Duplicates decide what adding an existing string does (dupError raises "String list does
// not allow duplicates"). CaseSensitive switches comparisons to case-sensitive ones.
class TStringList : public TStrings {
  VCL_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;

  int Add(const String& S) override;
  int AddObject(const String& S, TObject* AObject) override;
  void Insert(int Index, const String& S) override;
  void InsertObject(int Index, const String& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  void Exchange(int Index1, int Index2) override;
  int IndexOf(const String& S) const override;
  // Sorted lists: true when found; Index is the item or where S would be inserted.
  bool Find(const String& S, int& Index) const;
  void Sort();
  void CustomSort(TStringListSortCompare Compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }
  bool CaseSensitive() const { return case_sensitive_; }
  void SetCaseSensitive(bool Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  String Get(int Index) const override;
  void Put(int Index, const String& S) override;
  int GetCount() const override { return static_cast<int>(items_.size()); }
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const String& S1, const String& S2) const override;
  virtual void Changing();
  virtual void Changed();

 private:
  struct Item {
    String Text;
    TObject* Object = nullptr;
  };
  void CheckIndex(int Index) const;
  void InsertItem(int Index, const String& S, TObject* AObject);
  // Where a sorted list takes S; -1 when the duplicate is to be ignored.
  int SortedAddIndex(const String& S);
  void SortItems();

  std::vector<Item> items_;
  bool sorted_ = false;
  bool case_sensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};

}  // namespace vcl
