#include "jov_vantrix/network/CJovData.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "common/InternedTexts.h"
#include "common/Prefetch.h"
#include "common/SlabArena.h"
#include "common/SlabPool.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/network/RecordWriteBack.h"

namespace {

// No property read outlives the module (networks live in commands and
// dialogs): the pool and its slabs go when it is unloaded.
SlabPool& ReadPropertyPool();

// A key/value property read from an entity's extended data. A network's
// records read them by the hundred thousand, mostly the same keys and
// values, and let them go together: they come from a pool of their own, as
// the records do (see SlabPool), and keep interned texts.
class ReadProperty final : public CJovPropData {
 public:
  ReadProperty() : CJovPropData(2) { KeepTextsInterned(); }
  static void* operator new(size_t) { return ReadPropertyPool().Allocate(); }
  static void operator delete(void* at) { ReadPropertyPool().Release(at); }
};

SlabPool& ReadPropertyPool() {
  // Walked seldom: packed rather than a cache line each.
  static SlabPool pool(sizeof(ReadProperty), alignof(ReadProperty));
  return pool;
}

// The properties read and kept packed (see CJovData::Properties), let go
// together with the network that read them.
SlabArena& PackedPropertyArena() {
  static SlabArena arena;
  return arena;
}

// A record or matrix row of so many fields read, its texts interned.
CJovPropData* NewReadRow(uint32_t fields) {
  auto* row = new CJovPropData(fields);
  row->KeepTextsInterned();
  return row;
}

bool IsApplication(const resbuf* node, const char* name) {
  return node->code == 1001 && node->value.text && std::strcmp(node->value.text, name) == 0;
}

int ClampToInt(long long value) {
  return static_cast<int>(std::clamp<long long>(value, 0, INT_MAX));
}

// Rows and columns of a matrix code "E@<rows>x<columns>"; a number that is
// missing reads as 0, a negative one as 0.
void ParseMatrixSize(const char* code, int& rows, int& columns) {
  rows = columns = 0;
  if (std::strncmp(code, "E@", 2) != 0) return;
  char* end = nullptr;
  const char* p = code + 2;
  long long r = std::strtoll(p, &end, 10);
  if (end == p) return;
  rows = ClampToInt(r);
  if (*end != 'x') return;
  p = end + 1;
  long long c = std::strtoll(p, &end, 10);
  if (end != p) columns = ClampToInt(c);
}

// Appends chains to a chain under construction; a part that could not be
// built is simply left out.
class ChainTail {
 public:
  void Append(resbuf* chain) {
    if (!chain) return;
    *slot_ = chain;
    while (*slot_) slot_ = &(*slot_)->next;
  }
  void AppendApplication(const char* name) {
    resbuf* node = nullptr;
    if (CreateGroupCodeNode(&node, 1001, name))
      Append(node);
    else
      FreeGroupCodeChain(node);
  }
  resbuf* Head() const { return head_; }

 private:
  resbuf* head_ = nullptr;
  resbuf** slot_ = &head_;
};

}  // namespace

// Only what the object owns outside itself: the rare lists go with their
// pointer, the type code with itself.
CJovData::~CJovData() { ReleasePacked(); }

void CJovData::Clear() {
  m_insertionValue = 0;
  m_typeFlags.Clear();
  m_appJovData = nullptr;
  ReleasePacked();
  if (m_rare) {
    // Kept: callers may hold on to its lists across a reading.
    m_rare->insertPoints.RemoveAll();
    m_rare->vantrixRecords.RemoveAll();
    m_rare->matrixRows.RemoveAll();
    m_rare->properties.RemoveAll();
    m_rare->pointRecords.RemoveAll();
    m_rare->appInsertPoints = m_rare->appVantrix = nullptr;
  }
  m_typeCode.Empty();
}

bool CJovData::ReadXData(const resbuf* chain) { return Read(chain, false, nullptr); }

bool CJovData::ReadXDataOfKeptChain(const resbuf* chain, const resbuf** linkApplication) {
  return Read(chain, true, linkApplication);
}

// A node whose text can stand as a value: a string of any text code but an
// application name, which opens the next block.
bool CJovData::IsValueNode(const resbuf* node) { return node && node->code != 1001 && IsStringNode(node); }

