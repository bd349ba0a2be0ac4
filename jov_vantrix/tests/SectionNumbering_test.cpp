// The number keys of drawn pipe pieces: pairs of "JOV_DATA" set, added and
// removed in place, and the numbers and labels of a sequence.
#include "jov_vantrix/section/SectionNumbering.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/GroupChainBuilder.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/tests/RecordingHost.h"

namespace {

using Items = std::vector<std::string>;

// "1001:JOV_DATA" etc. from "code:text" items of text nodes.
resbuf* ChainOf(const Items& items) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (const std::string& item : items) {
    const size_t colon = item.find(':');
    CreateGroupCodeNode(tail, static_cast<int16_t>(std::stoi(item.substr(0, colon))), item.substr(colon + 1).c_str());
    tail = &(*tail)->next;
  }
  return head;
}

const Items kData{"1001:JOV_DATA", "1000:TPP0015i0001", "1000:A", "1000:1", "1000:B", "1000:2"};

Items Plus(Items items, const Items& more) {
  items.insert(items.end(), more.begin(), more.end());
  return items;
}

}  // namespace

TEST(SectionNumbering, PairsAreSetAddedAndRemovedInPlace) {
  const Items linked = Plus(kData, {"1001:JOV_LINK", "1000:7"});
  const Items matrix{"1001:jov_data", "1000:E@2x2", "1000:c1", "1000:c2", "1000:c3", "1000:c4", "1000:A", "1000:1"};
  struct Case {
    const char* what;
    Items chain;
    const char* key;
    const char* value;
    int result;
    Items after;
  };
  const Case cases[] = {
      {"replace", linked, "A", "9", 1,
       {"1001:JOV_DATA", "1000:TPP0015i0001", "1000:A", "1000:9", "1000:B", "1000:2", "1001:JOV_LINK", "1000:7"}},
      {"add before the next block", linked, "C", "3", 2,
       Plus(kData, {"1000:C", "1000:3", "1001:JOV_LINK", "1000:7"})},
      {"remove", linked, "B", nullptr, 1, {"1001:JOV_DATA", "1000:TPP0015i0001", "1000:A", "1000:1", "1001:JOV_LINK", "1000:7"}},
      {"remove a missing key", linked, "C", nullptr, 2, linked},
      {"add with the pairs at the end: before the last pair", kData, "C", "3", 2,
       {"1001:JOV_DATA", "1000:TPP0015i0001", "1000:A", "1000:1", "1000:C", "1000:3", "1000:B", "1000:2"}},
      {"add before a key without value", Plus(kData, {"1000:D"}), "C", "3", 2,
       Plus(kData, {"1000:C", "1000:3", "1000:D"})},
      {"no pairs to add to", {"1001:JOV_DATA", "1000:TC", "1001:JOV_LINK", "1000:7"}, "C", "3", 0,
       {"1001:JOV_DATA", "1000:TC", "1001:JOV_LINK", "1000:7"}},
      {"no block", {"1001:JOV_LINK", "1000:A", "1000:1"}, "A", "9", 0, {"1001:JOV_LINK", "1000:A", "1000:1"}},
      {"matrix cells are no pairs", matrix, "c1", "x", 2,
       {"1001:jov_data", "1000:E@2x2", "1000:c1", "1000:c2", "1000:c3", "1000:c4", "1000:c1", "1000:x", "1000:A", "1000:1"}},
      {"matrix without its x", {"1001:JOV_DATA", "1000:E@2", "1000:A", "1000:1"}, "A", "9", 0,
       {"1001:JOV_DATA", "1000:E@2", "1000:A", "1000:1"}},
      {"matrix longer than the chain", {"1001:JOV_DATA", "1000:E@3x3", "1000:A", "1000:1"}, "A", "9", 0,
       {"1001:JOV_DATA", "1000:E@3x3", "1000:A", "1000:1"}},
  };
  for (const Case& c : cases) {
    OwnedChain chain(ChainOf(c.chain));
    EXPECT_EQ(SetJovDataValue(c.key, c.value, chain.get()), c.result) << c.what;
    EXPECT_EQ(DescribeChain(chain.get()), c.after) << c.what;
  }
  OwnedChain chain(ChainOf(matrix));
  CString typeCode;
  const resbuf* pairs = FindJovDataPairs(chain.get(), &typeCode);
  ASSERT_NE(pairs, nullptr);
  EXPECT_STREQ(pairs->value.text, "A");
  EXPECT_EQ(typeCode, "E@2x2");
}

