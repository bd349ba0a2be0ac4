// What the engine reads of the product library's shared state, which the
// library's exports and dialogs set: the current catalogue, the user's
// profile folder, the extension of the last-values files, the three texts
// a caller hands in for the next product and the length display mode of
// the product dialog. One set per process; the library is not re-entrant.
#pragma once

#include <string>

namespace jovDatabase {
class Database;
}

// The catalogue every engine call reads and writes; null when none is set.
jovDatabase::Database* CurrentCatalogue();
void SetCurrentCatalogue(jovDatabase::Database* catalogue);

// The profile folder (a separator is added when missing) and a path below
// it, as relative is given ("Dat\\Jov.ini").
void SetProfileFolder(const char* folder);
std::string MakeProfilePath(const char* relative);

// ".dat" until set; null restores it.
void SetLastValuesExtension(const char* extension);
const std::string& LastValuesExtension();

// The names, values and flags texts of the caller; a null one leaves its
// slot empty. False from the getter when any slot is empty.
void SetCallerTexts(const char* names, const char* values, const char* flags);
bool GetCallerTexts(std::string& names, std::string& values, std::string& flags);

// 1 metres, 1000 millimetres, anything else plain; 1000 until set.
void SetLengthDisplayMode(unsigned mode);
unsigned LengthDisplayMode();
