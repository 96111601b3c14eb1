// A thousand seeded games through the recording port, with the game's rules
// checked after every call the engine makes.
#include "engine/cards.hpp"
#include "engine/testing/recording_port.hpp"
#include "opponents/testing/auto_player.hpp"

#include <algorithm>
#include <deque>
#include <numeric>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::AutoPlayer;
using testing::PerSeatOpponents;
using testing::RecordingPort;
using testing::SeatStrategy;

// Watches one run of games and records the first broken rule.
class InvariantChecker {
public:
    InvariantChecker(Game& game, RecordingPort& port) : game_(game), port_(port) {}

    void Check(const std::string& sCall) {
        const GameState& s = game_.State();
        ++nChecks_;
        // Every card in exactly one place, a seat's hand or the table, and the sets
        // kept beside the lists in step with them.
        std::array<int, 52> seen{};
        for (int nSeat = 0; nSeat < 4; ++nSeat) {
            if (s.nCardsLeft[nSeat] == 0) {
                continue; // a finished hand keeps a stale last element
            }
            const auto& hand = s.Hand(nSeat);
            Expect(static_cast<int>(hand.size()) == s.nCardsLeft[nSeat] &&
                       s.nHandMask[nSeat] == CardMask(hand),
                   "hand, count and set agree", sCall);
            for (int c : hand) {
                ++seen[c];
            }
        }
        std::array<bool, 52> onTable{};
        for (int c : s.CardsPlayed) {
            ++seen[c];
            onTable[c] = true;
        }
        Expect(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }),
               "52 cards each in one place", sCall);
        Expect(s.nTableMask == CardMask(s.CardsPlayed) &&
                   s.nCardsPlayed == static_cast<int>(s.CardsPlayed.size()),
               "the table's set and count follow its list", sCall);
        if (sCall.rfind("DrawCardsPlayed", 0) == 0) {
            Expect(std::is_sorted(s.CardsPlayed.rbegin(), s.CardsPlayed.rend()),
                   "the table is drawn from its highest card down", sCall);
        }
        // Money is only moved, never made (all zero only before the first game).
        const int nMoney = std::accumulate(s.nFunds.begin(), s.nFunds.end(), 0) + s.nPot;
        Expect(nMoney == 800 || (nChecks_ <= 2 && nMoney == 0), "funds plus pot = $800", sCall);
        // Nothing before the Seven of Hearts, and each suit one run through its Seven.
        Expect(s.CardsPlayed.empty() || onTable[kSevenOfHearts], "the Seven of Hearts opens",
               sCall);
        for (int nSuit = 0; nSuit < 4; ++nSuit) {
            int nEdges = 0;
            for (int r = 0; r <= 13; ++r) {
                nEdges +=
                    (r < 13 && onTable[4 * r + nSuit]) != (r > 0 && onTable[4 * r - 4 + nSuit]);
            }
            Expect(nEdges == 0 || (nEdges == 2 && onTable[24 + nSuit]),
                   "rows unbroken through Sevens", sCall);
        }
        const auto nEmpty = std::count(s.nCardsLeft.begin(), s.nCardsLeft.end(), 0);
        Expect(nEmpty == (s.bHandOver ? 1 : 0), "hand over iff one count is 0", sCall);
        if (s.bHandOver && !bHandOverSeen_) {
            AtEnd_ = {s.nFunds, s.nCardsLeft, s.nPot};
        }
        bHandOverSeen_ = s.bHandOver;
        // A seat that pays (its sad face right after the pot grew, not on a
        // redrawn table) must have had nothing to lay.
        const bool bPaid = sLastCall_.starts_with("SetPot") && sCall.ends_with(" sad");
        sLastCall_ = sCall;
        if (sCall.starts_with("SetLastCard") && bPaid) {
            Expect(!HasLegalCard(s, sCall[12] - '0'), "only a seat without a legal card pays",
                   sCall);
        }
        if (sCall == "ShowHandOver" || sCall.starts_with("ShowGameOver ")) {
            CheckHandEnd(s, sCall);
        }
        if (sCall.rfind("DrawUserHand 13 ", 0) == 0) {
            Expect(!bMustEnd_, "the game ends when a seat is below $1", sCall);
        }
    }

    std::string sFailure;
    int nHands = 0;
    int nGames = 0;

