// The tables of a new game database.
#pragma once

#include <string>

namespace corvane {

// Makes a fresh database file: the four tables, one system row with nextuserid 1,
// an empty top ten. The file appears complete or not at all; an existing file is
// never touched. Throws db::DbError.
void CreateFreshDatabase(const std::string& sFile);

} // namespace corvane
