// Where the in-place editing list (CListCtrlNew) puts things, as plain
// functions: columns measured from a row's label rectangle, the arrow
// button and the editor of a cell, the height of a choice list, and the
// Tab walk to the next editable cell.
#pragma once

#include <functional>
#include <vector>

#include "platform/win32/geometry.h"

// The sum of the widths of the columns before `column`.
int ColumnOffset(const std::vector<int>& widths, int column);
// The first column whose span [left, left + width] (both ends) holds x,
// columns starting at labelLeft; -1 when x lies left or right of them all.
int ColumnAt(const std::vector<int>& widths, int labelLeft, int x);
// The arrow button of a cell: a square as high as the label whose right
// edge is the cell's right edge less one.
RECT ChoiceButtonRect(const RECT& label, int offset, int width);
// The editor over a cell: 2 px left of the cell, as high as the label (one
// less without a border), ending at the arrow button when there is one.
RECT CellEditorRect(const RECT& label, int offset, int width, bool border, const RECT* button);

// The choice list is 100 px high; a shorter list of count entries takes
// their height and 2 px of border.
constexpr int kChoiceListHeight = 100;
int ChoiceListHeight(int count, int itemHeight);

struct Cell {
  int row = -1;
  int column = -1;
  bool operator==(const Cell&) const = default;
};
// The next editable cell after `from`: along the row when nextColumn is
// set (ending after the last column), else down the column (ending after
// the last row). {-1, -1} past the end.
Cell NextEditableCell(int rows, int columns, Cell from, bool nextColumn, const std::function<bool(Cell)>& editable);
