// Pipe pairs, risers and link data of a section.
#include "jov_vantrix/section/SectionPipes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/GroupChainBuilder.h"
#include "jov_vantrix/network/CObjPntNew.h"
#include "jov_vantrix/section/SectionNumbering.h"
#include "jov_vantrix/tests/RecordingHost.h"
#include "jov_vantrix/tests/SectionRecords.h"
#include "jov_vantrix/tests/TestClock.h"

namespace {


int g_failures = 0;
std::time_t FailingClock() {
  ++g_failures;
  return -1;
}

void Params(JovCutParams& p) {
  p.m_units = 1000;
  p.m_pipeFloorDistance = 300;
  p.m_pipeDistance = 100;
  p.m_pipe1TypeCode = "TPP0000i0001";
  p.m_pipe1Layer = "PIPE_S";
  p.m_pipe2TypeCode = "TPZ0000i0001";
  p.m_pipe2Layer = "PIPE_R";
  p.m_text4 = "BUBBLES";
  p.m_riserLayer = "RISERS";
}

TEST(SectionPipes, LinkIdsAreTheMomentPlusTheRecordCountInDigits) {
  CObjSezNew list;
  char id[kLinkIdSize];
  MakeLinkId(list, &MarchFifthMoment, id);
  EXPECT_STREQ(id, "413385882986111") << "41338.5882986111: 5 March 2013, 14:07:09";
  char again[kLinkIdSize];
  MakeLinkId(list, &MarchFifthMoment, again);
  EXPECT_STREQ(again, id) << "same second, same list";
  AddRecord(list, kObjectOther, "1", "0");
  MakeLinkId(list, &MarchFifthMoment, again);
  EXPECT_STREQ(again, "413395882986111") << "the list grew: another identifier";

  g_failures = 0;
  MakeLinkId(list, &FailingClock, id);
  EXPECT_EQ(g_failures, 3) << "a failing clock is asked a few times, not for ever";
  EXPECT_STREQ(id, "10000000000");
}

TEST(SectionPipes, LinkDataReplacesTheOldLinkAndDropsTheHandle) {
  CObjSezNew list;
  OwnedChain entity(GroupChainBuilder(0).Build(0, "LWPOLYLINE", 5, "3D", 8, "NET", -3, nullptr, 1001, "JOV_LINK",
                                              1000, "111", 1001, "JOV_DATA", 1000, "TPP0000-0001", 1001,
                                              "jov_link", 1000, "222", -9));
  CObjDataNew pipe(0, kObjectSupplyPipe, entity.get(), 0);
  SetLinkData(list, &pipe, "333");
  SetLinkData(list, &pipe, "444");  // the first built chain is freed
  EXPECT_EQ(DescribeChain(pipe.m_pBuiltChain),
            (std::vector<std::string>{"0:LWPOLYLINE", "8:NET", "-3:?", "1001:JOV_DATA", "1000:TPP0000-0001",
                                      "1001:JOV_LINK", "1000:444"}));
  EXPECT_EQ(DescribeChain(pipe.m_entityChain.GetChain()).size(), 10u) << "the chain as read stays";

  // A link name that ends the chain is no block.
  OwnedChain tail(GroupChainBuilder(0).Build(0, "LINE", 1001, "JOV_LINK", -9));
  CObjDataNew line(0, 0, tail.get(), 0);
  SetLinkData(list, &line, "5");
  EXPECT_EQ(DescribeChain(line.m_pBuiltChain),
            (std::vector<std::string>{"0:LINE", "1001:JOV_LINK", "1001:JOV_LINK", "1000:5"}));
  CObjDataNew built(0, 0, nullptr, 0);
  SetLinkData(list, &built, "5");
  SetLinkData(list, nullptr, "5");
  EXPECT_EQ(built.m_pBuiltChain, nullptr);
}

// A riser's two pipes by its position, with the part of its length drawn
// added to the lengths it carries.
TEST(SectionPipes, RiserPipesByTheirPosition) {
  struct Case {
    const char* position;
    std::vector<std::pair<double, double>> supply, ret;
    const char* length;
  } const cases[] = {
      {"2", {{1000, 0}, {1000, 400}}, {{1100, 300}, {1100, 0}}, "2210.000"},
      {"1", {{1000, 0}, {1000, 2500}}, {{1100, 0}, {1100, 2500}}, "2510.000"},
      {"0", {{1000, 400}, {1000, 2500}}, {{1100, 300}, {1100, 2500}}, "2210.000"},
      {"", {{1000, 0}, {1000, 0}}, {{1100, 0}, {1100, 0}}, "10.000"},
  };
  for (const Case& c : cases) {
    PlainHost host;
    CObjSezNew list;
    JovCutParams params;
    Params(params);
    params.m_describeRisers = 0;
    CObjDataNew* riser = AddRecord(list, kObjectRiser, "1", "0", "7");
    riser->m_riserPosition = c.position;
    riser->m_jovData.Properties().SetValue("_LENGTH_RISER", "-2.5");
    DrawRiser(list, params, *riser, GLVector(1000, 0, 0), 10, 10, nullptr, nullptr);
    ASSERT_EQ(list.m_runSupply.GetSize(), 1) << c.position;
    ASSERT_EQ(list.m_runReturn.GetSize(), 1) << c.position;
    const CObjDataNew* supply = At(list.m_runSupply, 0);
    const CObjDataNew* ret = At(list.m_runReturn, 0);
    EXPECT_EQ(Vertices(supply), c.supply) << c.position;
    EXPECT_EQ(Vertices(ret), c.ret) << c.position;
    EXPECT_EQ(Value(supply->GetChain(), "_LENGTH_SEGMENT"), c.length) << c.position;
    EXPECT_EQ(Value(supply->GetChain(), "_NUM_RISER"), "7") << "the riser's own keys";
    EXPECT_EQ(list.GetCount(), 3u) << "no label without DESC_RISER";
  }
}

TEST(SectionPipes, RiserLabelsInABubbleOrAlone) {
  PlainHost host;
  CObjSezNew list;
  JovCutParams params;
  Params(params);
  params.m_riserBubble = 1;
  params.m_riserBubbleDiameter = 8;
  params.m_riserTextHeight = 3;
  params.m_bubbleDistance2 = 300;
  params.m_bubbleDistance3 = 100;
  CObjDataNew* riser = AddRecord(list, kObjectRiser, "1", "0", "7");
  riser->Runs().m_riserPrefix = "S";
  riser->m_riserPosition = "1";
  riser->m_jovData.Properties().SetValue("_LENGTH_RISER", "2");
  DrawRiser(list, params, *riser, GLVector(1000, 0, 0), 0, 0, nullptr, nullptr);
  std::vector<std::string> kinds;
  for (const CObjDataNew* r = riser->GetNextRecord(); r; r = r->GetNextRecord())
    kinds.push_back(std::string(GetEntityString(r->GetChain(), 0)) + " " + GetEntityString(r->GetChain(), 8));
  EXPECT_EQ(kinds, (std::vector<std::string>{"LWPOLYLINE PIPE_S", "LWPOLYLINE PIPE_R", "LINE BUBBLES",
                                             "CIRCLE BUBBLES", "TEXT RISERS"}));
  const CObjDataNew* text = static_cast<const CObjDataNew*>(list.GetAt(static_cast<int>(list.GetCount()) - 1));
  EXPECT_STREQ(GetEntityString(text->GetChain(), 1), "S7");
  GLVector at;
  GetEntityPoint(text->GetChain(), at, 11);
  EXPECT_EQ(at, GLVector(1050, 2000 + 100 + 300 + 4, 0)) << "in the bubble's centre";

  // Without a number: the bubble, no text.
  riser->m_riserNumber.Empty();
  uint32_t before = list.GetCount();
  DrawRiser(list, params, *riser, GLVector(1000, 0, 0), 0, 0, nullptr, nullptr);
  EXPECT_EQ(list.GetCount(), before + 4);

  // A bubble of no size: neither it nor its stem; the text stands alone.
  riser->m_riserNumber = "7";
  params.m_riserBubbleDiameter = 0;
  before = list.GetCount();
  DrawRiser(list, params, *riser, GLVector(1000, 0, 0), 0, 0, nullptr, nullptr);
  ASSERT_EQ(list.GetCount(), before + 3) << "two pipes and the text";
  const CObjDataNew* alone = static_cast<const CObjDataNew*>(list.GetAt(static_cast<int>(list.GetCount()) - 1));
  GetEntityPoint(alone->GetChain(), at, 11);
  EXPECT_EQ(at, GLVector(1050, 2000 + 100 + 1.5, 0));
}

// With the pipe switch the two pieces exchange layer, data and numbered
// run; their geometry stays.
TEST(SectionPipes, PipeSwitchExchangesLayerDataAndRunButNotGeometry) {
  for (bool swap : {false, true}) {
    PlainHost host;
    CObjSezNew list;
    JovCutParams params(&MarchFifthMoment);
    Params(params);
    params.m_pipeSwitch = swap;
    OwnedChain f(GroupChainBuilder(0).Build(0, "LWPOLYLINE", 5, "3D", -9));
    OwnedChain r(GroupChainBuilder(0).Build(0, "LWPOLYLINE", 5, "3E", -9));
    CObjDataNew* sourceA = AddRecord(list, kObjectSupplyPipe, "1", "0");
    CObjDataNew* sourceB = AddRecord(list, kObjectReturnPipe, "1", "0");
    sourceA->m_entityChain.Assign(f.get());
    sourceB->m_entityChain.Assign(r.get());
    CSeznam pointsA, pointsB;
    pointsA.AddTail(new CObjPntNew(GLVector(0, 10, 0)));
    pointsB.AddTail(new CObjPntNew(GLVector(0, 5, 0)));
    GLVector a0(0, 10, 0), b0(0, 5, 0);
    DrawPipePair(list, params, "1", "V1", "0", a0, GLVector(50, 10, 0), b0, GLVector(60, 5, 0), 1.5, 2.5,
                 pointsA, pointsB, true, false, false, sourceA, sourceB, nullptr);
    EXPECT_EQ(a0, GLVector(50, 10, 0));
    EXPECT_EQ(b0, GLVector(60, 5, 0));
    EXPECT_EQ(pointsA.GetCount(), 0u);

    const CObjDataNew* pieceA = At(swap ? list.m_runReturn : list.m_runSupply, 0);
    const CObjDataNew* pieceB = At(swap ? list.m_runSupply : list.m_runReturn, 0);
    EXPECT_EQ(Vertices(pieceA), (std::vector<std::pair<double, double>>{{0, 10}, {50, 10}}));
    EXPECT_EQ(Vertices(pieceB), (std::vector<std::pair<double, double>>{{0, 5}, {60, 5}}));
    EXPECT_STREQ(GetEntityString(pieceA->GetChain(), 8), swap ? "PIPE_R" : "PIPE_S");
    EXPECT_EQ(TypeCode(pieceA->GetChain()), swap ? "TPZ0000i0001" : "TPP0000i0001");
    EXPECT_EQ(Value(pieceA->GetChain(), "_LENGTH_SEGMENT"), swap ? "2.500" : "1.500");
    EXPECT_EQ(TypeCode(pieceB->GetChain()), swap ? "TPP0000i0001" : "TPZ0000i0001");

    // One identifier for the network pipes and both pieces.
    const std::string id = Link(sourceA->GetChain());
    EXPECT_FALSE(id.empty());
    EXPECT_EQ(Link(sourceB->GetChain()), id);
    EXPECT_EQ(Link(pieceA->GetChain()), id);
    EXPECT_EQ(Link(pieceB->GetChain()), id);
  }
}

// A piece goes in before the run's last unless it belongs to a riser or
// the connection is forced.
TEST(SectionPipes, PiecesGoBeforeTheRunsLastUnlessForcedOrOfARiser) {
  PlainHost host;
  CObjSezNew list;
  JovCutParams params;
  Params(params);
  auto draw = [&](bool force, CObjDataNew* riser) {
    CSeznam a, b;
    a.AddTail(new CObjPntNew(GLVector(0, 0, 0)));
    b.AddTail(new CObjPntNew(GLVector(0, 0, 0)));
    GLVector a0, b0;
    DrawPipePair(list, params, "1", "V1", "0", a0, GLVector(1, 0, 0), b0, GLVector(1, 0, 0), 0, 0, a, b, true,
                 force, false, nullptr, nullptr, riser);
    return At(list.m_runSupply, list.m_runSupply.GetSize() - 1);
  };
  const CObjDataNew* first = draw(false, nullptr);  // an empty run takes it at its end
  const CObjDataNew* forced = draw(true, nullptr);
  EXPECT_NE(forced, first);
  draw(false, nullptr);
  EXPECT_EQ(At(list.m_runSupply, 2), forced) << "inserted before the last";
  CObjDataNew* riser = AddRecord(list, kObjectRiser, "1", "0", "3");
  const CObjDataNew* own = draw(false, riser);
  EXPECT_EQ(Value(own->GetChain(), "_NUM_RISER"), "3");
  EXPECT_EQ(list.m_runSupply.GetSize(), 4);
}

}  // namespace
