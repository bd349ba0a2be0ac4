// Tracing the runs of a picked branch and the look-ups over its records.
#include "jov_vantrix/section/RiserRuns.h"

#include <gtest/gtest.h>

#include <cmath>

#include <cfloat>
#include <vector>

#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/tests/SectionRecords.h"

namespace {

std::vector<const CObjDataNew*> Records(const CPtrArray& array) {
  std::vector<const CObjDataNew*> out;
  for (INT_PTR i = 0; i < array.GetSize(); ++i) out.push_back(static_cast<const CObjDataNew*>(array[i]));
  return out;
}

std::vector<double> Values(const qmArray<double>& array) {
  return std::vector<double>(array.GetData(), array.GetData() + array.GetCount());
}

TEST(RiserRuns, FirstRiserNeedsAPartnerOfItsBranchSide) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, const char*>> records;  // object type and side, all of branch "1"
    int start;                                         // index of the start, -1 for none
  } const cases[] = {
      {"a riser with a product", {{kObjectRiser, "0"}, {kObjectNetworkInsert, "0"}}, 0},
      {"a riser with a riser", {{kObjectRiser, "0"}, {kObjectRiser, "0"}}, 0},
      {"a riser with a skipped insert", {{kObjectRiser, "0"}, {kObjectSkipped, "0"}}, 0},
      {"a branch start with a skipped insert", {{kObjectPickedBranch, "0"}, {kObjectSkipped, "0"}}, -1},
      {"a branch start with a riser", {{kObjectPickedBranch, "1"}, {kObjectRiser, "1"}}, 0},
      {"the partner on the other side", {{kObjectRiser, "0"}, {kObjectNetworkInsert, "1"}}, -1},
      {"pipes are no partners", {{kObjectPickedBranch, "0"}, {kObjectSupplyPipe, "0"}}, -1},
      {"the first that qualifies",
       {{kObjectSupplyPipe, "0"}, {kObjectPickedBranch, "1"}, {kObjectRiser, "0"}, {kObjectNetworkInsert, "0"}},
       2},
  };
  for (const Case& c : cases) {
    CObjSezNew list;
    std::vector<CObjDataNew*> made;
    for (const auto& [type, side] : c.records) made.push_back(AddRecord(list, type, "1", side));
    EXPECT_EQ(FindFirstRiser(list), c.start < 0 ? nullptr : made[c.start]) << c.what;
  }
}

// Branch 1 on side 0 from its start piece (0, 0)-(10, 0): branch 2 leaves
// at (10, 0), so the trace moves on to the piece from there to (20, 0); the
// pieces beyond (20, 0) and (35, 0), where nothing leaves, lengthen that
// step: 10 + 15 + 5.
TEST(RiserRuns, RunIsTracedFromTheStartPieceThroughJointsWhereBranchesLeave) {
  CObjSezNew list;
  CObjDataNew* owner = AddRecord(list, kObjectPickedBranch, "1", "0", "0");
  AddRecord(list, kObjectNetworkInsert, "1", "0");
  CObjDataNew* branch2 = AddRecord(list, kObjectNetworkInsert, "2", "0");
  CObjDataNew* second = AddPipe(list, kObjectSupplyPipe, "1", "0", {20, 0, 0}, {10, 0, 0});
  AddPipe(list, kObjectSupplyPipe, "1", "0", {20, 0, 0}, {35, 0, 0});
  AddPipe(list, kObjectSupplyPipe, "1", "0", {35, 0, 0}, {40, 0, 0});
  CObjDataNew* start = AddPipe(list, kObjectSupplyPipe, "1", "0", {10, 0, 0}, {0, 0, 0}, true);
  AddPipe(list, kObjectSupplyPipe, "2", "0", {10, 0, 0}, {10, 7, 0});
  AddPipe(list, kObjectSupplyPipe, "1", "1", {10, 0, 0}, {5, 0, 0});  // the other side

  CStringArray names;
  CObjDataNew* farEnd = owner;
  ASSERT_TRUE(TracePipeRun(list, kObjectSupplyPipe, "1", "0", "0", names, *owner, farEnd));
  EXPECT_EQ(farEnd, nullptr);
  EXPECT_EQ(Records(RunPieces(*owner, false, kObjectSupplyPipe)),
            (std::vector<const CObjDataNew*>{second, start}))
      << "from the far end towards the start";
  EXPECT_EQ(Values(RunLengths(*owner, false, kObjectSupplyPipe)), (std::vector<double>{30, 10}));
  ASSERT_EQ(names.GetSize(), 1);
  EXPECT_EQ(names[0], "2");
  EXPECT_EQ(Records(BranchRecords(*owner, false)), (std::vector<const CObjDataNew*>{branch2}));
  EXPECT_TRUE(RunPieces(*owner, true, kObjectSupplyPipe).IsEmpty());

  // Both sides: return pipes first (none here), then the supply pipes and
  // the branch's first product at the far end.
  CObjSezNew again;
  CObjDataNew* riser = AddRecord(again, kObjectPickedBranch, "1", "0", "0");
  CObjDataNew* p = AddRecord(again, kObjectNetworkInsert, "1", "0");
  AddPipe(again, kObjectSupplyPipe, "1", "0", {0, 0, 0}, {1, 0, 0}, true);
  EXPECT_EQ(BuildRiserChains(again, riser, "0", ""), 1);
  EXPECT_EQ(Records(BranchRecords(*riser, false)), (std::vector<const CObjDataNew*>{p}));
  EXPECT_TRUE(BranchRecords(*riser, true).IsEmpty());
  riser->m_sideNumber = "1";
  EXPECT_EQ(BuildRiserChains(again, riser, "0", "1"), 0) << "its own side has no supply start";
  EXPECT_EQ(BuildRiserChains(again, nullptr, "0", ""), 0);
}

