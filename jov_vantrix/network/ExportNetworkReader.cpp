#include "jov_vantrix/network/ExportNetworkReader.h"

#include <cstring>
#include <memory>
#include <unordered_set>
#include <vector>

#include "common/CLocaleNumber.h"
#include "common/Prefetch.h"
#include "common/ValueRules.h"
#include "common/WorkBehind.h"
#include "dataformat/GroupCodeChain.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/NetworkIndex.h"
#include "jov_vantrix/network/NetworkRecords.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "jov_vantrix/network/SelectionCopyWalk.h"
#include "objectgl/GLGeometry.h"
#include "platform/win32/code_page.h"

namespace {

constexpr double kRiserLinkTolerance = 1e-6;
constexpr double kFreeEndTolerance = 1e-5;
constexpr double kMarkerRadius = 40.0;
constexpr uint32_t kInsertFlagsA = 0x100081;
constexpr uint32_t kInsertFlagsB = 0x200081;
constexpr uint32_t kRiserFlags = 197;
constexpr uint32_t kPipeFlag = 128;

struct PipeCounts {
  int included5 = 0, included6 = 0, excluded5 = 0, excluded6 = 0;
};

enum class Outcome { kept, refused };

// Another riser record of the pipe's type with an end at one of the pipe's.
bool BlocksEnd(const CObjDataNew* r, const CObjDataNew* pipe) {
  if (r == pipe || r->m_objectType != pipe->m_objectType) return false;
  for (const GLVector* end : {&r->m_start, &r->m_end})
    if (GLDistance(*end, pipe->m_start) < kFreeEndTolerance || GLDistance(*end, pipe->m_end) < kFreeEndTolerance)
      return true;
  return false;
}

// "e12" -> 12: the 'e' of a generated section's numbers is dropped.
int NumberOfText(const char* text) {
  if (text && *text == 'e') ++text;
  return AtoiC(text);
}

double EntityReal(const resbuf* entity, int16_t code) {
  const resbuf* node = entity;
  if (node && node->code == 0) node = node->next;
  for (; node && node->code != 0; node = node->next)
    if (node->code == code) return node->value.real;
  return 0.0;
}

// What filing a record asks once its own data is read: into the scheme
// (the pipe counts told, and whether its numbers are an earlier
// export's), or as a marker circle when its radius is the marker's.
struct ReadStep {
  enum Kind : uint8_t { none, file, circle };
  Kind kind = none;
  bool includedPipe = false;
  bool excludedPipe = false;
  bool numberedBefore = false;
};

struct ReadItem {
  CObjDataNew* record = nullptr;
  ReadStep step;
};

class ExportReader {
 public:
  explicit ExportReader(CObjSezNew& network) : network_(network), host_(TheApp().m_pHostTable) {}

  // The record's own fields from its chain, its path measured first. It
  // touches nothing but the record, so that it can run on a thread behind
  // the read.
  static ReadStep Parse(CObjDataNew* record) {
    MeasurePath(record);
    const resbuf* chain = record->m_entityChain.GetChain();
    const char* type = GetEntityString(chain, 0);
    if (!type) return {};
    CJovData& data = record->m_jovData;
    const resbuf* link = nullptr;
    const bool readable = std::strcmp(type, "CIRCLE") != 0 && data.ReadXDataOfKeptChain(chain, &link);
    const char flag = IncludeFlagOf(data.m_typeCode);

    if (std::strcmp(type, "INSERT") == 0 && readable) {
      record->m_entityKind = kEntityInsert;
      const bool network = data.m_typeFlags.HasAll(kInsertFlagsA) || data.m_typeFlags.HasAll(kInsertFlagsB);
      if (network && flag == 'i') {
        CopyProperties(*record, {"_NBRANCH", "CM", "CT", "_NUM_RISER", "_NUM_BRANCH", "_NUM_SIDE",
                                 "_NUM_ASSOC", "_SCH_ASSOC"});
        record->m_objectType = data.m_typeFlags.HasAll(kRiserFlags) ? kObjectRiser : kObjectNetworkInsert;
        return ToFile(record, true);
      }
      if (data.m_typeFlags.HasAll(kRiserFlags) && flag == '-') {
        CopyProperties(*record, {"_NBRANCH", "_NUM_RISER", "_NUM_BRANCH", "_NUM_SIDE", "_NUM_ASSOC",
                                 "_SCH_ASSOC"});
        record->m_objectType = kObjectRiser;
        record->m_linkHandle = LinkHandleAfter(link);
        return ToFile(record, true);
      }
      return {};
    }
    if (std::strcmp(type, "LWPOLYLINE") == 0 && readable && data.m_typeFlags.HasAll(kPipeFlag) && flag == '-') {
      record->m_linkHandle = LinkHandleAfter(link);
      record->m_objectType = PipeKindOf(data.m_typeCode);
      ReadStep step = ToFile(record, false);
      step.excludedPipe = true;
      return step;
    }
    if (std::strcmp(type, "CIRCLE") == 0) return {.kind = ReadStep::circle};
    if (std::strcmp(type, "LWPOLYLINE") == 0 && readable && data.m_typeFlags.HasAll(kPipeFlag) && flag == 'i')
      return ParseIncludedPipe(record, link);
    if (record->m_entityKind == kEntityText) {
      if (readable && flag == 'i') {
        CopyProperties(*record, {"_NUM_ASSOC", "_SCH_ASSOC"});
        const char* line = data.GetProperty("_NUM_DESC_LINE");
        if (!line || line[0] != '0') return {};
        record->m_objectType = kObjectDescription;
        return ToFile(record, false);
      }
      // A segment-number label of an earlier export is no part of the
      // network; it stays among the records read, where the labelling of
      // this export finds it to rewrite it (a TEXT's record is of that kind
      // as made).
      return {};
    }
    return {};
  }

