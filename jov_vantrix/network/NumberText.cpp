#include "jov_vantrix/network/NumberText.h"

#include <clocale>
#include <climits>
#include <cstdlib>

namespace {

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

}  // namespace

int ParseDecimal(const char* text) {
  if (!text) return 0;
  const long long value = strtoll_l(text, nullptr, 10, CLocale());
  return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

double ParseReal(const char* text) { return text ? strtod_l(text, nullptr, CLocale()) : 0.0; }
