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
