// Reading a branch selection for the section drawing: every selected
// entity becomes a record of the list; the branch start, the risers, the
// products and the supply and return pipes of the first start's branch and
// association get their object types and values.
#pragma once

#include "platform/mfc/CString.h"

class CObjDataNew;
class CObjSezNew;

// Results of ReadCutObjects.
constexpr int kCutReadOk = 0;
constexpr int kCutReadNoStart = 1;          // no catalogue, nothing usable first, no start record
constexpr int kCutReadPipesUnpaired = 2;    // supply and return pipes do not pair
constexpr int kCutReadSecondStart = 4;      // a second branch start

// Reads the host's current selection into the list. The riser marker
// becomes "0" for a selection that starts with a branch start, else the
// first riser's number (the list's shift marker takes a copy); start is
// the section's start record. The list's read count covers every record.
int ReadCutObjects(CObjSezNew& list, CString& riserMarker, CObjDataNew*& start);

// ReadCutObjects after its catalogue was chosen: the walk over the
// selection, with the list's catalogue (none: no property is read by the
// name the catalogue gives it).
int ReadCutSelection(CObjSezNew& list, CString& riserMarker, CObjDataNew*& start);

// The trade letter of the list: the first character of the first riser's
// type code; 'T' without a riser.
char GetListMediumLetter(const CObjSezNew& list);
