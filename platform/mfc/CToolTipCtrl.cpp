#include "platform/mfc/CToolTipCtrl.h"

#include "platform/mfc/module_state.h"
#include "platform/win32/resources.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {
const bool g_registered =
    (AfxRegisterTemporaryClass(TOOLTIPS_CLASSA, [] { return static_cast<CWnd*>(new CToolTipCtrl); }), true);
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
  (void)g_registered;
  return CreateEx(WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | style, 0, 0, 0,
                  0, AfxSafeHwnd(parent), nullptr);
}

void CToolTipCtrl::FillTool(TOOLINFOA& info, CWnd* window, LPCRECT rect, UINT_PTR id) const {
  info = {};
  info.cbSize = sizeof info;
  if (!rect && id == 0) {
    // The window itself is the tool: its parent hears about it.
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = window ? ::GetParent(window->m_hWnd) : nullptr;
    if (!info.hwnd) info.hwnd = AfxSafeHwnd(window);
    info.uId = reinterpret_cast<UINT_PTR>(AfxSafeHwnd(window));
  } else {
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = AfxSafeHwnd(window);
    info.uId = id;
    if (rect) info.rect = *rect;
  }
}

BOOL CToolTipCtrl::AddTool(CWnd* window, LPCSTR text, LPCRECT rect, UINT_PTR id) {
  TOOLINFOA info;
  FillTool(info, window, rect, id);
  info.lpszText = const_cast<LPSTR>(text);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CToolTipCtrl::AddTool(CWnd* window, UINT textId, LPCRECT rect, UINT_PTR id) {
  TOOLINFOA info;
  FillTool(info, window, rect, id);
  info.hinst = AfxGetResourceHandle();
  info.lpszText = MAKEINTRESOURCEA(textId);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::DelTool(CWnd* window, UINT_PTR id) {
  TOOLINFOA info;
  FillTool(info, window, nullptr, id);
  SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* window, UINT_PTR id) {
  TOOLINFOA info;
  FillTool(info, window, nullptr, id);
  info.lpszText = const_cast<LPSTR>(text);
  SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(UINT textId, CWnd* window, UINT_PTR id) {
  TOOLINFOA info;
  FillTool(info, window, nullptr, id);
  info.hinst = AfxGetResourceHandle();
  info.lpszText = MAKEINTRESOURCEA(textId);
  SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::GetText(CString& text, CWnd* window, UINT_PTR id) const {
  TOOLINFOA info;
  FillTool(info, window, nullptr, id);
  constexpr int kSize = 1024;
  info.lpszText = text.GetBuffer(kSize);
  info.lpszText[0] = '\0';  // an unknown tool leaves the buffer alone
  SendMessage(TTM_GETTEXTA, kSize + 1, reinterpret_cast<LPARAM>(&info));
  text.ReleaseBuffer();
}
