// The database procedures on scratch files: what each reads and writes, and what
// each does when the database cannot serve it: missing files in either folder,
// damaged and empty files, a read-only folder, a missing table and a file held
// by another process.
#include "test_support.hpp"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::ExecDirect;
using testing::Lines;

// The first n places as "name score" lines.
Lines Places(const TopTenList& list, std::size_t n) {
    Lines lines;
    for (std::size_t i = 0; i < n; ++i) {
        lines.push_back(list[i].sName + " " + std::to_string(list[i].nScore));
    }
    return lines;
}

class ProceduresTest : public testing::StorageTest {
protected:
    void SetCurrentUser(std::int32_t nUserID, const std::string& sName) {
        std::tie(g.nUserID, g.sUserName, g.sLeftName, g.sTopName, g.sRightName, g.sSkillLevel,
                 g.nNumGames, g.nWinnings) =
            std::tuple(nUserID, sName, "Left", "Top", "Right", "Medium", 3, -45);
    }
    std::string ReadFile() const {
        std::ifstream in(File(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void WriteFile(const std::string& sBytes) const {
        std::ofstream(File(), std::ios::binary | std::ios::trunc) << sBytes;
    }
    const std::string sShared_ = Sub("shared");

    // Every stored user as one line of its fields, as the user dialog reads them.
    Lines Users() {
        Lines lines;
        for (const UserRec& u : user_dialog::GetPlayerData(g, env)) {
            lines.push_back(std::to_string(u.nUserID) + "|" + u.sName + "|" + u.sPlayer1 + "|" +
                            u.sPlayer2 + "|" + u.sPlayer3 + "|" + u.sSkillLevel + "|" +
                            std::to_string(u.nNumGames) + "|" + std::to_string(u.nWinnings));
        }
        return lines;
    }
};

TEST_F(ProceduresTest, NextUserIdCountsUpAndSkipsTheMarkerAndTakenIds) {
    EXPECT_THROW(CreateFreshDatabase(File()), db::DbError); // never overwrites
    EXPECT_EQ((std::tuple{GetNextUserID(g, env), GetNextUserID(g, env)}), std::tuple(1, 2));
    ExecDirect(File(), "UPDATE system SET nextuserid = 9999");
    EXPECT_EQ(GetNextUserID(g, env), 10000);
    EXPECT_EQ(Query("SELECT nextuserid FROM system"), 10001);
    ExecDirect(File(), "UPDATE system SET nextuserid = 5; INSERT INTO user (userid) VALUES (5)");
    EXPECT_EQ(GetNextUserID(g, env), 6);
    // An empty counter hands out nothing and stores nothing.
    ExecDirect(File(), "DELETE FROM system");
    EXPECT_EQ((std::tuple{GetNextUserID(g, env), Query("SELECT count(*) FROM system"), g.bDBError}),
              std::tuple(0, 0, false));
}

TEST_F(ProceduresTest, TopTenLoadsBothWaysSavesWholeAndClears) {
    // Dates that cannot be read are taken as now.
    ExecDirect(File(), "INSERT INTO topten (name, score, date) VALUES ('Ann', 300, '2026-01-02 "
                       "03:04:05'), ('Bob', 650, '2025-05-06 07:08:09'), ('Cy', 300, ''),"
                       "('Dee', 300, '2025-01-01 00:00:00'),"
                       "('R0', 200, '2026-02-30 00:00:00'), ('R1', 199, '2026-02-28 24:00:00'),"
                       "('R2', 198, '2026-02-28 23:60:00'), ('R3', 197, '2026-02-28 23:05:60'),"
                       "('R4', 196, '2026-02-28T23:05:09'), ('R5', 195, '2026-02-28 23:05:09x'),"
                       "('R6', 194, '2026-02-28')");
    // The dialog reads eleven places, the older first among equal scores.
    TopTenList list{};
    top_ten_dialog::TopTenLoad(g, env, list);
    EXPECT_EQ(Places(list, 11),
              (Lines{"Bob 650", "Cy 300", "Dee 300", "Ann 300", "R0 200", "R1 199", "R2 198",
                     "R3 197", "R4 196", "R5 195", "R6 194"}));
    ExecDirect(File(), "DELETE FROM topten WHERE name IN ('Dee', 'R6')");
    list = {};
    list[0] = {"old", 5, {}};
    list[10].sName = "untouched";
    EXPECT_TRUE(main_window::TopTenLoad(g, env, list) && list[10].sName == "untouched");
    // Saved as loaded: equal scores in stored order, the empty place dated now.
    g.nTopTenPos = 99;
    EXPECT_FALSE(main_window::TopTenSave(g, env, list));
    const std::string sNow = " " + FormatDate(clock.dtNow);
    Lines expected = {"Bob 650 2025-05-06 07:08:09", "Ann 300 2026-01-02 03:04:05",
                      "Cy 300" + sNow};
    for (int i = 0; i < 6; ++i) {
        expected.push_back("R" + std::to_string(i) + " " + std::to_string(200 - i) + sNow);
    }
    expected.push_back(" 0" + sNow);
    EXPECT_EQ(Rows("SELECT name || ' ' || score || ' ' || date FROM topten ORDER BY rowid"),
              expected);

    EXPECT_TRUE(top_ten_dialog::ClearTopTen(g, env));
    top_ten_dialog::TopTenLoad(g, env, list);
    EXPECT_EQ(Places(list, 10), Lines(10, " 0"));
}

TEST_F(ProceduresTest, TopTenSaveRanksItsEntryAmongThoseSavedMeanwhile) {
    // Each entry comes from a list loaded before the others were saved, as on
    // computers sharing the file: the place is the one it really took among the
    // stored entries, and an equal score goes below.
    const auto Save = [&](const char* sName, std::int16_t nScore) {
        TopTenList list{};
        list[0] = {sName, nScore, clock.dtNow};
        g.nTopTenPos = 0;
        const std::optional<int> place = main_window::TopTenSave(g, env, list);
        Lines lines = Places(list, 3);
        lines.insert(lines.begin(),
                     std::to_string(place.value_or(-1)) + " " + std::to_string(g.nTopTenPos));
        return lines;
    };
    EXPECT_EQ(Save("Theirs", 700), (Lines{"0 0", "Theirs 700", " 0", " 0"}));
    EXPECT_EQ(Save("Mine", 650), (Lines{"1 1", "Theirs 700", "Mine 650", " 0"}));
    EXPECT_EQ(Save("Same", 700), (Lines{"1 1", "Theirs 700", "Same 700", "Mine 650"}));
    // One that no longer qualifies changes nothing.
    ExecDirect(File(), "UPDATE topten SET score = 900");
    EXPECT_EQ(Save("Late", 900), (Lines{"-1 99", "Theirs 900", "Same 900", "Mine 900"}));
    EXPECT_EQ(Query("SELECT count(*) FROM topten WHERE name <> 'Late'"), 10);
}

TEST_F(ProceduresTest, UserRecordsStandingsAndHistoryGoIntoTheirOwnRows) {
    const auto History = [&](int nMaxGames) {
        Lines lines;
        const std::vector<HistoryRec> games = user_stats::LoadHistory(g, env, nMaxGames).value();
        for (const HistoryRec& h : games) {
            lines.push_back(FormatDate(h.dtDate) + " " + std::to_string(h.nLevel) + " " +
                            h.sSkillLevel + " " + std::to_string(h.nFunds) + " " +
                            std::to_string(static_cast<int>(h.bWon)));
        }
        return lines;
    };
    // A file made before the history: the first save adds the table, keeping the
    // rest.
    ExecDirect(File(), "DROP TABLE history; INSERT INTO topten (name) VALUES ('kept')");
    SetCurrentUser(GetNextUserID(g, env), "O'Brien \"x\"; --");
    user_dialog::UpdateDatabase(g, env);
    EXPECT_TRUE(History(100).empty());
    SetCurrentUser(GetNextUserID(g, env), "Sam");
    user_dialog::UpdateDatabase(g, env);
    std::tie(g.sSkillLevel, g.sUserName) = std::tuple("Hard", "Anna B");
    EXPECT_TRUE(user_dialog::UpdateDatabase(g, env)); // the same row again
    const std::string sFirst = "1|O'Brien \"x\"; --|Left|Top|Right|Medium|3|-45";
    EXPECT_EQ(Users(), (Lines{sFirst, "2|Anna B|Left|Top|Right|Hard|3|-45"}));

    // The game's save writes the record and the history but not the name.
    std::tie(g.nNumGames, g.nWinnings, g.sLeftName, g.sUserName) =
        std::tuple(4, 105, "Newleft", "Renamed");
    EXPECT_TRUE(game_over::SaveUserData(g, env, {2, 260, true}));
    EXPECT_EQ(Users(), (Lines{sFirst, "2|Anna B|Newleft|Top|Right|Hard|4|105"}));
    // A row deleted meanwhile is written anew rather than lost.
    ExecDirect(File(), "DELETE FROM user WHERE userid = 2");
    clock.dtNow += std::chrono::hours(1);
    g.nNumGames = 5;
    EXPECT_TRUE(game_over::SaveUserData(g, env, {3, 90, false}));
    EXPECT_EQ(Users(), (Lines{sFirst, "2|Renamed|Newleft|Top|Right|Hard|5|105"}));
    EXPECT_EQ(Query("SELECT count(*) FROM topten WHERE name = 'kept'"), 1);
    EXPECT_EQ(History(100),
              (Lines{"2026-12-06 10:30:00 2 Hard 260 1", "2026-12-06 11:30:00 3 Hard 90 0"}));
    EXPECT_EQ(History(1), Lines{"2026-12-06 11:30:00 3 Hard 90 0"});

    // Standings rank the seats by funds, equal funds in seat order.
    EXPECT_TRUE(GetStandings(g, env, {150, -20, 150, 180}));
    std::string sStandings;
    for (const StandingRec& r : g.Standings) {
        sStandings += r.sName + " " + std::to_string(r.nFunds) + ",";
    }
    EXPECT_EQ(sStandings, "Renamed 180,Newleft 150,Right 150,Top -20,");
    EXPECT_EQ(Query("SELECT count(*) FROM player"), 4);

    // Totals reset to zero clear the history with the record's save, and a
    // deleted user's history goes with it; other users keep theirs.
    SetCurrentUser(1, "Kim");
    game_over::SaveUserData(g, env, {1, 200, false});
    SetCurrentUser(2, "Sam");
    g.nNumGames = 0;
    user_dialog::UpdateDatabase(g, env);
    EXPECT_EQ(Rows("SELECT userid FROM history"), Lines{"1"});
    EXPECT_TRUE(user_editor::DeleteUser(g, env, 1) && Query("SELECT count(*) FROM history") == 0);
}

TEST_F(ProceduresTest, UserEditorListsEditsAndDeletes) {
    const auto List = [&] {
        Lines lines;
        for (const UserListEntry& e : user_editor::LoadUserList(g, env)) {
            lines.push_back(e.sText + " " + std::to_string(e.nItemData));
        }
        return lines;
    };
    const auto Form = [&](std::int32_t nID) {
        const auto form = user_editor::LoadUserForm(g, env, nID).value();
        return form.sName + "|" + form.sPlayer1 + "|" + form.sPlayer2 + "|" + form.sPlayer3;
    };
    EXPECT_EQ(List(), Lines{"<New User> 9999"});
    EXPECT_EQ(Form(kNewUserID), "<New User>|Player 1|Player 2|Player 3");

    const std::int32_t nID = GetNextUserID(g, env);
    EXPECT_TRUE(user_editor::UpdateDatabase(g, env, nID, {"  Kim ", "A", "B", "C"}));
    EXPECT_EQ(Users(), Lines{"1|  Kim |A|B|C|Easy|0|0"});
    ExecDirect(File(), "UPDATE user SET numgames = 7, skilllevel = 'Hard'");
    EXPECT_TRUE(user_editor::UpdateDatabase(g, env, nID, {"Kimberly", "D", "E", "F"}));
    EXPECT_EQ(Users(), Lines{"1|Kimberly|D|E|F|Hard|7|0"});
    EXPECT_EQ(Form(nID), "Kimberly|D|E|F");

    ExecDirect(File(), "UPDATE user SET name = '  Kim  '");
    EXPECT_EQ(List(), (Lines{"Kim 1", "<New User> 9999"}));
    EXPECT_TRUE(user_editor::DeleteUser(g, env, nID) && Users().empty());
}

TEST_F(ProceduresTest, KeyIsDerivedOncePerFileAndRunUnlessTheCacheIsOff) {
    StorageEnv run(msg, files, clock, env.sAppPath); // a run of its own
    StorageEnv plain(msg, files, clock, env.sAppPath, false);
    // Derived ahead on a worker at start: the opens wait for it rather than
    // derive again.
    DeriveKeyAhead(g, run);
    for (int i = 0; i < 3; ++i) {
        TopTenList list{};
        main_window::TopTenLoad(g, run, list);
        EXPECT_EQ(GetNextUserID(g, run), 2 * i + 1);
        EXPECT_EQ(GetNextUserID(g, plain), 2 * i + 2);
    }
    EXPECT_EQ(std::tuple(run.keys.Derivations(), plain.keys.Derivations()), std::tuple(1, 0));

    // A replaced file has a new salt and gets its own key.
    std::filesystem::remove(File());
    CreateFreshDatabase(File());
    EXPECT_EQ((std::tuple{GetNextUserID(g, run), run.keys.Derivations()}), std::tuple(1, 2));
}

TEST_F(ProceduresTest, MissingFilesFallBackToTheProgramFolderOrEndTheProgram) {
    // The shared file is missing but the program folder has one: no message, and
    // the recovery asks for the user again on the program folder's file.
    g.sDBPath = sShared_;
    EXPECT_TRUE(user_dialog::GetPlayerData(g, env).empty() &&
                !user_dialog::UpdateDatabase(g, env) && g.bDBError && g.bUseDefaultDB);
    EXPECT_EQ((std::tuple{HandleDBError(g, env), g.sDBPath, g.bDBError || g.bUseDefaultDB,
                          GetNextUserID(g, env)}),
              std::tuple(DbRecovery::RestartUserDialog, env.sAppPath, false, 1));

    // Without the program folder's file. Blanks round it, and other letter case
    // where the file system folds case, still count as the program's folder.
    const std::string sMissing = "Cannot locate the current database...\r\n";
    const std::string sApp = env.sAppPath;
    std::filesystem::remove(File());
    g.sDBPath = "  " + PathUpperCase(sApp) + " ";
    EXPECT_TRUE(!game_over::SaveUserData(g, env, {}) && g.bDBError && !g.bUseDefaultDB);
    EXPECT_EQ(Shown(), Lines{"Fatal Error: " + sMissing + PathUpperCase(File()) +
                             "!\r\n\r\nClosing Corvane"});
    EXPECT_EQ(HandleDBError(g, env), DbRecovery::EndProgram);
    g.sDBPath = sShared_;
    EXPECT_FALSE(GetStandings(g, env, {1, 2, 3, 4}));
    EXPECT_EQ(Shown(),
              (Lines{"GetStandings: " + sMissing + PathUpperCase(DatabaseFileName(sShared_)) +
                         "!\r\n\r\nor the default database...\r\n" +
                         PathUpperCase(DatabaseFileName(sApp)),
                     "Fatal Error: Corvane cannot operate unless it has\r\naccess to the "
                     "database file CORVANE.MDB!\r\n\r\nClosing Corvane."}));
    EXPECT_EQ(HandleDBError(g, env), DbRecovery::EndProgram);
    // The user editor only reports a failed open.
    g.bDBError = false;
    EXPECT_FALSE(user_editor::DeleteUser(g, env, 1) || g.bDBError);
    EXPECT_EQ(Shown(), Lines{"Delete User: unable to open database file"});
}

// A file that is present but cannot be opened (noise as from a wrong password,
// an empty or a cut file) is reported under the procedure's name with SQLite's
// number, left exactly as it was, and the program must end.
TEST_F(ProceduresTest, UnopenableFilesAreReportedAndLeftAlone) {
    for (const std::size_t nBytes : {8192U, 0U, 10U}) {
        std::string sBefore(nBytes, '\0');
        for (std::size_t i = 0; i < nBytes; ++i) {
            sBefore[i] = static_cast<char>(i * 7919 % 251);
        }
        WriteFile(sBefore);
        g.bDBError = false;
        // The chart only goes without; the recovery is left to the next save.
        EXPECT_FALSE(user_stats::LoadHistory(g, env, 10) || g.bDBError);
        TopTenList list{};
        EXPECT_TRUE(!main_window::TopTenLoad(g, env, list) && g.bDBError && !g.bUseDefaultDB);
        EXPECT_EQ(Shown(), Lines{"TopTenLoad: 26: file is encrypted or is not a database"});
        // Listed in braces, so called in this order.
        EXPECT_EQ((std::tuple{GetNextUserID(g, env), Shown().size(), HandleDBError(g, env)}),
                  std::tuple(0, 1U, DbRecovery::EndProgram));
        EXPECT_EQ(ReadFile(), sBefore);
    }
}

TEST_F(ProceduresTest, AMissingTableOrDamagedPagesAreOnlyReported) {
    testing::ExecDirect(File(), "DROP TABLE topten");
    TopTenList list{};
    list[0] = {"kept", 7, {}};
    main_window::TopTenLoad(g, env, list);
    g.nTopTenPos = 0;
    EXPECT_TRUE(!main_window::TopTenSave(g, env, list) && list[0].sName == "kept" && !g.bDBError);
    EXPECT_EQ(Shown(),
              (Lines{"TopTenLoad: no such table: topten", "TopTenSave: no such table: topten"}));

    testing::ExecDirect(File(), "INSERT INTO user (userid, name) VALUES (1, 'A')");
    std::string sBytes = ReadFile();
    for (std::size_t i = 1100; i < sBytes.size(); i += 7) {
        sBytes[i] = static_cast<char>(sBytes[i] ^ 0x5A);
    }
    WriteFile(sBytes);
    EXPECT_TRUE(user_dialog::GetPlayerData(g, env).empty());
    EXPECT_EQ(Shown().at(0).substr(0, 15), "GetPlayerData: ");
}

TEST_F(ProceduresTest, AProcessHoldingTheFileIsWaitedFor) {
    std::atomic<bool> bLocked = false;
    std::thread holder([&] {
        db::Database db = testing::OpenDirect(File());
        db::Transaction tx(db);
        db.Exec("UPDATE system SET nextuserid = 40");
        bLocked = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        tx.Commit();
    });
    while (!bLocked) {
        std::this_thread::yield();
    }
    EXPECT_EQ(GetNextUserID(g, env), 40);
    holder.join();
    EXPECT_EQ(Query("SELECT nextuserid FROM system"), 41);
}

#ifndef _WIN32
// Root writes into read-only folders anyway, so the check runs as an ordinary
// user in a child process when the tests run as root.
TEST_F(ProceduresTest, AReadOnlyFolderFailsWritesWithAMessageAndStillReads) {
    testing::ExecDirect(File(), "INSERT INTO topten (name, score, date) VALUES ('A', 300, '')");
    ::chmod(env.sAppPath.c_str(), 0555);
    const auto Body = [&] {
        TopTenList list{};
        main_window::TopTenLoad(g, env, list);
        EXPECT_EQ((std::tuple{list[0].sName, GetNextUserID(g, env)}), std::tuple("A", 0));
        g.nTopTenPos = 0;
        list[0] = {"B", 900, {}};
        main_window::TopTenSave(g, env, list);
        const Lines shown = Shown();
        EXPECT_TRUE(shown.size() == 2 && shown[0].starts_with("GetNextUserID: ") &&
                    shown[1].starts_with("TopTenSave: "));
        EXPECT_FALSE(g.bDBError);
    };
    if (::geteuid() != 0) {
        Body();
    } else if (const pid_t pid = ::fork(); pid == 0) {
        const bool bDropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        if (bDropped) {
            Body();
        }
        ::_exit(!bDropped ? 2 : (::testing::Test::HasFailure() ? 1 : 0));
    } else {
        int nStatus = -1;
        ::waitpid(pid, &nStatus, 0);
        EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0) << "status " << nStatus;
    }
    ::chmod(env.sAppPath.c_str(), 0755);
    EXPECT_EQ(Query("SELECT nextuserid FROM system"), 1);
    EXPECT_EQ(Rows("SELECT name FROM topten"), Lines{"A"});
}
#endif

#ifdef CORVANE_MKDB
// The fresh-database tool, the build's fresh database, and the file as other
// tools see it: the sqlcipher shell opens it with the password, sqlite3 cannot.
// Runs a shell command: what it printed (stdout and stderr), and its exit status.
std::pair<std::string, int> RunShell(const std::string& sCommand) {
    std::string sOut;
    // NOLINTNEXTLINE(cert-env33-c): running the shell's tools is the point
    FILE* pipe = ::popen((sCommand + " 2>&1").c_str(), "r");
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        sOut += buffer.data();
    }
    return {sOut, ::pclose(pipe)};
}

TEST(FreshDatabaseToolTest, CreatesOnceAndNeverReplaces) {
    EXPECT_EQ(testing::QueryInt(CORVANE_BUILD_DB, "SELECT count(*) FROM history"),
              0); // the build's copy
    testing::TempDir dir;
    const std::string sFile = (dir.Path() / "corvane.mdb").string();
    const std::string sMake = std::string(CORVANE_MKDB) + " '" + sFile + "'";
    // Asked for its usage it succeeds; called without a file it fails.
    EXPECT_EQ(RunShell(std::string(CORVANE_MKDB) + " --help").second, 0);
    EXPECT_NE(RunShell(CORVANE_MKDB).second, 0);
    ASSERT_EQ(RunShell(sMake).second, 0);
    EXPECT_EQ(testing::QueryInt(sFile, "SELECT nextuserid FROM system"), 1);
    EXPECT_EQ(testing::QueryInt(sFile, "SELECT count(*) FROM topten"), 0);
    testing::ExecDirect(sFile, "UPDATE system SET nextuserid = 77");
    EXPECT_EQ(RunShell(sMake).second, 0);
    EXPECT_EQ(testing::QueryInt(sFile, "SELECT nextuserid FROM system"), 77);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(SqlcipherShellTest, OpensWithThePasswordAndNotWithoutIt) {
    if (RunShell("command -v sqlcipher").second != 0) {
        GTEST_SKIP() << "the sqlcipher shell is not installed";
    }
    // Written through the cached raw key, read back through the password.
    testing::TempDir dir;
    testing::Session s(dir.Sub("app"));
    CreateFreshDatabase(s.File());
    TopTenList list{};
    list[0] = {"O'Hara", 640, testing::MakeDate(2026, 7, 1, 12)};
    main_window::TopTenSave(s.g, s.env, list);
    ASSERT_TRUE(s.msg.Shown.empty());
    const auto Shell = [&](const std::string& sProgram, const std::string& sInput) {
        return RunShell("printf \"" + sInput + "\" | " + sProgram + " '" + s.File() + "'");
    };
    const auto [sOut, nExit] = Shell("sqlcipher", "PRAGMA key='qzvtrko';\\nSELECT name, score, "
                                                  "date FROM topten LIMIT 1;\\nPRAGMA "
                                                  "integrity_check;\\n");
    EXPECT_EQ(nExit, 0) << sOut;
    EXPECT_NE(sOut.find("O'Hara|640|2026-07-01 12:00:00\nok"), std::string::npos) << sOut;
    EXPECT_NE(Shell("sqlcipher", "PRAGMA key='other';\\nSELECT count(*) FROM user;\\n")
                  .first.find("not a database"),
              std::string::npos);
    if (RunShell("command -v sqlite3").second == 0) {
        const auto [sPlain, nPlainExit] = Shell("sqlite3", "SELECT count(*) FROM user;\\n");
        EXPECT_TRUE(sPlain.find("not a database") != std::string::npos && nPlainExit != 0);
    }
}
#endif

} // namespace
} // namespace corvane
