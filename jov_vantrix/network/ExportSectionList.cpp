#include "jov_vantrix/network/ExportSectionList.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/CLocaleNumber.h"
#include "common/CNumberingSnapshot.h"
#include "common/Prefetch.h"
#include "common/ValueRules.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/CSecDataNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/CUndoArray.h"
#include "jov_vantrix/network/ExportNetworkReader.h"
#include "jov_vantrix/network/ExportParams.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/network/NetworkIndex.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "jov_vantrix/network/SegmentNumbering.h"
#include "jov_vantrix/section/SectionNumbering.h"

namespace {

// "%.2f" without printf's cost (two of these for every section).
RecordText LengthInMetres(double length, int units) {
  char text[321];  // the 309 digits of the largest double, a sign, the point, two decimals and a NUL
  const double metres = length / (units > 0 ? units : 1);
  text[FormatFixed(metres, 2, text, sizeof text - 1)] = '\0';
  return RecordText(text);
}

// The branch of the riser pipe next to this one, when it is another branch
// (a single digit gets the "V" of a branch name: 3 becomes V3).
CString NeighbourBranch(const CObjDataNew* pipe) {
  const CObjDataNew* next = pipe->m_pGroup && pipe->m_pGroup->m_flagA && pipe->m_pLinkB ? pipe->m_pLinkB
                                                                                       : pipe->m_pLinkA;
  if (!next || next->m_branchName == pipe->m_branchName) return CString();
  CString name(next->m_branchName.GetString());
  const int number = AtoiC(name);
  if (number >= 1 && number <= 9) name = CString("V") + name;
  return name;
}

bool HoldsSeparator(const char* text) { return text && std::strpbrk(text, ";\r\n"); }

// The pipe's "CM" and "CT" properties (as GetProperty gives them) read in
// one walk over its properties: the section and its check need both.
struct PipeTexts {
  const char* cm = nullptr;
  const char* ct = nullptr;
};

PipeTexts ReadPipeTexts(const CObjDataNew* pipe) {
  PipeTexts texts;
  pipe->m_jovData.ForEachProperty([&texts](const char* key, const char* value) {
    if (!texts.cm && std::strcmp(key, "CM") == 0)
      texts.cm = value;
    else if (!texts.ct && std::strcmp(key, "CT") == 0)
      texts.ct = value;
    return !texts.cm || !texts.ct;
  });
  return texts;
}

// The file is not quoted: a ';' or a line end in a text it carries would
// shift every later field. Says the first such text of a pipe's section as
// "handle (key KEY)".
bool FindSeparatorText(const CObjDataNew* pipe, const CObjDataNew* product, const PipeTexts& texts, CString& where) {
  auto found = [&where](const CObjDataNew* record, const char* key) {
    where = EntityKeyText(record->m_entityChain.GetChain(), key);
    return true;
  };
  if (HoldsSeparator(pipe->m_branchName)) return found(pipe, "_NBRANCH");
  if (pipe->m_CM.IsEmpty()) return false;
  if (HoldsSeparator(texts.cm)) return found(pipe, "CM");
  if (HoldsSeparator(texts.ct)) return found(pipe, "CT");
  if (!product || !product->m_jovData.GetAppChain(CJovData::kAppVantrix)) return false;
  const auto* record = static_cast<const CJovPropData*>(product->m_jovData.VantrixRecords().GetHead());
  static const char* const kFields[] = {"_VANTRIX 8", "_VANTRIX 9", "_VANTRIX 10", "_VANTRIX 11"};
  for (uint32_t field = 8; record && field <= 11; ++field)
    if (HoldsSeparator(record->GetField(field))) return found(product, kFields[field - 8]);
  return false;
}

// The exchange file carries each pipe's "_LENGTH_SEGMENT" in metres with
// two decimals; a missing one reads as 0. One written as 0.00 is no length
// either: the double nearest 0.005 lies above it, so every length from it
// on is written as 0.01 at least. Says the first one out of range as
// FindSeparatorText does.
bool FindUnusableLength(const CObjDataNew* pipe, const CObjDataNew* partner, int units, CString& where) {
  constexpr double kLeastWritten = 0.005;
  for (const CObjDataNew* record : {pipe, partner}) {
    if (!record) continue;
    const double metres = record->m_length / (units > 0 ? units : 1);
    if (IsUsableLength(metres) && metres >= kLeastWritten) continue;
    where = EntityKeyText(record->m_entityChain.GetChain(), "_LENGTH_SEGMENT");
    return true;
  }
  return false;
}

// A pipe drawn with a number outside 1 .. its group's count leaves its
// group's run of numbers: of two pipes that end on one number, the likelier
// copy or slip. Records the numbering added have no entity.
bool LeavesItsGroup(const CObjDataNew* pipe) {
  return pipe->m_entityChain.GetChain() && pipe->m_pGroup &&
         (pipe->GetReadNumber() < 1 || static_cast<uint32_t>(pipe->GetReadNumber()) > pipe->m_pGroup->m_pipeCount);
}

bool Said(const CObjDataNew* pipe, const char* key, const CString& what, CString& where) {
  where = EntityKeyText(pipe->m_entityChain.GetChain(), key) + " " + what;
  return true;
}

CString HandleOf(const CObjDataNew* pipe, const char* none) {
  const char* handle = GetEntityString(pipe->m_entityChain.GetChain(), 5);
  return handle && *handle ? handle : none;
}

// FindMisnumberedSection for the pipes of one kind.
bool FindMisnumberedPipe(const CPtrArray& pipes, CString& where) {
  auto said = [&where](const CObjDataNew* pipe, const char* key, const CString& what) {
    return Said(pipe, key, what, where);
  };
  const INT_PTR n = pipes.GetSize();
  auto at = [&pipes](INT_PTR i) { return static_cast<const CObjDataNew*>(pipes[i]); };
  std::vector<std::pair<int, INT_PTR>> byNumber;
  byNumber.reserve(static_cast<size_t>(n));
  for (INT_PTR i = 0; i < n; ++i) {
    if (at(i)->GetNumber() < 1) return said(at(i), "_DW_NUMBER", "carries a section number below 1");
    byNumber.emplace_back(at(i)->GetNumber(), i);
  }
  std::sort(byNumber.begin(), byNumber.end());
  for (size_t k = 1; k < byNumber.size(); ++k) {
    if (byNumber[k].first != byNumber[k - 1].first) continue;
    const CObjDataNew* first = at(byNumber[k - 1].second);
    const CObjDataNew* later = at(byNumber[k].second);
    if (LeavesItsGroup(first) && !LeavesItsGroup(later)) std::swap(first, later);
    CString what;
    what.Format(LeavesItsGroup(later) ? "is drawn with a number outside 1 to the count of its group's supply pipes, "
                                        "which gives it the section number of %s as well"
                                      : "carries the section number of %s as well",
                HandleOf(first, "another pipe").GetString());
    return said(later, "_DW_NUMBER", what);
  }
  // The section each one connects to, -1 for none (connect 0, or a number
  // left out of the selection).
  std::vector<INT_PTR> upstream(static_cast<size_t>(n), -1);
  for (INT_PTR i = 0; i < n; ++i) {
    const int connect = at(i)->GetConnect();
    if (connect < 0) return said(at(i), "_DW_CONNECT", "connects to a section number below 0");
    if (connect == 0) continue;
    const auto found = std::lower_bound(byNumber.begin(), byNumber.end(), std::pair<int, INT_PTR>(connect, 0));
    if (found == byNumber.end() || found->first != connect) continue;
    if (found->second == i) return said(at(i), "_DW_CONNECT", "connects to itself");
    upstream[static_cast<size_t>(i)] = found->second;
  }
  // Each walk stays in its start's group and ends at a section walked
  // before (0 unwalked, 1 on this walk, 2 done): linear in the sections.
  std::vector<uint8_t> walked(static_cast<size_t>(n), 0);
  for (INT_PTR start = 0; start < n; ++start) {
    INT_PTR i = start;
    while (i >= 0 && walked[static_cast<size_t>(i)] == 0) {
      walked[static_cast<size_t>(i)] = 1;
      const INT_PTR next = upstream[static_cast<size_t>(i)];
      i = next >= 0 && at(next)->m_pGroup == at(start)->m_pGroup ? next : -1;
    }
    if (i >= 0 && walked[static_cast<size_t>(i)] == 1)
      return said(at(i), "_DW_CONNECT", "connects in a loop back to itself");
    for (i = start; i >= 0 && walked[static_cast<size_t>(i)] == 1; i = upstream[static_cast<size_t>(i)])
      walked[static_cast<size_t>(i)] = 2;
  }
  return false;
}

// The file names a section by its final number and its upstream section by
// that one's: a number below 1 or carried twice, a connect below 0, or
// connects that come round within one group (a pipe's own number included)
// would write sections the calculation program mixes up. The return pipes
// take their numbers into the drawing too, where the import fills each
// pipe with the results of the section its number names: each must carry
// the number of the supply pipe it pairs with, and their connects are held
// to the same rules. Records the numbering added have no entity and take no
// number into the drawing.
// Loops through other groups are the numbering's own links between risers
// and are left as they are. Says the first such pipe as "handle (key KEY)"
// and what is wrong.
bool FindMisnumberedSection(const CPtrArray& supply, const CPtrArray& ret, CString& where) {
  if (FindMisnumberedPipe(supply, where)) return true;
  for (INT_PTR i = 0; i < ret.GetSize(); ++i) {
    const auto* partner = static_cast<const CObjDataNew*>(ret[i]);
    const auto* pipe = static_cast<const CObjDataNew*>(supply[i]);
    if (!partner->m_entityChain.GetChain() || partner->GetNumber() == pipe->GetNumber()) continue;
    CString what;
    what.Format("does not carry the section number of %s, the supply pipe it pairs with",
                HandleOf(pipe, "its supply pipe").GetString());
    return Said(partner, "_DW_NUMBER", what, where);
  }
  return FindMisnumberedPipe(ret, where);
}

// Hints the pipe pair some steps ahead: far ahead the fields the section
// reads of both records, nearer the texts they point to (link handles,
// branch name) and the pipe's properties, which its data reading made one
// after another.
void PrefetchPairAhead(const CPtrArray& supply, const CPtrArray& ret, INT_PTR i) {
  constexpr INT_PTR kRecordsAhead = 8;
  constexpr INT_PTR kTextsAhead = 4;
  constexpr size_t kPropertyBytes = 1536;
  const INT_PTR n = supply.GetSize();
  if (i + kRecordsAhead < n) {
    for (const void* at : {supply[i + kRecordsAhead], ret[i + kRecordsAhead]}) {
      const auto* r = static_cast<const CObjDataNew*>(at);
      r->PrefetchWalkedFields();
      PrefetchBytes(&r->m_CM, 2 * sizeof(CString));
      PrefetchBytes(&r->m_linkHandle, sizeof(CString));
    }
    // Where the supply pipe's extended data starts, read nearer.
    PrefetchBytes(&static_cast<const CObjDataNew*>(supply[i + kRecordsAhead])->m_jovData, sizeof(CJovData));
  }
  if (i + kTextsAhead < n) {
    const auto* pipe = static_cast<const CObjDataNew*>(supply[i + kTextsAhead]);
    const auto* partner = static_cast<const CObjDataNew*>(ret[i + kTextsAhead]);
    PrefetchBytes(pipe->m_linkHandle.GetString(), 1);
    PrefetchBytes(partner->m_linkHandle.GetString(), 1);
    PrefetchBytes(pipe->m_branchName.GetString(), 1);
    // The properties up to "CM" and "CT", some two dozen nodes after the
    // block's head: hinted one line after another, the walk waited for each.
    if (const resbuf* block = pipe->m_jovData.GetAppChain(CJovData::kAppJovData))
      PrefetchBytes(block, kPropertyBytes);
    else
      pipe->m_jovData.PrefetchProperties();
  }
}

// BuildSectionRecord given the pipe's texts (ReadPipeTexts; none read
// when its CM is empty).
void AppendSection(CSecSezNew& sections, int units, CObjDataNew* pipe, CObjDataNew* partner, CObjDataNew* product,
                   const CString& connectedBranch, std::unordered_set<std::string>* named, const PipeTexts& texts);

}  // namespace

