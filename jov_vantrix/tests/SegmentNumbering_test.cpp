#include "jov_vantrix/network/SegmentNumbering.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/CSchSezNew.h"
#include "jov_vantrix/network/CUndoArray.h"

namespace {

// A record of the network as the export reader files it.
CObjDataNew* Pipe(const char* assoc, uint32_t index, int objectType = kObjectSupplyPipe,
                  int readNumber = 0, int readConnect = 0) {
  auto* r = new CObjDataNew(kEntityLwPolyline, objectType, nullptr, index);
  r->m_assoc = assoc;
  r->m_riserNumber = "1";
  r->SetReadNumber(readNumber);
  r->SetNumber(readNumber);
  r->SetReadConnect(readConnect);
  r->SetConnect(readConnect);
  return r;
}

std::vector<int> Numbers(const CNumSezNew* group) {
  std::vector<int> out;
  for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) out.push_back(r->GetNumber());
  return out;
}

std::vector<int> Connects(const CNumSezNew* group) {
  std::vector<int> out;
  for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) out.push_back(r->GetConnect());
  return out;
}

// One numbering step as the export dialog takes it: snapshot on the undo
// stack, numbers from the counter, counter moved on.
void NumberGroup(CSchSezNew& scheme, uint32_t groupId) {
  CNumSezNew* group = scheme.GetFreeGroup(groupId);
  ASSERT_NE(group, nullptr);
  const uint32_t offset = scheme.m_nextFreeNumber - 1;
  auto* snapshot = new CNumberingSnapshot(static_cast<int32_t>(groupId), static_cast<int32_t>(offset));
  scheme.m_pUndo->Add(snapshot);
  SnapshotGroup(group, &offset, snapshot);
  scheme.m_nextFreeNumber += group->m_pipeCount;
}

}  // namespace

TEST(AddRecordToChain, AppendingConnectsToTheLastOrTheOneBefore) {
  CObjDataNew a(0, 0, nullptr, 0), b(0, 0, nullptr, 1), c(0, 0, nullptr, 2);
  CPtrArray chain;
  for (CObjDataNew* r : {&a, &b, &c}) {
    r->SetConnect(-1);
    AddRecordToChain(r, chain, true, false);
  }
  EXPECT_EQ(a.GetNumber(), 1);
  EXPECT_EQ(a.GetConnect(), -1) << "the first of a run keeps its connect";
  EXPECT_EQ(b.GetConnect(), 1);
  EXPECT_EQ(c.GetNumber(), 3);
  EXPECT_EQ(c.GetConnect(), 1) << "with two or more, the one before the last";

  CObjDataNew d(0, 0, nullptr, 3), e(0, 0, nullptr, 4);
  CPtrArray copy;
  copy.Copy(chain);
  AddRecordToChain(&d, chain, true, false);
  EXPECT_EQ(d.GetNumber(), 4);
  EXPECT_EQ(d.GetConnect(), 2);
  AddRecordToChain(&e, copy, true, true);
  EXPECT_EQ(e.GetNumber(), 4);
  EXPECT_EQ(e.GetConnect(), 3);
}

TEST(AddRecordToChain, InsertingGoesBeforeTheLast) {
  CObjDataNew a(0, 0, nullptr, 0), b(0, 0, nullptr, 1), c(0, 0, nullptr, 2), n(0, 0, nullptr, 3);
  CPtrArray chain;
  for (CObjDataNew* r : {&a, &b, &c}) AddRecordToChain(r, chain, true, true);
  ASSERT_EQ(c.GetConnect(), 2);
  AddRecordToChain(&n, chain, false, false);
  EXPECT_EQ(n.GetNumber(), 3);
  EXPECT_EQ(n.GetConnect(), 2) << "the last element's old connect";
  EXPECT_EQ(c.GetNumber(), 4);
  EXPECT_EQ(c.GetConnect(), 3);
  ASSERT_EQ(chain.GetSize(), 4);
  EXPECT_EQ(chain[2], &n);
  EXPECT_EQ(chain[3], &c);
}

