// Where the export preview puts a product's catalogue geometry: a table of
// inserts (scaled, turned, moved, mirrored) and where one point of the
// product lands. Without a host the user's coordinates are the world's.
#include "jov_vantrix/network/ExportPreview.h"

#include <gtest/gtest.h>

#include <cmath>

#include "dataformat/tests/ChainFixtures.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"

TEST(PreviewInsertTransforms, ProductsLandWhereTheirInsertsStand) {
  ASSERT_EQ(TheApp().m_pHostTable, nullptr);
  struct Case {
    const char* what;
    int units;
    double angle;   // group 50, radians
    double xScale;  // group 41
    GLVector at;    // group 10
    GLVector point, expected;
  };
  const double quarter = std::acos(0.0);
  const Case cases[] = {
      {"millimetres: as it stands", 1000, 0.0, 1.0, {100, 200, 0}, {40, 5, 0}, {140, 205, 0}},
      {"metres: from millimetres", 1, 0.0, 1.0, {2, 0, 0}, {40, 5, 0}, {2.04, 0.005, 0}},
      {"turned a quarter", 1000, quarter, 1.0, {100, 200, 0}, {40, 5, 0}, {95, 240, 0}},
      {"mirrored, then placed", 1000, 0.0, -1.0, {100, 200, 0}, {40, 5, 0}, {60, 205, 0}},
      {"mirrored, turned, in metres", 1, quarter, -1.0, {2, 0, 0}, {40, 5, 0}, {1.995, -0.04, 0}},
  };
  for (const Case& c : cases) {
    TestChain insert;
    insert.Text(0, "INSERT").Text(2, "P").Point(10, c.at.x, c.at.y, c.at.z).Real(41, c.xScale).Real(50, c.angle);
    GLMatrix place, mirror;
    PreviewInsertTransforms(insert.Head(), c.units, place, mirror);
    GLVector p = c.point;
    p.TransformPoint(mirror);
    p.TransformPoint(place);
    EXPECT_NEAR(p.x, c.expected.x, 1e-9) << c.what;
    EXPECT_NEAR(p.y, c.expected.y, 1e-9) << c.what;
    EXPECT_NEAR(p.z, c.expected.z, 1e-9) << c.what;
  }
}
