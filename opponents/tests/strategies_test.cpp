// The three strategies: the cards they choose over random positions, checked
// against the rules written out card by card, and their draws among equals.
#include "engine/cards.hpp"
#include "opponents/strategies.hpp"
#include "opponents/testing/fake_clock.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::FakeClock;

// nRank counts from 1 for the Ace to 13 for the King, as on the cards; suits
// are 0 Clubs, 1 Diamonds, 2 Hearts, 3 Spades.
constexpr int Card(int nRank, int nSuit) {
    return 4 * (nRank - 1) + nSuit;
}

// A seat's hand and its legal cards, listed the way the seat's turn lists them.
struct Position {
    std::vector<int> Cards;
    std::vector<int> DownCards;
    std::vector<int> UpCards;

    // The table holds each suit's row from its rank Low[s] to High[s] (0: none).
    Position(std::vector<int> hand, std::array<int, 4> Low, std::array<int, 4> High)
        : Cards(std::move(hand)) {
        for (int s = 0; s < 4; ++s) {
            for (int r = Low[s]; r >= 1 && r <= High[s]; ++r) {
                nTable |= CardBit(Card(r, s));
            }
        }
        CollectCandidates(Cards, nTable, DownCards, UpCards);
    }
    int nDown() const { return static_cast<int>(DownCards.size()); }
    int nUp() const { return static_cast<int>(UpCards.size()); }
    std::uint64_t nTable = 0;
};

using Strategy = std::function<int(const std::vector<int>&, int, int, std::vector<int>&,
                                   std::vector<int>&, RandomSource)>;
const Strategy kEasy = GetBestEasyCard;
const Strategy kMedium = GetBestMediumCard;
const Strategy kHard = GetBestHardCard;

// Asks a strategy on a fresh copy of the position's lists, and checks that it
// empties them.
int Decide(const Strategy& strategy, const Position& position, std::int32_t& lSeed, Clock& clock) {
    std::vector<int> DownCards = position.DownCards;
    std::vector<int> UpCards = position.UpCards;
    const int nCard = strategy(position.Cards, position.nDown(), position.nUp(), DownCards, UpCards,
                               RandomSource{lSeed, clock});
    EXPECT_TRUE(DownCards.empty());
    EXPECT_TRUE(UpCards.empty());
    return nCard;
}

TEST(Strategies, DrawsAmongEqualEntriesInListOrderAndOnlyThen) {
    // Down [Six of Diamonds], Up [Nine of Spades, Eight of Hearts]: from seed 1
    // the draw over three entries is 1, the first Up entry.
    const Position three({Card(6, 1), Card(9, 3), Card(8, 2)}, {0, 7, 7, 7}, {0, 7, 7, 8});
    ASSERT_EQ(three.UpCards, (std::vector<int>{Card(9, 3), Card(8, 2)}));
    FakeClock clock;
    std::int32_t lSeed = 1;
    EXPECT_EQ(Decide(kEasy, three, lSeed, clock), Card(9, 3));
    EXPECT_EQ(lSeed, 48271);
    // Six of Diamonds and Nine of Spades lead nowhere: Medium draws (1, the Up
    // entry), Hard lays the Nine, farther from the Seven, without a draw.
    const Position none({Card(6, 1), Card(9, 3), Card(13, 0)}, {7, 7, 7, 7}, {7, 7, 7, 8});
    lSeed = 1;
    EXPECT_EQ(Decide(kMedium, none, lSeed, clock), Card(9, 3));
    EXPECT_EQ(lSeed, 48271);
    EXPECT_EQ(Decide(kHard, none, lSeed, clock), Card(9, 3));
    EXPECT_EQ(lSeed, 48271);
    // A single best card is laid without a draw: a state of 0 would read the clock.
    const Position best({Card(5, 0), Card(2, 0), Card(9, 2)}, {6, 0, 7, 0}, {7, 0, 8, 0});
    const Position single({Card(6, 1), Card(13, 0)}, {0, 7, 7, 0}, {0, 7, 7, 0});
    for (const Strategy& strategy : {kMedium, kHard}) {
        lSeed = 0;
        EXPECT_EQ(Decide(strategy, best, lSeed, clock), Card(5, 0));
        EXPECT_EQ(Decide(strategy, single, lSeed, clock), Card(6, 1));
        EXPECT_EQ(lSeed, 0);
    }
    EXPECT_EQ(clock.nReads, 0);
}

TEST(Strategies, NoListedCardLeavesNoCardAndEmptyLists) {
    // Never asked in play; the answer is "no card" rather than a read out of range.
    for (const Strategy& strategy : {kEasy, kMedium, kHard}) {
        FakeClock clock;
        std::int32_t lSeed = 1;
        std::vector<int> DownCards;
        std::vector<int> UpCards;
        EXPECT_EQ(strategy({Card(13, 0)}, 0, 0, DownCards, UpCards, RandomSource{lSeed, clock}),
                  -1);
    }
}

