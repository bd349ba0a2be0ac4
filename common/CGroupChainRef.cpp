#include "common/CGroupChainRef.h"

#include <new>
#include <utility>

#include "common/GroupCodeChain.h"

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
  // Copy before releasing: chain may be the one this holder frees.
  resbuf* copy = chain ? CopyGroupCodeChain(chain) : nullptr;
  Release();
  if (!copy) return chain == nullptr;
  block = new (std::nothrow) Shared{1, copy};
  if (!block) {
    FreeGroupCodeChain(copy);
    return false;
  }
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
