// The three strategies: the cards they choose in the positions that tell them
// apart, how evenly they choose among equals, and what they leave behind.
#include "engine/cards.hpp"
#include "opponents/random_int.hpp"
#include "opponents/strategies.hpp"
#include "opponents/tests/fake_clock.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::FakeClock;

constexpr int kClubs = 0;
constexpr int kDiamonds = 1;
constexpr int kHearts = 2;
constexpr int kSpades = 3;

// nRank counts from 1 for the Ace to 13 for the King, as on the cards.
constexpr int Card(int nRank, int nSuit) {
    return 4 * (nRank - 1) + nSuit;
}

// The cards of one suit's row on the table, from rank nLow to rank nHigh.
std::vector<int> Row(int nSuit, int nLow, int nHigh) {
    std::vector<int> cards;
    for (int r = nLow; r <= nHigh; ++r) {
        cards.push_back(Card(r, nSuit));
    }
    return cards;
}

std::vector<int> Table(std::initializer_list<std::vector<int>> rows) {
    std::vector<int> table;
    for (const auto& row : rows) {
        table.insert(table.end(), row.begin(), row.end());
    }
    return table;
}

// A seat's hand and its legal cards, listed the way the seat's turn lists them.
struct Position {
    std::vector<int> Cards;
    std::vector<int> DownCards;
    std::vector<int> UpCards;
    std::uint64_t nTableMask = 0;

