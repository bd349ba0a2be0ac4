#include "platform/mfc/CDialog.h"

#include "platform/win32/dialogs.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, &CDialog::OnOK)
  ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
  ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent) : m_pParentWnd(parent) {
  SetTemplateName(MAKEINTRESOURCEA(templateId));
}

CDialog::CDialog(LPCSTR templateName, CWnd* parent) : m_pParentWnd(parent) { SetTemplateName(templateName); }

CDialog::~CDialog() = default;

void CDialog::SetTemplateName(LPCSTR name) {
  if (!name || IS_INTRESOURCE(name)) {
    m_lpszTemplateName = name;
    if (name) m_nIDHelp = static_cast<UINT>(reinterpret_cast<uintptr_t>(name));
    return;
  }
  m_templateNameCopy = name;
  m_lpszTemplateName = m_templateNameCopy.c_str();
}

INT_PTR AfxDlgProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* dlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(dialog));
  return dlg ? dlg->OnInitDialog() : TRUE;
}

void CDialog::PreInitDialog() {}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
  PreInitDialog();
  // The dialog manager answers it through AfxDlgProc, which calls OnInitDialog.
  return Default();
}

BOOL CDialog::OnInitDialog() {
  if (!UpdateData(FALSE)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

HWND CDialog::PreModal() {
  HWND owner = AfxSafeHwnd(m_pParentWnd);
  if (!owner) owner = AfxSafeHwnd(AfxGetMainWnd());
  if (!owner) owner = ::GetActiveWindow();
  return owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
}

INT_PTR CDialog::DoModal() {
  HINSTANCE instance = AfxGetResourceHandle();
  if (!m_lpszTemplateName || !::FindResourceA(instance, m_lpszTemplateName, RT_DIALOG)) return -1;
  HWND owner = PreModal();
  bool enableOwner = false;
  if (owner && ::IsWindowEnabled(owner)) {
    ::EnableWindow(owner, FALSE);
    enableOwner = true;
  }
  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL;
  AfxHookWindowCreate(this);
  HWND dialog = ::CreateDialogParamA(instance, m_lpszTemplateName, owner, AfxDlgProc, 0);
  AfxUnhookWindowCreate();
  if (dialog && m_hWnd == dialog && (m_nFlags & WF_CONTINUEMODAL)) RunModalLoop(0);
  if (m_hWnd)
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  if (enableOwner) ::EnableWindow(owner, TRUE);
  if (owner && m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
  if (m_hWnd) DestroyWindow();
  m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);
  return dialog ? m_nModalResult : -1;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) { return Create(MAKEINTRESOURCEA(templateId), parent); }

BOOL CDialog::Create(LPCSTR templateName, CWnd* parent) {
  SetTemplateName(templateName);
  if (parent) m_pParentWnd = parent;
  AfxHookWindowCreate(this);
  HWND dialog =
      ::CreateDialogParamA(AfxGetResourceHandle(), m_lpszTemplateName, AfxSafeHwnd(m_pParentWnd), AfxDlgProc, 0);
  AfxUnhookWindowCreate();
  return dialog != nullptr;
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA tmpl, CWnd* parent) {
  if (parent) m_pParentWnd = parent;
  AfxHookWindowCreate(this);
  HWND dialog =
      ::CreateDialogIndirectParamA(AfxGetResourceHandle(), tmpl, AfxSafeHwnd(m_pParentWnd), AfxDlgProc, 0);
  AfxUnhookWindowCreate();
  return dialog != nullptr;
}

void CDialog::EndDialog(int result) {
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(result);
  ::EndDialog(m_hWnd, result);
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }

void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control) ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), 1);
}

void CDialog::SetDefID(UINT id) { ::SendMessageA(m_hWnd, DM_SETDEFID, id, 0); }

DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (CWnd::PreTranslateMessage(msg)) return TRUE;
  return PreTranslateInput(msg);
}
