// The producer dialog: for a catalogue item whose products come from
// several producers, the user picks the producer, the dated version of its
// product, two groups, a type and a measurement; the measurement's values
// go to the item's parameters and the product is shown in the preview. OK
// leaves the request's two result chains filled, the choice appended to
// chain 2; Parameters hands over to the parametric dialog, keeping the
// producer's data when asked to. The catalogue is positioned on the item
// before the dialog starts.
//
// DoModal: 1 OK, 2 cancelled, -1 set-up failed (message shown), -2 the
// item has no producer, -3 handed over to the parametric dialog.
#pragma once

#include <memory>

#include "common/CComboBoxNew.h"
#include "platform/catalogue/Database.h"
#include "platform/mfc/CButton.h"
#include "platform/mfc/CComboBox.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CStatic.h"
#include "platform/mfc/CString.h"
#include "wizard/dialogs/ProductPreview.h"
#include "wizard/frame/controls/CEditNew.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "dataformat/KorpalinData.h"

class CPropData;
struct HELPINFO;

class CPP2Dlg : public CDialog {
 public:
  CPP2Dlg(unsigned view, unsigned itemStatus, const char* productCode, const char* branch, const char* arg13,
          const char* typeName, CWnd* parent);
  ~CPP2Dlg() override;

  // The request's arguments, given between construction and DoModal.
  void SetPropertyFlags(unsigned char* flags, unsigned count);
  // The own connection point (its group in the preview), the connected
  // element's point and points text, and whether the dialog comes back from
  // the parametric dialog; also reads the caller's packed date.
  void SetConnection(unsigned groupIndex, unsigned pointIndex, const char* pointsText, bool retry);

  BOOL OnInitDialog() override;

  // The versions of the producer of that entry as dates, each with its id.
  void FillDates(int producer);
  // Reads the version of that entry and its choices into the combos: -1
  // no such version, 0 no choices, 2 groups without types, 1 all chosen.
  int SelectProduct(int date, bool useRegistry);
  // The chosen type's description and further lines, each under its label.
  void BuildInfoText();
  // The values of the measurement to the parameters named; false (message
  // 28 when a value is refused) when nothing was assigned.
  bool AssignMeasurement(const char* names, const char* values);
  // Chain 1 anew from the catalogue's drawing, regenerated when assigned.
  void RefreshPreview(bool assigned);
  // The choice after the last node of chain 2.
  bool AppendChoiceData();

  CComboBoxNew typeCombo{0, 0};
  CEditNew infoEdit{0};
  CComboBoxNew producerCombo{0, 0};
  CStatic typeLabel, measurementLabel, group1Label, group2Label;
  CComboBoxNew measurementCombo{0, 0};
  CComboBoxNew dateCombo{0, 0};
  CComboBox group1Combo, group2Combo;
  int dateIndex = -1, producerIndex = 0, measurementIndex = -1, typeIndex = 0;
  CString infoText;
  int switchCheck = 0;  // 1: the catalogue's drawing is shown
  int group1Index = -1, group2Index = -1;
  int keepProducerData = 1;
  int switchRadio = 0;
  unsigned view;
  bool retry = false;
  bool radioMode = false;
  unsigned indexIdi = 0;
  unsigned namesId = 0;
  unsigned itemStatus;
  unsigned char* propertyFlags = nullptr;
  unsigned flagCount = 0;
  unsigned pointIndex = 1;
  unsigned ownNumber = 1;
  const char* pointsText = nullptr;
  const char* productCode;
  const char* branch;
  const char* arg13;  // kept, not used
  const char* typeName;
  CString title, namesComment;
  CObjectSez squeNames;  // labels of the choice fields
  CObjectSez choices;    // the version's choice records
  jovDatabase::resultResbuf catalogueGeometry;
  CObjectSez* params = nullptr;
  CObjectSez* geometry = nullptr;
  CString captionA, captionB;
  CString dateText;  // of the caller's packed date
  KorpalinData catalogueRecord;
  std::unique_ptr<ProductPreview> preview;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;

  afx_msg LRESULT OnQuery(WPARAM, LPARAM);
  afx_msg void OnTypeChanged();
  afx_msg void OnMeasurementChanged();
  afx_msg void OnDateChanged();
  afx_msg void OnProducerChanged();
  afx_msg void OnGroupChanged();
  afx_msg void OnParametric();
  afx_msg void OnSwitch();
  afx_msg void OnSwitchRadio();
  afx_msg void OnHelpButton();
  afx_msg void OnCatalogue();
  afx_msg BOOL OnHelpInfo(HELPINFO* info);

  DECLARE_MESSAGE_MAP()

 private:
  // Set-up steps that may throw CExceptionEx; false when the item has no
  // producer.
  bool LoadItem();
  void ChooseProducerAndDate();
  // Enables the combos by what SelectProduct found.
  void EnableBySelection(int found);
  // After a new version: the combos by what was found, the measurement
  // assigned, the preview.
  void ShowVersion(int found);
  // Assigns the selected measurement and shows the product.
  void AssignAndShow();
  void ShowInPreview();
  bool SwitchOn() const { return radioMode ? switchRadio == 1 : switchCheck == 1; }
  // The record of a type or measurement entry; null for none.
  CPropData* RecordOf(const CComboBox& combo, int index) const;
  int MeasurementOf(const CPropData* record) const;
  // The seven texts handed to the parametric dialog.
  void KeepProducerData();
  void RestorePlacement();
  void SavePlacement();
  // The producer choice under "CPP2Dlg"; a failed write is told once.
  void SaveChoice();

  bool restoring = false;  // the set-up of a return: the kept choices apply
  int kept[6] = {-1, -1, -1, -1, -1, -1};
};
