// Thrown by value inside a product dialog's set-up and caught at its end,
// where its message is shown and the dialog ends with -1.
#pragma once

#include <cstdint>

struct CExceptionEx {
  uint32_t messageId;  // string of "Wizard.qmr"
  uint32_t boxFlags;   // MessageBox flags
  uint32_t reserved;   // always 0
};
