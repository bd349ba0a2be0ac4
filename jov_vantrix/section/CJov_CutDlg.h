// The dialog of a riser section (template IDD_JOV_CUTDLG): the older twin
// of the branch dialog, with the section's number, the riser's height and
// whether the pipes are drawn. It reads the selection into the older
// records when it opens; after the modal loop GenerateSection draws the
// riser's branches and ends the host's change.
#pragma once

#include "common/CComboBoxNew.h"
#include "jov_vantrix/section/CObjData.h"
#include "jov_vantrix/section/CViewBtn.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "platform/mfc/CButton.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CStatic.h"
#include "platform/mfc/CString.h"

class CJov_CutDlg : public CDialog {
 public:
  // Unit and scale of the parameter block come from the host; the clock
  // stamps the section (the current time without one).
  explicit CJov_CutDlg(CWnd* parent, JovClock clock = nullptr);
  ~CJov_CutDlg() override;

  // After the modal loop: IDOK draws the section into the drawing and
  // keeps its number; every way ends the host's change once.
  void GenerateSection(INT_PTR modalResult);

  CComboBoxNew m_height;         // combo 1
  CComboBoxNew m_distElm;        // combo 2
  CComboBoxNew m_distPipe;       // combo 3
  CComboBoxNew m_distRiser;      // combo 4
  CComboBoxNew m_descFloor;      // combo 5
  CComboBoxNew m_heightFloor;    // combo 6
  CComboBoxNew m_cutNumber;      // combo 7
  CComboBoxNew m_pipeFloorDist;  // combo 8
  CComboBoxNew m_sameLength;     // combo 9
  CButton m_descElm;             // check 1
  CButton m_descRiser;           // check 2
  CButton m_drawFloor;           // check 3
  CButton m_drawPipe;            // check 4
  CViewBtn m_preview;
  CStatic m_markerText;
  CButton m_enableSameLength;    // check 5
  CButton m_lastFloor;           // check 6
  CObjSez m_records;
  JovCutParamsOld m_params;
  CString m_layerPlaceholder;
  CString m_riserNumber;         // of the records read, shown as the marker

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  afx_msg LRESULT OnHostDialogQuery(WPARAM, LPARAM);
  afx_msg void OnDrawPipe();
  afx_msg void OnFloorSwitch();
  afx_msg void OnFloorDescriptionKillFocus();
  afx_msg void OnCutNumberKillFocus();
  afx_msg void OnHelpButton();
  afx_msg void OnSameLength();
  DECLARE_MESSAGE_MAP()

  friend void LoadCutSettings(CJov_CutDlg& dialog);
  friend void SaveCutSettings(CJov_CutDlg& dialog);
};

// Fills the combo boxes' preset lists from presetFile and reads the layer
// placeholder.
void LoadCutPresets(CJov_CutDlg& dialog, const char* presetFile);
// The saved values into the controls, the drawing settings and the pipe
// types into the parameter block.
void LoadCutSettings(CJov_CutDlg& dialog);
// OK: without a section number the dialog says so and stays open;
// otherwise the values are saved and stored, the pipe connections may be
// shortened to an equal element length, the pipe start is recomputed and
// the dialog ends unless the user cancelled the question.
void SaveCutSettings(CJov_CutDlg& dialog);
