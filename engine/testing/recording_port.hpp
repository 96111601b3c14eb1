// Table, program and clock in one fake: it records every call the engine makes
// on any of them in one list, keeps what the panels would show, and answers the
// modal dialogs from a script. Tests drive whole games through it without a window.
#pragma once

#include "engine/clock.hpp"
#include "engine/game.hpp"
#include "engine/program_port.hpp"
#include "engine/table_port.hpp"

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace corvane::testing {

class RecordingPort : public TablePort, public ProgramPort, public Clock {
public:
    explicit RecordingPort(MGlobal& globals) : g_(globals) {}

    // The engine to tick during a pause; set once the game exists.
    Game* pGame = nullptr;
    // Called after every recorded call with the call's text.
    std::function<void(const std::string&)> onCall;
    bool bRecord = true;

    // What the calls left behind, as the window would show it.
    std::vector<std::string> Calls;
    std::array<int, 4> Amt{};
    int nPot = 0;
    std::array<int, 4> CardsLeft{};
    std::array<int, 4> LastCard{kNoLastCard, kNoLastCard, kNoLastCard, kNoLastCard};
    std::array<std::uint32_t, 4> Fill{};
    std::string Caption; // the window's caption as the window would word it
    int nBackground = 0;
    std::vector<int> TableCards; // cards drawn on the table since the last clear
    std::vector<int> HandCards;  // the user's hand as last drawn
    std::vector<Sound> Sounds;
    std::vector<Hint> Messages; // the hints shown
    int nMessageCard = -1;      // the card the last hint named
    int nPauses = 0;
    int nHandOvers = 0;
    int nGameOvers = 0;
    int nTopTens = 0;
    int nHighScores = 0;
    bool bUnloaded = false;
    bool bInputEnabled = true;

    // Scripted answers; when a script runs out the default is used.
    // The game-over dialog and the same question after a practice share one script.
    std::deque<DialogAnswer> GameOverAnswers;
    std::deque<DialogAnswer> HandOverAnswers; // Ok when it runs out
    DialogAnswer DefaultGameOver = DialogAnswer::No;
    std::deque<DialogAnswer> UserNameAnswers;
    UserDialogExit LastExitButton = UserDialogExit::Design;
    // Runs inside ShowGameOver after the standings are filled (e.g. to fail the database).
    std::function<void()> onGameOver;

    // The stored top ten behind TopTenLoad/TopTenSave.
    std::array<TopTenRec, 10> StoredTopTen{};

    // The clock: a tick counter that moves by nTickStep at every read.
    std::uint32_t nTick = 1;
    std::uint32_t nTickStep = 7919;
    Date dtNow = Date(std::chrono::seconds(1'800'000'000));

    void SetAmt(int nSeat, int nFunds) override;
    void SetPot(int nNewPot) override;
    void SetCardsLeft(int nSeat, int nCardsLeft) override;
    void SetLastCard(int nSeat, int nCard) override;
    void SetPlayerFill(int nSeat, std::uint32_t nColour) override;
    int TableWidth() override { return 9630; }
    void ClearTable() override;
    void DrawCardsPlayed(const std::vector<int>& CardsPlayed) override;
    void DrawUserHand(const std::vector<int>& UserHand, int nHandLeft, int nHandTop,
                      int nCardSpacing) override;
    void FlyCard(int nSeat, int nCard) override;
    void SetCaption(int nLevel, int nHand) override;
    void SetPracticeCaption(int nLevel, int nHand) override;
    void SetBackground(int nBitmap) override;
    void SetHourglass(bool bBusy) override;
    void SetInputEnabled(bool bEnabled) override;
    void PlaySoundRes(Sound sound) override;
    void WaitForPause() override;
    void ShowMessage(Hint hint, int nCard) override;
    DialogAnswer ShowHandOver(bool bOfferReplay) override;
    DialogAnswer ShowGameOver() override;
    DialogAnswer ShowGameOverAnswers() override;
    void ShowPracticeResult(int nThisTime, int nInGame) override;
    void ShowHighScore() override;
    void ShowTopTen() override;
    DialogAnswer ShowUserName(UserDialogExit exitButton) override;
    void SaveSettings() override;
    void TopTenLoad() override;
    void TopTenSave() override;
    void HandleDBError() override;
    void Unload() override;
    std::uint32_t TickCount() override;
    Date Now() override { return dtNow; }

    // How many recorded calls start with sPrefix.
    int Count(const std::string& sPrefix) const;

private:
    void Record(const std::string& sCall);
    DialogAnswer NextGameOverAnswer();
    MGlobal& g_;
};

// An opponent seat that does nothing but what a test tells it to.
class ScriptedOpponents : public OpponentTurns {
public:
    // Called for each seat's turn; the default does nothing at all.
    std::function<void(Game&, int)> onTurn;
    std::vector<int> Seats; // the seats that took a turn, in order
    void PlayerTurn(Game& game, int nSeat) override {
        Seats.push_back(nSeat);
        if (onTurn) {
            onTurn(game, nSeat);
        }
    }
};

} // namespace corvane::testing
