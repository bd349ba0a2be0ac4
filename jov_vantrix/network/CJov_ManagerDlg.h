// The project manager of Jov_Vantrix_M: the Vantrix projects registered in
// "Jov.ini" [VANTRIX], each a list file in the profile's "Vantrix\" folder.
// The user imports "cad" files as new projects, deletes projects, chooses the
// current one and whether the product dialogs use it, and marks a project's
// placed items in the modify dialog. The registration is written only by
// OK; an imported project's list file is written, and a deleted project's
// list file goes, only then as well: Cancel leaves every file as it was.
#pragma once

#include <memory>
#include <vector>

#include "common/CVantrixData.h"
#include "platform/mfc/CButton.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CListCtrl.h"
#include "platform/mfc/CStatic.h"
#include "platform/mfc/CStringArray.h"

class CJov_ManagerDlg : public CDialog {
 public:
  explicit CJov_ManagerDlg(CWnd* parent);
  ~CJov_ManagerDlg() override;

  CButton m_okButton;
  CStatic m_currentLabel;
  CListCtrl m_projects;
  CButton m_useSwitch;
  CButton m_deleteButton;
  CButton m_modifyButton;
  CButton m_importButton;
  CButton m_makeCurrentButton;
  int m_use = 0;
  // Projects deleted in this run: their list files are removed on OK.
  CStringArray m_deletedProjects;
  // Projects imported in this run: their records wait for OK.
  struct ImportedProject {
    CString name;
    std::unique_ptr<CVantrixData> records;  // list head
  };
  std::vector<ImportedProject> m_imported;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  afx_msg void OnImport();
  afx_msg void OnModify();
  afx_msg void OnDelete();
  afx_msg void OnMakeCurrent();
  afx_msg void OnHelp();
  afx_msg void OnItemChanged(NMHDR* header, LRESULT* result);
  afx_msg void OnDoubleClick(NMHDR* header, LRESULT* result);
  afx_msg LRESULT OnHostQuery(WPARAM, LPARAM);

  DECLARE_MESSAGE_MAP()

 private:
  // Writes the registration into "Jov.ini"; false when any write failed.
  bool SaveRegistration();
  void EnableSelectionButtons(BOOL enable);
  // The project imported in this run under that name, or null.
  ImportedProject* FindImported(const CString& name);
  bool IsDeletedInThisRun(const CString& name) const;
  // Writes the list files of the projects imported in this run: those that
  // replace a project deleted in this run, or the others. The paths
  // written are added to written; false at the first one not written (said).
  bool WriteImportedLists(bool replacing, std::vector<CString>& written);
};

// "Jov.ini" under the profile's data folder, and the list file of a
// project: the profile folder + "Vantrix\" + its file name.
CString VantrixSettingsFile();
CString VantrixProjectFile(const char* name);
