// Which records of a picked branch lie along each run of its start, and in
// what order; and the small look-ups over a record list that the section
// generator makes. Nothing here creates entities.
//
// A record's run arrays, by side ("0" or any other text for side 1) and
// pipe kind (object type 5 supply, 6 return): the lengths and source pieces
// of its runs, index-aligned, and the branch records along them. Tracing
// inserts at the front, so they run from the far end towards the start.
#pragma once

#include "common/qmArray.h"
#include "platform/mfc/CPtrArray.h"
#include "platform/mfc/CString.h"
#include "platform/mfc/CStringArray.h"

class CObjDataNew;
class CObjSezNew;
class JovCutParams;

qmArray<double>& RunLengths(CObjDataNew& record, bool side1, int pipeType);
CPtrArray& RunPieces(CObjDataNew& record, bool side1, int pipeType);
CPtrArray& BranchRecords(CObjDataNew& record, bool side1);
// The side of a side text: 1 for anything but "0".
inline bool IsSide1(const CString& side) { return side != "0"; }

// The start of the section: the first riser (object type 1) that another
// record of type 1, 2, 7 or 8 shares branch number and side with, or the
// first picked branch start (type 7) that a record of type 1 or 2 does;
// null when none qualifies.
CObjDataNew* FindFirstRiser(const CObjSezNew& list);

// Traces one pipe kind of one branch side from its start piece (the last
// piece with both "CM" and "CT"; a riser of another number on the side
// makes its run pipe the start and itself the far end), filing the start
// and every piece met at its ends into the owner's run arrays. A joint
// where a pipe of another branch leaves moves the trace on to the piece
// met there, files that branch's record (supply pipes only) and its name;
// a piece met where no other branch leaves is filed once and not followed.
// False when no start piece is found.
bool TracePipeRun(const CObjSezNew& list, int pipeType, const CString& branch, const CString& side,
                  const CString& riserNumber, CStringArray& branchNames, CObjDataNew& owner,
                  CObjDataNew*& farEnd);

// The runs of a record on both sides, or on onlySide ("0" or "1"): return
// pipes first, then supply pipes, then the far-end record (or the branch's
// first product) appended to the side's branch records. 0 when the
// record's own side has no supply start or no branch record (or the record
// is null), else 1.
int BuildRiserChains(const CObjSezNew& list, CObjDataNew* record, const CString& riserNumber,
                     const CString& onlySide);

// First pipe of the type with that branch number and side and a riser
// number that is not empty and equal to (equal) or different from the
// given one.
CObjDataNew* FindRunPipe(const CObjSezNew& list, int pipeType, const CString& branch,
                         const CString& riserNumber, const CString& side, bool equal);

// First product (type 2), or riser when allowed, with that branch number
// and side.
CObjDataNew* FindBranchRecord(const CObjSezNew& list, const CString& branch, const CString& side,
                              bool allowRisers);

// The branch text once per supply pipe of that branch number and side
// (the array is cleared first); returns how many.
int CollectBranchPipes(const CObjSezNew& list, const CString& branch, const CString& side,
                       CStringArray& out);

// The supply and return pipes that share the record's branch name, riser
// number, branch number and side; true only when both are found (an out
// argument may be set either way).
bool FindPipePairByRiser(const CObjSezNew& list, const CObjDataNew& record, CObjDataNew*& supply,
                         CObjDataNew*& ret);
// The same by branch name, branch number, "CM", "CT" and side.
bool FindPipePairByCodes(const CObjSezNew& list, const CObjDataNew& record, CObjDataNew*& supply,
                         CObjDataNew*& ret);

// Length of the first pipe of the type with a product's branch number and
// side; 0 for a record that is no product (type 2) or without such a pipe.
double GetBranchPipeLength(const CObjSezNew& list, const CObjDataNew& record, int pipeType);

// Horizontal room of a run of n records (CObjDataNew*, null entries
// allowed): DIST_RISER + (n - 2) DIST_ELM, plus each record's "L" after the
// first, or (n - 1) SAME_LENGTH when the same length is on.
double GetChainWidth(const CObjSezNew& list, const JovCutParams& params, const CPtrArray& run);

// Width and height of a record's product box; an empty box (nothing but
// connection points, or no product) counts 0 x 0.
double RecordWidth(const CObjDataNew& record);
double RecordHeight(const CObjDataNew& record);