// A ring: the trace takes the piece at whose joint a branch leaves before
// one where nothing does, and walks every piece once. Two branches leaving
// one joint both stand in the run, the second with no length before it.
TEST(RiserRuns, RingsAndJointsOfTwoBranchesAreWalkedWhole) {
  CObjSezNew list;
  CObjDataNew* owner = AddRecord(list, kObjectPickedBranch, "1", "0", "0");
  CObjDataNew* start = AddPipe(list, kObjectSupplyPipe, "1", "0", {0, 0, 0}, {10, 0, 0}, true);
  AddPipe(list, kObjectSupplyPipe, "1", "0", {10, 0, 0}, {0, 10, 0});                 // meets (10, 0), then (0, 10)
  CObjDataNew* back = AddPipe(list, kObjectSupplyPipe, "1", "0", {0, 0, 0}, {0, 10, 0});  // taken at (0, 0)
  AddPipe(list, kObjectSupplyPipe, "2", "0", {0, 0, 0}, {-5, 0, 0});                  // branches 2 and 3 leave
  AddPipe(list, kObjectSupplyPipe, "3", "0", {0, 0, 0}, {0, -5, 0});                  // at (0, 0)
  CObjDataNew* branch2 = AddRecord(list, kObjectNetworkInsert, "2", "0");
  CObjDataNew* branch3 = AddRecord(list, kObjectNetworkInsert, "3", "0");
  CStringArray names;
  CObjDataNew* farEnd = nullptr;
  ASSERT_TRUE(TracePipeRun(list, kObjectSupplyPipe, "1", "0", "0", names, *owner, farEnd));
  EXPECT_EQ(Records(RunPieces(*owner, false, kObjectSupplyPipe)),
            (std::vector<const CObjDataNew*>{nullptr, back, start}));
  const std::vector<double> lengths = Values(RunLengths(*owner, false, kObjectSupplyPipe));
  ASSERT_EQ(lengths.size(), 3u);
  EXPECT_EQ(lengths[0], 0.0);
  EXPECT_NEAR(lengths[1], 10 + std::sqrt(200.0), 1e-9);
  EXPECT_EQ(lengths[2], 10.0);
  EXPECT_EQ(Records(BranchRecords(*owner, false)), (std::vector<const CObjDataNew*>{branch3, branch2}));
  ASSERT_EQ(names.GetSize(), 2);
}

// A riser of another number on the branch side is the far end; its run
// pipe is the start. For a riser owner without a start, its own run pipe.
TEST(RiserRuns, RiserOfAnotherNumberIsTheFarEnd) {
  CObjSezNew list;
  CObjDataNew* owner = AddRecord(list, kObjectRiser, "1", "0", "1");
  CObjDataNew* other = AddRecord(list, kObjectRiser, "1", "0", "2");
  CObjDataNew* pipe = AddPipe(list, kObjectSupplyPipe, "1", "0", {0, 0, 0}, {1, 0, 0});
  pipe->m_riserNumber = "2";
  CStringArray names;
  CObjDataNew* farEnd = nullptr;
  ASSERT_TRUE(TracePipeRun(list, kObjectSupplyPipe, "1", "0", "1", names, *owner, farEnd));
  EXPECT_EQ(farEnd, other);
  EXPECT_EQ(Records(RunPieces(*owner, false, kObjectSupplyPipe)), (std::vector<const CObjDataNew*>{pipe}));

  CObjSezNew single;
  CObjDataNew* riser = AddRecord(single, kObjectRiser, "1", "0", "1");
  CObjDataNew* own = AddPipe(single, kObjectSupplyPipe, "1", "0", {0, 0, 0}, {1, 0, 0});
  own->m_riserNumber = "1";
  ASSERT_TRUE(TracePipeRun(single, kObjectSupplyPipe, "1", "0", "1", names, *riser, farEnd));
  EXPECT_EQ(farEnd, riser);
  EXPECT_EQ(FindRunPipe(single, kObjectSupplyPipe, "1", "1", "0", true), own);
  EXPECT_EQ(FindRunPipe(single, kObjectSupplyPipe, "1", "1", "0", false), nullptr);
}

