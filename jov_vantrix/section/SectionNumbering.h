// Segment numbers of drawn pipe pieces: every piece carries its number and
// the number of the piece it connects to in the "JOV_DATA" keys
// "_DW_NUMBER" and "_DW_CONNECT" (0 connects to nothing). A generated
// section numbers "e1", "e2", ... and keeps the same texts under the
// "_ORIG" keys; an export writes plain numbers.
//
// While a section is generated its pieces are numbered in two sequences,
// supply and return (element i of both belongs to one step of the
// section): each run is numbered on its own, then appended to the
// section's sequences or spliced into them behind the piece where the run
// branches off, and the numbers are made to count from the far end.
#pragma once

#include <cstdint>
#include <span>

#include "dataformat/resbuf.h"
#include "platform/mfc/CPtrArray.h"
#include "platform/mfc/CString.h"

class CObjDataNew;
class CObjSezNew;
class JovCutParams;

// Writes the number keys of every record (CObjDataNew*) of the sequence
// into the chain it is written with (its built chain, else its chain as
// read). start below 1 numbers a generated section from 1 with "e" texts
// and "_ORIG" keys; otherwise numbers and connects are offset by start - 1.
// With labels, the sequence's labels are then renewed (RenewSegmentLabels).
void WriteSegmentNumbers(CObjSezNew& list, const CPtrArray& sequence, const JovCutParams& params,
                         int32_t start, double labelHeight, double labelWidthFactor,
                         const char* labelLayer, int32_t withLabels);

// The number keys of the records of all the sequences, written as
// WriteSegmentNumbers writes them (no labels), in one walk over the records
// in the order they were read rather than one walk a sequence.
void WriteSequenceNumbers(std::span<const CPtrArray* const> sequences, int32_t start);

// Makes the segment labels among the list's read records (its all-records
// array) tell the numbers the sequence's pieces now carry (numbered as
// WriteSegmentNumbers does with start). A label is a TEXT record (see
// NewReadRecord) and names its piece by its tag. A record standing for
// another's piece (CObjDataNew::DrawnPiece, a riser-side end's copy) is
// labelled at that piece, one and a half label heights above the piece's
// own label, and names it. Each record in turn takes, of the labels naming
// its piece and standing beside it (within half the piece's length and two
// label heights of its label point), the nearest, rewritten there with the
// number, on the label layer. Every other tagged label (a second one of a
// piece, one copied with its network, which names the piece it was copied
// from, or one naming no piece of the sequence) is removed: a label read from the drawing is
// erased when the list is written back; any other, or any on a host that
// cannot erase, is blanked and its tag names nothing from then on. With
// labels, a record without one gets a new label (a TEXT tagged with its
// piece's handle, beside a vertical piece, above the second end of any
// other), kept among the list's new labels; without, none is added.
void RenewSegmentLabels(CObjSezNew& list, const CPtrArray& sequence, const JovCutParams& params,
                        int32_t start, double labelHeight, double labelWidthFactor, const char* labelLayer,
                        int32_t withLabels);

// Adds to the list's read records (its all-records array, the list's held
// records owning them) the segment labels of the whole drawing it lacks
// that name a piece of the sequence or a piece the drawing no longer has,
// found through the host by the labels' tag (TEXTs only), so that a renewal reaches the
// labels the user did not select. Labels of other drawn pieces (a
// section's, another network's) are left to their own. False when the host
// cannot walk the drawing (only the selection's labels are then renewed).
bool ReadDrawingLabels(CObjSezNew& list, const CPtrArray& sequence);

// The handle of the piece a segment label is tagged with (a "QM_KEY" block
// naming "T-cisla_useku", then the handle), "" when the tag names none;
// null when the chain is no segment label. Readers pass such labels over.
const char* SegmentLabelPiece(const resbuf* chain);

// Numbers both section sequences from the far end: with n the size of the
// supply sequence, number becomes n + 1 - number and connect n + 1 -
// connect (0 for the first element). Each sequence only as far as it goes.
void ReverseSectionNumbers(CObjSezNew& list);

// After a further run was appended: in each sequence the first element
// takes the sequence's size as number and the second connects to it (a
// sequence shorter than two has no second); then, from start to n - 1
// (n the supply sequence's size, each sequence only as far as it goes),
// number becomes n - number and connect n - connect.
void RenumberSectionFrom(CObjSezNew& list, int64_t start);

// Makes room for a run about to be inserted at position (1-based, from
// FindRecordPosition): the elements from there on move up by the run's
// size k (connects above the base element's, after the first, too), and
// the run's elements count on from the base element's number b (the first
// connects to b). Nothing for a position outside the sequence. Null
// elements are passed over.
void SpliceChainNumbers(CObjSezNew& list, CPtrArray& sequence, int64_t position, const CPtrArray& run);

// Position + 1 of the record in the sequence; -1 when absent or null.
int64_t FindRecordPosition(const CObjSezNew& list, const CPtrArray& sequence, const CObjDataNew* record);

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
