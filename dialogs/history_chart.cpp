// The chart library. Qt Charts draws the axes, the legend and the series; this
// file decides what goes in and how the two value axes line up.
#include "history_chart.hpp"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <type_traits>

#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDateTime>
#include <QLineSeries>
#include <QPainter>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QValueAxis>

namespace corvane {

namespace {

// Every seat starts a game with this much; a game's winnings are the difference.
constexpr int kStartingFunds = 200;
// Grid lines across the value axes, zero among them.
constexpr int kValueTicks = 6;
// Fewest games between two level labels on the game axis: a change closer to
// the last label keeps its grid line but no label, so labels never overlap.
constexpr int kLabelGap = 15;

// Blue and orange stay apart for every kind of colour vision.
const QColor kGainColour(0x1f, 0x78, 0xb4);
const QColor kLossColour(0xe6, 0x61, 0x01);
const QColor kTotalColour(0x22, 0x22, 0x22);

struct AxisRange {
    double dMin = 0;
    double dMax = 0;
};

// The smallest step of 1, 2 or 5 times a power of ten, whole dollars, that is at
// least dRaw.
double RoundStep(double dRaw) {
    if (dRaw <= 1) {
        return 1;
    }
    const double dPower = std::pow(10.0, std::floor(std::log10(dRaw)));
    for (const double d : {1.0, 2.0, 5.0}) {
        if (d * dPower >= dRaw) {
            return d * dPower;
        }
    }
    return 10 * dPower;
}

// Ranges for the two value axes, each holding its values (and zero) in round
// steps, with zero on the same grid line of both, so that the bars and the line
// share their zero. Of the places zero can take, the one that leaves the least
// empty space wins.
std::array<AxisRange, 2> ZeroAlignedRanges(const std::array<AxisRange, 2>& need) {
    constexpr int kSteps = kValueTicks - 1;
    std::array<AxisRange, 2> best{};
    double dBestFill = -1;
    for (int nBelow = 0; nBelow <= kSteps; ++nBelow) {
        const int nAbove = kSteps - nBelow;
        std::array<AxisRange, 2> ranges{};
        double dFill = 0;
        bool bFits = true;
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            const AxisRange& r = need[i];
            bFits = bFits && (r.dMin >= 0 || nBelow > 0) && (r.dMax <= 0 || nAbove > 0);
            const double dStep = RoundStep(
                std::max(nBelow > 0 ? -r.dMin / nBelow : 0.0, nAbove > 0 ? r.dMax / nAbove : 0.0));
            ranges[i] = {-dStep * nBelow, dStep * nAbove};
            dFill += (r.dMax - r.dMin) / (dStep * kSteps);
        }
        if (bFits && dFill > dBestFill) {
            best = ranges;
            dBestFill = dFill;
        }
    }
    return best;
}

QValueAxis* MoneyAxis(const AxisRange& range) {
    auto* pAxis = new QValueAxis;
    pAxis->setRange(range.dMin, range.dMax);
    pAxis->setTickCount(kValueTicks);
    pAxis->setLabelFormat(QStringLiteral("$%.0f"));
    return pAxis;
}

// The games along the bottom, with a grid line and a "Level n" label where a
// level begins, the first game's level included.
QCategoryAxis* GameAxis(const std::vector<HistoryRec>& games, int nFirstGame) {
    auto* pAxis = new QCategoryAxis;
    const int nCount = static_cast<int>(games.size());
    pAxis->setRange(-0.5, nCount - 0.5);
    pAxis->setStartValue(-0.5);
    pAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    pAxis->setTitleText(
        nCount == 1
            ? QStringLiteral("Game %1").arg(nFirstGame)
            : QStringLiteral("Games %1 to %2").arg(nFirstGame).arg(nFirstGame + nCount - 1));
    int nLabelled = -kLabelGap;
    for (int i = 0; i < nCount; ++i) {
        const auto n = static_cast<std::size_t>(i);
        if (i > 0 && games[n].nLevel == games[n - 1].nLevel) {
            continue;
        }
        const bool bRoom = i - nLabelled >= kLabelGap;
        QString sLabel = bRoom ? QStringLiteral("Level %1").arg(games[n].nLevel) : QString();
        // The axis keys its lines by label: a level met again, or an unlabelled
        // line, is told apart by zero-width spaces.
        while (pAxis->categoriesLabels().contains(sLabel)) {
            sLabel += QChar(0x200B);
        }
        nLabelled = bRoom ? i : nLabelled;
        // The first line sits just inside the start, where a category cannot end.
        pAxis->append(sLabel, i == 0 ? -0.49 : i - 0.5);
    }
    return pAxis;
}

QString GameTip(const HistoryRec& game, int nGame) {
    const auto nSeconds = game.dtDate.time_since_epoch() / std::chrono::seconds(1);
    const QString sWhen = QDateTime::fromSecsSinceEpoch(nSeconds, Qt::UTC)
                              .toLocalTime()
                              .toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    return QStringLiteral("Game %1, %2\nLevel %3, %4\n$%5%6")
        .arg(nGame)
        .arg(sWhen)
        .arg(game.nLevel)
        .arg(QString::fromStdString(game.sSkillLevel))
        .arg(game.nFunds - kStartingFunds)
        .arg(game.bWon ? QStringLiteral(", first place") : QString());
}

QChart* MakeHistoryChart(const std::vector<HistoryRec>& games, int nLastGame, std::int32_t nTotal) {
    auto* pGain = new QBarSet(QStringLiteral("Won in the game"));
    auto* pLoss = new QBarSet(QStringLiteral("Lost in the game"));
    pGain->setColor(kGainColour);
    pLoss->setColor(kLossColour);
    pGain->setBorderColor(kGainColour);
    pLoss->setBorderColor(kLossColour);
    auto* pTotal = new QLineSeries;
    pTotal->setName(QStringLiteral("Total winnings"));
    pTotal->setPen(QPen(kTotalColour, 2));

    // The line ends at the total shown above the chart and steps back game by
    // game, so games from before the history began still count in it.
    std::vector<double> totals(games.size());
    double dTotal = nTotal;
    for (std::size_t i = games.size(); i-- > 0;) {
        totals[i] = dTotal;
        dTotal -= games[i].nFunds - kStartingFunds;
    }
    std::array<AxisRange, 2> need{};
    for (std::size_t i = 0; i < games.size(); ++i) {
        const double dWon = games[i].nFunds - kStartingFunds;
        pGain->append(std::max(dWon, 0.0));
        pLoss->append(std::min(dWon, 0.0));
        pTotal->append(static_cast<double>(i), totals[i]);
        need[0] = {std::min(need[0].dMin, dWon), std::max(need[0].dMax, dWon)};
        need[1] = {std::min(need[1].dMin, totals[i]), std::max(need[1].dMax, totals[i])};
    }
    auto* pBars = new QStackedBarSeries;
    pBars->append(pGain);
    pBars->append(pLoss);
    pBars->setBarWidth(0.8);

    auto* pChart = new QChart;
    pChart->addSeries(pBars);
    pChart->addSeries(pTotal);
    const auto ranges = ZeroAlignedRanges(need);
    const int nFirstGame = nLastGame - static_cast<int>(games.size()) + 1;
    QCategoryAxis* pGames = GameAxis(games, nFirstGame);
    QValueAxis* pPerGame = MoneyAxis(ranges[0]);
    QValueAxis* pRunning = MoneyAxis(ranges[1]);
    pRunning->setGridLineVisible(false);
    pChart->addAxis(pGames, Qt::AlignBottom);
    pChart->addAxis(pPerGame, Qt::AlignLeft);
    pChart->addAxis(pRunning, Qt::AlignRight);
    pBars->attachAxis(pGames);
    pBars->attachAxis(pPerGame);
    pTotal->attachAxis(pGames);
    pTotal->attachAxis(pRunning);
    pChart->legend()->setAlignment(Qt::AlignBottom);
    pChart->setBackgroundRoundness(0);

    QObject::connect(pBars, &QStackedBarSeries::hovered, pChart,
                     [games, nFirstGame](bool bOn, int nIndex, QBarSet*) {
                         if (!bOn) {
                             QToolTip::hideText();
                             return;
                         }
                         QToolTip::showText(
                             QCursor::pos(),
                             GameTip(games[static_cast<std::size_t>(nIndex)], nFirstGame + nIndex));
                     });
    return pChart;
}

} // namespace

} // namespace corvane

// Looked up by name (kHistoryChartEntry), hence unmangled.
extern "C" Q_DECL_EXPORT QWidget*
CorvaneMakeHistoryChartView(const std::vector<corvane::HistoryRec>& games, int nLastGame,
                            std::int32_t nTotal, QWidget* pParent) {
    auto* pView = new QChartView(corvane::MakeHistoryChart(games, nLastGame, nTotal), pParent);
    pView->setRenderHint(QPainter::Antialiasing);
    pView->setMinimumSize(600, 300);
    // Only the chart's own white card shows over the dialog's picture.
    pView->setFrameShape(QFrame::NoFrame);
    pView->setBackgroundBrush(Qt::NoBrush);
    pView->setStyleSheet(QStringLiteral("background: transparent"));
    return pView;
}
static_assert(std::is_same_v<decltype(&CorvaneMakeHistoryChartView), corvane::HistoryChartEntry>);
