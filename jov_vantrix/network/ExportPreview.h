// Where the export preview draws a product: its catalogue geometry placed as
// the drawing's insert of it.
#pragma once

#include "common/GLMatrix.h"
#include "dataformat/resbuf.h"

// place: scaled from millimetres when the drawing is in metres (units 1),
// turned by the insert's angle (group 50) against the user's X axis and
// moved to its insertion point (group 10) in user coordinates. mirror,
// applied first: a half turn about Y for an insert mirrored in X (group 41
// below 0), else none.
void PreviewInsertTransforms(const resbuf* insert, int units, GLMatrix& place, GLMatrix& mirror);
