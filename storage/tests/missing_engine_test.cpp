// A machine without the database engine's library. This program links a loader
// of its own that finds no library, in place of the platform's.
#include "platform/system_library.hpp"
#include "test_support.hpp"

#include <fstream>
#include <string>
#include <tuple>

namespace corvane {

void* OpenSystemLibrary(const char* /*sFile*/) {
    return nullptr;
}
void* SystemLibrarySymbol(void* /*pLibrary*/, const char* /*sName*/) {
    return nullptr;
}
const char* DatabaseEngineLibraryName() {
    return "libsqlcipher.so.0";
}

namespace {

// The player is told through the usual database error, and the program ends.
TEST(MissingEngineTest, IsReportedAsADatabaseErrorThatEndsTheProgram) {
    const testing::TempDir dir;
    testing::Session s(dir.Sub("app"));
    std::ofstream(s.File(), std::ios::binary) << std::string(4096, 'x');
    DeriveKeyAhead(s.g, s.env); // the key worker finds no engine either
    EXPECT_EQ((std::tuple{GetNextUserID(s.g, s.env), s.g.bDBError, HandleDBError(s.g, s.env)}),
              std::tuple(0, true, DbRecovery::EndProgram));
    ASSERT_EQ(s.msg.Shown.size(), 1U);
    EXPECT_EQ(s.msg.Shown[0].sTitle + ": " + s.msg.Shown[0].sText,
              "GetNextUserID: 14: The database engine could not be loaded (libsqlcipher.so.0).");
}

} // namespace
} // namespace corvane
