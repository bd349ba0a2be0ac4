#include "jov_vantrix/network/CalculationImport.h"

#include <cstring>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/CLocaleNumber.h"
#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/CSecDataNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/DescriptionMask.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/network/NetworkIndex.h"
#include "jov_vantrix/network/NetworkRecords.h"
#include "jov_vantrix/network/SelectionCopyWalk.h"
#include "jov_vantrix/network/ProductLookup.h"
#include "jov_vantrix/network/SectionFile.h"
#include "platform/win32/code_page.h"

namespace {

constexpr uint32_t kInsertFlagsA = 0x100081;
constexpr uint32_t kInsertFlagsB = 0x200081;
constexpr uint32_t kPipeFlag = 128;

bool IsExcluded(const CObjDataNew& r) { return IncludeFlagOf(r.m_jovData.m_typeCode) == '-'; }

bool IsDescription(const CObjDataNew& r) { return r.m_objectType == kObjectDescription && r.m_entityKind == kEntityText; }

const CString& ValueAt(const CStringArray& values, int i) {
  static const CString kNone;
  return i < values.GetSize() ? values[i] : kNone;
}

void SetProperty(CObjDataNew& r, const char* key, const CString& value) {
  r.m_jovData.Properties().SetValue(key, value);
}

struct PropertyNames {
  CString pipe0;  // where value 0 goes
  CString pipe3;  // where value 2 goes
};

void WritePipeKeys(CObjDataNew& pipe, const PropertyNames& names, const CString& name, const CStringArray& values) {
  SetProperty(pipe, names.pipe0, ValueAt(values, 0));
  SetProperty(pipe, names.pipe3, ValueAt(values, 2));
  SetProperty(pipe, "_NUM_SECID", name);
  SetProperty(pipe, "_NUM_ISOL_PROD", ValueAt(values, 3));
  SetProperty(pipe, "_NUM_ISOL_NAME", ValueAt(values, 4));
  SetProperty(pipe, "_NUM_ISOL_THICKNESS", ValueAt(values, 5));
}

// texts: how many of the 'P' line's texts the file held; the fields of
// those it did not hold keep what the drawing has.
void WriteProductKeys(CObjDataNew& product, const CSecDataNew& s, int texts) {
  SetProperty(product, "VE", ValueAt(s.m_pValues, 6));
  SetProperty(product, "_NUM_HYDR_VENTIL", ValueAt(s.m_pValues, 7));
  SetProperty(product, "SR", ValueAt(s.m_pValues, 8));
  SetProperty(product, "PR", ValueAt(s.m_pValues, 9));
  SetProperty(product, "_NUM_HYDR_SROUBENI", ValueAt(s.m_pValues, 9));
  CJovPropData& vantrix = product.m_jovData.VantrixRecords();
  for (int field = 1; field <= 5; ++field) vantrix.SetRecordField(field, ValueAt(s.m_pValues, field + 9));
  for (int field = 8; field < 8 + texts; ++field) vantrix.SetRecordField(field, s.m_productFields[field - 8]);
}

// The look-ups of one application of a branch, each answering what the
// scan in list order would answer first.
class ImportIndex {
 public:
  ImportIndex(CObjSezNew& list, CSecSezNew& branch) : products_(list) {
    for (CSecDataNew* s = branch.GetFirstSection(); s; s = s->GetNextSection()) sections_.emplace(s->m_number, s);
    links_.AddList(list);
  }

  CSecDataNew* Section(int number) const {
    auto found = sections_.find(number);
    return found == sections_.end() ? nullptr : found->second;
  }
  void Linked(CObjDataNew* record, CPtrArray& out) const { links_.Collect(record, out); }
  CObjDataNew* Product(const CObjDataNew& pipe, bool excludedOnly) const {
    return products_.Product(pipe, excludedOnly);
  }
  const std::vector<CObjDataNew*>* Descriptions(const CObjDataNew& product) const {
    return products_.Descriptions(product);
  }

