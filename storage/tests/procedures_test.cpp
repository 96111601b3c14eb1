// The database procedures on scratch files: what each reads and writes, the
// recovery decisions, and the messages.
#include "platform/fake_platform.hpp"
#include "platform/file_system.hpp"
#include "test_support.hpp"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::ExecDirect;
using testing::MakeDate;
using testing::OpenDirect;
using testing::QueryInt;

class ProceduresTest : public ::testing::Test {
protected:
    ProceduresTest()
        : sApp_(dir_.Sub("app")), clock_(MakeDate(2026, 12, 6, 10, 30, 0)),
          env_(msg_, files_, clock_, sApp_) {
        testing::FreshDatabase(DatabaseFileName(sApp_));
        env_.keys = testing::TestKeys();
        g_.sDBPath = sApp_;
    }

    std::string File() const { return DatabaseFileName(g_.sDBPath); }

    void SetCurrentUser(std::int32_t nUserID, const std::string& sName) {
        g_.nUserID = nUserID;
        g_.sUserName = sName;
        g_.sLeftName = "Left";
        g_.sTopName = "Top";
        g_.sRightName = "Right";
        g_.sSkillLevel = "Medium";
        g_.nNumGames = 3;
        g_.nWinnings = -45;
    }

    testing::TempDir dir_;
    std::string sApp_;
    testing::FixedClock clock_;
    FakeMessageBoxes msg_;
    LocalFileSystem files_;
    StorageEnv env_;
    MGlobal g_;
};

TEST_F(ProceduresTest, FreshDatabaseHasTheTablesAndCounter) {
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM sqlite_master WHERE type = 'table'"), 5);
    EXPECT_EQ(QueryInt(File(), "SELECT nextuserid FROM system"), 1);
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM topten"), 0);
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM user"), 0);
    EXPECT_THROW(CreateFreshDatabase(File()), db::DbError); // never overwrites
}

TEST_F(ProceduresTest, NextUserIdCountsUpAndSkipsTheMarkerAndTakenIds) {
    EXPECT_EQ(GetNextUserID(g_, env_), 1);
    EXPECT_EQ(GetNextUserID(g_, env_), 2);
    EXPECT_EQ(QueryInt(File(), "SELECT nextuserid FROM system"), 3);

    ExecDirect(File(), "UPDATE system SET nextuserid = 9999");
    EXPECT_EQ(GetNextUserID(g_, env_), 10000);
    EXPECT_EQ(QueryInt(File(), "SELECT nextuserid FROM system"), 10001);

    ExecDirect(File(), "UPDATE system SET nextuserid = 5; INSERT INTO user (userid) VALUES (5)");
    EXPECT_EQ(GetNextUserID(g_, env_), 6);
    EXPECT_TRUE(msg_.Shown.empty());
    EXPECT_FALSE(g_.bDBError);
}

TEST_F(ProceduresTest, NextUserIdOfAnEmptyCounterIsZeroAndStoresNothing) {
    ExecDirect(File(), "DELETE FROM system");
    EXPECT_EQ(GetNextUserID(g_, env_), 0);
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM system"), 0);
    EXPECT_TRUE(msg_.Shown.empty());
    EXPECT_FALSE(g_.bDBError);
}

