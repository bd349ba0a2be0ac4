// The definition points of a product's drawing geometry: every
// characteristic point of every entity of a view's chain (ends, centres,
// rim and axis points, vertices, corners, insertion points) becomes a
// CObjectData carrying three formulas; points within 0.01 of each other
// are one point. Sorted by x, then y, then z (each within 0.01) and
// numbered 1..n, they are what the formulas text of a view refers to.
#pragma once

#include <cstdint>

#include "dataformat/resbuf.h"

class CListCtrl;
class CSeznam;
class CObjectData;
class GLVector;

// Empties the list and adds the points of every entity of the chain
// (entities on DEFPOINTS only in colour 7), then with sort sorts and
// numbers them.
bool ParseProductGeometry(CSeznam& points, const resbuf* chain, bool sort);

// Adds a point (number counter++, formulas "%.2f" of its coordinates), or
// adds flags to the one already there; object becomes that point. A new
// point with PointFlag::kLineEnd and the line start given in object are
// linked to each other (a point shared by lines keeps its first link). A
// point that is not finite adds nothing.
void AddDefinitionPoint(CSeznam& points, const GLVector& point, uint32_t& counter, CObjectData*& object,
                        uint32_t flags);

// Sorts by x, y, z (0.01 counting as equal, ties keeping their order) and
// numbers the points 1..n.
void SortAndNumberPoints(CSeznam& points);

// Clears the base-point flag everywhere and the "F" mark of those rows.
void ClearBasePointMarks(CSeznam& points, CListCtrl* view);
// Every formula becomes the "%.2f" offset of its coordinate from origin.
void OffsetObjectFormulas(CSeznam& points, const CObjectData& origin);
// The end of every definition line gets its start's formulas plus the
// "%+.2f" difference of the coordinates.
void MakeRelativeFormulas(CSeznam& points);

// The point list view: a row per point ("n", "n C", "n F", "n C F"), item
// data the point, the row in its list row; the ends of definition lines
// only in mode 1. ShowPointMarkers refills it for a new mode.
void FillPointList(CSeznam& points, CListCtrl* view, int mode);
void ShowPointMarkers(CSeznam& points, CListCtrl* view, int mode);
