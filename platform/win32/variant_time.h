// Automation dates: a double counting days from 30 December 1899, the time
// of day as the fraction. For dates before that day the whole number counts
// backwards while the fraction still runs forwards (-1.25 is 29 December
// 1899, 06:00).
#pragma once

#include "platform/win32/win32_types.h"

using DATE = double;

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;  // 0 Sunday
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};

// The dates an automation date may hold: 1 January 100 to 31 December 9999.
constexpr DATE kMinVariantDate = -657434.0;
constexpr DATE kMaxVariantDate = 2958465.0;

// Date -> calendar fields, rounded to the nearest second (milliseconds are
// 0). FALSE for a date outside the range above or not a number.
int VariantTimeToSystemTime(DATE date, SYSTEMTIME* out);

// Calendar fields -> date; wDayOfWeek and wMilliseconds are not read. FALSE
// for a year outside 100..9999 or any field outside its calendar range.
int SystemTimeToVariantTime(const SYSTEMTIME* in, DATE* out);
