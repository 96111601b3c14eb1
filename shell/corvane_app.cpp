// Start-up in the order the game has always followed, the closing steps, and the
// menu commands of the shell.
#include "shell/corvane_app.hpp"

#include "dialogs/copy_icon_dialog.hpp"
#include "dialogs/db_path_dialog.hpp"
#include "dialogs/game_dialogs.hpp"
#include "dialogs/user_edit_dialog.hpp"
#include "dialogs/user_name_dialog.hpp"
#include "dialogs/user_stats_dialog.hpp"
#include "dialogs/view_options_dialog.hpp"
#include "engine/game.hpp"
#include "platform/process_memory.hpp"
#include "shell/about_dialog.hpp"
#include "shell/desktop_shortcut.hpp"
#include "shell/help_panel.hpp"
#include "shell/info_dialogs.hpp"
#include "storage/settings.hpp"
#include "storage/view_settings.hpp"
#include "table/table_view.hpp"

#include <cstdlib>
#include <exception>
#include <functional>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTimer>

namespace corvane {

bool KeyPressFilter::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::KeyPress) {
        // Checked by type().
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-static-cast-downcast)
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        // Escape on an open menu or list closes it, as everywhere else.
        if (pKey->key() == Qt::Key_Escape && pKey->modifiers() == Qt::NoModifier &&
            QApplication::activePopupWidget() == nullptr) {
            onKeyPress_(27);
            return true;
        }
    }
    return QObject::eventFilter(pWatched, pEvent);
}

bool AfterFirstPaint::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::Paint && onPainted_) {
        // Queued, so that the frame is finished and on the screen first.
        QTimer::singleShot(0, this, std::exchange(onPainted_, nullptr));
    }
    return QObject::eventFilter(pWatched, pEvent);
}

CorvaneApp::CorvaneApp(std::string sAppPath, MessageBoxes* pMsg, SoundOutput* pSound)
    : sAppPath_(std::move(sAppPath)), msg_(pMsg != nullptr ? *pMsg : qtMsg_),
      sound_(pSound != nullptr ? *pSound : pulse_), env_(msg_, files_, clock_, sAppPath_) {}

CorvaneApp::~CorvaneApp() = default;

void CorvaneApp::EndProgram() {
    std::exit(EXIT_FAILURE);
}

bool CorvaneApp::Main() {
    try {
        // The one screen size that gets a maximised table.
        if (const QScreen* pScreen = QGuiApplication::primaryScreen()) {
            const QSize pixels = pScreen->geometry().size() * pScreen->devicePixelRatio();
            g_.bSmallScreen = pixels.width() == 640 && pixels.height() == 480;
        }
        const bool bWin9xDesktop = IsWin9xDesktop(shellFiles_.SystemFolder());
        g_.bCopyLnk = GetCopyLnk(sAppPath_, files_, msg_);
        if (bWin9xDesktop) {
            const bool bFirstRun = IsFirstRun(files_, sAppPath_);
            DesktopShortcutAtStart(
                g_, bWin9xDesktop, bFirstRun, shellFiles_, msg_, sAppPath_, [this] {
                    FCopyIcon dlg(g_, [this] { CopyLinkToDeskTop(shellFiles_, msg_, sAppPath_); });
                    dlg.exec();
                });
            RecordStart(files_, sAppPath_);
        }
    } catch (const std::exception& e) {
        msg_.Show(std::string("0: ") + e.what(), "Corvane", MsgIcon::None);
        return false;
    }

    window_ = std::make_unique<FCorvane>(g_, *this, sound_, msg_, &clock_);
    if (!Form_Load()) {
        return false;
    }
    QObject::connect(window_.get(), &FCorvane::Unloading, [this] { Form_QueryUnload(); });
    // The first activation asks for the user once the table is on the screen:
    // the user dialog waits for the database's key, and the table would stay
    // blank until then.
    activateWhenPainted_ = std::make_unique<AfterFirstPaint>([this] { Form_Activate(); });
    window_->Table().installEventFilter(activateWhenPainted_.get());
    return true;
}

