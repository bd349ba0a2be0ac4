#include "wizard/frame/controls/ListCellGeometry.h"

int ColumnOffset(const std::vector<int>& widths, int column) {
  int offset = 0;
  for (int i = 0; i < column && i < static_cast<int>(widths.size()); ++i) offset += widths[static_cast<size_t>(i)];
  return offset;
}

int ColumnAt(const std::vector<int>& widths, int labelLeft, int x) {
  int left = labelLeft;
  for (size_t i = 0; i < widths.size(); ++i) {
    if (x >= left && x <= left + widths[i]) return static_cast<int>(i);
    left += widths[i];
  }
  return -1;
}

RECT ChoiceButtonRect(const RECT& label, int offset, int width) {
  const int right = label.left + offset + width - 1;
  return {right - (label.bottom - label.top), label.top, right, label.bottom};
}

RECT CellEditorRect(const RECT& label, int offset, int width, bool border, const RECT* button) {
  RECT r{};
  r.left = label.left + offset - 2;
  r.right = r.left + width - 2;
  r.top = label.top;
  r.bottom = border ? label.bottom : label.bottom - 1;
  if (button) r.right = button->left;
  return r;
}

int ChoiceListHeight(int count, int itemHeight) {
  const long long height = static_cast<long long>(count) * itemHeight;
  return count > 0 && height < kChoiceListHeight ? static_cast<int>(height) + 2 : kChoiceListHeight;
}

Cell NextEditableCell(int rows, int columns, Cell from, bool nextColumn, const std::function<bool(Cell)>& editable) {
  Cell at = from;
  for (;;) {
    if (nextColumn) {
      if (++at.column >= columns) return {};
    } else if (++at.row >= rows) {
      return {};
    }
    if (at.row < 0 || at.column < 0) return {};
    if (editable(at)) return at;
  }
}