 private:
  std::unordered_map<int, CSecDataNew*> sections_;
  LinkHandleIndex links_;
  ProductIndex products_;
};

void SetDescriptionLine(CObjDataNew& text, const CStringArray& lines) {
  const int n = AtoiC(text.m_jovData.GetProperty("_NUM_DESC_LINE"));
  text.Runs().m_text1 = n >= 0 && n < lines.GetSize() ? lines[n] : CString("?");
}

void ReadSelected(CObjDataNew& r) {
  const resbuf* chain = r.m_entityChain.GetChain();
  const char* type = GetEntityString(chain, 0);
  if (!type || !r.m_jovData.ReadXData(chain)) return;
  const CJovData& data = r.m_jovData;
  const char flag = IncludeFlagOf(data.m_typeCode);
  if (flag != 'i' && flag != '-') return;

  if (std::strcmp(type, "INSERT") == 0 && data.m_typeFlags.HasAll(kInsertFlagsA)) {
    r.m_entityKind = kEntityInsert;
    r.m_objectType = kObjectNetworkInsert;
    CopyProperties(r, {"_NUM_ASSOC", "_NBRANCH", "_NUM_BRANCH", "_NUM_RISER", "_NUM_SIDE", "_SCH_ASSOC", "CM"});
    CopyProperties(r, {data.m_typeFlags.HasAll(kInsertFlagsB) ? "CZ" : "CT"});
    GetEntityPoint(chain, r.m_basePoint, 10);
  } else if (std::strcmp(type, "LWPOLYLINE") == 0 && data.m_typeFlags.HasAll(kPipeFlag)) {
    r.m_linkHandle = LinkHandleOf(chain);
    CopyProperties(r, {"_NUM_ASSOC", "_NBRANCH", "_NUM_RISER", "_NUM_SIDE", "_SCH_ASSOC", "CM", "CT", "_POS_RISER"});
    r.m_branchNumber = PropertyOf(r, flag == 'i' ? "_NUM_BRANCH" : "_BRANCH");
    const char* number = data.GetProperty("_DW_NUMBER");
    // Only pipes an export numbered; a generated section's "e" numbers are
    // not yet the calculation's.
    if (number && *number && *number != 'e') {
      r.SetNumber(AtoiC(number));
      // A riser-side end's connect names the section the export added for it.
      r.SetConnect(AtoiC(data.GetProperty("_DW_CONNECT")));
      r.m_entityKind = kEntityLwPolyline;
      r.m_objectType = PipeKindOf(data.m_typeCode);
    }
  } else if (std::strcmp(type, "TEXT") == 0) {
    r.m_entityKind = kEntityText;
    r.m_objectType = kObjectDescription;
    const char* text = GetEntityString(chain, 1);
    r.Runs().m_text1 = text ? text : "";
    CopyProperties(r, {"_NBRANCH", "_NUM_ASSOC", "CM", "CT"});
    r.m_branchNumber = PropertyOf(r, "_BRANCH");
  }
}

bool IsExtendedDataBlock(const resbuf* node) {
  if (node->code != 1001 || !node->value.text) return false;
  const char* name = node->value.text;
  return std::strcmp(name, "JOV_INSPT") == 0 || std::strcmp(name, "JOV_DATA") == 0 ||
         std::strcmp(name, "_VANTRIX") == 0;
}

// A copy of the chain with the record's own blocks rebuilt where the first
// of them stood; other applications' blocks ("JOV_LINK" ...) stay in order.
resbuf* RebuildExtendedData(CObjDataNew& r) {
  resbuf* copy = nullptr;
  if (!DuplicateGroupCodeChain(r.m_entityChain.GetChain(), &copy)) return nullptr;
  resbuf** place = nullptr;
  for (resbuf** link = &copy; *link;) {
    resbuf* node = *link;
    if (!IsExtendedDataBlock(node)) {
      link = &node->next;
      continue;
    }
    resbuf* last = node;
    while (last->next && last->next->code != 1001) last = last->next;
    *link = last->next;
    last->next = nullptr;
    DeleteGroupCodeChain(&node);
    if (!place) place = link;
  }
  if (!place) return copy;
  resbuf* built = r.m_jovData.BuildXData();
  if (built) {
    LastGroupCodeNode(&built)->next = *place;
    *place = built;
  }
  return copy;
}

}  // namespace

