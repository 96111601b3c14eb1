// Time of each database procedure from open to close: the key, the job and the
// release, with the derived-key cache (argument 1) and without it (argument 0).
// The file lives in a scratch folder of the temporary directory.
#include "platform/fake_platform.hpp"
#include "platform/file_system.hpp"
#include "storage/game_db.hpp"
#include "storage/schema.hpp"

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>

#include <benchmark/benchmark.h>

namespace corvane {
namespace {

class BenchClock final : public Clock {
public:
    std::uint32_t TickCount() override { return 0; }
    Date Now() override {
        return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    }
};

// A database with ten users, the last one current with 150 games behind it, and
// a full top ten, and everything a procedure needs.
class Setup {
public:
    explicit Setup(bool bCacheKeys)
        : dir_(std::filesystem::temp_directory_path() /
               ("corvane-bench-" + std::to_string(std::random_device{}()))),
          env_(msg_, files_, clock_, Folder(), bCacheKeys) {
        CreateFreshDatabase(DatabaseFileName(env_.sAppPath));
        g.sDBPath = env_.sAppPath;
        for (int i = 0; i < 10; ++i) {
            g.nUserID = GetNextUserID(g, env_);
            g.sUserName = "User" + std::to_string(i);
            g.sLeftName = "Left";
            g.sTopName = "Top";
            g.sRightName = "Right";
            g.sSkillLevel = "Medium";
            user_dialog::UpdateDatabase(g, env_);
        }
        for (int i = 0; i < 150; ++i) {
            ++g.nNumGames;
            game_over::SaveUserData(g, env_,
                                    {1 + i / 10, static_cast<std::int16_t>(i), i % 2 == 0});
        }
        TopTenList list{};
        for (std::size_t i = 0; i < 10; ++i) {
            list[i] = {"Top" + std::to_string(i), static_cast<std::int16_t>(900 - 50 * i),
                       clock_.Now()};
        }
        g.nTopTenPos = 99;
        main_window::TopTenSave(g, env_, list);
        Check();
    }
    ~Setup() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    Setup(const Setup&) = delete;
    Setup& operator=(const Setup&) = delete;

    StorageEnv& Env() { return env_; }
    // Any message means the procedure failed and the figure is meaningless.
    void Check() {
        if (!msg_.Shown.empty() || g.bDBError) {
            throw std::runtime_error("a procedure failed during the benchmark");
        }
    }

    MGlobal g;

private:
    std::string Folder() {
        std::filesystem::create_directories(dir_);
        return dir_.string();
    }

