// Computer play for every seat, for headless games: the user's seat played by a
// chosen strategy through the same clicks a person makes, and opponents whose
// skill level can differ from seat to seat.
#pragma once

#include "engine/game.hpp"
#include "opponents/opponent_turn.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace corvane::testing {

enum class SeatStrategy { Easy, Medium, Hard, Random };

std::optional<SeatStrategy> ParseSeatStrategy(const std::string& sName);
const char* SeatStrategyName(SeatStrategy strategy);

// Plays the user's seat: lays the card its strategy picks by clicking it on the
// fanned hand, or presses the pay-the-pot button when nothing can be laid.
class AutoPlayer {
public:
    AutoPlayer(SeatStrategy strategy, std::uint64_t nSeed) : m_strategy(strategy), m_rng(nSeed) {}

    // Makes one move if it is the user's turn; false otherwise.
    bool Move(Game& game);
    // The card the strategy would lay now (the user can lay one).
    int ChooseCard(Game& game);

private:
    SeatStrategy m_strategy;
    std::mt19937 m_rng;
    std::vector<int> m_DownCards;
    std::vector<int> m_UpCards;
};

// The real opponents, with each seat's skill level set just before its turn.
class PerSeatOpponents final : public OpponentTurns {
public:
    explicit PerSeatOpponents(std::array<int, 3> levels) : m_levels(levels) {}
    void PlayerTurn(Game& game, int nSeat) override;

private:
    std::array<int, 3> m_levels;
    Opponents m_opponents;
};

} // namespace corvane::testing
