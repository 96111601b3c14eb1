// A clock for the tests: a fixed tick count, and a count of how often it was read.
#pragma once

#include "engine/clock.hpp"

#include <cstdint>

namespace corvane::testing {

class FakeClock final : public Clock {
public:
    explicit FakeClock(std::uint32_t nTick = 12345) : nTick_(nTick) {}

    std::uint32_t TickCount() override {
        ++nReads;
        return nTick_;
    }
    Date Now() override { return Date{}; }

    int nReads = 0;

private:
    std::uint32_t nTick_;
};

} // namespace corvane::testing
