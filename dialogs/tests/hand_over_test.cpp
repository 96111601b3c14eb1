// The end-of-hand dialog: its rows per hand, the struck-through earlier rows,
// the leader in blue, and the win or lose sound.
#include "dialog_test_support.hpp"
#include "dialogs/game_dialogs.hpp"
#include "dialogs/hand_over_dialog.hpp"

#include <QLabel>
#include <QtTest>

using namespace corvane;
using corvane::testing::SoundLog;

namespace {

// The shared values after some hands; rows[k] holds the four seats' funds after
// hand k + 1.
MGlobal AfterHands(const std::vector<std::array<const char*, 4>>& rows) {
    MGlobal g;
    g.sLeftName = "Bob";
    g.sTopName = "Cy";
    g.sRightName = "Di";
    g.sUserName = "Ann";
    g.sWinnerName = "Cy";
    g.sPotWon = "45";
    for (const auto& row : rows) {
        g.ScoresOne.emplace_back(row[0]);
        g.ScoresTwo.emplace_back(row[1]);
        g.ScoresThree.emplace_back(row[2]);
        g.ScoresUser.emplace_back(row[3]);
    }
    return g;
}

QLabel* Label(const QWidget& dialog, const QString& sName) {
    return dialog.findChild<QLabel*>(sName);
}

const std::array<QString, 4> kColumns = {
    QStringLiteral("lblScoreOne"), QStringLiteral("lblScoreTwo"), QStringLiteral("lblScoreThree"),
    QStringLiteral("lblScoreUser")};

} // namespace

class HandOverTest : public QObject {
    Q_OBJECT

private slots:
    void firstHandShowsOneStandingRow() {
        const MGlobal g = AfterHands({{"215", "180", "190", "215"}});
        FHandOver dialog(g, {});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Hand Over - Current Standings"));
        QCOMPARE(Label(dialog, "lblFScore0")->text(), QStringLiteral("Winner:"));
        QCOMPARE(Label(dialog, "lblFScore1")->text(), QStringLiteral("Total Pot:"));
        QCOMPARE(Label(dialog, "lblWinner")->text(), QStringLiteral("Cy"));
        QCOMPARE(Label(dialog, "lblTotPot")->text(), QStringLiteral("45"));
        const QStringList names = {"Bob", "Cy", "Di", "Ann"};
        for (int seat = 0; seat < 4; ++seat) {
            QCOMPARE(Label(dialog, QStringLiteral("lblPlayer%1").arg(seat))->text(), names[seat]);
            QLabel* pRow = Label(dialog, kColumns[seat] + "0");
            QVERIFY(pRow != nullptr);
            QVERIFY(!pRow->font().strikeOut());
            QVERIFY(Label(dialog, kColumns[seat] + "1") == nullptr);
        }
        QCOMPARE(Label(dialog, "lblScoreTwo0")->text(), QStringLiteral("180"));
        QCOMPARE(Label(dialog, "lblScoreUser0")->text(), QStringLiteral("215"));
    }

    void laterHandsStrikeThroughEarlierRows() {
        const MGlobal g = AfterHands({{"215", "180", "190", "215"},
                                      {"170", "260", "160", "210"},
                                      {"125", "395", "115", "165"}});
        FHandOver dialog(g, {});
        for (int seat = 0; seat < 4; ++seat) {
            for (int i = 0; i < 3; ++i) {
                QLabel* pRow = Label(dialog, kColumns[seat] + QString::number(i));
                QVERIFY(pRow != nullptr);
                QCOMPARE(pRow->font().strikeOut(), i < 2);
                // Rows stand 220 twips apart from the first at 840.
                QCOMPARE(pRow->y(), TwipsToPixels(840 + 220 * i));
                QCOMPARE(pRow->x(), Label(dialog, kColumns[seat] + "0")->x());
            }
        }
        QCOMPARE(Label(dialog, "lblScoreOne2")->text(), QStringLiteral("125"));
        QCOMPARE(Label(dialog, "lblScoreThree1")->text(), QStringLiteral("160"));
        // The button sits below the last row.
        auto* pOK = dialog.findChild<QPushButton*>("cmdOK");
        QCOMPARE(pOK->text(), QStringLiteral("&OK"));
        QVERIFY(pOK->y() > Label(dialog, "lblScoreOne2")->geometry().bottom());
    }

