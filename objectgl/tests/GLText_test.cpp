// Text styles and text entities: glyph records read as fed, and text in
// Liberation Sans (what "Arial" finds) laid out, measured and rendered.
#include "objectgl/GLText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <random>

#include "GLTestSupport.h"
#include "objectgl/GLTextStyle.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// Native records written by hand, coordinates in font units.
class Records {
 public:
  Records& Polygon(double x, double y, DWORD type = TT_POLYGON_TYPE) {
    header_ = bytes_.size();
    U32(0);
    U32(type);
    Point(x, y);
    Close();
    return *this;
  }
  Records& Curve(WORD type, std::initializer_list<std::pair<double, double>> points) {
    U16(type);
    U16(static_cast<WORD>(points.size()));
    for (const auto& p : points) Point(p.first, p.second);
    Close();
    return *this;
  }
  const std::vector<BYTE>& Bytes() const { return bytes_; }

 private:
  void U16(uint16_t v) { Put(&v, 2); }
  void U32(uint32_t v) { Put(&v, 4); }
  void Point(double x, double y) {
    U32(static_cast<uint32_t>(static_cast<int32_t>(std::lround(x * 65536))));
    U32(static_cast<uint32_t>(static_cast<int32_t>(std::lround(y * 65536))));
  }
  void Put(const void* p, size_t n) {
    bytes_.insert(bytes_.end(), static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n);
  }
  void Close() {
    const uint32_t cb = static_cast<uint32_t>(bytes_.size() - header_);
    std::memcpy(&bytes_[header_], &cb, 4);
  }
  std::vector<BYTE> bytes_;
  size_t header_ = 0;
};

// Answers the records it was given per character; 'x' fails the first
// fetch after a good size answer.
class FedGlyphs : public GlyphSource {
 public:
  bool TextMetrics(const LOGFONTA&, TEXTMETRICA* out) override {
    *out = {};
    out->tmHeight = 10000;
    out->tmExternalLeading = 500;
    return true;
  }
  bool GlyphOutline(const LOGFONTA&, BYTE ch, GLYPHMETRICS* metrics, std::vector<BYTE>* records) override {
    if (ch == 'x' && ++xCalls == 2) return false;
    *metrics = {};
    metrics->gmCellIncX = 5000;
    auto it = glyphs.find(ch);
    *records = it == glyphs.end() ? std::vector<BYTE>{} : it->second;
    return true;
  }
  std::map<BYTE, std::vector<BYTE>> glyphs;
  int xCalls = 0;
};

class ScopedSource {
 public:
  explicit ScopedSource(GlyphSource* source) : previous_(SetGlyphSource(source)) {}
  ~ScopedSource() { SetGlyphSource(previous_); }

 private:
  GlyphSource* previous_;
};

std::vector<GLVector> PointsOf(const GLContour& c) { return {c.GetPoints().begin(), c.GetPoints().end()}; }

