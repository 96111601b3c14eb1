// Shared pieces of the storage tests: a scratch folder, a fixed clock, and direct
// access to a database file for setting up and checking its rows.
#pragma once

#include "engine/clock.hpp"
#include "storage/db.hpp"
#include "storage/game_db.hpp"
#include "storage/schema.hpp"

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

namespace corvane::testing {

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("corvane-storage-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string Sub(const std::string& sName) const {
        std::filesystem::create_directories(path_ / sName);
        return (path_ / sName).string();
    }

private:
    std::filesystem::path path_;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(Date dt) : dtNow(dt) {}
    std::uint32_t TickCount() override { return 0; }
    Date Now() override { return dtNow; }
    Date dtNow;
};

inline Date MakeDate(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
    using namespace std::chrono;
    return sys_days{year{y} / month{m} / day{d}} + hours{hh} + minutes{mm} + seconds{ss};
}

// The tests' own derived keys, so that looking into a file does not pay for the
// key derivation each time (it is slow under the sanitizers).
inline KeyCache& TestKeys() {
    static KeyCache keys;
    return keys;
}

// Opens a database file for arranging and checking rows.
inline db::Database OpenDirect(const std::string& sFile) {
    return db::Database::Open(sFile, TestKeys());
}

// Puts a fresh database at sFile: a copy of one made once per test program.
inline void FreshDatabase(const std::string& sFile) {
    static const TempDir dir;
    static const std::filesystem::path templateFile = [] {
        const auto path = dir.Path() / "template.mdb";
        CreateFreshDatabase(path.string());
        return path;
    }();
    std::filesystem::copy_file(templateFile, sFile);
}

inline std::int64_t QueryInt(const std::string& sFile, const char* sSql) {
    db::Database db = OpenDirect(sFile);
    db::Statement query(db, sSql);
    return query.Step() ? query.Int(0) : -1;
}

inline void ExecDirect(const std::string& sFile, const char* sSql) {
    db::Database db = OpenDirect(sFile);
    db.Exec(sSql);
}

} // namespace corvane::testing
