#include "common/CGroupChainRef.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"
#include "dataformat/tests/ChainFixtures.h"

namespace {

TEST(CGroupChainRef, AssignHoldsAPrivateCopy) {
  TestChain c;
  c.Text(0, "LINE").Text(8, "0");
  CGroupChainRef ref;
  EXPECT_EQ(ref.GetChain(), nullptr);
  ASSERT_TRUE(ref.Assign(c.Head()));
  ASSERT_NE(ref.GetChain(), nullptr);
  EXPECT_NE(ref.GetChain(), c.Head());
  EXPECT_STREQ(ref.GetChain()->value.text, "LINE");
  EXPECT_EQ(ref.GetRefCount(), 1);
  EXPECT_TRUE(ref.Assign(nullptr));
  EXPECT_EQ(ref.GetChain(), nullptr);
}

TEST(CGroupChainRef, WriterGetsAPrivateCopyAndTheOtherKeepsItsChain) {
  TestChain c;
  c.Text(0, "LINE").Text(8, "Old");
  CGroupChainRef first;
  ASSERT_TRUE(first.Assign(c.Head()));
  CGroupChainRef second(first);
  EXPECT_EQ(first.GetChain(), second.GetChain());
  EXPECT_EQ(first.GetRefCount(), 2);

  const resbuf* shared = first.GetChain();
  resbuf* mine = second.GetChainForWrite();
  ASSERT_NE(mine, nullptr);
  EXPECT_NE(mine, shared);
  std::free(mine->next->value.text);
  mine->next->value.text = DupString("New");

  EXPECT_EQ(first.GetChain(), shared);
  EXPECT_STREQ(first.GetChain()->next->value.text, "Old");
  EXPECT_STREQ(second.GetChain()->next->value.text, "New");
  EXPECT_EQ(first.GetRefCount(), 1);
  EXPECT_EQ(second.GetRefCount(), 1);
}

TEST(CGroupChainRef, SoleOwnerWritesInPlace) {
  TestChain c;
  c.Text(0, "LINE");
  CGroupChainRef ref;
  ref.Assign(c.Head());
  const resbuf* before = ref.GetChain();
  EXPECT_EQ(ref.GetChainForWrite(), before);
}

TEST(CGroupChainRef, AssigningItsOwnChainIsSafe) {
  TestChain c;
  c.Text(0, "LINE").Point(10, 1, 2, 3);
  CGroupChainRef ref;
  ref.Assign(c.Head());
  ASSERT_TRUE(ref.Assign(ref.GetChain()));
  ASSERT_EQ(ChainLength(ref.GetChain()), 2);
  EXPECT_STREQ(ref.GetChain()->value.text, "LINE");
}

TEST(CGroupChainRef, CopiesAndMovesCountReferences) {
  TestChain c;
  c.Text(0, "LINE");
  CGroupChainRef a;
  a.Assign(c.Head());
  {
    CGroupChainRef b;
    b = a;
    EXPECT_EQ(a.GetRefCount(), 2);
    CGroupChainRef& alias = b;
    b = alias;  // self-assignment keeps the count
    EXPECT_EQ(a.GetRefCount(), 2);
    CGroupChainRef moved(std::move(b));
    EXPECT_EQ(b.GetChain(), nullptr);
    EXPECT_EQ(a.GetRefCount(), 2);
  }
  EXPECT_EQ(a.GetRefCount(), 1);
  a.Release();
  EXPECT_EQ(a.GetChain(), nullptr);
  EXPECT_EQ(a.GetRefCount(), 0);
}

}  // namespace
