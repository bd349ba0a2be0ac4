#include "platform/win32/image_list_drag.h"

namespace {

ImageListDrag& Drag() {
  static ImageListDrag drag;
  return drag;
}

}  // namespace

BOOL ImageList_BeginDrag(HIMAGELIST list, int index, int hotSpotX, int hotSpotY) {
  ImageListDrag& d = Drag();
  if (d.dragging || index < 0 || index >= ImageList_GetImageCount(list)) return FALSE;
  d = {};
  d.dragging = true;
  d.list = list;
  d.index = index;
  d.hotSpot = {hotSpotX, hotSpotY};
  return TRUE;
}

BOOL ImageList_DragEnter(HWND lock, int x, int y) {
  ImageListDrag& d = Drag();
  if (!d.dragging) return FALSE;
  d.lock = lock;
  d.position = {x, y};
  d.shown = true;
  return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
  ImageListDrag& d = Drag();
  if (!d.dragging) return FALSE;
  d.position = {x, y};
  ++d.moves;
  return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL show) {
  ImageListDrag& d = Drag();
  if (!d.dragging) return FALSE;
  d.shown = show != FALSE;
  return TRUE;
}

BOOL ImageList_DragLeave(HWND) {
  ImageListDrag& d = Drag();
  d.shown = false;
  d.lock = nullptr;
  return TRUE;
}

void ImageList_EndDrag() { Drag() = {}; }

ImageListDrag ImageList_GetDrag() { return Drag(); }
