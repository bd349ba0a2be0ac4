// The product preview view as a dialog uses it: picks per kind and what
// the parent hears of them, the arrow of kind 1 and the markers of kinds 3
// and 4, the context menu and the right click without one, the cursors,
// resizing, an empty product, and the definition points' markers of the
// definition editor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objectgl/GLArrow.h"
#include "objectgl/GLSelectPoint.h"
#include "platform/win32/cursors.h"
#include "wizard/dialogs/PointMarkers.h"
#include "wizard/dialogs/tests/ProductPreviewTest.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/DefinitionPoints.h"

namespace {

using namespace product_preview_tests;
using headless::MouseButton;

constexpr uint32_t kCyan = 0x00FFFF;

// A body and two connection lines, pointing down from (100, 0) and right
// from (300, 100).
TestChain& Product(TestChain& c) {
  c.Text(0, "LINE").Text(8, "0").Point(10, 0, 0, 0).Point(11, 400, 0, 0);
  c.Text(0, "LINE").Text(8, "DEFPOINTS").I16(62, 7).Point(10, 100, 0, 0).Point(11, 100, -50, 0);
  c.Text(0, "LINE").Text(8, "DEFPOINTS").I16(62, 7).Point(10, 300, 100, 0).Point(11, 350, 100, 0);
  return c;
}

class ProductPreviewView : public ProductPreviewTest {
 protected:
  TestView& Show(uint32_t kind, uint32_t menuId = 0) {
    Open(kind, menuId);
    View().ShowPreview(Product(chain_).Head(), true);
    return View();
  }
  std::vector<UINT> Messages() const {
    std::vector<UINT> out;
    for (const Told& t : dialog->told) out.push_back(t.message);
    return out;
  }
  GLSelectPoint* Marker(uint32_t id) { return Point(id)->marker; }

