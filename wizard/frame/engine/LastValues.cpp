#include "wizard/frame/engine/LastValues.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "common/CLocaleNumber.h"
#include "common/SettingsWrite.h"
#include "platform/catalogue/Database.h"
#include "wizard/frame/engine/CFileCfg.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/ExpressionEvaluator.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ParameterTexts.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/ValueEntry.h"

namespace {

std::string Text(const char* text) { return text ? text : ""; }

// The product's index id and its last-values file; false without an id.
bool StoreOfProduct(std::string& key, std::string& path) {
  jovDatabase::Database* catalogue = CurrentCatalogue();
  qmString id;
  if (!catalogue || catalogue->GetIndexID(id) != jovDatabase::eOK || !id.GetString() || !*id.GetString())
    return false;
  key = id.GetString();
  path = MakeProfilePath("Dat\\PP_Last") + key[0] + LastValuesExtension();
  return true;
}

// The whole stored value of key; false when there is none.
bool ReadWholeRecord(CFileCfg& file, const std::string& key, std::string& value) {
  unsigned size = 0;
  if (!file.ReadRecord(key.data(), static_cast<unsigned>(key.size()), nullptr, &size)) return false;
  value.assign(size, '\0');
  unsigned read = size;
  return file.ReadRecord(key.data(), static_cast<unsigned>(key.size()), value.data(), &read) && read == size;
}

// A stored value passes as a typed one would: a free text or a formula
// value the parameter may take (TakesParamText), any other value one
// finite number within the parameter's limits, which value then holds as
// the evaluator must read it. The parameter's own current text always
// passes.
bool TakeStoredValue(const CSeznam& params, const CValueParam& param, std::string& value) {
  // What the parameter holds already is never refused.
  if (value == Text(param.GetText(ParamText::kValue))) return true;
  if (param.status & (ParamStatus::kAnyFree | ParamStatus::kAnyFormula)) return TakesParamText(params, param, value);
  double number = 0;
  if (!ReadValueEntry(value, number) || !param.IsValueValid(number)) return false;
  value = PlainDecimalEntry(value, number);
  return !value.empty();
}

// The stored values taken into the user parameters, each only when it
// passes as a typed one would; false when the store cannot be had or a
// stored name differs from its parameter's.
bool ReadLastValues(CSeznam& params) {
  CFileCfg file;
  std::string key, path, record;
  if (!StoreOfProduct(key, path) || !file.Open(path.c_str())) return false;
  if (!ReadWholeRecord(file, key, record)) return true;
  size_t at = 0;
  for (CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
    if (!IsUserParam(*p)) continue;
    const size_t nameEnd = record.find('|', at);
    const size_t valueEnd = nameEnd == std::string::npos ? nameEnd : record.find('|', nameEnd + 1);
    if (valueEnd == std::string::npos) break;  // the record ends early
    if (record.compare(at, nameEnd - at, Text(p->GetText(ParamText::kName))) != 0) return false;
    std::string value = record.substr(nameEnd + 1, valueEnd - nameEnd - 1);
    if (TakeStoredValue(params, *p, value)) p->SetText(ParamText::kValue, value.c_str());
    at = valueEnd + 1;
  }
  return true;
}

}  // namespace

bool LoadLastValues(CSeznam& params, bool* callerRefused) {
  if (params.GetCount() == 0) return true;
  const bool read = ReadLastValues(params);
  // The caller's values win over whatever could be read, and count also
  // when nothing could.
  const bool taken = ApplyCallerData(params);
  if (callerRefused) *callerRefused = !taken;
  return read;
}

std::string LastValuesRecord(const CSeznam& params) {
  std::string value;
  for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p))
    if (IsUserParam(*p)) value += Text(p->GetText(ParamText::kName)) + "|" + Text(p->GetText(ParamText::kValue)) + "|";
  return value;
}

bool StoreLastValuesRecord(const std::string& record) {
  std::string key, path;
  // A product without an index id keeps no last values.
  if (!StoreOfProduct(key, path)) return true;
  return WriteSettingsFile(path, [&] {
    CFileCfg file;
    return file.Open(path.c_str()) && file.SetString(key.c_str(), record.c_str()) == 1;
  });
}

bool StoreLastValues(const CSeznam& params) { return StoreLastValuesRecord(LastValuesRecord(params)); }

bool ApplyCallerData(CSeznam& params) {
  std::string namesText, valuesText, flagsText;
  if (!GetCallerTexts(namesText, valuesText, flagsText)) return true;
  bool allTaken = true;
  std::vector<std::string> names, values, flags;
  SplitParamNames(namesText, names);
  SplitParamValues(valuesText, values);
  SplitParamValues(flagsText, flags);
  for (size_t i = 0; i < names.size() && i < values.size() && i < flags.size(); ++i) {
    CValueParam* p = FindParamByName(params, names[i].c_str());
    // A value that would break the stored texts is refused as assignment
    // refuses it, and so is a ranged one that is not one finite number.
    if (!p) continue;
    std::string value = values[i];
    double number = 0;
    const bool ranged = !(p->status & (ParamStatus::kAnyFree | ParamStatus::kAnyFormula));
    if (BreaksStoredTexts(value) || !TakesParamText(params, *p, value) ||
        (ranged && (!ReadValueEntry(value, number) || (value = PlainDecimalEntry(value, number)).empty()))) {
      allTaken = false;
      continue;
    }
    p->flags = static_cast<uint32_t>(std::atoi(flags[i].c_str()));
    p->thirdLimit = AtofC(value.c_str());
    if (!(p->flags & (ParamFlag::kGivenByCaller | ParamFlag::kCallerValue))) continue;
    if (ranged && !p->IsValueValid(number)) continue;
    p->SetText(ParamText::kValue, value.c_str());
  }
  return allTaken;
}
