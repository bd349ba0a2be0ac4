#include "jov_vantrix/network/CObjDataNew.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <memory>
#include <string>

#include "common/CResourceQmr.h"
#include "common/GroupChainBuilder.h"
#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/CObjConnPntNew.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "jov_vantrix/tests/NetworkFixtures.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/resources.h"

namespace {

void ExpectPoint(const GLVector& p, double x, double y, double z) {
  EXPECT_DOUBLE_EQ(p.x, x);
  EXPECT_DOUBLE_EQ(p.y, y);
  EXPECT_DOUBLE_EQ(p.z, z);
}

// A pipe segment record with the given ends.
CObjDataNew* Segment(int objectType, const char* riser, GLVector start, GLVector end) {
  auto* r = new CObjDataNew(0, objectType, nullptr, 0);
  r->m_riserNumber = riser;
  r->m_start = start;
  r->m_end = end;
  return r;
}

}  // namespace

TEST(CObjDataNew, RecordOfALineKeepsACopyAndMeasuresIt) {
  TestChain chain;
  chain.Name(-1, 77, 0).Text(0, "LINE").Text(8, "0").Point(10, 0, 0, 0).Real(39, 0.5).Point(11, 3, 4, 0);
  CObjDataNew record(3, 5, chain.Head(), 12);
  EXPECT_EQ(record.m_index, 12u);
  EXPECT_EQ(record.m_entityKind, 3);
  EXPECT_EQ(record.m_objectType, 5);
  ASSERT_NE(record.m_entityChain.GetChain(), nullptr);
  EXPECT_NE(record.m_entityChain.GetChain(), chain.Head()) << "a copy, not the host's chain";
  EXPECT_EQ(record.GetChain(), record.m_entityChain.GetChain());
  ExpectPoint(record.m_start, 0, 0, 0);
  // the end is group 11, wherever it stands
  ExpectPoint(record.m_end, 3, 4, 0);
  EXPECT_DOUBLE_EQ(record.m_length, 5.0);

  EXPECT_EQ(record.GetNumber(), 0);
  EXPECT_EQ(record.GetReadConnect(), 0);
  EXPECT_TRUE(record.m_flag1 && record.m_flag2 && record.m_ownsBuiltChain);
  EXPECT_FALSE(record.m_offsetFlag);
  EXPECT_EQ(record.RunsOrNone().m_boxMin.x, DBL_MAX);
  EXPECT_EQ(record.RunsOrNone().m_boxMax.z, -DBL_MAX);
  EXPECT_STREQ(record.m_jovData.m_typeCode, "") << "extended data is read by the readers";

  // The riser runs' part starts empty when first asked for and is the same
  // part after.
  CObjDataNew::RunPart& runs = record.Runs();
  EXPECT_EQ(runs.m_values1.GetCount() + runs.m_related[5].GetSize() + runs.m_texts2.GetSize(), 0);
  runs.m_values4.Add(2.5);
  runs.m_related[5].Add(&record);
  EXPECT_EQ(&record.Runs(), &runs);
  ASSERT_EQ(record.Runs().m_values4.GetCount(), 1);
  EXPECT_EQ(record.Runs().m_values4.ElementAt(0), 2.5);
  EXPECT_EQ(record.Runs().m_related[5][0], &record);
}

TEST(CObjDataNew, PolylineLengthIsTheSumOfItsStraightSegments) {
  TestChain chain;
  chain.Text(0, "LWPOLYLINE").Text(8, "P").Point(10, 0, 0, 0).Real(42, 1.0).Point(10, 1, 0, 0);
  chain.Point(10, 1, 1, 0).Text(1001, "JOV_DATA").Point(1010, 9, 9, 9);
  CObjDataNew record(0, 0, chain.Head(), 0);
  ExpectPoint(record.m_start, 0, 0, 0);
  ExpectPoint(record.m_end, 1, 1, 0);
  EXPECT_DOUBLE_EQ(record.m_length, 2.0);
}

