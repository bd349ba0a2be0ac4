#include "jov_vantrix/section/EarlierSection.h"

#include <array>
#include <cstring>
#include <set>
#include <string>

#include "common/CDravikFunc.h"
#include "common/GroupChainBuilder.h"
#include "common/HostModule.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/frame/CommandHost.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "jov_vantrix/section/CObjData.h"
#include "jov_vantrix/section/SectionNumbering.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/code_page.h"
#include "platform/win32/ui_services.h"

namespace {

// The value of a "JOV_DATA" key, null when the chain has no such key.
const char* JovValue(const resbuf* chain, const char* key) {
  const resbuf* node = FindJovDataPairs(const_cast<resbuf*>(chain), nullptr);
  for (; node && node->code == 1000 && node->next && node->next->code == 1000; node = node->next->next)
    if (node->value.text && std::strcmp(node->value.text, key) == 0)
      return node->next->value.text ? node->next->value.text : "";
  return nullptr;
}

// The link identifier of a chain, "" when it has none.
std::string LinkId(const resbuf* chain) {
  const resbuf* node = chain;
  if (!FindApplication(&node, "JOV_LINK") || !node->next || node->next->code != 1000 || !node->next->value.text)
    return "";
  return node->next->value.text;
}

std::string Text(const char* text) { return text ? text : ""; }

// Calls each(chain as walked, its body) for every entity of the drawing
// whose extended data names the application.
template <typename Each>
void WalkDrawing(const CDravikFunc& host, const char* application, Each each) {
  for (const resbuf* entity = host.alt_entnext_app(1, application); entity;
       entity = host.alt_entnext_app(0, application))
    if (entity->code == -1 && entity->next) each(*entity, entity->next);
}

constexpr char kStampApplication[] = "JOV_CUT";

void Stamp(resbuf* chain, const char* stamp) {
  if (!chain || JovValue(chain, "_NUM_ASSOC")) return;
  bool extended = false;
  for (const resbuf* node = chain; node && !extended; node = node->next) extended = node->code == -3 || node->code == 1001;
  GroupChainBuilder builder(0);
  LastGroupCodeNode(&chain)->next = extended ? builder.Build(1001, kStampApplication, 1000, stamp, -9)
                                             : builder.Build(-3, nullptr, 1001, kStampApplication, 1000, stamp, -9);
}

// The generation stamp of a section's entity, null when it has none.
const char* StampOf(const resbuf* chain) {
  if (const char* stamp = JovValue(chain, "_NUM_ASSOC")) return stamp;
  const resbuf* node = chain;
  if (!FindApplication(&node, kStampApplication) || !node->next || node->next->code != 1000) return nullptr;
  return node->next->value.text;
}

}  // namespace

void StampSectionEntities(CObjSezNew& list, const char* stamp) {
  uint32_t position = 0;
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord(), ++position)
    if (position >= list.m_readCount) Stamp(r->m_pBuiltChain, stamp);
}

void StampSectionEntities(CObjSez& records, const char* stamp) {
  for (CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord()) Stamp(r->m_pBuiltChain, stamp);
}

std::vector<const resbuf*> ReadChains(const CObjSezNew& list) {
  std::vector<const resbuf*> chains;
  uint32_t position = 0;
  for (const CObjDataNew* r = list.GetFirstRecord(); r && position < list.m_readCount; r = r->GetNextRecord(), ++position)
    if (const resbuf* chain = r->m_entityChain.GetChain()) chains.push_back(chain);
  return chains;
}

std::vector<const resbuf*> ReadChains(const CObjSez& records) {
  std::vector<const resbuf*> chains;
  for (const CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord())
    if (r->m_pReadChain) chains.push_back(r->m_pReadChain);
  return chains;
}

int ReplaceEarlierSection(HWND owner, SectionKind kind, const std::vector<const resbuf*>& picked) {
  const CDravikFunc* host = CommandHost();
  if (!host || !host->alt_entnext_app) return 1;

  // What ties an earlier section to the picked entities, which are never
  // part of it.
  // The network's own associations are never a section's stamp: its pipes
  // not picked, or a copy of it, carry them with the same links.
  std::set<std::string> links, risers, pickedHandles, network;
  for (const resbuf* chain : picked) {
    pickedHandles.insert(Text(GetEntityString(chain, 5)));
    network.insert(Text(JovValue(chain, "_NUM_ASSOC")));
    if (kind == SectionKind::Branch) {
      if (std::string id = LinkId(chain); !id.empty()) links.insert(id);
    } else if (const char* riser = JovValue(chain, "_NUM_RISER"); riser && *riser) {
      risers.insert(riser);
    }
  }
  pickedHandles.erase("");
  auto isPicked = [&](const resbuf* body) { return pickedHandles.count(Text(GetEntityString(body, 5))) > 0; };

  std::set<std::string> stamps;
  auto noteStamp = [&](const resbuf* body) {
    if (const char* stamp = JovValue(body, "_NUM_ASSOC"); stamp && *stamp && !network.count(stamp)) stamps.insert(stamp);
  };
  if (kind == SectionKind::Branch && !links.empty()) {
    WalkDrawing(*host, "JOV_LINK", [&](const resbuf&, const resbuf* body) {
      if (!isPicked(body) && links.count(LinkId(body))) noteStamp(body);
    });
  } else if (kind == SectionKind::Riser && !risers.empty()) {
    WalkDrawing(*host, "JOV_DATA", [&](const resbuf&, const resbuf* body) {
      const char* riser = JovValue(body, "_NUM_RISER");
      if (!isPicked(body) && JovValue(body, "_NUM_CUT") && riser && risers.count(riser)) noteStamp(body);
    });
  }
  if (stamps.empty()) return 1;

  // Every entity of those generations.
  struct Found {
    std::array<int64_t, 2> name;
    const resbuf* body;
  };
  std::vector<Found> earlier;
  std::set<std::array<int64_t, 2>> seen;  // an entity under both applications is walked twice
  for (const char* application : {"JOV_DATA", kStampApplication})
    WalkDrawing(*host, application, [&](const resbuf& entity, const resbuf* body) {
      const char* stamp = StampOf(body);
      if (!stamp || !stamps.count(stamp) || isPicked(body)) return;
      const std::array<int64_t, 2> name{entity.value.name[0], entity.value.name[1]};
      if (seen.insert(name).second) earlier.push_back({name, body});
    });
  if (earlier.empty()) return 1;

  CString what;
  what.Format("%d entities drawn %s", static_cast<int>(earlier.size()), stamps.begin()->c_str());
  if (MessageBoxRes(owner, IDS_CUT_REPLACE_EARLIER, MB_YESNO | MB_ICONQUESTION, what) != IDYES) return -1;
  for (const Found& f : earlier) EraseEntity(f.body, f.name.data());
  return 1;
}
