// A million seeded random settings files through the reader: nothing may crash,
// hang or leave a value the rules cannot produce. Then random option sets through
// a save and a load.
#include "platform/fake_platform.hpp"
#include "storage/settings.hpp"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace corvane {
namespace {

const std::string kApp = "C:\\Program Files\\The Corvane Game";

// Random bytes and pieces that make the reader take its interesting paths more
// often than bytes alone.
std::string RandomText(std::mt19937& rng) {
    static const std::vector<std::string> pieces = {
        "user_id", "db_path", "soundon",   "animspd", "animals",
        "copylnk", "COPYLNK", "[Options]", "APPPATH", "TRUE",
        "=",       " ",       "\r\n",      "\r",      "\n",
        "-",       ".",       "e",         "D",       "0",
        "1",       "5",       "9",         "2147484", "99999999999999999999",
        "1e308",   "\t"};
    std::string s;
    for (int n = static_cast<int>(rng() % 25); n > 0; --n) {
        s += rng() % 4 == 0 ? std::string(1, static_cast<char>(rng()))
                            : pieces[rng() % pieces.size()];
    }
    return s;
}

TEST(SettingsFuzzTest, MillionRandomFilesReadSafely) {
    std::mt19937 rng(20261206); // NOLINT(cert-msc32-c,cert-msc51-cpp): the same inputs every run
    FakeFileSystem files;
    FakeMessageBoxes msg;
    for (int i = 0; i < 1'000'000; ++i) {
        const std::string sText = RandomText(rng);
        files.Files[IniFileName(kApp)] = sText;
        MGlobal g;
        g.lAnimSpeed = 7000;
        Ini_Load(g, IniFileName(kApp), kApp, files, msg);
        // Speeds only ever change by whole thousands; an empty text changes nothing;
        // a db_path value never keeps blanks at its ends; every message is the
        // reader's own, with its beep.
        ASSERT_EQ(g.lAnimSpeed % 1000, 0) << sText;
        ASSERT_TRUE(!sText.empty() || g.lAnimSpeed == 7000);
        ASSERT_TRUE(g.sDBPath.empty() || (g.sDBPath.front() != ' ' && g.sDBPath.back() != ' '))
            << sText;
        for (const ShownMessage& m : msg.Shown) {
            ASSERT_EQ(m.sTitle + ": " + m.sText, "Ini File: Overflow");
        }
        ASSERT_EQ(msg.nBeeps, static_cast<int>(msg.Shown.size()));
        msg.Shown.clear();
        msg.nBeeps = 0;
        GetCopyLnk(kApp, files, msg);
        ASSERT_TRUE(msg.Shown.empty());
    }
}

TEST(SettingsFuzzTest, RandomOptionsSurviveSaveAndLoad) {
    std::mt19937 rng(7); // NOLINT(cert-msc32-c,cert-msc51-cpp): the same inputs every run
    FakeFileSystem files;
    FakeMessageBoxes msg;
    for (int i = 0; i < 20'000; ++i) {
        MGlobal g;
        g.nUserID = static_cast<std::int32_t>(rng());
        g.lAnimSpeed = static_cast<std::int32_t>(rng());
        g.bSoundOn = rng() % 2 == 1;
        g.bAnimals = rng() % 2 == 1;
        g.bCopyLnk = rng() % 2 == 1;
        for (int n = static_cast<int>(rng() % 40); n > 0; --n) {
            g.sDBPath += static_cast<char>(32 + rng() % 95);
        }
        Ini_Save(g, rng() % 2 == 1, kApp, files, msg);
        MGlobal loaded;
        Ini_Load(loaded, IniFileName(kApp), kApp, files, msg);
        ASSERT_TRUE(msg.Shown.empty());
        ASSERT_EQ(loaded.nLastUserID, g.nUserID);
        ASSERT_EQ(loaded.lAnimSpeed, g.lAnimSpeed / 1000 * 1000);
        ASSERT_EQ(loaded.bSoundOn, g.bSoundOn);
        ASSERT_EQ(loaded.bAnimals, g.bAnimals);
        const std::string sTrimmed = TrimBlanks(g.sDBPath);
        ASSERT_EQ(loaded.sDBPath, sTrimmed == "APPPATH" ? kApp : sTrimmed);
    }
}

} // namespace
} // namespace corvane
