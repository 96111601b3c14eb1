// The whole program in one process: start-up with its messages, the first user
// dialog, Escape, closing with the settings saved, and the recovery that moves
// to the program folder's database when the shared one disappears.
#include "dialogs/folder_lists.hpp"
#include "dialogs/user_validation.hpp"
#include "engine/game.hpp"
#include "platform/sound_output.hpp"
#include "shell/corvane_app.hpp"
#include "table/table_resources.hpp"
#include "table/table_view.hpp"
#include "tests/support/qt_test_support.hpp"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QtTest>

using namespace corvane;
using namespace corvane::testing;
namespace fs = std::filesystem;

namespace {

class SilentSound final : public SoundOutput {
public:
    bool PlayWave(const std::uint8_t* /*pData*/, std::size_t /*nSize*/) override { return true; }
};

std::string ReadText(const std::string& sFile) {
    std::ifstream in(sFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool Shown(const FakeMessageBoxes& msg, const std::string& sTitle, const std::string& sPart) {
    return std::any_of(msg.Shown.begin(), msg.Shown.end(), [&](const ShownMessage& m) {
        return m.sTitle == sTitle && m.sText.find(sPart) != std::string::npos;
    });
}

// Makes the user's move as a player would: the first legal card, or the pot.
void PlayOneMove(Game& game) {
    const GameState& s = game.State();
    if (!s.bUserCanPlay) {
        game.cmdUser_Click();
        return;
    }
    const int nCard = s.bSevenHeartsPlayed ? s.UserPlayable.front() : 26;
    const auto i = std::find(s.UserHand.begin(), s.UserHand.end(), nCard) - s.UserHand.begin();
    game.Form_MouseDown(static_cast<float>(s.nHandLeft + i * s.nCardSpacing + 100),
                        static_cast<float>(s.nHandTop + 700));
    game.Form_Click();
}

// Confirms the user dialog with a new user of that name; the user the dialog
// offered first goes to pOffered.
void ChooseNewUser(const QString& sName, QString* pOffered = nullptr) {
    WhenModal(
        [sName, pOffered](QDialog& dialog) {
            if (pOffered != nullptr) {
                *pOffered = Child<QComboBox>(dialog, "cboUser")->currentText();
            }
            Child<QComboBox>(dialog, "cboUser")->setEditText(sName);
            Click(dialog, "cmdUserName0");
        },
        QStringLiteral("FUserName"));
}

// The program in its folder, not started yet.
struct Program : ProgramFolder {
    std::string Ini() const { return JoinPath(sApp, "corvane.ini"); }
    void WriteIni(const std::string& sText) const {
        std::ofstream(Ini(), std::ios::binary) << sText;
    }
    QString Player() { return Child<QLabel>(app.Window(), "lblPlayer3")->text(); }
    SilentSound sound;
    CorvaneApp app{sApp, &msg, &sound};
};

} // namespace

class CorvaneAppTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitTableResources(); }

    void firstStartWithoutSettingsAsksForTheUserAndSavesOnClosing() {
        Program p;
        // Without settings no user counts as the last one, not even the first.
        MGlobal zed = p.g;
        zed.nUserID = 1;
        zed.sUserName = "Zed";
        user_dialog::UpdateDatabase(zed, p.env);
        QString sOffered;
        ChooseNewUser("Ann", &sOffered);
        QVERIFY(p.app.Main());
        QVERIFY(Shown(p.msg, "The Corvane Game", "corvane.ini not found!"));
        QTRY_COMPARE(p.Player(), QString("Ann"));
        QCOMPARE(sOffered, QString(kNewUserText));
        QVERIFY(p.app.Window().GetGame().State().bUserTurn);

        p.app.Window().close();
        QCOMPARE(ReadText(p.Ini()), "[Options]\r\nuser_id=2\r\ndb_path=" + p.sApp +
                                        "\r\nmaxform=0\r\nsoundon=TRUE\r\nanimspd=80\r\n"
                                        "copylnk=FALSE\r\nanimals=FALSE\r\n");
    }

    void aMissingSharedDatabaseSwitchesToTheProgramFolder() {
        Program p;
        p.WriteIni("[Options]\r\nuser_id=0\r\ndb_path=" + p.dir.Sub("shared") +
                   "\r\nsoundon=FALSE\r\n");
        ChooseNewUser("Bea");
        QVERIFY(p.app.Main());
        QVERIFY(Shown(p.msg, "Database Path", "Switching to database file..."));
        QTRY_COMPARE(p.Player(), QString("Bea"));
        p.app.Window().close();
        QVERIFY(ReadText(p.Ini()).find("db_path=" + p.sApp + "\r\n") != std::string::npos);
    }

    void noDatabaseAnywhereEndsWithoutSaving() {
        Program p;
        p.RemoveDatabase();
        QVERIFY(!p.app.Main());
        QVERIFY(Shown(p.msg, "Fatal Error", "Closing Corvane."));
        QVERIFY(!fs::exists(p.Ini()));
    }

