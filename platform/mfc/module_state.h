// Per-module framework state: which application object, instance handle and
// resource handle a library's code sees. Every library that uses the
// framework has its own state object (AfxGetStaticModuleState, linked from
// the small static library `mfc_module` into each module with hidden
// visibility); entry points switch to it with AFX_MANAGE_STATE.
#pragma once

#include "platform/win32/win32_types.h"

class CWinApp;

// Marks what every module must have its own copy of.
#define JOV_MODULE_LOCAL __attribute__((visibility("hidden")))

struct AFX_MODULE_STATE {
  CWinApp* m_pCurrentWinApp;
  HINSTANCE m_hCurrentInstanceHandle;  // null until known; found on first use
  HINSTANCE m_hCurrentResourceHandle;  // null means the instance handle
  LPCSTR m_lpszCurrentAppName;
};

// This module's own state (each module links its own definition).
JOV_MODULE_LOCAL AFX_MODULE_STATE* AfxGetStaticModuleState();

// The state in effect on this thread: the last one switched to, else the
// process's (the program's application state, or a default one whose
// instance is the program).
AFX_MODULE_STATE* AfxGetModuleState();
// Makes `state` current on this thread (null: back to the process's) and
// returns what was current before, to be handed back later.
AFX_MODULE_STATE* AfxSetModuleState(AFX_MODULE_STATE* state);

// Switches the thread's module state for the life of the object; the
// previous state comes back on every way out, exceptions included.
class AFX_MAINTAIN_STATE2 {
 public:
  explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state) : previous_(AfxSetModuleState(state)) {}
  ~AFX_MAINTAIN_STATE2() { AfxSetModuleState(previous_); }
  AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
  AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

 private:
  AFX_MODULE_STATE* previous_;
};

#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _afxManagedModuleState(p)

// All of these read the current module state.
CWinApp* AfxGetApp();
LPCSTR AfxGetAppName();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resourceHandle);
// The module holding a resource: the resource handle, else the instance
// handle; the resource handle when neither holds it.
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);

// For the application object: the process's state when the program itself
// has one (null restores the default).
void AfxSetProcessModuleState(AFX_MODULE_STATE* state);
