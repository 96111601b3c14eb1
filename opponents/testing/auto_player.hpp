// Computer play for every seat, for headless games: the user's seat played by a
// chosen strategy through the same clicks a person makes, and opponents whose
// skill level can differ from seat to seat.
#pragma once

#include "engine/cards.hpp"
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

// Clicks the user's card nCard on the fanned hand, inside the strip that the
// overlapping cards leave visible.
void ClickUserCard(Game& game, int nCard);

// Makes one move for the user if it is the user's turn (false otherwise):
// presses the pay-the-pot button when nothing can be laid, or clicks the card
// chooseCard(game) names.
template <typename ChooseCard>
bool MakeUserMove(Game& game, ChooseCard chooseCard) {
    const GameState& s = game.State();
    if (!s.bUserTurn || s.bHandOver) {
        return false;
    }
    if (!s.bUserCanPlay) {
        game.cmdUser_Click();
        return true;
    }
    ClickUserCard(game, chooseCard(game));
    return true;
}

// Plays the user's seat: lays the card its strategy picks by clicking it on the
// fanned hand, or presses the pay-the-pot button when nothing can be laid.
class AutoPlayer {
public:
    AutoPlayer(SeatStrategy strategy, std::uint64_t nSeed) : strategy_(strategy), rng_(nSeed) {}

    // Makes one move if it is the user's turn; false otherwise.
    bool Move(Game& game);
    // The card the strategy would lay now (the user can lay one).
    int ChooseCard(Game& game);

private:
    SeatStrategy strategy_;
    std::mt19937 rng_;
    CardList DownCards_;
    CardList UpCards_;
};

// The real opponents, with each seat's skill level set just before its turn.
class PerSeatOpponents final : public OpponentTurns {
public:
    explicit PerSeatOpponents(std::array<int, 3> levels) : levels_(levels) {}
    void PlayerTurn(Game& game, int nSeat) override;

private:
    std::array<int, 3> levels_;
    Opponents opponents_;
};

} // namespace corvane::testing
