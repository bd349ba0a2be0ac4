// Numbering of drawn pipe segments: runs of records, the numbers of an
// association group (offsets, snapshots and their undo) and the links
// between groups made consistent before an export.
#pragma once

#include <cstdint>
#include <span>

#include "common/CNumberingSnapshot.h"
#include "common/CSeznam.h"
#include "platform/mfc/CPtrArray.h"

class CObjDataNew;
class CNumSezNew;
class CSchSezNew;
class EndPointIndex;

// Numbers a record into a run of records (CObjDataNew* elements).
// Appending: number = size + 1 and, when the run is not empty, connect = the
// number of the last element, or of the one before it when the run has two
// or more elements and connectToPrevious is false. Inserting: the record
// goes before the last element, taking the number size and the last
// element's connect; the last element becomes size + 1 connecting to it.
// Inserting into an empty run appends.
void AddRecordToChain(CObjDataNew* record, CPtrArray& chain, bool append, bool connectToPrevious);

// Makes the numbers of a group's segments agree with their links before the
// export; may add records standing for riser-side ends (which take numbers
// from the scheme's counter). A segment that connects to nothing takes the
// number of the first segment of another group touching it; with an index
// of the scheme's segment ends (IndexSchemeSegments, tolerance 1e-5) the
// candidates are taken from it.
void NumberSegments(CNumSezNew* group, CSchSezNew& scheme, const EndPointIndex* ends = nullptr);

// A segment whose numbers NumberSegments may change: the others keep theirs
// whatever the links say. Depends only on what was read of the record.
bool SegmentMayChange(const CObjDataNew* record);
// NumberSegments given the group's records it reads, each in list order:
// segments, holding at least those that may change, and every record that
// is no segment. A walk that visits the records anyway notes them, and the
// numbering then reads only these instead of walking the group again.
void NumberSegmentsOf(CNumSezNew* group, CSchSezNew& scheme, const EndPointIndex* ends,
                      std::span<CObjDataNew* const> segments, std::span<CObjDataNew* const> others);

// Records index, number and connect of every pipe record (object type 5 or
// 6) of the group into the snapshot when one is given, then offsets the
// group's numbers by *offset.
void SnapshotGroup(CNumSezNew* group, const uint32_t* offset, CNumberingSnapshot* snapshot);

// Every pipe record of the group: number = read number + offset, connect =
// read connect + offset (a connect of 0, a start, stays 0). Marks the group
// changed.
void OffsetGroupNumbers(CNumSezNew* group, uint32_t offset);

// Gives the group's pipe records back the numbers of the snapshot, and
// follows the supply pipes' links into fixed groups to do the same there.
// Every group is visited at most once, so linked groups that form a cycle
// cannot make it run on.
void ApplyNumberSnapshot(CNumSezNew* group, const CNumberingSnapshot& snapshot);

// The first record of the list with that object type and read number; null
// when none.
CObjDataNew* FindRecordByReadNumber(const CSeznam& list, uint32_t objectType, int readNumber);

// Appends the record's index, number and connect to the snapshot.
void SnapshotRecord(CNumberingSnapshot& snapshot, const CObjDataNew* record);
