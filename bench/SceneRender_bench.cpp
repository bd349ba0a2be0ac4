// Rendering and picking a large scene off-screen: 10,000 two-point lines in
// groups of ten, an 800 x 600 viewport on the software rasteriser.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <memory>

#include "OffscreenScene.h"
#include "objectgl/GLEntity.h"

namespace {

// The drawable entities come with the entity library; a plain line here.
class BenchLine : public GLEntity {
 public:
  BenchLine(GLVector a, GLVector b, uint32_t material) : a_(a), b_(b), material_(material) {}
  void Draw(uint32_t, GLMatLib* materials) override {
    if (materials) {
      materials->SetCurrent(material_);
      materials->ApplyColor();
    }
    glBegin(GL_LINES);
    glVertex3dv(a_);
    glVertex3dv(b_);
    glEnd();
  }
  GLExtents GetExtents() const override {
    GLExtents e;
    e.AddPoint(a_);
    e.AddPoint(b_);
    return e;
  }
  void SetMaterial(uint32_t index) override { material_ = index; }
  uint32_t GetMaterial() const override { return material_; }

 private:
  GLVector a_, b_;
  uint32_t material_;
};

struct BigScene : OffscreenScene {
  BigScene() {
    for (int i = 0; i < 10000; ++i) {
      if (i % 10 == 0) scene.AddEntity(new GLName(static_cast<uint32_t>(i / 10)));
      const double x = (i % 100) * 8.0, y = (i / 100) * 6.0;
      scene.AddEntity(new BenchLine(GLVector(x, y, 0), GLVector(x + 40.0, y + 30.0, 0), i % 8));
    }
    Fit();
  }
};

BigScene& Scene() {
  static auto* s = new BigScene;
  return *s;
}

void BM_RenderWithoutDisplayList(benchmark::State& state) {
  GLScene& scene = Scene().scene;
  scene.SetUseDisplayList(false);
  for (auto _ : state) scene.Render();
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderWithoutDisplayList)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RenderWithDisplayList(benchmark::State& state) {
  GLScene& scene = Scene().scene;
  scene.SetUseDisplayList(true);
  scene.Render();  // compiled once
  for (auto _ : state) scene.Render();
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  scene.SetUseDisplayList(false);
}
BENCHMARK(BM_RenderWithDisplayList)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PickAtTheCentre(benchmark::State& state) {
  GLScene& scene = Scene().scene;
  int32_t id = -1;
  for (auto _ : state) {
    id = scene.Pick(400, 300);
    benchmark::DoNotOptimize(id);
  }
  state.counters["group"] = id;
}
BENCHMARK(BM_PickAtTheCentre)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