  // Files a parsed record, in the order read.
  Outcome File(CObjDataNew* record, const ReadStep& step) {
    if (step.numberedBefore) result_ = kExportNumberedBefore;
    if (step.includedPipe || step.excludedPipe) {
      const bool supply = record->m_objectType == kObjectSupplyPipe;
      const bool back = record->m_objectType == kObjectReturnPipe;
      int& count5 = step.includedPipe ? counts_.included5 : counts_.excluded5;
      int& count6 = step.includedPipe ? counts_.included6 : counts_.excluded6;
      count5 += supply;
      count6 += back;
    }
    if (step.kind == ReadStep::circle) {
      double radius = EntityReal(record->m_entityChain.GetChain(), 40);
      if (HostDrawingUnits(host_) == 1) radius *= 1000.0;
      if (radius != kMarkerRadius) return Outcome::kept;
      network_.m_markerCircles.Add(record);
      record->m_entityKind = kEntityCircle;
      ++network_.m_readCount;
      return Outcome::kept;
    }
    if (step.kind != ReadStep::file) return Outcome::kept;
    if (!FileRecordIntoScheme(network_, record)) return Outcome::refused;
    ++network_.m_readCount;
    return Outcome::kept;
  }

  // After the last entity.
  int Finish() {
    const PipeCounts& c = counts_;
    const bool balanced = c.included5 == c.included6 && c.excluded5 == c.excluded6;
    if (balanced && c.included5 == 0 && c.excluded5 != 0) {
      result_ = kExportOnlyExcluded;
    } else if (balanced && c.included5 != 0 && c.excluded5 != 0) {
      if (result_ == kExportNumberedBefore) return kExportNumberedBefore;
      result_ = kExportComplete;
    } else if (balanced && c.included5 != 0) {
      result_ = kExportNoFloorPlan;
    }

    // One index of the segment ends serves both steps below: the riser
    // records are the scheme's segments, a free pipe asks for any blocker in
    // any order, and the links' exact test is finer than the index.
    EndPointIndex ends(kFreeEndTolerance);
    IndexSchemeSegments(network_, ends);
    // The start pipe: the one riser pipe whose ends touch no other. A
    // pipe of a run mostly meets the one filed before it: that one is
    // asked first, the index only when it does not touch.
    const CObjDataNew* before = nullptr;
    for (INT_PTR i = 0; i < network_.m_scheme.m_risers.GetSize(); ++i) {
      auto* r = static_cast<CObjDataNew*>(network_.m_scheme.m_risers[i]);
      if (!IsSegmentOfType(r, kObjectSupplyPipe)) continue;
      const bool blocked = (before && BlocksEnd(before, r)) || !IsFreePipe(network_, r, &ends);
      before = r;
      if (blocked) continue;
      if (network_.m_pStartPipe) return kExportSeveralStarts;
      network_.m_pStartPipe = r;
    }
    ClassifyNetworkGroups(network_, &ends);
    return result_;
  }

