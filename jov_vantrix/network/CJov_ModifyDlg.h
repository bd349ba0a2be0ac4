// The manager's modify dialog: the complete items of one project as a list
// of "room - item" rows whose check boxes say which items are placed. OK
// writes the marks back into the project's list file; the dialog owns the
// records it read. A damaged list file, or one that cannot be opened, is
// said when the dialog opens; OK keeps a damaged one beside the new one
// (its name ending in ".bak") and writes nothing into one it could not open.
#pragma once

#include "common/CVantrixData.h"
#include "common/VantrixDataList.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CListCtrl.h"
#include "platform/mfc/CString.h"

class CJov_ModifyDlg : public CDialog {
 public:
  // projectName: the list file's name in the profile's "Vantrix\" folder.
  // imported: the records of a project imported but not written yet; they
  // are marked in place and no file is read or written.
  CJov_ModifyDlg(const char* projectName, CWnd* parent, CVantrixData* imported = nullptr);
  ~CJov_ModifyDlg() override;

  CListCtrl m_items;
  CString m_projectName;
  CVantrixData m_records;  // list head
  VantrixListLoad m_loaded;  // what the list file held when it was read
  CVantrixData* m_imported;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  afx_msg void OnTickAll();
  afx_msg void OnClearAll();
  afx_msg LRESULT OnHostQuery(WPARAM, LPARAM);

  DECLARE_MESSAGE_MAP()

 private:
  void CheckAll(BOOL check);
};
