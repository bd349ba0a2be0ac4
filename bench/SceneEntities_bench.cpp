// The scene library's own entities off-screen on the software rasteriser:
// a mixed drawing of 10,000 entities in 800 x 600 (6,000 lines, 2,000 arcs,
// 1,000 circles, 1,000 two-digit labels), the first use of the printable
// glyphs of a text style, and the layout of a label from cached glyphs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <numbers>

#include "OffscreenScene.h"
#include "objectgl/GLArc.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLText.h"
#include "objectgl/GLTextStyle.h"

namespace {

GLText* Label(int n, const GLVector& at) {
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02d", n % 100);
  auto* text = new GLText(digits, static_cast<uint32_t>(n % 8));
  text->SetStyleIndex(0);
  text->SetHeight(3.0);
  text->SetPosition(at);
  return text;
}

struct MixedScene : OffscreenScene {
  MixedScene() {
    auto* style = new GLTextStyle;
    style->SetFaceName("Arial");
    scene.AddTextStyle(style);
    // A grid of 100 x 100 cells, each holding one entity.
    const double radius = 3.0, start = 0.0, end = std::numbers::pi;
    for (int i = 0; i < 10000; ++i) {
      const GLVector at((i % 100) * 8.0, (i / 100) * 6.0, 0.0);
      const auto material = static_cast<uint32_t>(i % 8);
      if (i % 10 < 6)
        scene.AddEntity(new GLLine(at, at + GLVector(6, 4, 0), material));
      else if (i % 10 < 8)
        scene.AddEntity(new GLArc(at, &radius, &start, &end, material, 32));
      else if (i % 10 == 8)
        scene.AddEntity(new GLCircle(at, GLAxisZ, &radius, material, 64));
      else
        scene.AddEntity(Label(i, at));
    }
    Fit();
  }
};

MixedScene& Scene() {
  static auto* s = new MixedScene;
  return *s;
}

// A new style each time: every glyph read, turned into contours and
// tessellated (the font file itself is opened once per process).
void BM_FirstUseOfThePrintableGlyphs(benchmark::State& state) {
  for (auto _ : state) {
    GLTextStyle style;
    style.SetFaceName("Arial");
    const double height = 1.0;
    double advance = 0.0;
    for (int c = 0x20; c < 0x7F; ++c) {
      GLFacesArray faces;
      style.GetCharFaces(faces, static_cast<uint8_t>(c), &advance, GLMatrix(), GLVector(), &height);
    }
    benchmark::DoNotOptimize(advance);
  }
}
// Registered first: its single first run also starts the font machinery.
BENCHMARK(BM_FirstUseOfThePrintableGlyphs)
    ->Name("BM_FirstUseOfThePrintableGlyphs/cold")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_FirstUseOfThePrintableGlyphs)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RenderMixedEntities(benchmark::State& state) {
  GLScene& scene = Scene().scene;
  scene.SetUseDisplayList(state.range(0) != 0);
  scene.Render();  // texts compile their lists, the scene its own
  for (auto _ : state) scene.Render();
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  scene.SetUseDisplayList(false);
}
BENCHMARK(BM_RenderMixedEntities)->ArgName("sceneList")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A label laid out again from the style's cached triangles (layout needs
// no OpenGL context: a scene with the style is enough).
void BM_CachedLabelLayout(benchmark::State& state) {
  GLScene scene;
  auto* style = new GLTextStyle;
  style->SetFaceName("Arial");
  scene.AddTextStyle(style);
  GLText* label = Label(42, GLVector(10, 10, 0));
  scene.AddEntity(label);  // the glyphs are read and tessellated here
  for (auto _ : state) {
    label->SetText("42");
    benchmark::DoNotOptimize(label->GetExtents());
  }
}
BENCHMARK(BM_CachedLabelLayout)->Unit(benchmark::kMicrosecond);

}  // namespace
