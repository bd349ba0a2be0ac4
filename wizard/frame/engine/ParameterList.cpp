#include "wizard/frame/engine/ParameterList.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "common/CLocaleNumber.h"
#include "platform/catalogue/Database.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/ExpressionEvaluator.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterPresentation.h"
#include "wizard/frame/engine/ParameterTexts.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/ValueEntry.h"
#include "wizard/frame/engine/ValueRules.h"
#include "platform/win32/code_page.h"

namespace {

std::string Text(const char* text) { return text ? text : ""; }

bool IsEmpty(const char* text) { return !text || !*text; }

// The lines of a text, at CR LF, LF or CR.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

// Fills a new parameter from one line; false when its type cannot be read.
bool ReadParameter(std::string_view line, CValueParam& param, jovDatabase::Database& catalogue) {
  static const int kSlots[] = {ParamText::kName, ParamText::kLabel, -1, ParamText::kDefault, ParamText::kValue};
  size_t at = 0;
  for (int slot : kSlots) {
    size_t end = std::min(line.find('|', at), line.size());
    const std::string field(line.substr(at, end - at));
    if (slot >= 0)
      param.SetText(slot, field.c_str());
    else
      param.typeId = static_cast<uint32_t>(std::atoi(field.c_str()));
    at = std::min(end + 1, line.size());
  }
  param.SetText(ParamText::kAllowed, std::string(line.substr(at)).c_str());

  qmString title;
  if (catalogue.GoPartypeIDI(param.typeId) != jovDatabase::eOK || catalogue.GetPartypeTitle(title) != jovDatabase::eOK ||
      catalogue.GetPartypeStatus(param.status) != jovDatabase::eOK)
    return false;
  param.SetText(ParamText::kTypeTitle, title.GetString() ? title.GetString() : "");
  catalogue.GetPartypeLo(param.lowLimit);
  catalogue.GetPartypeHi(param.highLimit);
  return true;
}

// The value pass 1 of the definitions writes for a parameter.
const char* PlainValue(const CValueParam& p, bool defaultsFirst) {
  return defaultsFirst ? p.GetText(ParamText::kDefault) : ParamValueOrDefault(p);
}

bool IsComputed(const CValueParam& p) {
  return (p.status & ParamStatus::kAnyComputed) && !(p.status & ParamStatus::kAnyFormula);
}

bool IsRecalculated(const CValueParam& p) {
  return (p.status & ParamStatus::kRecalculated) && !(p.flags & ParamFlag::kNotRecalculated);
}

}  // namespace

bool LoadProductParameters(CSeznam& params) {
  jovDatabase::Database* catalogue = CurrentCatalogue();
  qmString text;
  if (!catalogue || catalogue->GetParmsParams(text) != jovDatabase::eOK || IsEmpty(text.GetString())) return true;
  for (std::string_view line : Lines(text.GetString())) {
    if (line.empty()) continue;
    auto* param = new CValueParam;
    params.AddTail(param);
    if (!ReadParameter(line, *param, *catalogue)) return false;
  }
  return true;
}

bool StoreProductParameters(const CSeznam& params) {
  std::string text;
  for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
    text += Text(p->GetText(ParamText::kName)) + "|" + Text(p->GetText(ParamText::kLabel)) + "|" +
            std::to_string(static_cast<int32_t>(p->typeId)) + "|" + Text(p->GetText(ParamText::kDefault)) + "|" +
            Text(p->GetText(ParamText::kValue)) + "|" + Text(p->GetText(ParamText::kAllowed)) + "\r\n";
  }
  jovDatabase::Database* catalogue = CurrentCatalogue();
  return catalogue && catalogue->SetParmsParams(qmString(text.c_str())) == jovDatabase::eOK;
}

