// The description (label) lines of a drawing-object record.
#pragma once

#include "platform/mfc/CStringArray.h"

class COznArray : public CStringArray {
  DECLARE_DYNAMIC(COznArray)
};
