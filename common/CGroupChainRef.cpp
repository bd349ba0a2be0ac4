#include "common/CGroupChainRef.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "common/SlabArena.h"
#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"

CGroupChainRef::CGroupChainRef(const CGroupChainRef& other) : block(other.block) {
  if (block) ++block->refs;
}

CGroupChainRef::CGroupChainRef(CGroupChainRef&& other) noexcept
    : block(std::exchange(other.block, nullptr)) {}

CGroupChainRef& CGroupChainRef::operator=(const CGroupChainRef& other) {
  if (block != other.block) {
    Release();
    block = other.block;
    if (block) ++block->refs;
  }
  return *this;
}

CGroupChainRef& CGroupChainRef::operator=(CGroupChainRef&& other) noexcept {
  if (this != &other) {
    Release();
    block = std::exchange(other.block, nullptr);
  }
  return *this;
}

namespace {

// No record outlives the module (networks live in commands and dialogs):
// the arena and its slabs go when it is unloaded.
SlabArena& ChainArena() {
  static SlabArena arena;
  return arena;
}

// The count in front of a compact chain, rounded so that the chain's
// first node is aligned.
constexpr size_t kHeadBytes = 24;

// Hands each text, binary chunk and node of the chain to release.
template <class Release>
void ReleaseChainParts(resbuf* chain, Release release) {
  while (chain) {
    resbuf* following = chain->next;
    const uint32_t kind = GroupCodeKind(GetGroupCodeClass(chain->code));
    if (kind == GC_KIND_TEXT)
      release(chain->value.text);
    else if (kind == GC_KIND_BINARY)
      release(chain->value.binary.data);
    release(chain);
    chain = following;
  }
}

// FreeHeldChainNodes for a whole compact chain: what lies in its own block
// is known without asking the arena.
void FreeWrittenParts(resbuf* chain, const void* block, size_t bytes) {
  const auto begin = reinterpret_cast<uintptr_t>(block);
  ReleaseChainParts(chain, [&](void* at) {
    const auto p = reinterpret_cast<uintptr_t>(at);
    if (at && (p < begin || p - begin >= bytes)) FreeHeldChainText(at);
  });
}

}  // namespace

void CGroupChainRef::ReleaseUnusedMemory() { ChainArena().ReleaseUnused(); }

bool CGroupChainRef::Assign(const resbuf* chain) {
  if (!chain) {
    Release();
    return true;
  }
  static_assert(sizeof(Shared) <= kHeadBytes && kHeadBytes % alignof(resbuf) == 0);
  // The copy before releasing, as chain may be the one this holder frees.
  // It is made straight into the arena's room, in one walk: measuring the
  // chain first would read every node and text twice.
  Shared* fresh = nullptr;
  if (GroupCodeKind(GetGroupCodeClass(chain->code)) != GC_KIND_NONE)
    fresh = static_cast<Shared*>(ChainArena().AllocateFilled([chain](char* room, size_t roomBytes) -> size_t {
      if (roomBytes <= kHeadBytes) return 0;
      char* pool = room + kHeadBytes;
      size_t taken = 0;
      resbuf* copy = CopyGroupCodeChain(chain, false, false, false, pool, roomBytes - kHeadBytes, &taken);
      if (!copy) return 0;
      const size_t bytes = kHeadBytes + taken;
      *reinterpret_cast<Shared*>(room) = Shared{1, true, false, false, false, static_cast<uint32_t>(bytes), copy};
      return bytes;
    }));
  if (!fresh) {
    // Too large for the arena, or it has no room: every node from the heap,
    // the count first so that it lies next to the chain's first node.
    fresh = static_cast<Shared*>(std::malloc(sizeof(Shared)));
    if (fresh) {
      *fresh = Shared{1, false, false, false, false, 0, CopyGroupCodeChain(chain)};
      if (!fresh->chain) {
        std::free(fresh);
        fresh = nullptr;
      }
    }
  }
  Release();
  block = fresh;
  return fresh != nullptr;
}

bool CGroupChainRef::Assign(const resbuf* chain, const CGroupChainRef& holder) {
  const Shared* from = holder.block;
  const auto begin = reinterpret_cast<uintptr_t>(from);
  const auto at = reinterpret_cast<uintptr_t>(chain);
  if (!chain || !from || !from->compact || from->extended || at < begin || at - begin >= from->bytes)
    return Assign(chain);
  return CopyBlock(chain, *from) || Assign(chain);
}

