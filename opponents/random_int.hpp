// The opponents' own random generator: a multiplicative congruential generator
// (modulus 2^31 - 1, multiplier 48271) by Schrage's method, with the quotient
// rounded rather than truncated. The rounding is part of the game's behaviour:
// the sequence must stay exactly as it always was.
#pragma once

#include "engine/clock.hpp"

#include <cstdint>

namespace corvane {

// The state that follows lSeed (never 0 for a non-zero seed).
std::int32_t NextSeed(std::int32_t lSeed);

// Draws from the generator whose state is lSeed, seeding it from the clock's
// tick count while it is 0. RandomInt(0, 2147483647) returns the raw state;
// otherwise a value in the closed range between nLow and nHigh, either order.
std::int32_t RandomInt(std::int32_t& lSeed, std::int32_t nLow, std::int32_t nHigh, Clock& clock);

} // namespace corvane
