// The high-score dialog: its words, its picture, one fanfare.
#include "dialog_test_support.hpp"
#include "dialogs/game_dialogs.hpp"
#include "dialogs/high_score_dialog.hpp"

#include <QLabel>
#include <QtTest>

using namespace corvane;
using corvane::testing::SoundLog;

class HighScoreTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheCongratulationOverThePicture() {
        FHighScore dialog({});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Congratulations! "));
        const QStringList lines = {"Well Done!!!",
                                   "You have an excellent score!",
                                   "You should email it to us and",
                                   "you may be on our next month's",
                                   "International TopTen List.",
                                   "See \"File | Send Score\" for info."};
        for (int i = 0; i < lines.size(); ++i) {
            auto* pLabel = dialog.findChild<QLabel*>(QStringLiteral("lblHighScore%1").arg(i));
            QVERIFY(pLabel != nullptr);
            QCOMPARE(pLabel->text(), lines[i]);
            // Every line fits its label.
            QVERIFY(pLabel->fontMetrics().horizontalAdvance(lines[i]) <= pLabel->width());
        }
        QCOMPARE(dialog.findChild<QPushButton*>("CmdHighScore")->text(), QStringLiteral("&OK"));

        // The thinking figure is painted behind the words, unlike a plain dialog.
        const QImage image = dialog.grab().toImage();
        const QImage plain = QDialog().grab(QRect(0, 0, 40, 40)).toImage();
        QVERIFY(image.pixelColor(dialog.width() - 30, 30) != plain.pixelColor(20, 20));
    }

    void playsTheFanfareOnce() {
        SoundLog sounds;
        // Longer than a tick of the dialog's timer.
        sounds.nLengthMs = 700;
        testing::WhenModal([&](QDialog& dialog) {
            sounds.WaitForFirst();
            SoundLog::WaitPastNextTick();
            testing::Click(dialog, "CmdHighScore");
        });
        RunHighScore(sounds.Player(), nullptr);
        QCOMPARE(sounds.Played, std::vector<std::string>{"HIGHSCORE"});
    }
};

QObject* MakeHighScoreTest() {
    return new HighScoreTest;
}

#include "high_score_test.moc"
