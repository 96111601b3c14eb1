#include "fcorvane.hpp"

#include "coach/position.hpp"
#include "engine/cards.hpp"
#include "platform/deadline_timer.hpp"
#include "table/coach_hint.hpp"
#include "table/fanimate.hpp"
#include "table/flight_path.hpp"
#include "table/fmessage.hpp"
#include "table/hover.hpp"
#include "table/keyboard_play.hpp"
#include "table/panel_tooltips.hpp"
#include "table/sound_names.hpp"
#include "table/table_accessibility.hpp"
#include "table/table_resources.hpp"
#include "table/table_view.hpp"

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace corvane {
namespace {

// The panels by seat (0 left, 1 top, 2 right, 3 the user), in twips.
constexpr std::array<QRect, 4> kPlayerRects{QRect(120, 4350, 1575, 375), QRect(120, 150, 1575, 375),
                                            QRect(7920, 150, 1575, 375),
                                            QRect(7920, 4350, 1575, 375)};
constexpr std::array<QRect, 4> kCardNoRects{QRect(680, 4800, 495, 450), QRect(680, 600, 495, 450),
                                            QRect(8480, 600, 495, 450),
                                            QRect(8480, 4800, 495, 450)};
constexpr std::array<QRect, 4> kSuitRects{QRect(1200, 4800, 480, 450), QRect(1200, 600, 480, 450),
                                          QRect(9000, 600, 480, 450), QRect(9000, 4800, 480, 450)};
constexpr std::array<QRect, 4> kSadRects{QRect(780, 4800, 480, 450), QRect(780, 600, 480, 450),
                                         QRect(8580, 600, 480, 450), QRect(8580, 4800, 480, 450)};
constexpr std::array<QRect, 4> kAmtRects{QRect(600, 5400, 855, 450), QRect(600, 1200, 855, 450),
                                         QRect(8400, 1200, 855, 450), QRect(8400, 5400, 855, 450)};
constexpr std::array<QRect, 4> kCardsLeftRects{
    QRect(840, 6000, 615, 450), QRect(840, 1800, 615, 450), QRect(8640, 1800, 615, 450),
    QRect(8640, 6000, 615, 450)};
constexpr QRect kPotRect(120, 3120, 1215, 450);
constexpr QRect kWinningsRect(7920, 2850, 1575, 425);
constexpr QRect kUserButtonRect(7920, 3400, 1575, 720);
// The hint's words, in the strip between the lowest row and the user's hand.
constexpr QRect kHintRect(1860, 4580, 5940, 480);
constexpr double kHintFont = 8.25;

constexpr std::array<const char*, 4> kPlayerNames = {"Player One", "Player Two", "Player Three",
                                                     "Player Four"};

constexpr double kNameFont = 12.0;
constexpr double kPanelFont = 13.5;
constexpr double kButtonFont = 14.25;

// The tick a window timer really delivers; a pause of 20 ticks is about 0.3 s.
constexpr std::chrono::milliseconds kPauseTick{15};

const QColor kNameColour(0x00, 0x00, 0x80);
const QColor kMoneyColour(0x80, 0x00, 0x80);
const QColor kHintGround(0xFF, 0xFF, 0xE1);

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// A panel in a one-pixel black line on a plain ground, its text inside the
// line and the padding. Painted here: a style sheet would bring up the style
// sheet engine at start for these few labels alone.
class BoxedLabel final : public QLabel {
public:
    BoxedLabel(QWidget* pParent, const QColor& ground, int nPadding = 0)
        : QLabel(pParent), ground_(ground) {
        setContentsMargins(1 + nPadding, 1 + nPadding, 1 + nPadding, 1 + nPadding);
    }

protected:
    void paintEvent(QPaintEvent* pEvent) override {
        {
            // Filled, not stroked, so that the line is a whole pixel at any pixel ratio.
            QPainter painter(this);
            painter.fillRect(rect(), Qt::black);
            painter.fillRect(rect().adjusted(1, 1, -1, -1), ground_);
        }
        QLabel::paintEvent(pEvent);
    }

private:
    QColor ground_;
};

void SetTextColour(QLabel* pLabel, const QColor& colour) {
    QPalette palette = pLabel->palette();
    palette.setColor(QPalette::WindowText, colour);
    pLabel->setPalette(palette);
}

} // namespace

std::uint32_t SystemClock::TickCount() {
    const auto nMs = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(nMs.count()));
}

