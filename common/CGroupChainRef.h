// Reference-counted, copy-on-write holder of a group-code chain. Copies of
// a holder share one block; the first writer takes a private copy.
//
// A chain assigned is kept compact: its nodes and texts in one block with
// the holder's count, taken from the module's chain arena (see SlabArena),
// so that the tens of thousands of records a network reads cost one block
// each to keep and nothing but a count to let go. Writers change such a
// chain in place, with nodes and texts of the heap; they free what they
// replace or cut out through FreeHeldChainText / FreeHeldChainNodes, which
// leave what lies in the block to it.
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

  // Holds a private copy of chain (narrow texts): compact, or from the
  // heap when the arena cannot take it; null empties the holder. False when
  // the copy could not be made (the holder is then empty).
  bool Assign(const resbuf* chain);
  // The same for chain, a node of holder's chain (the copy runs from it to
  // the end): a compact holder into which no writer has hung anything is
  // copied whole, its pointers moved, without reading it node by node.
  bool Assign(const resbuf* chain, const CGroupChainRef& holder);
  // Holds a compact copy of chain in a heap block of its own, not in the
  // arena: for chains kept across the commands whose records come and go
  // (the arena takes its room again only once every block is back).
  // Writers get an arena copy of it first. False as Assign.
  bool AssignOwnBlock(const resbuf* chain);
  // Shared read access; null when empty.
  const resbuf* GetChain() const { return block ? block->chain : nullptr; }
  // The chain after Detach: safe to change in place, freeing through
  // FreeHeldChainText / FreeHeldChainNodes.
  resbuf* GetChainForWrite();
  // The same for a writer that hangs in only texts and nodes of NewText
  // and NewTextNode (and frees what it replaces or cuts out as above):
  // those of a compact chain go with its block, so letting it go stays a
  // count.
  resbuf* GetChainForCompactWrite();
  // A copy of text, or a text node (code, a copy of text), for the chain
  // this holder writes: with its block when the chain is compact, else
  // from the heap. Null for a null text, a code of no text and when no
  // room could be had.
  char* NewText(const char* text);
  resbuf* NewTextNode(int16_t code, const char* text);
  // Takes a private copy when the block is shared or of its own.
  void Detach();
  // Drops this holder's reference; the last one frees the chain.
  void Release();

  int32_t GetRefCount() const { return block ? block->refs : 0; }
  // Whether the chain lies in one block of the arena.
  bool IsCompact() const { return block && block->compact && !block->own; }

  // Gives the arena's slabs back to the system when no compact chain is
  // held (as malloc_trim does for the heap).
  static void ReleaseUnusedMemory();

  // Hints the shared block, which GetChain and GetChainForWrite read first.
  void PrefetchBlock() const { PrefetchBytes(block, sizeof(Shared)); }

 private:
  struct Shared {
    int32_t refs;
    bool compact;   // the chain lies behind the count in one block
    bool own;       // that block is from the heap, not the arena
    bool written;   // a writer may have hung heap nodes and texts into it
    bool extended;  // a writer may have hung in parts from outside the block
    uint32_t bytes; // of the block
    resbuf* chain;
  };
  bool CopyBlock(const resbuf* chain, const Shared& from);
  Shared* block = nullptr;
};

// What a writer of a held chain replaces or cuts out: a text, or the nodes
// of a chain up to its end (texts and binary chunks with them). Parts that
// lie in a compact chain's block stay for the block; the rest is freed.
void FreeHeldChainText(void* text);
void FreeHeldChainNodes(resbuf* chain);
