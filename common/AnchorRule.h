// How a registered control follows a change of its dialog's client size.
#pragma once

#include <cstdint>

#include "platform/win32/geometry.h"

// Anchor bits of a resizable dialog's control.
namespace Anchor {
constexpr uint32_t kTop = 1;     // the top edge stays (else it moves by dy)
constexpr uint32_t kLeft = 2;    // the left edge stays (else it moves by dx)
constexpr uint32_t kBottom = 4;  // the bottom edge follows (moves by dy)
constexpr uint32_t kRight = 8;   // the right edge follows (moves by dx)
// The combinations the dialogs use.
constexpr uint32_t kStretch = 15;          // grows both ways
constexpr uint32_t kStretchWidth = 11;     // grows to the right
constexpr uint32_t kMoveRight = 9;         // moves right, keeps its size
constexpr uint32_t kMoveWithCorner = 12;   // moves with the bottom-right corner
}  // namespace Anchor

// Applies the anchor rule to rect for a client size change of (dx, dy).
void ApplyAnchorRule(RECT& rect, uint32_t anchor, int dx, int dy);
