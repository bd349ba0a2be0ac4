// A view's drawing recomputed for the current parameter values: every
// point of the chain is looked up among the definition points by its
// position as the catalogue gave it and replaced by its formulas' values;
// radii, angles, bulges and axis ratios follow from the moved points. A
// point without a definition point, formula or valid result stays, and so
// does whatever is derived from it (never a value that is not finite).
//
// Products of index type 387 with items status bit 24 rewrite their LINEs
// together: the first plain line parallel to the first two definition
// lines, when those start at most 120 apart, is cut to half their distance
// plus one (pointing away from its end up to 60 apart, along it beyond).
#pragma once

#include "dataformat/resbuf.h"

class CSeznam;

// Rewrites chain in place; the catalogue (index type, items status) is the
// current one. Always true.
bool RegenerateProductGeometry(const CSeznam& points, const CSeznam& params, resbuf* chain);
