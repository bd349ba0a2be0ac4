// A list of parameters whose rows the user reorders by dragging: each
// row's item data is its CValueParam (whose list row follows the row), and
// an attached list of the same parameters, set by the owner, is kept in
// the rows' order. Four columns: name, label, type and default value.
#pragma once

#include "common/CSeznam.h"
#include "platform/mfc/CListCtrl.h"
#include "wizard/frame/controls/CListDragInfo.h"

class CJovList : public CListCtrl {
 public:
  CJovList() = default;
  ~CJovList() override;

  // Esc cancels a drag (and is taken in any case).
  BOOL PreTranslateMessage(MSG* msg) override;

  // Moves a row as a drop of source on target does: the row ends at
  // target, the attached list follows, every row's parameter learns its
  // row. Nothing for a drop on no row or on the row itself.
  void MoveRow(int source, int target);

  CListDragInfo drag;
  CSeznam* attached = nullptr;  // the parameters in row order; not owned

 protected:
  // Grid lines, full-row selection and the four columns.
  void PreSubclassWindow() override;

  afx_msg void OnBeginDrag(NMHDR* header, LRESULT* result);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* window);
  afx_msg void OnMouseMove(UINT flags, CPoint point);

  DECLARE_MESSAGE_MAP()
};
