// An owner-drawn button showing a bitmap (the arrow of the in-place
// editing list's cells). A click is posted to the parent as WM_COMMAND
// with the button's id and the parent's own window, so the parent acts on
// it after the click is over.
#pragma once

#include "platform/mfc/CButton.h"
#include "platform/win32/gdi.h"

class CButtonNew : public CButton {
 public:
  CButtonNew() = default;
  ~CButtonNew() override;

  using CButton::Create;
  // Loads the bitmap (a system one such as OBM_COMBO first, then one of
  // the current resource module) and creates the button. False, keeping
  // no bitmap, when the bitmap cannot be had or the window not made.
  BOOL Create(CWnd* parent, UINT bitmapId, const RECT& rect, UINT id);

  // The bitmap centred (one pixel right and down while pressed) in a 3-D
  // frame, raised, or sunken while pressed.
  void DrawItem(LPDRAWITEMSTRUCT item) override;

  HBITMAP bitmap = nullptr;
  int bitmapWidth = 0;
  int bitmapHeight = 0;

 protected:
  afx_msg void OnClicked();

  DECLARE_MESSAGE_MAP()

 private:
  void DeleteBitmap();
};
