// One parameter type the catalogue offers: value limits, id, second id and
// status (bits as a parameter's).
#pragma once

#include <cstdint>

#include "common/CSeznam.h"

namespace jovDatabase {
struct TParTypeStruct;
}

class CTypeParam : public CSeznam {
 public:
  explicit CTypeParam(const jovDatabase::TParTypeStruct& record);
  ~CTypeParam() override;

  // Any value for a free type (status bit 2 or 3), else lowLimit..highLimit.
  bool IsValueValid(double value) const;

  double lowLimit = 0;
  double highLimit = 0;
  void* first = nullptr;  // two pointers the dialogs may use; never owned
  void* second = nullptr;
  uint32_t typeId = 0;
  uint32_t secondId = 0;
  uint32_t status = 0;
};
