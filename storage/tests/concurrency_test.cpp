// Processes that share one database file: a player killed at random moments, and
// four players on the same file at once.
#include "test_support.hpp"

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace corvane {
namespace {

using testing::Lines;

std::int16_t ScoreOf(int nPlayer, int nGame) {
    return static_cast<std::int16_t>(1 + ((nGame * 4 + nPlayer) * 7919) % 30000);
}

// A player process: nGames games, a new user every 50, each game saved with the
// user's record, ranked, and offered to the top ten. Tells the parent "R" when
// ready, "U <id>" after a new user's first save and "G" after each game; exits
// with a code other than 0 when anything goes wrong.
[[noreturn]] void Play(const std::string& sApp, int nPlayer, int nGames, int fd) {
    testing::Session s(sApp);
    s.env.keys = testing::TestKeys(); // the key the parent derived: one derivation for all
    MGlobal& g = s.g;
    const std::string sTag = "P" + std::to_string(nPlayer);
    const auto Tell = [&](bool bOk, const std::string& sLine) {
        const std::string sOut = sLine + "\n"; // short enough to arrive whole
        if (!bOk || !s.msg.Shown.empty() || g.bDBError ||
            ::write(fd, sOut.data(), sOut.size()) != std::ssize(sOut)) {
            ::_exit(2);
        }
    };
    Tell(true, "R");
    for (int nGame = 0; nGame < nGames; ++nGame) {
        if (nGame % 50 == 0) {
            g.nUserID = GetNextUserID(g, s.env);
            g.sUserName = g.sLeftName = g.sTopName = g.sRightName = sTag;
            g.nNumGames = 0;
            user_dialog::UpdateDatabase(g, s.env);
        }
        const std::int16_t nScore = ScoreOf(nPlayer, nGame);
        ++g.nNumGames;
        const bool bSaved = game_over::SaveUserData(g, s.env, {1, nScore, false});
        if (nGame % 50 == 0) {
            Tell(bSaved && g.nUserID != 0 && g.nUserID != kNewUserID,
                 "U " + std::to_string(g.nUserID));
        }
        std::array<std::int16_t, 4> aFunds = {static_cast<std::int16_t>(nGame % 7), 50,
                                              static_cast<std::int16_t>(nGame % 3 + 100), nScore};
        GetStandings(g, s.env, aFunds);
        std::sort(aFunds.begin(), aFunds.end(), std::greater<>());
        // Another process's seats, or a wrong ranking?
        const bool bRanked = bSaved && std::equal(aFunds.begin(), aFunds.end(), g.Standings.begin(),
                                                  [&](std::int16_t n, const StandingRec& r) {
                                                      return r.nFunds == n && r.sName == sTag;
                                                  });
        TopTenList list{};
        main_window::TopTenLoad(g, s.env, list);
        list[0] = {sTag + "-g" + std::to_string(nGame), nScore, {}};
        g.nTopTenPos = 0; // ranked by the save among what is stored by then
        main_window::TopTenSave(g, s.env, list);
        Tell(bRanked, "G");
    }
    ::_exit(0);
}

struct Player {
    pid_t pid = -1;
    FILE* in = nullptr; // the lines it tells
};

Player StartPlayer(const std::string& sApp, int nPlayer, int nGames) {
    std::array<int, 2> fds{};
    EXPECT_EQ(::pipe(fds.data()), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        Play(sApp, nPlayer, nGames, fds[1]);
    }
    ::close(fds[1]);
    return {pid, ::fdopen(fds[0], "r")};
}

// Hands every line the player tells to onLine, kills the player the first time
// onLine returns false, and returns the player's end status.
int Follow(const Player& player, const std::function<bool(const std::string&)>& onLine) {
    std::array<char, 64> line{};
    while (std::fgets(line.data(), line.size(), player.in) != nullptr) {
        if (!onLine(std::string(line.data(), std::strcspn(line.data(), "\n")))) {
            ::kill(player.pid, SIGKILL);
        }
    }
    std::fclose(player.in);
    int nStatus = -1;
    ::waitpid(player.pid, &nStatus, 0);
    return nStatus;
}

// Whatever must hold of the file between any two saves, as a count of faults:
// a user whose game count is not its number of history rows, a top ten not of
// ten rows, an id at or past the counter.
constexpr const char* kFaults =
    "SELECT (SELECT count(*) FROM user WHERE numgames <> "
    "(SELECT count(*) FROM history WHERE history.userid = user.userid)) + "
    "((SELECT count(*) FROM topten) <> 10) + "
    "(SELECT count(*) FROM user WHERE userid >= (SELECT nextuserid FROM system))";

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
    std::set<std::string> reportedUsers;
    int nGames = 0;
    constexpr int kKills = 200;
    for (int nKill = 0; nKill < kKills; ++nKill) {
        // Every game of the player qualifies for the top ten, so that it is written often.
        testing::ExecDirect(shared.sFile, "UPDATE topten SET score = 0");
        // The kill comes at a random moment of the player's work: after a random
        // number of its reports, within the time one report has been taking.
        int nReports = static_cast<int>(rng() % 3);
        auto tLast = std::chrono::steady_clock::now();
        std::chrono::duration<double, std::micro> cycle = std::chrono::milliseconds(20);
        const Player player = StartPlayer(shared.sApp, nKill % 4, 1000);
        const int nStatus = Follow(player, [&](const std::string& s) {
            if (s[0] == 'U') {
                reportedUsers.insert(s.substr(2));
            }
            nGames += s == "G" ? 1 : 0;
            const auto tNow = std::chrono::steady_clock::now();
            cycle = s == "R" ? cycle : tNow - tLast;
            tLast = tNow;
            if (nReports-- != 0) {
                return true; // before the kill, or after it
            }
            ::usleep(static_cast<useconds_t>(std::uniform_real_distribution<>(0, 1)(rng) *
                                             cycle.count()));
            return false;
        });
        ASSERT_TRUE(WIFSIGNALED(nStatus)) << "the player stopped by itself, status " << nStatus;

        // The file is sound, no reported user is lost, and the records agree.
        ASSERT_EQ(testing::Rows(shared.sFile, "PRAGMA integrity_check"), Lines{"ok"});
        const Lines users = testing::Rows(shared.sFile, "SELECT userid FROM user");
        ASSERT_TRUE(std::ranges::includes(std::set(users.begin(), users.end()), reportedUsers))
            << "a user was lost at kill " << nKill;
        ASSERT_EQ(testing::QueryInt(shared.sFile, kFaults), 0) << "after kill " << nKill;
    }
    // The players got on with their work between the kills.
    EXPECT_GT(nGames, kKills / 4);
    EXPECT_GT(reportedUsers.size(), static_cast<std::size_t>(kKills / 4));
}

TEST(SharingTest, FourProcessesPlayOnOneFile) {
    SharedFile shared;
    constexpr int kGames = 250;
    std::array<Player, 4> players{};
    for (std::size_t p = 0; p < players.size(); ++p) {
        players[p] = StartPlayer(shared.sApp, static_cast<int>(p), kGames);
    }
    for (const Player& player : players) {
        const int nStatus = Follow(player, [](const std::string&) { return true; });
        EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0) << "status " << nStatus;
    }
    // No id was handed out twice (two players on one id would leave one row
    // whose game count does not match its history), every user has all its
    // games, and the stored top ten is the ten best of all the scores made.
    EXPECT_EQ(testing::Rows(shared.sFile, "SELECT count(*) || ' ' || sum(numgames = 50) FROM user"),
              Lines{"20 20"});
    EXPECT_EQ(testing::QueryInt(shared.sFile, kFaults), 0);
    std::map<int, std::string, std::greater<>> all;
    for (int n = 0; n < 4 * kGames; ++n) {
        const int nScore = ScoreOf(n % 4, n / 4);
        all[nScore] =
            std::to_string(nScore) + " P" + std::to_string(n % 4) + "-g" + std::to_string(n / 4);
    }
    Lines best;
    for (auto it = all.begin(); best.size() < 10; ++it) {
        best.push_back(it->second);
    }
    EXPECT_EQ(
        testing::Rows(shared.sFile, "SELECT score || ' ' || name FROM topten ORDER BY score DESC"),
        best);
}

} // namespace
} // namespace corvane
