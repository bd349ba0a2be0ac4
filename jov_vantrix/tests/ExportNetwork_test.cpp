// The export at list level on networks made here: reading a selection into
// the scheme, numbering its groups and the section list it gives.
#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <tuple>
#include <vector>

#include "common/CNumberingSnapshot.h"
#include "common/HostExport2D.h"
#include "common/SlabsAhead.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/CSecDataNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/CUndoArray.h"
#include "jov_vantrix/network/ExportNetworkReader.h"
#include "jov_vantrix/section/SectionNumbering.h"
#include "jov_vantrix/network/ExportParams.h"
#include "jov_vantrix/network/ExportSectionList.h"
#include "jov_vantrix/network/NetworkIndex.h"
#include "jov_vantrix/network/NetworkRecords.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "jov_vantrix/network/SectionFile.h"
#include "jov_vantrix/tests/NetworkChains.h"
#include "jov_vantrix/tests/NetworkFixtures.h"

namespace {

using Props = std::vector<std::pair<std::string, std::string>>;

Props Scheme(Props more, const char* assoc = "A1", const char* scheme = "S1") {
  more.insert(more.end(), {{"_NBRANCH", "1"}, {"_NUM_ASSOC", assoc}, {"_SCH_ASSOC", scheme}});
  return more;
}

NetworkEntity Pipe(const char* code, double y, Props props, const char* link = "L1") {
  return {"LWPOLYLINE", {{0, y, 0}, {4, y, 0}}, 0, "", code, std::move(props), link, ""};
}

// An included pipe of a generated section, numbered "e1" and connecting to
// nothing.
NetworkEntity Included(const char* code, double y, Props extra = {}) {
  Props props{{"_TYPE", "128"}, {"_NUM_RISER", "1"}, {"_LENGTH_SEGMENT", "4.000"},
              {"_DW_NUMBER", "e1"}, {"_DW_CONNECT", "e0"}};
  props.insert(props.end(), extra.begin(), extra.end());
  return Pipe(code, y, Scheme(props));
}

NetworkEntity Excluded(const char* code, double y) { return Pipe(code, y + 10, {{"_TYPE", "128"}}); }

// The entity with a property set (replaced, or added) or removed (null).
NetworkEntity With(NetworkEntity e, const std::string& key, const char* value) {
  for (auto it = e.properties.begin(); it != e.properties.end(); ++it) {
    if (it->first != key) continue;
    if (value)
      it->second = value;
    else
      e.properties.erase(it);
    return e;
  }
  if (value) e.properties.push_back({key, value});
  return e;
}

}  // namespace

