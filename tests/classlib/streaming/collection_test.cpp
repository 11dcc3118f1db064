// Owned collections: items, order, ids, change notification and assignment.
#include <gtest/gtest.h>

#include "streaming_components.h"

namespace vcl::test {
namespace {

TEST(Collection, AddInsertDeleteAndOrder) {
  TTestControl owner(nullptr);
  TTestItems& items = *owner.ItemList();
  EXPECT_EQ(items.Owner(), &owner);
  auto* a = static_cast<TTestItem*>(items.Add());
  auto* b = static_cast<TTestItem*>(items.Add());
  auto* c = static_cast<TTestItem*>(items.Insert(0));
  ASSERT_EQ(items.Count(), 3);
  EXPECT_EQ(items.Items(0), c);
  EXPECT_EQ(items.Items(1), a);
  EXPECT_EQ(a->Collection(), &items);
  EXPECT_EQ(a->GetOwner(), &items);
  EXPECT_EQ(a->ID(), 0);
  EXPECT_EQ(b->ID(), 1);
  EXPECT_EQ(c->ID(), 2);
  EXPECT_EQ(items.FindItemID(1), b);
  EXPECT_EQ(items.FindItemID(9), nullptr);

  b->SetIndex(0);
  EXPECT_EQ(b->Index(), 0);
  EXPECT_EQ(c->Index(), 1);
  b->SetIndex(99);  // clamped to the last place
  EXPECT_EQ(b->Index(), 2);

  items.Delete(0);  // c
  ASSERT_EQ(items.Count(), 2);
  EXPECT_EQ(items.Items(0), a);
  EXPECT_THROW(items.Items(2), EListError);
  EXPECT_THROW(items.Delete(-1), EListError);

  TObject::Free(a);  // an item freed on its own leaves the list
  EXPECT_EQ(items.Count(), 1);
  EXPECT_EQ(items.Items(0), b);
  items.Clear();
  EXPECT_EQ(items.Count(), 0);
}

TEST(Collection, ItemsMoveBetweenCollections) {
  TTestControl one(nullptr), two(nullptr);
  TCollectionItem* item = one.ItemList()->Add();
  item->SetCollection(two.ItemList());
  EXPECT_EQ(one.ItemList()->Count(), 0);
  ASSERT_EQ(two.ItemList()->Count(), 1);
  EXPECT_EQ(item->Collection(), two.ItemList());
  item->SetCollection(nullptr);
  EXPECT_EQ(two.ItemList()->Count(), 0);
  EXPECT_EQ(item->Index(), -1);
  TObject::Free(item);
}

TEST(Collection, ChangesAreAnnouncedToTheOwnerOnceAfterUpdates) {
  TTestControl owner(nullptr);
  TTestItems& items = *owner.ItemList();
  auto* a = static_cast<TTestItem*>(items.Add());
  EXPECT_EQ(items.updates, std::vector<TCollectionItem*>{nullptr});
  EXPECT_EQ(items.notes, std::vector<TCollectionNotification>{cnAdded});

  items.updates.clear();
  a->Touch();
  EXPECT_EQ(items.updates, std::vector<TCollectionItem*>{a});

  items.updates.clear();
  items.BeginUpdate();
  items.Add();
  items.Add();
  a->Touch();
  items.Delete(0);
  EXPECT_TRUE(items.updates.empty());
  items.EndUpdate();
  EXPECT_EQ(items.updates, std::vector<TCollectionItem*>{nullptr});

  items.notes.clear();
  items.Delete(0);
  EXPECT_EQ(items.notes, (std::vector<TCollectionNotification>{cnDeleting, cnExtracting}));
}

TEST(Collection, AssignCopiesItemsAndRefusesStrangers) {
  TTestControl from(nullptr), to(nullptr);
  auto* x = static_cast<TTestItem*>(from.ItemList()->Add());
  x->caption = L"x";
  x->width = 7;
  x->data = {1, 2, 3};
  static_cast<TTestItem*>(from.ItemList()->Add())->caption = L"y";
  to.ItemList()->Add();
  to.ItemList()->Add();
  to.ItemList()->Add();
  to.ItemList()->updates.clear();

  to.ItemList()->Assign(from.ItemList());
  ASSERT_EQ(to.ItemList()->Count(), 2);
  EXPECT_EQ(to.ItemList()->Item(0)->caption, L"x");
  EXPECT_EQ(to.ItemList()->Item(0)->width, 7);
  EXPECT_EQ(to.ItemList()->Item(0)->data, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(to.ItemList()->Item(1)->caption, L"y");
  EXPECT_NE(to.ItemList()->Items(0), from.ItemList()->Items(0));
  EXPECT_EQ(to.ItemList()->updates.size(), 1u);

  TTestFont font;
  EXPECT_THROW(to.ItemList()->Assign(&font), EConvertError);
  EXPECT_EQ(to.ItemList()->Count(), 2);
}

}  // namespace
}  // namespace vcl::test
