#include "common/EntityExtents.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/tests/ChainFixtures.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTol = 1e-12;

struct Box {
  GLVector min{DBL_MAX, DBL_MAX, DBL_MAX};
  GLVector max{-DBL_MAX, -DBL_MAX, -DBL_MAX};
  bool Empty() const { return min.x == DBL_MAX && max.x == -DBL_MAX; }
};

void ExpectBox(const Box& box, GLVector min, GLVector max, double tol = kTol) {
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(box.min[i], min[i], tol) << "min axis " << i;
    EXPECT_NEAR(box.max[i], max[i], tol) << "max axis " << i;
  }
}

Box ExtentsOf(TestChain& chain, bool withDefpoints = false) {
  Box box;
  GetEntityExtents(chain.Head(), box.min, box.max, withDefpoints);
  return box;
}

TestChain& Line(TestChain& c, const char* layer, GLVector a, GLVector b) {
  return c.Text(0, "LINE").Text(8, layer).Point(10, a.x, a.y, a.z).Point(11, b.x, b.y, b.z);
}

TestChain& Arc(TestChain& c, GLVector centre, double r, double a, double b) {
  return c.Text(0, "ARC")
      .Text(8, "0")
      .Point(10, centre.x, centre.y, centre.z)
      .Real(40, r)
      .Real(50, a)
      .Real(51, b);
}

struct Vertex {
  double x, y;
  double bulge;  // NaN: no 42 node
};

TestChain& Polyline(TestChain& c, int16_t flags, const std::vector<Vertex>& vertices) {
  c.Text(0, "LWPOLYLINE")
      .Text(8, "0")
      .I32(90, static_cast<int32_t>(vertices.size()))
      .I16(70, flags);
  for (const Vertex& v : vertices) {
    c.Point(10, v.x, v.y, 0.0);
    if (!std::isnan(v.bulge)) c.Real(42, v.bulge);
  }
  return c;
}

const double kNoBulge = NAN;

}  // namespace

TEST(EntityExtents, DefpointsLayerCountsOnlyWhenAsked) {
  for (const char* layer : {"Defpoints", "DEFPOINTS", "defpoints"}) {
    TestChain c;
    Line(c, layer, {0, 0, 0}, {10, 5, 0});
    EXPECT_TRUE(ExtentsOf(c).Empty()) << layer;
    ExpectBox(ExtentsOf(c, true), {0, 0, 0}, {10, 5, 0});
  }
  TestChain c;
  Line(c, "0", {0, 0, 0}, {10, 5, 0});
  ExpectBox(ExtentsOf(c), {0, 0, 0}, {10, 5, 0});

  // Only the DEFPOINTS entity is skipped; the one after it still counts.
  TestChain mixed;
  Line(mixed, "DEFPOINTS", {-50, -50, 0}, {50, 50, 0});
  Line(mixed, "Pipes", {1, 2, 3}, {4, 5, 6});
  ExpectBox(ExtentsOf(mixed), {1, 2, 3}, {4, 5, 6});
}

TEST(EntityExtents, IsOnDefpointsReadsOnlyTheEntitysLayer) {
  TestChain c;
  c.Name(-1, 7, 0).Text(0, "LINE").Text(8, "defPoints");
  c.Text(0, "LINE").Point(10, 0, 0, 0);
  c.Text(0, "LINE").Text(8, "DEFPOINTS2");
  resbuf* head = c.Head();
  EXPECT_TRUE(IsOnDefpoints(head));
  const resbuf* second = FindGroupCode(head->next->next, 0);
  // No layer node of its own: the next entity's layer does not count.
  EXPECT_FALSE(IsOnDefpoints(second));
  EXPECT_FALSE(IsOnDefpoints(FindGroupCode(second->next, 0)));
  EXPECT_FALSE(IsOnDefpoints(nullptr));
}

