// What the targets fed an entity's group-code text share: the chain the
// host makes of it, and chains compared node by node.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dataformat/resbuf.h"

namespace fuzz {

// Frees the chain it holds.
struct OwnedChain {
  resbuf* head = nullptr;
  explicit OwnedChain(resbuf* chain) : head(chain) {}
  OwnedChain(const OwnedChain&) = delete;
  OwnedChain& operator=(const OwnedChain&) = delete;
  ~OwnedChain();
};

// The entity's chain as the host hands it over (caret forms such as ^J
// decoded by the host): the text's pairs, a LWPOLYLINE when it names no
// type. Null when the text holds no pairs. The chain the host makes in its
// blocks must be the same node for node.
resbuf* EntityChainFromText(std::string_view text);

// The chains of a selection, freed with it.
struct OwnedChains {
  std::vector<resbuf*> chains;
  OwnedChains() = default;
  OwnedChains(const OwnedChains&) = delete;
  OwnedChains& operator=(const OwnedChains&) = delete;
  ~OwnedChains();
};

// A selection as the host hands it over: the text's pairs cut into entities
// at each 0 pair (the first a LWPOLYLINE when the text opens with another
// pair), numbered from 1, each turned into its chain. Appends to out.
void SelectionChainsFromText(std::string_view text, std::vector<resbuf*>& out);

// Stops the run when the chains differ in length or in any node's value.
void CheckSameChain(const resbuf* a, const resbuf* b, const std::string& what);

}  // namespace fuzz
