#include "common/AnchorRule.h"

void ApplyAnchorRule(RECT& rect, uint32_t anchor, int dx, int dy) {
  if (!(anchor & Anchor::kTop)) rect.top += dy;
  if (!(anchor & Anchor::kLeft)) rect.left += dx;
  if (anchor & Anchor::kBottom) rect.bottom += dy;
  if (anchor & Anchor::kRight) rect.right += dx;
}
