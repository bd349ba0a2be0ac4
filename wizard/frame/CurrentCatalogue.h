// The catalogue every catalogue call of the wizard goes to: the one handed
// in by the last export that takes a database, kept after the call.
#pragma once

namespace jovDatabase {
class Database;
}

jovDatabase::Database* GetCurrentDatabase();
void SetCurrentDatabase(jovDatabase::Database* db);
