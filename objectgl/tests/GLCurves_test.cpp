// Value arrays and the wireframe entities: tessellation, the bulge form,
// transformations, extents, streams and what they issue to OpenGL.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "GLTestSupport.h"
#include "objectgl/GLArc.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLEllipse.h"
#include "objectgl/GLGeometry.h"
#include "objectgl/GLLine.h"

namespace {

constexpr double kPi = std::numbers::pi;

double Degrees(double d) { return d * kPi / 180.0; }

// The angle the points turn through about the centre, summed point to point
// (counter-clockwise positive).
double Swept(const GLVectorArray& points, const GLVector& centre) {
  double total = 0.0;
  for (uint32_t i = 1; i < points.GetCount(); ++i) {
    const GLVector a = points[i - 1] - centre, b = points[i] - centre;
    total += std::atan2(a.x * b.y - a.y * b.x, a.x * b.x + a.y * b.y);
  }
  return total;
}

void ExpectNear(const GLVector& a, const GLVector& b, double tolerance, const char* what = "") {
  EXPECT_NEAR(a.x, b.x, tolerance) << what;
  EXPECT_NEAR(a.y, b.y, tolerance) << what;
  EXPECT_NEAR(a.z, b.z, tolerance) << what;
}

TEST(GLArray, GrowsByItsStepAndCopiesAsTold) {
  GLVectorArray a(0, 10);
  EXPECT_EQ(a.GetCapacity(), 0u);
  for (int i = 0; i < 11; ++i) ASSERT_TRUE(a.Add(GLVector(i, 0, 0)));
  EXPECT_EQ(a.GetCount(), 11u);
  EXPECT_EQ(a.GetCapacity(), 20u);  // 10, then 10 more
  ASSERT_TRUE(a.InsertAt(0, GLVector(-1, 0, 0)));
  EXPECT_EQ(a[0].x, -1.0);
  EXPECT_EQ(a[1].x, 0.0);
  EXPECT_EQ(a[11].x, 10.0);
  ASSERT_TRUE(a.InsertAt(99, GLVector(99, 0, 0)));  // past the count: appended
  EXPECT_EQ(a[12].x, 99.0);

  ASSERT_TRUE(a.SetSize(25));  // beyond the capacity: capacity + step
  EXPECT_EQ(a.GetCapacity(), 30u);
  ASSERT_TRUE(a.SetCapacity(5));  // cuts the count
  EXPECT_EQ(a.GetCount(), 5u);
  EXPECT_EQ(a[4].x, 3.0);

  GLVectorArray b(0, 3);
  b.Add(GLVector(7, 7, 7));
  ASSERT_TRUE(b.Append(a));  // exactly what both need
  EXPECT_EQ(b.GetCount(), 6u);
  EXPECT_EQ(b.GetCapacity(), 6u);
  EXPECT_EQ(b[5].x, 3.0);

  GLVectorArray c;
  c = b;
  EXPECT_EQ(c.GetCount(), 6u);
  EXPECT_EQ(c.GetCapacity(), 6u);
  EXPECT_EQ(c[0].z, 7.0);
  c = c;
  EXPECT_EQ(c.GetCount(), 6u);
  ASSERT_TRUE(c.SetCapacity(0));
  EXPECT_EQ(c.GetCount(), 0u);
  EXPECT_EQ(c.GetData(), nullptr);

  // A grow step of 0 still makes room.
  GLArray<int*> pointers(0, 0);
  int x = 0;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(pointers.Add(&x));
  EXPECT_EQ(pointers.GetCount(), 3u);
}

TEST(GLCircle, TessellationSegmentsExtentsAndTransform) {
  const double r = 2.0;
  for (int asked : {0, 1, 2}) {
    GLCircle c(GLVector(), GLAxisZ, &r, 0, asked);
    GLVectorArray points;
    c.GetPoints(points);
    ASSERT_EQ(points.GetCount(), 3u) << asked;  // a triangle
  }
  GLCircle circle(GLVector(1, 1, 0), GLAxisZ, &r, 0, 64);
  // Extents of a circle never drawn: its points' box.
  const GLExtents box = circle.GetExtents();
  ExpectNear(box.Min(), GLVector(-1, -1, 0), 1e-9);
  ExpectNear(box.Max(), GLVector(3, 3, 0), 1e-9);

  GLMatrix m;
  m.SetScale(3.0);
  m.SetTranslation(10, 0, 0);
  circle.Transform(m);
  EXPECT_DOUBLE_EQ(circle.GetRadius(), 6.0);
  ExpectNear(circle.GetCentre(), GLVector(13, 3, 0), 1e-12);
  GLVectorArray moved;
  circle.GetPoints(moved);  // the kept points moved in place
  for (const GLVector& p : moved) EXPECT_NEAR(GLDistance(p, circle.GetCentre()), 6.0, 1e-9);

  // Without a normal (what the factory makes) the circle lies in XY.
  std::unique_ptr<GLObject> made(GLCircle::classRecord->CreateObject());
  GLVectorArray flat;
  static_cast<GLCircle*>(made.get())->GetPoints(flat);
  ASSERT_EQ(flat.GetCount(), 64u);
  for (const GLVector& p : flat) EXPECT_TRUE(std::isfinite(p.x) && p.z == 0.0);
}

TEST(GLArc, SweepFollowsTheDirection) {
  struct Case {
    double start, end;
    bool clockwise;
    double swept;  // degrees, counter-clockwise positive
  };
  const Case cases[] = {
      {350, 10, false, 20}, {350, 10, true, -340}, {10, 350, false, 340}, {10, 350, true, -20},
      {0, 90, false, 90},   {45, 45, false, 360},  {45, 45, true, -360},
  };
  const double r = 1.0;
  for (const Case& c : cases) {
    const double s = Degrees(c.start), e = Degrees(c.end);
    // Clockwise arcs come from negative bulges and mirrors: mirrored in x,
    // the counter-clockwise arc from -start to -end is the clockwise one.
    const double ms = c.clockwise ? -s : s, me = c.clockwise ? -e : e;
    GLArc arc(GLVector(), &r, &ms, &me, 0, 37);
    if (c.clockwise) {
      GLMatrix mirror;
      mirror.SetScaleY(-1.0);
      arc.Transform(mirror);
      ASSERT_EQ(arc.GetDirection(), static_cast<uint32_t>(GL_CW));
    }
    GLVectorArray points;
    arc.GetPoints(points);
    ASSERT_EQ(points.GetCount(), 37u);
    EXPECT_NEAR(Swept(points, GLVector()), Degrees(c.swept), 1e-9) << c.start << " to " << c.end;
    ExpectNear(points[0], GLVector(std::cos(s), std::sin(s), 0), 1e-9);
    ExpectNear(points[36], GLVector(std::cos(e), std::sin(e), 0), 1e-9);
  }
}

TEST(GLArc, BulgeMakesTheHalfCircleEitherWay) {
  const double one = 1.0, minusOne = -1.0;
  GLArc ccw(GLVector(0, 0, 0), GLVector(2, 0, 0), &one, 0, 33);
  ExpectNear(ccw.GetCentre(), GLVector(1, 0, 0), 1e-12);
  EXPECT_NEAR(ccw.GetRadius(), 1.0, 1e-12);
  EXPECT_NEAR(ccw.GetStartAngle(), kPi, 1e-12);
  EXPECT_NEAR(ccw.GetEndAngle(), 0.0, 1e-12);
  EXPECT_EQ(ccw.GetDirection(), static_cast<uint32_t>(GL_CCW));
  GLVectorArray points;
  ccw.GetPoints(points);
  ExpectNear(points[0], GLVector(0, 0, 0), 1e-9);
  ExpectNear(points[16], GLVector(1, -1, 0), 1e-9);  // through the bottom
  ExpectNear(points[32], GLVector(2, 0, 0), 1e-9);

  GLArc cw(GLVector(0, 0, 0), GLVector(2, 0, 0), &minusOne, 0, 33);
  ExpectNear(cw.GetCentre(), GLVector(1, 0, 0), 1e-12);
  EXPECT_NEAR(cw.GetStartAngle(), kPi, 1e-12);
  EXPECT_NEAR(cw.GetEndAngle(), 0.0, 1e-12);
  EXPECT_EQ(cw.GetDirection(), static_cast<uint32_t>(GL_CW));
  cw.GetPoints(points);
  ExpectNear(points[16], GLVector(1, 1, 0), 1e-9);  // the mirror, over the top
  ExpectNear(points[32], GLVector(2, 0, 0), 1e-9);

  // A quarter bulge off the axes.
  const double quarter = std::tan(kPi / 8);
  GLArc q(GLVector(1, 0, 0), GLVector(0, 1, 0), &quarter, 0, 9);
  ExpectNear(q.GetCentre(), GLVector(0, 0, 0), 1e-12);
  EXPECT_NEAR(q.GetRadius(), 1.0, 1e-12);
}

TEST(GLArc, AMirrorSwapsTheDirectionAndKeepsTheCurve) {
  const double one = 1.0;
  GLArc arc(GLVector(0, 0, 0), GLVector(2, 0, 0), &one, 0, 17);
  GLVectorArray before;
  arc.GetPoints(before);
  GLMatrix mirror;
  mirror.SetScaleX(-1.0);
  arc.Transform(mirror);
  EXPECT_EQ(arc.GetDirection(), static_cast<uint32_t>(GL_CW));
  ExpectNear(arc.GetCentre(), GLVector(-1, 0, 0), 1e-12);
  // Tessellated anew from the new angles, the arc runs through the mirrored
  // points.
  arc.SetSegments(17);
  GLVectorArray after;
  arc.GetPoints(after);
  ASSERT_EQ(after.GetCount(), 17u);
  for (uint32_t i = 0; i < 17; ++i) ExpectNear(after[i], GLVector(-before[i].x, before[i].y, 0), 1e-9);

  // Scaling keeps the direction and scales the radius.
  GLMatrix twice;
  twice.SetScale(2.0);
  arc.Transform(twice);
  EXPECT_EQ(arc.GetDirection(), static_cast<uint32_t>(GL_CW));
  EXPECT_NEAR(arc.GetRadius(), 2.0, 1e-12);
}

TEST(GLEllipse, ParametersRunWithoutWrapping) {
  const double ratio = 0.5, start = kPi, end = 0.0;
  GLEllipse backwards(GLVector(1, 0, 0), GLVector(2, 0, 0), GLAxisZ, &ratio, 0, &start, &end, 5);
  GLVectorArray points;
  backwards.GetPoints(points);
  ASSERT_EQ(points.GetCount(), 5u);
  ExpectNear(points[0], GLVector(-1, 0, 0), 1e-12);
  ExpectNear(points[2], GLVector(1, 1, 0), 1e-12);  // through +y: backwards over the top
  ExpectNear(points[4], GLVector(3, 0, 0), 1e-12);

  // A full default ellipse repeats its first point; a tilted major axis
  // turns it.
  const double full = 2 * kPi, zero = 0.0;
  GLEllipse tilted(GLVector(), GLVector(0, 3, 0), GLAxisZ, &ratio, 0, &zero, &full, 9);
  tilted.GetPoints(points);
  ExpectNear(points[0], GLVector(0, 3, 0), 1e-12);
  ExpectNear(points[2], GLVector(-1.5, 0, 0), 1e-12);
  ExpectNear(points[8], points[0], 1e-12);
  // Without a normal it still lies in XY.
  GLEllipse noNormal(GLVector(), GLVector(1, 0, 0), GLVector(), &ratio, 0, &zero, &full, 9);
  noNormal.GetPoints(points);
  ExpectNear(points[2], GLVector(0, 0.5, 0), 1e-12);
  EXPECT_EQ(backwards.GetExtents().Max().y, 1.0);
}

TEST(GLLine, StreamLayoutAndFailures) {
  GLLine line(GLVector(1, 2, 3), GLVector(4, 5, 6), 7, 8);
  const std::vector<unsigned char> bytes = gltest::Written(line);
  ASSERT_EQ(bytes.size(), 56u);
  double x2 = 0;
  uint32_t m2 = 0;
  std::memcpy(&x2, &bytes[24], 8);
  std::memcpy(&m2, &bytes[52], 4);
  EXPECT_EQ(x2, 4.0);
  EXPECT_EQ(m2, 8u);

  GLLine back;
  GLIstream is(bytes.data(), static_cast<uint32_t>(bytes.size()));
  ASSERT_TRUE(back.Read(is));
  EXPECT_EQ(back.GetStart(), line.GetStart());
  EXPECT_EQ(back.GetEnd(), line.GetEnd());
  EXPECT_EQ(back.GetMaterial(), 7u);
  EXPECT_EQ(back.GetEndMaterial(), 8u);
  gltest::ExpectEveryPrefixFails<GLLine>(bytes, "line");
  // A failed read leaves the line as it was.
  GLIstream shortStream(bytes.data(), 40);
  EXPECT_FALSE(back.Read(shortStream));
  EXPECT_EQ(back.GetEnd(), GLVector(4, 5, 6));
  // A full writer reports it.
  EXPECT_TRUE(gltest::Written(line, 56).empty());

  // Circles have no stream form; arcs and ellipses an empty one.
  std::vector<unsigned char> buffer(64);
  GLOstream os(buffer.data(), buffer.size());
  GLIstream in(buffer.data(), 64);
  GLCircle circle;
  GLArc arc;
  GLEllipse ellipse;
  EXPECT_FALSE(circle.Write(os));
  EXPECT_FALSE(circle.Read(in));
  EXPECT_TRUE(arc.Write(os) && arc.Read(in) && ellipse.Write(os) && ellipse.Read(in));
  EXPECT_EQ(os.Tell(), 0u);
}

TEST(GLCurves, WhatTheyIssueToOpenGL) {
  gltest::SceneOnWindow s(10, 10, 10, 10);
  ASSERT_TRUE(s.ok);
  s.viewport->MakeCurrent();
  GLLine line(GLVector(0, 0, 0), GLVector(100, 50, 0), 0, 1);
  for (uint32_t mode = 0; mode < 6; ++mode) {
    const auto fed = gltest::Feedback([&] { line.Draw(mode, &s.scene.GetMatLib()); });
    EXPECT_EQ(gltest::LineCount(fed), mode <= 3 ? 1u : 0u) << mode;
  }
  const double r = 100;
  GLCircle circle(GLVector(), GLAxisZ, &r, 0, 12);
  EXPECT_EQ(gltest::LineCount(gltest::Feedback([&] { circle.Draw(0, nullptr); })), 12u);  // closed loop
  const double a0 = 0, a1 = kPi;
  GLArc arc(GLVector(), &r, &a0, &a1, 0, 12);
  EXPECT_EQ(gltest::LineCount(gltest::Feedback([&] { arc.Draw(0, nullptr); })), 11u);  // open strip

  // Highlighted curves draw at the highlight width; the width is put back.
  glLineWidth(2.0f);
  circle.SetHighlighted(true);
  circle.Draw(0, nullptr);
  GLfloat width = 0;
  glGetFloatv(GL_LINE_WIDTH, &width);
  EXPECT_EQ(width, 2.0f);
  glEnable(GL_LIGHTING);
  arc.Draw(0, nullptr);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  glDisable(GL_LIGHTING);

  // Drawn in a scene: a red line across the white window.
  s.scene.AddEntity(new GLLine(GLVector(0, 5, 0), GLVector(10, 5, 0), 0));
  s.scene.Render();
  const GlFrame f = gltest::FrameOf(s.window, "curves-line");
  EXPECT_TRUE(f.Rgb(5, 4) == 0xFF0000 || f.Rgb(5, 5) == 0xFF0000);
}

}  // namespace
