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

TEST(FindNameProblem, FirstProblemInBoxOrder) {
    using enum NameField;
    const char* kBad = "Invalid User Name";
    const char* kBlank = "Invalid name"; // the title of the blank and the long names
    const std::tuple<EnteredNames, const char*, const char*, NameField> cases[] = {
        {{"Anna", "Bert", "Carl", "Dora"}, nullptr, "", User},
        {{"<New User>", "", "", ""}, "<New User> is not a valid user name!", kBad, User},
        {{"Anna>", "Bert", "Carl", "Dora"}, "Anna> is not a valid user name!", kBad, User},
        {{"", "", "", ""}, "User name cannot be blank!", kBlank, User},
        {{"Anna", "", "", ""}, "1st Opponent name cannot be blank!", kBlank, Player1},
        {{"Anna", "Bert", "", "Dora"}, "2nd Opponent name cannot be blank!", kBlank, Player2},
        // A blank later box wins over a long earlier name.
        {{"Maximiliane13", "Bert", "Carl", ""},
         "3rd Opponent name cannot be blank!",
         kBlank,
         Player3},
        {{"Maximiliane13", "Bert", "Carl", "Dora"},
         "User name cannot be more\r\nthan 12 characters!",
         kBlank,
         User},
        {{"Maximilian12", "Bert", "Christopher13", "Dora"},
         "2nd Opponent name cannot be\r\nmore than 12 characters!",
         kBlank,
         Player2},
        // Letters are counted, not bytes: 12 letters in 14 bytes.
        {{"\xC3\x89milie-Zo\xC3\xA9!!", "Bert", "Carl", "Dora"}, nullptr, "", User},
    };
    for (const auto& [names, sMessage, sTitle, field] : cases) {
        const auto problem = FindNameProblem(names);
        ASSERT_EQ(problem.has_value(), sMessage != nullptr) << names.sName;
        if (problem) {
            EXPECT_EQ(std::tie(problem->sMessage, problem->sTitle, problem->field),
                      std::tuple(std::string(sMessage), std::string(sTitle), field));
        }
    }
    EXPECT_TRUE(IsValidSkillLevel("Hard"));
    EXPECT_FALSE(IsValidSkillLevel("easy"));
}

TEST(AverageWinnings, TruncatesTowardZero) {
    EXPECT_EQ(AverageWinningsText(-45, 2) + AverageWinningsText(45, 2) +
                  AverageWinningsText(500, 0),
              "$-22$22$0");
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
