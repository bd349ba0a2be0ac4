// Helpers of the network data-model tests.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/resbuf.h"
#include "dataformat/tests/ChainFixtures.h"

// The nodes of a chain as "code:value" items, for exact comparisons: texts
// as they are, points as "x,y,z", numbers in %g.
inline std::vector<std::string> DescribeChain(const resbuf* chain) {
  std::vector<std::string> items;
  for (; chain; chain = chain->next) {
    std::string item = std::to_string(chain->code) + ":";
    char text[96] = "?";
    switch (GroupCodeKind(GetGroupCodeClass(chain->code))) {
      case GC_KIND_TEXT:
        items.push_back(item + (chain->value.text ? chain->value.text : "<null>"));
        continue;
      case GC_KIND_POINT:
        std::snprintf(text, sizeof text, "%g,%g,%g", chain->value.point[0], chain->value.point[1],
                      chain->value.point[2]);
        break;
      case GC_KIND_REAL:
        std::snprintf(text, sizeof text, "%g", chain->value.real);
        break;
      case GC_KIND_INT16:
      case GC_KIND_INT16_B:
      case GC_KIND_FLAG16:
        std::snprintf(text, sizeof text, "%d", chain->value.i16);
        break;
      case GC_KIND_INT32:
        std::snprintf(text, sizeof text, "%d", chain->value.i32);
        break;
      default:
        break;
    }
    items.push_back(item + text);
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
