// A list of sections of the exchange with the calculation programs: the
// section records of an export, or the branches of an imported file.
#pragma once

#include "common/CSeznam.h"

class CSecSezNew : public CSeznam {
 public:
  CSecSezNew() = default;
  ~CSecSezNew() override = default;
};
