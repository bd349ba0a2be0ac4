#include "jov_vantrix/network/RecordGeometry.h"

#include <cstring>

#include "common/EntityExtents.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/network/CObjConnPntNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "objectgl/GLGeometry.h"

void GetPathEndsAndLength(const CObjDataNew* record, GLVector& start, GLVector& end, double& length) {
  if (!record || !record->m_entityChain.GetChain()) return;
  GetChainPathEnds(record->m_entityChain.GetChain(), start, end, length);
}

void GetChainPathEnds(const resbuf* node, GLVector& start, GLVector& end, double& length) {
  if (!node) return;
  length = 0.0;
  if (node->code == -1) node = node->next;
  if (!node || node->code != 0 || !node->value.text) return;
  const char* type = node->value.text;

  if (std::strcmp(type, "LINE") == 0) {
    const resbuf* from = nullptr;
    const resbuf* to = nullptr;
    for (const resbuf* n = node->next; n && n->code != 0; n = n->next) {
      if (n->code == 10 && !from) from = n;
      if (n->code == 11 && !to) to = n;
    }
    if (from) start = from->value.point;
    if (to) end = to->value.point;
    if (from && to) length = GLDistance(start, end);
  } else if (std::strcmp(type, "LWPOLYLINE") == 0) {
    const resbuf* previous = nullptr;
    for (const resbuf* n = node->next; n && n->code != 0; n = n->next) {
      if (n->code != 10) continue;
      if (previous)
        length += GLDistance(GLVector(previous->value.point), GLVector(n->value.point));
      else
        start = n->value.point;
      previous = n;
    }
    if (previous) end = previous->value.point;
  }
}

void ComputeBoundingBox(CObjDataNew* record, const resbuf* chain, int unit) {
  if (!record) return;
  CObjDataNew::RunPart& box = record->Runs();
  GetEntityExtents(chain, box.m_boxMin, box.m_boxMax, false);
  if (unit == 1) {
    box.m_boxMin *= 0.001;
    box.m_boxMax *= 0.001;
  }
}

bool IsConnectedTo(const CObjDataNew* record, const CObjDataNew* other) {
  if (!record || !IsSegmentOfType(other, record->m_objectType)) return false;
  for (const GLVector* mine : {&record->m_start, &record->m_end})
    for (const GLVector* theirs : {&other->m_start, &other->m_end})
      if (GLDistance(*mine, *theirs) < kPointTolerance) return true;
  return false;
}

void GetConnectionPoint(const CSeznam& list, uint32_t n, GLVector& out) {
  const CSeznam* e = list.GetHead();
  for (uint32_t i = 0; e && i < n; ++i) e = e->GetNext();
  if (!e) return;
  const resbuf* entity = static_cast<const CObjConnPntNew*>(e)->m_pEntity;
  if (entity) GetEntityPoint(entity, out, 10);
}
