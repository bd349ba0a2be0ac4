// The chains the record builders give, node by node, and block definitions
// from product symbols through a recording host.
#include "jov_vantrix/network/RecordBuilders.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/GroupChainBuilder.h"
#include "jov_vantrix/network/CObjConnPntNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjPntNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/tests/RecordingHost.h"
#include "platform/catalogue/CatalogueSource.h"
#include "platform/catalogue/Database.h"
#include "platform/catalogue/tests/TempFolder.h"

namespace {

using Items = std::vector<std::string>;

struct Points : CSeznam {
  Points(std::initializer_list<GLVector> points) {
    for (const GLVector& p : points) AddTail(new CObjPntNew(p));
  }
};

// The chain of the list's last record.
Items LastBuilt(const CObjSezNew& list) {
  const CObjDataNew* last = nullptr;
  for (const CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) last = r;
  return last ? DescribeChain(last->m_pBuiltChain) : Items{};
}

}  // namespace

TEST(RecordBuilders, EntityChainsNodeByNode) {
  RecordingHost host;
  JovCutParams params;
  params.m_angle = 0.5;
  struct Case {
    const char* what;
    std::function<void(CObjSezNew&)> build;
    Items chain;
  };
  const Case cases[] = {
      {"aligned TEXT, converted",
       [&](CObjSezNew& l) { MakeTextRecord(l, params, "T", {1, 2, 0}, 0.25, 0.8, 1, 2, "L", nullptr, true); },
       {"0:TEXT", "100:AcDbEntity", "8:L", "100:AcDbText", "10:0,0,0", "40:0.25", "1:T", "50:0.5", "41:0.8",
        "72:1", "11:101,2,0", "100:AcDbText", "73:2"}},
      {"TEXT without alignment, with extended data",
       [&](CObjSezNew& l) {
         resbuf* xdata = GroupChainBuilder(0).Build(1001, "APP", 1000, "K", -9);
         MakeTextRecord(l, params, "T", {1, 2, 0}, 0.25, 0.8, 0, 0, "L", xdata, false);
       },
       {"0:TEXT", "100:AcDbEntity", "8:L", "100:AcDbText", "10:1,2,0", "40:0.25", "1:T", "50:0.5", "41:0.8",
        "100:AcDbText", "1001:APP", "1000:K"}},
      {"LWPOLYLINE by layer",
       [&](CObjSezNew& l) { MakePolylineRecord(l, params, "P", 256, Points{{0, 0, 5}, {1, 0, 0}, {1, 1, 0}}, nullptr); },
       {"0:LWPOLYLINE", "100:AcDbEntity", "8:P", "62:256", "100:AcDbPolyline", "90:3", "70:0", "43:0",
        "10:100,0,0", "10:101,0,0", "10:101,1,0"}},
      {"LINE of three points into the user's system",
       [&](CObjSezNew& l) { MakeLineRecord(l, params, "0", Points{{100, 0, 0}, {101, 0, 0}, {101, 1, 0}}, true); },
       {"0:LINE", "100:AcDbEntity", "8:0", "100:AcDbLine", "10:0,0,0", "11:1,0,0", "12:1,1,0"}},
      {"CIRCLE without colour",
       [&](CObjSezNew& l) { MakeCircleRecord(l, params, "C", {0, 0, 1}, 0.16, -1); },
       {"0:CIRCLE", "100:AcDbEntity", "8:C", "100:AcDbCircle", "10:100,0,1", "40:0.08"}},
      {"CIRCLE with colour",
       [&](CObjSezNew& l) { MakeCircleRecord(l, params, "C", {0, 0, 0}, 2.0, 3); },
       {"0:CIRCLE", "100:AcDbEntity", "8:C", "62:3", "100:AcDbCircle", "10:100,0,0", "40:1"}},
      {"INSERT in millimetres",
       [&](CObjSezNew& l) {
         params.m_units = 1000;
         MakeInsertRecord(l, params, "B", {0, 0, 0}, "I", nullptr, 1.0);
       },
       {"0:INSERT", "100:AcDbEntity", "8:I", "100:AcDbBlockReference", "2:B", "10:100,0,0", "41:1", "50:0.5"}},
      {"INSERT in metres",
       [&](CObjSezNew& l) {
         params.m_units = 1;
         MakeInsertRecord(l, params, "B", {0, 0, 0}, "I", nullptr, 2.0);
       },
       {"0:INSERT", "100:AcDbEntity", "8:I", "100:AcDbBlockReference", "2:B", "10:100,0,0", "41:0.002",
        "42:0.001", "43:0.001", "50:0.5"}},
  };
  for (const Case& c : cases) {
    CObjSezNew list;
    c.build(list);
    ASSERT_EQ(list.GetCount(), 1u) << c.what;
    EXPECT_EQ(LastBuilt(list), c.chain) << c.what;
    const CObjDataNew* record = list.GetFirstRecord();
    EXPECT_EQ(record->m_objectType, kObjectOther) << c.what;
    EXPECT_EQ(record->m_index, UINT32_MAX) << c.what;
    EXPECT_EQ(record->m_entityChain.GetChain(), nullptr) << c.what;
    EXPECT_FALSE(record->m_hasEntityName) << c.what;
  }
}

