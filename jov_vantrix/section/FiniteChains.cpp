#include "jov_vantrix/section/FiniteChains.h"

#include <cmath>

#include "dataformat/GroupCodeClass.h"

bool IsChainFinite(const resbuf* chain) {
  for (const resbuf* n = chain; n; n = n->next) {
    const uint32_t kind = GroupCodeKind(GetGroupCodeClass(n->code));
    if (kind == GC_KIND_POINT) {
      for (double v : n->value.point)
        if (!std::isfinite(v)) return false;
    } else if (kind == GC_KIND_REAL && !std::isfinite(n->value.real)) {
      return false;
    }
  }
  return true;
}
