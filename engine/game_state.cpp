// Seat-indexed access to the four hands.
#include "game_state.hpp"

namespace corvane {

std::vector<int>& GameState::Hand(int nSeat) {
    switch (nSeat) {
    case 0:
        return LeftHand;
    case 1:
        return TopHand;
    case 2:
        return RightHand;
    default:
        return UserHand;
    }
}

const std::vector<int>& GameState::Hand(int nSeat) const {
    return const_cast<GameState*>(this)->Hand(nSeat);
}

} // namespace corvane
