// Definition points of product geometry: what every entity adds, the
// tolerant sort and numbering, and the definition editor's operations.
#include "wizard/frame/engine/DefinitionPoints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/catalogue/GroupCodeText.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/tests/EngineFixture.h"

namespace {

// A chain from "code value" lines (angles in degrees, as the catalogue
// text has them).
struct Chain {
  explicit Chain(const std::string& lines) {
    std::string text;
    size_t at = 0;
    while (at < lines.size()) {
      size_t end = lines.find('\n', at);
      if (end == std::string::npos) end = lines.size();
      const std::string line = lines.substr(at, end - at);
      const size_t blank = line.find(' ');
      text += line.substr(0, blank) + "\n" + line.substr(blank + 1) + "\n";
      at = end + 1;
    }
    std::string error;
    EXPECT_TRUE(jovDatabase::ParseGroupCodeText(text.c_str(), &head, &error)) << error;
  }
  ~Chain() { jovDatabase::FreeGroupCodeNodes(head); }
  resbuf* head = nullptr;
};

// A coordinate to the micrometre, without the rounding noise of sines.
double Tidy(double v) { return std::round(v * 1e6) / 1e6 + 0.0; }

// "number: x y z flags" per point in list order.
std::vector<std::string> Points(const CSeznam& points) {
  std::vector<std::string> out;
  for (const CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o)) {
    char line[160];
    std::snprintf(line, sizeof line, "%u: %g %g %g f%u", o->number, Tidy(o->point.x), Tidy(o->point.y),
                  Tidy(o->point.z), o->flags);
    out.push_back(line);
  }
  return out;
}

std::vector<std::string> Parsed(const std::string& lines) {
  Chain chain(lines);
  CObjectSez points;
  ParseProductGeometry(points, chain.head, true);
  return Points(points);
}

using Rows = std::vector<std::string>;

}  // namespace

