// A branch selection as the host hands it over: the input is the
// group-code text of the selected entities in order (each from its 0 pair),
// turned into chains by the host. It is read for the section drawing and
// the section generated from it, with no catalogue and no product library
// answering. The reading reports one of its results and reads every entity
// it walks; the generation draws or gives up, numbering supply and return
// pieces in step. The entities after an ENDSEL entity are the rest of the
// drawing an earlier section is looked for in: every entity the search
// erases is one of the drawing's, never a picked one.
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "common/HostExport2D.h"
#include "fuzz/EntityChains.h"
#include "fuzz/FuzzSupport.h"
#include "common/CDravikFunc.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/CommandHost.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/section/CutDrawing.h"
#include "jov_vantrix/section/CutObjectsReader.h"
#include "jov_vantrix/section/EarlierSection.h"

namespace {

std::vector<resbuf*> g_drawing;    // owns the chains
std::vector<resbuf*> g_selection;  // those before an ENDSEL entity, or all
size_t g_next = 0;

resbuf* SelectionNext(int first) {
  if (first) g_next = 0;
  return g_next < g_selection.size() ? g_selection[g_next++] : nullptr;
}

size_t g_walked = 0;
std::set<std::string> g_erased;  // handles

// The whole drawing, whatever the application asked for: the search reads
// the extended data itself.
resbuf* DrawingNext(int first, const char*) {
  if (first) g_walked = 0;
  return g_walked < g_drawing.size() ? g_drawing[g_walked++] : nullptr;
}

int Erase(const resbuf* entity) {
  const bool known = entity && entity->code == -1 && entity->next;
  const resbuf* body = known ? entity->next : nullptr;
  for (const resbuf* chain : g_drawing)
    if (body && chain->value.name[0] == entity->value.name[0] && chain->value.name[1] == entity->value.name[1]) {
      const char* handle = GetEntityString(body, 5);
      g_erased.insert(handle ? handle : "");
      return 5100;
    }
  FUZZ_CHECK(false, "erased an entity the drawing does not hold");
  return -5001;
}

int NoProduct(jovDatabase::Database*, uint32_t, resbuf**, resbuf**, const uint8_t*, uint32_t, const char*,
              const char*, const char*, const char*, const char*) {
  return 0;
}

struct Selection {
  ~Selection() {
    for (resbuf* chain : g_drawing) FreeGroupCodeChain(chain);
    g_drawing.clear();
    g_selection.clear();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Selection selection;
  fuzz::SelectionChainsFromText(fuzz::Text(data, size), g_drawing);
  for (resbuf* chain : g_drawing) {
    const char* type = GetEntityString(chain, 0);
    if (type && std::string_view(type) == "ENDSEL") break;
    g_selection.push_back(chain);
  }

  static HostExport2D table{};
  table.slot[HostSlot::SelectionNext] = reinterpret_cast<HostProc>(&SelectionNext);
  CJov_VantrixApp& app = TheApp();
  app.m_pHostTable = &table;
  app.m_pPPGetResbufEx = &NoProduct;

  CObjSezNew list;
  CString marker;
  CObjDataNew* start = nullptr;
  const int read = ReadCutSelection(list, marker, start);
  FUZZ_CHECK(read == kCutReadOk || read == kCutReadNoStart || read == kCutReadPipesUnpaired ||
                 read == kCutReadSecondStart,
             "reading gave " + std::to_string(read));
  FUZZ_CHECK(list.m_readCount == list.GetCount() && list.GetCount() <= g_selection.size(),
             "read " + std::to_string(list.m_readCount) + " of " + std::to_string(list.GetCount()) + " records");
  FUZZ_CHECK(read != kCutReadOk || start, "read without a start");

  // The search for an earlier section, both kinds, Yes answered.
  CDravikFunc host("", false, 0);
  host.alt_entnext_app = &DrawingNext;
  host.alt_entdel = &Erase;
  SetCommandHost(&host);
  const std::vector<const resbuf*> picked = ReadChains(list);
  for (SectionKind kind : {SectionKind::Branch, SectionKind::Riser}) {
    g_erased.clear();
    FUZZ_CHECK(ReplaceEarlierSection(nullptr, kind, picked) == 1, "the search refused with Yes answered");
    for (const resbuf* chain : picked) {
      const char* handle = GetEntityString(chain, 5);
      FUZZ_CHECK(!handle || !*handle || !g_erased.count(handle), std::string("picked ") + handle + " was erased");
    }
  }
  SetCommandHost(nullptr);

  JovCutParams params;
  params.m_units = 1000;
  params.m_riserDistance = 500;
  params.m_elementDistance = 300;
  params.m_floorHeight = 3000;
  params.m_pipeDistance = 100;
  params.m_pipeBeginLength = 2600;
  const uint32_t records = list.GetCount();
  const int drawn = BuildCutDrawing(list, params);
  FUZZ_CHECK(drawn == 0 || drawn == 1, "generation gave " + std::to_string(drawn));
  FUZZ_CHECK(drawn == 1 || list.GetCount() >= records, "records lost");
  FUZZ_CHECK(list.m_sectionSupply.GetSize() == list.m_sectionReturn.GetSize(),
             "supply pieces " + std::to_string(list.m_sectionSupply.GetSize()) + ", return pieces " +
                 std::to_string(list.m_sectionReturn.GetSize()));

  StampSectionEntities(list, "01.01.2026-00.00.00");

  app.m_pHostTable = nullptr;
  app.m_pPPGetResbufEx = nullptr;
  return 0;
}
