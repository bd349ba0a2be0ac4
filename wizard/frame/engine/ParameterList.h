// A parametric product's parameters: the catalogue's parameter text read
// into CValueParam records and written back, the definitions text the
// evaluator resolves names against, recalculation of computed values, and
// values assigned and joined by name. The catalogue is the current one
// (EngineState), positioned on the product by the caller.
//
// Parameter text: one line per parameter (CR LF, LF or CR ends), five
// fields each ended by '|' (name, label, type id, default or formula,
// value), then the '|'-separated allowed values.
#pragma once

#include <string>
#include <vector>

class CListCtrl;
class CValueParam;
class CSeznam;

// Appends one parameter per non-empty line, each completed from its
// catalogue type (title, status, limits). A line ending early gives empty
// fields. True with nothing added when the catalogue has no text for it;
// false when a type cannot be positioned or its title or status read (the
// parameters read so far stay).
bool LoadProductParameters(CSeznam& params);

// Writes the list as parameter text (every line with five '|' before its
// allowed values); false without a catalogue or when it refuses the text.
bool StoreProductParameters(const CSeznam& params);

// "name=value;" per parameter in list order. The value is the current one
// (or the default when empty); with defaultsFirst the default (falling
// back to the value); an empty value is written "0". A computed parameter
// (status bit 0 or 1, not 5 or 6) gets its formula's "%.2f" result, each
// formula evaluated against the plain texts; an undefined name gives that
// name, any other error "0".
void BuildDefinitions(const CSeznam& params, std::string& definitions, bool defaultsFirst);

// Whether a value may become param's, wherever it comes from: a free or
// formula value the definitions text can hold (TakesDefinitionText), the
// value of a formula of its own one the evaluator computes over the list's
// definitions (a name it does not know yet passes). Other parameters take any text here.
bool TakesParamText(const CSeznam& params, const CValueParam& param, const std::string& text);

// Each parameter with status bit 4 and not kNotRecalculated, in list
// order, takes the "%.2f" result of its formula (slot 1) unless the formula
// is a plain number; on an error it stays. The value cell (column 1) of its
// row in view shows the result (metres: value / 1000, four decimals). With
// withBendRadius, "A" of a product whose index id begins with "VPH" first
// sets the bend radius from its value.
void RecalculateParameters(CSeznam& params, CListCtrl* view, unsigned lengthMode, bool withBendRadius);

// names[i] takes values[i]: range-tested parameters only a text that is
// one finite number within their limits (ReadValueEntry), stored as a
// plain decimal text of it (PlainDecimalEntry); free ones (status bit 2 or
// 3) as given, formula values (bit 5 or 6) never. Any other value, or one
// holding '|', ';', '=', CR or LF (which would break the stored texts), is
// not assigned and makes the answer false.
bool AssignValuesByName(CSeznam& params, const std::vector<std::string>& names,
                        const std::vector<std::string>& values);

// The values (or defaults when no value is set) of the "#"-marked names of
// names ("#L/#DN"), joined by '/'; unknown names and parameters without
// either text are left out.
std::string JoinParamValues(const CSeznam& params, const std::string& names);
