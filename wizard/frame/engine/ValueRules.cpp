#include "wizard/frame/engine/ValueRules.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "common/CLocaleNumber.h"
#include "common/CVantrixData.h"
#include "platform/win32/profile.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/EngineState.h"
#include "dataformat/KorpalinData.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterPresentation.h"
#include "wizard/frame/engine/RecordLookups.h"

namespace {

// A key of section "DESC" of the profile's settings file.
std::string DescSetting(const char* key, const char* fallback, unsigned size) {
  std::string buffer(size, '\0');
  const std::string path = MakeProfilePath("Dat\\Jov.ini");
  const DWORD n = GetPrivateProfileStringA("DESC", key, fallback, buffer.data(), size, path.c_str());
  buffer.resize(n);
  return buffer;
}

int DescNumber(const char* key, const char* fallback) { return std::atoi(DescSetting(key, fallback, 120).c_str()); }

}  // namespace

void ApplyBendRadiusDefault(CSeznam& params, CListCtrl* view, const char* size, unsigned lengthMode) {
  CValueParam* radius = nullptr;
  for (CValueParam* p = FirstOf<CValueParam>(params); p && !radius; p = NextOf(p)) {
    const char* name = p->GetText(ParamText::kName);
    if ((p->status & ParamStatus::kRecalculated) && name && std::strcmp(name, "r") == 0) radius = p;
  }
  if (!radius) return;
  const int r100 = DescNumber("RADIUS100", "280.0");
  const int r150a = DescNumber("RADIUS150A", "280.0");
  const int r150b = DescNumber("RADIUS150B", "710.0");
  const int r200a = DescNumber("RADIUS200A", "800.0");
  const int r200b = DescNumber("RADIUS200B", "1150.0");
  const int r300 = DescNumber("RADIUS300", "1250.0");
  const int n = size ? std::atoi(size) : 0;
  const double r = n < r100                   ? 100
                   : r150a <= n && n <= r150b ? 150
                   : r200a <= n && n <= r200b ? 200
                   : n >= r300                ? 300
                                              : 100;
  radius->SetText(ParamText::kValue, FormatFixed(r, 2).c_str());
  SetParamValueCell(view, radius, FormatLengthCell(r, lengthMode));
}

void ApplyZLevelRadius(CSeznam& params, const char* productCode, const char* changedParam) {
  if (!productCode || !changedParam || std::strcmp(changedParam, "d") != 0) return;
  if (!std::strstr(productCode, "TPT") && !std::strstr(productCode, "VPS") && !std::strstr(productCode, "VPK")) return;
  const CValueParam* diameter = FindParamByName(params, "d");
  if (!diameter) return;
  const double factor = AtofC(DescSetting("ZLEVEL_RADIUS", "1.5", 256).c_str());
  const std::string radius = FormatFixed(AtofC(diameter->GetText(ParamText::kValue)) * factor, 2);
  for (CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
    const char* name = p->GetText(ParamText::kName);
    const size_t length = name ? std::strlen(name) : 0;
    if (length >= 1 && length <= 2 && name[0] == 'r') p->SetText(ParamText::kValue, radius.c_str());
  }
}

bool ApplyVantrixRecord(CSeznam& params, const CVantrixData* record) {
  if (!record) return false;
  struct Rule {
    const char* name;
    uint32_t field;
    bool given;  // a dimension: given by the caller
  };
  static const Rule kRules[] = {{"L", 4, true}, {"V", 5, true}, {"S", 6, true}, {"CT", 0, false}, {"CM", 10, false}};
  for (const Rule& rule : kRules) {
    CValueParam* p = FindParamByName(params, rule.name);
    if (!p) continue;
    p->SetText(ParamText::kValue, record->Text(rule.field));
    if (rule.given) p->flags = ParamFlag::kGivenByCaller;
  }
  return true;
}

bool ApplyCatalogueDimensions(CSeznam& params, const KorpalinData* record) {
  if (!record) return false;
  const std::pair<const char*, int32_t> dimensions[] = {
      {"L", record->length}, {"V", record->height}, {"S", record->depth}};
  for (const auto& [name, value] : dimensions) {
    CValueParam* p = FindParamByName(params, name);
    if (!p) continue;
    p->SetText(ParamText::kValue, std::to_string(value).c_str());
    p->flags = ParamFlag::kGivenByCaller;
  }
  return true;
}
