// The database procedures on scratch files: what each reads and writes.
#include "test_support.hpp"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::ExecDirect;
using testing::MakeDate;

// The first n places as "name score date" lines, to compare whole lists at once.
std::vector<std::string> Places(const TopTenList& list, std::size_t n, bool bDates = false) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < n; ++i) {
        lines.push_back(list[i].sName + " " + std::to_string(list[i].nScore) +
                        (bDates ? " " + FormatDate(list[i].dtDate) : ""));
    }
    return lines;
}

class ProceduresTest : public ::testing::Test, protected testing::FreshSession {
protected:
    void SetCurrentUser(std::int32_t nUserID, const std::string& sName) {
        g.nUserID = nUserID;
        g.sUserName = sName;
        g.sLeftName = "Left";
        g.sTopName = "Top";
        g.sRightName = "Right";
        g.sSkillLevel = "Medium";
        g.nNumGames = 3;
        g.nWinnings = -45;
    }
    std::int64_t Query(const char* sSql) const { return testing::QueryInt(File(), sSql); }

    // Enters a score by the top-ten rule into a loaded list, as the engine does.
    void Enter(MGlobal& gOf, TopTenList& list, const std::string& sName, std::int16_t nScore) {
        const auto it = std::find_if(list.begin(), list.begin() + 10,
                                     [&](const TopTenRec& r) { return nScore > r.nScore; });
        gOf.nTopTenPos = static_cast<int>(it - list.begin());
        std::move_backward(it, list.begin() + 9, list.begin() + 10);
        *it = {sName, nScore, clock.dtNow};
    }

    void TearDown() override { EXPECT_TRUE(msg.Shown.empty()); }
};

TEST_F(ProceduresTest, NextUserIdCountsUpAndSkipsTheMarkerAndTakenIds) {
    EXPECT_THROW(CreateFreshDatabase(File()), db::DbError); // never overwrites
    EXPECT_EQ(GetNextUserID(g, env), 1);
    EXPECT_EQ(GetNextUserID(g, env), 2);
    EXPECT_EQ(Query("SELECT nextuserid FROM system"), 3);
    ExecDirect(File(), "UPDATE system SET nextuserid = 9999");
    EXPECT_EQ(GetNextUserID(g, env), 10000);
    EXPECT_EQ(Query("SELECT nextuserid FROM system"), 10001);
    ExecDirect(File(), "UPDATE system SET nextuserid = 5; INSERT INTO user (userid) VALUES (5)");
    EXPECT_EQ(GetNextUserID(g, env), 6);
    // An empty counter hands out nothing and stores nothing.
    ExecDirect(File(), "DELETE FROM system");
    EXPECT_EQ(GetNextUserID(g, env), 0);
    EXPECT_EQ(Query("SELECT count(*) FROM system"), 0);
    EXPECT_FALSE(g.bDBError);
}

TEST_F(ProceduresTest, TopTenLoadsTenPlacesAndSavesThemAll) {
    ExecDirect(File(), "INSERT INTO topten (name, score, date) VALUES "
                       "('Ann', 300, '2026-01-02 03:04:05'), ('Bob', 650, '2025-05-06 07:08:09'),"
                       "('Cy', 300, 'no date')");
    TopTenList list{};
    list[0] = {"old", 5, {}};
    list[10].sName = "untouched";
    EXPECT_TRUE(main_window::TopTenLoad(g, env, list));
    // Equal scores in stored order; an unreadable date and the empty places are dated now.
    const std::string sNow = " " + FormatDate(clock.dtNow);
    std::vector<std::string> expected = {"Bob 650 2025-05-06 07:08:09",
                                         "Ann 300 2026-01-02 03:04:05", "Cy 300" + sNow};
    expected.resize(10, " 0" + sNow);
    EXPECT_EQ(Places(list, 10, true), expected);
    EXPECT_EQ(list[10].sName, "untouched");

    g.nTopTenPos = 99;
    EXPECT_FALSE(main_window::TopTenSave(g, env, list));
    EXPECT_EQ(Query("SELECT count(*) FROM topten"), 10);
    TopTenList again{};
    main_window::TopTenLoad(g, env, again);
    EXPECT_EQ(Places(again, 10, true), expected);
}

