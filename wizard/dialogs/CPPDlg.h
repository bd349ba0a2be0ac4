// The parametric product dialog: the user sets the free parameters of one
// parametric catalogue product, watches the regenerated product in the
// preview and confirms; OK leaves the request's two result chains filled
// (geometry, "JOV_DATA"). For heating radiators its Vantrix panel takes the
// size from the current Vantrix project list or from the outside radiator
// catalogue (CPPDlgVantrix.cpp). The catalogue is positioned on the
// product before the dialog starts.
//
// DoModal: 1 OK (chains built), 2 cancelled or the build without a dialog
// failed, -1 set-up failed (message shown), -4 back.
#pragma once

#include <memory>

#include "common/CVantrixData.h"
#include "common/VantrixDataList.h"
#include "platform/catalogue/Database.h"
#include "platform/mfc/CButton.h"
#include "platform/mfc/CComboBox.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CStatic.h"
#include "platform/mfc/CString.h"
#include "wizard/dialogs/ProductPreview.h"
#include "wizard/frame/controls/CListCtrlNew.h"
#include "dataformat/KorpalinData.h"

class CObjectSez;
class CValueParam;
struct HELPINFO;

class CPPDlg : public CDialog {
 public:
  CPPDlg(unsigned view, CWnd* parent, bool editorTest, bool backAllowed);
  ~CPPDlg() override;

  // The request's arguments, given between construction and DoModal.
  void SetPropertyFlags(unsigned char* flags, unsigned count);
  void SetLengthUnit(unsigned mode);
  void SetConnection(unsigned ownNumber, unsigned pointIndex, const char* pointsText, bool vantrixUse);
  void SetQProd(const char* code);
  void SetInitialRecalc(bool value) { initialRecalc = value; }
  // The definition editor's lists, which stay the editor's.
  void SetParamList(CObjectSez* list) { params = list; }
  void SetGeometryObjects(CObjectSez* list) { geometry = list; }

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  // Rebuilds chain 1, shows it unless the switch is on, refills the list
  // and the report.
  void RefreshPreview();

  // The Vantrix panel.
  void ShowVantrixRecord(const CVantrixData* record);
  void ApplyZLevelRadiusToList(CValueParam* edited);
  // False (said by the list's writer) when the project list could not be written.
  bool AppendVantrixRecord();
  // Producer texts that the producer dialog stored, after chain 2.
  void AppendProducerData();

  bool initialRecalc = false;
  CListCtrlNew list;
  CComboBox floorCombo, roomCombo, itemCombo, markedCombo;
  CString report;
  int switchCheck = 0;   // 1: the catalogue's drawing is shown
  int switchRadio = 0;   // the same in radio mode
  int mirrorCheck = 0;
  int roomIndex = -1, floorIndex = -1, itemIndex = -1, markedIndex = -1;
  unsigned view;
  unsigned lengthMode = 1000;
  bool editorTest;
  bool backAllowed;
  unsigned char* propertyFlags = nullptr;
  unsigned flagCount = 0;
  bool radioMode = false;
  bool vantrixUse = false;
  bool radiatorKind = false;
  bool catalogueUsed = false;
  unsigned pointIndex = 0;
  const char* pointsText = nullptr;
  unsigned ownNumber = 0;
  const char* productCode = nullptr;
  jovDatabase::resultResbuf catalogueGeometry;
  CObjectSez* params = nullptr;
  CObjectSez* geometry = nullptr;
  CString captionA, captionB;
  CString indexId;
  CString vantrixListPath;
  CVantrixData vantrixList;
  VantrixListLoad vantrixLoaded;  // what the list file held when it was read
  KorpalinData catalogueRecord;
  std::unique_ptr<ProductPreview> preview;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;

  afx_msg void OnSwitch();
  afx_msg void OnSwitchRadio();
  afx_msg void OnMirror();
  afx_msg void OnHelpButton();
  afx_msg void OnBack();
  afx_msg BOOL OnHelpInfo(HELPINFO* info);
  afx_msg LRESULT OnQuery(WPARAM, LPARAM);
  afx_msg void OnFloorChanged();
  afx_msg void OnRoomChanged();
  afx_msg void OnItemChanged();
  afx_msg void CallKorpalinCatalogue();

  DECLARE_MESSAGE_MAP()

 private:
  // Set-up steps that may throw CExceptionEx.
  void LoadProduct();
  // The panel's part of the set-up: radiator kind, Vantrix use, layout.
  void SetUpVantrixPanel();
  void HidePanel(bool keepGroup);
  void FillVantrixRoomsAndItems(const CString& floor, const CString& lastRoom);
  // Chain 1 from the catalogue's drawing by the current parameters.
  void RebuildChain1();
  void ShowInPreview();
  // After a change of the parameters: chain 1, the preview unless it shows
  // the catalogue's drawing, the list when asked, and the report.
  void Refresh(bool refillList);
  // The mirrored display again when the mirror is offered and checked.
  void ReapplyMirror();
  void RefreshReport();
  bool BuildChains();
  void ConnectionPrefill();
  bool SwitchOn() const { return radioMode ? switchRadio == 1 : switchCheck == 1; }
  // A typed or chosen value: TRUE handled, FALSE refused (the cell gets
  // its old text).
  BOOL OnCellChanged(int row, bool chosen);
  const char* ProducerCode() const;
  void RestorePlacement();
  // The switch, the window's place and the Vantrix room and floor; a
  // failed write is told once and changes nothing else.
  void SavePlacement();
};
