#include "jov_vantrix/frame/ExportedCommands.h"

#include <string>

#include "common/SettingsWrite.h"
#include "common/SlabsAhead.h"
#include "common/CDravikFunc.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/CommandHost.h"
#include "jov_vantrix/frame/ExportCommand.h"
#include "jov_vantrix/frame/ImportCommand.h"
#include "jov_vantrix/frame/LineLength.h"
#include "jov_vantrix/network/CJov_ManagerDlg.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/frame/SectionCommand.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/section/CutSettings.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/resources.h"
#include "platform/mfc/module_state.h"

namespace {

// Whatever a command read, its records are gone by its end: their memory
// goes back to the system rather than waiting in the record pool for the
// next command. A command that reads a network has its slabs made from
// its start on.
struct RecordMemoryRelease {
  explicit RecordMemoryRelease(bool network = false) {
    if (network) PrepareSlabsAhead();
  }
  ~RecordMemoryRelease() { ReleaseRecordMemory(); }
  RecordMemoryRelease(const RecordMemoryRelease&) = delete;
  RecordMemoryRelease& operator=(const RecordMemoryRelease&) = delete;
};

// The binding steps of a drawing command, run in their fixed order: the
// by-name host table at the command's level, then the resource library and
// the product library when the command needs them. The table lives as long
// as the command; so do the slabs made ahead for a command that reads a
// network (all but the line length).
class CommandBinding {
 public:
  CommandBinding(int level, bool resources, bool wizard, bool network = true)
      : memory_(network), host_(HostPath().c_str(), TheApp().m_isLT, level) {
    bound_ = host_.Resolve() && (!resources || TheApp().LoadResourceDll()) &&
             (!wizard || TheApp().LoadWizardDll());
    if (bound_) SetCommandHost(&host_);
  }
  ~CommandBinding() { SetCommandHost(nullptr); }
  bool Bound() const { return bound_; }
  CDravikFunc& Host() { return host_; }

 private:
  // The table keeps its own copy of the path.
  static std::string HostPath() {
    char path[MAX_PATH];
    TheApp().GetHostPath(path, MAX_PATH);
    return path;
  }
  RecordMemoryRelease memory_;  // after the table is let go
  CDravikFunc host_;
  bool bound_ = false;
};

}  // namespace

int Jov_Length(int unit) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  CommandBinding binding(6, false, false, false);
  if (!binding.Bound()) return -1;
  return CopyLineLengthToClipboard(binding.Host(), unit);
}

INT_PTR Jov_Vantrix_M(HWND parent) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  if (!TheApp().LoadResourceDll()) return -1;
  CJov_ManagerDlg dialog(CWnd::FromHandle(parent));
  return dialog.DoModal();
}

int Jov_CutDlg(int, void*) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  CommandBinding binding(9, true, true);
  if (!binding.Bound()) return -1;
  RunSectionCommand();
  return -1;
}

int Jov_Vantrix_Import(int, void*) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  CommandBinding binding(9, true, false);
  if (!binding.Bound()) return -1;
  CJov_VantrixApp& app = TheApp();
  char prompt[256] = "";
  LoadStringA(AfxGetResourceHandle(), IDS_PROMPT_SELECT_IMPORT, prompt, sizeof prompt);
  if (HostSelect(app.m_pHostTable, prompt, 2, 0, nullptr) != HOST_NORMAL ||
      HostSelect(app.m_pHostTable, prompt, 0, 4, nullptr) != HOST_NORMAL)
    return -1;
  char settings[MAX_PATH];
  app.GetDataPath(settings, "Jov.ini", MAX_PATH);
  JovCutParams params;
  ReadDescriptionMasks(settings, params);
  ImportCalculationResults(params);
  return -1;
}

int Jov_Vantrix_Export(int, void*) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  CommandBinding binding(9, true, true);
  if (!binding.Bound()) return -1;
  ExportNetwork();
  return -1;
}

int Exclude_From() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  RecordMemoryRelease memory;
  TheApp().LoadResourceDll();
  RunIncludeCommand(true);
  return 1;
}

int Include_In() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  RecordMemoryRelease memory;
  TheApp().LoadResourceDll();
  RunIncludeCommand(false);
  return 1;
}
