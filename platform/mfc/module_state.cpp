#include "platform/mfc/module_state.h"

#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"

namespace {

// The state of code that switched to none: its instance is the program.
constinit AFX_MODULE_STATE g_defaultState{};
AFX_MODULE_STATE* g_processState = nullptr;
thread_local AFX_MODULE_STATE* t_currentState = nullptr;

AFX_MODULE_STATE* ProcessState() { return g_processState ? g_processState : &g_defaultState; }

}  // namespace

AFX_MODULE_STATE* AfxGetModuleState() { return t_currentState ? t_currentState : ProcessState(); }

AFX_MODULE_STATE* AfxSetModuleState(AFX_MODULE_STATE* state) {
  AFX_MODULE_STATE* previous = t_currentState;
  t_currentState = state;
  return previous;
}

void AfxSetProcessModuleState(AFX_MODULE_STATE* state) { g_processState = state; }

CWinApp* AfxGetApp() { return AfxGetModuleState()->m_pCurrentWinApp; }

LPCSTR AfxGetAppName() { return AfxGetModuleState()->m_lpszCurrentAppName; }

HINSTANCE AfxGetInstanceHandle() {
  AFX_MODULE_STATE* state = AfxGetModuleState();
  if (!state->m_hCurrentInstanceHandle)
    state->m_hCurrentInstanceHandle =
        state == &g_defaultState ? GetModuleHandleA(nullptr) : ModuleFromAddress(state);
  return state->m_hCurrentInstanceHandle;
}

HINSTANCE AfxGetResourceHandle() {
  AFX_MODULE_STATE* state = AfxGetModuleState();
  return state->m_hCurrentResourceHandle ? state->m_hCurrentResourceHandle : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE resourceHandle) {
  AfxGetModuleState()->m_hCurrentResourceHandle = resourceHandle;
}

HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type) {
  HINSTANCE resources = AfxGetResourceHandle();
  if (FindResourceA(resources, name, type)) return resources;
  HINSTANCE instance = AfxGetInstanceHandle();
  if (instance != resources && FindResourceA(instance, name, type)) return instance;
  return resources;
}
