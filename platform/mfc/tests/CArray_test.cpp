#include "platform/mfc/CArray.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/mfc/CPtrArray.h"
#include "platform/mfc/CStringArray.h"

namespace {

CStringArray& Fill(CStringArray& a, std::initializer_list<const char*> texts) {
  a.RemoveAll();
  for (const char* t : texts) a.Add(t);
  return a;
}

std::string Join(const CStringArray& a) {
  std::string out;
  for (INT_PTR i = 0; i < a.GetSize(); ++i) out += std::string(a[i]) + "|";
  return out;
}

TEST(CStringArray, SizedArrayKeepsValuesWhenResized) {
  CStringArray values;
  values.SetSize(15);
  EXPECT_EQ(values.GetSize(), 15);
  EXPECT_EQ(values.GetUpperBound(), 14);
  for (INT_PTR i = 0; i < 15; ++i) EXPECT_TRUE(values[i].IsEmpty());
  values.SetAt(3, "4.25");
  values[14] = "last";
  values.SetSize(15);  // resizing to the same size keeps every value
  EXPECT_EQ(values.GetAt(3), "4.25");
  EXPECT_EQ(values.ElementAt(14), "last");
  values.SetSize(4);
  EXPECT_EQ(values.GetCount(), 4);
  values.SetSize(6, 10);
  EXPECT_EQ(values[3], "4.25");
  EXPECT_TRUE(values[5].IsEmpty());
  EXPECT_THROW(values.SetSize(-1), std::out_of_range);
  EXPECT_EQ(values.GetSize(), 6);
}

TEST(CStringArray, IndexesOutsideTheArrayThrow) {
  CStringArray a;
  Fill(a, {"a", "b"});
  EXPECT_THROW(a.GetAt(-1), std::out_of_range);
  EXPECT_THROW(a.GetAt(2), std::out_of_range);
  EXPECT_THROW(a.SetAt(2, "c"), std::out_of_range);  // SetAt does not grow
  EXPECT_THROW(a.RemoveAt(1, 2), std::out_of_range);
  EXPECT_THROW(a.RemoveAt(-1), std::out_of_range);
  EXPECT_THROW(a.InsertAt(-1, "x"), std::out_of_range);
  EXPECT_EQ(Join(a), "a|b|");
  const CStringArray& constant = a;
  EXPECT_THROW(constant[5], std::out_of_range);
}

TEST(CStringArray, InsertRemoveAndGrow) {
  CStringArray a;
  Fill(a, {"a", "b", "c"});
  a.InsertAt(1, "x", 2);
  EXPECT_EQ(Join(a), "a|x|x|b|c|");
  a.RemoveAt(1, 2);
  EXPECT_EQ(Join(a), "a|b|c|");
  a.InsertAt(5, "z");  // beyond the end: empty elements fill the gap
  EXPECT_EQ(Join(a), "a|b|c|||z|");
  a.SetAtGrow(7, "g");
  EXPECT_EQ(a.GetSize(), 8);
  EXPECT_EQ(a[7], "g");
  a.RemoveAt(3, 5);
  EXPECT_EQ(Join(a), "a|b|c|");

  CStringArray other;
  Fill(other, {"1", "2"});
  a.InsertAt(1, &other);
  EXPECT_EQ(Join(a), "a|1|2|b|c|");
  a.RemoveAll();
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(a.GetUpperBound(), -1);
}

TEST(CStringArray, ElementsOfItselfAreCopiedBeforeGrowing) {
  CStringArray a;
  Fill(a, {"first", "second"});
  for (int i = 0; i < 20; ++i) a.Add(a[0]);  // reallocates while adding
  EXPECT_EQ(a.GetSize(), 22);
  EXPECT_EQ(a[21], "first");
  a.SetAtGrow(100, a[1]);
  EXPECT_EQ(a[100], "second");
  a.InsertAt(0, a[100], 3);
  EXPECT_EQ(a[2], "second");
  EXPECT_EQ(a[3], "first");

  CStringArray b;
  Fill(b, {"p", "q"});
  EXPECT_EQ(b.Append(b), 2);  // the index of the first appended element
  EXPECT_EQ(Join(b), "p|q|p|q|");
  b.InsertAt(1, &b);
  EXPECT_EQ(Join(b), "p|p|q|p|q|q|p|q|");
  b.Copy(b);
  EXPECT_EQ(b.GetSize(), 8);
}

TEST(CStringArray, CopyReplacesAppendAdds) {
  CStringArray a, b;
  Fill(a, {"a"});
  Fill(b, {"x", "y"});
  EXPECT_EQ(a.Append(b), 1);
  EXPECT_EQ(Join(a), "a|x|y|");
  a.Copy(b);
  EXPECT_EQ(Join(a), "x|y|");
  b[0] = "changed";
  EXPECT_EQ(a[0], "x");  // a copy, not a share
}

TEST(CPtrArray, HoldsPointersItDoesNotOwn) {
  int x = 1, y = 2;
  CPtrArray a;
  EXPECT_EQ(a.Add(&x), 0);
  EXPECT_EQ(a.Add(&y), 1);
  a.SetSize(4);
  EXPECT_EQ(a[2], nullptr);  // new elements are null
  EXPECT_EQ(*static_cast<int*>(a.GetAt(1)), 2);
  a.RemoveAt(0);
  EXPECT_EQ(a[0], &y);
  EXPECT_EQ(a.GetData()[0], &y);
  EXPECT_EQ(x, 1);
  a.RemoveAll();
  EXPECT_EQ(a.GetData(), nullptr);
}

struct MaskEntry {
  CString name;
  CString definition;
  int key = 0;
};

TEST(CArray, ArrayOfRecords) {
  CArray<MaskEntry, MaskEntry&> masks;
  MaskEntry e{"Popis", "%NAME%", 3};
  masks.Add(e);
  masks.SetSize(3);
  EXPECT_EQ(masks[0].name, "Popis");
  EXPECT_EQ(masks[2].key, 0);
  EXPECT_TRUE(masks[2].name.IsEmpty());
  masks.ElementAt(1).definition = "x";
  masks.RemoveAt(0);
  EXPECT_EQ(masks[0].definition, "x");
}

TEST(CObject, RunTimeClassesFollowTheBases) {
  CStringArray strings;
  CPtrArray pointers;
  EXPECT_TRUE(strings.IsKindOf(RUNTIME_CLASS(CStringArray)));
  EXPECT_TRUE(strings.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(strings.IsKindOf(RUNTIME_CLASS(CPtrArray)));
  EXPECT_FALSE(strings.IsKindOf(nullptr));
  EXPECT_STREQ(pointers.GetRuntimeClass()->m_lpszClassName, "CPtrArray");
  EXPECT_EQ(RUNTIME_CLASS(CPtrArray)->CreateObject(), nullptr);  // not creatable by name
}

}  // namespace