TEST(GLTextStyle, FedRecordsParseIntoContours) {
  FedGlyphs fed;
  fed.glyphs['A'] = Records()
                        .Polygon(0, 0)
                        .Curve(TT_PRIM_QSPLINE, {{100, 100}, {200, 0}})
                        .Curve(TT_PRIM_CSPLINE, {{1, 1}, {2, 2}, {3, 3}})
                        .Curve(TT_PRIM_LINE, {{-1.5, -2.25}, {-64, -128}})
                        .Curve(TT_PRIM_QSPLINE, {{-64, 0}, {0, 64}, {64, 0}})
                        .Polygon(5, 5, 25)  // not a polygon header: no contour
                        .Curve(TT_PRIM_LINE, {{6, 6}})
                        .Polygon(10, 10)
                        .Curve(TT_PRIM_LINE, {{20, 10}})
                        .Polygon(0, 0)
                        .Curve(TT_PRIM_QSPLINE, {{64, 64}})  // a lone point, last in the buffer
                        .Bytes();
  ScopedSource scope(&fed);
  GLTextStyle style;
  EXPECT_EQ(style.GetTextMetrics().tmExternalLeading, 500);
  style.LoadGlyph('A');
  const GLArray<GLContour*>* contours = style.GetContours('A');
  ASSERT_NE(contours, nullptr);
  ASSERT_EQ(contours->GetCount(), 3u);
  // Curves in whole units through their midpoints (0 to 200 with the
  // control point at 100 gives 100, then 200); the cubic adds nothing; line
  // points keep their fractions; the start closes the contour.
  const std::vector<GLVector> expected = {{100, 50, 0}, {200, 0, 0}, {-1.5, -2.25, 0}, {-64, -128, 0}, {-56, -24, 0},
                                          {-32, 32, 0}, {8, 40, 0},  {64, 0, 0},       {0, 0, 0}};
  EXPECT_EQ(PointsOf(*(*contours)[0]), expected);
  EXPECT_EQ(PointsOf(*(*contours)[1]), (std::vector<GLVector>{{20, 10, 0}, {10, 10, 0}}));
  // A curve record of one point ends on it (nothing past the record is read).
  const std::vector<GLVector> lone = PointsOf(*(*contours)[2]);
  ASSERT_EQ(lone.size(), 3u);
  EXPECT_EQ(lone[1], GLVector(64, 64, 0));

  // Placed at height 2 and offset: scaled by 2 / 10000, advance likewise.
  GLFacesArray faces;
  double advance = 0;
  const double height = 2.0;
  GLArray<GLContour*> copies;
  EXPECT_EQ(style.GetCharContours(copies, 'A', &advance, GLMatrix(), GLVector(1, 1, 0), &height), 3u);
  EXPECT_DOUBLE_EQ(advance, 1.0);
  EXPECT_NEAR(copies[0]->GetPoints()[1].x, 1.04, 1e-12);
  for (GLContour* c : copies) delete c;
  // A blank glyph: an empty contour list, no faces, still an advance.
  style.GetCharFaces(faces, ' ', &advance, GLMatrix(), GLVector(), &height);
  EXPECT_EQ(faces.GetCount(), 0u);
  ASSERT_NE(style.GetContours(' '), nullptr);
  EXPECT_EQ(style.GetContours(' ')->GetCount(), 0u);
  EXPECT_DOUBLE_EQ(advance, 1.0);
}

TEST(GLTextStyle, AFailedGlyphHasZeroMetricsAndIsReadAgain) {
  FedGlyphs fed;
  fed.glyphs['x'] = Records().Polygon(0, 0).Curve(TT_PRIM_LINE, {{100, 0}, {100, 100}}).Bytes();
  ScopedSource scope(&fed);
  GLTextStyle style;
  GLFacesArray faces;
  double advance = -1;
  const double height = 10000;
  // The size is answered (with metrics), the outline is not.
  style.GetCharFaces(faces, 'x', &advance, GLMatrix(), GLVector(), &height);
  EXPECT_EQ(fed.xCalls, 2);
  EXPECT_EQ(style.GetContours('x'), nullptr);
  ASSERT_NE(style.GetGlyphMetrics('x'), nullptr);
  EXPECT_EQ(style.GetGlyphMetrics('x')->gmCellIncX, 0);
  EXPECT_EQ(advance, 0.0);
  EXPECT_EQ(faces.GetCount(), 0u);
  EXPECT_EQ(style.GetTessellationCount(), 0u);
  // Asked again, it is read.
  style.GetCharFaces(faces, 'x', &advance, GLMatrix(), GLVector(), &height);
  ASSERT_NE(style.GetContours('x'), nullptr);
  EXPECT_EQ(advance, 5000.0);
  EXPECT_GT(faces.GetCount(), 0u);
  EXPECT_EQ(style.GetTessellationCount(), 1u);
}

