// Processes that share one database file: a player killed at random moments, and
// four players on the same file at once.
#include "test_support.hpp"

#include <algorithm>
#include <array>
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

std::int16_t ScoreOf(int nPlayer, int nGame) {
    return static_cast<std::int16_t>(1 + ((nGame * 4 + nPlayer) * 7919) % 30000);
}

// A player process: nGames games, a new user every 50, each game saved with the
// user's record, ranked, and entered into the top ten when it qualifies. Tells
// the parent "R" when ready, "U <id>" after a new user's first save and "G" after
// each game; exits with a code other than 0 when anything goes wrong.
[[noreturn]] void Play(const std::string& sApp, int nPlayer, int nGames, int fd) {
    testing::Session s(sApp);
    s.env.keys = testing::TestKeys(); // the key the parent derived: one derivation for all
    MGlobal& g = s.g;
    const std::string sTag = "P" + std::to_string(nPlayer);
    const auto Check = [&](bool bOk, int nCode) {
        if (!bOk || !s.msg.Shown.empty() || g.bDBError) {
            for (const ShownMessage& m : s.msg.Shown) {
                std::fprintf(stderr, "%s: %s: %s\n", sTag.c_str(), m.sTitle.c_str(),
                             m.sText.c_str());
            }
            ::_exit(nCode);
        }
    };
    Tell(fd, "R");
    for (int nGame = 0; nGame < nGames; ++nGame) {
        if (nGame % 50 == 0) {
            g.nUserID = GetNextUserID(g, s.env);
            Check(g.nUserID != 0 && g.nUserID != kNewUserID, 2);
            g.sUserName = sTag + "-u" + std::to_string(g.nUserID);
            g.sLeftName = sTag + "-left";
            g.sTopName = sTag + "-top";
            g.sRightName = sTag + "-right";
            g.nNumGames = 0;
            user_dialog::UpdateDatabase(g, s.env);
        }
        const std::int16_t nScore = ScoreOf(nPlayer, nGame);
        ++g.nNumGames;
        Check(game_over::SaveUserData(g, s.env, {1, nScore, false}), 3);
        if (nGame % 50 == 0) {
            Tell(fd, "U " + std::to_string(g.nUserID));
        }

        std::array<std::int16_t, 4> aFunds = {static_cast<std::int16_t>(nGame % 7), 50,
                                              static_cast<std::int16_t>(nGame % 3 + 100), nScore};
        GetStandings(g, s.env, aFunds);
        std::sort(aFunds.begin(), aFunds.end(), std::greater<>());
        for (std::size_t i = 0; i < 4; ++i) {
            // Another process's seats, or a wrong ranking?
            Check(g.Standings[i].nFunds == aFunds[i] && g.Standings[i].sName.starts_with(sTag), 4);
        }

        TopTenList list{};
        main_window::TopTenLoad(g, s.env, list);
        if (testing::EnterScore(g, list, {sTag + "-g" + std::to_string(nGame), nScore, {}})) {
            main_window::TopTenSave(g, s.env, list);
        }
        Check(true, 5);
        Tell(fd, "G");
    }
    ::_exit(0);
}

// Starts a player; fd gets the reading end of its pipe.
pid_t StartPlayer(const std::string& sApp, int nPlayer, int nGames, int& fd) {
    std::array<int, 2> fds{};
    if (::pipe(fds.data()) != 0) {
        return -1;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        Play(sApp, nPlayer, nGames, fds[1]);
    }
    ::close(fds[1]);
    fd = fds[0];
    return pid;
}

// Every user's game count is the number of its history rows.
constexpr const char* kUsersWhoseGamesDifferFromTheirHistory =
    "SELECT count(*) FROM user WHERE numgames <> "
    "(SELECT count(*) FROM history WHERE history.userid = user.userid)";

// A fresh database in a scratch folder, its key derived once for all players.
struct SharedFile {
    SharedFile() {
        CreateFreshDatabase(sFile);
        testing::OpenDirect(sFile);
    }
    testing::TempDir dir;
    const std::string sApp = dir.Sub("app");
    const std::string sFile = DatabaseFileName(sApp);
};

