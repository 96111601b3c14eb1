// A practice hand: the deal of the last finished hand played again from the
// same cards, funds and opponents' generator, with nothing of it booked, and
// the game put back exactly where it was when the practice ends.
#pragma once

#include "game_state.hpp"

#include <cstdint>
#include <string>

namespace corvane {

// A hand as it was dealt, taken at its start before the ante: the four hands,
// the funds, the pot, the level and the hand number are those of Start.
struct DealSnapshot {
    GameState Start;
    // The opponents' generator before their first move of the hand.
    std::int32_t lSeed = 0;
    // The user's gain (or, below 0, loss) over the whole hand, once it has ended.
    int nUserResult = 0;
};

// Where the game goes on after a practice.
enum class PracticeResume {
    UserTurn,        // the user's first turn of the hand in play
    NextHand,        // the deal of the next hand, after the standings
    GameOverAnswers, // the game-over question, the game already booked
};

// The game as the practice found it, for the way back.
struct PracticeReturn {
    GameState State;
    std::int32_t lSeed = 0;
    std::string sWinnerName;
    std::string sPotWon;
    PracticeResume resume = PracticeResume::UserTurn;
};

} // namespace corvane
