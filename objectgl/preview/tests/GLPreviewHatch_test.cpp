// A HATCH's boundary paths as contours: polyline paths with and without
// bulges, edge paths of lines and arcs, elliptic and spline edges passed
// over, source references, the colour rule, and hatches cut short, each
// read as far as the entity goes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <cstring>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "dataformat/tests/ChainFixtures.h"
#include "objectgl/GLContour.h"
#include "objectgl/preview/GLPreviewChainReader.h"

namespace {

TestChain& Head(TestChain& c, int colour = 3) {
  c.Text(0, "HATCH").Text(8, "Fill");
  if (colour != -1000) c.I16(62, static_cast<int16_t>(colour));
  return c.Point(10, 0, 0, 0).Point(210, 0, 0, 1).Text(2, "SOLID").I16(70, 1).I16(71, 0);
}

// A polyline path through the points, with bulges where given, naming
// `sources` source objects.
TestChain& PolylinePath(TestChain& c, const std::vector<std::vector<double>>& vertices, bool closed,
                        int sources = 0) {
  c.I32(92, 2 | 1).I16(72, 1).I16(73, closed ? 1 : 0).I32(93, static_cast<int32_t>(vertices.size()));
  for (const auto& v : vertices) {
    c.Point(10, v[0], v[1], 0);
    c.Real(42, v.size() > 2 ? v[2] : 0.0);
  }
  c.I32(97, sources);
  for (int i = 0; i < sources; ++i) c.Text(330, "2A");
  return c;
}

TestChain& LineEdge(TestChain& c, double x1, double y1, double x2, double y2) {
  return c.I16(72, 1).Point(10, x1, y1, 0).Point(11, x2, y2, 0);
}

// What the contours hold: per contour its point count and its first point.
struct Seen {
  size_t points;
  double x, y;
  bool operator==(const Seen& o) const {
    return points == o.points && std::fabs(x - o.x) < 1e-9 && std::fabs(y - o.y) < 1e-9;
  }
};

void PrintTo(const Seen& s, std::ostream* out) { *out << s.points << " from (" << s.x << ", " << s.y << ")"; }

struct Case {
  const char* what;
  std::function<void(TestChain&)> chain;
  std::vector<Seen> contours;
  int32_t colour = 3;
  const char* next = "CIRCLE";  // the entity the cursor is left on
};

TEST(GLPreviewHatch, BoundaryPathsBecomeContoursWithinTheEntity) {
  constexpr double pi = std::numbers::pi;
  const std::vector<Case> cases = {
      {"a polyline path of four vertices without bulges: four points",
       [](TestChain& c) {
         Head(c).I32(91, 1);
         PolylinePath(c, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true);
       },
       {{4, 0, 0}}},
      {"a bulge makes an arc of 32 points that holds the next vertex",
       [](TestChain& c) {
         Head(c).I32(91, 1);
         PolylinePath(c, {{0, 0, 1.0}, {10, 0}, {10, 10}}, true);
       },
       {{32 + 1, 0, 0}}},
      {"a closed path's last bulge closes onto the first vertex",
       [](TestChain& c) {
         Head(c).I32(91, 1);
         PolylinePath(c, {{0, 0}, {10, 0}, {10, 10, -0.5}}, true);
       },
       {{2 + 32, 0, 0}}},
      {"an open path's last bulge has no arc, and its point stays",
       [](TestChain& c) {
         Head(c).I32(91, 1);
         PolylinePath(c, {{0, 0}, {10, 0}, {10, 10, -0.5}}, false);
       },
       {{3, 0, 0}}},
      {"a bulge between vertices that coincide makes no arc",
       [](TestChain& c) {
         Head(c).I32(91, 1);
         PolylinePath(c, {{0, 0}, {5, 5, 1.0}, {5, 5}, {0, 5}}, true);
       },
       {{4, 0, 0}}},
      {"an edge path of a line and a half circle",
       [&](TestChain& c) {
         Head(c).I32(91, 1).I32(92, 1).I32(93, 2);
         LineEdge(c, 0, -5, 0, 5);
         c.I16(72, 2).Point(10, 0, 0, 0).Real(40, 5.0).Real(50, pi / 2).Real(51, 3 * pi / 2).I16(73, 1);
         c.I32(97, 0);
       },
       {{1 + 32, 0, -5}}},
      {"a spline edge between two lines leaves both lines",
       [](TestChain& c) {
         Head(c).I32(91, 1).I32(92, 0).I32(93, 3);
         LineEdge(c, 0, 0, 10, 0);
         c.I16(72, 4).I32(94, 3).I16(73, 1).I16(74, 0).I32(95, 8).I32(96, 4);
         for (int k = 0; k < 8; ++k) c.Real(40, k < 4 ? 0.0 : 1.0);
         for (int k = 0; k < 4; ++k) c.Point(10, 10 - 3 * k, 10.0 * k, 0).Real(42, 1.0);
         c.I32(97, 2).Point(11, 10, 0, 0).Point(11, 1, 30, 0).Point(12, 0, 1, 0).Point(13, -1, 0, 0);
         LineEdge(c, 1, 30, 0, 0);
         c.I32(97, 0);
       },
       {{2, 0, 0}}},
      {"an elliptic edge is passed over",
       [](TestChain& c) {
         Head(c).I32(91, 1).I32(92, 0).I32(93, 2);
         c.I16(72, 3).Point(10, 0, 0, 0).Point(11, 5, 0, 0).Real(40, 0.5).Real(50, 0).Real(51, pi).I16(73, 1);
         LineEdge(c, -5, 0, 5, 0);
         c.I32(97, 0);
       },
       {{1, -5, 0}}},
      {"source references are passed over and the next path read",
       [](TestChain& c) {
         Head(c).I32(91, 2);
         PolylinePath(c, {{0, 0}, {10, 0}, {10, 10}}, true, 2);
         c.I32(92, 1).I32(93, 1);
         LineEdge(c, 7, 7, 8, 8).I32(97, 2).Text(330, "2C").Text(330, "2D");
       },
       {{3, 0, 0}, {1, 7, 7}}},
      {"a hatch cut inside a path keeps the contours before the cut",
       [](TestChain& c) {
         Head(c).I32(91, 3);
         PolylinePath(c, {{0, 0}, {10, 0}, {10, 10}}, true);
         c.I32(92, 2).I16(72, 0).I16(73, 1).I32(93, 4).Point(10, 20, 20, 0);
         c.Text(0, "LINE").Text(8, "0").Point(10, 1, 1, 0).Point(11, 2, 2, 0);
       },
       {{3, 0, 0}, {1, 20, 20}},
       3,
       "LINE"},
      {"the entity's end cuts a path: a bulge there closes onto the first vertex",
       [](TestChain& c) {
         Head(c).I32(91, 1).I32(92, 2).I16(72, 1).I16(73, 1).I32(93, 3).Point(10, 0, 0, 0);
         c.Point(10, 10, 0, 0).Real(42, 1.0);
       },
       {{1 + 32, 0, 0}}},
      {"a path without its flags ends the reading", [](TestChain& c) { Head(c).I32(91, 2).I32(93, 4); }, {}},
      {"an edge path without its count, or an edge without its type, ends it",
       [](TestChain& c) {
         Head(c).I32(91, 2).I32(92, 1).I32(93, 2);
         LineEdge(c, 1, 1, 2, 2);
         c.Point(10, 5, 5, 0);
       },
       {{1, 1, 1}}},
      {"colour 255 is kept", [](TestChain& c) { Head(c, 255).I32(91, 0); }, {}, 255},
      {"colour 0 gives 7", [](TestChain& c) { Head(c, 0).I32(91, 0); }, {}, 7},
      {"so does 256", [](TestChain& c) { Head(c, 256).I32(91, 0); }, {}, 7},
      {"and one below 0", [](TestChain& c) { Head(c, -2).I32(91, 0); }, {}, 7},
      {"and none at all", [](TestChain& c) { Head(c, -1000).I32(91, 0); }, {}, 7},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TestChain chain;
    k.chain(chain);
    chain.Text(0, "CIRCLE");
    resbuf* cursor = chain.Head()->next;  // past the type, as the converter starts
    GLArray<GLContour*> contours;
    char layer[256] = "previous";
    int32_t colour = -5;
    ReadHatchBoundaries(&cursor, contours, layer, &colour);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->code, 0) << "left on the next entity";
    EXPECT_STREQ(cursor->value.text, k.next);
    EXPECT_STREQ(layer, "Fill");
    EXPECT_EQ(colour, k.colour);
    std::vector<Seen> seen;
    for (GLContour* c : contours) {
      const GLVectorArray& p = c->GetPoints();
      seen.push_back({p.GetCount(), p.GetCount() ? p[0].x : 0.0, p.GetCount() ? p[0].y : 0.0});
      delete c;
    }
    EXPECT_EQ(seen, k.contours);
  }
}

