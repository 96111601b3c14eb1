// The database procedures on scratch files: what each reads and writes.
#include "test_support.hpp"

#include <chrono>
#include <filesystem>
#include <optional>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::ExecDirect;
using testing::Lines;

// The first n places as "name score" lines.
Lines Places(const TopTenList& list, std::size_t n) {
    Lines lines;
    for (std::size_t i = 0; i < n; ++i) {
        lines.push_back(list[i].sName + " " + std::to_string(list[i].nScore));
    }
    return lines;
}

class ProceduresTest : public testing::StorageTest {
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

    // Every stored user as one line of its fields, as the user dialog reads them.
    Lines Users() {
        Lines lines;
        for (const UserRec& u : user_dialog::GetPlayerData(g, env)) {
            lines.push_back(std::to_string(u.nUserID) + "|" + u.sName + "|" + u.sPlayer1 + "|" +
                            u.sPlayer2 + "|" + u.sPlayer3 + "|" + u.sSkillLevel + "|" +
                            std::to_string(u.nNumGames) + "|" + std::to_string(u.nWinnings));
        }
        return lines;
    }
};

TEST_F(ProceduresTest, NextUserIdCountsUpAndSkipsTheMarkerAndTakenIds) {
    EXPECT_THROW(CreateFreshDatabase(File()), db::DbError); // never overwrites
    EXPECT_EQ(GetNextUserID(g, env), 1);
    EXPECT_EQ(GetNextUserID(g, env), 2);
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

TEST_F(ProceduresTest, TopTenLoadsBothWaysSavesWholeAndClears) {
    // Dates that cannot be read are taken as now.
    ExecDirect(File(), "INSERT INTO topten (name, score, date) VALUES "
                       "('Ann', 300, '2026-01-02 03:04:05'), ('Bob', 650, '2025-05-06 "
                       "07:08:09'),"
                       "('Cy', 300, ''), ('Dee', 300, '2025-01-01 00:00:00'),"
                       "('R0', 200, '2026-02-30 00:00:00'), ('R1', 199, '2026-02-28 24:00:00'),"
                       "('R2', 198, '2026-02-28 23:60:00'), ('R3', 197, '2026-02-28 23:05:60'),"
                       "('R4', 196, '2026-02-28T23:05:09'), ('R5', 195, '2026-02-28 23:05:09x'),"
                       "('R6', 194, '2026-02-28')");
    // The dialog reads eleven places, the older first among equal scores.
    TopTenList list{};
    top_ten_dialog::TopTenLoad(g, env, list);
    EXPECT_EQ(Places(list, 11),
              (Lines{"Bob 650", "Cy 300", "Dee 300", "Ann 300", "R0 200", "R1 199", "R2 198",
                     "R3 197", "R4 196", "R5 195", "R6 194"}));
    ExecDirect(File(), "DELETE FROM topten WHERE name IN ('Dee', 'R6')");
    list = {};
    list[0] = {"old", 5, {}};
    list[10].sName = "untouched";
    EXPECT_TRUE(main_window::TopTenLoad(g, env, list));
    EXPECT_EQ(list[10].sName, "untouched");
    // Saved as loaded: equal scores in stored order, the empty place dated now.
    g.nTopTenPos = 99;
    EXPECT_FALSE(main_window::TopTenSave(g, env, list));
    const std::string sNow = " " + FormatDate(clock.dtNow);
    Lines expected = {"Bob 650 2025-05-06 07:08:09", "Ann 300 2026-01-02 03:04:05",
                      "Cy 300" + sNow};
    for (int i = 0; i < 6; ++i) {
        expected.push_back("R" + std::to_string(i) + " " + std::to_string(200 - i) + sNow);
    }
    expected.push_back(" 0" + sNow);
    EXPECT_EQ(Rows("SELECT name || ' ' || score || ' ' || date FROM topten ORDER "
                   "BY rowid"),
              expected);

    EXPECT_TRUE(top_ten_dialog::ClearTopTen(g, env));
    top_ten_dialog::TopTenLoad(g, env, list);
    EXPECT_EQ(Places(list, 10), Lines(10, " 0"));
}

TEST_F(ProceduresTest, TopTenSaveRanksItsEntryAmongThoseSavedMeanwhile) {
    // Each entry comes from a list loaded before the others were saved, as on
    // computers sharing the file: the place is the one it really took among the
    // stored entries, and an equal score goes below.
    const auto Save = [&](const char* sName, std::int16_t nScore) {
        TopTenList list{};
        list[0] = {sName, nScore, clock.dtNow};
        g.nTopTenPos = 0;
        const std::optional<int> place = main_window::TopTenSave(g, env, list);
        Lines lines = Places(list, 3);
        lines.insert(lines.begin(),
                     std::to_string(place.value_or(-1)) + " " + std::to_string(g.nTopTenPos));
        return lines;
    };
    EXPECT_EQ(Save("Theirs", 700), (Lines{"0 0", "Theirs 700", " 0", " 0"}));
    EXPECT_EQ(Save("Mine", 650), (Lines{"1 1", "Theirs 700", "Mine 650", " 0"}));
    EXPECT_EQ(Save("Same", 700), (Lines{"1 1", "Theirs 700", "Same 700", "Mine 650"}));
    // One that no longer qualifies changes nothing.
    ExecDirect(File(), "UPDATE topten SET score = 900");
    EXPECT_EQ(Save("Late", 900), (Lines{"-1 99", "Theirs 900", "Same 900", "Mine 900"}));
    EXPECT_EQ(Query("SELECT count(*) FROM topten WHERE name <> 'Late'"), 10);
}

TEST_F(ProceduresTest, UserRecordsStandingsAndHistoryGoIntoTheirOwnRows) {
    const auto History = [&](int nMaxGames) {
        Lines lines;
        const std::vector<HistoryRec> games = user_stats::LoadHistory(g, env, nMaxGames).value();
        for (const HistoryRec& h : games) {
            lines.push_back(FormatDate(h.dtDate) + " " + std::to_string(h.nLevel) + " " +
                            h.sSkillLevel + " " + std::to_string(h.nFunds) + " " +
                            std::to_string(static_cast<int>(h.bWon)));
        }
        return lines;
    };
    // A file made before the history: the first save adds the table, keeping the
    // rest.
    ExecDirect(File(), "DROP TABLE history; INSERT INTO topten (name) VALUES ('kept')");
    EXPECT_TRUE(Users().empty());
    SetCurrentUser(GetNextUserID(g, env), "O'Brien \"x\"; --");
    user_dialog::UpdateDatabase(g, env);
    EXPECT_TRUE(History(100).empty());
    SetCurrentUser(GetNextUserID(g, env), "Sam");
    user_dialog::UpdateDatabase(g, env);
    g.sSkillLevel = "Hard";
    g.sUserName = "Anna B";
    EXPECT_TRUE(user_dialog::UpdateDatabase(g, env)); // the same row again
    const std::string sFirst = "1|O'Brien \"x\"; --|Left|Top|Right|Medium|3|-45";
    EXPECT_EQ(Users(), (Lines{sFirst, "2|Anna B|Left|Top|Right|Hard|3|-45"}));

    // The game's save writes the record and the history but not the name.
    g.nNumGames = 4;
    g.nWinnings = 105;
    g.sLeftName = "Newleft";
    g.sUserName = "Renamed";
    EXPECT_TRUE(game_over::SaveUserData(g, env, {2, 260, true}));
    EXPECT_EQ(Users(), (Lines{sFirst, "2|Anna B|Newleft|Top|Right|Hard|4|105"}));
    // A row deleted meanwhile is written anew rather than lost.
    ExecDirect(File(), "DELETE FROM user WHERE userid = 2");
    clock.dtNow += std::chrono::hours(1);
    g.nNumGames = 5;
    EXPECT_TRUE(game_over::SaveUserData(g, env, {3, 90, false}));
    EXPECT_EQ(Users(), (Lines{sFirst, "2|Renamed|Newleft|Top|Right|Hard|5|105"}));
    EXPECT_EQ(Query("SELECT count(*) FROM topten WHERE name = 'kept'"), 1);
    EXPECT_EQ(History(100),
              (Lines{"2026-12-06 10:30:00 2 Hard 260 1", "2026-12-06 11:30:00 3 Hard 90 0"}));
    EXPECT_EQ(History(1), Lines{"2026-12-06 11:30:00 3 Hard 90 0"});

    // Standings rank the seats by funds, equal funds in seat order.
    EXPECT_TRUE(GetStandings(g, env, {150, -20, 150, 180}));
    std::string sStandings;
    for (const StandingRec& r : g.Standings) {
        sStandings += r.sName + " " + std::to_string(r.nFunds) + ",";
    }
    EXPECT_EQ(sStandings, "Renamed 180,Newleft 150,Right 150,Top -20,");
    EXPECT_EQ(Query("SELECT count(*) FROM player"), 4);

    // Totals reset to zero clear the history with the record's save, and a
    // deleted user's history goes with it; other users keep theirs.
    SetCurrentUser(1, "Kim");
    game_over::SaveUserData(g, env, {1, 200, false});
    SetCurrentUser(2, "Sam");
    g.nNumGames = 0;
    user_dialog::UpdateDatabase(g, env);
    EXPECT_EQ(Rows("SELECT userid FROM history"), Lines{"1"});
    EXPECT_TRUE(user_editor::DeleteUser(g, env, 1));
    EXPECT_EQ(Query("SELECT count(*) FROM history"), 0);
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
    // Derived ahead on a worker at start: the opens wait for it rather than
    // derive again.
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

} // namespace
} // namespace corvane
