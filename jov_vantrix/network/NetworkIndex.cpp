#include "jov_vantrix/network/NetworkIndex.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/NetworkRecords.h"
#include "platform/mfc/CPtrArray.h"

namespace {

std::string_view HandleView(const RecordText& handle) {
  return std::string_view(handle.GetString(), static_cast<size_t>(handle.GetLength()));
}

std::string Key(std::initializer_list<const RecordText*> parts) {
  // Length-prefixed, so that no text can run into the next.
  std::string key;
  for (const RecordText* part : parts) {
    key += std::to_string(part->GetLength());
    key += ':';
    key.append(part->GetString(), static_cast<size_t>(part->GetLength()));
  }
  return key;
}

std::string ProductKey(const CObjDataNew& r) { return Key({&r.m_branchNumber, &r.m_assoc, &r.m_CM, &r.m_CT}); }
std::string PairKey(const CObjDataNew& r) { return Key({&r.m_CM, &r.m_CT}); }

void SortUnique(std::vector<IndexedRecord>& found) {
  std::sort(found.begin(), found.end(),
            [](const IndexedRecord& a, const IndexedRecord& b) { return a.order < b.order; });
  found.erase(std::unique(found.begin(), found.end(),
                          [](const IndexedRecord& a, const IndexedRecord& b) { return a.order == b.order; }),
              found.end());
}

}  // namespace

int64_t EndPointIndex::Cell(double v) const {
  const double q = std::floor(v / cell_);
  // Far-off or undefined coordinates share the outermost cells; the
  // caller's exact test still decides.
  if (!(q > -4e18)) return INT64_MIN / 2;
  if (!(q < 4e18)) return INT64_MAX / 2;
  return static_cast<int64_t>(q);
}

void EndPointIndex::Add(CObjDataNew* record) {
  const uint32_t order = count_++;
  const int64_t sx = Cell(record->m_start.x), sy = Cell(record->m_start.y);
  const int64_t ex = Cell(record->m_end.x), ey = Cell(record->m_end.y);
  entries_.push_back({sx, sy, {record, order}});
  if (ex != sx || ey != sy) entries_.push_back({ex, ey, {record, order}});
  filed_ = false;
}

size_t EndPointIndex::Bucket(int64_t cx, int64_t cy) const {
  uint64_t h = static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15u ^ static_cast<uint64_t>(cy) * 0xC2B2AE3D27D4EB4Fu;
  h ^= h >> 29;
  return static_cast<size_t>(h) & mask_;
}

void EndPointIndex::File() const {
  size_t buckets = 16;
  while (buckets < 2 * entries_.size()) buckets *= 2;
  mask_ = buckets - 1;
  // Counted, then placed: each bucket's ends lie side by side. The scan
  // order travels with each end, so the order they are placed in is free.
  const std::vector<Entry> added = std::move(entries_);
  bucketStart_.assign(buckets + 1, 0);
  for (const Entry& e : added) ++bucketStart_[Bucket(e.cx, e.cy) + 1];
  for (size_t b = 0; b < buckets; ++b) bucketStart_[b + 1] += bucketStart_[b];
  entries_.resize(added.size());
  std::vector<uint32_t> next(bucketStart_.begin(), bucketStart_.end() - 1);
  for (const Entry& e : added) entries_[next[Bucket(e.cx, e.cy)]++] = e;
  filed_ = true;
}

void EndPointIndex::Collect(const GLVector& point, std::vector<IndexedRecord>& out) const {
  if (!filed_) File();
  // Rounding is monotonic, so the cells of the square's sides bound the
  // cell of every point inside it.
  const int64_t x0 = Cell(point.x - tolerance_), x1 = Cell(point.x + tolerance_);
  const int64_t y0 = Cell(point.y - tolerance_), y1 = Cell(point.y + tolerance_);
  for (int64_t x = x0; x <= x1; ++x)
    for (int64_t y = y0; y <= y1; ++y) {
      const size_t b = Bucket(x, y);
      for (uint32_t i = bucketStart_[b]; i < bucketStart_[b + 1]; ++i)
        if (entries_[i].cx == x && entries_[i].cy == y) out.push_back(entries_[i].found);
    }
}

std::vector<IndexedRecord> EndPointIndex::Near(const GLVector& point) const {
  std::vector<IndexedRecord> found;
  Collect(point, found);
  SortUnique(found);
  return found;
}

const std::vector<IndexedRecord>& EndPointIndex::NearEither(const GLVector& a, const GLVector& b) const {
  found_.clear();
  Collect(a, found_);
  Collect(b, found_);
  SortUnique(found_);
  return found_;
}

void LinkHandleIndex::Add(CObjDataNew* record) {
  if (!record || record->m_linkHandle.IsEmpty()) return;
  const std::string_view handle = HandleView(record->m_linkHandle);
  Entry e{std::hash<std::string_view>{}(handle), record, static_cast<uint32_t>(handle.size()), {}};
  std::memcpy(e.head, handle.data(), std::min(handle.size(), kHeadBytes));
  entries_.push_back(e);
  sorted_ = false;
}

