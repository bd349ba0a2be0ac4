#include "platform/win32/dialogs.h"
#include "platform/win32/error_codes.h"
#include "platform/win32/tests/headless_fixture.h"

using testing_support::HeadlessTest;
using testing_support::Log;
using testing_support::SeenBy;

namespace {

class WindowGeometry : public HeadlessTest {};

RECT Rect(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return r;
}

::testing::AssertionResult Is(const RECT& r, int l, int t, int rr, int b) {
  if (r.left == l && r.top == t && r.right == rr && r.bottom == b) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom
                                       << "} is not {" << l << ", " << t << ", " << rr << ", " << b << "}";
}

}  // namespace

TEST_F(WindowGeometry, ClientAndScreenCoordinatesFollowTheFrames) {
  // Overlapped window: thick frame 4 and caption 20.
  HWND top = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 50, 500, 350});
  RECT client;
  GetClientRect(top, &client);
  EXPECT_TRUE(Is(client, 0, 0, 392, 272));
  // A bordered child inside, with a client edge child inside that.
  HWND child = Child(top, 7, {10, 20, 110, 70}, WS_VISIBLE | WS_BORDER);
  HWND inner = Child(child, 8, {5, 5, 25, 25}, WS_VISIBLE, "TestRecorder", "", WS_EX_CLIENTEDGE);
  EXPECT_TRUE(Is(Rect(child), 114, 94, 214, 144));
  EXPECT_TRUE(Is(Rect(inner), 120, 100, 140, 120));
  GetClientRect(inner, &client);
  EXPECT_TRUE(Is(client, 0, 0, 16, 16));
  POINT p{0, 0};
  ClientToScreen(inner, &p);
  EXPECT_EQ(p.x, 122);
  EXPECT_EQ(p.y, 102);
  ScreenToClient(child, &p);
  EXPECT_EQ(p.x, 7);
  EXPECT_EQ(p.y, 7);
  POINT pts[2] = {{0, 0}, {10, 10}};
  MapWindowPoints(inner, top, pts, 2);
  EXPECT_EQ(pts[0].x, 18);
  EXPECT_EQ(pts[1].y, 38);

  RECT adjusted{0, 0, 392, 272};
  AdjustWindowRectEx(&adjusted, WS_OVERLAPPEDWINDOW, FALSE, 0);
  EXPECT_TRUE(Is(adjusted, -4, -24, 396, 276));
}

TEST_F(WindowGeometry, MovingAndSizingTellTheWindow) {
  HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND c = Child(top, 1, {10, 10, 60, 40});
  Log().clear();
  MoveWindow(c, 20, 30, 100, 50, TRUE);
  auto sizes = SeenBy(c, WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(sizes[0].lParam), 100);
  EXPECT_EQ(HIWORD(sizes[0].lParam), 50);
  ASSERT_EQ(SeenBy(c, WM_MOVE).size(), 1u);
  EXPECT_EQ(SeenBy(c, WM_MOVE)[0].lParam, MAKELPARAM(20, 30));
  // Moving only: no size message.
  SetWindowPos(c, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(SeenBy(c, WM_SIZE).size(), 1u);
  EXPECT_EQ(SeenBy(c, WM_MOVE).size(), 2u);
  EXPECT_TRUE(Is(Rect(c), 5, 5, 105, 55));
  // The old and new places need painting in the parent.
  RECT update;
  ASSERT_TRUE(GetUpdateRect(top, &update, FALSE));
  EXPECT_TRUE(Is(update, 0, 0, 300, 300)) << "the new window was invalid in full";
  ValidateRect(top, nullptr);
  MoveWindow(c, 50, 60, 10, 10, FALSE);
  EXPECT_FALSE(GetUpdateRect(top, &update, FALSE)) << "no repaint asked";
  MoveWindow(c, 70, 60, 10, 10, TRUE);
  ASSERT_TRUE(GetUpdateRect(top, &update, FALSE));
  EXPECT_TRUE(Is(update, 50, 60, 80, 70));
}

TEST_F(WindowGeometry, ZOrderIsCreationOrderAndCanChange) {
  HWND top = TopLevel();
  HWND a = Child(top, 1, {0, 0, 10, 10});
  HWND b = Child(top, 2, {0, 0, 10, 10});
  HWND c = Child(top, 3, {0, 0, 10, 10});
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), c);
  SetWindowPos(c, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), c);
  EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), a);
}

