#include "common/CSeznam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// A record with a value and a shared tally of destroyed records.
class Item : public CSeznam {
 public:
  Item(int value, int* destroyed) : value(value), destroyed(destroyed) {}
  ~Item() override { ++*destroyed; }
  int value;
  int* destroyed;
  CSeznam* Tail() const { return tail; }
  CSeznam* Prev() const { return prev; }
};

class List : public CSeznam {
 public:
  CSeznam* Tail() const { return tail; }
};

const Item* AsItem(const CSeznam* e) { return static_cast<const Item*>(e); }

std::vector<int> Values(const CSeznam& list) {
  std::vector<int> out;
  for (CSeznam* e = list.GetHead(); e; e = e->GetNext()) out.push_back(AsItem(e)->value);
  return out;
}

int Ascending(const void* a, const void* b) {
  int x = AsItem(*static_cast<CSeznam* const*>(a))->value;
  int y = AsItem(*static_cast<CSeznam* const*>(b))->value;
  return (x > y) - (x < y);
}

TEST(CSeznam, EmptyListHasNoElements) {
  List list;
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_EQ(list.GetHead(), nullptr);
  EXPECT_EQ(list.Tail(), nullptr);
  list.RemoveAll();
  list.Sort(Ascending);
  EXPECT_EQ(list.GetHead(), nullptr);
  EXPECT_EQ(list.GetCount(), 0u);
}

TEST(CSeznam, FirstElementIsHeadAndTailWhicheverEndItEnters) {
  int destroyed = 0;
  {
    List byTail;
    auto* a = new Item(1, &destroyed);
    EXPECT_TRUE(byTail.AddTail(a));
    EXPECT_EQ(byTail.GetHead(), a);
    EXPECT_EQ(byTail.Tail(), a);
    EXPECT_EQ(byTail.GetCount(), 1u);
    EXPECT_EQ(a->GetNext(), nullptr);

    List byHead;
    auto* b = new Item(2, &destroyed);
    EXPECT_TRUE(byHead.AddHead(b));
    EXPECT_EQ(byHead.GetHead(), b);
    EXPECT_EQ(byHead.Tail(), b);
    EXPECT_EQ(byHead.GetCount(), 1u);
  }
  EXPECT_EQ(destroyed, 2);
}

TEST(CSeznam, NullElementIsRefused) {
  int destroyed = 0;
  List list;
  list.AddTail(new Item(1, &destroyed));
  EXPECT_FALSE(list.AddTail(nullptr));
  EXPECT_FALSE(list.AddHead(nullptr));
  EXPECT_EQ(list.GetCount(), 1u);
  EXPECT_EQ(list.GetHead()->GetNext(), nullptr);
}

TEST(CSeznam, BothEndsKeepTheLinksConsistent) {
  int destroyed = 0;
  List list;
  list.AddTail(new Item(2, &destroyed));
  list.AddTail(new Item(3, &destroyed));
  list.AddHead(new Item(1, &destroyed));
  list.AddHead(new Item(0, &destroyed));
  EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(list.GetCount(), 4u);
  // Walking back along prev from the tail visits the same elements.
  std::vector<int> back;
  for (CSeznam* e = list.Tail(); e; e = AsItem(e)->Prev()) back.push_back(AsItem(e)->value);
  EXPECT_EQ(back, (std::vector<int>{3, 2, 1, 0}));
  EXPECT_EQ(AsItem(list.GetHead())->Prev(), nullptr);
  EXPECT_EQ(list.Tail()->GetNext(), nullptr);
}

TEST(CSeznam, ClearingDeletesTheWholeTreeAndTheListCanBeRefilled) {
  int destroyed = 0;
  List list;
  for (int i = 0; i < 3; ++i) {
    auto* parent = new Item(i, &destroyed);
    for (int k = 0; k < 2; ++k) {
      auto* child = new Item(10 * i + k, &destroyed);
      child->AddTail(new Item(100 + k, &destroyed));
      parent->AddTail(child);
    }
    list.AddTail(parent);
  }
  list.RemoveAll();
  EXPECT_EQ(destroyed, 3 + 6 + 6);
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_EQ(list.GetHead(), nullptr);
  EXPECT_EQ(list.Tail(), nullptr);

  EXPECT_TRUE(list.AddTail(new Item(7, &destroyed)));
  EXPECT_EQ(Values(list), (std::vector<int>{7}));
}

TEST(CSeznam, SortRelinksInComparatorOrder) {
  int destroyed = 0;
  List list;
  const int input[] = {5, 3, 9, 1, 3, 7, 0};
  for (int v : input) list.AddTail(new Item(v, &destroyed));
  list.Sort(Ascending);
  EXPECT_EQ(list.GetCount(), 7u);
  EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 3, 3, 5, 7, 9}));
  EXPECT_EQ(AsItem(list.GetHead())->Prev(), nullptr);
  EXPECT_EQ(list.Tail()->GetNext(), nullptr);
  EXPECT_EQ(AsItem(list.Tail())->value, 9);
  int steps = 0;
  for (CSeznam* e = list.Tail(); e; e = AsItem(e)->Prev()) ++steps;
  EXPECT_EQ(steps, 7);
  // Appending after a sort extends the relinked tail.
  list.AddTail(new Item(-1, &destroyed));
  EXPECT_EQ(Values(list).back(), -1);
  EXPECT_EQ(list.GetCount(), 8u);
}

