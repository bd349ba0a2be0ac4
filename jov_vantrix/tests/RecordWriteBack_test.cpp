// The write-back through a recording host: which records are written, with
// what chain, behind which entity name and shifted how; the include flag.
#include "jov_vantrix/network/RecordWriteBack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/GroupChainBuilder.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/tests/NetworkChains.h"
#include "jov_vantrix/tests/RecordingHost.h"

namespace {

using Items = std::vector<std::string>;

const double kOrigin[3] = {0, 0, 0};
const double kOne[3] = {1, 0, 0};

// A record read from the drawing as entity id (its chain a LINE on layer
// id), or a built LINE from (0,0,0) to (1,0,0) with a point in its
// extended data.
CObjDataNew* Read(CObjSezNew& list, int64_t id) {
  const std::string layer = std::to_string(id);
  const int64_t name[2] = {id, id};
  OwnedChain chain(GroupChainBuilder(0).Build(-1, name, 0, "LINE", 8, layer.c_str(), -9));
  CObjDataNew* r = NewReadRecord(chain.get(), list.GetCount());
  list.AddTail(r);
  return r;
}

CObjDataNew* Built(CObjSezNew& list) {
  auto* r = new CObjDataNew(kEntityLine, kObjectOther, nullptr, UINT32_MAX);
  r->SetBuiltChain(GroupChainBuilder(0).Build(0, "LINE", 10, kOrigin, 11, kOne, -3, nullptr, 1001, "APP",
                                              1010, kOne, -9));
  list.AddTail(r);
  return r;
}

}  // namespace

TEST(RecordWriteBack, ReadRecordsGoBackBehindTheirNameNewOnesShifted) {
  struct Case {
    const char* what;
    bool onlyRead;
    GLVector displacement;
    const char* marker;
    std::vector<Items> written;
  };
  const Items first{"-1:?", "0:LINE", "8:1"};
  const Items rebuilt{"-1:?", "0:TEXT"};
  const Items atOrigin{"0:LINE", "10:0,0,0", "11:1,0,0", "-3:?", "1001:APP", "1010:1,0,0"};
  const Items shifted{"0:LINE", "10:1,2,0", "11:2,2,0", "-3:?", "1001:APP", "1010:1,0,0"};
  const Case cases[] = {
      {"only the read ones", true, {1, 2, 0}, "", {first, rebuilt}},
      {"new ones shifted", false, {1, 2, 0}, "", {first, rebuilt, shifted, shifted, shifted}},
      {"the marker keeps them", false, {1, 2, 0}, "0", {first, rebuilt, atOrigin, atOrigin, atOrigin}},
      {"no displacement", false, {0, 0, 0}, "", {first, rebuilt, atOrigin, atOrigin, atOrigin}},
  };
  for (const Case& c : cases) {
    RecordingHost host;
    CObjSezNew list;
    Read(list, 1);
    Read(list, 2)->SetBuiltChain(GroupChainBuilder(0).Build(0, "TEXT", -9));
    for (int i = 0; i < 3; ++i) Built(list);
    list.m_readCount = 2;
    list.m_displacement = c.displacement;
    list.m_shiftMarker = c.marker;
    EXPECT_EQ(WriteRecordsToDrawing(list, c.onlyRead), 1);
    EXPECT_EQ(host.written, c.written) << c.what;
  }

  // Every record a reader made, then the list; nothing shifted.
  RecordingHost host;
  CObjSezNew list;
  list.m_displacement = GLVector(1, 2, 0);
  CObjDataNew* kept = Read(list, 3);
  list.m_allRecords.Add(kept);
  Built(list);
  EXPECT_EQ(WriteAllRecords(list), 1);
  EXPECT_EQ(host.written, (std::vector<Items>{{"-1:?", "0:LINE", "8:3"}, {"-1:?", "0:LINE", "8:3"}, atOrigin}));
}

TEST(RecordWriteBack, IncludeFlagChangesOnlyItsOwnPlace) {
  auto insert = [](const char* code) {
    return NetworkEntity{"INSERT", {{0, 0, 0}}, 0, "", code, {{"_TYPE", "197"}}, "", ""};
  };
  struct Case {
    bool exclude;
    NetworkEntity entity;
    const char* written;  // the type code written back
  };
  const Case cases[] = {
      {true, insert("TKi0015i0001"), "TKi0015-0001"},
      {false, insert("TKi0015-0001"), "TKi0015i0001"},
      {true, insert("TKi0015-0001"), "TKi0015-0001"},  // excluded already
      {false, {"LWPOLYLINE", {{0, 0, 0}}, 0, "", "TPP0000-0001", {}, "", ""}, "TPP0000i0001"},
      {true, {"TEXT", {{0, 0, 0}}, 0, "t", "TCD0000i0001", {}, "", ""}, "TCD0000i0001"},  // no INSERT
      {true, insert("TKi"), "TKi"},  // too short for a flag
  };
  for (const Case& c : cases) {
    RecordingHost host;
    OwnedChain chain(BuildEntityChain(c.entity, 9));
    host.selection = {chain.get()};
    CObjSezNew list;
    EXPECT_EQ(SetIncludeFlag(list, c.exclude), 1);
    EXPECT_EQ(list.m_readCount, 1u);
    ASSERT_EQ(host.prompts.size(), 2u);
    EXPECT_EQ(host.prompts[0].substr(host.prompts[0].size() - 3), "2 0");
    EXPECT_EQ(host.prompts[1].substr(host.prompts[1].size() - 3), "0 4");
    WriteRecordsToDrawing(list, false);
    ASSERT_EQ(host.written.size(), 1u);
    const Items& items = host.written[0];
    auto at = std::find(items.begin(), items.end(), "1001:JOV_DATA");
    ASSERT_NE(at, items.end());
    EXPECT_EQ(*(at + 1), std::string("1000:") + c.written) << c.entity.typeCode;
    EXPECT_EQ(items[0], "-1:?") << "written over the entity picked";
  }

  RecordingHost refused;
  refused.selectAnswer = HOST_CANCEL;
  CObjSezNew list;
  EXPECT_EQ(SetIncludeFlag(list, true), 1);
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_EQ(refused.prompts.size(), 1u);
}

TEST(RecordWriteBack, FindApplicationIgnoresCase) {
  OwnedChain chain(GroupChainBuilder(0).Build(0, "LINE", -3, nullptr, 1001, "OTHER", 1001, "jov_link", 1000,
                                              "77", -9));
  const resbuf* cursor = chain.get();
  EXPECT_EQ(FindApplication(&cursor, "JOV_LINK"), 1);
  EXPECT_STREQ(cursor->next->value.text, "77");
  cursor = chain.get();
  EXPECT_EQ(FindApplication(&cursor, "JOV_DATA"), 0);
  EXPECT_EQ(cursor, chain.get()) << "the cursor stays where it was";
}
