// Sound output through a PulseAudio-compatible sound server (PulseAudio
// itself or PipeWire's replacement) with the blocking "simple" client API.
#pragma once

#include "sound_output.hpp"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace corvane {

class PulseSoundOutput final : public SoundOutput {
public:
    // An empty server means the user's usual one; tests pass the socket of a
    // private server ("unix:/path/native").
    explicit PulseSoundOutput(std::string sServer = {}, std::string sAppName = "Corvane");
    ~PulseSoundOutput() override;
    PulseSoundOutput(const PulseSoundOutput&) = delete;
    PulseSoundOutput& operator=(const PulseSoundOutput&) = delete;
    PulseSoundOutput(PulseSoundOutput&&) = delete;
    PulseSoundOutput& operator=(PulseSoundOutput&&) = delete;

    // Opens one stream per sound, writes it and waits until it has drained.
    // Keeps nothing between calls but the loaded library, so concurrent calls
    // are safe.
    bool PlayWave(const std::uint8_t* pData, std::size_t nSize) override;

    // The servers to try when none was given. An empty string when
    // PULSE_SERVER is set (the client library reads it itself); otherwise the
    // sockets of a per-user or system-wide server that exist, as a list; none
    // at all when there is no socket to try. Naming the sockets ourselves
    // keeps the client library from starting a server of its own (autospawn),
    // which can block for seconds or start one nobody wants.
    static std::optional<std::string> DefaultServer();

private:
    struct Library;
    // The client library's entry points, loaded at the first sound; null when
    // the library cannot be loaded.
    const Library* Load();

    std::string sServer_;
    std::string sAppName_;
    std::once_flag loaded_;
    std::unique_ptr<Library> pLibrary_;
};

} // namespace corvane
