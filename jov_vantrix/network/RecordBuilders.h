// Builders of the entities the system draws. Each builds the entity's chain
// in the host's layout (0 type, 100 "AcDbEntity", 8 layer, the subclass
// marker and data), wraps it in a new record (object type 0, index -1, no
// chain as read) that owns it, and appends that record to the list; the
// write-back later adds it to the drawing. Points are converted from the
// user's coordinate system to world coordinates through the host unless
// said otherwise; rotations are the parameter block's angle.
//
// A given extended-data chain is linked after the entity's last node and
// belongs to the record from then on.
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "common/GLVector.h"
#include "dataformat/resbuf.h"
#include "platform/mfc/CString.h"

class CObjDataNew;
class CObjSezNew;
class JovCutParams;

// TEXT. With either alignment non-zero, group 10 is the origin and the
// point goes to group 11 after 72 (horizontal), with 73 (vertical) at the
// end; otherwise group 10 is the point. toWcs converts the point.
void MakeTextRecord(CObjSezNew& list, const JovCutParams& params, const char* text, GLVector point,
                    double height, double widthFactor, int hAlign, int vAlign, const char* layer,
                    resbuf* xdata, bool toWcs);

// LWPOLYLINE through the points of a CObjPntNew list, with its colour
// (256 by layer), flags 0 and constant width 0.
CObjDataNew* MakePolylineRecord(CObjSezNew& list, const JovCutParams& params, const char* layer,
                                int colour, const CSeznam& vertices, resbuf* xdata);

// LINE whose n-th point (from 0) has group 10 + n; the ten point codes
// 10-19 take the first ten points. toUcs converts the other way, to the
// user's system.
void MakeLineRecord(CObjSezNew& list, const JovCutParams& params, const char* layer,
                    const CSeznam& points, bool toUcs);

// CIRCLE of half the diameter; colour -1 writes no colour.
void MakeCircleRecord(CObjSezNew& list, const JovCutParams& params, const char* layer,
                      GLVector centre, double diameter, int16_t colour);

// INSERT of a block. In a drawing in metres (units 1) the catalogue's
// millimetre blocks are scaled: 41 = scale / 1000, 42 = 43 = 1 / 1000;
// otherwise only 41 = scale.
void MakeInsertRecord(CObjSezNew& list, const JovCutParams& params, const CString& blockName,
                      GLVector point, const char* layer, resbuf* xdata, double scale);

// Defines a block from a product symbol's chain. Entities on layer
// DEFPOINTS are not drawn: those with no colour or colour 7 become
// connection points (CObjConnPntNew, pointing into the symbol chain) in
// connectionPoints, the others are dropped; every other entity goes into
// the block. On success blockName becomes the name the host gave. False
// when the host refuses the block's start, an entity or the end; after a
// refused entity the block is still ended. The symbol chain is whole again
// on return.
bool MakeBlockFromSymbol(CString& blockName, GLVector basePoint, resbuf* symbol,
                         CSeznam& connectionPoints);

// The "JOV_DATA" blocks of a pair of drawn pipe pieces, A of the parameter
// block's first pipe kind and B of its second, spliced in after head A and
// head B. The property names come from the list's catalogue ("PROP" names
// 0, 2, 3 and 6). The owner (a riser, a network insert or the picked
// branch) adds its own keys; a link handle adds a "JOV_LINK" block.
void BuildPieceJovData(const CObjSezNew& list, const JovCutParams& params, const char* valueA,
                       const char* valueB, const char* branchNumber, const char* branchName,
                       const char* sideNumber, double lengthA, double lengthB,
                       const char* linkHandle, resbuf* headA, resbuf* headB,
                       const CObjDataNew* owner);
