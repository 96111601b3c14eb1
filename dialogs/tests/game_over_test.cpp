// The game-over dialog: booking the game into the user's record, the standings
// from the database, who won, the three answers, and a database that is gone.
#include "dialog_test_support.hpp"
#include "dialogs/game_dialogs.hpp"
#include "dialogs/game_over_dialog.hpp"
#include "storage/db.hpp"

#include <limits>

#include <QLabel>
#include <QtTest>

using namespace corvane;
using corvane::testing::GameDatabase;
using corvane::testing::SoundLog;

namespace {

using Captions = std::array<std::string, 4>;

void SetUser(MGlobal& g) {
    g.nUserID = 7;
    g.sUserName = "Ann";
    g.sLeftName = "Bob";
    g.sTopName = "Cy";
    g.sRightName = "Di";
    g.sSkillLevel = "Hard";
    g.nNumGames = 4;
    g.nWinnings = 100;
}

QString Text(const QWidget& dialog, const QString& sName) {
    auto* pLabel = dialog.findChild<QLabel*>(sName);
    return pLabel != nullptr ? pLabel->text() : QStringLiteral("<missing>");
}

// Leaves the file openable but without the scratch table the ranking needs.
void DropPlayerTable(const GameDatabase& db) {
    KeyCache keys(false);
    db::Database direct = db::Database::Open(DatabaseFileName(db.sApp), keys);
    direct.Exec("DROP TABLE player");
}

std::optional<UserRec> StoredUser(GameDatabase& db, std::int32_t nUserID) {
    for (const UserRec& rec : user_dialog::GetPlayerData(db.g, db.env)) {
        if (rec.nUserID == nUserID) {
            return rec;
        }
    }
    return std::nullopt;
}

} // namespace

class GameOverTest : public QObject {
    Q_OBJECT

    // One database for the tests that only need a working one, set to the same
    // user before each.
    std::unique_ptr<GameDatabase> shared_;

    GameDatabase& Shared() {
        SetUser(shared_->g);
        shared_->g.bUserWon = false;
        shared_->msg.Shown.clear();
        return *shared_;
    }

private slots:
    void initTestCase() { shared_ = std::make_unique<GameDatabase>(); }
    void cleanupTestCase() { shared_.reset(); }

