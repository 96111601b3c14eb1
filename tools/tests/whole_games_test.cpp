// A thousand seeded games through the recording port, with the game's rules
// checked after every call the engine makes, and practices replayed within games.
#include "engine/cards.hpp"
#include "engine/testing/recording_port.hpp"
#include "opponents/testing/auto_player.hpp"

#include <algorithm>
#include <deque>
#include <numeric>
#include <tuple>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::AutoPlayer;
using testing::PerSeatOpponents;
using testing::RecordingPort;
using testing::SeatStrategy;
using CallList = std::vector<std::string>;

// How one seeded run is played: the dialog answers, and when to ask for or
// leave a practice. The seed picks the user's strategy and each seat's level.
struct Script {
    std::deque<DialogAnswer> HandOvers{}; // Ok when they run out
    std::deque<DialogAnswer> GameOvers{}; // No when they run out
    int nLeaveAfter = -1;                 // the user's moves into the practice
    bool bFromMenu = false;               // replay at the first chance the menu offers
};

// One seeded run of games played to the end, with the game's rules checked after
// every call the engine makes; it keeps the first broken rule.
class SeededRun {
public:
    SeededRun(std::uint32_t nSeed, const Script& script) {
        std::tie(g.sUserName, g.sLeftName, g.sTopName, g.sRightName) =
            std::tuple("Ann", "Lefty", "Topper", "Righty");
        g.lSeed = static_cast<std::int32_t>(nSeed);
        port.nTick = nSeed * 2654435761U;
        port.GameOverAnswers = script.GameOvers;
        port.HandOverAnswers = script.HandOvers;
        PerSeatOpponents opponents({static_cast<int>(nSeed % 3), static_cast<int>(nSeed / 3 % 3),
                                    static_cast<int>(nSeed / 9 % 3)});
        Game game(g, port, port, port, opponents);
        pGame_ = port.pGame = &game;
        port.onCall = [this](const std::string& sCall) { Check(sCall); };
        // Random, Easy, Medium and Hard in turn.
        AutoPlayer player(static_cast<SeatStrategy>((nSeed + 3) % 4), nSeed);
        game.LoadDeck();
        game.StartGame(true);
        bool bFromMenu = script.bFromMenu;
        int nPracticeMoves = 0;
        for (int nMoves = 0; !port.bUnloaded && sFailure.empty() && nMoves < 100000; ++nMoves) {
            if (bFromMenu && game.CanReplayLastDeal()) {
                bFromMenu = false;
                game.ReplayLastDeal();
            } else if (game.InPractice() && nPracticeMoves++ == script.nLeaveAfter) {
                game.LeavePractice();
            } else if (!player.Move(game)) {
                break;
            }
        }
        port.onCall = nullptr;
        if (sFailure.empty() && !port.bUnloaded) {
            sFailure = "the run stopped before the last game-over answer";
        }
    }

