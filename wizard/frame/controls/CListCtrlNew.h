// A report-view list whose cells are edited in place: by typing into a
// filtered edit box laid over the cell, or by picking from a choice list
// that the arrow button at the cell's right end opens in a popup. What each
// cell allows is told by the row's descriptors (CListItemData, the row's
// item data, owned by the row). Every committed change is told to the
// dialog that owns the list (its parent) through the dialog's
// PreTranslateMessage, addressed to the list:
//   kCellChanged      wParam = column, lParam = row, time = the chosen
//                     entry or 0xFFFFFFFF for typed text; for typed text an
//                     answer of 0 puts the previous text back
//   kDeleteRowAsked   lParam = row (Delete pressed); nonzero lets the list
//                     delete the row
// The list takes a dialog's control over (DDX_Control or SubclassDlgItem).
#pragma once

#include <vector>

#include "platform/mfc/CListBox.h"
#include "platform/mfc/CListCtrl.h"
#include "platform/mfc/CString.h"
#include "wizard/frame/controls/CButtonNew.h"
#include "wizard/frame/controls/CEditNew.h"
#include "wizard/frame/controls/CWndForward.h"

class CListItemData;

constexpr UINT kChoiceClicked = 0x80C8;
constexpr UINT kCellChanged = 0x80C9;
constexpr UINT kDeleteRowAsked = 0x80CA;
constexpr DWORD kTypedText = 0xFFFFFFFF;  // kCellChanged's time for typed text

// The ids of the list's own windows.
constexpr UINT kChoiceButtonId = 10000;
constexpr UINT kCellEditorId = 10001;
constexpr UINT kChoiceListId = 10002;

class CListCtrlNew : public CListCtrl {
 public:
  CListCtrlNew();
  ~CListCtrlNew() override;

  // Tab in the editor commits and opens the next editable cell: in the
  // next column of the row with nextColumn, else in the next row.
  void SetTabNavigation(bool enable, bool nextColumn);

  // Opens the editor, or places the arrow button, for a cell; with a
  // click point on the arrow the choice list opens instead of the editor.
  // False when the cell cannot be edited by typing.
  bool EditCell(int row, int column, const POINT* click);
  // Commits the open editor.
  void EndEdit();

  BOOL PreTranslateMessage(MSG* msg) override;

  CString previousText;        // the cell's text when the edit began
  bool editing = false;
  bool endByKey = false;       // ended by Enter or Tab: commits even unchanged
  bool deleteRowsOnKey = true;
  bool tabNavigation = false;
  bool tabNextColumn = false;
  int editRow = -1;
  int editColumn = -1;
  int choiceColumn = 0;        // whose arrow button is placed; 0: none shown
  DWORD editorStyle = 0x10800080;  // WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL
  int cellTextLimit = 0;       // the most characters a cell takes by typing; 0: no limit
  CButtonNew choiceButton;
  CEditNew cellEditor{0};
  CListBox choiceList;
  CWndForward popup;

 protected:
  void PreSubclassWindow() override;

  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* bar);
  afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* bar);
  afx_msg void OnDeleteItem(NMHDR* header, LRESULT* result);
  afx_msg void OnChoiceButton();
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg void OnKillFocusReflect(NMHDR* header, LRESULT* result);
  afx_msg void OnHeaderItemChanged(NMHDR* header, LRESULT* result);
  afx_msg void OnHeaderBeginTrack(NMHDR* header, LRESULT* result);

  DECLARE_MESSAGE_MAP()

 private:
  std::vector<int> ColumnWidths() const;
  bool LabelRect(int row, RECT* label) const;
  CListItemData* Descriptor(int row, int column) const;
  // Tells the owner dialog through its PreTranslateMessage; its answer.
  BOOL AskOwner(UINT message, WPARAM wParam, LPARAM lParam, DWORD time = 0);
  void HideChoiceButton();
  // Closes the editor without committing.
  void DropEditor();
  void OnEditorFocusLost(const MSG& msg);
  void ClickThrough(POINT point);
  void TabToNextCell();
  bool DeleteFocusedRow();
  void OnChoiceClicked(int entry);
  // The choice button's rectangle in the list's client coordinates.
  CRect ButtonRect() const;
  void PlaceButtonAt(int left, int top, bool show);
};
