// Load and save of a large drawing: a 200,000-entity R2010 network drawing
// of about 47 MB (bench/NetworkDrawing.h) is loaded, saved, and the saved
// file loaded again. Each reports MB/s and the process's peak resident
// memory during the run, also as a multiple of the file's size.
//
//   bench_DrawingLoad [benchmark options]
//   bench_DrawingLoad --write-drawing PATH [--second | --czech | --polyline]
//       writes the drawing (or the second, the Czech one, the one with a
//       POLYLINE of a million vertices) only and prints the first LINE's
//       handle
//
// Drawings of 2^20 small objects (R12 and R2010 LINEs, R12 VERTEX runs) are
// loaded for their peak memory alone.
//
// The Czech drawing and the long polyline are also loaded on all threads
// and on one: all threads are never to be slower.
//   bench_DrawingLoad --load-save IN OUT
//       loads IN and saves it unchanged as OUT, as a process of its own
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "bench/NetworkDrawing.h"
#include "bench/ResidentMemory.h"
#include "platform/host/DxfDrawing.h"

namespace {

namespace fs = std::filesystem;

// The drawing and the saved copy, in a folder of their own for the run.
struct Files {
  fs::path folder, drawing, saved;
  double megabytes = 0;
  std::string error;

  explicit Files(const bench::NetworkDrawingShape& shape = {}) {
    std::string pattern = (fs::temp_directory_path() / "drawing-bench.XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
      error = "cannot make a temporary folder";
      return;
    }
    folder = pattern;
    drawing = folder / "network.dxf";
    saved = folder / "saved.dxf";
    if (!bench::WriteNetworkDrawing(drawing.string(), shape)) error = "cannot write " + drawing.string();
    else megabytes = static_cast<double>(fs::file_size(drawing)) / 1e6;
  }
  ~Files() {
    std::error_code ec;
    if (!folder.empty()) fs::remove_all(folder, ec);
  }
};

Files& TheFiles() {
  static Files files;
  return files;
}

// The peak resident size is measured per benchmark: the kernel's high-water
// mark is reset before, read after.
void ResetPeakMemory() { ResetPeakResident(); }
double PeakMegabytes() { return PeakResidentMegabytes(); }

void Report(benchmark::State& state, const Files& files) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * files.megabytes * 1e6));
  double peak = PeakMegabytes();
  state.counters["file_MB"] = files.megabytes;
  state.counters["peak_MB"] = peak;
  state.counters["peak_per_file"] = peak / files.megabytes;
}

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Load(benchmark::State& state, host::DxfDrawing& drawing, const fs::path& path) {
  host::DxfError error;
  if (drawing.Load(path, &error)) return true;
  state.SkipWithError(("load: " + error.ToString()).c_str());
  return false;
}

// Loads path over and over, each drawing let go of untimed; the figures of
// files.
void LoadEach(benchmark::State& state, const fs::path& path, const Files& files = TheFiles()) {
  if (!files.error.empty()) return state.SkipWithError(files.error.c_str());
  ResetPeakMemory();
  for (auto _ : state) {
    auto drawing = std::make_unique<host::DxfDrawing>();
    if (!Load(state, *drawing, path)) break;
    benchmark::DoNotOptimize(drawing->Entities().data());
    state.PauseTiming();
    drawing.reset();
    malloc_trim(0);
    state.ResumeTiming();
  }
  Report(state, files);
}

void BM_Load(benchmark::State& state) { LoadEach(state, TheFiles().drawing); }

