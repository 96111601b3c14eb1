// The program as a whole: start-up and shut-down, the menu commands that no
// other window owns, and the game's program port: the dialogs that book games
// and choose users, the settings file, the database and leaving the program.
#pragma once

#include "dialogs/user_display.hpp"
#include "engine/mglobal.hpp"
#include "engine/program_port.hpp"
#include "platform/file_system.hpp"
#include "platform/pulse_sound_output.hpp"
#include "platform/qt_message_boxes.hpp"
#include "platform/shell_files.hpp"
#include "storage/game_db.hpp"
#include "table/fcorvane.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QObject>

class QWidget;

namespace corvane {

class HelpPanel;

// Hands the table window's key presses to the program's key handler.
class KeyPressFilter final : public QObject {
public:
    explicit KeyPressFilter(std::function<void(int)> onKeyPress)
        : onKeyPress_(std::move(onKeyPress)) {}

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    std::function<void(int)> onKeyPress_;
};

// Runs its action once, just after the first paint of what it watches.
class AfterFirstPaint final : public QObject {
public:
    explicit AfterFirstPaint(std::function<void()> onPainted) : onPainted_(std::move(onPainted)) {}

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    std::function<void()> onPainted_;
};

class CorvaneApp final : public ProgramPort, public UserDisplay {
public:
    // sAppPath is the program's folder, where the settings file and the default
    // database live. Tests pass their own message boxes and sound output.
    explicit CorvaneApp(std::string sAppPath, MessageBoxes* pMsg = nullptr,
                        SoundOutput* pSound = nullptr);
    ~CorvaneApp() override;
    CorvaneApp(const CorvaneApp&) = delete;
    CorvaneApp& operator=(const CorvaneApp&) = delete;
    CorvaneApp(CorvaneApp&&) = delete;
    CorvaneApp& operator=(CorvaneApp&&) = delete;

    // Starts the program; false when it must end at once.
    bool Main();

    FCorvane& Window() { return *window_; }

    // ProgramPort.
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

    // UserDisplay.
    void ShowPlayerNames(const std::string& sLeft, const std::string& sTop,
                         const std::string& sRight, const std::string& sUser) override;
    void SetStatsCaption(const std::string& sCaption) override;
    void ShowWinnings(const std::string& sText) override;

    // The main window's own events and the menu commands of the shell.
    bool Form_Load();
    void Form_Activate();
    void Form_KeyPress(int nKeyAscii);
    void Form_QueryUnload();
    void mnuSendScore_Click();
    void mnuUser_Click(int nIndex);
    void mnuWinnings_Click();
    void mnuDBPath_Click();
    void mnuView_Click();
    void mnuHelp_Click(int nIndex);
    void mnuAbout_Click();
    void mnuDistribute_Click();

private:
    void BuildMenus();
    void PlaySound(Sound sound);
    // The how-to-play panel, built on first use.
    HelpPanel& Help();
    void HideHelp();
    // Ends the program at once: no further events and nothing saved.
    [[noreturn]] static void EndProgram();

    std::string sAppPath_;
    MGlobal g_;
    LocalFileSystem files_;
    LocalShellFiles shellFiles_;
    QtMessageBoxes qtMsg_;
    PulseSoundOutput pulse_;
    MessageBoxes& msg_;
    SoundOutput& sound_;
    SystemClock clock_;
    StorageEnv env_;
    std::unique_ptr<FCorvane> window_;
    HelpPanel* picHelp_ = nullptr;
    std::unique_ptr<KeyPressFilter> escape_;
    std::unique_ptr<AfterFirstPaint> activateWhenPainted_;
    bool bActivated_ = false;
    bool bEscapeHeld_ = false;
};

} // namespace corvane
