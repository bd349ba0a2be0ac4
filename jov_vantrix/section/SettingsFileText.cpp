#include "jov_vantrix/section/SettingsFileText.h"

#include <algorithm>
#include <string>

#include "common/HostModule.h"
#include "jov_vantrix/section/CutDialogControls.h"
#include "jov_vantrix/section/CutSettings.h"
#include "platform/mfc/CFile.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/code_page.h"
#include "platform/win32/ui_services.h"

namespace {

// Settings files are small; a file larger than this is judged by its start.
constexpr UINT kLookedAt = 1 << 20;

}  // namespace

bool IsUtf8Text(const char* bytes, size_t size) {
  if (size >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF && static_cast<unsigned char>(bytes[1]) == 0xBB &&
      static_cast<unsigned char>(bytes[2]) == 0xBF)
    return true;
  const bool ascii = std::all_of(bytes, bytes + size, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) return false;
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(size), nullptr, 0) > 0;
}

CString FindUtf8SettingsFile() {
  for (const char* name : {kCutSettingsFile, kCutPresetFile, kPipeTypeFile}) {
    const CString path = CutSettingsPath(name);
    CFile file;
    if (!file.Open(path, CFile::modeRead)) continue;
    std::string bytes(static_cast<size_t>(std::min<ULONGLONG>(file.GetLength(), kLookedAt)), '\0');
    bytes.resize(bytes.empty() ? 0 : file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    // A letter cut at the end of the part read is no fault: drop its bytes.
    size_t end = bytes.size();
    if (end == kLookedAt) {
      while (end > 0 && (static_cast<unsigned char>(bytes[end - 1]) & 0xC0) == 0x80) --end;
      if (end > 0 && static_cast<unsigned char>(bytes[end - 1]) >= 0xC0) --end;
    }
    if (IsUtf8Text(bytes.data(), end)) return path;
  }
  return CString();
}

bool StopOnUtf8SettingsFile(HWND owner) {
  const CString path = FindUtf8SettingsFile();
  if (path.IsEmpty()) return false;
  MessageBoxRes(owner, IDS_CUT_SETTINGS_NOT_CP1250, MB_ICONHAND, path);
  return true;
}
