// Moving a section dialog's values between its settings and its controls,
// by the key table of CutSettings.h: numbers and texts in combo boxes,
// check states in check boxes, the pipe switch in its two radio buttons.
#pragma once

#include "jov_vantrix/section/CutSettings.h"

class CWnd;

// Shows the values in the dialog's controls.
void ShowCutValues(CWnd& dialog, CutDialog which, const CutDialogValues& values);
// The values as the dialog's controls hold them.
CutDialogValues CollectCutValues(const CWnd& dialog, CutDialog which);
// Fills the combo boxes of the dialog's preset lists, in their order.
void LoadCutPresetLists(CWnd& dialog, CutDialog which, const char* presetFile);
// The path of a settings file in the profile's data folder.
CString CutSettingsPath(const char* name);
