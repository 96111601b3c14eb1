// Seat-indexed access to the four hands.
#include "game_state.hpp"

#include "cards.hpp"

#include <algorithm>
#include <functional>

namespace corvane {

void GameState::SetCardsPlayed(std::vector<int> Cards) {
    CardsPlayed = std::move(Cards);
    nCardsPlayed = static_cast<int>(CardsPlayed.size());
    nTableMask = CardMask(CardsPlayed);
    // Cards given in descending order count as sorted; any others are put in
    // order by the next sort.
    const bool bSorted = std::is_sorted(CardsPlayed.begin(), CardsPlayed.end(), std::greater<>()) &&
                         CountCards(nTableMask) == nCardsPlayed;
    nSortedMask = bSorted ? nTableMask : ~nTableMask;
}

void GameState::SetHand(int nSeat, std::vector<int> Cards) {
    nHandMask[nSeat] = CardMask(Cards);
    Hand(nSeat) = std::move(Cards);
}

bool IsUserCardLegal(const GameState& s, int nCard) {
    if (!s.bSevenHeartsPlayed) {
        return nCard == kSevenOfHearts;
    }
    return std::find(s.UserPlayable.begin(), s.UserPlayable.end(), nCard) != s.UserPlayable.end();
}

} // namespace corvane