void BuildDefinitions(const CSeznam& params, std::string& definitions, bool defaultsFirst) {
  std::string plain;
  for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
    const char* value = PlainValue(*p, defaultsFirst);
    plain += Text(p->GetText(ParamText::kName)) + "=" + (IsEmpty(value) ? "0" : value) + ";";
  }
  std::string out, scratch, expression, result;
  for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
    const char* value = PlainValue(*p, defaultsFirst);
    if (defaultsFirst && IsEmpty(value)) value = p->GetText(ParamText::kValue);
    std::string entry = IsEmpty(value) ? "0" : value;
    if (IsComputed(*p)) {
      scratch = plain;
      expression = entry + ";";
      double number = 0;
      const int code = EvaluateExpression(scratch, expression, result, number, kEvaluationDepth);
      entry = code == EVAL_OK || code == EVAL_UNDEFINED ? result : "0";
    }
    out += Text(p->GetText(ParamText::kName)) + "=" + entry + ";";
  }
  definitions = std::move(out);
}

void RecalculateParameters(CSeznam& params, CListCtrl* view, unsigned lengthMode, bool withBendRadius) {
  std::string definitions, expression, output;
  for (CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
    if (!IsRecalculated(*p)) continue;
    if (withBendRadius && Text(p->GetText(ParamText::kName)) == "A" && CurrentCatalogue()) {
      qmString id;
      if (CurrentCatalogue()->GetIndexID(id) == jovDatabase::eOK && id.GetString() &&
          EqualsIgnoreCase(std::string(id.GetString()).substr(0, 3), "VPH"))
        ApplyBendRadiusDefault(params, view, p->GetText(ParamText::kValue), lengthMode);
    }
    const char* formula = p->GetText(ParamText::kDefault);
    if (IsEmpty(formula) || ReadsAsNumber(formula)) continue;
    // Built anew for each, so a parameter sees the new values before it.
    BuildDefinitions(params, definitions, false);
    expression = std::string(formula) + ";";
    double result = 0;
    if (EvaluateExpression(definitions, expression, output, result, kEvaluationDepth) != EVAL_OK) continue;
    p->SetText(ParamText::kValue, FormatFixed(result, 2).c_str());
    SetParamValueCell(view, p, FormatLengthCell(result, lengthMode));
  }
}

bool TakesParamText(const CSeznam& params, const CValueParam& param, const std::string& text) {
  if (!(param.status & (ParamStatus::kAnyFree | ParamStatus::kAnyFormula))) return true;
  if (!TakesDefinitionText(text)) return false;
  if (!(param.status & ParamStatus::kFormula) || text.empty()) return true;
  std::string definitions, expression = text + ";", output;
  BuildDefinitions(params, definitions, false);
  double result = 0;
  const int error = EvaluateExpression(definitions, expression, output, result, kEvaluationDepth);
  return error == EVAL_OK || error == EVAL_UNDEFINED;
}

bool AssignValuesByName(CSeznam& params, const std::vector<std::string>& names,
                        const std::vector<std::string>& values) {
  bool allAssigned = true;
  for (size_t i = 0; i < names.size() && i < values.size(); ++i) {
    CValueParam* p = FindParamByName(params, names[i].c_str());
    if (!p || (p->status & ParamStatus::kAnyFormula)) continue;
    const bool free = p->status & ParamStatus::kAnyFree;
    if (BreaksStoredTexts(values[i]) || (free && !TakesParamText(params, *p, values[i]))) {
      allAssigned = false;
      continue;
    }
    if (free) {
      p->SetText(ParamText::kValue, values[i].c_str());
      continue;
    }
    // A ranged value is one finite number within the range, kept as a text
    // the evaluator reads as that same number.
    double minimum = 0, maximum = 0, value = 0;
    p->GetRange(nullptr, minimum, maximum);
    std::string stored;
    if (!ReadValueEntry(values[i], value) || value < minimum || value > maximum ||
        (stored = PlainDecimalEntry(values[i], value)).empty()) {
      allAssigned = false;
      continue;
    }
    p->SetText(ParamText::kValue, stored.c_str());
  }
  return allAssigned;
}

std::string JoinParamValues(const CSeznam& params, const std::string& names) {
  std::vector<std::string> split;
  std::string joined;
  if (!SplitParamNames(names, split)) return joined;
  bool first = true;
  for (const std::string& name : split) {
    const CValueParam* p = FindParamByName(params, name.c_str());
    if (!p) continue;
    const char* value = p->GetText(ParamText::kValue) ? p->GetText(ParamText::kValue) : p->GetText(ParamText::kDefault);
    if (!value) continue;
    if (!first) joined += '/';
    joined += value;
    first = false;
  }
  return joined;
}