TEST(ExportNetwork, ReaderResultsFollowTheBalanceOfThePipes) {
  struct Case {
    const char* what;
    std::vector<NetworkEntity> entities;
    int result;
    INT_PTR read;  // entities taken before the result was known
  };
  const NetworkEntity inSupply = Included("TPP0000i0001", 0);
  const NetworkEntity inReturn = Included("TPZ0000i0001", -0.1);
  const NetworkEntity exSupply = Excluded("TPP0000-0001", 0);
  const NetworkEntity exReturn = Excluded("TPZ0000-0001", -0.1);
  const NetworkEntity otherScheme = With(inReturn, "_SCH_ASSOC", "S2");
  NetworkEntity numberedBefore = With(With(inSupply, "_DW_NUMBER", "7"), "_DW_NUMBER_ORIG", "5");
  numberedBefore.typeCode = "TP60000i0001";
  const NetworkEntity numberedNoOriginal = With(numberedBefore, "_DW_NUMBER_ORIG", "");
  NetworkEntity secondStart = inSupply;
  secondStart.points = {{0, 50, 0}, {4, 50, 0}};
  std::vector<NetworkEntity> run(3, inSupply);  // each touches the one before or after it
  for (int i = 0; i < 3; ++i) run[i].points = {{10.0 + 4 * i, 50, 0}, {14.0 + 4 * i, 50, 0}};
  // Long enough to be read on a thread behind: a run of 600 after the
  // start pipe, and a second scheme well after the first batch.
  std::vector<NetworkEntity> longRun{inSupply};
  for (int i = 0; i < 600; ++i) {
    longRun.push_back(inSupply);
    longRun.back().points = {{10.0 + 4 * i, 50, 0}, {14.0 + 4 * i, 50, 0}};
  }
  longRun.insert(longRun.end(), 601, inReturn);
  longRun.insert(longRun.end(), {exSupply, exReturn});
  std::vector<NetworkEntity> lateScheme(299, inReturn);
  lateScheme.insert(lateScheme.end(), {otherScheme, exSupply, exReturn});
  lateScheme.insert(lateScheme.end(), 300, inSupply);

  const Case cases[] = {
      {"both kinds, included and excluded", {inSupply, inReturn, exSupply, exReturn}, kExportComplete, 4},
      {"one included supply pipe", {inSupply}, kExportUnusable, 1},
      {"only excluded pipes", {exSupply, exReturn}, kExportOnlyExcluded, 2},
      {"a second scheme", {inSupply, otherScheme, exSupply, exReturn}, kExportSecondScheme, 2},
      {"numbers of an earlier export", {numberedBefore, inReturn, exSupply, exReturn}, kExportNumberedBefore, 4},
      {"plain numbers with nothing kept", {numberedNoOriginal, inReturn, exSupply, exReturn}, kExportUnusable, 4},
      {"two free start pipes",
       {inSupply, secondStart, inReturn, inReturn, exSupply, exReturn, exSupply, exReturn},
       kExportSeveralStarts, 8},
      {"a run after the start pipe", {inSupply, run[0], run[1], run[2], inReturn, inReturn, inReturn, inReturn,
                                      exSupply, exReturn}, kExportComplete, 10},
      {"a long run", longRun, kExportComplete, 1204},
      {"a second scheme after the first batch", lateScheme, kExportSecondScheme, 300},
  };
  for (const Case& c : cases) {
    KeptChains kept(c.entities);
    CObjSezNew network;
    EXPECT_EQ(ReadExportNetwork(network, kept.Array()), c.result) << c.what;
    EXPECT_EQ(network.m_allRecords.GetSize(), c.read) << c.what;
    // The same from the chains as the dialog keeps them.
    CObjSezNew fromHeld;
    EXPECT_EQ(ReadExportNetwork(fromHeld, kept.Held()), c.result) << c.what;
    ASSERT_EQ(fromHeld.m_allRecords.GetSize(), c.read) << c.what;
    for (INT_PTR i = 0; i < c.read; ++i) {
      const auto* held = static_cast<const CObjDataNew*>(fromHeld.m_allRecords[i]);
      const auto* read = static_cast<const CObjDataNew*>(network.m_allRecords[i]);
      EXPECT_EQ(DescribeChain(held->m_entityChain.GetChain()), DescribeChain(read->m_entityChain.GetChain()))
          << c.what << " " << i;
      EXPECT_EQ(held->m_entityName[0], read->m_entityName[0]) << c.what << " " << i;
      EXPECT_EQ(held->m_objectType, read->m_objectType) << c.what << " " << i;
      // The count of records read into the network before it: all but a
      // pipe whose numbers nothing kept.
      const bool firstLeftOut = c.entities[0].properties == numberedNoOriginal.properties;
      EXPECT_EQ(read->m_index, static_cast<uint32_t>(i - (firstLeftOut && i > 0))) << c.what;
      EXPECT_EQ(held->m_index, read->m_index) << c.what;
    }
  }

  // The numbers: an 'e' is dropped, plain ones are read as they are.
  KeptChains kept({numberedBefore, With(With(inReturn, "_DW_NUMBER", "e12"), "_DW_CONNECT", "e3"),
                   exSupply, exReturn});
  CObjSezNew network;
  ReadExportNetwork(network, kept.Array());
  auto* first = static_cast<CObjDataNew*>(network.m_allRecords[0]);
  auto* second = static_cast<CObjDataNew*>(network.m_allRecords[1]);
  EXPECT_EQ(first->GetNumber(), 7);
  EXPECT_EQ(first->GetReadNumber(), 7);
  EXPECT_EQ(first->m_objectType, kObjectSupplyPipe) << "TP6 is a supply pipe";
  EXPECT_EQ(second->GetNumber(), 12);
  EXPECT_EQ(second->GetReadConnect(), 3);
  EXPECT_EQ(second->m_length, 4.0) << "from _LENGTH_SEGMENT";

  // With the data read goes what was made ahead for more records.
  ForgetReadData(network);
  EXPECT_FALSE(SlabsAheadNow().filling);
  EXPECT_EQ(SlabsAheadNow().ready, 0u);
}

namespace {

int g_units = 1;
int DrawingUnits() { return g_units; }

}  // namespace

