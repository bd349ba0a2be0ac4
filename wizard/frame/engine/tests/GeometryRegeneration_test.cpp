// Formulas of a view and the geometry regenerated from them: stored and
// read back, each entity's rewrite, the rule of lines rewritten together,
// and every sample product regenerating its own drawing.
#include "wizard/frame/engine/GeometryRegeneration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "platform/catalogue/GroupCodeText.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/DefinitionPoints.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ProductFormulas.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/tests/EngineFixture.h"

using engine_test::AddParam;

namespace {

constexpr double kPi = 3.14159265358979323846;

// A chain from "code value" lines; owns it.
struct Chain {
  explicit Chain(const std::string& lines) {
    std::string text;
    std::istringstream in(lines);
    std::string line;
    while (std::getline(in, line)) {
      const size_t blank = line.find(' ');
      text += line.substr(0, blank) + "\n" + line.substr(blank + 1) + "\n";
    }
    std::string error;
    EXPECT_TRUE(jovDatabase::ParseGroupCodeText(text.c_str(), &head, &error)) << error;
  }
  explicit Chain(const resbuf* copyOf) : head(CopyGroupCodeChain(copyOf)) {}
  ~Chain() { FreeGroupCodeChain(head); }
  Chain(const Chain&) = delete;
  Chain& operator=(const Chain&) = delete;

  // The n-th node of the code (0 the first).
  resbuf* Node(int code, int n = 0) const {
    for (resbuf* node = head; node; node = node->next)
      if (node->code == code && n-- == 0) return node;
    return nullptr;
  }
  resbuf* head = nullptr;
};

// Formulas of the point at (x, y).
void Formulas(CSeznam& points, double x, double y, const char* fx, const char* fy, const char* fz = "0") {
  CObjectData* o = nullptr;
  ASSERT_TRUE(FindObjectAtPoint(points, GLVector(x, y, 0), o)) << x << ", " << y;
  o->SetText(0, fx);
  o->SetText(1, fy);
  o->SetText(2, fz);
}

GLVector At(const resbuf* node) { return GLVector(node->value.point); }

}  // namespace

class Regeneration : public engine_test::EngineTest {};

TEST_F(Regeneration, FormulasRoundTripWithTheirBasePoint) {
  UseCatalogue("[catalogue]\ntrade = T\n[item]\nid = TXX0000-0001\n");
  Go("TXX0000-0001");
  Chain chain("0 LINE\n10 0\n20 0\n30 0\n11 100\n21 0\n31 0\n0 CIRCLE\n10 50\n20 50\n30 0\n40 10");
  CObjectSez points;
  ParseProductGeometry(points, chain.head, true);
  ASSERT_EQ(points.GetCount(), 4u);
  Formulas(points, 50, 50, "L/2", "H", "");
  Formulas(points, 60, 50, "L/2+10", "H", "0.00");
  FindObjectByNumber(points, 1)->SetText(1, nullptr);
  for (int base : {2, -1}) {
    for (unsigned view : {0u, 3u}) {
      ASSERT_TRUE(StoreProductFormulas(points, view, base));
      CObjectSez read;
      ParseProductGeometry(read, chain.head, true);
      ASSERT_TRUE(LoadProductFormulas(read, view));
      for (const CObjectData *a = FirstOf<CObjectData>(points), *b = FirstOf<CObjectData>(read); a && b;
           a = NextOf(a), b = NextOf(b)) {
        for (int axis = 0; axis < 3; ++axis) {
          EXPECT_STREQ(b->GetText(axis), a->GetText(axis) ? a->GetText(axis) : "") << a->number << " " << axis;
        }
        EXPECT_EQ((b->flags & PointFlag::kBasePoint) != 0, static_cast<int>(b->number) == base) << b->number;
      }
    }
  }
  qmString stored;
  db->GetParmsParA(stored);
  EXPECT_EQ(std::string(stored.GetString()), "-1\r\n0.00||0.00\r\nL/2|H|\r\nL/2+10|H|0.00\r\n100.00|0.00|0.00\r\n")
      << "a missing formula leaves an empty field";
  EXPECT_TRUE(StoreProductFormulas(points, 4, 1)) << "no such view: nothing written";
  CObjectSez empty;
  EXPECT_FALSE(LoadProductFormulas(empty, 1));
  db->SetParmsParB(qmString("3\n1|2|3\n"));  // LF line ends, and a text shorter than the points
  ASSERT_TRUE(LoadProductFormulas(points, 1));
  EXPECT_STREQ(FindObjectByNumber(points, 1)->GetText(0), "1");
  EXPECT_STREQ(FindObjectByNumber(points, 2)->GetText(0), "L/2") << "beyond the text: kept";
  EXPECT_EQ(GetBasePointNumber(points), 3);
  SetCurrentCatalogue(nullptr);
  EXPECT_FALSE(LoadProductFormulas(points, 1));
  EXPECT_FALSE(StoreProductFormulas(points, 1, 1));
}

