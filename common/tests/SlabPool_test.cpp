#include "common/SlabPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace {

TEST(SlabPool, HandsOutDistinctAlignedRoomAcrossSlabsAndStartsOverOnceEmpty) {
  SlabPool pool(1000);
  EXPECT_EQ(pool.SlotBytes(), 1024u);
  EXPECT_EQ(SlabPool(80, 8).SlotBytes(), 80u) << "packed slots where asked";
  EXPECT_EQ(SlabPool(4, 1).SlotBytes(), 8u) << "room for the free list's link";
  const size_t perSlab = SlabPool::kSlabBytes / pool.SlotBytes();
  std::vector<void*> taken;
  std::set<uintptr_t> seen;
  for (size_t i = 0; i < perSlab + 3; ++i) {
    void* at = pool.Allocate();
    ASSERT_EQ(reinterpret_cast<uintptr_t>(at) % 64, 0u);
    // The whole room is usable and no two objects share it.
    std::memset(at, static_cast<int>(i & 0xFF), 1000);
    EXPECT_TRUE(seen.insert(reinterpret_cast<uintptr_t>(at)).second);
    taken.push_back(at);
  }
  EXPECT_EQ(pool.SlabCount(), 2u);
  for (size_t i = 0; i < taken.size(); ++i)
    EXPECT_EQ(static_cast<unsigned char*>(taken[i])[999], static_cast<unsigned char>(i & 0xFF));

  // Room given back while others live is taken again first.
  pool.Release(taken[5]);
  EXPECT_EQ(pool.Allocate(), taken[5]);

  // Nothing alive: the slabs are handed out from the start, none added.
  for (void* at : taken) pool.Release(at);
  EXPECT_EQ(pool.Allocate(), taken[0]);
  EXPECT_EQ(pool.Allocate(), taken[1]);
  EXPECT_EQ(pool.SlabCount(), 2u);

  // The slabs go back to the system only when nothing lives in them.
  void* third = pool.Allocate();
  pool.ReleaseUnused();
  EXPECT_EQ(pool.SlabCount(), 2u);
  pool.Release(taken[0]);
  pool.Release(taken[1]);
  pool.Release(third);
  pool.ReleaseUnused();
  EXPECT_EQ(pool.SlabCount(), 0u);
  void* again = pool.Allocate();
  EXPECT_NE(again, nullptr);
  EXPECT_EQ(pool.SlabCount(), 1u);
  pool.Release(again);
  pool.Release(nullptr);
}

TEST(SlabPool, SmallObjectsGetAWholeCacheLine) {
  SlabPool pool(1);
  EXPECT_EQ(pool.SlotBytes(), 64u);
  void* a = pool.Allocate();
  void* b = pool.Allocate();
  EXPECT_EQ(static_cast<char*>(b) - static_cast<char*>(a), 64);
  pool.Release(a);
  pool.Release(b);
}

}  // namespace
