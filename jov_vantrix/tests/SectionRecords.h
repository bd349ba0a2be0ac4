// Records of a picked branch as the selection reader leaves them, for the
// section generator's tests: object type, branch number, side and the
// values the generator reads, with a pipe's ends and length.
#pragma once

#include <cmath>

#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"

inline CObjDataNew* AddRecord(CObjSezNew& list, int type, const char* branch, const char* side,
                              const char* riser = "") {
  auto* r = new CObjDataNew(0, type, nullptr, list.GetCount());
  r->m_branchName = "V1";
  r->m_branchNumber = branch;
  r->m_sideNumber = side;
  r->m_riserNumber = riser;
  list.AddTail(r);
  return r;
}

inline CObjDataNew* AddPipe(CObjSezNew& list, int type, const char* branch, const char* side, GLVector a,
                            GLVector b, bool start = false) {
  CObjDataNew* r = AddRecord(list, type, branch, side, "0");
  r->m_start = a;
  r->m_end = b;
  r->m_length = (b - a).Length();
  if (start) r->m_CM = r->m_CT = "1";
  return r;
}
