// A connection point of a product symbol: the entity (on layer DEFPOINTS)
// that marks it, inside the symbol's own chain. The chain is not owned.
#pragma once

#include "common/CSeznam.h"
#include "dataformat/resbuf.h"

class CObjConnPntNew : public CSeznam {
 public:
  CObjConnPntNew() = default;
  explicit CObjConnPntNew(const resbuf* entity) : m_pEntity(entity) {}
  ~CObjConnPntNew() override = default;

  const resbuf* m_pEntity = nullptr;
};
