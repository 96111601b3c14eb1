// What the procedures do when the database cannot serve them: missing files in
// either folder, a wrong password, damaged and empty files, a read-only folder, a
// missing table and a file held by another process.
#include "test_support.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <thread>
#include <vector>

#include <sqlite3.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::ExecDirect;
using testing::QueryInt;

std::string ReadBytes(const std::string& sFile) {
    std::ifstream in(sFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& sFile, const std::string& sBytes) {
    std::ofstream(sFile, std::ios::binary | std::ios::trunc) << sBytes;
}

class FaultsTest : public ::testing::Test, protected testing::FreshSession {
protected:
    // The messages shown so far as "title: text" lines.
    std::vector<std::string> Shown() const {
        std::vector<std::string> lines;
        for (const ShownMessage& m : msg.Shown) {
            EXPECT_EQ(m.icon, MsgIcon::Exclamation);
            lines.push_back(m.sTitle + ": " + m.sText);
        }
        return lines;
    }

    const std::string sShared_ = Sub("shared");
};

TEST_F(FaultsTest, MissingSharedFileFallsBackToTheProgramFolderSilently) {
    g.sDBPath = sShared_;
    EXPECT_TRUE(user_dialog::GetPlayerData(g, env).empty());
    EXPECT_TRUE(msg.Shown.empty());
    EXPECT_TRUE(g.bDBError);
    EXPECT_TRUE(g.bUseDefaultDB);

    EXPECT_EQ(HandleDBError(g, env), DbRecovery::RestartUserDialog);
    EXPECT_EQ(g.sDBPath, env.sAppPath);
    EXPECT_FALSE(g.bDBError);
    EXPECT_FALSE(g.bUseDefaultDB);
    EXPECT_EQ(GetNextUserID(g, env), 1);
}

TEST_F(FaultsTest, MissingFileWithoutTheDefaultOneIsFatal) {
    const std::string sApp = env.sAppPath;
    std::filesystem::remove(File());
    // Blanks round it, and other letter case where the file system folds case,
    // still count as the program's folder.
    g.sDBPath = "  " + PathUpperCase(sApp) + " ";
    EXPECT_FALSE(game_over::SaveUserData(g, env, {}));
    EXPECT_EQ(Shown(),
              std::vector<std::string>{"Fatal Error: Cannot locate the current "
                                       "database...\r\n" +
                                       PathUpperCase(File()) + "!\r\n\r\nClosing Corvane"});
    EXPECT_TRUE(g.bDBError);
    EXPECT_FALSE(g.bUseDefaultDB);
    EXPECT_EQ(HandleDBError(g, env), DbRecovery::EndProgram);

    msg.Shown.clear();
    g.sDBPath = sShared_;
    EXPECT_FALSE(GetStandings(g, env, {1, 2, 3, 4}));
    EXPECT_EQ(Shown(), (std::vector<std::string>{
                           "GetStandings: Cannot locate the current database...\r\n" +
                               PathUpperCase(DatabaseFileName(sShared_)) +
                               "!\r\n\r\nor the default database...\r\n" +
                               PathUpperCase(DatabaseFileName(sApp)),
                           "Fatal Error: Corvane cannot operate unless it has\r\naccess to the "
                           "database file CORVANE.MDB!\r\n\r\nClosing Corvane."}));
    EXPECT_EQ(HandleDBError(g, env), DbRecovery::EndProgram);
}

// A file that is present but cannot be opened (a wrong password, noise, an empty
// file) is reported under the procedure's name with SQLite's number, left exactly
// as it was, and the program must end.
TEST_F(FaultsTest, UnopenableFilesAreReportedAndLeftAlone) {
    const std::array<std::function<void(const std::string&)>, 3> spoil = {
        [](const std::string& sFile) {
            sqlite3* p = nullptr;
            sqlite3_open_v2(sFile.c_str(), &p, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            sqlite3_key(p, "another", 7);
            sqlite3_exec(p, "CREATE TABLE topten (name, score, date)", nullptr, nullptr, nullptr);
            sqlite3_close(p);
        },
        [](const std::string& sFile) {
            std::mt19937 rng(3); // NOLINT(cert-msc32-c,cert-msc51-cpp): the same inputs every run
            std::string sNoise(8192, '\0');
            std::generate(sNoise.begin(), sNoise.end(), [&] { return static_cast<char>(rng()); });
            WriteBytes(sFile, sNoise);
        },
        [](const std::string& sFile) { WriteBytes(sFile, ""); },
    };
    for (const auto& Spoil : spoil) {
        std::filesystem::remove(File());
        Spoil(File());
        const std::string sBefore = ReadBytes(File());
        msg.Shown.clear();
        g.bDBError = false;
        // The chart only goes without; the recovery is left to the next save.
        EXPECT_FALSE(user_stats::LoadHistory(g, env, 10));
        EXPECT_FALSE(g.bDBError);
        TopTenList list{};
        EXPECT_FALSE(main_window::TopTenLoad(g, env, list));
        EXPECT_EQ(Shown(), std::vector<std::string>{
                               "TopTenLoad: 26: file is encrypted or is not a database"});
        EXPECT_TRUE(g.bDBError);
        EXPECT_FALSE(g.bUseDefaultDB);
        EXPECT_EQ(GetNextUserID(g, env), 0);
        EXPECT_TRUE(std::filesystem::exists(File()));
        EXPECT_EQ(ReadBytes(File()), sBefore);
        EXPECT_EQ(HandleDBError(g, env), DbRecovery::EndProgram);
    }
}

TEST_F(FaultsTest, DamagedPagesAreReportedWithoutACrash) {
    ExecDirect(File(), "INSERT INTO user (userid, name) VALUES (1, 'A')");
    std::string sBytes = ReadBytes(File());
    ASSERT_GT(sBytes.size(), 2048U);
    for (std::size_t i = 1100; i < sBytes.size(); i += 7) {
        sBytes[i] = static_cast<char>(sBytes[i] ^ 0x5A);
    }
    WriteBytes(File(), sBytes);
    EXPECT_TRUE(user_dialog::GetPlayerData(g, env).empty());
    ASSERT_FALSE(msg.Shown.empty());
    EXPECT_EQ(msg.Shown[0].sTitle, "GetPlayerData");
}

TEST_F(FaultsTest, MissingTableOrAFailedDeleteIsOnlyReported) {
    ExecDirect(File(), "DROP TABLE topten");
    TopTenList list{};
    list[0] = {"kept", 7, {}};
    main_window::TopTenLoad(g, env, list);
    g.nTopTenPos = 0;
    EXPECT_FALSE(main_window::TopTenSave(g, env, list));
    EXPECT_EQ(list[0].sName, "kept");
    g.sDBPath = sShared_;
    EXPECT_FALSE(user_editor::DeleteUser(g, env, 1));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"TopTenLoad: no such table: topten",
                                                 "TopTenSave: no such table: topten",
                                                 "Delete User: unable to open database file"}));
    EXPECT_FALSE(g.bDBError);
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
    EXPECT_TRUE(msg.Shown.empty());
    EXPECT_EQ(QueryInt(File(), "SELECT nextuserid FROM system"), 41);
}