TEST(CObjDataNew, OtherEntitiesAndMissingChainsHaveNoPath) {
  TestChain circle;
  circle.Text(0, "CIRCLE").Point(10, 5, 5, 0).Real(40, 2.0);
  CObjDataNew round(5, 0, circle.Head(), 0);
  ExpectPoint(round.m_start, 0, 0, 0);
  ExpectPoint(round.m_end, 0, 0, 0);
  EXPECT_EQ(round.m_length, 0.0);

  CObjDataNew none(0, 0, nullptr, 0);
  none.m_length = 7.0;
  GLVector start(1, 1, 1);
  GetPathEndsAndLength(&none, start, none.m_end, none.m_length);
  EXPECT_EQ(none.m_length, 7.0) << "without a chain nothing changes";
  ExpectPoint(start, 1, 1, 1);

  TestChain headless;
  headless.Text(8, "0").Point(10, 1, 2, 3);
  CObjDataNew odd(0, 0, headless.Head(), 0);
  EXPECT_EQ(odd.m_length, 0.0);
  ExpectPoint(odd.m_start, 0, 0, 0);
}

TEST(CObjDataNew, CopyStandsForItsSourceUnderNewNumbers) {
  TestChain chain;
  chain.Text(0, "LINE").Point(10, 0, 0, 0).Point(11, 3, 4, 0);
  CObjDataNew source(2, 5, chain.Head(), 9);
  source.SetReadNumber(4);
  source.SetReadConnect(3);
  source.m_branchName = "B";
  source.m_riserNumber = "1";
  source.Runs().m_riserPrefix = "S";
  source.m_riserPosition = "1";
  source.m_CM = "3";
  source.m_CT = "T";
  source.m_assoc = "A1";
  source.m_schemeAssoc = "S1";
  source.m_linkHandle = "123";
  source.Runs().m_thirdProperty = "P3";
  source.m_jovData.m_typeCode = "TPP0015i0001";

  CObjDataNew copy(source, 40, 7);
  EXPECT_EQ(copy.GetNumber(), 40);
  EXPECT_EQ(copy.GetConnect(), 7);
  EXPECT_EQ(copy.GetReadNumber(), 0);
  EXPECT_EQ(copy.GetReadConnect(), 0);
  EXPECT_EQ(copy.m_index, 9u);
  EXPECT_EQ(copy.m_entityKind, 2);
  EXPECT_EQ(copy.m_objectType, 5);
  EXPECT_STREQ(copy.m_branchName, "B");
  EXPECT_STREQ(copy.RunsOrNone().m_riserPrefix, "S");
  EXPECT_STREQ(copy.m_CM, "3");
  EXPECT_STREQ(copy.m_assoc, "A1");
  EXPECT_STREQ(copy.RunsOrNone().m_thirdProperty, "P3");
  EXPECT_STREQ(copy.m_riserNumber, "") << "a copy is no segment";
  EXPECT_STREQ(copy.m_riserPosition, "");
  EXPECT_STREQ(copy.m_linkHandle, "");
  EXPECT_EQ(copy.GetChain(), nullptr);
  EXPECT_STREQ(copy.m_jovData.m_typeCode, "");
  ExpectPoint(copy.m_end, 0, 0, 0);
  EXPECT_EQ(copy.m_length, 20.0);
  EXPECT_FALSE(IsSegmentOfType(&copy, 5));
}

TEST(CObjDataNew, BuiltChainIsFreedOnlyWhileOwned) {
  GroupChainBuilder builder(0);
  resbuf* kept = builder.Build(0, "LINE", 8, "0", -9);
  {
    CObjDataNew record(1, 0, nullptr, 0xFFFFFFFF);
    record.SetBuiltChain(builder.Build(0, "TEXT", 8, "0", -9));
    record.SetBuiltChain(builder.Build(0, "CIRCLE", 8, "0", -9));  // the TEXT goes
    EXPECT_STREQ(record.GetChain()->value.text, "CIRCLE");
    record.Runs().m_pProductGeometry = builder.Build(0, "LINE", -9);
    record.Runs().m_pProductData = builder.Build(1001, "JOV_DATA", -9);
  }
  {
    CObjDataNew record(1, 0, nullptr, 0);
    record.m_pBuiltChain = kept;
    record.m_ownsBuiltChain = false;
  }
  EXPECT_STREQ(kept->value.text, "LINE") << "still alive";
  FreeGroupCodeChain(kept);
}

