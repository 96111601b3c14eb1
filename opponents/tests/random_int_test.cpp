// The opponents' generator: its exact sequence, its seeding and its ranges.
#include "opponents/random_int.hpp"
#include "opponents/testing/fake_clock.hpp"

#include <cstdint>
#include <limits>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::FakeClock;

constexpr std::int32_t kModulus = 2147483647;
constexpr std::int32_t kMinLong = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMaxLong = std::numeric_limits<std::int32_t>::max();

TEST(RandomInt, KnownStates) {
    // The quotient by 44488 is rounded, an exact half to even: 66732 (1.5) goes up
    // and 111220 (2.5) stays, where truncation or rounding half up would differ.
    const std::vector<std::pair<std::int32_t, std::int32_t>> steps{
        {1, 48271},           {48271, 182605794},      {66732, 1073733326},  {111220, 1073733326},
        {22244, 1073740124},  {44487, 2147428578},     {-66732, 1073750321}, {-111220, 1073750321},
        {-22244, 1073743523}, {-44487, 55069},         {-1, 2147435376},     {kMinLong, 2147435376},
        {kModulus, kModulus}, {2147480248, 1983410518}};
    for (const auto& [lSeed, lNext] : steps) {
        EXPECT_EQ(NextSeed(lSeed), lNext) << lSeed;
    }
}

TEST(RandomInt, SeedsFromTheClockOnlyWhileTheStateIsZero) {
    FakeClock clock;
    std::int32_t lSeed = 1;
    EXPECT_EQ(RandomInt(lSeed, 0, 12, clock), 2);
    EXPECT_EQ(RandomInt(lSeed, 0, 12, clock), 7);
    EXPECT_EQ(lSeed, 182605794);
    EXPECT_EQ(clock.nReads, 0);

    // A tick count of 0 leaves the state 0 and the step gives the modulus; one
    // of 2^32 - 1 reads as -1, so the seed is 1.
    for (const auto& [nTick, lFirst] : std::vector<std::pair<std::uint32_t, std::int32_t>>{
             {0U, kModulus}, {0xFFFFFFFFU, 48271}}) {
        FakeClock tick(nTick);
        lSeed = 0;
        EXPECT_EQ(RandomInt(lSeed, 0, kModulus, tick), lFirst);
        EXPECT_EQ(lSeed, lFirst);
        RandomInt(lSeed, 0, kModulus, tick);
        EXPECT_EQ(tick.nReads, 1);
    }
}

TEST(RandomInt, RangesInEitherOrderAndAtTheirWidest) {
    FakeClock clock;
    std::int32_t lSeed = 1;
    std::set<std::int32_t> seen;
    for (int i = 0; i < 1000; ++i) {
        seen.insert(RandomInt(lSeed, 5, 2, clock));
    }
    EXPECT_EQ(seen, (std::set<std::int32_t>{2, 3, 4, 5}));
    lSeed = 1;
    EXPECT_EQ(RandomInt(lSeed, 0, 0, clock), 0);
    EXPECT_EQ(RandomInt(lSeed, 3, -3, clock), -3 + 182605794 % 7);
    // The whole 32-bit range: the value is the state shifted down by 2^31.
    lSeed = 1;
    EXPECT_EQ(RandomInt(lSeed, kMinLong, kMaxLong, clock), 48271 + kMinLong);
    EXPECT_EQ(RandomInt(lSeed, kMaxLong, kMinLong, clock), 182605794 + kMinLong);
    lSeed = 1;
    EXPECT_EQ(RandomInt(lSeed, -5, kModulus, clock), -5 + 48271);
}

} // namespace
} // namespace corvane
