#include "platform/mfc/CStringList.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

std::string Forward(const CStringList& list) {
  std::string out;
  for (POSITION pos = list.GetHeadPosition(); pos;) out += std::string(list.GetNext(pos)) + "|";
  return out;
}

std::string Backward(const CStringList& list) {
  std::string out;
  for (POSITION pos = list.GetTailPosition(); pos;) out += std::string(list.GetPrev(pos)) + "|";
  return out;
}

TEST(CStringList, AddHeadGivesReverseOrderOfFirstAppearance) {
  // Branch names are added at the head when first seen.
  CStringList branches(10);
  for (const char* name : {"A", "B", "A", "C", "B"})
    if (!branches.Find(name)) branches.AddHead(name);
  EXPECT_EQ(Forward(branches), "C|B|A|");
  EXPECT_EQ(Backward(branches), "A|B|C|");
  EXPECT_EQ(branches.GetCount(), 3);
  EXPECT_EQ(branches.GetHead(), "C");
  EXPECT_EQ(branches.GetTail(), "A");
}

TEST(CStringList, FindIsExactAndCanStartAfterAPosition) {
  CStringList list;
  list.AddTail("v1");
  const POSITION second = list.AddTail("V1");
  const POSITION third = list.AddTail("v1");
  EXPECT_EQ(list.Find("V1"), second);
  EXPECT_EQ(list.Find("v1", list.GetHeadPosition()), third);
  EXPECT_EQ(list.Find("v1", third), nullptr);
  EXPECT_EQ(list.Find("x"), nullptr);
  EXPECT_EQ(list.FindIndex(1), second);
  EXPECT_EQ(list.FindIndex(3), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);
}

TEST(CStringList, InsertAndRemoveKeepBothDirectionsLinked) {
  CStringList list;
  const POSITION b = list.AddTail("b");
  list.InsertBefore(b, "a");
  const POSITION c = list.InsertAfter(b, "c");
  list.InsertAfter(c, "d");
  list.InsertBefore(nullptr, "^");
  list.InsertAfter(nullptr, "$");
  EXPECT_EQ(Forward(list), "^|a|b|c|d|$|");
  list.RemoveAt(b);
  list.SetAt(c, "C");
  EXPECT_EQ(Forward(list), "^|a|C|d|$|");
  EXPECT_EQ(Backward(list), "$|d|C|a|^|");
  EXPECT_EQ(list.RemoveHead(), "^");
  EXPECT_EQ(list.RemoveTail(), "$");
  EXPECT_EQ(Backward(list), "d|C|a|");
  EXPECT_EQ(list.GetCount(), 3);
}

TEST(CStringList, ListsAddedToThemselvesKeepTheirOrder) {
  CStringList list;
  list.AddTail("1");
  list.AddTail("2");
  list.AddTail(&list);
  EXPECT_EQ(Forward(list), "1|2|1|2|");
  list.RemoveAll();
  list.AddTail("x");
  list.AddTail("y");
  list.AddHead(&list);
  EXPECT_EQ(Forward(list), "x|y|x|y|");
  EXPECT_EQ(Backward(list), "y|x|y|x|");
}

TEST(CStringList, EmptyListRefusesHeadTailAndNullPositions) {
  CStringList list;
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
  EXPECT_THROW(list.GetHead(), std::out_of_range);
  EXPECT_THROW(list.RemoveTail(), std::out_of_range);
  POSITION none = nullptr;
  EXPECT_THROW(list.GetNext(none), std::out_of_range);
  EXPECT_THROW(list.RemoveAt(nullptr), std::out_of_range);
  list.AddTail("only");
  EXPECT_EQ(list.RemoveHead(), "only");
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetTailPosition(), nullptr);
}

}  // namespace
