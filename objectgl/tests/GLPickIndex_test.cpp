// The indexed pick against the scene's full selection on random scenes:
// every answer the same, in every render mode, after the view and the
// content change.
#include "objectgl/GLPickIndex.h"

#include <gtest/gtest.h>

#include <random>

#include "GLTestSupport.h"
#include "objectgl/GLArc.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLSelectPoint.h"
#include "objectgl/GLText.h"
#include "objectgl/GLTextStyle.h"

namespace {

constexpr int kWidth = 120, kHeight = 90;

// Lines of several widths, circles, arcs, texts and a marker sized in
// pixels, under names drawn from a few ids (repeated, above any limit, and
// none at the start), some hidden, some under a moved matrix; all of it
// moved by `offset`.
void FillRandomly(GLScene& scene, std::mt19937& random, const GLVector& offset = GLVector()) {
  std::uniform_real_distribution<double> near(-15.0, 135.0), size(0.5, 12.0), angle(0.0, 6.28);
  auto point = [&](std::mt19937& r) {
    const double x = near(r), y = near(r);
    return GLVector(x, y, 0) + offset;
  };
  std::uniform_int_distribution<int> kind(0, 9), id(1, 12), width(1, 7);
  auto* style = new GLTextStyle;
  style->SetFaceName("Arial");
  scene.AddTextStyle(style);
  for (int i = 0; i < 120; ++i) {
    const int k = kind(random);
    GLEntity* e = nullptr;
    if (k == 0 && i > 5) {
      e = new GLName(id(random) == 12 ? 20000u : static_cast<uint32_t>(id(random)));
    } else if (k <= 4) {
      const GLVector a = point(random);
      e = new GLLine(a, a + GLVector(size(random) - 6, size(random) - 6, 0), 0);
    } else if (k == 5) {
      const double r = size(random);
      e = new GLCircle(point(random), GLAxisZ, &r, 1, 16);
    } else if (k == 6) {
      const double r = size(random), a0 = angle(random), a1 = angle(random);
      e = new GLArc(point(random), &r, &a0, &a1, 0, 12);
    } else if (k == 7) {
      auto* t = new GLText(i % 2 ? "W1" : "x", 0);
      t->SetStyleIndex(0);
      t->SetHeight(size(random));
      t->SetPosition(point(random));
      t->SetAngle(angle(random));
      e = t;
    } else if (k == 8 && i % 4 == 0) {
      const double px = 6;
      e = new GLSelectPoint(point(random), 0, &px, 1, GLAxisX, GLAxisY, GLAxisZ);
    } else {
      GLMatrix m;
      m.SetTranslation(size(random), -size(random), 0);
      scene.AddEntity(new GLPushMatrix(m));
      const GLVector a = point(random);
      scene.AddEntity(new GLLine(a, a + GLVector(3, 9, 0), 1));
      e = new GLPopMatrix;
    }
    e->SetLineWidth(static_cast<float>(width(random)));
    if (i % 17 == 3) e->SetHidden(true);
    scene.AddEntity(e);
  }
}

// Both answers at every seventh pixel from `first` (beyond the window's
// edge too), for the hover's two square sizes; how many picks sent
// selection no more than a few entities.
int ExpectSameAnswers(GLScene& scene, GLPickIndex& index, int first, const char* what) {
  int few = 0, hits = 0;
  for (int y = first - 7; y < kHeight + 7; y += 7)
    for (int x = first - 7; x < kWidth + 7; x += 7)
      for (double size : {5.0, 15.0}) {
        const int32_t full = scene.Pick(x, y, size);
        const int32_t indexed = index.Pick(scene, x, y, size);
        EXPECT_EQ(indexed, full) << what << " at " << x << "," << y << " size " << size;
        if (index.LastCandidateCount() <= 8) ++few;
        if (full != -1) ++hits;
      }
  EXPECT_GT(hits, 10) << what;
  return few;
}

TEST(GLPickIndex, AnswersAsTheFullSelectionOnRandomScenes) {
  for (unsigned seed : {1u, 2u}) {
    gltest::SceneOnWindow s(kWidth, kHeight, kWidth, kHeight);
    ASSERT_TRUE(s.ok);
    std::mt19937 random(seed);
    FillRandomly(s.scene, random);
    s.scene.Render();
    GLPickIndex index;
    for (uint32_t mode : {0u, 1u, 2u, 3u}) {
      s.scene.SetRenderMode(mode);
      EXPECT_GT(ExpectSameAnswers(s.scene, index, static_cast<int>(seed + mode), "as made"), 0)
          << "the index always sent selection many entities";
    }
    s.scene.SetRenderMode(0);

    // Other views: panned and zoomed in, zoomed out (texts a pixel or two,
    // many entities under a square), then in perspective.
    s.camera->SetTarget(GLVector(60, 40, 0));
    s.camera->SetViewSize(90, 90);
    s.camera->ComputeView();
    s.scene.Render();
    ExpectSameAnswers(s.scene, index, 3, "zoomed");
    s.camera->SetViewSize(400, 400);
    s.camera->ComputeView();
    s.scene.Render();
    ExpectSameAnswers(s.scene, index, 2, "zoomed out");
    s.camera->SetViewSize(90, 90);
    s.camera->SetPerspective(true);
    s.camera->SetDistance(150);
    s.camera->SetFar(1000);
    s.scene.Render();
    ExpectSameAnswers(s.scene, index, 4, "in perspective");
    s.camera->SetPerspective(false);
    s.camera->SetDistance(10);
    s.camera->SetFar(100);

    // Other content: names hidden and shown, an entity moved and widened,
    // the drawing shifted, more added.
    for (uint32_t i = 0; i < s.scene.GetEntityCount(); i += 7) {
      GLEntity* e = s.scene.GetEntity(i);
      e->SetHidden(!e->IsHidden());
    }
    GLMatrix shift;
    shift.SetTranslation(7, 3, 0);
    s.scene.GetEntity(10)->Transform(shift);
    s.scene.GetEntity(11)->SetHighlightLineWidth(12);
    s.scene.GetEntity(11)->SetHighlighted(true);
    s.scene.SetModelMatrix(shift);
    FillRandomly(s.scene, random);
    s.scene.Render();
    ExpectSameAnswers(s.scene, index, 5, "changed");
  }
}

// A drawing at national-grid coordinates (in millimetres) once fitted draws
// and picks as the same drawing at the origin, and the index agrees there;
// so again when more came and it was fitted again (what was drawn before
// moves with the fit), against the whole at the origin fitted once.
TEST(GLPickIndex, FarFromTheOriginAsAtIt) {
  const GLVector far(-7.4e8, -1.04e9, 0), beside(60, 30, 0);
  gltest::SceneOnWindow there(kWidth, kHeight, kWidth, kHeight);
  ASSERT_TRUE(there.ok);
  std::mt19937 b(5);
  FillRandomly(there.scene, b, far);
  GLPickIndex index;
  for (const char* fit : {"first fit", "second fit"}) {
    gltest::SceneOnWindow here(kWidth, kHeight, kWidth, kHeight);
    ASSERT_TRUE(here.ok);
    std::mt19937 a(5), c(9);
    FillRandomly(here.scene, a);
    if (fit[0] == 's') FillRandomly(here.scene, c, beside);
    const double factor = 1.1;
    for (gltest::SceneOnWindow* s : {&here, &there}) {
      s->scene.ZoomExtents(&factor);
      s->scene.Render();
    }
    const GlFrame seenHere = gltest::FrameOf(here.window, std::string("far-at-origin-") + fit);
    const GlFrame seenThere = gltest::FrameOf(there.window, std::string("far-at-grid-") + fit);
    int differ = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) differ += seenHere.Rgb(x, y) != seenThere.Rgb(x, y);
    EXPECT_LE(differ, 3) << fit;
    int hits = 0;
    for (int y = 1; y < kHeight; y += 4)
      for (int x = 2; x < kWidth; x += 4) {
        const int32_t full = here.scene.Pick(x, y);
        EXPECT_EQ(there.scene.Pick(x, y), full) << fit << " at " << x << "," << y;
        hits += full != -1;
      }
    EXPECT_GT(hits, 20) << fit;
    ExpectSameAnswers(there.scene, index, 2, fit);
    std::mt19937 d(9);
    FillRandomly(there.scene, d, far + beside);
  }
}