Date SystemClock::Now() {
    return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
}

FCorvane::FCorvane(MGlobal& g, ProgramPort& program, SoundOutput& sound, MessageBoxes& msg,
                   Clock* pClock, QWidget* pParent)
    : QMainWindow(pParent), g_(g), program_(program), sound_(sound), msg_(msg),
      game_(g, *this, program, pClock != nullptr ? *pClock : systemClock_, opponents_) {
    if (!QFile::exists(PicturePath(PictureRole::ProgramIcon))) {
        InitTableResources();
    }
    setObjectName(QStringLiteral("FCorvane"));
    // The program's icon is the application's, rendered once at start.
    setWindowTitle(Q(g_.sTitle));

    TableAccessibility::InstallFactory();
    table_ = new TableView(this);
    setCentralWidget(table_);
    BuildPanels();
    BuildMenus();
    a11y_ = new TableAccessibility(game_.State(), g_, *table_);
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        a11y_->NotePlayerName(nSeat, lblPlayer_.at(nSeat)->text().toStdString());
    }
    keys_ = new KeyboardPlay(game_.State(), *table_, *cmdUser_);
    keys_->onChanged = [this] {
        RefreshHandMarks();
        a11y_->FocusCard(keys_->Index());
    };
    tips_ = new PanelTooltips(*table_);

    int nCardWidth = 0;
    int nCardHeight = 0;
    bLoaded_ = table_->InitCards(nCardWidth, nCardHeight);
    if (!bLoaded_) {
        msg_.Beep();
        msg_.Show("The card faces could not be loaded.", "Error Loading Program",
                  MsgIcon::Exclamation);
    }

    tmrCount_ = new QTimer(this);
    tmrCount_->setObjectName(QStringLiteral("tmrCount"));
    tmrCount_->setInterval(kPauseTick);
    connect(tmrCount_, &QTimer::timeout, this, [this] { game_.tmrCount_Timer(); });
    tmrHeld_ = new QTimer(this);
    tmrHeld_->setSingleShot(true);
    tmrHeld_->setInterval(0);
    connect(tmrHeld_, &QTimer::timeout, this, &FCorvane::RunHeldCommands);

    table_->onMouseDown = [this](QPointF pos, Qt::MouseButton) {
        game_.Form_MouseDown(static_cast<float>(pos.x()), static_cast<float>(pos.y()));
    };
    table_->onClick = [this] { game_.Form_Click(); };
    table_->onMouseMove = [this](QPointF pos) {
        Form_MouseMove(static_cast<float>(pos.x()), static_cast<float>(pos.y()));
    };

    // Input to the window, its menus and shortcuts is looked at before anyone acts on it.
    qApp->installEventFilter(this);

    ApplyViewOptions();
    resize(table_->sizeHint().width(),
           table_->sizeHint().height() + menuBar()->sizeHint().height());
    game_.LoadDeck();
}

FCorvane::~FCorvane() {
    hint_->Cancel();
    qApp->removeEventFilter(this);
    if (nHourglass_ > 0) {
        QApplication::restoreOverrideCursor();
    }
}

void FCorvane::ShowAtStart(bool bSmallScreen) {
    if (bSmallScreen) {
        showMaximized();
        return;
    }
    if (const QScreen* pScreen = screen()) {
        const QRect area = pScreen->geometry();
        const QSize frame = frameGeometry().size().expandedTo(size());
        move(area.left() + (area.width() - frame.width()) / 2,
             area.top() + (area.height() - frame.height()) / 2);
    }
    show();
}

QLabel* FCorvane::MakeLabel(const QString& sName, const QRect& twips, double fPoints,
                            QLabel* pLabel) {
    if (pLabel == nullptr) {
        pLabel = new QLabel(table_);
    }
    pLabel->setObjectName(sName);
    pLabel->setAlignment(Qt::AlignCenter);
    pLabel->setFont(QFont(QStringLiteral("MS Sans Serif")));
    table_->Place(pLabel, twips, fPoints);
    return pLabel;
}