TEST(AddRecordToChain, InsertingIntoAnEmptyRunAppends) {
  CObjDataNew a(0, 0, nullptr, 0);
  a.SetConnect(8);
  CPtrArray chain;
  AddRecordToChain(&a, chain, false, false);
  ASSERT_EQ(chain.GetSize(), 1);
  EXPECT_EQ(a.GetNumber(), 1);
  EXPECT_EQ(a.GetConnect(), 8);
}

TEST(CSchSezNew, GroupsAreNumberedInOrderOfFirstAppearance) {
  CSchSezNew scheme;
  CObjDataNew* first = Pipe("A", 0);
  CObjDataNew* second = Pipe("B", 1, kObjectReturnPipe);
  CObjDataNew* third = Pipe("A", 2);
  for (CObjDataNew* r : {first, second, third}) scheme.FileRecord(r);
  scheme.FileRecord(nullptr);
  ASSERT_EQ(scheme.GetGroupCount(), 2u);
  CNumSezNew* a = scheme.FindGroup(1);
  CNumSezNew* b = scheme.FindGroup(2);
  ASSERT_TRUE(a && b);
  EXPECT_STREQ(a->m_name, "A");
  EXPECT_EQ(a->CSeznam::GetCount(), 2u);
  EXPECT_EQ(a->m_pipeCount, 2u);
  EXPECT_EQ(b->m_pipeCount, 0u) << "only supply pipes count";
  EXPECT_EQ(third->m_pGroup, a);
  EXPECT_EQ(second->m_pGroup, b);
  EXPECT_EQ(scheme.FindGroup(3), nullptr);

  scheme.FileRecord(Pipe("a", 3));
  EXPECT_EQ(scheme.GetGroupCount(), 3u) << "associations match exactly";
  scheme.m_groups.RemoveAll();  // the group filed into last goes with them
  scheme.FileRecord(Pipe("a", 5));
  EXPECT_TRUE(scheme.GetGroupCount() == 1 && scheme.FindGroup(1)->CSeznam::GetCount() == 1);
}

TEST(CSchSezNew, FreeGroupsAreThoseWithoutFlags) {
  CSchSezNew scheme;
  scheme.FileRecord(Pipe("A", 0));
  scheme.FileRecord(Pipe("B", 1));
  EXPECT_EQ(scheme.GetFreeGroup(0), scheme.FindGroup(1));
  scheme.FindGroup(1)->m_flagA = 1;
  scheme.FindGroup(2)->m_flagB = 1;
  EXPECT_EQ(scheme.GetFreeGroup(0), nullptr);
  EXPECT_EQ(scheme.GetFreeGroup(1), nullptr);
  EXPECT_EQ(scheme.GetFreeGroup(7), nullptr);
}

TEST(CSchSezNew, StyleIsRefusedForAChangedGroupUnlessForced) {
  CSchSezNew scheme;
  scheme.FileRecord(Pipe("A", 0));
  CNumSezNew* group = scheme.FindGroup(1);
  EXPECT_TRUE(scheme.SetGroupStyle(group, false, 7));
  group->m_changed = 1;
  EXPECT_FALSE(scheme.SetGroupStyle(group, false, 7));
  EXPECT_TRUE(scheme.SetGroupStyle(group, true, 7));
  EXPECT_FALSE(scheme.SetGroupStyle(nullptr, true, 7));

  // What the preview draws a group's pipes in.
  EXPECT_EQ(SegmentStyle(kObjectSupplyPipe, false, 7), 1u);
  EXPECT_EQ(SegmentStyle(kObjectReturnPipe, false, 7), 5u);
  EXPECT_EQ(SegmentStyle(kObjectReturnPipe, false, 3), 3u);
  EXPECT_EQ(SegmentStyle(kObjectSupplyPipe, true, 7), 7u);
}

TEST(CUndoArray, OutOfRangeIndexesGiveNull) {
  CUndoArray undo;
  EXPECT_EQ(undo.GetAt(-1), nullptr);
  EXPECT_EQ(undo.GetAt(0), nullptr);
  auto* snapshot = new CNumberingSnapshot(0, 0);
  undo.Add(snapshot);
  EXPECT_EQ(undo.GetAt(0), snapshot);
  EXPECT_EQ(undo.GetAt(1), nullptr);
  EXPECT_EQ(undo.GetAt(-1), nullptr);
  undo.Add(new CNumberingSnapshot(1, 3));  // both deleted with the stack
}

