// The card table window: the engine's table port to the screen, the speakers
// and the user's mouse. It owns the game and the opponents, shows the panels and
// the table, flies the opponents' cards, plays the sounds, shows the hints and
// runs the pause timer. The dialogs and the stored data are the program's, which
// the game reaches through its own port. The window holds no rule of the game
// and no storage of its own.
#pragma once

#include "coach/coach.hpp"
#include "engine/game.hpp"
#include "engine/mglobal.hpp"
#include "engine/program_port.hpp"
#include "engine/table_port.hpp"
#include "opponents/opponent_turn.hpp"
#include "platform/message_box.hpp"
#include "platform/sound_output.hpp"

#include <array>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace corvane {

class CoachHint;
class FAnimate;
class KeyboardPlay;
class PanelTooltips;
class TableAccessibility;
class TableView;
struct TwipsPoint;

// The clock of the running program: a steady millisecond count and the date.
class SystemClock final : public Clock {
public:
    std::uint32_t TickCount() override;
    Date Now() override;
};

class FCorvane final : public QMainWindow, public TablePort {
    Q_OBJECT
public:
    // program answers the game's dialogs and keeps its data. pClock replaces the
    // real clock (tests replay a deal with a fixed one); it must outlive the
    // window. The deck is filled and shuffled here.
    FCorvane(MGlobal& g, ProgramPort& program, SoundOutput& sound, MessageBoxes& msg,
             Clock* pClock = nullptr, QWidget* pParent = nullptr);
    ~FCorvane() override;
    FCorvane(const FCorvane&) = delete;
    FCorvane& operator=(const FCorvane&) = delete;
    FCorvane(FCorvane&&) = delete;
    FCorvane& operator=(FCorvane&&) = delete;

    Game& GetGame() { return game_; }
    TableView& Table() { return *table_; }

    // False when the card faces could not be started; the user has been told
    // and the program should end.
    bool IsLoaded() const { return bLoaded_; }
    // Shows the window at its design size, or maximised on a 640 x 480 screen.
    void ShowAtStart(bool bSmallScreen);

    // Menu items show the state they would change to, once the settings are known.
    void SyncOptionMenus();
    // Adds a top-level menu before pBefore (at the end when null).
    QMenu* AddMenu(const QString& sCaption, const QString& sName, QMenu* pBefore = nullptr);
    QMenu* Menu(const QString& sName) const;
    QAction* MenuItem(const QString& sName) const;
    // Redraws the table and its boxes after the view options in g.View changed.
    void ApplyViewOptions();
    KeyboardPlay& Keyboard() { return *keys_; }
    // The help panel; hover sounds keep quiet while it is visible.
    void SetHelpPanel(QWidget* pHelp) { picHelp_ = pHelp; }

    // The pause timer's tick (about 15 ms, as a real window timer delivers).
    void SetPauseTick(std::chrono::milliseconds tick);
    // True while a sound, a flight, a pause or the opponents' turn holds the game.
    bool IsBusy() const { return nBusy_ > 0 || !bInputEnabled_; }
    // A command that would start, leave or restart the game: shown disabled
    // while the game is busy.
    void AddGameCommand(QAction* pAction);
    // Runs fn now, or holds it until the turn in progress has ended and no
    // dialog of the game is open.
    void RunWhenIdle(std::function<void()> fn);

    // Menu commands.
    void mnuFile_Click(int nIndex);
    // File, Replay Last Deal: a practice of the last finished hand's deal; while
    // one is played the same item leaves it.
    void mnuReplay_Click();
    void mnuTopTen_Click();
    void mnuOption_Click(int nIndex);
    void mnuAnimals_Click(int nIndex);
    void mnuAnim_Click();
    // Help, Hint: the coach's card for the user's turn, marked on the table and
    // explained beside the hand. The search runs off the window's thread.
    void mnuHint_Click();
    QAction* HintAction() const { return mnuHint_; }
    // The pointer moved on the table, in twips.
    void Form_MouseMove(float x, float y);

