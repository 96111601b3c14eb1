// Dealing, the ante and the money at the end of a hand won by an opponent.
#include "engine/cards.hpp"
#include "fixture.hpp"

#include <algorithm>
#include <set>

#include <gmock/gmock.h>

namespace corvane {
namespace {

using ::testing::ElementsAre;
using HandTest = EngineTest;

TEST_F(HandTest, NewGameDealsRoundTheTableAndTakesTheAnte) {
    game.LoadDeck();
    game.StartGame(true);
    EXPECT_THAT(port.Amt, ElementsAre(195, 195, 195, 195));
    EXPECT_EQ(port.nPot, 20);
    EXPECT_THAT(port.Fill,
                ElementsAre(kMarkerWaiting, kMarkerWaiting, kMarkerWaiting, kMarkerMoving));
    EXPECT_TRUE(S().bUserTurn);
    // One card at a time from the left seat; the user's hand by suit, then by rank.
    std::vector<int> user;
    for (int j = 0; j < 13; ++j) {
        EXPECT_EQ(S().LeftHand[j], S().Deck[4 * j]);
        EXPECT_EQ(S().TopHand[j], S().Deck[4 * j + 1]);
        EXPECT_EQ(S().RightHand[j], S().Deck[4 * j + 2]);
        user.push_back(S().Deck[4 * j + 3]);
    }
    constexpr std::array<int, 4> kPlace{0, 1, 3, 2};
    std::sort(user.begin(), user.end(),
              [&](int a, int b) { return kPlace[Suit(a)] * 52 + a < kPlace[Suit(b)] * 52 + b; });
    EXPECT_EQ(S().UserHand, user);

    game.StartGame(false);
    EXPECT_THAT(port.Amt, ElementsAre(190, 190, 190, 190));
    EXPECT_EQ(port.nPot, 40);
    EXPECT_EQ(S().nHand, 0) << "StartGame leaves the hand number to its callers";
}

TEST_F(HandTest, ShuffleIsAPermutationThatChangesWithTheClock) {
    game.LoadDeck();
    std::set<std::array<int, 52>> decks;
    for (int i = 0; i < 50; ++i) {
        port.nTickStep = 1; // neighbouring tick counts must still give other decks
        game.ShuffleDeck();
        std::array<int, 52> sorted = S().Deck;
        std::sort(sorted.begin(), sorted.end());
        for (int c = 0; c < 52; ++c) {
            ASSERT_EQ(sorted[c], c);
        }
        decks.insert(S().Deck);
    }
    EXPECT_EQ(decks.size(), 50U);
}

// Right opponent lays its last card while the user holds 4 cards, left 2 and top 3.
TEST_F(HandTest, OpponentWinsAndTheOthersPayPerCard) {
    S().nFunds = {100, 100, 100, 100};
    S().nPot = 20;
    S().nCardsLeft = {2, 3, 1, 4};
    S().bSevenHeartsPlayed = true;
    S().SetHand(2, {40});
    S().SetHand(3, {1, 5, 9, 13});
    opponents.onTurn = [](Game& gm, int nSeat) {
        if (nSeat == 2) {
            gm.LayCard(2, 0);
        }
    };
    game.PlayCards();

    EXPECT_THAT(opponents.Seats, ElementsAre(0, 1, 2));
    EXPECT_THAT(S().nFunds, ElementsAre(90, 85, 165, 80));
    EXPECT_EQ(port.nPot, 0);
    EXPECT_EQ(g.sPotWon, "65");
    EXPECT_EQ(g.sWinnerName, "Righty");
    EXPECT_THAT(g.ScoresThree, ElementsAre("165"));
    EXPECT_EQ(S().nHand, 1);
    EXPECT_EQ(port.nHandOvers, 1);
    EXPECT_EQ(port.Caption, std::string(kTitle) + " - Level 1 (2nd Hand)");
    EXPECT_FALSE(S().bGameOver);
    EXPECT_EQ(port.HandCards.size(), 4U) << "the user's hand is redrawn for the pay-out";
}

// The left seat lays its last card: top and right do not move, and the game
// ends on the fourth hand or below $1, the latter after the standings.
TEST_F(HandTest, LastCardOfTheLeftSeatEndsTheRound) {
    struct Case {
        int nHand;
        int nUserFunds;
        bool bGameOver;
        int nHandOvers;
        int nNextHand;
    };
    for (const Case& c :
         {Case{0, 100, false, 1, 1}, Case{3, 100, true, 0, 3}, Case{1, 25, true, 1, 2}}) {
        S().nFunds = {100, 100, 100, c.nUserFunds};
        S().nPot = 20;
        S().nCardsLeft = {1, 5, 5, 5};
        S().nHand = c.nHand;
        S().bGameOver = false;
        port.nHandOvers = 0;
        opponents.Seats.clear();
        S().SetHand(0, {40});
        opponents.onTurn = [](Game& gm, int nSeat) { gm.LayCard(nSeat, 0); };
        game.PlayCards();
        EXPECT_THAT(opponents.Seats, ElementsAre(0));
        EXPECT_EQ(S().nFunds[0], 100 + 20 + 75);
        EXPECT_EQ(S().nFunds[3], c.nUserFunds - 25);
        EXPECT_EQ(S().bGameOver, c.bGameOver) << c.nHand;
        EXPECT_EQ(port.nHandOvers, c.nHandOvers) << c.nHand;
        EXPECT_EQ(S().nHand, c.nNextHand) << c.nHand;
    }
}

TEST_F(HandTest, PayingThePotShowsTheSadFace) {
    S().nFunds = {3, 100, 100, 100};
    S().nPot = 25;
    game.PayThePot(0);
    EXPECT_EQ(S().nFunds[0], -2) << "funds may go below zero";
    EXPECT_EQ(port.Amt[0], -2);
    EXPECT_EQ(port.nPot, 30);
    EXPECT_EQ(port.LastCard[0], kPaidThePot);
    EXPECT_EQ(port.Fill[0], kMarkerWaiting);
    EXPECT_TRUE(port.Sounds.empty());
}

TEST_F(HandTest, OpponentsMoveWithInputSwitchedOff) {
    bool bInputDuringTurn = true;
    opponents.onTurn = [&](Game&, int) {
        bInputDuringTurn = bInputDuringTurn && port.bInputEnabled;
    };
    game.PlayCards();
    EXPECT_FALSE(bInputDuringTurn);
    EXPECT_TRUE(port.bInputEnabled);
}

} // namespace
} // namespace corvane
