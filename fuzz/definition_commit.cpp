// What the definition editor takes of a committed row: a formula of a
// point's x, y or z, or a computed parameter's value, against parameters of
// any name, status and value. A text taken never splits the text it is
// stored in: the point's formulas line reads back as the three formulas,
// and a value is found again under its parameter's name in the definitions;
// a text refused holds a separator. The evaluation ends with one of its
// codes. Input: lines "name|status|value" of parameters, then the row and
// the text as the last line "row|text".
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "wizard/dialogs/DefinitionCommit.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ParameterTexts.h"

namespace {

std::vector<std::string> Split(const std::string& line, size_t parts) {
  std::vector<std::string> out;
  size_t start = 0;
  while (out.size() + 1 < parts) {
    const size_t bar = line.find('|', start);
    if (bar == std::string::npos) break;
    out.push_back(line.substr(start, bar - start));
    start = bar + 1;
  }
  out.push_back(line.substr(start));
  return out;
}

bool PlainName(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> lines = fuzz::Lines(fuzz::Text(data, size));
  if (lines.empty()) return 0;
  CObjectSez params;
  for (size_t i = 0; i + 1 < lines.size() && i < 32; ++i) {
    const std::vector<std::string> fields = Split(lines[i], 3);
    auto* p = new CValueParam;
    p->SetText(ParamText::kName, fields[0].c_str());
    p->status = fields.size() > 1 ? static_cast<uint32_t>(std::strtoul(fields[1].c_str(), nullptr, 10)) & 0x7F : 0;
    if (fields.size() > 2) p->SetText(ParamText::kValue, fields[2].c_str());
    params.AddTail(p);
  }
  const std::vector<std::string> last = Split(lines.back(), 2);
  const int row = std::abs(std::atoi(last[0].c_str())) % 8;
  const std::string text = last.size() > 1 ? last[1] : "";

  const bool allowed = DefinitionTextAllowed(row, text);
  const bool formula = row < kFormulaRows;
  const char* separators = formula ? "|\r\n" : "|;=\r\n";
  FUZZ_CHECK(allowed == (text.find_first_of(separators) == std::string::npos), "refused without a separator");

  CValueParam* param = formula || params.GetCount() == 0 ? nullptr
                                                         : static_cast<CValueParam*>(params.GetAt(row % params.GetCount()));
  if (allowed && formula) {
    CObjectData point;
    for (int axis = 0; axis < 3; ++axis) point.SetText(axis, axis == row ? text.c_str() : "0.00");
    std::string line;
    point.AppendFormulaLine(line);
    CObjectData back;
    size_t at = 0;
    back.ReadFormulaLine(line, at, line.size());
    for (int axis = 0; axis < 3; ++axis)
      FUZZ_CHECK(std::string(back.GetText(axis) ? back.GetText(axis) : "") == point.GetText(axis),
                 "a formula taken splits its line: " + line);
  }
  if (allowed && param) {
    param->SetText(ParamText::kValue, text.c_str());
    // Kept as a C string: up to a NUL of the input.
    const std::string value = param->GetText(ParamText::kValue);
    const std::string name = param->GetText(ParamText::kName) ? param->GetText(ParamText::kName) : "";
    bool unique = true;
    for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p))
      if (p != param && p->GetText(ParamText::kName) && name == p->GetText(ParamText::kName)) unique = false;
    // A plain parameter's entry is its value as given (an empty one "0").
    if (PlainName(name) && unique && !(param->status & ParamStatus::kAnyComputed) && !value.empty()) {
      std::string definitions, found;
      BuildDefinitions(params, definitions, false);
      bool plainOthers = true;
      for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
        const char* n = p->GetText(ParamText::kName);
        const char* v = p->GetText(ParamText::kValue);
        if (!n || !PlainName(n) || (v && std::string(v).find_first_of(";=") != std::string::npos)) plainOthers = false;
      }
      if (plainOthers)
        FUZZ_CHECK(LookupDefinitionValue(definitions, name, found) == value,
                   "a value taken is not found again: " + definitions);
    }
  }
  double value = 0;
  const int code = EvaluateDefinitionText(params, formula, param ? param->status : 0, text, value);
  FUZZ_CHECK(code >= 0 && code <= 9, "an evaluator code out of its range");
  return 0;
}
