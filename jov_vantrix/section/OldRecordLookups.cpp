#include "jov_vantrix/section/OldRecordLookups.h"

#include "jov_vantrix/section/CObjData.h"

namespace {

const CObjData* FirstOfRole(const CObjSez& records, int32_t role) {
  for (const CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord())
    if (r->m_role == role) return r;
  return nullptr;
}

}  // namespace

const char* GetRiserNameText(const CObjSez& records) {
  const CObjData* riser = FirstOfRole(records, kRoleRiser);
  return riser ? riser->m_riserNumber.GetString() : nullptr;
}

char GetRiserTradeLetter(const CObjSez& records) {
  const CObjData* riser = FirstOfRole(records, kRoleRiser);
  return riser ? riser->m_jovData.m_typeCode.GetString()[0] : 'T';
}

int HasDifferentBranchParents(const CObjSez& records) {
  CString reference;
  CString parent;
  for (const CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_role != kRoleBranch) continue;
    r->GetBranchPart(1, parent);
    if (parent.IsEmpty()) continue;
    if (reference.IsEmpty())
      reference = parent;
    else if (parent != reference)
      return 1;
  }
  return 0;
}

const CObjData* FindBranchRecord(const CObjSez& records, const char* name) {
  if (!name) return nullptr;
  CString own;
  for (const CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_role != kRoleBranch) continue;
    r->GetBranchPart(0, own);
    if (own == name) return r;
  }
  return nullptr;
}

CObjData* FindBranchRecord(CObjSez& records, const char* name) {
  return const_cast<CObjData*>(FindBranchRecord(static_cast<const CObjSez&>(records), name));
}

const CObjData* FindRootBranchRecord(const CObjSez& records) { return FindBranchRecord(records, "A"); }

CObjData* FindRootBranchRecord(CObjSez& records) { return FindBranchRecord(records, "A"); }
