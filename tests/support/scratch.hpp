// Test helpers without Qt: a scratch folder that goes away with everything in
// it, and a clock that reads what the test sets.
#pragma once

#include "engine/clock.hpp"

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

namespace corvane::testing {

inline Date MakeDate(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
    using namespace std::chrono;
    return sys_days{year{y} / month{m} / day{d}} + hours{hh} + minutes{mm} + seconds{ss};
}

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("corvane-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    TempDir(TempDir&&) = delete;
    TempDir& operator=(TempDir&&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // A folder inside, made on the way.
    std::string Sub(const std::string& sName) const {
        std::filesystem::create_directories(path_ / sName);
        return (path_ / sName).string();
    }

private:
    std::filesystem::path path_;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(Date dt = MakeDate(2026, 12, 6, 10), std::uint32_t nTick = 0)
        : dtNow(dt), nTicks(nTick) {}
    std::uint32_t TickCount() override { return nTicks; }
    Date Now() override { return dtNow; }

    Date dtNow;
    std::uint32_t nTicks;
};

} // namespace corvane::testing
