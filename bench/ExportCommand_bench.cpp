// The export as the user runs it: `Jov_Vantrix_Export` through the host on
// a generated network drawing, from the command to its end (the selection
// read, the dialog opened, the network numbered, the exchange file written
// and the numbers and labels written back into the drawing), beside a load
// and save of the same drawing in the same iteration. Opening the dialog and
// cancelling is timed beside the load alone. The whole export reports the
// process's peak resident memory during the command as a multiple of the
// file, and apart the peak's rise over what was resident before the command
// (the open drawing and the renderer's code, loaded by the first preview).
//
//   bench_ExportCommand [benchmark options]
//   bench_ExportCommand --write-drawing PATH PAIRS
//       writes the drawing of PAIRS pipe pairs (ten to a group) only
//
// The network: G association groups of P pipe pairs each. A group's first
// pair is its riser pipe, vertical, meeting the next group's riser pipe end
// to end; the others run as a branch from it. Every pipe of the section has
// a floor-plan pipe linked to it, and every group a product insert.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/ResidentMemory.h"
#include "platform/host/exports/HostControl.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/driver/script_ui_driver.h"
#include "platform/win32/driver/session_script.h"
#include "platform/win32/driver/ui_driver.h"
#include "platform/win32/module_loader.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kPairsPerGroup = 10;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The entities of the network in DXF text; handles from *handle up.
class NetworkEntities {
 public:
  explicit NetworkEntities(unsigned handle) : handle_(handle) {}

  void Group(int g, int pairs) {
    const std::string assoc = "A" + std::to_string(g);
    const std::string branch = std::to_string(g % 50 + 1);
    const std::string scheme = Pair("_NBRANCH", branch) + Pair("_NUM_BRANCH", branch) + Pair("_NUM_SIDE", "0") +
                               Pair("CM", "1") + Pair("CT", "T1") + Pair("_NUM_ASSOC", assoc) +
                               Pair("_SCH_ASSOC", "S1");
    Head("INSERT", "PRVKY", "AcDbBlockReference");
    text_ += "  2\nJOV_TCD\n";
    Point(1, g * 10.0 + 1);
    text_ += " 30\n0.0\n1001\nJOV_DATA\n1000\nTCD0000i0001\n" + Pair("_TYPE", "1048705") + Pair("_NUM_RISER", "1") +
             scheme + "1001\n_VANTRIX\n1070\n12\n";
    for (int i = 0; i < 8; ++i) text_ += "1000\n\n";
    for (const char* field : {"a", "b", "c", "d"}) text_ += std::string("1000\n") + field + "\n";

    // The first group's riser pipe stands apart: the network's start pipe.
    const double riserX = g == 0 ? -5.0 : 0.0;
    for (int i = 0; i < pairs; ++i) {
      for (int side = 0; side < 2; ++side) {
        const double offset = side * 0.1;
        const std::string link = std::to_string(g) + "-" + std::to_string(i);
        Head("LWPOLYLINE", side ? "TRUBKY_Z" : "TRUBKY_P", "AcDbPolyline");
        text_ += " 90\n2\n 70\n0\n";
        if (i == 0) {
          Point(riserX + offset, g * 10.0);
          Point(riserX + offset, (g + 1) * 10.0);
        } else {
          Point((i - 1) * 2.0, g * 10.0 + 5 - offset);
          Point(i * 2.0, g * 10.0 + 5 - offset);
        }
        text_ += std::string("1001\nJOV_DATA\n1000\n") + (side ? "TPZ0015i0001" : "TPP0015i0001") + "\n" +
                 Pair("_TYPE", "128") + Pair("_NUM_RISER", "1") + (i == 0 ? Pair("_POS_RISER", "1") : "") +
                 Pair("_LENGTH_SEGMENT", "2.000") + Pair("_DW_NUMBER", "e" + std::to_string(i + 1)) +
                 Pair("_DW_NUMBER_ORIG", "e" + std::to_string(i + 1)) + Pair("_DW_CONNECT", "e" + std::to_string(i)) +
                 Pair("_DW_CONNECT_ORIG", "e" + std::to_string(i)) + scheme + "1001\nJOV_LINK\n1000\n" + link + "\n";

        Head("LWPOLYLINE", side ? "TRUBKY_Z" : "TRUBKY_P", "AcDbPolyline");
        text_ += " 90\n2\n 70\n0\n";
        Point(1000 + i * 2.0, g * 10.0 - offset);
        Point(1002 + i * 2.0, g * 10.0 - offset);
        text_ += std::string("1001\nJOV_DATA\n1000\n") + (side ? "TPZ0015-0001" : "TPP0015-0001") + "\n" +
                 Pair("_TYPE", "128") + Pair("_NBRANCH", branch) + Pair("_BRANCH", branch) + Pair("CM", "1") +
                 Pair("CT", "T1") + "1001\nJOV_LINK\n1000\n" + link + "\n";
      }
    }
  }

