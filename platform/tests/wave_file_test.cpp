// The wave header reader: the formats it plays, and files it must refuse.
#include "platform/wave_file.hpp"
#include "test_waves.hpp"

#include <optional>
#include <random>
#include <utility>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::FormatBody;
using Bytes = std::vector<std::uint8_t>;

std::optional<WaveInfo> Parse(const Bytes& bytes) {
    return ParseWave(bytes.data(), bytes.size());
}

// A wave file of these chunks in this order.
Bytes Wave(const std::vector<std::pair<std::string, Bytes>>& chunks) {
    Bytes bytes;
    for (const auto& [sTag, body] : chunks) {
        test::AppendChunk(bytes, sTag, body);
    }
    return test::RiffWave(bytes);
}

TEST(WaveFile, ReadsFormatAndFindsTheSamples) {
    const Bytes sine = test::SineWave(440.0, 0.1, 22050);
    auto wave = Parse(sine);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->format, WaveSampleFormat::S16LE);
    EXPECT_EQ(wave->nChannels, 1);
    EXPECT_EQ(wave->nSampleRate, 22050U);
    EXPECT_EQ(wave->nBlockAlign, 2U);
    EXPECT_EQ(wave->nSampleBytes, 2205U * 2U);
    EXPECT_EQ(wave->pSamples, sine.data() + 44);

    // Other chunks are skipped, odd-sized ones with their pad byte; a partial
    // last frame is dropped.
    const Bytes bytes = Wave({{"LIST", {1, 2, 3}},
                              {"fmt ", FormatBody(1, 2, 44100, 16)},
                              {"fact", {0, 0, 0, 0}},
                              {"data", Bytes(10, 7)}});
    wave = Parse(bytes);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->nChannels, 2);
    EXPECT_EQ(wave->nBlockAlign, 4U);
    EXPECT_EQ(wave->nSampleBytes, 8U);
    EXPECT_EQ(wave->pSamples[0], 7);
}

TEST(WaveFile, KnowsEveryPlayableSampleFormatAndRefusesOthers) {
    // The extensible header names its real format in the sub-format GUID.
    Bytes extensible = FormatBody(0xFFFE, 1, 8000, 16);
    extensible.insert(extensible.end(), {22, 0, 16, 0, 4, 0, 0, 0, 1, 0});
    extensible.resize(40, 0);
    Bytes badAlign = FormatBody(1, 2, 22050, 16);
    badAlign[12] = 3;
    const std::pair<Bytes, std::optional<WaveSampleFormat>> cases[] = {
        {FormatBody(1, 1, 8000, 8), WaveSampleFormat::U8},
        {FormatBody(1, 1, 8000, 16), WaveSampleFormat::S16LE},
        {FormatBody(1, 1, 8000, 24), WaveSampleFormat::S24LE},
        {FormatBody(1, 8, 384000, 32), WaveSampleFormat::S32LE},
        {FormatBody(3, 1, 1, 32), WaveSampleFormat::Float32LE},
        {extensible, WaveSampleFormat::S16LE},
        {Bytes(extensible.begin(), extensible.end() - 2), std::nullopt}, // extension cut short
        {FormatBody(2, 1, 22050, 4), std::nullopt},                      // ADPCM
        {FormatBody(3, 1, 22050, 64), std::nullopt},
        {FormatBody(1, 0, 22050, 16), std::nullopt},
        {FormatBody(1, 9, 22050, 16), std::nullopt},
        {FormatBody(1, 1, 0, 16), std::nullopt},
        {FormatBody(1, 1, 384001, 16), std::nullopt},
        {badAlign, std::nullopt}, // block size not channels times sample size
        {Bytes(badAlign.begin(), badAlign.end() - 2), std::nullopt}, // format chunk too short
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto wave = Parse(Wave({{"fmt ", cases[i].first}, {"data", Bytes(48, 0)}}));
        EXPECT_EQ(wave ? std::optional(wave->format) : std::nullopt, cases[i].second) << i;
    }
}

TEST(WaveFile, RefusesFilesThatAreNotWholeWaves) {
    EXPECT_FALSE(ParseWave(nullptr, 0));
    EXPECT_FALSE(Parse({'R', 'I', 'F', 'F'}));
    EXPECT_FALSE(Parse(Wave({{"data", {0, 0}}, {"fmt ", FormatBody(1, 1, 8000, 16)}})));
    EXPECT_FALSE(Parse(Wave({{"fmt ", FormatBody(1, 1, 8000, 16)}})));
    Bytes notWave = test::SineWave(440.0, 0.01, 8000);
    notWave[8] = 'A';
    EXPECT_FALSE(Parse(notWave));
    Bytes lying = Wave({{"fmt ", FormatBody(1, 1, 8000, 16)}, {"data", {0, 0, 0, 0}}});
    lying[40] = 0xFF; // a data chunk claiming more than the file holds
    lying[43] = 0x7F;
    EXPECT_FALSE(Parse(lying));

    // Every cut of a good file, copied to exactly its length so that reading past
    // it would be caught by the sanitizers.
    const Bytes bytes = test::SineWave(440.0, 0.01, 8000);
    ASSERT_TRUE(Parse(bytes));
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_FALSE(Parse(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(n)))) << n;
    }
}

TEST(WaveFile, GarbageNeverCrashesAndRarelyParses) {
    std::mt19937 random(4711); // NOLINT(cert-msc32-c,cert-msc51-cpp): the same inputs every run
    int nAccepted = 0;
    for (int i = 0; i < 5000; ++i) {
        Bytes bytes(random() % 201);
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(random());
        }
        if (i % 2 == 0 && bytes.size() >= 12) {
            // Half with a believable header, so the chunk walk gets exercised.
            const Bytes header = test::RiffWave(Bytes(bytes.size() - 12));
            std::copy_n(header.begin(), 12, bytes.begin());
        }
        const auto wave = Parse(bytes);
        if (wave) {
            ++nAccepted;
            EXPECT_GE(wave->pSamples, bytes.data());
            EXPECT_LE(wave->pSamples + wave->nSampleBytes, bytes.data() + bytes.size());
        }
    }
    EXPECT_LT(nAccepted, 10);
}

} // namespace
} // namespace corvane
