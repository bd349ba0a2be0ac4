// Array of untyped pointers that it does not own; the rules are those of
// CArray. Callers cast the elements back to what they stored.
#pragma once

#include "platform/mfc/CArray.h"

class CPtrArray : public CArray<void*, void*> {
  DECLARE_DYNAMIC(CPtrArray)
};
