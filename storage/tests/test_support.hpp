// Shared pieces of the storage tests: one run's view of a database folder, a
// fixture with a fresh database, and direct access to a file's rows.
#pragma once

#include "platform/fake_platform.hpp"
#include "platform/file_system.hpp"
#include "storage/db.hpp"
#include "storage/game_db.hpp"
#include "storage/schema.hpp"
#include "tests/support/scratch.hpp"

#include <algorithm>
#include <filesystem>
#include <string>

namespace corvane::testing {

// The tests' own derived keys, so that looking into a file does not pay for the
// key derivation each time (it is slow under the sanitizers).
inline KeyCache& TestKeys() {
    static KeyCache keys;
    return keys;
}

inline db::Database OpenDirect(const std::string& sFile) {
    return db::Database::Open(sFile, TestKeys());
}

inline std::int64_t QueryInt(const std::string& sFile, const char* sSql) {
    db::Database db = OpenDirect(sFile);
    db::Statement query(db, sSql);
    return query.Step() ? query.Int(0) : -1;
}

inline void ExecDirect(const std::string& sFile, const char* sSql) {
    OpenDirect(sFile).Exec(sSql);
}

// Enters a score into a loaded list by the top-ten rule, as the engine does: at
// the first place with a lower score. False when it does not qualify.
inline bool EnterScore(MGlobal& g, TopTenList& list, const TopTenRec& entry) {
    auto* const it = std::find_if(list.begin(), list.begin() + 10,
                                  [&](const TopTenRec& r) { return entry.nScore > r.nScore; });
    if (it == list.begin() + 10) {
        return false;
    }
    std::move_backward(it, list.begin() + 9, list.begin() + 10);
    *it = entry;
    g.nTopTenPos = static_cast<int>(it - list.begin());
    return true;
}

// What one run of the program hands the procedures, with sApp as both the
// program's folder and the database folder.
struct Session {
    explicit Session(const std::string& sApp) : env(msg, files, clock, sApp) { g.sDBPath = sApp; }
    std::string File() const { return DatabaseFileName(g.sDBPath); }

    FakeMessageBoxes msg;
    LocalFileSystem files;
    FixedClock clock{MakeDate(2026, 12, 6, 10, 30)};
    StorageEnv env;
    MGlobal g;
};

// A session on a scratch program folder holding a fresh database: a copy of one
// made once per test program, opened with the tests' derived keys.
class FreshSession : protected TempDir, public Session {
protected:
    FreshSession() : Session(Sub("app")) {
        static const TempDir dir;
        static const std::string sTemplate = [] {
            std::string s = DatabaseFileName(dir.Sub("template"));
            CreateFreshDatabase(s);
            return s;
        }();
        std::filesystem::copy_file(sTemplate, File());
        env.keys = TestKeys();
    }
};

} // namespace corvane::testing