    // The name plates, the user's winnings and the statistics menu item, which
    // the program fills when a user is chosen.
    void SetPlayerName(int nSeat, const std::string& sName);
    void SetWinnings(const std::string& sCaption);
    void SetStatsMenuCaption(const std::string& sCaption);
    // Tells a screen reader who took the pot, as the standings or the end of
    // the game come up.
    void AnnounceHandOver(bool bGameOver);

    // TablePort.
    void SetAmt(int nSeat, int nFunds) override;
    void SetPot(int nPot) override;
    void SetCardsLeft(int nSeat, int nCardsLeft) override;
    void SetLastCard(int nSeat, int nCard) override;
    void SetPlayerFill(int nSeat, std::uint32_t nColour) override;
    int TableWidth() override;
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

signals:
    // The window is closing (by the user, File Exit or the engine's Unload);
    // the program's closing steps hang on this.
    void Unloading();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;

private:
    // Counts a span in which clicks on the table are dropped.
    class BusySpan {
    public:
        explicit BusySpan(FCorvane& w) : w_(w) {
            ++w_.nBusy_;
            w_.BusyChanged();
        }
        ~BusySpan() {
            --w_.nBusy_;
            w_.BusyChanged();
        }
        BusySpan(const BusySpan&) = delete;
        BusySpan& operator=(const BusySpan&) = delete;
        BusySpan(BusySpan&&) = delete;
        BusySpan& operator=(BusySpan&&) = delete;

    private:
        FCorvane& w_;
    };

    void BuildPanels();
    void BuildMenus();
    // Places pLabel (a plain label when none is given) on the table.
    QLabel* MakeLabel(const QString& sName, const QRect& twips, double fPoints,
                      QLabel* pLabel = nullptr);
    bool IsTableInput(QObject* pWatched) const;
    void BusyChanged();
    void SyncReplayItem();
    void PostHeldCheck();
    void RunHeldCommands();
    void DrawFlightStep(const TwipsPoint& at, int nCard, bool bFirst);
    // The user's lifted cards and the keyboard highlight, as the table draws them.
    void RefreshHandMarks();
    const QByteArray& Wave(int nResource);
    void ShowAdvice(const coach::Advice& advice);
    void ClearHint();

    MGlobal& g_;
    ProgramPort& program_;
    SoundOutput& sound_;
    MessageBoxes& msg_;
    SystemClock systemClock_;
    Opponents opponents_;
    Game game_;

    TableView* table_ = nullptr;
    KeyboardPlay* keys_ = nullptr;
    TableAccessibility* a11y_ = nullptr;
    PanelTooltips* tips_ = nullptr;
    std::array<QLabel*, 4> lblPlayer_{};
    std::array<QLabel*, 4> lblAmt_{};
    std::array<QLabel*, 4> lblCardsLeft_{};
    std::array<QLabel*, 4> lblCardNo_{};
    std::array<QLabel*, 4> imgSuit_{};
    std::array<QLabel*, 4> imgSad_{};
    QLabel* lblPot_ = nullptr;
    QLabel* lblWinnings_ = nullptr;
    QPushButton* cmdUser_ = nullptr;
    std::array<QAction*, 2> mnuOption_{};
    std::array<QAction*, 2> mnuAnimals_{};
    QAction* mnuReplay_ = nullptr;
    QPointer<FAnimate> animate_;
    QPointer<QWidget> picHelp_;
    QTimer* tmrCount_ = nullptr;
    QAction* mnuHint_ = nullptr;
    QLabel* lblHint_ = nullptr;
    CoachHint* hint_ = nullptr;
    std::string sStatsCaption_;

    std::map<int, QByteArray> waves_;
    int nBusy_ = 0;
    bool bInputEnabled_ = true;
    bool bWasBusy_ = false;
    std::vector<QPointer<QAction>> gameCommands_;
    std::vector<std::function<void()>> held_;
    QTimer* tmrHeld_ = nullptr;
    bool bCloseHeld_ = false;
    int nHourglass_ = 0;
    bool bLoaded_ = false;
    int nLastX_ = 0;
    int nLastY_ = 0;
};

} // namespace corvane
