// The framework window: handle maps, the framework's window procedure and
// the routing of messages through the message maps.
#include "platform/mfc/CWnd.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>

#include "platform/mfc/CDC.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CWinApp.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/headless_input.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/modal_loop.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/window_model.h"

namespace {

struct Maps {
  std::unordered_map<HWND, CWnd*> permanent;
  std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
  std::map<std::string, CWnd* (*)()> temporaryClasses;  // upper-case window class names
  bool hooked = false;
};

Maps& M() {
  static Maps* maps = new Maps;
  return *maps;
}

thread_local CWnd* t_windowInit = nullptr;
thread_local MSG t_currentMessage{};

std::string Upper(const char* s) {
  std::string out;
  for (; s && *s; ++s) out += static_cast<char>(std::toupper(static_cast<unsigned char>(*s)));
  return out;
}

void OnWindowCreated(HWND window, const CREATESTRUCTA*) {
  CWnd* wnd = t_windowInit;
  if (!wnd) return;
  t_windowInit = nullptr;
  wnd->SubclassWindow(window);
}

void OnWindowDestroyed(HWND window) {
  Maps& m = M();
  auto p = m.permanent.find(window);
  if (p != m.permanent.end()) {
    // Attached without taking over the procedure: nothing told it.
    CWnd* wnd = p->second;
    m.permanent.erase(p);
    if (wnd->m_hWnd == window) wnd->m_hWnd = nullptr;
  }
  m.temporary.erase(window);
}

void InstallHooks() {
  Maps& m = M();
  if (m.hooked) return;
  m.hooked = true;
  winmodel::AddWindowHooks(OnWindowCreated, OnWindowDestroyed);
}

const bool g_hooks = (InstallHooks(), true);

}  // namespace

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP, 0);
const CWnd CWnd::wndBottom(HWND_BOTTOM, 0);
const CWnd CWnd::wndTopMost(HWND_TOPMOST, 0);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST, 0);

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_NCDESTROY()
  ON_WM_DRAWITEM()
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CWnd::CWnd() { (void)g_hooks; }

CWnd::CWnd(HWND placeholder, int) { m_hWnd = placeholder; }

CWnd::~CWnd() {
  // A window still attached goes with its object; it no longer reaches the
  // object while it is destroyed.
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
    HWND window = m_hWnd;
    UnsubclassWindow();
    ::DestroyWindow(window);
  }
}

void AfxRegisterTemporaryClass(const char* windowClass, CWnd* (*create)()) {
  M().temporaryClasses[Upper(windowClass)] = create;
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
  if (!window) return nullptr;
  Maps& m = M();
  auto it = m.permanent.find(window);
  return it == m.permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND window) {
  if (!window) return nullptr;
  if (CWnd* permanent = FromHandlePermanent(window)) return permanent;
  Maps& m = M();
  auto t = m.temporary.find(window);
  if (t != m.temporary.end()) return t->second.get();
  if (!::IsWindow(window)) return nullptr;
  char cls[256] = "";
  ::GetClassNameA(window, cls, sizeof cls);
  auto factory = m.temporaryClasses.find(Upper(cls));
  std::unique_ptr<CWnd> wnd(factory != m.temporaryClasses.end() ? factory->second() : new CWnd);
  wnd->m_hWnd = window;
  wnd->m_pModuleState = AfxGetModuleState();
  CWnd* raw = wnd.get();
  m.temporary[window] = std::move(wnd);
  return raw;
}

BOOL CWnd::Attach(HWND window) {
  if (!window || m_hWnd || FromHandlePermanent(window)) return FALSE;
  M().permanent[window] = this;
  m_hWnd = window;
  m_pModuleState = AfxGetModuleState();
  return TRUE;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  if (window) {
    auto& permanent = M().permanent;
    auto it = permanent.find(window);
    if (it != permanent.end() && it->second == this) permanent.erase(it);
  }
  m_hWnd = nullptr;
  return window;
}

