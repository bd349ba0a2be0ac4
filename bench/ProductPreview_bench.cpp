// The wizard's product preview on the software rasteriser: a generated
// product of 5,000 entities (3,000 lines, 1,000 arcs, 500 closed polylines
// of 8 bulged vertices, 300 hatches of 4 edges, 150 texts and 50
// connection lines on DEFPOINTS) shown in kind 4 in a 600 x 400 preview:
// the conversion, the frames it paints, and picks in kinds 0 and 4 (with
// the memory a pick keeps).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <deque>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "bench/ResidentMemory.h"
#include "dataformat/resbuf.h"
#include "objectgl/GLScene.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_styles.h"
#include "wizard/dialogs/CViewJovGL.h"

namespace {

constexpr int kWidth = 600, kHeight = 400;

// The product's chain, held in a node array (nothing to release).
class Product {
 public:
  Product() {
    int at = 0;
    for (int i = 0; i < 3000; ++i) Line(at++, "0", i % 7 + 1);
    for (int i = 0; i < 1000; ++i) Arc(at++);
    for (int i = 0; i < 500; ++i) Polyline(at++);
    for (int i = 0; i < 300; ++i) Hatch(at++);
    for (int i = 0; i < 150; ++i) Label(at++);
    for (int i = 0; i < 50; ++i) Line(at++, "DEFPOINTS", 7);
    for (size_t n = 0; n + 1 < nodes_.size(); ++n) nodes_[n].next = &nodes_[n + 1];
  }
  const resbuf* Head() const { return &nodes_[0]; }

 private:
  resbuf& Node(int16_t code) {
    resbuf n{};
    n.code = code;
    nodes_.push_back(n);
    return nodes_.back();
  }
  void Text(int16_t code, const char* text) { Node(code).value.text = const_cast<char*>(text); }
  void Point(int16_t code, double x, double y) {
    resbuf& n = Node(code);
    n.value.point[0] = x;
    n.value.point[1] = y;
  }
  void Real(int16_t code, double v) { Node(code).value.real = v; }
  void I16(int16_t code, int16_t v) { Node(code).value.i16 = v; }
  void I32(int16_t code, int32_t v) { Node(code).value.i32 = v; }
  // A grid of 80 x 63 cells of 10 x 10 units, one entity each.
  static double X(int at) { return (at % 80) * 10.0; }
  static double Y(int at) { return (at / 80) * 10.0; }

  void Line(int at, const char* layer, int colour) {
    Text(0, "LINE");
    Text(8, layer);
    I16(62, static_cast<int16_t>(colour));
    Point(10, X(at), Y(at));
    Point(11, X(at) + 6, Y(at) - 4);
  }
  void Arc(int at) {
    Text(0, "ARC");
    Text(8, "0");
    Point(10, X(at) + 4, Y(at) + 4);
    Real(40, 3.0);
    Real(50, 0.0);
    Real(51, std::numbers::pi);
  }
  void Polyline(int at) {
    Text(0, "LWPOLYLINE");
    Text(8, "0");
    I32(90, 8);
    I16(70, 1);
    for (int k = 0; k < 8; ++k) {
      const double a = k * std::numbers::pi / 4;
      Point(10, X(at) + 4 + 3 * std::cos(a), Y(at) + 4 + 3 * std::sin(a));
      Real(42, 0.2);
    }
  }
  // One edge path: two lines and two half circles round a slot.
  void Hatch(int at) {
    const double x = X(at), y = Y(at);
    Text(0, "HATCH");
    Text(8, "0");
    I16(62, 8);
    Text(2, "SOLID");
    I16(70, 1);
    I32(91, 1);
    I32(92, 1);
    I32(93, 4);
    // The bottom and its right end, then the top and its left end.
    for (const double side : {1.0, -1.0}) {
      I16(72, 1);
      Point(10, x + 4 - 2 * side, y + 4 - 2 * side);
      Point(11, x + 4 + 2 * side, y + 4 - 2 * side);
      I16(72, 2);
      Point(10, x + 4 + 2 * side, y + 4);
      Real(40, 2.0);
      Real(50, (side > 0 ? 1.5 : 0.5) * std::numbers::pi);
      Real(51, (side > 0 ? 0.5 : 1.5) * std::numbers::pi);
      I16(73, 1);
    }
    I32(97, 0);
  }
  void Label(int at) {
    labels_.push_back("V" + std::to_string(at % 100));
    Text(0, "TEXT");
    Text(8, "0");
    Point(10, X(at), Y(at));
    Real(40, 3.0);
    Text(1, labels_.back().c_str());
  }

  std::vector<resbuf> nodes_;
  std::deque<std::string> labels_;  // the chain points into them
};

struct Preview {
  explicit Preview(uint32_t kind) {
    parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr,
                             nullptr, nullptr);
    HWND button = CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE, 0, 0, kWidth, kHeight, parent, nullptr,
                                  nullptr, nullptr);
    view = std::make_unique<CViewJovGL>(kind, 1, 0, 0);
    view->SubclassWindow(button);
  }
  ~Preview() {
    view.reset();
    DestroyWindow(parent);
  }

  HWND parent = nullptr;
  std::unique_ptr<CViewJovGL> view;
};

const Product& TheProduct() {
  static auto* p = new Product;
  return *p;
}

// A preview of the kind showing the product.
Preview& Shown(uint32_t kind) {
  static Preview* previews[5] = {};
  if (!previews[kind]) {
    previews[kind] = new Preview(kind);
    previews[kind]->view->ShowPreview(TheProduct().Head(), false);
  }
  return *previews[kind];
}

void BM_ShowPreviewKind4(benchmark::State& state) {
  Preview& p = Shown(4);
  for (auto _ : state) p.view->ShowPreview(TheProduct().Head(), false);
  state.counters["entities"] = static_cast<double>(p.view->GetScene()->GetEntityCount());
  state.counters["connections"] = static_cast<double>(p.view->Points().GetCount());
}
BENCHMARK(BM_ShowPreviewKind4)->Unit(benchmark::kMillisecond);

// What the user waits for: the conversion and its first frame (the hatches
// tessellated, the labels laid out).
void BM_ShowAndFirstFrameKind4(benchmark::State& state) {
  Preview& p = Shown(4);
  for (auto _ : state) {
    p.view->ShowPreview(TheProduct().Head(), false);
    p.view->GetScene()->Render();
  }
}
BENCHMARK(BM_ShowAndFirstFrameKind4)->Unit(benchmark::kMillisecond);

void BM_FrameKind4(benchmark::State& state) {
  Preview& p = Shown(4);
  p.view->GetScene()->Render();
  for (auto _ : state) p.view->GetScene()->Render();
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FrameKind4)->Unit(benchmark::kMillisecond);

void Pick(benchmark::State& state, uint32_t kind) {
  Preview& p = Shown(kind);
  GLScene* scene = p.view->GetScene();
  scene->Render();
  scene->Pick(kWidth / 2, kHeight / 2);
  const long before = ResidentKb();
  for (auto _ : state) benchmark::DoNotOptimize(scene->Pick(kWidth / 2, kHeight / 2));
  state.counters["kB kept a pick"] = static_cast<double>(ResidentKb() - before) / static_cast<double>(state.iterations());
}

void BM_PickKind0(benchmark::State& state) { Pick(state, 0); }
BENCHMARK(BM_PickKind0)->Unit(benchmark::kMillisecond);

// With the connections' markers and arrows in the scene.
void BM_PickKind4(benchmark::State& state) { Pick(state, 4); }
BENCHMARK(BM_PickKind4)->Unit(benchmark::kMillisecond);

}  // namespace
