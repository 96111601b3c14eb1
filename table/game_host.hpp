// What the table window hands on to the program around it: the dialogs that
// book games and choose users, the settings file and the stored top ten, and the
// recovery from database failures. The application provides the real one; the
// window's tests provide a scripted one.
#pragma once

#include <optional>
#include <string>

namespace corvane {

class GameHost {
public:
    virtual ~GameHost() = default;

    // Standings after a hand (modal).
    virtual void ShowHandOver() = 0;
    // Books the game, ranks the seats and sets bUserWon; "YES", "NO", "CHANGE",
    // or nothing when the dialog closed without an answer (modal).
    virtual std::optional<std::string> ShowGameOver() = 0;
    virtual void ShowHighScore() = 0;
    // The top-ten list with place nTopTenPos highlighted (modal).
    virtual void ShowTopTen() = 0;
    // The user dialog: "O" for a confirmed user, "X" for its exit button, or
    // nothing (modal). sExitCaption is the exit button's caption.
    virtual std::optional<std::string> ShowUserName(const std::string& sExitCaption) = 0;

    // Writes the settings file; bMaximised is the window's state now.
    virtual void SaveSettings(bool bMaximised) = 0;
    // The main window's top ten, read from and written to the database.
    virtual void TopTenLoad() = 0;
    virtual void TopTenSave() = 0;
    // Recovers from bDBError: the user dialog again on the program folder's
    // database, or the end of the program.
    virtual void HandleDBError() = 0;

protected:
    GameHost() = default;
    GameHost(const GameHost&) = default;
    GameHost(GameHost&&) = default;
    GameHost& operator=(const GameHost&) = default;
    GameHost& operator=(GameHost&&) = default;
};

} // namespace corvane
