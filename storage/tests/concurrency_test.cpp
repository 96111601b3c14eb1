// Processes that share one database file: writers killed at random moments, and
// four processes playing games on the same file at once.
#include "test_support.hpp"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace corvane {
namespace {

using testing::QueryInt;

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
    for (char c = 0; ::read(fd, &c, 1) == 1; sLine += c) {
        if (c == '\n') {
            return true;
        }
    }
    return false;
}

// Starts a child process running body(fd), which never returns; fdRead gets the
// other end of its pipe.
pid_t Spawn(const std::function<void(int)>& body, int& fdRead) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return -1;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        body(fds[1]);
        ::_exit(0);
    }
    ::close(fds[1]);
    fdRead = fds[0];
    return pid;
}

// Every user's game count is the number of its history rows.
constexpr const char* kUsersWhoseGamesDifferFromTheirHistory =
    "SELECT count(*) FROM user WHERE numgames <> "
    "(SELECT count(*) FROM history WHERE history.userid = user.userid)";

std::string GenName(int nGen, std::size_t i) {
    return "g" + std::to_string(nGen) + "-" + std::to_string(i);
}

// Saves generation nGen as a whole top ten.
bool SaveGeneration(testing::Session& s, int nGen) {
    TopTenList list{};
    for (std::size_t i = 0; i < 10; ++i) {
        list[i] = {GenName(nGen, i), static_cast<std::int16_t>(1000 - i), s.clock.dtNow};
    }
    s.g.nTopTenPos = 99;
    main_window::TopTenSave(s.g, s.env, list);
    return s.msg.Shown.empty() && !s.g.bDBError;
}

// The child of the crash test: saves whole top tens and new users who play one
// game for ever, telling the parent after each commit.
[[noreturn]] void Writer(const std::string& sApp, const KeyCache& keys, int fd) {
    testing::Session s(sApp);
    s.env.keys = keys; // the key the parent derived for this file: one run, one derivation
    TopTenList list{};
    main_window::TopTenLoad(s.g, s.env, list);
    Tell(fd, "R");
    for (int nGen = std::stoi(list[0].sName.substr(1)) + 1;; ++nGen) {
        if (!SaveGeneration(s, nGen)) {
            ::_exit(3);
        }
        Tell(fd, "T " + std::to_string(nGen));
        s.g.nUserID = GetNextUserID(s.g, s.env);
        s.g.sUserName = "u" + std::to_string(s.g.nUserID);
        s.g.nWinnings = s.g.nUserID;
        s.g.nNumGames = 0;
        user_dialog::UpdateDatabase(s.g, s.env);
        s.g.nNumGames = 1;
        game_over::SaveUserData(s.g, s.env, {1, 250, true});
        if (!s.msg.Shown.empty() || s.g.bDBError || s.g.nUserID == 0) {
            ::_exit(4);
        }
        Tell(fd, "U " + std::to_string(s.g.nUserID));
    }
}

