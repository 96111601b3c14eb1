// The turn of a computer seat: open with the Seven of Hearts, lay the card its
// strategy chooses, or pay the pot; then hold the move on the table for a moment.
#pragma once

#include "engine/game.hpp"

namespace corvane {

class Opponents : public OpponentTurns {
public:
    void PlayerTurn(Game& game, int nSeat) override;

protected:
    // The card seat nSeat lays from its candidate lists (nDown and nUp long, not
    // both empty); by the skill level here, by other means in the coach's seats.
    virtual int ChooseCard(Game& game, int nSeat, int nDown, int nUp);
};

} // namespace corvane
