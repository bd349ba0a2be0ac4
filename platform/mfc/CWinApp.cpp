#include "platform/mfc/CWinApp.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/module_loader.h"

void AfxBindAppToModule(CWinApp* app, HINSTANCE module);

namespace {

std::vector<CWinApp*>& Apps() {
  static auto* apps = new std::vector<CWinApp*>;
  return *apps;
}

char* CopyText(const std::string& text) {
  char* out = new char[text.size() + 1];
  std::memcpy(out, text.c_str(), text.size() + 1);
  return out;
}

// The library's entry point as the framework provides it.
BOOL FrameworkEntry(HMODULE module, DWORD reason) {
  if (reason == DLL_PROCESS_ATTACH) {
    CWinApp* app = nullptr;
    for (CWinApp* candidate : Apps())
      if (!candidate->m_hInstance && ModuleContainsAddress(module, candidate->GetModuleState())) {
        app = candidate;
        break;
      }
    if (!app) return TRUE;
    AfxBindAppToModule(app, module);
    AFX_MANAGE_STATE(app->GetModuleState());
    if (app->InitInstance()) return TRUE;
    app->ExitInstance();
    return FALSE;
  }
  if (reason == DLL_PROCESS_DETACH) {
    // One application object per library. ExitInstance may free other
    // libraries (and so end their application objects): look no further.
    auto& apps = Apps();
    auto it = std::find_if(apps.begin(), apps.end(), [&](CWinApp* a) { return a->m_hInstance == module; });
    if (it == apps.end()) return TRUE;
    CWinApp* app = *it;
    {
      AFX_MANAGE_STATE(app->GetModuleState());
      app->ExitInstance();
    }
    // Should the library stay mapped, a later load starts it afresh.
    app->m_hInstance = nullptr;
    app->GetModuleState()->m_hCurrentInstanceHandle = nullptr;
    app->GetModuleState()->m_hCurrentResourceHandle = nullptr;
  }
  return TRUE;
}

const bool g_entryInstalled = (SetModuleEntryHook(&FrameworkEntry), true);

}  // namespace

void AfxBindAppToModule(CWinApp* app, HINSTANCE module) {
  AFX_MODULE_STATE* state = app->m_pModuleState;
  state->m_hCurrentInstanceHandle = module;
  if (!state->m_hCurrentResourceHandle) state->m_hCurrentResourceHandle = module;
  app->m_hInstance = module;

  char path[4096] = {};
  GetModuleFileNameA(module, path, sizeof path);
  std::string name = path;
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  delete[] app->m_pszExeName;
  app->m_pszExeName = CopyText(name);
  if (!app->m_pszAppName) app->m_pszAppName = CopyText(name);
  state->m_lpszCurrentAppName = app->m_pszAppName;
}

void AfxAttachApp(CWinApp* app, AFX_MODULE_STATE* state, LPCSTR appName) {
  (void)g_entryInstalled;
  app->m_pModuleState = state;
  app->m_pszAppName = appName ? CopyText(appName) : nullptr;
  state->m_pCurrentWinApp = app;
  state->m_lpszCurrentAppName = app->m_pszAppName;
  Apps().push_back(app);
  // The program's own application object: its state is the process's.
  HMODULE program = GetModuleHandleA(nullptr);
  if (ModuleContainsAddress(program, state)) {
    AfxBindAppToModule(app, program);
    AfxSetProcessModuleState(state);
  }
}

CWinApp::~CWinApp() {
  auto& apps = Apps();
  apps.erase(std::remove(apps.begin(), apps.end(), this), apps.end());
  if (m_pModuleState) {
    if (m_pModuleState->m_pCurrentWinApp == this) {
      m_pModuleState->m_pCurrentWinApp = nullptr;
      m_pModuleState->m_lpszCurrentAppName = nullptr;
    }
    if (m_hInstance && m_hInstance == GetModuleHandleA(nullptr)) AfxSetProcessModuleState(nullptr);
  }
  delete[] m_pszAppName;
  delete[] m_pszExeName;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }
