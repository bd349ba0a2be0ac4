#include "platform/win32/variant_time.h"

#include <cmath>
#include <cstdint>

namespace {

// Days between 1 March of year 0 (proleptic Gregorian) and the given date;
// the usual era-based computation, valid for every year used here.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
}

// Day 0 of the automation calendar, counted like DaysFromCivil.
const int64_t kEpoch = DaysFromCivil(1899, 12, 30);

bool IsLeap(unsigned y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(unsigned y, unsigned m) {
  static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

}  // namespace

int VariantTimeToSystemTime(DATE date, SYSTEMTIME* out) {
  if (!out || !std::isfinite(date)) return FALSE;
  if (date <= kMinVariantDate - 1.0 || date >= kMaxVariantDate + 1.0) return FALSE;
  const double whole = std::trunc(date);
  int64_t day = static_cast<int64_t>(whole);
  int64_t seconds = std::llround(std::fabs(date - whole) * 86400.0);
  if (seconds >= 86400) {  // rounds up to the next midnight
    seconds -= 86400;
    ++day;
  }
  int64_t y;
  unsigned m, d;
  CivilFromDays(kEpoch + day, y, m, d);
  if (y > 9999) return FALSE;
  out->wYear = static_cast<WORD>(y);
  out->wMonth = static_cast<WORD>(m);
  out->wDay = static_cast<WORD>(d);
  // 30 December 1899 was a Saturday.
  out->wDayOfWeek = static_cast<WORD>(((day + 6) % 7 + 7) % 7);
  out->wHour = static_cast<WORD>(seconds / 3600);
  out->wMinute = static_cast<WORD>(seconds / 60 % 60);
  out->wSecond = static_cast<WORD>(seconds % 60);
  out->wMilliseconds = 0;
  return TRUE;
}

int SystemTimeToVariantTime(const SYSTEMTIME* in, DATE* out) {
  if (!in || !out) return FALSE;
  if (in->wYear < 100 || in->wYear > 9999 || in->wMonth < 1 || in->wMonth > 12) return FALSE;
  if (in->wDay < 1 || in->wDay > DaysInMonth(in->wYear, in->wMonth)) return FALSE;
  if (in->wHour > 23 || in->wMinute > 59 || in->wSecond > 59) return FALSE;
  const int64_t day = DaysFromCivil(in->wYear, in->wMonth, in->wDay) - kEpoch;
  const double fraction = (in->wHour * 3600.0 + in->wMinute * 60.0 + in->wSecond) / 86400.0;
  *out = static_cast<double>(day) + (day < 0 ? -fraction : fraction);
  return TRUE;
}
