// The older record model: branch names and children, the section list of a
// branch tree, the reading of a riser selection and the write-back through
// a recording host, the generators' record order, descriptions and the
// small finders.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "common/CResourceQmr.h"
#include "common/GroupChainBuilder.h"
#include "jov_vantrix/network/CJovData.h"
#include "jov_vantrix/network/DescriptionMask.h"
#include "jov_vantrix/section/CObjData.h"
#include "jov_vantrix/section/CObjPnt.h"
#include "jov_vantrix/section/CSecData.h"
#include "jov_vantrix/section/CSecSez.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "jov_vantrix/section/OldCutRecords.h"
#include "jov_vantrix/section/OldRecordLookups.h"
#include "jov_vantrix/tests/NetworkChains.h"
#include "jov_vantrix/tests/RecordingHost.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/resources.h"

namespace {

using Items = std::vector<std::string>;

Items Strings(const CStringArray& array) {
  Items out;
  for (INT_PTR i = 0; i < array.GetSize(); ++i) out.emplace_back(array[i].GetString());
  return out;
}

// A branch record as ReadOldCutObjects leaves it.
CObjData* AddBranch(CObjSez& records, const char* branchNumber, const char* side = "0",
                    const char* cm = nullptr) {
  auto* r = new CObjData(CObjData::kInsert, kRoleBranch, nullptr);
  r->m_branchNumber = branchNumber;
  r->m_sideNumber = side;
  r->m_riserNumber = "1";
  if (cm) r->m_jovData.Properties().SetValue("CM", cm);
  records.AddTail(r);
  return r;
}

CObjData* AddRecord(CObjSez& records, int role, const char* typeCode = "TCD0000i0003",
                    const char* riser = "1") {
  auto* r = new CObjData(CObjData::kInsert, role, nullptr);
  r->m_jovData.m_typeCode = typeCode;
  r->m_riserNumber = riser;
  records.AddTail(r);
  return r;
}

// Each section as "id>next branch/child".
Items Sections(const CSecSez& list) {
  Items out;
  for (const CSecData* s = list.GetFirstSection(); s; s = s->GetNextSection())
    out.push_back(std::to_string(s->m_id) + ">" + std::to_string(s->m_nextId) + " " +
                  s->m_branchName.GetString() + "/" + s->m_childName.GetString());
  return out;
}

NetworkEntity Insert(const char* typeCode, std::vector<std::pair<std::string, std::string>> properties) {
  NetworkEntity e;
  e.type = "INSERT";
  e.points = {{1, 2, 0}};
  e.typeCode = typeCode;
  e.properties = std::move(properties);
  return e;
}

NetworkEntity Riser(const char* number) { return Insert("TCD0000i0003", {{"_TYPE", "197"}, {"_NUM_RISER", number}}); }

NetworkEntity Branch(const char* riser, const char* branch, const char* side = "0") {
  return Insert("TCD0000i0001",
                {{"_TYPE", "1048705"}, {"_NUM_RISER", riser}, {"_NUM_BRANCH", branch}, {"_NUM_SIDE", side}});
}

NetworkEntity Line() {
  NetworkEntity e;
  e.type = "LINE";
  e.points = {{0, 0, 0}, {1, 0, 0}};
  return e;
}

}  // namespace

TEST(OldRecordModel, BranchNamesParentsAndChildren) {
  const std::string longName(300, 'N');
  struct Case {
    std::string branchNumber;
    Items parts;     // 0, 1, 2
    Items children;  // in order
  };
  const Case cases[] = {
      {"A,P,K,M", {"A", "P", "K,M"}, {"K", "M"}},
      {"K,M", {"K", "M", ""}, {}},
      {"M,,P,,Q", {"M", "", "P,,Q"}, {"P", "", "Q"}},
      {",A", {"", "A", ""}, {}},
      {"", {"", "", ""}, {}},
      {"B,A,", {"B", "A", ""}, {}},
      {longName + ",A," + longName, {std::string(255, 'N'), "A", std::string(255, 'N')}, {std::string(255, 'N')}},
  };
  for (const Case& c : cases) {
    CObjData record(CObjData::kInsert, kRoleBranch, nullptr);
    record.m_branchNumber = c.branchNumber.c_str();
    Items parts;
    for (int index : {0, 1, 7}) {
      CString part("stale");
      record.GetBranchPart(index, part);
      parts.emplace_back(part.GetString());
    }
    EXPECT_EQ(parts, c.parts) << c.branchNumber;
    CStringArray children;
    record.GetChildBranches(children, false);
    EXPECT_EQ(Strings(children), c.children) << c.branchNumber;
    CStringArray reversed;
    reversed.Add("before");
    record.GetChildBranches(reversed, true);
    Items expected{"before"};
    expected.insert(expected.end(), c.children.rbegin(), c.children.rend());
    EXPECT_EQ(Strings(reversed), expected) << c.branchNumber << " appended in reverse";
  }
}