bool CorvaneApp::Form_Load() {
    try {
        QDir::setCurrent(QString::fromStdString(sAppPath_));
        g_.sTitle = kTitle;
        window_->SetCaption(0, 0);
        // The card faces failed to start: the window has said so already.
        if (!window_->IsLoaded()) {
            return false;
        }

        const std::string sIni = IniFileName(sAppPath_);
        if (files_.FileExists(sIni)) {
            Ini_Load(g_, sIni, sAppPath_, files_, msg_);
            window_->SyncOptionMenus();
        } else {
            msg_.Beep();
            msg_.Show(sIni + " not found!" + kCrLf + "Loading CORVANE using defaults.",
                      "The Corvane Game", MsgIcon::Exclamation);
            g_.sDBPath = sAppPath_;
            g_.nLastUserID = 0;
            g_.bSoundOn = true;
            g_.lAnimSpeed = 80000;
        }

        const std::string sFile = DatabaseFileName(g_.sDBPath);
        const std::string sDefault = DatabaseFileName(sAppPath_);
        if (!files_.FileExists(sFile)) {
            const std::string sMissing = std::string("Unable to locate database file...") + kCrLf +
                                         PathUpperCase(sFile) + "!" + kCrLf + kCrLf;
            if (SamePath(sFile, sDefault)) {
                msg_.Show(sMissing + "Closing Corvane.", "Fatal Error", MsgIcon::Exclamation);
                return false;
            }
            if (!files_.FileExists(sDefault)) {
                msg_.Show(sMissing + "or application database file..." + kCrLf +
                              PathUpperCase(sDefault) + ".",
                          "Database Path", MsgIcon::Exclamation);
                msg_.Show("Closing Corvane.", "Fatal Error", MsgIcon::Exclamation);
                return false;
            }
            msg_.Show(sMissing + "Switching to database file..." + kCrLf + PathUpperCase(sDefault) +
                          ".",
                      "Database Path", MsgIcon::Exclamation);
            g_.sDBPath = sAppPath_;
        }

        g_.View = LoadViewOptions(sAppPath_, files_);
        window_->ApplyViewOptions();
        StoreTickCount(g_.lSeed, clock_.TickCount());
        BuildMenus();
        window_->SetBackground(100);
        window_->ShowAtStart(g_.bSmallScreen);
        // The key is derived while the table is drawn, ready for the user dialog.
        DeriveKeyAhead(g_, env_);
        return true;
    } catch (const std::exception& e) {
        msg_.Beep();
        msg_.Show(e.what(), "Error Loading Program", MsgIcon::Exclamation);
        return false;
    }
}

void CorvaneApp::Form_Activate() {
    if (bActivated_) {
        return;
    }
    GameState& s = window_->GetGame().State();
    // The key derivation and the first read leave freed memory in the
    // allocator's pools; it goes back once the user dialog has read its list.
    QTimer::singleShot(0, window_.get(), [] { ReleaseFreedMemory(); });
    s.UserTag = ShowUserName(UserDialogExit::Design);
    if (g_.bDBError) {
        if (!g_.bUseDefaultDB) {
            EndProgram();
        }
        g_.bDBError = false;
        g_.bUseDefaultDB = false;
        g_.sDBPath = sAppPath_;
        s.UserTag = ShowUserName(UserDialogExit::Design);
        if (g_.bDBError) {
            EndProgram();
        }
    }
    bActivated_ = true;
    if (s.UserTag != DialogAnswer::Exit) {
        window_->GetGame().StartGame(true);
    } else {
        window_->close();
    }
}

void CorvaneApp::Form_KeyPress(int nKeyAscii) {
    if (nKeyAscii != 27) {
        return;
    }
    Game& game = window_->GetGame();
    if (window_->IsBusy()) {
        // Acted on when the opponents have moved, once however often it was
        // pressed; pressed in a practice it only ever leaves that practice.
        if (!bEscapeHeld_) {
            bEscapeHeld_ = true;
            window_->RunWhenIdle([this, &game, bPractice = game.InPractice()] {
                bEscapeHeld_ = false;
                if (!bPractice) {
                    Form_KeyPress(27);
                } else if (game.InPractice()) {
                    game.LeavePractice();
                }
            });
        }
        return;
    }
    if (game.InPractice()) {
        game.LeavePractice();
        return;
    }
    if (msg_.AskYesNo("Are you sure you wish to exit Corvane?", "The Game of Corvane",
                      MsgIcon::Question) == MsgAnswer::Yes) {
        window_->mnuFile_Click(1);
    }
}

void CorvaneApp::Form_QueryUnload() {
    HideHelp();
    Ini_Save(g_, window_->isMaximized(), sAppPath_, files_, msg_);
}