 private:
  static ReadStep ParseIncludedPipe(CObjDataNew* record, const resbuf* link) {
    CJovData& data = record->m_jovData;
    CopyProperties(*record, {"_NBRANCH", "_NUM_BRANCH", "_NUM_SIDE", "_NUM_RISER", "_POS_RISER", "CM",
                             "CZ", "CT", "_NUM_ASSOC", "_SCH_ASSOC"});
    // Only a whole number: "4,25" would be read as 4. A missing or unread
    // length stays 0, which the export refuses.
    record->m_length = 0.0;
    ReadFiniteNumber(data.GetProperty("_LENGTH_SEGMENT"), record->m_length);
    const char* number = data.GetProperty("_DW_NUMBER");
    bool numberedBefore = false;
    if (!number || number[0] != 'e') {
      // Plain numbers: an earlier export's, unless nothing was kept of the
      // numbers before it (then the pipe is no part of this network).
      const char* original = data.GetProperty("_DW_NUMBER_ORIG");
      if (!original || !*original) return {};
      numberedBefore = true;
    }
    record->SetNumber(NumberOfText(number));
    record->SetReadNumber(record->GetNumber());
    record->SetConnect(NumberOfText(data.GetProperty("_DW_CONNECT")));
    record->SetReadConnect(record->GetConnect());
    record->m_linkHandle = LinkHandleAfter(link);
    record->m_objectType = PipeKindOf(data.m_typeCode);
    ReadStep step = ToFile(record, true);
    step.includedPipe = true;
    step.numberedBefore = numberedBefore;
    return step;
  }

  static ReadStep ToFile(CObjDataNew* record, bool basePoint) {
    if (basePoint) GetEntityPoint(record->m_entityChain.GetChain(), record->m_basePoint, 10);
    return {.kind = ReadStep::file};
  }

  CObjSezNew& network_;
  const HostExport2D* host_;
  PipeCounts counts_;
  int result_ = kExportUnusable;
};

// The segment records of rec's type and riser number that rec's ends meet,
// in scan order (groups in order, records in order).
template <typename Visit>
void ForEachRiserCandidate(CObjSezNew& network, CObjDataNew* rec, const EndPointIndex* ends, Visit visit) {
  auto matches = [rec](const CObjDataNew* r) {
    return r->m_pGroup != rec->m_pGroup && IsSegmentOfType(r, rec->m_objectType) &&
           r->m_riserNumber == rec->m_riserNumber;
  };
  if (ends) {
    for (const IndexedRecord& found : ends->NearEither(rec->m_start, rec->m_end))
      if (matches(found.record) && !visit(found.record)) return;
    return;
  }
  for (CNumSezNew* group = network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup()) {
    if (group == rec->m_pGroup) continue;
    for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord())
      if (matches(r) && !visit(r)) return;
  }
}

bool Touches(const GLVector& point, const CObjDataNew* r) {
  return GLDistance(point, r->m_start) < kRiserLinkTolerance || GLDistance(point, r->m_end) < kRiserLinkTolerance;
}

// The record whose end meets the other: its link A and its group's next
// record, the other's link B and its group's previous record.
void LinkEndToStart(CObjDataNew* from, CObjDataNew* to) {
  from->m_pLinkA = to;
  to->m_pLinkB = from;
  if (CNumSezNew* group = from->m_pGroup) {
    group->m_pNextRecord = to;
    group->m_nextLink = 1;
  }
  if (CNumSezNew* group = to->m_pGroup) {
    group->m_pPreviousRecord = from;
    group->m_previousLink = 1;
  }
}

void MarkGroup(CObjSezNew& network, CNumSezNew* group, int cls) {
  group->m_class = cls;
  (cls == 1 ? network.m_class1Groups : network.m_class2Groups).Add(group);
}

