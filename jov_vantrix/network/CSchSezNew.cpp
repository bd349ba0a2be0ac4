#include "jov_vantrix/network/CSchSezNew.h"

#include <memory>
#include <string_view>

#include "common/CNumberingSnapshot.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CUndoArray.h"
#include "jov_vantrix/network/SegmentNumbering.h"
#include "objectgl/GLEntity.h"

void CSchSezNew::FileRecord(CObjDataNew* record) {
  if (!record) return;
  if (m_indexedGroups != m_groups.GetCount()) {
    // The first group of each name, as a scan in list order finds it.
    m_groupsByName.clear();
    for (CNumSezNew* group = GetFirstGroup(); group; group = group->GetNextGroup())
      m_groupsByName.emplace(group->m_name.GetString(), group);
    m_indexedGroups = m_groups.GetCount();
    m_lastFiled = nullptr;
  }
  const std::string_view name = record->m_assoc.GetString();
  if (!m_lastFiled || m_lastFiled->first != name) m_lastFiled = &*m_groupsByName.try_emplace(std::string(name)).first;
  CNumSezNew*& group = m_lastFiled->second;
  if (!group) {
    group = new CNumSezNew(m_groups.GetCount() + 1);
    group->m_name = record->m_assoc;
    m_groups.AddTail(group);
    ++m_indexedGroups;
  }
  group->AddRecord(record);
}

CNumSezNew* CSchSezNew::FindGroup(uint32_t number) const {
  for (CNumSezNew* group = GetFirstGroup(); group; group = group->GetNextGroup())
    if (group->m_number == number) return group;
  return nullptr;
}

CNumSezNew* CSchSezNew::GetFreeGroup(uint32_t index) const {
  CNumSezNew* group = FindGroup(index + 1);
  return group && !group->IsFixed() ? group : nullptr;
}

uint32_t SegmentStyle(int objectType, bool force, uint32_t style) {
  if (style == 3 || force) return style;
  return objectType == kObjectSupplyPipe ? 1u : 5u;
}

bool CSchSezNew::SetGroupStyle(CNumSezNew* group, bool force, uint32_t style) {
  if (!group || (!force && group->m_changed)) return false;
  for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_objectType != kObjectSupplyPipe && r->m_objectType != kObjectReturnPipe) continue;
    const uint32_t material = SegmentStyle(r->m_objectType, force, style);
    for (INT_PTR i = 0; i < r->m_previewEntities.GetSize(); ++i)
      static_cast<GLEntity*>(r->m_previewEntities[i])->SetMaterial(material);
  }
  return true;
}

bool CSchSezNew::UndoStep(uint32_t index) {
  if (!m_pUndo) return false;
  CNumberingSnapshot* snapshot = m_pUndo->GetAt(index);
  if (!snapshot) return false;
  CNumSezNew* group = FindGroup(static_cast<uint32_t>(snapshot->groupIndex) + 1);
  if (!group) return false;
  SetGroupStyle(group, true, 7);
  group->m_changed = 0;
  const bool lastStep = static_cast<INT_PTR>(index) == m_pUndo->GetUpperBound();
  std::unique_ptr<CNumberingSnapshot> taken(m_pUndo->TakeAt(index));
  ApplyNumberSnapshot(group, *taken);
  // The step's numbers are free again; a step below others keeps the
  // counter, whose later numbers are still in use.
  if (lastStep) m_nextFreeNumber = static_cast<uint32_t>(taken->offset) + 1;
  return true;
}
