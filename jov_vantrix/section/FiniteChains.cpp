#include "jov_vantrix/section/FiniteChains.h"

#include <algorithm>
#include <cmath>

#include "dataformat/GroupCodeClass.h"

bool IsDrawablePoint(const double point[3], double unitsPerMetre) {
  // A drawing of no known unit is taken in metres, the nearer reach.
  const double reach = kMaxSectionCoordinate * std::max(unitsPerMetre, 1.0);
  for (int a = 0; a < 3; ++a)
    if (!(std::fabs(point[a]) <= reach)) return false;  // nan fails too
  return true;
}

bool IsChainDrawable(const resbuf* chain, double unitsPerMetre) {
  for (const resbuf* n = chain; n; n = n->next) {
    const uint32_t kind = GroupCodeKind(GetGroupCodeClass(n->code));
    if (kind == GC_KIND_POINT) {
      if (!IsDrawablePoint(n->value.point, unitsPerMetre)) return false;
    } else if (kind == GC_KIND_REAL && !std::isfinite(n->value.real)) {
      return false;
    }
  }
  return true;
}