 private:
  TestChain chain_;
};

TEST_F(ProductPreviewView, KindOneShowsTheArrowOnTheFirstPointAndAClickMovesItToAnother) {
  Show(1);
  GLArrow* arrow = View().Arrow();
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(View().GetSelectedId(), 1u);
  EXPECT_TRUE(Marker(1)->IsHidden()) << "the arrow stands in for the first marker";
  EXPECT_FALSE(Marker(2)->IsHidden());
  EXPECT_EQ(arrow->GetPosition(), GLVector(100, 0, 1));
  EXPECT_DOUBLE_EQ(arrow->GetAngle(), Point(1)->angle);
  POINT first{};
  EXPECT_FALSE(View().FindPickPoint(1, &first)) << "a hidden marker is not picked";
  Frame("kind-1-first");

  Click(PickPoint(2));
  EXPECT_EQ(Messages(), (std::vector<UINT>{CViewJovGL::kPickMessage}));
  EXPECT_EQ(dialog->told[0].lParam, 2);
  EXPECT_EQ(View().GetSelectedId(), 2u);
  EXPECT_EQ(arrow->GetPosition(), GLVector(300, 100, 1));
  EXPECT_DOUBLE_EQ(View().GetSelectedAngle(), 0.0) << "the second points right";
  EXPECT_TRUE(Marker(2)->IsHidden());
  EXPECT_FALSE(Marker(1)->IsHidden()) << "the first marker shows again";
  const GlFrame f = Frame("kind-1-second");
  const POINT marker = ClientOf(Point(1)->position);
  EXPECT_EQ(f.Rgb(marker.x, marker.y), kCyan);
  PickPoint(1);
  GLVector at;
  ASSERT_TRUE(View().GetSelectedPosition(&at));
  EXPECT_EQ(at, GLVector(300, 100, 0));
}

TEST_F(ProductPreviewView, KindsThreeAndFourShowArrowsOfTwentyPixelsAndAMarkerOnlyWhenSelected) {
  for (uint32_t kind : {3u, 4u}) {
    SCOPED_TRACE(kind);
    Show(kind);
    const double pixel = Scene().GetUnitsPerPixel();
    for (uint32_t id : {1u, 2u}) {
      const GLExtents box = Point(id)->arrow->GetExtents();
      const GLVector size = box.Max() - box.Min();
      EXPECT_NEAR(std::max(size.x, size.y) / pixel, 20.0, 1e-9) << id;
      EXPECT_TRUE(Marker(id)->IsHidden()) << id;
    }
    View().SelectPoint(2);
    EXPECT_FALSE(Marker(2)->IsHidden());
    EXPECT_EQ(View().GetSelectedId(), 2u);
    View().SelectPoint(1);
    EXPECT_TRUE(Marker(2)->IsHidden());
    EXPECT_FALSE(Marker(1)->IsHidden());
    View().SelectPoint(7);  // no such point: nothing changes
    EXPECT_FALSE(Marker(1)->IsHidden());
    EXPECT_EQ(View().GetSelectedId(), 1u);
    const GlFrame f = Frame("kind-" + std::to_string(kind));
    const POINT marker = ClientOf(Point(1)->position);
    EXPECT_EQ(f.Rgb(marker.x, marker.y), kCyan) << "the marker over its arrow's tip";
    // These kinds only show: a click picks nothing.
    Click(PickPoint(1));
    EXPECT_TRUE(dialog->told.empty());
  }
  // Selecting is for kinds 3 and 4 only.
  Show(1);
  View().SelectPoint(2);
  EXPECT_EQ(View().GetSelectedId(), 1u);
}

TEST_F(ProductPreviewView, AKindZeroPickHighlightsOnlyWhenTheParentAgrees) {
  for (BOOL answer : {FALSE, TRUE}) {
    SCOPED_TRACE(answer);
    Open(0);
    dialog->pickAnswer = answer;
    // A group of its own, then a line after -1, which belongs to none.
    ASSERT_TRUE(View().AddLine(GLVector(100.5, 20, 0), GLVector(100.5, 280, 0), 2, 5));
    ASSERT_TRUE(View().AddLine(GLVector(300.5, 20, 0), GLVector(300.5, 280, 0), 2, -1));
    Camera().SetViewSize(kHeight, kHeight);
    Camera().SetTarget(GLVector(kWidth / 2.0, kHeight / 2.0, 0.0));
    Camera().ComputeView();
    GLEntity* grouped = Scene().GetEntity(1);
    Click({300, 150});
    EXPECT_TRUE(dialog->told.empty()) << "-1 ends the group before it";
    Click({100, 150});
    ASSERT_EQ(Messages(), (std::vector<UINT>{CViewJovGL::kPickMessage}));
    EXPECT_EQ(dialog->told[0].lParam, 5);
    EXPECT_EQ(dialog->told[0].wParam, static_cast<WPARAM>(MK_LBUTTON)) << "the key flags";
    EXPECT_EQ(View().GetSelectedId(), 5u);
    EXPECT_EQ(grouped->IsHighlighted(), answer != FALSE);
    EXPECT_EQ(grouped->GetHighlightLineWidth(), 3.0f);
  }
}

TEST_F(ProductPreviewView, ARightClickTellsTheParentBeforeTheMenuOpensOrWithoutOne) {
  Show(2, IDR_PRODUCT_PREVIEW_MENU);
  driver.ChooseMenu(ID_PRODUCT_PREVIEW_EXTENTS);
  Click({30, 40}, MouseButton::Right);
  ASSERT_EQ(Messages(), (std::vector<UINT>{CViewJovGL::kMenuMessage}));
  EXPECT_EQ(dialog->told[0].menusShown, 0u) << "told before the menu opened";
  auto* popup = reinterpret_cast<CMenu*>(dialog->told[0].lParam);
  ASSERT_NE(popup, nullptr);
  std::vector<UINT> items;
  for (int i = 0; i < popup->GetMenuItemCount(); ++i) items.push_back(popup->GetMenuItemID(i));
  EXPECT_EQ(items, (std::vector<UINT>{32772, 32773, 32774, 32775}));
  EXPECT_EQ(dialog->commands, (std::vector<UINT>{ID_PRODUCT_PREVIEW_EXTENTS})) << "the command goes to the dialog";

  Show(2);
  Click({30, 40}, MouseButton::Right);
  ASSERT_EQ(Messages(), (std::vector<UINT>{CViewJovGL::kRightClickMessage}));
  EXPECT_EQ(dialog->told[0].point.x, 30);
  EXPECT_EQ(dialog->told[0].point.y, 40);
  EXPECT_EQ(dialog->told[0].wParam, static_cast<WPARAM>(MK_RBUTTON));
}

TEST_F(ProductPreviewView, EachModeHasItsCursorAndAnUnloadedOneIsTheArrow) {
  Show(2);
  struct Row {
    uint32_t mode;
    const char* cursor;
  };
  const Row rows[] = {{0, "IDC_ARROW"}, {1, "resource 1013"}, {2, "resource 1012"}, {3, "IDC_ARROW"},
                      {4, "IDC_ARROW"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.mode);
    View().SetMode(r.mode);
    headless::QueueMouseMove(View().m_hWnd, {200, 150});
    Pump();
    EXPECT_EQ(DescribeCursor(GetCursor()), r.cursor) << "hovering";
    headless::QueueMouseButton(View().m_hWnd, {200, 150}, MouseButton::Left, true);
    Pump();
    EXPECT_EQ(DescribeCursor(GetCursor()), r.cursor) << "pressed";
    headless::QueueMouseButton(View().m_hWnd, {200, 150}, MouseButton::Left, false);
    Pump();
    for (const Told& t : dialog->told) EXPECT_NE(t.message, CViewJovGL::kPickMessage) << "nothing to pick";
  }
}

TEST_F(ProductPreviewView, AnEmptyProductEmptiesTheSceneResetsLeaveNoPointsAndResizingFitsTheView) {
  Show(3);
  double w, h;
  Camera().GetViewSize(&w, &h);
  const GLVector target = Camera().GetTarget();
  View().ShowPreview(nullptr, true);
  EXPECT_EQ(Scene().GetEntityCount(), 0u);
  EXPECT_EQ(View().Points().GetCount(), 0u);
  EXPECT_EQ(View().GetSelectedAngle(), 0.0);
  EXPECT_DOUBLE_EQ(Camera().GetViewWidth(), w) << "nothing to fit";
  EXPECT_EQ(Camera().GetTarget(), target);

  // Reset on its own, or converted entity by entity and never shown, the
  // points go with their markers and arrows (the sanitizers watch).
  Show(3);
  View().ResetView();
  EXPECT_EQ(View().Points().GetCount(), 0u);
  TestChain lone;
  resbuf* cursor = Product(lone).Head();
  uint32_t counter = 1;
  while (cursor) View().BuildPreviewFromDxf(&cursor, &counter);
  EXPECT_EQ(counter, 3u);
  View().ClearScene(false);
  EXPECT_EQ(View().Points().GetCount(), 0u);

  Show(2);
  View().Zoom(100);
  const double zoomed = Camera().GetViewWidth();
  View().SetWindowPos(nullptr, 0, 0, kWidth / 2, kHeight, SWP_NOMOVE | SWP_NOZORDER);
  Camera().GetViewSize(&w, &h);
  EXPECT_NE(w, zoomed) << "the zoom step is gone";
  const double margin = 1.25;
  View().Zoom(100);
  View().ZoomExtents(false, &margin);
  EXPECT_DOUBLE_EQ(Camera().GetViewWidth(), w) << "fitted with a margin of 1.25";
  EXPECT_DOUBLE_EQ(Camera().GetViewHeight(), h);

  // The editor's zoom buttons: half or twice the view around a point.
  const GLVector around(300, 100, 0);
  View().ZoomAt(&around, true);
  EXPECT_DOUBLE_EQ(Camera().GetViewWidth(), w / 2);
  EXPECT_EQ(Camera().GetTarget(), around);
  View().ZoomAt(nullptr, false);
  EXPECT_DOUBLE_EQ(Camera().GetViewHeight(), h);
  EXPECT_EQ(Camera().GetTarget(), around);
}

TEST_F(ProductPreviewView, DefinitionLineEndsHaveHiddenMarkersUntilModeOneAndAPickedMarkerIsItsPoint) {
  Show(2);
  CObjectSez points;
  TestChain chain;
  ASSERT_TRUE(ParseProductGeometry(points, Product(chain).Head(), true));
  ASSERT_EQ(points.GetCount(), 6u);
  FillPointList(points, nullptr, 0, &View());
  auto hidden = [&](const CObjectData& o) {
    uint32_t at = 0;
    EXPECT_TRUE(Scene().FindName(o.number, &at)) << o.number;
    return Scene().GetEntity(at + 1)->IsHidden();
  };
  auto check = [&](bool endsShown) {
    for (CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o))
      EXPECT_EQ(hidden(*o), (o->flags & PointFlag::kLineEnd) && !endsShown) << o->number;
  };
  check(false);
  ShowPointMarkers(points, nullptr, 1, &View());
  check(true);
  ShowPointMarkers(points, nullptr, 0, &View());
  check(false);

  // A click on a marker tells its point's number and highlights it.
  CObjectData* start = nullptr;
  for (CObjectData* o = FirstOf<CObjectData>(points); o && !start; o = NextOf(o))
    if (o->flags & PointFlag::kLineStart) start = o;
  ASSERT_NE(start, nullptr);
  Frame("definition-points");
  Click(PickPoint(start->number));
  ASSERT_EQ(Messages(), (std::vector<UINT>{CViewJovGL::kPickMessage}));
  EXPECT_EQ(dialog->told[0].lParam, static_cast<LPARAM>(start->number));
  uint32_t at = 0;
  ASSERT_TRUE(Scene().FindName(start->number, &at));
  EXPECT_TRUE(Scene().GetEntity(at + 1)->IsHighlighted());
  EXPECT_EQ(View().GetSelectedId(), 0u) << "kind 2 keeps the selection";
}

}  // namespace
