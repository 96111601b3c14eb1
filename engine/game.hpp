// The game engine: dealing, the rules, the turn cycle, the money of a hand and the
// user's two actions. It owns the game state, is driven by the window's events and
// speaks to the outside world only through its ports: the table it is shown on,
// the program around it, and the clock.
#pragma once

#include "clock.hpp"
#include "game_state.hpp"
#include "mglobal.hpp"
#include "practice.hpp"
#include "program_port.hpp"
#include "table_port.hpp"

#include <memory>
#include <optional>
#include <string>

namespace corvane {

class Game;

// " - Level n (kth Hand)", which follows the title in the window's caption:
// nLevel counts from 0, nHand is 0 to 3 within the game.
std::string LevelCaption(int nLevel, int nHand);

// The computer seats' turns; the opponents library provides the real one.
class OpponentTurns {
public:
    virtual ~OpponentTurns() = default;
    // Runs one whole turn of seat nSeat (0 left, 1 top, 2 right).
    virtual void PlayerTurn(Game& game, int nSeat) = 0;

protected:
    OpponentTurns() = default;
    OpponentTurns(const OpponentTurns&) = default;
    OpponentTurns(OpponentTurns&&) = default;
    OpponentTurns& operator=(const OpponentTurns&) = default;
    OpponentTurns& operator=(OpponentTurns&&) = default;
};

class Game {
public:
    Game(MGlobal& globals, TablePort& table, ProgramPort& program, Clock& clock,
         OpponentTurns& opponents);

    GameState& State() { return state_; }
    const GameState& State() const { return state_; }
    MGlobal& Globals() { return g_; }
    TablePort& Table() { return table_; }
    // Whether the table shows the play (see TablePort::ShowsPlay).
    bool ShowsPlay() const { return bShowsPlay_; }
    ProgramPort& Program() { return program_; }
    Clock& GameClock() { return clock_; }

    // Fills the deck in order and shuffles it once; done when the window loads.
    void LoadDeck();

    // Begins a hand; with bNewGame also a new game (funds back to 200, pot 0).
    void StartGame(bool bNewGame);
    void PlayersAnte();
    void ShuffleDeck();
    void DealCards();
    // Resets the seat panels; with bNewGame also the funds and the pot.
    void InitializeDisplay(bool bNewGame);
    // Four fresh hands of 13 and every seat's count back to 13.
    void InitializeCardArrays();

    // Lists the user's legal cards in UserPlayable; true when there is one.
    bool CanUserPlay();
    // One round of the opponents, then the pay-out if one of them finished.
    void PlayCards();

    // A card laid by a seat: its panel shows it, its count drops, and the hand
    // is over when the count reaches 0.
    void ShowLastCard(int nSeat, int nCard);
    // Moves the card at nIndex of a seat's hand to the table and shows it.
    void LayCard(int nSeat, int nIndex);
    void AddToCardsPlayed(int nCard);
    void SortCardsPlayed();
    // A seat that cannot lay pays $5 into the pot; its panel shows the sad face.
    void PayThePot(int nSeat);
    // The pause that ends an opponent's move: 20 ticks of the window's timer.
    void Pause();
    // One tick of the window's pause timer.
    void tmrCount_Timer() {
        if (state_.nDelay != 0) {
            --state_.nDelay;
            if (state_.nDelay == 0) {
                state_.bDelayDone = true;
            }
        }
    }

    void ClearTable();
    void DrawCardsPlayed();
    void DrawUserHand();
    void SetPlayerFill(int nSeat, std::uint32_t nColour) {
        if (bShowsPlay_) {
            table_.SetPlayerFill(nSeat, nColour);
        }
    }
    // An opponent's card on its way to the table, and the sounds of the play.
    void FlyCard(int nSeat, int nCard) {
        if (bShowsPlay_) {
            table_.FlyCard(nSeat, nCard);
        }
    }
    void PlaySoundRes(Sound sound) {
        if (bShowsPlay_) {
            table_.PlaySoundRes(sound);
        }
    }

    // The user's actions. Positions are twips on the table.
    void Form_MouseDown(float x, float y);
    void Form_Click();
    void cmdUser_Click();

    // Enters the user's winning score in TopTen; true when it found a place.
    bool IsTopTen();

    // The user dialog, then a fresh game for the chosen user (Users menu, recovery).
    void ChangeUser(bool bNewStart);
    // File, New Game: a fresh deal, keeping hand number, level and caption. A
    // practice in play is given up for it.
    void NewGame() {
        DropPractice();
        StartGame(true);
    }

    // The deal of the last finished hand can be played again as practice from
    // the menu while the user has not yet moved in the hand that followed it.
    bool CanReplayLastDeal() const;
    void ReplayLastDeal();
    bool InPractice() const { return practice_.has_value(); }
    // Leaves the practice at the user's turn; the game goes on where it was.
    void LeavePractice();

    // The index of the card of the user's hand at (x, y), or -1 off the hand.
    int HitTestHand(float x, float y) const;

private:
    void RecordHand();
    void PayCardsLeft(int nSeat);
    void ShowFunds(int nSeat);
    void ShowPot();
    // Pays out a hand that seat nWinner has just won: the others pay for the
    // cards they hold, the winner takes the pot, the hand is recorded, and either
    // the standings are shown and the next hand numbered or bGameOver is set.
    void SettleHand(int nWinner);
    void ContinueAfterUserAction();
    void ResetForNewGame();
    void SetUserTag(DialogAnswer answer);
    void ActOnGameOverAnswer();
    void AskGameOverAnswers();

    // The practice hand (practice.cpp).
    void TakeDealSnapshot();
    void KeepFinishedDeal();
    void RestoreDeal();
    void BeginPractice(PracticeResume resume);
    void FinishPractice();
    void EndPractice();
    void DropPractice();
    PracticeResume RestoreFromPractice();
    // Draws the table, the panels and the caption from the state alone.
    void ShowWholeTable();

    MGlobal& g_;
    TablePort& table_;
    const bool bShowsPlay_;
    ProgramPort& program_;
    Clock& clock_;
    OpponentTurns& opponents_;
    GameState state_;
    // The hand in play as dealt, the last hand that ended, and the game to go
    // back to while a practice is played. The deals are held by pointer so that
    // a finished deal changes places with the one before it instead of being
    // copied, and each snapshot reuses its storage.
    std::unique_ptr<DealSnapshot> deal_;
    std::unique_ptr<DealSnapshot> lastDeal_;
    std::optional<PracticeReturn> practice_;
};

} // namespace corvane
