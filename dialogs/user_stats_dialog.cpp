// The statistics dialog. A reset changes the values in memory; the next save of
// the user's record stores it and clears the user's history with it.
#include "user_stats_dialog.hpp"

#include "dialog_support.hpp"
#include "history_chart.hpp"
#include "storage/settings.hpp"
#include "table/table_resources.hpp"

#include <algorithm>
#include <array>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

std::string AverageWinningsText(std::int32_t nWinnings, std::int16_t nNumGames) {
    if (nNumGames < 1) {
        return "$0";
    }
    // Integer division truncates toward zero: -45 over 2 games is -22.
    return DollarText(nWinnings / nNumGames);
}

FUserStats::FUserStats(MGlobal& g, StorageEnv& env, UserDisplay& display, QWidget* pParent)
    : QDialog(pParent), g_(g), env_(env), display_(display) {
    setObjectName(QStringLiteral("FUserStats"));
    setWindowTitle(Q(TrimBlanks(g_.sUserName) + "'s Statistics..."));

    auto MakeLabel = [this](const QString& sText, const QString& sName) {
        auto* pLabel = new QLabel(sText, this);
        pLabel->setObjectName(sName);
        return pLabel;
    };
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(MakeLabel(QStringLiteral("Your statistics as of today are..."),
                                 QStringLiteral("lblUserStats0")));
    auto* pGrid = new QGridLayout;
    const std::array captions = {"Total Winnings", "Total Games Played",
                                 "Average Winnings per Game"};
    for (int i = 0; i < 3; ++i) {
        pGrid->addWidget(MakeLabel(QString::fromLatin1(captions[i]),
                                   QStringLiteral("lblUserStats%1").arg(i + 1)),
                         i, 0);
        lblStats_[i] = MakeLabel({}, QStringLiteral("lblStats%1").arg(i));
        lblStats_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        pGrid->addWidget(lblStats_[i], i, 1);
    }
    pLayout->addLayout(pGrid);
    // The chart, when there is one, goes just above this line.
    lblHistory_ = MakeLabel({}, QStringLiteral("lblHistory"));
    lblHistory_->setAlignment(Qt::AlignCenter);
    pLayout->addWidget(lblHistory_);
    pLayout->addWidget(
        MakeLabel(QStringLiteral("At any time you can reset your Total Winnings and  "),
                  QStringLiteral("lblUserStats4")));
    // The design caption doubles the ampersand so that one shows.
    pLayout->addWidget(MakeLabel(QStringLiteral("& Total Games Played to ZERO and start over."),
                                 QStringLiteral("lblUserStats5")));
    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch();
    const std::array buttons = {"&Reset", "&Close"};
    for (int i = 0; i < 2; ++i) {
        auto* pButton = new QPushButton(QString::fromLatin1(buttons[i]), this);
        pButton->setObjectName(QStringLiteral("cmdUserStats%1").arg(i));
        pButton->setAutoDefault(false);
        // Enter closes; the reset wants its own key (Alt+R) or a click.
        pButton->setDefault(i == 1);
        connect(pButton, &QPushButton::clicked, this, [this, i] { cmdUserStats_Click(i); });
        pButtons->addWidget(pButton);
    }
    pLayout->addLayout(pButtons);

    ShowTotals();
    ShowHistory();
}

void FUserStats::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    CenterForm(*this);
}

void FUserStats::resizeEvent(QResizeEvent* pEvent) {
    QDialog::resizeEvent(pEvent);
    // Drawn once per size; painting only copies it.
    background_ = Picture(PictureRole::DialogBitmap, 101, size(), devicePixelRatioF());
}

void FUserStats::paintEvent(QPaintEvent* pEvent) {
    QPainter painter(this);
    if (!background_.isNull()) {
        painter.drawPixmap(0, 0, background_);
        // A light wash keeps the figures readable over the picture.
        painter.fillRect(rect(), QColor(255, 255, 255, 180));
    }
    QDialog::paintEvent(pEvent);
}

void FUserStats::ShowTotals() {
    lblStats_[0]->setText(Q(DollarText(g_.nWinnings)));
    lblStats_[1]->setText(QString::number(g_.nNumGames));
    lblStats_[2]->setText(Q(AverageWinningsText(g_.nWinnings, g_.nNumGames)));
}

void FUserStats::ShowHistory() {
    // Games reset away in memory are not shown, though the file keeps them until
    // the record's next save.
    const int nGames = std::min<int>(g_.nNumGames, kChartGames);
    const auto games = user_stats::LoadHistory(g_, env_, nGames);
    bool bChart = false;
    if (games && !games->empty()) {
        delete chtHistory_;
        chtHistory_ = MakeHistoryChartView(*games, g_.nNumGames, g_.nWinnings, this);
        bChart = chtHistory_ != nullptr;
        if (bChart) {
            chtHistory_->setObjectName(QStringLiteral("chtHistory"));
            auto* pLayout = qobject_cast<QVBoxLayout*>(layout());
            pLayout->insertWidget(pLayout->indexOf(lblHistory_), chtHistory_, 1);
        } else {
            lblHistory_->setText(QStringLiteral("The chart of your past games cannot be shown."));
        }
    } else {
        lblHistory_->setText(games ? QStringLiteral("No games recorded yet.")
                                   : QStringLiteral("Your past games cannot be read just now."));
    }
    if (chtHistory_ != nullptr) {
        chtHistory_->setVisible(bChart);
    }
    lblHistory_->setVisible(!bChart);
    if (isVisible()) {
        adjustSize(); // a chart gone after a reset leaves no empty space behind
    }
}

void FUserStats::cmdUserStats_Click(int nIndex) {
    if (nIndex == 1) {
        accept();
        return;
    }
    if (env_.msg.AskYesNo("Are you sure that you wish to reset your totals?", "The Game of Corvane",
                          MsgIcon::Question) == MsgAnswer::No) {
        return;
    }
    g_.nWinnings = 0;
    g_.nNumGames = 0;
    display_.ShowWinnings("$0");
    ShowTotals();
    ShowHistory();
}

} // namespace corvane
