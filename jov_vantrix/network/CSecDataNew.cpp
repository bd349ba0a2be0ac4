#include "jov_vantrix/network/CSecDataNew.h"

void CSecDataNew::SizeValues() {
  m_pValues.SetSize(kValues);
  m_zValues.SetSize(kValues);
}
