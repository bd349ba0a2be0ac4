#include "jov_vantrix/network/CObjDataNew.h"

#include <cstring>

#include "dataformat/GroupCodeChain.h"
#include "common/SlabPool.h"
#include "common/SlabsAhead.h"
#include "objectgl/UpdateGLText.h"
#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/resources.h"

namespace {

// No record outlives the module (networks live in commands and dialogs):
// the pool and its slabs go when it is unloaded. Slots of half cache lines,
// not whole ones: the fields the walks read (see PrefetchWalkedFields) take
// as many lines from either half, and a network's records take some 30
// bytes less each.
SlabPool& RecordPool() {
  static SlabPool pool(sizeof(CObjDataNew), kCacheLineBytes / 2);
  return pool;
}

// An entity's chain after its name node, whose name the record keeps;
// holder: the chain's, or null. A TEXT is known as one from here on,
// whichever reader takes it (segment labels are looked for only among
// them).
CObjDataNew* NewRecordOf(const resbuf* entity, uint32_t index, const CGroupChainRef* holder, bool measure) {
  const resbuf* name = entity && entity->code == -1 ? entity : nullptr;
  const resbuf* chain = name ? name->next : entity;
  const char* type = GetEntityString(chain, 0);
  const int kind = type && std::strcmp(type, "TEXT") == 0 ? kEntityText : kEntityAsRead;
  auto* record = new CObjDataNew(kind, 0, chain, index, holder, measure);
  if (name) {
    record->m_hasEntityName = true;
    record->m_entityName[0] = name->value.name[0];
    record->m_entityName[1] = name->value.name[1];
  }
  return record;
}

}  // namespace

void* CObjDataNew::operator new(size_t size) {
  return size == sizeof(CObjDataNew) ? RecordPool().Allocate() : ::operator new(size);
}

void CObjDataNew::operator delete(void* at, size_t size) {
  if (size == sizeof(CObjDataNew))
    RecordPool().Release(at);
  else
    ::operator delete(at);
}

void ReleaseRecordMemory() {
  RecordPool().ReleaseUnused();
  CGroupChainRef::ReleaseUnusedMemory();
  ReleasePropertyMemory();
  // Made ahead for a read that took none of them (a pick the user left).
  ReleaseSlabsAhead();
}

CObjDataNew::CObjDataNew(int entityKind, int objectType, const resbuf* chain, uint32_t index,
                         const CGroupChainRef* holder, bool measure)
    : m_index(index), m_entityKind(entityKind), m_objectType(objectType) {
  if (chain) holder ? m_entityChain.Assign(chain, *holder) : m_entityChain.Assign(chain);
  if (measure) MeasurePath(this);
}

void MeasurePath(CObjDataNew* record) {
  GetPathEndsAndLength(record, record->m_start, record->m_end, record->m_length);
}

CObjDataNew::CObjDataNew(const CObjDataNew& source, int number, int connect)
    : m_number(number),
      m_connect(connect),
      m_index(source.m_index),
      m_entityKind(source.m_entityKind),
      m_objectType(source.m_objectType),
      m_length(20.0),
      m_branchName(source.m_branchName),
      m_pPiece(&source.DrawnPiece()),
      m_branchNumber(source.m_branchNumber),
      m_sideNumber(source.m_sideNumber),
      m_CM(source.m_CM),
      m_CT(source.m_CT),
      m_CZ(source.m_CZ),
      m_assoc(source.m_assoc),
      m_schemeAssoc(source.m_schemeAssoc) {
  const RunPart& from = source.RunsOrNone();
  SetRunText(&RunPart::m_riserPrefix, from.m_riserPrefix);
  SetRunText(&RunPart::m_CR, from.m_CR);
  if (!from.m_text1.IsEmpty()) Runs().m_text1 = from.m_text1;
  if (!from.m_thirdProperty.IsEmpty()) Runs().m_thirdProperty = from.m_thirdProperty;
}

// Most records hold none of these chains: no call for them.
CObjDataNew::~CObjDataNew() {
  if (m_ownsBuiltChain && m_pBuiltChain) FreeGroupCodeChain(m_pBuiltChain);
}

CObjDataNew::RunPart::~RunPart() {
  FreeGroupCodeChain(m_pProductGeometry);
  FreeGroupCodeChain(m_pProductData);
}

void CObjDataNew::SetBuiltChain(resbuf* chain) {
  if (m_ownsBuiltChain && m_pBuiltChain != chain) FreeGroupCodeChain(m_pBuiltChain);
  m_pBuiltChain = chain;
  m_ownsBuiltChain = true;
}

const CObjDataNew::RunPart& CObjDataNew::RunsOrNone() const {
  static const RunPart kNone;
  return m_runs ? *m_runs : kNone;
}

void CObjDataNew::SetRunText(RecordText RunPart::*field, const char* text) {
  if (m_runs || (text && *text)) Runs().*field = text;
}

CObjDataNew* NewReadRecord(const resbuf* entity, uint32_t index, bool measure) {
  return NewRecordOf(entity, index, nullptr, measure);
}

CObjDataNew* NewReadRecord(const CGroupChainRef& entity, uint32_t index, bool measure) {
  return NewRecordOf(entity.GetChain(), index, &entity, measure);
}

bool IsSegmentOfType(const CObjDataNew* record, int objectType) {
  return record && record->m_objectType == objectType && !record->m_riserNumber.IsEmpty();
}

int GetRecordTypeClass(const CObjDataNew* record) {
  return record ? GetTypeClassOfValue(record->m_jovData.GetProperty("TY"), true) : 0;
}

int GetTypeClassOfValue(const char* type, bool withManifold) {
  if (!type) return 0;
  static constexpr struct {
    UINT stringId;
    int typeClass;
  } kClasses[] = {{7, 1}, {8, 0}, {9, 3}, {10, 2}, {51, 4}};
  for (const auto& entry : kClasses) {
    if (entry.typeClass == 4 && !withManifold) continue;
    char name[256];
    // A string the resource library lacks matches nothing, not even "".
    if (LoadStringA(AfxGetResourceHandle(), entry.stringId, name, sizeof name) <= 0) continue;
    if (std::strcmp(type, name) == 0) return entry.typeClass;
  }
  return 0;
}

CObjDataNew* FindPartnerRecord(const CObjDataNew* record) {
  if (!record || record->m_CM.IsEmpty() || record->m_CT.IsEmpty() || !record->m_pGroup)
    return nullptr;
  for (CObjDataNew* r = record->m_pGroup->GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_objectType == kObjectNetworkInsert && r->m_CM == record->m_CM && r->m_CT == record->m_CT)
      return r;
  }
  return nullptr;
}

void UpdateNumberLabel(CObjDataNew* record) {
  if (!record || !record->m_pNumberLabel) return;
  CString text;
  if (record->GetNumber() != 0) text.Format("%d", record->GetNumber());
  UpdateGLText(record->m_pNumberLabel, text);
}
