// Extents of the entities of a group-code chain, read from their geometry
// nodes. Angles are in radians, counter-clockwise, as the host stores them.
//
// The boxes are only ever grown: start min at +DBL_MAX and max at -DBL_MAX
// (or at an earlier box) before the first call.
#pragma once

#include "common/GLVector.h"
#include "dataformat/resbuf.h"

// Grows min/max by every LINE, CIRCLE, ELLIPSE, ARC, SOLID and LWPOLYLINE of
// the chain (type names compared case-sensitively); any other entity is
// passed over. Entities on layer DEFPOINTS (any case) count only with
// withDefpoints.
void GetEntityExtents(const resbuf* chain, GLVector& min, GLVector& max, bool withDefpoints);

// Per axis, min takes the smaller and max the larger value. A NaN coordinate
// changes nothing. The second form reads three raw doubles (a node's point);
// a null pointer changes nothing.
void UpdateExtents(const GLVector& p, GLVector& min, GLVector& max);
void UpdateExtents(const double* p, GLVector& min, GLVector& max);

// One entity each: *cursor stands on the entity (its code-0 node, optionally
// preceded by its -1 name node) and is left on the next entity's code-0 node,
// or null at the end of the chain. An entity lacking a node its geometry
// needs (CIRCLE: 10, 40; ARC: 10, 40, 50, 51; ELLIPSE: 10, 11, 40) adds
// nothing; where several nodes of a code occur, the last one counts.
void LineExtents(resbuf** cursor, GLVector& min, GLVector& max);
void CircleExtents(resbuf** cursor, GLVector& min, GLVector& max);
void EllipseExtents(resbuf** cursor, GLVector& min, GLVector& max);
void ArcExtents(resbuf** cursor, GLVector& min, GLVector& max);
void SolidExtents(resbuf** cursor, GLVector& min, GLVector& max);
void LwPolylineExtents(resbuf** cursor, GLVector& min, GLVector& max);

// The entity's layer (code 8) is "DEFPOINTS", ignoring case.
bool IsOnDefpoints(const resbuf* entity);

// The points of a circle of that centre and radius at the two angles.
void ArcEndPoints(const GLVector& centre, const double& radius, const double& startAngle,
                  const double& endAngle, GLVector& start, GLVector& end);

// Directions of p1 and p2 seen from the centre, 0..2 pi from the X axis.
void PointAnglesAboutCentre(const GLVector& centre, const GLVector& p1, const GLVector& p2,
                            double& a1, double& a2);

// Radius of the polyline arc from p1 to p2 with that bulge (tangent of a
// quarter of the included angle; positive turns counter-clockwise); 0 for a
// straight or zero-length segment.
void BulgeArcRadius(const GLVector& p1, const GLVector& p2, const double& bulge, double& radius);

// Centre of that arc, at z = 0; left unchanged for a straight or zero-length
// segment.
void BulgeArcCentre(GLVector& centre, const GLVector& p1, const GLVector& p2, const double& bulge);

// Bulge of the arc from p1 to p2 through p0: tan(atan(L / 2 / h) / 2), L the
// chord, h the signed distance of p0 from it (positive to its left); 1.0 for
// p0 on the chord line, 0.0 where that is not finite (p1 = p2).
double BulgeFromThreePoints(const GLVector& p0, const GLVector& p1, const GLVector& p2);
