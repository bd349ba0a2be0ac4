#include "jov_vantrix/section/RiserRuns.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "common/CLocaleNumber.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "objectgl/GLGeometry.h"

namespace {

CObjDataNew* RecordAt(const CPtrArray& array, INT_PTR i) { return static_cast<CObjDataNew*>(array[i]); }

bool SameBranchSide(const CObjDataNew& r, const char* branch, const char* side) {
  return r.m_branchNumber == branch && r.m_sideNumber == side;
}

bool Near(const GLVector& a, const GLVector& b) { return GLDistance(a, b) < kPointTolerance; }

// The end of the piece that lies at point, or null.
const GLVector* EndAt(const CObjDataNew& piece, const GLVector& point) {
  if (Near(piece.m_start, point)) return &piece.m_start;
  if (Near(piece.m_end, point)) return &piece.m_end;
  return nullptr;
}

void FilePiece(CObjDataNew& owner, const CString& side, int pipeType, CObjDataNew* piece) {
  RunLengths(owner, IsSide1(side), pipeType).InsertAt(0, piece->m_length);
  RunPieces(owner, IsSide1(side), pipeType).InsertAt(0, piece);
}

template <typename Match>
bool FindPipePair(const CObjSezNew& list, Match match, CObjDataNew*& supply, CObjDataNew*& ret) {
  supply = ret = nullptr;
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (!supply && r->m_objectType == kObjectSupplyPipe && match(*r)) supply = r;
    if (!ret && r->m_objectType == kObjectReturnPipe && match(*r)) ret = r;
    if (supply && ret) return true;
  }
  return false;
}

}  // namespace

qmArray<double>& RunLengths(CObjDataNew& record, bool side1, int pipeType) {
  CObjDataNew::RunPart& runs = record.Runs();
  if (pipeType == kObjectSupplyPipe) return side1 ? runs.m_values2 : runs.m_values1;
  return side1 ? runs.m_values4 : runs.m_values3;
}

CPtrArray& RunPieces(CObjDataNew& record, bool side1, int pipeType) {
  CObjDataNew::RunPart& runs = record.Runs();
  if (pipeType == kObjectSupplyPipe) return runs.m_related[side1 ? 4 : 2];
  return runs.m_related[side1 ? 5 : 3];
}

CPtrArray& BranchRecords(CObjDataNew& record, bool side1) { return record.Runs().m_related[side1 ? 1 : 0]; }

CObjDataNew* FindFirstRiser(const CObjSezNew& list) {
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_objectType != kObjectRiser && r->m_objectType != kObjectPickedBranch) continue;
    const bool riser = r->m_objectType == kObjectRiser;
    for (CObjDataNew* o = list.GetFirstRecord(); o; o = o->GetNextRecord()) {
      if (o == r || !SameBranchSide(*o, r->m_branchNumber, r->m_sideNumber)) continue;
      const int t = o->m_objectType;
      if (t == kObjectNetworkInsert || t == kObjectRiser ||
          (riser && (t == kObjectPickedBranch || t == kObjectSkipped)))
        return r;
    }
  }
  return nullptr;
}

CObjDataNew* FindRunPipe(const CObjSezNew& list, int pipeType, const CString& branch,
                         const CString& riserNumber, const CString& side, bool equal) {
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_objectType == pipeType && SameBranchSide(*r, branch, side) && !r->m_riserNumber.IsEmpty() &&
        (r->m_riserNumber == riserNumber) == equal)
      return r;
  }
  return nullptr;
}

CObjDataNew* FindBranchRecord(const CObjSezNew& list, const CString& branch, const CString& side,
                              bool allowRisers) {
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if ((r->m_objectType == kObjectNetworkInsert || (allowRisers && r->m_objectType == kObjectRiser)) &&
        SameBranchSide(*r, branch, side))
      return r;
  }
  return nullptr;
}