void CorvaneApp::BuildMenus() {
    FCorvane& w = *window_;
    // Commands that leave the game in progress alone work at any time.
    auto item = [&w](const char* sCaption, const char* sName, const QKeySequence& key,
                     std::function<void()> onClick) {
        auto* pAction = new QAction(QString::fromUtf8(sCaption), &w);
        pAction->setObjectName(QString::fromUtf8(sName));
        pAction->setShortcut(key);
        QObject::connect(pAction, &QAction::triggered, &w, std::move(onClick));
        return pAction;
    };
    // Those that would start the game anew are disabled while a move is under way.
    auto gameItem = [&w, &item](const char* sCaption, const char* sName, const QKeySequence& key,
                                std::function<void()> onClick) {
        QAction* pAction = item(sCaption, sName, key, [&w, onClick = std::move(onClick)] {
            if (!w.IsBusy()) {
                onClick();
            }
        });
        w.AddGameCommand(pAction);
        return pAction;
    };
    auto separator = [&w](const char* sName) {
        auto* pAction = new QAction(&w);
        pAction->setSeparator(true);
        pAction->setObjectName(QString::fromUtf8(sName));
        return pAction;
    };

    if (QMenu* pFile = w.Menu("mnuFileH")) {
        pFile->insertAction(w.MenuItem("mnuTopTen"),
                            item("&Send Score...", "mnuSendScore", QKeySequence("Ctrl+S"),
                                 [this] { mnuSendScore_Click(); }));
    }
    QMenu* pUsers = w.AddMenu("&Users", "mnuUserH", w.Menu("mnuOptionHdr"));
    pUsers->addAction(gameItem("&Edit Users...", "mnuUser0", QKeySequence("Ctrl+U"),
                               [this] { mnuUser_Click(0); }));
    pUsers->addAction(gameItem("&Change User...", "mnuUser1", QKeySequence("Ctrl+C"),
                               [this] { mnuUser_Click(1); }));
    pUsers->addAction(separator("mnuSep4"));
    pUsers->addAction(item("&Your Statistics...", "mnuWinnings", QKeySequence("F9"),
                           [this] { mnuWinnings_Click(); }));
    if (QMenu* pOptions = w.Menu("mnuOptionHdr")) {
        pOptions->addAction(gameItem("&Database Path...", "mnuDBPath", QKeySequence("F8"),
                                     [this] { mnuDBPath_Click(); }));
        pOptions->addAction(
            item("&View Options...", "mnuView", QKeySequence(), [this] { mnuView_Click(); }));
    }
    QMenu* pHelp = w.AddMenu("&Help", "mnuHelpH");
    pHelp->addAction(
        item("How to &Play...", "mnuHelp0", QKeySequence("F1"), [this] { mnuHelp_Click(0); }));
    pHelp->addAction(item("How to &Contact Us...", "mnuHelp1", QKeySequence("F3"),
                          [this] { mnuHelp_Click(1); }));
    pHelp->addAction(item("Playing on a Network...", "mnuHelp2", QKeySequence("F4"),
                          [this] { mnuHelp_Click(2); }));
    pHelp->addAction(w.HintAction());
    pHelp->addAction(separator("mnuSep2"));
    pHelp->addAction(item("&About Corvane...", "mnuAbout", QKeySequence("Ctrl+B"),
                          [this] { mnuAbout_Click(); }));
    pHelp->addAction(item("&Distributing Corvane...", "mnuDistribute", QKeySequence("Ctrl+D"),
                          [this] { mnuDistribute_Click(); }));

    // Escape asks before leaving (the window's key presses reach Form_KeyPress).
    escape_ = std::make_unique<KeyPressFilter>([this](int nKeyAscii) { Form_KeyPress(nKeyAscii); });
    w.installEventFilter(escape_.get());
    for (QWidget* pChild : w.findChildren<QWidget*>()) {
        pChild->installEventFilter(escape_.get());
    }
}

HelpPanel& CorvaneApp::Help() {
    // Built when first asked for: most runs never open it, and its picture and
    // texts would delay the table's first appearance.
    if (picHelp_ == nullptr) {
        FCorvane& w = *window_;
        picHelp_ = new HelpPanel(&w.Table());
        w.Table().Place(picHelp_, QRect(0, 0, 9615, 6735));
        picHelp_->hide();
        w.SetHelpPanel(picHelp_);
    }
    return *picHelp_;
}

void CorvaneApp::HideHelp() {
    if (picHelp_ != nullptr) {
        picHelp_->hide();
    }
}

void CorvaneApp::PlaySound(Sound sound) {
    window_->PlaySoundRes(sound);
}

// ProgramPort.

DialogAnswer CorvaneApp::ShowHandOver(bool bOfferReplay) {
    window_->AnnounceHandOver(false);
    return RunHandOver(
        g_, [this](Sound sound) { PlaySound(sound); }, window_.get(), bOfferReplay);
}

DialogAnswer CorvaneApp::ShowGameOver() {
    window_->AnnounceHandOver(true);
    std::array<std::string, 4> asFunds;
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        if (const auto* pLabel = window_->findChild<QLabel*>(QString("lblAmt%1").arg(nSeat))) {
            asFunds[nSeat] = pLabel->text().toStdString();
        }
    }
    return RunGameOver(
        g_, env_, asFunds, window_->GetGame().State().nLevel,
        [this](const std::string& s) { window_->SetWinnings(s); },
        [this](Sound sound) { PlaySound(sound); }, window_.get());
}

