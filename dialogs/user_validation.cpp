// Name checks shared by the user dialog and the user editor.
#include "user_validation.hpp"

#include "platform/message_box.hpp"

#include <array>

namespace corvane {

namespace {

// Characters, not bytes: a name typed with accents counts each letter once.
std::size_t CharCount(const std::string& s) {
    std::size_t n = 0;
    for (const char c : s) {
        if ((static_cast<unsigned char>(c) & 0xC0U) != 0x80U) {
            ++n;
        }
    }
    return n;
}

} // namespace

std::optional<NameProblem> FindNameProblem(const EnteredNames& names) {
    const std::string& sName = names.sName;
    if (!sName.empty() && (sName.back() == '>' || sName.front() == '<')) {
        return NameProblem{NameField::User, sName + " is not a valid user name!",
                           "Invalid User Name"};
    }
    const std::array<std::pair<const std::string*, NameField>, 4> boxes{{
        {&names.sName, NameField::User},
        {&names.sPlayer1, NameField::Player1},
        {&names.sPlayer2, NameField::Player2},
        {&names.sPlayer3, NameField::Player3},
    }};
    const std::array<const char*, 4> blankMessages{
        "User name cannot be blank!", "1st Opponent name cannot be blank!",
        "2nd Opponent name cannot be blank!", "3rd Opponent name cannot be blank!"};
    const std::array<std::string, 4> longMessages{
        std::string("User name cannot be more") + kCrLf + "than 12 characters!",
        std::string("1st Opponent name cannot be") + kCrLf + "more than 12 characters!",
        std::string("2nd Opponent name cannot be") + kCrLf + "more than 12 characters!",
        std::string("3rd Opponent name cannot be") + kCrLf + "more than 12 characters!"};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i].first->empty()) {
            return NameProblem{boxes[i].second, blankMessages[i], "Invalid name"};
        }
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (CharCount(*boxes[i].first) > static_cast<std::size_t>(kMaxNameLength)) {
            return NameProblem{boxes[i].second, longMessages[i], "Invalid name"};
        }
    }
    return std::nullopt;
}

bool IsValidSkillLevel(const std::string& sSkillLevel) {
    return sSkillLevel == "Easy" || sSkillLevel == "Medium" || sSkillLevel == "Hard";
}

std::string RenameQuestion(const std::string& sOldName, const std::string& sNewName) {
    return std::string("Do you wish to change the user") + kCrLf + "name " + sOldName + " -> " +
           sNewName + "?" + kCrLf + kCrLf + "Note: To add a NEW user select" + kCrLf +
           "<New User> from the user list.";
}

} // namespace corvane
