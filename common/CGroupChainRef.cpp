#include "common/CGroupChainRef.h"

#include <new>
#include <utility>

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

bool CGroupChainRef::Assign(const resbuf* chain) {
  if (!chain) {
    Release();
    return true;
  }
  // The block first, so that it lies next to the chain's first node (a
  // writer reads both); the copy before releasing, as chain may be the one
  // this holder frees.
  auto* fresh = new (std::nothrow) Shared{1, nullptr};
  if (fresh) fresh->chain = CopyGroupCodeChain(chain);
  Release();
  if (!fresh || !fresh->chain) {
    delete fresh;
    return false;
  }
  block = fresh;
  return true;
}

resbuf* CGroupChainRef::GetChainForWrite() {
  Detach();
  return block ? block->chain : nullptr;
}

void CGroupChainRef::Detach() {
  if (block && block->refs > 1) Assign(block->chain);
}

void CGroupChainRef::Release() {
  if (!block) return;
  if (--block->refs == 0) {
    FreeGroupCodeChain(block->chain, false);
    delete block;
  }
  block = nullptr;
}
