// The drag-reorder list in the tests' dialog: its columns from the
// wizard's resources, rows dragged with the mouse (the attached list
// following, every parameter told its row), drops that change nothing, and
// the drag's image and highlight while the button is held.
#include "wizard/frame/controls/CJovList.h"

#include <memory>
#include <string>

#include "platform/win32/image_list_drag.h"
#include "wizard/frame/controls/tests/ControlsTest.h"

using namespace controls_tests;

namespace {

class DragList : public ControlsTest {
 protected:
  HWND List() const { return dialog->order.m_hWnd; }
  std::string Rows() const {
    std::string rows;
    for (int i = 0; i < dialog->order.GetItemCount(); ++i) {
      rows += (i ? "," : "") + std::string(dialog->order.GetItemText(i, 0));
      // Every row's parameter knows its row.
      auto* param = reinterpret_cast<CValueParam*>(dialog->order.GetItemData(i));
      if (!param || param->listRow != i) rows += "(row?)";
    }
    return rows;
  }
  POINT RowMiddle(int row) const { return CellPoint(List(), row, 1); }

  std::unique_ptr<ControlsDialog> dialog;
};

}  // namespace

TEST_F(DragList, ItsColumnsComeFromTheWizardsTexts) {
  dialog = std::make_unique<ControlsDialog>(wizard_);
  Run(*dialog, {DialogAction::Run([&](HWND) {
                  EXPECT_EQ(dialog->order.GetExtendedStyle(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
                  struct Column {
                    const char* title;
                    int width;
                    int format;
                  };
                  const Column expected[] = {{"Name", 70, LVCFMT_LEFT},
                                             {"Label", 150, LVCFMT_LEFT},
                                             {"Type", 70, LVCFMT_CENTER},
                                             {"Default value", 100, LVCFMT_LEFT}};
                  for (int i = 0; i < 4; ++i) {
                    char title[64] = "";
                    LVCOLUMNA column{};
                    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
                    column.pszText = title;
                    column.cchTextMax = sizeof title;
                    ASSERT_TRUE(dialog->order.GetColumn(i, &column));
                    EXPECT_STREQ(title, expected[i].title);
                    EXPECT_EQ(column.cx, expected[i].width);
                    EXPECT_EQ(column.fmt, expected[i].format);
                  }
                  LVCOLUMNA fifth{};
                  fifth.mask = LVCF_WIDTH;
                  EXPECT_FALSE(dialog->order.GetColumn(4, &fifth));
                }),
                DialogAction::Cancel()});
}

TEST_F(DragList, ADroppedRowMovesWithItsParameterAndEveryOtherDropChangesNothing) {
  struct Case {
    int source, target;  // target -1: below the last row
    const char* rows;
    int selected;
  };
  const Case cases[] = {{0, 2, "b,c,a,d", 2}, {3, 1, "a,d,b,c", 1}, {0, 3, "b,c,d,a", 3},
                        {2, 2, "a,b,c,d", 2}, {1, -1, "a,b,c,d", 1}};
  for (const Case& c : cases) {
    dialog = std::make_unique<ControlsDialog>(wizard_);
    Run(*dialog, {DialogAction::DragRow(IDC_ORDER, c.source, 0, c.target), DialogAction::Run([&](HWND) {
                    EXPECT_EQ(Rows(), c.rows) << c.source << " onto " << c.target;
                    EXPECT_EQ(dialog->order.GetNextItem(-1, LVNI_SELECTED), c.selected);
                    EXPECT_EQ(std::string(dialog->order.GetItemText(c.selected, 3)), std::string(1, c.rows[2 * c.selected] - 'a' + '1'))
                        << "the row's other columns came along";
                    EXPECT_EQ(::GetCapture(), nullptr);
                    EXPECT_FALSE(ImageList_GetDrag().dragging);
                    EXPECT_EQ(dialog->order.GetNextItem(-1, LVNI_DROPHILITED), -1);
                  }),
                  DialogAction::Ok()});
    EXPECT_EQ(dialog->AttachedOrder(), c.rows) << "the attached list follows, " << c.source << " onto " << c.target;
    EXPECT_TRUE(Failures().empty());
  }
}

TEST_F(DragList, WhileARowIsDraggedItsImageFollowsAndEscCancels) {
  dialog = std::make_unique<ControlsDialog>(wizard_);
  Run(*dialog, {DialogAction::Run([&](HWND) {
                  headless::QueueMouseButton(List(), RowMiddle(0), headless::MouseButton::Left, true);
                  headless::QueueMouseMove(List(), {RowMiddle(0).x, RowMiddle(0).y + 5});
                  headless::QueueMouseMove(List(), RowMiddle(2));
                }),
                DialogAction::Run([&](HWND) {
                  const ImageListDrag drag = ImageList_GetDrag();
                  EXPECT_TRUE(drag.dragging);
                  EXPECT_EQ(drag.lock, List());
                  EXPECT_TRUE(drag.shown);
                  EXPECT_EQ(drag.position.x, RowMiddle(2).x);
                  EXPECT_EQ(::GetCapture(), List());
                  EXPECT_EQ(dialog->order.drag.draggedRow, 0);
                  EXPECT_EQ(dialog->order.GetNextItem(-1, LVNI_DROPHILITED), 2) << "the drop target is lit";
                  // Off the rows: no target, the cursor says no.
                  headless::QueueMouseMove(List(), {RowMiddle(2).x, 1000});
                }),
                DialogAction::Run([&](HWND) {
                  EXPECT_EQ(dialog->order.drag.dropRow, -1);
                  EXPECT_EQ(dialog->order.GetNextItem(-1, LVNI_DROPHILITED), -1);
                  headless::QueueMouseMove(List(), RowMiddle(3));
                }),
                DialogAction::Key(0, "Escape"), DialogAction::Run([&](HWND d) {
                  EXPECT_FALSE(ImageList_GetDrag().dragging);
                  EXPECT_EQ(::GetCapture(), nullptr);
                  EXPECT_EQ(dialog->order.GetNextItem(-1, LVNI_DROPHILITED), -1);
                  EXPECT_TRUE(::IsWindowVisible(d)) << "Esc went to the drag, not the dialog";
                  headless::QueueMouseButton(List(), RowMiddle(3), headless::MouseButton::Left, false);
                }),
                DialogAction::Run([&](HWND) { EXPECT_EQ(Rows(), "a,b,c,d"); }), DialogAction::Ok()});
  EXPECT_EQ(dialog->AttachedOrder(), "a,b,c,d");
}