TEST(GLPreviewHatch, EdgeArcsAndBulgesLandWhereTheirEndsAre) {
  TestChain chain;
  Head(chain).I32(91, 2);
  // A half-disc above the X axis, bulge 1 from (10, 0) to (-10, 0).
  PolylinePath(chain, {{10, 0, 1.0}, {-10, 0}}, true);
  chain.I32(92, 0).I32(93, 1).I16(72, 2).Point(10, 5, 5, 0).Real(40, 2.0).Real(50, 0.0).Real(51, std::numbers::pi / 2);
  chain.I16(73, 1).I32(97, 0);
  resbuf* cursor = chain.Head()->next;
  GLArray<GLContour*> contours;
  char layer[256];
  int32_t colour = 0;
  ReadHatchBoundaries(&cursor, contours, layer, &colour);
  EXPECT_EQ(cursor, nullptr) << "to the chain's end";
  ASSERT_EQ(contours.GetCount(), 2u);
  const GLVectorArray& half = contours[0]->GetPoints();
  ASSERT_EQ(half.GetCount(), 32u) << "the arc alone: it holds both vertices";
  EXPECT_NEAR(half[0].x, 10, 1e-9);
  EXPECT_NEAR(half[31].x, -10, 1e-9);
  double top = 0;
  for (const GLVector& p : half) top = std::max(top, p.y);
  EXPECT_NEAR(top, 10, 0.02) << "a positive bulge bows to the left of its way";
  const GLVectorArray& quarter = contours[1]->GetPoints();
  ASSERT_EQ(quarter.GetCount(), 32u);
  EXPECT_NEAR(quarter[0].x, 7, 1e-9);
  EXPECT_NEAR(quarter[31].y, 7, 1e-9);
  for (GLContour* c : contours) delete c;
}

}  // namespace
