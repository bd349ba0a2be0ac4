#include "wizard/frame/engine/CValueParam.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "common/CLocaleNumber.h"
#include "wizard/frame/engine/ParamStatus.h"

CValueParam::~CValueParam() = default;

bool CValueParam::GetRange(const char* allowed, double& minimum, double& maximum) const {
  if (!allowed || !*allowed) {
    minimum = lowLimit;
    maximum = highLimit;
  } else {
    const std::string_view text = allowed;
    bool first = true;
    for (size_t start = 0; start < text.size();) {
      size_t end = std::min(text.find('|', start), text.size());
      const double value = AtofC(std::string(text.substr(start, end - start)).c_str());
      minimum = first ? value : std::min(minimum, value);
      maximum = first ? value : std::max(maximum, value);
      first = false;
      start = end + 1;
    }
  }
  if ((flags & ParamFlag::kCappedByThird) && maximum > thirdLimit) maximum = thirdLimit;
  return true;
}

bool CValueParam::IsValueValid(double value) const {
  if (status & ParamStatus::kAnyFree) return true;
  const double upper = flags & ParamFlag::kCappedByThird ? std::min(highLimit, thirdLimit) : highLimit;
  return lowLimit <= value && value <= upper;
}
