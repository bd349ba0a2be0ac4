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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Most number texts a drawing holds are plain decimals ("2.000", "-15"): an
// optional '-', digits, and a '.' with digits. The length of such a start
// of text, shorter than kPlainLongest and followed by nothing strtod would
// read on (an exponent, a hexadecimal 'x', a second point); 0 otherwise.
// Read by std::from_chars, it gives strtod's value (both round correctly)
// and stops where strtod does, several times faster; so short, it can
// neither overflow nor underflow.
constexpr size_t kPlainLongest = 40;
size_t PlainDecimalLength(const char* text) {
  const char* p = text + (*text == '-');
  const char* digits = p;
  while (IsDigit(*p)) ++p;
  if (p == digits) return 0;
  if (*p == '.') {
    const char* fraction = ++p;
    while (IsDigit(*p)) ++p;
    if (p == fraction) return 0;
  }
  if (*p == 'e' || *p == 'E' || *p == 'x' || *p == 'X' || *p == '.') return 0;
  const auto length = static_cast<size_t>(p - text);
  return length < kPlainLongest ? length : 0;
}

}  // namespace

double StrtodC(const char* text, const char** end) {
  if (!text) {
    *end = nullptr;
    return 0.0;
  }
  if (const size_t length = PlainDecimalLength(text)) {
    double value = 0.0;
    const auto read = std::from_chars(text, text + length, value);
    if (read.ec == std::errc() && read.ptr == text + length) {
      *end = read.ptr;
      return value;
    }
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
  // An optional '-' and at most nine digits, as most are, fit an int
  // whatever follows: counted here, not by strtoll's locale machinery.
  const char* p = text + (*text == '-');
  int plain = 0;
  int digits = 0;
  for (; digits < 9 && IsDigit(p[digits]); ++digits) plain = plain * 10 + (p[digits] - '0');
  if (digits > 0 && !IsDigit(p[digits])) {
    *end = p + digits;
    return *text == '-' ? -plain : plain;
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
