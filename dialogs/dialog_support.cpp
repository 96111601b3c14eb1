// Placement and text helpers of the dialogs, and the name-plate helpers.
#include "dialog_support.hpp"

#include "storage/settings.hpp"
#include "user_display.hpp"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace corvane {

namespace {

QRect ScreenRect(const QWidget& w) {
    const QScreen* pScreen = w.screen() != nullptr ? w.screen() : QGuiApplication::primaryScreen();
    return pScreen != nullptr ? pScreen->geometry() : QRect(0, 0, 640, 480);
}

} // namespace

void PlaceAboveMiddle(QWidget& w) {
    const QRect screen = ScreenRect(w);
    const QSize size = w.frameSize();
    w.move(screen.x() + (screen.width() - size.width()) / 2,
           screen.y() + static_cast<int>((screen.height() - size.height()) / 2.2));
}

void CenterForm(QWidget& w) {
    const QRect screen = ScreenRect(w);
    const QSize size = w.frameSize();
    w.move(screen.x() + (screen.width() - size.width()) / 2,
           screen.y() + (screen.height() - size.height()) / 2);
}

std::string TrimmedText(const QString& s) {
    return TrimBlanks(s.toStdString());
}

std::string StatsCaption(const std::string& sUserName) {
    // Upper case for every letter, not only ASCII: a name is shown as typed.
    return QString::fromStdString(TrimBlanks(sUserName)).toUpper().toStdString() + "'s Stats...";
}

std::string DollarText(std::int32_t nAmount) {
    return "$" + std::to_string(nAmount);
}

void ShowCurrentUserNames(UserDisplay& display, const MGlobal& g) {
    display.ShowPlayerNames(g.sLeftName, g.sTopName, g.sRightName, g.sUserName);
    display.SetStatsCaption(StatsCaption(g.sUserName));
}

} // namespace corvane
