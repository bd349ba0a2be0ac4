#include "jov_vantrix/network/NetworkRecords.h"

#include <cstring>

#include "common/GroupCodeChain.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/RecordWriteBack.h"

namespace {

CString CObjDataNew::*FieldOf(const char* key) {
  static const struct {
    const char* key;
    CString CObjDataNew::*field;
  } kFields[] = {
      {"_NBRANCH", &CObjDataNew::m_branchName},     {"_NUM_RISER", &CObjDataNew::m_riserNumber},
      {"_PREFIX_RISER", &CObjDataNew::m_riserPrefix}, {"_NUM_BRANCH", &CObjDataNew::m_branchNumber},
      {"_NUM_SIDE", &CObjDataNew::m_sideNumber},    {"CM", &CObjDataNew::m_CM},
      {"CT", &CObjDataNew::m_CT},                   {"CZ", &CObjDataNew::m_CZ},
      {"CR", &CObjDataNew::m_CR},                   {"_NUM_ASSOC", &CObjDataNew::m_assoc},
      {"_SCH_ASSOC", &CObjDataNew::m_schemeAssoc},  {"_POS_RISER", &CObjDataNew::m_riserPosition},
  };
  for (const auto& f : kFields)
    if (std::strcmp(f.key, key) == 0) return f.field;
  return nullptr;
}

}  // namespace

void CopyProperties(CObjDataNew& record, std::initializer_list<const char*> keys) {
  for (const char* key : keys) {
    CString CObjDataNew::*field = FieldOf(key);
    if (!field) continue;
    record.*field = PropertyOf(record, key);
  }
}

CString PropertyOf(const CObjDataNew& record, const char* key) {
  const char* value = record.m_jovData.GetProperty(key);
  return value ? CString(value) : CString();
}

char IncludeFlagOf(const CString& typeCode) {
  return typeCode.GetLength() > static_cast<int>(CJovData::kIncludeFlagIndex) ? typeCode[CJovData::kIncludeFlagIndex]
                                                                              : '\0';
}

int PipeKindOf(const CString& typeCode) {
  const char* code = typeCode.GetString();
  if (std::strncmp(code, "TPP", 3) == 0 || std::strncmp(code, "TP6", 3) == 0) return kObjectSupplyPipe;
  if (std::strncmp(code, "TPZ", 3) == 0 || std::strncmp(code, "TP7", 3) == 0) return kObjectReturnPipe;
  return kObjectOther;
}

CString LinkHandleOf(const resbuf* chain) {
  const resbuf* node = chain;
  if (!FindApplication(&node, "JOV_LINK")) return CString();
  const resbuf* handle = node->next;
  if (!handle || !IsStringNode(handle) || !handle->value.text) return CString();
  return CString(handle->value.text);
}