TEST_F(ProceduresTest, TopTenOfThreeRowsLoadsAsTenPlaces) {
    ExecDirect(File(), "INSERT INTO topten (name, score, date) VALUES "
                       "('Ann', 300, '2026-01-02 03:04:05'), ('Bob', 650, '2025-05-06 07:08:09'),"
                       "('Cy', 300, '2024-01-01 00:00:00')");
    TopTenList list{};
    list[10].sName = "untouched";
    main_window::TopTenLoad(g_, env_, list);
    EXPECT_EQ(list[0].sName, "Bob");
    EXPECT_EQ(list[0].nScore, 650);
    EXPECT_EQ(list[0].dtDate, MakeDate(2025, 5, 6, 7, 8, 9));
    // Equal scores come in stored order.
    EXPECT_EQ(list[1].sName, "Ann");
    EXPECT_EQ(list[2].sName, "Cy");
    for (std::size_t i = 3; i < 10; ++i) {
        EXPECT_EQ(list[i].sName, "");
        EXPECT_EQ(list[i].nScore, 0);
        EXPECT_EQ(list[i].dtDate, clock_.dtNow);
    }
    EXPECT_EQ(list[10].sName, "untouched");

    // Saving writes all ten places, empty ones too, and reads back the same.
    g_.nTopTenPos = 99;
    EXPECT_FALSE(main_window::TopTenSave(g_, env_, list));
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM topten"), 10);
    TopTenList again{};
    main_window::TopTenLoad(g_, env_, again);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(again[i].sName, list[i].sName);
        EXPECT_EQ(again[i].nScore, list[i].nScore);
        EXPECT_EQ(again[i].dtDate, list[i].dtDate);
    }
    EXPECT_TRUE(msg_.Shown.empty());
}

TEST_F(ProceduresTest, EmptyTopTenLoadsAsTenEmptyPlaces) {
    TopTenList list{};
    list[0] = {"old", 5, {}};
    main_window::TopTenLoad(g_, env_, list);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(list[i].sName, "");
        EXPECT_EQ(list[i].nScore, 0);
    }
}

// Inserts an entry by the top-ten rule into a loaded list, as the engine does.
int Enter(MGlobal& g, TopTenList& list, const std::string& sName, std::int16_t nScore, Date dt) {
    for (int i = 0; i < 10; ++i) {
        if (nScore > list[static_cast<std::size_t>(i)].nScore) {
            std::move_backward(list.begin() + i, list.begin() + 9, list.begin() + 10);
            list[static_cast<std::size_t>(i)] = {sName, nScore, dt};
            g.nTopTenPos = i;
            return i;
        }
    }
    g.nTopTenPos = 99;
    return 99;
}

TEST_F(ProceduresTest, TopTenSaveMergesAnEntrySavedMeanwhile) {
    // Two computers load the same list, then both enter a score.
    TopTenList mine{};
    TopTenList theirs{};
    main_window::TopTenLoad(g_, env_, mine);
    main_window::TopTenLoad(g_, env_, theirs);
    MGlobal other = g_;
    Enter(other, theirs, "Theirs", 700, clock_.dtNow);
    EXPECT_EQ(main_window::TopTenSave(other, env_, theirs), 0);
    EXPECT_EQ(Enter(g_, mine, "Mine", 650, clock_.dtNow), 0);

    // The later save keeps the other entry and reports the place it really took.
    EXPECT_EQ(main_window::TopTenSave(g_, env_, mine), 1);
    EXPECT_EQ(g_.nTopTenPos, 1);
    EXPECT_EQ(mine[0].sName, "Theirs");
    EXPECT_EQ(mine[1].sName, "Mine");
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM topten"), 10);

    // An equal score goes below the stored one.
    TopTenList stale{};
    stale[0] = {"Same", 700, clock_.dtNow};
    g_.nTopTenPos = 0;
    EXPECT_EQ(main_window::TopTenSave(g_, env_, stale), 1);
    EXPECT_EQ(stale[0].sName, "Theirs");
    EXPECT_EQ(stale[1].sName, "Same");
    EXPECT_EQ(stale[2].sName, "Mine");
}

TEST_F(ProceduresTest, TopTenSaveOfAnEntryThatNoLongerQualifiesChangesNothing) {
    TopTenList full{};
    for (std::size_t i = 0; i < 10; ++i) {
        full[i] = {"P" + std::to_string(i), static_cast<std::int16_t>(1000 - i), clock_.dtNow};
    }
    g_.nTopTenPos = 99;
    main_window::TopTenSave(g_, env_, full);
    TopTenList stale{};
    stale[9] = {"Late", 500, clock_.dtNow};
    g_.nTopTenPos = 9;
    EXPECT_FALSE(main_window::TopTenSave(g_, env_, stale));
    EXPECT_EQ(g_.nTopTenPos, 99);
    EXPECT_EQ(stale[9].sName, "P9");
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM topten WHERE name = 'Late'"), 0);
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM topten"), 10);
}

