// The end-of-hand, game-over, top-ten and high-score dialogs on a real scratch
// database: what they show, the sounds they play once, their answers, and the
// database failures they meet.
#include "dialogs/game_dialogs.hpp"
#include "dialogs/game_over_dialog.hpp"
#include "dialogs/hand_over_dialog.hpp"
#include "dialogs/high_score_dialog.hpp"
#include "dialogs/top_ten_dialog.hpp"
#include "storage/db.hpp"
#include "table/table_resources.hpp"
#include "tests/support/qt_test_support.hpp"

#include <limits>

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace corvane;
using namespace corvane::testing;

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

// The shared values after some hands; each row holds the four seats' funds.
MGlobal AfterHands(const QList<QStringList>& rows) {
    MGlobal g;
    SetUser(g);
    g.sWinnerName = "Cy";
    for (const QStringList& row : rows) {
        g.ScoresOne.push_back(row[0].toStdString());
        g.ScoresTwo.push_back(row[1].toStdString());
        g.ScoresThree.push_back(row[2].toStdString());
        g.ScoresUser.push_back(row[3].toStdString());
    }
    return g;
}

QColor Colour(const QWidget& dialog, const QString& sName) {
    return ForeColour(*dialog.findChild<QLabel*>(sName));
}

// Records the sounds asked for; a sound may take a while, with events running,
// as the real player does while it waits for the end.
struct SoundLog {
    std::vector<Sound> Played;
    int nLengthMs = 0;
    SoundPlayer Player() {
        return [this](Sound sound) {
            Played.push_back(sound);
            QTest::qWait(nLengthMs);
        };
    }
    // Answers the dialog once a sound came and another tick of its timer passed.
    void AnswerAfterFirst(const char* sButton) {
        WhenModal([this, sButton](QDialog& dialog) {
            QVERIFY(QTest::qWaitFor([this] { return !Played.empty(); }, 3000));
            QTest::qWait(600);
            Click(dialog, sButton);
        });
    }
};

void StoreTopTen(ProgramFolder& db, const std::vector<TopTenRec>& rows) {
    TopTenList list{};
    std::copy(rows.begin(), rows.end(), list.begin());
    MGlobal g = db.g;
    g.nTopTenPos = 99;
    main_window::TopTenSave(g, db.env, list);
}

} // namespace

class GameDialogsTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitTableResources(); }

    void handOverStrikesThroughEarlierRows() {
        const MGlobal g = AfterHands({{"215", "180", "190", "215"}, {"170", "260", "160", "210"}});
        FHandOver dialog(g, {});
        QCOMPARE(Text(dialog, "lblWinner"), QStringLiteral("Cy"));
        for (const char* sColumn :
             {"lblScoreOne", "lblScoreTwo", "lblScoreThree", "lblScoreUser"}) {
            QVERIFY(Child<QLabel>(dialog, qPrintable(sColumn + QString("0")))->font().strikeOut());
            QVERIFY(!Child<QLabel>(dialog, qPrintable(sColumn + QString("1")))->font().strikeOut());
            QVERIFY(dialog.findChild<QLabel*>(sColumn + QString("2")) == nullptr);
        }
        QCOMPARE(Text(dialog, "lblScoreTwo1"), QStringLiteral("260"));
        // A little above the middle of the screen.
        const QRect rcFree = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(dialog.y() - rcFree.y() < rcFree.bottom() - dialog.geometry().bottom());
        QVERIFY(dialog.y() > rcFree.y());
    }

    void handOverLeaderIsBlue() {
        const std::pair<QList<QStringList>, int> cases[] = {
            {{{"150", "290", "160", "200"}}, 1},
            {{{"250", "140", "250", "160"}}, 2}, // a tie goes to the higher seat
            {{{"100", "250", "200", "250"}}, 3},
            {{{"300", "170", "170", "160"}, {"150", "170", "320", "160"}}, 2}, // the newest row
            {{{"310abc", " 300", "-400", "x990"}}, 0}, // the leading number of each text
        };
        const QStringList columns = {"lblScoreOne", "lblScoreTwo", "lblScoreThree", "lblScoreUser"};
        for (const auto& [rows, nLeader] : cases) {
            FHandOver dialog(AfterHands(rows), {});
            for (int seat = 0; seat < 4; ++seat) {
                const QString sRow = columns[seat] + QString::number(rows.size() - 1);
                QCOMPARE(Colour(dialog, QStringLiteral("lblPlayer%1").arg(seat)) == kBlue,
                         seat == nLeader);
                QCOMPARE(Colour(dialog, sRow) == kBlue, seat == nLeader);
            }
        }
    }

    void replayIsAHandOverAnswerOnlyWhereOffered() {
        const MGlobal g = AfterHands({{"215", "180", "190", "215"}});
        QVERIFY(FHandOver(g, {}).findChild<QPushButton*>("cmdReplay") == nullptr);
        WhenModal([](QDialog& dialog) { Click(dialog, "cmdReplay"); });
        QVERIFY(RunHandOver(g, {}, nullptr, true) == DialogAnswer::Replay);
        WhenModal([](QDialog& dialog) { Click(dialog, "cmdOK"); });
        QVERIFY(RunHandOver(g, {}, nullptr, true) == DialogAnswer::Ok);
    }

    void handOverPlaysTheWinnersSoundOnce() {
        // The user's sound only for the user's name as it is written.
        for (const auto& [sWinner, sound] :
             {std::pair{"Ann", Sound::UserWon}, std::pair{"Cy", Sound::OtherWon},
              std::pair{"ann", Sound::OtherWon}}) {
            MGlobal g = AfterHands({{"215", "180", "190", "215"}});
            g.sWinnerName = sWinner;
            SoundLog sounds;
            sounds.nLengthMs = 700; // longer than a tick of the dialog's timer
            sounds.AnswerAfterFirst("cmdOK");
            RunHandOver(g, sounds.Player(), nullptr);
            QCOMPARE(sounds.Played, std::vector<Sound>{sound});
        }
    }

    void gameOverBooksTheGameAndRanks() {
        ProgramFolder db;
        SetUser(db.g);
        std::vector<std::string> winnings;
        FGameOver dialog(db.g, db.env, Captions{"150", "210", "240", "200"}, 2,
                         [&](const std::string& s) { winnings.push_back(s); }, {});
        // Finishing on the starting 200 leaves the winnings and counts the game.
        QCOMPARE(db.g.nNumGames, std::int16_t{5});
        QCOMPARE(winnings, std::vector<std::string>{"$100"});
        const auto stored = user_dialog::GetPlayerData(db.g, db.env);
        QVERIFY(stored.size() == 1 && stored[0].nNumGames == 5 && stored[0].sPlayer1 == "Bob");
        const auto games = user_stats::LoadHistory(db.g, db.env, 10);
        QVERIFY(games->size() == 1 && games->at(0).nLevel == 3 && games->at(0).nFunds == 200);
        const QStringList names = {"Di", "Cy", "Ann", "Bob"};
        const QStringList amounts = {"240", "210", "200", "150"};
        for (int p = 0; p < 4; ++p) {
            QCOMPARE(Text(dialog, qPrintable(QStringLiteral("lblPlayer%1").arg(p))), names[p]);
            QCOMPARE(Text(dialog, qPrintable(QStringLiteral("lblAmt%1").arg(p))), amounts[p]);
        }
        QVERIFY(!db.g.bUserWon);

        // The net result moves the winnings; counts at the ends of their types stay there.
        db.g.nWinnings = 10;
        FGameOver lost(db.g, db.env, Captions{"300", "200", "155", "145"}, 0, {}, {});
        QCOMPARE(db.g.nWinnings, -45);
        db.g.nNumGames = std::numeric_limits<std::int16_t>::max();
        db.g.nWinnings = std::numeric_limits<std::int32_t>::max() - 10;
        FGameOver won(db.g, db.env, Captions{"0", "0", "100", "700"}, 0, {}, {});
        QCOMPARE(db.g.nNumGames, std::numeric_limits<std::int16_t>::max());
        QCOMPARE(db.g.nWinnings, std::numeric_limits<std::int32_t>::max());
        QCOMPARE(db.g.Standings[0].nFunds, std::int16_t{700});
    }

    void gameOverUserWonWhenTheUsersNameHeadsTheStandings() {
        const std::tuple<const char*, Captions, bool> cases[] = {
            {"Bob", {"100", "150", "190", "360"}, true},
            {"Bob", {"360", "150", "190", "100"}, false},
            {"Ann", {"360", "150", "190", "100"}, true}, // an opponent bearing the user's name
            {"ann", {"360", "150", "190", "100"}, false},
        };
        for (const auto& [sLeftName, captions, bUserWon] : cases) {
            ProgramFolder db;
            SetUser(db.g);
            db.g.sLeftName = sLeftName;
            db.g.bUserWon = !bUserWon;
            SoundLog sounds;
            sounds.AnswerAfterFirst("cmdYesNo1");
            const auto answer =
                RunGameOver(db.g, db.env, captions, 0, {}, sounds.Player(), nullptr);
            QVERIFY(answer == DialogAnswer::No && db.g.bUserWon == bUserWon);
            QCOMPARE(user_stats::LoadHistory(db.g, db.env, 1)->at(0).bWon, bUserWon);
            QCOMPARE(sounds.Played,
                     std::vector<Sound>{bUserWon ? Sound::UserWon : Sound::OtherWon});
        }
    }

    void gameOverAnswersOnlyByItsButtons() {
        const std::pair<const char*, DialogAnswer> cases[] = {
            {"cmdYesNo0", DialogAnswer::Yes},
            {"cmdYesNo1", DialogAnswer::No},
            {"cmdYesNo2", DialogAnswer::Change},
            {"cmdYesNo3", DialogAnswer::Replay},
        };
        for (const auto& [sButton, expected] : cases) {
            ProgramFolder db;
            SetUser(db.g);
            bool bStayedOpen = false;
            WhenModal([&bStayedOpen, sName = sButton](QDialog& dialog) {
                dialog.close();
                QTest::keyClick(&dialog, Qt::Key_Escape);
                bStayedOpen = dialog.isVisible();
                Click(dialog, sName);
            });
            const auto answer =
                RunGameOver(db.g, db.env, Captions{"150", "210", "240", "200"}, 0, {}, {}, nullptr);
            QVERIFY(bStayedOpen && answer == expected);
        }
    }

    void gameOverWithoutADatabaseClosesUnanswered_data() {
        QTest::addColumn<bool>("bDefaultThere");
        QTest::newRow("default database can take over") << true;
        QTest::newRow("no database anywhere") << false;
    }

    void gameOverWithoutADatabaseClosesUnanswered() {
        QFETCH(bool, bDefaultThere);
        ProgramFolder db;
        SetUser(db.g);
        db.g.sDBPath = db.dir.Sub("shared");
        if (!bDefaultThere) {
            db.RemoveDatabase();
        }
        db.g.Standings[0] = {"Earlier", 500};
        db.g.bUserWon = true;
        // Should the dialog stay open, answer it so that the test ends and fails.
        const QObject guard;
        WhenModal([](QDialog& dialog) { Click(dialog, "cmdYesNo0"); }, {}, &guard);
        FGameOver dialog(db.g, db.env, Captions{"150", "210", "240", "200"}, 0, {}, {});
        QVERIFY(db.g.bDBError && db.g.bUseDefaultDB == bDefaultThere);
        QCOMPARE(db.msg.Shown.size(), std::size_t{bDefaultThere ? 0U : 2U});
        QCOMPARE(Text(dialog, "lblPlayer0"), QString());
        dialog.exec();
        QVERIFY(dialog.Answer() == DialogAnswer::None && !db.g.bUserWon);
        QVERIFY(db.g.Standings[0].sName == "Earlier" && db.g.nNumGames == 5);

        // A ranking the database refuses leaves no stale winner either.
        ProgramFolder other;
        SetUser(other.g);
        other.g.bUserWon = true;
        KeyCache keys(false);
        db::Database::Open(DatabaseFileName(other.sApp), keys).Exec("DROP TABLE player");
        FGameOver unranked(other.g, other.env, Captions{"100", "150", "190", "360"}, 0, {}, {});
        QVERIFY(!unranked.HasStandings() && !other.g.bUserWon && !other.g.bDBError);
        QCOMPARE(other.msg.Shown.at(0).sTitle, std::string("GetStandings"));
    }

    void topTenInScoreOrderWithTheNewEntryHighlighted() {
        ProgramFolder db;
        StoreTopTen(db, {{"Eve", 600, MakeDate(2026, 3, 2)},
                         {"Dan", 600, MakeDate(2026, 3, 1)},
                         {"Flo", 720, MakeDate(2026, 5, 1)},
                         {"Zed", 0, MakeDate(2026, 1, 1)}});
        const QStringList names = {"Flo", "Dan", "Eve", "", "", "", "", "", "", ""};
        // 99 comes from the menu; no value outside 0 to 9 highlights anything.
        for (const int nTopTenPos : {3, 0, 9, 99, 10, -1}) {
            db.g.nTopTenPos = nTopTenPos;
            FTopTen dialog(db.g, db.env);
            for (int i = 0; i < 10; ++i) {
                const QString sRow = QString::number(i);
                QCOMPARE(Text(dialog, qPrintable("lblNo" + sRow)), QString::number(i + 1));
                QCOMPARE(Text(dialog, qPrintable("lblPlayer" + sRow)), names[i]);
                QCOMPARE(Colour(dialog, "lblPlayer" + sRow), i == nTopTenPos ? kBlue : kPurple);
                QVERIFY(Colour(dialog, "lblScore" + sRow) != kBlue);
            }
            QCOMPARE(Text(dialog, "lblScore2"), QStringLiteral("600"));
            QVERIFY(dialog.findChild<QLabel*>("lblPlayer10") == nullptr);
        }
    }

    void topTenClearAsksFirst() {
        ProgramFolder db;
        StoreTopTen(db, {{"Flo", 720, MakeDate(2026, 5, 1)}});
        db.g.nTopTenPos = 0;
        FTopTen dialog(db.g, db.env);
        dialog.show();
        db.msg.Answers = {MsgAnswer::No, MsgAnswer::Yes};
        Click(dialog, "cmdTopTen1");
        QCOMPARE(db.msg.Shown.at(0).sText,
                 std::string("Are you sure that you want\r\nto clear the top ten list?"));
        QCOMPARE(Text(dialog, "lblPlayer0"), QStringLiteral("Flo"));
        Click(dialog, "cmdTopTen1");
        QVERIFY(Text(dialog, "lblPlayer0").isEmpty() && Colour(dialog, "lblPlayer0") == kBlue);
        TopTenList list{};
        top_ten_dialog::TopTenLoad(db.g, db.env, list);
        QVERIFY(list[0].nScore == 0 && dialog.isVisible());
        // On a database that has gone, the clear closes the list.
        db.RemoveDatabase();
        Click(dialog, "cmdTopTen1");
        QVERIFY(db.g.bDBError && !dialog.isVisible());
    }

    void topTenWithoutADatabaseCloses() {
        ProgramFolder db;
        db.RemoveDatabase();
        db.g.nTopTenPos = 99;
        const QObject guard;
        WhenModal([](QDialog& dialog) { dialog.done(42); }, {}, &guard);
        RunTopTen(db.g, db.env, nullptr);
        QVERIFY(db.g.bDBError);
        QCOMPARE(db.msg.Shown.at(0).sTitle, std::string("Fatal Error"));
    }

    void highScorePlaysTheFanfareOnce() {
        SoundLog sounds;
        sounds.nLengthMs = 700;
        sounds.AnswerAfterFirst("CmdHighScore");
        RunHighScore(sounds.Player(), nullptr);
        QCOMPARE(sounds.Played, std::vector<Sound>{Sound::HighScore});
        // Its button stands centred under the text.
        const FHighScore dialog(sounds.Player());
        QVERIFY(qAbs(Child<QWidget>(dialog, "CmdHighScore")->geometry().center().x() -
                     Child<QWidget>(dialog, "lblHighScore0")->geometry().center().x()) <= 1);
    }
};

QTEST_MAIN(GameDialogsTest)
#include "game_dialogs_test.moc"
