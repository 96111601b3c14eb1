#include "test_waves.hpp"

#include <cmath>
#include <numbers>

namespace corvane::test {

namespace {

void AppendU32(std::vector<std::uint8_t>& bytes, std::uint32_t n) {
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    }
}

void AppendU16(std::vector<std::uint8_t>& bytes, std::uint16_t n) {
    bytes.push_back(static_cast<std::uint8_t>(n));
    bytes.push_back(static_cast<std::uint8_t>(n >> 8));
}

} // namespace

void AppendChunk(std::vector<std::uint8_t>& bytes, const std::string& sTag,
                 const std::vector<std::uint8_t>& body) {
    bytes.insert(bytes.end(), sTag.begin(), sTag.end());
    AppendU32(bytes, static_cast<std::uint32_t>(body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (body.size() % 2 == 1) {
        bytes.push_back(0);
    }
}

std::vector<std::uint8_t> FormatBody(std::uint16_t nTag, std::uint16_t nChannels,
                                     std::uint32_t nRate, std::uint16_t nBits) {
    std::vector<std::uint8_t> body;
    const auto nBlock = static_cast<std::uint16_t>(nChannels * (nBits / 8));
    AppendU16(body, nTag);
    AppendU16(body, nChannels);
    AppendU32(body, nRate);
    AppendU32(body, nRate * nBlock);
    AppendU16(body, nBlock);
    AppendU16(body, nBits);
    return body;
}

std::vector<std::uint8_t> RiffWave(const std::vector<std::uint8_t>& chunks) {
    std::vector<std::uint8_t> bytes{'R', 'I', 'F', 'F'};
    AppendU32(bytes, static_cast<std::uint32_t>(chunks.size() + 4));
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E'});
    bytes.insert(bytes.end(), chunks.begin(), chunks.end());
    return bytes;
}

std::vector<std::uint8_t> SineWave(double dFrequency, double dSeconds, std::uint32_t nRate,
                                   double dAmplitude) {
    const auto nFrames = static_cast<std::size_t>(dSeconds * nRate);
    std::vector<std::uint8_t> samples;
    samples.reserve(nFrames * 2);
    for (std::size_t i = 0; i < nFrames; ++i) {
        const double dValue = dAmplitude * std::sin(2.0 * std::numbers::pi * dFrequency *
                                                    static_cast<double>(i) / nRate);
        AppendU16(samples, static_cast<std::uint16_t>(static_cast<std::int16_t>(dValue * 32767)));
    }
    std::vector<std::uint8_t> chunks;
    AppendChunk(chunks, "fmt ", FormatBody(1, 1, nRate, 16));
    AppendChunk(chunks, "data", samples);
    return RiffWave(chunks);
}

} // namespace corvane::test
