#include "jov_vantrix/section/CutObjectsReader.h"

#include <cstring>

#include "dataformat/GroupCodeChain.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/ProductLookup.h"
#include "jov_vantrix/section/RiserRuns.h"
#include "platform/win32/code_page.h"

namespace {

// Type flags.
constexpr uint32_t kNetworkInsert = 0x81;
constexpr uint32_t kRiser = 0xC5;
constexpr uint32_t kBranchStart = 0x200081;
constexpr uint32_t kPipe = 0x80;

// Values taken from the extended data are cut to this length.
constexpr int kMaxValue = 255;

// States of the walk.
constexpr int kStarted = 0;
constexpr int kEnded = 1;
constexpr int kNothingYet = 2;
// The reading stops at once with kCutReadNoStart.
constexpr int kGiveUp = -1;

CString Value(const CObjDataNew& record, const char* key) {
  const char* value = record.m_jovData.GetProperty(key);
  CString text(value ? value : "");
  if (text.GetLength() > kMaxValue) text = text.Left(kMaxValue);
  return text;
}

bool StartsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

class CutReader {
 public:
  CutReader(CObjSezNew& list, CString& marker) : list_(list), marker_(marker) {}

  // The state after one entity; kCutReadSecondStart and kGiveUp end the
  // reading at once.
  int Read(CObjDataNew& r, int state) {
    const resbuf* chain = r.m_entityChain.GetChain();
    const char* type = GetEntityString(chain, 0);
    if (type && _mbsicmp(type, "INSERT") == 0 && r.m_jovData.ReadXData(chain)) {
      r.m_entityKind = kEntityInsert;
      return ReadInsert(r, state);
    }
    if (state != kStarted) return state == kNothingYet ? kEnded : state;
    if (type && _mbsicmp(type, "LWPOLYLINE") == 0 && r.m_jovData.ReadXData(chain) &&
        r.m_jovData.m_typeFlags.HasAll(kPipe) && r.m_jovData.m_typeCode.GetLength() > 7 &&
        r.m_jovData.m_typeCode[7] == '-')
      ReadPipe(r);
    return state;
  }

  int supplyCount = 0;
  int returnCount = 0;

 private:
  int ReadInsert(CObjDataNew& r, int state) {
    const CBitFlags& flags = r.m_jovData.m_typeFlags;
    if (state == kNothingYet && flags.HasAll(kBranchStart)) {
      Copy(r, {"_NBRANCH", "CM", "CZ", "_NUM_RISER", "_PREFIX_RISER", "_NUM_BRANCH", "_NUM_SIDE", "_NUM_ASSOC"});
      branch_ = r.m_branchName;
      assoc_ = r.m_assoc;
      r.m_objectType = kObjectPickedBranch;
      r.m_riserNumber = "0";
      r.m_riserPosition = "0";
      TakeMarker(r);
      Place(r);
      ++list_.m_secondCount;
      return kStarted;
    }
    if (state == kStarted && flags.HasAll(kBranchStart)) return kCutReadSecondStart;
    if (state == kStarted && flags.HasAll(kNetworkInsert) && !flags.HasAll(kRiser)) {
      Copy(r, {"_NBRANCH", "CM", "CT", "CR", "_NUM_RISER", "_NUM_BRANCH", "_NUM_SIDE", "_NUM_ASSOC"});
      Adopt(r);
      if (Current(r)) {
        r.m_objectType = kObjectNetworkInsert;
        r.m_offsetFlag = !r.RunsOrNone().m_CR.IsEmpty();
      }
      Place(r);
      return state;
    }
    if (!flags.HasAll(kRiser)) return state == kNothingYet ? kEnded : state;

    Copy(r, {"_NBRANCH", "_NUM_RISER", "_PREFIX_RISER", "_NUM_BRANCH", "_NUM_SIDE", "_POS_RISER", "_NUM_ASSOC"});
    if (r.m_riserPosition.IsEmpty()) {
      if (state == kNothingYet) return kGiveUp;
      if (Current(r)) r.m_objectType = kObjectNetworkInsert;
      Place(r);
      return state;
    }
    Adopt(r);
    if (Current(r)) r.m_objectType = kObjectRiser;
    TakeMarker(r);
    Place(r);
    ++list_.m_secondCount;
    return kStarted;
  }

