// Whether what a section generator built can be written: the host writes a
// non-finite real as 0, which would collapse products, texts and pipes onto
// the origin.
#pragma once

#include "dataformat/GroupCodeChain.h"

// Every point and real of the chain finite.
bool IsChainFinite(const resbuf* chain);

// Every built chain of the list's records finite.
template <class List>
bool AreBuiltChainsFinite(const List& list) {
  for (auto* r = list.GetFirstRecord(); r; r = r->GetNextRecord())
    if (!IsChainFinite(r->m_pBuiltChain)) return false;
  return true;
}
