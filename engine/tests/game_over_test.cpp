// The end of a game: the answers of the game-over dialog, levels, the top ten.
#include "fixture.hpp"

#include <algorithm>

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
};

TEST_F(GameOverTest, TheAnswerDecidesWhatFollows) {
    // Yes deals a new game, one level up after a win (the user wins the last
    // hand with 60 but not the game with 90); Change asks for a user and starts
    // at level one; No leaves; a dialog closed without an answer does not take
    // the answer of an earlier one.
    struct Case {
        DialogAnswer answer;
        int nUserFunds;
        int nLevel; // after, from the fourth level (3)
        int nBackground;
        const char* sCaption; // "": no new game
    };
    for (const Case& c :
         {Case{DialogAnswer::Yes, 280, 4, 100, " - Level 5 (1st Hand)"},
          Case{DialogAnswer::Yes, 10, 3, 0, " - Level 4 (1st Hand)"},
          Case{DialogAnswer::Change, 280, 0, 100, " - Level 1 (1st Hand)"},
          Case{DialogAnswer::No, 280, 3, 0, ""}, Case{DialogAnswer::None, 280, 3, 0, ""}}) {
        S().nLevel = 3;
        S().UserTag = DialogAnswer::Yes;
        port.nBackground = 0;
        port.bUnloaded = false;
        port.Caption.clear();
        port.GameOverAnswers = {c.answer};
        UserWinsTheLastHand(c.nUserFunds);
        EXPECT_EQ(S().nLevel, c.nLevel);
        EXPECT_EQ(port.nBackground, c.nBackground);
        EXPECT_EQ(port.Caption, *c.sCaption != '\0' ? kTitle + std::string(c.sCaption) : "");
        EXPECT_EQ(port.bUnloaded, c.answer == DialogAnswer::No);
        EXPECT_EQ(S().nCardsLeft[3] == 13 && g.ScoresUser.empty(), *c.sCaption != '\0');
    }
    EXPECT_EQ(port.nHandOvers, 0) << "no standings after the fourth hand";
    EXPECT_EQ(port.Count("SetHourglass"), 2);
    EXPECT_EQ(port.Count("SaveSettings"), 1);
    EXPECT_EQ(port.LastExitButton, UserDialogExit::Design);
    EXPECT_EQ(port.Count("TopTenLoad"), 4) << "only after a win";

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
    EXPECT_EQ(g.nTopTenPos, 3);
    EXPECT_EQ(port.nHighScores, 1);
    // An equal score goes below; 330 is below the high-score mark.
    TopTenAfter({900, 800, 700, 330, 330, 300, 200, 100, 50, 20}, 330);
    EXPECT_EQ(g.nTopTenPos, 5);
    EXPECT_EQ(port.nHighScores, 1);
    // A full list of better scores keeps it out, and a win still raises the level.
    const int nSaves = port.Count("TopTenSave");
    S().nLevel = 0;
    TopTenAfter(std::vector<int>(10, 900), 330, DialogAnswer::Yes);
    EXPECT_EQ(port.Count("TopTenSave"), nSaves);
    EXPECT_EQ(port.Count("ShowTopTen"), nSaves);
    EXPECT_EQ(S().nLevel, 1);
}

TEST_F(GameOverTest, DatabaseFailureHandsOverToTheRecovery) {
    port.GameOverAnswers = {DialogAnswer::Yes};
    port.onGameOver = [this] { g.bDBError = true; };
    UserWinsTheLastHand();
    EXPECT_EQ(port.Count("HandleDBError"), 1);
    EXPECT_EQ(port.Count("TopTenLoad"), 0);
    EXPECT_EQ(S().nLevel, 0) << "nothing else happens";
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
