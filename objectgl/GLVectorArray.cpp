#include "objectgl/GLVectorArray.h"

#include "common/GLStream.h"

bool GLWriteVectorArray(GLOstream& os, const GLVectorArray& array) {
  if (!os.Write(array.GetCount()) || !os.Write(array.GetGrowStep())) return false;
  for (const GLVector& v : array)
    if (!v.Write(os)) return false;
  return true;
}

bool GLReadVectorArray(GLIstream& is, GLVectorArray& array) {
  uint32_t count = 0, growStep = 0;
  if (!is.Read(count) || !is.Read(growStep) || !is.CanRead(uint64_t{count} * sizeof(GLVector))) return false;
  GLVectorArray read(count, growStep);
  if (!read.SetSize(count)) return false;
  for (GLVector& v : read)
    if (!v.Read(is)) return false;
  array.SetCapacity(0);
  array.SetGrowStep(growStep);
  array = read;
  return true;
}

void GLSetVectorArray(GLVectorArray& array, const GLVector* vectors, uint32_t n) {
  array.SetCapacity(0);
  array.SetGrowStep(10);
  if (!vectors || !array.SetCapacity(n) || !array.SetSize(n)) return;
  for (uint32_t i = 0; i < n; ++i) array[i] = vectors[i];
}

std::unique_ptr<GLVectorArray> GLNewVectorArray(const GLVector* vectors, uint32_t n) {
  if (!vectors) return nullptr;
  auto array = std::make_unique<GLVectorArray>();
  GLSetVectorArray(*array, vectors, n);
  return array;
}

uint32_t GLVectorListFlags(const GLVectorArray* const lists[3]) {
  return (lists[0] ? 1u : 0u) | (lists[1] ? 2u : 0u) | (lists[2] ? 4u : 0u);
}

bool GLWriteVectorLists(GLOstream& os, const GLVectorArray* const lists[3]) {
  for (int i = 0; i < 3; ++i)
    if (lists[i] && !GLWriteVectorArray(os, *lists[i])) return false;
  return true;
}

bool GLReadVectorLists(GLIstream& is, uint32_t flags, std::unique_ptr<GLVectorArray> lists[3]) {
  for (int i = 0; i < 3; ++i) {
    lists[i].reset();
    if (!(flags & (1u << i))) continue;
    lists[i] = std::make_unique<GLVectorArray>();
    if (!GLReadVectorArray(is, *lists[i])) return false;
  }
  return true;
}
