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

TEST(HandleIndex, InsertInOrderAgreesWithInsertsOneByOne) {
  // Enough handles for several ranges of slots: two long runs, one over a
  // range's end and one over the table's, with scattered handles landing in
  // them (pushed past those ends), duplicates of earlier handles, handle 0,
  // handles and objects beyond 32 bits; some handles there before.
  struct Row {
    uint64_t first;
    unsigned threads;
  };
  for (const Row row : {Row{5000, 1}, Row{5000, 2}, Row{5000, 8}, Row{uint64_t{UINT32_MAX} - 100000, 8}}) {
    std::mt19937_64 random(47);
    std::vector<uint64_t> handles(194000), before(2000);
    for (size_t i = 0; i < handles.size(); ++i) {
      // 2^18 slots in 4 ranges; a handle below 2^18 is at home in its own slot.
      if (i % 64 == 0) handles[i] = 64536 + i / 64;
      else if (i % 64 == 32) handles[i] = 259113 + i / 64;
      else if (i % 16 == 2) handles[i] = handles[random() % i];
      else if (i % 1000 == 3) handles[i] = (uint64_t{1} << 40) + i;
      else handles[i] = random() >> (i % 16 == 7 ? random() % 64 : 34);
    }
    HandleIndex bulk, oneByOne;
    for (size_t i = 0; i < before.size(); ++i) {
      before[i] = random() % (1 << 21);
      bulk.Insert(before[i], i);
      oneByOne.Insert(before[i], i);
    }
    bulk.InsertInOrder(handles.data(), handles.size(), row.first, row.threads);
    for (size_t i = 0; i < handles.size(); ++i) oneByOne.Insert(handles[i], row.first + i);
    ASSERT_EQ(bulk.size(), oneByOne.size()) << row.first << " on " << row.threads;
    for (const std::vector<uint64_t>* list : {&handles, &before})
      for (uint64_t handle : *list) ASSERT_EQ(bulk.Find(handle), oneByOne.Find(handle)) << handle;
  }
}

}  // namespace
}  // namespace host
