// A growable list of 32-bit indices (the meshes' and shells' vertex
// indices). Stream form: grow step (u32), count (u32), the values.
#pragma once

#include <cstdint>

class GLOstream;
class GLIstream;

class GLUIntArray {
 public:
  explicit GLUIntArray(uint32_t capacity = 0, uint32_t growStep = 10);
  // Exactly the n values (grow step 10).
  GLUIntArray(const uint32_t* values, uint32_t n);
  GLUIntArray(const GLUIntArray& other);
  GLUIntArray& operator=(const GLUIntArray& other);
  virtual ~GLUIntArray();

  // Returns the new count; GLException 1002 when the block cannot grow.
  uint32_t Add(uint32_t value);
  // GLException 1003 at or beyond the count.
  uint32_t& GetAt(uint32_t index);
  const uint32_t* GetData() const { return data_; }
  uint32_t GetCount() const { return count_; }
  uint32_t GetCapacity() const { return capacity_; }
  uint32_t GetGrowStep() const { return growStep_; }
  void SetGrowStep(uint32_t step) { growStep_ = step; }
  // Whether every value lies below the limit (indices into a list).
  bool AllBelow(uint32_t limit) const;

  bool Write(GLOstream& os) const;
  // The list is replaced only when all of it was read; a count that the
  // stream cannot hold fails before anything is allocated.
  bool Read(GLIstream& is);

 private:
  void Assign(const uint32_t* values, uint32_t n, uint32_t capacity);

  uint32_t* data_ = nullptr;
  uint32_t growStep_ = 10;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
};
