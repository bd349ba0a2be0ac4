// Geometry of drawing-object records: the ends and length of a path, the
// bounding box of a chain, touching segments and product connection points.
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "common/GLVector.h"
#include "dataformat/resbuf.h"

class CObjDataNew;

// Coincidence of segment ends, in drawing units.
constexpr double kPointTolerance = 1e-5;

// From the record's chain as read: a LINE gives its points 10 and 11 and
// their distance; an LWPOLYLINE its first and last vertex and the sum of its
// straight segments (bulges are ignored). Any other entity leaves start and
// end and sets the length to 0. A record without a chain changes nothing.
void GetPathEndsAndLength(const CObjDataNew* record, GLVector& start, GLVector& end, double& length);
// The same from any entity chain (a built one, say); a null chain changes
// nothing.
void GetChainPathEnds(const resbuf* chain, GLVector& start, GLVector& end, double& length);

// Grows the record's box by the chain's extents without its DEFPOINTS
// entities; with unit 1 (metres) both corners are then scaled by 0.001.
void ComputeBoundingBox(CObjDataNew* record, const resbuf* chain, int unit);

// The other record is a segment of the record's object type and one of the
// record's ends lies within kPointTolerance of one of the other's ends.
bool IsConnectedTo(const CObjDataNew* record, const CObjDataNew* other);

// The point (group 10) of the n-th (from 0) connection point of a list of
// CObjConnPntNew; out is unchanged when the list is shorter.
void GetConnectionPoint(const CSeznam& list, uint32_t n, GLVector& out);
