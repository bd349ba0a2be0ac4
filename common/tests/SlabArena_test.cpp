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

// A block written in place takes what its fill says it took; a fill that
// needs more than the slab's rest gets a fresh slab, one that needs more
// than any block gets nothing. Room that goes with the blocks is no block:
// once the blocks are back, the arena starts over across it.
TEST(SlabArena, FillsBlocksInPlaceAndHandsOutRoomThatGoesWithTheBlocks) {
  SlabArena arena;
  std::vector<size_t> offered;
  auto filler = [&offered](size_t needs) {
    return [needs, &offered](char* room, size_t roomBytes) -> size_t {
      offered.push_back(roomBytes);
      if (roomBytes < needs) return 0;
      std::memset(room, 7, needs);
      return needs;
    };
  };
  auto* first = static_cast<char*>(arena.AllocateFilled(filler(13)));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(offered, std::vector<size_t>{SlabArena::kLargestBlock});
  auto* with = static_cast<char*>(arena.AllocateWithBlocks(5));
  EXPECT_EQ(with, first + 16) << "right after the filled block, 8-aligned";
  EXPECT_EQ(arena.AllocateFilled(filler(SlabArena::kLargestBlock + 1)), nullptr);
  EXPECT_EQ(arena.SlabCount(), 1u) << "no slab offers more: none is mapped for it";

  // Seven largest blocks leave the first slab less than a block's room.
  std::vector<char*> blocks;
  for (int i = 0; i < 7; ++i) blocks.push_back(static_cast<char*>(arena.Allocate(SlabArena::kLargestBlock)));
  const size_t rest = SlabPool::kSlabBytes - 24 - 7 * SlabArena::kLargestBlock;
  offered.clear();
  auto* second = static_cast<char*>(arena.AllocateFilled(filler(rest + 1)));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(offered, (std::vector<size_t>{rest, SlabArena::kLargestBlock})) << "the rest, then a fresh slab";
  EXPECT_EQ(arena.SlabCount(), 2u);
  EXPECT_EQ(second[rest], 7);

  arena.Release(second, rest + 1);
  for (char* block : blocks) arena.Release(block, SlabArena::kLargestBlock);
  EXPECT_NE(arena.AllocateWithBlocks(8), nullptr) << "a block still lives";
  arena.Release(first, 13);
  EXPECT_EQ(arena.Allocate(8), first) << "all blocks back: what went with them is free too";
  arena.Release(first, 8);
  arena.ReleaseUnused();
  EXPECT_EQ(arena.SlabCount(), 0u);
}

}  // namespace
