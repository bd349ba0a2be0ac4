// How a resizable dialog's child follows the dialog when one control, the
// pivot, takes the dialog's growth: the pivot grows both ways, what lies
// below it moves down, what lies right of it moves right.
#pragma once

#include <cstdint>

#include "platform/win32/geometry.h"

// The anchor (AnchorRule.h) of a child at `child` beside the pivot at
// `pivot` (both screen rectangles):
//   the pivot itself                          15  grows both ways
//   below it (top under its bottom), starting left of its right edge
//                                              6  moves down
//   below it, starting at or right of its right edge
//                                             12  moves down and right
//   above it (bottom over its top), left of its right edge   3  stays
//   above it, at or right of its right edge    9  moves right
//   level with it, overlapping it across      15
//   level with it, left of it                  3
//   level with it, right of it                 9
uint32_t AnchorOfChild(const RECT& child, const RECT& pivot, bool isPivot);
