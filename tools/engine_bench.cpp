// Speed of whole simulated hands and games with the real engine and opponents.
#include "tools/sim_runner.hpp"

#include <benchmark/benchmark.h>

namespace {

using corvane::sim::PlayGames;
using corvane::sim::SeatPlan;

void BM_Game(benchmark::State& state) {
    SeatPlan plan;
    plan.OpponentLevels = {2, 2, 2};
    std::uint64_t nSeed = 1;
    long long nHands = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        nHands += PlayGames(plan, 1, nSeed++).nHands;
    }
    state.counters["hands/s"] =
        benchmark::Counter(static_cast<double>(nHands), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Game);

// Many games in one run, so each hand's share of the set-up vanishes.
void BM_Hand(benchmark::State& state) {
    SeatPlan plan;
    plan.OpponentLevels = {0, 1, 2};
    std::uint64_t nSeed = 1;
    long long nHands = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        nHands += PlayGames(plan, 100, nSeed++).nHands;
    }
    state.SetItemsProcessed(nHands);
    state.counters["ns/hand"] = benchmark::Counter(
        static_cast<double>(nHands), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Hand)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
