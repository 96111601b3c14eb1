// The pure rules of the dialogs: which name problem is reported first and in
// what words, the average shown, the folder a new database path means, and the
// leading-number rule the funds are read with.
#include "dialogs/db_path_dialog.hpp"
#include "dialogs/game_dialog_support.hpp"
#include "dialogs/user_stats_dialog.hpp"
#include "dialogs/user_validation.hpp"

#include <limits>

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct NameCase {
    EnteredNames names;
    const char* sMessage; // nullptr: accepted
    const char* sTitle;
    NameField field;
};

TEST(FindNameProblem, FirstProblemInBoxOrder) {
    const NameCase cases[] = {
        {{"Anna", "Bert", "Carl", "Dora"}, nullptr, "", NameField::User},
        {{"<New User>", "", "", ""},
         "<New User> is not a valid user name!",
         "Invalid User Name",
         NameField::User},
        {{"Anna>", "Bert", "Carl", "Dora"},
         "Anna> is not a valid user name!",
         "Invalid User Name",
         NameField::User},
        {{"", "", "", ""}, "User name cannot be blank!", "Invalid name", NameField::User},
        {{"Anna", "", "", ""},
         "1st Opponent name cannot be blank!",
         "Invalid name",
         NameField::Player1},
        {{"Anna", "Bert", "", "Dora"},
         "2nd Opponent name cannot be blank!",
         "Invalid name",
         NameField::Player2},
        // A blank later box wins over a long earlier name.
        {{"Maximiliane13", "Bert", "Carl", ""},
         "3rd Opponent name cannot be blank!",
         "Invalid name",
         NameField::Player3},
        {{"Maximiliane13", "Bert", "Carl", "Dora"},
         "User name cannot be more\r\nthan 12 characters!",
         "Invalid name",
         NameField::User},
        {{"Maximilian12", "Bert", "Christopher13", "Dora"},
         "2nd Opponent name cannot be\r\nmore than 12 characters!",
         "Invalid name",
         NameField::Player2},
        // Letters are counted, not bytes: 12 letters in 14 bytes.
        {{"\xC3\x89milie-Zo\xC3\xA9!!", "Bert", "Carl", "Dora"}, nullptr, "", NameField::User},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.names.sName + "/" + c.names.sPlayer2);
        const auto problem = FindNameProblem(c.names);
        ASSERT_EQ(problem.has_value(), c.sMessage != nullptr);
        if (problem) {
            EXPECT_EQ(problem->sMessage, c.sMessage);
            EXPECT_EQ(problem->sTitle, c.sTitle);
            EXPECT_EQ(problem->field, c.field);
        }
    }
    EXPECT_TRUE(IsValidSkillLevel("Hard"));
    EXPECT_FALSE(IsValidSkillLevel("easy"));
}

TEST(AverageWinnings, TruncatesTowardZero) {
    EXPECT_EQ(AverageWinningsText(-45, 2), "$-22");
    EXPECT_EQ(AverageWinningsText(45, 2), "$22");
    EXPECT_EQ(AverageWinningsText(500, 0), "$0");
}

#ifndef _WIN32
TEST(NormaliseNewFolder, TrimsAndDropsTrailingSeparatorsButKeepsTheRoot) {
    EXPECT_EQ(NormaliseNewFolder("  /srv/games//  "), "/srv/games");
    EXPECT_EQ(NormaliseNewFolder(" // "), "/");
    EXPECT_EQ(DatabaseFileIn("/"), "/corvane.mdb");
    EXPECT_EQ(DatabaseFileIn("/srv/games"), "/srv/games/corvane.mdb");
}
#endif

TEST(LeadingInteger, BlanksSignDigitsAndNothingElse) {
    const std::pair<const char*, int> cases[] = {
        {"  -45", -45},
        {"+7", 7},
        {"310abc", 310},
        {"12.9", 12},
        {"$150", 0},
        {"-", 0},
        {"99999999999", std::numeric_limits<int>::max()},
        {"-99999999999", std::numeric_limits<int>::min()},
    };
    for (const auto& [sText, nValue] : cases) {
        EXPECT_EQ(LeadingInteger(sText), nValue) << sText;
    }
}

} // namespace
} // namespace corvane
