// The wave header reader on built and damaged wave files, and the sound output:
// refusals without a server, and sounds played into a private sound server
// with a silent sink.
#include "platform/pulse_sound_output.hpp"
#include "platform/wave_file.hpp"
#include "tests/support/scratch.hpp"

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Little-endian numbers, each of its width in bytes.
void Put(Bytes& bytes, std::initializer_list<std::pair<std::uint32_t, int>> numbers) {
    for (const auto& [n, nBytes] : numbers) {
        for (int i = 0; i < nBytes; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
        }
    }
}

// A wave file of these RIFF chunks in this order, each padded to an even length.
Bytes Wave(const std::vector<std::pair<std::string, Bytes>>& chunks) {
    Bytes body{'W', 'A', 'V', 'E'};
    for (const auto& [sTag, chunk] : chunks) {
        body.insert(body.end(), sTag.begin(), sTag.end());
        Put(body, {{chunk.size(), 4}});
        body.insert(body.end(), chunk.begin(), chunk.end());
        if (chunk.size() % 2 == 1) {
            body.push_back(0);
        }
    }
    Bytes bytes{'R', 'I', 'F', 'F'};
    Put(bytes, {{body.size(), 4}});
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

// The 16-byte body of a "fmt " chunk.
Bytes FormatBody(std::uint16_t nTag, std::uint16_t nChannels, std::uint32_t nRate,
                 std::uint16_t nBits) {
    const std::uint32_t nBlock = nChannels * (nBits / 8U);
    Bytes body;
    Put(body,
        {{nTag, 2}, {nChannels, 2}, {nRate, 4}, {nRate * nBlock, 4}, {nBlock, 2}, {nBits, 2}});
    return body;
}

// A mono 16-bit sine tone at half the full level.
Bytes SineWave(double dFrequency, double dSeconds, std::uint32_t nRate) {
    Bytes samples;
    for (std::size_t i = 0; i < static_cast<std::size_t>(dSeconds * nRate); ++i) {
        const double dValue =
            0.5 * std::sin(2.0 * std::numbers::pi * dFrequency * static_cast<double>(i) / nRate);
        Put(samples, {{static_cast<std::uint16_t>(std::lround(dValue * 32767)), 2}});
    }
    return Wave({{"fmt ", FormatBody(1, 1, nRate, 16)}, {"data", samples}});
}

std::optional<WaveInfo> Parse(const Bytes& bytes) {
    return ParseWave(bytes.data(), bytes.size());
}

TEST(WaveFile, ReadsFormatAndFindsTheSamples) {
    const Bytes sine = SineWave(440.0, 0.1, 22050);
    auto wave = Parse(sine);
    ASSERT_TRUE(wave);
    EXPECT_EQ(std::tie(wave->nChannels, wave->nSampleRate, wave->nBlockAlign, wave->nSampleBytes),
              std::make_tuple(1, 22050U, 2U, 4410U));
    EXPECT_EQ(wave->pSamples, sine.data() + 44);
    EXPECT_TRUE(Parse(SineWave(440.0, 0.0, 8000))) << "a wave without samples";

    // Other chunks are skipped, odd-sized ones with their pad byte; a partial
    // last frame is dropped.
    const Bytes bytes = Wave({{"LIST", {1, 2, 3}},
                              {"fmt ", FormatBody(1, 2, 44100, 16)},
                              {"fact", {0, 0, 0, 0}},
                              {"data", Bytes(10, 7)}});
    wave = Parse(bytes);
    ASSERT_TRUE(wave);
    EXPECT_EQ(std::tie(wave->nChannels, wave->nBlockAlign, wave->nSampleBytes, *wave->pSamples),
              std::make_tuple(2, 4U, 8U, 7));
}

TEST(WaveFile, KnowsEveryPlayableSampleFormatAndRefusesOthers) {
    // The extensible header names its real format in the sub-format GUID.
    Bytes extensible = FormatBody(0xFFFE, 1, 8000, 16);
    extensible.insert(extensible.end(), {22, 0, 16, 0, 4, 0, 0, 0, 1, 0});
    extensible.resize(40, 0);
    Bytes badAlign = FormatBody(1, 2, 22050, 16);
    badAlign[12] = 3;
    const std::vector<std::pair<Bytes, std::optional<WaveSampleFormat>>> cases{
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
    const Bytes format = FormatBody(1, 1, 8000, 16);
    EXPECT_FALSE(Parse(Wave({{"data", {0, 0}}, {"fmt ", format}})));
    EXPECT_FALSE(Parse(Wave({{"fmt ", format}})));
    Bytes bytes = Wave({{"fmt ", format}, {"data", {0, 0, 0, 0}}});
    bytes[40] = 6; // a data chunk claiming a little more than the file holds
    EXPECT_FALSE(Parse(bytes));
    bytes = SineWave(440.0, 0.01, 8000);
    bytes[8] = 'A';
    EXPECT_FALSE(Parse(bytes));

    // Every cut of a good file, copied to exactly its length so that reading past
    // it would be caught by the sanitizers.
    bytes[8] = 'W';
    ASSERT_TRUE(Parse(bytes));
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_FALSE(Parse(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(n)))) << n;
    }
}

