#include "wizard/frame/engine/CTypeParam.h"

#include "platform/catalogue/Database.h"
#include "wizard/frame/engine/ParamStatus.h"

CTypeParam::CTypeParam(const jovDatabase::TParTypeStruct& record)
    : lowLimit(record.lo),
      highLimit(record.hi),
      typeId(record.id),
      secondId(record.secondId),
      status(record.status) {}

CTypeParam::~CTypeParam() = default;

bool CTypeParam::IsValueValid(double value) const {
  if (status & (ParamStatus::kAnyFree)) return true;
  return lowLimit <= value && value <= highLimit;
}
