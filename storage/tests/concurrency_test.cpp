// Processes that share one database file: writers killed at random moments, and
// four processes playing games on the same file at once.
#include "platform/fake_platform.hpp"
#include "platform/file_system.hpp"
#include "test_support.hpp"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace corvane {
namespace {

using testing::MakeDate;

// Writes one line to the parent, whole or not at all (lines are short).
void Tell(int fd, const std::string& sLine) {
    const std::string s = sLine + "\n";
    if (::write(fd, s.data(), s.size()) != static_cast<ssize_t>(s.size())) {
        ::_exit(20);
    }
}

// Waits for one line from the child; false when it ended first.
bool ReadLine(int fd, std::string& sLine) {
    sLine.clear();
    char c = 0;
    while (::read(fd, &c, 1) == 1) {
        if (c == '\n') {
            return true;
        }
        sLine += c;
    }
    return false;
}

std::vector<std::string> ReadLines(int fd) {
    std::string sAll;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        sAll.append(buffer, static_cast<std::size_t>(n));
    }
    std::vector<std::string> lines;
    std::istringstream in(sAll);
    for (std::string s; std::getline(in, s);) {
        lines.push_back(s);
    }
    return lines;
}

// Every user's game count is the number of its history rows.
constexpr const char* kUsersWhoseGamesDifferFromTheirHistory =
    "SELECT count(*) FROM user WHERE numgames <> "
    "(SELECT count(*) FROM history WHERE history.userid = user.userid)";

std::string GenName(int nGen, std::size_t i) {
    return "g" + std::to_string(nGen) + "-" + std::to_string(i);
}

// The child of the crash test: saves whole top tens and new users who play one
// game for ever, telling the parent after each commit.
[[noreturn]] void Writer(const std::string& sApp, const KeyCache& keys, int fd) {
    FakeMessageBoxes msg;
    LocalFileSystem files;
    testing::FixedClock clock(MakeDate(2026, 1, 1));
    StorageEnv env(msg, files, clock, sApp);
    env.keys = keys; // the key the parent derived for this file: one run, one derivation
    MGlobal g;
    g.sDBPath = sApp;
    TopTenList list{};
    main_window::TopTenLoad(g, env, list);
    int nGen = std::stoi(list[0].sName.substr(1));
    Tell(fd, "R");
    for (;;) {
        ++nGen;
        for (std::size_t i = 0; i < 10; ++i) {
            list[i] = {GenName(nGen, i), static_cast<std::int16_t>(1000 - i), clock.dtNow};
        }
        g.nTopTenPos = 99;
        main_window::TopTenSave(g, env, list);
        if (!msg.Shown.empty() || g.bDBError) {
            ::_exit(3);
        }
        Tell(fd, "T " + std::to_string(nGen));
        g.nUserID = GetNextUserID(g, env);
        g.sUserName = "u" + std::to_string(g.nUserID);
        g.nWinnings = g.nUserID;
        g.nNumGames = 0;
        user_dialog::UpdateDatabase(g, env);
        g.nNumGames = 1;
        game_over::SaveUserData(g, env, {1, 250, true});
        if (!msg.Shown.empty() || g.bDBError || g.nUserID == 0) {
            ::_exit(4);
        }
        Tell(fd, "U " + std::to_string(g.nUserID));
    }
}

