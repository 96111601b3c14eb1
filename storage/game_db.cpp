// The database procedures of the main window, the dialogs and the shared module.
#include "game_db.hpp"

#include "db.hpp"
#include "schema.hpp"
#include "settings.hpp"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <limits>
#include <string_view>

namespace corvane {

namespace {

using db::Database;
using db::DbError;
using db::Statement;
using db::Transaction;

constexpr int kTopTenPlaces = 10;
constexpr int kNoPlace = 99;

// The first step of every procedure: open the file of sDBPath, or report through
// IsValidPath and set bDBError.
std::optional<Database> OpenForJob(MGlobal& g, StorageEnv& env, const std::string& sProc) {
    try {
        return Database::Open(DatabaseFileName(g.sDBPath), env.keys);
    } catch (const DbError& e) {
        IsValidPath(g, env, e.nNumber, e.sDescription, sProc);
        g.bDBError = true;
        return std::nullopt;
    }
}

void ShowFailure(StorageEnv& env, const DbError& e, const std::string& sProc) {
    env.msg.Show(e.sDescription, sProc, MsgIcon::Exclamation);
}

template <typename T>
T Narrow(std::int64_t n) {
    return static_cast<T>(
        std::clamp<std::int64_t>(n, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

TopTenRec EmptyPlace(Date dtNow) {
    return {"", 0, dtNow};
}

// Reads the stored top ten in list order into places 0 to 9, the rest empty.
std::array<TopTenRec, kTopTenPlaces> ReadStoredTopTen(Database& db, Date dtNow) {
    std::array<TopTenRec, kTopTenPlaces> list;
    list.fill(EmptyPlace(dtNow));
    // Among equal scores the stored order is the list's order: TopTenSave writes
    // the places in turn.
    Statement query(db, "SELECT name, score, date FROM topten ORDER BY score DESC, rowid");
    for (std::size_t n = 0; n < list.size() && query.Step(); ++n) {
        list[n].sName = query.Text(0);
        list[n].nScore = Narrow<std::int16_t>(query.Int(1));
        list[n].dtDate = ParseDate(query.Text(2)).value_or(dtNow);
    }
    return list;
}

void WriteTopTen(Database& db, const std::array<TopTenRec, kTopTenPlaces>& list) {
    db.Exec("DELETE FROM topten");
    Statement insert(db, "INSERT INTO topten (name, score, date) VALUES (?, ?, ?)");
    for (const TopTenRec& rec : list) {
        insert.Bind(1, rec.sName).Bind(2, std::int64_t{rec.nScore}).Bind(3, FormatDate(rec.dtDate));
        insert.Run();
        insert.Reset();
    }
}

// The history keeps no more of a user's games than the user's record counts:
// totals reset to zero clear it with the record's next save, even a reset that
// an older copy of the program, which keeps no history, stored meanwhile.
void TrimHistory(Database& db, std::int32_t nUserID, std::int16_t nNumGames) {
    Statement trim(db, "DELETE FROM history WHERE userid = ?1 AND gameid NOT IN "
                       "(SELECT gameid FROM history WHERE userid = ?1 "
                       "ORDER BY gameid DESC LIMIT ?2)");
    trim.Bind(1, std::int64_t{nUserID}).Bind(2, std::int64_t{std::max<std::int16_t>(nNumGames, 0)});
    trim.Run();
}

void AddToHistory(Database& db, std::int32_t nUserID, const HistoryRec& game) {
    Statement insert(db, "INSERT INTO history (userid, date, level, skilllevel, funds, won) "
                         "VALUES (?, ?, ?, ?, ?, ?)");
    insert.Bind(1, std::int64_t{nUserID})
        .Bind(2, FormatDate(game.dtDate))
        .Bind(3, std::int64_t{game.nLevel})
        .Bind(4, game.sSkillLevel)
        .Bind(5, std::int64_t{game.nFunds})
        .Bind(6, std::int64_t{game.bWon ? 1 : 0});
    insert.Run();
}

// Writes the current user's record into row nUserID, and the finished game into
// the history when there is one; bWithName also stores the name.
void WriteCurrentUser(Database& db, const MGlobal& g, bool bWithName,
                      const HistoryRec* pGame = nullptr) {
    Transaction tx(db);
    Statement update(db, bWithName ? "UPDATE user SET player1 = ?, player2 = ?, player3 = ?, "
                                     "skilllevel = ?, numgames = ?, winnings = ?, name = ? "
                                     "WHERE userid = ?"
                                   : "UPDATE user SET player1 = ?, player2 = ?, player3 = ?, "
                                     "skilllevel = ?, numgames = ?, winnings = ? "
                                     "WHERE userid = ?");
    update.Bind(1, g.sLeftName)
        .Bind(2, g.sTopName)
        .Bind(3, g.sRightName)
        .Bind(4, g.sSkillLevel)
        .Bind(5, std::int64_t{g.nNumGames})
        .Bind(6, std::int64_t{g.nWinnings});
    if (bWithName) {
        update.Bind(7, g.sUserName).Bind(8, std::int64_t{g.nUserID});
    } else {
        update.Bind(7, std::int64_t{g.nUserID});
    }
    update.Run();
    if (db.Changes() == 0) {
        Statement insert(db, "INSERT INTO user (userid, name, player1, player2, player3, "
                             "skilllevel, numgames, winnings) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        insert.Bind(1, std::int64_t{g.nUserID})
            .Bind(2, g.sUserName)
            .Bind(3, g.sLeftName)
            .Bind(4, g.sTopName)
            .Bind(5, g.sRightName)
            .Bind(6, g.sSkillLevel)
            .Bind(7, std::int64_t{g.nNumGames})
            .Bind(8, std::int64_t{g.nWinnings});
        insert.Run();
    }
    EnsureHistoryTable(db);
    if (pGame != nullptr) {
        AddToHistory(db, g.nUserID, *pGame);
    }
    TrimHistory(db, g.nUserID, g.nNumGames);
    tx.Commit();
}

constexpr const char* kUserColumns =
    "SELECT userid, name, player1, player2, player3, skilllevel, numgames, winnings FROM user";

UserRec ReadUser(const Statement& row) {
    UserRec rec;
    rec.nUserID = Narrow<std::int32_t>(row.Int(0));
    rec.sName = row.Text(1);
    rec.sPlayer1 = row.Text(2);
    rec.sPlayer2 = row.Text(3);
    rec.sPlayer3 = row.Text(4);
    rec.sSkillLevel = row.Text(5);
    rec.nNumGames = Narrow<std::int16_t>(row.Int(6));
    rec.nWinnings = Narrow<std::int32_t>(row.Int(7));
    return rec;
}

} // namespace

std::string DatabaseFileName(const std::string& sFolder) {
    return JoinPath(sFolder, "corvane.mdb");
}

void DeriveKeyAhead(const MGlobal& g, StorageEnv& env) {
    db::DeriveKeyAhead(DatabaseFileName(g.sDBPath), env.keys);
}

std::string FormatDate(Date dt) {
    using namespace std::chrono;
    const auto dayStart = floor<days>(dt);
    const year_month_day ymd{dayStart};
    const hh_mm_ss<seconds> hms{dt - dayStart};
    std::array<char, 32> buffer{};
    const int n = std::snprintf(
        buffer.data(), buffer.size(), "%04d-%02u-%02u %02d:%02d:%02d", int{ymd.year()},
        unsigned{ymd.month()}, unsigned{ymd.day()}, static_cast<int>(hms.hours().count()),
        static_cast<int>(hms.minutes().count()), static_cast<int>(hms.seconds().count()));
    return {buffer.data(), static_cast<std::size_t>(std::max(n, 0))};
}

std::optional<Date> ParseDate(const std::string& s) {
    using namespace std::chrono;
    // Exactly "YYYY-MM-DD HH:MM:SS".
    constexpr std::string_view kShape = "0000-00-00 00:00:00";
    if (s.size() != kShape.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool bDigit = s[i] >= '0' && s[i] <= '9';
        if (kShape[i] == '0' ? !bDigit : s[i] != kShape[i]) {
            return std::nullopt;
        }
    }
    const auto Field = [&](std::size_t nPos, std::size_t nLen) {
        int n = 0;
        // The shape was checked above, so every field lies inside s.
        // NOLINTNEXTLINE(cppcoreguidelines-pro-bounds-pointer-arithmetic)
        std::from_chars(s.data() + nPos, s.data() + nPos + nLen, n);
        return n;
    };
    const year_month_day ymd{year{Field(0, 4)}, month{static_cast<unsigned>(Field(5, 2))},
                             day{static_cast<unsigned>(Field(8, 2))}};
    const int nHour = Field(11, 2);
    const int nMinute = Field(14, 2);
    const int nSecond = Field(17, 2);
    if (!ymd.ok() || nHour > 23 || nMinute > 59 || nSecond > 59) {
        return std::nullopt;
    }
    return sys_days{ymd} + hours{nHour} + minutes{nMinute} + seconds{nSecond};
}

void IsValidPath(MGlobal& g, StorageEnv& env, std::int32_t nErrNum, const std::string& sErrDesc,
                 const std::string& sProc) {
    const bool bAppPath = SamePath(TrimBlanks(g.sDBPath), TrimBlanks(env.sAppPath));
    const std::string sFile = DatabaseFileName(g.sDBPath);
    g.bUseDefaultDB = false;
    if (env.files.FileExists(sFile)) {
        env.msg.Show(std::to_string(nErrNum) + ": " + sErrDesc, sProc, MsgIcon::Exclamation);
        return;
    }
    const std::string sNotFound =
        std::string("Cannot locate the current database...") + kCrLf + PathUpperCase(sFile) + "!";
    if (bAppPath) {
        env.msg.Show(sNotFound + kCrLf + kCrLf + "Closing Corvane", "Fatal Error",
                     MsgIcon::Exclamation);
        return;
    }
    const std::string sDefault = DatabaseFileName(env.sAppPath);
    if (env.files.FileExists(sDefault)) {
        g.bUseDefaultDB = true;
        return;
    }
    env.msg.Show(sNotFound + kCrLf + kCrLf + "or the default database..." + kCrLf +
                     PathUpperCase(sDefault),
                 sProc, MsgIcon::Exclamation);
    env.msg.Show(std::string("Corvane cannot operate unless it has") + kCrLf +
                     "access to the database file CORVANE.MDB!" + kCrLf + kCrLf +
                     "Closing Corvane.",
                 "Fatal Error", MsgIcon::Exclamation);
}

DbRecovery HandleDBError(MGlobal& g, const StorageEnv& env) {
    if (!g.bUseDefaultDB) {
        return DbRecovery::EndProgram;
    }
    g.bDBError = false;
    g.bUseDefaultDB = false;
    g.sDBPath = env.sAppPath;
    return DbRecovery::RestartUserDialog;
}

std::int32_t GetNextUserID(MGlobal& g, StorageEnv& env) {
    const std::string sProc = "GetNextUserID";
    auto db = OpenForJob(g, env, sProc);
    if (!db) {
        return 0;
    }
    try {
        Transaction tx(*db);
        Statement query(*db, "SELECT nextuserid FROM system LIMIT 1");
        if (!query.Step()) {
            return 0;
        }
        std::int64_t n = query.Int(0);
        query.Reset();
        // Skip the new-user marker and any id a user already has.
        Statement taken(*db, "SELECT 1 FROM user WHERE userid = ?");
        for (;;) {
            taken.Bind(1, n);
            const bool bTaken = taken.Step();
            taken.Reset();
            if (n != kNewUserID && !bTaken) {
                break;
            }
            ++n;
        }
        if (n < 0 || n >= std::numeric_limits<std::int32_t>::max()) {
            throw DbError(0, "Overflow");
        }
        Statement update(*db, "UPDATE system SET nextuserid = ?");
        update.Bind(1, n + 1).Run();
        tx.Commit();
        return static_cast<std::int32_t>(n);
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return 0;
    }
}

bool GetStandings(MGlobal& g, StorageEnv& env, const std::array<std::int16_t, 4>& aFunds) {
    const std::string sProc = "GetStandings";
    auto db = OpenForJob(g, env, sProc);
    if (!db) {
        return false;
    }
    try {
        // The player table is shared scratch space: the whole ranking is one
        // transaction so that two computers never read each other's seats.
        Transaction tx(*db);
        db->Exec("DELETE FROM player");
        Statement insert(*db, "INSERT INTO player (name, funds) VALUES (?, ?)");
        const std::array<const std::string*, 4> names = {&g.sLeftName, &g.sTopName, &g.sRightName,
                                                         &g.sUserName};
        for (std::size_t seat = 0; seat < names.size(); ++seat) {
            insert.Bind(1, *names[seat]).Bind(2, std::int64_t{aFunds[seat]});
            insert.Run();
            insert.Reset();
        }
        Statement query(*db, "SELECT name, funds FROM player ORDER BY funds DESC, rowid");
        std::size_t n = 0;
        std::array<StandingRec, 4> standings = g.Standings;
        for (; query.Step(); ++n) {
            if (n < standings.size()) {
                standings[n] = {query.Text(0), Narrow<std::int16_t>(query.Int(1))};
            }
        }
        tx.Commit();
        if (n == 0) {
            env.msg.Beep();
            env.msg.Show("Error accessing database!", "Database Error", MsgIcon::Exclamation);
            return false;
        }
        g.Standings = standings;
        return true;
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return false;
    }
}

namespace main_window {

bool TopTenLoad(MGlobal& g, StorageEnv& env, TopTenList& TopTen) {
    const std::string sProc = "TopTenLoad";
    auto db = OpenForJob(g, env, sProc);
    if (!db) {
        return false;
    }
    try {
        const auto list = ReadStoredTopTen(*db, env.clock.Now());
        std::copy(list.begin(), list.end(), TopTen.begin());
        return true;
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return false;
    }
}

std::optional<int> TopTenSave(MGlobal& g, StorageEnv& env, TopTenList& TopTen) {
    const std::string sProc = "TopTenSave";
    auto db = OpenForJob(g, env, sProc);
    if (!db) {
        return std::nullopt;
    }
    try {
        Transaction tx(*db);
        std::array<TopTenRec, kTopTenPlaces> list;
        std::optional<int> place;
        if (g.nTopTenPos >= 0 && g.nTopTenPos < kTopTenPlaces) {
            const TopTenRec entry = TopTen[static_cast<std::size_t>(g.nTopTenPos)];
            list = ReadStoredTopTen(*db, env.clock.Now());
            // The rule of the top-ten check: the first place with a lower score;
            // an equal score goes below.
            auto* const it = std::find_if(list.begin(), list.end(), [&](const TopTenRec& r) {
                return entry.nScore > r.nScore;
            });
            if (it != list.end()) {
                place = static_cast<int>(it - list.begin());
                std::move_backward(it, list.end() - 1, list.end());
                *it = entry;
            }
        } else {
            std::copy_n(TopTen.begin(), kTopTenPlaces, list.begin());
        }
        WriteTopTen(*db, list);
        tx.Commit();
        std::copy(list.begin(), list.end(), TopTen.begin());
        if (g.nTopTenPos >= 0 && g.nTopTenPos < kTopTenPlaces) {
            g.nTopTenPos = place.value_or(kNoPlace);
        }
        return place;
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return std::nullopt;
    }
}

} // namespace main_window

namespace user_dialog {

std::vector<UserRec> GetPlayerData(MGlobal& g, StorageEnv& env) {
    const std::string sProc = "GetPlayerData";
    auto db = OpenForJob(g, env, sProc);
    if (!db) {
        return {};
    }
    std::vector<UserRec> users;
    try {
        Statement query(*db, kUserColumns);
        while (query.Step()) {
            users.push_back(ReadUser(query));
        }
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return {};
    }
    return users;
}

bool UpdateDatabase(MGlobal& g, StorageEnv& env) {
    const std::string sProc = "UpdateDatabase";
    auto db = OpenForJob(g, env, sProc);
    if (!db) {
        return false;
    }
    try {
        WriteCurrentUser(*db, g, true);
        return true;
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return false;
    }
}

} // namespace user_dialog

namespace game_over {

bool SaveUserData(MGlobal& g, StorageEnv& env, const FinishedGame& game) {
    const std::string sProc = "SaveUserData";
    auto db = OpenForJob(g, env, sProc);
    if (!db) {
        return false;
    }
    try {
        const HistoryRec rec{env.clock.Now(), game.nLevel, g.sSkillLevel, game.nFunds, game.bWon};
        WriteCurrentUser(*db, g, false, &rec);
        return true;
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return false;
    }
}

} // namespace game_over

namespace user_stats {

std::optional<std::vector<HistoryRec>> LoadHistory(const MGlobal& g, StorageEnv& env,
                                                   int nMaxGames) {
    std::vector<HistoryRec> games;
    if (nMaxGames < 1) {
        return games;
    }
    try {
        Database db = Database::Open(DatabaseFileName(g.sDBPath), env.keys);
        Statement table(db,
                        "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'history'");
        if (!table.Step()) {
            return games; // made by a copy of the program that keeps no history
        }
        Statement query(db, "SELECT date, level, skilllevel, funds, won FROM history "
                            "WHERE userid = ? ORDER BY gameid DESC LIMIT ?");
        query.Bind(1, std::int64_t{g.nUserID}).Bind(2, std::int64_t{nMaxGames});
        while (query.Step()) {
            games.push_back({ParseDate(query.Text(0)).value_or(Date{}), Narrow<int>(query.Int(1)),
                             query.Text(2), Narrow<std::int16_t>(query.Int(3)), query.Int(4) != 0});
        }
        std::reverse(games.begin(), games.end());
        return games;
    } catch (const DbError&) {
        return std::nullopt;
    }
}

} // namespace user_stats

namespace top_ten_dialog {

bool TopTenLoad(MGlobal& g, StorageEnv& env, TopTenList& TopTen) {
    const std::string sProc = "TopTenLoad";
    auto db = OpenForJob(g, env, sProc);
    if (!db) {
        return false;
    }
    std::size_t n = 0;
    try {
        Statement query(*db, "SELECT name, score FROM topten ORDER BY score DESC, date, rowid");
        for (; query.Step(); ++n) {
            if (n < TopTen.size()) {
                TopTen[n].sName = query.Text(0);
                TopTen[n].nScore = Narrow<std::int16_t>(query.Int(1));
            }
        }
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return false;
    }
    for (; n < kTopTenPlaces; ++n) {
        TopTen[n].sName.clear();
        TopTen[n].nScore = 0;
    }
    return true;
}

bool ClearTopTen(MGlobal& g, StorageEnv& env) {
    const std::string sProc = "Clear Top Ten";
    auto db = OpenForJob(g, env, sProc);
    if (!db) {
        return false;
    }
    try {
        db->Exec("DELETE FROM topten");
        return true;
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return false;
    }
}

} // namespace top_ten_dialog

namespace user_editor {

std::vector<UserListEntry> LoadUserList(MGlobal& g, StorageEnv& env) {
    const std::string sProc = "Load User List";
    auto db = OpenForJob(g, env, sProc);
    if (!db) {
        return {};
    }
    std::vector<UserListEntry> entries;
    try {
        Statement query(*db, "SELECT userid, name FROM user");
        while (query.Step()) {
            entries.push_back({TrimBlanks(query.Text(1)), Narrow<std::int32_t>(query.Int(0))});
        }
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return {};
    }
    entries.push_back({"<New User>", kNewUserID});
    return entries;
}

std::optional<UserFormFields> LoadUserForm(MGlobal& g, StorageEnv& env, std::int32_t nSelUserID) {
    const std::string sProc = "Load User Form";
    auto db = OpenForJob(g, env, sProc);
    if (!db) {
        return std::nullopt;
    }
    try {
        Statement query(*db, "SELECT name, player1, player2, player3 FROM user WHERE userid = ?");
        query.Bind(1, std::int64_t{nSelUserID});
        if (!query.Step()) {
            return UserFormFields{"<New User>", "Player 1", "Player 2", "Player 3"};
        }
        return UserFormFields{query.Text(0), query.Text(1), query.Text(2), query.Text(3)};
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return std::nullopt;
    }
}

bool UpdateDatabase(MGlobal& g, StorageEnv& env, std::int32_t nEditUserID,
                    const UserFormFields& fields) {
    const std::string sProc = "Update Database";
    auto db = OpenForJob(g, env, sProc);
    if (!db) {
        return false;
    }
    try {
        Transaction tx(*db);
        Statement update(*db, "UPDATE user SET name = ?, player1 = ?, player2 = ?, player3 = ? "
                              "WHERE userid = ?");
        update.Bind(1, fields.sName)
            .Bind(2, fields.sPlayer1)
            .Bind(3, fields.sPlayer2)
            .Bind(4, fields.sPlayer3)
            .Bind(5, std::int64_t{nEditUserID});
        update.Run();
        if (db->Changes() == 0) {
            Statement insert(*db, "INSERT INTO user (userid, name, player1, player2, player3, "
                                  "skilllevel, numgames, winnings) "
                                  "VALUES (?, ?, ?, ?, ?, 'Easy', 0, 0)");
            insert.Bind(1, std::int64_t{nEditUserID})
                .Bind(2, fields.sName)
                .Bind(3, fields.sPlayer1)
                .Bind(4, fields.sPlayer2)
                .Bind(5, fields.sPlayer3);
            insert.Run();
        }
        tx.Commit();
        return true;
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return false;
    }
}

bool DeleteUser(MGlobal& g, StorageEnv& env, std::int32_t nSelUserID) {
    const std::string sProc = "Delete User";
    std::optional<Database> db;
    try {
        db = Database::Open(DatabaseFileName(g.sDBPath), env.keys);
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return false;
    }
    try {
        Transaction tx(*db);
        Statement remove(*db, "DELETE FROM user WHERE userid = ?");
        remove.Bind(1, std::int64_t{nSelUserID}).Run();
        EnsureHistoryTable(*db);
        Statement forget(*db, "DELETE FROM history WHERE userid = ?");
        forget.Bind(1, std::int64_t{nSelUserID}).Run();
        tx.Commit();
        return true;
    } catch (const DbError& e) {
        ShowFailure(env, e, sProc);
        return false;
    }
}

} // namespace user_editor

} // namespace corvane
