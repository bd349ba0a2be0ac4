// A product's geometry chain into the preview: what each entity makes in
// each kind (classes, colours, connection points, what is left out), the
// kind-0 text alignment, a SOLID's corner order as painted, and the sample
// radiator's connection lines.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "objectgl/GLArrow.h"
#include "objectgl/GLSelectPoint.h"
#include "objectgl/GLTextStyle.h"
#include "platform/catalogue/Database.h"
#include "wizard/dialogs/tests/ProductPreviewTest.h"

namespace {

using namespace product_preview_tests;

TestChain& Line(TestChain& c, const char* layer, int colour, double x1, double y1, double x2, double y2) {
  c.Text(0, "LINE").Text(8, layer);
  if (colour >= 0) c.I16(62, static_cast<int16_t>(colour));
  return c.Point(10, x1, y1, 0).Point(11, x2, y2, 0);
}

TestChain& Circle(TestChain& c, const char* layer, int colour, double x) {
  return c.Text(0, "CIRCLE").Text(8, layer).I16(62, static_cast<int16_t>(colour)).Point(10, x, 0, 0).Real(40, 5.0);
}

// A HATCH of one polyline path: the square of side 10 at x.
TestChain& Hatch(TestChain& c, const char* layer, int colour, double x) {
  c.Text(0, "HATCH").Text(8, layer).I16(62, static_cast<int16_t>(colour)).I32(91, 1).I32(92, 2);
  c.I16(72, 0).I16(73, 1).I32(93, 4);
  for (const auto& [px, py] : {std::pair{x, 0.0}, {x + 10, 0.0}, {x + 10, 10.0}, {x, 10.0}}) c.Point(10, px, py, 0);
  return c.I32(97, 0);
}

// A polyline through the square's corners, every vertex bulged by `bulge`.
TestChain& Polyline(TestChain& c, const char* layer, int colour, bool closed, double bulge) {
  c.Text(0, "LWPOLYLINE").Text(8, layer).I16(62, static_cast<int16_t>(colour)).I32(90, 4).I16(70, closed ? 1 : 0);
  for (const auto& [x, y] : {std::pair{0.0, 0.0}, {10.0, 0.0}, {10.0, 10.0}, {0.0, 10.0}}) {
    c.Point(10, x, y, 0);
    if (bulge != 0.0) c.Real(42, bulge);
  }
  return c;
}

struct Case {
  const char* what;
  uint32_t kind;
  uint32_t background;
  std::function<void(TestChain&)> chain;
  std::vector<std::string> content;
};

class ProductConversion : public ProductPreviewTest {
 protected:
  void Show(TestChain& chain) { View().ShowPreview(chain.Head(), true); }
};

TEST_F(ProductConversion, EachEntityMakesWhatItsKindAndColourRulesSay) {
  auto circles = [](TestChain& c) {
    Circle(c, "DEFPOINTS", 7, 0);
    Circle(c, "Defpoints", 3, 20);
    Circle(c, "0", 3, 40);
  };
  auto connections = [](TestChain& c) {
    Line(c, "DEFPOINTS", 7, 0, 0, 0, -50);
    Line(c, "defpoints", 256, 100, 0, 100, -50);  // by layer counts as 7
    Line(c, "DEFPOINTS", 3, 200, 0, 200, -50);    // another colour: geometry
    Polyline(c, "DEFPOINTS", 7, false, 0.0);      // only a LINE connects
  };
  const std::vector<Case> cases = {
      {"kind 4 draws a DEFPOINTS circle of colour 7, not one of colour 3", 4, 0, circles,
       {"GLCircle 7", "GLCircle 3"}},
      {"kind 0 draws neither", 0, 0, circles, {"GLCircle 3"}},
      {"kind 2 draws everything", 2, 0, circles, {"GLCircle 7", "GLCircle 3", "GLCircle 3"}},
      {"colours 0, 255, 256 and none become 7; a HATCH keeps 255", 0, 0,
       [](TestChain& c) {
         Line(c, "0", 0, 0, 0, 1, 1);
         Line(c, "0", 255, 0, 0, 1, 2);
         Line(c, "0", 256, 0, 0, 1, 3);
         Line(c, "0", -1, 0, 0, 1, 4);
         Hatch(c, "0", 255, 0);
         Hatch(c, "0", 0, 20);
       },
       {"GLLine 7", "GLLine 7", "GLLine 7", "GLLine 7", "GLPolygon 255", "GLPolygon 7"}},
      {"on white 7 becomes 0", 0, 1,
       [](TestChain& c) {
         Line(c, "0", 7, 0, 0, 1, 1);
         Line(c, "0", 0, 0, 0, 1, 2);
         Hatch(c, "0", 7, 0);
         Hatch(c, "0", 255, 20);
         c.Text(0, "SOLID").Text(8, "0").I16(62, 256).Point(10, 0, 0, 0).Point(11, 1, 0, 0).Point(12, 0, 1, 0);
       },
       {"GLLine 0", "GLLine 0", "GLPolygon 0", "GLPolygon 255", "GLPolygon 0"}},
      {"a closed polyline bulged at every vertex: an arc per vertex", 0, 0,
       [](TestChain& c) { Polyline(c, "0", 5, true, 0.5); }, {"GLArc 5", "GLArc 5", "GLArc 5", "GLArc 5"}},
      {"an open one: one fewer", 0, 0, [](TestChain& c) { Polyline(c, "0", 5, false, 0.5); },
       {"GLArc 5", "GLArc 5", "GLArc 5"}},
      {"an INSERT is passed over whole and the next entity converted", 0, 0,
       [](TestChain& c) {
         c.Text(0, "INSERT").Text(8, "0").Text(2, "VALVE").Point(10, 0, 0, 0).I16(62, 1);
         c.Text(0, "ELLIPSE").Text(8, "0").I16(62, 3).Point(10, 0, 0, 0).Point(11, 10, 0, 0).Real(40, 0.5);
         c.Text(0, "SOLID").Text(8, "0").I16(62, 6).Point(10, 0, 0, 0).Point(11, 1, 0, 0);
       },
       {"GLEllipse 3", "GLPolygon 6"}},
      {"an empty TEXT shows ?, an ATTDEF is a text", 0, 0,
       [](TestChain& c) {
         c.Text(0, "TEXT").Text(8, "0").Point(10, 0, 0, 0).Real(40, 2.0).Text(1, "");
         c.Text(0, "ATTDEF").Text(8, "0").I16(62, 2).Point(10, 0, 5, 0).Real(40, 2.0).Text(1, "DN").Text(2, "TAG");
       },
       {"GLText 7 \"?\"", "GLText 2 \"DN\""}},
      {"kind 1: connection points with markers, the first under the arrow", 1, 0, connections,
       {"GLLine 3", "GLLine 7", "GLLine 7", "GLLine 7", "name 1", "GLSelectPoint 4 hidden", "name -1", "name 2",
        "GLSelectPoint 4", "name -1", "name -1", "GLArrow 1"}},
      {"kind 3: an arrow each and hidden markers", 3, 0, connections,
       {"GLLine 3", "GLLine 7", "GLLine 7", "GLLine 7", "GLArrow 1", "name 1", "GLSelectPoint 4 hidden",
        "name -1", "GLArrow 1", "name 2", "GLSelectPoint 4 hidden", "name -1"}},
      {"kind 4: as kind 3 without DEFPOINTS of another colour", 4, 0, connections,
       {"GLLine 7", "GLLine 7", "GLLine 7", "GLArrow 1", "name 1", "GLSelectPoint 4 hidden", "name -1",
        "GLArrow 1", "name 2", "GLSelectPoint 4 hidden", "name -1"}},
      {"kind 2: connection lines are lines", 2, 0, connections,
       {"GLLine 7", "GLLine 7", "GLLine 3", "GLLine 7", "GLLine 7", "GLLine 7"}},
      {"kind 0: nothing of them", 0, 0, connections, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Open(c.kind);
    View().SetBackground(c.background, false);
    TestChain chain;
    c.chain(chain);
    Show(chain);
    EXPECT_EQ(Content(), c.content);
  }
}

TEST_F(ProductConversion, ConnectionPointsKeepTheirLinesStartAndDirection) {
  struct Row {
    uint32_t kind;
    double z;  // of the position kept
  };
  for (const Row& r : {Row{1, 0.0}, Row{3, 1.0}, Row{4, 1.0}}) {
    SCOPED_TRACE(r.kind);
    Open(r.kind);
    TestChain chain;
    Line(chain, "DEFPOINTS", 7, 10, 20, 10, -30);  // down
    Line(chain, "DEFPOINTS", 7, 50, 20, 80, 50);   // up and right
    Line(chain, "DEFPOINTS", 7, 90, 0, 90, 0);     // of no length
    Show(chain);
    ASSERT_EQ(View().Points().GetCount(), 3u);
    const double degrees[] = {270.0, 45.0, 0.0};
    for (uint32_t id = 1; id <= 3; ++id) {
      const CSelPoint* p = Point(id);
      ASSERT_NE(p, nullptr);
      EXPECT_NEAR(p->angle * 180 / std::numbers::pi, degrees[id - 1], 1e-9) << id;
      EXPECT_EQ(p->position.z, r.z) << id;
      EXPECT_EQ(p->arrow != nullptr, r.kind != 1) << id;
      if (p->arrow) {
        EXPECT_DOUBLE_EQ(p->arrow->GetAngle(), p->angle) << id;
      }
    }
    EXPECT_DOUBLE_EQ(Point(1)->position.x, 10.0);
    EXPECT_DOUBLE_EQ(Point(1)->position.y, 20.0);
  }
}

TEST_F(ProductConversion, KindZeroPutsATextsAlignmentPointWhereItsInsertionPointIs) {
  struct Row {
    int horizontal, vertical;
    double rotation;
    double along, across;  // shift in text widths along, text heights across
  };
  const double quarter = std::numbers::pi / 2;
  const Row rows[] = {
      {0, 0, 0, 0, 0},          {1, 0, 0, -0.5, 0},      {2, 0, 0, -1, 0},     {0, 1, 0, 0, 0.25},
      {0, 2, 0, 0, -0.5},       {0, 3, 0, 0, -1},        {4, 0, 0, -0.5, -0.5}, {4, 2, 0, 0, -0.5},
      {5, 0, 0, 0, 0},          {1, 0, quarter, -0.5, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.horizontal) + "/" + std::to_string(r.vertical) + " at " +
                 std::to_string(r.rotation));
    GLVector at[2];
    double height = 0;
    for (uint32_t kind : {2u, 0u}) {
      Open(kind);
      TestChain chain;
      chain.Text(0, "TEXT").Text(8, "0").Point(10, 100, 50, 0).Real(40, 20.0).Real(50, r.rotation).Text(1, "HALF");
      chain.I16(72, static_cast<int16_t>(r.horizontal)).I16(73, static_cast<int16_t>(r.vertical));
      Show(chain);
      auto* text = GLDynamicCast<GLText>(Scene().GetEntity(0));
      ASSERT_NE(text, nullptr);
      at[kind == 0] = text->GetPosition();
      height = text->GetHeight();
    }
    GLExtents box;
    Scene().GetTextStyle(0)->GetTextExtents(&height, "HALF", &box);
    const double w = box.Max().x - box.Min().x, h = box.Max().y - box.Min().y;
    EXPECT_DOUBLE_EQ(at[0].x, 100.0) << "kinds other than 0 keep the insertion point";
    const double c = std::cos(r.rotation), s = std::sin(r.rotation);
    EXPECT_NEAR(at[1].x - at[0].x, r.along * w * c - r.across * h * s, 1e-9);
    EXPECT_NEAR(at[1].y - at[0].y, r.along * w * s + r.across * h * c, 1e-9);
  }
}

TEST_F(ProductConversion, AnEllipseWithoutANormalLiesFlatAndASolidWithoutItsFourthCornerReachesTheOrigin) {
  Open(0);
  TestChain chain;
  chain.Text(0, "ELLIPSE").Text(8, "0").Point(10, 100, 50, 0).Point(11, 40, 0, 0).Real(40, 0.5);
  chain.Real(41, 0).Real(42, 2 * std::numbers::pi);
  chain.Text(0, "SOLID").Text(8, "0").Point(10, 10, 10, 0).Point(11, 20, 10, 0).Point(12, 10, 20, 0);
  Show(chain);
  ASSERT_EQ(Content(), (std::vector<std::string>{"GLEllipse 7", "GLPolygon 7"}));
  const GLExtents ellipse = Scene().GetEntity(0)->GetExtents();
  EXPECT_NEAR(ellipse.Min().x, 60, 0.1);
  EXPECT_NEAR(ellipse.Max().x, 140, 0.1);
  EXPECT_NEAR(ellipse.Max().y - ellipse.Min().y, 40, 0.1);
  EXPECT_EQ(ellipse.Min().z, 0.0);
  EXPECT_EQ(ellipse.Max().z, 0.0);
  const GLExtents solid = Scene().GetEntity(1)->GetExtents();
  EXPECT_EQ(solid.Min(), GLVector(0, 0, 0));
  EXPECT_EQ(solid.Max(), GLVector(20, 20, 0));
}

TEST_F(ProductConversion, ASolidsCornersAreJoinedFirstSecondFourthThird) {
  Open(0);
  View().SetBackground(1, false);
  TestChain chain;
  // In the order given these corners would cross into a bow tie.
  chain.Text(0, "SOLID").Text(8, "0").I16(62, 1).Point(10, 0, 0, 0).Point(11, 100, 0, 0).Point(12, 0, 100, 0);
  chain.Point(13, 100, 100, 0);
  Show(chain);
  Camera().SetViewSize(kHeight, kHeight);
  Camera().SetTarget(GLVector(50, 50, 0));
  Camera().ComputeView();
  const GlFrame f = Frame("solid");
  // One unit a pixel, the square from (50, 0) to (250, 300)... of 100 units
  // around the centre (200, 150): the left middle lies inside only when the
  // outline does not cross.
  EXPECT_EQ(f.Rgb(kWidth / 2 - 40, kHeight / 2), 0xFF0000u);
  EXPECT_EQ(f.Rgb(kWidth / 2, kHeight / 2 - 40), 0xFF0000u);
  EXPECT_EQ(f.Rgb(kWidth / 2 - 120, kHeight / 2), 0xFFFFFFu) << "outside";
}

TEST_F(ProductConversion, TheSampleRadiatorShowsItsConnectionsAsArrowsInKindFourAndNothingOfThemInKindZero) {
  jovDatabase::Database* db = jovDatabase::Database::Open(JOV_CATALOGUE_DIR, 'T');
  ASSERT_NE(db, nullptr);
  ASSERT_EQ(db->GoIndexID("TOR0600-0001"), jovDatabase::eOK);
  jovDatabase::resultResbuf geometry;
  ASSERT_EQ(db->GetItemsDxfB(geometry), jovDatabase::eOK);
  auto red = [](const GlFrame& f) {
    long n = 0;
    for (int y = 0; y < f.height; ++y)
      for (int x = 0; x < f.width; ++x) n += f.Rgb(x, y) == 0xFF0000u;
    return n;
  };
  auto count = [&](const char* cls) {
    long n = 0;
    for (const std::string& line : Content()) n += line.rfind(cls, 0) == 0;
    return n;
  };

  Open(4);
  View().ShowPreview(geometry.head, true);
  ASSERT_EQ(View().Points().GetCount(), 2u);
  for (uint32_t id : {1u, 2u}) {
    EXPECT_NEAR(Point(id)->angle, 1.5 * std::numbers::pi, 1e-12) << "the lines point down";
    EXPECT_EQ(Point(id)->position.y, 0.0);
  }
  EXPECT_DOUBLE_EQ(Point(1)->position.x, 50.0);
  EXPECT_DOUBLE_EQ(Point(2)->position.x, 950.0);
  EXPECT_EQ(count("GLArrow 1"), 2);
  const long lines4 = count("GLLine");
  EXPECT_GT(red(Frame("radiator-kind-4")), 50) << "the arrows are red";

  Open(0);
  View().ShowPreview(geometry.head, true);
  EXPECT_EQ(View().Points().GetCount(), 0u);
  EXPECT_EQ(count("GLArrow"), 0);
  EXPECT_EQ(count("GLSelectPoint"), 0);
  EXPECT_EQ(count("GLLine"), lines4) << "the connection lines are not drawn as lines either";
  EXPECT_EQ(red(Frame("radiator-kind-0")), 0);
  EXPECT_GT(count("GLPolygon"), 0) << "the fill";
  jovDatabase::Database::Close(db);
}

}  // namespace
