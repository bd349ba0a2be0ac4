// The parameter engine regenerating a product view: the sample radiator's
// view B, and a generated product of 1,000 definition points and 20
// parameters. Parameters and formulas texts are read from the catalogue
// before the loop; each iteration parses and sorts the geometry, takes the
// formulas onto its points, builds the definitions and regenerates a copy
// of the chain. Targets: under 0.5 ms for the radiator, 50 ms for the large
// product. The parts are timed on their own as well.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "dataformat/GroupCodeChain.h"
#include "platform/catalogue/CatalogueSource.h"
#include "platform/catalogue/Database.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/DefinitionPoints.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/GeometryRegeneration.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ProductFormulas.h"

namespace {

namespace fs = std::filesystem;

// What the loop starts from: the product's parameters, its view's chain
// and its formulas text.
struct Product {
  jovDatabase::Database* catalogue = nullptr;
  CObjectSez params;
  jovDatabase::resultResbuf geometry;
  std::string formulas;

  bool Load(const std::string& folder, char trade, const char* id) {
    catalogue = jovDatabase::Database::Open(folder.c_str(), trade);
    if (!catalogue || catalogue->GoIndexID(id) != jovDatabase::eOK) return false;
    SetCurrentCatalogue(catalogue);
    qmString text;
    if (!LoadProductParameters(params) || catalogue->GetItemsDxfB(geometry) != jovDatabase::eOK ||
        catalogue->GetParmsParB(text) != jovDatabase::eOK)
      return false;
    formulas = text.GetString() ? text.GetString() : "";
    return RegeneratesItself();
  }

  // At its catalogue values the product draws its own geometry again: what
  // is timed is the real work.
  bool RegeneratesItself() {
    CObjectSez points;
    ParseProductGeometry(points, geometry.head, true);
    ReadProductFormulas(points, formulas);
    resbuf* copy = CopyGroupCodeChain(geometry.head);
    RegenerateProductGeometry(points, params, copy);
    bool same = true;
    for (const resbuf *a = geometry.head, *b = copy; a && b; a = a->next, b = b->next)
      if (a->code >= 10 && a->code <= 13)
        for (int i = 0; i < 3; ++i) same = same && std::fabs(a->value.point[i] - b->value.point[i]) < 0.01;
    FreeGroupCodeChain(copy);
    if (!same) std::fprintf(stderr, "the product does not regenerate its own geometry\n");
    return same;
  }
};

std::string ModuleFolder() {
  return fs::read_symlink("/proc/self/exe").parent_path().string();
}

// A scratch folder of this run, removed at exit.
const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string path = (fs::temp_directory_path() / "jov_bench_XXXXXX").string();
    if (!mkdtemp(path.data())) std::abort();
    std::atexit([] { fs::remove_all(ScratchFolder()); });
    return path;
  }();
  return folder;
}

// A product of 500 lines (1,000 points) whose every coordinate is a formula
// over one of 20 parameters, built as a catalogue of its own.
std::string LargeCatalogue() {
  const std::string& folder = ScratchFolder();
  std::string source = "[catalogue]\ntrade = T\n[partypes]\n1 | L | 0 | 0 | 100000\n[item]\nid = TGN1000-0001\n";
  source += "type = 128\nstatus = 0x48000000\nparams <<\n";
  for (int p = 1; p <= 20; ++p) source += "P" + std::to_string(p) + "|Parametr|1|" + std::to_string(100 * p) + "||\n";
  source += ">>\ndxfB <<\n";
  std::string formulas = "1\r\n";
  // Points (x, y) on a grid 10 apart, in the sorted order: x first, then y.
  // Line i joins the points 2i and 2i + 1 of that order.
  char line[160];
  for (int i = 0; i < 500; ++i) {
    const int x = i / 25;
    const int y0 = (i % 25) * 2;
    std::snprintf(line, sizeof line, "0 LINE\n8 0\n10 %d\n20 %d\n30 0\n11 %d\n21 %d\n31 0\n", x * 10, y0 * 10, x * 10,
                  (y0 + 1) * 10);
    source += line;
  }
  for (int x = 0; x < 20; ++x)
    for (int y = 0; y < 50; ++y) {
      const int p = 1 + (x + y) % 20;
      std::snprintf(line, sizeof line, "%d*P%d/%d|P%d*%d/%d+0.00|0.00\r\n", x * 10, p, 100 * p, p, y * 10, 100 * p);
      formulas += line;
    }
  source += ">>\nparB <<\n";
  // The source keeps its lines; the build stores the block with CR LF.
  for (size_t at = 0; at < formulas.size();) {
    size_t end = formulas.find("\r\n", at);
    source += formulas.substr(at, end - at) + "\n";
    at = end + 2;
  }
  source += ">>\n";
  std::string error;
  if (!jovDatabase::BuildCatalogueFromText(source, (folder + "/T.db").c_str(), error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::abort();
  }
  return folder;
}

// Parse, sort, formulas, definitions and regeneration of a copy.
void Regenerate(benchmark::State& state, Product& product) {
  for (auto _ : state) {
    CObjectSez points;
    ParseProductGeometry(points, product.geometry.head, true);
    ReadProductFormulas(points, product.formulas);
    resbuf* copy = CopyGroupCodeChain(product.geometry.head);
    RegenerateProductGeometry(points, product.params, copy);
    benchmark::DoNotOptimize(copy);
    FreeGroupCodeChain(copy);
  }
}

void ParseOnly(benchmark::State& state, Product& product) {
  for (auto _ : state) {
    CObjectSez points;
    ParseProductGeometry(points, product.geometry.head, true);
    benchmark::DoNotOptimize(points.GetCount());
  }
}

// Regeneration alone, of points parsed once.
void RegenerateOnly(benchmark::State& state, Product& product) {
  CObjectSez points;
  ParseProductGeometry(points, product.geometry.head, true);
  ReadProductFormulas(points, product.formulas);
  for (auto _ : state) {
    resbuf* copy = CopyGroupCodeChain(product.geometry.head);
    RegenerateProductGeometry(points, product.params, copy);
    benchmark::DoNotOptimize(copy);
    FreeGroupCodeChain(copy);
  }
}

Product& Radiator() {
  static Product product;
  static const bool loaded = product.Load(ModuleFolder() + "/Catalogue", 'T', "TOR0600-0001");
  if (!loaded) std::abort();
  SetCurrentCatalogue(product.catalogue);
  return product;
}

Product& Large() {
  static Product product;
  static const bool loaded = product.Load(LargeCatalogue(), 'T', "TGN1000-0001");
  if (!loaded) std::abort();
  SetCurrentCatalogue(product.catalogue);
  return product;
}

void BM_RadiatorViewB(benchmark::State& state) { Regenerate(state, Radiator()); }
void BM_RadiatorParse(benchmark::State& state) { ParseOnly(state, Radiator()); }
void BM_RadiatorRegenerate(benchmark::State& state) { RegenerateOnly(state, Radiator()); }
void BM_Large1000Points(benchmark::State& state) { Regenerate(state, Large()); }
void BM_Large1000Parse(benchmark::State& state) { ParseOnly(state, Large()); }
void BM_Large1000Regenerate(benchmark::State& state) { RegenerateOnly(state, Large()); }

BENCHMARK(BM_RadiatorViewB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RadiatorParse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RadiatorRegenerate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Large1000Points)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Large1000Parse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Large1000Regenerate)->Unit(benchmark::kMillisecond);

}  // namespace
