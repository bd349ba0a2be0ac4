#include "wizard/dialogs/CDefList.h"

#include <string>

#include "platform/mfc/CScrollBar.h"
#include "platform/win32/virtual_keys.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/ParamStatus.h"

namespace {

constexpr UINT kEditorId = 1000;
constexpr int kNameColumn = 70;

}  // namespace

BEGIN_MESSAGE_MAP(CDefList, CListCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_KEYDOWN()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
END_MESSAGE_MAP()

CDefList::~CDefList() = default;

void CDefList::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  CRect client;
  GetClientRect(&client);
  InsertColumn(0, "", LVCFMT_LEFT, kNameColumn);
  InsertColumn(1, "", LVCFMT_LEFT, client.Width() - kNameColumn - 20);
  for (const char* row : {"X", "Y", "Z"}) InsertItem(GetItemCount(), row);
}

CValueParam* CDefList::ParamOf(int row) const {
  return row < 3 ? nullptr : reinterpret_cast<CValueParam*>(GetItemData(row));
}

void CDefList::AddParamRow(CValueParam* param) {
  if (!param) return;
  const char* label = param->GetText(ParamText::kLabel);
  const char* name = param->GetText(ParamText::kName);
  if (!label || !name) return;
  for (int row = 3; row < GetItemCount(); ++row)
    if (ParamOf(row) == param) return;
  const std::string text = std::string(label) + " (" + name + ")";
  const int row = InsertItem(LVIF_TEXT | LVIF_PARAM, GetItemCount(), text.c_str(), 0, 0, 0,
                             reinterpret_cast<LPARAM>(param));
  if (row < 0) return;
  const char* value = param->GetText(ParamText::kValue);
  SetItemText(row, 1, value ? value : "");
}

void CDefList::RemoveParamRow(const CValueParam* param) {
  for (int row = 3; row < GetItemCount(); ++row) {
    if (ParamOf(row) != param) continue;
    if (editing && editRow == row) DropEditor();
    DeleteItem(row);
    return;
  }
}

void CDefList::RemoveUnmarkedRows() {
  for (int row = 3; row < GetItemCount();) {
    const CValueParam* param = ParamOf(row);
    if (param && !(param->status & ParamStatus::kComputed)) {
      if (editing && editRow == row) DropEditor();
      DeleteItem(row);
    } else {
      ++row;
    }
  }
}

void CDefList::StartEdit(int row) {
  if (editing) {
    DropEditor();
    return;
  }
  RECT label;
  if (!GetItemRect(row, &label, LVIR_LABEL)) return;
  const int left = GetColumnWidth(0) + 1;
  const CRect r(left, label.top - 1, left + GetColumnWidth(1) - 2, label.bottom);
  if (!editor.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, r, this, kEditorId)) return;
  editor.SetInPlace(true);
  editor.SetTabNext(true);
  editor.SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), TRUE);
  editor.SetWindowText(GetItemText(row, 1));
  editing = true;
  editRow = row;
  editor.SetFocus();
  editor.SetSel(0, -1);
}

void CDefList::DropEditor() {
  if (!editing) return;
  editing = false;
  editor.DestroyWindow();
}

void CDefList::Commit() {
  if (!editing) return;
  CString text;
  editor.GetWindowText(text);
  editing = false;
  editor.DestroyWindow();
  SetItemText(editRow, 1, text);
  CWnd* owner = GetParent();
  if (!owner) return;
  MSG msg{};
  msg.hwnd = m_hWnd;
  msg.message = kDefinitionCommitted;
  msg.lParam = editRow;
  owner->PreTranslateMessage(&msg);
}

void CDefList::OnLButtonDown(UINT, CPoint point) {
  Default();
  if (point.x < GetColumnWidth(0)) return;
  LVHITTESTINFO hit{};
  hit.pt = point;
  const int row = SubItemHitTest(&hit);
  if (row >= 0) StartEdit(row);
}

void CDefList::OnKeyDown(UINT key, UINT, UINT) {
  Default();
  if (key != VK_F2) return;
  const int row = GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED);
  if (row >= 0) StartEdit(row);
}

void CDefList::OnHScroll(UINT, UINT, CScrollBar*) {
  DropEditor();
  Default();
}

void CDefList::OnVScroll(UINT, UINT, CScrollBar*) {
  DropEditor();
  Default();
}

BOOL CDefList::PreTranslateMessage(MSG* msg) {
  if (editing && msg->hwnd == editor.m_hWnd) {
    switch (msg->message) {
      case kEditEnter:
      case kEditTab: SetFocus(); return TRUE;
      case kEditEscape: DropEditor(); return TRUE;
      case kEditFocusLost: Commit(); return TRUE;
      default: break;
    }
  }
  return CListCtrl::PreTranslateMessage(msg);
}
