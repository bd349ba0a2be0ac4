// The ranges a number or a name must keep before it reaches a drawing, a
// level or an exchange file, whoever read it: one rule per meaning, so that
// every reader of the drawing's extended data and of the settings files
// refuses the same values.
#pragma once

#include "dataformat/resbuf.h"
#include "platform/mfc/CString.h"

// The whole text (blanks around it allowed) is one finite number in the C
// locale; false for a null or empty text and for "nan", "inf" or a number
// beyond the doubles. false leaves value as it was.
bool ReadFiniteNumber(const char* text, double& value);
// The whole text (blanks around it allowed) reads as a number in the C
// locale that is not finite: "nan" or "inf" in any case and with a sign,
// or a number beyond the doubles ("1e309"). false for a finite number and
// for any text that is no number.
bool ReadsAsNonFiniteNumber(const char* text);
// The whole text (blanks around it allowed) is one whole number within the
// range of int: digits after an optional sign, as atoi reads them; false
// for a null or empty text, a fraction, an exponent, a hexadecimal form or
// trailing letters ("2x", "3.9", "0x5"). false leaves value as it was.
bool ReadWholeInt(const char* text, int& value);

// A length or a distance in metres: above 0 and up to 1000 m.
bool IsUsableLength(double metres);
// A level in metres: within 10 km of 0.
bool IsUsableLevel(double metres);
// A size on paper in millimetres (a text height, a bubble): above 0 and up
// to 1 m.
bool IsUsableSize(double millimetres);
// A text width factor: above 0 and up to 100.
bool IsUsableWidthFactor(double factor);
// A product's slope, in the unit its caller gives it (per cent or per
// mille): within 1000 either way.
bool IsUsableSlope(double slope);

// A layer name a drawing can hold, for every byte of code page 1250:
// not empty, no control character, none of < > / \ " : ; ? * | = , ' `
// and no byte the code page leaves undefined.
bool IsUsableLayerName(const char* name);

// A product's index id as the catalogue writes it: 12 letters or digits,
// the first a trade letter (T, Z, V or E), the 8th the include flag '-' or
// 'i' instead.
bool IsCatalogueTypeCode(const char* code);

// A text a single-line box may take: no control character (a pasted tab or
// line end would split the files and labels it goes into).
bool HoldsControlCharacter(const char* text);

// Where a refused value of a drawing is, for the user to find it: the
// entity's handle ("?" without one) and the key, as "3E (key _LENGTH_RISER)".
CString EntityKeyText(const resbuf* entity, const char* key);
