#include "common/GLVector.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <ostream>

#include "common/GLMatrix.h"
#include "common/GLStream.h"

// Readable failures for vector comparisons.
static void PrintTo(const GLVector& v, std::ostream* os) {
  *os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}

namespace {

constexpr double kPi = 3.141592653589793;

void ExpectNear(const GLVector& v, double x, double y, double z, double tol = 1e-12) {
  EXPECT_NEAR(v.x, x, tol);
  EXPECT_NEAR(v.y, y, tol);
  EXPECT_NEAR(v.z, z, tol);
}

}  // namespace

TEST(GLVector, SumsAndDifferencesCombineInOneExpression) {
  GLVector a(1, 2, 3), b(10, 20, 30), c(100, 200, 300), d(1000, 2000, 3000);
  EXPECT_EQ((a + b) - (c + d), GLVector(-1089, -2178, -3267));
  EXPECT_EQ((a - b) + (c - d), GLVector(-909, -1818, -2727));
  // Two cross products alive at once.
  EXPECT_EQ(GLAxisX.Cross(GLAxisY) - GLAxisY.Cross(GLAxisX), GLVector(0, 0, 2));
  EXPECT_EQ(a, GLVector(1, 2, 3)) << "operands untouched";
}

TEST(GLVector, ConstructionFromRawDoubles) {
  const double raw[3] = {4, 5, 6};
  EXPECT_EQ(GLVector(raw), GLVector(4, 5, 6));
  EXPECT_EQ(GLVector(static_cast<const double*>(nullptr)), GLVector());
  GLVector v(1, 2, 3);
  v = static_cast<const double*>(nullptr);
  EXPECT_EQ(v, GLVector(1, 2, 3));
  v = raw;
  EXPECT_EQ(v, GLVector(4, 5, 6));
  v[1] = 9;
  const double* p = v;
  EXPECT_EQ(p[0], 4);
  EXPECT_EQ(p[1], 9);
  EXPECT_EQ(p[2], 6);
  EXPECT_EQ(v[2], 6);
}

TEST(GLVector, InPlaceArithmetic) {
  GLVector v(1, -2, 3);
  v += GLVector(1, 1, 1);
  v -= GLVector(0, 0, 4);
  v *= 2.0;
  EXPECT_EQ(v, GLVector(4, -2, 0));
  v.Negate();
  EXPECT_EQ(v, GLVector(-4, 2, -0.0));
  EXPECT_EQ(GLVector(1, 2, 3).Dot(GLVector(4, -5, 6)), 12);
  EXPECT_EQ(GLVector(3, 4, 12).Length(), 13);
  GLVector n(0, 3, 4);
  n.Normalize();
  ExpectNear(n, 0, 0.6, 0.8);
  GLVector nan(NAN, 0, 0);
  EXPECT_FALSE(nan == nan);
}

TEST(GLVector, PerpendicularFollowsTheArbitraryAxisRule) {
  EXPECT_EQ(GLVector(0, 0, 1).GetPerpendicular(), GLVector(1, 0, 0));
  double s = 1 / std::sqrt(1.0001);
  ExpectNear(GLVector(0.01, 0, 1).GetPerpendicular(), s, 0, -0.01 * s);
  EXPECT_EQ(GLVector(1, 0, 0).GetPerpendicular(), GLVector(0, 1, 0));
  // At exactly 1/64 the world Z rule applies.
  ExpectNear(GLVector(0.015625, 0, 1).GetPerpendicular(), 0, 1, 0);
  ExpectNear(GLVector(0, 0, -2).GetPerpendicular(), -1, 0, 0);
}

TEST(GLVector, OrientedAnglesRunCounterClockwiseAboutTheReference) {
  EXPECT_NEAR(GLAxisX.GetOrientedAngle(GLVector(0, -1, 0), GLAxisZ), 3 * kPi / 2, 1e-12);
  EXPECT_NEAR(GLAxisX.GetOrientedAngle(GLVector(0, 1, 0), GLAxisZ), kPi / 2, 1e-12);
  EXPECT_NEAR(GLAxisX.GetOrientedAngle(GLVector(0, 1, 0), GLVector(0, 0, -1)), 3 * kPi / 2,
              1e-12);
  EXPECT_EQ(GLAxisX.GetOrientedAngle(GLAxisX, GLAxisZ), 0.0);
}