// A scene with "Arial" as text style 0, looking at (0,0)-(viewWidth,viewHeight).
struct TextScene : gltest::SceneOnWindow {
  TextScene(int w, int h, double vw, double vh) : SceneOnWindow(w, h, vw, vh) {
    style = new GLTextStyle;
    style->SetFaceName("Arial");
    scene.AddTextStyle(style);
  }
  GLText* Add(const char* text, const GLVector& at, double height, double angle = 0.0) {
    auto* t = new GLText(text, 0);
    t->SetStyleIndex(0);
    t->SetHeight(height);
    t->SetPosition(at);
    t->SetAngle(angle);
    scene.AddEntity(t);
    return t;
  }
  GLTextStyle* style = nullptr;
};

std::vector<GLVector> Placed(const GLText& t, uint32_t i) {
  std::vector<GLVector> out;
  if (const GLFacesArray* faces = t.GetCharFaces(i))
    for (const GLFaces* f : *faces) out.insert(out.end(), f->GetPoints().begin(), f->GetPoints().end());
  return out;
}

void ExpectSamePoints(const std::vector<GLVector>& a, const std::vector<GLVector>& b, const char* what) {
  ASSERT_EQ(a.size(), b.size()) << what;
  ASSERT_FALSE(a.empty()) << what;
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_NEAR(a[i].x, b[i].x, 1e-9) << what << " " << i;
    EXPECT_NEAR(a[i].y, b[i].y, 1e-9) << what << " " << i;
  }
}

TEST(GLText, LinesFollowOneAnotherByHeightAndLeading) {
  TextScene s(40, 40, 10, 10);
  ASSERT_TRUE(s.ok);
  const GLVector at(1, 8, 0);
  GLText* text = s.Add("Ab\nc", at, 2.0);
  EXPECT_EQ(text->GetLineCount(), 2u);
  EXPECT_EQ(text->GetCharCount(), 3u);
  double leading = 0;
  const double height = 2.0;
  s.style->GetScaledExternalLeading(&height, &leading);
  EXPECT_NEAR(leading, 293 * 2.0 / 10000, 1e-12);
  // 'c' of the second line is where a "c" alone at x, 2 + leading lower is.
  GLText* alone = s.Add("c", GLVector(at.x, at.y - (2.0 + leading), 0), 2.0);
  ExpectSamePoints(Placed(*text, 2), Placed(*alone, 0), "second line");
  // 'b' follows 'A' by its advance (1366 units, 5970 of 10000).
  GLText* b = s.Add("b", GLVector(at.x + 5970 * 2.0 / 10000, at.y, 0), 2.0);
  ExpectSamePoints(Placed(*text, 1), Placed(*b, 0), "advance");

  // Splitting: a trailing line feed leaves an empty line, no text no lines.
  text->SetText("A\n");
  EXPECT_EQ(text->GetLineCount(), 2u);
  text->SetText("");
  EXPECT_EQ(text->GetLineCount(), 1u);
  text->SetText(nullptr);
  EXPECT_EQ(text->GetLineCount(), 0u);
  EXPECT_FALSE(text->GetExtents().IsValid());
}

TEST(GLText, ExtentsOfTextAndCharacters) {
  GLTextStyle style;
  style.SetFaceName("Arial");
  const double h = 2.5;
  GLExtents b;
  style.GetCharExtents(&h, 'B', &b);
  EXPECT_NEAR(b.Max().y - b.Min().y, 1.5395, 0.001);  // 6158 of 10000
  EXPECT_NEAR(b.Min().y, 0.0, 1e-9);

  auto width = [&](const char* text) {
    GLExtents e;
    style.GetTextExtents(&h, text, &e);
    return e.Max().x - e.Min().x;
  };
  const double space = 2487 * h / 10000;
  EXPECT_DOUBLE_EQ(width(" A"), width("A")) << "a leading space does not widen";
  EXPECT_NEAR(width("A "), width("A") + space, 1e-9) << "a later one does";
  EXPECT_NEAR(width("AA"), 2 * width("A"), 1e-9);
  GLExtents none;
  style.GetTextExtents(&h, "  ", &none);
  EXPECT_FALSE(none.IsValid());
}

