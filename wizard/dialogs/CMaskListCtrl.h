// A list of the mask editor whose rows are dragged: within the mask list to
// reorder the mask's parts, and from the field list (whose partner is the
// mask list) into the mask list. Each row's item data is its CMaskData.
#pragma once

#include "platform/mfc/CListCtrl.h"
#include "wizard/frame/controls/CListDragInfo.h"

class CMaskDefDlg;

// Handed to PreTranslateMessage while a drag is on: repaint the rows under
// the drag image.
constexpr UINT kMaskDragRepaint = 0x7FFD;

class CMaskListCtrl : public CListCtrl {
 public:
  CMaskListCtrl() = default;
  ~CMaskListCtrl() override;

  // Esc cancels a drag (and is taken in any case).
  BOOL PreTranslateMessage(MSG* msg) override;

  // Moves a row as a drop of source on target does, selected and focused
  // where it lands; nothing for a drop on no row or on itself.
  void MoveRow(int source, int target);

  CMaskListCtrl* partner = nullptr;  // where rows are dropped; null: this list
  CMaskDefDlg* editor = nullptr;     // takes the rows dropped on the partner
  CListDragInfo drag;

 protected:
  // The list the drag's image and drop target are in.
  CListCtrl* DropList() { return partner ? static_cast<CListCtrl*>(partner) : this; }

  afx_msg void OnBeginDrag(NMHDR* header, LRESULT* result);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* window);
  afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
  afx_msg void OnMouseMove(UINT flags, CPoint point);

  DECLARE_MESSAGE_MAP()
};
