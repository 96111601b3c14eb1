// The fresh-database tool, the build's fresh database, and the file as other
// tools see it: the sqlcipher shell opens it with the password, sqlite3 cannot.
#include "test_support.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::QueryInt;

// Runs a shell command and returns what it printed (stdout and stderr).
std::string RunShell(const std::string& sCommand, int& nExit) {
    std::string sOut;
    FILE* pipe = ::popen((sCommand + " 2>&1").c_str(), "r");
    char buffer[512];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        sOut += buffer;
    }
    nExit = pipe == nullptr ? -1 : ::pclose(pipe);
    return sOut;
}

bool HaveTool(const std::string& sName) {
    return std::system(("command -v " + sName + " >/dev/null 2>&1").c_str()) == 0;
}

TEST(FreshDatabaseToolTest, CreatesOnceAndNeverReplaces) {
    EXPECT_EQ(QueryInt(CORVANE_BUILD_DB, "SELECT count(*) FROM history"), 0); // the build's copy
    testing::TempDir dir;
    const std::string sFile = (dir.Path() / "corvane.mdb").string();
    int nExit = 0;
    RunShell(std::string(CORVANE_MKDB) + " '" + sFile + "'", nExit);
    ASSERT_EQ(nExit, 0);
    EXPECT_EQ(QueryInt(sFile, "SELECT nextuserid FROM system"), 1);
    EXPECT_EQ(QueryInt(sFile, "SELECT count(*) FROM topten"), 0);

    testing::ExecDirect(sFile, "UPDATE system SET nextuserid = 77");
    RunShell(std::string(CORVANE_MKDB) + " '" + sFile + "'", nExit);
    EXPECT_EQ(nExit, 0);
    EXPECT_EQ(QueryInt(sFile, "SELECT nextuserid FROM system"), 77);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(SqlcipherShellTest, OpensWithThePasswordAndNotWithoutIt) {
    if (!HaveTool("sqlcipher")) {
        GTEST_SKIP() << "the sqlcipher shell is not installed";
    }
    // Written through the cached raw key, read back through the password.
    testing::TempDir dir;
    testing::Session s(dir.Sub("app"));
    CreateFreshDatabase(s.File());
    s.clock.dtNow = testing::MakeDate(2026, 7, 1, 12);
    s.g.nUserID = GetNextUserID(s.g, s.env);
    s.g.sUserName = "O'Hara";
    user_dialog::UpdateDatabase(s.g, s.env);
    s.g.nNumGames = 1;
    game_over::SaveUserData(s.g, s.env, {2, 340, true});
    TopTenList list{};
    list[0] = {"O'Hara", 640, s.clock.dtNow};
    s.g.nTopTenPos = 0;
    main_window::TopTenSave(s.g, s.env, list);
    ASSERT_TRUE(s.msg.Shown.empty());

    const auto Shell = [&](const std::string& sProgram, const std::string& sInput, int& nExit) {
        return RunShell("printf \"" + sInput + "\" | " + sProgram + " '" + s.File() + "'", nExit);
    };
    int nExit = 0;
    const std::string sOut = Shell("sqlcipher",
                                   "PRAGMA key='qzvtrko';\\nSELECT name, score, date FROM topten "
                                   "LIMIT 1;\\nSELECT name FROM user;\\nSELECT level, funds, won "
                                   "FROM history;\\nPRAGMA integrity_check;\\n",
                                   nExit);
    EXPECT_EQ(nExit, 0) << sOut;
    EXPECT_NE(sOut.find("O'Hara|640|2026-07-01 12:00:00\nO'Hara\n2|340|1\nok"), std::string::npos)
        << sOut;
    EXPECT_NE(Shell("sqlcipher", "PRAGMA key='other';\\nSELECT count(*) FROM user;\\n", nExit)
                  .find("not a database"),
              std::string::npos);
    if (HaveTool("sqlite3")) {
        EXPECT_NE(Shell("sqlite3", "SELECT count(*) FROM user;\\n", nExit).find("not a database"),
                  std::string::npos);
        EXPECT_NE(nExit, 0);
    }
}

} // namespace
} // namespace corvane
