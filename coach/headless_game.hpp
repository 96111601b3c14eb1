// The coach's one contact with the engine: a real Game behind a port that shows
// nothing and never waits, set up from a position and one full deal, and played
// to the end of the hand with the real opponents.
#pragma once

#include "coach/position.hpp"
#include "engine/game.hpp"
#include "engine/program_port.hpp"
#include "engine/table_port.hpp"
#include "opponents/opponent_turn.hpp"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace corvane::coach {

struct PlayoutResult {
    int nDollars = 0;            // the advised seat's funds at the end less at the start
    int nOthersPaid = 0;         // pot payments by the other seats
    bool bWon = false;           // the advised seat laid its last card first
    std::array<int, 4> nFunds{}; // every seat's funds at the end of the hand
};

class HeadlessGame {
public:
    HeadlessGame();
    ~HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;
    HeadlessGame(HeadlessGame&&) = delete;
    HeadlessGame& operator=(HeadlessGame&&) = delete;

    // The advised seat makes nChoice (a card or kPayThePot), then every seat,
    // itself included, plays by its level until a seat is out. The generator
    // starts from lSeed, a copy: the real game's is never touched.
    PlayoutResult Play(const Position& pos, const std::array<std::uint64_t, 4>& hands, int nChoice,
                       std::int32_t lSeed);

private:
    class SilentPort;
    class SeatTurns;

    void SetUp(const Position& pos, const std::array<std::uint64_t, 4>& hands, std::int32_t lSeed);
    // The user's seat moves through the same clicks a person makes.
    void UserMove(int nChoice);
    int UserChoice();

    MGlobal g_;
    std::unique_ptr<SilentPort> pPort_;
    std::unique_ptr<SeatTurns> pTurns_;
    std::unique_ptr<Game> pGame_;
    std::vector<int> DownCards_;
    std::vector<int> UpCards_;
};

} // namespace corvane::coach
