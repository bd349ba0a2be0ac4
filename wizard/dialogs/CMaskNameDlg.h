// Asks for the name of a mask (mode 0) or for a free text of a mask
// (mode 1). A text holding ';' cannot be confirmed: the stored mask would
// split there.
#pragma once

#include "platform/mfc/CDialog.h"
#include "platform/mfc/CEdit.h"

class CMaskNameDlg : public CDialog {
  DECLARE_DYNAMIC(CMaskNameDlg)

 public:
  enum Mode : unsigned { kMaskName = 0, kFreeText = 1 };

  CMaskNameDlg(CWnd* parent, unsigned mode);
  ~CMaskNameDlg() override;

  CString name;  // the text shown first; the result on IDOK
  unsigned mode;
  CEdit edit;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  DECLARE_MESSAGE_MAP()
};
