// Dialog boxes: creation from dialog templates (resources of type RT_DIALOG
// in the form of dialog_template.h), the dialog manager's default procedure
// and keyboard interface, modal dialog boxes and the dialog item calls.
//
// A dialog is created hidden, with its controls (in template order, which
// is also their z-order and tab order), each given the dialog's font; then
// WM_INITDIALOG goes to the dialog (wParam: the first tab stop), and when
// the answer is nonzero that control gets the focus (an edit's text is
// selected). A template with WS_VISIBLE is shown then; modal dialogs show
// when their loop first waits for input.
#pragma once

#include <string>

#include "platform/win32/messages.h"
#include "platform/win32/window_styles.h"

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure, LPARAM param);
// tmpl points at a template in the resource form (dialog_template.h).
HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA tmpl, HWND owner, DLGPROC procedure,
                                LPARAM param);
inline HWND CreateDialogA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure) {
  return CreateDialogParamA(instance, templateName, owner, procedure, 0);
}
// Disables the owner, runs the modal loop (modal_loop.h) and returns what
// EndDialog was given; -1 when the template is missing or creation fails.
INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure, LPARAM param);
INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA tmpl, HWND owner, DLGPROC procedure,
                                LPARAM param);
// Ends a modal dialog's loop with the result (the dialog is destroyed by
// whoever runs the loop); a modeless dialog is only hidden.
BOOL EndDialog(HWND dialog, INT_PTR result);
LRESULT DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog manager's keyboard interface, for messages of the dialog or
// its descendants: Tab / Shift+Tab move between tab stops, arrows within a
// group, Enter sends WM_COMMAND with the focused push button or the default
// button (DM_GETDEFID; IDOK when there is none), Escape sends IDCANCEL. A
// control asks for keys through WM_GETDLGCODE. Every message of the dialog
// is translated and dispatched here (TRUE); FALSE for other windows'.
BOOL IsDialogMessageA(HWND dialog, MSG* msg);

HWND GetDlgItem(HWND dialog, int id);
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// Leading blanks skipped, an optional '-' when signed, decimal digits up to
// the end; *translated FALSE (result 0) for anything else or an overflow.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
// The next (previous) visible, enabled WS_TABSTOP control after `control`,
// wrapping around; the first (last) one for a null control.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// The same within the control's group (from a WS_GROUP control to the next).
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
// Dialog units to pixels (headless_metrics.h).
BOOL MapDialogRect(HWND dialog, RECT* rect);
LONG GetDialogBaseUnits();

inline BOOL IsDialogMessage(HWND dialog, MSG* msg) { return IsDialogMessageA(dialog, msg); }
inline LRESULT DefDlgProc(HWND d, UINT m, WPARAM wp, LPARAM lp) { return DefDlgProcA(d, m, wp, lp); }
inline BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) { return SetDlgItemTextA(dialog, id, text); }
inline UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int size) {
  return GetDlgItemTextA(dialog, id, buffer, size);
}
inline LRESULT SendDlgItemMessage(HWND d, int id, UINT m, WPARAM wp, LPARAM lp) {
  return SendDlgItemMessageA(d, id, m, wp, lp);
}

// The template a dialog window was made from: its number, or -1 for a
// named or in-memory template (then name holds the name, if any). False for
// a window that is no dialog.
bool GetDialogTemplateOf(HWND dialog, int* templateId, std::string* name);
// Whether EndDialog was called for the dialog, and with what.
bool IsDialogEnded(HWND dialog, INT_PTR* result);
