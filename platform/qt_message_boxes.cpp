// QMessageBox with the program's icons and buttons.
#include "qt_message_boxes.hpp"

#include <QApplication>
#include <QMessageBox>
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

// Qt breaks lines at LF; the program's messages join lines with CR LF.
QString ToText(const std::string& s) {
    QString text = QString::fromStdString(s);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

void QtMessageBoxes::Show(const std::string& sText, const std::string& sTitle, MsgIcon icon) {
    QMessageBox box(ToQt(icon), QString::fromStdString(sTitle), ToText(sText), QMessageBox::Ok,
                    pParent_);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

MsgAnswer QtMessageBoxes::AskYesNo(const std::string& sText, const std::string& sTitle,
                                   MsgIcon icon) {
    QMessageBox box(ToQt(icon), QString::fromStdString(sTitle), ToText(sText),
                    QMessageBox::Yes | QMessageBox::No, pParent_);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

void QtMessageBoxes::Beep() {
    QApplication::beep();
}

} // namespace corvane
