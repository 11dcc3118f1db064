// TCollection / TCollectionItem: an owned, ordered list of persistent items of one class,
// published as one property and stored in form descriptions as `< item ... end >`.
#pragma once

#include <vector>

#include "classlib/rtl/Persistent.h"

namespace vcl {

class TCollection;
class TCollectionItem;

// The class of a collection's items: its class information and a factory.
//   new TOwnedCollection(this, TCollectionItemClass::Of<TsStoredSkin>())
struct TCollectionItemClass {
  const TClassInfo* Info = nullptr;
  TCollectionItem* (*Create)() = nullptr;  // makes an item that belongs to no collection yet

  template <class T>
  static TCollectionItemClass Of() {
    return {&T::StaticClass(), []() -> TCollectionItem* { return Construct<T>(nullptr); }};
  }
};

enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };
using enum TCollectionNotification;

class TCollectionItem : public TPersistent {
  VCL_CLASS(TCollectionItem, TPersistent)

 public:
  // Joins Collection at the end when it is not nil. Derived items are still being built
  // while the collection hears of the new item: TCollection::Add avoids that by joining
  // after construction.
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;
  void BeforeDestruction() override;

  TCollection* Collection() const { return collection_; }
  // Moves the item to another collection (nullptr: out of any).
  void SetCollection(TCollection* Value);
  int ID() const { return id_; }
  int Index() const;
  void SetIndex(int Value);
  virtual String DisplayName() const { return ClassName(); }

  TPersistent* GetOwner() override;

 protected:
  // Tells the collection that this item (AllItems: the whole list) changed.
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
  VCL_CLASS(TCollection, TPersistent)

 public:
  explicit TCollection(TCollectionItemClass ItemClass);
  ~TCollection() override;

  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EListError for an index out of range.
  TCollectionItem* Items(int Index) const;
  void SetItems(int Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }
  TCollectionItem* FindItemID(int ID) const;
  const TCollectionItemClass& ItemClass() const { return item_class_; }
  TPersistent* Owner() { return GetOwner(); }

  // Changes between BeginUpdate and EndUpdate are announced once, at the last EndUpdate.
  virtual void BeginUpdate() { ++update_count_; }
  virtual void EndUpdate();
  int UpdateCount() const { return update_count_; }

  // Replaces the items by copies of another collection's items.
  void Assign(TPersistent* Source) override;

 protected:
  // Change notification: Item changed, or nullptr when the list itself changed. Collections
  // override this to tell their owner.
  virtual void Update(TCollectionItem* Item) { (void)Item; }
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) { (void)Item; (void)Action; }
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TCollectionItemClass item_class_;
  std::vector<TCollectionItem*> items_;
  int update_count_ = 0;
  int next_id_ = 0;
};

// A collection that knows the persistent it belongs to (for name paths and notification).
class TOwnedCollection : public TCollection {
  VCL_CLASS(TOwnedCollection, TCollection)

 public:
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
      : TCollection(ItemClass), owner_(AOwner) {}
  TPersistent* GetOwner() override { return owner_; }

 private:
  TPersistent* owner_;
};

}  // namespace vcl
