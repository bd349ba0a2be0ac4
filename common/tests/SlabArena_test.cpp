#include "common/SlabArena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/SlabPool.h"

namespace {

TEST(SlabArena, HandsOutAlignedBlocksOneAfterAnotherAndStartsOverOnceAllAreBack) {
  SlabArena arena;
  EXPECT_EQ(arena.Allocate(0), nullptr);
  EXPECT_EQ(arena.Allocate(SlabArena::kLargestBlock + 1), nullptr) << "too large: the heap's";
  int local = 0;
  EXPECT_FALSE(arena.Holds(&local));

  // Sizes that leave odd ends: each block starts 8-aligned right after the
  // one before, until a slab is full and the next one is mapped.
  const size_t sizes[] = {1, 13, 40, 1000, SlabArena::kLargestBlock};
  std::vector<std::pair<char*, size_t>> taken;
  while (arena.SlabCount() < 2)
    for (size_t bytes : sizes) {
      auto* at = static_cast<char*>(arena.Allocate(bytes));
      ASSERT_NE(at, nullptr);
      ASSERT_EQ(reinterpret_cast<uintptr_t>(at) % 8, 0u);
      EXPECT_TRUE(arena.Holds(at));
      EXPECT_TRUE(arena.Holds(at + bytes - 1));
      std::memset(at, static_cast<int>(taken.size() & 0xFF), bytes);
      taken.emplace_back(at, bytes);
    }
  EXPECT_EQ(taken[1].first, taken[0].first + 8);
  EXPECT_EQ(taken[2].first, taken[1].first + 16);
  for (size_t i = 0; i < taken.size(); ++i) {
    const auto fill = static_cast<char>(i & 0xFF);
    EXPECT_EQ(taken[i].first[0], fill) << "no block overlaps another";
    EXPECT_EQ(taken[i].first[taken[i].second - 1], fill);
  }

  // Room given back while others live is not taken again.
  arena.Release(taken[0].first, taken[0].second);
  char* next = static_cast<char*>(arena.Allocate(8));
  EXPECT_NE(next, taken[0].first);
  arena.ReleaseUnused();
  EXPECT_EQ(arena.SlabCount(), 2u) << "blocks still live";

  for (size_t i = 1; i < taken.size(); ++i) arena.Release(taken[i].first, taken[i].second);
  arena.Release(next, 8);
  EXPECT_EQ(arena.Allocate(8), taken[0].first) << "all back: the first slab again";
  EXPECT_EQ(arena.SlabCount(), 2u);
  arena.Release(taken[0].first, 8);
  arena.ReleaseUnused();
  EXPECT_EQ(arena.SlabCount(), 0u);
  EXPECT_FALSE(arena.Holds(taken[0].first));
}

}  // namespace
