// The product preview's button under the mouse: the wheel's fixed step,
// pan drags past the screen's edge, the middle button, turning about the
// vertical axis with the parent told the angle, and the mirrored view with
// its sign, read back from real rendering and the drawing journal.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "wizard/dialogs/tests/ProductPreviewTest.h"

namespace {

using namespace product_preview_tests;
using headless::MouseButton;

class ProductPreviewNavigation : public ProductPreviewTest {
 protected:
  // A kind-2 view showing a vertical line at world x from y 20 to 280 and
  // one unit a pixel: world (x, y) at client (x, kHeight - y).
  void ShowColumn(double x) {
    Open(2);
    TestChain chain;
    chain.Text(0, "LINE").Text(8, "0").Point(10, x + 0.5, 20, 0).Point(11, x + 0.5, 280, 0);
    View().ShowPreview(chain.Head(), false);
    Camera().SetViewSize(kHeight, kHeight);
    Camera().SetTarget(GLVector(kWidth / 2.0, kHeight / 2.0, 0.0));
    Camera().ComputeView();
  }
};

TEST_F(ProductPreviewNavigation, AWheelNotchTowardsTheUserAddsFiftyTimesTheLargerSideOverTheShorterClientSide) {
  ShowColumn(100);
  Camera().SetViewSize(300, 200);
  headless::QueueMouseWheel(View().m_hWnd, {200, 150}, -WHEEL_DELTA);
  Pump();
  double w, h;
  Camera().GetViewSize(&w, &h);
  EXPECT_DOUBLE_EQ(w, 300 + 50.0 * 300 / kHeight);
  EXPECT_DOUBLE_EQ(h, 200 + 50.0 * 300 / kHeight);
  // Away from the user: as much less of the larger side as it is now.
  headless::QueueMouseWheel(View().m_hWnd, {10, 10}, 3 * WHEEL_DELTA);
  Pump();
  double w2, h2;
  Camera().GetViewSize(&w2, &h2);
  EXPECT_DOUBLE_EQ(w2, w - 50.0 * w / kHeight) << "one step whatever the delta";
  EXPECT_DOUBLE_EQ(h2, h - 50.0 * w / kHeight);

  // Without mouse navigation the wheel does nothing.
  View().EnableMouseNavigation(false);
  headless::QueueMouseWheel(View().m_hWnd, {10, 10}, -WHEEL_DELTA);
  Pump();
  EXPECT_DOUBLE_EQ(Camera().GetViewWidth(), w2);
}

TEST_F(ProductPreviewNavigation, APanDragPastTheLeftScreenEdgeGoesOnFromTheRightWithoutAJump) {
  ShowColumn(100);
  EXPECT_EQ(FirstLit(Frame("pan-before"), 150), 100);
  View().SetMode(1);
  Drag({200, 150}, {230, 150});
  EXPECT_EQ(FirstLit(Frame("pan-after"), 150), 130) << "the drawing follows the cursor";

  const EdgePan pan = PanPastTheLeftScreenEdge();
  EXPECT_NEAR(pan.atEdge, pan.before + pan.toEdge, 1e-9);
  EXPECT_NEAR(pan.released, pan.before + pan.toEdge + 1, 1e-9) << "one pixel further, no jump";
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ProductPreviewNavigation, TheMiddleButtonPansAndItsReleaseAloneResetsTheMode) {
  ShowColumn(100);
  View().SetMode(2);
  Drag({200, 150}, {170, 150}, MouseButton::Middle);
  EXPECT_EQ(View().GetMode(), 2u) << "the zoom mode is back";
  EXPECT_EQ(FirstLit(Frame("middle"), 150), 70);
  EXPECT_EQ(GetCapture(), nullptr);
  // A release without its press puts back the saved mode: none.
  View().SendMessage(WM_MBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(View().GetMode(), 0u);
}

TEST_F(ProductPreviewNavigation, ModeFourTurnsAboutTheVerticalAxisAndTellsTheParentTheAngle) {
  ShowColumn(100);
  View().SetMode(COpenGLBtn::kRotateAboutZ);
  Drag({200, 150}, {260, 150});
  std::vector<double> angles;
  for (const Told& t : dialog->told) {
    ASSERT_EQ(t.message, COpenGLBtn::kRotationMessage);
    EXPECT_EQ(t.wParam, 0u);
    angles.push_back(t.angle);
  }
  ASSERT_GE(angles.size(), 2u) << "once a move";
  EXPECT_NE(angles[0], 0.0);
  EXPECT_NE(angles[1], angles[0]);
  EXPECT_DOUBLE_EQ(angles.back(), Camera().GetRotationZ()) << "the camera's own angle";
  // Turned by 60 degrees in all.
  EXPECT_NEAR(std::fabs(std::remainder(Camera().GetRotationZ(), 2 * std::numbers::pi)), std::numbers::pi / 3, 1e-9);
}

TEST_F(ProductPreviewNavigation, TheMirroredViewIsTurnedByItsAngleAndShowsItsSign) {
  ShowColumn(100);
  const GlFrame plain = Frame("mirror-plain");
  EXPECT_EQ(FirstLit(plain, 150), 100);

  // Not mirrored: the angle plays no part.
  View().SetMirror(false, 1.0, false);
  EXPECT_FALSE(View().IsMirrored());
  EXPECT_EQ(FirstLit(Frame("mirror-off"), 150), 100);

  ClearDrawingJournal();
  View().SetMirror(true, 0.0, true);
  EXPECT_TRUE(View().IsMirrored());
  const GlFrame mirrored = Frame("mirror-on");
  // x mirrored about the view's centre (200): the column at 100 lies at 299.
  EXPECT_EQ(mirrored.Rgb(100, 150), 0u);
  EXPECT_EQ(mirrored.Rgb(299, 150), 0xFFFFFFu);

  // The sign: 400 / 25 = 16 wide, 300 / 15 = 20 high, at (5, 5), in white.
  std::vector<std::vector<int>> strokes;
  for (const GdiRecord& r : DrawingJournal(View().m_hWnd))
    if (r.op == "Polyline" || r.op == "LineTo") {
      EXPECT_EQ(r.color, RGB(255, 255, 255)) << r.op;
      strokes.push_back(r.args);
    }
  ASSERT_GE(strokes.size(), 3u);
  strokes.resize(3);
  EXPECT_EQ(strokes[0], (std::vector<int>{5, 25, 21, 5, 21, 25, 5, 25}));
  EXPECT_EQ(strokes[1], (std::vector<int>{24, 25, 24, 5}));
  EXPECT_EQ(strokes[2], (std::vector<int>{27, 5, 27, 25, 43, 25, 27, 5}));

  // Turned by a quarter: the column lies along a row now.
  View().SetMirror(true, std::numbers::pi / 2, true);
  const GlFrame turned = Frame("mirror-turned");
  long lit = 0;
  for (int x = 0; x < kWidth; ++x) lit += turned.Rgb(x, 150) == 0xFFFFFFu;
  EXPECT_EQ(lit, 0) << "no longer crossing row 150 as a column";

  // Showing a product again starts from the plain view, without the sign.
  TestChain none;
  ClearDrawingJournal();
  View().ShowPreview(none.Head(), false);
  EXPECT_FALSE(View().IsMirrored());
  Frame("mirror-reset");
  for (const GdiRecord& r : DrawingJournal(View().m_hWnd)) EXPECT_NE(r.op, "Polyline");
}

}  // namespace
