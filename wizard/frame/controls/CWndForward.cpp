#include "wizard/frame/controls/CWndForward.h"

#include <utility>

#include "platform/win32/virtual_keys.h"
#include "wizard/frame/controls/CListCtrlNew.h"

namespace {

// WS_POPUP | WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER
constexpr DWORD kPopupStyle = 0xC4800000;

}  // namespace

BEGIN_MESSAGE_MAP(CWndForward, CWnd)
  ON_WM_ACTIVATE()
END_MESSAGE_MAP()

CWndForward::~CWndForward() = default;

BOOL CWndForward::Create(CListCtrlNew* list, bool keepFlag) {
  flag = keepFlag ? 1 : 0;
  owner = list;
  LPCSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS | CS_BYTEALIGNCLIENT, nullptr, nullptr, nullptr);
  return CreateEx(0, windowClass, "", kPopupStyle, 0, 0, 0, 0, AfxSafeHwnd(list), nullptr);
}

void CWndForward::Attach(CListBox* listBox) {
  box = listBox;
  if (!box || !box->m_hWnd || !m_hWnd) return;
  CRect r;
  box->GetWindowRect(&r);
  SetWindowPos(nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER);
  box->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  box->SetParent(this);
}

void CWndForward::Close() {
  // Destroying the popup deactivates it, which closes it again: everything
  // is forgotten before anything goes.
  CListBox* listBox = std::exchange(box, nullptr);
  CListCtrlNew* list = std::exchange(owner, nullptr);
  if (listBox && listBox->m_hWnd) listBox->DestroyWindow();
  if (m_hWnd) DestroyWindow();
  if (list && list->m_hWnd) list->Invalidate(TRUE);
}

int CWndForward::EntryAt(const MSG& msg) const {
  if (!box || !box->m_hWnd) return -1;
  CPoint p = msg.pt;
  box->ScreenToClient(&p);
  BOOL outside = FALSE;
  const UINT entry = box->ItemFromPoint(p, outside);
  // A point off the entries (on the border or the scroll bar) is none.
  return outside || static_cast<int>(entry) >= box->GetCount() ? -1 : static_cast<int>(entry);
}

BOOL CWndForward::PreTranslateMessage(MSG* msg) {
  const bool mine = msg->hwnd == m_hWnd || (box && msg->hwnd == box->m_hWnd);
  if (!mine) return CWnd::PreTranslateMessage(msg);
  switch (msg->message) {
    case WM_KEYDOWN:
      if (msg->wParam != VK_RETURN && msg->wParam != VK_ESCAPE) break;
      Close();
      return TRUE;
    case WM_MOUSEMOVE: {
      if (!box || box->GetCount() == 0) break;
      const int entry = EntryAt(*msg);
      if (entry >= 0 && entry != box->GetCurSel()) {
        box->SetCaretIndex(entry);
        box->SetCurSel(entry);
      }
      break;
    }
    case WM_LBUTTONDOWN: {
      if (!box || box->GetCount() == 0) break;
      const int entry = EntryAt(*msg);
      if (entry >= 0 && owner) {
        MSG choice{};
        choice.hwnd = owner->m_hWnd;
        choice.message = kChoiceClicked;
        choice.lParam = entry;
        choice.time = msg->time;
        choice.pt = msg->pt;
        owner->PreTranslateMessage(&choice);
      }
      Close();
      return TRUE;
    }
    default: break;
  }
  return CWnd::PreTranslateMessage(msg);
}

void CWndForward::OnActivate(UINT state, CWnd* other, BOOL minimized) {
  CWnd::OnActivate(state, other, minimized);
  if (state == WA_INACTIVE && owner && box) Close();
}
