// The catalogue file: one SQLite database per trade letter. The tables hold
// everything the catalogue interface answers; texts are stored in UTF-8 and
// handed out in code page 1250.
#pragma once

struct sqlite3;

namespace jovDatabase {

// Bumped whenever a table changes; a file of another format is refused.
constexpr int kCatalogueFormat = 1;

// Creates the tables in an empty database. False (error filled when given)
// when SQLite refuses.
bool CreateCatalogueSchema(sqlite3* db, const char** error = nullptr);

}  // namespace jovDatabase
