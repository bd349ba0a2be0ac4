// The geometry of the positioned product in one view, as the catalogue
// holds it, made fit to be placed on its own.
#pragma once

#include "dataformat/resbuf.h"

namespace jovDatabase {
struct resultResbuf;
}

// Views of a product: 0 A, 1 B, 2 C, 3 3D.
constexpr unsigned kViewCount = 4;

// Fetches the view's geometry into the holder (the chain stays the
// holder's) and frees every HATCH of its associations. False when the
// catalogue fails, the product has no geometry in that view or the view is
// not one of the four.
bool GetProductDxf(unsigned view, jovDatabase::resultResbuf& out);

// In every HATCH with its "AcDbHatch" marker: the associativity (71) and
// every boundary path's number of source objects (97) become 0 and the
// source handles (330) that follow each count are freed. Other entities
// stay as they are.
void DetachHatches(resbuf* chain);
