// What the export dialog hands the section-list builder.
#pragma once

#include <cstdint>

#include "platform/mfc/CString.h"

struct ExportParams {
  int32_t units = 1;  // drawing units per metre
  double scale = 0.0;
  uint32_t segmentDescriptions = 0;  // label the supply pipes with their numbers
  CString firstSegmentNumber{"1"};
  double descriptionHeight = 0.0;
  double descriptionScaleFactor = 1.0;
  CString descriptionLayer;
};