TEST_F(ProceduresTest, TopTenSaveMergesAnEntrySavedMeanwhile) {
    // Two computers load the same list, then both enter a score.
    TopTenList mine{};
    TopTenList theirs{};
    main_window::TopTenLoad(g, env, mine);
    main_window::TopTenLoad(g, env, theirs);
    MGlobal other = g;
    Enter(other, theirs, "Theirs", 700);
    EXPECT_EQ(main_window::TopTenSave(other, env, theirs), 0);
    Enter(g, mine, "Mine", 650);
    // The later save keeps the other entry and reports the place it really took.
    EXPECT_EQ(main_window::TopTenSave(g, env, mine), 1);
    EXPECT_EQ(g.nTopTenPos, 1);
    EXPECT_EQ(Places(mine, 3), (std::vector<std::string>{"Theirs 700", "Mine 650", " 0"}));

    // An equal score goes below the stored one.
    TopTenList stale{};
    stale[0] = {"Same", 700, clock.dtNow};
    g.nTopTenPos = 0;
    EXPECT_EQ(main_window::TopTenSave(g, env, stale), 1);
    EXPECT_EQ(Places(stale, 3), (std::vector<std::string>{"Theirs 700", "Same 700", "Mine 650"}));

    // An entry that no longer qualifies changes nothing.
    for (std::size_t i = 0; i < 10; ++i) {
        stale[i] = {"P" + std::to_string(i), static_cast<std::int16_t>(1000 - i), clock.dtNow};
    }
    g.nTopTenPos = 99;
    main_window::TopTenSave(g, env, stale);
    stale[9] = {"Late", 500, clock.dtNow};
    g.nTopTenPos = 9;
    EXPECT_FALSE(main_window::TopTenSave(g, env, stale));
    EXPECT_EQ(g.nTopTenPos, 99);
    EXPECT_EQ(stale[9].sName, "P9");
    EXPECT_EQ(Query("SELECT count(*) FROM topten WHERE name = 'Late'"), 0);
    EXPECT_EQ(Query("SELECT count(*) FROM topten"), 10);
}

TEST_F(ProceduresTest, TopTenDialogOrdersEqualScoresByDateReadsElevenAndClears) {
    ExecDirect(File(),
               "INSERT INTO topten (name, score, date) VALUES "
               "('Newer', 400, '2026-03-01 00:00:00'), ('Zero', 0, ''), "
               "('Older', 400, '2025-12-31 23:59:59'), ('Top', 900, '');"
               "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 9) "
               "INSERT INTO topten (name, score, date) SELECT 'R' || i, 300 - i, '' FROM n");
    TopTenList list{};
    top_ten_dialog::TopTenLoad(g, env, list);
    EXPECT_EQ(Places(list, 11), (std::vector<std::string>{"Top 900", "Older 400", "Newer 400",
                                                          "R0 300", "R1 299", "R2 298", "R3 297",
                                                          "R4 296", "R5 295", "R6 294", "R7 293"}));
    EXPECT_TRUE(top_ten_dialog::ClearTopTen(g, env));
    EXPECT_EQ(Query("SELECT count(*) FROM topten"), 0);
    top_ten_dialog::TopTenLoad(g, env, list);
    EXPECT_EQ(Places(list, 10), std::vector<std::string>(10, " 0"));
}

