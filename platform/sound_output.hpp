// Plays a complete in-memory wave file and returns when it has been heard.
// The window runs PlayWave on a worker thread and keeps painting meanwhile,
// so implementations must be callable from any thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane {

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // True when the whole sound was played. False at once when the data is
    // not a playable wave file or there is no sound server; never hangs
    // waiting for one to appear.
    virtual bool PlayWave(const std::uint8_t* pData, std::size_t nSize) = 0;

protected:
    SoundOutput() = default;
    SoundOutput(const SoundOutput&) = default;
    SoundOutput(SoundOutput&&) = default;
    SoundOutput& operator=(const SoundOutput&) = default;
    SoundOutput& operator=(SoundOutput&&) = default;
};

} // namespace corvane