void MarkFrom(CObjSezNew& network, CObjDataNew* rec, int cls, bool followA, bool followB,
              std::unordered_set<const CNumSezNew*>& met) {
  // A group met before in this call is not followed again: links that form
  // a cycle would lead round it for ever.
  CObjDataNew* link = followA ? rec->m_pLinkA : nullptr;
  if (link && link->m_pGroup && met.insert(link->m_pGroup).second) {
    CNumSezNew* group = link->m_pGroup;
    if (link->m_riserPosition != "2" || group->m_flagB) {
      for (CObjDataNew* p = group->GetFirstRecord(); p; p = p->GetNextRecord())
        if (IsSegmentOfType(p, kObjectSupplyPipe)) MarkFrom(network, p, cls, true, p != link, met);
    } else {
      MarkGroup(network, group, cls);
    }
  }
  link = followB ? rec->m_pLinkB : nullptr;
  if (link && link->m_pGroup && met.insert(link->m_pGroup).second) {
    CNumSezNew* group = link->m_pGroup;
    if (link->m_riserPosition == "0" && !group->m_flagB) {
      MarkGroup(network, group, cls);
    } else {
      for (CObjDataNew* p = group->GetFirstRecord(); p; p = p->GetNextRecord())
        if (IsSegmentOfType(p, kObjectSupplyPipe)) MarkFrom(network, p, cls, p != link, true, met);
    }
  }
}

}  // namespace

namespace {

// The records of next(true), next(false) ... up to a null one, read in
// that order. Asking the host for each entity is bound to this thread; a
// record's own data is read from its copy on a thread behind, and the
// records are filed here once all are read.
template <typename Next>
int ReadRecords(CObjSezNew& network, Next next) {
  // Until filed, the records are this reader's: a failed read lets them
  // go, once the thread behind has let go of them.
  std::vector<std::unique_ptr<CObjDataNew>> unfiled;
  const auto parse = [](ReadItem& item) { item.step = ExportReader::Parse(item.record); };
  WorkBehind<ReadItem, decltype(parse)> parsed(parse);
  for (CObjDataNew* record = next(true); record; record = next(false)) {
    std::unique_ptr<CObjDataNew> owned(record);
    unfiled.push_back(std::move(owned));
    parsed.Add({record, {}});
  }
  parsed.Finish();

  ExportReader reader(network);
  size_t at = 0;
  bool refused = false;
  parsed.ForEach([&](const ReadItem& item) {
    std::unique_ptr<CObjDataNew>& owned = unfiled[at++];
    if (refused) return owned.reset();
    // A record's index is the count of those filed before it.
    owned->m_index = network.m_readCount;
    network.m_allRecords.Add(owned.get());
    CObjDataNew* record = owned.release();
    refused = reader.File(record, item.step) == Outcome::refused;
    if (!record->m_pGroup) network.m_heldRecords.AddTail(record);
  });
  return refused ? kExportSecondScheme : reader.Finish();
}

}  // namespace

int ReadExportNetwork(CObjSezNew& network, qmArray<resbuf*>* kept) {
  // A record keeps its own copy of its entity's chain.
  SelectionCopyWalk selection;
  int keptAt = 0;
  return ReadRecords(network, [&](bool first) -> CObjDataNew* {
    const resbuf* entity =
        kept ? (keptAt < kept->GetCount() ? kept->ElementAt(keptAt++) : nullptr) : selection.Next(first);
    return entity ? NewReadRecord(entity, 0, false) : nullptr;
  });
}

int ReadExportNetwork(CObjSezNew& network, std::span<const CGroupChainRef> kept) {
  // Each kept chain is copied whole from its block: the block's head, read
  // first, is hinted far ahead; the chain's first nodes, read once the copy
  // has found them, nearer.
  constexpr size_t kBlocksAhead = 16;
  constexpr size_t kChainsAhead = 8;
  constexpr size_t kChainBytes = 512;
  size_t keptAt = 0;
  for (size_t i = 0; i < kBlocksAhead && i < kept.size(); ++i) kept[i].PrefetchBlock();
  return ReadRecords(network, [&](bool) -> CObjDataNew* {
    if (keptAt >= kept.size()) return nullptr;
    if (keptAt + kBlocksAhead < kept.size()) kept[keptAt + kBlocksAhead].PrefetchBlock();
    if (keptAt + kChainsAhead < kept.size()) PrefetchBytes(kept[keptAt + kChainsAhead].GetChain(), kChainBytes);
    return NewReadRecord(kept[keptAt++], 0, false);
  });
}

