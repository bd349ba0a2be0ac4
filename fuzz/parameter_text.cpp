// A product's parameter text as the catalogue holds it, read into the
// parameter list. Every non-empty line is one parameter (or stops the read
// at an unknown type); written back and read again the list is the same;
// definitions, recalculation, assignment and joining run over whatever was
// read, no value taken in can break the stored texts, and a ranged value
// assigned is a number within its range that the evaluator reads as such.
#include <string>
#include <vector>

#include "fuzz/EngineCatalogue.h"
#include "fuzz/FuzzSupport.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/ExpressionEvaluator.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ValueEntry.h"

namespace {

std::vector<std::string> Rows(const CSeznam& params) {
  std::vector<std::string> rows;
  for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
    std::string row = std::to_string(p->typeId) + "|" + std::to_string(p->status);
    for (int slot = 0; slot < ParamText::kCount; ++slot) row += std::string("|") + (p->GetText(slot) ? p->GetText(slot) : "");
    rows.push_back(row);
  }
  return rows;
}

size_t Lines(const std::string& text) {
  size_t lines = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find_first_of("\r\n", at);
    if (end != at) ++lines;
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::CText(data, size);
  fuzz::UseProduct("TOR0600-0001");
  jovDatabase::Database& db = fuzz::EngineCatalogue();
  FUZZ_CHECK(db.SetParmsParams(qmString(text.c_str())) == jovDatabase::eOK, "the text is stored");
  CObjectSez params;
  const bool whole = LoadProductParameters(params);
  FUZZ_CHECK(params.GetCount() <= Lines(text), "more parameters than lines");
  if (!whole || params.GetCount() == 0) return 0;

  StoreProductParameters(params);
  CObjectSez again;
  FUZZ_CHECK(LoadProductParameters(again), "the written text reads back");
  FUZZ_CHECK(Rows(again) == Rows(params), "the written text reads back as another list");

  std::string definitions;
  BuildDefinitions(params, definitions, false);
  BuildDefinitions(params, definitions, true);
  RecalculateParameters(params, nullptr, 1, true);
  std::vector<std::string> names, values;
  for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
    names.emplace_back(p->GetText(ParamText::kName) ? p->GetText(ParamText::kName) : "");
    values.emplace_back(p->GetText(ParamText::kAllowed) ? p->GetText(ParamText::kAllowed) : "");
  }
  const std::vector<std::string> before = Rows(params);
  AssignValuesByName(params, names, values);
  const std::vector<std::string> after = Rows(params);
  size_t row = 0;
  for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p), ++row) {
    const char* value = p->GetText(ParamText::kValue);
    FUZZ_CHECK(!value || std::string(value).find_first_of("\r\n") == std::string::npos, "a line end in a value");
    if (before[row] == after[row] || (p->status & (ParamStatus::kAnyFree | ParamStatus::kAnyFormula))) continue;
    // A ranged value assigned is one number within the range, and the
    // evaluator reads exactly that number from it.
    double number = 0, lower = 0, upper = 0, evaluated = 0;
    p->GetRange(nullptr, lower, upper);
    FUZZ_CHECK(value && ReadValueEntry(value, number) && lower <= number && number <= upper,
               std::string("a value assigned out of its range: ") + (value ? value : ""));
    std::string definitions, expression = std::string(value) + ";", output;
    FUZZ_CHECK(EvaluateExpression(definitions, expression, output, evaluated, kEvaluationDepth) == EVAL_OK &&
                   evaluated == number,
               std::string("the evaluator reads another number from ") + value);
  }
  std::string joined = JoinParamValues(params, "#" + names.front() + "/#L");
  (void)joined;
  return 0;
}
