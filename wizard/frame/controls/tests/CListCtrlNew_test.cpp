// The in-place editing list in the tests' dialog, driven as a user would:
// clicks on labels, values and arrows, typing, Enter, Tab, Esc and Delete,
// the choice list, and the arrow following its cell when the list scrolls
// or a column changes its width.
#include "wizard/frame/controls/CListCtrlNew.h"

#include <string>

#include "wizard/frame/controls/tests/ControlsTest.h"
#include "wizard/frame/engine/CListItemData.h"

using namespace controls_tests;

namespace {

class InPlaceList : public ControlsTest {
 protected:
  HWND Grid() const { return dialog.grid.m_hWnd; }
  std::string Cell(int row, int column) const { return static_cast<LPCSTR>(dialog.grid.GetItemText(row, column)); }
  int Selected() const { return dialog.grid.GetNextItem(-1, LVNI_SELECTED); }
  DialogAction ClickCell(int row, int column, bool arrow = false) {
    return DialogAction::Run([=, this](HWND) {
      headless::QueueClick(Grid(), CellPoint(Grid(), row, column, arrow));
    });
  }
  static CRect Window(HWND window) {
    CRect r;
    ::GetWindowRect(window, &r);
    return r;
  }
  // A window's rectangle in the grid's client coordinates.
  CRect InGrid(HWND window) const {
    CRect r = Window(window);
    ::MapWindowPoints(nullptr, Grid(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  std::string EditorText() const {
    char text[64] = "";
    ::GetWindowTextA(dialog.grid.cellEditor.m_hWnd, text, sizeof text);
    return text;
  }

  ControlsDialog dialog{wizard_};
};

}  // namespace

TEST_F(InPlaceList, AFirstClickOnALabelSelectsAndASecondEditsItWithTheRowsFirstDescriptor) {
  Run(dialog, {ClickCell(kLength, 0), DialogAction::Run([&](HWND) {
                 EXPECT_EQ(Selected(), kLength);
                 EXPECT_FALSE(dialog.grid.editing) << "an unselected row is only selected";
               }),
               ClickCell(kLength, 0), DialogAction::Run([&](HWND) {
                 ASSERT_TRUE(dialog.grid.editing);
                 EXPECT_EQ(dialog.grid.editRow, kLength);
                 EXPECT_EQ(dialog.grid.editColumn, 0);
                 EXPECT_EQ(dialog.grid.cellEditor.inputKind, EditInput::kIdentifier) << "the row's first descriptor";
                 EXPECT_EQ(::GetFocus(), dialog.grid.cellEditor.m_hWnd);
                 EXPECT_EQ(EditorText(), "Length (L)");
                 EXPECT_EQ(dialog.grid.cellEditor.GetSel(), static_cast<DWORD>(MAKELONG(0, 10))) << "all selected";
               }),
               DialogAction::Type(0, "Span"), DialogAction::Key(0, "Escape"), DialogAction::Run([&](HWND) {
                 EXPECT_FALSE(dialog.grid.editing);
                 EXPECT_EQ(dialog.grid.cellEditor.m_hWnd, nullptr);
                 EXPECT_EQ(Cell(kLength, 0), "Length (L)") << "Esc keeps the cell";
                 EXPECT_EQ(::GetFocus(), Grid());
               }),
               DialogAction::Cancel()});
  EXPECT_TRUE(dialog.changes.empty()) << dialog.ChangesText();
}

TEST_F(InPlaceList, AValueEditsAtOnceAndItsArrowOpensTheChoicesWithoutAnEditor) {
  Run(dialog, {ClickCell(kDiameter, 1), DialogAction::Run([&](HWND) {
                 ASSERT_TRUE(dialog.grid.editing);
                 EXPECT_EQ(dialog.grid.editColumn, 1);
                 EXPECT_EQ(dialog.grid.cellEditor.inputKind, EditInput::kSignedDecimal);
                 const CRect button = InGrid(dialog.grid.choiceButton.m_hWnd);
                 EXPECT_TRUE(dialog.grid.choiceButton.IsWindowVisible());
                 EXPECT_EQ(button.Width(), headless::kListViewRowHeight);
                 EXPECT_EQ(button.right, 150 + 120 - 1) << "the cell's right edge less one";
                 EXPECT_EQ(InGrid(dialog.grid.cellEditor.m_hWnd).right, button.left) << "the editor stops at the arrow";
               }),
               // Left unchanged by a click elsewhere: nothing to tell.
               ClickCell(kHeight, 1), DialogAction::Run([&](HWND) {
                 EXPECT_TRUE(dialog.changes.empty());
                 EXPECT_EQ(dialog.grid.editRow, kHeight);
                 EXPECT_FALSE(dialog.grid.choiceButton.IsWindowVisible()) << "the height has no choices";
               }),
               // Enter commits even unchanged.
               DialogAction::Key(0, "Enter"), DialogAction::Run([&](HWND d) {
                 ASSERT_EQ(dialog.changes.size(), 1u);
                 EXPECT_EQ(dialog.changes[0].row, kHeight);
                 EXPECT_EQ(dialog.changes[0].entry, kTypedText);
                 EXPECT_EQ(dialog.changes[0].text, "300");
                 EXPECT_TRUE(::IsWindowVisible(d)) << "Enter in a cell is not the dialog's OK";
               }),
               ClickCell(kMaterial, 1, true), DialogAction::Run([&](HWND) {
                 EXPECT_FALSE(dialog.grid.editing) << "no editor for a click on the arrow";
                 ASSERT_NE(dialog.grid.popup.m_hWnd, nullptr);
                 EXPECT_TRUE(dialog.grid.popup.IsWindowVisible());
                 EXPECT_EQ(::GetFocus(), dialog.grid.choiceList.m_hWnd);
                 EXPECT_EQ(dialog.grid.choiceList.GetCount(), 3);
                 EXPECT_EQ(dialog.grid.choiceList.GetCurSel(), 0) << "the cell's value";
               }),
               DialogAction::Cancel()});
}

TEST_F(InPlaceList, TheOwnerRefusesATypedValueAndTabCommitsAndMovesDown) {
  Run(dialog, {DialogAction::EditCell(IDC_PARAMS, kLength, 1, "9000"), DialogAction::Run([&](HWND) {
                 EXPECT_EQ(Cell(kLength, 1), "1000") << "refused: the previous text is back";
               }),
               DialogAction::EditCell(IDC_PARAMS, kLength, 1, "2,5e3"), DialogAction::Run([&](HWND) {
                 ASSERT_EQ(dialog.changes.size(), 2u);
                 EXPECT_EQ(dialog.changes[1].text, "2.53") << "the comma became a point, the letter never got in";
               }),
               DialogAction::EditCell(IDC_PARAMS, kLength, 1, "2500"), DialogAction::Run([&](HWND) {
                 EXPECT_EQ(Cell(kLength, 1), "2500");
               }),
               ClickCell(kLength, 1), DialogAction::Key(0, "Tab"), DialogAction::Run([&](HWND) {
                 ASSERT_TRUE(dialog.grid.editing);
                 EXPECT_EQ(dialog.grid.editRow, kDiameter) << "the material offers choices only";
                 EXPECT_EQ(dialog.grid.editColumn, 1);
                 EXPECT_EQ(Selected(), kDiameter);
                 EXPECT_FALSE(dialog.grid.GetItemState(kLength, LVIS_SELECTED));
               }),
               DialogAction::Key(0, "Tab"), DialogAction::Run([&](HWND) {
                 EXPECT_EQ(dialog.grid.editRow, kHeight) << "the volume has no value descriptor";
               }),
               DialogAction::Key(0, "Tab"), DialogAction::Run([&](HWND) {
                 EXPECT_FALSE(dialog.grid.editing);
                 EXPECT_EQ(Selected(), -1) << "past the last: no row stays selected";
               }),
               DialogAction::Ok()});
  EXPECT_EQ(dialog.ChangesText(),
            "L 1 typed 9000 refused\n"
            "L 1 typed 2.53 refused\n"
            "L 1 typed 2500\n"
            "L 1 typed 2500\n"
            "D 1 typed 20\n"
            "H 1 typed 300\n");
}

TEST_F(InPlaceList, TheChoiceListClosesOnEnterOrEscAndAClickChoosesAnEntry) {
  auto closed = [&](size_t changes) {
    return DialogAction::Run([&, changes](HWND) {
      EXPECT_EQ(dialog.grid.popup.m_hWnd, nullptr);
      EXPECT_EQ(dialog.changes.size(), changes);
    });
  };
  Run(dialog, {ClickCell(kMaterial, 1, true), DialogAction::Run([&](HWND) {
                 EXPECT_EQ(Window(dialog.grid.popup.m_hWnd).Height(), 50) << "3 entries of 16 px and the border";
                 EXPECT_EQ(Window(dialog.grid.choiceList.m_hWnd).Height(), 50);
               }),
               DialogAction::Key(0, "Enter"), closed(0),
               ClickCell(kMaterial, 1, true), DialogAction::Key(0, "Escape"), closed(0),
               DialogAction::ChooseCell(IDC_PARAMS, kMaterial, 1, 1), closed(1),
               DialogAction::Run([&](HWND) { EXPECT_EQ(Cell(kMaterial, 1), "copper"); }),
               ClickCell(kAngle, 1, true), DialogAction::Run([&](HWND) {
                 EXPECT_EQ(dialog.grid.choiceList.GetCount(), 10);
                 // Asked for 100 px, the list keeps whole rows of 16 px and its border.
                 EXPECT_EQ(Window(dialog.grid.popup.m_hWnd).Height(), 98) << "ten entries scroll in six rows";
               }),
               DialogAction::Key(0, "Escape"), DialogAction::ChooseCell(IDC_PARAMS, kAngle, 1, 9), closed(2),
               DialogAction::Ok()});
  EXPECT_EQ(dialog.ChangesText(), "M 1 chose 1 copper\nA 1 chose 9 90\n");
  EXPECT_TRUE(Failures().empty()) << Failures().front();
}

TEST_F(InPlaceList, DeleteAsksTheOwnerAndARefusalLeavesTheKeyToTheEditor) {
  Run(dialog, {DialogAction::Choose(IDC_PARAMS, kVolume), DialogAction::Key(IDC_PARAMS, "Delete"),
               DialogAction::Run([&](HWND) {
                 EXPECT_EQ(dialog.grid.GetItemCount(), kGridRows) << "the owner said no";
                 dialog.allowDelete = true;
               }),
               DialogAction::Key(IDC_PARAMS, "Delete"), DialogAction::Run([&](HWND) {
                 ASSERT_EQ(dialog.grid.GetItemCount(), kGridRows - 1);
                 EXPECT_EQ(Cell(kVolume, 0), "Height (H)");
                 EXPECT_EQ(Selected(), kVolume) << "the row now in its place";
                 EXPECT_EQ(dialog.grid.GetNextItem(-1, LVNI_FOCUSED), kVolume);
                 dialog.allowDelete = false;
               }),
               ClickCell(kLength, 1), DialogAction::Key(0, "Delete"), DialogAction::Run([&](HWND) {
                 EXPECT_EQ(dialog.grid.GetItemCount(), kGridRows - 1);
                 ASSERT_TRUE(dialog.grid.editing);
                 EXPECT_EQ(EditorText(), "") << "the key deleted the selected text";
               }),
               DialogAction::Key(0, "Escape"),
               DialogAction::Run([&](HWND) { EXPECT_EQ(Cell(kLength, 1), "1000") << "Esc: nothing deleted"; }),
               DialogAction::Ok()});
  EXPECT_EQ(dialog.deleteAsked, (std::vector<int>{kVolume, kVolume, kLength}));
}

TEST_F(InPlaceList, TheArrowFollowsItsCellWhenTheListScrollsAndAColumnChanges) {
  Run(dialog, {DialogAction::Run([&](HWND) { dialog.grid.SetColumnWidth(0, 250); }), ClickCell(kDiameter, 1),
               DialogAction::Run([&](HWND) {
                 ASSERT_TRUE(dialog.grid.editing);
                 // Scrolled 60 px to the left: the editor goes, the arrow
                 // follows its cell.
                 dialog.grid.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 60));
                 EXPECT_FALSE(dialog.grid.editing);
                 EXPECT_EQ(dialog.grid.cellEditor.m_hWnd, nullptr);
                 EXPECT_TRUE(dialog.changes.empty()) << "closed without a commit";
                 const CRect button = InGrid(dialog.grid.choiceButton.m_hWnd);
                 EXPECT_EQ(button.left, -60 + 250 + 120 - headless::kListViewRowHeight);
                 EXPECT_TRUE(dialog.grid.choiceButton.IsWindowVisible());
                 // The value column made narrower while scrolled: the arrow
                 // stays at the cell's end, scroll included.
                 dialog.grid.SetColumnWidth(1, 100);
                 EXPECT_EQ(InGrid(dialog.grid.choiceButton.m_hWnd).left, -60 + 250 + 100 - headless::kListViewRowHeight);
                 EXPECT_EQ(InGrid(dialog.grid.choiceButton.m_hWnd).top, button.top);
                 // Three rows high and scrolled down by three: the row is
                 // under the header and the arrow hidden.
                 const CRect grid = InGrid(Grid());
                 dialog.grid.SetWindowPos(nullptr, 0, 0, grid.Width(),
                                          headless::kListViewHeaderHeight + 3 * headless::kListViewRowHeight + 2,
                                          SWP_NOMOVE | SWP_NOZORDER);
                 dialog.grid.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3));
                 EXPECT_EQ(dialog.grid.GetTopIndex(), 3);
                 EXPECT_FALSE(dialog.grid.choiceButton.IsWindowVisible());
               }),
               DialogAction::Cancel()});
}

TEST_F(InPlaceList, ADialogEndedWhileItsChoiceListIsOpenTakesThePopupWithIt) {
  HWND popup = nullptr, box = nullptr;
  const INT_PTR result = Run(dialog, {ClickCell(kAngle, 1, true), DialogAction::Run([&](HWND) {
                                        popup = dialog.grid.popup.m_hWnd;
                                        box = dialog.grid.choiceList.m_hWnd;
                                        ASSERT_TRUE(::IsWindowVisible(popup));
                                        dialog.EndDialog(IDCANCEL);
                                      })});
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_FALSE(::IsWindow(popup));
  EXPECT_FALSE(::IsWindow(box));
  EXPECT_EQ(dialog.grid.popup.m_hWnd, nullptr);
  EXPECT_TRUE(dialog.changes.empty());
}