TEST_F(ProceduresTest, UserRecordsAreWrittenByTheirOwnRowWithAnyCharacters) {
    EXPECT_TRUE(user_dialog::GetPlayerData(g, env).empty());
    SetCurrentUser(GetNextUserID(g, env), "O'Brien \"x\"; --");
    user_dialog::UpdateDatabase(g, env);
    SetCurrentUser(GetNextUserID(g, env), "Sam");
    user_dialog::UpdateDatabase(g, env);
    g.sSkillLevel = "Hard";
    g.sUserName = "Anna B";
    EXPECT_TRUE(user_dialog::UpdateDatabase(g, env)); // the same row again

    auto users = user_dialog::GetPlayerData(g, env);
    ASSERT_EQ(users.size(), 2U);
    const UserRec& first = users[0];
    EXPECT_EQ(std::tie(first.nUserID, first.sName, first.sPlayer1, first.sPlayer2, first.sPlayer3,
                       first.sSkillLevel, first.nNumGames, first.nWinnings),
              std::make_tuple(1, std::string("O'Brien \"x\"; --"), std::string("Left"),
                              std::string("Top"), std::string("Right"), std::string("Medium"),
                              std::int16_t{3}, -45));
    EXPECT_EQ(users[1].sName, "Anna B");
    EXPECT_EQ(users[1].sSkillLevel, "Hard");

    // The game's save writes the record but not the name, and only into its own row.
    g.nNumGames = 4;
    g.nWinnings = 105;
    g.sLeftName = "Newleft";
    g.sUserName = "Renamed";
    EXPECT_TRUE(game_over::SaveUserData(g, env, {}));
    users = user_dialog::GetPlayerData(g, env);
    EXPECT_EQ(std::tie(users[1].sName, users[1].sPlayer1, users[1].nNumGames, users[1].nWinnings),
              std::make_tuple(std::string("Anna B"), std::string("Newleft"), std::int16_t{4}, 105));
    EXPECT_EQ(std::tie(users[0].sPlayer1, users[0].nNumGames),
              std::make_tuple(std::string("Left"), std::int16_t{3}));

    // A row deleted meanwhile is written anew rather than lost.
    ExecDirect(File(), "DELETE FROM user WHERE userid = 2");
    game_over::SaveUserData(g, env, {});
    EXPECT_EQ(Query("SELECT winnings FROM user WHERE userid = 2"), 105);
}

TEST_F(ProceduresTest, HistoryKeepsTheGamesTheRecordCounts) {
    // A file made before the history: reading finds no games and the first save
    // adds the table, keeping everything else.
    ExecDirect(File(), "DROP TABLE history; INSERT INTO topten (name) VALUES ('kept')");
    SetCurrentUser(1, "Sam");
    user_dialog::UpdateDatabase(g, env);
    ASSERT_TRUE(user_stats::LoadHistory(g, env, 100));
    EXPECT_TRUE(user_stats::LoadHistory(g, env, 100)->empty());
    g.nNumGames = 4;
    EXPECT_TRUE(game_over::SaveUserData(g, env, {2, 260, true}));
    clock.dtNow += std::chrono::hours(1);
    g.nNumGames = 5;
    EXPECT_TRUE(game_over::SaveUserData(g, env, {3, 90, false}));
    EXPECT_EQ(Query("SELECT count(*) FROM topten WHERE name = 'kept'"), 1);

    auto games = user_stats::LoadHistory(g, env, 100);
    ASSERT_TRUE(games);
    ASSERT_EQ(games->size(), 2U);
    const HistoryRec& first = games->at(0);
    EXPECT_EQ(std::tie(first.dtDate, first.nLevel, first.sSkillLevel, first.nFunds, first.bWon),
              std::make_tuple(MakeDate(2026, 12, 6, 10, 30), 2, std::string("Medium"),
                              std::int16_t{260}, true));
    EXPECT_FALSE(games->at(1).bWon);
    games = user_stats::LoadHistory(g, env, 1);
    ASSERT_EQ(games->size(), 1U);
    EXPECT_EQ(games->at(0).nLevel, 3);

    SetCurrentUser(2, "Kim");
    g.nNumGames = 1;
    game_over::SaveUserData(g, env, {1, 200, false});
    // Totals reset to zero clear the history with the record's save, and a
    // deleted user's history goes with it; other users keep theirs.
    SetCurrentUser(1, "Sam");
    g.nNumGames = 0;
    user_dialog::UpdateDatabase(g, env);
    EXPECT_EQ(Query("SELECT count(*) FROM history WHERE userid = 1"), 0);
    EXPECT_EQ(Query("SELECT count(*) FROM history WHERE userid = 2"), 1);
    EXPECT_TRUE(user_editor::DeleteUser(g, env, 2));
    EXPECT_EQ(Query("SELECT count(*) FROM history"), 0);
}