#ifndef _WIN32
// Root writes into read-only folders anyway, so the check runs as an ordinary
// user in a child process when the tests run as root.
TEST(ReadOnlyFolderTest, WritesFailWithAMessageAndReadsStillWork) {
    const auto Body = [] {
        testing::TempDir dir;
        testing::Session s(dir.Sub("app"));
        CreateFreshDatabase(s.File());
        ExecDirect(s.File(), "INSERT INTO topten (name, score, date) VALUES ('A', 300, '')");
        ::chmod(s.env.sAppPath.c_str(), 0555);
        TopTenList list{};
        main_window::TopTenLoad(s.g, s.env, list);
        EXPECT_EQ(list[0].sName, "A");
        EXPECT_EQ(GetNextUserID(s.g, s.env), 0);
        s.g.nTopTenPos = 0;
        list[0] = {"B", 900, {}};
        main_window::TopTenSave(s.g, s.env, list);
        ASSERT_EQ(s.msg.Shown.size(), 2U);
        EXPECT_EQ(s.msg.Shown[0].sTitle, "GetNextUserID");
        EXPECT_EQ(s.msg.Shown[1].sTitle, "TopTenSave");
        EXPECT_FALSE(s.g.bDBError);
        ::chmod(s.env.sAppPath.c_str(), 0755);
        EXPECT_EQ(QueryInt(s.File(), "SELECT nextuserid FROM system"), 1);
        EXPECT_EQ(QueryInt(s.File(), "SELECT count(*) FROM topten"), 1);
    };
    if (::geteuid() != 0) {
        Body();
        return;
    }
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const bool bDropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        if (bDropped) {
            Body();
        }
        ::_exit(!bDropped ? 2 : (::testing::Test::HasFailure() ? 1 : 0));
    }
    int nStatus = 0;
    ASSERT_EQ(::waitpid(pid, &nStatus, 0), pid);
    ASSERT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(WEXITSTATUS(nStatus), 0) << "the read-only checks failed in the child";
}
#endif

} // namespace
} // namespace corvane
