// Card names, sorting and the row ends of the table.
#include "cards.hpp"

#include <algorithm>
#include <array>
#include <bit>

namespace corvane {
namespace {

constexpr std::array<const char*, 4> kSuitWords{"Clubs", "Diamonds", "Hearts", "Spades"};
constexpr std::array<const char*, 13> kRankWords{"Ace",  "Two",   "Three", "Four", "Five",
                                                 "Six",  "Seven", "Eight", "Nine", "Ten",
                                                 "Jack", "Queen", "King"};
constexpr std::array<const char*, 13> kRankLabels{"A", "2", "3",  "4", "5", "6", "7",
                                                  "8", "9", "10", "J", "Q", "K"};

bool IsCard(int nCard) {
    return nCard >= 0 && nCard < kCardsInDeck;
}

} // namespace

std::string GetCardName(int nCard) {
    if (!IsCard(nCard)) {
        return {};
    }
    return std::string(kRankWords[Rank(nCard)]) + " of " + kSuitWords[Suit(nCard)];
}

std::string GetCardLabel(int nCard) {
    return IsCard(nCard) ? kRankLabels[Rank(nCard)] : "";
}

void SortCards(std::vector<int>& Cards) {
    // The hands and the table hold distinct card numbers, so a plain sort gives
    // the ascending order the game has always used.
    std::sort(Cards.begin(), Cards.end());
}

void SortIntoSuits(std::vector<int>& Cards) {
    // Black and red alternate along the hand: Clubs, Diamonds, Spades, Hearts.
    constexpr std::array<int, 4> kSuitOrder{0, 1, 3, 2};
    std::vector<int> grouped;
    grouped.reserve(Cards.size());
    for (int nSuit : kSuitOrder) {
        for (int c : Cards) {
            if (Suit(c) == nSuit) {
                grouped.push_back(c);
            }
        }
    }
    Cards = std::move(grouped);
}

void RemoveCard(std::vector<int>& Cards, int nIndex) {
    if (Cards.size() <= 1 || nIndex < 0 || static_cast<std::size_t>(nIndex) >= Cards.size()) {
        return;
    }
    Cards.erase(Cards.begin() + nIndex);
}

std::uint64_t CardMask(const std::vector<int>& Cards) {
    // Branch-free: this runs over the table several times in every turn.
    std::uint64_t nMask = 0;
    for (int c : Cards) {
        const auto n = static_cast<unsigned>(c);
        nMask |= static_cast<std::uint64_t>(n < kCardsInDeck) << (n & 63U);
    }
    return nMask;
}

int GetCardLeft(int nCard) {
    if (!IsCard(nCard)) {
        return 0;
    }
    // Spades stand left of Hearts on the table.
    constexpr std::array<int, 4> kColumnLeft{2160, 3600, 6480, 5040};
    return kColumnLeft[Suit(nCard)];
}

int GetCardTop(int nCard) {
    return IsCard(nCard) ? (12 - Rank(nCard)) * 260 : 0;
}

} // namespace corvane
