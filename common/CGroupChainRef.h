// Reference-counted, copy-on-write holder of a group-code chain. Copies of
// a holder share one block; the first writer takes a private copy.
#pragma once

#include <cstdint>

#include "common/Prefetch.h"
#include "dataformat/resbuf.h"

class CGroupChainRef {
 public:
  CGroupChainRef() = default;
  CGroupChainRef(const CGroupChainRef& other);
  CGroupChainRef(CGroupChainRef&& other) noexcept;
  CGroupChainRef& operator=(const CGroupChainRef& other);
  CGroupChainRef& operator=(CGroupChainRef&& other) noexcept;
  ~CGroupChainRef() { Release(); }

  // Holds a private heap copy of chain (narrow, no pool); null empties the
  // holder. False when the copy could not be made (the holder is then empty).
  bool Assign(const resbuf* chain);
  // Shared read access; null when empty.
  const resbuf* GetChain() const { return block ? block->chain : nullptr; }
  // The chain after Detach: safe to change in place.
  resbuf* GetChainForWrite();
  // Takes a private copy when the block is shared.
  void Detach();
  // Drops this holder's reference; the last one frees the chain.
  void Release();

  int32_t GetRefCount() const { return block ? block->refs : 0; }

  // Hints the shared block, which GetChain and GetChainForWrite read first.
  void PrefetchBlock() const { PrefetchBytes(block, sizeof(Shared)); }

 private:
  struct Shared {
    int32_t refs;
    resbuf* chain;
  };
  Shared* block = nullptr;
};