BOOL CWnd::SubclassWindow(HWND window) {
  if (!Attach(window)) return FALSE;
  PreSubclassWindow();
  WNDPROC old = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (old != &AfxWndProc && !m_pfnSuper) m_pfnSuper = old;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  HWND control = ::GetDlgItem(AfxSafeHwnd(parent), static_cast<int>(id));
  return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (m_hWnd && m_pfnSuper &&
      reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == &AfxWndProc)
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

void AfxHookWindowCreate(CWnd* wnd) {
  InstallHooks();
  t_windowInit = wnd;
}

BOOL AfxUnhookWindowCreate() {
  const BOOL unused = t_windowInit != nullptr;
  t_windowInit = nullptr;
  return !unused;
}

namespace {
LRESULT AfxDefaultProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ::DefWindowProcA(w, m, wp, lp); }
}  // namespace

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  static auto* names = new std::set<std::string>;
  char name[128];
  std::snprintf(name, sizeof name, "Afx:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                static_cast<void*>(background), static_cast<void*>(icon));
  auto it = names->insert(name).first;
  WNDCLASSA wc{};
  if (!::GetClassInfoA(nullptr, name, &wc)) {
    wc.style = classStyle;
    wc.lpfnWndProc = AfxDefaultProc;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = it->c_str();
    ::RegisterClassA(&wc);
  }
  return it->c_str();
}

BOOL AfxRegisterClass(WNDCLASSA* windowClass) {
  WNDCLASSA existing{};
  if (windowClass && ::GetClassInfoA(windowClass->hInstance, windowClass->lpszClassName, &existing)) return TRUE;
  return ::RegisterClassA(windowClass) != 0;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
  return TRUE;
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id, void*) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, AfxSafeHwnd(parent), reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)));
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param) {
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, AfxSafeHwnd(parent), reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)),
                  param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
  CREATESTRUCT cs{param, AfxGetInstanceHandle(), idOrMenu, parent, height, width, y, x,
                  static_cast<LONG>(style), windowName, className, exStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND window = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  AfxUnhookWindowCreate();
  return window != nullptr;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  // The object may be gone afterwards (a temporary one, or one that
  // deletes itself in PostNcDestroy): nothing of it is touched.
  return ::DestroyWindow(m_hWnd);
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT AfxCallWndProc(CWnd* wnd, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AFX_MANAGE_STATE(wnd->m_pModuleState);
  const MSG previous = t_currentMessage;
  t_currentMessage = MSG{window, message, wParam, lParam, 0, {}};
  LRESULT result = wnd->WindowProc(message, wParam, lParam);
  t_currentMessage = previous;
  return result;
}

LRESULT AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandlePermanent(window);
  if (!wnd) return ::DefWindowProcA(window, message, wParam, lParam);
  return AfxCallWndProc(wnd, window, message, wParam, lParam);
}

const MSG* CWnd::GetCurrentMessage() {
  // Where and when, as the framework fills them in: the last message taken
  // from the queue.
  const DWORD pos = ::GetMessagePos();
  t_currentMessage.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  t_currentMessage.time = static_cast<DWORD>(::GetMessageTime());
  return &t_currentMessage;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& m = t_currentMessage;
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT r = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    r = 1;
  } else if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header || !header->hwndFrom || !OnNotify(wParam, lParam, &r)) return FALSE;
  } else {
    UINT key = message;
    UINT extra = 0;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
      key = WM_CTLCOLOR;
      extra = message - WM_CTLCOLORMSGBOX;
    } else if (message >= WM_REFLECT_BASE + WM_CTLCOLORMSGBOX && message <= WM_REFLECT_BASE + WM_CTLCOLORSTATIC) {
      key = WM_REFLECT_BASE + WM_CTLCOLOR;
      extra = message - WM_REFLECT_BASE - WM_CTLCOLORMSGBOX;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(key);
    if (!entry) return FALSE;
    AFX_MSGCALL call{message, wParam, lParam, extra, nullptr, nullptr};
    r = entry->pfn(this, call);
  }
  if (result) *result = r;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  int code = HIWORD(wParam);
  if (!control) {
    code = CN_COMMAND;
  } else {
    if (ReflectMessage(control, WM_COMMAND, wParam, lParam, nullptr)) return TRUE;
    if (id == 0) return FALSE;
  }
  return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  HWND control = header->hwndFrom;
  const UINT id = static_cast<WORD>(::GetDlgCtrlID(control));
  if (ReflectMessage(control, WM_NOTIFY, header->idFrom, lParam, result)) return TRUE;
  AFX_NOTIFY notify{result, header};
  return OnCmdMsg(id, static_cast<int>(MAKELONG(header->code, WM_NOTIFY)), &notify, nullptr);
}

