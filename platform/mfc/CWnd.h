// The framework's window: a C++ object attached to an HWND of the window
// model. A window created through the framework (Create, CDialog) or taken
// over with SubclassWindow / DDX_Control is "permanent": its messages run
// through its message map (WindowProc -> OnWndMsg) before the window's own
// procedure (DefWindowProc). Any other window met through FromHandle gets a
// temporary object of the framework class of its window class (a "Button"
// a CButton, a "ComboBox" a CComboBox ...), kept until the window goes.
//
// Pre-translation: before a message is dispatched by a framework loop, it
// is offered to PreTranslateMessage of every permanent window from the
// message's window up through its parents (WalkPreTranslateTree); a
// dialog's answers the dialog manager's keys (IsDialogMessage).
//
// Pointers that may be null must not be asked for their handle through a
// member call: use AfxSafeHwnd(pWnd).
#pragma once

#include "platform/mfc/CCmdTarget.h"
#include "platform/mfc/CRect.h"
#include "platform/mfc/CString.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/gdi.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_styles.h"

class CDataExchange;
class CDC;
class CFont;
class CMenu;
class CScrollBar;

// Framework state bits of a window (m_nFlags).
constexpr UINT WF_CONTINUEMODAL = 0x0004;
constexpr UINT WF_MODALLOOP = 0x0008;

