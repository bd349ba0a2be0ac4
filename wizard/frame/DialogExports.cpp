// The exports that open the mask, dimension and definition dialogs.
#include "common/SettingsWrite.h"
#include "common/HostModule.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/resources.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/DialogSeams.h"
#include "wizard/frame/WizardExports.h"

namespace {

// What the mask and dimension exports answer without their resources.
constexpr int kNoResources = 2;

int OpenMaskList(unsigned kind, HWND parent) {
  if (!EnsureWizardResources()) return kNoResources;
  return static_cast<int>(DialogSeams().maskList(kind, parent));
}

// The mask list of a kind over the host's main window.
int OpenMaskListOverHost(unsigned kind) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  return OpenMaskList(kind, HostMainWindow(TheWizardApp().GetHostTable()));
}

int OpenMaskPreset(resbuf* entity, int useLetter, char kindLetter, HWND parent) {
  if (!EnsureWizardResources()) return -1;
  return DialogSeams().maskPreset(entity, useLetter, kindLetter, parent);
}

}  // namespace

int DimDlg(HWND parent, char kind) {
  // The electrical trade has no dimension table: done before anything else.
  if (kind == 'E') return 1;
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  if (!EnsureWizardResources()) return kNoResources;
  return static_cast<int>(DialogSeams().dimension(kind, parent));
}

int JOV_MASK(int kind) { return OpenMaskListOverHost(static_cast<unsigned>(kind)); }

int JOV_MASK_EDIT(HWND parent, unsigned kind) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  return OpenMaskList(kind, parent);
}

int JOV_MASK_E_PIPE() { return OpenMaskListOverHost('W'); }
int JOV_MASK_Z() { return OpenMaskListOverHost('Z'); }
int JOV_MASK_E() { return OpenMaskListOverHost('E'); }
int JOV_MASK_V() { return OpenMaskListOverHost('V'); }
int JOV_MASK_T() { return OpenMaskListOverHost('T'); }

int WizardDialog(HWND parent, jovDatabase::Database* db, unsigned view, bool viewOnly) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  if (!db) return -1;
  SetCurrentCatalogue(db);
  if (!EnsureWizardResources()) return -1;
  return static_cast<int>(DialogSeams().definitionEditor(view, viewOnly, parent));
}

int maskDefPreset(resbuf* entity, int useLetter, char kindLetter, HWND parent) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  return OpenMaskPreset(entity, useLetter, kindLetter, parent);
}

int maskDefPresetEntSel() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  if (!EnsureWizardResources()) return -1;
  char prompt[256] = "";
  LoadStringA(AfxGetResourceHandle(), IDS_PICK_MASK_ENTITY, prompt, sizeof prompt);
  // The host's table is fetched anew: the pick needs the host of this moment.
  HostExport2D* table = GetHostExportTable();
  if (HostSelect(table, prompt, 1, 0, nullptr) != HOST_NORMAL || HostSelect(table, "", 0, 3, nullptr) != HOST_NORMAL)
    return -1;
  return OpenMaskPreset(HostSelectionNext(table, true), 0, 0, nullptr);
}