TEST(RecordBuilders, BlockFromSymbolKeepsConnectionPointsOutOfTheBlock) {
  GroupChainBuilder builder(0);
  const double a[3] = {0, 0, 0}, b[3] = {1, 0, 0};
  resbuf* symbol = builder.Build(0, "LINE", 8, "0", 10, a, 11, b, 0, "POINT", 8, "DEFPOINTS", 62, 7, 10, a,
                                 0, "POINT", 8, "defpoints", 62, 1, 10, b, 0, "CIRCLE", 8, "DefPoints",
                                 10, b, 40, 1.0, -9);
  const int nodes = ChainLength(symbol);
  for (int refuse : {-1, 0}) {
    RecordingHost host;
    host.refuseBlockEntity = refuse;
    CString name("*UJOVCUT20041");
    CSeznam connections;
    const bool made = MakeBlockFromSymbol(name, {5, 6, 0}, symbol, connections);
    EXPECT_EQ(made, refuse < 0);
    EXPECT_EQ(host.blockCalls, (Items{"begin *UJOVCUT20041", "0:LINE 8:0 10:0,0,0 11:1,0,0", "end"}))
        << "ended after a refused entity too";
    EXPECT_EQ(name, refuse < 0 ? "*U7" : "*UJOVCUT20041");
    // Colour 7 and no colour mark connection points, colour 1 drops one;
    // after a refusal the rest of the symbol is not looked at.
    EXPECT_EQ(connections.GetCount(), refuse < 0 ? 2u : 0u);
    if (refuse < 0) {
      EXPECT_EQ(static_cast<const CObjConnPntNew*>(connections.GetHead())->m_pEntity,
                symbol->next->next->next->next);
    }
    EXPECT_EQ(ChainLength(symbol), nodes) << "the symbol chain is whole again";
  }
  FreeGroupCodeChain(symbol);
}

