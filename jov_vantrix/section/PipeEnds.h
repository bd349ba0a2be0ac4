// The connection ends of a product's pipes: where a drawn insert shows
// them. Shared by both section generators.
#pragma once

#include "common/GLVector.h"

// Where an insert shows a point of its block: the block point times the
// insert's X scale (1 in y and z) plus the insertion point, in drawing
// units. A drawing in metres (1 unit per metre) takes the millimetre block
// at 0.001 on every axis, as the insert's scales do.
GLVector InsertedPoint(const GLVector& blockPoint, const GLVector& insertPoint, double xScale, int unitsPerMetre);