TEST(EntityExtents, BoxGrowsAndIsNeverReset) {
  TestChain c;
  Line(c, "0", {1, 1, 0}, {2, 2, 0});
  Box box;
  box.min = {0, 0, -1};
  box.max = {1.5, 1.5, 0};
  GetEntityExtents(c.Head(), box.min, box.max, false);
  ExpectBox(box, {0, 0, -1}, {2, 2, 0});

  UpdateExtents(static_cast<const double*>(nullptr), box.min, box.max);
  const double raw[3] = {-3, 5, 4};
  UpdateExtents(raw, box.min, box.max);
  ExpectBox(box, {-3, 0, -1}, {2, 5, 4});
  UpdateExtents(GLVector(NAN, 10, NAN), box.min, box.max);
  ExpectBox(box, {-3, 0, -1}, {2, 10, 4});
}

TEST(EntityExtents, OtherEntityTypesAndNodesArePassedOver) {
  TestChain c;
  c.Point(10, 99, 99, 99);  // a stray node before any entity
  c.Text(0, "TEXT").Point(10, -100, -100, 0).Real(40, 50);
  c.Text(0, "INSERT").Point(10, 200, 200, 0);
  c.Text(0, "HATCH").Point(10, -300, 0, 0).Point(11, 300, 0, 0);
  c.Text(0, "line").Point(10, 400, 0, 0).Point(11, 401, 0, 0);  // type names are case-sensitive
  EXPECT_TRUE(ExtentsOf(c, true).Empty());

  Line(c, "0", {1, 2, 0}, {3, 4, 0});
  c.Text(0, "TEXT").Point(10, -100, -100, 0);
  ExpectBox(ExtentsOf(c, true), {1, 2, 0}, {3, 4, 0});

  Box none;
  GetEntityExtents(nullptr, none.min, none.max, true);
  EXPECT_TRUE(none.Empty());
}

TEST(EntityExtents, LeadingEntityNameIsSteppedOver) {
  TestChain c;
  c.Name(-1, 1, 2).Text(0, "CIRCLE").Point(10, 0, 0, 0).Real(40, 1);
  ExpectBox(ExtentsOf(c), {-1, -1, 0}, {1, 1, 0});
}

TEST(EntityExtents, SolidAddsAllFourCorners) {
  TestChain c;
  c.Text(0, "SOLID")
      .Point(10, 0, 0, 0)
      .Point(11, 4, -1, 0)
      .Point(12, 1, 3, 2)
      .Point(13, -2, 1, 0)
      .Point(14, 100, 100, 100);
  ExpectBox(ExtentsOf(c), {-2, -1, 0}, {4, 3, 2});
}

TEST(EntityExtents, CircleGivesItsSquare) {
  TestChain c;
  c.Text(0, "CIRCLE").Point(10, 5, 5, 0).Real(40, 2);
  ExpectBox(ExtentsOf(c), {3, 3, 0}, {7, 7, 0});

  // Radius ahead of the centre, and a later centre node replacing the first.
  TestChain late;
  late.Text(0, "CIRCLE").Real(40, 2).Point(10, 100, 100, 0).Point(10, 5, 5, 1);
  ExpectBox(ExtentsOf(late), {3, 3, 1}, {7, 7, 1});
}

TEST(EntityExtents, IncompleteEntitiesAddNothingAndTheWalkGoesOn) {
  TestChain c;
  c.Text(0, "CIRCLE").Point(10, 50, 50, 0);  // no radius
  c.Text(0, "CIRCLE").Real(40, 30);          // no centre
  Arc(c, {0, 0, 0}, 1, 0, 1);
  c.Text(0, "ARC").Point(10, 60, 60, 0).Real(40, 10).Real(50, 0);  // no end angle
  c.Text(0, "ARC").Point(10, 60, 60, 0).Real(50, 0).Real(51, 1);   // no radius
  c.Text(0, "ELLIPSE").Point(10, 70, 70, 0).Point(11, 5, 0, 0);    // no ratio
  c.Text(0, "ELLIPSE").Point(11, 5, 0, 0).Real(40, 0.5);           // no centre
  c.Text(0, "ELLIPSE").Point(10, 70, 70, 0).Real(40, 0.5);         // no major axis
  c.Text(0, "CIRCLE").Real(40, 2);
  c.Text(0, "LINE").Point(10, -5, 0, 0).Text(8, "0");  // one end only: still a point
  Box box = ExtentsOf(c);
  ExpectBox(box, {-5, 0, 0}, {1, std::sin(1.0), 0});
}