bool CGroupChainRef::CopyBlock(const resbuf* chain, const Shared& from) {
  auto* fresh = static_cast<Shared*>(ChainArena().Allocate(from.bytes));
  if (!fresh) return false;
  std::memcpy(fresh, &from, from.bytes);
  // Every pointer of the chain points into the block: each moves with it.
  const ptrdiff_t delta = reinterpret_cast<char*>(fresh) - reinterpret_cast<const char*>(&from);
  auto moved = [delta](auto* p) { return p ? reinterpret_cast<decltype(p)>(reinterpret_cast<char*>(p) + delta) : p; };
  for (resbuf* node = moved(from.chain); node; node = node->next) {
    node->next = moved(node->next);
    const uint32_t kind = GroupCodeKind(GetGroupCodeClass(node->code));
    if (kind == GC_KIND_TEXT)
      node->value.text = moved(node->value.text);
    else if (kind == GC_KIND_BINARY)
      node->value.binary.data = moved(node->value.binary.data);
  }
  *fresh = Shared{1, true, false, false, false, from.bytes, moved(const_cast<resbuf*>(chain))};
  Release();
  block = fresh;
  return true;
}

bool CGroupChainRef::AssignOwnBlock(const resbuf* chain) {
  if (!chain) {
    Release();
    return true;
  }
  const size_t chainBytes = GroupCodeChainPoolBytes(chain);
  Shared* fresh = nullptr;
  if (chainBytes > 0 && chainBytes <= UINT32_MAX - kHeadBytes)
    fresh = static_cast<Shared*>(std::malloc(kHeadBytes + chainBytes));
  if (fresh) {
    *fresh = Shared{1, true, true, false, false, static_cast<uint32_t>(kHeadBytes + chainBytes), nullptr};
    fresh->chain =
        CopyGroupCodeChain(chain, false, false, false, reinterpret_cast<char*>(fresh) + kHeadBytes, chainBytes);
    if (!fresh->chain) {
      std::free(fresh);
      fresh = nullptr;
    }
  }
  Release();
  block = fresh;
  return fresh != nullptr;
}

resbuf* CGroupChainRef::GetChainForWrite() {
  Detach();
  if (!block) return nullptr;
  block->written = block->extended = true;
  return block->chain;
}

resbuf* CGroupChainRef::GetChainForCompactWrite() {
  Detach();
  if (!block) return nullptr;
  if (block->compact)
    block->extended = true;
  else
    block->written = true;
  return block->chain;
}

char* CGroupChainRef::NewText(const char* text) {
  if (!text) return nullptr;
  if (!block || !block->compact || block->own) return DupString(text);
  const size_t bytes = std::strlen(text) + 1;
  auto* copy = static_cast<char*>(ChainArena().AllocateWithBlocks(bytes));
  if (copy) std::memcpy(copy, text, bytes);
  return copy;
}

resbuf* CGroupChainRef::NewTextNode(int16_t code, const char* text) {
  resbuf probe{};
  probe.code = code;
  if (!text || !IsStringNode(&probe)) return nullptr;
  if (!block || !block->compact || block->own) {
    resbuf* node = nullptr;
    if (CreateGroupCodeNode(&node, code, text)) return node;
    FreeGroupCodeChain(node);
    return nullptr;
  }
  auto* node = static_cast<resbuf*>(ChainArena().AllocateWithBlocks(sizeof(resbuf)));
  if (!node) return nullptr;
  *node = resbuf{};
  node->code = code;
  // A short text lies in its node, as a copy into the arena keeps it: one
  // piece of room less for each of the pairs a numbering adds.
  constexpr size_t kTextInNodeBytes = sizeof(resbuf) - offsetof(resbuf, value) - sizeof(char*);
  char* inNode = reinterpret_cast<char*>(&node->value) + sizeof(char*);
  const size_t bytes = std::strlen(text) + 1;
  if (bytes <= kTextInNodeBytes) {
    std::memcpy(inNode, text, bytes);
    node->value.text = inNode;
    return node;
  }
  node->value.text = NewText(text);
  return node->value.text ? node : nullptr;
}

void CGroupChainRef::Detach() {
  // A block of its own is never written: FreeHeldChainText would take its
  // parts for the heap's.
  if (block && (block->refs > 1 || block->own)) Assign(block->chain, *this);
}

void CGroupChainRef::Release() {
  if (!block) return;
  if (--block->refs == 0) {
    if (!block->compact) {
      FreeGroupCodeChain(block->chain, false);
      std::free(block);
    } else if (block->own) {
      std::free(block);
    } else {
      if (block->written) FreeWrittenParts(block->chain, block, block->bytes);
      ChainArena().Release(block, block->bytes);
    }
  }
  block = nullptr;
}

void FreeHeldChainText(void* text) {
  if (text && !ChainArena().Holds(text)) std::free(text);
}

void FreeHeldChainNodes(resbuf* chain) { ReleaseChainParts(chain, FreeHeldChainText); }