TEST(SectionNumbering, SequencesAreNumberedAndLabelled) {
  RecordingHost host;  // would move converted points: labels are not converted
  JovCutParams params;
  auto piece = [](CObjSezNew& list, CPtrArray& sequence, GLVector a, GLVector b, int number, int connect) {
    auto* r = new CObjDataNew(kEntityLwPolyline, kObjectSupplyPipe, nullptr, UINT32_MAX);
    r->SetBuiltChain(GroupChainBuilder(0).Build(0, "LWPOLYLINE", 10, &a.x, 10, &b.x, -3, nullptr, 1001,
                                                "JOV_DATA", 1000, "TPP0015i0001", 1000, "_TYPE", 1000, "128",
                                                1000, "_DW_NUMBER", 1000, "", 1000, "_DW_CONNECT", 1000, "", -9));
    r->SetNumber(number);
    r->SetConnect(connect);
    list.AddTail(r);
    sequence.Add(r);
    return r;
  };
  auto keys = [](const CObjDataNew* r) {
    Items items = DescribeChain(r->m_pBuiltChain);
    return Items(items.begin() + 8, items.end());  // from the number keys on
  };

  CObjSezNew generated;
  CPtrArray sequence;
  CObjDataNew* first = piece(generated, sequence, {0, 0, 0}, {0, 2, 0}, 1, 0);
  CObjDataNew* second = piece(generated, sequence, {0, 2, 0}, {4, 2, 0}, 2, 1);
  WriteSegmentNumbers(generated, sequence, params, 0, 0.5, 0.8, "N", 1);
  // The pairs end the chain: each new key goes in before the last pair.
  EXPECT_EQ(keys(first), (Items{"1000:_DW_NUMBER", "1000:e1", "1000:_DW_NUMBER_ORIG", "1000:e1",
                                "1000:_DW_CONNECT_ORIG", "1000:e0", "1000:_DW_CONNECT", "1000:e0"}));
  EXPECT_EQ(keys(second)[7], "1000:e1");
  // Beside the vertical piece, above the second end of the other, tagged
  // with the piece's handle (none here).
  std::vector<Items> labels;
  NewSegmentLabels::Frame frame;
  for (size_t i = 0; i < generated.m_newLabels.Count(); ++i)
    labels.push_back(DescribeChain(generated.m_newLabels.Chain(i, frame)));
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(generated.GetCount(), 2u) << "labels are no records";
  EXPECT_EQ(labels[0], (Items{"0:TEXT", "100:AcDbEntity", "8:N", "100:AcDbText", "10:0.5,1,0", "40:0.5", "1:e1",
                              "50:0", "41:0.8", "100:AcDbText", "-3:?", "1001:QM_KEY", "1000:T-cisla_useku",
                              "1000:"}));
  EXPECT_EQ(labels[1][4], "10:2,2.25,0");
  EXPECT_EQ(labels[1][6], "1:e2");

  CObjSezNew plain;
  CPtrArray offsets;
  CObjDataNew* fifth = piece(plain, offsets, {0, 0, 0}, {1, 0, 0}, 1, 0);
  CObjDataNew* sixth = piece(plain, offsets, {1, 0, 0}, {2, 0, 0}, 2, 1);
  WriteSegmentNumbers(plain, offsets, params, 5, 0.0, 1.0, "", 0);
  EXPECT_EQ(keys(fifth), (Items{"1000:_DW_NUMBER", "1000:5", "1000:_DW_CONNECT", "1000:0"}));
  EXPECT_EQ(keys(sixth), (Items{"1000:_DW_NUMBER", "1000:6", "1000:_DW_CONNECT", "1000:5"}));
  EXPECT_EQ(plain.GetCount(), 2u) << "no labels";
  // Keys missing before another block go in front of it, in order.
  auto* linked = new CObjDataNew(kEntityLwPolyline, kObjectSupplyPipe, nullptr, UINT32_MAX);
  linked->SetBuiltChain(ChainOf(Plus(kData, {"1001:JOV_LINK", "1000:7"})));
  linked->SetNumber(3);
  plain.AddTail(linked);
  CPtrArray floorPlan;
  floorPlan.Add(linked);
  WriteSegmentNumbers(plain, floorPlan, params, 1, 0.0, 1.0, "", 0);
  EXPECT_EQ(DescribeChain(linked->m_pBuiltChain),
            Plus(kData, {"1000:_DW_NUMBER", "1000:3", "1000:_DW_CONNECT", "1000:0", "1001:JOV_LINK", "1000:7"}));
  // Renumbered: shorter values written over the old, longer ones anew.
  for (const auto& [start, number, connect] : {std::tuple{1, "2", "1"}, {99, "100", "99"}, {1, "2", "1"}}) {
    WriteSegmentNumbers(plain, offsets, params, start, 0.0, 1.0, "", 0);
    EXPECT_EQ(keys(sixth), (Items{"1000:_DW_NUMBER", std::string("1000:") + number, "1000:_DW_CONNECT",
                                  std::string("1000:") + connect})) << start;
  }

  // A riser-side end's copy of a read piece is labelled above the piece's
  // label, naming it; exported again, its label is rewritten, none added.
  CObjSezNew drawn;
  const double ends[][3] = {{0, 0, 0}, {0, 2, 0}};
  OwnedChain chain(GroupChainBuilder(0).Build(0, "LWPOLYLINE", 5, "B1", 10, ends[0], 10, ends[1], -9));
  auto* pipe = new CObjDataNew(kEntityLwPolyline, kObjectSupplyPipe, chain.get(), 0);
  CPtrArray pipes;
  for (CObjDataNew* r : {pipe, new CObjDataNew(*pipe, 2, 1)}) drawn.AddTail(r), pipes.Add(r);
  RenewSegmentLabels(drawn, pipes, params, 1, 0.5, 0.8, "N", 1);
  ASSERT_EQ(drawn.m_newLabels.Count(), 2u);
  const Items label = DescribeChain(drawn.m_newLabels.Chain(1, frame));
  EXPECT_EQ((Items{label[4], label[6], label.back()}), (Items{"10:0.5,1.75,0", "1:2", "1000:B1"}));
  for (size_t i = 0; i < 2; ++i) drawn.m_allRecords.Add(NewReadRecord(drawn.m_newLabels.Chain(i, frame), 1 + i));
  for (INT_PTR i = 0; i < 2; ++i) drawn.m_heldRecords.AddTail(static_cast<CObjDataNew*>(drawn.m_allRecords[i]));
  drawn.m_newLabels.Clear();
  RenewSegmentLabels(drawn, pipes, params, 10, 0.5, 0.8, "N", 1);
  EXPECT_EQ(drawn.m_newLabels.Count(), 0u);
  EXPECT_EQ(DescribeChain(static_cast<CObjDataNew*>(drawn.m_allRecords[1])->GetChain())[6], "1:11");
}

