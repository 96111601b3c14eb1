// A million seeded random settings files through the reader: nothing may crash,
// hang or leave a value the rules cannot produce. Then random option sets through
// a save and a load.
#include "platform/fake_platform.hpp"
#include "storage/settings.hpp"

#include <array>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace corvane {
namespace {

const std::string kApp = "C:\\Program Files\\The Corvane Game";

// Pieces that make the reader take its interesting paths more often than bytes alone.
constexpr std::array<const char*, 24> kPieces = {"user_id",   "db_path",
                                                 "soundon",   "animspd",
                                                 "animals",   "copylnk",
                                                 "maxform",   "COPYLNK",
                                                 "[Options]", "APPPATH",
                                                 "TRUE",      "=",
                                                 " ",         "\r\n",
                                                 "\r",        "\n",
                                                 "-",         ".",
                                                 "e",         "D",
                                                 "2147484",   "99999999999999999999",
                                                 "1e308",     "\t"};

std::string RandomText(std::mt19937& rng) {
    std::uniform_int_distribution<int> nPieces(0, 24);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<int> piece(0, static_cast<int>(kPieces.size()) - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> digit(0, 9);
    std::string s;
    const int n = nPieces(rng);
    for (int i = 0; i < n; ++i) {
        switch (kind(rng)) {
        case 0:
            s += static_cast<char>(byte(rng));
            break;
        case 1:
            s += static_cast<char>('0' + digit(rng));
            break;
        default:
            s += kPieces[static_cast<std::size_t>(piece(rng))];
            break;
        }
    }
    return s;
}

TEST(SettingsFuzzTest, MillionRandomFilesReadSafely) {
    std::mt19937 rng(20261206);
    FakeFileSystem files;
    FakeMessageBoxes msg;
    const std::string sFName = IniFileName(kApp);
    constexpr int kInputs = 1'000'000;
    for (int i = 0; i < kInputs; ++i) {
        const std::string sText = RandomText(rng);
        files.Files[sFName] = sText;
        MGlobal g;
        g.lAnimSpeed = 7000;
        Ini_Load(g, sFName, kApp, files, msg);
        // Speeds only ever change by whole thousands; an empty text changes nothing.
        ASSERT_EQ(g.lAnimSpeed % 1000, 0) << sText;
        if (sText.empty()) {
            ASSERT_EQ(g.lAnimSpeed, 7000);
        }
        // A db_path value never keeps blanks at its ends.
        if (!g.sDBPath.empty()) {
            ASSERT_NE(g.sDBPath.front(), ' ') << sText;
            ASSERT_NE(g.sDBPath.back(), ' ') << sText;
        }
        // Every message is one of the reader's own.
        for (const ShownMessage& m : msg.Shown) {
            ASSERT_EQ(m.sTitle, "Ini File");
            ASSERT_EQ(m.sText, "Overflow");
        }
        ASSERT_EQ(msg.nBeeps, static_cast<int>(msg.Shown.size()));
        msg.Shown.clear();
        msg.nBeeps = 0;
        GetCopyLnk(kApp, files, msg);
        ASSERT_TRUE(msg.Shown.empty());
    }
}

TEST(SettingsFuzzTest, RandomOptionsSurviveSaveAndLoad) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::int32_t> anyLong(INT32_MIN, INT32_MAX);
    std::uniform_int_distribution<int> coin(0, 1);
    std::uniform_int_distribution<int> printable(32, 126);
    FakeFileSystem files;
    FakeMessageBoxes msg;
    for (int i = 0; i < 20'000; ++i) {
        MGlobal g;
        g.nUserID = anyLong(rng);
        g.lAnimSpeed = anyLong(rng);
        g.bSoundOn = coin(rng) == 1;
        g.bAnimals = coin(rng) == 1;
        g.bCopyLnk = coin(rng) == 1;
        std::string sPath;
        for (int n = printable(rng) % 40; n > 0; --n) {
            sPath += static_cast<char>(printable(rng));
        }
        g.sDBPath = sPath;
        Ini_Save(g, coin(rng) == 1, kApp, files, msg);
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
