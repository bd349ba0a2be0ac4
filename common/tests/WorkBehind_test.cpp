#include "common/WorkBehind.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

struct Item {
  size_t value = 0;
  size_t worked = 0;
  std::thread::id on;
};

// Reads of every length about the batch: each item worked on once, never
// two at once, read back in the order added; a thread takes part from the
// first full batch; what the work throws comes out of Finish, wherever it
// was thrown, and a read left unfinished lets its thread go.
TEST(WorkBehind, EachItemOnceInOrderOnOneThreadAtATime) {
  constexpr size_t kBatch = 256;
  struct Case {
    size_t items;
    size_t throwAt;  // SIZE_MAX: nothing thrown
    bool finish;
  };
  const Case cases[] = {
      {0, SIZE_MAX, true},           {1, SIZE_MAX, true},      {kBatch - 1, SIZE_MAX, true},
      {kBatch, SIZE_MAX, true},      {kBatch + 1, SIZE_MAX, true}, {10 * kBatch + 3, SIZE_MAX, true},
      {kBatch - 1, 100, true},       {5 * kBatch, 3 * kBatch + 7, true}, {5 * kBatch, SIZE_MAX, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.items << " items, throw at " << c.throwAt);
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    const auto work = [&](Item& item) {
      if (inside.fetch_add(1) != 0) overlapped = true;
      ++item.worked;
      item.on = std::this_thread::get_id();
      inside.fetch_sub(1);
      if (item.value == c.throwAt) throw std::runtime_error("no room");
    };
    WorkBehind<Item, decltype(work)> behind(work);
    for (size_t i = 0; i < c.items; ++i) behind.Add({i, 0, {}});
    if (!c.finish) continue;  // the destructor drops what is left and joins
    if (c.throwAt != SIZE_MAX) {
      EXPECT_THROW(behind.Finish(), std::runtime_error);
      continue;
    }
    behind.Finish();
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(behind.Threaded(), c.items >= kBatch);
    size_t next = 0;
    behind.ForEach([&](const Item& item) {
      EXPECT_EQ(item.value, next++);
      EXPECT_EQ(item.worked, 1u) << item.value;
      EXPECT_EQ(item.on == std::this_thread::get_id(), !behind.Threaded()) << item.value;
    });
    EXPECT_EQ(next, c.items);
  }
}

}  // namespace