private:
    // Independent of the engine's sets: a card next to a table card of its suit
    // on the open side, or a Seven.
    static bool HasLegalCard(const GameState& s, int nSeat) {
        const auto on = [&s](int c) { return c >= 0 && c < 52 && InMask(s.nTableMask, c); };
        return std::any_of(s.Hand(nSeat).begin(), s.Hand(nSeat).end(), [&](int c) {
            return IsSeven(c) || (on(c + 4) && !on(c - 4)) || (on(c - 4) && !on(c + 4));
        });
    }

    void CheckHandEnd(const GameState& s, const std::string& sCall) {
        const MGlobal& g = game_.Globals();
        ++nHands;
        ++nHandsThisGame_;
        const auto nWinner = static_cast<int>(
            std::find(s.nCardsLeft.begin(), s.nCardsLeft.end(), 0) - s.nCardsLeft.begin());
        const std::array<const std::string*, 4> names{&g.sLeftName, &g.sTopName, &g.sRightName,
                                                      &g.sUserName};
        Expect(nWinner < 4 && g.sWinnerName == *names[nWinner] && s.nPot == 0 &&
                   g.sPotWon ==
                       std::to_string(AtEnd_.nPot + 5 * (std::accumulate(AtEnd_.Cards.begin(),
                                                                         AtEnd_.Cards.end(), 0))),
               "the seat that finished takes the pot", sCall);
        const std::array<const std::vector<std::string>*, 4> scores{&g.ScoresOne, &g.ScoresTwo,
                                                                    &g.ScoresThree, &g.ScoresUser};
        for (int nSeat = 0; nSeat < 4; ++nSeat) {
            const int nDue = nSeat == nWinner ? 0 : 5 * AtEnd_.Cards[nSeat];
            const int nWon = nSeat == nWinner ? std::stoi(g.sPotWon) : 0;
            Expect(s.nFunds[nSeat] == AtEnd_.Funds[nSeat] - nDue + nWon &&
                       port_.Amt[nSeat] == s.nFunds[nSeat] &&
                       static_cast<int>(scores[nSeat]->size()) == nHandsThisGame_ &&
                       scores[nSeat]->back() == std::to_string(s.nFunds[nSeat]),
                   "$5 per card left, shown and recorded", sCall);
        }
        const bool bBroke =
            std::any_of(s.nFunds.begin(), s.nFunds.end(), [](int n) { return n < 1; });
        if (sCall == "ShowHandOver") {
            Expect(nHandsThisGame_ < 4, "no standings after the fourth hand", sCall);
            bMustEnd_ = bBroke;
        } else {
            Expect(nHandsThisGame_ == 4 || bBroke, "a game ends on the fourth hand or below $1",
                   sCall);
            ++nGames;
            nHandsThisGame_ = 0;
            bMustEnd_ = false;
        }
    }

    void Expect(bool bOk, const char* sRule, const std::string& sCall) {
        if (!bOk && sFailure.empty()) {
            sFailure = std::string("broken: ") + sRule + " after \"" + sCall + "\" (check " +
                       std::to_string(nChecks_) + ")";
        }
    }

    struct AtEnd {
        std::array<int, 4> Funds{};
        std::array<int, 4> Cards{};
        int nPot = 0;
    };
    Game& game_;
    RecordingPort& port_;
    long long nChecks_ = 0;
    int nHandsThisGame_ = 0;
    bool bMustEnd_ = false;
    bool bHandOverSeen_ = false;
    std::string sLastCall_;
    AtEnd AtEnd_;
};

// The four seats' names and the generator's seed of one seeded run.
MGlobal Seated(std::uint32_t nSeed) {
    MGlobal g;
    g.sUserName = "Ann";
    g.sLeftName = "Lefty";
    g.sTopName = "Topper";
    g.sRightName = "Righty";
    g.lSeed = static_cast<std::int32_t>(nSeed);
    return g;
}