TEST_F(ProceduresTest, TopTenDialogOrdersEqualScoresByDateAndClears) {
    ExecDirect(File(), "INSERT INTO topten (name, score, date) VALUES "
                       "('Newer', 400, '2026-03-01 00:00:00'), ('Older', 400, '2025-12-31 "
                       "23:59:59'), ('Zero', 0, '2026-01-01 00:00:00'), ('Top', 900, "
                       "'2026-01-01 00:00:00')");
    TopTenList list{};
    top_ten_dialog::TopTenLoad(g_, env_, list);
    EXPECT_EQ(list[0].sName, "Top");
    EXPECT_EQ(list[1].sName, "Older");
    EXPECT_EQ(list[2].sName, "Newer");
    EXPECT_EQ(list[3].sName, "Zero");
    EXPECT_EQ(list[3].nScore, 0);
    EXPECT_EQ(list[4].sName, "");

    top_ten_dialog::ClearTopTen(g_, env_);
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM topten"), 0);
    top_ten_dialog::TopTenLoad(g_, env_, list);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(list[i].sName, "");
        EXPECT_EQ(list[i].nScore, 0);
    }
    EXPECT_TRUE(msg_.Shown.empty());
}

TEST_F(ProceduresTest, TopTenDialogReadsElevenRowsAtMost) {
    db::Database db = OpenDirect(File());
    db::Statement insert(db, "INSERT INTO topten (name, score, date) VALUES (?, ?, '')");
    for (int i = 0; i < 14; ++i) {
        insert.Bind(1, "R" + std::to_string(i)).Bind(2, std::int64_t{100 - i});
        insert.Run();
        insert.Reset();
    }
    TopTenList list{};
    top_ten_dialog::TopTenLoad(g_, env_, list);
    EXPECT_EQ(list[9].sName, "R9");
    EXPECT_EQ(list[10].sName, "R10");
}

TEST_F(ProceduresTest, UserDialogWritesAndReadsUsersWithAnyCharacters) {
    EXPECT_TRUE(user_dialog::GetPlayerData(g_, env_).empty());

    SetCurrentUser(GetNextUserID(g_, env_), "O'Brien \"x\"; --");
    user_dialog::UpdateDatabase(g_, env_);
    SetCurrentUser(GetNextUserID(g_, env_), "Anna");
    user_dialog::UpdateDatabase(g_, env_);
    g_.sSkillLevel = "Hard";
    g_.sUserName = "Anna B";
    user_dialog::UpdateDatabase(g_, env_); // the same row again

    const auto users = user_dialog::GetPlayerData(g_, env_);
    ASSERT_EQ(users.size(), 2U);
    EXPECT_EQ(users[0].nUserID, 1);
    EXPECT_EQ(users[0].sName, "O'Brien \"x\"; --");
    EXPECT_EQ(users[0].sPlayer1, "Left");
    EXPECT_EQ(users[0].sPlayer2, "Top");
    EXPECT_EQ(users[0].sPlayer3, "Right");
    EXPECT_EQ(users[0].nNumGames, 3);
    EXPECT_EQ(users[0].nWinnings, -45);
    EXPECT_EQ(users[1].sName, "Anna B");
    EXPECT_EQ(users[1].sSkillLevel, "Hard");
    EXPECT_TRUE(msg_.Shown.empty());
}

