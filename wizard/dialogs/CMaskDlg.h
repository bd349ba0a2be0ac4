// The list of named label masks of one kind: add, rename, edit, delete and
// reorder masks, and choose the active one. Nothing reaches the settings
// files before OK.
#pragma once

#include "common/CSeznam.h"
#include "platform/mfc/CButton.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CListBox.h"
#include "platform/mfc/CStatic.h"
#include "wizard/frame/controls/CEditNew.h"

class CMaskData;

class CMaskDlg : public CDialog {
  DECLARE_DYNAMIC(CMaskDlg)

 public:
  CMaskDlg(unsigned kind, CWnd* parent);
  ~CMaskDlg() override;

  BOOL PreTranslateMessage(MSG* msg) override;

  // Fills the list with the stored masks and selects the active one.
  void ReadMasks();
  void OnSelChange();
  void UpdateButtons(int selected);

  unsigned kind;
  CListBox maskList;
  CButton addButton;
  CButton deleteButton;
  CButton upButton;
  CButton downButton;
  CButton editButton;
  CEditNew definitionEdit{0};
  CEditNew nameEdit{0};
  CStatic kindCaption;
  CSeznam masks;  // owns every record of the dialog

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  afx_msg LRESULT OnKeepFocus(WPARAM wParam, LPARAM lParam);
  afx_msg void OnListSelChange();
  afx_msg void OnAdd();
  afx_msg void OnDelete();
  afx_msg void OnUp();
  afx_msg void OnDown();
  afx_msg void OnEdit();
  afx_msg void OnHelp();
  afx_msg void OnDefinitionKillFocus();
  afx_msg void OnNameKillFocus();

  DECLARE_MESSAGE_MAP()

 private:
  CMaskData* SelectedRecord(int* row = nullptr) const;
  // Puts the selected row one place up (-1) or down (+1).
  void MoveSelected(int step);
  // Puts a row's text and record in at index and selects it.
  void PlaceRow(int index, const CString& text, CMaskData* record);
  // The boxes' pending texts become the selected mask's; every road that
  // leaves or saves them runs this. A refused text stays in its box, still
  // pending: false, and with `tell` a message and the focus in that box.
  bool CommitEdits();
  bool CommitName(bool tell);
  bool CommitDefinition(bool tell);
  bool Refuse(CEditNew& box, UINT message, bool tell);

  CMaskData* shown = nullptr;  // the record the boxes were filled from
};

// The host's question whether a dialog keeps the focus; answered 1.
constexpr UINT kKeepFocusQuery = 0x7101;
