// What the targets fed an entity's group-code text share: the chain the
// host makes of it, and chains compared node by node.
#pragma once

#include <string>
#include <string_view>

#include "common/resbuf.h"

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
// type. Null when the text holds no pairs.
resbuf* EntityChainFromText(std::string_view text);

// Stops the run when the chains differ in length or in any node's value.
void CheckSameChain(const resbuf* a, const resbuf* b, const std::string& what);

}  // namespace fuzz