bool LinkHandleIndex::SameHandle(const Entry& e, std::string_view handle) {
  if (e.length != handle.size() || std::memcmp(e.head, handle.data(), std::min(handle.size(), kHeadBytes)) != 0)
    return false;
  return handle.size() <= kHeadBytes ||
         HandleView(e.record->m_linkHandle).substr(kHeadBytes) == handle.substr(kHeadBytes);
}

void LinkHandleIndex::AddList(const CSeznam& list) {
  for (CSeznam* e = list.GetHead(); e; e = e->GetNext()) Add(static_cast<CObjDataNew*>(e));
}

void LinkHandleIndex::AddArray(const CPtrArray& records) {
  for (INT_PTR i = 0; i < records.GetSize(); ++i) Add(static_cast<CObjDataNew*>(records[i]));
}

void LinkHandleIndex::Sort() const {
  // About one entry a bucket. Counted, then placed: each bucket's entries
  // lie side by side in list order, which is all a search needs (it
  // compares the whole hash).
  unsigned bits = 1;
  while (bits < 32 && (size_t{1} << bits) < entries_.size()) ++bits;
  shift_ = 64 - bits;
  bucketStart_.assign((size_t{1} << bits) + 1, 0);
  for (const Entry& e : entries_) ++bucketStart_[(static_cast<uint64_t>(e.hash) >> shift_) + 1];
  for (size_t b = 1; b < bucketStart_.size(); ++b) bucketStart_[b] += bucketStart_[b - 1];
  const std::vector<Entry> added = std::move(entries_);
  entries_.resize(added.size());
  std::vector<uint32_t> next(bucketStart_.begin(), bucketStart_.end() - 1);
  for (const Entry& e : added) entries_[next[static_cast<uint64_t>(e.hash) >> shift_]++] = e;
  sorted_ = true;
}

void LinkHandleIndex::Collect(CObjDataNew* record, CPtrArray& out) const {
  if (!record || record->m_linkHandle.IsEmpty()) return;
  if (!sorted_ || bucketStart_.empty()) Sort();
  const std::string_view handle = HandleView(record->m_linkHandle);
  const size_t hash = std::hash<std::string_view>{}(handle);
  const size_t bucket = static_cast<uint64_t>(hash) >> shift_;
  for (uint32_t i = bucketStart_[bucket]; i < bucketStart_[bucket + 1]; ++i) {
    const Entry& e = entries_[i];
    CObjDataNew* candidate = e.record;
    if (e.hash != hash || candidate == record || !SameHandle(e, handle)) continue;
    if (candidate->m_objectType != record->m_objectType && candidate->m_objectType != kObjectRiser) continue;
    candidate->SetNumber(record->GetNumber());
    candidate->SetConnect(record->GetConnect());
    out.Add(candidate);
  }
}

ProductIndex::ProductIndex(const CSeznam& list) {
  for (CSeznam* e = list.GetHead(); e; e = e->GetNext()) {
    auto* r = static_cast<CObjDataNew*>(e);
    if (r->m_objectType == kObjectNetworkInsert) {
      products_.emplace(ProductKey(*r), r);
      if (IncludeFlagOf(r->m_jovData.m_typeCode) == '-') excludedProducts_.emplace(PairKey(*r), r);
    } else if (r->m_objectType == kObjectDescription && r->m_entityKind == kEntityText) {
      descriptions_[ProductKey(*r)].push_back(r);
    }
  }
}

CObjDataNew* ProductIndex::Product(const CObjDataNew& pipe, bool excludedOnly) const {
  if (pipe.m_CM.IsEmpty() || pipe.m_CT.IsEmpty()) return nullptr;
  const auto& map = excludedOnly ? excludedProducts_ : products_;
  auto found = map.find(excludedOnly ? PairKey(pipe) : ProductKey(pipe));
  return found == map.end() ? nullptr : found->second;
}

const std::vector<CObjDataNew*>* ProductIndex::Descriptions(const CObjDataNew& product) const {
  auto found = descriptions_.find(ProductKey(product));
  return found == descriptions_.end() ? nullptr : &found->second;
}

uint64_t ConnectIndex::Key(int32_t objectType, int32_t connect) {
  return static_cast<uint64_t>(static_cast<uint32_t>(objectType)) << 32 | static_cast<uint32_t>(connect);
}

ConnectIndex::ConnectIndex(const CObjSezNew& network) {
  for (CNumSezNew* group = network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup())
    for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) Add(r);
}

void ConnectIndex::Add(CObjDataNew* record) {
  entries_.push_back({Key(record->m_objectType, record->GetConnect()), record});
  sorted_ = false;
}

void ConnectIndex::ConnectedBranchName(const CObjDataNew* pipe, CString& out) const {
  if (!pipe || pipe->m_riserNumber.IsEmpty() || pipe->m_riserNumber == "2") return;
  if (!sorted_) {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.key < b.key; });
    sorted_ = true;
  }
  const uint64_t key = Key(pipe->m_objectType, pipe->GetNumber());
  auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                             [](const Entry& e, uint64_t k) { return e.key < k; });
  for (; it != entries_.end() && it->key == key; ++it) {
    if (it->record->m_branchName == pipe->m_branchName) continue;
    out = "V";
    out += it->record->m_branchName;
    return;
  }
}
