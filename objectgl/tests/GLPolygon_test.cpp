// Filled polygons rendered off-screen and read back, and their contours.
#include "objectgl/GLPolygon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "GLTestSupport.h"
#include "objectgl/GLArc.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLEllipse.h"
#include "objectgl/GLLine.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kWhite = 0xFFFFFF;

GLContour* Rectangle(double x0, double y0, double x1, double y1, bool interior = false) {
  auto* c = new GLContour;
  c->AddPoint(GLVector(x0, y0, 0));
  c->AddPoint(GLVector(x1, y0, 0));
  c->AddPoint(GLVector(x1, y1, 0));
  c->AddPoint(GLVector(x0, y1, 0));
  c->SetInterior(interior);
  return c;
}

TEST(GLPolygon, ASquareWithAnInteriorSquareIsAFrame) {
  for (bool lists : {false, true}) {
    gltest::SceneOnWindow s(100, 100, 100, 100);
    ASSERT_TRUE(s.ok);
    s.scene.SetUseDisplayList(lists);
    auto* frame = new GLPolygon(0);
    frame->AddContour(Rectangle(10, 10, 90, 90));
    frame->AddContour(Rectangle(30, 30, 70, 70, true));
    s.scene.AddEntity(frame);
    s.scene.Render();
    s.scene.Render();  // from the compiled lists the second time
    EXPECT_TRUE(frame->IsCompiled());
    const GlFrame f = gltest::FrameOf(s.window, lists ? "polygon-frame-lists" : "polygon-frame");
    EXPECT_EQ(f.Rgb(50, 50), kWhite) << "the hole";
    EXPECT_EQ(f.Rgb(20, 50), kRed) << "the frame";
    EXPECT_EQ(f.Rgb(50, 80), kRed);
    EXPECT_EQ(f.Rgb(5, 5), kWhite) << "outside";
    EXPECT_EQ(GLPolygonCombineCount(), 0u);
  }
}

TEST(GLPolygon, DrawnInItsOwnColourWhileLightingIsOff) {
  // After a green line, in the three render modes without lighting.
  for (uint32_t mode : {0u, 1u, 2u}) {
    gltest::SceneOnWindow s(100, 100, 100, 100);
    ASSERT_TRUE(s.ok);
    s.scene.SetRenderMode(mode);
    s.scene.AddEntity(new GLLine(GLVector(0, 95, 0), GLVector(100, 95, 0), 1));
    auto* square = new GLPolygon(0);
    square->AddContour(Rectangle(10, 10, 90, 80));
    s.scene.AddEntity(square);
    s.scene.Render();
    const GlFrame f = gltest::FrameOf(s.window, "polygon-mode-" + std::to_string(mode));
    EXPECT_EQ(f.Rgb(50, 50), kRed) << "mode " << mode << " " << std::hex << f.Rgb(50, 50);
  }
}

TEST(GLPolygon, CrossingContoursKeepTheirMadeVertices) {
  // A comb of 20 teeth across a bar: 80 crossings, each a vertex the
  // tessellator makes and keeps the address of; overlaps are holes.
  gltest::SceneOnWindow s(200, 100, 200, 100);
  ASSERT_TRUE(s.ok);
  auto* comb = new GLPolygon(1);
  comb->AddContour(Rectangle(0, 40, 200, 60));
  for (int i = 0; i < 20; ++i) comb->AddContour(Rectangle(i * 10 + 2, 10, i * 10 + 7, 90));
  s.scene.AddEntity(comb);
  s.scene.Render();
  const GlFrame f = gltest::FrameOf(s.window, "polygon-comb");
  EXPECT_EQ(f.Rgb(54, 20), 0x00FF00u) << "a tooth";
  EXPECT_EQ(f.Rgb(54, 50), kWhite) << "tooth over bar";
  EXPECT_EQ(f.Rgb(59, 50), 0x00FF00u) << "bar between teeth";
  EXPECT_EQ(f.Rgb(59, 20), kWhite) << "between teeth";
  EXPECT_EQ(GLPolygonCombineCount(), 0u);
}

