// Look-ups over the engine's lists. Each gives the first match in list
// order; texts are compared exactly and case-sensitively.
#pragma once

#include <cstdint>

class CSeznam;
class CValueParam;
class CObjectData;
class CTypeParam;
class CPropData;
class GLVector;

// A user parameter: neither computed nor reported (status bits 0 and 1).
bool IsUserParam(const CValueParam& param);

// Parameters.
CValueParam* FindParamByName(const CSeznam& params, const char* name);
// A parameter of the same name; false when either name is null.
bool ContainsParamName(const CSeznam& params, const CValueParam* param);
bool HasUserParams(const CSeznam& params);
// A free parameter (status bit 2) with that label.
bool FindFreeParamByLabel(const CSeznam& params, const char* label, CValueParam*& out);
// The value (slot 5), or the default (slot 1) when the value is empty, cut
// to size - 1 characters; false when the name is unknown or an argument is
// null or size is 0.
bool GetParamValueText(const CSeznam& params, const char* name, char* buffer, unsigned size);
// The value, or the default when the value is empty; null when both are.
const char* ParamValueOrDefault(const CValueParam& param);

// Definition points.
int GetBasePointNumber(const CSeznam& points);  // -1 when none
CObjectData* FindObjectByNumber(const CSeznam& points, uint32_t number);
// Within 0.01 in every coordinate.
bool FindObjectAtPoint(const CSeznam& points, const GLVector& point, CObjectData*& out);

// Parameter types.
CTypeParam* FindTypeParamById(const CSeznam& types, uint32_t id);
uint32_t GetFirstFlaggedTypeId(const CSeznam& types);  // status bit 4; 0 when none

// Name records.
CPropData* FindPropDataByAttribute(const CSeznam& records, uint32_t id);  // third number
// Slot 3 equal to group and slot 1 non-empty and equal to second.
CPropData* FindPropDataByGroups(const CSeznam& records, const char* group, const char* second);
CPropData* FindPropDataByName(const CSeznam& records, const char* name);