// The sequences' records written in one walk, ordered by their indexes
// (close together) or left as given (far apart): the same chains either way.
TEST(SectionNumbering, SequencesAreWrittenInOneWalk) {
  const Items link{"1001:JOV_LINK", "1000:_DW_NUMBER", "1000:7"};
  const Items keys{"1000:_DW_NUMBER", "1000:12345", "1000:_DW_CONNECT", "1000:12344"};
  const Items old = Plus(kData, {"1000:_DW_NUMBER", "1000:1", "1000:_DW_CONNECT", "1000:0"});
  const struct Case {
    const char* what;
    Items chain, after;
    const char* writtenBefore;  // a long number another writer set first
  } cases[] = {
      {"numbers in their nodes take longer ones", old, Plus(kData, keys), nullptr},
      {"over a longer number a writer set", old, Plus(kData, keys), "123456789012345678"},
      {"missing keys go in before the next block", Plus(kData, link), Plus(Plus(kData, keys), link), nullptr},
      {"a repeated key: its first pair", Plus(old, {"1000:_DW_NUMBER", "1000:1"}),
       Plus(Plus(kData, keys), {"1000:_DW_NUMBER", "1000:1"}), nullptr},
      {"another block's keys stay", Plus(link, old), Plus(link, Plus(kData, keys)), nullptr},
      {"no block", link, link, nullptr},
  };
  for (const uint32_t apart : {1u, 100u}) {
    CObjSezNew list;
    CPtrArray odd, even;
    for (uint32_t k = 0; k < std::size(cases); ++k) {
      OwnedChain chain(ChainOf(cases[k].chain));
      auto* r = new CObjDataNew(kEntityLwPolyline, kObjectSupplyPipe, chain.get(), k * apart);
      if (const char* before = cases[k].writtenBefore)
        SetJovDataValue("_DW_NUMBER", before, r->m_entityChain.GetChainForWrite());
      r->SetNumber(12345), r->SetConnect(12344);
      list.AddTail(r);
      if (k % 2) odd.InsertAt(0, r); else even.Add(r);
    }
    even.Add(nullptr), even.Add(list.GetHead());  // the first met twice
    const CPtrArray* const sequences[] = {&odd, &even};
    WriteSequenceNumbers(sequences, 1);
    uint32_t k = 0;
    for (const CSeznam* r = list.GetHead(); r; r = r->GetNext(), ++k)
      EXPECT_EQ(DescribeChain(static_cast<const CObjDataNew*>(r)->GetChain()), cases[k].after)
          << cases[k].what << apart;
  }
}

