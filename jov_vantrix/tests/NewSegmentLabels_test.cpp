// New segment labels laid out in a frame when written, and rewritten labels'
// chains held in one block: each is, node for node and byte for byte, the
// TEXT a label record was built with.
#include "jov_vantrix/network/NewSegmentLabels.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/GroupChainBuilder.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/network/EntityChains.h"

namespace {

void ExpectSameChain(const resbuf* a, const resbuf* b) {
  for (; a && b; a = a->next, b = b->next) {
    ASSERT_EQ(a->code, b->code);
    if (GroupCodeKind(GetGroupCodeClass(a->code)) == GC_KIND_TEXT)
      EXPECT_STREQ(a->value.text, b->value.text) << a->code;
    else
      EXPECT_EQ(std::memcmp(&a->value, &b->value, sizeof a->value), 0) << a->code;
  }
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(b, nullptr);
}

TEST(NewSegmentLabels, EachChainIsTheTextALabelRecordHad) {
  struct Row {
    const char* layer;
    double height, widthFactor, rotation;
    GLVector point;
    const char* number;
    const char* piece;
  };
  const Row rows[] = {
      {"N", 0.5, 0.8, 0.0, {0.5, 1, 0}, "e1", ""},
      {"N", 0.5, 0.8, 0.0, {2, 2.25, 0}, "e2", "1A"},  // the same run
      {nullptr, 2.5, 1.0, 0.3, {-7.4e8, -1.04e9, 3}, "-2147483647", nullptr},
      {"\xC8\xEDsla \xFAsek\xF9", 2.5, 1.0, 0.3, {1, 2, 3}, "12", "ABCDEF0123456789"},
      {"N", 0.5, 0.8, 0.0, {4, 5, 6}, "999999999", "FFFF"},  // a run again
  };
  NewSegmentLabels labels;
  for (const Row& r : rows)
    ASSERT_TRUE(labels.Add(r.layer, r.height, r.widthFactor, r.rotation, r.point, r.number, r.piece));
  EXPECT_FALSE(labels.Add("N", 1, 1, 0, {}, "1234567890123456", "")) << "a number longer than a frame holds";
  ASSERT_EQ(labels.Count(), std::size(rows));

  NewSegmentLabels::Frame frame;
  for (size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    const Row& r = rows[i];
    resbuf* tag = GroupChainBuilder(0).Build(-3, nullptr, 1001, "QM_KEY", 1000, "T-cisla_useku", 1000,
                                             r.piece ? r.piece : "", -9);
    resbuf* built = TextEntityChain(r.layer, r.number, r.point, r.height, &r.rotation, r.widthFactor, 0, 0, tag);
    ExpectSameChain(labels.Chain(i, frame), built);
    ExpectSameChain(labels.HoldChain(r.layer, r.height, r.widthFactor, r.rotation, r.point, r.number, r.piece), built);
    FreeGroupCodeChain(built);
  }
  labels.Clear();
  EXPECT_TRUE(labels.Empty());
}

}  // namespace
