// The game database procedures. Each opens corvane.mdb in the folder sDBPath for
// one job and releases it before returning. A failure to open goes to IsValidPath
// and sets bDBError (the caller then runs HandleDBError); a failure of the job
// itself is shown under the procedure's name and changes nothing in the file.
// Procedures that return nothing else return whether their job was done, so a
// caller need not read the flags to know whether to go on; bDBError still tells
// which failures need the recovery.
// Every write of more than one statement is one transaction, so several
// computers can share the file and a crash never leaves half a change.
#pragma once

#include "engine/clock.hpp"
#include "engine/mglobal.hpp"
#include "key_cache.hpp"
#include "platform/file_system.hpp"
#include "platform/message_box.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

// What the procedures use besides the shared values: the platform services, the
// program's folder (home of the default database) and this run's derived keys.
struct StorageEnv {
    StorageEnv(MessageBoxes& msgBoxes, FileSystem& fileSystem, Clock& clockNow,
               std::string sProgramFolder, bool bCacheKeys = true)
        : msg(msgBoxes), files(fileSystem), clock(clockNow), sAppPath(std::move(sProgramFolder)),
          keys(bCacheKeys) {}

    MessageBoxes& msg;
    FileSystem& files;
    Clock& clock;
    std::string sAppPath;
    KeyCache keys;
};

// A row of the user table.
struct UserRec {
    std::int32_t nUserID = 0;
    std::string sName;
    std::string sPlayer1;
    std::string sPlayer2;
    std::string sPlayer3;
    std::string sSkillLevel;
    std::int16_t nNumGames = 0;
    std::int32_t nWinnings = 0;
};

// An entry of a user list: its text and its item data (the user id, or
// kNewUserID for "<New User>").
struct UserListEntry {
    std::string sText;
    std::int32_t nItemData = 0;
};

// The four names the user editor shows and saves.
struct UserFormFields {
    std::string sName;
    std::string sPlayer1;
    std::string sPlayer2;
    std::string sPlayer3;
};

using TopTenList = std::array<TopTenRec, 11>;

// A finished game as the game-over dialog books it; the user, the date and the
// skill level come from the shared values and the clock.
struct FinishedGame {
    int nLevel = 1;          // as shown: "Level 1" is 1
    std::int16_t nFunds = 0; // the user's final funds
    bool bWon = false;       // the user came first
};

// A game of the user's history.
struct HistoryRec {
    Date dtDate{};
    int nLevel = 1;
    std::string sSkillLevel;
    std::int16_t nFunds = 0;
    bool bWon = false;
};

// The database file in a folder: folder + separator + "corvane.mdb".
std::string DatabaseFileName(const std::string& sFolder);

// Starts deriving the key of the database in g.sDBPath on a worker thread, so
// that the first procedure to open it (the user dialog's) need not wait for it.
void DeriveKeyAhead(const MGlobal& g, StorageEnv& env);

// Dates are stored as "YYYY-MM-DD HH:MM:SS" (UTC).
std::string FormatDate(Date dt);
std::optional<Date> ParseDate(const std::string& s);

// Reports a failed open and decides whether the program folder's database can
// take over (bUseDefaultDB).
void IsValidPath(MGlobal& g, StorageEnv& env, std::int32_t nErrNum, const std::string& sErrDesc,
                 const std::string& sProc);

enum class DbRecovery {
    RestartUserDialog, // sDBPath is now the program's folder; ask for the user again
    EndProgram         // end at once, saving nothing
};

// The decision after a procedure left bDBError set.
DbRecovery HandleDBError(MGlobal& g, const StorageEnv& env);

// Hands out a new user id and counts the stored one up, in one transaction. Never
// hands out kNewUserID or an id already in the user table; 0 on failure.
std::int32_t GetNextUserID(MGlobal& g, StorageEnv& env);

// Ranks the four seats by their final funds (index = seat) through the player
// table and fills g.Standings, highest first. False when g.Standings was left
// as it was.
bool GetStandings(MGlobal& g, StorageEnv& env, const std::array<std::int16_t, 4>& aFunds);

namespace main_window {

// Reads the stored top ten, highest score first; places beyond the stored rows
// are empty (no name, score 0, dated now).
bool TopTenLoad(MGlobal& g, StorageEnv& env, TopTenList& TopTen);

// Saves the top ten. When g.nTopTenPos names the place of a new entry, that
// entry is merged into the list as stored at this moment (below equal scores, ten
// kept), so that an entry another computer saved meanwhile is kept; TopTen gets
// the merged list and g.nTopTenPos the place taken, or 99 when the entry no longer
// qualifies. Returns the place taken.
std::optional<int> TopTenSave(MGlobal& g, StorageEnv& env, TopTenList& TopTen);

} // namespace main_window

namespace user_dialog {

// Every user, in stored order; empty when there are none or on failure.
std::vector<UserRec> GetPlayerData(MGlobal& g, StorageEnv& env);

// Writes the current user's record (row nUserID, added when missing). The user's
// history keeps no more games than the record counts, so totals reset to zero
// clear it here and in SaveUserData.
bool UpdateDatabase(MGlobal& g, StorageEnv& env);

} // namespace user_dialog

namespace game_over {

// Writes the current user's opponents, level, games and winnings into the row
// of nUserID (added when missing), and the game into the user's history, in one
// transaction.
bool SaveUserData(MGlobal& g, StorageEnv& env, const FinishedGame& game);

} // namespace game_over

namespace user_stats {

// The current user's newest nMaxGames games, oldest first, in one indexed read.
// Nothing when the file or the history cannot be read; this is reported neither
// by a message nor by bDBError, since the statistics do not depend on it.
std::optional<std::vector<HistoryRec>> LoadHistory(const MGlobal& g, StorageEnv& env,
                                                   int nMaxGames);

} // namespace user_stats

namespace top_ten_dialog {

// Reads names and scores, highest score first and the older first among equal
// scores; places beyond the stored rows are empty.
bool TopTenLoad(MGlobal& g, StorageEnv& env, TopTenList& TopTen);

// Empties the top-ten table.
bool ClearTopTen(MGlobal& g, StorageEnv& env);

} // namespace top_ten_dialog

namespace user_editor {

// One entry per user in stored order, then "<New User>"; empty on failure.
std::vector<UserListEntry> LoadUserList(MGlobal& g, StorageEnv& env);

// The stored names of user nSelUserID, or "<New User>", "Player 1", "Player 2",
// "Player 3" when there is no such row; nothing when the query failed.
std::optional<UserFormFields> LoadUserForm(MGlobal& g, StorageEnv& env, std::int32_t nSelUserID);

// Writes the four names of user nEditUserID, adding the row (Easy, no games) when
// missing. True on success ("0"), false on failure ("ERROR").
bool UpdateDatabase(MGlobal& g, StorageEnv& env, std::int32_t nEditUserID,
                    const UserFormFields& fields);

// Deletes user nSelUserID and the user's history. A failure to open is only reported (bDBError
// stays as it was). True when the statement ran.
bool DeleteUser(MGlobal& g, StorageEnv& env, std::int32_t nSelUserID);

} // namespace user_editor

} // namespace corvane
