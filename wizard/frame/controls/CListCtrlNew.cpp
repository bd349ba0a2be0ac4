#include "wizard/frame/controls/CListCtrlNew.h"

#include "platform/win32/virtual_keys.h"
#include "wizard/frame/controls/ListCellGeometry.h"
#include "wizard/frame/engine/CListItemData.h"

BEGIN_MESSAGE_MAP(CListCtrlNew, CListCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_NOTIFY_REFLECT(LVN_DELETEITEM, &CListCtrlNew::OnDeleteItem)
  ON_COMMAND(kChoiceButtonId, &CListCtrlNew::OnChoiceButton)
  ON_WM_RBUTTONDOWN()
  ON_NOTIFY_REFLECT(NM_KILLFOCUS, &CListCtrlNew::OnKillFocusReflect)
  ON_NOTIFY(HDN_ITEMCHANGEDA, 0, &CListCtrlNew::OnHeaderItemChanged)
  ON_NOTIFY(HDN_ITEMCHANGEDW, 0, &CListCtrlNew::OnHeaderItemChanged)
  ON_NOTIFY(HDN_ITEMCHANGINGA, 0, &CListCtrlNew::OnHeaderItemChanged)
  ON_NOTIFY(HDN_ITEMCHANGINGW, 0, &CListCtrlNew::OnHeaderItemChanged)
  ON_NOTIFY(HDN_BEGINTRACKA, 0, &CListCtrlNew::OnHeaderBeginTrack)
  ON_NOTIFY(HDN_BEGINTRACKW, 0, &CListCtrlNew::OnHeaderBeginTrack)
END_MESSAGE_MAP()

CListCtrlNew::CListCtrlNew() = default;

CListCtrlNew::~CListCtrlNew() {
  if (choiceButton.m_hWnd) choiceButton.DestroyWindow();
}

void CListCtrlNew::SetTabNavigation(bool enable, bool nextColumn) {
  tabNavigation = enable;
  tabNextColumn = nextColumn;
}

void CListCtrlNew::PreSubclassWindow() {
  choiceButton.Create(this, OBM_COMBO, CRect(0, 0, 0, 0), kChoiceButtonId);
  CListCtrl::PreSubclassWindow();
}

std::vector<int> CListCtrlNew::ColumnWidths() const {
  std::vector<int> widths;
  for (int i = 0;; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    if (!GetColumn(i, &column)) break;
    widths.push_back(column.cx);
  }
  return widths;
}

bool CListCtrlNew::LabelRect(int row, RECT* label) const {
  return row >= 0 && GetItemRect(row, label, LVIR_LABEL);
}

CListItemData* CListCtrlNew::Descriptor(int row, int column) const {
  if (row < 0 || column < 0) return nullptr;
  auto* head = reinterpret_cast<CListItemData*>(GetItemData(row));
  return head ? head->ForColumn(static_cast<uint32_t>(column)) : nullptr;
}

BOOL CListCtrlNew::AskOwner(UINT message, WPARAM wParam, LPARAM lParam, DWORD time) {
  CWnd* owner = GetParent();
  if (!owner) return FALSE;
  MSG msg{};
  msg.hwnd = m_hWnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = time;
  return owner->PreTranslateMessage(&msg);
}

CRect CListCtrlNew::ButtonRect() const {
  CRect r;
  choiceButton.GetWindowRect(&r);
  ScreenToClient(&r);
  return r;
}

void CListCtrlNew::PlaceButtonAt(int left, int top, bool show) {
  choiceButton.SetWindowPos(nullptr, left, top, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  if (show) choiceButton.Invalidate(TRUE);
}

void CListCtrlNew::HideChoiceButton() {
  if (choiceButton.m_hWnd) choiceButton.ShowWindow(SW_HIDE);
  choiceColumn = 0;
}

void CListCtrlNew::DropEditor() {
  if (!editing) return;
  editing = false;
  cellEditor.DestroyWindow();
}

bool CListCtrlNew::EditCell(int row, int column, const POINT* click) {
  if (editing) {
    DropEditor();
    return false;
  }
  CListItemData* cell = Descriptor(row, column);
  if (!cell) return false;
  // Column 0 never shows an arrow.
  if (column == 0) cell->flags &= ~CellFlag::kChoices;
  EnsureVisible(row, FALSE);
  RECT label;
  if (!LabelRect(row, &label)) return false;
  const std::vector<int> widths = ColumnWidths();
  if (column >= static_cast<int>(widths.size())) return false;
  const int offset = ColumnOffset(widths, column);
  const int width = widths[static_cast<size_t>(column)];

  RECT button{};
  const bool choices = (cell->flags & CellFlag::kChoices) != 0;
  if (choices) {
    button = ChoiceButtonRect(label, offset, width);
    choiceColumn = column;
    if (choiceButton.m_hWnd) {
      choiceButton.SetWindowPos(nullptr, button.left, button.top, button.right - button.left,
                                button.bottom - button.top, SWP_NOZORDER | SWP_SHOWWINDOW);
    } else if (!choiceButton.Create(this, OBM_COMBO, button, kChoiceButtonId)) {
      return false;
    }
    if (click && click->x >= button.left && click->x <= button.right) {
      PostMessage(WM_COMMAND, kChoiceButtonId, reinterpret_cast<LPARAM>(m_hWnd));
      return true;
    }
  } else {
    choiceColumn = 0;
  }
  if (!(cell->flags & CellFlag::kEditable)) return false;

  const RECT r = CellEditorRect(label, offset, width, (editorStyle & WS_BORDER) != 0, choices ? &button : nullptr);
  if (!cellEditor.Create(editorStyle, r, this, kCellEditorId)) return false;
  cellEditor.SetInPlace(true);
  cellEditor.SetTabNext(true);
  cellEditor.SetInputKind(cell->inputKind);
  if (cellTextLimit > 0) cellEditor.SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(cellTextLimit));
  cellEditor.SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), TRUE);
  previousText = GetItemText(row, column);
  cellEditor.SetWindowText(previousText);
  editing = true;
  editRow = row;
  editColumn = column;
  cellEditor.SetFocus();
  cellEditor.SetSel(0, -1);
  return true;
}