TEST(OldRecordModel, SectionListOfABranchTree) {
  CObjSez records;
  CObjData* a = AddBranch(records, "A,x,K,M", "0", "1");
  a->m_jovData.Properties().SetValue("CT", "7");
  a->m_jovData.VantrixRecords().SetRecordField(8, "600");
  a->m_jovData.VantrixRecords().SetRecordField(11, "VK");
  AddBranch(records, "K,x", "0", "2");
  AddBranch(records, "M,x", "1", "3");
  AddRecord(records, kRoleRiser);

  CSecSez sections;
  ASSERT_TRUE(sections.BuildFromBranches(records));
  EXPECT_EQ(Sections(sections), (Items{"1>2 A/", "2>4 A/K", "3>2 K/", "4>0 A/M", "5>4 M/"}));
  EXPECT_EQ(sections.m_idCounter, 6);
  const CSecData* head = sections.GetFirstSection();
  EXPECT_EQ(head->m_CM, "1");
  EXPECT_EQ(head->m_CT, "7");
  EXPECT_EQ(head->m_vantrixFields[0], "600");
  EXPECT_EQ(head->m_vantrixFields[3], "VK");
  EXPECT_EQ(sections.FindSection("K", "")->m_CM, "2");

  EXPECT_EQ(sections.FindSection("A", "A"), head) << "a branch as its own child is its head";
  EXPECT_EQ(sections.FindSection("A", "M")->m_id, 4);
  EXPECT_EQ(sections.FindSection("K", "M"), nullptr);

  CJovData data;
  data.Properties().SetValue("_NUM_SECTION", "old");
  sections.StoreSectionKey("A", data);
  sections.StoreSectionKey("M", data);
  EXPECT_STREQ(data.GetProperty("_NUM_SECTION"), "5;5;4;;0;0;") << "replaced, not added";
  CJovData root;
  sections.StoreSectionKey("A", root);
  EXPECT_STREQ(root.GetProperty("_NUM_SECTION"), "5;1;2;;0;0;2;4;K;0;0;4;0;M;0;0;");
  CJovData none;
  sections.StoreSectionKey("Z", none);
  EXPECT_STREQ(none.GetProperty("_NUM_SECTION"), "5;");

  // Built again, the list starts over.
  ASSERT_TRUE(sections.BuildFromBranches(records));
  EXPECT_EQ(sections.GetCount(), 5u);
}

TEST(OldRecordModel, SectionsOfGrandchildrenAndFailures) {
  {
    // Children of a child get sections of that child, but no heads.
    CObjSez records;
    AddBranch(records, "A,,K");
    AddBranch(records, "K,A,P,Q");
    AddBranch(records, "P,K");
    AddBranch(records, "Q,K");
    CSecSez sections;
    ASSERT_TRUE(sections.BuildFromBranches(records));
    EXPECT_EQ(Sections(sections), (Items{"1>2 A/", "2>0 A/K", "3>5 K/", "4>2 K/P", "5>4 K/Q"}));
  }
  struct Case {
    const char* what;
    std::vector<const char*> branches;
  };
  const Case failures[] = {
      {"no root", {"B,,K", "K,B"}},
      {"a child without a record", {"A,,K,Z", "K,A"}},
      {"an empty child name", {"A,,K", "K,A,P,,Q", "P,K", "Q,K"}},
  };
  for (const Case& c : failures) {
    CObjSez records;
    for (const char* b : c.branches) AddBranch(records, b);
    CSecSez sections;
    EXPECT_FALSE(sections.BuildFromBranches(records)) << c.what;
  }
  CSecSez sections;
  CObjSez records;
  EXPECT_FALSE(sections.AddBranchSections(1, nullptr, records));
}

