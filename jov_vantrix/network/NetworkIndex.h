// Indexes that answer the network's look-ups without scanning every record
// for every record: segment ends by position, records by link handle and by
// connect number. Each gives what the scan in list order would give first
// (candidates come back with their place in that order).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/GLVector.h"
#include "platform/mfc/CString.h"

class CObjDataNew;
class CObjSezNew;
class CPtrArray;
class CSeznam;

struct IndexedRecord {
  CObjDataNew* record;
  uint32_t order;  // place in the scan order the index was filled in
};

// The start and end points of records, in cells of twice the tolerance, so
// that every point closer than the tolerance to a queried one lies in one of
// the (at most 2 x 2) cells that the square of the tolerance around it
// meets (z is compared by the caller's exact test). Filled first, then
// asked: the first question files the ends by cell into hash buckets, so
// that filing takes linear time and a question reads the buckets of its
// cells, not a binary search through every end.
class EndPointIndex {
 public:
  explicit EndPointIndex(double tolerance) : tolerance_(tolerance), cell_(2.0 * tolerance) {}
  // Room for the ends of so many records, so that tens of thousands of
  // them are added without the list moving as it grows.
  void Reserve(size_t records) { entries_.reserve(entries_.size() + 2 * records); }
  void Add(CObjDataNew* record);
  // Records with an end near the point, each once, in scan order.
  std::vector<IndexedRecord> Near(const GLVector& point) const;
  // Asked for every pipe a network reading tests: the answer is the
  // index's own list, good until the next question.
  const std::vector<IndexedRecord>& NearEither(const GLVector& a, const GLVector& b) const;

 private:
  struct Entry {
    int64_t cx, cy;
    IndexedRecord found;
  };
  int64_t Cell(double v) const;
  size_t Bucket(int64_t cx, int64_t cy) const;
  void File() const;
  void Collect(const GLVector& point, std::vector<IndexedRecord>& out) const;

  double tolerance_;
  double cell_;
  uint32_t count_ = 0;
  mutable bool filed_ = false;  // an index never added to is filed (empty) when first asked
  mutable size_t mask_ = 0;
  mutable std::vector<Entry> entries_;         // grouped by bucket once filed
  mutable std::vector<uint32_t> bucketStart_;  // bucket b's ends: entries_[bucketStart_[b] .. bucketStart_[b + 1])
  mutable std::vector<IndexedRecord> found_;   // NearEither's answer
};

// The records of a list or an array by their link handle ("JOV_LINK"),
// for CollectLinkedRecords. Filled first, then asked; the handles must not
// change meanwhile (the index holds their hashes and first bytes).
class LinkHandleIndex {
 public:
  void AddList(const CSeznam& list);
  void AddArray(const CPtrArray& records);
  // As CollectLinkedRecords: the records of record's handle (never an empty
  // one) other than record, of its object type or risers, take its number
  // and connect and are appended to out in order.
  void Collect(CObjDataNew* record, CPtrArray& out) const;

 private:
  // Filed by the handle's hash, not the handle, so that filing and
  // searching compare numbers in the array instead of reading every
  // record's text; equal hashes are told apart by the text at the end,
  // whose first bytes (all of a usual handle) the entry holds: a search
  // then reads a found record's handle only when it is longer.
  static constexpr size_t kHeadBytes = 12;
  struct Entry {
    size_t hash;
    CObjDataNew* record;
    uint32_t length;
    char head[kHeadBytes];
  };
  static bool SameHandle(const Entry& e, std::string_view handle);
  void Add(CObjDataNew* record);
  void Sort() const;
  mutable bool sorted_ = true;
  mutable std::vector<Entry> entries_;  // grouped by bucket, in list order within one
  // Entries whose hash's top bits are b: entries_[bucketStart_[b] ..
  // bucketStart_[b + 1]), so that a search reads one or two entries, not
  // a binary search's worth of cache lines.
  mutable std::vector<uint32_t> bucketStart_;
  mutable unsigned shift_ = 0;
};

// The network inserts and description texts of an import's list by what
// ties them to a pipe (branch number, association, CM and CT), for
// FindProductForPipe and UpdateDescriptionTexts.
class ProductIndex {
 public:
  explicit ProductIndex(const CSeznam& list);
  CObjDataNew* Product(const CObjDataNew& pipe, bool excludedOnly) const;
  // The product's description texts in list order; null when none.
  const std::vector<CObjDataNew*>* Descriptions(const CObjDataNew& product) const;

 private:
  std::unordered_map<std::string, CObjDataNew*> products_;
  std::unordered_map<std::string, CObjDataNew*> excludedProducts_;
  std::unordered_map<std::string, std::vector<CObjDataNew*>> descriptions_;
};

// The scheme's records by object type and connect number, for the branch
// that joins a pipe (GetConnectedBranchName). Filled once the numbers are
// final, then asked; the numbers must not change meanwhile.
class ConnectIndex {
 public:
  ConnectIndex() = default;
  // Every record of the scheme's groups, in scan order.
  explicit ConnectIndex(const CObjSezNew& network);
  // Records added one by one, in scan order: a walk that visits them anyway
  // fills the index, saving a walk of its own over every record.
  void Add(CObjDataNew* record);
  // "V" + the branch of the first record of the pipe's type connecting to
  // its number from another branch; out unchanged when none.
  void ConnectedBranchName(const CObjDataNew* pipe, CString& out) const;

 private:
  struct Entry {
    uint64_t key;
    CObjDataNew* record;
  };
  static uint64_t Key(int32_t objectType, int32_t connect);
  mutable bool sorted_ = true;
  mutable std::vector<Entry> entries_;  // sorted by key, in scan order within one
};
