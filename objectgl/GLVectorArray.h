// The growable array of points, and its stream form: count (u32), grow
// step (u32), then the vectors as three raw doubles each.
#pragma once

#include <memory>

#include "common/GLVector.h"
#include "objectgl/GLArray.h"

class GLOstream;
class GLIstream;

using GLVectorArray = GLArray<GLVector>;

bool GLWriteVectorArray(GLOstream& os, const GLVectorArray& array);
// The array is replaced only when the whole list was read; a count that the
// stream cannot hold fails before anything is allocated.
bool GLReadVectorArray(GLIstream& is, GLVectorArray& array);
// An array of exactly the n given vectors (grow step 10).
void GLSetVectorArray(GLVectorArray& array, const GLVector* vectors, uint32_t n);
// A new array of exactly the n vectors; null for null vectors.
std::unique_ptr<GLVectorArray> GLNewVectorArray(const GLVector* vectors, uint32_t n);

// Up to three optional lists streamed one after the other, each present when
// its flag bit (1, 2, 4 in turn) is set.
uint32_t GLVectorListFlags(const GLVectorArray* const lists[3]);
bool GLWriteVectorLists(GLOstream& os, const GLVectorArray* const lists[3]);
bool GLReadVectorLists(GLIstream& is, uint32_t flags, std::unique_ptr<GLVectorArray> lists[3]);
