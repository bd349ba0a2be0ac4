// What the definition editor takes of a committed row of its formula list
// (rows 0, 1, 2 the selected point's x, y and z formulas; the rows after
// them the values of computed parameters) and the value it shows for it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CSeznam;

// The formula list's rows before the parameters'.
constexpr int kFormulaRows = 3;

// A formula may hold no '|', CR or LF (they end its field in the view's
// formulas text); a value none of '|', ';', '=', CR and LF (they split the
// parameter text and the definitions).
bool DefinitionTextAllowed(int row, std::string_view text);

// The text evaluated against the parameters' definitions (defaults first):
// a formula, or the value of a parameter whose status has bit 6, with its
// "#name;" references put in first; any other value as it stands. The
// evaluator's code (0 success) with the value.
int EvaluateDefinitionText(const CSeznam& params, bool formula, uint32_t status, const std::string& text,
                           double& value);
