// The values shared by the main window, the engine and the dialogs: the current
// user, the options, the per-hand results and the failure flags. One object of
// this type lives for the whole run; everything that needs it gets a reference.
#pragma once

#include "clock.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

inline constexpr const char* kTitle = "The Game of Corvane v2.2";

// Marks the "<New User>" entry of the user lists; real ids stay below it.
inline constexpr std::int32_t kNewUserID = 9999;

struct TopTenRec {
    std::string sName;
    std::int16_t nScore = 0;
    Date dtDate{};
};

struct StandingRec {
    std::string sName;
    std::int16_t nFunds = 0;
};

// How the table is drawn, chosen in the view options and kept in a file of
// their own beside the settings file.
struct ViewOptions {
    bool bFourColour = false;   // green clubs, blue diamonds
    bool bLargeIndices = false; // bigger rank and suit in the cards' corners
    bool bShowPlayable = false; // the user's legal cards lifted during the turn
    bool bTrails = true;        // a flying card leaves its trail until the redraw
    bool bTooltips = true;      // the panels' boxes and the winnings box explain themselves

    bool operator==(const ViewOptions&) const = default;
};

struct MGlobal {
    // The current user's record, named after the columns of the user table.
    std::int32_t nUserID = 0;
    std::string sUserName;
    std::string sLeftName;
    std::string sTopName;
    std::string sRightName;
    std::string sSkillLevel;
    std::int16_t nNumGames = 0;
    std::int32_t nWinnings = 0;
    std::int32_t nLastUserID = 0;
    // 0 Easy, 1 Medium, 2 Hard; follows sSkillLevel (see SetSkillLevel).
    int nSkillLevel = 0;

    // Options kept in the settings file.
    std::string sDBPath;
    bool bSoundOn = false;
    bool bAnimals = false;
    bool bCopyLnk = false;
    std::int32_t lAnimSpeed = 0;
    bool bSmallScreen = false;
    ViewOptions View;

    // Results of the current game that the dialogs show.
    std::vector<std::string> ScoresOne;
    std::vector<std::string> ScoresTwo;
    std::vector<std::string> ScoresThree;
    std::vector<std::string> ScoresUser;
    std::string sWinnerName;
    std::string sPotWon;
    bool bUserWon = false;
    int nTopTenPos = 0;
    std::array<StandingRec, 4> Standings{};

    std::string sTitle = kTitle;

    // Database failure and recovery.
    bool bDBError = false;
    bool bUseDefaultDB = false;

    // State of the opponents' random generator; 0 means not yet seeded.
    std::int32_t lSeed = 0;
};

// Sets the skill level word and the opponents' strategy number with it.
void SetSkillLevel(MGlobal& g, const std::string& sSkillLevel);

// Seeds lSeed with the absolute value of the tick count read as a signed number.
void StoreTickCount(std::int32_t& lSeed, std::uint32_t nTickCount);

// Erases the four per-hand result lists.
void EraseScores(MGlobal& g);

} // namespace corvane
