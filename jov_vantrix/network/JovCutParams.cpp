#include "jov_vantrix/network/JovCutParams.h"

namespace {

CString FormatLocalTime(const std::tm& moment, const char* format) {
  char text[64];
  size_t n = std::strftime(text, sizeof text, format, &moment);
  return CString(text, static_cast<int>(n));
}

}  // namespace

JovCutParams::JovCutParams(JovClock clock) : m_clock(clock) {
  // One reading for both stamps, so they name the same second.
  const std::time_t now = clock ? clock() : std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  m_assocStamp = FormatLocalTime(local, "%d.%m.%Y-%H.%M.%S");
  m_schemeStamp = FormatLocalTime(local, "%H.%M.%S-%d.%m.%Y");
}
