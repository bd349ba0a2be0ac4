// The application object of a framework library or program. A library's one
// static instance is found by the loader when the library is loaded:
// InitInstance then runs under the library's module state (FALSE refuses the
// load), and ExitInstance runs before its last reference is freed.
#pragma once

#include "platform/mfc/module_state.h"
#include "platform/win32/win32_types.h"

class CWinApp;
class CWnd;

// Ties a newly constructed application object to its module's state.
void AfxAttachApp(CWinApp* app, AFX_MODULE_STATE* state, LPCSTR appName);

class CWinApp {
 public:
  // Inline and module-local so that it reaches the constructing module's
  // own state. A null name becomes the module's file name without extension.
  JOV_MODULE_LOCAL explicit CWinApp(LPCSTR appName = nullptr) {
    AfxAttachApp(this, AfxGetStaticModuleState(), appName);
  }
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance();
  virtual int ExitInstance();

  AFX_MODULE_STATE* GetModuleState() const { return m_pModuleState; }

  LPCSTR m_pszAppName = nullptr;  // owned
  LPCSTR m_pszExeName = nullptr;  // owned; module file name without extension
  HINSTANCE m_hInstance = nullptr;
  CWnd* m_pMainWnd = nullptr;  // the application's main window, if it has one

 private:
  friend void AfxAttachApp(CWinApp*, AFX_MODULE_STATE*, LPCSTR);
  friend void AfxBindAppToModule(CWinApp*, HINSTANCE);
  AFX_MODULE_STATE* m_pModuleState = nullptr;
};
