// The older entity writers node by node (no conversion, no rotation), their
// symbol blocks, pipe-piece data, and the riser's start through a
// recording host.
#include "jov_vantrix/section/OldEntityWriters.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "common/GroupChainBuilder.h"
#include "jov_vantrix/section/CObjData.h"
#include "jov_vantrix/section/CObjPnt.h"
#include "jov_vantrix/section/CSecData.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "jov_vantrix/section/OldRiserStart.h"
#include "jov_vantrix/tests/RecordingHost.h"
#include "platform/catalogue/CatalogueSource.h"
#include "platform/catalogue/Database.h"
#include "platform/catalogue/tests/TempFolder.h"

namespace {

using Items = std::vector<std::string>;

std::vector<Items> Built(const CObjSez& list) {
  std::vector<Items> out;
  for (const CObjData* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) out.push_back(DescribeChain(r->m_pBuiltChain));
  return out;
}

// The items of a chain from the first with that prefix on.
Items From(const Items& items, const std::string& prefix) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].rfind(prefix, 0) == 0) return Items(items.begin() + static_cast<long>(i), items.end());
  return {};
}

std::string Value(const Items& items, const std::string& key) {
  for (size_t i = 0; i + 1 < items.size(); ++i)
    if (items[i] == "1000:" + key) return items[i + 1].substr(5);
  return "<none>";
}

std::time_t FixedClock() { return 86400 * 365; }

// A metre drawing's block as the dialog converts it, for the riser start.
void RiserBlock(JovCutParamsOld& params) {
  params.m_basePoint = GLVector(10, 20, 0);
  params.m_height = 2.8;
  params.m_pipeDistance = 0.1;
  params.m_pipeFloorDistance = -0.2;
  params.m_drawPipe = 1;
  params.m_describeRisers = 1;
  params.m_branchTextHeight = 0.004;
  params.m_bubbleDistance3 = 0.1;
  params.m_branchLayer = "BR";
  params.m_bubbleLayer = "BUB";
  params.m_supplyTypeCode = "TPP0000i0001";
  params.m_supplyText2 = "P";
  params.m_supplyText3 = "PIPE_S";
  params.m_returnTypeCode = "TPZ0000i0001";
  params.m_returnText2 = "Z";
  params.m_returnText3 = "PIPE_R";
}

}  // namespace

