// Scenes rendered off-screen and read back.
#include "objectgl/GLScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "GLTestSupport.h"
#include "objectgl/GLException.h"
#include "objectgl/GLFace4.h"
#include "objectgl/GLLight.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLText.h"
#include "objectgl/GLTextStyle.h"

namespace {

using gltest::SceneOnWindow;
using gltest::TestLine;

constexpr uint32_t kRed = 0xFF0000, kWhite = 0xFFFFFF;

TEST(GLSceneRender, ALineReadsInItsMaterialOnTheBackground) {
  SceneOnWindow s(200, 100, 200, 100);
  ASSERT_TRUE(s.ok);
  s.scene.AddEntity(new TestLine(GLVector(0, 50, 0), GLVector(200, 50, 0), 0));
  auto* green = new TestLine(GLVector(100, 0, 0), GLVector(100, 100, 0), 1);
  s.scene.AddEntity(green);
  s.scene.Render();
  GlFrame f = gltest::FrameOf(s.window, "red_line");
  ASSERT_EQ(f.width, 200);
  ASSERT_EQ(f.height, 100);
  EXPECT_EQ(f.Rgb(50, 49) == kRed || f.Rgb(50, 50) == kRed, true) << std::hex << f.Rgb(50, 49);
  EXPECT_EQ(f.Rgb(50, 20), kWhite);
  EXPECT_EQ(f.Rgb(100, 20) == 0x00FF00 || f.Rgb(99, 20) == 0x00FF00, true);

  // Hidden and inactive entities are not drawn.
  green->SetHidden(true);
  s.scene.Render();
  f = gltest::FrameOf(s.window, "hidden_line");
  EXPECT_EQ(f.Rgb(100, 20) == kWhite && f.Rgb(99, 20) == kWhite, true);
  EXPECT_EQ(green->draws, 1);
}

TEST(GLSceneRender, AFaceAfterAWideLineAndALabelIsOutlinedAtTheDefaultWidth) {
  // In render mode 0 a face is outlined with whatever line width and
  // polygon mode are set: those a line and a text before it set are put
  // back first.
  SceneOnWindow s(100, 100, 100, 100);
  ASSERT_TRUE(s.ok);
  auto* style = new GLTextStyle;
  style->SetFaceName("Arial");
  s.scene.AddTextStyle(style);
  auto* wide = new GLLine(GLVector(0, 92, 0), GLVector(100, 92, 0), 1);
  wide->SetLineWidth(9);
  s.scene.AddEntity(wide);
  auto* label = new GLText("x", 1);
  label->SetHeight(5.0);
  label->SetPosition(GLVector(2, 2, 0));
  s.scene.AddEntity(label);
  s.scene.AddEntity(new GLFace4(GLVector(20.5, 20.5, 0), GLVector(80.5, 20.5, 0), GLVector(80.5, 70.5, 0),
                                GLVector(20.5, 70.5, 0), 0));
  s.scene.Render();
  const GlFrame f = gltest::FrameOf(s.window, "face_after_wide_line");
  EXPECT_EQ(f.Rgb(50, 11), 0x00FF00u) << "the wide line, 3 pixels off its middle (row 8)";
  EXPECT_EQ(f.Rgb(20, 55), kRed) << "the face's left edge";
  EXPECT_EQ(f.Rgb(23, 55), kWhite) << "one pixel wide";
  EXPECT_EQ(f.Rgb(50, 55), kWhite) << "outlined, not filled";
  GLfloat width = 0;
  glGetFloatv(GL_LINE_WIDTH, &width);
  EXPECT_EQ(width, 1.0f) << "the pass put the width back";
}

TEST(GLSceneRender, AMaterialIndexBeyondTheLibraryDrawsTheDefault) {
  SceneOnWindow s(20, 10, 20, 10);
  ASSERT_TRUE(s.ok);
  s.scene.AddEntity(new TestLine(GLVector(0, 5, 0), GLVector(20, 5, 0), 300));
  s.scene.AddEntity(new TestLine(GLVector(0, 2, 0), GLVector(20, 2, 0), 2));  // at the count
  EXPECT_NO_THROW(s.scene.Render());
  GlFrame f = gltest::FrameOf(s.window, "default_material");
  const uint32_t grey = 0xCCCCCC;  // 0.8
  EXPECT_EQ(f.Rgb(10, 4) == grey || f.Rgb(10, 5) == grey, true) << std::hex << f.Rgb(10, 4);
  EXPECT_EQ(f.Rgb(10, 7) == grey || f.Rgb(10, 8) == grey, true);

  GLMatLib empty;
  empty.SetCurrent(0);
  EXPECT_NO_THROW(empty.ApplyColor());
  EXPECT_NO_THROW(empty.ApplyMaterial(GL_FRONT));
  EXPECT_NO_THROW(empty.ApplyLight(0));
}

TEST(GLSceneRender, NothingIsDrawnWithoutCameraOrViewport) {
  GLScene scene;
  auto* line = new TestLine(GLVector(), GLVector(1, 1, 0));
  scene.AddEntity(line);
  scene.Render();
  EXPECT_EQ(scene.Pick(1, 1), -1);
  EXPECT_EQ(line->draws, 0);
  EXPECT_THROW(scene.GetCurrentCamera(), GLException);
  EXPECT_EQ(scene.GetCurrentViewport(), nullptr);
  EXPECT_EQ(scene.GetUnitsPerPixel(), 1.0);
}

TEST(GLSceneRender, DrawStepDeadlineAndDisplayLists) {
  SceneOnWindow s(20, 20, 20, 20);
  ASSERT_TRUE(s.ok);
  std::vector<TestLine*> lines;
  for (int i = 0; i < 10; ++i) {
    lines.push_back(new TestLine(GLVector(i, 0, 0), GLVector(i, 20, 0)));
    s.scene.AddEntity(lines.back());
  }
  auto drawn = [&] {
    std::vector<int> out;
    for (int i = 0; i < 10; ++i)
      if (lines[i]->draws) out.push_back(i);
    for (auto* l : lines) l->draws = 0;
    return out;
  };
  s.scene.SetDrawStep(3);
  s.scene.SetDrawStep(0);
  EXPECT_EQ(s.scene.GetDrawStep(), 3u);
  s.scene.Render();
  EXPECT_EQ(drawn(), (std::vector<int>{0, 3, 6, 9}));

  // A deadline already past: the first entity of each pass only.
  s.scene.SetDrawStep(1);
  static uint32_t now = 1000;
  GLSetDeadlineClock([] { return now; });
  s.scene.SetDeadline(999);
  s.scene.SetRenderMode(2);  // two passes
  s.scene.Render();
  EXPECT_EQ(lines[0]->draws, 2);
  EXPECT_EQ(drawn(), (std::vector<int>{0}));
  s.scene.SetRenderMode(0);

  // A compile ignores the deadline, then replays without drawing again.
  s.scene.SetUseDisplayList(true);
  s.scene.Render();
  EXPECT_EQ(drawn().size(), 10u) << "compiled whole";
  EXPECT_TRUE(s.scene.IsDisplayListValid());
  s.scene.SetDeadline(GLScene::kNoDeadline);
  GLSetDeadlineClock(nullptr);
  s.scene.Render();
  EXPECT_EQ(drawn().size(), 0u) << "replayed";
  GlFrame f = gltest::FrameOf(s.window, "display_list_replay");
  EXPECT_EQ(f.Rgb(9, 10) == kRed || f.Rgb(8, 10) == kRed, true);

  // Whatever changes what the list holds makes the next render compile.
  const std::function<void()> changes[] = {
      [&] { s.scene.AddEntity(new TestLine(GLVector(), GLVector(1, 1, 0))); },
      [&] { lines[2]->SetHighlighted(true); },
      [&] { lines[2]->SetHidden(false); },
      [&] { lines[3]->SetInactive(true); },
      [&] { s.scene.SetDrawStep(2); },
      [&] { s.scene.SetGroupMaterial(1, 1); },
      [&] { s.scene.SetModelMatrix(GLMatrix()); },
      [&] { s.scene.SetRenderMode(1); },
      [&] { s.scene.HighlightGroup(5, true, true); },
  };
  for (size_t i = 0; i < std::size(changes); ++i) {
    changes[i]();
    EXPECT_FALSE(s.scene.IsDisplayListValid()) << "change " << i;
    s.scene.Render();
    EXPECT_TRUE(s.scene.IsDisplayListValid());
    drawn();
  }
}

// A GLLine drawn by itself, as a pass drew every line before lines went in
// runs.
class LoneLine : public GLEntity {
 public:
  explicit LoneLine(GLLine* line) : line_(line) {}
  GLObject* SetOwner(GLObject* owner) override { return line_->SetOwner(owner), GLEntity::SetOwner(owner); }
  void Draw(uint32_t mode, GLMatLib* materials) override {
    if (line_->IsVisible()) line_->Draw(mode, materials);
  }
  GLExtents GetExtents() const override { return line_->GetExtents(); }
  void SetMaterial(uint32_t) override {}
  uint32_t GetMaterial() const override { return 0; }
  std::unique_ptr<GLLine> line_;
};

TEST(GLSceneRender, LinesInRunsDrawTheSamePixelsAsLinesDrawnAlone) {
  // Widths, two-coloured ends, highlighted and hidden lines, names and a
  // text among them, in each render mode and through a display list; the
  // runs' lines made in the scene's room.
  SceneOnWindow runs(160, 120, 160, 120), alone(160, 120, 160, 120);
  ASSERT_TRUE(runs.ok && alone.ok);
  const float widths[] = {1.0f, 1.0f, 2.0f, 0.5f, 3.0f};
  for (SceneOnWindow* s : {&runs, &alone}) {
    auto* style = new GLTextStyle;
    style->SetFaceName("Arial");
    s->scene.AddTextStyle(style);
    for (int i = 0; i < 400; ++i) {
      if (i % 7 == 0) s->scene.AddEntity(s->scene.MakeEntity<GLName>(static_cast<uint32_t>(i)));
      if (i == 200) {
        auto* label = new GLText("Ab", 1);
        label->SetHeight(12.0);
        label->SetPosition(GLVector(20, 20, 0));
        s->scene.AddEntity(label);
      }
      const GLVector a((i * 37) % 160, (i * 53) % 120, 0), b(159 - a.x, (a.y * 3 + i) / 4, 0);
      const uint32_t m1 = i % 3, m2 = i % 5 == 0 ? 1 : m1;
      GLLine* line = s == &runs ? s->scene.MakeEntity<GLLine>(a, b, m1, m2) : new GLLine(a, b, m1, m2);
      line->SetLineWidths(widths[(i / 9) % 5], 4.0f);
      line->SetHighlighted(i % 31 == 0);
      line->SetHidden(i % 29 == 0);
      s->scene.AddEntity(s == &runs ? static_cast<GLEntity*>(line) : new LoneLine(line));
    }
  }
  for (uint32_t mode = 0; mode < 8; ++mode) {
    for (SceneOnWindow* s : {&runs, &alone}) {
      s->scene.MakeContextCurrent();  // the mode sets its context's shading
      s->scene.SetRenderMode(mode / 2);
      s->scene.SetUseDisplayList(mode % 2 == 1);
      s->scene.Render();
    }
    const std::string name = "line_runs_" + std::to_string(mode);
    const GlFrame a = gltest::FrameOf(runs.window, name), b = gltest::FrameOf(alone.window, name + "_alone");
    EXPECT_TRUE(a.rgba == b.rgba) << name;
    EXPECT_NE(std::count(a.rgba.begin(), a.rgba.end(), 0xFF), static_cast<long>(a.rgba.size())) << "blank " << name;
  }
  runs.scene.DeleteAllEntities();  // and the runs scene's room with them
  EXPECT_EQ(runs.scene.GetEntityCount(), 0u);
}

TEST(GLScenePick, TheLastNamedGroupUnderThePointWins) {
  SceneOnWindow s(100, 100, 100, 100);
  ASSERT_TRUE(s.ok);
  // Unnamed entities before the first name pick nothing.
  s.scene.AddEntity(new TestLine(GLVector(0, 10, 0), GLVector(100, 10, 0)));
  EXPECT_EQ(s.scene.Pick(50, 90), -1);
  EXPECT_EQ(s.scene.Pick(50, 50), -1) << "nothing there";
  // Groups 3 and 7 cross at (50, 50); 7 is drawn later.
  s.scene.AddEntity(new GLName(3));
  s.scene.AddEntity(new TestLine(GLVector(0, 50, 0), GLVector(100, 50, 0)));
  s.scene.AddEntity(new GLName(7));
  s.scene.AddEntity(new TestLine(GLVector(50, 0, 0), GLVector(50, 100, 0)));
  EXPECT_EQ(s.scene.Pick(50, 50), 7);
  EXPECT_EQ(s.scene.Pick(20, 50), 3);
  EXPECT_EQ(s.scene.Pick(50, 80), 7);
  EXPECT_EQ(s.scene.Pick(50, 90), 7) << "the unnamed line's hit comes first";

  // Forty groups stacked on one point overflow the first selection buffer.
  SceneOnWindow stacked(100, 100, 100, 100);
  for (uint32_t id = 1; id <= 40; ++id) {
    stacked.scene.AddEntity(new GLName(id));
    stacked.scene.AddEntity(new TestLine(GLVector(0, 50, 0), GLVector(100, 50, 0)));
  }
  EXPECT_EQ(stacked.scene.Pick(50, 50), 40);

  // After a pick the next render draws with the normal projection again.
  s.scene.Render();
  GlFrame f = gltest::FrameOf(s.window, "after_pick");
  EXPECT_EQ(f.Rgb(10, 50) == kRed || f.Rgb(10, 49) == kRed, true);
}

TEST(GLSceneGroups, HighlightMaterialAndNames) {
  GLScene scene;
  TestLine* a = new TestLine(GLVector(), GLVector(1, 0, 0), 0);
  TestLine* b = new TestLine(GLVector(), GLVector(1, 0, 0), 0);
  TestLine* c = new TestLine(GLVector(), GLVector(1, 0, 0), 0);
  scene.AddEntity(a);
  scene.AddEntity(new GLName(4));
  scene.AddEntity(b);
  scene.AddEntity(c);
  scene.AddEntity(new GLName(9));
  a->SetHighlighted(true);
  scene.HighlightGroup(4, false, true);
  EXPECT_TRUE(a->IsHighlighted() && b->IsHighlighted() && c->IsHighlighted());
  EXPECT_EQ(scene.GetHighlightedGroup(), 4);
  scene.HighlightGroup(77, true, true);
  EXPECT_FALSE(a->IsHighlighted() || b->IsHighlighted() || c->IsHighlighted());
  EXPECT_EQ(scene.GetHighlightedGroup(), 4) << "an unknown id is not remembered";

  scene.SetGroupMaterial(4, 6);
  EXPECT_EQ(b->GetMaterial(), 6u);
  EXPECT_EQ(c->GetMaterial(), 6u);
  EXPECT_EQ(a->GetMaterial(), 0u);
  uint32_t material = 99;
  scene.GetGroupMaterial(9, &material);
  EXPECT_EQ(material, 99u) << "no entity after the name";
  scene.GetGroupMaterial(4, &material);
  EXPECT_EQ(material, 6u);
  uint32_t index = 0;
  EXPECT_EQ(scene.FindName(9, &index)->GetId(), 9u);
  EXPECT_EQ(index, 4u);
  EXPECT_EQ(scene.FindName(0xFFFFFFFF, &index), nullptr);
}

TEST(GLSceneRender, DestroyingOneOfTwoScenesLeavesTheOtherDrawing) {
  auto first = std::make_unique<SceneOnWindow>(40, 20, 40, 20);
  SceneOnWindow second(40, 20, 40, 20);
  ASSERT_TRUE(first->ok && second.ok);
  first->scene.SetUseDisplayList(true);
  second.scene.SetUseDisplayList(true);
  first->scene.AddEntity(new TestLine(GLVector(0, 10, 0), GLVector(40, 10, 0)));
  second.scene.AddEntity(new TestLine(GLVector(20, 0, 0), GLVector(20, 20, 0), 1));
  first->scene.Render();
  second.scene.Render();
  // Its window goes first, then the scene (and its list) with another
  // scene's context current.
  first.reset();
  second.scene.Render();
  GlFrame f = gltest::FrameOf(second.window, "second_scene");
  EXPECT_EQ(f.Rgb(20, 5) == 0x00FF00 || f.Rgb(19, 5) == 0x00FF00, true) << std::hex << f.Rgb(20, 5);
  EXPECT_EQ(f.Rgb(5, 10), kWhite) << "nothing of the other scene";

  // A scene whose window is gone draws nothing into another's context.
  SceneOnWindow orphan(40, 20, 40, 20);
  orphan.scene.AddEntity(new TestLine(GLVector(0, 10, 0), GLVector(40, 10, 0)));
  DestroyWindow(orphan.window);
  second.scene.Render();
  orphan.scene.Render();
  EXPECT_EQ(orphan.scene.Pick(20, 10), -1);
  f = gltest::FrameOf(second.window, "second_scene_again");
  EXPECT_EQ(f.Rgb(5, 10), kWhite);
}

TEST(GLSceneRender, LitModeAppliesTheLights) {
  SceneOnWindow s(20, 20, 20, 20);
  ASSERT_TRUE(s.ok);
  auto* light = new GLDirectionLight(0);
  light->SetDirection(GLVector(0, 0, -1));
  s.scene.AddLight(light);
  s.scene.SetRenderMode(3);
  s.scene.Render();
  GLfloat position[4] = {1, 1, 1, 1};
  glGetLightfv(GL_LIGHT0, GL_POSITION, position);
  EXPECT_EQ(position[3], 0.0f) << "directional";
  EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

}  // namespace
