// The Qt message boxes: the text, title, icon and buttons they show, and the answer.
#include "platform/qt_message_boxes.hpp"

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

namespace corvane {

class QtMessageBoxesTest : public QObject {
    Q_OBJECT

private:
    // Once the box is up, looks at it and presses the given button.
    static void Press(QMessageBox::StandardButton button,
                      const std::function<void(QMessageBox&)>& look) {
        auto* timer = new QTimer;
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, button, look] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            timer->stop();
            timer->deleteLater();
            look(*box);
            box->button(button)->click();
        });
        timer->start();
    }

private slots:
    void showUsesCrLfLinesTitleAndIcon() {
        QtMessageBoxes boxes;
        QString sText;
        QString sTitle;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        Press(QMessageBox::Ok, [&](QMessageBox& box) {
            sText = box.text();
            sTitle = box.windowTitle();
            icon = box.icon();
        });
        boxes.Show("first\r\nsecond", "Fatal Error", MsgIcon::Exclamation);
        QCOMPARE(sText, QStringLiteral("first\nsecond"));
        QCOMPARE(sTitle, QStringLiteral("Fatal Error"));
        QCOMPARE(icon, QMessageBox::Warning);

        // A short message under a long title is wide enough for the title, in
        // bold, beside the frame's icon and buttons.
        int nWidth = 0;
        Press(QMessageBox::Ok, [&](QMessageBox& box) { nWidth = box.width(); });
        boxes.Show("Saved!", "Saving User Information", MsgIcon::Exclamation);
        QFont bold = QApplication::font();
        bold.setBold(true);
        QVERIFY(nWidth >=
                QFontMetrics(bold).horizontalAdvance(QStringLiteral("Saving User Information")) +
                    100);
    }

    void askYesNoReturnsTheButtonPressed() {
        QtMessageBoxes boxes;
        QMessageBox::StandardButtons buttons;
        Press(QMessageBox::No, [&](QMessageBox& box) { buttons = box.standardButtons(); });
        QCOMPARE(boxes.AskYesNo("Sure?", "Top Ten List", MsgIcon::Question), MsgAnswer::No);
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
        Press(QMessageBox::Yes, [](QMessageBox&) {});
        QCOMPARE(boxes.AskYesNo("Sure?", "Top Ten List", MsgIcon::Question), MsgAnswer::Yes);
    }
};

} // namespace corvane

QTEST_MAIN(corvane::QtMessageBoxesTest)
#include "qt_message_boxes_test.moc"
