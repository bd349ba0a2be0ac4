// Texts around the evaluator: "#name;" substitution from a definitions
// text, the definition look-up behind it, and the '/'-separated name and
// value lists of points texts and measurement lists. Texts are taken whole,
// however long.
#pragma once

#include <string>
#include <vector>

// Does not evaluate: every "#" name ";" of text becomes the name's value in
// the definitions (LookupDefinitionValue, then RoundPlainNumber), the ';'s
// after a name are dropped, and "'/'" becomes "/". Always 0.
int EvaluateWithDefinitions(const std::string& definitions, const std::string& text, std::string& output);

// The definitions read as alternating name and value tokens, a token being
// a run of characters other than ';' and '=': the value of the first pair
// whose name is name, empty when there is none. An empty value shifts the
// pairing of what follows it (the engine writes "0" for an empty value).
// Returns output.
std::string& LookupDefinitionValue(const std::string& definitions, const std::string& name,
                                   std::string& output);

// A text of only digits and '.' (an empty one too) becomes "%.0f" of its
// number, so "12.6" gives "13", "2.5" gives "2" and "" gives "0"; any other
// text stays as it is.
void RoundPlainNumber(std::string& buffer);

// Appends the names of a text such as "#L/#DN": each '#' starts a name that
// runs to the next '/' or the end; characters outside names are passed
// over. True when names holds at least one element afterwards.
bool SplitParamNames(const std::string& text, std::vector<std::string>& names);

// Appends the values of a '/'-separated text; "'/'" does not split and stays
// in the value as it is. A '/' that ends the text adds no empty value after
// it, an empty text gives one empty value. True when values holds at least
// one element afterwards.
bool SplitParamValues(const std::string& text, std::vector<std::string>& values);