namespace {

// Appends records numbered as (number, connect) pairs, owned by the list.
void Numbered(CObjSezNew& list, CPtrArray& sequence, const std::vector<std::pair<int, int>>& numbers) {
  for (const auto& [number, connect] : numbers) {
    auto* r = new CObjDataNew(0, 0, nullptr, list.GetCount());
    r->SetNumber(number);
    r->SetConnect(connect);
    list.AddTail(r);
    sequence.Add(r);
  }
}

std::vector<std::pair<int, int>> NumbersOf(const CPtrArray& sequence) {
  std::vector<std::pair<int, int>> out;
  for (INT_PTR i = 0; i < sequence.GetSize(); ++i) {
    const auto* r = static_cast<const CObjDataNew*>(sequence[i]);
    out.emplace_back(r ? r->GetNumber() : -1, r ? r->GetConnect() : -1);
  }
  return out;
}

using Numbers = std::vector<std::pair<int, int>>;

// A first run of three pieces numbered as drawn, counted from the far end,
// then a second run of two appended and the section renumbered from where
// it begins. The return sequence is shorter: it is renumbered only as far
// as it goes, and its missing second piece is left alone.
TEST(SectionNumbering, ReverseThenRenumberAfterASecondRun) {
  CObjSezNew list;
  Numbered(list, list.m_sectionSupply, {{1, 0}, {2, 1}, {3, 2}});
  Numbered(list, list.m_sectionReturn, {{1, 0}});
  ReverseSectionNumbers(list);
  EXPECT_EQ(NumbersOf(list.m_sectionSupply), (Numbers{{3, 0}, {2, 3}, {1, 2}}));
  EXPECT_EQ(NumbersOf(list.m_sectionReturn), (Numbers{{3, 0}}));

  Numbered(list, list.m_sectionSupply, {{1, 0}, {2, 1}});
  RenumberSectionFrom(list, 3);
  EXPECT_EQ(NumbersOf(list.m_sectionSupply), (Numbers{{5, 0}, {2, 5}, {1, 2}, {4, 5}, {3, 4}}));
  EXPECT_EQ(NumbersOf(list.m_sectionReturn), (Numbers{{1, 0}})) << "its size, nothing beyond it";

  CObjSezNew empty;
  ReverseSectionNumbers(empty);
  RenumberSectionFrom(empty, 0);
  EXPECT_TRUE(empty.m_sectionSupply.IsEmpty());
}

TEST(SectionNumbering, RunsAreSplicedBehindTheirBaseElement) {
  struct Case {
    const char* what;
    Numbers sequence;
    int64_t position;
    Numbers run;
    Numbers sequenceAfter, runAfter;
  } const cases[] = {
      {"at position 1: the first element is the base", {{1, 0}, {2, 1}, {3, 2}}, 1, {{1, 0}, {2, 1}},
       {{1, 0}, {4, 1}, {5, 4}}, {{2, 1}, {3, 2}}},
      {"at the end: nothing moves", {{1, 0}, {2, 1}}, 2, {{1, 0}}, {{1, 0}, {2, 1}}, {{3, 2}}},
      {"connects at or below the base's stay", {{5, 0}, {4, 5}, {3, 4}, {2, 0}}, 2, {{1, 0}},
       {{5, 0}, {4, 5}, {4, 4}, {3, 0}}, {{5, 4}}},
      {"position 0 is no position", {{1, 0}}, 0, {{1, 0}}, {{1, 0}}, {{1, 0}}},
      {"nor one past the end", {{1, 0}}, 2, {{1, 0}}, {{1, 0}}, {{1, 0}}},
  };
  for (const Case& c : cases) {
    CObjSezNew list;
    CPtrArray sequence, run;
    Numbered(list, sequence, c.sequence);
    Numbered(list, run, c.run);
    SpliceChainNumbers(list, sequence, c.position, run);
    EXPECT_EQ(NumbersOf(sequence), c.sequenceAfter) << c.what;
    EXPECT_EQ(NumbersOf(run), c.runAfter) << c.what;
  }
}

TEST(SectionNumbering, PositionsAreOneBasedAndMissingRecordsHaveNone) {
  CObjSezNew list;
  CPtrArray sequence;
  Numbered(list, sequence, {{1, 0}, {2, 1}});
  sequence.Add(nullptr);
  EXPECT_EQ(FindRecordPosition(list, sequence, static_cast<CObjDataNew*>(sequence[1])), 2);
  EXPECT_EQ(FindRecordPosition(list, sequence, nullptr), -1) << "a null record is never found";
  CObjDataNew stranger(0, 0, nullptr, 0);
  EXPECT_EQ(FindRecordPosition(list, sequence, &stranger), -1);
}

}  // namespace

