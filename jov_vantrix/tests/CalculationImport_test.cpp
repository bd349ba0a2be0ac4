// The import's reading of the selection, its look-ups of products, texts
// and linked pipes, and the chains it prepares for the write-back. The
// values a result file brings are followed through the runner on the
// fixture drawings (tests/e2e).
#include "jov_vantrix/network/CalculationImport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/GroupChainBuilder.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/tests/NetworkChains.h"
#include "jov_vantrix/tests/RecordingHost.h"

namespace {

using Items = std::vector<std::string>;
using Props = std::vector<std::pair<std::string, std::string>>;

NetworkEntity Pipe(const char* code, const char* number, const char* branch, const char* scheme) {
  return {"LWPOLYLINE", {{0, 0, 0}, {1, 0, 0}}, 0, "", code,
          {{"_TYPE", "128"}, {"_NBRANCH", branch}, {"_SCH_ASSOC", scheme}, {"_DW_NUMBER", number}, {"CM", "1"},
           {"CT", "T1"}},
          "L", ""};
}

// Reads the entities as the host's selection.
int ReadSelection(const std::vector<NetworkEntity>& entities, CObjSezNew& list) {
  RecordingHost host;
  std::vector<OwnedChain*> chains;
  for (size_t i = 0; i < entities.size(); ++i) {
    chains.push_back(new OwnedChain(BuildEntityChain(entities[i], static_cast<int64_t>(i + 1))));
    host.selection.push_back(chains.back()->get());
  }
  const int result = ReadImportNetwork(list);
  for (OwnedChain* c : chains) delete c;
  return result;
}

CObjDataNew* Record(CObjSezNew& list, int type, const char* cm, const char* ct, const char* branchNumber = "1",
                    const char* assoc = "A1") {
  auto* r = new CObjDataNew(type == kObjectDescription ? kEntityText : 0, type, nullptr, list.GetCount());
  r->m_CM = cm;
  r->m_CT = ct;
  r->m_branchNumber = branchNumber;
  r->m_assoc = assoc;
  list.AddTail(r);
  return r;
}

}  // namespace

TEST(CalculationImport, SelectionNamesItsBranchesAndSchemes) {
  struct Case {
    const char* what;
    std::vector<NetworkEntity> entities;
    int result;
    Items branches;
  };
  const Case cases[] = {
      {"one scheme per branch", {Pipe("TPP0000i0001", "1", "1", "S1"), Pipe("TPP0000-0001", "2", "2", "S2"),
                                 Pipe("TPP0000i0001", "3", "1", "S1"), Pipe("TPP0000i0001", "4", "1", "")},
       1, {"1", "2"}},
      {"a branch of two schemes", {Pipe("TPP0000i0001", "1", "1", "S1"), Pipe("TPP0000i0001", "2", "1", "S2")}, 2,
       {"1"}},
      {"a branch of none", {Pipe("TPP0000i0001", "1", "1", "")}, 0, {"1"}},
      {"no numbered supply pipe",
       {Pipe("TPP0000i0001", "e1", "1", "S1"), Pipe("TPP0000i0001", "", "2", "S1"), Pipe("TPZ0000i0001", "1", "3", "")},
       1, {}},
  };
  for (const Case& c : cases) {
    CObjSezNew list;
    EXPECT_EQ(ReadSelection(c.entities, list), c.result) << c.what;
    EXPECT_EQ(list.m_readCount, c.entities.size()) << c.what;
    Items branches;
    for (INT_PTR i = 0; i < list.m_texts.GetSize(); ++i) branches.push_back(list.m_texts[i].GetString());
    EXPECT_EQ(branches, c.branches) << c.what;
  }

  // What is read of each kind: an excluded pipe's branch number is its
  // "_BRANCH", a text keeps its text, anything else is kept as it is.
  NetworkEntity excluded = Pipe("TPZ0000-0001", "4", "1", "S1");
  excluded.properties.push_back({"_BRANCH", "7"});
  NetworkEntity text{"TEXT", {{0, 0, 0}}, 0, "old", "TCD0000i0001", {{"_BRANCH", "7"}, {"CM", "1"}}, "", ""};
  NetworkEntity valve{"INSERT", {{2, 3, 0}}, 0, "", "TVE0000i0001", {{"_TYPE", "3145857"}, {"CZ", "9"}, {"CT", "x"}},
                      "", ""};
  CObjSezNew list;
  ReadSelection({excluded, text, valve, {"LINE", {}, 0, "", "", {}, "", ""}}, list);
  const CObjDataNew* r = list.GetFirstRecord();
  EXPECT_EQ(r->m_objectType, kObjectReturnPipe);
  EXPECT_EQ(r->GetNumber(), 4);
  EXPECT_EQ(r->m_branchNumber, "7");
  EXPECT_EQ(r->m_linkHandle, "L");
  r = r->GetNextRecord();
  EXPECT_EQ(r->m_objectType, kObjectDescription);
  EXPECT_EQ(r->RunsOrNone().m_text1, "old");
  EXPECT_EQ(r->m_branchNumber, "7");
  r = r->GetNextRecord();
  EXPECT_EQ(r->m_objectType, kObjectNetworkInsert);
  EXPECT_EQ(r->m_CZ, "9") << "0x200081 takes CZ";
  EXPECT_TRUE(r->m_CT.IsEmpty()) << "and not CT";
  EXPECT_EQ(r->m_basePoint, GLVector(2, 3, 0));
  r = r->GetNextRecord();
  EXPECT_EQ(r->m_objectType, kObjectOther);
  EXPECT_TRUE(r->m_hasEntityName);
}

