// Markers and arrows: their figures as OpenGL receives them, their size in
// pixels at any zoom, and their written forms.
#include <gtest/gtest.h>

#include <cmath>

#include "GLTestSupport.h"
#include "objectgl/GLArrow.h"
#include "objectgl/GLContour.h"
#include "objectgl/GLMesh.h"
#include "objectgl/GLPolygon.h"
#include "objectgl/GLSelectPoint.h"

namespace {

TEST(GLSelectPoint, EachStyleDrawsItsFigure) {
  gltest::SceneOnWindow s(10, 10, 10, 10);
  ASSERT_TRUE(s.ok);
  s.viewport->MakeCurrent();
  struct Case {
    uint32_t style;
    bool highlighted;
    size_t lines;           // line segments
    size_t polygonCorners;  // corners of the filled figure, 0 for none
  };
  const Case cases[] = {
      {0, false, 2, 0}, {1, false, 2, 0},  {99, false, 2, 0},  {2, false, 1, 0},   {3, false, 0, 3},
      {4, false, 0, 4}, {8, false, 0, 8},  {32, false, 0, 32}, {500, false, 0, 3}, {501, false, 0, 32},
      {4, true, 4, 0},  {32, true, 32, 0}, {502, false, 4, 0}, {503, false, 4, 0}, {9, false, 2, 0},
  };
  // Without camera or viewport a pixel is a unit: size 100 spans 100.
  const double size = 100;
  for (const Case& c : cases) {
    GLSelectPoint marker(GLVector(), 0, &size, c.style, GLAxisX, GLAxisY, GLAxisZ);
    marker.SetHighlighted(c.highlighted);
    const auto fed = gltest::Feedback([&] { marker.Draw(0, nullptr); });
    EXPECT_EQ(gltest::LineCount(fed), c.lines) << c.style;
    // Filled figures come back as triangles: corners - 2 of them.
    const size_t triangles = static_cast<size_t>(std::count_if(
        fed.begin(), fed.end(), [](const gltest::FedPrimitive& p) { return p.token == GL_POLYGON_TOKEN; }));
    EXPECT_EQ(triangles, c.polygonCorners ? c.polygonCorners - 2 : 0) << c.style;
    if (c.style == 4 && !c.highlighted) {
      // A square on a corner: corners on the axes at half the size.
      std::vector<std::pair<long, long>> corners;
      for (const auto& p : fed)
        for (const GLVector& v : p.points) corners.emplace_back(std::lround(v.x), std::lround(v.y));
      std::sort(corners.begin(), corners.end());
      corners.erase(std::unique(corners.begin(), corners.end()), corners.end());
      EXPECT_EQ(corners, (std::vector<std::pair<long, long>>{{-50, 0}, {0, -50}, {0, 50}, {50, 0}}));
    }
    if (c.style == 0) {
      double reach = 0;
      for (const auto& p : fed)
        for (const GLVector& v : p.points) reach = std::max(reach, std::fabs(v.x));
      EXPECT_NEAR(reach, 50, 1e-3);
    }
  }
  // Hidden: nothing, and empty extents even when included.
  GLSelectPoint hidden(GLVector(), 0, &size, 4, GLAxisX, GLAxisY, GLAxisZ);
  hidden.SetIncludeInExtents(true);
  EXPECT_TRUE(hidden.GetExtents().IsValid());
  hidden.SetHidden(true);
  EXPECT_TRUE(gltest::Feedback([&] { hidden.Draw(0, nullptr); }).empty());
  EXPECT_FALSE(hidden.GetExtents().IsValid());
}

TEST(GLSelectPoint, ItKeepsItsScreenSizeAsTheViewZooms) {
  gltest::SceneOnWindow s(100, 100, 10, 10);  // 0.1 units a pixel
  ASSERT_TRUE(s.ok);
  const double size = 20;
  auto* marker = new GLSelectPoint(GLVector(5, 5, 0), 1, &size, 32, GLAxisX, GLAxisY, GLAxisZ);
  EXPECT_FALSE(marker->GetExtents().IsValid()) << "not included by default";
  marker->SetIncludeInExtents(true);
  s.scene.AddEntity(marker);
  GLExtents e = marker->GetExtents();
  EXPECT_NEAR(e.Max().x - e.Min().x, 2.0, 1e-9);
  s.scene.Render();
  GlFrame f = gltest::FrameOf(s.window, "marker-disc");
  EXPECT_EQ(f.Rgb(50, 50), 0x00FF00u);
  EXPECT_EQ(f.Rgb(50, 42), 0x00FF00u);
  EXPECT_EQ(f.Rgb(50, 35), 0xFFFFFFu);

  s.camera->SetViewSize(20, 20);  // zoomed out: twice the units a pixel
  e = marker->GetExtents();
  EXPECT_NEAR(e.Max().x - e.Min().x, 4.0, 1e-9);
  s.scene.Render();
  f = gltest::FrameOf(s.window, "marker-disc-zoomed-out");
  EXPECT_EQ(f.Rgb(50, 42), 0x00FF00u) << "the same size on screen";
  EXPECT_EQ(f.Rgb(50, 35), 0xFFFFFFu);

  // Turning its frame turns the figure.
  marker->Transform([] {
    GLMatrix m;
    m.SetTranslation(1, 0, 0);
    return m;
  }());
  EXPECT_EQ(marker->GetPosition(), GLVector(6, 5, 0));
}

TEST(GLArrow, HeadAndShaftEitherWay) {
  gltest::SceneOnWindow s(10, 10, 10, 10);
  ASSERT_TRUE(s.ok);
  s.viewport->MakeCurrent();
  const double length = 90, angle = 0;
  for (uint8_t direction : {uint8_t{1}, uint8_t{0}}) {
    GLArrow arrow(GLVector(10, 0, 0), 0, &length, GLAxisX, GLAxisY, GLAxisZ, &angle, direction);
    glPolygonMode(GL_FRONT, GL_POINT);
    glPolygonMode(GL_BACK, GL_LINE);
    const auto fed = gltest::Feedback([&] { arrow.Draw(0, nullptr); });
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_POINT);
    EXPECT_EQ(modes[1], GL_LINE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    ASSERT_EQ(fed.size(), 3u);  // the head, and the shaft as two triangles
    const GLVector tip = fed[0].points[0];
    EXPECT_NEAR(tip.x, direction ? 10 : 100, 1e-3);
    EXPECT_NEAR(fed[0].points[1].x, direction ? 40 : 70, 1e-3);  // head a third long
    EXPECT_NEAR(std::fabs(fed[0].points[1].y), 30, 1e-3);        // and two thirds wide
    double far = 0;
    for (const auto& p : fed)
      for (const GLVector& v : p.points) far = std::max(far, std::fabs(v.x - tip.x));
    EXPECT_NEAR(far, 90, 1e-3);
  }
  // Turned a quarter about its z axis, it points along y.
  const double quarter = std::acos(-1.0) / 2;
  GLArrow up(GLVector(), 0, &length, GLAxisX, GLAxisY, GLAxisZ, &quarter, 1);
  up.SetIncludeInExtents(true);
  const GLExtents e = up.GetExtents();
  EXPECT_NEAR(e.Max().y, 90, 1e-9);
  EXPECT_NEAR(e.Max().x, 30, 1e-9);
  up.SetHidden(true);
  EXPECT_FALSE(up.GetExtents().IsValid());
  EXPECT_TRUE(gltest::Feedback([&] { up.Draw(0, nullptr); }).empty());
}

TEST(GLMarkers, WrittenFormsAndShortStreams) {
  const double size = 7, length = 12, angle = 0.5;
  GLSelectPoint marker(GLVector(1, 2, 3), 4, &size, 3, GLAxisX, GLAxisY, GLAxisZ);
  const auto markerBytes = gltest::Written(marker);
  ASSERT_EQ(markerBytes.size(), 28u);
  GLSelectPoint markerBack;
  GLIstream is(markerBytes.data(), 28);
  ASSERT_TRUE(markerBack.Read(is));
  EXPECT_EQ(markerBack.GetPosition(), GLVector(1, 2, 3));
  EXPECT_EQ(markerBack.GetMaterial(), 4u);
  gltest::ExpectEveryPrefixFails<GLSelectPoint>(markerBytes, "marker");

  GLArrow arrow(GLVector(1, 2, 3), 5, &length, GLAxisX, GLAxisY, GLAxisZ, &angle, 0);
  const auto arrowBytes = gltest::Written(arrow);
  ASSERT_EQ(arrowBytes.size(), 45u);
  EXPECT_EQ(arrowBytes[44], 0);
  GLArrow arrowBack;
  GLIstream in(arrowBytes.data(), 45);
  ASSERT_TRUE(arrowBack.Read(in));
  EXPECT_EQ(arrowBack.GetLength(), 12.0);
  EXPECT_EQ(arrowBack.GetAngle(), 0.5);
  EXPECT_EQ(arrowBack.GetDirection(), 0);
  EXPECT_EQ(arrowBack.GetMaterial(), 5u);
  gltest::ExpectEveryPrefixFails<GLArrow>(arrowBytes, "arrow");
  EXPECT_TRUE(gltest::Written(arrow, 45).empty()) << "a full writer reports it";
}

}  // namespace