  const std::string& Text() const { return text_; }
  unsigned NextHandle() const { return handle_; }

 private:
  static std::string Pair(const std::string& key, const std::string& value) {
    return "1000\n" + key + "\n1000\n" + value + "\n";
  }
  void Head(const char* type, const char* layer, const char* subclass) {
    char handle[32];
    std::snprintf(handle, sizeof handle, "%X", handle_++);
    text_ += std::string("  0\n") + type + "\n  5\n" + handle + "\n330\n17\n100\nAcDbEntity\n  8\n" + layer +
             "\n100\n" + subclass + "\n";
  }
  void Point(double x, double y) {
    char text[96];
    std::snprintf(text, sizeof text, " 10\n%.17g\n 20\n%.17g\n", x, y);
    text_ += text;
  }

  unsigned handle_;
  std::string text_;
};

// The drawing of so many pairs, ten to a group, in the tables and blocks
// of the export tests' network drawing; "" when that cannot be read.
std::string NetworkDrawing(int pairs) {
  const std::string fixture = Slurp(fs::path(JOV_SOURCE_DIR) / "tests/data/network.dxf");
  const size_t entities = fixture.find("\nENTITIES\n");
  const size_t end = fixture.find("  0\nENDSEC\n", entities);
  const size_t seed = fixture.find("$HANDSEED\n  5\n");
  if (entities == std::string::npos || end == std::string::npos || seed == std::string::npos) return "";
  const size_t seedValue = seed + std::strlen("$HANDSEED\n  5\n");
  NetworkEntities network(0x100);
  for (int g = 0; g < pairs / kPairsPerGroup; ++g) network.Group(g, kPairsPerGroup);
  char next[32];
  std::snprintf(next, sizeof next, "%X", network.NextHandle());
  const size_t afterSeed = fixture.find('\n', seedValue);
  const size_t entitiesStart = entities + std::strlen("\nENTITIES\n");
  return fixture.substr(0, seedValue) + next + fixture.substr(afterSeed, entitiesStart - afterSeed) + network.Text() +
         fixture.substr(end);
}

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// The host and the plug-in from the program's folder, a profile and a
// folder of drawings of their own, and the script driver.
class Session {
 public:
  Session() : scopedDriver_(&driver_) {
    SetUiJournalDescribesDialogs(false);  // as the runner does unless verbose
    char program[4096] = {};
    GetModuleFileNameA(nullptr, program, sizeof program);
    const std::string modules = fs::path(program).parent_path().string();
    std::string pattern = (fs::temp_directory_path() / "bench-export-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    folder_ = pattern;
    fs::create_directories(folder_ / "profile" / "Dat");
    std::ofstream(folder_ / "profile" / "Dat" / "Jov.ini", std::ios::binary)
        << "[DESC]\r\nHEIGHT=2.5\r\nSCFACTOR=0.8\r\n";
    host_ = LoadLibraryA((modules + "/dravik2d.arx").c_str());
    auto get = host_ ? reinterpret_cast<GetDravikControlFn>(GetProcAddress(host_, kDravikControlExport)) : nullptr;
    control_ = get ? get() : nullptr;
    char error[512];
    if (!control_ || !control_->SetOption("module-folder", modules.c_str(), error, sizeof error) ||
        !control_->SetOption("profile", (folder_ / "profile").c_str(), error, sizeof error) ||
        !control_->SetOption("scale", "100", error, sizeof error)) {
      control_ = nullptr;
      return;
    }
    // The plug-in's start-up binds the host, so after the host.
    plugin_ = LoadLibraryA((modules + "/Jov_Vantrix.dll").c_str());
    if (plugin_) command_ = reinterpret_cast<int (*)(int, void*)>(GetProcAddress(plugin_, "Jov_Vantrix_Export"));
  }
  ~Session() {
    if (control_) control_->Shutdown();
    if (plugin_) FreeLibrary(plugin_);
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
  }
  bool Ready() const { return control_ && command_; }

  // The drawing of so many pairs, written once; "" when it cannot be.
  fs::path Drawing(int pairs) {
    const fs::path path = folder_ / ("network" + std::to_string(pairs) + ".dxf");
    if (!fs::exists(path)) {
      const std::string text = NetworkDrawing(pairs);
      if (text.empty() || !(std::ofstream(path, std::ios::binary) << text)) return "";
    }
    return path;
  }

  bool Open(const fs::path& drawing, std::string* why) {
    char error[512] = {};
    if (control_->OpenDrawing(drawing.c_str(), error, sizeof error)) return true;
    *why = error;
    return false;
  }
  bool Save(std::string* why) {
    char error[512] = {};
    if (control_->SaveDrawing((folder_ / "saved.dxf").c_str(), error, sizeof error)) return true;
    *why = error;
    return false;
  }

  // The export on the open drawing, the whole window of it selected, with
  // these dialog steps; its end (kDravik...), -1 when the script is bad.
  int Export(const std::string& steps, std::string* why) {
    SessionScript& script = CurrentSessionScript();
    const std::string text = "select-window -1e6 -1e6 1e6 1e6\ndialog " + std::to_string(IDD_JOV_EXPORT) + "\n" + steps;
    if (!script.LoadText(text, folder_.string(), why)) return -1;
    ClearUiJournal();
    control_->BeginCommand();
    command_(0, nullptr);
    const int end = control_->EndCommand();
    if (!script.Remaining().empty() || !script.Unanswered().empty()) {
      *why = "the command left the script unfinished";
      return -1;
    }
    return end;
  }
  std::string OkSteps() const {
    return "click " + std::to_string(IDC_EXPORT_NUMBER_ALL) + "\ncheck " + std::to_string(IDC_EXPORT_DESCRIPTIONS) + " 1\nset " + std::to_string(IDC_EXPORT_FILE) + " " +
           ExchangeFile().string() + "\nok\n";
  }
  fs::path ExchangeFile() const { return folder_ / "network.txt"; }

 private:
  ScriptUiDriver driver_;
  ScopedUiDriver scopedDriver_;
  fs::path folder_;
  HMODULE host_ = nullptr;
  HMODULE plugin_ = nullptr;
  const DravikHostControl* control_ = nullptr;
  int (*command_)(int, void*) = nullptr;
};

Session& TheSession() {
  static Session session;
  return session;
}

// The whole export of a drawing of range(0) pairs (manual time), and in the
// same iteration a load and save of it: per_load_save is their ratio over
// all iterations.
void BM_ExportCommand(benchmark::State& state) {
  Session& s = TheSession();
  if (!s.Ready()) return state.SkipWithError("the host or the plug-in did not load");
  const fs::path drawing = s.Drawing(static_cast<int>(state.range(0)));
  if (drawing.empty()) return state.SkipWithError("the drawing could not be written");
  const double megabytes = static_cast<double>(fs::file_size(drawing)) / 1e6;
  double exporting = 0, loadSave = 0, peak = 0, added = 0;
  std::string why;
  for (auto _ : state) {
    if (!s.Open(drawing, &why)) return state.SkipWithError(("load: " + why).c_str());
    fs::remove(s.ExchangeFile());
    ResetPeakResident();
    const double before = static_cast<double>(ResidentKb()) * 1024.0 / 1e6;
    Clock::time_point start = Clock::now();
    const int end = s.Export(s.OkSteps(), &why);
    const double seconds = Seconds(start);
    peak = std::max(peak, PeakResidentMegabytes());
    // The process's first export loads the renderer's code as well.
    static bool rendererLoaded = false;
    if (rendererLoaded) added = std::max(added, PeakResidentMegabytes() - before);
    rendererLoaded = true;
    if (end != kDravikCommitted || !fs::exists(s.ExchangeFile()))
      return state.SkipWithError(("the export did not write: " + why).c_str());
    state.SetIterationTime(seconds);
    exporting += seconds;
    start = Clock::now();
    if (!s.Open(drawing, &why) || !s.Save(&why)) return state.SkipWithError(("load and save: " + why).c_str());
    loadSave += Seconds(start);
  }
  state.counters["file_MB"] = megabytes;
  state.counters["load_save_ms"] = loadSave * 1e3 / static_cast<double>(state.iterations());
  state.counters["per_load_save"] = exporting / loadSave;
  state.counters["peak_MB"] = peak;
  state.counters["peak_per_file"] = peak / megabytes;
  state.counters["added_MB"] = added;
  state.counters["added_per_file"] = added / megabytes;
}

// Opening the dialog and cancelling (manual time), beside the load alone.
void BM_ExportDialogCancelled(benchmark::State& state) {
  Session& s = TheSession();
  if (!s.Ready()) return state.SkipWithError("the host or the plug-in did not load");
  const fs::path drawing = s.Drawing(static_cast<int>(state.range(0)));
  if (drawing.empty()) return state.SkipWithError("the drawing could not be written");
  double cancelling = 0, loading = 0;
  std::string why;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    if (!s.Open(drawing, &why)) return state.SkipWithError(("load: " + why).c_str());
    loading += Seconds(start);
    start = Clock::now();
    const int end = s.Export("cancel\n", &why);
    const double seconds = Seconds(start);
    if (end < 0 || end == kDravikCommitted) return state.SkipWithError(("the cancel: " + why).c_str());
    state.SetIterationTime(seconds);
    cancelling += seconds;
  }
  state.counters["load_ms"] = loading * 1e3 / static_cast<double>(state.iterations());
  state.counters["per_load"] = cancelling / loading;
}