int ReadImportNetwork(CObjSezNew& list) {
  // A record keeps its own copy of its entity's chain.
  SelectionCopyWalk selection;
  for (const resbuf* entity = selection.Next(true); entity; entity = selection.Next(false)) {
    CObjDataNew* record = NewReadRecord(entity, list.GetCount());
    list.AddTail(record);
    ReadSelected(*record);
  }
  list.m_readCount = list.GetCount();
  list.m_texts.RemoveAll();
  CollectBranchNames(list, list.m_texts);
  for (INT_PTR i = 0; i < list.m_texts.GetSize(); ++i) {
    CStringArray assocs;
    CollectSchemeAssocs(list, list.m_texts[i], assocs);
    if (assocs.GetSize() != 1) return static_cast<int>(assocs.GetSize());
  }
  return 1;
}

void CollectBranchNames(const CObjSezNew& list, CStringArray& names) {
  std::unordered_set<std::string> seen;
  for (const CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_objectType != kObjectSupplyPipe || r->m_branchName.IsEmpty()) continue;
    if (seen.insert(r->m_branchName.GetString()).second) names.Add(r->m_branchName.ToCString());
  }
}

void CollectSchemeAssocs(const CObjSezNew& list, const CString& branch, CStringArray& assocs) {
  std::unordered_set<std::string> seen;
  for (const CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_objectType != kObjectSupplyPipe || r->m_branchName != branch || r->m_schemeAssoc.IsEmpty()) continue;
    if (seen.insert(r->m_schemeAssoc.GetString()).second) assocs.Add(r->m_schemeAssoc.ToCString());
  }
}

int ApplyImportedSections(CObjSezNew& list, JovCutParams& params, CSecSezNew* branch, int,
                          const SectionFileReport* report, ImportAccount* account) {
  if (!branch) return 0;
  jovDatabase::Database* db = TheApp().GetDatabase('T');
  if (!db) return 0;
  const PropertyNames names{GetPropertyName(db, 0), GetPropertyName(db, 3)};
  if (names.pipe0.IsEmpty() || names.pipe3.IsEmpty()) return kImportNoPropertyNames;
  const CString& current = params.m_schemeStamp;
  const ImportIndex index(list, *branch);

  int applied = 0;
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
    const bool supply = r->m_objectType == kObjectSupplyPipe;
    if ((!supply && r->m_objectType != kObjectReturnPipe) || r->m_schemeAssoc != current) continue;
    // The export numbers a copy of a riser-side end, drawn nowhere, to stand
    // for the piece to the next branch: its section has no pipe to go to.
    if (account && supply && r->m_riserPosition == "1" && r->GetConnect() != 0 && r->m_branchName == branch->m_name)
      if (const CSecDataNew* added = index.Section(r->GetConnect())) account->riserSideSections.insert(added);
    const CSecDataNew* s = index.Section(r->GetNumber());
    if (!s) {
      if (account && r->m_branchName == branch->m_name) account->missedPipes.push_back(r);
      continue;
    }
    if (account) {
      account->usedSections.insert(s);
      account->matchedPipes.insert(r);
    }
    ++applied;
    int texts = 4;
    if (report)
      if (auto held = report->textsHeld.find(s); held != report->textsHeld.end()) texts = held->second;
    const CString name = (supply ? s->m_pName : s->m_zName).ToCString();
    const CStringArray& values = supply ? s->m_pValues : s->m_zValues;
    WritePipeKeys(*r, names, name, values);
    if (supply) {
      if (CObjDataNew* product = index.Product(*r, false)) {
        WriteProductKeys(*product, *s, texts);
        CStringArray lines;
        ExpandDescriptionMask(*product, params, lines);
        if (lines.GetSize() > 0)
          if (const auto* texts = index.Descriptions(*product))
            for (CObjDataNew* text : *texts) SetDescriptionLine(*text, lines);
      }
    }
    CPtrArray linked;
    index.Linked(r, linked);
    for (INT_PTR i = 0; i < linked.GetSize(); ++i) {
      auto* other = static_cast<CObjDataNew*>(linked[i]);
      WritePipeKeys(*other, names, name, values);
      if (account) account->matchedPipes.insert(other);
      if (!supply) continue;
      if (CObjDataNew* product = index.Product(*other, true)) WriteProductKeys(*product, *s, texts);
    }
  }
  return applied;
}

