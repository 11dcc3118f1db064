// TList: an ordered list of untyped pointers, the library's general-purpose container.
#pragma once

#include <vector>

#include "classlib/rtl/Object.h"

namespace vcl {

// Index errors raise EListError "List index out of bounds (%d)".
class TList : public TObject {
  VCL_CLASS(TList, TObject)
 public:
  TList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  // Growing adds nil entries; shrinking drops the last ones. A negative count raises
  // EListError "List count out of bounds (%d)".
  void SetCount(int NewCount);
  void* Items(int Index) const;
  void SetItems(int Index, void* Item);

  int Add(void* Item);
  void Insert(int Index, void* Item);  // Index may be Count (append)
  void Delete(int Index);
  // Deletes the first occurrence; its former index, or -1.
  int Remove(void* Item);
  void* Extract(void* Item);  // removes the first occurrence and returns it (nil when absent)
  int IndexOf(void* Item) const;
  void Clear();
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }
  // Stable sort by a comparison that answers <0, 0 or >0.
  void Sort(int (*Compare)(void* Item1, void* Item2));
  void Pack();  // removes the nil entries

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  void Check(int Index) const;
  std::vector<void*> items_;
};

[[noreturn]] void ListIndexError(int Index);

}  // namespace vcl