// The drawings as users have them (0 Czech, 1 long polyline) on all
// threads (0) or on one (1).
void BM_LoadAsUsersHaveThem(benchmark::State& state) {
  static Files czech(bench::CzechNetworkDrawingShape()), polyline(bench::LongPolylineDrawingShape());
  const Files& files = state.range(0) == 0 ? czech : polyline;
  if (!files.error.empty()) return state.SkipWithError(files.error.c_str());
  host::DxfDrawing::TuneParallelLoad(0, static_cast<unsigned>(state.range(1)));
  LoadEach(state, files.drawing, files);
  host::DxfDrawing::TuneParallelLoad(0, 0);
}
// Drawings of many small objects, on which the peak memory of a load is
// measured: 2^20 short LINEs in R12 (0) and in R2010 (1), and R12 POLYLINEs
// of 100 VERTEX objects each, about as large (2).
std::string SmallObjectDrawing(int kind) {
  const bool r12 = kind != 1;
  std::string text = std::string("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\n") + (r12 ? "AC1009" : "AC1024") +
                     "\n  9\n$HANDSEED\n  5\nFFFFFFF\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
  char buffer[256];
  uint64_t handle = 0x100;
  auto head = [&](const char* type, const char* subclass) {
    std::snprintf(buffer, sizeof buffer, "  0\n%s\n  5\n%llX\n", type, static_cast<unsigned long long>(handle++));
    text += buffer;
    if (!r12) text += std::string("330\n1F\n100\nAcDbEntity\n") + "  8\nTRUBKY\n100\n" + subclass + "\n";
    else text += "  8\nTRUBKY\n";
  };
  const int count = 1 << 20;
  if (kind != 2) {
    for (int i = 0; i < count; ++i) {
      head("LINE", "AcDbLine");
      const double x = (i % 1024) * 1.5, y = (i / 1024) * 1.5;
      std::snprintf(buffer, sizeof buffer, " 10\n%.2f\n 20\n%.2f\n 30\n0.0\n 11\n%.2f\n 21\n%.2f\n 31\n0.0\n", x, y,
                    x + 0.75, y + 0.5);
      text += buffer;
    }
  } else {
    for (int p = 0; p < count / 100; ++p) {
      head("POLYLINE", "AcDb2dPolyline");
      text += " 66\n1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n";
      for (int v = 0; v < 100; ++v) {
        head("VERTEX", "AcDb2dVertex");
        std::snprintf(buffer, sizeof buffer, " 10\n%.2f\n 20\n%.2f\n 30\n0.0\n", v * 1.5, p * 1.5);
        text += buffer;
      }
      head("SEQEND", "AcDbSequenceEnd");
    }
  }
  return text + "  0\nENDSEC\n  0\nEOF\n";
}

struct SmallObjectFiles : Files {
  explicit SmallObjectFiles(int kind) : Files(bench::NetworkDrawingShape{.entities = 1}) {
    if (!error.empty()) return;
    std::ofstream(drawing, std::ios::binary | std::ios::trunc) << SmallObjectDrawing(kind);
    megabytes = static_cast<double>(fs::file_size(drawing)) / 1e6;
  }
};

// The peak of a load of each (the kernel's high-water mark): at most 2.5
// times the file.
void BM_LoadSmallObjects(benchmark::State& state) {
  static SmallObjectFiles r12Lines(0), lines(1), vertices(2);
  SmallObjectFiles* all[] = {&r12Lines, &lines, &vertices};
  const Files& files = *all[state.range(0)];
  LoadEach(state, files.drawing, files);
}
BENCHMARK(BM_LoadSmallObjects)
    ->ArgNames({"r12lines_lines_vertices"})
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0);

BENCHMARK(BM_LoadAsUsersHaveThem)
    ->ArgNames({"polyline", "threads"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

void BM_Save(benchmark::State& state) {
  const Files& files = TheFiles();
  if (!files.error.empty()) return state.SkipWithError(files.error.c_str());
  host::DxfDrawing drawing;
  if (!Load(state, drawing, files.drawing)) return;
  ResetPeakMemory();
  for (auto _ : state) {
    host::DxfError error;
    if (!drawing.Save(files.saved, &error)) {
      state.SkipWithError(("save: " + error.ToString()).c_str());
      break;
    }
  }
  Report(state, files);
}

// The saved file: the same bytes as the drawing, loaded as fast.
void BM_LoadSaved(benchmark::State& state) {
  const Files& files = TheFiles();
  std::error_code ec;
  if (!fs::exists(files.saved, ec)) return state.SkipWithError("nothing saved: run BM_Save first");
  if (Contents(files.saved) != Contents(files.drawing))
    return state.SkipWithError("the saved drawing differs from the loaded one");
  LoadEach(state, files.saved);
}

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_LoadSaved)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--write-drawing") == 0) {
    std::string firstLine;
    bench::NetworkDrawingShape shape;
    if (argc == 4 && std::strcmp(argv[3], "--second") == 0) shape = bench::SecondNetworkDrawingShape();
    else if (argc == 4 && std::strcmp(argv[3], "--czech") == 0) shape = bench::CzechNetworkDrawingShape();
    else if (argc == 4 && std::strcmp(argv[3], "--polyline") == 0) shape = bench::LongPolylineDrawingShape();
    else if (argc == 4) return 2;
    if (!bench::WriteNetworkDrawing(argv[2], shape, &firstLine)) {
      std::fprintf(stderr, "cannot write %s\n", argv[2]);
      return 1;
    }
    std::printf("%s\n", firstLine.c_str());
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "--load-save") == 0) {
    host::DxfDrawing drawing;
    host::DxfError error;
    if (!drawing.Load(argv[2], &error) || !drawing.Save(argv[3], &error)) {
      std::fprintf(stderr, "%s\n", error.ToString().c_str());
      return 1;
    }
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
