// The desktop shortcut on an in-memory Windows layout, and the local file
// services on a scratch folder.
#include "fake_shell_files.hpp"
#include "platform/fake_platform.hpp"
#include "shell/desktop_shortcut.hpp"
#include "tests/support/scratch.hpp"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::FakeShellFiles;

constexpr const char* kApp = "C:\\Program Files\\Corvane";

// A Windows 9x machine with the program installed and an empty desktop.
struct Machine {
    Machine() {
        files.Folders = {"C:\\WINDOWS", "C:\\WINDOWS\\DESKTOP", FakeShellFiles::Key(kApp)};
        files.Files[FakeShellFiles::Key(ShippedLinkFile(kApp))] = "shortcut v2.2";
        g.bCopyLnk = true;
    }
    bool Start(bool bFirstRun) {
        nOffers = 0;
        return DesktopShortcutAtStart(g, IsWin9xDesktop(files.SystemFolder()), bFirstRun, files,
                                      msg, kApp, [this] { ++nOffers; });
    }
    std::string Link() const {
        return files.Files.contains(kDesktopLink) ? files.Files.at(kDesktopLink) : "";
    }
    FakeShellFiles files;
    FakeMessageBoxes msg;
    MGlobal g;
    int nOffers = 0;
};

TEST(DesktopLinkExists, EitherNamePatternOrAnUnsearchableDesktop) {
    for (const char* sName : {"TheCorvane Game.lnk", "CORVANE.LNK"}) {
        Machine m;
        m.files.Files["C:\\WINDOWS\\DESKTOP\\NOTES.LNK"] = "";
        EXPECT_FALSE(DesktopLinkExists(m.files));
        m.files.Files[FakeShellFiles::Key(std::string("C:\\WINDOWS\\DESKTOP\\") + sName)] = "";
        EXPECT_TRUE(DesktopLinkExists(m.files)) << sName;
    }
    Machine m;
    m.files.Folders.clear();
    EXPECT_TRUE(DesktopLinkExists(m.files));
}

TEST(CopyLinkToDeskTop, ReplacesOrShowsNumberAndDescription) {
    Machine m;
    m.files.Files[kDesktopLink] = "old";
    CopyLinkToDeskTop(m.files, m.msg, kApp);
    EXPECT_EQ(m.Link(), "shortcut v2.2");
    EXPECT_TRUE(m.msg.Shown.empty());

    Machine unshipped;
    unshipped.files.Files.clear();
    CopyLinkToDeskTop(unshipped.files, unshipped.msg, kApp);
    EXPECT_TRUE(unshipped.files.Files.empty());
    EXPECT_TRUE(unshipped.msg.Shown.empty());

    Machine noDesktop;
    noDesktop.files.Folders.erase("C:\\WINDOWS\\DESKTOP");
    CopyLinkToDeskTop(noDesktop.files, noDesktop.msg, kApp);
    ASSERT_EQ(noDesktop.msg.Shown.size(), 1U);
    EXPECT_EQ(noDesktop.msg.Shown[0].sText, "76: Path not found");
    EXPECT_EQ(noDesktop.msg.Shown[0].sTitle, "CopyLinkToDeskTop");
    EXPECT_EQ(noDesktop.msg.Shown[0].icon, MsgIcon::Exclamation);
}

TEST(DesktopShortcutAtStart, CopiedOnTheFirstRunOfferedLater) {
    struct Case {
        const char* sWhat;
        bool bCopyLnk;
        const char* sSystemFolder;
        bool bFirstRun;
        bool bLocked;
        bool bOffered;
        const char* sLink;
        std::size_t nMessages;
    };
    const Case cases[] = {
        {"first run copies quietly", true, "C:\\WINDOWS\\SYSTEM", true, false, false,
         "shortcut v2.2", 0},
        {"later run offers", true, "C:\\WINDOWS\\SYSTEM", false, false, true, "", 0},
        {"a failed first copy still offers", true, "C:\\WINDOWS\\SYSTEM", true, true, true, "", 1},
        {"option off", false, "C:\\WINDOWS\\SYSTEM", true, false, false, "", 0},
        {"system folder trimmed, in any case", true, "  c:\\windows\\System ", true, false, false,
         "shortcut v2.2", 0},
        {"other system", true, "C:\\WINNT\\SYSTEM32", true, false, false, "", 0},
        {"other drive", true, "D:\\WINDOWS\\SYSTEM", true, false, false, "", 0},
        {"no system folder", true, "", true, false, false, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sWhat);
        Machine m;
        m.g.bCopyLnk = c.bCopyLnk;
        m.files.sSystemFolder = c.sSystemFolder;
        if (c.bLocked) {
            m.files.ReadOnly.insert(kDesktopLink);
        }
        EXPECT_EQ(m.Start(c.bFirstRun), c.bOffered);
        EXPECT_EQ(m.nOffers, c.bOffered ? 1 : 0);
        EXPECT_EQ(m.Link(), c.sLink);
        EXPECT_EQ(m.msg.Shown.size(), c.nMessages);
    }
    // No offer once a shortcut is on the desktop.
    Machine m;
    m.files.Files["C:\\WINDOWS\\DESKTOP\\THECORVANE.LNK"] = "";
    EXPECT_FALSE(m.Start(false));
}

TEST(StartRecord, FirstRunUntilRecorded) {
    FakeFileSystem files;
    EXPECT_TRUE(IsFirstRun(files, "/opt/corvane"));
    RecordStart(files, "/opt/corvane");
    EXPECT_FALSE(IsFirstRun(files, "/opt/corvane"));
    EXPECT_TRUE(IsFirstRun(files, "/opt/other"));
}

#ifndef _WIN32
TEST(LocalShellFiles, SearchesInAnyCaseAndNamesTheFailures) {
    const testing::TempDir dir;
    const auto In = [&dir](const char* sName) { return (dir.Path() / sName).string(); };
    std::ofstream(In("TheCorvane Game.LNK")) << "new";
    LocalShellFiles files;
    EXPECT_EQ(files.SystemFolder(), "");
    bool bFound = false;
    FileError err;
    EXPECT_TRUE(files.FindFile(In("thecorv*.lnk"), bFound, err) && bFound);
    EXPECT_TRUE(files.FindFile(In("Corvane*.lnk"), bFound, err) && !bFound);
    EXPECT_FALSE(files.FindFile(In("missing/Corvane*.lnk"), bFound, err));
    EXPECT_EQ(err.nNumber, kErrPathNotFound);
    EXPECT_FALSE(files.CopyReplacing(In("none.txt"), In("c.txt"), err));
    EXPECT_EQ(err.nNumber, kErrFileNotFound);
    EXPECT_FALSE(files.MakeFolderPath(In("TheCorvane Game.LNK/sub"), err));
}
#endif

} // namespace
} // namespace corvane