TEST(GLText, AnAngleTurnsTheTextAboutItsPosition) {
  TextScene s(40, 40, 10, 10);
  ASSERT_TRUE(s.ok);
  const GLVector at(5, 5, 0);
  GLText* flat = s.Add("AB", at, 1.0);
  GLText* turned = s.Add("AB", at, 1.0, std::numbers::pi / 2);
  EXPECT_EQ(turned->GetPosition(), at);
  for (uint32_t i = 0; i < 2; ++i) {
    std::vector<GLVector> expected = Placed(*flat, i);
    for (GLVector& p : expected) p = GLVector(at.x - (p.y - at.y), at.y + (p.x - at.x), 0);
    ExpectSamePoints(Placed(*turned, i), expected, "turned");
  }
  const GLExtents e = turned->GetExtents();
  EXPECT_LT(e.Max().x, at.x + 1e-9);
  EXPECT_GT(e.Max().y, at.y + 1.0);
}

TEST(GLText, DrawModesPolygonModesAndTheGlyphCache) {
  TextScene s(60, 30, 6, 3);
  ASSERT_TRUE(s.ok);
  s.viewport->MakeCurrent();
  GLText* text = s.Add("AAAA", GLVector(0.2, 0.5, 0), 2.0);
  EXPECT_EQ(s.style->GetTessellationCount(), 1u) << "one glyph, tessellated once";
  GLMatLib& lib = s.scene.GetMatLib();
  EXPECT_TRUE(gltest::Feedback([&] { text->Draw(3, &lib); }).empty());
  EXPECT_FALSE(text->IsHighlighted());
  glPolygonMode(GL_FRONT, GL_LINE);
  glPolygonMode(GL_BACK, GL_POINT);
  const auto fed = gltest::Feedback([&] { text->Draw(0, &lib); });
  ASSERT_FALSE(fed.empty());
  for (const auto& p : fed) ASSERT_EQ(p.token, static_cast<GLenum>(GL_POLYGON_TOKEN));
  GLint modes[2];
  glGetIntegerv(GL_POLYGON_MODE, modes);
  EXPECT_EQ(modes[0], GL_LINE);
  EXPECT_EQ(modes[1], GL_POINT);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  // From the compiled list the second time: the same triangles.
  EXPECT_EQ(gltest::Feedback([&] { text->Draw(1, &lib); }).size(), fed.size());
  s.scene.Render();
  gltest::FrameOf(s.window, "text-aaaa");
}

// Red pixels of a frame.
int Inked(const GlFrame& f) {
  int n = 0;
  for (int y = 0; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x) n += f.Rgb(x, y) == 0xFF0000;
  return n;
}

TEST(GLText, RenderedTextFollowsItsText) {
  TextScene s(120, 60, 12, 6);
  ASSERT_TRUE(s.ok);
  s.scene.SetUseDisplayList(true);
  GLText* text = s.Add(
      "\x9A"
      "1",
      GLVector(1, 1, 0), 4.0);  // "š1"
  s.scene.Render();
  const GlFrame before = gltest::FrameOf(s.window, "text-scaron-one");
  EXPECT_GT(Inked(before), 100);
  // The caron sits above the x-height of the s.
  bool caron = false;
  for (int x = 10; x < 30; ++x) caron = caron || before.Rgb(x, 27) == 0xFF0000;
  EXPECT_TRUE(caron);

  text->SetText("-");
  s.scene.Render();
  const GlFrame after = gltest::FrameOf(s.window, "text-relabelled");
  EXPECT_GT(Inked(after), 0);
  EXPECT_LT(Inked(after), Inked(before) / 3);
  EXPECT_EQ(after.Rgb(20, 27), kWhite);

  // Moved as a whole: the placed glyphs follow, the list is made again.
  GLMatrix right;
  right.SetTranslation(5, 0, 0);
  text->Transform(right);
  s.scene.Render();
  const GlFrame moved = gltest::FrameOf(s.window, "text-moved");
  EXPECT_EQ(Inked(moved), Inked(after));
  EXPECT_EQ(text->GetPosition(), GLVector(6, 1, 0));

  // Picked from its compiled list's triangles.
  s.scene.AddEntity(new GLName(4));
  s.scene.AddEntity(new GLText("X", 0));
  auto* named = static_cast<GLText*>(s.scene.GetEntity(s.scene.GetEntityCount() - 1));
  named->SetHeight(4.0);
  named->SetPosition(GLVector(1, 1, 0));
  s.scene.Render();
  EXPECT_EQ(s.scene.Pick(25, 35), 4);
  EXPECT_EQ(s.scene.Pick(115, 5), -1);
}

