// Whole seeded games through the recording port, with the game's invariants
// checked after every call the engine makes.
#include "engine/cards.hpp"
#include "engine/testing/recording_port.hpp"
#include "opponents/testing/auto_player.hpp"

#include <algorithm>
#include <deque>
#include <iterator>
#include <numeric>
#include <sstream>

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
    InvariantChecker(Game& game, RecordingPort& port) : m_game(game), m_port(port) {}

    void Check(const std::string& sCall) {
        if (!m_sFailure.empty()) {
            return;
        }
        const GameState& s = m_game.State();
        const MGlobal& g = m_game.Globals();
        ++m_nChecks;

        // Every card in exactly one place: a seat's hand or the table.
        std::array<int, 52> seen{};
        for (int nSeat = 0; nSeat < 4; ++nSeat) {
            if (s.nCardsLeft[nSeat] == 0) {
                continue; // a finished hand keeps a stale last element
            }
            const auto& hand = s.Hand(nSeat);
            Expect(static_cast<int>(hand.size()) == s.nCardsLeft[nSeat], "hand size = count",
                   sCall);
            for (int c : hand) {
                ++seen[c];
            }
        }
        for (int c : s.CardsPlayed) {
            ++seen[c];
        }
        Expect(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }),
               "52 cards each in one place", sCall);
        Expect(s.nTableMask == CardMask(s.CardsPlayed) &&
                   s.nCardsPlayed == static_cast<int>(s.CardsPlayed.size()),
               "the table's set and count follow its list", sCall);

        // Money is only moved, never made (all zero only before the first game).
        const int nMoney = std::accumulate(s.nFunds.begin(), s.nFunds.end(), 0) + s.nPot;
        const bool bBeforeFirstGame = m_nChecks <= 2 && nMoney == 0;
        Expect(nMoney == 800 || bBeforeFirstGame, "funds plus pot = $800", sCall);

        // The table is a legal layout: nothing before the Seven of Hearts, and each
        // suit one unbroken run through its Seven.
        std::array<bool, 52> onTable{};
        for (int c : s.CardsPlayed) {
            onTable[c] = true;
        }
        if (!s.CardsPlayed.empty()) {
            Expect(onTable[kSevenOfHearts], "the Seven of Hearts opened", sCall);
        }
        for (int nSuit = 0; nSuit < 4; ++nSuit) {
            int nRuns = 0;
            bool bIn = false;
            bool bAny = false;
            for (int r = 0; r < 13; ++r) {
                const bool b = onTable[4 * r + nSuit];
                if (b && !bIn) {
                    ++nRuns;
                }
                bIn = b;
                bAny = bAny || b;
            }
            Expect(nRuns <= 1 && (!bAny || onTable[24 + nSuit]), "rows unbroken through Sevens",
                   sCall);
        }

        // The hand ends exactly when one seat's count reaches 0.
        const auto nEmpty = std::count(s.nCardsLeft.begin(), s.nCardsLeft.end(), 0);
        Expect(nEmpty == (s.bHandOver ? 1 : 0), "hand over iff one count is 0", sCall);

        // The money as the last card was laid, to check the pay-out against.
        if (s.bHandOver && !m_bHandOverSeen) {
            m_FundsAtEnd = s.nFunds;
            m_nPotAtEnd = s.nPot;
            m_CardsAtEnd = s.nCardsLeft;
        }
        m_bHandOverSeen = s.bHandOver;

        // A seat that pays (its sad face right after the pot grew, not on a
        // redrawn table) must have had nothing to lay.
        const bool bPaid = m_sLastCall.starts_with("SetPot") && sCall.ends_with(" sad");
        m_sLastCall = sCall;
        if (sCall.rfind("SetLastCard", 0) == 0 && bPaid) {
            const int nSeat = sCall[12] - '0';
            Expect(!HasLegalCard(s, nSeat), "only a seat without a legal card pays", sCall);
        }

        if (sCall == "ShowHandOver" || sCall.rfind("ShowGameOver ", 0) == 0) {
            CheckHandEnd(s, g, sCall);
        }
        if (sCall.rfind("DrawUserHand 13 ", 0) == 0) {
            // A new hand has been dealt: the game went on only if it was allowed to.
            Expect(!m_bMustEnd, "the game ends when a seat is below $1", sCall);
        }
    }

    const std::string& Failure() const { return m_sFailure; }
    int Hands() const { return m_nHands; }
    int Games() const { return m_nGames; }
    long long Checks() const { return m_nChecks; }

