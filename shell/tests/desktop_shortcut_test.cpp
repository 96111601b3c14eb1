// The desktop shortcut on an in-memory Windows layout, and the record of the
// first start.
#include "fake_shell_files.hpp"
#include "platform/fake_platform.hpp"
#include "shell/desktop_shortcut.hpp"

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
    FakeShellFiles files;
    FakeMessageBoxes msg;
    MGlobal g;
};

TEST(DesktopShortcutAtStart, CopiedOnTheFirstRunOfferedLaterWhileNoneIsThere) {
    struct Case {
        const char* sWhat;
        void (*setUp)(Machine&);
        bool bFirstRun;
        bool bOffered;
        const char* sLink;
        const char* sMessage;
    };
    const Case cases[] = {
        {"first run copies quietly", [](Machine&) {}, true, false, "shortcut v2.2", ""},
        {"first run replaces an old one", [](Machine& m) { m.files.Files[kDesktopLink] = "old"; },
         true, false, "shortcut v2.2", ""},
        {"later run offers", [](Machine&) {}, false, true, "", ""},
        {"another shortcut does not count",
         [](Machine& m) { m.files.Files[R"(C:\WINDOWS\DESKTOP\NOTES.LNK)"] = ""; }, false, true, "",
         ""},
        {"either name counts",
         [](Machine& m) { m.files.Files[R"(C:\WINDOWS\DESKTOP\THECORVANE GAME.LNK)"] = ""; }, false,
         false, "", ""},
        {"no shipped file, no copy and no message", [](Machine& m) { m.files.Files.clear(); }, true,
         true, "", ""},
        {"a failed first copy still offers",
         [](Machine& m) { m.files.ReadOnly.insert(kDesktopLink); }, true, true, "",
         "70: Permission denied"},
        {"an unsearchable desktop counts as one with the shortcut",
         [](Machine& m) { m.files.Folders.erase("C:\\WINDOWS\\DESKTOP"); }, true, false, "",
         "76: Path not found"},
        {"option off", [](Machine& m) { m.g.bCopyLnk = false; }, true, false, "", ""},
        {"system folder trimmed, in any case",
         [](Machine& m) { m.files.sSystemFolder = "  c:\\windows\\System "; }, true, false,
         "shortcut v2.2", ""},
        {"other system", [](Machine& m) { m.files.sSystemFolder = "C:\\WINNT\\SYSTEM32"; }, true,
         false, "", ""},
        {"other drive", [](Machine& m) { m.files.sSystemFolder = "D:\\WINDOWS\\SYSTEM"; }, true,
         false, "", ""},
        {"no system folder", [](Machine& m) { m.files.sSystemFolder.clear(); }, true, false, "",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sWhat);
        Machine m;
        c.setUp(m);
        int nOffers = 0;
        EXPECT_EQ(DesktopShortcutAtStart(m.g, IsWin9xDesktop(m.files.SystemFolder()), c.bFirstRun,
                                         m.files, m.msg, kApp, [&] { ++nOffers; }),
                  c.bOffered);
        EXPECT_EQ(nOffers, c.bOffered ? 1 : 0);
        EXPECT_EQ(m.files.Files.contains(kDesktopLink) ? m.files.Files[kDesktopLink] : "", c.sLink);
        ASSERT_EQ(m.msg.Shown.size(), *c.sMessage == '\0' ? 0U : 1U);
        if (!m.msg.Shown.empty()) {
            EXPECT_EQ(m.msg.Shown[0].sText, c.sMessage);
            EXPECT_EQ(m.msg.Shown[0].sTitle, "CopyLinkToDeskTop");
            EXPECT_EQ(m.msg.Shown[0].icon, MsgIcon::Exclamation);
        }
    }
}

TEST(StartRecord, FirstRunUntilRecorded) {
    FakeFileSystem files;
    EXPECT_TRUE(IsFirstRun(files, "/opt/corvane"));
    RecordStart(files, "/opt/corvane");
    EXPECT_FALSE(IsFirstRun(files, "/opt/corvane"));
    EXPECT_TRUE(IsFirstRun(files, "/opt/other"));
}

} // namespace
} // namespace corvane
