// The sample heating catalogue, built once into the scratch folder and made
// the parameter engine's current catalogue, with the scratch folder as the
// profile folder. Targets write into it inside an Edit bracket that the
// next input's bracket rolls back, so nothing is ever synced to disk and
// every input starts from the catalogue as built.
#pragma once

#include "platform/catalogue/Database.h"

namespace fuzz {

jovDatabase::Database& EngineCatalogue();

// Positions the catalogue on the product and opens a fresh bracket.
void UseProduct(const char* indexId);

}  // namespace fuzz