private:
    static bool HasLegalCard(const GameState& s, int nSeat) {
        if (!s.bSevenHeartsPlayed) {
            return false;
        }
        // Independent of the engine's own row ends: a card next to a table card of
        // its suit on the open side, or a Seven.
        std::array<bool, 52> onTable{};
        for (int c : s.CardsPlayed) {
            onTable[c] = true;
        }
        for (int c : s.Hand(nSeat)) {
            const bool bBelowRow = c + 4 < 52 && onTable[c + 4] && (c < 4 || !onTable[c - 4]);
            const bool bAboveRow = c >= 4 && onTable[c - 4] && (c + 4 >= 52 || !onTable[c + 4]);
            if (IsSeven(c) || (!onTable[c] && (bBelowRow || bAboveRow))) {
                return true;
            }
        }
        return false;
    }

    void CheckHandEnd(const GameState& s, const MGlobal& g, const std::string& sCall) {
        ++m_nHands;
        ++m_nHandsThisGame;
        Expect(s.nPot == 0, "the winner took the pot", sCall);
        const int nWinner = static_cast<int>(
            std::find(s.nCardsLeft.begin(), s.nCardsLeft.end(), 0) - s.nCardsLeft.begin());
        const std::array<const std::string*, 4> names{&g.sLeftName, &g.sTopName, &g.sRightName,
                                                      &g.sUserName};
        Expect(nWinner < 4 && g.sWinnerName == *names[nWinner], "the seat that finished won",
               sCall);
        int nPaid = 0;
        for (int nSeat = 0; nSeat < 4; ++nSeat) {
            const int nDue = 5 * m_CardsAtEnd[nSeat];
            nPaid += nDue;
            if (nSeat != nWinner) {
                Expect(s.nFunds[nSeat] == m_FundsAtEnd[nSeat] - nDue, "$5 per card left", sCall);
            }
        }
        Expect(nWinner < 4 && s.nFunds[nWinner] == m_FundsAtEnd[nWinner] + m_nPotAtEnd + nPaid,
               "the winner takes the pot and the payments", sCall);
        const std::array<const std::vector<std::string>*, 4> scores{&g.ScoresOne, &g.ScoresTwo,
                                                                    &g.ScoresThree, &g.ScoresUser};
        for (int nSeat = 0; nSeat < 4; ++nSeat) {
            Expect(static_cast<int>(scores[nSeat]->size()) == m_nHandsThisGame &&
                       scores[nSeat]->back() == std::to_string(m_port.Amt[nSeat]) &&
                       m_port.Amt[nSeat] == s.nFunds[nSeat],
                   "recorded funds match the panels", sCall);
        }
        const bool bBroke =
            std::any_of(s.nFunds.begin(), s.nFunds.end(), [](int n) { return n < 1; });
        if (sCall == "ShowHandOver") {
            Expect(m_nHandsThisGame < 4, "no standings after the fourth hand", sCall);
            m_bMustEnd = bBroke;
        } else {
            Expect(m_nHandsThisGame >= 1 && m_nHandsThisGame <= 4 &&
                       (m_nHandsThisGame == 4 || bBroke),
                   "a game is one to four hands and ends on the fourth or below $1", sCall);
            ++m_nGames;
            m_nHandsThisGame = 0;
            m_bMustEnd = false;
        }
    }

    void Expect(bool bOk, const char* sRule, const std::string& sCall) {
        if (!bOk && m_sFailure.empty()) {
            std::ostringstream out;
            out << "broken: " << sRule << " after \"" << sCall << "\" (check " << m_nChecks << ")";
            m_sFailure = out.str();
        }
    }

    Game& m_game;
    RecordingPort& m_port;
    std::string m_sFailure;
    long long m_nChecks = 0;
    int m_nHands = 0;
    int m_nHandsThisGame = 0;
    int m_nGames = 0;
    bool m_bMustEnd = false;
    bool m_bHandOverSeen = false;
    std::string m_sLastCall;
    std::array<int, 4> m_FundsAtEnd{};
    std::array<int, 4> m_CardsAtEnd{};
    int m_nPotAtEnd = 0;
};

