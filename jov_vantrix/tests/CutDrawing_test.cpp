// The section generator on branches built in memory: products placed by
// their connection class and scale, their lengths, descriptions, runs
// that branch off, and what it does with faulty input.
#include "jov_vantrix/section/CutDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/CResourceQmr.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/section/CutDrawingState.h"
#include "jov_vantrix/tests/SectionRecords.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/resources.h"

namespace {

// Stands for the product library: the records carry their chains already
// and no catalogue is open, so it is never asked.
int NoProducts(jovDatabase::Database*, uint32_t, resbuf**, resbuf**, const uint8_t*, uint32_t, const char*,
               const char*, const char*, const char*, const char*) {
  return 0;
}

struct Branch {
  CObjDataNew* start;
  CObjDataNew* product;
  CObjDataNew* supply;
  CObjDataNew* ret;
};

class CutDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(resources_.IsLoaded());
    TheApp().m_pPPGetResbufEx = &NoProducts;
  }
  void TearDown() override { TheApp().m_pPPGetResbufEx = nullptr; }

  // The parameters of the drawing tests' branch in drawing units: base
  // point (10, 20) m, floor 3 m high, pipes 2.6 m below its top.
  void Params(int units) {
    JovCutParams& p = params_;
    const double u = units;
    p.m_units = units;
    p.m_scale = 1.0;
    p.m_basePoint = GLVector(10 * u, 20 * u, 0);
    p.m_riserDistance = 0.5 * u;
    p.m_elementDistance = 0.3 * u;
    p.m_floorHeight = 3 * u;
    p.m_pipeDistance = 0.1 * u;
    p.m_pipeFloorDistance = 0.3 * u;
    p.m_pipeBeginLength = 2.6 * u;
    p.m_bubbleDistance1 = -2.4 * u;
    p.m_bubbleDistance3 = 0.1 * u;
    p.m_floorDistanceX = 0.2 * u;
    p.m_floorLine1 = p.m_floorLine2 = 0.25 * u;
    p.m_floorArrow = 0.075 * u;
    p.m_descriptionDistance = p.m_descriptionLineSpacing = 0.05 * u;
    p.m_riserRadius = 0.08 * u;
    p.m_descriptionHeight = 2.5 * u / 1000;
    p.m_firstLineHeight = 0.005 * u;
    p.m_maskWithoutProduct = "-&CM-\\&TY\\&L/&V\\&VE &SR";
    p.m_pipe1TypeCode = "TPP0000i0001";
    p.m_pipe1Layer = "PIPE_S";
    p.m_pipe2TypeCode = "TPZ0000i0001";
    p.m_pipe2Layer = "PIPE_R";
    p.m_descriptionLayer = "DESC";
  }

  // The branch start S and the product P of branch 1, side 0, with their
  // floor-plan pipes of 2 m.
  Branch AddBranch(int units, const double* productScale = &kOne) {
    const double u = units;
    Branch b{};
    b.start = AddRecord(list_, kObjectPickedBranch, "1", "0", "0");
    b.start->m_riserPosition = "0";
    GiveInsert(*b.start);
    GiveProduct(*b.start, {"20"}, units);
    b.product = AddRecord(list_, kObjectNetworkInsert, "1", "0");
    b.product->m_CM = b.product->m_CT = "1";
    for (const auto& [key, value] : {std::pair{"CM", "1"}, {"CT", "1"}, {"TY", "XYZ"}, {"VP", "500"}, {"L", "600"}, {"VE", "15"}, {"SR", "20"}})
      b.product->m_jovData.Properties().SetValue(key, value);
    GiveInsert(*b.product, productScale);
    GiveProduct(*b.product, {"20"}, units);
    b.supply = AddPipe(list_, kObjectSupplyPipe, "1", "0", {u, 1.2 * u, 0}, {3 * u, 1.2 * u, 0}, true);
    b.ret = AddPipe(list_, kObjectReturnPipe, "1", "0", {u, 1.1 * u, 0}, {3 * u, 1.1 * u, 0}, true);
    list_.m_shiftMarker = "0";
    return b;
  }

  // The new records of a kind ("INSERT", "TEXT" ...).
  std::vector<const CObjDataNew*> Made(const char* kind) const {
    std::vector<const CObjDataNew*> out;
    for (const CObjDataNew* r = list_.GetFirstRecord(); r; r = r->GetNextRecord()) {
      const char* type = r->m_pBuiltChain ? GetEntityString(r->m_pBuiltChain, 0) : nullptr;
      if (r->m_objectType == kObjectOther && type && std::string(type) == kind) out.push_back(r);
    }
    return out;
  }
  static GLVector Point(const CObjDataNew* r, int16_t code) {
    GLVector p;
    GetEntityPoint(r->GetChain(), p, code);
    return p;
  }
  static double Real(const CObjDataNew* r, int16_t code) {
    const resbuf* n = FindGroupCode(r->GetChain(), code);
    return n ? n->value.real : NAN;
  }

  static constexpr double kOne = 1.0;
  CResourceQmr resources_{JOV_TEST_MODULE_DIR "/Jov_Vantrix.qmr"};
  PlainHost host_;
  CObjSezNew list_;
  JovCutParams params_;
};

