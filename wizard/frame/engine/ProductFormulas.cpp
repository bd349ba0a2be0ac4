#include "wizard/frame/engine/ProductFormulas.h"

#include <cmath>
#include <cstdlib>

#include "common/GLVector.h"
#include "platform/catalogue/Database.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/ExpressionEvaluator.h"
#include "wizard/frame/engine/RecordLookups.h"

namespace {

using jovDatabase::Database;

// The formulas field of a view (0..3).
jovDatabase::eCode ReadFormulas(Database& catalogue, unsigned view, qmString& text) {
  switch (view) {
    case 0:
      return catalogue.GetParmsParA(text);
    case 1:
      return catalogue.GetParmsParB(text);
    case 2:
      return catalogue.GetParmsParC(text);
    default:
      return catalogue.GetParmsPar3D(text);
  }
}

jovDatabase::eCode WriteFormulas(Database& catalogue, unsigned view, const qmString& text) {
  switch (view) {
    case 0:
      return catalogue.SetParmsParA(text);
    case 1:
      return catalogue.SetParmsParB(text);
    case 2:
      return catalogue.SetParmsParC(text);
    default:
      return catalogue.SetParmsPar3D(text);
  }
}

}  // namespace

bool LoadProductFormulas(CSeznam& points, unsigned view) {
  if (points.GetCount() == 0) return false;
  if (view > 3) return true;
  jovDatabase::Database* catalogue = CurrentCatalogue();
  qmString stored;
  if (!catalogue || ReadFormulas(*catalogue, view, stored) != jovDatabase::eOK) return false;
  return ReadProductFormulas(points, stored.GetString() ? stored.GetString() : "");
}

bool ReadProductFormulas(CSeznam& points, const std::string& text) {
  if (points.GetCount() == 0) return false;
  if (text.empty()) return true;
  size_t at = text.find_first_of("|\r\n");
  if (at == std::string::npos) at = text.size();
  const int base = std::atoi(text.substr(0, at).c_str());
  // The number's line ends with CR LF, CR or LF.
  if (at < text.size() && text[at] == '|') at = text.find_first_of("\r\n", at);
  if (at == std::string::npos) at = text.size();
  at += text.compare(at, 2, "\r\n") == 0 ? 2 : 1;
  for (CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o)) {
    if (static_cast<int>(o->number) == base) o->flags |= PointFlag::kBasePoint;
    if (at < text.size()) o->ReadFormulaLine(text, at, text.size());
  }
  return true;
}

bool StoreProductFormulas(const CSeznam& points, unsigned view, int basePoint) {
  if (view > 3) return true;
  std::string text = std::to_string(basePoint) + "\r\n";
  for (const CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o)) o->AppendFormulaLine(text);
  jovDatabase::Database* catalogue = CurrentCatalogue();
  return catalogue && WriteFormulas(*catalogue, view, qmString(text.c_str())) == jovDatabase::eOK;
}

bool EvaluatePoint(const CSeznam& points, const std::string& definitions, GLVector& point) {
  CObjectData* object = nullptr;
  if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z)) return false;
  if (!FindObjectAtPoint(points, point, object)) return false;
  std::string scratch, expression, output;
  for (int axis = 0; axis < 3; ++axis) {
    const char* formula = object->GetText(axis);
    if (!formula) return false;
    scratch = definitions;
    expression = std::string(formula) + ";";
    double value = 0;
    if (EvaluateExpression(scratch, expression, output, value, kEvaluationDepth) != EVAL_OK) return false;
    point[axis] = value;
  }
  return true;
}
