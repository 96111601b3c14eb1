// The schema of corvane.mdb. Dates are ISO-8601 text in UTC, so that ORDER BY
// date is chronological and the sqlcipher tool shows them readably.
#include "schema.hpp"

#include "db.hpp"
#include "platform/file_system.hpp"

#include <filesystem>
#include <system_error>

namespace corvane {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE user (
    userid INTEGER PRIMARY KEY NOT NULL,
    name TEXT NOT NULL DEFAULT '',
    player1 TEXT NOT NULL DEFAULT '',
    player2 TEXT NOT NULL DEFAULT '',
    player3 TEXT NOT NULL DEFAULT '',
    skilllevel TEXT NOT NULL DEFAULT 'Easy',
    numgames INTEGER NOT NULL DEFAULT 0,
    winnings INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE topten (
    name TEXT NOT NULL DEFAULT '',
    score INTEGER NOT NULL DEFAULT 0,
    date TEXT NOT NULL DEFAULT ''
);
CREATE TABLE player (
    name TEXT NOT NULL DEFAULT '',
    funds INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE system (
    nextuserid INTEGER NOT NULL
);
INSERT INTO system (nextuserid) VALUES (1);
)sql";

// One row per finished game, beside the four tables that every copy of the
// program knows, so that older copies sharing the file never notice it. The
// level is the one shown ("Level 1" is 1); gameid runs in the order the games
// were saved, and the index serves a user's newest games in one read.
constexpr const char* kHistorySchema = R"sql(
CREATE TABLE IF NOT EXISTS history (
    gameid INTEGER PRIMARY KEY,
    userid INTEGER NOT NULL,
    date TEXT NOT NULL DEFAULT '',
    level INTEGER NOT NULL DEFAULT 1,
    skilllevel TEXT NOT NULL DEFAULT 'Easy',
    funds INTEGER NOT NULL DEFAULT 0,
    won INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS history_userid ON history (userid);
)sql";

} // namespace

void EnsureHistoryTable(db::Database& db) {
    db.Exec(kHistorySchema);
}

void CreateFreshDatabase(const std::string& sFile) {
    namespace fs = std::filesystem;
    const fs::path target = PathFromUtf8(sFile);
    fs::path temp = target;
    temp += ".new";
    std::error_code ec;
    fs::remove(temp, ec);
    try {
        {
            db::Database db = db::Database::Create(temp.string());
            db::Transaction tx(db);
            db.Exec(kSchema);
            EnsureHistoryTable(db);
            tx.Commit();
        }
        if (fs::exists(target, ec)) {
            throw db::DbError(14, "file already exists");
        }
        fs::rename(temp, target, ec);
        if (ec) {
            throw db::DbError(14, ec.message());
        }
    } catch (...) {
        fs::remove(temp, ec);
        throw;
    }
}

} // namespace corvane
