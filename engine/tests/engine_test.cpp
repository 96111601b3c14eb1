// The cards and the game's globals, then a game on the recording port: the
// rules, dealing and settling a hand, the user's two actions, and the end of a
// game.
#include "engine/cards.hpp"
#include "engine/game.hpp"
#include "engine/mglobal.hpp"
#include "engine/testing/recording_port.hpp"
#include "engine/twips.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace corvane {
namespace {

using ::testing::ElementsAre;

TEST(Cards, NamesLabelsPlacesAndPixels) {
    EXPECT_THAT((std::array{GetCardName(26), GetCardName(0), GetCardName(47), GetCardName(52),
                            GetCardLabel(37), GetCardLabel(-1)}),
                ElementsAre("Seven of Hearts", "Ace of Clubs", "Queen of Spades", "", "10", ""));
    // Spades stand left of Hearts; the Kings at the top, the Aces at the bottom.
    EXPECT_THAT((std::array{GetCardLeft(26), GetCardLeft(51), GetCardLeft(1), GetCardTop(26),
                            GetCardTop(51), GetCardLeft(52) + GetCardTop(-1)}),
                ElementsAre(6480, 5040, 3600, 1560, 0, 0));
    // {twips, nearest pixel, truncated pixel}: both sides of zero and of a half.
    for (const auto& [nTwips, nNearest, nTruncated] : std::array<std::tuple<int, int, int>, 6>{
             {{0, 0, 0}, {7, 0, 0}, {8, 1, 0}, {1000, 67, 66}, {-7, 0, 0}, {-8, -1, 0}}}) {
        EXPECT_EQ(TwipsToPixels(nTwips), nNearest) << nTwips;
        EXPECT_EQ(TwipsToPixelsTruncated(nTwips), nTruncated) << nTwips;
    }
    EXPECT_EQ(PixelsToTwips(642), 9630);
}

TEST(Cards, SortCountRemoveAndMask) {
    std::vector<int> hand{2, 3, 6, 7, 10, 11, 14, 15, 18, 19, 22, 1, 0};
    SortIntoSuits(hand);
    EXPECT_THAT(hand, ElementsAre(0, 1, 3, 7, 11, 15, 19, 2, 6, 10, 14, 18, 22));
    std::vector<int> one{9};
    RemoveCard(one, 0);
    EXPECT_THAT(one, ElementsAre(9)) << "a one-card hand keeps its element";
    std::vector<int> five{1, 2, 3, 4, 5};
    for (const int nIndex : {4, 0, 7}) {
        RemoveCard(five, nIndex);
    }
    EXPECT_THAT(five, ElementsAre(2, 3, 4));
    EXPECT_THAT((std::array{CountCards(0), CountCards(kDeckMask),
                            CountCards(CardMask({0, 26, 51, 99, -1}))}),
                ElementsAre(0, 52, 3));
}

TEST(Globals, SkillLevelAndSeed) {
    MGlobal g;
    // {level, its number, tick count, the seed it gives}: a negative count (-1)
    // gives its absolute value, and -2^31, which has none, gives 1.
    using Case = std::tuple<const char*, int, std::uint32_t, std::int32_t>;
    for (const auto& [sLevel, nLevel, nTick, lSeed] :
         std::array<Case, 3>{{{"Hard", 2, 1234U, 1234},
                              {"Medium", 1, 0xFFFFFFFFU, 1},
                              {"Easy", 0, 0x80000000U, 1}}}) {
        SetSkillLevel(g, sLevel);
        StoreTickCount(g.lSeed, nTick);
        EXPECT_EQ(std::tuple(g.nSkillLevel, g.lSeed), std::tuple(nLevel, lSeed)) << sLevel;
    }
}

// A game on the recording port with opponents that do only what a test says.
struct EngineTable {
    EngineTable() : port(g), game(g, port, port, port, opponents) {
        port.pGame = &game;
        game.LoadDeck();
        std::tie(g.sUserName, g.sLeftName, g.sTopName, g.sRightName) =
            std::tuple("Ann", "Lefty", "Topper", "Righty");
    }

    GameState& S() { return game.State(); }

    // Puts the user's turn on a table holding the given cards, with the given hand;
    // an empty table leaves the hand as opened or not as it was.
    void UserTurnWith(std::vector<int> table, std::vector<int> hand) {
        S().bSevenHeartsPlayed = S().bSevenHeartsPlayed || !table.empty();
        S().SetCardsPlayed(std::move(table));
        S().bHandOver = false;
        S().SetHand(3, std::move(hand));
        S().nCardsLeft[3] = static_cast<int>(S().UserHand.size());
        game.DrawUserHand();
        std::tie(S().bUserCanPlay, S().bUserTurn) = std::tuple(game.CanUserPlay(), true);
    }

