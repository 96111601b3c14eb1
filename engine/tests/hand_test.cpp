// Dealing, the ante and the money at the end of a hand.
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

TEST(Settlement, TheWinnerTakesThePotAndFiveDollarsForEachCardLeft) {
    // The winner lays its last card with $20 in the pot. After the fourth hand,
    // or with a seat below $1, the game is over: an opponent's win leaves it to
    // the next turn, after the standings unless it was the fourth hand; the
    // user's win ends it at once, without the standings.
    struct Case {
        int nWinner;
        int nHand;
        std::array<int, 4> Funds;
        std::array<int, 4> CardsLeft;
        std::array<int, 4> After;
        bool bGameOver;
        const char* sCaption; // after the standings, or ""
    };
    const Case cases[]{
        {2, 0, {100, 100, 100, 100}, {2, 3, 1, 4}, {90, 85, 165, 80}, false, "(2nd Hand)"},
        {0, 0, {100, 100, 100, 100}, {1, 5, 5, 5}, {195, 75, 75, 75}, false, "(2nd Hand)"},
        {0, 3, {100, 100, 100, 100}, {1, 5, 5, 5}, {195, 75, 75, 75}, true, ""},
        {0, 1, {100, 100, 100, 25}, {1, 5, 5, 5}, {195, 75, 75, 0}, true, "(3rd Hand)"},
        {3, 0, {150, 150, 150, 150}, {2, 3, 4, 1}, {140, 135, 130, 215}, false, "(2nd Hand)"},
        {3, 1, {100, 100, 20, 150}, {2, 3, 4, 1}, {90, 85, 0, 215}, true, ""},
    };
    for (const Case& c : cases) {
        EngineTable t;
        t.game.LoadDeck();
        t.S().nHand = c.nHand;
        const bool bUser = c.nWinner == kUserSeat;
        std::vector<int> hand{30, 1, 5, 9, 13};
        hand.resize(static_cast<std::size_t>(c.CardsLeft[kUserSeat]));
        t.UserTurnWith({26}, hand);
        t.S().SetHand(c.nWinner, {bUser ? 30 : 40}); // the winner's last card
        t.S().nFunds = c.Funds;
        t.S().nPot = 20;
        t.S().nCardsLeft = c.CardsLeft;
        // Opponents move with the user's input switched off.
        t.opponents.onTurn = [&c, &t](Game& gm, int nSeat) {
            EXPECT_FALSE(t.port.bInputEnabled);
            if (nSeat == c.nWinner) {
                gm.LayCard(nSeat, 0);
            }
        };
        if (bUser) {
            t.ClickCard(0);
            // The next hand is dealt unless the game is over.
            EXPECT_EQ(t.S().nCardsLeft[kUserSeat] == 13, !c.bGameOver);
        } else {
            t.game.PlayCards();
            // No seat moves after the winner, and the user's hand is redrawn
            // for the pay-out.
            EXPECT_EQ(t.opponents.Seats.size(), c.nWinner + 1U);
            EXPECT_EQ(t.port.HandCards.size(), hand.size());
        }
        EXPECT_TRUE(t.port.bInputEnabled);
        const std::array<const char*, 4> kNames{"Lefty", "Topper", "Righty", "Ann"};
        EXPECT_EQ(t.g.sWinnerName, kNames.at(c.nWinner));
        EXPECT_EQ(t.g.sPotWon, std::to_string(c.After.at(c.nWinner) - c.Funds.at(c.nWinner)));
        EXPECT_THAT((std::array{t.g.ScoresOne.back(), t.g.ScoresTwo.back(), t.g.ScoresThree.back(),
                                t.g.ScoresUser.back()}),
                    ElementsAre(std::to_string(c.After[0]), std::to_string(c.After[1]),
                                std::to_string(c.After[2]), std::to_string(c.After[3])));
        const int nStandings = *c.sCaption != '\0' ? 1 : 0;
        EXPECT_EQ(t.port.nHandOvers, nStandings) << c.nWinner << " " << c.nHand;
        EXPECT_EQ(t.S().nHand, c.nHand + nStandings) << "counted once the standings are shown";
        EXPECT_THAT(t.port.Caption, ::testing::EndsWith(c.sCaption));
        EXPECT_EQ(t.S().bGameOver, c.bGameOver && !bUser);
        EXPECT_EQ(t.port.nGameOvers, c.bGameOver && bUser ? 1 : 0);
    }
}

} // namespace
} // namespace corvane
