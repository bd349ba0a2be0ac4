#include "jov_vantrix/network/RecordList.h"

#include <algorithm>
#include <cstdint>
#include <typeinfo>

#include "common/Prefetch.h"
#include "jov_vantrix/network/CObjDataNew.h"

namespace {

// Hints what letting a record go reads besides the record: its chain's
// block and its properties' (see CJovData::PrefetchRelease); nothing for an
// element of another kind.
void PrefetchRecordParts(const CSeznam* element) {
  if (typeid(*element) != typeid(CObjDataNew)) return;
  const auto* record = static_cast<const CObjDataNew*>(element);
  record->m_entityChain.PrefetchBlock();
  record->m_jovData.PrefetchRelease();
}

}  // namespace

RecordList::~RecordList() {
  // Letting a network go is bound by memory latency: each record, its
  // chain's block and its properties miss the cache in turn, and a walk
  // over the links learns where a record lies only from the one before.
  // A list's records were mostly made one after another, at addresses a
  // like step apart: the record so many steps on is hinted whole where it
  // would lie (a hint at a wrong address costs nothing but the hint), and
  // the next ones, by then in the cache, have their parts hinted.
  constexpr uintptr_t kFarAhead = 6;
  constexpr int kNearAhead = 2;
  const CSeznam* near = head;
  for (int i = 0; near && i < kNearAhead; ++i, near = near->GetNext()) PrefetchRecordParts(near);
  for (CSeznam* element = head; element;) {
    CSeznam* following = element->GetNext();
    if (following) {
      const auto at = reinterpret_cast<uintptr_t>(following);
      const uintptr_t step = at - reinterpret_cast<uintptr_t>(element);
      PrefetchBytes(reinterpret_cast<const void*>(at + step * kFarAhead), sizeof(CObjDataNew));
    }
    if (near) {
      PrefetchRecordParts(near);
      near = near->GetNext();
    }
    delete element;
    element = following;
  }
  head = tail = nullptr;
  count = 0;
}