    // The user lays the last card of the fourth hand and ends with nUserFunds + 50.
    void UserWinsTheLastHand(int nUserFunds = 280) {
        UserTurnWith({26}, {30});
        std::tie(S().nHand, S().nFunds, S().nPot, S().nCardsLeft) =
            std::tuple(3, std::array{100, 100, 100, nUserFunds}, 20, std::array{2, 2, 2, 1});
        ClickCard(0);
    }

    // Fills the stored top ten with the given scores, ends a game with nScore
    // and answers the game-over dialog; the stored scores after.
    std::vector<int> TopTenAfter(std::vector<int> scores, int nScore,
                                 DialogAnswer answer = DialogAnswer::No) {
        for (std::size_t i = 0; i < scores.size(); ++i) {
            port.StoredTopTen.at(i) = TopTenRec{"P", static_cast<std::int16_t>(scores[i]), {}};
        }
        port.GameOverAnswers = {answer};
        UserWinsTheLastHand(nScore - 50);
        std::vector<int> after(port.StoredTopTen.size());
        std::transform(port.StoredTopTen.begin(), port.StoredTopTen.end(), after.begin(),
                       [](const TopTenRec& r) { return r.nScore; });
        return after;
    }

    // Clicks the card at nIndex of the user's fanned hand.
    void ClickCard(int nIndex) {
        game.Form_MouseDown(static_cast<float>(S().nHandLeft + nIndex * S().nCardSpacing + 10),
                            static_cast<float>(S().nHandTop + 100));
        game.Form_Click();
    }

    MGlobal g;
    testing::RecordingPort port;
    testing::ScriptedOpponents opponents;
    Game game;
};

class EngineTest : public ::testing::Test, public EngineTable {};
using RulesTest = EngineTest;
using HandTest = EngineTest;
using UserTurnTest = EngineTest;
using GameOverTest = EngineTest;
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
    EXPECT_TRUE(!S().bUserCanPlay && S().UserPlayable.empty());
    UserTurnWith({26, 30, 34, 38, 42, 46, 50}, {3, 51});
    EXPECT_FALSE(S().bUserCanPlay);
}

TEST_F(RulesTest, CardsPlayedSortsDescending) {
    for (int c : {26, 30, 22, 25}) {
        game.AddToCardsPlayed(c);
    }
    game.SortCardsPlayed();
    EXPECT_EQ(std::tuple(S().CardsPlayed, S().nCardsPlayed),
              std::tuple(std::vector{30, 26, 25, 22}, 4));
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
    EXPECT_EQ(std::tuple(S().nHandLeft, S().nHandTop), std::tuple(9630 / 2 - 2695, 5100));
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
    EXPECT_EQ(std::tuple(S().nHandLeft, game.HitTestHand(5350, 6530), game.HitTestHand(5351, 6530)),
              std::tuple(9630 / 2 - 535, 0, -1));
}

TEST_F(RulesTest, PauseLastsTwentyTicks) {
    game.tmrCount_Timer(); // a tick outside a pause changes nothing
    EXPECT_FALSE(S().bDelayDone);
    S().nDelay = 20;
    for (int i = 0; i < 20; ++i) {
        EXPECT_FALSE(S().bDelayDone) << i;
        game.tmrCount_Timer();
    }
    EXPECT_EQ(std::tuple(S().bDelayDone, S().nDelay), std::tuple(true, 0));
    S().bDelayDone = false;
    game.Pause();
    EXPECT_EQ(std::tuple(port.nPauses, S().bDelayDone), std::tuple(1, false));
}

TEST_F(HandTest, NewGameDealsRoundTheTableAndTakesTheAnte) {
    game.StartGame(true);
    constexpr auto kWaiting = kMarkerWaiting;
    EXPECT_EQ(std::tuple(port.Amt, port.nPot, port.Fill, S().bUserTurn, S().nCardsPlayed),
              std::tuple(std::array{195, 195, 195, 195}, 20,
                         std::array{kWaiting, kWaiting, kWaiting, kMarkerMoving}, true, 0));
    // One card at a time from the left seat; the user's hand by suit, then by rank.
    std::array<std::vector<int>, 4> dealt;
    for (std::size_t i = 0; i < 52; ++i) {
        dealt.at(i % 4).push_back(S().Deck[i]);
    }
    constexpr std::array<int, 4> kPlace{0, 1, 3, 2};
    std::sort(dealt[3].begin(), dealt[3].end(),
              [&](int a, int b) { return kPlace[Suit(a)] * 52 + a < kPlace[Suit(b)] * 52 + b; });
    EXPECT_EQ(std::tuple(S().LeftHand, S().TopHand, S().RightHand, S().UserHand),
              std::tuple(dealt[0], dealt[1], dealt[2], dealt[3]));

    game.StartGame(false);
    EXPECT_EQ(std::tuple(port.Amt, port.nPot, S().nHand),
              std::tuple(std::array{190, 190, 190, 190}, 40, 0))
        << "and StartGame leaves the hand number to its callers";
}