TEST(OldEntityWriters, ChainsWithoutConversionOrRotation) {
  RecordingHost host;  // would move x by 100 if anything converted
  JovCutParamsOld params;
  params.m_angle = 0.5;
  params.m_furtherWidthFactor = 0.7;
  struct Case {
    const char* what;
    std::function<void(CObjSez&)> build;
    int kind;
    Items chain;
  };
  const Case cases[] = {
      {"aligned TEXT",
       [&](CObjSez& l) { MakeOldTextRecord(l, params, "T", {1, 2, 0}, 0.25, 1, 2, "L", nullptr); },
       CObjData::kText,
       {"0:TEXT", "100:AcDbEntity", "8:L", "100:AcDbText", "10:0,0,0", "40:0.25", "1:T", "41:0.7", "72:1",
        "11:1,2,0", "100:AcDbText", "73:2"}},
      {"TEXT without alignment, with extended data",
       [&](CObjSez& l) {
         MakeOldTextRecord(l, params, "T", {1, 2, 0}, 0.25, 0, 0, "L",
                           GroupChainBuilder(0).Build(-3, nullptr, 1001, "APP", -9));
       },
       CObjData::kText,
       {"0:TEXT", "100:AcDbEntity", "8:L", "100:AcDbText", "10:1,2,0", "40:0.25", "1:T", "41:0.7",
        "100:AcDbText", "-3:?", "1001:APP"}},
      {"LWPOLYLINE",
       [&](CObjSez& l) { MakeOldPolylineRecord(l, params, "P", 256, CObjPntList{{0, 0, 5}, {1, 1, 0}}, nullptr); },
       CObjData::kPolyline,
       {"0:LWPOLYLINE", "100:AcDbEntity", "8:P", "62:256", "100:AcDbPolyline", "90:2", "70:0", "43:0",
        "10:0,0,0", "10:1,1,0"}},
      {"LINE of three points",
       [&](CObjSez& l) { MakeOldLineRecord(l, params, "0", CObjPntList{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}); },
       CObjData::kLine,
       {"0:LINE", "100:AcDbEntity", "8:0", "100:AcDbLine", "10:0,0,0", "11:1,0,0", "12:1,1,0"}},
      {"CIRCLE",
       [&](CObjSez& l) { MakeOldCircleRecord(l, params, "C", {0, 0, 1}, 0.16); },
       CObjData::kCircle,
       {"0:CIRCLE", "100:AcDbEntity", "8:C", "100:AcDbCircle", "10:0,0,1", "40:0.08"}},
      {"INSERT in millimetres",
       [&](CObjSez& l) {
         params.m_unit = 1000;
         MakeOldInsertRecord(l, params, "B", {0, 0, 0}, "I", nullptr, -1.0);
       },
       CObjData::kInsert,
       {"0:INSERT", "100:AcDbEntity", "8:I", "100:AcDbBlockReference", "2:B", "10:0,0,0", "41:-1"}},
      {"INSERT in metres",
       [&](CObjSez& l) {
         params.m_unit = 1;
         MakeOldInsertRecord(l, params, "B", {0, 0, 0}, "I", nullptr, 2.0);
       },
       CObjData::kInsert,
       {"0:INSERT", "100:AcDbEntity", "8:I", "100:AcDbBlockReference", "2:B", "10:0,0,0", "41:0.002",
        "42:0.001", "43:0.001"}},
  };
  for (const Case& c : cases) {
    CObjSez list;
    c.build(list);
    ASSERT_EQ(list.GetCount(), 1u) << c.what;
    EXPECT_EQ(Built(list)[0], c.chain) << c.what;
    const CObjData* record = list.GetFirstRecord();
    EXPECT_EQ(record->m_entityKind, c.kind) << c.what;
    EXPECT_EQ(record->m_role, kRoleOther) << c.what;
    EXPECT_EQ(record->m_pReadChain, nullptr) << c.what;
  }
  EXPECT_TRUE(host.written.empty());
}

TEST(OldEntityWriters, SymbolBlockEndsAndFailsOnARefusedEntity) {
  const double a[3] = {0, 0, 0}, b[3] = {1, 0, 0};
  OwnedChain symbol(GroupChainBuilder(0).Build(0, "LINE", 8, "0", 10, a, 11, b, 0, "POINT", 8, "DEFPOINTS",
                                               62, 7, 10, b, 0, "LINE", 8, "0", 10, b, 11, a, -9));
  for (int refuse : {-1, 1}) {
    RecordingHost host;
    host.refuseBlockEntity = refuse;
    CString name("*UJOVCUT20040");
    CSeznam connections;
    EXPECT_EQ(MakeOldBlockFromSymbol(name, {0, 0, 0}, symbol.get(), connections), refuse < 0);
    EXPECT_EQ(host.blockCalls.back(), "end") << "the block is ended in any case";
    EXPECT_EQ(host.blockCalls.size(), 4u);
    ASSERT_EQ(connections.GetCount(), 1u);
    EXPECT_NE(dynamic_cast<const CObjConnPnt*>(connections.GetHead()), nullptr);
    EXPECT_EQ(static_cast<const CObjConnPnt*>(connections.GetHead())->m_pEntity, symbol.get()->next->next->next->next);
    EXPECT_EQ(ChainLength(symbol.get()), 12) << "relinked";
  }
}

