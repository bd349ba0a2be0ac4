#include "wizard/frame/CurrentCatalogue.h"

namespace {
jovDatabase::Database* g_current = nullptr;
}

jovDatabase::Database* GetCurrentDatabase() { return g_current; }

void SetCurrentDatabase(jovDatabase::Database* db) { g_current = db; }
