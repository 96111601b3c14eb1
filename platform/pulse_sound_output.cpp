#include "pulse_sound_output.hpp"

#include "wave_file.hpp"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <utility>

#include <dlfcn.h>
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

// An entry point of the client library by name, typed as its declaration.
template <typename Function>
Function* Symbol(void* pLibrary, const char* sName) {
    // dlsym hands out functions as untyped addresses.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
    return reinterpret_cast<Function*>(dlsym(pLibrary, sName));
}

} // namespace

// The client library is loaded at the first sound rather than with the
// program: it brings a dozen codec libraries along that the table does not
// need to come up. It stays loaded until the program ends.
struct PulseSoundOutput::Library {
    decltype(&pa_simple_new) pNew = nullptr;
    decltype(&pa_simple_write) pWrite = nullptr;
    decltype(&pa_simple_drain) pDrain = nullptr;
    decltype(&pa_simple_free) pFree = nullptr;
    decltype(&pa_sample_spec_valid) pSpecValid = nullptr;

    Library() {
        void* pLibrary = dlopen("libpulse-simple.so.0", RTLD_NOW | RTLD_LOCAL);
        if (pLibrary == nullptr) {
            return;
        }
        pNew = Symbol<decltype(pa_simple_new)>(pLibrary, "pa_simple_new");
        pWrite = Symbol<decltype(pa_simple_write)>(pLibrary, "pa_simple_write");
        pDrain = Symbol<decltype(pa_simple_drain)>(pLibrary, "pa_simple_drain");
        pFree = Symbol<decltype(pa_simple_free)>(pLibrary, "pa_simple_free");
        // From the sound library the client library itself is built on.
        pSpecValid = Symbol<decltype(pa_sample_spec_valid)>(pLibrary, "pa_sample_spec_valid");
    }
    bool IsComplete() const {
        return pNew != nullptr && pWrite != nullptr && pDrain != nullptr && pFree != nullptr &&
               pSpecValid != nullptr;
    }
};

const PulseSoundOutput::Library* PulseSoundOutput::Load() {
    std::call_once(loaded_, [this] { pLibrary_ = std::make_unique<Library>(); });
    return pLibrary_->IsComplete() ? pLibrary_.get() : nullptr;
}

PulseSoundOutput::PulseSoundOutput(std::string sServer, std::string sAppName)
    : sServer_(std::move(sServer)), sAppName_(std::move(sAppName)) {}

PulseSoundOutput::~PulseSoundOutput() = default;

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
    const Library* pa = Load();
    if (pa == nullptr) {
        return false;
    }
    pa_sample_spec sampleFormat{};
    sampleFormat.format = PulseFormat(wave->format);
    sampleFormat.rate = wave->nSampleRate;
    sampleFormat.channels = static_cast<std::uint8_t>(wave->nChannels);
    if (pa->pSpecValid(&sampleFormat) == 0) {
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
    const auto release = [pa](pa_simple* pStream) { pa->pFree(pStream); };
    std::unique_ptr<pa_simple, decltype(release)> stream(
        pa->pNew(server->empty() ? nullptr : server->c_str(), sAppName_.c_str(), PA_STREAM_PLAYBACK,
                 nullptr, "sound effect", &sampleFormat, nullptr, nullptr, &nError),
        release);
    if (!stream) {
        return false;
    }
    if (wave->nSampleBytes > 0 &&
        pa->pWrite(stream.get(), wave->pSamples, wave->nSampleBytes, &nError) < 0) {
        return false;
    }
    return pa->pDrain(stream.get(), &nError) >= 0;
}

} // namespace corvane