// Picking sends the figures as vertex arrays (Mesa keeps every vertex sent
// one by one while selecting): each kind of figure is still found where it
// is drawn, and nowhere else.
TEST(GLMarkers, MarkersArrowsPolygonsAndMeshesArePickedWhereTheyAre) {
  gltest::SceneOnWindow s(100, 100, 100, 100);
  ASSERT_TRUE(s.ok);
  const double size = 10, length = 20, angle = 0;
  auto add = [&](uint32_t name, GLEntity* e) {
    s.scene.AddEntity(new GLName(name));
    s.scene.AddEntity(e);
    return e;
  };
  add(1, new GLSelectPoint(GLVector(20, 20, 0), 0, &size, 32, GLAxisX, GLAxisY, GLAxisZ));
  add(2, new GLSelectPoint(GLVector(50, 20, 0), 0, &size, 0, GLAxisX, GLAxisY, GLAxisZ));
  add(3, new GLArrow(GLVector(60, 50, 0), 0, &length, GLAxisX, GLAxisY, GLAxisZ, &angle, 1));
  auto* square = new GLContour;
  for (const GLVector& p : {GLVector(10, 70, 0), GLVector(30, 70, 0), GLVector(30, 90, 0), GLVector(10, 90, 0)})
    square->AddPoint(p);
  auto* polygon = new GLPolygon(0);
  polygon->AddContour(square);
  add(4, polygon);
  const std::vector<GLVector> grid = {GLVector(60, 70, 0), GLVector(90, 70, 0), GLVector(60, 90, 0),
                                      GLVector(90, 90, 0)};
  const std::vector<GLVector> up(4, GLAxisZ);
  add(5, new GLMesh(2, 2, grid.data(), up.data(), nullptr, 0));
  GLEntity* hidden = add(6, new GLSelectPoint(GLVector(80, 20, 0), 0, &size, 4, GLAxisX, GLAxisY, GLAxisZ));
  hidden->SetHidden(true);
  s.scene.Render();  // the polygon's list made first: a pick sends its triangles anew

  // Window y runs downwards: world y at 100 - y.
  struct Hit {
    int x, y;
    int32_t name;
  };
  // The mesh is drawn in outline in render mode 0: its edge is picked, not
  // its middle.
  const Hit hits[] = {{20, 80, 1}, {50, 80, 2}, {70, 50, 3}, {20, 20, 4}, {60, 20, 5},
                      {75, 20, -1}, {80, 80, -1}, {40, 50, -1}, {45, 20, -1}};
  for (const Hit& h : hits) EXPECT_EQ(s.scene.Pick(h.x, h.y, 2.0), h.name) << h.x << ", " << h.y;
}