    void losingOrMovingTheSharedDatabaseAsksForTheUserAgain() {
        ProgramFolder shared;
        Program p;
        p.WriteIni("db_path=" + shared.sApp + "\r\nsoundon=FALSE\r\nanimspd=0\r\n");
        ChooseNewUser("Dee");
        QVERIFY(p.app.Main());
        QTRY_VERIFY(p.app.Window().GetGame().State().bUserTurn);

        // The shared folder goes away; the next database job finds the default.
        shared.RemoveDatabase();
        ChooseNewUser("Eve");
        WhenModal([](QDialog& dialog) { dialog.close(); }, QStringLiteral("FTopTen"));
        p.app.Window().mnuTopTen_Click();
        QTRY_COMPARE(p.Player(), QString("Eve"));
        QVERIFY(ReadText(p.Ini()).find("db_path=" + p.sApp) != std::string::npos);

        // Moving to a folder with a database asks for the user again.
        const ProgramFolder other;
        ChooseNewUser("Flo");
        WhenModal(
            [&](QDialog& dialog) {
                Child<FolderList>(dialog, "dirDBPath")->SetPath(QString::fromStdString(other.sApp));
                Click(dialog, "cmdDBPath0");
            },
            QStringLiteral("FDBPath"));
        p.app.Window().MenuItem("mnuDBPath")->trigger();
        QTRY_COMPARE(p.Player(), QString("Flo"));
        p.app.Window().close();
    }

    void escapeAnsweredNoLeavesTheGameAndYesEndsIt() {
        Program p;
        p.WriteIni("soundon=FALSE\r\nanimspd=0\r\n");
        ChooseNewUser("Cy");
        QVERIFY(p.app.Main());
        auto& w = p.app.Window();
        GameState& s = w.GetGame().State();
        QTRY_VERIFY(s.bUserTurn);
        const auto nShown = p.msg.Shown.size();
        w.activateWindow();

        // Escape on an open menu closes the menu and asks nothing.
        QMenu* pFile = w.Menu("mnuFileH");
        pFile->popup(w.mapToGlobal(QPoint(0, 0)));
        QTRY_VERIFY(pFile->isVisible());
        QTest::keyClick(pFile, Qt::Key_Escape);
        QTRY_VERIFY(!pFile->isVisible());
        QCOMPARE(p.msg.Shown.size(), nShown);

        // Pressed twice while the opponents move, it asks once, after their turn.
        p.msg.Answers = {MsgAnswer::No, MsgAnswer::No};
        std::optional<std::size_t> nShownMidTurn;
        QTimer watcher;
        watcher.setInterval(1);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (!s.bUserTurn && w.IsBusy()) {
                watcher.stop();
                QTest::keyClick(&w, Qt::Key_Escape);
                QTest::keyClick(&w, Qt::Key_Escape);
                nShownMidTurn = p.msg.Shown.size();
            }
        });
        watcher.start();
        PlayOneMove(w.GetGame());
        watcher.stop();
        QCOMPARE(nShownMidTurn, std::optional(nShown));
        QTRY_COMPARE(p.msg.Shown.size(), nShown + 1);
        QTest::qWait(20);
        QCOMPARE(p.msg.Shown.size(), nShown + 1);
        const auto hand = s.UserHand;

        for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
            p.msg.Answers = {answer};
            const auto nBefore = p.msg.Shown.size();
            // Pressed on the table, under the window: asked once.
            QTest::keyClick(&w.Table(), Qt::Key_Escape);
            QTRY_COMPARE(p.msg.Shown.size(), nBefore + 1);
            QTRY_COMPARE(w.isVisible(), answer == MsgAnswer::No);
        }
        QCOMPARE(p.msg.Shown.back().sText, std::string("Are you sure you wish to exit Corvane?"));
        QCOMPARE(s.UserHand, hand);
        QVERIFY(fs::exists(p.Ini()));
    }

    void aPracticeAtGameOverWritesNothingAndComesBackToTheQuestion() {
        Program p;
        p.WriteIni("soundon=FALSE\r\nanimspd=0\r\n");
        ChooseNewUser("Flo");
        QVERIFY(p.app.Main());
        Game& game = p.app.Window().GetGame();
        QTRY_VERIFY(game.State().bUserTurn);
        p.app.Window().SetPauseTick(std::chrono::milliseconds(1));
        game.State().nHand = 3; // the hand in play ends the game

        // A practice is asked for at the game-over question,
        // again when the question comes back, and the last answer is No.
        const std::string sDB = DatabaseFileName(p.sApp);
        std::string sBooked;
        QStringList standings;
        int nAsked = 0;
        QTimer answerer;
        answerer.setInterval(10);
        QObject::connect(&answerer, &QTimer::timeout, [&] {
            auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (pDialog == nullptr) {
                return;
            }
            if (pDialog->objectName() != "FGameOver") {
                pDialog->accept();
                return;
            }
            ++nAsked;
            standings << Text(*pDialog, "lblPlayer0");
            Click(*pDialog, nAsked < 3 ? "cmdYesNo3" : "cmdYesNo1");
        });
        answerer.start();
        // The game is booked (and a won game's top ten entered) once its practice
        // has begun; from then on the file must not change.
        while (nAsked < 2) {
            if (sBooked.empty() && game.InPractice()) {
                sBooked = ReadText(sDB);
            }
            PlayOneMove(game);
        }
        QVERIFY(!sBooked.empty());
        QVERIFY(game.InPractice());
        QVERIFY(p.app.Window().windowTitle().contains("Practice"));
        QVERIFY(Shown(p.msg, "Practice", "This time you "));
        QCOMPARE(ReadText(sDB), sBooked);

        // Escape leaves the second practice for the question, answered No.
        QTest::keyClick(&p.app.Window(), Qt::Key_Escape);
        QTRY_VERIFY(!p.app.Window().isVisible());
        QCOMPARE(nAsked, 3);
        QCOMPARE(ReadText(sDB), sBooked);
        QVERIFY(!standings.front().isEmpty());
        QCOMPARE(standings, QStringList(3, standings.front()));
    }
};

QTEST_MAIN(CorvaneAppTest)
#include "corvane_app_test.moc"