bool CJovData::Read(const resbuf* chain, bool pairsInChain, const resbuf** linkApplication) {
  Clear();
  if (linkApplication) *linkApplication = nullptr;
  const resbuf* insertPoints = nullptr;
  const resbuf* jovData = nullptr;
  const resbuf* vantrix = nullptr;
  bool hasVantrix = false;
  for (const resbuf* node = chain; node; node = node->next) {
    if (node->code != 1001) continue;
    if (IsApplication(node, "JOV_DATA")) {
      jovData = node;
    } else if (IsApplication(node, "JOV_INSPT")) {
      insertPoints = node;
    } else if (IsApplication(node, "_VANTRIX")) {
      vantrix = node->next;
      hasVantrix = true;
    } else if (linkApplication && !*linkApplication && IsApplicationNode(node, "JOV_LINK")) {
      *linkApplication = node;
    }
  }
  if (!jovData) return false;

  m_appJovData = jovData;
  if (insertPoints) Rare().appInsertPoints = insertPoints;
  if (vantrix) Rare().appVantrix = vantrix;
  if (insertPoints) ReadInsertPoints(insertPoints->next);
  ReadJovData(jovData->next, pairsInChain);
  if (hasVantrix) ReadVantrix(vantrix);
  return true;
}

void CJovData::ReadInsertPoints(const resbuf* node) {
  for (; node; node = node->next) {
    if (node->code == 1010)
      InsertPoints().AddTail(new CJovInsPnt(node->value.point));
    else if (node->code == 1070)
      m_insertionValue = node->value.i16;
    else
      break;
  }
}

void CJovData::ReadJovData(const resbuf* node, bool pairsInChain) {
  if (!IsValueNode(node)) return;
  m_typeCode = TextOf(node);
  node = node->next;

  if (m_typeCode.GetLength() >= 2 && m_typeCode[1] == '@') {
    int rows = 0;
    int columns = 0;
    ParseMatrixSize(m_typeCode, rows, columns);
    // Cells are read only from the run of strings that follows; the size
    // is cut to it, keeping a last row that the chain holds in part.
    long long available = 0;
    for (const resbuf* n = node; IsValueNode(n); n = n->next) ++available;
    columns = static_cast<int>(std::min<long long>(columns, available));
    if (columns > 0)
      rows = static_cast<int>(std::min<long long>(rows, (available + columns - 1) / columns));
    else
      rows = 0;
    for (int r = 0; r < rows; ++r) {
      CJovPropData* row = NewReadRow(static_cast<uint32_t>(columns));
      for (int c = 0; c < columns && IsValueNode(node); ++c, node = node->next)
        row->SetField(static_cast<uint32_t>(c), TextOf(node));
      MatrixRows().AddTail(row);
    }
  }

  // The properties packed in one block, in one walk: measuring them first
  // would read every text twice. Too many for a block, or no room, and
  // they go into the list as they are read. A kept chain keeps them.
  const resbuf* first = node;
  if (pairsInChain && IsPairAt(first))
    m_firstPair = first;
  else if (IsPairAt(first))
    m_packed = static_cast<Packed*>(PackedPropertyArena().AllocateFilled([first](char* room, size_t roomBytes) -> size_t {
      const char* end = room + roomBytes;
      char* at = room + sizeof(Packed);
      uint32_t count = 0;
      for (const resbuf* key = first; IsPairAt(key); key = key->next->next) {
        for (const char* text : {TextOf(key), TextOf(key->next)}) {
          const size_t bytes = std::strlen(text) + 1;
          if (bytes > static_cast<size_t>(end - at)) return 0;
          std::memcpy(at, text, bytes);
          at += bytes;
        }
        ++count;
      }
      const size_t bytes = static_cast<size_t>(at - room);
      if (bytes > UINT32_MAX) return 0;
      auto* packed = reinterpret_cast<Packed*>(room);
      packed->count = count;
      packed->bytes = static_cast<uint32_t>(bytes);
      return bytes;
    }));

  // Only the first "_PTS" property holds the point records, as GetProperty
  // and the build see it; later ones stay plain properties.
  bool pointsRead = false;
  for (; IsPairAt(node); node = node->next->next) {
    const resbuf* value = node->next;
    if (!m_packed && !m_firstPair) {
      auto* property = new ReadProperty;
      property->SetField(0, TextOf(node));
      property->SetField(1, TextOf(value));
      Rare().properties.AddTail(property);
    }
    // Most keys are told from the two by their first letters.
    const char* key = TextOf(node);
    if (key[0] != '_' || (key[1] != 'T' && key[1] != 'P')) continue;
    if (std::strcmp(key, "_TYPE") == 0)
      m_typeFlags.Set(static_cast<uint32_t>(std::strtoll(TextOf(value), nullptr, 10)));
    else if (!pointsRead && std::strcmp(key, "_PTS") == 0) {
      CJovAddPnt::ParseList(PointRecords(), TextOf(value));
      pointsRead = true;
    }
  }
}

