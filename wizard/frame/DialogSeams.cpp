#include "wizard/frame/DialogSeams.h"

#include "wizard/dialogs/DialogEntries.h"
#include "wizard/frame/ProductDialogs.h"

namespace {

constexpr WizardDialogSeams kDefaults = {
    &RunProducerDialog, &RunParametricDialog, &RunDimensionDialog,
    &RunMaskListDialog, &RunMaskPreset,       &RunDefinitionEditor,
};

}  // namespace

WizardDialogSeams& DialogSeams() {
  static WizardDialogSeams seams = kDefaults;
  return seams;
}

const WizardDialogSeams& DefaultDialogSeams() { return kDefaults; }
