// Where the in-place editing list puts its arrow, editor and choice list,
// how Tab walks to the next editable cell, and what a row drop does.
#include "wizard/frame/controls/ListCellGeometry.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "wizard/frame/controls/DragReorder.h"

TEST(ListCellGeometry, ColumnsAreFoundFromTheLabelWithBothEndsInside) {
  const std::vector<int> widths = {100, 50, 30};
  EXPECT_EQ(ColumnOffset(widths, 0), 0);
  EXPECT_EQ(ColumnOffset(widths, 2), 150);
  EXPECT_EQ(ColumnOffset(widths, 9), 180) << "beyond the last: all widths";
  const int label = -20;  // scrolled 20 px to the left
  EXPECT_EQ(ColumnAt(widths, label, -21), -1);
  EXPECT_EQ(ColumnAt(widths, label, -20), 0);
  EXPECT_EQ(ColumnAt(widths, label, 80), 0) << "a shared edge belongs to the left column";
  EXPECT_EQ(ColumnAt(widths, label, 81), 1);
  EXPECT_EQ(ColumnAt(widths, label, 160), 2);
  EXPECT_EQ(ColumnAt(widths, label, 161), -1);
}

TEST(ListCellGeometry, AChoiceListIsAsHighAsItsEntriesUpTo100Pixels) {
  const std::pair<int, int> cases[] = {{0, 100}, {1, 18}, {3, 50}, {6, 98}, {7, 100}, {10, 100}};
  for (auto [count, height] : cases) EXPECT_EQ(ChoiceListHeight(count, 16), height) << count << " entries";
  EXPECT_EQ(ChoiceListHeight(5, 20), 100) << "exactly 100 px of entries: no border added";
  EXPECT_EQ(ChoiceListHeight(0x7FFFFFFF, 16), 100);
}

TEST(ListCellGeometry, TabWalksToTheNextEditableCellAndStopsPastTheEnd) {
  // 5 rows, 3 columns; editable: (0,1) (2,1) (2,2) (4,1).
  const std::set<std::pair<int, int>> editable = {{0, 1}, {2, 1}, {2, 2}, {4, 1}};
  auto check = [&](Cell c) { return editable.count({c.row, c.column}) > 0; };
  EXPECT_EQ(NextEditableCell(5, 3, {0, 1}, false, check), (Cell{2, 1}));
  EXPECT_EQ(NextEditableCell(5, 3, {2, 1}, false, check), (Cell{4, 1}));
  EXPECT_EQ(NextEditableCell(5, 3, {4, 1}, false, check), (Cell{})) << "past the last row";
  EXPECT_EQ(NextEditableCell(5, 3, {2, 1}, true, check), (Cell{2, 2}));
  EXPECT_EQ(NextEditableCell(5, 3, {2, 2}, true, check), (Cell{})) << "past the last column: no wrap";
  EXPECT_EQ(NextEditableCell(5, 3, {0, 0}, true, check), (Cell{0, 1}));
}

TEST(DragReorder, ADroppedRowEndsWhereItWasDroppedAndTheOthersCloseUp) {
  struct Case {
    int source, target;
    const char* rows;
  };
  const Case cases[] = {{0, 2, "bcad"}, {3, 1, "adbc"}, {1, 0, "bacd"}, {0, 3, "bcda"}, {2, 3, "abdc"},
                        {1, 1, "abcd"}, {2, -1, "abcd"}};
  for (const Case& c : cases) {
    std::string rows = "abcd";
    std::string attached = "abcd";
    const RowMove move = PlanRowMove(c.source, c.target);
    if (move.moves) {
      // As the list does it: the copy in, the old row out.
      rows.insert(rows.begin() + move.insertAt, rows[static_cast<size_t>(c.source)]);
      rows.erase(rows.begin() + move.deleteAt);
      EXPECT_EQ(rows[static_cast<size_t>(move.finalRow)], attached[static_cast<size_t>(c.source)]);
      // The attached node moves one place at a time.
      size_t at = static_cast<size_t>(c.source);
      for (int i = 0; i < move.steps; ++i) {
        const size_t next = move.down ? at + 1 : at - 1;
        std::swap(attached[at], attached[next]);
        at = next;
      }
    }
    EXPECT_EQ(rows, c.rows) << c.source << " onto " << c.target;
    EXPECT_EQ(attached, rows) << "the attached list follows, " << c.source << " onto " << c.target;
  }
}