TEST(EntityExtents, EllipseAddsBothAxesEnds) {
  TestChain c;
  c.Text(0, "ELLIPSE").Point(10, 1, 2, 0).Point(11, 3, 0, 0).Real(40, 0.5).Real(41, 0).Real(42, 1);
  ExpectBox(ExtentsOf(c), {-2, 0.5, 0}, {4, 3.5, 0});

  TestChain tilted;
  tilted.Text(0, "ELLIPSE").Point(10, 0, 0, 0).Point(11, 0, 2, 0).Real(40, 0.25);
  ExpectBox(ExtentsOf(tilted), {-0.5, -2, 0}, {0.5, 2, 0});

  TestChain degenerate;
  degenerate.Text(0, "ELLIPSE").Point(10, 1, 1, 1).Point(11, 0, 0, 0).Real(40, 0.5);
  ExpectBox(ExtentsOf(degenerate), {1, 1, 1}, {1, 1, 1});

  // Smaller than 1/64 of a unit, an ellipse keeps its width in the plane.
  TestChain tiny;
  tiny.Text(0, "ELLIPSE").Point(10, 0, 0, 0).Point(11, 0.01, 0, 0).Real(40, 0.5);
  ExpectBox(ExtentsOf(tiny), {-0.01, -0.005, 0}, {0.01, 0.005, 0}, 1e-15);
}

TEST(EntityExtents, QuarterArcIncludesItsCentre) {
  TestChain c;
  Arc(c, {0, 0, 0}, 1, 0, kPi / 2);
  ExpectBox(ExtentsOf(c), {0, 0, 0}, {1, 1, 0});
}

TEST(EntityExtents, ArcPassingZeroAddsPlusX) {
  TestChain c;
  double a = 3 * kPi / 2 + 0.1;
  Arc(c, {0, 0, 0}, 1, a, 0.5);
  ExpectBox(ExtentsOf(c), {0, std::sin(a), 0}, {1, std::sin(0.5), 0});
}

namespace {

// Quadrant points expected on an arc, as a bit set: 1 +x, 2 +y, 4 -x, 8 -y.
struct ArcCase {
  double a, b;
  int quadrants;
};

Box ExpectedArcBox(GLVector c, double r, double a, double b, int quadrants) {
  Box box;
  UpdateExtents(c, box.min, box.max);
  UpdateExtents(GLVector(c.x + r * std::cos(a), c.y + r * std::sin(a), c.z), box.min, box.max);
  UpdateExtents(GLVector(c.x + r * std::cos(b), c.y + r * std::sin(b), c.z), box.min, box.max);
  if (quadrants & 1) UpdateExtents(GLVector(c.x + r, c.y, c.z), box.min, box.max);
  if (quadrants & 2) UpdateExtents(GLVector(c.x, c.y + r, c.z), box.min, box.max);
  if (quadrants & 4) UpdateExtents(GLVector(c.x - r, c.y, c.z), box.min, box.max);
  if (quadrants & 8) UpdateExtents(GLVector(c.x, c.y - r, c.z), box.min, box.max);
  return box;
}

}  // namespace