TEST_F(WindowGeometry, DeferredPositionsWaitForTheEnd) {
  HWND top = TopLevel();
  HWND a = Child(top, 1, {0, 0, 10, 10});
  HWND b = Child(top, 2, {0, 0, 10, 10});
  HDWP batch = BeginDeferWindowPos(2);
  batch = DeferWindowPos(batch, a, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  batch = DeferWindowPos(batch, b, nullptr, 0, 0, 70, 80, SWP_NOMOVE | SWP_NOZORDER);
  // A second request for the same window adds its size to the move.
  batch = DeferWindowPos(batch, a, nullptr, 0, 0, 5, 6, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_NE(batch, nullptr);
  RECT client;
  GetClientRect(top, &client);
  POINT origin{0, 0};
  ClientToScreen(top, &origin);
  EXPECT_EQ(Rect(a).left, origin.x) << "not moved before the end";
  ASSERT_TRUE(EndDeferWindowPos(batch));
  EXPECT_TRUE(Is(Rect(a), origin.x + 30, origin.y + 40, origin.x + 35, origin.y + 46));
  EXPECT_EQ(Rect(b).right - Rect(b).left, 70);
  EXPECT_FALSE(EndDeferWindowPos(batch)) << "a batch ends once";

  HWND gone = Child(top, 3, {0, 0, 1, 1});
  DestroyWindow(gone);
  HDWP bad = BeginDeferWindowPos(1);
  bad = DeferWindowPos(bad, a, nullptr, 1, 1, 1, 1, SWP_NOZORDER);
  EXPECT_EQ(DeferWindowPos(bad, gone, nullptr, 0, 0, 1, 1, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_FALSE(EndDeferWindowPos(bad)) << "the failed batch was dropped";
  EXPECT_NE(Rect(a).right - Rect(a).left, 1);
}

TEST_F(WindowGeometry, MinimiseMaximiseRestoreAndPlacement) {
  HWND w = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 50, 500, 350});
  Log().clear();
  ShowWindow(w, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(w));
  RECT client;
  GetClientRect(w, &client);
  EXPECT_TRUE(IsRectEmpty(&client));
  ASSERT_FALSE(SeenBy(w, WM_SIZE).empty());
  EXPECT_EQ(SeenBy(w, WM_SIZE).back().wParam, SIZE_MINIMIZED);
  WINDOWPLACEMENT wp{};
  GetWindowPlacement(w, &wp);
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
  EXPECT_TRUE(Is(wp.rcNormalPosition, 100, 50, 500, 350));

  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsIconic(w));
  EXPECT_TRUE(Is(Rect(w), 100, 50, 500, 350));
  EXPECT_EQ(SeenBy(w, WM_SIZE).back().wParam, SIZE_RESTORED);
  EXPECT_EQ(SeenBy(w, WM_SIZE).back().lParam, MAKELPARAM(392, 272));

  ShowWindow(w, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(w));
  EXPECT_TRUE(Is(Rect(w), -4, -4, 1924, 1084));
  GetWindowPlacement(w, &wp);
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  EXPECT_TRUE(Is(wp.rcNormalPosition, 100, 50, 500, 350));
  // Minimised from maximised, restoring gives the maximised window back.
  ShowWindow(w, SW_MINIMIZE);
  GetWindowPlacement(w, &wp);
  EXPECT_EQ(wp.flags & WPF_RESTORETOMAXIMIZED, WPF_RESTORETOMAXIMIZED);
  ShowWindow(w, SW_RESTORE);
  EXPECT_TRUE(IsZoomed(w));
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsZoomed(w));

  wp.rcNormalPosition = {10, 20, 210, 120};
  wp.showCmd = SW_SHOWNORMAL;
  wp.flags = 0;
  SetWindowPlacement(w, &wp);
  EXPECT_TRUE(Is(Rect(w), 10, 20, 210, 120));
}

TEST_F(WindowGeometry, ConfiguredScreenAndDotsPerInch) {
  SetHeadlessMetrics({1280, 1024, 120});
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
  HWND w = TopLevel();
  HDC dc = GetDC(w);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 120);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1280);
  ReleaseDC(w, dc);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_TRUE(Is(work, 0, 0, 1280, 1024));
}

TEST_F(WindowGeometry, DialogUnitsUseFixedBaseUnits) {
  HWND w = TopLevel();
  RECT r{4, 8, 10, 13};
  ASSERT_TRUE(MapDialogRect(w, &r));
  EXPECT_TRUE(Is(r, 6, 13, 15, 21)) << "x * 6 / 4 and y * 13 / 8, rounded";
  EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(6, 13));
}

TEST_F(WindowGeometry, PointsFindTheDeepestReachableWindow) {
  HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 400, 400});
  HWND panel = Child(top, 1, {10, 10, 210, 210});
  HWND button = Child(panel, 2, {10, 10, 60, 40});
  HWND label = Child(panel, 3, {100, 10, 150, 40}, WS_VISIBLE, "Static", "label");
  HWND hidden = Child(panel, 4, {10, 100, 60, 140}, 0);
  HWND disabled = Child(panel, 5, {100, 100, 150, 140}, WS_VISIBLE | WS_DISABLED);
  EXPECT_EQ(WindowFromPoint({30, 30}), button);
  EXPECT_EQ(WindowFromPoint({120, 30}), panel) << "a plain static text lets clicks through";
  EXPECT_EQ(WindowFromPoint({30, 120}), panel) << "hidden windows are not hit";
  EXPECT_EQ(WindowFromPoint({120, 120}), panel) << "the parent of a disabled window is";
  EXPECT_EQ(ChildWindowFromPoint(panel, {20, 100}), hidden);
  EXPECT_EQ(ChildWindowFromPointEx(panel, {20, 100}, CWP_SKIPINVISIBLE), panel);
  EXPECT_EQ(ChildWindowFromPointEx(panel, {110, 100}, CWP_SKIPDISABLED), panel);
  EXPECT_EQ(ChildWindowFromPoint(panel, {500, 500}), nullptr);
  (void)label;
  (void)disabled;
}
