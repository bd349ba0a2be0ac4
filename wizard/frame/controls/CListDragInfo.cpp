#include "wizard/frame/controls/CListDragInfo.h"

#include "platform/mfc/CImageList.h"
#include "platform/win32/cursors.h"
#include "platform/win32/image_list_drag.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/resources.h"

namespace {

constexpr UINT kDragTimerPeriod = 100;

void Highlight(CListCtrl* list, int row, bool on) {
  list->SetItemState(row, on ? LVIS_DROPHILITED : 0, LVIS_DROPHILITED);
  list->RedrawItems(row, row);
}

// The pointer in the list's client coordinates.
CPoint CursorIn(CListCtrl* list) {
  CPoint p;
  ::GetCursorPos(&p);
  list->ScreenToClient(&p);
  return p;
}

}  // namespace

CListDragInfo::CListDragInfo()
    : noDropCursor(::LoadCursorA(nullptr, IDC_NO)), dropCursor(::LoadCursorA(nullptr, IDC_ARROW)) {}

CListDragInfo::~CListDragInfo() { delete dragImage; }

void CListDragInfo::Reset() {
  delete dragImage;
  dragImage = nullptr;
  draggedRow = dropRow = -1;
  flags = 0;
  moveCounter = 0;
  lastPoint = CPoint(0, 0);
}

bool CListDragInfo::BeginDrag(int row, CListCtrl* list, CListCtrl* dropList) {
  Reset();
  CRect bounds;
  CPoint origin;
  if (!list->GetItemRect(row, &bounds, LVIR_BOUNDS) || !(dragImage = list->CreateDragImage(row, &origin))) {
    Reset();
    return false;
  }
  if (!dropList) dropList = list;
  const CPoint cursor = CursorIn(list);
  const CPoint hotSpot(cursor.x - bounds.left, cursor.y - bounds.top);
  // The image moves in the drop list's coordinates, the pointer in the
  // list's: the hot spot makes up the difference of their corners.
  CRect from, to;
  list->GetWindowRect(&from);
  dropList->GetWindowRect(&to);
  ImageList_BeginDrag(dragImage->m_hImageList, 0, hotSpot.x + to.left - from.left, hotSpot.y + to.top - from.top);
  ImageList_DragEnter(dropList->m_hWnd, hotSpot.x, hotSpot.y);
  list->SetCapture();
  draggedRow = dropRow = row;
  UpdateDropTarget(dropList);
  list->SetTimer(kDragTimerId, kDragTimerPeriod, nullptr);
  return true;
}

void CListDragInfo::DragMove(CPoint point, CListCtrl* list) {
  if (!Dragging() || point == lastPoint) return;
  moveCounter = 0;
  lastPoint = point;
  ImageList_DragMove(point.x, point.y);
  UpdateDropTarget(list);
}

void CListDragInfo::UpdateDropTarget(CListCtrl* list) {
  if (draggedRow < 0) return;
  LVHITTESTINFO hit{};
  hit.pt = CursorIn(list);
  const int row = list->HitTest(&hit);
  HCURSOR cursor = nullptr;
  if (row < 0) {
    if (dropRow < 0) return;
    ImageList_DragShowNolock(FALSE);
    Highlight(list, dropRow, false);
    list->UpdateWindow();
    dropRow = -1;
    cursor = noDropCursor;
  } else if (row != dropRow) {
    ImageList_DragShowNolock(FALSE);
    if (dropRow >= 0) Highlight(list, dropRow, false);
    Highlight(list, row, true);
    list->UpdateWindow();
    dropRow = row;
    cursor = dropCursor;
  } else {
    return;
  }
  ::SetCursor(cursor);
  ImageList_DragShowNolock(TRUE);
}

void CListDragInfo::ClearDropTarget(CListCtrl* list) {
  if (dragImage) ImageList_DragShowNolock(FALSE);
  if (dropRow >= 0) Highlight(list, dropRow, false);
  if (dragImage) ImageList_DragShowNolock(TRUE);
}

bool CListDragInfo::EndDrag(CListCtrl* list, int* source, int* target) {
  bool ended = false;
  if (Dragging()) {
    if (source) *source = draggedRow;
    if (target) *target = dropRow;
    ImageList_DragLeave(list->m_hWnd);
    ImageList_EndDrag();
    // Letting the capture go tells the list, which cancels what is left
    // of the drag: the rows are handed out already.
    ::ReleaseCapture();
    list->KillTimer(kDragTimerId);
    ended = true;
  }
  ClearDropTarget(list);
  Reset();
  return ended;
}

void CListDragInfo::CancelDrag(CListCtrl* list) { EndDrag(list, nullptr, nullptr); }
