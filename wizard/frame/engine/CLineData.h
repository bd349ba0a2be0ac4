// One LINE of a product's geometry whose two ends are recomputed together:
// its start (10) and end (11) nodes in the chain being rewritten (not
// owned), and both ends as they stood before the rewrite.
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "common/GLVector.h"
#include "dataformat/resbuf.h"

class CLineData : public CSeznam {
 public:
  CLineData() = default;
  ~CLineData() override;

  uint8_t definitionLine = 0;  // a DEFPOINTS line in colour 7
  resbuf* start = nullptr;
  resbuf* end = nullptr;
  GLVector oldStart;
  GLVector oldEnd;
};