TEST(CrashSafetyTest, KilledWritersLeaveTheOldStateOrTheNew) {
    testing::TempDir dir;
    const std::string sApp = dir.Sub("app");
    const std::string sFile = DatabaseFileName(sApp);
    CreateFreshDatabase(sFile);
    // As made by an older copy: the first writer adds the history as it goes.
    testing::ExecDirect(sFile, "DROP TABLE history");
    {
        FakeMessageBoxes msg;
        LocalFileSystem files;
        testing::FixedClock clock(MakeDate(2026, 1, 1));
        StorageEnv env(msg, files, clock, sApp);
        MGlobal g;
        g.sDBPath = sApp;
        TopTenList list{};
        for (std::size_t i = 0; i < 10; ++i) {
            list[i] = {GenName(0, i), static_cast<std::int16_t>(1000 - i), clock.dtNow};
        }
        g.nTopTenPos = 99;
        main_window::TopTenSave(g, env, list);
        ASSERT_TRUE(msg.Shown.empty());
    }

    KeyCache keys;
    db::Database::Open(sFile, keys); // derives the key once for parent and children
    std::mt19937 rng(1206);
    std::uniform_int_distribution<int> extraLines(0, 2);
    std::uniform_real_distribution<double> fraction(0.0, 1.0);
    int nLastGen = 0;
    std::set<std::int64_t> reportedUsers;
    constexpr int kKills = 200;
    for (int nKill = 0; nKill < kKills; ++nKill) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(fds[0]);
            Writer(sApp, keys, fds[1]);
        }
        ::close(fds[1]);
        // The kill comes at a random moment of the writer's work: after a random
        // number of its reports, within the time one save has been taking.
        std::vector<std::string> lines;
        std::string sReport;
        ASSERT_TRUE(ReadLine(fds[0], sReport));
        ASSERT_EQ(sReport, "R");
        auto tLast = std::chrono::steady_clock::now();
        std::chrono::duration<double, std::micro> cycle = std::chrono::milliseconds(20);
        for (int n = extraLines(rng); n > 0; --n) {
            ASSERT_TRUE(ReadLine(fds[0], sReport));
            lines.push_back(sReport);
            const auto tNow = std::chrono::steady_clock::now();
            cycle = tNow - tLast;
            tLast = tNow;
        }
        ::usleep(static_cast<useconds_t>(fraction(rng) * cycle.count()));
        ::kill(pid, SIGKILL);
        int nStatus = 0;
        ASSERT_EQ(::waitpid(pid, &nStatus, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(nStatus)) << "the writer stopped by itself, status " << nStatus;
        int nReportedGen = nLastGen;
        for (std::string& s : ReadLines(fds[0])) {
            lines.push_back(std::move(s));
        }
        ::close(fds[0]);
        for (const std::string& sLine : lines) {
            if (sLine[0] == 'T') {
                nReportedGen = std::stoi(sLine.substr(2));
            } else {
                reportedUsers.insert(std::stoll(sLine.substr(2)));
            }
        }

        db::Database db = db::Database::Open(sFile, keys);
        {
            db::Statement check(db, "PRAGMA integrity_check");
            ASSERT_TRUE(check.Step());
            ASSERT_EQ(check.Text(0), "ok") << "after kill " << nKill;
        }
        db::Statement rows(db, "SELECT name, score FROM topten ORDER BY rowid");
        std::vector<std::string> names;
        while (rows.Step()) {
            names.push_back(rows.Text(0));
            ASSERT_EQ(rows.Int(1), 1000 - static_cast<int>(names.size() - 1));
        }
        ASSERT_EQ(names.size(), 10U) << "after kill " << nKill;
        const int nGen = std::stoi(names[0].substr(1));
        ASSERT_TRUE(nGen == nReportedGen || nGen == nReportedGen + 1)
            << "found generation " << nGen << ", last committed " << nReportedGen;
        for (std::size_t i = 0; i < 10; ++i) {
            ASSERT_EQ(names[i], GenName(nGen, i));
        }
        nLastGen = nGen;

        std::set<std::int64_t> storedUsers;
        db::Statement users(db, "SELECT userid, name, winnings FROM user");
        while (users.Step()) {
            storedUsers.insert(users.Int(0));
            ASSERT_EQ(users.Text(1), "u" + std::to_string(users.Int(0)));
            ASSERT_EQ(users.Int(2), users.Int(0));
        }
        for (const std::int64_t nID : reportedUsers) {
            ASSERT_TRUE(storedUsers.contains(nID)) << "user " << nID << " was lost";
        }
        ASSERT_EQ(testing::QueryInt(sFile, kUsersWhoseGamesDifferFromTheirHistory), 0)
            << "after kill " << nKill;
        db::Statement next(db, "SELECT nextuserid FROM system");
        ASSERT_TRUE(next.Step());
        if (!storedUsers.empty()) {
            ASSERT_GT(next.Int(0), *storedUsers.rbegin());
        }
    }
    // The writers got on with their work between the kills.
    EXPECT_GT(nLastGen, kKills / 4);
    EXPECT_GT(reportedUsers.size(), static_cast<std::size_t>(kKills / 4));
}

// One of the sharing processes: plays nGames games as a few users in turn.
// Exits non-zero when anything goes wrong; reports its user ids.
constexpr int kPlayers = 4;
constexpr int kGames = 250;
constexpr int kGamesPerUser = 50;

std::int16_t ScoreOf(int nPlayer, int nGame) {
    return static_cast<std::int16_t>(1 + ((nGame * kPlayers + nPlayer) * 7919) % 30000);
}

