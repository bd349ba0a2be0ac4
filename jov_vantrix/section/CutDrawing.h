// The section drawing generator: turns a picked branch start (or riser)
// with its runs, read into a record list, into a schematic elevation made
// of new records appended to the same list: each run laid out beside its
// start, products as block inserts with their drops and descriptions,
// branch-offs as junction circles with labels, risers as two vertical
// pipes, a base line and a floor mark. The caller writes the list back.
#pragma once

#include "platform/mfc/CString.h"
#include "platform/mfc/CStringArray.h"
#include "platform/win32/win32_types.h"

class CObjSezNew;
class JovCutParams;

// Why a generation stopped, for the user: a message naming the product's
// type code or the branch. No message: the general one.
struct CutDrawingFailure {
  UINT message = 0;
  CString what;
};

// 1 when the section was drawn; 0 when there is nothing to draw (no start,
// no product library) or the generation stopped (a run that cannot be
// traced, a product without its class's connection point, more runs than
// records). On 0 the list may hold some new records; the caller discards
// it. The parameter block is in drawing units already. A product whose type
// code no catalogue knows or whose length it refused, a product without
// its class's connection point, a branch whose run cannot be traced and a
// drawing beyond a section's reach (FiniteChains.h) fill the failure when
// one is given. The products of the list that a drawn section shows
// neither as a product nor as a branch-off are named in leftOut when it is
// given.
int BuildCutDrawing(CObjSezNew& list, JovCutParams& params, CutDrawingFailure* failure = nullptr,
                    CStringArray* leftOut = nullptr);
