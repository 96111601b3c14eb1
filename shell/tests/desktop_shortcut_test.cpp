// The desktop shortcut on an in-memory Windows layout, and the record of the
// first start.
#include "platform/fake_platform.hpp"
#include "platform/shell_files.hpp"
#include "shell/desktop_shortcut.hpp"

#include <algorithm>
#include <map>
#include <string>

#include <gtest/gtest.h>

namespace corvane {
namespace {

// A Windows machine's files held in memory. Names match in any letter case, as
// there; the desktop folder may be missing, and one file may be read-only.
class FakeShellFiles final : public ShellFiles {
public:
    std::string SystemFolder() override { return sSystemFolder; }

    bool FindFile(const std::string& sPattern, bool& bFound, FileError& err) override {
        bFound = std::ranges::any_of(
            Files, [&](const auto& f) { return WildcardMatch(f.first, sPattern); });
        return Reachable(sPattern, err);
    }

    bool CopyReplacing(const std::string& sFrom, const std::string& sTo, FileError& err) override {
        if (!Files.contains(sFrom)) {
            return Fail(err, kErrFileNotFound, "File not found");
        }
        if (!Reachable(sTo, err)) {
            return false;
        }
        if (sTo == sReadOnly) {
            return Fail(err, kErrPermissionDenied, "Permission denied");
        }
        Files[sTo] = Files[sFrom];
        return true;
    }

    bool MakeFolderPath(const std::string& /*sPath*/, FileError& /*err*/) override { return true; }

    std::string sSystemFolder = "C:\\WINDOWS\\SYSTEM";
    std::map<std::string, std::string> Files; // contents by path
    bool bDesktop = true;
    std::string sReadOnly;

private:
    bool Reachable(const std::string& sPath, FileError& err) const {
        return bDesktop || !WildcardMatch(sPath, R"(C:\WINDOWS\DESKTOP\*)") ||
               Fail(err, kErrPathNotFound, "Path not found");
    }
    static bool Fail(FileError& err, std::int32_t nNumber, const char* sDescription) {
        err = {nNumber, sDescription};
        return false;
    }
};

constexpr const char* kApp = "C:\\Program Files\\Corvane";

// A Windows 9x machine with the program installed and an empty desktop.
struct Machine {
    Machine() {
        files.Files[ShippedLinkFile(kApp)] = "shortcut v2.2";
        g.bCopyLnk = true;
    }
    FakeShellFiles files;
    FakeMessageBoxes msg;
    MGlobal g;
};

TEST(DesktopShortcutAtStart, CopiedOnTheFirstRunOfferedLaterWhileNoneIsThere) {
    using Prepare = void (*)(Machine&);
    const Prepare kNothing = [](Machine&) {};
    // What the machine is like, whether it is the first run; whether the shortcut
    // is offered, what lands on the desktop, and the message shown.
    const std::tuple<Prepare, bool, bool, const char*, const char*> cases[] = {
        {kNothing, true, false, "shortcut v2.2", ""},
        {[](Machine& m) { m.files.Files[kDesktopLink] = "old"; }, true, false, "shortcut v2.2", ""},
        {kNothing, false, true, "", ""},
        // Another shortcut does not count; either name of ours does.
        {[](Machine& m) { m.files.Files[R"(C:\WINDOWS\DESKTOP\NOTES.LNK)"] = ""; }, false, true, "",
         ""},
        {[](Machine& m) { m.files.Files[R"(C:\WINDOWS\DESKTOP\THECORVANE GAME.LNK)"] = ""; }, false,
         false, "", ""},
        // No shipped file: no copy and no message.
        {[](Machine& m) { m.files.Files.clear(); }, true, true, "", ""},
        {[](Machine& m) { m.files.sReadOnly = kDesktopLink; }, true, true, "",
         "70: Permission denied"},
        // A desktop that cannot be searched counts as one with the shortcut.
        {[](Machine& m) { m.files.bDesktop = false; }, true, false, "", "76: Path not found"},
        {[](Machine& m) { m.g.bCopyLnk = false; }, true, false, "", ""},
        // The system folder is trimmed and compared in any case; other systems get nothing.
        {[](Machine& m) { m.files.sSystemFolder = "  c:\\windows\\System "; }, true, false,
         "shortcut v2.2", ""},
        {[](Machine& m) { m.files.sSystemFolder = "C:\\WINNT\\SYSTEM32"; }, true, false, "", ""},
        {[](Machine& m) { m.files.sSystemFolder = "D:\\WINDOWS\\SYSTEM"; }, true, false, "", ""},
        {[](Machine& m) { m.files.sSystemFolder.clear(); }, true, false, "", ""},
    };
    int nCase = 0;
    for (const auto& [setUp, bFirstRun, bOffered, sLink, sMessage] : cases) {
        SCOPED_TRACE(nCase++);
        Machine m;
        setUp(m);
        int nOffers = 0;
        EXPECT_EQ(DesktopShortcutAtStart(m.g, IsWin9xDesktop(m.files.SystemFolder()), bFirstRun,
                                         m.files, m.msg, kApp, [&] { ++nOffers; }),
                  bOffered);
        EXPECT_EQ(nOffers, bOffered ? 1 : 0);
        EXPECT_EQ(m.files.Files.contains(kDesktopLink) ? m.files.Files[kDesktopLink] : "", sLink);
        ASSERT_EQ(m.msg.Shown.size(), *sMessage == '\0' ? 0U : 1U);
        if (!m.msg.Shown.empty()) {
            EXPECT_EQ(m.msg.Shown[0].sText, sMessage);
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
