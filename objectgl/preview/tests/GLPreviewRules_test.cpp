// The shared preview control under both families' rules: the colour and
// name rules of the adders, the curves' widths, the capital-B text height,
// the wheel and resizing, set-up without a parent, and the middle button.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "objectgl/GLCamera.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLText.h"
#include "objectgl/GLTextStyle.h"
#include "objectgl/preview/GLPreviewControl.h"
#include "objectgl/tests/GLTestSupport.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/glyph_outline.h"
#include "platform/win32/tests/headless_fixture.h"

namespace {

GLPreviewRules PlugInRules() { return GLPreviewRules::DrawingPreview(); }
GLPreviewRules WizardRules() { return GLPreviewRules::ProductPreview(); }

class TestPreview : public GLPreviewControl {
 public:
  explicit TestPreview(const GLPreviewRules& rules, uint8_t mouseNavigation = 1)
      : GLPreviewControl(0, mouseNavigation, 1, rules) {}
  using GLPreviewControl::AddCurve;
  using GLPreviewControl::AddNameMarker;
  using GLPreviewControl::AdderColour;
};

class GLPreviewRulesTest : public testing_support::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    registry_ = std::make_unique<gltest::ScopedRegistry>(true);
    parent_ = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 500, 400});
  }
  void TearDown() override {
    previews_.clear();
    HeadlessTest::TearDown();
    AfxIdleCleanup();
    registry_.reset();
  }
  // A preview on a child button of 400 x 300 pixels.
  TestPreview& Preview(const GLPreviewRules& rules, uint8_t mouseNavigation = 1) {
    HWND button = Child(parent_, 100 + static_cast<int>(previews_.size()), {0, 0, 400, 300}, WS_VISIBLE, "Button");
    previews_.push_back(std::make_unique<TestPreview>(rules, mouseNavigation));
    EXPECT_TRUE(previews_.back()->SubclassWindow(button));
    EXPECT_TRUE(previews_.back()->IsReady());
    return *previews_.back();
  }

  HWND parent_ = nullptr;

 private:
  std::unique_ptr<gltest::ScopedRegistry> registry_;
  std::vector<std::unique_ptr<TestPreview>> previews_;
};

TEST_F(GLPreviewRulesTest, ColoursAndNamesByEachFamilysRule) {
  TestPreview& plugIn = Preview(PlugInRules());
  TestPreview& wizard = Preview(WizardRules());
  struct Row {
    uint32_t colour;
    uint32_t background;
    uint32_t plugIn, wizard;
  };
  const Row rows[] = {
      {1, 0, 1, 1},       {254, 0, 254, 254}, {255, 0, 255, 7}, {256, 0, 7, 7},
      {0, 0, 7, 7},       {0xFFFFFFFF, 0, 7, 7}, {7, 0, 7, 7},   {7, 1, 0, 0},
      {255, 1, 255, 0},   {0, 1, 0, 0},       {7, 2, 7, 7},
  };
  for (const Row& r : rows) {
    plugIn.SetBackground(r.background, false);
    wizard.SetBackground(r.background, false);
    EXPECT_EQ(plugIn.AdderColour(r.colour), r.plugIn) << r.colour << " on " << r.background;
    EXPECT_EQ(wizard.AdderColour(r.colour), r.wizard) << r.colour << " on " << r.background;
  }

  // Every id but 0 names a group of its own in the plug-in; in the wizard
  // a negative id ends the group before it.
  for (uint32_t id : {0u, 5u, 0x80000001u, 0xFFFFFFFFu}) {
    plugIn.AddNameMarker(id);
    wizard.AddNameMarker(id);
  }
  auto names = [](TestPreview& p) {
    std::vector<uint32_t> out;
    for (uint32_t i = 0; i < p.GetScene()->GetEntityCount(); ++i)
      out.push_back(GLDynamicCast<GLName>(p.GetScene()->GetEntity(i))->GetId());
    return out;
  };
  EXPECT_EQ(names(plugIn), (std::vector<uint32_t>{5, 0x80000001u, 0xFFFFFFFFu}));
  EXPECT_EQ(names(wizard), (std::vector<uint32_t>{5, 0xFFFFFFFFu, 0xFFFFFFFFu}));

  // Curves: the plug-in gives the normal width, the wizard the highlight one.
  auto* line = new GLLine(GLVector(0, 0, 0), GLVector(1, 0, 0), 1);
  ASSERT_TRUE(plugIn.AddCurve(line, 2.0f, nullptr, nullptr));
  EXPECT_EQ(line->GetLineWidth(), 2.0f);
  EXPECT_EQ(line->GetHighlightLineWidth(), 6.0f);
  line = new GLLine(GLVector(0, 0, 0), GLVector(1, 0, 0), 1);
  ASSERT_TRUE(wizard.AddCurve(line, 0.0f, nullptr, nullptr));
  EXPECT_EQ(line->GetLineWidth(), 1.0f);
  EXPECT_EQ(line->GetHighlightLineWidth(), 3.0f);
}

