// Message maps: each framework class lists the messages it handles with
// the macros below between BEGIN_MESSAGE_MAP and END_MESSAGE_MAP; a
// message goes to the first matching entry of the object's class, then of
// its base classes. Handlers are named as &Class::Member and checked for
// their signature when the map is compiled.
//
// Keys: window messages by number (ON_WM_*, ON_MESSAGE), control
// notifications by code and control id (ON_BN_CLICKED, ON_NOTIFY ...), and
// notifications the parent reflects back to the control that sent them
// (ON_CONTROL_REFLECT, ON_NOTIFY_REFLECT: the parent does not see those).
#pragma once

#include "platform/mfc/CPoint.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/messages.h"
#include "platform/win32/window_styles.h"

class CCmdTarget;
class CWnd;
class CDC;
class CScrollBar;

constexpr UINT WM_REFLECT_BASE = 0xBC00;
constexpr UINT WM_CTLCOLOR = 0x0019;  // stands for every WM_CTLCOLOR* message in a map
constexpr int CN_COMMAND = 0;
constexpr UINT CTLCOLOR_MSGBOX = 0;
constexpr UINT CTLCOLOR_EDIT = 1;
constexpr UINT CTLCOLOR_LISTBOX = 2;
constexpr UINT CTLCOLOR_BTN = 3;
constexpr UINT CTLCOLOR_DLG = 4;
constexpr UINT CTLCOLOR_SCROLLBAR = 5;
constexpr UINT CTLCOLOR_STATIC = 6;

// What command handlers of notifications receive through OnCmdMsg.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};
struct AFX_CMDHANDLERINFO;

// A message as a map entry's handler receives it.
struct AFX_MSGCALL {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  UINT controlId;   // commands and notifications: the control id
  NMHDR* notify;    // notifications
  LRESULT* result;  // notifications
};
using AFX_THUNK = LRESULT (*)(CCmdTarget* target, AFX_MSGCALL& call);

enum AfxSig : UINT_PTR {
  AfxSig_end = 0,
  AfxSig_wnd,       // a window message; the handler gives the result
  AfxSig_cmd,       // a command or control notification; handled
  AfxSig_cmdex,     // the same; the handler says whether it handled it
  AfxSig_notify,    // a WM_NOTIFY notification; handled
  AfxSig_notifyex,  // the same; the handler says whether it handled it
};

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // window message, WM_COMMAND, WM_NOTIFY or WM_REFLECT_BASE + one of them
  UINT nCode;     // notification code
  UINT nID;       // first control id
  UINT nLastID;   // last control id
  UINT_PTR nSig;
  AFX_THUNK pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define afx_msg

#define DECLARE_MESSAGE_MAP()                  \
 protected:                                    \
  static const AFX_MSGMAP* GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                  \
    using ThisClass = theClass;                                                      \
    using TheBaseClass = baseClass;                                                  \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                     \
  {0, 0, 0, 0, AfxSig_end, nullptr}};                                                        \
  static_assert(sizeof(ThisClass) > 0);                                                       \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                         \
  }

#define AFX_SELF_ static_cast<ThisClass*>(t_)
#define AFX_THUNK_(body) [](CCmdTarget* t_, AFX_MSGCALL& c_) -> LRESULT { (void)c_; body }
#define AFX_WND_(message, body) {message, 0, 0, 0, AfxSig_wnd, AFX_THUNK_(body)},

// ---- Window messages --------------------------------------------------
#define ON_MESSAGE(message, memberFxn) \
  AFX_WND_(message, return (AFX_SELF_->*(memberFxn))(c_.wParam, c_.lParam);)
#define ON_WM_CREATE() \
  AFX_WND_(WM_CREATE, return AFX_SELF_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(c_.lParam));)
#define ON_WM_DESTROY() AFX_WND_(WM_DESTROY, AFX_SELF_->OnDestroy(); return 0;)
#define ON_WM_NCDESTROY() AFX_WND_(WM_NCDESTROY, AFX_SELF_->OnNcDestroy(); return 0;)
#define ON_WM_CLOSE() AFX_WND_(WM_CLOSE, AFX_SELF_->OnClose(); return 0;)
#define ON_WM_PAINT() AFX_WND_(WM_PAINT, AFX_SELF_->OnPaint(); return 0;)
#define ON_WM_CANCELMODE() AFX_WND_(WM_CANCELMODE, AFX_SELF_->OnCancelMode(); return 0;)
#define ON_WM_SIZE()                                                                                         \
  AFX_WND_(WM_SIZE, AFX_SELF_->OnSize(static_cast<UINT>(c_.wParam), LOWORD(c_.lParam), HIWORD(c_.lParam)); \
           return 0;)
#define ON_WM_MOVE() \
  AFX_WND_(WM_MOVE, AFX_SELF_->OnMove(GET_X_LPARAM(c_.lParam), GET_Y_LPARAM(c_.lParam)); return 0;)
#define ON_WM_SIZING() \
  AFX_WND_(WM_SIZING, AFX_SELF_->OnSizing(static_cast<UINT>(c_.wParam), reinterpret_cast<LPRECT>(c_.lParam)); return TRUE;)
