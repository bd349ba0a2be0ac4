// One control of a resizable dialog: its rectangle in the dialog and how it
// follows the dialog's size (an anchor rule, AnchorRule.h), or, for an
// edge-linked entry, which of its edges it shares with a neighbour.
#pragma once

#include <cstdint>

#include "platform/mfc/CRect.h"
#include "platform/mfc/CSize.h"
#include "platform/win32/window_api.h"

class CWnd;

// Plain value kept in resizeWnd's array.
struct resizeCtrl {
  resizeCtrl();

  // Fills the entry from the control's current rectangle; the registered
  // size is also the control's minimum for edge-linked resizing.
  void Set(CWnd* control, uint32_t anchor, CWnd* link, uint32_t group);
  // Applies the anchor rule for a client size change. With redraw the
  // control is moved too: queued on defer when given, else moved at once
  // and its old and new places repainted on the parent.
  void Move(int dx, int dy, bool redraw, HDWP defer);

  CWnd* control;
  CRect rect;         // in the parent's client coordinates
  uint32_t anchor;
  CSize baseSize;     // width and height when registered
  CWnd* link;         // edge-linked: the control across the shared edge
  uint32_t group;     // 0 anchored; 1 top, 2 left, 3 bottom, 4 right edge moves
  // The windows of control and link when registered. Entries are compared
  // and moved by these: the framework object handed in may be a temporary
  // one (GetDlgItem) that goes with its window while the entry stays.
  HWND window;
  HWND linkWindow;
};