TEST(DefinitionPoints, EachEntityAddsItsCharacteristicPoints) {
  struct Case {
    const char* name;
    const char* chain;
    Rows points;
  };
  const Case cases[] = {
      {"line and circle share their points",
       "0 LINE\n8 0\n10 0\n20 0\n30 0\n11 100\n21 0\n31 0\n0 CIRCLE\n8 0\n10 0\n20 0\n30 0\n40 100",
       {"1: 0 0 0 f2", "2: 100 0 0 f0"}},
      {"arc: centre and both ends (degrees in the text)",
       "0 ARC\n10 10\n20 10\n30 0\n40 5\n50 90\n51 180",
       {"1: 5 10 0 f0", "2: 10 10 0 f2", "3: 10 15 0 f0"}},
      {"ellipse: centre, major and minor axis ends",
       "0 ELLIPSE\n10 0\n20 0\n30 0\n11 20\n21 0\n31 0\n40 0.5",
       {"1: 0 0 0 f2", "2: 0 10 0 f0", "3: 20 0 0 f0"}},
      {"polyline with bulges 0, 1: three vertices and one centre",
       "0 LWPOLYLINE\n90 3\n70 0\n10 0\n20 0\n42 0\n10 100\n20 0\n42 1\n10 200\n20 0",
       {"1: 0 0 0 f0", "2: 100 0 0 f0", "3: 150 0 0 f2", "4: 200 0 0 f0"}},
      {"closed polyline: the closing arc's centre too",
       "0 LWPOLYLINE\n70 1\n10 0\n20 0\n10 100\n20 0\n42 1",
       {"1: 0 0 0 f0", "2: 50 0 0 f2", "3: 100 0 0 f0"}},
      {"solid corners and text insertion and alignment",
       "0 SOLID\n10 0\n20 0\n30 0\n11 5\n21 0\n31 0\n12 0\n22 5\n32 0\n13 0\n23 5\n33 0\n"
       "0 TEXT\n10 1\n20 1\n30 0\n40 2.5\n1 CT\n0 TEXT\n10 7\n20 7\n30 0\n11 8\n21 8\n31 0\n1 x",
       {"1: 0 0 0 f0", "2: 0 5 0 f0", "3: 1 1 0 f0", "4: 5 0 0 f0", "5: 7 7 0 f0", "6: 8 8 0 f0"}},
      {"DEFPOINTS of colour 3 adds nothing, of colour 256 a linked line",
       "0 LINE\n8 Defpoints\n62 3\n10 0\n20 0\n30 0\n11 9\n21 9\n31 0\n"
       "0 LINE\n8 DEFPOINTS\n62 256\n10 1\n20 0\n30 0\n11 1\n21 -5\n31 0\n"
       "0 CIRCLE\n8 DEFPOINTS\n62 1\n10 50\n20 50\n30 0\n40 5",
       {"1: 1 -5 0 f17", "2: 1 0 0 f9"}},
      {"hatch: polyline path with its arcs, edges, and no seed points",
       "0 HATCH\n8 0\n10 0\n20 0\n30 0\n2 SOLID\n70 1\n91 2\n"
       "92 3\n72 1\n73 1\n93 3\n10 0\n20 0\n42 0\n10 10\n20 0\n42 0\n10 10\n20 10\n42 1\n97 0\n"
       "92 1\n93 2\n72 1\n10 20\n20 0\n11 20\n21 4\n72 2\n10 20\n20 2\n40 2\n50 90\n51 270\n73 1\n97 1\n330 1F\n"
       "75 0\n76 1\n98 1\n10 99\n20 99",
       {"1: 0 0 0 f0", "2: 5 5 0 f2", "3: 10 0 0 f0", "4: 10 10 0 f0", "5: 20 0 0 f0", "6: 20 2 0 f2",
        "7: 20 4 0 f0"}},
      {"other entities and extended data add nothing",
       "0 INSERT\n10 5\n20 5\n30 0\n0 LINE\n10 1\n20 1\n30 0\n11 2\n21 2\n31 0\n1001 JOV_DATA\n1010 50\n1020 50\n1030 0",
       {"1: 1 1 0 f0", "2: 2 2 0 f0"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Parsed(c.chain), c.points) << c.name;
}

TEST(DefinitionPoints, NewPointsCarryTheirCoordinatesAsFormulasAndLinesLinkTheirEnds) {
  Chain chain("0 LINE\n8 DEFPOINTS\n62 256\n10 1.005\n20 -2\n30 0\n11 3\n21 4.125\n31 0.5");
  CObjectSez points;
  ParseProductGeometry(points, chain.head, false);
  ASSERT_EQ(points.GetCount(), 2u);
  auto* start = FirstOf<CObjectData>(points);
  auto* end = NextOf(start);
  EXPECT_EQ(start->linked, end);
  EXPECT_EQ(end->linked, start);
  EXPECT_STREQ(start->GetText(0), "1.00") << "the C library's rounding of 1.005";
  EXPECT_STREQ(end->GetText(1), "4.12");
  EXPECT_STREQ(end->GetText(2), "0.50");

  uint32_t counter = 3;
  CObjectData* object = nullptr;
  AddDefinitionPoint(points, GLVector(3.004, 4.121, 0.5), counter, object, PointFlag::kCentre);
  EXPECT_EQ(object, end) << "within 0.01: the same point";
  EXPECT_EQ(end->flags, PointFlag::kDefinitionLine | PointFlag::kLineEnd | PointFlag::kCentre);
  EXPECT_EQ(counter, 3u);
  AddDefinitionPoint(points, GLVector(NAN, 0, 0), counter, object, 0);
  EXPECT_EQ(points.GetCount(), 2u) << "a point that is not finite is not added";
}

TEST(DefinitionPoints, SortingIsTolerantStableAndStaysInBounds) {
  // 0.005 apart in x: y decides; within 0.01 in every coordinate of one
  // another (but not the same point), ties keep the order they came in.
  EXPECT_EQ(Parsed("0 LINE\n10 10.005\n20 1\n30 0\n11 10\n21 2\n31 0"), (Rows{"1: 10.005 1 0 f0", "2: 10 2 0 f0"}));
  CObjectSez ties;
  for (double x : {0.009, 0.0, 0.018, 0.0091}) {
    auto* o = new CObjectData;
    o->point = GLVector(x, 0, 0);
    ties.AddTail(o);
  }
  SortAndNumberPoints(ties);
  EXPECT_EQ(Points(ties), (Rows{"1: 0.009 0 0 f0", "2: 0 0 0 f0", "3: 0.018 0 0 f0", "4: 0.0091 0 0 f0"}));
  // A chain of points each within 0.01 of the next is no order at all; the
  // sort must still end, keep every point once and number 1..n.
  CObjectSez points;
  std::mt19937 random(17);
  std::uniform_int_distribution<int> step(0, 2);
  std::vector<const CObjectData*> before;
  double x = 0;
  for (int i = 0; i < 500; ++i) {
    x += 0.006 * step(random);
    auto* o = new CObjectData;
    o->point = GLVector(x, (i * 7919) % 13, 0);
    points.AddTail(o);
    before.push_back(o);
  }
  SortAndNumberPoints(points);
  std::vector<const CObjectData*> after;
  uint32_t expected = 1;
  for (const CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o)) {
    EXPECT_EQ(o->number, expected++);
    after.push_back(o);
  }
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, before) << "every point once";
}