// "VP" 500 (millimetres) and the 2 m floor-plan pipe are the lengths the
// pieces of the last product carry, in the drawing's units.
TEST_F(CutDrawingTest, ProductHeightAddsToThePieceLengthsInDrawingUnits) {
  for (const auto& [units, length] : {std::pair{1000, "2500.000"}, {1, "2.500"}}) {
    list_.RemoveAll();
    Params(units);
    AddBranch(units);
    ASSERT_EQ(BuildCutDrawing(list_, params_), 1) << units;
    ASSERT_EQ(list_.m_sectionSupply.GetSize(), 1) << units;
    ASSERT_EQ(list_.m_sectionReturn.GetSize(), 1) << units;
    for (const CPtrArray* sequence : {&list_.m_sectionSupply, &list_.m_sectionReturn}) {
      const resbuf* piece = At(*sequence, 0)->GetChain();
      EXPECT_EQ(Value(piece, "_LENGTH_SEGMENT"), length) << units;
      EXPECT_EQ(Value(piece, "_DW_NUMBER"), "e1");
      EXPECT_EQ(Value(piece, "_DW_CONNECT"), "e0");
    }
    const std::vector<const CObjDataNew*> inserts = Made("INSERT");
    ASSERT_EQ(inserts.size(), 2u);
    EXPECT_DOUBLE_EQ(Point(inserts[1], 10).x, 8.8 * units) << "P one width and a distance left of S";
    EXPECT_DOUBLE_EQ(Real(inserts[1], 41), 1.0) << "41 x 0.001 in metres, then scaled back by the host";
  }
}

// A class needs all its connection codes; a product without them stops the
// generation, whatever was drawn before.
TEST_F(CutDrawingTest, ProductsNeedTheConnectionCodesOfTheirClass) {
  struct Case {
    UINT kind;  // the "TY" resource text, 0 for none
    std::vector<const char*> codes;
    int result;
  } const cases[] = {
      {IDS_TY_RADIATOR, {"24", "20"}, 0},       {IDS_TY_RADIATOR, {"24", "20", "36"}, 1},
      {IDS_TY_CONVECTOR, {"40"}, 0},            {IDS_TY_CONVECTOR, {"36", "40"}, 1},
      {IDS_TY_VALVE, {"20"}, 0},                {IDS_TY_VALVE, {"36"}, 1},
      {IDS_TY_MANIFOLD, {"68"}, 1},             {0, {"36"}, 0},
      {0, {}, 0},
  };
  for (const Case& c : cases) {
    list_.RemoveAll();
    Params(1000);
    Branch b = AddBranch(1000);
    char kind[64] = "XYZ";
    if (c.kind) LoadStringA(AfxGetResourceHandle(), c.kind, kind, sizeof kind);
    b.product->m_jovData.Properties().SetValue("TY", kind);
    GiveProduct(*b.product, c.codes, 1000);
    EXPECT_EQ(BuildCutDrawing(list_, params_), c.result) << kind << " with " << c.codes.size() << " codes";
  }
}

