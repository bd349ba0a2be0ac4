#include "common/CComboBoxNew.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "common/ComboInputFilter.h"
#include "common/SettingsWrite.h"
#include "platform/win32/code_page.h"
#include "platform/win32/profile.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/virtual_keys.h"

namespace {

// Keys keyPrefix0 .. keyPrefix99 hold a history.
constexpr unsigned kHistoryKeys = 100;
constexpr DWORD kHistoryValueSize = 1024;
constexpr UINT kDropDownBit = 2;
constexpr unsigned kBackspace = 8;

// The default a history read asks for: a profile value never holds a line
// break, so getting this back means the key is missing.
constexpr char kMissingKey[] = "\n<missing>";

void HistoryKey(char (&key)[32], const char* prefix, unsigned index) {
  std::snprintf(key, sizeof key, "%s%u", prefix, index);
}

bool ReadHistoryValue(const char* file, const char* section, const char* key, char (&value)[kHistoryValueSize]) {
  GetPrivateProfileStringA(section, key, kMissingKey, value, kHistoryValueSize, file);
  return std::strcmp(value, kMissingKey) != 0;
}

// The key names of a section, as the profile call lists them. A line
// "=value" lists as an empty name, which looks like the list's end: the
// names are walked up to the length the call gives, past empty ones.
std::vector<std::string> SectionKeys(const char* file, const char* section) {
  std::vector<char> names(4096);
  DWORD n = 0;
  for (;;) {
    n = GetPrivateProfileStringA(section, nullptr, "", names.data(), static_cast<DWORD>(names.size()), file);
    if (n + 2 < names.size()) break;
    names.resize(names.size() * 2);
  }
  std::vector<std::string> keys;
  for (size_t at = 0; at < n; at += std::strlen(names.data() + at) + 1)
    if (names[at]) keys.emplace_back(names.data() + at);
  return keys;
}

// The index of a history key (prefix and a decimal number as written);
// -1 for any other key.
long HistoryIndex(const std::string& key, const char* prefix) {
  const size_t length = std::strlen(prefix);
  if (key.size() <= length || !EqualsIgnoreCase(std::string_view(key).substr(0, length), prefix)) return -1;
  const std::string digits = key.substr(length);
  if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) return -1;
  for (char c : digits)
    if (c < '0' || c > '9') return -1;
  return std::stol(digits);
}

}  // namespace

BEGIN_MESSAGE_MAP(CComboBoxNew, CComboBox)
  ON_CONTROL_REFLECT(CBN_DROPDOWN, &CComboBoxNew::OnDropDown)
  ON_CONTROL_REFLECT(CBN_CLOSEUP, &CComboBoxNew::OnCloseUp)
END_MESSAGE_MAP()

CComboBoxNew::CComboBoxNew(uint32_t keyFlagsIn, uint32_t inputTypeIn)
    : droppedDown(false), keyFlags(keyFlagsIn), lengthLimit(-1), inputType(inputTypeIn) {}

CComboBoxNew::~CComboBoxNew() = default;

void CComboBoxNew::OnDropDown() { droppedDown = true; }

void CComboBoxNew::OnCloseUp() { droppedDown = false; }

bool CComboBoxNew::AddToHistory(const char* text, DWORD_PTR itemData) {
  if (!text || !*text) return false;
  const int count = GetCount();
  for (int i = 0; i < count; ++i) {
    CString item;
    GetLBText(i, item);
    if (item == text) return false;
  }
  const int index = InsertString(0, text);
  if (index < 0) return false;
  if (itemData) SetItemData(index, itemData);
  return true;
}

HWND CComboBoxNew::GetEditHwnd() {
  if (!(GetStyle() & kDropDownBit)) return nullptr;
  return ::GetWindow(m_hWnd, GW_CHILD);
}

void CComboBoxNew::LoadHistory(const char* iniFile, const char* section, const char* keyPrefix) {
  if (!iniFile || !section || !keyPrefix) return;
  for (unsigned i = 0; i < kHistoryKeys; ++i) {
    char key[32];
    HistoryKey(key, keyPrefix, i);
    char value[kHistoryValueSize];
    if (!ReadHistoryValue(iniFile, section, key, value)) break;
    AddString(value);
  }
}

void CComboBoxNew::SaveHistory(const char* iniFile, const char* section, const char* keyPrefix, uint32_t maxItems) {
  if (!iniFile || !section || !keyPrefix) return;
  const int count = GetCount();
  const unsigned n = count < 0 ? 0u : std::min(static_cast<unsigned>(count), maxItems);
  char key[32];
  for (unsigned i = 0; i < n; ++i) {
    CString text;
    GetLBText(static_cast<int>(i), text);
    HistoryKey(key, keyPrefix, i);
    WriteSettingsString(iniFile, section, key, text);
  }
  // What an earlier, longer save left behind would load after these.
  for (const std::string& name : SectionKeys(iniFile, section)) {
    const long index = HistoryIndex(name, keyPrefix);
    if (index >= static_cast<long>(n)) WriteSettingsString(iniFile, section, name.c_str(), nullptr);
  }
}

BOOL CComboBoxNew::PreTranslateMessage(MSG* msg) {
  const HWND edit = GetEditHwnd();
  if (msg->hwnd != m_hWnd && (!edit || msg->hwnd != edit)) return CComboBox::PreTranslateMessage(msg);

  if (msg->message == WM_KEYDOWN) {
    if (msg->wParam == VK_RETURN) {
      msg->hwnd = m_hWnd;
      msg->message = kEnterInComboBox;
      return FALSE;
    }
    if (msg->wParam == VK_INSERT && msg->hwnd == m_hWnd && (keyFlags & kComboInsertAdds)) {
      char text[100] = "";
      GetWindowText(text, sizeof text);
      AddString(text);
      return CComboBox::PreTranslateMessage(msg);
    }
    if (msg->wParam == VK_DELETE && droppedDown && (keyFlags & kComboReportDelete)) {
      const int selected = GetCurSel();
      if (selected != CB_ERR) {
        msg->hwnd = m_hWnd;
        msg->message = kDeleteInComboList;
        msg->lParam = selected;
        return FALSE;
      }
    }
  } else if (msg->message == WM_CHAR) {
    const unsigned ch = static_cast<unsigned>(msg->wParam);
    const bool dropDown = (GetStyle() & kDropDownBit) != 0;
    if (dropDown && lengthLimit != -1 && ch != kBackspace) {
      DWORD start = 0, end = 0;
      SendMessage(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      if (ComboTypingOverLimit(dropDown, lengthLimit, GetWindowTextLength(), ch, static_cast<int>(start),
                               static_cast<int>(end))) {
        MessageBeep(0xFFFFFFFF);
        return TRUE;
      }
    }
    unsigned accepted = ch;
    if (!FilterComboChar(inputType, ch, &accepted)) {
      MessageBeep(0xFFFFFFFF);
      return TRUE;
    }
    msg->wParam = accepted;
  }
  return CComboBox::PreTranslateMessage(msg);
}
