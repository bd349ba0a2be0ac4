#include "wizard/dialogs/CMaskListCtrl.h"

#include "platform/win32/image_list_drag.h"
#include "platform/win32/virtual_keys.h"
#include "wizard/dialogs/CMaskData.h"
#include "wizard/dialogs/CMaskDefDlg.h"
#include "wizard/frame/controls/DragReorder.h"

BEGIN_MESSAGE_MAP(CMaskListCtrl, CListCtrl)
  ON_NOTIFY_REFLECT(LVN_BEGINDRAG, &CMaskListCtrl::OnBeginDrag)
  ON_WM_LBUTTONUP()
  ON_WM_CAPTURECHANGED()
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CMaskListCtrl::~CMaskListCtrl() = default;

BOOL CMaskListCtrl::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
    drag.CancelDrag(DropList());
    KillTimer(kDragTimerId);
    return TRUE;
  }
  if (msg->message == kMaskDragRepaint && drag.Dragging()) {
    ImageList_DragShowNolock(FALSE);
    RedrawItems(0, GetItemCount() - 1);
    UpdateWindow();
    ImageList_DragShowNolock(TRUE);
    drag.UpdateDropTarget(DropList());
    return TRUE;
  }
  return CListCtrl::PreTranslateMessage(msg);
}

void CMaskListCtrl::OnBeginDrag(NMHDR* header, LRESULT* result) {
  drag.BeginDrag(reinterpret_cast<NMLISTVIEW*>(header)->iItem, this, DropList());
  *result = 0;
}

void CMaskListCtrl::OnMouseMove(UINT, CPoint point) {
  drag.DragMove(point, DropList());
  Default();
}

BOOL CMaskListCtrl::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }

void CMaskListCtrl::OnLButtonUp(UINT, CPoint) {
  int source = -1, target = -1;
  const bool dropped = drag.EndDrag(DropList(), &source, &target);
  // The timer runs on the dragging list, whichever list took the drop.
  KillTimer(kDragTimerId);
  if (dropped && source >= 0 && target >= 0) {
    if (!partner) {
      MoveRow(source, target);
      if (editor) editor->UpdateButtons(GetNextItem(-1, LVNI_SELECTED));
    } else if (editor && editor->DropField(source, target)) {
      return;
    }
  }
  Default();
}

void CMaskListCtrl::OnCaptureChanged(CWnd*) {
  drag.CancelDrag(DropList());
  KillTimer(kDragTimerId);
}

void CMaskListCtrl::MoveRow(int source, int target) {
  const RowMove move = PlanRowMove(source, target);
  if (!move.moves || target >= GetItemCount()) return;
  const CString text = GetItemText(source, 0);
  const LPARAM record = static_cast<LPARAM>(GetItemData(source));
  const UINT shown = LVIS_SELECTED | LVIS_FOCUSED;
  if (InsertItem(LVIF_TEXT | LVIF_PARAM | LVIF_STATE, move.insertAt, text, shown, shown, 0, record) < 0) return;
  DeleteItem(move.deleteAt);
  SetItemState(move.finalRow, shown, shown);
}
