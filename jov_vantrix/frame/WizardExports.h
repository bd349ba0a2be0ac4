// The two entry points of the product library "Wizard.dll" that the plug-in
// fetches by name.
#pragma once

#include <cstdint>

#include "dataformat/resbuf.h"

namespace jovDatabase {
class Database;
}

// Product geometry of one catalogue view and its extended data; 1 when both
// chains were built, 2 on any failure. The chains stay the library's until
// the next call or PPFree.
using PPGetResbufExFn = int (*)(jovDatabase::Database* db, uint32_t view, resbuf** geometry,
                                resbuf** data, const uint8_t* flags, uint32_t flagCount,
                                const char* names, const char* values, const char* qprod,
                                const char* slope, const char* branch);
using PPFreeFn = void (*)();
