// Scroll bars ("ScrollBar") and trackbars ("msctls_trackbar32", the
// framework's slider).
#pragma once

#include "platform/mfc/CWnd.h"
#include "platform/win32/common_controls.h"

class CScrollBar : public CWnd {
  DECLARE_DYNAMIC(CScrollBar)
};

class CSliderCtrl : public CWnd {
  DECLARE_DYNAMIC(CSliderCtrl)

 public:
  virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
  void SetPos(int position) { SendMessage(TBM_SETPOS, TRUE, position); }
  void SetRange(int minimum, int maximum, BOOL redraw = FALSE) {
    SendMessage(TBM_SETRANGE, static_cast<WPARAM>(redraw), MAKELPARAM(minimum, maximum));
  }
  int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
  int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
  void SetTicFreq(int frequency) { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(frequency)); }
  int SetPageSize(int size) { return static_cast<int>(SendMessage(TBM_SETPAGESIZE, 0, size)); }
  int SetLineSize(int size) { return static_cast<int>(SendMessage(TBM_SETLINESIZE, 0, size)); }
};
