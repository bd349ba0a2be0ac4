// The dialog of Jov_Vantrix_Export. The network the user picked is shown
// in a preview, where its segment groups are numbered by clicking them (or
// all at once), steps are undone, and the first segment number, the
// segment labels and the target file are chosen. OK numbers the rest,
// lists the sections and writes the "CP" exchange file; FinishExport then
// writes the renumbered network into the drawing.
#pragma once

#include <vector>

#include "common/CGroupChainRef.h"

#include <cstdint>

#include "common/CComboBoxNew.h"
#include "common/qmArray.h"
#include "dataformat/resbuf.h"
#include "common/resizeWnd.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/ExportParams.h"
#include "jov_vantrix/preview/CMyViewJovGL.h"
#include "platform/mfc/CButton.h"
#include "platform/mfc/CDialog.h"

class CUndoArray;

class CJov_ExportDlg : public CDialog, public resizeWnd {
 public:
  // The largest name a preview pick numbers; fixed groups go above it.
  static constexpr uint32_t kPickLimit = 10000;

  explicit CJov_ExportDlg(CWnd* parent);
  ~CJov_ExportDlg() override;

  // After the dialog: on IDOK the network's records go into the drawing and
  // the host's change is kept, otherwise it is cancelled.
  void FinishExport(INT_PTR result);
  // Empties the network before it is read again (the kept chains stay).
  void ClearLists();

  // The network in the preview: its marker circles, then each group under
  // its number (fixed groups above the pick limit), supply pipes labelled.
  void FillPreview();
  // Numbering in the preview; id is a group's number - 1.
  void OnPreviewPick(uint32_t id);
  // Aligns the smallest number of the numbered groups with the first
  // segment number; gives that smallest after it (INT64_MAX for none).
  int64_t RebaseNumbers();
  void OnNumberAll();
  void OnUndoStep();
  // OK only once every group is fixed or numbered; then the links between
  // the groups get their connect numbers.
  void UpdateOkState();

  CComboBoxNew m_firstNumberBox{0, 1};
  CComboBoxNew m_fileBox{0, 0};
  CButton m_descriptionsCheck;
  CButton m_numberAllButton;
  CButton m_undoButton;
  CButton m_okButton;
  CObjSezNew m_network;
  CSecSezNew m_sections;
  ExportParams m_params;
  CString m_configuredLayer;  // "DESC_LAYERS": the layer that stands for the current one
  CMyViewJovGL m_preview;
  // Chains of the drawing's entities as a renumber reset left them: what
  // the next reading without prompting reads. Each is one block of its
  // own, so that reading copies it whole.
  std::vector<CGroupChainRef> m_keptChains;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  afx_msg void OnBrowse();
  afx_msg void OnHelp();
  afx_msg void OnFileKillFocus();
  afx_msg void OnFirstNumberKillFocus();
  afx_msg LRESULT OnHostQuery(WPARAM, LPARAM);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg void OnDestroy();

  DECLARE_MESSAGE_MAP()

 private:
  void ReadSettings();
  // The first segment number as a counter; 0 when it is empty or zero,
  // which numbering refuses (message 28). A number too large for int
  // comes out larger than the scheme allows.
  int64_t FirstNumber() const;
  // Whether the first number will do; otherwise says why (message 28, or
  // the largest first number the scheme's numbers allow) and false.
  bool CheckFirstNumber();
  // A step the preview or the buttons start: refused while no step is on
  // the stack and the first number will not do; otherwise the counter
  // starts at the first number then.
  bool StartNumbering();
  void AfterNumberingChange();
  void RedrawPreview();
  // The records stop pointing at the preview's entities, which go with it.
  void ForgetPreview();

  double m_configuredHeight = 0.0;  // "HEIGHT" in millimetres, converted on OK
  CUndoArray* m_pUndo = nullptr;
};

// Lets the user pick the network (with the prompt) and reads it, or reads
// the dialog's kept chains (without): the reader's result, 0 when a
// selection step fails.
int PreselectNetwork(CJov_ExportDlg& dialog, bool prompt);

// Keeps a copy of every selected entity in the dialog, the included
// network pipes with the numbers they had before the earlier export.
void ResetDrawingNumbers(CJov_ExportDlg& dialog);
