#include "platform/win32/control_messages.h"
#include "platform/win32/tests/headless_fixture.h"
#include "platform/win32/virtual_keys.h"

using testing_support::HeadlessTest;
using testing_support::SeenBy;

namespace {
class ListBoxes : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    parent = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
  }
  HWND List(DWORD style) { return Child(parent, 3, {10, 10, 110, 60}, WS_VISIBLE | style, "ListBox", ""); }
  int Count(UINT code) {
    int n = 0;
    for (const auto& s : SeenBy(parent, WM_COMMAND))
      if (HIWORD(s.wParam) == code) ++n;
    return n;
  }
  HWND parent = nullptr;
};
}  // namespace

TEST_F(ListBoxes, ClicksSelectTheItemUnderThePointer) {
  HWND list = List(LBS_NOTIFY);
  for (const char* t : {"a", "b", "c", "d", "e"}) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 16);
  headless::QueueClick(list, {5, 20});
  Pump();
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Count(LBN_SELCHANGE), 1);
  EXPECT_EQ(Count(LBN_SETFOCUS), 1);
  headless::QueueClick(list, {5, 20}, headless::MouseButton::Left, true);
  Pump();
  EXPECT_EQ(Count(LBN_DBLCLK), 1);
  EXPECT_EQ(Count(LBN_SELCHANGE), 1) << "the same item again is no change";
  // The item under a point, and outside.
  EXPECT_EQ(SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 40)), MAKELONG(2, 0));
  EXPECT_EQ(HIWORD(SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 200))), 1);
  SendMessageA(list, LB_SETTOPINDEX, 3, 0);
  EXPECT_EQ(SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 5)), MAKELONG(3, 0));
  RECT r;
  SendMessageA(list, LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.top, 16);
  headless::QueueKey(VK_DOWN);
  Pump();
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
}

TEST_F(ListBoxes, WithoutNotifyTheOwnerHearsNoSelections) {
  HWND list = List(0);
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("x"));
  headless::QueueClick(list, {5, 5});
  Pump();
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Count(LBN_SELCHANGE), 0);
}

TEST_F(ListBoxes, MultipleSelection) {
  HWND list = List(LBS_MULTIPLESEL);
  for (const char* t : {"a", "b", "c"}) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 0, 0), LB_ERR);
  SendMessageA(list, LB_SETSEL, TRUE, 0);
  SendMessageA(list, LB_SETSEL, TRUE, 2);
  EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 2);
  int items[4] = {};
  EXPECT_EQ(SendMessageA(list, LB_GETSELITEMS, 4, reinterpret_cast<LPARAM>(items)), 2);
  EXPECT_EQ(items[1], 2);
  headless::QueueClick(list, {5, 2});
  Pump();
  EXPECT_EQ(SendMessageA(list, LB_GETSEL, 0, 0), 0) << "a click toggles";
  SendMessageA(list, LB_SETSEL, FALSE, static_cast<LPARAM>(-1));
  EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 0);
}

// List and combo boxes keep their items alike: each edit's answer and the
// selected item after it.
TEST_F(ListBoxes, ItemEditsKeepTheSelectionAsComboBoxesDo) {
  struct Step {
    UINT listMessage, comboMessage;
    int index;
    const char* text;
    LRESULT answer;
    int selected;
  };
  const Step steps[] = {
      {LB_ADDSTRING, CB_ADDSTRING, 0, "b", 0, -1},
      {LB_ADDSTRING, CB_ADDSTRING, 0, "d", 1, -1},
      {LB_SETCURSEL, CB_SETCURSEL, 1, nullptr, 1, 1},
      {LB_ADDSTRING, CB_ADDSTRING, 0, "A", 0, 2},  // sorted in before the selection
      {LB_INSERTSTRING, CB_INSERTSTRING, -1, "e", 3, 2},
      {LB_INSERTSTRING, CB_INSERTSTRING, 9, "x", -1, 2},
      {LB_DELETESTRING, CB_DELETESTRING, 0, nullptr, 3, 1},
      {LB_DELETESTRING, CB_DELETESTRING, 1, nullptr, 2, -1},  // the selected one
      {LB_DELETESTRING, CB_DELETESTRING, 5, nullptr, -1, -1},
      {LB_FINDSTRINGEXACT, CB_FINDSTRINGEXACT, -1, "E", 1, -1},
      {LB_GETTEXTLEN, CB_GETLBTEXTLEN, 0, nullptr, 1, -1},
      {LB_GETTEXTLEN, CB_GETLBTEXTLEN, 2, nullptr, -1, -1},
  };
  HWND list = List(LBS_SORT);
  HWND combo = Child(parent, 4, {150, 10, 250, 200}, WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT, "ComboBox", "");
  for (const Step& step : steps) {
    const auto text = reinterpret_cast<LPARAM>(step.text);
    const auto index = static_cast<WPARAM>(step.index);
    EXPECT_EQ(SendMessageA(list, step.listMessage, index, text), step.answer) << "list box " << step.listMessage;
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), step.selected) << "list box " << step.listMessage;
    EXPECT_EQ(SendMessageA(combo, step.comboMessage, index, text), step.answer) << "combo box " << step.comboMessage;
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), step.selected) << "combo box " << step.comboMessage;
  }
}
