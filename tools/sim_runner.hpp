// Plays whole games headless with the real engine and opponents.
#pragma once

#include "coach/coach.hpp"
#include "opponents/testing/auto_player.hpp"
#include "tools/silent_port.hpp"

#include <array>
#include <cstdint>

namespace corvane::sim {

struct SeatPlan {
    std::array<int, 3> OpponentLevels{0, 0, 0}; // 0 Easy, 1 Medium, 2 Hard
    testing::SeatStrategy User = testing::SeatStrategy::Hard;
    // Seats whose cards the coach chooses, and the deals it samples for each
    // choice: as many as the hint's, so that the figures are the player's coach.
    std::array<bool, 4> Coached{};
    int nCoachDeals = coach::SearchBudget{}.nDeals;
};

// Plays nGames games in a row (answering Yes between them) from nSeed, printing
// the tallies so far to stderr every nProgressEvery games when that is above 0.
Tally PlayGames(const SeatPlan& plan, long long nGames, std::uint64_t nSeed,
                long long nProgressEvery = 0);

} // namespace corvane::sim
