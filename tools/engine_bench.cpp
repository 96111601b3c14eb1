// Speed of whole simulated hands and games with the real engine and opponents.
#include "tools/sim_runner.hpp"

#include <benchmark/benchmark.h>

namespace {

using corvane::sim::PlayGames;
using corvane::sim::SeatPlan;
using corvane::testing::SeatStrategy;

// The simulator's two usual tables: Easy in every seat (argument 0), and Easy
// opponents against a Hard user (argument 1, the simulator's default).
SeatPlan PlanFor(const benchmark::State& state) {
    SeatPlan plan;
    plan.User = state.range(0) == 0 ? SeatStrategy::Easy : SeatStrategy::Hard;
    return plan;
}

void BM_Game(benchmark::State& state) {
    const SeatPlan plan = PlanFor(state);
    std::uint64_t nSeed = 1;
    long long nHands = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        nHands += PlayGames(plan, 1, nSeed++).nHands;
    }
    state.counters["hands/s"] =
        benchmark::Counter(static_cast<double>(nHands), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Game)->Arg(0)->Arg(1);

// Many games in one run, so each hand's share of the set-up vanishes.
void BM_Hand(benchmark::State& state) {
    const SeatPlan plan = PlanFor(state);
    std::uint64_t nSeed = 1;
    long long nHands = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        nHands += PlayGames(plan, 100, nSeed++).nHands;
    }
    state.SetItemsProcessed(nHands);
    state.counters["hands/s"] =
        benchmark::Counter(static_cast<double>(nHands), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Hand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