TEST(CObjDataNew, SegmentsTouchWithinTheTolerance) {
  std::unique_ptr<CObjDataNew> a(Segment(5, "1", {0, 0, 0}, {10, 0, 0}));
  std::unique_ptr<CObjDataNew> near(Segment(5, "1", {10 + 0.5e-5, 0, 0}, {20, 0, 0}));
  std::unique_ptr<CObjDataNew> far(Segment(5, "1", {10 + 2e-5, 0, 0}, {20, 0, 0}));
  std::unique_ptr<CObjDataNew> endToStart(Segment(5, "2", {-5, 0, 0}, {0, 0, 1e-6}));
  EXPECT_TRUE(IsConnectedTo(a.get(), near.get()));
  EXPECT_FALSE(IsConnectedTo(a.get(), far.get()));
  EXPECT_TRUE(IsConnectedTo(a.get(), endToStart.get())) << "any end with any end";

  std::unique_ptr<CObjDataNew> otherKind(Segment(6, "1", {10, 0, 0}, {20, 0, 0}));
  std::unique_ptr<CObjDataNew> noRiser(Segment(5, "", {10, 0, 0}, {20, 0, 0}));
  EXPECT_FALSE(IsConnectedTo(a.get(), otherKind.get()));
  EXPECT_FALSE(IsConnectedTo(a.get(), noRiser.get()));
  EXPECT_TRUE(IsConnectedTo(noRiser.get(), a.get())) << "only the other must be a segment";
}

TEST(CObjDataNew, BoundingBoxLeavesOutConnectionMarkers) {
  TestChain chain;
  chain.Text(0, "LINE").Text(8, "0").Point(10, 0, 0, 0).Point(11, 1000, 600, 0);
  chain.Text(0, "CIRCLE").Text(8, "DEFPOINTS").Point(10, 5000, 0, 0).Real(40, 5.0);
  CObjDataNew millimetres(0, 0, nullptr, 0);
  ComputeBoundingBox(&millimetres, chain.Head(), 1000);
  ExpectPoint(millimetres.RunsOrNone().m_boxMin, 0, 0, 0);
  ExpectPoint(millimetres.RunsOrNone().m_boxMax, 1000, 600, 0);

  CObjDataNew metres(0, 0, nullptr, 0);
  ComputeBoundingBox(&metres, chain.Head(), 1);
  ExpectPoint(metres.RunsOrNone().m_boxMax, 1, 0.6, 0);

  TestChain more;
  more.Text(0, "LINE").Text(8, "0").Point(10, -200, 0, 0).Point(11, 0, 0, 0);
  ComputeBoundingBox(&millimetres, more.Head(), 1000);
  // the box grows, it is not reset
  ExpectPoint(millimetres.RunsOrNone().m_boxMin, -200, 0, 0);
  ExpectPoint(millimetres.RunsOrNone().m_boxMax, 1000, 600, 0);
}

TEST(CObjDataNew, ConnectionPointIsTheMarkersCentre) {
  TestChain symbol;
  symbol.Text(0, "CIRCLE").Text(8, "DEFPOINTS").Point(10, 50, 0, 0).Real(40, 5.0);
  symbol.Text(0, "CIRCLE").Text(8, "DEFPOINTS").Point(10, 950, 600, 0).Real(40, 5.0);
  resbuf* first = symbol.Head();
  resbuf* second = first->next->next->next->next;
  ASSERT_STREQ(second->value.text, "CIRCLE");
  CSeznam points;
  points.AddTail(new CObjConnPntNew(first));
  points.AddTail(new CObjConnPntNew(second));
  GLVector out(-1, -1, -1);
  GetConnectionPoint(points, 1, out);
  ExpectPoint(out, 950, 600, 0);
  GetConnectionPoint(points, 0, out);
  ExpectPoint(out, 50, 0, 0);
  GetConnectionPoint(points, 2, out);
  // unchanged past the end
  ExpectPoint(out, 50, 0, 0);
}

