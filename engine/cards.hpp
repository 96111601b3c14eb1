// Card numbers and the small array operations the whole engine shares.
// A card is 4 * rank + suit: suit 0 Clubs, 1 Diamonds, 2 Hearts, 3 Spades;
// rank 0 Ace up to 12 King. The Seven of Hearts, which opens every hand, is 26.
#pragma once

#include <array>
#include <bit>
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

// The cards of nHand that extend a row on nTable downwards, one below the lowest
// card of each suit, handed to addDown suit by suit from Clubs to Spades; then
// those that extend a row upwards, one above each suit's highest, handed to addUp
// from Spades to Clubs. The order decides which legal card is listed first.
template <typename AddDown, typename AddUp>
void ForEachRowCard(std::uint64_t nTable, std::uint64_t nHand, AddDown addDown, AddUp addUp) {
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
    std::uint64_t nDown = ((nFromLow & ~(nFromLow << 4U)) >> 4U) & nHand;
    std::uint64_t nUp = ((nFromHigh & ~(nFromHigh >> 4U)) << 4U) & nHand;
    // At most one card of each suit is left in either set.
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