TEST_F(Regeneration, EachEntityFollowsItsPoints) {
  Chain chain(
      "0 CIRCLE\n8 0\n10 0\n20 0\n30 0\n40 50\n"                              // rim +30, centre +10
      "0 LINE\n10 0\n20 200\n30 0\n11 77\n21 77\n31 0\n"                      // its end has no point
      "0 TEXT\n10 0\n20 300\n30 0\n1 ct\n"                                    // names CT (status 4)
      "0 TEXT\n10 0\n20 320\n30 0\n1 CS\n"                                    // names CS (status 5)
      "0 ARC\n10 0\n20 500\n30 0\n40 10\n50 0\n51 90\n"                       // scaled by 2 about its centre
      "0 ELLIPSE\n10 0\n20 700\n30 0\n11 40\n21 0\n31 0\n40 0.5\n"            // major to y, minor longer
      "0 SOLID\n10 0\n20 900\n30 0\n11 5\n21 900\n31 0\n12 0\n22 905\n32 0\n13 5\n23 905\n33 0\n"
      "0 LINE\n8 DEFPOINTS\n62 3\n10 0\n20 200\n30 0\n11 9\n21 9\n31 0");     // another colour: untouched
  CObjectSez points;
  ParseProductGeometry(points, chain.head, true);
  Formulas(points, 0, 0, "D", "0");
  Formulas(points, 50, 0, "80", "0");
  Formulas(points, 0, 200, "1", "200");
  Formulas(points, 0, 300, "2", "300");
  Formulas(points, 0, 320, "3", "320");
  Formulas(points, 10, 500, "20", "500");
  Formulas(points, 0, 510, "0", "520");
  Formulas(points, 40, 700, "0", "740");
  Formulas(points, 0, 720, "-30", "700");
  Formulas(points, 5, 905, "6", "906");
  CObjectData* lost = nullptr;
  ASSERT_TRUE(FindObjectAtPoint(points, GLVector(77, 77, 0), lost));
  points.Delete(lost);
  CObjectSez params;
  AddParam(params, {"D", "10", nullptr});
  AddParam(params, {"CT", "VK 22", nullptr, ParamStatus::kFree});
  AddParam(params, {"CS", "no", nullptr, ParamStatus::kFree | ParamStatus::kComputed});
  ASSERT_TRUE(RegenerateProductGeometry(points, params, chain.head));

  EXPECT_EQ(At(chain.Node(10)), GLVector(10, 0, 0));
  EXPECT_DOUBLE_EQ(chain.Node(40)->value.real, 70) << "radius 50 + 20";
  EXPECT_EQ(At(chain.Node(10, 1)), GLVector(1, 200, 0));
  EXPECT_EQ(At(chain.Node(11)), GLVector(77, 77, 0)) << "an end without a point stays";
  EXPECT_STREQ(chain.Node(1)->value.text, "VK 22") << "status 4, names compared without case";
  EXPECT_STREQ(chain.Node(1, 1)->value.text, "CS") << "status 5 is not replaced";
  EXPECT_EQ(At(chain.Node(10, 2)), GLVector(2, 300, 0));
  EXPECT_NEAR(chain.Node(40, 1)->value.real, 20, 1e-9) << "arc radius";
  EXPECT_NEAR(chain.Node(50, 0)->value.real, 0, 1e-9);
  EXPECT_NEAR(chain.Node(51, 0)->value.real, kPi / 2, 1e-9);
  EXPECT_EQ(At(chain.Node(11, 1)), GLVector(0, 40, 0)) << "the major axis turned";
  EXPECT_NEAR(chain.Node(40, 2)->value.real, 0.75, 1e-12) << "minor 30 over major 40";
  EXPECT_EQ(At(chain.Node(13)), GLVector(6, 906, 0));
  EXPECT_EQ(At(chain.Node(10, 7)), GLVector(0, 200, 0)) << "DEFPOINTS of colour 3 is not rewritten";
}

