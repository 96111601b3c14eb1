// The local file system and the shell's file operations on a scratch folder, and
// the program's folder.
#include "platform/file_system.hpp"
#include "platform/program_folder.hpp"
#include "platform/shell_files.hpp"
#include "tests/support/scratch.hpp"

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;

class LocalFileSystemTest : public ::testing::Test {
protected:
    std::string Path(const std::string& sName) const { return (dir_.Path() / sName).string(); }
    std::string Read(const std::string& sName) {
        std::string sText;
        return files_.ReadFile(Path(sName), sText, sError_) ? sText : "error: " + sError_;
    }
    // What a call that should fail says.
    std::string Failure(bool bDone) const { return bDone ? "done" : sError_; }

    testing::TempDir dir_;
    LocalFileSystem files_;
    std::string sError_;
};

TEST_F(LocalFileSystemTest, NamesAndLetterCase) {
    const std::string sep(1, kPathSep);
    // A folder that already ends in a separator gets a second one, as the program builds it.
    EXPECT_EQ(JoinPath("data" + sep, "x"), "data" + sep + sep + "x");
    std::ofstream(Path("Games.txt")) << "x";
    // The platform's word agrees with the file system it runs on.
    EXPECT_EQ(files_.FileExists(Path("games.txt")), FileSystemFoldsCase());
    EXPECT_EQ(SamePath("/srv/Games", "/srv/games"), FileSystemFoldsCase());
    EXPECT_TRUE(SamePath("/srv/games", "/srv/games") && !SamePath("/srv/games", "/srv/game"));
    // Messages show a name that exists.
    EXPECT_EQ(PathUpperCase("/home/ann/x.mdb") == "/home/ann/x.mdb", !FileSystemFoldsCase());
    EXPECT_EQ(PathLowerCase("/home/Ann/x.mdb") == "/home/Ann/x.mdb", !FileSystemFoldsCase());
}

TEST_F(LocalFileSystemTest, FilesAreCopiedAndWrittenWholeAndNeverReplacedByACopy) {
    const std::string sBytes("a\0b\r\nc", 6);
    ASSERT_TRUE(files_.WriteFileAtomic(Path("from"), "first version, long text\r\n", sError_));
    ASSERT_TRUE(files_.WriteFileAtomic(Path("from"), sBytes, sError_));
    ASSERT_TRUE(files_.CopyFile(Path("from"), Path("to"), sError_)) << sError_;
    EXPECT_EQ(Read("to"), sBytes);
    EXPECT_EQ(Failure(files_.CopyFile(Path("from"), Path("to"), sError_)), "File already exists");
    EXPECT_EQ(Failure(files_.CopyFile(Path("missing"), Path("x"), sError_)), "File not found");

    // A folder is made, is there afterwards, needs its parent and no file in the way; only
    // files exist as files.
    EXPECT_EQ((std::array{files_.MakeFolder(Path("new"), sError_),
                          files_.MakeFolder(Path("new"), sError_),
                          files_.MakeFolder(Path("no/such/parent"), sError_),
                          files_.MakeFolder(Path("to"), sError_), files_.FileExists(Path("to")),
                          files_.FileExists(Path("new")), files_.FileExists("")}),
              (std::array{true, true, false, false, true, false, false}));
    EXPECT_EQ(Failure(files_.WriteFileAtomic(Path("new"), "x", sError_)), "Path/File access error");
    // No temporary file is left beside them, even by a write that failed.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 3);

    EXPECT_EQ(Failure(files_.WriteFileAtomic(Path("missing-folder/s.ini"), "x", sError_)),
              "File not found");
    EXPECT_EQ(Read("missing"), "error: File not found");
    EXPECT_EQ(Read("new"), "error: Path/File access error");
}

TEST_F(LocalFileSystemTest,
       ShellCopiesReportTheirCauseSearchesFindAndTheProgramFolderHoldsTheTest) {
    LocalShellFiles shell;
    FileError err;
    std::ofstream(Path("a.txt")) << "x";
    fs::create_directory(dir_.Path() / "folder");
    EXPECT_TRUE(!shell.CopyReplacing(Path("a.txt"), Path("folder"), err) &&
                err.nNumber == kErrPathFileAccess);
    EXPECT_TRUE(!shell.CopyReplacing(Path("b.txt"), Path("c"), err) &&
                err.nNumber == kErrFileNotFound);
    EXPECT_TRUE(!shell.MakeFolderPath(Path("a.txt/sub"), err) && err.nNumber == kErrPathNotFound);
    // A search looks in the pattern's folder, its wildcards matching letters in any case.
    bool bFound = false;
    EXPECT_TRUE(shell.FindFile(Path("A.T?T"), bFound, err) && bFound);
    EXPECT_TRUE(shell.FindFile(Path("*.doc"), bFound, err) && !bFound);
    EXPECT_TRUE(shell.FindFile(Path("a.t?"), bFound, err) && !bFound);
    EXPECT_FALSE(shell.FindFile(Path("none/*"), bFound, err)); // a folder that is not there
    // The program's folder is the one holding this test, without a separator at the end.
    const std::string sFolder = ProgramFolder();
    EXPECT_TRUE(fs::is_regular_file(sFolder + kPathSep + "platform_tests"));
    EXPECT_FALSE(sFolder.ends_with(kPathSep));
}

} // namespace
} // namespace corvane
