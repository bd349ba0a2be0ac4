#include "common/GLMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "common/GLStream.h"

namespace {

constexpr double kPi = 3.141592653589793;

void ExpectNear(const GLVector& v, const GLVector& e, double tol = 1e-12) {
  EXPECT_NEAR(v.x, e.x, tol);
  EXPECT_NEAR(v.y, e.y, tol);
  EXPECT_NEAR(v.z, e.z, tol);
}

GLVector Point(const GLMatrix& m, GLVector p) {
  p.TransformPoint(m);
  return p;
}

GLVector Direction(const GLMatrix& m, GLVector d) {
  d.TransformDirection(m);
  return d;
}

GLMatrix Translation(double x, double y, double z) {
  GLMatrix m;
  m.SetTranslation(x, y, z);
  return m;
}

GLMatrix RotationZ(double angle) {
  GLMatrix m;
  m.SetRotationZ(angle);
  return m;
}

GLVector Unit(GLVector v) {
  v.Normalize();
  return v;
}

// Checks that m carries the world system at originA onto (originB, x, y, z).
void ExpectCarries(const GLMatrix& m, const GLVector& originA, const GLVector& originB,
                   const GLVector& x, const GLVector& y, const GLVector& z) {
  ExpectNear(Point(m, originA), originB, 1e-9);
  ExpectNear(Direction(m, GLAxisX), x, 1e-9);
  ExpectNear(Direction(m, GLAxisY), y, 1e-9);
  ExpectNear(Direction(m, GLAxisZ), z, 1e-9);
}

}  // namespace

TEST(GLMatrix, ColumnMajorLayout) {
  GLMatrix m;
  const double* d = m.GetData();
  for (int i = 0; i < 16; ++i) EXPECT_EQ(d[i], i % 5 == 0 ? 1.0 : 0.0) << i;
  m.SetTranslation(GLVector(5, 6, 7));
  EXPECT_EQ(d[12], 5);
  EXPECT_EQ(d[13], 6);
  EXPECT_EQ(d[14], 7);
  m.SetIdentity();
  m.SetRotationZ(kPi / 2);
  EXPECT_NEAR(d[1], 1, 1e-15);   // row 1, column 0: sin
  EXPECT_NEAR(d[4], -1, 1e-15);  // row 0, column 1: -sin
  ExpectNear(Point(m, GLAxisX), GLAxisY);
  m.SetZero();
  for (int i = 0; i < 16; ++i) EXPECT_EQ(d[i], 0.0);
}

TEST(GLMatrix, SetOperationsWriteOnlyTheirElements) {
  GLMatrix m = Translation(1, 2, 3);
  m.SetRotationX(kPi / 2);
  ExpectNear(Point(m, GLVector(0, 1, 0)), GLVector(1, 2, 4));
  m.SetScale(2);
  m.SetScaleY(3);
  const double* d = m.GetData();
  EXPECT_EQ(d[0], 2);
  EXPECT_EQ(d[5], 3);
  EXPECT_EQ(d[10], 2);
  EXPECT_EQ(d[12], 1);
  GLMatrix y;
  y.SetRotationY(kPi / 2);
  ExpectNear(Point(y, GLAxisZ), GLAxisX);
}

TEST(GLMatrix, ProductAppliesThisFirstThenTheOperand) {
  GLMatrix m = Translation(1, 0, 0);
  m *= RotationZ(kPi / 2);  // translate, then rotate
  ExpectNear(Point(m, GLVector()), GLVector(0, 1, 0));
  GLMatrix n = RotationZ(kPi / 2);
  n *= Translation(1, 0, 0);  // rotate, then translate
  ExpectNear(Point(n, GLVector()), GLVector(1, 0, 0));

  GLMatrix a = Translation(1, 2, 3), b = RotationZ(0.3), c = RotationZ(-1.1),
           e = Translation(-4, 0, 2);
  GLMatrix left = a * b, right = c * e;
  GLMatrix both = (a * b) * (c * e);
  GLMatrix stepwise = left;
  stepwise *= right;
  EXPECT_EQ(std::memcmp(both.GetData(), stepwise.GetData(), 128), 0);
  GLMatrix copy = a;
  copy *= b;
  EXPECT_EQ(std::memcmp(left.GetData(), copy.GetData(), 128), 0);
  EXPECT_EQ(a.GetData()[12], 1.0) << "operand untouched";
}

