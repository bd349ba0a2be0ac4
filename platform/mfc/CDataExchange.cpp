#include "platform/mfc/CDataExchange.h"

#include <locale.h>

#include <cerrno>
#include <cmath>
#include <cfloat>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/mfc/AfxMessageBox.h"
#include "platform/win32/code_page.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/ui_services.h"

namespace {

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

CString TextOf(HWND window) {
  CString text;
  const int length = ::GetWindowTextLengthA(window);
  ::GetWindowTextA(window, text.GetBufferSetLength(length), length + 1);
  text.ReleaseBuffer();
  return text;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// An integer the way the dialogs read them: blanks around, one number,
// nothing else; in the range of the member.
bool ParseInteger(const char* text, bool isSigned, long long low, long long high, long long* out) {
  while (IsBlank(*text)) ++text;
  const char first = *text;
  if (!isSigned && first == '-') return false;
  char* end = nullptr;
  errno = 0;
  long long v = isSigned ? std::strtoll(text, &end, 10) : static_cast<long long>(std::strtoull(text, &end, 10));
  if (end == text || errno == ERANGE) return false;
  if (v == 0 && first != '0' && !(first == '+' || first == '-')) return false;
  while (IsBlank(*end)) ++end;
  if (*end) return false;
  if (v < low || v > high) return false;
  *out = v;
  return true;
}

bool ParseReal(const char* text, double* out) {
  while (IsBlank(*text)) ++text;
  char* end = nullptr;
  const double v = strtod_l(text, &end, CLocale());
  // "inf", "nan" and overflowing numbers are no values for a dialog.
  if (end == text || !std::isfinite(v)) return false;
  while (IsBlank(*end)) ++end;
  if (*end) return false;
  *out = v;
  return true;
}

void Refuse(CDataExchange* dx, const char* message) {
  AfxMessageBox(message, MB_ICONEXCLAMATION);
  dx->Fail();
}

template <class T>
void Integer(CDataExchange* dx, int id, T& value, bool isSigned, long long low, long long high,
             const char* format) {
  HWND control = dx->PrepareEditCtrl(id);
  if (dx->m_bSaveAndValidate) {
    long long v = 0;
    if (!ParseInteger(TextOf(control), isSigned, low, high, &v))
      Refuse(dx, isSigned ? "Please enter an integer." : "Please enter a positive integer.");
    value = static_cast<T>(v);
  } else {
    CString text;
    if (isSigned)
      text.Format(format, static_cast<long long>(value));
    else
      text.Format(format, static_cast<unsigned long long>(value));
    AfxSetWindowText(control, text);
  }
}

template <class T>
void Real(CDataExchange* dx, int id, T& value, int digits) {
  HWND control = dx->PrepareEditCtrl(id);
  if (dx->m_bSaveAndValidate) {
    double v = 0;
    if (!ParseReal(TextOf(control), &v)) Refuse(dx, "Please enter a number.");
    value = static_cast<T>(v);
  } else {
    CString text;
    text.Format("%.*g", digits, static_cast<double>(value));
    AfxSetWindowText(control, text);
  }
}

bool IsClass(HWND window, const char* name) {
  char cls[64] = "";
  ::GetClassNameA(window, cls, sizeof cls);
  return _mbsicmp(cls, name) == 0;
}

}  // namespace

void AfxThrowUserException() { throw CUserException(); }

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int id) {
  HWND control = ::GetDlgItem(AfxSafeHwnd(m_pDlgWnd), id);
  if (!control) throw std::logic_error("the dialog has no control " + std::to_string(id));
  m_idLastControl = static_cast<UINT>(id);
  m_bEditLastControl = FALSE;
  return control;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
  HWND control = PrepareCtrl(id);
  m_bEditLastControl = TRUE;
  return control;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_idLastControl) {
    HWND control = ::GetDlgItem(AfxSafeHwnd(m_pDlgWnd), static_cast<int>(m_idLastControl));
    if (control) {
      ::SetFocus(control);
      if (m_bEditLastControl) ::SendMessageA(control, EM_SETSEL, 0, -1);
    }
  }
  AfxThrowUserException();
}

void AfxSetWindowText(HWND window, LPCSTR text) {
  if (TextOf(window) != (text ? text : "")) ::SetWindowTextA(window, text);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd) return;
  HWND window = dx->PrepareCtrl(id);
  if (!control.SubclassWindow(window))
    throw std::logic_error("control " + std::to_string(id) + " already belongs to another framework window");
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  HWND control = dx->PrepareEditCtrl(id);
  if (dx->m_bSaveAndValidate)
    value = TextOf(control);
  else
    AfxSetWindowText(control, value);
}