TEST(ExportNetwork, MarkerCirclesAndSegmentLabels) {
  HostExport2D table{};
  table.slot[HostSlot::DrawingUnits] = reinterpret_cast<HostProc>(&DrawingUnits);
  TheApp().m_pHostTable = &table;
  struct Case {
    int units;
    double radius;
    bool marker;
  } cases[] = {{1, 0.04, true}, {1000, 40.0, true}, {1000, 40.5, false}, {1, 40.0, false}};
  for (const Case& c : cases) {
    g_units = c.units;
    KeptChains kept({{"CIRCLE", {{1, 1, 0}}, c.radius, "", "", {}, "", ""}});
    CObjSezNew network;
    ReadExportNetwork(network, kept.Array());
    EXPECT_EQ(network.m_markerCircles.GetSize(), c.marker ? 1 : 0) << c.units << " " << c.radius;
    EXPECT_EQ(network.m_readCount, c.marker ? 1u : 0u);
    ASSERT_EQ(network.m_allRecords.GetSize(), 1);
    const auto* circle = static_cast<CObjDataNew*>(network.m_allRecords[0]);
    EXPECT_EQ(circle->m_entityKind, c.marker ? kEntityCircle : kEntityAsRead);
  }
  // An export's own number labels are no part of the network: they stay
  // only among the records read, where the next labelling finds them.
  KeptChains labels({{"TEXT", {{0, 0, 0}}, 0, "12", "", {}, "", "t-CISLA_useku"},
                     {"TEXT", {{0, 0, 0}}, 0, "12", "", {}, "", "other"}});
  CObjSezNew network;
  ReadExportNetwork(network, labels.Array());
  EXPECT_EQ(network.m_allRecords.GetSize(), 2);
  EXPECT_EQ(network.m_readCount, 0u);
  EXPECT_EQ(network.m_scheme.GetGroupCount(), 0u);
  for (INT_PTR i = 0; i < 2; ++i)
    EXPECT_EQ(static_cast<CObjDataNew*>(network.m_allRecords[i])->m_entityKind, kEntityText);
  EXPECT_NE(SegmentLabelPiece(static_cast<CObjDataNew*>(network.m_allRecords[0])->m_entityChain.GetChain()), nullptr);
  EXPECT_EQ(SegmentLabelPiece(static_cast<CObjDataNew*>(network.m_allRecords[1])->m_entityChain.GetChain()), nullptr);
  TheApp().m_pHostTable = nullptr;
}

namespace {

// Records made directly into a network's scheme.
struct PipeSpec {
  int type;
  const char* assoc;
  const char* branch = "1";
  const char* riser = "1";
  const char* position = "";
  GLVector start{};
  GLVector end{};
  int number = 0;
  int connect = 0;
  const char* link = "";
};

CObjDataNew* Add(CObjSezNew& network, const PipeSpec& p) {
  auto* r = new CObjDataNew(0, p.type, nullptr, network.m_readCount++);
  r->m_assoc = p.assoc;
  r->m_schemeAssoc = "S1";
  r->m_branchName = p.branch;
  r->m_riserNumber = p.riser;
  r->m_riserPosition = p.position;
  r->m_start = p.start;
  r->m_end = p.end;
  r->SetNumber(p.number);
  r->SetReadNumber(p.number);
  r->SetConnect(p.connect);
  r->SetReadConnect(p.connect);
  r->m_linkHandle = p.link;
  r->m_length = 2.0;
  network.m_scheme.FileRecord(r);
  return r;
}

CObjDataNew* AddUnassociated(CObjSezNew& network, int type, const char* link) {
  auto* r = new CObjDataNew(0, type, nullptr, network.m_readCount++);
  r->m_linkHandle = link;
  network.m_unassociatedRecords.Add(r);
  network.m_heldRecords.AddTail(r);
  return r;
}

}  // namespace

TEST(ExportNetwork, RiserPipesLinkOnlyWithinTheTolerance) {
  for (double gap : {5e-7, 2e-6}) {
    CObjSezNew network;
    CObjDataNew* a = Add(network, {5, "A", "1", "1", "1", {0, 0, 0}, {1, 0, 0}});
    CObjDataNew* b = Add(network, {5, "B", "1", "1", "1", {1 + gap, 0, 0}, {2, 0, 0}});
    EndPointIndex ends(1e-6);
    IndexSchemeSegments(network, ends);
    LinkRiserNeighbours(network, a, &ends);
    EXPECT_EQ(a->m_pLinkA, gap < 1e-6 ? b : nullptr) << gap;
    EXPECT_EQ(b->m_pLinkB, gap < 1e-6 ? a : nullptr) << gap;
    EXPECT_EQ(a->m_pGroup->m_nextLink, gap < 1e-6 ? 1 : 0);
  }
}

