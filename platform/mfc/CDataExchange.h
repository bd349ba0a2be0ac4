// Dialog data exchange: DoDataExchange lists pairs of a control and a
// member; UpdateData(FALSE) moves the members into the controls,
// UpdateData(TRUE) back (with validation: a value that does not parse or
// fails a DDV_ check shows a message box, puts the focus on the control and
// makes UpdateData return FALSE). Numbers use the C locale.
#pragma once

#include "platform/mfc/CString.h"
#include "platform/mfc/CWnd.h"

// Thrown when validation fails (after the user was told).
class CUserException {};
[[noreturn]] void AfxThrowUserException();

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate);

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  UINT m_idLastControl = 0;
  BOOL m_bEditLastControl = FALSE;

  // The control's window; a missing control is a fault of the program.
  HWND PrepareCtrl(int id);
  HWND PrepareEditCtrl(int id);
  // Validation failed: the focus goes to the last control, then
  // CUserException.
  [[noreturn]] void Fail();
};

// Takes the control over into the member (its message map and
// PreTranslateMessage then apply).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, long& value);
void DDX_Text(CDataExchange* dx, int id, short& value);
void DDX_Text(CDataExchange* dx, int id, BYTE& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Text(CDataExchange* dx, int id, float& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// The index of the checked radio button of the group starting at id (-1
// for none).
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_CBString(CDataExchange* dx, int id, CString& value);
void DDX_CBStringExact(CDataExchange* dx, int id, CString& value);
void DDX_LBIndex(CDataExchange* dx, int id, int& index);
void DDX_LBString(CDataExchange* dx, int id, CString& value);
void DDX_LBStringExact(CDataExchange* dx, int id, CString& value);
void DDX_Slider(CDataExchange* dx, int id, int& value);

// Checks made when saving; loading, DDV_MaxChars limits the last edit.
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);
void DDV_MinMaxInt(CDataExchange* dx, int value, int minimum, int maximum);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minimum, UINT maximum);
void DDV_MinMaxLong(CDataExchange* dx, long value, long minimum, long maximum);
void DDV_MinMaxDouble(CDataExchange* dx, const double& value, double minimum, double maximum);

// Sets a window's text only when it differs (no change notifications for
// an unchanged text).
void AfxSetWindowText(HWND window, LPCSTR text);