TEST_F(Regeneration, DerivedValuesThatAreNotNumbersKeepTheCatalogues) {
  Chain chain(
      "0 ELLIPSE\n10 0\n20 0\n30 0\n11 40\n21 0\n31 0\n40 0.5\n"
      "0 ARC\n10 100\n20 0\n30 0\n40 10\n50 0\n51 90\n"
      "0 LWPOLYLINE\n10 200\n20 0\n42 0.5\n10 300\n20 0\n"
      "0 LINE\n10 400\n20 0\n30 0\n11 500\n21 0\n31 0");
  CObjectSez points;
  ParseProductGeometry(points, chain.head, true);
  Formulas(points, 500, 0, "exp(710)", "exp(1000)-exp(1000)");  // no number: the catalogue's point stays
  Formulas(points, 40, 0, "0", "0");    // the major end onto the centre: a ratio over 0
  Formulas(points, 110, 0, "100", "0");  // the arc's start onto its centre: no angle
  Formulas(points, 300, 0, "200", "0");  // the polyline's ends together: no bulge
  CObjectSez params;
  RegenerateProductGeometry(points, params, chain.head);
  EXPECT_EQ(chain.Node(40)->value.real, 0.5);
  EXPECT_EQ(chain.Node(40, 1)->value.real, 10);
  EXPECT_EQ(chain.Node(50, 0)->value.real, 0);
  EXPECT_EQ(chain.Node(42)->value.real, 0.5);
  EXPECT_EQ(At(chain.Node(11, 1)), GLVector(500, 0, 0));
  for (resbuf* n = chain.head; n; n = n->next) {
    if (GroupCodeKind(GetGroupCodeClass(n->code)) == GC_KIND_REAL) {
      EXPECT_TRUE(std::isfinite(n->value.real)) << n->code;
    }
  }
}

TEST_F(Regeneration, ArcsKeepTheirSideAsTheyGrow) {
  // Bulges 2 (over 180 degrees), -1 (a clockwise half circle), 1, -0.5 and
  // 0.3, each scaled by S about the origin.
  const double bulges[] = {2.0, -1.0, 1.0, -0.5, 0.3, -3.0};
  for (double bulge : bulges) {
    char text[256];
    std::snprintf(text, sizeof text, "0 LWPOLYLINE\n70 1\n10 10\n20 0\n42 %.17g\n10 30\n20 0\n42 %.17g", bulge, -bulge);
    Chain chain(text);
    CObjectSez points;
    ParseProductGeometry(points, chain.head, true);
    for (CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o)) {
      char fx[64], fy[64];
      std::snprintf(fx, sizeof fx, "%.6f*S", o->point.x);
      std::snprintf(fy, sizeof fy, "%.6f*S", o->point.y);
      o->SetText(0, fx);
      o->SetText(1, fy);
      o->SetText(2, "0");
    }
    for (const char* scale : {"1", "2.5", "0.4"}) {
      Chain copy(chain.head);
      CObjectSez params;
      AddParam(params, {"S", scale, nullptr});
      RegenerateProductGeometry(points, params, copy.head);
      EXPECT_NEAR(copy.Node(42)->value.real, bulge, 1e-6) << bulge << " scaled " << scale;
      EXPECT_NEAR(copy.Node(42, 1)->value.real, -bulge, 1e-6) << "closing arc " << -bulge << " scaled " << scale;
      EXPECT_NEAR(At(copy.Node(10, 1)).x, 30 * std::atof(scale), 1e-6);
    }
  }
}

TEST_F(Regeneration, LinesOfTheRiserRuleFollowTheSpacing) {
  UseSample('T');
  Go("TST0025-0001");
  CObjectSez params;
  ASSERT_TRUE(LoadProductParameters(params));
  jovDatabase::resultResbuf geometry;
  ASSERT_EQ(db->GetItemsDxfB(geometry), 0);
  CObjectSez points;
  ParseProductGeometry(points, geometry.head, true);
  ASSERT_TRUE(LoadProductFormulas(points, 1));
  struct Case {
    const char* spacing;
    GLVector stubEnd;
  };
  const Case cases[] = {{"50", {-26, 1500, 0}},   // away from its old end
                        {"80", {41, 1500, 0}},    // towards it
                        {"60", {-31, 1500, 0}},
                        {"120", {61, 1500, 0}},
                        {"130", {51, 1500, 0}},   // the rule is off: the formula's end
                        {"100", {51, 1500, 0}}};  // the catalogue's own
  for (const Case& c : cases) {
    ASSERT_TRUE(AssignValuesByName(params, {"A"}, {c.spacing}));
    Chain chain(geometry.head);
    RegenerateProductGeometry(points, params, chain.head);
    EXPECT_EQ(At(chain.Node(10, 2)), GLVector(0, 1500, 0)) << c.spacing;
    const GLVector end = At(chain.Node(11, 2));
    EXPECT_NEAR(end.x, c.stubEnd.x, 1e-9) << c.spacing;
    EXPECT_NEAR(end.y, c.stubEnd.y, 1e-9) << c.spacing;
    EXPECT_EQ(At(chain.Node(10, 1)).x, std::atof(c.spacing)) << "the return pipe moves with A";
    EXPECT_EQ(At(chain.Node(11, 5)).x, 120) << "a DEFPOINTS line of colour 3 stays";
  }
}

