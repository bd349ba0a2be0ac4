// An entity of the host's drawing as the group-code chain that plug-ins see,
// and back. The chain of an entity is:
//   -1   entity name: value.name = {entity id in the drawing, handle or 0}
//    0   the type ("LINE")
//   ...  its pairs in file order; an x code (10-18, 110-118, 210-218,
//        1010-1018) followed by its y (code + 10) and optionally its z
//        (code + 20) becomes one point node (z 0 when the file had none);
//        so an LWPOLYLINE vertex is one 10 node with its 40/41/42 after it,
//        as in the file
//   -3   before the extended data (the first 1001)
//   ...  the extended data
// The chain is the entity alone: an INSERT's attributes and a POLYLINE's
// vertices stay in the drawing, and a write-back of the entity keeps them.
// A flat 2D POLYLINE (not 3D, mesh, polyface or fitted) is handed out as
// the LWPOLYLINE it amounts to (its vertices as 10 nodes with their 40, 41,
// 42 after them, under the POLYLINE's name), so that R12 drawings read like
// later ones; written back, it becomes an LWPOLYLINE, or in an R12 drawing
// a POLYLINE again. A chain written as a new entity may still bring a run
// (POLYLINE, VERTEX..., SEQEND). Values take the kind GetGroupCodeClass
// gives their code: texts stay code page 1250, angles (50-58) turn from the
// file's degrees into radians, binary chunks from hexadecimal into bytes.
// Pairs whose code has no value kind of its own cannot travel in a chain
// and are left out; a write-back of the entity gives them back (see
// ChainToPairs).
//
// Nodes, texts and chunks come from malloc: FreeGroupCodeChain releases a
// chain made here. A chain made into ChainBlocks is its blocks' instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dataformat/resbuf.h"
#include "platform/host/DxfEntity.h"
#include "platform/host/DxfPair.h"

namespace host {

struct EntityName {
  uint64_t id = 0;      // DxfEntity::id
  uint64_t handle = 0;  // 0 in a drawing without handles
};

// Memory for chains the host keeps itself (those it hands out until the
// command ends): nodes and texts taken one after another from large
// blocks and let go all at once, so that tens of thousands of chains cost
// a few allocations rather than one per node and text.
class ChainBlocks {
 public:
  ChainBlocks() = default;
  ~ChainBlocks();
  ChainBlocks(const ChainBlocks&) = delete;
  ChainBlocks& operator=(const ChainBlocks&) = delete;

  // bytes at an address aligned to align (a power of two up to 16); null
  // when memory runs out. Inline: a chain takes a node or two per pair.
  void* Take(size_t bytes, size_t align) {
    char* at = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(next_) + (align - 1)) & ~uintptr_t{align - 1});
    if (next_ && bytes <= static_cast<size_t>(end_ - at)) {
      next_ = at + bytes;
      return at;
    }
    return TakeAnew(bytes);
  }

  // What was taken after a mark is given back by RollBack, as long as it
  // all lies in the block the mark was made in (else it stays until Clear).
  struct Mark {
    size_t block = 0;
    char* next = nullptr;
  };
  Mark Position() const { return {blocks_.size(), next_}; }
  void RollBack(const Mark& mark);

  // Lets every chain made here go (the first block stays for the next).
  void Clear();

 private:
  // Take with no room left in the block: a block of its own or a new one
  // (whose alignment serves every request).
  void* TakeAnew(size_t bytes);

  std::vector<char*> blocks_;  // the last is the one taken from
  std::vector<char*> large_;   // requests too large for a block, each its own
  char* next_ = nullptr;
  char* end_ = nullptr;
};

// Null only when memory runs out. With blocks, every node and text is taken
// from them: such a chain is never freed on its own.
resbuf* EntityToChain(const DxfEntity& entity, ChainBlocks* blocks = nullptr);

// Pairs of a chain, for the drawing's AppendEntity/ReplaceEntity. A leading
// -1 node gives *name (when asked); other negative codes are dropped. Reals
// are written back in their shortest round-trip form, angles in degrees.
// With the original entity (the one the chain replaces) as a template,
// values that did not change keep the file's text, points keep the file's
// 2D or 3D form, and pairs the chain could not carry are put back at their
// places; without one only LWPOLYLINE vertices are written as 2D points.
// Kept values are the original's shared (Share): the pairs are for the
// drawing that holds the original. New values take their bytes from the
// arena when one is given and view them there: the pairs then live no
// longer than it. False, with the reason, for an empty chain.
bool ChainToPairs(const resbuf* chain, const DxfEntity* original, PairList& out,
                  std::optional<EntityName>* name, DxfError* error, PairArena* arena = nullptr);

// Whether ChainToPairs with the original as a template gives the
// original's codes in the original's places: then the values whose bytes
// differ (as ChainToPairs makes them) are in values, their indexes among
// the original's pairs, ascending, in places; nothing is built for the
// others. A chain of more than one part is never taken this way. With
// insertAt, also a chain that brings one run of extended data the
// original lacks (the rest in the original's places): its pairs follow
// the values set in values (those beyond places' count), to go before the
// original's pair at *insertAt.
bool ChainSetsValues(const resbuf* chain, const DxfEntity& original, std::vector<uint32_t>& places,
                     PairList& values, PairArena* arena = nullptr, size_t* insertAt = nullptr);

// The entity name of a chain that begins with one.
std::optional<EntityName> ChainEntityName(const resbuf* chain);

// Whether a pair with this code travels in chains.
bool CodeFitsChain(int code);

}  // namespace host
