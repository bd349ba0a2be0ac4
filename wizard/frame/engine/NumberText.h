// Numbers as the evaluator and its text helpers write and read them:
// "%.*f" and atof in the C locale, whatever locale the process runs in.
// The results are those of the C library to the last digit (exact decimal
// expansion, ties to even); std::to_chars and std::from_chars give them
// several times faster and never consult the locale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// "%.*f" of value into out; the length written (no terminator), or 0 when
// the text does not fit in size characters.
size_t FormatFixed(double value, int decimals, char* out, size_t size);
std::string FormatFixed(double value, int decimals);

// atof of the number texts the evaluator holds: digits and '.' (reading
// stops at a second '.'), after an optional sign, or the "inf" and "nan" of
// FormatFixed; a text without digits gives 0.
double ReadNumber(std::string_view text);

// atof and strtod of outside texts (catalogue fields, settings, typed
// values) in the C locale: leading blanks, a sign, digits with '.', an
// exponent; 0 without a number. end, when given, is set past what was read.
double ParseDouble(const char* text, const char** end = nullptr);

// The whole text reads as one number, blanks after it allowed.
bool ReadsAsNumber(const char* text);
