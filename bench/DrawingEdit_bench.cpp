// Edits of a large drawing cost what they touch: every entity of a network
// drawing replaced by itself inside a command that is then rolled back
// (ReplaceEntities/N), and the plug-in's Exclude_From over every pipe of an
// all-pipe drawing, run through the host library as the runner runs it
// (ExcludePipes/N). The last argument: 1 when the drawing's handles are
// written in a random order. Compare N against N/4: the time should grow
// about as N does, at most 4.5 times.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/NetworkDrawing.h"
#include "platform/host/DxfDrawing.h"
#include "platform/host/exports/HostControl.h"
#include "platform/win32/driver/session_script.h"
#include "platform/win32/driver/ui_driver.h"
#include "platform/win32/module_loader.h"

namespace {

using host::DxfDrawing;
using host::DxfEntity;
using host::PairList;

// A copy of the entity's pairs, as a command hands them back.
PairList CopyPairs(const DxfEntity& e) {
  PairList pairs;
  pairs.reserve(e.pairs.size());
  for (const host::DxfPair& p : e.pairs) pairs.push_back({p.code, std::string_view(p.value)});
  return pairs;
}

void Load(benchmark::State& state, DxfDrawing& drawing, const std::string& text) {
  host::DxfError error;
  if (!drawing.LoadText(text, &error)) state.SkipWithError(error.ToString().c_str());
}

void ReplaceAll(benchmark::State& state, DxfDrawing& drawing) {
  drawing.KeepJournal(true);
  std::vector<DxfEntity*> entities;
  for (const auto& e : drawing.Entities()) entities.push_back(e.get());
  for (DxfEntity* e : entities)
    if (!drawing.ReplaceEntity(*e, CopyPairs(*e), nullptr)) state.SkipWithError("an entity was refused");
  drawing.RollBack(0);
  drawing.KeepJournal(false);
}

std::string DrawingText(size_t entities, bool shuffled) {
  bench::NetworkDrawingShape shape;
  shape.entities = entities;
  shape.shuffledHandles = shuffled;
  return bench::MakeNetworkDrawing(shape).text;
}

void ReplaceEntities(benchmark::State& state) {
  DxfDrawing drawing;
  Load(state, drawing, DrawingText(static_cast<size_t>(state.range(0)), state.range(1) != 0));
  for (auto _ : state) ReplaceAll(state, drawing);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ReplaceEntities)->Args({100000, 0})->Args({400000, 0})->Args({100000, 1})->Args({400000, 1})
    ->Unit(benchmark::kMillisecond);

// The same in pairs, 100,000 then 400,000 entities one right after the
// other, so that both see the machine alike: "ratio" is the median of the
// pairs' ratios (at most 4.5).
void ReplaceEntitiesPaired(benchmark::State& state) {
  DxfDrawing small, large;
  Load(state, small, DrawingText(100000, state.range(0) != 0));
  Load(state, large, DrawingText(400000, state.range(0) != 0));
  std::vector<double> ratios;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    ReplaceAll(state, small);
    const auto middle = std::chrono::steady_clock::now();
    ReplaceAll(state, large);
    const auto end = std::chrono::steady_clock::now();
    ratios.push_back(std::chrono::duration<double>(end - middle).count() /
                     std::chrono::duration<double>(middle - start).count());
  }
  std::sort(ratios.begin(), ratios.end());
  if (!ratios.empty()) state.counters["ratio"] = ratios[ratios.size() / 2];
}
BENCHMARK(ReplaceEntitiesPaired)->Arg(0)->Arg(1)->MinTime(5.0)->Unit(benchmark::kMillisecond);

// The host library and the plug-in from the program's folder, driven as the
// runner drives them, with a profile of their own.
class Runner {
 public:
  Runner() {
    char program[4096] = {};
    GetModuleFileNameA(nullptr, program, sizeof program);
    folder_ = std::filesystem::path(program).parent_path().string();
    std::string pattern = (std::filesystem::temp_directory_path() / "bench-exclude-XXXXXX").string();
    scratch_ = mkdtemp(pattern.data()) ? pattern : "";
    host_ = LoadLibraryA((folder_ + "/dravik2d.arx").c_str());
    auto get = host_ ? reinterpret_cast<GetDravikControlFn>(GetProcAddress(host_, kDravikControlExport)) : nullptr;
    control_ = get ? get() : nullptr;
    char error[256];
    if (control_ && !scratch_.empty() && control_->version == kDravikControlVersion &&
        control_->SetOption("edition", "full", error, sizeof error) &&
        control_->SetOption("module-folder", folder_.c_str(), error, sizeof error) &&
        control_->SetOption("profile", scratch_.c_str(), error, sizeof error))
      ready_ = true;
  }
  ~Runner() {
    std::error_code ignored;
    if (!scratch_.empty()) std::filesystem::remove_all(scratch_, ignored);
  }
  const DravikHostControl* Control() const { return ready_ ? control_ : nullptr; }
  const std::string& Folder() const { return folder_; }
  const std::string& Scratch() const { return scratch_; }

