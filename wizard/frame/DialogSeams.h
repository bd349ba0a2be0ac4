// Where the exports open the dialogs of the wizard: one function per dialog,
// given everything the dialog is constructed with and set up with before
// DoModal, answering its DoModal result. The defaults are the dialogs as
// built; tests put doubles in.
#pragma once

#include "dataformat/resbuf.h"
#include "platform/win32/win32_types.h"

// The producer dialog CPP2Dlg of an item whose status has bit 25.
struct ProducerDialogArgs {
  unsigned view;
  unsigned itemStatus;
  const char* productCode;  // preselects the producer
  const char* branch;
  const char* arg13;
  const char* typeName;     // preselects the type
  HWND parent;
  unsigned char* propertyFlags;
  unsigned flagCount;
  unsigned ownNumber;       // the product's connection point, 1-based
  unsigned otherIndex;      // the connected element's point, 0-based
  const char* otherPoints;  // the connected element's points text
  bool retry;
};

// The parametric dialog CPPDlg of an item whose status has bit 27.
struct ParametricDialogArgs {
  unsigned view;
  HWND parent;
  bool editorTest;
  bool backAllowed;
  unsigned char* propertyFlags;
  unsigned flagCount;
  unsigned lengthMode;
  unsigned ownNumber;
  unsigned otherIndex;
  const char* otherPoints;
  bool vantrixUse;
  const char* productCode;
  bool initialRecalc;
};

struct WizardDialogSeams {
  INT_PTR (*producer)(const ProducerDialogArgs& args);
  INT_PTR (*parametric)(const ParametricDialogArgs& args);
  // CDimDlg (kind, parent).
  INT_PTR (*dimension)(char kind, HWND parent);
  // CMaskDlg (kind, parent).
  INT_PTR (*maskList)(unsigned kind, HWND parent);
  // The mask editor with a definition proposed from an entity's data:
  // 1 when it ends with IDOK, 0 otherwise, -1 when the entity gives none.
  int (*maskPreset)(const resbuf* entity, int useLetter, char kindLetter, HWND parent);
  // CDefParamDlg (view, viewOnly, parent).
  INT_PTR (*definitionEditor)(unsigned view, bool viewOnly, HWND parent);
};

// The functions in use.
WizardDialogSeams& DialogSeams();
// The functions of the dialogs as built.
const WizardDialogSeams& DefaultDialogSeams();
