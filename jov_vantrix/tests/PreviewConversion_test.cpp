// Host entity chains into the drawing preview: what each kind of entity
// makes (class and colour), what is left out, where it lands, and how the
// preview shows it on each background, read back from real rendering.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dataformat/tests/ChainFixtures.h"
#include "jov_vantrix/tests/PreviewFixture.h"
#include "jov_vantrix/tests/RecordingHost.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLText.h"

namespace {

using preview_tests::kHeight;
using preview_tests::kWidth;

std::vector<std::string> Described(const CPtrArray& created) {
  std::vector<std::string> out;
  for (int i = 0; i < created.GetSize(); ++i) {
    auto* e = static_cast<GLEntity*>(created.GetAt(i));
    std::string line = std::string(e->GetClass()->GetName()) + " " + std::to_string(e->GetMaterial());
    if (auto* text = GLDynamicCast<GLText>(e)) line += " \"" + text->GetLine(0) + "\"";
    out.push_back(line);
  }
  return out;
}

TestChain& Line(TestChain& c, const char* layer, double x1, double y1, double x2, double y2) {
  return c.Text(0, "LINE").Text(8, layer).Point(10, x1, y1, 0).Point(11, x2, y2, 0);
}

// A polyline through the points, each vertex bulged by `bulge` (0: none).
TestChain& Polyline(TestChain& c, const std::vector<GLVector>& points, bool closed, double bulge) {
  c.Text(0, "LWPOLYLINE").Text(8, "0").I32(90, static_cast<int32_t>(points.size())).I16(70, closed ? 1 : 0);
  for (const GLVector& p : points) {
    c.Point(10, p.x, p.y, 0);
    if (bulge != 0.0) c.Real(42, bulge);
  }
  return c;
}

struct Case {
  const char* what;
  std::function<void(TestChain&)> entities;
  uint32_t colour;
  bool inUcs;
  uint32_t background;
  std::vector<std::string> made;
};

class PreviewConversion : public preview_tests::PreviewTest {};

TEST_F(PreviewConversion, EachEntityMakesWhatItsRulesSay) {
  const std::vector<GLVector> square = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
  const std::vector<Case> cases = {
      {"a zero-length line adds nothing", [](TestChain& c) { Line(c, "0", 5, 5, 5, 5); }, 3, false, 0, {}},
      {"DEFPOINTS in any case adds nothing",
       [](TestChain& c) {
         Line(c, "Defpoints", 0, 0, 1, 1);
         c.Text(0, "CIRCLE").Text(8, "DEFPOINTS").Point(10, 0, 0, 0).Real(40, 2.0);
         c.Text(0, "TEXT").Text(8, "defpoints").Point(10, 0, 0, 0).Real(40, 1.0).Text(1, "A");
         c.Text(0, "LWPOLYLINE").Text(8, "DEFPOINTS").I16(70, 1).Point(10, 0, 0, 0).Point(10, 1, 0, 0);
       },
       3, false, 0, {}},
      {"colour by block (62 = 0) gives 7, any other 62 the caller's colour",
       [](TestChain& c) {
         Line(c, "0", 0, 0, 1, 1).I16(62, 0);
         Line(c, "0", 0, 0, 1, 2).I16(62, 1);
       },
       3, false, 0, {"GLLine 7", "GLLine 3"}},
      {"the caller's 255 is kept",
       [](TestChain& c) { Line(c, "0", 0, 0, 1, 1); }, 255, false, 0, {"GLLine 255"}},
      {"0 becomes 7", [](TestChain& c) { Line(c, "0", 0, 0, 1, 1); }, 0, false, 0, {"GLLine 7"}},
      {"256 becomes 7", [](TestChain& c) { Line(c, "0", 0, 0, 1, 1); }, 256, false, 0, {"GLLine 7"}},
      {"7 becomes 0 on white",
       [](TestChain& c) {
         Line(c, "0", 0, 0, 1, 1);
         c.Text(0, "CIRCLE").Text(8, "0").Point(10, 0, 0, 0).Real(40, 2.0).I16(62, 0);
       },
       7, false, 1, {"GLLine 0", "GLCircle 0"}},
      {"an empty text shows ?",
       [](TestChain& c) { c.Text(0, "TEXT").Text(8, "0").Point(10, 1, 1, 0).Real(40, 2.0).Text(1, ""); }, 2, false, 0,
       {"GLText 2 \"?\""}},
      {"with inUcs a text is left out",
       [](TestChain& c) {
         c.Text(0, "TEXT").Text(8, "0").Point(10, 1, 1, 0).Real(40, 2.0).Text(1, "12");
         c.Text(0, "ARC").Text(8, "0").Point(10, 0, 0, 0).Real(40, 2.0).Real(50, 0.0).Real(51, 1.0);
       },
       4, true, 0, {"GLArc 4"}},
      {"a closed polyline bulged at every vertex: an arc per vertex",
       [&](TestChain& c) { Polyline(c, square, true, 0.5); }, 5, false, 0,
       {"GLArc 5", "GLArc 5", "GLArc 5", "GLArc 5"}},
      {"an open one: one arc fewer", [&](TestChain& c) { Polyline(c, square, false, 0.5); }, 5, false, 0,
       {"GLArc 5", "GLArc 5", "GLArc 5"}},
      {"coincident vertices and a closing segment onto the first make nothing",
       [](TestChain& c) { Polyline(c, {{0, 0, 0}, {0, 0, 0}, {4, 0, 0}, {0, 0, 0}}, true, 1.0); }, 5, false, 0,
       {"GLArc 5", "GLArc 5"}},
      {"an unknown entity is passed over whole, the next converted",
       [](TestChain& c) {
         c.Text(0, "INSERT").Text(8, "0").Text(2, "VALVE").Point(10, 0, 0, 0);
         c.Text(0, "CIRCLE").Text(8, "0").Point(10, 0, 0, 0).Real(40, 2.0);
       },
       6, false, 0, {"GLCircle 6"}},
  };
  preview_tests::PreviewView& view = Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    view.SetBackground(c.background, false);
    view.ClearScene(false);
    TestChain chain;
    c.entities(chain);
    resbuf* cursor = chain.Head();
    CPtrArray created;
    view.AddEntityChain(&cursor, nullptr, nullptr, 9, &created, c.colour, c.inUcs);
    EXPECT_EQ(cursor, nullptr) << "the whole chain is read";
    EXPECT_EQ(Described(created), c.made);
    // Every entity made comes after a name marker of its own.
    GLScene* scene = view.GetScene();
    ASSERT_EQ(scene->GetEntityCount(), 2u * created.GetSize());
    for (uint32_t i = 0; i < scene->GetEntityCount(); i += 2) {
      auto* name = GLDynamicCast<GLName>(scene->GetEntity(i));
      ASSERT_NE(name, nullptr);
      EXPECT_EQ(name->GetId(), 9u);
      EXPECT_EQ(scene->GetEntity(i + 1), created.GetAt(static_cast<int>(i / 2)));
    }
  }
}

