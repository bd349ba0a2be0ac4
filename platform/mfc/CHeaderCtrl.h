// The header of a list view ("SysHeader32").
#pragma once

#include "platform/mfc/CWnd.h"
#include "platform/win32/common_controls.h"

class CHeaderCtrl : public CWnd {
  DECLARE_DYNAMIC(CHeaderCtrl)

 public:
  int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
  BOOL GetItemRect(int index, LPRECT rect) const {
    return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)));
  }
  BOOL GetItem(int index, HDITEMA* item) const {
    return static_cast<BOOL>(SendMessage(HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)));
  }
  BOOL SetItem(int index, HDITEMA* item) {
    return static_cast<BOOL>(SendMessage(HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)));
  }
};