void FCorvane::BuildPanels() {
    for (int s = 0; s < 4; ++s) {
        const auto i = static_cast<std::size_t>(s);
        lblPlayer_[i] = MakeLabel(QStringLiteral("lblPlayer%1").arg(s), kPlayerRects[i], kNameFont);
        QFont bold = lblPlayer_[i]->font();
        bold.setBold(true);
        lblPlayer_[i]->setFont(bold);
        SetTextColour(lblPlayer_[i], kNameColour);
        lblPlayer_[i]->setText(QString::fromLatin1(kPlayerNames[i]));

        lblCardNo_[i] = MakeLabel(QStringLiteral("lblCardNo%1").arg(s), kCardNoRects[i], kPanelFont,
                                  new BoxedLabel(table_, Qt::white));
        imgSuit_[i] = MakeLabel(QStringLiteral("imgSuit%1").arg(s), kSuitRects[i], 0.0);
        imgSad_[i] = MakeLabel(QStringLiteral("imgSad%1").arg(s), kSadRects[i], 0.0);
        table_->SetPicture(imgSad_[i], PictureRole::SadFace);
        imgSad_[i]->hide();
        lblAmt_[i] = MakeLabel(QStringLiteral("lblAmt%1").arg(s), kAmtRects[i], kPanelFont,
                               new BoxedLabel(table_, Qt::white));
        lblAmt_[i]->setText(QStringLiteral("200"));
        lblCardsLeft_[i] = MakeLabel(QStringLiteral("lblCardsLeft%1").arg(s), kCardsLeftRects[i],
                                     kPanelFont, new BoxedLabel(table_, Qt::white));
        lblCardsLeft_[i]->setText(QStringLiteral("13"));
    }
    lblPot_ = MakeLabel(QStringLiteral("lblPot"), kPotRect, kPanelFont,
                        new BoxedLabel(table_, Qt::white));
    SetTextColour(lblPot_, kMoneyColour);
    lblWinnings_ = MakeLabel(QStringLiteral("lblWinnings"), kWinningsRect, kPanelFont,
                             new BoxedLabel(table_, Qt::white));
    SetTextColour(lblWinnings_, kMoneyColour);

    cmdUser_ = new QPushButton(table_);
    cmdUser_->setObjectName(QStringLiteral("cmdUser"));
    cmdUser_->setAccessibleName(QStringLiteral("Pay the Pot"));
    cmdUser_->setFont(QFont(QStringLiteral("Eras Demi ITC")));
    table_->Place(cmdUser_, kUserButtonRect, kButtonFont);
    table_->SetPicture(cmdUser_, PictureRole::PotButton);

    lblHint_ = MakeLabel(QStringLiteral("lblHint"), kHintRect, kHintFont,
                         new BoxedLabel(table_, kHintGround, 1));
    lblHint_->setWordWrap(true);
    lblHint_->hide();
    hint_ = new CoachHint(this);
    connect(hint_, &CoachHint::Ready, this, [this](const coach::Advice& a) { ShowAdvice(a); });
    connect(cmdUser_, &QPushButton::clicked, this, [this] { game_.cmdUser_Click(); });
}