class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)

 public:
  CWnd();
  ~CWnd() override;

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  // Place holders for SetWindowPos's insert-after argument.
  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  static CWnd* FromHandle(HWND window);
  static CWnd* FromHandlePermanent(HWND window);
  BOOL Attach(HWND window);
  HWND Detach();
  BOOL SubclassWindow(HWND window);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                      void* context = nullptr);
  virtual BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                        int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, LPVOID param = nullptr);
  virtual BOOL DestroyWindow();

  // State.
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int id);
  void SetWindowText(LPCSTR text);
  int GetWindowText(LPSTR buffer, int size) const;
  void GetWindowText(CString& text) const;
  int GetWindowTextLength() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  BOOL IsWindowVisible() const;
  BOOL ShowWindow(int command);
  BOOL IsIconic() const;
  BOOL IsZoomed() const;
  BOOL IsChild(const CWnd* window) const;
  HICON SetIcon(HICON icon, BOOL bigIcon);
  HICON GetIcon(BOOL bigIcon) const;
  void SetFont(CFont* font, BOOL redraw = TRUE);
  CFont* GetFont() const;

  // Dialog items.
  CWnd* GetDlgItem(int id) const;
  void GetDlgItem(int id, HWND* window) const;
  void SetDlgItemText(int id, LPCSTR text);
  int GetDlgItemText(int id, LPSTR buffer, int size) const;
  int GetDlgItemText(int id, CString& text) const;
  void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
  UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  void CheckRadioButton(int firstId, int lastId, int checkId);
  int GetCheckedRadioButton(int firstId, int lastId);
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;
  CWnd* GetNextDlgGroupItem(CWnd* control, BOOL previous = FALSE) const;
  BOOL IsDialogMessage(LPMSG msg);

  // Position.
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  void GetWindowRect(LPRECT rect) const;
  void GetClientRect(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
  void MapWindowPoints(CWnd* to, LPRECT rect) const;
  BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);
  void CenterWindow(CWnd* alternateOwner = nullptr);
  void BringWindowToTop();

  // Relations.
  CWnd* GetParent() const;
  CWnd* SetParent(CWnd* parent);
  CWnd* GetOwner() const;
  CWnd* GetTopLevelParent() const;
  CWnd* GetWindow(UINT command) const;
  CWnd* GetTopWindow() const;
  CWnd* GetNextWindow(UINT flag = GW_HWNDNEXT) const;
  CWnd* GetDescendantWindow(int id, BOOL onlyPermanent = FALSE) const;
  static CWnd* FindWindow(LPCSTR className, LPCSTR windowName);

  // Focus and activation.
  CWnd* SetFocus();
  static CWnd* GetFocus();
  static CWnd* GetActiveWindow();
  CWnd* SetActiveWindow();
  BOOL SetForegroundWindow();
  static CWnd* GetForegroundWindow();
  CWnd* SetCapture();
  static CWnd* GetCapture();

  // Messages.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  static const MSG* GetCurrentMessage();
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC procedure);
  BOOL KillTimer(UINT_PTR id);

  // Painting.
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void ValidateRect(LPCRECT rect);
  BOOL GetUpdateRect(LPRECT rect, BOOL erase = FALSE);
  void UpdateWindow();
  BOOL RedrawWindow(LPCRECT rect = nullptr, void* region = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  CDC* GetDC();
  CDC* GetWindowDC();
  int ReleaseDC(CDC* dc);

  CMenu* GetMenu() const;
  BOOL SetMenu(CMenu* menu);
  void DrawMenuBar();

  // A message box owned by this window; a null caption is the
  // application's name.
  int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = 0);

  // Data exchange between the controls and the members (DoDataExchange);
  // FALSE when a value failed validation.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  virtual BOOL PreTranslateMessage(MSG* msg);
  // From the message's window up to (and including) stop; TRUE when a
  // permanent window's PreTranslateMessage took the message.
  static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

  // Modal loops of framework windows (modal_loop.h does the work).
  virtual int RunModalLoop(DWORD flags = 0);
  virtual BOOL ContinueModal();
  virtual void EndModalLoop(int result);

  UINT m_nFlags = 0;
  int m_nModalResult = 0;

 protected:
  friend LRESULT AfxWndProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
  friend class CDataExchange;

  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  // A notification this window sent, reflected back by its parent.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Offers a notification of the child window to the child's own map.
  static BOOL ReflectMessage(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual void PreSubclassWindow();
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual void PostNcDestroy();
  virtual void DoDataExchange(CDataExchange* dx);
  // The window's default handling of the message being handled now.
  LRESULT Default();
  BOOL PreTranslateInput(LPMSG msg);

  afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
  afx_msg void OnCancelMode();
  afx_msg void OnCaptureChanged(CWnd* window);
  afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnClose();
  afx_msg void OnContextMenu(CWnd* window, CPoint point);
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* window, UINT type);
  afx_msg void OnDestroy();
  afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
  afx_msg void OnEnable(BOOL enable);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg UINT OnGetDlgCode();
  afx_msg BOOL OnHelpInfo(HELPINFO* info);
  afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* bar);
  afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* bar);
  afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL systemMenu);
  afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnKeyUp(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnSysKeyDown(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnKillFocus(CWnd* newWindow);
  afx_msg void OnSetFocus(CWnd* oldWindow);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnMButtonDown(UINT flags, CPoint point);
  afx_msg void OnMButtonUp(UINT flags, CPoint point);
  afx_msg void OnRButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg void OnRButtonUp(UINT flags, CPoint point);
  afx_msg int OnMouseActivate(CWnd* top, UINT hitTest, UINT message);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
  afx_msg void OnMove(int x, int y);
  afx_msg void OnNcDestroy();
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnPaint();
  afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
  afx_msg void OnShowWindow(BOOL show, UINT status);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnSizing(UINT edge, LPRECT rect);
  afx_msg void OnSysCommand(UINT id, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnWindowPosChanged(WINDOWPOS* pos);
  afx_msg void OnWindowPosChanging(WINDOWPOS* pos);

  WNDPROC m_pfnSuper = nullptr;  // the window's procedure before the framework took it
  AFX_MODULE_STATE* m_pModuleState = nullptr;

  DECLARE_MESSAGE_MAP()

 private:
  CWnd(HWND placeholder, int);
};

inline HWND AfxSafeHwnd(const CWnd* window) { return window ? window->m_hWnd : nullptr; }

// The window procedure of permanent framework windows.
LRESULT AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT AfxCallWndProc(CWnd* wnd, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The next window created on this thread is attached to `wnd` (and its
// procedure taken over) before it gets its first message.
void AfxHookWindowCreate(CWnd* wnd);
BOOL AfxUnhookWindowCreate();
// A window class with the framework's default procedure, registered once
// per combination; the name stays valid.
LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                           HICON icon = nullptr);
BOOL AfxRegisterClass(WNDCLASSA* windowClass);
// Framework windows of another window class than their own: temporary
// objects of this class stand for windows of that class.
void AfxRegisterTemporaryClass(const char* windowClass, CWnd* (*create)());
CWnd* AfxGetMainWnd();
// The framework's pre-translation of a queued message (the walk from its
// window up, then the main window).
BOOL AfxPreTranslateMessage(MSG* msg);
// Runs every queued message through the framework's pre-translation, as
// the host's message loop would for modeless framework windows; returns
// how many ran.
int AfxPumpPendingMessages();
// Drops the temporary device contexts and drawing objects lent to message
// handlers (done whenever a framework loop waits).
void AfxIdleCleanup();