TEST(SegmentNumbering, OffsetMovesEveryPipeFromItsReadNumbers) {
  CNumSezNew group(1);
  CObjDataNew* pipe = Pipe("A", 0, kObjectSupplyPipe, 3, 2);
  pipe->SetNumber(50);
  CObjDataNew* product = Pipe("A", 1, kObjectNetworkInsert, 8, 8);
  group.AddRecord(pipe);
  group.AddRecord(product);
  OffsetGroupNumbers(&group, 100);
  EXPECT_EQ(pipe->GetNumber(), 103);
  EXPECT_EQ(pipe->GetConnect(), 102);
  EXPECT_EQ(product->GetNumber(), 8) << "only pipes are numbered";
  EXPECT_EQ(group.m_changed, 1);
}

TEST(SegmentNumbering, SnapshotRecordsThePipesBeforeTheOffset) {
  CNumSezNew group(2);
  group.AddRecord(Pipe("A", 10, kObjectSupplyPipe, 1, 0));
  group.AddRecord(Pipe("A", 11, kObjectNetworkInsert, 9, 9));
  group.AddRecord(Pipe("A", 12, kObjectReturnPipe, 2, 1));
  CNumberingSnapshot snapshot(1, 4);
  const uint32_t offset = 4;
  SnapshotGroup(&group, &offset, &snapshot);
  ASSERT_EQ(snapshot.indexes.GetCount(), 2);
  EXPECT_EQ(snapshot.indexes.ElementAt(1), 12);
  EXPECT_EQ(snapshot.numbers.ElementAt(1), 2);
  EXPECT_EQ(snapshot.connects.ElementAt(1), 1);
  EXPECT_EQ(Numbers(&group), (std::vector<int>{5, 9, 6}));

  SnapshotGroup(&group, nullptr, nullptr);
  EXPECT_EQ(Numbers(&group), (std::vector<int>{5, 9, 6})) << "nothing to do";
}

TEST(SegmentNumbering, UndoRestoresNumbersAndGivesTheCounterBack) {
  CSchSezNew scheme;
  CUndoArray undo;
  scheme.m_pUndo = &undo;
  for (uint32_t i = 0; i < 3; ++i) scheme.FileRecord(Pipe("A", i, kObjectSupplyPipe, int(i) + 1, int(i)));
  for (uint32_t i = 3; i < 5; ++i) scheme.FileRecord(Pipe("B", i, kObjectSupplyPipe, int(i) - 2, int(i) - 3));
  CNumSezNew* a = scheme.FindGroup(1);
  CNumSezNew* b = scheme.FindGroup(2);

  NumberGroup(scheme, 0);
  NumberGroup(scheme, 1);
  EXPECT_EQ(scheme.m_nextFreeNumber, 6u);
  EXPECT_EQ(Numbers(a), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Numbers(b), (std::vector<int>{4, 5}));
  EXPECT_EQ(Connects(b), (std::vector<int>{0, 4})) << "its start stays one";
  ASSERT_EQ(b->m_changed, 1);

  ASSERT_TRUE(scheme.UndoStep(1));
  EXPECT_EQ(undo.GetSize(), 1);
  EXPECT_EQ(b->m_changed, 0);
  EXPECT_EQ(Numbers(b), (std::vector<int>{1, 2})) << "the numbers before the step";
  EXPECT_EQ(Connects(b), (std::vector<int>{0, 1}));
  EXPECT_EQ(scheme.m_nextFreeNumber, 4u) << "the step's numbers are free again";

  NumberGroup(scheme, 1);
  EXPECT_EQ(Numbers(b), (std::vector<int>{4, 5})) << "renumbering leaves no gap";
  EXPECT_EQ(scheme.m_nextFreeNumber, 6u);
}