    std::string sFailure;
    int nGames = 0;
    MGlobal g;
    RecordingPort port{g};

private:
    void Check(const std::string& sCall) {
        const GameState& s = pGame_->State();
        sCall_ = sCall;
        ++nChecks_;
        // Every card in exactly one place, a seat's hand or the table, and the sets
        // kept beside the lists in step with them.
        std::array<int, 52> seen{};
        for (int nSeat = 0; nSeat < 4; ++nSeat) {
            if (s.nCardsLeft[nSeat] == 0) {
                continue; // a finished hand keeps a stale last element
            }
            const auto& hand = s.Hand(nSeat);
            Expect(std::ssize(hand) == s.nCardsLeft[nSeat] && s.nHandMask[nSeat] == CardMask(hand),
                   "hand, count and set agree");
            for (int c : hand) {
                ++seen[c];
            }
        }
        std::array<bool, 52> onTable{};
        for (int c : s.CardsPlayed) {
            ++seen[c];
            onTable[c] = true;
        }
        Expect(std::ranges::all_of(seen, [](int n) { return n == 1; }),
               "52 cards each in one place");
        Expect(s.nTableMask == CardMask(s.CardsPlayed) &&
                   s.nCardsPlayed == std::ssize(s.CardsPlayed),
               "the table's set and count follow its list");
        Expect(!sCall.starts_with("DrawCardsPlayed") ||
                   std::is_sorted(s.CardsPlayed.rbegin(), s.CardsPlayed.rend()),
               "the table is drawn from its highest card down");
        // Money is only moved, never made (all zero only before the first game).
        const int nMoney = std::accumulate(s.nFunds.begin(), s.nFunds.end(), 0) + s.nPot;
        Expect(nMoney == 800 || (nChecks_ <= 2 && nMoney == 0), "funds plus pot = $800");
        // Nothing before the Seven of Hearts, and each suit one run through its Seven.
        Expect(s.CardsPlayed.empty() || onTable[kSevenOfHearts], "the Seven of Hearts opens");
        for (int nSuit = 0; nSuit < 4; ++nSuit) {
            int nEdges = 0;
            for (int r = 0; r <= 13; ++r) {
                nEdges += static_cast<int>((r < 13 && onTable[4 * r + nSuit]) !=
                                           (r > 0 && onTable[4 * r - 4 + nSuit]));
            }
            Expect(nEdges == 0 || (nEdges == 2 && onTable[24 + nSuit]),
                   "rows unbroken through Sevens");
        }
        Expect(std::ranges::count(s.nCardsLeft, 0) == (s.bHandOver ? 1 : 0),
               "hand over iff one count is 0");
        if (s.bHandOver && !bHandOverSeen_) {
            AtEnd_ = s;
        }
        bHandOverSeen_ = s.bHandOver;
        // A seat that pays (its sad face right after the pot grew, not on a
        // redrawn table) must have had nothing to lay.
        const bool bPaid = sLastCall_.starts_with("SetPot") && sCall.ends_with(" sad");
        sLastCall_ = sCall;
        Expect(!sCall.starts_with("SetLastCard") || !bPaid || !HasLegalCard(s, sCall[12] - '0'),
               "only a seat without a legal card pays");
        if (sCall == "ShowHandOver" || sCall.starts_with("ShowGameOver ")) {
            CheckHandEnd(s);
        }
        Expect(!sCall.starts_with("DrawUserHand 13 ") || !bMustEnd_,
               "the game ends when a seat is below $1");
    }

    // Independent of the engine's sets: a card next to a table card of its suit
    // on the open side, or a Seven.
    static bool HasLegalCard(const GameState& s, int nSeat) {
        const auto on = [&s](int c) { return c >= 0 && c < 52 && InMask(s.nTableMask, c); };
        return std::ranges::any_of(s.Hand(nSeat), [&](int c) {
            return IsSeven(c) || (on(c + 4) && !on(c - 4)) || (on(c - 4) && !on(c + 4));
        });
    }

    void CheckHandEnd(const GameState& s) {
        ++nHandsThisGame_;
        const auto nWinner = std::ranges::find(s.nCardsLeft, 0) - s.nCardsLeft.begin();
        const std::array<const std::string*, 4> names{&g.sLeftName, &g.sTopName, &g.sRightName,
                                                      &g.sUserName};
        const int nLeft = std::accumulate(AtEnd_.nCardsLeft.begin(), AtEnd_.nCardsLeft.end(), 0);
        Expect(nWinner < 4 && g.sWinnerName == *names[nWinner] && s.nPot == 0 &&
                   g.sPotWon == std::to_string(AtEnd_.nPot + 5 * nLeft),
               "the seat that finished takes the pot");
        const std::array<const std::vector<std::string>*, 4> scores{&g.ScoresOne, &g.ScoresTwo,
                                                                    &g.ScoresThree, &g.ScoresUser};
        for (int nSeat = 0; nSeat < 4; ++nSeat) {
            const int nDue =
                nSeat == nWinner ? -std::stoi(g.sPotWon) : 5 * AtEnd_.nCardsLeft[nSeat];
            Expect(s.nFunds[nSeat] == AtEnd_.nFunds[nSeat] - nDue &&
                       port.Amt[nSeat] == s.nFunds[nSeat] &&
                       std::ssize(*scores[nSeat]) == nHandsThisGame_ &&
                       scores[nSeat]->back() == std::to_string(s.nFunds[nSeat]),
                   "$5 per card left, shown and recorded");
        }
        const bool bBroke = std::ranges::any_of(s.nFunds, [](int n) { return n < 1; });
        if (sCall_ == "ShowHandOver") {
            Expect(nHandsThisGame_ < 4, "no standings after the fourth hand");
            bMustEnd_ = bBroke;
        } else {
            Expect(nHandsThisGame_ == 4 || bBroke, "a game ends on the fourth hand or below $1");
            ++nGames;
            nHandsThisGame_ = 0;
            bMustEnd_ = false;
        }
    }

