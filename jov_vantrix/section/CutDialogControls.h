// Moving a section dialog's values between its settings and its controls,
// by the key table of CutSettings.h: numbers and texts in combo boxes,
// check states in check boxes, the pipe switch in its two radio buttons.
#pragma once

#include <initializer_list>

#include "jov_vantrix/section/CutSettings.h"
#include "platform/win32/messages.h"

class CComboBoxNew;
class CWnd;

// Shows the values in the dialog's controls.
void ShowCutValues(CWnd& dialog, CutDialog which, const CutDialogValues& values);
// The values as the dialog's controls hold them.
CutDialogValues CollectCutValues(const CWnd& dialog, CutDialog which);
// Fills the combo boxes of the dialog's preset lists, in their order.
void LoadCutPresetLists(CWnd& dialog, CutDialog which, const char* presetFile);
// The path of a settings file in the profile's data folder.
CString CutSettingsPath(const char* name);

// Enables or disables the dialog's controls of these ids.
void EnableCutControls(CWnd& dialog, std::initializer_list<UINT> ids, bool enable);
// Enter in one of the boxes (the box's private message) selects the box's
// whole text: true when the message was one of those and is done with.
bool SelectTextOnEnter(const MSG* msg, std::initializer_list<CComboBoxNew*> boxes);
// The section dialogs' help topic.
void ShowCutHelp(HWND dialog);