DialogAnswer CorvaneApp::ShowGameOverAnswers() {
    return RunGameOverAnswers(g_, window_.get());
}

void CorvaneApp::ShowPracticeResult(int nThisTime, int nInGame) {
    auto words = [](int nResult) {
        return (nResult < 0 ? "lost $" : "won $") +
               std::to_string(nResult < 0 ? -nResult : nResult);
    };
    msg_.Show("This time you " + words(nThisTime) + "; in the game you " + words(nInGame) + ".",
              "Practice", MsgIcon::None);
}

void CorvaneApp::ShowHighScore() {
    RunHighScore([this](Sound sound) { PlaySound(sound); }, window_.get());
}

void CorvaneApp::ShowTopTen() {
    RunTopTen(g_, env_, window_.get());
}

DialogAnswer CorvaneApp::ShowUserName(UserDialogExit exitButton) {
    FUserName dlg(g_, env_, *this, window_.get());
    if (dlg.EndProgram()) {
        EndProgram();
    }
    static constexpr std::array<const char*, 3> kExitCaptions{"E&xit", "&Exit", "&Cancel"};
    dlg.SetExitCaption(QString::fromLatin1(kExitCaptions.at(static_cast<std::size_t>(exitButton))));
    dlg.exec();
    return dlg.Answer();
}

void CorvaneApp::SaveSettings() {
    Ini_Save(g_, window_->isMaximized(), sAppPath_, files_, msg_);
}

void CorvaneApp::TopTenLoad() {
    main_window::TopTenLoad(g_, env_, window_->GetGame().State().TopTen);
}

void CorvaneApp::TopTenSave() {
    main_window::TopTenSave(g_, env_, window_->GetGame().State().TopTen);
}

void CorvaneApp::HandleDBError() {
    if (::corvane::HandleDBError(g_, env_) == DbRecovery::RestartUserDialog) {
        window_->GetGame().ChangeUser(true);
    } else {
        EndProgram();
    }
}

void CorvaneApp::Unload() {
    window_->close();
}

// UserDisplay.

void CorvaneApp::ShowPlayerNames(const std::string& sLeft, const std::string& sTop,
                                 const std::string& sRight, const std::string& sUser) {
    window_->SetPlayerName(0, sLeft);
    window_->SetPlayerName(1, sTop);
    window_->SetPlayerName(2, sRight);
    window_->SetPlayerName(3, sUser);
}

void CorvaneApp::SetStatsCaption(const std::string& sCaption) {
    window_->SetStatsMenuCaption(sCaption);
}

void CorvaneApp::ShowWinnings(const std::string& sText) {
    window_->SetWinnings(sText);
}

// Menu commands.

void CorvaneApp::mnuSendScore_Click() {
    FSendScore dlg(g_, msg_, shellFiles_, DefaultMailOutFolder(), window_.get());
    dlg.exec();
}

void CorvaneApp::mnuUser_Click(int nIndex) {
    if (nIndex == 0) {
        FUserEdit dlg(g_, env_, *this, window_.get());
        dlg.exec();
        if (g_.bDBError) {
            HandleDBError();
        }
    } else {
        window_->GetGame().ChangeUser(false);
    }
}

void CorvaneApp::mnuWinnings_Click() {
    FUserStats dlg(g_, env_, *this, window_.get());
    dlg.exec();
}

void CorvaneApp::mnuDBPath_Click() {
    window_->GetGame().State().UserTag = DialogAnswer::None;
    window_->SetHourglass(true);
    FDBPath dlg(
        g_, msg_, files_, sAppPath_,
        [this] {
            FNetwork network(window_.get());
            network.exec();
            window_->update();
        },
        window_.get());
    dlg.exec();
    window_->SetHourglass(false);
    window_->update();
    if (dlg.Answer() == DialogAnswer::Exit) {
        window_->GetGame().ChangeUser(true);
    }
}

void CorvaneApp::mnuView_Click() {
    FViewOptions dlg(g_, window_.get());
    if (dlg.exec() == QDialog::Accepted) {
        // A file that cannot be written costs only the choices' next start.
        SaveViewOptions(g_.View, sAppPath_, files_);
        window_->ApplyViewOptions();
    }
}

void CorvaneApp::mnuHelp_Click(int nIndex) {
    if (nIndex == 0) {
        Help().show();
        Help().raise();
        return;
    }
    HideHelp();
    if (nIndex == 1) {
        FContact dlg(window_.get());
        dlg.exec();
    } else {
        FNetwork dlg(window_.get());
        dlg.exec();
    }
}

void CorvaneApp::mnuAbout_Click() {
    HideHelp();
    FAbout dlg(window_.get());
    dlg.exec();
}

void CorvaneApp::mnuDistribute_Click() {
    FDistribute dlg(window_.get());
    dlg.exec();
}

} // namespace corvane