    std::filesystem::path dir_;
    FakeMessageBoxes msg_;
    LocalFileSystem files_;
    BenchClock clock_;
    StorageEnv env_;
};

// One database per key mode for the whole run, as in the game, where the key is
// derived at the first open and every later procedure finds it in the cache.
Setup& Shared(bool bCacheKeys) {
    static Setup withCache(true);
    static Setup withoutCache(false);
    return bCacheKeys ? withCache : withoutCache;
}

void Run(benchmark::State& state, const std::function<void(Setup&)>& job) {
    Setup& setup = Shared(state.range(0) != 0);
    for (auto _ : state) {
        job(setup);
    }
    setup.Check();
}

void BM_GetNextUserID(benchmark::State& state) {
    Run(state, [](Setup& s) { benchmark::DoNotOptimize(GetNextUserID(s.g, s.Env())); });
}

void BM_TopTenLoad(benchmark::State& state) {
    TopTenList list{};
    Run(state, [&](Setup& s) { main_window::TopTenLoad(s.g, s.Env(), list); });
}

void BM_TopTenSave(benchmark::State& state) {
    TopTenList list{};
    static std::int16_t nScore = 1000;
    // A new best score, merged into the stored list each time.
    Run(state, [&](Setup& s) {
        list[9] = {"New", ++nScore, {}};
        s.g.nTopTenPos = 9;
        main_window::TopTenSave(s.g, s.Env(), list);
    });
}

void BM_GetPlayerData(benchmark::State& state) {
    Run(state,
        [](Setup& s) { benchmark::DoNotOptimize(user_dialog::GetPlayerData(s.g, s.Env())); });
}

void BM_UserDialogUpdateDatabase(benchmark::State& state) {
    Run(state, [](Setup& s) {
        ++s.g.nNumGames;
        user_dialog::UpdateDatabase(s.g, s.Env());
    });
}

void BM_SaveUserData(benchmark::State& state) {
    Run(state, [](Setup& s) {
        ++s.g.nNumGames;
        ++s.g.nWinnings;
        game_over::SaveUserData(s.g, s.Env(), {2, 250, true});
    });
}

// The statistics dialog's chart: the current user's last 100 games.
void BM_LoadHistory(benchmark::State& state) {
    Run(state,
        [](Setup& s) { benchmark::DoNotOptimize(user_stats::LoadHistory(s.g, s.Env(), 100)); });
}

void BM_GetStandings(benchmark::State& state) {
    Run(state, [](Setup& s) { GetStandings(s.g, s.Env(), {150, 320, 90, 240}); });
}

void BM_TopTenDialogLoad(benchmark::State& state) {
    TopTenList list{};
    Run(state, [&](Setup& s) { top_ten_dialog::TopTenLoad(s.g, s.Env(), list); });
}

void BM_ClearTopTen(benchmark::State& state) {
    Run(state, [](Setup& s) { top_ten_dialog::ClearTopTen(s.g, s.Env()); });
}

void BM_LoadUserList(benchmark::State& state) {
    Run(state, [](Setup& s) { benchmark::DoNotOptimize(user_editor::LoadUserList(s.g, s.Env())); });
}

void BM_LoadUserForm(benchmark::State& state) {
    Run(state,
        [](Setup& s) { benchmark::DoNotOptimize(user_editor::LoadUserForm(s.g, s.Env(), 3)); });
}

void BM_UserEditorUpdateDatabase(benchmark::State& state) {
    Run(state, [](Setup& s) {
        user_editor::UpdateDatabase(s.g, s.Env(), 4, {"Renamed", "A", "B", "C"});
    });
}

void BM_DeleteUser(benchmark::State& state) {
    Run(state, [&](Setup& s) {
        state.PauseTiming();
        user_editor::UpdateDatabase(s.g, s.Env(), 5, {"Again", "A", "B", "C"});
        state.ResumeTiming();
        user_editor::DeleteUser(s.g, s.Env(), 5);
    });
}

// Each figure is the median of 41 single calls; the time is wall time, since a
// write spends most of it waiting for the disk.
void Configure(benchmark::internal::Benchmark* b) {
    b->ArgName("cache")
        ->Arg(0)
        ->Arg(1)
        ->Iterations(1)
        ->Repetitions(41)
        ->ReportAggregatesOnly(true)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_GetNextUserID)->Apply(Configure);
BENCHMARK(BM_TopTenLoad)->Apply(Configure);
BENCHMARK(BM_TopTenSave)->Apply(Configure);
BENCHMARK(BM_GetPlayerData)->Apply(Configure);
BENCHMARK(BM_UserDialogUpdateDatabase)->Apply(Configure);
BENCHMARK(BM_SaveUserData)->Apply(Configure);
BENCHMARK(BM_LoadHistory)->Apply(Configure);
BENCHMARK(BM_GetStandings)->Apply(Configure);
BENCHMARK(BM_TopTenDialogLoad)->Apply(Configure);
BENCHMARK(BM_ClearTopTen)->Apply(Configure);
BENCHMARK(BM_LoadUserList)->Apply(Configure);
BENCHMARK(BM_LoadUserForm)->Apply(Configure);
BENCHMARK(BM_UserEditorUpdateDatabase)->Apply(Configure);
BENCHMARK(BM_DeleteUser)->Apply(Configure);

} // namespace
} // namespace corvane

BENCHMARK_MAIN();
