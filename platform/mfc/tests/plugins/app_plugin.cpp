// A framework library for the tests, configured by compile definitions:
//   TEST_APP_NAME         name given to the application object (none: null)
//   TEST_APP_REFUSE       InitInstance returns FALSE
//   TEST_APP_NESTED_LOAD  InitInstance loads this library from its own
//                         folder; ExitInstance frees it
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/mfc/CWinApp.h"
#include "platform/mfc/tests/plugins/test_app_events.h"
#include "platform/win32/module_loader.h"

#define TEST_EXPORT extern "C" __attribute__((visibility("default")))

// Provided by the test program; absent when something else loads us.
extern "C" __attribute__((weak)) void JovTestAppEvent(const TestAppEvent* event);

namespace {

#ifdef TEST_APP_NAME
constexpr const char* kName = TEST_APP_NAME;
#else
constexpr const char* kName = nullptr;
#endif

void Report(const CWinApp* self, const char* event) {
  if (!JovTestAppEvent) return;
  TestAppEvent e{};
  e.app = kName ? kName : "unnamed";
  e.event = event;
  e.appIsCurrent = AfxGetApp() == self;
  e.instance = AfxGetInstanceHandle();
  e.resources = AfxGetResourceHandle();
  char path[4096];
  e.fileNameLength = GetModuleFileNameA(e.instance, path, sizeof path);
  JovTestAppEvent(&e);
}

[[maybe_unused]] HMODULE LoadBesideUs(const char* name) {
  char path[4096] = {};
  DWORD n = GetModuleFileNameA(AfxGetInstanceHandle(), path, sizeof path);
  if (n == 0 || n >= sizeof path) return nullptr;
  std::string full(path);
  full.erase(full.find_last_of("\\/") + 1);
  return LoadLibraryA((full + name).c_str());
}

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp(kName) {}
  ~CTestApp() override { Report(this, "destroyed"); }

  BOOL InitInstance() override {
    Report(this, "init");
#ifdef TEST_APP_NESTED_LOAD
    nested_ = LoadBesideUs(TEST_APP_NESTED_LOAD);
    if (!nested_) return FALSE;
#endif
#ifdef TEST_APP_REFUSE
    return FALSE;
#else
    return CWinApp::InitInstance();
#endif
  }

  int ExitInstance() override {
    Report(this, "exit");
    if (nested_) FreeLibrary(nested_);
    nested_ = nullptr;
    return CWinApp::ExitInstance();
  }

 private:
  HMODULE nested_ = nullptr;
};

CTestApp theApp;

}  // namespace

TEST_EXPORT const char* TestApp_Name() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return AfxGetApp() ? AfxGetApp()->m_pszAppName : nullptr;
}

TEST_EXPORT const char* TestApp_ExeName() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return AfxGetApp() ? AfxGetApp()->m_pszExeName : nullptr;
}

TEST_EXPORT HINSTANCE TestApp_Instance() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return AfxGetInstanceHandle();
}

TEST_EXPORT HINSTANCE TestApp_ResourceHandle() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return AfxGetResourceHandle();
}

TEST_EXPORT void TestApp_SetResourceHandle(HINSTANCE handle) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  AfxSetResourceHandle(handle);
}

// Without switching: whether the caller's state happens to be ours.
TEST_EXPORT bool TestApp_SeesItsAppWithoutSwitching() { return AfxGetApp() == &theApp; }

TEST_EXPORT void TestApp_ThrowInsideState() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  throw std::runtime_error("thrown with the library's state current");
}

TEST_EXPORT HMODULE TestApp_LoadLibrary(const char* path) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return LoadLibraryA(path);
}

TEST_EXPORT BOOL TestApp_FreeLibrary(HMODULE module) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return FreeLibrary(module);
}

TEST_EXPORT DWORD TestApp_OwnFileName(char* out, DWORD size) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return GetModuleFileNameA(AfxGetInstanceHandle(), out, size);
}
