// Card numbers and the small array operations the whole engine shares.
// A card is 4 * rank + suit: suit 0 Clubs, 1 Diamonds, 2 Hearts, 3 Spades;
// rank 0 Ace up to 12 King. The Seven of Hearts, which opens every hand, is 26.
#pragma once

#include <array>
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

// Ascending order of distinct card numbers.
void SortCards(std::vector<int>& Cards);
// Regroups a freshly sorted hand as Clubs, Diamonds, Spades, Hearts.
void SortIntoSuits(std::vector<int>& Cards);
// Removes element nIndex; a one-element hand keeps its card, since the end of a
// hand is told by the cards-left count and never by an empty hand.
void RemoveCard(std::vector<int>& Cards, int nIndex);

// The open ends of the rows on the table: for suits 0..3 the lowest card of that
// suit (Low), and for suits 3..0 the highest (High); a suit with no card on the
// table adds nothing. The order decides which legal card is listed first.
struct RowEnds {
    std::array<int, 4> Low{};
    std::array<int, 4> High{};
    int nLow = 0;
    int nHigh = 0;
};
RowEnds CollectRowEnds(std::uint64_t nTableMask);

// The place of a card in the table rows, in twips; 0 for a number outside 0..51.
int GetCardLeft(int nCard);
int GetCardTop(int nCard);

} // namespace corvane