TEST(GLMatrix, InvertTranslationOnlyForPureTranslations) {
  GLMatrix t = Translation(1, -2, 3);
  t.InvertTranslation();
  ExpectNear(Point(t, GLVector()), GLVector(-1, 2, -3));
  GLMatrix r = RotationZ(0.5);
  r.SetTranslation(1, -2, 3);
  GLMatrix before = r;
  r.InvertTranslation();
  EXPECT_EQ(std::memcmp(r.GetData(), before.GetData(), 128), 0);
  GLMatrix s = Translation(1, 1, 1);
  s.SetScaleZ(2);
  s.InvertTranslation();
  EXPECT_EQ(s.GetData()[12], 1.0);
}

TEST(GLMatrix, AlignmentOntoATranslatedWorldIsATranslation) {
  GLMatrix m;
  m.SetAlignment(GLVector(), GLAxisX, GLAxisY, GLAxisZ, GLVector(10, 0, 0), GLAxisX, GLAxisY,
                 GLAxisZ);
  GLMatrix expected = Translation(10, 0, 0);
  EXPECT_EQ(std::memcmp(m.GetData(), expected.GetData(), 128), 0);
}

TEST(GLMatrix, AlignmentTurnsTheWorldOntoSystemB) {
  GLMatrix m;
  m.SetAlignment(GLVector(), GLAxisX, GLAxisY, GLAxisZ, GLVector(), GLAxisX, GLVector(0, 0, 1),
                 GLVector(0, -1, 0));
  ExpectNear(Point(m, GLAxisZ), GLVector(0, -1, 0));
  ExpectCarries(m, GLVector(), GLVector(), GLAxisX, GLVector(0, 0, 1), GLVector(0, -1, 0));

  struct System {
    GLVector x, y, z;
  };
  GLVector n = Unit(GLVector(1, 2, 3));
  GLVector nx = n.GetPerpendicular();
  const System systems[] = {
      {GLVector(0, 1, 0), GLVector(-1, 0, 0), GLAxisZ},            // turn about Z only
      {GLVector(-1, 0, 0), GLAxisY, GLVector(0, 0, -1)},           // upside down
      {GLVector(0, 1, 0), GLVector(0, 0, 1), GLVector(1, 0, 0)},   // z along world X
      {GLVector(0, 0, 1), GLVector(0, 1, 0), GLVector(-1, 0, 0)},  // z along -X
      {nx, n.Cross(nx), n},                                        // a general frame
  };
  GLVector originA(1, -2, 0.5), originB(-3, 4, 7);
  for (const System& s : systems) {
    m.SetAlignment(originA, GLAxisX, GLAxisY, GLAxisZ, originB, s.x, s.y, s.z);
    ExpectCarries(m, originA, originB, s.x, s.y, s.z);
  }
}

TEST(GLMatrix, AlignmentBetweenTwoTurnedSystems) {
  GLVector n = Unit(GLVector(-2, 1, 2));
  GLVector ax = n.GetPerpendicular();
  GLVector ay = n.Cross(ax);
  GLVector oA(1, 1, 1), oB(0, 5, 0);
  GLMatrix m;
  m.SetAlignment(oA, ax, ay, n, oB, GLVector(0, 1, 0), GLVector(-1, 0, 0), GLAxisZ);
  ExpectNear(Point(m, oA), oB, 1e-9);
  ExpectNear(Direction(m, ax), GLVector(0, 1, 0), 1e-9);
  ExpectNear(Direction(m, ay), GLVector(-1, 0, 0), 1e-9);
  ExpectNear(Direction(m, n), GLAxisZ, 1e-9);
}

TEST(GLMatrix, StreamFormIs128RawBytes) {
  GLMatrix m = Translation(1, 2, 3);
  m *= RotationZ(0.7);
  unsigned char buf[129] = {};
  GLOstream os(buf, sizeof buf);
  ASSERT_TRUE(m.Write(os));
  EXPECT_EQ(os.Tell(), 128u);
  EXPECT_EQ(std::memcmp(buf, m.GetData(), 128), 0);

  GLMatrix back;
  GLIstream is(buf);
  ASSERT_TRUE(back.Read(is));
  EXPECT_EQ(is.Tell(), 128u);
  EXPECT_EQ(std::memcmp(back.GetData(), m.GetData(), 128), 0);

  GLOstream tooSmall(buf, 128);
  EXPECT_FALSE(m.Write(tooSmall));
  GLIstream empty;
  EXPECT_FALSE(back.Read(empty));
}
