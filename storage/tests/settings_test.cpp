// The settings file's rules, on the in-memory file system.
#include "platform/fake_platform.hpp"
#include "storage/settings.hpp"
#include "storage/view_settings.hpp"

#include <string>

#include <gtest/gtest.h>

namespace corvane {
namespace {

const std::string kApp = "C:\\Games\\Corvane";
const std::string kInstall = "C:\\Program Files\\The Corvane Game";

// What a settings file of this text leaves of the options (user 7, sound on and
// speed 5000 before), with the messages shown as "| title: text".
std::string Load(const std::string& sText) {
    FakeFileSystem files;
    FakeMessageBoxes msg;
    files.Files[IniFileName(kApp)] = sText;
    MGlobal g;
    g.nLastUserID = 7;
    g.bSoundOn = true;
    g.lAnimSpeed = 5000;
    Ini_Load(g, IniFileName(kApp), kApp, files, msg);
    std::string s = "id " + std::to_string(g.nLastUserID) + " speed " +
                    std::to_string(g.lAnimSpeed) + " sound " + (g.bSoundOn ? "1" : "0") +
                    " animals " + (g.bAnimals ? "1" : "0") + " path " + g.sDBPath;
    for (const ShownMessage& m : msg.Shown) {
        s += " | " + m.sTitle + ": " + m.sText;
    }
    return msg.nBeeps == static_cast<int>(msg.Shown.size()) ? s : s + " (beeps differ)";
}

TEST(SettingsTest, LoadReadsEachLineByItsRules) {
    const std::pair<std::string, std::string> cases[] = {
        // Only TRUE in capitals is true; the key is the first seven characters;
        // a number is the leading one of its value, halves rounded to even.
        {"[Options]\r\nsoundon=true\r\nanimspd=80\r\nuser_id=12abc\r\ndb_path = C:\\GAMES \r\n",
         "id 12 speed 80000 sound 0 animals 0 path C:\\GAMES"},
        {"user_id=\r\nanimspd=2.5\r\n", "id 0 speed 2000 sound 1 animals 0 path "},
        {"animspd=3.5\r\nuser_id=-7.6", "id -8 speed 4000 sound 1 animals 0 path "},
        {"user_id=1e3\r\ndb_path=APPPATH\r\n", "id 1000 speed 5000 sound 1 animals 0 path " + kApp},
        {"user_id=abc\r\ndb_path=apppath\r\n", "id 0 speed 5000 sound 1 animals 0 path apppath"},
        {"db_path=D:\\data\\\r\n", "id 7 speed 5000 sound 1 animals 0 path D:\\data\\"},
        {"db_path=a=b\r\n", "id 7 speed 5000 sound 1 animals 0 path a=b"},
        // Keys in other case and unknown lines are ignored.
        {"SOUNDON=FALSE\r\nAnimspd=9\r\n\r\nmaxform=1\r\ncopylnk=TRUE\r\nsoundo\r\nrandom\r\n",
         "id 7 speed 5000 sound 1 animals 0 path "},
        // Later lines win; a lone CR or LF ends a line too.
        {"animals=TRUE\nanimals=FALSE\ranimals=TRUE\r\nuser_id=1\r\nuser_id=2",
         "id 2 speed 5000 sound 1 animals 1 path "},
        // A number out of range keeps the value, and the lines after it are read.
        {"animspd=2147484\r\nuser_id=5\r\n",
         "id 5 speed 5000 sound 1 animals 0 path  | Ini File: Overflow"},
        {"animspd=2147483\r\nanimspd=-2147484\r\nuser_id=3000000000\r\nuser_id=1e400\r\n",
         "id 7 speed 2147483000 sound 1 animals 0 path  | Ini File: Overflow | Ini File: Overflow "
         "| Ini File: Overflow"},
    };
    for (const auto& [sText, sExpected] : cases) {
        EXPECT_EQ(Load(sText), sExpected) << sText;
    }
}

TEST(SettingsTest, SaveWritesTheEightLinesWithCrLf) {
    FakeFileSystem files;
    FakeMessageBoxes msg;
    MGlobal g;
    g.nUserID = 12;
    g.sDBPath = "  D:\\Shared  ";
    g.bSoundOn = true;
    g.lAnimSpeed = 80999;
    g.bAnimals = true;
    Ini_Save(g, true, kApp, files, msg);
    EXPECT_EQ(files.Files[IniFileName(kApp)],
              "[Options]\r\nuser_id=12\r\ndb_path=D:\\Shared\r\nmaxform=1\r\nsoundon=TRUE\r\n"
              "animspd=80\r\ncopylnk=FALSE\r\nanimals=TRUE\r\n");
    g = MGlobal{};
    g.nUserID = -3;
    g.lAnimSpeed = -1999;
    g.bCopyLnk = true;
    EXPECT_EQ(IniText(g, false), "[Options]\r\nuser_id=-3\r\ndb_path=\r\nmaxform=0\r\nsoundon="
                                 "FALSE\r\nanimspd=-1\r\ncopylnk=TRUE\r\nanimals=FALSE\r\n");
    EXPECT_TRUE(msg.Shown.empty());

    // Failures beep and show their description once.
    files.Unwritable.insert(IniFileName(kApp));
    Ini_Save(g, false, kApp, files, msg);
    files.Unreadable.insert(IniFileName(kApp));
    g.nLastUserID = 0;
    Ini_Load(g, IniFileName(kApp), kApp, files, msg);
    EXPECT_EQ(g.nLastUserID, 0);
    ASSERT_EQ(msg.Shown.size(), 2U);
    EXPECT_EQ(msg.Shown[0].sTitle + ": " + msg.Shown[0].sText, "Ini Save Error: Permission denied");
    EXPECT_EQ(msg.Shown[1].sTitle, "Ini File");
    EXPECT_EQ(msg.Shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(msg.nBeeps, 2);
}

TEST(SettingsTest, CopyLnkNeedsTheInstallationFolderAndExactTrue) {
    FakeFileSystem files;
    FakeMessageBoxes msg;
    EXPECT_FALSE(GetCopyLnk(kInstall, files, msg)); // no file
    const std::string sLower = "c:\\program files\\the corvane game";
    const std::tuple<std::string, std::string, bool> cases[] = {
        {kInstall, "COPYLNK=TRUE\r\n", true},
        {sLower, "copylnk=TRUE", true}, // the folder is compared in upper case
        {kInstall, "copylnk=TRUE\r\ncopyLNK = true \r\n", false}, // the last line; value exact
        {kInstall, "copylnk=FALSE\r\nCopyLnkX= TRUE\r\n", true},
        {kApp, "copylnk=TRUE\r\n", false},
    };
    for (const auto& [sFolder, sText, bExpected] : cases) {
        files.Files[IniFileName(sFolder)] = sText;
        EXPECT_EQ(GetCopyLnk(sFolder, files, msg), bExpected) << sFolder << " " << sText;
    }
    EXPECT_TRUE(msg.Shown.empty());
    files.Unreadable.insert(IniFileName(kInstall));
    EXPECT_FALSE(GetCopyLnk(kInstall, files, msg));
    ASSERT_EQ(msg.Shown.size(), 1U);
    EXPECT_EQ(msg.Shown[0].sTitle, "Ini File");
}

TEST(SettingsTest, ViewOptionsKeepTheirOwnFileAndSurviveDamage) {
    FakeFileSystem files;
    EXPECT_EQ(LoadViewOptions(kApp, files), ViewOptions{}); // no file
    ViewOptions view;
    view.bFourColour = true;
    view.bShowPlayable = true;
    view.bTrails = false;
    ASSERT_TRUE(SaveViewOptions(view, kApp, files));
    EXPECT_EQ(LoadViewOptions(kApp, files), view);
    EXPECT_EQ(files.Files.count(IniFileName(kApp)), 0U); // corvane.ini is not touched

    ViewOptions large;
    large.bLargeIndices = true;
    const std::pair<std::string, ViewOptions> cases[] = {
        {"", ViewOptions{}},
        {std::string(1, '\0') + "\xff\x01garbage=\r\n==\n", ViewOptions{}},
        {"trails=maybe\ntooltips=\nplayable", ViewOptions{}},
        {"[View]\nlargeindex = true \n", large},
    };
    for (const auto& [sText, expected] : cases) {
        files.Files[ViewFileName(kApp)] = sText;
        EXPECT_EQ(LoadViewOptions(kApp, files), expected) << sText.substr(0, 40);
    }
    files.Unreadable.insert(ViewFileName(kApp));
    EXPECT_EQ(LoadViewOptions(kApp, files), ViewOptions{});
    files.Unwritable.insert(ViewFileName(kApp));
    EXPECT_FALSE(SaveViewOptions(view, kApp, files));
}

TEST(LeadingNumberTest, ReadsTheNumberAtTheStart) {
    const std::pair<const char*, double> cases[] = {
        {"12abc", 12.0}, {"  -3.5x", -3.5}, {"1 2 3", 123.0}, {"+.5", 0.5}, {"2e", 2.0},
        {"2e+x", 2.0},   {"2D2", 200.0},    {"-", 0.0},       {".", 0.0},   {"x1", 0.0},
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
