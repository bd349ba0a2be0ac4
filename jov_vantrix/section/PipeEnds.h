// The connection ends of a product's pipes: where a drawn insert shows
// them, and the older exchange of two ends for a product drawn the other
// way round. Shared by both section generators.
#pragma once

#include "common/GLVector.h"

// Exchanges the x of a and b, then shifts both by length minus their
// horizontal distance (the distance in x and z, b's y kept), the other way
// when mirrored. With the values on entry: d = length - |(a.x, b.y, a.z) - b|;
// a becomes (b.x + d, a.y, a.z) and b (a.x + d, b.y, b.z), d negated first
// when mirrored.
void SwapPipeEnds(GLVector& a, GLVector& b, double length, bool mirrored);

// Where an insert shows a point of its block: the block point times the
// insert's X scale (1 in y and z) plus the insertion point, in drawing
// units. A drawing in metres (1 unit per metre) takes the millimetre block
// at 0.001 on every axis, as the insert's scales do.
GLVector InsertedPoint(const GLVector& blockPoint, const GLVector& insertPoint, double xScale, int unitsPerMetre);
