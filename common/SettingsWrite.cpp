#include "common/SettingsWrite.h"

#include "common/CreateFolderPath.h"
#include "common/HostModule.h"
#include "platform/win32/profile.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/window_api.h"

namespace {

UINT g_notKeptMessage = 0;
int g_commandDepth = 0;
bool g_told = false;

bool Kept(const std::string& name, bool written, SettingsFailure failure) {
  if (written || failure == SettingsFailure::kCallerSays || g_notKeptMessage == 0) return written;
  if (g_commandDepth > 0) {
    if (g_told) return false;
    g_told = true;
  }
  MessageBoxRes(GetActiveWindow(), g_notKeptMessage, MB_ICONWARNING, name.c_str());
  return false;
}

}  // namespace

bool WriteSettingsFile(const std::string& file, const std::function<bool()>& write, SettingsFailure failure) {
  // A folder that cannot be made fails the write, which then says so.
  CreateFolderPath(file.c_str(), true);
  return Kept(file, write(), failure);
}

bool WriteSettingsString(const char* file, const char* section, const char* key, const char* value,
                         SettingsFailure failure) {
  if (!file || !section || !key) return false;
  return WriteSettingsFile(
      file, [&] { return WritePrivateProfileStringA(section, key, value, file) != FALSE; }, failure);
}

bool WriteRegistrySettings(const std::string& name, const std::function<bool()>& write, SettingsFailure failure) {
  return Kept(name, write(), failure);
}

void SetSettingsNotKeptMessage(UINT stringId) { g_notKeptMessage = stringId; }

SettingsCommand::SettingsCommand() {
  if (g_commandDepth++ == 0) g_told = false;
}

SettingsCommand::~SettingsCommand() { --g_commandDepth; }
