// The computer seats: the random generator they draw from, the three
// strategies over random positions checked against the rules written out card
// by card, and a seat's whole turn on the recording port.
#include "engine/cards.hpp"
#include "engine/testing/recording_port.hpp"
#include "opponents/opponent_turn.hpp"
#include "opponents/random_int.hpp"
#include "opponents/strategies.hpp"
#include "opponents/testing/fake_clock.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace corvane {
namespace {

constexpr std::int32_t kMod = 2147483647; // the modulus, 2^31 - 1
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(RandomInt, KnownStatesSeedingAndRanges) {
    // The quotient by 44488 is rounded, an exact half to even: 66732 (1.5) goes up
    // and 111220 (2.5) stays, where truncation or rounding half up would differ.
    constexpr std::int32_t kSteps[][2]{
        {1, 48271},           {48271, 182605794},      {66732, 1073733326},  {111220, 1073733326},
        {22244, 1073740124},  {44487, 2147428578},     {-66732, 1073750321}, {-111220, 1073750321},
        {-22244, 1073743523}, {-44487, 55069},         {-1, 2147435376},     {kMin, 2147435376},
        {kMod, kMod},         {2147480248, 1983410518}};
    for (const auto& [lSeed, lNext] : kSteps) {
        EXPECT_EQ(NextSeed(lSeed), lNext) << lSeed;
    }
    // {state, tick count, low, high, the draw}. A state of 0 is seeded from the
    // tick count: one of 0 leaves it 0 and the step gives the modulus; one of
    // 2^32 - 1 (here -1) reads as -1, so the seed is 1. From state 1: the range
    // is closed and taken in either order, the whole 32-bit range is the state
    // shifted down by 2^31, and only the range from 0 to the modulus gives the
    // raw state (from 1 to the modulus is one more).
    constexpr std::int32_t k = 48271; // the state after 1
    constexpr std::int32_t kDraws[][5]{
        {0, 0, 0, kMod, kMod},       {0, -1, 0, kMod, k},    {1, 0, 0, 12, k % 13},
        {1, 0, 5, 2, 2 + k % 4},     {1, 0, 0, 0, 0},        {1, 0, 3, -3, -3 + k % 7},
        {1, 0, -5, kMod, k - 5},     {1, 0, 1, kMod, k + 1}, {1, 0, kMin, kMod, k + kMin},
        {1, 0, kMod, kMin, k + kMin}};
    for (const auto& [lState, nTick, nLow, nHigh, nDrawn] : kDraws) {
        testing::FakeClock clock(static_cast<std::uint32_t>(nTick));
        std::int32_t lSeed = lState;
        EXPECT_EQ(RandomInt(lSeed, nLow, nHigh, clock), nDrawn) << nLow << ".." << nHigh;
        EXPECT_EQ(lSeed, lState == 0 ? nDrawn : k);
        EXPECT_EQ(clock.nReads, lState == 0 ? 1 : 0);
    }
    // A draw from 0 to n - 1 is the next state modulo n, for every range up to
    // and past the small ones and for states up to the largest, 2^31 - 1.
    std::mt19937 gen(3);
    for (std::int32_t n = 1; n <= 80; ++n) {
        for (std::int32_t lState : {kMod, 1, 44488, n, static_cast<std::int32_t>(gen() >> 1U)}) {
            const std::int32_t lNext = NextSeed(lState);
            testing::FakeClock clock;
            EXPECT_EQ(RandomInt(lState, 0, n - 1, clock), lNext % n) << lNext << " % " << n;
        }
    }
}

constexpr std::array kLevels{GetBestEasyCard, GetBestMediumCard, GetBestHardCard};

// The table holding each suit's row from the rank Low[s] to High[s], from 1 for
// the Ace to 13 for the King, and suits 0 Clubs, 1 Diamonds, 2 Hearts, 3 Spades
// (no row where Low[s] is 0).
std::uint64_t Table(std::array<int, 4> Low, std::array<int, 4> High) {
    std::uint64_t nTable = 0;
    for (int c = 0; c < kCardsInDeck; ++c) {
        const int s = Suit(c);
        nTable |= Low[s] > 0 && Rank(c) + 1 >= Low[s] && Rank(c) + 1 <= High[s] ? CardBit(c) : 0U;
    }
    return nTable;
}

TEST(Strategies, EveryChoiceIsALegalCardAndTheBestByItsLevel) {
    std::mt19937 gen(7);
    std::int32_t lSeed = 1;
    testing::FakeClock clock;
    for (int nChecked = 0; nChecked < 3000;) {
        // Every row a run through its Seven (the Hearts row always there), and a
        // hand of cards from off the table.
        std::array<int, 4> Low{};
        std::array<int, 4> High{};
        for (int s = 0; s < 4; ++s) {
            Low[s] = s == 2 || gen() % 5 < 3 ? 1 + static_cast<int>(gen() % 7) : 0;
            High[s] = 7 + static_cast<int>(gen() % 7);
        }
        const std::uint64_t nTable = Table(Low, High);
        std::vector<int> hand(kCardsInDeck);
        std::iota(hand.begin(), hand.end(), 0);
        std::shuffle(hand.begin(), hand.end(), gen);
        std::erase_if(hand, [nTable](int c) { return (nTable & CardBit(c)) != 0; });
        hand.resize(std::min<std::size_t>(hand.size(), 1 + gen() % 13));

        // The lists hold exactly the legal cards: one beyond a row's end, or a
        // Seven (in both lists). A legal card scores the distance to the farthest
        // card of its suit in the hand in the direction its row grows.
        std::vector<int> DownCards;
        std::vector<int> UpCards;
        CollectCandidates(hand, nTable, DownCards, UpCards);
        std::size_t nEntries = 0;
        std::map<int, int> Gap;
        int nMaxGap = 0;
        for (int c : hand) {
            const int s = Suit(c);
            const bool bDown = IsSeven(c) || (Low[s] > 0 && Rank(c) + 1 == Low[s] - 1);
            const bool bUp = IsSeven(c) || (Low[s] > 0 && Rank(c) + 1 == High[s] + 1);
            ASSERT_EQ(std::count(DownCards.begin(), DownCards.end(), c), bDown ? 1 : 0) << c;
            ASSERT_EQ(std::count(UpCards.begin(), UpCards.end(), c), bUp ? 1 : 0) << c;
            nEntries += (bDown ? 1U : 0U) + (bUp ? 1U : 0U);
            for (int h : hand) {
                if (Suit(h) == s && ((bDown && h <= c) || (bUp && h >= c))) {
                    Gap[c] = std::max(Gap[c], std::abs(h - c));
                    nMaxGap = std::max(nMaxGap, Gap[c]);
                }
            }
        }
        ASSERT_EQ(DownCards.size() + UpCards.size(), nEntries);
        if (Gap.empty()) {
            continue;
        }
        ++nChecked;
        for (int nLevel = 0; nLevel < 3; ++nLevel) {
            // Easy lays any legal card; Medium one of the best score; Hard too,
            // unless no card leads anywhere, then one farthest from the Seven.
            // The level's strategy lays a card and empties its copies of the lists.
            std::vector<int> Down = DownCards;
            std::vector<int> Up = UpCards;
            const int nCard =
                kLevels.at(nLevel)(hand, static_cast<int>(Down.size()), static_cast<int>(Up.size()),
                                   Down, Up, RandomSource{lSeed, clock});
            EXPECT_TRUE(Down.empty() && Up.empty());
            ASSERT_EQ(Gap.count(nCard), 1U) << nLevel;
            const bool bByDistance = nLevel == 2 && nEntries > 1 && nMaxGap == 0;
            const auto score = [&](int c) { return bByDistance ? std::abs(Rank(c) - 6) : Gap[c]; };
            // The odds the coach reads cover the level's draws exactly, the card
            // drawn among them.
            double dTotal = 0.0;
            for (const auto& [c, nGap] : Gap) {
                const ChoiceOdds odds = OddsOfChoice(nLevel, hand, nTable, c);
                dTotal += static_cast<double>(odds.nCount) / odds.nOutOf;
                EXPECT_TRUE(c != nCard || odds.nCount > 0) << nLevel;
                EXPECT_TRUE(nLevel == 0 || score(c) <= score(nCard)) << nLevel;
            }
            EXPECT_DOUBLE_EQ(dTotal, 1.0) << nLevel;
        }
    }
}

TEST(OpponentTurn, OpensLaysOrPaysAndHoldsTheMove) {
    const std::string kLays = "PlaySoundRes OtherPlayers|WaitForPause|";
    // {table (empty: the hand is not opened yet), seat, hand, the calls between the
    // seat's two marker fills}
    const std::vector<std::tuple<std::vector<int>, int, std::vector<int>, std::string>> cases{
        // Before the opening a seat without the Seven of Hearts only waits: not
        // even the Seven of Clubs may open.
        {{}, 1, {24, 0, 51}, "WaitForPause|"},
        {{}, 0, {0, 26, 51}, "FlyCard 0 26|SetLastCard 0 26|SetCardsLeft 0 2|" + kLays},
        // Paying ends the turn at once: no sound and no pause.
        {{26}, 2, {0, 51}, "SetAmt 2 -5|SetPot 5|SetLastCard 2 sad|"},
        // The Seven of Spades leads up to the King of Spades, farther than the
        // Six of Clubs leads down to the Two of Clubs; from seed 1 Easy's draw
        // falls on it too.
        {{26, 24}, 1, {20, 4, 51, 27}, "FlyCard 1 27|SetLastCard 1 27|SetCardsLeft 1 3|" + kLays},
        // The last card ends the hand after the pause.
        {{26}, 0, {30}, "FlyCard 0 30|SetLastCard 0 30|SetCardsLeft 0 0|" + kLays},
    };
    for (int nLevel = 0; nLevel < 3; ++nLevel) {
        for (const auto& [OnTable, nSeat, Hand, sExpected] : cases) {
            MGlobal g;
            std::tie(g.nSkillLevel, g.lSeed) = std::tuple(nLevel, 1);
            testing::RecordingPort port(g);
            Opponents opponents;
            Game game(g, port, port, port, opponents);
            port.pGame = &game;
            std::string sCalls;
            port.onCall = [&sCalls](const std::string& sCall) { sCalls += sCall + "|"; };
            GameState& s = game.State();
            s.bSevenHeartsPlayed = !OnTable.empty();
            s.SetCardsPlayed(OnTable);
            s.SetHand(nSeat, Hand);
            s.nCardsLeft[nSeat] = static_cast<int>(Hand.size());
            opponents.PlayerTurn(game, nSeat);
            const std::string sFill = "SetPlayerFill " + std::to_string(nSeat);
            EXPECT_EQ(sCalls, sFill + " 65535|" + sExpected + sFill + " 16744703|") << nLevel;
        }
    }
}

} // namespace
} // namespace corvane
