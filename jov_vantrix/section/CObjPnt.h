// The point nodes of the older section path: a vertex of a drawn polyline or
// line, and a connection point of a product symbol. They are the current
// path's point nodes under the older names, so the shared entity writers
// and connection-point reads take lists of either.
#pragma once

#include <initializer_list>

#include "common/GLVector.h"
#include "dataformat/resbuf.h"
#include "jov_vantrix/network/CObjConnPntNew.h"
#include "jov_vantrix/network/CObjPntNew.h"

class CObjPnt : public CObjPntNew {
 public:
  CObjPnt() = default;
  explicit CObjPnt(const GLVector& point) : CObjPntNew(point) {}
};

// The DEFPOINTS entity that marks the connection, inside the symbol's own
// chain; the node does not free it.
class CObjConnPnt : public CObjConnPntNew {
 public:
  CObjConnPnt() = default;
  explicit CObjConnPnt(const resbuf* entity) : CObjConnPntNew(entity) {}
};

// A vertex list made from points, as the writers take it.
class CObjPntList : public CSeznam {
 public:
  CObjPntList(std::initializer_list<GLVector> points) {
    for (const GLVector& p : points) AddTail(new CObjPnt(p));
  }
};
