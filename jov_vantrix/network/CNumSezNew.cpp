#include "jov_vantrix/network/CNumSezNew.h"

#include "jov_vantrix/network/CObjDataNew.h"

void CNumSezNew::AddRecord(CObjDataNew* record) {
  if (!record || !AddTail(record)) return;
  record->m_pGroup = this;
  if (record->m_objectType == kObjectSupplyPipe) ++m_pipeCount;
}

CObjDataNew* CNumSezNew::GetFirstRecord() const { return static_cast<CObjDataNew*>(GetHead()); }