TEST(Settlement, TheWinnerTakesThePotAndFiveDollarsForEachCardLeft) {
    // The winner lays its last card with $20 in the pot. After the fourth hand,
    // or with a seat below $1, the game is over: an opponent's win leaves it to
    // the next turn, after the standings unless it was the fourth hand; the
    // user's win ends it at once, without the standings.
    // {winner, hand, funds, cards left, funds after, game over, caption after the
    // standings or ""}
    using Seats = std::array<int, 4>;
    const std::vector<std::tuple<int, int, Seats, Seats, Seats, bool, std::string>> cases{
        {2, 0, {100, 100, 100, 100}, {2, 3, 1, 4}, {90, 85, 165, 80}, false, "(2nd Hand)"},
        {0, 0, {100, 100, 100, 100}, {1, 5, 5, 5}, {195, 75, 75, 75}, false, "(2nd Hand)"},
        {0, 3, {100, 100, 100, 100}, {1, 5, 5, 5}, {195, 75, 75, 75}, true, ""},
        {0, 1, {100, 100, 100, 25}, {1, 5, 5, 5}, {195, 75, 75, 0}, true, "(3rd Hand)"},
        {3, 0, {150, 150, 150, 150}, {2, 3, 4, 1}, {140, 135, 130, 215}, false, "(2nd Hand)"},
        {3, 1, {100, 100, 20, 150}, {2, 3, 4, 1}, {90, 85, 0, 215}, true, ""},
    };
    for (const auto& [nWinner, nHand, Funds, CardsLeft, After, bGameOver, sCaption] : cases) {
        EngineTable t;
        t.S().nHand = nHand;
        const bool bUser = nWinner == kUserSeat;
        std::vector<int> hand{30, 1, 5, 9, 13};
        hand.resize(static_cast<std::size_t>(CardsLeft[kUserSeat]));
        t.UserTurnWith({26}, hand);
        t.S().SetHand(nWinner, {bUser ? 30 : 40}); // the winner's last card
        std::tie(t.S().nFunds, t.S().nPot, t.S().nCardsLeft) = std::tuple(Funds, 20, CardsLeft);
        // Opponents move with the user's input switched off.
        t.opponents.onTurn = [nLast = nWinner, &t](Game& gm, int nSeat) {
            EXPECT_FALSE(t.port.bInputEnabled);
            if (nSeat == nLast) {
                gm.LayCard(nSeat, 0);
            }
        };
        if (bUser) {
            t.ClickCard(0);
            // The next hand is dealt unless the game is over.
            EXPECT_EQ(t.S().nCardsLeft[kUserSeat] == 13, !bGameOver);
        } else {
            t.game.PlayCards();
            // No seat moves after the winner, and the user's hand is redrawn
            // for the pay-out.
            EXPECT_EQ(std::tuple(t.opponents.Seats.size(), t.port.HandCards.size()),
                      std::tuple(nWinner + 1U, hand.size()));
        }
        EXPECT_TRUE(t.port.bInputEnabled);
        EXPECT_EQ(t.g.sWinnerName, (std::array{"Lefty", "Topper", "Righty", "Ann"}.at(nWinner)));
        EXPECT_EQ(t.g.sPotWon, std::to_string(After.at(nWinner) - Funds.at(nWinner)));
        EXPECT_THAT((std::array{t.g.ScoresOne.back(), t.g.ScoresTwo.back(), t.g.ScoresThree.back(),
                                t.g.ScoresUser.back()}),
                    ElementsAre(std::to_string(After[0]), std::to_string(After[1]),
                                std::to_string(After[2]), std::to_string(After[3])));
        const int nStandings = sCaption.empty() ? 0 : 1;
        // The hand is counted once the standings are shown.
        EXPECT_EQ(std::tuple(t.port.nHandOvers, t.S().nHand, t.S().bGameOver, t.port.nGameOvers),
                  std::tuple(nStandings, nHand + nStandings, bGameOver && !bUser,
                             bGameOver && bUser ? 1 : 0))
            << nWinner << " " << nHand;
        EXPECT_THAT(t.port.Caption, ::testing::EndsWith(sCaption));
    }
}