// A comparator that answers at random: no order at all.
unsigned g_coin = 12345;
int Arbitrary(const void*, const void*) {
  g_coin = g_coin * 1103515245u + 12345u;
  return static_cast<int>((g_coin >> 16) % 3) - 1;
}

TEST(CSeznam, SortKeepsEveryElementWhateverTheComparatorAnswers) {
  for (int size : {2, 3, 17, 64, 1000}) {
    int destroyed = 0;
    {
      List list;
      for (int v = 0; v < size; ++v) list.AddTail(new Item(v, &destroyed));
      list.Sort(Arbitrary);
      std::vector<int> values = Values(list);
      EXPECT_EQ(list.GetCount(), static_cast<uint32_t>(size));
      std::sort(values.begin(), values.end());
      std::vector<int> expected(static_cast<size_t>(size));
      for (int v = 0; v < size; ++v) expected[static_cast<size_t>(v)] = v;
      EXPECT_EQ(values, expected) << size << " elements, each once";
      int backwards = 0;
      for (CSeznam* e = list.Tail(); e; e = AsItem(e)->Prev()) ++backwards;
      EXPECT_EQ(backwards, size);
    }
    EXPECT_EQ(destroyed, size);
  }
}

TEST(CSeznam, SortKeepsTheOrderOfEqualElements) {
  int destroyed = 0;
  List list;
  for (int v : {21, 10, 22, 11, 23}) list.AddTail(new Item(v, &destroyed));
  list.Sort(+[](const void* a, const void* b) {
    const int x = AsItem(*static_cast<CSeznam* const*>(a))->value / 10;
    const int y = AsItem(*static_cast<CSeznam* const*>(b))->value / 10;
    return (x > y) - (x < y);
  });
  EXPECT_EQ(Values(list), (std::vector<int>{10, 11, 21, 22, 23}));
}

TEST(CSeznam, SortOfOneElementLeavesItAlone) {
  int destroyed = 0;
  List list;
  auto* only = new Item(4, &destroyed);
  list.AddHead(only);
  list.Sort(Ascending);
  EXPECT_EQ(list.GetHead(), only);
  EXPECT_EQ(list.Tail(), only);
  EXPECT_EQ(only->Prev(), nullptr);
  EXPECT_EQ(only->GetNext(), nullptr);
}

// Both directions of the list hold the same elements in the same order.
std::vector<int> CheckedValues(const List& list) {
  std::vector<int> forward = Values(list);
  std::vector<int> backward;
  for (CSeznam* e = list.Tail(); e; e = AsItem(e)->Prev()) backward.insert(backward.begin(), AsItem(e)->value);
  EXPECT_EQ(forward, backward);
  EXPECT_EQ(forward.size(), list.GetCount());
  return forward;
}

TEST(CSeznam, MovesSwapNeighboursAndTheEndsFollow) {
  int destroyed = 0;
  List list;
  for (int v : {0, 1, 2, 3}) list.AddTail(new Item(v, &destroyed));
  list.MoveUp(list.GetAt(1));
  EXPECT_EQ(CheckedValues(list), (std::vector<int>{1, 0, 2, 3}));
  list.MoveDown(list.GetAt(2));
  EXPECT_EQ(CheckedValues(list), (std::vector<int>{1, 0, 3, 2}));
  list.MoveUp(list.GetAt(3));
  list.MoveDown(list.GetAt(0));
  EXPECT_EQ(CheckedValues(list), (std::vector<int>{0, 1, 2, 3}));
  // Nothing past the ends.
  list.MoveUp(list.GetHead());
  list.MoveDown(list.Tail());
  list.MoveUp(nullptr);
  list.MoveDown(nullptr);
  EXPECT_EQ(CheckedValues(list), (std::vector<int>{0, 1, 2, 3}));

  EXPECT_EQ(AsItem(list.GetAt(3))->value, 3);
  EXPECT_EQ(list.GetAt(4), nullptr);
  EXPECT_EQ(list.GetAt(-1), nullptr);
  EXPECT_EQ(List().GetAt(0), nullptr);

  List two;
  two.AddTail(new Item(5, &destroyed));
  two.AddTail(new Item(6, &destroyed));
  two.MoveDown(two.GetHead());
  EXPECT_EQ(CheckedValues(two), (std::vector<int>{6, 5}));
  EXPECT_EQ(destroyed, 0);
}

TEST(CSeznam, DeleteUnlinksAndDestroys) {
  int destroyed = 0;
  List list;
  for (int v : {0, 1, 2, 3, 4}) list.AddTail(new Item(v, &destroyed));
  EXPECT_TRUE(list.Delete(list.GetAt(2)));
  EXPECT_EQ(CheckedValues(list), (std::vector<int>{0, 1, 3, 4}));
  EXPECT_TRUE(list.Delete(list.GetHead()));
  EXPECT_EQ(CheckedValues(list), (std::vector<int>{1, 3, 4}));
  EXPECT_TRUE(list.Delete(list.Tail()));
  EXPECT_EQ(CheckedValues(list), (std::vector<int>{1, 3}));
  EXPECT_EQ(destroyed, 3);
  EXPECT_FALSE(list.Delete(nullptr));
  EXPECT_TRUE(list.Delete(list.GetHead()));
  EXPECT_TRUE(list.Delete(list.GetHead()));
  EXPECT_EQ(list.GetHead(), nullptr);
  EXPECT_EQ(list.Tail(), nullptr);
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_TRUE(list.AddTail(new Item(9, &destroyed)));
  EXPECT_EQ(CheckedValues(list), (std::vector<int>{9}));
}

}  // namespace