void FCorvane::BuildMenus() {
    auto item = [this](QMenu* pMenu, const char* sName, const char* sCaption,
                       const QKeySequence& key, auto handler) {
        QAction* pAction = pMenu->addAction(QString::fromLatin1(sCaption));
        pAction->setObjectName(QString::fromLatin1(sName));
        pAction->setShortcut(key);
        connect(pAction, &QAction::triggered, this, handler);
        return pAction;
    };

    QMenu* pFile = AddMenu(QStringLiteral("&File"), QStringLiteral("mnuFileH"));
    AddGameCommand(item(pFile, "mnuFile0", "&New Game", QKeySequence(Qt::CTRL | Qt::Key_N),
                        [this] { mnuFile_Click(0); }));
    mnuReplay_ = item(pFile, "mnuReplay", "&Replay Last Deal", QKeySequence(Qt::CTRL | Qt::Key_R),
                      [this] { mnuReplay_Click(); });
    connect(pFile, &QMenu::aboutToShow, this, &FCorvane::SyncReplayItem);
    AddGameCommand(item(pFile, "mnuFile1", "&Exit Corvane", QKeySequence(Qt::CTRL | Qt::Key_X),
                        [this] { mnuFile_Click(1); }));
    pFile->addSeparator()->setObjectName(QStringLiteral("mnuSep1"));
    item(pFile, "mnuTopTen", "&Top Ten List...", QKeySequence(Qt::CTRL | Qt::Key_T),
         [this] { mnuTopTen_Click(); });

    QMenu* pOptions = AddMenu(QStringLiteral("&Options"), QStringLiteral("mnuOptionHdr"));
    mnuOption_[0] = item(pOptions, "mnuOption0", "Turn Sound &On", QKeySequence(Qt::Key_F5),
                         [this] { mnuOption_Click(0); });
    mnuOption_[1] = item(pOptions, "mnuOption1", "Turn Sound &Off", QKeySequence(Qt::Key_F6),
                         [this] { mnuOption_Click(1); });
    mnuAnimals_[0] = item(pOptions, "mnuAnimals0", "Turn &Animals On",
                          QKeySequence(Qt::CTRL | Qt::Key_A), [this] { mnuAnimals_Click(0); });
    mnuAnimals_[1] = item(pOptions, "mnuAnimals1", "Turn A&nimals Off",
                          QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { mnuAnimals_Click(1); });
    pOptions->addSeparator()->setObjectName(QStringLiteral("mnuSep3"));
    item(pOptions, "mnuAnim", "&Animation Speed...", QKeySequence(Qt::Key_F7),
         [this] { mnuAnim_Click(); });

    // The window holds the hint so that its key works whichever menu shows it.
    mnuHint_ = new QAction(QStringLiteral("&Hint"), this);
    mnuHint_->setObjectName(QStringLiteral("mnuHint"));
    mnuHint_->setShortcut(QKeySequence(Qt::Key_H));
    addAction(mnuHint_);
    connect(mnuHint_, &QAction::triggered, this, [this] { mnuHint_Click(); });
}

void FCorvane::mnuHint_Click() {
    // The position stands still for the whole of the user's turn, even while a
    // sound of its start is still playing.
    const GameState& s = game_.State();
    if (!s.bUserTurn || s.bHandOver) {
        return;
    }
    const int nLevel = g_.nSkillLevel;
    // Copies of the position and of the opponents' generator: the game is not touched.
    hint_->Start(coach::PositionFromGame(s, kUserSeat, {nLevel, nLevel, nLevel, 2}, g_.lSeed),
                 coach::SearchBudget{});
}

void FCorvane::ShowAdvice(const coach::Advice& advice) {
    const GameState& s = game_.State();
    if (!s.bUserTurn || s.bHandOver || advice.Outcomes.empty()) {
        return;
    }
    if (advice.nChoice == coach::kPayThePot) {
        table_->SetHintMark(kUserButtonRect.adjusted(-60, -60, 60, 60));
    } else {
        const auto it = std::find(s.UserHand.begin(), s.UserHand.end(), advice.nChoice);
        const auto i = static_cast<int>(it - s.UserHand.begin());
        const bool bLast = i + 1 == static_cast<int>(s.UserHand.size());
        // The part of the card that the fanned hand leaves in sight.
        table_->SetHintMark(QRect(s.nHandLeft + i * s.nCardSpacing, s.nHandTop,
                                  bLast ? kCardWidthTwips : s.nCardSpacing, kCardHeightTwips),
                            advice.nChoice);
    }
    lblHint_->setText(Q(advice.sText));
    lblHint_->show();
    lblHint_->raise();
}

void FCorvane::ClearHint() {
    hint_->Cancel();
    table_->SetHintMark(QRect());
    lblHint_->hide();
}

QMenu* FCorvane::AddMenu(const QString& sCaption, const QString& sName, QMenu* pBefore) {
    auto* pMenu = new QMenu(sCaption, menuBar());
    pMenu->setObjectName(sName);
    if (pBefore != nullptr) {
        menuBar()->insertMenu(pBefore->menuAction(), pMenu);
    } else {
        menuBar()->addMenu(pMenu);
    }
    return pMenu;
}

