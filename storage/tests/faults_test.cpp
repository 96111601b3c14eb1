// What the procedures do when the database cannot serve them: missing files in
// either folder, damaged and empty files, a read-only folder, a missing table and
// a file held by another process.
#include "test_support.hpp"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::Lines;

class FaultsTest : public testing::StorageTest {
protected:
    std::string ReadFile() const {
        std::ifstream in(File(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void WriteFile(const std::string& sBytes) const {
        std::ofstream(File(), std::ios::binary | std::ios::trunc) << sBytes;
    }
    const std::string sShared_ = Sub("shared");
};

TEST_F(FaultsTest, MissingFilesFallBackToTheProgramFolderOrEndTheProgram) {
    // The shared file is missing but the program folder has one: no message, and
    // the recovery asks for the user again on the program folder's file.
    g.sDBPath = sShared_;
    EXPECT_TRUE(user_dialog::GetPlayerData(g, env).empty());
    EXPECT_TRUE(g.bDBError && g.bUseDefaultDB);
    EXPECT_EQ(HandleDBError(g, env), DbRecovery::RestartUserDialog);
    EXPECT_EQ(g.sDBPath, env.sAppPath);
    EXPECT_FALSE(g.bDBError || g.bUseDefaultDB);
    EXPECT_EQ(GetNextUserID(g, env), 1);

    // Without the program folder's file. Blanks round it, and other letter case
    // where the file system folds case, still count as the program's folder.
    const std::string sMissing = "Cannot locate the current database...\r\n";
    const std::string sApp = env.sAppPath;
    std::filesystem::remove(File());
    g.sDBPath = "  " + PathUpperCase(sApp) + " ";
    EXPECT_FALSE(game_over::SaveUserData(g, env, {}));
    EXPECT_EQ(Shown(), Lines{"Fatal Error: " + sMissing + PathUpperCase(File()) +
                             "!\r\n\r\nClosing Corvane"});
    EXPECT_TRUE(g.bDBError && !g.bUseDefaultDB);
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
    EXPECT_FALSE(user_editor::DeleteUser(g, env, 1));
    EXPECT_EQ(Shown(), Lines{"Delete User: unable to open database file"});
    EXPECT_FALSE(g.bDBError);
}

// A file that is present but cannot be opened (noise as from a wrong password,
// an empty or a cut file) is reported under the procedure's name with SQLite's
// number, left exactly as it was, and the program must end.
TEST_F(FaultsTest, UnopenableFilesAreReportedAndLeftAlone) {
    for (const std::size_t nBytes : {8192U, 0U, 10U}) {
        std::string sBefore(nBytes, '\0');
        for (std::size_t i = 0; i < nBytes; ++i) {
            sBefore[i] = static_cast<char>(i * 7919 % 251);
        }
        WriteFile(sBefore);
        g.bDBError = false;
        // The chart only goes without; the recovery is left to the next save.
        EXPECT_FALSE(user_stats::LoadHistory(g, env, 10));
        EXPECT_FALSE(g.bDBError);
        TopTenList list{};
        EXPECT_FALSE(main_window::TopTenLoad(g, env, list));
        EXPECT_EQ(Shown(), Lines{"TopTenLoad: 26: file is encrypted or is not a database"});
        EXPECT_TRUE(g.bDBError && !g.bUseDefaultDB);
        EXPECT_EQ(GetNextUserID(g, env), 0);
        EXPECT_EQ(Shown().size(), 1U);
        EXPECT_EQ(ReadFile(), sBefore);
        EXPECT_EQ(HandleDBError(g, env), DbRecovery::EndProgram);
    }
}

TEST_F(FaultsTest, AMissingTableOrDamagedPagesAreOnlyReported) {
    testing::ExecDirect(File(), "DROP TABLE topten");
    TopTenList list{};
    list[0] = {"kept", 7, {}};
    main_window::TopTenLoad(g, env, list);
    g.nTopTenPos = 0;
    EXPECT_FALSE(main_window::TopTenSave(g, env, list));
    EXPECT_EQ(list[0].sName, "kept");
    EXPECT_EQ(Shown(),
              (Lines{"TopTenLoad: no such table: topten", "TopTenSave: no such table: topten"}));
    EXPECT_FALSE(g.bDBError);

    testing::ExecDirect(File(), "INSERT INTO user (userid, name) VALUES (1, 'A')");
    std::string sBytes = ReadFile();
    for (std::size_t i = 1100; i < sBytes.size(); i += 7) {
        sBytes[i] = static_cast<char>(sBytes[i] ^ 0x5A);
    }
    WriteFile(sBytes);
    EXPECT_TRUE(user_dialog::GetPlayerData(g, env).empty());
    EXPECT_EQ(Shown().at(0).substr(0, 15), "GetPlayerData: ");
}

TEST_F(FaultsTest, AProcessHoldingTheFileIsWaitedFor) {
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
TEST_F(FaultsTest, AReadOnlyFolderFailsWritesWithAMessageAndStillReads) {
    testing::ExecDirect(File(), "INSERT INTO topten (name, score, date) VALUES ('A', 300, '')");
    ::chmod(env.sAppPath.c_str(), 0555);
    const auto Body = [&] {
        TopTenList list{};
        main_window::TopTenLoad(g, env, list);
        EXPECT_EQ(list[0].sName, "A");
        EXPECT_EQ(GetNextUserID(g, env), 0);
        g.nTopTenPos = 0;
        list[0] = {"B", 900, {}};
        main_window::TopTenSave(g, env, list);
        const Lines shown = Shown();
        ASSERT_EQ(shown.size(), 2U);
        EXPECT_TRUE(shown[0].starts_with("GetNextUserID: ") &&
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

} // namespace
} // namespace corvane
