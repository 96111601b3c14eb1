#include "game_dialog_support.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

namespace corvane {

QRect TwipsRect(int nLeft, int nTop, int nWidth, int nHeight) {
    const int nX = TwipsToPixels(nLeft);
    const int nY = TwipsToPixels(nTop);
    return {nX, nY, TwipsToPixels(nLeft + nWidth) - nX, TwipsToPixels(nTop + nHeight) - nY};
}

QLabel* MakeLabel(QWidget* pParent, const QString& sObjectName, const QString& sCaption,
                  const QRect& rcTwips) {
    auto* pLabel = new QLabel(sCaption, pParent);
    pLabel->setObjectName(sObjectName);
    pLabel->setGeometry(TwipsRect(rcTwips.x(), rcTwips.y(), rcTwips.width(), rcTwips.height()));
    // Captions are names and numbers, never markup.
    pLabel->setTextFormat(Qt::PlainText);
    return pLabel;
}

QPushButton* MakeButton(QWidget* pParent, const QString& sObjectName, const QString& sCaption,
                        const QRect& rcTwips) {
    auto* pButton = new QPushButton(sCaption, pParent);
    pButton->setObjectName(sObjectName);
    pButton->setGeometry(TwipsRect(rcTwips.x(), rcTwips.y(), rcTwips.width(), rcTwips.height()));
    // A dialog's buttons answer only when pressed; Enter goes to the default one.
    pButton->setAutoDefault(false);
    return pButton;
}

QFont DesignFont(int nPointSize, bool bBold) {
    QFont font(QStringLiteral("MS Sans Serif"), nPointSize);
    font.setBold(bBold);
    return font;
}

void SetForeColour(QWidget& w, const QColor& colour) {
    QPalette palette = w.palette();
    palette.setColor(QPalette::WindowText, colour);
    w.setPalette(palette);
}

QColor ForeColour(const QWidget& w) {
    return w.palette().color(QPalette::WindowText);
}

std::int32_t LeadingInteger(std::string_view sText) {
    std::size_t i = 0;
    while (i < sText.size() && (sText[i] == ' ' || sText[i] == '\t')) {
        ++i;
    }
    bool bNegative = false;
    if (i < sText.size() && (sText[i] == '-' || sText[i] == '+')) {
        bNegative = sText[i] == '-';
        ++i;
    }
    std::int64_t nValue = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < sText.size() && std::isdigit(static_cast<unsigned char>(sText[i])) != 0; ++i) {
        nValue = std::min(kLimit, nValue * 10 + (sText[i] - '0'));
    }
    if (bNegative) {
        nValue = -nValue;
    }
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(nValue, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

void PlaceOnScreen(QWidget& dialog, double dDivisor) {
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    if (pScreen == nullptr) {
        return;
    }
    const QRect rcFree = pScreen->availableGeometry();
    const QSize size = dialog.size();
    const int nLeft = rcFree.x() + (rcFree.width() - size.width()) / 2;
    const int nTop =
        rcFree.y() + static_cast<int>(std::floor((rcFree.height() - size.height()) / dDivisor));
    // A dialog taller or wider than the screen keeps its title bar reachable.
    dialog.move(std::max(nLeft, rcFree.x()), std::max(nTop, rcFree.y()));
}

} // namespace corvane
