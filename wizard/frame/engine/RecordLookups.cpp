#include "wizard/frame/engine/RecordLookups.h"

#include <algorithm>
#include <cstring>

#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CPropData.h"
#include "wizard/frame/engine/CTypeParam.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ScaledCompare.h"

namespace {

bool Same(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

// The first element of the list for which match holds.
template <typename T, typename Match>
T* FindFirst(const CSeznam& list, Match match) {
  for (T* element = FirstOf<T>(list); element; element = NextOf(element))
    if (match(*element)) return element;
  return nullptr;
}

}  // namespace

bool IsUserParam(const CValueParam& param) { return (param.status & ParamStatus::kAnyComputed) == 0; }

CValueParam* FindParamByName(const CSeznam& params, const char* name) {
  return FindFirst<CValueParam>(params, [&](const CValueParam& p) { return Same(p.GetText(ParamText::kName), name); });
}

bool ContainsParamName(const CSeznam& params, const CValueParam* param) {
  return param && param->GetText(ParamText::kName) && FindParamByName(params, param->GetText(ParamText::kName));
}

bool HasUserParams(const CSeznam& params) { return FindFirst<CValueParam>(params, IsUserParam) != nullptr; }

bool FindFreeParamByLabel(const CSeznam& params, const char* label, CValueParam*& out) {
  CValueParam* found = FindFirst<CValueParam>(params, [&](const CValueParam& p) {
    return (p.status & ParamStatus::kFree) && Same(p.GetText(ParamText::kLabel), label);
  });
  if (found) out = found;
  return found != nullptr;
}

const char* ParamValueOrDefault(const CValueParam& param) {
  const char* value = param.GetText(ParamText::kValue);
  return value && *value ? value : param.GetText(ParamText::kDefault);
}

bool GetParamValueText(const CSeznam& params, const char* name, char* buffer, unsigned size) {
  if (!name || !buffer || size == 0) return false;
  const CValueParam* param = FindParamByName(params, name);
  if (!param) return false;
  const char* text = ParamValueOrDefault(*param);
  const size_t n = text ? std::min<size_t>(std::strlen(text), size - 1) : 0;
  if (n) std::memcpy(buffer, text, n);
  buffer[n] = '\0';
  return true;
}

int GetBasePointNumber(const CSeznam& points) {
  const CObjectData* base =
      FindFirst<CObjectData>(points, [](const CObjectData& o) { return (o.flags & PointFlag::kBasePoint) != 0; });
  return base ? static_cast<int>(base->number) : -1;
}

CObjectData* FindObjectByNumber(const CSeznam& points, uint32_t number) {
  return FindFirst<CObjectData>(points, [&](const CObjectData& o) { return o.number == number; });
}

bool FindObjectAtPoint(const CSeznam& points, const GLVector& point, CObjectData*& out) {
  CObjectData* found = FindFirst<CObjectData>(points, [&](const CObjectData& o) { return PointsMatch(point, o.point, 100); });
  if (found) out = found;
  return found != nullptr;
}

CTypeParam* FindTypeParamById(const CSeznam& types, uint32_t id) {
  return FindFirst<CTypeParam>(types, [&](const CTypeParam& t) { return t.typeId == id; });
}

uint32_t GetFirstFlaggedTypeId(const CSeznam& types) {
  const CTypeParam* type =
      FindFirst<CTypeParam>(types, [](const CTypeParam& t) { return (t.status & ParamStatus::kRecalculated) != 0; });
  return type ? type->typeId : 0;
}

CPropData* FindPropDataByAttribute(const CSeznam& records, uint32_t id) {
  return FindFirst<CPropData>(records, [&](const CPropData& r) { return r.attributes && r.attributes->value[2] == id; });
}

CPropData* FindPropDataByGroups(const CSeznam& records, const char* group, const char* second) {
  return FindFirst<CPropData>(records, [&](const CPropData& r) {
    const char* own = r.GetText(PropText::kSecond);
    return Same(r.GetText(PropText::kGroup1), group) && own && *own && Same(own, second);
  });
}

CPropData* FindPropDataByName(const CSeznam& records, const char* name) {
  return FindFirst<CPropData>(records, [&](const CPropData& r) { return Same(r.GetText(PropText::kName), name); });
}