    void booksTheGameAndShowsTheStandings() {
        GameDatabase db;
        SetUser(db.g);
        std::vector<std::string> winnings;
        FGameOver dialog(db.g, db.env, Captions{"150", "210", "240", "200"}, 2,
                         [&](const std::string& s) { winnings.push_back(s); }, {});

        QCOMPARE(dialog.windowTitle(), QStringLiteral("Corvane - Game Over"));
        // Finishing on the starting 200 leaves the winnings and counts the game.
        QCOMPARE(db.g.nNumGames, std::int16_t{5});
        QCOMPARE(db.g.nWinnings, 100);
        QCOMPARE(winnings, std::vector<std::string>{"$100"});
        const auto stored = StoredUser(db, 7);
        QVERIFY(stored.has_value());
        QCOMPARE(stored->sName, std::string("Ann"));
        QCOMPARE(stored->sPlayer1, std::string("Bob"));
        QCOMPARE(stored->sSkillLevel, std::string("Hard"));
        QCOMPARE(stored->nNumGames, std::int16_t{5});
        QCOMPARE(stored->nWinnings, 100);
        // The game joins the user's history, at the level shown.
        const auto games = user_stats::LoadHistory(db.g, db.env, 10);
        QCOMPARE(games->size(), std::size_t{1});
        QCOMPARE(games->at(0).nLevel, 3);
        QCOMPARE(games->at(0).nFunds, std::int16_t{200});

        QVERIFY(dialog.HasStandings());
        const QStringList names = {"Di", "Cy", "Ann", "Bob"};
        const QStringList amounts = {"240", "210", "200", "150"};
        for (int p = 0; p < 4; ++p) {
            QCOMPARE(Text(dialog, QStringLiteral("lblPlayer%1").arg(p)), names[p]);
            QCOMPARE(Text(dialog, QStringLiteral("lblAmt%1").arg(p)), amounts[p]);
            QCOMPARE(QString::fromStdString(db.g.Standings[static_cast<std::size_t>(p)].sName),
                     names[p]);
        }
        QVERIFY(!db.g.bUserWon);
        QVERIFY(!db.g.bDBError);
        QVERIFY(db.msg.Shown.empty());

        const QStringList captions = {
            "Winner:", "2nd Place:", "3rd Place:", "4th Place:", "Play another game?"};
        for (int i = 0; i < captions.size(); ++i) {
            QCOMPARE(Text(dialog, QStringLiteral("lblGO%1").arg(i)), captions[i]);
        }
        const QStringList buttons = {"&Yes", "&No", "&New User..."};
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("cmdYesNo%1").arg(i))->text(),
                     buttons[i]);
        }
    }

    void winningsMoveByTheNetResult() {
        GameDatabase db;
        SetUser(db.g);
        db.g.nWinnings = 10;
        std::string sShown;
        FGameOver lost(db.g, db.env, Captions{"300", "200", "155", "145"}, 0,
                       [&](const std::string& s) { sShown = s; }, {});
        QCOMPARE(db.g.nWinnings, -45);
        QCOMPARE(sShown, std::string("$-45"));
        QCOMPARE(StoredUser(db, 7)->nWinnings, -45);

        // Counts that reach the ends of their types stay there.
        db.g.nNumGames = std::numeric_limits<std::int16_t>::max();
        db.g.nWinnings = std::numeric_limits<std::int32_t>::max() - 10;
        FGameOver won(db.g, db.env, Captions{"0", "0", "100", "700"}, 0,
                      [&](const std::string& s) { sShown = s; }, {});
        QCOMPARE(db.g.nNumGames, std::numeric_limits<std::int16_t>::max());
        QCOMPARE(db.g.nWinnings, std::numeric_limits<std::int32_t>::max());
        QCOMPARE(sShown, "$" + std::to_string(std::numeric_limits<std::int32_t>::max()));
        QVERIFY(db.g.bUserWon);
        QCOMPARE(db.g.Standings[0].nFunds, std::int16_t{700});
    }

    void userWonWhenTheUsersNameHeadsTheStandings_data() {
        QTest::addColumn<QString>("sLeftName");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<bool>("bUserWon");
        QTest::newRow("user first") << "Bob" << QStringList{"100", "150", "190", "360"} << true;
        QTest::newRow("opponent first")
            << "Bob" << QStringList{"360", "150", "190", "100"} << false;
        QTest::newRow("opponent bearing the user's name first")
            << "Ann" << QStringList{"360", "150", "190", "100"} << true;
        QTest::newRow("same name differing in case")
            << "ann" << QStringList{"360", "150", "190", "100"} << false;
    }

    void userWonWhenTheUsersNameHeadsTheStandings() {
        QFETCH(QString, sLeftName);
        QFETCH(QStringList, captions);
        QFETCH(bool, bUserWon);
        GameDatabase& db = Shared();
        db.g.sLeftName = sLeftName.toStdString();
        db.g.bUserWon = !bUserWon;
        FGameOver dialog(db.g, db.env,
                         Captions{captions[0].toStdString(), captions[1].toStdString(),
                                  captions[2].toStdString(), captions[3].toStdString()},
                         0, {}, {});
        // Decided with the standings, before the dialog is even shown, and kept
        // in the history alike.
        QCOMPARE(db.g.bUserWon, bUserWon);
        QCOMPARE(user_stats::LoadHistory(db.g, db.env, 1)->at(0).bWon, bUserWon);
    }

    void playsTheSoundOfTheOutcome_data() {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("nSound");
        QTest::newRow("user first")
            << QStringList{"100", "150", "190", "360"} << static_cast<int>(Sound::UserWon);
        QTest::newRow("opponent first")
            << QStringList{"360", "150", "190", "100"} << static_cast<int>(Sound::OtherWon);
    }

    void playsTheSoundOfTheOutcome() {
        QFETCH(QStringList, captions);
        QFETCH(int, nSound);
        GameDatabase& db = Shared();
        SoundLog sounds;
        const bool bListenLonger = QTest::currentDataTag() == QByteArray("user first");
        sounds.nLengthMs = bListenLonger ? 700 : 0;
        testing::WhenModal([&](QDialog& dialog) {
            sounds.WaitForFirst();
            if (bListenLonger) {
                SoundLog::WaitPastNextTick();
            }
            testing::Click(dialog, "cmdYesNo1");
        });
        const auto answer =
            RunGameOver(db.g, db.env,
                        Captions{captions[0].toStdString(), captions[1].toStdString(),
                                 captions[2].toStdString(), captions[3].toStdString()},
                        0, {}, sounds.Player(), nullptr);
        QCOMPARE(sounds.Played, std::vector<Sound>{static_cast<Sound>(nSound)});
        QVERIFY(answer == DialogAnswer::No);
    }

    void answersComeFromTheButtons_data() {
        QTest::addColumn<QString>("sButton");
        QTest::addColumn<int>("nAnswer");
        QTest::newRow("yes") << "cmdYesNo0" << static_cast<int>(DialogAnswer::Yes);
        QTest::newRow("no") << "cmdYesNo1" << static_cast<int>(DialogAnswer::No);
        QTest::newRow("new user") << "cmdYesNo2" << static_cast<int>(DialogAnswer::Change);
        QTest::newRow("replay") << "cmdYesNo3" << static_cast<int>(DialogAnswer::Replay);
    }

    void answersComeFromTheButtons() {
        QFETCH(QString, sButton);
        QFETCH(int, nAnswer);
        GameDatabase& db = Shared();
        bool bStayedOpen = false;
        testing::WhenModal([&](QDialog& dialog) {
            // Neither the frame's close nor Escape leaves the game without an answer.
            dialog.close();
            QTest::keyClick(&dialog, Qt::Key_Escape);
            bStayedOpen = dialog.isVisible();
            testing::Click(dialog, sButton.toLatin1().constData());
        });
        const auto answer =
            RunGameOver(db.g, db.env, Captions{"150", "210", "240", "200"}, 0, {}, {}, nullptr);
        QVERIFY(bStayedOpen);
        QCOMPARE(static_cast<int>(answer), nAnswer);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void missingDatabaseClosesWithoutStandingsOrAnswer_data() {
        QTest::addColumn<bool>("bDefaultThere");
        QTest::addColumn<int>("nMessages");
        QTest::addColumn<bool>("bUseDefaultDB");
        QTest::newRow("default database can take over") << true << 0 << true;
        QTest::newRow("no database anywhere") << false << 2 << false;
    }

    void missingDatabaseClosesWithoutStandingsOrAnswer() {
        QFETCH(bool, bDefaultThere);
        QFETCH(int, nMessages);
        QFETCH(bool, bUseDefaultDB);
        GameDatabase db;
        SetUser(db.g);
        db.g.sDBPath = db.dir.Sub("shared");
        if (!bDefaultThere) {
            db.RemoveDatabase();
        }
        db.g.Standings[0] = {"Earlier", 500};
        db.g.bUserWon = true;
        SoundLog sounds;
        DialogAnswer answer = DialogAnswer::Yes;
        bool bGuardFired = false;
        // Should the dialog stay open, answer it so that the test ends and fails.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (auto* pDialog = QApplication::activeModalWidget()) {
                bGuardFired = true;
                testing::Click(*pDialog, "cmdYesNo0");
            }
        });
        guard.start(3000);
        std::vector<std::string> winnings;
        {
            FGameOver dialog(
                db.g, db.env, Captions{"150", "210", "240", "200"}, 0,
                [&](const std::string& s) { winnings.push_back(s); }, sounds.Player());
            QVERIFY(db.g.bDBError);
            QCOMPARE(db.g.bUseDefaultDB, bUseDefaultDB);
            QCOMPARE(static_cast<int>(db.msg.Shown.size()), nMessages);
            QVERIFY(!dialog.HasStandings());
            for (int p = 0; p < 4; ++p) {
                QCOMPARE(Text(dialog, QStringLiteral("lblPlayer%1").arg(p)), QString());
                QCOMPARE(Text(dialog, QStringLiteral("lblAmt%1").arg(p)), QString());
            }
            dialog.exec();
            answer = dialog.Answer();
        }
        guard.stop();
        QVERIFY(!bGuardFired);
        QVERIFY(answer == DialogAnswer::None);
        QVERIFY(!db.g.bUserWon);
        QCOMPARE(db.g.Standings[0].sName, std::string("Earlier"));
        QVERIFY(sounds.Played.empty());
        // The game is still booked in memory and on the winnings label.
        QCOMPARE(db.g.nNumGames, std::int16_t{5});
        QCOMPARE(winnings, std::vector<std::string>{"$100"});
    }

    void failedRankingLeavesNoStaleWinner() {
        GameDatabase db;
        SetUser(db.g);
        // Standings of an earlier game, and a ranking the database refuses.
        db.g.Standings[0] = {"Ann", 500};
        db.g.bUserWon = true;
        DropPlayerTable(db);
        FGameOver dialog(db.g, db.env, Captions{"100", "150", "190", "360"}, 0, {}, {});
        QVERIFY(!db.g.bDBError);
        QVERIFY(!dialog.HasStandings());
        QVERIFY(!db.g.bUserWon);
        QCOMPARE(db.msg.Shown.size(), std::size_t{1});
        QCOMPARE(db.msg.Shown[0].sTitle, std::string("GetStandings"));
        QCOMPARE(Text(dialog, "lblPlayer0"), QString());
    }
};

QObject* MakeGameOverTest() {
    return new GameOverTest;
}

#include "game_over_test.moc"
