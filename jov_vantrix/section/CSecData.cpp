#include "jov_vantrix/section/CSecData.h"

CSecData::CSecData(int32_t id, const char* branchName) : m_id(id), m_branchName(branchName) {}

void CSecData::Format(CString& out) const {
  out.Format("%d;%d;%s;%s;%s;", m_id, m_nextId, m_childName.GetString(), m_value1.GetString(),
             m_value2.GetString());
}
