// Resizable dialogs: the dialog embeds a resizeWnd, records its sizes and
// registers its controls while it initialises, forwards its size and
// minimum-size messages, and saves and restores its layout (position,
// size, dots per inch, show state, sizes of edge-linked controls) in a
// settings store:
//
//   OnInitDialog:  InitSizes(this); AddControl(...) for each control;
//                  RestoreWindowLayout(this, this, &store, key, true)
//   WM_SIZE:       OnSize(this, cx, cy, true, nullptr)
//   WM_GETMINMAXINFO: OnGetMinMaxInfo(info)
//   closing:       SaveWindowLayout(this, this, &store, key)
#pragma once

#include <cstdint>

#include "common/ini_store.h"
#include "common/resizeCtrl.h"
#include "platform/mfc/CArray.h"
#include "platform/mfc/CSize.h"
#include "platform/win32/window_styles.h"

class CWnd;

class resizeWnd {
 public:
  resizeWnd();

  // Records the client size, the window size (the minimum from now on) and
  // the placement.
  void InitSizes(CWnd* dialog);
  // Registers an anchored control (null: nothing); with replace, the
  // entries already held for its window go first.
  void AddControl(CWnd* control, uint32_t anchor, bool replace);
  // Registers every direct child of the dialog with the anchor its place
  // beside the pivot control gives it (AnchorOfChild, ChildAnchors.h),
  // keeping entries already held. False when the dialog or the pivot has
  // no window.
  bool AddAllControls(CWnd* dialog, CWnd* pivot);
  // Lays the controls out for the new client size (nothing before
  // InitSizes or while the dialog is minimised).
  void OnSize(CWnd* dialog, int cx, int cy, bool redraw, HDWP defer);
  // The dialog cannot be made smaller than at initialisation.
  void OnGetMinMaxInfo(MINMAXINFO* info);
  // Moves the shared edge of an edge-linked entry (group 1-4) and of every
  // entry linked to it by *delta, reduced as needed so that no control
  // becomes smaller than its registered size; nothing moves when no such
  // delta exists. *delta comes back as applied.
  void ResizeLinked(CWnd* dialog, resizeCtrl* entry, int* delta, HDWP defer);
  // Grows edge-linked controls that fell below their registered size back
  // to it, at their neighbours' expense.
  void CheckLinkedMinimum(CWnd* dialog, HDWP defer);

  CSize clientSize;     // at the last layout; (-1, -1) until recorded
  CSize minWindowSize;  // at initialisation; (-1, -1) until recorded
  CArray<resizeCtrl> anchors;
  WINDOWPLACEMENT placement;

 private:
  // Gives every other entry of the same window the entry's rectangle.
  void ShareRect(INT_PTR index, bool linkedOnly);
};

// Writes the dialog's layout under key (a text, or a resource id made with
// MAKEINTRESOURCE: "#<id>_WINDOW_SIZE"). False when the store fails.
bool SaveWindowLayout(resizeWnd* layout, CWnd* dialog, ini_store* store, const char* key);
// Moves (and with show, shows) the dialog as saved under key, kept on the
// screen and not smaller than its minimum, and gives the edge-linked
// controls their saved sizes. False, leaving the dialog as it is, when
// nothing usable is saved: no value, fewer than 5 entries, or another dots
// per inch than the dialog's display has now.
bool RestoreWindowLayout(resizeWnd* layout, CWnd* dialog, ini_store* store, const char* key, bool show);
