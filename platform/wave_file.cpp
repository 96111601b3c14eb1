#include "wave_file.hpp"

#include <cstring>
#include <span>

namespace corvane {

namespace {

using Bytes = std::span<const std::uint8_t>;

std::uint32_t ReadU32(Bytes p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t ReadU16(Bytes p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

bool IsTag(Bytes p, const char* sTag) {
    return std::memcmp(p.data(), sTag, 4) == 0;
}

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::optional<WaveSampleFormat> SampleFormat(std::uint16_t nTag, std::uint16_t nBits) {
    if (nTag == kFormatPcm) {
        switch (nBits) {
        case 8:
            return WaveSampleFormat::U8;
        case 16:
            return WaveSampleFormat::S16LE;
        case 24:
            return WaveSampleFormat::S24LE;
        case 32:
            return WaveSampleFormat::S32LE;
        default:
            return std::nullopt;
        }
    }
    if (nTag == kFormatFloat && nBits == 32) {
        return WaveSampleFormat::Float32LE;
    }
    return std::nullopt;
}

} // namespace

std::optional<WaveInfo> ParseWave(const std::uint8_t* pData, std::size_t nSize) {
    if (pData == nullptr || nSize < 12) {
        return std::nullopt;
    }
    const Bytes data(pData, nSize);
    if (!IsTag(data, "RIFF") || !IsTag(data.subspan(8), "WAVE")) {
        return std::nullopt;
    }
    // The RIFF size counts everything after its own field; a file shorter than
    // that has been cut off.
    const std::uint64_t nRiffEnd = std::uint64_t{ReadU32(data.subspan(4))} + 8;
    if (nRiffEnd > nSize || nRiffEnd < 12) {
        return std::nullopt;
    }
    const auto nEnd = static_cast<std::size_t>(nRiffEnd);

    std::optional<WaveSampleFormat> format;
    std::uint16_t nChannels = 0;
    std::uint32_t nRate = 0;
    std::uint16_t nBlockAlign = 0;
    std::size_t nPos = 12;
    while (nEnd - nPos >= 8) {
        const Bytes chunk = data.subspan(nPos);
        const std::uint32_t nChunkSize = ReadU32(chunk.subspan(4));
        if (nChunkSize > nEnd - nPos - 8) {
            return std::nullopt;
        }
        const Bytes body = chunk.subspan(8);
        if (IsTag(chunk, "fmt ")) {
            if (nChunkSize < 16) {
                return std::nullopt;
            }
            std::uint16_t nTag = ReadU16(body);
            nChannels = ReadU16(body.subspan(2));
            nRate = ReadU32(body.subspan(4));
            nBlockAlign = ReadU16(body.subspan(12));
            const std::uint16_t nBits = ReadU16(body.subspan(14));
            if (nTag == kFormatExtensible) {
                // The real format is the first two bytes of the sub-format GUID.
                if (nChunkSize < 40) {
                    return std::nullopt;
                }
                nTag = ReadU16(body.subspan(24));
            }
            format = SampleFormat(nTag, nBits);
            if (!format || nChannels < 1 || nChannels > 8 || nRate < 1 || nRate > 384000 ||
                nBlockAlign != nChannels * (nBits / 8)) {
                return std::nullopt;
            }
        } else if (IsTag(chunk, "data")) {
            if (!format) {
                return std::nullopt; // the format must come first
            }
            WaveInfo info;
            info.format = *format;
            info.nChannels = nChannels;
            info.nSampleRate = nRate;
            info.nBlockAlign = nBlockAlign;
            info.pSamples = body.data();
            info.nSampleBytes = nChunkSize - nChunkSize % nBlockAlign;
            return info;
        }
        // Chunks are padded to an even length.
        const std::size_t nNext = nPos + 8 + nChunkSize + (nChunkSize & 1U);
        if (nNext > nEnd) {
            break;
        }
        nPos = nNext;
    }
    return std::nullopt;
}

} // namespace corvane