TEST_F(ProceduresTest, SaveUserDataWritesOnlyTheCurrentUsersRow) {
    SetCurrentUser(1, "Sam");
    user_dialog::UpdateDatabase(g_, env_);
    SetCurrentUser(2, "Sam"); // a second user of the same name
    user_dialog::UpdateDatabase(g_, env_);

    g_.nNumGames = 4;
    g_.nWinnings = 105;
    g_.sLeftName = "Newleft";
    EXPECT_TRUE(game_over::SaveUserData(g_, env_, {}));
    EXPECT_EQ(QueryInt(File(), "SELECT numgames FROM user WHERE userid = 2"), 4);
    EXPECT_EQ(QueryInt(File(), "SELECT winnings FROM user WHERE userid = 2"), 105);
    EXPECT_EQ(QueryInt(File(), "SELECT numgames FROM user WHERE userid = 1"), 3);
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM user WHERE player1 = 'Newleft'"), 1);

    // A row deleted meanwhile is written anew rather than lost.
    ExecDirect(File(), "DELETE FROM user WHERE userid = 2");
    game_over::SaveUserData(g_, env_, {});
    EXPECT_EQ(QueryInt(File(), "SELECT winnings FROM user WHERE userid = 2"), 105);
    EXPECT_TRUE(msg_.Shown.empty());
}

TEST_F(ProceduresTest, HistoryKeepsTheGamesTheRecordCounts) {
    // A file made before the history: reading finds no games and the first save
    // adds the table, keeping everything else.
    ExecDirect(File(), "DROP TABLE history; INSERT INTO topten (name) VALUES ('kept')");
    SetCurrentUser(1, "Sam");
    user_dialog::UpdateDatabase(g_, env_);
    ASSERT_TRUE(user_stats::LoadHistory(g_, env_, 100));
    EXPECT_TRUE(user_stats::LoadHistory(g_, env_, 100)->empty());
    g_.nNumGames = 4;
    EXPECT_TRUE(game_over::SaveUserData(g_, env_, {2, 260, true}));
    clock_.dtNow += std::chrono::hours(1);
    g_.nNumGames = 5;
    EXPECT_TRUE(game_over::SaveUserData(g_, env_, {3, 90, false}));
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM topten WHERE name = 'kept'"), 1);

    auto games = user_stats::LoadHistory(g_, env_, 100);
    ASSERT_TRUE(games);
    ASSERT_EQ(games->size(), 2U);
    EXPECT_EQ(games->at(0).dtDate, MakeDate(2026, 12, 6, 10, 30, 0));
    EXPECT_EQ(games->at(0).nLevel, 2);
    EXPECT_EQ(games->at(0).sSkillLevel, "Medium");
    EXPECT_EQ(games->at(0).nFunds, 260);
    EXPECT_TRUE(games->at(0).bWon);
    EXPECT_FALSE(games->at(1).bWon);
    games = user_stats::LoadHistory(g_, env_, 1);
    ASSERT_EQ(games->size(), 1U);
    EXPECT_EQ(games->at(0).nLevel, 3);

    SetCurrentUser(2, "Kim");
    g_.nNumGames = 1;
    game_over::SaveUserData(g_, env_, {1, 200, false});
    // Totals reset to zero clear the history with the record's save, and a
    // deleted user's history goes with it; other users keep theirs.
    SetCurrentUser(1, "Sam");
    g_.nNumGames = 0;
    user_dialog::UpdateDatabase(g_, env_);
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM history WHERE userid = 1"), 0);
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM history WHERE userid = 2"), 1);
    EXPECT_TRUE(user_editor::DeleteUser(g_, env_, 2));
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM history"), 0);
    EXPECT_TRUE(msg_.Shown.empty());
}

TEST_F(ProceduresTest, StandingsRankSeatsByFunds) {
    SetCurrentUser(1, "Me");
    GetStandings(g_, env_, {150, 320, 150, 180});
    EXPECT_EQ(g_.Standings[0].sName, "Top");
    EXPECT_EQ(g_.Standings[0].nFunds, 320);
    EXPECT_EQ(g_.Standings[1].sName, "Me");
    EXPECT_EQ(g_.Standings[2].nFunds, 150);
    EXPECT_EQ(g_.Standings[3].nFunds, 150);
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM player"), 4);
    GetStandings(g_, env_, {-20, 0, 500, 300});
    EXPECT_EQ(g_.Standings[0].sName, "Right");
    EXPECT_EQ(g_.Standings[3].nFunds, -20);
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM player"), 4);
    EXPECT_TRUE(msg_.Shown.empty());
}