TEST(OldRecordModel, ReadingASelection) {
  struct Case {
    const char* what;
    std::vector<NetworkEntity> selection;
    const char* riserIn;
    int result;
    std::vector<int> roles;
    const char* riserOut;
  };
  const Case cases[] = {
      {"empty", {}, "", kOldCutEmpty, {}, ""},
      {"a line first", {Line(), Riser("1")}, "", kOldCutNoRiser, {0}, ""},
      {"a branch first", {Branch("1", "A"), Riser("1")}, "", kOldCutNoRiser, {0}, ""},
      {"an insert without data first", {Insert("", {}), Riser("1")}, "", kOldCutNoRiser, {0}, ""},
      {"riser, branches, others",
       {Riser("1"), Branch("1", "A,P,K"), Branch("2", "K,A"), Line(), Riser("1"), Branch("1", "K,A")},
       "",
       kOldCutRead,
       {1, 2, 0, 0, 0, 2},
       "1"},
      {"another riser's number asked", {Riser("1"), Branch("1", "A"), Branch("3", "B")}, "3", kOldCutRead,
       {0, 0, 2}, "3"},
  };
  for (const Case& c : cases) {
    RecordingHost host;
    KeptChains chains(c.selection);
    for (int i = 0; i < chains.Array()->GetCount(); ++i) host.selection.push_back(chains.Array()->ElementAt(i));
    CObjSez records;
    CString riser(c.riserIn);
    EXPECT_EQ(ReadOldCutObjects(records, riser), c.result) << c.what;
    std::vector<int> roles;
    for (const CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord()) roles.push_back(r->m_role);
    EXPECT_EQ(roles, c.roles) << c.what;
    EXPECT_EQ(riser, c.riserOut) << c.what;
  }

  // What a riser and a branch record keep.
  RecordingHost host;
  KeptChains chains({Riser("1"), Branch("1", "A,P,K", "1"), Line()});
  for (int i = 0; i < chains.Array()->GetCount(); ++i) host.selection.push_back(chains.Array()->ElementAt(i));
  CObjSez records;
  CString riser;
  ASSERT_EQ(ReadOldCutObjects(records, riser), kOldCutRead);
  const CObjData* r1 = records.GetFirstRecord();
  const CObjData* branch = r1->GetNextRecord();
  const CObjData* line = branch->GetNextRecord();
  EXPECT_EQ(r1->m_pReadChain, chains.Array()->ElementAt(0)->next) << "the host's chain after its name";
  EXPECT_TRUE(r1->m_hasEntityName);
  EXPECT_EQ(r1->m_entityName[0], 1);
  EXPECT_EQ(r1->m_entityKind, CObjData::kInsert);
  EXPECT_EQ(r1->m_riserNumber, "1");
  EXPECT_EQ(r1->m_insertionPoint, GLVector(1, 2, 0));
  EXPECT_EQ(branch->m_branchNumber, "A,P,K");
  EXPECT_EQ(branch->m_sideNumber, "1");
  EXPECT_EQ(branch->m_insertionPoint, GLVector(1, 2, 0));
  EXPECT_EQ(line->m_entityKind, 0);
  EXPECT_EQ(line->m_role, kRoleOther);
}

TEST(OldRecordModel, WriteBackReplacesReadEntitiesAndAddsBuiltOnes) {
  RecordingHost host;
  KeptChains chains({Riser("1"), Line()});
  for (int i = 0; i < chains.Array()->GetCount(); ++i) host.selection.push_back(chains.Array()->ElementAt(i));
  CObjSez records;
  CString riser;
  ASSERT_EQ(ReadOldCutObjects(records, riser), kOldCutRead);
  auto* built = new CObjData(CObjData::kLine, kRoleOther, nullptr);
  built->SetBuiltChain(GroupChainBuilder(0).Build(0, "CIRCLE", 8, "NEW", -9));
  records.AddTail(built);
  auto* unnamed = new CObjData(CObjData::kLine, kRoleOther, chains.Array()->ElementAt(1)->next);
  records.AddTail(unnamed);

  EXPECT_EQ(WriteOldRecords(records), 1);
  ASSERT_EQ(host.written.size(), 4u);
  EXPECT_EQ(host.written[0], DescribeChain(chains.Array()->ElementAt(0))) << "behind its name";
  EXPECT_EQ(host.written[1], DescribeChain(chains.Array()->ElementAt(1)));
  EXPECT_EQ(host.written[2], (Items{"0:CIRCLE", "8:NEW"})) << "a new entity";
  EXPECT_EQ(host.written[3], DescribeChain(chains.Array()->ElementAt(1)->next)) << "no name to go behind";
}

