// Resource tables of many entries: a script of that many strings compiled,
// and its compiled image read back. Both should grow in step with the
// number of entries.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/resources/compiler/ResourceScriptCompiler.h"
#include "platform/win32/resource_file.h"

namespace {

// A script of count strings, each id written with a macro as scripts do.
std::string WriteScript(int count) {
  const std::string path = "/tmp/resource_table_bench_" + std::to_string(getpid()) + "_" +
                           std::to_string(count) + ".rc";
  std::string text = "#define IDS_BASE 1\nSTRINGTABLE\nBEGIN\n";
  for (int i = 0; i < count; ++i)
    text += " IDS_BASE + " + std::to_string(i) + " \"string number " + std::to_string(i) + "\"\n";
  text += "END\n";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size()) std::abort();
  std::fclose(f);
  return path;
}

void BM_CompileStrings(benchmark::State& state) {
  const std::string script = WriteScript(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ResourceScriptCompiler compiler;
    ResourceTable table = compiler.Compile(script);
    benchmark::DoNotOptimize(table.entries.data());
  }
  std::remove(script.c_str());
  state.SetComplexityN(state.range(0));
}

void BM_ReadImage(benchmark::State& state) {
  ResourceTable table;
  for (int i = 0; i < state.range(0); ++i) {
    const std::string text = "string number " + std::to_string(i);
    table.Add(ResourceKey::Number(6), ResourceKey::Number(static_cast<WORD>(i + 1)),
              std::vector<BYTE>(text.begin(), text.end()));
  }
  const std::vector<BYTE> image = SerializeResourceTable(table);
  for (auto _ : state) {
    ResourceTable read;
    std::string error;
    if (!ParseResourceImage(image.data(), image.size(), read, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(read.entries.data());
  }
  state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_CompileStrings)->Arg(4000)->Arg(16000)->Arg(64000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ReadImage)->Arg(4000)->Arg(16000)->Arg(64000)->Unit(benchmark::kMillisecond)->Complexity();
