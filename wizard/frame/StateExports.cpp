// The exports that keep state for the next product request.
#include "platform/mfc/module_state.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/ProductDialogRequests.h"
#include "wizard/frame/WizardExports.h"

void setPPDisplayPP2OnlyWithValidProd() { SetOneShotFlag(); }

void PPFree() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  TheWizardApp().FreeResultChains();
}

void SetSlope(const char* slope) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  TheWizardApp().SetSlope(slope);
}

void SetPPMirror(unsigned flag) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  TheWizardApp().SetMirror(static_cast<int>(flag));
}

bool GetPPMirror() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return TheWizardApp().GetMirror() == 1;
}

void SetPPData(const char* first, const char* second, const char* third) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SetCallerTexts(first, second, third);
}

void SetPP2Date(const char* date) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  TheWizardApp().SetPP2Date(date);
}

void SetPPLastStoreExt(const char* extension) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SetLastValuesExtension(extension);
}