TEST_F(ProceduresTest, StandingsRankSeatsByFunds) {
    SetCurrentUser(1, "Me");
    const auto Standings = [&] {
        std::vector<std::string> lines;
        for (const StandingRec& s : g.Standings) {
            lines.push_back(s.sName + " " + std::to_string(s.nFunds));
        }
        return lines;
    };
    EXPECT_TRUE(GetStandings(g, env, {150, 320, 150, 180}));
    EXPECT_EQ(Standings(),
              (std::vector<std::string>{"Top 320", "Me 180", "Left 150", "Right 150"}));
    GetStandings(g, env, {-20, 0, 500, 300});
    EXPECT_EQ(Standings(), (std::vector<std::string>{"Right 500", "Me 300", "Top 0", "Left -20"}));
    EXPECT_EQ(Query("SELECT count(*) FROM player"), 4);
}

TEST_F(ProceduresTest, UserEditorListsEditsAndDeletes) {
    const auto List = [&] {
        std::vector<std::string> lines;
        for (const UserListEntry& e : user_editor::LoadUserList(g, env)) {
            lines.push_back(e.sText + " " + std::to_string(e.nItemData));
        }
        return lines;
    };
    EXPECT_EQ(List(), std::vector<std::string>{"<New User> 9999"});
    auto form = user_editor::LoadUserForm(g, env, kNewUserID);
    ASSERT_TRUE(form);
    EXPECT_EQ(std::tie(form->sName, form->sPlayer1, form->sPlayer3),
              std::tie("<New User>", "Player 1", "Player 3"));

    const std::int32_t nID = GetNextUserID(g, env);
    EXPECT_TRUE(user_editor::UpdateDatabase(g, env, nID, {"  Kim ", "A", "B", "C"}));
    EXPECT_EQ(Query("SELECT count(*) FROM user WHERE skilllevel = 'Easy' AND numgames = 0 AND "
                    "winnings = 0"),
              1);
    ExecDirect(File(), "UPDATE user SET numgames = 7, skilllevel = 'Hard'");
    EXPECT_TRUE(user_editor::UpdateDatabase(g, env, nID, {"Kimberly", "D", "E", "F"}));
    EXPECT_EQ(Query("SELECT numgames FROM user WHERE skilllevel = 'Hard'"), 7);
    form = user_editor::LoadUserForm(g, env, nID);
    ASSERT_TRUE(form);
    EXPECT_EQ(std::tie(form->sName, form->sPlayer2), std::tie("Kimberly", "E"));

    ExecDirect(File(), "UPDATE user SET name = '  Kim  '");
    EXPECT_EQ(List(), (std::vector<std::string>{"Kim 1", "<New User> 9999"}));
    EXPECT_TRUE(user_editor::DeleteUser(g, env, nID));
    EXPECT_EQ(Query("SELECT count(*) FROM user"), 0);
}

TEST_F(ProceduresTest, KeyIsDerivedOncePerFileAndRunUnlessTheCacheIsOff) {
    StorageEnv run(msg, files, clock, env.sAppPath); // a run of its own
    StorageEnv plain(msg, files, clock, env.sAppPath, false);
    for (int i = 0; i < 3; ++i) {
        TopTenList list{};
        main_window::TopTenLoad(g, run, list);
        EXPECT_EQ(GetNextUserID(g, run), 2 * i + 1);
        EXPECT_EQ(GetNextUserID(g, plain), 2 * i + 2);
    }
    EXPECT_EQ(run.keys.Derivations(), 1);
    EXPECT_EQ(plain.keys.Derivations(), 0);

    // A replaced file has a new salt and gets its own key.
    std::filesystem::remove(File());
    CreateFreshDatabase(File());
    EXPECT_EQ(GetNextUserID(g, run), 1);
    EXPECT_EQ(run.keys.Derivations(), 2);
}

TEST(DateTextTest, RoundTripsAndSortsAsText) {
    const Date dt = MakeDate(2026, 2, 28, 23, 5, 9);
    EXPECT_EQ(FormatDate(dt), "2026-02-28 23:05:09");
    EXPECT_EQ(ParseDate("2026-02-28 23:05:09"), dt);
    EXPECT_LT(FormatDate(MakeDate(2025, 12, 31, 23, 59, 59)), FormatDate(MakeDate(2026, 1, 1)));
    for (const char* s : {"", "2026-02-30 00:00:00", "2026-02-28 24:00:00", "2026-02-28 23:60:00",
                          "2026-02-28 23:05:60", "2026-02-28 23:05:09x", "2026-02-28T23:05:09"}) {
        EXPECT_FALSE(ParseDate(s)) << s;
    }
}

} // namespace
} // namespace corvane
