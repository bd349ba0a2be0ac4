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
