// The hint's answer time with the interactive budget, over positions from real
// games: reports the median and the worst position, one core.
#include "coach/coach.hpp"
#include "coach/tests/game_positions.hpp"

#include <algorithm>
#include <ctime>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

void BM_HintOverManyPositions(benchmark::State& state) {
    const auto positions = corvane::coach::testing::CollectPositions(300, 7000);
    const corvane::coach::SearchBudget budget;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        // Processor time, so that other work on a shared machine does not count.
        std::vector<double> ms;
        for (const auto& gp : positions) {
            const std::clock_t t0 = std::clock();
            benchmark::DoNotOptimize(corvane::coach::Advise(gp.pos, budget));
            ms.push_back(1000.0 * static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC);
        }
        std::sort(ms.begin(), ms.end());
        state.counters["positions"] = static_cast<double>(ms.size());
        state.counters["median_cpu_ms"] = ms[ms.size() / 2];
        state.counters["worst_cpu_ms"] = ms.back();
    }
}
BENCHMARK(BM_HintOverManyPositions)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
