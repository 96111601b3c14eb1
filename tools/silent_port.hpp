// A port that shows nothing and plays at full speed, for the simulator and the
// benchmarks. It books each game as the game-over dialog would and keeps tallies.
#pragma once

#include "engine/game.hpp"
#include "engine/port.hpp"

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

class SilentPort final : public GamePort {
public:
    SilentPort(MGlobal& globals, std::uint64_t nSeed) : m_g(globals), m_nClock(nSeed) {}

    Game* pGame = nullptr;
    // Games to play before the game-over dialog answers "NO".
    long long nGamesWanted = 1;
    Tally tally;
    bool bUnloaded = false;

    void SetAmt(int, const std::string&) override {}
    void SetPot(const std::string&) override {}
    void SetCardsLeft(int, const std::string&) override {}
    void SetLastCard(int, const LastCardPanel&) override {}
    void SetPlayerFill(int, std::uint32_t) override {}
    void SetPlayerName(int, const std::string&) override {}
    void SetWinnings(const std::string&) override {}
    void SetStatsMenuCaption(const std::string&) override {}
    int TableWidth() override { return 9630; }
    void ClearTable() override {}
    void DrawCardsPlayed(const std::vector<int>&) override {}
    void DrawUserHand(const std::vector<int>&, int, int, int) override {}
    void FlyCard(int, int) override {}
    void SetCaption(const std::string&) override {}
    void SetBackground(int) override {}
    void SetHourglass(bool) override {}
    void SetInputEnabled(bool) override {}
    void PlaySoundRes(const std::string&) override {}
    void WaitForPause() override;
    void ShowMessage() override {}
    void ShowHandOver() override;
    std::optional<std::string> ShowGameOver() override;
    void ShowHighScore() override {}
    void ShowTopTen() override {}
    std::optional<std::string> ShowUserName(const std::string&) override { return "O"; }
    void SaveSettings() override {}
    void TopTenLoad() override {}
    void TopTenSave() override {}
    void HandleDBError() override {}
    void Unload() override { bUnloaded = true; }
    std::uint32_t TickCount() override;
    Date Now() override { return Date(std::chrono::seconds(1'800'000'000)); }

private:
    void CountHand();
    MGlobal& m_g;
    std::uint64_t m_nClock;
};

} // namespace corvane::sim