TEST_F(UserTurnTest, HintsForAWrongClick) {
    // {hand, what is clicked (a card's index, or -1 for the button), hint, sound,
    // the card the hint names} on a table holding the Seven of Hearts.
    const std::vector<std::tuple<std::vector<int>, int, Hint, Sound, int>> cases{
        {{22, 30, 51}, 2, Hint::WrongCard, Sound::WrongCard, -1},
        {{51, 3}, 0, Hint::NoCard, Sound::WrongCard, -1},
        {{22, 51}, -1, Hint::CanPlayOne, Sound::MustPlay, 22},
        {{22, 30}, -1, Hint::CanPlayTwo, Sound::MustPlay, -1}};
    for (const auto& [Hand, nClick, hint, sound, nCard] : cases) {
        UserTurnWith({26}, Hand);
        nClick < 0 ? game.cmdUser_Click() : ClickCard(nClick);
        EXPECT_EQ(std::tuple(port.Messages.back(), port.Sounds.back(), port.nMessageCard),
                  std::tuple(hint, sound, nCard));
        EXPECT_TRUE(S().bUserTurn && S().UserHand == Hand);
    }
    // Before the hand is opened the user holding the Seven of Hearts must lay it.
    S().bSevenHeartsPlayed = false;
    game.cmdUser_Click();
    // A refused payment moves no money.
    EXPECT_EQ(std::tuple(port.Messages.back(), S().nFunds[3]), std::tuple(Hint::MustPlay, 0));
}

TEST_F(UserTurnTest, OpeningWithTheSevenOfHearts) {
    UserTurnWith({}, {24, 28, 26});
    ClickCard(0);
    EXPECT_THAT(port.Messages, ElementsAre(Hint::WrongCard)) << "only the Seven of Hearts opens";
    ClickCard(2);
    EXPECT_EQ(std::tuple(S().bSevenHeartsPlayed, S().CardsPlayed, S().UserHand, opponents.Seats),
              std::tuple(true, std::vector{26}, std::vector{24, 28}, std::vector{0, 1, 2}));
    // Back to the user, whose Seven of Clubs is now legal.
    const std::vector<int> playable(S().UserPlayable.begin(), S().UserPlayable.end());
    EXPECT_EQ(std::tuple(port.Sounds.back(), S().bUserTurn, playable, port.Fill[3]),
              std::tuple(Sound::PlayCard, true, std::vector{24}, kMarkerMoving));
}

TEST_F(UserTurnTest, PayingThePotHandsTheTurnOn) {
    UserTurnWith({26}, {51, 3});
    S().nFunds = {195, 195, 195, 195};
    S().nPot = 20;
    bool bUserTurnDuringOpponents = true;
    opponents.onTurn = [&](Game& gm, int) { bUserTurnDuringOpponents = gm.State().bUserTurn; };
    game.cmdUser_Click();
    EXPECT_EQ(std::tuple(bUserTurnDuringOpponents, port.Sounds.front(), S().nFunds[3], port.nPot),
              std::tuple(false, Sound::PayPot, 190, 25));
    EXPECT_TRUE(S().bUserTurn && !S().bUserCanPlay);
}

