#include "jov_vantrix/network/NetworkRecords.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/RecordWriteBack.h"

namespace {

struct RecordField {
  std::string_view key;
  RecordText CObjDataNew::*field;
};

constexpr RecordField kFields[] = {
    {"_NBRANCH", &CObjDataNew::m_branchName},       {"_NUM_RISER", &CObjDataNew::m_riserNumber},
    {"_PREFIX_RISER", &CObjDataNew::m_riserPrefix}, {"_NUM_BRANCH", &CObjDataNew::m_branchNumber},
    {"_NUM_SIDE", &CObjDataNew::m_sideNumber},      {"CM", &CObjDataNew::m_CM},
    {"CT", &CObjDataNew::m_CT},                     {"CZ", &CObjDataNew::m_CZ},
    {"CR", &CObjDataNew::m_CR},                     {"_NUM_ASSOC", &CObjDataNew::m_assoc},
    {"_SCH_ASSOC", &CObjDataNew::m_schemeAssoc},    {"_POS_RISER", &CObjDataNew::m_riserPosition},
};
static_assert(std::size(kFields) <= 32);

// A key as ShortTextWords gives it; false for a key of 16 bytes or more.
// Keys on a page's last bytes are told a byte at a time.
bool KeyWords(const char* key, uint64_t words[2]) {
  if (ShortTextWords(key, words)) return true;
  words[0] = words[1] = 0;
  for (size_t i = 0; i < kShortTextBytes; ++i) {
    if (!key[i]) return true;
    words[i / 8] |= uint64_t{static_cast<unsigned char>(key[i])} << (8 * (i % 8));
  }
  return false;
}

// The fields by their keys' words, in open addressing: a key is compared
// with the few slots from its hash's up to an empty one, not with every
// field (asked for every property of every record read).
constexpr size_t kFieldSlots = 64;
constexpr size_t FieldSlot(uint64_t low, uint64_t high) {
  return static_cast<size_t>(((low ^ (high * 0x9E3779B97F4A7C15u)) * 0xFF51AFD7ED558CCDu) >> 58);
}
struct FieldTable {
  uint64_t words[kFieldSlots][2] = {};
  int8_t field[kFieldSlots] = {};  // kFields index + 1; 0 for an empty slot
  constexpr FieldTable() {
    for (size_t i = 0; i < std::size(kFields); ++i) {
      uint64_t w[2] = {0, 0};
      for (size_t c = 0; c < kFields[i].key.size(); ++c)
        w[c / 8] |= uint64_t{static_cast<unsigned char>(kFields[i].key[c])} << (8 * (c % 8));
      size_t slot = FieldSlot(w[0], w[1]);
      while (field[slot]) slot = (slot + 1) % kFieldSlots;
      words[slot][0] = w[0];
      words[slot][1] = w[1];
      field[slot] = static_cast<int8_t>(i + 1);
    }
  }
};
constexpr FieldTable kFieldTable;
static_assert([] {
  for (const RecordField& f : kFields)
    if (f.key.empty() || f.key.size() >= kShortTextBytes) return false;
  return std::size(kFields) < kFieldSlots / 2;
}());

// Place of the key in kFields; -1 for a key without a field.
int FieldIndex(const char* key) {
  uint64_t w[2];
  if (!KeyWords(key, w)) return -1;
  for (size_t slot = FieldSlot(w[0], w[1]); kFieldTable.field[slot]; slot = (slot + 1) % kFieldSlots)
    if (kFieldTable.words[slot][0] == w[0] && kFieldTable.words[slot][1] == w[1]) return kFieldTable.field[slot] - 1;
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
      record.*kFields[i].field = value;
      found |= 1u << i;
    }
    return found != wanted;
  });
  for (size_t i = 0; i < std::size(kFields); ++i)
    if (wanted & ~found & (1u << i)) record.*kFields[i].field = RecordText();
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
}
