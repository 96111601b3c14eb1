// The headless simulator: plays many whole games from a seed with the real
// engine and prints how each seat fared.
#include "tools/sim_runner.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace {

using corvane::sim::SeatPlan;
using corvane::sim::Tally;
using corvane::testing::ParseSeatStrategy;
using corvane::testing::SeatStrategy;

constexpr const char* kUsage =
    "usage: corvane-sim [--games N] [--seed S] [--seats L,T,R,U] [--user NAME] [--level NAME]\n"
    "                   [--rotate] [--digest] [--coach-deals N] [--progress N]\n"
    "  --games N     games to play (default 1000)\n"
    "  --seed S      seed of the deals and of every random choice (default 1)\n"
    "  --seats ...   strategies of the left, top, right and user seats, each Easy, Medium or\n"
    "                Hard, or Coach (the hint's search); the user's seat may also be\n"
    "                Random (a random legal card)\n"
    "                (default Easy,Easy,Easy,Hard)\n"
    "  --user NAME   the user's strategy alone\n"
    "  --level NAME  the three opponents' level alone\n"
    "  --rotate      play the games once more with the four strategies moved round the\n"
    "                table, so that each strategy sits in every seat\n"
    "  --digest      also print a fingerprint of every hand's outcome\n"
    "  --coach-deals N  deals the coach samples for each choice (default 2048, as\n"
    "                the hint)\n"
    "  --progress N  print the tallies so far to stderr every N games\n";

constexpr std::array<const char*, 4> kSeatNames{"left", "top", "right", "user"};

int LevelOf(SeatStrategy s) {
    return s == SeatStrategy::Hard ? 2 : s == SeatStrategy::Medium ? 1 : 0;
}

// A seat's strategy: one of the opponents' levels, Random, or the coach.
struct Seat {
    SeatStrategy strategy = SeatStrategy::Easy;
    bool bCoach = false;
};

std::optional<Seat> ParseSeat(const std::string& sName) {
    if (sName == "Coach") {
        return Seat{SeatStrategy::Hard, true};
    }
    const auto s = ParseSeatStrategy(sName);
    if (!s) {
        return std::nullopt;
    }
    return Seat{*s, false};
}

const char* SeatName(const Seat& seat) {
    return seat.bCoach ? "Coach" : corvane::testing::SeatStrategyName(seat.strategy);
}

bool ParseSeats(const std::string& sList, std::array<Seat, 4>& seats) {
    std::stringstream in(sList);
    std::string sItem;
    int i = 0;
    while (std::getline(in, sItem, ',')) {
        const auto s = ParseSeat(sItem);
        if (i >= 4 || !s) {
            return false;
        }
        seats[i++] = *s;
    }
    return i == 4;
}

void PrintTally(const std::array<Seat, 4>& seats, const Tally& t, double dSeconds, bool bDigest) {
    std::printf("games %lld  hands %lld  time %.3f s  hands/s %.0f\n", t.nGames, t.nHands, dSeconds,
                dSeconds > 0 ? static_cast<double>(t.nHands) / dSeconds : 0.0);
    std::printf("%-6s %-8s %12s %12s %16s\n", "seat", "strategy", "game wins", "hand wins",
                "avg final funds");
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        const double dGames = t.nGames > 0 ? static_cast<double>(t.nGames) : 1.0;
        std::printf("%-6s %-8s %11.1f%% %11.1f%% %16.1f\n", kSeatNames[nSeat],
                    SeatName(seats[nSeat]), 100.0 * static_cast<double>(t.GameWins[nSeat]) / dGames,
                    100.0 * static_cast<double>(t.HandWins[nSeat]) /
                        static_cast<double>(t.nHands > 0 ? t.nHands : 1),
                    static_cast<double>(t.FinalFunds[nSeat]) / dGames);
    }
    std::printf("conservation: %s (funds plus pot $800 at the end of %lld games)\n",
                t.nConservationFailures == 0 ? "ok" : "BROKEN", t.nGames);
    if (bDigest) {
        std::printf("digest: %016llx\n", static_cast<unsigned long long>(t.nDigest));
    }
}

} // namespace

