#include "jov_vantrix/section/CSecSez.h"

#include <cstring>

#include "jov_vantrix/network/CJovData.h"
#include "jov_vantrix/section/CObjData.h"
#include "jov_vantrix/section/CSecData.h"
#include "jov_vantrix/section/OldRecordLookups.h"

namespace {

// Of a branch's "_VANTRIX" record a head section keeps fields 8-11.
constexpr uint32_t kFirstVantrixField = 8;

}  // namespace

CSecData* CSecSez::GetFirstSection() const { return static_cast<CSecData*>(GetHead()); }

CSecData* CSecSez::AddSection(int32_t id, const char* branchName) {
  auto* section = new CSecData(id, branchName);
  if (!AddTail(section)) {
    delete section;
    return nullptr;
  }
  return section;
}

CSecData* CSecSez::AddHeadSection(const CObjData& branch, const char* branchName) {
  CSecData* head = AddSection(m_idCounter++, branchName);
  if (!head) return nullptr;
  const char* cm = branch.m_jovData.GetProperty("CM");
  const char* ct = branch.m_jovData.GetProperty("CT");
  head->m_CM = cm ? cm : "";
  head->m_CT = ct ? ct : "";
  const auto* record = static_cast<const CJovPropData*>(branch.m_jovData.VantrixRecords().GetHead());
  for (uint32_t i = 0; i < 4; ++i) {
    const char* field = record ? record->GetField(kFirstVantrixField + i) : nullptr;
    head->m_vantrixFields[i] = field ? field : "";
  }
  return head;
}

bool CSecSez::BuildFromBranches(const CObjSez& records) {
  RemoveAll();
  m_idCounter = 1;
  const CObjData* root = FindRootBranchRecord(records);
  if (!root) return false;
  CString rootName;
  root->GetBranchPart(0, rootName);
  CSecData* previous = AddHeadSection(*root, rootName);
  if (!previous) return false;

  CStringArray children;
  root->GetChildBranches(children, false);
  for (INT_PTR i = 0; i < children.GetSize(); ++i) {
    const CObjData* child = FindBranchRecord(records, children[i]);
    if (!child) return false;
    CSecData* section = AddSection(m_idCounter++, rootName);
    if (!section) return false;
    section->m_childName = children[i];
    previous->m_nextId = section->m_id;
    if (!AddBranchSections(section->m_id, child, records)) return false;
    previous = section;
  }
  return true;
}

bool CSecSez::AddBranchSections(int32_t parentId, const CObjData* branch, const CObjSez& records) {
  if (!branch) return false;
  CString name;
  branch->GetBranchPart(0, name);
  CSecData* head = AddHeadSection(*branch, name);
  if (!head) return false;
  CSecData* last = nullptr;
  CStringArray children;
  branch->GetChildBranches(children, false);
  for (INT_PTR i = 0; i < children.GetSize(); ++i) {
    if (!FindBranchRecord(records, children[i])) return false;
    CSecData* section = AddSection(m_idCounter++, name);
    if (!section) return false;
    section->m_childName = children[i];
    section->m_nextId = last ? last->m_id : parentId;
    last = section;
  }
  head->m_nextId = last ? last->m_id : parentId;
  return true;
}

CSecData* CSecSez::FindSection(const char* branch, const char* child) const {
  if (!branch || !child) return nullptr;
  const char* wanted = std::strcmp(child, branch) == 0 ? "" : child;
  for (CSecData* s = GetFirstSection(); s; s = s->GetNextSection())
    if (s->m_branchName == branch && s->m_childName == wanted) return s;
  return nullptr;
}

void CSecSez::StoreSectionKey(const char* branch, CJovData& data) const {
  CString value("5;");
  CString part;
  for (const CSecData* s = GetFirstSection(); s; s = s->GetNextSection()) {
    if (s->m_branchName != branch) continue;
    s->Format(part);
    value += part;
  }
  data.Properties().SetValue("_NUM_SECTION", value);
}