TEST(CalculationImport, ProductsTextsAndLinkedPipes) {
  CObjSezNew list;
  CObjDataNew* pipe = Record(list, kObjectSupplyPipe, "1", "T1");
  Record(list, kObjectNetworkInsert, "1", "T1", "2");         // another branch
  CObjDataNew* product = Record(list, kObjectNetworkInsert, "1", "T1");
  Record(list, kObjectNetworkInsert, "1", "T1");              // found second
  CObjDataNew* excluded = Record(list, kObjectNetworkInsert, "1", "T1", "9", "A9");
  excluded->m_jovData.m_typeCode = "TCD0000-0001";
  EXPECT_EQ(FindProductForPipe(list, pipe, false), product);
  EXPECT_EQ(FindProductForPipe(list, pipe, true), excluded);
  pipe->m_CT.Empty();
  EXPECT_EQ(FindProductForPipe(list, pipe, false), nullptr) << "without CT no product";

  std::vector<CObjDataNew*> texts;
  for (const char* line : {"0", "1", "2", "-1"}) {
    CObjDataNew* text = Record(list, kObjectDescription, "1", "T1");
    text->m_jovData.Properties().SetValue("_NUM_DESC_LINE", line);
    texts.push_back(text);
  }
  Record(list, kObjectDescription, "2", "T1")->Runs().m_text1 = "other";
  CStringArray lines;
  lines.Add("-1-");
  lines.Add("r3");
  UpdateDescriptionTexts(list, product, lines);
  EXPECT_EQ(texts[0]->RunsOrNone().m_text1, "-1-");
  EXPECT_EQ(texts[1]->RunsOrNone().m_text1, "r3");
  EXPECT_EQ(texts[2]->RunsOrNone().m_text1, "?");
  EXPECT_EQ(texts[3]->RunsOrNone().m_text1, "?");

  // Linked records share a non-empty handle and have the pipe's type or are
  // risers; each takes the pipe's numbers.
  pipe->m_linkHandle = "H";
  pipe->SetNumber(5);
  pipe->SetConnect(4);
  CObjDataNew* sameKind = Record(list, kObjectSupplyPipe, "", "");
  CObjDataNew* riser = Record(list, kObjectRiser, "", "");
  CObjDataNew* otherKind = Record(list, kObjectReturnPipe, "", "");
  for (CObjDataNew* r : {sameKind, riser, otherKind}) r->m_linkHandle = "H";
  list.m_unassociatedRecords.Add(sameKind);
  CPtrArray out;
  CollectLinkedRecords(list, pipe, out, false);
  ASSERT_EQ(out.GetSize(), 2);
  EXPECT_EQ(out[0], sameKind);
  EXPECT_EQ(out[1], riser);
  EXPECT_EQ(riser->GetNumber(), 5);
  EXPECT_EQ(riser->GetConnect(), 4);
  EXPECT_EQ(otherKind->GetNumber(), 0);

  // An empty handle links nothing, from the list or the unassociated ones.
  CObjDataNew* unlinked = Record(list, kObjectSupplyPipe, "", "");
  sameKind->m_linkHandle.Empty();
  for (bool fromUnassociated : {false, true}) {
    out.RemoveAll();
    CollectLinkedRecords(list, unlinked, out, fromUnassociated);
    EXPECT_EQ(out.GetSize(), 0) << fromUnassociated;
  }
}

