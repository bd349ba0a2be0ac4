// The numbers of one association group before a numbering step, kept on the
// export dialog's undo stack: per pipe record its index, number and connect
// number, at the same position in the three arrays.
#pragma once

#include <cstdint>

#include "common/qmArray.h"

class CNumberingSnapshot {
 public:
  CNumberingSnapshot(int32_t group, int32_t numberOffset)
      : groupIndex(group), offset(numberOffset) {}

  int32_t groupIndex;  // group number - 1
  int32_t offset;      // what the step added to every number
  qmArray<int> indexes{0, 8};
  qmArray<int> numbers{0, 8};
  qmArray<int> connects{0, 8};
};
