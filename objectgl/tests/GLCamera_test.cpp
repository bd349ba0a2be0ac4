// Projections read back from OpenGL after the camera applied them.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "GLTestSupport.h"

namespace {

std::array<double, 16> Projection() {
  std::array<double, 16> m{};
  glGetDoublev(GL_PROJECTION_MATRIX, m.data());
  return m;
}

// The x and y a point at the given eye-space x, y lands on in normalised
// device coordinates span [-1, 1]: for glOrtho(l, r, b, t) x spans l..r.
double SpanX(const std::array<double, 16>& m) { return 1.0 / m[0]; }
double SpanY(const std::array<double, 16>& m) { return 1.0 / m[5]; }

TEST(GLCamera, OrthographicViewSizeFollowsTheWindowsShape) {
  struct Case {
    int width, height;
    double spanX, spanY;
  } const cases[] = {{200, 100, 100, 50}, {100, 200, 50, 100}, {150, 150, 50, 50}};
  for (const Case& c : cases) {
    gltest::SceneOnWindow s(c.width, c.height, 1, 1);
    ASSERT_TRUE(s.ok);
    s.camera->SetViewSize(100, 50);
    s.camera->ApplyProjection(s.viewport);
    const auto m = Projection();
    EXPECT_NEAR(SpanX(m), c.spanX, 1e-4) << c.width << "x" << c.height;
    EXPECT_NEAR(SpanY(m), c.spanY, 1e-4) << c.width << "x" << c.height;
    EXPECT_TRUE(s.camera->IsProjectionValid());
  }
}

TEST(GLCamera, PerspectiveAndThePickRegionReachOpenGL) {
  gltest::SceneOnWindow s(300, 200, 10, 10);
  ASSERT_TRUE(s.ok);
  GLCamera& cam = *s.camera;
  cam.SetPerspective(true);
  EXPECT_FALSE(cam.IsProjectionValid());
  cam.ApplyProjection(s.viewport);
  auto m = Projection();
  const double f = 1.0 / std::tan(0.7853981633974483 / 2);  // 45 degrees
  EXPECT_NEAR(m[5], f, 1e-6) << "gluPerspective did nothing";
  EXPECT_NEAR(m[0], f / 1.5, 1e-6);
  EXPECT_NEAR(m[14], -2.0 * 100.0 * 1.0 / (100.0 - 1.0), 1e-6);  // far 100, near 1

  cam.ApplyPickProjection(s.viewport, 150, 100);
  auto p = Projection();
  // A 5-pixel region of a 300-pixel window is 60 times narrower.
  EXPECT_NEAR(p[0], m[0] * 60.0, 1e-4) << "gluPickMatrix did nothing";
  EXPECT_NEAR(p[5], m[5] * 40.0, 1e-4);
  EXPECT_FALSE(cam.IsProjectionValid());

  // The next render puts the normal projection back.
  s.scene.Render();
  EXPECT_NEAR(Projection()[0], m[0], 1e-6);
  EXPECT_TRUE(cam.IsProjectionValid());
}

TEST(GLCamera, EyeAxesAndViewFromAxes) {
  GLCamera cam;
  cam.SetTarget(GLVector(1, 2, 3));
  cam.SetDistance(10);
  EXPECT_EQ(cam.GetEyePosition(), GLVector(1, 2, 13));

  cam.SetRotation(0.3, -0.7, 1.1);
  GLVector x, y, z;
  cam.GetAxes(&x, &y, &z);
  GLCamera rebuilt;
  rebuilt.SetViewFromAxes(x, y, z);
  // Angles come back up to whole turns.
  EXPECT_NEAR(std::remainder(rebuilt.GetRotationX() - 0.3, 2 * M_PI), 0.0, 1e-9);
  EXPECT_NEAR(std::remainder(rebuilt.GetRotationY() + 0.7, 2 * M_PI), 0.0, 1e-9);
  EXPECT_NEAR(std::remainder(rebuilt.GetRotationZ() - 1.1, 2 * M_PI), 0.0, 1e-9);

  GLVector wx = GLAxisX, wz = GLAxisZ;
  GLCamera world;
  world.SetViewFromAxes(wx, GLAxisY, wz);
  EXPECT_EQ(world.GetRotationX(), 0.0);
  EXPECT_EQ(world.GetRotationY(), 0.0);
  EXPECT_EQ(world.GetRotationZ(), 0.0);
}

}  // namespace