TEST(RecordBuilders, PipePieceDataByOwner) {
  const TempFolder temp;
  const std::string& folder = temp.Path();
  std::string error;
  ASSERT_TRUE(jovDatabase::BuildCatalogueFromText(
      "[catalogue]\ntrade = T\ntitle = T\n[names]\nPROP | 0 | 1 | P0 | | 0\nPROP | 2 | 2 | P2 | | 0\n"
      "PROP | 3 | 3 | P3 | | 0\nPROP | 6 | 4 | P6 | | 0\n",
      (folder + "/T.db").c_str(), error))
      << error;
  CObjSezNew list;
  list.m_pDatabase = jovDatabase::Database::Open(folder.c_str(), 'T');
  ASSERT_NE(list.m_pDatabase, nullptr);
  JovCutParams params([] { return std::time_t{0}; });
  params.m_pipe1TypeCode = "TPP0015i0001";
  params.m_pipe1Field2 = "Cu";
  params.m_pipe2TypeCode = "TPZ0015i0001";
  params.m_pipe2Field2 = "Cu Z";
  params.m_pipeDistance = 0.1;
  params.m_pipeSwitch = true;

  CObjDataNew owner(0, kObjectNetworkInsert, nullptr, 0);
  owner.m_CM = "3";
  owner.m_CT = "22";
  owner.m_riserNumber = "1";
  OwnedChain a(GroupChainBuilder(0).Build(-3, nullptr, -9));
  OwnedChain b(GroupChainBuilder(0).Build(-3, nullptr, -9));
  BuildPieceJovData(list, params, "15", "16", "2", "V1", "0", 1.5, 1.25, "77", a.get(), b.get(), &owner);
  const Items head{"-3:?",    "1001:JOV_DATA", "1000:TPP0015i0001", "1000:P2", "1000:Cu",  "1000:P0",
                   "1000:",   "1000:_MJ",      "1000:",             "1000:P3", "1000:15",  "1000:_TYPE",
                   "1000:128", "1000:P6",      "1000:",             "1000:_NBRANCH", "1000:V1", "1000:_NUM_BRANCH",
                   "1000:2",  "1000:_NUM_SIDE", "1000:0",           "1000:_DW_NUMBER", "1000:",
                   "1000:_DW_NUMBER_ORIG", "1000:", "1000:_DW_CONNECT", "1000:", "1000:_DW_CONNECT_ORIG", "1000:"};
  Items expected = head;
  expected.insert(expected.end(), {"1000:CM", "1000:3", "1000:CT", "1000:22", "1000:_NUM_ASSOC",
                                   "1000:" + std::string(params.m_assocStamp), "1000:_SCH_ASSOC",
                                   "1000:" + std::string(params.m_schemeStamp), "1000:_LENGTH_SEGMENT",
                                   "1000:1.500", "1001:JOV_LINK", "1000:77"});
  EXPECT_EQ(DescribeChain(a.get()), expected);
  Items chainB = DescribeChain(b.get());
  EXPECT_EQ(chainB[2], "1000:TPZ0015i0001");
  EXPECT_EQ(chainB[10], "1000:16");
  EXPECT_EQ(chainB[chainB.size() - 3], "1000:1.250");

  // A riser owner: its riser keys, the sides opposite in the two pieces.
  owner.m_objectType = kObjectRiser;
  owner.Runs().m_riserPrefix = "S";
  owner.m_riserPosition = "1";
  OwnedChain c(GroupChainBuilder(0).Build(-3, nullptr, -9));
  OwnedChain d(GroupChainBuilder(0).Build(-3, nullptr, -9));
  BuildPieceJovData(list, params, "15", "16", "2", "V1", "0", 1.5, 1.25, nullptr, c.get(), d.get(), &owner);
  Items riserA = DescribeChain(c.get());
  const Items riserKeys{"1000:_NUM_RISER", "1000:1", "1000:_PREFIX_RISER", "1000:S", "1000:_POS_RISER",
                        "1000:1", "1000:_DIST_PIPE", "1000:0.100", "1000:_SIDE_PIPE", "1000:1"};
  EXPECT_EQ(Items(riserA.begin() + static_cast<long>(head.size()),
                  riserA.begin() + static_cast<long>(head.size() + riserKeys.size())),
            riserKeys);
  EXPECT_EQ(riserA.back(), "1000:1.500") << "no link block without a handle";
  Items riserB = DescribeChain(d.get());
  EXPECT_EQ(riserB[head.size() + 9], "1000:0");
  jovDatabase::Database::Close(list.m_pDatabase);
}