QMenu* FCorvane::Menu(const QString& sName) const {
    return menuBar()->findChild<QMenu*>(sName);
}

QAction* FCorvane::MenuItem(const QString& sName) const {
    // Items added by the program around the window belong to the window itself.
    return findChild<QAction*>(sName);
}

void FCorvane::SyncOptionMenus() {
    mnuOption_[0]->setVisible(!g_.bSoundOn);
    mnuOption_[1]->setVisible(g_.bSoundOn);
    mnuAnimals_[0]->setVisible(!g_.bAnimals);
    mnuAnimals_[1]->setVisible(g_.bAnimals);
}

void FCorvane::ApplyViewOptions() {
    table_->SetFaceStyle(FaceStyle{g_.View.bFourColour, g_.View.bLargeIndices});
    tips_->SetEnabled(g_.View.bTooltips);
    RefreshHandMarks();
}

void FCorvane::RefreshHandMarks() {
    const GameState& s = game_.State();
    const bool bHolding = s.nCardsLeft[3] > 0;
    std::uint64_t nLifted = 0;
    if (g_.View.bShowPlayable && s.bUserTurn && !s.bHandOver && bHolding) {
        for (const int c : s.UserHand) {
            if (IsUserCardLegal(s, c)) {
                nLifted |= std::uint64_t{1} << static_cast<unsigned>(c);
            }
        }
    }
    // A highlighted card that has just been laid is on the table, not in the hand.
    const int nCard = keys_->Card();
    const bool bHeld =
        bHolding && std::find(s.UserHand.begin(), s.UserHand.end(), nCard) != s.UserHand.end();
    table_->SetHandMarks(nLifted, bHeld ? nCard : -1);
}

void FCorvane::SetPauseTick(std::chrono::milliseconds tick) {
    tmrCount_->setInterval(tick);
}

// Menu commands. The menus work while the opponents move; New Game and Exit
// are disabled then, and the check here keeps a command triggered some other
// way from starting anything in the middle of a turn.

void FCorvane::mnuFile_Click(int nIndex) {
    if (IsBusy()) {
        return;
    }
    if (nIndex == 0) {
        game_.NewGame();
    } else if (nIndex == 1) {
        close();
    }
}

void FCorvane::mnuReplay_Click() {
    if (IsBusy()) {
        return;
    }
    if (game_.InPractice()) {
        game_.LeavePractice();
    } else {
        game_.ReplayLastDeal();
    }
    SyncReplayItem();
}

void FCorvane::SyncReplayItem() {
    if (mnuReplay_ == nullptr) {
        return;
    }
    // One item both starts a practice and leaves it.
    const bool bPractice = game_.InPractice();
    mnuReplay_->setText(bPractice ? QStringLiteral("&Leave Practice")
                                  : QStringLiteral("&Replay Last Deal"));
    mnuReplay_->setEnabled(!IsBusy() && (bPractice || game_.CanReplayLastDeal()));
}

void FCorvane::mnuTopTen_Click() {
    g_.nTopTenPos = 99; // no place highlighted
    program_.ShowTopTen();
    if (g_.bDBError) {
        // The recovery deals a new game: not in the middle of a turn.
        RunWhenIdle([this] {
            if (g_.bDBError) {
                program_.HandleDBError();
            }
        });
    }
}

// The switches take effect at once. While the game is busy the table's own
// sounds follow soon, so the switch's sound is left out rather than played
// over them.

void FCorvane::mnuOption_Click(int nIndex) {
    const bool bQuiet = IsBusy();
    if (nIndex == 0) {
        g_.bSoundOn = true;
        if (!bQuiet) {
            PlaySoundRes(Sound::SoundOn);
        }
    } else {
        if (!bQuiet) {
            PlaySoundRes(Sound::SoundOff);
        }
        g_.bSoundOn = false;
    }
    mnuOption_[0]->setVisible(nIndex != 0);
    mnuOption_[1]->setVisible(nIndex == 0);
}