TEST_F(GLPreviewRulesTest, ATextStyleMakesACapitalBAsTallAsTheHeightAsked) {
  TestPreview& p = Preview(WizardRules());
  double height = 100.0;
  const uint32_t style = p.AddTextStyle(&height, "Arial");
  EXPECT_GT(height, 100.0) << "a B is shorter than the font's cell";
  auto* b = new GLText("B", 1);
  b->SetStyleIndex(style);
  b->SetHeight(height);
  ASSERT_TRUE(p.AddEntity(b));
  const GLExtents box = b->GetExtents();
  EXPECT_NEAR(box.Max().y - box.Min().y, 100.0, 1.0);

  // The scene's first style serves later texts, rescaled the same way.
  double again = 100.0;
  EXPECT_EQ(p.TextStyleFor(&again), style);
  EXPECT_DOUBLE_EQ(again, height);
}

// A face whose B has no outline: nothing to measure by.
class NoCapitalB : public GlyphSource {
 public:
  bool TextMetrics(const LOGFONTA&, TEXTMETRICA* out) override {
    *out = {};
    out->tmHeight = 12000;
    return true;
  }
  bool GlyphOutline(const LOGFONTA&, BYTE, GLYPHMETRICS* metrics, std::vector<BYTE>* records) override {
    *metrics = {};
    records->clear();
    return true;
  }
};

TEST_F(GLPreviewRulesTest, AFaceWithoutACapitalBLeavesTheHeightAlone) {
  TestPreview& p = Preview(WizardRules());
  NoCapitalB blank;
  GlyphSource* previous = SetGlyphSource(&blank);
  double height = 2.5;
  p.AddTextStyle(&height, "Blank");
  SetGlyphSource(previous);
  EXPECT_EQ(height, 2.5) << "not 0, which would hide every label";
}

TEST_F(GLPreviewRulesTest, TheWheelAndResizingByEachFamilysRule) {
  TestPreview& plugIn = Preview(PlugInRules());
  TestPreview& wizard = Preview(WizardRules());
  for (TestPreview* p : {&plugIn, &wizard}) {
    GLCamera* camera = p->GetScene()->GetCurrentCamera();
    camera->SetViewSize(300, 300);
    headless::QueueMouseWheel(p->m_hWnd, {200, 150}, -3 * WHEEL_DELTA);
    Pump();
    double w, h;
    camera->GetViewSize(&w, &h);
    // The plug-in by the delta (360 px), the wizard by a step of 25 px,
    // each over the shorter side of 300 px.
    EXPECT_DOUBLE_EQ(w, p == &plugIn ? 300 + 2 * 360 : 300 + 2 * 25) << (p == &plugIn ? "plug-in" : "wizard");

    // A resize computes the view anew only under the wizard's rule.
    camera->SetTarget(GLVector(10, 0, 0));
    const GLMatrix before = camera->GetViewMatrix();
    p->SetWindowPos(nullptr, 0, 0, 380, 280, SWP_NOMOVE | SWP_NOZORDER);
    const bool computed = before.GetData()[12] != camera->GetViewMatrix().GetData()[12];
    EXPECT_EQ(computed, p == &wizard);
  }
}

