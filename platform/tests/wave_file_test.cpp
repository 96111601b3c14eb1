#include "platform/wave_file.hpp"
#include "test_waves.hpp"

#include <random>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::AppendChunk;
using test::FormatBody;
using test::RiffWave;

std::optional<WaveInfo> Parse(const std::vector<std::uint8_t>& bytes) {
    return ParseWave(bytes.data(), bytes.size());
}

TEST(WaveFile, ReadsFormatAndFindsTheSamples) {
    const std::vector<std::uint8_t> bytes = test::SineWave(440.0, 0.1, 22050);
    const auto wave = Parse(bytes);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->format, WaveSampleFormat::S16LE);
    EXPECT_EQ(wave->nChannels, 1);
    EXPECT_EQ(wave->nSampleRate, 22050U);
    EXPECT_EQ(wave->nBlockAlign, 2U);
    EXPECT_EQ(wave->nSampleBytes, 2205U * 2U);
    EXPECT_EQ(wave->pSamples, bytes.data() + 44);
}

TEST(WaveFile, SkipsOtherChunksIncludingOddSizedOnes) {
    std::vector<std::uint8_t> chunks;
    AppendChunk(chunks, "LIST", {1, 2, 3}); // odd: followed by a pad byte
    AppendChunk(chunks, "fmt ", FormatBody(1, 2, 44100, 16));
    AppendChunk(chunks, "fact", {0, 0, 0, 0});
    AppendChunk(chunks, "data", std::vector<std::uint8_t>(10, 7)); // 2.5 frames
    const std::vector<std::uint8_t> bytes = RiffWave(chunks);
    const auto wave = Parse(bytes);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->nChannels, 2);
    EXPECT_EQ(wave->nBlockAlign, 4U);
    EXPECT_EQ(wave->nSampleBytes, 8U) << "a partial last frame is dropped";
    EXPECT_EQ(wave->pSamples[0], 7);
}

TEST(WaveFile, KnowsEveryPlayableSampleFormat) {
    struct Case {
        std::uint16_t nTag;
        std::uint16_t nBits;
        WaveSampleFormat format;
    };
    for (const Case& c :
         {Case{1, 8, WaveSampleFormat::U8}, Case{1, 16, WaveSampleFormat::S16LE},
          Case{1, 24, WaveSampleFormat::S24LE}, Case{1, 32, WaveSampleFormat::S32LE},
          Case{3, 32, WaveSampleFormat::Float32LE}}) {
        std::vector<std::uint8_t> chunks;
        AppendChunk(chunks, "fmt ", FormatBody(c.nTag, 1, 8000, c.nBits));
        AppendChunk(chunks, "data", std::vector<std::uint8_t>(c.nBits / 8 * 4, 0));
        const auto wave = Parse(RiffWave(chunks));
        ASSERT_TRUE(wave) << c.nTag << "/" << c.nBits;
        EXPECT_EQ(wave->format, c.format);
    }

    // The extensible header names its real format in the sub-format GUID.
    std::vector<std::uint8_t> ext = FormatBody(0xFFFE, 1, 8000, 16);
    ext.insert(ext.end(), {22, 0, 16, 0, 4, 0, 0, 0, 1, 0}); // size, bits, mask, GUID start
    ext.resize(40, 0);
    std::vector<std::uint8_t> chunks;
    AppendChunk(chunks, "fmt ", ext);
    AppendChunk(chunks, "data", {0, 0, 0, 0});
    const auto wave = Parse(RiffWave(chunks));
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->format, WaveSampleFormat::S16LE);
}

TEST(WaveFile, RefusesFormatsItCannotPlay) {
    const auto parse = [](const std::vector<std::uint8_t>& fmt) {
        std::vector<std::uint8_t> chunks;
        AppendChunk(chunks, "fmt ", fmt);
        AppendChunk(chunks, "data", std::vector<std::uint8_t>(16, 0));
        return Parse(RiffWave(chunks));
    };
    EXPECT_FALSE(parse(FormatBody(2, 1, 22050, 4))) << "ADPCM";
    EXPECT_FALSE(parse(FormatBody(3, 1, 22050, 64))) << "64-bit float";
    EXPECT_FALSE(parse(FormatBody(1, 0, 22050, 16))) << "no channels";
    EXPECT_FALSE(parse(FormatBody(1, 9, 22050, 16))) << "too many channels";
    EXPECT_FALSE(parse(FormatBody(1, 1, 0, 16))) << "zero rate";
    std::vector<std::uint8_t> badAlign = FormatBody(1, 2, 22050, 16);
    badAlign[12] = 3;
    EXPECT_FALSE(parse(badAlign)) << "block size not channels times sample size";
    std::vector<std::uint8_t> shortFmt = FormatBody(1, 1, 22050, 16);
    shortFmt.resize(14);
    EXPECT_FALSE(parse(shortFmt)) << "format chunk too short";
}

TEST(WaveFile, RefusesFilesThatAreNotWholeWaves) {
    EXPECT_FALSE(ParseWave(nullptr, 0));
    EXPECT_FALSE(Parse({}));
    EXPECT_FALSE(Parse({'R', 'I', 'F', 'F'}));

    std::vector<std::uint8_t> dataFirst;
    AppendChunk(dataFirst, "data", {0, 0});
    AppendChunk(dataFirst, "fmt ", FormatBody(1, 1, 8000, 16));
    EXPECT_FALSE(Parse(RiffWave(dataFirst))) << "samples before their format";

    std::vector<std::uint8_t> noData;
    AppendChunk(noData, "fmt ", FormatBody(1, 1, 8000, 16));
    EXPECT_FALSE(Parse(RiffWave(noData)));

    std::vector<std::uint8_t> notWave = test::SineWave(440.0, 0.01, 8000);
    notWave[8] = 'A';
    EXPECT_FALSE(Parse(notWave));

    // A data chunk claiming more than the file holds.
    std::vector<std::uint8_t> chunks;
    AppendChunk(chunks, "fmt ", FormatBody(1, 1, 8000, 16));
    AppendChunk(chunks, "data", {0, 0, 0, 0});
    std::vector<std::uint8_t> lying = RiffWave(chunks);
    lying[40] = 0xFF;
    lying[43] = 0x7F;
    EXPECT_FALSE(Parse(lying));
}

TEST(WaveFile, EveryTruncationOfAGoodFileIsRefused) {
    const std::vector<std::uint8_t> bytes = test::SineWave(440.0, 0.01, 8000);
    ASSERT_TRUE(Parse(bytes));
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        // A copy of exactly n bytes, so reading past it would be caught by the sanitizers.
        const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
        EXPECT_FALSE(ParseWave(cut.data(), cut.size())) << "cut to " << n << " bytes";
    }
}

TEST(WaveFile, GarbageNeverCrashesAndRarelyParses) {
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> length(0, 200);
    int nAccepted = 0;
    for (int i = 0; i < 5000; ++i) {
        std::vector<std::uint8_t> bytes(length(random));
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(byte(random));
        }
        if (i % 2 == 0 && bytes.size() >= 12) {
            // Half with a believable header, so the chunk walk gets exercised.
            const std::uint32_t nRiff = static_cast<std::uint32_t>(bytes.size() - 8);
            std::copy_n("RIFF", 4, bytes.begin());
            for (int k = 0; k < 4; ++k) {
                bytes[4 + static_cast<std::size_t>(k)] =
                    static_cast<std::uint8_t>(nRiff >> (8 * k));
            }
            std::copy_n("WAVE", 4, bytes.begin() + 8);
        }
        const auto wave = ParseWave(bytes.data(), bytes.size());
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