int main(int argc, char** argv) {
    long long nGames = 1000;
    std::uint64_t nSeed = 1;
    bool bRotate = false;
    bool bDigest = false;
    int nCoachDeals = SeatPlan{}.nCoachDeals;
    long long nProgressEvery = 0;
    std::array<Seat, 4> seats{Seat{SeatStrategy::Easy}, Seat{SeatStrategy::Easy},
                              Seat{SeatStrategy::Easy}, Seat{SeatStrategy::Hard}};
    const std::span<char*> argList(argv, static_cast<std::size_t>(argc));
    std::vector<std::string> args(argList.begin() + 1, argList.end());
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool bHasValue = i + 1 < args.size();
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == "--rotate") {
            bRotate = true;
        } else if (a == "--digest") {
            bDigest = true;
        } else if (a == "--games" && bHasValue) {
            nGames = std::strtoll(args[++i].c_str(), nullptr, 10);
        } else if (a == "--seed" && bHasValue) {
            nSeed = std::strtoull(args[++i].c_str(), nullptr, 10);
        } else if (a == "--seats" && bHasValue) {
            if (!ParseSeats(args[++i], seats)) {
                std::fprintf(stderr,
                             "corvane-sim: --seats needs four of Easy, Medium, Hard, Coach\n");
                return 2;
            }
        } else if (a == "--user" && bHasValue) {
            const auto s = ParseSeat(args[++i]);
            if (!s) {
                std::fprintf(stderr, "corvane-sim: unknown strategy %s\n", args[i].c_str());
                return 2;
            }
            seats[3] = *s;
        } else if (a == "--level" && bHasValue) {
            const auto s = ParseSeatStrategy(args[++i]);
            if (!s || *s == SeatStrategy::Random) {
                std::fprintf(stderr, "corvane-sim: --level takes Easy, Medium or Hard\n");
                return 2;
            }
            seats[0] = seats[1] = seats[2] = Seat{*s};
        } else if (a == "--progress" && bHasValue) {
            nProgressEvery = std::strtoll(args[++i].c_str(), nullptr, 10);
        } else if (a == "--coach-deals" && bHasValue) {
            nCoachDeals = static_cast<int>(std::strtol(args[++i].c_str(), nullptr, 10));
            if (nCoachDeals < 1) {
                std::fprintf(stderr, "corvane-sim: --coach-deals must be at least 1\n");
                return 2;
            }
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (nGames < 1) {
        std::fprintf(stderr, "corvane-sim: --games must be at least 1\n");
        return 2;
    }

    const int nRotations = bRotate ? 4 : 1;
    for (int r = 0; r < nRotations; ++r) {
        std::array<Seat, 4> table{};
        for (int nSeat = 0; nSeat < 4; ++nSeat) {
            table[(nSeat + r) % 4] = seats[nSeat];
        }
        bool bOk = true;
        SeatPlan plan;
        plan.nCoachDeals = nCoachDeals;
        for (int nSeat = 0; nSeat < 4; ++nSeat) {
            plan.Coached[nSeat] = table[nSeat].bCoach;
        }
        for (int nSeat = 0; nSeat < 3; ++nSeat) {
            bOk = bOk && table[nSeat].strategy != SeatStrategy::Random;
            plan.OpponentLevels[nSeat] = LevelOf(table[nSeat].strategy);
        }
        if (!bOk) {
            std::fprintf(stderr, "corvane-sim: only the user's seat can play Random\n");
            return 2;
        }
        plan.User = table[3].strategy;
        const auto t0 = std::chrono::steady_clock::now();
        const Tally t = corvane::sim::PlayGames(plan, nGames, nSeed + static_cast<std::uint64_t>(r),
                                                nProgressEvery);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - t0;
        if (r > 0) {
            std::printf("\n");
        }
        PrintTally(table, t, elapsed.count(), bDigest);
        if (t.nConservationFailures != 0) {
            return 1;
        }
    }
    return 0;
}
