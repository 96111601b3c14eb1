// Seat-indexed access to the four hands.
#include "game_state.hpp"

#include "cards.hpp"

namespace corvane {

void GameState::SetCardsPlayed(std::vector<int> Cards) {
    CardsPlayed = std::move(Cards);
    nCardsPlayed = static_cast<int>(CardsPlayed.size());
    nTableMask = CardMask(CardsPlayed);
}

} // namespace corvane
