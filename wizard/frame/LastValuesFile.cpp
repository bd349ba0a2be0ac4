#include "wizard/frame/LastValuesFile.h"

#include "wizard/frame/CWizardDllApp.h"

namespace {

std::string& Extension() {
  static std::string extension = ".dat";
  return extension;
}

}  // namespace

void SetLastValuesExtension(const char* extension) { Extension() = extension ? extension : ".dat"; }

const std::string& GetLastValuesExtension() { return Extension(); }

std::string LastValuesPath(const char* indexId) {
  if (!indexId || !*indexId) return std::string();
  return std::string(TheWizardApp().GetProfileFolder()) + "Dat\\PP_Last" + indexId[0] + Extension();
}
