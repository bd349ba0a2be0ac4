#include "common/GroupChainBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/tests/ChainFixtures.h"

namespace {

// The builder's own codes, by name.
constexpr int kEnd0 = GroupChainBuilder::kEndMode0;
constexpr int kEnd = GroupChainBuilder::kEnd;
constexpr int kCodeZero = GroupChainBuilder::kCodeZero;
constexpr int kLink = GroupChainBuilder::kLinkChain;
constexpr int kXData = GroupChainBuilder::kXDataMarker;
constexpr int kMinusOne = GroupChainBuilder::kMinusOneFirst + 1;

TEST(GroupChainBuilder, StringPairsInModeZero) {
  GroupChainBuilder builder(0);
  char a[] = "A";
  resbuf* chain = builder.Build(1000, a, 1000, "B", kEnd0);
  ASSERT_EQ(ChainLength(chain), 2);
  EXPECT_EQ(chain->code, 1000);
  EXPECT_STREQ(chain->value.text, "A");
  EXPECT_NE(chain->value.text, a);
  EXPECT_STREQ(chain->next->value.text, "B");
  FreeGroupCodeChain(chain);
}

TEST(GroupChainBuilder, UnsupportedCodeGivesNullAndLeavesNothing) {
  GroupChainBuilder builder(0);
  const unsigned char x[2] = {1, 2};
  EXPECT_EQ(builder.Build(1000, "A", 310, x, kEnd0), nullptr);
  EXPECT_EQ(builder.Build(1000, "A", 6000, 1, kEnd0), nullptr);
  // Mode 0's terminator is no terminator in the other mode.
  GroupChainBuilder other(1);
  EXPECT_EQ(other.Build(1000, "A", kEnd0), nullptr);
}

TEST(GroupChainBuilder, EveryValueKind) {
  const double point[3] = {1.0, 2.0, 3.0};
  const int64_t name[2] = {0x77, 0x88};
  GroupChainBuilder builder(0);
  resbuf* chain = builder.Build(-1, name, 0, "LINE", 8, GroupChainBuilder::kSkip, 10, point,
                                40, 2.5, 70, 3, 280, 4, 290, 1, 90, 100000, 160,
                                int64_t{1} << 40, kXData, nullptr, 1001, "APP", kMinusOne, nullptr, 1070, -2, kEnd0);
  ASSERT_EQ(ChainLength(chain), 13);
  const resbuf* n = chain;
  EXPECT_EQ(n->code, -1);
  EXPECT_EQ(n->value.name[1], 0x88);
  n = n->next;
  EXPECT_STREQ(n->value.text, "LINE");
  n = n->next;  // the skipped layer made no node
  EXPECT_EQ(n->code, 10);
  EXPECT_EQ(n->value.point[2], 3.0);
  n = n->next;
  EXPECT_EQ(n->value.real, 2.5);
  n = n->next;
  EXPECT_EQ(n->value.i16, 3);
  n = n->next;
  EXPECT_EQ(n->code, 280);
  EXPECT_EQ(n->value.i16, 4);
  n = n->next;
  EXPECT_EQ(n->code, 290);
  EXPECT_EQ(n->value.i16, 1);
  n = n->next;
  EXPECT_EQ(n->value.i32, 100000);
  n = n->next;
  EXPECT_EQ(n->value.i64, int64_t{1} << 40);
  n = n->next;
  EXPECT_EQ(n->code, kXData);
  EXPECT_EQ(n->value.i64, 0);
  n = n->next;
  EXPECT_STREQ(n->value.text, "APP");
  n = n->next;
  EXPECT_EQ(n->code, kMinusOne);
  EXPECT_EQ(n->value.i16, -1);
  EXPECT_EQ(n->value.i64, -1);
  n = n->next;
  EXPECT_EQ(n->code, 1070);
  EXPECT_EQ(n->value.i16, -2);
  EXPECT_EQ(n->next, nullptr);
  FreeGroupCodeChain(chain);
}

TEST(GroupChainBuilder, OtherModeEndsAtZeroOrItsEndAndHasACodeForZero) {
  GroupChainBuilder builder(1);
  resbuf* chain = builder.Build(kCodeZero, "LINE", 8, "0", 0, 8, "never");
  ASSERT_EQ(ChainLength(chain), 2);
  EXPECT_EQ(chain->code, 0);
  EXPECT_STREQ(chain->value.text, "LINE");
  FreeGroupCodeChain(chain);

  chain = builder.Build(8, "0", kEnd);
  ASSERT_EQ(ChainLength(chain), 1);
  FreeGroupCodeChain(chain);

  GroupChainBuilder zero(0);
  chain = zero.Build(0, "LINE", kEnd0);  // code 0 is a text in mode 0
  ASSERT_EQ(ChainLength(chain), 1);
  FreeGroupCodeChain(chain);
}

TEST(GroupChainBuilder, ReadyChainIsLinkedInAndFollowed) {
  GroupChainBuilder builder(0);
  resbuf* xdata = builder.Build(1001, "APP", 1000, "K", kEnd0);
  ASSERT_NE(xdata, nullptr);
  resbuf* chain = builder.Build(0, "LINE", kLink, xdata, 8, "0", kEnd0);
  ASSERT_EQ(ChainLength(chain), 4);
  EXPECT_EQ(chain->next, xdata);
  EXPECT_STREQ(chain->next->next->next->value.text, "0");
  FreeGroupCodeChain(chain);
}

TEST(GroupChainBuilder, FailureFreesWhatWasBuiltAndLinked) {
  // The sanitizer's leak check and double-free detection are the
  // assertions here: the linked chain goes with the failed build, once.
  GroupChainBuilder builder(0);
  const unsigned char x[1] = {0};
  for (int failing : {1004, 310, 6000}) {
    resbuf* xdata = builder.Build(1001, "APP", 1000, "K", kEnd0);
    ASSERT_NE(xdata, nullptr);
    EXPECT_EQ(builder.Build(0, "LINE", kXData, nullptr, kLink, xdata, 8, "0", failing, x, kEnd0), nullptr);
  }
}

}  // namespace