TEST(OldEntityWriters, PipePieceDataOfASection) {
  const TempFolder temp;
  std::string error;
  ASSERT_TRUE(jovDatabase::BuildCatalogueFromText(
      "[catalogue]\ntrade = T\ntitle = T\n[names]\nPROP | 0 | 1 | P0 | | 0\nPROP | 2 | 2 | P2 | | 0\n"
      "PROP | 3 | 3 | P3 | | 0\nPROP | 6 | 4 | P6 | | 0\n",
      (temp.Path() + "/T.db").c_str(), error))
      << error;
  jovDatabase::Database* db = jovDatabase::Database::Open(temp.Path().c_str(), 'T');
  ASSERT_NE(db, nullptr);
  JovCutParamsOld params(&FixedClock);
  RiserBlock(params);
  CSecData section(12, "A");
  OwnedChain a(GroupChainBuilder(0).Build(-3, nullptr, -9));
  OwnedChain b(GroupChainBuilder(0).Build(-3, nullptr, -9));
  BuildOldPieceJovData(params, db, "K", &section, a.get(), b.get());
  const std::string stamp = params.m_stamp.GetString();
  EXPECT_EQ(DescribeChain(a.get()),
            (Items{"-3:?", "1001:JOV_DATA", "1000:TPP0000i0001", "1000:P2", "1000:P", "1000:P0", "1000:",
                   "1000:_MJ", "1000:", "1000:P3", "1000:", "1000:_TYPE", "1000:128", "1000:P6", "1000:",
                   "1000:_BRANCH", "1000:K", "1000:_NUM_SECTION", "1000:12", "1000:_NUM_ASSOC", "1000:" + stamp}));
  const Items chainB = DescribeChain(b.get());
  EXPECT_EQ(chainB[2], "1000:TPZ0000i0001");
  EXPECT_EQ(chainB[4], "1000:Z");

  OwnedChain c(GroupChainBuilder(0).Build(-3, nullptr, -9));
  BuildOldPieceJovData(params, nullptr, "", nullptr, c.get(), nullptr);
  const Items unnamed = DescribeChain(c.get());
  EXPECT_EQ(Value(unnamed, "_NUM_SECTION"), "") << "no section";
  EXPECT_EQ(unnamed[3], "1000:") << "no catalogue, no property names";
  jovDatabase::Database::Close(db);
}

