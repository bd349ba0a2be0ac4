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

// What a TEXT entity's chain says. With either alignment non-zero, group
// 10 is the origin and the point goes to group 11 after 72, with 73 at the
// end; otherwise group 10 is the point. Group 50 only with a rotation.
struct TextEntityParts {
  const char* layer;
  const char* text;
  GLVector point;
  double height;
  const double* rotation;
  double widthFactor;
  int hAlign = 0;
  int vAlign = 0;
};

// The one layout of a TEXT entity's nodes, whoever holds them: the heap
// (TextEntityChain) or a frame of its caller's (the segment labels).
// node(code, text) gives the next node, zero but for its code and, for a
// text node, text (a null text is given as ""); null when it has none. The
// nodes are linked from *first on; the last one, null when a node could not
// be had (those made so far stay linked from *first).
template <class Node>
resbuf* LayTextEntity(const TextEntityParts& t, resbuf** first, Node node) {
  const bool aligned = t.hAlign != 0 || t.vAlign != 0;
  resbuf** link = first;
  resbuf* last = nullptr;
  auto add = [&](int16_t code, const char* text) {
    resbuf* made = node(code, text);
    if (made) {
      *link = last = made;
      link = &made->next;
    }
    return made;
  };
  auto text = [&](int16_t code, const char* value) { return add(code, value ? value : "") != nullptr; };
  auto point = [&](int16_t code, const GLVector& p) {
    resbuf* made = add(code, nullptr);
    if (made) {
      made->value.point[0] = p.x;
      made->value.point[1] = p.y;
      made->value.point[2] = p.z;
    }
    return made != nullptr;
  };
  auto real = [&](int16_t code, double value) {
    resbuf* made = add(code, nullptr);
    if (made) made->value.real = value;
    return made != nullptr;
  };
  auto int16 = [&](int16_t code, int value) {
    resbuf* made = add(code, nullptr);
    if (made) made->value.i16 = static_cast<int16_t>(value);
    return made != nullptr;
  };
  const GLVector origin;
  const bool laid = text(0, "TEXT") && text(100, "AcDbEntity") && text(8, t.layer) && text(100, "AcDbText") &&
                    point(10, aligned ? origin : t.point) && real(40, t.height) && text(1, t.text) &&
                    (!t.rotation || real(50, *t.rotation)) && real(41, t.widthFactor) &&
                    (aligned ? int16(72, t.hAlign) && point(11, t.point) && text(100, "AcDbText") && int16(73, t.vAlign)
                             : text(100, "AcDbText"));
  return laid ? last : nullptr;
}

// TEXT from the heap, laid out as LayTextEntity lays it.
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
