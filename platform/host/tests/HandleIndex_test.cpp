#include "platform/host/HandleIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace host {
namespace {

TEST(HandleIndex, AgreesWithAMapThroughInsertsAndErases) {
  // Handles in runs (as drawings number them) and scattered, erased in a
  // random order so that runs of probes are cut everywhere, and handles
  // that name another object left alone; handles and objects beyond 32
  // bits among them.
  std::mt19937_64 random(1250);
  auto object = [&](size_t i) { return uint64_t{i % 977} + (i % 7 == 0 ? uint64_t{1} << 33 : 0); };
  HandleIndex index;
  std::map<uint64_t, uint64_t> expected;
  for (uint64_t round = 0; round < 6; ++round) {
    for (size_t i = 0; i < 3000; ++i) {
      const uint64_t handle = i % 3 ? 0x100 + round * 5000 + i : random() >> (random() % 64);
      index.Insert(handle, object(i));
      if (handle) expected.emplace(handle, object(i));
    }
    std::vector<std::pair<uint64_t, uint64_t>> all(expected.begin(), expected.end());
    std::shuffle(all.begin(), all.end(), random);
    for (size_t i = 0; i < all.size() / 2; ++i) {
      const bool same = i % 5 != 0;
      index.Erase(all[i].first, same ? all[i].second : object(i + 1));
      if (same || all[i].second == object(i + 1)) expected.erase(all[i].first);
    }
    ASSERT_EQ(index.size(), expected.size()) << "round " << round;
    for (const auto& [handle, entity] : expected) ASSERT_EQ(index.Find(handle), entity) << handle;
    size_t visited = 0;
    index.ForEach([&](uint64_t handle, uint64_t entity) {
      ++visited;
      EXPECT_EQ(expected.at(handle), entity);
    });
    EXPECT_EQ(visited, expected.size());
  }
  EXPECT_EQ(index.Find(0), HandleIndex::kNone);
  EXPECT_EQ(index.Find(0xFFFFFFFFFFFFull), HandleIndex::kNone);
  index.Clear();
  EXPECT_EQ(index.Find(0x100), HandleIndex::kNone);
  EXPECT_EQ(index.size(), 0u);
}

}  // namespace
}  // namespace host
