// Plain 2D bounding boxes of drawing entities read from their own pairs,
// for the host's window selection. Coordinates are taken as they stand in
// the file (no elevation or extrusion); where a code occurs more than once,
// the last one counts.
#pragma once

#include <optional>

#include "platform/host/DxfEntity.h"

namespace host {

struct Bounds2D {
  double minX, minY, maxX, maxY;
};

// The box of a LINE, CIRCLE, ARC (angles in degrees, counter-clockwise),
// ELLIPSE (its arc from parameter 41 to 42), SOLID or LWPOLYLINE (arcs of
// its bulges included, the closing segment of a closed one too); types are
// compared without case. Nothing for other types, or when the entity lacks
// what its geometry needs.
std::optional<Bounds2D> EntityBounds(const DxfEntity& entity);

}  // namespace host
