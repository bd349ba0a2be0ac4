// The mask editor: the user builds the definition of one label mask from
// parts, moving field entries from the field list into the mask list,
// adding free texts and reordering them; the parts are joined into the
// definition. Mode 0 edits a listed mask's definition for the mask list
// dialog, which takes the result. Modes 1 (a definition proposed from an
// element) and 2 (the active mask) also offer the stored masks of the kind,
// save the definition under a name, and make it the active mask on OK.
#pragma once

#include <vector>

#include "common/CSeznam.h"
#include "platform/mfc/CButton.h"
#include "platform/mfc/CComboBox.h"
#include "platform/mfc/CDialog.h"
#include "wizard/dialogs/CMaskListCtrl.h"

class CMaskData;

// A stored mask offered in the editor's combo box.
struct maskData {
  CString name;
  CString definition;
  int key = -1;  // its MASK number in the mask list section
};

class CMaskDefDlg : public CDialog {
  DECLARE_DYNAMIC(CMaskDefDlg)

 public:
  enum Mode : unsigned { kEditListed = 0, kProposed = 1, kActive = 2 };

  CMaskDefDlg(unsigned kind, const CString& preset, unsigned mode, CWnd* parent);
  ~CMaskDefDlg() override;

  // Fills the field list: the free-text entry, then the kind's field
  // entries (the built-in ones for pipes).
  void ReadFieldEntries();
  // Empties the mask list and fills it with the parts of a definition.
  void ParseDefinition(const CString& text);
  // Appends a part: the field entry whose definition is the token (true),
  // else, or when forced, a free text holding the token (false).
  bool AddToken(const CString& token, bool forceFree);
  // The selected field entry into the mask, and the selected part out of it.
  void AddField();
  void RemoveField();
  void UpdateButtons(int selectedPart);
  // result := the parts joined.
  void BuildDefinition();
  void SaveNamedMask();
  // A field row dropped on a part row; true when the drop asked for a free
  // text (the list then skips its default processing).
  bool DropField(int source, int target);

  CString result;
  unsigned kind;
  CString preset;
  CString presetCopy;
  unsigned mode;
  CString freeTextFormat;
  BYTE freeTextFlag = 1;
  std::vector<maskData> storedMasks;
  int presetIndex = -1;
  int presetStored = 0;
  CMaskListCtrl fieldList;
  CMaskListCtrl maskList;
  CButton upButton;
  CButton downButton;
  CButton removeButton;
  CButton addButton;
  CComboBox storedCombo;
  CButton saveButton;
  CSeznam fieldRecords;  // the field entries' records

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  afx_msg void OnAdd();
  afx_msg void OnRemove();
  afx_msg void OnUp();
  afx_msg void OnDown();
  afx_msg void OnHelp();
  afx_msg void OnSave();
  afx_msg void OnFieldDoubleClick(NMHDR* header, LRESULT* result);
  afx_msg void OnPartDoubleClick(NMHDR* header, LRESULT* result);
  afx_msg void OnStoredChange();
  afx_msg void OnPartChanged(NMHDR* header, LRESULT* result);

  DECLARE_MESSAGE_MAP()

 private:
  void ReadStoredMasks();
  void CutSaveBand();
  CMaskData* NewFreeText(const CString& text);
  void DeleteFreeText(CMaskData* record);
  CString FreeTextRow(const CString& text) const;
  // Moves a part one row (-1 up, +1 down).
  void MovePart(int step);
  // Selects row `row` of a list, or the one before it past the end.
  static void SelectNear(CListCtrl& list, int row);
  int SelectedPart() const { return maskList.GetNextItem(-1, LVNI_SELECTED); }
  // A key number past the last the mask list may use: never written.
  static constexpr int kNoKey = 100;
  CSeznam freeTexts_;  // the free-text records made here
};
