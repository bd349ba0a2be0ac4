// What the two section dialogs share: their values moved between the
// settings and the controls by the key table of CutSettings.h (numbers and
// texts in combo boxes, check states in check boxes, the pipe switch in its
// two radio buttons), and the small steps both take with their controls,
// help, texts and OK's question.
#pragma once

#include <initializer_list>

#include "jov_vantrix/section/CutSettings.h"
#include "platform/win32/messages.h"

class CComboBoxNew;
class CWnd;
class JovCutParams;
class JovCutParamsOld;

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
// The box's text joins its list when the box loses the focus.
void KeepTypedText(CComboBoxNew& box);
// A text of the plug-in's resources.
CString CutResourceText(UINT id);
// OK's question whether to shorten the pipe connections to the equal
// element length, when the block asks it: Yes shortens them; false when
// the user cancelled (the dialog stays open).
bool ConfirmShortening(JovCutParams& block, HWND owner);
bool ConfirmShortening(JovCutParamsOld& block, HWND owner);
