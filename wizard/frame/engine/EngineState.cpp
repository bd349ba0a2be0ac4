#include "wizard/frame/engine/EngineState.h"

#include <optional>

namespace {

struct State {
  jovDatabase::Database* catalogue = nullptr;
  std::string profileFolder;
  std::string lastValuesExtension = ".dat";
  std::optional<std::string> caller[3];
  unsigned lengthMode = 1000;
};

State& Shared() {
  static State state;
  return state;
}

}  // namespace

jovDatabase::Database* CurrentCatalogue() { return Shared().catalogue; }
void SetCurrentCatalogue(jovDatabase::Database* catalogue) { Shared().catalogue = catalogue; }

void SetProfileFolder(const char* folder) {
  std::string& kept = Shared().profileFolder;
  kept = folder ? folder : "";
  if (!kept.empty() && kept.back() != '\\' && kept.back() != '/') kept += '\\';
}

std::string MakeProfilePath(const char* relative) { return Shared().profileFolder + (relative ? relative : ""); }

void SetLastValuesExtension(const char* extension) { Shared().lastValuesExtension = extension ? extension : ".dat"; }
const std::string& LastValuesExtension() { return Shared().lastValuesExtension; }

void SetCallerTexts(const char* names, const char* values, const char* flags) {
  const char* texts[] = {names, values, flags};
  for (int i = 0; i < 3; ++i) {
    if (texts[i])
      Shared().caller[i] = texts[i];
    else
      Shared().caller[i].reset();
  }
}

bool GetCallerTexts(std::string& names, std::string& values, std::string& flags) {
  const auto& caller = Shared().caller;
  if (!caller[0] || !caller[1] || !caller[2]) return false;
  names = *caller[0];
  values = *caller[1];
  flags = *caller[2];
  return true;
}

void SetLengthDisplayMode(unsigned mode) { Shared().lengthMode = mode; }
unsigned LengthDisplayMode() { return Shared().lengthMode; }
