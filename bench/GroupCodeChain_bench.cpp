// Deep copies of a long chain on the heap and inside one block, and the
// class look-up every copy and release makes per node.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "dataformat/GroupCodeChain.h"

namespace {

// A 10,000-node chain of entities: 0 type, 8 layer, 10 point, 40 real,
// 70 flags, 1000 string, repeated.
class SourceChain {
 public:
  explicit SourceChain(size_t count) : nodes_(count), textBytes_(0) {
    static const char* const texts[] = {"LINE", "Pipes", "JOV_DATA_VALUE"};
    for (size_t i = 0; i < count; ++i) {
      resbuf& n = nodes_[i];
      std::memset(&n, 0, sizeof n);
      n.next = i + 1 < count ? &nodes_[i + 1] : nullptr;
      switch (i % 6) {
        case 0: n.code = 0; n.value.text = const_cast<char*>(texts[0]); break;
        case 1: n.code = 8; n.value.text = const_cast<char*>(texts[1]); break;
        case 2: n.code = 10; n.value.point[0] = double(i); break;
        case 3: n.code = 40; n.value.real = 0.5; break;
        case 4: n.code = 70; n.value.i16 = 1; break;
        default: n.code = 1000; n.value.text = const_cast<char*>(texts[2]); break;
      }
      if (n.code == 0 || n.code == 8 || n.code == 1000) textBytes_ += std::strlen(n.value.text) + 1;
    }
  }
  const resbuf* Head() const { return &nodes_[0]; }
  // Pool bytes for a narrow copy, with room for node alignment.
  size_t PoolSize() const { return nodes_.size() * (sizeof(resbuf) + 8) + textBytes_; }

 private:
  std::vector<resbuf> nodes_;
  size_t textBytes_;
};

constexpr size_t kNodes = 10000;

void BM_CopyChainHeap(benchmark::State& state) {
  SourceChain source(kNodes);
  for (auto _ : state) {
    resbuf* copy = CopyGroupCodeChain(source.Head());
    benchmark::DoNotOptimize(copy);
    FreeGroupCodeChain(copy);
  }
  state.SetItemsProcessed(state.iterations() * kNodes);
}
BENCHMARK(BM_CopyChainHeap);

void BM_CopyChainPool(benchmark::State& state) {
  SourceChain source(kNodes);
  size_t size = source.PoolSize();
  std::unique_ptr<char, decltype(&std::free)> pool(static_cast<char*>(std::aligned_alloc(8, (size + 7) / 8 * 8)),
                                                   &std::free);
  for (auto _ : state) {
    resbuf* copy = CopyGroupCodeChain(source.Head(), false, false, false, pool.get(), size);
    if (!copy) state.SkipWithError("pool too small");
    benchmark::DoNotOptimize(copy);
  }
  state.SetItemsProcessed(state.iterations() * kNodes);
}
BENCHMARK(BM_CopyChainPool);

void BM_GroupCodeClassLookup(benchmark::State& state) {
  int code = -5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetGroupCodeClass(code));
    code = code == 5023 ? -5 : code + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GroupCodeClassLookup);

}  // namespace