TEST(GLPolygon, EmptyPolygonsModesAndTheCompiledList) {
  gltest::SceneOnWindow s(10, 10, 10, 10);
  ASSERT_TRUE(s.ok);
  s.viewport->MakeCurrent();
  GLPolygon empty;
  EXPECT_FALSE(empty.GetExtents().IsValid());
  EXPECT_TRUE(gltest::Feedback([&] { empty.Draw(0, nullptr); }).empty());
  empty.Draw(0, nullptr);
  EXPECT_TRUE(empty.IsCompiled());

  GLPolygon square;
  square.AddContour(Rectangle(0, 0, 4, 3));
  square.AddContour(nullptr);  // skipped
  EXPECT_EQ(square.GetExtents().Max(), GLVector(4, 3, 0));
  glPolygonMode(GL_FRONT, GL_LINE);
  glPolygonMode(GL_BACK, GL_POINT);
  const auto fed = gltest::Feedback([&] { square.Draw(0, nullptr); });
  ASSERT_FALSE(fed.empty());
  for (const auto& p : fed) EXPECT_EQ(p.token, static_cast<GLenum>(GL_POLYGON_TOKEN)) << "filled whatever the mode";
  GLint modes[2];
  glGetIntegerv(GL_POLYGON_MODE, modes);
  EXPECT_EQ(modes[0], GL_LINE);
  EXPECT_EQ(modes[1], GL_POINT);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

  // Contours added after the first draw do not reach the list; a pick
  // finds the polygon.
  s.scene.AddEntity(new GLName(9));
  auto* drawn = new GLPolygon(0);
  drawn->AddContour(Rectangle(0, 0, 5, 5));
  s.scene.AddEntity(drawn);
  s.scene.Render();
  drawn->AddContour(Rectangle(6, 6, 9, 9));
  s.scene.Render();
  const GlFrame f = gltest::FrameOf(s.window, "polygon-late-contour");
  EXPECT_EQ(f.Rgb(2, 7), kRed);
  EXPECT_EQ(f.Rgb(7, 2), kWhite);
  EXPECT_EQ(s.scene.Pick(2, 7), 9);
  EXPECT_EQ(s.scene.Pick(7, 2), -1);
}

// The GLU tessellator crashes on a point that is not a number: such points
// are left out, drawing and picking alike.
TEST(GLPolygon, PointsThatAreNoNumbersAreLeftOut) {
  gltest::SceneOnWindow s(100, 100, 100, 100);
  ASSERT_TRUE(s.ok);
  GLContour* square = Rectangle(10, 10, 90, 90);
  const double nan = std::nan(""), inf = INFINITY;
  GLVectorArray points = square->GetPoints();
  for (const GLVector& odd : {GLVector(nan, 50, 0), GLVector(50, inf, 0), GLVector(50, 50, -inf)}) points.Add(odd);
  square->SetPoints(points);
  auto* polygon = new GLPolygon(0);
  polygon->AddContour(square);
  s.scene.AddEntity(new GLName(4));
  s.scene.AddEntity(polygon);
  s.scene.Render();
  EXPECT_EQ(gltest::FrameOf(s.window, "polygon-not-numbers").Rgb(50, 50), kRed);
  EXPECT_EQ(s.scene.Pick(50, 50), 4);
}

TEST(GLContour, ArcsEllipsesAndCircles) {
  const double r = 1.0, a = 0.0, b = std::numbers::pi / 2;
  GLArc same(GLVector(), &r, &a, &a, 0, 8);
  GLArc quarter(GLVector(), &r, &a, &b, 0, 8);
  GLContour c;
  EXPECT_FALSE(c.AddArc(same)) << "start = end draws a circle but adds nothing";
  EXPECT_EQ(c.GetCount(), 0u);
  EXPECT_TRUE(c.AddArc(quarter));
  EXPECT_TRUE(c.AddArc(quarter));
  EXPECT_EQ(c.GetCount(), 16u);
  const double ratio = 0.5, full = 2 * std::numbers::pi, nearly = 1e-11;
  GLEllipse tiny(GLVector(), GLAxisX, GLAxisZ, &ratio, 0, &a, &nearly, 8);
  EXPECT_FALSE(c.AddEllipse(tiny));
  GLEllipse whole(GLVector(), GLAxisX, GLAxisZ, &ratio, 0, &a, &full, 8);
  EXPECT_TRUE(c.AddEllipse(whole));
  EXPECT_EQ(c.GetCount(), 24u);
  c.SetFromEllipse(tiny);  // no angle test here
  EXPECT_EQ(c.GetCount(), 8u);
  GLCircle circle(GLVector(5, 0, 0), GLAxisZ, &r, 0, 12);
  c.SetFromCircle(circle);
  EXPECT_EQ(c.GetCount(), 12u);
  EXPECT_DOUBLE_EQ(c.GetPoints()[0].x, 6.0);
  GLContour copy(c);
  copy.SetInterior(true);
  GLMatrix m;
  m.SetTranslation(0, 10, 0);
  copy.Transform(m);
  EXPECT_DOUBLE_EQ(copy.GetPoints()[0].y, 10.0);
  EXPECT_DOUBLE_EQ(c.GetPoints()[0].y, 0.0);
  EXPECT_TRUE(copy.IsInterior());
}

}  // namespace
