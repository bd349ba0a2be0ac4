// Edits of a large drawing cost what they touch: every entity of a network
// drawing replaced by itself inside a command that is then rolled back
// (ReplaceEntities/N), and every pipe of an all-pipe drawing marked as
// Exclude_From marks it, the eighth character of its product code, and
// committed (ExcludePipes/N). The last argument: 1 when the drawing's
// handles are written in a random order. Compare N against N/4: the time
// should grow about as N does.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "bench/NetworkDrawing.h"
#include "platform/host/DxfDrawing.h"

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

void ExcludePipes(benchmark::State& state) {
  bench::NetworkDrawingShape shape;
  shape.entities = static_cast<size_t>(state.range(0));
  shape.pipes = 12;
  shape.shuffledHandles = state.range(1) != 0;
  const std::string text = bench::MakeNetworkDrawing(shape).text;
  DxfDrawing drawing;
  for (auto _ : state) {
    state.PauseTiming();
    Load(state, drawing, text);
    std::vector<DxfEntity*> pipes;
    for (const auto& e : drawing.Entities()) pipes.push_back(e.get());
    // The selection comes in the order the user picked, not the file's.
    std::shuffle(pipes.begin(), pipes.end(), std::mt19937_64(1250));
    state.ResumeTiming();
    drawing.KeepJournal(true);
    for (DxfEntity* pipe : pipes) {
      PairList pairs = CopyPairs(*pipe);
      for (size_t i = 0; i + 1 < pairs.size(); ++i)
        if (pairs[i].code == 1001 && pairs[i].value == "JOV_DATA" && pairs[i + 1].value.size() > 7) {
          std::string code(std::string_view(pairs[i + 1].value));
          code[7] = '-';
          pairs[i + 1].value = code;
        }
      if (!drawing.ReplaceEntity(*pipe, std::move(pairs), nullptr)) state.SkipWithError("a pipe was refused");
    }
    drawing.ForgetJournal();
    drawing.KeepJournal(false);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ExcludePipes)->Args({10000, 0})->Args({40000, 0})->Args({10000, 1})->Args({40000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
