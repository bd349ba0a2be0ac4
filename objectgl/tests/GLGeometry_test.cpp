#include "objectgl/GLGeometry.h"

#include <gtest/gtest.h>

TEST(GLGeometry, DistanceAndMidpointInThreeDimensions) {
  GLVector a(0, 0, 0), b(3, 4, 0);
  EXPECT_EQ(GLDistance(a, b), 5.0);
  EXPECT_EQ(GLDistance(b, a), 5.0);
  EXPECT_EQ(GLDistance(GLVector(1, 1, 1), GLVector(3, 4, 7)), 7.0);  // 2, 3, 6
  GLVector mid(9, 9, 9);
  GLMidPoint(a, b, &mid);
  EXPECT_EQ(mid.x, 1.5);
  EXPECT_EQ(mid.y, 2.0);
  EXPECT_EQ(mid.z, 0.0);
  GLMidPoint(GLVector(-1, 2, 5), GLVector(1, 2, -7), &mid);
  EXPECT_EQ(mid.x, 0.0);
  EXPECT_EQ(mid.y, 2.0);
  EXPECT_EQ(mid.z, -1.0);
  GLMidPoint(a, b, nullptr);  // tolerated
}

TEST(GLGeometry, TriangleNormalsAndTheirDegenerateCase) {
  struct Case {
    GLVector p0, p1, p2;
    GLVector normal;
    bool ok;
  };
  const Case cases[] = {
      {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, true},
      {{0, 1, 0}, {1, 0, 0}, {0, 0, 0}, {0, 0, -1}, true},  // turned the other way
      {{0, 0, 0}, {0, 5, 0}, {0, 0, 7}, {1, 0, 0}, true},   // normalised
      {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {0, 0, -1}, false},  // on a line
      {{3, 3, 3}, {3, 3, 3}, {3, 3, 3}, {0, 0, -1}, false},
  };
  for (const Case& c : cases) {
    GLVector out(9, 9, 9), outArray(9, 9, 9);
    const GLVector tri[3] = {c.p0, c.p1, c.p2};
    EXPECT_EQ(GLTriangleNormal(c.p0, c.p1, c.p2, &out), c.ok);
    EXPECT_EQ(GLTriangleNormal(tri, &outArray), c.ok);
    EXPECT_EQ(out, c.normal);
    EXPECT_EQ(outArray, c.normal);
  }
}
