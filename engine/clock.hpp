// The clock as the game sees it: a millisecond tick count and the calendar time.
// Kept behind an interface so that a seeded game replays exactly.
#pragma once

#include <chrono>
#include <cstdint>

namespace corvane {

using Date = std::chrono::sys_seconds;

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since some fixed moment, wrapping at 2^32.
    virtual std::uint32_t TickCount() = 0;
    virtual Date Now() = 0;

protected:
    Clock() = default;
    Clock(const Clock&) = default;
    Clock(Clock&&) = default;
    Clock& operator=(const Clock&) = default;
    Clock& operator=(Clock&&) = default;
};

} // namespace corvane
