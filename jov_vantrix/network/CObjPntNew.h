// One point of a vertex or point list handed to the record builders.
#pragma once

#include "common/CSeznam.h"
#include "common/GLVector.h"

class CObjPntNew : public CSeznam {
 public:
  CObjPntNew() = default;
  explicit CObjPntNew(const GLVector& point) : m_point(point) {}
  ~CObjPntNew() override = default;

  GLVector m_point;
};
