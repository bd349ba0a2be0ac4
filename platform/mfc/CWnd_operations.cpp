// The framework window's calls on its window, and the default handlers of
// the message-map functions (they give the message to the window's own
// procedure).
#include "platform/mfc/CDC.h"
#include "platform/mfc/CGdiObject.h"
#include "platform/mfc/CMenu.h"
#include "platform/mfc/CWnd.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/menus.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/ui_services.h"

DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }

namespace {
BOOL Modify(HWND window, int index, DWORD remove, DWORD add, UINT flags) {
  const DWORD style = static_cast<DWORD>(::GetWindowLongA(window, index));
  const DWORD now = (style & ~remove) | add;
  if (now == style) return FALSE;
  ::SetWindowLongA(window, index, static_cast<LONG>(now));
  if (flags) ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
  return TRUE;
}
}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) { return Modify(m_hWnd, GWL_STYLE, remove, add, flags); }
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
  return Modify(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int id) { return static_cast<int>(::SetWindowLongPtrA(m_hWnd, GWLP_ID, id)); }

void CWnd::SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
int CWnd::GetWindowText(LPSTR buffer, int size) const { return ::GetWindowTextA(m_hWnd, buffer, size); }
void CWnd::GetWindowText(CString& text) const {
  const int length = ::GetWindowTextLengthA(m_hWnd);
  ::GetWindowTextA(m_hWnd, text.GetBufferSetLength(length), length + 1);
  text.ReleaseBuffer();
}
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }
BOOL CWnd::IsChild(const CWnd* window) const { return ::IsChild(m_hWnd, AfxSafeHwnd(window)); }
HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}
HICON CWnd::GetIcon(BOOL bigIcon) const {
  return reinterpret_cast<HICON>(SendMessage(WM_GETICON, bigIcon ? ICON_BIG : ICON_SMALL, 0));
}
void CWnd::SetFont(CFont* font, BOOL redraw) {
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}
CFont* CWnd::GetFont() const {
  return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0)));
}

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
void CWnd::GetDlgItem(int id, HWND* window) const { *window = ::GetDlgItem(m_hWnd, id); }
void CWnd::SetDlgItemText(int id, LPCSTR text) { ::SetDlgItemTextA(m_hWnd, id, text); }
int CWnd::GetDlgItemText(int id, LPSTR buffer, int size) const {
  return static_cast<int>(::GetDlgItemTextA(m_hWnd, id, buffer, size));
}
int CWnd::GetDlgItemText(int id, CString& text) const {
  text.Empty();
  HWND item = ::GetDlgItem(m_hWnd, id);
  if (!item) return 0;
  FromHandle(item)->GetWindowText(text);
  return text.GetLength();
}
void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
  return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
}
void CWnd::CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
UINT CWnd::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
void CWnd::CheckRadioButton(int firstId, int lastId, int checkId) {
  ::CheckRadioButton(m_hWnd, firstId, lastId, checkId);
}
int CWnd::GetCheckedRadioButton(int firstId, int lastId) {
  for (int id = firstId; id <= lastId; ++id)
    if (::IsDlgButtonChecked(m_hWnd, id)) return id;
  return 0;
}
LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
}
CWnd* CWnd::GetNextDlgTabItem(CWnd* control, BOOL previous) const {
  return FromHandle(::GetNextDlgTabItem(m_hWnd, AfxSafeHwnd(control), previous));
}
CWnd* CWnd::GetNextDlgGroupItem(CWnd* control, BOOL previous) const {
  return FromHandle(::GetNextDlgGroupItem(m_hWnd, AfxSafeHwnd(control), previous));
}
BOOL CWnd::IsDialogMessage(LPMSG msg) { return ::IsDialogMessageA(m_hWnd, msg); }

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}
void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}
BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, AfxSafeHwnd(insertAfter), x, y, cx, cy, flags);
}
void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
void CWnd::ClientToScreen(LPRECT rect) const {
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}
void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
void CWnd::ScreenToClient(LPRECT rect) const {
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}
void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const {
  ::MapWindowPoints(m_hWnd, AfxSafeHwnd(to), points, count);
}
void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const {
  ::MapWindowPoints(m_hWnd, AfxSafeHwnd(to), reinterpret_cast<LPPOINT>(rect), 2);
}
BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const { return ::GetWindowPlacement(m_hWnd, placement); }
BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement) { return ::SetWindowPlacement(m_hWnd, placement); }
void CWnd::CenterWindow(CWnd* alternateOwner) {
  RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  HWND center = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
  if (GetStyle() & WS_CHILD) {
    HWND parent = ::GetParent(m_hWnd);
    ::GetClientRect(parent, &area);
    if (center) {
      ::GetWindowRect(center, &area);
      ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&area), 2);
    }
  } else if (center) {
    ::GetWindowRect(center, &area);
  }
  RECT me;
  ::GetWindowRect(m_hWnd, &me);
  const int w = me.right - me.left, h = me.bottom - me.top;
  ::SetWindowPos(m_hWnd, nullptr, (area.left + area.right - w) / 2, (area.top + area.bottom - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, AfxSafeHwnd(parent))); }
CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
CWnd* CWnd::GetTopLevelParent() const { return FromHandle(::GetAncestor(m_hWnd, GA_ROOT)); }
CWnd* CWnd::GetWindow(UINT command) const { return FromHandle(::GetWindow(m_hWnd, command)); }
CWnd* CWnd::GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
CWnd* CWnd::GetNextWindow(UINT flag) const { return FromHandle(::GetWindow(m_hWnd, flag)); }
CWnd* CWnd::GetDescendantWindow(int id, BOOL onlyPermanent) const {
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::GetDlgCtrlID(child) == id) {
      CWnd* wnd = onlyPermanent ? FromHandlePermanent(child) : FromHandle(child);
      if (wnd) return wnd;
    }
    if (CWnd* deeper = FromHandle(child)->GetDescendantWindow(id, onlyPermanent)) return deeper;
  }
  return nullptr;
}
CWnd* CWnd::FindWindow(LPCSTR className, LPCSTR windowName) {
  return FromHandle(::FindWindowA(className, windowName));
}

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
CWnd* CWnd::GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageA(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostMessageA(m_hWnd, message, wParam, lParam);
}
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC procedure) {
  return ::SetTimer(m_hWnd, id, elapse, procedure);
}
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
BOOL CWnd::GetUpdateRect(LPRECT rect, BOOL erase) { return ::GetUpdateRect(m_hWnd, rect, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT rect, void*, UINT flags) { return ::RedrawWindow(m_hWnd, rect, nullptr, flags); }
CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* dc) {
  if (!dc) return 0;
  HDC handle = dc->m_hDC;
  CDC::DeleteTemporary(handle);
  return ::ReleaseDC(m_hWnd, handle);
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr); }
void CWnd::DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
  return ::MessageBoxA(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

// Default handlers: the message as it came, to the window's procedure.
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd* window, UINT) {
  // A framework control may choose its own colours (ON_WM_CTLCOLOR_REFLECT).
  const MSG* m = GetCurrentMessage();
  LRESULT brush = 0;
  if (window && ReflectMessage(window->m_hWnd, m->message, m->wParam, m->lParam, &brush))
    return reinterpret_cast<HBRUSH>(brush);
  return reinterpret_cast<HBRUSH>(Default());
}
void CWnd::OnDestroy() { Default(); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT item) {
  // Owner-drawn controls of the framework draw themselves.
  if (item && ReflectMessage(item->hwndItem, WM_DRAWITEM, GetCurrentMessage()->wParam,
                             reinterpret_cast<LPARAM>(item), nullptr))
    return;
  Default();
}
void CWnd::OnEnable(BOOL) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
BOOL CWnd::OnHelpInfo(HELPINFO*) { return static_cast<BOOL>(Default()); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnMove(int, int) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnSizing(UINT, LPRECT) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }

void CWnd::OnNcDestroy() {
  HWND window = m_hWnd;
  // The window's own procedure sees the message, then gets its window back.
  Default();
  if (m_pfnSuper && reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)) == &AfxWndProc)
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  Detach();
  PostNcDestroy();
}