TEST(WholeGames, ThousandSeededGamesKeepEveryRule) {
    const std::array<SeatStrategy, 4> users{SeatStrategy::Random, SeatStrategy::Easy,
                                            SeatStrategy::Medium, SeatStrategy::Hard};
    int nGames = 0;
    int nHands = 0;
    for (std::uint32_t nSeed = 1; nSeed <= 250; ++nSeed) {
        MGlobal g = Seated(nSeed);
        RecordingPort port(g);
        port.bRecord = false;
        port.nTick = nSeed * 2654435761U;
        port.GameOverAnswers.assign(3, DialogAnswer::Yes);
        // Levels at the table mixed seat by seat.
        const auto level = [nSeed](std::uint32_t n) { return static_cast<int>(nSeed / n % 3); };
        PerSeatOpponents opponents({level(1), level(3), level(9)});
        Game game(g, port, port, port, opponents);
        port.pGame = &game;
        InvariantChecker checker(game, port);
        port.onCall = [&](const std::string& sCall) { checker.Check(sCall); };
        AutoPlayer player(users[nSeed % 4], nSeed);
        game.LoadDeck();
        game.StartGame(true);
        while (!port.bUnloaded && checker.sFailure.empty() && player.Move(game)) {
        }
        ASSERT_EQ(checker.sFailure, "") << "seed " << nSeed;
        ASSERT_TRUE(port.bUnloaded) << "seed " << nSeed;
        ASSERT_EQ(checker.nGames, 4) << "seed " << nSeed;
        nGames += checker.nGames;
        nHands += checker.nHands;
    }
    EXPECT_EQ(nGames, 1000);
    EXPECT_GE(nHands, 1000);
    EXPECT_LE(nHands, 4000);
}

// Dialog answers, and when to ask for or leave a practice, for one game.
struct Script {
    std::deque<DialogAnswer> HandOvers;
    std::deque<DialogAnswer> GameOvers; // No when they run out
    int nLeaveAfter = -1;               // the user's moves into the practice
    bool bFromMenu = false;             // replay at the first chance the menu offers
};

struct GameRun {
    std::string sFailure;
    std::vector<std::string> Calls;
    std::int16_t nNumGames = 0;
};

GameRun PlayGame(std::uint32_t nSeed, Script script) {
    MGlobal g = Seated(nSeed);
    RecordingPort port(g);
    port.nTick = nSeed * 2654435761U;
    port.GameOverAnswers = script.GameOvers;
    port.HandOverAnswers = script.HandOvers;
    const int nLevel = static_cast<int>(nSeed % 3);
    PerSeatOpponents opponents({nLevel, nLevel, nLevel});
    Game game(g, port, port, port, opponents);
    port.pGame = &game;
    InvariantChecker checker(game, port);
    port.onCall = [&](const std::string& sCall) { checker.Check(sCall); };
    AutoPlayer player(SeatStrategy::Hard, nSeed);
    game.LoadDeck();
    game.StartGame(true);
    int nPracticeMoves = 0;
    for (int nMoves = 0; !port.bUnloaded && checker.sFailure.empty() && nMoves < 100000; ++nMoves) {
        if (script.bFromMenu && game.CanReplayLastDeal()) {
            script.bFromMenu = false;
            game.ReplayLastDeal();
        } else if (game.InPractice() && nPracticeMoves++ == script.nLeaveAfter) {
            game.LeavePractice();
        } else if (!player.Move(game)) {
            break;
        }
    }
    if (checker.sFailure.empty() && !port.bUnloaded) {
        checker.sFailure = "the run stopped before the last game-over answer";
    }
    return {checker.sFailure, port.Calls, g.nNumGames};
}

std::size_t Find(const std::vector<std::string>& calls, const std::string& sPrefix,
                 std::size_t nFrom = 0) {
    const auto it = std::find_if(calls.begin() + static_cast<std::ptrdiff_t>(nFrom), calls.end(),
                                 [&](const std::string& c) { return c.starts_with(sPrefix); });
    return static_cast<std::size_t>(it - calls.begin());
}

// Every card laid and every payment between two calls, seat by seat.
std::vector<std::string> Moves(const std::vector<std::string>& calls, std::size_t nFrom,
                               std::size_t nTo) {
    std::vector<std::string> moves;
    for (std::size_t i = nFrom; i < nTo && i < calls.size(); ++i) {
        if (calls[i].starts_with("SetLastCard") && !calls[i].ends_with(" -")) {
            moves.push_back(calls[i]);
        }
    }
    return moves;
}

