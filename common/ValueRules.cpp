#include "common/ValueRules.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "common/CLocaleNumber.h"
#include "dataformat/GroupCodeChain.h"

namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// Bytes code page 1250 gives no character.
bool IsUndefinedInCodePage(unsigned char c) { return c == 0x81 || c == 0x83 || c == 0x88 || c == 0x90 || c == 0x98; }

bool IsAsciiLetterOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// The whole text (blanks around it allowed) is one decimal number, finite
// or not: the C library also reads hexadecimal ("0x10"), which no drawing,
// file or user means.
bool ReadWholeNumber(const char* text, double& value) {
  if (!text) return false;
  const char* digits = text + std::strspn(text, " \t\n\r\v\f");
  digits += *digits == '+' || *digits == '-';
  if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) return false;
  const char* end = nullptr;
  const double read = StrtodC(text, &end);
  if (!end || end == text) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end) return false;
  value = read;
  return true;
}

}  // namespace

bool ReadFiniteNumber(const char* text, double& value) {
  double read = 0.0;
  if (!ReadWholeNumber(text, read) || !std::isfinite(read)) return false;
  value = read;
  return true;
}

bool ReadsAsNonFiniteNumber(const char* text) {
  double read = 0.0;
  return ReadWholeNumber(text, read) && !std::isfinite(read);
}

bool ReadWholeInt(const char* text, int& value) {
  if (!text) return false;
  while (*text == ' ' || *text == '\t') ++text;
  // from_chars takes a '-' but no '+'.
  const char* digits = text + (*text == '+');
  if (*digits == '-' && text != digits) return false;
  int read = 0;
  const auto [end, error] = std::from_chars(digits, digits + std::strlen(digits), read);
  if (error != std::errc()) return false;
  const char* rest = end;
  while (*rest == ' ' || *rest == '\t') ++rest;
  if (*rest) return false;
  value = read;
  return true;
}

bool IsUsableLength(double metres) { return std::isfinite(metres) && metres > 0.0 && metres <= 1000.0; }

bool IsUsableLevel(double metres) { return std::isfinite(metres) && std::fabs(metres) <= 10000.0; }

bool IsUsableSize(double millimetres) {
  return std::isfinite(millimetres) && millimetres > 0.0 && millimetres <= 1000.0;
}

bool IsUsableWidthFactor(double factor) { return std::isfinite(factor) && factor > 0.0 && factor <= 100.0; }

bool IsUsableSlope(double slope) { return std::isfinite(slope) && std::fabs(slope) <= 1000.0; }

bool IsUsableLayerName(const char* name) {
  if (!name || !*name) return false;
  for (const char* c = name; *c; ++c) {
    const unsigned char ch = static_cast<unsigned char>(*c);
    if (IsControl(ch) || IsUndefinedInCodePage(ch) || std::strchr("<>/\\\":;?*|=,'`", ch)) return false;
  }
  return true;
}

bool IsCatalogueTypeCode(const char* code) {
  if (!code || std::strlen(code) != 12 || !std::strchr("TZVE", code[0])) return false;
  for (int i = 1; i < 12; ++i)
    if (i == 7 ? code[i] != '-' && code[i] != 'i' : !IsAsciiLetterOrDigit(code[i])) return false;
  return true;
}

bool HoldsControlCharacter(const char* text) {
  for (const char* c = text; c && *c; ++c)
    if (IsControl(static_cast<unsigned char>(*c))) return true;
  return false;
}

CString EntityKeyText(const resbuf* entity, const char* key) {
  const char* handle = GetEntityString(entity, 5);
  CString where;
  where.Format("%s (key %s)", handle && *handle ? handle : "?", key);
  return where;
}
