// The export dialog's drawing preview on the software rasteriser: a
// network of 10,000, 100,000 or 200,000 entities handed over as host chains
// (per 10: 6 lines drawn 2 wide, 2 arcs, a circle and a two-digit label,
// under one name) converted into an 800 x 600 preview, the frames it paints,
// and picks near and under the cursor (with the memory a pick keeps). The
// first fill is also timed in a fresh process: this program run again with
// --first-fill N. A labelled network has pipe labels of 20-45 characters
// for a quarter of its entities, laid out wide or as a tall riser view (ten
// columns: the whole height fitted, every label a few pixels).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
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

constexpr int kPerName = 10;

// Host chains, one per name, held in node arrays (nothing to release).
class Network {
 public:
  // A grid of cells, one entity each: 100 columns for 10,000 entities,
  // more for larger networks so that the grid stays about as wide as high.
  explicit Network(int entities, bool labelled = false, bool tall = false)
      : columns_(tall ? 10 : static_cast<int>(std::lround(100.0 * std::sqrt(entities / 10000.0)))),
        labelled_(labelled) {
    labels_.reserve(entities / (labelled ? 4 : 10));  // the chains point into them
    for (int first = 0; first < entities; first += kPerName) {
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
  // 20 to 45 characters, as a pipe's label.
  static std::string LongLabel(int i) {
    std::string text = "DN" + std::to_string(15 + i % 50) + " Cu 28x1,5 L=" + std::to_string(i % 977) + ".40 m";
    const size_t length = 20 + static_cast<size_t>(i) % 26;
    while (text.size() < length) text += " Q=1250 W";
    text.resize(length);
    return text;
  }
  void Entity(std::vector<resbuf>& c, int i) {
    const double x = (i % columns_) * 8.0, y = (i / columns_) * 6.0;
    // Labelled: a label every fourth entity, in the place of a line.
    const int kind = labelled_ ? (i % 4 == 3 ? 9 : i % 10 == 9 ? 0 : i % 10) : i % 10;
    if (kind < 6) {
      Text(c, 0, "LINE");
      Text(c, 8, "TRUBKY_P");
      Point(c, 10, x, y);
      Point(c, 11, x + 6, y + 4);
    } else if (kind < 8) {
      Text(c, 0, "ARC");
      Text(c, 8, "0");
      Point(c, 10, x, y);
      Real(c, 40, 3.0);
      Real(c, 50, 0.0);
      Real(c, 51, 3.14159);
    } else if (kind == 8) {
      Text(c, 0, "CIRCLE");
      Text(c, 8, "0");
      Point(c, 10, x, y);
      Real(c, 40, 3.0);
    } else {
      labels_.push_back(labelled_ ? LongLabel(i) : std::to_string(10 + i % 90));
      Text(c, 0, "TEXT");
      Text(c, 8, "POPISY");
      Point(c, 10, x, y);
      Real(c, 40, 3.0);
      Text(c, 1, labels_.back().c_str());
    }
  }

  int columns_;
  bool labelled_;
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

// Layouts of the labelled network (the benchmarks' second argument).
enum Layout { kPlain, kLabelled, kLabelledTall };

Network& TheNetwork(int entities, int layout = kPlain) {
  static std::map<std::pair<int, int>, Network*> made;
  Network*& n = made[{entities, layout}];
  if (!n) n = new Network(entities, layout != kPlain, layout == kLabelledTall);
  return *n;
}

Preview& ThePreview(int entities, int layout = kPlain) {
  static std::map<std::pair<int, int>, Preview*> made;
  Preview*& p = made[{entities, layout}];
  if (!p) {
    p = new Preview;
    // Without a scene every figure would time nothing.
    if (!p->view->GetScene()) {
      std::fprintf(stderr, "the preview made no scene: are the scene library's resources built?\n");
      std::exit(1);
    }
    p->Fill(TheNetwork(entities, layout));
  }
  return *p;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The child's side of the first fill: the network is made, then the preview
// is made and filled (timed), then its first frame (timed); both printed.
int FirstFill(int entities) {
  Network& network = TheNetwork(entities);
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  Preview preview;
  preview.Fill(network);
  const auto filled = Clock::now();
  preview.view->GetScene()->Render();
  const auto drawn = Clock::now();
  std::printf("%.6f %.6f\n", Seconds(filled - start), Seconds(drawn - filled));
  return 0;
}

// What the user waits for when the dialog opens in a new session: the
// fill in a fresh process, and its first frame (counter).
void BM_FirstFillInFreshProcess(benchmark::State& state) {
  const std::string count = std::to_string(state.range(0));
  double frame = 0;
  for (auto _ : state) {
    int out[2];
    if (pipe(out) != 0) {
      state.SkipWithError("no pipe");
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char self[] = "/proc/self/exe", flag[] = "--first-fill";
    std::vector<char> n(count.begin(), count.end());
    n.push_back('\0');
    char* argv[] = {self, flag, n.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char text[128] = {};
    size_t got = 0;
    for (ssize_t r; got + 1 < sizeof text && (r = read(out[0], text + got, sizeof text - 1 - got)) > 0;)
      got += static_cast<size_t>(r);
    close(out[0]);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the child run failed");
      return;
    }
    double fill = 0;
    if (std::sscanf(text, "%lf %lf", &fill, &frame) != 2) {
      state.SkipWithError("the child printed no times");
      return;
    }
    state.SetIterationTime(fill);
  }
  state.counters["first frame ms"] = frame * 1000.0;
}
BENCHMARK(BM_FirstFillInFreshProcess)->Arg(100000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void BM_FillFromChains(benchmark::State& state) {
  const int entities = static_cast<int>(state.range(0));
  Preview& p = ThePreview(entities);
  for (auto _ : state) p.Fill(TheNetwork(entities));
  state.counters["entities"] = static_cast<double>(p.view->GetScene()->GetEntityCount());
}
BENCHMARK(BM_FillFromChains)->Arg(10000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

// What the user waits for: the fill and its first frame (labels laid out).
void BM_FillAndFirstFrame(benchmark::State& state) {
  const int entities = static_cast<int>(state.range(0));
  Preview& p = ThePreview(entities);
  for (auto _ : state) {
    p.Fill(TheNetwork(entities));
    p.view->GetScene()->Render();
  }
}
BENCHMARK(BM_FillAndFirstFrame)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_Frame(benchmark::State& state) {
  Preview& p = ThePreview(static_cast<int>(state.range(0)));
  for (auto _ : state) p.view->GetScene()->Render();
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Frame)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The hover: the cursor over an object (the preview's centre).
void BM_PickNearTheCursor(benchmark::State& state) {
  Preview& p = ThePreview(static_cast<int>(state.range(0)));
  uint32_t id = 0;
  for (auto _ : state) benchmark::DoNotOptimize(p.view->PickNear({400, 300}, &id));
  state.counters["name"] = id;
}
BENCHMARK(BM_PickNearTheCursor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Over empty space (what the cursor asks while it moves across a gap).
void BM_PickNearNothing(benchmark::State& state) {
  Preview& p = ThePreview(static_cast<int>(state.range(0)));
  uint32_t id = 0;
  for (auto _ : state) benchmark::DoNotOptimize(p.view->PickNear({2, 2}, &id));
}
BENCHMARK(BM_PickNearNothing)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The first hover after the view moved (a pixel of pan): the picks' index
// is made again for the new view.
void BM_PickNearAfterPan(benchmark::State& state) {
  Preview& p = ThePreview(static_cast<int>(state.range(0)));
  uint32_t id = 0;
  int step = 1;
  for (auto _ : state) {
    p.view->Pan(step, 0);
    step = -step;
    benchmark::DoNotOptimize(p.view->PickNear({400, 300}, &id));
  }
}
BENCHMARK(BM_PickNearAfterPan)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// With long labels: a frame, the hover at the centre, and the first hover
// after a highlight (the hovered name highlighted, then the next one).
void BM_LabelledFrame(benchmark::State& state) {
  Preview& p = ThePreview(static_cast<int>(state.range(0)), state.range(1) ? kLabelledTall : kLabelled);
  p.view->GetScene()->Render();  // the labels laid out and compiled
  for (auto _ : state) p.view->GetScene()->Render();
}
BENCHMARK(BM_LabelledFrame)
    ->ArgNames({"entities", "tall"})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

// The first frame after the view moved (a pixel of pan): small labels
// find the pixels they cover again.
void BM_LabelledFrameAfterPan(benchmark::State& state) {
  Preview& p = ThePreview(static_cast<int>(state.range(0)), state.range(1) ? kLabelledTall : kLabelled);
  p.view->GetScene()->Render();
  int step = 1;
  for (auto _ : state) {
    p.view->Pan(step, 0);
    step = -step;
    p.view->GetScene()->Render();
  }
  if (step < 0) p.view->Pan(-1, 0);  // the view as the other benchmarks have it
}
BENCHMARK(BM_LabelledFrameAfterPan)
    ->ArgNames({"entities", "tall"})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_LabelledHover(benchmark::State& state) {
  Preview& p = ThePreview(static_cast<int>(state.range(0)), state.range(1) ? kLabelledTall : kLabelled);
  uint32_t id = 0;
  p.view->PickNear({400, 300}, &id);  // the index made
  for (auto _ : state) benchmark::DoNotOptimize(p.view->PickNear({400, 300}, &id));
  state.counters["name"] = id;
}
BENCHMARK(BM_LabelledHover)
    ->ArgNames({"entities", "tall"})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_LabelledHoverAfterHighlight(benchmark::State& state) {
  Preview& p = ThePreview(static_cast<int>(state.range(0)), state.range(1) ? kLabelledTall : kLabelled);
  uint32_t id = 0;
  p.view->PickNear({400, 300}, &id);
  int32_t group = 1;
  for (auto _ : state) {
    state.PauseTiming();
    p.view->GetScene()->HighlightGroup(group, true, true);
    group = group % 1000 + 1;
    state.ResumeTiming();
    benchmark::DoNotOptimize(p.view->PickNear({400, 300}, &id));
  }
}
BENCHMARK(BM_LabelledHoverAfterHighlight)
    ->ArgNames({"entities", "tall"})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_PickUnderTheCursor(benchmark::State& state) {
  Preview& p = ThePreview(10000);
  p.view->GetScene()->Pick(400, 300);
  const long before = ResidentKb();
  for (auto _ : state) benchmark::DoNotOptimize(p.view->GetScene()->Pick(400, 300));
  state.counters["kB kept a pick"] = static_cast<double>(ResidentKb() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PickUnderTheCursor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--first-fill") == 0) return FirstFill(std::atoi(argv[2]));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
