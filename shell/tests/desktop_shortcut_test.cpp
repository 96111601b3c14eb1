// The desktop shortcut on an in-memory Windows layout, and the local file
// services on a scratch folder.
#include "fake_shell_files.hpp"
#include "platform/fake_platform.hpp"
#include "shell/desktop_shortcut.hpp"

#include <filesystem>
#include <fstream>
#include <random>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::FakeShellFiles;

constexpr const char* kApp = "C:\\Program Files\\Corvane";
constexpr const char* kShipped = "C:\\Program Files\\Corvane\\corvane.lnx";
constexpr const char* kDesktop = "C:\\WINDOWS\\DESKTOP";

// A Windows 9x machine with the program installed and an empty desktop.
struct Machine {
    Machine() {
        files.sSystemFolder = "C:\\WINDOWS\\SYSTEM";
        files.AddFolder("C:\\WINDOWS");
        files.AddFolder(kDesktop);
        files.AddFolder(kApp);
        files.AddFile(kShipped, "shortcut v2.2");
        g.bCopyLnk = true;
    }
    bool Start(bool bFirstRun) {
        nOffers = 0;
        return DesktopShortcutAtStart(g, IsWin9xDesktop(files.SystemFolder()), bFirstRun, files,
                                      msg, kApp, [this] { ++nOffers; });
    }
    FakeShellFiles files;
    FakeMessageBoxes msg;
    MGlobal g;
    int nOffers = 0;
};

TEST(IsWin9xDesktop, TrimmedAndInAnyCase) {
    EXPECT_TRUE(IsWin9xDesktop("C:\\WINDOWS\\SYSTEM"));
    EXPECT_TRUE(IsWin9xDesktop("c:\\windows\\system "));
    EXPECT_TRUE(IsWin9xDesktop("  C:\\Windows\\System"));
    EXPECT_FALSE(IsWin9xDesktop("C:\\WINNT\\SYSTEM32"));
    EXPECT_FALSE(IsWin9xDesktop("D:\\WINDOWS\\SYSTEM"));
    EXPECT_FALSE(IsWin9xDesktop(""));
}

TEST(WildcardMatch, StarQuestionMarkAndAnyCase) {
    EXPECT_TRUE(WildcardMatch("CORVANE.LNK", "Corvane*.lnk"));
    EXPECT_TRUE(WildcardMatch("Corvane v2.2.lnk", "Corvane*.lnk"));
    EXPECT_TRUE(WildcardMatch("thecorvane game.LNK", "TheCorv*.lnk"));
    EXPECT_TRUE(WildcardMatch("a.lnk", "?.lnk"));
    EXPECT_FALSE(WildcardMatch("Corvane.lnx", "Corvane*.lnk"));
    EXPECT_FALSE(WildcardMatch("My Corvane.lnk", "Corvane*.lnk"));
    EXPECT_FALSE(WildcardMatch("Corvane.lnk.bak", "Corvane*.lnk"));
}

TEST(DesktopLinkExists, EitherNamePatternCounts) {
    Machine m;
    EXPECT_FALSE(DesktopLinkExists(m.files));
    m.files.AddFile("C:\\WINDOWS\\DESKTOP\\Notes.lnk", "");
    EXPECT_FALSE(DesktopLinkExists(m.files));
    m.files.AddFile("C:\\WINDOWS\\DESKTOP\\TheCorvane Game.lnk", "");
    EXPECT_TRUE(DesktopLinkExists(m.files));

    Machine other;
    other.files.AddFile("C:\\WINDOWS\\DESKTOP\\CORVANE.LNK", "");
    EXPECT_TRUE(DesktopLinkExists(other.files));
}

TEST(DesktopLinkExists, AnUnsearchableDesktopCountsAsPresent) {
    Machine m;
    m.files.Folders.clear();
    EXPECT_TRUE(DesktopLinkExists(m.files));
}

TEST(CopyLinkToDeskTop, ReplacesTheDesktopShortcut) {
    Machine m;
    m.files.AddFile("C:\\Windows\\Desktop\\Corvane.lnk", "old");
    CopyLinkToDeskTop(m.files, m.msg, kApp);
    EXPECT_EQ(m.files.Contents(kDesktopLink), "shortcut v2.2");
    EXPECT_TRUE(m.msg.Shown.empty());
}

TEST(CopyLinkToDeskTop, MissingShippedFileDoesNothingQuietly) {
    Machine m;
    m.files.Files.clear();
    CopyLinkToDeskTop(m.files, m.msg, kApp);
    EXPECT_FALSE(m.files.Has(kDesktopLink));
    EXPECT_TRUE(m.msg.Shown.empty());
}

TEST(CopyLinkToDeskTop, FailureShowsNumberAndDescription) {
    Machine m;
    m.files.Folders.erase("C:\\WINDOWS\\DESKTOP");
    CopyLinkToDeskTop(m.files, m.msg, kApp);
    ASSERT_EQ(m.msg.Shown.size(), 1U);
    EXPECT_EQ(m.msg.Shown[0].sText, "76: Path not found");
    EXPECT_EQ(m.msg.Shown[0].sTitle, "CopyLinkToDeskTop");
    EXPECT_EQ(m.msg.Shown[0].icon, MsgIcon::Exclamation);

    Machine locked;
    locked.files.MakeReadOnly(kDesktopLink);
    CopyLinkToDeskTop(locked.files, locked.msg, kApp);
    ASSERT_EQ(locked.msg.Shown.size(), 1U);
    EXPECT_EQ(locked.msg.Shown[0].sText, "70: Permission denied");
}

