// The state of a row drag in a list control, shared by the lists that
// reorder their rows by dragging: the dragged row, the row under the
// pointer (highlighted as the drop target) and the image that follows the
// pointer. The list captures the mouse while the drag is on.
#pragma once

#include <cstdint>

#include "platform/mfc/CListCtrl.h"
#include "platform/mfc/CPoint.h"

class CImageList;

class CListDragInfo {
 public:
  CListDragInfo();
  ~CListDragInfo();
  CListDragInfo(const CListDragInfo&) = delete;
  CListDragInfo& operator=(const CListDragInfo&) = delete;

  // Starts dragging a row (from LVN_BEGINDRAG): its image follows the
  // pointer, the list captures the mouse and a timer (id 100) runs. False,
  // with nothing started, when the row has no bounds or image. With a drop
  // list other than the list, the image is shown over the drop list and
  // the drop target tracked there.
  bool BeginDrag(int row, CListCtrl* list, CListCtrl* dropList = nullptr);
  // Ends the drag: true with the dragged row and the drop row (-1: none)
  // when a drag was on. Either way the drop highlight goes and the state
  // is reset.
  bool EndDrag(CListCtrl* list, int* source, int* target);
  // Ends the drag without a drop.
  void CancelDrag(CListCtrl* list);
  // The pointer moved (list client coordinates).
  void DragMove(CPoint point, CListCtrl* list);
  // Highlights the row under the pointer as the drop target (none outside
  // the rows) and shows the cursor of a drop or of none.
  void UpdateDropTarget(CListCtrl* list);
  // Takes the drop highlight off.
  void ClearDropTarget(CListCtrl* list);
  // No drag: rows -1, the image deleted.
  void Reset();

  bool Dragging() const { return dragImage && draggedRow >= 0; }

  void* reserved = nullptr;
  HCURSOR noDropCursor = nullptr;
  HCURSOR dropCursor = nullptr;
  void* reserved2 = nullptr;
  int draggedRow = -1;
  int dropRow = -1;
  CImageList* dragImage = nullptr;
  uint32_t flags = 0;
  int moveCounter = 0;  // cleared on every move
  CPoint lastPoint;
};

// The timer a drag runs on its list.
constexpr UINT_PTR kDragTimerId = 100;