struct RunResult {
    std::string sFailure;
    int nGames = 0;
    int nHands = 0;
    std::vector<std::string> Calls;
    std::int16_t nNumGames = 0;
};

// Answers for the dialogs, and when to ask for or leave a practice.
struct Script {
    std::deque<DialogAnswer> HandOvers;
    std::deque<DialogAnswer> GameOvers; // else Yes until the last game
    int nLeaveAfter = -1;               // the user's moves into the first practice
    bool bFromMenu = false;             // replay at the first chance the menu offers
    bool bRecord = false;
};

// Plays nGames whole games from one seed, answering Yes until the last.
RunResult PlayRun(std::uint32_t nSeed, int nGames, std::array<int, 3> levels, SeatStrategy user,
                  Script script = {}) {
    MGlobal g;
    g.sUserName = "Ann";
    g.sLeftName = "Lefty";
    g.sTopName = "Topper";
    g.sRightName = "Righty";
    g.lSeed = static_cast<std::int32_t>(nSeed % 2147483646U) + 1;
    RecordingPort port(g);
    port.bRecord = script.bRecord;
    port.nTick = nSeed * 2654435761U;
    port.GameOverAnswers.assign(static_cast<std::size_t>(nGames - 1), DialogAnswer::Yes);
    if (!script.GameOvers.empty()) {
        port.GameOverAnswers = script.GameOvers;
    }
    port.HandOverAnswers = script.HandOvers;
    PerSeatOpponents opponents(levels);
    Game game(g, port, port, port, opponents);
    port.pGame = &game;
    InvariantChecker checker(game, port);
    port.onCall = [&](const std::string& sCall) { checker.Check(sCall); };
    AutoPlayer player(user, nSeed);

    game.LoadDeck();
    game.StartGame(true);
    int nMoves = 0;
    int nPracticeMoves = 0;
    while (!port.bUnloaded && checker.Failure().empty() && nMoves < 100000) {
        if (script.bFromMenu && game.CanReplayLastDeal()) {
            script.bFromMenu = false;
            game.ReplayLastDeal();
        } else if (game.InPractice() && nPracticeMoves++ == script.nLeaveAfter) {
            game.LeavePractice();
        } else if (!player.Move(game)) {
            break;
        }
        ++nMoves;
    }
    RunResult result{checker.Failure(), checker.Games(), checker.Hands(), port.Calls, g.nNumGames};
    if (result.sFailure.empty() && !port.bUnloaded) {
        result.sFailure = "the run stopped before the last game-over answer";
    }
    return result;
}

TEST(WholeGames, ThousandSeededGamesKeepEveryRule) {
    const std::array<SeatStrategy, 4> users{SeatStrategy::Random, SeatStrategy::Easy,
                                            SeatStrategy::Medium, SeatStrategy::Hard};
    int nGames = 0;
    int nHands = 0;
    for (std::uint32_t nSeed = 1; nSeed <= 250; ++nSeed) {
        const int nLevel = static_cast<int>(nSeed % 3);
        const RunResult r = PlayRun(nSeed, 4, {nLevel, nLevel, nLevel}, users[nSeed % 4]);
        ASSERT_EQ(r.sFailure, "") << "seed " << nSeed;
        ASSERT_EQ(r.nGames, 4) << "seed " << nSeed;
        nGames += r.nGames;
        nHands += r.nHands;
    }
    EXPECT_EQ(nGames, 1000);
    EXPECT_GE(nHands, 1000);
    EXPECT_LE(nHands, 4000);
}

TEST(WholeGames, MixedLevelsAtTheSameTable) {
    for (std::uint32_t nSeed = 1000; nSeed < 1050; ++nSeed) {
        const RunResult r = PlayRun(nSeed, 2, {2, 0, 1}, SeatStrategy::Hard);
        ASSERT_EQ(r.sFailure, "") << "seed " << nSeed;
    }
}

std::size_t Find(const std::vector<std::string>& calls, const std::string& sPrefix,
                 std::size_t nFrom = 0) {
    for (std::size_t i = nFrom; i < calls.size(); ++i) {
        if (calls[i].starts_with(sPrefix)) {
            return i;
        }
    }
    return calls.size();
}