    Position(std::vector<int> hand, const std::vector<int>& table)
        : Cards(std::move(hand)), nTableMask(CardMask(table)) {
        CollectCandidates(Cards, nTableMask, DownCards, UpCards);
    }
    int nDown() const { return static_cast<int>(DownCards.size()); }
    int nUp() const { return static_cast<int>(UpCards.size()); }
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

// How often each card is laid over kDecisions decisions from one running seed.
constexpr int kDecisions = 10000;
std::map<int, int> Tally(const Strategy& strategy, const Position& position) {
    FakeClock clock;
    std::int32_t lSeed = 20261206;
    std::map<int, int> counts;
    for (int i = 0; i < kDecisions; ++i) {
        ++counts[Decide(strategy, position, lSeed, clock)];
    }
    return counts;
}

// Hand {Five of Clubs, Two of Clubs, Nine of Hearts}; Clubs Six to Seven and
// Hearts Seven to Eight on the table.
Position FiveOfClubsPosition() {
    return Position({Card(5, kClubs), Card(2, kClubs), Card(9, kHearts)},
                    Table({Row(kClubs, 6, 7), Row(kHearts, 7, 8)}));
}

// Hand {Six of Diamonds, Nine of Spades, King of Clubs}; Diamonds Seven, Spades
// Seven to Eight, Clubs Seven and Hearts Seven on the table. No card leads anywhere.
Position SixOfDiamondsPosition() {
    return Position(
        {Card(6, kDiamonds), Card(9, kSpades), Card(13, kClubs)},
        Table({Row(kDiamonds, 7, 7), Row(kSpades, 7, 8), Row(kClubs, 7, 7), Row(kHearts, 7, 7)}));
}

TEST(StrategyLists, PositionsAreListedAsTheTurnListsThem) {
    const Position five = FiveOfClubsPosition();
    EXPECT_EQ(five.DownCards, std::vector<int>{Card(5, kClubs)});
    EXPECT_EQ(five.UpCards, std::vector<int>{Card(9, kHearts)});
    const Position six = SixOfDiamondsPosition();
    EXPECT_EQ(six.DownCards, std::vector<int>{Card(6, kDiamonds)});
    EXPECT_EQ(six.UpCards, std::vector<int>{Card(9, kSpades)});
}

TEST(EasyStrategy, DrawsOverDownEntriesThenUpEntries) {
    // Down [Six of Diamonds], Up [Nine of Spades, Eight of Hearts]: from seed 1
    // the draw over three entries is 1, the first Up entry.
    const Position position({Card(6, kDiamonds), Card(9, kSpades), Card(8, kHearts)},
                            Table({Row(kDiamonds, 7, 7), Row(kSpades, 7, 8), Row(kHearts, 7, 7)}));
    ASSERT_EQ(position.UpCards, (std::vector<int>{Card(9, kSpades), Card(8, kHearts)}));
    FakeClock clock;
    std::int32_t lSeed = 1;
    EXPECT_EQ(Decide(kEasy, position, lSeed, clock), Card(9, kSpades));
    EXPECT_EQ(lSeed, 48271);
}

TEST(EasyStrategy, DrawsEvenForASingleEntry) {
    const Position position({Card(6, kDiamonds), Card(13, kClubs)},
                            Table({Row(kDiamonds, 7, 7), Row(kHearts, 7, 7)}));
    FakeClock clock;
    std::int32_t lSeed = 1;
    EXPECT_EQ(Decide(kEasy, position, lSeed, clock), Card(6, kDiamonds));
    EXPECT_EQ(lSeed, 48271);
}

TEST(EasyStrategy, ASevenIsTwiceAsLikelyAsAnotherCard) {
    // Down [Six of Diamonds, Seven of Spades], Up [Seven of Spades].
    const Position position({Card(6, kDiamonds), Card(7, kSpades), Card(13, kClubs)},
                            Table({Row(kDiamonds, 7, 7), Row(kHearts, 7, 7)}));
    ASSERT_EQ(position.DownCards.size() + position.UpCards.size(), 3U);
    auto counts = Tally(kEasy, position);
    EXPECT_EQ(counts.size(), 2U);
    EXPECT_NEAR(counts[Card(7, kSpades)], kDecisions * 2 / 3, 300);
    EXPECT_NEAR(counts[Card(6, kDiamonds)], kDecisions / 3, 300);
}

TEST(MediumAndHardStrategies, LayTheCardOpeningTheLongestStretchWithoutADraw) {
    const Position position = FiveOfClubsPosition();
    for (const Strategy& strategy : {kMedium, kHard}) {
        // A state of 0 would make a draw read the clock and seed itself.
        FakeClock clock;
        std::int32_t lSeed = 0;
        EXPECT_EQ(Decide(strategy, position, lSeed, clock), Card(5, kClubs));
        EXPECT_EQ(lSeed, 0);
        EXPECT_EQ(clock.nReads, 0);
    }
}

TEST(MediumAndHardStrategies, ScoreOnlyTheFarthestCardOfTheSuit) {
    // Five of Clubs reaches the Ace (16) though Two to Four are missing; the Nine
    // of Hearts reaches the Jack (8) with the Ten missing too.
    const Position downward({Card(5, kClubs), Card(1, kClubs), Card(9, kHearts), Card(11, kHearts)},
                            Table({Row(kClubs, 6, 7), Row(kHearts, 7, 8)}));
    // Upwards the walk starts at the King: Nine to King of Hearts is 16, Five of
    // Clubs down to the Two is 12.
    const Position upward({Card(5, kClubs), Card(2, kClubs), Card(9, kHearts), Card(13, kHearts)},
                          Table({Row(kClubs, 6, 7), Row(kHearts, 7, 8)}));
    for (const Strategy& strategy : {kMedium, kHard}) {
        FakeClock clock;
        std::int32_t lSeed = 1;
        EXPECT_EQ(Decide(strategy, downward, lSeed, clock), Card(5, kClubs));
        EXPECT_EQ(Decide(strategy, upward, lSeed, clock), Card(9, kHearts));
        EXPECT_EQ(lSeed, 1);
    }
}

TEST(MediumAndHardStrategies, ScoreASevenInEachDirection) {
    // Seven of Spades: down to the Ace 24, up to the Ten 12; Five of Clubs 12.
    const Position down(
        {Card(7, kSpades), Card(1, kSpades), Card(10, kSpades), Card(5, kClubs), Card(2, kClubs)},
        Table({Row(kClubs, 6, 7), Row(kHearts, 7, 7)}));
    // Seven of Spades: down to the Five 8, up to the King 24; Five of Clubs 12.
    const Position up(
        {Card(7, kSpades), Card(5, kSpades), Card(13, kSpades), Card(5, kClubs), Card(2, kClubs)},
        Table({Row(kClubs, 6, 7), Row(kHearts, 7, 7)}));
    for (const Strategy& strategy : {kMedium, kHard}) {
        FakeClock clock;
        std::int32_t lSeed = 1;
        EXPECT_EQ(Decide(strategy, down, lSeed, clock), Card(7, kSpades));
        EXPECT_EQ(Decide(strategy, up, lSeed, clock), Card(7, kSpades));
        EXPECT_EQ(lSeed, 1);
    }
}

TEST(MediumStrategy, DrawsAmongEqualCardsInEntryOrder) {
    // Two entries scoring 0: from seed 1 the draw is 1, the Up entry.
    FakeClock clock;
    std::int32_t lSeed = 1;
    EXPECT_EQ(Decide(kMedium, SixOfDiamondsPosition(), lSeed, clock), Card(9, kSpades));
    EXPECT_EQ(lSeed, 48271);
}

TEST(MediumStrategy, DrawsOnlyAmongTheBestWhenTheyTie) {
    // Five of Clubs (to the Two) and Nine of Hearts (to the King) both score 12 and
    // tie; the Six of Diamonds scores 0 and is never laid.
    const Position position({Card(5, kClubs), Card(2, kClubs), Card(10, kHearts), Card(13, kHearts),
                             Card(6, kDiamonds)},
                            Table({Row(kClubs, 6, 7), Row(kHearts, 7, 9), Row(kDiamonds, 7, 7)}));
    for (const Strategy& strategy : {kMedium, kHard}) {
        auto counts = Tally(strategy, position);
        EXPECT_EQ(counts.count(Card(6, kDiamonds)), 0U);
        EXPECT_NEAR(counts[Card(5, kClubs)], kDecisions / 2, 300);
        EXPECT_NEAR(counts[Card(10, kHearts)], kDecisions / 2, 300);
    }
}

TEST(MediumStrategy, LaysAnyCardWhenNoneLeadsAnywhere) {
    auto counts = Tally(kMedium, SixOfDiamondsPosition());
    EXPECT_EQ(counts.size(), 2U);
    EXPECT_NEAR(counts[Card(6, kDiamonds)], kDecisions / 2, 300);
    EXPECT_NEAR(counts[Card(9, kSpades)], kDecisions / 2, 300);

    // A Seven has two entries and is then twice as likely.
    const Position seven({Card(6, kDiamonds), Card(7, kSpades), Card(13, kClubs)},
                         Table({Row(kDiamonds, 7, 7), Row(kHearts, 7, 7)}));
    counts = Tally(kMedium, seven);
    EXPECT_NEAR(counts[Card(7, kSpades)], kDecisions * 2 / 3, 300);
}

TEST(HardStrategy, LaysTheCardFarthestFromTheSevenWhenNoneLeadsAnywhere) {
    auto counts = Tally(kHard, SixOfDiamondsPosition());
    EXPECT_EQ(counts, (std::map<int, int>{{Card(9, kSpades), kDecisions}}));

    // Diamonds down to the Three: the Two of Diamonds (5) beats the Nine of Spades (2).
    const Position two(
        {Card(2, kDiamonds), Card(9, kSpades), Card(13, kClubs)},
        Table({Row(kDiamonds, 3, 7), Row(kSpades, 7, 8), Row(kClubs, 7, 7), Row(kHearts, 7, 7)}));
    counts = Tally(kHard, two);
    EXPECT_EQ(counts, (std::map<int, int>{{Card(2, kDiamonds), kDecisions}}));
}

TEST(HardStrategy, EqualDistancesFromTheSevenAreEquallyLikely) {
    // Only the Ace of Clubs and the King of Hearts are legal; neither leads anywhere.
    const Position position({Card(1, kClubs), Card(13, kHearts), Card(3, kSpades)},
                            Table({Row(kClubs, 2, 7), Row(kHearts, 7, 12)}));
    ASSERT_EQ(position.DownCards, std::vector<int>{Card(1, kClubs)});
    ASSERT_EQ(position.UpCards, std::vector<int>{Card(13, kHearts)});
    auto counts = Tally(kHard, position);
    EXPECT_EQ(counts.size(), 2U);
    EXPECT_NEAR(counts[Card(1, kClubs)], kDecisions / 2, 300);
    EXPECT_NEAR(counts[Card(13, kHearts)], kDecisions / 2, 300);
}

TEST(HardStrategy, PrefersALeadToAnotherCardOverDistanceFromTheSeven) {
    // Nine of Hearts leads to the Jack (8); the Ace of Clubs leads nowhere.
    const Position position({Card(1, kClubs), Card(9, kHearts), Card(11, kHearts)},
                            Table({Row(kClubs, 2, 7), Row(kHearts, 7, 8)}));
    FakeClock clock;
    std::int32_t lSeed = 1;
    EXPECT_EQ(Decide(kHard, position, lSeed, clock), Card(9, kHearts));
    EXPECT_EQ(lSeed, 1);
}

TEST(HardStrategy, ALoneSevenIsLaidAfterADrawBetweenItsTwoEntries) {
    const Position position({Card(7, kSpades), Card(13, kClubs), Card(2, kDiamonds)},
                            Table({Row(kHearts, 7, 7)}));
    ASSERT_EQ(position.DownCards, std::vector<int>{Card(7, kSpades)});
    ASSERT_EQ(position.UpCards, std::vector<int>{Card(7, kSpades)});
    FakeClock clock;
    std::int32_t lSeed = 1;
    EXPECT_EQ(Decide(kHard, position, lSeed, clock), Card(7, kSpades));
    EXPECT_EQ(lSeed, 48271);
}

TEST(MediumAndHardStrategies, ASingleLegalCardIsLaidWithoutADraw) {
    const Position position({Card(6, kDiamonds), Card(13, kClubs)},
                            Table({Row(kDiamonds, 7, 7), Row(kHearts, 7, 7)}));
    for (const Strategy& strategy : {kMedium, kHard}) {
        FakeClock clock;
        std::int32_t lSeed = 0;
        EXPECT_EQ(Decide(strategy, position, lSeed, clock), Card(6, kDiamonds));
        EXPECT_EQ(lSeed, 0);
        EXPECT_EQ(clock.nReads, 0);
    }
}

// The score of one entry, by walking the suit card by card as the rule reads.
int WalkScore(const std::vector<int>& Cards, int nCard, bool bDown) {
    const auto held = [&](int c) {
        return std::find(Cards.begin(), Cards.end(), c) != Cards.end();
    };
    if (bDown) {
        for (int c = nCard % 4; c <= nCard; c += 4) {
            if (held(c)) {
                return nCard - c;
            }
        }
    } else {
        for (int c = 48 + nCard % 4; c >= nCard; c -= 4) {
            if (held(c)) {
                return c - nCard;
            }
        }
    }
    ADD_FAILURE() << "card " << nCard << " is not in the hand";
    return -1;
}

// A random position reachable in play: every row a run through its Seven (the
// Hearts row always there), and a hand of cards from off the table.
Position RandomPosition(std::mt19937& gen) {
    std::vector<int> table;
    std::uniform_int_distribution<int> low(1, 7);
    std::uniform_int_distribution<int> high(7, 13);
    std::bernoulli_distribution opened(0.6);
    for (int s = 0; s < 4; ++s) {
        if (s == kHearts || opened(gen)) {
            const auto row = Row(s, low(gen), high(gen));
            table.insert(table.end(), row.begin(), row.end());
        }
    }
    std::vector<int> rest;
    for (int c = 0; c < kCardsInDeck; ++c) {
        if (std::find(table.begin(), table.end(), c) == table.end()) {
            rest.push_back(c);
        }
    }
    std::shuffle(rest.begin(), rest.end(), gen);
    const auto nMax = static_cast<int>(std::min<std::size_t>(13, rest.size()));
    const int nHand = std::uniform_int_distribution<int>(1, nMax)(gen);
    rest.resize(static_cast<std::size_t>(nHand));
    return Position(rest, table);
}

TEST(StrategyProperties, EveryChoiceIsALegalCardAndTheBestByItsLevel) {
    std::mt19937 gen(7);
    FakeClock clock;
    std::int32_t lSeed = 1;
    int nChecked = 0;
    while (nChecked < 3000) {
        const Position position = RandomPosition(gen);
        if (position.DownCards.empty() && position.UpCards.empty()) {
            continue;
        }
        ++nChecked;
        // Every entry's score, and its distance from the Seven, in entry order.
        std::vector<int> cards;
        std::vector<int> gaps;
        for (int d : position.DownCards) {
            cards.push_back(d);
            gaps.push_back(WalkScore(position.Cards, d, true));
        }
        for (int u : position.UpCards) {
            cards.push_back(u);
            gaps.push_back(WalkScore(position.Cards, u, false));
        }
        const int nMaxGap = *std::max_element(gaps.begin(), gaps.end());
        int nMaxDistance = 0;
        for (int c : cards) {
            nMaxDistance = std::max(nMaxDistance, std::abs(Rank(c) - 6));
        }
        const auto isListed = [&](int c) {
            return std::find(cards.begin(), cards.end(), c) != cards.end();
        };
        const auto gapOf = [&](int c) {
            int nGap = -1;
            for (std::size_t i = 0; i < cards.size(); ++i) {
                if (cards[i] == c) {
                    nGap = std::max(nGap, gaps[i]);
                }
            }
            return nGap;
        };

        const int nEasy = Decide(kEasy, position, lSeed, clock);
        EXPECT_TRUE(isListed(nEasy)) << nEasy;

        const int nMedium = Decide(kMedium, position, lSeed, clock);
        ASSERT_TRUE(isListed(nMedium)) << nMedium;
        EXPECT_EQ(gapOf(nMedium), nMaxGap);

        const int nHard = Decide(kHard, position, lSeed, clock);
        ASSERT_TRUE(isListed(nHard)) << nHard;
        if (cards.size() == 1 || nMaxGap > 0) {
            EXPECT_EQ(gapOf(nHard), nMaxGap);
        } else {
            EXPECT_EQ(std::abs(Rank(nHard) - 6), nMaxDistance);
        }
    }
    EXPECT_EQ(clock.nReads, 0);
}

TEST(StrategyProperties, TheOddsOfAChoiceCoverExactlyTheCardsALevelDraws) {
    std::mt19937 gen(11);
    FakeClock clock;
    std::int32_t lSeed = 1;
    const std::array<Strategy, 3> strategies{kEasy, kMedium, kHard};
    for (int nChecked = 0; nChecked < 1000;) {
        const Position position = RandomPosition(gen);
        std::vector<int> listed = position.DownCards;
        listed.insert(listed.end(), position.UpCards.begin(), position.UpCards.end());
        std::sort(listed.begin(), listed.end());
        listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
        if (listed.empty()) {
            continue;
        }
        ++nChecked;
        for (int nLevel = 0; nLevel < 3; ++nLevel) {
            double dTotal = 0.0;
            for (const int c : listed) {
                const ChoiceOdds odds =
                    OddsOfChoice(nLevel, position.Cards, position.nTableMask, c);
                dTotal += static_cast<double>(odds.nCount) / odds.nOutOf;
            }
            EXPECT_DOUBLE_EQ(dTotal, 1.0) << "level " << nLevel;
            const int nDrawn = Decide(strategies[nLevel], position, lSeed, clock);
            EXPECT_GT(OddsOfChoice(nLevel, position.Cards, position.nTableMask, nDrawn).nCount, 0)
                << "level " << nLevel;
        }
    }
}

TEST(StrategyProperties, NoListedCardLeavesNoCardAndEmptyLists) {
    // Never asked in play; the answer is "no card" rather than a read out of range.
    const std::vector<int> Cards{Card(13, kClubs)};
    std::vector<int> none;
    for (const Strategy& strategy : {kEasy, kMedium, kHard}) {
        FakeClock clock;
        std::int32_t lSeed = 1;
        std::vector<int> DownCards;
        std::vector<int> UpCards;
        EXPECT_EQ(strategy(Cards, 0, 0, DownCards, UpCards, RandomSource{lSeed, clock}), -1);
        EXPECT_TRUE(DownCards.empty());
        EXPECT_TRUE(UpCards.empty());
    }
}

} // namespace
} // namespace corvane