// Texts a few pixels small are drawn as the pixels their triangles cover,
// found again when the view or the model matrix moves: the frame is the
// one the triangles draw (the scene's list sends them all). A large text
// keeps its list.
TEST(GLText, SmallTextsDrawnAsTheirPixelsAsTheTrianglesDraw) {
  TextScene s(120, 90, 120, 90);
  ASSERT_TRUE(s.ok);
  std::mt19937 random(3);
  std::uniform_real_distribution<double> x(-5, 120), y(-5, 90), height(0.3, 3.0), angle(0, 6.28);
  std::vector<GLText*> small;
  for (int i = 0; i < 300; ++i) small.push_back(s.Add(i % 3 ? "DN25 Cu 28x1,5" : "W", {x(random), y(random), 0},
                                                      height(random), angle(random)));
  GLText* large = s.Add("Ag", GLVector(10, 30, 0), 30.0);
  GLMatrix shift;
  shift.SetTranslation(0.3, -0.45, 0);
  const struct {
    const char* what;
    GLVector target;
    const GLMatrix* model;
  } rows[] = {{"as made", {60, 45, 0}, nullptr},
              {"panned a third of a pixel", {60.33, 45.1, 0}, nullptr},
              {"the model matrix moved", {60.33, 45.1, 0}, &shift}};
  for (const auto& row : rows) {
    s.camera->SetTarget(row.target);
    s.camera->ComputeView();
    if (row.model) s.scene.SetModelMatrix(*row.model);
    s.scene.SetUseDisplayList(false);
    s.scene.Render();
    const GlFrame dots = gltest::FrameOf(s.window, std::string("small-texts-dots-") + row.what);
    if (&row == &rows[0]) {
      EXPECT_EQ(small[1]->GetDisplayList(), 0u) << "no list compiled for a small text";
    }
    EXPECT_NE(large->GetDisplayList(), 0u) << row.what;
    s.scene.SetUseDisplayList(true);
    s.scene.Render();
    const GlFrame triangles = gltest::FrameOf(s.window, std::string("small-texts-triangles-") + row.what);
    int differ = 0;
    for (int py = 0; py < 90; ++py)
      for (int px = 0; px < 120; ++px) differ += dots.Rgb(px, py) != triangles.Rgb(px, py);
    EXPECT_GT(Inked(triangles), 500) << row.what;
    EXPECT_EQ(differ, 0) << row.what;
  }
}

TEST(GLText, WithoutAStyleOrOwnerThereIsNothingToDraw) {
  GLText loose("A", 0);
  EXPECT_FALSE(loose.GetExtents().IsValid());
  EXPECT_EQ(loose.GetCharFaces(0), nullptr);
  gltest::SceneOnWindow s(10, 10, 10, 10);
  ASSERT_TRUE(s.ok);
  auto* styleless = new GLText("A", 0);
  styleless->SetStyleIndex(3);
  s.scene.AddEntity(styleless);
  EXPECT_FALSE(styleless->GetExtents().IsValid());
  ASSERT_NE(styleless->GetCharFaces(0), nullptr);
  EXPECT_EQ(styleless->GetCharFaces(0)->GetCount(), 0u);
  EXPECT_NO_THROW(s.scene.Render());
}

}  // namespace
