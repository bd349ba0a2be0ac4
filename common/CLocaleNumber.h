// Numbers as the C library reads and writes them in the C locale, whatever
// locale the host process set: the one place the system turns number texts
// into numbers and back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// strtod: leading blanks, a sign, digits with '.', an exponent, and the
// "inf", "nan" and hexadecimal forms; 0 when the text does not start with a
// number. end is set past what was read (text itself when nothing was,
// nullptr for a null text, which gives 0).
double StrtodC(const char* text, const char** end);

// atof: StrtodC without the end. isNumber, when given, says whether any
// number was read.
double AtofC(const char* text, bool* isNumber = nullptr);

// strtol in base 10 (leading blanks, a sign, digits), saturating at the
// ends of int; 0 without a number. end as for StrtodC.
int StrtoiC(const char* text, const char** end);

// atoi without overflow: StrtoiC without the end.
int AtoiC(const char* text);

// The whole text reads as one number, blanks of any kind after it allowed.
bool ReadsAsNumber(const char* text);

// atof of the number texts the expression evaluator holds: digits and '.'
// (reading stops at a second '.'), after an optional sign, or the "inf" and
// "nan" of FormatFixed; a text without digits gives 0. The result is the C
// library's to the last digit; std::from_chars gives it several times faster.
double ReadNumber(std::string_view text);

// "%.*f" of value into out; the length written (no terminator), or 0 when
// the text does not fit in size characters. The same text as the C library
// (exact decimal expansion, ties to even), by std::to_chars, which is
// several times faster and never consults the locale.
size_t FormatFixed(double value, int decimals, char* out, size_t size);
std::string FormatFixed(double value, int decimals);
