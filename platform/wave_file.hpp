// Reads the header of an in-memory RIFF wave file: the sample format and
// where the samples are. Pure and bounds-checked, so any byte string is safe
// to hand to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace corvane {

enum class WaveSampleFormat { U8, S16LE, S24LE, S32LE, Float32LE };

struct WaveInfo {
    WaveSampleFormat format = WaveSampleFormat::S16LE;
    int nChannels = 0;
    std::uint32_t nSampleRate = 0;
    std::size_t nBlockAlign = 0;            // bytes per frame
    const std::uint8_t* pSamples = nullptr; // into the parsed buffer
    std::size_t nSampleBytes = 0;           // whole frames only
};

// Nothing when the data is not a complete wave file in a format we can play:
// PCM 8, 16, 24 or 32 bit or 32-bit float, 1 to 8 channels.
std::optional<WaveInfo> ParseWave(const std::uint8_t* pData, std::size_t nSize);

} // namespace corvane