#define ON_WM_GETMINMAXINFO() \
  AFX_WND_(WM_GETMINMAXINFO, AFX_SELF_->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(c_.lParam)); return 0;)
#define ON_WM_WINDOWPOSCHANGING() \
  AFX_WND_(WM_WINDOWPOSCHANGING, AFX_SELF_->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(c_.lParam)); return 0;)
#define ON_WM_WINDOWPOSCHANGED() \
  AFX_WND_(WM_WINDOWPOSCHANGED, AFX_SELF_->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(c_.lParam)); return 0;)
#define ON_WM_TIMER() AFX_WND_(WM_TIMER, AFX_SELF_->OnTimer(static_cast<UINT_PTR>(c_.wParam)); return 0;)
#define ON_WM_SHOWWINDOW() \
  AFX_WND_(WM_SHOWWINDOW, AFX_SELF_->OnShowWindow(static_cast<BOOL>(c_.wParam), static_cast<UINT>(c_.lParam)); return 0;)
#define ON_WM_ENABLE() AFX_WND_(WM_ENABLE, AFX_SELF_->OnEnable(static_cast<BOOL>(c_.wParam)); return 0;)
#define ON_WM_ACTIVATE()                                                                                       \
  AFX_WND_(WM_ACTIVATE, AFX_SELF_->OnActivate(LOWORD(c_.wParam), CWnd::FromHandle(reinterpret_cast<HWND>(c_.lParam)), \
                                              HIWORD(c_.wParam));                                              \
           return 0;)
#define ON_WM_SETFOCUS() \
  AFX_WND_(WM_SETFOCUS, AFX_SELF_->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam))); return 0;)
#define ON_WM_KILLFOCUS() \
  AFX_WND_(WM_KILLFOCUS, AFX_SELF_->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam))); return 0;)
#define ON_WM_CAPTURECHANGED() \
  AFX_WND_(WM_CAPTURECHANGED, AFX_SELF_->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(c_.lParam))); return 0;)
#define AFX_KEY_(message, fn)                                                                                        \
  AFX_WND_(message, AFX_SELF_->fn(static_cast<UINT>(c_.wParam), LOWORD(c_.lParam), HIWORD(c_.lParam)); return 0;)
#define ON_WM_CHAR() AFX_KEY_(WM_CHAR, OnChar)
#define ON_WM_KEYDOWN() AFX_KEY_(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY_(WM_KEYUP, OnKeyUp)
#define ON_WM_SYSKEYDOWN() AFX_KEY_(WM_SYSKEYDOWN, OnSysKeyDown)
#define AFX_MOUSE_(message, fn)                                                                                     \
  AFX_WND_(message, AFX_SELF_->fn(static_cast<UINT>(c_.wParam), CPoint(GET_X_LPARAM(c_.lParam), GET_Y_LPARAM(c_.lParam))); \
           return 0;)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE_(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE_(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE_(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MOUSEWHEEL()                                                                              \
  AFX_WND_(WM_MOUSEWHEEL, return AFX_SELF_->OnMouseWheel(LOWORD(c_.wParam), static_cast<short>(HIWORD(c_.wParam)), \
                                                         CPoint(GET_X_LPARAM(c_.lParam), GET_Y_LPARAM(c_.lParam)));)
#define AFX_SCROLL_(message, fn)                                                                            \
  AFX_WND_(message, AFX_SELF_->fn(LOWORD(c_.wParam), HIWORD(c_.wParam),                                    \
                                  reinterpret_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(c_.lParam)))); \
           return 0;)
#define ON_WM_HSCROLL() AFX_SCROLL_(WM_HSCROLL, OnHScroll)
#define ON_WM_VSCROLL() AFX_SCROLL_(WM_VSCROLL, OnVScroll)
#define ON_WM_CONTEXTMENU()                                                                             \
  AFX_WND_(WM_CONTEXTMENU, AFX_SELF_->OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam)), \
                                                    CPoint(GET_X_LPARAM(c_.lParam), GET_Y_LPARAM(c_.lParam))); \
           return 0;)
#define ON_WM_INITMENUPOPUP()                                                                          \
  AFX_WND_(WM_INITMENUPOPUP, AFX_SELF_->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(c_.wParam)), \
                                                        LOWORD(c_.lParam), HIWORD(c_.lParam));             \
           return 0;)
#define ON_WM_SETCURSOR()                                                                                       \
  AFX_WND_(WM_SETCURSOR, return AFX_SELF_->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam)),     \
                                                       static_cast<short>(LOWORD(c_.lParam)), HIWORD(c_.lParam));)
#define ON_WM_HELPINFO() \
  AFX_WND_(WM_HELP, return AFX_SELF_->OnHelpInfo(reinterpret_cast<HELPINFO*>(c_.lParam));)
#define ON_WM_SYSCOMMAND() \
  AFX_WND_(WM_SYSCOMMAND, AFX_SELF_->OnSysCommand(static_cast<UINT>(c_.wParam), c_.lParam); return 0;)
