// The local file system on a scratch folder, the program's folder and the fakes.
#include "platform/fake_platform.hpp"
#include "platform/file_system.hpp"
#include "platform/program_folder.hpp"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;

class LocalFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("corvane-platform-" + std::to_string(rd()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& sName) const { return (dir_ / sName).string(); }

    static void Put(const std::string& sPath, const std::string& sText) {
        std::ofstream(sPath, std::ios::binary) << sText;
    }

    fs::path dir_;
    LocalFileSystem files_;
};

TEST(JoinPathTest, AppendsSeparatorAndNameWithoutLookingAtTheFolder) {
    const std::string sep(1, kPathSep);
    EXPECT_EQ(JoinPath("data", "corvane.mdb"), "data" + sep + "corvane.mdb");
    // A folder that already ends in a separator gets a second one, as the program builds it.
    EXPECT_EQ(JoinPath("data" + sep, "x"), "data" + sep + sep + "x");
}

TEST_F(LocalFileSystemTest, LetterCaseCountsWhereTheFileSystemTellsItApart) {
    Put(Path("Games.txt"), "x");
    // The platform's word agrees with the file system it runs on.
    EXPECT_EQ(files_.FileExists(Path("games.txt")), FileSystemFoldsCase());
    EXPECT_EQ(SamePath("/srv/Games", "/srv/games"), FileSystemFoldsCase());
    EXPECT_TRUE(SamePath("/srv/games", "/srv/games"));
    EXPECT_FALSE(SamePath("/srv/games", "/srv/game"));
    // Messages show a name that exists.
    EXPECT_EQ(PathUpperCase("/home/ann/corvane.mdb") == "/home/ann/corvane.mdb",
              !FileSystemFoldsCase());
}

TEST_F(LocalFileSystemTest, ExistsFindsFilesOnly) {
    Put(Path("a.txt"), "x");
    fs::create_directory(dir_ / "sub");
    EXPECT_TRUE(files_.FileExists(Path("a.txt")));
    EXPECT_FALSE(files_.FileExists(Path("sub")));
    EXPECT_FALSE(files_.FileExists(Path("missing")));
    EXPECT_FALSE(files_.FileExists(""));
}

TEST_F(LocalFileSystemTest, CopyKeepsBytesAndNeverReplaces) {
    const std::string sBytes("a\0b\r\nc", 6);
    Put(Path("from"), sBytes);
    std::string sError;
    ASSERT_TRUE(files_.CopyFile(Path("from"), Path("to"), sError)) << sError;
    std::string sRead;
    ASSERT_TRUE(files_.ReadFile(Path("to"), sRead, sError));
    EXPECT_EQ(sRead, sBytes);

    Put(Path("other"), "keep");
    EXPECT_FALSE(files_.CopyFile(Path("from"), Path("other"), sError));
    EXPECT_FALSE(sError.empty());
    ASSERT_TRUE(files_.ReadFile(Path("other"), sRead, sError));
    EXPECT_EQ(sRead, "keep");

    EXPECT_FALSE(files_.CopyFile(Path("missing"), Path("x"), sError));
    EXPECT_EQ(sError, "File not found");
}

TEST_F(LocalFileSystemTest, MakeFolderAcceptsAnExistingFolder) {
    std::string sError;
    EXPECT_TRUE(files_.MakeFolder(Path("new"), sError));
    EXPECT_TRUE(fs::is_directory(dir_ / "new"));
    EXPECT_TRUE(files_.MakeFolder(Path("new"), sError));
    EXPECT_FALSE(files_.MakeFolder(Path("no/such/parent"), sError));
    EXPECT_FALSE(sError.empty());
}

TEST_F(LocalFileSystemTest, AtomicWriteReplacesWholeFileAndLeavesNoTemporary) {
    std::string sError;
    ASSERT_TRUE(files_.WriteFileAtomic(Path("s.ini"), "first version, long text\r\n", sError));
    ASSERT_TRUE(files_.WriteFileAtomic(Path("s.ini"), "second\r\n", sError));
    std::string sRead;
    ASSERT_TRUE(files_.ReadFile(Path("s.ini"), sRead, sError));
    EXPECT_EQ(sRead, "second\r\n");
    int nEntries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) {
        ++nEntries;
    }
    EXPECT_EQ(nEntries, 1);
}

TEST_F(LocalFileSystemTest, FailuresCarryADescription) {
    std::string sError;
    EXPECT_FALSE(files_.WriteFileAtomic(Path("missing-folder/s.ini"), "x", sError));
    EXPECT_EQ(sError, "File not found");
    std::string sRead;
    EXPECT_FALSE(files_.ReadFile(Path("missing"), sRead, sError));
    EXPECT_EQ(sError, "File not found");
    fs::create_directory(dir_ / "folder");
    EXPECT_FALSE(files_.ReadFile(Path("folder"), sRead, sError));
    EXPECT_FALSE(sError.empty());
}

TEST(ProgramFolderTest, IsTheFolderHoldingThisTest) {
    const std::string sFolder = ProgramFolder();
    ASSERT_FALSE(sFolder.empty());
    EXPECT_TRUE(fs::is_regular_file(fs::path(sFolder) / "platform_tests"));
    EXPECT_NE(sFolder.back(), kPathSep);
}

TEST(FakePlatformTest, MessageBoxesRecordAndAnswerInOrder) {
    FakeMessageBoxes boxes;
    boxes.Answers = {MsgAnswer::No};
    boxes.Show("text", "title", MsgIcon::Exclamation);
    EXPECT_EQ(boxes.AskYesNo("q1", "t", MsgIcon::Question), MsgAnswer::No);
    EXPECT_EQ(boxes.AskYesNo("q2", "t", MsgIcon::Question), MsgAnswer::Yes);
    boxes.Beep();
    ASSERT_EQ(boxes.Shown.size(), 3U);
    EXPECT_EQ(boxes.Shown[0].sTitle, "title");
    EXPECT_FALSE(boxes.Shown[0].bYesNo);
    EXPECT_TRUE(boxes.Shown[1].bYesNo);
    EXPECT_EQ(boxes.nBeeps, 1);
}

TEST(FakePlatformTest, FileSystemFailsWhereTold) {
    FakeFileSystem files;
    files.Files["a"] = "1";
    files.Unwritable.insert("b");
    std::string sError;
    EXPECT_FALSE(files.CopyFile("a", "b", sError));
    EXPECT_EQ(sError, "Permission denied");
    EXPECT_TRUE(files.CopyFile("a", "c", sError));
    EXPECT_FALSE(files.CopyFile("a", "c", sError));
    EXPECT_FALSE(files.WriteFileAtomic("b", "x", sError));
    EXPECT_TRUE(files.FileExists("c"));
}

} // namespace
} // namespace corvane