// The environment is this test program's own; each test sets what it reads.
void SetEnv(const char* sName, const char* sValue) {
    sValue != nullptr ? setenv(sName, sValue, 1) : unsetenv(sName);
}

TEST(PulseSoundOutput, RefusesBadDataAndPlaysNothingWithoutAServer) {
    const Bytes wave = SineWave(440.0, 0.5, 22050);
    EXPECT_FALSE(PulseSoundOutput("unix:/nonexistent/native").PlayWave(wave.data(), wave.size()));
    SetEnv("PULSE_SERVER", "unix:/somewhere/native");
    EXPECT_EQ(PulseSoundOutput::DefaultServer(), std::string{}); // the library reads it
    // With every place the usual server could be empty, the client library must
    // not be left to start a server of its own.
    const testing::TempDir empty;
    SetEnv("PULSE_SERVER", nullptr);
    SetEnv("PULSE_RUNTIME_PATH", empty.Path().c_str());
    SetEnv("XDG_RUNTIME_DIR", empty.Path().c_str());
    if (std::filesystem::exists("/run/pulse/native") ||
        std::filesystem::exists("/var/run/pulse/native")) {
        GTEST_SKIP() << "a system-wide sound server is running on this machine";
    }
    EXPECT_FALSE(PulseSoundOutput::DefaultServer());
    EXPECT_FALSE(PulseSoundOutput().PlayWave(wave.data(), wave.size()));
}

TEST(PulseSoundOutput, TheUsualServerPlaysSoundsFromSeveralThreadsToTheEnd) {
    // A private server with a silent sink; it returns once it is up.
    const testing::TempDir dir;
    const std::string sRuntime = dir.Sub("runtime");
    const std::string sHome = dir.Sub("home");
    const std::string sCommand =
        "HOME=" + sHome + " XDG_CONFIG_HOME=" + sHome + " XDG_RUNTIME_DIR=" + sRuntime +
        " PULSE_RUNTIME_PATH=" + sRuntime +
        " pulseaudio -D -n --exit-idle-time=-1 --disable-shm=yes --log-level=error"
        " '--load=module-null-sink sink_name=corvane_test rate=22050 channels=1'"
        " '--load=module-native-protocol-unix auth-anonymous=1 socket=" +
        sRuntime + "/native'";
    const int nStatus = std::system(sCommand.c_str()); // NOLINT(cert-env33-c): a fixed command
    if (WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 127) {
        GTEST_SKIP() << "there is no private sound server without the pulseaudio package";
    }
    ASSERT_EQ(nStatus, 0) << "the private pulseaudio did not start";
    const std::shared_ptr<void> stop(nullptr, [&](void*) {
        pid_t pid = 0;
        if (std::ifstream(sRuntime + "/pid") >> pid && pid > 0) {
            kill(pid, SIGTERM);
        }
    });

    // The usual server is found through the runtime folder, as a desktop's is.
    SetEnv("PULSE_SERVER", nullptr);
    SetEnv("PULSE_RUNTIME_PATH", sRuntime.c_str());
    PulseSoundOutput output;
    const Bytes wave = SineWave(660.0, 0.4, 22050);
    std::atomic<int> nPlayed = 0;
    const auto start = std::chrono::steady_clock::now();
    {
        std::vector<std::jthread> players;
        players.reserve(3);
        for (int i = 0; i < 3; ++i) {
            players.emplace_back(
                [&] { nPlayed += output.PlayWave(wave.data(), wave.size()) ? 1 : 0; });
        }
    }
    EXPECT_EQ(nPlayed, 3);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(350))
        << "returns when played";
    const Bytes silence = SineWave(660.0, 0.0, 22050); // a wave without samples plays too
    EXPECT_TRUE(output.PlayWave(silence.data(), silence.size()));
}

} // namespace
} // namespace corvane
