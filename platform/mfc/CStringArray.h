// Array of texts; the rules are those of CArray.
#pragma once

#include "platform/mfc/CArray.h"
#include "platform/mfc/CString.h"

class CStringArray : public CArray<CString, const CString&> {
  DECLARE_DYNAMIC(CStringArray)
};
