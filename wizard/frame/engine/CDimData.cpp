#include "wizard/frame/engine/CDimData.h"

#include <cstdio>
#include <cstring>

#include "common/SettingsWrite.h"
#include "platform/mfc/CComboBox.h"
#include "platform/win32/profile.h"

namespace {

constexpr int kTableKeys = 60;
// Table values are read as the dialog always has: 254 characters.
constexpr DWORD kTableValue = 255;
constexpr const char* kSettings = "DIM_DLG";

bool ServedKind(char kind) { return kind == 'Z' || kind == 'E' || kind == 'V' || kind == 'T'; }

std::string TableSection(char kind) { return std::string("MODULE_") + kind; }

std::string TableValue(const std::string& file, char kind, const char* prefix, int number) {
  char key[16];
  std::snprintf(key, sizeof key, "%s%d", prefix, number);
  char value[kTableValue] = "";
  GetPrivateProfileStringA(TableSection(kind).c_str(), key, "", value, kTableValue, file.c_str());
  return value;
}

}  // namespace

void CDimData::SetFolder(const char* folder) {
  m_folder = folder ? folder : "";
  if (!m_folder.empty() && m_folder.back() != '\\') m_folder += '\\';
}

bool DimensionColumn(const char* line, int unit, std::string* text) {
  const char* p = line ? line : "";
  if (!std::strchr(p, ';')) {
    *text = p;
    return true;
  }
  for (int column = 0; unit >= 0; ++column) {
    const char* end = std::strchr(p, ';');
    if (!end) return false;
    if (column == unit) {
      text->assign(p, end);
      return true;
    }
    p = end + 1;
  }
  return false;
}

bool CDimData::LoadUnitList(char kind, CComboBox* combo) const {
  if (m_folder.empty() || !ServedKind(kind)) return false;
  combo->ResetContent();
  const std::string file = TablePath();
  for (int number = 0; number < kTableKeys; ++number) {
    const std::string name = TableValue(file, kind, "MJ", number);
    if (name.empty()) continue;
    const int row = combo->AddString(name.c_str());
    if (row >= 0) combo->SetItemData(row, static_cast<DWORD_PTR>(number));
  }
  return true;
}

bool CDimData::LoadDimensionList(char kind, int unitRow, CComboBox* combo, const char* first) const {
  if (m_folder.empty() || !ServedKind(kind)) return false;
  combo->ResetContent();
  if (first && *first) combo->AddString(first);
  const std::string file = TablePath();
  for (int number = 0; number < kTableKeys; ++number) {
    const std::string line = TableValue(file, kind, "DIM", number);
    std::string text;
    if (!line.empty() && DimensionColumn(line.c_str(), unitRow, &text) && !text.empty()) combo->AddString(text.c_str());
  }
  return true;
}

int CDimData::GetShowDimDlg() const {
  if (m_folder.empty()) return 0;
  return static_cast<int>(GetPrivateProfileIntA(kSettings, "SHOW_DIM_DLG", 1, SettingsPath().c_str()));
}

bool CDimData::SetShowDimDlg(int show) const {
  if (m_folder.empty()) return true;
  char value[16];
  std::snprintf(value, sizeof value, "%d", show);
  return WriteSettingsString(SettingsPath().c_str(), kSettings, "SHOW_DIM_DLG", value, SettingsFailure::kCallerSays);
}

int CDimData::GetLastUnit() const {
  if (m_folder.empty()) return 0;
  const int unit = static_cast<int>(GetPrivateProfileIntA(kSettings, "LAST_UNIT", 0, SettingsPath().c_str()));
  return unit < 0 ? 0 : unit;
}

bool CDimData::SetLastUnit(int unit) const {
  if (m_folder.empty()) return true;
  char value[16];
  std::snprintf(value, sizeof value, "%d", unit);
  return WriteSettingsString(SettingsPath().c_str(), kSettings, "LAST_UNIT", value, SettingsFailure::kCallerSays);
}

int CDimData::GetLastDim(char* buffer, int size) const {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  if (m_folder.empty()) return 0;
  return static_cast<int>(
      GetPrivateProfileStringA(kSettings, "LAST_DIM", "", buffer, static_cast<DWORD>(size), SettingsPath().c_str()));
}

bool CDimData::SetLastDim(const char* text) const {
  if (m_folder.empty() || !text) return true;
  return WriteSettingsString(SettingsPath().c_str(), kSettings, "LAST_DIM", text, SettingsFailure::kCallerSays);
}