TEST(CrashSafetyTest, KilledWritersLeaveTheOldStateOrTheNew) {
    testing::TempDir dir;
    testing::Session s(dir.Sub("app"));
    const std::string sApp = s.env.sAppPath;
    const std::string sFile = s.File();
    CreateFreshDatabase(sFile);
    // As made by an older copy: the first writer adds the history as it goes.
    testing::ExecDirect(sFile, "DROP TABLE history");
    ASSERT_TRUE(SaveGeneration(s, 0));

    KeyCache keys;
    db::Database::Open(sFile, keys); // derives the key once for parent and children
    std::mt19937 rng(1206);
    std::uniform_int_distribution<int> extraLines(0, 2);
    std::uniform_real_distribution<double> fraction(0.0, 1.0);
    int nLastGen = 0;
    std::set<std::int64_t> reportedUsers;
    constexpr int kKills = 200;
    for (int nKill = 0; nKill < kKills; ++nKill) {
        int fd = -1;
        const pid_t pid = Spawn([&](int fdWrite) { Writer(sApp, keys, fdWrite); }, fd);
        ASSERT_GE(pid, 0);
        // The kill comes at a random moment of the writer's work: after a random
        // number of its reports, within the time one save has been taking.
        std::vector<std::string> lines;
        std::string sLine;
        ASSERT_TRUE(ReadLine(fd, sLine));
        ASSERT_EQ(sLine, "R");
        auto tLast = std::chrono::steady_clock::now();
        std::chrono::duration<double, std::micro> cycle = std::chrono::milliseconds(20);
        for (int n = extraLines(rng); n > 0; --n) {
            ASSERT_TRUE(ReadLine(fd, sLine));
            lines.push_back(sLine);
            const auto tNow = std::chrono::steady_clock::now();
            cycle = tNow - tLast;
            tLast = tNow;
        }
        ::usleep(static_cast<useconds_t>(fraction(rng) * cycle.count()));
        ::kill(pid, SIGKILL);
        int nStatus = 0;
        ASSERT_EQ(::waitpid(pid, &nStatus, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(nStatus)) << "the writer stopped by itself, status " << nStatus;
        while (ReadLine(fd, sLine)) {
            lines.push_back(sLine);
        }
        ::close(fd);
        int nReportedGen = nLastGen;
        for (const std::string& sReport : lines) {
            if (sReport[0] == 'T') {
                nReportedGen = std::stoi(sReport.substr(2));
            } else {
                reportedUsers.insert(std::stoll(sReport.substr(2)));
            }
        }

        db::Database db = db::Database::Open(sFile, keys);
        db::Statement check(db, "PRAGMA integrity_check");
        ASSERT_TRUE(check.Step());
        ASSERT_EQ(check.Text(0), "ok") << "after kill " << nKill;
        // The top ten is one whole generation: the last committed or the next.
        db::Statement rows(db, "SELECT name, score FROM topten ORDER BY rowid");
        std::vector<std::string> names;
        while (rows.Step()) {
            ASSERT_EQ(rows.Int(1), 1000 - static_cast<int>(names.size()));
            names.push_back(rows.Text(0));
        }
        ASSERT_EQ(names.size(), 10U) << "after kill " << nKill;
        const int nGen = std::stoi(names[0].substr(1));
        ASSERT_TRUE(nGen == nReportedGen || nGen == nReportedGen + 1)
            << "found generation " << nGen << ", last committed " << nReportedGen;
        for (std::size_t i = 0; i < 10; ++i) {
            ASSERT_EQ(names[i], GenName(nGen, i));
        }
        nLastGen = nGen;
        // No reported user is lost, every user is whole, and no id is handed out twice.
        std::set<std::int64_t> storedUsers;
        db::Statement users(db, "SELECT userid, name, winnings FROM user");
        while (users.Step()) {
            storedUsers.insert(users.Int(0));
            ASSERT_EQ(users.Text(1), "u" + std::to_string(users.Int(0)));
            ASSERT_EQ(users.Int(2), users.Int(0));
        }
        ASSERT_TRUE(std::includes(storedUsers.begin(), storedUsers.end(), reportedUsers.begin(),
                                  reportedUsers.end()));
        ASSERT_EQ(QueryInt(sFile, kUsersWhoseGamesDifferFromTheirHistory), 0);
        ASSERT_GT(QueryInt(sFile, "SELECT nextuserid FROM system"),
                  storedUsers.empty() ? 0 : *storedUsers.rbegin());
    }
    // The writers got on with their work between the kills.
    EXPECT_GT(nLastGen, kKills / 4);
    EXPECT_GT(reportedUsers.size(), static_cast<std::size_t>(kKills / 4));
}

// One of the sharing processes: plays kGames games as a few users in turn,
// reporting its user ids. Exits non-zero when anything goes wrong.
constexpr int kPlayers = 4;
constexpr int kGames = 250;
constexpr int kGamesPerUser = 50;

std::int16_t ScoreOf(int nPlayer, int nGame) {
    return static_cast<std::int16_t>(1 + ((nGame * kPlayers + nPlayer) * 7919) % 30000);
}

void Player(const std::string& sApp, int nPlayer, int fd) {
    testing::Session s(sApp);
    MGlobal& g = s.g;
    const std::string sTag = "P" + std::to_string(nPlayer);
    const auto Fail = [&](int nCode) {
        if (!s.msg.Shown.empty()) {
            std::fprintf(stderr, "%s: %s: %s\n", sTag.c_str(), s.msg.Shown[0].sTitle.c_str(),
                         s.msg.Shown[0].sText.c_str());
        }
        ::_exit(nCode);
    };
    for (int nGame = 0; nGame < kGames; ++nGame) {
        if (nGame % kGamesPerUser == 0) {
            g.nUserID = GetNextUserID(g, s.env);
            if (g.nUserID == 0 || g.nUserID == kNewUserID) {
                Fail(2);
            }
            g.sUserName = sTag + "-u" + std::to_string(g.nUserID);
            g.sLeftName = sTag + "-left";
            g.sTopName = sTag + "-top";
            g.sRightName = sTag + "-right";
            g.nNumGames = 0;
            user_dialog::UpdateDatabase(g, s.env);
            Tell(fd, std::to_string(g.nUserID));
        }
        const std::int16_t nScore = ScoreOf(nPlayer, nGame);
        ++g.nNumGames;
        game_over::SaveUserData(g, s.env, {1, nScore, false});

        const std::array<std::int16_t, 4> aFunds = {static_cast<std::int16_t>(nGame % 7), 50,
                                                    static_cast<std::int16_t>(nGame % 3 + 100),
                                                    nScore};
        GetStandings(g, s.env, aFunds);
        std::array<std::int16_t, 4> sorted = aFunds;
        std::sort(sorted.begin(), sorted.end(), std::greater<>());
        for (std::size_t i = 0; i < 4; ++i) {
            if (g.Standings[i].nFunds != sorted[i] || !g.Standings[i].sName.starts_with(sTag)) {
                Fail(3); // another process's seats, or a wrong ranking
            }
        }

        TopTenList list{};
        main_window::TopTenLoad(g, s.env, list);
        const auto it = std::find_if(list.begin(), list.begin() + 10,
                                     [&](const TopTenRec& r) { return nScore > r.nScore; });
        if (it != list.begin() + 10) {
            std::move_backward(it, list.begin() + 9, list.begin() + 10);
            *it = {sTag + "-g" + std::to_string(nGame), nScore, s.clock.dtNow};
            g.nTopTenPos = static_cast<int>(it - list.begin());
            main_window::TopTenSave(g, s.env, list);
        }
        if (!s.msg.Shown.empty() || g.bDBError) {
            Fail(4);
        }
    }
}

TEST(SharingTest, FourProcessesPlayOnOneFile) {
    testing::TempDir dir;
    const std::string sApp = dir.Sub("app");
    const std::string sFile = DatabaseFileName(sApp);
    CreateFreshDatabase(sFile);

    std::vector<pid_t> pids;
    std::vector<int> reads(kPlayers);
    for (int nPlayer = 0; nPlayer < kPlayers; ++nPlayer) {
        pids.push_back(Spawn([&](int fd) { Player(sApp, nPlayer, fd); },
                             reads[static_cast<std::size_t>(nPlayer)]));
        ASSERT_GE(pids.back(), 0);
    }
    std::vector<std::int64_t> ids;
    for (std::size_t i = 0; i < pids.size(); ++i) {
        for (std::string s; ReadLine(reads[i], s);) {
            ids.push_back(std::stoll(s));
        }
        ::close(reads[i]);
        int nStatus = 0;
        ASSERT_EQ(::waitpid(pids[i], &nStatus, 0), pids[i]);
        ASSERT_TRUE(WIFEXITED(nStatus));
        EXPECT_EQ(WEXITSTATUS(nStatus), 0) << "player " << i;
    }

    // No id was handed out twice, and every user has all its games.
    EXPECT_EQ(std::set<std::int64_t>(ids.begin(), ids.end()).size(), ids.size());
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(kPlayers * kGames / kGamesPerUser));
    EXPECT_EQ(QueryInt(sFile, "SELECT count(*) FROM user"), static_cast<std::int64_t>(ids.size()));
    EXPECT_EQ(QueryInt(sFile, "SELECT count(*) FROM user WHERE numgames <> 50"), 0);
    EXPECT_EQ(QueryInt(sFile, kUsersWhoseGamesDifferFromTheirHistory), 0);

    // The stored top ten is the ten best of all the scores made.
    std::vector<std::pair<int, std::string>> all;
    for (int p = 0; p < kPlayers; ++p) {
        for (int n = 0; n < kGames; ++n) {
            all.emplace_back(ScoreOf(p, n), "P" + std::to_string(p) + "-g" + std::to_string(n));
        }
    }
    std::sort(all.begin(), all.end(), std::greater<>());
    all.resize(10);
    std::vector<std::pair<int, std::string>> stored;
    db::Database db = testing::OpenDirect(sFile);
    for (db::Statement rows(db, "SELECT score, name FROM topten ORDER BY score DESC");
         rows.Step();) {
        stored.emplace_back(static_cast<int>(rows.Int(0)), rows.Text(1));
    }
    EXPECT_EQ(stored, all);
}

} // namespace
} // namespace corvane
