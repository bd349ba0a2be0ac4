// The drawing preview under the mouse: picking near a line, the context
// menu and its modes, the wheel, pan drags past the screen's edge, the
// zoom window and its rubber band, and number labels relabelled, with the
// frames read back.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "objectgl/UpdateGLText.h"
#include "dataformat/tests/ChainFixtures.h"
#include "jov_vantrix/tests/PreviewFixture.h"
#include "objectgl/GLText.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/cursors.h"

namespace {

using headless::MouseButton;
using preview_tests::kHeight;
using preview_tests::kWidth;

class PreviewNavigation : public preview_tests::PreviewTest {
 protected:
  // A vertical line at pixel column x (from y 20 to 280) under the name.
  void AddColumn(double x, uint32_t name, uint32_t colour = 7) {
    TestChain chain;
    chain.Text(0, "LINE").Text(8, "0").Point(10, x + 0.5, 20, 0).Point(11, x + 0.5, 280, 0);
    resbuf* cursor = chain.Head();
    View().lineWidth = 1.0f;
    View().AddEntityChain(&cursor, nullptr, nullptr, name, nullptr, colour, true);
  }
  // A command of the context menu, chosen at a right click.
  void Choose(UINT command) {
    driver.ChooseMenu(command);
    Click({10, 10}, MouseButton::Right);
  }
  bool Checked(UINT command) {
    return (View().Menu().GetSubMenu(0)->GetMenuState(command, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  // The leftmost lit column of a frame's row.
};

TEST_F(PreviewNavigation, AClickNearAPickableLineTellsTheParentItsNameLessOne) {
  Open();
  AddColumn(100, 1);
  AddColumn(300, 20000);  // a fixed group, above the pick limit
  View().SetMaxPickId(10000);
  OnePixelPerUnit();
  Frame("pick");

  Click({105, 150});  // five pixels beside the one-pixel line
  Click({305, 150});  // beside the fixed group: nothing
  Click({200, 150});  // empty space: nothing
  Click({300, 150});  // exactly on the fixed group
  Click({100, 150});
  EXPECT_EQ(dialog->picks, (std::vector<LPARAM>{0, 19999, 0}));

  uint32_t id = 0;
  EXPECT_TRUE(View().PickNear({96, 150}, &id));
  EXPECT_EQ(id, 1u);
  EXPECT_FALSE(View().PickNear({200, 150}, &id));
  EXPECT_EQ(id, 0xFFFFFFFFu);

  // Hovering: the pick cursor over a pickable name only.
  headless::QueueMouseMove(View().m_hWnd, {103, 100});
  Pump();
  EXPECT_EQ(DescribeCursor(GetCursor()), "resource " + std::to_string(IDC_CURSOR_PICK));
  headless::QueueMouseMove(View().m_hWnd, {302, 100});
  Pump();
  EXPECT_EQ(DescribeCursor(GetCursor()), "IDC_ARROW");
}

TEST_F(PreviewNavigation, TheMenuChecksPanOnlyInPanModeAndZoomOnlyInZoomMode) {
  Open();
  struct Row {
    UINT command;
    uint32_t mode;
    bool pan, zoom;
    const char* hover;
  };
  const Row rows[] = {{ID_PREVIEW_PAN, 1, true, false, "resource 5060"},
                      {ID_PREVIEW_ZOOM, 2, false, true, "resource 5059"},
                      {ID_PREVIEW_ZOOM_WINDOW, 5, false, false, "IDC_ARROW"},
                      {ID_PREVIEW_SELECT, 0, false, false, "IDC_ARROW"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.command);
    Choose(r.command);
    EXPECT_EQ(View().GetMode(), r.mode);
    Choose(0);  // dismissed: the checks are those of the menu as it opened
    EXPECT_EQ(Checked(ID_PREVIEW_PAN), r.pan);
    EXPECT_EQ(Checked(ID_PREVIEW_ZOOM), r.zoom);
    headless::QueueMouseMove(View().m_hWnd, {200, 150});
    Pump();
    EXPECT_EQ(DescribeCursor(GetCursor()), r.hover);
  }
  Choose(ID_PREVIEW_ZOOM_EXTENTS);
  EXPECT_EQ(View().GetMode(), 0u) << "fitting keeps the mode";

  // A mode chosen while a zoom window is open ends it and gives the
  // capture back.
  Choose(ID_PREVIEW_ZOOM_WINDOW);
  Click({100, 100});
  EXPECT_EQ(GetCapture(), View().m_hWnd);
  Choose(ID_PREVIEW_PAN);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(View().Dragging(), 0);
}

TEST_F(PreviewNavigation, TheWheelWidensBothSidesByTwiceItsDeltaOfTheLargerSideOverTheShorterClientSide) {
  Open();
  AddColumn(100, 1);
  OnePixelPerUnit();
  Camera().SetViewSize(300, 200);
  headless::QueueMouseWheel(View().m_hWnd, {200, 150}, -WHEEL_DELTA);
  Pump();
  double w, h;
  Camera().GetViewSize(&w, &h);
  // 240 * max(300, 200) / min(400, 300) = 240 more on each side.
  EXPECT_DOUBLE_EQ(w, 540.0);
  EXPECT_DOUBLE_EQ(h, 440.0);
  headless::QueueMouseWheel(View().m_hWnd, {200, 150}, WHEEL_DELTA);
  Pump();
  Camera().GetViewSize(&w, &h);
  EXPECT_DOUBLE_EQ(w, 540.0 - 240.0 * 540 / 300);
  EXPECT_DOUBLE_EQ(h, 440.0 - 240.0 * 540 / 300);

  // Past zero: both sides negative come back positive (-324 and -424 from
  // a step of -864); a larger side at 0 or below is refused.
  Camera().SetViewSize(540, 440);
  headless::QueueMouseWheel(View().m_hWnd, {200, 150}, 2 * WHEEL_DELTA);
  Pump();
  Camera().GetViewSize(&w, &h);
  EXPECT_DOUBLE_EQ(w, 324.0);
  EXPECT_DOUBLE_EQ(h, 424.0);
  Camera().SetViewSize(300, 300);
  View().Zoom(-150);
  Camera().GetViewSize(&w, &h);
  EXPECT_DOUBLE_EQ(w, 300.0) << "a side of 0 is refused";
}

TEST_F(PreviewNavigation, APanDragMovesTheDrawingWithTheCursorAndGoesOnPastTheScreensEdge) {
  Open();
  AddColumn(100, 1);
  OnePixelPerUnit();
  EXPECT_EQ(FirstLit(Frame("pan-before"), 150), 100);

  View().SetMode(1);
  Drag({200, 150}, {220, 140});
  EXPECT_EQ(FirstLit(Frame("pan-after"), 150), 120) << "the drawing followed the cursor";
  EXPECT_EQ(View().Dragging(), 0) << "the drag ends at the button-up";
  EXPECT_EQ(GetCapture(), nullptr) << "and the capture is given back";

  // Past the left edge of the screen the cursor goes on from the right one.
  const EdgePan pan = PanPastTheLeftScreenEdge();
  const double units = Camera().GetViewWidth() / kHeight;
  EXPECT_NEAR(pan.atEdge, pan.before + pan.toEdge * units, 1e-9) << "no jump";
  EXPECT_NEAR(pan.released, pan.before + (pan.toEdge + 1) * units, 1e-9);

  // The middle button pans in any mode and leaves the mode as it was.
  View().SetMode(0);
  OnePixelPerUnit();
  Drag({200, 150}, {170, 150}, MouseButton::Middle);
  EXPECT_EQ(View().GetMode(), 0u);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(FirstLit(Frame("pan-middle"), 150), 70);
}

TEST_F(PreviewNavigation, AZoomWindowDraggedLeftIsHatchedAndZoomsAsTheMirroredDrag) {
  Open();
  AddColumn(100, 1);
  AddColumn(250, 2);
  struct Drawn {
    size_t strokes = 0;
    bool allAsWanted = true;
  };
  auto window = [&](POINT first, POINT second, UINT style) {
    OnePixelPerUnit();
    Choose(ID_PREVIEW_ZOOM_WINDOW);
    ClearDrawingJournal();
    Drag(first, second);  // its button-up is not the window's end
    EXPECT_EQ(View().GetMode(), 5u);
    Drawn d;
    for (const GdiRecord& r : DrawingJournal(View().m_hWnd)) {
      if (r.op != "PatBlt") continue;
      ++d.strokes;
      d.allAsWanted &= r.args.at(4) == static_cast<int>(PATINVERT) && r.brushStyle == style &&
                       (style != BS_HATCHED || (r.brushHatch == HS_DIAGCROSS && r.color == RGB(0, 0, 0)));
    }
    Click(second);
    EXPECT_EQ(View().GetMode(), 0u);
    EXPECT_EQ(GetCapture(), nullptr);
    return d;
  };
  const Drawn left = window({300, 100}, {200, 200}, BS_HATCHED);
  EXPECT_GT(left.strokes, 0u);
  EXPECT_EQ(left.strokes % 4, 0u) << "four strokes a rectangle";
  EXPECT_TRUE(left.allAsWanted);
  const GLVector leftTarget = Camera().GetTarget();
  double w, h;
  Camera().GetViewSize(&w, &h);
  // The window's centre (250, 150) is the view's now, 100 units across.
  EXPECT_NEAR(leftTarget.x, 250.0, 1e-9);
  EXPECT_NEAR(leftTarget.y, 150.0, 1e-9);
  EXPECT_DOUBLE_EQ(w, 100.0);
  EXPECT_DOUBLE_EQ(h, 100.0);
  // Column 250 (at 250.5) lands at the centre, three pixels a unit.
  EXPECT_EQ(FirstLit(Frame("zoom-window"), 150), 201);

  const Drawn right = window({200, 100}, {300, 200}, BS_SOLID);
  EXPECT_TRUE(right.allAsWanted) << "to the right: the white stock brush";
  EXPECT_NEAR(Camera().GetTarget().x, leftTarget.x, 1e-9);
  EXPECT_NEAR(Camera().GetTarget().y, leftTarget.y, 1e-9);
  double w2, h2;
  Camera().GetViewSize(&w2, &h2);
  EXPECT_DOUBLE_EQ(w2, w);
  EXPECT_DOUBLE_EQ(h2, h);
}

TEST_F(PreviewNavigation, AZoomWindowAlwaysFillsTheViewWithItsBand) {
  Open();
  AddColumn(100, 1);
  // Bands on a 400 x 300 client at one unit a pixel, on a square view and
  // on tall and wide ones (a riser network fitted): the band's larger
  // share of the client sets the new view, both sides alike.
  struct Band {
    double viewW, viewH;
    POINT first, second;
    double w, h;
  };
  for (const Band& b : {Band{300, 300, {100, 100}, {200, 200}, 100, 100},
                        Band{100, 300, {10, 140}, {390, 160}, 95, 285},  // wide and low: the width
                        Band{100, 300, {390, 160}, {10, 140}, 95, 285},  // the same, dragged back
                        Band{300, 100, {190, 10}, {210, 280}, 270, 90},  // narrow and high
                        Band{100, 300, {0, 150}, {200, 150}, 50, 150}}) {     // no height
    OnePixelPerUnit();
    Camera().SetViewSize(b.viewW, b.viewH);
    Choose(ID_PREVIEW_ZOOM_WINDOW);
    Drag(b.first, b.second);
    Click(b.second);
    double w, h;
    Camera().GetViewSize(&w, &h);
    EXPECT_DOUBLE_EQ(w, b.w) << b.first.x << "," << b.first.y;
    EXPECT_DOUBLE_EQ(h, b.h) << b.first.x << "," << b.first.y;
    EXPECT_LE(std::max(w, h), std::max(b.viewW, b.viewH)) << "a band inside the view never zooms out";
  }
}

TEST_F(PreviewNavigation, WithNoClientAreaOrAWindowOfNoSizeTheViewStaysAsItWas) {
  Open();
  AddColumn(100, 1);
  OnePixelPerUnit();
  auto unchanged = [&](const char* what) {
    EXPECT_DOUBLE_EQ(Camera().GetViewWidth(), kHeight) << what;
    EXPECT_DOUBLE_EQ(Camera().GetViewHeight(), kHeight) << what;
    EXPECT_DOUBLE_EQ(Camera().GetTarget().x, kWidth / 2.0) << what;
    EXPECT_DOUBLE_EQ(Camera().GetTarget().y, kHeight / 2.0) << what;
  };
  // No client area: no step to measure by (a division by zero).
  View().SetWindowPos(nullptr, 0, 0, kWidth, 0, SWP_NOMOVE | SWP_NOZORDER);
  View().Zoom(100);
  View().Pan(10, 10);
  View().SetMode(5);
  View().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 0));
  View().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 0));
  unchanged("without a client area");
  EXPECT_EQ(View().GetMode(), 0u) << "the window is closed all the same";
  EXPECT_EQ(GetCapture(), nullptr);