void CJovData::ReadVantrix(const resbuf* node) {
  if (!node || node->code != 1070) return;
  const uint32_t count = node->value.i16 < 0 ? 0u : static_cast<uint32_t>(node->value.i16);
  CJovPropData* record = NewReadRow(CJovPropData::kVantrixFields);
  uint32_t taken = 0;
  for (node = node->next; node && node->code == 1000 && taken < count; node = node->next, ++taken)
    if (taken < CJovPropData::kVantrixFields) record->SetField(taken, TextOf(node));
  for (uint32_t i = count; i < CJovPropData::kVantrixFields; ++i) record->SetField(i, "");
  VantrixRecords().AddTail(record);
}

resbuf* CJovData::BuildXData() {
  ChainTail chain;
  const RareLists& lists = RareOrEmpty();
  if (lists.insertPoints.GetCount() > 0) {
    chain.AppendApplication("JOV_INSPT");
    chain.Append(CJovInsPnt::BuildChain(lists.insertPoints, m_insertionValue));
  }
  chain.AppendApplication("JOV_DATA");
  chain.Append(lists.matrixRows.BuildMatrixChain(m_typeCode));
  std::string points;
  if (CJovAddPnt::FormatList(lists.pointRecords, points)) Properties().ReplaceValue("_PTS", points.c_str());
  chain.Append(Properties().BuildKeyValueChain());
  if (RareOrEmpty().vantrixRecords.GetHead()) {
    chain.AppendApplication("_VANTRIX");
    chain.Append(RareOrEmpty().vantrixRecords.BuildRecordChain());
  }
  return chain.Head();
}

const resbuf* CJovData::GetAppChain(int which) const {
  switch (which) {
    case kAppInsertPoints:
      return m_rare ? m_rare->appInsertPoints : nullptr;
    case kAppJovData:
      return m_appJovData;
    case kAppVantrix:
      return m_rare ? m_rare->appVantrix : nullptr;
    default:
      return nullptr;
  }
}

const char* CJovData::GetProperty(const char* key) const {
  if (!key) return nullptr;
  const char* found = nullptr;
  ForEachProperty([&](const char* k, const char* v) {
    // Most keys differ from the one looked for in their first two letters.
    if (k[0] != key[0] || (k[0] && k[1] != key[1]) || std::strcmp(k, key) != 0) return true;
    found = v;
    return false;
  });
  return found;
}

CJovPropData& CJovData::Properties() {
  MakePropertyList();
  return Rare().properties;
}

CJovData::RareLists& CJovData::Rare() {
  if (!m_rare) m_rare = std::make_unique<RareLists>();
  return *m_rare;
}

const CJovData::RareLists& CJovData::RareOrEmpty() const {
  static const RareLists kNone;
  return m_rare ? *m_rare : kNone;
}

void CJovData::MakePropertyList() {
  if (!m_packed && !m_firstPair) return;
  ForEachProperty([this](const char* key, const char* value) {
    auto* property = new ReadProperty;
    property->SetField(0, key);
    property->SetField(1, value);
    Rare().properties.AddTail(property);
    return true;
  });
  ReleasePacked();
}

void CJovData::ReleasePacked() {
  m_firstPair = nullptr;
  if (!m_packed) return;
  PackedPropertyArena().Release(m_packed, m_packed->bytes);
  m_packed = nullptr;
}

void CJovData::PrefetchProperties() const {
  constexpr size_t kMostBytes = 512;
  if (m_firstPair)
    PrefetchBytes(m_firstPair, 2 * sizeof(resbuf));
  else if (m_packed)
    PrefetchBytes(m_packed, std::min<size_t>(m_packed->bytes, kMostBytes));
  else if (m_rare)
    PrefetchBytes(m_rare->properties.GetHead(), kMostBytes);
}

void ReleasePropertyMemory() {
  ReadPropertyPool().ReleaseUnused();
  PackedPropertyArena().ReleaseUnused();
  interned_texts::ReleaseUnused();
}
