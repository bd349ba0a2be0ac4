#include "platform/mfc/CFileDialog.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/ui_services.h"

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags, LPCSTR filter,
                         CWnd* parent, DWORD size, BOOL)
    : m_ofn{}, m_bOpenFileDialog(openFileDialog), m_szFileName{}, m_szFileTitle{} {
  m_pParentWnd = parent;
  m_ofn.lStructSize = size ? size : sizeof(OPENFILENAMEA);
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = sizeof m_szFileName;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
  m_ofn.Flags = flags;
  if (defaultExtension) {
    m_strDefExt = defaultExtension;
    m_ofn.lpstrDefExt = m_strDefExt;
  }
  if (fileName) std::strncpy(m_szFileName, fileName, sizeof m_szFileName - 1);
  if (filter) {
    // "a|b||" -> "a\0b\0\0"
    m_strFilter = filter;
    const int length = m_strFilter.GetLength();
    char* p = m_strFilter.GetBuffer(length + 1);
    for (int i = 0; i < length; ++i)
      if (p[i] == '|') p[i] = '\0';
    p[length] = '\0';
    m_strFilter.ReleaseBuffer(length);
    m_ofn.lpstrFilter = m_strFilter.GetString();
  }
}

INT_PTR CFileDialog::DoModal() {
  m_ofn.hwndOwner = PreModal();
  const BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
  return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return CString(m_ofn.lpstrFile); }

CString CFileDialog::GetFileName() const {
  const CString path = GetPathName();
  const int slash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
  return path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const {
  const CString name = GetFileName();
  const int dot = name.ReverseFind('.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
  const CString name = GetFileName();
  const int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFolderPath() const {
  const CString path = GetPathName();
  const int slash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
  return slash < 0 ? CString() : path.Left(slash);
}
