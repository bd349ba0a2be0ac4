#include "objectgl/GLObjectArray.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "objectgl/GLException.h"
#include "objectgl/GLObject.h"

namespace {

uint32_t CodeOf(GLObjectArray& a, uint32_t index) {
  try {
    a.GetAt(index);
  } catch (const GLException& e) {
    return e.GetCode();
  }
  return 0;
}

TEST(GLObjectArray, IndexAtTheCountIsNullBeyondItAnError) {
  GLObjectArray a;
  EXPECT_EQ(a.GetAt(0), nullptr);
  EXPECT_EQ(CodeOf(a, 1), 1003u);
  GLObject one, two;
  a.Add(&one);
  a.Add(&two);
  EXPECT_EQ(a[1], &two);
  EXPECT_EQ(a.GetAt(2), nullptr);
  EXPECT_EQ(CodeOf(a, 3), 1003u);
  EXPECT_EQ(a.GetReaderCount(), 0u) << "the failed read released its lock";
}

TEST(GLObjectArray, ARangeIsWhatGetAtGivesUpToTheCount) {
  GLObjectArray a;
  GLObject o[5];
  for (GLObject& e : o) a.Add(&e);
  struct Range {
    uint32_t first, room, copied;
  };
  for (const Range& r : {Range{0, 5, 5}, Range{1, 2, 2}, Range{3, 9, 2}, Range{5, 3, 0}, Range{0, 0, 0}}) {
    GLObject* out[9] = {};
    EXPECT_EQ(a.GetRange(r.first, r.room, out), r.copied) << r.first << "+" << r.room;
    for (uint32_t k = 0; k < 9; ++k) EXPECT_EQ(out[k], k < r.copied ? a.GetAt(r.first + k) : nullptr);
  }
  GLObject* out[1];
  EXPECT_THROW(a.GetRange(6, 1, out), GLException);
  EXPECT_EQ(a.GetReaderCount(), 0u) << "the failed read released its lock";
}

TEST(GLObjectArray, GrowsByItsStepAndCopiesShareTheElements) {
  GLObjectArray a;
  GLObject o;
  EXPECT_EQ(a.Add(&o), 1u);
  EXPECT_EQ(a.GetCapacity(), 10u);
  for (int i = 0; i < 10; ++i) a.Add(nullptr);
  EXPECT_EQ(a.GetCount(), 11u);
  EXPECT_EQ(a.GetCapacity(), 20u);

  GLObjectArray copy(a);
  EXPECT_EQ(copy.GetCount(), 11u);
  EXPECT_EQ(copy.GetCapacity(), 20u);
  EXPECT_EQ(copy.GetAt(0), &o);
  a.RemoveAll();
  EXPECT_EQ(a.GetCount(), 0u);
  EXPECT_EQ(a.GetCapacity(), 0u);
  EXPECT_EQ(copy.GetAt(0), &o);

  a.SetGrowStep(0);  // outside the contract, still safe
  a.Add(&o);
  a.Add(&o);
  EXPECT_EQ(a.GetCount(), 2u);
}

TEST(GLObjectArray, GrowsByHalfItsCapacityOnceThatPassesTheStep) {
  struct Grown {
    uint32_t step, adds, capacity;
  };
  for (const Grown& g : {Grown{10, 1, 10}, Grown{10, 11, 20}, Grown{10, 21, 30}, Grown{10, 31, 45},
                         Grown{10, 46, 67}, Grown{100, 101, 200}, Grown{100, 201, 300}, Grown{100, 301, 450}}) {
    GLObjectArray a;
    a.SetGrowStep(g.step);
    for (uint32_t i = 0; i < g.adds; ++i) a.Add(nullptr);
    EXPECT_EQ(a.GetCapacity(), g.capacity) << g.adds << " adds, step " << g.step;
  }
  // A large scene fills in a few dozen copies, not thousands.
  GLObjectArray a;
  GLObject o;
  int grown = 0;
  for (uint32_t i = 0, capacity = 0; i < 200000; ++i) {
    a.Add(&o);
    if (a.GetCapacity() != capacity) ++grown;
    capacity = a.GetCapacity();
  }
  EXPECT_LE(grown, 30);
  EXPECT_EQ(a.GetAt(199999), &o);
}

struct Counted : GLObject {
  explicit Counted(int* n) : n_(n) {}
  ~Counted() override { ++*n_; }
  int* n_;
};

TEST(GLObjectArray, DeleteAllDeletesTheElementsAndSkipsNulls) {
  int deleted = 0;
  GLObjectArray a;
  a.Add(new Counted(&deleted));
  a.Add(nullptr);
  a.Add(new Counted(&deleted));
  a.DeleteAll();
  EXPECT_EQ(deleted, 2);
  EXPECT_EQ(a.GetCount(), 0u);
  EXPECT_EQ(a.GetAt(0), nullptr);
}

TEST(GLOpenObject, ASecondOpenIsRefusedAndChangesNothing) {
  GLSynchronizedObject lock;
  {
    GLOpenObject reader(&lock);
    EXPECT_EQ(reader.Open(GLOpenObject::kRead), 0u);
    EXPECT_EQ(reader.Open(GLOpenObject::kWrite), 2u);
    EXPECT_EQ(lock.GetReaderCount(), 1u);
    EXPECT_EQ(lock.GetWriterCount(), 0u);
  }
  {
    GLOpenObject writer(&lock, GLOpenObject::kWrite);
    EXPECT_EQ(writer.Open(GLOpenObject::kRead), 1u);
    EXPECT_EQ(lock.GetWriterCount(), 1u);
    // The writer's own thread may still read.
    GLOpenObject nested(&lock, GLOpenObject::kRead);
    EXPECT_EQ(nested.GetMode(), GLOpenObject::kRead);
  }
  EXPECT_EQ(lock.GetReaderCount(), 0u);
  EXPECT_EQ(lock.GetWriterCount(), 0u);
  GLOpenObject none(nullptr);
  EXPECT_EQ(none.Open(GLOpenObject::kRead), 3u);
}

TEST(GLOpenObject, AWriterWaitsForTheReadersAndReadersForTheWriter) {
  GLSynchronizedObject lock;
  std::atomic<int> stage{0};
  auto reader = std::make_unique<GLOpenObject>(&lock, GLOpenObject::kRead);
  std::thread writer([&] {
    GLOpenObject w(&lock, GLOpenObject::kWrite);
    stage = 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    stage = 2;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(stage.load(), 0) << "a reader is inside";
  reader.reset();
  while (stage.load() == 0) std::this_thread::yield();
  {
    GLOpenObject late(&lock, GLOpenObject::kRead);  // waits for the writer's mutex
    EXPECT_EQ(stage.load(), 2);
  }
  writer.join();
}

}  // namespace
