// Shared pieces of the storage tests: direct access to a database file for
// setting up and checking its rows (the scratch folder and the fixed clock come
// from the shared test support).
#pragma once

#include "storage/db.hpp"
#include "storage/game_db.hpp"
#include "storage/schema.hpp"
#include "tests/support/scratch.hpp"

#include <filesystem>
#include <string>

namespace corvane::testing {

// The tests' own derived keys, so that looking into a file does not pay for the
// key derivation each time (it is slow under the sanitizers).
inline KeyCache& TestKeys() {
    static KeyCache keys;
    return keys;
}

// Opens a database file for arranging and checking rows.
inline db::Database OpenDirect(const std::string& sFile) {
    return db::Database::Open(sFile, TestKeys());
}

// Puts a fresh database at sFile: a copy of one made once per test program.
inline void FreshDatabase(const std::string& sFile) {
    static const TempDir dir;
    static const std::filesystem::path templateFile = [] {
        const auto path = dir.Path() / "template.mdb";
        CreateFreshDatabase(path.string());
        return path;
    }();
    std::filesystem::copy_file(templateFile, sFile);
}

inline std::int64_t QueryInt(const std::string& sFile, const char* sSql) {
    db::Database db = OpenDirect(sFile);
    db::Statement query(db, sSql);
    return query.Step() ? query.Int(0) : -1;
}

inline void ExecDirect(const std::string& sFile, const char* sSql) {
    db::Database db = OpenDirect(sFile);
    db.Exec(sSql);
}

} // namespace corvane::testing
