// The name checks: which problem is reported first, and its exact words.
#include "dialogs/db_path_dialog.hpp"
#include "dialogs/user_stats_dialog.hpp"
#include "dialogs/user_validation.hpp"

#include <gtest/gtest.h>

namespace corvane {
namespace {

EnteredNames Valid() {
    return {"Anna", "Bert", "Carl", "Dora"};
}

TEST(FindNameProblem, AcceptsFourShortNames) {
    EXPECT_FALSE(FindNameProblem(Valid()).has_value());
}

TEST(FindNameProblem, NewUserLeftInTheBoxIsRefusedBeforeAnythingElse) {
    EnteredNames names{"<New User>", "", "", ""};
    const auto problem = FindNameProblem(names);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->sMessage, "<New User> is not a valid user name!");
    EXPECT_EQ(problem->sTitle, "Invalid User Name");
    EXPECT_EQ(problem->field, NameField::User);

    names = Valid();
    names.sName = "Anna>";
    ASSERT_TRUE(FindNameProblem(names));
    EXPECT_EQ(FindNameProblem(names)->sTitle, "Invalid User Name");
    names.sName = "<Anna";
    EXPECT_EQ(FindNameProblem(names)->sMessage, "<Anna is not a valid user name!");
}

TEST(FindNameProblem, BlankNamesComeFirstInBoxOrder) {
    EnteredNames names{"", "", "", ""};
    EXPECT_EQ(FindNameProblem(names)->sMessage, "User name cannot be blank!");
    EXPECT_EQ(FindNameProblem(names)->sTitle, "Invalid name");

    names.sName = "Anna";
    auto problem = FindNameProblem(names);
    EXPECT_EQ(problem->sMessage, "1st Opponent name cannot be blank!");
    EXPECT_EQ(problem->field, NameField::Player1);

    names.sPlayer1 = "Bert";
    EXPECT_EQ(FindNameProblem(names)->sMessage, "2nd Opponent name cannot be blank!");
    names.sPlayer2 = "Carl";
    EXPECT_EQ(FindNameProblem(names)->sMessage, "3rd Opponent name cannot be blank!");
    EXPECT_EQ(FindNameProblem(names)->field, NameField::Player3);
}

TEST(FindNameProblem, ABlankLaterBoxWinsOverALongEarlierName) {
    EnteredNames names{"Maximiliane13", "Bert", "Carl", ""};
    EXPECT_EQ(FindNameProblem(names)->sMessage, "3rd Opponent name cannot be blank!");
}

TEST(FindNameProblem, TwelveCharactersPassThirteenDoNot) {
    EnteredNames names = Valid();
    names.sName = "Maximilian12";
    ASSERT_EQ(names.sName.size(), 12U);
    EXPECT_FALSE(FindNameProblem(names));
    names.sName = "Maximiliane13";
    auto problem = FindNameProblem(names);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->sMessage, "User name cannot be more\r\nthan 12 characters!");

    names = Valid();
    names.sPlayer2 = "Christopher13";
    problem = FindNameProblem(names);
    EXPECT_EQ(problem->sMessage, "2nd Opponent name cannot be\r\nmore than 12 characters!");
    EXPECT_EQ(problem->field, NameField::Player2);
}

TEST(FindNameProblem, CountsLettersNotBytes) {
    EnteredNames names = Valid();
    names.sName = "\xC3\x89milie-Zo\xC3\xA9!!"; // 12 letters, 14 bytes
    ASSERT_EQ(names.sName.size(), 14U);
    EXPECT_FALSE(FindNameProblem(names));
}

TEST(SkillLevel, OnlyTheThreeWordsExactly) {
    EXPECT_TRUE(IsValidSkillLevel("Easy"));
    EXPECT_TRUE(IsValidSkillLevel("Medium"));
    EXPECT_TRUE(IsValidSkillLevel("Hard"));
    EXPECT_FALSE(IsValidSkillLevel("easy"));
    EXPECT_FALSE(IsValidSkillLevel(""));
}

TEST(RenameQuestion, NamesOldAndNew) {
    EXPECT_EQ(RenameQuestion("Anna", "Annie"),
              "Do you wish to change the user\r\nname Anna -> Annie?\r\n\r\n"
              "Note: To add a NEW user select\r\n<New User> from the user list.");
}

TEST(AverageWinnings, TruncatesTowardZero) {
    EXPECT_EQ(AverageWinningsText(-45, 2), "$-22");
    EXPECT_EQ(AverageWinningsText(45, 2), "$22");
    EXPECT_EQ(AverageWinningsText(500, 0), "$0");
    EXPECT_EQ(AverageWinningsText(-1, 3), "$0");
}

#ifndef _WIN32
TEST(NormaliseNewFolder, TrimsAndDropsTrailingSeparatorsButKeepsTheRoot) {
    EXPECT_EQ(NormaliseNewFolder("  /srv/games/  "), "/srv/games");
    EXPECT_EQ(NormaliseNewFolder("/srv/games//"), "/srv/games");
    EXPECT_EQ(NormaliseNewFolder("/"), "/");
    EXPECT_EQ(NormaliseNewFolder(" // "), "/");
    EXPECT_EQ(DatabaseFileIn("/"), "/corvane.mdb");
    EXPECT_EQ(DatabaseFileIn("/srv/games"), "/srv/games/corvane.mdb");
}
#else
TEST(NormaliseNewFolder, ADriveRootLosesItsBackslash) {
    EXPECT_EQ(NormaliseNewFolder("C:\\"), "C:");
    EXPECT_EQ(DatabaseFileIn("C:"), "C:\\corvane.mdb");
    EXPECT_EQ(NormaliseNewFolder(" D:\\Games\\ "), "D:\\Games");
}
#endif

} // namespace
} // namespace corvane
