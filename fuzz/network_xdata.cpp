// Extended data of a network entity as the host hands it over: the input is
// the entity's group-code text, turned into its chain by the host. Texts
// may carry control characters in DXF's caret form (^J, ^M), which the host
// decodes, so that point texts ("_PTS") can hold their lines. What reads as
// network data builds a chain that reads again, and the second build equals
// the first: nothing piles up or gets lost on the way.
#include <cstring>
#include <string>

#include "common/GroupCodeChain.h"
#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/network/CJovData.h"
#include "platform/host/DxfGroupText.h"
#include "platform/host/core/EntityChain.h"

namespace {

std::string Describe(const resbuf* node) {
  std::string text = std::to_string(node->code);
  if (IsStringNode(node) && node->value.text) text += " \"" + std::string(node->value.text) + "\"";
  return text;
}

bool SameValue(const resbuf* a, const resbuf* b) {
  if (a->code != b->code) return false;
  const uint32_t cls = GetGroupCodeClass(a->code);
  switch (GroupCodeKind(cls)) {
    case GC_KIND_TEXT:
      return (!a->value.text && !b->value.text) ||
             (a->value.text && b->value.text && std::strcmp(a->value.text, b->value.text) == 0);
    case GC_KIND_BINARY:
      return a->value.binary.length == b->value.binary.length &&
             (a->value.binary.length <= 0 ||
              std::memcmp(a->value.binary.data, b->value.binary.data, a->value.binary.length) == 0);
    default:
      return std::memcmp(&a->value, &b->value, GroupCodeValueSize(cls)) == 0;
  }
}

void CheckSameChain(const resbuf* a, const resbuf* b) {
  for (int at = 0; a || b; a = a->next, b = b->next, ++at) {
    FUZZ_CHECK(a && b, "the second build is " + std::string(a ? "shorter" : "longer") + " at node " +
                           std::to_string(at));
    FUZZ_CHECK(SameValue(a, b), "node " + std::to_string(at) + " differs: " + Describe(a) + " then " + Describe(b));
  }
}

struct Chain {
  resbuf* head;
  ~Chain() { FreeGroupCodeChain(head); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  host::DxfEntity entity;
  entity.id = 1;
  if (!host::ParsePairs(fuzz::Text(data, size), entity.pairs, nullptr)) return 0;
  if (entity.pairs.empty() || entity.pairs.front().code != 0) entity.pairs.insert(entity.pairs.begin(), {0, "LWPOLYLINE"});
  const Chain chain{host::EntityToChain(entity)};
  if (!chain.head) return 0;

  CJovData first;
  if (!first.ReadXData(chain.head)) return 0;
  (void)first.GetProperty("_PTS");
  const Chain built{first.BuildXData()};
  CJovData second;
  FUZZ_CHECK(second.ReadXData(built.head), "a built chain does not read as network data");
  const Chain rebuilt{second.BuildXData()};
  CheckSameChain(built.head, rebuilt.head);
  return 0;
}
