// What the user dialogs change on the main window: the four name plates, the
// caption of the statistics menu item and the winnings label. The main window
// implements it; tests record the calls.
#pragma once

#include "engine/mglobal.hpp"

#include <cstdint>
#include <string>

namespace corvane {

class UserDisplay {
public:
    virtual ~UserDisplay() = default;
    // lblPlayer(0) to lblPlayer(3): the left, top and right opponents and the user.
    virtual void ShowPlayerNames(const std::string& sLeft, const std::string& sTop,
                                 const std::string& sRight, const std::string& sUser) = 0;
    // The caption of the menu item mnuWinnings.
    virtual void SetStatsCaption(const std::string& sCaption) = 0;
    // The text of lblWinnings.
    virtual void ShowWinnings(const std::string& sText) = 0;

protected:
    UserDisplay() = default;
    UserDisplay(const UserDisplay&) = default;
    UserDisplay(UserDisplay&&) = default;
    UserDisplay& operator=(const UserDisplay&) = default;
    UserDisplay& operator=(UserDisplay&&) = default;
};

// The statistics menu caption: the name trimmed and in capitals + "'s Stats...".
std::string StatsCaption(const std::string& sUserName);

// "$" + the amount in decimal; a minus sign follows the dollar sign.
std::string DollarText(std::int32_t nAmount);

// The current user's names on the plates and in the menu caption.
void ShowCurrentUserNames(UserDisplay& display, const MGlobal& g);

} // namespace corvane
