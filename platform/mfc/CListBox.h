// List boxes ("ListBox").
#pragma once

#include "platform/mfc/CString.h"
#include "platform/mfc/CWnd.h"
#include "platform/win32/control_messages.h"

class CListBox : public CWnd {
  DECLARE_DYNAMIC(CListBox)

 public:
  CListBox() = default;
  virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  int AddString(LPCSTR text) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
  int InsertString(int index, LPCSTR text) {
    return static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
  }
  int DeleteString(UINT index) { return static_cast<int>(SendMessage(LB_DELETESTRING, index)); }
  void ResetContent() { SendMessage(LB_RESETCONTENT); }
  int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
  int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
  int SetCurSel(int index) { return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index))); }
  int GetText(int index, LPSTR buffer) const {
    return static_cast<int>(SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
  }
  void GetText(int index, CString& text) const;
  int GetTextLen(int index) const { return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index))); }
  int FindString(int start, LPCSTR text) const {
    return static_cast<int>(SendMessage(LB_FINDSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text)));
  }
  int FindStringExact(int start, LPCSTR text) const {
    return static_cast<int>(SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text)));
  }
  int SelectString(int start, LPCSTR text) {
    return static_cast<int>(SendMessage(LB_SELECTSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text)));
  }
  DWORD_PTR GetItemData(int index) const {
    return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index)));
  }
  int SetItemData(int index, DWORD_PTR data) {
    return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
  }
  void* GetItemDataPtr(int index) const { return reinterpret_cast<void*>(GetItemData(index)); }
  int SetItemDataPtr(int index, void* data) { return SetItemData(index, reinterpret_cast<DWORD_PTR>(data)); }
  int GetSel(int index) const { return static_cast<int>(SendMessage(LB_GETSEL, static_cast<WPARAM>(index))); }
  int SetSel(int index, BOOL select = TRUE) {
    return static_cast<int>(SendMessage(LB_SETSEL, static_cast<WPARAM>(select), index));
  }
  int GetSelCount() const { return static_cast<int>(SendMessage(LB_GETSELCOUNT)); }
  int GetSelItems(int max, int* items) const {
    return static_cast<int>(SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(items)));
  }
  int GetItemHeight(int index) const { return static_cast<int>(SendMessage(LB_GETITEMHEIGHT, static_cast<WPARAM>(index))); }
  int SetItemHeight(int index, UINT height) {
    return static_cast<int>(SendMessage(LB_SETITEMHEIGHT, static_cast<WPARAM>(index), MAKELPARAM(height, 0)));
  }
  int GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }
  int SetTopIndex(int index) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(index))); }
  int GetItemRect(int index, LPRECT rect) const {
    return static_cast<int>(SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)));
  }
  // The item nearest to a client point; outside tells whether it lies
  // outside every item.
  UINT ItemFromPoint(CPoint point, BOOL& outside) const {
    const DWORD r = static_cast<DWORD>(SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y)));
    outside = HIWORD(r) != 0;
    return LOWORD(r);
  }
  int SetCaretIndex(int index, BOOL scroll = TRUE) {
    return static_cast<int>(SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(index), scroll));
  }
  int GetCaretIndex() const { return static_cast<int>(SendMessage(LB_GETCARETINDEX)); }
};
