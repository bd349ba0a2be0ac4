// Reading the picked riser and its branches into the older records, their
// order for the generators, the product's connection points, and writing
// the records back.
#pragma once

#include "common/CSeznam.h"
#include "platform/mfc/CString.h"

class CJovData;
class CObjSez;

// Results of ReadOldCutObjects.
constexpr int kOldCutRead = 0;
constexpr int kOldCutNoRiser = 1;  // the selection does not start with a riser
constexpr int kOldCutEmpty = 2;

// Reads the host's current selection into records that point at the
// host's chains (each keeps its entity's name). The first entity must be a
// riser insert (role 1 when its "_NUM_RISER" is riserNumber, which an empty
// riserNumber takes from it); then branch inserts of that riser get role 2;
// anything else stays a plain record (role 0). A selection that does not
// start with a riser ends the reading at once with its first record kept.
int ReadOldCutObjects(CObjSez& records, CString& riserNumber);

// Writes each record's chain as read (behind its entity's name, so the
// entity is replaced) and then its built chain (a new entity), in list
// order, each where present. 1, or -1 when the host refused a chain (noted
// for EndWrittenChange).
int WriteOldRecords(CObjSez& records);

// For each connection point of a symbol (a list of CObjConnPnt), its
// points 10 and 11 as one pair of insertion points of the data.
void AddConnectionPointPairs(const CSeznam& connectionPoints, CJovData& data);

// The generators' record order (for CSeznam::Sort): branch records with a
// "_NUM_BRANCH" before other records, branch records by their names in
// descending byte order; everything else compares equal. This is no
// consistent order (a branch without "_NUM_BRANCH" equals everything), so
// nothing may rely on the order of records it calls equal.
int CompareBranchRecords(const void* a, const void* b);