TEST(OldRecordModel, GeneratorOrderPutsNamedBranchesFirstDescending) {
  // Records the order calls equal: non-branches, a branch without a name
  // list; a ',' gives an empty name.
  CObjSez records;
  AddRecord(records, kRoleRiser);
  AddBranch(records, "K,A");
  AddBranch(records, "");
  AddBranch(records, "A,P,K,M");
  AddRecord(records, kRoleOther);
  AddBranch(records, ",X");
  AddBranch(records, "M,A");
  std::vector<CObjData*> before;
  for (CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord()) before.push_back(r);

  CObjData* m = before[6];
  CObjData* k = before[1];
  CObjData* a = before[3];
  auto compare = [](CSeznam* x, CSeznam* y) { return CompareBranchRecords(&x, &y); };
  EXPECT_GT(compare(k, m), 0);
  EXPECT_LT(compare(m, k), 0);
  EXPECT_EQ(compare(a, a), 0);
  EXPECT_LT(compare(k, before[0]), 0) << "a named branch before a riser";
  EXPECT_GT(compare(before[0], k), 0);
  EXPECT_EQ(compare(before[2], before[0]), 0) << "a branch without names is no earlier";
  EXPECT_EQ(compare(before[0], before[4]), 0);
  EXPECT_EQ(compare(nullptr, k), 0);

  records.Sort(CompareBranchRecords);
  std::vector<CObjData*> after;
  for (CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord()) after.push_back(r);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_TRUE(std::is_permutation(after.begin(), after.end(), before.begin())) << "every record once";
  std::vector<CObjData*> named;
  for (CObjData* r : after)
    if (r == m || r == k || r == a) named.push_back(r);
  EXPECT_EQ(named, (std::vector<CObjData*>{m, k, a}));
}

TEST(OldRecordModel, DescriptionsTypeClassesAndExtents) {
  CResourceQmr resources(JOV_TEST_MODULE_DIR "/Jov_Vantrix.qmr");
  ASSERT_TRUE(resources.IsLoaded());
  JovCutParamsOld params;
  params.m_maskWithoutProduct = "-&CM-\\&PR";
  params.m_maskWithProduct = "#P";
  params.m_maskScheme = "#R3";
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, const char*>> properties;
    bool vantrix;
    Items lines;
  };
  const Case cases[] = {
      {"without product, PR of zeros", {{"CM", "3"}, {"PR", "3.000"}}, false, {"-3-", "3"}},
      {"PR with a fraction", {{"CM", "3"}, {"PR", "3.010"}}, false, {"-3-", "3.010"}},
      {"PR without one", {{"CM", "3"}, {"PR", "3"}}, false, {"-3-", "3"}},
      {"catalogue product", {{"_QPROD", "Q1"}, {"CM", "3"}}, true, {"Q1"}},
      {"scheme", {{"CM", "3"}}, true, {"42"}},
  };
  for (const Case& c : cases) {
    CObjData record(CObjData::kInsert, kRoleBranch, nullptr);
    for (const auto& [key, value] : c.properties) record.m_jovData.Properties().SetValue(key, value);
    if (c.vantrix) record.m_jovData.VantrixRecords().SetRecordField(3, "42");
    CStringArray lines;
    record.ExpandDescriptionMask(params, lines);
    EXPECT_EQ(Strings(lines), c.lines) << c.what;
  }
  for (const auto& [key, value, trimmed] :
       std::vector<std::tuple<const char*, const char*, const char*>>{
           {"PR", "3.000", "3"}, {"PR", "3.", "3"}, {"PR", "3.010", "3.010"}, {"PR", "30", "30"}, {"L", "3.000", "3.000"}}) {
    std::string text = value;
    TrimZeroDecimals(key, text);
    EXPECT_EQ(text, trimmed) << key << " " << value;
  }

  CObjData record(CObjData::kInsert, kRoleBranch, nullptr);
  EXPECT_EQ(record.GetTypeClass(), 0) << "no TY";
  for (const auto& [id, typeClass] : std::vector<std::pair<UINT, int>>{
           {IDS_TY_VALVE, 1}, {IDS_TY_FITTING, 0}, {IDS_TY_CONVECTOR, 3}, {IDS_TY_RADIATOR, 2}, {IDS_TY_MANIFOLD, 0}}) {
    char name[64];
    ASSERT_GT(LoadStringA(AfxGetResourceHandle(), id, name, sizeof name), 0);
    record.m_jovData.Properties().SetValue("TY", name);
    EXPECT_EQ(record.GetTypeClass(), typeClass) << name << ": the older model knows no manifold";
  }

  // Extents take in the block's origin and follow the drawing's unit.
  const double from[3] = {100, 50, 0}, to[3] = {700, 550, 0}, marker[3] = {-900, 0, 0};
  OwnedChain geometry(GroupChainBuilder(0).Build(0, "LINE", 8, "0", 10, from, 11, to, 0, "CIRCLE", 8,
                                                 "DEFPOINTS", 10, marker, 40, 5.0, -9));
  CObjData metres(CObjData::kInsert, kRoleBranch, nullptr);
  metres.SetProductExtents(geometry.get(), 1);
  EXPECT_DOUBLE_EQ(metres.ProductWidth(), 0.7) << "from the origin, the marker left out";
  EXPECT_DOUBLE_EQ(metres.ProductHeight(), 0.55);
  CObjData millimetres(CObjData::kInsert, kRoleBranch, nullptr);
  millimetres.SetProductExtents(geometry.get(), 1000);
  EXPECT_DOUBLE_EQ(millimetres.ProductWidth(), 700.0);
}

