// A port that shows nothing and plays at full speed, for the simulator and the
// benchmarks. It books each game as the game-over dialog would and keeps tallies.
#pragma once

#include "engine/game.hpp"
#include "engine/testing/null_ports.hpp"

#include <array>
#include <cstdint>

namespace corvane::sim {

struct Tally {
    long long nGames = 0;
    long long nHands = 0;
    std::array<long long, 4> GameWins{};
    std::array<long long, 4> HandWins{};
    std::array<long long, 4> FinalFunds{};
    long long nConservationFailures = 0;
    // A fingerprint of every hand's outcome (funds, cards left, table, pot), so
    // that two runs from one seed can be told apart even when the tallies agree.
    std::uint64_t nDigest = 0xCBF29CE484222325ULL;
};

class SilentPort final : public testing::NullTablePort,
                         public testing::NullProgramPort,
                         public Clock {
public:
    SilentPort(MGlobal& globals, std::uint64_t nSeed) : g_(globals), nClock_(nSeed) {}

    Game* pGame = nullptr;
    // Games to play before the game-over dialog answers No.
    long long nGamesWanted = 1;
    // Every this many games a line of the tallies so far goes to stderr (0: none),
    // so that a long run shows where it stands.
    long long nProgressEvery = 0;
    Tally tally;
    bool bUnloaded = false;

    bool ShowsPlay() const override { return false; }
    void WaitForPause() override;
    DialogAnswer ShowHandOver(bool bOfferReplay) override;
    DialogAnswer ShowGameOver() override;
    DialogAnswer ShowUserName(UserDialogExit) override { return DialogAnswer::Ok; }
    void Unload() override { bUnloaded = true; }
    std::uint32_t TickCount() override;
    Date Now() override { return Date(std::chrono::seconds(1'800'000'000)); }

private:
    void CountHand();
    MGlobal& g_;
    std::uint64_t nClock_;
};

} // namespace corvane::sim
