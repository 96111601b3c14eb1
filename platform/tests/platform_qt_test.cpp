// The platform's Qt pieces: the message boxes (the text, title, icon and buttons
// they show, and the answer) and the deadline timer against the steady clock it
// is set by.
#include "platform/deadline_timer.hpp"
#include "platform/qt_message_boxes.hpp"
#include "tests/support/qt_test_support.hpp"

#include <chrono>

namespace corvane {

class PlatformQtTest : public QObject {
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

    void deadlineFallsDueOnceNotBeforeItsMoment() {
        using Steady = std::chrono::steady_clock;
        int nDue = 0;
        Steady::time_point dueAt;
        DeadlineTimer timer([&] {
            ++nDue;
            dueAt = Steady::now();
        });
        const Steady::time_point at = Steady::now() + std::chrono::microseconds(2500);
        timer.StartAt(at);
        QTRY_COMPARE(nDue, 1);
        QVERIFY(dueAt >= at);
        // A moment replaced, and then stopped, never falls due.
        timer.StartAt(Steady::now());
        timer.StartAt(Steady::now() + std::chrono::milliseconds(3));
        timer.Stop();
        QTest::qWait(10);
        QCOMPARE(nDue, 1);
        // The clock's very first moment is long past: due at once.
        timer.StartAt(Steady::time_point{});
        QTRY_COMPARE(nDue, 2);
    }
};

} // namespace corvane

QTEST_MAIN(corvane::PlatformQtTest)
#include "platform_qt_test.moc"
