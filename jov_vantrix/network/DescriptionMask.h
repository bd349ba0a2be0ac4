// Description masks: one-line templates that expand into a product's label
// lines.
//
//   "\"                 ends the current line
//   "&" + letters       the value of the property with that key (the
//                       longest run of ASCII letters is the key)
//   "#R" + digits       field N of the first "_VANTRIX" record, when set
//   "#P" "#G" "#T" "#M" "_QPROD", "_GROUP", "_QTYPE", "_MEASUREMENT"
//   "#" + other         the "#" is dropped and the other read as usual
//   anything else       copied
//
// Lines that end empty are left out. The value of "PR" loses a fraction of
// only zeros ("25.00" and "25." give "25").
#pragma once

#include <string>

#include "platform/mfc/CStringArray.h"

class CJovData;
class CObjDataNew;
class JovCutParams;

// Appends the record's lines: with the catalogue-product mask when it has a
// "_QPROD" property, else with the scheme mask when it has a "_VANTRIX"
// record, else with the mask without product.
void ExpandDescriptionMask(const CObjDataNew& record, const JovCutParams& params, CStringArray& lines);

// The mask a product's data is described with: the catalogue-product mask
// when it has a "_QPROD" property, else the scheme mask when it has a
// "_VANTRIX" record, else the mask without product.
const char* ChooseDescriptionMask(const CJovData& data, const char* withoutProduct,
                                  const char* withProduct, const char* scheme);

// Appends the lines of one mask expanded over the data.
void ExpandMaskLines(const CJovData& data, const char* mask, CStringArray& lines);

// For the key "PR" only: a value whose fraction is all zeros (or empty)
// loses it, "3.000" and "3." become "3"; "3.010" stays.
void TrimZeroDecimals(const char* key, std::string& value);
