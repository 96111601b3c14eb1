// The opponents' generator: its exact sequence, its seeding and its ranges.
#include "opponents/random_int.hpp"
#include "opponents/tests/fake_clock.hpp"

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::FakeClock;

constexpr std::int32_t kModulus = 2147483647;
constexpr std::int32_t kMinLong = std::numeric_limits<std::int32_t>::min();

// The step written the way it was first defined: the quotient divided in
// floating point and rounded to nearest, ties to even (the default rounding mode).
std::int32_t FloatingPointStep(std::int32_t lSeed) {
    const auto hi = static_cast<std::int64_t>(std::nearbyint(static_cast<double>(lSeed) / 44488.0));
    const std::int64_t lo = lSeed % 44488;
    std::int64_t t = 48271 * lo - 3399 * hi;
    if (t <= 0) {
        t += kModulus;
    }
    return static_cast<std::int32_t>(t);
}

TEST(RandomIntSequence, KnownStatesAndDraws) {
    EXPECT_EQ(NextSeed(1), 48271);
    EXPECT_EQ(NextSeed(48271), 182605794);
    EXPECT_EQ(NextSeed(182605794), 1291391487);

    FakeClock clock;
    std::int32_t lSeed = 1;
    EXPECT_EQ(RandomInt(lSeed, 0, 12, clock), 2);
    EXPECT_EQ(lSeed, 48271);
    EXPECT_EQ(RandomInt(lSeed, 0, 12, clock), 7);
    EXPECT_EQ(lSeed, 182605794);
    EXPECT_EQ(clock.nReads, 0);
}

TEST(RandomIntSequence, QuotientIsRoundedHalfToEvenNotTruncated) {
    // 66732 / 44488 = 1.5 goes up to 2: the textbook generator would give 1073736725.
    EXPECT_EQ(NextSeed(66732), 1073733326);
    // 111220 / 44488 = 2.5 stays at 2, where rounding half up would give 1073729927.
    EXPECT_EQ(NextSeed(111220), 1073733326);
    // 22244 / 44488 = 0.5 stays at 0.
    EXPECT_EQ(NextSeed(22244), 48271 * 22244);
    // 44487 / 44488 is just below 1 and rounds up.
    EXPECT_EQ(NextSeed(44487), 48271 * 44487 - 3399);
}

TEST(RandomIntSequence, AgreesWithFloatingPointRoundingAtEveryHalfAndAcrossTheRange) {
    for (std::int64_t k = 0; 44488 * k + 22244 <= kModulus; ++k) {
        const auto nTie = static_cast<std::int32_t>(44488 * k + 22244);
        ASSERT_EQ(NextSeed(nTie), FloatingPointStep(nTie)) << nTie;
        ASSERT_EQ(NextSeed(-nTie), FloatingPointStep(-nTie)) << -nTie;
    }
    for (std::int64_t x = 1; x <= kModulus; x += 7919) {
        const auto lSeed = static_cast<std::int32_t>(x);
        ASSERT_EQ(NextSeed(lSeed), FloatingPointStep(lSeed)) << lSeed;
    }
}

TEST(RandomIntSequence, IsTheMultiplicativeGeneratorWhereTheQuotientRoundsDown) {
    for (std::int64_t x = 1; x < kModulus; x += 104729) {
        if (2 * (x % 44488) >= 44488) {
            continue;
        }
        const auto lSeed = static_cast<std::int32_t>(x);
        ASSERT_EQ(NextSeed(lSeed), static_cast<std::int32_t>(48271 * x % kModulus)) << x;
    }
}

TEST(RandomIntSequence, StateStaysWithinOneToTheModulusForAnyStoredValue) {
    const std::vector<std::int32_t> seeds{1,      -1,        kModulus, kMinLong, kMinLong + 1,
                                          -66732, -111220,   44487,    -44487,   1073733326,
                                          -22244, 2147480248};
    for (std::int32_t lSeed : seeds) {
        const std::int32_t t = NextSeed(lSeed);
        EXPECT_GE(t, 1) << lSeed;
        EXPECT_LE(t, kModulus) << lSeed;
    }
    // -1.5 rounds to -2, -2.5 to -2, like their positive counterparts.
    EXPECT_EQ(NextSeed(-66732), FloatingPointStep(-66732));
    EXPECT_EQ(NextSeed(-111220), FloatingPointStep(-111220));
}

TEST(RandomIntSeeding, ReadsTheClockOnlyWhileTheStateIsZero) {
    FakeClock zeroTick(0);
    std::int32_t lSeed = 0;
    EXPECT_EQ(RandomInt(lSeed, 0, kModulus, zeroTick), kModulus);
    EXPECT_EQ(lSeed, kModulus);
    EXPECT_EQ(zeroTick.nReads, 1);

    // A tick count of 2^32 - 1 reads as -1, so the seed is 1.
    FakeClock wrappedTick(0xFFFFFFFFU);
    lSeed = 0;
    EXPECT_EQ(RandomInt(lSeed, 0, kModulus, wrappedTick), 48271);
    EXPECT_EQ(RandomInt(lSeed, 0, kModulus, wrappedTick), 182605794);
    EXPECT_EQ(wrappedTick.nReads, 1);

    FakeClock tick(1);
    lSeed = 0;
    EXPECT_EQ(RandomInt(lSeed, 0, 12, tick), 2);
    EXPECT_EQ(tick.nReads, 1);
}

TEST(RandomIntRange, EitherOrderAndDegenerateRanges) {
    FakeClock clock;
    std::int32_t lSeed = 1;
    std::set<std::int32_t> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t n = RandomInt(lSeed, 5, 2, clock);
        ASSERT_GE(n, 2);
        ASSERT_LE(n, 5);
        seen.insert(n);
    }
    EXPECT_EQ(seen, (std::set<std::int32_t>{2, 3, 4, 5}));

    lSeed = 1;
    EXPECT_EQ(RandomInt(lSeed, 0, 0, clock), 0);
    EXPECT_EQ(lSeed, 48271);

    lSeed = 48271;
    EXPECT_EQ(RandomInt(lSeed, 0, kModulus, clock), 182605794);

    lSeed = 1;
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t n = RandomInt(lSeed, 3, -3, clock);
        ASSERT_GE(n, -3);
        ASSERT_LE(n, 3);
    }
}

TEST(RandomIntRange, WidestRangesDoNotOverflow) {
    FakeClock clock;
    std::int32_t lSeed = 1;
    // The whole 32-bit range: the value is the state shifted down by 2^31.
    EXPECT_EQ(RandomInt(lSeed, kMinLong, std::numeric_limits<std::int32_t>::max(), clock),
              48271 + kMinLong);
    EXPECT_EQ(RandomInt(lSeed, std::numeric_limits<std::int32_t>::max(), kMinLong, clock),
              182605794 + kMinLong);
    lSeed = 1;
    EXPECT_EQ(RandomInt(lSeed, -5, kModulus, clock), -5 + 48271);
}

TEST(RandomIntRange, SmallRangeIsEvenlyCovered) {
    FakeClock clock;
    std::int32_t lSeed = 20261206;
    std::vector<int> counts(4, 0);
    constexpr int kDraws = 10000;
    for (int i = 0; i < kDraws; ++i) {
        ++counts[static_cast<std::size_t>(RandomInt(lSeed, 0, 3, clock))];
    }
    for (int n : counts) {
        EXPECT_NEAR(n, kDraws / 4, 200);
    }
}

} // namespace
} // namespace corvane
