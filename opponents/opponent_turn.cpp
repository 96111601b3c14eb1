#include "opponents/opponent_turn.hpp"

namespace corvane {
void Opponents::PlayerTurn(Game& /*game*/, int /*nSeat*/) {}
} // namespace corvane