#define ON_WM_GETDLGCODE() AFX_WND_(WM_GETDLGCODE, return AFX_SELF_->OnGetDlgCode();)
#define ON_WM_NCHITTEST() \
  AFX_WND_(WM_NCHITTEST, return AFX_SELF_->OnNcHitTest(CPoint(GET_X_LPARAM(c_.lParam), GET_Y_LPARAM(c_.lParam)));)
#define ON_WM_MOUSEACTIVATE()                                                                                 \
  AFX_WND_(WM_MOUSEACTIVATE, return AFX_SELF_->OnMouseActivate(CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam)), \
                                                               LOWORD(c_.lParam), HIWORD(c_.lParam));)
#define ON_WM_DRAWITEM()                                                                                \
  AFX_WND_(WM_DRAWITEM, AFX_SELF_->OnDrawItem(static_cast<int>(c_.wParam),                             \
                                              reinterpret_cast<LPDRAWITEMSTRUCT>(c_.lParam)); return TRUE;)
// Device contexts are lent to the handler for the length of the call.
#define ON_WM_ERASEBKGND()                                              \
  AFX_WND_(WM_ERASEBKGND, CDC dc_; dc_.Attach(reinterpret_cast<HDC>(c_.wParam)); \
           BOOL r_ = AFX_SELF_->OnEraseBkgnd(&dc_); dc_.Detach(); return r_;)
#define ON_WM_CTLCOLOR()                                                                                \
  AFX_WND_(WM_CTLCOLOR, CDC dc_; dc_.Attach(reinterpret_cast<HDC>(c_.wParam));                          \
           HBRUSH r_ = AFX_SELF_->OnCtlColor(&dc_, CWnd::FromHandle(reinterpret_cast<HWND>(c_.lParam)), c_.controlId); \
           dc_.Detach(); return reinterpret_cast<LRESULT>(r_);)
#define ON_WM_CTLCOLOR_REFLECT()                                                                  \
  AFX_WND_(WM_REFLECT_BASE + WM_CTLCOLOR, CDC dc_; dc_.Attach(reinterpret_cast<HDC>(c_.wParam)); \
           HBRUSH r_ = AFX_SELF_->CtlColor(&dc_, c_.controlId); dc_.Detach(); return reinterpret_cast<LRESULT>(r_);)

// ---- Commands and control notifications ---------------------------------
#define ON_COMMAND(id, memberFxn)                                                         \
  {WM_COMMAND, static_cast<UINT>(CN_COMMAND), static_cast<UINT>(id), static_cast<UINT>(id), AfxSig_cmd, \
   AFX_THUNK_((AFX_SELF_->*(memberFxn))(); return 0;)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                           \
  {WM_COMMAND, static_cast<UINT>(CN_COMMAND), static_cast<UINT>(id), static_cast<UINT>(idLast), AfxSig_cmd, \
   AFX_THUNK_((AFX_SELF_->*(memberFxn))(c_.controlId); return 0;)},
#define ON_CONTROL(code, id, memberFxn)                                                          \
  {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), AfxSig_cmd, \
   AFX_THUNK_((AFX_SELF_->*(memberFxn))(); return 0;)},
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                                                \
  {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), AfxSig_cmd, \
   AFX_THUNK_((AFX_SELF_->*(memberFxn))(c_.controlId); return 0;)},
#define ON_CONTROL_REFLECT(code, memberFxn) \
  {WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(code), 0, 0, AfxSig_cmd, AFX_THUNK_((AFX_SELF_->*(memberFxn))(); return 0;)},
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
  {WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(code), 0, 0, AfxSig_cmdex, AFX_THUNK_(return (AFX_SELF_->*(memberFxn))();)},
#define ON_NOTIFY(code, id, memberFxn)                                                             \
  {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), AfxSig_notify, \
   AFX_THUNK_((AFX_SELF_->*(memberFxn))(c_.notify, c_.result); return 0;)},
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                                                   \
  {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), AfxSig_notify, \
   AFX_THUNK_((AFX_SELF_->*(memberFxn))(c_.controlId, c_.notify, c_.result); return 0;)},
#define ON_NOTIFY_EX(code, id, memberFxn)                                                            \
  {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), AfxSig_notifyex, \
   AFX_THUNK_(return (AFX_SELF_->*(memberFxn))(c_.controlId, c_.notify, c_.result);)},
#define ON_NOTIFY_EX_RANGE(code, id, idLast, memberFxn)                                                 \
  {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), AfxSig_notifyex, \
   AFX_THUNK_(return (AFX_SELF_->*(memberFxn))(c_.controlId, c_.notify, c_.result);)},
#define ON_NOTIFY_REFLECT(code, memberFxn)                                        \
  {WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(code), 0, 0, AfxSig_notify, \
   AFX_THUNK_((AFX_SELF_->*(memberFxn))(c_.notify, c_.result); return 0;)},
#define ON_NOTIFY_REFLECT_EX(code, memberFxn)                                       \
  {WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(code), 0, 0, AfxSig_notifyex, \
   AFX_THUNK_(return (AFX_SELF_->*(memberFxn))(c_.notify, c_.result);)},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)