TEST(ExportNetwork, TerminalMarkingEndsOnLinksThatFormACycle) {
  CObjSezNew network;
  CObjDataNew* a = Add(network, {5, "A", "1", "1", "1", {0, 0, 0}, {1, 0, 0}});
  CObjDataNew* b = Add(network, {5, "B", "1", "1", "1", {1, 0, 0}, {0, 0, 0}});
  a->m_pLinkA = b;
  b->m_pLinkA = a;
  a->m_pLinkB = b;
  b->m_pLinkB = a;
  MarkTerminalGroups(network, a, 1, true, true);  // would recurse without end
  EXPECT_EQ(network.m_class1Groups.GetSize(), 0);
}

TEST(ExportNetwork, GroupNumberingMovesTheCounter) {
  CObjSezNew network;
  for (int i = 1; i <= 3; ++i) Add(network, {5, "A", "1", "1", "", {}, {}, i, i - 1});
  for (int i = 1; i <= 2; ++i) Add(network, {5, "B", "1", "1", "", {}, {}, i, i - 1});
  Add(network, {5, "C"})->m_pGroup->m_flagB = 1;  // a fixed group
  CUndoArray undo;
  network.m_scheme.m_pUndo = &undo;

  EXPECT_EQ(network.m_scheme.m_nextFreeNumber, 1u);
  EXPECT_EQ(NumberSchemeGroup(network, 0), 1);
  EXPECT_EQ(network.m_scheme.m_nextFreeNumber, 4u);
  EXPECT_EQ(NumberSchemeGroup(network, 1), 1);
  EXPECT_EQ(network.m_scheme.m_nextFreeNumber, 6u);
  CObjDataNew* firstOfB = network.m_scheme.FindGroup(2)->GetFirstRecord();
  EXPECT_EQ(firstOfB->GetNumber(), 4);
  EXPECT_EQ(firstOfB->GetConnect(), 0) << "a start, whichever group came before";

  EXPECT_EQ(NumberSchemeGroup(network, 1), 0) << "numbered already";
  EXPECT_EQ(NumberSchemeGroup(network, 2), 0) << "fixed";
  EXPECT_EQ(NumberSchemeGroup(network, 7), 0) << "no such group";
  EXPECT_EQ(network.m_scheme.m_nextFreeNumber, 6u);
  ASSERT_EQ(undo.GetSize(), 2);
  EXPECT_EQ(undo.GetAt(1)->offset, 3);
}

TEST(ExportNetwork, SectionListNamesJoiningBranchesAndNeighbours) {
  // Branch "1": a riser pipe numbered 4 (its return partner beside it); a
  // pipe of branch "2" connects to 4. Branch "9" is the riser pipe's
  // neighbour at its end.
  CObjSezNew network;
  CObjDataNew* riser = Add(network, {5, "A", "1", "1", "0", {}, {}, 4, 3, "L1"});
  Add(network, {6, "A", "1", "1", "0", {}, {}, 4, 3, "L2"});
  Add(network, {5, "B", "2", "1", "", {}, {}, 7, 4});
  Add(network, {6, "B", "2", "1", "", {}, {}, 7, 4});
  CObjDataNew* neighbour = Add(network, {5, "C", "9", "1", "", {}, {}, 9, 0});
  Add(network, {6, "C", "9", "1", "", {}, {}, 9, 0});
  riser->m_pLinkA = neighbour;
  CObjDataNew* floorSupply = AddUnassociated(network, 5, "L1");
  AddUnassociated(network, 6, "L2");

  CString connected;
  GetConnectedBranchName(network, riser, connected);
  EXPECT_EQ(connected, "V2");

  CSecSezNew sections;
  ASSERT_TRUE(BuildExportSectionList(network, ExportParams{}, sections));
  // Branches go to the head as they first appear: written 9, 2, 1.
  std::vector<std::string> names;
  for (POSITION at = sections.m_branchNames.GetHeadPosition(); at;)
    names.push_back(sections.m_branchNames.GetNext(at).GetString());
  EXPECT_EQ(names, (std::vector<std::string>{"9", "2", "1"}));
  const CSecDataNew* first = sections.GetFirstSection();
  EXPECT_EQ(first->m_connectedBranch, "V2");
  EXPECT_EQ(first->m_pLength, "2.00");
  EXPECT_EQ(floorSupply->GetNumber(), 4) << "the floor-plan pipe takes its section's number";

  std::string text;
  AppendSectionRecord(*first, text);
  EXPECT_EQ(text, "4;3;0;V2;;;;;;2.00\r\n4;3;0;V2;;;;;;2.00\r\n");

  riser->m_riserNumber = "2";
  connected.Empty();
  GetConnectedBranchName(network, riser, connected);
  EXPECT_TRUE(connected.IsEmpty()) << "riser number 2 takes no joining branch";
}