TEST(RiserRuns, LookUpsOfPairsBranchesAndLengths) {
  CObjSezNew list;
  CObjDataNew* riser = AddRecord(list, kObjectRiser, "1", "0", "1");
  CObjDataNew* product = AddRecord(list, kObjectNetworkInsert, "1", "0");
  product->m_CM = riser->m_CM = "3";
  product->m_CT = riser->m_CT = "T";
  CObjDataNew* supply = AddPipe(list, kObjectSupplyPipe, "1", "0", {0, 0, 0}, {4, 0, 0});
  supply->m_riserNumber = "1";
  supply->m_CM = "3";
  supply->m_CT = "T";

  CObjDataNew* a = nullptr;
  CObjDataNew* b = nullptr;
  EXPECT_FALSE(FindPipePairByRiser(list, *riser, a, b)) << "one of the two alone";
  EXPECT_EQ(a, supply);
  EXPECT_EQ(b, nullptr);
  CObjDataNew* ret = AddPipe(list, kObjectReturnPipe, "1", "0", {0, -1, 0}, {5, -1, 0});
  ret->m_riserNumber = "1";
  ret->m_CM = "3";
  ret->m_CT = "T";
  EXPECT_TRUE(FindPipePairByRiser(list, *riser, a, b));
  EXPECT_EQ(b, ret);
  EXPECT_TRUE(FindPipePairByCodes(list, *product, a, b));
  ret->m_CT = "U";
  EXPECT_FALSE(FindPipePairByCodes(list, *product, a, b));

  EXPECT_EQ(FindBranchRecord(list, "1", "0", false), product);
  EXPECT_EQ(FindBranchRecord(list, "1", "0", true), riser);
  EXPECT_EQ(FindBranchRecord(list, "1", "1", true), nullptr);
  CStringArray pipes;
  pipes.Add("stale");
  EXPECT_EQ(CollectBranchPipes(list, "1", "0", pipes), 1);
  EXPECT_EQ(pipes[0], "1");

  EXPECT_DOUBLE_EQ(GetBranchPipeLength(list, *product, kObjectSupplyPipe), 4.0);
  EXPECT_DOUBLE_EQ(GetBranchPipeLength(list, *product, kObjectReturnPipe), 5.0);
  EXPECT_DOUBLE_EQ(GetBranchPipeLength(list, *riser, kObjectSupplyPipe), 0.0) << "no product";
}

TEST(RiserRuns, ChainWidthOfRuns) {
  CObjSezNew list;
  JovCutParams params;
  params.m_riserDistance = 500;
  params.m_elementDistance = 300;
  params.m_sameLength = 700;
  CObjDataNew* first = AddRecord(list, kObjectNetworkInsert, "1", "0");
  CObjDataNew* second = AddRecord(list, kObjectNetworkInsert, "1", "0");
  first->m_jovData.Properties().SetValue("L", "1000");
  second->m_jovData.Properties().SetValue("L", "600");
  CPtrArray run;
  run.Add(first);
  EXPECT_DOUBLE_EQ(GetChainWidth(list, params, run), 200) << "one record: DIST_RISER - DIST_ELM";
  run.Add(second);
  run.Add(nullptr);
  EXPECT_DOUBLE_EQ(GetChainWidth(list, params, run), 500 + 300 + 600) << "L after the first";
  params.m_sameLengthOn = true;
  EXPECT_DOUBLE_EQ(GetChainWidth(list, params, run), 500 + 300 + 2 * 700);
}

TEST(RiserRuns, EmptyBoxHasNoSize) {
  CObjDataNew record(0, kObjectNetworkInsert, nullptr, 0);
  EXPECT_EQ(RecordWidth(record), 0.0);
  EXPECT_EQ(RecordHeight(record), 0.0);
  record.Runs().m_boxMin = GLVector(-1, 2, 0);
  record.Runs().m_boxMax = GLVector(5, 3, 0);
  EXPECT_EQ(RecordWidth(record), 6.0);
  EXPECT_EQ(RecordHeight(record), 1.0);
}

}  // namespace
