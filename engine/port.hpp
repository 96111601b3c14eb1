// Everything the engine needs from the outside world goes through this one
// interface: the panels and the table it draws on, the sounds, the pause, the
// modal dialogs, the settings and the top-ten store, and the clock. The table
// window implements it; tests implement it with a recording fake. Every call is
// synchronous: when it returns, its effect is complete.
#pragma once

#include "clock.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// What a seat's last-card box shows.
struct LastCardPanel {
    bool bSad = false;          // the sad face after paying the pot
    bool bCardNoVisible = true; // the rank label
    std::string sCardNo;        // "A" ... "K", or empty
    int nSuitIcon = 0;          // 100 + suit, or 0 for no picture
};

class GamePort : public Clock {
public:
    // Seat panels and the other labels; captions are the exact texts to show.
    virtual void SetAmt(int nSeat, const std::string& sCaption) = 0;
    virtual void SetPot(const std::string& sCaption) = 0;
    virtual void SetCardsLeft(int nSeat, const std::string& sCaption) = 0;
    virtual void SetLastCard(int nSeat, const LastCardPanel& panel) = 0;
    // Fills a seat's turn marker and repaints it at once.
    virtual void SetPlayerFill(int nSeat, std::uint32_t nColour) = 0;
    virtual void SetPlayerName(int nSeat, const std::string& sName) = 0;
    virtual void SetWinnings(const std::string& sCaption) = 0;
    virtual void SetStatsMenuCaption(const std::string& sCaption) = 0;

    // The table's drawing surface, in twips.
    virtual int TableWidth() = 0;
    virtual void ClearTable() = 0;
    virtual void DrawCardsPlayed(const std::vector<int>& CardsPlayed) = 0;
    virtual void DrawUserHand(const std::vector<int>& UserHand, int nHandLeft, int nHandTop,
                              int nCardSpacing) = 0;
    // An opponent's card glides from its side of the table to its place in the rows.
    virtual void FlyCard(int nSeat, int nCard) = 0;

    // The window itself.
    virtual void SetCaption(const std::string& sCaption) = 0;
    virtual void SetBackground(int nBitmap) = 0;
    virtual void SetHourglass(bool bBusy) = 0;
    // Off while the opponents move: clicks and commands made meanwhile are dropped.
    virtual void SetInputEnabled(bool bEnabled) = 0;
    // Plays a sound by name and returns when it has ended.
    virtual void PlaySoundRes(const std::string& sName) = 0;
    // Lets the window run its timer until the engine's pause has counted down:
    // the window calls Game::tmrCount_Timer on each tick and returns once
    // bDelayDone is set.
    virtual void WaitForPause() = 0;

    // Modal dialogs. They read what they show from the shared values.
    virtual void ShowMessage() = 0;  // the hint for sMessage / sMessageCard
    virtual void ShowHandOver() = 0; // standings after a hand
    // Books the game, ranks the seats, sets bUserWon; returns "YES", "NO" or
    // "CHANGE", or nothing when closed without an answer.
    virtual std::optional<std::string> ShowGameOver() = 0;
    virtual void ShowHighScore() = 0;
    virtual void ShowTopTen() = 0; // highlights place nTopTenPos
    // Chooses the user; sExitCaption names the exit button ("&Exit" or "&Cancel").
    // Returns "O" when a user was confirmed, "X" for the exit button, or nothing.
    virtual std::optional<std::string> ShowUserName(const std::string& sExitCaption) = 0;

    // Settings, the stored top ten, and the end of the program.
    virtual void SaveSettings() = 0;
    virtual void TopTenLoad() = 0;
    virtual void TopTenSave() = 0;
    // Recovers from a database failure (bDBError): switches to the program
    // folder's database and asks for the user again, or ends the program.
    virtual void HandleDBError() = 0;
    // Closes the table window, which ends the program with its usual closing steps.
    virtual void Unload() = 0;
};

} // namespace corvane