// From the user's first action after call nFrom to the end of the run.
std::vector<std::string> RestAfter(const std::vector<std::string>& calls, std::size_t nFrom) {
    const std::size_t nAct = std::min(Find(calls, "PlaySoundRes PlayCard", nFrom),
                                      Find(calls, "PlaySoundRes PayPot", nFrom));
    return {calls.begin() + static_cast<std::ptrdiff_t>(nAct), calls.end()};
}

const std::string kPractice = std::string("SetCaption ") + kTitle + " - Practice";
const std::string kGameCaption = std::string("SetCaption ") + kTitle + " - Level";

TEST(WholeGames, APracticeReplaysTheDealMoveForMoveAndTheGameGoesOnAsBefore) {
    const std::array<Script, 4> scripts{
        Script{{DialogAnswer::Replay}, {}, -1, false}, Script{{DialogAnswer::Replay}, {}, 0, false},
        Script{{DialogAnswer::Replay}, {}, 3, false}, Script{{}, {}, -1, true}};
    for (std::uint32_t nSeed = 1; nSeed <= 12; ++nSeed) {
        const GameRun plain = PlayGame(nSeed, {});
        const std::vector<std::string>& a = plain.Calls;
        const std::size_t aHand = Find(a, "ShowHandOver");
        if (aHand == a.size()) {
            continue; // the first hand ended the game
        }
        for (const Script& script : scripts) {
            const GameRun r = PlayGame(nSeed, script);
            ASSERT_EQ(r.sFailure, "") << "seed " << nSeed;
            const std::vector<std::string>& b = r.Calls;
            const std::size_t bPractice = Find(b, kPractice);
            const std::size_t bBack = Find(b, kGameCaption, bPractice);
            ASSERT_LT(bBack, b.size()) << "seed " << nSeed;
            EXPECT_EQ(RestAfter(a, aHand), RestAfter(b, bBack)) << "seed " << nSeed;
            if (script.nLeaveAfter < 0) {
                const std::size_t bEnd = Find(b, "ShowPracticeResult", bPractice);
                EXPECT_EQ(Moves(a, 0, aHand), Moves(b, bPractice, bEnd)) << "seed " << nSeed;
                std::size_t aFunds = aHand;
                while (!a[--aFunds].starts_with("SetAmt 3 ")) {
                }
                const std::string sResult = std::to_string(std::stoi(a[aFunds].substr(9)) - 200);
                EXPECT_EQ(b[bEnd], "ShowPracticeResult " + sResult + " " + sResult)
                    << "the same result this time as in the game";
            }
        }
    }
}

TEST(WholeGames, APracticeAtGameOverBooksNothingAndAsksAgain) {
    for (std::uint32_t nSeed = 20; nSeed < 26; ++nSeed) {
        const GameRun r = PlayGame(
            nSeed, {{}, {DialogAnswer::Replay, DialogAnswer::Replay, DialogAnswer::No}, -1, false});
        ASSERT_EQ(r.sFailure, "") << "seed " << nSeed;
        const std::vector<std::string>& c = r.Calls;
        const std::size_t nOver = Find(c, "ShowGameOver Replay");
        ASSERT_LT(nOver, c.size());
        EXPECT_EQ(r.nNumGames, 1) << "booked once";
        // The game and its top ten are settled before the practice; from its deal
        // on, nothing more is booked.
        const std::size_t nPractice = Find(c, kPractice, nOver);
        const std::vector<std::string> practice(c.begin() + static_cast<std::ptrdiff_t>(nPractice),
                                                c.end());
        for (const char* sBooking : {"ShowHandOver", "ShowGameOver ", "TopTen", "SaveSettings"}) {
            EXPECT_EQ(Find(practice, sBooking), practice.size()) << sBooking;
        }
        std::size_t nDeal = nOver;
        while (c[--nDeal] != "SetLastCard 3 -") { // the panels cleared for the deal
        }
        EXPECT_EQ(Moves(c, nDeal, nOver),
                  Moves(c, nPractice, Find(c, "ShowPracticeResult", nOver)));
        EXPECT_LT(Find(c, "ShowGameOverAnswers Replay", nOver), c.size());
        EXPECT_EQ(std::vector<std::string>(c.end() - 2, c.end()),
                  (std::vector<std::string>{"ShowGameOverAnswers No", "Unload"}));
    }
}

} // namespace
} // namespace corvane
