// Seat-indexed access to the four hands.
#include "game_state.hpp"

#include "cards.hpp"

#include <algorithm>

namespace corvane {

void GameState::SetCardsPlayed(std::vector<int> Cards) {
    CardsPlayed = std::move(Cards);
    nCardsPlayed = static_cast<int>(CardsPlayed.size());
    nTableMask = CardMask(CardsPlayed);
}

bool IsUserCardLegal(const GameState& s, int nCard) {
    if (!s.bSevenHeartsPlayed) {
        return nCard == kSevenOfHearts;
    }
    return std::find(s.UserPlayable.begin(), s.UserPlayable.end(), nCard) != s.UserPlayable.end();
}

} // namespace corvane