TEST(SegmentNumbering, UndoingAnEarlierStepKeepsTheCounter) {
  CSchSezNew scheme;
  CUndoArray undo;
  scheme.m_pUndo = &undo;
  scheme.FileRecord(Pipe("A", 0, kObjectSupplyPipe, 1, 0));
  scheme.FileRecord(Pipe("B", 1, kObjectSupplyPipe, 1, 0));
  NumberGroup(scheme, 0);
  NumberGroup(scheme, 1);
  ASSERT_TRUE(scheme.UndoStep(0));
  EXPECT_EQ(scheme.m_nextFreeNumber, 3u) << "number 2 is still in use";
  EXPECT_EQ(Numbers(scheme.FindGroup(1)), std::vector<int>{1});
  EXPECT_EQ(Numbers(scheme.FindGroup(2)), std::vector<int>{2});
  EXPECT_EQ(undo.GetSize(), 1);
}

TEST(SegmentNumbering, UndoRefusesWhatItCannotFind) {
  CSchSezNew scheme;
  EXPECT_FALSE(scheme.UndoStep(0)) << "no undo stack";
  CUndoArray undo;
  scheme.m_pUndo = &undo;
  scheme.FileRecord(Pipe("A", 0));
  EXPECT_FALSE(scheme.UndoStep(0));
  undo.Add(new CNumberingSnapshot(5, 0));
  EXPECT_FALSE(scheme.UndoStep(0)) << "group 6 does not exist";
  EXPECT_EQ(undo.GetSize(), 1);
}

TEST(SegmentNumbering, SnapshotFollowsSupplyPipesIntoFixedGroups) {
  CSchSezNew scheme;
  CObjDataNew* own = Pipe("A", 0, kObjectSupplyPipe, 1, 0);
  CObjDataNew* fixedPipe = Pipe("F", 1, kObjectSupplyPipe, 2, 1);
  CObjDataNew* freePipe = Pipe("G", 2, kObjectSupplyPipe, 3, 2);
  for (CObjDataNew* r : {own, fixedPipe, freePipe}) scheme.FileRecord(r);
  scheme.FindGroup(2)->m_flagB = 1;
  own->m_pLinkA = fixedPipe;
  own->m_pLinkB = freePipe;

  CNumberingSnapshot snapshot(0, 0);
  for (auto [r, n] : {std::pair{own, 11}, {fixedPipe, 12}, {freePipe, 13}}) {
    r->SetNumber(n);
    SnapshotRecord(snapshot, r);
    r->SetNumber(0);
  }
  ApplyNumberSnapshot(scheme.FindGroup(1), snapshot);
  EXPECT_EQ(own->GetNumber(), 11);
  EXPECT_EQ(fixedPipe->GetNumber(), 12);
  EXPECT_EQ(scheme.FindGroup(2)->m_changed, 1) << "12 differs from the read 2";
  EXPECT_EQ(freePipe->GetNumber(), 0) << "a group without flags is not followed";
}

TEST(SegmentNumbering, LinkedGroupsInACycleAreVisitedOnce) {
  CSchSezNew scheme;
  CObjDataNew* own = Pipe("A", 0, kObjectSupplyPipe, 1, 0);
  CObjDataNew* p = Pipe("P", 1, kObjectSupplyPipe, 2, 1);
  CObjDataNew* q = Pipe("Q", 2, kObjectSupplyPipe, 3, 2);
  CObjDataNew* r = Pipe("R", 3, kObjectSupplyPipe, 4, 3);
  for (CObjDataNew* x : {own, p, q, r}) scheme.FileRecord(x);
  for (uint32_t g = 2; g <= 4; ++g) scheme.FindGroup(g)->m_flagA = 1;
  own->m_pLinkA = p;
  p->m_pLinkA = q;
  q->m_pLinkA = r;
  r->m_pLinkA = p;  // back to the start: P, Q, R, P, ...
  r->m_pLinkB = r;  // and to itself

  CNumberingSnapshot snapshot(0, 0);
  for (CObjDataNew* x : {own, p, q, r}) {
    x->SetNumber(static_cast<int>(x->m_index) + 20);
    SnapshotRecord(snapshot, x);
    x->SetNumber(0);
  }
  ApplyNumberSnapshot(scheme.FindGroup(1), snapshot);
  EXPECT_EQ(p->GetNumber(), 21);
  EXPECT_EQ(q->GetNumber(), 22);
  EXPECT_EQ(r->GetNumber(), 23);
}