void FCorvane::mnuAnimals_Click(int nIndex) {
    g_.bAnimals = nIndex == 0;
    if (!IsBusy()) {
        PlaySoundRes(nIndex == 0 ? Sound::OverPlayer1 : Sound::OverPlayer3);
    }
    mnuAnimals_[0]->setVisible(nIndex != 0);
    mnuAnimals_[1]->setVisible(nIndex == 0);
}

void FCorvane::mnuAnim_Click() {
    if (animate_ == nullptr) {
        animate_ = new FAnimate(g_, this);
        animate_->setAttribute(Qt::WA_DeleteOnClose);
    }
    animate_->show();
    animate_->raise();
    animate_->activateWindow();
}

void FCorvane::Form_MouseMove(float x, float y) {
    if (!game_.State().bUserTurn || (picHelp_ != nullptr && picHelp_->isVisible())) {
        return;
    }
    const HoverZone zone = EnteredZone(x, y, nLastX_, nLastY_, g_.bAnimals);
    if (zone != HoverZone::None) {
        PlaySoundRes(HoverSound(zone));
    }
    nLastX_ = RoundHalfEven(x);
    nLastY_ = RoundHalfEven(y);
}

// The panels.

void FCorvane::SetAmt(int nSeat, int nFunds) {
    lblAmt_.at(nSeat)->setText(QString::number(nFunds));
}

void FCorvane::SetPot(int nPot) {
    lblPot_->setText(QLatin1Char('$') + QString::number(nPot));
}

void FCorvane::SetCardsLeft(int nSeat, int nCardsLeft) {
    lblCardsLeft_.at(nSeat)->setText(QString::number(nCardsLeft));
}

void FCorvane::SetLastCard(int nSeat, int nCard) {
    // The rank's short label beside its suit's icon; after a payment the sad face
    // instead, the label hidden.
    const auto i = static_cast<std::size_t>(nSeat);
    const bool bCard = nCard != kNoLastCard && nCard != kPaidThePot;
    imgSad_.at(i)->setVisible(nCard == kPaidThePot);
    lblCardNo_.at(i)->setVisible(nCard != kPaidThePot);
    lblCardNo_.at(i)->setText(bCard ? Q(GetCardLabel(nCard)) : QString());
    if (bCard) {
        table_->SetPicture(imgSuit_.at(i), PictureRole::SuitIcon, 100 + Suit(nCard));
    } else {
        table_->ClearPicture(imgSuit_.at(i));
    }
    a11y_->NoteLastCard(nSeat, nCard);
}

void FCorvane::SetPlayerFill(int nSeat, std::uint32_t nColour) {
    // The user's turn is over (or a new deal begins): the hint no longer holds.
    if (nSeat == kUserSeat && nColour != kMarkerMoving) {
        ClearHint();
    }
    table_->SetPlayerFill(nSeat, nColour);
    RefreshHandMarks();
    // The user's marker turns as the user's turn begins and ends.
    if (nSeat == 3) {
        SyncReplayItem();
    }
    a11y_->NotePlayerFill(nSeat, nColour);
}

void FCorvane::SetPlayerName(int nSeat, const std::string& sName) {
    lblPlayer_.at(nSeat)->setText(Q(sName));
    a11y_->NotePlayerName(nSeat, sName);
}

void FCorvane::SetWinnings(const std::string& sCaption) {
    lblWinnings_->setText(Q(sCaption));
}

void FCorvane::SetStatsMenuCaption(const std::string& sCaption) {
    sStatsCaption_ = sCaption;
    if (QAction* pStats = MenuItem(QStringLiteral("mnuWinnings"))) {
        pStats->setText(Q(sCaption));
    }
}

// The table.

int FCorvane::TableWidth() {
    return TableView::kTableWidth;
}

void FCorvane::ClearTable() {
    table_->ClearCards();
}

void FCorvane::DrawCardsPlayed(const std::vector<int>& CardsPlayed) {
    for (const int c : CardsPlayed) {
        table_->AddCard(GetCardLeft(c), GetCardTop(c), c);
    }
    RefreshHandMarks();
}

