// The open and save file dialogs. Headless the user-interface driver
// answers them (GetOpenFileNameA / GetSaveFileNameA, common_dialogs.h).
#pragma once

#include "platform/mfc/CDialog.h"
#include "platform/mfc/CString.h"
#include "platform/win32/common_dialogs.h"

class CFileDialog : public CDialog {
  DECLARE_DYNAMIC(CFileDialog)

 public:
  // filter: "description|pattern|...||"; flags as given (OFN_*); size: the
  // structure size the dialog is told (0: the full one).
  explicit CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension = nullptr, LPCSTR fileName = nullptr,
                       DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = nullptr,
                       CWnd* parent = nullptr, DWORD size = 0, BOOL vistaStyle = TRUE);

  // IDOK with the chosen path, IDCANCEL.
  INT_PTR DoModal() override;

  CString GetPathName() const;
  CString GetFileName() const;
  CString GetFileExt() const;
  CString GetFileTitle() const;
  CString GetFolderPath() const;

  OPENFILENAMEA m_ofn;
  BOOL m_bOpenFileDialog;

 private:
  char m_szFileName[MAX_PATH];
  char m_szFileTitle[64];
  CString m_strFilter;
  CString m_strDefExt;
};
