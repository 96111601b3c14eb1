#include "fixture.hpp"

#include <gmock/gmock.h>

namespace corvane {
namespace {

using ::testing::ElementsAre;
using RulesTest = EngineTest;

TEST_F(RulesTest, UserPlayableListsExtensionsThenSevens) {
    // Only the Seven of Hearts down; Six and Eight of Hearts, Seven of Clubs, King of Spades.
    UserTurnWith({26}, {22, 30, 24, 51});
    EXPECT_TRUE(S().bUserCanPlay);
    EXPECT_THAT(S().UserPlayable, ElementsAre(22, 30, 24));

    // Lower extensions by suit Clubs..Spades, upper ones Spades..Clubs, then Sevens.
    UserTurnWith({24, 28, 26, 27}, {20, 23, 32, 31, 25});
    EXPECT_THAT(S().UserPlayable, ElementsAre(20, 23, 31, 32, 25));

    // Hearts from Ace to Seven: the King of Hearts cannot follow, nor a row wrap.
    UserTurnWith({2, 6, 10, 14, 18, 22, 26}, {50});
    EXPECT_FALSE(S().bUserCanPlay);
    EXPECT_TRUE(S().UserPlayable.empty());
    UserTurnWith({26, 30, 34, 38, 42, 46, 50}, {3, 51});
    EXPECT_FALSE(S().bUserCanPlay);
}

TEST_F(RulesTest, CardsPlayedSortsDescending) {
    for (int c : {26, 30, 22, 25}) {
        game.AddToCardsPlayed(c);
    }
    game.SortCardsPlayed();
    EXPECT_THAT(S().CardsPlayed, ElementsAre(30, 26, 25, 22));
    EXPECT_EQ(S().nCardsPlayed, 4);
    // A table set up out of order is put in order with the cards laid since.
    S().SetCardsPlayed({22, 30, 26});
    game.AddToCardsPlayed(34);
    game.AddToCardsPlayed(18);
    game.SortCardsPlayed();
    EXPECT_THAT(S().CardsPlayed, ElementsAre(34, 30, 26, 22, 18));
}

TEST_F(RulesTest, HandIsCentredAndHitByItsVisibleStrips) {
    S().SetHand(3, std::vector<int>(13, 0));
    game.DrawUserHand();
    EXPECT_EQ(S().nHandLeft, 9630 / 2 - 2695);
    EXPECT_EQ(S().nHandTop, 5100);
    S().nHandLeft = 2000;
    // x, y and the card hit there; each card shows a 360-twip strip, the last its whole width.
    const std::vector<std::array<float, 3>> hits{
        {2000, 5200, 0},  {2359, 5200, 0},  {2360, 5200, 1},  {6319, 5200, 11},
        {6320, 5200, 12}, {7390, 5200, 12}, {7391, 5200, -1}, {1999, 5200, -1},
        {3000, 5100, 2},  {3000, 6530, 2},  {3000, 6531, -1}, {3000, 5099, -1}};
    for (const auto& [x, y, nIndex] : hits) {
        EXPECT_EQ(game.HitTestHand(x, y), static_cast<int>(nIndex)) << x << "," << y;
    }
    S().SetHand(3, std::vector<int>(1, 0));
    game.DrawUserHand();
    EXPECT_EQ(S().nHandLeft, 9630 / 2 - 535);
    EXPECT_EQ(game.HitTestHand(4280 + 1070, 6530), 0);
    EXPECT_EQ(game.HitTestHand(4280 + 1071, 6530), -1);
}

TEST_F(RulesTest, PauseLastsTwentyTicks) {
    game.tmrCount_Timer(); // a tick outside a pause changes nothing
    EXPECT_FALSE(S().bDelayDone);
    S().nDelay = 20;
    for (int i = 0; i < 20; ++i) {
        EXPECT_FALSE(S().bDelayDone) << i;
        game.tmrCount_Timer();
    }
    EXPECT_TRUE(S().bDelayDone);
    EXPECT_EQ(S().nDelay, 0);
    S().bDelayDone = false;
    game.Pause();
    EXPECT_EQ(port.nPauses, 1);
    EXPECT_FALSE(S().bDelayDone);
}

} // namespace
} // namespace corvane