class PointEditing : public engine_test::EngineTest {};

TEST_F(PointEditing, MarksOriginsRelativeEndsAndTheList) {
  Chain chain(
      "0 LINE\n8 DEFPOINTS\n10 100\n20 0\n30 0\n11 150\n21 -40\n31 0\n"
      "0 CIRCLE\n10 20\n20 30\n30 0\n40 5");
  CObjectSez points;
  ParseProductGeometry(points, chain.head, true);
  // 1 (20,30) C, 2 (25,30), 3 (100,0) start, 4 (150,-40) end.
  ASSERT_EQ(Points(points), (Rows{"1: 20 30 0 f2", "2: 25 30 0 f0", "3: 100 0 0 f9", "4: 150 -40 0 f17"}));
  CObjectData* centre = FirstOf<CObjectData>(points);
  CObjectData* start = NextOf(NextOf(centre));
  start->flags |= PointFlag::kBasePoint;

  CListCtrl& list = View();
  FillPointList(points, &list, 0);
  ASSERT_EQ(list.GetItemCount(), 3) << "line ends only in mode 1";
  EXPECT_EQ(Cell(0, 0), "1 C");
  EXPECT_EQ(Cell(2, 0), "3 F");
  EXPECT_EQ(reinterpret_cast<CObjectData*>(list.GetItemData(2)), start);
  EXPECT_EQ(NextOf(start)->listRow, -1);
  centre->flags |= PointFlag::kBasePoint;
  ShowPointMarkers(points, &list, 1);
  ASSERT_EQ(list.GetItemCount(), 4);
  EXPECT_EQ(Cell(0, 0), "1 C F");
  EXPECT_EQ(NextOf(start)->listRow, 3);

  ClearBasePointMarks(points, &list);
  EXPECT_EQ(Cell(0, 0), "1 C");
  EXPECT_EQ(Cell(2, 0), "3");
  EXPECT_EQ(centre->flags, PointFlag::kCentre);

  OffsetObjectFormulas(points, *start);
  EXPECT_STREQ(centre->GetText(0), "-80.00");
  EXPECT_STREQ(centre->GetText(1), "30.00");
  start->SetText(0, "L/2");
  start->SetText(1, nullptr);
  MakeRelativeFormulas(points);
  CObjectData* end = start->linked;
  ASSERT_NE(end, nullptr);
  EXPECT_STREQ(end->GetText(0), "L/2+50.00");
  EXPECT_STREQ(end->GetText(1), "-40.00") << "no start formula: the bare difference";
  EXPECT_STREQ(end->GetText(2), "0.00+0.00");
}