TEST(CObjDataNew, PartnerIsTheNetworkInsertOfTheSameDescription) {
  CNumSezNew group(1);
  auto* pipe = Segment(5, "1", {}, {});
  pipe->m_CM = "3";
  pipe->m_CT = "T1";
  auto* wrongType = new CObjDataNew(0, 1, nullptr, 1);
  wrongType->m_CM = "3";
  wrongType->m_CT = "T1";
  auto* otherCt = new CObjDataNew(0, 2, nullptr, 2);
  otherCt->m_CM = "3";
  otherCt->m_CT = "T2";
  auto* partner = new CObjDataNew(0, 2, nullptr, 3);
  partner->m_CM = "3";
  partner->m_CT = "T1";
  for (CObjDataNew* r : {pipe, wrongType, otherCt, partner}) group.AddRecord(r);

  EXPECT_EQ(FindPartnerRecord(pipe), partner);
  pipe->m_CT.Empty();
  EXPECT_EQ(FindPartnerRecord(pipe), nullptr);
  CObjDataNew loose(0, 5, nullptr, 0);
  loose.m_CM = "3";
  loose.m_CT = "T1";
  EXPECT_EQ(FindPartnerRecord(&loose), nullptr) << "no group";
}

TEST(CObjDataNew, TypeClassComesFromTheResourceStrings) {
  CResourceQmr resources(JOV_TEST_MODULE_DIR "/Jov_Vantrix.qmr");
  ASSERT_TRUE(resources.IsLoaded());
  const struct {
    UINT id;
    int typeClass;
  } cases[] = {{IDS_TY_VALVE, 1}, {IDS_TY_FITTING, 0}, {IDS_TY_CONVECTOR, 3},
               {IDS_TY_RADIATOR, 2}, {IDS_TY_MANIFOLD, 4}};
  CObjDataNew record(0, 2, nullptr, 0);
  EXPECT_EQ(GetRecordTypeClass(&record), 0) << "no TY";
  for (const auto& c : cases) {
    char name[64];
    ASSERT_GT(LoadStringA(AfxGetResourceHandle(), c.id, name, sizeof name), 0) << c.id;
    record.m_jovData.Properties().SetValue("TY", name);
    EXPECT_EQ(GetRecordTypeClass(&record), c.typeClass) << name;
  }
  record.m_jovData.Properties().SetValue("TY", "no such kind");
  EXPECT_EQ(GetRecordTypeClass(&record), 0);
}

TEST(CObjDataNew, WithoutResourcesNoTypeMatchesEvenAnEmptyOne) {
  CObjDataNew record(0, 2, nullptr, 0);
  record.m_jovData.Properties().SetValue("TY", "");
  EXPECT_EQ(GetRecordTypeClass(&record), 0);
}

TEST(CObjDataNew, ARunTextMakesThePartOnlyForAValue) {
  const CObjDataNew none(0, 0, nullptr, 0);
  const RecordTextField cr{nullptr, &CObjDataNew::RunPart::m_CR};
  CObjDataNew record(0, 0, nullptr, 0);
  // Each step on the same record: text set, part made after it, text read.
  const struct {
    const char* text;
    bool made;
    const char* read;
  } kSteps[] = {{nullptr, false, ""}, {"", false, ""}, {"x", true, "x"}, {"", true, ""}, {"yz", true, "yz"}};
  for (const auto& step : kSteps) {
    cr.Set(record, step.text);
    EXPECT_EQ(&record.RunsOrNone() != &none.RunsOrNone(), step.made) << (step.text ? step.text : "null");
    EXPECT_STREQ(record.RunsOrNone().m_CR, step.read);
  }
}