 private:
  std::string folder_, scratch_;
  HMODULE host_ = nullptr;
  const DravikHostControl* control_ = nullptr;
  bool ready_ = false;
};

Runner& TheRunner() {
  static Runner runner;
  return runner;
}

// Exclude_From as the user waits for it: the plug-in asks for the
// selection (a window round the whole drawing), reads every pipe's chain
// from the host, writes each one back with the flag changed, and the host
// commits the change. The drawing is opened, and the plug-in loaded, before
// each run as the runner does, untimed.
// The drawing of so many pipes written for the runner to open; "" when it
// could not be.
std::string PipeDrawing(const Runner& runner, size_t pipes, bool shuffled) {
  bench::NetworkDrawingShape shape;
  shape.entities = pipes;
  shape.pipes = 12;
  shape.shuffledHandles = shuffled;
  const std::string path = runner.Scratch() + "/pipes" + std::to_string(pipes) + (shuffled ? "s" : "") + ".dxf";
  return bench::WriteNetworkDrawing(path, shape) ? path : "";
}

// One run of the command on the drawing, opened and the plug-in loaded
// first, as the runner does: the seconds it took, or a negative number
// with the reason in *error.
double TimeExclude(const Runner& runner, const std::string& drawing, std::string* error) {
  const DravikHostControl& control = *runner.Control();
  char text[1024] = {};
  if (drawing.empty() || !control.OpenDrawing(drawing.c_str(), text, sizeof text)) {
    *error = drawing.empty() ? "the drawing could not be written" : text;
    return -1;
  }
  CurrentSessionScript().LoadText("select-window -1e6 -1e6 1e6 1e6\n", runner.Scratch(), error);
  HMODULE plugin = LoadLibraryA((runner.Folder() + "/Jov_Vantrix.dll").c_str());
  auto exclude = plugin ? reinterpret_cast<int (*)()>(GetProcAddress(plugin, "Exclude_From")) : nullptr;
  if (!exclude) {
    *error = "the plug-in did not load";
    return -1;
  }
  const auto start = std::chrono::steady_clock::now();
  control.BeginCommand();
  const int result = exclude();
  const int change = control.EndCommand();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  FreeLibrary(plugin);
  ClearUiJournal();
  if (result != 1 || change != kDravikCommitted || !CurrentSessionScript().Remaining().empty()) {
    *error = "the command did not commit its change";
    return -1;
  }
  return seconds;
}

void ExcludePipes(benchmark::State& state) {
  Runner& runner = TheRunner();
  if (!runner.Control()) {
    state.SkipWithError("the host library did not load");
    return;
  }
  const std::string drawing = PipeDrawing(runner, static_cast<size_t>(state.range(0)), state.range(1) != 0);
  std::string error;
  for (auto _ : state) {
    const double seconds = TimeExclude(runner, drawing, &error);
    if (seconds < 0) {
      state.SkipWithError(error.c_str());
      break;
    }
    state.SetIterationTime(seconds);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
// Several runs in each figure and one to warm up: a single run of the
// command varies with what the machine's other work does to its memory.
BENCHMARK(ExcludePipes)->Args({10000, 0})->Args({40000, 0})->Args({10000, 1})->Args({40000, 1})
    ->UseManualTime()->MinTime(2.0)->MinWarmUpTime(0.5)->Unit(benchmark::kMillisecond);

// The same in pairs, 10,000 pipes then 40,000: "ratio" is the median of
// the pairs' ratios (at most 4.5).
void ExcludePipesPaired(benchmark::State& state) {
  Runner& runner = TheRunner();
  if (!runner.Control()) {
    state.SkipWithError("the host library did not load");
    return;
  }
  const std::string small = PipeDrawing(runner, 10000, state.range(0) != 0);
  const std::string large = PipeDrawing(runner, 40000, state.range(0) != 0);
  std::vector<double> ratios;
  std::string error;
  for (auto _ : state) {
    const double first = TimeExclude(runner, small, &error);
    const double second = first < 0 ? -1 : TimeExclude(runner, large, &error);
    if (second < 0) {
      state.SkipWithError(error.c_str());
      break;
    }
    state.SetIterationTime(first + second);
    ratios.push_back(second / first);
  }
  std::sort(ratios.begin(), ratios.end());
  if (!ratios.empty()) state.counters["ratio"] = ratios[ratios.size() / 2];
}
BENCHMARK(ExcludePipesPaired)->Arg(0)->Arg(1)->UseManualTime()->MinTime(5.0)->Unit(benchmark::kMillisecond);

}  // namespace
