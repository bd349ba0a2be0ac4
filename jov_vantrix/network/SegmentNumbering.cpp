#include "jov_vantrix/network/SegmentNumbering.h"

#include <unordered_set>
#include <vector>

#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CSchSezNew.h"
#include "jov_vantrix/network/NetworkIndex.h"
#include "jov_vantrix/network/RecordGeometry.h"

namespace {

bool IsPipeRecord(const CObjDataNew* record) {
  return record->m_objectType == kObjectSupplyPipe || record->m_objectType == kObjectReturnPipe;
}

bool IsSegment(const CObjDataNew* record) {
  return IsSegmentOfType(record, kObjectSupplyPipe) || IsSegmentOfType(record, kObjectReturnPipe);
}

CObjDataNew* RecordAt(const CPtrArray& chain, INT_PTR i) { return static_cast<CObjDataNew*>(chain[i]); }

int OffsetNumber(int number, uint32_t offset) {
  return static_cast<int>(static_cast<uint32_t>(number) + offset);
}

// Number and connect from the snapshot's first entry of the record's index;
// false when the snapshot does not hold it.
bool RestoreRecord(CObjDataNew* record, const CNumberingSnapshot& snapshot) {
  const int count = snapshot.indexes.GetCount();
  for (int i = 0; i < count; ++i) {
    if (static_cast<uint32_t>(snapshot.indexes.ElementAt(i)) != record->m_index) continue;
    if (i < snapshot.numbers.GetCount()) record->SetNumber(snapshot.numbers.ElementAt(i));
    if (i < snapshot.connects.GetCount()) record->SetConnect(snapshot.connects.ElementAt(i));
    UpdateNumberLabel(record);
    return true;
  }
  return false;
}

using VisitedGroups = std::unordered_set<const CNumSezNew*>;

void ApplyLinkedSnapshot(CNumSezNew* group, const CString& guard, const CNumberingSnapshot& snapshot,
                         VisitedGroups& visited);

void FollowLinks(const CObjDataNew* record, const CString& guard, const CNumSezNew* from,
                 const CNumberingSnapshot& snapshot, VisitedGroups& visited, bool checkGuard) {
  for (const CObjDataNew* link : {record->m_pLinkA, record->m_pLinkB}) {
    if (!link || !link->m_pGroup) continue;
    if (checkGuard && link->m_pGroup->m_name == guard) continue;
    ApplyLinkedSnapshot(link->m_pGroup, from->m_name, snapshot, visited);
  }
}

void ApplyLinkedSnapshot(CNumSezNew* group, const CString& guard, const CNumberingSnapshot& snapshot,
                         VisitedGroups& visited) {
  if (!group->IsFixed() || !visited.insert(group).second) return;
  for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (!IsPipeRecord(r) || !RestoreRecord(r, snapshot)) continue;
    group->m_changed = r->GetNumber() != r->GetReadNumber() ? 1 : 0;
    if (r->m_objectType == kObjectSupplyPipe) FollowLinks(r, guard, group, snapshot, visited, true);
  }
}

// The first segment of another group that the record touches, in the
// order of the groups and their records.
CObjDataNew* FirstTouchingSegment(const CObjDataNew* r, const CNumSezNew* group, const CSchSezNew& scheme,
                                  const EndPointIndex* ends) {
  if (ends) {
    for (const IndexedRecord& found : ends->NearEither(r->m_start, r->m_end)) {
      const CObjDataNew* s = found.record;
      if (s->m_pGroup && s->m_pGroup->m_name != group->m_name && IsConnectedTo(r, s))
        return found.record;
    }
    return nullptr;
  }
  for (CNumSezNew* g = scheme.GetFirstGroup(); g; g = g->GetNextGroup()) {
    if (g->m_name == group->m_name) continue;
    for (CObjDataNew* s = g->GetFirstRecord(); s; s = s->GetNextRecord())
      if (IsConnectedTo(r, s)) return s;
  }
  return nullptr;
}

}  // namespace

void AddRecordToChain(CObjDataNew* record, CPtrArray& chain, bool append, bool connectToPrevious) {
  if (!record) return;
  const INT_PTR n = chain.GetSize();
  if (append || n == 0) {
    if (n >= 2 && !connectToPrevious)
      record->SetConnect(RecordAt(chain, n - 2)->GetNumber());
    else if (n >= 1)
      record->SetConnect(RecordAt(chain, n - 1)->GetNumber());
    record->SetNumber(static_cast<int>(n + 1));
    chain.Add(record);
    return;
  }
  CObjDataNew* last = RecordAt(chain, n - 1);
  record->SetNumber(static_cast<int>(n));
  record->SetConnect(last->GetConnect());
  last->SetNumber(static_cast<int>(n + 1));
  last->SetConnect(static_cast<int>(n));
  chain.InsertAt(n - 1, record);
}