TEST(OldRecordModel, RiserAndBranchFinders) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, const char*>> records;  // role, "_NUM_BRANCH"
    int differentParents;
  };
  const Case cases[] = {
      {"parents A and B", {{2, "K,A"}, {2, "M,B"}}, 1},
      {"parents A and empty", {{2, "K,A"}, {2, "M"}, {2, "N,,X"}}, 0},
      {"one parent", {{2, "K,A"}, {2, "M,A,P"}}, 0},
      {"a non-branch apart", {{2, "K,A"}, {0, "M,B"}}, 0},
      {"empty first", {{2, "K"}, {2, "M,B"}, {2, "N,C"}}, 1},
  };
  for (const Case& c : cases) {
    CObjSez records;
    for (const auto& [role, number] : c.records) AddBranch(records, number)->m_role = role;
    EXPECT_EQ(HasDifferentBranchParents(records), c.differentParents) << c.what;
  }

  CObjSez records;
  EXPECT_EQ(GetRiserTradeLetter(records), 'T');
  EXPECT_EQ(GetRiserNameText(records), nullptr);
  CObjData* k = AddBranch(records, "K,A");
  CObjData* a = AddBranch(records, "A,P,K");
  AddBranch(records, "A,Q");
  AddRecord(records, kRoleOther, "ZZZ0000i0003", "9");
  EXPECT_EQ(GetRiserTradeLetter(records), 'T') << "no riser record";
  EXPECT_EQ(GetRiserNameText(records), nullptr);
  AddRecord(records, kRoleRiser, "ZCD0000i0003", "4");
  AddRecord(records, kRoleRiser, "VCD0000i0003", "5");
  EXPECT_EQ(GetRiserTradeLetter(records), 'Z');
  EXPECT_STREQ(GetRiserNameText(records), "4");
  EXPECT_EQ(FindRootBranchRecord(records), a);
  EXPECT_EQ(FindBranchRecord(records, "K"), k);
  EXPECT_EQ(FindBranchRecord(records, "P"), nullptr);
  k->m_role = kRoleOther;
  EXPECT_EQ(FindBranchRecord(records, "K"), nullptr) << "branch records only";
}

TEST(OldRecordModel, ConnectionPointsBecomeInsertionPointPairs) {
  const double p1[3] = {1, 2, 0}, p2[3] = {3, 4, 0}, p3[3] = {5, 6, 0};
  OwnedChain symbol(GroupChainBuilder(0).Build(0, "LINE", 8, "DEFPOINTS", 10, p1, 11, p2, 0, "CIRCLE", 8,
                                               "DEFPOINTS", 10, p3, -9));
  CSeznam points;
  points.AddTail(new CObjConnPnt(symbol.get()));
  points.AddTail(new CObjConnPnt(symbol.get()->next->next->next->next));
  CJovData data;
  AddConnectionPointPairs(points, data);
  std::vector<GLVector> pairs;
  for (const CSeznam* e = data.InsertPoints().GetHead(); e; e = e->GetNext())
    pairs.emplace_back(static_cast<const CJovInsPnt*>(e)->GetPoint());
  EXPECT_EQ(pairs, (std::vector<GLVector>{{1, 2, 0}, {3, 4, 0}, {5, 6, 0}, {0, 0, 0}}))
      << "a marker without point 11 pairs with the origin";
}
