#include "jov_vantrix/network/CUndoArray.h"

IMPLEMENT_DYNAMIC(CUndoArray, CPtrArray)

CUndoArray::~CUndoArray() {
  for (void* snapshot : m_data) delete static_cast<CNumberingSnapshot*>(snapshot);
}

CNumberingSnapshot* CUndoArray::GetAt(INT_PTR index) const {
  if (index < 0 || index >= GetSize()) return nullptr;
  return static_cast<CNumberingSnapshot*>(CPtrArray::GetAt(index));
}

CNumberingSnapshot* CUndoArray::TakeAt(INT_PTR index) {
  CNumberingSnapshot* snapshot = GetAt(index);
  if (snapshot) RemoveAt(index);
  return snapshot;
}
