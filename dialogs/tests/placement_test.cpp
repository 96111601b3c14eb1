// Where the dialogs open, and the leading-number rule they read funds with.
#include "dialog_test_support.hpp"
#include "dialogs/game_dialog_support.hpp"
#include "dialogs/game_over_dialog.hpp"
#include "dialogs/hand_over_dialog.hpp"
#include "dialogs/high_score_dialog.hpp"
#include "dialogs/top_ten_dialog.hpp"

#include <limits>

#include <QScreen>
#include <QtTest>

using namespace corvane;

namespace {

// Left centred across the free area; top at (free height - height) / divisor.
QPoint Expected(const QWidget& dialog, double dDivisor) {
    const QRect rcFree = QGuiApplication::primaryScreen()->availableGeometry();
    return {rcFree.x() + (rcFree.width() - dialog.width()) / 2,
            rcFree.y() + static_cast<int>((rcFree.height() - dialog.height()) / dDivisor)};
}

} // namespace

class PlacementTest : public QObject {
    Q_OBJECT

private slots:
    void dialogsOpenWhereTheyBelong() {
        testing::GameDatabase db;
        db.g.ScoresOne = {"200"};
        db.g.ScoresTwo = {"200"};
        db.g.ScoresThree = {"200"};
        db.g.ScoresUser = {"200"};
        db.g.nTopTenPos = 99;

        FHandOver handOver(db.g, {});
        QCOMPARE(handOver.pos(), Expected(handOver, 2.2));
        FGameOver gameOver(db.g, db.env, {"200", "200", "200", "200"}, 0, {}, {});
        QCOMPARE(gameOver.pos(), Expected(gameOver, 2.2));
        FTopTen topTen(db.g, db.env);
        QCOMPARE(topTen.pos(), Expected(topTen, 2.0));
        FHighScore highScore({});
        QCOMPARE(highScore.pos(), Expected(highScore, 2.0));

        // Shown, they stay there.
        handOver.show();
        QCOMPARE(handOver.pos(), Expected(handOver, 2.2));
        // "A little above the middle" really is above it.
        const QRect rcFree = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(handOver.y() - rcFree.y() < rcFree.bottom() - handOver.geometry().bottom());
    }

    void leadingInteger_data() {
        QTest::addColumn<QString>("sText");
        QTest::addColumn<int>("nValue");
        QTest::newRow("plain") << "185" << 185;
        QTest::newRow("blanks and sign") << "  -45" << -45;
        QTest::newRow("plus") << "+7" << 7;
        QTest::newRow("trailing text") << "310abc" << 310;
        QTest::newRow("fraction ignored") << "12.9" << 12;
        QTest::newRow("no number") << "$150" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("sign alone") << "-" << 0;
        QTest::newRow("too big") << "99999999999" << std::numeric_limits<int>::max();
        QTest::newRow("too small") << "-99999999999" << std::numeric_limits<int>::min();
    }

    void leadingInteger() {
        QFETCH(QString, sText);
        QFETCH(int, nValue);
        QCOMPARE(LeadingInteger(sText.toStdString()), nValue);
    }
};

QObject* MakePlacementTest() {
    return new PlacementTest;
}

#include "placement_test.moc"
