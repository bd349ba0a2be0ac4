// One label mask, or one part of a mask in the mask editor: a name and a
// definition, kept in the dialogs' own lists.
#pragma once

#include "common/CSeznam.h"
#include "platform/mfc/CString.h"

class CMaskData : public CSeznam {
 public:
  // Takes only texts that are given and not empty.
  explicit CMaskData(const char* name = nullptr, const char* definition = nullptr);
  ~CMaskData() override;

  // -1 when made; in the mask editor the row of the field list it came from
  // (0 the free-text entry, 1 the entry used any number of times).
  int index = -1;
  CString name;
  CString definition;
};
