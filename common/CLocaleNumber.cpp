#include "common/CLocaleNumber.h"

#include <charconv>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace {

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

}  // namespace

double StrtodC(const char* text, const char** end) {
  if (!text) {
    *end = nullptr;
    return 0.0;
  }
  char* stop = nullptr;
  const double value = strtod_l(text, &stop, CLocale());
  *end = stop;
  return value;
}

double AtofC(const char* text, bool* isNumber) {
  const char* end = nullptr;
  const double value = StrtodC(text, &end);
  if (isNumber) *isNumber = text && end != text;
  return text && end != text ? value : 0.0;
}

int StrtoiC(const char* text, const char** end) {
  if (!text) {
    *end = nullptr;
    return 0;
  }
  char* stop = nullptr;
  const long long value = strtoll_l(text, &stop, 10, CLocale());
  *end = stop;
  return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

int AtoiC(const char* text) {
  const char* end = nullptr;
  return StrtoiC(text, &end);
}

bool ReadsAsNumber(const char* text) {
  const char* end = nullptr;
  StrtodC(text, &end);
  if (!text || end == text) return false;
  while (*end == ' ' || *end == '\t' || *end == '\n' || *end == '\r' || *end == '\v' || *end == '\f') ++end;
  return *end == '\0';
}

double ReadNumber(std::string_view text) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (last - first > 1 && *first == '+' && first[1] != '-') ++first;
  double value = 0.0;
  const auto r = std::from_chars(first, last, value);
  if (r.ec == std::errc::result_out_of_range) {
    // Beyond the double range (only long digit runs get there): the C
    // library's answer, infinity or the nearest denormal.
    const std::string copy(first, last);
    const char* end = nullptr;
    return StrtodC(copy.c_str(), &end);
  }
  return r.ec == std::errc() ? value : 0.0;
}

size_t FormatFixed(double value, int decimals, char* out, size_t size) {
  const auto r = std::to_chars(out, out + size, value, std::chars_format::fixed, decimals);
  return r.ec == std::errc() ? static_cast<size_t>(r.ptr - out) : 0;
}

std::string FormatFixed(double value, int decimals) {
  // Room for the largest double (309 digits), its sign and the decimals.
  char buffer[320 + 64];
  if (decimals > 64) decimals = 64;
  return std::string(buffer, FormatFixed(value, decimals, buffer, sizeof buffer));
}
