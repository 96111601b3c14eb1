#include "table/sound_names.hpp"

#include <set>

#include <gtest/gtest.h>

namespace corvane {
namespace {

const std::pair<Sound, int> kWaves[] = {
    {Sound::WrongCard, 101},   {Sound::MustPlay, 101},     {Sound::PlayCard, 102},
    {Sound::PayPot, 103},      {Sound::OtherPlayers, 104}, {Sound::UserWon, 106},
    {Sound::OtherWon, 107},    {Sound::SoundOn, 108},      {Sound::SoundOff, 109},
    {Sound::HighScore, 111},   {Sound::OverPlayer1, 112},  {Sound::OverPlayer2, 113},
    {Sound::OverPlayer3, 114}, {Sound::OverPot, 115},
};

TEST(SoundNames, EverySoundFindsItsWave) {
    for (const auto& [sound, nResource] : kWaves) {
        EXPECT_EQ(SoundResourceNumber(sound), nResource) << static_cast<int>(sound);
    }
}

TEST(SoundNames, EveryResourceIsReachableAndOnlyThoseAre) {
    std::set<int> used;
    for (const auto& [sound, nResource] : kWaves) {
        used.insert(SoundResourceNumber(sound));
    }
    const std::set<int> listed(std::begin(kSoundResources), std::end(kSoundResources));
    EXPECT_EQ(used, listed);
    EXPECT_EQ(listed.size(), 13U);
    EXPECT_FALSE(listed.contains(105));
    EXPECT_FALSE(listed.contains(110));
}

} // namespace
} // namespace corvane