TEST(OldEntityWriters, RiserStartPipesAndLabel) {
  struct Case {
    const char* what;
    std::function<void(JovCutParamsOld&)> change;
    bool lastFloor;
    bool withRiser;
    Items pipeS;   // first and last vertex of the pipe on PIPE_S
    Items pipeR;
    std::string pipeAtX0;  // layer of the pipe at the base point's x
    Items label;  // the TEXT's point and height, or {}
    int lines;
    int circles;
  };
  const Items label{"11:10.05,22.902,0", "40:0.004"};
  const Case cases[] = {
      {"below the floor", [](JovCutParamsOld&) {}, false, true, {"10:10,19.8,0", "10:10,22.8,0"},
       {"10:10.1,19.8,0", "10:10.1,22.8,0"}, "PIPE_S", label, 0, 0},
      {"above the floor", [](JovCutParamsOld& p) { p.m_pipeFloorDistance = 0.2; }, false, true,
       {"10:10,20,0", "10:10,22.8,0"}, {"10:10.1,20,0", "10:10.1,22.8,0"}, "PIPE_S", label, 0, 0},
      {"pipes switched", [](JovCutParamsOld& p) { p.m_pipeSwitch = 1; }, false, true,
       {"10:10.1,19.8,0", "10:10.1,22.8,0"}, {"10:10,19.8,0", "10:10,22.8,0"}, "PIPE_R", label, 0, 0},
      {"last floor", [](JovCutParamsOld& p) { p.m_pipeFloorDistance = 0.3; }, true, true,
       {"10:10,20,0", "10:10,20.4,0"}, {"10:10.1,20,0", "10:10.1,20.3,0"}, "PIPE_S",
       {"11:10.05,20.502,0", "40:0.004"}, 0, 0},
      {"on a bubble",
       [](JovCutParamsOld& p) {
         p.m_branchBubble = 1;
         p.m_bubbleDistance2 = 0.3;
         p.m_bubbleDiameter = 0.008;
       },
       false, true, {"10:10,19.8,0", "10:10,22.8,0"}, {"10:10.1,19.8,0", "10:10.1,22.8,0"}, "PIPE_S",
       {"11:10.05,23.204,0", "40:0.004"}, 1, 1},
      {"on a bubble of no size",
       [](JovCutParamsOld& p) {
         p.m_branchBubble = 1;
         p.m_bubbleDistance2 = 0.3;
         p.m_bubbleDiameter = 0.0;
       },
       false, true, {"10:10,19.8,0", "10:10,22.8,0"}, {"10:10.1,19.8,0", "10:10.1,22.8,0"}, "PIPE_S", label, 0, 0},
      {"no riser record", [](JovCutParamsOld&) {}, false, false, {"10:10,19.8,0", "10:10,22.8,0"},
       {"10:10.1,19.8,0", "10:10.1,22.8,0"}, "PIPE_S", {}, 0, 0},
      {"no pipes, no label",
       [](JovCutParamsOld& p) {
         p.m_drawPipe = 0;
         p.m_describeRisers = 0;
       },
       false, true, {}, {}, "", {}, 0, 0},
  };
  for (const Case& c : cases) {
    RecordingHost host;
    JovCutParamsOld params(&FixedClock);
    RiserBlock(params);
    c.change(params);
    CObjSez records;
    if (c.withRiser) {
      auto* riser = new CObjData(CObjData::kInsert, kRoleRiser, nullptr);
      riser->m_riserNumber = "7";
      records.AddTail(riser);
    }
    if (c.lastFloor)
      DrawOldRiserStartLastFloor(records, params, nullptr);
    else
      DrawOldRiserStart(records, params, nullptr);

    Items pipeS, pipeR, text;
    std::string atX0;
    int lines = 0, circles = 0;
    for (const Items& chain : Built(records)) {
      if (chain.empty()) continue;  // the riser record, read
      if (chain[0] == "0:LINE") ++lines;
      if (chain[0] == "0:CIRCLE") {
        ++circles;
        EXPECT_EQ(chain[2], "8:BUB") << c.what;
      }
      if (chain[0] == "0:TEXT") {
        EXPECT_EQ(chain[6], "1:7") << c.what;
        EXPECT_EQ(chain[2], "8:BR") << c.what;
        EXPECT_EQ(From(chain, "50:"), Items{}) << c.what << ": no rotation";
        text = {From(chain, "11:")[0], chain[5]};
      }
      if (chain[0] != "0:LWPOLYLINE") continue;
      const Items vertices{chain[8], chain[9]};
      (chain[2] == "8:PIPE_S" ? pipeS : pipeR) = vertices;
      // The type code follows the layer: supply data on PIPE_S.
      EXPECT_EQ(From(chain, "1001:")[1], chain[2] == "8:PIPE_S" ? "1000:TPP0000i0001" : "1000:TPZ0000i0001");
      EXPECT_EQ(Value(chain, "_BRANCH"), "") << c.what;
      EXPECT_EQ(Value(chain, "_NUM_SECTION"), "") << c.what;
      if (chain[8].rfind("10:10,", 0) == 0) atX0 = chain[2].substr(2);
    }
    EXPECT_EQ(pipeS, c.pipeS) << c.what;
    EXPECT_EQ(pipeR, c.pipeR) << c.what;
    EXPECT_EQ(atX0, c.pipeAtX0) << c.what;
    EXPECT_EQ(text, c.label) << c.what;
    EXPECT_EQ(lines, c.lines) << c.what;
    EXPECT_EQ(circles, c.circles) << c.what;
  }
}
