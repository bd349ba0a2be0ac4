// Reading the user's selection of a drawn network for the export: inserts,
// pipe polylines, description texts and marker circles become records; the
// records of the riser scheme are filed into its association groups, its
// pipes linked to each other by their ends, the start pipe found and the
// groups classified (which are fixed, which the user numbers).
#pragma once

#include <cstddef>
#include <span>

#include "common/CGroupChainRef.h"
#include "common/qmArray.h"
#include "dataformat/resbuf.h"

class CObjDataNew;
class CObjSezNew;
class CNumSezNew;
class CSchSezNew;
class EndPointIndex;

// Results of ReadExportNetwork.
constexpr int kExportComplete = 1;           // included and excluded pipes of both kinds, balanced
constexpr int kExportUnusable = 0;           // unbalanced or nothing usable
constexpr int kExportSecondScheme = -1;      // a record of another scheme association
constexpr int kExportOnlyExcluded = -2;      // balanced, but no included pipes
constexpr int kExportSeveralStarts = -3;     // more than one free start pipe
constexpr int kExportNumberedBefore = -5;    // numbers of an earlier export are in the drawing
constexpr int kExportNoFloorPlan = -6;       // balanced included pipes, no floor-plan pipe selected
constexpr int kExportPickCancelled = -7;     // the user left a selection prompt

// Reads the chains of kept, in order, when given, else the host's current
// selection. Every entity read becomes a record of the list's all-records
// array; the list keeps the records that no group takes.
int ReadExportNetwork(CObjSezNew& network, qmArray<resbuf*>* kept);
// The same for the chains the export dialog keeps, in order.
int ReadExportNetwork(CObjSezNew& network, std::span<const CGroupChainRef> kept);

// Files a record: into the unassociated records without a scheme
// association, else into the group of its "_NUM_ASSOC" (and the riser
// records when it has a riser number). False for a second scheme.
bool FileRecordIntoScheme(CObjSezNew& network, CObjDataNew* record);

// Links a record with riser position to the segments of its type and riser
// number in other groups whose ends meet its end (link A) or start (link
// B), closer than 1e-6. With an index of the scheme's segment ends
// (IndexSchemeSegments, of a tolerance of 1e-6 or more) the candidates are
// taken from it.
void LinkRiserNeighbours(CObjSezNew& network, CObjDataNew* record, const EndPointIndex* ends = nullptr);

// Links the riser pipes, sets the groups' flags (A: a riser pipe linked at
// neither end; else B: several riser pipes or one linked at both ends) and
// marks the terminal groups from the start pipe's group. False without a
// start pipe in a group. ends: an index of the scheme's segment ends as
// LinkRiserNeighbours takes it; without one, one is made.
bool ClassifyNetworkGroups(CObjSezNew& network, const EndPointIndex* ends = nullptr);

// Follows the record's links to the groups where the riser ends and gives
// them the class (1 or 2). A group met a second time in one call is not
// followed again, so links that form a cycle end.
void MarkTerminalGroups(CObjSezNew& network, CObjDataNew* record, int cls, bool followA, bool followB);

// No other riser record of the pipe's type has an end closer than 1e-5 to
// the pipe's start or to its end. With an index of the riser records' ends
// (or of the scheme's segment ends, the same records once read; tolerance
// 1e-5 or more) the candidates are taken from it.
bool IsFreePipe(const CObjSezNew& network, const CObjDataNew* pipe, const EndPointIndex* risers = nullptr);

// The index of the ends of the scheme's records with a riser number (the
// segments of every object type), as LinkRiserNeighbours and
// NumberSegments take it.
void IndexSchemeSegments(const CObjSezNew& network, EndPointIndex& ends);
// The same for one group; called for every group in order, it gives what
// IndexSchemeSegments gives.
void IndexGroupSegments(const CNumSezNew& group, EndPointIndex& ends);
// About as many records as the scheme's groups hold segments of (their
// supply and return pipes, a few more): room to ask for before indexing
// their ends.
size_t SchemePipeRecords(const CSchSezNew& scheme);
