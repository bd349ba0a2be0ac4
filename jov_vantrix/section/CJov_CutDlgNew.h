// The dialog of a branch section (template IDD_JOV_CUTDLG_NEW): the
// drawing's distances in combo boxes with presets, the descriptions, the
// floor and the pipe order, a sketch of the section that follows the
// switches, and the riser the section starts from. The pick step reads the
// branch into its record list and fills its pipe fields; after the modal
// loop GenerateSection draws the section and closes the host's change. The
// include commands use it only for its record list.
#pragma once

#include "common/CComboBoxNew.h"
#include "common/GLVector.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/section/CViewBtn.h"
#include "platform/mfc/CButton.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CStatic.h"
#include "platform/mfc/CString.h"

class CObjDataNew;

class CJov_CutDlgNew : public CDialog {
 public:
  // Unit and scale of the parameter block come from the host; the clock
  // stamps the section (the current time without one).
  explicit CJov_CutDlgNew(CWnd* parent, JovClock clock = nullptr);
  ~CJov_CutDlgNew() override;

  // Reads the host's selection into the record list (ReadCutObjects).
  int ReadSelection();
  // Ends the change of a section left undrawn (a cancel, a pick that
  // stopped): the records were only read, so nothing goes back and the
  // host learns of no change.
  void CloseUnchanged();
  // After the modal loop: IDOK draws the section and writes it into the
  // drawing; any other result closes the change unchanged.
  void GenerateSection(INT_PTR modalResult);
  // Lets the user pick entities and marks them excluded from (or included
  // in) the network; ends the host's change with 1.
  int IncludeExclude(bool exclude);

  // The host's change: opened by the pick step, ended once.
  void BeginChange();
  void EndChange(int status);
  bool ChangeOpen() const { return m_changeOpen; }

  CComboBoxNew m_distElm;          // combo 1
  CComboBoxNew m_distPipe;         // combo 2
  CComboBoxNew m_distRiser;        // combo 3
  CComboBoxNew m_descFloor;        // combo 4
  CComboBoxNew m_heightFloor;      // combo 5
  CComboBoxNew m_pipeFloorDist;    // combo 6
  CComboBoxNew m_sameLength;       // combo 7
  CComboBoxNew m_sameHeight;       // combo 8
  CButton m_descElm;               // check 1
  CButton m_descRiser;             // check 2
  CButton m_descLastRiser;         // check 3
  CButton m_drawFloor;             // check 4
  CViewBtn m_preview;
  CStatic m_markerText;
  CButton m_enableSameLength;      // check 5
  CButton m_enableSameHeight;      // check 6
  CString m_riserMarker;
  CObjSezNew m_list;
  JovCutParams m_params;
  CString m_layerPlaceholder;
  CString m_pickedPipeDistance;
  bool m_pipePicked = false;
  bool m_pipeSide = false;
  GLVector m_upperPipePoint;
  GLVector m_lowerPipePoint;
  CObjDataNew* m_start = nullptr;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  afx_msg LRESULT OnHostDialogQuery(WPARAM, LPARAM);
  afx_msg void OnFloorSwitch();
  afx_msg void OnFloorDescriptionKillFocus();
  afx_msg void OnHelpButton();
  afx_msg void OnSameLength();
  afx_msg void OnSameHeight();
  afx_msg void OnDescriptions();
  afx_msg void OnPipeSwitch();
  afx_msg void OnDescribeRisers();
  afx_msg void OnDescribeLastRiser();
  DECLARE_MESSAGE_MAP()

 private:
  void RedrawPreview();

  bool m_changeOpen = false;

  friend void LoadCutSettingsNew(CJov_CutDlgNew& dialog);
  friend void SaveCutSettingsNew(CJov_CutDlgNew& dialog);
};

// Fills the combo boxes' preset lists from presetFile and reads the layer
// placeholder.
void LoadCutPresetsNew(CJov_CutDlgNew& dialog, const char* presetFile);
// The saved values into the controls (a picked pipe's distance and side in
// place of the saved ones, their controls disabled) and the drawing
// settings and pipe types into the parameter block.
void LoadCutSettingsNew(CJov_CutDlgNew& dialog);
// OK: the values saved and stored in the parameter block, the pipe
// connections shortened to an equal element length when the user wants,
// the pipe start recomputed; the dialog ends unless the user cancelled the
// question.
void SaveCutSettingsNew(CJov_CutDlgNew& dialog);
