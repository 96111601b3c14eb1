// Builds small wave files in memory for the sound tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

namespace corvane::test {

inline void AppendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t n, int nBytes) {
    for (int i = 0; i < nBytes; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    }
}

// A RIFF chunk: four-letter tag, little-endian size, body, pad byte if odd.
inline void AppendChunk(std::vector<std::uint8_t>& bytes, const std::string& sTag,
                        const std::vector<std::uint8_t>& body) {
    bytes.insert(bytes.end(), sTag.begin(), sTag.end());
    AppendLittleEndian(bytes, static_cast<std::uint32_t>(body.size()), 4);
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (body.size() % 2 == 1) {
        bytes.push_back(0);
    }
}

// The 16-byte body of a "fmt " chunk.
inline std::vector<std::uint8_t> FormatBody(std::uint16_t nTag, std::uint16_t nChannels,
                                            std::uint32_t nRate, std::uint16_t nBits) {
    std::vector<std::uint8_t> body;
    const std::uint32_t nBlock = nChannels * (nBits / 8U);
    for (const auto& [n, nBytes] : {std::pair{std::uint32_t{nTag}, 2},
                                    {nChannels, 2},
                                    {nRate, 4},
                                    {nRate * nBlock, 4},
                                    {nBlock, 2},
                                    {nBits, 2}}) {
        AppendLittleEndian(body, n, nBytes);
    }
    return body;
}

// Wraps chunks into "RIFF" ... "WAVE" with the right size.
inline std::vector<std::uint8_t> RiffWave(const std::vector<std::uint8_t>& chunks) {
    std::vector<std::uint8_t> bytes{'R', 'I', 'F', 'F'};
    AppendLittleEndian(bytes, static_cast<std::uint32_t>(chunks.size() + 4), 4);
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E'});
    bytes.insert(bytes.end(), chunks.begin(), chunks.end());
    return bytes;
}

// A mono 16-bit sine tone at half the full level as a complete wave file.
inline std::vector<std::uint8_t> SineWave(double dFrequency, double dSeconds, std::uint32_t nRate) {
    std::vector<std::uint8_t> samples;
    for (std::size_t i = 0; i < static_cast<std::size_t>(dSeconds * nRate); ++i) {
        const double dValue =
            0.5 * std::sin(2.0 * std::numbers::pi * dFrequency * static_cast<double>(i) / nRate);
        AppendLittleEndian(samples, static_cast<std::uint16_t>(std::lround(dValue * 32767)), 2);
    }
    std::vector<std::uint8_t> chunks;
    AppendChunk(chunks, "fmt ", FormatBody(1, 1, nRate, 16));
    AppendChunk(chunks, "data", samples);
    return RiffWave(chunks);
}

} // namespace corvane::test
