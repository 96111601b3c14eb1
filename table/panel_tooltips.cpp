#include "panel_tooltips.hpp"

#include "table/table_view.hpp"

#include <array>

#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

namespace corvane {
namespace {

struct Tip {
    const char* sPrefix; // the boxes' names, followed by the seat number
    const char* sText;
};

constexpr std::array<Tip, 4> kSeatTips{{
    {"lblAmt", "Funds"},
    {"lblCardsLeft", "Cards left"},
    {"lblCardNo", "Last card played"},
    {"imgSuit", "Last card played"},
}};

} // namespace

PanelTooltips::PanelTooltips(TableView& table) : QObject(&table), table_(table) {
    table_.installEventFilter(this);
}

void PanelTooltips::SetEnabled(bool bEnabled) {
    const auto tip = [bEnabled](const char* sText) {
        return bEnabled ? QString::fromLatin1(sText) : QString();
    };
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        for (const Tip& t : kSeatTips) {
            const QString sName = QString::fromLatin1(t.sPrefix) + QString::number(nSeat);
            if (auto* pLabel = table_.findChild<QLabel*>(sName)) {
                pLabel->setToolTip(tip(t.sText));
            }
        }
    }
    if (auto* pLabel = table_.findChild<QLabel*>(QStringLiteral("lblWinnings"))) {
        pLabel->setToolTip(tip("Your total winnings"));
    }
}

bool PanelTooltips::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == &table_ && pEvent->type() == QEvent::ToolTip) {
        // Checked by type().
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-static-cast-downcast)
        const auto* pHelp = static_cast<QHelpEvent*>(pEvent);
        for (const QLabel* pLabel : table_.findChildren<QLabel*>()) {
            if (pLabel->isVisible() && !pLabel->toolTip().isEmpty() &&
                pLabel->geometry().contains(pHelp->pos())) {
                QToolTip::showText(pHelp->globalPos(), pLabel->toolTip(), &table_,
                                   pLabel->geometry());
                return true;
            }
        }
        QToolTip::hideText();
        return true;
    }
    return QObject::eventFilter(pWatched, pEvent);
}

} // namespace corvane