int NumberSchemeGroup(CObjSezNew& network, int groupId) {
  CSchSezNew& scheme = network.m_scheme;
  CNumSezNew* group = scheme.GetFreeGroup(static_cast<uint32_t>(groupId));
  if (!group || !scheme.SetGroupStyle(group, false, 7)) return 0;
  const uint32_t offset = scheme.m_nextFreeNumber - 1;
  CNumberingSnapshot* snapshot = nullptr;
  if (scheme.m_pUndo) {
    snapshot = new CNumberingSnapshot(groupId, static_cast<int32_t>(offset));
    scheme.m_pUndo->Add(snapshot);
  }
  SnapshotGroup(group, &offset, snapshot);
  scheme.m_nextFreeNumber += group->m_pipeCount;
  return 1;
}

int64_t LargestFirstNumber(const CObjSezNew& network, CString* widest) {
  int64_t span = 0;
  int64_t largestRead = 0;
  const CObjDataNew* holder = nullptr;
  const char* key = nullptr;
  for (CNumSezNew* group = network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup()) {
    span += group->m_pipeCount;
    for (const CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) {
      const int64_t number = std::abs(int64_t{r->GetReadNumber()});
      const int64_t connect = std::abs(int64_t{r->GetReadConnect()});
      if (std::max(number, connect) <= largestRead) continue;
      largestRead = std::max(number, connect);
      holder = r;
      key = number >= connect ? "_DW_NUMBER" : "_DW_CONNECT";
    }
  }
  if (widest && holder) *widest = EntityKeyText(holder->m_entityChain.GetChain(), key);
  return int64_t{INT32_MAX} - span - largestRead;
}

