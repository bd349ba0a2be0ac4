// A riser selection as the host hands it over to the older section path:
// the input is group-code text of one or more entities (each from a group 0
// pair on), turned into the host's chains. They are read into older records
// and go through what the riser dialog does with them before drawing: the
// branch test, the section list of the branch tree and its keys, the
// generators' order, descriptions, and the write-back. Every record is read
// and written once, the reading's result says what was read, and a built
// section list is a consistent chain of ids.
#include <set>
#include <string>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "common/HostExport2D.h"
#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CJovData.h"
#include "jov_vantrix/section/CObjData.h"
#include "jov_vantrix/section/CSecData.h"
#include "jov_vantrix/section/CSecSez.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "jov_vantrix/section/OldCutRecords.h"
#include "jov_vantrix/section/OldRecordLookups.h"
#include "platform/host/DxfGroupText.h"
#include "platform/host/core/EntityChain.h"

namespace {

struct Selection {
  std::vector<resbuf*> chains;
  size_t cursor = 0;
  size_t written = 0;
  size_t writtenWithName = 0;
  ~Selection() {
    for (resbuf* chain : chains) FreeGroupCodeChain(chain);
  }
};

Selection* g_selection = nullptr;

resbuf* SelectionNext(int first) {
  if (first) g_selection->cursor = 0;
  return g_selection->cursor < g_selection->chains.size() ? g_selection->chains[g_selection->cursor++] : nullptr;
}

int EntityWrite(resbuf* chain, int) {
  ++g_selection->written;
  if (chain && chain->code == -1) ++g_selection->writtenWithName;
  return HOST_NORMAL;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  host::PairList pairs;
  if (!host::ParsePairs(fuzz::Text(data, size), pairs, nullptr)) return 0;
  Selection selection;
  g_selection = &selection;
  for (size_t i = 0; i < pairs.size();) {
    host::DxfEntity entity;
    entity.id = selection.chains.size() + 1;
    if (pairs[i].code != 0) entity.pairs.push_back({0, "INSERT"});
    do {
      entity.pairs.push_back(pairs[i++]);
    } while (i < pairs.size() && pairs[i].code != 0);
    if (resbuf* chain = host::EntityToChain(entity)) selection.chains.push_back(chain);
  }
  HostExport2D table{};
  table.slot[HostSlot::SelectionNext] = reinterpret_cast<HostProc>(&SelectionNext);
  table.slot[HostSlot::EntityWrite] = reinterpret_cast<HostProc>(&EntityWrite);
  TheApp().m_pHostTable = &table;

  CObjSez records;
  CString riser;
  const int result = ReadOldCutObjects(records, riser);
  const size_t count = records.GetCount();
  FUZZ_CHECK(result == kOldCutRead || result == kOldCutNoRiser || result == kOldCutEmpty,
             "result " + std::to_string(result));
  FUZZ_CHECK((result == kOldCutEmpty) == selection.chains.empty(), "an empty selection and only that gives 2");
  FUZZ_CHECK(result != kOldCutNoRiser || count == 1, "no riser: only the first entity is kept");
  FUZZ_CHECK(result != kOldCutRead || count == selection.chains.size(), "every entity of a riser's selection kept");
  size_t at = 0;
  for (const CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord(), ++at) {
    FUZZ_CHECK(r->m_pReadChain == selection.chains[at]->next, "record " + std::to_string(at) + " is not its entity");
    FUZZ_CHECK(r->m_role != kRoleRiser || at == 0, "a riser role after the first record");
  }

  FUZZ_CHECK(HasDifferentBranchParents(records) <= 1, "the branch test is 0 or 1");
  JovCutParamsOld params;
  CSecSez& sections = params.m_sections;
  if (sections.BuildFromBranches(records)) {
    std::set<int32_t> ids;
    int32_t expected = 1;
    for (const CSecData* s = sections.GetFirstSection(); s; s = s->GetNextSection()) {
      FUZZ_CHECK(s->m_id == expected++, "section ids run from 1 in order");
      ids.insert(s->m_id);
      FUZZ_CHECK(FindBranchRecord(records, s->m_branchName) != nullptr, "a section of a branch without a record");
    }
    for (const CSecData* s = sections.GetFirstSection(); s; s = s->GetNextSection())
      FUZZ_CHECK(s->m_nextId == 0 || ids.count(s->m_nextId), "a next id that names no section");
    for (const CSecData* s = sections.GetFirstSection(); s; s = s->GetNextSection()) {
      CJovData data;
      sections.StoreSectionKey(s->m_branchName, data);
      CString part;
      s->Format(part);
      const std::string key = data.GetProperty("_NUM_SECTION");
      FUZZ_CHECK(key.rfind("5;", 0) == 0 && key.find(part.GetString()) != std::string::npos,
                 "the key of a branch lacks one of its sections");
    }
  }
  CJovData none;
  sections.StoreSectionKey("", none);

  for (CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord()) {
    CStringArray lines;
    r->ExpandDescriptionMask(params, lines);
    CStringArray children;
    r->GetChildBranches(children, true);
    for (int index = 0; index < 3; ++index) {
      CString part;
      r->GetBranchPart(index, part);
      FUZZ_CHECK(part.GetLength() <= 255, "a branch part longer than 255 characters");
    }
  }
  records.Sort(CompareBranchRecords);
  FUZZ_CHECK(records.GetCount() == count, "the sort lost or doubled a record");

  FUZZ_CHECK(WriteOldRecords(records) == 1, "write-back result");
  FUZZ_CHECK(selection.written == count && selection.writtenWithName == count,
             "each read record written once, over its entity");
  TheApp().m_pHostTable = nullptr;
  g_selection = nullptr;
  return 0;
}
