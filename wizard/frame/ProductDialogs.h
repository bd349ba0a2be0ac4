// The product dialogs as the product requests open them, answering from
// the application object.
#pragma once

#include "wizard/frame/DialogSeams.h"

// CPPDlg constructed, given the request's arguments and run modally: its
// DoModal result.
INT_PTR RunParametricDialog(const ParametricDialogArgs& args);

// CPP2Dlg the same way.
INT_PTR RunProducerDialog(const ProducerDialogArgs& args);

// Makes the application object the product dialogs' host (done by every
// run above; tests of the dialogs call it themselves).
void UseApplicationAsProductDialogHost();

// CDefParamDlg (view, viewOnly, parent) run modally: its DoModal result.
INT_PTR RunDefinitionEditor(unsigned view, bool viewOnly, HWND parent);
