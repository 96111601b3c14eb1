#include "hand_over_dialog.hpp"

#include <algorithm>
#include <array>
#include <vector>

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace corvane {

namespace {

// Design geometry in twips.
constexpr int kClientWidth = 6135;
constexpr std::array<int, 4> kColumnLeft = {555, 1825, 3095, 4365};
constexpr int kColumnWidth = 1215;
constexpr int kHeadingTop = 600;
constexpr int kFirstRowTop = 840;
constexpr int kRowPitch = 220;
// Room for four rows before the OK button; more rows push it down.
constexpr int kDesignRows = 4;
constexpr int kButtonGap = 200;
constexpr int kButtonWidth = 1215;
constexpr int kReplayWidth = 1815;
constexpr int kButtonSpacing = 120;
constexpr int kButtonHeight = 375;
constexpr int kBottomMargin = 240;

const std::array<const char*, 4> kColumnNames = {"lblScoreOne", "lblScoreTwo", "lblScoreThree",
                                                 "lblScoreUser"};

std::array<const std::vector<std::string>*, 4> ScoreLists(const MGlobal& g) {
    return {&g.ScoresOne, &g.ScoresTwo, &g.ScoresThree, &g.ScoresUser};
}

} // namespace

int FHandOver::GetHighScore(const MGlobal& g) {
    const auto lists = ScoreLists(g);
    if (g.ScoresOne.empty()) {
        return 0;
    }
    const std::size_t nLast = g.ScoresOne.size() - 1;
    int nLeader = 0;
    std::int32_t nBest = 0;
    for (int seat = 0; seat < 4; ++seat) {
        const auto& list = *lists[static_cast<std::size_t>(seat)];
        const std::int32_t nValue = nLast < list.size() ? LeadingInteger(list[nLast]) : 0;
        if (nValue >= nBest) {
            nBest = nValue;
            nLeader = seat;
        }
    }
    return nLeader;
}

FHandOver::FHandOver(const MGlobal& g, SoundPlayer playSound, QWidget* pParent, bool bOfferReplay)
    : QDialog(pParent), playSound_(std::move(playSound)),
      bUserWonHand_(g.sUserName == g.sWinnerName) {
    setObjectName(QStringLiteral("FHandOver"));
    setWindowTitle(QStringLiteral("Hand Over - Current Standings"));
    setFont(DesignFont(8));

    MakeLabel(this, QStringLiteral("lblFScore0"), QStringLiteral("Winner:"),
              QRect(555, 120, 900, 255));
    auto* lblWinner = MakeLabel(this, QStringLiteral("lblWinner"),
                                QString::fromStdString(g.sWinnerName), QRect(1500, 120, 1560, 255));
    MakeLabel(this, QStringLiteral("lblFScore1"), QStringLiteral("Total Pot:"),
              QRect(3095, 120, 1215, 255));
    auto* lblTotPot = MakeLabel(this, QStringLiteral("lblTotPot"),
                                QString::fromStdString(g.sPotWon), QRect(4365, 120, 1215, 255));
    QFont bold = font();
    bold.setBold(true);
    lblWinner->setFont(bold);
    lblTotPot->setFont(bold);

    const int nLeader = GetHighScore(g);
    const std::array<const std::string*, 4> names = {&g.sLeftName, &g.sTopName, &g.sRightName,
                                                     &g.sUserName};
    const auto lists = ScoreLists(g);
    // Every column has as many rows as the first one; a shorter list shows blanks.
    const std::size_t nRows = g.ScoresOne.size();
    std::vector<QLabel*> column;
    for (std::size_t seat = 0; seat < 4; ++seat) {
        auto* pHeading = MakeLabel(this, QStringLiteral("lblPlayer%1").arg(seat),
                                   QString::fromStdString(*names[seat]),
                                   QRect(kColumnLeft[seat], kHeadingTop, kColumnWidth, 240));
        pHeading->setAlignment(Qt::AlignCenter);
        pHeading->setFont(bold);
        column.clear();
        for (std::size_t i = 0; i < nRows; ++i) {
            const auto& list = *lists[seat];
            const std::string sCaption = i < list.size() ? list[i] : std::string();
            const int nTop = kFirstRowTop + kRowPitch * static_cast<int>(i);
            auto* pRow = MakeLabel(this, QStringLiteral("%1%2").arg(kColumnNames[seat]).arg(i),
                                   QString::fromStdString(sCaption),
                                   QRect(kColumnLeft[seat], nTop, kColumnWidth, kRowPitch));
            pRow->setAlignment(Qt::AlignCenter);
            // Earlier hands are struck through; the newest row stands.
            QFont rowFont = font();
            rowFont.setStrikeOut(i + 1 < nRows);
            pRow->setFont(rowFont);
            column.push_back(pRow);
        }
        if (static_cast<int>(seat) == nLeader && nRows > 0) {
            SetForeColour(*pHeading, kBlue);
            for (QLabel* pRow : column) {
                SetForeColour(*pRow, kBlue);
            }
        }
    }

    const int nRowsRoom = std::max(kDesignRows, static_cast<int>(nRows));
    const int nButtonTop = kFirstRowTop + kRowPitch * nRowsRoom + kButtonGap;
    // The buttons stand side by side, centred.
    const int nButtonsWidth =
        bOfferReplay ? kButtonWidth + kButtonSpacing + kReplayWidth : kButtonWidth;
    const int nOKLeft = (kClientWidth - nButtonsWidth) / 2;
    auto* cmdOK = MakeButton(this, QStringLiteral("cmdOK"), QStringLiteral("&OK"),
                             QRect(nOKLeft, nButtonTop, kButtonWidth, kButtonHeight));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        answer_ = DialogAnswer::Ok;
        accept();
    });
    if (bOfferReplay) {
        auto* cmdReplay =
            MakeButton(this, QStringLiteral("cmdReplay"), QStringLiteral("&Replay Last Deal"),
                       QRect(nOKLeft + kButtonWidth + kButtonSpacing, nButtonTop, kReplayWidth,
                             kButtonHeight));
        connect(cmdReplay, &QPushButton::clicked, this, [this] {
            answer_ = DialogAnswer::Replay;
            accept();
        });
    }

    setFixedSize(TwipsToPixels(kClientWidth),
                 TwipsToPixels(nButtonTop + kButtonHeight + kBottomMargin));
    PlaceOnScreen(*this, kAboveCentre);

    tmrScore_.setObjectName(QStringLiteral("tmrScore"));
    tmrScore_.setInterval(500);
    connect(&tmrScore_, &QTimer::timeout, this, &FHandOver::tmrScore_Timer);
}

void FHandOver::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (!bDone_ && !tmrScore_.isActive()) {
        tmrScore_.start();
    }
}

void FHandOver::tmrScore_Timer() {
    // The sound is played once; the timer has no further work.
    tmrScore_.stop();
    if (bDone_) {
        return;
    }
    bDone_ = true;
    if (playSound_) {
        playSound_(bUserWonHand_ ? Sound::UserWon : Sound::OtherWon);
    }
}

} // namespace corvane