TEST_F(PreviewConversion, WorldPointsGoToTheUserSystemUnlessTheChainIsThere) {
  RecordingHost host;  // the user system lies 100 to the left of the world's
  preview_tests::PreviewView& view = Open();
  for (bool inUcs : {false, true}) {
    view.ClearScene(false);
    TestChain chain;
    Line(chain, "0", 150, 0, 160, 5);
    chain.Text(0, "TEXT").Text(8, "0").Point(10, 150, 0, 0).Real(40, 2.0).Text(1, "7");
    resbuf* cursor = chain.Head();
    CPtrArray created;
    view.lineWidth = 2.0f;
    view.AddEntityChain(&cursor, nullptr, nullptr, 0, &created, 7, inUcs);
    ASSERT_EQ(created.GetSize(), inUcs ? 1 : 2);
    auto* line = static_cast<GLEntity*>(created.GetAt(0));
    const GLExtents box = line->GetExtents();
    EXPECT_DOUBLE_EQ(box.Min().x, inUcs ? 150.0 : 50.0);
    EXPECT_DOUBLE_EQ(box.Max().x, inUcs ? 160.0 : 60.0);
    EXPECT_EQ(line->GetLineWidth(), 2.0f) << "the view's width at the time";
    EXPECT_EQ(view.GetScene()->GetEntityCount(), created.GetSize()) << "name 0: no markers";
    if (!inUcs) {
      auto* label = static_cast<GLText*>(created.GetAt(1));
      EXPECT_DOUBLE_EQ(label->GetPosition().x, 50.0);
      EXPECT_NE(label->GetHeight(), 2.0) << "rescaled so that a capital B is 2 high";
    }
  }
}

