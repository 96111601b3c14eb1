// The top-ten dialog on a real scratch database: empty and filled lists, the
// order of equal scores, the highlight, and clearing the list.
#include "dialog_test_support.hpp"
#include "dialogs/game_dialogs.hpp"
#include "dialogs/top_ten_dialog.hpp"

#include <QLabel>
#include <QtTest>

using namespace corvane;
using corvane::testing::GameDatabase;
using corvane::testing::MakeDate;

namespace {

QString Text(const QWidget& dialog, const QString& sName) {
    auto* pLabel = dialog.findChild<QLabel*>(sName);
    return pLabel != nullptr ? pLabel->text() : QStringLiteral("<missing>");
}

QColor NameColour(const QWidget& dialog, int i) {
    return ForeColour(*dialog.findChild<QLabel*>(QStringLiteral("lblPlayer%1").arg(i)));
}

// Stores the list as given, in this order, through the main window's saver.
void StoreTopTen(GameDatabase& db, const std::vector<TopTenRec>& rows) {
    TopTenList list{};
    std::copy(rows.begin(), rows.end(), list.begin());
    MGlobal g = db.g;
    g.nTopTenPos = 99;
    main_window::TopTenSave(g, db.env, list);
}

int StoredScores(GameDatabase& db) {
    TopTenList list{};
    MGlobal g = db.g;
    top_ten_dialog::TopTenLoad(g, db.env, list);
    return static_cast<int>(std::count_if(list.begin(), list.begin() + 10,
                                          [](const TopTenRec& r) { return r.nScore != 0; }));
}

} // namespace

