#include "jov_vantrix/network/CSecDataNew.h"

CSecDataNew::CSecDataNew(int32_t number) : m_number(number) {
  m_pValues.SetSize(kValues);
  m_zValues.SetSize(kValues);
}
