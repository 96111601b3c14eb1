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

class SettingsTest : public ::testing::Test {
protected:
    // Loads the given file text into g_ from its settings file.
    void Load(const std::string& sText) {
        files_.Files[IniFileName(kApp)] = sText;
        Ini_Load(g_, IniFileName(kApp), kApp, files_, msg_);
    }

    MGlobal g_;
    FakeFileSystem files_;
    FakeMessageBoxes msg_;
};

TEST_F(SettingsTest, SaveWritesTheEightLinesWithCrLf) {
    g_.nUserID = 12;
    g_.sDBPath = "  D:\\Shared  ";
    g_.bSoundOn = true;
    g_.lAnimSpeed = 80999;
    g_.bCopyLnk = false;
    g_.bAnimals = true;
    Ini_Save(g_, true, kApp, files_, msg_);
    EXPECT_EQ(files_.Files[IniFileName(kApp)],
              "[Options]\r\nuser_id=12\r\ndb_path=D:\\Shared\r\nmaxform=1\r\nsoundon=TRUE\r\n"
              "animspd=80\r\ncopylnk=FALSE\r\nanimals=TRUE\r\n");
    EXPECT_TRUE(msg_.Shown.empty());

    g_.nUserID = -3;
    g_.lAnimSpeed = -1999;
    g_.bSoundOn = false;
    const std::string s = IniText(g_, false);
    EXPECT_NE(s.find("user_id=-3\r\n"), std::string::npos);
    EXPECT_NE(s.find("animspd=-1\r\n"), std::string::npos);
    EXPECT_NE(s.find("maxform=0\r\n"), std::string::npos);
    EXPECT_NE(s.find("soundon=FALSE\r\n"), std::string::npos);
}