void FCorvane::DrawUserHand(const std::vector<int>& UserHand, int nHandLeft, int nHandTop,
                            int nCardSpacing) {
    for (std::size_t i = 0; i < UserHand.size(); ++i) {
        table_->AddCard(nHandLeft + static_cast<int>(i) * nCardSpacing, nHandTop, UserHand[i]);
    }
    keys_->HandDrawn();
    a11y_->HandChanged();
    RefreshHandMarks();
}

void FCorvane::DrawFlightStep(const TwipsPoint& at, int nCard, bool bFirst) {
    // Without trails only the moving card shows.
    if (g_.View.bTrails || bFirst) {
        table_->AddCard(at.x, at.y, nCard);
    } else {
        table_->ReplaceLastCard(at.x, at.y, nCard);
    }
}

void FCorvane::FlyCard(int nSeat, int nCard) {
    const std::vector<TwipsPoint> path = FlightPath(nSeat, nCard, TableView::kTableWidth);
    const long long nStepUs = FlightStepMicroseconds(g_.lAnimSpeed);
    std::size_t nNext = 0;
    if (nStepUs > 0 && !path.empty()) {
        BusySpan busy(*this);
        QEventLoop loop;
        const auto start = std::chrono::steady_clock::now();
        const std::chrono::microseconds step(nStepUs);
        // Every step falls due a whole number of steps after the flight's start,
        // so a late callback delays only its own step; a step that fell due
        // while the window was busy is drawn with the next.
        DeadlineTimer timer([&] {
            const auto nDue = std::min<std::size_t>(
                path.size(),
                static_cast<std::size_t>((std::chrono::steady_clock::now() - start) / step));
            while (nNext < nDue) {
                DrawFlightStep(path[nNext], nCard, nNext == 0);
                ++nNext;
            }
            if (nNext >= path.size()) {
                loop.quit();
                return;
            }
            timer.StartAt(start + static_cast<long long>(nNext + 1) * step);
        });
        timer.StartAt(start + step);
        loop.exec();
    }
    // With no wait, or if the program is quitting, the rest lands at once.
    for (; nNext < path.size(); ++nNext) {
        DrawFlightStep(path[nNext], nCard, nNext == 0);
    }
}

// The window.

void FCorvane::SetCaption(int nLevel, int nHand) {
    setWindowTitle(Q(g_.sTitle + LevelCaption(nLevel, nHand)));
}

void FCorvane::SetPracticeCaption(int nLevel, int nHand) {
    setWindowTitle(Q(g_.sTitle + " - Practice" + LevelCaption(nLevel, nHand)));
}

void FCorvane::SetBackground(int nBitmap) {
    table_->SetBackground(nBitmap);
}

void FCorvane::SetHourglass(bool bBusy) {
    if (bBusy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++nHourglass_;
    } else if (nHourglass_ > 0) {
        QApplication::restoreOverrideCursor();
        --nHourglass_;
    }
}

void FCorvane::SetInputEnabled(bool bEnabled) {
    bInputEnabled_ = bEnabled;
    BusyChanged();
}

const QByteArray& FCorvane::Wave(int nResource) {
    auto it = waves_.find(nResource);
    if (it == waves_.end()) {
        it = waves_.emplace(nResource, SoundWave(nResource)).first;
    }
    return it->second;
}

