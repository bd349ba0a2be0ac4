// The dimension dialog: the user picks a dimension text of a product from
// the units and dimensions of a network kind; the text goes to the next
// product placed. A check box stops the dialog from showing again: it then
// ends at once with IDOK.
#pragma once

#include "platform/mfc/CButton.h"
#include "platform/mfc/CComboBox.h"
#include "platform/mfc/CDialog.h"
#include "wizard/frame/engine/CDimData.h"

class CDimDlg : public CDialog {
 public:
  CDimDlg(char kind, CWnd* parent);
  ~CDimDlg() override;

  CButton hideBox;
  CComboBox unitCombo;
  CComboBox dimensionCombo;
  int hide = 0;
  char kind;
  CDimData data;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  afx_msg void OnUnitChange();
  afx_msg void OnShowWindow(BOOL show, UINT status);
  afx_msg void OnHelp();

  DECLARE_MESSAGE_MAP()
};
