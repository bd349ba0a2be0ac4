// Where label masks are kept and how their entries read. Both files lie in
// the profile's data folder and are read and written per key, never cached:
//
//   Dat\Jov_set.dat  [mask list section]    MASK0.. MASK99  "name;definition"
//                    [field entries section] MASK0.. MASK199 "name;token"
//                    [INFO]                  the field codes' installed keys
//   Dat\Jov.ini      [DESC] key of the kind  the active mask's definition
//
// A value splits at its first ';': the name never holds one, the definition
// may. Readers see 254 characters of a value.
#pragma once

#include <vector>

#include "platform/mfc/CString.h"

constexpr const char* kMaskSetFile = "Dat\\Jov_set.dat";
constexpr const char* kMaskIniFile = "Dat\\Jov.ini";
constexpr const char* kActiveMaskSection = "DESC";

constexpr int kMaxMasks = 100;
constexpr int kMaxFieldEntries = 200;
// What a reader sees of a stored value: its 255-character buffer less the NUL.
constexpr int kStoredValueLimit = 254;

// "MASK%d".
CString MaskKeyName(int number);

// Splits a stored value at its first ';'; false when it has none.
bool SplitMaskValue(const char* value, CString* name, CString* definition);

// Whether "name;definition" comes back whole from a reader.
bool MaskFitsStorage(const char* name, const char* definition);

struct StoredMask {
  CString name;
  CString definition;
  int key = -1;  // its MASK number
};

// The masks of a mask list section in key order, from MASK0 to the first
// missing or empty key (MASK99 at most); values without ';' are skipped.
// firstFreeKey, when given, receives the key where reading stopped (100
// when all are taken).
std::vector<StoredMask> ReadMaskList(const char* file, const char* section, int* firstFreeKey = nullptr);

// The definition a stored field entry token offers: "\" and tokens that
// begin with '&' or '#' as they stand, anything else as a '&' field.
CString FieldEntryDefinition(const char* token);

struct FieldEntry {
  CString name;
  CString definition;
};

// The field entries of a section, MASK0 to MASK199: missing and empty keys
// and values without ';' are skipped and reading goes on.
std::vector<FieldEntry> ReadFieldEntries(const char* file, const char* section);

// The first key from `from` on whose value is missing or empty: a key a
// new mask can take without overwriting one stored past a gap; 100 when
// all are taken.
int FirstEmptyMaskKey(const char* file, const char* section, int from);

// The active mask of a kind ("" when missing), and its write (false when
// the file could not be written).
CString ReadActiveMask(const char* iniFile, const char* key);
bool WriteActiveMask(const char* iniFile, const char* key, const char* definition);

// One mask under its key: "name;definition"; false when not written.
bool WriteMask(const char* file, const char* section, int key, const char* name, const char* definition);
