#include "platform/win32/control_messages.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/tests/headless_fixture.h"
#include "platform/win32/virtual_keys.h"

using testing_support::HeadlessTest;
using testing_support::SeenBy;

namespace {

class Buttons : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    parent = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
  }
  HWND Button(int id, DWORD style, RECT r = {10, 10, 90, 30}) {
    return Child(parent, id, r, WS_VISIBLE | style, "Button", "b");
  }
  std::vector<int> Clicks(int id) {
    std::vector<int> out;
    for (const auto& s : SeenBy(parent, WM_COMMAND))
      if (LOWORD(s.wParam) == id && HIWORD(s.wParam) == BN_CLICKED) out.push_back(id);
    return out;
  }
  HWND parent = nullptr;
};

}  // namespace

TEST_F(Buttons, AClickIsDownAndUpInsideAndTakesTheFocus) {
  HWND push = Button(1, BS_PUSHBUTTON);
  headless::QueueClick(push, {5, 5});
  Pump();
  EXPECT_EQ(Clicks(1).size(), 1u);
  EXPECT_EQ(GetFocus(), push);
  // Released outside: no click.
  headless::QueueMouseMove(push, {5, 5});
  SendMessageA(push, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(push, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
  EXPECT_EQ(Clicks(1).size(), 1u);
  // A disabled button is not reached.
  EnableWindow(push, FALSE);
  headless::QueueClick(push, {5, 5});
  Pump();
  EXPECT_EQ(Clicks(1).size(), 1u);
}

TEST_F(Buttons, AutomaticCheckBoxesToggleAndPlainOnesLeaveItToTheOwner) {
  HWND autoBox = Button(1, BS_AUTOCHECKBOX);
  HWND plain = Button(2, BS_CHECKBOX, {10, 40, 90, 60});
  HWND three = Button(3, BS_AUTO3STATE, {10, 70, 90, 90});
  SendMessageA(autoBox, BM_CLICK, 0, 0);
  SendMessageA(plain, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(autoBox, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(plain, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(Clicks(2).size(), 1u) << "the owner still hears the click";
  SendMessageA(plain, BM_SETCHECK, 5, 0);
  EXPECT_EQ(SendMessageA(plain, BM_GETCHECK, 0, 0), BST_CHECKED) << "two states only";
  for (WPARAM expected : {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}) {
    SendMessageA(three, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(three, BM_GETCHECK, 0, 0), static_cast<LRESULT>(expected));
  }
  SetFocus(autoBox);
  headless::QueueKey(VK_SPACE);
  Pump();
  EXPECT_EQ(SendMessageA(autoBox, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "Space clicks";
}

TEST_F(Buttons, AutomaticRadioButtonsKeepOneCheckedPerGroup) {
  HWND a = Button(1, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP);
  HWND b = Button(2, BS_AUTORADIOBUTTON, {10, 40, 90, 60});
  HWND c = Button(3, BS_AUTORADIOBUTTON, {10, 70, 90, 90});
  HWND next = Button(4, BS_AUTORADIOBUTTON | WS_GROUP, {10, 100, 90, 120});
  SendMessageA(next, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(a, BM_CLICK, 0, 0);
  SendMessageA(c, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(next, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group";
  // The checked one is the group's tab stop.
  EXPECT_TRUE(GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongA(a, GWL_STYLE) & WS_TABSTOP);
  // Arrow keys move within the group and check as they go.
  EXPECT_EQ(GetNextDlgGroupItem(parent, c, FALSE), a);
  EXPECT_EQ(GetNextDlgGroupItem(parent, a, TRUE), c);
  SetFocus(b);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_CHECKED) << "reached by the keyboard";
  EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(CheckRadioButton(parent, 1, 3, 1));
  EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Buttons, GroupBoxesAreNeitherClickedNorFocused) {
  HWND group = Button(1, BS_GROUPBOX, {0, 0, 200, 200});
  HWND inside = Button(2, BS_PUSHBUTTON, {20, 20, 80, 40});
  EXPECT_EQ(SendMessageA(group, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  POINT p{150, 150};
  ClientToScreen(parent, &p);
  EXPECT_EQ(WindowFromPoint(p), parent);
  p = {30, 30};
  ClientToScreen(parent, &p);
  EXPECT_EQ(WindowFromPoint(p), inside) << "controls inside the group box are reached";
  SendMessageA(group, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(group, WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(Clicks(1).empty());
}

TEST_F(Buttons, PushButtonsReportDefaultness) {
  HWND def = Button(1, BS_DEFPUSHBUTTON);
  HWND other = Button(2, BS_PUSHBUTTON, {10, 40, 90, 60});
  EXPECT_EQ(SendMessageA(def, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  EXPECT_EQ(SendMessageA(other, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
  SetFocus(other);
  EXPECT_EQ(SendMessageA(other, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON) << "focused";
}