    void replayIsAnAnswerOnlyWhereOffered() {
        const MGlobal g = AfterHands({{"215", "180", "190", "215"}});
        QVERIFY(FHandOver(g, {}).findChild<QPushButton*>("cmdReplay") == nullptr);
        testing::WhenModal([](QDialog& dialog) { testing::Click(dialog, "cmdReplay"); });
        QVERIFY(RunHandOver(g, {}, nullptr, true) == DialogAnswer::Replay);
        testing::WhenModal([](QDialog& dialog) { testing::Click(dialog, "cmdOK"); });
        QVERIFY(RunHandOver(g, {}, nullptr, true) == DialogAnswer::Ok);
    }

    void leaderIsBlue_data() {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<int>("nLeader");
        QTest::newRow("clear leader") << QList<QStringList>{{"150", "290", "160", "200"}} << 1;
        QTest::newRow("tie goes to the higher seat")
            << QList<QStringList>{{"250", "140", "250", "160"}} << 2;
        QTest::newRow("tie with the user marks the user")
            << QList<QStringList>{{"100", "250", "200", "250"}} << 3;
        QTest::newRow("only the newest row counts")
            << QList<QStringList>{{"300", "170", "170", "160"}, {"150", "170", "320", "160"}} << 2;
        QTest::newRow("leading number of each text")
            << QList<QStringList>{{"310abc", " 300", "-400", "x990"}} << 0;
    }

    void leaderIsBlue() {
        QFETCH(QList<QStringList>, rows);
        QFETCH(int, nLeader);
        MGlobal g = AfterHands({});
        for (const QStringList& row : rows) {
            g.ScoresOne.push_back(row[0].toStdString());
            g.ScoresTwo.push_back(row[1].toStdString());
            g.ScoresThree.push_back(row[2].toStdString());
            g.ScoresUser.push_back(row[3].toStdString());
        }
        QCOMPARE(FHandOver::GetHighScore(g), nLeader);
        FHandOver dialog(g, {});
        for (int seat = 0; seat < 4; ++seat) {
            const bool bLeads = seat == nLeader;
            QCOMPARE(ForeColour(*Label(dialog, QStringLiteral("lblPlayer%1").arg(seat))) == kBlue,
                     bLeads);
            for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
                QCOMPARE(ForeColour(*Label(dialog, kColumns[seat] + QString::number(i))) == kBlue,
                         bLeads);
            }
        }
    }

    void playsTheWinnersSound_data() {
        QTest::addColumn<QString>("sWinner");
        QTest::addColumn<int>("nSound");
        QTest::newRow("the user won") << "Ann" << static_cast<int>(Sound::UserWon);
        QTest::newRow("an opponent won") << "Cy" << static_cast<int>(Sound::OtherWon);
        QTest::newRow("names differ in case") << "ann" << static_cast<int>(Sound::OtherWon);
    }

    void playsTheWinnersSound() {
        QFETCH(QString, sWinner);
        QFETCH(int, nSound);
        MGlobal g = AfterHands({{"215", "180", "190", "215"}});
        g.sWinnerName = sWinner.toStdString();
        SoundLog sounds;
        // In the first row the sound outlasts a tick of the dialog's timer, and
        // the dialog stays open for another: it still plays once.
        const bool bListenLonger = QTest::currentDataTag() == QByteArray("the user won");
        sounds.nLengthMs = bListenLonger ? 700 : 0;
        testing::WhenModal([&](QDialog& dialog) {
            sounds.WaitForFirst();
            if (bListenLonger) {
                SoundLog::WaitPastNextTick();
            }
            testing::Click(dialog, "cmdOK");
        });
        RunHandOver(g, sounds.Player(), nullptr);
        QCOMPARE(sounds.Played, std::vector<Sound>{static_cast<Sound>(nSound)});
    }
};

QObject* MakeHandOverTest() {
    return new HandOverTest;
}

#include "hand_over_test.moc"
