// What the procedures do when the database cannot serve them: missing files in
// either folder, a wrong password, damaged and empty files, a read-only folder, a
// missing table and a file held by another process.
#include "platform/fake_platform.hpp"
#include "platform/file_system.hpp"
#include "storage/settings.hpp"
#include "test_support.hpp"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

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
using testing::MakeDate;
using testing::QueryInt;

std::string ReadBytes(const std::string& sFile) {
    std::ifstream in(sFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& sFile, const std::string& sBytes) {
    std::ofstream(sFile, std::ios::binary | std::ios::trunc) << sBytes;
}

class FaultsTest : public ::testing::Test {
protected:
    FaultsTest()
        : sApp_(dir_.Sub("app")), sShared_(dir_.Sub("shared")), clock_(MakeDate(2026, 12, 6)),
          env_(msg_, files_, clock_, sApp_) {
        testing::FreshDatabase(DatabaseFileName(sApp_));
        env_.keys = testing::TestKeys();
        g_.sDBPath = sApp_;
    }

    void ExpectOneMessage(const std::string& sText, const std::string& sTitle) {
        ASSERT_EQ(msg_.Shown.size(), 1U);
        EXPECT_EQ(msg_.Shown[0].sText, sText);
        EXPECT_EQ(msg_.Shown[0].sTitle, sTitle);
        EXPECT_EQ(msg_.Shown[0].icon, MsgIcon::Exclamation);
    }

    // A file that is present but cannot be opened: reported under the procedure's
    // name with SQLite's number, and the program must end.
    void ExpectUnopenable(const std::string& sFile) {
        const std::string sBefore = ReadBytes(sFile);
        // The chart only goes without; the recovery is left to the next save.
        EXPECT_FALSE(user_stats::LoadHistory(g_, env_, 10));
        EXPECT_FALSE(g_.bDBError);
        TopTenList list{};
        main_window::TopTenLoad(g_, env_, list);
        ExpectOneMessage("26: file is encrypted or is not a database", "TopTenLoad");
        EXPECT_TRUE(g_.bDBError);
        EXPECT_FALSE(g_.bUseDefaultDB);
        EXPECT_EQ(GetNextUserID(g_, env_), 0);
        EXPECT_EQ(ReadBytes(sFile), sBefore); // left exactly as it was
        EXPECT_EQ(HandleDBError(g_, env_), DbRecovery::EndProgram);
    }

    testing::TempDir dir_;
    std::string sApp_;
    std::string sShared_;
    testing::FixedClock clock_;
    FakeMessageBoxes msg_;
    LocalFileSystem files_;
    StorageEnv env_;
    MGlobal g_;
};

TEST_F(FaultsTest, MissingSharedFileFallsBackToTheProgramFolderSilently) {
    g_.sDBPath = sShared_;
    const auto users = user_dialog::GetPlayerData(g_, env_);
    EXPECT_TRUE(users.empty());
    EXPECT_TRUE(msg_.Shown.empty());
    EXPECT_TRUE(g_.bDBError);
    EXPECT_TRUE(g_.bUseDefaultDB);

    EXPECT_EQ(HandleDBError(g_, env_), DbRecovery::RestartUserDialog);
    EXPECT_EQ(g_.sDBPath, sApp_);
    EXPECT_FALSE(g_.bDBError);
    EXPECT_FALSE(g_.bUseDefaultDB);
    // The settings saved when the user dialog restarts name the program's folder.
    FakeFileSystem iniFiles;
    Ini_Save(g_, false, sApp_, iniFiles, msg_);
    EXPECT_NE(iniFiles.Files[IniFileName(sApp_)].find("db_path=" + sApp_ + "\r\n"),
              std::string::npos);
    EXPECT_EQ(GetNextUserID(g_, env_), 1);
}

TEST_F(FaultsTest, MissingFileInTheProgramFolderIsFatal) {
    std::filesystem::remove(DatabaseFileName(sApp_));
    // Blanks round it, and other letter case where the file system folds case,
    // still count as the program's folder.
    g_.sDBPath = "  " + PathUpperCase(sApp_) + " ";
    EXPECT_FALSE(game_over::SaveUserData(g_, env_, {}));
    ExpectOneMessage("Cannot locate the current database...\r\n" +
                         PathUpperCase(DatabaseFileName(g_.sDBPath)) + "!\r\n\r\nClosing Corvane",
                     "Fatal Error");
    EXPECT_TRUE(g_.bDBError);
    EXPECT_FALSE(g_.bUseDefaultDB);
    EXPECT_EQ(HandleDBError(g_, env_), DbRecovery::EndProgram);
}

TEST_F(FaultsTest, MissingFileInBothFoldersShowsTwoMessages) {
    std::filesystem::remove(DatabaseFileName(sApp_));
    g_.sDBPath = sShared_;
    GetStandings(g_, env_, {1, 2, 3, 4});
    ASSERT_EQ(msg_.Shown.size(), 2U);
    EXPECT_EQ(msg_.Shown[0].sText, "Cannot locate the current database...\r\n" +
                                       PathUpperCase(DatabaseFileName(sShared_)) +
                                       "!\r\n\r\nor the default database...\r\n" +
                                       PathUpperCase(DatabaseFileName(sApp_)));
    EXPECT_EQ(msg_.Shown[0].sTitle, "GetStandings");
    EXPECT_EQ(msg_.Shown[1].sText, "Corvane cannot operate unless it has\r\naccess to the "
                                   "database file CORVANE.MDB!\r\n\r\nClosing Corvane.");
    EXPECT_EQ(msg_.Shown[1].sTitle, "Fatal Error");
    EXPECT_TRUE(g_.bDBError);
    EXPECT_EQ(HandleDBError(g_, env_), DbRecovery::EndProgram);
}

TEST_F(FaultsTest, WrongPasswordIsReportedAtTheFirstRead) {
    const std::string sFile = DatabaseFileName(sShared_);
    sqlite3* p = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(sFile.c_str(), &p, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
        SQLITE_OK);
    ASSERT_EQ(sqlite3_key(p, "another", 7), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(p, "CREATE TABLE topten (name, score, date)", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(p);
    g_.sDBPath = sShared_;
    ExpectUnopenable(sFile);
}

TEST_F(FaultsTest, CorruptFileIsReported) {
    std::string sNoise(8192, '\0');
    std::mt19937 rng(3);
    for (char& c : sNoise) {
        c = static_cast<char>(rng());
    }
    WriteBytes(DatabaseFileName(sApp_), sNoise);
    ExpectUnopenable(DatabaseFileName(sApp_));
}

TEST_F(FaultsTest, EmptyFileIsReportedAndStaysEmpty) {
    WriteBytes(DatabaseFileName(sApp_), "");
    ExpectUnopenable(DatabaseFileName(sApp_));
    EXPECT_EQ(std::filesystem::file_size(DatabaseFileName(sApp_)), 0U);
}

TEST_F(FaultsTest, DamagedPagesAreReportedWithoutACrash) {
    ExecDirect(DatabaseFileName(sApp_), "INSERT INTO user (userid, name) VALUES (1, 'A')");
    std::string sBytes = ReadBytes(DatabaseFileName(sApp_));
    ASSERT_GT(sBytes.size(), 2048U);
    for (std::size_t i = 1100; i < sBytes.size(); i += 7) {
        sBytes[i] = static_cast<char>(sBytes[i] ^ 0x5A);
    }
    WriteBytes(DatabaseFileName(sApp_), sBytes);
    const auto users = user_dialog::GetPlayerData(g_, env_);
    EXPECT_TRUE(users.empty());
    ASSERT_FALSE(msg_.Shown.empty());
    EXPECT_EQ(msg_.Shown[0].sTitle, "GetPlayerData");
}

TEST_F(FaultsTest, MissingTableIsAQueryFailure) {
    ExecDirect(DatabaseFileName(sApp_), "DROP TABLE topten");
    TopTenList list{};
    list[0] = {"kept", 7, {}};
    main_window::TopTenLoad(g_, env_, list);
    ExpectOneMessage("no such table: topten", "TopTenLoad");
    EXPECT_FALSE(g_.bDBError);
    EXPECT_EQ(list[0].sName, "kept");

    msg_.Shown.clear();
    g_.nTopTenPos = 0;
    EXPECT_FALSE(main_window::TopTenSave(g_, env_, list));
    ExpectOneMessage("no such table: topten", "TopTenSave");
    EXPECT_FALSE(g_.bDBError);
}

TEST_F(FaultsTest, FailedDeleteOpenIsOnlyReported) {
    g_.sDBPath = sShared_;
    EXPECT_FALSE(user_editor::DeleteUser(g_, env_, 1));
    ExpectOneMessage("unable to open database file", "Delete User");
    EXPECT_FALSE(g_.bDBError);
}

TEST_F(FaultsTest, AProcessHoldingTheFileIsWaitedFor) {
    const std::string sFile = DatabaseFileName(sApp_);
    std::atomic<bool> bLocked = false;
    std::thread holder([&] {
        db::Database db = testing::OpenDirect(sFile);
        db::Transaction tx(db);
        db.Exec("UPDATE system SET nextuserid = 40");
        bLocked = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        tx.Commit();
    });
    while (!bLocked) {
        std::this_thread::yield();
    }
    EXPECT_EQ(GetNextUserID(g_, env_), 40);
    holder.join();
    EXPECT_TRUE(msg_.Shown.empty());
    EXPECT_EQ(QueryInt(sFile, "SELECT nextuserid FROM system"), 41);
}

#ifndef _WIN32
// Root writes into read-only folders anyway, so the check runs as an ordinary
// user in a child process when the tests run as root.
TEST(ReadOnlyFolderTest, WritesFailWithAMessageAndReadsStillWork) {
    const auto Body = [] {
        testing::TempDir dir;
        const std::string sApp = dir.Sub("app");
        CreateFreshDatabase(DatabaseFileName(sApp));
        ExecDirect(DatabaseFileName(sApp),
                   "INSERT INTO topten (name, score, date) VALUES ('A', 300, '')");
        ::chmod(sApp.c_str(), 0555);
        FakeMessageBoxes msg;
        LocalFileSystem files;
        testing::FixedClock clock(MakeDate(2026, 1, 1));
        StorageEnv env(msg, files, clock, sApp);
        MGlobal g;
        g.sDBPath = sApp;

        TopTenList list{};
        main_window::TopTenLoad(g, env, list);
        EXPECT_EQ(list[0].sName, "A");
        EXPECT_TRUE(msg.Shown.empty());
        EXPECT_EQ(GetNextUserID(g, env), 0);
        ASSERT_EQ(msg.Shown.size(), 1U);
        EXPECT_EQ(msg.Shown[0].sTitle, "GetNextUserID");
        g.nTopTenPos = 0;
        list[0] = {"B", 900, {}};
        main_window::TopTenSave(g, env, list);
        ASSERT_EQ(msg.Shown.size(), 2U);
        EXPECT_EQ(msg.Shown[1].sTitle, "TopTenSave");
        EXPECT_FALSE(g.bDBError);
        ::chmod(sApp.c_str(), 0755);
        EXPECT_EQ(QueryInt(DatabaseFileName(sApp), "SELECT nextuserid FROM system"), 1);
        EXPECT_EQ(QueryInt(DatabaseFileName(sApp), "SELECT count(*) FROM topten"), 1);
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