TEST(DesktopShortcutAtStart, FirstRunCopiesWithoutAskingAndMakesNoOffer) {
    Machine m;
    EXPECT_FALSE(m.Start(true));
    EXPECT_TRUE(m.files.Has(kDesktopLink));
    EXPECT_EQ(m.nOffers, 0);
    EXPECT_TRUE(m.msg.Shown.empty());
}

TEST(DesktopShortcutAtStart, LaterRunOffersOnlyWhileNoShortcutIsThere) {
    Machine m;
    EXPECT_TRUE(m.Start(false));
    EXPECT_EQ(m.nOffers, 1);
    EXPECT_FALSE(m.files.Has(kDesktopLink));

    m.files.AddFile("C:\\WINDOWS\\DESKTOP\\TheCorvane.lnk", "");
    EXPECT_FALSE(m.Start(false));
    EXPECT_EQ(m.nOffers, 0);
}

TEST(DesktopShortcutAtStart, AFirstRunWhoseCopyFailedStillOffers) {
    Machine m;
    m.files.MakeReadOnly(kDesktopLink);
    EXPECT_TRUE(m.Start(true));
    EXPECT_EQ(m.msg.Shown.size(), 1U);
}

TEST(DesktopShortcutAtStart, NothingWithoutTheOptionOrOnOtherSystems) {
    Machine off;
    off.g.bCopyLnk = false;
    EXPECT_FALSE(off.Start(true));
    EXPECT_FALSE(off.Start(false));
    EXPECT_FALSE(off.files.Has(kDesktopLink));

    Machine nt;
    nt.files.sSystemFolder = "C:\\WINNT\\SYSTEM32";
    EXPECT_FALSE(nt.Start(true));
    EXPECT_FALSE(nt.Start(false));
    EXPECT_FALSE(nt.files.Has(kDesktopLink));

    Machine noSystemFolder;
    noSystemFolder.files.sSystemFolder = "";
    EXPECT_FALSE(noSystemFolder.Start(true));
    EXPECT_FALSE(noSystemFolder.files.Has(kDesktopLink));
    EXPECT_TRUE(noSystemFolder.msg.Shown.empty());
}

TEST(StartRecord, FirstRunUntilRecorded) {
    FakeFileSystem files;
    EXPECT_TRUE(IsFirstRun(files, "/opt/corvane"));
    RecordStart(files, "/opt/corvane");
    EXPECT_FALSE(IsFirstRun(files, "/opt/corvane"));
    EXPECT_TRUE(IsFirstRun(files, "/opt/other"));
}

// ---- the machine's own services, on a scratch folder

class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("corvane-shell-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string operator/(const std::string& s) const { return (path_ / s).string(); }
    void Write(const std::string& sName, const std::string& sText) const {
        std::ofstream(path_ / sName) << sText;
    }

private:
    std::filesystem::path path_;
};

std::string ReadAll(const std::string& sPath) {
    std::ifstream in(sPath);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(LocalShellFiles, SearchesWithWildcardsInAnyCase) {
    ScratchFolder dir;
    dir.Write("TheCorvane Game.LNK", "x");
    LocalShellFiles files;
    bool bFound = false;
    FileError err;
    ASSERT_TRUE(files.FindFile(dir / "thecorv*.lnk", bFound, err));
    EXPECT_TRUE(bFound);
    ASSERT_TRUE(files.FindFile(dir / "Corvane*.lnk", bFound, err));
    EXPECT_FALSE(bFound);
    EXPECT_FALSE(files.FindFile(dir / "missing/Corvane*.lnk", bFound, err));
    EXPECT_EQ(err.nNumber, kErrPathNotFound);
}

TEST(LocalShellFiles, CopyReplacesAndFoldersAreMadeWhole) {
    ScratchFolder dir;
    dir.Write("a.txt", "new");
    dir.Write("b.txt", "old");
    LocalShellFiles files;
    FileError err;
    ASSERT_TRUE(files.CopyReplacing(dir / "a.txt", dir / "b.txt", err));
    EXPECT_EQ(ReadAll(dir / "b.txt"), "new");
    EXPECT_FALSE(files.CopyReplacing(dir / "none.txt", dir / "c.txt", err));
    EXPECT_EQ(err.nNumber, kErrFileNotFound);
    EXPECT_FALSE(files.CopyReplacing(dir / "a.txt", dir / "no/such/c.txt", err));
    EXPECT_EQ(err.nNumber, kErrPathNotFound);

    ASSERT_TRUE(files.MakeFolderPath(dir / "Corvane/mail-out", err));
    ASSERT_TRUE(files.MakeFolderPath(dir / "Corvane/mail-out", err));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Corvane/mail-out"));
    EXPECT_FALSE(files.MakeFolderPath(dir / "a.txt/sub", err));
}

#ifndef _WIN32
TEST(LocalShellFiles, NoSystemFolderHereSoNoShortcutWork) {
    LocalShellFiles files;
    EXPECT_EQ(files.SystemFolder(), "");
    EXPECT_FALSE(IsWin9xDesktop(files.SystemFolder()));
}
#endif

} // namespace
} // namespace corvane
