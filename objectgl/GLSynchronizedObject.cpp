#include "objectgl/GLSynchronizedObject.h"

uint32_t GLSynchronizedObject::GetReaderCount() const {
  std::lock_guard lock(state_);
  return readers_;
}

uint32_t GLSynchronizedObject::GetWriterCount() const {
  std::lock_guard lock(state_);
  return writers_;
}

void GLSynchronizedObject::AcquireMutex(std::unique_lock<std::mutex>& lock) {
  const auto self = std::this_thread::get_id();
  changed_.wait(lock, [&] { return ownerDepth_ == 0 || owner_ == self; });
  owner_ = self;
  ++ownerDepth_;
}

void GLSynchronizedObject::ReleaseMutex() {
  if (ownerDepth_ == 0 || owner_ != std::this_thread::get_id()) return;
  if (--ownerDepth_ == 0) owner_ = {};
}

bool GLSynchronizedObject::OpenRead() {
  std::unique_lock lock(state_);
  if (++readers_ == 1) noReaders_ = false;
  if (writers_ == 0) return false;
  AcquireMutex(lock);
  return true;
}

void GLSynchronizedObject::OpenWrite() {
  std::unique_lock lock(state_);
  // The thread that owns the mutex may already be reading: it must not wait
  // for itself.
  const bool ownsMutex = ownerDepth_ > 0 && owner_ == std::this_thread::get_id();
  if (!ownsMutex) changed_.wait(lock, [&] { return noReaders_; });
  ++writers_;
  AcquireMutex(lock);
}

void GLSynchronizedObject::CloseRead(bool heldMutex) {
  {
    std::lock_guard lock(state_);
    if (readers_ > 0 && --readers_ == 0) noReaders_ = true;
    if (heldMutex) ReleaseMutex();
  }
  changed_.notify_all();
}

void GLSynchronizedObject::CloseWrite() {
  {
    std::lock_guard lock(state_);
    if (writers_ > 0) --writers_;
    ReleaseMutex();
  }
  changed_.notify_all();
}

uint32_t GLOpenObject::Open(uint32_t mode) {
  if (!object_) return kNoObject;
  if (mode_ == kWrite) return kOpenForWrite;
  if (mode_ == kRead) return kOpenForRead;
  if (mode == kRead) {
    heldMutex_ = object_->OpenRead();
  } else if (mode == kWrite) {
    object_->OpenWrite();
  } else {
    return kOpened;
  }
  mode_ = mode;
  return kOpened;
}

void GLOpenObject::Close() {
  if (!object_ || mode_ == kClosed) return;
  if (mode_ == kRead)
    object_->CloseRead(heldMutex_);
  else
    object_->CloseWrite();
  heldMutex_ = false;
  mode_ = kClosed;
}