TEST(CrashSafetyTest, KilledPlayersLeaveTheOldStateOrTheNew) {
    SharedFile shared;
    // As made by an older copy: the first player adds the history as it goes.
    testing::ExecDirect(shared.sFile, "DROP TABLE history; WITH RECURSIVE n(i) AS (SELECT 1 UNION "
                                      "ALL SELECT i + 1 FROM n WHERE i < 10) "
                                      "INSERT INTO topten (name) SELECT 'seed' FROM n");
    std::mt19937 rng(1206); // NOLINT(cert-msc32-c,cert-msc51-cpp): the same inputs every run
    std::set<std::int64_t> reportedUsers;
    int nGames = 0;
    const auto Note = [&](const std::string& sLine) {
        if (sLine[0] == 'U') {
            reportedUsers.insert(std::stoll(sLine.substr(2)));
        }
        nGames += sLine == "G" ? 1 : 0;
    };
    constexpr int kKills = 200;
    for (int nKill = 0; nKill < kKills; ++nKill) {
        // Every game of the player qualifies for the top ten, so that it is written often.
        testing::ExecDirect(shared.sFile, "UPDATE topten SET score = 0");
        int fd = -1;
        const pid_t pid = StartPlayer(shared.sApp, nKill % 4, 1000, fd);
        ASSERT_GE(pid, 0);
        // The kill comes at a random moment of the player's work: after a random
        // number of its reports, within the time one report has been taking.
        std::string sLine;
        ASSERT_TRUE(ReadLine(fd, sLine));
        auto tLast = std::chrono::steady_clock::now();
        std::chrono::duration<double, std::micro> cycle = std::chrono::milliseconds(20);
        for (int n = static_cast<int>(rng() % 3); n > 0; --n) {
            ASSERT_TRUE(ReadLine(fd, sLine));
            Note(sLine);
            const auto tNow = std::chrono::steady_clock::now();
            cycle = tNow - tLast;
            tLast = tNow;
        }
        ::usleep(
            static_cast<useconds_t>(std::uniform_real_distribution<>(0, 1)(rng) * cycle.count()));
        ::kill(pid, SIGKILL);
        int nStatus = 0;
        ASSERT_EQ(::waitpid(pid, &nStatus, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(nStatus)) << "the player stopped by itself, status " << nStatus;
        while (ReadLine(fd, sLine)) {
            Note(sLine);
        }
        ::close(fd);

        // The file is sound, no reported user is lost, every record has its
        // history, the top ten is whole and the counter is past every id.
        db::Database db = testing::OpenDirect(shared.sFile);
        db::Statement check(db, "PRAGMA integrity_check");
        ASSERT_TRUE(check.Step() && check.Text(0) == "ok") << "after kill " << nKill;
        db::Statement find(db, "SELECT count(*) FROM user WHERE userid = ?");
        for (const std::int64_t nID : reportedUsers) {
            find.Bind(1, nID);
            ASSERT_TRUE(find.Step() && find.Int(0) == 1) << "user " << nID << " was lost";
            find.Reset();
        }
        ASSERT_EQ(QueryInt(shared.sFile, kUsersWhoseGamesDifferFromTheirHistory), 0);
        ASSERT_EQ(QueryInt(shared.sFile, "SELECT count(*) FROM topten"), 10);
        ASSERT_EQ(QueryInt(shared.sFile, "SELECT count(*) FROM user "
                                         "WHERE userid >= (SELECT nextuserid FROM system)"),
                  0);
    }
    // The players got on with their work between the kills.
    EXPECT_GT(nGames, kKills / 4);
    EXPECT_GT(reportedUsers.size(), static_cast<std::size_t>(kKills / 4));
}

TEST(SharingTest, FourProcessesPlayOnOneFile) {
    SharedFile shared;
    constexpr int kGames = 250;
    std::vector<pid_t> pids(4);
    std::vector<int> fds(4);
    for (std::size_t i = 0; i < 4; ++i) {
        pids[i] = StartPlayer(shared.sApp, static_cast<int>(i), kGames, fds[i]);
        ASSERT_GE(pids[i], 0);
    }
    std::vector<std::int64_t> ids;
    for (std::size_t i = 0; i < 4; ++i) {
        for (std::string s; ReadLine(fds[i], s);) {
            if (s[0] == 'U') {
                ids.push_back(std::stoll(s.substr(2)));
            }
        }
        ::close(fds[i]);
        int nStatus = 0;
        ASSERT_EQ(::waitpid(pids[i], &nStatus, 0), pids[i]);
        ASSERT_TRUE(WIFEXITED(nStatus));
        EXPECT_EQ(WEXITSTATUS(nStatus), 0) << "player " << i;
    }

    // No id was handed out twice, and every user has all its games.
    EXPECT_EQ(std::set<std::int64_t>(ids.begin(), ids.end()).size(), ids.size());
    EXPECT_EQ(ids.size(), 4U * kGames / 50);
    EXPECT_EQ(QueryInt(shared.sFile, "SELECT count(*) FROM user"), std::ssize(ids));
    EXPECT_EQ(QueryInt(shared.sFile, "SELECT count(*) FROM user WHERE numgames <> 50"), 0);
    EXPECT_EQ(QueryInt(shared.sFile, kUsersWhoseGamesDifferFromTheirHistory), 0);

    // The stored top ten is the ten best of all the scores made.
    std::vector<std::pair<int, std::string>> all;
    for (int p = 0; p < 4; ++p) {
        for (int n = 0; n < kGames; ++n) {
            all.emplace_back(ScoreOf(p, n), "P" + std::to_string(p) + "-g" + std::to_string(n));
        }
    }
    std::sort(all.begin(), all.end(), std::greater<>());
    all.resize(10);
    std::vector<std::pair<int, std::string>> stored;
    db::Database db = testing::OpenDirect(shared.sFile);
    for (db::Statement rows(db, "SELECT score, name FROM topten ORDER BY score DESC");
         rows.Step();) {
        stored.emplace_back(static_cast<int>(rows.Int(0)), rows.Text(1));
    }
    EXPECT_EQ(stored, all);
}

} // namespace
} // namespace corvane
