// Dragging an image list's image over windows, as the list controls do
// while a row is dragged. Headless nothing is drawn: the calls keep the
// drag's state, which tests read back.
#pragma once

#include "platform/win32/common_controls.h"

// Starts a drag of one image; the hot spot is the point of the image that
// follows the pointer. FALSE while another drag is on or for an image the
// list does not have.
BOOL ImageList_BeginDrag(HIMAGELIST list, int index, int hotSpotX, int hotSpotY);
// Locks the drag to a window and shows the image at (x, y), relative to the
// window's top-left corner. FALSE without a drag.
BOOL ImageList_DragEnter(HWND lock, int x, int y);
// Moves the image (relative to the locked window). FALSE without a drag.
BOOL ImageList_DragMove(int x, int y);
// Shows or hides the image without unlocking the window.
BOOL ImageList_DragShowNolock(BOOL show);
// Hides the image and unlocks the window.
BOOL ImageList_DragLeave(HWND lock);
// Ends the drag.
void ImageList_EndDrag();

// What the drag does now.
struct ImageListDrag {
  bool dragging = false;
  HIMAGELIST list = nullptr;
  int index = -1;
  POINT hotSpot{};
  HWND lock = nullptr;  // the window entered, null when left
  bool shown = false;
  POINT position{};     // last position, relative to the locked window
  int moves = 0;        // ImageList_DragMove calls since the drag began
};
ImageListDrag ImageList_GetDrag();
