// The database procedures on scratch files: what each reads and writes.
#include "test_support.hpp"

#include <chrono>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::ExecDirect;
using Lines = std::vector<std::string>;

// The first n places as "name score" lines, with their dates when asked.
Lines Places(const TopTenList& list, std::size_t n, bool bDates = false) {
    Lines lines;
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

    // Every stored user as one line of its fields.
    Lines Users() {
        Lines lines;
        for (const UserRec& u : user_dialog::GetPlayerData(g, env)) {
            lines.push_back(std::to_string(u.nUserID) + "|" + u.sName + "|" + u.sPlayer1 + "|" +
                            u.sPlayer2 + "|" + u.sPlayer3 + "|" + u.sSkillLevel + "|" +
                            std::to_string(u.nNumGames) + "|" + std::to_string(u.nWinnings));
        }
        return lines;
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
    Lines expected = {"Bob 650 2025-05-06 07:08:09", "Ann 300 2026-01-02 03:04:05",
                      "Cy 300" + sNow};
    expected.resize(10, " 0" + sNow);
    EXPECT_EQ(Places(list, 10, true), expected);
    EXPECT_EQ(list[10].sName, "untouched");

    g.nTopTenPos = 99;
    EXPECT_FALSE(main_window::TopTenSave(g, env, list));
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
    testing::EnterScore(other, theirs, {"Theirs", 700, clock.dtNow});
    EXPECT_EQ(main_window::TopTenSave(other, env, theirs), 0);
    testing::EnterScore(g, mine, {"Mine", 650, clock.dtNow});
    // The later save keeps the other entry and reports the place it really took.
    EXPECT_EQ(main_window::TopTenSave(g, env, mine), 1);
    EXPECT_EQ(g.nTopTenPos, 1);
    EXPECT_EQ(Places(mine, 3), (Lines{"Theirs 700", "Mine 650", " 0"}));

    // An equal score goes below the stored one.
    TopTenList stale{};
    stale[0] = {"Same", 700, clock.dtNow};
    g.nTopTenPos = 0;
    EXPECT_EQ(main_window::TopTenSave(g, env, stale), 1);
    EXPECT_EQ(Places(stale, 3), (Lines{"Theirs 700", "Same 700", "Mine 650"}));

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
    EXPECT_EQ(Places(list, 11),
              (Lines{"Top 900", "Older 400", "Newer 400", "R0 300", "R1 299", "R2 298", "R3 297",
                     "R4 296", "R5 295", "R6 294", "R7 293"}));
    EXPECT_TRUE(top_ten_dialog::ClearTopTen(g, env));
    EXPECT_EQ(Query("SELECT count(*) FROM topten"), 0);
    top_ten_dialog::TopTenLoad(g, env, list);
    EXPECT_EQ(Places(list, 10), Lines(10, " 0"));
}

TEST_F(ProceduresTest, UserRecordsAreWrittenIntoTheirOwnRowWithAnyCharacters) {
    EXPECT_TRUE(Users().empty());
    SetCurrentUser(GetNextUserID(g, env), "O'Brien \"x\"; --");
    user_dialog::UpdateDatabase(g, env);
    SetCurrentUser(GetNextUserID(g, env), "Sam");
    user_dialog::UpdateDatabase(g, env);
    g.sSkillLevel = "Hard";
    g.sUserName = "Anna B";
    EXPECT_TRUE(user_dialog::UpdateDatabase(g, env)); // the same row again
    const std::string sFirst = "1|O'Brien \"x\"; --|Left|Top|Right|Medium|3|-45";
    EXPECT_EQ(Users(), (Lines{sFirst, "2|Anna B|Left|Top|Right|Hard|3|-45"}));

    // The game's save writes the record but not the name.
    g.nNumGames = 4;
    g.nWinnings = 105;
    g.sLeftName = "Newleft";
    g.sUserName = "Renamed";
    EXPECT_TRUE(game_over::SaveUserData(g, env, {}));
    EXPECT_EQ(Users(), (Lines{sFirst, "2|Anna B|Newleft|Top|Right|Hard|4|105"}));
    // A row deleted meanwhile is written anew rather than lost.
    ExecDirect(File(), "DELETE FROM user WHERE userid = 2");
    game_over::SaveUserData(g, env, {});
    EXPECT_EQ(Users(), (Lines{sFirst, "2|Renamed|Newleft|Top|Right|Hard|4|105"}));
}

TEST_F(ProceduresTest, HistoryKeepsTheGamesTheRecordCounts) {
    const auto History = [&](int nMaxGames) {
        Lines lines;
        const std::vector<HistoryRec> games = user_stats::LoadHistory(g, env, nMaxGames).value();
        for (const HistoryRec& h : games) {
            lines.push_back(FormatDate(h.dtDate) + " " + std::to_string(h.nLevel) + " " +
                            h.sSkillLevel + " " + std::to_string(h.nFunds) + " " +
                            (h.bWon ? "1" : "0"));
        }
        return lines;
    };
    // A file made before the history: reading finds no games and the first save
    // adds the table, keeping everything else.
    ExecDirect(File(), "DROP TABLE history; INSERT INTO topten (name) VALUES ('kept')");
    SetCurrentUser(1, "Sam");
    user_dialog::UpdateDatabase(g, env);
    EXPECT_TRUE(History(100).empty());
    g.nNumGames = 4;
    EXPECT_TRUE(game_over::SaveUserData(g, env, {2, 260, true}));
    clock.dtNow += std::chrono::hours(1);
    g.nNumGames = 5;
    EXPECT_TRUE(game_over::SaveUserData(g, env, {3, 90, false}));
    EXPECT_EQ(Query("SELECT count(*) FROM topten WHERE name = 'kept'"), 1);
    EXPECT_EQ(History(100),
              (Lines{"2026-12-06 10:30:00 2 Medium 260 1", "2026-12-06 11:30:00 3 Medium 90 0"}));
    EXPECT_EQ(History(1), Lines{"2026-12-06 11:30:00 3 Medium 90 0"});

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
    const auto Standings = [&](const std::array<std::int16_t, 4>& aFunds) {
        EXPECT_TRUE(GetStandings(g, env, aFunds));
        Lines lines;
        for (const StandingRec& s : g.Standings) {
            lines.push_back(s.sName + " " + std::to_string(s.nFunds));
        }
        return lines;
    };
    EXPECT_EQ(Standings({150, 320, 150, 180}),
              (Lines{"Top 320", "Me 180", "Left 150", "Right 150"}));
    EXPECT_EQ(Standings({-20, 0, 500, 300}), (Lines{"Right 500", "Me 300", "Top 0", "Left -20"}));
    EXPECT_EQ(Query("SELECT count(*) FROM player"), 4);
}

TEST_F(ProceduresTest, UserEditorListsEditsAndDeletes) {
    const auto List = [&] {
        Lines lines;
        for (const UserListEntry& e : user_editor::LoadUserList(g, env)) {
            lines.push_back(e.sText + " " + std::to_string(e.nItemData));
        }
        return lines;
    };
    const auto Form = [&](std::int32_t nID) {
        const auto form = user_editor::LoadUserForm(g, env, nID).value();
        return form.sName + "|" + form.sPlayer1 + "|" + form.sPlayer2 + "|" + form.sPlayer3;
    };
    EXPECT_EQ(List(), Lines{"<New User> 9999"});
    EXPECT_EQ(Form(kNewUserID), "<New User>|Player 1|Player 2|Player 3");

    const std::int32_t nID = GetNextUserID(g, env);
    EXPECT_TRUE(user_editor::UpdateDatabase(g, env, nID, {"  Kim ", "A", "B", "C"}));
    EXPECT_EQ(Users(), Lines{"1|  Kim |A|B|C|Easy|0|0"});
    ExecDirect(File(), "UPDATE user SET numgames = 7, skilllevel = 'Hard'");
    EXPECT_TRUE(user_editor::UpdateDatabase(g, env, nID, {"Kimberly", "D", "E", "F"}));
    EXPECT_EQ(Users(), Lines{"1|Kimberly|D|E|F|Hard|7|0"});
    EXPECT_EQ(Form(nID), "Kimberly|D|E|F");

    ExecDirect(File(), "UPDATE user SET name = '  Kim  '");
    EXPECT_EQ(List(), (Lines{"Kim 1", "<New User> 9999"}));
    EXPECT_TRUE(user_editor::DeleteUser(g, env, nID));
    EXPECT_TRUE(Users().empty());
}

TEST_F(ProceduresTest, KeyIsDerivedOncePerFileAndRunUnlessTheCacheIsOff) {
    StorageEnv run(msg, files, clock, env.sAppPath); // a run of its own
    StorageEnv plain(msg, files, clock, env.sAppPath, false);
    // Derived ahead on a worker at start: the opens wait for it rather than derive again.
    DeriveKeyAhead(g, run);
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
    const Date dt = testing::MakeDate(2026, 2, 28, 23, 5, 9);
    EXPECT_EQ(FormatDate(dt), "2026-02-28 23:05:09");
    EXPECT_EQ(ParseDate("2026-02-28 23:05:09"), dt);
    EXPECT_LT(FormatDate(testing::MakeDate(2025, 12, 31, 23, 59, 59)),
              FormatDate(testing::MakeDate(2026, 1, 1)));
    for (const char* s : {"", "2026-02-30 00:00:00", "2026-02-28 24:00:00", "2026-02-28 23:60:00",
                          "2026-02-28 23:05:60", "2026-02-28 23:05:09x", "2026-02-28T23:05:09"}) {
        EXPECT_FALSE(ParseDate(s)) << s;
    }
}

} // namespace
} // namespace corvane
