// The cost of one card choice at each level, in a position from the middle of a hand.
#include "engine/clock.hpp"
#include "opponents/strategies.hpp"

#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

namespace corvane {
namespace {

class BenchClock final : public Clock {
public:
    std::uint32_t TickCount() override { return 1; }
    Date Now() override { return Date{}; }
};

// Nine cards left. On the table: Hearts Five to Nine, Clubs Six to Eight and the
// Seven of Spades; Diamonds not opened. The hand: Ace, Four and Ten of Hearts, Two,
// Five and Jack of Clubs, Six and Eight of Spades, Seven of Diamonds. Downwards the
// Five of Clubs and the Four of Hearts both reach a card 12 away and tie, so Medium
// and Hard draw between them; Easy draws among all seven entries.
const std::vector<int> kHand{14, 38, 16, 4, 23, 31, 25, 40, 2};
const std::vector<int> kDown{16, 14, 23, 25};
const std::vector<int> kUp{31, 38, 25};

using StrategyFn = int (*)(const std::vector<int>&, int, int, std::vector<int>&, std::vector<int>&,
                           RandomSource);

void RunStrategy(benchmark::State& state, StrategyFn strategy) {
    BenchClock clock;
    std::int32_t lSeed = 1;
    std::vector<int> DownCards;
    std::vector<int> UpCards;
    DownCards.reserve(8);
    UpCards.reserve(8);
    for (auto _ : state) {
        // Refilling keeps the capacity, as the turn does with its own lists.
        DownCards.assign(kDown.begin(), kDown.end());
        UpCards.assign(kUp.begin(), kUp.end());
        const int nCard =
            strategy(kHand, static_cast<int>(kDown.size()), static_cast<int>(kUp.size()), DownCards,
                     UpCards, RandomSource{lSeed, clock});
        benchmark::DoNotOptimize(nCard);
    }
}

void BM_Easy(benchmark::State& state) {
    RunStrategy(state, GetBestEasyCard);
}
void BM_Medium(benchmark::State& state) {
    RunStrategy(state, GetBestMediumCard);
}
void BM_Hard(benchmark::State& state) {
    RunStrategy(state, GetBestHardCard);
}

BENCHMARK(BM_Easy);
BENCHMARK(BM_Medium);
BENCHMARK(BM_Hard);

} // namespace
} // namespace corvane

BENCHMARK_MAIN();
