// The plug-in's application object: which host edition it runs in, where
// its companion files and the user's profile are, the host's export table,
// the resource library and the product library.
#pragma once

#include "common/CResourceQmr.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/WizardExports.h"
#include "platform/mfc/CWinApp.h"

namespace jovDatabase {
class Database;
}

class CJov_VantrixApp : public CWinApp {
 public:
  CJov_VantrixApp();
  ~CJov_VantrixApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  // Module folder, LT edition and profile folder; false when the host or
  // this library cannot be located or the host gives no profile folder.
  bool InitPaths();

  void GetModulePath(char* out, const char* name, size_t size) const;
  // Profile folder + "Dat\" + name; with a null name only the profile folder.
  void GetDataPath(char* out, const char* name, size_t size) const;
  void GetHostPath(char* out, size_t size) const;
  // The host's catalogue for one trade; null when it has none.
  jovDatabase::Database* GetDatabase(char tradeLetter) const;

  // Loads "Jov_Vantrix.qmr" once; a failed load is retried by the next call.
  bool LoadResourceDll();
  // Loads the product library (counted anew on every call) and fetches its
  // two entry points.
  bool LoadWizardDll();

  HMODULE m_hResourceModule = nullptr;
  bool m_isLT = false;
  HICON m_hIcon = nullptr;
  HostExport2D* m_pHostTable = nullptr;
  PPGetResbufExFn m_pPPGetResbufEx = nullptr;
  PPFreeFn m_pPPFree = nullptr;
  char m_moduleFolder[MAX_PATH] = "";
  char m_profileFolder[MAX_PATH] = "";
  CResourceQmr* m_pResources = nullptr;
  HMODULE m_hWizard = nullptr;
};

// The one application object of the plug-in.
CJov_VantrixApp& TheApp();

// Loads a library; a bare name is looked for beside the host executable.
HMODULE LoadModuleNearHost(const char* name);

// Size the open-file dialogs give their file-name structure.
void GetOpenFileNameStructSize(void* ignored, DWORD* out);