void CompleteExportNumbering(CObjSezNew& network) {
  CSchSezNew& scheme = network.m_scheme;
  // The walk that numbers the groups also indexes their segment ends and
  // notes, group by group, the records the second step reads (the
  // segments that may change and the records that are no segments), while
  // each group's records are in the cache: the second step then reads a
  // few records of each group instead of walking every one again.
  EndPointIndex ends(kPointTolerance);
  ends.Reserve(SchemePipeRecords(scheme));
  std::vector<CObjDataNew*> segments;
  std::vector<CObjDataNew*> others;
  struct Noted {
    CNumSezNew* group;
    size_t segmentsEnd, othersEnd;
  };
  std::vector<Noted> noted;
  for (CNumSezNew* group = scheme.GetFirstGroup(); group; group = group->GetNextGroup()) {
    if (!group->m_changed) {
      const uint32_t offset = scheme.m_nextFreeNumber - 1;
      SnapshotGroup(group, &offset, nullptr);
      scheme.m_nextFreeNumber += group->m_pipeCount;
    }
    IndexGroupSegments(*group, ends);
    for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) {
      if (SegmentMayChange(r))
        segments.push_back(r);
      else if (!IsSegmentOfType(r, kObjectSupplyPipe) && !IsSegmentOfType(r, kObjectReturnPipe))
        others.push_back(r);
    }
    noted.push_back({group, segments.size(), others.size()});
  }
  auto number = [&](size_t g) {
    const size_t s0 = g ? noted[g - 1].segmentsEnd : 0;
    const size_t o0 = g ? noted[g - 1].othersEnd : 0;
    NumberSegmentsOf(noted[g].group, scheme, &ends,
                     std::span<CObjDataNew* const>(segments.data() + s0, noted[g].segmentsEnd - s0),
                     std::span<CObjDataNew* const>(others.data() + o0, noted[g].othersEnd - o0));
  };
  // The group with a pipe linked at neither end comes last (the last such).
  size_t lastWithFlagA = noted.size();
  for (size_t g = 0; g < noted.size(); ++g) {
    if (noted[g].group->m_flagA)
      lastWithFlagA = g;
    else
      number(g);
  }
  if (lastWithFlagA < noted.size()) number(lastWithFlagA);
}

