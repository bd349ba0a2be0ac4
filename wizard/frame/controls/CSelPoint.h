// A point the user can pick in the product preview: the end point of a
// definition line, its number and the marker that shows it.
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "common/GLVector.h"

class CSelPoint : public CSeznam {
 public:
  CSelPoint() = default;
  ~CSelPoint() override = default;

  double value = 0;
  uint32_t number = 0;
  GLVector point;
  void* marker = nullptr;  // the preview's selectable marker of the point
  void* reserved = nullptr;
};