int CollectBranchPipes(const CObjSezNew& list, const CString& branch, const CString& side,
                       CStringArray& out) {
  out.RemoveAll();
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord())
    if (r->m_objectType == kObjectSupplyPipe && SameBranchSide(*r, branch, side)) out.Add(branch);
  return static_cast<int>(out.GetSize());
}

bool TracePipeRun(const CObjSezNew& list, int pipeType, const CString& branch, const CString& side,
                  const CString& riserNumber, CStringArray& branchNames, CObjDataNew& owner,
                  CObjDataNew*& farEnd) {
  farEnd = nullptr;
  CObjDataNew* start = nullptr;
  std::vector<CObjDataNew*> pending;
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_objectType == pipeType && SameBranchSide(*r, branch, side)) {
      if (!r->m_CM.IsEmpty() && !r->m_CT.IsEmpty())
        start = r;
      else
        pending.push_back(r);
    } else if (r->m_objectType == kObjectRiser && r->m_riserNumber != riserNumber &&
               SameBranchSide(*r, branch, side)) {
      // A riser of another number on this side shares the run: it is the
      // far end, and its run pipe the start.
      start = FindRunPipe(list, pipeType, branch, riserNumber, side, false);
      if (start) farEnd = r;
    }
  }
  if (!farEnd) {
    if (owner.m_objectType == kObjectRiser && !start && SameBranchSide(owner, branch, side)) {
      start = FindRunPipe(list, pipeType, branch, riserNumber, side, true);
      farEnd = &owner;
    }
  } else {
    pending.erase(std::remove(pending.begin(), pending.end(), start), pending.end());
  }
  if (!start) return false;

  GLVector ends[2] = {start->m_start, start->m_end};
  FilePiece(owner, side, pipeType, start);
  pending.erase(std::remove(pending.begin(), pending.end(), start), pending.end());
  // Where the last filed piece's length stands, counted from the list's end.
  int lastFiled = RunLengths(owner, IsSide1(side), pipeType).GetCount() - 1;
  // Each step takes a piece that meets the current ends: first one at whose
  // joint branches leave, else one at a joint without a branch, which only
  // lengthens the step before it. Every piece is walked once.
  for (;;) {
    struct Step {
      size_t index = 0;
      GLVector joint;
      std::vector<const CObjDataNew*> leaving;  // one pipe per branch
    };
    std::optional<Step> branching, plain;
    for (size_t i = 0; i < pending.size() && !branching; ++i) {
      const GLVector* joint = nullptr;
      for (const GLVector& end : ends)
        if (!joint && EndAt(*pending[i], end)) joint = &end;
      if (!joint) continue;
      Step step{i, *joint, {}};
      for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
        if (r->m_objectType != pipeType || r->m_sideNumber != side || r->m_branchNumber == branch ||
            !EndAt(*r, step.joint))
          continue;
        const bool known = std::any_of(step.leaving.begin(), step.leaving.end(), [&](const CObjDataNew* l) {
          return l->m_branchNumber == r->m_branchNumber;
        });
        if (!known) step.leaving.push_back(r);
      }
      if (!step.leaving.empty())
        branching = step;
      else if (!plain)
        plain = step;
    }
    if (!branching && !plain) break;
    const Step& step = branching ? *branching : *plain;
    CObjDataNew* piece = pending[step.index];
    if (branching) {
      FilePiece(owner, side, pipeType, piece);
      lastFiled = RunLengths(owner, IsSide1(side), pipeType).GetCount() - 1;
      for (size_t k = 0; k < step.leaving.size(); ++k) {
        const CObjDataNew* other = step.leaving[k];
        // Further branches at the same joint stand beside the first, no
        // pipe length between them.
        if (k > 0) {
          RunLengths(owner, IsSide1(side), pipeType).InsertAt(0, 0.0);
          RunPieces(owner, IsSide1(side), pipeType).InsertAt(0, static_cast<CObjDataNew*>(nullptr));
        }
        CObjDataNew* branchRecord =
            FindBranchRecord(list, other->m_branchNumber.ToCString(), other->m_sideNumber.ToCString(), true);
        branchNames.InsertAt(0, other->m_branchNumber.ToCString());
        if (pipeType == kObjectSupplyPipe) BranchRecords(owner, IsSide1(side)).InsertAt(0, branchRecord);
      }
    } else {
      qmArray<double>& lengths = RunLengths(owner, IsSide1(side), pipeType);
      lengths.ElementAt(lengths.GetCount() - 1 - lastFiled) += piece->m_length;
    }
    ends[0] = piece->m_start;
    ends[1] = piece->m_end;
    pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(step.index));
  }
  return true;
}

