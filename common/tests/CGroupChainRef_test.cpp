#include "common/CGroupChainRef.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"
#include "dataformat/tests/ChainFixtures.h"

namespace {

// Codes and texts (x of a point) of a chain's nodes.
std::vector<std::string> DescribeChain(const resbuf* chain) {
  std::vector<std::string> items;
  for (; chain; chain = chain->next)
    items.push_back(std::to_string(chain->code) + ":" +
                    (IsStringNode(chain) ? chain->value.text : std::to_string(chain->value.point[0])));
  return items;
}

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
  FreeHeldChainText(mine->next->value.text);
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

// A writer replaces texts and hangs in and cuts out nodes of a compact
// chain as of any other; what it takes out of the block stays there, what
// it brought from the heap is freed with the chain (the sanitizers check
// both), and a copy taken afterwards is compact again.
TEST(CGroupChainRef, WritersChangeCompactAndHeapChainsAlike) {
  TestChain small;
  small.Text(0, "LINE").Text(8, "Old").Text(1000, "cut").Text(1000, "out");
  // More than an arena block holds: the holder keeps a heap chain.
  TestChain large;
  large.Text(0, "LINE").Text(8, "Old").Text(1000, "cut").Text(1000, "out");
  for (int i = 0; i < 8000; ++i) large.Text(1000, "a text long enough to fill the block");
  for (TestChain* c : {&small, &large}) {
    CGroupChainRef ref;
    ASSERT_TRUE(ref.Assign(c->Head()));
    EXPECT_EQ(ref.IsCompact(), c == &small);
    resbuf* chain = ref.GetChainForWrite();
    ASSERT_EQ(chain, ref.GetChain()) << "the sole holder writes in place";

    FreeHeldChainText(chain->next->value.text);
    chain->next->value.text = DupString("New");
    resbuf* cut = chain->next->next;  // "cut", "out"
    chain->next->next = cut->next->next;
    cut->next->next = nullptr;
    FreeHeldChainNodes(cut);
    resbuf* added = nullptr;
    ASSERT_TRUE(CreateGroupCodeNode(&added, 1000, "added"));
    added->next = chain->next->next;
    chain->next->next = added;
    // A heap node's text replaced again, and a heap node cut out again.
    FreeHeldChainText(added->value.text);
    added->value.text = DupString("added twice");
    resbuf* second = nullptr;
    ASSERT_TRUE(CreateGroupCodeNode(&second, 1000, "second"));
    second->next = added->next;
    added->next = second;

    CGroupChainRef copy(ref);
    resbuf* mine = copy.GetChainForWrite();
    ASSERT_NE(mine, chain);
    EXPECT_EQ(copy.IsCompact(), c == &small) << "a copy is compact when the arena takes it";
    ASSERT_EQ(ChainLength(mine), c == &small ? 4 : 4 + 8000);
    EXPECT_STREQ(mine->next->value.text, "New");
    EXPECT_STREQ(mine->next->next->value.text, "added twice");
    EXPECT_STREQ(mine->next->next->next->value.text, "second");
    ref.Release();
    EXPECT_STREQ(copy.GetChain()->next->value.text, "New");
  }
  CGroupChainRef::ReleaseUnusedMemory();
}

// A writer that takes its texts and nodes from the holder changes both
// kinds of chain alike; what it hung into a compact chain goes with the
// block, what it hung into a heap chain is freed with it (the sanitizers
// check both).
TEST(CGroupChainRef, CompactWritersTakeTheirPartsFromTheHolder) {
  TestChain small;
  small.Text(0, "LINE").Text(8, "Old");
  TestChain large;
  large.Text(0, "LINE").Text(8, "Old");
  for (int i = 0; i < 8000; ++i) large.Text(1000, "a text long enough to fill the block");
  for (TestChain* c : {&small, &large}) {
    CGroupChainRef ref;
    ASSERT_TRUE(ref.Assign(c->Head()));
    resbuf* chain = ref.GetChainForCompactWrite();
    ASSERT_EQ(chain, ref.GetChain());
    char* text = ref.NewText("New");
    ASSERT_NE(text, nullptr);
    FreeHeldChainText(chain->next->value.text);
    chain->next->value.text = text;
    // A text in its node and one too long for it.
    for (const char* value : {"a text longer than a node", "added"}) {
      resbuf* added = ref.NewTextNode(1000, value);
      ASSERT_NE(added, nullptr);
      added->next = chain->next->next;
      chain->next->next = added;
    }
    EXPECT_EQ(ref.NewTextNode(10, "no text code"), nullptr);
    EXPECT_EQ(ref.NewText(nullptr), nullptr);

    CGroupChainRef copy(ref);
    const resbuf* mine = copy.GetChainForWrite();
    ASSERT_EQ(ChainLength(mine), c == &small ? 4 : 4 + 8000);
    EXPECT_STREQ(mine->next->value.text, "New");
    EXPECT_STREQ(mine->next->next->value.text, "added");
    EXPECT_STREQ(mine->next->next->next->value.text, "a text longer than a node");
  }
  CGroupChainRef::ReleaseUnusedMemory();
}

// A chain kept in a block of its own is copied whole from any of its
// nodes, as is a compact one nothing was hung into; one a writer hung
// parts into is copied node by node. Writing a block of its own takes an
// arena copy first.
TEST(CGroupChainRef, CopiesOfAHolderRunFromAnyOfItsNodes) {
  TestChain c;
  c.Text(0, "LINE").Text(8, "0").Point(10, 1, 2, 3).Text(1000, "last");
  CGroupChainRef own;
  ASSERT_TRUE(own.AssignOwnBlock(c.Head()));
  EXPECT_FALSE(own.IsCompact()) << "not in the arena";
  const std::vector<std::string> tail = DescribeChain(c.Head()->next);

  CGroupChainRef fromOwn;
  ASSERT_TRUE(fromOwn.Assign(own.GetChain()->next, own));
  EXPECT_TRUE(fromOwn.IsCompact());
  EXPECT_EQ(DescribeChain(fromOwn.GetChain()), tail);
  CGroupChainRef fromCompact;
  ASSERT_TRUE(fromCompact.Assign(fromOwn.GetChain(), fromOwn));
  EXPECT_EQ(DescribeChain(fromCompact.GetChain()), tail);
  {
    // The short texts lie in their nodes and move with the block.
    CGroupChainRef source;
    ASSERT_TRUE(source.Assign(c.Head()));
    CGroupChainRef copy;
    ASSERT_TRUE(copy.Assign(source.GetChain(), source));
    source.Release();
    EXPECT_EQ(DescribeChain(copy.GetChain()), DescribeChain(c.Head()));
  }

  resbuf* written = fromOwn.GetChainForCompactWrite();
  written->value.text = fromOwn.NewText("9");
  CGroupChainRef fromWritten;
  ASSERT_TRUE(fromWritten.Assign(written->next, fromOwn));
  EXPECT_EQ(DescribeChain(fromWritten.GetChain()), DescribeChain(c.Head()->next->next));
  EXPECT_TRUE(fromWritten.Assign(c.Head(), fromOwn)) << "a node of another chain: copied node by node";
  EXPECT_EQ(DescribeChain(fromWritten.GetChain()), DescribeChain(c.Head()));

  const resbuf* kept = own.GetChain();
  resbuf* mine = own.GetChainForWrite();
  EXPECT_NE(mine, kept);
  EXPECT_TRUE(own.IsCompact());
  EXPECT_EQ(DescribeChain(mine), DescribeChain(c.Head()));
  EXPECT_TRUE(CGroupChainRef().AssignOwnBlock(nullptr)) << "null empties the holder";
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
