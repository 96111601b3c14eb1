#include "game_over_dialog.hpp"

#include <algorithm>
#include <limits>

#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QShowEvent>

namespace corvane {

namespace {

// Every seat starts a game with this much; the user's winnings move by the
// difference.
constexpr std::int32_t kStartingFunds = 200;

// Design geometry in twips.
constexpr int kClientWidth = 4605;
constexpr int kFirstPlaceTop = 240;
constexpr int kPlacePitch = 330;
constexpr int kButtonTop = 2100;
constexpr int kButtonWidth = 1335;
constexpr int kButtonHeight = 375;
// The practice button stands centred under the three answers.
constexpr int kReplayTop = kButtonTop + kButtonHeight + 120;
constexpr int kReplayWidth = 2055;
constexpr int kBottomMargin = 240;

template <typename T>
T Saturate(std::int64_t n) {
    return static_cast<T>(
        std::clamp<std::int64_t>(n, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

// Whether the user will head the standings, known before they are ranked so
// that the history row goes with the user record: the seats rank by funds, the
// earlier seat first among equals, and a first seat bearing the user's name
// counts as the user.
bool UserComesFirst(const MGlobal& g, const std::array<std::int16_t, 4>& aFunds) {
    const auto* const pFirst = std::max_element(aFunds.begin(), aFunds.end());
    const std::array<const std::string*, 4> names = {&g.sLeftName, &g.sTopName, &g.sRightName,
                                                     &g.sUserName};
    return *names[static_cast<std::size_t>(pFirst - aFunds.begin())] == g.sUserName;
}

} // namespace

FGameOver::FGameOver(MGlobal& g, StorageEnv& env, const std::array<std::string, 4>& asFundsCaptions,
                     int nLevel, const std::function<void(const std::string&)>& setWinnings,
                     SoundPlayer playSound, QWidget* pParent)
    : QDialog(pParent), g_(g), playSound_(std::move(playSound)) {
    BuildControls();

    // Book the game.
    std::array<std::int16_t, 4> aFunds{};
    for (std::size_t seat = 0; seat < 4; ++seat) {
        aFunds[seat] = Saturate<std::int16_t>(LeadingInteger(asFundsCaptions[seat]));
    }
    g.nNumGames = Saturate<std::int16_t>(std::int64_t{g.nNumGames} + 1);
    g.nWinnings = Saturate<std::int32_t>(std::int64_t{g.nWinnings} + aFunds[3] - kStartingFunds);
    if (setWinnings) {
        setWinnings("$" + std::to_string(g.nWinnings));
    }
    game_over::SaveUserData(g, env, {nLevel + 1, aFunds[3], UserComesFirst(g, aFunds)});

    // Rank the seats. Standings of an earlier game must not stand in for a
    // ranking that failed, so they are emptied first and only a complete
    // ranking decides who won.
    g.bUserWon = false;
    if (g.bDBError) {
        return;
    }
    g.Standings = {};
    bStandings_ = GetStandings(g, env, aFunds);
    if (!bStandings_) {
        return;
    }
    ShowStandings();
    // An opponent bearing the user's name at the top counts as the user.
    g.bUserWon = g.sUserName == g.Standings[0].sName;
}

// The outcome's sound was heard the first time, so it counts as played.
FGameOver::FGameOver(MGlobal& g, QWidget* pParent)
    : QDialog(pParent), g_(g), bStandings_(!g.Standings[0].sName.empty()), bDone_(true) {
    BuildControls();
    if (bStandings_) {
        ShowStandings();
    }
}

void FGameOver::ShowStandings() {
    for (std::size_t p = 0; p < 4; ++p) {
        lblPlayer_[p]->setText(QString::fromStdString(g_.Standings[p].sName));
        lblAmt_[p]->setText(QString::number(g_.Standings[p].nFunds));
    }
}

void FGameOver::BuildControls() {
    setObjectName(QStringLiteral("FGameOver"));
    setWindowTitle(QStringLiteral("Corvane - Game Over"));
    setFont(DesignFont(8));
    // Only its buttons close it, so the frame offers no close button.
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) &
                   ~Qt::WindowCloseButtonHint);

    const std::array<const char*, 4> placeCaptions = {
        "Winner:", "2nd Place:", "3rd Place:", "4th Place:"};
    QFont bold = font();
    bold.setBold(true);
    for (int p = 0; p < 4; ++p) {
        const int nTop = kFirstPlaceTop + kPlacePitch * p;
        const auto i = static_cast<std::size_t>(p);
        MakeLabel(this, QStringLiteral("lblGO%1").arg(p), QString::fromLatin1(placeCaptions[i]),
                  QRect(240, nTop, 1200, 285));
        // Empty until the standings arrive, so a failed ranking shows no stale rows.
        lblPlayer_[i] = MakeLabel(this, QStringLiteral("lblPlayer%1").arg(p), QString(),
                                  QRect(1560, nTop, 1920, 285));
        lblPlayer_[i]->setFont(bold);
        lblAmt_[i] = MakeLabel(this, QStringLiteral("lblAmt%1").arg(p), QString(),
                               QRect(3600, nTop, 765, 285));
        lblAmt_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblAmt_[i]->setFont(bold);
    }
    auto* lblAsk = MakeLabel(this, QStringLiteral("lblGO4"), QStringLiteral("Play another game?"),
                             QRect(240, 1620, kClientWidth - 480, 285));
    lblAsk->setAlignment(Qt::AlignCenter);
    lblAsk->setFont(bold);

    const std::array<const char*, 3> buttonCaptions = {"&Yes", "&No", "&New User..."};
    for (int n = 0; n < 3; ++n) {
        auto* pButton = MakeButton(
            this, QStringLiteral("cmdYesNo%1").arg(n),
            QString::fromLatin1(buttonCaptions[static_cast<std::size_t>(n)]),
            QRect(240 + n * (kButtonWidth + 60), kButtonTop, kButtonWidth, kButtonHeight));
        connect(pButton, &QPushButton::clicked, this, [this, n] { cmdYesNo_Click(n); });
    }
    auto* cmdReplay = MakeButton(
        this, QStringLiteral("cmdYesNo3"), QStringLiteral("&Replay Last Deal"),
        QRect((kClientWidth - kReplayWidth) / 2, kReplayTop, kReplayWidth, kButtonHeight));
    connect(cmdReplay, &QPushButton::clicked, this, [this] { cmdYesNo_Click(3); });

    setFixedSize(TwipsToPixels(kClientWidth),
                 TwipsToPixels(kReplayTop + kButtonHeight + kBottomMargin));
    PlaceOnScreen(*this, kAboveCentre);

    tmrScore_.setObjectName(QStringLiteral("tmrScore"));
    tmrScore_.setInterval(500);
    connect(&tmrScore_, &QTimer::timeout, this, &FGameOver::tmrScore_Timer);
}

void FGameOver::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (g_.bDBError) {
        // Nothing to show after a database failure: leave at once, unanswered,
        // and let the caller recover.
        QMetaObject::invokeMethod(
            this, [this] { done(QDialog::Rejected); }, Qt::QueuedConnection);
        return;
    }
    if (!bDone_ && !tmrScore_.isActive()) {
        tmrScore_.start();
    }
}

void FGameOver::cmdYesNo_Click(int nIndex) {
    static constexpr std::array<DialogAnswer, 4> kAnswers = {
        DialogAnswer::Yes, DialogAnswer::No, DialogAnswer::Change, DialogAnswer::Replay};
    answer_ = kAnswers[static_cast<std::size_t>(nIndex)];
    accept();
}

void FGameOver::tmrScore_Timer() {
    tmrScore_.stop();
    if (bDone_) {
        return;
    }
    bDone_ = true;
    if (playSound_) {
        playSound_(g_.bUserWon ? Sound::UserWon : Sound::OtherWon);
    }
}

} // namespace corvane
