// The formulas text of a view as the catalogue holds it, read onto the
// definition points of the sample radiator's view B. Each line is one
// point's formulas whatever its line end; written back and read again the
// formulas and the base point are the same; the view regenerated from them
// holds no value that is not a number.
#include <cmath>
#include <string>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "fuzz/EngineCatalogue.h"
#include "fuzz/FuzzSupport.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/DefinitionPoints.h"
#include "wizard/frame/engine/GeometryRegeneration.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ProductFormulas.h"
#include "wizard/frame/engine/RecordLookups.h"

namespace {

std::vector<std::string> Formulas(const CSeznam& points) {
  std::vector<std::string> out;
  for (const CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o))
    for (int axis = 0; axis < 3; ++axis) out.emplace_back(o->GetText(axis) ? o->GetText(axis) : "<none>");
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::CText(data, size);
  fuzz::UseProduct("TOR0600-0001");
  jovDatabase::Database& db = fuzz::EngineCatalogue();
  static jovDatabase::resultResbuf geometry;
  if (!geometry.head) FUZZ_CHECK(db.GetItemsDxfB(geometry) == jovDatabase::eOK, "the radiator's view B");

  // The line reader alone: every call moves on, and the end is reached.
  for (size_t at = 0; at < text.size();) {
    const size_t before = at;
    CObjectData line;
    line.ReadFormulaLine(text, at, text.size());
    FUZZ_CHECK(at > before && at <= text.size(), "a formula line that does not move on");
    for (int axis = 0; axis < 3; ++axis)
      FUZZ_CHECK(std::string(line.GetText(axis)).find_first_of("|\r\n") == std::string::npos, "a separator in a field");
  }

  FUZZ_CHECK(db.SetParmsParB(qmString(text.c_str())) == jovDatabase::eOK, "the text is stored");
  CObjectSez points;
  ParseProductGeometry(points, geometry.head, true);
  FUZZ_CHECK(LoadProductFormulas(points, 1), "formulas read");
  const int base = GetBasePointNumber(points);
  FUZZ_CHECK(StoreProductFormulas(points, 1, base), "formulas written");
  CObjectSez again;
  ParseProductGeometry(again, geometry.head, true);
  FUZZ_CHECK(LoadProductFormulas(again, 1), "written formulas read");
  FUZZ_CHECK(GetBasePointNumber(again) == base, "the base point moved");
  FUZZ_CHECK(Formulas(again) == Formulas(points), "formulas changed on the way through the catalogue");

  CObjectSez params;
  LoadProductParameters(params);
  resbuf* chain = CopyGroupCodeChain(geometry.head);
  RegenerateProductGeometry(points, params, chain);
  for (const resbuf* n = chain; n; n = n->next) {
    const uint32_t kind = GroupCodeKind(GetGroupCodeClass(n->code));
    if (kind == GC_KIND_REAL) FUZZ_CHECK(std::isfinite(n->value.real), "code " + std::to_string(n->code));
    if (kind == GC_KIND_POINT)
      for (double v : n->value.point) FUZZ_CHECK(std::isfinite(v), "point " + std::to_string(n->code));
  }
  FreeGroupCodeChain(chain);
  return 0;
}
