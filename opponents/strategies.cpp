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
Scores ScoreEntries(std::uint64_t nHand, int nDown, int nUp, const std::vector<int>& DownCards,
                    const std::vector<int>& UpCards) {
    Scores scores;
    if (nDown > 0) {
        for (int d : DownCards) {
            if (!IsCard(d)) {
                continue;
            }
            const std::uint64_t nHeld = nHand & (kClubsMask << Suit(d)) & ((CardBit(d) << 1U) - 1U);
            if (nHeld != 0) {
                scores.Append(d - std::countr_zero(nHeld), d);
            }
        }
    }
    if (nUp > 0) {
        for (int u : UpCards) {
            if (!IsCard(u)) {
                continue;
            }
            const std::uint64_t nHeld = nHand & (kClubsMask << Suit(u)) & ~(CardBit(u) - 1U);
            if (nHeld != 0) {
                scores.Append(63 - std::countl_zero(nHeld) - u, u);
            }
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

int Finish(int nCard, std::vector<int>& DownCards, std::vector<int>& UpCards) {
    DownCards.clear();
    UpCards.clear();
    return nCard;
}

} // namespace

int GetBestEasyCardFromMask(std::uint64_t /*nHand*/, int nDown, int nUp,
                            std::vector<int>& DownCards, std::vector<int>& UpCards,
                            RandomSource rnd) {
    // One list of Down entries followed by Up entries, indexed without copying.
    const std::size_t nFromDown = nDown >= 1 ? DownCards.size() : 0;
    const std::size_t nFromUp = nUp > 0 ? UpCards.size() : 0;
    const std::size_t n = nFromDown + nFromUp;
    if (n == 0) {
        return Finish(kNoCard, DownCards, UpCards);
    }
    const auto k = static_cast<std::size_t>(
        RandomInt(rnd.lSeed, 0, static_cast<std::int32_t>(n) - 1, rnd.clock));
    const int nCard = k < nFromDown ? DownCards[k] : UpCards[k - nFromDown];
    return Finish(nCard, DownCards, UpCards);
}

int GetBestMediumCardFromMask(std::uint64_t nHand, int nDown, int nUp, std::vector<int>& DownCards,
                              std::vector<int>& UpCards, RandomSource rnd) {
    const Scores scores = ScoreEntries(nHand, nDown, nUp, DownCards, UpCards);
    if (scores.nEntries == 0) {
        return Finish(kNoCard, DownCards, UpCards);
    }
    return Finish(PickAmongBest(scores, rnd), DownCards, UpCards);
}

int GetBestHardCardFromMask(std::uint64_t nHand, int nDown, int nUp, std::vector<int>& DownCards,
                            std::vector<int>& UpCards, RandomSource rnd) {
    Scores scores = ScoreEntries(nHand, nDown, nUp, DownCards, UpCards);
    if (scores.nEntries == 0) {
        return Finish(kNoCard, DownCards, UpCards);
    }
    if (scores.nEntries == 1) {
        return Finish(scores.Choices[0], DownCards, UpCards);
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
    return Finish(PickAmongBest(scores, rnd), DownCards, UpCards);
}

int GetBestEasyCard(const std::vector<int>& Cards, int nDown, int nUp, std::vector<int>& DownCards,
                    std::vector<int>& UpCards, RandomSource rnd) {
    return GetBestEasyCardFromMask(CardMask(Cards), nDown, nUp, DownCards, UpCards, rnd);
}

int GetBestMediumCard(const std::vector<int>& Cards, int nDown, int nUp,
                      std::vector<int>& DownCards, std::vector<int>& UpCards, RandomSource rnd) {
    return GetBestMediumCardFromMask(CardMask(Cards), nDown, nUp, DownCards, UpCards, rnd);
}

int GetBestHardCard(const std::vector<int>& Cards, int nDown, int nUp, std::vector<int>& DownCards,
                    std::vector<int>& UpCards, RandomSource rnd) {
    return GetBestHardCardFromMask(CardMask(Cards), nDown, nUp, DownCards, UpCards, rnd);
}

ChoiceOdds OddsOfChoice(int nLevel, const std::vector<int>& Cards, std::uint64_t nTableMask,
                        int nCard) {
    // The same lists and scores the strategies draw from, counted instead of drawn.
    const std::uint64_t nHand = CardMask(Cards);
    std::vector<int> DownCards;
    std::vector<int> UpCards;
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
    Scores scores = ScoreEntries(nHand, nDown, nUp, DownCards, UpCards);
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

void CollectCandidatesFromMask(std::uint64_t nHand, std::uint64_t nTableMask,
                               std::vector<int>& DownCards, std::vector<int>& UpCards) {
    ForEachRowCard(
        nTableMask, nHand, [&DownCards](int c) { DownCards.push_back(c); },
        [&UpCards](int c) { UpCards.push_back(c); });
    // A Seven opens a row either way, so it stands in both lists.
    for (std::uint64_t m = nHand & kSevensMask; m != 0; m &= m - 1) {
        const int c = std::countr_zero(m);
        DownCards.push_back(c);
        UpCards.push_back(c);
    }
}

void CollectCandidates(const std::vector<int>& Cards, std::uint64_t nTableMask,
                       std::vector<int>& DownCards, std::vector<int>& UpCards) {
    CollectCandidatesFromMask(CardMask(Cards), nTableMask, DownCards, UpCards);
}

} // namespace corvane
