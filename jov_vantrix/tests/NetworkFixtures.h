// Helpers of the network data-model tests.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "common/GroupCodeChain.h"
#include "common/resbuf.h"
#include "common/tests/ChainFixtures.h"

// The nodes of a chain as "code:value" items, for exact comparisons.
inline std::vector<std::string> DescribeChain(const resbuf* chain) {
  std::vector<std::string> items;
  for (; chain; chain = chain->next) {
    std::string item = std::to_string(chain->code) + ":";
    if (IsStringNode(chain)) {
      item += chain->value.text ? chain->value.text : "<null>";
    } else if (chain->code == 1070) {
      item += std::to_string(chain->value.i16);
    } else if (chain->code == 1010 || (chain->code >= 10 && chain->code <= 18)) {
      char text[96];
      std::snprintf(text, sizeof text, "%g,%g,%g", chain->value.point[0], chain->value.point[1],
                    chain->value.point[2]);
      item += text;
    } else {
      item += "?";
    }
    items.push_back(item);
  }
  return items;
}

// A heap chain released at the end of the scope.
class OwnedChain {
 public:
  explicit OwnedChain(resbuf* chain = nullptr) : chain_(chain) {}
  ~OwnedChain() { FreeGroupCodeChain(chain_); }
  OwnedChain(const OwnedChain&) = delete;
  OwnedChain& operator=(const OwnedChain&) = delete;
  resbuf* get() const { return chain_; }

 private:
  resbuf* chain_;
};