class TopTenTest : public QObject {
    Q_OBJECT

private slots:
    void emptyTableShowsTenNumberedEmptyRows() {
        GameDatabase db;
        db.g.nTopTenPos = 99;
        FTopTen dialog(db.g, db.env);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Corvane - Top Ten List"));
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(Text(dialog, QStringLiteral("lblNo%1").arg(i)), QString::number(i + 1));
            QCOMPARE(Text(dialog, QStringLiteral("lblPlayer%1").arg(i)), QString());
            QCOMPARE(Text(dialog, QStringLiteral("lblScore%1").arg(i)), QString());
            QCOMPARE(NameColour(dialog, i), kPurple);
        }
        QCOMPARE(dialog.findChild<QPushButton*>("cmdTopTen0")->text(), QStringLiteral("&OK"));
        QCOMPARE(dialog.findChild<QPushButton*>("cmdTopTen1")->text(), QStringLiteral("&Clear"));
        QVERIFY(db.msg.Shown.empty());
    }

    void rowsInScoreOrderOlderFirstAndZeroScoresEmpty() {
        GameDatabase db;
        StoreTopTen(db, {{"Eve", 600, MakeDate(2026, 3, 2)},
                         {"Dan", 600, MakeDate(2026, 3, 1)},
                         {"Flo", 720, MakeDate(2026, 5, 1)},
                         {"Zed", 0, MakeDate(2026, 1, 1)},
                         {"Gus", 410, MakeDate(2026, 2, 1)}});
        db.g.nTopTenPos = 99;
        FTopTen dialog(db.g, db.env);
        const QStringList names = {"Flo", "Dan", "Eve", "Gus"};
        const QStringList scores = {"720", "600", "600", "410"};
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(Text(dialog, QStringLiteral("lblPlayer%1").arg(i)),
                     i < names.size() ? names[i] : QString());
            QCOMPARE(Text(dialog, QStringLiteral("lblScore%1").arg(i)),
                     i < scores.size() ? scores[i] : QString());
        }
    }

    void highlightFollowsThePlaceOfTheNewEntry() {
        GameDatabase db;
        StoreTopTen(db, {{"Flo", 720, MakeDate(2026, 5, 1)}, {"Gus", 410, MakeDate(2026, 2, 1)}});
        // 99 comes from the menu; no value outside 0 to 9 highlights anything.
        for (const int nTopTenPos : {3, 0, 9, 99, 10, -1}) {
            db.g.nTopTenPos = nTopTenPos;
            FTopTen dialog(db.g, db.env);
            for (int i = 0; i < 10; ++i) {
                QCOMPARE(NameColour(dialog, i), i == nTopTenPos ? kBlue : kPurple);
                // Only the name is highlighted.
                QVERIFY(ForeColour(*dialog.findChild<QLabel*>(
                            QStringLiteral("lblScore%1").arg(i))) != kBlue);
            }
        }
    }

    void clearAsksFirst() {
        GameDatabase db;
        StoreTopTen(db, {{"Flo", 720, MakeDate(2026, 5, 1)}, {"Gus", 410, MakeDate(2026, 2, 1)}});
        db.g.nTopTenPos = 1;
        FTopTen dialog(db.g, db.env);
        dialog.show();

        db.msg.Answers = {MsgAnswer::No};
        testing::Click(dialog, "cmdTopTen1");
        QCOMPARE(db.msg.Shown.size(), std::size_t{1});
        QCOMPARE(db.msg.Shown[0].sText,
                 std::string("Are you sure that you want\r\nto clear the top ten list?"));
        QCOMPARE(db.msg.Shown[0].sTitle, std::string("Top Ten List"));
        QCOMPARE(db.msg.Shown[0].icon, MsgIcon::Question);
        QVERIFY(db.msg.Shown[0].bYesNo);
        QCOMPARE(Text(dialog, "lblPlayer0"), QStringLiteral("Flo"));
        QCOMPARE(Text(dialog, "lblScore1"), QStringLiteral("410"));
        QCOMPARE(StoredScores(db), 2);
        QVERIFY(dialog.isVisible());

        db.msg.Answers = {MsgAnswer::Yes};
        testing::Click(dialog, "cmdTopTen1");
        QCOMPARE(db.msg.Shown.size(), std::size_t{2});
        QCOMPARE(StoredScores(db), 0);
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(Text(dialog, QStringLiteral("lblPlayer%1").arg(i)), QString());
            QCOMPARE(Text(dialog, QStringLiteral("lblScore%1").arg(i)), QString());
            QCOMPARE(Text(dialog, QStringLiteral("lblNo%1").arg(i)), QString::number(i + 1));
        }
        QCOMPARE(NameColour(dialog, 1), kBlue);
        QVERIFY(dialog.isVisible());
        QVERIFY(!db.g.bDBError);

        testing::Click(dialog, "cmdTopTen0");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void clearOnAVanishedDatabaseCloses() {
        GameDatabase db;
        StoreTopTen(db, {{"Flo", 720, MakeDate(2026, 5, 1)}});
        db.g.nTopTenPos = 99;
        FTopTen dialog(db.g, db.env);
        dialog.show();
        db.RemoveDatabase();
        db.msg.Answers = {MsgAnswer::Yes};
        testing::Click(dialog, "cmdTopTen1");
        QVERIFY(db.g.bDBError);
        QVERIFY(!dialog.isVisible());
    }

    void missingDatabaseShowsNothingAndCloses() {
        GameDatabase db;
        db.RemoveDatabase();
        db.g.nTopTenPos = 99;
        bool bGuardFired = false;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (auto* pDialog = QApplication::activeModalWidget()) {
                bGuardFired = true;
                pDialog->close();
            }
        });
        guard.start(3000);
        RunTopTen(db.g, db.env, nullptr);
        guard.stop();
        QVERIFY(!bGuardFired);
        QVERIFY(db.g.bDBError);
        // The database in the program's folder is missing: the fatal message.
        QCOMPARE(db.msg.Shown.size(), std::size_t{1});
        QCOMPARE(db.msg.Shown[0].sTitle, std::string("Fatal Error"));
    }
};

QObject* MakeTopTenTest() {
    return new TopTenTest;
}

#include "top_ten_test.moc"
