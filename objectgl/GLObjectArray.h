// A growable array of object pointers behind the reader/writer lock. It owns
// its elements only when told to (DeleteAll).
#pragma once

#include <cstdint>

#include "objectgl/GLSynchronizedObject.h"

class GLObject;

class GLObjectArray : public GLSynchronizedObject {
 public:
  GLObjectArray() = default;
  // The pointer block is copied; the elements are shared, not cloned.
  GLObjectArray(const GLObjectArray& other);
  GLObjectArray& operator=(const GLObjectArray& other);
  ~GLObjectArray() override;

  // Null at the count; GLException 1003 beyond it.
  GLObject* GetAt(uint32_t index);
  GLObject* operator[](uint32_t index) { return GetAt(index); }
  // Up to `room` elements from `first` on into `out`, under one lock where
  // GetAt would take it for each; how many. 0 at the count; GLException
  // 1003 beyond it.
  uint32_t GetRange(uint32_t first, uint32_t room, GLObject** out);
  // Appends (null too) and returns the new count; GLException 1002 when no
  // memory is left (the array keeps what it had).
  uint32_t Add(GLObject* object);

  uint32_t GetCount() const { return count_; }
  uint32_t GetCapacity() const { return capacity_; }
  uint32_t GetGrowStep() const { return growStep_; }
  void SetGrowStep(uint32_t step) { growStep_ = step; }

  // Deletes every element, then forgets them.
  void DeleteAll();
  // Forgets every element without deleting it.
  void RemoveAll();

 private:
  void CopyFrom(const GLObjectArray& other);

  GLObject** block_ = nullptr;
  uint32_t growStep_ = 10;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
};
