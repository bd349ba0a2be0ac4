// The entity writers of the older section generators: the chains of the
// current builders (same group codes in the same order), wrapped in older
// records (role 0, owning the chain) appended to the list. Unlike the
// current builders they convert no coordinate (points are written as the
// caller gives them) and write no rotation.
#pragma once

#include "common/CSeznam.h"
#include "common/GLVector.h"
#include "dataformat/resbuf.h"
#include "platform/mfc/CString.h"

class CObjSez;
class CSecData;
class JovCutParamsOld;
namespace jovDatabase {
class Database;
}

// Defines a block from a product symbol's chain; its DEFPOINTS markers
// (no colour or colour 7) become CObjConnPnt nodes pointing into the
// symbol. False when the host refuses the start, an entity (the block is
// still ended) or the end; the symbol chain is whole again on return.
bool MakeOldBlockFromSymbol(CString& blockName, GLVector basePoint, resbuf* symbol,
                            CSeznam& connectionPoints);

// TEXT with the block's fixed width factor, no rotation. With either
// alignment non-zero, group 10 is the origin and the point group 11. None
// (the extended data freed) for a height not above 0.
void MakeOldTextRecord(CObjSez& list, const JovCutParamsOld& params, const char* text, GLVector point,
                       double height, int hAlign, int vAlign, const char* layer, resbuf* xdata);
// LWPOLYLINE through the points of a CObjPnt list.
void MakeOldPolylineRecord(CObjSez& list, const JovCutParamsOld& params, const char* layer, int colour,
                           const CSeznam& vertices, resbuf* xdata);
// LINE through the first ten points of a CObjPnt list (groups 10, 11 ...).
void MakeOldLineRecord(CObjSez& list, const JovCutParamsOld& params, const char* layer,
                       const CSeznam& points);
// CIRCLE of half the diameter, without a colour; none for a diameter not
// above 0.
void MakeOldCircleRecord(CObjSez& list, const JovCutParamsOld& params, const char* layer, GLVector centre,
                         double diameter);
// INSERT, scaled for a drawing in metres as the current builder does.
void MakeOldInsertRecord(CObjSez& list, const JovCutParamsOld& params, const char* blockName,
                         GLVector point, const char* layer, resbuf* xdata, double scale);

// The "JOV_DATA" blocks of a pair of drawn pipe pieces, spliced in after
// head A (the supply pipe type) and head B (the return pipe type): the
// type code, the catalogue's "PROP" names 2, 0, "_MJ", 3, "_TYPE" 128,
// 6, then "_BRANCH", "_NUM_SECTION" (the section's id, empty without one)
// and "_NUM_ASSOC" (the block's stamp). A null head frees its chain.
void BuildOldPieceJovData(const JovCutParamsOld& params, jovDatabase::Database* db,
                          const char* branchText, const CSecData* section, resbuf* headA,
                          resbuf* headB);