TEST(EntityExtents, ArcAddsExactlyTheQuadrantsItPasses) {
  const ArcCase cases[] = {
      {kPi, kPi / 4, 8 | 1},              // wraps: -y and +x
      {3.5, 3.0, 8 | 1 | 2},              // wraps almost fully, misses only -x
      {3 * kPi / 2 - 0.1, 0.1, 8 | 1},    // wraps just past -y
      {5.0, 4.0, 1 | 2 | 4},              // wraps almost fully, misses only -y
      {0.1, kPi / 2 + 0.1, 2},            // non-wrapping
      {kPi / 2 + 0.1, kPi - 0.1, 0},      // inside one quadrant
      {0.2, 6.0, 2 | 4 | 8},              // non-wrapping, nearly full
      {-kPi / 2, kPi / 2, 8 | 1 | 2},     // negative start
      {2 * kPi + 0.1, 2 * kPi + 3.0, 2},  // both past a full turn
      {7.0, -1.0, 2 | 4 | 8},             // 0.717 .. 5.283 once normalised
      {0.0, 2 * kPi, 1 | 2 | 4 | 8},      // a full turn
      {1.0, 1.0, 0},                      // a point
  };
  const GLVector centre{2, -3, 1.5};
  const double r = 2.5;
  for (const ArcCase& k : cases) {
    TestChain c;
    Arc(c, centre, r, k.a, k.b);
    Box expected = ExpectedArcBox(centre, r, k.a, k.b, k.quadrants);
    SCOPED_TRACE(testing::Message() << "arc " << k.a << " .. " << k.b);
    ExpectBox(ExtentsOf(c), expected.min, expected.max, 1e-9);
  }
}

TEST(EntityExtents, ArcBoxMatchesASampledArc) {
  // Start and end angles kept 0.05 off the quadrant directions, so that a
  // wrongly added or missed quadrant point moves the box by more than 1e-3.
  const GLVector centre{1, 1, 0};
  for (int i = 0; i < 16; ++i) {
    for (int j = 0; j < 16; ++j) {
      double a = i * kPi / 8 + 0.05 - 2 * kPi;  // also outside 0..2 pi
      double b = j * kPi / 8 + 0.05 + (j % 2 ? 2 * kPi : 0.0);
      if (i == j) continue;
      double sweep = std::fmod(b - a, 2 * kPi);
      if (sweep < 0) sweep += 2 * kPi;
      Box sampled;
      UpdateExtents(centre, sampled.min, sampled.max);
      const int steps = 4000;
      for (int s = 0; s <= steps; ++s) {
        double t = a + sweep * s / steps;
        UpdateExtents(GLVector(centre.x + std::cos(t), centre.y + std::sin(t), 0), sampled.min,
                      sampled.max);
      }
      TestChain c;
      Arc(c, centre, 1, a, b);
      SCOPED_TRACE(testing::Message() << "arc " << a << " .. " << b);
      ExpectBox(ExtentsOf(c), sampled.min, sampled.max, 1e-3);
    }
  }
}

TEST(EntityExtents, BulgeArcOfTheHalfCircleExample) {
  GLVector p1{0, 0, 0};
  GLVector p2{2, 0, 0};
  double r = -1;
  BulgeArcRadius(p1, p2, 1.0, r);
  EXPECT_NEAR(r, 1.0, kTol);
  GLVector centre{9, 9, 9};
  BulgeArcCentre(centre, p1, p2, 1.0);
  EXPECT_NEAR(centre.x, 1.0, kTol);
  EXPECT_NEAR(centre.y, 0.0, kTol);
  EXPECT_EQ(centre.z, 0.0);

  double a1 = -1;
  double a2 = -1;
  PointAnglesAboutCentre(centre, p1, p2, a1, a2);
  EXPECT_NEAR(a1, kPi, kTol);
  EXPECT_NEAR(std::fmod(a2, 2 * kPi), 0.0, kTol);

  // Counter-clockwise from (0,0) to (2,0) about (1,0) runs below the chord.
  TestChain c;
  Polyline(c, 0, {{0, 0, 1.0}, {2, 0, kNoBulge}});
  ExpectBox(ExtentsOf(c), {0, -1, 0}, {2, 0, 0});

  TestChain clockwise;
  Polyline(clockwise, 0, {{0, 0, -1.0}, {2, 0, kNoBulge}});
  ExpectBox(ExtentsOf(clockwise), {0, 0, 0}, {2, 1, 0});
}

