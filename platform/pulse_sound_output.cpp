#include "pulse_sound_output.hpp"

#include "wave_file.hpp"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <utility>

#include <pulse/simple.h>

namespace corvane {

namespace {

pa_sample_format_t PulseFormat(WaveSampleFormat format) {
    switch (format) {
    case WaveSampleFormat::U8:
        return PA_SAMPLE_U8;
    case WaveSampleFormat::S16LE:
        return PA_SAMPLE_S16LE;
    case WaveSampleFormat::S24LE:
        return PA_SAMPLE_S24LE;
    case WaveSampleFormat::S32LE:
        return PA_SAMPLE_S32LE;
    case WaveSampleFormat::Float32LE:
        return PA_SAMPLE_FLOAT32LE;
    }
    return PA_SAMPLE_INVALID;
}

std::string EnvValue(const char* sName) {
    const char* sValue = std::getenv(sName);
    return sValue == nullptr ? std::string{} : std::string{sValue};
}

bool IsSocket(const std::string& sPath) {
    std::error_code error;
    return std::filesystem::is_socket(sPath, error);
}

struct SimpleDeleter {
    void operator()(pa_simple* pStream) const { pa_simple_free(pStream); }
};

} // namespace

PulseSoundOutput::PulseSoundOutput(std::string sServer, std::string sAppName)
    : sServer_(std::move(sServer)), sAppName_(std::move(sAppName)) {}

std::optional<std::string> PulseSoundOutput::DefaultServer() {
    if (!EnvValue("PULSE_SERVER").empty()) {
        return std::string{};
    }
    std::string sList;
    const auto add = [&sList](const std::string& sSocket) {
        if (IsSocket(sSocket)) {
            sList += (sList.empty() ? "unix:" : " unix:") + sSocket;
        }
    };
    if (const std::string sRuntime = EnvValue("PULSE_RUNTIME_PATH"); !sRuntime.empty()) {
        add(sRuntime + "/native");
    }
    if (const std::string sRuntime = EnvValue("XDG_RUNTIME_DIR"); !sRuntime.empty()) {
        add(sRuntime + "/pulse/native");
    }
    add("/run/pulse/native");
    add("/var/run/pulse/native");
    if (sList.empty()) {
        return std::nullopt;
    }
    return sList;
}

bool PulseSoundOutput::PlayWave(const std::uint8_t* pData, std::size_t nSize) {
    const std::optional<WaveInfo> wave = ParseWave(pData, nSize);
    if (!wave) {
        return false;
    }
    pa_sample_spec sampleFormat{};
    sampleFormat.format = PulseFormat(wave->format);
    sampleFormat.rate = wave->nSampleRate;
    sampleFormat.channels = static_cast<std::uint8_t>(wave->nChannels);
    if (pa_sample_spec_valid(&sampleFormat) == 0) {
        return false;
    }

    std::optional<std::string> server = sServer_;
    if (sServer_.empty()) {
        server = DefaultServer();
        if (!server) {
            return false;
        }
    }
    int nError = 0;
    std::unique_ptr<pa_simple, SimpleDeleter> stream(pa_simple_new(
        server->empty() ? nullptr : server->c_str(), sAppName_.c_str(), PA_STREAM_PLAYBACK, nullptr,
        "sound effect", &sampleFormat, nullptr, nullptr, &nError));
    if (!stream) {
        return false;
    }
    if (wave->nSampleBytes > 0 &&
        pa_simple_write(stream.get(), wave->pSamples, wave->nSampleBytes, &nError) < 0) {
        return false;
    }
    return pa_simple_drain(stream.get(), &nError) >= 0;
}

} // namespace corvane
