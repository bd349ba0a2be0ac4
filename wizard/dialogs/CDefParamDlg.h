// The product definition editor: edits one parametric product of the
// catalogue, its parameters and, for each of its views (A, B, C, 3D), the
// formulas that place the view's definition points relative to a base
// point. It shows the view in its preview, lets the user try the product in
// the parametric dialog, and on OK writes the formulas of every view whose
// base point is set and the parameters to the catalogue (nothing in view-
// only mode). Views are read the first time they are shown and kept, so a
// switch of views keeps their edits. The catalogue is positioned on the
// product before the dialog starts. The dialog is resizable and keeps its
// layout in the registry.
//
// DoModal: IDOK (everything written), IDCANCEL, -1 when the preview or the
// parameters cannot be had (message shown).
#pragma once

#include "common/resizeWnd.h"
#include "platform/catalogue/Database.h"
#include "platform/mfc/CButton.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CListCtrl.h"
#include "platform/mfc/CString.h"
#include "platform/mfc/CToolTipCtrl.h"
#include "wizard/dialogs/CDefList.h"
#include "wizard/dialogs/CViewJovGL.h"
#include "wizard/frame/controls/CJovList.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "common/reg_store.h"

class CMenu;
class CObjectData;
struct HELPINFO;

class CDefParamDlg : public CDialog {
 public:
  static constexpr int kViews = 4;

  CDefParamDlg(unsigned view, bool viewOnly, CWnd* parent);
  ~CDefParamDlg() override;

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  // The point selected in the point list; null for none.
  CObjectData* SelectedPoint() const;

  CViewJovGL preview;  // kind 2 with the preview menu
  CJovList paramList;
  CListCtrl pointList;
  CDefList formulaList;
  CButton zoomInButton, zoomExtentsButton, zoomOutButton;
  int view;
  CString status;
  int lineEnds = 0;  // 1: the ends of definition lines are listed and marked
  resizeWnd layout;
  reg_store layoutStore;
  int basePoint[kViews] = {0, 0, 0, 0};  // -1 none, 0 not read yet
  bool viewOnly;
  CObjectSez points[kViews];
  CObjectSez params;
  CToolTipCtrl tips;
  HICON zoomInIcon = nullptr, zoomExtentsIcon = nullptr, zoomOutIcon = nullptr;
  jovDatabase::resultResbuf viewGeometry;  // the current view's drawing
  CObjectData* shownPoint = nullptr;       // whose formulas rows X, Y, Z show

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnPointChanged(NMHDR* header, LRESULT* result);
  afx_msg void OnFormulaRowChanged(NMHDR* header, LRESULT* result);
  afx_msg void OnParamChanged(NMHDR* header, LRESULT* result);
  afx_msg void OnParamDoubleClick(NMHDR* header, LRESULT* result);
  afx_msg void OnBasePoint();
  afx_msg void OnView();
  afx_msg void OnLineEnds();
  afx_msg void OnAddParam();
  afx_msg void OnEditParam();
  afx_msg void OnDeleteParam();
  afx_msg void OnTry();
  afx_msg void OnZoomIn();
  afx_msg void OnZoomOut();
  afx_msg void OnZoomExtents();
  afx_msg void OnKind(UINT command);
  afx_msg void OnFitAll();
  afx_msg void OnHelpButton();
  afx_msg BOOL OnHelpInfo(HELPINFO* info);
  afx_msg BOOL OnToolTipText(UINT id, NMHDR* header, LRESULT* result);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);

  DECLARE_MESSAGE_MAP()

 private:
  // The current view's drawing into the preview and, the first time, its
  // points and formulas; the point list either way.
  void ShowView();
  void EnableOk();
  void EnableTry();
  // Ends an open cell editor of the formula list, committing its text.
  void EndFormulaEdit();
  // Rows X, Y, Z show the point's formulas.
  void ShowFormulas(const CObjectData* point);
  // Takes row's text (commit) and shows what it evaluates to.
  void OnFormulaCommitted(int row, bool commit);
  void OnPointPicked(uint32_t number);
  void OnMenuOpening(CMenu* menu);
  void ZoomAtSelected(bool zoomIn);
  // The parameter of the focused and selected row of the parameter list.
  int SelectedParamRow() const;
  // The formulas of all views that read the parameter, one a line ("\nB 4
  // X = L+100"); "" for none.
  std::string FormulasReading(const char* name);
  void RenumberParamRows();
};
