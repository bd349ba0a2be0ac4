// The older section generators: a picked riser, read into older records,
// becomes a section drawing of new records appended to the list (blocks
// and inserts of the branches' products with their data and descriptions,
// the riser's start, pipes, a base line and a floor mark), which
// WriteOldRecords then writes. The section list of the parameter block must
// have been built from the records (CSecSez::BuildFromBranches).
//
// Both return 1 after a drawing, 0 before drawing anything when the host
// has no catalogue for the riser's trade or the product library is not
// bound. A product the catalogue does not give, or that lacks the
// connection point of its class, is left out; the left-out list, when
// given, names it, and every branch record the tree does not place. They
// return 0 with the failure, when given, filled when a product was asked
// with a length of its own that is no usable one and when the drawing would
// hold a point beyond a section's reach (FiniteChains.h); the caller then
// discards the records.
#pragma once

#include "jov_vantrix/section/CutDrawing.h"
#include "platform/mfc/CStringArray.h"

class CObjSez;
class JovCutParamsOld;

// Lays out the branch tree of "_NUM_BRANCH" from the root branch "A": for
// each branch its items (its children, then its own product), a riser
// symbol with pipes and a label for a child that has children of its own,
// the product of a child that has none, in a column that depends on the
// sides of the root and of the branch.
int BuildOldCutDrawing(CObjSez& records, JovCutParamsOld& params, CStringArray* leftOut = nullptr,
                      CutDrawingFailure* failure = nullptr);

// Without the tree: each branch record's product only, in the left or the
// right column by the branch's own side, joined to the riser's pipes.
int BuildOldCutDrawingFlat(CObjSez& records, JovCutParamsOld& params, CStringArray* leftOut = nullptr,
                          CutDrawingFailure* failure = nullptr);
