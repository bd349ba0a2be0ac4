#include "common/CLocaleNumber.h"

#include <clocale>
#include <cstdlib>

double AtofC(const char* text, bool* isNumber) {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  char* end = nullptr;
  const double value = text ? strtod_l(text, &end, c) : 0.0;
  if (isNumber) *isNumber = text && end != text;
  return text && end != text ? value : 0.0;
}
