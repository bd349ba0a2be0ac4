#include "jov_vantrix/network/NetworkRecords.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

#include "common/SlabsAhead.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/RecordWriteBack.h"

namespace {

struct RecordField {
  std::string_view key;
  RecordTextField field;
};

using Runs = CObjDataNew::RunPart;
constexpr RecordField kFields[] = {
    {"_NBRANCH", {&CObjDataNew::m_branchName}},          {"_NUM_RISER", {&CObjDataNew::m_riserNumber}},
    {"_PREFIX_RISER", {nullptr, &Runs::m_riserPrefix}}, {"_NUM_BRANCH", {&CObjDataNew::m_branchNumber}},
    {"_NUM_SIDE", {&CObjDataNew::m_sideNumber}},         {"CM", {&CObjDataNew::m_CM}},
    {"CT", {&CObjDataNew::m_CT}},                        {"CZ", {&CObjDataNew::m_CZ}},
    {"CR", {nullptr, &Runs::m_CR}},                      {"_NUM_ASSOC", {&CObjDataNew::m_assoc}},
    {"_SCH_ASSOC", {&CObjDataNew::m_schemeAssoc}},       {"_POS_RISER", {&CObjDataNew::m_riserPosition}},
};
static_assert(std::size(kFields) <= 32);

// The fields whose key has so many characters (bit i for kFields[i]); keys
// of another length have none.
constexpr size_t kLongestKey = 15;
struct FieldsByLength {
  uint32_t mask[kLongestKey + 1] = {};
  constexpr FieldsByLength() {
    for (size_t i = 0; i < std::size(kFields); ++i)
      if (kFields[i].key.size() <= kLongestKey) mask[kFields[i].key.size()] |= 1u << i;
  }
};
constexpr FieldsByLength kFieldsByLength;
static_assert([] {
  for (const RecordField& f : kFields)
    if (f.key.empty() || f.key.size() > kLongestKey) return false;
  return true;
}());

// Place of the key in kFields; -1 for a key without a field. Asked for
// every property of every record read: only the fields of the key's length
// are compared, their last letter first.
int FieldIndex(std::string_view key) {
  if (key.size() > kLongestKey) return -1;
  for (uint32_t m = kFieldsByLength.mask[key.size()]; m; m &= m - 1) {
    const int i = std::countr_zero(m);
    const std::string_view field = kFields[i].key;
    if (field.back() != key.back()) continue;
    // Compared here, not by a call: the keys are a few letters long.
    size_t at = 0;
    while (at < key.size() && field[at] == key[at]) ++at;
    if (at == key.size()) return i;
  }
  return -1;
}

}  // namespace

void CopyProperties(CObjDataNew& record, std::initializer_list<const char*> keys) {
  uint32_t wanted = 0;
  for (const char* key : keys)
    if (const int i = FieldIndex(key); i >= 0) wanted |= 1u << i;
  // One walk over the properties for every key; the first property of a
  // key counts, as for GetProperty.
  uint32_t found = 0;
  record.m_jovData.ForEachProperty([&](const char* key, const char* value) {
    const int i = FieldIndex(key);
    if (i >= 0 && (wanted & ~found & (1u << i))) {
      kFields[i].field.Set(record, value);
      found |= 1u << i;
    }
    return found != wanted;
  });
  for (size_t i = 0; i < std::size(kFields); ++i)
    if (wanted & ~found & (1u << i)) kFields[i].field.Set(record, "");
}

CString PropertyOf(const CObjDataNew& record, const char* key) {
  const char* value = record.m_jovData.GetProperty(key);
  return value ? CString(value) : CString();
}

char IncludeFlagOf(const char* typeCode) {
  if (!typeCode || ::strnlen(typeCode, CJovData::kIncludeFlagIndex + 1) <= CJovData::kIncludeFlagIndex) return '\0';
  return typeCode[CJovData::kIncludeFlagIndex];
}

int PipeKindOf(const char* typeCode) {
  const char* code = typeCode ? typeCode : "";
  if (std::strncmp(code, "TPP", 3) == 0 || std::strncmp(code, "TP6", 3) == 0) return kObjectSupplyPipe;
  if (std::strncmp(code, "TPZ", 3) == 0 || std::strncmp(code, "TP7", 3) == 0) return kObjectReturnPipe;
  return kObjectOther;
}

const char* LinkHandleOf(const resbuf* chain) {
  const resbuf* node = chain;
  return FindApplication(&node, "JOV_LINK") ? LinkHandleAfter(node) : "";
}

const char* LinkHandleAfter(const resbuf* linkApplication) {
  if (!linkApplication) return "";
  const resbuf* handle = linkApplication->next;
  if (!handle || !IsStringNode(handle) || !handle->value.text) return "";
  return handle->value.text;
}

void ForgetReadData(CObjSezNew& list) {
  for (INT_PTR i = 0; i < list.m_allRecords.GetSize(); ++i)
    static_cast<CObjDataNew*>(list.m_allRecords[i])->m_jovData.Clear();
  for (CObjDataNew* record = list.GetFirstRecord(); record; record = record->GetNextRecord())
    record->m_jovData.Clear();
  ReleasePropertyMemory();
  // No more records are read: slabs made ahead for them would only wait.
  ReleaseSlabsAhead();
}