std::map<std::string, std::set<int>> ImportAccount::PipesWithoutSection() const {
  std::map<std::string, std::set<int>> numbers;
  for (const CObjDataNew* pipe : missedPipes)
    if (!matchedPipes.count(pipe)) numbers[pipe->m_branchName.GetString()].insert(pipe->GetNumber());
  return numbers;
}

void CollectLinkedRecords(CObjSezNew& list, CObjDataNew* record, CPtrArray& out, bool fromUnassociated) {
  // An empty handle links nothing, from either source.
  if (!record || record->m_linkHandle.IsEmpty()) return;
  auto take = [&](CObjDataNew* candidate) {
    if (candidate == record || candidate->m_linkHandle != record->m_linkHandle) return;
    if (candidate->m_objectType != record->m_objectType && candidate->m_objectType != kObjectRiser) return;
    candidate->SetNumber(record->GetNumber());
    candidate->SetConnect(record->GetConnect());
    out.Add(candidate);
  };
  if (fromUnassociated) {
    for (INT_PTR i = 0; i < list.m_unassociatedRecords.GetSize(); ++i)
      take(static_cast<CObjDataNew*>(list.m_unassociatedRecords[i]));
  } else {
    for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) take(r);
  }
}

CObjDataNew* FindProductForPipe(const CObjSezNew& list, const CObjDataNew* pipe, bool excludedOnly) {
  if (!pipe || pipe->m_CM.IsEmpty() || pipe->m_CT.IsEmpty()) return nullptr;
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_objectType != kObjectNetworkInsert || r->m_CM != pipe->m_CM || r->m_CT != pipe->m_CT) continue;
    if (excludedOnly ? IsExcluded(*r)
                     : r->m_branchNumber == pipe->m_branchNumber && r->m_assoc == pipe->m_assoc)
      return r;
  }
  return nullptr;
}

void UpdateDescriptionTexts(CObjSezNew& list, const CObjDataNew* product, const CStringArray& lines) {
  if (!product) return;
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord())
    if (IsDescription(*r) && r->m_branchNumber == product->m_branchNumber && r->m_assoc == product->m_assoc &&
        r->m_CM == product->m_CM && r->m_CT == product->m_CT)
      SetDescriptionLine(*r, lines);
}

int StoreNetworkXData(CObjSezNew& list) {
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
    switch (r->m_objectType) {
      case kObjectNetworkInsert:
      case kObjectSupplyPipe:
      case kObjectReturnPipe:
        r->SetBuiltChain(RebuildExtendedData(*r));
        break;
      case kObjectDescription: {
        resbuf* copy = nullptr;
        DuplicateGroupCodeChain(r->m_entityChain.GetChain(), &copy);
        if (resbuf* text = FindGroupCode(copy, 1)) {
          if (char* replaced = DupString(r->RunsOrNone().m_text1)) {
            std::free(text->value.text);
            text->value.text = replaced;
          }
        }
        r->SetBuiltChain(copy);
        break;
      }
      default:
        // Written as read: the built chain is the read one, not owned
        // (taken as for writing, so that what a later writer hangs into
        // it goes with the record).
        r->SetBuiltChain(nullptr);
        r->m_pBuiltChain = r->m_entityChain.GetChainForWrite();
        r->m_ownsBuiltChain = false;
    }
  }
  return 1;
}