TEST_F(GLPreviewRulesTest, AMiddleReleaseWithoutAPressResetsTheModeAndPanEndsWithIt) {
  TestPreview& p = Preview(WizardRules());
  p.SetMode(GLPreviewControl::kZoom);
  headless::QueueMouseButton(p.m_hWnd, {50, 50}, headless::MouseButton::Middle, false);
  Pump();
  EXPECT_EQ(p.GetMode(), GLPreviewControl::kSelect);

  // Middle drag: pan in any mode, the mode and the capture back afterwards.
  p.SetMode(GLPreviewControl::kRotate);
  GLCamera* camera = p.GetScene()->GetCurrentCamera();
  camera->SetViewSize(300, 300);
  const GLVector target = camera->GetTarget();
  headless::QueueMouseButton(p.m_hWnd, {100, 100}, headless::MouseButton::Middle, true);
  headless::QueueMouseMove(p.m_hWnd, {130, 90});
  Pump();
  EXPECT_EQ(GetCapture(), p.m_hWnd);
  headless::QueueMouseButton(p.m_hWnd, {130, 90}, headless::MouseButton::Middle, false);
  Pump();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(p.GetMode(), GLPreviewControl::kRotate);
  EXPECT_DOUBLE_EQ(camera->GetTarget().x, target.x - 30);
  EXPECT_DOUBLE_EQ(camera->GetTarget().y, target.y - 10);

  // Without navigation the middle button does nothing.
  TestPreview& still = Preview(WizardRules(), 0);
  headless::QueueMouseButton(still.m_hWnd, {100, 100}, headless::MouseButton::Middle, true);
  Pump();
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(GLPreviewRulesTest, WithoutAPixelFormatTheSetUpFailsAndKeepsNoViewportCameraOrLight) {
  SetPixelFormats({});
  HWND button = Child(parent_, 300, {0, 0, 100, 100}, WS_VISIBLE, "Button");
  TestPreview preview(WizardRules());
  ASSERT_TRUE(preview.SubclassWindow(button));
  ResetPixelFormats();
  EXPECT_FALSE(preview.IsReady());
  // The scene stays, empty; what it did not take is deleted (the leak
  // check would see it otherwise).
  ASSERT_NE(preview.GetScene(), nullptr);
  EXPECT_EQ(preview.GetScene()->GetViewportCount(), 0u);
  EXPECT_EQ(preview.GetScene()->GetCameraCount(), 0u);
  EXPECT_EQ(preview.GetScene()->GetLightCount(), 0u);
  bool told = false;
  for (const MessageBoxCall& box : gltest::MessageBoxes()) told |= box.text.rfind("SetPixelFormat failed", 0) == 0;
  EXPECT_TRUE(told);
  const double factor = 1.25;
  preview.ZoomExtents(true, &factor);
  preview.Zoom(10);
  preview.ResetView();
  preview.UnsubclassWindow();
}

TEST_F(GLPreviewRulesTest, WithoutAParentNothingIsSetUp) {
  HWND alone = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  TestPreview preview(WizardRules());
  ASSERT_TRUE(preview.SubclassWindow(alone));
  EXPECT_FALSE(preview.IsReady());
  EXPECT_EQ(preview.GetScene(), nullptr);
  GLName name(1);
  EXPECT_FALSE(preview.AddEntity(&name)) << "the caller keeps it";
  preview.Zoom(10);  // nothing to zoom: no harm
  preview.Pan(1, 1);
  preview.UnsubclassWindow();
}

}  // namespace
