// The hourglass for the life of the object (nested ones share it).
#pragma once

#include "platform/win32/win32_types.h"

class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  // Shows it again after something changed the cursor.
  void Restore();
};