TEST_F(SettingsTest, SaveFailureBeepsAndReportsOnce) {
    files_.Unwritable.insert(IniFileName(kApp));
    Ini_Save(g_, false, kApp, files_, msg_);
    ASSERT_EQ(msg_.Shown.size(), 1U);
    EXPECT_EQ(msg_.Shown[0].sTitle, "Ini Save Error");
    EXPECT_EQ(msg_.Shown[0].sText, "Permission denied");
    EXPECT_EQ(msg_.Shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(msg_.nBeeps, 1);
}

TEST_F(SettingsTest, RoundTripKeepsEveryOption) {
    g_.nUserID = 42;
    g_.sDBPath = "\\\\server\\games";
    g_.bSoundOn = false;
    g_.bAnimals = true;
    g_.lAnimSpeed = 123456;
    Ini_Save(g_, false, kApp, files_, msg_);
    MGlobal loaded;
    Ini_Load(loaded, IniFileName(kApp), kApp, files_, msg_);
    EXPECT_EQ(loaded.nLastUserID, 42);
    EXPECT_EQ(loaded.sDBPath, g_.sDBPath);
    EXPECT_FALSE(loaded.bSoundOn);
    EXPECT_TRUE(loaded.bAnimals);
    EXPECT_EQ(loaded.lAnimSpeed, 123000);
    EXPECT_TRUE(msg_.Shown.empty());
}

TEST_F(SettingsTest, ValuesAndKeys) {
    g_.bSoundOn = true;
    Load("[Options]\r\nsoundon=true\r\nanimspd=80\r\nuser_id=12abc\r\ndb_path = C:\\GAMES \r\n");
    EXPECT_FALSE(g_.bSoundOn); // only TRUE in capitals is true
    EXPECT_EQ(g_.lAnimSpeed, 80000);
    EXPECT_EQ(g_.nLastUserID, 12);
    EXPECT_EQ(g_.sDBPath, "C:\\GAMES"); // key is the first seven characters
    EXPECT_TRUE(msg_.Shown.empty());

    Load("user_id=\r\n");
    EXPECT_EQ(g_.nLastUserID, 0);
    Load("user_id=abc\r\nanimspd=2.5\r\n");
    EXPECT_EQ(g_.nLastUserID, 0);
    EXPECT_EQ(g_.lAnimSpeed, 2000); // halves round to even
    Load("animspd=3.5\r\nuser_id=-7.6");
    EXPECT_EQ(g_.lAnimSpeed, 4000);
    EXPECT_EQ(g_.nLastUserID, -8);
    Load("user_id=1e3\r\n");
    EXPECT_EQ(g_.nLastUserID, 1000);
}

TEST_F(SettingsTest, AppPathAndUnchangedFolders) {
    Load("db_path=APPPATH\r\n");
    EXPECT_EQ(g_.sDBPath, kApp);
    Load("db_path=apppath\r\n");
    EXPECT_EQ(g_.sDBPath, "apppath");
    Load("db_path=D:\\data\\\r\n");
    EXPECT_EQ(g_.sDBPath, "D:\\data\\"); // no trailing-separator removal
    Load("db_path=a=b\r\n");
    EXPECT_EQ(g_.sDBPath, "a=b"); // value is after the first "="
}

TEST_F(SettingsTest, OtherCaseKeysAndUnknownLinesAreIgnored) {
    g_.bSoundOn = true;
    g_.lAnimSpeed = 5000;
    Load(
        "SOUNDON=FALSE\r\nAnimspd=9\r\n\r\nmaxform=1\r\ncopylnk=TRUE\r\nsoundo\r\nrandom text\r\n");
    EXPECT_TRUE(g_.bSoundOn);
    EXPECT_EQ(g_.lAnimSpeed, 5000);
    EXPECT_TRUE(msg_.Shown.empty());
}

TEST_F(SettingsTest, LaterLinesWinAndOtherLineEndsRead) {
    Load("animals=TRUE\nanimals=FALSE\ranimals=TRUE\r\nuser_id=1\r\nuser_id=2");
    EXPECT_TRUE(g_.bAnimals);
    EXPECT_EQ(g_.nLastUserID, 2);
}

TEST_F(SettingsTest, AnimationSpeedOverflowKeepsValueAndReadsOn) {
    g_.lAnimSpeed = 80000;
    Load("animspd=2147484\r\nuser_id=5\r\n");
    EXPECT_EQ(g_.lAnimSpeed, 80000);
    EXPECT_EQ(g_.nLastUserID, 5);
    ASSERT_EQ(msg_.Shown.size(), 1U);
    EXPECT_EQ(msg_.Shown[0].sTitle, "Ini File");
    EXPECT_EQ(msg_.Shown[0].sText, "Overflow");
    EXPECT_EQ(msg_.nBeeps, 1);

    msg_.Shown.clear();
    Load("animspd=2147483\r\nanimspd=-2147484\r\nuser_id=3000000000\r\nuser_id=1e400\r\n");
    EXPECT_EQ(g_.lAnimSpeed, 2147483000);
    EXPECT_EQ(g_.nLastUserID, 5);
    EXPECT_EQ(msg_.Shown.size(), 3U);
}

TEST_F(SettingsTest, UnreadableFileReports) {
    files_.Files[IniFileName(kApp)] = "user_id=4\r\n";
    files_.Unreadable.insert(IniFileName(kApp));
    Ini_Load(g_, IniFileName(kApp), kApp, files_, msg_);
    EXPECT_EQ(g_.nLastUserID, 0);
    ASSERT_EQ(msg_.Shown.size(), 1U);
    EXPECT_EQ(msg_.Shown[0].sTitle, "Ini File");
}

TEST_F(SettingsTest, CopyLnkNeedsTheInstallationFolderAndExactTrue) {
    EXPECT_FALSE(GetCopyLnk(kInstall, files_, msg_)); // no file
    files_.Files[IniFileName(kInstall)] = "COPYLNK=TRUE\r\n";
    EXPECT_TRUE(GetCopyLnk(kInstall, files_, msg_));
    const std::string sLower = "c:\\program files\\the corvane game";
    files_.Files[IniFileName(sLower)] = "copylnk=TRUE";
    EXPECT_TRUE(GetCopyLnk(sLower, files_, msg_)); // the folder is compared in upper case
    files_.Files[IniFileName(kInstall)] = "copylnk=TRUE\r\ncopyLNK = true \r\n";
    EXPECT_FALSE(GetCopyLnk(kInstall, files_, msg_)); // the last line counts; value exact
    files_.Files[IniFileName(kInstall)] = "copylnk=FALSE\r\nCopyLnkX= TRUE\r\n";
    EXPECT_TRUE(GetCopyLnk(kInstall, files_, msg_));
    files_.Files[IniFileName(kApp)] = "copylnk=TRUE\r\n";
    EXPECT_FALSE(GetCopyLnk(kApp, files_, msg_));
    EXPECT_TRUE(msg_.Shown.empty());

    files_.Unreadable.insert(IniFileName(kInstall));
    EXPECT_FALSE(GetCopyLnk(kInstall, files_, msg_));
    ASSERT_EQ(msg_.Shown.size(), 1U);
    EXPECT_EQ(msg_.Shown[0].sTitle, "Ini File");
}

TEST_F(SettingsTest, ViewOptionsKeepTheirOwnFileAndSurviveDamage) {
    EXPECT_EQ(LoadViewOptions(kApp, files_), ViewOptions{}); // no file
    ViewOptions view;
    view.bFourColour = true;
    view.bShowPlayable = true;
    view.bTrails = false;
    ASSERT_TRUE(SaveViewOptions(view, kApp, files_));
    EXPECT_EQ(LoadViewOptions(kApp, files_), view);
    // corvane.ini is not touched by them.
    EXPECT_EQ(files_.Files.count(IniFileName(kApp)), 0U);

    const std::string sFile = ViewFileName(kApp);
    const std::pair<std::string, ViewOptions> cases[] = {
        {"", ViewOptions{}},
        {std::string(1, '\0') + "\xff\x01garbage=\r\n==\n", ViewOptions{}},
        {"trails=maybe\ntooltips=\nplayable", ViewOptions{}},
        {"[View]\nlargeindex = true \n",
         [] {
             ViewOptions v;
             v.bLargeIndices = true;
             return v;
         }()},
    };
    for (const auto& [sText, expected] : cases) {
        files_.Files[sFile] = sText;
        EXPECT_EQ(LoadViewOptions(kApp, files_), expected) << sText.substr(0, 40);
    }
    files_.Unreadable.insert(sFile);
    EXPECT_EQ(LoadViewOptions(kApp, files_), ViewOptions{});
    files_.Unwritable.insert(sFile);
    EXPECT_FALSE(SaveViewOptions(view, kApp, files_));
    EXPECT_TRUE(msg_.Shown.empty());
    EXPECT_EQ(msg_.nBeeps, 0);
}

TEST(LeadingNumberTest, ReadsTheNumberAtTheStart) {
    EXPECT_EQ(LeadingNumber("12abc"), 12.0);
    EXPECT_EQ(LeadingNumber("  -3.5x"), -3.5);
    EXPECT_EQ(LeadingNumber("1 2 3"), 123.0);
    EXPECT_EQ(LeadingNumber("+.5"), 0.5);
    EXPECT_EQ(LeadingNumber("2e"), 2.0);
    EXPECT_EQ(LeadingNumber("2e+x"), 2.0);
    EXPECT_EQ(LeadingNumber("2D2"), 200.0);
    EXPECT_EQ(LeadingNumber("-"), 0.0);
    EXPECT_EQ(LeadingNumber("."), 0.0);
    EXPECT_EQ(LeadingNumber("x1"), 0.0);
    EXPECT_EQ(RoundToLong(2147483647.4), 2147483647);
    EXPECT_FALSE(RoundToLong(2147483647.5));
    EXPECT_EQ(RoundToLong(-2147483648.5), INT32_MIN); // the half rounds to the even end
    EXPECT_FALSE(RoundToLong(-2147483649.0));
}

} // namespace
} // namespace corvane
