#include "platform/win32/message_queue.h"

#include "platform/win32/error_codes.h"
#include "platform/win32/tests/headless_fixture.h"
#include "platform/win32/virtual_keys.h"

using testing_support::HeadlessTest;
using testing_support::Log;
using testing_support::SeenBy;

namespace {

class MessageQueue : public HeadlessTest {};

LRESULT SelfDestroyingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 7) {
    DestroyWindow(hwnd);
    // Still inside the destroyed window's own message: the handle is dead,
    // the call must still return cleanly.
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(GetWindowTextLengthA(hwnd), 0);
    return 42;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(MessageQueue, PostedMessagesComeInOrderAndBeforeInput) {
  HWND w = TopLevel();
  SetFocus(w);
  headless::QueueKey('A');
  PostMessageA(w, WM_USER + 1, 1, 0);
  PostMessageA(w, WM_USER + 2, 2, 0);
  PostMessageA(nullptr, WM_USER + 3, 3, 0);  // a thread message
  std::vector<UINT> order;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_PAINT) {
      DispatchMessageA(&msg);
      continue;
    }
    order.push_back(msg.message);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_KEYDOWN, WM_KEYUP}));
  // Nothing will ever arrive: GetMessage says quit instead of waiting.
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_QUIT);
}

TEST_F(MessageQueue, FiltersByWindowAndRangeLeaveOthersQueued) {
  HWND a = TopLevel();
  HWND a1 = Child(a, 1, {0, 0, 10, 10});
  HWND b = TopLevel();
  PostMessageA(b, WM_USER + 1, 0, 0);
  PostMessageA(a1, WM_USER + 2, 0, 0);
  PostMessageA(a, WM_USER + 9, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, a, WM_USER, WM_USER + 5, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, a1) << "a child's messages belong to the window filtered for";
  EXPECT_FALSE(PeekMessageA(&msg, a, WM_USER, WM_USER + 5, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER + 100, PM_NOREMOVE));
  EXPECT_EQ(msg.hwnd, b);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER + 100, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, b) << "PM_NOREMOVE left it first";
}

TEST_F(MessageQueue, SendCallsAtOnceAndFailsForUnknownWindows) {
  HWND w = TopLevel();
  SetWindowTextA(w, "abc");
  EXPECT_EQ(SendMessageA(w, WM_GETTEXTLENGTH, 0, 0), 3);
  DestroyWindow(w);
  SetLastError(0);
  EXPECT_EQ(SendMessageA(w, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_FALSE(PostMessageA(w, WM_USER, 0, 0));
}

TEST_F(MessageQueue, MessagesOfADestroyedWindowAreDropped) {
  HWND w = TopLevel();
  HWND other = TopLevel();
  PostMessageA(w, WM_USER + 1, 0, 0);
  PostMessageA(other, WM_USER + 2, 0, 0);
  headless::QueueClick(w, {5, 5});
  DestroyWindow(w);
  MSG msg;
  std::vector<UINT> left;
  while (PeekMessageA(&msg, nullptr, WM_USER, WM_USER + 10, PM_REMOVE)) left.push_back(msg.message);
  EXPECT_EQ(left, std::vector<UINT>{WM_USER + 2});
  EXPECT_FALSE(headless::InputPending());
}

TEST_F(MessageQueue, AWindowMayDestroyItselfWhileHandlingAMessage) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = SelfDestroyingProc;
  wc.lpszClassName = "SelfDestroying";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "SelfDestroying", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(IsWindow(w));
  EXPECT_EQ(SendMessageA(w, WM_USER + 7, 0, 0), 42);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(MessageQueue, KeysTypeTheirCharacterThroughTranslation) {
  HWND w = TopLevel();
  SetFocus(w);
  headless::QueueText("aZ\xE1");  // code page 1250 a-acute
  headless::QueueKey('C', headless::kCtrl);
  headless::QueueKey(VK_DELETE);
  Pump();
  std::vector<WPARAM> chars;
  for (const auto& s : SeenBy(w, WM_CHAR)) chars.push_back(s.wParam);
  EXPECT_EQ(chars, (std::vector<WPARAM>{'a', 'Z', 0xE1, 3})) << "Delete types nothing, Ctrl+C types 3";
  // The upper-case letter was typed with Shift held.
  auto downs = SeenBy(w, WM_KEYDOWN);
  ASSERT_GE(downs.size(), 3u);
  EXPECT_EQ(downs[1].wParam, static_cast<WPARAM>(VK_SHIFT));
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0) << "all keys are up again";
}

TEST_F(MessageQueue, KeysGoToTheFocusWhenTakenNotWhenQueued) {
  HWND top = TopLevel();
  HWND a = Child(top, 1, {0, 0, 50, 20});
  HWND b = Child(top, 2, {0, 30, 50, 50});
  SetFocus(a);
  headless::QueueKey('X');
  SetFocus(b);
  Pump();
  EXPECT_TRUE(SeenBy(a, WM_CHAR).empty());
  ASSERT_EQ(SeenBy(b, WM_CHAR).size(), 1u);
}

TEST_F(MessageQueue, TimersFireOnlyWhenAsked) {
  HWND w = TopLevel();
  EXPECT_EQ(SetTimer(w, 5, 100, nullptr), 5u);
  Pump();
  EXPECT_TRUE(SeenBy(w, WM_TIMER).empty());
  headless::FireTimers();
  Pump();
  ASSERT_EQ(SeenBy(w, WM_TIMER).size(), 1u);
  EXPECT_EQ(SeenBy(w, WM_TIMER)[0].wParam, 5u);
  EXPECT_TRUE(KillTimer(w, 5));
  EXPECT_FALSE(KillTimer(w, 5));
  headless::FireTimers();
  Pump();
  EXPECT_EQ(SeenBy(w, WM_TIMER).size(), 1u);
}

TEST_F(MessageQueue, ClicksGoToTheCaptureAndCarryClientPoints) {
  HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {100, 100, 300, 300});
  HWND a = Child(top, 1, {10, 10, 60, 60});
  HWND b = Child(top, 2, {100, 100, 150, 150});
  headless::QueueClick(a, {5, 6});
  Pump();
  auto downs = SeenBy(a, WM_LBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), 5);
  EXPECT_EQ(GET_Y_LPARAM(downs[0].lParam), 6);
  EXPECT_EQ(downs[0].wParam & MK_LBUTTON, MK_LBUTTON);
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, 115);
  EXPECT_EQ(cursor.y, 116);

  SetCapture(a);
  headless::QueueClick(b, {1, 1});
  Pump();
  EXPECT_TRUE(SeenBy(b, WM_LBUTTONDOWN).empty());
  auto captured = SeenBy(a, WM_LBUTTONDOWN);
  ASSERT_EQ(captured.size(), 2u);
  EXPECT_EQ(GET_X_LPARAM(captured[1].lParam), 91) << "in the capturing window's coordinates";
  ReleaseCapture();

  // A class without CS_DBLCLKS gets a second button-down instead.
  WNDCLASSA wc{};
  wc.lpfnWndProc = testing_support::RecordingProc;
  wc.lpszClassName = "NoDoubleClicks";
  RegisterClassA(&wc);
  HWND plain = Child(top, 3, {200, 10, 250, 60}, WS_VISIBLE, "NoDoubleClicks");
  headless::QueueClick(plain, {1, 1}, headless::MouseButton::Left, true);
  Pump();
  EXPECT_EQ(SeenBy(plain, WM_LBUTTONDOWN).size(), 2u);
  EXPECT_TRUE(SeenBy(plain, WM_LBUTTONDBLCLK).empty());
  headless::QueueClick(a, {1, 1}, headless::MouseButton::Left, true);
  Pump();
  EXPECT_EQ(SeenBy(a, WM_LBUTTONDBLCLK).size(), 1u);
}