TEST_F(UserTurnTest, ClicksOffTheHandOutOfTurnOrAfterTheHandDoNothing) {
    UserTurnWith({26}, {22, 30, 24, 51});
    const auto nCalls = port.Calls.size();
    game.Form_MouseDown(100, 100);
    game.Form_Click();
    S().bUserTurn = false;
    ClickCard(0);
    game.cmdUser_Click();
    EXPECT_EQ(port.Calls.size(), nCalls) << "nothing off the hand, not even a hint out of turn";

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

TEST_F(GameOverTest, TheAnswerDecidesWhatFollows) {
    // Yes deals a new game, one level up after a win (the user wins the last
    // hand with 60 but not the game with 90); Change asks for a user and starts
    // at level one; No leaves; a dialog closed without an answer does not take
    // the answer of an earlier one.
    // {answer, the user's funds, the level after (from the fourth, 3), the
    // background, the new game's caption or "" for none}
    const std::vector<std::tuple<DialogAnswer, int, int, int, std::string>> cases{
        {DialogAnswer::Yes, 280, 4, 100, " - Level 5 (1st Hand)"},
        {DialogAnswer::Yes, 10, 3, 0, " - Level 4 (1st Hand)"},
        {DialogAnswer::Change, 280, 0, 100, " - Level 1 (1st Hand)"},
        {DialogAnswer::No, 280, 3, 0, ""},
        {DialogAnswer::None, 280, 3, 0, ""}};
    for (const auto& [answer, nUserFunds, nLevel, nBackground, sCaption] : cases) {
        std::tie(S().nLevel, S().UserTag) = std::tuple(3, DialogAnswer::Yes);
        std::tie(port.nBackground, port.bUnloaded, port.Caption) = std::tuple(0, false, "");
        port.GameOverAnswers = {answer};
        UserWinsTheLastHand(nUserFunds);
        EXPECT_EQ(std::tuple(S().nLevel, port.nBackground, port.bUnloaded),
                  std::tuple(nLevel, nBackground, answer == DialogAnswer::No));
        EXPECT_EQ(port.Caption, sCaption.empty() ? "" : kTitle + sCaption);
        EXPECT_EQ(S().nCardsLeft[3] == 13 && g.ScoresUser.empty(), !sCaption.empty());
    }
    // No standings after the fourth hand; the top ten is read only after a win;
    // the hourglass shown for the new level is taken away again.
    EXPECT_EQ(std::tuple(port.nHandOvers, port.Count("SetHourglass off"),
                         port.Count("SaveSettings"), port.LastExitButton, port.Count("TopTenLoad")),
              std::tuple(0, 1, 1, UserDialogExit::Design, 4));

    port.GameOverAnswers = {DialogAnswer::Change};
    port.UserNameAnswers = {DialogAnswer::Exit};
    UserWinsTheLastHand();
    EXPECT_TRUE(port.bUnloaded);
}

TEST_F(GameOverTest, AScoreEntersTheTopTenAtItsPlace) {
    // The first score enters the empty list at the top.
    EXPECT_THAT(TopTenAfter({}, 330), ElementsAre(330, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(port.StoredTopTen[0].sName, "Ann");
    // A high score goes in at its place and the tenth drops out.
    EXPECT_THAT(TopTenAfter({900, 800, 600, 510, 400, 300, 200, 100, 50, 20}, 520),
                ElementsAre(900, 800, 600, 520, 510, 400, 300, 200, 100, 50));
    EXPECT_EQ(std::tuple(g.nTopTenPos, port.nHighScores), std::tuple(3, 1));
    // An equal score goes below; 330 is below the high-score mark.
    TopTenAfter({900, 800, 700, 330, 330, 300, 200, 100, 50, 20}, 330);
    EXPECT_EQ(std::tuple(g.nTopTenPos, port.nHighScores), std::tuple(5, 1));
    // A full list of better scores keeps it out, and a win still raises the level.
    const int nSaves = port.Count("TopTenSave");
    S().nLevel = 0;
    TopTenAfter(std::vector<int>(10, 900), 330, DialogAnswer::Yes);
    EXPECT_EQ(std::tuple(port.Count("TopTenSave"), port.Count("ShowTopTen"), S().nLevel),
              std::tuple(nSaves, nSaves, 1));
}

TEST_F(GameOverTest, DatabaseFailureHandsOverToTheRecovery) {
    port.GameOverAnswers = {DialogAnswer::Yes};
    port.onGameOver = [this] { g.bDBError = true; };
    UserWinsTheLastHand();
    EXPECT_EQ(std::tuple(port.Count("HandleDBError"), port.Count("TopTenLoad"), S().nLevel),
              std::tuple(1, 0, 0))
        << "nothing else happens";
}

TEST_F(GameOverTest, ChangeUserFromTheMenu) {
    port.UserNameAnswers = {DialogAnswer::Exit};
    S().nLevel = 3;
    game.ChangeUser(false);
    EXPECT_EQ(std::tuple(port.LastExitButton, S().nLevel, port.bUnloaded),
              std::tuple(UserDialogExit::Cancel, 3, false))
        << "Cancel leaves the game as it was";

    port.UserNameAnswers = {DialogAnswer::Exit};
    game.ChangeUser(true);
    EXPECT_TRUE(port.LastExitButton == UserDialogExit::Exit && port.bUnloaded);

    port.UserNameAnswers = {DialogAnswer::Ok};
    game.ChangeUser(false);
    EXPECT_EQ(std::tuple(S().nLevel, port.Count("SaveSettings")), std::tuple(0, 3));

    port.UserNameAnswers = {DialogAnswer::Ok};
    g.bDBError = true;
    const int nStarts = port.Count("ClearTable");
    game.ChangeUser(false);
    EXPECT_EQ(std::tuple(port.Count("HandleDBError"), port.Count("ClearTable")),
              std::tuple(1, nStarts));
}

} // namespace
} // namespace corvane
