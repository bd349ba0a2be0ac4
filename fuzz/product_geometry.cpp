// Product geometry as the catalogue stores it (group-code text), parsed
// into definition points and regenerated. The points are finite, numbered
// 1..n, pairwise more than 0.01 apart and linked only along definition
// lines; regenerated
// from their own coordinates (under the riser's line rule or without it)
// the chain keeps its nodes and holds only numbers.
#include <cmath>
#include <string>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "fuzz/EngineCatalogue.h"
#include "fuzz/FuzzSupport.h"
#include "platform/catalogue/GroupCodeText.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/DefinitionPoints.h"
#include "wizard/frame/engine/GeometryRegeneration.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ScaledCompare.h"

namespace {

bool Finite(const resbuf* chain) {
  for (const resbuf* n = chain; n; n = n->next) {
    const uint32_t kind = GroupCodeKind(GetGroupCodeClass(n->code));
    if (kind == GC_KIND_REAL && !std::isfinite(n->value.real)) return false;
    if (kind == GC_KIND_POINT)
      for (double v : n->value.point)
        if (!std::isfinite(v)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::CText(data, size);
  resbuf* chain = nullptr;
  if (!jovDatabase::ParseGroupCodeText(text.c_str(), &chain)) return 0;

  CObjectSez points;
  ParseProductGeometry(points, chain, true);
  std::vector<const CObjectData*> all;
  for (const CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o)) {
    FUZZ_CHECK(o->number == all.size() + 1, "numbers run 1..n");
    FUZZ_CHECK(std::isfinite(o->point.x) && std::isfinite(o->point.y) && std::isfinite(o->point.z), "a point not finite");
    // Points shared by definition lines keep their first link: a link
    // always joins a line's start and an end, each linked itself.
    if (o->linked) {
      constexpr uint32_t kEnds = PointFlag::kLineStart | PointFlag::kLineEnd;
      FUZZ_CHECK((o->flags & kEnds) && (o->linked->flags & kEnds) && o->linked->linked, "a link off the lines");
    }
    all.push_back(o);
  }
  for (size_t i = 0; i < all.size() && all.size() <= 3000; ++i)
    for (size_t j = i + 1; j < all.size(); ++j)
      FUZZ_CHECK(!PointsMatch(all[i]->point, all[j]->point, 100), "two points within 0.01");

  // Half the inputs under the riser's line rule.
  fuzz::UseProduct(size % 2 ? "TST0025-0001" : "TOR0600-0001");
  CObjectSez params;
  LoadProductParameters(params);
  resbuf* copy = CopyGroupCodeChain(chain);
  size_t nodes = 0, copied = 0;
  for (const resbuf* n = chain; n; n = n->next) ++nodes;
  RegenerateProductGeometry(points, params, copy);
  for (const resbuf* n = copy; n; n = n->next) ++copied;
  FUZZ_CHECK(copied == nodes, "regeneration changed the chain's length");
  FUZZ_CHECK(Finite(copy), "regeneration wrote a value that is not a number");
  FreeGroupCodeChain(copy);
  jovDatabase::FreeGroupCodeNodes(chain);
  return 0;
}
