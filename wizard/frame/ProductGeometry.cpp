#include "wizard/frame/ProductGeometry.h"

#include <cstring>

#include "dataformat/GroupCodeChain.h"
#include "platform/catalogue/Database.h"
#include "wizard/frame/engine/EngineState.h"

namespace {

bool TextIs(const resbuf* node, const char* text) {
  return node->value.text && std::strcmp(node->value.text, text) == 0;
}

// Status bit of each view's geometry: A 31, B 30, C 29, 3D 28.
constexpr unsigned kViewBit[kViewCount] = {1u << 31, 1u << 30, 1u << 29, 1u << 28};

// Frees the node after `before`, linking past it.
void UnlinkAfter(resbuf* before) {
  resbuf* node = before->next;
  before->next = node->next;
  node->next = nullptr;
  DeleteGroupCodeChain(&node);
}

void DetachHatch(resbuf* entity) {
  resbuf* marker = nullptr;
  for (resbuf* n = entity->next; n && n->code != 0; n = n->next)
    if (n->code == 100 && TextIs(n, "AcDbHatch")) {
      marker = n;
      break;
    }
  if (!marker) return;
  // Every boundary path carries its own source objects (97 and its 330s):
  // none of them exists in the drawing the product is placed in.
  bool associativity = false;
  for (resbuf* n = marker; n && n->code != 0; n = n->next) {
    if (n->code == 71 && !associativity) {
      n->value.i16 = 0;
      associativity = true;
    } else if (n->code == 97) {
      n->value.i32 = 0;
      while (n->next && n->next->code == 330) UnlinkAfter(n);
    }
  }
}

}  // namespace

void DetachHatches(resbuf* chain) {
  for (resbuf* n = chain; n; n = n->next)
    if (n->code == 0 && TextIs(n, "HATCH")) DetachHatch(n);
}

bool GetProductDxf(unsigned view, jovDatabase::resultResbuf& out) {
  jovDatabase::Database* db = CurrentCatalogue();
  unsigned status = 0;
  if (!db || db->GetItemsStatus(status) != jovDatabase::eOK) return false;
  // The view number comes from outside callers: anything but the four
  // views fetches nothing.
  if (view >= kViewCount || !(status & kViewBit[view])) return false;
  using Fetch = jovDatabase::eCode (jovDatabase::Database::*)(jovDatabase::resultResbuf&);
  static constexpr Fetch kFetch[kViewCount] = {
      &jovDatabase::Database::GetItemsDxfA, &jovDatabase::Database::GetItemsDxfB,
      &jovDatabase::Database::GetItemsDxfC, &jovDatabase::Database::GetItemsDxf3D};
  if ((db->*kFetch[view])(out) != jovDatabase::eOK) return false;
  DetachHatches(out.head);
  return true;
}
