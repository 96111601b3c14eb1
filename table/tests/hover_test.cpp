// The hover zones and the flight path, checked at the edges that decide them.
#include "table/flight_path.hpp"
#include "table/hover.hpp"

#include <algorithm>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(HoverTest, ZoneEnteredByAMove) {
    struct Case {
        double x, y;
        int nLastX, nLastY;
        bool bAnimals;
        HoverZone zone;
    };
    const std::vector<Case> kCases{
        // The seats answer only with animals.
        {1500, 4300, 1500, 3500, true, HoverZone::Seat0},
        {1500, 4300, 1500, 3500, false, HoverZone::None},
        // A jump from the upper-left corner into the lower-left one crosses
        // the pot's top edge first.
        {1000, 4500, 1000, 2000, true, HoverZone::Pot},
        // Edges belong to the zone.
        {1815, 2505, 1816, 2505, false, HoverZone::Pot},
        {1815, 4200, 1816, 4200, false, HoverZone::Pot},
        {7800, 2505, 7799, 2505, true, HoverZone::Seat2},
        // Coming back from a stored position on the edge itself is not entering.
        {1500, 3000, 1815, 3000, true, HoverZone::None},
        {1500, 4300, 1815, 4300, true, HoverZone::None},
        {8000, 2000, 8000, 2505, true, HoverZone::None},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(EnteredZone(c.x, c.y, c.nLastX, c.nLastY, c.bAnimals), c.zone)
            << c.x << "," << c.y << " from " << c.nLastX << "," << c.nLastY;
    }
}

TEST(HoverTest, StoredPositionRoundsHalvesToEven) {
    for (const auto& [v, n] : std::vector<std::pair<double, int>>{
             {1815.5, 1816}, {1814.5, 1814}, {-0.5, 0}, {2504.6, 2505}}) {
        EXPECT_EQ(RoundHalfEven(v), n) << v;
    }
}

TEST(FlightPathTest, StepsFromTheSeatsSideThenExactlyHome) {
    struct Case {
        int nSeat, nCard, nTableWidth;
        std::size_t nPoints;
        TwipsPoint first, beforeLast, last;
    };
    const std::vector<Case> kCases{
        // The Two of Clubs from the left: 0, 5 ... 140 px, then its column at 144.
        {0, 4, 0, 30, {0, 2860}, {140 * 15, 2860}, {2160, 2860}},
        // A King falls one step from the top; the Ace of Diamonds 0 ... 205, then 208.
        {1, 51, 0, 2, {5040, 0}, {5040, 0}, {5040, 0}},
        {1, 1, 0, 43, {3600, 0}, {3600, 205 * 15}, {3600, 3120}},
        // The Seven of Spades (336 px) from just beyond a table 642 pixels wide,
        // so in sight from the second step whatever the screen.
        {2, 27, 9630, 63, {642 * 15, 1560}, {337 * 15, 1560}, {5040, 1560}},
    };
    for (const Case& c : kCases) {
        const auto path = FlightPath(c.nSeat, c.nCard, c.nTableWidth);
        ASSERT_EQ(path.size(), c.nPoints) << c.nCard;
        EXPECT_EQ(path.front(), c.first) << c.nCard;
        EXPECT_EQ(path[std::max<std::size_t>(path.size(), 2) - 2], c.beforeLast) << c.nCard;
        EXPECT_EQ(path.back(), c.last) << c.nCard;
    }
    // Only real cards fly.
    EXPECT_TRUE(FlightPath(0, 52, 1000).empty());
    EXPECT_TRUE(FlightPath(0, -1, 1000).empty());
    EXPECT_FALSE(FlightPath(0, 0, 1000).empty()); // the Ace of Clubs, first of the deck
}

TEST(FlightPathTest, StepWaitIsLinearInTheSpeed) {
    EXPECT_EQ(FlightStepMicroseconds(-5), 0);
    EXPECT_EQ(FlightStepMicroseconds(80000), 2 * FlightStepMicroseconds(40000));
    // The default glides to the farthest column (the Seven of Hearts, 88 steps) in about a second.
    const long long nTotal = FlightStepMicroseconds(80000) * 88;
    EXPECT_GT(nTotal, 800'000);
    EXPECT_LT(nTotal, 1'200'000);
}

} // namespace
} // namespace corvane