  void ReadPipe(CObjDataNew& r) {
    Copy(r, {"_NBRANCH", "_BRANCH", "_NUM_SIDE", "_NUM_RISER", "CM", "CT", "CR", "", "CZ", "_NUM_ASSOC"});
    Adopt(r);
    if (Current(r)) {
      const RecordText& code = r.m_jovData.m_typeCode;
      if (StartsWith(code, "TPP") || StartsWith(code, "TP6")) {
        r.m_objectType = kObjectSupplyPipe;
        ++supplyCount;
        list_.m_marker1 = StartsWith(code, "TPP") ? "0" : "18";
      } else if (StartsWith(code, "TPZ") || StartsWith(code, "TP7")) {
        r.m_objectType = kObjectReturnPipe;
        ++returnCount;
        list_.m_marker2 = StartsWith(code, "TPZ") ? "1" : "19";
      }
    }
    Place(r);
  }

  // The values of the keys into the record's fields; "" stands for the
  // property the catalogue names third, "_BRANCH" fills the branch number.
  void Copy(CObjDataNew& r, std::initializer_list<const char*> keys) {
    using Runs = CObjDataNew::RunPart;
    static constexpr struct {
      const char* key;
      RecordTextField field;
    } kFields[] = {
        {"_NBRANCH", {&CObjDataNew::m_branchName}},          {"_NUM_BRANCH", {&CObjDataNew::m_branchNumber}},
        {"_BRANCH", {&CObjDataNew::m_branchNumber}},         {"_NUM_RISER", {&CObjDataNew::m_riserNumber}},
        {"_PREFIX_RISER", {nullptr, &Runs::m_riserPrefix}}, {"_NUM_SIDE", {&CObjDataNew::m_sideNumber}},
        {"_POS_RISER", {&CObjDataNew::m_riserPosition}},     {"_NUM_ASSOC", {&CObjDataNew::m_assoc}},
        {"CM", {&CObjDataNew::m_CM}},                        {"CT", {&CObjDataNew::m_CT}},
        {"CZ", {&CObjDataNew::m_CZ}},                        {"CR", {nullptr, &Runs::m_CR}},
    };
    for (const char* key : keys) {
      if (!*key) {
        const CString name = GetPropertyName(list_.m_pDatabase, 3);
        if (!name.IsEmpty()) r.Runs().m_thirdProperty = Value(r, name);
        continue;
      }
      for (const auto& f : kFields)
        if (std::strcmp(f.key, key) == 0) f.field.Set(r, Value(r, key));
    }
  }

  // The first branch met names the branch and association the section is of.
  void Adopt(const CObjDataNew& r) {
    if (!branch_.IsEmpty()) return;
    branch_ = r.m_branchName;
    assoc_ = r.m_assoc;
  }
  bool Current(const CObjDataNew& r) const { return r.m_branchName == branch_ && r.m_assoc == assoc_; }

  void TakeMarker(const CObjDataNew& r) {
    if (!marker_.IsEmpty()) return;
    marker_ = r.m_riserNumber;
    list_.m_shiftMarker = marker_;
  }

  static void Place(CObjDataNew& r) { GetEntityPoint(r.m_entityChain.GetChain(), r.m_basePoint, 10); }

  CObjSezNew& list_;
  CString& marker_;
  CString branch_;
  CString assoc_;
};

}  // namespace

char GetListMediumLetter(const CObjSezNew& list) {
  for (const CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord())
    if (r->m_objectType == kObjectRiser) return r->m_jovData.m_typeCode.IsEmpty() ? '\0' : r->m_jovData.m_typeCode[0];
  return 'T';
}

int ReadCutObjects(CObjSezNew& list, CString& riserMarker, CObjDataNew*& start) {
  list.m_pDatabase = TheApp().GetDatabase(GetListMediumLetter(list));
  if (!list.m_pDatabase) return kCutReadNoStart;
  return ReadCutSelection(list, riserMarker, start);
}

int ReadCutSelection(CObjSezNew& list, CString& riserMarker, CObjDataNew*& start) {
  const HostExport2D* host = TheApp().m_pHostTable;
  CutReader reader(list, riserMarker);
  int state = kNothingYet;
  for (const resbuf* entity = HostSelectionNext(host, true); entity && state != kEnded;
       entity = HostSelectionNext(host, false)) {
    CObjDataNew* record = NewReadRecord(entity, list.GetCount());
    if (!list.AddTail(record)) {
      delete record;
      break;
    }
    state = reader.Read(*record, state);
    if (state == kCutReadSecondStart || state == kGiveUp) {
      // Every record so far was read; the caller gives up on the rest.
      list.m_readCount = list.GetCount();
      return state == kGiveUp ? kCutReadNoStart : state;
    }
  }
  start = FindFirstRiser(list);
  if (!start) state = kCutReadNoStart;
  if (reader.supplyCount != reader.returnCount || reader.supplyCount == 0) state = kCutReadPipesUnpaired;
  list.m_readCount = list.GetCount();
  return state;
}
