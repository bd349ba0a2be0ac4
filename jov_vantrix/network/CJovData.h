// The extended data of one network entity, parsed from its group-code chain
// and built back into a fresh chain. Three application blocks, in the order
// they are written:
//
//   1001 "JOV_INSPT"  1070 insertion value, 1010 per insertion point
//                     (only when there are insertion points)
//   1001 "JOV_DATA"   1000 type code, [matrix cells of an "E@RxC" code],
//                     1000 key, 1000 value ... (always)
//   1001 "_VANTRIX"   1070 field count, 1000 per field of every record
//                     (only when there is a record)
//
// The type code is normally 12 characters: its first letter is the trade of
// the catalogue and its 8th (index 7) the include flag, 'i' in the network
// and '-' excluded. A code "E@<rows>x<columns>" marks a matrix entity.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "common/CBitFlags.h"
#include "common/CJovPropData.h"
#include "common/CSeznam.h"
#include "common/Prefetch.h"
#include "dataformat/resbuf.h"
#include "jov_vantrix/network/CJovAddPnt.h"
#include "jov_vantrix/network/CJovInsPnt.h"
#include "jov_vantrix/network/RecordText.h"
#include "platform/mfc/CString.h"

class CJovData {
 public:
  static constexpr int kAppInsertPoints = 0;
  static constexpr int kAppJovData = 1;
  static constexpr int kAppVantrix = 2;
  static constexpr uint32_t kIncludeFlagIndex = 7;

  CJovData() = default;
  ~CJovData();
  CJovData(const CJovData&) = delete;
  CJovData& operator=(const CJovData&) = delete;

  void Clear();

  // Replaces everything by the blocks of an entity chain (a later block of
  // the same name wins). False, with the object left empty, when the chain
  // has no "JOV_DATA" block. Values, the type code and matrix cells are
  // taken only from text nodes; a block ends at the first node it cannot
  // read, and counts are cut to what the chain really holds.
  bool ReadXData(const resbuf* chain);
  // The same for a chain that outlives this object (a record's own) and
  // whose pairs no writer cuts out while it lives: the properties are not
  // copied but read from the chain as it stands when they are asked for
  // (so a value a writer changed reads changed), until the list is made.
  // The same walk finds, when asked, the first 1001 node naming
  // "JOV_LINK" (without regard to case; null when none): a network's
  // reader wants the link handle after it too.
  bool ReadXDataOfKeptChain(const resbuf* chain, const resbuf** linkApplication = nullptr);

  // A new chain of the three blocks, owned by the caller. Refreshes the
  // value of an existing "_PTS" property from the point records first.
  resbuf* BuildXData();

  // The 1001 "JOV_INSPT" node, the 1001 "JOV_DATA" node or the node after
  // 1001 "_VANTRIX" of the chain last read; null for any other index. They
  // point into that chain and die with it.
  const resbuf* GetAppChain(int which) const;

  // The value of the first property with exactly that key; null when none.
  const char* GetProperty(const char* key) const;
  bool HasProperty(const char* key) const { return GetProperty(key) != nullptr; }
  // The properties as a list of key/value elements (see CJovPropData).
  // Those read are kept packed, their texts one after another in one
  // block (or left in a kept chain), until the list is first asked for: an
  // export reads them by the hundred thousand and only looks values up.
  CJovPropData& Properties();
  // Calls visit(key, value) for each property in order while it answers
  // true; keys and values are never null.
  template <typename Visit>
  void ForEachProperty(Visit visit) const;
  // Hints to the cache the properties' first bytes.
  void PrefetchProperties() const;
  // Hints what letting go of the properties reads: a packed block's head
  // (those left in a kept chain cost nothing to let go).
  void PrefetchRelease() const {
    if (m_packed) PrefetchBytes(m_packed, sizeof(Packed));
  }

  // Normally 12 characters: it lives inside the object (see RecordText),
  // no heap block a record.
  RecordText m_typeCode;
  int32_t m_insertionValue = 0;
  CBitFlags m_typeFlags;

  // Lists most entities have none of: made on first use, so that the
  // records of a network stay several hundred bytes smaller. The const
  // forms give an empty list until then.
  CJovInsPnt& InsertPoints() { return Rare().insertPoints; }
  const CJovInsPnt& InsertPoints() const { return RareOrEmpty().insertPoints; }
  CJovPropData& VantrixRecords() { return Rare().vantrixRecords; }
  const CJovPropData& VantrixRecords() const { return RareOrEmpty().vantrixRecords; }
  CJovPropData& MatrixRows() { return Rare().matrixRows; }
  const CJovPropData& MatrixRows() const { return RareOrEmpty().matrixRows; }
  CJovAddPnt& PointRecords() { return Rare().pointRecords; }
  const CJovAddPnt& PointRecords() const { return RareOrEmpty().pointRecords; }

 private:
  struct RareLists {
    CJovInsPnt insertPoints;
    CJovPropData vantrixRecords;
    CJovPropData matrixRows;
    CJovPropData properties;  // once they are a list
    CJovAddPnt pointRecords{0};
    // The blocks most entities have none of (see GetAppChain).
    const resbuf* appInsertPoints = nullptr;
    const resbuf* appVantrix = nullptr;
  };
  RareLists& Rare();
  const RareLists& RareOrEmpty() const;

  // Properties read: count, then "key\0value\0" for each, taken from the
  // module's packed-property arena.
  struct Packed {
    uint32_t count;
    uint32_t bytes;  // of the block, this head included
  };
  void MakePropertyList();
  // Lets go of the properties as read (packed, or left in a kept chain).
  void ReleasePacked();
  bool Read(const resbuf* chain, bool pairsInChain, const resbuf** linkApplication);

  // A key node with its value node after it: a property as read. A value
  // of code 1000, as nearly all are, needs no look at its code's class.
  static bool IsPairAt(const resbuf* node) {
    return node && node->code == 1000 && node->next && (node->next->code == 1000 || IsValueNode(node->next));
  }
  static bool IsValueNode(const resbuf* node);
  static const char* TextOf(const resbuf* node) { return node->value.text ? node->value.text : ""; }

  std::unique_ptr<RareLists> m_rare;
  Packed* m_packed = nullptr;
  // Properties left in a kept chain: its pairs from here on.
  const resbuf* m_firstPair = nullptr;
  void ReadInsertPoints(const resbuf* node);
  void ReadJovData(const resbuf* node, bool pairsInChain);
  void ReadVantrix(const resbuf* node);

  const resbuf* m_appJovData = nullptr;
};

template <typename Visit>
void CJovData::ForEachProperty(Visit visit) const {
  if (m_firstPair) {
    for (const resbuf* key = m_firstPair; IsPairAt(key); key = key->next->next)
      if (!visit(TextOf(key), TextOf(key->next))) return;
    return;
  }
  if (m_packed) {
    const char* text = reinterpret_cast<const char*>(m_packed + 1);
    for (uint32_t i = 0; i < m_packed->count; ++i) {
      const char* key = text;
      const char* value = key + std::strlen(key) + 1;
      text = value + std::strlen(value) + 1;
      if (!visit(key, value)) return;
    }
    return;
  }
  if (!m_rare) return;
  for (const CSeznam* e = m_rare->properties.GetHead(); e; e = e->GetNext()) {
    const auto* property = static_cast<const CJovPropData*>(e);
    const char* key = property->GetField(0);
    const char* value = property->GetField(1);
    if (key && value && !visit(key, value)) return;
  }
}

// Gives the memory of the properties read back to the system when none is
// alive (their part of what malloc_trim does for the heap).
void ReleasePropertyMemory();
