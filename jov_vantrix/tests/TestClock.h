// The moment the tests' clocks give: 5 March 2013, 14:07:09 local time,
// whose stamps are "05.03.2013-14.07.09" (association) and
// "14.07.09-05.03.2013" (scheme).
#pragma once

#include <ctime>

inline std::time_t MarchFifthMoment() {
  std::tm moment{};
  moment.tm_year = 113;
  moment.tm_mon = 2;
  moment.tm_mday = 5;
  moment.tm_hour = 14;
  moment.tm_min = 7;
  moment.tm_sec = 9;
  moment.tm_isdst = -1;
  return std::mktime(&moment);
}