// A card's score, by walking its suit card by card as the rule reads: the
// distance to the farthest card of the hand in the direction its row grows.
int WalkScore(const std::vector<int>& Cards, int nCard, bool bDown) {
    const auto held = [&](int c) {
        return std::find(Cards.begin(), Cards.end(), c) != Cards.end();
    };
    for (int c = bDown ? nCard % 4 : 48 + nCard % 4; bDown ? c <= nCard : c >= nCard;
         c += bDown ? 4 : -4) {
        if (held(c)) {
            return bDown ? nCard - c : c - nCard;
        }
    }
    return -1;
}

TEST(Strategies, EveryChoiceIsALegalCardAndTheBestByItsLevel) {
    std::mt19937 gen(7);
    FakeClock clock;
    std::int32_t lSeed = 1;
    for (int nChecked = 0; nChecked < 3000;) {
        // Every row a run through its Seven (the Hearts row always there), and a
        // hand of cards from off the table.
        std::array<int, 4> Low{};
        std::array<int, 4> High{};
        for (int s = 0; s < 4; ++s) {
            if (s == 2 || std::bernoulli_distribution(0.6)(gen)) {
                Low[s] = std::uniform_int_distribution<int>(1, 7)(gen);
                High[s] = std::uniform_int_distribution<int>(7, 13)(gen);
            }
        }
        std::vector<int> rest;
        for (int c = 0; c < kCardsInDeck; ++c) {
            const int r = Rank(c) + 1;
            if (r < Low[Suit(c)] || r > High[Suit(c)]) {
                rest.push_back(c);
            }
        }
        std::shuffle(rest.begin(), rest.end(), gen);
        if (rest.empty()) {
            continue;
        }
        rest.resize(std::uniform_int_distribution<std::size_t>(
            1, std::min<std::size_t>(13, rest.size()))(gen));
        const Position position(rest, Low, High);

        // The lists hold exactly the legal cards: one beyond a row's end, or a Seven
        // (in both lists).
        std::vector<int> cards;
        std::vector<int> gaps;
        for (int c : position.Cards) {
            const int r = Rank(c) + 1;
            const int s = Suit(c);
            const bool bDown = IsSeven(c) || (Low[s] > 0 && r == Low[s] - 1);
            const bool bUp = IsSeven(c) || (Low[s] > 0 && r == High[s] + 1);
            const auto nDownListed =
                std::count(position.DownCards.begin(), position.DownCards.end(), c);
            const auto nUpListed = std::count(position.UpCards.begin(), position.UpCards.end(), c);
            ASSERT_EQ(nDownListed, bDown ? 1 : 0) << c;
            ASSERT_EQ(nUpListed, bUp ? 1 : 0) << c;
            if (bDown || bUp) {
                cards.push_back(c);
                gaps.push_back(std::max(bDown ? WalkScore(position.Cards, c, true) : -1,
                                        bUp ? WalkScore(position.Cards, c, false) : -1));
            }
        }
        const auto nSevens = std::count_if(cards.begin(), cards.end(), IsSeven);
        ASSERT_EQ(cards.size() + static_cast<std::size_t>(nSevens),
                  position.DownCards.size() + position.UpCards.size());
        if (cards.empty()) {
            continue;
        }
        ++nChecked;
        const int nMaxGap = *std::max_element(gaps.begin(), gaps.end());
        int nMaxDistance = 0;
        for (int c : cards) {
            nMaxDistance = std::max(nMaxDistance, std::abs(Rank(c) - 6));
        }
        const auto gapOf = [&](int c) {
            const auto it = std::find(cards.begin(), cards.end(), c);
            return it == cards.end() ? -2 : gaps[static_cast<std::size_t>(it - cards.begin())];
        };

        const int nEasy = Decide(kEasy, position, lSeed, clock);
        EXPECT_NE(gapOf(nEasy), -2);
        const int nMedium = Decide(kMedium, position, lSeed, clock);
        EXPECT_EQ(gapOf(nMedium), nMaxGap);
        const int nHard = Decide(kHard, position, lSeed, clock);
        // The odds the coach reads cover each level's draws exactly, and the card
        // drawn is one of them.
        const std::array<int, 3> Drawn{nEasy, nMedium, nHard};
        for (int nLevel = 0; nLevel < 3; ++nLevel) {
            double dTotal = 0.0;
            for (const int c : cards) {
                const ChoiceOdds odds = OddsOfChoice(nLevel, position.Cards, position.nTable, c);
                dTotal += static_cast<double>(odds.nCount) / odds.nOutOf;
            }
            EXPECT_DOUBLE_EQ(dTotal, 1.0) << "level " << nLevel;
            EXPECT_GT(OddsOfChoice(nLevel, position.Cards, position.nTable, Drawn[nLevel]).nCount,
                      0);
        }
        if (position.nDown() + position.nUp() == 1 || nMaxGap > 0) {
            EXPECT_EQ(gapOf(nHard), nMaxGap);
        } else {
            EXPECT_EQ(std::abs(Rank(nHard) - 6), nMaxDistance);
            EXPECT_NE(gapOf(nHard), -2);
        }
    }
    EXPECT_EQ(clock.nReads, 0);
}

} // namespace
} // namespace corvane