  // A window closed where it was opened would leave a view of size 0.
  View().SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER);
  View().SetMode(5);
  Click({200, 150});
  Click({200, 150});
  unchanged("a window of no size");
  EXPECT_EQ(View().GetMode(), 0u);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(PreviewNavigation, ARelabelledNumberIsDrawnAndItsOldListGoes) {
  Open();
  double height = 60.0;
  const uint32_t style = View().AddTextStyle(&height, "Arial", 1, 400, 0, 0);
  GLText* label = nullptr;
  const double angle = 0.0;
  ASSERT_TRUE(View().AddText(&label, style, "1", GLVector(150, 120, 0), 1, &angle, &height, 3));
  AddColumn(10, 1);
  OnePixelPerUnit();
  auto red = [](const GlFrame& f) {
    long n = 0;
    for (int y = 0; y < f.height; ++y)
      for (int x = 0; x < f.width; ++x) n += f.Rgb(x, y) == 0xFF0000u;
    return n;
  };
  const long one = red(Frame("label-before"));
  EXPECT_GT(one, 100);
  const uint32_t old = label->GetDisplayList();
  ASSERT_NE(old, 0u);

  // Another preview's context is the current one when the label changes.
  preview_tests::PreviewDialog other;
  ASSERT_TRUE(other.Create(IDD_PREVIEW_TEST, nullptr));
  other.ShowWindow(SW_SHOW);
  other.view.InvalidateRect(nullptr, TRUE);
  other.view.UpdateWindow();
  UpdateGLText(label, "22");
  const uint32_t fresh = label->GetDisplayList();
  ASSERT_NE(fresh, 0u);
  EXPECT_EQ(wglGetCurrentContext(), View().GetScene()->GetCurrentViewport()->GetGLRC());
  // A new list is never given a name in use: the same name means the old
  // one was freed first.
  EXPECT_TRUE(fresh == old || !glIsList(old));
  EXPECT_TRUE(glIsList(fresh));
  const long two = red(Frame("label-after"));
  EXPECT_GT(two, one * 3 / 2) << "two digits where one was";
  EXPECT_EQ(label->GetLine(0), "22");
  other.DestroyWindow();
}

}  // namespace