TEST(ExportNetwork, NeighbourBranchesTakeAVOnlyFromOneToNine) {
  for (const auto& [branch, expected] : std::vector<std::pair<const char*, const char*>>{
           {"9", "V9"}, {"0", "0"}, {"10", "10"}, {"-1", "-1"}, {"A", "A"}}) {
    CObjSezNew network;
    CObjDataNew* pipe = Add(network, {5, "A", "1", "1", "0"});
    pipe->m_pLinkA = Add(network, {5, "B", branch, "1", "0"});
    CSecSezNew sections;
    sections.m_branchNames.AddTail("other");  // more than one branch
    BuildSectionRecord(sections, 1000, pipe, nullptr, nullptr, "");
    EXPECT_EQ(sections.GetFirstSection()->m_neighbour, expected) << branch;
  }
}

TEST(ExportNetwork, SectionLengthsAreWrittenAsPrintfWritesThem) {
  // Halves that binary fractions put on either side, a negative zero, large
  // and huge lengths, drawing units of millimetres and metres.
  const struct {
    double length;
    int units;
  } kCases[] = {{4250, 1000}, {0.005, 1}, {0.015, 1}, {2.675, 1}, {1.005, 1}, {-0.001, 1}, {0, 1},
                {123456789012.345, 1}, {1e300, 1}, {-1e308, 1}, {5, 0}, {999.995, 1}, {1e-320, 1}};
  for (const auto& c : kCases) {
    CObjSezNew network;
    CObjDataNew* pipe = Add(network, {5, "A", "1", "1", ""});
    CObjDataNew* partner = Add(network, {6, "A", "1", "1", ""});
    pipe->m_length = c.length;
    partner->m_length = -c.length;
    CSecSezNew sections;
    BuildSectionRecord(sections, c.units, pipe, partner, nullptr, "");
    char expected[400];
    const double units = c.units > 0 ? c.units : 1;
    std::snprintf(expected, sizeof expected, "%.2f", c.length / units);
    EXPECT_EQ(sections.GetFirstSection()->m_pLength, expected) << c.length;
    std::snprintf(expected, sizeof expected, "%.2f", -c.length / units);
    EXPECT_EQ(sections.GetFirstSection()->m_zLength, expected) << c.length;
  }
}

TEST(ExportNetwork, SectionListRefusesPipesThatDoNotPairUp) {
  CObjSezNew unequal;
  Add(unequal, {5, "A", "1", "1", "", {}, {}, 1, 0, "L1"});
  Add(unequal, {5, "A", "1", "1", "", {}, {}, 2, 1, "L1"});
  Add(unequal, {6, "A", "1", "1", "", {}, {}, 1, 0, "L2"});
  Add(unequal, {6, "B", "1", "1", "", {}, {}, 3, 2, "L2"});  // pairs across groups only
  AddUnassociated(unequal, 5, "L1");
  AddUnassociated(unequal, 6, "L2");
  CSecSezNew sections;
  EXPECT_FALSE(BuildExportSectionList(unequal, ExportParams{}, sections));

  // Unlinked pipes are not linked to each other by their empty handles.
  CObjSezNew unlinked;
  Add(unlinked, {5, "A", "1", "1", "", {}, {}, 1, 0, ""});
  Add(unlinked, {6, "A", "1", "1", "", {}, {}, 1, 0, ""});
  AddUnassociated(unlinked, 5, "");
  AddUnassociated(unlinked, 6, "");
  EXPECT_FALSE(BuildExportSectionList(unlinked, ExportParams{}, sections));
  EXPECT_EQ(sections.GetCount(), 1u) << "the list stays filled";

  // Nor do pipes that would name two sections alike or connect round in a
  // group: numbered 1 (connecting to up) and number (to connect), the
  // supply pipes as well or numbered 1 and 2 in a row.
  for (const auto& [up, number, connect, said, supply] :
       {std::tuple{0, 1, 0, "carries the section number of another pipe", true},
        std::tuple{2, 2, 1, "connects in a loop back to itself", true},
        std::tuple{2, 2, 1, "connects in a loop back to itself", false}}) {
    CObjSezNew looped;
    for (int type : {5, 6}) {
      const bool as = type == 6 || supply;
      Add(looped, {type, "A", "1", "1", "", {}, {}, 1, as ? up : 0, "L"});
      Add(looped, {type, "A", "1", "1", "", {}, {}, as ? number : 2, as ? connect : 1, "L"});
      AddUnassociated(looped, type, "L");
    }
    CString where;
    EXPECT_FALSE(BuildExportSectionList(looped, ExportParams{}, sections, nullptr, nullptr, &where));
    EXPECT_NE(std::string(where.GetString()).find(said), std::string::npos) << where.GetString();
  }
}