// Only a TEXT is a segment label: another entity carrying a label's tag (a
// user's copy of its extended data) is neither cleared nor erased as a
// stale label would be.
TEST(SectionNumbering, OnlyTextsAreTakenForLabels) {
  CObjSezNew list;
  std::vector<CObjDataNew*> read;
  for (const char* type : {"TEXT", "LINE", "MTEXT"}) {
    resbuf* chain = GroupChainBuilder(0).Build(0, type, 8, "N", 1, "e7", -3, nullptr, 1001, "QM_KEY", 1000,
                                               "T-cisla_useku", 1000, "gone", -9);
    read.push_back(NewReadRecord(chain, list.m_readCount++));
    FreeGroupCodeChain(chain);
    list.m_allRecords.Add(read.back());
    list.m_heldRecords.AddTail(read.back());
  }
  RenewSegmentLabels(list, CPtrArray(), JovCutParams(), 1, 0.5, 1.0, "N", 0);
  ASSERT_NE(read[0]->m_pBuiltChain, nullptr) << "the stale label is cleared";
  EXPECT_EQ(DescribeChain(read[0]->m_pBuiltChain)[2], "1:");
  for (const CObjDataNew* other : {read[1], read[2]})
    EXPECT_TRUE(!other->m_pBuiltChain && !other->m_erase) << DescribeChain(other->GetChain())[0];
}
