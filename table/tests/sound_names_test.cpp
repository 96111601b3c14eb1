#include "table/sound_names.hpp"

#include <algorithm>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace corvane {
namespace {

const std::pair<const char*, int> kNamed[] = {
    {"WRONGCRD", 101},    {"MUSTPLAY", 101},  {"PLAYCARD", 102},    {"PAYPOT", 103},
    {"OTH_PLAYERS", 104}, {"USERWON", 106},   {"OTHWON", 107},      {"SOUNDON", 108},
    {"SOUNDOFF", 109},    {"HIGHSCORE", 111}, {"OVERPLAYER1", 112}, {"OVERPLAYER2", 113},
    {"OVERPLAYER3", 114}, {"OVERPOT", 115},
};

TEST(SoundNames, EveryNameFindsItsSound) {
    for (const auto& [sName, nResource] : kNamed) {
        EXPECT_EQ(SoundResourceNumber(sName), nResource) << sName;
    }
}

TEST(SoundNames, NamesMustMatchExactly) {
    for (const char* sName :
         {"playcard", "PlayCard", "PLAYCARd", " PLAYCARD", "PLAYCARD ", "PLAYCARD\n", "OVERPLAYER",
          "OVERPLAYER4", "OTH PLAYERS", "USERWON2", "WRONGCARD", ""}) {
        EXPECT_EQ(SoundResourceNumber(sName), 0) << '"' << sName << '"';
    }
    // A name with an embedded terminator is not the name before it.
    EXPECT_EQ(SoundResourceNumber(std::string_view("PAYPOT\0X", 8)), 0);
}

TEST(SoundNames, EveryResourceIsReachableAndOnlyThoseAre) {
    std::set<int> used;
    for (const auto& [sName, nResource] : kNamed) {
        used.insert(SoundResourceNumber(sName));
    }
    const std::set<int> listed(std::begin(kSoundResources), std::end(kSoundResources));
    EXPECT_EQ(used, listed);
    EXPECT_EQ(listed.size(), 13U);
    EXPECT_FALSE(listed.contains(105));
    EXPECT_FALSE(listed.contains(110));
}

} // namespace
} // namespace corvane
