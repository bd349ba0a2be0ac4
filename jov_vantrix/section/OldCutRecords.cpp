#include "jov_vantrix/section/OldCutRecords.h"

#include <cstring>

#include "dataformat/GroupCodeChain.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CJovData.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "jov_vantrix/section/CObjData.h"
#include "jov_vantrix/section/CObjPnt.h"
#include "platform/win32/code_page.h"

namespace {

constexpr uint32_t kRiserFlags = 197;
constexpr uint32_t kBranchFlags = 0x100081;

bool IsInsert(const resbuf* chain) {
  const char* type = GetEntityString(chain, 0);
  return type && _mbsicmp(type, "INSERT") == 0;
}

void CopyText(const CJovData& data, const char* key, CString& out) {
  const char* value = data.GetProperty(key);
  out = value ? value : "";
}

const CObjData* RecordOf(const void* element) {
  return static_cast<const CObjData*>(*static_cast<CSeznam* const*>(element));
}

}  // namespace

int ReadOldCutObjects(CObjSez& records, CString& riserNumber) {
  const HostExport2D* host = TheApp().m_pHostTable;
  int state = kOldCutEmpty;
  for (const resbuf* entity = HostSelectionNext(host, true); entity;
       entity = HostSelectionNext(host, false)) {
    const resbuf* name = entity->code == -1 ? entity : nullptr;
    auto* record = new CObjData(0, kRoleOther, name ? name->next : entity);
    if (name) {
      record->m_hasEntityName = true;
      record->m_entityName[0] = name->value.name[0];
      record->m_entityName[1] = name->value.name[1];
    }
    if (!records.AddTail(record)) {
      delete record;
      return state;
    }
    const resbuf* chain = record->m_pReadChain;
    if (!IsInsert(chain) || !record->m_jovData.ReadXData(chain)) {
      if (state == kOldCutEmpty) return kOldCutNoRiser;
      continue;
    }
    record->m_entityKind = CObjData::kInsert;
    const CBitFlags& flags = record->m_jovData.m_typeFlags;
    if (state == kOldCutEmpty) {
      if (!flags.HasAll(kRiserFlags)) return kOldCutNoRiser;
      state = kOldCutRead;
      CopyText(record->m_jovData, "_NUM_RISER", record->m_riserNumber);
      if (riserNumber.IsEmpty()) riserNumber = record->m_riserNumber;
      record->m_role = riserNumber == record->m_riserNumber ? kRoleRiser : kRoleOther;
      GetEntityPoint(chain, record->m_insertionPoint, 10);
    } else if (flags.HasAll(kBranchFlags)) {
      CopyText(record->m_jovData, "_NUM_RISER", record->m_riserNumber);
      CopyText(record->m_jovData, "_NUM_BRANCH", record->m_branchNumber);
      CopyText(record->m_jovData, "_NUM_SIDE", record->m_sideNumber);
      record->m_role = riserNumber == record->m_riserNumber ? kRoleBranch : kRoleOther;
      GetEntityPoint(chain, record->m_insertionPoint, 10);
    }
  }
  return state;
}

int WriteOldRecords(CObjSez& records) {
  int result = 1;
  for (const CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_pReadChain &&
        WriteEntityChain(r->m_pReadChain, r->m_hasEntityName ? r->m_entityName : nullptr) != HOST_NORMAL)
      result = -1;
    if (r->m_pBuiltChain && WriteEntityChain(r->m_pBuiltChain, nullptr) != HOST_NORMAL) result = -1;
  }
  return result;
}

void AddConnectionPointPairs(const CSeznam& connectionPoints, CJovData& data) {
  for (const CSeznam* e = connectionPoints.GetHead(); e; e = e->GetNext()) {
    const resbuf* entity = static_cast<const CObjConnPnt*>(e)->m_pEntity;
    GLVector first;
    GLVector second;
    GetEntityPoint(entity, first, 10);
    GetEntityPoint(entity, second, 11);
    CJovInsPnt::AddPointPair(data.InsertPoints(), first, second);
  }
}

int CompareBranchRecords(const void* a, const void* b) {
  const CObjData* first = RecordOf(a);
  const CObjData* second = RecordOf(b);
  if (!first || !second) return 0;
  const bool firstBranch = first->m_role == kRoleBranch;
  const bool secondBranch = second->m_role == kRoleBranch;
  if (firstBranch && !secondBranch) return first->m_branchNumber.IsEmpty() ? 0 : -1;
  if (secondBranch && !firstBranch) return second->m_branchNumber.IsEmpty() ? 0 : 1;
  if (!firstBranch) return 0;
  CString nameA;
  CString nameB;
  first->GetBranchPart(0, nameA);
  second->GetBranchPart(0, nameB);
  return std::strcmp(nameB, nameA);
}