// The moves of a stretch of play as the panels show them: every card laid and
// every payment, seat by seat.
std::vector<std::string> Moves(const std::vector<std::string>& calls, std::size_t nFrom,
                               std::size_t nTo) {
    std::vector<std::string> moves;
    std::copy_if(
        calls.begin() + static_cast<std::ptrdiff_t>(nFrom),
        calls.begin() + static_cast<std::ptrdiff_t>(nTo), std::back_inserter(moves),
        [](const std::string& c) { return c.starts_with("SetLastCard") && !c.ends_with(" -"); });
    return moves;
}

// From the user's first action after position nFrom to the end of the run.
std::vector<std::string> RestAfter(const std::vector<std::string>& calls, std::size_t nFrom) {
    const std::size_t nAct = std::min(Find(calls, "PlaySoundRes PlayCard", nFrom),
                                      Find(calls, "PlaySoundRes PayPot", nFrom));
    return {calls.begin() + static_cast<std::ptrdiff_t>(nAct), calls.end()};
}

const std::string kPractice = std::string("SetCaption ") + kTitle + " - Practice";
const std::string kGameCaption = std::string("SetCaption ") + kTitle + " - Level";

TEST(WholeGames, APracticeReplaysTheDealMoveForMoveAndTheGameGoesOnAsBefore) {
    const std::array<Script, 4> scripts{Script{{DialogAnswer::Replay}, {}, -1, false, true},
                                        Script{{DialogAnswer::Replay}, {}, 0, false, true},
                                        Script{{DialogAnswer::Replay}, {}, 3, false, true},
                                        Script{{}, {}, -1, true, true}};
    for (std::uint32_t nSeed = 1; nSeed <= 12; ++nSeed) {
        const int nLevel = static_cast<int>(nSeed % 3);
        const RunResult plain = PlayRun(nSeed, 1, {nLevel, nLevel, nLevel}, SeatStrategy::Hard,
                                        Script{{}, {}, -1, false, true});
        const std::vector<std::string>& a = plain.Calls;
        const std::size_t aHand = Find(a, "ShowHandOver");
        if (aHand == a.size()) {
            continue; // the first hand ended the game
        }
        for (const Script& script : scripts) {
            const RunResult r =
                PlayRun(nSeed, 1, {nLevel, nLevel, nLevel}, SeatStrategy::Hard, script);
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
                std::string sWant = "ShowPracticeResult ";
                sWant.append(sResult).append(" ").append(sResult);
                EXPECT_EQ(b[bEnd], sWant) << "the same result this time as in the game";
            }
        }
    }
}

TEST(WholeGames, APracticeAtGameOverBooksNothingAndAsksAgain) {
    for (std::uint32_t nSeed = 20; nSeed < 26; ++nSeed) {
        const RunResult r = PlayRun(
            nSeed, 1, {0, 0, 0}, SeatStrategy::Hard,
            {{}, {DialogAnswer::Replay, DialogAnswer::Replay, DialogAnswer::No}, -1, false, true});
        ASSERT_EQ(r.sFailure, "") << "seed " << nSeed;
        const std::vector<std::string>& c = r.Calls;
        const std::size_t nOver = Find(c, "ShowGameOver Replay");
        ASSERT_LT(nOver, c.size());
        EXPECT_EQ(r.nNumGames, 1) << "booked once";
        // The game and its top ten are settled before the practice; from its
        // deal on, nothing more is booked.
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

TEST(WholeGames, TheSameSeedReplaysTheSameGames) {
    auto fingerprint = [](std::uint32_t nSeed) {
        MGlobal g;
        g.lSeed = 777;
        RecordingPort port(g);
        port.nTick = nSeed;
        PerSeatOpponents opponents({1, 1, 1});
        Game game(g, port, port, port, opponents);
        port.pGame = &game;
        AutoPlayer player(SeatStrategy::Medium, nSeed);
        game.LoadDeck();
        game.StartGame(true);
        while (!port.bUnloaded && player.Move(game)) {
        }
        return port.Calls;
    };
    EXPECT_EQ(fingerprint(5), fingerprint(5));
    EXPECT_NE(fingerprint(5), fingerprint(6));
}

} // namespace
} // namespace corvane
