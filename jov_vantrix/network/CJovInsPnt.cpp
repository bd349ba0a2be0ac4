#include "jov_vantrix/network/CJovInsPnt.h"

#include <new>

#include "dataformat/GroupCodeChain.h"

CJovInsPnt::CJovInsPnt(const double point[3]) {
  if (point) SetPoint(point[0], point[1], point[2]);
}

void CJovInsPnt::SetPoint(double x, double y, double z) {
  m_point.reset(new double[3]{x, y, z});
}

resbuf* CJovInsPnt::BuildChain(const CJovInsPnt& list, int value) {
  resbuf* head = nullptr;
  if (!CreateGroupCodeNode(&head, 1070, nullptr)) return nullptr;
  head->value.i16 = static_cast<int16_t>(value & 0xFFFF);
  resbuf* last = head;
  for (const CSeznam* e = list.GetHead(); e; e = e->GetNext()) {
    const double* p = static_cast<const CJovInsPnt*>(e)->GetPoint();
    resbuf* node = nullptr;
    if (!CreateGroupCodeNode(&node, 1010, nullptr)) {
      FreeGroupCodeChain(head);
      return nullptr;
    }
    for (int i = 0; i < 3; ++i) node->value.point[i] = p ? p[i] : 0.0;
    last->next = node;
    last = node;
  }
  return head;
}

void CJovInsPnt::AddPointPair(CJovInsPnt& list, const GLVector& p1, const GLVector& p2) {
  list.AddTail(new CJovInsPnt(static_cast<const double*>(p1)));
  list.AddTail(new CJovInsPnt(static_cast<const double*>(p2)));
}
