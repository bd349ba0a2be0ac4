// Edits of a large drawing cost what they touch: every entity of a network
// drawing replaced by itself inside a command that is then rolled back
// (ReplaceEntities/N), and the plug-in's Exclude_From over every pipe of an
// all-pipe drawing, run through the host library as the runner runs it
// (ExcludePipes/N). The last argument: 1 when the drawing's handles are
// written in a random order. Compare N against N/4: the time should grow
// about as N does, at most 4.5 times.
#include <benchmark/benchmark.h>

#include <stdlib.h>

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

void ReplaceEntities(benchmark::State& state) {
  bench::NetworkDrawingShape shape;
  shape.entities = static_cast<size_t>(state.range(0));
  shape.shuffledHandles = state.range(1) != 0;
  const std::string text = bench::MakeNetworkDrawing(shape).text;
  DxfDrawing drawing;
  Load(state, drawing, text);
  for (auto _ : state) {
    drawing.KeepJournal(true);
    std::vector<DxfEntity*> entities;
    for (const auto& e : drawing.Entities()) entities.push_back(e.get());
    for (DxfEntity* e : entities)
      if (!drawing.ReplaceEntity(*e, CopyPairs(*e), nullptr)) state.SkipWithError("an entity was refused");
    drawing.RollBack(0);
    drawing.KeepJournal(false);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ReplaceEntities)->Args({100000, 0})->Args({400000, 0})->Args({100000, 1})->Args({400000, 1})
    ->Unit(benchmark::kMillisecond);

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
void ExcludePipes(benchmark::State& state) {
  Runner& runner = TheRunner();
  const DravikHostControl* control = runner.Control();
  if (!control) {
    state.SkipWithError("the host library did not load");
    return;
  }
  bench::NetworkDrawingShape shape;
  shape.entities = static_cast<size_t>(state.range(0));
  shape.pipes = 12;
  shape.shuffledHandles = state.range(1) != 0;
  const std::string drawing = runner.Scratch() + "/pipes.dxf";
  if (!bench::WriteNetworkDrawing(drawing, shape)) {
    state.SkipWithError("the drawing could not be written");
    return;
  }
  char error[1024] = {};
  for (auto _ : state) {
    state.PauseTiming();
    if (!control->OpenDrawing(drawing.c_str(), error, sizeof error)) {
      state.SkipWithError(error);
      break;
    }
    std::string scriptError;
    CurrentSessionScript().LoadText("select-window -1e6 -1e6 1e6 1e6\n", runner.Scratch(), &scriptError);
    HMODULE plugin = LoadLibraryA((runner.Folder() + "/Jov_Vantrix.dll").c_str());
    auto exclude = plugin ? reinterpret_cast<int (*)()>(GetProcAddress(plugin, "Exclude_From")) : nullptr;
    if (!exclude) {
      state.SkipWithError("the plug-in did not load");
      break;
    }
    state.ResumeTiming();
    control->BeginCommand();
    const int result = exclude();
    const int change = control->EndCommand();
    state.PauseTiming();
    FreeLibrary(plugin);
    ClearUiJournal();
    if (result != 1 || change != kDravikCommitted || !CurrentSessionScript().Remaining().empty()) {
      state.SkipWithError("the command did not commit its change");
      break;
    }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
// Several runs in each figure and one to warm up: a single run of the
// command varies with what the machine's other work does to its memory.
BENCHMARK(ExcludePipes)->Args({10000, 0})->Args({40000, 0})->Args({10000, 1})->Args({40000, 1})
    ->MinTime(2.0)->MinWarmUpTime(0.5)->Unit(benchmark::kMillisecond);

}  // namespace
