// A product request without a dialog through the loaded "Wizard.dll", as
// the plug-in's section drawing makes it for every product: the catalogue
// positioned on the product, PPGetResbufEx for view B with the caller's
// values (catalogue reads, parameters, last values, geometry regenerated,
// extended data), then PPFree. The sample pipe and the sample radiator.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "dataformat/resbuf.h"
#include "platform/catalogue/Database.h"
#include "platform/host/exports/HostControl.h"
#include "platform/win32/module_loader.h"

namespace {

using GetResbufEx = int (*)(jovDatabase::Database*, unsigned, resbuf**, resbuf**, unsigned char*, unsigned,
                            const char*, const char*, const char*, const char*, const char*);
using Free = void (*)();

// The host library and the product library from the program's folder, the
// host's heating catalogue and a profile of its own.
class Loaded {
 public:
  Loaded() {
    char program[4096] = {};
    GetModuleFileNameA(nullptr, program, sizeof program);
    const std::string folder = std::filesystem::path(program).parent_path().string();
    std::string pattern = (std::filesystem::temp_directory_path() / "bench-wizard-XXXXXX").string();
    profile_ = mkdtemp(pattern.data());
    host_ = LoadLibraryA((folder + "/dravik2d.arx").c_str());
    auto control = host_ ? reinterpret_cast<GetDravikControlFn>(GetProcAddress(host_, kDravikControlExport))() : nullptr;
    char error[256];
    if (control) {
      control->SetOption("module-folder", folder.c_str(), error, sizeof error);
      control->SetOption("profile", profile_.c_str(), error, sizeof error);
    }
    wizard_ = LoadLibraryA((folder + "/Wizard.dll").c_str());
    auto getDatabase = host_ ? reinterpret_cast<jovDatabase::Database* (*)(char)>(GetProcAddress(host_, "GetDatabase"))
                             : nullptr;
    db = getDatabase ? getDatabase('T') : nullptr;
    if (wizard_) {
      get = reinterpret_cast<GetResbufEx>(GetProcAddress(wizard_, "PPGetResbufEx"));
      free = reinterpret_cast<Free>(GetProcAddress(wizard_, "PPFree"));
    }
  }
  ~Loaded() {
    if (wizard_) FreeLibrary(wizard_);
    std::error_code ignored;
    std::filesystem::remove_all(profile_, ignored);
  }
  bool Ready() const { return db && get && free; }

  jovDatabase::Database* db = nullptr;
  GetResbufEx get = nullptr;
  Free free = nullptr;

 private:
  std::string profile_;
  HMODULE host_ = nullptr;
  HMODULE wizard_ = nullptr;
};

Loaded& Libraries() {
  static Loaded loaded;
  return loaded;
}

void Request(benchmark::State& state, const char* id, const char* names, const char* values) {
  Loaded& l = Libraries();
  if (!l.Ready()) {
    state.SkipWithError("the host, the product library or the catalogue did not load");
    return;
  }
  for (auto _ : state) {
    resbuf* geometry = nullptr;
    resbuf* data = nullptr;
    l.db->GoIndexID(id);
    if (l.get(l.db, 1, &geometry, &data, nullptr, 0, names, values, nullptr, nullptr, nullptr) != 1) {
      state.SkipWithError("the request failed");
      return;
    }
    benchmark::DoNotOptimize(geometry);
    benchmark::DoNotOptimize(data);
    l.free();
  }
}

void BM_Pipe(benchmark::State& state) { Request(state, "TPP0015-0001", "#L/#DN", "1500/20"); }
void BM_Radiator(benchmark::State& state) { Request(state, "TOT0600-0001", "#H/#L", "600/1400"); }

BENCHMARK(BM_Pipe)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Radiator)->Unit(benchmark::kMicrosecond);

}  // namespace
