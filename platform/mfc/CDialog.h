// The framework dialog: a dialog template of the current resource module
// (AfxGetResourceHandle) run modally (DoModal) or created modeless
// (Create), with data exchange at initialisation (UpdateData(FALSE) in
// OnInitDialog) and on OK (UpdateData(TRUE) in OnOK).
#pragma once

#include <string>

#include "platform/mfc/CWnd.h"

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  CDialog();
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  explicit CDialog(LPCSTR templateName, CWnd* parent = nullptr);
  ~CDialog() override;

  // The dialog's result (EndDialog); -1 when the template cannot be found
  // or the dialog cannot be created.
  virtual INT_PTR DoModal();
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  virtual BOOL Create(LPCSTR templateName, CWnd* parent = nullptr);
  BOOL CreateIndirect(LPCDLGTEMPLATEA tmpl, CWnd* parent = nullptr);

  void EndDialog(int result);
  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* control);
  void SetDefID(UINT id);
  DWORD GetDefID() const;

  virtual BOOL OnInitDialog();
  BOOL PreTranslateMessage(MSG* msg) override;

  UINT m_nIDHelp = 0;
  LPCSTR m_lpszTemplateName = nullptr;  // a number (MAKEINTRESOURCE) or a copy of the name
  CWnd* m_pParentWnd = nullptr;

 protected:
  virtual void OnOK();
  virtual void OnCancel();
  virtual void PreInitDialog();
  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  // The owner of a modal run: the parent's top-level window.
  HWND PreModal();

  DECLARE_MESSAGE_MAP()

 private:
  void SetTemplateName(LPCSTR name);
  std::string m_templateNameCopy;
};

// The dialog procedure of framework dialogs: WM_INITDIALOG goes to the
// dialog's OnInitDialog.
INT_PTR AfxDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