// A mirrored product on run side 0 stands one width to the right of its
// place, drawn leftwards over it, with its connection points exchanged; the
// next element moves one width further left. A scale of 0 counts as 1.
TEST_F(CutDrawingTest, MirroredProductsAreShiftedAndTheirConnectionsExchanged) {
  struct Case {
    double scale;
    double insertX, insertScale, supplyX, returnX, baseLineStart;
  } const cases[] = {
      // S stands at the riser (10000); the cursor goes on DIST_ELM and half
      // S's width left: 10000 - 300 - 300 = 9400. P 600 wide:
      // insert 9400 - 600 = 8800; its connection 8800 + 50 = 8850; return drop
      // + c1 40 = 8890, supply drop + c2 100 = 8990; base line from the
      // cursor 8800 - 300 = 8500, less DIST_ELM / 2: 8350.
      {1.0, 8800, 1, 8990, 8890, 8350},
      {0.0, 8800, 1, 8990, 8890, 8350},
      // Mirrored: insert 8800 + 600 = 9400, drawn leftwards; its connection
      // is drawn at 9400 - 50 = 9350; drops 9350 - (c1 + c2) = 9210 and
      // 9210 + c2 = 9310; the cursor one width further: 8350 - 600 = 7750.
      {-1.0, 9400, -1, 9310, 9210, 7750},
  };
  for (const Case& c : cases) {
    list_.RemoveAll();
    Params(1000);
    AddBranch(1000, &c.scale);
    ASSERT_EQ(BuildCutDrawing(list_, params_), 1) << c.scale;
    const CObjDataNew* product = Made("INSERT")[1];
    EXPECT_DOUBLE_EQ(Point(product, 10).x, c.insertX) << c.scale;
    EXPECT_DOUBLE_EQ(Real(product, 41), c.insertScale) << c.scale;
    const CObjDataNew* supply = At(list_.m_sectionSupply, 0);
    const CObjDataNew* ret = At(list_.m_sectionReturn, 0);
    EXPECT_DOUBLE_EQ(Vertices(supply).front().first, c.supplyX) << c.scale;
    EXPECT_DOUBLE_EQ(Vertices(ret).front().first, c.returnX) << c.scale;
    const std::vector<const CObjDataNew*> lines = Made("LINE");
    ASSERT_FALSE(lines.empty());
    EXPECT_DOUBLE_EQ(Point(lines[0], 10).x, c.baseLineStart) << c.scale;
  }
}

