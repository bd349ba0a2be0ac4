#include "fuzz/EntityChains.h"

#include <cstring>

#include "dataformat/GroupCodeChain.h"
#include "fuzz/FuzzSupport.h"
#include "platform/host/DxfGroupText.h"
#include "platform/host/core/EntityChain.h"

namespace fuzz {

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

// The entity's chain on the heap, checked node for node against the one the
// host hands out, made in its blocks.
resbuf* ChainOf(const host::DxfEntity& entity) {
  static host::ChainBlocks blocks;
  resbuf* chain = host::EntityToChain(entity);
  CheckSameChain(chain, host::EntityToChain(entity, &blocks), "the chain made in blocks");
  blocks.Clear();
  return chain;
}

}  // namespace

OwnedChain::~OwnedChain() { FreeGroupCodeChain(head); }

resbuf* EntityChainFromText(std::string_view text) {
  host::DxfEntity entity;
  entity.id = 1;
  if (!host::ParsePairs(text, entity.pairs, nullptr)) return nullptr;
  if (entity.pairs.empty() || entity.pairs.front().code != 0) entity.pairs.insert(entity.pairs.begin(), {0, "LWPOLYLINE"});
  return ChainOf(entity);
}

OwnedChains::~OwnedChains() {
  for (resbuf* chain : chains) FreeGroupCodeChain(chain);
}

void SelectionChainsFromText(std::string_view text, std::vector<resbuf*>& out) {
  host::PairList pairs;
  if (!host::ParsePairs(text, pairs, nullptr)) return;
  uint64_t id = 1;
  for (size_t i = 0; i < pairs.size();) {
    host::DxfEntity entity;
    entity.id = id++;
    entity.pairs.push_back(pairs[i].code == 0 ? pairs[i++] : host::DxfPair{0, "LWPOLYLINE"});
    while (i < pairs.size() && pairs[i].code != 0) entity.pairs.push_back(pairs[i++]);
    if (resbuf* chain = ChainOf(entity)) out.push_back(chain);
  }
}

void CheckSameChain(const resbuf* a, const resbuf* b, const std::string& what) {
  for (int at = 0; a || b; a = a->next, b = b->next, ++at) {
    FUZZ_CHECK(a && b, what + ": the second chain is " + std::string(a ? "shorter" : "longer") + " at node " +
                           std::to_string(at));
    FUZZ_CHECK(SameValue(a, b), what + ": node " + std::to_string(at) + " differs: " + Describe(a) + " then " +
                                    Describe(b));
  }
}

}  // namespace fuzz
