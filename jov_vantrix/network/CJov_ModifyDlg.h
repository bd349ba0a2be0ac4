// The manager's modify dialog: the complete items of one project as a list
// of "room - item" rows whose check boxes say which items are placed. OK
// writes the marks back into the project's list file; the dialog owns the
// records it read. A damaged list file is said when the dialog opens, and
// OK keeps it beside the new one as "name.bak".
#pragma once

#include "common/CVantrixData.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CListCtrl.h"
#include "platform/mfc/CString.h"

class CJov_ModifyDlg : public CDialog {
 public:
  // projectName: the list file's name in the profile's "Vantrix\" folder.
  CJov_ModifyDlg(const char* projectName, CWnd* parent);
  ~CJov_ModifyDlg() override;

  CListCtrl m_items;
  CString m_projectName;
  CVantrixData m_records;  // list head
  bool m_damaged = false;  // the list file could be read only in part

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
