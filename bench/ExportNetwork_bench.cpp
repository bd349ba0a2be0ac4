// The export at list level on a generated network: reading the kept chains
// into the scheme, numbering what the user left (as confirming the export
// dialog does), building the section list, writing the exchange file and
// letting the lists go.
//
// The network: G association groups of P pipe pairs each. A group's first
// pair is its riser pipe, vertical, meeting the next group's riser pipe end
// to end; the others run as a branch from it. Every pipe of the section has
// a floor-plan pipe linked to it by a handle of its own, and every group a
// product insert.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/ExportNetworkReader.h"
#include "jov_vantrix/network/ExportParams.h"
#include "jov_vantrix/network/ExportSectionList.h"
#include "jov_vantrix/network/SectionFile.h"
#include "jov_vantrix/tests/NetworkChains.h"

namespace {

using Props = std::vector<std::pair<std::string, std::string>>;

void AddGroup(KeptChains& kept, int g, int pairs) {
  const std::string assoc = "A" + std::to_string(g);
  const std::string branch = std::to_string(g % 50 + 1);
  const Props scheme{{"_NBRANCH", branch}, {"_NUM_BRANCH", branch}, {"_NUM_SIDE", "0"}, {"CM", "1"},
                     {"CT", "T1"}, {"_NUM_ASSOC", assoc}, {"_SCH_ASSOC", "S1"}};
  Props product{{"_TYPE", "1048705"}, {"_NUM_RISER", "1"}};
  product.insert(product.end(), scheme.begin(), scheme.end());
  kept.Add({"INSERT", {{1, g * 10.0 + 1, 0}}, 0, "", "TCD0000i0001", product, "", ""});

  // The first group's riser pipe stands apart: the network's start pipe.
  const double riserX = g == 0 ? -5.0 : 0.0;
  for (int i = 0; i < pairs; ++i) {
    for (int side = 0; side < 2; ++side) {
      const double offset = side * 0.1;
      std::vector<GLVector> points;
      if (i == 0)
        points = {{riserX + offset, g * 10.0, 0}, {riserX + offset, (g + 1) * 10.0, 0}};
      else
        points = {{(i - 1) * 2.0, g * 10.0 + 5 - offset, 0}, {i * 2.0, g * 10.0 + 5 - offset, 0}};
      Props props{{"_TYPE", "128"}, {"_NUM_RISER", "1"}, {"_LENGTH_SEGMENT", "2.000"},
                  {"_DW_NUMBER", "e" + std::to_string(i + 1)}, {"_DW_NUMBER_ORIG", "e" + std::to_string(i + 1)},
                  {"_DW_CONNECT", "e" + std::to_string(i)}, {"_DW_CONNECT_ORIG", "e" + std::to_string(i)}};
      if (i == 0) props.push_back({"_POS_RISER", "1"});
      props.insert(props.end(), scheme.begin(), scheme.end());
      const std::string link = std::to_string(g) + "-" + std::to_string(i);
      kept.Add({"LWPOLYLINE", points, 0, "", side ? "TPZ0015i0001" : "TPP0015i0001", props, link, ""});
      kept.Add({"LWPOLYLINE", {{1000 + i * 2.0, g * 10.0 - offset, 0}, {1002 + i * 2.0, g * 10.0 - offset, 0}}, 0,
                "", side ? "TPZ0015-0001" : "TPP0015-0001",
                {{"_TYPE", "128"}, {"_NBRANCH", branch}, {"_BRANCH", branch}, {"CM", "1"}, {"CT", "T1"}}, link,
                ""});
    }
  }
}

// The export as confirming the dialog runs it, from the chains the dialog
// keeps; false when a step failed.
bool Export(KeptChains& kept, const std::string& file, std::unique_ptr<CObjSezNew>& network,
            std::unique_ptr<CSecSezNew>& sections, benchmark::State& state) {
  network = std::make_unique<CObjSezNew>();
  sections = std::make_unique<CSecSezNew>();
  if (ReadExportNetwork(*network, kept.Held()) != kExportComplete) {
    state.SkipWithError("not a complete scheme");
    return false;
  }
  CompleteExportNumbering(*network);
  if (!BuildExportSectionList(*network, ExportParams{}, *sections)) {
    state.SkipWithError("no section list");
    return false;
  }
  if (!WriteSectionFile(*sections, file.c_str(), false)) {
    state.SkipWithError("not written");
    return false;
  }
  return true;
}

// firstInProcess: every export starts from a heap that gave its free pages
// back (malloc_trim, and the records' pool its slabs), as the first export
// of a session does, so each one also pays the page faults of growing the
// heap. Otherwise one export runs before the timed ones, so that every
// timed export finds the heap as the one before left it, whatever the
// number of iterations the library picks for a size (a first export among
// three at one size and alone at the other would not compare the sizes).
void ExportAtListLevel(benchmark::State& state, bool firstInProcess) {
  const int pairs = static_cast<int>(state.range(0));
  const int groups = static_cast<int>(state.range(1));
  KeptChains kept;
  for (int g = 0; g < groups; ++g) AddGroup(kept, g, pairs / groups);
  const std::string file = "/tmp/bench_export_" + std::to_string(getpid()) + ".txt";
  std::unique_ptr<CObjSezNew> network;
  std::unique_ptr<CSecSezNew> sections;
  // Letting the lists go is part of what the user waits for when the export
  // ends, so it is timed with it; only giving the memory back to the system
  // before a first export is not.
  auto letGo = [&] {
    network.reset();
    sections.reset();
  };
  auto emptyHeap = [&] {
    if (firstInProcess) {
      malloc_trim(0);
      ReleaseRecordMemory();
    }
  };
  if (!firstInProcess && !Export(kept, file, network, sections, state)) return;
  letGo();
  emptyHeap();
  for (auto _ : state) {
    if (!Export(kept, file, network, sections, state)) break;
    state.counters["sections"] = static_cast<double>(sections->GetCount());
    letGo();
    if (firstInProcess) {
      state.PauseTiming();
      emptyHeap();
      state.ResumeTiming();
    }
  }
  std::remove(file.c_str());
  state.counters["entities"] = static_cast<double>(kept.Array()->GetCount());
}

void BM_ExportAtListLevel(benchmark::State& state) { ExportAtListLevel(state, false); }
void BM_FirstExportAtListLevel(benchmark::State& state) { ExportAtListLevel(state, true); }

// 10,000 pipe pairs in 1,000 groups, and twice the network. The figure is
// the median of three runs: on a shared machine one run can catch a burst
// of other work.
void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({10000, 1000})->Args({20000, 2000})->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
}

}  // namespace

BENCHMARK(BM_ExportAtListLevel)->Apply(Sizes);
BENCHMARK(BM_FirstExportAtListLevel)->Apply(Sizes);
