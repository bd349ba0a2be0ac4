// The dialog actions on the cells and rows of a list view: edit-cell,
// choose-cell and drag-row (dialog_actions.h).
#include <algorithm>
#include <string>

#include "platform/win32/common_controls.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/driver/dialog_actions.h"
#include "platform/win32/driver/dialog_targets.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/headless_input.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/modal_loop.h"
#include "platform/win32/driver/ui_driver.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/window_api.h"

using namespace dialog_targets;

namespace {

using Kind = DialogAction::Kind;

int Rows(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

int Columns(HWND list) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

bool IsListView(HWND window) { return ClassOf(window) == "syslistview32"; }

bool CheckRow(HWND list, int id, int row, std::string* error) {
  if (!IsListView(list)) return Fail(error, "control " + std::to_string(id) + " has no rows");
  if (row < 0 || row >= Rows(list)) return Fail(error, "control " + std::to_string(id) + " has no row " + std::to_string(row));
  return true;
}

// The cell's rectangle in the list's client coordinates, scrolled into
// view: column 0 from its label, the others their whole width.
RECT CellRect(HWND list, int row, int column) {
  SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  LVCOLUMNA col{};
  col.mask = LVCF_SUBITEM;
  SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
  RECT r{};
  r.top = column == 0 ? 0 : col.iSubItem;
  r.left = column == 0 ? LVIR_LABEL : LVIR_BOUNDS;
  SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  return r;
}

// A cell's arrow square lies at its right end, as wide as the row is high:
// a click for typing keeps left of it.
POINT TypingPoint(const RECT& cell) {
  const int height = cell.bottom - cell.top;
  const int width = cell.right - cell.left;
  const int x = width > height + 4 ? cell.left + (width - height) / 2 : cell.left + std::min(2, width / 2);
  return {x, Midpoint(cell.top, cell.bottom)};
}

POINT ArrowPoint(const RECT& cell) {
  const int height = cell.bottom - cell.top;
  return {cell.right - 1 - height / 2, Midpoint(cell.top, cell.bottom)};
}

DialogInfo InfoOf(HWND dialog) {
  DialogInfo info;
  info.window = dialog;
  GetDialogTemplateOf(dialog, &info.templateId, &info.templateName);
  char title[512] = "";
  GetWindowTextA(dialog, title, sizeof title);
  info.title = title;
  info.depth = std::max(1, ModalLoopDepth());
  return info;
}

// The second half of choose-cell, once the arrow's click is handled: the
// choice list is the window that took the focus.
void ClickEntry(HWND dialog, const DialogAction& a) {
  std::string error;
  HWND box = GetFocus();
  if (!box || ClassOf(box) != "listbox") {
    error = "no choice list opened";
  } else if (a.entry >= static_cast<int>(SendMessageA(box, LB_GETCOUNT, 0, 0))) {
    error = "the choice list has no entry " + std::to_string(a.entry);
  } else {
    ClickAt(box, ListBoxPoint(box, a.entry), false);
    return;
  }
  if (!IsWindow(dialog)) return;
  const DialogInfo info = InfoOf(dialog);
  UiEvent event;
  event.kind = UiEvent::Kind::DialogAction;
  event.dialog = info;
  event.detail = a.Describe() + ": " + error;
  event.failed = true;
  RecordUiEvent(std::move(event));
  CurrentUiDriver().DialogActionFailed(info, a, error);
}

// Where a dragged row is let go: a row's middle, or below the last row.
POINT DropPoint(HWND list, int row) {
  if (row >= 0) return RowPoint(list, row, false);
  const int rows = Rows(list);
  if (rows == 0) return {headless::kListViewRowHeight, headless::kListViewHeaderHeight + headless::kListViewRowHeight / 2};
  const POINT last = RowPoint(list, rows - 1, false);
  return {last.x, last.y + headless::kListViewRowHeight};
}

}  // namespace

bool ApplyCellAction(HWND dialog, HWND list, const DialogAction& a, std::string* error) {
  if (!CheckRow(list, a.control, a.index, error)) return false;
  if (a.kind == Kind::DragRow) {
    HWND dropList = list;
    if (a.dropControl && !(dropList = Control(dialog, a.dropControl, error))) return false;
    if (!IsListView(dropList)) return Fail(error, "control " + std::to_string(a.dropControl) + " has no rows");
    if (a.dropRow >= 0 && !CheckRow(dropList, a.dropControl ? a.dropControl : a.control, a.dropRow, error)) return false;
    const POINT from = RowPoint(list, a.index, false);
    POINT to = DropPoint(dropList, a.dropRow);
    MapWindowPoints(dropList, list, &to, 1);
    // Away from the press by more than the drag distance, then to the drop.
    const POINT away{from.x, from.y + GetSystemMetrics(SM_CYDRAG) + 1};
    headless::QueueMouseButton(list, from, headless::MouseButton::Left, true);
    headless::QueueMouseMove(list, away);
    headless::QueueMouseMove(list, to);
    headless::QueueMouseButton(list, to, headless::MouseButton::Left, false);
    return true;
  }
  if (a.column < 0 || a.column >= Columns(list))
    return Fail(error, "control " + std::to_string(a.control) + " has no column " + std::to_string(a.column));
  const RECT cell = CellRect(list, a.index, a.column);
  if (a.kind == Kind::EditCell) {
    ClickAt(list, TypingPoint(cell), false);
    // The editor opens with its whole text selected: typing replaces it,
    // Backspace empties it.
    if (a.text.empty())
      headless::QueueKey(VK_BACK);
    else
      headless::QueueText(a.text);
    headless::QueueKey(VK_RETURN);
    return true;
  }
  ClickAt(list, ArrowPoint(cell), false);
  headless::QueueStep([dialog, a] { ClickEntry(dialog, a); });
  return true;
}
