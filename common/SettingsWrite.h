// Every write of the user's settings goes through here: the settings files
// of the profile (window layouts, histories, last values, the dialogs' keys)
// and the registry values. A profile may lack its "Dat" folder, so the
// file's folder is made first; and a settings write that fails must not
// cost the user the work the command was doing, so the failure is told
// once per command, naming the file, and the caller goes on. Only where
// writing is the user's own action (a mask saved, a registration, the
// dimension table) does the caller keep its dialog open and say so itself.
#pragma once

#include <functional>
#include <string>

#include "platform/win32/win32_types.h"

enum class SettingsFailure {
  kSaidOnce,    // told once per command; the caller goes on
  kCallerSays,  // the caller tells the user and keeps its dialog open
};

// Makes the folder of file, then runs write; false when either fails.
bool WriteSettingsFile(const std::string& file, const std::function<bool()>& write,
                       SettingsFailure failure = SettingsFailure::kSaidOnce);
// One key of a profile file (a null value deletes the key).
bool WriteSettingsString(const char* file, const char* section, const char* key, const char* value,
                         SettingsFailure failure = SettingsFailure::kSaidOnce);
// A registry write; name is the key as the user would look for it.
bool WriteRegistrySettings(const std::string& name, const std::function<bool()>& write,
                           SettingsFailure failure = SettingsFailure::kSaidOnce);

// The library's message for a settings file not kept ("%s": the file),
// a string of its resource library; 0 says nothing.
void SetSettingsNotKeptMessage(UINT stringId);

// One command of the library, opened by each export: within it a settings
// failure is told once. Nested commands belong to the outermost.
class SettingsCommand {
 public:
  SettingsCommand();
  ~SettingsCommand();
  SettingsCommand(const SettingsCommand&) = delete;
  SettingsCommand& operator=(const SettingsCommand&) = delete;
};
