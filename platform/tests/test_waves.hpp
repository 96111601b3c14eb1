// Builds small wave files in memory for the sound tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::test {

// A RIFF chunk: four-letter tag, little-endian size, body, pad byte if odd.
void AppendChunk(std::vector<std::uint8_t>& bytes, const std::string& sTag,
                 const std::vector<std::uint8_t>& body);

// The 16-byte body of a "fmt " chunk.
std::vector<std::uint8_t> FormatBody(std::uint16_t nTag, std::uint16_t nChannels,
                                     std::uint32_t nRate, std::uint16_t nBits);

// Wraps chunks into "RIFF" ... "WAVE" with the right size.
std::vector<std::uint8_t> RiffWave(const std::vector<std::uint8_t>& chunks);

// A mono 16-bit sine tone as a complete wave file.
std::vector<std::uint8_t> SineWave(double dFrequency, double dSeconds, std::uint32_t nRate,
                                   double dAmplitude = 0.5);

} // namespace corvane::test