TEST(CalculationImport, WriteBackRebuildsOnlyTheRecordsOwnBlocks) {
  GroupChainBuilder builder(0);
  const double at[3] = {0, 0, 0};
  OwnedChain pipeChain(builder.Build(0, "LWPOLYLINE", 10, at, -3, nullptr, 1001, "QM_KEY", 1000, "k", 1001,
                                     "JOV_DATA", 1000, "TPP0000i0001", 1000, "_TYPE", 1000, "128", 1001, "JOV_LINK",
                                     1000, "77", 1001, "_VANTRIX", 1070, 12, 1000, "v0", 1001, "OTHER", 1000, "o",
                                     -9));
  OwnedChain textChain(builder.Build(0, "TEXT", 1, "old", 10, at, -9));
  CObjSezNew list;
  auto* pipe = new CObjDataNew(0, kObjectSupplyPipe, pipeChain.get(), 0);
  ASSERT_TRUE(pipe->m_jovData.ReadXData(pipe->m_entityChain.GetChain()));
  pipe->m_jovData.Properties().SetValue("P0", "DN20");
  list.AddTail(pipe);
  auto* text = new CObjDataNew(kEntityText, kObjectDescription, textChain.get(), 1);
  text->Runs().m_text1 = "new";
  list.AddTail(text);
  auto* other = new CObjDataNew(0, kObjectOther, textChain.get(), 2);
  list.AddTail(other);

  EXPECT_EQ(StoreNetworkXData(list), 1);
  Items vantrix{"1001:_VANTRIX", "1070:12", "1000:v0"};
  for (int i = 1; i < 12; ++i) vantrix.push_back("1000:");
  Items expected{"0:LWPOLYLINE", "10:0,0,0", "-3:?", "1001:QM_KEY", "1000:k", "1001:JOV_DATA", "1000:TPP0000i0001",
                 "1000:_TYPE", "1000:128", "1000:P0", "1000:DN20"};
  expected.insert(expected.end(), vantrix.begin(), vantrix.end());
  expected.insert(expected.end(), {"1001:JOV_LINK", "1000:77", "1001:OTHER", "1000:o"});
  EXPECT_EQ(DescribeChain(pipe->m_pBuiltChain), expected);
  EXPECT_EQ(DescribeChain(text->m_pBuiltChain), (Items{"0:TEXT", "1:new", "10:0,0,0"}));
  EXPECT_EQ(DescribeChain(text->m_entityChain.GetChain())[1], "1:old") << "the read chain stays";
  EXPECT_EQ(other->m_pBuiltChain, other->m_entityChain.GetChain());
  EXPECT_FALSE(other->m_ownsBuiltChain);
}