int BuildRiserChains(const CObjSezNew& list, CObjDataNew* record, const CString& riserNumber,
                     const CString& onlySide) {
  if (!record) return 0;
  const CString branch = record->m_branchNumber.ToCString();
  CStringArray names;
  for (const char* side : {"0", "1"}) {
    if (!onlySide.IsEmpty() && onlySide != side) continue;
    names.RemoveAll();
    CObjDataNew* farEnd = nullptr;
    TracePipeRun(list, kObjectReturnPipe, branch, side, riserNumber, names, *record, farEnd);
    farEnd = nullptr;
    const bool found = TracePipeRun(list, kObjectSupplyPipe, branch, side, riserNumber, names, *record, farEnd);
    const bool ownSide = record->m_sideNumber == side;
    if (!found && ownSide) return 0;
    CPtrArray& branches = BranchRecords(*record, IsSide1(side));
    if (!farEnd) farEnd = FindBranchRecord(list, branch, side, false);
    if (farEnd) branches.Add(farEnd);
    if (branches.IsEmpty() && ownSide) return 0;
  }
  return 1;
}

bool FindPipePairByRiser(const CObjSezNew& list, const CObjDataNew& record, CObjDataNew*& supply,
                         CObjDataNew*& ret) {
  return FindPipePair(list, [&](const CObjDataNew& r) {
    return r.m_branchName == record.m_branchName && r.m_riserNumber == record.m_riserNumber &&
           SameBranchSide(r, record.m_branchNumber, record.m_sideNumber);
  }, supply, ret);
}

bool FindPipePairByCodes(const CObjSezNew& list, const CObjDataNew& record, CObjDataNew*& supply,
                         CObjDataNew*& ret) {
  return FindPipePair(list, [&](const CObjDataNew& r) {
    return r.m_branchName == record.m_branchName && r.m_CM == record.m_CM && r.m_CT == record.m_CT &&
           SameBranchSide(r, record.m_branchNumber, record.m_sideNumber);
  }, supply, ret);
}

double GetBranchPipeLength(const CObjSezNew& list, const CObjDataNew& record, int pipeType) {
  if (record.m_objectType != kObjectNetworkInsert) return 0.0;
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord())
    if (r->m_objectType == pipeType && SameBranchSide(*r, record.m_branchNumber, record.m_sideNumber))
      return r->m_length;
  return 0.0;
}

double GetChainWidth(const CObjSezNew&, const JovCutParams& params, const CPtrArray& run) {
  const INT_PTR n = run.GetSize();
  double width = params.m_riserDistance + static_cast<double>(n - 2) * params.m_elementDistance;
  if (params.m_sameLengthOn) return width + static_cast<double>(n - 1) * params.m_sameLength;
  for (INT_PTR i = 1; i < n; ++i) {
    const CObjDataNew* r = RecordAt(run, i);
    if (const char* length = r ? r->m_jovData.GetProperty("L") : nullptr) width += AtofC(length);
  }
  return width;
}

double RecordWidth(const CObjDataNew& record) {
  const CObjDataNew::RunPart& box = record.RunsOrNone();
  return box.m_boxMax.x >= box.m_boxMin.x ? box.m_boxMax.x - box.m_boxMin.x : 0.0;
}

double RecordHeight(const CObjDataNew& record) {
  const CObjDataNew::RunPart& box = record.RunsOrNone();
  return box.m_boxMax.y >= box.m_boxMin.y ? box.m_boxMax.y - box.m_boxMin.y : 0.0;
}