// Twice the network, alternated with the network itself: per_half is the
// ratio of their whole exports.
void BM_ExportCommandDoubled(benchmark::State& state) {
  Session& s = TheSession();
  if (!s.Ready()) return state.SkipWithError("the host or the plug-in did not load");
  const fs::path half = s.Drawing(10000), whole = s.Drawing(20000);
  if (half.empty() || whole.empty()) return state.SkipWithError("the drawings could not be written");
  double times[2] = {0, 0};
  std::string why;
  for (auto _ : state) {
    double seconds = 0;
    for (int i = 0; i < 2; ++i) {
      if (!s.Open(i ? whole : half, &why)) return state.SkipWithError(("load: " + why).c_str());
      const Clock::time_point start = Clock::now();
      if (s.Export(s.OkSteps(), &why) != kDravikCommitted)
        return state.SkipWithError(("the export did not write: " + why).c_str());
      seconds = Seconds(start);
      times[i] += seconds;
    }
    state.SetIterationTime(seconds);
  }
  state.counters["half_ms"] = times[0] * 1e3 / static_cast<double>(state.iterations());
  state.counters["per_half"] = times[1] / times[0];
}

BENCHMARK(BM_ExportCommand)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3)
    ->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportDialogCancelled)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3)
    ->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportCommandDoubled)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2)
    ->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--write-drawing") == 0) {
    const std::string text = NetworkDrawing(std::atoi(argv[3]));
    if (text.empty() || !(std::ofstream(argv[2], std::ios::binary) << text)) {
      std::fprintf(stderr, "cannot write %s\n", argv[2]);
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
