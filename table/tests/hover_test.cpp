// The hover zones and the flight path, checked at the edges that decide them.
#include "table/flight_path.hpp"
#include "table/hover.hpp"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(HoverTest, PotStripEnteredFromTheTableThenQuietInside) {
    EXPECT_EQ(EnteredZone(1500, 3000, 2000, 3000, false), HoverZone::Pot);
    EXPECT_EQ(EnteredZone(1500, 3500, 1500, 3000, true), HoverZone::None);
}

TEST(HoverTest, SeatsAnswerOnlyWithAnimals) {
    EXPECT_EQ(EnteredZone(1500, 4300, 1500, 3500, true), HoverZone::Seat0);
    EXPECT_EQ(EnteredZone(1500, 4300, 1500, 3500, false), HoverZone::None);
    EXPECT_EQ(EnteredZone(1000, 1000, 2000, 1000, true), HoverZone::Seat1);
    EXPECT_EQ(EnteredZone(1000, 2000, 1000, 3000, true), HoverZone::Seat1);
    EXPECT_EQ(EnteredZone(8000, 1000, 7000, 1000, true), HoverZone::Seat2);
    EXPECT_EQ(EnteredZone(8000, 2000, 8000, 3000, true), HoverZone::Seat2);
}

TEST(HoverTest, JumpAcrossThePotStripIsThePot) {
    // From the upper-left corner straight into the lower-left one crosses the
    // pot's top edge first.
    EXPECT_EQ(EnteredZone(1000, 4500, 1000, 2000, true), HoverZone::Pot);
}

TEST(HoverTest, EdgesBelongToTheZone) {
    EXPECT_EQ(EnteredZone(1815, 2505, 1816, 2505, false), HoverZone::Pot);
    EXPECT_EQ(EnteredZone(1815, 4200, 1816, 4200, false), HoverZone::Pot);
    EXPECT_EQ(EnteredZone(1816, 3000, 2000, 3000, false), HoverZone::None);
    EXPECT_EQ(EnteredZone(7800, 2505, 7799, 2505, true), HoverZone::Seat2);
    // Coming back from a stored position on the edge itself is not entering.
    EXPECT_EQ(EnteredZone(1500, 3000, 1815, 3000, true), HoverZone::None);
}

TEST(HoverTest, UserCornerAndOuterBorderPlayNothing) {
    EXPECT_EQ(EnteredZone(8000, 5000, 7000, 5000, true), HoverZone::None);
    // Leaving the window and coming back through its outer edge does not count.
    EXPECT_EQ(EnteredZone(10, 3000, -200, 3000, true), HoverZone::None);
    EXPECT_EQ(EnteredZone(1000, 6600, 1000, 7000, true), HoverZone::None);
}

TEST(HoverTest, SoundNamesAndStoredPosition) {
    EXPECT_EQ(HoverSound(HoverZone::Pot), Sound::OverPot);
    EXPECT_EQ(HoverSound(HoverZone::Seat0), Sound::OverPlayer1);
    EXPECT_EQ(HoverSound(HoverZone::Seat1), Sound::OverPlayer2);
    EXPECT_EQ(HoverSound(HoverZone::Seat2), Sound::OverPlayer3);
    EXPECT_EQ(RoundHalfEven(1815.5), 1816);
    EXPECT_EQ(RoundHalfEven(1814.5), 1814);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(2504.6), 2505);
}

TEST(FlightPathTest, FromTheLeftInFivePixelStepsThenExactlyHome) {
    // The Two of Clubs: column 2160 twips (144 px), row 2860 twips.
    const auto path = FlightPath(0, 4, 0);
    ASSERT_EQ(path.size(), 30U); // 0, 5 ... 140, then 144
    EXPECT_EQ(path.front(), (TwipsPoint{0, 2860}));
    EXPECT_EQ(path[28], (TwipsPoint{140 * 15, 2860}));
    EXPECT_EQ(path.back(), (TwipsPoint{2160, 2860}));
    // The Seven of Hearts goes to 432 px: 87 steps and the landing.
    EXPECT_EQ(FlightPath(0, 26, 0).size(), 88U);
}

TEST(FlightPathTest, FromTheTopAKingTakesOneStep) {
    const auto path = FlightPath(1, 51, 0);
    ASSERT_EQ(path.size(), 2U);
    EXPECT_EQ(path[0], (TwipsPoint{5040, 0}));
    EXPECT_EQ(path[1], (TwipsPoint{5040, 0}));
    // The Ace of Diamonds falls to 3120 twips (208 px): 0 ... 205, then 208.
    const auto ace = FlightPath(1, 1, 0);
    ASSERT_EQ(ace.size(), 43U);
    EXPECT_EQ(ace[41], (TwipsPoint{3600, 205 * 15}));
    EXPECT_EQ(ace.back(), (TwipsPoint{3600, 3120}));
}

TEST(FlightPathTest, FromTheRightStartsJustBeyondTheTable) {
    // The Seven of Spades (336 px) on a table 642 pixels wide: in sight from
    // the second step, whatever the screen.
    const auto path = FlightPath(2, 27, 9630);
    EXPECT_EQ(path.front(), (TwipsPoint{642 * 15, 1560}));
    EXPECT_EQ(path[1], (TwipsPoint{637 * 15, 1560}));
    EXPECT_EQ(path[path.size() - 2], (TwipsPoint{337 * 15, 1560}));
    EXPECT_EQ(path.back(), (TwipsPoint{5040, 1560}));
    EXPECT_EQ(path.size(), 63U); // 642 down to 337, then 336
    // A table narrower than the target still lands the card.
    EXPECT_EQ(FlightPath(2, 27, 1500), (std::vector<TwipsPoint>{{5040, 1560}}));
}

TEST(FlightPathTest, NoPathForOtherSeatsOrNonCards) {
    EXPECT_TRUE(FlightPath(3, 26, 1000).empty());
    EXPECT_TRUE(FlightPath(0, 52, 1000).empty());
    EXPECT_TRUE(FlightPath(0, -1, 1000).empty());
}

TEST(FlightPathTest, StepWaitIsLinearInTheSpeed) {
    EXPECT_EQ(FlightStepMicroseconds(0), 0);
    EXPECT_EQ(FlightStepMicroseconds(-5), 0);
    EXPECT_EQ(FlightStepMicroseconds(80000), 2 * FlightStepMicroseconds(40000));
    // The default glides to the farthest column in about a second.
    const long long nTotal = FlightStepMicroseconds(80000) * 88;
    EXPECT_GT(nTotal, 800'000);
    EXPECT_LT(nTotal, 1'200'000);
}

} // namespace
} // namespace corvane
