// The Qt message boxes: the text, title, icon and buttons they show, and the answer.
#include "platform/qt_message_boxes.hpp"
#include "tests/support/qt_test_support.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QtTest>

namespace corvane {

class QtMessageBoxesTest : public QObject {
    Q_OBJECT

private slots:
    void showsLinesTitleIconAndButtonsAndAnswers() {
        QtMessageBoxes boxes;
        QString sSeen;
        int nWidth = 0;
        // Once the next box is up, notes what it shows and presses the button.
        const auto Press = [&](QMessageBox::StandardButton button) {
            testing::WhenModal([&, button](QDialog& dialog) {
                auto& box = static_cast<QMessageBox&>(dialog);
                sSeen = box.windowTitle() + "|" + box.text() + "|" + QString::number(box.icon()) +
                        "|" + QString::number(box.standardButtons().toInt(), 16);
                nWidth = box.width();
                box.button(button)->click();
            });
        };
        Press(QMessageBox::Ok);
        boxes.Show("first\r\nsecond", "Fatal Error", MsgIcon::Exclamation);
        QCOMPARE(sSeen, QStringLiteral("Fatal Error|first\nsecond|%1|%2")
                            .arg(QMessageBox::Warning)
                            .arg(QMessageBox::Ok, 0, 16));

        // A short message under a long title is wide enough for the title, in
        // bold, beside the frame's icon and buttons.
        Press(QMessageBox::Ok);
        boxes.Show("Saved!", "Saving User Information", MsgIcon::Exclamation);
        QFont bold = QApplication::font();
        bold.setBold(true);
        QVERIFY(nWidth >=
                QFontMetrics(bold).horizontalAdvance(QStringLiteral("Saving User Information")) +
                    100);

        Press(QMessageBox::No);
        QCOMPARE(boxes.AskYesNo("Sure?", "Top Ten List", MsgIcon::Question), MsgAnswer::No);
        QCOMPARE(sSeen, QStringLiteral("Top Ten List|Sure?|%1|%2")
                            .arg(QMessageBox::Question)
                            .arg((QMessageBox::Yes | QMessageBox::No).toInt(), 0, 16));
        Press(QMessageBox::Yes);
        QCOMPARE(boxes.AskYesNo("Sure?", "Top Ten List", MsgIcon::Question), MsgAnswer::Yes);
    }
};

} // namespace corvane

QTEST_MAIN(corvane::QtMessageBoxesTest)
#include "qt_message_boxes_test.moc"
