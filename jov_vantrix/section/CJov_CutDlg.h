// The dialog of a riser section (template IDD_JOV_CUTDLG): the older twin
// of the branch dialog, with the section's number and the riser's height.
// It reads the selection into the older records when it opens; after the
// modal loop GenerateSection draws the riser's branches.
#pragma once

#include "jov_vantrix/section/JovCutParamsOld.h"
#include "platform/mfc/CDialog.h"

class CJov_CutDlg : public CDialog {
 public:
  explicit CJov_CutDlg(CWnd* parent, JovClock clock = nullptr);
  ~CJov_CutDlg() override;

  JovCutParamsOld m_params;
};