TEST_F(ProceduresTest, UserEditorListsEditsAndDeletes) {
    auto list = user_editor::LoadUserList(g_, env_);
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0].sText, "<New User>");
    EXPECT_EQ(list[0].nItemData, kNewUserID);

    auto form = user_editor::LoadUserForm(g_, env_, kNewUserID);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->sName, "<New User>");
    EXPECT_EQ(form->sPlayer1, "Player 1");
    EXPECT_EQ(form->sPlayer3, "Player 3");

    const std::int32_t nID = GetNextUserID(g_, env_);
    EXPECT_TRUE(user_editor::UpdateDatabase(g_, env_, nID, {"  Kim ", "A", "B", "C"}));
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM user WHERE skilllevel = 'Easy' AND "
                               "numgames = 0 AND winnings = 0"),
              1);
    ExecDirect(File(), "UPDATE user SET numgames = 7, skilllevel = 'Hard'");
    EXPECT_TRUE(user_editor::UpdateDatabase(g_, env_, nID, {"Kimberly", "D", "E", "F"}));
    EXPECT_EQ(QueryInt(File(), "SELECT numgames FROM user WHERE skilllevel = 'Hard'"), 7);

    form = user_editor::LoadUserForm(g_, env_, nID);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->sName, "Kimberly");
    EXPECT_EQ(form->sPlayer2, "E");

    ExecDirect(File(), "UPDATE user SET name = '  Kim  '");
    list = user_editor::LoadUserList(g_, env_);
    ASSERT_EQ(list.size(), 2U);
    EXPECT_EQ(list[0].sText, "Kim");
    EXPECT_EQ(list[0].nItemData, nID);
    EXPECT_EQ(list[1].sText, "<New User>");

    EXPECT_TRUE(user_editor::DeleteUser(g_, env_, nID));
    EXPECT_EQ(QueryInt(File(), "SELECT count(*) FROM user"), 0);
    EXPECT_TRUE(msg_.Shown.empty());
}

TEST_F(ProceduresTest, KeyIsDerivedOncePerFileAndRun) {
    StorageEnv env(msg_, files_, clock_, sApp_); // a run of its own
    // Derived ahead on a worker at start: the opens wait for it rather than derive again.
    DeriveKeyAhead(g_, env);
    for (int i = 0; i < 5; ++i) {
        TopTenList list{};
        main_window::TopTenLoad(g_, env, list);
        GetNextUserID(g_, env);
    }
    EXPECT_EQ(env.keys.Derivations(), 1);

    // A replaced file has a new salt and gets its own key.
    std::filesystem::remove(File());
    CreateFreshDatabase(File());
    EXPECT_EQ(GetNextUserID(g_, env), 1);
    EXPECT_EQ(env.keys.Derivations(), 2);
    EXPECT_TRUE(msg_.Shown.empty());
}

TEST_F(ProceduresTest, WithoutTheCacheTheProceduresWorkTheSame) {
    StorageEnv plain(msg_, files_, clock_, sApp_, false);
    EXPECT_EQ(GetNextUserID(g_, plain), 1);
    EXPECT_EQ(GetNextUserID(g_, env_), 2);
    EXPECT_EQ(GetNextUserID(g_, plain), 3);
    EXPECT_EQ(plain.keys.Derivations(), 0);
}

TEST(DateTextTest, RoundTripsAndSortsAsText) {
    const Date dt = MakeDate(2026, 2, 28, 23, 5, 9);
    EXPECT_EQ(FormatDate(dt), "2026-02-28 23:05:09");
    EXPECT_EQ(ParseDate("2026-02-28 23:05:09"), dt);
    EXPECT_LT(FormatDate(MakeDate(2025, 12, 31, 23, 59, 59)), FormatDate(MakeDate(2026, 1, 1)));
    EXPECT_FALSE(ParseDate(""));
    EXPECT_FALSE(ParseDate("2026-02-30 00:00:00"));
    EXPECT_FALSE(ParseDate("2026-02-28 24:00:00"));
    EXPECT_FALSE(ParseDate("2026-02-28 23:05:09x"));
}

} // namespace
} // namespace corvane
