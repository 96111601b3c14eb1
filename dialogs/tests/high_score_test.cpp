// The high-score dialog: its words, its picture, one fanfare.
#include "dialog_test_support.hpp"
#include "dialogs/game_dialogs.hpp"
#include "dialogs/high_score_dialog.hpp"

#include <cstdlib>

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

        // The thinking figure stands at the right (its coat at the bottom is dark
        // green), and the ground under the words continues its left edge.
        const QImage image = dialog.grab().toImage();
        const QColor coat = image.pixelColor(dialog.width() - 120, dialog.height() - 10);
        QVERIFY(coat.green() > coat.red() + 20 && coat.green() > coat.blue() + 20);
        QVERIFY(coat.lightness() < 128);
        const int nPictureLeft = dialog.width() - 340;
        for (const int y : {10, 170, 330}) {
            const QColor under = image.pixelColor(5, y);
            const QColor edge = image.pixelColor(nPictureLeft, y);
            QVERIFY(std::abs(under.red() - edge.red()) <= 2);
            QVERIFY(std::abs(under.green() - edge.green()) <= 2);
            QVERIFY(std::abs(under.blue() - edge.blue()) <= 2);
            QVERIFY(under != dialog.palette().color(QPalette::Window));
        }
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
        QCOMPARE(sounds.Played, std::vector<Sound>{Sound::HighScore});
    }
};

QObject* MakeHighScoreTest() {
    return new HighScoreTest;
}

#include "high_score_test.moc"
