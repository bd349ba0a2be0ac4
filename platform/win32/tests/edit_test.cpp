#include <cstring>

#include "platform/win32/clipboard.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/tests/headless_fixture.h"
#include "platform/win32/virtual_keys.h"

using testing_support::HeadlessTest;
using testing_support::SeenBy;

namespace {

class Edits : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    parent = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
    edit = Child(parent, 7, {10, 10, 200, 30}, WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, "Edit", "");
    SetFocus(edit);
  }
  std::string Text() {
    char buffer[256];
    GetWindowTextA(edit, buffer, sizeof buffer);
    return buffer;
  }
  std::pair<int, int> Selection() {
    DWORD a = 0, b = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return {static_cast<int>(a), static_cast<int>(b)};
  }
  int Notifications(UINT code) {
    int n = 0;
    for (const auto& s : SeenBy(parent, WM_COMMAND))
      if (LOWORD(s.wParam) == 7 && HIWORD(s.wParam) == code) ++n;
    return n;
  }
  HWND parent = nullptr;
  HWND edit = nullptr;
};

}  // namespace

TEST_F(Edits, TypingInsertsAtTheCaretAndReplacesTheSelection) {
  headless::QueueText("hello");
  Pump();
  EXPECT_EQ(Text(), "hello");
  EXPECT_EQ(Notifications(EN_CHANGE), 5);
  EXPECT_TRUE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
  SendMessageA(edit, EM_SETSEL, 1, 3);
  headless::QueueText("E");
  headless::QueueKey(VK_BACK);
  headless::QueueKey(VK_BACK);
  headless::QueueKey(VK_END);
  headless::QueueKey(VK_LEFT, headless::kShift);
  headless::QueueKey(VK_DELETE);
  Pump();
  EXPECT_EQ(Text(), "l");
  // Text set from outside is not a user change.
  SetWindowTextA(edit, "abc");
  EXPECT_FALSE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
  EXPECT_EQ(Selection(), std::make_pair(0, 0));
  SendMessageA(edit, EM_SETSEL, 0, -1);
  EXPECT_EQ(Selection(), std::make_pair(0, 3));
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(Selection(), std::make_pair(3, 3)) << "-1 removes the selection, the caret stays";
}

TEST_F(Edits, TheLimitRefusesWhatDoesNotFit) {
  SendMessageA(edit, EM_LIMITTEXT, 3, 0);
  headless::QueueText("abcd");
  Pump();
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(Notifications(EN_MAXTEXT), 1);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("wxyz"));
  EXPECT_EQ(Text(), "wxy") << "a replacement is cut to the limit";
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 3);
  SendMessageA(edit, EM_LIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(Edits, ReadOnlyNumberAndUpperCaseStyles) {
  SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
  headless::QueueText("x");
  Pump();
  EXPECT_EQ(Text(), "");
  SendMessageA(edit, EM_SETREADONLY, FALSE, 0);
  SetWindowLongA(edit, GWL_STYLE, GetWindowLongA(edit, GWL_STYLE) | ES_NUMBER | ES_UPPERCASE);
  headless::QueueText("1a2");
  Pump();
  EXPECT_EQ(Text(), "12");
  SetWindowLongA(edit, GWL_STYLE, GetWindowLongA(edit, GWL_STYLE) & ~ES_NUMBER);
  headless::QueueText("b");
  Pump();
  EXPECT_EQ(Text(), "12B");
}

TEST_F(Edits, CutCopyAndPasteUseTheClipboard) {
  SetWindowTextA(edit, "one two");
  SendMessageA(edit, EM_SETSEL, 4, 7);
  headless::QueueKey('C', headless::kCtrl);
  headless::QueueKey(VK_HOME);
  headless::QueueKey('V', headless::kCtrl);
  Pump();
  EXPECT_EQ(Text(), "twoone two");
  SendMessageA(edit, EM_SETSEL, 0, 3);
  SendMessageA(edit, WM_CUT, 0, 0);
  EXPECT_EQ(Text(), "one two");
  // A single line takes pasted text up to its first line break.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
  std::strcpy(static_cast<char*>(GlobalLock(block)), "A\r\nB");
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(), "A");
}

TEST_F(Edits, FocusNotificationsAndClicksPlaceTheCaret) {
  HWND other = Child(parent, 8, {10, 40, 200, 60}, WS_VISIBLE, "Edit", "");
  SetFocus(other);
  EXPECT_EQ(Notifications(EN_KILLFOCUS), 1);
  SetWindowTextA(edit, "abcdef");
  headless::QueueClick(edit, {19, 5});  // 6 px per character: after "abc"
  Pump();
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(Notifications(EN_SETFOCUS), 2);
  EXPECT_EQ(Selection(), std::make_pair(3, 3));
}
