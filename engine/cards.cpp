// Card names, sorting and the row ends of the table.
#include "cards.hpp"

#include <array>

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
    // Selection of the next larger value, as the game always did: a duplicate
    // would be lost and replaced by the sentinel 99, so callers pass distinct cards.
    if (Cards.empty()) {
        return;
    }
    std::vector<int> sorted(Cards.size());
    for (std::size_t i = 0; i < Cards.size(); ++i) {
        int nChoice = 99;
        if (i == 0) {
            nChoice = Cards[0];
            for (int c : Cards) {
                if (c < nChoice) {
                    nChoice = c;
                }
            }
        } else {
            for (int c : Cards) {
                if (c > sorted[i - 1] && c < nChoice) {
                    nChoice = c;
                }
            }
        }
        sorted[i] = nChoice;
    }
    Cards = std::move(sorted);
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

void CollectRowEnds(const std::vector<int>& CardsPlayed, std::vector<int>& LowEnds,
                    std::vector<int>& HighEnds) {
    std::array<bool, kCardsInDeck> onTable{};
    for (int c : CardsPlayed) {
        if (IsCard(c)) {
            onTable[c] = true;
        }
    }
    LowEnds.clear();
    HighEnds.clear();
    for (int s = 0; s < 4; ++s) {
        for (int c = s; c < kCardsInDeck; c += 4) {
            if (onTable[c]) {
                LowEnds.push_back(c);
                break;
            }
        }
        for (int c = 51 - s; c >= 0; c -= 4) {
            if (onTable[c]) {
                HighEnds.push_back(c);
                break;
            }
        }
    }
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
