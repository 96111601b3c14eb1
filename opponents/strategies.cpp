// The three card-choice strategies. They run for every opponent move of every
// simulated hand, so they work on small arrays on the stack and read the hand
// as one bit mask instead of searching it card by card.
#include "opponents/strategies.hpp"

#include "engine/cards.hpp"
#include "opponents/random_int.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

namespace corvane {
namespace {

// Each list holds distinct cards of one hand; anything past this many entries
// cannot come from a real position and is left out.
constexpr std::size_t kMaxEntries = std::size_t{2} * kCardsInDeck;

bool IsCard(int nCard) {
    return nCard >= 0 && nCard < kCardsInDeck;
}

// One scored candidate per entry of the two lists, in list order.
struct Scores { // NOLINT(cppcoreguidelines-pro-type-member-init)
    // Only the first nEntries are ever read, so the arrays are left uninitialised.
    std::array<int, kMaxEntries> Gaps;
    std::array<int, kMaxEntries> Choices;
    std::size_t nEntries = 0;
    int nMaxGap = 0;

    void Append(int nGap, int nCard) {
        if (nEntries == kMaxEntries) {
            return;
        }
        Gaps[nEntries] = nGap;
        Choices[nEntries] = nCard;
        ++nEntries;
        if (nGap > nMaxGap) {
            nMaxGap = nGap;
        }
    }
};

// A candidate scores the distance to the farthest card of its suit in the hand
// in the direction its row grows, four per rank; the cards in between do not
// matter. A candidate that finds no card of the hand up to itself gets no entry.
Scores ScoreEntries(std::uint64_t nHand, std::span<const int> DownCards,
                    std::span<const int> UpCards) {
    Scores scores;
    for (int d : DownCards) {
        if (!IsCard(d)) {
            continue;
        }
        const std::uint64_t nHeld = nHand & (kClubsMask << Suit(d)) & ((CardBit(d) << 1U) - 1U);
        if (nHeld != 0) {
            scores.Append(d - std::countr_zero(nHeld), d);
        }
    }
    for (int u : UpCards) {
        if (!IsCard(u)) {
            continue;
        }
        const std::uint64_t nHeld = nHand & (kClubsMask << Suit(u)) & ~(CardBit(u) - 1U);
        if (nHeld != 0) {
            scores.Append(63 - std::countl_zero(nHeld) - u, u);
        }
    }
    return scores;
}

// The card of an entry with the greatest score; ties are drawn at random in
// entry order, and a single best entry is taken without a draw.
int PickAmongBest(const Scores& scores, RandomSource rnd) {
    // Only the first nBest are read.
    std::array<int, kMaxEntries> Best; // NOLINT(cppcoreguidelines-pro-type-member-init)
    std::size_t nBest = 0;
    for (std::size_t i = 0; i < scores.nEntries; ++i) {
        if (scores.Gaps[i] == scores.nMaxGap) {
            Best[nBest++] = scores.Choices[i];
        }
    }
    if (nBest == 1) {
        return Best[0];
    }
    const auto nLast = static_cast<std::int32_t>(nBest) - 1;
    return Best[static_cast<std::size_t>(RandomInt(rnd.lSeed, 0, nLast, rnd.clock))];
}

// Ace and King 6, Two and Queen 5, ... Six and Eight 1, Seven 0.
int DistanceFromSeven(int nCard) {
    const int nSteps = Rank(nCard) - 6;
    return nSteps < 0 ? -nSteps : nSteps;
}

// Neither list is ever empty on both sides in play; should it happen (or should
// no entry be a card of the hand), there is no card to lay.
constexpr int kNoCard = -1;

// A list is read only while its count says it has entries.
template <typename List>
std::span<const int> Entries(const List& Cards, int nCount) {
    return nCount > 0 ? std::span<const int>(Cards.begin(), Cards.end()) : std::span<const int>();
}

int PickEasy(std::span<const int> DownCards, std::span<const int> UpCards, RandomSource rnd) {
    // One list of Down entries followed by Up entries, indexed without copying.
    const std::size_t nFromDown = DownCards.size();
    const std::size_t n = nFromDown + UpCards.size();
    if (n == 0) {
        return kNoCard;
    }
    const auto k = static_cast<std::size_t>(
        RandomInt(rnd.lSeed, 0, static_cast<std::int32_t>(n) - 1, rnd.clock));
    // The list is looked up, not branched to: which one the draw falls in is as
    // good as a coin toss.
    const std::array<std::span<const int>, 2> lists{DownCards, UpCards};
    const std::size_t nList = k >= nFromDown ? 1U : 0U;
    return lists[nList][k - nList * nFromDown];
}

int PickMedium(std::uint64_t nHand, std::span<const int> DownCards, std::span<const int> UpCards,
               RandomSource rnd) {
    const Scores scores = ScoreEntries(nHand, DownCards, UpCards);
    return scores.nEntries == 0 ? kNoCard : PickAmongBest(scores, rnd);
}

int PickHard(std::uint64_t nHand, std::span<const int> DownCards, std::span<const int> UpCards,
             RandomSource rnd) {
    Scores scores = ScoreEntries(nHand, DownCards, UpCards);
    if (scores.nEntries == 0) {
        return kNoCard;
    }
    if (scores.nEntries == 1) {
        return scores.Choices[0];
    }
    if (scores.nMaxGap == 0) {
        // No card leads anywhere: get rid of the cards farthest from the Seven.
        for (std::size_t i = 0; i < scores.nEntries; ++i) {
            scores.Gaps[i] = DistanceFromSeven(scores.Choices[i]);
            if (scores.Gaps[i] > scores.nMaxGap) {
                scores.nMaxGap = scores.Gaps[i];
            }
        }
    }
    return PickAmongBest(scores, rnd);
}

// The strategies leave both lists empty, whatever they chose.
template <typename List>
int Finish(int nCard, List& DownCards, List& UpCards) {
    DownCards.clear();
    UpCards.clear();
    return nCard;
}

} // namespace

int GetBestEasyCardFromMask(std::uint64_t /*nHand*/, int nDown, int nUp, CardList& DownCards,
                            CardList& UpCards, RandomSource rnd) {
    return Finish(PickEasy(Entries(DownCards, nDown), Entries(UpCards, nUp), rnd), DownCards,
                  UpCards);
}

int GetBestMediumCardFromMask(std::uint64_t nHand, int nDown, int nUp, CardList& DownCards,
                              CardList& UpCards, RandomSource rnd) {
    return Finish(PickMedium(nHand, Entries(DownCards, nDown), Entries(UpCards, nUp), rnd),
                  DownCards, UpCards);
}

int GetBestHardCardFromMask(std::uint64_t nHand, int nDown, int nUp, CardList& DownCards,
                            CardList& UpCards, RandomSource rnd) {
    return Finish(PickHard(nHand, Entries(DownCards, nDown), Entries(UpCards, nUp), rnd), DownCards,
                  UpCards);
}

int GetBestEasyCard(const std::vector<int>& /*Cards*/, int nDown, int nUp,
                    std::vector<int>& DownCards, std::vector<int>& UpCards, RandomSource rnd) {
    return Finish(PickEasy(Entries(DownCards, nDown), Entries(UpCards, nUp), rnd), DownCards,
                  UpCards);
}

int GetBestMediumCard(const std::vector<int>& Cards, int nDown, int nUp,
                      std::vector<int>& DownCards, std::vector<int>& UpCards, RandomSource rnd) {
    return Finish(
        PickMedium(CardMask(Cards), Entries(DownCards, nDown), Entries(UpCards, nUp), rnd),
        DownCards, UpCards);
}

int GetBestHardCard(const std::vector<int>& Cards, int nDown, int nUp, std::vector<int>& DownCards,
                    std::vector<int>& UpCards, RandomSource rnd) {
    return Finish(PickHard(CardMask(Cards), Entries(DownCards, nDown), Entries(UpCards, nUp), rnd),
                  DownCards, UpCards);
}

ChoiceOdds OddsOfChoice(int nLevel, const std::vector<int>& Cards, std::uint64_t nTableMask,
                        int nCard) {
    // The same lists and scores the strategies draw from, counted instead of drawn.
    const std::uint64_t nHand = CardMask(Cards);
    CardList DownCards;
    CardList UpCards;
    CollectCandidatesFromMask(nHand, nTableMask, DownCards, UpCards);
    const int nDown = static_cast<int>(DownCards.size());
    const int nUp = static_cast<int>(UpCards.size());
    ChoiceOdds odds;
    if (nLevel == 0) {
        odds.nCount = static_cast<int>(std::count(DownCards.begin(), DownCards.end(), nCard) +
                                       std::count(UpCards.begin(), UpCards.end(), nCard));
        odds.nOutOf = std::max(nDown + nUp, 1);
        return odds;
    }
    Scores scores = ScoreEntries(nHand, Entries(DownCards, nDown), Entries(UpCards, nUp));
    if (nLevel == 2 && scores.nEntries > 1 && scores.nMaxGap == 0) {
        for (std::size_t i = 0; i < scores.nEntries; ++i) {
            scores.Gaps[i] = DistanceFromSeven(scores.Choices[i]);
            scores.nMaxGap = std::max(scores.nMaxGap, scores.Gaps[i]);
        }
    }
    int nBest = 0;
    for (std::size_t i = 0; i < scores.nEntries; ++i) {
        if (scores.Gaps[i] == scores.nMaxGap) {
            ++nBest;
            odds.nCount += scores.Choices[i] == nCard ? 1 : 0;
        }
    }
    odds.nOutOf = std::max(nBest, 1);
    return odds;
}

void CollectCandidatesFromMask(std::uint64_t nHand, std::uint64_t nTableMask, CardList& DownCards,
                               CardList& UpCards) {
    const RowEnds ends = RowEndCards(nTableMask, nHand);
    // A Seven opens a row either way, so it stands in both lists.
    const std::uint64_t nSevens = nHand & kSevensMask;
    DownCards.AppendBySuit(ends.nDown, false);
    DownCards.AppendBySuit(nSevens, false);
    UpCards.AppendBySuit(ends.nUp, true);
    UpCards.AppendBySuit(nSevens, false);
}

void CollectCandidates(const std::vector<int>& Cards, std::uint64_t nTableMask,
                       std::vector<int>& DownCards, std::vector<int>& UpCards) {
    CardList Down;
    CardList Up;
    CollectCandidatesFromMask(CardMask(Cards), nTableMask, Down, Up);
    DownCards.insert(DownCards.end(), Down.begin(), Down.end());
    UpCards.insert(UpCards.end(), Up.begin(), Up.end());
}

} // namespace corvane
