#include "fuzz/UtilityDialogFuzz.h"

#include <cstdio>
#include <cstdlib>

#include "platform/mfc/module_state.h"
#include "platform/win32/driver/headless_driver.h"
#include "platform/win32/module_loader.h"

namespace fuzz {

void OpenUtilityDialogs(const char* appName) {
  static AFX_MODULE_STATE state{};
  static HeadlessDriver driver;
  HMODULE resources = LoadLibraryA(JOV_UTILITY_TEST_RESOURCES);
  if (!resources) {
    std::fprintf(stderr, "cannot load %s: %s\n", JOV_UTILITY_TEST_RESOURCES, LastLoadErrorText().c_str());
    std::abort();
  }
  state.m_hCurrentResourceHandle = resources;
  state.m_lpszCurrentAppName = appName;
  AfxSetModuleState(&state);
  SetUiDriver(&driver);
}

}  // namespace fuzz
