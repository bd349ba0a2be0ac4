#include "common/CGroupChainRef.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

#include "common/SlabArena.h"
#include "dataformat/GroupCodeChain.h"

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

// FreeHeldChainNodes for a whole compact chain: what lies in its own block
// is known without asking the arena.
void FreeWrittenParts(resbuf* chain, const void* block, size_t bytes) {
  const auto begin = reinterpret_cast<uintptr_t>(block);
  auto freeOutside = [&](void* at) {
    const auto p = reinterpret_cast<uintptr_t>(at);
    if (at && (p < begin || p - begin >= bytes)) FreeHeldChainText(at);
  };
  while (chain) {
    resbuf* following = chain->next;
    const uint32_t kind = GroupCodeKind(GetGroupCodeClass(chain->code));
    if (kind == GC_KIND_TEXT)
      freeOutside(chain->value.text);
    else if (kind == GC_KIND_BINARY)
      freeOutside(chain->value.binary.data);
    freeOutside(chain);
    chain = following;
  }
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
  Shared* fresh = nullptr;
  const size_t chainBytes = GroupCodeChainPoolBytes(chain);
  if (chainBytes <= SlabArena::kLargestBlock - kHeadBytes) {
    fresh = static_cast<Shared*>(ChainArena().Allocate(kHeadBytes + chainBytes));
    if (fresh) {
      *fresh = Shared{1, true, false, static_cast<uint32_t>(kHeadBytes + chainBytes), nullptr};
      fresh->chain = CopyGroupCodeChain(chain, false, false, false, reinterpret_cast<char*>(fresh) + kHeadBytes,
                                        chainBytes);
      if (!fresh->chain) {
        ChainArena().Release(fresh, fresh->bytes);
        fresh = nullptr;
      }
    }
  }
  if (!fresh) {
    // Too large for the arena, or it has no room: every node from the heap,
    // the count first so that it lies next to the chain's first node.
    fresh = static_cast<Shared*>(std::malloc(sizeof(Shared)));
    if (fresh) {
      *fresh = Shared{1, false, false, 0, CopyGroupCodeChain(chain)};
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

resbuf* CGroupChainRef::GetChainForWrite() {
  Detach();
  if (!block) return nullptr;
  block->written = true;
  return block->chain;
}

void CGroupChainRef::Detach() {
  if (block && block->refs > 1) Assign(block->chain);
}

void CGroupChainRef::Release() {
  if (!block) return;
  if (--block->refs == 0) {
    if (!block->compact) {
      FreeGroupCodeChain(block->chain, false);
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

void FreeHeldChainNodes(resbuf* chain) {
  while (chain) {
    resbuf* following = chain->next;
    const uint32_t kind = GroupCodeKind(GetGroupCodeClass(chain->code));
    if (kind == GC_KIND_TEXT)
      FreeHeldChainText(chain->value.text);
    else if (kind == GC_KIND_BINARY)
      FreeHeldChainText(chain->value.binary.data);
    FreeHeldChainText(chain);
    chain = following;
  }
}
