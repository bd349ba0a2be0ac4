// An axis-aligned box. Empty: max at the most negative double and min at the
// most positive on every axis, so that any point added replaces both.
#pragma once

#include "common/GLMatrix.h"
#include "common/GLVector.h"

class GLExtents {
 public:
  GLExtents() { Reset(); }
  GLExtents(const GLVector& max, const GLVector& min) : max_(max), min_(min) {}
  GLExtents(const GLExtents&) = default;
  GLExtents& operator=(const GLExtents&) = default;
  virtual ~GLExtents() = default;

  void Reset();
  void AddPoint(const GLVector& p);
  void AddExtents(const GLExtents& other);
  // False when min exceeds max on any axis (so for an empty box).
  bool IsValid() const;
  GLVector& GetMax(GLVector& out) const { return out = max_; }
  GLVector& GetMin(GLVector& out) const { return out = min_; }
  const GLVector& Max() const { return max_; }
  const GLVector& Min() const { return min_; }
  // Becomes the box of all eight transformed corners; an empty box stays
  // empty.
  void Transform(const GLMatrix& m);
  bool operator==(const GLExtents& other) const;

 private:
  GLVector max_;
  GLVector min_;
};
