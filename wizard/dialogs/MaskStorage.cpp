#include "wizard/dialogs/MaskStorage.h"

#include <cstring>

#include "common/SettingsWrite.h"
#include "platform/win32/profile.h"

namespace {

// The buffer every reader of a mask value uses.
constexpr DWORD kValueBuffer = kStoredValueLimit + 1;

}  // namespace

CString MaskKeyName(int number) {
  CString key;
  key.Format("MASK%d", number);
  return key;
}

bool SplitMaskValue(const char* value, CString* name, CString* definition) {
  const char* split = value ? std::strchr(value, ';') : nullptr;
  if (!split) return false;
  *name = CString(value, static_cast<int>(split - value));
  *definition = split + 1;
  return true;
}

bool MaskFitsStorage(const char* name, const char* definition) {
  return std::strlen(name ? name : "") + 1 + std::strlen(definition ? definition : "") <=
         static_cast<size_t>(kStoredValueLimit);
}

std::vector<StoredMask> ReadMaskList(const char* file, const char* section, int* firstFreeKey) {
  std::vector<StoredMask> masks;
  int key = 0;
  for (; key < kMaxMasks; ++key) {
    char value[kValueBuffer] = "";
    if (GetPrivateProfileStringA(section, MaskKeyName(key), "", value, kValueBuffer, file) == 0) break;
    StoredMask mask;
    mask.key = key;
    if (SplitMaskValue(value, &mask.name, &mask.definition)) masks.push_back(mask);
  }
  if (firstFreeKey) *firstFreeKey = key;
  return masks;
}

CString FieldEntryDefinition(const char* token) {
  if (!token) token = "";
  if (std::strcmp(token, "\\") == 0 || token[0] == '&' || token[0] == '#') return token;
  return CString("&") + token;
}

std::vector<FieldEntry> ReadFieldEntries(const char* file, const char* section) {
  std::vector<FieldEntry> entries;
  for (int key = 0; key < kMaxFieldEntries; ++key) {
    char value[kValueBuffer] = "";
    if (GetPrivateProfileStringA(section, MaskKeyName(key), "", value, kValueBuffer, file) == 0) continue;
    FieldEntry entry;
    CString token;
    if (!SplitMaskValue(value, &entry.name, &token)) continue;
    entry.definition = FieldEntryDefinition(token);
    entries.push_back(entry);
  }
  return entries;
}

CString ReadActiveMask(const char* iniFile, const char* key) {
  char value[kValueBuffer] = "";
  GetPrivateProfileStringA(kActiveMaskSection, key, "", value, kValueBuffer, iniFile);
  return value;
}

int FirstEmptyMaskKey(const char* file, const char* section, int from) {
  for (int key = from < 0 ? 0 : from; key < kMaxMasks; ++key) {
    char value[kValueBuffer] = "";
    if (GetPrivateProfileStringA(section, MaskKeyName(key), "", value, kValueBuffer, file) == 0) return key;
  }
  return kMaxMasks;
}

bool WriteActiveMask(const char* iniFile, const char* key, const char* definition) {
  return WriteSettingsString(iniFile, kActiveMaskSection, key, definition, SettingsFailure::kCallerSays);
}

bool WriteMask(const char* file, const char* section, int key, const char* name, const char* definition) {
  CString value;
  value.Format("%s;%s", name ? name : "", definition ? definition : "");
  return WriteSettingsString(file, section, MaskKeyName(key), value, SettingsFailure::kCallerSays);
}