void CListCtrlNew::EndEdit() {
  if (!editing) return;
  CString text;
  cellEditor.GetWindowText(text);
  editing = false;
  cellEditor.DestroyWindow();
  if (editRow != -1) {
    SetItemText(editRow, editColumn, text);
    if (!AskOwner(kCellChanged, static_cast<WPARAM>(editColumn), editRow, kTypedText))
      SetItemText(editRow, editColumn, previousText);
  }
  previousText.Empty();
}

void CListCtrlNew::OnLButtonDown(UINT, CPoint point) {
  if (editing) SetFocus();
  HideChoiceButton();
  LVHITTESTINFO hit{};
  hit.pt = point;
  editRow = SubItemHitTest(&hit);
  RECT label;
  if (editRow < 0 || !LabelRect(editRow, &label)) {
    Default();
    return;
  }
  const int column = ColumnAt(ColumnWidths(), label.left, point.x);
  if (column < 0) {
    if (editing) SetFocus();
    Default();
    return;
  }
  if (column == 0) {
    // A first click selects the row; one on a selected row edits it.
    const bool selected = (GetItemState(editRow, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    const int row = editRow;
    Default();
    if (selected) EditCell(row, 0, nullptr);
    return;
  }
  const int row = editRow;
  Default();
  EditCell(row, column, &point);
}

void CListCtrlNew::OnEditorFocusLost(const MSG& msg) {
  // An editor closed without a commit (Esc, scrolling, another cell) has
  // nothing to tell and no click to pass on.
  if (!editing) {
    endByKey = false;
    return;
  }
  const bool byKey = endByKey;
  if (!byKey && msg.lParam != 1) {
    editing = false;
    cellEditor.DestroyWindow();
    previousText.Empty();
    ClickThrough(msg.pt);
  } else {
    EndEdit();
    if (!byKey) ClickThrough(msg.pt);
  }
  endByKey = false;
  SetFocus();
}

void CListCtrlNew::ClickThrough(POINT point) {
  RECT label;
  if (!LabelRect(editRow, &label)) return;
  const std::vector<int> widths = ColumnWidths();
  if (editColumn < 0 || editColumn >= static_cast<int>(widths.size())) return;
  const int right = label.left + ColumnOffset(widths, editColumn + 1);
  const int height = label.bottom - label.top;
  // The arrow of the row edited, not the same place in another row.
  const bool onArrow = point.x >= right - height && point.x <= right && point.y >= label.top && point.y < label.bottom;
  if (onArrow && choiceButton.m_hWnd && choiceButton.IsWindowVisible())
    PostMessage(WM_COMMAND, kChoiceButtonId, reinterpret_cast<LPARAM>(m_hWnd));
}

void CListCtrlNew::TabToNextCell() {
  endByKey = true;
  SetFocus();
  const int from = editRow, fromColumn = editColumn;
  if (from >= 0) {
    SetItemState(from, 0, LVIS_SELECTED | LVIS_FOCUSED);
    RedrawItems(from, from);
  }
  const int rows = GetItemCount();
  const int columns = static_cast<int>(ColumnWidths().size());
  auto typed = [this](Cell at) {
    const CListItemData* cell = Descriptor(at.row, at.column);
    return cell && (cell->flags & CellFlag::kEditable);
  };
  for (Cell at{from, fromColumn};;) {
    at = NextEditableCell(rows, columns, at, tabNextColumn, typed);
    if (at.row < 0) return;  // past the end: no row stays selected
    SetItemState(at.row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    RedrawItems(at.row, at.row);
    if (EditCell(at.row, at.column, nullptr)) return;
    SetItemState(at.row, 0, LVIS_SELECTED | LVIS_FOCUSED);
  }
}

bool CListCtrlNew::DeleteFocusedRow() {
  const int row = GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED);
  if (row < 0) return false;
  if (!AskOwner(kDeleteRowAsked, 0, row)) return false;
  // A cell of the row going away is not committed into the row after it.
  if (row == editRow) {
    DropEditor();
    HideChoiceButton();
    editRow = editColumn = -1;
  }
  DeleteItem(row);
  const int count = GetItemCount();
  if (count > 0) {
    const int next = row < count ? row : count - 1;
    SetItemState(next, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  SetFocus();
  return true;
}

BOOL CListCtrlNew::PreTranslateMessage(MSG* msg) {
  switch (msg->message) {
    case kEditEnter:
    case kEditEscape:
    case kEditTab:
      if (!editing || msg->hwnd != cellEditor.m_hWnd) break;
      if (msg->message == kEditEscape) {
        DropEditor();
      } else if (msg->message == kEditTab && tabNavigation) {
        TabToNextCell();
      } else {
        endByKey = true;
        SetFocus();
      }
      return TRUE;
    case kEditFocusLost:
      if (msg->hwnd != cellEditor.m_hWnd) break;
      OnEditorFocusLost(*msg);
      return TRUE;
    case kChoiceClicked: OnChoiceClicked(static_cast<int>(msg->lParam)); return TRUE;
    case WM_KEYDOWN:
      if (msg->wParam == VK_ESCAPE) HideChoiceButton();
      if (msg->wParam == VK_DELETE && deleteRowsOnKey && DeleteFocusedRow()) return TRUE;
      break;
    default: break;
  }
  return CListCtrl::PreTranslateMessage(msg);
}

void CListCtrlNew::OnChoiceButton() {
  popup.Close();
  SetFocus();
  RECT label;
  // Column 0 has no arrow: a stray command opens nothing there.
  if (choiceColumn == 0 || !LabelRect(editRow, &label)) return;
  const std::vector<int> widths = ColumnWidths();
  CRect r(label.left + ColumnOffset(widths, choiceColumn), label.bottom, ButtonRect().right,
          label.bottom + kChoiceListHeight);
  if (!choiceList.Create(WS_VSCROLL | WS_BORDER, r, this, kChoiceListId)) return;
  if (!popup.Create(this, false)) {
    choiceList.DestroyWindow();
    return;
  }
  choiceList.SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
  popup.Attach(&choiceList);
  if (CListItemData* cell = Descriptor(editRow, choiceColumn); cell && cell->fill) cell->fill(&choiceList, cell->param);
  const int count = choiceList.GetCount();
  if (count > 0) {
    const int height = ChoiceListHeight(count, choiceList.GetItemHeight(0));
    if (height != kChoiceListHeight) {
      popup.SetWindowPos(nullptr, 0, 0, r.Width(), height, SWP_NOMOVE | SWP_NOZORDER);
      choiceList.SetWindowPos(nullptr, 0, 0, r.Width(), height, SWP_NOMOVE | SWP_NOZORDER);
    }
    choiceList.SelectString(-1, GetItemText(editRow, choiceColumn));
  }
  popup.ShowWindow(SW_SHOW);
  choiceList.ShowWindow(SW_SHOW);
  choiceList.SetFocus();
}

void CListCtrlNew::OnChoiceClicked(int entry) {
  if (!choiceList.m_hWnd || editRow < 0 || choiceColumn == 0 || entry < 0 || entry >= choiceList.GetCount()) return;
  CString text;
  choiceList.GetText(entry, text);
  SetItemText(editRow, choiceColumn, text);
  // A choice is never taken back.
  AskOwner(kCellChanged, static_cast<WPARAM>(choiceColumn), editRow, static_cast<DWORD>(entry));
}

void CListCtrlNew::OnHScroll(UINT, UINT, CScrollBar*) {
  DropEditor();
  Default();
  RECT label;
  if (!choiceButton.m_hWnd || choiceColumn == 0 || !LabelRect(editRow, &label)) return;
  const int right = label.left + ColumnOffset(ColumnWidths(), choiceColumn + 1);
  const CRect button = ButtonRect();
  const int left = right - button.Height();
  CRect window;
  GetWindowRect(&window);
  ScreenToClient(&window);
  PlaceButtonAt(left, button.top, left <= window.right);
}

void CListCtrlNew::OnVScroll(UINT, UINT, CScrollBar*) {
  DropEditor();
  Default();
  RECT label;
  if (!choiceButton.m_hWnd || choiceColumn == 0 || !LabelRect(editRow, &label)) return;
  CRect header;
  if (CWnd* h = GetHeaderCtrl(); h && h->m_hWnd) {
    h->GetWindowRect(&header);
    ScreenToClient(&header);
  }
  PlaceButtonAt(ButtonRect().left, label.top, label.top >= header.bottom + 1);
}

void CListCtrlNew::OnHeaderItemChanged(NMHDR* header, LRESULT* result) {
  Default();
  *result = 0;
  auto* nm = reinterpret_cast<NMHEADERA*>(header);
  if (choiceButton.m_hWnd && choiceColumn != 0 && nm->iItem <= choiceColumn) {
    const std::vector<int> widths = ColumnWidths();
    int right = ColumnOffset(widths, choiceColumn + 1);
    if (nm->iItem == choiceColumn && nm->pitem && (nm->pitem->mask & HDI_WIDTH))
      right = ColumnOffset(widths, choiceColumn) + nm->pitem->cxy;
    // Measured from the row's label, so the horizontal scroll counts as it
    // does when the list scrolls.
    RECT label;
    const int origin = LabelRect(editRow, &label) ? label.left : 0;
    const CRect button = ButtonRect();
    const int left = origin + right - button.Height();
    CRect client;
    GetClientRect(&client);
    PlaceButtonAt(left, button.top, left < client.right);
  }
  if (editRow >= 0) RedrawItems(editRow, editRow);
}

void CListCtrlNew::OnHeaderBeginTrack(NMHDR*, LRESULT* result) {
  DropEditor();
  Default();
  *result = 0;
}

void CListCtrlNew::OnDeleteItem(NMHDR* header, LRESULT* result) {
  delete reinterpret_cast<CListItemData*>(reinterpret_cast<NMLISTVIEW*>(header)->lParam);
  *result = 0;
}

void CListCtrlNew::OnKillFocusReflect(NMHDR*, LRESULT* result) { *result = 0; }

void CListCtrlNew::OnRButtonDown(UINT, CPoint) {
  HideChoiceButton();
  Default();
}
