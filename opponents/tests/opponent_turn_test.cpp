// A computer seat's whole turn on the recording port.
#include "engine/testing/recording_port.hpp"
#include "opponents/opponent_turn.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace corvane {
namespace {

using ::testing::ElementsAre;

class OpponentTurnTest : public ::testing::Test {
protected:
    OpponentTurnTest() : port(g), game(g, port, port, port, opponents) {
        port.pGame = &game;
        g.lSeed = 12345;
        S().nFunds = {195, 195, 195, 195};
        S().nPot = 25;
    }
    GameState& S() { return game.State(); }

    MGlobal g;
    testing::RecordingPort port;
    Opponents opponents;
    Game game;
};

TEST_F(OpponentTurnTest, BeforeTheOpeningASeatWithoutTheSevenOfHeartsOnlyWaits) {
    S().SetHand(1, {24, 0, 51});
    opponents.PlayerTurn(game, 1);
    EXPECT_THAT(port.Calls,
                ElementsAre("SetPlayerFill 1 65535", "WaitForPause", "SetPlayerFill 1 16744703"));
    EXPECT_TRUE(S().CardsPlayed.empty()) << "not even the Seven of Clubs may open";
    EXPECT_THAT(S().nFunds, ElementsAre(195, 195, 195, 195));
    EXPECT_EQ(S().nPot, 25);
}

TEST_F(OpponentTurnTest, TheSevenOfHeartsOpensFromItsSeat) {
    S().SetHand(0, {0, 26, 51});
    S().nCardsLeft[0] = 13;
    opponents.PlayerTurn(game, 0);
    EXPECT_THAT(port.Calls, ElementsAre("SetPlayerFill 0 65535", "FlyCard 0 26", "SetLastCard 0 26",
                                        "SetCardsLeft 0 12", "PlaySoundRes OtherPlayers",
                                        "WaitForPause", "SetPlayerFill 0 16744703"));
    EXPECT_TRUE(S().bSevenHeartsPlayed);
    EXPECT_THAT(S().CardsPlayed, ElementsAre(26));
    EXPECT_THAT(S().LeftHand, ElementsAre(0, 51));
}

TEST_F(OpponentTurnTest, ASeatWithNothingToLayPaysAtOnce) {
    S().bSevenHeartsPlayed = true;
    S().SetCardsPlayed({26});
    S().SetHand(2, {0, 51});
    opponents.PlayerTurn(game, 2);
    EXPECT_EQ(port.Amt[2], 190);
    EXPECT_EQ(port.nPot, 30);
    EXPECT_EQ(port.LastCard[2], kPaidThePot);
    EXPECT_EQ(port.nPauses, 0);
    EXPECT_TRUE(port.Sounds.empty());
    EXPECT_EQ(port.Fill[2], kMarkerWaiting);
}

TEST_F(OpponentTurnTest, EachLevelLaysALegalCardAndLeavesTheListsEmpty) {
    for (int nLevel = 0; nLevel < 3; ++nLevel) {
        g.nSkillLevel = nLevel;
        S().bSevenHeartsPlayed = true;
        S().SetCardsPlayed({26, 24});
        S().SetHand(1, {22, 20, 4, 51, 27});
        S().nCardsLeft[1] = 5;
        opponents.PlayerTurn(game, 1);
        ASSERT_EQ(S().CardsPlayed.size(), 3U);
        const int nCard = port.LastCard[1];
        EXPECT_THAT((std::vector<int>{22, 20, 27}), ::testing::Contains(nCard));
        EXPECT_EQ(S().TopHand.size(), 4U);
        EXPECT_TRUE(S().DownCards.empty());
        EXPECT_TRUE(S().UpCards.empty());
        if (nLevel > 0) {
            // The Seven of Spades leads up to the King of Spades (24), farther than
            // the Six of Clubs leads down to the Two of Clubs (16).
            EXPECT_EQ(nCard, 27);
        }
    }
}

TEST_F(OpponentTurnTest, TheLastCardEndsTheHandAfterThePause) {
    S().bSevenHeartsPlayed = true;
    S().SetCardsPlayed({26});
    S().SetHand(0, {30});
    S().nCardsLeft[0] = 1;
    opponents.PlayerTurn(game, 0);
    EXPECT_TRUE(S().bHandOver);
    EXPECT_EQ(port.CardsLeft[0], 0);
    EXPECT_THAT(S().LeftHand, ElementsAre(30)) << "a one-card hand keeps its element";
    EXPECT_EQ(port.nPauses, 1);
}

} // namespace
} // namespace corvane
