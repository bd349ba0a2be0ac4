#include "wizard/dialogs/MaskFieldCodes.h"

#include "platform/win32/code_page.h"
#include "platform/win32/profile.h"

MaskFieldCode MaskFieldCodes[kMaskFieldCodeCount + 1] = {
    {"1", "_MATERIAL", ""},    {"2", "_LABEL", ""},   {"3", "_NAME", ""},     {"4", "_DIM", ""},
    {"C", "_DESC", ""},        {"P", "_QPROD", ""},   {"G", "_GROUP", ""},    {"T", "_QTYPE", ""},
    {"M", "_MEASUREMENT", ""}, {"L", "_LENGTH", ""},  {"W", "_WEIGHT", ""},   {"H", "_HEIGHT", ""},
    {"D", "_DIAMETER", ""},    {"A", "_ANGLE", ""},   {"S", "_SUBSCRIPT", ""}, {"O", "_SLOPE", ""},
    {nullptr, nullptr, ""},
};

void LoadMaskFieldCodes(const char* setFile) {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  ReadMaskFieldCodes(setFile);
}

void ReadMaskFieldCodes(const char* setFile) {
  for (MaskFieldCode* row = MaskFieldCodes; row->code; ++row)
    GetPrivateProfileStringA("INFO", row->logicalKey, "", row->installedKey, sizeof row->installedKey, setFile);
}

const MaskFieldCode* FindMaskFieldCode(const char* key) {
  if (!key) return nullptr;
  for (const MaskFieldCode* row = MaskFieldCodes; row->code; ++row)
    if (row->installedKey[0] && _mbsicmp(row->installedKey, key) == 0) return row;
  return nullptr;
}
