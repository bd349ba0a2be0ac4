#include "jov_vantrix/network/JovCutParams.h"

CString FormatLocalTime(std::time_t moment, const char* format) {
  std::tm local{};
  localtime_r(&moment, &local);
  char text[64];
  const size_t n = std::strftime(text, sizeof text, format, &local);
  return CString(text, static_cast<int>(n));
}

JovCutParams::JovCutParams(JovClock clock) : m_clock(clock) {
  // One reading for both stamps, so they name the same second.
  const std::time_t now = ReadClock(clock);
  m_assocStamp = FormatLocalTime(now, "%d.%m.%Y-%H.%M.%S");
  m_schemeStamp = FormatLocalTime(now, "%H.%M.%S-%d.%m.%Y");
}
