// A date and time as an automation date (days since 30 December 1899, time
// of day as the fraction), the form in which the catalogue hands out product
// dates.
#pragma once

#include "platform/win32/variant_time.h"

class CComDATE {
 public:
  CComDATE() = default;  // 30 December 1899, 00:00
  CComDATE(DATE date) : m_date(date) {}
  // Invalid (IsValid false, value 0) when a field is outside its calendar
  // range or the year outside 100..9999.
  CComDATE(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

  // The current local time, to the second.
  static CComDATE Now();

  operator DATE() const { return m_date; }
  DATE GetDate() const { return m_date; }
  // Within the range VariantTimeToSystemTime accepts, and built from valid
  // fields.
  bool IsValid() const;

  // Calendar fields (rounded to the second); -1 when the date is not valid.
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 Sunday .. 7 Saturday

 private:
  int Field(WORD SYSTEMTIME::*field, int offset = 0) const;

  DATE m_date = 0.0;
  bool m_valid = true;
};
