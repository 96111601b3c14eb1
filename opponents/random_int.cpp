// The opponents' random generator. All arithmetic stays within 32-bit signed
// range for every state, including the negative ones a caller might store; the
// range arithmetic of the draw is done in 64 bits so that no range overflows.
#include "opponents/random_int.hpp"

#include "engine/mglobal.hpp"

#include <array>
#include <cstdint>

namespace corvane {
namespace {

constexpr std::int32_t kModulus = 2147483647; // 2^31 - 1
constexpr std::int32_t kMultiplier = 48271;
constexpr std::int32_t kQuotient = 44488; // kModulus / kMultiplier
constexpr std::int32_t kRemainder = 3399; // kModulus % kMultiplier

// lSeed / kQuotient rounded to the nearest integer, an exact half to the even
// neighbour. Done on integers: the quotient of a 32-bit number by kQuotient is
// never close enough to a half for a floating-point division to round otherwise.
// Whether it rounds away from zero is as good as random, so it is added as a
// number rather than taken as a branch.
std::int32_t RoundedQuotient(std::int32_t lSeed) {
    const std::int32_t nTrunc = lSeed / kQuotient;
    const std::int32_t nRest = lSeed % kQuotient; // same sign as lSeed
    const std::int32_t nTwice = 2 * (nRest < 0 ? -nRest : nRest);
    const std::int32_t nAway = lSeed < 0 ? -1 : 1;
    const std::int32_t nRoundsAway = static_cast<std::int32_t>(nTwice > kQuotient) |
                                     (static_cast<std::int32_t>(nTwice == kQuotient) & nTrunc & 1);
    return nTrunc + nAway * nRoundsAway;
}

// The ranges the strategies draw from are a handful of cards. For those the
// remainder is taken with a multiplication by the range's reciprocal, rounded
// up, instead of a division: for a divisor d below 2^l and any state below 2^31,
// m = ceil(2^(31 + l) / d) gives the exact quotient (t * m) >> (31 + l).
struct Reciprocal {
    std::uint64_t nMul = 0;
    unsigned nShift = 0;
};
constexpr std::uint32_t kSmallRanges = 64;
constexpr std::array<Reciprocal, kSmallRanges + 1> kReciprocals = [] {
    std::array<Reciprocal, kSmallRanges + 1> r{};
    for (std::uint32_t d = 1; d <= kSmallRanges; ++d) {
        unsigned l = 0;
        while ((std::uint32_t{1} << l) < d) {
            ++l;
        }
        const std::uint64_t nPower = std::uint64_t{1} << (31U + l);
        r[d] = Reciprocal{(nPower + d - 1) / d, 31U + l};
    }
    return r;
}();

std::uint32_t Remainder(std::uint32_t t, std::uint32_t d) {
    if (d > kSmallRanges) {
        return t % d;
    }
    const Reciprocal& r = kReciprocals[d];
    const auto q = static_cast<std::uint32_t>((t * r.nMul) >> r.nShift);
    return t - q * d;
}

// Inlined into the draw, which runs on every opponent move.
inline std::int32_t Step(std::int32_t lSeed) {
    const std::int32_t hi = RoundedQuotient(lSeed);
    const std::int32_t lo = lSeed % kQuotient;
    // |lo| < 44488 and |hi| <= 48271, so both products and their difference fit.
    std::int32_t t = kMultiplier * lo - kRemainder * hi;
    if (t <= 0) {
        t += kModulus;
    }
    return t;
}

} // namespace

std::int32_t NextSeed(std::int32_t lSeed) {
    return Step(lSeed);
}

std::int32_t RandomInt(std::int32_t& lSeed, std::int32_t nLow, std::int32_t nHigh, Clock& clock) {
    if (lSeed == 0) {
        StoreTickCount(lSeed, clock.TickCount());
    }
    const std::int32_t t = Step(lSeed);
    lSeed = t;
    if (nLow == 0 && nHigh == kModulus) {
        return t;
    }
    const std::int64_t a = nLow < nHigh ? nLow : nHigh;
    const std::int64_t b = nLow < nHigh ? nHigh : nLow;
    // t is positive, so the remainder is too and the sum stays within a..b. Any
    // range that fits is divided in 32 bits, which is quicker.
    const std::int64_t nRange = b - a + 1;
    if (nRange <= kModulus) {
        return static_cast<std::int32_t>(
            a + Remainder(static_cast<std::uint32_t>(t), static_cast<std::uint32_t>(nRange)));
    }
    return static_cast<std::int32_t>(a + t % nRange);
}

} // namespace corvane