bool BuildExportSectionList(CObjSezNew& network, const ExportParams& params, CSecSezNew& sections, CString* unwritable,
                            CString* unusable, CString* misnumbered) {
  sections.RemoveAll();
  sections.m_branchNames.RemoveAll();

  CPtrArray supply;
  CPtrArray ret;
  // The numbers are final: the walk that collects the pipes fills the
  // index of connect numbers too, while each record is in the cache.
  ConnectIndex connects;
  for (CNumSezNew* group = network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup()) {
    INT_PTR supplyInGroup = 0;
    INT_PTR returnInGroup = 0;
    for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) {
      connects.Add(r);
      if (r->m_objectType == kObjectSupplyPipe) {
        supply.Add(r);
        ++supplyInGroup;
      } else if (r->m_objectType == kObjectReturnPipe) {
        ret.Add(r);
        ++returnInGroup;
      }
    }
    // Pipes pair up by their place within a group; a group whose pipes do
    // not pair up has no sections to give.
    if (supplyInGroup != returnInGroup) return false;
  }
  CString where;
  if (FindMisnumberedSection(supply, ret, where)) {
    if (misnumbered) *misnumbered = where;
    return false;
  }

  LinkHandleIndex unassociated;
  unassociated.AddArray(network.m_unassociatedRecords);
  std::unordered_set<std::string> branchNames;  // those of sections.m_branchNames
  CPtrArray linkedSupply;
  CPtrArray linkedReturn;
  for (INT_PTR i = 0; i < supply.GetSize(); ++i) {
    PrefetchPairAhead(supply, ret, i);
    auto* pipe = static_cast<CObjDataNew*>(supply[i]);
    auto* partner = static_cast<CObjDataNew*>(ret[i]);
    unassociated.Collect(pipe, linkedSupply);
    unassociated.Collect(partner, linkedReturn);
    CString connected;
    connects.ConnectedBranchName(pipe, connected);
    CObjDataNew* product = FindPartnerRecord(pipe);
    const PipeTexts texts = pipe->m_CM.IsEmpty() ? PipeTexts() : ReadPipeTexts(pipe);
    if (FindSeparatorText(pipe, product, texts, where)) {
      if (unwritable) *unwritable = where;
      return false;
    }
    if (FindUnusableLength(pipe, partner, params.units, where)) {
      if (unusable) *unusable = where;
      return false;
    }
    AppendSection(sections, params.units, pipe, partner, product, connected, &branchNames, texts);
  }
  if (linkedSupply.GetSize() == 0 || linkedReturn.GetSize() == 0) return false;

  const JovCutParams defaults;
  // A label of no height is no label.
  const bool labels = params.segmentDescriptions && params.descriptionHeight > 0.0;
  // The pipes and those linked to them lie mixed in the order read: one
  // walk writes them all.
  const CPtrArray* const numbered[] = {&supply, &ret, &linkedSupply, &linkedReturn};
  WriteSequenceNumbers(numbered, 1);
  // Labels on or off, none may keep a number of before, selected or not.
  ReadDrawingLabels(network, supply);
  RenewSegmentLabels(network, supply, defaults, 1, params.descriptionHeight, params.descriptionScaleFactor,
                     params.descriptionLayer, labels ? 1 : 0);
  return true;
}

