// The geometry nodes of one drawing entity of a product's chain, found in
// one walk, for the definition-point parser and the regeneration alike.
// Every pointer is a node of the chain (not owned) or null when absent.
#pragma once

#include <vector>

#include "dataformat/resbuf.h"

enum class EntityKind { kOther, kLine, kCircle, kArc, kEllipse, kLwPolyline, kHatch, kSolid, kText };

struct PolylineVertex {
  resbuf* point = nullptr;  // 10
  resbuf* bulge = nullptr;  // its 42
};

// One edge of a hatch boundary: 1 line (a start, b end), 2 circular arc
// (a centre, radius, start and end angle); other kinds are only counted.
struct HatchEdge {
  int type = 0;
  resbuf* a = nullptr;
  resbuf* b = nullptr;
  resbuf* radius = nullptr;
  resbuf* startAngle = nullptr;
  resbuf* endAngle = nullptr;
};

struct HatchPath {
  bool polyline = false;  // path type bit 1: vertices; else edges
  bool closed = false;
  std::vector<PolylineVertex> vertices;
  std::vector<HatchEdge> edges;
};

struct EntityGeometry {
  EntityKind kind = EntityKind::kOther;
  // Not on layer DEFPOINTS, or on it in colour 7 (0, 256 and none count
  // as 7), as read before the first point.
  bool takesPart = true;
  // On DEFPOINTS in colour 7: construction and connection geometry.
  bool definition = false;
  resbuf* point[4] = {};       // the first 10, 11, 12 and 13
  resbuf* radius = nullptr;    // 40 (the axis ratio of an ellipse)
  resbuf* startAngle = nullptr;  // 50
  resbuf* endAngle = nullptr;    // 51
  resbuf* text = nullptr;      // 1
  bool closed = false;         // 70 bit 0 of a polyline
  std::vector<PolylineVertex> vertices;  // LWPOLYLINE
  std::vector<HatchPath> paths;          // HATCH boundary paths
};

// Reads the entity whose code-0 node *cursor stands on and moves the cursor
// to the next entity's code-0 node (null at the end). out is reused: its
// vectors keep their storage.
void ReadEntityGeometry(resbuf*& cursor, EntityGeometry& out);
