// The user's two actions: a click on the hand and the pay-the-pot button.
#include "fixture.hpp"

#include <gmock/gmock.h>

namespace corvane {
namespace {

using ::testing::ElementsAre;
using UserTurnTest = EngineTest;

TEST_F(UserTurnTest, HintsForAWrongClick) {
    // Table, hand, what is clicked (a card's index, or -1 for the button), hint, sound.
    struct Case {
        std::vector<int> Hand;
        int nClick;
        Hint hint;
        Sound sound;
        int nCard;
    };
    for (const Case& c : {Case{{22, 30, 51}, 2, Hint::WrongCard, Sound::WrongCard, -1},
                          Case{{51, 3}, 0, Hint::NoCard, Sound::WrongCard, -1},
                          Case{{22, 51}, -1, Hint::CanPlayOne, Sound::MustPlay, 22},
                          Case{{22, 30}, -1, Hint::CanPlayTwo, Sound::MustPlay, -1}}) {
        UserTurnWith({26}, c.Hand);
        if (c.nClick < 0) {
            game.cmdUser_Click();
        } else {
            ClickCard(c.nClick);
        }
        EXPECT_EQ(port.Messages.back(), c.hint);
        EXPECT_EQ(port.nMessageCard, c.nCard);
        EXPECT_EQ(port.Sounds.back(), c.sound);
        EXPECT_TRUE(S().bUserTurn);
        EXPECT_EQ(S().UserHand, c.Hand);
    }
    // Before the hand is opened the user holding the Seven of Hearts must lay it.
    S().bSevenHeartsPlayed = false;
    game.cmdUser_Click();
    EXPECT_EQ(port.Messages.back(), Hint::MustPlay);
    EXPECT_EQ(S().nFunds[3], 0) << "a refused payment moves no money";
}

TEST_F(UserTurnTest, OpeningWithTheSevenOfHearts) {
    S().SetHand(3, {24, 28, 26});
    S().nCardsLeft[3] = 3;
    game.DrawUserHand();
    S().bUserCanPlay = true;
    S().bUserTurn = true;
    ClickCard(0);
    EXPECT_EQ(port.Messages.back(), Hint::WrongCard) << "only the Seven of Hearts opens";
    ClickCard(2);
    EXPECT_TRUE(S().bSevenHeartsPlayed);
    EXPECT_THAT(S().CardsPlayed, ElementsAre(26));
    EXPECT_THAT(S().UserHand, ElementsAre(24, 28));
    EXPECT_THAT(opponents.Seats, ElementsAre(0, 1, 2));
    EXPECT_EQ(port.Sounds.back(), Sound::PlayCard);
    // Back to the user, whose Seven of Clubs is now legal.
    EXPECT_TRUE(S().bUserTurn);
    EXPECT_THAT(S().UserPlayable, ElementsAre(24));
    EXPECT_EQ(port.Fill[3], kMarkerMoving);
}

TEST_F(UserTurnTest, PayingThePotHandsTheTurnOn) {
    UserTurnWith({26}, {51, 3});
    S().nFunds = {195, 195, 195, 195};
    S().nPot = 20;
    bool bUserTurnDuringOpponents = true;
    opponents.onTurn = [&](Game& gm, int) { bUserTurnDuringOpponents = gm.State().bUserTurn; };
    game.cmdUser_Click();
    EXPECT_FALSE(bUserTurnDuringOpponents);
    EXPECT_EQ(port.Sounds.front(), Sound::PayPot);
    EXPECT_EQ(S().nFunds[3], 190);
    EXPECT_EQ(port.nPot, 25);
    EXPECT_TRUE(S().bUserTurn);
    EXPECT_FALSE(S().bUserCanPlay);
}

TEST_F(UserTurnTest, ClicksOffTheHandOutOfTurnOrAfterTheHandDoNothing) {
    UserTurnWith({26}, {22, 30, 24, 51});
    const auto nCalls = port.Calls.size();
    game.Form_MouseDown(100, 100);
    game.Form_Click();
    EXPECT_EQ(port.Calls.size(), nCalls);
    S().bUserTurn = false;
    ClickCard(0);
    game.cmdUser_Click();
    EXPECT_EQ(port.Calls.size(), nCalls) << "not even a hint while the opponents play";

    // A game-over dialog closed without an answer leaves the table as it was.
    port.DefaultGameOver = DialogAnswer::None;
    UserTurnWith({26}, {30});
    S().nHand = 3;
    ClickCard(0);
    EXPECT_EQ(port.nGameOvers, 1);
    const auto nCards = S().CardsPlayed.size();
    ClickCard(0);
    game.cmdUser_Click();
    EXPECT_EQ(S().CardsPlayed.size(), nCards) << "the last card is never laid twice";
}

} // namespace
} // namespace corvane
