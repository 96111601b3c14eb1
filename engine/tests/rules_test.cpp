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
    UserTurnWith({24, 28, 26}, {20, 32, 27});
    EXPECT_THAT(S().UserPlayable, ElementsAre(20, 32, 27));
}

TEST_F(RulesTest, RowsEndAtAceAndKing) {
    // Hearts from Ace to Seven: the King of Hearts cannot follow.
    UserTurnWith({2, 6, 10, 14, 18, 22, 26}, {50});
    EXPECT_FALSE(S().bUserCanPlay);
    EXPECT_TRUE(S().UserPlayable.empty());

    // The whole Hearts row is down: nothing of it wraps.
    std::vector<int> hearts;
    for (int c = 2; c < 52; c += 4) {
        hearts.push_back(c);
    }
    UserTurnWith(hearts, {3, 51});
    EXPECT_FALSE(S().bUserCanPlay);
}

TEST_F(RulesTest, CardsPlayedSortsDescending) {
    for (int c : {26, 30, 22, 25}) {
        game.AddToCardsPlayed(c);
    }
    game.SortCardsPlayed();
    EXPECT_THAT(S().CardsPlayed, ElementsAre(30, 26, 25, 22));
    EXPECT_EQ(S().nCardsPlayed, 4);
}

TEST_F(RulesTest, HitTestOnTheFannedHand) {
    S().UserHand.assign(13, 0);
    S().nHandLeft = 2000;
    S().nHandTop = 5100;
    S().nCardSpacing = 360;
    const float y = 5200;
    EXPECT_EQ(game.HitTestHand(2000, y), 0);
    EXPECT_EQ(game.HitTestHand(2359, y), 0);
    EXPECT_EQ(game.HitTestHand(2360, y), 1);
    EXPECT_EQ(game.HitTestHand(6319, y), 11);
    EXPECT_EQ(game.HitTestHand(6320, y), 12);
    EXPECT_EQ(game.HitTestHand(7390, y), 12);
    EXPECT_EQ(game.HitTestHand(7391, y), -1);
    EXPECT_EQ(game.HitTestHand(1999, y), -1);
    EXPECT_EQ(game.HitTestHand(3000, 5100), 2);
    EXPECT_EQ(game.HitTestHand(3000, 6530), 2);
    EXPECT_EQ(game.HitTestHand(3000, 6531), -1);
    EXPECT_EQ(game.HitTestHand(3000, 5099), -1);

    S().UserHand.assign(1, 0);
    EXPECT_EQ(game.HitTestHand(2000, 5100), 0);
    EXPECT_EQ(game.HitTestHand(3070, 6530), 0);
    EXPECT_EQ(game.HitTestHand(3071, 6530), -1);
}

TEST_F(RulesTest, HandIsCentredOnTheTable) {
    S().UserHand.assign(13, 0);
    game.DrawUserHand();
    EXPECT_EQ(S().nHandLeft, 9630 / 2 - 2695);
    EXPECT_EQ(S().nHandTop, 5100);
    EXPECT_EQ(S().nCardSpacing, 360);
    S().UserHand.assign(1, 0);
    game.DrawUserHand();
    EXPECT_EQ(S().nHandLeft, 9630 / 2 - 535);
    EXPECT_EQ(port.Calls.back(), "DrawUserHand 1 4280 5100 360");
}

TEST_F(RulesTest, ShowLastCardCountsDownAndEndsTheHand) {
    S().nCardsLeft[1] = 12;
    game.ShowLastCard(1, 26);
    EXPECT_EQ(port.LastCard[1], 26);
    EXPECT_EQ(port.CardsLeft[1], 11);
    EXPECT_FALSE(S().bHandOver);

    S().nCardsLeft[2] = 1;
    game.ShowLastCard(2, 48);
    EXPECT_EQ(port.CardsLeft[2], 0);
    EXPECT_EQ(port.LastCard[2], 48);
    EXPECT_TRUE(S().bHandOver);
}

TEST_F(RulesTest, PauseLastsTwentyTicks) {
    game.tmrCount_Timer(); // a tick outside a pause changes nothing
    EXPECT_EQ(S().nDelay, 0);
    EXPECT_FALSE(S().bDelayDone);

    S().nDelay = 20;
    for (int i = 0; i < 19; ++i) {
        game.tmrCount_Timer();
    }
    EXPECT_FALSE(S().bDelayDone);
    game.tmrCount_Timer();
    EXPECT_TRUE(S().bDelayDone);
    EXPECT_EQ(S().nDelay, 0);

    S().bDelayDone = false;
    game.Pause();
    EXPECT_EQ(port.nPauses, 1);
    EXPECT_FALSE(S().bDelayDone);
}

} // namespace
} // namespace corvane
