#include "wizard/frame/DialogSeams.h"

#include "platform/mfc/CDialog.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/ui_services.h"
#include "wizard/dialogs/DialogEntries.h"
#include "wizard/frame/ProductDialogs.h"

namespace {

INT_PTR RunTemplate(UINT templateId, HWND parent) {
  CDialog dialog(templateId, CWnd::FromHandle(parent));
  return dialog.DoModal();
}

INT_PTR OpenProducerDialog(const ProducerDialogArgs& args) { return RunTemplate(IDD_PP2, args.parent); }

INT_PTR OpenDefinitionEditor(unsigned, bool, HWND parent) { return RunTemplate(IDD_DEF_PARAM, parent); }

constexpr WizardDialogSeams kDefaults = {
    &OpenProducerDialog, &RunParametricDialog, &RunDimensionDialog,
    &RunMaskListDialog,  &RunMaskPreset,        &OpenDefinitionEditor,
};

}  // namespace

WizardDialogSeams& DialogSeams() {
  static WizardDialogSeams seams = kDefaults;
  return seams;
}

const WizardDialogSeams& DefaultDialogSeams() { return kDefaults; }