[[noreturn]] void Player(const std::string& sApp, int nPlayer, int fd) {
    FakeMessageBoxes msg;
    LocalFileSystem files;
    testing::FixedClock clock(MakeDate(2026, 1, 1));
    StorageEnv env(msg, files, clock, sApp);
    MGlobal g;
    g.sDBPath = sApp;
    const std::string sTag = "P" + std::to_string(nPlayer);
    const auto Fail = [&](int nCode) {
        if (!msg.Shown.empty()) {
            std::fprintf(stderr, "%s: %s: %s\n", sTag.c_str(), msg.Shown[0].sTitle.c_str(),
                         msg.Shown[0].sText.c_str());
        }
        ::_exit(nCode);
    };
    for (int nGame = 0; nGame < kGames; ++nGame) {
        if (nGame % kGamesPerUser == 0) {
            g.nUserID = GetNextUserID(g, env);
            if (g.nUserID == 0 || g.nUserID == kNewUserID) {
                Fail(2);
            }
            g.sUserName = sTag + "-u" + std::to_string(g.nUserID);
            g.sLeftName = sTag + "-left";
            g.sTopName = sTag + "-top";
            g.sRightName = sTag + "-right";
            g.sSkillLevel = "Hard";
            g.nNumGames = 0;
            g.nWinnings = 0;
            user_dialog::UpdateDatabase(g, env);
            Tell(fd, std::to_string(g.nUserID));
        }
        const std::int16_t nScore = ScoreOf(nPlayer, nGame);
        ++g.nNumGames;
        g.nWinnings += nScore - 200;
        game_over::SaveUserData(g, env, {1, nScore, false});

        const std::array<std::int16_t, 4> aFunds = {static_cast<std::int16_t>(nGame % 7), 50,
                                                    static_cast<std::int16_t>(nGame % 3 + 100),
                                                    nScore};
        GetStandings(g, env, aFunds);
        std::array<std::int16_t, 4> sorted = aFunds;
        std::sort(sorted.begin(), sorted.end(), std::greater<>());
        for (std::size_t i = 0; i < 4; ++i) {
            if (g.Standings[i].nFunds != sorted[i] ||
                g.Standings[i].sName.compare(0, sTag.size(), sTag) != 0) {
                Fail(3); // another process's seats, or a wrong ranking
            }
        }

        TopTenList list{};
        main_window::TopTenLoad(g, env, list);
        for (std::size_t i = 0; i < 10; ++i) {
            if (nScore > list[i].nScore) {
                std::move_backward(list.begin() + static_cast<long>(i), list.begin() + 9,
                                   list.begin() + 10);
                list[i] = {sTag + "-g" + std::to_string(nGame), nScore, clock.dtNow};
                g.nTopTenPos = static_cast<int>(i);
                main_window::TopTenSave(g, env, list);
                break;
            }
        }
        if (!msg.Shown.empty() || g.bDBError) {
            Fail(4);
        }
    }
    ::_exit(0);
}

TEST(SharingTest, FourProcessesPlayOnOneFile) {
    testing::TempDir dir;
    const std::string sApp = dir.Sub("app");
    const std::string sFile = DatabaseFileName(sApp);
    CreateFreshDatabase(sFile);

    std::vector<pid_t> pids;
    std::vector<int> reads;
    for (int nPlayer = 0; nPlayer < kPlayers; ++nPlayer) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(fds[0]);
            Player(sApp, nPlayer, fds[1]);
        }
        ::close(fds[1]);
        pids.push_back(pid);
        reads.push_back(fds[0]);
    }
    std::vector<std::int64_t> ids;
    for (std::size_t i = 0; i < pids.size(); ++i) {
        for (const std::string& s : ReadLines(reads[i])) {
            ids.push_back(std::stoll(s));
        }
        ::close(reads[i]);
        int nStatus = 0;
        ASSERT_EQ(::waitpid(pids[i], &nStatus, 0), pids[i]);
        ASSERT_TRUE(WIFEXITED(nStatus));
        EXPECT_EQ(WEXITSTATUS(nStatus), 0) << "player " << i;
    }

    // No id was handed out twice, and every user has all its games.
    std::set<std::int64_t> unique(ids.begin(), ids.end());
    EXPECT_EQ(unique.size(), ids.size());
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(kPlayers * kGames / kGamesPerUser));
    EXPECT_EQ(testing::QueryInt(sFile, "SELECT count(*) FROM user"),
              static_cast<std::int64_t>(ids.size()));
    EXPECT_EQ(testing::QueryInt(sFile, "SELECT count(*) FROM user WHERE numgames <> 50"), 0);
    EXPECT_EQ(testing::QueryInt(sFile, kUsersWhoseGamesDifferFromTheirHistory), 0);

    // The stored top ten is the ten best of all the scores made.
    std::vector<std::pair<int, std::string>> all;
    for (int p = 0; p < kPlayers; ++p) {
        for (int n = 0; n < kGames; ++n) {
            all.emplace_back(ScoreOf(p, n), "P" + std::to_string(p) + "-g" + std::to_string(n));
        }
    }
    std::sort(all.begin(), all.end(), std::greater<>());
    db::Database db = testing::OpenDirect(sFile);
    db::Statement rows(db, "SELECT name, score FROM topten ORDER BY score DESC");
    for (std::size_t i = 0; i < 10; ++i) {
        ASSERT_TRUE(rows.Step());
        EXPECT_EQ(rows.Int(1), all[i].first);
        EXPECT_EQ(rows.Text(0), all[i].second);
    }
    EXPECT_FALSE(rows.Step());
}

} // namespace
} // namespace corvane