// Every drop starts at its product's connection point as drawn: the block
// point times the insert's scales plus its insertion point. Classes 2 and 3
// rise straight from their two connections; classes 0, 1 and 4 leave their
// one connection within the two offsets, their drops c2 apart.
TEST_F(CutDrawingTest, DropsStartAtTheDrawnConnectionPoints) {
  struct Class {
    UINT kind;
    std::vector<const char*> codes;
    bool twoPoints;
  } const classes[] = {{0, {"20"}, false},
                       {IDS_TY_VALVE, {"36"}, false},
                       {IDS_TY_RADIATOR, {"24", "20", "36"}, true},
                       {IDS_TY_CONVECTOR, {"40", "36"}, true},
                       {IDS_TY_MANIFOLD, {"68"}, false}};
  for (const Class& c : classes)
    for (double scale : {1.0, -1.0})
      for (int runSide : {0, 1})
        for (const char* side : {"0", "1"})
          for (int units : {1000, 1}) {
            char kind[64] = "XYZ";
            if (c.kind) LoadStringA(AfxGetResourceHandle(), c.kind, kind, sizeof kind);
            SCOPED_TRACE(std::string(kind) + (scale < 0 ? " mirrored" : "") + ", run side " +
                         std::to_string(runSide) + ", own side " + side + ", units " + std::to_string(units));
            list_.RemoveAll();
            list_.m_runSupply.RemoveAll();
            list_.m_runReturn.RemoveAll();
            Params(units);
            Branch b = AddBranch(units);
            const double sourceScale = units == 1 ? scale / 1000 : scale;
            GiveInsert(*b.product, &sourceScale);
            b.product->m_jovData.Properties().SetValue("TY", kind);
            b.product->m_sideNumber = side;
            GiveProduct(*b.product, c.codes, units, false, 120.0);
            CutDrawingState state(list_, params_);
            state.currentRiser = b.start;
            state.side = runSide;
            state.position = 1;
            ASSERT_EQ(DrawCutProduct(state, *b.product), 1);

            const CObjDataNew* insert = Made("INSERT").at(0);
            const double sx = Real(insert, 41);
            const resbuf* y42 = FindGroupCode(insert->GetChain(), 42);
            const double sy = y42 ? y42->value.real : 1.0;
            auto drawn = [&](int i) { return Point(insert, 10) + GLVector(50.0 * (i + 1) * sx, 120.0 * sy, 0); };
            const CObjDataNew *supply = nullptr, *ret = nullptr;
            for (const CObjDataNew* r : Made("LWPOLYLINE")) {
              const std::string layer = GetEntityString(r->GetChain(), 8);
              if (!supply && layer == "PIPE_S") supply = r;
              if (!ret && layer == "PIPE_R") ret = r;
            }
            ASSERT_TRUE(supply && ret);
            const auto a = Vertices(supply).front(), r = Vertices(ret).front();
            const double u = units, rise = u * params_.m_verticalConnectionOffset;
            if (c.twoPoints) {
              EXPECT_NEAR(a.first, drawn(0).x, 1e-9 * u);
              EXPECT_NEAR(a.second, drawn(0).y + rise, 1e-9 * u);
              EXPECT_NEAR(r.first, drawn(1).x, 1e-9 * u);
              EXPECT_NEAR(r.second, drawn(1).y + rise, 1e-9 * u);
              continue;
            }
            const double reach = u * (params_.m_connectionOffset1 + params_.m_connectionOffset2) + 1e-9 * u;
            for (const auto& v : {a, r}) {
              EXPECT_NEAR(v.first, drawn(0).x, reach);
              EXPECT_NEAR(v.second, drawn(0).y, 1e-9 * u);
            }
            EXPECT_NEAR(std::fabs(a.first - r.first), u * params_.m_connectionOffset2, 1e-9 * u);
          }
}

// A branch-start valve leaves DIST_ELM between its box and the first
// product's, whichever side the branch runs on.
TEST_F(CutDrawingTest, TheFirstProductKeepsItsDistanceFromTheStartValve) {
  for (const char* side : {"0", "1"}) {
    SCOPED_TRACE(std::string("side ") + side);
    list_.RemoveAll();
    Params(1000);
    Branch b = AddBranch(1000);
    for (CObjDataNew* r : {b.start, b.product, b.supply, b.ret}) r->m_sideNumber = side;
    ASSERT_EQ(BuildCutDrawing(list_, params_), 1);
    const std::vector<const CObjDataNew*> inserts = Made("INSERT");
    ASSERT_EQ(inserts.size(), 2u);
    std::pair<double, double> box[2];
    for (int i = 0; i < 2; ++i) {
      const double x = Point(inserts[i], 10).x, to = x + 600 * Real(inserts[i], 41);
      box[i] = {std::min(x, to), std::max(x, to)};
    }
    const double gap = std::max(box[1].first - box[0].second, box[0].first - box[1].second);
    EXPECT_GE(gap, params_.m_elementDistance - 1e-9) << box[0].first << " " << box[1].first;
  }
}

