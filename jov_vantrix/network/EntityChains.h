// The chains of the entities the system draws, in the host's layout (0
// type, 100 "AcDbEntity", 8 layer, the subclass marker and data), shared by
// the record builders of both section generators. Points are written as
// given unless a converter is passed; a given extended-data chain is linked
// after the entity's last node and belongs to the result (it is freed when
// the entity cannot be built). Results are owned by the caller; null when
// a node cannot be made.
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "common/GLVector.h"
#include "dataformat/resbuf.h"

class CString;

// A point for the drawing (user to world coordinates, say).
using PointConverter = GLVector (*)(GLVector);

// TEXT. With either alignment non-zero, group 10 is the origin and the
// point goes to group 11 after 72, with 73 at the end; otherwise group 10
// is the point. Group 50 only with a rotation.
resbuf* TextEntityChain(const char* layer, const char* text, GLVector point, double height,
                        const double* rotation, double widthFactor, int hAlign, int vAlign,
                        resbuf* xdata);

// LWPOLYLINE through the points of a list of point nodes (CObjPntNew and
// its kin), flags 0, constant width 0, each vertex (x, y) with z 0.
resbuf* PolylineEntityChain(const char* layer, int colour, const CSeznam& vertices,
                            PointConverter convert, resbuf* xdata);

// LINE whose n-th point has group 10 + n; only the point codes 10-19 exist,
// so the first ten points are taken.
resbuf* LineEntityChain(const char* layer, const CSeznam& points, PointConverter convert);

// CIRCLE of half the diameter; colour -1 writes no group 62.
resbuf* CircleEntityChain(const char* layer, GLVector centre, double diameter, int16_t colour);

// INSERT of a block. In a drawing in metres (units 1) the catalogue's
// millimetre blocks are scaled: 41 = scale / 1000, 42 = 43 = 1 / 1000;
// otherwise only 41 = scale. Group 50 only with a rotation.
resbuf* InsertEntityChain(const char* layer, const char* blockName, GLVector point, int32_t units,
                          double scale, const double* rotation, resbuf* xdata);

// Makes the list node that stands for one connection entity of a symbol.
using ConnectionNodeMaker = CSeznam* (*)(const resbuf* entity);

// Defines a block from a product symbol's chain. Entities on layer
// DEFPOINTS are not drawn: those with no colour or colour 7 become
// connection points (made by makeNode, pointing into the symbol chain) in
// connectionPoints, the others are dropped; every other entity goes into
// the block. On success blockName becomes the name the host gave. False
// when the host refuses the block's start, an entity or the end; after a
// refused entity the block is still ended. The symbol chain is whole again
// on return.
bool DefineSymbolBlock(CString& blockName, GLVector basePoint, resbuf* symbol,
                       CSeznam& connectionPoints, ConnectionNodeMaker makeNode);
