// QMessageBox with the program's icons and buttons.
#include "qt_message_boxes.hpp"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QString>

namespace corvane {

namespace {

QMessageBox::Icon ToQt(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A short message under a long title: the box is made wide enough for its title.
void FitTitle(QMessageBox& box) {
    if (auto* pGrid = qobject_cast<QGridLayout*>(box.layout())) {
        const QMargins margins = pGrid->contentsMargins();
        pGrid->addItem(
            new QSpacerItem(TitleBarWidth(box.windowTitle()) - margins.left() - margins.right(), 0,
                            QSizePolicy::Minimum, QSizePolicy::Minimum),
            pGrid->rowCount(), 0, 1, pGrid->columnCount());
    }
}

// Qt breaks lines at LF; the program's messages join lines with CR LF.
QString ToText(const std::string& s) {
    QString text = QString::fromStdString(s);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

int TitleBarWidth(const QString& sTitle) {
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The bar is a little higher than a line of its text; the icon and the
    // three buttons are about as wide as it is high.
    const int nBar = metrics.height() + 10;
    return metrics.horizontalAdvance(sTitle) + 4 * nBar + 2 * metrics.height();
}

void QtMessageBoxes::Show(const std::string& sText, const std::string& sTitle, MsgIcon icon) {
    QMessageBox box(ToQt(icon), QString::fromStdString(sTitle), ToText(sText), QMessageBox::Ok,
                    pParent_);
    box.setObjectName(QStringLiteral("messageBox"));
    FitTitle(box);
    box.exec();
}

MsgAnswer QtMessageBoxes::AskYesNo(const std::string& sText, const std::string& sTitle,
                                   MsgIcon icon) {
    QMessageBox box(ToQt(icon), QString::fromStdString(sTitle), ToText(sText),
                    QMessageBox::Yes | QMessageBox::No, pParent_);
    box.setObjectName(QStringLiteral("messageBox"));
    FitTitle(box);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

void QtMessageBoxes::Beep() {
    QApplication::beep();
}

} // namespace corvane
