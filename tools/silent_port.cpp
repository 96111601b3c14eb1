// Bookkeeping of the silent port.
#include "tools/silent_port.hpp"

#include "engine/cards.hpp"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace corvane::sim {

void SilentPort::WaitForPause() {
    // No pauses here: the count-down ends at once.
    if (pGame != nullptr) {
        pGame->State().nDelay = 0;
        pGame->State().bDelayDone = true;
    }
}

void SilentPort::CountHand() {
    ++tally.nHands;
    const GameState& s = pGame->State();
    auto mix = [this](std::uint64_t n) { tally.nDigest = (tally.nDigest ^ n) * 0x100000001B3ULL; };
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        mix(static_cast<std::uint64_t>(s.nFunds[nSeat]));
        mix(static_cast<std::uint64_t>(s.nCardsLeft[nSeat]));
    }
    mix(static_cast<std::uint64_t>(s.nPot));
    mix(s.nTableMask);
    const auto& left = s.nCardsLeft;
    const auto* const it = std::find(left.begin(), left.end(), 0);
    if (it != left.end()) {
        ++tally.HandWins[it - left.begin()];
    }
}

DialogAnswer SilentPort::ShowHandOver(bool /*bOfferReplay*/) {
    CountHand();
    return DialogAnswer::Ok;
}

DialogAnswer SilentPort::ShowGameOver() {
    CountHand();
    const GameState& s = pGame->State();
    ++tally.nGames;
    if (std::accumulate(s.nFunds.begin(), s.nFunds.end(), 0) != 800 || s.nPot != 0) {
        ++tally.nConservationFailures;
    }
    // The leader takes the game; on equal funds the later seat leads, as in the standings.
    int nLeader = 0;
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        tally.FinalFunds[nSeat] += s.nFunds[nSeat];
        if (s.nFunds[nSeat] >= s.nFunds[nLeader]) {
            nLeader = nSeat;
        }
    }
    ++tally.GameWins[nLeader];
    if (nProgressEvery > 0 && tally.nGames % nProgressEvery == 0) {
        const auto dGames = static_cast<double>(tally.nGames);
        std::fprintf(stderr, "games %lld  game wins", tally.nGames);
        for (const long long n : tally.GameWins) {
            std::fprintf(stderr, " %.1f%%", 100.0 * static_cast<double>(n) / dGames);
        }
        std::fprintf(stderr, "  avg final funds");
        for (const long long n : tally.FinalFunds) {
            std::fprintf(stderr, " %.1f", static_cast<double>(n) / dGames);
        }
        std::fprintf(stderr, "\n");
    }
    g_.bUserWon = nLeader == kUserSeat;
    g_.Standings[0].nFunds = static_cast<std::int16_t>(s.nFunds[nLeader]);
    return tally.nGames < nGamesWanted ? DialogAnswer::Yes : DialogAnswer::No;
}

std::uint32_t SilentPort::TickCount() {
    // Distinct, well-spread tick counts, so that a seed replays the same games.
    nClock_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = nClock_;
    z = (z ^ (z >> 33U)) * 0xFF51AFD7ED558CCDULL;
    return static_cast<std::uint32_t>(z >> 32U);
}

} // namespace corvane::sim
