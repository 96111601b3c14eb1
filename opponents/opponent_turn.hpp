// The turn of a computer seat: open with the Seven of Hearts, lay the card its
// strategy chooses, or pay the pot; then hold the move on the table for a moment.
#pragma once

#include "engine/game.hpp"

namespace corvane {

class Opponents final : public OpponentTurns {
public:
    void PlayerTurn(Game& game, int nSeat) override;
};

} // namespace corvane
