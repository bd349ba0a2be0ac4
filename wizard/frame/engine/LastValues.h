// The values a user last gave a product's parameters, kept per product in
// the profile's "Dat\PP_Last" files (the first letter of the index id and
// the extension set for them): one record under the index id holding
// name "|" value "|" for every user parameter in list order.
#pragma once

#include <string>

class CSeznam;

// Takes the stored values into the user parameters in list order (a short
// record leaves the rest; a value that would not pass as a typed one leaves
// its parameter as it was), then the caller's texts, which are applied in
// every case. True for an empty list and when nothing is stored; false
// when the index id or the file cannot be had, or a stored name differs
// from its parameter's (the values before it stay). callerRefused, when
// given, says whether ApplyCallerData refused a value.
bool LoadLastValues(CSeznam& params, bool* callerRefused = nullptr);
// False, told once per command, when the file cannot be written; a
// product without an index id keeps nothing and is true.
bool StoreLastValues(const CSeznam& params);
// The values as the user left them, taken before the product is built
// (which formats them), to be stored once OK is sure.
std::string LastValuesRecord(const CSeznam& params);
bool StoreLastValuesRecord(const std::string& record);

// The caller's names, values and flags texts: each named parameter takes
// the flags and, as third limit, the value; with flags bit 0 or 2 the
// value also becomes its value. Nothing when a text is missing. A value
// holding a separator of the stored texts, one a free or formula parameter
// may not take (TakesParamText), or for a ranged parameter one that is not
// a finite number, is passed over whole and makes the result false; a
// ranged value outside the limits is not taken as the value.
bool ApplyCallerData(CSeznam& params);
