// Positions met at the user's turns of real headless games (Hard opponents, an
// Easy user), with the true hands beside them, for the coach's tests and benchmark.
#pragma once

#include "coach/position.hpp"
#include "engine/cards.hpp"
#include "engine/testing/recording_port.hpp"
#include "opponents/testing/auto_player.hpp"

#include <array>
#include <cstdint>
#include <vector>

namespace corvane::coach::testing {

struct GamePosition {
    Position pos;
    std::array<std::uint64_t, 4> TrueHands{};
};

// Up to nWanted user turns after the opening, from games seeded nSeed, nSeed + 1, ...
inline std::vector<GamePosition> CollectPositions(std::size_t nWanted, std::uint32_t nSeed = 1) {
    std::vector<GamePosition> found;
    for (; found.size() < nWanted; ++nSeed) {
        MGlobal g;
        g.lSeed = static_cast<std::int32_t>(nSeed);
        corvane::testing::RecordingPort port(g);
        port.bRecord = false;
        port.nTick = nSeed * 2654435761U;
        corvane::testing::PerSeatOpponents opponents({2, 2, 2});
        Game game(g, port, port, port, opponents);
        port.pGame = &game;
        corvane::testing::AutoPlayer player(corvane::testing::SeatStrategy::Easy, nSeed);
        game.LoadDeck();
        game.StartGame(true);
        const GameState& s = game.State();
        while (!port.bUnloaded && found.size() < nWanted) {
            if (s.bUserTurn && !s.bHandOver && s.bSevenHeartsPlayed) {
                GamePosition gp;
                gp.pos = PositionFromGame(s, kUserSeat, {2, 2, 2, 2}, g.lSeed);
                for (int nSeat = 0; nSeat < 4; ++nSeat) {
                    gp.TrueHands[nSeat] = CardMask(s.Hand(nSeat)) & ~s.nTableMask;
                }
                found.push_back(gp);
            }
            if (!player.Move(game)) {
                break;
            }
        }
    }
    return found;
}

} // namespace corvane::coach::testing
