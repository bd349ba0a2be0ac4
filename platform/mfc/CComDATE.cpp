#include "platform/mfc/CComDATE.h"

#include <ctime>

CComDATE::CComDATE(int year, int month, int day, int hour, int minute, int second) {
  const auto inWord = [](int v) { return v >= 0 && v <= 0xFFFF; };
  m_valid = inWord(year) && inWord(month) && inWord(day) && inWord(hour) && inWord(minute) &&
            inWord(second);
  if (!m_valid) return;
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  st.wSecond = static_cast<WORD>(second);
  m_valid = SystemTimeToVariantTime(&st, &m_date) != FALSE;
  if (!m_valid) m_date = 0.0;
}

CComDATE CComDATE::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return CComDATE(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);
}

bool CComDATE::IsValid() const {
  SYSTEMTIME st;
  return m_valid && VariantTimeToSystemTime(m_date, &st);
}

int CComDATE::Field(WORD SYSTEMTIME::*field, int offset) const {
  SYSTEMTIME st;
  if (!m_valid || !VariantTimeToSystemTime(m_date, &st)) return -1;
  return st.*field + offset;
}

int CComDATE::GetYear() const { return Field(&SYSTEMTIME::wYear); }
int CComDATE::GetMonth() const { return Field(&SYSTEMTIME::wMonth); }
int CComDATE::GetDay() const { return Field(&SYSTEMTIME::wDay); }
int CComDATE::GetHour() const { return Field(&SYSTEMTIME::wHour); }
int CComDATE::GetMinute() const { return Field(&SYSTEMTIME::wMinute); }
int CComDATE::GetSecond() const { return Field(&SYSTEMTIME::wSecond); }
int CComDATE::GetDayOfWeek() const { return Field(&SYSTEMTIME::wDayOfWeek, 1); }
