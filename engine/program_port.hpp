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
    virtual void ShowHandOver() = 0;
    // Books the game, ranks the seats, sets bUserWon; returns Yes, No or
    // Change, or None when closed without an answer.
    virtual DialogAnswer ShowGameOver() = 0;
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
