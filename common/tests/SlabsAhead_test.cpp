#include "common/SlabsAhead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <set>
#include <thread>
#include <vector>

#include "common/SlabArena.h"
#include "common/SlabPool.h"

namespace {

constexpr size_t kReady = 4;

// Waits, without timing anything, for the thread that makes slabs ahead.
SlabsAheadState SettledState() {
  SlabsAheadState state = SlabsAheadNow();
  for (int i = 0; i < 500 && state.filling && state.ready < kReady; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    state = SlabsAheadNow();
  }
  return state;
}

// Commands one after another, each filling a pool or an arena over many
// slabs (the first has them made before it asks): every slab it gets is
// its own, zeroed and writable, whether it stood ready or was mapped on the
// spot; four stand ready while it fills and none once its slabs are given
// back.
TEST(SlabsAhead, EachCommandGetsFreshSlabsAndNoneWaitAfterIt) {
  constexpr size_t kSlabs = 9;
  for (int command = 0; command < 4; ++command) {
    SCOPED_TRACE(command);
    const bool arena = command % 2 == 1;
    SlabPool pool(SlabPool::kSlabBytes / 4);
    SlabArena chains;
    if (command == 0) {  // a command that has them made before it asks
      PrepareSlabsAhead();
      EXPECT_EQ(SettledState().ready, kReady);
    }
    const size_t bytes = arena ? SlabArena::kLargestBlock : pool.SlotBytes();
    std::vector<char*> blocks;
    std::set<uintptr_t> slabs;
    for (size_t i = 0; i < kSlabs * SlabPool::kSlabBytes / bytes; ++i) {
      auto* at = static_cast<char*>(arena ? chains.Allocate(bytes) : pool.Allocate());
      ASSERT_NE(at, nullptr);
      if (slabs.insert(reinterpret_cast<uintptr_t>(at) / SlabPool::kSlabBytes).second) {
        EXPECT_EQ(at[0] | at[bytes / 2] | at[bytes - 1], 0) << "a fresh slab";
      }
      at[0] = at[bytes - 1] = static_cast<char>(i + 1);
      blocks.push_back(at);
      if (i == 2) {
        const SlabsAheadState state = SettledState();
        EXPECT_TRUE(state.filling);
        EXPECT_EQ(state.ready, kReady) << "four stand ready while the command fills";
      }
    }
    EXPECT_EQ(slabs.size(), kSlabs);
    EXPECT_EQ(arena ? chains.SlabCount() : pool.SlabCount(), kSlabs);
    for (size_t i = 0; i < blocks.size(); ++i) {
      EXPECT_EQ(blocks[i][0], static_cast<char>(i + 1));
      EXPECT_EQ(blocks[i][bytes - 1], static_cast<char>(i + 1));
    }
    for (char* at : blocks) arena ? chains.Release(at, bytes) : pool.Release(at);
    arena ? chains.ReleaseUnused() : pool.ReleaseUnused();
    const SlabsAheadState after = SlabsAheadNow();
    EXPECT_FALSE(after.filling);
    EXPECT_EQ(after.ready, 0u) << "nothing waits between commands";
  }
}

}  // namespace