// Descriptions stack upwards from above a product, line 0 on top; branch
// starts and skipped inserts get none.
TEST_F(CutDrawingTest, OnlyProductsAreDescribed) {
  for (int type : {kObjectNetworkInsert, kObjectPickedBranch, kObjectSkipped}) {
    list_.RemoveAll();
    list_.m_runSupply.RemoveAll();
    list_.m_runReturn.RemoveAll();
    Params(1000);
    Branch b = AddBranch(1000);
    b.product->m_objectType = type;
    CutDrawingState state(list_, params_);
    state.currentRiser = b.start;
    state.position = 1;
    state.last = true;
    ASSERT_EQ(DrawCutProduct(state, *b.product), 1) << type;
    const std::vector<const CObjDataNew*> texts = Made("TEXT");
    if (type != kObjectNetworkInsert) {
      EXPECT_TRUE(texts.empty()) << type;
      continue;
    }
    std::vector<std::string> lines;
    double y = 0;
    for (const CObjDataNew* t : texts) {
      lines.push_back(std::string(GetEntityString(t->GetChain(), 1)) + "@" +
                      Value(t->GetChain(), "_NUM_DESC_LINE"));
      EXPECT_GT(Point(t, 11).y, y) << "stacked upwards";
      y = Point(t, 11).y;
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"15 20@3", "600/@2", "XYZ@1", "-1-@0"}));
  }
}

// Geometry that is nothing but connection points has no box: the product
// counts 0 x 0 and every coordinate written stays finite.
TEST_F(CutDrawingTest, ProductsWithoutABoxGiveFiniteCoordinates) {
  Params(1000);
  Branch b = AddBranch(1000);
  GiveProduct(*b.start, {"20"}, 1000, true);
  GiveProduct(*b.product, {"20"}, 1000, true);
  ASSERT_EQ(BuildCutDrawing(list_, params_), 1);
  int points = 0;
  for (const CObjDataNew* r = list_.GetFirstRecord(); r; r = r->GetNextRecord()) {
    for (const resbuf* n = r->m_pBuiltChain; n; n = n->next) {
      const uint32_t kind = GroupCodeKind(GetGroupCodeClass(n->code));
      if (kind == GC_KIND_POINT) {
        ++points;
        for (double v : n->value.point) EXPECT_TRUE(std::isfinite(v)) << n->code;
      } else if (kind == GC_KIND_REAL) {
        EXPECT_TRUE(std::isfinite(n->value.real)) << n->code;
      }
    }
  }
  EXPECT_GT(points, 10);
}

// Branch 2 leaves branch 1 at two joints, so its product stands twice in
// the start's run: it branches off at both, but its own run is drawn once.
// With the offset flag it is drawn as a product at its first meeting
// instead; every later meeting is a junction, so its product, descriptions
// and drops stand once in the drawing either way.
TEST_F(CutDrawingTest, ARecordMetTwiceBranchesOffOnce) {
  for (bool offset : {false, true}) {
    SCOPED_TRACE(offset ? "drawn as a product" : "drawn as junctions");
    list_.RemoveAll();
    Params(1000);
    Branch b = AddBranch(1000);
    b.supply->m_end = GLVector(10, 0, 0);  // 0 - 10, then 10 - 20 - 30
    b.supply->m_start = GLVector(0, 0, 0);
    AddPipe(list_, kObjectSupplyPipe, "1", "0", {10, 0, 0}, {20, 0, 0});
    AddPipe(list_, kObjectSupplyPipe, "1", "0", {20, 0, 0}, {30, 0, 0});
    CObjDataNew* branch2 = AddRecord(list_, kObjectNetworkInsert, "2", "0");
    branch2->m_offsetFlag = offset;
    GiveInsert(*branch2);
    GiveProduct(*branch2, {"20"}, 1000);
    AddPipe(list_, kObjectSupplyPipe, "2", "0", {10, 0, 0}, {10, 5, 0}, true);
    AddPipe(list_, kObjectSupplyPipe, "2", "0", {20, 0, 0}, {20, 5, 0});
    AddPipe(list_, kObjectReturnPipe, "2", "0", {11, 0, 0}, {11, 5, 0}, true);
    AddPipe(list_, kObjectReturnPipe, "2", "0", {21, 0, 0}, {21, 5, 0});

    ASSERT_EQ(BuildCutDrawing(list_, params_), 1);
    // S, P and branch 2's product once.
    EXPECT_EQ(Made("INSERT").size(), 3u);
    EXPECT_EQ(Made("CIRCLE").size(), 6u) << "junction circles: the other two meetings, two circles each";
    EXPECT_EQ(list_.m_sectionSupply.GetSize(), list_.m_sectionReturn.GetSize());
    std::vector<std::string> numbers;
    for (INT_PTR i = 0; i < list_.m_sectionSupply.GetSize(); ++i)
      numbers.push_back(Value(At(list_.m_sectionSupply, i)->GetChain(), "_DW_NUMBER"));
    for (const std::string& n : numbers) EXPECT_EQ(n[0], 'e') << n;
  }
}

