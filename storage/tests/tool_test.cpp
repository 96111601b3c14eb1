// The fresh-database tool, the build's fresh database, and the file as other
// tools see it: the sqlcipher shell opens it with the password, sqlite3 cannot.
#include "test_support.hpp"

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::QueryInt;

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
    EXPECT_EQ(QueryInt(CORVANE_BUILD_DB, "SELECT count(*) FROM history"), 0); // the build's copy
    testing::TempDir dir;
    const std::string sFile = (dir.Path() / "corvane.mdb").string();
    const std::string sMake = std::string(CORVANE_MKDB) + " '" + sFile + "'";
    ASSERT_EQ(RunShell(sMake).second, 0);
    EXPECT_EQ(QueryInt(sFile, "SELECT nextuserid FROM system"), 1);
    EXPECT_EQ(QueryInt(sFile, "SELECT count(*) FROM topten"), 0);
    testing::ExecDirect(sFile, "UPDATE system SET nextuserid = 77");
    EXPECT_EQ(RunShell(sMake).second, 0);
    EXPECT_EQ(QueryInt(sFile, "SELECT nextuserid FROM system"), 77);
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

} // namespace
} // namespace corvane
