#include "platform/win32/tests/headless_fixture.h"

using testing_support::HeadlessTest;
using testing_support::Log;
using testing_support::SeenBy;

namespace {
class Focus : public HeadlessTest {};
}  // namespace

TEST_F(Focus, KillFocusAlreadySeesTheNewFocus) {
  HWND top = TopLevel();
  HWND a = Child(top, 1, {0, 0, 10, 10});
  HWND b = Child(top, 2, {0, 20, 10, 30});
  SetFocus(a);
  Log().clear();
  EXPECT_EQ(SetFocus(b), a);
  auto kill = SeenBy(a, WM_KILLFOCUS);
  auto set = SeenBy(b, WM_SETFOCUS);
  ASSERT_EQ(kill.size(), 1u);
  ASSERT_EQ(set.size(), 1u);
  EXPECT_EQ(kill[0].wParam, reinterpret_cast<WPARAM>(b));
  EXPECT_EQ(kill[0].focusNow, b);
  EXPECT_EQ(set[0].wParam, reinterpret_cast<WPARAM>(a));
  // Order: the loser first.
  size_t killAt = 0, setAt = 0;
  for (size_t i = 0; i < Log().size(); ++i) {
    if (Log()[i].message == WM_KILLFOCUS) killAt = i;
    if (Log()[i].message == WM_SETFOCUS) setAt = i;
  }
  EXPECT_LT(killAt, setAt);
}

TEST_F(Focus, DisabledOrMinimisedWindowsRefuseIt) {
  HWND top = TopLevel();
  HWND a = Child(top, 1, {0, 0, 10, 10});
  HWND b = Child(top, 2, {0, 20, 10, 30}, WS_VISIBLE | WS_DISABLED);
  SetFocus(a);
  EXPECT_EQ(SetFocus(b), nullptr);
  EXPECT_EQ(GetFocus(), a);
  // Disabling the focused window takes the focus away.
  EnableWindow(a, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_TRUE(EnableWindow(b, TRUE)) << "it was disabled";
  EXPECT_FALSE(EnableWindow(b, TRUE)) << "it was enabled";
  ShowWindow(top, SW_MINIMIZE);
  EXPECT_EQ(SetFocus(a), nullptr);
}

TEST_F(Focus, HidingOrDestroyingTheFocusedChildGivesItToTheParent) {
  HWND top = TopLevel();
  HWND a = Child(top, 1, {0, 0, 10, 10});
  HWND b = Child(top, 2, {0, 20, 10, 30});
  SetFocus(a);
  ShowWindow(a, SW_HIDE);
  EXPECT_EQ(GetFocus(), top);
  SetFocus(b);
  Log().clear();
  DestroyWindow(b);
  EXPECT_EQ(GetFocus(), top);
  ASSERT_EQ(SeenBy(b, WM_KILLFOCUS).size(), 1u) << "the dying window hears it lost the focus";
}

TEST_F(Focus, ShowingATopLevelWindowActivatesItAndClosingReturnsToTheOwner) {
  HWND main = TopLevel();
  EXPECT_EQ(GetActiveWindow(), main);
  HWND popup = TopLevel(WS_POPUP | WS_CAPTION, {10, 10, 100, 100}, main);
  EXPECT_EQ(GetActiveWindow(), main) << "hidden windows are not activated";
  Log().clear();
  ShowWindow(popup, SW_SHOW);
  EXPECT_EQ(GetActiveWindow(), popup);
  EXPECT_EQ(GetFocus(), popup);
  auto deactivated = SeenBy(main, WM_ACTIVATE);
  ASSERT_EQ(deactivated.size(), 1u);
  EXPECT_EQ(LOWORD(deactivated[0].wParam), WA_INACTIVE);
  EXPECT_EQ(GetParent(popup), main) << "a popup's parent is its owner";
  DestroyWindow(popup);
  EXPECT_EQ(GetActiveWindow(), main);
  EXPECT_EQ(GetFocus(), main);
}

TEST_F(Focus, DestroyingAnOwnerDestroysWhatItOwnsFirst) {
  HWND main = TopLevel();
  HWND owned = TopLevel(WS_POPUP, {0, 0, 10, 10}, main);
  HWND child = Child(main, 1, {0, 0, 10, 10});
  Log().clear();
  DestroyWindow(main);
  EXPECT_FALSE(IsWindow(owned));
  EXPECT_FALSE(IsWindow(child));
  std::vector<std::pair<HWND, UINT>> order;
  for (const auto& s : Log())
    if (s.message == WM_DESTROY || s.message == WM_NCDESTROY) order.emplace_back(s.hwnd, s.message);
  const std::vector<std::pair<HWND, UINT>> expected = {{owned, WM_DESTROY}, {owned, WM_NCDESTROY},
                                                       {main, WM_DESTROY},  {child, WM_DESTROY},
                                                       {child, WM_NCDESTROY}, {main, WM_NCDESTROY}};
  EXPECT_EQ(order, expected);
}
