#include "wizard/frame/controls/CEditNew.h"

#include <string>

#include "common/ComboInputFilter.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/virtual_keys.h"
#include "wizard/frame/controls/EditInputFilter.h"

namespace {

constexpr unsigned kCtrlC = 3;
constexpr unsigned kCtrlV = 22;
constexpr unsigned kCtrlX = 24;

}  // namespace

BEGIN_MESSAGE_MAP(CEditNew, CEdit)
  ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CEditNew::CEditNew(uint32_t kind) : inputKind(kind) {}

CEditNew::~CEditNew() = default;

BOOL CEditNew::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN) {
    switch (msg->wParam) {
      case VK_TAB:
        if (!inPlace) break;
        msg->message = tabNext ? kEditTab : kEditEscape;
        return FALSE;
      case VK_RETURN:
        if (msg->hwnd != m_hWnd) break;
        msg->message = kEditEnter;
        return FALSE;
      case VK_ESCAPE:
        if (!inPlace) break;
        msg->message = kEditEscape;
        return FALSE;
      case VK_CONTROL: ctrlHeld = true; break;
      default: break;
    }
  } else if (msg->message == WM_KEYUP && msg->wParam == VK_CONTROL) {
    ctrlHeld = false;
  } else if (msg->message == WM_CHAR && msg->hwnd == m_hWnd) {
    const unsigned ch = static_cast<unsigned>(msg->wParam) & 0xFF;
    if (ctrlHeld && (ch == kCtrlC || ch == kCtrlV || ch == kCtrlX)) return CEdit::PreTranslateMessage(msg);
    int start = 0, end = 0;
    GetSel(start, end);
    std::string text;
    if (maxLength != -1 || inputKind == EditInput::kUnsignedDecimal || inputKind == EditInput::kSignedDecimal) {
      CString current;
      GetWindowText(current);
      text.assign(current, static_cast<size_t>(current.GetLength()));
    }
    unsigned accepted = ch;
    if (ComboTypingOverLimit(true, maxLength, static_cast<int>(text.size()), ch, start, end) ||
        !FilterEditChar(inputKind, ch, text, start, end, &accepted)) {
      MessageBeep(0xFFFFFFFF);
      return TRUE;
    }
    msg->wParam = accepted;
  }
  return CEdit::PreTranslateMessage(msg);
}

void CEditNew::OnKillFocus(CWnd* newWindow) {
  CEdit::OnKillFocus(newWindow);
  if (!inPlace || !m_hWnd) return;
  CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  if (!parent) return;
  MSG msg{};
  msg.hwnd = m_hWnd;
  msg.message = kEditFocusLost;
  msg.lParam = SendMessage(EM_GETMODIFY);
  ::GetCursorPos(&msg.pt);
  ::ScreenToClient(parent->m_hWnd, &msg.pt);
  parent->PreTranslateMessage(&msg);
}
