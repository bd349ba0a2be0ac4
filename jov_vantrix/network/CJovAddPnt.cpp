#include "jov_vantrix/network/CJovAddPnt.h"

#include <cstdlib>
#include <cstring>

namespace {

// Lines left in the text from the cursor, counted the way ReadTextLine
// steps through them.
long CountLines(const char* cursor) {
  long lines = 0;
  while (*cursor) {
    ReadTextLine(&cursor);
    ++lines;
  }
  return lines;
}

}  // namespace

std::string ReadTextLine(const char** cursor) {
  std::string line;
  if (!cursor || !*cursor) return line;
  const char* p = *cursor;
  while (*p && *p != '\r' && *p != '\n') line += *p++;
  if (*p == '\r') {
    ++p;
    if (*p == '\n') ++p;
  } else if (*p == '\n') {
    ++p;
  }
  *cursor = p;
  return line;
}

void CJovAddPnt::ParseList(CJovAddPnt& list, const char* text) {
  if (!text) return;
  const char* cursor = text;
  long count = std::strtol(ReadTextLine(&cursor).c_str(), nullptr, 10);
  if (count <= 0) return;
  // A count the text cannot back is cut to the records it holds.
  long available = (CountLines(cursor) + kFields - 1) / kFields;
  if (count > available) count = available;
  for (long r = 0; r < count; ++r) {
    auto* record = new CJovAddPnt(kFields);
    for (uint32_t f = 0; f < kFields; ++f) record->SetField(f, ReadTextLine(&cursor).c_str());
    list.AddTail(record);
  }
}

bool CJovAddPnt::FormatList(const CJovAddPnt& list, std::string& out) {
  out.clear();
  if (list.CSeznam::GetCount() == 0) return false;
  out = std::to_string(list.CSeznam::GetCount()) + "\n";
  for (const CSeznam* e = list.GetHead(); e; e = e->GetNext()) {
    const auto* record = static_cast<const CJovAddPnt*>(e);
    for (uint32_t f = 0; f < kFields; ++f) {
      const char* field = record->GetField(f);
      out += field ? field : "";
      out += '\n';
    }
  }
  return true;
}

bool CJovAddPnt::FindIndex(const CJovAddPnt& list, uint32_t* index, uint32_t field,
                           const char* text) {
  if (!text || field >= kFields) return false;
  uint32_t position = 0;
  for (const CSeznam* e = list.GetHead(); e; e = e->GetNext(), ++position) {
    const char* value = static_cast<const CJovAddPnt*>(e)->GetField(field);
    if (value && std::strcmp(value, text) == 0) {
      if (index) *index = position;
      return true;
    }
  }
  return false;
}