TEST(SegmentNumbering, RiserSideEndGetsACopyFromTheCounter) {
  CSchSezNew scheme;
  scheme.m_nextFreeNumber = 40;
  CObjDataNew* neighbour = Pipe("N", 0, kObjectSupplyPipe, 7, 6);
  CObjDataNew* end = Pipe("A", 1, kObjectSupplyPipe, 12, 11);
  end->m_riserPosition = "1";
  end->m_pLinkB = neighbour;
  CObjDataNew* label = Pipe("A", 2, kObjectOther, 0, 12);
  label->m_riserNumber.Empty();
  scheme.FileRecord(neighbour);
  scheme.FileRecord(end);
  scheme.FileRecord(label);
  CNumSezNew* group = scheme.FindGroup(2);

  NumberSegments(group, scheme);
  EXPECT_EQ(end->GetConnect(), 40);
  EXPECT_EQ(label->GetConnect(), 40) << "what connected to the end now connects to the copy";
  EXPECT_EQ(scheme.m_nextFreeNumber, 41u);
  ASSERT_EQ(group->CSeznam::GetCount(), 3u);
  auto* copy = static_cast<CObjDataNew*>(label->GetNext());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->GetNumber(), 40);
  EXPECT_EQ(copy->GetConnect(), 7);
  EXPECT_EQ(copy->m_pGroup, group);
  EXPECT_EQ(neighbour->GetConnect(), 6) << "the neighbour is left alone";
}

TEST(SegmentNumbering, FixedEndsHandTheirConnectOn) {
  CSchSezNew scheme;
  CObjDataNew* loose = Pipe("A", 0, kObjectSupplyPipe, 5, 0);
  loose->SetConnect(9);
  CObjDataNew* end = Pipe("A", 1, kObjectSupplyPipe, 6, 4);
  end->m_riserPosition = "1";
  CObjDataNew* linkA = Pipe("B", 2, kObjectSupplyPipe, 7, 6);
  CObjDataNew* linkB = Pipe("B", 3, kObjectSupplyPipe, 8, 2);
  end->m_pLinkA = linkA;
  end->m_pLinkB = linkB;
  for (CObjDataNew* r : {loose, end, linkA, linkB}) scheme.FileRecord(r);
  CNumSezNew* group = scheme.FindGroup(1);
  group->m_flagA = 1;

  NumberSegments(group, scheme);
  EXPECT_EQ(loose->GetConnect(), 0) << "flag A and read connect 0";
  EXPECT_EQ(linkA->GetConnect(), 4) << "link B does not point back; link A does";
  EXPECT_EQ(linkB->GetConnect(), 2);
  EXPECT_EQ(scheme.m_nextFreeNumber, 1u);
}

TEST(SegmentNumbering, OpenEndsConnectToATouchingSegmentOfAnotherGroup) {
  CSchSezNew scheme;
  CObjDataNew* open = Pipe("A", 0, kObjectSupplyPipe, 3, 0);
  open->m_start = GLVector(0, 0, 0);
  open->m_end = GLVector(5, 0, 0);
  CObjDataNew* sameGroup = Pipe("A", 1, kObjectSupplyPipe, 4, 0);
  sameGroup->m_start = GLVector(5, 0, 0);
  CObjDataNew* returnPipe = Pipe("B", 2, kObjectReturnPipe, 8, 0);
  returnPipe->m_start = GLVector(5, 0, 0);
  CObjDataNew* touching = Pipe("C", 3, kObjectSupplyPipe, 9, 0);
  touching->m_start = GLVector(5, 0, 0);
  for (CObjDataNew* r : {open, sameGroup, returnPipe, touching}) scheme.FileRecord(r);
  NumberSegments(scheme.FindGroup(1), scheme);
  EXPECT_EQ(open->GetConnect(), 9) << "neither its own group nor another kind of pipe";
}
