#include "common/qmArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
template <typename T>
std::vector<T> Contents(const qmArray<T>& a) {
  return std::vector<T>(a.GetData(), a.GetData() + a.GetCount());
}
}  // namespace

TEST(qmArray, SmallIntArrayDoublesAsValuesAreAdded) {
  qmArray<int> a(0, 8);
  EXPECT_EQ(a.GetData(), nullptr);
  std::vector<int> capacities;
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(a.Add(i * 10), i);
    if (capacities.empty() || capacities.back() != a.GetCapacity())
      capacities.push_back(a.GetCapacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{8, 16, 32, 64}));
  for (int i = 0; i < 64; ++i) EXPECT_EQ(a.ElementAt(i), i * 10);
}

TEST(qmArray, LargeArraysGrowBy64KiBOfElements) {
  qmArray<double> d(10000, 8);
  d.SetSize(10000);
  ASSERT_EQ(d.GetCapacity(), 10000);
  d.ElementAt(9999) = 2.5;
  d.Add(1.0);
  EXPECT_EQ(d.GetCapacity(), 10000 + 8192);
  EXPECT_EQ(d.ElementAt(9999), 2.5);
  EXPECT_EQ(d.ElementAt(10000), 1.0);

  qmArray<int> i(20000, 8);
  i.SetSize(20000);
  i.Add(1);
  EXPECT_EQ(i.GetCapacity(), 20000 + 16384);

  qmArray<double> bigStep(9000, 10000);  // a grow step above the cap wins
  bigStep.SetSize(9000);
  bigStep.Add(1.0);
  EXPECT_EQ(bigStep.GetCapacity(), 19000);
}

TEST(qmArray, SetSizeGrowsByTheRuleOrToTheRequest) {
  qmArray<int> a(8, 8);
  a.SetSize(9);  // 8 + max(8, 8)
  EXPECT_EQ(a.GetCount(), 9);
  EXPECT_EQ(a.GetCapacity(), 16);
  a.SetSize(100);  // 16 + 16 is short of 100
  EXPECT_EQ(a.GetCapacity(), 100);
  a.SetSize(3);
  EXPECT_EQ(a.GetCount(), 3);
  EXPECT_EQ(a.GetCapacity(), 100);
  a.SetSize(-5);
  EXPECT_EQ(a.GetCount(), 0);
  EXPECT_EQ(a.GetCapacity(), 100);
}

TEST(qmArray, InsertAndRemoveShiftTheRest) {
  qmArray<int> a(0, 8);
  for (int v : {1, 2, 3}) a.Add(v);
  a.InsertAt(0, 0);
  a.InsertAt(2, 9);
  EXPECT_EQ(Contents(a), (std::vector<int>{0, 1, 9, 2, 3}));
  a.RemoveAt(2);
  EXPECT_EQ(Contents(a), (std::vector<int>{0, 1, 2, 3}));
  a.RemoveAt(0);
  EXPECT_EQ(Contents(a), (std::vector<int>{1, 2, 3}));
}

TEST(qmArray, RemovingTheLastElementOnlyShortens) {
  qmArray<int> a(0, 8);
  for (int v : {4, 5, 6}) a.Add(v);
  a.RemoveAt(2);
  EXPECT_EQ(a.GetCount(), 2);
  EXPECT_EQ(a.GetCapacity(), 8);
  EXPECT_EQ(Contents(a), (std::vector<int>{4, 5}));
  a.RemoveAt(1);
  a.RemoveAt(0);
  a.RemoveAt(0);  // empty: nothing happens
  EXPECT_EQ(a.GetCount(), 0);
}

TEST(qmArray, AddingAnOwnElementWhileGrowing) {
  qmArray<double> a(2, 1);
  a.Add(7.5);
  a.Add(8.5);
  a.Add(a.ElementAt(0));  // the reference dies with the old block
  EXPECT_EQ(Contents(a), (std::vector<double>{7.5, 8.5, 7.5}));
}

TEST(qmArray, SetCapacityReallocatesExactly) {
  qmArray<int> a(0, 8);
  for (int v : {1, 2, 3, 4, 5}) a.Add(v);
  a.SetCapacity(3);
  EXPECT_EQ(a.GetCapacity(), 3);
  EXPECT_EQ(Contents(a), (std::vector<int>{1, 2, 3}));
  a.SetCapacity(50);
  EXPECT_EQ(a.GetCapacity(), 50);
  EXPECT_EQ(Contents(a), (std::vector<int>{1, 2, 3}));
  a.SetCapacity(0);
  EXPECT_EQ(a.GetData(), nullptr);
  EXPECT_EQ(a.GetCount(), 0);
  a.Add(9);  // usable again
  EXPECT_EQ(Contents(a), (std::vector<int>{9}));
}

TEST(qmArray, AppendGrowsToExactlyTheTotal) {
  qmArray<double> a(0, 8), b(0, 8), empty(0, 8);
  a.Add(1.0);
  for (double v : {2.0, 3.0, 4.0}) b.Add(v);
  a.Append(b);
  EXPECT_EQ(a.GetCapacity(), 8);  // room enough: no reallocation
  a.SetCapacity(4);
  a.Append(b);
  EXPECT_EQ(a.GetCapacity(), 7);
  EXPECT_EQ(Contents(a), (std::vector<double>{1, 2, 3, 4, 2, 3, 4}));
  a.Append(empty);
  EXPECT_EQ(a.GetCount(), 7);
  a.Append(a);
  EXPECT_EQ(a.GetCapacity(), 14);
  EXPECT_EQ(Contents(a), (std::vector<double>{1, 2, 3, 4, 2, 3, 4, 1, 2, 3, 4, 2, 3, 4}));
}

TEST(qmArray, HoldsPointers) {
  const char* texts[] = {"a", "b", "c"};
  qmArray<const char*> a(0, 8);
  for (const char* t : texts) a.Add(t);
  a.RemoveAt(0);
  EXPECT_EQ(a.ElementAt(0), texts[1]);
  EXPECT_EQ(a.ElementAt(1), texts[2]);
}
