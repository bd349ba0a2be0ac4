#include "wizard/frame/engine/CListItemData.h"

CListItemData::~CListItemData() = default;

CListItemData* CListItemData::ForColumn(uint32_t wanted) {
  if (wanted == 0 || column == wanted) return this;
  for (CSeznam* node = GetHead(); node; node = node->GetNext()) {
    auto* cell = static_cast<CListItemData*>(node);
    if (cell->column == wanted) return cell;
  }
  return nullptr;
}
