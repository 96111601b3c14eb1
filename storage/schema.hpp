// The tables of a new game database.
#pragma once

#include <string>

namespace corvane {

namespace db {
class Database;
}

// Makes a fresh database file: the four tables, the game history, one system row
// with nextuserid 1, an empty top ten. The file appears complete or not at all;
// an existing file is never touched. Throws db::DbError.
void CreateFreshDatabase(const std::string& sFile);

// Adds the game history to a database made without it; does nothing when it is
// there. Run inside the caller's write transaction.
void EnsureHistoryTable(db::Database& db);

} // namespace corvane
