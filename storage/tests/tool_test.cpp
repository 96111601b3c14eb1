// The fresh-database tool, the build's fresh database, and the file as other
// tools see it: the sqlcipher shell opens it with the password, sqlite3 cannot.
#include "platform/fake_platform.hpp"
#include "platform/file_system.hpp"
#include "test_support.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::MakeDate;
using testing::QueryInt;

std::string ReadBytes(const std::string& sFile) {
    std::ifstream in(sFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a shell command and returns what it printed (stdout and stderr).
std::string RunShell(const std::string& sCommand, int& nExit) {
    std::string sOut;
    FILE* pipe = ::popen((sCommand + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        nExit = -1;
        return sOut;
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        sOut += buffer;
    }
    nExit = ::pclose(pipe);
    return sOut;
}

bool HaveTool(const char* sName) {
    return std::system((std::string("command -v ") + sName + " >/dev/null 2>&1").c_str()) == 0;
}

TEST(FreshDatabaseToolTest, CreatesOnceAndNeverReplaces) {
    testing::TempDir dir;
    const std::string sFile = (dir.Path() / "corvane.mdb").string();
    int nExit = 0;
    RunShell(std::string(CORVANE_MKDB) + " '" + sFile + "'", nExit);
    ASSERT_EQ(nExit, 0);
    EXPECT_EQ(QueryInt(sFile, "SELECT nextuserid FROM system"), 1);
    EXPECT_EQ(QueryInt(sFile, "SELECT count(*) FROM topten"), 0);

    testing::ExecDirect(sFile, "UPDATE system SET nextuserid = 77");
    const std::string sBefore = ReadBytes(sFile);
    RunShell(std::string(CORVANE_MKDB) + " '" + sFile + "'", nExit);
    EXPECT_EQ(nExit, 0);
    EXPECT_EQ(ReadBytes(sFile), sBefore);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(FreshDatabaseToolTest, TheBuildPutsAFreshDatabaseInPlace) {
    EXPECT_EQ(QueryInt(CORVANE_BUILD_DB, "SELECT count(*) FROM system"), 1);
    EXPECT_EQ(QueryInt(CORVANE_BUILD_DB, "SELECT count(*) FROM history"), 0);
}

TEST(SqlcipherShellTest, OpensWithThePasswordAndNotWithoutIt) {
    if (!HaveTool("sqlcipher")) {
        GTEST_SKIP() << "the sqlcipher shell is not installed";
    }
    testing::TempDir dir;
    const std::string sApp = dir.Sub("app");
    CreateFreshDatabase(DatabaseFileName(sApp));
    // Written through the cached raw key, read back through the password.
    FakeMessageBoxes msg;
    LocalFileSystem files;
    testing::FixedClock clock(MakeDate(2026, 7, 1, 12, 0, 0));
    StorageEnv env(msg, files, clock, sApp);
    MGlobal g;
    g.sDBPath = sApp;
    g.nUserID = GetNextUserID(g, env);
    g.sUserName = "O'Hara";
    user_dialog::UpdateDatabase(g, env);
    g.nNumGames = 1;
    game_over::SaveUserData(g, env, {2, 340, true});
    TopTenList list{};
    list[0] = {"O'Hara", 640, clock.dtNow};
    g.nTopTenPos = 0;
    main_window::TopTenSave(g, env, list);
    ASSERT_TRUE(msg.Shown.empty());

    const std::string sFile = DatabaseFileName(sApp);
    int nExit = 0;
    const std::string sOut =
        RunShell("printf \"PRAGMA key='qzvtrko';\\nSELECT name, score, date FROM topten LIMIT 1;\\n"
                 "SELECT name FROM user;\\nSELECT level, funds, won FROM history;\\n"
                 "PRAGMA integrity_check;\\n\" | sqlcipher '" +
                     sFile + "'",
                 nExit);
    EXPECT_EQ(nExit, 0) << sOut;
    EXPECT_NE(sOut.find("O'Hara|640|2026-07-01 12:00:00"), std::string::npos) << sOut;
    EXPECT_NE(sOut.find("\nO'Hara\n2|340|1\nok"), std::string::npos) << sOut;

    const std::string sWrong =
        RunShell("printf \"PRAGMA key='other';\\nSELECT count(*) FROM user;\\n\" | sqlcipher '" +
                     sFile + "'",
                 nExit);
    EXPECT_NE(sWrong.find("not a database"), std::string::npos) << sWrong;

    if (HaveTool("sqlite3")) {
        const std::string sPlain =
            RunShell("sqlite3 '" + sFile + "' 'SELECT count(*) FROM user;'", nExit);
        EXPECT_NE(nExit, 0);
        EXPECT_NE(sPlain.find("not a database"), std::string::npos) << sPlain;
    }
}

} // namespace
} // namespace corvane
