// The checks of the names entered in the user dialog and the user editor, in
// the order the user sees their messages.
#pragma once

#include <optional>
#include <string>

namespace corvane {

inline constexpr const char* kNewUserText = "<New User>";
inline constexpr int kMaxNameLength = 12;

// Which box a problem belongs to: the user's name, the three opponents, the level.
enum class NameField { User = 1, Player1 = 2, Player2 = 3, Player3 = 4, SkillLevel = 5 };

struct NameProblem {
    NameField field = NameField::User;
    std::string sMessage;
    std::string sTitle;
};

// The entered names, already trimmed.
struct EnteredNames {
    std::string sName;
    std::string sPlayer1;
    std::string sPlayer2;
    std::string sPlayer3;
};

// The first problem: a name that begins with "<" or ends with ">" (as "<New
// User>" left in the box), then the first blank name, then the first name over
// twelve characters; nothing when all names pass.
std::optional<NameProblem> FindNameProblem(const EnteredNames& names);

// "Easy", "Medium" and "Hard", exactly.
bool IsValidSkillLevel(const std::string& sSkillLevel);

// The question asked before an existing user gets a new name.
std::string RenameQuestion(const std::string& sOldName, const std::string& sNewName);
inline constexpr const char* kRenameTitle = "User Name has changed...";

// Shown when the database handed out no id for a new user, which is then not saved.
inline constexpr const char* kNoUserIdText = "A new user cannot be added now:\r\n"
                                             "the database gave out no user id.";
inline constexpr const char* kNoUserIdTitle = "New User";

} // namespace corvane
