// Segment numbers of drawn pipe pieces: every piece carries its number and
// the number of the piece it connects to in the "JOV_DATA" keys
// "_DW_NUMBER" and "_DW_CONNECT" (0 connects to nothing). A generated
// section numbers "e1", "e2", ... and keeps the same texts under the
// "_ORIG" keys; an export writes plain numbers.
#pragma once

#include <cstdint>

#include "common/resbuf.h"
#include "platform/mfc/CPtrArray.h"
#include "platform/mfc/CString.h"

class CObjSezNew;
class JovCutParams;

// Writes the number keys of every record (CObjDataNew*) of the sequence
// into the chain it is written with (its built chain, else its chain as
// read). start below 1 numbers a generated section from 1 with "e" texts
// and "_ORIG" keys; otherwise numbers and connects are offset by start - 1.
// With labels, a TEXT of the number is added to the list beside each piece
// (beside a vertical one, above the second end of any other).
void WriteSegmentNumbers(CObjSezNew& list, const CPtrArray& sequence, const JovCutParams& params,
                         int32_t start, double labelHeight, double labelWidthFactor,
                         const char* labelLayer, int32_t withLabels);

// Sets, adds or (with a null value) removes a key/value pair of the chain's
// "JOV_DATA" block: 1 replaced or removed; 2 added, or nothing to remove;
// 0 when the block has no pairs to add to. A new pair goes before the first
// node after the pairs, or, when the pairs run to the end of the chain,
// before the last pair.
int SetJovDataValue(const char* key, const char* value, resbuf* chain);

// The node after the type code of the first "JOV_DATA" block (named
// without regard to case) and, for a matrix code "E@<rows>x<columns>",
// after its cells; null when there is no such block, the code is no text,
// a matrix code lacks its "x" or the chain ends early. typeCode, when
// given, receives the code.
resbuf* FindJovDataPairs(resbuf* chain, CString* typeCode);