TEST(GLPickIndex, AScenePoppingWhatItNeverPushedIsPickedInFull) {
  gltest::SceneOnWindow s(kWidth, kHeight, kWidth, kHeight);
  ASSERT_TRUE(s.ok);
  s.scene.AddEntity(new GLName(3));
  s.scene.AddEntity(new GLLine(GLVector(10, 10, 0), GLVector(100, 10, 0), 0));
  s.scene.AddEntity(new GLPopMatrix);
  s.scene.AddEntity(new GLLine(GLVector(10, 50, 0), GLVector(100, 50, 0), 0));
  GLPickIndex index;
  EXPECT_EQ(index.Pick(s.scene, 50, kHeight - 10), s.scene.Pick(50, kHeight - 10));
  EXPECT_EQ(index.LastCandidateCount(), s.scene.GetEntityCount());
}

TEST(GLPickIndex, FarCoordinatesAndHugeSquaresFallInTheBorderCells) {
  // Window coordinates far past int's range, of an entity and of a pick.
  gltest::SceneOnWindow s(kWidth, kHeight, kWidth, kHeight);
  ASSERT_TRUE(s.ok);
  s.scene.AddEntity(new GLName(1));
  s.scene.AddEntity(new GLLine(GLVector(10, 10, 0), GLVector(1e15, 10, 0), 0));
  s.scene.AddEntity(new GLName(2));
  s.scene.AddEntity(new GLLine(GLVector(-1e14, 50, 0), GLVector(-1e14, 60, 0), 0));
  GLPickIndex index;
  for (const auto& [x, size] : {std::pair{50, 5.0}, std::pair{50, 1e12}, std::pair{-2000000000, 5.0}})
    EXPECT_EQ(index.Pick(s.scene, x, kHeight - 10, size), s.scene.Pick(x, kHeight - 10, size)) << x << " " << size;
}

}  // namespace
