// The end of a game: the answers of the game-over dialog, levels, the top ten.
#include "fixture.hpp"

#include <gmock/gmock.h>

namespace corvane {
namespace {

using ::testing::ElementsAre;

class GameOverTest : public EngineTest {
protected:
    GameOverTest() { game.LoadDeck(); }

    // The user lays the last card of the fourth hand and ends with nUserFunds + 50.
    void UserWinsTheLastHand(int nUserFunds = 280) {
        UserTurnWith({26}, {30});
        S().nHand = 3;
        S().nFunds = {100, 100, 100, nUserFunds};
        S().nPot = 20;
        S().nCardsLeft = {2, 2, 2, 1};
        ClickCard(0);
    }

    void FillTopTen(std::initializer_list<int> scores) {
        int i = 0;
        for (int nScore : scores) {
            port.StoredTopTen[i++] =
                TopTenRec{"P" + std::to_string(i), static_cast<std::int16_t>(nScore), {}};
        }
    }
};

TEST_F(GameOverTest, YesAfterAWinRaisesTheLevel) {
    port.GameOverAnswers = {DialogAnswer::Yes};
    UserWinsTheLastHand();
    EXPECT_TRUE(g.bUserWon);
    EXPECT_EQ(port.nHandOvers, 0) << "no standings after the fourth hand";
    EXPECT_EQ(S().nLevel, 1);
    EXPECT_EQ(port.nBackground, 200);
    EXPECT_EQ(port.Caption, std::string(kTitle) + " - Level 2 (1st Hand)");
    EXPECT_TRUE(g.ScoresUser.empty());
    EXPECT_THAT(port.Amt, ElementsAre(195, 195, 195, 195)) << "a new game was dealt";
    EXPECT_EQ(port.Count("SetHourglass"), 2);
    // The score entered the empty list at the top.
    EXPECT_EQ(port.nTopTens, 1);
    EXPECT_EQ(g.nTopTenPos, 0);
    EXPECT_EQ(port.StoredTopTen[0].sName, "Ann");
    EXPECT_EQ(port.StoredTopTen[0].nScore, 330);
}

TEST_F(GameOverTest, HighScoreEntersAtItsPlaceAndTheTenthDropsOut) {
    FillTopTen({900, 800, 600, 510, 400, 300, 200, 100, 50, 20});
    port.GameOverAnswers = {DialogAnswer::No};
    UserWinsTheLastHand(470); // 470 + the pot of 20 + the pay-out of 30 = 520
    EXPECT_EQ(g.Standings[0].nFunds, 520);
    EXPECT_EQ(port.nHighScores, 1);
    EXPECT_EQ(g.nTopTenPos, 3);
    std::vector<int> scores;
    for (const TopTenRec& r : port.StoredTopTen) {
        scores.push_back(r.nScore);
    }
    EXPECT_THAT(scores, ElementsAre(900, 800, 600, 520, 510, 400, 300, 200, 100, 50));
    EXPECT_TRUE(port.bUnloaded);
}

TEST_F(GameOverTest, EqualScoreGoesBelowAndAFullListOfBetterScoresKeepsItOut) {
    FillTopTen({900, 800, 700, 330, 330, 300, 200, 100, 50, 20});
    port.GameOverAnswers = {DialogAnswer::No};
    UserWinsTheLastHand();
    EXPECT_EQ(g.nTopTenPos, 5);
    EXPECT_EQ(port.nHighScores, 0) << "330 is below the high-score mark";

    FillTopTen({900, 900, 900, 900, 900, 900, 900, 900, 900, 900});
    port.GameOverAnswers = {DialogAnswer::Yes};
    const int nTopTens = port.nTopTens;
    UserWinsTheLastHand();
    EXPECT_EQ(port.nTopTens, nTopTens);
    EXPECT_EQ(port.Count("TopTenSave"), 1);
    EXPECT_EQ(S().nLevel, 1) << "a win still raises the level";
}

TEST_F(GameOverTest, YesAfterALossKeepsTheLevel) {
    port.GameOverAnswers = {DialogAnswer::Yes};
    UserWinsTheLastHand(10); // the user wins the hand (60) but not the game (90)
    EXPECT_FALSE(g.bUserWon);
    EXPECT_EQ(port.Count("TopTenLoad"), 0);
    EXPECT_EQ(S().nLevel, 0);
    EXPECT_EQ(port.Caption, std::string(kTitle) + " - Level 1 (1st Hand)");
}

TEST_F(GameOverTest, ChangeAsksForTheUserAndStartsAtLevelOne) {
    S().nLevel = 2;
    port.GameOverAnswers = {DialogAnswer::Change};
    UserWinsTheLastHand();
    EXPECT_EQ(port.Count("SaveSettings"), 1);
    EXPECT_EQ(port.LastExitButton, UserDialogExit::Design);
    EXPECT_EQ(S().nLevel, 0);
    EXPECT_EQ(port.nBackground, 100);
    EXPECT_EQ(port.Caption, std::string(kTitle) + " - Level 1 (1st Hand)");
    EXPECT_EQ(port.Amt[0], 195);

    port.GameOverAnswers = {DialogAnswer::Change};
    port.UserNameAnswers = {DialogAnswer::Exit};
    UserWinsTheLastHand();
    EXPECT_TRUE(port.bUnloaded);
}

TEST_F(GameOverTest, NoAnswerIsNotTakenFromAnEarlierDialog) {
    S().UserTag = DialogAnswer::Yes;
    port.GameOverAnswers = {DialogAnswer::None};
    UserWinsTheLastHand();
    EXPECT_EQ(S().nLevel, 0) << "no new game at the next level";
    EXPECT_FALSE(port.bUnloaded);
}

TEST_F(GameOverTest, DatabaseFailureHandsOverToTheRecovery) {
    port.GameOverAnswers = {DialogAnswer::Yes};
    port.onGameOver = [this] { g.bDBError = true; };
    UserWinsTheLastHand();
    EXPECT_EQ(port.Count("HandleDBError"), 1);
    EXPECT_EQ(port.Count("TopTenLoad"), 0);
    EXPECT_EQ(S().nLevel, 0) << "nothing else happens";
    EXPECT_FALSE(S().bUserTurn && S().nCardsLeft[3] == 13);
}

TEST_F(GameOverTest, ChangeUserFromTheMenu) {
    port.UserNameAnswers = {DialogAnswer::Exit};
    S().nLevel = 3;
    game.ChangeUser(false);
    EXPECT_EQ(port.LastExitButton, UserDialogExit::Cancel);
    EXPECT_EQ(S().nLevel, 3) << "Cancel leaves the game as it was";
    EXPECT_FALSE(port.bUnloaded);

    port.UserNameAnswers = {DialogAnswer::Exit};
    game.ChangeUser(true);
    EXPECT_EQ(port.LastExitButton, UserDialogExit::Exit);
    EXPECT_TRUE(port.bUnloaded);

    port.UserNameAnswers = {DialogAnswer::Ok};
    game.ChangeUser(false);
    EXPECT_EQ(S().nLevel, 0);
    EXPECT_EQ(port.Count("SaveSettings"), 3);

    port.UserNameAnswers = {DialogAnswer::Ok};
    g.bDBError = true;
    const int nStarts = port.Count("ClearTable");
    game.ChangeUser(false);
    EXPECT_EQ(port.Count("HandleDBError"), 1);
    EXPECT_EQ(port.Count("ClearTable"), nStarts);
}

} // namespace
} // namespace corvane