// Networks as designers draw them: every product of the selection is
// drawn, or named in the list of those left out, whatever the topology.
// Branch 1 runs from S along x (a supply pipe on y 0, its return on y 1);
// branches leave it at its joints with their own products.
TEST_F(CutDrawingTest, EveryProductIsDrawnOrNamed) {
  struct Leg {
    const char* branch;
    GLVector from, to;
  };
  struct Topology {
    const char* what;
    std::vector<Leg> legs;  // branch 1's further pieces, then the branches
    std::vector<const char*> products;  // the branches with a product at their end
  } const topologies[] = {
      {"a comb", {{"1", {10, 0, 0}, {20, 0, 0}}, {"2", {10, 0, 0}, {10, 5, 0}}}, {"2"}},
      {"two branches at one joint",
       {{"1", {10, 0, 0}, {20, 0, 0}}, {"2", {10, 0, 0}, {10, 5, 0}}, {"3", {10, 0, 0}, {10, -5, 0}}},
       {"2", "3"}},
      {"a gap before the first joint",
       {{"1", {10, 0, 0}, {20, 0, 0}}, {"1", {20, 0, 0}, {30, 0, 0}}, {"2", {20, 0, 0}, {20, 5, 0}}},
       {"2"}},
      {"a loop", {{"1", {10, 0, 0}, {20, 0, 0}}, {"1", {20, 0, 0}, {0, 0, 0}}, {"2", {10, 0, 0}, {10, 5, 0}}},
       {"2"}},
      {"two products at one point", {{"1", {10, 0, 0}, {20, 0, 0}}, {"2", {10, 0, 0}, {10, 5, 0}}}, {"2", "2"}},
  };
  for (const Topology& t : topologies) {
    SCOPED_TRACE(t.what);
    list_.RemoveAll();
    Params(1000);
    Branch b = AddBranch(1000);
    b.supply->m_start = GLVector(0, 0, 0);
    b.supply->m_end = GLVector(10, 0, 0);
    b.ret->m_start = GLVector(0, 1, 0);
    b.ret->m_end = GLVector(10, 1, 0);
    for (const Leg& leg : t.legs) {
      const bool start = std::string(leg.branch) != "1";  // a branch's own first piece
      AddPipe(list_, kObjectSupplyPipe, leg.branch, "0", leg.from, leg.to, start);
      AddPipe(list_, kObjectReturnPipe, leg.branch, "0", leg.from + GLVector(0, 1, 0), leg.to + GLVector(0, 1, 0),
              start);
    }
    for (const char* branch : t.products) {
      CObjDataNew* product = AddRecord(list_, kObjectNetworkInsert, branch, "0");
      product->m_jovData.m_typeCode = "TXX0600i0001";
      GiveInsert(*product);
      GiveProduct(*product, {"20"}, 1000);
    }
    CStringArray leftOut;
    ASSERT_EQ(BuildCutDrawing(list_, params_, nullptr, &leftOut), 1);
    std::string named;
    for (INT_PTR i = 0; i < leftOut.GetSize(); ++i) named += std::string(leftOut[i]) + ";";
    std::vector<std::string> drawn;
    for (const CObjDataNew* insert : Made("INSERT")) drawn.push_back(Value(insert->GetChain(), "_NUM_BRANCH"));
    int products = 0;
    for (const CObjDataNew* r = list_.GetFirstRecord(); r; r = r->GetNextRecord()) {
      if (r->m_objectType != kObjectNetworkInsert) continue;
      ++products;
      const std::string branch = r->m_branchNumber.ToCString().GetString();
      const auto at = std::find(drawn.begin(), drawn.end(), branch);
      if (at != drawn.end()) {
        drawn.erase(at);  // each insert stands for one product
        continue;
      }
      EXPECT_NE(named.find("branch " + branch + ")"), std::string::npos) << "branch " << branch << ": " << named;
    }
    EXPECT_EQ(products, static_cast<int>(1 + t.products.size()));
  }
}