bool FileRecordIntoScheme(CObjSezNew& network, CObjDataNew* record) {
  // A trade the host has no catalogue for is asked once per reading.
  const char trade = record->m_jovData.m_typeCode.IsEmpty() ? '\0' : record->m_jovData.m_typeCode[0];
  if (!network.m_pDatabase && trade && network.m_tradesWithoutCatalogue.Find(trade) < 0) {
    network.m_pDatabase = TheApp().GetDatabase(trade);
    if (!network.m_pDatabase) network.m_tradesWithoutCatalogue += trade;
  }
  if (record->m_schemeAssoc.IsEmpty()) {
    network.m_unassociatedRecords.Add(record);
    return true;
  }
  CSchSezNew& scheme = network.m_scheme;
  if (scheme.GetGroupCount() > 0 && record->m_schemeAssoc != scheme.m_name) return false;
  if (scheme.GetGroupCount() == 0) scheme.m_name = record->m_schemeAssoc;
  scheme.FileRecord(record);
  if (!record->m_riserNumber.IsEmpty()) scheme.m_risers.Add(record);
  return true;
}

void LinkRiserNeighbours(CObjSezNew& network, CObjDataNew* rec, const EndPointIndex* ends) {
  if (!rec) return;
  const RecordText& position = rec->m_riserPosition;
  ForEachRiserCandidate(network, rec, ends, [&](CObjDataNew* r) {
    if (position != "2" && Touches(rec->m_end, r)) {
      LinkEndToStart(rec, r);
      if (position == "0" || (position == "1" && rec->m_pLinkB)) return false;
    }
    if (position != "0" && Touches(rec->m_start, r)) {
      LinkEndToStart(r, rec);
      if (position == "2" || (position == "1" && rec->m_pLinkA)) return false;
    }
    return true;
  });
}

void IndexSchemeSegments(const CObjSezNew& network, EndPointIndex& ends) {
  ends.Reserve(SchemePipeRecords(network.m_scheme));
  for (CNumSezNew* group = network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup())
    IndexGroupSegments(*group, ends);
}

size_t SchemePipeRecords(const CSchSezNew& scheme) {
  size_t records = 0;
  // Supply pipes are counted; each has its return pipe, and a group a few
  // products besides.
  for (CNumSezNew* group = scheme.GetFirstGroup(); group; group = group->GetNextGroup())
    records += 2 * size_t{group->m_pipeCount} + 4;
  return records;
}

void IndexGroupSegments(const CNumSezNew& group, EndPointIndex& ends) {
  for (CObjDataNew* r = group.GetFirstRecord(); r; r = r->GetNextRecord())
    if (!r->m_riserNumber.IsEmpty()) ends.Add(r);
}

bool ClassifyNetworkGroups(CObjSezNew& network, const EndPointIndex* ends) {
  EndPointIndex own(kRiserLinkTolerance);
  if (!ends) {
    IndexSchemeSegments(network, own);
    ends = &own;
  }
  for (CNumSezNew* group = network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup()) {
    bool unlinked = false;
    bool through = false;
    for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) {
      if (r->m_riserPosition.IsEmpty()) continue;
      LinkRiserNeighbours(network, r, ends);
      if (r->m_objectType != kObjectSupplyPipe) continue;
      ++group->m_secondCount;
      unlinked = unlinked || (!r->m_pLinkA && !r->m_pLinkB);
      through = through || (r->m_pLinkA && r->m_pLinkB);
    }
    if (unlinked)
      group->m_flagA = 1;
    else if (group->m_secondCount > 1 || through)
      group->m_flagB = 1;
  }

  CObjDataNew* start = network.m_pStartPipe;
  if (!start || !start->m_pGroup) return false;
  for (CObjDataNew* r = start->m_pGroup->GetFirstRecord(); r; r = r->GetNextRecord())
    if (IsSegmentOfType(r, kObjectSupplyPipe) && r->m_riserNumber != "0")
      MarkTerminalGroups(network, r, r->m_sideNumber == "0" ? 1 : 2, true, true);
  return true;
}

void MarkTerminalGroups(CObjSezNew& network, CObjDataNew* record, int cls, bool followA, bool followB) {
  if (!record) return;
  std::unordered_set<const CNumSezNew*> met;
  MarkFrom(network, record, cls, followA, followB, met);
}

bool IsFreePipe(const CObjSezNew& network, const CObjDataNew* pipe, const EndPointIndex* risers) {
  if (!pipe) return false;
  if (risers) {
    for (const IndexedRecord& other : risers->NearEither(pipe->m_start, pipe->m_end))
      if (BlocksEnd(other.record, pipe)) return false;
    return true;
  }
  const CPtrArray& records = network.m_scheme.m_risers;
  for (INT_PTR i = 0; i < records.GetSize(); ++i)
    if (BlocksEnd(static_cast<const CObjDataNew*>(records[i]), pipe)) return false;
  return true;
}
