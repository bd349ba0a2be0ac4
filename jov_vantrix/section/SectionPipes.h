// The pipe pairs of a section drawing: the two polylines of one step of a
// run, a riser's two vertical pipes with its bubble and label, and the
// link data that ties a drawn piece to the network pipes it stands for.
//
// Link data: 1001 "JOV_LINK", 1000 an identifier of decimal digits, given
// to a pair of network pipes and to the pieces drawn for them.
//
// Pipe layers: the supply pipe's is the parameter block's first pipe kind,
// the return pipe's the second. With the pipe switch on, the supply
// geometry is drawn on the return layer with the return data and numbered
// in the return run, and the other way round.
#pragma once

#include <cstddef>

#include "common/CSeznam.h"
#include "common/GLVector.h"
#include "dataformat/resbuf.h"
#include "jov_vantrix/network/JovCutParams.h"

class CObjDataNew;
class CObjSezNew;

constexpr size_t kLinkIdSize = 128;

// A new identifier: the digits (no point, no sign) of the moment as an OLE
// date (days since 30 December 1899, the time of day as a fraction) plus
// the list's record count, with 10 decimals. Identifiers made in one
// second differ as long as the list grew in between. The clock (the
// current time without one) is asked again while it fails, a few times.
void MakeLinkId(const CObjSezNew& list, JovClock clock, char out[kLinkIdSize]);

// The record's built chain becomes a copy of its chain as read without
// handle (5) nodes and without its old "JOV_LINK" block, ending with a new
// one of the identifier. Nothing for a null record or one without a chain
// as read.
void SetLinkData(const CObjSezNew& list, CObjDataNew* record, const char* id);

// The extended data of a pair of pieces, each after a -3 node; with both
// source pipes given they get a new identifier, which the data carry too,
// and their third product property is the data's value.
struct PieceData {
  resbuf* supply = nullptr;
  resbuf* ret = nullptr;
};
PieceData MakePieceData(CObjSezNew& list, JovCutParams& params, const char* branchNumber,
                        const char* branchName, const char* side, double lengthA, double lengthB,
                        CObjDataNew* sourceA, CObjDataNew* sourceB, const CObjDataNew* owner);
// The same with an identifier already made (null: no link block) and the
// values given.
PieceData MakePieceData(CObjSezNew& list, JovCutParams& params, const char* valueA,
                        const char* valueB, const char* branchNumber, const char* branchName,
                        const char* side, double lengthA, double lengthB, const char* id,
                        const CObjDataNew* owner);

// The polylines of point lists A (supply) and B (return), colour by layer,
// numbered into the current run's sequences (appended when append is set
// or the sequence is empty, else before its last piece, with the chain
// flag); both lists are emptied. Takes the data.
void FilePipePair(CObjSezNew& list, JovCutParams& params, CSeznam& pointsA, CSeznam& pointsB,
                  PieceData data, bool append, bool chainFlag);

// Closes a step: A1 and B1 go to the tail (or head) of the point lists,
// the two polylines are made and filed (appended with a riser record or
// force connect), and the pipe ends a0 and b0 move to A1 and B1.
void DrawPipePair(CObjSezNew& list, JovCutParams& params, const char* branchNumber,
                  const char* branchName, const char* side, GLVector& a0, const GLVector& a1,
                  GLVector& b0, const GLVector& b1, double lengthA, double lengthB, CSeznam& pointsA,
                  CSeznam& pointsB, bool addAtTail, bool forceConnect, bool chainFlag,
                  CObjDataNew* sourceA, CObjDataNew* sourceB, CObjDataNew* riser);

// A riser's two vertical pipes from its base point by its "_POS_RISER"
// ("0" from above the floor pipes up its length, "1" from the base up its
// length, "2" from the base up to the floor pipes; other: none), carrying
// the given lengths plus the part of its own length drawn, and its label
// (prefix and number) above it, in a bubble when asked for.
void DrawRiser(CObjSezNew& list, JovCutParams& params, CObjDataNew& riser, const GLVector& base,
               double lengthA, double lengthB, CObjDataNew* sourceA, CObjDataNew* sourceB);
