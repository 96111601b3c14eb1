// What one seat could know at its turn, and the choices it has there. The coach
// reasons only from this: its own cards, the table, how many cards each seat
// holds and every move made this hand, never another seat's cards.
#pragma once

#include "engine/game_state.hpp"

#include <array>
#include <cstdint>
#include <vector>

namespace corvane::coach {

// Paying the pot, as a choice beside the cards.
inline constexpr int kPayThePot = -1;

struct Position {
    int nSeat = 3; // the seat to advise (3 the user)
    std::uint64_t nHandMask = 0;
    std::uint64_t nTableMask = 0;
    bool bSevenHeartsPlayed = true;
    std::array<int, 4> nCardsLeft{};
    std::vector<HandMove> Moves; // every move of the hand so far
    std::array<int, 4> nFunds{};
    int nPot = 0;
    int nHand = 0; // 0..3 within the game: the hands left decide what a dollar is worth
    // The skill level (0 Easy, 1 Medium, 2 Hard) each seat plays with in the playouts;
    // the advised seat's own later moves use its entry too.
    std::array<int, 4> Levels{2, 2, 2, 2};
    // The opponents' generator state; the playouts draw from copies of it.
    std::int32_t lSeed = 1;
};

// The position of seat nSeat in a game in progress, read from what that seat could see.
Position PositionFromGame(const GameState& s, int nSeat, const std::array<int, 4>& Levels,
                          std::int32_t lSeed);

// The legal cards of the advised seat in the order the engine lists them, the
// pay-the-pot choice alone when it has none, or nothing before the hand is
// opened by another seat.
std::vector<int> LegalChoices(const Position& pos);

// The cards a seat may lay on this table whoever holds them: the neighbours of
// the row ends and every Seven not yet down.
std::uint64_t OpenCards(std::uint64_t nTableMask);

// The cards seat nSeat cannot hold, learnt from its pot payments.
std::uint64_t ForbiddenCards(const Position& pos, int nSeat);

} // namespace corvane::coach