void FCorvane::PlaySoundRes(Sound sound) {
    if (!g_.bSoundOn) {
        return;
    }
    const QByteArray& wave = Wave(SoundResourceNumber(sound));
    if (wave.isEmpty()) {
        return;
    }
    // The sound plays on a worker while this thread keeps painting; the call
    // returns when the sound has ended, and input meanwhile is dropped.
    BusySpan busy(*this);
    QEventLoop loop;
    std::thread worker([this, &wave, &loop] {
        // The wave file's bytes, read as the unsigned bytes they are.
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
        sound_.PlayWave(reinterpret_cast<const std::uint8_t*>(wave.constData()),
                        static_cast<std::size_t>(wave.size()));
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
}

void FCorvane::WaitForPause() {
    if (game_.State().bDelayDone) {
        return;
    }
    // The timer runs only while a pause is pending, so an idle table costs nothing.
    BusySpan busy(*this);
    QEventLoop loop;
    const auto done = connect(tmrCount_, &QTimer::timeout, &loop, [this, &loop] {
        if (game_.State().bDelayDone) {
            loop.quit();
        }
    });
    tmrCount_->start();
    loop.exec();
    tmrCount_->stop();
    disconnect(done);
}

// The hint.

void FCorvane::ShowMessage(Hint hint, int nCard) {
    FMessage dialog(hint, nCard, this);
    dialog.exec();
}

void FCorvane::AnnounceHandOver(bool bGameOver) {
    a11y_->Announce((bGameOver ? QStringLiteral("Game over: %1 wins the last pot of $%2.")
                               : QStringLiteral("Hand over: %1 wins the pot of $%2."))
                        .arg(Q(g_.sWinnerName), Q(g_.sPotWon)));
}

// Input while busy.

void FCorvane::AddGameCommand(QAction* pAction) {
    gameCommands_.emplace_back(pAction);
    pAction->setEnabled(!IsBusy());
}

void FCorvane::BusyChanged() {
    const bool bBusy = IsBusy();
    if (bBusy == bWasBusy_) {
        return;
    }
    bWasBusy_ = bBusy;
    for (const QPointer<QAction>& pAction : gameCommands_) {
        if (pAction != nullptr) {
            pAction->setEnabled(!bBusy);
        }
    }
    SyncReplayItem();
    if (!bBusy) {
        PostHeldCheck();
    }
}

void FCorvane::RunWhenIdle(std::function<void()> fn) {
    if (held_.empty() && !IsBusy() && QApplication::activeModalWidget() == nullptr) {
        fn();
        return;
    }
    held_.push_back(std::move(fn));
    PostHeldCheck();
}

void FCorvane::PostHeldCheck() {
    // Through the event loop, so that the engine's handler that ended the busy
    // span returns first.
    if (!held_.empty() && !tmrHeld_->isActive()) {
        tmrHeld_->start();
    }
}

void FCorvane::RunHeldCommands() {
    if (held_.empty() || IsBusy()) {
        return; // the end of the busy span looks again
    }
    if (QWidget* pModal = QApplication::activeModalWidget()) {
        // A dialog shown at the end of a hand or a game: the turn goes on after it.
        if (auto* pDialog = qobject_cast<QDialog*>(pModal)) {
            connect(pDialog, &QDialog::finished, this, &FCorvane::PostHeldCheck,
                    Qt::SingleShotConnection);
        } else {
            connect(pModal, &QObject::destroyed, this, &FCorvane::PostHeldCheck,
                    Qt::SingleShotConnection);
        }
        return;
    }
    std::vector<std::function<void()>> commands;
    commands.swap(held_);
    for (const std::function<void()>& fn : commands) {
        fn();
    }
}

bool FCorvane::IsTableInput(QObject* pWatched) const {
    const auto* pWidget = qobject_cast<QWidget*>(pWatched);
    if (pWidget == nullptr) {
        return false;
    }
    // The help panel lies over the table but can be read and closed at any time.
    if (picHelp_ != nullptr && (pWidget == picHelp_ || picHelp_->isAncestorOf(pWidget))) {
        return false;
    }
    return pWidget == table_ || table_->isAncestorOf(pWidget);
}

bool FCorvane::eventFilter(QObject* pWatched, QEvent* pEvent) {
    switch (pEvent->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // Escape goes on to the key handler, which holds its question.
        // Checked by type().
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-static-cast-downcast)
        if (static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Escape) {
            break;
        }
        [[fallthrough]];
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        // Clicks on the table and its button are dropped, not queued: nothing
        // done there while the game is busy acts later. The menus stay usable.
        if (IsBusy() && IsTableInput(pWatched)) {
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(pWatched, pEvent);
}

void FCorvane::closeEvent(QCloseEvent* pEvent) {
    // Closing in the middle of a move would pull the table from under the
    // engine: the window closes when the turn has ended.
    if (IsBusy()) {
        pEvent->ignore();
        if (!bCloseHeld_) {
            bCloseHeld_ = true;
            RunWhenIdle([this] {
                bCloseHeld_ = false;
                close();
            });
        }
        return;
    }
    ClearHint();
    held_.clear();
    emit Unloading();
    QMainWindow::closeEvent(pEvent);
}

} // namespace corvane