void NumberSegments(CNumSezNew* group, CSchSezNew& scheme, const EndPointIndex* ends) {
  if (!group) return;
  std::vector<CObjDataNew*> segments;
  std::vector<CObjDataNew*> others;
  for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord())
    (IsSegment(r) ? segments : others).push_back(r);
  NumberSegmentsOf(group, scheme, ends, segments, others);
}

bool SegmentMayChange(const CObjDataNew* record) {
  return IsSegment(record) && (record->m_riserPosition == "1" || record->GetReadConnect() == 0);
}

void NumberSegmentsOf(CNumSezNew* group, CSchSezNew& scheme, const EndPointIndex* ends,
                      std::span<CObjDataNew* const> segments, std::span<CObjDataNew* const> others) {
  if (!group) return;
  // Records added for riser-side ends: no segments, behind the others.
  std::vector<CObjDataNew*> added;
  for (CObjDataNew* r : segments) {
    if (group->m_flagA && r->GetReadConnect() == 0) {
      r->SetConnect(0);
      continue;
    }
    if (r->m_riserPosition != "1") {
      if (r->GetReadConnect() != 0) continue;
      if (const CObjDataNew* s = FirstTouchingSegment(r, group, scheme, ends)) r->SetConnect(s->GetNumber());
      continue;
    }
    if (!group->m_flagA) {
      if (!r->m_pLinkB) continue;
      const int n = static_cast<int>(scheme.m_nextFreeNumber);
      added.push_back(new CObjDataNew(*r, n, r->m_pLinkB->GetNumber()));
      group->AddRecord(added.back());
      r->SetConnect(n);
      ++scheme.m_nextFreeNumber;
      for (const auto& list : {others, std::span<CObjDataNew* const>(added)})
        for (CObjDataNew* s : list)
          if (s->GetConnect() == r->GetNumber()) s->SetConnect(n);
      continue;
    }
    if (r->m_pLinkB && r->m_pLinkB->GetConnect() == r->GetNumber())
      r->m_pLinkB->SetConnect(r->GetConnect());
    else if (r->m_pLinkA && r->m_pLinkA->GetConnect() == r->GetNumber())
      r->m_pLinkA->SetConnect(r->GetConnect());
  }
}

void SnapshotGroup(CNumSezNew* group, const uint32_t* offset, CNumberingSnapshot* snapshot) {
  if (!group) return;
  if (snapshot) {
    for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord())
      if (IsPipeRecord(r)) SnapshotRecord(*snapshot, r);
  }
  if (offset) OffsetGroupNumbers(group, *offset);
}

void OffsetGroupNumbers(CNumSezNew* group, uint32_t offset) {
  if (!group) return;
  for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (!IsPipeRecord(r)) continue;
    r->SetNumber(OffsetNumber(r->GetReadNumber(), offset));
    // A start within the group stays one: only the links between groups
    // (NumberSegments) give it an upstream section. Offset, it would take
    // whichever number came before the group's, by the order of numbering.
    r->SetConnect(r->GetReadConnect() == 0 ? 0 : OffsetNumber(r->GetReadConnect(), offset));
    UpdateNumberLabel(r);
  }
  group->m_changed = 1;
}

void ApplyNumberSnapshot(CNumSezNew* group, const CNumberingSnapshot& snapshot) {
  if (!group) return;
  VisitedGroups visited;
  for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (!IsPipeRecord(r) || !RestoreRecord(r, snapshot)) continue;
    if (r->m_objectType == kObjectSupplyPipe) FollowLinks(r, group->m_name, group, snapshot, visited, false);
  }
}

CObjDataNew* FindRecordByReadNumber(const CSeznam& list, uint32_t objectType, int readNumber) {
  for (const CSeznam* e = list.GetHead(); e; e = e->GetNext()) {
    auto* r = static_cast<CObjDataNew*>(const_cast<CSeznam*>(e));
    if (static_cast<uint32_t>(r->m_objectType) == objectType && r->GetReadNumber() == readNumber) return r;
  }
  return nullptr;
}

void SnapshotRecord(CNumberingSnapshot& snapshot, const CObjDataNew* record) {
  if (!record) return;
  snapshot.indexes.Add(static_cast<int>(record->m_index));
  snapshot.numbers.Add(record->GetNumber());
  snapshot.connects.Add(record->GetConnect());
}
