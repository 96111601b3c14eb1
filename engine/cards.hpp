// Card numbers and the small array operations the whole engine shares.
// A card is 4 * rank + suit: suit 0 Clubs, 1 Diamonds, 2 Hearts, 3 Spades;
// rank 0 Ace up to 12 King. The Seven of Hearts, which opens every hand, is 26.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

inline constexpr int kSevenOfHearts = 26;
inline constexpr int kCardsInDeck = 52;
inline constexpr int kCardsInHand = 13;

// Seats in the order of play; the user moves last in every round.
inline constexpr int kLeftSeat = 0;
inline constexpr int kTopSeat = 1;
inline constexpr int kRightSeat = 2;
inline constexpr int kUserSeat = 3;

constexpr int Suit(int nCard) {
    return nCard % 4;
}
constexpr int Rank(int nCard) {
    return nCard / 4;
}
constexpr bool IsSeven(int nCard) {
    return nCard >= 24 && nCard <= 27;
}

// "Seven of Hearts", "Ace of Clubs" ...
std::string GetCardName(int nCard);
// The short label a seat's panel shows: "A", "2" ... "10", "J", "Q", "K".
std::string GetCardLabel(int nCard);

// The set of cards in a list, one bit per card number.
std::uint64_t CardMask(const std::vector<int>& Cards);
constexpr bool InMask(std::uint64_t nMask, int nCard) {
    return nCard >= 0 && nCard < kCardsInDeck && ((nMask >> nCard) & 1U) != 0;
}
constexpr std::uint64_t CardBit(int nCard) {
    return std::uint64_t{1} << nCard;
}
// How many cards a set holds; by halves, quarters and bytes, since the
// processor's own count cannot be assumed.
constexpr int CountCards(std::uint64_t nMask) {
    nMask -= (nMask >> 1U) & 0x5555555555555555ULL;
    nMask = (nMask & 0x3333333333333333ULL) + ((nMask >> 2U) & 0x3333333333333333ULL);
    nMask = (nMask + (nMask >> 4U)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((nMask * 0x0101010101010101ULL) >> 56U);
}
// The Clubs as a set (cards 0, 4, ... 48); shifted by a suit, that suit.
inline constexpr std::uint64_t kClubsMask = 0x1111111111111ULL;
inline constexpr std::uint64_t kSevensMask = std::uint64_t{0xF} << 24;
inline constexpr std::uint64_t kDeckMask = (std::uint64_t{1} << kCardsInDeck) - 1;

// The cards of a hand one beyond a row's end on the table: one below the lowest
// card of each suit (nDown) and one above the highest (nUp). Either set holds at
// most one card of each suit.
struct RowEnds {
    std::uint64_t nDown = 0;
    std::uint64_t nUp = 0;
};

constexpr RowEnds RowEndCards(std::uint64_t nTable, std::uint64_t nHand) {
    // Spreading the table up (down) each suit's column marks every card from the
    // suit's lowest (highest) on; the first mark of a column is that card.
    std::uint64_t nFromLow = nTable | (nTable << 4U);
    nFromLow |= nFromLow << 8U;
    nFromLow |= nFromLow << 16U;
    nFromLow |= nFromLow << 32U;
    std::uint64_t nFromHigh = nTable | (nTable >> 4U);
    nFromHigh |= nFromHigh >> 8U;
    nFromHigh |= nFromHigh >> 16U;
    nFromHigh |= nFromHigh >> 32U;
    nHand &= kDeckMask;
    return RowEnds{((nFromLow & ~(nFromLow << 4U)) >> 4U) & nHand,
                   ((nFromHigh & ~(nFromHigh >> 4U)) << 4U) & nHand};
}

// The cards of nHand that extend a row on nTable downwards, one below the lowest
// card of each suit, handed to addDown suit by suit from Clubs to Spades; then
// those that extend a row upwards, one above each suit's highest, handed to addUp
// from Spades to Clubs. The order decides which legal card is listed first.
template <typename AddDown, typename AddUp>
void ForEachRowCard(std::uint64_t nTable, std::uint64_t nHand, AddDown addDown, AddUp addUp) {
    auto [nDown, nUp] = RowEndCards(nTable, nHand);
    for (int s = 0; nDown != 0; ++s) {
        const std::uint64_t nCard = nDown & (kClubsMask << s);
        if (nCard != 0) {
            addDown(std::countr_zero(nCard));
            nDown ^= nCard;
        }
    }
    for (int s = 3; nUp != 0; --s) {
        const std::uint64_t nCard = nUp & (kClubsMask << s);
        if (nCard != 0) {
            addUp(std::countr_zero(nCard));
            nUp ^= nCard;
        }
    }
}

// A short list of distinct cards kept inline, for the legal cards of a turn: no
// allocation, and sets of at most one card per suit are appended without a
// branch on which suits are present, which no predictor could foresee.
class CardList {
public:
    using value_type = int;
    using const_iterator = std::array<int, 16>::const_iterator;
    static constexpr std::size_t kCapacity = 16;

    std::size_t size() const { return nSize_; }
    bool empty() const { return nSize_ == 0; }
    void clear() { nSize_ = 0; }
    int operator[](std::size_t i) const { return Cards_[i]; }
    int front() const { return Cards_[0]; }
    const_iterator begin() const { return Cards_.begin(); }
    const_iterator end() const { return Cards_.begin() + static_cast<std::ptrdiff_t>(nSize_); }
    // Cards past the capacity cannot come from a real position and are dropped.
    void push_back(int nCard) {
        if (nSize_ < kCapacity) {
            Cards_[nSize_++] = nCard;
        }
    }
    // Appends the cards of nSet, at most one of each suit, by suit from Clubs to
    // Spades, or from Spades to Clubs with bFromSpades.
    void AppendBySuit(std::uint64_t nSet, bool bFromSpades) {
        if (nSize_ > kCapacity - 4) {
            AppendBySuitChecked(nSet, bFromSpades);
            return;
        }
        // Every suit's place is written; only a suit present moves the end on.
        // The top bit, never a card, spares the count of trailing zeros its own
        // test for an empty set.
        constexpr std::uint64_t kNoCardBit = std::uint64_t{1} << 63U;
        for (int i = 0; i < 4; ++i) {
            const int s = bFromSpades ? 3 - i : i;
            const std::uint64_t nCard = nSet & (kClubsMask << s);
            Cards_[nSize_] = std::countr_zero(nCard | kNoCardBit);
            nSize_ += nCard != 0 ? 1U : 0U;
        }
    }

private:
    void AppendBySuitChecked(std::uint64_t nSet, bool bFromSpades) {
        for (int i = 0; i < 4; ++i) {
            const std::uint64_t nCard = nSet & (kClubsMask << (bFromSpades ? 3 - i : i));
            if (nCard != 0) {
                push_back(std::countr_zero(nCard));
            }
        }
    }

    std::array<int, kCapacity> Cards_{};
    std::size_t nSize_ = 0;
};

// Ascending order of distinct card numbers.
void SortCards(std::vector<int>& Cards);
// Regroups a freshly sorted hand as Clubs, Diamonds, Spades, Hearts.
void SortIntoSuits(std::vector<int>& Cards);
// Removes element nIndex; a one-element hand keeps its card, since the end of a
// hand is told by the cards-left count and never by an empty hand.
void RemoveCard(std::vector<int>& Cards, int nIndex);

// The place of a card in the table rows, in twips; 0 for a number outside 0..51.
int GetCardLeft(int nCard);
int GetCardTop(int nCard);

} // namespace corvane