    void Expect(bool bOk, const char* sRule) {
        if (!bOk && sFailure.empty()) {
            sFailure = std::string("broken: ") + sRule + " after \"" + sCall_ + "\" (check " +
                       std::to_string(nChecks_) + ")";
        }
    }

    Game* pGame_ = nullptr;
    long long nChecks_ = 0;
    int nHandsThisGame_ = 0;
    bool bMustEnd_ = false;
    bool bHandOverSeen_ = false;
    std::string sCall_;
    std::string sLastCall_;
    GameState AtEnd_; // as the hand ended, before the pay-out
};

TEST(WholeGames, ThousandSeededGamesKeepEveryRule) {
    for (std::uint32_t nSeed = 1; nSeed <= 250; ++nSeed) {
        const SeededRun r(nSeed, {.GameOvers = std::deque(3, DialogAnswer::Yes)});
        ASSERT_EQ(std::tuple(r.sFailure, r.nGames), std::tuple("", 4)) << "seed " << nSeed;
    }
}

// The index of the first call from nFrom on that starts with sPrefix, or the size.
std::size_t Find(const CallList& calls, const std::string& sPrefix, std::size_t nFrom = 0) {
    const auto it = std::find_if(calls.begin() + static_cast<std::ptrdiff_t>(nFrom), calls.end(),
                                 [&](const std::string& c) { return c.starts_with(sPrefix); });
    return static_cast<std::size_t>(it - calls.begin());
}

// Every card laid and every payment between two calls, seat by seat.
CallList Moves(const CallList& calls, std::size_t nFrom, std::size_t nTo) {
    CallList moves;
    for (std::size_t i = nFrom; i < nTo && i < calls.size(); ++i) {
        if (calls[i].starts_with("SetLastCard") && !calls[i].ends_with(" -")) {
            moves.push_back(calls[i]);
        }
    }
    return moves;
}

// From the user's first action after call nFrom to the end of the run.
CallList RestAfter(const CallList& calls, std::size_t nFrom) {
    const std::size_t nAct = std::min(Find(calls, "PlaySoundRes PlayCard", nFrom),
                                      Find(calls, "PlaySoundRes PayPot", nFrom));
    return {calls.begin() + static_cast<std::ptrdiff_t>(nAct), calls.end()};
}

const std::string kCaption = std::string("SetCaption ") + kTitle + " - ";

TEST(WholeGames, APracticeReplaysTheDealMoveForMoveAndTheGameGoesOnAsBefore) {
    const std::array<Script, 4> scripts{
        Script{.HandOvers = {DialogAnswer::Replay}},
        Script{.HandOvers = {DialogAnswer::Replay}, .nLeaveAfter = 0},
        Script{.HandOvers = {DialogAnswer::Replay}, .nLeaveAfter = 3}, Script{.bFromMenu = true}};
    for (std::uint32_t nSeed = 1; nSeed <= 16; ++nSeed) {
        const SeededRun plain(nSeed, {});
        const CallList& a = plain.port.Calls;
        const std::size_t aHand = Find(a, "ShowHandOver");
        if (aHand == a.size() || nSeed % 4 == 0) {
            continue; // the first hand ended the game, or a random user plays it anew
        }
        for (const Script& script : scripts) {
            const SeededRun r(nSeed, script);
            ASSERT_EQ(r.sFailure, "") << "seed " << nSeed;
            const CallList& b = r.port.Calls;
            const std::size_t bPractice = Find(b, kCaption + "Practice");
            const std::size_t bBack = Find(b, kCaption + "Level", bPractice);
            ASSERT_LT(bBack, b.size()) << "seed " << nSeed;
            EXPECT_EQ(RestAfter(a, aHand), RestAfter(b, bBack)) << "seed " << nSeed;
            if (script.nLeaveAfter < 0) {
                const std::size_t bEnd = Find(b, "ShowPracticeResult", bPractice);
                EXPECT_EQ(Moves(a, 0, aHand), Moves(b, bPractice, bEnd)) << "seed " << nSeed;
                const std::string sResult = std::to_string(std::stoi(plain.g.ScoresUser[0]) - 200);
                EXPECT_EQ(b[bEnd], "ShowPracticeResult " + sResult + " " + sResult)
                    << "the same result this time as in the game";
            }
        }
    }
}

} // namespace
} // namespace corvane
