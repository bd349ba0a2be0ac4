// Entity chains of network entities for the reader tests, built on the heap
// as the host hands them out (an entity-name node first), and the kept
// chains of a reading.
#pragma once

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "common/CGroupChainRef.h"
#include "common/GLVector.h"
#include "dataformat/GroupCodeChain.h"
#include "common/qmArray.h"
#include "dataformat/resbuf.h"

struct NetworkEntity {
  std::string type;                // "LWPOLYLINE", "INSERT", "TEXT", "CIRCLE", "LINE"
  std::vector<GLVector> points;    // vertices; the insertion point of an INSERT or TEXT
  double radius = 0.0;             // CIRCLE
  std::string text;                // TEXT
  std::string typeCode;            // "JOV_DATA" type code; empty: no extended data
  std::vector<std::pair<std::string, std::string>> properties;
  std::string link;                // "JOV_LINK" handle; empty: none
  std::string label;               // "QM_KEY" value; empty: none
};

inline resbuf* BuildEntityChain(const NetworkEntity& e, int64_t id) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  auto node = [&](int16_t code, const char* text = nullptr) -> resbuf* {
    resbuf* n = nullptr;
    CreateGroupCodeNode(&n, code, text);
    *tail = n;
    tail = &n->next;
    return n;
  };
  resbuf* name = node(-1);
  name->value.name[0] = id;
  name->value.name[1] = id;
  node(0, e.type.c_str());
  node(8, "0");
  for (const GLVector& p : e.points) {
    resbuf* n = node(10);
    n->value.point[0] = p.x;
    n->value.point[1] = p.y;
    n->value.point[2] = p.z;
  }
  if (e.type == "CIRCLE") node(40)->value.real = e.radius;
  if (e.type == "TEXT") node(1, e.text.c_str());
  if (!e.typeCode.empty() || !e.link.empty() || !e.label.empty()) node(-3);
  if (!e.label.empty()) {
    node(1001, "QM_KEY");
    node(1000, e.label.c_str());
  }
  if (!e.typeCode.empty()) {
    node(1001, "JOV_DATA");
    node(1000, e.typeCode.c_str());
    for (const auto& [key, value] : e.properties) {
      node(1000, key.c_str());
      node(1000, value.c_str());
    }
  }
  if (!e.link.empty()) {
    node(1001, "JOV_LINK");
    node(1000, e.link.c_str());
  }
  return head;
}

// Chains kept for a reading from them, released at the end of the scope:
// as the host hands them out (Array) and as the export dialog keeps them
// (Held).
class KeptChains {
 public:
  KeptChains() = default;
  explicit KeptChains(const std::vector<NetworkEntity>& entities) {
    for (const NetworkEntity& e : entities) Add(e);
  }
  ~KeptChains() {
    for (int i = 0; i < chains_.GetCount(); ++i) FreeGroupCodeChain(chains_.ElementAt(i));
  }
  KeptChains(const KeptChains&) = delete;
  KeptChains& operator=(const KeptChains&) = delete;

  void Add(const NetworkEntity& e) {
    chains_.Add(BuildEntityChain(e, chains_.GetCount() + 1));
    held_.emplace_back().AssignOwnBlock(chains_.ElementAt(chains_.GetCount() - 1));
  }
  qmArray<resbuf*>* Array() { return &chains_; }
  std::span<const CGroupChainRef> Held() const { return held_; }

 private:
  qmArray<resbuf*> chains_{0, 64};
  std::vector<CGroupChainRef> held_;
};