TEST(EntityExtents, BulgeHelpersLeaveStraightSegmentsAlone) {
  GLVector p{1, 2, 0};
  GLVector q{1, 2, 5};  // same x and y
  GLVector centre{7, 8, 9};
  double r = 3;
  BulgeArcRadius(p, q, 1.0, r);
  EXPECT_EQ(r, 0.0);
  BulgeArcCentre(centre, p, q, 1.0);
  EXPECT_EQ(centre, GLVector(7, 8, 9));
  r = 3;
  BulgeArcRadius(p, GLVector(4, 6, 0), 0.0, r);
  EXPECT_EQ(r, 0.0);
  BulgeArcCentre(centre, p, GLVector(4, 6, 0), 0.0);
  EXPECT_EQ(centre, GLVector(7, 8, 9));
}

TEST(EntityExtents, BulgeArcsSweepTheBulgesWay) {
  // Bulge 0.5 on a chord of 2: radius 1.25, centre 0.75 left of the chord,
  // the arc dips 0.5 below it.
  TestChain shallow;
  Polyline(shallow, 0, {{0, 0, 0.5}, {2, 0, kNoBulge}});
  ExpectBox(ExtentsOf(shallow), {0, -0.5, 0}, {2, 0, 0});

  // Bulge 2: more than half a circle, centre 0.75 right of the chord.
  TestChain deep;
  Polyline(deep, 0, {{0, 0, 2.0}, {2, 0, kNoBulge}});
  ExpectBox(ExtentsOf(deep), {-0.25, -2, 0}, {2.25, 0, 0});

  TestChain deepClockwise;
  Polyline(deepClockwise, 0, {{0, 0, -2.0}, {2, 0, kNoBulge}});
  ExpectBox(ExtentsOf(deepClockwise), {-0.25, 0, 0}, {2.25, 2, 0});

  // Upward chord: counter-clockwise from (0,0) to (0,2) bulges to +x.
  TestChain upward;
  Polyline(upward, 0, {{0, 0, 1.0}, {0, 2, kNoBulge}});
  ExpectBox(ExtentsOf(upward), {0, 0, 0}, {1, 2, 0});

  // Leftward chord, clockwise: from (2,1) to (0,1) under the chord.
  TestChain leftward;
  Polyline(leftward, 0, {{2, 1, -1.0}, {0, 1, kNoBulge}});
  ExpectBox(ExtentsOf(leftward), {0, 0, 0}, {2, 1, 0});
}

TEST(EntityExtents, PolylineMixesStraightAndBulgedSegments) {
  TestChain c;
  Polyline(c, 0, {{0, 0, 0.0}, {4, 0, 1.0}, {4, 2, kNoBulge}, {0, 2, kNoBulge}});
  // Only the segment (4,0)-(4,2) is an arc: centre (4,1), bulging to +x.
  ExpectBox(ExtentsOf(c), {0, 0, 0}, {5, 2, 0});
}

TEST(EntityExtents, ClosedPolylineClosingSegmentBulge) {
  const std::vector<Vertex> square = {{0, 0, 0.0}, {2, 0, 0.0}, {2, 2, 0.0}, {0, 2, 1.0}};
  // The closing segment (0,2) -> (0,0) bulges outwards to x = -1.
  TestChain closed;
  Polyline(closed, 1, square);
  ExpectBox(ExtentsOf(closed), {-1, 0, 0}, {2, 2, 0});

  TestChain open;
  Polyline(open, 0, square);
  ExpectBox(ExtentsOf(open), {0, 0, 0}, {2, 2, 0});

  TestChain straight;
  Polyline(straight, 1, {{0, 0, 0.0}, {2, 0, 0.0}, {2, 2, 0.0}, {0, 2, 0.0}});
  ExpectBox(ExtentsOf(straight), {0, 0, 0}, {2, 2, 0});

  // The closing bulge counts whatever follows the last vertex's 42.
  TestChain withData;
  Polyline(withData, 1, square);
  withData.Text(-3, "").Text(1001, "JOV_DATA").Text(1000, "TPP0015i0001");
  ExpectBox(ExtentsOf(withData), {-1, 0, 0}, {2, 2, 0});

  // Closed flag among other bits; the entity after it is read as well.
  TestChain flagged;
  Polyline(flagged, 129, {{0, 0, kNoBulge}, {2, 0, -1.0}});
  Line(flagged, "0", {5, 5, 0}, {5, 5, 0});
  ExpectBox(ExtentsOf(flagged), {0, -1, 0}, {5, 5, 0});
}