void DDX_Text(CDataExchange* dx, int id, int& value) { Integer(dx, id, value, true, INT32_MIN, INT32_MAX, "%lld"); }
void DDX_Text(CDataExchange* dx, int id, UINT& value) { Integer(dx, id, value, false, 0, UINT32_MAX, "%llu"); }
void DDX_Text(CDataExchange* dx, int id, long& value) { Integer(dx, id, value, true, INT32_MIN, INT32_MAX, "%lld"); }
void DDX_Text(CDataExchange* dx, int id, short& value) { Integer(dx, id, value, true, INT16_MIN, INT16_MAX, "%lld"); }
void DDX_Text(CDataExchange* dx, int id, BYTE& value) { Integer(dx, id, value, false, 0, UINT8_MAX, "%llu"); }
void DDX_Text(CDataExchange* dx, int id, double& value) { Real(dx, id, value, DBL_DIG); }
void DDX_Text(CDataExchange* dx, int id, float& value) { Real(dx, id, value, FLT_DIG); }

void DDX_Check(CDataExchange* dx, int id, int& value) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
  } else {
    if (value < 0 || value > 2) value = 0;
    ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate) value = -1;
  int index = 0;
  do {
    if (::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (dx->m_bSaveAndValidate) {
        if (::SendMessageA(control, BM_GETCHECK, 0, 0)) value = index;
      } else {
        ::SendMessageA(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ++index;
    }
    control = ::GetWindow(control, GW_HWNDNEXT);
  } while (control && !(::GetWindowLongA(control, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
  else
    ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* dx, int id, CString& value) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate) {
    value = TextOf(control);
  } else if (::SendMessageA(control, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(value.GetString())) == CB_ERR) {
    AfxSetWindowText(control, value);
  }
}

void DDX_CBStringExact(CDataExchange* dx, int id, CString& value) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate) {
    value = TextOf(control);
    return;
  }
  const LRESULT index =
      ::SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
  if (index == CB_ERR)
    AfxSetWindowText(control, value);
  else
    ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessageA(control, LB_GETCURSEL, 0, 0));
  else
    ::SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

namespace {
void ListBoxString(CDataExchange* dx, int id, CString& value, UINT find) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate) {
    const LRESULT index = ::SendMessageA(control, LB_GETCURSEL, 0, 0);
    value.Empty();
    if (index != LB_ERR) {
      const int length = static_cast<int>(::SendMessageA(control, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
      ::SendMessageA(control, LB_GETTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(value.GetBufferSetLength(length)));
      value.ReleaseBuffer();
    }
    return;
  }
  const LRESULT index =
      ::SendMessageA(control, find, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
  if (index != LB_ERR && find == LB_FINDSTRINGEXACT) ::SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
}  // namespace

void DDX_LBString(CDataExchange* dx, int id, CString& value) { ListBoxString(dx, id, value, LB_SELECTSTRING); }
void DDX_LBStringExact(CDataExchange* dx, int id, CString& value) {
  ListBoxString(dx, id, value, LB_FINDSTRINGEXACT);
}

void DDX_Slider(CDataExchange* dx, int id, int& value) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate)
    value = static_cast<int>(::SendMessageA(control, TBM_GETPOS, 0, 0));
  else
    ::SendMessageA(control, TBM_SETPOS, TRUE, value);
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars) {
  if (dx->m_bSaveAndValidate) {
    if (value.GetLength() > maxChars) {
      CString message;
      message.Format("Please enter no more than %d characters.", maxChars);
      Refuse(dx, message);
    }
    return;
  }
  if (!dx->m_idLastControl) return;
  HWND control = ::GetDlgItem(AfxSafeHwnd(dx->m_pDlgWnd), static_cast<int>(dx->m_idLastControl));
  if (IsClass(control, "ComboBox"))
    ::SendMessageA(control, CB_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
  else if (dx->m_bEditLastControl)
    ::SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minimum, int maximum) {
  if (!dx->m_bSaveAndValidate || (value >= minimum && value <= maximum)) return;
  CString message;
  message.Format("Please enter an integer between %d and %d.", minimum, maximum);
  Refuse(dx, message);
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minimum, UINT maximum) {
  if (!dx->m_bSaveAndValidate || (value >= minimum && value <= maximum)) return;
  CString message;
  message.Format("Please enter an integer between %u and %u.", minimum, maximum);
  Refuse(dx, message);
}

void DDV_MinMaxLong(CDataExchange* dx, long value, long minimum, long maximum) {
  if (!dx->m_bSaveAndValidate || (value >= minimum && value <= maximum)) return;
  CString message;
  message.Format("Please enter an integer between %ld and %ld.", minimum, maximum);
  Refuse(dx, message);
}

void DDV_MinMaxDouble(CDataExchange* dx, const double& value, double minimum, double maximum) {
  if (!dx->m_bSaveAndValidate || (value >= minimum && value <= maximum)) return;
  CString message;
  message.Format("Please enter a number between %.*g and %.*g.", DBL_DIG, minimum, DBL_DIG, maximum);
  Refuse(dx, message);
}
