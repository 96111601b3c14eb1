// Whole seeded games through the recording port, with the game's invariants
// checked after every call the engine makes.
#include "engine/cards.hpp"
#include "engine/testing/recording_port.hpp"
#include "opponents/testing/auto_player.hpp"

#include <algorithm>
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

        // A seat that pays must have had nothing to lay.
        if (sCall.rfind("SetLastCard", 0) == 0 && sCall.ends_with(" sad")) {
            const int nSeat = sCall[12] - '0';
            Expect(!HasLegalCard(s, nSeat), "only a seat without a legal card pays", sCall);
        }

        if (sCall == "ShowHandOver" || sCall.rfind("ShowGameOver", 0) == 0) {
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
    std::array<int, 4> m_FundsAtEnd{};
    std::array<int, 4> m_CardsAtEnd{};
    int m_nPotAtEnd = 0;
};

struct RunResult {
    std::string sFailure;
    int nGames = 0;
    int nHands = 0;
};

// Plays nGames whole games from one seed, answering Yes until the last.
RunResult PlayRun(std::uint32_t nSeed, int nGames, std::array<int, 3> levels, SeatStrategy user) {
    MGlobal g;
    g.sUserName = "Ann";
    g.sLeftName = "Lefty";
    g.sTopName = "Topper";
    g.sRightName = "Righty";
    g.lSeed = static_cast<std::int32_t>(nSeed % 2147483646U) + 1;
    RecordingPort port(g);
    port.bRecord = false;
    port.nTick = nSeed * 2654435761U;
    port.GameOverAnswers.assign(static_cast<std::size_t>(nGames - 1), DialogAnswer::Yes);
    PerSeatOpponents opponents(levels);
    Game game(g, port, port, port, opponents);
    port.pGame = &game;
    InvariantChecker checker(game, port);
    port.onCall = [&](const std::string& sCall) { checker.Check(sCall); };
    AutoPlayer player(user, nSeed);

    game.LoadDeck();
    game.StartGame(true);
    int nMoves = 0;
    while (!port.bUnloaded && checker.Failure().empty() && nMoves < 100000) {
        if (!player.Move(game)) {
            break;
        }
        ++nMoves;
    }
    RunResult result{checker.Failure(), checker.Games(), checker.Hands()};
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