TEST(EntityExtents, PerTypeFunctionsLeaveTheCursorOnTheNextEntity) {
  using Fn = void (*)(resbuf**, GLVector&, GLVector&);
  struct Case {
    const char* type;
    Fn fn;
  };
  const Case cases[] = {{"LINE", LineExtents},       {"CIRCLE", CircleExtents},
                        {"ELLIPSE", EllipseExtents}, {"ARC", ArcExtents},
                        {"SOLID", SolidExtents},     {"LWPOLYLINE", LwPolylineExtents}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.type);
    TestChain c;
    c.Name(-1, 1, 1)
        .Text(0, k.type)
        .Point(10, 1, 1, 0)
        .Point(11, 2, 0, 0)
        .Real(40, 0.5)
        .Real(50, 0)
        .Real(51, 1);
    c.Text(0, "TEXT").Point(10, 0, 0, 0);
    resbuf* head = c.Head();
    resbuf* cursor = head;
    Box box;
    k.fn(&cursor, box.min, box.max);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->code, 0);
    EXPECT_STREQ(cursor->value.text, "TEXT");
    EXPECT_FALSE(box.Empty());

    // On the last entity the cursor ends null.
    cursor = FindGroupCode(head->next->next, 0);
    k.fn(&cursor, box.min, box.max);
    EXPECT_EQ(cursor, nullptr);
    cursor = nullptr;
    k.fn(&cursor, box.min, box.max);
    EXPECT_EQ(cursor, nullptr);
  }
}

TEST(EntityExtents, ArcEndPointsLieOnTheCircle) {
  GLVector start;
  GLVector end;
  ArcEndPoints(GLVector(1, 2, 3), 2.0, kPi, -kPi / 2, start, end);
  EXPECT_NEAR(start.x, -1, kTol);
  EXPECT_NEAR(start.y, 2, kTol);
  EXPECT_EQ(start.z, 3);
  EXPECT_NEAR(end.x, 1, kTol);
  EXPECT_NEAR(end.y, 0, kTol);
  EXPECT_EQ(end.z, 3);
}

TEST(EntityExtents, GetEntityPointIntoAVector) {
  TestChain c;
  c.Name(-1, 1, 1).Text(0, "LINE").Point(10, 1, 2, 3).Point(10, 7, 8, 9);
  c.Text(0, "LINE").Point(11, 4, 5, 6);
  GLVector p{-1, -1, -1};
  GetEntityPoint(c.Head(), p, 10);
  EXPECT_EQ(p, GLVector(1, 2, 3));  // the first node of the code
  GetEntityPoint(c.Head(), p, 11);  // only in the next entity: unchanged
  EXPECT_EQ(p, GLVector(1, 2, 3));
}

// The first point is the arc's centre: a bulge goes to its centre and back.
TEST(EntityExtents, BulgeFromTheCentreAndTheEndPoints) {
  const GLVector chords[][2] = {{{0, 0, 0}, {10, 0, 0}}, {{3, -2, 0}, {-4, 5, 0}}};
  for (const auto& chord : chords) {
    for (double bulge : {0.1, 0.5, 0.9, -0.3, -0.99}) {
      GLVector centre;
      BulgeArcCentre(centre, chord[0], chord[1], bulge);
      EXPECT_NEAR(BulgeFromThreePoints(centre, chord[0], chord[1]), bulge, 1e-12) << bulge;
    }
  }
  // A half circle: the centre on the chord.
  EXPECT_DOUBLE_EQ(BulgeFromThreePoints({5, 0, 0}, {0, 0, 0}, {10, 0, 0}), 1.0);
  EXPECT_DOUBLE_EQ(BulgeFromThreePoints({20, 0, 0}, {0, 0, 0}, {10, 0, 0}), 1.0);
  // No chord: nothing finite.
  EXPECT_EQ(BulgeFromThreePoints({1, 1, 0}, {2, 2, 0}, {2, 2, 0}), 0.0);
}