// A picked riser with a product on each side, started from either side,
// with the pipes as drawn or swapped (as a picked pipe may set them): the
// riser stands at b.x (side 0 first) or one pipe distance left of it
// (10000 + DIST_RISER - (DIST_RISER + DIST_PIPE) = 9900), and every piece of
// either side ends on the riser's own two columns. Side 0's product stands
// at 10000 - 500 - 600 = 8900, its drops at + 50 + c1 = 8990 and + c2 =
// 9090; side 1's at 10500 (+ 600 when side 1 comes first), drops + 90, + 190.
TEST_F(CutDrawingTest, BothSidesOfARiserEndOnItsColumns) {
  struct Case {
    const char* startSide;
    bool swapped;
    double riser;  // x of its supply column; return + 100
    std::vector<double> drops0, drops1;
    const char* length = "3";  // "_LENGTH_RISER"; one that is no length draws nothing
  } const cases[] = {
      {"0", false, 10000, {8990, 9090}, {10590, 10690}},
      {"0", true, 10000, {8990, 9090}, {10590, 10690}},
      {"1", false, 9900, {8990, 9090}, {11190, 11290}},
      {"1", true, 9900, {8990, 9090}, {11190, 11290}},
      {"0", false, 0, {}, {}, "1e300"}, {"0", false, 0, {}, {}, "-0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("start side ") + c.startSide + (c.swapped ? ", swapped" : ""));
    list_.RemoveAll();
    Params(1000);
    params_.m_pipeSwitch = c.swapped;
    params_.m_describeRisers = 1;
    params_.m_riserTextHeight = 2.5;
    params_.m_riserLayer = "RISERS";
    CObjDataNew* riser = AddRecord(list_, kObjectRiser, "1", c.startSide, "1");
    riser->m_riserPosition = "1";
    riser->Runs().m_riserPrefix = "S";
    riser->m_jovData.Properties().SetValue("_LENGTH_RISER", c.length);
    for (const char* side : {"0", "1"}) {
      CObjDataNew* product = AddRecord(list_, kObjectNetworkInsert, "1", side);
      product->m_CM = product->m_CT = side;
      GiveInsert(*product);
      GiveProduct(*product, {"20"}, 1000);
      const double y = *side == '0' ? 0 : 5000;
      AddPipe(list_, kObjectSupplyPipe, "1", side, {0, y, 0}, {2000, y, 0}, true);
      AddPipe(list_, kObjectReturnPipe, "1", side, {0, y + 100, 0}, {2000, y + 100, 0}, true);
    }
    list_.m_shiftMarker = "1";
    CutDrawingFailure failure;
    if (c.riser == 0) {
      EXPECT_EQ(BuildCutDrawing(list_, params_, &failure), 0) << c.length;
      EXPECT_EQ(failure.what, "? (key _LENGTH_RISER)") << c.length;
      continue;
    }
    ASSERT_EQ(BuildCutDrawing(list_, params_), 1);

    std::vector<double> columns, drops[2], ends[2];
    for (const CObjDataNew* r : Made("LWPOLYLINE")) {
      const auto v = Vertices(r);
      if (Value(r->GetChain(), "_NUM_RISER") == "1") {  // the riser's own pipes, 3 m high
        EXPECT_EQ(v, (std::vector<std::pair<double, double>>{{v[0].first, 20000}, {v[0].first, 23000}}));
        columns.push_back(v[0].first);
        continue;
      }
      const int side = Value(r->GetChain(), "_NUM_SIDE") == "1" ? 1 : 0;
      drops[side].push_back(v.front().first);
      ends[side].push_back(v.back().first);
    }
    for (auto* xs : {&columns, &drops[0], &drops[1], &ends[0], &ends[1]}) std::sort(xs->begin(), xs->end());
    EXPECT_EQ(columns, (std::vector<double>{c.riser, c.riser + 100}));
    EXPECT_EQ(drops[0], c.drops0);
    EXPECT_EQ(drops[1], c.drops1);
    EXPECT_EQ(ends[0], columns) << "side 0 ends on the riser's columns";
    EXPECT_EQ(ends[1], columns) << "side 1 ends on the riser's columns";
    EXPECT_EQ(list_.m_displacement, GLVector()) << "the picked riser is the first drawn";
    const std::vector<const CObjDataNew*> texts = Made("TEXT");
    ASSERT_FALSE(texts.empty());
    EXPECT_STREQ(GetEntityString(texts[0]->GetChain(), 1), "S1");
    EXPECT_EQ(list_.m_sectionSupply.GetSize(), list_.m_sectionReturn.GetSize());
  }
}

// Distances that overflow to infinity would be written as 0 and collapse
// the drawing onto the origin: nothing is drawn. Texts of no height (a
// profile without "HEIGHT") are left out, the rest is drawn.
TEST_F(CutDrawingTest, NonFiniteCoordinatesAndZeroSizes) {
  Params(1000);
  AddBranch(1000);
  params_.m_riserDistance = params_.m_elementDistance = 1.7e308;
  EXPECT_EQ(BuildCutDrawing(list_, params_), 0);

  list_.RemoveAll();
  Params(1000);
  AddBranch(1000);
  params_.m_descriptionHeight = params_.m_firstLineHeight = 0.0;
  ASSERT_EQ(BuildCutDrawing(list_, params_), 1);
  EXPECT_TRUE(Made("TEXT").empty()) << "neither descriptions nor the floor's text";
  EXPECT_EQ(Made("INSERT").size(), 2u);
  EXPECT_EQ(list_.m_sectionSupply.GetSize(), 1);
}

TEST_F(CutDrawingTest, NothingToDrawWithoutAStartOrAProductLibrary) {
  Params(1000);
  AddPipe(list_, kObjectSupplyPipe, "1", "0", {0, 0, 0}, {1, 0, 0}, true);
  AddPipe(list_, kObjectReturnPipe, "1", "0", {0, 1, 0}, {1, 1, 0}, true);
  EXPECT_EQ(BuildCutDrawing(list_, params_), 0);
  EXPECT_EQ(list_.GetCount(), 2u) << "no new records";

  list_.RemoveAll();
  AddBranch(1000);
  TheApp().m_pPPGetResbufEx = nullptr;
  EXPECT_EQ(BuildCutDrawing(list_, params_), 0);
  EXPECT_EQ(list_.GetCount(), 4u);
}

// A stopped generation says why: the product's type code, or the branch
// whose pipes cannot be traced.
TEST_F(CutDrawingTest, AStoppedGenerationNamesTheProductOrTheBranch) {
  Params(1000);
  Branch b = AddBranch(1000);
  b.product->m_jovData.m_typeCode = "TXX0000i0077";
  FreeGroupCodeChain(b.product->Runs().m_pProductData);  // the catalogue did not know it
  b.product->Runs().m_pProductData = nullptr;
  CutDrawingFailure failure;
  EXPECT_EQ(BuildCutDrawing(list_, params_, &failure), 0);
  EXPECT_EQ(failure.message, static_cast<UINT>(IDS_CUT_PRODUCT_UNKNOWN));
  EXPECT_STREQ(failure.what, "XYZ (TXX0000i0077, branch 1)");

  GiveProduct(*b.product, {"36"}, 1000);
  EXPECT_EQ(BuildCutDrawing(list_, params_, &failure), 0);
  EXPECT_EQ(failure.message, static_cast<UINT>(IDS_CUT_CONNECTION_MISSING));

  list_.RemoveAll();  // a riser and its product without a pipe between them
  AddRecord(list_, kObjectRiser, "7", "0", "1")->m_riserPosition = "1";
  AddRecord(list_, kObjectNetworkInsert, "7", "0");
  EXPECT_EQ(BuildCutDrawing(list_, params_, &failure), 0);
  EXPECT_EQ(failure.message, static_cast<UINT>(IDS_CUT_BRANCH_UNTRACEABLE));
  EXPECT_STREQ(failure.what, "7");
}

}  // namespace