void BuildSectionRecord(CSecSezNew& sections, int units, CObjDataNew* pipe, CObjDataNew* partner,
                        CObjDataNew* product, const CString& connectedBranch, std::unordered_set<std::string>* named) {
  if (!pipe) return;
  AppendSection(sections, units, pipe, partner, product, connectedBranch, named,
                pipe->m_CM.IsEmpty() ? PipeTexts() : ReadPipeTexts(pipe));
}

namespace {

void AppendSection(CSecSezNew& sections, int units, CObjDataNew* pipe, CObjDataNew* partner, CObjDataNew* product,
                   const CString& connectedBranch, std::unordered_set<std::string>* named, const PipeTexts& texts) {
  auto* section = new CSecDataNew;
  sections.AddTail(section);
  section->m_branchName = pipe->m_branchName;
  const bool known = named ? !named->insert(pipe->m_branchName.GetString()).second
                           : sections.m_branchNames.Find(pipe->m_branchName) != nullptr;
  if (!known) sections.m_branchNames.AddHead(pipe->m_branchName.ToCString());
  section->m_number = pipe->GetNumber();
  section->m_connect = pipe->GetConnect();
  section->m_connectedBranch = connectedBranch;
  section->m_pLength = LengthInMetres(pipe->m_length, units);
  if (partner) section->m_zLength = LengthInMetres(partner->m_length, units);

  if (!pipe->m_CM.IsEmpty()) {
    const auto* record = product && product->m_jovData.GetAppChain(CJovData::kAppVantrix)
                             ? static_cast<const CJovPropData*>(product->m_jovData.VantrixRecords().GetHead())
                             : nullptr;
    for (uint32_t field = 8; record && field <= 11; ++field) {
      const char* text = record->GetField(field);
      section->m_productFields[field - 8] = text ? text : "";
    }
    section->m_neighbour = texts.cm ? texts.cm : "";
    section->m_CT = texts.ct ? texts.ct : "";
    return;
  }
  if (!pipe->m_riserNumber.IsEmpty() && pipe->m_riserPosition != "1" && sections.m_branchNames.GetCount() != 1)
    section->m_neighbour = NeighbourBranch(pipe);
}

}  // namespace

void GetConnectedBranchName(const CObjSezNew& network, const CObjDataNew* pipe, CString& out) {
  if (!pipe || pipe->m_riserNumber.IsEmpty() || pipe->m_riserNumber == "2") return;
  for (CNumSezNew* group = network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup())
    for (const CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord())
      if (r->m_objectType == pipe->m_objectType && r->GetConnect() == pipe->GetNumber() &&
          r->m_branchName != pipe->m_branchName) {
        out = "V";
        out += r->m_branchName;
        return;
      }
}
