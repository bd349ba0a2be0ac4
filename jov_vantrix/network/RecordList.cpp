#include "jov_vantrix/network/RecordList.h"

#include <algorithm>
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
  // chain's block and its properties miss the cache in turn. Elements far
  // ahead are hinted whole; nearer ones, by then in the cache, have their
  // parts hinted.
  constexpr int kFarAhead = 4;
  constexpr int kNearAhead = 2;
  const CSeznam* far = head;
  const CSeznam* near = head;
  for (int i = 0; far && i < kFarAhead; ++i, far = far->GetNext()) PrefetchBytes(far, sizeof(CObjDataNew));
  for (int i = 0; near && i < kNearAhead; ++i, near = near->GetNext()) PrefetchRecordParts(near);
  for (CSeznam* element = head; element;) {
    CSeznam* following = element->GetNext();
    if (far) {
      PrefetchBytes(far, sizeof(CObjDataNew));
      far = far->GetNext();
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
