// The export dialog's drawing preview on the software rasteriser: a
// network of 10,000 entities handed over as host chains (6,000 lines drawn
// 2 wide, 2,000 arcs, 1,000 circles and 1,000 two-digit labels, a name for
// every 10) converted into an 800 x 600 preview, the frames it paints, and
// picks near and under the cursor (with the memory a pick keeps).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/ResidentMemory.h"
#include "dataformat/resbuf.h"
#include "jov_vantrix/preview/CMyViewJovGL.h"
#include "objectgl/GLScene.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_styles.h"

namespace {

constexpr int kEntities = 10000;
constexpr int kPerName = 10;

// Host chains, one per name, held in node arrays (nothing to release).
class Network {
 public:
  Network() {
    labels_.reserve(kEntities / 10);  // the chains point into them
    for (int first = 0; first < kEntities; first += kPerName) {
      std::vector<resbuf> chain;
      for (int i = first; i < first + kPerName; ++i) Entity(chain, i);
      for (size_t n = 0; n + 1 < chain.size(); ++n) chain[n].next = &chain[n + 1];
      chains_.push_back(std::move(chain));
    }
  }
  resbuf* Chain(size_t name) { return &chains_[name][0]; }
  size_t Names() const { return chains_.size(); }

 private:
  static resbuf Node(int16_t code) {
    resbuf n{};
    n.code = code;
    return n;
  }
  void Text(std::vector<resbuf>& c, int16_t code, const char* text) {
    resbuf n = Node(code);
    n.value.text = const_cast<char*>(text);
    c.push_back(n);
  }
  void Point(std::vector<resbuf>& c, int16_t code, double x, double y) {
    resbuf n = Node(code);
    n.value.point[0] = x;
    n.value.point[1] = y;
    c.push_back(n);
  }
  void Real(std::vector<resbuf>& c, int16_t code, double v) {
    resbuf n = Node(code);
    n.value.real = v;
    c.push_back(n);
  }
  // A grid of 100 x 100 cells, each holding one entity.
  void Entity(std::vector<resbuf>& c, int i) {
    const double x = (i % 100) * 8.0, y = (i / 100) * 6.0;
    if (i % 10 < 6) {
      Text(c, 0, "LINE");
      Text(c, 8, "TRUBKY_P");
      Point(c, 10, x, y);
      Point(c, 11, x + 6, y + 4);
    } else if (i % 10 < 8) {
      Text(c, 0, "ARC");
      Text(c, 8, "0");
      Point(c, 10, x, y);
      Real(c, 40, 3.0);
      Real(c, 50, 0.0);
      Real(c, 51, 3.14159);
    } else if (i % 10 == 8) {
      Text(c, 0, "CIRCLE");
      Text(c, 8, "0");
      Point(c, 10, x, y);
      Real(c, 40, 3.0);
    } else {
      labels_.push_back(std::to_string(10 + i % 90));
      Text(c, 0, "TEXT");
      Text(c, 8, "POPISY");
      Point(c, 10, x, y);
      Real(c, 40, 3.0);
      Text(c, 1, labels_.back().c_str());
    }
  }

  std::vector<std::vector<resbuf>> chains_;
  std::vector<std::string> labels_;
};

struct Preview {
  Preview() {
    parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr, nullptr,
                             nullptr);
    HWND button = CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 800, 600, parent,
                                  nullptr, nullptr, nullptr);
    view = std::make_unique<CMyViewJovGL>();
    view->SubclassWindow(button);
  }
  ~Preview() {
    view.reset();
    DestroyWindow(parent);
  }
  // As the export dialog fills it.
  void Fill(Network& network) {
    view->ClearScene(false);
    view->lineWidth = 2.0f;
    for (size_t name = 0; name < network.Names(); ++name) {
      resbuf* cursor = network.Chain(name);
      // Texts included (the user system is the world's here).
      view->AddEntityChain(&cursor, nullptr, nullptr, static_cast<uint32_t>(name + 1), nullptr, 7, false);
    }
    view->SetMaxPickId(10000);
    const double margin = 1.25;
    view->ZoomExtents(false, &margin);
  }

  HWND parent = nullptr;
  std::unique_ptr<CMyViewJovGL> view;
};

Network& TheNetwork() {
  static auto* n = new Network;
  return *n;
}

Preview& ThePreview() {
  static auto* p = [] {
    auto* made = new Preview;
    made->Fill(TheNetwork());
    return made;
  }();
  return *p;
}

void BM_FillFromChains(benchmark::State& state) {
  Preview& p = ThePreview();
  for (auto _ : state) p.Fill(TheNetwork());
  state.counters["entities"] = static_cast<double>(p.view->GetScene()->GetEntityCount());
}
BENCHMARK(BM_FillFromChains)->Unit(benchmark::kMillisecond);

// What the user waits for: the fill and its first frame (labels laid out).
void BM_FillAndFirstFrame(benchmark::State& state) {
  Preview& p = ThePreview();
  for (auto _ : state) {
    p.Fill(TheNetwork());
    p.view->GetScene()->Render();
  }
}
BENCHMARK(BM_FillAndFirstFrame)->Unit(benchmark::kMillisecond);

void BM_Frame(benchmark::State& state) {
  Preview& p = ThePreview();
  for (auto _ : state) p.view->GetScene()->Render();
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond);

void BM_PickNearTheCursor(benchmark::State& state) {
  Preview& p = ThePreview();
  uint32_t id = 0;
  for (auto _ : state) benchmark::DoNotOptimize(p.view->PickNear({400, 300}, &id));
  state.counters["name"] = id;
}
BENCHMARK(BM_PickNearTheCursor)->Unit(benchmark::kMillisecond);

// Over empty space (what the cursor asks while it moves across a gap).
void BM_PickNearNothing(benchmark::State& state) {
  Preview& p = ThePreview();
  uint32_t id = 0;
  for (auto _ : state) benchmark::DoNotOptimize(p.view->PickNear({2, 2}, &id));
}
BENCHMARK(BM_PickNearNothing)->Unit(benchmark::kMillisecond);

void BM_PickUnderTheCursor(benchmark::State& state) {
  Preview& p = ThePreview();
  p.view->GetScene()->Pick(400, 300);
  const long before = ResidentKb();
  for (auto _ : state) benchmark::DoNotOptimize(p.view->GetScene()->Pick(400, 300));
  state.counters["kB kept a pick"] = static_cast<double>(ResidentKb() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PickUnderTheCursor)->Unit(benchmark::kMillisecond);

}  // namespace
