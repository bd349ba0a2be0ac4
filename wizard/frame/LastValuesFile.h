// Where the last values of a product's parameters are kept: the profile's
// "Dat\PP_Last" + the first character of the product's index id + the
// extension (".dat" unless the host asked for another).
#pragma once

#include <string>

// A null extension restores ".dat".
void SetLastValuesExtension(const char* extension);
const std::string& GetLastValuesExtension();

// The file of the product with that index id; empty for an empty id.
std::string LastValuesPath(const char* indexId);