TEST_F(MessageQueue, KeyNamesParse) {
  UINT vk = 0, mods = 0;
  ASSERT_TRUE(headless::ParseKeyName("Ctrl+V", &vk, &mods));
  EXPECT_EQ(vk, 'V');
  EXPECT_EQ(mods, headless::kCtrl);
  ASSERT_TRUE(headless::ParseKeyName("shift+tab", &vk, &mods));
  EXPECT_EQ(vk, VK_TAB);
  EXPECT_EQ(mods, headless::kShift);
  ASSERT_TRUE(headless::ParseKeyName("F2", &vk, &mods));
  EXPECT_EQ(vk, VK_F2);
  ASSERT_TRUE(headless::ParseKeyName("Delete", &vk, &mods));
  EXPECT_EQ(vk, VK_DELETE);
  EXPECT_FALSE(headless::ParseKeyName("F13", &vk, &mods));
  EXPECT_FALSE(headless::ParseKeyName("Hyper+A", &vk, &mods));
  EXPECT_FALSE(headless::ParseKeyName("Enterprise", &vk, &mods));
}

TEST_F(MessageQueue, TheWheelTellsItsDeltaAndTheScreenPointAndTheMiddleButtonIsHeld) {
  HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {100, 100, 300, 300});
  HWND a = Child(top, 1, {10, 10, 60, 60});
  // The position a handler of WM_SETCURSOR reads is the mouse message's own.
  std::vector<DWORD> positions;
  static std::vector<DWORD>* seen = nullptr;
  seen = &positions;
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_SETCURSOR) seen->push_back(GetMessagePos());
    return testing_support::RecordingProc(h, m, w, l);
  };
  wc.lpszClassName = "CursorAsker";
  RegisterClassA(&wc);
  HWND b = Child(top, 2, {100, 100, 150, 150}, WS_VISIBLE, "CursorAsker");

  headless::QueueMouseWheel(a, {5, 6}, -2 * WHEEL_DELTA);
  headless::QueueMouseButton(a, {7, 8}, headless::MouseButton::Middle, true);
  headless::QueueMouseMove(a, {9, 9});
  headless::QueueMouseButton(a, {9, 9}, headless::MouseButton::Middle, false);
  headless::QueueMouseMove(b, {3, 4});
  Pump();
  auto wheels = SeenBy(a, WM_MOUSEWHEEL);
  ASSERT_EQ(wheels.size(), 1u);
  EXPECT_EQ(static_cast<short>(HIWORD(wheels[0].wParam)), -240);
  EXPECT_EQ(GET_X_LPARAM(wheels[0].lParam), 115) << "screen coordinates";
  EXPECT_EQ(GET_Y_LPARAM(wheels[0].lParam), 116);
  ASSERT_EQ(SeenBy(a, WM_MBUTTONDOWN).size(), 1u);
  ASSERT_EQ(SeenBy(a, WM_MBUTTONUP).size(), 1u);
  auto moves = SeenBy(a, WM_MOUSEMOVE);
  ASSERT_GE(moves.size(), 3u);
  EXPECT_EQ(moves.back().wParam & MK_MBUTTON, MK_MBUTTON) << "moved with the button down";
  auto after = SeenBy(b, WM_MOUSEMOVE);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].wParam & MK_MBUTTON, 0u) << "after the release";
  ASSERT_EQ(positions.size(), 1u);
  EXPECT_EQ(positions[0], static_cast<DWORD>(MAKELONG(203, 204)));
}
