// The parameter dialog of the product definition editor: creates or edits
// one parameter of a parametric product (short name, label, type from the
// catalogue, default value and allowed values). It works on a parameter
// the caller owns and checks the name against the caller's list.
#pragma once

#include "common/CComboBoxNew.h"
#include "platform/catalogue/Database.h"
#include "platform/mfc/CButton.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CListBox.h"
#include "platform/mfc/CString.h"
#include "wizard/frame/controls/CEditNew.h"
#include "wizard/frame/engine/CObjectSez.h"

class CValueParam;
struct HELPINFO;

class CParamDlg : public CDialog {
 public:
  CParamDlg(bool edit, CValueParam* param, CObjectSez* params, CWnd* parent = nullptr);
  ~CParamDlg() override;

  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnInitDialog() override;

  // The list box's values in order joined with '|' ("" for none).
  CString JoinValues() const;
  // The list box holds the text exactly.
  bool HasValue(const char* text) const;
  // Delete, Up and Down by the selection sel of n rows.
  void UpdateButtons(int sel, int n);

  CObjectSez types;  // the catalogue's types, one CTypeParam each
  CButton helpButton, cancelButton, downButton, upButton;
  CListBox values;
  CEditNew valueEdit{0};
  CButton deleteButton, addButton;
  CComboBoxNew typeCombo{0, 0};
  CComboBoxNew labelCombo{0, 0};
  CEditNew nameEdit, defaultEdit;
  CString defaultText, nameText;
  int typeIndex = 0;
  CString valueText;
  bool reentry = false;
  bool edit;
  CObjectSez* params;
  CValueParam* param;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;

  afx_msg void OnNameKillFocus();
  afx_msg void OnValueKillFocus();
  afx_msg void OnAdd();
  afx_msg void OnDelete();
  afx_msg void OnUp();
  afx_msg void OnDown();
  afx_msg void OnHelpButton();
  afx_msg void OnValuesSelChange();
  afx_msg BOOL OnHelpInfo(HELPINFO* info);

  DECLARE_MESSAGE_MAP()

 private:
  bool NameTaken() const;
  void MoveSelected(int step);
  // Ends the set-up with a message and -1.
  BOOL Fail(UINT stringId);
};

// Catalogue callbacks: a name record into a combo (text and its id), a
// parameter type into the dialog's type combo and list, a name record
// appended to a list as a property record. Each answers 1 (go on).
int AddEnumNameToCombo(const jovDatabase::TNameStruct* record, void* combo);
int AddParTypeToCombo(const jovDatabase::TParTypeStruct* record, void* dialog);
int AddEnumNameAsPropData(const jovDatabase::TNameStruct* record, void* list);
