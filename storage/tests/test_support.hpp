// Shared pieces of the storage tests: one run's view of a database folder, a
// fixture with a fresh database, and direct access to a file's rows.
#pragma once

#include "platform/fake_platform.hpp"
#include "platform/file_system.hpp"
#include "storage/db.hpp"
#include "storage/game_db.hpp"
#include "storage/schema.hpp"
#include "tests/support/scratch.hpp"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace corvane::testing {

using Lines = std::vector<std::string>;

// The tests' own derived keys, so that looking into a file does not pay for the
// key derivation each time (it is slow under the sanitizers).
inline KeyCache& TestKeys() {
    static KeyCache keys;
    return keys;
}

inline db::Database OpenDirect(const std::string& sFile) {
    return db::Database::Open(sFile, TestKeys());
}

inline void ExecDirect(const std::string& sFile, const char* sSql) {
    OpenDirect(sFile).Exec(sSql);
}

// The first column of every row, as text.
inline Lines Rows(const std::string& sFile, const char* sSql) {
    db::Database db = OpenDirect(sFile);
    Lines rows;
    for (db::Statement query(db, sSql); query.Step();) {
        rows.push_back(query.Text(0));
    }
    return rows;
}

inline std::int64_t QueryInt(const std::string& sFile, const char* sSql) {
    return std::stoll(Rows(sFile, sSql).at(0));
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

// A fixture on a scratch program folder holding a fresh database: a copy of one
// made once per test program, opened with the tests' derived keys. Every message
// shown must be taken by the test.
class StorageTest : public ::testing::Test, protected TempDir, public Session {
protected:
    StorageTest() : Session(Sub("app")) {
        static const TempDir dir;
        static const std::string sTemplate = [] {
            std::string s = DatabaseFileName(dir.Sub("template"));
            CreateFreshDatabase(s);
            return s;
        }();
        std::filesystem::copy_file(sTemplate, File());
        env.keys = TestKeys();
    }
    void TearDown() override { EXPECT_TRUE(msg.Shown.empty()); }

    std::int64_t Query(const char* sSql) const { return QueryInt(File(), sSql); }
    Lines Rows(const char* sSql) const { return testing::Rows(File(), sSql); }
    // The messages shown so far as "title: text" lines; takes them.
    Lines Shown() {
        Lines lines;
        for (const ShownMessage& m : msg.Shown) {
            EXPECT_EQ(m.icon, MsgIcon::Exclamation);
            lines.push_back(m.sTitle + ": " + m.sText);
        }
        msg.Shown.clear();
        return lines;
    }
};

} // namespace corvane::testing
