#include <gtest/gtest.h>

#include <cmath>

#include "GLTestSupport.h"
#include "objectgl/GLMatrixArray.h"

namespace {

using gltest::TestLine;

GLMatrix Translate(double x, double y, double z) {
  GLMatrix m;
  m.SetTranslation(x, y, z);
  return m;
}

GLMatrix RotateZ(double a) {
  GLMatrix m;
  m.SetRotationZ(a);
  return m;
}

GLMatrix Scale(double s) {
  GLMatrix m;
  m.SetScale(s);
  return m;
}

TEST(GLExtents, EmptyBoxesAddAndTransform) {
  GLExtents box;
  EXPECT_FALSE(box.IsValid());
  box.AddPoint(GLVector(1, 2, 3));
  EXPECT_TRUE(box.IsValid());
  EXPECT_EQ(box.Max(), GLVector(1, 2, 3));
  EXPECT_EQ(box.Min(), GLVector(1, 2, 3));
  const GLExtents before = box;
  box.AddExtents(GLExtents());
  EXPECT_EQ(box, before);
  GLExtents empty;
  empty.AddExtents(GLExtents());
  EXPECT_FALSE(empty.IsValid());
  empty.Transform(RotateZ(1.0));
  EXPECT_EQ(empty, GLExtents()) << "an empty box stays empty";

  // Every corner counts: a 45 degree turn of (0,0,0)-(2,1,0).
  GLExtents turned(GLVector(2, 1, 0), GLVector(0, 0, 0));
  turned.Transform(RotateZ(M_PI / 4));
  EXPECT_NEAR(turned.Min().x, -std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(turned.Max().x, std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(turned.Min().y, 0.0, 1e-12);
  EXPECT_NEAR(turned.Max().y, 3 * std::sqrt(0.5), 1e-12);
}

TEST(GLSceneExtents, MatrixEntitiesTransformWhatTheyBracket) {
  struct Case {
    const char* what;
    std::vector<GLEntity*> entities;
    double minX, maxX;
  };
  Case cases[] = {
      {"translated", {new GLPushMatrix(Translate(10, 0, 0)), new TestLine(GLVector(), GLVector(1, 0, 0)),
                      new GLPopMatrix, new TestLine(GLVector(), GLVector(1, 0, 0))},
       0, 11},
      {"45 degrees about Z", {new GLPushMatrix(RotateZ(M_PI / 4)), new TestLine(GLVector(), GLVector(2, 1, 0)),
                              new GLPopMatrix},
       -std::sqrt(0.5), std::sqrt(2.0)},
      {"outer +10 around inner x2", {new GLPushMatrix(Translate(10, 0, 0)), new GLPushMatrix(Scale(2)),
                                     new TestLine(GLVector(1, 0, 0), GLVector(1, 0, 0)), new GLPopMatrix,
                                     new GLPopMatrix},
       12, 12},
      {"after the inner pop the outer holds", {new GLPushMatrix(Translate(10, 0, 0)), new GLPushMatrix(Scale(2)),
                                               new GLPopMatrix, new TestLine(GLVector(1, 0, 0), GLVector(1, 0, 0)),
                                               new GLPopMatrix},
       11, 11},
  };
  for (Case& c : cases) {
    GLScene scene;
    for (GLEntity* e : c.entities) scene.AddEntity(e);
    scene.ComputeExtents();
    EXPECT_NEAR(scene.GetExtents().Min().x, c.minX, 1e-12) << c.what;
    EXPECT_NEAR(scene.GetExtents().Max().x, c.maxX, 1e-12) << c.what;
  }

  // Hidden entities count; AddEntity grows without the matrix rules.
  GLScene scene;
  auto* hidden = new TestLine(GLVector(-5, 0, 0), GLVector(0, 0, 0));
  scene.AddEntity(new GLPushMatrix(Translate(100, 0, 0)));
  scene.AddEntity(hidden);
  hidden->SetHidden(true);
  EXPECT_EQ(scene.GetExtents().Min().x, -5);
  scene.ComputeExtents();
  EXPECT_EQ(scene.GetExtents().Min().x, 95);
}

TEST(GLSceneExtents, ViewExtentsFogAndClipping) {
  double w = 0, h = 0, depth = -1;
  GLScene::GetViewExtents(GLMatrix(), GLVector(5, 10, 0), GLVector(0, 0, 0), GLVector(10, 20, 0), &w, &h, &depth);
  EXPECT_DOUBLE_EQ(w, 10.5);
  EXPECT_DOUBLE_EQ(h, 21.0);
  EXPECT_DOUBLE_EQ(depth, 0.0);

  // Eye 100 from the centre of a box of half-diagonal 10.
  GLScene scene;
  auto* cam = new GLCamera;
  scene.AddCamera(cam);
  const double half = 10.0 / std::sqrt(3.0);
  scene.AddEntity(new TestLine(GLVector(-half, -half, -half), GLVector(half, half, half)));
  cam->SetDistance(100);
  scene.AutoFog();
  float start = 0, end = 0;
  scene.GetFogRange(&start, &end);
  EXPECT_NEAR(start, 90.0f, 1e-4);
  EXPECT_NEAR(end, 102.5f, 1e-4);
  EXPECT_NEAR(scene.GetFogDensity(), std::log(5.0) / 100, 1e-6);

  // A perspective eye 50 from the centre of a box of diagonal 400.
  GLScene fit;
  auto* perspective = new GLCamera;
  fit.AddCamera(perspective);
  const double side = 400.0 / std::sqrt(3.0) / 2;
  fit.AddEntity(new TestLine(GLVector(-side, -side, -side), GLVector(side, side, side)));
  perspective->SetDistance(50);
  fit.FitClipping();
  EXPECT_DOUBLE_EQ(perspective->GetNear(), 1.0);
  EXPECT_NEAR(perspective->GetFar(), 4050.0, 1e-9);

  // One point and no content.
  GLScene point;
  auto* pc = new GLCamera;
  point.AddCamera(pc);
  point.AddEntity(new TestLine(GLVector(3, 3, 0), GLVector(3, 3, 0)));
  pc->SetPerspective(false);
  pc->SetTarget(GLVector(3, 3, 0));
  point.ZoomExtents(nullptr);
  point.FitClipping();
  EXPECT_GT(pc->GetViewWidth(), 0);
  EXPECT_GT(pc->GetViewHeight(), 0);
  EXPECT_GT(pc->GetNear(), 0);
  EXPECT_LT(pc->GetNear(), pc->GetFar());

  GLScene none;
  auto* nc = new GLCamera;
  none.AddCamera(nc);
  none.ZoomExtents(nullptr);
  none.FitClipping();
  none.AutoFog();
  EXPECT_EQ(nc->GetNear(), 1.0);
  EXPECT_EQ(nc->GetViewWidth(), 0.0);
  EXPECT_EQ(none.GetFogDensity(), 1.0f);
}

TEST(GLSceneExtents, AnOrthographicFitKeepsSmallDepthOffsetsApart) {
  // A drawing 20,000 units across, a green line 1 unit above a red one
  // drawn after it, fitted from an eye at the centre.
  gltest::SceneOnWindow s(100, 100, 20000, 20000);
  ASSERT_TRUE(s.ok);
  auto* over = new TestLine(GLVector(0, 10000, 1), GLVector(20000, 10000, 1), 1);
  auto* under = new TestLine(GLVector(10000, 0, 0), GLVector(10000, 20000, 0), 0);
  over->SetLineWidth(5);
  under->SetLineWidth(5);
  s.scene.AddEntity(over);
  s.scene.AddEntity(under);
  s.camera->SetDistance(0);
  s.scene.ZoomExtents(nullptr);
  s.scene.FitClipping();
  const double diagonal = (s.scene.GetExtents().Max() - s.scene.GetExtents().Min()).Length();
  EXPECT_LE(s.camera->GetDistance(), 8 * diagonal);
  EXPECT_GT(s.camera->GetNear(), 0);
  EXPECT_LT(s.camera->GetNear(), s.camera->GetDistance() - diagonal);
  EXPECT_GT(s.camera->GetFar(), s.camera->GetDistance() + diagonal);
  s.scene.Render();
  const GlFrame f = gltest::FrameOf(s.window, "ortho-depth");
  EXPECT_EQ(f.Rgb(50, 50), 0x00FF00u) << std::hex << f.Rgb(50, 50) << ": the line above stays in front";
  EXPECT_EQ(f.Rgb(50, 20), 0xFF0000u) << std::hex << f.Rgb(50, 20);
}

TEST(GLSceneExtents, ZoomFitsTheViewAndUnitsPerPixelFollow) {
  gltest::SceneOnWindow s(200, 100, 1, 1);
  ASSERT_TRUE(s.ok);
  s.scene.AddEntity(new TestLine(GLVector(0, 0, 0), GLVector(100, 50, 0)));
  const double factor = 1.0;
  s.scene.ZoomExtents(&factor);
  EXPECT_DOUBLE_EQ(s.camera->GetViewWidth(), 105.0);
  EXPECT_DOUBLE_EQ(s.camera->GetViewHeight(), 52.5);
  EXPECT_EQ(s.camera->GetTarget(), GLVector(50, 25, 0));
  EXPECT_DOUBLE_EQ(s.scene.GetUnitsPerPixel(), 1.05);
  s.scene.Render();
  GlFrame f = gltest::FrameOf(s.window, "zoom_extents");
  // The diagonal passes through the middle of the window.
  EXPECT_EQ(f.Rgb(100, 50) == 0xFF0000 || f.Rgb(100, 49) == 0xFF0000 || f.Rgb(99, 50) == 0xFF0000, true);

  HWND flat = gltest::NewWindow(0, 0);
  GLViewportWin* zero = new GLViewportWin(flat);
  s.scene.AddViewport(zero);
  s.scene.SetCurrentViewport(2);
  EXPECT_EQ(s.scene.GetUnitsPerPixel(), 1.0) << "zero-size viewport";
  s.scene.SetCurrentViewport(1);
  DestroyWindow(flat);
}

TEST(GLSceneModelMatrix, MappingAndMovingToTheOrigin) {
  EXPECT_EQ(GLScene::MapPoint(GLVector(1, 2, 3), nullptr), GLVector(1, 2, 3));
  GLScene scene;
  scene.AddEntity(new TestLine(GLVector(5, 7, 3), GLVector(9, 9, 9)));
  GLMatrix moved;
  ASSERT_TRUE(scene.MoveExtentsToOrigin(moved, false));
  EXPECT_EQ(GLScene::MapPoint(GLVector(5, 7, 3), &scene), GLVector(0, 0, 3));
  EXPECT_EQ(GLScene::MapDirection(GLVector(1, 1, 1), &scene), GLVector(1, 1, 1));
  const float p[4] = {5, 7, 3, 0};
  EXPECT_EQ(GLScene::MapHomogeneous(p, &scene), (std::array<float, 4>{5, 7, 3, 0}));
  const GLMatrix back = GLScene::MapMatrixInverse(GLScene::MapMatrix(Translate(1, 1, 1), &scene), &scene);
  EXPECT_EQ(back.GetData()[12], 1.0);
  EXPECT_EQ(back.GetData()[13], 1.0);

  GLScene empty;
  EXPECT_FALSE(empty.MoveExtentsToOrigin(moved, true));
  EXPECT_EQ(moved.GetData()[12], 0.0);
}

TEST(GLMatrixArray, InsertsShiftAndCapacityKeepsTheHead) {
  GLMatrixArray a(2, 3);
  EXPECT_EQ(a.GetCapacity(), 2u);
  a.InsertAt(0, Translate(1, 0, 0));
  a.InsertAt(0, Translate(2, 0, 0));
  a.InsertAt(1, Translate(3, 0, 0));
  EXPECT_EQ(a.GetCapacity(), 5u);
  EXPECT_EQ(a.GetAt(0).GetData()[12], 2.0);
  EXPECT_EQ(a.GetAt(1).GetData()[12], 3.0);
  EXPECT_EQ(a.GetAt(2).GetData()[12], 1.0);
  a.SetCapacity(2);
  EXPECT_EQ(a.GetCount(), 2u);
  a.SetCapacity(0);
  EXPECT_EQ(a.GetCount(), 0u);
  EXPECT_EQ(a.GetCapacity(), 0u);
}

}  // namespace
