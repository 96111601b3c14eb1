// The settings file's rules, on the in-memory file system.
#include "platform/fake_platform.hpp"
#include "storage/settings.hpp"
#include "storage/view_settings.hpp"

#include <array>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

namespace corvane {
namespace {

const std::string kApp = "C:\\Games\\Corvane";
const std::string kInstall = "C:\\Program Files\\The Corvane Game";

// The messages shown as "| title: text" lines, each with its beep; clears them.
std::string Shown(FakeMessageBoxes& msg) {
    std::string s;
    for (const ShownMessage& m : msg.Shown) {
        s += " | " + m.sTitle + ": " + m.sText;
    }
    s += msg.nBeeps == static_cast<int>(msg.Shown.size()) ? "" : " (beeps differ)";
    msg.Shown.clear();
    msg.nBeeps = 0;
    return s;
}

// What a settings file of this text leaves of the options as "id speed
// sound-and-animals path" (7 5000 10 before), with the messages shown.
std::string Load(const std::string& sText) {
    FakeFileSystem files;
    FakeMessageBoxes msg;
    files.Files[IniFileName(kApp)] = sText;
    MGlobal g;
    std::tie(g.nLastUserID, g.bSoundOn, g.lAnimSpeed) = std::tuple(7, true, 5000);
    Ini_Load(g, IniFileName(kApp), kApp, files, msg);
    return std::to_string(g.nLastUserID) + " " + std::to_string(g.lAnimSpeed) + " " +
           (g.bSoundOn ? "1" : "0") + (g.bAnimals ? "1" : "0") + " " + g.sDBPath + Shown(msg);
}

TEST(SettingsTest, LoadReadsEachLineByItsRules) {
    const auto cases = std::to_array<std::pair<std::string, std::string>>({
        // Only TRUE in capitals is true; the key is the first seven characters;
        // a number is the leading one of its value, halves rounded to even.
        {"[Options]\r\nsoundon=true\r\nanimspd=80\r\nuser_id=12abc\r\ndb_path = C:\\GAMES \r\n",
         "12 80000 00 C:\\GAMES"},
        {"user_id=\r\nanimspd=2.5\r\n", "0 2000 10 "},
        {"animspd=3.5\r\nuser_id=-7.6", "-8 4000 10 "},
        {"user_id=1e3\r\ndb_path=APPPATH\r\n", "1000 5000 10 " + kApp},
        {"user_id=abc\r\ndb_path=apppath\r\n", "0 5000 10 apppath"},
        {"db_path=D:\\data\\\r\n", "7 5000 10 D:\\data\\"},
        {"db_path=a=b\r\n", "7 5000 10 a=b"},
        // Keys in other case and unknown lines are ignored.
        {"SOUNDON=FALSE\r\nAnimspd=9\r\n\r\nmaxform=1\r\ncopylnk=TRUE\r\nsoundo\r\nrandom\r\n",
         "7 5000 10 "},
        // Later lines win; a lone CR or LF ends a line too.
        {"animals=TRUE\nanimals=FALSE\ranimals=TRUE\r\nuser_id=1\r\nuser_id=2", "2 5000 11 "},
        // A number out of range keeps the value, and the lines after it are read.
        {"animspd=2147484\r\nuser_id=5\r\n", "5 5000 10  | Ini File: Overflow"},
        {"animspd=2147483\r\nanimspd=-2147484\r\nuser_id=3000000000\r\nuser_id=1e400\r\n",
         "7 2147483000 10  | Ini File: Overflow | Ini File: Overflow | Ini File: Overflow"},
    });
    for (const auto& [sText, sExpected] : cases) {
        EXPECT_EQ(Load(sText), sExpected) << sText;
    }
}

TEST(SettingsTest, SaveWritesTheEightLinesWithCrLfAndReportsFailures) {
    FakeFileSystem files;
    FakeMessageBoxes msg;
    MGlobal g;
    std::tie(g.nUserID, g.sDBPath, g.bSoundOn, g.lAnimSpeed, g.bAnimals) =
        std::tuple(12, "  D:\\Shared  ", true, 1000999, true);
    Ini_Save(g, true, kApp, files, msg);
    EXPECT_EQ(files.Files[IniFileName(kApp)],
              "[Options]\r\nuser_id=12\r\ndb_path=D:\\Shared\r\nmaxform=1\r\nsoundon=TRUE\r\n"
              "animspd=1000\r\ncopylnk=FALSE\r\nanimals=TRUE\r\n");
    g = MGlobal{};
    std::tie(g.nUserID, g.lAnimSpeed, g.bCopyLnk) = std::tuple(-3, -1999, true);
    EXPECT_EQ(IniText(g, false), "[Options]\r\nuser_id=-3\r\ndb_path=\r\nmaxform=0\r\nsoundon="
                                 "FALSE\r\nanimspd=-1\r\ncopylnk=TRUE\r\nanimals=FALSE\r\n");
    files.Unwritable.insert(IniFileName(kApp));
    Ini_Save(g, false, kApp, files, msg);
    EXPECT_EQ(msg.Shown.at(0).icon, MsgIcon::Exclamation);
    EXPECT_EQ(Shown(msg), " | Ini Save Error: Permission denied");
    files.Unreadable.insert(IniFileName(kApp));
    Ini_Load(g, IniFileName(kApp), kApp, files, msg);
    EXPECT_EQ(Shown(msg).substr(0, 13), " | Ini File: ");
    EXPECT_EQ(g.nLastUserID, 0);
}

TEST(SettingsTest, CopyLnkNeedsTheInstallationFolderAndExactTrue) {
    FakeFileSystem files;
    FakeMessageBoxes msg;
    EXPECT_FALSE(GetCopyLnk(kInstall, files, msg)); // no file
    const auto cases = std::to_array<std::tuple<std::string, std::string, bool>>({
        {kInstall, "COPYLNK=TRUE\r\n", true},
        {"c:\\program files\\the corvane game", "copylnk=TRUE", true}, // compared in upper case
        {kInstall, "copylnk=TRUE\r\ncopyLNK = true \r\n", false},      // the last line; value exact
        {kInstall, "copylnk=FALSE\r\nCopyLnkX= TRUE\r\n", true},
        {kApp, "copylnk=TRUE\r\n", false},
    });
    for (const auto& [sFolder, sText, bExpected] : cases) {
        files.Files[IniFileName(sFolder)] = sText;
        EXPECT_EQ(GetCopyLnk(sFolder, files, msg), bExpected) << sFolder << " " << sText;
    }
    EXPECT_TRUE(msg.Shown.empty());
    files.Unreadable.insert(IniFileName(kInstall));
    EXPECT_FALSE(GetCopyLnk(kInstall, files, msg));
    EXPECT_EQ(Shown(msg).substr(0, 13), " | Ini File: ");
}

TEST(SettingsTest, ViewOptionsKeepTheirOwnFileAndSurviveDamage) {
    FakeFileSystem files;
    ViewOptions view{.bFourColour = true, .bShowPlayable = true, .bTrails = false};
    ASSERT_TRUE(SaveViewOptions(view, kApp, files));
    EXPECT_EQ(LoadViewOptions(kApp, files), view);
    EXPECT_EQ(files.Files.count(IniFileName(kApp)), 0U); // corvane.ini is not touched
    const ViewOptions large{.bLargeIndices = true};
    const auto cases = std::to_array<std::pair<std::string, ViewOptions>>({
        {"", ViewOptions{}},
        {std::string(1, '\0') + "\xff\x01garbage=\r\n==\n", ViewOptions{}},
        {"trails=maybe\ntooltips=\nplayable", ViewOptions{}},
        {"[View]\nlargeindex = true \n", large},
    });
    for (const auto& [sText, expected] : cases) {
        files.Files[ViewFileName(kApp)] = sText;
        EXPECT_EQ(LoadViewOptions(kApp, files), expected) << sText.substr(0, 40);
    }
    files.Unreadable.insert(ViewFileName(kApp));
    EXPECT_EQ(LoadViewOptions(kApp, files), ViewOptions{});
    files.Unwritable.insert(ViewFileName(kApp));
    EXPECT_FALSE(SaveViewOptions(view, kApp, files));
}

TEST(SettingsTest, LeadingNumberReadsTheNumberAtTheStart) {
    // NOLINTNEXTLINE(*-avoid-c-arrays): a table that lays its short cases out in rows
    const std::pair<const char*, double> cases[] = {
        {"19a3", 19.0},  {"  -3.5x", -3.5}, {"1 2 3", 123.0}, {"+.5", 0.5},
        {"2e", 2.0},     {"2e+x", 2.0},     {"2D2", 200.0},   {"2E9", 2e9},
        {"1e+2", 100.0}, {"-", 0.0},        {".", 0.0},       {"x1", 0.0},
    };
    for (const auto& [sText, dExpected] : cases) {
        EXPECT_EQ(LeadingNumber(sText), dExpected) << sText;
    }
    EXPECT_EQ(RoundToLong(2147483647.4), 2147483647);
    EXPECT_FALSE(RoundToLong(2147483647.5));
    EXPECT_EQ(RoundToLong(-2147483648.5), INT32_MIN); // the half rounds to the even end
    EXPECT_FALSE(RoundToLong(-2147483649.0));
}

} // namespace
} // namespace corvane