BOOL CWnd::ReflectMessage(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  CWnd* wnd = FromHandlePermanent(child);
  if (!wnd) return FALSE;
  AFX_MANAGE_STATE(wnd->m_pModuleState);
  return wnd->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_COMMAND:
      if (CWnd::OnCmdMsg(0, static_cast<int>(MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND)), nullptr,
                         nullptr)) {
        if (result) *result = 1;
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      AFX_NOTIFY notify{result, header};
      return CWnd::OnCmdMsg(0, static_cast<int>(MAKELONG(header->code, WM_REFLECT_BASE + WM_NOTIFY)), &notify,
                            nullptr);
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_DRAWITEM:
      return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, result);
    default: return FALSE;
  }
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::PreTranslateInput(LPMSG msg) {
  if ((msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) &&
      (msg->message < WM_MOUSEFIRST || msg->message > WM_MOUSELAST))
    return FALSE;
  return IsDialogMessage(msg);
}

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
  for (HWND window = msg->hwnd; window; window = ::GetParent(window)) {
    if (CWnd* wnd = FromHandlePermanent(window)) {
      AFX_MANAGE_STATE(wnd->m_pModuleState);
      if (wnd->PreTranslateMessage(msg)) return TRUE;
    }
    if (window == stop) break;
  }
  return FALSE;
}

CWnd* AfxGetMainWnd() {
  CWinApp* app = AfxGetApp();
  return app ? app->m_pMainWnd : nullptr;
}

BOOL AfxPreTranslateMessage(MSG* msg) {
  CWnd* main = AfxGetMainWnd();
  if (CWnd::WalkPreTranslateTree(AfxSafeHwnd(main), msg)) return TRUE;
  if (main && msg->hwnd && ::GetAncestor(msg->hwnd, GA_ROOT) != main->m_hWnd) return main->PreTranslateMessage(msg);
  return FALSE;
}

int AfxPumpPendingMessages() {
  const int count = headless::PumpMessages([](MSG& msg) { return AfxPreTranslateMessage(&msg) != 0; });
  AfxIdleCleanup();
  return count;
}

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int result) {
  m_nModalResult = result;
  m_nFlags &= ~WF_CONTINUEMODAL;
}

int CWnd::RunModalLoop(DWORD) {
  m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
  ModalLoopHooks hooks;
  hooks.preTranslate = [](MSG& msg) { return AfxPreTranslateMessage(&msg) != 0; };
  HWND window = m_hWnd;
  // The object may be gone when its window is: everything goes by handle.
  hooks.keepRunning = [this, window] { return ::IsWindow(window) && ContinueModal(); };
  hooks.onIdle = [] { AfxIdleCleanup(); };
  hooks.forceEnd = [this, window] {
    if (::IsWindow(window)) EndModalLoop(IDCANCEL);
    ::EndDialog(window, IDCANCEL);
  };
  hooks.result = [this, window] { return ::IsWindow(window) ? static_cast<INT_PTR>(m_nModalResult) : -1; };
  ::RunModalLoop(window, hooks);
  if (::IsWindow(window)) m_nFlags &= ~WF_MODALLOOP;
  return m_nModalResult;
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const CUserException&) {
    return FALSE;
  }
  return TRUE;
}
