// What the engine asks of the program around the table: the dialogs that show
// the standings, book games and choose the user, the settings file, the stored
// top ten, the recovery from database failures and leaving the program. The
// program implements it; tests implement it with a scripted fake. Every call
// is synchronous and modal where it shows a dialog.
#pragma once

namespace corvane {

// The answer box the modal dialogs leave their answer in.
enum class DialogAnswer {
    None,   // empty: no answer (yet)
    Exit,   // the user dialog's exit button, or a changed database folder
    Ok,     // a user was confirmed
    Yes,    // game over: play again
    No,     // game over: quit
    Change, // game over: change the user
    Replay, // end of a hand or game over: play the hand's deal again as practice
};

// The caption of the user dialog's exit button.
enum class UserDialogExit {
    Design, // as the dialog was designed: "E&xit"
    Exit,   // "&Exit"
    Cancel, // "&Cancel"
};

class ProgramPort {
public:
    virtual ~ProgramPort() = default;

    // The standings after a hand. They read what they show from the shared values.
    // With bOfferReplay the player may ask for the hand's deal again as practice:
    // returns Replay then, otherwise Ok or None.
    virtual DialogAnswer ShowHandOver(bool bOfferReplay) = 0;
    // Books the game, ranks the seats, sets bUserWon; returns Yes, No, Change
    // or Replay, or None when closed without an answer.
    virtual DialogAnswer ShowGameOver() = 0;
    // The same question again after a practice, over the standings already
    // ranked; books nothing and leaves bUserWon as it is.
    virtual DialogAnswer ShowGameOverAnswers() = 0;
    // What the user gained (above 0) or lost in the practice hand, beside what
    // the same deal brought in the game.
    virtual void ShowPracticeResult(int nThisTime, int nInGame) = 0;
    virtual void ShowHighScore() = 0;
    virtual void ShowTopTen() = 0; // highlights place nTopTenPos
    // Chooses the user, with the exit button captioned as asked. Returns Ok when
    // a user was confirmed, Exit for the exit button, or None.
    virtual DialogAnswer ShowUserName(UserDialogExit exitButton) = 0;

    // Writes the settings file.
    virtual void SaveSettings() = 0;
    // The game's top ten, read from and written to the database.
    virtual void TopTenLoad() = 0;
    virtual void TopTenSave() = 0;
    // Recovers from a database failure (bDBError): switches to the program
    // folder's database and asks for the user again, or ends the program.
    virtual void HandleDBError() = 0;
    // Closes the table window, which ends the program with its usual closing steps.
    virtual void Unload() = 0;

protected:
    ProgramPort() = default;
    ProgramPort(const ProgramPort&) = default;
    ProgramPort(ProgramPort&&) = default;
    ProgramPort& operator=(const ProgramPort&) = default;
    ProgramPort& operator=(ProgramPort&&) = default;
};

} // namespace corvane
