// Values as a user types them into a parameter's cell or the parameter
// dialog: read as numbers only when the whole text is one, and refused when
// they would split the texts they are stored in.
#pragma once

#include <string>
#include <string_view>

// The text is one decimal number in the C locale, a ',' read as '.':
// a sign, digits with at most one separator, an exponent, blanks around
// it. Hexadecimal, "inf" and "nan" are not numbers here, nor is a result
// beyond the doubles. False leaves value as it was.
bool ReadValueEntry(std::string_view text, double& value);

// A number text as ReadValueEntry takes it, kept as the engine reads
// numbers back: its ',' written as '.', blanks around it dropped.
std::string StoredValueEntry(std::string_view text);

// The text of a number ReadValueEntry took, as the evaluator must hold it
// to read exactly that number: a plain decimal text (a sign, digits, at
// most one '.') stays as it was given; any other notation (a ',', an
// exponent, blanks) becomes the shortest plain decimal text of value.
// Empty when that text is longer than the evaluator reads a number.
std::string PlainDecimalEntry(std::string_view text, double value);

// A slope a product's data may carry: none (null or empty), or one number
// as ReadValueEntry takes a parameter's, within IsUsableSlope, perhaps
// followed by its unit ('%' or the per-mille sign). It is kept as given.
bool IsUsableSlopeText(const char* slope);

// '|', ';', '=', CR or LF: separators of the parameter text, the
// definitions text and the last-values record.
bool BreaksStoredTexts(std::string_view text);

// The text a free or formula parameter may hold in the definitions text:
// no separator of the stored texts and balanced brackets (one open bracket
// would make every formula of the product fail).
bool TakesDefinitionText(std::string_view text);
