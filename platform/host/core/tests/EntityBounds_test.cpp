#include "platform/host/core/EntityBounds.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/host/DxfGroupText.h"

namespace host {
namespace {

DxfEntity Entity(std::initializer_list<DxfPair> pairs) {
  DxfEntity e;
  e.pairs = pairs;
  return e;
}

struct Case {
  const char* what;
  DxfEntity entity;
  std::optional<Bounds2D> box;
};

TEST(EntityBounds, BoxesOfTheMeasuredTypes) {
  const double s30 = 5.0, c30 = 10 * std::cos(M_PI / 6), s10 = 10 * std::sin(M_PI / 18),
               c10 = 10 * std::cos(M_PI / 18);
  const Case cases[] = {
      {"line", Entity({{0, "LINE"}, {10, "1"}, {20, "2"}, {11, "4"}, {21, "-3"}}), Bounds2D{1, -3, 4, 2}},
      {"circle, radius first", Entity({{0, "circle"}, {40, "5"}, {10, "10"}, {20, "10"}}),
       Bounds2D{5, 5, 15, 15}},
      {"arc away from its centre", Entity({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "30"}, {51, "60"}}),
       Bounds2D{s30, s30, c30, c30}},
      {"arc through 0 degrees", Entity({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "350"}, {51, "10"}}),
       Bounds2D{c10, -s10, 10, s10}},
      {"arc of a whole turn", Entity({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "0"}, {51, "360"}}),
       Bounds2D{-10, -10, 10, 10}},
      {"turned ellipse", Entity({{0, "ELLIPSE"}, {10, "0"}, {20, "0"}, {11, "3"}, {21, "4"}, {40, "0.5"}}),
       Bounds2D{-std::sqrt(13.0), -std::sqrt(18.25), std::sqrt(13.0), std::sqrt(18.25)}},
      {"half an ellipse",
       Entity({{0, "ELLIPSE"}, {10, "0"}, {20, "0"}, {11, "10"}, {21, "0"}, {40, "0.5"}, {41, "0"},
               {42, "3.141592653589793"}}),
       Bounds2D{-10, 0, 10, 5}},
      {"solid", Entity({{0, "SOLID"}, {10, "0"}, {20, "0"}, {11, "5"}, {21, "-1"}, {12, "2"}, {22, "7"},
                        {13, "2"}, {23, "7"}}),
       Bounds2D{0, -1, 5, 7}},
      {"polyline with a bulge after its widths",
       Entity({{0, "LWPOLYLINE"}, {90, "2"}, {70, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {41, "1"},
               {42, "1"}, {10, "10"}, {20, "0"}}),
       Bounds2D{0, -5, 10, 0}},
      {"closed polyline, closing bulge then extended data",
       Entity({{0, "LWPOLYLINE"}, {70, "1"}, {10, "0"}, {20, "0"}, {10, "10"}, {20, "0"}, {42, "-1"},
               {1001, "JOV_DATA"}, {1000, "TPP0015i0001"}, {1010, "50"}, {1020, "50"}}),
       Bounds2D{0, -5, 10, 0}},
      {"polyline with groups among its vertices, their points not its own",
       Entity({{0, "LWPOLYLINE"}, {102, "{ACAD_REACTORS"}, {10, "-50"}, {102, "}"}, {10, "0"}, {20, "0"},
               {102, "{APP"}, {20, "99"}, {102, "}"}, {102, "{APP"}, {102, "}"}, {10, "10"}, {20, "2"}}),
       Bounds2D{0, 0, 10, 2}},
      {"open polyline ignores the last bulge",
       Entity({{0, "LWPOLYLINE"}, {70, "0"}, {10, "0"}, {20, "0"}, {10, "10"}, {20, "0"}, {42, "-1"}}),
       Bounds2D{0, 0, 10, 0}},
      {"three vertices, the second segment bulging",
       Entity({{0, "LWPOLYLINE"}, {10, "0"}, {20, "0"}, {10, "10"}, {20, "0"}, {42, "-1"}, {10, "20"}, {20, "0"}}),
       Bounds2D{0, 0, 20, 5}},
      {"closed, the closing segment bulging out of the vertices' box",
       Entity({{0, "LWPOLYLINE"}, {70, "1"}, {10, "0"}, {20, "0"}, {10, "0"}, {20, "10"}, {10, "10"}, {20, "10"},
               {42, "1"}}),
       Bounds2D{5 - std::sqrt(50.0), 0, 10, 5 + std::sqrt(50.0)}},
      {"one vertex, a y before it passed by",
       Entity({{0, "LWPOLYLINE"}, {70, "1"}, {20, "9"}, {10, "3"}, {20, "4"}}), Bounds2D{3, 4, 3, 4}},
      {"polyline without vertices", Entity({{0, "LWPOLYLINE"}, {70, "1"}}), std::nullopt},
      {"circle without radius", Entity({{0, "CIRCLE"}, {10, "1"}, {20, "1"}}), std::nullopt},
      {"point", Entity({{0, "POINT"}, {10, "1"}, {20, "1"}}), std::nullopt},
  };
  for (const Case& c : cases) {
    std::optional<Bounds2D> box = EntityBounds(c.entity);
    ASSERT_EQ(box.has_value(), c.box.has_value()) << c.what;
    if (!box) continue;
    EXPECT_NEAR(box->minX, c.box->minX, 1e-9) << c.what;
    EXPECT_NEAR(box->minY, c.box->minY, 1e-9) << c.what;
    EXPECT_NEAR(box->maxX, c.box->maxX, 1e-9) << c.what;
    EXPECT_NEAR(box->maxY, c.box->maxY, 1e-9) << c.what;
  }
}

}  // namespace
}  // namespace host