TEST(GLVector, AngleOfParallelVectorsSurvivesRounding) {
  // Here the cosine rounds to just above 1 (and below -1 reversed).
  GLVector v(-7.31, 6.95, 5.28);
  GLVector w = v;
  w *= 3.0;
  EXPECT_EQ(v.GetAngle(w), 0.0);
  w.Negate();
  EXPECT_EQ(v.GetAngle(w), kPi);
  EXPECT_NEAR(GLAxisX.GetAngle(GLVector(1, 1, 0)), kPi / 4, 1e-15);
}

TEST(GLVector, TransformsWithAndWithoutTranslation) {
  GLMatrix m;
  m.SetTranslation(5, 6, 7);
  GLVector p(1, 2, 3), d(1, 2, 3);
  p.TransformPoint(m);
  d.TransformDirection(m);
  EXPECT_EQ(p, GLVector(6, 8, 10));
  EXPECT_EQ(d, GLVector(1, 2, 3));
}

TEST(GLVector, ProjectsAlongADirectionOntoABasePlane) {
  GLVector p(1, 2, 3);
  p.ProjectOntoBasePlane(GLVector(1, 1, 1));
  EXPECT_EQ(p, GLVector(-2, -1, 0));
  GLVector q(1, 2, 3);
  q.ProjectOntoBasePlane(GLVector(0, 2, 1e-11));  // parallel to z = 0: onto y = 0
  ExpectNear(q, 1, 0, 3, 1e-10);
  GLVector r(1, 2, 3);
  r.ProjectOntoBasePlane(GLVector(-4, 0, 0));
  EXPECT_EQ(r, GLVector(0, 2, 3));
  GLVector s(1, 2, 3);
  s.ProjectOntoBasePlane(GLVector(1e-11, -1e-11, 0));
  EXPECT_EQ(s, GLVector(1, 2, 3));
}

TEST(GLVector, StreamFormIsThreeRawDoubles) {
  GLVector v(1.5, -2.25, 1e300);
  unsigned char buf[25] = {};  // the writer never fills the last byte
  GLOstream os(buf, sizeof buf);
  ASSERT_TRUE(v.Write(os));
  EXPECT_EQ(os.Tell(), 24u);
  double x;
  std::memcpy(&x, buf, 8);
  EXPECT_EQ(x, 1.5);
  std::memcpy(&x, buf + 16, 8);
  EXPECT_EQ(x, 1e300);

  GLVector back;
  GLIstream is(buf);
  ASSERT_TRUE(back.Read(is));
  EXPECT_EQ(is.Tell(), 24u);
  EXPECT_EQ(std::memcmp(&back, &v, 24), 0);

  unsigned char small[24];
  GLOstream tooSmall(small, sizeof small);
  EXPECT_FALSE(v.Write(tooSmall));
  GLIstream empty;
  EXPECT_FALSE(back.Read(empty));
  GLIstream shortRead(buf, 16);
  EXPECT_FALSE(back.Read(shortRead));
  EXPECT_EQ(back, v) << "a failed read changes nothing";
}

TEST(GLIntPower, RepeatedSquaring) {
  EXPECT_EQ(GLIntPower(2, -2), 0.25);
  EXPECT_EQ(GLIntPower(3, 0), 1.0);
  EXPECT_EQ(GLIntPower(0, 0), 1.0);
  EXPECT_EQ(GLIntPower(2, 10), 1024.0);
  EXPECT_EQ(GLIntPower(-2, 3), -8.0);
  EXPECT_EQ(GLIntPower(0.5, -3), 8.0);
  EXPECT_EQ(GLIntPower(1, INT_MIN), 1.0);
  EXPECT_EQ(GLIntPower(2, INT_MIN), 0.0);
}

TEST(GetOCSAxes, UnitAxesOfTheArbitraryAxisRule) {
  GLVector x, y, z;
  GetOCSAxes(GLAxisZ, x, y, z);
  ExpectNear(x, 1, 0, 0);
  ExpectNear(y, 0, 1, 0);
  ExpectNear(z, 0, 0, 1);

  GetOCSAxes(GLVector(0, 0, -1), x, y, z);
  ExpectNear(x, -1, 0, 0);
  ExpectNear(y, 0, 1, 0);
  ExpectNear(z, 0, 0, -1);

  GLVector n(1, 2, 3);  // not of unit length
  GetOCSAxes(n, x, y, z);
  GLVector ex = n.GetPerpendicular();
  GLVector ey = n.Cross(ex);
  ey.Normalize();
  GLVector ez = n;
  ez.Normalize();
  ExpectNear(x, ex.x, ex.y, ex.z);
  ExpectNear(y, ey.x, ey.y, ey.z);
  ExpectNear(z, ez.x, ez.y, ez.z);
}