// A record's chain (one entity and its extended data) makes what the
// entity alone makes, the data unread: its point goes nowhere.
TEST_F(PreviewConversion, ARecordsEntityMakesWhatTheEntityAloneMakes) {
  const std::vector<std::function<void(TestChain&)>> entities = {
      [](TestChain& c) { Line(c.Text(8, "before the type"), "0", 150, 0, 160, 5); },
      [](TestChain& c) { c.Text(0, "CIRCLE").Text(8, "0").Point(10, 1, 1, 0).Real(40, 2.0); },
      [](TestChain& c) { Polyline(c, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, true, 0.5); },
      [](TestChain& c) { c.Text(0, "TEXT").Text(8, "0").Point(10, 150, 0, 0).Real(40, 2.0).Text(1, "7"); },
  };
  RecordingHost host;
  preview_tests::PreviewView& view = Open();
  auto made = [&](resbuf* chain, bool record) {
    view.ClearScene(false);
    CPtrArray created;
    record ? view.AddRecordEntity(chain, 9, &created, 3) : view.AddEntityChain(&chain, nullptr, nullptr, 9, &created, 3, false);
    std::vector<std::string> out = Described(created);
    for (int i = 0; i < created.GetSize(); ++i)
      out.push_back(std::to_string(static_cast<GLEntity*>(created.GetAt(i))->GetExtents().Max().x));
    return out;
  };
  for (size_t i = 0; i < entities.size(); ++i) {
    TestChain alone, record;
    entities[i](alone);
    entities[i](record);
    record.I16(-3, 0).Text(1001, "JOV_DATA").Point(1010, 999, 999, 0).Point(10, 999, 999, 0);
    EXPECT_EQ(made(record.Head(), true), made(alone.Head(), false)) << i;
  }
}

TEST_F(PreviewConversion, TransformsApplyTheSecondMatrixFirst) {
  preview_tests::PreviewView& view = Open();
  GLMatrix scale, move;
  scale.SetScale(2.0);
  move.SetTranslation(10.0, 0.0, 0.0);
  GLEntity* line = nullptr;
  ASSERT_TRUE(view.AddLine(&line, GLVector(1, 0, 0), GLVector(2, 0, 0), &move, &scale, 1, 0));
  // Scaled first (2..4), then moved (12..14); the other way round would be 22..24.
  EXPECT_DOUBLE_EQ(line->GetExtents().Min().x, 12.0);
  EXPECT_DOUBLE_EQ(line->GetExtents().Max().x, 14.0);
}

// The three backgrounds and the default colour on each, as painted.
TEST_F(PreviewConversion, BackgroundsAndTheDefaultColourAsPainted) {
  struct Scheme {
    uint32_t scheme;
    uint32_t background;  // 0xRRGGBB
    uint32_t line;
  };
  const Scheme schemes[] = {{0, 0x000000, 0xFFFFFF}, {1, 0xFFFFFF, 0x000000}, {2, 0xC0C0C0, 0xFFFFFF}};
  preview_tests::PreviewView& view = Open();
  for (const Scheme& s : schemes) {
    SCOPED_TRACE(s.scheme);
    view.SetBackground(s.scheme, false);
    view.ClearScene(false);
    TestChain plain, red;
    Line(plain, "0", 100.5, 20, 100.5, 280);
    Line(red, "0", 50, 200.5, 350, 200.5);
    view.lineWidth = 1.0f;
    resbuf* cursor = plain.Head();
    view.AddEntityChain(&cursor, nullptr, nullptr, 0, nullptr, 7, true);
    cursor = red.Head();
    view.AddEntityChain(&cursor, nullptr, nullptr, 0, nullptr, 1, true);
    OnePixelPerUnit();
    const GlFrame f = Frame("background-" + std::to_string(s.scheme));
    ASSERT_EQ(f.width, kWidth);
    ASSERT_EQ(f.height, kHeight);
    EXPECT_EQ(f.Rgb(20, 20), s.background);
    EXPECT_EQ(f.Rgb(100, 150), s.line) << std::hex << f.Rgb(100, 150);
    EXPECT_EQ(f.Rgb(300, kHeight - 201), 0xFF0000u) << std::hex << f.Rgb(300, kHeight - 201);
  }
}

}  // namespace