// Every parametric product of the samples, at its catalogue values, draws
// its catalogue geometry again: points and derived values within the
// formulas' 0.01, every bulge on its side.
TEST_F(Regeneration, EverySampleProductRegeneratesItsOwnGeometry) {
  int views = 0;
  for (char trade : {'T', 'Z', 'V'}) {
    UseSample(trade);
    std::ifstream source(std::string(JOV_SOURCE_DIR) + "/platform/catalogue/data/" + trade + ".cat");
    std::string line;
    while (std::getline(source, line)) {
      if (line.rfind("id = ", 0) != 0) continue;
      const std::string id = line.substr(5);
      Go(id.c_str());
      unsigned status = 0;
      db->GetItemsStatus(status);
      if (!(status & (1u << 27))) continue;
      CObjectSez params;
      ASSERT_TRUE(LoadProductParameters(params)) << id;
      for (unsigned view = 0; view < 4; ++view) {
        if (!(status & (1u << (31 - view)))) continue;
        jovDatabase::resultResbuf geometry;
        ASSERT_EQ(view == 0   ? db->GetItemsDxfA(geometry)
                  : view == 1 ? db->GetItemsDxfB(geometry)
                  : view == 2 ? db->GetItemsDxfC(geometry)
                              : db->GetItemsDxf3D(geometry),
                  0);
        CObjectSez points;
        ParseProductGeometry(points, geometry.head, true);
        ASSERT_TRUE(LoadProductFormulas(points, view)) << id;
        Chain chain(geometry.head);
        ASSERT_TRUE(RegenerateProductGeometry(points, params, chain.head));
        ++views;
        const std::string where = id + " view " + std::to_string(view);
        int replacedTexts = 0;
        for (const resbuf *a = geometry.head, *b = chain.head; a || b; a = a->next, b = b->next) {
          ASSERT_TRUE(a && b) << where << ": the chain keeps its length";
          ASSERT_EQ(a->code, b->code) << where;
          const uint32_t kind = GroupCodeKind(GetGroupCodeClass(a->code));
          if (kind == GC_KIND_POINT) {
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(a->value.point[i], b->value.point[i], 0.01) << where << " " << a->code;
          } else if (kind == GC_KIND_REAL) {
            EXPECT_NEAR(a->value.real, b->value.real, 0.01) << where << " code " << a->code;
            if (a->code == 42) {
              EXPECT_EQ(std::signbit(a->value.real), std::signbit(b->value.real)) << where;
            }
          } else if (kind == GC_KIND_TEXT && std::string(a->value.text) != b->value.text) {
            const CValueParam* named = FindParamByName(params, a->value.text);
            EXPECT_TRUE(named && named->status == ParamStatus::kFree) << where << ": " << a->value.text;
            ++replacedTexts;
          }
        }
        EXPECT_LE(replacedTexts, 1) << where;
      }
    }
  }
  EXPECT_EQ(views, 8) << "the pipes, the radiators' views, the riser and the bend";
}

TEST_F(Regeneration, ASlantedStubIsParallelThroughRounding) {
  // Spacing (3, 7): the stub's direction (6, 14) is parallel, though the
  // cosine of their angle rounds to 1 - 1e-16 (an angle of 1.5e-8).
  UseCatalogue(
      "[catalogue]\ntrade = T\n[item]\nid = TST0001-0001\ntype = 387\nstatus = 0x49000000\ndxfB <<\n"
      "0 LINE\n8 DEFPOINTS\n62 7\n10 3\n20 7\n30 0\n11 3\n21 0\n31 0\n"
      "0 LINE\n8 DEFPOINTS\n62 7\n10 0\n20 0\n30 0\n11 0\n21 -7\n31 0\n"
      "0 LINE\n8 0\n10 100\n20 0\n30 0\n11 94\n21 -14\n31 0\n>>\n");
  Go("TST0001-0001");
  jovDatabase::resultResbuf geometry;
  ASSERT_EQ(db->GetItemsDxfB(geometry), 0);
  CObjectSez points, params;
  ParseProductGeometry(points, geometry.head, true);
  Chain chain(geometry.head);
  RegenerateProductGeometry(points, params, chain.head);
  const double d = std::sqrt(58.0);
  const GLVector end = At(chain.Node(11, 2));
  EXPECT_NEAR(end.x, 100 + 6 / std::sqrt(232.0) * (d / 2 + 1), 1e-9);
  EXPECT_NEAR(end.y, 14 / std::sqrt(232.0) * (d / 2 + 1), 1e-9);
}
