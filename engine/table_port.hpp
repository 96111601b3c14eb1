// What the engine asks of the table window: the seat panels, the cards on the
// table and in the user's hand, the opponents' flights, the sounds, the hints,
// the pause and the window's caption, background and pointer. The table window
// implements it; tests implement it with a recording fake. Every call is
// synchronous: when it returns, its effect is complete.
#pragma once

#include "sound.hpp"

#include <cstdint>
#include <vector>

namespace corvane {

// Why a click on the hand or on the pay-the-pot button did nothing.
enum class Hint {
    NoCard,     // a card was clicked, but none can be laid: pay the pot
    WrongCard,  // that card cannot be laid
    MustPlay,   // the pot cannot be paid while the Seven of Hearts must open
    CanPlayOne, // ... nor while one card can be laid (named with the hint)
    CanPlayTwo, // ... nor while several can
};

// What a seat's last-card box shows besides a card number: nothing (as at the
// deal), or the sad face of a seat that has just paid the pot.
inline constexpr int kNoLastCard = -1;
inline constexpr int kPaidThePot = -2;

class TablePort {
public:
    virtual ~TablePort() = default;

    // False for a port that shows nothing, such as a simulation's: the engine then
    // leaves out the calls that only show the play (the panels, the cards, the
    // flights, the sounds, the input switch and the pause), which are most of its
    // calls, and keeps those that answer something or dress the window. Such a
    // port reads what it needs from the game state, never from its own panels.
    virtual bool ShowsPlay() const { return true; }

    // Seat panels and the pot, as numbers; the window words them.
    virtual void SetAmt(int nSeat, int nFunds) = 0;
    virtual void SetPot(int nPot) = 0;
    virtual void SetCardsLeft(int nSeat, int nCardsLeft) = 0;
    // The card the seat laid last, or kNoLastCard, or kPaidThePot.
    virtual void SetLastCard(int nSeat, int nCard) = 0;
    // Fills a seat's turn marker and repaints it at once.
    virtual void SetPlayerFill(int nSeat, std::uint32_t nColour) = 0;

    // The table's drawing surface, in twips.
    virtual int TableWidth() = 0;
    virtual void ClearTable() = 0;
    virtual void DrawCardsPlayed(const std::vector<int>& CardsPlayed) = 0;
    virtual void DrawUserHand(const std::vector<int>& UserHand, int nHandLeft, int nHandTop,
                              int nCardSpacing) = 0;
    // An opponent's card glides from its side of the table to its place in the rows.
    virtual void FlyCard(int nSeat, int nCard) = 0;

    // The window itself. The caption names the level and the hand in the game
    // after the title (see LevelCaption).
    virtual void SetCaption(int nLevel, int nHand) = 0;
    // The caption while a practice hand is played: it says so, and names the
    // level and the hand whose deal is played again.
    virtual void SetPracticeCaption(int nLevel, int nHand) = 0;
    virtual void SetBackground(int nBitmap) = 0;
    virtual void SetHourglass(bool bBusy) = 0;
    // Off while the opponents move: clicks and commands made meanwhile are dropped.
    virtual void SetInputEnabled(bool bEnabled) = 0;
    // Plays a sound and returns when it has ended.
    virtual void PlaySoundRes(Sound sound) = 0;
    // Lets the window run its timer until the engine's pause has counted down:
    // the window calls Game::tmrCount_Timer on each tick and returns once
    // bDelayDone is set.
    virtual void WaitForPause() = 0;
    // A hint, shown modally over the table; nCard is the card that CanPlayOne names.
    virtual void ShowMessage(Hint hint, int nCard) = 0;

protected:
    TablePort() = default;
    TablePort(const TablePort&) = default;
    TablePort(TablePort&&) = default;
    TablePort& operator=(const TablePort&) = default;
    TablePort& operator=(TablePort&&) = default;
};

} // namespace corvane
